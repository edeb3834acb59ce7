#pragma once
// The grade editor over the student grid: one editable word list (the
// QComboBox with the grade words) that the grid shows as the editor of the
// grade cell it is opened at, for as long as the window keeps it open. The
// grid keeps it over its cell while it scrolls and resizes; a cell scrolled
// out of sight takes the editor with it (leftSight).
//
// The same combo box serves every cell, for the whole session: its words are
// filled once, and the window's filters on it stay installed. Its text is
// not the model's: what is typed is written through to the file as it is
// typed (MainWindow::takeEditorText), and the grid's model shows the row
// again from the book, so the delegate's own data transfer does nothing.
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

class QComboBox;
class QAbstractItemView;

class GradeEditor : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // `combo`: the word list, a child of `grid`'s viewport; `grid` shows it
  // over the cells this delegate is set for.
  GradeEditor(QComboBox& combo, QAbstractItemView& grid);

  // The cell the editor is open at; invalid when it is closed.
  QModelIndex Cell() const { return cell_; }
  // Opens the editor at `cell`, scrolled into sight, closing it where it
  // was; an invalid `cell` only closes it.
  void OpenAt(const QModelIndex& cell);
  // A focus the editor has goes on along the window's tab chain.
  void Close();
  // True while the editor goes from cell to cell or closes: the focus it
  // loses meanwhile is not the teacher's leaving.
  bool Moving() const { return moving_; }

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

  QComboBox& combo_;
  QAbstractItemView& grid_;
  QPersistentModelIndex cell_;
  QPointer<QWidget> chainBefore_;  // the widget before the editor in the tab chain
  bool moving_ = false;
};
