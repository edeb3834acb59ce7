#pragma once
// Joins PDF documents written apart into one, with qpdf: the pages of the
// parts one after the other, each laid over one shared form (a page drawn
// once, first in the first part, and kept once in the file as a form
// XObject, sharing that part's font). The parts' streams
// are copied as they are, neither decoded nor compressed again; the small
// objects go into object streams.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"

struct PdfJoinInput {
  std::vector<std::string_view> Parts;  // whole PDF documents, in page order
  bool FormFirst = false;               // the first page of the first part is the form, not a page
};

// Writes the joined document into `out`; false, with `why` (for the
// developer, the user sees the file's failure), when a part is no PDF qpdf
// can read. The document information (title, creator) is the first part's.
bool JoinPdf(const PdfJoinInput& input, platform::OutputFile& out, std::string& why);
