#pragma once
// The window's commands: one QAction each, shared by the menus, the preview's
// tool bar, its context menu and the keys, so that whether a command can be
// used is said in one place. The actions belong to the window; the window
// connects each to its handler.
//
// The menus, by caption:
//   "&F 文件"       open, save, saveAs, versions, importScores, exportGrades,
//                   exportSheetPdf, the recent files ("&1 <path>" ..), exit
//   "编辑(&E)"      undo, redo, copyCells, pasteCells, find, recompute,
//                   nextFinding, previousFinding (the editing view only)
//   "&W 窗口"       showEditing, showSheet, showSheetByClass, analysis
//   "&V 预览"       previousPage, nextPage, firstPage, lastPage, choosePage,
//                   zoomIn, zoomOut, and items for bodyFont, titleFont, margins
//   "&P 打印"       print (the preview only), "&S 打印机设置" printerSetup
//   "帮助(&H)"      shortcuts, about
// The preview's tool bar: previousPage .. zoomOut, the six scroll commands,
// printerSetup, print and exportSheetPdf; its context menu: bodyFont,
// titleFont, margins.
#include <utility>
#include <vector>

#include "printing/PreviewRules.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

struct Commands {
  QAction* fileMenu = nullptr;
  QAction* open = nullptr;
  QAction* save = nullptr;
  QAction* saveAs = nullptr;
  QAction* versions = nullptr;
  QAction* importScores = nullptr;
  QAction* exportGrades = nullptr;
  QAction* exportSheetPdf = nullptr;
  QAction* exit = nullptr;

  QAction* editMenu = nullptr;
  QAction* undo = nullptr;
  QAction* redo = nullptr;
  QAction* copyCells = nullptr;
  QAction* pasteCells = nullptr;
  QAction* find = nullptr;
  QAction* recompute = nullptr;
  QAction* nextFinding = nullptr;
  QAction* previousFinding = nullptr;

  QAction* windowMenu = nullptr;
  QAction* showEditing = nullptr;
  QAction* showSheet = nullptr;
  QAction* showSheetByClass = nullptr;
  QAction* analysis = nullptr;

  QAction* previewMenu = nullptr;
  QAction* previousPage = nullptr;
  QAction* nextPage = nullptr;
  QAction* firstPage = nullptr;
  QAction* lastPage = nullptr;
  QAction* choosePage = nullptr;
  QAction* zoomIn = nullptr;
  QAction* zoomOut = nullptr;
  // The tool bar's buttons, and the page keys that scroll by a screen.
  QAction* scrollToTop = nullptr;
  QAction* scrollToBottom = nullptr;
  QAction* scrollToLeft = nullptr;
  QAction* scrollToRight = nullptr;
  QAction* scrollToTopLeft = nullptr;
  QAction* scrollToBottomRight = nullptr;
  QAction* scrollDown = nullptr;
  QAction* scrollUp = nullptr;

  QAction* print = nullptr;
  QAction* printerSetup = nullptr;
  QAction* bodyFont = nullptr;
  QAction* titleFont = nullptr;
  QAction* margins = nullptr;

  QAction* shortcuts = nullptr;
  QAction* about = nullptr;

  QToolBar* previewToolBar = nullptr;
  QMenu* pageSetupMenu = nullptr;

  // Builds the menu bar, the preview's tool bar and its context menu into
  // `window`, every command at its starting state.
  void Build(QMainWindow& window);

  // The tool bar's button of `command`; null when it has none.
  QToolButton* ButtonOf(const QAction* command) const;

  // The preview's commands as its rules say.
  void EnablePreview(const preview::CommandStates& states);
  // Which view shows: the menus and commands of the other stand disabled.
  void ShowView(bool preview);

 private:
  void BuildMenus(QMainWindow& window);
  void BuildToolBar(QMainWindow& window);

  std::vector<std::pair<const QAction*, QToolButton*>> buttons_;
};
