#pragma once
// The editing view's two grids as models over the book's bytes, converted to
// text only for what is drawn: the course list over the courses' row texts,
// the student grid over the rows of the course shown (the window's
// std::vector<StudentRow>) with the marks of the check on its cells. The
// headings are the models' header data (GridHeading draws them).
#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "gradefile/GradeBook.h"

class CourseListModel : public QAbstractTableModel {
 public:
  // `titles`: one GBK text per course (GradeBook::CourseTitles); the model
  // reads it at every call, and shows one empty row when it is empty.
  explicit CourseListModel(const Lines& titles, QObject* parent = nullptr);

  // The titles were rebuilt (a file was opened).
  void Reset();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const Lines& titles_;
};

class StudentGridModel : public QAbstractTableModel {
 public:
  static constexpr int kColumns = 7;

  // `students`: the rows of the course shown, read at every call.
  explicit StudentGridModel(const std::vector<StudentRow>& students, QObject* parent = nullptr);

  // Another course is shown: its rows replace the old, and no cell is marked.
  void Reset();
  // Student `student`'s texts changed.
  void ShowStudent(int student);
  // Marks a cell with a face and why (the tool tip); `face` invalid gives the
  // column's own face back, `why` empty no tool tip.
  void Mark(int student, int column, const QColor& face, const QString& why);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  struct CellMark {
    QColor Face;
    QString Why;
  };
  static std::uint64_t Key(int student, int column) {
    return (static_cast<std::uint64_t>(student) << 3) | static_cast<std::uint64_t>(column);
  }
  const std::vector<StudentRow>& students_;
  std::unordered_map<std::uint64_t, CellMark> marks_;  // few cells are marked
};
