#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "driver/state.h"
#include "uninstall/deinstall.h"

namespace fs = std::filesystem;

namespace {

// With deletion off nothing goes, and each listed path that exists reports
// "OK." (the filter link in /usr/bin is only looked at, never changed).
TEST(DeleteInstalledFiles, WithDeletionOffOnlyReports) {
  char pattern[] = "/tmp/installed_files_test.XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const fs::path root = pattern;
  for (const char* dir : {"bin", "etc", "ppd"}) fs::create_directories(root / dir);
  for (const char* file : {"plovaInfo4.0", "bin/setup", "etc/UNINSTALLPLOVA", "ppd/a.ppd.gz"})
    std::ofstream(root / file) << "x\n";
  fs::create_symlink(root / "gone", root / "plova");  // dangling: counts as missing

  const std::string savedDir = state.installDir;
  const fs::path savedCwd = fs::current_path();
  std::FILE* log = std::tmpfile();
  ASSERT_NE(log, nullptr);
  state.installDir = root;
  state.logFile = log;
  deleteInstalledFiles(0);
  state.logFile = nullptr;
  state.installDir = savedDir;
  fs::current_path(savedCwd);

  std::rewind(log);
  std::string text;
  for (int c; (c = std::fgetc(log)) != EOF;) text += static_cast<char>(c);
  std::fclose(log);
  const std::string d = root.string();
  for (const std::string& line : {
           "Deleting file: '" + d + "/plova' - Not possible!\n",
           "Deleting file: '" + d + "/plovaInfo4.0' - OK.\n",
           "Deleting file: '" + d + "/bin/woxgsfilter' - Not possible!\n",
           "Deleting file: '" + d + "/etc/UNINSTALLPLOVA' - OK.\n",
           "Deleting file: '" + d + "/bin/setup' - OK.\n",
           "Deleting file: '" + d + "/bin/nc' - Not possible!\n",
           "Deleting directory: '" + d + "/Default' - Not possible!\n",
           "Deleting directory: '" + d + "/ppd' - OK.\n",
           "Deleting directory: '" + d + "/bin' - OK.\n",
       })
    EXPECT_NE(text.find(line), std::string::npos) << line << "in:\n" << text;
  EXPECT_TRUE(fs::exists(root / "ppd/a.ppd.gz"));
  EXPECT_TRUE(fs::exists(root / "bin/setup"));
  EXPECT_TRUE(fs::is_symlink(root / "plova"));
  fs::remove_all(root);
}

}  // namespace
