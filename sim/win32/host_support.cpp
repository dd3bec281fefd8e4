// clang-format off
#include <windows.h>
// clang-format on

#include "host_support.h"

#include <iterator>

#include "platform/win32/file_store.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace qta1::host {

void Paint(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A 24-bit BMP of `windows` as painted (each painted first), frames and
// children included, over the screen area they cover together: each window is
// read from its own device context (not from the screen, which may not have
// caught up with the last paint yet) and laid over the ones before it, so a
// message box comes out over the sheet that owns it. What none of them covers
// shows the desktop's colour.
bool SaveWindowsPicture(std::initializer_list<HWND> windows, const std::wstring& file) {
    RECT area{};
    for (HWND window : windows) {
        if (window == nullptr || !IsWindow(window)) return false;
        Paint(window);
        const RECT rect = ScreenRect(window);
        UnionRect(&area, &area, &rect);
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    const win32::WindowDc screen(nullptr);
    const win32::MemoryDc memory(CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const win32::GdiObject bitmap(
        CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return false;
    {
        const win32::Selection picture(memory.Get(), bitmap.Get());
        const RECT all = {0, 0, width, height};
        FillRect(memory.Get(), &all, GetSysColorBrush(COLOR_DESKTOP));
        for (HWND window : windows) {
            const RECT rect = ScreenRect(window);
            const win32::WindowDc source(window, true);
            if (!BitBlt(memory.Get(), rect.left - area.left, rect.top - area.top,
                        rect.right - rect.left, rect.bottom - rect.top, source.Get(), 0, 0,
                        SRCCOPY)) {
                return false;
            }
        }
        GdiFlush();
    }
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageBytes = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + imageBytes;
    info.bmiHeader.biSizeImage = imageBytes;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<const char*>(bits), imageBytes);
    return ReplaceWholeFile(NarrowPath(file), bytes);
}

bool SaveWindowPicture(HWND window, const std::wstring& file) {
    return SaveWindowsPicture({window}, file);
}

std::string BoxText(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, static_cast<int>(std::size(name)));
        if (lstrcmpiW(name, L"Static") == 0 &&
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON &&
            !WindowText(child).empty()) {
            return NarrowText(WindowText(child));
        }
    }
    return {};
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const win32::FindHandle search(
        FindFirstFileW((UnlimitedPath(folder) + L"\\*").c_str(), &found));
    if (!search) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search.Get(), &found));
    return names;
}

void RemoveTree(const std::wstring& folder) {
    const std::wstring root = UnlimitedPath(folder);
    for (const std::wstring& name : NamesIn(root)) {
        const std::wstring path = root + L"\\" + name;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            RemoveTree(path);
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(root.c_str());
}

}  // namespace qta1::host
