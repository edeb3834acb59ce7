#pragma once
// What the user is told about the recovery journal, the versions a save
// replaced and the lock of an open file, as UTF-8 display text. A message
// that names a file gets the path as DisplayPath shows it.
#include <cstddef>
#include <string>
#include <string_view>

namespace texts {

inline std::string JournalFailed(std::string_view path, std::string_view reason) {
  return "无法写入恢复记录 " + std::string(path) + ": " + std::string(reason) +
         "。编辑和存储照常进行，但程序意外退出时，尚未存储的修改将无法恢复。";
}

inline std::string VersionNotKept(std::string_view path, std::string_view reason) {
  return "无法保留 " + std::string(path) + " 被替换前的版本: " + std::string(reason) + "。";
}

inline std::string RecoverQuestion(std::size_t changes, std::string_view clock) {
  return "上次编辑没有正常结束，有 " + std::to_string(changes) + " 处修改没有存储（最后一次修改于 " +
         std::string(clock) + "）。要恢复这些修改吗？";
}

inline constexpr std::string_view kRecover = "恢复";
inline constexpr std::string_view kDiscard = "放弃";
inline constexpr std::string_view kLater = "以后再说";

inline std::string FileChangedSinceJournal(std::string_view path, std::size_t changes) {
  return "上次编辑 " + std::string(path) + " 没有正常结束，有 " + std::to_string(changes) +
         " 处修改没有存储，但文件在那之后已被改动，这些修改不能再用到文件上。"
         "要把恢复的内容作为未存储的副本打开吗？（可以用“另存为”保存）";
}

inline std::string JournalDoesNotFit(std::string_view path) {
  return "恢复记录与文件 " + std::string(path) + " 的内容对不上，无法恢复。";
}

inline std::string AlreadyOpen(std::string_view path) {
  return std::string(path) + " 已经在另一个窗口中打开编辑。要以只读方式打开吗？";
}

inline std::string LockFailed(std::string_view path, std::string_view reason) {
  return "无法确认 " + std::string(path) + " 是否已在另一个窗口中打开: " + std::string(reason) + "。";
}

inline std::string FileChangedNoBase(std::string_view path, std::size_t changes) {
  return "上次编辑 " + std::string(path) + " 没有正常结束，有 " + std::to_string(changes) +
         " 处修改没有存储，但文件在那之后已被改动，当时的内容也找不到了，这些修改无法恢复。";
}

// At a start without a file: one line per file, then the question.
inline std::string LeftJournalLine(std::string_view path, std::size_t changes, std::string_view clock) {
  return std::string(path) + "（" + std::to_string(changes) + " 处修改，最后一次修改于 " + std::string(clock) + "）";
}
inline std::string LeftJournals(std::string_view lines) {
  return "上次编辑以下文件没有正常结束，有修改没有存储：\n" + std::string(lines) +
         "\n要打开第一个文件恢复这些修改吗？";
}

inline constexpr std::string_view kReadOnlySave =
    "这个文件以只读方式打开（它正在另一个窗口中编辑），不能存储到它上面。请用“另存为”存到别的文件。";
inline constexpr std::string_view kReadOnlyMark = "（只读）";
inline constexpr std::string_view kRecoveredCopySuffix = "-恢复";

// ---- the versions a save replaced, in the window ------------------------------------
inline constexpr std::string_view kNoVersions = "这个文件还没有以前的版本。以前的版本在每次存储替换文件时保留。";
inline constexpr std::string_view kVersionDoesNotFit =
    "这个版本的学生记录与现在的文件不同，不能作为一步修改打开。可以用 gradesheet-cli restore 把它整个恢复。";

// ---- the batch tool's versions and restore --------------------------------------
inline std::string NoSuchVersion(std::string_view path, int number, std::size_t count) {
  return std::string(path) + " 没有第 " + std::to_string(number) + " 个以前的版本（共有 " +
         std::to_string(count) + " 个）";
}
inline std::string RestoreRefusedInUse(std::string_view path) {
  return std::string(path) + " 正在一个窗口中编辑，未恢复。请先关闭该窗口。";
}
inline std::string_view RestoreNotDone() { return "未恢复。"; }
inline std::string Restored(std::string_view path, int number) {
  return "已把第 " + std::to_string(number) + " 个以前的版本恢复到 " + std::string(path) +
         "，原来的内容已作为最新的版本保留。";
}

}  // namespace texts
