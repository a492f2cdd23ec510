#include "install/copy_loop.h"

#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "discovery/shell.h"
#include "driver/log.h"
#include "driver/state.h"
#include "install/fs_helpers.h"
#include "install/info_file.h"
#include "install/labels.h"
#include "install/manifest.h"
#include "install/uninstall_script.h"
#include "ppd/ppd_locations.h"

namespace {

constexpr const char* kFilterLink = "/usr/bin/woxgsfilter";
constexpr const char* kArchive = "/var/tmp/PlovaPPDFiles4.0-7.tar";
// A target is at most this long (a 512-byte buffer with its terminator).
constexpr std::size_t kTargetMax = 511;

void logBlanked(std::string line) {
  blankControls(line);
  logLine(line);
}

// Where the loop stands between items.
struct LoopState {
  bool copySwitch = false;
  bool madeDirectory = false;
  std::optional<std::string> target;  // the previous item's target, if any
};

void changeToSourceDir() {
  if (state.sourceDir == "/opt/kwo/bin") state.sourceDir = kDefaultInstallDir;
  if (::chdir(state.sourceDir.c_str()) == 0)
    logMsg(Msg::ChangedDir, state.sourceDir);
  else
    logMsg(Msg::CouldNotChangeDir, state.sourceDir);
}

// Makes the package PPD directory, falling back to <ppdDir>/kwo.
void preparePackagePpdDir() {
  const std::string& dir = state.packagePpdDir;
  if (dir.empty() || isDirectory(dir)) {
    logMsg(Msg::PackagePpdDirLine, dir);
    return;
  }
  if (::mkdir(dir.c_str(), 0777) == 0) {
    if (::chmod(dir.c_str(), 0755) == 0)
      logMsg(Msg::ChangedRights, dir, 0755);
    else
      logMsg(Msg::CouldNotChmodDir, dir);
    return;
  }
  logMsg(Msg::CouldNotCreateDir, dir);
  logMsg(Msg::FallingBackToModelDir, state.ppdDir);
  state.packagePpdDir = format("%s/kwo", state.ppdDir);
  if (isDirectory(state.packagePpdDir)) return;
  if (makeDir(state.packagePpdDir, 1, 0766) < 0) logMsg(Msg::InstallDirNotOk, state.packagePpdDir);
}

void checkInstallDir() {
  int result;
  if (state.upgradeMode == 0) {
    if (state.installDir == kDefaultInstallDir) makePath(state.installDir);
    result = makeDir(state.installDir, 1, 0777);
  } else {
    result = makeDir(state.installDir, 0, 0777);
  }
  if (result < 0) {
    logMsg(Msg::InstallDirNotOk, state.installDir);
    endRun(0);
  }
  logBlanked(format(text(Msg::InstallDirLine), state.installDir));
}

void settleInfoFile() {
  switch (state.upgradeMode) {
    case 0:
      writeInfoFile();
      logBlanked(format(text(Msg::CreatingInfoFile), state.installDir));
      break;
    case 1:
      convertInfoFile();
      logBlanked(format(text(Msg::ConvertingInfoFile), state.installDir));
      break;
    default:
      logBlanked(format(text(Msg::SkippingInfoFile), state.installDir));
      break;
  }
}

// The directory that receives "?" items.
std::string ppdTarget() {
  if (!state.packagePpdDir.empty() && isDirectory(state.packagePpdDir)) return state.packagePpdDir;
  if (!state.ppdDir.empty() && isDirectory(state.ppdDir)) return state.ppdDir;
  return "/tmp";
}

// The target of an item by its destination; none when the item has no
// place to go (no previous target, or a target too long to hold).
std::optional<std::string> targetOf(const InstallItem& item, LoopState& loop) {
  const std::string& d = item.destination;
  std::string target;
  bool alwaysMake = false;
  if (d == "." || d == "/") {
    target = format("%s/%s", state.installDir, item.source);
  } else if (d == "?") {
    target = ppdTarget();
    loop.copySwitch = true;
  } else if (d.size() > 2 && d.compare(0, 2, "./") == 0) {
    target = format("%s/%s", state.installDir, d.substr(2));
    alwaysMake = true;
  } else if (d.size() > 2 && d[0] == '/') {
    target = d;
    alwaysMake = true;
  } else if (loop.target) {
    target = *loop.target;
  } else {
    return std::nullopt;
  }
  if (target.size() > kTargetMax) {
    logMsg(Msg::TargetTooLong, item.source, static_cast<int>(kTargetMax));
    return std::nullopt;
  }
  if (alwaysMake || loop.madeDirectory) makeDir(target, 1, 0777);
  if (alwaysMake) loop.madeDirectory = true;
  return target;
}

// The files that the shell's expansion of source names: the matches of the
// pattern, or source itself when nothing matches or it is no pattern.
std::vector<std::string> expandSource(const std::string& source) {
  std::vector<std::string> names;
  glob_t found{};
  if (::glob(source.c_str(), GLOB_NOCHECK, nullptr, &found) == 0)
    for (std::size_t i = 0; i < found.gl_pathc; ++i) names.emplace_back(found.gl_pathv[i]);
  ::globfree(&found);
  if (names.empty()) names.push_back(source);
  return names;
}

std::string lastComponent(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Gives every copied file its mode: the file of that name in the target
// directory, or the target itself when cp wrote the file there.
void setModes(const std::vector<std::string>& copied, const std::string& target, int mode) {
  const bool intoDirectory = isDirectory(target);
  for (const std::string& name : copied) {
    const std::string modePath = intoDirectory ? format("%s/%s", target, lastComponent(name)) : target;
    if (::chmod(modePath.c_str(), static_cast<mode_t>(mode)) == 0)
      logMsg(Msg::ChangedRights, modePath, mode);
    else
      logMsg(Msg::CouldNotChmod, modePath, mode);
  }
}

bool isCopied(const InstallItem& item, const std::string& target, const LoopState& loop) {
  if (item.source.size() <= 2 && item.source != "nc") return false;
  return target.size() > 2 && loop.copySwitch;
}

void installItem(int number, const InstallItem& item, LoopState& loop) {
  if (state.debugLevel > 0)
    std::fputs(format(text(Msg::CopyTraceItem), number, item.source, item.destination, item.mode).c_str(),
               stderr);
  loop.target = targetOf(item, loop);
  if (!loop.target) return;
  const std::string& target = *loop.target;
  if (!isCopied(item, target, loop)) return;

  // The expansion is taken before the copy: a pattern's matches are the
  // files that cp is about to copy.
  const std::vector<std::string> copied = expandSource(item.source);
  std::string status = format(text(Msg::CopyingFile), item.source, target);
  blankControls(status);
  // The source stays unquoted so that its pattern expands; the manifest
  // reader lets only file-name and pattern characters through.
  const std::string command = format("%s  %s %s", shellWord(state.cmdCp), item.source, shellWord(target));
  if (runShell(command) != 0) {
    logLine(status + text(Msg::Wrong));
    return;
  }
  logLine(status);
  if (item.mode > 0) setModes(copied, target, item.mode);
}

// Links the filter into /usr/bin. A dangling link left by an earlier
// installation elsewhere is replaced: it can only be ours, and it would
// block the link for good.
void linkFilter() {
  struct stat info {};
  if (::access(kFilterLink, F_OK) != 0 && ::lstat(kFilterLink, &info) == 0 && S_ISLNK(info.st_mode) &&
      ::unlink(kFilterLink) == 0)
    logMsg(Msg::RemovedDanglingLink, kFilterLink);
  if (::access(kFilterLink, F_OK) != 0) {
    const std::string target = format("%s/bin/woxgsfilter", state.installDir);
    std::string line = format(text(Msg::LinkLine), 1, kFilterLink, target);
    if (makeLink(target, kFilterLink) != 0) line += text(Msg::Wrong);
    logLine(line);
  }
  setLabel(kFilterLink, "-u system_u", 1);
  setLabel("/opt/kwo/bin/woxgsfilter", "-t bin_t", 1);
}

}  // namespace

void goInstall(int items) {
  changeToSourceDir();
  LoopState loop;
  loop.copySwitch = state.sourceDir != state.installDir;
  if (loop.copySwitch) logMsg(Msg::SetupAfterRpm, state.sourceDir);

  if (prepareInstallDir(state.installDir) != 1) {
    logMsg(Msg::CannotPrepareInstallDir, state.installDir);
    logMsg(Msg::QuitInstallation);
    endRun(0);
  }
  preparePackagePpdDir();
  if (state.upgradeMode == 1) archiveOldPpds(state.packagePpdDir);
  checkInstallDir();
  settleInfoFile();
  writeUninstallScript();
  logBlanked(text(Msg::StartScripts));

  const std::string start = format(text(Msg::CopyLoopStart), items);
  if (state.debugLevel > 0) std::fputs(start.c_str(), stderr);
  logLine(start);
  for (int i = 0; i < items && i < static_cast<int>(kItemTableSize); ++i)
    installItem(i, itemTable[static_cast<std::size_t>(i)], loop);
  linkFilter();
}

int archiveOldPpds(const std::string& directory) {
  if (::access(directory.c_str(), F_OK) != 0) {
    logMsg(Msg::CannotAccessPpdDir, directory);
    return -1;
  }
  // tar writes a fresh file of our own, which then replaces the archive's
  // name: whatever stood there (a planted link included) is not followed.
  // "--" keeps a file named like an option from being read as one.
  std::string temporary = std::string(kArchive) + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    logMsg(Msg::CouldNotMakeArchive, kArchive);
    return -1;
  }
  ::fchmod(fd, 0644);
  ::close(fd);
  const std::string script = format(
      "#!/bin/sh\nc=`pwd`\ncd %s || exit 1\ntar cf %s -- *\ns=$?\ncd \"${c}\"\nexit $s\n",
      shellWord(directory), shellWord(temporary));
  int status = runShell(script);
  if (status == 0 && ::rename(temporary.c_str(), kArchive) != 0) status = -1;
  if (status != 0) {
    ::unlink(temporary.c_str());
    logMsg(Msg::CouldNotSavePpdFiles, directory, status);
    return status;
  }
  logMsg(Msg::SavedPpdFiles, directory);
  logMsg(Msg::SavedPpdFilesTo, kArchive);
  return status;
}

void blankControls(std::string& text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
}
