#include "exchange/Export.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "exchange/Csv.h"
#include "exchange/TextCells.h"
#include "exchange/Workbook.h"
#include "gradefile/FileMessages.h"
#include "gradefile/Record.h"
#include "grading/GradeCheck.h"
#include "platform/Files.h"
#include "platform/Module.h"
#include "text/Blanks.h"
#include "text/Gbk.h"
#include "text/Texts.h"

namespace exchange {

namespace {

constexpr std::size_t kSheetNameMax = 31;         // characters, Excel's limit
constexpr std::size_t kSheetRows = 1048576;        // rows of an Excel worksheet
constexpr std::size_t kHeadingBlockRows = 6;       // five lines and a blank one
constexpr std::size_t kTableColumns = 7;

const std::array<const char*, kTableColumns> kTableHeadings = {"序号", "学号", "姓名", "班级",
                                                                "平时成绩", "考试成绩", "总成绩"};

std::string Trimmed(std::string_view text) { return std::string(TrimmedBlanks(text)); }

// The UTF-8 characters of a text, as views.
std::vector<std::string_view> Characters(std::string_view utf8) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    len = std::min(len, utf8.size() - i);
    out.push_back(utf8.substr(i, len));
    i += len;
  }
  return out;
}

// How wide a text shows in a worksheet column, in widths of a digit: Chinese
// characters take about two.
double ShownWidth(std::string_view utf8) {
  double width = 0;
  for (std::string_view c : Characters(utf8)) width += c.size() >= 3 ? 2.0 : 1.0;
  return width;
}

// A name without regard to ASCII case, as Excel compares sheet names.
std::string Folded(std::string_view utf8) {
  std::string out(utf8);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string CutToCharacters(std::string_view utf8, std::size_t count) {
  std::string out;
  const auto chars = Characters(utf8);
  for (std::size_t i = 0; i < chars.size() && i < count; ++i) out.append(chars[i]);
  return out;
}

std::string SheetBaseName(const ExportCourse& course) {
  std::string name = GbkToUtf8(course.Name);
  if (name.empty()) name = GbkToUtf8(course.Key);
  std::string clean;
  for (std::string_view c : Characters(name)) {
    const bool forbidden = c.size() == 1 && (std::string_view("[]:*?/\\").find(c[0]) != std::string_view::npos ||
                                             static_cast<unsigned char>(c[0]) < 0x20);
    clean.append(forbidden ? std::string_view("_") : c);
  }
  // Excel refuses an apostrophe at either end.
  if (!clean.empty() && clean.front() == '\'') clean.front() = '_';
  if (!clean.empty() && clean.back() == '\'') clean.back() = '_';
  if (clean.empty()) clean = "Sheet";
  return CutToCharacters(clean, kSheetNameMax);
}

// ---- writing ---------------------------------------------------------------

ExportResult Failure(const std::string& path, const std::string& reason) {
  return {false, DisplayPath(path) + std::string(texts::kExportFailed) + reason};
}

ExportResult Commit(const std::string& path, platform::OutputFile& out) {
  const platform::FileStatus status = out.Commit();
  if (!status.Ok()) return Failure(path, FileErrorReason(status));
  return {};
}

// Lays out one course's worksheet: a heading block, then the table with
// its heading row; plain numbers as numbers, every other grade as text.
class SheetPlanner {
 public:
  explicit SheetPlanner(std::string name) {
    plan_.Name = std::move(name);
    plan_.HeadingRow = kHeadingBlockRows;
    widths_.fill(0);
  }

  WorksheetPlan Plan(const ExportCourse& course) && {
    const std::array<std::pair<const char*, const std::string*>, 5> block = {{{"课程：", &course.Name},
                                                                            {"课程号：", &course.Key},
                                                                            {"教师：", &course.Teacher},
                                                                            {"上课班级：", &course.Classes},
                                                                            {"平时成绩占百分比：", &course.Share}}};
    for (std::size_t r = 0; r < block.size(); ++r) {
      // The text runs on over the empty cells to its right, so the table's
      // columns keep the widths of their own content.
      Text(r, 0, block[r].first + GbkToUtf8(*block[r].second), r == 0 ? CellLook::Bold : CellLook::Plain, false);
    }
    const std::size_t headingRow = kHeadingBlockRows;
    for (std::size_t c = 0; c < kTableColumns; ++c) Text(headingRow, c, kTableHeadings[c], CellLook::Heading);
    plan_.Cells.reserve(plan_.Cells.size() + course.Students.size() * kTableColumns);
    for (std::size_t i = 0; i < course.Students.size(); ++i) {
      const ExportStudent& s = course.Students[i];
      const std::size_t row = headingRow + 1 + i;
      Number(row, 0, std::to_string(i + 1), static_cast<double>(i + 1));
      // The student number stays text: leading zeros and long numbers intact.
      Text(row, 1, GbkToUtf8(s.Number));
      Text(row, 2, GbkToUtf8(s.Name));
      Text(row, 3, GbkToUtf8(s.Class));
      Grade(row, 4, s.Coursework);
      Grade(row, 5, s.Examination);
      Grade(row, 6, s.Total);
    }
    for (double width : widths_) plan_.ColumnWidths.push_back(std::max(6.0, width * 1.1 + 2));
    return std::move(plan_);
  }

 private:
  void Text(std::size_t row, std::size_t col, std::string utf8, CellLook look = CellLook::Plain, bool measured = true) {
    if (utf8.empty()) return;
    if (measured) widths_[col] = std::max(widths_[col], ShownWidth(utf8));
    WorkbookCell cell;
    cell.Row = static_cast<std::uint32_t>(row);
    cell.Column = static_cast<std::uint16_t>(col);
    cell.Text = std::move(utf8);
    cell.Look = look;
    plan_.Cells.push_back(std::move(cell));
  }
  void Number(std::size_t row, std::size_t col, const std::string& shown, double value) {
    widths_[col] = std::max(widths_[col], ShownWidth(shown));
    WorkbookCell cell;
    cell.Row = static_cast<std::uint32_t>(row);
    cell.Column = static_cast<std::uint16_t>(col);
    cell.IsNumber = true;
    cell.Number = value;
    cell.Look = CellLook::Centered;
    plan_.Cells.push_back(std::move(cell));
  }
  // A grade: a plain number as a number, any other text as text.
  void Grade(std::size_t row, std::size_t col, const std::string& gbk) {
    std::string ascii;
    if (IsPlainNumber(TrimGbk(gbk), &ascii)) {
      Number(row, col, ascii, std::strtod(ascii.c_str(), nullptr));
    } else {
      Text(row, col, GbkToUtf8(gbk), CellLook::Centered);
    }
  }

  WorksheetPlan plan_;
  std::array<double, kTableColumns> widths_;
};

}  // namespace

std::vector<ExportCourse> CoursesForExport(const GradeBook& book, std::optional<std::string_view> key) {
  std::vector<ExportCourse> courses;
  std::unordered_map<std::string, std::size_t> index;
  for (const std::string& k : book.CourseKeys) {
    if (key && k != *key) continue;
    if (index.try_emplace(k, courses.size()).second) {
      courses.emplace_back();
      courses.back().Key = k;
    }
  }
  // A tag given twice in a course: the later line wins, as in the course list.
  for (const std::string& line : book.HeadLines) {
    auto it = index.find(std::string(KeyOf(line)));
    if (it == index.end()) continue;
    ExportCourse& c = courses[it->second];
    const std::string_view tag = TagOf(line);
    if (tag == "tk") c.Name = Trimmed(FieldFrom(line, kHeadValuePos));
    else if (tag == "tj") c.Teacher = Trimmed(FieldFrom(line, kHeadValuePos));
    else if (tag == "tb") c.Classes = Trimmed(FieldFrom(line, kHeadValuePos));
    else if (tag == "t9") c.Share = Trimmed(Field(line, kShareField));
  }
  for (const std::string& line : book.GradeLines) {
    auto it = index.find(std::string(KeyOf(line)));
    if (it == index.end()) continue;
    courses[it->second].Students.push_back({Trimmed(Field(line, record::Number)), Trimmed(Field(line, record::Name)),
                                            Trimmed(Field(line, record::Class)), Trimmed(Field(line, record::Coursework)),
                                            Trimmed(Field(line, record::Examination)), Trimmed(Field(line, record::Total))});
  }
  return courses;
}

std::string CsvExportBytes(const std::vector<ExportCourse>& courses, bool courseColumns) {
  std::string out = "\xEF\xBB\xBF";
  auto row = [&out](std::initializer_list<std::string_view> cells) {
    bool first = true;
    for (std::string_view cell : cells) {
      if (!first) out.push_back(',');
      first = false;
      out += CsvField(InertText(cell));
    }
    out += "\r\n";
  };
  std::array<std::string, kTableColumns> headings;
  for (std::size_t c = 0; c < kTableColumns; ++c) headings[c] = kTableHeadings[c];
  if (courseColumns) {
    row({"课程号", "课程", headings[0], headings[1], headings[2], headings[3], headings[4], headings[5],
         headings[6]});
  } else {
    row({headings[0], headings[1], headings[2], headings[3], headings[4], headings[5], headings[6]});
  }
  for (const ExportCourse& c : courses) {
    const std::string key = GbkToUtf8(c.Key), name = GbkToUtf8(c.Name);
    for (std::size_t i = 0; i < c.Students.size(); ++i) {
      const ExportStudent& s = c.Students[i];
      const std::string n = std::to_string(i + 1), number = GbkToUtf8(s.Number), who = GbkToUtf8(s.Name),
                        klass = GbkToUtf8(s.Class), cw = GbkToUtf8(s.Coursework), ex = GbkToUtf8(s.Examination),
                        total = GbkToUtf8(s.Total);
      if (courseColumns) row({key, name, n, number, who, klass, cw, ex, total});
      else row({n, number, who, klass, cw, ex, total});
    }
  }
  return out;
}

std::vector<std::string> XlsxSheetNames(const std::vector<ExportCourse>& courses) {
  std::vector<std::string> names;
  // Excel keeps "History" for itself.
  std::unordered_set<std::string> taken = {"history"};
  for (const ExportCourse& course : courses) {
    const std::string base = SheetBaseName(course);
    std::string name = base;
    for (int n = 2; taken.count(Folded(name)) != 0; ++n) {
      const std::string suffix = "(" + std::to_string(n) + ")";
      name = CutToCharacters(base, kSheetNameMax - suffix.size()) + suffix;
    }
    taken.insert(Folded(name));
    names.push_back(std::move(name));
  }
  return names;
}

std::optional<ExportFormat> ExportFormatOf(std::string_view path) {
  auto endsWith = [path](std::string_view suffix) {
    if (path.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), path.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char s, char p) { return s == (p >= 'A' && p <= 'Z' ? static_cast<char>(p - 'A' + 'a') : p); });
  };
  if (endsWith(".xlsx")) return ExportFormat::Xlsx;
  if (endsWith(".csv")) return ExportFormat::Csv;
  return std::nullopt;
}

ExportResult WriteCsvExport(const std::string& path, const std::vector<ExportCourse>& courses, bool courseColumns) {
  platform::FileStatus status;
  std::optional<platform::OutputFile> out = platform::OutputFile::Begin(path, status);
  if (!out) return Failure(path, FileErrorReason(status));
  out->Write(CsvExportBytes(courses, courseColumns));
  return Commit(path, *out);
}

ExportResult WriteXlsxExport(const std::string& path, const std::vector<ExportCourse>& courses) {
  // Excel opens no workbook without a worksheet.
  if (courses.empty()) return Failure(path, std::string(texts::kNothingToExport));
  for (const ExportCourse& c : courses) {
    if (c.Students.size() + kHeadingBlockRows + 1 > kSheetRows)
      return Failure(path, texts::TooManyStudents(GbkToUtf8(c.Key)));
  }
  platform::FileStatus status;
  std::optional<platform::OutputFile> out = platform::OutputFile::Begin(path, status);
  if (!out) return Failure(path, FileErrorReason(status));

  std::string why;
  auto* write = reinterpret_cast<WriteWorkbookFunction*>(
      platform::ModuleSymbol(kWorkbookModule, kWriteWorkbookSymbol, why));
  if (write == nullptr) {
    out->Abandon();
    return Failure(path, texts::NoExportModule(why));
  }
  std::vector<WorksheetPlan> sheets;
  sheets.reserve(courses.size());
  const std::vector<std::string> names = XlsxSheetNames(courses);
  for (std::size_t i = 0; i < courses.size(); ++i) sheets.push_back(SheetPlanner(names[i]).Plan(courses[i]));
  if (!write(out->WritablePath().c_str(), sheets, why)) {
    out->Abandon();
    return Failure(path, why.empty() ? std::string(texts::kNoWorkbook) : why);
  }
  return Commit(path, *out);
}

}  // namespace exchange
