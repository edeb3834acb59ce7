#pragma once
// The main window. Its member functions are defined in two files:
//   app/Tdataout.cpp            start-up, menus, file commands, course list,
//                               student grid, grade editor, share, closing
//   preview/TdataoutPreview.cpp views and sheet printer, preview, zoom,
//                               navigation, page dialogs, fonts, printer
//                               set-up and printing
#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/DialogSeam.h"
#include "gradefile/GradeBook.h"
#include "printing/PrintSettings.h"
#include "printing/TdjxscjPrn.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
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

  // ---- components -------------------------------------------------------
  QToolBar* ToolBar1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 3> StatusPanels{};
  QStackedWidget* Views = nullptr;  // brings Panel1 or ScrollBox1 to the front
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
  QAction *W1 = nullptr, *Z1 = nullptr, *N11 = nullptr, *G1 = nullptr;
  QAction *N7 = nullptr, *L2 = nullptr, *N10 = nullptr, *F3 = nullptr, *E2 = nullptr,
          *C2 = nullptr, *G2 = nullptr, *S2 = nullptr;
  QAction *P1 = nullptr, *S1 = nullptr;
  QAction *F2 = nullptr, *L1 = nullptr, *B3 = nullptr;  // PopupMenu1

  // Tool bar buttons; index i is SpeedButton(i), unused indices null.
  std::array<QToolButton*, 17> SpeedButton{};

  std::unique_ptr<QPrinter> Printer;  // the current printer
  DialogSeam& Dialogs() { return *dialogs_; }

  // ---- app/Tdataout.cpp -------------------------------------------------
  void FormCreate();
  void O1Click();
  void S3Click();
  void A1Click();  // save as: the window goes on with the file it saved to
  void X1Click();
  bool LoadGradeFile(const QString& path);
  bool SaveGradeFile();  // false when the save failed (message shown)
  void BuildCourseList();
  void ShowCourse(const std::string& key);
  void StringGrid2SelectCell(int ACol, int ARow, bool& CanSelect);
  void StringGrid1SelectCell(int ACol, int ARow, bool& CanSelect);
  void ComboBox1Change();
  void ComboBox1Exit();
  void Edit1Change();
  bool Modified() const { return Book.Modified; }

  // The student grid's bytes: GridRows[r - 1] holds the GBK cells of grid
  // row r (row 0 is the heading). The grid's QStrings are only for display.
  std::vector<StudentRow> GridRows;
  // The grid cell the grade editor was laid over; -1 when none.
  int EditCol = -1;
  int EditRow = -1;
  // The last refusal of typed text that the grade file cannot hold (shown as
  // the editor's or the share field's tool tip); empty when none.
  QString InputNotice;

  // ---- preview/TdataoutPreview.cpp --------------------------------------
  void MeasureResolutions();  // FormCreate step 6: printer and screen Dpi
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
  void B3Click();
  void SpeedButton4Click();  // zoom in
  void SpeedButton5Click();  // zoom out
  void SpeedButton6Click();
  void SpeedButton7Click();
  void SpeedButton8Click();
  void SpeedButton9Click();
  void SpeedButton10Click();
  void SpeedButton11Click();
  void F2Click();
  void L1Click();
  void S1Click();
  void P1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;  // FormCloseQuery and the release
  bool eventFilter(QObject* watched, QEvent* event) override;  // editor keys and exit

 private:
  bool MayOverwriteOnDisk();            // asks when another program wrote the file
  bool WriteGradeFile(const std::string& path);
  void ShowFileName();                  // Label8
  void ShowGridRow(int row);           // puts GridRows[row - 1] on the grid
  void MarkGradeCell(int row, int col);  // warning colour for unreadable grades
  void PlaceEditor();                   // keeps the editor over its cell
  void MoveEditor(int dRow, int dCol, bool wrap);
  void RefuseInput(QWidget* where, const QString& restored);
  void ReleaseAll();

  std::unique_ptr<DialogSeam> dialogs_;
  QString appDirOverride_;
  std::string shareBytes_;   // Edit1's text as GBK (always GBK-valid)
  std::string editorBytes_;  // ComboBox1's text as GBK (always GBK-valid)
  bool released_ = false;
};
