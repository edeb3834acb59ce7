#pragma once
// What the main window says in its own words: questions, confirmations,
// notes and tool tips. Messages about a file that the core words (loading,
// saving, settings, printing) come with the results that carry them.
#include <QString>
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

// The tool tip of a grade cell nothing will read as a grade.
inline QString UnreadableGrade() { return QStringLiteral("无法识别的成绩，请核对"); }

// The print dialog chose a PDF file but named none.
inline QString NoPdfFileName() { return QStringLiteral("没有给出要写入的PDF文件名，未打印。"); }

// The print job's title beside the file name, and its mark for the sheet by class.
inline QString JobTitleSeparator() { return QStringLiteral(" - "); }
inline QString ByClassMark() { return QStringLiteral("(分班)"); }

}  // namespace WindowTexts
