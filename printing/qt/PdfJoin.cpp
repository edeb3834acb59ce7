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

}  // namespace

struct PdfPart::Document {
  QPDF Pdf;
};

PdfPart::PdfPart() : Document_(std::make_unique<Document>()) {}
PdfPart::~PdfPart() = default;

std::unique_ptr<PdfPart> PdfPart::Read(std::string_view bytes, std::string& why) {
  try {
    std::unique_ptr<PdfPart> part(new PdfPart);
    QPDF& pdf = part->Document_->Pdf;
    pdf.setSuppressWarnings(true);
    pdf.processMemoryFile("part", bytes.data(), bytes.size());
    pdf.getAllObjects();  // parses them all, here rather than in the join
    return part;
  } catch (const std::exception& e) {
    why = e.what();
    return nullptr;
  }
}

struct PdfJoiner::State {
  bool FormFirst = false;
  QPDF Joined;
  std::optional<QPDFPageDocumentHelper> Pages;
  // Every part must stay open until the joined document is written: its
  // streams are read from it then.
  std::vector<std::unique_ptr<PdfPart>> Parts;
  std::optional<QPDFObjectHandle> Form;
  std::optional<QPDFObjectHandle> Under;
};

PdfJoiner::PdfJoiner(bool formFirst) : State_(std::make_unique<State>()) {
  State_->FormFirst = formFirst;
  State_->Joined.emptyPDF();
  State_->Pages.emplace(State_->Joined);
}

PdfJoiner::~PdfJoiner() = default;

bool PdfJoiner::Add(std::unique_ptr<PdfPart> part, std::string& why) {
  State& s = *State_;
  try {
    QPDF& doc = part->Document_->Pdf;
    std::vector<QPDFPageObjectHelper> partPages = QPDFPageDocumentHelper(doc).getAllPages();
    const bool firstPart = s.Parts.empty();
    if (firstPart) {
      QPDFObjectHandle trailer = doc.getTrailer();
      if (trailer.hasKey("/Info"))
        s.Joined.getTrailer().replaceKey("/Info", s.Joined.copyForeignObject(trailer.getKey("/Info")));
    }
    auto page = partPages.begin();
    if (firstPart && s.FormFirst && page != partPages.end()) {
      // The form is made in the joined document from a copy of its page:
      // a new stream in the part would make qpdf read every object of it.
      s.Pages->addPage(*page, false);
      QPDFPageObjectHelper copied(s.Joined.getAllPages().back());
      s.Form = s.Joined.makeIndirectObject(copied.getFormXObjectForPage());
      s.Pages->removePage(copied);
      s.Under = s.Joined.newStream(std::string("q ") + kFormName + " Do Q\n");
      ++page;
    }
    s.Parts.push_back(std::move(part));
    for (; page != partPages.end(); ++page) {
      s.Pages->addPage(*page, false);
      if (!s.Form) continue;
      QPDFPageObjectHelper added(s.Joined.getAllPages().back());
      PutFormUnder(added, *s.Form, *s.Under);
    }
    return true;
  } catch (const std::exception& e) {
    why = e.what();
    return false;
  }
}

bool PdfJoiner::Write(platform::OutputFile& out, std::string& why) {
  State& s = *State_;
  if (s.Parts.empty() || (s.FormFirst && !s.Form)) {
    why = "no pages";
    return false;
  }
  try {
    QPDFWriter writer(s.Joined);
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
