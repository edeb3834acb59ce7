#pragma once
// A main window with scripted dialogs and its own program directory (so the
// settings file "qprtpara.dat" of one test never reaches another), for the
// preview and printing tests.
#include <QTemporaryDir>
#include <memory>

#include "app/MainWindow.h"
#include "support/ScriptedDialogs.h"

struct PreviewWindow {
  QTemporaryDir Dir;
  ScriptedDialogs* Script = nullptr;  // owned by the window
  std::unique_ptr<MainWindow> Window;

  // `bodyPoints` > 0 writes a settings file with that body font size first.
  // The window's preview is set up, as after its first paint.
  explicit PreviewWindow(int bodyPoints = 0);

  QString Path(const QString& name) const { return Dir.filePath(name); }

  // Writes a grade file of `courses` x `perCourse` students and opens it
  // through the open command; true when it was opened.
  bool Open(int courses, int perCourse, const QString& name = QStringLiteral("grades.txt"));

  // The three status panels.
  QStringList Status() const;

  MainWindow& W() { return *Window; }
};
