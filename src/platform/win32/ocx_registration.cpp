#include "platform/win32/ocx_registration.h"

#include <string>

#include "platform/win32/ocx_control.h"
#include "platform/win32/ocx_module.h"
#include "platform/win32/qta1_guids.h"
#include "platform/win32/registry_entries.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace qta1::win32 {

namespace {

// The table's identifiers and numbers are those the module declares.
constexpr int HexDigit(char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}
constexpr unsigned long HexAt(const char* text, int from, int digits) {
    unsigned long value = 0;
    for (int i = from; i < from + digits; ++i) value = value * 16 + HexDigit(text[i]);
    return value;
}
// `text` is the braced, upper-case form of `guid`: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
constexpr bool SameGuid(const char* text, const GUID& guid) {
    constexpr int kTail[] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != '-' : HexDigit(text[i]) < 0) return false;
    }
    bool same = text[0] == '{' && text[37] == '}' && text[38] == '\0' &&
                HexAt(text, 1, 8) == guid.Data1 && HexAt(text, 10, 4) == guid.Data2 &&
                HexAt(text, 15, 4) == guid.Data3;
    for (int i = 0; i < 8; ++i) same = same && HexAt(text, kTail[i], 2) == guid.Data4[i];
    return same;
}
static_assert(SameGuid(registry::kClsidText, kClsidQta1Ctrl));
static_assert(SameGuid(registry::kLibidText, kLibidQta1));
static_assert(SameGuid(registry::kDispatchIidText, kDiidDqta1));
static_assert(SameGuid(registry::kEventsIidText, kDiidDqta1Events));
static_assert(registry::kMiscStatus == kMiscStatus);

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

class Key {
public:
    // Creates or opens `path` under `parent`.
    Key(HKEY parent, const std::wstring& path) {
        if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE, nullptr, key_.Out(), nullptr) != ERROR_SUCCESS) {
            key_.Reset();
        }
    }

    // Sets a text value: the key's default value when `name` is null.
    bool SetText(const wchar_t* name, const std::wstring& text) const {
        if (!key_) return false;
        const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key_.Get(), name, 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
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

// The table's text for this module, in the form the registry takes.
std::wstring Expanded(const char* text, const registry::Places& places) {
    return WidenPath(registry::Expand(text, places));
}

// Writes one entry; false when its key or value could not be written.
bool Write(const registry::Entry& entry, const registry::Places& places) {
    const std::wstring name = entry.name != nullptr ? Expanded(entry.name, places) : L"";
    return Key(HKEY_CLASSES_ROOT, Expanded(entry.key, places))
        .SetText(entry.name != nullptr ? name.c_str() : nullptr, Expanded(entry.value, places));
}

// Writes the entries of `group` in the table's order, up to the first that fails.
bool WriteGroup(registry::Group group, const registry::Places& places) {
    for (const registry::Entry& entry : registry::kEntries) {
        if (entry.group == group && !Write(entry, places)) return false;
    }
    return true;
}

std::wstring NodeKeyPath(const registry::Places& places) {
    return Expanded("CLSID\\<clsid>\\Node", places);
}

// The Node block's subkeys go first, in the table's order, then the key.
void RemoveNodeBlock(const registry::Places& places) {
    const std::wstring path = NodeKeyPath(places);
    {
        RegKey node;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | KEY_WRITE, node.Out()) ==
            ERROR_SUCCESS) {
            const std::wstring below = path + L"\\";
            for (const registry::Entry& entry : registry::kEntries) {
                const std::wstring key = Expanded(entry.key, places);
                if (entry.group == registry::Group::Node && key.starts_with(below)) {
                    RegDeleteKeyW(node.Get(), key.substr(below.size()).c_str());
                }
            }
        }
    }
    RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
}

// The identifiers from the system's conversion; empty when it fails.
registry::Places ModulePlaces() {
    registry::Places places;
    places.clsid = NarrowPath(GuidText(kClsidQta1Ctrl));
    places.libid = NarrowPath(GuidText(kLibidQta1));
    places.module = NarrowPath(ModulePath());
    return places;
}

}  // namespace

HRESULT RegisterControlClass() {
    const registry::Places places = ModulePlaces();
    if (!places.clsid.empty()) WriteGroup(registry::Group::Node, places);
    if (places.clsid.empty() || places.libid.empty() || places.module.empty()) return E_FAIL;
    return WriteGroup(registry::Group::Class, places) ? S_OK : E_FAIL;
}

HRESULT UnregisterControlClass() {
    const registry::Places places = ModulePlaces();
    if (places.clsid.empty()) return E_FAIL;
    RemoveNodeBlock(places);
    bool removed = true;
    for (const auto& root : registry::kRoots) {
        if (root.group == registry::Group::Class) {
            removed = DeleteTree(HKEY_CLASSES_ROOT, Expanded(root.key, places)) && removed;
        }
    }
    return removed ? S_OK : E_FAIL;
}

}  // namespace qta1::win32
