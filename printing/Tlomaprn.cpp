#include "printing/Tlomaprn.h"

bool Tlomaprn::MakePages() {
  FPageCount = 0;
  FFirstRow = 0;
  FEndRow = 0;
  return true;
}

bool Tlomaprn::DrawPage(Canvas&, std::int32_t, std::uint16_t, double) { return true; }
