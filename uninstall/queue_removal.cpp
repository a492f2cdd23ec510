// Deleting the package's queues: from the scheduler, their device and model
// files, and their own files below the install directory.
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "discovery/shell.h"
#include "driver/log.h"
#include "driver/state.h"
#include "queues/printer_list.h"
#include "uninstall/deinstall.h"

namespace {

bool exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

int runLogged(const std::string& command) {
  logMsg(Msg::DeleteExecuting, command);
  return runShell(command);
}

// The scheduler's own model file of the queue, none for a scheduler without.
std::optional<std::string> modelFile(const std::string& name) {
  if (state.schedulerType == kSchedulerLp) return "/usr/spool/lp/model/" + name;
  if (state.schedulerType == kSchedulerCups && state.cupsDataDir)
    return format("%s/model/%s", *state.cupsDataDir, name);
  return std::nullopt;
}

void removeFromScheduler(const std::string& name) {
  const std::string remove = format("%s -x%s 2>/dev/null", shellWord(state.cmdLpadmin), shellWord(name));
  if (runLogged(remove) == 0) return;
  const std::string lpstat = state.cmdLpstat.empty() ? "lpstat" : shellWord(state.cmdLpstat);
  runLogged(format("%s -p%s -l > /dev/null", lpstat, shellWord(name)));
  ::sleep(1);
  runLogged(remove);
}

// /dev/<name> goes only when it is something a queue could have left there:
// a regular file, a FIFO or a link. Device nodes such as /dev/zero stay.
void removeDeviceFile(const std::string& name) {
  const std::string path = "/dev/" + name;
  struct stat st {};
  if (path == "/dev/null" || ::lstat(path.c_str(), &st) != 0) return;
  if (S_ISREG(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISLNK(st.st_mode)) ::unlink(path.c_str());
}

void retireModelFile(const std::string& name) {
  const auto path = modelFile(name);
  if (!path || !exists(*path)) return;
  ::rename(path->c_str(), (*path + ".old").c_str());
  if (exists(*path)) ::unlink(path->c_str());
}

}  // namespace

bool isQueueNameSafe(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.size() <= kQueueNameMax;
}

int deleteQueue(const std::string& name) {
  const int type = state.schedulerType;
  if (type != kSchedulerNone && type != kSchedulerLp && type != kSchedulerCups) return 0;
  if (!isQueueNameSafe(name)) return 0;
  removeFromScheduler(name);
  removeDeviceFile(name);
  retireModelFile(name);
  return 1;
}

int deleteQueueFiles(const std::string& name) {
  if (!isQueueNameSafe(name)) return -1;
  const std::string dir = format("%s/%s", state.installDir, name);
  if (!exists(dir)) return -1;
  const int result = removeTree(dir);
  const std::string script = dir + ".sh";
  if (exists(script)) ::unlink(script.c_str());
  return result;
}

void deleteQueues() {
  // The head's own entry is the block's first line ("Default" in a file that
  // setup wrote): it is never deleted.
  for (PList* entry = state.printerList.next; entry && entry != &state.printerList; entry = entry->next) {
    const std::string& name = entry->queueName;
    if (name.empty() || name == "Default") continue;
    if (!isQueueNameSafe(name)) {
      logMsg(Msg::QueueNameRefused, name);
      continue;
    }
    deleteQueue(name);
    deleteQueueFiles(name);
    logMsg(Msg::DeletingPrinter, name);
  }
}
