// The builders of the window's components, in the order FormCreate calls
// them, and the connections of the components to their handlers. What each
// component is for is in the legend at the top of MainWindow.h.
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <initializer_list>

#include "app/EditingGrids.h"
#include "app/Glyphs.h"
#include "app/KeyTable.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "preview/DialogLook.h"
#include "preview/PageWidget.h"
#include "printing/qt/Fonts.h"

namespace {

// An item of a menu: the window's member that holds it, its object name and
// its caption; no member makes a separator.
struct MenuItem {
  QAction* MainWindow::*Action = nullptr;
  const char* Name = nullptr;
  const char* Caption = nullptr;
};
constexpr MenuItem kSeparator{};

void AddItems(MainWindow& w, QMenu* menu, std::initializer_list<MenuItem> items) {
  for (const MenuItem& item : items) {
    if (item.Action == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromUtf8(item.Caption));
    action->setObjectName(QString::fromLatin1(item.Name));
    w.*item.Action = action;
  }
}

QMenu* AddMenu(MainWindow& w, QMenuBar* bar, const MenuItem& title, std::initializer_list<MenuItem> items) {
  QMenu* menu = bar->addMenu(QString::fromUtf8(title.Caption));
  menu->setFont(preview::FormFont());
  w.*title.Action = menu->menuAction();
  (w.*title.Action)->setObjectName(QString::fromLatin1(title.Name));
  AddItems(w, menu, items);
  return menu;
}

QToolButton* MakePageButton(QToolBar* bar, int index, const char* name, const QString& hint) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoRaise(true);
  button->setFixedSize(22, 22);
  button->setIconSize(QSize(16, 16));
  button->setIcon(ToolGlyph(index));
  button->setToolTip(hint);
  button->setFocusPolicy(Qt::NoFocus);
  bar->addWidget(button);
  return button;
}

void AddSplitter(QToolBar* bar, const QString& name) {
  auto* line = new QFrame(bar);
  line->setObjectName(name);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setFixedSize(10, 22);
  bar->addWidget(line);
}

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

void MainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setFont(preview::FormFont());
  AddMenu(*this, bar, {&MainWindow::fileMenu, "fileMenu", "&F 文件"},
          {{&MainWindow::openAction, "openAction", "&O.  打开..."},
           kSeparator,
           {&MainWindow::saveAction, "saveAction", "&S.  保存"},
           // A save that fails (a read-only folder or file, another user's
           // file) always leaves this way out to another place.
           {&MainWindow::saveAsAction, "saveAsAction", "另存为(&A)..."},
           {&MainWindow::previousVersionsAction, "previousVersionsAction", "以前的版本(&V)..."},
           kSeparator,
           {&MainWindow::importAction, "importAction", "导入成绩(&I)..."},
           {&MainWindow::exportAction, "exportAction", "导出(&E)..."},
           {&MainWindow::exportSheetPdfAction, "exportSheetPdf", "导出成绩单 PDF(&D)..."},
           kSeparator,
           {&MainWindow::exitAction, "exitAction", "&X.  退出"}});
  saveAsAction->setShortcuts(KeysOf(KeyCommand::SaveAs));
  AddMenu(*this, bar, {&MainWindow::editMenu, "editMenu", "编辑(&E)"},
          {{&MainWindow::undoAction, "undoAction", "撤销(&U)"}, {&MainWindow::redoAction, "redoAction", "重做(&R)"}});
  undoAction->setShortcuts(KeysOf(KeyCommand::Undo));
  redoAction->setShortcuts(KeysOf(KeyCommand::Redo));
  undoAction->setEnabled(false);
  redoAction->setEnabled(false);
  AddMenu(*this, bar, {&MainWindow::windowMenu, "windowMenu", "&W 窗口"},
          {{&MainWindow::showEditingAction, "showEditingAction", "&Z.  整理成绩"},
           kSeparator,
           {&MainWindow::showSheetAction, "showSheetAction", "&B.  成绩单"},
           {&MainWindow::showSheetByClassAction, "showSheetByClassAction", "&G.  分班成绩单"},
           kSeparator,
           {&MainWindow::analysisAction, "analysisAction", "成绩分析(&A)"}});
  analysisAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
  analysisAction->setEnabled(false);
  AddMenu(*this, bar, {&MainWindow::previewMenu, "previewMenu", "&V 预览"},
          {{&MainWindow::previousPageAction, "previousPageAction", "&L.  上页"},
           {&MainWindow::nextPageAction, "nextPageAction", "&N.  下页"},
           kSeparator,
           {&MainWindow::firstPageAction, "firstPageAction", "&F.  第一页"},
           {&MainWindow::lastPageAction, "lastPageAction", "&E.  最后一页"},
           kSeparator,
           {&MainWindow::choosePageAction, "choosePageAction", "&C.  选页..."},
           kSeparator,
           {&MainWindow::zoomInAction, "zoomInAction", "&G.  放大"},
           {&MainWindow::zoomOutAction, "zoomOutAction", "&S.  缩小"}});
  printAction = bar->addAction(QStringLiteral("&P 打印"));
  printAction->setObjectName(QStringLiteral("printAction"));
  printerSetupAction = bar->addAction(QStringLiteral("&S 打印机设置"));
  printerSetupAction->setObjectName(QStringLiteral("printerSetupAction"));
  saveAction->setEnabled(false);
  saveAsAction->setEnabled(false);
  importAction->setEnabled(false);
  exportAction->setEnabled(false);
  previousVersionsAction->setEnabled(false);
  exportSheetPdfAction->setEnabled(false);
  showEditingAction->setEnabled(false);
}

void MainWindow::BuildToolBar() {
  previewToolBar = new QToolBar(this);
  previewToolBar->setObjectName(QStringLiteral("previewToolBar"));
  previewToolBar->setMovable(false);
  previewToolBar->setFloatable(false);
  previewToolBar->setFixedHeight(27);
  previewToolBar->setIconSize(QSize(16, 16));
  previewToolBar->setContentsMargins(6, 0, 0, 0);
  addToolBar(Qt::TopToolBarArea, previewToolBar);
  struct Button {
    int Index;
    const char* Name;
    const char* Hint;
  };
  const Button buttons[] = {
      {1, "previousPageButton", "上一页"},    {2, "nextPageButton", "下一页"},
      {3, "choosePageButton", "选择页码"},    {4, "zoomInButton", "放大"},
      {5, "zoomOutButton", "缩小"},           {6, "scrollToTopButton", "页顶"},
      {7, "scrollToBottomButton", "页底"},    {8, "scrollToLeftButton", "页左边"},
      {9, "scrollToRightButton", "页右边"},   {10, "scrollToTopLeftButton", "页左上角"},
      {11, "scrollToBottomRightButton", "页右下角"}};
  for (const Button& b : buttons)
    pageButtons[b.Index] = MakePageButton(previewToolBar, b.Index, b.Name, QString::fromUtf8(b.Hint));
  AddSplitter(previewToolBar, QStringLiteral("Splitter1"));
  pageButtons[15] = MakePageButton(previewToolBar, 15, "printerSetupButton", QStringLiteral("打印机设置"));
  AddSplitter(previewToolBar, QStringLiteral("Splitter2"));
  pageButtons[16] = MakePageButton(previewToolBar, 16, "printButton", QStringLiteral("打印"));
  exportSheetPdfAction->setIconText(QStringLiteral("导出成绩单 PDF"));
  exportSheetPdfAction->setToolTip(exportSheetPdfAction->iconText());
  previewToolBar->addAction(exportSheetPdfAction);
  previewToolBar->widgetForAction(exportSheetPdfAction)->setObjectName(QStringLiteral("exportSheetPdfButton"));

  pageSetupMenu = new QMenu(this);
  pageSetupMenu->setObjectName(QStringLiteral("pageSetupMenu"));
  pageSetupMenu->setFont(preview::FormFont());
  AddItems(*this, pageSetupMenu,
           {{&MainWindow::bodyFontAction, "bodyFontAction", "&F.  表内容字体..."},
            {&MainWindow::titleFontAction, "titleFontAction", "&L.  表标题字体..."},
            kSeparator,
            {&MainWindow::marginsAction, "marginsAction", "&B.  设置页边界..."}});
  previewToolBar->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(previewToolBar, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { pageSetupMenu->popup(previewToolBar->mapToGlobal(at)); });
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

  courseList = new CourseList(Book.CourseRows, courseColumn);
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
  gridColumn->addWidget(BuildCheckBar(editingView));
  gridColumn->addWidget(studentGrid, 1);
  editingLayout->addLayout(gridColumn, 1);

  gradeEditor = new QComboBox(editingView);
  gradeEditor->setObjectName(QStringLiteral("gradeEditor"));
  gradeEditor->setEditable(true);
  gradeEditor->setInsertPolicy(QComboBox::NoInsert);
  gradeEditor->setCompleter(nullptr);  // completion would change what is typed
  gradeEditor->setMaxVisibleItems(24);
  gradeEditor->setFont(preview::FormFont());
  gradeEditor->setFixedSize(std::max(66, studentGrid->columnWidth(4) + 2), 21);
  gradeEditor->hide();

  views->addWidget(editingView);
}

void MainWindow::BuildPreviewView() {
  pageArea = new QScrollArea(views);
  pageArea->setObjectName(QStringLiteral("pageArea"));
  pageArea->setWidgetResizable(false);
  auto* pageHost = new QWidget;
  pageHost->setObjectName(QStringLiteral("ScrollBox1Host"));
  {
    QPalette desktop = pageHost->palette();
    desktop.setColor(QPalette::Window, QColor(58, 110, 165));  // the desktop colour
    pageHost->setPalette(desktop);
    pageHost->setAutoFillBackground(true);
    pageArea->setPalette(desktop);
  }
  pageWidget = new PageWidget(pageHost);
  pageWidget->SetPagePainter([this](QPainter& painter) { paintPage(painter); });
  pageWidget->move(20, 20);
  pageArea->setWidget(pageHost);
  views->addWidget(pageArea);
}

void MainWindow::ConnectCommands() {
  const std::pair<QAction*, void (MainWindow::*)()> actions[] = {
      {openAction, &MainWindow::openFile},           {saveAction, &MainWindow::save},
      {saveAsAction, &MainWindow::saveAs},           {exitAction, &MainWindow::exitProgram},
      {importAction, &MainWindow::importScores},           {exportAction, &MainWindow::exportGrades},
      {undoAction, &MainWindow::undo},           {redoAction, &MainWindow::redo},
      {showEditingAction, &MainWindow::showEditing},           {showSheetAction, &MainWindow::showSheet},
      {showSheetByClassAction, &MainWindow::showSheetByClass},           {previousPageAction, &MainWindow::previousPage},
      {nextPageAction, &MainWindow::nextPage}, {firstPageAction, &MainWindow::firstPage},
      {lastPageAction, &MainWindow::lastPage},           {choosePageAction, &MainWindow::choosePage},
      {zoomInAction, &MainWindow::zoomIn}, {zoomOutAction, &MainWindow::zoomOut},
      {printAction, &MainWindow::printSheet},           {printerSetupAction, &MainWindow::setUpPrinter},
      {bodyFontAction, &MainWindow::chooseBodyFont},           {titleFontAction, &MainWindow::chooseTitleFont},
      {marginsAction, &MainWindow::setMargins},           {analysisAction, &MainWindow::showAnalysis},
      {exportSheetPdfAction, &MainWindow::exportSheetPdf},  {previousVersionsAction, &MainWindow::showVersions}};
  for (const auto& [action, handler] : actions)
    connect(action, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
  const std::pair<int, void (MainWindow::*)()> buttons[] = {
      {1, &MainWindow::previousPage},   {2, &MainWindow::nextPage},
      {3, &MainWindow::choosePage},             {4, &MainWindow::zoomIn},
      {5, &MainWindow::zoomOut},   {6, &MainWindow::scrollToTop},
      {7, &MainWindow::scrollToBottom},   {8, &MainWindow::scrollToLeft},
      {9, &MainWindow::scrollToRight},   {10, &MainWindow::scrollToTopLeft},
      {11, &MainWindow::scrollToBottomRight}, {15, &MainWindow::setUpPrinter},
      {16, &MainWindow::printSheet}};
  for (const auto& [index, handler] : buttons)
    connect(pageButtons[index], &QToolButton::clicked, this,
            [this, handler = handler] { (this->*handler)(); });

  connect(courseList, &CourseList::rowChosen, this, &MainWindow::selectCourse);
  connect(studentGrid, &StudentGrid::currentCellChanged, this, &MainWindow::selectGradeCell);
  // A click on the cell that is already current (the editor was left) lays
  // the editor over it again.
  connect(studentGrid, &StudentGrid::cellPressed, this, [this](int row, int col) {
    if (gradeEditor->isVisible() && row == EditRow && col == EditCol) return;
    if (studentGrid->currentRow() != row || studentGrid->currentColumn() != col) return;
    selectGradeCell(row, col);
  });
  connect(gradeEditor, &QComboBox::editTextChanged, this, [this] { takeEditorText(); });
  connect(shareEdit, &QLineEdit::textEdited, this, [this] { changeShare(); });
  gradeEditor->installEventFilter(this);
  gradeEditor->lineEdit()->installEventFilter(this);
  shareEdit->installEventFilter(this);
  studentGrid->viewport()->installEventFilter(this);
  for (QScrollBar* bar : {studentGrid->verticalScrollBar(), studentGrid->horizontalScrollBar()})
    connect(bar, &QScrollBar::valueChanged, this, [this] { PlaceEditor(); });
}
