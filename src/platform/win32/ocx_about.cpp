// The about dialog: the resource dialog IDD_ABOUTBOX_QTA1 with its title, the
// control's icon, two lines of text and "OK".
#include <windows.h>

#include "platform/win32/ocx_control.h"
#include "platform/win32/ocx_module.h"
#include "resources/resource_ids.h"

namespace qta1::win32 {

namespace {

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;  // the system puts the focus on "OK"
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void ShowAboutBox(HWND owner) {
    DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(IDD_ABOUTBOX_QTA1), owner, AboutProc, 0);
}

}  // namespace qta1::win32
