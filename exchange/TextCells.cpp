#include "exchange/TextCells.h"


namespace exchange {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Calls fn(position, length) for each character of GBK text: one byte for
// ASCII (and for a stray byte), two for a double-byte character.
template <typename Fn>
void ForEachGbkChar(std::string_view gbk, Fn&& fn) {
  for (std::size_t i = 0; i < gbk.size();) {
    const auto c = static_cast<unsigned char>(gbk[i]);
    const std::size_t len = c >= 0x81 && c <= 0xFE && i + 1 < gbk.size() ? 2 : 1;
    fn(i, len);
    i += len;
  }
}

bool IsFullWidthBlank(std::string_view gbk, std::size_t i, std::size_t len) {
  return len == 2 && gbk[i] == '\xA1' && gbk[i + 1] == '\xA1';
}

}  // namespace

std::string_view TrimCell(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimGbk(std::string_view gbk) {
  // Character by character from the front: A1 A1 read from the back could
  // be the second half of one character and the first of the next.
  std::size_t begin = std::string_view::npos, end = 0;
  ForEachGbkChar(gbk, [&](std::size_t i, std::size_t len) {
    if ((len == 1 && IsBlank(gbk[i])) || IsFullWidthBlank(gbk, i, len)) return;
    if (begin == std::string_view::npos) begin = i;
    end = i + len;
  });
  if (begin == std::string_view::npos) return {};
  return gbk.substr(begin, end - begin);
}

std::string StudentNumberKey(std::string_view gbk) {
  const std::string_view text = TrimGbk(gbk);
  std::string out;
  out.reserve(text.size());
  ForEachGbkChar(text, [&](std::size_t i, std::size_t len) {
    const auto t = static_cast<unsigned char>(text[i + len - 1]);
    if (len == 2 && text[i] == '\xA3' && t >= 0xB0 && t <= 0xB9) {
      out.push_back(static_cast<char>('0' + (t - 0xB0)));
    } else {
      out.append(text.substr(i, len));
    }
  });
  return out;
}

std::string HeadingKey(std::string_view gbk) {
  const std::string_view text = TrimGbk(gbk);
  std::string out;
  out.reserve(text.size());
  ForEachGbkChar(text, [&](std::size_t i, std::size_t len) {
    if (len == 1 && text[i] >= 'A' && text[i] <= 'Z') {
      out.push_back(static_cast<char>(text[i] - 'A' + 'a'));
    } else {
      out.append(text.substr(i, len));
    }
  });
  return out;
}

}  // namespace exchange
