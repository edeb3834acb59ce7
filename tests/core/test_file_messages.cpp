// What the user reads about files: paths with every byte visible, and the
// reasons of failures in Chinese.
#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <string>

#include "gradefile/FileMessages.h"
#include "platform/Files.h"

namespace {

struct PathCase {
  const char* Name;
  std::string Bytes;
  std::string Shown;
};
void PrintTo(const PathCase& c, std::ostream* os) { *os << c.Name; }

class DisplayPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(DisplayPaths, KeepUtf8AndShowEveryOtherByte) { EXPECT_EQ(DisplayPath(GetParam().Bytes), GetParam().Shown); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayPaths,
    ::testing::Values(PathCase{"ascii", "/home/t/grades 2024.txt", "/home/t/grades 2024.txt"},
                      PathCase{"chinese", "/home/老师/成绩.txt", "/home/老师/成绩.txt"},
                      PathCase{"fourByteCharacter", "/a/\xF0\x9F\x93\x84.txt", "/a/\xF0\x9F\x93\x84.txt"},
                      PathCase{"gbkName", "/a/\xD5\xC5\xC8\xFD.txt", "/a/\\xD5\\xC5\\xC8\\xFD.txt"},  // 张三
                      // 成绩 in GBK: its middle bytes happen to be the UTF-8 of "ɼ".
                      PathCase{"gbkPartlyUtf8", "/a/\xB3\xC9\xBC\xA8", "/a/\\xB3\xC9\xBC\\xA8"},
                      PathCase{"cutAtTheEnd", "/a/\xE6\x88", "/a/\\xE6\\x88"},
                      PathCase{"loneContinuation", "\x80x", "\\x80x"},
                      PathCase{"overlongSlash", "\xC0\xAF", "\\xC0\\xAF"},
                      PathCase{"surrogate", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
                      PathCase{"beyondUnicode", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
                      PathCase{"controls", "a\nb\x1B[2J\x7F", "a\\x0Ab\\x1B[2J\\x7F"},
                      // U+009B, the one-character escape sequence start, and U+00A0 after it.
                      PathCase{"c1Controls", "a\xC2\x9B" "2J\xC2\x85\xC2\xA0", "a\\xC2\\x9B2J\\xC2\\x85\xC2\xA0"},
                      PathCase{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

struct ReasonCase {
  const char* Name;
  int Errno;
  std::string Reason;
};
void PrintTo(const ReasonCase& c, std::ostream* os) { *os << c.Name; }

class Reasons : public ::testing::TestWithParam<ReasonCase> {};

// From the system's error number through the kind of failure to the text.
TEST_P(Reasons, AreChineseForTheCommonErrors) {
  EXPECT_EQ(FileErrorReason(platform::StatusOf(GetParam().Errno)), GetParam().Reason);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Reasons,
    ::testing::Values(ReasonCase{"none", 0, ""}, ReasonCase{"noSuchFile", ENOENT, "文件或文件夹不存在"},
                      ReasonCase{"notAFolderOnThePath", ENOTDIR, "文件或文件夹不存在"},
                      ReasonCase{"permission", EACCES, "没有访问权限"}, ReasonCase{"notPermitted", EPERM, "没有访问权限"},
                      ReasonCase{"readOnlyDisk", EROFS, "磁盘是只读的"}, ReasonCase{"diskFull", ENOSPC, "磁盘空间不足"},
                      ReasonCase{"quota", EDQUOT, "磁盘空间不足"}, ReasonCase{"folder", EISDIR, "这是文件夹，不是文件"},
                      ReasonCase{"tooLarge", EFBIG, "文件太大"}, ReasonCase{"nameTooLong", ENAMETOOLONG, "文件名太长"},
                      ReasonCase{"linkLoop", ELOOP, "符号链接绕成了循环"}, ReasonCase{"other", EIO, "系统错误 5"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Reasons, KindsWithoutANumberOfTheirOwn) {
  using platform::FileError;
  EXPECT_EQ(FileErrorReason({FileError::ReadOnlyFile, EACCES}), "文件是只读的");
  EXPECT_EQ(FileErrorReason({FileError::NotOwner, EACCES}), "文件属于其他用户，不能改写");
  EXPECT_EQ(FileErrorReason({FileError::NotRegular, 0}), "不是普通文件");
}

}  // namespace
