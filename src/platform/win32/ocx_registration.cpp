#include "platform/win32/ocx_registration.h"

#include <string>

#include "platform/win32/ocx_control.h"
#include "platform/win32/ocx_module.h"
#include "platform/win32/qta1_guids.h"
#include "platform/win32/win32_handles.h"
#include "resources/resource_ids.h"
#include "resources/strings.h"

namespace qta1::win32 {

namespace {

// A GUID's braced text form has 38 characters; StringFromGUID2 counts the
// terminating NUL too.
constexpr int kGuidTextLength = 39;

std::wstring GuidText(REFGUID guid) {
    wchar_t text[64] = {};
    if (StringFromGUID2(guid, text, static_cast<int>(std::size(text))) != kGuidTextLength) {
        return {};
    }
    return text;
}

std::wstring Widen(const char* ascii) {
    std::wstring wide;
    for (; *ascii != '\0'; ++ascii) wide.push_back(static_cast<unsigned char>(*ascii));
    return wide;
}

class Key {
public:
    // Creates or opens `path` under `parent`.
    Key(HKEY parent, const std::wstring& path) {
        if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, key_.Out(), nullptr) != ERROR_SUCCESS) {
            key_.Reset();
        }
    }

    bool ok() const { return static_cast<bool>(key_); }
    HKEY get() const { return key_.Get(); }

    // Sets a text value: the key's default value when `name` is null.
    bool SetText(const wchar_t* name, const std::wstring& text) const {
        if (!key_) return false;
        const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key_.Get(), name, 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
    }
    // Sets the default value of the subkey `subkey`, creating it.
    bool SetSubkeyText(const std::wstring& subkey, const std::wstring& text) const {
        if (!key_) return false;
        Key child(key_.Get(), subkey);
        return child.SetText(nullptr, text);
    }

private:
    RegKey key_;
};

bool Gone(LONG status) { return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND; }

// Removes a key with everything below it.
bool DeleteTree(HKEY parent, const std::wstring& path) {
    const LONG below = RegDeleteTreeW(parent, path.c_str());
    if (!Gone(below)) return false;
    return Gone(RegDeleteKeyW(parent, path.c_str()));
}

std::wstring NodeKeyPath(const std::wstring& clsid) { return L"CLSID\\" + clsid + L"\\Node"; }

// The Node block: ProgramID holds the node program identifier, TestID "%1".
void WriteNodeBlock(const std::wstring& clsid) {
    Key node(HKEY_CLASSES_ROOT, NodeKeyPath(clsid));
    if (!node.ok()) return;
    if (!node.SetSubkeyText(L"ProgramID", Widen(text::kProgramId))) return;
    node.SetSubkeyText(L"TestID", L"%1");
}

void RemoveNodeBlock(const std::wstring& clsid) {
    const std::wstring path = NodeKeyPath(clsid);
    {
        RegKey node;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | KEY_WRITE, node.Out()) ==
            ERROR_SUCCESS) {
            RegDeleteKeyW(node.Get(), L"ProgramID");
            RegDeleteKeyW(node.Get(), L"TestID");
        }
    }
    RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
}

std::wstring Decimal(DWORD value) { return std::to_wstring(value); }

}  // namespace

HRESULT RegisterControlClass() {
    const std::wstring clsid = GuidText(kClsidQta1Ctrl);
    if (!clsid.empty()) WriteNodeBlock(clsid);

    const std::wstring libid = GuidText(kLibidQta1);
    const std::wstring typeName = LoadModuleString(IDS_QTA1);
    const std::wstring path = ModulePath();
    if (clsid.empty() || libid.empty() || typeName.empty() || path.empty()) return E_FAIL;

    Key progId(HKEY_CLASSES_ROOT, kProgId);
    Key control(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid);
    Key server(control.get(), L"InprocServer32");
    Key misc(control.get(), L"MiscStatus");
    const bool written =
        progId.SetText(nullptr, typeName) && progId.SetSubkeyText(L"CLSID", clsid) &&
        control.SetText(nullptr, typeName) && control.SetSubkeyText(L"ProgID", kProgId) &&
        server.SetText(nullptr, path) && server.SetText(L"ThreadingModel", L"Apartment") &&
        control.SetSubkeyText(L"ToolboxBitmap32", path + L", " + Decimal(kToolboxBitmapId)) &&
        misc.SetText(nullptr, L"0") && misc.SetSubkeyText(L"1", Decimal(kMiscStatus)) &&
        control.SetSubkeyText(L"Control", L"") && control.SetSubkeyText(L"TypeLib", libid) &&
        control.SetSubkeyText(L"Version", Decimal(kTypeLibMajor) + L"." + Decimal(kTypeLibMinor));
    return written ? S_OK : E_FAIL;
}

HRESULT UnregisterControlClass() {
    const std::wstring clsid = GuidText(kClsidQta1Ctrl);
    if (clsid.empty()) return E_FAIL;
    RemoveNodeBlock(clsid);
    const bool removed =
        DeleteTree(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid) && DeleteTree(HKEY_CLASSES_ROOT, kProgId);
    return removed ? S_OK : E_FAIL;
}

}  // namespace qta1::win32
