// The pages by name, numbered as their classes CPage<n>PropPage (the dialog
// of page n is IDD_<PAGE> = 100 + n), from the rows of the page table; and
// the function each page unit defines to make its page.
#pragma once

#include <memory>

#include "resources/page_table.h"
#include "resources/resource_ids.h"

namespace qta1 {

inline constexpr int kPageDialogBase = 100;

#define QTA1_PAGE_ID(id, dialog, caption, user, technician) id = (dialog)-kPageDialogBase,
enum class PageId : int { QTA1_PAGES(QTA1_PAGE_ID) };
#undef QTA1_PAGE_ID

#define QTA1_COUNT_PAGE(id, dialog, caption, user, technician) +1
inline constexpr int kPageCount = 0 QTA1_PAGES(QTA1_COUNT_PAGE);
#undef QTA1_COUNT_PAGE

class CPropPage;
class CSheet;

#define QTA1_PAGE_FACTORY(id, dialog, caption, user, technician) \
    std::unique_ptr<CPropPage> Make##id##Page(CSheet& sheet);
QTA1_PAGES(QTA1_PAGE_FACTORY)
#undef QTA1_PAGE_FACTORY

}  // namespace qta1
