// Scripted runs: the substitute host (qta1host.exe) hands the module the
// trace, the virtual clock and a driver before it invokes the properties
// verb. The sheet then writes the same trace lines as the headless sheet,
// its waits advance the given clock, and the driver acts as the technician
// inside the sheet's modal loop.
//
// The host reaches this through the exported function Qta1SetScriptedRun
// (GetProcAddress on the loaded QTA1.OCX). It is not part of the registered
// COM surface and does nothing for a real host, which never calls it. The
// pointers cross the module boundary as plain pointers: host and module are
// built from the same sources with the same compiler, and both allocate
// through the same C runtime DLL, so a Trace or VirtualClock made by one is
// safe to use in the other.
#pragma once

#include <windows.h>

#include <cstdint>

namespace qta1 {
class Technician;
class Trace;
class VirtualClock;
}  // namespace qta1

extern "C" {

struct Qta1ScriptedRun {
    uint32_t size;  // sizeof(Qta1ScriptedRun)
    qta1::Trace* trace;
    qta1::VirtualClock* clock;
    // Called inside the sheet's modal loop once the sheet is initialised; the
    // sheet closes when it returns (or earlier, when the driver pressed Exit).
    // May be null: the sheet then runs for the user as usual.
    void (*driver)(qta1::Technician* technician, void* context);
    void* context;
};

// Keeps a copy of *run for every later opening of the sheet, until it is
// called again; null ends scripted runs. E_INVALIDARG when run->size is not
// sizeof(Qta1ScriptedRun) or trace or clock is null.
HRESULT WINAPI Qta1SetScriptedRun(const Qta1ScriptedRun* run);
typedef HRESULT(WINAPI* Qta1SetScriptedRunFn)(const Qta1ScriptedRun* run);

}  // extern "C"

namespace qta1::win32 {

// The run set by the host, or null.
const Qta1ScriptedRun* CurrentScriptedRun();

}  // namespace qta1::win32
