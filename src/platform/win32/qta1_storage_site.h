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

// {6E0B1C2A-9D43-4F7E-8A51-3C27D90B6E14}. A new identifier whenever the
// methods change.
inline constexpr GUID kIidQta1StorageSite = {
    0x6E0B1C2A, 0x9D43, 0x4F7E, {0x8A, 0x51, 0x3C, 0x27, 0xD9, 0x0B, 0x6E, 0x14}};

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
    // The technician's name in the change log. S_OK: the host's (freed by
    // the caller); S_FALSE: the Windows user's.
    virtual HRESULT STDMETHODCALLTYPE UserName(BSTR* name) = 0;

protected:
    ~IQta1StorageSite() = default;
};

}  // namespace qta1::win32
