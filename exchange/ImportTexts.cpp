// The words of an import for the teacher: why a file cannot be imported,
// why a row is not applied, which score a row's fault is in.
#include <array>

#include "exchange/ImportColumns.h"
#include "text/Gbk.h"
#include "text/Texts.h"

namespace exchange {

namespace importing {

std::string FailureText(ImportFailure failure, std::size_t line, const Want* missing) {
  switch (failure) {
    case ImportFailure::None: return {};
    case ImportFailure::ReadFailed: return std::string(texts::kImportReadFailed);
    case ImportFailure::TooLarge: return std::string(texts::kImportTooLarge);
    case ImportFailure::Empty: return std::string(texts::kImportEmpty);
    case ImportFailure::NotText: return std::string(texts::kImportNotText);
    case ImportFailure::Workbook: return std::string(texts::kImportWorkbook);
    case ImportFailure::UnknownEncoding: return std::string(texts::kImportUnknownEncoding);
    case ImportFailure::UnclosedQuote: return texts::UnclosedQuote(line);
    case ImportFailure::NoStudentColumn: return std::string(texts::kNoStudentColumn);
    case ImportFailure::NoScoreColumn: return std::string(texts::kNoScoreColumn);
    case ImportFailure::NoSuchColumn:
      if (missing != nullptr && missing->kind == Want::Number) return texts::NoColumnNumber(missing->number);
      return texts::NoColumnNamed(missing != nullptr ? GbkToUtf8(missing->asGiven) : std::string());
    case ImportFailure::NoSuchCourse: return std::string(texts::kNoSuchCourse);
    case ImportFailure::BadShare: return std::string(texts::kImportBadShare);
    case ImportFailure::Cancelled: return std::string(texts::kImportCancelled);
  }
  return {};
}

}  // namespace importing

std::string_view RowIssueText(RowIssue issue) {
  static constexpr std::array<std::string_view, kRowIssueCount> texts_ = {
      texts::kRowNotInCourse, texts::kRowDuplicate, texts::kRowUnreadable, texts::kRowNotGbk, texts::kRowTooLong};
  return texts_[static_cast<std::size_t>(issue)];
}

std::string_view ScoreColumnText(ScoreColumn column) {
  static constexpr std::array<std::string_view, 3> texts_ = {std::string_view(), texts::kCourseworkGrade,
                                                             texts::kExamGrade};
  return texts_[static_cast<std::size_t>(column)];
}

}  // namespace exchange
