#include "preview/PrintProgress.h"

#include <QProgressDialog>

namespace preview {

PrintProgress::PrintProgress(QWidget* parent, PageSpan span) : span_(span) {
  const int pages = span.Last - span.First + 1;
  if (pages < 2) return;  // one page is over before anyone could cancel it
  dialog_ = std::make_unique<QProgressDialog>(QString(), QStringLiteral("取消"), 0, pages,
                                              parent);
  dialog_->setWindowTitle(QStringLiteral("打印"));
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setMinimumDuration(kShowAfterMs);
  dialog_->setAutoClose(true);
  dialog_->setAutoReset(true);
}

PrintProgress::~PrintProgress() = default;

bool PrintProgress::Step(int page) {
  if (!dialog_) return true;
  dialog_->setLabelText(QStringLiteral("正在打印第 %1 页（第 %2 至 %3 页）")
                            .arg(page)
                            .arg(span_.First)
                            .arg(span_.Last));
  // A window-modal progress dialog lets the event loop run here, which is
  // where a click on its cancel button arrives.
  dialog_->setValue(page - span_.First);
  return !dialog_->wasCanceled();
}

}  // namespace preview
