// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <vector>

#include "check_support.h"
#include "frame/sheet.h"
#include "host_sheet_flows.h"
#include "node/nv_catalogue.h"
#include "platform/trace_lines.h"
#include "resources/strings.h"
#include "sheet_checks.h"

namespace qta1::host {

namespace {

using trace_line::ControlName;

std::string Narrow(const std::wstring& text) { return NarrowText(text); }

bool Editable(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::ReadOnlyEdit ||
           kind == ControlKind::PasswordEdit;
}

void CheckPage(SheetScript& sheet, PageId page, checks::Case& expect) {
    HWND window = sheet.PageWindow(page);
    if (window == nullptr) {
        expect.Fail("no window");
        return;
    }
    std::vector<HWND> expectedOrder;
    for (const ControlDecl& decl : LayoutOf(page).controls) {
        if (decl.id == IDC_STATIC) continue;
        HWND control = GetDlgItem(window, decl.id);
        if (control == nullptr) {
            expect.Fail(ControlName(decl) + " has no window");
            continue;
        }
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        if ((style & WS_TABSTOP) && IsWindowEnabled(control) && (style & WS_VISIBLE)) {
            expectedOrder.push_back(control);
        }
        // Where the layout puts it, in dialog units of the page's font (the
        // dialog manager converts the position and the size each on its own).
        RECT expected = {decl.x, decl.y, decl.w, decl.h};
        MapDialogRect(window, &expected);
        expected.right += expected.left;
        expected.bottom += expected.top;
        RECT actual{};
        GetWindowRect(control, &actual);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&actual), 2);
        if (!EqualRect(&expected, &actual)) {
            char rects[160];
            std::snprintf(rects, sizeof rects, " (%ld %ld %ld %ld, not %ld %ld %ld %ld)",
                          actual.left, actual.top, actual.right, actual.bottom, expected.left,
                          expected.top, expected.right, expected.bottom);
            expect.Fail(ControlName(decl) + " is not where the layout puts it" + rects);
        }
        // Buttons and boxes from version 6 of the common controls (visual styles).
        if (!FromCommonControls6(control)) {
            expect.Fail(ControlName(decl) + " is not a common controls 6 window");
        }
        IAccessible* object = nullptr;
        const HRESULT found =
            AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&object));
        if (FAILED(found) || object == nullptr) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(found));
            expect.Fail(ControlName(decl) + ": no accessible object (" + code + ")");
            continue;
        }
        const std::string name = Narrow(AccessibleText(object, false));
        if (name != decl.label) {
            expect.Fail(ControlName(decl) + ": accessible name " + QuoteText(name));
        }
        const std::string context = decl.row[0] != '\0' ? decl.row : decl.group;
        if (Editable(decl.kind) && !context.empty()) {
            const std::string description = Narrow(AccessibleText(object, true));
            if (description != context) {
                expect.Fail(ControlName(decl) + ": accessible description " +
                            QuoteText(description));
            }
        }
        object->Release();
    }
    // Tab from the first stop visits every stop in the layout's order and
    // comes back round.
    if (!expectedOrder.empty()) {
        HWND at = expectedOrder.front();
        for (size_t i = 1; i <= expectedOrder.size(); ++i) {
            at = GetNextDlgTabItem(window, at, FALSE);
            if (at != expectedOrder[i % expectedOrder.size()]) {
                expect.Fail("Tab order departs from the layout at stop " + std::to_string(i + 1));
                break;
            }
        }
    }
}

// --- Every control where the technician can see it -------------------------

// What the technician sees of a page: the page window, within the tab
// control's display area, within the sheet's client area (screen pixels).
RECT VisiblePageArea(HWND sheet, HWND page) {
    RECT area = ScreenRect(page);
    HWND tabs = PropSheet_GetTabControl(sheet);
    RECT display = ScreenRect(tabs);
    TabCtrl_AdjustRect(tabs, FALSE, &display);
    RECT client{};
    GetClientRect(sheet, &client);
    MapWindowPoints(sheet, nullptr, reinterpret_cast<POINT*>(&client), 2);
    IntersectRect(&area, &area, &display);
    IntersectRect(&area, &area, &client);
    return area;
}

// The control's text, as drawn in its own font: a label's lines fit its
// static (wrapped as the static wraps them), a button's caption fits the
// button (its ideal size), a group box's caption fits its frame, and an edit
// box's line sits in the middle of the box.
void CheckText(HWND control, const ControlDecl& decl, const std::string& where,
               checks::Case& expect) {
    RECT client{};
    GetClientRect(control, &client);
    const win32::WindowDc dc(control);
    const win32::Selection font(dc.Get(),
                                reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    const std::wstring text = WidenText(decl.label);
    std::string fault;
    // A check box only as wide as its square shows no text: its column's
    // caption names it.
    const bool textless = decl.kind == ControlKind::CheckBox && decl.w <= 10;
    switch (decl.kind) {
        case ControlKind::Static: {
            RECT needed = client;
            DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &needed,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            if (needed.right > client.right || needed.bottom > client.bottom) {
                fault = "needs " + std::to_string(needed.right) + " x " +
                        std::to_string(needed.bottom) + " pixels, has " +
                        std::to_string(client.right) + " x " + std::to_string(client.bottom);
            }
            break;
        }
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::PushButton: {
            SIZE ideal{};
            if (!textless && Button_GetIdealSize(control, &ideal) && ideal.cx > client.right) {
                fault = "needs " + std::to_string(ideal.cx) + " pixels, has " +
                        std::to_string(client.right);
            }
            break;
        }
        case ControlKind::GroupBox: {
            SIZE extent{};
            GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
            // The frame's corners and the gaps either side of the caption.
            const int frame = 2 * metrics.tmAveCharWidth;
            if (extent.cx + frame > client.right) {
                fault = "caption needs " + std::to_string(extent.cx + frame) + " pixels, has " +
                        std::to_string(client.right);
            }
            break;
        }
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit:
        case ControlKind::PasswordEdit: {
            // Where the box draws its line, against the inside of its border.
            RECT line{};
            SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&line));
            RECT inside{};
            GetWindowRect(control, &inside);
            InflateRect(&inside, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
            POINT origin{0, 0};
            ClientToScreen(control, &origin);
            const int above = origin.y + line.top - inside.top;
            const int below = inside.bottom - (origin.y + line.top + metrics.tmHeight);
            if (above - below > 1 || below - above > 1) {
                fault = "text sits off the middle (" + std::to_string(above) + " pixels above, " +
                        std::to_string(below) + " below)";
            }
            break;
        }
    }
    if (!fault.empty()) expect.Fail(where + ControlName(decl) + ": " + fault);
}

// Every control of the page's layout (shown or not: any may be shown later)
// lies inside the visible page area, and inside the group box its layout
// puts it in.
void CheckPageFits(HWND sheet, HWND window, PageId page, const std::string& where,
                   checks::Case& expect) {
    const RECT visible = VisiblePageArea(sheet, window);
    const auto controls = LayoutOf(page).controls;
    std::vector<HWND> windows;
    // Statics share IDC_STATIC: their windows are the page's children in
    // declaration order, as the template creates them.
    HWND child = GetWindow(window, GW_CHILD);
    for (size_t i = 0; i < controls.size(); ++i) {
        windows.push_back(child);
        if (child != nullptr) child = GetWindow(child, GW_HWNDNEXT);
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlDecl& decl = controls[i];
        if (windows[i] == nullptr) continue;
        const RECT rect = ScreenRect(windows[i]);
        if (!Inside(rect, visible)) {
            expect.Fail(where + ControlName(decl) + " lies outside the visible page (" +
                        RectText(rect) + " beyond " + RectText(visible) + ")");
        }
        CheckText(windows[i], decl, where, expect);
        if (decl.group[0] == '\0' || decl.kind == ControlKind::GroupBox) continue;
        for (size_t g = 0; g < controls.size(); ++g) {
            if (controls[g].kind != ControlKind::GroupBox ||
                std::string_view(controls[g].label) != decl.group || windows[g] == nullptr) {
                continue;
            }
            const RECT box = ScreenRect(windows[g]);
            if (!Inside(rect, box)) {
                expect.Fail(where + ControlName(decl) + " crosses its group box (" +
                            RectText(rect) + " beyond " + RectText(box) + ")");
            }
        }
    }
}

// Every tab shows its whole caption.
void CheckTabCaptions(HWND sheet, checks::Case& expect) {
    HWND tabs = PropSheet_GetTabControl(sheet);
    const win32::WindowDc dc(tabs);
    const win32::Selection font(dc.Get(),
                                reinterpret_cast<HFONT>(SendMessageW(tabs, WM_GETFONT, 0, 0)));
    for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
        const std::optional<std::wstring> text = TabText(tabs, i);
        RECT bounds{};
        if (!text || !TabCtrl_GetItemRect(tabs, i, &bounds)) continue;
        SIZE extent{};
        GetTextExtentPoint32W(dc.Get(), text->c_str(), static_cast<int>(text->size()), &extent);
        // The text within the tab's frame, a pixel either side.
        if (extent.cx > bounds.right - bounds.left - 2) {
            expect.Fail("the tab " + QuoteText(Narrow(*text)) + " needs " +
                        std::to_string(extent.cx) + " pixels, has " +
                        std::to_string(bounds.right - bounds.left));
        }
    }
}

}  // namespace

void CheckPages(RealSheetHost& host) {
    host.OpenWith([&](SheetScript& sheet) {
        ShowTechnicianSet(sheet);
        for (PageId page : sheet.Tabs()) {
            sheet.SelectTab(page);
            checks::Case expect(QuoteText(CaptionOf(page)) +
                                ": every control placed, styled, named and in Tab order");
            CheckPage(sheet, page, expect);
        }
    });
}

void CheckFit(RealSheetHost& host) {
    const auto checkAll = [&](SheetScript& sheet, const std::string& state) {
        checks::Case expect(state + ": every page fits");
        for (PageId page : sheet.Tabs()) {
            sheet.SelectTab(page);
            HWND window = sheet.PageWindow(page);
            const std::string where = QuoteText(CaptionOf(page)) + ": ";
            if (window == nullptr) {
                expect.Fail(where + "no window");
                continue;
            }
            CheckPageFits(sheet.SheetWindow(), window, page, where, expect);
        }
        CheckTabCaptions(sheet.SheetWindow(), expect);
    };
    const auto technician = [](SheetScript& sheet) {
        sheet.SelectTab(PageId::NodeInformation);
        sheet.Click(PageId::NodeInformation, IDC_NODEINFO_TECHNICIAN);
    };
    // Opened for a configured node: the technician set first, the user set
    // after 100 ms, the technician set again on "Technician".
    host.OpenWith([&](SheetScript& sheet) {
        checkAll(sheet, "opened");
        sheet.Idle(100);
        checkAll(sheet, "opened, user set");
        technician(sheet);
        checkAll(sheet, "opened, then Technician");
    });
    // The first read fails: Node Information alone, then "Technician".
    host.Node().FailCall(2);
    host.OpenWith([&](SheetScript& sheet) {
        checkAll(sheet, "failed first read");
        technician(sheet);
        checkAll(sheet, "failed first read, then Technician");
    });
    host.Node().ClearFaults();
    // No node on the site: "Node not available!", then "Technician".
    host.Site().OfferReader(false);
    host.Site().OfferWriter(false);
    host.OpenWith([&](SheetScript& sheet) {
        technician(sheet);
        checkAll(sheet, "no node, then Technician");
    });
    host.Site().OfferReader(true);
    host.Site().OfferWriter(true);
    // The Compare window, with the differences a technician gets from it.
    host.OpenWith([&](SheetScript& sheet) {
        checks::Case expect("Compare window: fits at every size");
        expect(CompareWithChangedNode(host, sheet,
                                      [&](HWND window) { CheckReviewWindow(window, "", expect); }),
               "none came up");
    });
}

void CheckPlatformParts(const std::wstring& folder) {
    const auto expect = [](bool ok, const std::string& what) { checks::Check(ok, what); };

    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    expect(NarrowText(WidenText(bytes)) == bytes,
           "every byte survives the way to the screen and back");
    expect(WidenText("\x80\xE9\xF8") == L"\u20AC\u00E9\u00F8",
           "Windows-1252 whatever the PC's code page");
    expect(NarrowText(L"\u0151") == "?", "a character beyond Windows-1252 becomes \"?\"");

    struct FilterCase {
        const char* pipes;
        std::wstring expected;
    };
    const FilterCase filters[] = {
        {"Settings (*.txt)|*.txt|All files (*.*)|*.*|",
         std::wstring(L"Settings (*.txt)\0*.txt\0All files (*.*)\0*.*\0\0", 44)},
        {"Text|*.txt", std::wstring(L"Text\0*.txt\0\0", 12)},
        {"", std::wstring(L"\0\0", 2)},
    };
    for (const FilterCase& c : filters) {
        expect(FileDialogFilter(c.pipes) == c.expected, "filter " + QuoteText(c.pipes));
    }

    const std::string scratch = NarrowPath(folder) + "\\platform-parts";
    CreateDirectoryW(WidenPath(scratch).c_str(), nullptr);
    const std::string file = scratch + "\\Kund \xC3\xA9 1.txt";  // a non-ASCII name, in UTF-8
    const std::string content("line 1\r\nnul \0 byte\r\n", 20);
    expect(ReplaceWholeFile(file, content), "a new file is written");
    expect(ReadWholeFile(file) == content, "a file reads back byte for byte");
    expect(ReplaceWholeFile(file, "second"), "an existing file is replaced");
    expect(ReadWholeFile(file) == "second", "the replacement is what is read");
    expect(IsWritableFile(file), "an ordinary file is writable");
    SetFileAttributesW(WidenPath(file).c_str(), FILE_ATTRIBUTE_READONLY);
    expect(!IsWritableFile(file), "a read-only file is not writable");
    expect(!ReplaceWholeFile(file, "third"), "a read-only file is not replaced");
    expect(ReadWholeFile(file) == "second", "a read-only file keeps its bytes");
    SetFileAttributesW(WidenPath(file).c_str(), FILE_ATTRIBUTE_NORMAL);
    expect(!IsWritableFile(scratch), "a folder is not a writable file");
    expect(!IsWritableFile(scratch + "\\missing.txt"), "a missing file is not writable");
    expect(!ReadWholeFile(scratch + "\\missing.txt"), "a missing file cannot be read");
    expect(!ReplaceWholeFile(scratch + "\\no folder\\x.txt", "x"), "no file in a missing folder");
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(WidenPath(scratch + "\\*.tmp").c_str(), &found);
    expect(search == INVALID_HANDLE_VALUE, "no temporary file is left behind");
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    DeleteFileW(WidenPath(file).c_str());
    RemoveDirectoryW(WidenPath(scratch).c_str());
}

}  // namespace qta1::host

namespace qta1::host {

namespace {

// The module's own answer to "can you be unloaded?".
HRESULT ModuleCanUnload() {
    HMODULE module = GetModuleHandleW(L"QTA1.OCX");
    if (module == nullptr) return E_FAIL;
    using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
    auto canUnload = reinterpret_cast<CanUnloadFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    return canUnload != nullptr ? canUnload() : E_FAIL;
}

// The object's IUnknown, as asked through `from`.
template <class T>
IUnknown* IdentityOf(T* from) {
    IUnknown* identity = nullptr;
    if (from == nullptr ||
        FAILED(from->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
        return nullptr;
    }
    identity->Release();  // compared only, while `from` keeps the object
    return identity;
}

}  // namespace

void CheckComLifetime(RealSheetHost& host, EmbeddedControl& control) {
    const auto expect = [](bool ok, const std::string& what) { checks::Check(ok, what); };
    win32::ComPtr<IAccessible> kept;
    host.OpenWith([&](SheetScript& sheet) {
        HWND box = GetDlgItem(sheet.PageWindow(PageId::NodeInformation), IDC_NODEINFO_NAME);
        AccessibleObjectFromWindow(box, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   kept.OutVoid());
        expect(static_cast<bool>(kept), "an edit box hands out its accessible object");
        if (!kept) return;
        IUnknown* identity = IdentityOf(kept.Get());
        const auto window = kept.As<IOleWindow>(IID_IOleWindow);
        HWND answered = nullptr;
        if (window) window->GetWindow(&answered);
        expect(window && answered == box, "its IOleWindow names the box");
        expect(!window || IdentityOf(window.Get()) == identity,
               "its IOleWindow belongs to the same object (one IUnknown)");
        const auto children = kept.As<IEnumVARIANT>(IID_IEnumVARIANT);
        expect(!children || IdentityOf(children.Get()) == identity,
               "its IEnumVARIANT belongs to the same object (one IUnknown)");
        const auto back =
            window ? window.As<IAccessible>(__uuidof(IAccessible)) : win32::ComPtr<IAccessible>();
        expect(!window || back.Get() == kept.Get(),
               "asked back for IAccessible, the IOleWindow gives the named object");
    });
    // The control goes; the accessibility client still holds the object,
    // whose code lives in the module.
    expect(!control.Unload(), "the module stays loaded while a client holds an accessible object");
    kept.Reset();
    expect(ModuleCanUnload() == S_OK, "once the client lets go, the module can be unloaded");
}

}  // namespace qta1::host
