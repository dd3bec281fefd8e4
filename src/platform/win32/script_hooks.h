// ScriptHooks: the one place the Win32 platform reaches a test host through.
// A host that runs scripts offers IQta1ScriptSite (what the technician sees,
// the questions put to the technician, the clock) and perhaps
// IQta1StorageSite (where the technician's choices and files are kept) on
// the control's client site. The sheet, its pages and the review window call
// these methods wherever the host may watch or answer; each does nothing, or
// says "not the host's", when the host offers no such interface, so the
// window procedures read the same with or without one. Texts go in as the
// plug-in's Windows-1252 bytes and paths as UTF-8; the conversions are here.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <optional>
#include <string>
#include <string_view>

#include "frame/platform.h"
#include "frame/trend.h"
#include "platform/win32/qta1_script_site.h"
#include "platform/win32/qta1_storage_site.h"
#include "platform/win32/win32_handles.h"

namespace qta1 {

class ScriptHooks {
public:
    // Asks `site` (the control's client site, or null) for both interfaces
    // and keeps a reference to each it finds while the hooks live.
    explicit ScriptHooks(IUnknown* site);

    // A script site is there: it gets its turn once the sheet's modal loop
    // runs.
    bool Scripting() const { return static_cast<bool>(script_); }

    // --- What the technician sees happen -------------------------------------
    void SheetOpening(std::string_view caption) const;
    // True when the host acted as the technician and is done: the sheet closes.
    bool SheetReady(HWND sheet) const;
    void SheetClosed() const;
    // `window` null: the page's window is being destroyed.
    void PageWindow(PageId page, HWND window) const;
    void BeforePlugIn() const;
    // A push button's caption is about to become `text`: the host hears it
    // when it changes.
    void ButtonCaption(PageId page, int control, HWND button, std::string_view text) const;
    // The trend window opened, came to the front, was drawn again, or is
    // going away (`model` null), with what it plots.
    void TrendWindow(win32::Qta1TrendEvent event, HWND window, const TrendModel* model) const;

    // --- The questions the technician answers --------------------------------
    // A box or a review window is answered by what was pressed (none: it
    // could not be shown), unless the host says otherwise: the answer the
    // sheet goes on with, none when there is neither.
    void MessageBoxAsked(std::string_view text, std::string_view title, MsgButtons buttons,
                         MsgIcon icon) const;
    std::optional<MsgAnswer> MessageBoxAnswered(std::string_view text, std::string_view title,
                                                MsgButtons buttons, MsgIcon icon,
                                                std::optional<MsgAnswer> pressed) const;
    void ReviewAsked(HWND window, ReviewButtons buttons) const;
    std::optional<MsgAnswer> ReviewAnswered(ReviewButtons buttons,
                                            std::optional<MsgAnswer> pressed) const;
    // True when the host answered the dialog without a window: `path` is the
    // file, none when cancelled. False: the dialog is to be shown, and
    // FileDialogAnswered tells the host how it closed (`chosen` null:
    // cancelled).
    bool FileDialogAsked(bool save, const FileDialogRequest& request,
                         std::optional<std::string>& path) const;
    void FileDialogAnswered(bool save, const FileDialogRequest& request,
                            const wchar_t* chosen) const;

    // --- Time ------------------------------------------------------------------------
    // True when the wait passed on the host's clock.
    bool Wait(int ms) const;
    // The host's local time; none for the PC's clock.
    std::optional<SYSTEMTIME> LocalTime() const;
    // True when the host runs the timer (and sends the page WM_TIMER).
    bool SetPageTimer(PageId page, int id, int periodMs) const;
    void KillPageTimer(PageId page, int id) const;
    void TimerFired(PageId page, int id) const;

    // --- The technician's storage ------------------------------------------------
    // True when the host keeps the choices: `value` is the choice, none when
    // never made. False: they are the registry's.
    bool UserSetting(std::string_view name, std::optional<std::string>& value) const;
    bool SetUserSetting(std::string_view name, std::string_view value) const;
    // The host's folder for the plug-in's files; none for the system's.
    std::optional<std::string> UserFolder() const;
    std::optional<std::string> UserName() const;

private:
    win32::ComPtr<win32::IQta1ScriptSite> script_;
    win32::ComPtr<win32::IQta1StorageSite> storage_;
};

// The review window (win32_platform.h), telling `hooks` when it opens and
// closes.
MsgAnswer ShowReviewWindow(HWND owner, const ReviewList& list, ReviewButtons buttons,
                           const ScriptHooks& hooks);

}  // namespace qta1
