#pragma once
// The print set-up the main window owns (fonts and page metrics) and the
// settings file "qprtpara.dat" that keeps fonts and margins between runs.
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

// Fills the printer margins and both fonts from the settings file in appDir,
// or from the defaults (which need Metrics[0].Dpi) when there is no whole record.
void LoadPrintSettings(std::string_view appDir, PrintSetup& setup);

struct SettingsSaveResult {
  bool Ok = true;
  std::string Message;  // GBK, names the file and the reason on failure
};

// Writes the fonts and the printer margins as one 232-byte record.
SettingsSaveResult SavePrintSettings(std::string_view appDir, const PrintSetup& setup);
