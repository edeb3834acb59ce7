#pragma once
// The grade files opened last, newest first, as the file menu lists them.
// Paths are the system's bytes, kept as they are: a file named in GBK on a
// UTF-8 system is still found again. The list is stored as those bytes, one
// path a line, in the user's configuration folder.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class RecentFiles {
 public:
  static constexpr std::size_t kLimit = 8;
  // No path the system opens is longer; a longer line is damage.
  static constexpr std::size_t kMaxPathBytes = 4096;
  // The stored list is read this far at most, for its first kLimit paths.
  static constexpr std::size_t kMaxReadBytes = 1 << 20;

  // The list from a stored file's bytes; empty lines, relative paths,
  // lines longer than kMaxPathBytes and repeats are dropped, and at most
  // kLimit are kept.
  static RecentFiles Parse(std::string_view bytes);
  // The list stored in the file `path`, read line by line so that a damaged
  // line, however long, costs only itself; empty when there is none.
  static RecentFiles Read(const std::string& path);
  std::string Serialize() const;

  // Puts `path` first (taking it out of its old place); the oldest beyond
  // kLimit falls off. A path that is not absolute or holds a line end is
  // not listed.
  void Add(const std::string& path);
  // Takes `path` out of the list; false when it was not there.
  bool Remove(const std::string& path);

  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  // Takes one stored line (without its line end) when it is a listable new path.
  void Take(std::string_view line);

  std::vector<std::string> paths_;
};

// The name of the stored list in the user's configuration folder.
inline constexpr std::string_view kRecentFilesName = "recent-files";
