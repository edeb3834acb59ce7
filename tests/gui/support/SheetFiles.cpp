#include "support/SheetFiles.h"

#include <QFile>

#include "text/Gbk.h"

namespace {

std::string Pad(const std::string& gbk, std::size_t width) {
  std::string out = gbk.substr(0, width);
  out.resize(width, ' ');
  return out;
}

// Four-character names, different for every student of a file.
std::string StudentName(int course, int index) {
  static const char* const surnames[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄"};
  static const char* const given[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "军",
                                      "洋", "勇", "艳", "杰", "涛", "明", "超", "霞"};
  const int n = course * 1000 + index;
  std::string name = surnames[n % 8];
  name += given[(n / 8) % 16];
  name += given[(n / 128) % 16];
  return Gbk(name);
}

}  // namespace

std::string SheetStudentNumber(int course, int index) {
  std::string number = std::to_string(course % 100 + 100).substr(1) +
                       std::to_string(index % 10000 + 10000).substr(1);
  return "2023" + number;
}

std::vector<SheetFileCourse> UniformCourses(int courses, int perCourse) {
  std::vector<SheetFileCourse> out;
  for (int c = 0; c < courses; ++c) {
    // Five-digit keys, one per course.
    const std::string key = std::to_string(10000 + (c * 11) % 90000);
    out.push_back({key, "课程" + std::to_string(c + 1),
                   {"计科230" + std::to_string(2 * c % 10 + 1),
                    "计科230" + std::to_string(2 * c % 10 + 2)},
                   perCourse});
  }
  return out;
}

bool WriteSheetFile(const QString& path, const std::vector<SheetFileCourse>& courses) {
  static const std::string crlf = "\r\n";
  std::string out = Gbk("***** VelmoraTarvin版 *****") + crlf;
  for (std::size_t c = 0; c < courses.size(); ++c) {
    const SheetFileCourse& course = courses[c];
    const std::string& k = course.Key;
    std::string classes;
    for (const std::string& cls : course.Classes) classes += (classes.empty() ? "" : ",") + cls;
    const std::pair<const char*, std::string> head[] = {
        {"t0", Gbk("学生考试(考查)成绩表")}, {"t1", Gbk("2024-2025年度第一学期")},
        {"tk", Gbk(course.Name)},             {"tl", Gbk("必修")},
        {"tx", "3"},                          {"tz", "4"},
        {"tj", Pad(Gbk("陈建华"), 8)},        {"td", Gbk("计算机学院")},
        {"tr", std::to_string(course.Students)}, {"tf", Gbk("计算机科学与技术")},
        {"ty", Gbk("计算机学院")},            {"tb", Gbk(classes)},
        {"t9", "30"}};
    for (const auto& [tag, text] : head) out += k + tag + text + crlf;
    for (int i = 0; i < course.Students; ++i) {
      const std::string cls =
          course.Classes.empty() ? std::string() : Gbk(course.Classes[i % course.Classes.size()]);
      const int coursework = 60 + (i * 7) % 40;
      const int exam = 55 + (i * 11) % 45;
      const int total = (coursework * 30 + exam * 70 + 50) / 100;
      std::string line = k + "cj" + Pad(SheetStudentNumber(static_cast<int>(c), i), 10) +
                         Pad(StudentName(static_cast<int>(c), i), 8) + Pad(cls, 8) +
                         Pad(std::to_string(coursework), 6) + Pad(std::to_string(exam), 6) +
                         Pad(std::to_string(total), 6) + Pad("", 6);
      out += line + crlf;
    }
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(out.data(), static_cast<qint64>(out.size())) ==
         static_cast<qint64>(out.size());
}

QStringList NumbersOnUniformPage(int page) {
  QStringList out;
  const int course = (page - 1) / 2;
  const int first = (page - 1) % 2 * 40;
  for (int i = first; i < first + 40; ++i)
    out << QString::fromStdString(SheetStudentNumber(course, i));
  return out;
}
