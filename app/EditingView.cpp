#include "app/EditingView.h"

#include <QComboBox>
#include <QModelIndex>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolTip>
#include <QVBoxLayout>

#include "app/CheckBar.h"
#include "app/EditingGrids.h"
#include "app/GradeEditor.h"
#include "app/GradeMarks.h"
#include "app/GridPlaces.h"
#include "app/WindowTexts.h"
#include "gradefile/BookCheck.h"
#include "text/Texts.h"

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

}  // namespace

EditingView::EditingView(const GradeBook& book, QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("editingView"));
  auto* editingLayout = new QHBoxLayout(this);
  editingLayout->setContentsMargins(0, 0, 0, 0);
  editingLayout->setSpacing(0);

  courseColumn_ = new QFrame(this);
  courseColumn_->setObjectName(QStringLiteral("courseColumn"));
  courseColumn_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  courseColumn_->setFixedWidth(344);
  editingLayout->addWidget(courseColumn_);

  fileLabel_ = new PathLabel(WindowTexts::NoFileLabel(), courseColumn_);
  fileLabel_->setObjectName(QStringLiteral("fileLabel"));
  fileLabel_->setGeometry(16, 20, 344 - 16 - 6, 18);

  courseList_ = new CourseList(book.CourseTitles, courseColumn_);
  courseList_->setObjectName(QStringLiteral("courseList"));
  courseList_->setGeometry(11, 48, 321, 249);
  courseList_->setColumnWidth(0, 308);
  courseList_->setSelectionBehavior(QAbstractItemView::SelectRows);
  courseList_->setSelectionMode(QAbstractItemView::SingleSelection);
  courseList_->setTextElideMode(Qt::ElideRight);

  shareLabel_ = new QLabel(QStringLiteral("平时成绩占百分比:"), courseColumn_);
  shareLabel_->setObjectName(QStringLiteral("shareLabel"));
  shareLabel_->move(10, 328);
  shareLabel_->adjustSize();

  shareEdit_ = new QLineEdit(courseColumn_);
  shareEdit_->setObjectName(QStringLiteral("shareEdit"));
  shareEdit_->setGeometry(128, 324, 49, 21);

  studentGrid_ = new StudentGrid(rows_, this);
  marks_ = std::make_unique<GradeMarks>(rows_, studentGrid_->Students());
  studentGrid_->setObjectName(QStringLiteral("studentGrid"));
  studentGrid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  studentGrid_->setTextElideMode(Qt::ElideNone);
  {
    // The given widths, unless the heading needs more in the font at hand.
    const int widths[7] = {32, 80, 64, 64, 64, 64, 64};
    const QFontMetrics fm(studentGrid_->font());
    const QString widest[7] = {QStringLiteral("9999"), QStringLiteral("0000000000"),
                               QStringLiteral("四个汉字"), QStringLiteral("四个汉字"),
                               QStringLiteral("平时成绩"), QStringLiteral("考试成绩"),
                               QStringLiteral(" 总成绩")};
    for (int c = 0; c < 7; ++c)
      studentGrid_->setColumnWidth(c, std::max(widths[c], fm.horizontalAdvance(widest[c]) + 10));
  }
  auto* gridColumn = new QVBoxLayout;
  gridColumn->setSpacing(0);
  checkBar_ = new CheckBar(this);
  gridColumn->addWidget(checkBar_);
  gridColumn->addWidget(studentGrid_, 1);
  editingLayout->addLayout(gridColumn, 1);

  editor_ = new GradeEditor(*studentGrid_);
}

// An editor still open, or still watching, would call the grid back while
// the grid is being taken down.
EditingView::~EditingView() {
  editor_->Close();
  editor_->StopWatching();
}

void EditingView::ShowRow(int row) {
  studentGrid_->Students().ShowStudent(StudentOfRow(row));
  MarkRow(row);
}

void EditingView::MarkRow(int row) {
  marks_->MarkRow(row, share_);
  if (row == editor_->Row()) MarkEditor();
  ShowCounts();
}

void EditingView::MarkEditor() {
  if (!IsGradeColumn(editor_->Column())) return;
  const QModelIndex cell = studentGrid_->IndexOf(editor_->Row(), editor_->Column());
  if (!cell.isValid()) return;
  QComboBox* field = editor_->Field();
  const QString why = cell.data(Qt::ToolTipRole).toString();
  QPalette palette = field->palette();
  if (!why.isEmpty()) palette.setColor(QPalette::Base, cell.data(Qt::BackgroundRole).value<QColor>());
  field->lineEdit()->setPalette(palette);
  field->setToolTip(why);
}

void EditingView::MarkShare() {
  const bool bad = IsBadShare(share_);
  QPalette palette;
  if (bad) palette.setColor(QPalette::Base, kGradeFindingFace);
  shareEdit_->setPalette(palette);
  shareEdit_->setToolTip(bad ? QString::fromStdString(std::string(texts::kBadShare)) : QString());
  ShowCounts();
}

void EditingView::ShowCounts() { checkBar_->showCounts(share_, marks_->Mismatches(), marks_->TypedMismatches()); }

void EditingView::Refuse(QWidget* where, const QString& restored, const QString& why) {
  inputNotice_ = why;
  auto* edit = where == editor_->Field() ? editor_->Field()->lineEdit() : qobject_cast<QLineEdit*>(where);
  if (edit != nullptr) {
    const int grown = edit->text().size() - restored.size();
    const int cursor = std::clamp(edit->cursorPosition() - std::max(0, grown), 0,
                                  static_cast<int>(restored.size()));
    const QSignalBlocker block(where);
    const QSignalBlocker blockEdit(edit);
    edit->setText(restored);
    edit->setCursorPosition(cursor);
  }
  where->setToolTip(inputNotice_);
  if (where->isVisible())
    QToolTip::showText(where->mapToGlobal(QPoint(0, where->height())), inputNotice_, where);
}
