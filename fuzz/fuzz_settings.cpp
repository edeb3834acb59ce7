// The settings record decoder on arbitrary bytes at an arbitrary printer
// resolution: what it decodes is within the bounds the rest of the program
// relies on, and encoding and decoding it again changes nothing.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "printing/PrintSettings.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckFont(const FontSpec& font) {
  Check(font.Size >= 1 && font.Size <= kMaxFontPoints);
  Check(!font.Name.empty() && font.Name.size() <= 100);
  Check(font.Name.find('\0') == std::string::npos);
  Check((font.Style & ~(fsBold | fsItalic | fsUnderline | fsStrikeOut)) == 0);
}

void CheckMargins(const TDeviceMetrics& printer) {
  const std::int64_t limit = static_cast<std::int64_t>(printer.Dpi > 0 ? printer.Dpi : 600) * kMaxMarginInches;
  for (std::int32_t margin : {printer.MarginLeft, printer.MarginRight, printer.MarginTop, printer.MarginBottom})
    Check(margin >= 0 && margin <= limit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the printer's resolution, 0 (none) included.
  const std::int32_t dpi = (data[0] | data[1] << 8) % 4801;
  const std::string_view record(reinterpret_cast<const char*>(data) + 2, size - 2);

  PrintSetup decoded;
  decoded.Metrics[DevicePrinter].Dpi = dpi;
  DecodePrintSettings(record, decoded);
  CheckFont(decoded.BodyFont);
  CheckFont(decoded.TitleFont);
  CheckMargins(decoded.Metrics[DevicePrinter]);

  const std::string encoded = EncodePrintSettings(decoded);
  Check(encoded.size() == kSettingsRecordSize);
  PrintSetup again;
  again.Metrics[DevicePrinter].Dpi = dpi;
  DecodePrintSettings(encoded, again);
  Check(again.BodyFont == decoded.BodyFont);
  Check(again.TitleFont == decoded.TitleFont);
  Check(again.Metrics[DevicePrinter] == decoded.Metrics[DevicePrinter]);
  Check(EncodePrintSettings(again) == encoded);

  // A whole record decodes from its own bytes: what follows it is ignored.
  if (record.size() >= kSettingsRecordSize) {
    PrintSetup first;
    first.Metrics[DevicePrinter].Dpi = dpi;
    DecodePrintSettings(record.substr(0, kSettingsRecordSize), first);
    Check(first.BodyFont == decoded.BodyFont && first.TitleFont == decoded.TitleFont);
    Check(first.Metrics[DevicePrinter] == decoded.Metrics[DevicePrinter]);
  }
  return 0;
}
