#pragma once
// What the window says about importing grades from a spreadsheet and
// exporting them to one. The reasons a file cannot be read or written come
// from the core with the results that carry them.
#include <QString>
#include <cstddef>

namespace ExchangeTexts {

// ---- importing -------------------------------------------------------------------
inline QString ImportTitle() { return QStringLiteral("导入成绩"); }
inline QString CsvFilter() { return QStringLiteral("CSV 文件 (*.csv *.txt)"); }
inline QString AllFilesFilter() { return QStringLiteral("所有文件 (*)"); }
inline QString Reading() { return QStringLiteral("正在读取成绩文件……"); }
inline QString Cancel() { return QStringLiteral("取消"); }
inline QString Import() { return QStringLiteral("导入"); }

inline QString FileLine(const QString& path) { return QStringLiteral("文件：") + path; }
inline QString CourseLine(const QString& course, const QString& share) {
  return QStringLiteral("课程：%1    平时成绩占百分比：%2").arg(course, share.isEmpty() ? QStringLiteral("(空)") : share);
}
inline QString ReadAs(const QString& encoding, char separator, std::size_t headingLine, std::size_t rows) {
  const QString sep = separator == '\t'  ? QStringLiteral("制表符")
                      : separator == ';' ? QStringLiteral("分号")
                                         : QStringLiteral("逗号");
  return QStringLiteral("编码 %1，%2分隔，表头在第 %3 行，数据 %4 行").arg(encoding, sep).arg(headingLine).arg(rows);
}

inline QString ColumnsUnclear() { return QStringLiteral("表头没有明确指出成绩所在的列，请选择："); }
inline QString NotImported() { return QStringLiteral("不导入"); }
inline QString ColumnItem(std::size_t column, const QString& heading) {
  return heading.isEmpty() ? QStringLiteral("第 %1 列").arg(column)
                           : QStringLiteral("第 %1 列  %2").arg(column).arg(heading);
}
inline QString CourseworkColumn() { return QStringLiteral("平时成绩："); }
inline QString ExaminationColumn() { return QStringLiteral("考试成绩："); }

inline QString Counts(std::size_t matched, std::size_t changed, std::size_t notInCourse, std::size_t missing,
                      std::size_t unreadable, std::size_t duplicates) {
  return QStringLiteral("匹配 %1 人，其中 %2 人的成绩将改动；不在本课程 %3 行，文件中缺少本课程的学生 %4 人，"
                        "无法识别 %5 行，学号重复 %6 行。")
      .arg(matched)
      .arg(changed)
      .arg(notInCourse)
      .arg(missing)
      .arg(unreadable)
      .arg(duplicates);
}
inline QString NothingChanges() { return QStringLiteral("文件中的成绩与本课程现有的成绩相同，没有需要改动的。"); }

inline QString PreviewLists() { return QStringLiteral("导入预览"); }
inline QString ChangesTab(std::size_t n) { return QStringLiteral("将改动的成绩 (%1)").arg(n); }
inline QString SkippedTab(std::size_t n) { return QStringLiteral("未导入的行 (%1)").arg(n); }
inline QString MissingTab(std::size_t n) { return QStringLiteral("文件中缺少的学生 (%1)").arg(n); }
inline QString NotListed(std::size_t n) { return QStringLiteral("另有 %1 行未列出").arg(n); }

inline QString Imported(std::size_t students) {
  return QStringLiteral("已导入 %1 名学生的成绩。要取消这次导入，请用“编辑 → 撤销”。").arg(students);
}

// ---- exporting -------------------------------------------------------------------
inline QString ExportTitle() { return QStringLiteral("导出成绩"); }
inline QString XlsxFilter() { return QStringLiteral("Excel 工作簿 (*.xlsx)"); }
inline QString CsvExportFilter() { return QStringLiteral("CSV 文件 (*.csv)"); }
inline QString ShownCourse(const QString& course) { return QStringLiteral("当前课程：%1").arg(course); }
inline QString AllCourses(int count) { return QStringLiteral("全部课程（共 %1 门）").arg(count); }
inline QString WhatToExport() { return QStringLiteral("要导出哪些课程的成绩？"); }
inline QString Next() { return QStringLiteral("下一步"); }
inline QString AskReplace(const QString& path) { return path + QStringLiteral("\n已经存在。要替换它吗?"); }
inline QString Exported(std::size_t courses, std::size_t students, const QString& path) {
  return QStringLiteral("已导出 %1 门课程、%2 名学生的成绩到\n%3").arg(courses).arg(students).arg(path);
}

}  // namespace ExchangeTexts
