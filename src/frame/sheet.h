// The modal "QTA1" property sheet: owns one instance of every page and the
// two host interfaces, and decides which page set the technician sees. Which
// pages exist and which sets they form, the application says (its page
// registry); the sheet knows none of them by name.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "frame/change_log.h"
#include "frame/host_link.h"
#include "frame/page.h"
#include "frame/platform.h"

namespace qta1 {

class TrendSession;

// A page the sheet can hold: the controls of its window and how it is made.
struct SheetPage {
    PageId id;
    std::span<const ControlDecl> controls;
    std::unique_ptr<CPropPage> (*make)(CSheet& sheet);
    std::string_view caption = {};  // of its tab, for the sheet's own questions
};

// Every page of the sheet, and the page sets in tab order. The home page is
// always the first tab; a node whose configured word is 0 gets the
// unconfigured page after it and nothing else; a configured node opens on
// the technician set.
struct SheetPages {
    std::span<const SheetPage> pages;
    PageId home;
    PageId unconfigured;
    std::span<const PageId> userSet;
    std::span<const PageId> technicianSet;
    // The change log of the node, when the application keeps one.
    std::unique_ptr<ChangeSink> (*makeChangeLog)(CSheet& sheet) = nullptr;
};

class CSheet final : public SheetEvents {
public:
    // Constructs the pages, obtains the host interfaces from the client site
    // and adds the first pages (the home page, then the set the node's
    // configured word calls for).
    CSheet(Platform& platform, HostUnknown* clientSite, const SheetPages& pages);
    ~CSheet();
    CSheet(const CSheet&) = delete;
    CSheet& operator=(const CSheet&) = delete;

    // Shows the sheet; returns when the technician presses "Exit".
    void RunModal();

    void AddUserSet();
    void RemoveUserSet();
    void AddTechnicianSet();
    void RemoveTechnicianSet();
    // The "User" and "Technician" switches. Asking for the set that is
    // already shown changes nothing.
    void ShowUserSet();
    void ShowTechnicianSet();

    NodeLink& node() { return link_; }
    // The parts of the port a page may reach: every page sees the screen and
    // the clock; the technician's storage only where a page asks for it.
    Screen& screen() { return platform_; }
    Clock& clock() { return platform_; }
    Storage& storage() { return platform_; }
    const std::vector<PageId>& tabs() const { return tabs_; }
    // Every page the sheet holds, and its page sets.
    const SheetPages& pages() const { return pages_; }
    // The page, or nullptr when the sheet has none of that id.
    CPropPage* Page(PageId id);
    // The controls of a page's window; none for a page the sheet does not hold.
    std::span<const ControlDecl> ControlsOf(PageId id) const;
    std::string_view CaptionOfPage(PageId id) const;
    // Adds an action's entry to the node's change log (when there is one).
    void LogChange(const ChangeEntry& entry);

    // The trend window ("Trend..." on `from`): opened, or brought to the
    // front when it is open already. It samples on a timer of `from` (none
    // over a settings file, which holds no live values) and closes with that
    // page's window, with the sheet, or when the technician closes it.
    void OpenTrend(PageId from);
    void CloseTrend();
    // The open trend, or nullptr.
    TrendSession* trend() { return trend_.get(); }
    // The page timer of the trend fired on `page`.
    void OnTrendTimer(PageId page);

    // While a page runs an action (a Read, a Write, what a button does, the
    // reads of a page coming to the front), the trend takes no sample.
    class Action {
    public:
        explicit Action(CSheet& sheet) : sheet_(sheet) { ++sheet_.actions_; }
        ~Action() { --sheet_.actions_; }
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;

    private:
        CSheet& sheet_;
    };
    bool Busy() const { return actions_ > 0; }
    // The unit's part 1 as a page last read it for its option rules
    // (reversed), for the series the trend starts with.
    void NoteOptions(const uint8_t* reversedPart1);

    void OnSheetInitDialog() override;
    // Asks first when a page holds typed values that were not written; No
    // brings the first such page back as it was left. Over a settings file
    // whose values are not all saved, asks whether to save them (Cancel
    // keeps the sheet where it was).
    bool OnSheetClosing() override;

private:
    bool ClosingAllowed();
    void Add(PageId id);
    void Remove(PageId id);
    bool Shows(std::span<const PageId> set) const;
    // The file's name, when the node is a settings file; empty otherwise.
    std::string FileName() const;
    // Over a file with unsaved values: the "Save changes" question; true
    // when the sheet may close.
    bool ClosingFileSaved();
    // Saves the file node's values to its file, asking before it overwrites
    // another program's changes; false when the sheet should stay open.
    bool SaveFile();

    Platform& platform_;
    const SheetPages& pages_;
    // Declared before the pages so that it is released after they are
    // destroyed; it obtains the interfaces only after every page has been
    // constructed.
    NodeLink link_;
    std::vector<std::unique_ptr<CPropPage>> instances_;
    std::vector<PageId> tabs_;
    std::unique_ptr<ChangeSink> changeLog_;
    std::optional<std::array<uint8_t, kNvBufferSize>> options_;
    int actions_ = 0;
    std::unique_ptr<TrendSession> trend_;
};

}  // namespace qta1
