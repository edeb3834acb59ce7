// The preview side of the window: the two views_, the sheet preview set up on
// first use and shown, and the status panels and commands its state gives.
// The preview's rules are in printing/PreviewRules; the page, the zoom and
// the navigation are preview/SheetPreview's.
#include <QAction>
#include <QLabel>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>

#include "app/MainWindow.h"
#include "printing/qt/QtText.h"

void MainWindow::showEditing() {
  ShowView(false);
  commands_.showSheet->setEnabled(true);
  commands_.showSheetByClass->setEnabled(true);
}

void MainWindow::showSheet() { PreviewSheet(SheetKind::WholeCourse); }

void MainWindow::showSheetByClass() { PreviewSheet(SheetKind::ByClass); }

void MainWindow::ShowView(bool preview) {
  views_->setCurrentWidget(preview ? static_cast<QWidget*>(sheetPreview_->pageArea())
                                  : static_cast<QWidget*>(editingView_));
  statusLine_->setVisible(preview);
  commands_.ShowView(preview);
  FollowEdits();
}

void MainWindow::PreviewSheet(SheetKind kind) {
  EnsurePreview();
  ShowView(true);
  commands_.showSheet->setEnabled(kind != SheetKind::WholeCourse);
  commands_.showSheetByClass->setEnabled(kind == SheetKind::WholeCourse);
  sheetPreview_->ShowSheet(kind);
}

void MainWindow::ShowPreviewState() {
  const preview::PreviewState state = sheetPreview_->State();
  const auto texts = preview::PreviewStatusTexts(state);
  for (std::size_t i = 0; i < statusPanels_.size(); ++i)
    if (statusPanels_[i] != nullptr) statusPanels_[i]->setText(GbkToQString(texts[i]));
  commands_.EnablePreview(preview::PreviewCommands(state));
}

void MainWindow::choosePage() {
  if (sheetPreview_->PageCount() < 2) return;
  QStringList labels;
  for (const std::string& label : sheetPreview_->PageLabels()) labels << GbkToQString(label);
  if (const std::optional<int> page = Dialogs().ChoosePageOf(this, labels, sheetPreview_->Page()))
    sheetPreview_->GoToPage(*page);
}
