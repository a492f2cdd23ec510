#include "ppd/model_links.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "install/test_support.h"

namespace {

// The model directory lives in the test's own directory; the rules that
// name fixed shared trees are covered end to end.
class ModelLinks : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    state.ppdDir = path("model");
    ASSERT_EQ(::mkdir(state.ppdDir.c_str(), 0755), 0);
  }
  void link(const std::string& target, const std::string& name) {
    ASSERT_EQ(::symlink(target.c_str(), (state.ppdDir + "/" + name).c_str()), 0);
  }
};

TEST_F(ModelLinks, CustomEntriesAreRecordedByTheirOwnPathUpToEight) {
  state.ppdLocationFlags = 0x008 | 0x010;
  for (int i = 1; i <= 9; ++i) link(path("tree"), "custom" + std::to_string(i));
  link("/usr/share/ppd", "shared");       // no "custom" in its path: skipped
  write(state.ppdDir + "/custom.ppd", "");  // neither link nor directory
  int count = -5;
  EXPECT_EQ(scanModelLinks(count), 1);
  EXPECT_EQ(count, 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(linkNames[static_cast<std::size_t>(i)].rfind(state.ppdDir + "/custom", 0), 0u);
    EXPECT_EQ(linkTargets[static_cast<std::size_t>(i)], path("tree"));
  }
  const std::string log = logged();
  EXPECT_TRUE(Contains(log, "Link 1: " + state.ppdDir + "/custom"));
  EXPECT_TRUE(Contains(log, "Link 8: "));
  EXPECT_FALSE(Contains(log, "Link 9: "));
}

TEST_F(ModelLinks, TheFirstLinkIntoTheChosenTreeEndsTheScan) {
  struct Case {
    int flags;
    const char* target;
  };
  for (const Case& c : {Case{0x002 | 0x010, "/usr/share/foomatic/db/source/PPD"}, Case{0x010, "/usr/share/ppd/x"},
                        Case{0x020, "/opt/share/ppd"}}) {
    TearDown();  // a fresh directory and log for each case
    SetUp();
    state.ppdLocationFlags = c.flags;
    link("/somewhere/else", "other");
    link(c.target, "tree");
    int count = 0;
    EXPECT_EQ(scanModelLinks(count), 1) << c.target;
    EXPECT_EQ(count, 1);
    EXPECT_EQ(linkNames[0], state.ppdDir + "/tree");
    EXPECT_EQ(linkTargets[0], c.target);
    EXPECT_TRUE(Contains(logged(), "Link 1: " + state.ppdDir + "/tree linked to " + c.target + ".\n"));
  }
}

TEST_F(ModelLinks, NothingKnownIsLoggedUnlessAPathNamesFoomatic) {
  state.ppdLocationFlags = 0x010;
  link("/elsewhere", "plain");
  ASSERT_EQ(::mkdir(path("model/leaf").c_str(), 0755), 0);  // no subdirectories: not a tree
  int count = 3;
  EXPECT_EQ(scanModelLinks(count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(logged(), "No known links in cups model dir: " + state.ppdDir + "\n");
  link("/elsewhere", "foomatic-db");
  EXPECT_EQ(scanModelLinks(count), -1);
  EXPECT_EQ(logged(), "No known links in cups model dir: " + state.ppdDir + "\n");  // nothing more
}

TEST_F(ModelLinks, AnOverLongLinkTargetIsSkipped) {
  state.ppdLocationFlags = 0x010;
  const std::string longTarget = "/usr/share/ppd/" + std::string(250, 'x');
  link(longTarget, "long");
  int count = 0;
  EXPECT_EQ(scanModelLinks(count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(Contains(logged(), "Link " + state.ppdDir + "/long points to a path longer than 255 characters"));
}

TEST_F(ModelLinks, AMissingModelDirectoryChangesNothing) {
  state.ppdDir = path("none");
  state.packagePpdDir = "/kept";
  int count = 4;
  EXPECT_EQ(scanModelLinks(count), 0);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(linkPackagePpdDir("", 0), 0);
  EXPECT_EQ(state.packagePpdDir, "/kept");
  EXPECT_EQ(logged(), "");
}

TEST_F(ModelLinks, AnEarlierInstallationsDirectoryIsKept) {
  state.cupsVersion = 1200;
  EXPECT_EQ(linkPackagePpdDir(path("earlier/kwo"), 0), 1);
  EXPECT_EQ(state.packagePpdDir, path("earlier/kwo"));
  EXPECT_FALSE(std::filesystem::exists(path("earlier")));
  EXPECT_EQ(logged(), "PPD installation dir: " + path("earlier/kwo") + "\n" +
                          "Using previous Plova PPD directory: \"" + path("earlier/kwo") + "\".\n");
}

TEST_F(ModelLinks, WithoutSharedTreesTheModelDirectoryGetsKwo) {
  // CUPS 1.3 and later: made, result 0.
  state.cupsVersion = 2200;
  EXPECT_EQ(linkPackagePpdDir("", 0), 0);
  EXPECT_EQ(state.packagePpdDir, state.ppdDir + "/kwo");
  EXPECT_EQ(modeOf(state.ppdDir + "/kwo"), 0755u);
  const std::string kwo = state.ppdDir + "/kwo";
  EXPECT_EQ(logged(), "PPD installation dir: " + kwo + "\nCreated directory: '" + kwo + "'.\n" +
                          "Changing execution rights of '" + kwo + "' to  00755.\n" + "Created directory: '" +
                          kwo + "'.\n");
  // Older CUPS, no links: chosen, nothing made.
  std::filesystem::remove(kwo);
  state.cupsVersion = 1200;
  EXPECT_EQ(linkPackagePpdDir("", 0), 1);
  EXPECT_EQ(state.packagePpdDir, kwo);
  EXPECT_FALSE(std::filesystem::exists(kwo));
}

TEST_F(ModelLinks, OlderCupsTakesKwoBelowARecordedLink) {
  state.cupsVersion = 1200;
  state.ppdLocationFlags = 0x008;
  ASSERT_EQ(::mkdir(path("tree").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(path("tree/kwo").c_str(), 0755), 0);
  struct Case {
    std::string target;  // of the link "custom" in the model directory
    std::string expected;
  };
  for (const Case& c : {Case{path("tree"), path("tree/kwo")},  // absolute target: kwo below it
                        Case{path("tree/kwo"), path("tree/kwo")},  // already ends in kwo
                        Case{"../tree", state.ppdDir + "/custom/kwo"}}) {  // relative: the entry's own path
    std::filesystem::remove(state.ppdDir + "/custom");
    link(c.target, "custom");
    int count = 0;
    ASSERT_EQ(scanModelLinks(count), 1);
    EXPECT_EQ(linkPackagePpdDir("", count), 1) << c.target;
    EXPECT_EQ(state.packagePpdDir, c.expected);
    EXPECT_TRUE(std::filesystem::is_directory(c.expected));
  }
  // No recorded entry fits the pattern: the model directory's kwo, result 0.
  state.ppdLocationFlags = 0x002;
  EXPECT_EQ(linkPackagePpdDir("", 1), 0);
  EXPECT_EQ(state.packagePpdDir, state.ppdDir + "/kwo");
}

TEST_F(ModelLinks, ADirectoryThatCannotBeMadeIsNotReportedAsCreated) {
  state.cupsVersion = 1200;
  state.ppdLocationFlags = 0x008;
  link(path("missing/tree"), "custom");
  int count = 0;
  ASSERT_EQ(scanModelLinks(count), 1);
  linkPackagePpdDir("", count);
  EXPECT_EQ(state.packagePpdDir, path("missing/tree/kwo"));
  const std::string log = logged();
  EXPECT_TRUE(Contains(log, "Could not create directory: " + path("missing/tree/kwo") + "\n"));
  EXPECT_FALSE(Contains(log, "Created directory"));
}

}  // namespace
