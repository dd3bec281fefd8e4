// What the unit's status NV says about the equipment that may be
// configured: the QTA3 cooling functions and the fresh-air damper setting
// are offered only when the node reports them available.
#pragma once

#include <cstdint>

#include "frame/codec.h"
#include "node/nv_catalogue.h"

namespace qta1 {

// Bit 5 of byte 22 as stored (mask 0x20), tested as the codec bit of the
// reversed byte like every option bit.
inline bool CoolingOptionsReported(const uint8_t* unitStatus) {
    return TestBit(ReverseBits(unitStatus[22]), 5) != 0;
}

}  // namespace qta1
