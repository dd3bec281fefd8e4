#include <algorithm>

#include "resources/layout.h"
#include "resources/page_layouts.h"

namespace qta1 {

namespace {

std::span<const PageLayout> Table() {
#define QTA1_PAGE_LAYOUT(id, number, caption) \
    {PageId::id, QTA1_PAGE_DIALOG(number), caption, id##Controls()},
    static const PageLayout kLayouts[] = {QTA1_PAGES(QTA1_PAGE_LAYOUT)};
#undef QTA1_PAGE_LAYOUT
    return kLayouts;
}

}  // namespace

std::span<const PageLayout> AllLayouts() { return Table(); }

const PageLayout& LayoutOf(PageId page) {
    static const PageLayout kNoPage{PageId{}, 0, "", {}};
    const auto layouts = Table();
    const auto it = std::find_if(layouts.begin(), layouts.end(),
                                 [page](const PageLayout& layout) { return layout.page == page; });
    return it != layouts.end() ? *it : kNoPage;
}

std::string_view CaptionOf(PageId page) { return LayoutOf(page).caption; }

std::optional<PageId> PageByCaption(std::string_view caption) {
    for (const PageLayout& layout : Table()) {
        if (caption == layout.caption) return layout.page;
    }
    return std::nullopt;
}

const ControlDecl* FindControl(PageId page, int id) {
    if (id == IDC_STATIC) return nullptr;
    const auto& controls = LayoutOf(page).controls;
    auto it = std::find_if(controls.begin(), controls.end(),
                           [id](const ControlDecl& c) { return c.id == id; });
    return it != controls.end() ? &*it : nullptr;
}

}  // namespace qta1
