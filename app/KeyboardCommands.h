#pragma once
// What the keyboard and a screen reader reach beyond the menus: the
// handlers of 编辑 → 按当前比例重新计算 (F9) and of the next and previous
// finding (F8, Shift+F8); the preview's page, scroll and zoom keys, which
// hold only while the preview shows, and the zoom in the status bar; the
// 帮助 menu's dialogs; the accessible names of the window's controls. The
// commands themselves are app/Commands.h; keys come from the key table
// (app/KeyTable.h).
#include <QObject>
#include <vector>

#include "app/KeyTable.h"

class QAction;
class QLabel;
class MainWindow;

class KeyboardCommands : public QObject {
  Q_OBJECT

 public:
  explicit KeyboardCommands(MainWindow& window);

  QLabel* ZoomPanel() const { return zoomPanel_; }

  // F8 and Shift+F8: the editor to the next (previous) cell of the course
  // shown with a finding, after (before) the cell it is at. False when the
  // course has none elsewhere.
  bool GoToNextFinding(bool backward);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddEditCommands();
  void AddPreviewCommands();
  void NameControls();
  void ShowZoom();
  bool Previewing() const;

  MainWindow& w_;
  struct PageKey {
    QAction* Action;
    KeyCommand Command;
  };
  std::vector<PageKey> pageKeys_;  // keys only while the preview shows
  QLabel* zoomPanel_ = nullptr;
};
