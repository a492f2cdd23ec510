// The process-wide state of one setup run. Every subsystem reads and fills
// its own members; the entry routine clears it before anything else happens.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "queues/printer_list.h"

// Texts of the run are at most this many characters (256-byte buffers with
// their terminator in the original layout, and some of that shows: line
// reads, refused options).
inline constexpr std::size_t kTextMax = 255;

// Scheduler kinds are single bits, not 1 to 4.
enum SchedulerType : int {
  kSchedulerNone = 0,
  kSchedulerLp = 1,
  kSchedulerLpr = 2,
  kSchedulerLprng = 4,
  kSchedulerCups = 8,
};

inline constexpr const char* kSetupVersion = "4.0-7";
inline constexpr const char* kDefaultInstallDir = "/opt/kwo";
inline constexpr const char* kDefaultManifestName = "PLOVAINST.CONF";
inline constexpr const char* kDefaultLogPath = "/var/log/Plova4.0_UpdateLog";

struct State {
  int userId = 0;
  int groupId = 0;

  // Commands. A slot that is "none" was not found and has no fallback.
  std::optional<std::string> cmdSelinuxenabled;
  std::optional<std::string> cmdChcon;
  std::optional<std::string> cmdSemodule;
  // What this run's installPolicyModule did (PolicyModuleOutcome of
  // discovery/policy_module.h) and the status semodule returned.
  int policyModuleOutcome = 0;
  int policyModuleStatus = 0;
  std::string cmdCp = "cp";
  std::string cmdRm = "rm";
  std::string cmdGzip = "gzip";
  std::string cmdLpadmin = "lpadmin";
  std::string cmdLpstat = "lpstat";

  // Options.
  int selinuxMode = 0;
  int deinstallMode = 0;
  int allowAnyDir = 1;
  int debugLevel = 0;
  int queryMode = 0;
  std::string manifestName = kDefaultManifestName;
  std::string installDir = kDefaultInstallDir;

  // Where setup runs from and what it found installed.
  std::string sourceDir;
  std::string previousDir;
  unsigned infoVersion = 0;
  int upgradeMode = 0;

  // Log.
  std::string logPath;
  std::FILE* logFile = nullptr;
  int logOpened = 0;

  // Scheduler and the reasons to abandon the installation.
  int schedulerType = kSchedulerNone;
  int noCupsDaemon = 0;
  int noFoomaticRip = 0;
  int abandonSetup = 0;

  // CUPS.
  std::string cupsBinDir;
  std::string cupsBaseDir;
  int cupsVersion = 1000;
  std::optional<std::string> cupsDataDir = std::string("/etc/cups/");

  // PPD locations.
  std::string ppdDir;
  std::string systemPpdDir;
  std::string packagePpdDir;
  std::string existingPpdDir;
  int ppdLocationFlags = 0;

  // Printers of the package; the head record holds the first queue.
  PList printerList;
  int infoPrinterCount = 0;

  // Set once the install directory and its bin and etc exist.
  int installDirPrepared = 0;
};

extern State state;

// Puts every member back to its initial value; the printer list is left as
// an empty ring (its head linked to itself).
void clearState();
