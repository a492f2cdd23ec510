// The package's SELinux policy module, /opt/kwo/etc/plova.pp.
#pragma once

// Loads the module with semodule. Returns the command's status, or 0 when no
// command was run.
int installPolicyModule();
