// The platform port on Windows: a comctl32 property sheet whose pages are
// dialog templates built in memory from the page layouts, real message boxes
// and file dialogs, window timers, the PC clock and the file system.
//
// A host that offers a script site on the control's client site (the
// substitute host's scripted runs) hears what the sheet does and may answer
// for the clock and the technician: its waits, timers, message boxes, file
// dialogs and review windows; a storage site may keep the technician's
// choices and folder (script_hooks.h). Without them the sheet runs for the
// user.
//
// Texts cross this layer as Windows-1252 bytes (node names are single bytes,
// and a fixed code page keeps them the same on every PC); file paths cross it
// as UTF-8, so that any file name on the PC reaches the core and comes back
// unchanged.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/platform.h"
#include "resources/layout.h"

namespace qta1 {

class ScriptHooks;

// `resources` is the module that holds the plug-in's resources (unused by the
// templates, which are built from the layouts); `owner` is the host window the
// modal sheet and its message boxes belong to, or null; `site` is the
// control's client site, or null: the platform keeps a reference to the
// script and storage sites it offers while it lives.
std::unique_ptr<Platform> CreateWin32Platform(HINSTANCE resources, HWND owner, IUnknown* site);

// --- Shared by the platform's parts and its tests -----------------------------

// The sheet's Apply button; comctl32 gives it this identifier.
inline constexpr int kApplyButtonId = 0x3021;

// A control the technician clicks: check boxes, radio buttons, push buttons.
constexpr bool IsButtonKind(ControlKind kind) {
    return kind == ControlKind::CheckBox || kind == ControlKind::RadioButton ||
           kind == ControlKind::PushButton;
}

// Windows-1252 bytes <-> UTF-16, byte for byte in both directions.
std::wstring WidenText(std::string_view bytes);
std::string NarrowText(std::wstring_view text);
// UTF-8 paths <-> UTF-16; invalid UTF-8 becomes U+FFFD.
std::wstring WidenPath(std::string_view utf8);
std::string NarrowPath(std::wstring_view path);

// A window's text (a caption, a box's contents), however long.
std::wstring WindowText(HWND window);
// The caption of a tab control's tab `index`; none when it cannot be read.
std::optional<std::wstring> TabText(HWND tabs, int index);
// The top-level dialog window (class "#32770": a property sheet, a message
// box, a file dialog) a WH_CBT hook hears being created; null for anything
// else the hook hears.
HWND CreatedDialog(int code, WPARAM wParam, LPARAM lParam);

// "Description|*.txt|All files (*.*)|*.*|" -> the NUL-separated, double-NUL
// terminated list the common file dialogs take.
std::wstring FileDialogFilter(std::string_view pipeSeparated);

// Whole files by UTF-8 path. ReplaceWholeFile writes a temporary file in the
// target's folder and moves it over the target in one step (written through
// to the disk), deleting the temporary file when anything fails.
std::optional<std::string> ReadWholeFile(const std::string& utf8Path);
bool ReplaceWholeFile(const std::string& utf8Path, std::string_view bytes);
// An existing file that opens for reading and writing (and is left as it was).
bool AppendToFile(const std::string& utf8Path, std::string_view bytes);
bool IsWritableFile(const std::string& utf8Path);

// The review list in a modal, resizable window owned by `owner` (disabled
// while it is up): the heading, the list with one column per column head,
// and the buttons. Yes when "Save report..." or "Yes" is pressed, No
// otherwise. A script site that `site` (or null) offers hears the window open
// and close and may press its buttons.
MsgAnswer ShowReviewWindow(HWND owner, const ReviewList& list, ReviewButtons buttons,
                           IUnknown* site);
// The sheet's trend window (platform_trend.cpp): modeless and owned by the
// sheet, resizable, with the chart drawn from the view's model, the legend's
// check boxes with each series' latest value, the time window, Pause /
// Resume, "Save data..." and "Save picture...". Destroying the object
// destroys the window.
class TrendWindow {
public:
    virtual ~TrendWindow() = default;
    // Null once the window has gone (with its owner, say).
    virtual HWND Window() const = 0;
    // "Trend..." again while it is open.
    virtual void ToFront() = 0;
    // The model changed: the controls follow it and the chart is drawn again.
    virtual void Update() = 0;
    // The sheet ends the trend: the window goes and the view is not used
    // again (the object itself may still be on the stack of its procedure).
    virtual void Close() = 0;
};
// What the window needs of the sheet: the plug-in's guard around every call
// into the core (it runs nothing while the node is waited for), and the save
// dialog and message boxes as the sheet shows them.
class TrendWindowSheet {
public:
    virtual void CallPlugIn(const std::function<void()>& call) = 0;
    virtual Screen& SheetScreen() = 0;

protected:
    ~TrendWindowSheet() = default;
};
// Null when the window could not be made.
std::unique_ptr<TrendWindow> OpenTrendWindow(HWND sheet, TrendView& view, TrendWindowSheet& owner,
                                             const ScriptHooks& hooks);

// The technician's choices under HKEY_CURRENT_USER\Software\QTA1\Plugin.
std::optional<std::string> ReadUserSetting(std::string_view name);
void WriteUserSetting(std::string_view name, std::string_view value);
// %LOCALAPPDATA%\QTA1, folders with their parents, the plain files of a
// folder, one file deleted; paths as UTF-8.
std::string UserDataFolder();
// The name the technician is logged on with (GetUserNameW), as plug-in text.
std::string LoggedOnUser();
bool MakeFolders(const std::string& utf8Path);
std::vector<std::string> FilesInFolder(const std::string& utf8Folder);
bool DeleteOneFile(const std::string& utf8Path);

// The in-memory dialog template (DLGTEMPLATEEX) of a page: "MS Shell Dlg" 8
// with DS_SHELLFONT, one item per declared control in declaration order
// (which is the tab order). The vector's storage is DWORD aligned.
std::vector<DWORD> PageTemplate(PageId page);
// A template of the same kind without items: `style`, the size in dialog
// units and the title, and the window class when it is not the dialog
// class (one registered with DefDlgProcW and DLGWINDOWEXTRA). The window
// makes and places its controls itself.
std::vector<DWORD> FrameTemplate(DWORD style, int16_t width, int16_t height,
                                 std::wstring_view title, std::wstring_view windowClass = {});

// Gives an edit box the accessible name of its label (and its row or group
// as the accessible description): assistive technology asks the window for
// its accessible object and gets the system's, with the name filled in.
void NameForAccessibility(HWND control, const ControlDecl& decl) noexcept;
// The same with a name and a description of the caller's (empty: the
// system's description).
void NameForAccessibility(HWND control, std::string_view name,
                          std::string_view description) noexcept;

// Keeps an edit box's line in the middle of the box, whatever its height.
void CenterLineVertically(HWND edit);

}  // namespace qta1
