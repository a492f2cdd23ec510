#include "ppd/model_links.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "driver/log.h"
#include "driver/state.h"
#include "install/fs_helpers.h"
#include "ppd/ppd_locations.h"

std::array<std::string, kModelLinkMax> linkNames;
std::array<std::string, kModelLinkMax> linkTargets;

namespace {

struct DirCloser {
  void operator()(DIR* d) const {
    if (d) ::closedir(d);
  }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

bool exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

std::string modelKwoPath() { return state.ppdDir + "/kwo"; }

// A symbolic link, or a directory that holds subdirectories.
bool isCandidateEntry(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) return true;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_nlink > 2;
}

// What the entry points to as a link; empty for a directory. None when the
// target does not fit a text.
std::optional<std::string> linkTargetOf(const std::string& path) {
  char buffer[kTextMax + 2];
  const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
  if (n < 0) return std::string();
  if (static_cast<std::size_t>(n) > kTextMax) {
    logMsg(Msg::LinkTargetTooLong, path, static_cast<int>(kTextMax));
    return std::nullopt;
  }
  return std::string(buffer, static_cast<std::size_t>(n));
}

// The tree whose links the scan looks for, by the location flags.
const char* treePattern() {
  if (state.ppdLocationFlags & 0x002) return "foomatic";
  if (state.ppdLocationFlags & 0x010) return "/usr/share/ppd";
  if (state.ppdLocationFlags & 0x020) return "/opt/share/ppd";
  return nullptr;
}

void record(int& count, const std::string& path, const std::string& target) {
  linkNames[static_cast<std::size_t>(count)] = path;
  linkTargets[static_cast<std::size_t>(count)] = target;
  ++count;
  logMsg(Msg::LinkLine, count, path, target);
}

// Makes packagePpdDir when it is missing; "Created directory" only when it
// is there afterwards.
void ensurePackagePpdDir() {
  logMsg(Msg::PackagePpdDirLine, state.packagePpdDir);
  if (isDirectory(state.packagePpdDir)) return;
  makeDir(state.packagePpdDir, 1, 0755);
  if (isDirectory(state.packagePpdDir))
    logMsg(Msg::CreatedDirectory, state.packagePpdDir);
  else
    logMsg(Msg::CouldNotCreateDir, state.packagePpdDir);
}

void linkIntoModelDir() {
  std::string line = format(text(Msg::LinkLine), 1, modelKwoPath(), state.packagePpdDir);
  if (makeLink(state.packagePpdDir, modelKwoPath()) != 0) line += text(Msg::Wrong);
  logLine(line);
}

// CUPS 1.3 and later find PPD files below the shared trees themselves.
int chooseForNewCups() {
  const int flags = state.ppdLocationFlags;
  std::string& dir = state.packagePpdDir;
  int result = 1;
  if (flags & 0x010) {
    if (flags & 0x200)
      dir = "/usr/share/ppd/openprinting/kwo";
    else if (flags & 0x100)
      dir = "/usr/share/ppd/kwo";
    else if (flags & 0x020)
      dir = contains(dir, "/usr/opt") ? "/usr/opt/ppd/kwo" : "/usr/share/ppd/kwo";
    else if (!contains(dir, "/usr/share"))
      dir = "/usr/share/ppd/kwo";
  } else if (flags & 0x020) {
    if (!contains(dir, "/usr/opt")) {
      dir = "/usr/opt/ppd/kwo";
    } else if (contains(dir, "/opt/share")) {
      dir = modelKwoPath();
      result = 0;
    } else {
      dir = "/opt/share/ppd/kwo";
    }
  } else {
    dir = modelKwoPath();
    result = 0;
  }
  ensurePackagePpdDir();
  return result;
}

// Older CUPS without a recorded link: a kwo directory in a shared tree,
// linked into the model directory.
int chooseForOldCupsWithoutLinks() {
  const int flags = state.ppdLocationFlags;
  if (flags & 0x010) {
    state.packagePpdDir = "/usr/share/ppd/kwo";
    logMsg(Msg::PackagePpdDirLine, state.packagePpdDir);
    if (exists(modelKwoPath())) return 1;
    if (!exists(state.packagePpdDir)) makeDir(state.packagePpdDir, 1, 0755);
    linkIntoModelDir();
    return 1;
  }
  if (flags & 0x020) {
    state.packagePpdDir = "/opt/share/ppd/kwo";
    logMsg(Msg::PackagePpdDirLine, state.packagePpdDir);
    if (exists(modelKwoPath())) return 1;
    linkIntoModelDir();
    return 1;
  }
  state.packagePpdDir = modelKwoPath();
  logMsg(Msg::PackagePpdDirLine, state.packagePpdDir);
  return 1;
}

// Older CUPS with recorded links: kwo below the tree a recorded link leads to.
int chooseForOldCupsWithLinks(int linkCount) {
  const int flags = state.ppdLocationFlags;
  const char* pattern = (flags & 0x008)   ? "custom"
                        : (flags & 0x002) ? "foomatic"
                        : (flags & 0x030) ? "/share/ppd"
                                          : nullptr;
  int result = 0;
  state.packagePpdDir = modelKwoPath();
  for (int i = 0; pattern && i < linkCount && i < kModelLinkMax; ++i) {
    const std::size_t at = static_cast<std::size_t>(i);
    if (!contains(linkNames[at], pattern)) continue;
    const std::string base = !linkTargets[at].empty() && linkTargets[at][0] == '/' ? linkTargets[at] : linkNames[at];
    const std::size_t slash = base.rfind('/');
    const std::string last = slash == std::string::npos ? base : base.substr(slash + 1);
    state.packagePpdDir = last == "kwo" ? base : base + "/kwo";
    result = 1;
    break;
  }
  ensurePackagePpdDir();
  return result;
}

}  // namespace

int scanModelLinks(int& linkCount) {
  if (!exists(state.ppdDir)) return 0;
  linkNames.fill(std::string());
  linkTargets.fill(std::string());
  int count = 0;
  int result = 0;
  Dir dir(::opendir(state.ppdDir.c_str()));
  for (struct dirent* entry; dir && count < kModelLinkMax && (entry = ::readdir(dir.get()));) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = state.ppdDir + "/" + name;
    if (contains(path, "foomatic")) result = -1;
    if (!isCandidateEntry(path)) continue;
    const std::optional<std::string> target = linkTargetOf(path);
    if (!target) continue;
    if (state.ppdLocationFlags & 0x008) {
      if (!contains(path, "custom")) continue;
      record(count, path, *target);
      result = 1;
      continue;
    }
    const char* pattern = treePattern();
    if (!pattern || !contains(*target, pattern)) continue;
    record(count, path, *target);
    result = 1;
    break;
  }
  if (result == 0) logMsg(Msg::NoKnownLinks, state.ppdDir);
  linkCount = count;
  return result;
}

int linkPackagePpdDir(const std::string& existingPpdDir, int linkCount) {
  if (!exists(state.ppdDir)) return 0;
  if (!existingPpdDir.empty()) {
    state.packagePpdDir = existingPpdDir;
    logMsg(Msg::PackagePpdDirLine, state.packagePpdDir);
    logMsg(Msg::UsingPreviousPpdDir, state.packagePpdDir);
    return 1;
  }
  if (state.cupsVersion >= 1300) return chooseForNewCups();
  if (linkCount <= 0) return chooseForOldCupsWithoutLinks();
  return chooseForOldCupsWithLinks(linkCount);
}
