#pragma once
// The main window "dataout". It shows what the model decides and forwards
// what the teacher does; every rule it applies lives below it (gradefile/,
// grading/, printing/PreviewRules, printing/PageMetrics).
//
// Legend: the components by the names the handlers use.
//
//   main menu             caption                      handler
//   F1                    "&F 文件"                     (menu)
//     O1                  "&O.  打开..."   Ctrl+O        O1Click
//     S3                  "&S.  保存"      Ctrl+S        S3Click
//     A1                  "另存为(&A)..."  Ctrl+Shift+S  A1Click
//     I1                  "导入成绩(&I)..." shown course I1Click
//     E3                  "导出(&E)..."    xlsx or CSV   E3Click
//     RecentItems         "&1 <path>" .. "&8 <path>"    OpenRecent (the files opened last)
//     X1                  "&X.  退出"                   X1Click
//   E1                    "编辑(&E)"                    (menu, editing view only)
//     U1                  "撤销(&U)"       Ctrl+Z        U1Click
//     R1                  "重做(&R)"       Ctrl+Y        R1Click
//     C1                  "复制(&C)"       Ctrl+C        C1Click
//     P2                  "粘贴(&P)"       Ctrl+V        P2Click
//     F4                  "查找学生(&F)..." Ctrl+F       F4Click
//   W1                    "&W 窗口"                     (menu)
//     Z1                  "&Z.  整理成绩"  editing view  Z1Click
//     N11                 "&B.  成绩单"    the sheet     N11Click
//     G1                  "&G.  分班成绩单" by class     G1Click
//   N7                    "&V 预览"                     (menu, preview only)
//     L2                  "&L.  上页"                   SpeedButton1Click
//     N10                 "&N.  下页"                   SpeedButton2Click
//     F3                  "&F.  第一页"                 F3Click
//     E2                  "&E.  最后一页"               E2Click
//     C2                  "&C.  选页..."                C2Click
//     G2                  "&G.  放大"                   SpeedButton4Click
//     S2                  "&S.  缩小"                   SpeedButton5Click
//   P1                    "&P 打印"        preview only P1Click
//   S1                    "&S 打印机设置"                S1Click
//
//   tool bar ToolBar1 (preview only), its buttons by hint:
//     SpeedButton[1]  "上一页"  SpeedButton1Click    SpeedButton[7]  "页底"      SpeedButton7Click
//     SpeedButton[2]  "下一页"  SpeedButton2Click    SpeedButton[8]  "页左边"    SpeedButton8Click
//     SpeedButton[3]  "选择页码" C2Click             SpeedButton[9]  "页右边"    SpeedButton9Click
//     SpeedButton[4]  "放大"    SpeedButton4Click    SpeedButton[10] "页左上角"  SpeedButton10Click
//     SpeedButton[5]  "缩小"    SpeedButton5Click    SpeedButton[11] "页右下角"  SpeedButton11Click
//     SpeedButton[6]  "页顶"    SpeedButton6Click    SpeedButton[15] "打印机设置" S1Click
//                                                    SpeedButton[16] "打印"      P1Click
//   PopupMenu1, the tool bar's context menu:
//     F2                  "&F.  表内容字体..."          F2Click
//     L1                  "&L.  表标题字体..."          L1Click
//     B3                  "&B.  设置页边界..."          B3Click
//
//   Views                 shows Panel1 or ScrollBox1
//   Panel1                the editing view
//     Panel2              its left column
//       Label8            "成绩文件: <path>"
//       StringGrid2       the course list               StringGrid2SelectCell
//       Label1            "平时成绩占百分比:"
//       Edit1             the coursework share          Edit1Change
//     CheckBar            over the grid, when totals disagree with the share:
//       CheckBarLabel     "本课程有 N 个总成绩与当前比例(P%)不符"
//       RecomputeButton   "按当前比例重新计算"            RecomputeClick
//     StringGrid1         the students of the course    StringGrid1SelectCell
//                         (findings marked by colour and tool tip: MarkRow)
//     ComboBox1           the grade editor over a cell  ComboBox1Change, ComboBox1Exit,
//                                                       its keys in eventFilter
//                         keys of the lists and the grid (Enter, Tab, Escape,
//                         Delete over a block, Ctrl+C/V): EditingKeyFilter
//   ScrollBox1            the preview's scrolled area
//     DrawGrid1           the page                      DrawGrid1DrawCell
//   FindBar               above the editing view, after F4: FindEdit   FindNext (Enter),
//                         "下一个" FindNext, "关闭" CloseFind (Escape)
//   StatusBar1            StatusPanels: sheet name, page count, current page;
//                         in the editing view only while FindBar shows, with its result
//   the window            takes a dropped file                dropEvent
//
// The member functions live in files by concern:
//   app/Tdataout.cpp         FormCreate: the builders in order, then the start-up steps
//   app/TdataoutBuild.cpp    the builders: menus, tool bar, status bar, both views, connections
//   app/TdataoutFiles.cpp    open, save, save as, exit, closing
//   app/TdataoutGrid.cpp     course list, student grid, grade editor, share
//   app/TdataoutEdit.cpp     undo and redo
//   app/TdataoutExchange.cpp import of scores from CSV, export to Excel or CSV
//   app/TdataoutKeys.cpp     the keyboard from the course list into the grid and back,
//                            the window's fit to the screen
//   app/TdataoutClipboard.cpp copy and paste of grade cells
//   app/TdataoutFind.cpp     finding a student
//   app/TdataoutOpen.cpp     opening a named file: command line, drop, recent files
//   app/TdataoutChecks.cpp   marks in the grid, the bar, the findings before save and print
//   app/FindingsDialog.cpp   the list of findings (through DialogSeam::ReviewFindings)
//   app/TdataoutPreview.cpp  views, the sheet printer, the page, zoom, navigation
//   app/TdataoutPrint.cpp    page dialogs, fonts, printer set-up, printing
#include <QMainWindow>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/DialogSeam.h"
#include "app/FileRecovery.h"
#include "gradefile/Clipboard.h"
#include "gradefile/EditHistory.h"
#include "gradefile/GradeBook.h"
#include "gradefile/GridMoves.h"
#include "printing/PrintSettings.h"
#include "printing/TdjxscjPrn.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QShowEvent;
class QEvent;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QPainter;
class QPrinter;
class QScrollArea;
class QStackedWidget;
class QStatusBar;
class QTableWidget;
class QToolBar;
class QToolButton;
class TDrawGrid;

class Tdataout : public QMainWindow {
  Q_OBJECT

 public:
  // `dialogs` answers every modal question; null means the real Qt dialogs.
  // `appDir` overrides the program's directory (where "qprtpara.dat" lives).
  explicit Tdataout(std::unique_ptr<DialogSeam> dialogs = nullptr, QString appDir = {},
                    QWidget* parent = nullptr);
  ~Tdataout() override;

  // ---- model owned by the window --------------------------------------
  GradeBook Book;  // HeadLines, GradeLines, CourseKeys, ClassGroups, Modified
  PrintSetup Setup;  // BodyFont, TitleFont, PageMetrics
  TPageList PageList;
  TRowList RowList;
  std::uint8_t SheetMode = 0;
  std::string AppDir;
  std::string UserDir;  // the user's configuration folder with its separator; empty: none
  std::string FileName;  // path of the open file as bytes; empty when none
  std::int32_t SheetIndex = 0;
  std::unique_ptr<TdjxscjPrn> SheetPrinter;
  std::int32_t CurPage = 0;
  double ZoomMin = 1.0;
  double ZoomMax = 1.0;
  double Zoom = 1.0;

  // ---- components (see the legend above) --------------------------------
  QToolBar* ToolBar1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 3> StatusPanels{};
  QStackedWidget* Views = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  TDrawGrid* DrawGrid1 = nullptr;
  QFrame* Panel1 = nullptr;
  QFrame* Panel2 = nullptr;
  QLabel* Label8 = nullptr;
  QTableWidget* StringGrid2 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QTableWidget* StringGrid1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QMenu* PopupMenu1 = nullptr;

  // Main menu items (menus F1, W1, N7 as their menu actions).
  QAction *F1 = nullptr, *O1 = nullptr, *S3 = nullptr, *A1 = nullptr, *X1 = nullptr;
  QAction *I1 = nullptr, *E3 = nullptr;
  QAction *E1 = nullptr, *U1 = nullptr, *R1 = nullptr;
  QAction *C1 = nullptr, *P2 = nullptr, *F4 = nullptr;
  std::vector<QAction*> RecentItems;  // the file menu's recent files, newest first
  QToolBar* FindBar = nullptr;
  QLineEdit* FindEdit = nullptr;
  QAction *W1 = nullptr, *Z1 = nullptr, *N11 = nullptr, *G1 = nullptr;
  QAction *N7 = nullptr, *L2 = nullptr, *N10 = nullptr, *F3 = nullptr, *E2 = nullptr,
          *C2 = nullptr, *G2 = nullptr, *S2 = nullptr;
  QAction *P1 = nullptr, *S1 = nullptr;
  QAction *F2 = nullptr, *L1 = nullptr, *B3 = nullptr;  // PopupMenu1

  // Tool bar buttons; index i is SpeedButton(i), unused indices null.
  std::array<QToolButton*, 17> SpeedButton{};

  std::unique_ptr<QPrinter> Printer;  // the current printer
  DialogSeam& Dialogs() { return *dialogs_; }

  // The student grid's bytes: GridRows[r - 1] holds the GBK cells of grid
  // row r (row 0 is the heading). The grid's QStrings are only for display.
  std::vector<StudentRow> GridRows;
  // The grid cell the grade editor was laid over; -1 when none.
  int EditCol = -1;
  int EditRow = -1;
  // The last refusal of typed text (a character the grade file cannot hold,
  // a grade past its field, a share that is no number from 0 to 100), shown
  // as the editor's or the share field's tool tip and on the status bar;
  // empty when none.
  QString InputNotice;

  // ---- app/Tdataout.cpp ---------------------------------------------------
  void FormCreate();

  // ---- app/TdataoutFiles.cpp ------------------------------------------------
  void O1Click();
  void S3Click();
  void A1Click();  // save as: the window goes on with the file it saved to
  void X1Click();
  bool LoadGradeFile(const QString& path);
  bool SaveGradeFile();  // false when the save failed (message shown)
  bool Modified() const { return Book.Modified; }

  // ---- app/TdataoutGrid.cpp -------------------------------------------------
  void BuildCourseList();
  void ShowCourse(const std::string& key);
  void StringGrid2SelectCell(int ACol, int ARow, bool& CanSelect);
  void StringGrid1SelectCell(int ACol, int ARow, bool& CanSelect);
  void ComboBox1Change();
  void ComboBox1Exit();
  void Edit1Change();

  // ---- app/TdataoutEdit.cpp -------------------------------------------------
  // The undo history of the open file; opening a file clears it.
  EditHistory History;
  void U1Click();  // undo the newest step
  void R1Click();  // redo the newest undone step
  // Keeps a finished command (a paste, a recompute, an import) as one step to
  // undo; the cell or share edit in progress becomes a step of its own first.
  void PushEditStep(EditStep step);
  // Ends the cell and share edits in progress: each becomes one step.
  void FinishEditSteps();

  // ---- app/TdataoutExchange.cpp ---------------------------------------------
  void I1Click();  // import scores of the shown course from a CSV file
  void E3Click();  // export the shown course or all courses
  void EnableExchange();  // I1 and E3: a file with courses is open

  // ---- app/TdataoutClipboard.cpp --------------------------------------------
  void C1Click();  // the selected grade cells to the clipboard
  void P2Click();  // a block of cells from the clipboard into the grade cells

  // ---- app/TdataoutFind.cpp -------------------------------------------------
  void F4Click();   // shows the find bar
  void FindNext();  // the next student that FindEdit names, in any course
  void CloseFind();

  // ---- app/TdataoutOpen.cpp -------------------------------------------------
  // Opens `path` as the open command opens the file it is given, asking
  // first about unsaved grades: the command line, a drop, the recent files.
  bool OpenFile(const QString& path);
  // ---- app/TdataoutRecovery.cpp: what a crashed session left, and the
  // versions a save replaced (文件 → 以前的版本)
  void OfferLeftJournals();  // at a start without a file
  void ShowVersions();
  FileRecovery& Recovery() { return *recovery_; }
  QAction* PreviousVersions = nullptr;
  void OpenRecent(const std::string& path);
  void ShowRecentFiles();  // refills RecentItems from the stored list

  // ---- app/TdataoutChecks.cpp -----------------------------------------------
  QFrame* CheckBar = nullptr;
  QLabel* CheckBarLabel = nullptr;
  QPushButton* RecomputeButton = nullptr;
  // Writes the total the rule gives into every row of the course shown whose
  // total disagrees with the share; one step to undo.
  void RecomputeClick();
  // Before a save or a print: lists the file's findings, if any, and returns
  // true to go on. Going to a finding shows it and returns false.
  bool ConfirmFindings(FindingsPurpose purpose);
  // Shows the course and cell of a finding, with the editor over the cell.
  void GoToFinding(const GradeFinding& finding);

  // ---- app/TdataoutPreview.cpp ----------------------------------------------
  // Start-up steps 6 to 10, once: the printer is asked of the print system,
  // which can take longer than building the window, so it is done after the
  // first paint, or before when a command needs the page and its printer.
  void EnsurePreview();
  bool PreviewSetUp() const { return previewSetUp_; }
  void MeasureResolutions();  // start-up step 6: printer and screen Dpi
  void Z1Click();
  void N11Click();
  void G1Click();
  void SelectSheet(std::uint8_t kind);
  void LayoutSheet();
  void SetpvParameter();
  void SetDrawBorder();
  void SetpvStatus();
  void InitZoomLimits();
  void RepaintPage();
  void DrawGrid1DrawCell(QPainter& painter);
  void SpeedButton1Click();  // previous page
  void SpeedButton2Click();  // next page
  void F3Click();
  void E2Click();
  void C2Click();
  void SpeedButton4Click();  // zoom in
  void SpeedButton5Click();  // zoom out
  void SpeedButton6Click();
  void SpeedButton7Click();
  void SpeedButton8Click();
  void SpeedButton9Click();
  void SpeedButton10Click();
  void SpeedButton11Click();

  // ---- app/TdataoutPrint.cpp ------------------------------------------------
  void B3Click();
  void F2Click();
  void L1Click();
  void S1Click();
  void P1Click();

 protected:
  // app/TdataoutFiles.cpp: FormCloseQuery and the release.
  void closeEvent(QCloseEvent* event) override;
  // app/TdataoutGrid.cpp: the editor's keys and leaving.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // app/TdataoutOpen.cpp: a grade file dropped on the window.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // app/TdataoutKeys.cpp: the frame is known once the window is shown.
  void showEvent(QShowEvent* event) override;
  // app/Tdataout.cpp: the preview is set up once the window has painted.
  bool event(QEvent* event) override;

 private:
  // ---- app/TdataoutBuild.cpp: the builders, in the order FormCreate calls them
  void BuildForm();         // caption, icon, font
  void BuildMenus();        // F1, W1, N7, P1, S1 and their items
  void BuildToolBar();      // ToolBar1, its SpeedButtons and PopupMenu1
  void BuildStatusBar();    // StatusBar1 and its three panels
  void BuildEditingView();  // Views, Panel1 and what it holds
  void BuildPreviewView();  // ScrollBox1 and DrawGrid1
  void ConnectCommands();   // menus, buttons, grids, editor and share to their handlers
  void BuildEditingAids();  // shortcuts, copy, paste, find, recent files, drops (TdataoutKeys.cpp)

  // ---- app/Tdataout.cpp: the start-up steps, in order
  void HidePreview();         // 1
  void FindAppDir();          // 2
  void ResetSheet();          // 3
  void PlaceWindow();         // 4
  void ClearLayoutLists();    // 5
  void SetUpPreview();        // 6 to 10: resolutions, print settings, zoom, page (by EnsurePreview)
  void ShowEditingView();     // 11
  void ShowGridHeadings();    // 12 (app/TdataoutGrid.cpp)
  void FillEditorWords();     // 13 (app/TdataoutGrid.cpp)

  // ---- app/TdataoutFiles.cpp
  bool AskSaveBeforeOpen();  // false when the grades must stay: cancelled, or the save failed
  bool OpenChosenFile(const QString& path);
  bool MayOverwriteOnDisk();  // asks when another program wrote the file
  bool WriteGradeFile(const std::string& path);
  void ShowFileName();  // Label8
  void ReleaseAll();

  // ---- app/TdataoutGrid.cpp
  void ShowGridRow(int row);             // puts GridRows[row - 1] on the grid
  void PlaceEditor();                    // keeps the editor over its cell
  void MoveEditor(EditorMove move);
  void RefuseInput(QWidget* where, const QString& restored, const QString& why);
  void MarkShare();  // a share no total can be weighed with is marked on its field

  // ---- app/TdataoutEdit.cpp
  void ShowEditStep(const EditStep& step);  // the course and cell an undo or redo changed
  void EnableUndoRedo();
  bool IsUndoKey(QEvent* event) const;  // Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z in an edit field

  // ---- app/TdataoutKeys.cpp
  bool EditingKeyFilter(QObject* watched, QEvent* event);  // true: taken
  void EnterGrid();  // from the course list to the first student's coursework
  void EnterGridAt(int row);  // the editor at the coursework of grid row `row`
  void FitFrameToScreen();

  // ---- app/TdataoutClipboard.cpp
  bool IsClipboardKey(QEvent* event, const QAction* action) const;
  // Writes each cell through as typed, in order, as one step to undo, and
  // leaves the cells selected. Returns the cells not written because they
  // (or the totals they lead to) do not fit their fields.
  std::vector<PasteCell> WriteCells(const std::vector<PasteCell>& cells);
  void ClearSelectedCells();  // Delete on the grid: the selected grades emptied

  // ---- app/TdataoutOpen.cpp
  QString OpenFolder() const;  // where the open dialog starts
  void RememberFile();         // FileName first in the recent files
  // ---- app/TdataoutChecks.cpp
  QWidget* BuildCheckBar(QWidget* parent);  // hidden; the caller lays it over the grid
  void FindRepeatedNumbers(const std::string& key);  // of the course shown, before its rows are shown
  void MarkRow(int row);       // the findings of a grid row: colours, tool tips, the bar's count
  void MarkEditor();  // the mark of the editor's cell on the editor
  int GridRowOf(std::size_t lineIndex) const;  // the grid row of a record of the course shown; 0 none
  void UpdateCheckBar();

  // ---- app/TdataoutPreview.cpp
  void ShowView(bool preview);       // a view with its tool bar, status bar and menus
  void ShowSheet(std::uint8_t mode);  // the preview of the sheet (0) or the sheet by class
  void PageSetupChanged();           // measures, lays out and shows the page again

  // ---- app/TdataoutPrint.cpp
  void SaveSettings();  // fonts and margins for the next start
  QString JobTitle() const;

  std::unique_ptr<DialogSeam> dialogs_;
  std::unique_ptr<FileRecovery> recovery_;  // the open file's lock, journal and versions
  QString appDirOverride_;
  std::string shareBytes_;   // Edit1's text as GBK (always GBK-valid)
  std::string editorBytes_;  // ComboBox1's text as GBK (always GBK-valid)
  bool released_ = false;
  bool placed_ = false;  // the first show has fitted the frame into the screen
  bool previewSetUp_ = false;
  QSize placedSize_;     // the size start-up gave the window; another is the teacher's own
  EditStep cellStep_;   // the grade editor's changes since it arrived at its cell
  EditStep shareStep_;  // the share field's changes since it took the focus
  QAction* recentSeparator_ = nullptr;  // after the recent files, before X1
  int findCourse_ = 0;  // the course list row and grid row of the last student found; 0: none
  int findRow_ = 0;
  // Per grid row of the course shown: why its student number is marked
  // (empty: not repeated), and its total: 0 agrees with the share, 1 does
  // not, 2 does not and fits no share (typed by hand, most likely).
  std::vector<std::string> repeatedNumber_;
  std::vector<unsigned char> totalState_;
  std::size_t mismatches_ = 0;
  std::size_t typedMismatches_ = 0;
};
