// The builders of the window's components, in the order BuildWindow calls
// them, and the connections of the components to their handlers. What each
// component is for is in the legend at the top of MainWindow.h.
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>

#include "app/EditingGrids.h"
#include "app/Glyphs.h"
#include "app/GradeMarks.h"
#include "app/CheckBar.h"
#include "app/MainWindow.h"
#include "app/SheetOutput.h"
#include "app/WindowTexts.h"
#include "preview/DialogLook.h"
#include "preview/PageWidget.h"
#include "printing/qt/Fonts.h"

namespace {

// A label that shows its caption elided in the middle when it does not fit,
// so a long path keeps its file name visible; text() stays the whole caption.
class PathLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, width());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shown);
  }
};

// The grid's look shared by the course list and the student grid.
}  // namespace

void MainWindow::BuildForm() {
  InstallFontSubstitutes();
  setObjectName(QStringLiteral("dataout"));
  setWindowTitle(WindowTexts::Caption());
  setWindowIcon(WindowIcon());
  setFont(preview::FormFont());
}

void MainWindow::BuildStatusBar() {
  statusLine = new QStatusBar(this);
  statusLine->setObjectName(QStringLiteral("statusLine"));
  statusLine->setFixedHeight(19);
  const int panelWidths[3] = {160, 120, 120};
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(statusLine);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFixedWidth(panelWidths[i]);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    statusLine->addWidget(panel);
    statusPanels[i] = panel;
  }
  setStatusBar(statusLine);
}

void MainWindow::BuildEditingView() {
  // The two views share the window's centre; one shows at a time.
  views = new QStackedWidget(this);
  views->setObjectName(QStringLiteral("views"));
  setCentralWidget(views);

  editingView = new QFrame(views);
  editingView->setObjectName(QStringLiteral("editingView"));
  auto* editingLayout = new QHBoxLayout(editingView);
  editingLayout->setContentsMargins(0, 0, 0, 0);
  editingLayout->setSpacing(0);

  courseColumn = new QFrame(editingView);
  courseColumn->setObjectName(QStringLiteral("courseColumn"));
  courseColumn->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  courseColumn->setFixedWidth(344);
  editingLayout->addWidget(courseColumn);

  fileLabel = new PathLabel(WindowTexts::NoFileLabel(), courseColumn);
  fileLabel->setObjectName(QStringLiteral("fileLabel"));
  fileLabel->setGeometry(16, 20, 344 - 16 - 6, 18);

  courseList = new CourseList(Book.CourseTitles, courseColumn);
  courseList->setObjectName(QStringLiteral("courseList"));
  courseList->setGeometry(11, 48, 321, 249);
  courseList->setColumnWidth(0, 308);
  courseList->setSelectionBehavior(QAbstractItemView::SelectRows);
  courseList->setSelectionMode(QAbstractItemView::SingleSelection);
  courseList->setTextElideMode(Qt::ElideRight);

  shareLabel = new QLabel(QStringLiteral("平时成绩占百分比:"), courseColumn);
  shareLabel->setObjectName(QStringLiteral("shareLabel"));
  shareLabel->move(10, 328);
  shareLabel->adjustSize();

  shareEdit = new QLineEdit(courseColumn);
  shareEdit->setObjectName(QStringLiteral("shareEdit"));
  shareEdit->setGeometry(128, 324, 49, 21);

  studentGrid = new StudentGrid(GridRows, editingView);
  marks_ = std::make_unique<GradeMarks>(GridRows, studentGrid->Students());
  studentGrid->setObjectName(QStringLiteral("studentGrid"));
  studentGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  studentGrid->setTextElideMode(Qt::ElideNone);
  {
    // The given widths, unless the heading needs more in the font at hand.
    const int widths[7] = {32, 80, 64, 64, 64, 64, 64};
    const QFontMetrics fm(studentGrid->font());
    const QString widest[7] = {QStringLiteral("9999"), QStringLiteral("0000000000"),
                               QStringLiteral("四个汉字"), QStringLiteral("四个汉字"),
                               QStringLiteral("平时成绩"), QStringLiteral("考试成绩"),
                               QStringLiteral(" 总成绩")};
    for (int c = 0; c < 7; ++c)
      studentGrid->setColumnWidth(c, std::max(widths[c], fm.horizontalAdvance(widest[c]) + 10));
  }
  auto* gridColumn = new QVBoxLayout;
  gridColumn->setSpacing(0);
  checkBar_ = new CheckBar(editingView);
  connect(checkBar_, &CheckBar::recompute, this, [this] { recomputeTotals(); });
  gridColumn->addWidget(checkBar_);
  gridColumn->addWidget(studentGrid, 1);
  editingLayout->addLayout(gridColumn, 1);

  gradeCells_ = new GradeEditor(*studentGrid);

  views->addWidget(editingView);
}

void MainWindow::BuildPreviewView() {
  sheetPreview_ = new preview::SheetPreview(Book, views);
  views->addWidget(sheetPreview_->pageArea());
  connect(sheetPreview_, &preview::SheetPreview::stateChanged, this, &MainWindow::ShowPreviewState);
  sheetOutput_ = new SheetOutput(*this, document_, *sheetPreview_, *dialogs_,
                                 {.ConfirmPrint = [this] { return ConfirmFindings(FindingsPurpose::Print); },
                                  .LeaveEditor = [this] { leaveGradeEditor(); },
                                  .EnsurePreview = [this] { EnsurePreview(); },
                                  .ShownCourse = [this] { return courseList->currentRow(); }});
  gradeExchange_ = new GradeExchange(*this, document_, *dialogs_,
                                     {.ShownCourse = [this] { return courseList->currentRow(); },
                                      .LeaveEditing =
                                          [this] {
                                            leaveGradeEditor();
                                            FinishEditSteps();
                                            if (views->currentWidget() != editingView) showEditing();
                                          },
                                      .LeaveEditor = [this] { leaveGradeEditor(); },
                                      .Imported =
                                          [this](EditStep step, const std::string& key) {
                                            PushEditStep(std::move(step));
                                            ShowCourse(key);
                                          }});
}

void MainWindow::ConnectCommands() {
  const Commands& c = commands_;
  const std::pair<QAction*, void (MainWindow::*)()> handlers[] = {
      {c.open, &MainWindow::openFile},
      {c.save, &MainWindow::save},
      {c.saveAs, &MainWindow::saveAs},
      {c.versions, &MainWindow::showVersions},
      {c.exit, &MainWindow::exitProgram},
      {c.undo, &MainWindow::undo},
      {c.redo, &MainWindow::redo},
      {c.copyCells, &MainWindow::copyCells},
      {c.pasteCells, &MainWindow::pasteCells},
      {c.find, &MainWindow::showFindBar},
      {c.showEditing, &MainWindow::showEditing},
      {c.showSheet, &MainWindow::showSheet},
      {c.showSheetByClass, &MainWindow::showSheetByClass},
      {c.analysis, &MainWindow::showAnalysis},
      {c.choosePage, &MainWindow::choosePage}};
  for (const auto& [action, handler] : handlers)
    connect(action, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
  using preview::SheetPreview;
  const std::pair<QAction*, void (SheetPreview::*)()> pageCommands[] = {
      {c.previousPage, &SheetPreview::previousPage},
      {c.nextPage, &SheetPreview::nextPage},
      {c.firstPage, &SheetPreview::firstPage},
      {c.lastPage, &SheetPreview::lastPage},
      {c.zoomIn, &SheetPreview::zoomIn},
      {c.zoomOut, &SheetPreview::zoomOut},
      {c.scrollToTop, &SheetPreview::scrollToTop},
      {c.scrollToBottom, &SheetPreview::scrollToBottom},
      {c.scrollToLeft, &SheetPreview::scrollToLeft},
      {c.scrollToRight, &SheetPreview::scrollToRight},
      {c.scrollToTopLeft, &SheetPreview::scrollToTopLeft},
      {c.scrollToBottomRight, &SheetPreview::scrollToBottomRight}};
  for (const auto& [action, handler] : pageCommands)
    connect(action, &QAction::triggered, sheetPreview_, handler);
  const std::pair<QAction*, void (SheetOutput::*)()> outputCommands[] = {
      {c.exportSheetPdf, &SheetOutput::exportSheetPdf},
      {c.print, &SheetOutput::printSheet},
      {c.printerSetup, &SheetOutput::setUpPrinter},
      {c.bodyFont, &SheetOutput::chooseBodyFont},
      {c.titleFont, &SheetOutput::chooseTitleFont},
      {c.margins, &SheetOutput::setMargins}};
  for (const auto& [action, handler] : outputCommands)
    connect(action, &QAction::triggered, sheetOutput_, handler);
  connect(c.importScores, &QAction::triggered, gradeExchange_, &GradeExchange::importScores);
  connect(c.exportGrades, &QAction::triggered, gradeExchange_, &GradeExchange::exportGrades);
  connect(&document_, &Document::canSaveChanged, c.save, &QAction::setEnabled);
  document_.ConfirmSaveWith([this] { return ConfirmFindings(FindingsPurpose::Save); });
  connect(&document_, &Document::fileNameChanged, this, [this] {
    for (QAction* command : {commands_.saveAs, commands_.versions}) command->setEnabled(!FileName.empty());
    ShowFileName();
  });

  connect(courseList, &CourseList::rowChosen, this, &MainWindow::selectCourse);
  connect(studentGrid, &StudentGrid::currentCellChanged, this, &MainWindow::selectGradeCell);
  // A click on the cell that is already current (the editor was left) lays
  // the editor over it again.
  connect(studentGrid, &StudentGrid::cellPressed, this, [this](int row, int col) {
    if (gradeEditor()->isVisible() && row == gradeCells_->Row() && col == gradeCells_->Column()) return;
    if (studentGrid->currentRow() != row || studentGrid->currentColumn() != col) return;
    selectGradeCell(row, col);
  });
  connect(gradeEditor(), &QComboBox::editTextChanged, this, [this] { takeEditorText(); });
  connect(shareEdit, &QLineEdit::textEdited, this, [this] { changeShare(); });
  gradeEditor()->installEventFilter(this);
  gradeEditor()->lineEdit()->installEventFilter(this);
  shareEdit->installEventFilter(this);
  // A cell scrolled out of sight takes the editor with it.
  connect(gradeCells_, &GradeEditor::leftSight, this, &MainWindow::leaveGradeEditor);
}
