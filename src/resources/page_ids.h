// The pages by name, numbered as their classes CPage<n>PropPage (the dialog
// of page n is 100 + n, its controls the block 1000 + 100 n), from the rows
// of the page table; and the function each page unit defines to make its page.
#pragma once

#include <memory>

#include "resources/page_table.h"

namespace qta1 {

inline constexpr int kPageDialogBase = QTA1_PAGE_DIALOG(0);

#define QTA1_PAGE_ID(id, number, caption) id = number,
enum class PageId : int { QTA1_PAGES(QTA1_PAGE_ID) };
#undef QTA1_PAGE_ID

#define QTA1_COUNT_PAGE(id, number, caption) +1
inline constexpr int kPageCount = 0 QTA1_PAGES(QTA1_COUNT_PAGE);
#undef QTA1_COUNT_PAGE

// Numbers 2..98, once each: the dialog, caption string and control block of
// one page never overlap another's, nor the about box (100) or the module's
// own strings.
constexpr bool PageNumbersDistinct() {
#define QTA1_PAGE_NUMBER(id, number, caption) number,
    constexpr int kNumbers[] = {QTA1_PAGES(QTA1_PAGE_NUMBER)};
#undef QTA1_PAGE_NUMBER
    for (int i = 0; i < kPageCount; ++i) {
        if (kNumbers[i] < 2 || kNumbers[i] > 98) return false;
        for (int j = i + 1; j < kPageCount; ++j) {
            if (kNumbers[i] == kNumbers[j]) return false;
        }
    }
    return true;
}
static_assert(PageNumbersDistinct(), "two pages of the page table share a number");

class CPropPage;
class CSheet;

#define QTA1_PAGE_FACTORY(id, number, caption) \
    std::unique_ptr<CPropPage> Make##id##Page(CSheet& sheet);
QTA1_PAGES(QTA1_PAGE_FACTORY)
#undef QTA1_PAGE_FACTORY

}  // namespace qta1
