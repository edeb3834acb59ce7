#pragma once
// The one codec of the program. Model text is GBK bytes everywhere; these
// functions are the only place where it meets UTF-8 (source literals,
// terminal output, widget text).
#include <optional>
#include <string>
#include <string_view>

// A UTF-8 literal of the source as GBK. A literal without a GBK form is a
// programming error and throws std::logic_error.
std::string Gbk(std::string_view utf8);

// Text the user typed, as GBK; nullopt when any character has no GBK form,
// so the caller can refuse it instead of storing something else.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// UTF-8 (or any bytes) as GBK for showing in a preview beside GBK text:
// characters that have no GBK form, and bytes that are no UTF-8, show as
// '?'. Never for text that is stored.
std::string LossyGbk(std::string_view utf8);

// GBK bytes as UTF-8 for display. Bytes that do not decode (a double-byte
// character cut by a field window, binary junk) show as U+FFFD; the model
// bytes themselves are never changed by this.
std::string GbkToUtf8(std::string_view gbk);
