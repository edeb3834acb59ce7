#pragma once
// Every message the core gives the user, in one place, as UTF-8 display
// text: the window shows it, the batch tool prints it. A message that names
// a file starts with the path as DisplayPath shows it; the pieces here are
// what follows. (Texts of the files and of the sheet itself are data and
// stay with the format that writes them.)
#include <cstddef>
#include <string>
#include <string_view>

namespace texts {

// ---- grade files: after the path -----------------------------------------------
inline constexpr std::string_view kNotExist = "不存在!";
inline constexpr std::string_view kNotGradeFile = "不是Velmora生成的文件，打开失败!";
inline constexpr std::string_view kReadFailed = "读取失败: ";             // then the reason
inline constexpr std::string_view kSaveFailed = "存储失败，原文件未改动: ";  // then the reason

inline std::string BytesAfterEndMark(std::size_t count) {
  return "文件在结束标记(Ctrl-Z)之后还有 " + std::to_string(count) + " 字节未读入，这些字节将原样保留在文件末尾。";
}

// ---- why a file operation failed ----------------------------------------------------
inline constexpr std::string_view kNoSuchFile = "文件或文件夹不存在";
inline constexpr std::string_view kPermission = "没有访问权限";
inline constexpr std::string_view kReadOnlyFile = "文件是只读的";
inline constexpr std::string_view kNotOwner = "文件属于其他用户，不能改写";
inline constexpr std::string_view kReadOnlyFileSystem = "磁盘是只读的";
inline constexpr std::string_view kDiskFull = "磁盘空间不足";
inline constexpr std::string_view kIsFolder = "这是文件夹，不是文件";
inline constexpr std::string_view kNotRegular = "不是普通文件";
inline constexpr std::string_view kTooLarge = "文件太大";
inline constexpr std::string_view kNameTooLong = "文件名太长";
inline constexpr std::string_view kLinkLoop = "符号链接绕成了循环";
inline std::string SystemError(int code) { return "系统错误 " + std::to_string(code); }

// ---- the settings file: before the path, then ": " and the reason ---------------
inline constexpr std::string_view kSettingsNotSaved = "无法保存打印设置文件 ";

// ---- the check of grades ----------------------------------------------------------
inline constexpr std::string_view kOutOfRange = "超出0–100";
inline constexpr std::string_view kUnrecognised = "无法识别的成绩";
// After kUnrecognised, when the total rule reads a number from the start of the text.
inline std::string TotalReadsAs(std::string_view number) {
  return "，总成绩按 " + std::string(number) + " 计算";
}
inline constexpr std::string_view kTotalEmpty = "总成绩为空，应为 ";           // then the total
inline constexpr std::string_view kTotalMismatch = "总成绩与当前比例不符，应为 ";  // then the total
// A total over grades it counted as 0: "平时成绩'良'按0计入总成绩",
// "平时成绩为空，按0计入总成绩", "平时成绩'良'、考试成绩为空，按0计入总成绩".
inline constexpr std::string_view kCourseworkGrade = "平时成绩";
inline constexpr std::string_view kExamGrade = "考试成绩";
inline constexpr std::string_view kGradeEmpty = "为空";
inline constexpr std::string_view kListSeparator = "、";
inline constexpr std::string_view kCountedAsZero = "按0计入总成绩";
inline constexpr std::string_view kCountedAsZeroAfterList = "，按0计入总成绩";
inline std::string DuplicateStudent(std::size_t firstRow) {
  return "学号在本课程中重复，与第 " + std::to_string(firstRow) + " 行相同";
}

inline constexpr std::string_view kBadShare = "平时成绩占百分比应为0到100之间的数，总成绩无法按它计算";

// The columns of the check's findings, as the window's list names them.
inline constexpr std::string_view kNumberColumn = "学号";
inline constexpr std::string_view kShareColumn = "平时成绩占百分比";
inline constexpr std::string_view kTotalColumn = "总成绩";
// The bar over the student grid: "本课程有 10 个总成绩与当前比例(40%)不符", and
// how many of them no share explains (typed by hand, most likely).
inline std::string MismatchBar(std::size_t count, std::string_view share, std::size_t typed) {
  std::string text = "本课程有 " + std::to_string(count) + " 个总成绩与当前比例(" +
                     std::string(share.empty() ? "0" : share) + "%)不符";
  if (typed > 0) {
    text += "，其中 " + std::to_string(typed) + " 个可能是手工填写的总成绩，重新计算会覆盖它们";
  }
  return text;
}

// ---- importing a CSV file: after the path and "：" -------------------------------
inline constexpr std::string_view kAfterPath = "：";
inline constexpr std::string_view kImportReadFailed = "无法读取";  // then "：" and the reason
inline constexpr std::string_view kImportTooLarge = "文件太大(超过128 MB)，请只导出本课程的成绩";
inline constexpr std::string_view kImportEmpty = "文件是空的";
inline constexpr std::string_view kImportNotText = "不是文本文件，请选择CSV文件";
inline constexpr std::string_view kImportWorkbook = "是Excel工作簿，请在Excel或WPS中另存为CSV文件后再导入";
inline constexpr std::string_view kImportUnknownEncoding = "既不是UTF-8也不是GBK编码的文本";
inline std::string UnclosedQuote(std::size_t line) { return "第" + std::to_string(line) + "行的引号没有闭合"; }
inline constexpr std::string_view kNoStudentColumn = "找不到学号列：表头中应有“学号”或“student”";
inline constexpr std::string_view kNoScoreColumn = "找不到成绩列：表头中应有“平时成绩”、“考试成绩”或“卷面”";
inline std::string NoColumnNumber(std::size_t column) { return "没有第" + std::to_string(column) + "列"; }
inline std::string NoColumnNamed(std::string_view heading) { return "没有“" + std::string(heading) + "”这一列"; }
inline constexpr std::string_view kNoSuchCourse = "没有这门课程";
inline constexpr std::string_view kImportCancelled = "导入已取消";
inline constexpr std::string_view kNoScoreChosen = "请选择平时成绩或考试成绩所在的列";
inline constexpr std::string_view kChangedSincePreview = "成绩在预览之后有了变动，请重新导入";
// Why a row of the CSV is not applied.
inline constexpr std::string_view kRowNotInCourse = "不在本课程";
inline constexpr std::string_view kRowDuplicate = "学号重复";
inline constexpr std::string_view kRowUnreadable = "无法识别的成绩";
inline constexpr std::string_view kRowNotGbk = "含有成绩文件不能保存的字符";
inline constexpr std::string_view kRowTooLong = "超过6个字节";
inline constexpr std::string_view kImportBadShare =
    "本课程的平时成绩占百分比不是0到100之间的数，请先改正比例再导入";

// ---- exporting: after the path, then the reason -------------------------------------
inline constexpr std::string_view kExportFailed = "：导出失败，";
inline constexpr std::string_view kNothingToExport = "没有可导出的课程";
inline std::string TooManyStudents(std::string_view courseKey) {
  return "课程" + std::string(courseKey) + "的学生超出了Excel工作表的行数";
}
inline constexpr std::string_view kNoWorkbook = "无法创建工作簿";
// The workbook writer, a part of the installation, cannot be loaded; the
// loader's own words follow.
inline std::string NoExportModule(std::string_view why) { return "无法载入 Excel 导出组件(" + std::string(why) + ")"; }

// ---- an output that must not be written: after the path ----------------------------
inline constexpr std::string_view kOutputIsInput = ": 输出文件就是输入文件";  // then the input, if named otherwise
inline constexpr std::string_view kNotOverwritten = "，不能覆盖，未写入。";
inline constexpr std::string_view kOutputIsGradeFile = ": 这是一个成绩文件，不能用输出覆盖，未写入。";

// ---- printing: before the printer's name or the PDF file's path --------------------
inline constexpr std::string_view kCannotStartPrinting = "无法开始打印：";
inline constexpr std::string_view kCannotStartPage = "打印失败，无法开始新的一页：";
inline constexpr std::string_view kPrintingFailed = "打印失败：";
inline constexpr std::string_view kCannotWritePdf = "无法写入PDF文件：";
inline constexpr std::string_view kPdfWriteFailed = "PDF文件写入失败：";  // then a new line and the reason

}  // namespace texts
