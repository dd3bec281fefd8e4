// What the substitute host does with the real sheet besides running
// scenarios: check the pages as the screen, assistive technology and the
// keyboard get them, take screenshots of every page, and time the opening of
// the sheet.
#pragma once

#include <functional>
#include <string>

#include "host_scenario.h"

namespace qta1::host {

// Opens the sheet, switches to the technician set and, page by page, checks
// every control of the layout: its window is where the layout puts it (in
// dialog units of the page's font, so at any DPI), it comes from version 6 of
// the common controls (visual styles), its accessible name is its label (and
// an edit box's description its row or group), and the Tab key visits the
// controls in the layout's order. One line per mismatch in `report`; the
// result is the number of mismatches.
int CheckPages(RealSheetHost& host, std::string& report);

// COM lifetimes the sheet hands out: an edit box's accessible object is one
// object whatever interface it is asked through, and while a client holds it
// the module does not let itself be unloaded (the control has gone by then).
int CheckComLifetime(RealSheetHost& host, EmbeddedControl& control, std::string& report);

// Opens the sheet the ways a technician meets it (normally, after a failed
// first read, with no node) and switches sets; in every state, page by page,
// every control of the layout lies inside the visible page area and inside
// its group box. One line per fault in `report`; the result is their number.
int CheckFit(RealSheetHost& host, std::string& report);

// The review window on the screen: the heading, the list and the buttons
// inside the window and apart, with their texts whole (every column as wide
// as its widest text), as it opened, made as small as it goes and made
// larger. One line per fault in `report`, each starting with `where`; the
// result is their number.
int CheckReviewWindow(HWND window, const std::string& where, std::string& report);

// Inside a scripted opening: saves the node to the file Import / Export
// proposes, changes the node in three boxes on three pages (PID,
// Temperatures, Freecool) and compares the file with the node, as a
// technician would; `onWindow` hears the review window
// before the script closes it. False when no review window came up.
bool CompareWithChangedNode(RealSheetHost& host, SheetScript& sheet,
                            const std::function<void(HWND)>& onWindow);

// The review window of the platform layer (the host's own build of it), owned
// by the opened sheet, for lists of every shape (a few rows, hundreds, long
// texts, none): it shows exactly the list, disables the sheet while it is up,
// fits at every size, has visual styles and accessible names, answers its
// buttons, Enter (No and Close are the default), Esc and the close box as
// they say, and copies rows with Ctrl+C. One line per case in `report`; the
// result is the number of faults.
int CheckReviewWindows(RealSheetHost& host, std::string& report);

// Closing the opened real sheet by "Exit", Enter, Esc, the close box, Alt+F4
// and WM_CLOSE, with nothing typed (it closes at once) and with a typed value
// not written (it asks, with the warning icon and No as the default: Enter
// on the question keeps the sheet, the page and the value, and nothing
// reaches the node or the pages); and the warning icon on the boxes of a
// refused value and a refused Write. One line per case in `report`; the
// result is the number of faults.
int CheckClosing(RealSheetHost& host, std::string& report);

// "Backups..." shows the real file dialog in the node's folder of backups
// (before the first backup, the nearest folder above it that exists), not in
// the folder of the proposed file name. One line per state in `report`; the
// result is the number of faults.
int CheckBackupsDialog(RealSheetHost& host, std::string& report);

// The Win32 layer's own parts that need no sheet: Windows-1252 texts both
// ways, the file dialogs' filter, and files (replacing, read-only files,
// missing folders, no temporary file left behind, non-ASCII paths), in a
// scratch folder under `folder`. One line per failure; the result is their number.
int CheckPlatformParts(const std::wstring& folder, std::string& report);

// Saves docs-ready screenshots (BMP) into `folder`: the sheet with the user
// set, the sheet with the technician set, every page, Import / Export while
// saving, the Compare window, the closing question over the sheet, and the
// review window with a long result of "Default settings". The result is the
// number of pictures that could not be taken; `report` lists the files.
int TakeScreenshots(RealSheetHost& host, const std::wstring& folder, std::string& report);

// Opens the sheet once and saves one picture of it with the user set.
bool TakeSnapshot(RealSheetHost& host, const std::wstring& file);

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

}  // namespace qta1::host
