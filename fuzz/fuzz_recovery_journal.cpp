// The recovery journal's reader on any bytes: never crashes, and a replay
// either leaves the book exactly as it was or changes only lines whose bytes
// were what the steps started from. The same steps are then re-encoded and
// must read back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "gradefile/EditHistory.h"
#include "gradefile/GradeBook.h"
#include "gradefile/RecoveryJournal.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

GradeBook Base() {
  GradeBook book;
  const std::string cj = "C0001cj2023040101                80    70    73    EXTRA1";
  std::string file = GradeTexts::MagicLine() + "\r\nC0001tk math\r\nC0001t9  30\r\n" + cj + "\r\n";
  file += "C0001cj2023040102                                  EXTRA1\r\nC0002tk english\r\n";
  Check(book.ReadBytes(file));
  return book;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<JournalContents> read = ReadJournal(bytes);
  if (!read) return 0;

  GradeBook book = Base();
  const std::string before = book.Serialize();
  const std::optional<EditStep> whole = ReplayJournal(read->Steps, book);
  if (!whole) {
    // Refused: not a byte changed.
    Check(book.Serialize() == before);
  } else {
    // Accepted: its one step takes the book back to the base and forward again.
    const std::string after = book.Serialize();
    EditHistory history;
    history.Push(*whole);
    history.Undo(book);
    Check(book.Serialize() == before);
    history.Redo(book);
    Check(book.Serialize() == after);
  }

  // What was read encodes to a journal that reads back the same steps.
  std::uint64_t check = 0;
  std::string again = EncodeJournalStart(read->Header, check);
  for (const JournalStep& step : read->Steps) again += EncodeJournalStep(step, check, check);
  const std::optional<JournalContents> reread = ReadJournal(again);
  Check(reread && !reread->Torn && reread->Steps.size() == read->Steps.size());
  Check(reread->Header.BaseHash == read->Header.BaseHash && reread->Header.Path == read->Header.Path);
  return 0;
}
