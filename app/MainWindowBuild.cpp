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
#include "app/EditingView.h"
#include "app/Glyphs.h"
#include "app/GradeMarks.h"
#include "app/CheckBar.h"
#include "app/MainWindow.h"
#include "app/SheetOutput.h"
#include "app/WindowTexts.h"
#include "preview/DialogLook.h"
#include "preview/PageWidget.h"
#include "printing/qt/Fonts.h"


void MainWindow::BuildForm() {
  InstallFontSubstitutes();
  setObjectName(QStringLiteral("dataout"));
  setWindowTitle(WindowTexts::Caption());
  setWindowIcon(WindowIcon());
  setFont(preview::FormFont());
}

void MainWindow::BuildStatusBar() {
  statusLine_ = new QStatusBar(this);
  statusLine_->setObjectName(QStringLiteral("statusLine_"));
  statusLine_->setFixedHeight(19);
  const int panelWidths[3] = {160, 120, 120};
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(statusLine_);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFixedWidth(panelWidths[i]);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    statusLine_->addWidget(panel);
    statusPanels_[i] = panel;
  }
  setStatusBar(statusLine_);
}

void MainWindow::BuildEditingView() {
  // The two views_ share the window's centre; one shows at a time.
  views_ = new QStackedWidget(this);
  views_->setObjectName(QStringLiteral("views_"));
  setCentralWidget(views_);

  editingView_ = new EditingView(Book, views_);
  connect(editingView_->checkBar(), &CheckBar::recompute, this, [this] { recomputeTotals(); });
  views_->addWidget(editingView_);
  // What works on the editing view's cells and courses.
  clipboard_ = new GridClipboard(*this, Book, *editingView_, *dialogs_,
                                 {.Editing = [this] { return views_->currentWidget() == editingView_; },
                                  .LeaveEditor = [this] { leaveGradeEditor(); },
                                  .Keep = [this](EditStep step) { PushEditStep(std::move(step)); }});
  gradeExchange_ = new GradeExchange(*this, document_, *dialogs_,
                                     {.ShownCourse = [this] { return courseList()->currentRow(); },
                                      .LeaveEditing =
                                          [this] {
                                            leaveGradeEditor();
                                            FinishEditSteps();
                                            if (views_->currentWidget() != editingView_) showEditing();
                                          },
                                      .LeaveEditor = [this] { leaveGradeEditor(); },
                                      .Imported =
                                          [this](EditStep step, const std::string& key) {
                                            PushEditStep(std::move(step));
                                            ShowCourse(key);
                                          }});
}

void MainWindow::BuildPreviewView() {
  sheetPreview_ = new preview::SheetPreview(Book, views_);
  views_->addWidget(sheetPreview_->pageArea());
  connect(sheetPreview_, &preview::SheetPreview::stateChanged, this, &MainWindow::ShowPreviewState);
  sheetOutput_ = new SheetOutput(*this, document_, *sheetPreview_, *dialogs_,
                                 {.ConfirmPrint = [this] { return ConfirmFindings(FindingsPurpose::Print); },
                                  .LeaveEditor = [this] { leaveGradeEditor(); },
                                  .EnsurePreview = [this] { EnsurePreview(); },
                                  .ShownCourse = [this] { return courseList()->currentRow(); }});
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
  connect(c.copyCells, &QAction::triggered, clipboard_, &GridClipboard::copyCells);
  connect(c.pasteCells, &QAction::triggered, clipboard_, &GridClipboard::pasteCells);
  connect(c.importScores, &QAction::triggered, gradeExchange_, &GradeExchange::importScores);
  connect(c.exportGrades, &QAction::triggered, gradeExchange_, &GradeExchange::exportGrades);
  connect(&document_, &Document::canSaveChanged, c.save, &QAction::setEnabled);
  document_.ConfirmSaveWith([this] { return ConfirmFindings(FindingsPurpose::Save); });
  connect(&document_, &Document::fileNameChanged, this, [this] {
    for (QAction* command : {commands_.saveAs, commands_.versions}) command->setEnabled(!FileName.empty());
    ShowFileName();
  });

  connect(courseList(), &CourseList::rowChosen, this, &MainWindow::selectCourse);
  connect(studentGrid(), &StudentGrid::currentCellChanged, this, &MainWindow::selectGradeCell);
  // A click on the cell that is already current (the editor was left) lays
  // the editor over it again.
  connect(studentGrid(), &StudentGrid::cellPressed, this, [this](int row, int col) {
    if (gradeEditor()->isVisible() && row == gradeCells().Row() && col == gradeCells().Column()) return;
    if (studentGrid()->currentRow() != row || studentGrid()->currentColumn() != col) return;
    selectGradeCell(row, col);
  });
  connect(gradeEditor(), &QComboBox::editTextChanged, this, [this] { takeEditorText(); });
  connect(shareEdit(), &QLineEdit::textEdited, this, [this] { changeShare(); });
  gradeEditor()->installEventFilter(this);
  gradeEditor()->lineEdit()->installEventFilter(this);
  shareEdit()->installEventFilter(this);
  // A cell scrolled out of sight takes the editor with it.
  connect(&gradeCells(), &GradeEditor::leftSight, this, &MainWindow::leaveGradeEditor);
}
