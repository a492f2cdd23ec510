#include "install/labels.h"

#include "discovery/shell.h"
#include "driver/log.h"
#include "driver/state.h"
#include "install/fs_helpers.h"

int setLabel(const std::string& path, const std::string& options, int logIt) {
  if (!state.cmdChcon || state.cmdChcon->empty() || state.cmdChcon->front() != '/') return -1;
  // The options are the caller's own words; only the path is data.
  const std::string command =
      format("%s %s %s 2>/dev/null", shellWord(*state.cmdChcon), options, shellWord(path));
  const int status = runShell(command);
  if (logIt) logMsg(Msg::LabelResult, command, status);
  return status;
}

int prepareInstallDir(const std::string& directory) {
  if (state.installDirPrepared) return 1;
  if (directory.empty()) return 0;
  if (makeDir(directory, 1, 0777) < 0) {
    logMsg(Msg::NoKwoDir, directory);
    return 0;
  }
  const std::string bin = format("%s/bin", directory);
  if (makeDir(bin, 1, 0755) < 0) {
    logMsg(Msg::NoKwoBinDir, bin);
    return 0;
  }
  const std::string etc = format("%s/etc", directory);
  if (makeDir(etc, 1, 0755) < 0) {
    logMsg(Msg::NoKwoEtcDir, etc);
    return 0;
  }
  setLabel(bin, "-R -u system_u", 1);
  state.installDirPrepared = 1;
  return 1;
}
