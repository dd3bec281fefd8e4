#include "app/page_registry.h"

#include <cstddef>

#include "housekeeping/change_log.h"
#include "resources/layout.h"

namespace qta1 {

namespace {

// Node Information is always the first tab; a node that has never been
// configured gets Import / Export beside it and nothing else.
constexpr PageId kHomePage = PageId::NodeInformation;
constexpr PageId kUnconfiguredPage = PageId::ImportExport;

#define QTA1_SET_ENTRY(id) PageId::id,
constexpr PageId kUserSet[] = {QTA1_USER_SET(QTA1_SET_ENTRY)};
constexpr PageId kTechnicianSet[] = {QTA1_TECHNICIAN_SET(QTA1_SET_ENTRY)};
#undef QTA1_SET_ENTRY

// A set names each of its pages once, so that it is a tab order; the home
// page is the first tab of every sheet and belongs to neither.
template <std::size_t kSize>
constexpr bool Ordered(const PageId (&set)[kSize]) {
    for (std::size_t i = 0; i < kSize; ++i) {
        if (set[i] == kHomePage) return false;
        for (std::size_t j = i + 1; j < kSize; ++j) {
            if (set[i] == set[j]) return false;
        }
    }
    return true;
}
static_assert(Ordered(kUserSet), "the user set names a page twice, or the home page");
static_assert(Ordered(kTechnicianSet), "the technician set names a page twice, or the home page");

}  // namespace

const SheetPages& PageRegistry() {
#define QTA1_SHEET_PAGE(id, number, caption) \
    {PageId::id, LayoutOf(PageId::id).controls, &Make##id##Page, caption},
    static const SheetPage kPages[] = {QTA1_PAGES(QTA1_SHEET_PAGE)};
#undef QTA1_SHEET_PAGE
    static const SheetPages kRegistry{kPages,   kHomePage,      kUnconfiguredPage,
                                      kUserSet, kTechnicianSet, &MakeNodeChangeLog};
    return kRegistry;
}

std::span<const PageId> UserSet() { return kUserSet; }
std::span<const PageId> TechnicianSet() { return kTechnicianSet; }

}  // namespace qta1
