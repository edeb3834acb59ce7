#pragma once
// One writer at a time. Every read-modify-write of a grade file holds an
// exclusive flock on the file itself from the check that nobody else wrote
// it to the end of its own write; the system lets go of it when the process
// ends, however it ends. A save that replaces the file puts a new file under
// the name, so a lock is only good while the name still names the locked
// file: the taker looks again after locking and locks the new file instead.
//
// The lock is short, the length of one write: an editing session holds none.
#include <chrono>
#include <optional>
#include <string>

#include "platform/Files.h"

namespace platform {

class WriteLock {
 public:
  // Locks the file `path` names, waiting up to `wait` for another writer to
  // finish. A path that names no file yet gives a lock that holds nothing
  // (nobody else's version can be lost). Busy when another writer held the
  // file all that time; `holder` then gets the other program's process id
  // and name where the system tells them, else is emptied.
  static std::optional<WriteLock> Take(const std::string& path, std::chrono::milliseconds wait,
                                       FileStatus& status, std::string* holder = nullptr);

  // A lock that holds nothing.
  static WriteLock None() { return WriteLock(-1); }

  WriteLock(WriteLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  WriteLock& operator=(WriteLock&& other) noexcept;
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;
  ~WriteLock();

  // Lets go of the file before the lock's end of life.
  void Release();

 private:
  explicit WriteLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace platform
