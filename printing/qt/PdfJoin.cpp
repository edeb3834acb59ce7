#include "printing/qt/PdfJoin.h"

// qpdf 11 without the old PointerHolder API.
#define POINTERHOLDER_TRANSITION 4

#include <qpdf/Pl_Function.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <memory>
#include <optional>
#include <stdexcept>

namespace {

// The form's name in every page's resources; Qt's own names are /Im, /F,
// /GS, /Pat and the like.
constexpr char kFormName[] = "/GsSheetForm";
constexpr std::size_t kBlock = 1 << 16;

struct WriteStopped : std::runtime_error {
  WriteStopped() : std::runtime_error("the output file failed") {}
};

std::unique_ptr<QPDF> Read(std::string_view pdf, const char* what) {
  auto doc = std::make_unique<QPDF>();
  doc->setSuppressWarnings(true);
  doc->processMemoryFile(what, pdf.data(), pdf.size());
  return doc;
}

}  // namespace

bool JoinPdf(const PdfJoinInput& input, platform::OutputFile& out, std::string& why) {
  try {
    QPDF joined;
    joined.emptyPDF();
    QPDFPageDocumentHelper pages(joined);

    // Every part must stay open until the joined document is written: its
    // streams are read from it then.
    std::vector<std::unique_ptr<QPDF>> parts;
    std::optional<QPDFObjectHandle> form;
    for (std::string_view part : input.Parts) {
      parts.push_back(Read(part, "part"));
      std::vector<QPDFPageObjectHelper> partPages = QPDFPageDocumentHelper(*parts.back()).getAllPages();
      auto page = partPages.begin();
      if (input.FormFirst && parts.size() == 1 && page != partPages.end()) {
        form = joined.copyForeignObject(parts.back()->makeIndirectObject(page->getFormXObjectForPage()));
        ++page;
      }
      for (; page != partPages.end(); ++page) pages.addPage(*page, false);
    }
    if (parts.empty() || (input.FormFirst && !form)) {
      why = "no pages";
      return false;
    }
    QPDFObjectHandle trailer = parts.front()->getTrailer();
    if (trailer.hasKey("/Info"))
      joined.getTrailer().replaceKey("/Info", joined.copyForeignObject(trailer.getKey("/Info")));

    if (form) {
      // Drawn first, at the page's own coordinates (the form's box is the
      // page's), so each page's content lies over it as it lay over the
      // same parts when they were drawn together.
      QPDFObjectHandle under = joined.newStream(std::string("q ") + kFormName + " Do Q\n");
      for (QPDFPageObjectHelper& page : pages.getAllPages()) {
        // Every page of a part has resources of its own (the form's are
        // those of the page it was drawn on, which is not among them).
        QPDFObjectHandle resources = page.getAttribute("/Resources", false);
        if (!resources.isDictionary()) {
          resources = QPDFObjectHandle::newDictionary();
          page.getObjectHandle().replaceKey("/Resources", resources);
        }
        QPDFObjectHandle xobjects = resources.getKey("/XObject");
        if (!xobjects.isDictionary()) {
          xobjects = QPDFObjectHandle::newDictionary();
          resources.replaceKey("/XObject", xobjects);
        }
        xobjects.replaceKey(kFormName, *form);
        page.addPageContents(under, true);
      }
    }

    QPDFWriter writer(joined);
    // qpdf writes in pieces of a few bytes: the system sees blocks.
    std::string block;
    block.reserve(kBlock);
    auto flush = [&] {
      if (!block.empty() && !out.Write(block)) throw WriteStopped();
      block.clear();
    };
    Pl_Function sink("output file", nullptr, [&](unsigned char const* data, size_t size) {
      block.append(reinterpret_cast<const char*>(data), size);
      if (block.size() >= kBlock) flush();
    });
    writer.setOutputPipeline(&sink);
    // The parts' streams are compressed already: copy them as they are.
    writer.setDecodeLevel(qpdf_dl_none);
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.write();
    flush();
    return true;
  } catch (const WriteStopped&) {
    why = "write failed";  // the output file keeps the system's reason
    return false;
  } catch (const std::exception& e) {
    why = e.what();
    return false;
  }
}
