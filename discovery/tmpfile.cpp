#include "discovery/tmpfile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "driver/format.h"

static std::optional<std::string> makeStemp(const std::string& templ) {
  std::vector<char> name(templ.begin(), templ.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return std::nullopt;
  ::close(fd);
  return std::string(name.data());
}

std::string myTmpName(const std::string& dir, const char* prefix) {
  std::string base = dir;
  if (!base.empty() && base.back() == '/') base.pop_back();
  const auto made = makeStemp(base + "/WOXXXXXXX");
  if (!made) {
    std::fputs(format("myTmpName(%s,%s) Failed!\n", base, prefix ? prefix : "WOX").c_str(), stderr);
    std::exit(-1);
  }
  return base + made->substr(made->rfind('/'));
}

bool createExclusive(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

std::optional<std::string> exclusiveTmpFile(const std::string& wanted) {
  if (createExclusive(wanted)) return wanted;
  // Same directory and stem, six characters of mkstemp's own after it.
  return makeStemp(wanted + "XXXXXX");
}
