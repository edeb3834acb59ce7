#include "app/cli/VersionCommands.h"

#include <charconv>
#include <iostream>

#include "app/cli/BatchFiles.h"
#include "gradefile/FileMessages.h"
#include "gradefile/Versions.h"

int RunVersions(const cli::Invocation& call) {
  cli::StandardOutput out;
  int number = 0;
  for (const KeptVersion& version : ListVersions(call.File())) {
    out << ++number << '\t' << IsoTime(version.WrittenNs) << '\t' << version.Size << '\n';
    if (!out.Ok()) break;
  }
  return out.Finish("versions", 0);
}

int RunRestore(const cli::Invocation& call) {
  const std::string& text = call.Operands[1];
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < 1) {
    const cli::CommandSyntax* syntax = cli::FindCommand("restore");
    return cli::BadUsage(*syntax, "N 应为版本号（1 = 最新），不是 " + DisplayPath(text));
  }
  const RestoreResult result = RestoreVersion(call.File(), number);
  if (!result.Ok) {
    cli::Complain("restore", result.Message);
    return 2;
  }
  cli::StandardOutput out;
  out << result.Message << '\n';
  return out.Finish("restore", 0);
}
