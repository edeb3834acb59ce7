#include "printing/SheetForm.h"

#include "text/Gbk.h"

namespace sheetform {

const Texts& FormTexts() {
  static const Texts texts{Gbk("学生考试(考查)成绩表"), Gbk("     年度第   学期"), Gbk("成  绩")};
  return texts;
}

const std::vector<HeadingField>& FirstHeadingFields() {
  static const std::vector<HeadingField> fields = {
      {Gbk("课程"), 4, 2, 6, 36, 7, "tk"},     {Gbk("类别"), 4, 40, 44, 50, 45, "tl"},
      {Gbk("学分"), 4, 54, 58, 64, 59, "tx"},  {Gbk("周学时"), 4, 68, 74, 78, 75, "tz"},
      {Gbk("编  号"), 4, 86, 92, 101, 0, nullptr}, {Gbk("教师"), 6, 2, 6, 16, 7, "tj"},
      {Gbk("开课院系"), 6, 18, 26, 58, 27, "td"}, {Gbk("人数"), 8, 2, 6, 12, 7, "tr"},
  };
  return fields;
}

const std::vector<HeadingField>& SecondHeadingFields() {
  static const std::vector<HeadingField> fields = {
      {Gbk("院系"), 8, 64, 68, 101, 69, "ty"},
      {Gbk("专业"), 8, 22, 26, 58, 27, "tf"},
      {Gbk("上课班级"), 6, 60, 68, 101, 69, "tb"},
  };
  return fields;
}

const std::vector<TableColumn>& TableColumns() {
  static const std::vector<TableColumn> columns = {
      {0, 3, Gbk("学　号"), false, 1, record::Number},
      {11, 13, Gbk("姓　名"), false, 12, record::Name},
      {20, 21, Gbk("行政班级"), false, 21, record::Class},
      {29, 30, Gbk("平  时"), true, 30, record::Coursework},
      {36, 37, Gbk("考  试"), true, 37, record::Examination},
      {43, 44, Gbk("总  评"), true, 44, record::Total},
  };
  return columns;
}

namespace {
// The signature lines stand at the right of the closing block.
constexpr int kSignColumn = kSheetColumns - 41;    // 60
constexpr int kSignRuleFirst = kSheetColumns - 27;  // 74
constexpr int kSignRuleLast = kSheetColumns - 4;    // 97
}  // namespace

const std::vector<BlockLabel>& ClosingLabels() {
  static const std::vector<BlockLabel> labels = {
      {Gbk("平时成绩占　　　％，"), 3, 54, 14, 18},
      {Gbk("卷面成绩占　　　％，"), 25, 54, 36, 40},
      {Gbk("应参加考试　　　人，"), 47, 54, 58, 62},
      {Gbk("实参加考试　　　人，"), 67, 54, 78, 82},
      {Gbk("缺考　　　人。"), 87, 54, 92, 96},
      {Gbk("其中： 90 - 100 分　　　　人;"), 3, 57, 22, 28},
      {Gbk("80 - 89 分 　　　　人;"), 10, 59, 22, 28},
      {Gbk("70 - 79 分 　　　　人;"), 10, 61, 22, 28},
      {Gbk("60 - 69 分 　　　　人;"), 10, 63, 22, 28},
      {Gbk(" 60 分以下 　　　　人;"), 10, 65, 22, 28},
      {Gbk("平均成绩： 　　　　;"), 10, 67, 22, 28},
      {Gbk("不及格率： 　　　　％"), 10, 69, 22, 28},
      {Gbk("考 核 日 期："), kSignColumn, 57, kSignRuleFirst, kSignRuleLast},
      {Gbk("教 师 签 字："), kSignColumn, 60, kSignRuleFirst, kSignRuleLast},
      {Gbk("教学主任签字："), kSignColumn, 63, kSignRuleFirst, kSignRuleLast},
      {Gbk("院 系 公 章："), kSignColumn, 66, kSignRuleFirst, kSignRuleLast},
      {Gbk("填 表 日 期："), kSignColumn, 69, kSignRuleFirst, kSignRuleLast},
  };
  return labels;
}

}  // namespace sheetform
