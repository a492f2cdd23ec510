#include "install/fs_helpers.h"

#include <sys/stat.h>

#include "driver/log.h"

int makeDir(const std::string& path, int create, unsigned mode) {
  if (path.empty()) return -1;
  struct stat info {};
  const bool found = ::stat(path.c_str(), &info) == 0;
  if (create && !found && ::mkdir(path.c_str(), mode) == 0) {
    logLine(format("Created directory: '%s'.\n", path));
    if (::chmod(path.c_str(), mode) == 0)
      logLine(format("Changing execution rights of '%s' to  00%o.\n", path, mode));
    else
      logLine(format("Could not chmod %s to %o.\n", path, mode));
    return 1;
  }
  if (found && S_ISDIR(info.st_mode)) return 0;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? 0 : -1;
}

void makePath(const std::string&) {}
int makeLink(const std::string&, const std::string&) { return -1; }
void copyFile(const std::string&, const std::string&) {}
