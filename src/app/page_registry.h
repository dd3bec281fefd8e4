// The application's page registry: one row per page in the page table
// (resources/page_table.h) gives the page's identifier, dialog, tab caption,
// layout, the function that makes it, and its place in the user and the
// technician sets. The sheet is built from it; every page count and order
// comes from it.
#pragma once

#include <span>

#include "frame/sheet.h"
#include "resources/page_ids.h"

namespace qta1 {

// Every page with its controls and its maker, and the page sets.
const SheetPages& PageRegistry();

// Tab order after Node Information.
std::span<const PageId> UserSet();
std::span<const PageId> TechnicianSet();

}  // namespace qta1
