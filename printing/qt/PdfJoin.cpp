#include "printing/qt/PdfJoin.h"

#include "platform/Module.h"

const PdfJoinModule* PdfJoinEntries(std::string& why) {
  using Entry = const PdfJoinModule*();
  auto* entry = reinterpret_cast<Entry*>(platform::ModuleSymbol("gradesheet-pdfjoin", "gradesheet_pdf_join", why));
  return entry != nullptr ? entry() : nullptr;
}
