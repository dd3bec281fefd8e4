#include "simulated_node.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "node/nv_catalogue.h"
#include "platform/headless/trace.h"
#include "platform/headless/virtual_clock.h"

namespace qta1 {

namespace {

constexpr int32_t kPointerError = static_cast<int32_t>(0x80004003);  // E_POINTER
constexpr size_t kMaxNameBytes = 50;
constexpr int kPartCount = kConfigPartCount;
constexpr int64_t kMsPerHour = 3600000;

// The node answers only the NVs the plug-in uses (the NV catalogue's); a
// write to one of its status outputs is refused with the failure status, as
// an output NV of a real node would refuse it.
bool Known(int nv) { return NvEntryOf(nv) != nullptr; }
bool Writable(int nv) { return WriteLengthOf(nv) > 0; }
// Measurements, counters and the clock are computed from virtual time unless pinned.
bool Live(int nv) { return Known(nv) && NvEntryOf(nv)->role == NvRole::Live; }

// The node as it leaves the factory, written down byte by byte (missing bytes
// are 0) rather than decoded from the plug-in's factory lines, so that a
// fault in the plug-in's decoding cannot hide in both: a test compares the
// two. The status outputs that do not move by themselves: the rotary switch
// at "Calender", the unit heating.
struct FactoryValue {
    int nv;
    int part;  // for the configuration NV
    std::string_view hex;
};
// clang-format off
constexpr FactoryValue kFactoryState[] = {
    {kSwitchOverrideNv,      0,  "00 FF"},
    {kDayExtensionNv,        0,  "00 00 00 00"},
    {kNightExtensionNv,      0,  "00 00 00 00"},
    {kRoomSetpointsNv,       0,  "00 00 09 C4 00 00 00 00 07 6C 00 00"},
    {kMinNightCoolNv,        0,  "05 DC"},
    {kMaxOutNightNv,         0,  "07 D0"},
    {kInjectionSetpointsNv,  0,  "00 05 DC 08 34 09 C4 06 A4 00 00 0F A0 00 00 05 DC 07 6C 08 FC 03 E8 08 FC 08 34 08 FC 00 00"},
    {kFreecoolPirCalendarNv, 0,  "00"},
    {kStartStopNv,           0,  "00"},
    {kConfigNv,              1,  "01 00 15 00 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02"},
    {kConfigNv,              2,  "02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 06 A4 01 90 03 20 03 E8 07 D0 03 20 0B B8 00 00"},
    {kConfigNv,              3,  "03 00 00 00 FA 00 00 00 00 00 32 00 32 00 00 07 D0"},
    {kConfigNv,              4,  "04 00 32 00 32 00 1E 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 0A 00 3C 00 05"},
    {kConfigNv,              5,  "05 07 D0 46 50 00 00 00 00 00 00 07 D0 3A 98 0F A0 0B B8 00 00 00 00 00 00 00 0A 00 78 00 05"},
    {kConfigNv,              6,  "06 00 05 00 0A 00 05 00 A8 00 A8 00 A8 00 A8 00 A8 00 A8"},
    {kConfigNv,              7,  "07 03 E8 07 08 08 34 07 D0 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 0A 00 3C 00 05"},
    {kConfigNv,              8,  "08 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05 00 0A 00 3C 00 05"},
    {kConfigNv,              9,  "09 00 96 00 96 00 96 00 96"},
    {kConfigNv,              10, "0A FC 6E FC 7E F8 3E E8 88 94 02 D8 06"},
    {kConfigNv,              11, "0B"},
    {kConfigNv,              12, "0C"},
    {kRotarySwitchNv,        0,  "00 06"},
    {kUnitModeNv,            0,  "01"},
};
// clang-format on

NvValue FromHex(std::string_view hex) {
    NvValue value{};
    std::size_t byte = 0;
    for (std::size_t i = 0; i + 1 < hex.size() && byte < value.size(); i += 3) {
        auto digit = [&](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
        value[byte++] = static_cast<uint8_t>(digit(hex[i]) << 4 | digit(hex[i + 1]));
    }
    return value;
}

// Running hours of the five counters (ventilating, injection motor, exhaust
// motor, exchanger, heating pump) when the simulation starts.
constexpr int64_t kFactoryHours[5] = {4380, 4120, 4125, 3870, 2150};

int64_t SecondsOf(const LocalTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + int64_t{t.hour} * 3600 +
           int64_t{t.minute} * 60 + t.second;
}

// A slow up-and-down between low and high over one period, in whole numbers
// so that the same virtual time always gives the same bytes.
int Triangle(int64_t ms, int64_t periodMs, int low, int high) {
    const int64_t half = periodMs / 2;
    int64_t phase = ms % periodMs;
    if (phase < 0) phase += periodMs;
    const int64_t span = high - low;
    const int64_t rise = phase < half ? phase : periodMs - phase;
    return low + static_cast<int>(span * rise / half);
}

// Big-endian word; negative temperatures go in as their 16-bit two's complement.
void PutWord(NvValue& value, int offset, int word) {
    const auto bits = static_cast<uint16_t>(word);
    value[offset] = static_cast<uint8_t>(bits >> 8);
    value[offset + 1] = static_cast<uint8_t>(bits & 0xFF);
}

}  // namespace

SimulatedNode::SimulatedNode(const VirtualClock& clock, Trace* trace)
    : clock_(clock), trace_(trace), name_("QTA1 Sim") {
    for (const FactoryValue& factory : kFactoryState) {
        const NvValue value = FromHex(factory.hex);
        if (factory.nv == kConfigNv) {
            parts_.at(static_cast<size_t>(factory.part)) = value;
        } else {
            nvs_[factory.nv] = value;
        }
    }
    std::copy(std::begin(kFactoryHours), std::end(kFactoryHours), hoursBase_.begin());
    // The node's clock starts at the PC's time, and its seconds turn over
    // together with the PC's.
    nodeClockSeconds_ = SecondsOf(clock_.LocalNow());
    clockSetAtMs_ = clock_.NowMs() - clock_.NowMs() % 1000;
}

// --- State ---------------------------------------------------------------

void SimulatedNode::SetNv(int nvIndex, const NvValue& value) {
    CatchUpModel();
    if (nvIndex == kPartSelectorNv) {
        selector_ = value[0] << 8 | value[1];
    } else if (nvIndex == kConfigNv) {
        SetPart(ShownPart(), value);
    } else {
        nvs_[nvIndex] = value;
        pinned_.insert(nvIndex);
    }
}

NvValue SimulatedNode::Nv(int nvIndex) const {
    NvValue value{};
    if (nvIndex == kPartSelectorNv) {
        PutWord(value, 0, selector_);
    } else if (nvIndex == kConfigNv) {
        value = Part(ShownPart());
    } else if (Live(nvIndex) && !pinned_.contains(nvIndex)) {
        value = LiveValue(nvIndex);
    } else {
        if (auto it = nvs_.find(nvIndex); it != nvs_.end()) value = it->second;
        // The recycling damper's and the cooling valve's analogue outputs,
        // counted 0 to 4095, sit among the room mode's other bytes.
        if (nvIndex == kRoomModeNv && model_ && !pinned_.contains(nvIndex)) {
            CatchUpModel();
            const auto counts = [](double percent) {
                return static_cast<int>(std::lround(percent * 4095 / 100));
            };
            PutWord(value, 7, counts(model_->OutputPercent(Actuator::Recycling)));
            PutWord(value, 9, counts(model_->OutputPercent(Actuator::Cooling)));
        }
    }
    return value;
}

void SimulatedNode::SetPart(int part, const NvValue& value) {
    CatchUpModel();
    if (part >= 1 && part <= kPartCount) parts_[part] = value;
}

NvValue SimulatedNode::Part(int part) const {
    if (part >= 1 && part <= kPartCount) return parts_[part];
    return NvValue{};
}

void SimulatedNode::SetSelector(int part) { selector_ = part; }

int SimulatedNode::Selector() const { return selector_; }

void SimulatedNode::SetName(const std::string& bytes) { name_ = bytes.substr(0, kMaxNameBytes); }

void SimulatedNode::SetConfiguredWord(int word) {
    CatchUpModel();
    PutWord(parts_[kOptionPart], kConfiguredWordOffset, word);
}

void SimulatedNode::SetAnimated(bool on) {
    CatchUpModel();
    if (animated_ && !on) frozenAtMs_ = clock_.NowMs();
    animated_ = on;
}

void SimulatedNode::UseUnitModel(bool on) {
    if (on == model_.has_value()) return;
    if (on) {
        model_.emplace(LiveMs(), ModelSettings());
    } else {
        model_.reset();
    }
}

// The PID constants of the four loops, the fitted equipment and which set
// points are calculated (part 1), and the set points of the injection
// set-point NV, as the node holds them now.
UnitSettings SimulatedNode::ModelSettings() const {
    return UnitSettings::FromNode(parts_[kOptionPart], parts_[kPidPart], Nv(kInjectionSetpointsNv));
}

void SimulatedNode::CatchUpModel() const {
    if (model_) model_->AdvanceTo(LiveMs(), ModelSettings());
}

std::optional<NvValue> SimulatedNode::ModelValue(int nvIndex) const {
    const UnitModel& m = *model_;
    const auto hundredths = [](double c) { return static_cast<int>(std::lround(c * 100)); };
    const auto halfHundredths = [](double percent) {
        return static_cast<int>(std::lround(percent * 200));
    };
    NvValue value{};
    switch (nvIndex) {
        case kSensorTempsNv:
            PutWord(value, 3, hundredths(m.ExhaustC()));
            PutWord(value, 5, hundredths(m.OutdoorC()));
            break;
        case kInjectionTempNv:
            PutWord(value, 0, hundredths(m.InjectionC()));
            break;
        case kCalcSpaceSetpointNv:
            PutWord(value, 0, hundredths(m.CalcSpaceSetpointC()));
            break;
        case kCalcInjectionSetpointNv:
            PutWord(value, 0, hundredths(m.CalcInjectionSetpointC()));
            break;
        case kOutdoorTempNv:
            PutWord(value, 0, hundredths(m.OutdoorC()));
            break;
        case kSpaceTempNv:
            PutWord(value, 0, hundredths(m.ExhaustC()));
            break;
        case kHeatingValveOutputNv:
            PutWord(value, 0, halfHundredths(m.OutputPercent(Actuator::Heating)));
            break;
        case kExchangerOutputNv:
            PutWord(value, 0, halfHundredths(m.OutputPercent(Actuator::Exchanger)));
            break;
        default:
            return std::nullopt;
    }
    return value;
}

int64_t SimulatedNode::LiveMs() const { return animated_ ? clock_.NowMs() : frozenAtMs_; }

int64_t SimulatedNode::NodeClockSeconds() const {
    const int64_t elapsedMs = std::max<int64_t>(0, clock_.NowMs() - clockSetAtMs_);
    return nodeClockSeconds_ + elapsedMs / 1000;
}

NvValue SimulatedNode::LiveValue(int nvIndex) const {
    if (model_) {
        CatchUpModel();
        if (auto modelled = ModelValue(nvIndex)) return *modelled;
    }
    const int64_t ms = LiveMs();
    NvValue value{};
    switch (nvIndex) {
        case kSensorTempsNv:  // exhaust/space (Bs2) and outdoor (Bs3), hundredths of a degree
            PutWord(value, 3, Triangle(ms, 15 * 60000, 2100, 2300));
            PutWord(value, 5, Triangle(ms, 60 * 60000, -200, 400));
            break;
        case kInjectionTempNv:  // Bs1
            PutWord(value, 0, Triangle(ms, 10 * 60000, 1800, 2200));
            break;
        case kCalcSpaceSetpointNv:
            PutWord(value, 0, Triangle(ms, 20 * 60000, 2050, 2150));
            break;
        case kCalcInjectionSetpointNv:  // trailing the injection temperature
            PutWord(value, 0, Triangle(ms + 5 * 60000, 10 * 60000, 1900, 2100));
            break;
        case kHeatingValveOutputNv:
            PutWord(value, 0, Triangle(ms, 4 * 60000, 0, 20000));
            break;
        case kExchangerOutputNv:
            PutWord(value, 0, Triangle(ms, 6 * 60000, 4000, 16000));
            break;
        case kRunningHoursNv:
            for (int k = 0; k < 5; ++k) {
                const int64_t elapsed = std::max<int64_t>(0, ms - hoursResetAtMs_[k]);
                const int64_t hours =
                    std::min<int64_t>(65535, hoursBase_[k] + elapsed / kMsPerHour);
                PutWord(value, 2 * k + 1, static_cast<int>(hours));
            }
            break;
        case kNodeClockNv: {
            const LocalTime now = CivilFromSeconds(NodeClockSeconds());
            PutWord(value, 0, now.year);
            value[2] = static_cast<uint8_t>(now.month);
            value[3] = static_cast<uint8_t>(now.day);
            value[4] = static_cast<uint8_t>(now.hour);
            value[5] = static_cast<uint8_t>(now.minute);
            value[6] = static_cast<uint8_t>(now.second);
            break;
        }
        case kCalendarStatusNv: {
            // Which calendars of the start/stop schedule hold the node's
            // present quarter hour: bit 0 Calender 1, bit 1 Calender 2.
            const LocalTime now = CivilFromSeconds(NodeClockSeconds());
            const int quarter = now.hour * 4 + now.minute / 15;
            const NvValue schedule = Nv(kStartStopNv);
            int status = 0;
            for (int calendar = 0; calendar < 2; ++calendar) {
                const int stop = schedule[1 + 4 * now.dayOfWeek + 2 * calendar];
                const int start = schedule[2 + 4 * now.dayOfWeek + 2 * calendar];
                if (start < stop && quarter >= start && quarter < stop) status |= 1 << calendar;
            }
            PutWord(value, 0, status);
            break;
        }
        default:
            break;
    }
    return value;
}

// --- Faults --------------------------------------------------------------

void SimulatedNode::FailCall(int n) {
    if (n > 0) failingCalls_.insert(calls_ + n);
}

void SimulatedNode::FailNv(int nvIndex, FaultOn on) { failingNvs_[nvIndex] = on; }

void SimulatedNode::KeepNv(int nvIndex) { keepingNvs_.insert(nvIndex); }

void SimulatedNode::KeepCall(int n) {
    if (n > 0) keepingCalls_.insert(calls_ + n);
}

void SimulatedNode::LagSelector(int reads) {
    selectorLag_ = std::max(reads, 0);
    if (selectorLag_ == 0) lagReadsLeft_ = 0;
}

void SimulatedNode::FailAll(bool on) { failAll_ = on; }

void SimulatedNode::FailNameRead(bool on) { failName_ = on; }

void SimulatedNode::SetFailureStatus(int32_t status) {
    if (status != kHostOk) failureStatus_ = status;
}

void SimulatedNode::ClearFaults() {
    failingCalls_.clear();
    failingNvs_.clear();
    keepingCalls_.clear();
    keepingNvs_.clear();
    selectorLag_ = 0;
    lagReadsLeft_ = 0;
    failAll_ = false;
    failName_ = false;
    failureStatus_ = 1;
}

// Called once per host call, after calls_ has counted it.
bool SimulatedNode::ShouldFail(int nvIndex, bool isWrite, bool isName) {
    bool fail = failAll_;
    if (failingCalls_.erase(calls_) > 0) fail = true;
    if (isName) {
        fail = fail || failName_;
    } else if (auto it = failingNvs_.find(nvIndex); it != failingNvs_.end()) {
        fail = fail || it->second == FaultOn::Both ||
               it->second == (isWrite ? FaultOn::Writes : FaultOn::Reads);
    }
    return fail;
}

// --- Host interfaces -----------------------------------------------------

bool SimulatedNode::ReadableValue(int nvIndex, NvValue& value) const {
    if (!Known(nvIndex)) return false;
    if (nvIndex == kConfigNv && (ShownPart() < 1 || ShownPart() > kPartCount)) return false;
    value = Nv(nvIndex);
    return true;
}

int32_t QTA1_COMCALL SimulatedNode::ReadNv(int32_t nvIndex, uint8_t* buffer, int32_t length) {
    ++calls_;
    NvValue value{};
    const bool ok = !ShouldFail(nvIndex, false, false) && buffer != nullptr && length >= 0 &&
                    ReadableValue(nvIndex, value);
    const int copied = ok ? std::min<int32_t>(length, kNvValueSize) : 0;
    if (ok) std::memcpy(buffer, value.data(), static_cast<size_t>(copied));
    if (ok && nvIndex == kConfigNv && lagReadsLeft_ > 0) --lagReadsLeft_;
    const int32_t status = ok ? kHostOk : failureStatus_;
    if (trace_ != nullptr) {
        std::string line = "ReadNv(" + std::to_string(nvIndex) + ", " + std::to_string(length) +
                           ") -> " + std::to_string(status);
        if (ok) line += "  [" + HexBytes(value.data(), copied) + "]";
        trace_->Add(line);
    }
    return status;
}

int32_t QTA1_COMCALL SimulatedNode::ReadNodeName(uint8_t* buffer, int32_t length) {
    ++calls_;
    const bool ok = !ShouldFail(0, false, true) && buffer != nullptr && length >= 0;
    size_t copied = 0;
    if (ok) {
        copied = std::min(static_cast<size_t>(length), name_.size());
        std::memcpy(buffer, name_.data(), copied);
        std::memset(buffer + copied, 0, static_cast<size_t>(length) - copied);
    }
    const int32_t status = ok ? kHostOk : failureStatus_;
    if (trace_ != nullptr) {
        std::string line =
            "ReadNodeName(" + std::to_string(length) + ") -> " + std::to_string(status);
        if (ok) {
            const std::string_view returned(name_.data(), copied);
            line += "  " + QuoteText(returned.substr(0, returned.find('\0')));
        }
        trace_->Add(line);
    }
    return status;
}

int32_t QTA1_COMCALL SimulatedNode::WriteNv(int32_t nvIndex, const uint8_t* buffer,
                                            int32_t length) {
    CatchUpModel();
    ++calls_;
    const bool keep = keepingCalls_.erase(calls_) > 0 || keepingNvs_.count(nvIndex) > 0;
    const bool ok = !ShouldFail(nvIndex, true, false) && buffer != nullptr && length > 0 &&
                    (keep ? Writable(nvIndex) : ApplyWrite(nvIndex, buffer, length));
    const int32_t status = ok ? kHostOk : failureStatus_;
    if (trace_ != nullptr) {
        const int shown = buffer != nullptr ? std::clamp<int32_t>(length, 0, kNvValueSize) : 0;
        std::string line = "WriteNv(" + std::to_string(nvIndex) + ", " + std::to_string(length) +
                           ") <- [" + HexBytes(buffer, shown);
        if (shown < length && buffer != nullptr) line += " ...";
        line += "] -> " + std::to_string(status);
        trace_->Add(line);
    }
    return status;
}

// Applies one accepted write; a write that is refused changes nothing.
bool SimulatedNode::ApplyWrite(int nvIndex, const uint8_t* buffer, int32_t length) {
    if (!Writable(nvIndex)) return false;
    const auto count = static_cast<size_t>(std::min<int32_t>(length, kNvValueSize));
    switch (nvIndex) {
        case kPartSelectorNv:
            if (length < 2) return false;
            if (selectorLag_ > 0) {
                laggingPart_ = ShownPart();
                lagReadsLeft_ = selectorLag_;
            }
            selector_ = buffer[0] << 8 | buffer[1];
            return true;
        case kConfigNv:
            if (ShownPart() < 1 || ShownPart() > kPartCount) return false;
            std::memcpy(parts_[static_cast<size_t>(ShownPart())].data(), buffer, count);
            return true;
        case kClockSettingNv:
            if (length < 7 || !SetNodeClock(buffer)) return false;
            break;
        case kResetCommandNv:
            if (length < 2) return false;
            ResetRunningHours(buffer[0] << 8 | buffer[1]);
            break;
        default:
            break;
    }
    std::memcpy(nvs_[nvIndex].data(), buffer, count);
    pinned_.insert(nvIndex);
    return true;
}

// Year (high, low), month, day, hour, minute, second. A date or time that
// does not exist is refused, so the node clock always holds a real moment.
bool SimulatedNode::SetNodeClock(const uint8_t* bytes) {
    const int year = bytes[0] << 8 | bytes[1];
    const int month = bytes[2];
    const int day = bytes[3];
    if (month < 1 || month > 12 || day < 1) return false;
    if (day > DaysFromCivil(year, month + 1, 1) - DaysFromCivil(year, month, 1)) return false;
    if (bytes[4] > 23 || bytes[5] > 59 || bytes[6] > 59) return false;
    nodeClockSeconds_ = SecondsOf(LocalTime{year, month, day, bytes[4], bytes[5], bytes[6], 0});
    clockSetAtMs_ = clock_.NowMs();
    return true;
}

// Codes 1 to 5 restart counters 0 to 4 from zero; 0 ("no command") and
// unknown codes leave the counters alone.
void SimulatedNode::ResetRunningHours(int code) {
    if (code < 1 || code > 5) return;
    const int k = code - 1;
    hoursBase_[k] = 0;
    hoursResetAtMs_[k] = clock_.NowMs();
    if (pinned_.contains(kRunningHoursNv)) PutWord(nvs_[kRunningHoursNv], 2 * k + 1, 0);
}

int32_t QTA1_COMCALL SimulatedNode::QueryInterface(const Guid& iid, void** out) {
    return QueryOffered({{kIidNvReader, static_cast<NvReader*>(this)},
                         {kIidUnknown, static_cast<NvReader*>(this)},
                         {kIidNvWriter, static_cast<NvWriter*>(this)}},
                        iid, out);
}

// The node is owned by whoever created it; the count only lets tests check
// that every reference taken is given back.
uint32_t QTA1_COMCALL SimulatedNode::AddRef() { return static_cast<uint32_t>(++refs_); }

uint32_t QTA1_COMCALL SimulatedNode::Release() { return static_cast<uint32_t>(--refs_); }

int32_t QTA1_COMCALL SimulatedSite::QueryInterface(const Guid& iid, void** out) {
    if (out == nullptr) return kPointerError;
    *out = nullptr;
    if ((iid == kIidNvReader && offerReader_) || (iid == kIidNvWriter && offerWriter_)) {
        return node_.QueryInterface(iid, out);
    }
    if (iid == kIidUnknown) {
        *out = static_cast<HostUnknown*>(this);
        return kHostOk;
    }
    return kNoInterface;
}

}  // namespace qta1
