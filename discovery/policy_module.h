// The package's SELinux policy module, /opt/kwo/etc/plova.pp.
#pragma once

// What the module step did in this run (state.policyModuleOutcome).
enum PolicyModuleOutcome : int {
  kPolicyNotTried = 0,    // not a run that loads it (de-installation, SELinux off)
  kPolicyNoSemodule = 1,  // no semodule command
  kPolicyNoModuleFile = 2,
  kPolicyFailed = 3,      // semodule ran and returned a status other than 0
  kPolicyLoaded = 4,      // semodule loaded it with status 0
};

// Loads the module with semodule. Returns the command's status, or 0 when no
// command was run; records the outcome in the state.
int installPolicyModule();

// Logs whether the module was loaded in this run, and why not.
void logPolicyModule();
