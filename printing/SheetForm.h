#pragma once
// The printed form of the grade sheet "学生考试(考查)成绩表" as data: where
// each label, rule, column and figure stands. Positions count in the sheet's
// grid: columns of one digit's width from the left margin (101 across),
// lines of one text height from the top margin. The sheet printer draws
// these tables; nothing here draws.
#include <string>
#include <vector>

#include "gradefile/Record.h"

namespace sheetform {

inline constexpr int kSheetColumns = 101;
inline constexpr int kHalfColumns = 51;  // the student table is printed twice side by side
inline constexpr int kRowsPerHalf = 20;

// Texts the form prints itself, GBK.
struct Texts {
  std::string DefaultTitle;  // without a "t0" line
  std::string DefaultTerm;   // without a "t1" line
  std::string Grade;         // "成  绩", the second line of a grade column's heading
};
const Texts& FormTexts();

// A heading field: its label, the rule under it, and the header tag whose
// value is written on the rule (none: the rule stays empty for a pen).
struct HeadingField {
  std::string Label;
  int Line, LabelColumn, RuleFirst, RuleLast, ValueColumn;
  const char* Tag;
};
// The fields drawn label, rule, value one after the other.
const std::vector<HeadingField>& FirstHeadingFields();
// The fields whose labels and rules are drawn first, their values after in
// ValueOrder (major, department, teaching classes).
const std::vector<HeadingField>& SecondHeadingFields();
inline constexpr int kSecondValueOrder[] = {1, 0, 2};

// A column of the student table, in columns from the left of its half.
struct TableColumn {
  int Rule;            // the vertical rule on its left
  int HeadingColumn;   // where its heading starts
  std::string Heading;  // GBK
  bool Grade;          // a grade: a two-line heading, the text trimmed and centred
  int TextColumn;      // where a student's text starts (a grade's 6 columns)
  FieldWindow Field;   // the record field it shows
};
const std::vector<TableColumn>& TableColumns();
inline constexpr int kTableRightRule = 50;  // the rule after the last column
inline constexpr int kTableTopLine = 11;     // the top rule and the headings
inline constexpr int kTableBottomLine = 53;
inline constexpr int kFirstStudentLine = 14;  // students every second line from here

// A label of the closing block with the rule where its figure or signature goes.
struct BlockLabel {
  std::string Text;
  int Column, Line, RuleFirst, RuleLast;
};
const std::vector<BlockLabel>& ClosingLabels();

// Where the closing block's figures go.
struct Place {
  int Column, Line;
};
inline constexpr Place kCourseworkShare{15, 54};
inline constexpr Place kExaminationShare{37, 54};
inline constexpr Place kDue{58, 54};
inline constexpr int kBandColumn = 22;
inline constexpr int kBandLines[5] = {57, 59, 61, 63, 65};  // 90-100, 80-89, 70-79, 60-69, below 60
inline constexpr Place kAverage{22, 67};
inline constexpr Place kFailureRate{22, 69};

}  // namespace sheetform
