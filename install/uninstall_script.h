// The stand-alone uninstall script <installDir>/etc/UNINSTALLPLOVA.
#pragma once

// Writes the script (mode 0755, owner userId/groupId): it asks, default no,
// and on yes removes the package's files and trees below installDir, the
// filter link and the package PPD directory's ppd tree.
void writeUninstallScript();
