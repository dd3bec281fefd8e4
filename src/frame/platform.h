// The platform port: everything the core asks of the user interface and the
// machine, in three parts: what the technician sees (Screen), time (Clock)
// and the technician's own storage (Storage). The headless implementation
// runs it on a virtual clock for tests and qta1-sim; the Win32 implementation
// renders it with a comctl32 property sheet. No windows.h type crosses this
// line.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resources/controls.h"

namespace qta1 {

// A page of the sheet. The frame never names one: the application's page
// table does (resources/page_ids.h).
enum class PageId : int;

// What a trend window shows and what the technician does in it (frame/trend.h).
class TrendView;

struct LocalTime {
    int year = 2000;  // four digits
    int month = 1;    // 1..12
    int day = 1;      // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 0;  // 0 = Sunday
};

// YesNoDefaultNo: Enter answers No, for questions whose Yes gives something up.
// YesNoCancel: Cancel (and a box closed without an answer) goes back to where
// the technician was.
enum class MsgButtons { Ok, YesNo, YesNoDefaultNo, YesNoCancel };
enum class MsgIcon { None, Exclamation, Question, Information, Stop };
enum class MsgAnswer { Ok, Yes, No, Cancel };

struct FileDialogRequest {
    std::string proposedName;
    std::string defaultExtension;
    // Pipe-separated pairs of description and pattern, ending with "|".
    std::string filter;
    // The folder the dialog opens in; empty: the proposed name's, or the
    // system's choice.
    std::string initialFolder = {};
};

// A list the technician reviews before deciding: the differences between a
// settings file and the node, or the changes a download is about to make.
struct ReviewList {
    std::string title;    // of the window
    std::string heading;  // above the list: what it shows, or the question
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;  // each as many texts as columns
};
// SaveClose: "Save report..." answers Yes, "Close" No. YesNo: the heading's
// question is answered.
enum class ReviewButtons { SaveClose, YesNo };

// What a page window tells its page, and what the window holds. The platform
// calls these on the user interface thread only.
class PageEvents {
public:
    // The controls of the page's window, as its layout declares them.
    virtual std::span<const ControlDecl> Controls() const = 0;
    virtual void OnInitDialog() = 0;
    virtual void OnShow(bool shown) = 0;
    virtual void OnTimer(int timerId) = 0;
    virtual void OnClick(int controlId) = 0;

protected:
    ~PageEvents() = default;
};

class SheetEvents {
public:
    virtual void OnSheetInitDialog() = 0;
    // The technician asks to close the sheet ("Exit", Enter where it would
    // press it, Esc, the close box). False keeps it open.
    virtual bool OnSheetClosing() = 0;

protected:
    ~SheetEvents() = default;
};

// What the technician sees and answers: the sheet and its pages' controls,
// message boxes, file dialogs, review lists and progress.
class Screen {
public:
    // Sheet. Pages are added in tab order; a page already added is not added
    // twice, and removing a page the sheet does not hold does nothing. A
    // page's window is created the first time it is shown and destroyed when
    // it is removed or the sheet closes; its timers end with it.
    virtual void AddPage(PageId page, PageEvents& events) = 0;
    virtual void RemovePage(PageId page) = 0;
    virtual void SetOkCaption(std::string_view caption) = 0;
    // Brings a page's tab to the front; its window tells the page
    // (PageEvents::OnShow) as when the technician picks it.
    virtual void ShowPage(PageId page) = 0;
    virtual void HideApplyAndCancel() = 0;
    // Shows the sheet with the pages added so far and returns when the user
    // closes it; every page window is destroyed by then.
    virtual void RunSheetModal(std::string_view caption, SheetEvents& events) = 0;

    // Controls of a page, by identifier. Calls on a page whose window does
    // not exist do nothing (reads give empty text and unchecked).
    virtual void SetText(PageId page, int control, std::string_view text) = 0;
    virtual std::string GetText(PageId page, int control) = 0;
    virtual void SetCheck(PageId page, int control, bool checked) = 0;
    virtual bool GetCheck(PageId page, int control) = 0;
    virtual void Enable(PageId page, int control, bool enabled) = 0;
    // Puts the keyboard focus on the control (the box a message is about).
    virtual void SetFocus(PageId page, int control) = 0;

    // Where a long operation of a page has got to: `step` of `total` of its
    // passes (named by `pass`, "Part"); a total of 0 ends the display. Shows
    // nothing where the page has no place for it.
    virtual void ShowProgress(PageId /*page*/, std::string_view /*pass*/, int /*step*/,
                              int /*total*/) {}

    // An empty title means the plug-in's default title.
    virtual MsgAnswer MessageBox(std::string_view text, std::string_view title, MsgButtons buttons,
                                 MsgIcon icon) = 0;
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;
    // A modal window with the list and its buttons; No when it is closed.
    virtual MsgAnswer ShowReviewList(const ReviewList& list, ReviewButtons buttons) = 0;

    // The trend window: owned by the sheet but modeless, so the technician
    // goes on working on any page while it draws `view`'s model. Opening it
    // while it is open brings it to the front. False when the platform has
    // no trend window to show (the sheet then takes no samples).
    virtual bool OpenTrend(TrendView& view) = 0;
    // The model changed (a sample, or the technician's choice): draw it again.
    virtual void UpdateTrend() = 0;
    // The sheet ends the trend: the window goes, if the technician has not
    // closed it already; the view is not used after this.
    virtual void CloseTrend() = 0;

protected:
    ~Screen() = default;
};

// Time: the pages' timers, the waits the node needs, the clock.
class Clock {
public:
    // Repeating timer of a page window; setting an existing identifier
    // restarts it with the new period.
    virtual void SetTimer(PageId page, int timerId, int periodMs) = 0;
    virtual void KillTimer(PageId page, int timerId) = 0;
    // Blocks the user interface thread.
    virtual void Sleep(int ms) = 0;
    virtual LocalTime Now() = 0;

protected:
    ~Clock() = default;
};

// The technician's own storage: files, choices kept between sessions, and
// the plug-in's folder.
class Storage {
public:
    // Whole files as raw bytes. ReplaceFile writes a temporary file beside the
    // target and moves it over the target in one step, so a failure never
    // leaves a half-written file behind.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    virtual bool ReplaceFile(const std::string& path, std::string_view bytes) = 0;
    // An existing file that could be opened for reading and writing: what
    // "Save to file" asks about before it overwrites.
    virtual bool FileWritable(const std::string& path) = 0;
    // Adds `bytes` at the end of the file (made when it does not exist yet),
    // safely on the disk when it returns true. A write that fails (a full
    // disk) leaves the file as it was wherever the disk allows, so that the
    // bytes already there are never lost.
    virtual bool AppendFile(const std::string& path, std::string_view bytes) = 0;

    // The technician's own choices, kept between sessions (per user).
    virtual std::optional<std::string> UserSetting(std::string_view name) = 0;
    virtual void SetUserSetting(std::string_view name, std::string_view value) = 0;

    // The technician's own folder for the plug-in's files (backups), without
    // a trailing separator. Folders are made with their parents; true when
    // the folder exists afterwards. FileNames lists the plain files of a
    // folder (names only), in no particular order.
    virtual std::string UserFolder() = 0;
    // The name the technician is logged on with, for the change log.
    virtual std::string UserName() = 0;
    virtual bool MakeFolder(const std::string& path) = 0;
    virtual std::vector<std::string> FileNames(const std::string& folder) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;

protected:
    ~Storage() = default;
};

// The whole port, as a platform offers it; the sheet hands each part to
// what uses it.
class Platform : public Screen, public Clock, public Storage {
public:
    virtual ~Platform() = default;
};

}  // namespace qta1
