#pragma once
// Field windows of a fixed-width line: positions count bytes from 1; a window
// past the end of the line yields fewer bytes or none and never fails.
#include <cstddef>
#include <string>
#include <string_view>

// A field of a fixed-width line: where it starts (from 1) and how many bytes.
struct FieldWindow {
  std::size_t Pos;
  std::size_t Width;
};

constexpr std::string_view Field(std::string_view line, std::size_t pos, std::size_t width) {
  if (pos == 0 || pos > line.size()) return {};
  return line.substr(pos - 1, width);
}

constexpr std::string_view Field(std::string_view line, FieldWindow window) {
  return Field(line, window.Pos, window.Width);
}

constexpr std::string_view FieldFrom(std::string_view line, std::size_t pos) {
  if (pos == 0 || pos > line.size()) return {};
  return line.substr(pos - 1);
}

// `text` as a field of `width` bytes: cut, or padded with blanks.
inline std::string Padded(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

// GBK `text` as a field of `width` bytes, padded with blanks; a text too long
// is cut before the first character that does not fit whole, so that no
// double-byte character loses its second byte (which would join the next
// field's first byte into a character of its own).
inline std::string PaddedGbk(std::string_view text, std::size_t width) {
  std::size_t end = 0;
  while (end < text.size()) {
    const auto lead = static_cast<unsigned char>(text[end]);
    const std::size_t size = lead >= 0x81 && lead <= 0xFE && end + 1 < text.size() ? 2 : 1;
    if (end + size > width) break;
    end += size;
  }
  std::string out(text.substr(0, end));
  out.resize(width, ' ');
  return out;
}
