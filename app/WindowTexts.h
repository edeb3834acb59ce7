#pragma once
// What the main window says in its own words: questions, confirmations,
// notes and tool tips. Messages about a file that the core words (loading,
// saving, settings, printing) come with the results that carry them.
#include <QString>
#include <cstddef>
#include <string_view>

#include "gradefile/FileMessages.h"

namespace WindowTexts {

inline QString Caption() { return QStringLiteral("教师整理学生成绩__Velmora (VLM) Tarvin版"); }

// Before the open grades are replaced or the window closes.
inline QString AskSave() { return QStringLiteral("当前的成绩有所变动，存储吗?"); }
inline QString Saved() { return QStringLiteral("存储完毕！"); }

// Before a save over a file another program wrote since it was opened.
inline QString AskOverwriteChanged(std::string_view path) {
  return QString::fromStdString(DisplayPath(path)) +
         QStringLiteral("\n文件在打开之后已被其他程序修改。\n仍然存储并覆盖那些修改吗?");
}

// fileLabel before a file is open, and in front of the open file's path.
inline QString NoFileLabel() { return QStringLiteral("成绩文件："); }
inline QString FileLabel() { return QStringLiteral("成绩文件: "); }

// Typed text the grade file cannot hold was taken back.
inline QString InputRefused() {
  return QStringLiteral("成绩文件使用 GBK 编码，无法存放刚输入的字符，已撤销这次输入。");
}
// A keystroke past a grade's field, or one whose total would not fit its own.
inline QString GradeTooLong() { return QStringLiteral("成绩最多6个字节"); }
inline QString TotalTooLong() { return QStringLiteral("总成绩最多6个字节，按这个成绩算出的总成绩放不下"); }
// A keystroke that would make the share no number from 0 to 100.
inline QString ShareRefused() {
  return QStringLiteral("平时成绩占百分比只能是0到100之间的数（数字，最多一个小数点）");
}

// The bar over the student grid and its command.
// The bar's button and the 编辑 menu's item share the letter.
inline QString Recompute() { return QStringLiteral("按当前比例重新计算(&T)"); }
inline QString RecomputeItem() { return Recompute(); }
inline QString NextFindingItem() { return QStringLiteral("下一处需核对的成绩(&N)"); }
inline QString PreviousFindingItem() { return QStringLiteral("上一处需核对的成绩(&B)"); }

// The list of findings before a save or a print.
inline QString FindingsTitle() { return QStringLiteral("成绩检查"); }
inline QString FindingsIntro(std::size_t count, bool print) {
  return QStringLiteral("成绩文件中有 %1 处成绩需要核对。双击一行(或选中后按“转到”)可转到该处修改；")
             .arg(count) +
         (print ? QStringLiteral("也可以不作修改，仍然打印。") : QStringLiteral("也可以不作修改，仍然存储。"));
}
inline QString FindingsHeading(int column) {
  static const char* const headings[] = {"课程", "学号", "姓名", "栏目", "内容", "原因"};
  return column >= 0 && column < 6 ? QString::fromUtf8(headings[column]) : QString();
}
inline QString SaveAnyway() { return QStringLiteral("仍然存储(&S)"); }
inline QString PrintAnyway() { return QStringLiteral("仍然打印(&P)"); }
inline QString BackToEditing() { return QStringLiteral("返回修改(&R)"); }
inline QString GoToFinding() { return QStringLiteral("转到(&G)"); }
inline QString FindingsTableName() { return QStringLiteral("需要核对的成绩"); }

// The 预览 menu's fonts and margins (the tool bar's context menu has its own
// letters for them, which the 预览 menu's page commands use already).
inline QString BodyFontItem() { return QStringLiteral("表内容字体(&T)..."); }
inline QString TitleFontItem() { return QStringLiteral("表标题字体(&H)..."); }
inline QString MarginsItem() { return QStringLiteral("设置页边界(&B)..."); }
inline QString ZoomName() { return QStringLiteral("缩放比例"); }
inline QString ZoomPercent(int percent) { return QStringLiteral("缩放 %1%").arg(percent); }

// What a screen reader says of the window's controls.
inline QString CourseListName() { return QStringLiteral("课程列表"); }
inline QString StudentGridName() { return QStringLiteral("学生成绩表"); }
inline QString StudentGridDescription() {
  return QStringLiteral("本课程学生的平时成绩、考试成绩和总成绩；Shift+方向键选择区域，Ctrl+C 复制");
}
inline QString ShareName() { return QStringLiteral("平时成绩占百分比"); }
inline QString GradeEditorName() { return QStringLiteral("成绩"); }
inline QString GradeEditorDescription() {
  return QStringLiteral("所在单元格的成绩：输入数字或从列表中选择等级");
}
inline QString PreviewName() { return QStringLiteral("成绩单预览"); }
inline QString PageName() { return QStringLiteral("成绩单页面"); }
inline QString PageDescription() {
  return QStringLiteral("Ctrl+PgDn 下页，Ctrl+PgUp 上页，Ctrl+加号 放大，Ctrl+减号 缩小");
}
inline QString FindFieldName() { return QStringLiteral("查找学生的学号或姓名"); }

// 帮助: the list of keys and the program's own page.
inline QString HelpMenu() { return QStringLiteral("帮助(&H)"); }
inline QString ShortcutsItem() { return QStringLiteral("快捷键(&K)"); }
inline QString AboutItem() { return QStringLiteral("关于(&A)"); }
inline QString ShortcutsTitle() { return QStringLiteral("快捷键"); }
inline QString AboutTitle() { return QStringLiteral("关于"); }
inline QString AboutHeading(const QString& version) {
  return QStringLiteral("gradesheet %1\n教师整理学生成绩：录入平时成绩和考试成绩，计算总成绩，预览并打印成绩表。").arg(version);
}
inline QString AboutLibraries() { return QStringLiteral("本程序使用的库:"); }
inline QString CloseDialog() { return QStringLiteral("关闭(&C)"); }

// The open and save-as dialogs' filters: grade files first, then every file.
inline QString OpenFilters() { return QStringLiteral("成绩文件 (*.txt *.TXT);;所有文件 (*)"); }

// Paste and copy of grade cells.
inline QString PasteNotGbk() {
  return QStringLiteral("剪贴板中有成绩文件（GBK 编码）无法存放的字符，没有粘贴任何内容。");
}
inline QString PasteRowsLeftOut(int rows) {
  return QStringLiteral("有 %1 行超出本课程的最后一名学生，没有粘贴。").arg(rows);
}
// The cells of a paste that do not fit their 6-byte fields, each named by
// its grid row, student number, column and text.
inline QString PasteTooLong(const QStringList& cells) {
  return QStringLiteral("以下内容超过成绩栏的6个字节，没有粘贴：\n") + cells.join(QLatin1Char('\n'));
}
inline QString PasteCellName(int row, const QString& number, const QString& column, const QString& text) {
  return QStringLiteral("第 %1 行（学号 %2）%3“%4”").arg(row).arg(number, column, text);
}
inline QString PasteColumnsCut(int columns) {
  return QStringLiteral("粘贴的内容比成绩列宽：总成绩右边的 %1 列没有粘贴。").arg(columns);
}

// Finding a student: the bar's label and button, what the status bar says.
inline QString FindLabel() { return QStringLiteral("查找学生: "); }
inline QString FindHint() { return QStringLiteral("学号或姓名，回车查找下一个"); }
inline QString FindNextButton() { return QStringLiteral("下一个"); }
inline QString FindCloseButton() { return QStringLiteral("关闭"); }
inline QString NotFound() { return QStringLiteral("找不到"); }

// A recent file that is gone.
inline QString RecentFileGone(std::string_view path) {
  return QString::fromStdString(DisplayPath(path)) +
         QStringLiteral("不存在!\n已从最近打开的文件中删除。");
}

// The print dialog chose a PDF file but named none.
inline QString NoPdfFileName() { return QStringLiteral("没有给出要写入的PDF文件名，未打印。"); }

// The print job's title beside the file name, and its mark for the sheet by class.
inline QString JobTitleSeparator() { return QStringLiteral(" - "); }
inline QString ByClassMark() { return QStringLiteral("(分班)"); }

}  // namespace WindowTexts
