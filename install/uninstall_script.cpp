#include "install/uninstall_script.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "discovery/shell.h"
#include "driver/log.h"
#include "driver/state.h"
#include "driver/text_file.h"

namespace {

// The script's removal lines: which helper, which path.
struct Removal {
  const char* helper;
  std::string path;
};

// The filter link goes before the filter itself: `[ -f ]` follows the link,
// so once the filter is gone the link would be left dangling. The package
// PPD directory's line is left out when there is none (never "/ppd").
std::vector<Removal> removals(const std::string& dir) {
  std::vector<Removal> list = {
      {"delFile", dir + "/plovaInfo4.0"},
      {"delFile", "/usr/bin/woxgsfilter"},
      {"delFile", dir + "/bin/woxgsfilter"},
      {"delFile", dir + "/bin/nc"},
      {"delFile", dir + "/bin/setup"},
      {"delFile", dir + "/etc/plova4.0.png"},
      {"delFile", dir + "/etc/PLOVAINST.CONF"},
      {"delFile", dir + "/PLOVAINST.CONF"},
  };
  if (!state.packagePpdDir.empty()) list.push_back({"delDir", state.packagePpdDir + "/ppd"});
  list.push_back({"delDir", dir + "/etc"});
  list.push_back({"delDir", dir + "/bin"});
  list.push_back({"delDir", dir});
  return list;
}

bool needsQuoting(const std::string& word) { return shellWord(word) != word; }

// Lines 1 to 62: the helpers, the question and its answer. The helpers quote
// "$1" only when some path needs quoting, so that ordinary installations get
// the script as it always was.
std::string scriptHead(const std::string& rm, bool quoteArgument) {
  const std::string arg = quoteArgument ? "\"$1\"" : "$1";
  std::string s;
  s += "#!/bin/sh\n#\n# De-installation script of Plova 3.0 dated: " + ctimeNow();
  s += "#\n#Delete a file\n#Syntax : delFile $fileName\n#\ndelFile()\n{\n";
  s += "if [ -f " + arg + " ] ; then\n  " + rm + " " + arg + "\nfi\n}\n";
  s += "#\n#Delete a directory\n#Syntax : delDir $dirName\ndelDir()\n{\n";
  s += "if [ -d " + arg + " ] ; then\n  " + rm + " -rf " + arg + "\nfi\n}\n";
  s += "#\n#\n# Get a yes or no answer from the user.  Argument 1 is prompt, 2 is default.\n#\n";
  s += "yorn()\n{\n";
  s += "        if [ \"$2\" = \"\" ] ; then\n                prompt=\"$1? \"\n";
  s += "        else\n                prompt=\"$1 [$2]? \"\n        fi\n \n";
  s += "        while true ; do\n                echo \"$prompt\"\n                read input\n";
  s += "                parsed=$input\n \n";
  s += "                if [ \"$parsed\" = \"\" ] ; then\n                        answer=$2\n";
  s += "                else\n                        answer=$input\n                fi\n \n";
  s += "                case $answer in\n";
  s += std::string("                ") + text(Msg::ScriptYesPattern) + "\n";
  s += "                        return 0 ; break ;;\n";
  s += std::string("                ") + text(Msg::ScriptNoPattern) + "\n";
  s += "                        return 1 ; break ;;\n";
  s += "                *)\n";
  s += std::string("                        echo \"") + text(Msg::ScriptHint) + "\"\n";
  s += "                esac\n        done\n}\n#\n";
  s += std::string("echo \"") + text(Msg::ScriptTitle) + "\"\n";
  s += std::string("yorn \"") + text(Msg::ScriptQuestion) + "\" \"no\"\n";
  s += "it_is=$?\nif [ $it_is -ne 0 ] ; then\n  exit\nfi\n";
  return s;
}

std::string uninstallScriptText() {
  const std::string dir = state.installDir.empty() ? kDefaultInstallDir : state.installDir;
  const std::vector<Removal> list = removals(dir);
  bool quote = needsQuoting(state.cmdRm);
  for (const Removal& r : list) quote = quote || needsQuoting(r.path);

  std::string script = scriptHead(shellWord(state.cmdRm), quote);
  for (const Removal& r : list) script += format("%s %s\n", r.helper, shellWord(r.path));
  return script;
}

}  // namespace

void writeUninstallScript() {
  const std::string dir = state.installDir.empty() ? kDefaultInstallDir : state.installDir;
  const std::string path = format("%s/etc/UNINSTALLPLOVA", dir);
  // Not through a link planted at that name: the install directory is
  // world-writable.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0755);
  File out(fd >= 0 ? ::fdopen(fd, "w") : nullptr);
  if (!out) {
    if (fd >= 0) ::close(fd);
    logMsg(Msg::CannotOpenFile, path);
    return;
  }
  writeText(out.get(), uninstallScriptText());
  std::fflush(out.get());
  ::fchmod(fd, 0755);
  if (::fchown(fd, static_cast<uid_t>(state.userId), static_cast<gid_t>(state.groupId)) != 0) {
    // The owner stays root's; nothing else depends on it.
  }
  out.reset();
  logMsg(Msg::CreatedScript, path);
}
