#pragma once
// The grade sheet as a PDF: A4 at 600 dots per inch, one PDF page per sheet
// page, drawn by the sheet printer as it prints on paper (device 0, scale 1).
#include <QString>
#include <cstdint>
#include <string>

#include "printing/PrintSettings.h"

class GradeBook;

constexpr int kPdfDpi = 600;

struct SheetPdfResult {
  bool Ok = true;
  enum Failure { None, NoPageInRange, WriteFailed } Why = None;
  std::string Message;  // GBK; names the file and the reason on failure
  int PageCount = 0;    // pages of the whole sheet
  int PagesWritten = 0;
};

// Writes pages firstPage..lastPage (from 1; lastPage is cut to the sheet's
// page count) to `path`. `setup` brings the fonts and the printer margins in
// pixels at 600 dpi; its metrics are measured and derived here. Needs a
// QGuiApplication. Fails, writing nothing, when the range holds no page.
SheetPdfResult WriteSheetPdf(const QString& path, const GradeBook& book, PrintSetup& setup,
                             std::uint8_t sheetMode, int firstPage, int lastPage);
