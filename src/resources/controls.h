// The shape of a control declaration: what a page window holds, as the
// layouts declare it and the platforms build it. No page is named here.
#pragma once

#include <cstdint>

namespace qta1 {

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

// A box that holds text: it starts empty, and its label names it.
constexpr bool IsEdit(ControlKind kind) {
    return kind == ControlKind::Edit || kind == ControlKind::ReadOnlyEdit ||
           kind == ControlKind::PasswordEdit;
}

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

}  // namespace qta1
