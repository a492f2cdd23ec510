#include "install/labels.h"

#include <sys/stat.h>

#include <string>

#include "install/test_support.h"

namespace {

class Labels : public TempDirTest {
 protected:
  // A chcon that records its arguments and exits with status.
  void fakeChcon(int status) {
    write(path("chcon"), "#!/bin/sh\necho \"$*\" >>'" + path("calls") + "'\nexit " + std::to_string(status) + "\n");
    ::chmod(path("chcon").c_str(), 0755);
    state.cmdChcon = path("chcon");
  }
};

TEST_F(Labels, SetLabelRunsChconWithTheOptionsAndLogsTheRawStatus) {
  fakeChcon(1);
  EXPECT_EQ(setLabel(path("a file"), "-R -u system_u", 1), 256);
  EXPECT_EQ(read(path("calls")), "-R -u system_u " + path("a file") + "\n");  // the path stays one word
  EXPECT_EQ(logged(), "chcon SELinux for: \"" + path("chcon") + " -R -u system_u '" + path("a file") +
                          "' 2>/dev/null\": result: 256\n");
  EXPECT_EQ(setLabel(path("x"), "-t bin_t", 0), 256);
  EXPECT_EQ(logged().find(path("x") + " 2>"), std::string::npos);  // not logged
}

TEST_F(Labels, SetLabelNeedsChconByItsFullPath) {
  for (std::optional<std::string> chcon : {std::optional<std::string>(), std::optional<std::string>("chcon")}) {
    state.cmdChcon = chcon;
    EXPECT_EQ(setLabel(path("x"), "-u system_u", 1), -1);
  }
  EXPECT_EQ(logged(), "");
}

TEST_F(Labels, PrepareInstallDirMakesBinAndEtcAndLabelsBin) {
  fakeChcon(0);
  EXPECT_EQ(prepareInstallDir(path("kwo")), 1);
  EXPECT_EQ(modeOf(path("kwo")), 0777u);
  EXPECT_EQ(modeOf(path("kwo/bin")), 0755u);
  EXPECT_EQ(modeOf(path("kwo/etc")), 0755u);
  EXPECT_EQ(read(path("calls")), "-R -u system_u " + path("kwo/bin") + "\n");
  // Once prepared, any later call succeeds at once.
  EXPECT_EQ(prepareInstallDir(path("elsewhere")), 1);
  EXPECT_FALSE(std::filesystem::exists(path("elsewhere")));
}

TEST_F(Labels, PrepareInstallDirReportsWhatCannotBeMade) {
  ASSERT_EQ(::mkdir(path("kwo").c_str(), 0755), 0);
  write(path("kwo/bin"), "a file");
  EXPECT_EQ(prepareInstallDir(path("kwo")), 0);
  EXPECT_EQ(logged(), "No KWO binary directory: '" + path("kwo/bin") + "' possible\n");
  EXPECT_EQ(prepareInstallDir(""), 0);
  EXPECT_EQ(prepareInstallDir(path("no/parent")), 0);
  EXPECT_TRUE(Contains(logged(), "No KWO directory: '" + path("no/parent") + "' possible\n"));
  EXPECT_EQ(state.installDirPrepared, 0);
}

}  // namespace
