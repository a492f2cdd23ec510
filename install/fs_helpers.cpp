#include "install/fs_helpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "driver/log.h"

namespace {

bool isExistingDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Closes a file descriptor when it goes out of scope.
struct Fd {
  int fd;
  explicit Fd(int f) : fd(f) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Reads up to size bytes, retrying short reads, so a block is only short at
// the end of the file.
ssize_t readBlock(int fd, char* data, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, data + got, size - got);
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

}  // namespace

int makeDir(const std::string& path, int create, unsigned mode) {
  if (path.empty()) return -1;
  struct stat info {};
  const bool found = ::stat(path.c_str(), &info) == 0;
  if (create && !found && ::mkdir(path.c_str(), mode) == 0) {
    logMsg(Msg::CreatedDirectory, path);
    // mkdir's mode is narrowed by the umask; the chmod makes it exact.
    if (::chmod(path.c_str(), mode) == 0)
      logMsg(Msg::ChangedRights, path, mode);
    else
      logMsg(Msg::CouldNotChmod, path, mode);
    return 1;
  }
  return isExistingDirectory(path) ? 0 : -1;
}

void makePath(const std::string& path) {
  for (std::size_t slash = path.find('/', 2); slash != std::string::npos; slash = path.find('/', slash + 1))
    makeDir(path.substr(0, slash), 1, 0777);
  makeDir(path, 1, 0777);
}

int makeLink(const std::string& target, const std::string& link) {
  if (::access(target.c_str(), F_OK) != 0) {
    logMsg(Msg::NoFile, target);
    return -1;
  }
  if (::access(link.c_str(), F_OK) == 0) {
    logMsg(Msg::LinkPathTaken, link);
    return -1;
  }
  return ::symlink(target.c_str(), link.c_str()) == 0 ? 0 : -1;
}

void copyFile(const std::string& source, const std::string& target) {
  Fd in(::open(source.c_str(), O_RDONLY));
  if (in.fd < 0) return;
  Fd out(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666));
  if (out.fd < 0) return;
  constexpr std::size_t kBlock = 40960;
  static char block[kBlock];
  for (;;) {
    const ssize_t n = readBlock(in.fd, block, kBlock);
    if (n <= 0 || !writeAll(out.fd, block, static_cast<std::size_t>(n))) return;
    if (static_cast<std::size_t>(n) < kBlock) return;
  }
}
