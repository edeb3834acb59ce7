#pragma once
// The check over a grade book: every student record of every course through
// the row check at its course's share, plus student numbers that occur twice
// in a course. Findings only; the one command that changes anything is the
// explicit recompute of the totals that disagree with the share.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "gradefile/GradeBook.h"
#include "grading/GradeCheck.h"

// Every finding of the book: first each course whose share is no number
// from 0 to 100 (bad-share, no record, column share), then the findings in
// the order of the records in GradeLines (within a record: coursework,
// examination, total, the total's agreement, then a repeated student number).
std::vector<GradeFinding> CheckBook(const GradeBook& book);

// The findings of the records of one course key, in record order; a course
// whose header lines stand in two runs is one key and is checked once.
std::vector<GradeFinding> CheckCourse(const GradeBook& book, std::string_view key);

// Writes the total the rule gives at the course's share into every record of
// the course whose total disagrees with it (the total-mismatch findings), as
// an edit of that row would, and nothing else: nothing at a bad share, and no
// total longer than its field. Returns the rewritten records
// in record order, with their bytes before, for an undo.
std::vector<RecordChange> RecomputeTotals(GradeBook& book, std::string_view key);

// The findings as rows of a list the teacher reads, one per finding: the
// course's name (its key when it has none), the student number, the name,
// the column ("平时成绩", "考试成绩", "总成绩", "学号" for a repeated number,
// "平时成绩占百分比" for a bad share; number and name empty then),
// the cell's text and the reason. UTF-8, blanks trimmed.
using FindingRow = std::array<std::string, 6>;
std::vector<FindingRow> FindingRows(const GradeBook& book, const std::vector<GradeFinding>& findings);
