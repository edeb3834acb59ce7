// The editing half of the main window: start-up, menus and tool bar, open and
// save, the course list, the student grid, the grade editor, the share field
// and closing. The rules themselves live in GradeBook; this file shows what
// the book decides and forwards what the teacher does.
#include "app/Tdataout.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include "app/FrozenHeading.h"
#include "app/Glyphs.h"
#include "app/GradeCellCheck.h"
#include "app/QtDialogs.h"
#include "gradefile/FileMessages.h"
#include "gradefile/Gbk.h"
#include "grading/GradeParser.h"
#include "platform/Files.h"
#include "preview/TDrawGrid.h"
#include "printing/qt/Fonts.h"
#include "printing/qt/SettingsFolder.h"

namespace {

QString Ui(std::string_view gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

// The window font of every control: "宋体", 13 pixels high.
QFont FormFont() {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(13);
  return font;
}

// Fixed cells of a grid (headings, row numbers, student number, name, class):
// not selectable, drawn like the grid's fixed area but with readable text.
const QColor kFixedFace(236, 233, 216);
const QColor kGradeFace(Qt::white);
// Grade texts nothing will read as a grade.
const QColor kWarnFace(255, 214, 150);

QTableWidgetItem* FixedItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::NoItemFlags);
  item->setBackground(kFixedFace);
  item->setForeground(Qt::black);
  return item;
}

QTableWidgetItem* CellItem(QTableWidget* grid, int row, int col) {
  QTableWidgetItem* item = grid->item(row, col);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    grid->setItem(row, col, item);
  }
  return item;
}

QToolButton* MakeSpeedButton(QToolBar* bar, int index, const QString& hint) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QStringLiteral("SpeedButton%1").arg(index));
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

QString RefusalText() {
  return QStringLiteral("成绩文件使用 GBK 编码，无法存放刚输入的字符，已撤销这次输入。");
}

}  // namespace

Tdataout::Tdataout(std::unique_ptr<DialogSeam> dialogs, QString appDir, QWidget* parent)
    : QMainWindow(parent), dialogs_(std::move(dialogs)), appDirOverride_(std::move(appDir)) {
  if (!dialogs_) dialogs_ = std::make_unique<QtDialogs>();
  FormCreate();
}

Tdataout::~Tdataout() = default;

void Tdataout::FormCreate() {
  // ---- the form and its components ----------------------------------------
  InstallFontSubstitutes();
  setObjectName(QStringLiteral("dataout"));
  setWindowTitle(QStringLiteral("教师整理学生成绩__Velmora (VLM) Tarvin版"));
  setWindowIcon(WindowIcon());
  setFont(FormFont());

  // Main menu.
  QMenuBar* bar = menuBar();
  bar->setFont(FormFont());
  QMenu* fileMenu = bar->addMenu(QStringLiteral("&F 文件"));
  F1 = fileMenu->menuAction();
  O1 = fileMenu->addAction(QStringLiteral("&O.  打开..."));
  fileMenu->addSeparator();
  S3 = fileMenu->addAction(QStringLiteral("&S.  保存"));
  // A save that fails (a read-only folder or file, another user's file)
  // always leaves this way out to another place.
  A1 = fileMenu->addAction(QStringLiteral("另存为(&A)..."));
  A1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  fileMenu->addSeparator();
  X1 = fileMenu->addAction(QStringLiteral("&X.  退出"));

  QMenu* windowMenu = bar->addMenu(QStringLiteral("&W 窗口"));
  W1 = windowMenu->menuAction();
  Z1 = windowMenu->addAction(QStringLiteral("&Z.  整理成绩"));
  windowMenu->addSeparator();
  N11 = windowMenu->addAction(QStringLiteral("&B.  成绩单"));
  G1 = windowMenu->addAction(QStringLiteral("&G.  分班成绩单"));

  QMenu* previewMenu = bar->addMenu(QStringLiteral("&V 预览"));
  N7 = previewMenu->menuAction();
  L2 = previewMenu->addAction(QStringLiteral("&L.  上页"));
  N10 = previewMenu->addAction(QStringLiteral("&N.  下页"));
  previewMenu->addSeparator();
  F3 = previewMenu->addAction(QStringLiteral("&F.  第一页"));
  E2 = previewMenu->addAction(QStringLiteral("&E.  最后一页"));
  previewMenu->addSeparator();
  C2 = previewMenu->addAction(QStringLiteral("&C.  选页..."));
  previewMenu->addSeparator();
  G2 = previewMenu->addAction(QStringLiteral("&G.  放大"));
  S2 = previewMenu->addAction(QStringLiteral("&S.  缩小"));

  P1 = bar->addAction(QStringLiteral("&P 打印"));
  S1 = bar->addAction(QStringLiteral("&S 打印机设置"));
  for (QMenu* menu : {fileMenu, windowMenu, previewMenu}) menu->setFont(FormFont());
  const std::pair<QAction*, const char*> names[] = {
      {F1, "F1"}, {O1, "O1"}, {S3, "S3"}, {A1, "A1"}, {X1, "X1"}, {W1, "W1"}, {Z1, "Z1"},
      {N11, "N11"}, {G1, "G1"}, {N7, "N7"}, {L2, "L2"}, {N10, "N10"}, {F3, "F3"},
      {E2, "E2"}, {C2, "C2"}, {G2, "G2"}, {S2, "S2"}, {P1, "P1"}, {S1, "S1"}};
  for (const auto& [action, name] : names) action->setObjectName(QString::fromLatin1(name));
  S3->setEnabled(false);
  A1->setEnabled(false);
  Z1->setEnabled(false);

  // Tool bar with its pop-up menu.
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setFixedHeight(27);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setContentsMargins(6, 0, 0, 0);
  addToolBar(Qt::TopToolBarArea, ToolBar1);
  const std::pair<int, const char*> hints[] = {
      {1, "上一页"}, {2, "下一页"}, {3, "选择页码"}, {4, "放大"},     {5, "缩小"},
      {6, "页顶"},   {7, "页底"},   {8, "页左边"},   {9, "页右边"}, {10, "页左上角"},
      {11, "页右下角"}};
  for (const auto& [index, hint] : hints)
    SpeedButton[index] = MakeSpeedButton(ToolBar1, index, QString::fromUtf8(hint));
  AddSplitter(ToolBar1, QStringLiteral("Splitter1"));
  SpeedButton[15] = MakeSpeedButton(ToolBar1, 15, QStringLiteral("打印机设置"));
  AddSplitter(ToolBar1, QStringLiteral("Splitter2"));
  SpeedButton[16] = MakeSpeedButton(ToolBar1, 16, QStringLiteral("打印"));

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  PopupMenu1->setFont(FormFont());
  F2 = PopupMenu1->addAction(QStringLiteral("&F.  表内容字体..."));
  L1 = PopupMenu1->addAction(QStringLiteral("&L.  表标题字体..."));
  PopupMenu1->addSeparator();
  B3 = PopupMenu1->addAction(QStringLiteral("&B.  设置页边界..."));
  F2->setObjectName(QStringLiteral("F2"));
  L1->setObjectName(QStringLiteral("L1"));
  B3->setObjectName(QStringLiteral("B3"));
  ToolBar1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ToolBar1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(ToolBar1->mapToGlobal(at)); });

  // Status bar.
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setFixedHeight(19);
  const int panelWidths[3] = {160, 120, 120};
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(StatusBar1);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFixedWidth(panelWidths[i]);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    StatusBar1->addWidget(panel);
    StatusPanels[i] = panel;
  }
  setStatusBar(StatusBar1);

  // The two views.
  Views = new QStackedWidget(this);
  Views->setObjectName(QStringLiteral("Views"));
  setCentralWidget(Views);

  Panel1 = new QFrame(Views);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  auto* editingLayout = new QHBoxLayout(Panel1);
  editingLayout->setContentsMargins(0, 0, 0, 0);
  editingLayout->setSpacing(0);

  Panel2 = new QFrame(Panel1);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel2->setFixedWidth(344);
  editingLayout->addWidget(Panel2);

  Label8 = new PathLabel(QStringLiteral("成绩文件："), Panel2);
  Label8->setObjectName(QStringLiteral("Label8"));
  Label8->setGeometry(16, 20, 344 - 16 - 6, 18);

  StringGrid2 = new QTableWidget(2, 1, Panel2);
  StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
  StringGrid2->setGeometry(11, 48, 321, 249);
  StringGrid2->horizontalHeader()->hide();
  StringGrid2->verticalHeader()->hide();
  StringGrid2->verticalHeader()->setMinimumSectionSize(20);
  StringGrid2->verticalHeader()->setDefaultSectionSize(20);
  StringGrid2->setColumnWidth(0, 308);
  StringGrid2->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid2->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid2->setWordWrap(false);
  StringGrid2->setTextElideMode(Qt::ElideRight);

  Label1 = new QLabel(QStringLiteral("平时成绩占百分比:"), Panel2);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->move(10, 328);
  Label1->adjustSize();

  Edit1 = new QLineEdit(Panel2);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(128, 324, 49, 21);

  StringGrid1 = new QTableWidget(2, 7, Panel1);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->verticalHeader()->setMinimumSectionSize(20);
  StringGrid1->verticalHeader()->setDefaultSectionSize(20);
  StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setWordWrap(false);
  StringGrid1->setTextElideMode(Qt::ElideNone);
  {
    // The given widths, unless the heading needs more in the font at hand.
    const int widths[7] = {32, 80, 64, 64, 64, 64, 64};
    const QFontMetrics fm(StringGrid1->font());
    const QString widest[7] = {QStringLiteral("9999"), QStringLiteral("0000000000"),
                               QStringLiteral("四个汉字"), QStringLiteral("四个汉字"),
                               QStringLiteral("平时成绩"), QStringLiteral("考试成绩"),
                               QStringLiteral(" 总成绩")};
    for (int c = 0; c < 7; ++c)
      StringGrid1->setColumnWidth(c, std::max(widths[c], fm.horizontalAdvance(widest[c]) + 10));
  }
  editingLayout->addWidget(StringGrid1, 1);
  FreezeHeadingRow(StringGrid1);

  ComboBox1 = new QComboBox(Panel1);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setCompleter(nullptr);  // completion would change what is typed
  ComboBox1->setMaxVisibleItems(24);
  ComboBox1->setFont(FormFont());
  ComboBox1->setFixedSize(std::max(66, StringGrid1->columnWidth(4) + 2), 21);
  ComboBox1->hide();

  Views->addWidget(Panel1);

  ScrollBox1 = new QScrollArea(Views);
  ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
  ScrollBox1->setWidgetResizable(false);
  auto* pageHost = new QWidget;
  pageHost->setObjectName(QStringLiteral("ScrollBox1Host"));
  {
    QPalette desktop = pageHost->palette();
    desktop.setColor(QPalette::Window, QColor(58, 110, 165));  // the desktop colour
    pageHost->setPalette(desktop);
    pageHost->setAutoFillBackground(true);
    ScrollBox1->setPalette(desktop);
  }
  DrawGrid1 = new TDrawGrid(this, pageHost);
  DrawGrid1->move(20, 20);
  ScrollBox1->setWidget(pageHost);
  Views->addWidget(ScrollBox1);

  // ---- wiring ----------------------------------------------------------------
  connect(O1, &QAction::triggered, this, [this] { O1Click(); });
  connect(S3, &QAction::triggered, this, [this] { S3Click(); });
  connect(A1, &QAction::triggered, this, [this] { A1Click(); });
  connect(X1, &QAction::triggered, this, [this] { X1Click(); });
  connect(Z1, &QAction::triggered, this, [this] { Z1Click(); });
  connect(N11, &QAction::triggered, this, [this] { N11Click(); });
  connect(G1, &QAction::triggered, this, [this] { G1Click(); });
  connect(L2, &QAction::triggered, this, [this] { SpeedButton1Click(); });
  connect(N10, &QAction::triggered, this, [this] { SpeedButton2Click(); });
  connect(F3, &QAction::triggered, this, [this] { F3Click(); });
  connect(E2, &QAction::triggered, this, [this] { E2Click(); });
  connect(C2, &QAction::triggered, this, [this] { C2Click(); });
  connect(G2, &QAction::triggered, this, [this] { SpeedButton4Click(); });
  connect(S2, &QAction::triggered, this, [this] { SpeedButton5Click(); });
  connect(P1, &QAction::triggered, this, [this] { P1Click(); });
  connect(S1, &QAction::triggered, this, [this] { S1Click(); });
  connect(F2, &QAction::triggered, this, [this] { F2Click(); });
  connect(L1, &QAction::triggered, this, [this] { L1Click(); });
  connect(B3, &QAction::triggered, this, [this] { B3Click(); });
  const std::pair<int, void (Tdataout::*)()> buttons[] = {
      {1, &Tdataout::SpeedButton1Click},   {2, &Tdataout::SpeedButton2Click},
      {3, &Tdataout::C2Click},             {4, &Tdataout::SpeedButton4Click},
      {5, &Tdataout::SpeedButton5Click},   {6, &Tdataout::SpeedButton6Click},
      {7, &Tdataout::SpeedButton7Click},   {8, &Tdataout::SpeedButton8Click},
      {9, &Tdataout::SpeedButton9Click},   {10, &Tdataout::SpeedButton10Click},
      {11, &Tdataout::SpeedButton11Click}, {15, &Tdataout::S1Click},
      {16, &Tdataout::P1Click}};
  for (const auto& [index, handler] : buttons)
    connect(SpeedButton[index], &QToolButton::clicked, this,
            [this, handler = handler] { (this->*handler)(); });

  connect(StringGrid2, &QTableWidget::currentCellChanged, this,
          [this](int row, int col, int, int) {
            bool canSelect = true;
            StringGrid2SelectCell(col, row, canSelect);
          });
  connect(StringGrid1, &QTableWidget::currentCellChanged, this,
          [this](int row, int col, int, int) {
            bool canSelect = true;
            StringGrid1SelectCell(col, row, canSelect);
          });
  // A click on the cell that is already current (the editor was left) lays
  // the editor over it again.
  connect(StringGrid1, &QTableWidget::cellPressed, this, [this](int row, int col) {
    if (ComboBox1->isVisible() && row == EditRow && col == EditCol) return;
    if (StringGrid1->currentRow() != row || StringGrid1->currentColumn() != col) return;
    bool canSelect = true;
    StringGrid1SelectCell(col, row, canSelect);
  });
  connect(ComboBox1, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });
  connect(Edit1, &QLineEdit::textEdited, this, [this] { Edit1Change(); });
  ComboBox1->installEventFilter(this);
  ComboBox1->lineEdit()->installEventFilter(this);
  StringGrid1->viewport()->installEventFilter(this);
  for (QScrollBar* bar : {StringGrid1->verticalScrollBar(), StringGrid1->horizontalScrollBar()})
    connect(bar, &QScrollBar::valueChanged, this, [this] { PlaceEditor(); });

  // ---- FormCreate --------------------------------------------------------------
  // 1.
  Views->setCurrentWidget(Panel1);
  ToolBar1->setVisible(false);
  StatusBar1->setVisible(false);
  N7->setEnabled(false);
  P1->setVisible(false);

  // 2. The program's directory as bytes, or the one the caller named.
  QString dir = appDirOverride_.isEmpty() ? QCoreApplication::applicationDirPath()
                                          : appDirOverride_;
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  AppDir = MakeAppDir(QFile::encodeName(dir).toStdString());
  // The teacher's own copy of the settings, unless the caller named the folder.
  if (appDirOverride_.isEmpty()) UserDir = UserSettingsDir();

  // 3.
  SheetIndex = 0;
  CurPage = 0;
  FileName.clear();
  SheetMode = 0;

  // 4. At the top left corner, the size of a maximised window less 8 pixels.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.topLeft());
    resize(area.width() - 8, area.height() - 8);
  }

  // 5. The lists and fonts are members of the window and exist with it.
  PageList.clear();
  RowList.clear();

  // 6 to 10: resolutions, print settings, preview parameters.
  MeasureResolutions();
  LoadPrintSettings(AppDir, UserDir, Setup);
  InitZoomLimits();
  SpeedButton[16]->setEnabled(false);
  Zoom = 1.0;
  SetpvParameter();
  SetDrawBorder();
  SetpvStatus();

  // 11.
  Views->setCurrentWidget(Panel1);
  ToolBar1->setVisible(false);
  Book.Modified = false;

  // 12. Headings.
  StringGrid2->setItem(0, 0, FixedItem(QStringLiteral(" 课程列表")));
  StringGrid2->setItem(1, 0, new QTableWidgetItem);
  const QString headings[7] = {QString(),
                               QStringLiteral(" 学 号"),
                               QStringLiteral(" 姓 名"),
                               QStringLiteral(" 班 级"),
                               QStringLiteral("平时成绩"),
                               QStringLiteral("考试成绩"),
                               QStringLiteral(" 总成绩")};
  for (int c = 0; c < 7; ++c) StringGrid1->setItem(0, c, FixedItem(headings[c]));
  GridRows.assign(1, StudentRow{});
  {
    const QSignalBlocker block(StringGrid1);
    ShowGridRow(1);
    StringGrid1->setCurrentIndex(QModelIndex());
  }

  // 13. The grade editor's words.
  for (const std::string& word : EditorWords()) ComboBox1->addItem(Ui(word));
  {
    const QSignalBlocker block(ComboBox1);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
  }
}

// ---- file commands -----------------------------------------------------------

void Tdataout::O1Click() {
  ComboBox1Exit();
  if (!FileName.empty() && Book.Modified) {
    if (Dialogs().AskYesNo(this, Ui(GradeTexts::AskSave())) == Answer::Yes) {
      // A save that failed must not be followed by opening another file:
      // the unsaved grades would be replaced by it.
      if (!SaveGradeFile()) return;
      S3->setEnabled(false);
    }
  }
  const std::optional<QString> path = Dialogs().OpenFileName(this);
  if (!path || path->isEmpty()) return;
  if (!LoadGradeFile(*path)) return;
  ShowFileName();
  A1->setEnabled(true);
  BuildCourseList();
  const std::string key =
      Book.CourseKeys.empty() ? GradeTexts::NoCourseKey() : Book.CourseKeys.front();
  ShowCourse(key);
  if (SheetIndex == 1)
    LayoutSheet();
  else
    SelectSheet(1);
  S3->setEnabled(false);
}

void Tdataout::S3Click() {
  // The save command stays enabled when the save failed: the grades are
  // still unsaved.
  if (SaveGradeFile()) S3->setEnabled(false);
}

void Tdataout::A1Click() {
  ComboBox1Exit();
  if (FileName.empty()) return;
  const std::optional<QString> chosen =
      Dialogs().SaveFileName(this, QFile::decodeName(QByteArray::fromStdString(FileName)));
  if (!chosen || chosen->isEmpty()) return;
  const std::string target = QFile::encodeName(*chosen).toStdString();
  // The open file under its own or another name (a link): a plain save, with
  // its question when someone else wrote the file meanwhile.
  const std::optional<platform::FileIdentity> open = platform::Identify(FileName);
  const std::optional<platform::FileIdentity> chosenFile = platform::Identify(target);
  if (target == FileName || (open && chosenFile && open->SameFile(*chosenFile))) {
    S3Click();
    return;
  }
  if (!WriteGradeFile(target)) return;  // the message was shown; the window goes on as before
  FileName = target;
  ShowFileName();
  S3->setEnabled(false);
}

void Tdataout::X1Click() { close(); }

void Tdataout::ShowFileName() {
  Label8->setText(QStringLiteral("成绩文件: ") + QFile::decodeName(QByteArray::fromStdString(FileName)));
  Label8->setToolTip(Label8->text());
}

bool Tdataout::LoadGradeFile(const QString& path) {
  const std::string bytes = QFile::encodeName(path).toStdString();
  const LoadResult result = Book.Load(std::filesystem::path(bytes));
  const QString message = QString::fromStdString(result.Message);
  switch (result.Outcome) {
    case LoadOutcome::Loaded:
      FileName = bytes;
      if (!result.Notice.empty()) Dialogs().Information(this, QString::fromStdString(result.Notice));
      return true;
    case LoadOutcome::Missing:
    case LoadOutcome::NotGradeFile:
      Dialogs().Information(this, message);
      return false;
    case LoadOutcome::ReadError:
      break;
  }
  Dialogs().Error(this, message);
  return false;
}

bool Tdataout::SaveGradeFile() {
  ComboBox1Exit();
  if (FileName.empty()) return true;
  if (!MayOverwriteOnDisk()) return false;
  return WriteGradeFile(FileName);
}

bool Tdataout::MayOverwriteOnDisk() {
  if (!Book.ChangedOnDisk(std::filesystem::path(FileName))) return true;
  // A file that is gone holds nothing to lose: the save puts it back.
  if (!platform::Identify(FileName)) return true;
  const QString text = QString::fromStdString(DisplayPath(FileName)) +
                       QStringLiteral("\n文件在打开之后已被其他程序修改。\n仍然存储并覆盖那些修改吗?");
  return Dialogs().AskYesNo(this, text) == Answer::Yes;
}

bool Tdataout::WriteGradeFile(const std::string& path) {
  const SaveResult result = Book.Save(std::filesystem::path(path));
  if (!result.Ok) {
    Dialogs().Error(this, QString::fromStdString(result.Message));
    return false;
  }
  Book.Modified = false;
  Dialogs().Information(this, Ui(GradeTexts::Saved()));
  return true;
}

// ---- course list and student grid ---------------------------------------------

void Tdataout::BuildCourseList() {
  Book.BuildCourseList();
  const QSignalBlocker block(StringGrid2);
  const int courses = static_cast<int>(Book.CourseKeys.size());
  StringGrid2->setRowCount(1 + std::max(1, courses));
  StringGrid2->setItem(1, 0, new QTableWidgetItem);
  for (int i = 0; i < courses; ++i) {
    const QString text = i < static_cast<int>(Book.CourseRows.size())
                             ? Ui(Book.CourseRows[static_cast<std::size_t>(i)])
                             : QString();
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    StringGrid2->setItem(i + 1, 0, item);
  }
  StringGrid2->setCurrentCell(1, 0);
  StringGrid2->scrollToTop();
}

void Tdataout::ShowCourse(const std::string& key) {
  CourseView view = Book.ShowCourse(key);
  shareBytes_ = view.Share;
  Edit1->setText(Ui(view.Share));  // not an edit: textEdited is not emitted
  Edit1->setToolTip(QString());
  ComboBox1Exit();
  EditRow = EditCol = -1;

  if (view.Rows.empty()) view.Rows.emplace_back();
  GridRows = std::move(view.Rows);
  const QSignalBlocker block(StringGrid1);
  StringGrid1->setCurrentIndex(QModelIndex());
  StringGrid1->clearSelection();
  StringGrid1->setRowCount(1 + static_cast<int>(GridRows.size()));
  for (int r = 1; r <= static_cast<int>(GridRows.size()); ++r) ShowGridRow(r);
  StringGrid1->scrollToTop();
  ComboBox1Exit();
}

void Tdataout::ShowGridRow(int row) {
  const StudentRow& data = GridRows[static_cast<std::size_t>(row - 1)];
  for (int c = 0; c < 7; ++c) {
    const QString text = Ui(data.Cells[static_cast<std::size_t>(c)]);
    if (c < 4) {
      QTableWidgetItem* item = StringGrid1->item(row, c);
      if (item == nullptr || item->flags() != Qt::NoItemFlags) {
        item = FixedItem(text);
        StringGrid1->setItem(row, c, item);
      } else {
        item->setText(text);
      }
      if (c == 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
      QTableWidgetItem* item = CellItem(StringGrid1, row, c);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      item->setText(text);
      MarkGradeCell(row, c);
    }
  }
}

void Tdataout::MarkGradeCell(int row, int col) {
  QTableWidgetItem* item = StringGrid1->item(row, col);
  if (item == nullptr || row < 1 || row > static_cast<int>(GridRows.size())) return;
  const bool warn =
      IsSuspiciousGrade(GridRows[static_cast<std::size_t>(row - 1)].Cells[static_cast<std::size_t>(col)]);
  item->setBackground(warn ? kWarnFace : kGradeFace);
  item->setToolTip(warn ? QStringLiteral("无法识别的成绩，请核对") : QString());
}

void Tdataout::StringGrid2SelectCell(int, int ARow, bool&) {
  if (ARow >= 1 && ARow <= static_cast<int>(Book.CourseKeys.size()))
    ShowCourse(Book.CourseKeys[static_cast<std::size_t>(ARow - 1)]);
}

// ---- the grade editor ----------------------------------------------------------

void Tdataout::StringGrid1SelectCell(int ACol, int ARow, bool&) {
  if (Book.CourseKeys.empty() || ARow < 1 || ACol < 4) return;
  if (ARow > static_cast<int>(GridRows.size()) || ACol > 6) return;
  std::string text = GridRows[static_cast<std::size_t>(ARow - 1)].Cells[static_cast<std::size_t>(ACol)];
  TrimBlanks(text);
  {
    const QSignalBlocker block(ComboBox1);
    ComboBox1->setCurrentIndex(-1);  // a later pick of any word is a change
    ComboBox1->setEditText(Ui(text));
  }
  editorBytes_ = text;
  ComboBox1->setToolTip(QString());
  EditRow = ARow;
  EditCol = ACol;
  if (QTableWidgetItem* item = StringGrid1->item(ARow, ACol)) {
    StringGrid1->scrollToItem(item);
    KeepRowClearOfHeading(StringGrid1, ARow);
  }
  ComboBox1->show();
  ComboBox1->raise();
  PlaceEditor();
  ComboBox1->setFocus(Qt::OtherFocusReason);
  ComboBox1->lineEdit()->selectAll();
}

void Tdataout::PlaceEditor() {
  if (!ComboBox1->isVisible() || EditRow < 1 || EditCol < 4) return;
  QTableWidgetItem* item = StringGrid1->item(EditRow, EditCol);
  if (item == nullptr) return;
  const QRect cell = StringGrid1->visualItemRect(item);
  // Scrolled out of sight, or under the frozen heading: the editor goes with
  // its cell.
  const QRect body = StringGrid1->viewport()->rect().adjusted(0, StringGrid1->rowHeight(0), 0, 0);
  if (!body.intersects(cell)) {
    ComboBox1Exit();
    return;
  }
  ComboBox1->move(StringGrid1->viewport()->mapTo(Panel1, cell.topLeft()));
}

void Tdataout::ComboBox1Change() {
  if (EditRow < 1 || EditCol < 4 || EditRow > static_cast<int>(GridRows.size())) return;
  const QString shown = ComboBox1->currentText();
  const std::optional<std::string> text = Utf8ToGbk(shown.toStdString());
  if (!text) {
    RefuseInput(ComboBox1, Ui(editorBytes_));
    return;
  }
  editorBytes_ = *text;
  auto& cells = GridRows[static_cast<std::size_t>(EditRow - 1)].Cells;
  const bool rewritten =
      Book.WriteThrough(StringGrid2->currentRow(), cells, EditCol, *text, shareBytes_);
  ShowGridRow(EditRow);
  if (rewritten) S3->setEnabled(true);
}

void Tdataout::ComboBox1Exit() {
  if (ComboBox1 != nullptr) ComboBox1->hide();
}

void Tdataout::MoveEditor(int dRow, int dCol, bool wrap) {
  int row = EditRow + dRow;
  int col = EditCol + dCol;
  const int lastRow = static_cast<int>(GridRows.size());
  if (col > 6) {
    if (!wrap) return;
    col = 4;
    ++row;
  } else if (col < 4) {
    if (!wrap) return;
    col = 6;
    --row;
  }
  if (row < 1 || row > lastRow) return;
  StringGrid1->setCurrentCell(row, col);
  if (EditRow != row || EditCol != col) {
    bool canSelect = true;
    StringGrid1SelectCell(col, row, canSelect);
  }
}

void Tdataout::RefuseInput(QWidget* where, const QString& restored) {
  InputNotice = RefusalText();
  auto* edit = where == ComboBox1 ? ComboBox1->lineEdit() : qobject_cast<QLineEdit*>(where);
  if (edit != nullptr) {
    const int grown = edit->text().size() - restored.size();
    const int cursor = std::clamp(edit->cursorPosition() - std::max(0, grown), 0,
                                  static_cast<int>(restored.size()));
    const QSignalBlocker block(where);
    const QSignalBlocker blockEdit(edit);
    edit->setText(restored);
    edit->setCursorPosition(cursor);
  }
  where->setToolTip(InputNotice);
  if (where->isVisible())
    QToolTip::showText(where->mapToGlobal(QPoint(0, where->height())), InputNotice, where);
}

bool Tdataout::eventFilter(QObject* watched, QEvent* event) {
  const bool editor = ComboBox1 != nullptr &&
                      (watched == ComboBox1 || watched == ComboBox1->lineEdit());
  if (editor && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = (key->modifiers() & Qt::AltModifier) != 0;
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        MoveEditor(1, 0, false);
        return true;
      case Qt::Key_Down:
        if (alt) break;  // Alt+Down opens the word list
        MoveEditor(1, 0, false);
        return true;
      case Qt::Key_Up:
        if (alt) break;
        MoveEditor(-1, 0, false);
        return true;
      case Qt::Key_Tab:
        MoveEditor(0, 1, true);
        return true;
      case Qt::Key_Backtab:
        MoveEditor(0, -1, true);
        return true;
      case Qt::Key_Escape:
        ComboBox1Exit();
        StringGrid1->setFocus(Qt::OtherFocusReason);
        return true;
      default:
        break;
    }
  }
  if (editor && event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Opening the word list or switching to another program is not leaving.
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      QWidget* now = QApplication::focusWidget();
      if (now != ComboBox1 && now != ComboBox1->lineEdit()) ComboBox1Exit();
    }
  }
  if (StringGrid1 != nullptr && watched == StringGrid1->viewport() &&
      event->type() == QEvent::Resize)
    PlaceEditor();
  return QMainWindow::eventFilter(watched, event);
}

// ---- the share -------------------------------------------------------------------

void Tdataout::Edit1Change() {
  const std::optional<std::string> text = Utf8ToGbk(Edit1->text().toStdString());
  if (!text) {
    RefuseInput(Edit1, Ui(shareBytes_));
    return;
  }
  shareBytes_ = *text;
  if (Book.StoreShare(StringGrid2->currentRow(), *text)) S3->setEnabled(true);
}

// ---- closing -----------------------------------------------------------------------

void Tdataout::closeEvent(QCloseEvent* event) {
  if (released_) {
    event->accept();
    return;
  }
  ComboBox1Exit();
  if (Book.Modified && !FileName.empty()) {
    switch (Dialogs().AskYesNoCancel(this, Ui(GradeTexts::AskSave()))) {
      case Answer::Yes:
        if (!SaveGradeFile()) {  // the message was shown; the grades stay
          event->ignore();
          return;
        }
        S3->setEnabled(false);
        break;
      case Answer::No:
        break;
      case Answer::Cancel:
        event->ignore();
        return;
    }
  }
  ReleaseAll();
  event->accept();
}

void Tdataout::ReleaseAll() {
  // Only a window that really closes gets here.
  Book.HeadLines.clear();
  Book.CourseKeys.clear();
  Book.GradeLines.clear();
  Book.ClassGroups.clear();
  Book.CourseRows.clear();
  if (SheetPrinter) {
    SheetPrinter->ClearPageList();
    SheetPrinter->ClearRowList();
  }
  PageList.clear();
  RowList.clear();
  if (SheetIndex > 0) SelectSheet(0);
  GridRows.clear();
  EditRow = EditCol = -1;
  released_ = true;
}
