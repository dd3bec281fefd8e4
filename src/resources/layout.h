// Page layouts: every control of every page declared once, and each page's
// dialog and tab caption, looked up by page. The headless platform builds
// its controls from these tables, the Win32 platform builds its dialog
// templates from them, and tests address controls by the labels written here.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "resources/controls.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

struct PageLayout {
    PageId page;
    int dialogId;
    const char* caption;  // tab caption
    std::span<const ControlDecl> controls;
};

inline constexpr int16_t kPageWidthDlu = 300;
inline constexpr int16_t kPageHeightDlu = 200;

// Every page in the order of the page table. A page that is not in it has
// no dialog, an empty caption and no controls.
std::span<const PageLayout> AllLayouts();
const PageLayout& LayoutOf(PageId page);
std::string_view CaptionOf(PageId page);
std::optional<PageId> PageByCaption(std::string_view caption);

// Where a page shows how far a long operation has got (a line of text above
// a bar), in dialog units, or nullptr for a page without long operations.
struct ProgressArea {
    int16_t x, w;
    int16_t textY, textH;
    int16_t barY, barH;
};
const ProgressArea* ProgressAreaOf(PageId page);

// The declaration of a control of the page, or nullptr.
const ControlDecl* FindControl(PageId page, int id);

}  // namespace qta1
