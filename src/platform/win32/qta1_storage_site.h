// IQta1StorageSite: where the technician's own things are kept, when a host
// keeps them itself. A test host offers it on the control's client site so
// that its runs start from the defaults every time and leave the PC's
// registry and profile alone; without it the sheet keeps the technician's
// choices under HKEY_CURRENT_USER and the files in the user's folder.
//
// Wide strings and BSTRs on the sheet's thread, as for the script site:
// names and values are the plug-in's texts (Windows-1252 on its side), the
// folder a path. In the plug-in only ScriptHooks (script_hooks.h) calls it.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
// clang-format on

namespace qta1::win32 {

// {256CD459-DFCB-4F33-A205-AF310304080A}. A new identifier whenever the
// methods change.
inline constexpr GUID kIidQta1StorageSite = {
    0x256CD459, 0xDFCB, 0x4F33, {0xA2, 0x05, 0xAF, 0x31, 0x03, 0x04, 0x08, 0x0A}};

class IQta1StorageSite : public IUnknown {
public:
    // The technician's choices. S_OK: the host keeps them (`value` comes back
    // null for a choice never made, else freed by the caller with
    // SysFreeString); S_FALSE: the sheet keeps them in the registry.
    virtual HRESULT STDMETHODCALLTYPE UserSetting(LPCWSTR name, BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetUserSetting(LPCWSTR name, LPCWSTR value) = 0;
    // The technician's own folder for the plug-in's files. S_OK: the host's
    // (freed by the caller); S_FALSE: the system's.
    virtual HRESULT STDMETHODCALLTYPE UserFolder(BSTR* folder) = 0;

protected:
    ~IQta1StorageSite() = default;
};

}  // namespace qta1::win32
