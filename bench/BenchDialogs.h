#pragma once
// The dialog seam of the Qt benchmarks: the open dialog answers with one
// file, every other dialog is cancelled and message boxes are passed over.
#include <QString>
#include <optional>
#include <utility>

#include "app/DialogSeam.h"

class BenchDialogs : public DialogSeam {
 public:
  explicit BenchDialogs(QString file) : file_(std::move(file)) {}
  std::optional<QString> OpenFileName(QWidget*) override { return file_; }
  std::optional<QString> SaveFileName(QWidget*, const QString&) override { return {}; }
  void Information(QWidget*, const QString&) override {}
  void Error(QWidget*, const QString&) override {}
  Answer AskYesNo(QWidget*, const QString&) override { return Answer::No; }
  Answer AskYesNoCancel(QWidget*, const QString&) override { return Answer::No; }
  std::optional<FontSpec> ChooseFont(QWidget*, const FontSpec&) override { return {}; }
  bool PrinterSetup(QWidget*, QPrinter&) override { return false; }
  std::optional<PrintChoice> Print(QWidget*, QPrinter&, int, int) override { return {}; }
  std::optional<int> ChoosePage(QWidget*, int, int) override { return {}; }
  bool PageMargins(QWidget*, PageMetrics&) override { return false; }
  std::optional<QString> OpenFileOfType(QWidget*, const QString&, const QStringList&) override { return {}; }
  std::optional<ChosenFile> SaveFileOfType(QWidget*, const QString&, const QString&, const QStringList&) override {
    return {};
  }
  std::optional<exchange::ScoreColumns> ImportPreview(QWidget*, const ImportOffer&) override { return {}; }
  std::optional<ExportScope> ChooseExportScope(QWidget*, const QString&, int) override { return {}; }
  std::optional<SheetCoursesChoice> ChooseSheetCourses(QWidget*, const SheetCoursesOffer&) override { return {}; }
  FindingsChoice ReviewFindings(QWidget*, FindingsPurpose, const std::vector<FindingRow>&) override {
    return {FindingsChoice::GoOn, -1};
  }
  int Choose(QWidget*, const QString&, const QStringList&, int) override { return -1; }
  std::optional<int> ChooseVersion(QWidget*, const std::vector<VersionRow>&) override { return {}; }

 private:
  QString file_;
};
