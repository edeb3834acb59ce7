#include "support/GradeFiles.h"

#include <QFile>

#include "text/Gbk.h"
#include "gradefile/GradeBook.h"

namespace testfiles {

std::string Pad(std::string gbk, std::size_t width) {
  gbk.resize(width, ' ');
  return gbk;
}

std::string Record(const std::string& key, const std::string& number, const std::string& name,
                   const std::string& klass, const std::string& coursework,
                   const std::string& exam, const std::string& total, const std::string& tail) {
  return key + "cj" + Pad(number, 10) + Pad(Gbk(name), 8) + Pad(Gbk(klass), 8) +
         Pad(Gbk(coursework), 6) + Pad(Gbk(exam), 6) + Pad(Gbk(total), 6) + Pad(tail, 6);
}

std::string Head(const std::string& key, const std::string& tag, const std::string& payload) {
  return key + tag + Gbk(payload);
}

std::string FileBytes(const std::vector<std::string>& lines) {
  std::string out = GradeTexts::MagicLine() + "\r\n";
  for (const auto& line : lines) out += line + "\r\n";
  return out;
}

std::vector<std::string> ThreeCourses() {
  return {
      Head("k0001", "tk", "数据库原理"),
      Head("k0001", "tj", "张老师"),
      Head("k0001", "tb", "计科2201"),
      Head("k0001", "t9", "30"),
      Record("k0001", "2022000001", "王小明", "计科2201", "80", "90", "87"),
      Record("k0001", "2022000002", "李华", "计科2201", "优", "", "", "XYZ123"),
      Record("k0001", "2022000003", "赵四", "计科2202", "855", "o", "缺考"),
      Head("k0002", "tk", "高等数学"),
      Head("k0002", "tj", "李老师"),
      Head("k0002", "t9", " 40 "),
      Record("k0002", "2022000001", "王小明", "计科2201", "70", "60", "64"),
      Record("k0002", "2022000004", "钱五", "计科2201", "", "", ""),
      Head("k0003", "tk", "体育"),
      Head("k0003", "tj", "孙老师"),
      Record("k0003", "2022000005", "周六", "体育01", "合格", "", ""),
  };
}

bool WriteFile(const QString& path, const std::string& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
         static_cast<qint64>(bytes.size());
}

std::string ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

}  // namespace testfiles
