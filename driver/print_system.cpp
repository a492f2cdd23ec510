#include "driver/print_system.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <string_view>

#include "driver/state.h"

int schedulerFromEnvironment() {
  const char* value = std::getenv("WOXLPMODE");
  if (value == nullptr) value = std::getenv("PLOVALPMODE");
  if (value == nullptr) return kSchedulerNone;
  const std::string_view name = value;
  if (name == "CUPS") return kSchedulerCups;
  if (name == "LPRNG") return kSchedulerLprng;
  if (name == "LPR") return kSchedulerLpr;
  if (name == "LP") return kSchedulerLp;
  return kSchedulerNone;
}

bool findFoomaticRip() {
  static constexpr std::array<const char*, 9> kPaths = {
      "/usr/bin/foomatic-rip",
      "/bin/foomatic-rip",
      "/sbin/foomatic-rip",
      "/usr/local/bin/foomatic-rip",
      "/opt/bin/foomatic-rip",
      "/usr/lib/cups/filter/foomatic-rip",
      "/usr/local/lib/cups/filter/foomatic-rip",
      "/opt/lib/cups/filter/foomatic-rip",
      "/lib/cups/filter/foomatic-rip",
  };
  for (const char* path : kPaths)
    if (::access(path, F_OK) == 0) return true;
  return false;
}

// Until the process probes are written, nothing is detected.
int probeScheduler() { return kSchedulerNone; }

std::optional<std::string> cupsPrefixFromDaemon(const std::string&) { return std::nullopt; }

bool readCupsInitScript(std::string& prefix, std::string&) {
  prefix.clear();
  return false;
}
