#pragma once
// The grade files a batch command runs over when it is given several: the
// files named, in the order given, and the grade files found in the folders
// named. An office collects one file per teacher in a folder; what else lies
// there (a note, a spreadsheet, last year's PDF) is passed over with a word.
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class GradeBook;

namespace cli {

struct BatchInputs {
  std::vector<std::string> Files;  // named files as given; a folder's grade files in path order
  std::size_t Skipped = 0;         // files in folders that are not grade files
  std::size_t Unreadable = 0;      // folders (or entries of them) that could not be read
  bool Several = false;            // more than one operand or any folder: output lines name their file
};

// Reads the operands FILE|DIR: a folder is walked through every subfolder
// (links to folders are not followed); a file there whose first line is not
// the grade file's magic line is skipped, and standard error says so. A
// file named is taken as it is: loading it says what is wrong with it. A
// folder that cannot be read is said on standard error and counted.
BatchInputs GatherInputs(std::string_view command, const std::vector<std::string>& operands);

// Loads the files of `inputs` one by one and hands each book to `fn` (which
// may take it over; false stops the run), with a progress line "VERB i/n
// path". Returns how many failures the run had: files that could not be
// loaded (each said by the loader), folders that could not be read, and a
// run over folders that found no grade file at all (said here).
std::size_t ForEachBook(std::string_view command, std::string_view verb, const BatchInputs& inputs,
                        const std::function<bool(const std::string& file, GradeBook& book)>& fn);

// What a run over several files says at its end on standard error:
// "N 个文件已检查，跳过 M 个，K 个有问题" in the command's words.
std::string FilesSummary(std::size_t checked, std::size_t skipped, std::size_t withFindings);

// A progress line on standard error for a run that lasts: shown only when
// standard error is a terminal and the run has taken more than a second,
// redrawn at most a few times a second, and wiped at the end.
class BatchProgress {
 public:
  BatchProgress();
  BatchProgress(const BatchProgress&) = delete;
  BatchProgress& operator=(const BatchProgress&) = delete;
  ~BatchProgress();

  // `utf8`: what is being done now, e.g. "3/40 path".
  void Show(std::string_view utf8);
  // Takes the line away, before another message is written or at the end.
  void Wipe();

 private:
  using Clock = std::chrono::steady_clock;
  bool terminal_;
  bool shown_ = false;
  Clock::time_point start_;
  Clock::time_point last_;
};

}  // namespace cli
