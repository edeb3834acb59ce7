// The window's construction: BuildWindow builds the components in order and
// then takes the start-up steps in the order the program has always taken
// them, but for the preview's (6 to 10), taken after the first paint (the
// builders are in MainWindowBuild.cpp).
#include "app/MainWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/GradeEditor.h"
#include "app/GradeMarks.h"
#include "app/GridSelection.h"
#include "app/KeyboardCommands.h"
#include "app/QtDialogs.h"
#include "app/SheetOutput.h"
#include "printing/qt/QtText.h"
#include "printing/qt/SettingsFolder.h"

MainWindow::MainWindow(std::unique_ptr<DialogSeam> dialogs, QString appDir, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>()),
      recovery_(std::make_unique<FileRecovery>(this, *dialogs_)),
      document_(this, *dialogs_, *recovery_),
      appDirOverride_(std::move(appDir)) {
  BuildWindow();
}

MainWindow::~MainWindow() {
  // These parts filter the events of the grid, the editor and the page: they
  // go before the widgets they watch, which would otherwise still call them
  // while the window is half taken down.
  qDeleteAll(findChildren<GridSelection*>(QString(), Qt::FindDirectChildrenOnly));
  qDeleteAll(findChildren<KeyboardCommands*>(QString(), Qt::FindDirectChildrenOnly));
}

void MainWindow::BuildWindow() {
  BuildForm();
  commands_.Build(*this);
  BuildStatusBar();
  BuildEditingView();
  BuildPreviewView();
  ConnectCommands();
  BuildEditingAids();

  HidePreview();
  FindAppDir();
  PlaceWindow();
  ShowPreviewState();  // the preview's commands stand still until it is set up
  ShowEditingView();
  ShowGridHeadings();
  FillEditorWords();
  // Keys and names beyond the menus above: F9, F8, the preview's keys, the
  // 帮助 menu, the grid's block selection, what a screen reader says.
  new KeyboardCommands(*this);
  new GridSelection(*this);
}

// 1. The window starts in the editing view; the preview's bars and menus wait.
void MainWindow::HidePreview() {
  views_->setCurrentWidget(editingView_);
  commands_.previewToolBar->setVisible(false);
  statusLine_->setVisible(false);
  commands_.previewMenu->setEnabled(false);
  commands_.print->setVisible(false);
}

// 2. The program's directory as bytes, or the one the caller named.
void MainWindow::FindAppDir() {
  QString dir = appDirOverride_.isEmpty() ? QCoreApplication::applicationDirPath() : appDirOverride_;
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  appDir_ = MakeAppDir(PathBytes(dir));
  // The teacher's own copy of the settings, unless the caller named the folder.
  if (appDirOverride_.isEmpty()) userDir_ = UserSettingsDir();
}

// 4. At the top left corner of the screen's free area, the whole window in
// it with its frame: the title bar and frame are the window manager's and
// known only once it is shown (FitFrameToScreen), so room is left for a
// usual one until then.
void MainWindow::PlaceWindow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const QMargins usualFrame(4, 30, 4, 4);
    setGeometry(area.marginsRemoved(usualFrame));
    placedSize_ = size();
  }
}

void MainWindow::EnsurePreview() {
  if (previewSetUp_) return;
  previewSetUp_ = true;
  SetUpPreview();
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::Paint && !previewSetUp_) QTimer::singleShot(0, this, [this] { EnsurePreview(); });
  return QMainWindow::event(event);
}

// 6 to 10: resolutions, print settings, zoom limits, the empty page.
void MainWindow::SetUpPreview() {
  sheetPreview_->SetUp(appDir_, userDir_);
  sheetOutput_->KeepSettingsIn(appDir_, userDir_);  // where the settings came from
  commands_.print->setEnabled(false);
}

// 11.
void MainWindow::ShowEditingView() {
  views_->setCurrentWidget(editingView_);
  commands_.previewToolBar->setVisible(false);
  Book.Modified = false;
}
