#pragma once
// Progress of a print job that takes a while, with a cancel button. Short
// jobs never show it: the dialog appears only once the job has run for a
// moment and still has pages to go.
#include <QString>
#include <memory>

#include "printing/PreviewRules.h"

class QProgressDialog;
class QWidget;

namespace preview {

class PrintProgress {
 public:
  PrintProgress(QWidget* parent, PageSpan span);
  ~PrintProgress();

  // Announces that page `page` is about to be drawn; false when the user
  // has cancelled the job.
  bool Step(int page);

  // The dialog, null for a job of one page.
  QProgressDialog* Dialog() const { return dialog_.get(); }

  // How long a job runs before the dialog shows (milliseconds).
  static constexpr int kShowAfterMs = 800;

 private:
  PageSpan span_;
  std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace preview
