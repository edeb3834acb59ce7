// Opening a file the teacher names without the open dialog: on the command
// line (a file manager's "open with"), by dropping it on the window, or from
// the file menu's recent files. Each asks about unsaved grades first and
// says what the open command says about a file it cannot open.
//
// The recent files are kept in the user's configuration folder (beside the
// print settings) as the paths' own bytes, read afresh whenever the file
// menu opens so that two windows do not forget each other's files.
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "gradefile/RecentFiles.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "printing/qt/QtText.h"

namespace {

RecentFiles ReadRecent(const std::string& userDir) {
  if (userDir.empty()) return {};
  // Read line by line: one damaged line must not cost the good ones.
  return RecentFiles::Read(userDir + std::string(kRecentFilesName));
}

// The list is a convenience: a folder that cannot take it costs the teacher
// nothing but the list, so no message interrupts the open that came first.
void WriteRecent(const std::string& userDir, const RecentFiles& list) {
  if (userDir.empty() || !platform::CreateFolders(userDir).Ok()) return;
  (void)platform::WriteWholeFile(userDir + std::string(kRecentFilesName), list.Serialize());
}

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
    RecentFiles list = ReadRecent(UserDir);
    list.Remove(path);
    WriteRecent(UserDir, list);
    ShowRecentFiles();
    Dialogs().Information(this, WindowTexts::RecentFileGone(path));
    return;
  }
  OpenNamedFile(PathToQString(path));
}

void MainWindow::RememberFile() {
  if (FileName.empty() || UserDir.empty()) return;
  RecentFiles list = ReadRecent(UserDir);
  list.Add(FileName);
  WriteRecent(UserDir, list);
  ShowRecentFiles();
}

void MainWindow::ShowRecentFiles() {
  QMenu* file = commands_.fileMenu->menu();
  for (QAction* item : RecentItems) {
    file->removeAction(item);
    item->deleteLater();
  }
  RecentItems.clear();
  const RecentFiles list = ReadRecent(UserDir);
  const QFontMetrics metrics(file->font());
  int number = 0;
  for (const std::string& path : list.Paths()) {
    QString shown = metrics.elidedText(PathToQString(path), Qt::ElideMiddle, 60 * metrics.averageCharWidth());
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* item = new QAction(QStringLiteral("&%1  %2").arg(++number).arg(shown), file);
    item->setObjectName(QStringLiteral("Recent%1").arg(number));
    item->setToolTip(PathToQString(path));
    connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    file->insertAction(recentSeparator_, item);
    RecentItems.push_back(item);
  }
  recentSeparator_->setVisible(!RecentItems.empty());
}

QString MainWindow::OpenFolder() const {
  std::string last = FileName;
  if (last.empty()) {
    const RecentFiles list = ReadRecent(UserDir);
    if (!list.Paths().empty()) last = list.Paths().front();
  }
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
