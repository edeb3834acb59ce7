#pragma once
// The grade editor: one editable word list (a QComboBox with the grade
// words) that the student grid shows as the editor of the grade cell it is
// opened at. The grid keeps it over its cell while it scrolls and resizes; a
// cell scrolled out of sight takes the editor with it (leftSight).
//
// The same word list serves every cell for the whole session: its words are
// filled once, and the window's filters on it stay installed. Its text is
// not the model's: what is typed is written through to the file as it is
// typed (MainWindow::takeEditorText), and the grid's model shows the row
// again from the book, so the delegate's own data transfer does nothing.
// The editor keeps what belongs to its cell: where it is, its text as GBK
// bytes, and the changes typed there, which become one step to undo.
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <optional>
#include <string>

#include "gradefile/EditHistory.h"

class QComboBox;
class StudentGrid;

class GradeEditor : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // Builds the word list in the grid's viewport and is the grid's delegate
  // for the grade columns.
  explicit GradeEditor(StudentGrid& grid);

  QComboBox* Field() const { return combo_; }

  // The grid cell the editor was laid over last (a row from 1 and a grade
  // column); -1 when none is, or it was forgotten.
  int Row() const { return row_; }
  int Column() const { return column_; }
  void ForgetCell() { row_ = column_ = -1; }

  // Lays the editor over grid cell (row, column), scrolled into sight,
  // closing it where it was; it shows `bytes`, all selected, and has the
  // focus.
  void OpenAt(int row, int column, const std::string& bytes);
  // A focus the editor has goes on along the window's tab chain.
  void Close();
  // True while the editor goes from cell to cell or closes: the focus it
  // loses meanwhile is not the teacher's leaving.
  bool Moving() const { return moving_; }
  // The grid is about to be taken down: the editor no longer asks it where
  // its cell is, as the word list and the viewport go with it.
  void StopWatching();

  // Its text as GBK: what it showed on arrival or took since; always GBK.
  const std::string& Bytes() const { return bytes_; }
  void Took(const std::string& bytes, const std::optional<RecordChange>& change);
  // The changes typed at its cell since it arrived; taking them ends the step.
  bool Typed() const { return !step_.Empty(); }
  EditStep TakeStep();

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

 signals:
  // The grid scrolled or shrank so that the editor's cell is out of sight.
  void leftSight();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool HasFocus() const;
  bool OutOfSight() const;  // open, and its cell outside the grid's viewport

  StudentGrid& grid_;
  QComboBox* combo_;
  QPointer<QWidget> chainBefore_;  // the widget before the editor in the tab chain
  QWidget* viewport_ = nullptr;  // the grid's, which it scrolls and shrinks
  QPersistentModelIndex cell_;     // where it is open; invalid when closed
  int row_ = -1;
  int column_ = -1;
  std::string bytes_;
  EditStep step_;
  bool moving_ = false;
  mutable bool placing_ = false;  // the grid is placing its editors
};
