#include "printing/ChosenPages.h"

#include <cstddef>

std::int32_t SamePageIn(const TPageList& from, std::int32_t page, const TPageList& to) {
  if (page < 1 || static_cast<std::size_t>(page) > from.size()) return 0;
  const TPageEntry& shown = from[static_cast<std::size_t>(page) - 1];
  // The first row's place in its group says which of the group's pages it is.
  std::size_t groupStart = static_cast<std::size_t>(page) - 1;
  while (groupStart > 0 && from[groupStart - 1].GroupIndex == shown.GroupIndex) --groupStart;
  const std::size_t ordinal = static_cast<std::size_t>(page) - 1 - groupStart;
  for (std::size_t i = 0; i < to.size(); ++i) {
    if (to[i].GroupIndex != shown.GroupIndex) continue;
    const std::size_t found = i + ordinal;
    if (found < to.size() && to[found].GroupIndex == shown.GroupIndex) return static_cast<std::int32_t>(found + 1);
    return 0;
  }
  return 0;
}
