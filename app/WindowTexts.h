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

// Label8 before a file is open, and in front of the open file's path.
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
inline QString Recompute() { return QStringLiteral("按当前比例重新计算"); }

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
inline QString SaveAnyway() { return QStringLiteral("仍然存储"); }
inline QString PrintAnyway() { return QStringLiteral("仍然打印"); }
inline QString BackToEditing() { return QStringLiteral("返回修改"); }
inline QString GoToFinding() { return QStringLiteral("转到"); }

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
