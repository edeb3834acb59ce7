#pragma once
// A page of one layout of the sheet found in another layout of the same book
// and mode: the page the preview shows, among the pages of chosen courses.
#include <cstdint>

#include "printing/GradeSheetPrinter.h"

// The number (from 1) of the page of `to` that is page `page` of `from`:
// the same group, the same place in it. 0 when `to` lacks that group (its
// course is not chosen) or `page` is not a page of `from`.
std::int32_t SamePageIn(const TPageList& from, std::int32_t page, const TPageList& to);
