#include "gradefile/Versions.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <unordered_map>

#include "gradefile/FileMessages.h"
#include "gradefile/GradeBook.h"
#include "gradefile/Record.h"
#include "gradefile/RecoveryJournal.h"
#include "platform/Folders.h"
#include "text/RecoveryTexts.h"
#include "text/Texts.h"

namespace {

std::string VersionsRoot() {
  const std::string state = platform::StateFolder();
  return state.empty() ? std::string() : state + "versions/";
}

// The folder of one file's versions; the key is its journal's.
std::string FolderOf(const std::string& file) {
  const std::string root = VersionsRoot();
  if (root.empty()) return {};
  const std::string resolved = platform::ResolvedPath(file);
  std::string journal = JournalPathFor(resolved);
  const std::size_t slash = journal.rfind('/');
  const std::size_t dot = journal.rfind('.');
  return root + journal.substr(slash + 1, dot - slash - 1) + '/';
}

std::optional<KeptVersion> ParseName(const std::string& folder, const std::string& name) {
  long long kept = 0, written = 0;
  int used = 0;
  if (std::sscanf(name.c_str(), "%lld-%lld.version%n", &kept, &written, &used) != 2 ||
      static_cast<std::size_t>(used) != name.size())
    return std::nullopt;
  KeptVersion version;
  version.Path = folder + name;
  version.KeptNs = kept;
  version.WrittenNs = written;
  const std::optional<platform::FileIdentity> id = platform::Identify(version.Path);
  if (!id || !id->Regular) return std::nullopt;
  version.Size = id->Size;
  return version;
}

std::vector<KeptVersion> VersionsIn(const std::string& folder) {
  std::vector<KeptVersion> versions;
  for (const std::string& name : platform::ListFolder(folder))
    if (std::optional<KeptVersion> v = ParseName(folder, name)) versions.push_back(std::move(*v));
  std::sort(versions.begin(), versions.end(),
            [](const KeptVersion& a, const KeptVersion& b) { return a.KeptNs > b.KeptNs; });
  return versions;
}

}  // namespace

std::vector<KeptVersion> ListVersions(const std::string& file) {
  const std::string folder = FolderOf(file);
  return folder.empty() ? std::vector<KeptVersion>{} : VersionsIn(folder);
}

std::string KeepVersion(const std::string& file, const VersionLimits& limits) {
  platform::FileStatus status;
  const std::optional<platform::FileIdentity> id = platform::Identify(file, &status);
  // Nothing there yet, or no file (a folder, a device): nothing a save
  // replaces; the save itself says what is wrong.
  if (!id || !id->Regular) return {};
  const std::string folder = FolderOf(file);
  const auto failed = [&](const platform::FileStatus& why) {
    return texts::VersionNotKept(DisplayPath(file), FileErrorReason(why));
  };
  if (folder.empty()) return failed(platform::StatusOf(ENOENT));
  if (id->Size > limits.TotalBytes) return failed(platform::FileStatus{platform::FileError::TooLarge, 0});
  std::string bytes;
  status = platform::ReadWholeFile(file, bytes, static_cast<std::size_t>(limits.TotalBytes));
  if (!status.Ok()) return failed(status);
  const std::vector<KeptVersion> versions = VersionsIn(folder);
  if (!versions.empty() && versions.front().Size == static_cast<std::int64_t>(bytes.size())) {
    std::string newest;
    if (platform::ReadWholeFile(versions.front().Path, newest, bytes.size() + 1).Ok() && newest == bytes)
      return {};
  }
  status = platform::CreateFolders(folder);
  if (!status.Ok()) return failed(status);
  if (!platform::Identify(folder + "path")) platform::WriteWholeFile(folder + "path", platform::ResolvedPath(file) + "\n");
  // Later than every version there: the clock may have been set back.
  std::int64_t kept = platform::NowNs();
  if (!versions.empty()) kept = std::max(kept, versions.front().KeptNs + 1);
  char name[64];
  std::snprintf(name, sizeof name, "%019" PRId64 "-%" PRId64 ".version", kept, id->ModifiedNs);
  status = platform::WriteWholeFile(folder + name, bytes);
  if (!status.Ok()) return failed(status);
  PruneVersions(limits);
  return {};
}

void PruneVersions(const VersionLimits& limits) {
  const std::string root = VersionsRoot();
  if (root.empty()) return;
  std::vector<KeptVersion> all;
  for (const std::string& key : platform::ListFolder(root)) {
    std::vector<KeptVersion> versions = VersionsIn(root + key + '/');
    for (std::size_t i = 0; i < versions.size(); ++i) {
      if (i < limits.PerFile)
        all.push_back(std::move(versions[i]));
      else
        platform::RemoveFile(versions[i].Path);
    }
  }
  std::sort(all.begin(), all.end(), [](const KeptVersion& a, const KeptVersion& b) { return a.KeptNs < b.KeptNs; });
  std::int64_t total = 0;
  for (const KeptVersion& v : all) total += v.Size;
  for (const KeptVersion& v : all) {
    if (total <= limits.TotalBytes) break;
    if (platform::RemoveFile(v.Path).Ok()) total -= v.Size;
  }
}

RestoreResult RestoreVersion(const std::string& file, int number, const VersionLimits& limits) {
  RestoreResult result;
  const std::string shown = DisplayPath(file);
  const std::vector<KeptVersion> versions = ListVersions(file);
  if (number < 1 || static_cast<std::size_t>(number) > versions.size()) {
    result.Message = texts::NoSuchVersion(shown, number, versions.size());
    return result;
  }
  platform::FileLock::Outcome outcome;
  platform::FileStatus status;
  const std::optional<platform::FileLock> lock = TakeEditLock(file, outcome, status);
  if (outcome == platform::FileLock::Outcome::HeldElsewhere) {
    result.Message = texts::RestoreRefusedInUse(shown);
    return result;
  }
  std::string bytes;
  const KeptVersion& chosen = versions[static_cast<std::size_t>(number - 1)];
  status = platform::ReadWholeFile(chosen.Path, bytes, static_cast<std::size_t>(limits.TotalBytes));
  if (!status.Ok()) {
    result.Message = DisplayPath(chosen.Path) + std::string(texts::kReadFailed) + FileErrorReason(status);
    return result;
  }
  if (platform::Identify(file)) {
    const std::string notKept = KeepVersion(file, limits);
    if (!notKept.empty()) {
      result.Message = notKept + std::string(texts::RestoreNotDone());
      return result;
    }
  }
  status = platform::WriteWholeFile(file, bytes);
  if (!status.Ok()) {
    result.Message = shown + std::string(texts::kSaveFailed) + FileErrorReason(status);
    return result;
  }
  result.Ok = true;
  result.Message = texts::Restored(shown, number);
  return result;
}

std::size_t DifferingRecords(const GradeBook& version, const GradeBook& current) {
  // A student is a course key and a student number; a name seen twice in
  // one book is matched in order.
  const auto who = [](const std::string& line) {
    return std::string(KeyOf(line)) + std::string(Field(line, record::Number));
  };
  std::unordered_multimap<std::string, const std::string*> left;
  left.reserve(version.GradeLines.size());
  for (const std::string& line : version.GradeLines) left.emplace(who(line), &line);
  std::size_t differing = 0;
  for (const std::string& line : current.GradeLines) {
    const auto it = left.find(who(line));
    if (it == left.end()) {
      ++differing;
      continue;
    }
    if (*it->second != line) ++differing;
    left.erase(it);
  }
  return differing + left.size();
}

std::optional<EditStep> StepToVersion(const GradeBook& current, const GradeBook& version) {
  if (current.GradeLines.size() != version.GradeLines.size()) return std::nullopt;
  EditStep step;
  for (std::size_t i = 0; i < current.GradeLines.size(); ++i) {
    const std::string& now = current.GradeLines[i];
    const std::string& then = version.GradeLines[i];
    // The same student in the same place: a record is only ever rewritten.
    if (KeyOf(now) != KeyOf(then) || Field(now, record::Number) != Field(then, record::Number)) return std::nullopt;
    if (now != then) step.Records.push_back(RecordChange{i, now, then});
  }
  const Lines& from = current.HeadLines;
  const Lines& to = version.HeadLines;
  if (from.size() == to.size()) {
    for (std::size_t i = 0; i < from.size(); ++i)
      if (from[i] != to[i]) step.Heads.push_back(HeadLineChange{i, from[i], to[i], false, false});
  } else {
    // Taken out from the back, then the version's put in from the front:
    // undone in reverse, each index is where the line stood.
    for (std::size_t i = from.size(); i-- > 0;) step.Heads.push_back(HeadLineChange{i, from[i], {}, false, true});
    for (std::size_t i = 0; i < to.size(); ++i) step.Heads.push_back(HeadLineChange{i, {}, to[i], true, false});
  }
  return step;
}

std::string IsoTime(std::int64_t ns) {
  // ISO 8601's extended form has the offset as +08:00, strftime's +0800.
  std::string iso = LocalTimeText(ns, "%Y-%m-%dT%H:%M:%S%z");
  if (iso.size() >= 5) iso.insert(iso.size() - 2, ":");
  return iso;
}

std::string EditLockPathFor(const platform::FileIdentity& file) {
  const std::string state = platform::StateFolder();
  if (state.empty()) return {};
  return state + "locks/" + std::to_string(file.Device) + '-' + std::to_string(file.Inode) + ".lock";
}

std::optional<platform::FileLock> TakeEditLock(const std::string& path, platform::FileLock::Outcome& outcome,
                                               platform::FileStatus& status) {
  outcome = platform::FileLock::Outcome::Failed;
  const std::optional<platform::FileIdentity> id = platform::Identify(path, &status);
  if (!id) return std::nullopt;
  const std::string lockPath = EditLockPathFor(*id);
  if (lockPath.empty()) {
    status = platform::StatusOf(ENOENT);
    return std::nullopt;
  }
  status = platform::CreateFolders(lockPath.substr(0, lockPath.rfind('/') + 1));
  if (!status.Ok()) return std::nullopt;
  return platform::FileLock::TryTake(lockPath, outcome, status);
}
