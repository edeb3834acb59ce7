#pragma once
// The print set-up the main window owns (fonts and page metrics) and the
// settings file "qprtpara.dat" that keeps fonts and margins between runs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "printing/Canvas.h"
#include "printing/PageMetrics.h"

struct PrintSetup {
  FontSpec BodyFont;
  FontSpec TitleFont;
  PageMetrics Metrics;
};

// The program's directory with its trailing separator, cut to 100 bytes.
std::string MakeAppDir(std::string_view directoryWithSeparator);

// AppDir followed by "qprtpara.dat", the whole cut to 112 bytes.
std::string SettingsFileName(std::string_view appDir);

// Where the settings file is kept. AppDir is the program's folder; userDir
// the user's own configuration folder (both with their trailing separator;
// userDir empty when there is none). The user's copy, when it exists, is the
// one read and written; the program's is read without one, and written
// unless it cannot be (an installed program's folder belongs to the system):
// then the user's copy is made, with its folder.
std::string UserSettingsFileName(std::string_view userDir);
std::string SettingsFileToRead(std::string_view appDir, std::string_view userDir);

// Fills the printer margins and both fonts from the settings file, or from
// the defaults (which need Metrics[0].Dpi) when there is no whole record:
// also when the name holds no regular file (a pipe is never waited on).
void LoadPrintSettings(std::string_view appDir, std::string_view userDir, PrintSetup& setup);
// The program's folder only.
void LoadPrintSettings(std::string_view appDir, PrintSetup& setup);

struct SettingsSaveResult {
  bool Ok = true;
  std::string Message;  // UTF-8 display text naming the file and the reason on failure
};

// Writes the fonts and the printer margins as one 232-byte record, through
// platform::WriteWholeFile, where the rule above says: a failure leaves the
// old file whole, and the message names the file that could not be written.
SettingsSaveResult SavePrintSettings(std::string_view appDir, std::string_view userDir,
                                     const PrintSetup& setup);
// The program's folder only.
SettingsSaveResult SavePrintSettings(std::string_view appDir, const PrintSetup& setup);

// The settings file's record size and the defaults used without a whole record.
constexpr std::size_t kSettingsRecordSize = 232;

// Default fonts ("宋体" 10 pt; title 16 pt bold underlined, both charset 1)
// and margins (left Round(Dpi x 0.3281), top Round(Dpi x 0.6562), right and
// bottom 0) for the printer entry's Dpi.
void ApplyDefaultPrintSettings(PrintSetup& setup);

// The 232-byte record of the fonts and the printer margins, and back.
// DecodePrintSettings repairs what a damaged record would break later: a size
// outside 1..kMaxFontPoints falls back to the default size, a name length
// over 100 is cut to 100 and a name to its first NUL byte, an empty name
// becomes "宋体", unknown style bits are
// dropped, and each margin is kept within 0..kMaxMarginInches at the printer
// Dpi. It needs Metrics[0].Dpi for the margin bound.
constexpr std::int32_t kMaxFontPoints = 500;
constexpr std::int32_t kMaxMarginInches = 10;
std::string EncodePrintSettings(const PrintSetup& setup);
void DecodePrintSettings(std::string_view record, PrintSetup& setup);
