#include "preview/PrintJob.h"

#include <QFile>
#include <QIODevice>
#include <QPdfWriter>
#include <QPrinter>
#include <cerrno>
#include <string>
#include <string_view>

namespace preview {

namespace {

// Hands what the PDF writer produces to the safe file writer, in blocks; the
// first failed write fails every later one, and the job with them.
class OutputFileDevice : public QIODevice {
 public:
  explicit OutputFileDevice(platform::OutputFile& output) : output_(output) {
    block_.reserve(kBlock);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  }

  bool isSequential() const override { return true; }

  // The last block; false when any write failed.
  bool Flush() {
    if (!block_.empty() && !output_.Write(block_)) failed_ = true;
    block_.clear();
    return !failed_;
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (failed_) return -1;
    block_.append(data, static_cast<std::size_t>(size));
    if (block_.size() >= kBlock && !Flush()) return -1;
    return size;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  platform::OutputFile& output_;
  std::string block_;
  bool failed_ = false;
};

}  // namespace

QString FileErrorText(const platform::FileStatus& status) {
  using platform::FileError;
  switch (status.Error) {
    case FileError::None: return {};
    case FileError::NoSuchFile: return QStringLiteral("文件或它所在的文件夹不存在");
    case FileError::Permission: return QStringLiteral("没有权限写入这个位置");
    case FileError::ReadOnlyFile: return QStringLiteral("文件是只读的");
    case FileError::NotOwner: return QStringLiteral("文件属于其他用户，不能写入");
    case FileError::ReadOnlyFileSystem: return QStringLiteral("磁盘是只读的");
    case FileError::DiskFull: return QStringLiteral("磁盘空间不足");
    case FileError::IsFolder: return QStringLiteral("这是一个文件夹，不是文件");
    case FileError::NotRegular: return QStringLiteral("这不是普通文件");
    case FileError::TooLarge: return QStringLiteral("文件超出了系统允许的大小");
    case FileError::NameTooLong: return QStringLiteral("文件名或路径太长");
    case FileError::LinkLoop: return QStringLiteral("符号链接构成了循环");
    case FileError::Other: break;
  }
  return QStringLiteral("系统错误 %1").arg(status.Code);
}

PrintJob::PrintJob(QPrinter& printer) : printer_(printer), file_(printer.outputFileName()) {}

PrintJob::~PrintJob() {
  if (painter_.isActive()) {
    if (!file_.isEmpty()) painter_.end();
    else printer_.abort();
  }
  // An OutputFile that was not committed is thrown away with it.
}

QString PrintJob::Where() const { return file_.isEmpty() ? printer_.printerName() : file_; }

bool PrintJob::Fail(const QString& what, const QString& reason) {
  if (!failed_) {
    failed_ = true;
    message_ = what + Where();
    if (!reason.isEmpty()) message_ += QStringLiteral("\n") + reason;
  }
  return false;
}

bool PrintJob::Begin() {
  if (file_.isEmpty()) {
    begun_ = painter_.begin(&printer_);
    return begun_ || Fail(QStringLiteral("无法开始打印："));
  }
  platform::FileStatus status;
  output_ = platform::OutputFile::Begin(QFile::encodeName(file_).toStdString(), status);
  if (!output_) return Fail(QStringLiteral("无法写入PDF文件："), FileErrorText(status));
  device_ = std::make_unique<OutputFileDevice>(*output_);
  // The same pages the printer would write into the file: its paper, margins
  // and resolution, so the sheet laid out for it fits as it does on paper.
  writer_ = std::make_unique<QPdfWriter>(device_.get());
  writer_->setResolution(printer_.resolution());
  writer_->setPageLayout(printer_.pageLayout());
  writer_->setTitle(printer_.docName());
  writer_->setCreator(printer_.creator().isEmpty() ? QStringLiteral("gradesheet")
                                                   : printer_.creator());
  begun_ = painter_.begin(writer_.get());
  return begun_ || Fail(QStringLiteral("无法写入PDF文件："));
}

bool PrintJob::NewPage() {
  if (failed_ || cancelled_) return false;
  const bool next = writer_ ? writer_->newPage() : printer_.newPage();
  return next || Fail(file_.isEmpty() ? QStringLiteral("打印失败，无法开始新的一页：")
                                      : QStringLiteral("无法写入PDF文件："));
}

void PrintJob::Cancel() {
  if (!begun_ || finished_) return;
  cancelled_ = true;
  if (file_.isEmpty()) printer_.abort();
}

bool PrintJob::Finish() {
  if (finished_) return !failed_;
  finished_ = true;
  if (!begun_) return false;
  const bool ended = painter_.isActive() ? painter_.end() : false;
  if (cancelled_) {
    if (output_) output_->Abandon();
    return true;
  }
  if (failed_) {
    if (output_) output_->Abandon();
    return false;
  }
  if (!output_) {
    if (!ended || printer_.printerState() == QPrinter::Error)
      return Fail(QStringLiteral("打印失败："));
    return true;
  }
  const bool flushed = static_cast<OutputFileDevice*>(device_.get())->Flush();
  // A writer that could not end left a file no reader can use.
  if (flushed && !ended) output_->Fail({platform::FileError::Other, EIO});
  const platform::FileStatus status = output_->Commit();
  if (!status.Ok()) return Fail(QStringLiteral("PDF文件写入失败："), FileErrorText(status));
  return true;
}

}  // namespace preview
