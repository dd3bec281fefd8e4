// The control as the settings editor uses it: made through COM as a host
// makes it (the registered class, or the module at a given path loaded
// directly), given the client site, its properties verb run, and released.
#pragma once

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
// clang-format on

#include <string>

namespace qta1::editor {

// Opens the sheet over `site` and returns when it has closed. `modulePath`
// empty: the registered control class; otherwise the module at that path,
// which need not be registered. On failure `error` says what did not work.
bool RunPropertiesVerb(IOleClientSite* site, const std::wstring& modulePath, std::wstring& error);

}  // namespace qta1::editor
