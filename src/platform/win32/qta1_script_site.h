// IQta1ScriptSite: how a test host runs scripts against the real sheet. A
// host that wants to watch or drive the sheet offers this interface on the
// control's client site; the properties verb asks the site for it and, when
// it is there, tells it what the sheet does and lets it answer for the
// technician and the clock. A real host offers no such interface, and the
// sheet then runs for the user with the PC's clock and real waits.
//
// Everything crosses as COM types (HWND, INT, wide strings, SYSTEMTIME, BSTR)
// on the sheet's thread; no C++ object passes between the module and the
// host. Texts of the plug-in arrive as UTF-16 (Windows-1252 on the plug-in's
// side, so every byte converts back); file paths as UTF-16.
#pragma once

#include <ole2.h>
#include <windows.h>

namespace qta1::win32 {

// {0227A2C6-7E1D-4782-8BC1-25AE226E68A5}. A new identifier whenever methods
// are added: a host built for the shorter interface then does not offer it,
// and is never called through slots its object does not have.
inline constexpr GUID kIidQta1ScriptSite = {
    0x0227A2C6, 0x7E1D, 0x4782, {0x8B, 0xC1, 0x25, 0xAE, 0x22, 0x6E, 0x68, 0xA5}};

// The review window's own controls, as a host finds them: the heading above
// the list, the list (a report-style list view: one column per column head,
// one item per row), and its buttons. "Save report..." and "Yes" are IDYES,
// "No" is IDNO and "Close" IDCANCEL.
inline constexpr int kReviewHeadingId = 101;
inline constexpr int kReviewListId = 102;

// Pages are their numbers (2..27), buttons and icons the core's MsgButtons,
// MsgIcon and MsgAnswer values.
class IQta1ScriptSite : public IUnknown {
public:
    // The sheet with this caption is about to open.
    virtual HRESULT STDMETHODCALLTYPE SheetOpening(LPCWSTR caption) = 0;
    // The sheet is initialised and its modal loop runs. S_OK: the host acted
    // as the technician and is done, so the sheet closes (without a question,
    // when the host has not closed it itself); S_FALSE: the user works the
    // sheet.
    virtual HRESULT STDMETHODCALLTYPE SheetReady(HWND sheet) = 0;
    // The sheet has closed, or is going away: told once per opening, as soon
    // as the technician's close is let through (the sheet may ask first), so
    // that the step that closed it knows; at the latest when it is destroyed.
    virtual HRESULT STDMETHODCALLTYPE SheetClosed() = 0;
    // A page's window was made, or is being destroyed.
    virtual HRESULT STDMETHODCALLTYPE PageOpened(INT page, HWND window) = 0;
    virtual HRESULT STDMETHODCALLTYPE PageClosed(INT page) = 0;
    // The plug-in is about to handle a window event (a click, a tab change,
    // a timer, a page being made).
    virtual HRESULT STDMETHODCALLTYPE BeforePlugIn() = 0;
    // A push button's caption changes ("Wait" while the node is busy).
    virtual HRESULT STDMETHODCALLTYPE ButtonCaption(INT page, INT control, LPCWSTR text) = 0;
    // A wait the node needs. S_OK: it has passed on the host's clock;
    // S_FALSE: the sheet waits in real time.
    virtual HRESULT STDMETHODCALLTYPE Wait(INT ms) = 0;
    // S_OK with the host's local time, S_FALSE for the PC's clock.
    virtual HRESULT STDMETHODCALLTYPE LocalTime(SYSTEMTIME* now) = 0;
    // A page's repeating timer. S_OK: the host runs it and sends the page
    // WM_TIMER itself; S_FALSE: a window timer runs it.
    virtual HRESULT STDMETHODCALLTYPE SetPageTimer(INT page, INT id, INT periodMs) = 0;
    virtual HRESULT STDMETHODCALLTYPE KillPageTimer(INT page, INT id) = 0;
    // A page's timer fired and the page is about to hear it.
    virtual HRESULT STDMETHODCALLTYPE TimerFired(INT page, INT id) = 0;
    // A message box with these buttons is about to be shown (the host may
    // arrange to press one), and it has closed: `answer` comes in as what was
    // pressed and may be changed, for a box that could not be shown.
    virtual HRESULT STDMETHODCALLTYPE MessageBoxOpening(INT buttons) = 0;
    virtual HRESULT STDMETHODCALLTYPE MessageBoxClosed(LPCWSTR text, LPCWSTR title, INT buttons,
                                                       INT icon, INT* answer) = 0;
    // A file dialog; the proposed name, extension and filter are the
    // plug-in's texts. S_OK: the host answered it without a window, `path`
    // is the file (null: cancelled, else freed by the caller with
    // SysFreeString); S_FALSE: the dialog is shown.
    virtual HRESULT STDMETHODCALLTYPE AnswerFileDialog(BOOL save, LPCWSTR proposedName,
                                                       LPCWSTR extension, LPCWSTR filter,
                                                       BSTR* path) = 0;
    // A shown file dialog closed with `path` (null: cancelled).
    virtual HRESULT STDMETHODCALLTYPE FileDialogClosed(BOOL save, LPCWSTR proposedName,
                                                       LPCWSTR extension, LPCWSTR filter,
                                                       LPCWSTR path) = 0;

    // --- Added with the review window and the technician's own things. ----
    // The sheet calls the two file-dialog methods below instead of the two
    // above, which keep their places.

    // As AnswerFileDialog and FileDialogClosed, with the folder the dialog
    // opens in (empty: the proposed name's, or the system's choice).
    virtual HRESULT STDMETHODCALLTYPE AnswerFileDialogIn(BOOL save, LPCWSTR proposedName,
                                                         LPCWSTR extension, LPCWSTR filter,
                                                         LPCWSTR folder, BSTR* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE FileDialogClosedIn(BOOL save, LPCWSTR proposedName,
                                                         LPCWSTR extension, LPCWSTR filter,
                                                         LPCWSTR folder, LPCWSTR path) = 0;
    // A review window with these buttons (the core's ReviewButtons) is made
    // and filled, and is about to be shown: the host may read it and arrange
    // to press one of its buttons. Then it has closed: `answer` comes in as
    // the core's MsgAnswer (-1 when the window could not be shown) and may
    // be changed.
    virtual HRESULT STDMETHODCALLTYPE ReviewOpened(HWND window, INT buttons) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReviewClosed(INT buttons, INT* answer) = 0;
    // The technician's choices. S_OK: the host keeps them (`value` comes back
    // null for a choice never made, else freed by the caller with
    // SysFreeString); S_FALSE: the sheet keeps them in the registry.
    virtual HRESULT STDMETHODCALLTYPE UserSetting(LPCWSTR name, BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetUserSetting(LPCWSTR name, LPCWSTR value) = 0;
    // The technician's own folder for the plug-in's files. S_OK: the host's
    // (freed by the caller); S_FALSE: the system's.
    virtual HRESULT STDMETHODCALLTYPE UserFolder(BSTR* folder) = 0;

protected:
    ~IQta1ScriptSite() = default;
};

}  // namespace qta1::win32
