// A fresh information file as setup writes it; shared by the unit and
// end-to-end tests.
#pragma once

#include <string>

// The 26 lines for an installation in dir.
inline std::string expectedInfoFile(const std::string& dir) {
  return "#\n# Plova 4.0 Information File\n#\n%%WOXBLOCK_GENERAL_BEGIN\n"
         "USRDIR          " + dir + "\nHOMEDIR         $HOME\nTMPDIR          /tmp\n%%WOXBLOCK_GENERAL_END\n"
         "#\n#\n%%WOXBLOCK_PRINTERS_BEGIN\nDefault\n%%WOXBLOCK_PRINTERS_END\n#\n#\n"
         "%%WOXBLOCK_USERS_BEGIN\nroot\n%%WOXBLOCK_USERS_END\n#\n#\n"
         "%%WOXBLOCK_PRNT_BEGIN Default\nroot\n%%WOXBLOCK_PRNT_END Default\n#\n#\n%%WOXEND\n";
}
