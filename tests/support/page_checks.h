// What the page tests share: opening the sheet on a page, a picture of the
// node's values, and the property check that a Write changes exactly the
// bytes and bits of the control the technician changed.
#pragma once

#include <functional>
#include <map>
#include <span>
#include <vector>

#include "sim_session.h"

namespace qta1::testing {

// Opens the sheet on the technician set and shows `page`; `act` runs on it
// with the trace emptied, so expected traces start at the first action.
void OnPage(SimSession& s, PageId page, const std::function<void(HeadlessPlatform&)>& act);

// Where bytes live: an NV (part 0), or a part of the configuration NV.
struct Place {
    int nv;
    int part;
    auto operator<=>(const Place&) const = default;
};
using NodeImage = std::map<Place, NvValue>;

// The twelve parts and the listed NVs as the node holds them.
NodeImage Snapshot(const SimulatedNode& node, std::span<const int> nvs);

// Bits of one byte (mask as stored) that an edit owns, and what they hold
// after the Write: `value`, or the opposite of before (kToggled); bits marked
// kAllowed may change with the edit's interlocks.
inline constexpr int kToggled = -1;
inline constexpr int kAllowed = -2;
struct Bits {
    Place where;
    int byte;
    uint8_t mask;
    int value;
};
// A word an edit stores, as its two bytes.
std::vector<Bits> Word(Place where, int offset, uint8_t high, uint8_t low);

struct Edit {
    const char* name;
    int control;
    const char* typed;  // nullptr: a click
    std::vector<Bits> bits;
};

struct PageUnderTest {
    PageId page;
    int writeButton;
    int passwordBox = 0;           // 0: the Write needs no password
    std::vector<int> randomNvs{};  // NVs besides the parts that get random contents
    // Makes the edited controls available (options, modes) on the random node.
    std::function<void(SimulatedNode&)> prepare = [](SimulatedNode&) {};
    // Whether the random node may leave an edited control disabled; if not,
    // a disabled control fails the check.
    bool editsMayBeDisabled = false;
    // Whether a Write of what the page shows may still change the node
    // (a choice the page makes for a value it has no button for).
    bool unchangedWriteMayNormalise = false;
};

// For random node contents the page is shown and written twice unchanged
// (what the node holds becomes what the boxes show), then one control is
// changed and written: that Write changes exactly the control's bits, and
// nothing at all when the control is disabled.
void CheckEditsChangeOnlyTheirBits(const PageUnderTest& page, std::span<const Edit> edits,
                                   int rounds = 4);

}  // namespace qta1::testing
