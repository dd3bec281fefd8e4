// The page read/write cycle shared by every tab. A page is a table of blocks
// (where the bytes live) with fields (which control shows which bytes, and
// how), plus the few rules a table cannot say, written as overrides in the
// page's own class. The engine never caches node values and never skips a
// read or a write the cycle calls for: the host-call sequence is the product.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/host_link.h"
#include "frame/platform.h"
#include "resources/strings.h"

namespace qta1 {

class CSheet;

// How a field's bytes become text and how typed text becomes bytes.
enum class Codec : uint8_t {
    Word,         // unsigned word, "%.0f"; written as truncate(number)
    Tenths,       // word x 0.1, "%.1f"; written as truncate(number x 10)
    Temperature,  // signed hundredths, "%.1f"; written as truncate(number x 100)
    TimeByte,     // one byte of quarter hours since midnight, "H:MM"; minutes typed
                  // between quarters are stored as the quarter below
    HourMinute,   // an hours byte and a minutes byte, "H:MM" (signed, unchecked);
                  // typed text is split at its first ":", low 8 bits of each number

    // word / 200 (a percentage), "%.0f"; written as truncate(number x 200)
    HalfHundredths,
    // word x 0.5, "%.0f"; written as truncate(number x 2) into the low byte
    // only, the high byte keeps the node's value
    Halves,
    // word x 100 / 4095 (an analogue output), "%.0f"; shown only
    Percent4095,
    // the byte at `offset` read as signed, "%.0f"; written as truncate(number)
    SignedByte,
    // word / 10 in whole units, remainder dropped (tenths of a second shown
    // as seconds), "%.0f"; written as truncate(number x 10)
    TenthsWhole,
    // the node clock (year word, month, day, hour, minute, second) as its
    // date, "6/12-2026", or its time of day, "7:05:09"; shown only
    NodeDate,
    NodeTime,
};

enum class FieldKind : uint8_t {
    Word,  // a big-endian word at `offset` (high byte) and offset + 1
    Bit,   // an option bit: a check box on codec bit `bit` of byte `offset`

    // The value (a word, or a signed byte with Codec::SignedByte) as the text
    // `texts` gives it; shown only.
    Text,
    // Codec bit `bit` of byte `offset` (0 or 1) as the text `texts` gives it.
    BitText,
    // A word chosen with the radio buttons of `radios`.
    RadioWord,
    // Codec bit `bit` of byte `offset` chosen with the radio buttons of `radios`.
    RadioBit,
};

// The text a status box shows for each value. Values not in the table show
// `other`, or leave the box's text as it was when `other` is null.
struct ValueText {
    int value;
    const char* text;
};
struct TextTable {
    std::span<const ValueText> texts;
    const char* other = nullptr;
};

// Radio buttons that stand for values. Read checks the button of the node's
// value and runs its click interlock, as if the technician had chosen it;
// Write stores the value of the first checked button in table order.
inline constexpr int kKeepNodeValue = -1;
struct RadioChoice {
    int control;
    int value;
};
struct RadioGroup {
    std::span<const RadioChoice> choices;
    int otherControl = 0;            // checked by Read for values not in the table; 0: no change
    int noneValue = kKeepNodeValue;  // stored when no button is checked; kKeepNodeValue: the
                                     // node's value is written back unchanged
    // A box that takes typing only while the choice of `enablingValue` is
    // checked (an output's manual position, under "Manual"): choosing a
    // button, by a click or by Read, enables or disables it. 0: none.
    int governedBox = 0;
    int enablingValue = 0;
};

struct Field {
    int control;
    FieldKind kind;
    int offset;  // byte index of the value (the high byte of a word)
    int bit;     // codec bit number, Bit fields only
    Codec codec;
    // Bit fields: Write stores the bit only while this check box is checked
    // as well, and 0 otherwise (an option that needs another); 0: no gate.
    int gate = 0;
    const TextTable* texts = nullptr;    // Text and BitText fields
    const RadioGroup* radios = nullptr;  // RadioWord and RadioBit fields
};

// Word k of a 31-byte value occupies bytes 2k+1 (high) and 2k+2 (low).
constexpr Field WordField(int control, int word, Codec codec) {
    return {control, FieldKind::Word, 2 * word + 1, 0, codec};
}
// A word starting at a plain byte offset (status NVs start at byte 0).
constexpr Field WordAt(int control, int offset, Codec codec) {
    return {control, FieldKind::Word, offset, 0, codec};
}
constexpr Field BitField(int control, int byte, int bit) {
    return {control, FieldKind::Bit, byte, bit, Codec::Word};
}
// A time byte of a week calendar at a plain byte offset.
constexpr Field TimeByteAt(int control, int offset) {
    return {control, FieldKind::Word, offset, 0, Codec::TimeByte};
}
// An option bit that Write stores only while the check box `gate` is checked.
constexpr Field GatedBitField(int control, int byte, int bit, int gate) {
    return {control, FieldKind::Bit, byte, bit, Codec::Word, gate};
}
// A status text from the word (or, with Codec::SignedByte, the byte) at `offset`.
constexpr Field TextAt(int control, int offset, Codec codec, const TextTable& texts) {
    return {control, FieldKind::Text, offset, 0, codec, 0, &texts};
}
// A status text from one bit of a byte as stored: mask 0x80 >> bit.
constexpr Field BitTextAt(int control, int byte, int bit, const TextTable& texts) {
    return {control, FieldKind::BitText, byte, bit, Codec::Word, 0, &texts};
}
constexpr Field RadioWordAt(int offset, const RadioGroup& radios) {
    return {0, FieldKind::RadioWord, offset, 0, Codec::Word, 0, nullptr, &radios};
}
constexpr Field RadioBitField(int byte, int bit, const RadioGroup& radios) {
    return {0, FieldKind::RadioBit, byte, bit, Codec::Word, 0, nullptr, &radios};
}

// Where a block's bytes live and how they travel. A write sends as many bytes
// as the NV catalogue gives the NV.
struct Block {
    int nv;            // NV index; kConfigNv for a part of the configuration NV
    int part;          // the part, for kConfigNv; 0 otherwise
    bool bitReversed;  // an option part: its bytes are bit-reversed between node and page
    std::span<const Field> fields;
    int readLength = kNvValueSize;  // length of the ReadPage read
    int rmwLength = kNvBufferSize;  // length of the read before a write
    bool selectorAlways = false;    // Write selects with WriteSelector, unconditionally
    bool shownOnly = false;         // Read shows it, Write never sends it
    // Read also selects with WriteSelector, unconditionally.
    bool readSelectorAlways = false;
};

// Enables the controls when option bit `bit` of part 1 byte `byte` (as
// stored) is set, disables them when clear (or the reverse).
struct OptionRule {
    int byte;
    int bit;
    std::span<const int> controls;
    bool enableWhenSet = true;
    int orBit = -1;  // when 0..7: this bit of the same byte counts as set too
};

// Enabling that follows what the node reports in one of its status NVs, read
// when the option rules are applied: the controls are enabled while bit
// `bit` of byte `byte` as stored (mask 0x80 >> bit, as every bit here) is set, or the word at `wordAt`
// (when 0 or more) is above `wordAbove`, and disabled otherwise (or the
// reverse). A rule with a part-1 option (`gateByte` 0 or more) disables its
// controls without reading anything while that option is clear. When the NV
// cannot be read the controls keep their enabling. Each NV is read once.
struct StatusRule {
    int nv;
    int byte;
    int bit;
    std::span<const int> controls;
    bool enableWhenSet = true;
    int gateByte = -1;
    int gateBit = 0;
    int wordAt = -1;
    int wordAbove = 0;
};

// A check box that enables other controls while it is checked and disables
// them while it is not: applied at the end of every Read, whether or not its
// reads succeeded, and whenever the box is clicked.
struct CheckRule {
    int checkBox;
    std::span<const int> controls;
};

// A status NV read by the refresh timer into read-only boxes.
struct LiveRead {
    int nv;
    int length;
    std::span<const Field> fields;
};

struct PageDef {
    std::span<const Block> blocks = {};            // ReadPage order
    std::span<const int> writeOrder = {};          // indexes into blocks; empty: the same order
    std::span<const OptionRule> optionRules = {};  // applied from part 1 when the page is shown
    std::span<const LiveRead> liveReads = {};
    int refreshMs = 0;  // 0: no refresh timer
    int readButton = 0;
    int writeButton = 0;
    int passwordBox = 0;  // 0: Write needs no password
    // "Trend...": opens the sheet's trend window of the live values, or
    // brings it to the front; the series whose boxes this page's option
    // rules disable start unchecked.
    int trendButton = 0;
    std::span<const CheckRule> checkRules = {};
    std::span<const StatusRule> statusRules = {};  // applied after the option rules
    // A page of nothing but a unit's live values has nothing to show over a
    // settings file: what it says then instead (none: that it shows live
    // values only).
    const char* fileNote = nullptr;
};

inline constexpr int kRefreshTimerId = 1;

class CPropPage : public PageEvents {
public:
    CPropPage(PageId id, CSheet& sheet, const PageDef& def);
    virtual ~CPropPage();
    CPropPage(const CPropPage&) = delete;
    CPropPage& operator=(const CPropPage&) = delete;

    PageId id() const { return id_; }
    // The table the cycle runs over.
    const PageDef& definition() const { return def_; }
    // A control of the page's window as its layout declares it, or nullptr.
    const ControlDecl* Declaration(int control) const;

    // Platform notifications.
    std::span<const ControlDecl> Controls() const override { return controls_; }
    void OnInitDialog() override;
    void OnShow(bool shown) override;
    void OnTimer(int timerId) override;
    void OnClick(int controlId) override;

    // The cycle. Pages override only where they genuinely differ.
    virtual void ReadPage();
    virtual void WritePage();
    virtual void OnPageShown();
    virtual void ApplyOptionEnabling();
    virtual void StartRefresh();
    virtual void RefreshLiveValues();
    // The page window is being hidden (another tab comes to the front).
    // Nothing happens by default.
    virtual void OnPageHidden() {}

    // Value boxes whose text the technician changed since the page last
    // showed the node's values, and did not write.
    bool HoldsUnwrittenValues();
    // The next time the page comes to the front it shows what it holds
    // instead of reading the node again (the typed values stay).
    void KeepOnNextShow() { keepOnNextShow_ = true; }

protected:
    // Local interlocks of check boxes, radio buttons and page-specific buttons.
    virtual void OnControlClicked(int /*controlId*/) {}
    // Runs at the end of every ReadPage, before the caption returns.
    virtual void AfterRead() {}
    // Runs in WritePage after the page's blocks are written and before the
    // closing Read: writes a page sends only after checks of its own.
    virtual void AfterWriteBlocks() {}
    // Applies the page's option rules to a part 1 that was already read and
    // reversed, then its status rules; pages with rules beyond the table
    // extend it.
    virtual void ApplyOptionRules(const uint8_t* reversedPart1);
    // The status rules; without a part 1 (nullptr) the gates are not looked at.
    void ApplyStatusRules(const uint8_t* reversedPart1);
    // Runs after a block's read succeeded and its fields were shown, with the
    // buffer as decoded (reversed for option parts): the page's own decoding.
    virtual void AfterBlockRead(const Block& /*block*/, const uint8_t* /*buffer*/) {}

    // Block transfers: select, read, decode / read, encode, write. A failed
    // or refused step of a write is noted for the Write's closing message.
    bool ReadBlock(const Block& block);
    bool WriteBlock(const Block& block);
    void ShowFields(std::span<const Field> fields, const uint8_t* buffer);
    // Encodes the boxes the technician edited and every check box and radio
    // group; a box whose text is still what the page last showed keeps the
    // node's bytes.
    void StoreFields(std::span<const Field> fields, uint8_t* buffer);
    void ShowText(const Field& field, const uint8_t* buffer);
    void ShowRadios(const Field& field, const uint8_t* buffer);
    // A control was clicked, or a radio button chosen by Read: the box a
    // radio group governs follows its choice, then the page's own
    // interlock runs.
    void ControlChosen(int control);
    // A page of nothing but a unit's live values (and actions on them).
    bool UnitOnly() const;
    // Over a settings file such a page does nothing but tell the technician
    // (once per sheet) why: true when it did.
    bool NothingOverFile();
    void StoreRadios(const Field& field, uint8_t* buffer);
    bool PasswordAccepted();
    // Enables the controls of every check rule from its box.
    void ApplyCheckRules();

    // Checks every edited box of `fields` before anything is sent: when any
    // cannot be stored exactly, one message lists them all (label, group,
    // what was typed, the range the box takes), the focus goes to the first,
    // and the result is false.
    bool EditedBoxesAccepted(std::span<const Field> fields,
                             std::string_view action = text::kWriteAction);
    // True when the box's text is not what the page last showed in it.
    bool Edited(int control);

    // A button that reads `caption` while the page is busy, and its own label
    // again when the guard ends; button 0 is none.
    class BusyButton {
    public:
        BusyButton(CPropPage& page, int button, std::string_view caption);
        ~BusyButton();
        BusyButton(const BusyButton&) = delete;
        BusyButton& operator=(const BusyButton&) = delete;

    private:
        CPropPage& page_;
        int button_;
    };
    [[nodiscard]] BusyButton ShowBusy(int button, std::string_view caption = text::kWait) {
        return BusyButton(*this, button, caption);
    }

    // Every action that writes to the node collects what went wrong between
    // BeginWriteReport and FinishWriteReport, which tells the technician what
    // was not written, or which boxes the node holds differently from what
    // was sent (compared with the closing Read, when there is one).
    // The action is what the node's change log calls it ("Write", "Reset").
    void BeginWriteReport(std::string_view action = text::kWriteAction);
    void FinishWriteReport();
    // What the node held in an NV or part before the current write composed
    // its bytes (the page's view): the change log lists each box whose bytes
    // the write then changed, from this value to the one sent.
    void NoteBefore(int nv, int part, const uint8_t* pageBytes);
    // A change the current write made that no box's bytes show (a command,
    // the node clock), for the change log.
    void NoteChange(std::string what, std::string before, std::string after);
    // A write refused before anything was sent, for the change log: why, one
    // line each.
    void LogRefusal(std::string_view action, std::vector<std::string> why);
    // A WriteNv of bytes the page composed itself (as many as the NV takes).
    // A refusal is reported; `fields` (the page's view of `pageBytes`,
    // reversed for option parts) are compared with the closing Read of the
    // same NV and part.
    bool SendNv(int nv, int part, bool bitReversed, std::span<const Field> fields,
                const uint8_t* pageBytes);
    // A problem of the current write, told at its end: `what` names the
    // boxes or values concerned, `why` what happened.
    void NoteWriteProblem(std::string what, std::string_view why);
    // "P (Heat (Mv1))": a control as the technician finds it on the page.
    std::string BoxName(int control) const;

    NodeLink& node();
    Screen& screen();
    Clock& clock();
    CSheet& sheet() { return sheet_; }

    void SetText(int control, std::string_view text);
    std::string Text(int control);
    void SetChecked(int control, bool checked);
    bool Checked(int control);
    void Enable(int control, bool enabled);
    void EnableAll(std::span<const int> controls, bool enabled);
    std::string LayoutLabel(int control) const;

private:
    struct WriteReport;
    void NoteSent(int nv, int part, std::span<const Field> fields, const uint8_t* pageBytes);
    void NoteReadBack(const Block& block, const uint8_t* buffer, bool ok);
    // "PID - P (Heat (Mv1))": a box as the change log names it.
    std::string LoggedName(std::string_view what) const;
    std::string BoxNames(std::span<const Field> fields) const;
    // The boxes of `fields` the technician typed into, or all of them when
    // none was typed into (check boxes and radio buttons).
    std::string EditedBoxNames(std::span<const Field> fields);

    PageId id_;
    CSheet& sheet_;
    const PageDef& def_;
    std::span<const ControlDecl> controls_;
    // The text each value box last showed from the node, to tell the boxes
    // the technician edited from those that must keep the node's bytes.
    std::map<int, std::string> shown_;
    bool keepOnNextShow_ = false;
    // Over a settings file, a page of live values said so once.
    bool toldFileNote_ = false;
    std::unique_ptr<WriteReport> report_;
};

// How many bytes from `offset` a field reads and writes.
int FieldWidth(const Field& field);
// Text of a field's value, and the value of a field's text.
std::string FormatField(const Field& field, const uint8_t* buffer);
// Stores typed text into the field's bytes when it is a number (or time)
// that the field stores and reads back exactly; otherwise leaves the buffer
// as it was and returns false. Digits beyond the field's precision are cut
// off toward zero.
bool EncodeField(const Field& field, std::string_view text, uint8_t* buffer);
// What a field accepts, for the message that refuses a value: "a number
// from 0 to 6553.5".
std::string AcceptedRange(const Field& field);
// The value of a field as its page shows it: the box's text, a check box's
// state, or the caption of the chosen radio button (of `controls`).
std::string FieldValueText(const Field& field, const uint8_t* buffer,
                           std::span<const ControlDecl> controls);
// Two values of a field as its page shows them; where the page's rounding
// makes different stored values look alike, with all the digits they store.
std::pair<std::string, std::string> DifferingValueTexts(const Field& field, const uint8_t* a,
                                                        const uint8_t* b,
                                                        std::span<const ControlDecl> controls);
// The bits of the page's view of a value that a field shows, ORed into
// `masks` (one per byte).
void AddFieldMask(const Field& field, uint8_t* masks);
// Whether two views hold the same value in the field's bits.
bool SameFieldValue(const Field& field, const uint8_t* a, const uint8_t* b);
// Whether a Write stores the field (status texts, analogue outputs and the
// clock are shown only).
bool FieldStored(const Field& field);
// The control that names the field (a radio group's first button).
int FieldControl(const Field& field);
// "P (Heat (Mv1))": a control as the technician finds it on its page, on one
// line (a label drawn on two lines has a space for its line break).
std::string BoxNameOf(const ControlDecl& decl);
// The number a Text field looks up: the word, or the signed byte.
int FieldNumber(const Field& field, const uint8_t* buffer);

}  // namespace qta1

// A page its tables say completely, with no code of its own: its class
// CPage<n>PropPage is a `Base` (CPropPage, or a kind of page such as the
// actuator pages) made for page `id` with the arguments that follow (its
// PageDef, and what else Base takes), and Make<id>Page() gives the sheet one.
// `number` must be the page's own from its row of the page table, or the
// build stops.
#define QTA1_TABLE_PAGE(number, id, Base, ...)                                                    \
    static_assert(static_cast<int>(PageId::id) == (number),                                       \
                  "CPage" #number "PropPage is not the page table's " #id);                       \
    class CPage##number##PropPage final : public Base {                                           \
    public:                                                                                       \
        explicit CPage##number##PropPage(CSheet& sheet) : Base(PageId::id, sheet, __VA_ARGS__) {} \
    };                                                                                            \
    std::unique_ptr<CPropPage> Make##id##Page(CSheet& sheet) {                                    \
        return std::make_unique<CPage##number##PropPage>(sheet);                                  \
    }
