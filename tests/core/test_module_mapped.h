#pragma once
// Whether a module of the program is mapped into this process. A module
// stays loaded once a test loaded it, so a test of a missing module means
// something only in a process of its own (as ctest runs every case).
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace testmodules {

inline bool Mapped(std::string_view name) {
  std::ifstream maps("/proc/self/maps");
  const std::string mapped((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
  return mapped.find("/lib" + std::string(name) + ".so") != std::string::npos;
}

}  // namespace testmodules
