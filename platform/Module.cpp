#include "platform/Module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#ifndef GS_MODULE_DIR_FROM_PROGRAM
#define GS_MODULE_DIR_FROM_PROGRAM "../lib/gradesheet"
#endif

namespace platform {

namespace {

std::string ProgramDir() {
  std::vector<char> path(4096);
  const ssize_t got = ::readlink("/proc/self/exe", path.data(), path.size());
  if (got <= 0 || static_cast<std::size_t>(got) >= path.size()) return {};
  const std::string program(path.data(), static_cast<std::size_t>(got));
  return program.substr(0, program.rfind('/') + 1);
}

std::vector<std::string> ModuleDirs() {
  std::vector<std::string> dirs;
  if (const char* named = std::getenv("GRADESHEET_MODULE_DIR"); named != nullptr && *named != '\0')
    dirs.push_back(std::string(named) + "/");
  if (const std::string program = ProgramDir(); !program.empty()) {
    dirs.push_back(program);
    dirs.push_back(program + GS_MODULE_DIR_FROM_PROGRAM "/");
  }
  return dirs;
}

// A module stays loaded once found: its code may be running on other
// threads, and the program is short of nothing by keeping it.
void* Load(std::string_view name, std::string& why) {
  static std::mutex mutex;
  static std::map<std::string, void*, std::less<>> loaded;
  std::lock_guard lock(mutex);
  if (auto found = loaded.find(name); found != loaded.end()) return found->second;
  const std::string file = "lib" + std::string(name) + ".so";
  for (const std::string& dir : ModuleDirs()) {
    const std::string path = dir + file;
    if (::access(path.c_str(), F_OK) != 0) continue;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* error = ::dlerror();
      why = error != nullptr ? error : path;
      return nullptr;
    }
    loaded.emplace(std::string(name), handle);
    return handle;
  }
  why = file + ": not found";
  return nullptr;
}

}  // namespace

void* ModuleSymbol(std::string_view name, const char* symbol, std::string& why) {
  void* module = Load(name, why);
  if (module == nullptr) return nullptr;
  void* entry = ::dlsym(module, symbol);
  if (entry == nullptr) why = std::string(name) + ": no " + symbol;
  return entry;
}

}  // namespace platform
