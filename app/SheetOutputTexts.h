#pragma once
// The window's texts of the course choice before printing and of the sheet's
// PDF export.
#include <QString>

namespace SheetOutputTexts {

inline QString ExportCommand() { return QStringLiteral("导出成绩单 PDF(&D)..."); }
inline QString ExportHint() { return QStringLiteral("导出成绩单 PDF"); }
inline QString ExportTitle() { return QStringLiteral("导出成绩单 PDF"); }
inline QString PrintTitle() { return QStringLiteral("打印成绩单"); }
inline QString WhichCourses() { return QStringLiteral("成绩单包括:"); }
inline QString AllCourses() { return QStringLiteral("全部课程(&A)"); }
inline QString ShownCourse(const QString& course) { return QStringLiteral("当前课程(&C): %1").arg(course); }
inline QString ChosenCourses() { return QStringLiteral("选定课程(&S) (空格键选择):"); }
inline QString CourseListName() { return QStringLiteral("选定的课程"); }
inline QString PageCount(int pages) { return QStringLiteral("共 %1 页").arg(pages); }
inline QString AllPages() { return QStringLiteral("全部页(&L)"); }
inline QString PageRange() { return QStringLiteral("页码范围(&R):"); }
inline QString RangeTo() { return QStringLiteral("到"); }
inline QString FromPageName() { return QStringLiteral("起始页"); }
inline QString ToPageName() { return QStringLiteral("结束页"); }
inline QString Ok() { return QStringLiteral("确定"); }
inline QString Cancel() { return QStringLiteral("取消"); }
inline QString PdfFilter() { return QStringLiteral("PDF 文件 (*.pdf)"); }
inline QString Written(const QString& path, int pages) {
  return QStringLiteral("成绩单已写入 %1，共 %2 页。").arg(path).arg(pages);
}
inline QString WriteFailed(const QString& path, const QString& reason) {
  return QStringLiteral("%1写入失败: %2，未写入任何内容。").arg(path, reason);
}
inline QString NoPages() { return QStringLiteral("所选课程没有可打印的页。"); }

}  // namespace SheetOutputTexts
