#include "install/fs_helpers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "install/test_support.h"

namespace {

using FsHelpers = TempDirTest;

// Sets a umask for one test and puts the old one back.
struct Umask {
  mode_t old;
  explicit Umask(mode_t mask) : old(::umask(mask)) {}
  ~Umask() { ::umask(old); }
};

TEST_F(FsHelpers, MakeDirGivesTheExactModeWhateverTheUmask) {
  Umask mask(077);
  EXPECT_EQ(makeDir(path("new"), 1, 0755), 1);
  EXPECT_EQ(modeOf(path("new")), 0755u);
  EXPECT_EQ(makeDir(path("wide"), 1, 0777), 1);
  EXPECT_EQ(modeOf(path("wide")), 0777u);
  EXPECT_EQ(logged(), "Created directory: '" + path("new") + "'.\n" +
                          "Changing execution rights of '" + path("new") + "' to  00755.\n" +
                          "Created directory: '" + path("wide") + "'.\n" +
                          "Changing execution rights of '" + path("wide") + "' to  00777.\n");
}

TEST_F(FsHelpers, MakeDirTestsWithoutTouching) {
  ASSERT_EQ(::mkdir(path("dir").c_str(), 0700), 0);
  write(path("file"), "x");
  EXPECT_EQ(makeDir(path("dir"), 1, 0755), 0);  // existing: never chmod-ed
  EXPECT_EQ(modeOf(path("dir")), 0700u);
  EXPECT_EQ(makeDir(path("dir"), 0, 0755), 0);
  EXPECT_EQ(makeDir(path("file"), 1, 0755), -1);
  EXPECT_EQ(makeDir(path("missing"), 0, 0755), -1);
  EXPECT_FALSE(std::filesystem::exists(path("missing")));
  EXPECT_EQ(makeDir(path("no/parent"), 1, 0755), -1);  // parents are not made
  EXPECT_EQ(makeDir("", 1, 0755), -1);
  ASSERT_EQ(::symlink(path("dir").c_str(), path("link").c_str()), 0);
  EXPECT_EQ(makeDir(path("link"), 0, 0755), 0);  // links are followed
  EXPECT_EQ(logged(), "");
}

TEST_F(FsHelpers, MakePathMakesEveryMissingDirectory) {
  Umask mask(022);
  ASSERT_EQ(::mkdir(path("a").c_str(), 0700), 0);
  makePath(path("a/b/c/"));
  EXPECT_EQ(modeOf(path("a")), 0700u);  // existing ones keep their modes
  EXPECT_EQ(modeOf(path("a/b")), 0777u);
  EXPECT_EQ(modeOf(path("a/b/c")), 0777u);
  const std::string log = logged();
  EXPECT_TRUE(Contains(log, "Created directory: '" + path("a/b") + "'.\n"));
  EXPECT_TRUE(Contains(log, "Created directory: '" + path("a/b/c") + "'.\n"));
  EXPECT_FALSE(Contains(log, "Created directory: '" + path("a/b/c/") + "'"));
}

TEST_F(FsHelpers, MakePathOfARelativePathSkipsAOneCharacterFirstComponent) {
  WorkingDir inside(dir_);
  makePath("x/y");  // "x" is not made on its own, so "x/y" cannot be made
  EXPECT_FALSE(std::filesystem::exists(path("x")));
  makePath("xy/z");
  EXPECT_TRUE(std::filesystem::is_directory(path("xy/z")));
}

TEST_F(FsHelpers, MakeLinkOnlyWhereNothingStands) {
  write(path("target"), "t");
  write(path("taken"), "mine");
  EXPECT_EQ(makeLink(path("target"), path("link")), 0);
  EXPECT_EQ(std::filesystem::read_symlink(path("link")), path("target"));
  EXPECT_EQ(makeLink(path("target"), path("taken")), -1);
  EXPECT_EQ(read(path("taken")), "mine");
  EXPECT_EQ(makeLink(path("missing"), path("other")), -1);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path("other"))));
  // A dangling link counts as free, and symlink then fails without a line.
  ASSERT_EQ(::symlink(path("gone").c_str(), path("dangling").c_str()), 0);
  EXPECT_EQ(makeLink(path("target"), path("dangling")), -1);
  EXPECT_EQ(logged(), "File: " + path("taken") + " exists already. Not created as link!\n" +
                          "No file: " + path("missing") + "\n");
}

TEST_F(FsHelpers, CopyFileCopiesEveryByteAcrossBlocks) {
  for (std::size_t size : {std::size_t{0}, std::size_t{40960}, std::size_t{40961}, std::size_t{100000}}) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + 3);
    write(path("source"), bytes);
    write(path("target"), std::string(200000, 'x'));  // truncated first
    copyFile(path("source"), path("target"));
    EXPECT_EQ(read(path("target")), bytes) << size;
  }
}

TEST_F(FsHelpers, CopyFileKeepsTheTargetsModeAndChangesNothingOnFailure) {
  write(path("source"), "new");
  write(path("target"), "old");
  ASSERT_EQ(::chmod(path("target").c_str(), 0640), 0);
  copyFile(path("source"), path("target"));
  EXPECT_EQ(read(path("target")), "new");
  EXPECT_EQ(modeOf(path("target")), 0640u);
  copyFile(path("missing"), path("target"));
  EXPECT_EQ(read(path("target")), "new");
  copyFile(path("source"), path("no/dir/target"));
  EXPECT_FALSE(std::filesystem::exists(path("no")));
  EXPECT_EQ(logged(), "");
}

}  // namespace
