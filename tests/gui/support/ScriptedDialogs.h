#pragma once
// The dialog seam of the GUI tests: every modal question is answered from a
// queue the test fills beforehand, and every question asked is recorded so a
// test can check what the teacher would have seen. A question with nothing
// scripted gets the "cancel" answer and is counted in Unscripted.
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "app/DialogSeam.h"
#include "exchange/ImportSession.h"

class ScriptedDialogs : public DialogSeam {
 public:
  enum class Kind {
    OpenNamedFile, SaveFile, Information, Error, AskYesNo, AskYesNoCancel,
    ChooseFont, PrinterSetup, Print, ChoosePage, PageMargins, Findings, ImportPreview, ExportScope, SheetCourses,
    Choose, ChooseVersion,
  };

  // What the teacher does in one import preview: choose the score columns
  // (each choice previewed again), then import or cancel.
  struct ImportScript {
    std::vector<exchange::ScoreColumns> Choices;
    bool Import = true;
  };
  // What one import preview showed: its offer, whether it asked for the
  // columns, its choosers' columns, and the preview at the start and after
  // each choice.
  struct ImportSeen {
    QString File, Course;
    bool AsksColumns = false;
    std::vector<std::string> ColumnNames;
    std::size_t StudentColumn = 0;
    std::vector<exchange::ImportPreview> Previews;
  };

  struct Call {
    Kind What;
    QString Text;  // message text; empty for dialogs without one
  };

  // ---- the script: one queue per kind of question ------------------------
  std::deque<std::optional<QString>> OpenFiles;   // nullopt = cancel
  std::deque<std::optional<QString>> SaveFiles;   // nullopt = cancel
  std::deque<Answer> YesNoAnswers;                // AskYesNo
  std::deque<Answer> YesNoCancelAnswers;          // AskYesNoCancel
  std::deque<std::optional<FontSpec>> Fonts;      // nullopt = cancel
  std::deque<bool> PrinterSetups;                 // accepted or not
  std::deque<std::optional<PrintChoice>> Prints;  // nullopt = cancel
  std::deque<std::optional<int>> Pages;           // nullopt = cancel
  // nullopt = cancel; a value replaces the metrics handed to the dialog.
  std::deque<std::optional<PageMetrics>> Margins;
  // When not empty, an accepted print dialog sends the job into this PDF
  // file, as choosing to print to a file in the dialog does.
  QString PrintToFile;
  std::deque<ImportScript> Imports;                // empty: cancel
  std::deque<std::optional<ExportScope>> ExportScopes;  // nullopt = cancel
  // The course choice before a print or a PDF: like the findings, it goes on
  // (all courses, all pages) when nothing is scripted. nullopt = cancel.
  std::deque<std::optional<SheetCoursesChoice>> SheetCourses;
  // The list of findings before a save or a print. Unlike the other
  // questions it goes on when nothing is scripted, so that tests of other
  // things need not answer it; it is recorded all the same.
  std::deque<FindingsChoice> FindingsAnswers;
  // A question with buttons of its own: the button's text (or nullopt, the
  // box closed); none scripted closes it.
  std::deque<std::optional<QString>> Choices;
  std::deque<std::optional<int>> Versions;  // the row chosen, nullopt = cancel

  // ---- what was asked ------------------------------------------------------
  std::vector<Call> Calls;
  int Unscripted = 0;  // questions asked with an empty queue

  // What the dialogs were seeded with, for tests of the callers.
  std::vector<FontSpec> FontsOffered;
  QStringList SavesSuggested;  // the path each save dialog was opened with
  QStringList OpenFolders;     // the folder each open dialog started in
  std::vector<std::pair<int, int>> PrintRanges;      // minPage, maxPage
  QStringList PrintJobTitles;  // the printer's document name at each print dialog
  std::vector<std::pair<int, int>> PagesOffered;     // pageCount, current
  std::vector<QStringList> PageLabelsOffered;        // beside the page numbers
  std::vector<PageMetrics> MarginsOffered;
  QStringList FiltersOffered;  // each typed open or save dialog's filters, joined by ";;"
  std::vector<ImportSeen> ImportsSeen;
  std::vector<std::pair<QString, int>> ExportScopesOffered;  // shown course, course count
  // Each course choice's offer, with the page counts of all courses and of the choice answered.
  std::vector<SheetCoursesOffer> SheetCoursesOffered;
  std::vector<std::pair<int, int>> SheetCoursesPages;
  std::vector<FindingsPurpose> FindingsPurposes;      // each list's purpose
  std::vector<std::vector<FindingRow>> FindingsShown;  // each list's rows
  std::vector<QStringList> ButtonsOffered;  // each Choose's buttons, the default first
  std::vector<std::vector<VersionRow>> VersionsShown;

  int Count(Kind kind) const;
  QStringList Texts(Kind kind) const;  // texts of the calls of one kind
  QStringList Messages() const;        // texts of every message box, in order
  void ClearCalls();

  // DialogSeam
  std::optional<QString> OpenFileName(QWidget* parent) override;
  std::optional<QString> OpenGradeFile(QWidget* parent, const QString& folder) override;
  std::optional<QString> SaveFileName(QWidget* parent, const QString& suggested) override;
  void Information(QWidget* parent, const QString& text) override;
  void Error(QWidget* parent, const QString& text) override;
  Answer AskYesNo(QWidget* parent, const QString& text) override;
  Answer AskYesNoCancel(QWidget* parent, const QString& text) override;
  std::optional<FontSpec> ChooseFont(QWidget* parent, const FontSpec& current) override;
  bool PrinterSetup(QWidget* parent, QPrinter& printer) override;
  std::optional<PrintChoice> Print(QWidget* parent, QPrinter& printer, int minPage,
                                   int maxPage) override;
  std::optional<int> ChoosePage(QWidget* parent, int pageCount, int current) override;
  std::optional<int> ChoosePageOf(QWidget* parent, const QStringList& labels, int current) override;
  bool PageMargins(QWidget* parent, PageMetrics& metrics) override;
  // The typed dialogs take their answers from OpenFiles and SaveFiles; the
  // save's file type is the filter that names the answer's extension.
  std::optional<QString> OpenFileOfType(QWidget* parent, const QString& title,
                                        const QStringList& filters) override;
  std::optional<ChosenFile> SaveFileOfType(QWidget* parent, const QString& title, const QString& suggested,
                                           const QStringList& filters) override;
  std::optional<exchange::ScoreColumns> ImportPreview(QWidget* parent, const ImportOffer& offer) override;
  std::optional<ExportScope> ChooseExportScope(QWidget* parent, const QString& shownCourse,
                                               int courseCount) override;
  std::optional<SheetCoursesChoice> ChooseSheetCourses(QWidget* parent, const SheetCoursesOffer& offer) override;
  FindingsChoice ReviewFindings(QWidget* parent, FindingsPurpose purpose,
                                const std::vector<FindingRow>& rows) override;
  int Choose(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton) override;
  std::optional<int> ChooseVersion(QWidget* parent, const std::vector<VersionRow>& rows) override;

 private:
  template <typename T>
  std::optional<T> Next(std::deque<T>& queue);
  template <typename T>
  std::optional<T> NextOrCancel(std::deque<std::optional<T>>& queue);  // cancel when empty
};
