// Removing a directory tree without ever leaving it.
//
// The walk works on directory descriptors: every entry is looked at without
// following links (fstatat with AT_SYMLINK_NOFOLLOW), a subdirectory is
// opened with O_NOFOLLOW relative to its parent, and a symbolic link is
// unlinked as a link. A link planted in the tree, or a directory swapped for a
// link while the walk runs, therefore never leads the removal to what the
// link points to.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "uninstall/deinstall.h"

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

// Opens a directory below parentFd (or AT_FDCWD) without following a link.
Dir openDirNoFollow(int parentFd, const char* name) {
  const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return nullptr;
  DIR* dir = ::fdopendir(fd);
  if (!dir) ::close(fd);
  return Dir(dir);
}

bool emptyDirectory(DIR* dir);

// Removes one entry of the directory dirFd; false when it stays.
bool removeEntry(int dirFd, const char* name) {
  struct stat st {};
  if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (S_ISDIR(st.st_mode)) {
    Dir sub = openDirNoFollow(dirFd, name);
    const bool emptied = sub && emptyDirectory(sub.get());
    sub.reset();
    return emptied && ::unlinkat(dirFd, name, AT_REMOVEDIR) == 0;
  }
  // Devices, FIFOs and sockets are not the package's to remove.
  if (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)) return ::unlinkat(dirFd, name, 0) == 0;
  return false;
}

// Removes every entry of dir (dot files included); false when any stays.
bool emptyDirectory(DIR* dir) {
  bool all = true;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    all = removeEntry(::dirfd(dir), entry->d_name) && all;
  }
  return all;
}

}  // namespace

int removeTree(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) return -1;
  // A link standing where the tree should be goes as a link.
  if (S_ISLNK(st.st_mode)) return ::unlink(path.c_str()) == 0 ? 0 : -1;
  Dir dir = openDirNoFollow(AT_FDCWD, path.c_str());
  if (!dir) return -1;
  emptyDirectory(dir.get());
  dir.reset();
  return ::rmdir(path.c_str()) == 0 ? 0 : -1;
}
