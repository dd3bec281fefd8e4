#include "frame/page.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "frame/codec.h"
#include "frame/decimal.h"
#include "frame/sheet.h"
#include "frame/trend.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

// Percent of an analogue output counted 0 to 4095 (word x 100 / 4095).
constexpr double kPercentOf4095 = 0.02442002442002442;

// The numbers a value box stores: typed text is scaled by `scale`, cut
// toward zero, and must lie in min..max to be stored and read back exactly.
struct NumberForm {
    int scale = 0;
    int decimals = 0;  // of the range in messages: the precision the box stores
    int64_t min = 0;
    int64_t max = 0;
};

constexpr int64_t kSignedByteMin = -128;
constexpr int64_t kSignedByteMax = 127;

// "H:MM": whole hours and minutes, each a signed byte as the box shows it.
bool EncodeHourMinute(std::string_view text, uint8_t* bytes) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view parts[] = {text.substr(0, colon), text.substr(colon + 1)};
    uint8_t values[2] = {};
    for (int i = 0; i < 2; ++i) {
        const std::string_view part = parts[i];
        // Whole numbers only: a decimal mark anywhere refuses the text.
        if (part.find_first_of(".,") != std::string_view::npos) return false;
        const std::optional<int64_t> value = ParseScaledDecimal(part, 1, DecimalMark::PointOnly);
        if (!value || *value < kSignedByteMin || *value > kSignedByteMax) return false;
        values[i] = static_cast<uint8_t>(*value & 0xFF);
    }
    bytes[0] = values[0];
    bytes[1] = values[1];
    return true;
}

bool EncodeTimeByte(std::string_view text, uint8_t* bytes) {
    if (!IsValidTimeText(text)) return false;
    bytes[0] = ParseTimeByte(text);
    return true;
}

std::string HourMinuteText(const uint8_t* v) {
    const int minutes = DecodeSignedByte(v[1]);
    // Two digits for 0 to 9; a negative minute keeps its sign ("7:-5", not
    // "7:0-5", which no box would take back).
    return FormatFixed(DecodeSignedByte(v[0]), 0) + ":" +
           (minutes >= 0 && minutes < 10 ? "0" : "") + FormatFixed(minutes, 0);
}

int64_t WordOf(const uint8_t* v) { return ComposeWord(v[0], v[1]); }

// Each codec once: the bytes of the value it covers, how the page shows them,
// and how typed text becomes bytes. A value is read from `offset` on; a
// one-byte codec never looks at the byte after it.
struct CodecRow {
    Codec codec;
    int width;         // bytes from `offset` the value spans
    bool lowByteOnly;  // of those, only the second is the box's
    std::string (*format)(const uint8_t* value);
    // The numbers the box stores, and `stored` reads that number back from
    // the bytes. A scale of 0: no number (a time typed as text, or a value
    // shown only).
    NumberForm number;
    int64_t (*stored)(const uint8_t* value);
    // Codecs typed as text; none for numbers and shown-only values.
    bool (*encodeText)(std::string_view text, uint8_t* value);
    const char* textRange;  // what such a box takes, for messages
};

// clang-format off
constexpr CodecRow kCodecs[] = {
//   codec                 width  low  format
    {Codec::Word,           2, false, [](const uint8_t* v) { return FormatFixed(ComposeWord(v[0], v[1]), 0); },
     {1, 0, 0, 65535}, WordOf, nullptr, nullptr},
    {Codec::Tenths,         2, false, [](const uint8_t* v) { return FormatFixed(ComposeWord(v[0], v[1]) * 0.1, 1); },
     {10, 1, 0, 65535}, WordOf, nullptr, nullptr},
    {Codec::Temperature,    2, false, [](const uint8_t* v) { return FormatFixed(DecodeSignedHundredths(v[0], v[1]), 1); },
     {100, 2, kMinHundredths, kMaxHundredths},
     [](const uint8_t* v) -> int64_t { return SignedHundredthsWord(v[0], v[1]); }, nullptr, nullptr},
    {Codec::TimeByte,       1, false, [](const uint8_t* v) { return FormatTimeByte(v[0]); },
     {}, nullptr, EncodeTimeByte, text::kTimeRange},
    {Codec::HourMinute,     2, false, HourMinuteText,
     {}, nullptr, EncodeHourMinute, text::kHourMinuteRange},
    {Codec::HalfHundredths, 2, false, [](const uint8_t* v) { return FormatFixed(DecodeHalfHundredths(v[0], v[1]), 0); },
     {200, 3, 0, 65535}, WordOf, nullptr, nullptr},
    // Only the low byte is the box's: the high byte keeps the node's value.
    {Codec::Halves,         2, true,  [](const uint8_t* v) { return FormatFixed(DecodeHalves(v[0], v[1]), 0); },
     {2, 1, 0, 255}, [](const uint8_t* v) -> int64_t { return v[1]; }, nullptr, nullptr},
    {Codec::Percent4095,    2, false, [](const uint8_t* v) { return FormatFixed(ComposeWord(v[0], v[1]) * kPercentOf4095, 0); },
     {}, nullptr, nullptr, nullptr},
    {Codec::SignedByte,     1, false, [](const uint8_t* v) { return FormatFixed(DecodeSignedByte(v[0]), 0); },
     {1, 0, kSignedByteMin, kSignedByteMax},
     [](const uint8_t* v) -> int64_t { return DecodeSignedByte(v[0]); }, nullptr, nullptr},
    {Codec::TenthsWhole,    2, false, [](const uint8_t* v) { return FormatFixed(DecodeTenthsInteger(v[0], v[1]), 0); },
     {10, 1, 0, 65535}, WordOf, nullptr, nullptr},
    {Codec::NodeDate,       kNodeClockLength, false, NodeDateText, {}, nullptr, nullptr, nullptr},
    {Codec::NodeTime,       kNodeClockLength, false, NodeTimeText, {}, nullptr, nullptr, nullptr},
};
// clang-format on

constexpr bool EveryCodecOnceInOrder() {
    for (size_t i = 0; i < std::size(kCodecs); ++i) {
        if (static_cast<size_t>(kCodecs[i].codec) != i) return false;
    }
    return std::size(kCodecs) == static_cast<size_t>(Codec::NodeTime) + 1;
}
static_assert(EveryCodecOnceInOrder(), "one codec row per codec, in the order of the enum");

const CodecRow& RowOf(Codec codec) { return kCodecs[static_cast<size_t>(codec)]; }

std::optional<NumberForm> FormOf(Codec codec) {
    const CodecRow& row = RowOf(codec);
    if (row.number.scale == 0) return std::nullopt;
    return row.number;
}

}  // namespace

int FieldWidth(const Field& field) {
    if (field.kind == FieldKind::Bit || field.kind == FieldKind::BitText ||
        field.kind == FieldKind::RadioBit) {
        return 1;
    }
    return RowOf(field.codec).width;
}

std::string FormatField(const Field& field, const uint8_t* buffer) {
    return RowOf(field.codec).format(buffer + field.offset);
}

int FieldNumber(const Field& field, const uint8_t* buffer) {
    if (field.codec == Codec::SignedByte) return DecodeSignedByte(buffer[field.offset]);
    return ComposeWord(buffer[field.offset], buffer[field.offset + 1]);
}

void AddFieldMask(const Field& field, uint8_t* masks) {
    if (field.kind == FieldKind::Bit || field.kind == FieldKind::RadioBit ||
        field.kind == FieldKind::BitText) {
        if (field.bit >= 0 && field.bit <= 7)
            masks[field.offset] |= static_cast<uint8_t>(0x80 >> field.bit);
        return;
    }
    const CodecRow& row = RowOf(field.codec);
    for (int i = row.lowByteOnly ? 1 : 0; i < row.width && field.offset + i < kNvBufferSize; ++i) {
        masks[field.offset + i] = 0xFF;
    }
}

bool SameFieldValue(const Field& field, const uint8_t* a, const uint8_t* b) {
    uint8_t masks[kNvBufferSize] = {};
    AddFieldMask(field, masks);
    for (int i = 0; i < kNvBufferSize; ++i) {
        if ((a[i] & masks[i]) != (b[i] & masks[i])) return false;
    }
    return true;
}

bool FieldStored(const Field& field) {
    const CodecRow& row = RowOf(field.codec);
    return field.kind != FieldKind::Text && field.kind != FieldKind::BitText &&
           (row.number.scale != 0 || row.encodeText != nullptr);
}

int FieldControl(const Field& field) {
    if (field.control != 0 || field.radios == nullptr || field.radios->choices.empty()) {
        return field.control;
    }
    return field.radios->choices.front().control;
}

std::string BoxNameOf(const ControlDecl& decl) {
    // A label the page draws on two lines is one line in a message or a list.
    std::string label = decl.label;
    std::replace(label.begin(), label.end(), '\n', ' ');
    std::string where = decl.row;
    if (*decl.group != '\0') where += (where.empty() ? "" : ", ") + std::string(decl.group);
    return where.empty() ? label : label + " (" + where + ")";
}

namespace {

// A number field's stored value with all the digits it stores (21.25 where
// the page shows 21.2); other fields as FormatField.
std::string ExactFieldText(const Field& field, const uint8_t* buffer) {
    const CodecRow& row = RowOf(field.codec);
    if (field.kind != FieldKind::Word || row.stored == nullptr) return FormatField(field, buffer);
    return FormatScaled(row.stored(buffer + field.offset), row.number.scale, row.number.decimals);
}

}  // namespace

// The value of a field as its page shows it: the box's text, a check box's
// state, or the caption of the chosen radio button (of `controls`).
std::string FieldValueText(const Field& field, const uint8_t* buffer,
                           std::span<const ControlDecl> controls) {
    if (field.kind == FieldKind::Bit) {
        return TestBit(buffer[field.offset], field.bit) != 0 ? text::kChecked : text::kNotChecked;
    }
    if (field.kind == FieldKind::RadioWord || field.kind == FieldKind::RadioBit) {
        const int value = field.kind == FieldKind::RadioBit
                              ? TestBit(buffer[field.offset], field.bit)
                              : ComposeWord(buffer[field.offset], buffer[field.offset + 1]);
        for (const RadioChoice& choice : field.radios->choices) {
            if (choice.value != value) continue;
            for (const ControlDecl& decl : controls) {
                if (decl.id == choice.control) return decl.label;
            }
        }
        return FormatFixed(value, 0);
    }
    return FormatField(field, buffer);
}

std::pair<std::string, std::string> DifferingValueTexts(const Field& field, const uint8_t* a,
                                                        const uint8_t* b,
                                                        std::span<const ControlDecl> controls) {
    std::pair<std::string, std::string> texts{FieldValueText(field, a, controls),
                                              FieldValueText(field, b, controls)};
    if (texts.first == texts.second) texts = {ExactFieldText(field, a), ExactFieldText(field, b)};
    return texts;
}

bool EncodeField(const Field& field, std::string_view text, uint8_t* buffer) {
    const CodecRow& row = RowOf(field.codec);
    if (row.encodeText != nullptr) return row.encodeText(text, buffer + field.offset);
    const std::optional<NumberForm> form = FormOf(field.codec);
    if (!form) return false;  // shown only
    const std::optional<int64_t> value =
        ParseScaledDecimal(text, form->scale, DecimalMark::PointOrComma);
    if (!value || *value < form->min || *value > form->max) return false;
    const auto word = static_cast<uint16_t>(*value & 0xFFFF);
    if (row.lowByteOnly) {
        buffer[field.offset + 1] = static_cast<uint8_t>(word & 0xFF);
    } else if (row.width == 1) {
        buffer[field.offset] = static_cast<uint8_t>(word & 0xFF);
    } else {
        buffer[field.offset] = static_cast<uint8_t>(word >> 8);
        buffer[field.offset + 1] = static_cast<uint8_t>(word & 0xFF);
    }
    return true;
}

std::string AcceptedRange(const Field& field) {
    const CodecRow& row = RowOf(field.codec);
    if (row.textRange != nullptr) return row.textRange;
    const std::optional<NumberForm> form = FormOf(field.codec);
    if (!form) return {};
    return text::kNumberFrom + FormatScaled(form->min, form->scale, form->decimals) +
           text::kRangeTo + FormatScaled(form->max, form->scale, form->decimals);
}

// What one write action sent, what the node did with it and what its
// closing Read found.
struct CPropPage::WriteReport {
    struct Sent {
        int nv;
        int part;
        std::span<const Field> fields;
        std::array<uint8_t, kNvBufferSize> bytes;  // the page's view
    };
    struct ReadBack {
        bool ok;
        std::array<uint8_t, kNvBufferSize> bytes;  // the page's view
    };
    // A change for the change log; a box sent twice keeps its first
    // earlier value and its last new one.
    struct Change {
        int control;  // 0: not a box
        std::string what;
        std::string before;
        std::string after;
    };
    std::string action;
    std::vector<Sent> sent;
    std::vector<std::string> problems;
    std::map<std::pair<int, int>, ReadBack> readBack;                          // by NV and part
    std::map<std::pair<int, int>, std::array<uint8_t, kNvBufferSize>> before;  // by NV and part
    std::vector<Change> changes;
    int writesBefore = 0;  // the node's values taken before the action began

    void AddChange(int control, std::string what, std::string earlier, std::string later) {
        for (Change& change : changes) {
            if (control != 0 && change.control == control) {
                change.after = std::move(later);
                return;
            }
        }
        changes.push_back({control, std::move(what), std::move(earlier), std::move(later)});
    }
};

namespace {

// NVs other than the configuration NV have no parts.
std::pair<int, int> NvPartKey(int nv, int part) { return {nv, nv == kConfigNv ? part : 0}; }

// The lines of a message, for the change log.
std::vector<std::string> MessageLines(const std::string& message) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= message.size()) {
        size_t end = message.find('\n', start);
        if (end == std::string::npos) end = message.size();
        if (end > start) lines.push_back(message.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace

CPropPage::CPropPage(PageId id, CSheet& sheet, const PageDef& def)
    : id_(id), sheet_(sheet), def_(def), controls_(sheet.ControlsOf(id)) {}

CPropPage::~CPropPage() = default;

NodeLink& CPropPage::node() { return sheet_.node(); }
Screen& CPropPage::screen() { return sheet_.screen(); }
Clock& CPropPage::clock() { return sheet_.clock(); }

void CPropPage::SetText(int control, std::string_view text) {
    screen().SetText(id_, control, text);
}
std::string CPropPage::Text(int control) { return screen().GetText(id_, control); }
void CPropPage::SetChecked(int control, bool checked) { screen().SetCheck(id_, control, checked); }
bool CPropPage::Checked(int control) { return screen().GetCheck(id_, control); }
void CPropPage::Enable(int control, bool enabled) { screen().Enable(id_, control, enabled); }

void CPropPage::EnableAll(std::span<const int> controls, bool enabled) {
    for (int control : controls) Enable(control, enabled);
}

const ControlDecl* CPropPage::Declaration(int control) const {
    const auto it = std::find_if(controls_.begin(), controls_.end(),
                                 [control](const ControlDecl& c) { return c.id == control; });
    return control > 0 && it != controls_.end() ? &*it : nullptr;
}

std::string CPropPage::LayoutLabel(int control) const {
    const ControlDecl* decl = Declaration(control);
    return decl != nullptr ? decl->label : "";
}

// A new window starts with empty boxes: nothing of the node is shown yet.
void CPropPage::OnInitDialog() {
    shown_.clear();
    // A settings file has no live values: the boxes stay empty and the
    // timer reads nothing.
    if (def_.refreshMs > 0 && node().File() == nullptr) StartRefresh();
}

bool CPropPage::UnitOnly() const {
    return def_.blocks.empty() && (!def_.liveReads.empty() || def_.fileNote != nullptr);
}

bool CPropPage::NothingOverFile() {
    if (node().File() == nullptr || !UnitOnly()) return false;
    if (!toldFileNote_) {
        toldFileNote_ = true;
        screen().MessageBox(def_.fileNote != nullptr
                                ? std::string(def_.fileNote)
                                : std::string(sheet_.CaptionOfPage(id_)) + text::kNoLiveValuesTail,
                            "", MsgButtons::Ok, MsgIcon::Information);
    }
    return true;
}

void CPropPage::OnShow(bool shown) {
    const CSheet::Action action(sheet_);
    // Kept only for the showing that brings the page back; a page that was
    // already in front and is then left reads the node again when it returns.
    if (!shown) keepOnNextShow_ = false;
    if (shown && std::exchange(keepOnNextShow_, false)) return;
    if (shown && NothingOverFile()) return;
    if (shown) {
        OnPageShown();
    } else {
        OnPageHidden();
    }
}

void CPropPage::OnTimer(int timerId) {
    if (timerId == kRefreshTimerId && def_.refreshMs > 0) RefreshLiveValues();
    if (timerId == kTrendTimerId) sheet_.OnTrendTimer(id_);
}

void CPropPage::OnClick(int controlId) {
    const CSheet::Action action(sheet_);
    if (node().File() != nullptr && UnitOnly()) {
        toldFileNote_ = false;
        NothingOverFile();
    } else if (controlId != 0 && controlId == def_.readButton) {
        ReadPage();
    } else if (controlId != 0 && controlId == def_.writeButton) {
        WritePage();
    } else if (controlId != 0 && controlId == def_.trendButton) {
        sheet_.OpenTrend(id_);
    } else {
        for (const CheckRule& rule : def_.checkRules) {
            if (rule.checkBox == controlId) EnableAll(rule.controls, Checked(rule.checkBox));
        }
        ControlChosen(controlId);
    }
}

void CPropPage::ControlChosen(int control) {
    for (const Block& block : def_.blocks) {
        for (const Field& field : block.fields) {
            if (field.radios == nullptr || field.radios->governedBox == 0) continue;
            for (const RadioChoice& choice : field.radios->choices) {
                if (choice.control == control)
                    Enable(field.radios->governedBox, choice.value == field.radios->enablingValue);
            }
        }
    }
    OnControlClicked(control);
}

void CPropPage::ShowFields(std::span<const Field> fields, const uint8_t* buffer) {
    for (const Field& field : fields) {
        if (field.kind == FieldKind::Bit) {
            SetChecked(field.control, TestBit(buffer[field.offset], field.bit) != 0);
        } else if (field.kind == FieldKind::Text || field.kind == FieldKind::BitText) {
            ShowText(field, buffer);
        } else if (field.kind == FieldKind::RadioWord || field.kind == FieldKind::RadioBit) {
            ShowRadios(field, buffer);
        } else {
            std::string text = FormatField(field, buffer);
            SetText(field.control, text);
            shown_[field.control] = std::move(text);
        }
    }
}

void CPropPage::ShowText(const Field& field, const uint8_t* buffer) {
    if (field.texts == nullptr) return;
    const int value = field.kind == FieldKind::BitText ? TestBit(buffer[field.offset], field.bit)
                                                       : FieldNumber(field, buffer);
    const char* text = field.texts->other;
    for (const ValueText& entry : field.texts->texts) {
        if (entry.value == value) text = entry.text;
    }
    if (text != nullptr) SetText(field.control, text);
}

// The node's value chooses its button as a click would, interlock included.
void CPropPage::ShowRadios(const Field& field, const uint8_t* buffer) {
    if (field.radios == nullptr) return;
    const int value = field.kind == FieldKind::RadioBit
                          ? TestBit(buffer[field.offset], field.bit)
                          : ComposeWord(buffer[field.offset], buffer[field.offset + 1]);
    int chosen = field.radios->otherControl;
    for (const RadioChoice& choice : field.radios->choices) {
        if (choice.value == value) chosen = choice.control;
    }
    if (chosen == 0) return;
    for (const RadioChoice& choice : field.radios->choices) {
        SetChecked(choice.control, choice.control == chosen);
    }
    ControlChosen(chosen);
}

void CPropPage::StoreRadios(const Field& field, uint8_t* buffer) {
    if (field.radios == nullptr) return;
    int value = field.radios->noneValue;
    for (const RadioChoice& choice : field.radios->choices) {
        if (Checked(choice.control)) {
            value = choice.value;
            break;
        }
    }
    if (value == kKeepNodeValue) return;
    if (field.kind == FieldKind::RadioBit) {
        uint8_t& byte = buffer[field.offset];
        byte = value != 0 ? SetBit(byte, field.bit) : ClearBit(byte, field.bit);
    } else {
        buffer[field.offset] = static_cast<uint8_t>(EncodeHigh(value) & 0xFF);
        buffer[field.offset + 1] = static_cast<uint8_t>(EncodeLow(value) & 0xFF);
    }
}

void CPropPage::StoreFields(std::span<const Field> fields, uint8_t* buffer) {
    for (const Field& field : fields) {
        if (field.kind == FieldKind::Bit) {
            uint8_t& byte = buffer[field.offset];
            const bool set = Checked(field.control) && (field.gate == 0 || Checked(field.gate));
            byte = set ? SetBit(byte, field.bit) : ClearBit(byte, field.bit);
        } else if (field.kind == FieldKind::Text || field.kind == FieldKind::BitText) {
            continue;  // status texts are shown only
        } else if (field.kind == FieldKind::RadioWord || field.kind == FieldKind::RadioBit) {
            StoreRadios(field, buffer);
        } else if (Edited(field.control)) {
            // Checked before the Write began; a box that still fails keeps
            // the node's bytes rather than send a guess.
            EncodeField(field, Text(field.control), buffer);
        }
    }
}

bool CPropPage::HoldsUnwrittenValues() {
    for (const Block& block : def_.blocks) {
        if (block.shownOnly) continue;
        for (const Field& field : block.fields) {
            const ControlDecl* decl = Declaration(field.control);
            if (field.kind == FieldKind::Word && decl != nullptr &&
                decl->kind == ControlKind::Edit && Edited(field.control)) {
                return true;
            }
        }
    }
    return false;
}

bool CPropPage::Edited(int control) {
    const auto it = shown_.find(control);
    return Text(control) != (it != shown_.end() ? it->second : std::string());
}

bool CPropPage::EditedBoxesAccepted(std::span<const Field> fields, std::string_view action) {
    std::string refused;
    std::vector<std::string> refusedBoxes;
    int first = 0;
    for (const Field& field : fields) {
        if (field.kind != FieldKind::Word || !Edited(field.control)) continue;
        uint8_t scratch[kNvBufferSize] = {};
        const std::string typed = Text(field.control);
        if (EncodeField(field, typed, scratch)) continue;
        if (first == 0) first = field.control;
        refusedBoxes.push_back(BoxName(field.control) + ": \"" + typed + "\"" + text::kTakes +
                               AcceptedRange(field));
        refused += "\n" + refusedBoxes.back();
    }
    if (first == 0) return true;
    LogRefusal(action, std::move(refusedBoxes));
    screen().MessageBox(text::kValuesRefused + refused, "", MsgButtons::Ok, MsgIcon::Exclamation);
    screen().SetFocus(id_, first);
    return false;
}

std::string CPropPage::BoxName(int control) const {
    const ControlDecl* decl = Declaration(control);
    return decl != nullptr ? BoxNameOf(*decl) : std::string();
}

bool CPropPage::ReadBlock(const Block& block) {
    uint8_t buffer[kNvBufferSize] = {};
    bool ok = block.readLength <= kNvBufferSize;
    if (ok && block.nv == kConfigNv) {
        ok = block.readSelectorAlways ? node().WriteSelector(block.part)
                                      : node().SelectPart(block.part);
        // A part that shows another number is not this part's bytes.
        ok = ok &&
             node().ReadSelected(block.part, buffer, block.readLength) == NodeLink::PartRead::Ok;
    } else {
        ok = ok && node().ReadNv(block.nv, buffer, block.readLength) == kHostOk;
    }
    if (ok && block.bitReversed) ReverseBits(buffer, kNvBufferSize);
    NoteReadBack(block, buffer, ok);
    if (!ok) return false;
    ShowFields(block.fields, buffer);
    AfterBlockRead(block, buffer);
    return true;
}

bool CPropPage::WriteBlock(const Block& block) {
    if (block.rmwLength > kNvBufferSize || WriteLengthOf(block.nv) == 0) return false;
    uint8_t buffer[kNvBufferSize] = {};
    NodeLink::PartRead read = NodeLink::PartRead::Ok;
    if (block.nv == kConfigNv) {
        const bool selected =
            block.selectorAlways ? node().WriteSelector(block.part) : node().SelectPart(block.part);
        read = selected ? node().ReadSelected(block.part, buffer, block.rmwLength)
                        : NodeLink::PartRead::OtherPart;
    } else if (node().ReadNv(block.nv, buffer, block.rmwLength) != kHostOk) {
        read = NodeLink::PartRead::Failed;
    }
    // Nothing is written into a part the node may not be showing.
    if (read != NodeLink::PartRead::Ok) {
        NoteWriteProblem(EditedBoxNames(block.fields), read == NodeLink::PartRead::Failed
                                                           ? std::string(text::kNotReadBeforeWrite)
                                                           : NotSelectedText(block.part));
        return false;
    }
    if (block.bitReversed) ReverseBits(buffer, kNvBufferSize);
    NoteBefore(block.nv, block.part, buffer);
    StoreFields(block.fields, buffer);
    return SendNv(block.nv, block.part, block.bitReversed, block.fields, buffer);
}

CPropPage::BusyButton::BusyButton(CPropPage& page, int button, std::string_view caption)
    : page_(page), button_(button) {
    if (button_ != 0) page_.SetText(button_, caption);
}

CPropPage::BusyButton::~BusyButton() {
    if (button_ != 0) page_.SetText(button_, page_.LayoutLabel(button_));
}

void CPropPage::ReadPage() {
    const BusyButton busy = ShowBusy(def_.readButton);
    for (const Block& block : def_.blocks) ReadBlock(block);
    ApplyCheckRules();
    AfterRead();
}

bool CPropPage::PasswordAccepted() {
    if (def_.passwordBox == 0) return true;
    if (Text(def_.passwordBox) == text::kTechnicianPassword) return true;
    LogRefusal(text::kWriteAction, {text::kPasswordRefused});
    screen().MessageBox(text::kWrongPassword, "", MsgButtons::Ok, MsgIcon::None);
    return false;
}

void CPropPage::ApplyCheckRules() {
    for (const CheckRule& rule : def_.checkRules) {
        EnableAll(rule.controls, Checked(rule.checkBox));
    }
}

void CPropPage::WritePage() {
    const BusyButton busy = ShowBusy(def_.writeButton);
    std::vector<const Block*> blocks;
    if (def_.writeOrder.empty()) {
        for (const Block& block : def_.blocks) {
            if (!block.shownOnly) blocks.push_back(&block);
        }
    } else {
        // The order names blocks by their place in the table; a place the
        // table does not have writes nothing (the table test catches it).
        for (int index : def_.writeOrder) {
            if (index >= 0 && static_cast<size_t>(index) < def_.blocks.size())
                blocks.push_back(&def_.blocks[static_cast<size_t>(index)]);
        }
    }
    std::vector<Field> fields;
    for (const Block* block : blocks)
        fields.insert(fields.end(), block->fields.begin(), block->fields.end());
    // Typed values are checked before anything reaches the node: one box
    // that cannot be stored exactly stops the whole Write.
    if (PasswordAccepted() && EditedBoxesAccepted(fields)) {
        BeginWriteReport();
        for (const Block* block : blocks) WriteBlock(*block);
        AfterWriteBlocks();
        ReadPage();
        FinishWriteReport();
    }
    if (def_.passwordBox != 0) SetText(def_.passwordBox, "");
}

void CPropPage::BeginWriteReport(std::string_view action) {
    report_ = std::make_unique<WriteReport>();
    report_->action = action;
    report_->writesBefore = node().ValuesWritten();
}

void CPropPage::NoteBefore(int nv, int part, const uint8_t* pageBytes) {
    if (!report_) return;
    std::array<uint8_t, kNvBufferSize>& bytes = report_->before[NvPartKey(nv, part)];
    std::copy(pageBytes, pageBytes + kNvBufferSize, bytes.begin());
}

void CPropPage::NoteChange(std::string what, std::string before, std::string after) {
    if (report_) report_->AddChange(0, LoggedName(what), std::move(before), std::move(after));
}

std::string CPropPage::LoggedName(std::string_view what) const {
    return std::string(sheet_.CaptionOfPage(id_)) + " - " + std::string(what);
}

void CPropPage::LogRefusal(std::string_view action, std::vector<std::string> why) {
    ChangeEntry entry;
    entry.action = std::string(sheet_.CaptionOfPage(id_)) + ": " + std::string(action);
    entry.notes.push_back(text::kRefusedNothingSent);
    entry.notes.insert(entry.notes.end(), why.begin(), why.end());
    sheet_.LogChange(entry);
}

void CPropPage::NoteWriteProblem(std::string what, std::string_view why) {
    if (report_)
        report_->problems.push_back(what.empty() ? std::string(why)
                                                 : what + ": " + std::string(why));
}

void CPropPage::NoteSent(int nv, int part, std::span<const Field> fields,
                         const uint8_t* pageBytes) {
    if (!report_) return;
    WriteReport::Sent sent{nv, part, fields, {}};
    std::copy(pageBytes, pageBytes + kNvBufferSize, sent.bytes.begin());
    report_->sent.push_back(sent);
    // Each box whose bytes this write changed, for the change log: from what
    // the node held, where the write read it first, else from what the box
    // last showed of the node.
    const auto before = report_->before.find(NvPartKey(nv, part));
    for (const Field& field : fields) {
        const int control = FieldControl(field);
        if (!FieldStored(field) || control == 0) continue;
        if (before != report_->before.end()) {
            if (SameFieldValue(field, before->second.data(), pageBytes)) continue;
            auto [earlier, later] =
                DifferingValueTexts(field, before->second.data(), pageBytes, controls_);
            report_->AddChange(control, LoggedName(BoxName(control)), std::move(earlier),
                               std::move(later));
        } else if (const auto shown = shown_.find(control);
                   field.kind == FieldKind::Word && shown != shown_.end()) {
            report_->AddChange(control, LoggedName(BoxName(control)), shown->second,
                               FormatField(field, pageBytes));
        }
    }
}

void CPropPage::NoteReadBack(const Block& block, const uint8_t* buffer, bool ok) {
    if (!report_) return;
    WriteReport::ReadBack& back =
        report_->readBack[{block.nv, block.nv == kConfigNv ? block.part : 0}];
    back.ok = ok;
    std::copy(buffer, buffer + kNvBufferSize, back.bytes.begin());
}

bool CPropPage::SendNv(int nv, int part, bool bitReversed, std::span<const Field> fields,
                       const uint8_t* pageBytes) {
    uint8_t bytes[kNvBufferSize] = {};
    std::copy(pageBytes, pageBytes + kNvBufferSize, bytes);
    if (bitReversed) ReverseBits(bytes, kNvBufferSize);
    if (node().WriteNv(nv, bytes, WriteLengthOf(nv)) != kHostOk) {
        NoteWriteProblem(EditedBoxNames(fields), text::kWriteRefused);
        return false;
    }
    // Only what the node took is compared with what it holds afterwards.
    NoteSent(nv, part, fields, pageBytes);
    // What the node took is no longer a typed value waiting to be written,
    // also where no Read follows.
    for (const Field& field : fields) {
        if (field.kind == FieldKind::Word) shown_[field.control] = Text(field.control);
    }
    return true;
}

std::string CPropPage::EditedBoxNames(std::span<const Field> fields) {
    std::vector<Field> edited;
    for (const Field& field : fields) {
        if (field.kind == FieldKind::Word && Edited(field.control)) edited.push_back(field);
    }
    return BoxNames(edited.empty() ? fields : std::span<const Field>(edited));
}

std::string CPropPage::BoxNames(std::span<const Field> fields) const {
    constexpr int kNamedBoxes = 3;
    std::string names;
    int named = 0;
    int more = 0;
    for (const Field& field : fields) {
        if (field.kind == FieldKind::Text || field.kind == FieldKind::BitText) continue;
        const int control = FieldControl(field);
        if (control == 0) continue;
        if (named == kNamedBoxes) {
            ++more;
            continue;
        }
        names += (named++ == 0 ? "" : ", ") + BoxName(control);
    }
    if (more > 0) names += text::kAndMore + FormatFixed(more, 0) + text::kMoreBoxes;
    return names;
}

void CPropPage::FinishWriteReport() {
    if (!report_) return;
    const std::unique_ptr<WriteReport> report = std::move(report_);
    const std::vector<std::string>& lines = report->problems;
    std::vector<std::string> unchecked;
    std::vector<std::string> differences;
    for (const WriteReport::Sent& sent : report->sent) {
        const auto back = report->readBack.find({sent.nv, sent.part});
        if (back == report->readBack.end()) continue;  // the page does not show it again
        if (!back->second.ok) {
            unchecked.push_back(BoxNames(sent.fields));
            continue;
        }
        for (const Field& field : sent.fields) {
            if (!FieldStored(field)) continue;
            const uint8_t* held = back->second.bytes.data();
            if (SameFieldValue(field, sent.bytes.data(), held)) continue;
            const auto [sentText, heldText] =
                DifferingValueTexts(field, sent.bytes.data(), held, controls_);
            differences.push_back(BoxName(FieldControl(field)) + text::kSent + sentText +
                                  text::kNodeHolds + heldText);
        }
    }
    ChangeEntry entry;
    entry.action = std::string(sheet_.CaptionOfPage(id_)) + ": " + report->action;
    for (const WriteReport::Change& change : report->changes) {
        if (change.before != change.after)
            entry.rows.push_back({change.what, change.before, change.after});
    }
    const bool attempted = !report->sent.empty() || !lines.empty() || !entry.rows.empty();
    if (lines.empty() && unchecked.empty() && differences.empty()) {
        if (attempted) sheet_.LogChange(entry);
        return;
    }
    // Each group under its own head: what was not written (all of it, when
    // the node took nothing), what was written but could not be checked, and
    // what the node holds otherwise than it was sent.
    std::string message;
    const auto group = [&](const char* head, const std::vector<std::string>& group) {
        if (group.empty()) return;
        message += (message.empty() ? "" : "\n\n") + std::string(head);
        for (const std::string& line : group) message += "\n" + line;
    };
    const bool wroteNothing = node().ValuesWritten() == report->writesBefore;
    group(wroteNothing ? text::kNothingWrittenToNode : text::kNotAllWritten, lines);
    group(text::kNotReadBackHead, unchecked);
    group(text::kNodeHoldsOther, differences);
    // The log keeps what the technician is told.
    entry.notes = MessageLines(message);
    sheet_.LogChange(entry);
    screen().MessageBox(message, "", MsgButtons::Ok, MsgIcon::Exclamation);
}

void CPropPage::OnPageShown() {
    ReadPage();
    ApplyOptionEnabling();
}

void CPropPage::ApplyOptionEnabling() {
    if (def_.optionRules.empty()) return;
    uint8_t buffer[kNvBufferSize] = {};
    if (node().SelectAndRead(kOptionPart, buffer, kNvValueSize) != NodeLink::PartRead::Ok) return;
    ReverseBits(buffer, kNvBufferSize);
    sheet_.NoteOptions(buffer);
    ApplyOptionRules(buffer);
}

void CPropPage::ApplyOptionRules(const uint8_t* reversedPart1) {
    for (const OptionRule& rule : def_.optionRules) {
        const bool set = TestBit(reversedPart1[rule.byte], rule.bit) != 0 ||
                         (rule.orBit >= 0 && TestBit(reversedPart1[rule.byte], rule.orBit) != 0);
        EnableAll(rule.controls, set == rule.enableWhenSet);
    }
    ApplyStatusRules(reversedPart1);
}

void CPropPage::ApplyStatusRules(const uint8_t* reversedPart1) {
    // A settings file holds no status: the controls keep their enabling.
    if (node().File() != nullptr) return;
    // What each NV read gave, within this one application of the rules.
    std::map<int, std::optional<std::array<uint8_t, kNvBufferSize>>> reports;
    for (const StatusRule& rule : def_.statusRules) {
        if (reversedPart1 != nullptr && rule.gateByte >= 0 &&
            TestBit(reversedPart1[rule.gateByte], rule.gateBit) == 0) {
            EnableAll(rule.controls, false);
            continue;
        }
        auto [it, first] = reports.try_emplace(rule.nv);
        if (first) {
            std::array<uint8_t, kNvBufferSize> bytes{};
            if (node().ReadNv(rule.nv, bytes.data(), kNvValueSize) == kHostOk) it->second = bytes;
        }
        if (!it->second) continue;
        const std::array<uint8_t, kNvBufferSize>& report = *it->second;
        const bool set =
            TestBit(report[static_cast<size_t>(rule.byte)], rule.bit) != 0 ||
            (rule.wordAt >= 0 &&
             ComposeWord(report[static_cast<size_t>(rule.wordAt)],
                         report[static_cast<size_t>(rule.wordAt) + 1]) > rule.wordAbove);
        EnableAll(rule.controls, set == rule.enableWhenSet);
    }
}

void CPropPage::StartRefresh() {
    RefreshLiveValues();
    clock().SetTimer(id_, kRefreshTimerId, def_.refreshMs);
}

void CPropPage::RefreshLiveValues() {
    for (const LiveRead& live : def_.liveReads) {
        uint8_t buffer[kNvBufferSize] = {};
        if (live.length > kNvBufferSize) continue;
        if (node().ReadNv(live.nv, buffer, live.length) == kHostOk) ShowFields(live.fields, buffer);
    }
}

}  // namespace qta1
