// The PDF join module: qpdf reads the parts and writes the joined document.
// Loaded only when a sheet is drawn in parts, so that qpdf and what it links
// stay out of every start.
#include "printing/qt/PdfJoin.h"

// qpdf 11 without the old PointerHolder API.
#define POINTERHOLDER_TRANSITION 4

#include <qpdf/Pl_Function.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

// The form's name in every page's resources; Qt's own names are /Im, /F,
// /GS, /Pat and the like.
constexpr char kFormName[] = "/GsSheetForm";
constexpr std::size_t kBlock = 1 << 16;

struct WriteStopped : std::runtime_error {
  WriteStopped() : std::runtime_error("the output file failed") {}
};

// Lays the form under the page: drawn first, at the page's own coordinates
// (the form's box is the page's), so the page's content lies over it as it
// lay over the same parts when they were drawn together.
void PutFormUnder(QPDFPageObjectHelper& page, QPDFObjectHandle form, QPDFObjectHandle under) {
  // Every page of a part has resources of its own (the form's are those of
  // the page it was drawn on, which is not among them).
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
  xobjects.replaceKey(kFormName, form);
  page.addPageContents(under, true);
}


// Qt gives every page an array of annotations of its own, empty: an object
// a page that the join need not copy nor the file keep.
void DropEmptyAnnotations(QPDFPageObjectHelper& page) {
  QPDFObjectHandle dict = page.getObjectHandle();
  QPDFObjectHandle annotations = dict.getKey("/Annots");
  if (annotations.isArray() && annotations.getArrayNItems() == 0) dict.removeKey("/Annots");
}

// Qt gives every page resources of its own, and every page of a part the
// same ones: pages whose resources read as the page's before point to that
// page's, so that the join copies and the file keeps them once a part.
class SharedResources {
 public:
  void Share(QPDFPageObjectHelper& page) {
    QPDFObjectHandle dict = page.getObjectHandle();
    QPDFObjectHandle resources = dict.getKey("/Resources");
    if (!resources.isIndirect() || !resources.isDictionary()) return;
    std::string text = resources.unparseResolved();
    if (shared_ && text == text_) {
      dict.replaceKey("/Resources", *shared_);
      return;
    }
    shared_ = resources;
    text_ = std::move(text);
  }

 private:
  std::optional<QPDFObjectHandle> shared_;
  std::string text_;
};

class QpdfPart : public PdfPart {
 public:
  QPDF Pdf;
};

std::unique_ptr<PdfPart> ReadPart(std::string_view bytes, std::string& why) {
  try {
    auto part = std::make_unique<QpdfPart>();
    part->Pdf.setSuppressWarnings(true);
    part->Pdf.processMemoryFile("part", bytes.data(), bytes.size());
    part->Pdf.getAllObjects();  // parses them all, here rather than in the join
    return part;
  } catch (const std::exception& e) {
    why = e.what();
    return nullptr;
  }
}

class QpdfJoiner : public PdfJoiner {
 public:
  explicit QpdfJoiner(bool formFirst) : formFirst_(formFirst) {
    joined_.emptyPDF();
    pages_.emplace(joined_);
  }

  bool Add(std::unique_ptr<PdfPart> part, std::string& why) override {
    try {
      QPDF& doc = static_cast<QpdfPart&>(*part).Pdf;
      std::vector<QPDFPageObjectHelper> partPages = QPDFPageDocumentHelper(doc).getAllPages();
      const bool firstPart = parts_.empty();
      if (firstPart) {
        QPDFObjectHandle trailer = doc.getTrailer();
        if (trailer.hasKey("/Info"))
          joined_.getTrailer().replaceKey("/Info", joined_.copyForeignObject(trailer.getKey("/Info")));
      }
      auto page = partPages.begin();
      if (firstPart && formFirst_ && page != partPages.end()) {
        // The form is made in the joined document from a copy of its page:
        // a new stream in the part would make qpdf read every object of it.
        pages_->addPage(*page, false);
        QPDFPageObjectHelper copied(joined_.getAllPages().back());
        form_ = joined_.makeIndirectObject(copied.getFormXObjectForPage());
        pages_->removePage(copied);
        under_ = joined_.newStream(std::string("q ") + kFormName + " Do Q\n");
        ++page;
      }
      parts_.push_back(std::move(part));
      SharedResources shared;
      for (; page != partPages.end(); ++page) {
        DropEmptyAnnotations(*page);
        shared.Share(*page);
        pages_->addPage(*page, false);
        if (!form_) continue;
        QPDFPageObjectHelper added(joined_.getAllPages().back());
        PutFormUnder(added, *form_, *under_);
      }
      return true;
    } catch (const std::exception& e) {
      why = e.what();
      return false;
    }
  }

  bool Write(const std::function<bool(std::string_view)>& sink, std::string& why) override {
    if (parts_.empty() || (formFirst_ && !form_)) {
      why = "no pages";
      return false;
    }
    try {
      QPDFWriter writer(joined_);
      // qpdf writes in pieces of a few bytes: the sink sees blocks.
      std::string block;
      block.reserve(kBlock);
      auto flush = [&] {
        if (!block.empty() && !sink(block)) throw WriteStopped();
        block.clear();
      };
      Pl_Function out("output", nullptr, [&](unsigned char const* data, size_t size) {
        block.append(reinterpret_cast<const char*>(data), size);
        if (block.size() >= kBlock) flush();
      });
      writer.setOutputPipeline(&out);
      // The parts' streams are compressed already: copy them as they are.
      writer.setDecodeLevel(qpdf_dl_none);
      writer.setObjectStreamMode(qpdf_o_generate);
      writer.write();
      flush();
      return true;
    } catch (const WriteStopped&) {
      why = "write failed";  // the sink keeps the system's reason
      return false;
    } catch (const std::exception& e) {
      why = e.what();
      return false;
    }
  }

 private:
  bool formFirst_;
  QPDF joined_;
  std::optional<QPDFPageDocumentHelper> pages_;
  // Every part must stay open until the joined document is written: its
  // streams are read from it then.
  std::vector<std::unique_ptr<PdfPart>> parts_;
  std::optional<QPDFObjectHandle> form_;
  std::optional<QPDFObjectHandle> under_;
};

std::unique_ptr<PdfJoiner> NewJoiner(bool formFirst) { return std::make_unique<QpdfJoiner>(formFirst); }

const PdfJoinModule kEntries{ReadPart, NewJoiner};

}  // namespace

extern "C" __attribute__((visibility("default"))) const PdfJoinModule* gradesheet_pdf_join() { return &kEntries; }
