#include "frame/page.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

namespace {

// Part 6 words 2 to 4: the deicing delay in minutes, the pump and valve
// intervals in hours; words 0 and 1 are the PIR delays.
// clang-format off
constexpr Field kFields[] = {
//             control                word  codec
    WordField(IDC_EXERCISE_DEICING,   2,    Codec::Word),
    WordField(IDC_EXERCISE_PUMP,      3,    Codec::Word),
    WordField(IDC_EXERCISE_VALVE,     4,    Codec::Word),
};
// clang-format on
constexpr Block kBlocks[] = {
    {.nv = kConfigNv, .part = kDelaysPart, .bitReversed = false, .fields = kFields},
};

// "Deicing enabled": part 1 byte 8 bit 1.
constexpr int kDeicingBox[] = {IDC_EXERCISE_DEICING};
constexpr OptionRule kRules[] = {{8, 1, kDeicingBox}};

constexpr PageDef kExerciseDeicingPage = {
    .blocks = kBlocks,
    .optionRules = kRules,
    .readButton = IDC_EXERCISE_READ,
    .writeButton = IDC_EXERCISE_WRITE,
};

}  // namespace

// How long the heating pump and valve may stand still before the node
// exercises them, and the delay before the exchanger is deiced.
QTA1_TABLE_PAGE(22, ExerciseDeicing, CPropPage, kExerciseDeicingPage)

}  // namespace qta1
