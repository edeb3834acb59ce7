#include "app/KeyboardCommands.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <cmath>

#include "app/AboutDialog.h"
#include "app/KeyTable.h"
#include "app/ShortcutsDialog.h"
#include "app/EditingGrids.h"
#include "app/CheckBar.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "gradefile/BookCheck.h"
#include "gradefile/KeyMoves.h"
#include "preview/PageWidget.h"

namespace {

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
  const Commands& c = w_.commands();
  connect(c.shortcuts, &QAction::triggered, this, [this] { OpenDialog(new ShortcutsDialog(&w_)); });
  connect(c.about, &QAction::triggered, this, [this] { OpenDialog(new AboutDialog(&w_)); });
  NameControls();
}

bool KeyboardCommands::Previewing() const { return w_.views() != nullptr && w_.views()->currentWidget() != &w_.editingView(); }

void KeyboardCommands::AddEditCommands() {
  const Commands& c = w_.commands();
  connect(c.recompute, &QAction::triggered, this, [this] {
    if (!Previewing() && !w_.checkBar()->isHidden()) w_.recomputeTotals();
  });
  connect(c.nextFinding, &QAction::triggered, this, [this] { GoToNextFinding(false); });
  connect(c.previousFinding, &QAction::triggered, this, [this] { GoToNextFinding(true); });
  // The command is there exactly when the bar over the grid offers it.
  w_.checkBar()->installEventFilter(this);
}

bool KeyboardCommands::GoToNextFinding(bool backward) {
  const std::size_t course = CourseOfListRow(w_.courseList()->currentRow());
  if (Previewing() || course >= w_.document().Book().CourseKeys.size()) return false;
  const std::string key = w_.document().Book().CourseKeys[course].substr(0, 5);
  const std::vector<GradeFinding> findings = CheckCourse(w_.document().Book(), key);
  // From the editor's cell, or the grid's current cell; before the first
  // student when there is none (line 0 is never a record).
  FindingPlace from;
  const int row = w_.gradeEditor()->isVisible() ? w_.gradeCells().Row() : w_.studentGrid()->currentRow();
  const int col = w_.gradeEditor()->isVisible() ? w_.gradeCells().Column() : w_.studentGrid()->currentColumn();
  if (row >= 1 && row <= static_cast<int>(w_.editingView().rows().size()) && col >= kFirstGradeColumn) {
    from.LineIndex = w_.editingView().rows()[static_cast<std::size_t>(StudentOfRow(row))].LineIndex;
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
  const Commands& c = w_.commands();
  pageKeys_ = {{c.nextPage, KeyCommand::NextPage},   {c.previousPage, KeyCommand::PreviousPage},
               {c.firstPage, KeyCommand::FirstPage}, {c.lastPage, KeyCommand::LastPage},
               {c.zoomIn, KeyCommand::ZoomIn},       {c.zoomOut, KeyCommand::ZoomOut},
               {c.scrollDown, KeyCommand::ScrollDown}, {c.scrollUp, KeyCommand::ScrollUp}};
  for (const bool down : {true, false}) {
    connect(down ? c.scrollDown : c.scrollUp, &QAction::triggered, this, [this, down] {
      if (Previewing())
        w_.sheetPreview().pageArea()->verticalScrollBar()->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                                                : QAbstractSlider::SliderPageStepSub);
    });
  }

  zoomPanel_ = new QLabel(w_.statusLine());
  zoomPanel_->setObjectName(QStringLiteral("ZoomPanel"));
  zoomPanel_->setAccessibleName(WindowTexts::ZoomName());
  w_.statusLine()->addPermanentWidget(zoomPanel_);
  // Every change of the zoom sizes the page anew.
  w_.sheetPreview().pageWidget()->installEventFilter(this);
  ShowZoom();

  auto follow = [this] {
    const bool preview = Previewing();
    for (const PageKey& key : pageKeys_) key.Action->setShortcuts(preview ? KeysOf(key.Command) : QList<QKeySequence>());
    w_.commands().recompute->setEnabled(!preview && !w_.checkBar()->isHidden());
    ShowZoom();
  };
  connect(w_.views(), &QStackedWidget::currentChanged, this, follow);
  follow();
}

void KeyboardCommands::ShowZoom() {
  if (zoomPanel_ != nullptr) zoomPanel_->setText(WindowTexts::ZoomPercent(static_cast<int>(std::lround(w_.sheetPreview().Zoom() * 100))));
}

void KeyboardCommands::NameControls() {
  w_.courseList()->setAccessibleName(WindowTexts::CourseListName());
  w_.studentGrid()->setAccessibleName(WindowTexts::StudentGridName());
  w_.studentGrid()->setAccessibleDescription(WindowTexts::StudentGridDescription());
  w_.shareEdit()->setAccessibleName(WindowTexts::ShareName());
  w_.gradeEditor()->setAccessibleName(WindowTexts::GradeEditorName());
  w_.gradeEditor()->setAccessibleDescription(WindowTexts::GradeEditorDescription());
  w_.sheetPreview().pageArea()->setAccessibleName(WindowTexts::PreviewName());
  w_.sheetPreview().pageWidget()->setAccessibleName(WindowTexts::PageName());
  w_.sheetPreview().pageWidget()->setAccessibleDescription(WindowTexts::PageDescription());
}

bool KeyboardCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == w_.checkBar() && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
    w_.commands().recompute->setEnabled(!Previewing() && event->type() == QEvent::ShowToParent);
  if (watched == w_.sheetPreview().pageWidget() && event->type() == QEvent::Resize) ShowZoom();
  return QObject::eventFilter(watched, event);
}
