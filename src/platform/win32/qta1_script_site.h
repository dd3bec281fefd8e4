// IQta1ScriptSite: how a test host runs scripts against the real sheet. A
// host that wants to watch or drive the sheet offers this interface on the
// control's client site; the properties verb asks the site for it and, when
// it is there, tells it what the technician sees happen, puts the
// technician's questions to it, and lets it answer for the clock. A real host
// offers no such interface, and the sheet then runs for the user with the
// PC's clock and real waits. (Where the technician's own choices and files
// are kept is another interface, qta1_storage_site.h.)
//
// Everything crosses as COM types (HWND, INT, wide strings, SYSTEMTIME, BSTR)
// on the sheet's thread; no C++ object passes between the module and the
// host. Texts of the plug-in arrive as UTF-16 (Windows-1252 on the plug-in's
// side, so every byte converts back); file paths as UTF-16.
//
// In the plug-in only ScriptHooks (script_hooks.h) calls this interface.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

namespace qta1::win32 {

// {6A0C3D57-9B1E-4F2A-A8C4-5E27D1B04C93}. A new identifier whenever the
// methods change: a host built for another set of methods then does not
// offer it, and is never called through slots its object does not have.
inline constexpr GUID kIidQta1ScriptSite = {
    0x6A0C3D57, 0x9B1E, 0x4F2A, {0xA8, 0xC4, 0x5E, 0x27, 0xD1, 0xB0, 0x4C, 0x93}};

// The review window's own controls, as a host finds them: the heading above
// the list, the list (a report-style list view: one column per column head,
// one item per row), and its buttons. "Save report..." and "Yes" are IDYES,
// "No" is IDNO and "Close" IDCANCEL.
inline constexpr int kReviewHeadingId = 101;
inline constexpr int kReviewListId = 102;

// The trend window, as a host finds it: a top-level window of this class,
// owned by the sheet, with the time window's combo box (one item per choice,
// "2 min" first), Pause / Resume, "Save data...", "Save picture..." and one
// check box per series, the series' index added to kTrendSeriesFirstId.
inline constexpr wchar_t kTrendWindowClass[] = L"QTA1TrendWindow";
inline constexpr int kTrendWindowComboId = 201;
inline constexpr int kTrendPauseId = 202;
inline constexpr int kTrendSaveDataId = 203;
inline constexpr int kTrendSavePictureId = 204;
inline constexpr int kTrendSeriesFirstId = 220;
// Series the window plots (the trend's own table; checked where it is built).
inline constexpr int kQta1TrendSeries = 9;

// What the trend window tells of itself.
enum Qta1TrendEvent : INT {
    kQta1TrendOpened = 1,   // made and shown
    kQta1TrendToFront = 2,  // "Trend..." again, while it is open
    kQta1TrendDrawn = 3,    // drawn again after a sample or a choice
    kQta1TrendClosed = 4,   // going away
};

// One sample as the window plots it: when it was taken (on the trend's time
// line, in seconds, and on the PC's clock) and each series' word as the node
// sent it, -1 where the read failed.
struct Qta1TrendSample {
    LONGLONG seconds;
    SYSTEMTIME time;
    INT words[kQta1TrendSeries];
};

// Every sample the window keeps, oldest first, and where its time window ends
// (the newest sample, or where it was paused).
struct Qta1TrendSamples {
    INT count;
    const Qta1TrendSample* samples;
    LONGLONG windowEnd;
};

// What the technician is asked.
enum Qta1QuestionKind : INT {
    kQta1MessageBox = 1,
    kQta1ReviewWindow = 2,
    kQta1OpenFileDialog = 3,
    kQta1SaveFileDialog = 4,
};

// One question, as the sheet puts it. What does not belong to its kind is
// null or 0.
struct Qta1Question {
    INT kind;
    // A message box's buttons (the core's MsgButtons) or a review window's
    // (ReviewButtons).
    INT buttons;
    // A message box: its icon (MsgIcon), its text, and its title as the
    // plug-in gave it (empty: the default title).
    INT icon;
    LPCWSTR text;
    LPCWSTR title;
    // A review window, made and filled, while it is up.
    HWND window;
    // A file dialog: the proposed name, the extension and the filter (the
    // plug-in's texts), and the folder it opens in (empty: the proposed
    // name's, or the system's choice).
    LPCWSTR proposedName;
    LPCWSTR extension;
    LPCWSTR filter;
    LPCWSTR folder;
};

// Pages are their numbers (2..27).
class IQta1ScriptSite : public IUnknown {
public:
    // --- What the technician sees happen ------------------------------------

    // The sheet with this caption is about to open: the host's trace says so.
    virtual HRESULT STDMETHODCALLTYPE SheetOpening(LPCWSTR caption) = 0;
    // The sheet is initialised and its modal loop runs: the host acts as the
    // technician now, if it means to. S_OK: it did and is done, so the sheet
    // closes (without a question, when the host has not closed it itself);
    // S_FALSE: the user works the sheet.
    virtual HRESULT STDMETHODCALLTYPE SheetReady(HWND sheet) = 0;
    // The sheet has closed, or is going away: told once per opening, as soon
    // as the technician's close is let through (the sheet may ask first), so
    // that the step that closed it knows; at the latest when it is destroyed.
    virtual HRESULT STDMETHODCALLTYPE SheetClosed() = 0;
    // A page's window was made (the host finds its controls there), or is
    // being destroyed (null: its timers stop).
    virtual HRESULT STDMETHODCALLTYPE PageWindow(INT page, HWND window) = 0;
    // The plug-in takes the thread for a window event (a click, a tab
    // change, a timer, a page being made): the host's clock catches up.
    virtual HRESULT STDMETHODCALLTYPE BeforePlugIn() = 0;
    // A push button's caption changes ("Wait" while the node is busy): the
    // host's trace shows it.
    virtual HRESULT STDMETHODCALLTYPE ButtonCaption(INT page, INT control, LPCWSTR text) = 0;
    // The trend window opened, came to the front, was drawn again (its
    // controls already show the model's choices) or is going away; `samples`
    // is what it plots (null when it goes).
    virtual HRESULT STDMETHODCALLTYPE TrendWindow(INT event, HWND window,
                                                  const Qta1TrendSamples* samples) = 0;

    // --- The questions the technician answers -------------------------------

    // A question is put: a message box or a file dialog about to be shown, a
    // review window made, filled and about to be shown. The host may arrange
    // to press one of the box's or the window's buttons. A file dialog the
    // host answers itself, without a window: S_OK, with `path` the file
    // (null: cancelled; else freed by the caller with SysFreeString), and
    // nothing more is told; S_FALSE: the dialog is shown. `path` may be null
    // for the other kinds.
    virtual HRESULT STDMETHODCALLTYPE QuestionAsked(const Qta1Question* question, BSTR* path) = 0;
    // The question shown has been answered; a review window that could not
    // be made is told only this. For a box or a window `answer` comes in as
    // the core's MsgAnswer that was pressed (-1: it could not be shown) and
    // may be changed; for a file dialog `path` is the file chosen (null:
    // cancelled) and `answer` may be null.
    virtual HRESULT STDMETHODCALLTYPE QuestionAnswered(const Qta1Question* question, INT* answer,
                                                       LPCWSTR path) = 0;

    // --- Time --------------------------------------------------------------------

    // A wait the node needs. S_OK: it has passed on the host's clock;
    // S_FALSE: the sheet waits in real time.
    virtual HRESULT STDMETHODCALLTYPE Wait(INT ms) = 0;
    // S_OK with the host's local time, S_FALSE for the PC's clock.
    virtual HRESULT STDMETHODCALLTYPE LocalTime(SYSTEMTIME* now) = 0;
    // A page's repeating timer. S_OK: the host runs it and sends the page
    // WM_TIMER itself; S_FALSE: a window timer runs it.
    virtual HRESULT STDMETHODCALLTYPE SetPageTimer(INT page, INT id, INT periodMs) = 0;
    virtual HRESULT STDMETHODCALLTYPE KillPageTimer(INT page, INT id) = 0;
    // A page's timer fired and the page is about to hear it: the host's
    // trace shows it.
    virtual HRESULT STDMETHODCALLTYPE TimerFired(INT page, INT id) = 0;

protected:
    ~IQta1ScriptSite() = default;
};

}  // namespace qta1::win32
