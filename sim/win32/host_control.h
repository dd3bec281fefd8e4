// The control as the substitute host embeds it: QTA1.OCX loaded from beside
// the host (so it works unregistered) or, failing that, the registered class;
// the control in place in the host's window; and the properties verb.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
// clang-format on

#include <string>

namespace qta1::host {

class EmbeddedControl {
public:
    EmbeddedControl() = default;
    ~EmbeddedControl() { Unload(); }
    EmbeddedControl(const EmbeddedControl&) = delete;
    EmbeddedControl& operator=(const EmbeddedControl&) = delete;

    // Loads `ocxPath` when it names a file, else (also when it is empty)
    // creates the registered class. On failure `error` says why.
    bool Load(const std::wstring& ocxPath, std::wstring& error);
    // The file of the module that made the control, as the system loaded it.
    std::wstring ModuleFile() const;
    // Hands the control its site and activates it in place at `rect` of `window`.
    bool Embed(IOleClientSite* site, HWND window, const RECT& rect, std::wstring& error);
    // The properties verb; returns when the sheet has closed.
    HRESULT Properties(IOleClientSite* site, HWND window, const RECT& rect);
    // Deactivates and releases the control, then unloads the module when it
    // says it can be unloaded. False when the module still counts objects.
    bool Unload();

    bool Loaded() const { return object_ != nullptr; }

private:
    HMODULE module_ = nullptr;
    IOleObject* object_ = nullptr;
};

}  // namespace qta1::host
