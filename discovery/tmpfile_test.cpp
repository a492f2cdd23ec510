#include "discovery/tmpfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/unit_support.h"

using unit_test::readFile;
using unit_test::TempDir;
using unit_test::writeFile;
namespace fs = std::filesystem;

TEST(MyTmpName, MakesAFreshEmptyFileWithOneSlash) {
  TempDir dir;
  const std::string withSlash = dir.path() + "/";
  const std::string first = myTmpName(withSlash, "WOX");
  const std::string second = myTmpName(dir.path(), nullptr);
  EXPECT_EQ(withSlash, dir.path() + "/");
  for (const std::string& name : {first, second}) {
    EXPECT_EQ(name.rfind(dir.path() + "/WOX", 0), 0u) << name;
    EXPECT_EQ(name.size(), dir.path().size() + 10) << name;
    struct stat st {};
    ASSERT_EQ(::lstat(name.c_str(), &st), 0) << name;
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 0);
  }
  EXPECT_NE(first, second);
}

TEST(MyTmpName, EndsTheProcessWhenNoFileCanBeMade) {
  TempDir dir;
  const std::string missing = dir / "missing/";
  EXPECT_EXIT(myTmpName(missing, "WOX"), ::testing::ExitedWithCode(255),
              "^myTmpName\\(" + dir.path() + "/missing,WOX\\) Failed!\n$");
  EXPECT_EXIT(myTmpName(missing, nullptr), ::testing::ExitedWithCode(255), "WOX\\) Failed!");
}

TEST(ExclusiveTmpFile, TakenNamesAreNeverWrittenThrough) {
  TempDir dir;
  writeFile(dir / "victim", "precious\n");
  fs::create_symlink(dir / "victim", dir / "WOXLPD42");
  fs::create_symlink(dir / "nowhere", dir / "WOXLPD43");  // dangling: must not be created
  writeFile(dir / "WOXLPD44", "someone's\n");

  EXPECT_FALSE(createExclusive(dir / "WOXLPD42"));
  for (const char* taken : {"WOXLPD42", "WOXLPD43", "WOXLPD44"}) {
    const auto fresh = exclusiveTmpFile(dir / taken);
    ASSERT_TRUE(fresh) << taken;
    EXPECT_EQ(fresh->rfind(dir / taken, 0), 0u);
    EXPECT_EQ(fresh->size(), (dir / taken).size() + 6);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(*fresh)));
  }
  EXPECT_EQ(readFile(dir / "victim"), "precious\n");
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
  EXPECT_TRUE(fs::is_symlink(dir / "WOXLPD42"));
  EXPECT_EQ(readFile(dir / "WOXLPD44"), "someone's\n");

  // A free name is taken as it is, mode 0600.
  EXPECT_EQ(exclusiveTmpFile(dir / "WOXLPD45"), dir / "WOXLPD45");
  EXPECT_EQ(fs::status(dir / "WOXLPD45").permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(exclusiveTmpFile(dir / "missing/WOXLPD1"), std::nullopt);
}
