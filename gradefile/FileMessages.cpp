#include "gradefile/FileMessages.h"

#include <cstdint>

#include "text/Texts.h"

namespace {

// The length of the UTF-8 sequence at the start of `bytes`, 0 when it is
// not a well-formed one (overlong forms, surrogates and code points past
// U+10FFFF included).
std::size_t Utf8Length(std::string_view bytes) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = at(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint32_t low = 0;  // the smallest code point this length may carry
  std::uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, low = 0x80, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, low = 0x800, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, low = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((at(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (at(i) & 0x3F);
  }
  if (code < low || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string DisplayPath(std::string_view bytes) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const auto byte = static_cast<unsigned char>(bytes[0]);
    const std::size_t length = Utf8Length(bytes);
    const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(bytes[1]) < 0xA0;
    if (c1 || length == 0 || byte < 0x20 || byte == 0x7F) {
      const std::size_t escaped = c1 ? 2 : 1;
      for (std::size_t i = 0; i < escaped; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += "\\x";
        out += hex[b >> 4];
        out += hex[b & 0x0F];
      }
      bytes.remove_prefix(escaped);
    } else {
      out.append(bytes.substr(0, length));
      bytes.remove_prefix(length);
    }
  }
  return out;
}

std::string FileErrorReason(const platform::FileStatus& status) {
  using platform::FileError;
  switch (status.Error) {
    case FileError::None: return {};
    case FileError::NoSuchFile: return std::string(texts::kNoSuchFile);
    case FileError::Permission: return std::string(texts::kPermission);
    case FileError::ReadOnlyFile: return std::string(texts::kReadOnlyFile);
    case FileError::NotOwner: return std::string(texts::kNotOwner);
    case FileError::ReadOnlyFileSystem: return std::string(texts::kReadOnlyFileSystem);
    case FileError::DiskFull: return std::string(texts::kDiskFull);
    case FileError::IsFolder: return std::string(texts::kIsFolder);
    case FileError::NotRegular: return std::string(texts::kNotRegular);
    case FileError::TooLarge: return std::string(texts::kTooLarge);
    case FileError::NameTooLong: return std::string(texts::kNameTooLong);
    case FileError::LinkLoop: return std::string(texts::kLinkLoop);
    case FileError::Busy: return std::string(texts::kBusy);
    case FileError::Other: break;
  }
  return texts::SystemError(status.Code);
}
