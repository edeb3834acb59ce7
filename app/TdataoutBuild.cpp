// The builders of the window's components, in the order FormCreate calls
// them, and the connections of the components to their handlers. What each
// component is for is in the legend at the top of Tdataout.h.
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
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <initializer_list>

#include "app/FrozenHeading.h"
#include "app/Glyphs.h"
#include "app/Tdataout.h"
#include "app/WindowTexts.h"
#include "preview/DialogLook.h"
#include "preview/TDrawGrid.h"
#include "printing/qt/Fonts.h"

namespace {

// An item of a menu: the window's member that holds it, its object name and
// its caption; no member makes a separator.
struct MenuItem {
  QAction* Tdataout::*Action = nullptr;
  const char* Name = nullptr;
  const char* Caption = nullptr;
};
constexpr MenuItem kSeparator{};

void AddItems(Tdataout& w, QMenu* menu, std::initializer_list<MenuItem> items) {
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

QMenu* AddMenu(Tdataout& w, QMenuBar* bar, const MenuItem& title, std::initializer_list<MenuItem> items) {
  QMenu* menu = bar->addMenu(QString::fromUtf8(title.Caption));
  menu->setFont(preview::FormFont());
  w.*title.Action = menu->menuAction();
  (w.*title.Action)->setObjectName(QString::fromLatin1(title.Name));
  AddItems(w, menu, items);
  return menu;
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

// The grid's look shared by the course list and the student grid.
void SetUpGrid(QTableWidget* grid) {
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setMinimumSectionSize(20);
  grid->verticalHeader()->setDefaultSectionSize(20);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
}

}  // namespace

void Tdataout::BuildForm() {
  InstallFontSubstitutes();
  setObjectName(QStringLiteral("dataout"));
  setWindowTitle(WindowTexts::Caption());
  setWindowIcon(WindowIcon());
  setFont(preview::FormFont());
}

void Tdataout::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setFont(preview::FormFont());
  AddMenu(*this, bar, {&Tdataout::F1, "F1", "&F 文件"},
          {{&Tdataout::O1, "O1", "&O.  打开..."},
           kSeparator,
           {&Tdataout::S3, "S3", "&S.  保存"},
           // A save that fails (a read-only folder or file, another user's
           // file) always leaves this way out to another place.
           {&Tdataout::A1, "A1", "另存为(&A)..."},
           {&Tdataout::PreviousVersions, "PreviousVersions", "以前的版本(&V)..."},
           kSeparator,
           {&Tdataout::I1, "I1", "导入成绩(&I)..."},
           {&Tdataout::E3, "E3", "导出(&E)..."},
           kSeparator,
           {&Tdataout::X1, "X1", "&X.  退出"}});
  A1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  AddMenu(*this, bar, {&Tdataout::E1, "E1", "编辑(&E)"},
          {{&Tdataout::U1, "U1", "撤销(&U)"}, {&Tdataout::R1, "R1", "重做(&R)"}});
  U1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  R1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  U1->setEnabled(false);
  R1->setEnabled(false);
  AddMenu(*this, bar, {&Tdataout::W1, "W1", "&W 窗口"},
          {{&Tdataout::Z1, "Z1", "&Z.  整理成绩"},
           kSeparator,
           {&Tdataout::N11, "N11", "&B.  成绩单"},
           {&Tdataout::G1, "G1", "&G.  分班成绩单"}});
  AddMenu(*this, bar, {&Tdataout::N7, "N7", "&V 预览"},
          {{&Tdataout::L2, "L2", "&L.  上页"},
           {&Tdataout::N10, "N10", "&N.  下页"},
           kSeparator,
           {&Tdataout::F3, "F3", "&F.  第一页"},
           {&Tdataout::E2, "E2", "&E.  最后一页"},
           kSeparator,
           {&Tdataout::C2, "C2", "&C.  选页..."},
           kSeparator,
           {&Tdataout::G2, "G2", "&G.  放大"},
           {&Tdataout::S2, "S2", "&S.  缩小"}});
  P1 = bar->addAction(QStringLiteral("&P 打印"));
  P1->setObjectName(QStringLiteral("P1"));
  S1 = bar->addAction(QStringLiteral("&S 打印机设置"));
  S1->setObjectName(QStringLiteral("S1"));
  S3->setEnabled(false);
  A1->setEnabled(false);
  PreviousVersions->setEnabled(false);
  I1->setEnabled(false);
  E3->setEnabled(false);
  Z1->setEnabled(false);
}

void Tdataout::BuildToolBar() {
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
  PopupMenu1->setFont(preview::FormFont());
  AddItems(*this, PopupMenu1,
           {{&Tdataout::F2, "F2", "&F.  表内容字体..."},
            {&Tdataout::L1, "L1", "&L.  表标题字体..."},
            kSeparator,
            {&Tdataout::B3, "B3", "&B.  设置页边界..."}});
  ToolBar1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ToolBar1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(ToolBar1->mapToGlobal(at)); });
}

void Tdataout::BuildStatusBar() {
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
}

void Tdataout::BuildEditingView() {
  // The two views share the window's centre; one shows at a time.
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

  Label8 = new PathLabel(WindowTexts::NoFileLabel(), Panel2);
  Label8->setObjectName(QStringLiteral("Label8"));
  Label8->setGeometry(16, 20, 344 - 16 - 6, 18);

  StringGrid2 = new QTableWidget(2, 1, Panel2);
  StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
  StringGrid2->setGeometry(11, 48, 321, 249);
  SetUpGrid(StringGrid2);
  StringGrid2->setColumnWidth(0, 308);
  StringGrid2->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid2->setSelectionMode(QAbstractItemView::SingleSelection);
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
  SetUpGrid(StringGrid1);
  StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
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
  auto* gridColumn = new QVBoxLayout;
  gridColumn->setSpacing(0);
  gridColumn->addWidget(BuildCheckBar(Panel1));
  gridColumn->addWidget(StringGrid1, 1);
  editingLayout->addLayout(gridColumn, 1);
  FreezeHeadingRow(StringGrid1);

  ComboBox1 = new QComboBox(Panel1);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setCompleter(nullptr);  // completion would change what is typed
  ComboBox1->setMaxVisibleItems(24);
  ComboBox1->setFont(preview::FormFont());
  ComboBox1->setFixedSize(std::max(66, StringGrid1->columnWidth(4) + 2), 21);
  ComboBox1->hide();

  Views->addWidget(Panel1);
}

void Tdataout::BuildPreviewView() {
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
  DrawGrid1 = new TDrawGrid(pageHost);
  DrawGrid1->SetPagePainter([this](QPainter& painter) { DrawGrid1DrawCell(painter); });
  DrawGrid1->move(20, 20);
  ScrollBox1->setWidget(pageHost);
  Views->addWidget(ScrollBox1);
}

void Tdataout::ConnectCommands() {
  const std::pair<QAction*, void (Tdataout::*)()> actions[] = {
      {O1, &Tdataout::O1Click},           {S3, &Tdataout::S3Click},
      {A1, &Tdataout::A1Click},           {X1, &Tdataout::X1Click},
      {I1, &Tdataout::I1Click},           {E3, &Tdataout::E3Click},
      {U1, &Tdataout::U1Click},           {R1, &Tdataout::R1Click},
      {Z1, &Tdataout::Z1Click},           {N11, &Tdataout::N11Click},
      {G1, &Tdataout::G1Click},           {L2, &Tdataout::SpeedButton1Click},
      {N10, &Tdataout::SpeedButton2Click}, {F3, &Tdataout::F3Click},
      {E2, &Tdataout::E2Click},           {C2, &Tdataout::C2Click},
      {G2, &Tdataout::SpeedButton4Click}, {S2, &Tdataout::SpeedButton5Click},
      {P1, &Tdataout::P1Click},           {S1, &Tdataout::S1Click},
      {F2, &Tdataout::F2Click},           {L1, &Tdataout::L1Click},
      {B3, &Tdataout::B3Click},           {PreviousVersions, &Tdataout::ShowVersions}};
  for (const auto& [action, handler] : actions)
    connect(action, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
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
  Edit1->installEventFilter(this);
  StringGrid1->viewport()->installEventFilter(this);
  for (QScrollBar* bar : {StringGrid1->verticalScrollBar(), StringGrid1->horizontalScrollBar()})
    connect(bar, &QScrollBar::valueChanged, this, [this] { PlaceEditor(); });
}
