#include "ppd/ppd_locations.h"

#include <sys/stat.h>
#include <unistd.h>

#include <initializer_list>

#include "driver/log.h"
#include "driver/state.h"

namespace {

constexpr const char* kFoomatic = "/usr/share/foomatic/db/source/PPD";
constexpr const char* kVelor = "/usr/share/foomatic/db/source/PPD/Velor";
constexpr const char* kVelorKwo = "/usr/share/foomatic/db/source/PPD/Velor/kwo";
constexpr const char* kFoomaticKwo = "/usr/share/foomatic/db/source/PPD/kwo";
constexpr const char* kOpenprinting = "/usr/share/ppd/openprinting";
constexpr const char* kUnknown = "???";

// Copies the first directory of candidates into result; 1 when one was found.
int firstDirectory(std::initializer_list<const char*> candidates, std::string& result) {
  for (const char* candidate : candidates) {
    if (isDirectory(candidate)) {
      result = candidate;
      return 1;
    }
  }
  return 0;
}

// The places found, one flag each.
struct Places {
  int modelFound = 0, systemFound = 0, foomatic = 0, velor = 0, foomaticKwo = 0;
  int custom = 0, usrShare = 0, optShare = 0, vendorTree = 0, openprinting = 0;

  int flags() const {
    return (modelFound ? 0x001 : 0) | (foomatic ? 0x002 : 0) | (velor ? 0x004 : 0) | (custom ? 0x008 : 0) |
           (usrShare ? 0x010 : 0) | (optShare ? 0x020 : 0) | (systemFound ? 0x040 : 0) |
           (foomaticKwo ? 0x080 : 0) | (vendorTree ? 0x100 : 0) | (openprinting ? 0x200 : 0);
  }
};

// Looks for an earlier installation's kwo directory, in order of precedence;
// returns whether the last word on it is a find (the found mark).
bool findExisting(Places& p, std::string& existingPpdDir) {
  bool found = false;
  const auto find = [&](const std::string& path) {
    existingPpdDir = path;
    found = true;
  };
  if (p.openprinting && isDirectory("/usr/share/ppd/openprinting/kwo")) find("/usr/share/ppd/openprinting/kwo");
  if (p.foomatic) {
    p.velor = isDirectory(kVelor);
    if (p.velor) {
      found = isDirectory(kVelorKwo);
      if (found) existingPpdDir = kVelorKwo;
    }
    p.foomaticKwo = isDirectory(kFoomaticKwo);
    if (p.foomaticKwo) find(kFoomaticKwo);
  }
  p.optShare = isDirectory("/opt/share/ppd");
  if (!found && isDirectory("/opt/share/ppd/kwo")) find("/opt/share/ppd/kwo");
  p.usrShare = isDirectory("/usr/share/ppd");
  if (!found && isDirectory("/usr/share/ppd/kwo")) find("/usr/share/ppd/kwo");
  p.vendorTree = (isDirectory("/usr/share/ppd/cups-included") && isDirectory(kOpenprinting)) ||
                 (isDirectory("/usr/share/ppd/HP") && isDirectory("/usr/share/ppd/Epson"));
  if (p.vendorTree && !found && isDirectory("/usr/share/ppd/cups-included/kwo"))
    find("/usr/share/ppd/cups-included/kwo");
  if (p.modelFound) {
    p.custom = isDirectory(state.ppdDir + "/custom");
    if (p.custom && !found && isDirectory(state.ppdDir + "/custom/kwo")) find(state.ppdDir + "/custom/kwo");
  }
  return found;
}

std::string choosePackagePpdDir(const Places& p) {
  if (p.openprinting) {
    const bool vendorKwo = p.vendorTree && isDirectory("/usr/share/ppd/openprinting/HP") &&
                           isDirectory("/usr/share/ppd/openprinting/Epson");
    return vendorKwo ? "/usr/share/ppd/openprinting/kwo" : "/usr/share/ppd/kwo";
  }
  if (p.custom) return state.ppdDir + "/custom/kwo";
  if (p.foomatic) return p.velor && !p.foomaticKwo ? kVelorKwo : kFoomaticKwo;
  return "";
}

void logReport(const Places& p, bool found, const std::string& existingPpdDir) {
  logMsg(Msg::PpdReportRule);
  logMsg(Msg::PpdReportTitle);
  logMsg(Msg::PpdReportModel, p.modelFound ? state.ppdDir : kUnknown);
  logMsg(Msg::PpdReportFoomatic, p.foomatic ? kFoomatic : kUnknown);
  logMsg(Msg::PpdReportVelor, p.foomaticKwo ? kFoomaticKwo : p.velor ? kVelor : kUnknown);
  logMsg(Msg::PpdReportCustom, p.custom ? state.ppdDir + "/custom" : std::string(kUnknown));
  if (p.usrShare) logMsg(Msg::PpdReportUsrShare);
  if (p.optShare) logMsg(Msg::PpdReportOptShare);
  logMsg(Msg::PpdReportSystem, p.systemFound ? state.systemPpdDir : kUnknown);
  if (found) logMsg(Msg::PpdReportExisting, existingPpdDir);
}

}  // namespace

int isDirectory(const std::string& path) {
  struct stat info {};
  return ::access(path.c_str(), F_OK) == 0 && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? 1
                                                                                                          : 0;
}

int findCupsModelDir() {
  state.ppdDir = "/usr/share/cups/model";
  return firstDirectory({"/usr/share/cups/model", "/usr/share/ppd", "/etc/cups/model", "/opt/cups/model",
                         "/opt/cups/share/model"},
                        state.ppdDir);
}

int findSystemPpdDir() {
  state.systemPpdDir = "/usr/share/cups/model";
  return firstDirectory({"/usr/share/ppd", "/usr/ppd", "/opt/share/ppd", "/usr/local/share/ppd", kFoomatic},
                        state.systemPpdDir);
}

int findPpdLocations(std::string& existingPpdDir) {
  state.packagePpdDir.clear();
  Places p;
  p.modelFound = findCupsModelDir();
  p.systemFound = findSystemPpdDir();
  p.foomatic = isDirectory(kFoomatic);
  p.openprinting = isDirectory(kOpenprinting);
  const bool found = findExisting(p, existingPpdDir);
  state.packagePpdDir = choosePackagePpdDir(p);
  logReport(p, found, existingPpdDir);
  return p.flags();
}
