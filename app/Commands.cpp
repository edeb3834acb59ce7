#include "app/Commands.h"

#include <QAction>
#include <QFrame>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <initializer_list>

#include "app/Glyphs.h"
#include "app/KeyTable.h"
#include "app/WindowTexts.h"
#include "preview/DialogLook.h"

namespace {

// An item of a menu: the command that holds it, its object name and its
// caption; no command makes a separator.
struct MenuItem {
  QAction* Commands::*Action = nullptr;
  const char* Name = nullptr;
  QString Caption;
};
const MenuItem kSeparator{};

void AddItems(Commands& c, QMenu* menu, std::initializer_list<MenuItem> items) {
  for (const MenuItem& item : items) {
    if (item.Action == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(item.Caption);
    action->setObjectName(QString::fromLatin1(item.Name));
    c.*item.Action = action;
  }
}

QMenu* AddMenu(Commands& c, QMenuBar* bar, const MenuItem& title, std::initializer_list<MenuItem> items) {
  QMenu* menu = bar->addMenu(title.Caption);
  menu->setFont(preview::FormFont());
  c.*title.Action = menu->menuAction();
  (c.*title.Action)->setObjectName(QString::fromLatin1(title.Name));
  AddItems(c, menu, items);
  return menu;
}

// A menu item of its own caption that stands for `command`: it triggers it
// and is enabled with it.
void AddStandIn(QMenu* menu, const QString& caption, QAction* command) {
  QAction* item = menu->addAction(caption);
  item->setEnabled(command->isEnabled());
  QObject::connect(item, &QAction::triggered, command, &QAction::trigger);
  QObject::connect(command, &QAction::enabledChanged, item, &QAction::setEnabled);
}

// A tool bar button that stands for its command: it triggers it and is
// enabled with it. Its glyph and hint are the button's own, so that the
// command's menu item keeps its plain caption.
QToolButton* AddButton(QToolBar* bar, QAction* command, int glyph, const char* name, const QString& hint) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoRaise(true);
  button->setFixedSize(22, 22);
  button->setIconSize(QSize(16, 16));
  button->setIcon(ToolGlyph(glyph));
  button->setToolTip(hint);
  button->setAccessibleName(hint);  // the button shows an icon; its hint is its name
  button->setFocusPolicy(Qt::NoFocus);
  button->setEnabled(command->isEnabled());
  QObject::connect(button, &QToolButton::clicked, command, &QAction::trigger);
  QObject::connect(command, &QAction::enabledChanged, button, &QWidget::setEnabled);
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

// A command without a menu item, whose keys act anywhere in the window.
QAction* WindowCommand(QMainWindow& window, const char* name) {
  auto* action = new QAction(&window);
  action->setObjectName(QString::fromLatin1(name));
  window.addAction(action);
  return action;
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

void Commands::Build(QMainWindow& window) {
  BuildMenus(window);
  BuildToolBar(window);
}

void Commands::BuildMenus(QMainWindow& window) {
  QMenuBar* bar = window.menuBar();
  bar->setFont(preview::FormFont());
  AddMenu(*this, bar, {&Commands::fileMenu, "fileMenu", Utf8("&F 文件")},
          {{&Commands::open, "open", Utf8("&O.  打开...")},
           kSeparator,
           {&Commands::save, "save", Utf8("&S.  保存")},
           // A save that fails (a read-only folder or file, another user's
           // file) always leaves this way out to another place.
           {&Commands::saveAs, "saveAs", Utf8("另存为(&A)...")},
           {&Commands::versions, "versions", Utf8("以前的版本(&V)...")},
           kSeparator,
           {&Commands::importScores, "importScores", Utf8("导入成绩(&I)...")},
           {&Commands::exportGrades, "exportGrades", Utf8("导出(&E)...")},
           {&Commands::exportSheetPdf, "exportSheetPdf", Utf8("导出成绩单 PDF(&D)...")},
           kSeparator,
           {&Commands::exit, "exit", Utf8("&X.  退出")}});
  AddMenu(*this, bar, {&Commands::editMenu, "editMenu", Utf8("编辑(&E)")},
          {{&Commands::undo, "undo", Utf8("撤销(&U)")},
           {&Commands::redo, "redo", Utf8("重做(&R)")},
           kSeparator,
           {&Commands::copyCells, "copyCells", Utf8("复制(&C)")},
           {&Commands::pasteCells, "pasteCells", Utf8("粘贴(&P)")},
           kSeparator,
           {&Commands::find, "find", Utf8("查找学生(&F)...")},
           kSeparator,
           {&Commands::recompute, "recompute", WindowTexts::RecomputeItem()},
           {&Commands::nextFinding, "nextFinding", WindowTexts::NextFindingItem()},
           {&Commands::previousFinding, "previousFinding", WindowTexts::PreviousFindingItem()}});
  AddMenu(*this, bar, {&Commands::windowMenu, "windowMenu", Utf8("&W 窗口")},
          {{&Commands::showEditing, "showEditing", Utf8("&Z.  整理成绩")},
           kSeparator,
           {&Commands::showSheet, "showSheet", Utf8("&B.  成绩单")},
           {&Commands::showSheetByClass, "showSheetByClass", Utf8("&G.  分班成绩单")},
           kSeparator,
           {&Commands::analysis, "analysis", Utf8("成绩分析(&A)")}});
  QMenu* previewItems = AddMenu(*this, bar, {&Commands::previewMenu, "previewMenu", Utf8("&V 预览")},
          {{&Commands::previousPage, "previousPage", Utf8("&L.  上页")},
           {&Commands::nextPage, "nextPage", Utf8("&N.  下页")},
           kSeparator,
           {&Commands::firstPage, "firstPage", Utf8("&F.  第一页")},
           {&Commands::lastPage, "lastPage", Utf8("&E.  最后一页")},
           kSeparator,
           {&Commands::choosePage, "choosePage", Utf8("&C.  选页...")},
           kSeparator,
           {&Commands::zoomIn, "zoomIn", Utf8("&G.  放大")},
           {&Commands::zoomOut, "zoomOut", Utf8("&S.  缩小")}});
  print = bar->addAction(Utf8("&P 打印"));
  print->setObjectName(QStringLiteral("print"));
  printerSetup = bar->addAction(Utf8("&S 打印机设置"));
  printerSetup->setObjectName(QStringLiteral("printerSetup"));
  QMenu* help = bar->addMenu(WindowTexts::HelpMenu());
  help->setObjectName(QStringLiteral("HelpMenu"));
  AddItems(*this, help, {{&Commands::shortcuts, "shortcuts", WindowTexts::ShortcutsItem()},
                         {&Commands::about, "about", WindowTexts::AboutItem()}});

  const std::pair<QAction*, KeyCommand> keys[] = {
      {open, KeyCommand::Open},           {save, KeyCommand::Save},
      {saveAs, KeyCommand::SaveAs},       {undo, KeyCommand::Undo},
      {redo, KeyCommand::Redo},           {copyCells, KeyCommand::Copy},
      {pasteCells, KeyCommand::Paste},    {find, KeyCommand::Find},
      {recompute, KeyCommand::Recompute}, {nextFinding, KeyCommand::NextFinding},
      {previousFinding, KeyCommand::PreviousFinding}, {shortcuts, KeyCommand::Shortcuts}};
  for (const auto& [command, key] : keys) command->setShortcuts(KeysOf(key));
  analysis->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
  for (QAction* command : {save, saveAs, versions, importScores, exportGrades, exportSheetPdf, undo, redo, recompute,
                           showEditing, analysis})
    command->setEnabled(false);

  // The page keys that scroll by a screen; the scroll commands of the tool
  // bar have no keys.
  scrollDown = WindowCommand(window, "scrollDown");
  scrollUp = WindowCommand(window, "scrollUp");
  for (QAction** scroll : {&scrollToTop, &scrollToBottom, &scrollToLeft, &scrollToRight, &scrollToTopLeft,
                           &scrollToBottomRight})
    *scroll = new QAction(&window);
  scrollToTop->setObjectName(QStringLiteral("scrollToTop"));
  scrollToBottom->setObjectName(QStringLiteral("scrollToBottom"));
  scrollToLeft->setObjectName(QStringLiteral("scrollToLeft"));
  scrollToRight->setObjectName(QStringLiteral("scrollToRight"));
  scrollToTopLeft->setObjectName(QStringLiteral("scrollToTopLeft"));
  scrollToBottomRight->setObjectName(QStringLiteral("scrollToBottomRight"));

  // Fonts and margins, which the tool bar's context menu holds, in the
  // preview menu too, with letters of their own there.
  pageSetupMenu = new QMenu(&window);
  pageSetupMenu->setObjectName(QStringLiteral("pageSetupMenu"));
  pageSetupMenu->setFont(preview::FormFont());
  AddItems(*this, pageSetupMenu,
           {{&Commands::bodyFont, "bodyFont", Utf8("&F.  表内容字体...")},
            {&Commands::titleFont, "titleFont", Utf8("&L.  表标题字体...")},
            kSeparator,
            {&Commands::margins, "margins", Utf8("&B.  设置页边界...")}});
  previewItems->addSeparator();
  AddStandIn(previewItems, WindowTexts::BodyFontItem(), bodyFont);
  AddStandIn(previewItems, WindowTexts::TitleFontItem(), titleFont);
  AddStandIn(previewItems, WindowTexts::MarginsItem(), margins);
}

void Commands::BuildToolBar(QMainWindow& window) {
  previewToolBar = new QToolBar(&window);
  previewToolBar->setObjectName(QStringLiteral("previewToolBar"));
  previewToolBar->setMovable(false);
  previewToolBar->setFloatable(false);
  previewToolBar->setFixedHeight(27);
  previewToolBar->setIconSize(QSize(16, 16));
  previewToolBar->setContentsMargins(6, 0, 0, 0);
  window.addToolBar(Qt::TopToolBarArea, previewToolBar);
  struct Button {
    QAction* Command;
    int Glyph;
    const char* Name;
    const char* Hint;
  };
  const Button buttons[] = {
      {previousPage, 1, "previousPageButton", "上一页"},
      {nextPage, 2, "nextPageButton", "下一页"},
      {choosePage, 3, "choosePageButton", "选择页码"},
      {zoomIn, 4, "zoomInButton", "放大"},
      {zoomOut, 5, "zoomOutButton", "缩小"},
      {scrollToTop, 6, "scrollToTopButton", "页顶"},
      {scrollToBottom, 7, "scrollToBottomButton", "页底"},
      {scrollToLeft, 8, "scrollToLeftButton", "页左边"},
      {scrollToRight, 9, "scrollToRightButton", "页右边"},
      {scrollToTopLeft, 10, "scrollToTopLeftButton", "页左上角"},
      {scrollToBottomRight, 11, "scrollToBottomRightButton", "页右下角"},
      {printerSetup, 15, "printerSetupButton", "打印机设置"},
      {print, 16, "printButton", "打印"}};
  for (const Button& b : buttons) {
    if (b.Command == printerSetup) AddSplitter(previewToolBar, QStringLiteral("Splitter1"));
    if (b.Command == print) AddSplitter(previewToolBar, QStringLiteral("Splitter2"));
    buttons_.emplace_back(b.Command, AddButton(previewToolBar, b.Command, b.Glyph, b.Name, Utf8(b.Hint)));
  }
  exportSheetPdf->setIconText(QStringLiteral("导出成绩单 PDF"));
  exportSheetPdf->setToolTip(exportSheetPdf->iconText());
  previewToolBar->addAction(exportSheetPdf);
  previewToolBar->widgetForAction(exportSheetPdf)->setObjectName(QStringLiteral("exportSheetPdfButton"));

  previewToolBar->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(previewToolBar, &QWidget::customContextMenuRequested, pageSetupMenu,
                   [this](const QPoint& at) { pageSetupMenu->popup(previewToolBar->mapToGlobal(at)); });
}

QToolButton* Commands::ButtonOf(const QAction* command) const {
  for (const auto& [action, button] : buttons_)
    if (action == command) return button;
  return nullptr;
}

void Commands::EnablePreview(const preview::CommandStates& c) {
  previousPage->setEnabled(c.PreviousPage);
  nextPage->setEnabled(c.NextPage);
  choosePage->setEnabled(c.ChoosePage);
  zoomIn->setEnabled(c.ZoomIn);
  zoomOut->setEnabled(c.ZoomOut);
  firstPage->setEnabled(c.FirstLast);
  lastPage->setEnabled(c.FirstLast);
  for (QAction* scroll : {scrollToTop, scrollToBottom, scrollToLeft, scrollToRight, scrollToTopLeft, scrollToBottomRight})
    scroll->setEnabled(c.Scroll);
  print->setEnabled(c.Print);
}

void Commands::ShowView(bool preview) {
  previewToolBar->setVisible(preview);
  previewMenu->setEnabled(preview);
  print->setVisible(preview);
  showEditing->setEnabled(preview);
  // Undo in the preview would change grades behind a page that shows them;
  // copy, paste and find belong to the grid.
  editMenu->setEnabled(!preview);
  for (QAction* command : {copyCells, pasteCells, find}) command->setEnabled(!preview);
}
