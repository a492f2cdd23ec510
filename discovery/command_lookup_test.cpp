#include "discovery/command_lookup.h"

#include <gtest/gtest.h>

#include "discovery/cups_dirs.h"
#include "tests/unit_support.h"
#include "driver/state.h"

using unit_test::TempDir;
using unit_test::writeFile;

namespace {
// Puts the CUPS prefixes back after each test.
struct CupsPrefixes : ::testing::Test {
  void TearDown() override {
    state.cupsBinDir.clear();
    state.cupsBaseDir.clear();
  }
};
}  // namespace

TEST(FindCommand, FirstSystemDirectoryThatHoldsTheName) {
  EXPECT_EQ(findCommand("sh"), "/usr/bin/sh");  // before /bin/sh
  EXPECT_EQ(findCommand("no-such-command-here"), std::nullopt);
}

TEST_F(CupsPrefixes, FindCupsCommandSearchesBinSbinEtcLibBelowBothPrefixes) {
  TempDir bin, base;
  state.cupsBinDir = bin.path();
  state.cupsBaseDir = base.path();
  // Order: bin prefix bin, sbin, etc, lib; then base prefix bin, sbin, etc, lib.
  const char* order[] = {"bin", "sbin", "etc", "lib"};
  std::vector<std::string> candidates;
  for (const TempDir* prefix : {&bin, &base})
    for (const char* sub : order) candidates.push_back(*prefix / (std::string(sub) + "/tool"));
  for (const std::string& c : candidates) writeFile(c, "");
  for (const std::string& c : candidates) {
    EXPECT_EQ(findCupsCommand("tool"), c);
    std::filesystem::remove(c);
  }
  // Nothing below the prefixes: the bare name, the system directories are
  // not searched.
  EXPECT_EQ(findCupsCommand("sh"), "sh");
  // A directory of that name counts as well.
  std::filesystem::create_directories(base / "lib/tool");
  EXPECT_EQ(findCupsCommand("tool"), base / "lib/tool");
}

TEST_F(CupsPrefixes, FindCupsCommandWithoutBinDirIsFindCommand) {
  TempDir base;
  state.cupsBaseDir = base.path();
  writeFile(base / "bin/sh", "");
  EXPECT_EQ(findCupsCommand("sh"), "/usr/bin/sh");
  EXPECT_EQ(findCupsCommand("no-such-command-here"), std::nullopt);
}

TEST_F(CupsPrefixes, DataDirBelowTheBinDirFirstThenFixedPlaces) {
  TempDir bin;
  state.cupsBinDir = bin.path();
  writeFile(bin / "share/cups", "");  // a plain file counts
  EXPECT_EQ(getCupsDir("datadir"), bin / "share/cups");
  EXPECT_EQ(getCupsDir("DataDir"), std::nullopt);
  EXPECT_EQ(getCupsDir("serverbin"), std::nullopt);
  state.cupsBinDir.clear();
  EXPECT_EQ(getCupsDir("datadir"), "/usr/share/cups");
}
