// CSV import on arbitrary bytes: it never crashes, every row is accounted
// for, a preview changes nothing, and an apply is undone exactly. A field
// written for CSV reads back as itself.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/Csv.h"
#include "exchange/Import.h"
#include "gradefile/GradeBook.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string Record(const char* number, const char* grades) {
  std::string r = std::string("01213cj") + number;
  r.resize(33, ' ');
  r += grades;
  r.resize(57, ' ');
  return r;
}

const GradeBook& Book() {
  static const GradeBook book = [] {
    GradeBook b;
    b.HeadLines = {"01213tkcourse", "01213t930", "02107tkother"};
    b.GradeLines = {Record("2023040101", "87    71     76"), Record("2023040102", ""),
                    Record("1", "90    90     90"), Record("2023040101", "1     1      1")};
    b.BuildCourseList();
    return b;
  }();
  return book;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const GradeBook& original = Book();
  for (const exchange::ImportColumns& columns :
       {exchange::ImportColumns{}, exchange::ImportColumns{"1", "", "2"}}) {
    const exchange::ImportPreview p = exchange::PreviewImportBytes(original, "01213", bytes, columns);
    Check(p.Ok() != !p.Message.empty());
    if (!p.Ok()) continue;
    Check(p.Matched.size() + p.SkippedCount() == p.Rows);
    Check(p.Matched.size() + p.Missing.size() <= 3);
    Check(p.Skipped.size() <= exchange::kListedSkippedRows);
    GradeBook book = original;
    const exchange::ApplyResult applied = exchange::ApplyImport(book, p);
    Check(applied.Ok && applied.Changes.size() == p.ChangedCount());
    for (const RecordChange& c : applied.Changes) Check(c.After.size() == 57 && c.After != c.Before);
    Check(exchange::UndoImport(book, applied.Changes));
    Check(book.GradeLines == original.GradeLines && book.HeadLines == original.HeadLines);
  }

  // Written as a field and read back, the bytes are the same.
  const std::string field = exchange::CsvField(bytes);
  exchange::CsvParser parser(field, ',');
  std::vector<std::string> fields;
  if (!bytes.empty()) {
    Check(parser.Next(fields) == exchange::CsvParser::Status::Record);
    Check(fields.size() == 1 && fields[0] == bytes);
  }
  return 0;
}
