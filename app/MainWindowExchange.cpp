// Grades in from a spreadsheet and out to one. The core reads the CSV file,
// judges every row and writes the workbook; the window asks which file and
// which columns, shows the preview, applies it as one step to undo, and
// says what was done.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QStackedWidget>
#include <array>

#include "app/ExchangeTexts.h"
#include "app/ReadingProgress.h"
#include "app/EditingGrids.h"
#include "app/MainWindow.h"
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

void MainWindow::EnableExchange() {
  const bool courses = !FileName.empty() && !Book.CourseKeys.empty();
  for (QAction* command : {commands_.importScores, commands_.exportGrades, commands_.exportSheetPdf, commands_.analysis})
    command->setEnabled(courses);
}

// ---- import ---------------------------------------------------------------------

void MainWindow::importScores() {
  const int row = courseList->currentRow();
  if (FileName.empty() || row < 1 || row > static_cast<int>(Book.CourseKeys.size())) return;
  leaveGradeEditor();
  FinishEditSteps();
  // What the import changes is seen in the grid, and undone there.
  if (views->currentWidget() != editingView) showEditing();
  const std::optional<QString> chosen = Dialogs().OpenFileOfType(
      this, ExchangeTexts::ImportTitle(), {ExchangeTexts::CsvFilter(), ExchangeTexts::AllFilesFilter()});
  if (!chosen || chosen->isEmpty()) return;

  const std::string key = Book.CourseKeys[static_cast<std::size_t>(row) - 1];
  exchange::ImportSession session(Book, key, PathBytes(*chosen));
  {
    ReadingProgress progress(this);
    session.Start(progress.Callback());
  }
  const exchange::ImportPreview& first = session.Preview();
  if (!session.CanShow()) {
    if (first.Failure == exchange::ImportFailure::ReadFailed || first.Failure == exchange::ImportFailure::TooLarge)
      Dialogs().Error(this, Utf8(first.Message));
    else if (first.Failure != exchange::ImportFailure::Cancelled)
      Dialogs().Information(this, Utf8(first.Message));
    return;
  }
  const ImportOffer offer{*chosen,
                          GbkToQString(TrimmedBlanks(Book.CourseRows[static_cast<std::size_t>(row) - 1])),
                          &session};
  const std::optional<exchange::ScoreColumns> columns = Dialogs().ImportPreview(this, offer);
  if (!columns) return;
  if (!(session.Columns() == *columns) || !session.Preview().Ok()) {
    ReadingProgress progress(this);
    session.Choose(*columns, progress.Callback());
  }
  const exchange::ImportPreview& preview = session.Preview();
  if (!preview.Ok()) {
    if (preview.Failure != exchange::ImportFailure::Cancelled) Dialogs().Information(this, Utf8(preview.Message));
    return;
  }
  if (!session.CanImport()) return;  // nothing would change

  const exchange::ApplyResult applied = exchange::ApplyImport(Book, preview);
  if (!applied.Ok) {
    Dialogs().Error(this, Utf8(applied.Message));
    return;
  }
  EditStep step;
  step.Add(applied.Changes);
  PushEditStep(std::move(step));
  ShowCourse(key);
  Dialogs().Information(this, ExchangeTexts::Imported(applied.Changes.size()));
}

// ---- export ---------------------------------------------------------------------

void MainWindow::exportGrades() {
  const int row = courseList->currentRow();
  if (FileName.empty() || row < 1 || row > static_cast<int>(Book.CourseKeys.size())) return;
  leaveGradeEditor();
  const std::string& shownKey = Book.CourseKeys[static_cast<std::size_t>(row) - 1];
  std::vector<exchange::ExportCourse> courses = exchange::CoursesForExport(Book);
  bool all = true;
  if (courses.size() > 1) {
    const std::optional<ExportScope> scope = Dialogs().ChooseExportScope(
        this, GbkToQString(TrimmedBlanks(Book.CourseRows[static_cast<std::size_t>(row) - 1])),
        static_cast<int>(courses.size()));
    if (!scope) return;
    if (*scope == ExportScope::ShownCourse) {
      courses = exchange::CoursesForExport(Book, shownKey);
      all = false;
    }
  }
  if (courses.empty()) return;  // a file with header lines but no course list entry to show

  // The grade file's folder, and the course's name or the grade file's.
  const QFileInfo gradeFile(PathToQString(FileName));
  QString base = all ? gradeFile.completeBaseName() : FileNamePart(courses.front().Name);
  if (base.isEmpty()) base = FileNamePart(courses.front().Key);
  const QStringList filters = {ExchangeTexts::XlsxFilter(), ExchangeTexts::CsvExportFilter()};
  const std::optional<ChosenFile> chosen = Dialogs().SaveFileOfType(
      this, ExchangeTexts::ExportTitle(), gradeFile.dir().filePath(base + QStringLiteral(".xlsx")), filters);
  if (!chosen || chosen->Path.isEmpty()) return;

  // The file chosen is refused before anything is asked about replacing it:
  // the grade file itself (or any grade file) is never an export's target,
  // not even under the name its type would add.
  std::string target = PathBytes(chosen->Path);
  const std::array<std::string, 1> inputs = {FileName};
  std::string refused = OutputRefusal(target, inputs);
  std::optional<exchange::ExportFormat> format = exchange::ExportFormatOf(target);
  if (refused.empty() && !format) {
    format = chosen->Filter == 1 ? exchange::ExportFormat::Csv : exchange::ExportFormat::Xlsx;
    target += format == exchange::ExportFormat::Csv ? ".csv" : ".xlsx";
    refused = OutputRefusal(target, inputs);
  }
  if (!refused.empty()) {
    Dialogs().Error(this, Utf8(refused));
    return;
  }
  if (platform::Identify(target) &&
      Dialogs().AskYesNo(this, ExchangeTexts::AskReplace(PathToQString(target))) != Answer::Yes)
    return;
  const exchange::ExportResult written = format == exchange::ExportFormat::Xlsx
                                             ? exchange::WriteXlsxExport(target, courses)
                                             : exchange::WriteCsvExport(target, courses, all);
  if (!written.Ok) {
    Dialogs().Error(this, Utf8(written.Message));
    return;
  }
  std::size_t students = 0;
  for (const exchange::ExportCourse& course : courses) students += course.Students.size();
  QString done = ExchangeTexts::Exported(courses.size(), students, PathToQString(target));
  if (!written.Message.empty()) done += QLatin1Char('\n') + Utf8(written.Message);  // texts cut
  Dialogs().Information(this, done);
}
