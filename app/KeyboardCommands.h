#pragma once
// The window's commands that the keyboard reaches and a screen reader
// names: 编辑 → 按当前比例重新计算 (F9) and the next and previous finding
// (F8, Shift+F8); the preview's page, scroll and zoom keys, its fonts and
// margins in the 预览 menu and the zoom in the status bar; the 帮助 menu;
// the accessible names of the window's controls. Keys come from the key
// table (app/KeyTable.h).
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

  QAction* Recompute() const { return recompute_; }
  QAction* NextFinding() const { return nextFinding_; }
  QAction* PreviousFinding() const { return previousFinding_; }
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
  void AddHelpMenu();
  void NameControls();
  void ShowZoom();
  bool Previewing() const;

  MainWindow& w_;
  QAction* recompute_ = nullptr;
  QAction* nextFinding_ = nullptr;
  QAction* previousFinding_ = nullptr;
  struct PageKey {
    QAction* Action;
    KeyCommand Command;
  };
  std::vector<PageKey> pageKeys_;  // keys only while the preview shows
  QLabel* zoomPanel_ = nullptr;
};
