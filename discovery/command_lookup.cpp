#include "discovery/command_lookup.h"

#include <unistd.h>

#include <array>

#include "driver/state.h"

namespace {

constexpr std::array<const char*, 12> kSystemDirs = {
    "/usr/bin", "/usr/sbin", "/usr/ucb", "/bin",    "/sbin",           "/usr/bsd",
    "/etc",     "/usr/etc",  "/usr/lib", "/lib",    "/usr/local/bin", "/usr/freeware/bin"};

constexpr std::array<const char*, 4> kCupsSubdirs = {"bin", "sbin", "etc", "lib"};

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

}  // namespace

std::optional<std::string> findCommand(const std::string& name) {
  for (const char* dir : kSystemDirs) {
    std::string candidate = std::string(dir) + "/" + name;
    if (exists(candidate)) return candidate;
  }
  return std::nullopt;
}

std::optional<std::string> findCupsCommand(const std::string& name) {
  if (state.cupsBinDir.empty()) return findCommand(name);
  for (const std::string* prefix : {&state.cupsBinDir, &state.cupsBaseDir}) {
    if (prefix->empty()) continue;
    for (const char* sub : kCupsSubdirs) {
      std::string candidate = *prefix + "/" + sub + "/" + name;
      if (exists(candidate)) return candidate;
    }
  }
  return name;
}
