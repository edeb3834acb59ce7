#pragma once
// Where the model's bytes meet Qt's strings. Model text is GBK and paths are
// the system's bytes; a QString exists only for showing or for a Qt call, and
// nothing read back from one goes into a record without the codec's check.
#include <QString>
#include <optional>
#include <string>
#include <string_view>

// GBK text of the model as a QString; bytes that do not decode show as U+FFFD.
QString GbkToQString(std::string_view gbk);

// Typed text as GBK; nullopt when a character has no GBK form, so the caller
// can refuse it instead of storing something else.
std::optional<std::string> QStringToGbk(const QString& text);

// A path's bytes as Qt shows and opens them, and back (QFile's local 8-bit
// names: every byte kept).
QString PathToQString(std::string_view bytes);
std::string PathBytes(const QString& path);
