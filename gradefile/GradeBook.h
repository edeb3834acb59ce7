#pragma once
// The open grade file in memory: its lines exactly as read, the lists derived
// from them, and every rule that changes them. No widgets here; the main
// window only shows what this class decides.
#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gradefile/Record.h"
#include "platform/Files.h"

using Lines = std::vector<std::string>;

// Texts of the file itself, GBK bytes. (What the user is told about a file
// is in text/Texts.h.)
namespace GradeTexts {
const std::string& MagicLine();    // "***** VelmoraTarvin版 *****"
const std::string& NoCourseKey();  // "*****": the key shown when the file has no course
}  // namespace GradeTexts

enum class LoadOutcome { Loaded, Missing, NotGradeFile, ReadError };

// Messages are UTF-8 display text, for the screen or a UTF-8 terminal: the
// path as DisplayPath shows it, then the fixed text (and the reason).
struct LoadResult {
  LoadOutcome Outcome = LoadOutcome::Loaded;
  std::string Message;  // why the file did not load; empty when it did
  std::string Notice;   // what the user should know about a file that loaded; mostly empty
};

struct SaveResult {
  bool Ok = true;
  std::string Message;  // the file and the reason; empty on success
};

// One student of a course as it is shown: its texts as GBK bytes, in the
// order a course lists them (its place in the course from 1, number, name,
// class, then the three grades), and the index of its record in GradeLines
// (kNoRecord for the empty row of a course without students).
struct StudentRow {
  static constexpr std::size_t kNoRecord = static_cast<std::size_t>(-1);
  static constexpr std::size_t kFirstGrade = 4;  // Cells[kFirstGrade] is the coursework
  std::array<std::string, 7> Cells;
  std::size_t LineIndex = kNoRecord;
  bool IsPlaceholder() const { return LineIndex == kNoRecord; }
  std::string& Grade(GradeField field) { return Cells[kFirstGrade + static_cast<std::size_t>(field)]; }
  const std::string& Grade(GradeField field) const { return Cells[kFirstGrade + static_cast<std::size_t>(field)]; }
};

// What a course without students shows: one empty row that stands for no
// record.
std::vector<StudentRow> EmptyCourseRows();

// What showing a course puts on screen: the share for the weighting field
// and at least one student row.
struct CourseView {
  std::string Share;
  std::vector<StudentRow> Rows;
};

// One record rewritten: its index in GradeLines and its bytes before and
// after, which is all an undo needs to put it back.
struct RecordChange {
  std::size_t LineIndex = 0;
  std::string Before;
  std::string After;
};

// One header line rewritten, added or taken out: its index in HeadLines and
// its bytes before and after. An added line has no bytes before; undoing it
// removes it. A removed line (only ever the undoing of an added one, as a
// recovered journal replays it) has no bytes after; undoing it puts it back.
struct HeadLineChange {
  std::size_t Index = 0;
  std::string Before;
  std::string After;
  bool Added = false;
  bool Removed = false;
};

// What an edit of one grade field of a student to `text` stores: the
// coursework, examination and total texts as the record will hold them (the
// total computed from `share` when the coursework or the examination is
// edited). An edit whose text, or the total it leads to, does not fit its
// 6-byte field is refused whole.
enum class GradeEditFit { Fits, TextTooLong, TotalTooLong };
struct GradeEdit {
  GradeEditFit Fit = GradeEditFit::Fits;
  std::array<std::string, 3> Grades;  // without the padding; set only when it fits
};
GradeEdit PlanGradeEdit(const StudentRow& student, GradeField field, std::string_view text,
                        std::string_view share);

class GradeBook {
 public:
  Lines HeadLines;    // every non-"cj" line after the magic line, file order
  Lines GradeLines;   // every "cj" record, file order; rewritten in place only
  Lines CourseKeys;   // one 5-byte key per run of header lines
  Lines ClassGroups;  // distinct key(5)+class(8), order of first appearance
  Lines CourseTitles;  // each course as the course list names it, parallel to CourseKeys
  // The file's bytes from a Ctrl-Z on (the old end-of-file mark, included),
  // which are not read as lines; a save writes them back after the lines.
  std::string Trailer;
  bool Modified = false;

  // Reads a grade file into fresh lists and swaps them in only on success;
  // on any failure the book is unchanged. Loading clears Modified. Only
  // regular files are opened, and opening never waits.
  LoadResult Load(const std::filesystem::path& path);

  // The reading part of Load, on the bytes of a whole file: false (book
  // unchanged) when the first line is not the magic line.
  bool ReadBytes(std::string_view bytes);

  // Writes the lines and the trailer through platform::OutputFile (a
  // complete new file in place of the old at once, or in place where
  // replacing would cut hard links or take another user's file). On failure
  // the old file is untouched and Modified stays.
  SaveResult Save(const std::filesystem::path& path);

  // True when the file at `path` is not the version this book was loaded
  // from or last saved to (another program or window wrote it since, or it
  // is gone); a save over it would drop that other version.
  bool ChangedOnDisk(const std::filesystem::path& path) const;

  // The lines as Save writes them (magic line, runs of header lines each
  // followed by their grade records, CR LF); Save follows them with Trailer.
  std::string Serialize() const;

  // Rebuilds CourseKeys, CourseTitles and ClassGroups from the lines.
  void BuildCourseList();

  // The weighting text and the student rows of one course key.
  CourseView ShowCourse(std::string_view key) const;

  // The share of a course key as the weighting field shows it: its last "t9"
  // line, positions 8-13, blanks trimmed; empty without one.
  std::string Share(std::string_view key) const;

  // Stores an edit of the weighting field for course `course` (its index
  // in CourseKeys, from 0). Returns nothing (nothing stored) when there is
  // no such course or the text (blanks trimmed) is longer than the 6-byte
  // field; otherwise the change made to the course's "t9" line (an added
  // one when the course had none). On success Modified is set.
  std::optional<HeadLineChange> StoreShare(std::size_t course, std::string_view editText);

  // Writes an edit of `student`'s grade `field` through, `text` being the
  // editor's text. Puts the grades PlanGradeEdit gives in the student's
  // texts (the text, the total recomputed from `share` for the coursework
  // and the examination), sets Modified, then rewrites the first record of
  // course `course` (its index in CourseKeys) whose student number is the
  // first 10 bytes of the student's number text. Returns the record's
  // change when one was rewritten (the save command is enabled only then),
  // nothing otherwise. An edit that does not fit is refused: nothing
  // changes, the student's texts included.
  std::optional<RecordChange> WriteThrough(std::size_t course, StudentRow& student, GradeField field,
                                           std::string_view text, std::string_view share);

  // The rewrite of one record's grades, as every edit makes it: positions
  // 1-33 kept (padded when the record is shorter), the three texts each cut
  // or padded to 6 bytes (bytes that would split the file become blanks),
  // positions 52-57 kept. Sets Modified. `lineIndex` must be valid.
  RecordChange RewriteGrades(std::size_t lineIndex, std::string_view coursework,
                             std::string_view examination, std::string_view total);

 private:
  // Takes freshly read lists and trailer as the book's; the derived lists
  // are emptied and Modified cleared.
  void Adopt(Lines&& head, Lines&& grades, std::string&& trailer);

  // The file as it was when loaded or last saved; empty before either.
  std::optional<platform::FileIdentity> diskVersion_;
};
