#pragma once
// A test with a state folder of its own: XDG_STATE_HOME points into the
// test's scratch folder while it runs.
#include <cstdlib>
#include <optional>
#include <string>

#include "test_gradebook_fixture.h"

namespace gradebook_test {

class StateFolderTest : public GradeBookTest {
 protected:
  void SetUp() override {
    GradeBookTest::SetUp();
    if (const char* old = std::getenv("XDG_STATE_HOME")) oldState_ = old;
    ::setenv("XDG_STATE_HOME", (dir_ / "state").c_str(), 1);
  }
  void TearDown() override {
    if (oldState_) ::setenv("XDG_STATE_HOME", oldState_->c_str(), 1); else ::unsetenv("XDG_STATE_HOME");
    GradeBookTest::TearDown();
  }
  std::optional<std::string> oldState_;
};

// A file of two courses, the second without a share line.
inline std::string TwoCourses() {
  return Join({Magic(), "C0001tk" + G("高等数学"), "C0001t9  30", Record("C0001", "2023040101", "张三", "机械1", "80", "70", "73"),
               Record("C0001", "2023040102", "李四", "机械1", "", "", ""), "C0002tk" + G("英语"),
               Record("C0002", "2023040101", "张三", "机械1", "90", "", "")});
}

}  // namespace gradebook_test
