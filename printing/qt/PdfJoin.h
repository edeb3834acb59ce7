#pragma once
// Joins PDF documents written apart into one, with qpdf: the pages of the
// parts one after the other, each laid over one shared form (a page drawn
// once, first in the first part, and kept once in the file as a form
// XObject, sharing that part's font). The parts' streams are copied as they
// are, neither decoded nor compressed again; the small objects go into
// object streams. Parts are added as they come, so that a part can be taken
// in while later ones are still being drawn.
#include <memory>
#include <string>
#include <string_view>

#include "platform/Files.h"

// A part read by qpdf, every object of it parsed: made on the thread that
// drew it, so that the join only copies.
class PdfPart {
 public:
  ~PdfPart();
  PdfPart(const PdfPart&) = delete;
  PdfPart& operator=(const PdfPart&) = delete;

  // Reads `bytes`, a whole PDF document, which must stay as they are until
  // the joined document is written. Null, with `why` (for the developer),
  // when qpdf cannot read it.
  static std::unique_ptr<PdfPart> Read(std::string_view bytes, std::string& why);

 private:
  PdfPart();
  friend class PdfJoiner;
  struct Document;
  std::unique_ptr<Document> Document_;
};

class PdfJoiner {
 public:
  // `formFirst`: the first page of the first part is the form, not a page.
  explicit PdfJoiner(bool formFirst);
  ~PdfJoiner();
  PdfJoiner(const PdfJoiner&) = delete;
  PdfJoiner& operator=(const PdfJoiner&) = delete;

  // Takes in the pages of `part` after those of the parts added before.
  // False, with `why` (for the developer), when qpdf cannot copy them.
  bool Add(std::unique_ptr<PdfPart> part, std::string& why);

  // Writes the joined document into `out`; false, with `why` (the user sees
  // the file's failure), when no page came or a part's stream cannot be read.
  // The document information (title, creator) is the first part's.
  bool Write(platform::OutputFile& out, std::string& why);

 private:
  struct State;
  std::unique_ptr<State> State_;
};
