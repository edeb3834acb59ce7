#pragma once
#include <cstdint>

#include "printing/Canvas.h"

// Base of the sheet printers: lays a sheet out into pages and draws one page
// on any canvas, for the device (0 printer, 1 screen) at a scale. Pages are
// numbered from 1 in 32 bits: a book of many small courses has more pages
// than 16 bits can count.
class SheetPrinter {
 public:
  virtual ~SheetPrinter() = default;
  virtual bool MakePages();
  virtual bool DrawPage(Canvas& canvas, std::int32_t PageNo, std::uint16_t Device, double Scale);

  std::int32_t FLeft = 0;
  std::int32_t FTop = 0;
  std::int32_t FHalfLine = 0;
  std::int32_t FHalfChar = 0;
  std::int32_t FCharWidth = 0;
  std::int32_t FLineHeight = 0;
  std::int32_t FPageCount = 0;
  std::int32_t FFirstRow = 0;
  std::int32_t FEndRow = 0;
};
