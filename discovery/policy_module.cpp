#include "discovery/policy_module.h"

#include <unistd.h>

#include <cstdio>

#include "discovery/command_lookup.h"
#include "discovery/shell.h"
#include "driver/log.h"
#include "driver/state.h"

namespace {
constexpr const char* kModulePath = "/opt/kwo/etc/plova.pp";

std::string loadCommand() { return format("%s -i %s", shellWord(*state.cmdSemodule), kModulePath); }
}  // namespace

int installPolicyModule() {
  state.cmdSemodule = findCommand("semodule");
  if (!state.cmdSemodule) {
    state.policyModuleOutcome = kPolicyNoSemodule;
    return 0;
  }
  if (::access(kModulePath, F_OK) != 0) {
    std::fputs(text(Msg::PolicyModuleMissing), stderr);
    state.policyModuleOutcome = kPolicyNoModuleFile;
    return 0;
  }
  state.policyModuleStatus = runShell(loadCommand());
  state.policyModuleOutcome = state.policyModuleStatus == 0 ? kPolicyLoaded : kPolicyFailed;
  return state.policyModuleStatus;
}

void logPolicyModule() {
  switch (state.policyModuleOutcome) {
    case kPolicyLoaded: logMsg(Msg::SelinuxModuleInstalled); return;
    case kPolicyNoSemodule: logMsg(Msg::PolicyModuleNotInstalled, text(Msg::PolicyNoSemodule)); return;
    case kPolicyNoModuleFile: logMsg(Msg::PolicyModuleNotInstalled, text(Msg::PolicyNoModuleFile)); return;
    case kPolicyFailed:
      logMsg(Msg::PolicyModuleNotInstalled,
             format(text(Msg::PolicySemoduleFailed), loadCommand(), state.policyModuleStatus));
      return;
    default: logMsg(Msg::PolicyModuleNotInstalled, text(Msg::PolicyNotLoadedDeinstall)); return;
  }
}
