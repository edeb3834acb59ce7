#include "printing/qt/OutputFileDevice.h"

namespace {
constexpr std::size_t kBlock = 1 << 16;
}

OutputFileDevice::OutputFileDevice(platform::OutputFile& output) : output_(output) {
  block_.reserve(kBlock);
  QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool OutputFileDevice::Flush() {
  if (!failed_ && !block_.empty() && !output_.Write(block_)) failed_ = true;
  block_.clear();
  return !failed_;
}

qint64 OutputFileDevice::readData(char*, qint64) { return -1; }

qint64 OutputFileDevice::writeData(const char* data, qint64 size) {
  if (failed_) return -1;
  block_.append(data, static_cast<std::size_t>(size));
  if (block_.size() >= kBlock && !Flush()) return -1;
  return size;
}
