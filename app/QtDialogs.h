#pragma once
// The real dialog seam: Qt's message boxes and common dialogs, and the
// program's own page dialogs. Button texts are Chinese like the rest of the
// interface, whatever translations are installed.
#include "app/DialogSeam.h"

// Makes Qt's own dialogs (files, printing, fonts, and the questions they ask
// themselves) speak Chinese like the program; true when Qt's translations
// were found. Call once, after the application object exists.
bool InstallQtTranslations();

class QtDialogs : public DialogSeam {
 public:
  std::optional<QString> OpenFileName(QWidget* parent) override;
  std::optional<QString> OpenGradeFile(QWidget* parent, const QString& folder) override;
  std::optional<QString> SaveFileName(QWidget* parent, const QString& suggested) override;
  void Information(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
  Answer AskYesNo(QWidget* parent, const QString& text) override;
  Answer AskYesNoCancel(QWidget* parent, const QString& text) override;
  Answer AskToDiscard(QWidget* parent, const QString& text) override;
  std::optional<FontSpec> ChooseFont(QWidget* parent, const FontSpec& current) override;
  bool PrinterSetup(QWidget* parent, QPrinter& printer) override;
  std::optional<PrintChoice> Print(QWidget* parent, QPrinter& printer, int minPage,
                                   int maxPage) override;
  std::optional<int> ChoosePage(QWidget* parent, int pageCount, int current) override;
  std::optional<int> ChoosePageOf(QWidget* parent, const QStringList& labels, int current) override;
  bool PageMargins(QWidget* parent, PageMetrics& metrics) override;
  std::optional<QString> OpenFileOfType(QWidget* parent, const QString& title,
                                        const QStringList& filters) override;
  std::optional<ChosenFile> SaveFileOfType(QWidget* parent, const QString& title, const QString& suggested,
                                           const QStringList& filters) override;
  std::optional<exchange::ScoreColumns> ImportPreview(QWidget* parent, const ImportOffer& offer) override;
  std::optional<SheetCoursesChoice> ChooseSheetCourses(QWidget* parent, const SheetCoursesOffer& offer) override;
  std::optional<ExportScope> ChooseExportScope(QWidget* parent, const QString& shownCourse,
                                               int courseCount) override;
  FindingsChoice ReviewFindings(QWidget* parent, FindingsPurpose purpose,
                                const std::vector<FindingRow>& rows) override;
  int Choose(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton) override;
  std::optional<int> ChooseVersion(QWidget* parent, const std::vector<VersionRow>& rows) override;
};
