#pragma once
// A Qt device that writes into a platform::OutputFile, for the writers that
// want a QIODevice (QPdfWriter). Those writers ignore failed writes, so the
// failure stays here and in the output file: the first write that fails
// makes every later one fail, and the file's Commit reports the system's
// reason and leaves the old file whole.
#include <QIODevice>
#include <string>

#include "platform/Files.h"

class OutputFileDevice : public QIODevice {
 public:
  explicit OutputFileDevice(platform::OutputFile& output);

  bool isSequential() const override { return true; }

  // Writes what is still held back; false once any write has failed.
  bool Flush();
  bool Failed() const { return failed_; }

 protected:
  qint64 readData(char* data, qint64 size) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  platform::OutputFile& output_;
  std::string block_;  // the writers write in small pieces: the system sees blocks
  bool failed_ = false;
};
