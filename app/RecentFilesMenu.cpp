#include "app/RecentFilesMenu.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>

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

}  // namespace

RecentFilesMenu::RecentFilesMenu(QMenu* menu, QAction* before, const std::string& userDir, QObject* parent)
    : QObject(parent), menu_(menu), separator_(menu->insertSeparator(before)), userDir_(userDir) {
  separator_->setVisible(false);
  connect(menu_, &QMenu::aboutToShow, this, [this] { showItems(); });
}

void RecentFilesMenu::remember(const std::string& path) {
  if (path.empty() || userDir_.empty()) return;
  RecentFiles list = ReadRecent(userDir_);
  list.Add(path);
  WriteRecent(userDir_, list);
  showItems();
}

void RecentFilesMenu::forget(const std::string& path) {
  RecentFiles list = ReadRecent(userDir_);
  list.Remove(path);
  WriteRecent(userDir_, list);
  showItems();
}

std::string RecentFilesMenu::newest() const {
  const RecentFiles list = ReadRecent(userDir_);
  return list.Paths().empty() ? std::string() : list.Paths().front();
}

void RecentFilesMenu::showItems() {
  for (QAction* item : items_) {
    menu_->removeAction(item);
    item->deleteLater();
  }
  items_.clear();
  const RecentFiles list = ReadRecent(userDir_);
  const QFontMetrics metrics(menu_->font());
  int number = 0;
  for (const std::string& path : list.Paths()) {
    QString shown = metrics.elidedText(PathToQString(path), Qt::ElideMiddle, 60 * metrics.averageCharWidth());
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* item = new QAction(QStringLiteral("&%1  %2").arg(++number).arg(shown), menu_);
    item->setObjectName(QStringLiteral("Recent%1").arg(number));
    item->setToolTip(PathToQString(path));
    connect(item, &QAction::triggered, this, [this, path] { emit chosen(path); });
    menu_->insertAction(separator_, item);
    items_.push_back(item);
  }
  separator_->setVisible(!items_.empty());
}
