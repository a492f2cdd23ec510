// The uninstall script as setup writes it for ordinary paths, bar its date
// line; shared by the unit and end-to-end tests.
#pragma once

#include <string>

// The script for an installation in I with the package PPD directory P, bar
// its date line (line 3).
inline std::string expectedUninstallScript(const std::string& i, const std::string& p,
                                           const std::string& rm = "/bin/rm") {
  std::string s =
      "#!/bin/sh\n#\n"
      "#\n#Delete a file\n#Syntax : delFile $fileName\n#\ndelFile()\n{\nif [ -f $1 ] ; then\n  " + rm +
      " $1\nfi\n}\n"
      "#\n#Delete a directory\n#Syntax : delDir $dirName\ndelDir()\n{\nif [ -d $1 ] ; then\n  " + rm +
      " -rf $1\n"
      "fi\n}\n#\n#\n# Get a yes or no answer from the user.  Argument 1 is prompt, 2 is default.\n#\nyorn()\n{\n"
      "        if [ \"$2\" = \"\" ] ; then\n                prompt=\"$1? \"\n        else\n"
      "                prompt=\"$1 [$2]? \"\n        fi\n \n        while true ; do\n"
      "                echo \"$prompt\"\n                read input\n                parsed=$input\n \n"
      "                if [ \"$parsed\" = \"\" ] ; then\n                        answer=$2\n"
      "                else\n                        answer=$input\n                fi\n \n"
      "                case $answer in\n                [oO]|[yY]|[yY][eE][sS])\n"
      "                        return 0 ; break ;;\n                [nN]|[nN][oO])\n"
      "                        return 1 ; break ;;\n                *)\n"
      "                        echo \"Answer with yes or no please.\"\n                esac\n        done\n}\n#\n"
      "echo \"De-installation of 'Plova 4.0-0'\"\n"
      "yorn \"Do you really want to de-install Plova 3.0?\" \"no\"\n"
      "it_is=$?\nif [ $it_is -ne 0 ] ; then\n  exit\nfi\n";
  s += "delFile " + i + "/plovaInfo4.0\n";
  s += "delFile /usr/bin/woxgsfilter\n";
  s += "delFile " + i + "/bin/woxgsfilter\n";
  s += "delFile " + i + "/bin/nc\n";
  s += "delFile " + i + "/bin/setup\n";
  s += "delFile " + i + "/etc/plova4.0.png\n";
  s += "delFile " + i + "/etc/PLOVAINST.CONF\n";
  s += "delFile " + i + "/PLOVAINST.CONF\n";
  if (!p.empty()) s += "delDir " + p + "/ppd\n";
  s += "delDir " + i + "/etc\ndelDir " + i + "/bin\ndelDir " + i + "\n";
  return s;
}

// The script without its line 3 (the date line).
inline std::string withoutLine3(const std::string& script) {
  std::size_t start = 0;
  for (int line = 1; line < 3; ++line) start = script.find('\n', start) + 1;
  const std::size_t end = script.find('\n', start);
  if (end == std::string::npos) return script;
  return script.substr(0, start) + script.substr(end + 1);
}
