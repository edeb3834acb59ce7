#include "app/ReadingProgress.h"

#include <QProgressDialog>

#include "app/ExchangeTexts.h"

namespace {
constexpr int kSteps = 1000;
}

ReadingProgress::ReadingProgress(QWidget* parent)
    : dialog_(std::make_unique<QProgressDialog>(ExchangeTexts::Reading(), ExchangeTexts::Cancel(), 0, kSteps,
                                                parent)) {
  dialog_->setWindowTitle(ExchangeTexts::ImportTitle());
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setMinimumDuration(kShowAfterMs);
  dialog_->setAutoClose(true);
  dialog_->setAutoReset(true);
  dialog_->setValue(0);  // starts the clock of the minimum duration
}

ReadingProgress::~ReadingProgress() = default;

exchange::ImportProgress ReadingProgress::Callback() {
  return [this](std::uint64_t done, std::uint64_t total) { return Step(done, total); };
}

bool ReadingProgress::Step(std::uint64_t done, std::uint64_t total) {
  if (dialog_->wasCanceled()) return false;
  const int value = total == 0 ? kSteps : static_cast<int>(done * kSteps / total);
  // The last step would close the dialog before the rows are judged.
  dialog_->setValue(std::min(value, kSteps - 1));
  return !dialog_->wasCanceled();
}
