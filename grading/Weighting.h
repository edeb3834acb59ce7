#pragma once
// The total rule: the weighted total of coursework and examination at the
// course's coursework share. The texts are read by ReadNumber (text/).
#include <cstdint>
#include <string>
#include <string_view>

// The total rule on numbers already read: share% of coursework plus the rest
// of examination, each step in extended precision, the sum once to double,
// rounded half to even.
std::int64_t WeightedTotal(long double share, long double coursework, long double examination);

// The total grade's text, from the three texts as they stand:
// share% of coursework plus the rest of examination, in extended precision,
// rounded half to even, right-aligned in 3.
std::string ComputeTotal(std::string_view share, std::string_view coursework, std::string_view examination);
