#include "app/cli/CommandLine.h"

#include <charconv>

#include "gradefile/FileMessages.h"

namespace cli {

namespace {

constexpr std::string_view kSheetTextHelp =
    "成绩表的纯文本（按表格的字符网格，每个GBK字节占一列），全部页或第 N 页，页与页之间为换页符；"
    "--by-class：按班级分开的成绩表";
constexpr std::string_view kSheetPdfHelp =
    "成绩表的PDF文件，A4纸，600 dpi，成绩表的每一页为PDF的一页，字体和页边距取自 DIR/qprtpara.dat"
    "（缺省为内置的设置）；OUT 不能是成绩文件或输入文件，整个PDF写完后才替换原有的文件。"
    "--threads N：用 N 个线程绘制各页（缺省为每个处理器一个，最多8个）。给出多个文件时，各文件的成绩表"
    "按给出的顺序依次排列（页码范围按全部页计）；--course KEY 可重复：只包括这些课程（所有文件都没有的课程号为错误）";
constexpr std::string_view kSheetStatsHelp =
    "先输出一行表头，然后每个成绩表分组一行，以制表符分隔：课程号、班级、页数、应考人数、平时成绩和考试成绩"
    "所占比例、五个分数段的人数、平均分、不及格率，与成绩表上印出的一样（表上留空处为空）；"
    "给出多个文件或文件夹时，第一列为文件的路径";
constexpr std::string_view kSeveralFiles =
    "。可以给出多个文件和文件夹：文件夹连同其子文件夹按路径顺序读取，其中不是成绩文件的文件被跳过，"
    "并在标准错误上说明";

constexpr std::string_view kAnalysisHelp =
    "课程成绩分析：先输出一行表头，然后每门课程一行（--by-class：按班级分开的成绩表的每个分组一行，次序相同），"
    "以制表符分隔：key、class、students（人数）、scored（计分人数）、levels（等级制）、uncounted（未计）、mean、"
    "median、sd（样本标准差）、max、min、pass_rate、excellent_rate、五个分数段的人数和五个等级的人数；"
    "小数保留两位，没有计分成绩时为空。-o OUT.pdf：改为写出每门课程的\"课程成绩分析\"页（A4，每门课程一页）；"
    "-o OUT.png 或 OUT.svg：第一门课程的分析页写成图片。多个文件或文件夹时，每行以文件路径开头（表头多一列 file）";

constexpr std::string_view kCheckHelp =
    "FILE 中所有可疑的成绩，按记录的顺序每处一行，以制表符分隔：课程号、学号、栏目（coursework、exam、"
    "total、share；duplicate-student 为空）、类别（bad-share、unrecognised、out-of-range、total-mismatch、"
    "read-as-zero、duplicate-student）、单元格的内容和说明；bad-share 一行的学号为空。"
    "汇总输出到标准错误；有问题时退出码为3。给出多个文件或文件夹时，每行以文件的路径开头，"
    "任一文件有问题时退出码为3，否则有文件无法读取时为2，否则为0";
constexpr std::string_view kImportHelp =
    "把CSV文件（UTF-8或GBK编码；逗号、制表符或分号分隔）中的成绩导入课程 KEY：按学号匹配各行，"
    "改动的每一行都像编辑一样写入（重新计算总成绩），然后存储 FILE；输出各项计数和未导入的行。"
    "成绩所在的列由表头确定（学号、平时成绩、考试成绩/卷面，或 student、coursework、exam），"
    "也可以用列号或表头文字指定；指定了成绩列时只导入指定的列。--dry-run：什么也不写入。"
    "退出码4：CSV文件无法读取或无法使用";
constexpr std::string_view kExportHelp =
    "把各课程导出为Excel工作簿（每门课程一个工作表：先是课程信息，然后是 序号 学号 姓名 班级 平时成绩 "
    "考试成绩 总成绩，数值存为数字）或带BOM的UTF-8编码CSV文件（全部课程时带课程号列，--course 只导出一门）；"
    "以 = + - @ 开头的文字不会成为公式。OUT 不能是成绩文件或 FILE 本身";

constexpr std::string_view kVersionsHelp =
    "the versions of FILE that saves replaced (kept in the state folder, the newest 20 of each file), one per "
    "line, newest first: number (1 = newest), time the bytes were written (ISO 8601), size in bytes, separated "
    "by tabs; nothing when there are none";
constexpr std::string_view kRestoreHelp =
    "puts version N (as versions numbers them) back in place of FILE, after keeping what FILE holds now as the "
    "newest version; refused while a window edits FILE";

std::optional<std::int32_t> ParsePositive(std::string_view text) {
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
  return value;
}

// Reads the words after the command name into `call`; the complaint, empty when fine.
std::string ParseCommandWords(const CommandSyntax& syntax, std::span<const std::string> args, Invocation& call) {
  const auto accepts = [&](Option option) { return (syntax.Options & option) != 0; };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    const std::string* value = i + 1 < args.size() ? &args[i + 1] : nullptr;
    const bool isOption = !optionsEnded && word.size() > 1 && word[0] == '-';
    if (!isOption) {
      if (call.Operands.size() == syntax.MaxOperands)
        return syntax.MaxOperands == 1 ? "只能给出一个 FILE" : "多余的参数: " + DisplayPath(word);
      call.Operands.push_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
    } else if (accepts(kByClass) && word == "--by-class") {
      call.ByClass = true;
    } else if (accepts(kPage) && word == "--page") {
      if (!value || !(call.Page = ParsePositive(*value))) return "--page 后面要给出页码（从1起）";
      ++i;
    } else if ((accepts(kOutput) || accepts(kMaybeOutput)) && (word == "-o" || word == "--output")) {
      if (!value || value->empty()) return "-o 后面要给出输出文件名";
      call.Out = *value;
      ++i;
    } else if (accepts(kPageRange) && word == "--pages") {
      if (!value) return "--pages 后面要给出页码范围 A-B";
      const std::string_view range = *value;
      const std::size_t dash = range.find('-');
      const auto first = ParsePositive(range.substr(0, dash));
      const auto last = dash == std::string_view::npos ? first : ParsePositive(range.substr(dash + 1));
      if (!first || !last || *first > *last) return "--pages 的页码范围应为 A-B，且 1 <= A <= B";
      call.Pages.emplace(*first, *last);
      ++i;
    } else if (accepts(kSettings) && word == "--settings") {
      if (!value || value->empty()) return "--settings 后面要给出文件夹";
      call.SettingsDir = *value;
      ++i;
    } else if (accepts(kCourse) && word == "--course") {
      if (!value) return "--course 后面要给出课程号";
      call.Course = *value;
      call.Courses.push_back(*value);
      ++i;
    } else if (accepts(kColumns) && (word == "--coursework" || word == "--exam" || word == "--student")) {
      if (!value || value->empty()) return word + " 后面要给出列号或表头文字";
      (word == "--coursework" ? call.CourseworkColumn : word == "--exam" ? call.ExamColumn : call.StudentColumn) =
          *value;
      ++i;
    } else if (accepts(kThreads) && word == "--threads") {
      if (!value || !(call.Threads = ParsePositive(*value))) return "--threads 后面要给出线程数（从1起）";
      ++i;
    } else if (accepts(kDryRun) && word == "--dry-run") {
      call.DryRun = true;
    } else {
      return "不认识的选项 " + DisplayPath(word);
    }
  }
  if (call.Operands.size() < syntax.MinOperands)
    return syntax.MinOperands == 1 ? "缺少 FILE" : "需要 " + std::string(syntax.OperandNames);
  if (accepts(kOutput) && call.Out.empty()) return "缺少 -o OUT：请给出输出文件名";
  return {};
}

}  // namespace

const std::vector<CommandSyntax>& Commands() {
  static const std::vector<CommandSyntax> commands = {
      {"courses", "FILE", "课程列表：每门课程一行，课程名、教师和上课班级", 0, 1, 1},
      {"students", "FILE [KEY]",
       "课程 KEY（缺省为第一门课程）的学生，每人一行，以制表符分隔：序号、学号、姓名、班级、平时成绩、"
       "考试成绩、总成绩，每项与文件中的完全一样（保留空格）",
       0, 1, 2},
      {"text", "FILE [--by-class] [--page N]", kSheetTextHelp, kByClass | kPage, 1, 1},
      {"pdf", "FILE|DIR... -o OUT.pdf [--course KEY]... [--by-class] [--pages A-B] [--settings DIR] [--threads N]",
       kSheetPdfHelp, kByClass | kOutput | kPageRange | kSettings | kThreads | kCourse, 1, kManyOperands},
      {"stats", "FILE|DIR... [--by-class]", kSheetStatsHelp, kByClass, 1, kManyOperands},
      {"check", "FILE|DIR...", kCheckHelp, 0, 1, kManyOperands},
      {"analysis", "FILE|DIR... [--course KEY] [--by-class] [-o OUT.pdf|OUT.png|OUT.svg]", kAnalysisHelp,
       kCourse | kByClass | kMaybeOutput, 1, kManyOperands},
      {"import", "FILE KEY SCORES.csv [--coursework COL] [--exam COL] [--student COL] [--dry-run]", kImportHelp,
       kColumns | kDryRun, 3, 3, "FILE、KEY 和 SCORES.csv"},
      {"export", "FILE -o OUT.xlsx|OUT.csv [--course KEY]", kExportHelp, kOutput | kCourse, 1, 1},
      {"versions", "FILE", kVersionsHelp, 0, 1, 1},
      {"restore", "FILE N", kRestoreHelp, 0, 2, 2, "FILE and N"},
  };
  return commands;
}

const CommandSyntax* FindCommand(std::string_view name) {
  for (const CommandSyntax& syntax : Commands())
    if (syntax.Name == name) return &syntax;
  return nullptr;
}

Invocation ParseCommandLine(std::span<const std::string> words) {
  Invocation call;
  if (words.empty()) return call;
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    call.What = Invocation::Action::Help;
    return call;
  }
  if (words[0] == "--version") {
    call.What = Invocation::Action::Version;
    return call;
  }
  call.Command = FindCommand(words[0]);
  if (!call.Command) {
    call.Complaint = "不认识的命令“" + DisplayPath(words[0]) + "”";
    return call;
  }
  call.Complaint = ParseCommandWords(*call.Command, words.subspan(1), call);
  if (call.Complaint.empty()) call.What = Invocation::Action::Run;
  return call;
}

std::string ToolUsage() {
  std::string text =
      "用法: gradesheet-cli COMMAND ARGS...\n"
      "      gradesheet-cli --help | --version\n\n"
      "命令:\n";
  for (const CommandSyntax& c : Commands()) {
    text += "  " + std::string(c.Name) + ' ' + std::string(c.Usage) + "\n      " + std::string(c.Help);
    if (c.MaxOperands == kManyOperands) text += kSeveralFiles;
    text += '\n';
  }
  text +=
      "\n输出的文字为UTF-8编码；名字以“-”开头的文件放在“--”之后。\n"
      "退出码：0 完成，1 用法有误，2 文件无法读取或写入（不存在、无法读取、不是成绩文件、\n"
      "磁盘已满、输出会替换输入文件）。\n";
  return text;
}

std::string CommandUsage(const CommandSyntax& syntax) {
  return "用法: gradesheet-cli " + std::string(syntax.Name) + ' ' + std::string(syntax.Usage) + '\n';
}

}  // namespace cli
