#pragma once
// The file menu's recent files: "&1  <path>" .. newest first, above the
// command they are given (exit). The list is kept in the user's
// configuration folder (beside the print settings) as the paths' own bytes,
// read afresh whenever the menu opens so that two windows do not forget each
// other's files.
#include <QObject>
#include <string>
#include <vector>

class QAction;
class QMenu;

class RecentFilesMenu : public QObject {
  Q_OBJECT

 public:
  // `userDir` is the user's configuration folder with its separator, read
  // when the list is; empty: no list.
  RecentFilesMenu(QMenu* menu, QAction* before, const std::string& userDir, QObject* parent);

  const std::vector<QAction*>& items() const { return items_; }
  void showItems();                          // refills the items from the stored list
  void remember(const std::string& path);    // first in the list
  void forget(const std::string& path);      // off the list (a file that has gone)
  std::string newest() const;                // empty when none

 signals:
  void chosen(const std::string& path);

 private:
  QMenu* menu_;
  QAction* separator_;
  const std::string& userDir_;
  std::vector<QAction*> items_;
};
