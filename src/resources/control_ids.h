// How a page's control identifiers follow from its row in the page table:
// page n's controls are numbered 1000 + 100 n + 1 on, in the order its
// block names them, and a block that outgrows its hundred does not build.
#pragma once

#include "resources/page_ids.h"

// The first control of page `id`.
#define QTA1_FIRST_CONTROL(id) (1001 + 100 * static_cast<int>(::qta1::PageId::id))

// The last control of page `id` is still inside the page's block.
#define QTA1_CONTROLS_FIT(id, last)                            \
    static_assert((last) < QTA1_FIRST_CONTROL(id) + 99,        \
                  "the controls of " #id " outgrow its block")
