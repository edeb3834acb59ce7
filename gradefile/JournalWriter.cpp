#include "gradefile/JournalWriter.h"

#include <cerrno>
#include <memory>
#include <utility>

#include "gradefile/FileMessages.h"
#include "platform/Folders.h"
#include "platform/StateFiles.h"
#include "text/RecoveryTexts.h"

JournalWriter::JournalWriter(std::string journalPath, JournalHeader header)
    : path_(std::move(journalPath)), header_(std::move(header)), thread_([this] { Run(); }) {}

JournalWriter::~JournalWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void JournalWriter::Append(const EditStep& step, bool backward) {
  if (step.Empty()) return;
  std::vector<Work> work;
  if (!started_) {
    work.push_back({Op::Start, EncodeJournalStart(header_, lastCheck_), header_.Path, header_.BaseHash});
    started_ = true;
  }
  JournalStep entry{platform::NowNs(), backward, step};
  std::uint64_t check = 0;
  work.push_back({Op::Append, EncodeJournalStep(entry, lastCheck_, check), {}, 0});
  lastCheck_ = check;
  {
    std::lock_guard lock(mutex_);
    for (Work& w : work) queue_.push_back(std::move(w));
  }
  wake_.notify_one();
}

void JournalWriter::Rebase(JournalHeader header) {
  header_ = std::move(header);
  Remove();
}

void JournalWriter::Remove() {
  started_ = false;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back({Op::Remove, {}, {}, 0});
  }
  wake_.notify_one();
}

void JournalWriter::Flush() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

std::optional<std::string> JournalWriter::TakeFailure() {
  std::lock_guard lock(mutex_);
  return std::exchange(failure_, std::nullopt);
}

void JournalWriter::Fail(const std::string& message) {
  std::lock_guard lock(mutex_);
  if (failing_) return;
  failing_ = true;
  failure_ = message;
}

void JournalWriter::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty() && stopping_) return;
    std::vector<Work> batch = std::exchange(queue_, {});
    busy_ = true;
    lock.unlock();
    Do(batch);
    lock.lock();
    busy_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
}

// The base's bytes beside the journal, when the file still holds them; a
// file changed meanwhile leaves none (its journal is then shown only while
// the file is the base again).
platform::FileStatus JournalWriter::KeepBase(const Work& start) {
  const std::string copy = BaseCopyOf(path_);
  std::string bytes;
  if (!platform::ReadWholeFile(start.Source, bytes, std::size_t{1} << 31).Ok()) return platform::RemoveFile(copy);
  ByteHash hash;
  hash.Feed(bytes);
  if (hash.Value() != start.BaseHash) return platform::RemoveFile(copy);
  return platform::WriteWholeFile(copy, bytes);
}

// The writer thread's side: the open journal lives only here.
void JournalWriter::Do(std::vector<Work>& batch) {
  bool wrote = false;
  // After a failure the journal is left as it is (its whole steps still
  // count) until the next start.
  const auto failed = [&](const platform::FileStatus& status) {
    Fail(texts::JournalFailed(DisplayPath(path_), FileErrorReason(status)));
    file_.reset();
  };
  for (Work& work : batch) {
    if (work.What == Op::Remove) {
      file_.reset();
      if (!path_.empty()) {
        platform::RemoveFile(path_);
        platform::RemoveFile(BaseCopyOf(path_));
      }
      continue;
    }
    if (work.What == Op::Start) {
      platform::FileStatus status;
      if (path_.empty()) {
        failed(platform::StatusOf(ENOENT));
        continue;
      }
      const std::string folder = path_.substr(0, path_.rfind('/') + 1);
      status = platform::CreateFolders(folder);
      if (status.Ok()) {
        std::optional<platform::AppendFile> made = platform::AppendFile::Create(path_, status);
        if (made) {
          file_ = std::make_unique<platform::AppendFile>(std::move(*made));
          status = platform::SyncFolder(folder);
        }
      }
      if (status.Ok()) status = KeepBase(work);
      if (!status.Ok()) {
        failed(status);
        continue;
      }
    }
    if (!file_) continue;
    if (const platform::FileStatus status = file_->Write(work.Bytes); !status.Ok()) {
      failed(status);
      continue;
    }
    wrote = true;
  }
  if (wrote && file_) {
    if (const platform::FileStatus status = file_->Sync(); !status.Ok()) {
      failed(status);
    } else {
      std::lock_guard lock(mutex_);
      failing_ = false;
    }
  }
}
