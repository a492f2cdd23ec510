// setup: the installer of the Plova 4.0-0 printer-driver package.
//
// One run, top to bottom: survey the system, then either remove the package
// (-d) or install it and move the maker's older queues to the new PPD files.
// Every end of a run exits with status 0, also when setup refuses or
// abandons its work.

#include <unistd.h>

#include <cstdio>
#include <string>

#include "discovery/command_lookup.h"
#include "discovery/cups_dirs.h"
#include "discovery/cups_version.h"
#include "discovery/policy_module.h"
#include "discovery/shell.h"
#include "driver/log.h"
#include "driver/options.h"
#include "driver/print_system.h"
#include "driver/questions.h"
#include "driver/state.h"
#include "install/copy_loop.h"
#include "install/fs_helpers.h"
#include "install/info_file.h"
#include "install/manifest.h"
#include "ppd/model_links.h"
#include "ppd/ppd_locations.h"
#include "queues/cups_restart.h"
#include "queues/queue_scan.h"
#include "queues/queue_update.h"
#include "uninstall/deinstall.h"

namespace {

std::string commandOrBareName(const char* name) { return findCommand(name).value_or(name); }

const char* schedulerLabel(int type) {
  switch (type) {
    case kSchedulerLp: return "LP";
    case kSchedulerLpr: return "LPR";
    case kSchedulerLprng: return "LPRNG";
    case kSchedulerCups: return "CUPS";
    default: return text(Msg::SchedulerUnknown);
  }
}

// A text the user must see at the end of the run: on stderr with one more
// newline, and in the log.
void tellUser(Msg m) {
  std::fprintf(stderr, "%s\n", text(m));
  logMsg(m);
}

[[noreturn]] void abandonByUser() {
  tellUser(Msg::AbandonedByUser);
  endRun();
}

void logAbandonReasons() {
  logMsg(Msg::AbandonedBecause);
  if (state.noCupsDaemon) logMsg(Msg::NoCupsDaemon);
  if (state.noFoomaticRip) logMsg(Msg::NoFoomaticRip);
  logMsg(Msg::Sorry);
}

void refuseNonRoot() {
  if (state.userId == 0) return;
  if (state.debugLevel > 0) std::fputs("Must be root.\nExiting.\n", stderr);
  logLine(format("%s\n", text(Msg::NotRoot)));
  endRun();
}

void decideScheduler() {
  if (state.debugLevel > 0) std::fputs("Root mode: getting printer manager.\n", stderr);
  state.schedulerType = schedulerFromEnvironment();
  if (state.schedulerType == kSchedulerNone) state.schedulerType = probeScheduler();
  logLine(std::string(text(Msg::SchedulerLine)) + schedulerLabel(state.schedulerType) + "\n");

  state.noCupsDaemon = state.schedulerType != kSchedulerCups;
  state.abandonSetup = state.noCupsDaemon || state.noFoomaticRip;
  if (state.abandonSetup) logAbandonReasons();
}

void surveyCups() {
  if (state.schedulerType != kSchedulerCups) return;
  logMsg(Msg::CupsBaseDir, state.cupsBaseDir);
  logMsg(Msg::CupsBinaryDir, state.cupsBinDir);
  state.cupsVersion = probeCupsVersion();
}

void findCupsCommands() {
  if (state.debugLevel > 0) std::fputs("Getting full system info.\n", stderr);
  if (state.schedulerType != kSchedulerCups) return;
  state.cupsDataDir = getCupsDir("datadir");
  state.cmdLpadmin = findCupsCommand("lpadmin").value_or("lpadmin");
  state.cmdLpstat = findCupsCommand("lpstat").value_or("lpstat");
  logLine(format("lpadmin = %s\n", state.cmdLpadmin));
  logLine(format("lpstat  = %s\n", state.cmdLpstat));
}

void settlePpdLocations() {
  state.ppdLocationFlags = findPpdLocations(state.existingPpdDir);
  if (state.ppdDir.empty()) return;
  int linkCount = 0;
  scanModelLinks(linkCount);
  linkPackagePpdDir(state.existingPpdDir, linkCount);
}

void readRecordedPrinters() {
  readInfoPrinters(state.infoVersion, &state.printerList);
  logMsg(Msg::PrintersFound, state.infoPrinterCount);
}

[[noreturn]] void deinstallBranch() {
  if (!findInstallation(state.previousDir, state.infoVersion)) {
    std::fputs(text(Msg::NoInstallation), stderr);
    logMsg(Msg::NoInstallation);
    std::fputs(text(Msg::Sorry), stderr);
    logMsg(Msg::Sorry);
    endRun();
  }
  if (askYesNo(text(Msg::AskDelete)) != kAnswerYes) abandonByUser();
  readRecordedPrinters();
  deleteQueues();
  deleteInstalledFiles(1);
  tellUser(Msg::Uninstalled);
  endRun();
}

// Settles upgradeMode and installDir from an existing installation.
void takeExistingInstallation() {
  if (!findInstallation(state.previousDir, state.infoVersion)) {
    logMsg(Msg::NewInstallation);
    return;
  }
  logMsg(Msg::FoundExisting, state.previousDir);
  if (makeDir(state.previousDir, 0, 0755) < 0) {
    logMsg(Msg::InstallDirNotOk, state.previousDir);
    return;
  }
  state.installDir = state.previousDir;
  state.upgradeMode = static_cast<int>(state.infoVersion);
  logMsg(Msg::UpgradeModeLine, state.upgradeMode);
  logMsg(Msg::InstallDirOk, state.previousDir);
  readRecordedPrinters();
  clearPList(&state.printerList);
}

Msg confirmationQuestion() {
  switch (state.upgradeMode) {
    case 1: return Msg::AskUpdateFrom20;
    case 2: return Msg::AskUpdate40;
    default: return Msg::AskInstall;
  }
}

[[noreturn]] void installBranch() {
  takeExistingInstallation();
  if (!state.installDir.empty() && state.installDir.back() == '/') state.installDir.pop_back();

  int items = getInfoData();
  if (items <= 0) {
    state.abandonSetup = 1;
    items = 0;
    logMsg(Msg::MissingInfo, state.sourceDir, state.manifestName);
  }
  if (state.abandonSetup) {
    logMsg(Msg::InsufficientData);
    endRun();
  }
  if (state.queryMode && askYesNo(text(confirmationQuestion())) != kAnswerYes) abandonByUser();

  goInstall(items);
  int queues = 0;
  scanInstalledQueues(&state.printerList, queues);
  if (queues > 0) updatePrinters(state.packagePpdDir, &state.printerList, queues, state.queryMode);
  restartCups();
  endRun();
}

}  // namespace

int main(int argc, char** argv) {
  clearState();
  state.cmdSelinuxenabled = findCommand("selinuxenabled");
  state.cmdChcon = findCommand("chcon");
  state.userId = static_cast<int>(::getuid());
  state.groupId = static_cast<int>(::getgid());
  state.selinuxMode = state.cmdSelinuxenabled && runShell(shellWord(*state.cmdSelinuxenabled)) == 0;

  firstOptionPass(argc, argv);
  if (!state.deinstallMode && state.selinuxMode) {
    std::fputs(".......\n", stderr);
    installPolicyModule();
  }

  state.logPath = kDefaultLogPath;
  state.logOpened = openLogFile(state.userId);
  state.cmdCp = commandOrBareName("cp");
  state.cmdRm = commandOrBareName("rm");
  state.cmdGzip = commandOrBareName("gzip");
  state.cmdLpadmin = commandOrBareName("lpadmin");
  state.cmdLpstat = commandOrBareName("lpstat");
  logMsg(Msg::StartLine, ctimeNow());

  if (argc > 0 && argv[0] && argv[0][0] != '\0') findSourceDir(argv[0]);
  if (!state.allowAnyDir && state.sourceDir.compare(0, 8, "/opt/kwo") != 0 && !state.deinstallMode) {
    logMsg(Msg::Simulation);
    std::fprintf(stderr, "%s\n", text(Msg::Simulation));
    endRun();
  }

  state.installDir = kDefaultInstallDir;
  state.manifestName = kDefaultManifestName;
  logMsg(Msg::SelinuxRunning, state.selinuxMode ? "Yes" : "No");
  if (state.selinuxMode) logPolicyModule();
  initPList(&state.printerList);
  state.noFoomaticRip = !findFoomaticRip();

  secondOptionPass(argc, argv);
  refuseNonRoot();
  decideScheduler();
  surveyCups();
  findCupsCommands();
  settlePpdLocations();

  if (state.deinstallMode) deinstallBranch();
  installBranch();
}
