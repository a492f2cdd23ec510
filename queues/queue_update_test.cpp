#include "queues/queue_update.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "driver/state.h"
#include "tests/unit_support.h"

using unit_test::CapturedLog;
using unit_test::readFile;
using unit_test::TempDir;
using unit_test::writeFile;

TEST(BackupPath, NamedAfterThePpdFileItSaves) {
  struct Case {
    const char* searchDir;
    const char* ppdPath;
    const char* backup;
  } cases[] = {
      {"/usr/share/ppd/kwo", "/etc/cups/ppd/q1.ppd", "/usr/share/q1.ppd.rpmsave"},
      {"/usr/share/ppd/kwo", "/etc/cups/ppd/q1.ppd.O", "/usr/share/q1.ppd.O.rpmsave"},
      {"/usr/share/cups/model/kwo", "/etc/cups/ppd/q1.ppd", "/usr/share/cups/model/kwoq1.ppd.rpmsave"},
      {"/opt/ppd/a/ppd/b", "/etc/cups/ppd/q.ppd", "/opt/q.ppd.rpmsave"},
      {"/usr/share/ppdfiles", "/opt/cups/etc/cups/ppd/x.ppd", "/usr/share/x.ppd.rpmsave"},
  };
  for (const auto& c : cases) EXPECT_EQ(backupPath(c.searchDir, c.ppdPath), c.backup) << c.ppdPath;
}

class PpdBackup : public ::testing::Test {
 protected:
  void SetUp() override { state.cmdCp = "cp"; }
  TempDir dir_;
};

TEST_F(PpdBackup, CopiesThePpdAndLogsTheStatus) {
  const std::string ppd = dir_ / "cups/it's a queue.ppd";
  writeFile(ppd, "old ppd\n");
  CapturedLog log;
  EXPECT_EQ(savePpdBackup(dir_ / "ppd/kwo", ppd, "it's a queue"), 1);
  const std::string backup = dir_ / "it's a queue.ppd.rpmsave";
  EXPECT_EQ(readFile(backup), "old ppd\n");
  EXPECT_EQ(log.text(), "saving " + ppd + " to " + backup + ": result=0\n");
}

TEST_F(PpdBackup, ADirectoryInTheWayOrAMissingPpdIsAFailedBackup) {
  const std::string ppd = dir_ / "cups/q1.ppd";
  writeFile(ppd, "old ppd\n");
  std::filesystem::create_directories(dir_ / "q1.ppd.rpmsave");
  CapturedLog log;
  EXPECT_EQ(savePpdBackup(dir_ / "ppd/kwo", ppd, "q1"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "q1.ppd.rpmsave/q1.ppd"));
  EXPECT_NE(log.text().find("Backup of " + ppd + " failed: the PPD of printer q1 is not replaced."),
            std::string::npos);
  EXPECT_EQ(savePpdBackup(dir_ / "ppd/kwo", dir_ / "cups/missing.ppd", "missing"), 0);
  EXPECT_NE(log.text().find(": result=256\n"), std::string::npos) << log.text();
}

TEST_F(PpdBackup, CopyNewPpdQuotesItsPaths) {
  const std::string out = dir_ / "new $(touch pwned).ppd";
  writeFile(out, "new ppd\n");
  const std::string ppd = dir_ / "x;touch pwned.ppd";
  CapturedLog log;
  // An injected command would run in the working directory: make it ours.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  EXPECT_EQ(copyNewPpd(ppd, out), 1);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(readFile(ppd), "new ppd\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "pwned"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "pwned.ppd"));
  EXPECT_EQ(log.text(), "Copying " + out + " to " + ppd + ": result=0\n");
}
