#include "gradefile/RecoveryJournal.h"

#include <algorithm>
#include <ctime>
#include <cstdio>

#include "platform/Folders.h"
#include "platform/StateFiles.h"

namespace {

constexpr std::string_view kMagic = "GSJOURNAL1\n";
// No frame is larger than a whole book's worth of lines could make it; the
// bound only keeps a foreign file from asking for absurd lengths.
constexpr std::uint64_t kMaxFrame = std::uint64_t{1} << 32;

void PutU64(std::string& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}
void PutU32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}
void PutBytes(std::string& out, std::string_view bytes) {
  PutU32(out, static_cast<std::uint32_t>(bytes.size()));
  out.append(bytes);
}

// Reads what Put* wrote; once anything is missing every later read fails too.
class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : rest_(bytes) {}
  bool Ok() const { return ok_; }
  bool AtEnd() const { return rest_.empty(); }
  std::uint64_t U64() { return Number(8); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Number(4)); }
  std::uint8_t U8() { return static_cast<std::uint8_t>(Number(1)); }
  std::string_view Take(std::uint64_t size) {
    if (!ok_ || size > rest_.size()) {
      ok_ = false;
      return {};
    }
    const std::string_view taken = rest_.substr(0, static_cast<std::size_t>(size));
    rest_.remove_prefix(static_cast<std::size_t>(size));
    return taken;
  }
  std::string Bytes() { return std::string(Take(U32())); }

 private:
  std::uint64_t Number(int size) {
    const std::string_view bytes = Take(static_cast<std::uint64_t>(size));
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
  }
  std::string_view rest_;
  bool ok_ = true;
};

std::uint64_t CheckOf(std::uint64_t previous, std::string_view payload) {
  std::string seed;
  PutU64(seed, previous);
  ByteHash hash;
  hash.Feed(seed);
  hash.Feed(payload);
  return hash.Value();
}

std::string Frame(std::string_view payload, std::uint64_t previous, std::uint64_t& check) {
  check = CheckOf(previous, payload);
  std::string frame;
  frame.reserve(payload.size() + 12);
  PutU32(frame, static_cast<std::uint32_t>(payload.size()));
  frame.append(payload);
  PutU64(frame, check);
  return frame;
}

// The next frame's payload when its check follows from `previous`.
std::optional<std::string_view> NextFrame(Cursor& cursor, std::uint64_t previous, std::uint64_t& check) {
  const std::uint32_t size = cursor.U32();
  const std::string_view payload = cursor.Take(size);
  check = cursor.U64();
  if (!cursor.Ok() || size > kMaxFrame || CheckOf(previous, payload) != check) return std::nullopt;
  return payload;
}

std::optional<JournalStep> DecodeStep(std::string_view payload) {
  Cursor in(payload);
  JournalStep step;
  step.TimeNs = static_cast<std::int64_t>(in.U64());
  step.Backward = in.U8() != 0;
  const std::uint32_t records = in.U32();
  for (std::uint32_t i = 0; i < records && in.Ok(); ++i) {
    RecordChange change;
    change.LineIndex = static_cast<std::size_t>(in.U64());
    change.Before = in.Bytes();
    change.After = in.Bytes();
    if (in.Ok()) step.Step.Records.push_back(std::move(change));
  }
  const std::uint32_t heads = in.U32();
  for (std::uint32_t i = 0; i < heads && in.Ok(); ++i) {
    HeadLineChange change;
    change.Index = static_cast<std::size_t>(in.U64());
    const std::uint8_t flags = in.U8();
    change.Added = (flags & 1) != 0;
    change.Removed = (flags & 2) != 0;
    change.Before = in.Bytes();
    change.After = in.Bytes();
    if (in.Ok()) step.Step.Heads.push_back(std::move(change));
  }
  if (!in.Ok() || !in.AtEnd()) return std::nullopt;
  return step;
}

}  // namespace

void ByteHash::Feed(std::string_view bytes) {
  std::uint64_t h = value_;
  for (const char c : bytes) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ULL;
  }
  value_ = h;
}

std::optional<std::uint64_t> HashOfFile(const std::string& path, platform::FileStatus& status) {
  std::optional<platform::InputFile> file = platform::InputFile::Open(path, status);
  if (!file) return std::nullopt;
  ByteHash hash;
  std::string chunk(1 << 18, '\0');
  for (;;) {
    const long n = file->Read(chunk.data(), chunk.size(), status);
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    hash.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(n)));
  }
  return hash.Value();
}

std::uint64_t HashOfBook(const GradeBook& book) {
  ByteHash hash;
  hash.Feed(book.Serialize());
  hash.Feed(book.Trailer);
  return hash.Value();
}

std::string EncodeJournalStart(const JournalHeader& header, std::uint64_t& check) {
  std::string payload;
  PutBytes(payload, header.Path);
  PutU64(payload, header.File.Device);
  PutU64(payload, header.File.Inode);
  PutU64(payload, static_cast<std::uint64_t>(header.File.Size));
  PutU64(payload, static_cast<std::uint64_t>(header.File.ModifiedNs));
  PutU64(payload, header.BaseHash);
  return std::string(kMagic) + Frame(payload, 0, check);
}

std::string EncodeJournalStep(const JournalStep& step, std::uint64_t previous, std::uint64_t& check) {
  std::string payload;
  PutU64(payload, static_cast<std::uint64_t>(step.TimeNs));
  payload.push_back(step.Backward ? 1 : 0);
  PutU32(payload, static_cast<std::uint32_t>(step.Step.Records.size()));
  for (const RecordChange& change : step.Step.Records) {
    PutU64(payload, change.LineIndex);
    PutBytes(payload, change.Before);
    PutBytes(payload, change.After);
  }
  PutU32(payload, static_cast<std::uint32_t>(step.Step.Heads.size()));
  for (const HeadLineChange& change : step.Step.Heads) {
    PutU64(payload, change.Index);
    payload.push_back(static_cast<char>((change.Added ? 1 : 0) | (change.Removed ? 2 : 0)));
    PutBytes(payload, change.Before);
    PutBytes(payload, change.After);
  }
  return Frame(payload, previous, check);
}

std::optional<JournalContents> ReadJournal(std::string_view bytes) {
  if (bytes.substr(0, kMagic.size()) != kMagic) return std::nullopt;
  Cursor cursor(bytes.substr(kMagic.size()));
  std::uint64_t check = 0;
  const std::optional<std::string_view> head = NextFrame(cursor, 0, check);
  if (!head) return std::nullopt;
  JournalContents contents;
  Cursor in(*head);
  contents.Header.Path = in.Bytes();
  contents.Header.File.Device = in.U64();
  contents.Header.File.Inode = in.U64();
  contents.Header.File.Size = static_cast<std::int64_t>(in.U64());
  contents.Header.File.ModifiedNs = static_cast<std::int64_t>(in.U64());
  contents.Header.BaseHash = in.U64();
  if (!in.Ok() || !in.AtEnd()) return std::nullopt;
  contents.Header.File.Regular = true;
  while (!cursor.AtEnd()) {
    const std::uint64_t previous = check;
    const std::optional<std::string_view> payload = NextFrame(cursor, previous, check);
    std::optional<JournalStep> step;
    if (payload) step = DecodeStep(*payload);
    if (!step) {
      contents.Torn = true;
      break;
    }
    contents.Steps.push_back(std::move(*step));
  }
  return contents;
}

std::optional<JournalContents> ReadJournalFile(const std::string& path) {
  std::string bytes;
  // A journal holds at most what a session's steps changed: even a long
  // session of whole-book recomputes stays far below this.
  if (!platform::ReadWholeFile(path, bytes, std::size_t{1} << 31).Ok()) return std::nullopt;
  return ReadJournal(bytes);
}

std::optional<EditStep> ReplayJournal(const std::vector<JournalStep>& steps, GradeBook& book) {
  Lines heads = book.HeadLines;
  Lines grades = book.GradeLines;
  EditStep whole;
  for (const JournalStep& played : steps) {
    if (!PlayStep(heads, grades, played.Step, played.Backward, true)) return std::nullopt;
    const EditStep forward = played.Backward ? Reversed(played.Step) : played.Step;
    whole.Add(forward.Records);
    // Header lines move when one is added or taken out, so their changes are
    // kept in order rather than folded together by index.
    whole.Heads.insert(whole.Heads.end(), forward.Heads.begin(), forward.Heads.end());
  }
  book.HeadLines = std::move(heads);
  book.GradeLines = std::move(grades);
  book.Modified = true;
  return whole;
}

std::string JournalFolder() {
  const std::string state = platform::StateFolder();
  return state.empty() ? std::string() : state + "journals/";
}

std::string JournalPathFor(const std::string& path) {
  const std::string folder = JournalFolder();
  if (folder.empty()) return {};
  ByteHash hash;
  hash.Feed(path);
  char key[17];
  std::snprintf(key, sizeof key, "%016llx", static_cast<unsigned long long>(hash.Value()));
  return folder + key + ".journal";
}

std::string NewJournalPathFor(const std::string& path) {
  const std::string first = JournalPathFor(path);
  if (first.empty() || !platform::Identify(first)) return first;
  const std::string stem = first.substr(0, first.size() - std::string_view(".journal").size());
  for (int n = 2;; ++n) {
    const std::string name = stem + '-' + std::to_string(n) + ".journal";
    if (!platform::Identify(name)) return name;
  }
}

std::vector<std::string> JournalsOf(const std::string& path) {
  const std::string first = JournalPathFor(path);
  std::vector<std::string> journals;
  if (first.empty()) return journals;
  const std::string stem = first.substr(first.rfind('/') + 1, 16);
  for (const std::string& file : AllJournalFiles()) {
    const std::string name = file.substr(file.rfind('/') + 1);
    if (name.starts_with(stem) && (name[16] == '.' || name[16] == '-')) journals.push_back(file);
  }
  return journals;
}

std::string BaseCopyOf(const std::string& journal) { return journal + ".base"; }

std::optional<std::string> ReadBaseCopy(const std::string& journal, std::uint64_t baseHash) {
  std::string bytes;
  if (!platform::ReadWholeFile(BaseCopyOf(journal), bytes, std::size_t{1} << 31).Ok()) return std::nullopt;
  ByteHash hash;
  hash.Feed(bytes);
  if (hash.Value() != baseHash) return std::nullopt;
  return bytes;
}

std::vector<std::string> AllJournalFiles() {
  const std::string folder = JournalFolder();
  std::vector<std::string> files;
  if (folder.empty()) return files;
  for (const std::string& name : platform::ListFolder(folder))
    if (name.size() > 8 && name.ends_with(".journal")) files.push_back(folder + name);
  std::sort(files.begin(), files.end());
  return files;
}

std::string LocalTimeText(std::int64_t ns, const char* format) {
  const std::time_t seconds = static_cast<std::time_t>(ns / 1000000000LL);
  std::tm local {};
  localtime_r(&seconds, &local);
  char text[64];
  if (std::strftime(text, sizeof text, format, &local) == 0) return {};
  return text;
}
