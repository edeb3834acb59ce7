// The rollback journal's reader on arbitrary bytes: a journal reads only
// when it is exactly what the writer writes for what it says it holds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/RewriteJournal.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const auto journal = platform::ReadJournal(bytes)) {
    Check(platform::JournalBytes(journal->Device, journal->Inode, journal->OldBytes) == bytes);
  }
  // What the writer writes for these bytes reads back as them.
  const auto written = platform::JournalBytes(size, size * 31, bytes);
  const auto read = platform::ReadJournal(written);
  Check(read && read->OldBytes == bytes && read->Device == size && read->Inode == size * 31);
  // And cut short, it is torn.
  if (size > 0) Check(!platform::ReadJournal(std::string_view(written).substr(0, written.size() - 1 - size % 7)));
  return 0;
}
