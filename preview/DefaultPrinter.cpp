#include "preview/DefaultPrinter.h"

#include <QPageSize>
#include <QPrinterInfo>

namespace preview {

std::unique_ptr<QPrinter> DefaultPrinter() {
  std::unique_ptr<QPrinter> printer;
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (!info.isNull()) printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  // No printer installed (or one Qt cannot drive): preview and print to PDF.
  if (!printer || !printer->isValid()) {
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(600);
    printer->setPageSize(QPageSize(QPageSize::A4));
  }
  return printer;
}

}  // namespace preview
