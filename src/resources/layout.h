// Page layouts: every control of every page declared once. The headless
// platform builds its controls from these tables, the Win32 platform builds
// its dialog templates from them, and tests address controls by the labels
// written here.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "resources/resource_ids.h"

namespace qta1 {

// The 26 pages, numbered as their classes CPage<n>PropPage.
enum class PageId : int {
    Dampers = 2,
    RunningHours = 3,
    HeatingSurface = 4,
    Temperatures = 5,
    Calender = 6,
    StatusRegulator = 7,
    Alarms = 8,
    ConfigQta12 = 9,
    ConfigQta3 = 10,
    Pid = 11,
    NodeInformation = 12,
    Freecool = 13,
    Pir = 14,
    Status = 15,
    SetTime = 16,
    CalcInjection = 17,
    Exchanger = 18,
    CalcSpace = 19,
    Antifrost = 20,
    ExtendedOperation = 21,
    ExerciseDeicing = 22,
    TempStartup = 23,
    LowTempInjection = 24,
    ImportExport = 25,
    OpenCloseTimer = 26,
    ConfigHvac = 27,
};
inline constexpr int kFirstPageNumber = 2;
inline constexpr int kPageCount = 26;

enum class ControlKind : uint8_t {
    GroupBox,
    Static,
    Edit,
    ReadOnlyEdit,
    PasswordEdit,
    CheckBox,
    RadioButton,
    PushButton,
};

enum ControlFlag : uint8_t {
    kNoFlags = 0,
    kHidden = 1,        // created invisible
    kInitiallyOff = 2,  // created disabled
    kStartsGroup = 4,   // first radio button of a group (tab stop group)
    kAlignRight = 8,    // text of a static or an edit box set flush right
    kAlignCenter = 16,  // text of a static or an edit box (or a group caption) centred
};

// One control. For statics, group boxes and buttons `label` is the visible
// text; for edit boxes it is the text of the static that names the box, which
// is also the control's accessible name. `group` is the caption of the group
// box around it and `row` the row label of a grid, both empty when none.
// Positions are dialog units.
struct ControlDecl {
    int id;
    ControlKind kind;
    const char* label;
    const char* group;
    const char* row;
    uint8_t flags;
    int16_t x, y, w, h;
};

struct PageLayout {
    PageId page;
    int dialogId;
    const char* caption;  // tab caption
    std::span<const ControlDecl> controls;
};

inline constexpr int16_t kPageWidthDlu = 300;
inline constexpr int16_t kPageHeightDlu = 200;

const PageLayout& LayoutOf(PageId page);
std::span<const PageLayout> AllLayouts();
PageId PageFromNumber(int number);  // 2..27
std::string_view CaptionOf(PageId page);

// Where a page shows how far a long operation has got (a line of text above
// a bar), in dialog units, or nullptr for a page without long operations.
struct ProgressArea {
    int16_t x, w;
    int16_t textY, textH;
    int16_t barY, barH;
};
const ProgressArea* ProgressAreaOf(PageId page);

// The declaration of a control, or nullptr.
const ControlDecl* FindControl(PageId page, int id);

}  // namespace qta1
