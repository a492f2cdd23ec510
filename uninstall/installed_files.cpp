// Deleting the package's own files and directories from the install
// directory, one log line a path.
#include <sys/stat.h>
#include <unistd.h>

#include "driver/log.h"
#include "driver/state.h"
#include "uninstall/deinstall.h"

namespace {

// The filter's link in /usr/bin. It is looked at without following it: the
// filter it points to is gone by the time it is reached, and a dangling link
// must go with the package too.
constexpr const char* kFilterLink = "/usr/bin/woxgsfilter";

struct ListedFile {
  const char* format;  // below installDir ("%s"), unused for the filter link
  bool isFilterLink;
};

// In this order; the filter link is tried twice, so its second line always
// reads "Not possible!" once the first removed it.
constexpr ListedFile kFiles[] = {
    {"%s/plova", false},
    {"%s/plovaInfo4.0", false},
    {"%s/bin/woxgsfilter", false},
    {nullptr, true},
    {"%s/etc/UNINSTALLPLOVA", false},
    {"%s/bin/setup", false},
    {"%s/etc/plova4.0.png", false},
    {"%s/PLOVAINST.CONF", false},
    {"%s/etc/PLOVAINST.CONF", false},
    {nullptr, true},
    {"%s/bin/nc", false},
};

constexpr const char* kDirectories[] = {"%s/Default", "%s/ppd", "%s/etc", "%s/bin"};

std::string listedPath(const ListedFile& file) {
  return file.isFilterLink ? std::string(kFilterLink) : format(file.format, state.installDir);
}

// A package file exists when what it names exists (a dangling link inside the
// install directory counts as missing and stays); the filter link exists as
// soon as the link itself does.
bool fileExists(const std::string& path, bool noFollow) {
  struct stat st {};
  return (noFollow ? ::lstat(path.c_str(), &st) : ::stat(path.c_str(), &st)) == 0;
}

void report(Msg line, const std::string& path, bool ok) {
  logLine(format(text(line), path) + text(ok ? Msg::DeleteOk : Msg::DeleteNotPossible));
}

}  // namespace

void deleteInstalledFiles(int doDelete) {
  if (::chdir(state.installDir.c_str()) != 0) {
    logMsg(Msg::InstallDirNotOk, state.installDir);
    return;
  }
  for (const ListedFile& file : kFiles) {
    const std::string path = listedPath(file);
    bool ok = fileExists(path, file.isFilterLink);
    if (ok && doDelete) ok = ::unlink(path.c_str()) == 0;
    report(Msg::DeletingFile, path, ok);
  }
  for (const char* fmt : kDirectories) {
    const std::string path = format(fmt, state.installDir);
    struct stat st {};
    bool ok = ::stat(path.c_str(), &st) == 0;
    if (ok && doDelete) ok = removeTree(path) == 0;
    report(Msg::DeletingDirectory, path, ok);
  }
}
