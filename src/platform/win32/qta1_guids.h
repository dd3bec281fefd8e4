// The identifiers of the control, its type library and its two dispatch
// interfaces. src/resources/qta1.idl carries the same values; the build
// compares the two before it compiles the type library.
#pragma once

#include <windows.h>

#include "resources/version.h"

namespace qta1::win32 {

// Type library QTA1Lib {E61E2B8A-C2CE-40D8-90B7-298C4B40019F}
inline constexpr GUID kLibidQta1 = {
    0xE61E2B8A, 0xC2CE, 0x40D8, {0x90, 0xB7, 0x29, 0x8C, 0x4B, 0x40, 0x01, 0x9F}};
// Dispatch interface _DQTA1 {EC5472E1-59E7-431B-958E-3A6CDCAF9484}
inline constexpr GUID kDiidDqta1 = {
    0xEC5472E1, 0x59E7, 0x431B, {0x95, 0x8E, 0x3A, 0x6C, 0xDC, 0xAF, 0x94, 0x84}};
// Event interface _DQTA1Events {995A5E7B-046A-4DBC-A94F-77C4EEC930A7}
inline constexpr GUID kDiidDqta1Events = {
    0x995A5E7B, 0x046A, 0x4DBC, {0xA9, 0x4F, 0x77, 0xC4, 0xEE, 0xC9, 0x30, 0xA7}};
// Control class QTA1 {F6267715-860A-46CF-8E4F-23B0DD3C9478}
inline constexpr GUID kClsidQta1Ctrl = {
    0xF6267715, 0x860A, 0x46CF, {0x8E, 0x4F, 0x23, 0xB0, 0xDD, 0x3C, 0x94, 0x78}};

// The type library's version: the plug-in's major.minor.
inline constexpr WORD kTypeLibMajor = QTA1_VERSION_MAJOR;
inline constexpr WORD kTypeLibMinor = QTA1_VERSION_MINOR;

}  // namespace qta1::win32
