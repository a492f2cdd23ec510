#include "discovery/cups_version.h"

#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdlib>
#include <functional>

#include "discovery/command_lookup.h"
#include "discovery/shell.h"
#include "discovery/tmpfile.h"
#include "driver/log.h"
#include "driver/state.h"
#include "driver/text_file.h"

namespace {

// The HTTP probe's path buffers hold 80 bytes, its digit buffer 32; the file
// probes' digit buffer holds 24.
constexpr std::size_t kClientPathMax = 79;
constexpr std::size_t kServerDigitsMax = 31;
// More digits than this do not fit an int: such a text is refused.
constexpr std::size_t kFileDigitsMax = 9;

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// A raw value and the text it is reported with.
struct Found {
  int value = 0;
  std::string text;
};

// The first part of a line in path for which `start` gives the position of
// the version decides; the parts after it are not read.
using StartOfDigits = std::function<std::optional<std::size_t>(const std::string&)>;
std::optional<Found> decideInFile(const std::string& path, const StartOfDigits& start) {
  File file = openFile(path, "r");
  if (!file) return std::nullopt;
  for (std::string part; readPart(file.get(), part);) {
    if (auto at = start(part)) return Found{versionDigits(std::string_view(part).substr(*at)), part};
  }
  return std::nullopt;
}

// Position after `mark` followed (anywhere later) by `then`, past `then`.
std::optional<std::size_t> after(const std::string& part, std::string_view mark, std::string_view then) {
  const std::size_t at = part.find(mark);
  if (at == std::string::npos) return std::nullopt;
  const std::size_t next = part.find(then, at + mark.size());
  if (next == std::string::npos) return std::nullopt;
  return next + then.size();
}

std::optional<Found> fromCupsConfig() {
  std::optional<std::string> tool;
  for (const char* path : {"/usr/bin/cups-config", "/usr/sbin/cups-config", "/sbin/cups-config"})
    if (exists(path)) {
      tool = path;
      break;
    }
  if (!tool) return std::nullopt;
  const std::string output = myTmpName("/tmp", "WOX");
  runShell(shellWord(*tool) + " --version > " + " " + shellWord(output));
  std::string line;
  if (File file = openFile(output, "r")) readPart(file.get(), line);
  ::unlink(output.c_str());
  return Found{versionDigits(line), line};
}

std::optional<Found> fromPrintersConf() {
  return decideInFile("/etc/cups/printers.conf",
                      [](const std::string& part) { return after(part, "Printer configuration", " v"); });
}

std::optional<Found> fromDocIndex() {
  return decideInFile("/usr/share/cups/doc/index.html", [](const std::string& part) {
    auto at = after(part, "<TITLE>", "CUPS");
    while (at && *at < part.size() && part[*at] == ' ') ++*at;
    return at;
  });
}

std::optional<Found> fromDocDirectories() {
  for (int n = 0; n <= 5; ++n) {
    const std::string dir = format("%s/cups-1.%d", "/usr/share/doc", n);
    if (exists(dir)) return Found{1000 + 100 * n, dir};
  }
  return std::nullopt;
}

std::string firstExisting(const char* preferred, const char* other) {
  return exists(preferred) ? preferred : other;
}

std::optional<Found> fromPostScriptTestPage() {
  return decideInFile(firstExisting("/etc/cups/data/testprint.ps", "/usr/share/cups/data/testprint.ps"),
                      [](const std::string& part) { return after(part, "Printed Using CUPS", " v"); });
}

std::optional<Found> fromTextTestPage() {
  return decideInFile(firstExisting("/usr/share/cups/data/testprint", "/etc/cups/data/testprint"),
                      [](const std::string& part) -> std::optional<std::size_t> {
                        std::string lower = part;
                        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                        std::size_t at = lower.find("produced by cups");
                        if (at == std::string::npos) return std::nullopt;
                        at += 16;
                        while (at < part.size() && std::string_view(" \tvV").find(part[at]) != std::string_view::npos)
                          ++at;
                        return at;
                      });
}

}  // namespace

int scaleVersion(int v) {
  if (v <= 0) return v;
  while (v <= 999) v *= 10;
  while (v > 9999) v /= 10;
  return v;
}

int versionDigits(std::string_view text) {
  std::string digits;
  for (char c : text) {
    if (c == '.') continue;
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    if (digits.size() == kFileDigitsMax) return 0;
    digits += c;
  }
  return digits.empty() ? 0 : static_cast<int>(std::strtol(digits.c_str(), nullptr, 10));
}

std::optional<int> versionFromServerLine(std::string_view line) {
  const std::size_t cups = line.find("CUPS");
  if (line.find("Server:") == std::string_view::npos || cups == std::string_view::npos) return std::nullopt;
  std::size_t at = cups + 4;
  if (at < line.size() && line[at] == '/') ++at;
  std::string digits;
  for (; at < line.size() && digits.size() < kServerDigitsMax; ++at) {
    const char c = line[at];
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.') break;
    digits += c;
  }
  float x = static_cast<float>(std::strtod(digits.c_str(), nullptr));
  if (x < 10)
    x = x * 100;
  else if (x < 100)
    x = x * 10;
  // A number beyond what an int holds is no version.
  if (!(x < 2147483520.0f)) return 0;
  return static_cast<int>(x);
}

std::string networkClient() {
  if (!state.sourceDir.empty()) {
    const std::string own = state.sourceDir + "/woxnc";
    if (own.size() > kClientPathMax) {
      if (exists(own)) logMsg(Msg::NetworkClientTooLong, state.sourceDir, static_cast<int>(kClientPathMax));
    } else if (exists(own)) {
      return own;
    }
  }
  if (exists("/opt/kwo/bin/woxnc")) return "/opt/kwo/bin/woxnc";
  return findCommand("nc").value_or("nc");
}

int cupsVersionFromServer() {
  const std::string answer = myTmpName("/tmp", "WOX");
  const std::string client = networkClient();
  runShell(format("#!/bin/sh\n%s localhost 631 >%s <<EOF\nHEAD / HTTP/1.1\nConnection: Close\n%c\nEOF\n",
                  shellWord(client), shellWord(answer), '\n'));
  int result = 0;
  if (File file = openFile(answer, "r")) {
    for (std::string part; readPart(file.get(), part);) {
      if (auto value = versionFromServerLine(part)) {
        result = *value;
        break;
      }
    }
  }
  ::unlink(answer.c_str());
  return result;
}

int cupsVersionFromFiles() {
  struct Source {
    std::optional<Found> (*probe)();
    Msg line;
  };
  static const std::array<Source, 6> kSources = {{
      {fromCupsConfig, Msg::CupsVersionFromTool},
      {fromPrintersConf, Msg::CupsVersionFromTool},
      {fromDocIndex, Msg::CupsVersionFromFile},
      {fromDocDirectories, Msg::CupsVersionFromFile},
      {fromPostScriptTestPage, Msg::CupsVersionFromFile},
      {fromTextTestPage, Msg::CupsVersionFromFile},
  }};
  for (const Source& source : kSources) {
    const auto found = source.probe();
    // 100 (1.0.0) and no digits at all are no result: the next source decides.
    if (!found || found->value == 100 || found->value <= 0) continue;
    const int version = scaleVersion(found->value);
    logMsg(source.line, version, found->text);
    return version;
  }
  logMsg(Msg::CupsVersionFromFile, 1400, text(Msg::CupsVersionReset));
  return 1400;
}

int probeCupsVersion() {
  const int raw = cupsVersionFromServer();
  if (raw <= 0) return cupsVersionFromFiles();
  const int version = scaleVersion(raw);
  logMsg(Msg::CupsHeaderVersion, version);
  return version;
}
