// What a crashed session left, offered at a start without a file, and the
// versions a save replaced (文件 → 以前的版本). Opening a file offers its own
// journal (FileRecovery::Opened, from OpenChosenFile).
#include <QAction>

#include "app/MainWindow.h"
#include "gradefile/FileMessages.h"
#include "gradefile/RecoveryJournal.h"
#include "gradefile/Versions.h"
#include "printing/qt/QtText.h"
#include "text/RecoveryTexts.h"
#include "text/Texts.h"

namespace {

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

void MainWindow::OfferLeftJournals() {
  if (!FileName.empty()) return;
  if (const std::optional<std::string> file = recovery_->OfferLeftJournals()) OpenNamedFile(PathToQString(*file));
}

void MainWindow::showVersions() {
  FinishEditSteps();
  if (FileName.empty()) return;
  const std::vector<KeptVersion> versions = ListVersions(FileName);
  if (versions.empty()) {
    Dialogs().Information(this, Text(texts::kNoVersions));
    return;
  }
  // One version read at a time: twenty of a large file would not fit twice.
  std::vector<VersionRow> rows;
  for (const KeptVersion& version : versions) {
    VersionRow row;
    row.Time = QString::fromStdString(LocalTimeText(version.WrittenNs, "%Y-%m-%d %H:%M:%S"));
    row.Size = version.Size;
    std::string bytes;
    GradeBook then;
    const bool read = platform::ReadWholeFile(version.Path, bytes, static_cast<std::size_t>(version.Size) + 1).Ok() &&
                      then.ReadBytes(bytes);
    row.Differing = read ? static_cast<long long>(DifferingRecords(then, Book)) : -1;
    rows.push_back(row);
  }
  const std::optional<int> chosen = Dialogs().ChooseVersion(this, rows);
  if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(versions.size())) return;
  const KeptVersion& version = versions[static_cast<std::size_t>(*chosen)];
  std::string bytes;
  GradeBook then;
  const platform::FileStatus status = platform::ReadWholeFile(version.Path, bytes, static_cast<std::size_t>(version.Size) + 1);
  if (!status.Ok() || !then.ReadBytes(bytes)) {
    Dialogs().Error(this, QString::fromStdString(DisplayPath(version.Path)) + Text(texts::kNotGradeFile));
    return;
  }
  const std::optional<EditStep> step = StepToVersion(Book, then);
  if (!step) {
    Dialogs().Information(this, Text(texts::kVersionDoesNotFit));
    return;
  }
  if (step->Empty()) return;
  // Into the book as one step to undo; the file itself changes only when saved.
  PlayStep(Book.HeadLines, Book.GradeLines, *step, false, false);
  Book.Modified = true;
  BuildCourseList();
  PushEditStep(*step);
  ShowEditStep(*step);
}
