#include "app/page_registry.h"

#include <array>
#include <cstddef>

#include "resources/layout.h"

namespace qta1 {

namespace {

// Node Information is always the first tab; a node that has never been
// configured gets Import / Export beside it and nothing else.
constexpr PageId kHomePage = PageId::NodeInformation;
constexpr PageId kUnconfiguredPage = PageId::ImportExport;

struct Row {
    PageId id;
    int user;  // position in the user set, 0: not in it
    int technician;
};

#define QTA1_PAGE_ROW(id, dialog, caption, user, technician) {PageId::id, user, technician},
constexpr Row kRows[] = {QTA1_PAGES(QTA1_PAGE_ROW)};
#undef QTA1_PAGE_ROW

constexpr std::size_t Members(int Row::*position) {
    std::size_t members = 0;
    for (const Row& row : kRows) members += row.*position > 0 ? 1 : 0;
    return members;
}

// A set's positions count 1, 2, 3 ... once each, so that the set is a tab
// order without gaps; the home page belongs to neither set.
constexpr bool Ordered(int Row::*position) {
    for (std::size_t place = 1; place <= Members(position); ++place) {
        int holders = 0;
        for (const Row& row : kRows) holders += row.*position == static_cast<int>(place) ? 1 : 0;
        if (holders != 1) return false;
    }
    for (const Row& row : kRows) {
        if (row.*position < 0 || (row.id == kHomePage && row.*position != 0)) return false;
    }
    return true;
}
static_assert(Ordered(&Row::user), "the user set's positions in the page table");
static_assert(Ordered(&Row::technician), "the technician set's positions in the page table");

template <int Row::*kPosition>
constexpr auto SetOf() {
    std::array<PageId, Members(kPosition)> set{};
    for (const Row& row : kRows) {
        if (row.*kPosition > 0) set[static_cast<std::size_t>(row.*kPosition - 1)] = row.id;
    }
    return set;
}
constexpr auto kUserSet = SetOf<&Row::user>();
constexpr auto kTechnicianSet = SetOf<&Row::technician>();

}  // namespace

const SheetPages& PageRegistry() {
#define QTA1_SHEET_PAGE(id, dialog, caption, user, technician) \
    {PageId::id, LayoutOf(PageId::id).controls, &Make##id##Page, caption},
    static const SheetPage kPages[] = {QTA1_PAGES(QTA1_SHEET_PAGE)};
#undef QTA1_SHEET_PAGE
    static const SheetPages kRegistry{kPages, kHomePage, kUnconfiguredPage, kUserSet,
                                      kTechnicianSet};
    return kRegistry;
}

std::span<const PageId> UserSet() { return kUserSet; }
std::span<const PageId> TechnicianSet() { return kTechnicianSet; }

}  // namespace qta1
