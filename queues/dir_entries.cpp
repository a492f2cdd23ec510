#include "queues/dir_entries.h"

#include <dirent.h>

#include <memory>

namespace {
struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
}  // namespace

std::optional<std::vector<std::string>> listEntries(const std::string& directory) {
  std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.c_str()));
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  return names;
}
