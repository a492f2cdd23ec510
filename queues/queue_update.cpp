#include "queues/queue_update.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "discovery/shell.h"
#include "discovery/tmpfile.h"
#include "driver/log.h"
#include "driver/questions.h"
#include "driver/state.h"
#include "driver/text_file.h"
#include "install/fs_helpers.h"
#include "queues/cups_restart.h"
#include "queues/option_carry.h"
#include "queues/queue_config.h"
#include "queues/queue_scan.h"

namespace {

std::string fileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool isDirectoryPath(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A directory of this process alone below /tmp (mode 0700), so no name in
// it can have been planted by someone else.
std::string makePrivateTmpDir() {
  std::string templ = "/tmp/woxinXXXXXX";
  return ::mkdtemp(templ.data()) ? templ : std::string();
}

void removePrivateTmpDir(const std::string& dir, const std::vector<std::string>& names) {
  for (const std::string& name : names) ::unlink((dir + "/" + name).c_str());
  ::rmdir(dir.c_str());
}

// The rewrite of one new PPD from its private copy into outName.
bool rewriteNewPpd(const std::string& input, const std::string& outName, OptList* optionList, int optionCount,
                   const std::string& queueName) {
  File in = openFile(input, "r");
  if (!in) {
    logMsg(Msg::ProblemOpening, input, queueName);
    return false;
  }
  File out = openFile(outName, "w");
  if (!out) {
    logMsg(Msg::ProblemOpening, outName, queueName);
    return false;
  }
  processNewPPD(in.get(), out.get(), optionList, optionCount);
  return std::fflush(out.get()) == 0 && !std::ferror(out.get());
}

}  // namespace

std::string backupPath(const std::string& searchDir, const std::string& ppdPath) {
  const std::size_t ppd = searchDir.find("/ppd");
  const std::string base = ppd == std::string::npos ? searchDir : searchDir.substr(0, ppd + 1);
  return base + fileNameOf(ppdPath) + ".rpmsave";
}

int savePpdBackup(const std::string& searchDir, const std::string& ppdPath, const std::string& queueName) {
  const std::string backup = backupPath(searchDir, ppdPath);
  // cp into a directory succeeds without making the backup the file needs.
  const int status = isDirectoryPath(backup)
                         ? -1
                         : runShell(format("%s -f %s %s", state.cmdCp, shellWord(ppdPath), shellWord(backup)));
  logMsg(Msg::SavingBackup, ppdPath, backup, status);
  if (status == 0) return 1;
  logMsg(Msg::BackupFailed, ppdPath, queueName);
  return 0;
}

int makeNewPpd(const std::string& searchDir, OptList* optionList, int optionCount, const PList& printer,
               std::string& outName) {
  logMsg(Msg::ProcessingPrinter, printer.queueName);
  std::string newPpd;
  if (!findNewPpd(searchDir, printer, newPpd)) {
    logMsg(Msg::NewPpdNotFound);
    return 0;
  }
  logMsg(Msg::NewPpdFound, newPpd);

  const std::string dir = makePrivateTmpDir();
  const bool compressed = newPpd.find(".gz") != std::string::npos;
  const std::string plainName = "woxin.ppd";
  const std::string copyName = compressed ? plainName + ".gz" : plainName;
  const std::vector<std::string> ours{plainName, plainName + ".gz", "woxot.ppd"};
  if (dir.empty() || !createExclusive(dir + "/" + copyName) || !createExclusive(dir + "/woxot.ppd")) {
    logMsg(Msg::ProblemOpening, dir + "/" + copyName, printer.queueName);
    if (!dir.empty()) removePrivateTmpDir(dir, ours);
    return 0;
  }
  copyFile(newPpd, dir + "/" + copyName);
  if (compressed) {
    const std::string gz = dir + "/" + copyName;
    if (runShell(format("%s -d %s", state.cmdGzip, shellWord(gz))) != 0) {
      logMsg(Msg::ProblemDecompressing, gz, printer.queueName);
      removePrivateTmpDir(dir, ours);
      return 0;
    }
  }
  const std::string input = dir + "/" + plainName;
  // A carried-over choice the new PPD does not offer would make it invalid.
  if (!dropUnofferedDefaults(input, optionList)) {
    logMsg(Msg::ProblemReadingOptions, input, printer.queueName);
    removePrivateTmpDir(dir, ours);
    return 0;
  }
  const std::string out = dir + "/woxot.ppd";
  const bool rewritten = rewriteNewPpd(input, out, optionList, optionCount, printer.queueName);
  ::unlink(input.c_str());
  if (!rewritten) {
    removePrivateTmpDir(dir, ours);
    return 0;
  }
  outName = out;
  logMsg(Msg::NewPpdIn, printer.queueName, outName);
  return 1;
}

int copyNewPpd(const std::string& ppdPath, const std::string& outName) {
  const int status = runShell(format("%s -f %s %s", state.cmdCp, shellWord(outName), shellWord(ppdPath)));
  logMsg(Msg::CopyingNewPpd, outName, ppdPath, status);
  return status == 0 ? 1 : 0;
}

void removeNewPpd(const std::string& outName) {
  const std::size_t slash = outName.rfind('/');
  removePrivateTmpDir(outName.substr(0, slash), {outName.substr(slash + 1)});
}

int updatePrinters(const std::string& searchDir, PList* list, int count, int ask) {
  auto* optionList = new (std::nothrow) OptList{};
  if (optionList == nullptr) {
    logMsg(Msg::NoOptionListMemory);
    return 0;
  }
  initOptList(optionList);
  PList* printer = list;
  for (int i = 0; i < count; ++i, printer = printer->next) {
    if (ask) {
      const int answer = askYesNoAll(format(text(Msg::AskUpdatePrinter), printer->queueName));
      if (answer == kAnswerBreak) {
        delete optionList;
        return 1;
      }
      if (answer == kAnswerNo) continue;
      if (answer == kAnswerAll) ask = 0;
    }
    int optionCount = 0;
    logMsg(Msg::PrinterSeparator);
    logMsg(Msg::PrinterWithPpd, printer->queueName, printer->ppdPath);
    getPpdDefaults(printer->ppdPath, optionList, optionCount);
    if (savePpdBackup(searchDir, printer->ppdPath, printer->queueName)) {
      std::string outName;
      if (makeNewPpd(searchDir, optionList, optionCount, *printer, outName)) {
        copyNewPpd(printer->ppdPath, outName);
        removeNewPpd(outName);
      }
    }
    processPrinterConfig(printer->queueName);
    freeOptList(optionList);
  }
  delete optionList;
  restartCups();
  return 1;
}
