#include "app/FileRecovery.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <utility>

#include "app/DialogSeam.h"
#include "gradefile/FileMessages.h"
#include "gradefile/RecoveryJournal.h"
#include "gradefile/Versions.h"
#include "printing/qt/QtText.h"
#include "text/RecoveryTexts.h"

namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// A journal left by a session that ended without closing: its steps, and
// the journal file.
struct LeftJournal {
  std::string File;
  JournalContents Contents;
  std::int64_t Last() const { return Contents.Steps.empty() ? 0 : Contents.Steps.back().TimeNs; }
};

// The newest journal with steps left for the file at `resolved`; journals
// without a step are removed on the way.
std::optional<LeftJournal> NewestLeftFor(const std::string& resolved) {
  std::optional<LeftJournal> newest;
  for (const std::string& file : JournalsOf(resolved)) {
    std::optional<JournalContents> contents = ReadJournalFile(file);
    if (!contents || contents->Header.Path != resolved) continue;
    if (contents->Steps.empty()) {
      platform::RemoveFile(file);
      platform::RemoveFile(BaseCopyOf(file));
      continue;
    }
    LeftJournal left{file, std::move(*contents)};
    if (!newest || left.Last() > newest->Last()) newest = std::move(left);
  }
  return newest;
}

void RemoveJournal(const std::string& file) {
  platform::RemoveFile(file);
  platform::RemoveFile(BaseCopyOf(file));
}

}  // namespace

FileRecovery::FileRecovery(QWidget* window, DialogSeam& dialogs) : window_(window), dialogs_(dialogs) {
  // The writer thread finds a failure after the step has gone on; it is
  // shown within a second, once.
  if (window_ != nullptr) {
    auto* timer = new QTimer(window_);
    QObject::connect(timer, &QTimer::timeout, window_, [this] { ShowFailures(); });
    timer->start(1000);
  }
}

// A window destroyed without closing (the program ends some other way)
// leaves its journal: the next start offers it.
FileRecovery::~FileRecovery() = default;

FileRecovery::Access FileRecovery::Claim(const std::string& path) {
  Unclaim();
  platform::FileLock::Outcome outcome;
  platform::FileStatus status;
  // The file this window edits already: its lock is this window's.
  if (lock_) {
    const std::optional<platform::FileIdentity> now = platform::Identify(path);
    if (now && now->SameFile(lockedFile_)) {
      claimedSame_ = true;
      return Access::Edit;
    }
  }
  claimed_ = TakeEditLock(path, outcome, status);
  switch (outcome) {
    case platform::FileLock::Outcome::Taken: return Access::Edit;
    case platform::FileLock::Outcome::Failed:
      // A missing file is the open's to report; a state folder that cannot
      // be written costs only the check.
      if (platform::Identify(path)) Tell(texts::LockFailed(DisplayPath(path), FileErrorReason(status)));
      return Access::Edit;
    case platform::FileLock::Outcome::HeldElsewhere: break;
  }
  if (dialogs_.AskYesNo(window_, Text(texts::AlreadyOpen(DisplayPath(path)))) != Answer::Yes) return Access::Refused;
  claimedReadOnly_ = true;
  return Access::ReadOnly;
}

void FileRecovery::Unclaim() {
  claimed_.reset();
  claimedReadOnly_ = false;
  claimedSame_ = false;
}

bool FileRecovery::Opened(const std::string& path, GradeBook& book, EditHistory& history, std::string* copyTarget) {
  // The file open before is given up (saved, or its changes let go): its
  // journal goes with it.
  if (journal_) {
    journal_->Remove();
    journal_.reset();
  }
  if (!claimedSame_) lock_ = std::exchange(claimed_, std::nullopt);
  readOnly_ = claimedReadOnly_;
  Unclaim();
  if (const std::optional<platform::FileIdentity> id = platform::Identify(path)) lockedFile_ = *id;
  history.Observe([this](const EditStep& step, bool backward) {
    if (journal_) journal_->Append(step, backward);
  });
  // Read only, the file's journal is the other window's, live.
  if (readOnly_) return false;

  const std::string resolved = platform::ResolvedPath(path);
  platform::FileStatus status;
  const std::optional<std::uint64_t> base = HashOfFile(path, status);
  if (!base) {
    Tell(texts::JournalFailed(DisplayPath(path), FileErrorReason(status)));
    return false;
  }
  std::optional<LeftJournal> left = NewestLeftFor(resolved);
  if (!left) {
    StartJournal(resolved, book, *base);
    return false;
  }
  const std::size_t changes = left->Contents.Steps.size();
  if (left->Contents.Header.BaseHash != *base) {
    StartJournal(resolved, book, *base);
    const std::optional<std::string> baseBytes = ReadBaseCopy(left->File, left->Contents.Header.BaseHash);
    if (!baseBytes) {
      dialogs_.Information(window_, Text(texts::FileChangedNoBase(DisplayPath(path), changes)));
      return false;
    }
    if (dialogs_.AskYesNo(window_, Text(texts::FileChangedSinceJournal(DisplayPath(path), changes))) != Answer::Yes)
      return false;
    GradeBook copy;
    std::optional<EditStep> whole;
    if (copy.ReadBytes(*baseBytes)) whole = ReplayJournal(left->Contents.Steps, copy);
    if (!whole) {
      dialogs_.Information(window_, Text(texts::JournalDoesNotFit(DisplayPath(path))));
      return false;
    }
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string suggested = hasExtension ? path.substr(0, dot) + std::string(texts::kRecoveredCopySuffix) + path.substr(dot)
                                               : path + std::string(texts::kRecoveredCopySuffix);
    const std::optional<QString> chosen = dialogs_.SaveFileName(window_, PathToQString(suggested));
    if (!chosen || chosen->isEmpty()) return false;
    // The copy is not this file: its journal and lock are not this file's.
    journal_->Remove();
    journal_.reset();
    lock_.reset();
    // Put back in the copy, the journal's steps are one step to undo and
    // the journal is kept until the copy is saved.
    copy.Modified = true;
    book = std::move(copy);
    history.Push(*whole);
    *copyTarget = PathBytes(*chosen);
    return true;
  }

  int choice = 0;  // 恢复
  if (pendingRecover_ != resolved) {
    const QStringList buttons{Text(std::string(texts::kRecover)), Text(std::string(texts::kDiscard)),
                              Text(std::string(texts::kLater))};
    choice = dialogs_.Choose(window_, Text(texts::RecoverQuestion(changes, ClockTime(left->Last()))), buttons, 0);
  }
  pendingRecover_.clear();
  StartJournal(resolved, book, *base);
  if (choice == 1) {
    RemoveJournal(left->File);
    return false;
  }
  if (choice != 0) return false;
  const std::optional<EditStep> whole = ReplayJournal(left->Contents.Steps, book);
  if (!whole) {
    dialogs_.Information(window_, Text(texts::JournalDoesNotFit(DisplayPath(path))));
    return false;
  }
  history.Push(*whole);  // into this session's journal, as one step
  journal_->Flush();
  RemoveJournal(left->File);
  return true;
}

std::optional<std::string> FileRecovery::OfferLeftJournals() {
  std::vector<LeftJournal> offered;
  for (const std::string& file : AllJournalFiles()) {
    std::optional<JournalContents> contents = ReadJournalFile(file);
    if (!contents || contents->Steps.empty()) continue;
    // A file another window edits has a live journal, not a left one.
    platform::FileLock::Outcome outcome;
    platform::FileStatus status;
    const std::optional<platform::FileLock> free = TakeEditLock(contents->Header.Path, outcome, status);
    if (outcome == platform::FileLock::Outcome::HeldElsewhere) continue;
    offered.push_back({file, std::move(*contents)});
  }
  if (offered.empty()) return std::nullopt;
  std::sort(offered.begin(), offered.end(), [](const LeftJournal& a, const LeftJournal& b) { return a.Last() > b.Last(); });
  std::string lines;
  for (const LeftJournal& left : offered)
    lines += texts::LeftJournalLine(DisplayPath(left.Contents.Header.Path), left.Contents.Steps.size(),
                                    ClockTime(left.Last())) + "\n";
  const QStringList buttons{Text(std::string(texts::kRecover)), Text(std::string(texts::kDiscard)),
                            Text(std::string(texts::kLater))};
  const int choice = dialogs_.Choose(window_, Text(texts::LeftJournals(lines)), buttons, 0);
  if (choice == 1) {
    for (const LeftJournal& left : offered) RemoveJournal(left.File);
    return std::nullopt;
  }
  if (choice != 0) return std::nullopt;
  // The teacher has said 恢复 already: the file's own question is not asked again.
  pendingRecover_ = offered.front().Contents.Header.Path;
  return pendingRecover_;
}

void FileRecovery::BeforeSave(const std::string& path) {
  if (const std::string notKept = KeepVersion(path); !notKept.empty()) Tell(notKept);
}

void FileRecovery::Saved(const std::string& path, const GradeBook& book) {
  const std::optional<platform::FileIdentity> id = platform::Identify(path);
  if (!id) return;
  // A save by renaming gives the file a new inode: the lock follows it.
  if (!lock_ || !id->SameFile(lockedFile_) || readOnly_) {
    platform::FileLock::Outcome outcome;
    platform::FileStatus status;
    std::optional<platform::FileLock> lock = TakeEditLock(path, outcome, status);
    if (outcome != platform::FileLock::Outcome::HeldElsewhere) {
      lock_ = std::move(lock);
      readOnly_ = false;
    }
  }
  lockedFile_ = *id;
  if (readOnly_) return;
  const std::string resolved = platform::ResolvedPath(path);
  JournalHeader header{resolved, *id, HashOfBook(book)};
  if (journal_ && journal_->File() == resolved) {
    journal_->Rebase(std::move(header));
  } else {
    if (journal_) journal_->Remove();
    journal_ = std::make_unique<JournalWriter>(NewJournalPathFor(resolved), std::move(header));
  }
  ShowFailures();
}

void FileRecovery::Closed() {
  if (journal_) {
    journal_->Remove();
    journal_.reset();
  }
  lock_.reset();
}

void FileRecovery::ShowFailures() {
  if (!journal_) return;
  if (std::optional<std::string> failure = journal_->TakeFailure()) Tell(*failure);
}

void FileRecovery::Flush() {
  if (journal_) journal_->Flush();
}

void FileRecovery::StartJournal(const std::string& resolved, const GradeBook& book, std::uint64_t baseHash) {
  (void)book;
  const std::optional<platform::FileIdentity> id = platform::Identify(resolved);
  journal_ = std::make_unique<JournalWriter>(NewJournalPathFor(resolved),
                                             JournalHeader{resolved, id.value_or(platform::FileIdentity{}), baseHash});
}

void FileRecovery::Tell(const std::string& message) {
  // Said once: the same trouble again is no news.
  if (std::find(toldOnce_.begin(), toldOnce_.end(), message) != toldOnce_.end()) return;
  toldOnce_.push_back(message);
  dialogs_.Error(window_, Text(message));
}
