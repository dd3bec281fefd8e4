// Checks of the real sheet, run by qta1_sheet_checks.exe on the substitute
// host: the pages as the screen, assistive technology and the keyboard get
// them, the review window, every way of closing the sheet, COM lifetimes, and
// the layer's own parts on the real registry and file system. Each reports
// through tests/win32/harness.h, one line per check. Also the timings of the
// sheet for docs/performance.md.
#pragma once

#include <string>

#include "harness.h"
#include "host_scenario.h"

namespace qta1::host {

// Opens the sheet, switches to the technician set and, page by page, checks
// every control of the layout: its window is where the layout puts it (in
// dialog units of the page's font, so at any DPI), it comes from version 6 of
// the common controls (visual styles), its accessible name is its label (and
// an edit box's description its row or group), and the Tab key visits the
// controls in the layout's order. One check per page.
void CheckPages(RealSheetHost& host);

// COM lifetimes the sheet hands out: an edit box's accessible object is one
// object whatever interface it is asked through, and while a client holds it
// the module does not let itself be unloaded (the control has gone by then).
void CheckComLifetime(RealSheetHost& host, EmbeddedControl& control);

// Opens the sheet the ways a technician meets it (normally, after a failed
// first read, with no node) and switches sets; in every state, page by page,
// every control of the layout lies inside the visible page area and inside
// its group box. One check per state, and one for the Compare window.
void CheckFit(RealSheetHost& host);

// The review window on the screen: the heading, the list and the buttons
// inside the window and apart, with their texts whole (every column as wide
// as its widest text), as it opened, made as small as it goes and made
// larger. Each fault is a reason of `expect`, starting with `where`.
void CheckReviewWindow(HWND window, const std::string& where, checks::Case& expect);

// The review window of the platform layer (the host's own build of it), owned
// by the opened sheet, for lists of every shape (a few rows, hundreds, long
// texts, none): it shows exactly the list, disables the sheet while it is up,
// fits at every size, has visual styles and accessible names, answers its
// buttons, Enter (No and Close are the default), Esc and the close box as
// they say, and copies rows with Ctrl+C. One check per case.
void CheckReviewWindows(RealSheetHost& host);

// The trend window opened from each page that offers it: a window of its own
// class owned by the sheet that samples; the sheet writing PID while it
// samples; every control inside it and whole as it opens, made as small as
// it goes and made larger; Tab, Alt+P and Esc through the sheet's modal
// loop; "Save data..." writing the CSV of the samples shown and "Save
// picture..." a PNG of its client area. One check per case.
void CheckTrendWindows(RealSheetHost& host);

// Closing the opened real sheet by "Exit", Enter, Esc, the close box, Alt+F4
// and WM_CLOSE, with nothing typed (it closes at once) and with a typed value
// not written (it asks, with the warning icon and No as the default: Enter
// on the question keeps the sheet, the page and the value, and nothing
// reaches the node or the pages); and the warning icon on the boxes of a
// refused value and a refused Write. One check per case.
void CheckClosing(RealSheetHost& host);

// "Backups..." shows the real file dialog in the node's folder of backups
// (before the first backup, the nearest folder above it that exists), not in
// the folder of the proposed file name. One check per state.
void CheckBackupsDialog(RealSheetHost& host);

// The Win32 layer's own parts that need no sheet: Windows-1252 texts both
// ways, the file dialogs' filter, and files (replacing, read-only files,
// missing folders, no temporary file left behind, non-ASCII paths), in a
// scratch folder under `folder`.
void CheckPlatformParts(const std::wstring& folder);

// The file store's saves under disk faults: a save that fails at every step,
// a locked target, the longest names and paths, and a save killed half-way,
// in a scratch folder under `folder`. Starts this program again with
// --hang-while-saving for the killed save.
void CheckFileStore(const std::wstring& folder);

// The other half of the killed save: starts saving `file` and never ends.
int HangWhileSaving(const std::wstring& file);

// The technician's choices written and read back under
// HKCU\Software\QTA1\Plugin, byte for byte, with nothing else in the registry
// changed and everything put back afterwards; folders made with their
// parents, the plain files of a folder listed and removed, also deeper than
// MAX_PATH, in a scratch folder under `folder`.
void CheckTechniciansPlace(const std::wstring& folder);

// Opens the sheet `count` times; for each opening, the time from the
// properties verb to the sheet initialised and shown, and to the sheet
// painted. Waits the node protocol requires are not slept in a scripted run;
// the virtual clock counts them and the report shows them beside the times.
void MeasureOpening(RealSheetHost& host, int count, std::string& report);

// Downloads a settings file (saved first from the simulated node) with every
// node wait really waited, answering the file dialog and the boxes as a
// technician would, while another thread asks for a repaint every 10 ms; the
// report gives the download's length and the longest time without a paint.
bool MeasureDownload(RealSheetHost& host, std::string& report);

// The settings editor (QTA1Edit.exe beside this program, with the module
// beside it) in a process of its own, driven by window messages: a file of
// the factory settings edited on PID (P of "Heat (Mv1)" 3.3) and saved on
// Exit holds exactly that value, in exactly one changed data line, and the
// editor ends with 0; a file with a bad line, an empty file and a missing
// file are refused in a box with the core's reason, the editor ends with 1
// and the file stays as it was. One check per case.
int CheckEditor(const std::wstring& unused);
// The same edit, saving the sheet on PID after the Write as editor.bmp and
// the question on closing over it as editor-close.bmp in `folder`.
int EditorPictures(const std::wstring& folder);

}  // namespace qta1::host
