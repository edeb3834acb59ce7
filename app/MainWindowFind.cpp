// The find bar (app/FindBar) in the window: built on first use, above the
// editing view; the window shows the student it found and its messages.
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>

#include "app/EditingGrids.h"
#include "app/FindBar.h"
#include "app/MainWindow.h"

void MainWindow::showFindBar() {
  if (views_->currentWidget() != editingView_) return;
  if (findBar_ == nullptr) {
    findBar_ = new FindBar(
        Book, [this] { return FindBar::Place{courseList()->currentRow(), studentGrid()->currentRow()}; }, this);
    connect(findBar_, &FindBar::message, statusLine_, [this](const QString& text) { statusLine_->showMessage(text); });
    connect(findBar_, &FindBar::studentFound, this, [this](int courseRow, int gridRow) {
      leaveGradeEditor();
      if (courseList()->currentRow() != courseRow) courseList()->ChooseRow(courseRow);
      {
        // The row is marked, the editor stays away: the find field keeps the
        // keyboard for the next Enter.
        const QSignalBlocker block(studentGrid());
        studentGrid()->setCurrentCell(gridRow, kFirstGradeColumn);
        studentGrid()->SelectRange({gridRow, kFirstGradeColumn, gridRow, kLastGradeColumn});
        gradeCells().ForgetCell();
      }
      studentGrid()->ScrollToCell(gridRow, kFirstGradeColumn);
    });
    connect(findBar_, &FindBar::closed, this, [this](int courseRow, int gridRow) {
      statusLine_->clearMessage();
      if (views_->currentWidget() != editingView_) return;
      statusLine_->hide();
      // Back to the grades: the editor at the student found, else the course list.
      if (courseRow >= 1 && courseRow == courseList()->currentRow())
        EnterGridAt(gridRow);
      else
        courseList()->setFocus(Qt::OtherFocusReason);
    });
    addToolBar(Qt::TopToolBarArea, findBar_);
  }
  statusLine_->show();
  findBar_->openBar();
}
