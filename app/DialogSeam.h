#pragma once
// Every modal dialog and message box of the main window goes through this
// interface: the real one shows Qt dialogs, tests answer from a script.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exchange/ImportSession.h"  // ImportSession, ScoreColumns
#include "gradefile/BookCheck.h"  // FindingRow
#include "printing/Canvas.h"
#include "printing/CourseChoice.h"
#include "printing/PageMetrics.h"
#include "printing/PreviewRules.h"  // PrintChoice

class QPrinter;
class QWidget;

enum class Answer { Yes, No, Cancel };

// A file chosen in a save dialog with file types: its path and the index of
// the type (in the filters given) that was selected.
struct ChosenFile {
  QString Path;
  int Filter = 0;
};

// What the import preview shows: the CSV file, the course (its list text)
// and the session whose preview it is.
struct ImportOffer {
  QString File;
  QString Course;
  exchange::ImportSession* Session = nullptr;
};

enum class ExportScope { ShownCourse, AllCourses };

// One version of the open file as the list of versions shows it.
struct VersionRow {
  QString Time;       // when its bytes were written, local time
  long long Size = 0;  // bytes
  long long Differing = 0;  // records that differ from the book as it is now
};

// The list of findings before a save or a print, and what the teacher chose:
// go on ("仍然存储" / "仍然打印"), go back ("返回修改"), or go to the finding
// of row `Row` (the list closes; nothing is saved or printed).
enum class FindingsPurpose { Save, Print };
struct FindingsChoice {
  enum Kind { GoOn, Back, GoTo } What = Back;
  int Row = -1;
};

// The courses of the sheet before it is printed or written as a PDF: the
// course list's texts with their keys (GBK), the course shown (-1: none),
// whether a page range is asked too (the PDF; the print dialog has its
// own), and how many pages a choice makes.
struct SheetCoursesOffer {
  QString Title;
  QStringList Courses;
  std::vector<std::string> Keys;
  int ShownCourse = -1;
  bool WithPages = false;
  std::function<int(const CourseChoice&)> PageCount;
};
struct SheetCoursesChoice {
  CourseChoice Courses;
  PrintChoice Pages;  // AllPages or PageRange, of the chosen courses' pages
};

class DialogSeam {
 public:
  virtual ~DialogSeam() = default;

  // Open dialog: no filter, no title, no initial folder. nullopt on cancel.
  virtual std::optional<QString> OpenFileName(QWidget* parent) = 0;

  // The open command's dialog: it starts in `folder` and shows grade files
  // first. A seam without one shows the plain open dialog.
  virtual std::optional<QString> OpenGradeFile(QWidget* parent, const QString& folder) {
    (void)folder;
    return OpenFileName(parent);
  }

  // Save dialog with `suggested` (a path) filled in, offering grade files
  // first and every file. The dialog itself asks before an existing file is
  // replaced. nullopt on cancel.
  virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& suggested) = 0;

  // Message boxes (text already converted from GBK).
  virtual void Information(QWidget* parent, const QString& text) = 0;
  virtual void Error(QWidget* parent, const QString& text) = 0;
  virtual Answer AskYesNo(QWidget* parent, const QString& text) = 0;
  virtual Answer AskYesNoCancel(QWidget* parent, const QString& text) = 0;
  // A question whose 是 throws something away (another program's version of
  // the file): 是/否/取消 with 取消 the default, so that Enter keeps it.
  // Only Yes goes ahead. A seam without one asks AskYesNo.
  virtual Answer AskToDiscard(QWidget* parent, const QString& text) { return AskYesNo(parent, text); }

  // Font dialog seeded with `current`; nullopt on cancel.
  virtual std::optional<FontSpec> ChooseFont(QWidget* parent, const FontSpec& current) = 0;

  // Printer set-up on `printer` (printer, paper, orientation); true if accepted.
  virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;

  // Print dialog for pages minPage..maxPage; nullopt on cancel.
  virtual std::optional<PrintChoice> Print(QWidget* parent, QPrinter& printer, int minPage,
                                           int maxPage) = 0;

  // ChoosePageDialog: choose a page of `pageCount`, `current` preselected; nullopt on cancel.
  virtual std::optional<int> ChoosePage(QWidget* parent, int pageCount, int current) = 0;

  // The page chooser with each page's course (and class) beside its number,
  // one label per page. A seam without one offers the numbers alone.
  virtual std::optional<int> ChoosePageOf(QWidget* parent, const QStringList& labels, int current) {
    return ChoosePage(parent, static_cast<int>(labels.size()), current);
  }

  // MarginsDialog: edits the printer margins of `metrics` in millimetres;
  // writes them only on OK and returns true then.
  virtual bool PageMargins(QWidget* parent, PageMetrics& metrics) = 0;

  // Open and save dialogs with a title and file types ("CSV 文件 (*.csv)"),
  // the first type selected. nullopt on cancel. The save dialog does not ask
  // about replacing a file: the caller first checks that it may be replaced.
  virtual std::optional<QString> OpenFileOfType(QWidget* parent, const QString& title,
                                                const QStringList& filters) = 0;
  virtual std::optional<ChosenFile> SaveFileOfType(QWidget* parent, const QString& title,
                                                   const QString& suggested, const QStringList& filters) = 0;

  // The import preview of offer.Session, whose first preview is made: shows
  // it and, when the session asks for them, the choosers of the score
  // columns; each choice is previewed again (Session->Choose). Returns the
  // score columns to import with, or nullopt when the teacher cancels.
  virtual std::optional<exchange::ScoreColumns> ImportPreview(QWidget* parent, const ImportOffer& offer) = 0;

  // Which courses to export: the shown one (its list text) or all
  // `courseCount`. nullopt on cancel.
  virtual std::optional<ExportScope> ChooseExportScope(QWidget* parent, const QString& shownCourse,
                                                       int courseCount) = 0;

  // Which courses of the sheet to print or write; nullopt on cancel.
  virtual std::optional<SheetCoursesChoice> ChooseSheetCourses(QWidget* parent, const SheetCoursesOffer& offer) = 0;

  // The findings of the file (UTF-8 rows) before a save or a print.
  virtual FindingsChoice ReviewFindings(QWidget* parent, FindingsPurpose purpose,
                                        const std::vector<FindingRow>& rows) = 0;

  // A question with buttons of its own, `defaultButton` taken by Enter: the
  // index of the button chosen, -1 when the box is closed without one.
  virtual int Choose(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton) = 0;

  // The versions a save replaced, newest first: the row chosen to open, or
  // nullopt on cancel.
  virtual std::optional<int> ChooseVersion(QWidget* parent, const std::vector<VersionRow>& rows) = 0;
};
