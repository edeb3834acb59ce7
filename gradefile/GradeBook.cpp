#include "gradefile/GradeBook.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "gradefile/FileMessages.h"
#include "gradefile/Record.h"
#include "grading/Numbers.h"
#include "grading/Weighting.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/Texts.h"

namespace GradeTexts {
const std::string& MagicLine() {
  static const std::string t = Gbk("***** VelmoraTarvin版 *****");
  return t;
}
const std::string& NoCourseKey() {
  static const std::string t = "*****";
  return t;
}
}  // namespace GradeTexts

namespace {

constexpr char kCtrlZ = 26;

// Cuts a stream of bytes into lines: a line ends at CR LF or at a lone LF,
// the last line needs no line end, and Ctrl-Z ends the lines: the bytes
// from it on are kept apart as the trailer. Bytes come in chunks, so a
// large file is never held twice in memory.
class LineReader {
 public:
  // Lines go to `fn`, which returns false to stop reading.
  template <typename Fn>
  void Feed(std::string_view chunk, Fn&& fn) {
    if (ended_) {
      trailer_.append(chunk);
      return;
    }
    if (stopped_) return;
    if (std::size_t eof = chunk.find(kCtrlZ); eof != std::string_view::npos) {
      trailer_.assign(chunk.substr(eof));
      chunk = chunk.substr(0, eof);
      ended_ = true;
    }
    std::size_t start = 0;
    while (!stopped_) {
      std::size_t lf = chunk.find('\n', start);
      if (lf == std::string_view::npos) break;
      std::string_view piece = chunk.substr(start, lf - start);
      start = lf + 1;
      if (partial_.empty()) {
        if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
        stopped_ = !fn(piece);
      } else {
        partial_.append(piece);
        if (partial_.back() == '\r') partial_.pop_back();
        stopped_ = !fn(std::string_view(partial_));
        partial_.clear();
      }
    }
    if (!stopped_) partial_.append(chunk.substr(start));
  }

  // The last line, when it has no line end of its own.
  template <typename Fn>
  void Finish(Fn&& fn) {
    if (!stopped_ && !partial_.empty()) fn(std::string_view(partial_));
    partial_.clear();
    stopped_ = true;
  }

  // True once `fn` asked to stop: the rest of the file does not matter.
  bool Stopped() const { return stopped_; }
  std::size_t Pending() const { return partial_.size(); }
  std::string& Trailer() { return trailer_; }

 private:
  std::string partial_;
  std::string trailer_;
  bool stopped_ = false;
  bool ended_ = false;  // Ctrl-Z seen
};

// The lines of a grade file into fresh lists: the first line must be the
// magic line, the rest are sorted into header lines and records.
struct LinesBeingRead {
  Lines head;
  Lines grades;
  bool first = true;
  bool magic = false;

  bool operator()(std::string_view line) {
    if (first) {
      first = false;
      magic = line == GradeTexts::MagicLine();
      return magic;  // no need to read further than a wrong first line
    }
    (IsGradeRecord(line) ? grades : head).emplace_back(line);
    return true;
  }
};

// Lengths of the runs of consecutive header lines with the same key.
template <typename Fn>
void ForEachRun(const Lines& head, Fn&& fn) {
  std::size_t i = 0;
  while (i < head.size()) {
    std::string_view key = KeyOf(head[i]);
    std::size_t end = i + 1;
    while (end < head.size() && KeyOf(head[end]) == key) ++end;
    fn(key, i, end);
    i = end;
  }
}

}  // namespace

GradeEdit PlanGradeEdit(const StudentRow& student, GradeField field, std::string_view text,
                        std::string_view share) {
  GradeEdit edit;
  using enum GradeField;
  std::array<std::string, 3> grades = {student.Grade(Coursework), student.Grade(Examination), student.Grade(Total)};
  std::string& edited = grades[static_cast<std::size_t>(field)];
  edited = FileSafe(text);
  if (!record::FitsGradeField(edited)) {
    edit.Fit = GradeEditFit::TextTooLong;
    return edit;
  }
  if (field != Total) grades[2] = ComputeTotal(share, grades[0], grades[1]);
  if (!record::FitsGradeField(grades[2])) {
    edit.Fit = GradeEditFit::TotalTooLong;
    return edit;
  }
  edit.Grades = std::move(grades);
  return edit;
}

LoadResult GradeBook::Load(const std::filesystem::path& path) {
  const std::string& name = path.native();
  LoadResult result;
  auto failed = [&](const platform::FileStatus& status) {
    if (status.Error == platform::FileError::NoSuchFile) {
      result.Outcome = LoadOutcome::Missing;
      result.Message = DisplayPath(name) + std::string(texts::kNotExist);
    } else {
      result.Outcome = LoadOutcome::ReadError;
      result.Message = DisplayPath(name) + std::string(texts::kReadFailed) + FileErrorReason(status);
    }
    return result;
  };

  platform::FileStatus status;
  std::optional<platform::InputFile> file = platform::InputFile::Open(name, status);
  if (!file) return failed(status);
  LinesBeingRead lines;
  LineReader reader;
  std::vector<char> chunk(1 << 18);
  while (!reader.Stopped()) {
    const long n = file->Read(chunk.data(), chunk.size(), status);
    if (n < 0) return failed(status);
    if (n == 0) break;
    reader.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(n)), lines);
    // A first line already longer than the magic line cannot be it.
    if (lines.first && reader.Pending() > GradeTexts::MagicLine().size() + 1) break;
  }
  reader.Finish(lines);
  if (!lines.magic) {
    result.Outcome = LoadOutcome::NotGradeFile;
    result.Message = DisplayPath(name) + std::string(texts::kNotGradeFile);
    return result;
  }
  if (file->RewriteUndone()) result.Notice = texts::kRewriteUndone;
  // A file that merely ends with the old end-of-file mark is normal; more
  // after it is something the user does not see but a save keeps.
  if (reader.Trailer().size() > 1) {
    if (!result.Notice.empty()) result.Notice += '\n';
    result.Notice += texts::BytesAfterEndMark(reader.Trailer().size() - 1);
  }
  Adopt(std::move(lines.head), std::move(lines.grades), std::move(reader.Trailer()));
  diskVersion_ = file->Identity();
  return result;
}

bool GradeBook::ChangedOnDisk(const std::filesystem::path& path) const {
  if (!diskVersion_) return false;
  const std::optional<platform::FileIdentity> now = platform::Identify(path.native());
  return !now || !now->SameVersion(*diskVersion_);
}

bool GradeBook::ReadBytes(std::string_view bytes) {
  LinesBeingRead lines;
  LineReader reader;
  reader.Feed(bytes, lines);
  reader.Finish(lines);
  if (!lines.magic) return false;
  Adopt(std::move(lines.head), std::move(lines.grades), std::move(reader.Trailer()));
  return true;
}

void GradeBook::Adopt(Lines&& head, Lines&& grades, std::string&& trailer) {
  HeadLines = std::move(head);
  GradeLines = std::move(grades);
  Trailer = std::move(trailer);
  CourseKeys.clear();
  ClassGroups.clear();
  CourseTitles.clear();
  Modified = false;
  diskVersion_.reset();
}

// Where lines go: each run of header lines is written as it stands, and the
// grade records of a key follow the FIRST run of that key, in list order. A
// course whose header lines were split into two runs thus gets its records
// once, after its first run; records whose key has no header line at all are
// written at the end of the file, in list order. Every line is written exactly
// once, so nothing read is lost and a second load-save leaves the file as is.
// `put` gets each line of the file in order, without its line end.
template <typename Put>
static void WriteInFileOrder(const Lines& head, const Lines& grades, Put&& put) {
  // The records of each key as a chain through `next`, first and last per
  // key in the map; records of one course mostly stand together, so the map
  // is consulted only where the key changes.
  constexpr std::size_t kEnd = static_cast<std::size_t>(-1);
  struct Chain {
    std::size_t first, last;
  };
  std::unordered_map<std::string_view, Chain> byKey;
  std::vector<std::size_t> next(grades.size(), kEnd);
  Chain* current = nullptr;
  std::string_view currentKey;
  for (std::size_t j = 0; j < grades.size(); ++j) {
    std::string_view key = KeyOf(grades[j]);
    if (current == nullptr || key != currentKey) {
      auto [it, fresh] = byKey.try_emplace(key, Chain{j, j});
      current = &it->second;
      currentKey = key;
      if (fresh) continue;
    }
    next[current->last] = j;
    current->last = j;
  }

  put(GradeTexts::MagicLine());
  std::unordered_set<std::string_view> written;
  ForEachRun(head, [&](std::string_view key, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) put(head[i]);
    if (!written.insert(key).second) return;
    if (auto it = byKey.find(key); it != byKey.end()) {
      for (std::size_t j = it->second.first; j != kEnd; j = next[j]) put(grades[j]);
    }
  });
  for (const auto& line : grades) {
    if (!written.count(KeyOf(line))) put(line);
  }
}

std::string GradeBook::Serialize() const {
  std::size_t total = GradeTexts::MagicLine().size() + 2;
  for (const auto& line : HeadLines) total += line.size() + 2;
  for (const auto& line : GradeLines) total += line.size() + 2;
  std::string out;
  out.reserve(total);
  WriteInFileOrder(HeadLines, GradeLines, [&out](std::string_view line) {
    out.append(line);
    out.append("\r\n");
  });
  return out;
}

SaveResult GradeBook::Save(const std::filesystem::path& path) {
  const std::string& name = path.native();
  platform::FileStatus status;
  std::optional<platform::OutputFile> out = platform::OutputFile::Begin(name, status);
  if (out) {
    // Written in blocks as the lines come, so a large file is not built in
    // memory a second time; the first failure stops the writing.
    constexpr std::size_t kBlock = 1 << 18;
    std::string block;
    block.reserve(kBlock);
    bool writing = true;
    WriteInFileOrder(HeadLines, GradeLines, [&](std::string_view line) {
      if (!writing) return;
      block.append(line);
      block.append("\r\n");
      if (block.size() >= kBlock) {
        writing = out->Write(block);
        block.clear();
      }
    });
    if (writing && out->Write(block)) out->Write(Trailer);
    status = out->Commit();
  }
  SaveResult result;
  if (!status.Ok()) {
    result.Ok = false;
    result.Message = DisplayPath(name) + std::string(texts::kSaveFailed) + FileErrorReason(status);
    return result;
  }
  Modified = false;
  diskVersion_ = out->WrittenIdentity();
  return result;
}

void GradeBook::BuildCourseList() {
  static const std::string tk = "tk", tj = "tj", tb = "tb";
  CourseKeys.clear();
  CourseTitles.clear();
  ForEachRun(HeadLines, [&](std::string_view key, std::size_t begin, std::size_t end) {
    std::string_view name, teacher, classes;
    for (std::size_t i = begin; i < end; ++i) {
      std::string_view line = HeadLines[i];
      std::string_view tag = TagOf(line);
      if (tag == tk) name = Field(line, 8, 31);
      else if (tag == tj) teacher = Field(line, 8, 8);
      else if (tag == tb) classes = FieldFrom(line, kHeadValuePos);
    }
    std::string row;
    row.reserve(name.size() + teacher.size() + classes.size() + 2);
    row.append(name).append(" ").append(teacher).append(" ").append(classes);
    CourseTitles.push_back(std::move(row));
    CourseKeys.emplace_back(key);
  });

  // Distinct (key, class) pairs in order of first appearance; the same as
  // grouping consecutive records and then deleting later repeats.
  ClassGroups.clear();
  std::unordered_set<std::string> seen;
  std::string previous;
  bool first = true;
  for (const auto& line : GradeLines) {
    std::string group;
    group.append(KeyOf(line)).append(Field(line, record::Class));
    if (!first && group == previous) continue;  // same group as the record before
    first = false;
    previous = group;
    if (seen.insert(group).second) ClassGroups.push_back(std::move(group));
  }
}

std::vector<StudentRow> EmptyCourseRows() { return std::vector<StudentRow>(1); }

std::string GradeBook::Share(std::string_view key) const {
  static const std::string t9 = "t9";
  std::string_view share;
  for (const auto& line : HeadLines) {
    if (KeyOf(line) == key && TagOf(line) == t9) share = Field(line, kShareField);
  }
  return std::string(TrimmedBlanks(share));
}

CourseView GradeBook::ShowCourse(std::string_view key) const {
  CourseView view;
  view.Share = Share(key);
  for (std::size_t j = 0; j < GradeLines.size(); ++j) {
    std::string_view line = GradeLines[j];
    if (KeyOf(line) != key) continue;
    StudentRow row;
    row.Cells[0] = FormatInt(static_cast<std::int64_t>(view.Rows.size() + 1), 4);
    row.Cells[1] = std::string(Field(line, record::Number));
    row.Cells[2] = std::string(Field(line, record::Name));
    row.Cells[3] = std::string(Field(line, record::Class));
    row.Cells[4] = std::string(Field(line, record::Coursework));
    row.Cells[5] = std::string(Field(line, record::Examination));
    row.Cells[6] = std::string(Field(line, record::Total));
    row.LineIndex = j;
    view.Rows.push_back(std::move(row));
  }
  if (view.Rows.empty()) view.Rows = EmptyCourseRows();
  return view;
}

std::optional<HeadLineChange> GradeBook::StoreShare(std::size_t course, std::string_view editText) {
  static const std::string t9 = "t9";
  if (course >= CourseKeys.size()) return std::nullopt;
  std::string_view key = std::string_view(CourseKeys[course]).substr(0, 5);
  // A "course" made of empty or short lines has no five-byte key: a "t9" line
  // for it would carry another key and start a course of its own.
  if (key.size() < 5) return std::nullopt;
  std::string text = FileSafe(editText);
  TrimBlanks(text);
  if (text.size() > kShareField.Width) return std::nullopt;

  for (std::size_t i = 0; i < HeadLines.size(); ++i) {
    std::string& line = HeadLines[i];
    if (KeyOf(line) == key && TagOf(line) == t9) {
      HeadLineChange change{i, line, {}, false};
      line = std::string(Field(line, 1, 7)) + text;
      change.After = line;
      Modified = true;
      return change;
    }
  }
  // No "t9" line yet: the new one goes at the end of the run of header lines
  // this course stands for (a key listed twice has two runs), so the run
  // stays contiguous.
  std::size_t insertAt = HeadLines.size();
  std::size_t run = 0;
  ForEachRun(HeadLines, [&](std::string_view, std::size_t, std::size_t end) {
    if (run++ == course) insertAt = end;
  });
  HeadLineChange change{insertAt, {}, std::string(key) + t9 + text, true};
  HeadLines.insert(HeadLines.begin() + static_cast<std::ptrdiff_t>(insertAt), change.After);
  Modified = true;
  return change;
}

std::optional<RecordChange> GradeBook::WriteThrough(std::size_t course, StudentRow& student, GradeField field,
                                                    std::string_view text, std::string_view share) {
  GradeEdit edit = PlanGradeEdit(student, field, text, share);
  if (edit.Fit != GradeEditFit::Fits) return std::nullopt;
  using enum GradeField;
  for (const GradeField f : {Coursework, Examination, Total})
    student.Grade(f) = std::move(edit.Grades[static_cast<std::size_t>(f)]);
  Modified = true;

  if (course >= CourseKeys.size()) return std::nullopt;
  std::string_view key = std::string_view(CourseKeys[course]).substr(0, 5);
  std::string_view number = std::string_view(student.Cells[1]).substr(0, 10);
  for (std::size_t j = 0; j < GradeLines.size(); ++j) {
    const std::string& line = GradeLines[j];
    if (KeyOf(line) != key || Field(line, record::Number) != number) continue;
    return RewriteGrades(j, student.Grade(Coursework), student.Grade(Examination), student.Grade(Total));
  }
  return std::nullopt;
}

RecordChange GradeBook::RewriteGrades(std::size_t lineIndex, std::string_view coursework,
                                      std::string_view examination, std::string_view total) {
  std::string& line = GradeLines[lineIndex];
  RecordChange change{lineIndex, line, {}};
  // Positions 1-33 stay; a record cut short before 33 is padded so that the
  // grades land in their own columns.
  std::string rewritten(Field(line, 1, 33));
  rewritten.resize(33, ' ');
  rewritten += PaddedGbk(FileSafe(coursework), record::GradeWidth);
  rewritten += PaddedGbk(FileSafe(examination), record::GradeWidth);
  rewritten += PaddedGbk(FileSafe(total), record::GradeWidth);
  rewritten += Field(line, record::Tail);
  line = std::move(rewritten);
  change.After = line;
  Modified = true;
  return change;
}
