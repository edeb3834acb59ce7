#pragma once
// Grade files for the GUI tests, built from readable UTF-8 and written as GBK.
#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

namespace testfiles {

// `gbk` cut or padded with blanks on the right to exactly `width` bytes.
std::string Pad(std::string gbk, std::size_t width);

// A 57-byte grade record; names and classes are UTF-8, grades ASCII or UTF-8.
std::string Record(const std::string& key, const std::string& number, const std::string& name,
                   const std::string& klass, const std::string& coursework,
                   const std::string& exam, const std::string& total,
                   const std::string& tail = "      ");

// A header line: key, tag and the UTF-8 payload as GBK.
std::string Head(const std::string& key, const std::string& tag, const std::string& payload);

// The magic line, then the lines, each ended by CR LF.
std::string FileBytes(const std::vector<std::string>& lines);

// Three courses: "k0001" (share 30, three students), "k0002" (share " 40 ",
// two students), "k0003" (no "t9", one student).
std::vector<std::string> ThreeCourses();

bool WriteFile(const QString& path, const std::string& bytes);
std::string ReadFile(const QString& path);

}  // namespace testfiles
