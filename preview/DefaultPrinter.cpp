#include "preview/DefaultPrinter.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <future>

namespace preview {

namespace {

std::unique_ptr<QPrinter> SetUpDefaultPrinter() {
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

// Started and taken on the user-interface thread only.
std::future<std::unique_ptr<QPrinter>>& Pending() {
  static std::future<std::unique_ptr<QPrinter>> pending;
  return pending;
}

}  // namespace

void PrepareDefaultPrinter() {
  if (!Pending().valid()) Pending() = std::async(std::launch::async, SetUpDefaultPrinter);
}

std::unique_ptr<QPrinter> TakeDefaultPrinter() {
  if (Pending().valid()) return Pending().get();
  return SetUpDefaultPrinter();
}

}  // namespace preview
