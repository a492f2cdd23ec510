#include "install/info_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "install/info_file_expected.h"
#include "install/test_support.h"

namespace {

class InfoFile : public TempDirTest {
 protected:
  void TearDown() override {
    ::unsetenv("PLOVAINFO");
    TempDirTest::TearDown();
  }
  // findInstallation on a file named by PLOVAINFO.
  int find(const std::string& contents, std::string& directory, unsigned& version) {
    write(path("info"), contents);
    ::setenv("PLOVAINFO", path("info").c_str(), 1);
    directory.clear();
    return findInstallation(directory, version);
  }
};


struct UsrdirCase {
  std::string contents;
  int found;
  std::string directory;
};

TEST_F(InfoFile, UsrdirLineRules) {
  const std::string part248 = "/" + std::string(247, 'p');  // "USRDIR " + value fills a 255 part
  const std::vector<UsrdirCase> cases = {
      {"USRDIR          /opt/kwo\n", 1, "/opt/kwo"},
      {"USRDIR          /opt/kwo/sub dir\n", 1, "/opt/kwo/sub"},  // a blank ends the value
      {"USRDIR=/x\n", 1, "/x"},
      {"USRDIR          /opt/kwo\r\n", 1, "/opt/kwo\r"},  // a CR stays
      {"USRDIR \t\x01\xA0/opt/a\tb\n", 1, "/opt/a\tb"},   // controls and high bytes skipped, tab copied
      {"USRDIR\n", 1, ""},                              // found, without a value
      {"USRDIR", 1, ""},
      {"# USRDIR /from/comment\nUSRDIR /opt/kwo\n", 1, "/from/comment"},
      {"XUSRDIRY/opt/k\n", 1, "/opt/k"},  // the key anywhere; one character after it skipped
      {"USR DIR /opt/kwo\n", 0, ""},
      {"", 0, ""},
      {"USRDIR " + part248 + "\n", 1, part248},  // the longest value that fits a part
      {"USRDIR " + part248 + "\nnext\n", 1, part248},
      {"USRDIR " + part248 + " rest\n", 1, part248},
      {"USRDIR " + part248 + "more\n", 0, ""},  // would be cut: refused
      {std::string(250, '#') + "USRDIR /cut/in/two\n", 0, ""},
  };
  for (const UsrdirCase& c : cases) {
    SCOPED_TRACE(c.contents.substr(0, 60));
    std::string directory;
    unsigned version = 7;
    EXPECT_EQ(find(c.contents, directory, version), c.found);
    EXPECT_EQ(directory, c.directory);
    EXPECT_EQ(version, c.found ? 1u : static_cast<unsigned>(-1));  // PLOVAINFO: always the first probe
  }
  EXPECT_TRUE(Contains(logged(), "The USRDIR value in " + path("info") +
                                  " is longer than its line part of 255 characters; ignored.\n"));
}

TEST_F(InfoFile, PlovainfoThatIsMissingOrTooLongFindsNothing) {
  std::string directory;
  unsigned version = 0;
  ::setenv("PLOVAINFO", path("missing").c_str(), 1);
  EXPECT_EQ(findInstallation(directory, version), 0);
  EXPECT_EQ(version, static_cast<unsigned>(-1));
  ::setenv("PLOVAINFO", ("/" + std::string(255, 'x')).c_str(), 1);
  EXPECT_EQ(findInstallation(directory, version), 0);
  EXPECT_EQ(logged(), "PLOVAINFO names a path longer than 255 characters; ignored.\n");
}

TEST_F(InfoFile, AFileOfAnotherUserIsNotBelieved) {
  std::string directory;
  unsigned version = 0;
  ASSERT_EQ(find(expectedInfoFile("/etc"), directory, version), 1);
  ASSERT_EQ(::chown(path("info").c_str(), 1000, 1000), 0);
  directory.clear();
  EXPECT_EQ(findInstallation(directory, version), 0);
  EXPECT_EQ(directory, "");
  EXPECT_TRUE(Contains(logged(), "The information file " + path("info") +
                                     " belongs to user 1000, neither root nor the user running setup;"));
}

TEST_F(InfoFile, WriteInfoFileWritesThe26Lines) {
  ::umask(077);
  state.installDir = dir_;
  state.userId = static_cast<int>(::getuid());
  state.groupId = static_cast<int>(::getgid());
  writeInfoFile();
  ::umask(022);
  const std::string written = read(path("plovaInfo4.0"));
  EXPECT_EQ(written, expectedInfoFile(dir_));
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 26);
  EXPECT_EQ(modeOf(path("plovaInfo4.0")), 0755u);
  // What it wrote is found again.
  std::string directory;
  unsigned version = 0;
  ::setenv("PLOVAINFO", path("plovaInfo4.0").c_str(), 1);
  EXPECT_EQ(findInstallation(directory, version), 1);
  EXPECT_EQ(directory, dir_);
}

TEST_F(InfoFile, WriteInfoFileNeverWritesThroughALink) {
  state.installDir = dir_;
  write(path("victim"), "keep");
  ASSERT_EQ(::symlink(path("victim").c_str(), path("plovaInfo4.0").c_str()), 0);
  writeInfoFile();
  EXPECT_EQ(read(path("victim")), "keep");
  EXPECT_EQ(logged(), "Cannot open file:\n\t'" + path("plovaInfo4.0") + "',\nPlease check and try again.\n");
}

TEST_F(InfoFile, ConvertReplacesTheFirstHeaderOnly) {
  state.installDir = dir_;
  const std::string old =
      "#\n# Plova 2.0 Information File\n#\n%%WOXBLOCK_GENERAL_BEGIN\nUSRDIR          /opt/old\n"
      "%%WOXBLOCK_GENERAL_END\n# Information File again\n%%WOXBLOCK_PRINTERS_BEGIN\nq1\nq2\n"
      "%%WOXBLOCK_PRINTERS_END\n%%WOXEND";
  write(path("plovaInfo2.0"), old);
  convertInfoFile();
  std::string expected = old;
  expected.replace(expected.find("# Plova 2.0"), 28, "# Plova 3.0 Information File");
  EXPECT_EQ(read(path("plovaInfo4.0")), expected);
  EXPECT_EQ(read(path("plovaInfo2.0")), old);  // the old file stays
  EXPECT_EQ(logged(), "Copied plovaInfo2.0 to plovaInfo3.0 file.\n");
}

TEST_F(InfoFile, ConvertWithoutAnOldFileWritesAFreshOne) {
  state.installDir = dir_;
  convertInfoFile();
  EXPECT_EQ(read(path("plovaInfo4.0")), expectedInfoFile(dir_));
  EXPECT_EQ(logged(), "Cannot open file:\n\t'" + path("plovaInfo2.0") + "',\nPlease check and try again.\n");
}

}  // namespace
