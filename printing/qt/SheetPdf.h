#pragma once
// The grade sheet as a PDF: A4 at 600 dots per inch, one PDF page per sheet
// page, drawn by the sheet printer as it prints on paper (device 0, scale 1).
#include <cstdint>
#include <string>

#include "platform/Files.h"
#include "printing/PrintSettings.h"

class GradeBook;

constexpr int kPdfDpi = 600;

struct SheetPdfResult {
  bool Ok = true;
  enum Failure { None, NoPageInRange, WriteFailed } Why = None;
  platform::FileStatus Status;  // WriteFailed: why the file could not be written
  std::int32_t PageCount = 0;   // pages of the whole sheet
  std::int32_t PagesWritten = 0;
};

// Writes pages firstPage..lastPage (from 1; lastPage is cut to the sheet's
// page count) to the file named by the bytes `path`, through the safe
// writer: the file appears, or replaces the old one, only when the whole PDF
// is on the disk; on any failure nothing is left behind. `setup` brings the
// fonts and the printer margins in pixels at 600 dpi; its metrics are
// measured and derived here. Needs a QGuiApplication. Fails, writing
// nothing, when the range holds no page.
SheetPdfResult WriteSheetPdf(const std::string& path, const GradeBook& book, PrintSetup& setup,
                             std::uint8_t sheetMode, std::int32_t firstPage, std::int32_t lastPage);
