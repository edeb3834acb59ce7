// Opening a file the teacher names without the open dialog: on the command
// line (a file manager's "open with"), by dropping it on the window, or from
// the file menu's recent files. Each asks about unsaved grades first and
// says what the open command says about a file it cannot open.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "app/RecentFilesMenu.h"
#include "platform/Files.h"
#include "printing/qt/QtText.h"

namespace {

// The one local file of a drag, if that is what it carries.
std::optional<QString> DroppedFile(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls()) return std::nullopt;
  const QList<QUrl> urls = mime->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
  return urls.front().toLocalFile();
}

}  // namespace

bool MainWindow::OpenNamedFile(const QString& path) {
  leaveGradeEditor();
  if (!document_.MayLeave()) return false;
  return OpenChosenFile(path);
}

void MainWindow::OpenRecent(const std::string& path) {
  if (!platform::Identify(path)) {
    recentFiles_->forget(path);
    Dialogs().Information(this, WindowTexts::RecentFileGone(path));
    return;
  }
  OpenNamedFile(PathToQString(path));
}

QString MainWindow::OpenFolder() const {
  std::string last = FileName;
  if (last.empty()) last = recentFiles_->newest();
  if (!last.empty()) {
    const QString folder = QFileInfo(PathToQString(last)).absolutePath();
    if (QFileInfo(folder).isDir()) return folder;
  }
  return QDir::homePath();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedFile(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::optional<QString> path = DroppedFile(event->mimeData());
  if (!path) return;
  event->acceptProposedAction();
  // The questions and messages of opening wait until the drop has ended:
  // the program the file came from waits for the drop's answer.
  QTimer::singleShot(0, this, [this, file = *path] { OpenNamedFile(file); });
}
