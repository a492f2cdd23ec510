#include "install/uninstall_script.h"

void writeUninstallScript() {}
