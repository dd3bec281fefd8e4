// The controls of each page, one function per page named after its row in
// the page table, grouped by subsystem in layouts_<subsystem>.cpp.
#pragma once

#include <span>

#include "resources/controls.h"
#include "resources/page_ids.h"
#include "resources/resource_ids.h"

namespace qta1 {

#define QTA1_PAGE_CONTROLS(id, number, caption) \
    std::span<const ControlDecl> id##Controls();
QTA1_PAGES(QTA1_PAGE_CONTROLS)
#undef QTA1_PAGE_CONTROLS

}  // namespace qta1
