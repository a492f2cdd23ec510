// The stand-alone uninstall script <installDir>/etc/UNINSTALLPLOVA.
#pragma once

void writeUninstallScript();
