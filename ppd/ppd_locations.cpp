#include "ppd/ppd_locations.h"

#include <sys/stat.h>
#include <unistd.h>

#include "driver/state.h"

int isDirectory(const std::string& path) {
  struct stat info {};
  return ::access(path.c_str(), F_OK) == 0 && ::stat(path.c_str(), &info) == 0 &&
                 S_ISDIR(info.st_mode)
             ? 1
             : 0;
}

int findCupsModelDir() {
  state.ppdDir = "/usr/share/cups/model";
  return 0;
}

int findSystemPpdDir() {
  state.systemPpdDir = "/usr/share/cups/model";
  return 0;
}

int findPpdLocations(std::string&) {
  state.packagePpdDir.clear();
  findCupsModelDir();
  findSystemPpdDir();
  return 0;
}
