#include "app/KeyboardCommands.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>
#include <cmath>

#include "app/AboutDialog.h"
#include "app/KeyTable.h"
#include "app/ShortcutsDialog.h"
#include "app/EditingGrids.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "gradefile/BookCheck.h"
#include "gradefile/KeyMoves.h"
#include "preview/PageWidget.h"

namespace {

QAction* AddCommand(QMenu* menu, const QString& caption, KeyCommand command) {
  QAction* action = menu->addAction(caption);
  action->setShortcuts(KeysOf(command));
  return action;
}

// The dialog over the window, not blocking it: it closes by its button or
// Escape and deletes itself.
void OpenDialog(QDialog* dialog) {
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

}  // namespace

KeyboardCommands::KeyboardCommands(MainWindow& window) : QObject(&window), w_(window) {
  setObjectName(QStringLiteral("KeyboardCommands"));
  AddEditCommands();
  AddPreviewCommands();
  AddHelpMenu();
  NameControls();
}

bool KeyboardCommands::Previewing() const { return w_.views != nullptr && w_.views->currentWidget() != w_.editingView; }

void KeyboardCommands::AddEditCommands() {
  QMenu* edit = w_.editMenu->menu();
  edit->addSeparator();
  recompute_ = AddCommand(edit, WindowTexts::RecomputeItem(), KeyCommand::Recompute);
  recompute_->setObjectName(QStringLiteral("RecomputeAction"));
  recompute_->setEnabled(false);
  nextFinding_ = AddCommand(edit, WindowTexts::NextFindingItem(), KeyCommand::NextFinding);
  nextFinding_->setObjectName(QStringLiteral("NextFindingAction"));
  previousFinding_ = AddCommand(edit, WindowTexts::PreviousFindingItem(), KeyCommand::PreviousFinding);
  previousFinding_->setObjectName(QStringLiteral("PreviousFindingAction"));
  connect(recompute_, &QAction::triggered, this, [this] {
    if (!Previewing() && !w_.CheckBar->isHidden()) w_.recomputeTotals();
  });
  connect(nextFinding_, &QAction::triggered, this, [this] { GoToNextFinding(false); });
  connect(previousFinding_, &QAction::triggered, this, [this] { GoToNextFinding(true); });
  // The command is there exactly when the bar over the grid offers it.
  w_.CheckBar->installEventFilter(this);
}

bool KeyboardCommands::GoToNextFinding(bool backward) {
  const std::size_t course = CourseOfListRow(w_.courseList->currentRow());
  if (Previewing() || course >= w_.Book.CourseKeys.size()) return false;
  const std::string key = w_.Book.CourseKeys[course].substr(0, 5);
  const std::vector<GradeFinding> findings = CheckCourse(w_.Book, key);
  // From the editor's cell, or the grid's current cell; before the first
  // student when there is none (line 0 is never a record).
  FindingPlace from;
  const int row = w_.gradeEditor->isVisible() ? w_.EditRow : w_.studentGrid->currentRow();
  const int col = w_.gradeEditor->isVisible() ? w_.EditCol : w_.studentGrid->currentColumn();
  if (row >= 1 && row <= static_cast<int>(w_.GridRows.size()) && col >= kFirstGradeColumn) {
    from.LineIndex = w_.GridRows[static_cast<std::size_t>(StudentOfRow(row))].LineIndex;
    from.Field = FieldOfColumn(col);
  }
  const std::optional<std::size_t> next = ::NextFinding(findings, from, backward);
  if (!next) return false;
  w_.GoToFinding(findings[*next]);
  return true;
}

void KeyboardCommands::AddPreviewCommands() {
  // The page keys are the 预览 menu's own commands, the scroll keys act on
  // the page's scrolled area. They are keys only while the preview shows:
  // the grid has its own Ctrl+Home and PgDn, and the preview's set-up
  // enables its commands whichever view shows.
  pageKeys_ = {{w_.nextPageAction, KeyCommand::NextPage}, {w_.previousPageAction, KeyCommand::PreviousPage},
               {w_.firstPageAction, KeyCommand::FirstPage}, {w_.lastPageAction, KeyCommand::LastPage},
               {w_.zoomInAction, KeyCommand::ZoomIn},    {w_.zoomOutAction, KeyCommand::ZoomOut}};
  for (const bool down : {true, false}) {
    auto* scroll = new QAction(&w_);
    scroll->setObjectName(down ? QStringLiteral("ScrollDownAction") : QStringLiteral("ScrollUpAction"));
    w_.addAction(scroll);
    connect(scroll, &QAction::triggered, this, [this, down] {
      if (w_.pageArea != nullptr && Previewing())
        w_.pageArea->verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                                                : QAbstractSlider::SliderPageStepSub);
    });
    pageKeys_.push_back({scroll, down ? KeyCommand::ScrollDown : KeyCommand::ScrollUp});
  }

  // Fonts and margins, which the tool bar's context menu holds, in the
  // menu too, with letters of their own there.
  QMenu* menu = w_.previewMenu->menu();
  menu->addSeparator();
  const struct {
    QString Caption;
    void (MainWindow::*Command)();
  } setUp[] = {{WindowTexts::BodyFontItem(), &MainWindow::chooseBodyFont},
               {WindowTexts::TitleFontItem(), &MainWindow::chooseTitleFont},
               {WindowTexts::MarginsItem(), &MainWindow::setMargins}};
  for (const auto& item : setUp) {
    QAction* action = menu->addAction(item.Caption);
    connect(action, &QAction::triggered, this, [this, command = item.Command] { (w_.*command)(); });
  }

  zoomPanel_ = new QLabel(w_.statusLine);
  zoomPanel_->setObjectName(QStringLiteral("ZoomPanel"));
  zoomPanel_->setAccessibleName(WindowTexts::ZoomName());
  w_.statusLine->addPermanentWidget(zoomPanel_);
  // Every change of the zoom sizes the page anew.
  w_.pageWidget->installEventFilter(this);
  ShowZoom();

  auto follow = [this] {
    const bool preview = Previewing();
    for (const PageKey& key : pageKeys_) key.Action->setShortcuts(preview ? KeysOf(key.Command) : QList<QKeySequence>());
    recompute_->setEnabled(!preview && !w_.CheckBar->isHidden());
    ShowZoom();
  };
  connect(w_.views, &QStackedWidget::currentChanged, this, follow);
  follow();
}

void KeyboardCommands::ShowZoom() {
  if (zoomPanel_ != nullptr) zoomPanel_->setText(WindowTexts::ZoomPercent(static_cast<int>(std::lround(w_.Zoom * 100))));
}

void KeyboardCommands::AddHelpMenu() {
  QMenu* help = w_.menuBar()->addMenu(WindowTexts::HelpMenu());
  help->setObjectName(QStringLiteral("HelpMenu"));
  QAction* keys = AddCommand(help, WindowTexts::ShortcutsItem(), KeyCommand::Shortcuts);
  keys->setObjectName(QStringLiteral("ShortcutsAction"));
  QAction* about = help->addAction(WindowTexts::AboutItem());
  about->setObjectName(QStringLiteral("AboutAction"));
  connect(keys, &QAction::triggered, this, [this] { OpenDialog(new ShortcutsDialog(&w_)); });
  connect(about, &QAction::triggered, this, [this] { OpenDialog(new AboutDialog(&w_)); });
}

void KeyboardCommands::NameControls() {
  w_.courseList->setAccessibleName(WindowTexts::CourseListName());
  w_.studentGrid->setAccessibleName(WindowTexts::StudentGridName());
  w_.studentGrid->setAccessibleDescription(WindowTexts::StudentGridDescription());
  w_.shareEdit->setAccessibleName(WindowTexts::ShareName());
  w_.gradeEditor->setAccessibleName(WindowTexts::GradeEditorName());
  w_.gradeEditor->setAccessibleDescription(WindowTexts::GradeEditorDescription());
  w_.pageArea->setAccessibleName(WindowTexts::PreviewName());
  w_.pageWidget->setAccessibleName(WindowTexts::PageName());
  w_.pageWidget->setAccessibleDescription(WindowTexts::PageDescription());
  // The tool bar's buttons show an icon; their hint is their name.
  for (QToolButton* button : w_.pageButtons)
    if (button != nullptr) button->setAccessibleName(button->toolTip());
}

bool KeyboardCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == w_.CheckBar && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
    recompute_->setEnabled(!Previewing() && event->type() == QEvent::ShowToParent);
  if (watched == w_.pageWidget && event->type() == QEvent::Resize) ShowZoom();
  return QObject::eventFilter(watched, event);
}
