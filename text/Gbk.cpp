#include "text/Gbk.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// ICU's "GBK" is the Windows code page 936 table, the code page of the
// grade files.
UConverter* Converter() {
  thread_local ConverterPtr converter = [] {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr c(ucnv_open("GBK", &status));
    if (U_FAILURE(status) || !c) throw std::runtime_error("the GBK converter of ICU is not available");
    return c;
  }();
  return converter.get();
}

// Every byte that does not decode shows as U+FFFD, whatever ICU's default
// substitution for the code page would be.
void ReplacementCallback(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                         UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone
  static const UChar replacement = 0xFFFD;
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &replacement, 1, 0, status);
}

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// UTF-8 to UTF-16; nullopt for malformed UTF-8.
std::optional<std::u16string> ToUtf16(std::string_view utf8) {
  std::u16string out(utf8.size() + 1, u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &length, utf8.data(),
                static_cast<int32_t>(utf8.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  auto utf16 = ToUtf16(utf8);
  if (!utf16) return std::nullopt;
  UConverter* conv = Converter();
  ucnv_reset(conv);
  UErrorCode status = U_ZERO_ERROR;
  // Stop at the first character without a GBK form instead of writing a
  // substitute that would look like a real character.
  ucnv_setFromUCallBack(conv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  ucnv_setFallback(conv, false);
  std::string out(utf16->size() * 2 + 8, '\0');
  int32_t length = ucnv_fromUChars(conv, out.data(), static_cast<int32_t>(out.size()),
                                   reinterpret_cast<const UChar*>(utf16->data()),
                                   static_cast<int32_t>(utf16->size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::string Gbk(std::string_view utf8) {
  auto gbk = Utf8ToGbk(utf8);
  if (!gbk) throw std::logic_error("literal without a GBK form: " + std::string(utf8));
  return *gbk;
}

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  UConverter* conv = Converter();
  ucnv_reset(conv);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(conv, ReplacementCallback, nullptr, nullptr, nullptr, &status);
  // Each byte gives at most one UTF-16 unit (a pair of bytes gives one).
  std::u16string utf16(gbk.size() + 1, u'\0');
  int32_t length = ucnv_toUChars(conv, reinterpret_cast<UChar*>(utf16.data()), static_cast<int32_t>(utf16.size()),
                                 gbk.data(), static_cast<int32_t>(gbk.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    utf16.assign(static_cast<std::size_t>(length) + 1, u'\0');
    status = U_ZERO_ERROR;
    ucnv_reset(conv);
    length = ucnv_toUChars(conv, reinterpret_cast<UChar*>(utf16.data()), static_cast<int32_t>(utf16.size()),
                           gbk.data(), static_cast<int32_t>(gbk.size()), &status);
  }
  if (U_FAILURE(status)) return std::string();
  std::string out(static_cast<std::size_t>(length) * 3 + 1, '\0');
  int32_t outLength = 0;
  status = U_ZERO_ERROR;
  u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &outLength, reinterpret_cast<const UChar*>(utf16.data()),
              length, &status);
  if (U_FAILURE(status)) return std::string();
  out.resize(static_cast<std::size_t>(outLength));
  return out;
}

std::string LossyGbk(std::string_view utf8) {
  if (auto whole = Utf8ToGbk(utf8)) return *whole;
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (i + len > utf8.size()) len = utf8.size() - i;
    const auto piece = Utf8ToGbk(utf8.substr(i, len));
    out += piece ? *piece : std::string("?");
    i += len;
  }
  return out;
}
