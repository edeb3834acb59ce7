#pragma once
// Comma-separated text as spreadsheets and marking systems write it: the
// encoding of the bytes, the separator, RFC 4180 records, and the writing of
// fields. No grades here; Import.h and Export.h give the rows their meaning.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace exchange {

enum class CsvEncoding { Utf8, Gbk };

// The bytes of a CSV file made ready for parsing.
struct CsvText {
  enum class Problem { None, Empty, NotText, Workbook, UnknownEncoding };
  Problem Trouble = Problem::None;
  CsvEncoding Encoding = CsvEncoding::Utf8;
  const char* EncodingName = "";  // "UTF-8", "UTF-8 BOM", "UTF-16", "GBK"
  // The text to parse: the file without its byte order mark, UTF-16 turned
  // into UTF-8. Views the caller's bytes when nothing had to be turned.
  std::string_view Text() const { return IsConverted ? std::string_view(Converted) : Original; }

  std::string_view Original;  // part of the caller's bytes
  std::string Converted;      // the text when it had to be turned
  bool IsConverted = false;
};

// Decides how the bytes are to be read: a byte order mark says UTF-8 or
// UTF-16; without one, valid UTF-8 is UTF-8 and valid GBK is GBK. NUL bytes
// (outside UTF-16) make it binary, an Excel workbook is recognised by its
// signature, and bytes that are neither UTF-8 nor GBK are refused.
// The returned Text may point into `bytes`, which must outlive it.
CsvText DecodeCsvBytes(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);
bool IsValidGbk(std::string_view bytes);

// Reads one record after another from the text. Quoted fields may hold
// separators, doubled quotes and line ends; a record ends at CR LF, LF or a
// lone CR. Lenient where spreadsheets are: a quote inside an unquoted field
// and text after a closing quote are taken as they stand.
class CsvParser {
 public:
  enum class Status { Record, End, UnclosedQuote };

  // Fields of a record beyond this many are read past but not kept: no
  // grade list is that wide, and a line of nothing but separators must not
  // turn into millions of strings.
  static constexpr std::size_t kMaxFields = 4096;

  CsvParser(std::string_view text, char separator) : text_(text), sep_(separator) {}

  // Fills `fields` (reusing their storage) with the next record.
  Status Next(std::vector<std::string>& fields);

  // The line (from 1) where the record last returned began; for an
  // unclosed quote, the line where the quote opened.
  std::size_t RecordLine() const { return recordLine_; }
  // Bytes consumed so far.
  std::size_t Offset() const { return pos_; }
  void Reset(std::size_t offset, std::size_t line) {
    pos_ = offset;
    line_ = line;
  }
  std::size_t NextLine() const { return line_; }

 private:
  std::string_view text_;
  char sep_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;  // line of pos_
  std::size_t recordLine_ = 0;
  std::string dropped_;  // where the fields beyond kMaxFields go
};

// The separator a heading line uses: whichever of comma, tab and semicolon
// splits the record at `offset` into the most fields (comma on a tie).
char DetectSeparator(std::string_view text, std::size_t offset);

// A text cell that a spreadsheet takes as text, never as a formula: one that
// begins with '=', '+', '-', '@', a tab or a carriage return gets a leading
// apostrophe. A plain number with a sign ("-5", "+3.5") stays as it is.
std::string InertText(std::string_view text);

// One field for writing: quoted when it holds the separator, a quote or a
// line end, with its quotes doubled.
std::string CsvField(std::string_view text, char separator = ',');

}  // namespace exchange
