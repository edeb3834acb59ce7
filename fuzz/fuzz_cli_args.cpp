// The batch tool's command line on arbitrary words (the input split at NUL
// bytes): reading it never crashes; what it decides to run is always a
// command with the operands and options that command takes; complaints and
// shown names hold no control bytes and no broken UTF-8, and show every
// byte of a name.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/CommandLine.h"
#include "gradefile/FileMessages.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// DisplayPath undone: each \xNN back to its byte.
std::string Unshown(std::string_view shown) {
  std::string out;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown.substr(i, 2) == "\\x" && i + 4 <= shown.size()) {
      out += static_cast<char>(std::stoi(std::string(shown.substr(i + 2, 2)), nullptr, 16));
      i += 3;
    } else {
      out += shown[i];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  while (!input.empty() && words.size() < 32) {
    const std::size_t end = input.find('\0');
    words.emplace_back(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  }

  const cli::Invocation call = cli::ParseCommandLine(words);
  using Action = cli::Invocation::Action;
  switch (call.What) {
    case Action::Help:
      Check(words[0] == "--help" || words[0] == "-h" || words[0] == "help");
      break;
    case Action::Usage:
      Check(words.empty() || !call.Complaint.empty());
      Check(DisplayPath(call.Complaint) == call.Complaint);
      break;
    case Action::Run: {
      const cli::CommandSyntax* syntax = call.Command;
      Check(syntax != nullptr && syntax == cli::FindCommand(words[0]) && call.Complaint.empty());
      Check(call.Operands.size() >= syntax->MinOperands && call.Operands.size() <= syntax->MaxOperands);
      Check(!call.ByClass || (syntax->Options & cli::kByClass));
      Check(!call.Page || ((syntax->Options & cli::kPage) && *call.Page >= 1));
      Check(!call.Pages || ((syntax->Options & cli::kPageRange) && call.Pages->first >= 1 &&
                            call.Pages->first <= call.Pages->second));
      Check(call.Out.empty() != static_cast<bool>(syntax->Options & cli::kOutput));
      Check(!call.SettingsDir || ((syntax->Options & cli::kSettings) && !call.SettingsDir->empty()));
      Check(!call.Course || (syntax->Options & cli::kCourse));
      for (const std::string* column : {&call.CourseworkColumn, &call.ExamColumn, &call.StudentColumn})
        Check(column->empty() || (syntax->Options & cli::kColumns));
      Check(!call.DryRun || (syntax->Options & cli::kDryRun));
      // Every operand and option value is one of the words, as given.
      for (const std::string& operand : call.Operands) {
        bool found = false;
        for (std::size_t i = 1; i < words.size(); ++i) found = found || words[i] == operand;
        Check(found);
      }
      break;
    }
  }
  // The same words, the same reading.
  const cli::Invocation again = cli::ParseCommandLine(words);
  Check(again.What == call.What && again.Complaint == call.Complaint && again.Operands == call.Operands &&
        again.Out == call.Out && again.Page == call.Page && again.Pages == call.Pages);

  for (const std::string& word : words) {
    const std::string shown = DisplayPath(word);
    Check(DisplayPath(shown) == shown);
    for (char c : shown) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    if (word.find('\\') == std::string::npos) Check(Unshown(shown) == word);
  }
  return 0;
}
