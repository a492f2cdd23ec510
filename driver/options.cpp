#include "driver/options.h"

#include <getopt.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/log.h"
#include "driver/state.h"

namespace {

constexpr const char* kOptionString = "df:hi:m:q:u:w:S:D:Z:";

int number(const char* text) { return static_cast<int>(std::strtol(text, nullptr, 10)); }

[[noreturn]] void refuseTooLong(const char* what) {
  std::fputs(format(text(Msg::TooLong), what, static_cast<int>(kTextMax)).c_str(), stderr);
  std::exit(0);
}

// Rewinds getopt so the next pass starts again at the first argument.
void rewindOptions() { optind = 0; }

}  // namespace

void firstOptionPass(int argc, char** argv) {
  if (argc > 0 && argv[0] && std::strlen(argv[0]) > kTextMax) refuseTooLong("program path");
  for (int c; (c = getopt(argc, argv, kOptionString)) != -1;) {
    switch (c) {
      case 'd': state.deinstallMode = 1; break;
      case 'f': state.allowAnyDir = number(optarg); break;
      case 'h': showUsage();
      case 'S': state.selinuxMode = number(optarg); break;
      case 'i':
        if (std::strlen(optarg) > kTextMax) refuseTooLong("argument of -i");
        break;
      case 'u':
        if (std::strlen(optarg) > kTextMax) refuseTooLong("argument of -u");
        break;
      default: break;
    }
  }
  rewindOptions();
}

void secondOptionPass(int argc, char** argv) {
  opterr = 0;  // the first pass has already reported unknown options
  for (int c; (c = getopt(argc, argv, kOptionString)) != -1;) {
    switch (c) {
      case 'D':
      case 'Z': state.debugLevel = number(optarg); break;
      case 'i': state.manifestName = optarg; break;
      case 'q': state.queryMode = std::max(0, number(optarg)); break;
      case 'u': state.installDir = optarg; break;
      default: break;  // -m and -w are accepted and ignored
    }
  }
  rewindOptions();
  opterr = 1;
}

void showUsage() {
  const auto put = [](const std::string& line) { std::fputs(line.c_str(), stderr); };
  put(format(text(Msg::UsageVersion), kSetupVersion));
  put(text(Msg::UsageRights1));
  put(text(Msg::UsageRights2));
  put(text(Msg::UsageUsage));
  put(text(Msg::UsageSetup));
  put(text(Msg::UsageOptions));
  put(format(text(Msg::UsageD), kSetupVersion));
  put(text(Msg::UsageF));
  put(text(Msg::UsageH));
  put(text(Msg::UsageQ));
  put(text(Msg::UsageS));
  put(text(Msg::UsageDebug));
  std::exit(0);
}

void findSourceDir(const char* programPath) {
  std::string dir = programPath;
  if (dir[0] == '/') {
    const std::size_t slash = dir.rfind('/');
    if (slash != 0) dir.resize(slash);
  } else {
    char cwd[kTextMax + 1];
    if (::getcwd(cwd, sizeof cwd) != nullptr) dir = cwd;
  }
  if (dir == "/opt/kwo/bin") dir = "/opt/kwo";
  state.sourceDir = dir;
  logMsg(Msg::SourceDirLine, state.sourceDir);
}
