// Every page's tables against the NV catalogue and its own layout: a typo in
// a byte offset, an NV number, a control identifier or a layout row fails
// here, before any node sees it.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/page_registry.h"
#include "sim_session.h"

namespace qta1 {
namespace {

// What is wrong with one page, one line each.
class PageProblems {
public:
    PageProblems(const PageLayout& layout, const PageDef& def) : layout_(layout), def_(def) {}

    std::vector<std::string> Find() {
        CheckLayout();
        for (const Block& block : def_.blocks) CheckBlock(block);
        CheckWriteOrder();
        for (const OptionRule& rule : def_.optionRules) CheckOptionRule(rule);
        for (const StatusRule& rule : def_.statusRules) CheckStatusRule(rule);
        for (const CheckRule& rule : def_.checkRules) {
            Control(rule.checkBox, {ControlKind::CheckBox}, "check rule");
            for (int control : rule.controls) Control(control, {}, "check rule");
        }
        for (const LiveRead& live : def_.liveReads) CheckLiveRead(live);
        if (def_.readButton != 0) Control(def_.readButton, {ControlKind::PushButton}, "Read");
        if (def_.writeButton != 0) Control(def_.writeButton, {ControlKind::PushButton}, "Write");
        if (def_.trendButton != 0) Control(def_.trendButton, {ControlKind::PushButton}, "Trend");
        if (def_.passwordBox != 0)
            Control(def_.passwordBox, {ControlKind::PasswordEdit}, "password");
        return problems_;
    }

private:
    void Problem(const std::string& what) { problems_.push_back(what); }

    // Identifiers in the page's block of 100 (page n: 1000 + 100 n), once each.
    void CheckLayout() {
        const int number = static_cast<int>(layout_.page);
        if (layout_.dialogId != kPageDialogBase + number) Problem("dialog is not 100 + n");
        std::set<int> seen;
        for (const ControlDecl& decl : layout_.controls) {
            if (decl.id == IDC_STATIC) continue;
            const int first = 1000 + 100 * number;
            if (decl.id < first || decl.id >= first + 100)
                Problem("control " + std::to_string(decl.id) + " (" + decl.label +
                        ") is outside the page's block " + std::to_string(first));
            if (!seen.insert(decl.id).second)
                Problem("control " + std::to_string(decl.id) + " is declared twice");
        }
    }

    // The control is declared on the page, of one of `kinds` (any, when empty).
    void Control(int id, std::vector<ControlKind> kinds, const std::string& role) {
        const ControlDecl* decl = nullptr;
        for (const ControlDecl& d : layout_.controls)
            if (d.id == id && id != IDC_STATIC) decl = &d;
        if (decl == nullptr) {
            Problem(role + ": control " + std::to_string(id) + " is not in the page's layout");
        } else if (!kinds.empty() &&
                   std::find(kinds.begin(), kinds.end(), decl->kind) == kinds.end()) {
            Problem(role + ": control " + std::to_string(id) + " (" + decl->label +
                    ") is not of a kind that shows it");
        }
    }

    // A field within `valueLength` bytes, on controls that can show it.
    void CheckField(const Field& field, int valueLength, bool liveOnly, const std::string& where) {
        const std::string what = where + " field at byte " + std::to_string(field.offset);
        if (field.offset < 0 || field.offset + FieldWidth(field) > valueLength)
            Problem(what + ": beyond the value's " + std::to_string(valueLength) + " bytes");
        const bool bits = field.kind == FieldKind::Bit || field.kind == FieldKind::BitText ||
                          field.kind == FieldKind::RadioBit;
        if (bits && (field.bit < 0 || field.bit > 7)) Problem(what + ": bit outside 0-7");
        const ControlKind shown = liveOnly ? ControlKind::ReadOnlyEdit : ControlKind::Edit;
        switch (field.kind) {
            case FieldKind::Word:
                Control(field.control, {shown, ControlKind::ReadOnlyEdit}, what);
                break;
            case FieldKind::Bit:  // a check box, or one radio button per bit
                Control(field.control, {ControlKind::CheckBox, ControlKind::RadioButton}, what);
                if (field.gate != 0) Control(field.gate, {ControlKind::CheckBox}, what + " gate");
                break;
            case FieldKind::Text:
            case FieldKind::BitText:
                Control(field.control, {ControlKind::ReadOnlyEdit}, what);
                if (field.texts == nullptr) Problem(what + ": no texts");
                break;
            case FieldKind::RadioWord:
            case FieldKind::RadioBit:
                CheckRadios(field, what);
                break;
        }
    }

    void CheckRadios(const Field& field, const std::string& what) {
        if (field.radios == nullptr) return Problem(what + ": no radio buttons");
        bool otherFound = field.radios->otherControl == 0;
        for (const RadioChoice& choice : field.radios->choices) {
            Control(choice.control, {ControlKind::RadioButton}, what);
            otherFound = otherFound || choice.control == field.radios->otherControl;
        }
        if (!otherFound) Problem(what + ": the button for other values is not among the choices");
        if (field.radios->governedBox != 0)
            Control(field.radios->governedBox, {ControlKind::Edit}, what + " governed box");
    }

    void CheckBlock(const Block& block) {
        const std::string where =
            "NV " + std::to_string(block.nv) + " part " + std::to_string(block.part);
        const NvEntry* nv = NvEntryOf(block.nv);
        if (nv == nullptr || nv->readLength == 0) return Problem(where + ": not a readable NV");
        if (block.nv == kConfigNv) {
            const PartEntry* part = PartEntryOf(block.part);
            if (part == nullptr) return Problem(where + ": no such part");
            if (block.bitReversed != part->bitReversed) Problem(where + ": bit order of the part");
        } else if (block.part != 0 || block.bitReversed) {
            Problem(where + ": a part or a bit order on an NV without parts");
        }
        if (block.readLength < nv->readLength || block.readLength > kNvBufferSize)
            Problem(where + ": read length");
        if (!block.shownOnly) {
            if (nv->writeLength == 0) Problem(where + ": written, but the node takes no writes");
            if (block.rmwLength < nv->readLength || block.rmwLength > kNvBufferSize)
                Problem(where + ": length of the read before a write");
        }
        for (const Field& field : block.fields) CheckField(field, nv->readLength, false, where);
    }

    void CheckWriteOrder() {
        std::set<int> seen;
        for (int index : def_.writeOrder) {
            if (index < 0 || static_cast<size_t>(index) >= def_.blocks.size())
                Problem("write order names block " + std::to_string(index) +
                        ", which is not there");
            else if (def_.blocks[static_cast<size_t>(index)].shownOnly)
                Problem("write order names a block that is only shown");
            if (!seen.insert(index).second) Problem("write order names a block twice");
        }
    }

    void CheckOptionRule(const OptionRule& rule) {
        if (rule.byte < 0 || rule.byte >= kNvValueSize || rule.bit < 0 || rule.bit > 7 ||
            rule.orBit < -1 || rule.orBit > 7)
            Problem("option rule on byte " + std::to_string(rule.byte) + " bit " +
                    std::to_string(rule.bit) + " is outside part 1");
        for (int control : rule.controls) Control(control, {}, "option rule");
    }

    void CheckStatusRule(const StatusRule& rule) {
        const NvEntry* nv = NvEntryOf(rule.nv);
        const std::string where = "status rule on NV " + std::to_string(rule.nv);
        if (nv == nullptr || nv->readLength == 0) return Problem(where + ": not a readable NV");
        if (rule.byte < 0 || rule.byte >= nv->readLength || rule.bit < 0 || rule.bit > 7 ||
            rule.wordAt + 1 >= nv->readLength)
            Problem(where + ": outside the value");
        if (rule.gateByte >= kNvValueSize || rule.gateBit < 0 || rule.gateBit > 7)
            Problem(where + ": its part-1 option is outside part 1");
        for (int control : rule.controls) Control(control, {}, where);
    }

    void CheckLiveRead(const LiveRead& live) {
        const std::string where = "live NV " + std::to_string(live.nv);
        const NvEntry* nv = NvEntryOf(live.nv);
        if (nv == nullptr || nv->readLength == 0) return Problem(where + ": not a readable NV");
        if (live.length < nv->readLength || live.length > kNvBufferSize)
            Problem(where + ": read length");
        for (const Field& field : live.fields) CheckField(field, nv->readLength, true, where);
    }

    const PageLayout& layout_;
    const PageDef& def_;
    std::vector<std::string> problems_;
};

TEST(PageTables, EveryPageAgreesWithTheCatalogueAndItsLayout) {
    SimSession s;
    CSheet sheet(s.ui, &s.site, PageRegistry());
    ASSERT_EQ(AllLayouts().size(), PageRegistry().pages.size());
    for (const PageLayout& layout : AllLayouts()) {
        SCOPED_TRACE(layout.caption);
        const CPropPage* page = sheet.Page(layout.page);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->Controls().data(), layout.controls.data()) << "another page's layout";
        EXPECT_EQ(PageByCaption(layout.caption), layout.page) << "caption used twice";
        for (const std::string& problem : PageProblems(layout, page->definition()).Find())
            ADD_FAILURE() << problem;
    }
}

TEST(PageTables, EveryPageInASetHasItsLayoutAndHomeIsInNone) {
    for (std::span<const PageId> set : {UserSet(), TechnicianSet()}) {
        for (PageId id : set) {
            EXPECT_NE(LayoutOf(id).dialogId, 0);
            EXPECT_NE(id, PageRegistry().home);
        }
    }
    EXPECT_NE(LayoutOf(PageRegistry().unconfigured).dialogId, 0);
}

}  // namespace
}  // namespace qta1
