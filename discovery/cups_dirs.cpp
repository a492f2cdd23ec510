#include "discovery/cups_dirs.h"

#include <unistd.h>

#include <array>
#include <vector>

#include "driver/state.h"

std::optional<std::string> getCupsDir(const std::string& key) {
  if (key != "datadir") return std::nullopt;
  static constexpr std::array<const char*, 5> kFixed = {
      "/usr/share/cups", "/usr/local/share/cups", "/usr/local/cups", "/usr/cups", "/etc/share/cups"};
  std::vector<std::string> candidates;
  if (!state.cupsBinDir.empty()) candidates.push_back(state.cupsBinDir + "/share/cups");
  candidates.insert(candidates.end(), kFixed.begin(), kFixed.end());
  for (const std::string& candidate : candidates)
    if (::access(candidate.c_str(), F_OK) == 0) return candidate;
  return std::nullopt;
}
