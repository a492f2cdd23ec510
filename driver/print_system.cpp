#include "driver/print_system.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "discovery/shell.h"
#include "discovery/tmpfile.h"
#include "driver/format.h"
#include "driver/log.h"
#include "driver/state.h"
#include "driver/text_file.h"

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

namespace {

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

void trace(const std::string& text) {
  if (state.debugLevel > 0) std::fputs(text.c_str(), stderr);
}

// Removes one trailing newline.
void dropNewline(std::string& text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
}

// The process-listing and lpd-version files carry the process id in their
// names, which anyone can guess: they are created here, exclusively, before
// the shell writes into them, and a taken name is replaced by a fresh one.
std::optional<std::string> ownListingFile(const char* pattern) {
  return exclusiveTmpFile(format(pattern, static_cast<int>(::getpid())));
}

// Fills cupsBinDir and cupsBaseDir from the part of a listing line that
// shows cupsd at `match`. Any user can start a process whose command line
// names a cupsd below a directory of their own, and the commands found below
// cupsBinDir are run as root: the prefix is taken only from a process that
// runs as root. A part that continues a longer line without a blank before
// the match holds only the tail of the path: that cut path is not taken.
void findCupsInstallation(const std::string& part, std::size_t match, bool runsAsRoot, bool startsLine) {
  const std::size_t blank = part.rfind(' ', match);
  const std::string command = part.substr(blank == std::string::npos ? 0 : blank + 1);
  if (auto prefix = cupsPrefixFromDaemon(command)) {
    if (!runsAsRoot)
      trace(format("Not taking the CUPS prefix '%s' from a process that does not run as root.\n", *prefix));
    else if (blank == std::string::npos && !startsLine)
      trace(format("Not taking the CUPS prefix '%s' from a cut line.\n", *prefix));
    else
      state.cupsBinDir = *prefix;
  }

  std::string prefix, execPrefix;
  if (!readCupsInitScript(prefix, execPrefix)) return;
  if (!prefix.empty() && prefix != state.cupsBaseDir) state.cupsBaseDir = prefix;
  if (!execPrefix.empty() && execPrefix != state.cupsBinDir) state.cupsBinDir = execPrefix;
}

enum class ProbeResult { NoMatch, Lp, Lpd, Cups, Unreadable };

// One "ps -ef | grep <name>" probe. Lines are handled in parts of at most
// 255 characters; a part that shows grep (the search itself) is skipped.
ProbeResult probeDaemon(const char* name, int index, const std::string& listing) {
  const std::string command = format("ps -ef | grep %s > %s", name, shellWord(listing));
  runShell(command);
  ::sleep(1);

  File file = openFile(listing, "r");
  if (!file) {
    std::fputs(format("Cannot open file(cmd=%s) i=%d\n", command, index).c_str(), stderr);
    return ProbeResult::Unreadable;
  }
  const std::string_view wanted = name;
  // The owner (first column) of the line the current part belongs to; a
  // line longer than one part keeps the owner of its first part.
  std::string owner;
  bool lineStart = true;
  for (std::string part; readPart(file.get(), part);) {
    const bool startsLine = lineStart;
    if (startsLine) owner = part.substr(0, part.find_first_of(" \t\n"));
    lineStart = part.back() == '\n';
    trace(format("STRING=(%s) i=%d\n", part, index));
    if (part.find("grep") != std::string::npos) continue;
    const std::size_t match = part.find(wanted);
    if (match == std::string::npos) continue;
    if (wanted == "lpsched") return ProbeResult::Lp;
    if (wanted == "lpd") return ProbeResult::Lpd;
    if (index == 0) findCupsInstallation(part, match, owner == "root", startsLine);
    return ProbeResult::Cups;
  }
  return ProbeResult::NoMatch;
}

// The LPRng probe: an installed LPRng names itself in "lpd -V".
int probeLprng(int resultSoFar) {
  const auto output = ownListingFile("/tmp/WOXLPRNG%d");
  if (!output) return resultSoFar;
  runShell(format("lpd -V 2> %s", shellWord(*output)));
  int result = resultSoFar;
  if (File file = openFile(*output, "r")) {
    for (std::string part; readPart(file.get(), part);) {
      if (part.find("LPRng") != std::string::npos) {
        result = kSchedulerLprng;
        break;
      }
    }
  }
  ::unlink(output->c_str());
  return result;
}

}  // namespace

int probeScheduler() {
  static constexpr std::array<const char*, 4> kDaemons = {"cupsd", "lpsched", "lpd", "cupsd"};
  int result = kSchedulerNone;
  const auto listing = ownListingFile("/tmp/WOXLPD%d");
  if (!listing) {
    std::fputs(format("Cannot open file(cmd=%s) i=%d\n", "ps -ef", 0).c_str(), stderr);
    return probeLprng(result);
  }
  for (int i = 0; i < static_cast<int>(kDaemons.size()); ++i) {
    const ProbeResult found = probeDaemon(kDaemons[i], i, *listing);
    if (found == ProbeResult::NoMatch) continue;
    ::unlink(listing->c_str());
    switch (found) {
      case ProbeResult::Lp: return kSchedulerLp;
      case ProbeResult::Cups: return kSchedulerCups;
      case ProbeResult::Lpd: return probeLprng(kSchedulerLpr);
      default: return probeLprng(result);
    }
  }
  ::unlink(listing->c_str());
  return probeLprng(result);
}

std::optional<std::string> cupsPrefixFromDaemon(const std::string& text) {
  std::string command = text;
  if (!command.empty() && command.front() == ' ') command.erase(0, 1);
  if (command.empty() || command.front() != '/') return std::nullopt;
  for (int i = 0; i < 2; ++i)
    if (!command.empty() && (command.back() == '\n' || command.back() == '\r')) command.pop_back();
  if (command.find("cupsd") == std::string::npos) return std::nullopt;
  std::size_t cut = command.find("/sbin/cupsd");
  if (cut == std::string::npos) cut = command.find("/bin/cupsd");
  if (cut == std::string::npos) return std::nullopt;
  return command.substr(0, cut);
}

bool prefixesFromInitScript(std::FILE* script, std::string& prefix, std::string& execPrefix) {
  bool foundExecPrefix = false;
  for (std::string part; readPart(script, part);) {
    const std::size_t at = part.find("exec_prefix=");
    if (at == std::string::npos) continue;
    execPrefix = part.substr(at + 12);
    dropNewline(execPrefix);
    foundExecPrefix = true;
    break;
  }
  std::rewind(script);
  for (std::string part; readPart(script, part);) {
    const std::size_t at = part.find("prefix=");
    if (at == std::string::npos || part.find("exec_prefix=") != std::string::npos) continue;
    prefix = part.substr(at + 7);
    dropNewline(prefix);
    return true;
  }
  return foundExecPrefix;
}

namespace {

// The first start-up script that opens decides; the others are not read.
File firstReadableInitScript() {
  static constexpr std::array<const char*, 7> kScripts = {
      "/etc/init.d/cups",        "/etc/init.d/cupsys",   "/etc/rc.d/init.d/cups",
      "/sbin/init.d/cups",       "/etc/rc.d/init.d/cupsys", "/sbin/init.d/cupsys",
      "/etc/cups/cups",
  };
  for (const char* script : kScripts)
    if (File file = openFile(script, "r")) return file;
  return nullptr;
}

}  // namespace

bool readCupsInitScript(std::string& prefix, std::string& execPrefix) {
  prefix.clear();
  if (File script = firstReadableInitScript())
    if (prefixesFromInitScript(script.get(), prefix, execPrefix)) return true;

  if (!state.cupsBinDir.empty()) {
    if (!exists(state.cupsBinDir)) return false;
    execPrefix = state.cupsBinDir;
    if (state.cupsBinDir != "/usr") return false;
  } else {
    if (!exists("/usr/share/cups")) return false;
    execPrefix = "/usr";
  }
  if (!exists("/etc/cups")) return false;
  prefix = "/";
  return true;
}
