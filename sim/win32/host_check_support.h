// What the host's checks share: where a window is, whether it comes from
// version 6 of the common controls, what assistive technology hears of it,
// and its picture; how a check tells its failures, and a timing's text; the
// names in a folder, and a folder removed with everything in it.
#pragma once

// clang-format off
#include <windows.h>
#include <oleacc.h>
// clang-format on

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace qta1::host {

// Paints the window and its children now.
void Paint(HWND window);
// The accessible name (or description) of the object itself.
std::wstring AccessibleText(IAccessible* object, bool description);
// The accessible name of a window's client object, as assistive technology
// asks for it; empty when it has none.
std::wstring AccessibleNameOf(HWND window);
bool FromCommonControls6(HWND control);

bool Inside(const RECT& inner, const RECT& outer);
// The window's rectangle on the screen.
RECT ScreenRect(HWND window);
std::string RectText(const RECT& rect);

// A 24-bit BMP of `window` as painted (painted first), frame and children
// included.
bool SaveWindowPicture(HWND window, const std::wstring& file);
// The same of several windows over the screen area they cover together, each
// laid over the ones before it (a sheet, then the message box it owns).
bool SaveWindowsPicture(std::initializer_list<HWND> windows, const std::wstring& file);

// The text a message box shows: its static control that is not the icon.
std::string BoxText(HWND box);

// Checks that tell their failures only: each one that fails adds a line to
// `report`, `prefix` and what was expected, and is counted.
class Expectations {
public:
    Expectations(std::string& report, std::string prefix)
        : report_(report), prefix_(std::move(prefix)) {}
    void operator()(bool ok, const std::string& what) {
        if (ok) return;
        report_ += prefix_ + what + "\n";
        ++failures_;
    }
    int Failures() const { return failures_; }

private:
    std::string& report_;
    const std::string prefix_;
    int failures_ = 0;
};

// Milliseconds with one decimal, as the timings are reported.
std::string Fixed(double value);

// The names in a folder, "." and ".." left out; paths of any length.
std::vector<std::wstring> NamesIn(const std::wstring& folder);
// A folder and everything in it, read-only files too; paths of any length.
void RemoveTree(const std::wstring& folder);

}  // namespace qta1::host
