#include "queues/cups_restart.h"

#include <unistd.h>

#include <optional>
#include <string>

#include "discovery/command_lookup.h"
#include "discovery/shell.h"
#include "driver/log.h"

namespace {

std::optional<std::string> existingCommand(const char* name) {
  auto path = findCommand(name);
  if (path && ::access(path->c_str(), F_OK) == 0) return path;
  return std::nullopt;
}

bool exists(const char* path) { return ::access(path, F_OK) == 0; }

}  // namespace

int restartCups() {
  int status = -1;
  if (const auto systemctl = existingCommand("systemctl")) {
    const std::string command = format("%s restart cups.service", shellWord(*systemctl));
    logMsg(Msg::RestartCommand, command);
    status = runShell(command);
  }
  logMsg(Msg::RestartResult, status);
  if (status == 0) return 0;

  std::optional<std::string> command;
  if (const auto service = existingCommand("service"))
    command = format("%s cups restart", shellWord(*service));
  else if (exists("/etc/init.d/cups"))
    command = "/etc/init.d/cups restart";
  else if (exists("/etc/init.d/cupsys"))
    command = "/etc/init.d/cupsys restart";
  else
    logMsg(Msg::CannotRestart);
  if (command) status = runShell(*command);
  logMsg(Msg::RestartResult, status);
  return status;
}
