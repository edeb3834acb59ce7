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

class PdfJoiner {
 public:
  // `formFirst`: the first page of the first part is the form, not a page.
  explicit PdfJoiner(bool formFirst);
  ~PdfJoiner();
  PdfJoiner(const PdfJoiner&) = delete;
  PdfJoiner& operator=(const PdfJoiner&) = delete;

  // Takes in the pages of `part`, a whole PDF document, after those of the
  // parts added before; its bytes must stay as they are until Write. False,
  // with `why` (for the developer), when qpdf cannot read it.
  bool Add(std::string_view part, std::string& why);

  // Writes the joined document into `out`; false, with `why` (the user sees
  // the file's failure), when no page came or a part's stream cannot be read.
  // The document information (title, creator) is the first part's.
  bool Write(platform::OutputFile& out, std::string& why);

 private:
  struct State;
  std::unique_ptr<State> State_;
};
