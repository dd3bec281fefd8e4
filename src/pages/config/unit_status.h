// What the unit's status NV says about the equipment that may be
// configured: the QTA3 cooling functions and the fresh-air damper setting
// are offered only when the node reports them available.
#pragma once

#include "node/nv_catalogue.h"

namespace qta1 {

// Byte 22, mask 0x20: the unit offers the cooling options.
inline constexpr int kCoolingOptionsByte = 22;
inline constexpr int kCoolingOptionsBit = 2;

}  // namespace qta1
