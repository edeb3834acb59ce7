// Grades in from a spreadsheet and out to one. The core reads the CSV file,
// judges every row and writes the workbook; this part asks which file and
// which columns, shows the preview, hands the window one step to undo, and
// says what was done.
#include "app/GradeExchange.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>
#include <array>

#include "app/DialogSeam.h"
#include "app/Document.h"
#include "app/ExchangeTexts.h"
#include "app/ReadingProgress.h"
#include "exchange/Export.h"
#include "exchange/ImportSession.h"
#include "gradefile/OutputCheck.h"
#include "platform/Files.h"
#include "printing/qt/QtText.h"
#include "text/Blanks.h"

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// A course name as part of a file name: what file systems refuse becomes '_'.
QString FileNamePart(const std::string& gbk) {
  QString name = GbkToQString(TrimmedBlanks(gbk)).trimmed();
  for (QChar& c : name)
    if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
  return name;
}

}  // namespace

GradeExchange::GradeExchange(QWidget& window, Document& document, DialogSeam& dialogs, WindowHooks hooks)
    : QObject(&window), window_(window), document_(document), dialogs_(dialogs), hooks_(std::move(hooks)) {}

int GradeExchange::ShownCourseIndex() const {
  const int row = hooks_.ShownCourse();
  const GradeBook& book = document_.Book();
  if (document_.FileName().empty() || row < 1 || row > static_cast<int>(book.CourseKeys.size())) return -1;
  return row - 1;
}

// ---- import ---------------------------------------------------------------------

void GradeExchange::importScores() {
  const int course = ShownCourseIndex();
  if (course < 0) return;
  GradeBook& book = document_.Book();
  hooks_.LeaveEditing();
  const std::optional<QString> chosen = dialogs_.OpenFileOfType(
      &window_, ExchangeTexts::ImportTitle(), {ExchangeTexts::CsvFilter(), ExchangeTexts::AllFilesFilter()});
  if (!chosen || chosen->isEmpty()) return;

  const std::string key = book.CourseKeys[static_cast<std::size_t>(course)];
  exchange::ImportSession session(book, key, PathBytes(*chosen));
  {
    ReadingProgress progress(&window_);
    session.Start(progress.Callback());
  }
  const exchange::ImportPreview& first = session.Preview();
  if (!session.CanShow()) {
    if (first.Failure == exchange::ImportFailure::ReadFailed || first.Failure == exchange::ImportFailure::TooLarge)
      dialogs_.Error(&window_, Utf8(first.Message));
    else if (first.Failure != exchange::ImportFailure::Cancelled)
      dialogs_.Information(&window_, Utf8(first.Message));
    return;
  }
  const ImportOffer offer{*chosen,
                          GbkToQString(TrimmedBlanks(book.CourseRows[static_cast<std::size_t>(course)])),
                          &session};
  const std::optional<exchange::ScoreColumns> columns = dialogs_.ImportPreview(&window_, offer);
  if (!columns) return;
  if (!(session.Columns() == *columns) || !session.Preview().Ok()) {
    ReadingProgress progress(&window_);
    session.Choose(*columns, progress.Callback());
  }
  const exchange::ImportPreview& preview = session.Preview();
  if (!preview.Ok()) {
    if (preview.Failure != exchange::ImportFailure::Cancelled) dialogs_.Information(&window_, Utf8(preview.Message));
    return;
  }
  if (!session.CanImport()) return;  // nothing would change

  const exchange::ApplyResult applied = exchange::ApplyImport(book, preview);
  if (!applied.Ok) {
    dialogs_.Error(&window_, Utf8(applied.Message));
    return;
  }
  EditStep step;
  step.Add(applied.Changes);
  hooks_.Imported(std::move(step), key);
  dialogs_.Information(&window_, ExchangeTexts::Imported(applied.Changes.size()));
}

// ---- export ---------------------------------------------------------------------

void GradeExchange::exportGrades() {
  const int course = ShownCourseIndex();
  if (course < 0) return;
  const GradeBook& book = document_.Book();
  const std::string& fileName = document_.FileName();
  hooks_.LeaveEditor();
  const std::string& shownKey = book.CourseKeys[static_cast<std::size_t>(course)];
  std::vector<exchange::ExportCourse> courses = exchange::CoursesForExport(book);
  bool all = true;
  if (courses.size() > 1) {
    const std::optional<ExportScope> scope = dialogs_.ChooseExportScope(
        &window_, GbkToQString(TrimmedBlanks(book.CourseRows[static_cast<std::size_t>(course)])),
        static_cast<int>(courses.size()));
    if (!scope) return;
    if (*scope == ExportScope::ShownCourse) {
      courses = exchange::CoursesForExport(book, shownKey);
      all = false;
    }
  }
  if (courses.empty()) return;  // a file with header lines but no course list entry to show

  // The grade file's folder, and the course's name or the grade file's.
  const QFileInfo gradeFile(PathToQString(fileName));
  QString base = all ? gradeFile.completeBaseName() : FileNamePart(courses.front().Name);
  if (base.isEmpty()) base = FileNamePart(courses.front().Key);
  const QStringList filters = {ExchangeTexts::XlsxFilter(), ExchangeTexts::CsvExportFilter()};
  const std::optional<ChosenFile> chosen = dialogs_.SaveFileOfType(
      &window_, ExchangeTexts::ExportTitle(), gradeFile.dir().filePath(base + QStringLiteral(".xlsx")), filters);
  if (!chosen || chosen->Path.isEmpty()) return;

  // The file chosen is refused before anything is asked about replacing it:
  // the grade file itself (or any grade file) is never an export's target,
  // not even under the name its type would add.
  std::string target = PathBytes(chosen->Path);
  const std::array<std::string, 1> inputs = {fileName};
  std::string refused = OutputRefusal(target, inputs);
  std::optional<exchange::ExportFormat> format = exchange::ExportFormatOf(target);
  if (refused.empty() && !format) {
    format = chosen->Filter == 1 ? exchange::ExportFormat::Csv : exchange::ExportFormat::Xlsx;
    target += format == exchange::ExportFormat::Csv ? ".csv" : ".xlsx";
    refused = OutputRefusal(target, inputs);
  }
  if (!refused.empty()) {
    dialogs_.Error(&window_, Utf8(refused));
    return;
  }
  if (platform::Identify(target) &&
      dialogs_.AskYesNo(&window_, ExchangeTexts::AskReplace(PathToQString(target))) != Answer::Yes)
    return;
  const exchange::ExportResult written = format == exchange::ExportFormat::Xlsx
                                             ? exchange::WriteXlsxExport(target, courses)
                                             : exchange::WriteCsvExport(target, courses, all);
  if (!written.Ok) {
    dialogs_.Error(&window_, Utf8(written.Message));
    return;
  }
  std::size_t students = 0;
  for (const exchange::ExportCourse& course : courses) students += course.Students.size();
  QString done = ExchangeTexts::Exported(courses.size(), students, PathToQString(target));
  if (!written.Message.empty()) done += QLatin1Char('\n') + Utf8(written.Message);  // texts cut
  dialogs_.Information(&window_, done);
}
