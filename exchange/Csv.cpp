#include "exchange/Csv.h"

#include <unicode/ustring.h>

#include <array>
#include <cstring>

namespace exchange {

namespace {

bool HasPrefix(std::string_view bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() && bytes.substr(0, prefix.size()) == prefix;
}

// UTF-16 with its byte order mark to UTF-8; false when the bytes cannot be
// UTF-16 (an odd count) or hold a NUL character.
bool Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out) {
  if (bytes.size() % 2 != 0) return false;
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto a = static_cast<unsigned char>(bytes[2 * i]);
    const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    if (units[i] == 0) return false;
  }
  out.assign(units.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  // A lone surrogate becomes U+FFFD, which no grade or number contains.
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                     reinterpret_cast<const UChar*>(units.data()), static_cast<int32_t>(units.size()), 0xFFFD,
                     nullptr, &status);
  if (U_FAILURE(status)) return false;
  out.resize(static_cast<std::size_t>(length));
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    // Runs of ASCII eight bytes at a time: most of a CSV file.
    while (i + 8 <= n) {
      std::uint64_t block;
      std::memcpy(&block, p + i, 8);
      if (block & 0x8080808080808080ULL) break;
      i += 8;
    }
    if (i >= n) break;
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0) lo = 0xA0;  // overlong
      if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (i + len > n) return false;
    if (p[i + 1] < lo || p[i + 1] > hi) return false;
    for (std::size_t k = 2; k < len; ++k) {
      if (p[i + k] < 0x80 || p[i + k] > 0xBF) return false;
    }
    i += len;
  }
  return true;
}

bool IsValidGbk(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c == 0x80 || c == 0xFF || i + 1 >= n) return false;
    const unsigned char t = p[i + 1];
    if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
    i += 2;
  }
  return true;
}

CsvText DecodeCsvBytes(std::string_view bytes) {
  CsvText out;
  auto trouble = [&](CsvText::Problem p) {
    out.Trouble = p;
    out.Original = {};
    out.Converted.clear();
    out.IsConverted = false;
    return out;
  };
  if (bytes.empty()) return trouble(CsvText::Problem::Empty);
  // A workbook handed over instead of its CSV: xlsx is a zip, xls a compound file.
  if (HasPrefix(bytes, std::string_view("PK\x03\x04", 4)) ||
      HasPrefix(bytes, std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)))
    return trouble(CsvText::Problem::Workbook);

  if (HasPrefix(bytes, "\xFF\xFE") || HasPrefix(bytes, "\xFE\xFF")) {
    // Excel's "Unicode text" is UTF-16 with a byte order mark.
    std::string utf8;
    if (!Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE', utf8))
      return trouble(bytes.find('\0') != std::string_view::npos ? CsvText::Problem::NotText
                                                                 : CsvText::Problem::UnknownEncoding);
    out.Converted = std::move(utf8);
    out.IsConverted = true;
    out.Encoding = CsvEncoding::Utf8;
    out.EncodingName = "UTF-16";
  } else if (HasPrefix(bytes, "\xEF\xBB\xBF")) {
    out.Original = bytes.substr(3);
    out.Encoding = CsvEncoding::Utf8;
    out.EncodingName = "UTF-8 BOM";
  } else {
    out.Original = bytes;
  }
  const std::string_view text = out.Text();
  if (text.find('\0') != std::string_view::npos) return trouble(CsvText::Problem::NotText);
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return trouble(CsvText::Problem::Empty);
  if (*out.EncodingName != '\0') {
    if (!IsValidUtf8(text)) return trouble(CsvText::Problem::UnknownEncoding);
    return out;
  }
  if (IsValidUtf8(text)) {
    out.Encoding = CsvEncoding::Utf8;
    out.EncodingName = "UTF-8";
  } else if (IsValidGbk(text)) {
    out.Encoding = CsvEncoding::Gbk;
    out.EncodingName = "GBK";
  } else {
    return trouble(CsvText::Problem::UnknownEncoding);
  }
  return out;
}

CsvParser::Status CsvParser::Next(std::vector<std::string>& fields) {
  const std::size_t n = text_.size();
  if (pos_ >= n) return Status::End;
  recordLine_ = line_;
  std::size_t count = 0;
  auto field = [&]() -> std::string& {
    if (count == kMaxFields) {
      dropped_.clear();
      return dropped_;
    }
    if (count == fields.size()) fields.emplace_back();
    std::string& f = fields[count++];
    f.clear();
    return f;
  };
  const char* data = text_.data();
  for (;;) {
    std::string& f = field();
    if (pos_ < n && data[pos_] == '"') {
      const std::size_t openLine = line_;
      ++pos_;
      for (;;) {
        const void* q = std::memchr(data + pos_, '"', n - pos_);
        if (q == nullptr) {
          recordLine_ = openLine;
          pos_ = n;
          fields.resize(count);
          return Status::UnclosedQuote;
        }
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(q) - data);
        for (std::size_t k = pos_; k < at; ++k) {
          // CR LF inside quotes counts as one line, like a lone CR or LF.
          if (data[k] == '\n' || (data[k] == '\r' && (k + 1 >= n || data[k + 1] != '\n'))) ++line_;
        }
        f.append(data + pos_, at - pos_);
        pos_ = at + 1;
        if (pos_ < n && data[pos_] == '"') {
          f.push_back('"');
          ++pos_;
          continue;
        }
        break;
      }
    }
    // Unquoted text, or what follows a closing quote, up to the separator or
    // the end of the line.
    const std::size_t start = pos_;
    while (pos_ < n) {
      const char c = data[pos_];
      if (c == sep_ || c == '\n' || c == '\r') break;
      ++pos_;
    }
    f.append(data + start, pos_ - start);
    if (pos_ < n && data[pos_] == sep_) {
      ++pos_;
      continue;
    }
    if (pos_ < n) {  // a line end
      if (data[pos_] == '\r' && pos_ + 1 < n && data[pos_ + 1] == '\n') ++pos_;
      ++pos_;
      ++line_;
    }
    fields.resize(count);
    return Status::Record;
  }
}

char DetectSeparator(std::string_view text, std::size_t offset) {
  static constexpr std::array<char, 3> kCandidates = {',', '\t', ';'};
  char best = ',';
  std::size_t bestCount = 0;
  std::vector<std::string> fields;
  for (char sep : kCandidates) {
    CsvParser parser(text, sep);
    parser.Reset(offset, 1);
    parser.Next(fields);
    if (fields.size() > bestCount) {
      bestCount = fields.size();
      best = sep;
    }
  }
  return best;
}

std::string InertText(std::string_view text) {
  if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos)
    return std::string(text);
  // A signed number is a number to every spreadsheet, and nothing it runs.
  const std::string_view digits = text.substr(1);
  const bool number = (text.front() == '-' || text.front() == '+') && !digits.empty() &&
                      digits.find_first_not_of("0123456789.") == std::string_view::npos &&
                      digits.find('.') == digits.rfind('.') && digits.front() != '.';
  if (number) return std::string(text);
  return "'" + std::string(text);
}

std::string CsvField(std::string_view text, char separator) {
  if (text.find_first_of(std::string{'"', '\r', '\n', separator}) == std::string_view::npos)
    return std::string(text);
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('"');
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

}  // namespace exchange
