#include "gradefile/OutputCheck.h"

#include <optional>

#include "gradefile/FileMessages.h"
#include "gradefile/GradeBook.h"
#include "platform/Files.h"
#include "text/Texts.h"

bool IsGradeFile(const std::string& path) {
  platform::FileStatus status;
  std::optional<platform::InputFile> file = platform::InputFile::Open(path, status);
  if (!file) return false;
  // The magic line and its line end are all there is to look at.
  std::string first(GradeTexts::MagicLine().size() + 2, '\0');
  std::size_t got = 0;
  while (got < first.size()) {
    const long n = file->Read(first.data() + got, first.size() - got, status);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  first.resize(got);
  GradeBook probe;
  return probe.ReadBytes(first);
}

std::string OutputRefusal(const std::string& out, std::span<const std::string> inputs) {
  const std::optional<platform::FileIdentity> target = platform::Identify(out);
  if (!target) return {};  // nothing there yet; the writer says why if it cannot create it
  for (const std::string& input : inputs) {
    const std::optional<platform::FileIdentity> read = platform::Identify(input);
    if (read && read->SameFile(*target)) {
      std::string text = DisplayPath(out) + std::string(texts::kOutputIsInput);
      if (input != out) text += ' ' + DisplayPath(input);
      return text + std::string(texts::kNotOverwritten);
    }
  }
  if (IsGradeFile(out)) return DisplayPath(out) + std::string(texts::kOutputIsGradeFile);
  return {};
}
