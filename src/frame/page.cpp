#include "frame/page.h"

#include "frame/codec.h"
#include "frame/sheet.h"
#include "housekeeping/text_codec.h"
#include "resources/strings.h"

namespace qta1 {

namespace {

// Percent of an analogue output counted 0 to 4095 (word x 100 / 4095).
constexpr double kPercentOf4095 = 0.02442002442002442;

}  // namespace

std::string FormatField(const Field& field, const uint8_t* buffer) {
    const uint8_t high = buffer[field.offset];
    const uint8_t low = buffer[field.offset + 1];
    switch (field.codec) {
        case Codec::Word:
            return FormatFixed(ComposeWord(high, low), 0);
        case Codec::Tenths:
            return FormatFixed(ComposeWord(high, low) * 0.1, 1);
        case Codec::Temperature:
            return FormatFixed(DecodeSignedHundredths(high, low), 1);
        case Codec::TimeByte:
            return FormatTimeByte(high);
        case Codec::HourMinute: {
            const int minutes = DecodeSignedByte(low);
            return FormatFixed(DecodeSignedByte(high), 0) + ":" + (minutes < 10 ? "0" : "") +
                   FormatFixed(minutes, 0);
        }
        case Codec::HalfHundredths:
            return FormatFixed(DecodeHalfHundredths(high, low), 0);
        case Codec::Halves:
            return FormatFixed(DecodeHalves(high, low), 0);
        case Codec::Percent4095:
            return FormatFixed(ComposeWord(high, low) * kPercentOf4095, 0);
        case Codec::SignedByte:
            return FormatFixed(DecodeSignedByte(high), 0);
        case Codec::TenthsWhole:
            return FormatFixed(DecodeTenthsInteger(high, low), 0);
    }
    return {};
}

int FieldNumber(const Field& field, const uint8_t* buffer) {
    if (field.codec == Codec::SignedByte) return DecodeSignedByte(buffer[field.offset]);
    return ComposeWord(buffer[field.offset], buffer[field.offset + 1]);
}

void EncodeField(const Field& field, std::string_view text, uint8_t* buffer) {
    if (field.codec == Codec::TimeByte) {
        buffer[field.offset] = ParseTimeByte(text);
        return;
    }
    if (field.codec == Codec::HourMinute) {
        // Without a ":" the whole text is the minutes.
        const size_t colon = text.find(':');
        const std::string_view hours = colon == std::string_view::npos ? "" : text.substr(0, colon);
        const std::string_view minutes =
            colon == std::string_view::npos ? text : text.substr(colon + 1);
        buffer[field.offset] = static_cast<uint8_t>(EncodeLow(TextToDouble(hours)) & 0xFF);
        buffer[field.offset + 1] = static_cast<uint8_t>(EncodeLow(TextToDouble(minutes)) & 0xFF);
        return;
    }
    if (field.codec == Codec::Percent4095) return;  // shown only
    if (field.codec == Codec::Halves) {
        buffer[field.offset + 1] = static_cast<uint8_t>(EncodeHalvesLow(TextToDouble(text)) & 0xFF);
        return;
    }
    if (field.codec == Codec::SignedByte) {
        buffer[field.offset] = static_cast<uint8_t>(EncodeLow(TextToDouble(text)) & 0xFF);
        return;
    }
    const double number = TextToDouble(text);
    int32_t high = 0;
    int32_t low = 0;
    switch (field.codec) {
        case Codec::Word:
            high = EncodeHigh(number);
            low = EncodeLow(number);
            break;
        case Codec::Tenths:
        case Codec::TenthsWhole:
            high = EncodeTenthsHigh(number);
            low = EncodeTenthsLow(number);
            break;
        case Codec::Temperature:
            high = EncodeHundredthsHigh(number);
            low = EncodeHundredthsLow(number);
            break;
        case Codec::HalfHundredths:
            high = EncodeHalfHundredthsHigh(number);
            low = EncodeHalfHundredthsLow(number);
            break;
        case Codec::TimeByte:
        case Codec::HourMinute:
        case Codec::Halves:
        case Codec::Percent4095:
        case Codec::SignedByte:
            break;
    }
    buffer[field.offset] = static_cast<uint8_t>(high & 0xFF);
    buffer[field.offset + 1] = static_cast<uint8_t>(low & 0xFF);
}

CPropPage::CPropPage(PageId id, CSheet& sheet, const PageDef& def)
    : id_(id), sheet_(sheet), def_(def) {}

NodeLink& CPropPage::node() { return sheet_.node(); }
Platform& CPropPage::ui() { return sheet_.platform(); }

void CPropPage::SetText(int control, std::string_view text) { ui().SetText(id_, control, text); }
std::string CPropPage::Text(int control) { return ui().GetText(id_, control); }
void CPropPage::SetChecked(int control, bool checked) { ui().SetCheck(id_, control, checked); }
bool CPropPage::Checked(int control) { return ui().GetCheck(id_, control); }
void CPropPage::Enable(int control, bool enabled) { ui().Enable(id_, control, enabled); }

void CPropPage::EnableAll(std::span<const int> controls, bool enabled) {
    for (int control : controls) Enable(control, enabled);
}

std::string CPropPage::LayoutLabel(int control) const {
    const ControlDecl* decl = FindControl(id_, control);
    return decl != nullptr ? decl->label : "";
}

void CPropPage::OnInitDialog() {
    if (def_.refreshMs > 0) StartRefresh();
}

void CPropPage::OnShow(bool shown) {
    if (shown) {
        OnPageShown();
    } else {
        OnPageHidden();
    }
}

void CPropPage::OnTimer(int timerId) {
    if (timerId == kRefreshTimerId && def_.refreshMs > 0) RefreshLiveValues();
}

void CPropPage::OnClick(int controlId) {
    if (controlId != 0 && controlId == def_.readButton) {
        ReadPage();
    } else if (controlId != 0 && controlId == def_.writeButton) {
        WritePage();
    } else {
        for (const CheckRule& rule : def_.checkRules) {
            if (rule.checkBox == controlId) EnableAll(rule.controls, Checked(rule.checkBox));
        }
        OnControlClicked(controlId);
    }
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
            SetText(field.control, FormatField(field, buffer));
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
    OnControlClicked(chosen);
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
        } else {
            EncodeField(field, Text(field.control), buffer);
        }
    }
}

bool CPropPage::ReadBlock(const Block& block) {
    if (block.nv == kConfigNv) {
        const bool selected = block.readSelectorAlways ? node().WriteSelector(block.part)
                                                       : node().SelectPart(block.part);
        if (!selected) return false;
    }
    uint8_t buffer[kNvBufferSize] = {};
    if (block.readLength > kNvBufferSize) return false;
    if (node().ReadNv(block.nv, buffer, block.readLength) != kHostOk) return false;
    if (block.optionBits) ReverseBits(buffer, kNvBufferSize);
    ShowFields(block.fields, buffer);
    AfterBlockRead(block, buffer);
    return true;
}

bool CPropPage::WriteBlock(const Block& block) {
    if (block.nv == kConfigNv) {
        const bool selected =
            block.selectorAlways ? node().WriteSelector(block.part) : node().SelectPart(block.part);
        if (!selected) return false;
    }
    uint8_t buffer[kNvBufferSize] = {};
    if (block.rmwLength > kNvBufferSize || block.writeLength > kNvBufferSize) return false;
    if (node().ReadNv(block.nv, buffer, block.rmwLength) != kHostOk) return false;
    if (block.optionBits) ReverseBits(buffer, kNvBufferSize);
    StoreFields(block.fields, buffer);
    if (block.optionBits) ReverseBits(buffer, kNvBufferSize);
    node().WriteNv(block.nv, buffer, block.writeLength);
    return true;
}

void CPropPage::ReadPage() {
    if (def_.readButton != 0) SetText(def_.readButton, text::kWait);
    for (const Block& block : def_.blocks) ReadBlock(block);
    ApplyCheckRules();
    AfterRead();
    if (def_.readButton != 0) SetText(def_.readButton, LayoutLabel(def_.readButton));
}

bool CPropPage::PasswordAccepted() {
    if (def_.passwordBox == 0) return true;
    if (Text(def_.passwordBox) == text::kTechnicianPassword) return true;
    ui().MessageBox(text::kWrongPassword, "", MsgButtons::Ok, MsgIcon::None);
    return false;
}

void CPropPage::ApplyCheckRules() {
    for (const CheckRule& rule : def_.checkRules) {
        EnableAll(rule.controls, Checked(rule.checkBox));
    }
}

void CPropPage::WritePage() {
    if (def_.writeButton != 0) SetText(def_.writeButton, text::kWait);
    if (PasswordAccepted()) {
        if (def_.writeOrder.empty()) {
            for (const Block& block : def_.blocks) {
                if (!block.shownOnly) WriteBlock(block);
            }
        } else {
            for (int index : def_.writeOrder) WriteBlock(def_.blocks[static_cast<size_t>(index)]);
        }
        AfterWriteBlocks();
        ReadPage();
    }
    if (def_.passwordBox != 0) SetText(def_.passwordBox, "");
    if (def_.writeButton != 0) SetText(def_.writeButton, LayoutLabel(def_.writeButton));
}

void CPropPage::OnPageShown() {
    ReadPage();
    ApplyOptionEnabling();
}

void CPropPage::ApplyOptionEnabling() {
    if (def_.optionRules.empty()) return;
    if (!node().SelectPart(kOptionPart)) return;
    uint8_t buffer[kNvBufferSize] = {};
    if (node().ReadNv(kConfigNv, buffer, kNvValueSize) != kHostOk) return;
    ReverseBits(buffer, kNvBufferSize);
    ApplyOptionRules(buffer);
}

void CPropPage::ApplyOptionRules(const uint8_t* reversedPart1) {
    for (const OptionRule& rule : def_.optionRules) {
        const bool set = TestBit(reversedPart1[rule.byte], rule.bit) != 0 ||
                         (rule.orBit >= 0 && TestBit(reversedPart1[rule.byte], rule.orBit) != 0);
        EnableAll(rule.controls, set == rule.enableWhenSet);
    }
}

void CPropPage::StartRefresh() {
    RefreshLiveValues();
    ui().SetTimer(id_, kRefreshTimerId, def_.refreshMs);
}

void CPropPage::RefreshLiveValues() {
    for (const LiveRead& live : def_.liveReads) {
        uint8_t buffer[kNvBufferSize] = {};
        if (live.length > kNvBufferSize) continue;
        if (node().ReadNv(live.nv, buffer, live.length) == kHostOk) ShowFields(live.fields, buffer);
    }
}

}  // namespace qta1
