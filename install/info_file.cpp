#include "install/info_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "driver/log.h"
#include "driver/state.h"
#include "driver/text_file.h"

namespace {

bool isSignedBlankOrBelow(char c) { return static_cast<signed char>(c) <= ' '; }

// The information file of the install directory, /opt/kwo standing in for
// an empty one.
std::string infoPath(const char* name) {
  return format("%s/%s", state.installDir.empty() ? kDefaultInstallDir : state.installDir, name);
}

// Opens path for writing as a file of its own: a symbolic link planted at
// that name (the install directory is world-writable) is not followed.
File createForWriting(const std::string& path, mode_t mode) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, mode);
  if (fd < 0) return nullptr;
  File file(::fdopen(fd, "w"));
  if (!file) ::close(fd);
  return file;
}

// The outcome of scanning one file for its USRDIR line.
enum class Scan { NoHit, Hit, Refused };

// Takes the value of the first part that holds USRDIR. A value that runs to
// the end of a full part and goes on in the next part would come out cut: it
// is refused instead.
Scan scanForUsrdir(std::FILE* file, std::string& directory) {
  std::string part;
  while (readPart(file, part)) {
    const std::size_t key = part.find("USRDIR");
    if (key == std::string::npos) continue;
    std::size_t at = std::min(key + 7, part.size());
    while (at < part.size() && isSignedBlankOrBelow(part[at])) ++at;
    std::size_t end = at;
    while (end < part.size() && part[end] != ' ' && part[end] != '\n') ++end;
    if (end == part.size() && static_cast<int>(part.size()) == kLinePartMax) {
      const int next = std::fgetc(file);
      if (next != EOF && next != ' ' && next != '\n') return Scan::Refused;
    }
    directory = part.substr(at, end - at);
    return Scan::Hit;
  }
  return Scan::NoHit;
}

// One probe: returns true on a hit, with directory set.
bool probe(const std::string& candidate, std::string& directory) {
  File file = openFile(candidate, "r");
  if (!file || !infoFileTrusted(file.get(), candidate)) return false;
  std::string value;
  switch (scanForUsrdir(file.get(), value)) {
    case Scan::Hit: directory = value; return true;
    case Scan::Refused: logMsg(Msg::UsrdirTooLong, candidate, kLinePartMax); return false;
    case Scan::NoHit: return false;
  }
  return false;
}

void writeFreshInfoLines(std::FILE* out) {
  std::fputs("#\n# Plova 4.0 Information File\n#\n%%WOXBLOCK_GENERAL_BEGIN\n", out);
  std::fputs(format("USRDIR          %s\n", state.installDir).c_str(), out);
  std::fputs("HOMEDIR         $HOME\nTMPDIR          /tmp\n%%WOXBLOCK_GENERAL_END\n#\n#\n", out);
  std::fputs("%%WOXBLOCK_PRINTERS_BEGIN\nDefault\n%%WOXBLOCK_PRINTERS_END\n#\n#\n", out);
  std::fputs("%%WOXBLOCK_USERS_BEGIN\nroot\n%%WOXBLOCK_USERS_END\n#\n#\n", out);
  std::fputs("%%WOXBLOCK_PRNT_BEGIN Default\nroot\n%%WOXBLOCK_PRNT_END Default\n#\n#\n%%WOXEND\n", out);
}

}  // namespace

bool infoFileTrusted(std::FILE* file, const std::string& path) {
  struct stat info {};
  if (::fstat(::fileno(file), &info) != 0) return false;
  if (info.st_uid == 0 || info.st_uid == static_cast<uid_t>(state.userId)) return true;
  logMsg(Msg::InfoFileNotTrusted, path, static_cast<long long>(info.st_uid));
  return false;
}

int findInstallation(std::string& directory, unsigned& infoVersion) {
  infoVersion = static_cast<unsigned>(-1);
  const char* fromEnvironment = std::getenv("PLOVAINFO");
  if (fromEnvironment && std::strlen(fromEnvironment) > kTextMax) {
    logMsg(Msg::InfoPathTooLong, static_cast<int>(kTextMax));
    return 0;
  }
  const bool haveKwo = ::access(kDefaultInstallDir, F_OK) == 0;
  const auto candidate = [&](const char* name) -> std::string {
    return fromEnvironment ? std::string(fromEnvironment) : format("%s/%s", kDefaultInstallDir, name);
  };

  if (probe(candidate("plovaInfo2.0"), directory)) {
    infoVersion = 1;
    return 1;
  }
  if (!fromEnvironment && !haveKwo) return 0;
  if (probe(candidate("plovaInfo4.0"), directory)) {
    infoVersion = 2;
    return 1;
  }
  return 0;
}

int writeInfoFile() {
  const std::string path = infoPath("plovaInfo4.0");
  File out = createForWriting(path, 0755);
  if (!out) {
    logMsg(Msg::CannotOpenFile, path);
    return -1;
  }
  writeFreshInfoLines(out.get());
  std::fflush(out.get());
  const int fd = ::fileno(out.get());
  ::fchmod(fd, 0755);
  return ::fchown(fd, static_cast<uid_t>(state.userId), static_cast<gid_t>(state.groupId));
}

void convertInfoFile() {
  const std::string oldPath = infoPath("plovaInfo2.0");
  const std::string newPath = infoPath("plovaInfo4.0");
  File in = openFile(oldPath, "r");
  if (!in) {
    logMsg(Msg::CannotOpenFile, oldPath);
    writeInfoFile();
    return;
  }
  File out = createForWriting(newPath, 0666);
  if (!out) {
    logMsg(Msg::CannotOpenFile, newPath);
    in.reset();
    writeInfoFile();
    return;
  }
  bool headerReplaced = false;
  std::string part;
  while (readPart(in.get(), part)) {
    if (!headerReplaced && part.find("Information File") != std::string::npos) {
      std::fputs("# Plova 3.0 Information File\n", out.get());
      headerReplaced = true;
    } else {
      writeText(out.get(), part);
    }
  }
  in.reset();
  out.reset();
  logMsg(Msg::ConvertedInfoFile);
}
