#pragma once
// Progress of reading a CSV file for an import, with a cancel button. A file
// that is read in a moment never shows it: the dialog appears only once the
// reading has gone on for a while.
#include <QString>
#include <memory>

#include "exchange/Import.h"

class QProgressDialog;
class QWidget;

class ReadingProgress {
 public:
  explicit ReadingProgress(QWidget* parent);
  ~ReadingProgress();

  // For PreviewImport: shows how far the reading has got and lets the window
  // answer (a window-modal progress dialog runs the event loop); false once
  // the teacher has cancelled.
  exchange::ImportProgress Callback();

  // How long a reading runs before the dialog shows (milliseconds).
  static constexpr int kShowAfterMs = 500;

 private:
  bool Step(std::uint64_t done, std::uint64_t total);
  std::unique_ptr<QProgressDialog> dialog_;
};
