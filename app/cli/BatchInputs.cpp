#include "app/cli/BatchInputs.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/cli/BatchFiles.h"
#include "gradefile/FileMessages.h"
#include "gradefile/GradeBook.h"
#include "gradefile/OutputCheck.h"
#include "platform/Files.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

constexpr auto kQuietFor = std::chrono::seconds(1);
constexpr auto kRedrawEvery = std::chrono::milliseconds(200);

// Every file below `folder` that is not a folder, in no order; false when
// a folder could not be read (said on standard error, the rest still read).
bool WalkFolder(std::string_view command, const fs::path& folder, std::vector<std::string>& files) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  bool whole = true;
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    // A link to a folder is not followed: it may lead back up the tree.
    if (it->is_directory(typeError) && !it->is_symlink(typeError)) {
      whole = WalkFolder(command, it->path(), files) && whole;
    } else if (!it->is_directory(typeError)) {
      files.push_back(it->path().string());
    }
  }
  if (error) {
    Complain(command, DisplayPath(folder.string()) + ": 无法读取文件夹: " +
                          FileErrorReason(platform::StatusOf(error.value())));
    whole = false;
  }
  return whole;
}

}  // namespace

BatchInputs GatherInputs(std::string_view command, const std::vector<std::string>& operands) {
  BatchInputs inputs;
  inputs.Several = operands.size() > 1;
  for (const std::string& operand : operands) {
    std::error_code error;
    if (!fs::is_directory(fs::path(operand), error)) {
      inputs.Files.push_back(operand);
      continue;
    }
    inputs.Several = true;
    std::vector<std::string> found;
    if (!WalkFolder(command, operand, found)) ++inputs.Unreadable;
    std::sort(found.begin(), found.end());
    for (std::string& file : found) {
      if (IsGradeFile(file)) {
        inputs.Files.push_back(std::move(file));
      } else {
        Complain(command, "跳过 " + DisplayPath(file) + ": 不是成绩文件");
        ++inputs.Skipped;
      }
    }
  }
  return inputs;
}

std::size_t ForEachBook(std::string_view command, std::string_view verb, const BatchInputs& inputs,
                        const std::function<bool(const std::string& file, GradeBook& book)>& fn) {
  BatchProgress progress;
  std::size_t failed = inputs.Unreadable;
  for (std::size_t i = 0; i < inputs.Files.size(); ++i) {
    const std::string& file = inputs.Files[i];
    // The loader's messages stand on lines of their own; the progress line
    // comes back after each file.
    progress.Wipe();
    GradeBook book;
    const bool loaded = LoadBook(file, book);
    progress.Show(std::string(verb) + ' ' + std::to_string(i + 1) + '/' + std::to_string(inputs.Files.size()) + ' ' +
                  DisplayPath(file));
    if (!loaded) {
      ++failed;
    } else if (!fn(file, book)) {
      break;
    }
  }
  if (inputs.Files.empty() && inputs.Unreadable == 0) {
    Complain(command, "没有找到成绩文件");
    ++failed;
  }
  return failed;
}

std::string FilesSummary(std::size_t checked, std::size_t skipped, std::size_t withFindings) {
  return "已检查 " + std::to_string(checked) + " 个文件，跳过 " + std::to_string(skipped) + " 个，" +
         std::to_string(withFindings) + " 个有可疑成绩";
}

BatchProgress::BatchProgress()
    : terminal_(platform::StandardErrorIsTerminal()), start_(Clock::now()), last_(start_) {}

BatchProgress::~BatchProgress() { Wipe(); }

void BatchProgress::Wipe() {
  if (shown_) std::cerr << "\r\033[K" << std::flush;
  shown_ = false;
}

void BatchProgress::Show(std::string_view utf8) {
  if (!terminal_) return;
  const Clock::time_point now = Clock::now();
  if (now - start_ < kQuietFor || (shown_ && now - last_ < kRedrawEvery)) return;
  last_ = now;
  shown_ = true;
  std::cerr << "\r\033[K" << utf8 << std::flush;
}

}  // namespace cli
