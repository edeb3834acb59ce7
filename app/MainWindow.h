#pragma once
// The main window "dataout". It shows what the model decides and forwards
// what the teacher does; every rule it applies lives below it (gradefile/,
// grading/, printing/PreviewRules, printing/PageMetrics).
//
// Its parts: the commands, their menus and tool bars (app/Commands); the open
// file, its edit history and the file commands (app/Document); the grade
// editor over the grid (app/GradeEditor) and the check's marks on it
// (app/GradeMarks); import and export of grades (app/GradeExchange); the
// sheet preview (preview/SheetPreview) and the sheet's output, printed or as
// a PDF (app/SheetOutput); the find bar, the check bar, the recent files.
//
// The editing view (app/EditingView): the course list, the share field, the
// check bar over the student grid. The find bar stands above the editing view;
// the statusLine shows the sheet, the page count and the page, and in the
// editing view the find bar's result. The window's own member functions
// live in app/MainWindow*.cpp by concern, as the sections below name them.
#include <QMainWindow>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/DialogSeam.h"
#include "app/Document.h"
#include "app/EditingView.h"
#include "app/FileRecovery.h"
#include "app/GradeEditor.h"
#include "app/GradeExchange.h"
#include "app/GridClipboard.h"
#include "app/GridPlaces.h"
#include "app/SheetOutput.h"
#include "gradefile/Clipboard.h"
#include "gradefile/EditHistory.h"
#include "gradefile/GradeBook.h"
#include "gradefile/KeyMoves.h"
#include "preview/SheetPreview.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QShowEvent;
class QEvent;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QStatusBar;
class QToolBar;
class CheckBar;
class CourseList;
class FindBar;
class RecentFilesMenu;
class StudentGrid;

class MainWindow : public QMainWindow {
  Q_OBJECT
  // First, as the document asks through them.
  std::unique_ptr<DialogSeam> dialogs_;
  std::unique_ptr<FileRecovery> recovery_;  // the open file's lock, journal and versions
  Document document_;  // the open file
  // The document's parts under the names the window's code reads them by.
  GradeBook& Book = document_.Book();
  EditHistory& History = document_.History();
  const std::string& FileName = document_.FileName();  // empty when none is open

 public:
  // `dialogs` answers every modal question; null means the real Qt dialogs.
  // `appDir` overrides the program's directory (where "qprtpara.dat" lives).
  explicit MainWindow(std::unique_ptr<DialogSeam> dialogs = nullptr, QString appDir = {},
                    QWidget* parent = nullptr);
  ~MainWindow() override;

  Document& document() { return document_; }  // the open file
  const std::string& appDir() const { return appDir_; }  // the program's folder, with its separator
  // The user's configuration folder with its separator (empty: none), where the recent files go.
  const std::string& userDir() const { return userDir_; }
  void KeepUserFilesIn(std::string dir) { userDir_ = std::move(dir); }

  QStatusBar* statusLine() const { return statusLine_; }
  QLabel* statusPanel(int i) const { return statusPanels_.at(static_cast<std::size_t>(i)); }
  QStackedWidget* views() const { return views_; }  // the editing view or the preview
  // The course list, the share field and the student grid with its editor.
  EditingView& editingView() const { return *editingView_; }
  CourseList* courseList() const { return editingView_->courseList(); }
  QLineEdit* shareEdit() const { return editingView_->shareEdit(); }
  StudentGrid* studentGrid() const { return editingView_->studentGrid(); }
  // The grade editor over the grid's grade cells, and its word list.
  GradeEditor& gradeCells() const { return editingView_->editor(); }
  QComboBox* gradeEditor() const { return editingView_ != nullptr ? gradeCells().Field() : nullptr; }
  Commands& commands() { return commands_; }  // every command of the menus, the tool bar and the keys
  RecentFilesMenu& recentFiles() const { return *recentFiles_; }  // the file menu's recent files
  FindBar* findBar() const { return findBar_; }  // finding a student; null until first used
  // The sheet, its page, zoom, printer and print set-up, measured on first use (EnsurePreview).
  preview::SheetPreview& sheetPreview() const { return *sheetPreview_; }
  SheetOutput& sheetOutput() const { return *sheetOutput_; }  // printing, the PDF, the page set-up
  GradeExchange& gradeExchange() const { return *gradeExchange_; }  // import and export of grades
  GridClipboard& clipboard() const { return *clipboard_; }  // copy and paste of grade cells
  DialogSeam& Dialogs() { return *dialogs_; }

  // ---- app/MainWindowFiles.cpp ------------------------------------------------
  void openFile();
  void save();
  void saveAs();  // save as: the window goes on with the file it saved to
  void exitProgram();
  bool Modified() const { return Book.Modified; }

  // ---- app/MainWindowGrid.cpp -------------------------------------------------
  void BuildCourseList();
  void ShowCourse(const std::string& key);
  void selectCourse(int row);                  // the course of course list row `row`
  void selectGradeCell(int row, int column);  // lays the editor over a grade cell
  void takeEditorText();
  void leaveGradeEditor();
  void changeShare();

  // ---- app/MainWindowEdit.cpp -------------------------------------------------
  void undo();  // undo the newest step
  void redo();  // redo the newest undone step
  // Keeps a finished command (a paste, a recompute, an import) as one step to
  // undo; the cell or share edit in progress becomes a step of its own first.
  void PushEditStep(EditStep step);
  // Ends the cell and share edits in progress: each becomes one step.
  void FinishEditSteps();

  void showFindBar();  // app/MainWindowFind.cpp: the find bar, built on first use

  // ---- app/MainWindowOpen.cpp -------------------------------------------------
  // Opens `path` as the open command opens the file it is given, asking
  // first about unsaved grades: the command line, a drop, the recent files.
  bool OpenNamedFile(const QString& path);
  // ---- app/MainWindowRecovery.cpp: what a crashed session left, and the
  // versions a save replaced (文件 → 以前的版本)
  void OfferLeftJournals();  // at a start without a file
  void showVersions();
  FileRecovery& Recovery() { return *recovery_; }
  void OpenRecent(const std::string& path);

  // ---- app/MainWindowChecks.cpp -----------------------------------------------
  CheckBar* checkBar() const { return editingView_->checkBar(); }  // over the grid: the totals that disagree
  // Writes the total the rule gives into every row of the course shown whose
  // total disagrees with the share; one step to undo.
  void recomputeTotals();
  // Before a save or a print: lists the file's findings, if any, and returns
  // true to go on. Going to a finding shows it and returns false.
  bool ConfirmFindings(FindingsPurpose purpose);
  // Shows the course and cell of a finding, with the editor over the cell.
  void GoToFinding(const GradeFinding& finding);

  // ---- app/MainWindowPreview.cpp ----------------------------------------------
  // Start-up steps 6 to 10, once: the printer is asked of the print system,
  // which can take longer than building the window, so it is done after the
  // first paint, or before when a command needs the page and its printer.
  void EnsurePreview();
  bool PreviewSetUp() const { return previewSetUp_; }
  void showEditing();
  void showSheet();
  void showSheetByClass();
  void showAnalysis();  // app/MainWindowAnalysis.cpp: the course analysis of the course shown
  void choosePage();

 protected:
  // app/MainWindowFiles.cpp: the close question and the release.
  void closeEvent(QCloseEvent* event) override;
  // app/MainWindowGrid.cpp: the editor's keys and leaving.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // app/MainWindowOpen.cpp: a grade file dropped on the window.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // app/MainWindowKeys.cpp: the frame is known once the window is shown.
  void showEvent(QShowEvent* event) override;
  // app/MainWindow.cpp: the preview is set up once the window has painted.
  bool event(QEvent* event) override;

 private:
  // ---- app/MainWindowBuild.cpp: the builders, in the order BuildWindow calls them
  void BuildForm();         // caption, icon, font
  void BuildStatusBar();    // statusLine and its three panels
  void BuildEditingView();  // views, the editing view, the clipboard and the import and export
  void BuildPreviewView();  // the sheet preview and the sheet's output
  void ConnectCommands();   // commands, grids, editor and share to their handlers
  void BuildEditingAids();  // keys, recent files, drops (MainWindowKeys.cpp)

  // ---- app/MainWindow.cpp: the builders in order, then the start-up steps, in order
  void BuildWindow();
  // (3 and 5, no sheet, no page and empty layout lists: the sheet preview as built)
  void HidePreview();         // 1
  void FindAppDir();          // 2
  void PlaceWindow();         // 4
  void SetUpPreview();        // 6 to 10: resolutions, print settings, zoom, page (by EnsurePreview)
  void ShowEditingView();     // 11
  void ShowGridHeadings();    // 12 (app/MainWindowGrid.cpp)
  void FillEditorWords();     // 13 (app/MainWindowGrid.cpp)

  // ---- app/MainWindowFiles.cpp
  bool OpenChosenFile(const QString& path);
  void ShowFileName();  // fileLabel
  void EnableCourseCommands();  // the commands for a file with courses
  void ReleaseAll();

  // ---- app/MainWindowGrid.cpp
  std::vector<StudentRow>& rows() { return editingView_->rows(); }  // the bytes the grid shows
  void MoveEditor(EditorMove move);
  void RefuseInput(QWidget* where, const QString& restored, const QString& why);

  // ---- app/MainWindowEdit.cpp
  void ShowEditStep(const EditStep& step);  // the course and cell an undo or redo changed
  void FollowEdits();  // undo, redo and save as the edits leave them
  bool IsUndoKey(QEvent* event) const;  // Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z in an edit field

  // ---- app/MainWindowKeys.cpp
  bool EditingKeyFilter(QObject* watched, QEvent* event);  // true: taken
  void EnterGrid();  // from the course list to the first student's coursework
  void EnterGridAt(int row);  // the editor at the coursework of grid row `row`
  void FitFrameToScreen();

  // ---- app/MainWindowOpen.cpp
  QString OpenFolder() const;  // where the open dialog starts

  // ---- app/MainWindowPreview.cpp
  void ShowView(bool preview);       // a view with its tool bar, status bar and menus
  void PreviewSheet(SheetKind kind);
  void ShowPreviewState();           // the status panels and commands the preview's state gives

  Commands commands_;
  std::string appDir_;
  std::string userDir_;
  QStatusBar* statusLine_ = nullptr;
  std::array<QLabel*, 3> statusPanels_{};
  QStackedWidget* views_ = nullptr;
  QString appDirOverride_;
  bool released_ = false;
  bool placed_ = false;  // the first show has fitted the frame into the screen
  bool previewSetUp_ = false;
  QSize placedSize_;     // the size start-up gave the window; another is the teacher's own
  EditStep shareStep_;  // the share field's changes since it took the focus
  RecentFilesMenu* recentFiles_ = nullptr;
  preview::SheetPreview* sheetPreview_ = nullptr;
  SheetOutput* sheetOutput_ = nullptr;
  GradeExchange* gradeExchange_ = nullptr;
  GridClipboard* clipboard_ = nullptr;
  FindBar* findBar_ = nullptr;
  EditingView* editingView_ = nullptr;
};
