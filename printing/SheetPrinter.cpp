#include "printing/SheetPrinter.h"

bool SheetPrinter::MakePages() {
  FPageCount = 0;
  FFirstRow = 0;
  FEndRow = 0;
  return true;
}

bool SheetPrinter::DrawPage(Canvas&, std::int32_t, std::uint16_t, double) { return true; }
