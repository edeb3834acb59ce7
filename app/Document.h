#pragma once
// The open grade file: its book, where it lives and the history of its
// edits. Whether there is anything to save is said in one place, by
// canSaveChanged, which the Save command follows: a file is open and its
// book differs from what the file holds. Undo back to the state last saved
// or opened leaves nothing to save.
#include <QObject>
#include <string>

#include "gradefile/EditHistory.h"
#include "gradefile/GradeBook.h"

class Document : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  GradeBook& Book() { return book_; }
  EditHistory& History() { return history_; }
  // The open file's path as bytes; empty when none is open.
  const std::string& FileName() const { return fileName_; }
  // The document goes on with the file at `path` (opened elsewhere, or a
  // recovered copy).
  void SetFileName(std::string path);

  // Reads the file at `path` into the book; loaded, the document is that
  // file under its whole path, with no steps to undo. Not loaded, the file
  // that was open stays.
  LoadResult Load(const std::string& path);
  // Writes the book to `path`; written, the book is what the file holds.
  SaveResult Write(const std::string& path);

  bool CanSave() const { return !fileName_.empty() && book_.Modified; }
  // The book or its history changed: whether there is anything to save is
  // looked at again.
  void Changed();

 signals:
  void canSaveChanged(bool canSave);
  void fileNameChanged();

 private:
  GradeBook book_;  // HeadLines, GradeLines, CourseKeys, ClassGroups, Modified
  EditHistory history_;
  std::string fileName_;
  bool canSave_ = false;
};
