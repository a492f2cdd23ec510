#include "driver/options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "driver/state.h"

namespace {

// Runs both passes over argv as the driver does, from a cleared state.
void parse(std::vector<std::string> args) {
  clearState();
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(args.size());
  firstOptionPass(argc, argv.data());
  secondOptionPass(argc, argv.data());
}

TEST(OptionPasses, EachOptionInItsPass) {
  parse({"setup", "-d", "-f0", "-S", "1", "-D", "2", "-i", "OTHER.CONF", "-q1", "-u", "/opt/other/"});
  EXPECT_EQ(state.deinstallMode, 1);
  EXPECT_EQ(state.allowAnyDir, 0);
  EXPECT_EQ(state.selinuxMode, 1);
  EXPECT_EQ(state.debugLevel, 2);
  EXPECT_EQ(state.manifestName, "OTHER.CONF");
  EXPECT_EQ(state.queryMode, 1);
  EXPECT_EQ(state.installDir, "/opt/other/");
}

TEST(OptionPasses, NumbersAndRepeatsAndIgnoredOptions) {
  parse({"setup", "-q", "-1", "-Z", " 3x", "-m", "7", "-w", "/x", "extra", "-f", "junk"});
  EXPECT_EQ(state.queryMode, 0);  // negative gives 0
  EXPECT_EQ(state.debugLevel, 3);  // strtol: blanks skipped, stops at the first other character
  EXPECT_EQ(state.allowAnyDir, 0);  // no digits give 0
  EXPECT_EQ(state.installDir, "/opt/kwo");  // -m and -w change nothing
  EXPECT_EQ(state.manifestName, "PLOVAINST.CONF");

  parse({"setup", "-q2", "-u", "/a", "-u", "/b"});
  EXPECT_EQ(state.queryMode, 2);
  EXPECT_EQ(state.installDir, "/b");  // the later one wins
}

TEST(FindSourceDir, DirectoryOfTheProgramPath) {
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  const struct {
    const char* programPath;
    std::string sourceDir;
  } cases[] = {
      {"/opt/kwo/bin/setup", "/opt/kwo"},
      {"/tmp/pkg/bin/setup", "/tmp/pkg/bin"},
      {"/opt/kwo2/setup", "/opt/kwo2"},
      {"/setup", "/setup"},
      {"./setup", cwd},
      {"bin/setup", cwd},
  };
  for (const auto& c : cases) {
    findSourceDir(c.programPath);
    EXPECT_EQ(state.sourceDir, c.sourceDir) << c.programPath;
  }
}

}  // namespace
