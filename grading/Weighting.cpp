#include "grading/Weighting.h"

#include <cstdint>

#include "grading/Numbers.h"
#include "text/ReadNumber.h"

std::int64_t WeightedTotal(long double share, long double coursework, long double examination) {
  // Every step in extended precision, then the sum once to double: with whole
  // grades and shares this yields the exact weighted sum (30/0/85 -> 59.5).
  const long double w = share / 100.0L;
  const long double t = w * coursework + (1.0L - w) * examination;
  return RoundHalfEven(static_cast<double>(t));
}

std::string ComputeTotal(std::string_view share, std::string_view coursework, std::string_view examination) {
  return FormatInt(WeightedTotal(ReadNumber(share), ReadNumber(coursework), ReadNumber(examination)), 3);
}
