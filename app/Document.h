#pragma once
// The open grade file: its book, where it lives and the history of its
// edits, and the file commands that read and write it: open, save, save as
// and the question before leaving unsaved grades. The book loads and saves
// and words what went wrong; the document asks the teacher's questions and
// shows the book's messages through the dialog seam.
//
// Whether there is anything to save is said in one place, canSaveChanged,
// which the Save command follows: a file is open and its book differs from
// what the file holds. Undo back to the state last saved or opened leaves
// nothing to save.
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "gradefile/EditHistory.h"
#include "gradefile/GradeBook.h"

class DialogSeam;
class FileRecovery;
class QWidget;

class Document : public QObject {
  Q_OBJECT

 public:
  // `window` is the parent of the questions and messages; `recovery` keeps
  // the open file's lock, journal and versions.
  Document(QWidget* window, DialogSeam& dialogs, FileRecovery& recovery);

  GradeBook& Book() { return book_; }
  EditHistory& History() { return history_; }
  // The open file's path as bytes; empty when none is open.
  const std::string& FileName() const { return fileName_; }
  // The document goes on with the file at `path` (a recovered copy).
  void SetFileName(std::string path);

  // Asked before a save writes: false keeps the file as it is (the window
  // lists the findings, and the teacher went back to them).
  void ConfirmSaveWith(std::function<bool()> confirm) { confirmSave_ = std::move(confirm); }

  // Reads the file at `path` into the book, with the book's messages;
  // loaded, the document is that file under its whole path, with no steps
  // to undo. Not loaded, the file that was open stays.
  bool Open(const QString& path);
  // Saves to the open file; false when nothing was written (the message was
  // shown, or the teacher went back). True when no file is open.
  bool Save();
  // Saves to a file the teacher chooses. True when the document goes on
  // with another file.
  bool SaveAs();
  // Before the grades are left (another file, closing): asks about unsaved
  // grades and saves them if wanted. False when they must stay: cancelled,
  // or the save failed.
  bool MayLeave();

  bool CanSave() const { return !fileName_.empty() && book_.Modified; }
  // The book or its history changed: whether there is anything to save is
  // looked at again.
  void Changed();

 signals:
  void canSaveChanged(bool canSave);
  void fileNameChanged();

 private:
  bool MayOverwriteOnDisk();  // asks when another program wrote the file
  bool Write(const std::string& path);

  QWidget* window_;
  DialogSeam& dialogs_;
  FileRecovery& recovery_;
  std::function<bool()> confirmSave_;
  GradeBook book_;  // HeadLines, GradeLines, CourseKeys, ClassGroups, Modified
  EditHistory history_;
  std::string fileName_;
  bool canSave_ = false;
};
