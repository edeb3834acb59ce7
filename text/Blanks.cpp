#include "text/Blanks.h"

std::string_view TrimmedBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void TrimBlanks(std::string& text) {
  std::string_view kept = TrimmedBlanks(text);
  if (kept.size() != text.size()) text = std::string(kept);
}
