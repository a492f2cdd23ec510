#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/state.h"
#include "uninstall/deinstall.h"

namespace fs = std::filesystem;

namespace {

class RemoveTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/remove_tree_test.XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root = pattern;
    // What must never change: a directory with files outside the tree.
    fs::create_directories(root / "outside/sub");
    write(root / "outside/keep.txt");
    write(root / "outside/sub/deep.txt");
  }
  void TearDown() override { fs::remove_all(root); }

  static void write(const fs::path& path) { std::ofstream(path) << "data\n"; }
  void expectOutsideIntact() const {
    EXPECT_TRUE(fs::exists(root / "outside/keep.txt"));
    EXPECT_TRUE(fs::exists(root / "outside/sub/deep.txt"));
  }

  fs::path root;
};

TEST_F(RemoveTreeTest, RemovesNestedTreeWithDotFiles) {
  const fs::path tree = root / "tree";
  fs::create_directories(tree / "a/b/c");
  fs::create_directories(tree / ".hidden");
  write(tree / "file");
  write(tree / ".dotfile");
  write(tree / "a/b/c/leaf");
  write(tree / ".hidden/x");
  EXPECT_EQ(removeTree(tree), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
}

TEST_F(RemoveTreeTest, LinksAreRemovedAsLinksNeverEntered) {
  const fs::path tree = root / "tree";
  fs::create_directories(tree / "sub");
  fs::create_directory_symlink(root / "outside", tree / "to-dir");
  fs::create_directory_symlink(root / "outside", tree / "sub/to-dir-again");
  fs::create_symlink(root / "outside/keep.txt", tree / "to-file");
  fs::create_symlink(root / "gone", tree / "dangling");
  EXPECT_EQ(removeTree(tree), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
  expectOutsideIntact();
}

TEST_F(RemoveTreeTest, TreeThatIsItselfALinkLosesOnlyTheLink) {
  fs::create_directory_symlink(root / "outside", root / "link");
  EXPECT_EQ(removeTree(root / "link"), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(root / "link")));
  expectOutsideIntact();
}

TEST_F(RemoveTreeTest, SpecialFilesStayAndTheResultSaysSo) {
  const fs::path tree = root / "tree";
  fs::create_directories(tree / "sub");
  write(tree / "file");
  ASSERT_EQ(::mkfifo((tree / "sub/fifo").c_str(), 0600), 0);
  EXPECT_EQ(removeTree(tree), -1);
  EXPECT_TRUE(fs::exists(fs::symlink_status(tree / "sub/fifo")));
  EXPECT_FALSE(fs::exists(tree / "file"));  // everything else went
}

TEST_F(RemoveTreeTest, NothingToRemove) {
  EXPECT_EQ(removeTree(root / "missing"), -1);
  EXPECT_EQ(removeTree(""), -1);
  EXPECT_EQ(removeTree(root / "outside/keep.txt"), -1);  // not a directory: left alone
  expectOutsideIntact();
}

class QueueFilesTest : public RemoveTreeTest {
 protected:
  void SetUp() override {
    RemoveTreeTest::SetUp();
    savedInstallDir = state.installDir;
    state.installDir = root / "inst";
    fs::create_directories(root / "inst");
  }
  void TearDown() override {
    state.installDir = savedInstallDir;
    RemoveTreeTest::TearDown();
  }
  std::string savedInstallDir;
};

TEST_F(QueueFilesTest, RemovesTheQueueDirectoryAndItsScript) {
  fs::create_directories(root / "inst/q1/root");
  write(root / "inst/q1/root/plovaConfig");
  fs::create_directory_symlink(root / "outside", root / "inst/q1/elsewhere");
  write(root / "inst/q1.sh");
  EXPECT_EQ(deleteQueueFiles("q1"), 0);
  EXPECT_FALSE(fs::exists(root / "inst/q1"));
  EXPECT_FALSE(fs::exists(root / "inst/q1.sh"));
  expectOutsideIntact();
}

TEST_F(QueueFilesTest, ScriptStaysWithoutTheQueueDirectory) {
  write(root / "inst/q2.sh");
  EXPECT_EQ(deleteQueueFiles("q2"), -1);
  EXPECT_TRUE(fs::exists(root / "inst/q2.sh"));
}

TEST_F(QueueFilesTest, NamesThatLeaveTheInstallDirectoryAreRefused) {
  // root/inst/.. is root itself; root/inst/../outside the directory to keep.
  for (const std::string& name : std::vector<std::string>{"..", ".", "../outside", "sub/..", std::string(80, 'q'), std::string()}) {
    EXPECT_EQ(deleteQueueFiles(name), -1) << name;
    EXPECT_FALSE(isQueueNameSafe(name)) << name;
  }
  expectOutsideIntact();
  EXPECT_TRUE(fs::exists(root / "inst"));
  for (const std::string& name : std::vector<std::string>{"q1", "lp0", "-x", "my queue", "..q", std::string(79, 'q')})
    EXPECT_TRUE(isQueueNameSafe(name)) << name;
}

}  // namespace
