#include "app/cli/AnalysisCommand.h"

#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/BatchFiles.h"
#include "app/cli/BatchInputs.h"
#include "app/cli/OffscreenGui.h"
#include "gradefile/FileMessages.h"
#include "gradefile/GradeBook.h"
#include "printing/CourseAnalysis.h"
#include "printing/PrintSettings.h"
#include "printing/qt/AnalysisOutput.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

namespace {

using cli::Invocation;

constexpr std::string_view kCommand = "analysis";
constexpr std::string_view kHeading =
    "key\tclass\tstudents\tscored\tlevels\tuncounted\tmean\tmedian\tsd\tmax\tmin\tpass_rate\texcellent_rate\t"
    "band_90\tband_80\tband_70\tband_60\tband_0\tlevel_1\tlevel_2\tlevel_3\tlevel_4\tlevel_5\n";

// Keys and class codes as printed: no byte of the data splits a line or a field.
std::string TrimmedShown(std::string_view gbk) { return cli::Shown(TrimmedBlanks(gbk)); }

void PrintFigures(cli::StandardOutput& out, std::string_view prefix, const AnalysisFigures& f) {
  out << prefix << TrimmedShown(f.CourseKey) << '\t' << TrimmedShown(f.ClassCode) << '\t' << f.Students << '\t'
      << f.Scored << '\t' << f.Levels << '\t' << f.Uncounted << '\t' << f.Mean << '\t' << f.Median << '\t' << f.Sd
      << '\t' << (f.Max ? std::to_string(*f.Max) : std::string()) << '\t'
      << (f.Min ? std::to_string(*f.Min) : std::string()) << '\t' << f.PassRate << '\t' << f.ExcellentRate;
  for (std::int64_t band : f.Bands) out << '\t' << band;
  for (std::int64_t level : f.LevelCounts) out << '\t' << level;
  out << '\n';
}

// One book's part of the run: its lines printed (after `prefix`), or its
// courses (those of `key`, when given) kept for the pages.
void AnalyseBook(const Invocation& call, const GradeBook& book, const std::optional<std::string>& key,
                 std::string_view prefix, cli::StandardOutput* out, std::vector<CourseAnalysis>& pages) {
  if (out && call.ByClass) {
    for (const AnalysisFigures& group : AnalyseClassGroups(book)) {
      if (key && group.CourseKey != *key) continue;
      PrintFigures(*out, prefix, group);
      if (!out->Ok()) return;
    }
    return;
  }
  for (CourseAnalysis& course : AnalyseCourses(book)) {
    if (key && course.Whole.CourseKey != *key) continue;
    if (out) {
      PrintFigures(*out, prefix, course.Whole);
      if (!out->Ok()) return;
    } else {
      pages.push_back(std::move(course));
    }
  }
}

int WritePages(const Invocation& call, AnalysisFormat format, const std::vector<CourseAnalysis>& pages) {
  if (pages.empty()) {
    cli::Complain(kCommand, DisplayPath(call.File()) + ": 没有可分析的课程，未写入 " + DisplayPath(call.Out));
    return 2;
  }
  const cli::DrawingSession drawing;
  PrintSetup setup;
  ApplyDefaultPrintSettings(setup);
  const AnalysisWriteResult result = WriteAnalysis(call.Out, format, pages, setup.BodyFont);
  if (!result.Ok) {
    cli::Complain(kCommand, DisplayPath(call.Out) + "写入失败: " + FileErrorReason(result.Status) + "，未写入任何内容。");
    return 2;
  }
  if (format == AnalysisFormat::Pdf)
    std::cerr << "已将 " << result.Pages << " 门课程的成绩分析写入 " << DisplayPath(call.Out) << '\n';
  else
    std::cerr << "已将课程 " << TrimmedShown(pages.front().Whole.CourseKey) << " 的成绩分析页写入 "
              << DisplayPath(call.Out) << (pages.size() > 1 ? "（图片只含第一门课程）" : "") << '\n';
  return 0;
}

}  // namespace

int RunAnalysis(const Invocation& call) {
  const cli::BatchInputs inputs = cli::GatherInputs(kCommand, call.Operands);
  std::optional<AnalysisFormat> format;
  if (!call.Out.empty()) {
    format = AnalysisFormatOf(call.Out);
    if (!format) return cli::BadUsage(*call.Command, "-o: 输出文件名须以 .pdf、.png 或 .svg 结尾");
    if (const std::string refused = OutputRefusal(call.Out, inputs.Files); !refused.empty()) {
      cli::Complain(kCommand, refused);
      return 2;
    }
  }
  // Every file in turn: the lines of each, or the pages of all in one output.
  std::optional<cli::StandardOutput> out;
  if (!format) {
    out.emplace();
    *out << (inputs.Several ? "file\t" : "") << kHeading;
  }
  std::vector<CourseAnalysis> pages;
  int refusal = 0;
  bool courseFound = false;
  const std::size_t failed =
      cli::ForEachBook(kCommand, "分析", inputs, [&](const std::string& file, GradeBook& book) {
        std::optional<std::string> key;
        if (call.Course) {
          key = cli::CourseKeyOf(book, *call.Course);
          // Over several files the course is looked for in each; one file
          // that lacks it is an error of its own.
          if (!key) {
            if (!inputs.Several) refusal = cli::NoSuchCourse(kCommand, file, *call.Course);
            return inputs.Several;
          }
          courseFound = true;
        }
        AnalyseBook(call, book, key, inputs.Several ? DisplayPath(file) + '\t' : std::string(),
                    out ? &*out : nullptr, pages);
        return !out || out->Ok();
      });
  if (refusal != 0) return refusal;
  if (call.Course && !courseFound && inputs.Several && failed == 0)
    return cli::NoSuchCourse(kCommand, call.File(), *call.Course);
  if (out) return out->Finish(kCommand, failed > 0 ? 2 : 0);
  if (failed > 0) return 2;
  return WritePages(call, *format, pages);
}
