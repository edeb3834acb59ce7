#pragma once
// Joins PDF documents written apart into one, with qpdf: the pages of the
// parts one after the other, each laid over one shared form (a page drawn
// once, first in the first part, and kept once in the file as a form
// XObject, sharing that part's font). The parts' streams are copied as they
// are, neither decoded nor compressed again; the small objects go into
// object streams. Parts are added as they come, so that a part can be taken
// in while later ones are still being drawn.
//
// The join lives in a module of its own (printing/qt/pdfjoin), loaded on
// first use, so that qpdf and what it links stay out of every start.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// A part read by qpdf, every object of it parsed: made on the thread that
// drew it, so that the join only copies.
class PdfPart {
 public:
  virtual ~PdfPart() = default;
};

class PdfJoiner {
 public:
  virtual ~PdfJoiner() = default;
  // Takes in the pages of `part` after those of the parts added before.
  // False, with `why` (for the developer), when qpdf cannot copy them.
  virtual bool Add(std::unique_ptr<PdfPart> part, std::string& why) = 0;
  // Writes the joined document into `sink`, block by block; false, with
  // `why` (the user sees the file's failure), when no page came, a part's
  // stream cannot be read or the sink refused a block. The document
  // information (title, creator) is the first part's.
  virtual bool Write(const std::function<bool(std::string_view)>& sink, std::string& why) = 0;
};

// The join module's entry points.
struct PdfJoinModule {
  // Reads `bytes`, a whole PDF document, which must stay as they are until
  // the joined document is written. Null, with `why`, when qpdf cannot.
  std::unique_ptr<PdfPart> (*ReadPart)(std::string_view bytes, std::string& why);
  // `formFirst`: the first page of the first part is the form, not a page.
  std::unique_ptr<PdfJoiner> (*NewJoiner)(bool formFirst);
};

// The module's entry points, loaded on the first call; null, with `why`,
// when the module cannot be loaded.
const PdfJoinModule* PdfJoinEntries(std::string& why);
