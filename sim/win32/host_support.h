// What the host's pictures and its clean-up share, and what the checks built
// on the host use too: painting a window now, where it is on the screen, its
// picture, the text a message box shows; the names in a folder, and a folder
// removed with everything in it.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <initializer_list>
#include <string>
#include <vector>

namespace qta1::host {

// Paints the window and its children now.
void Paint(HWND window);

// The window's rectangle on the screen.
RECT ScreenRect(HWND window);

// A 24-bit BMP of `window` as painted (painted first), frame and children
// included.
bool SaveWindowPicture(HWND window, const std::wstring& file);
// The same of several windows over the screen area they cover together, each
// laid over the ones before it (a sheet, then the message box it owns).
bool SaveWindowsPicture(std::initializer_list<HWND> windows, const std::wstring& file);

// The text a message box shows: its static control that is not the icon.
std::string BoxText(HWND box);

// The names in a folder, "." and ".." left out; paths of any length.
std::vector<std::wstring> NamesIn(const std::wstring& folder);
// A folder and everything in it, read-only files too; paths of any length.
void RemoveTree(const std::wstring& folder);

}  // namespace qta1::host
