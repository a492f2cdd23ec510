#include "install/uninstall_script.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "install/test_support.h"
#include "install/uninstall_script_expected.h"

namespace {

class UninstallScript : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    state.userId = static_cast<int>(::getuid());
    state.groupId = static_cast<int>(::getgid());
    state.cmdRm = "/bin/rm";
  }

  // Makes the tree that the script removes below dir_/<install>.
  void layInstallation(const std::string& install, const std::string& ppd) {
    for (const char* d : {"", "/bin", "/etc", "/keep"}) ::mkdir((install + d).c_str(), 0755);
    ::mkdir(ppd.c_str(), 0755);
    ::mkdir((ppd + "/ppd").c_str(), 0755);
    for (const char* f : {"/plovaInfo4.0", "/bin/woxgsfilter", "/bin/nc", "/bin/setup", "/etc/PLOVAINST.CONF"})
      write(install + f, "x");
    write(ppd + "/ppd/a.ppd", "x");
    write(ppd + "/other.ppd", "x");
  }

  // The generated script with its removal of the fixed filter link pointed
  // into the test's directory, so that running it touches nothing else.
  std::string runnable(const std::string& generated) {
    std::string script = read(generated);
    const std::string fixed = "delFile /usr/bin/woxgsfilter\n";
    const std::size_t at = script.find(fixed);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) script.replace(at, fixed.size(), "delFile " + path("usrbin-woxgsfilter") + "\n");
    write(path("run.sh"), script);
    return path("run.sh");
  }

  // Runs a script with /bin/sh, answers on standard input; the output.
  std::string runWith(const std::string& script, const std::string& answers) {
    write(path("answers"), answers);
    const std::string command = "/bin/sh '" + script + "' <'" + path("answers") + "' >'" + path("output") +
                                "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return read(path("output"));
  }
};

TEST_F(UninstallScript, IsThe74LinesWithTheLinkBeforeTheFilter) {
  state.installDir = path("i");
  state.packagePpdDir = path("ppdkwo");
  layInstallation(state.installDir, state.packagePpdDir);
  ::umask(077);
  writeUninstallScript();
  ::umask(022);
  const std::string script = read(path("i/etc/UNINSTALLPLOVA"));
  EXPECT_EQ(std::count(script.begin(), script.end(), '\n'), 74);
  EXPECT_EQ(script.substr(0, 57), "#!/bin/sh\n#\n# De-installation script of Plova 3.0 dated: ");
  EXPECT_EQ(script.find('\n', 57), 57u + 24u);  // the ctime text: 24 characters and its newline
  EXPECT_EQ(withoutLine3(script), expectedUninstallScript(path("i"), path("ppdkwo")));
  EXPECT_EQ(modeOf(path("i/etc/UNINSTALLPLOVA")), 0755u);
  EXPECT_EQ(logged(), "Created script: " + path("i/etc/UNINSTALLPLOVA") + ".\n");
}

TEST_F(UninstallScript, LeavesThePpdLineOutWithoutAPackagePpdDir) {
  state.installDir = path("i");
  layInstallation(state.installDir, path("ppdkwo"));
  writeUninstallScript();
  const std::string script = read(path("i/etc/UNINSTALLPLOVA"));
  EXPECT_EQ(withoutLine3(script), expectedUninstallScript(path("i"), ""));
  EXPECT_EQ(script.find("/ppd\n"), std::string::npos);
}

TEST_F(UninstallScript, RunsAndRemovesOnlyOnYes) {
  state.installDir = path("i");
  state.packagePpdDir = path("ppdkwo");
  layInstallation(state.installDir, state.packagePpdDir);
  writeUninstallScript();
  const std::string script = runnable(path("i/etc/UNINSTALLPLOVA"));
  ASSERT_EQ(::symlink(path("i/bin/woxgsfilter").c_str(), path("usrbin-woxgsfilter").c_str()), 0);

  // Empty answer: the default no. Unknown words ask again.
  EXPECT_EQ(runWith(script, "\n"),
            "De-installation of 'Plova 4.0-0'\nDo you really want to de-install Plova 3.0? [no]? \n");
  EXPECT_EQ(runWith(script, "maybe\nNo\n"),
            "De-installation of 'Plova 4.0-0'\nDo you really want to de-install Plova 3.0? [no]? \n"
            "Answer with yes or no please.\nDo you really want to de-install Plova 3.0? [no]? \n");
  EXPECT_TRUE(std::filesystem::exists(path("i/bin/setup")));
  EXPECT_TRUE(std::filesystem::is_symlink(path("usrbin-woxgsfilter")));

  runWith(script, "o\n");
  EXPECT_FALSE(std::filesystem::exists(path("i")));
  EXPECT_FALSE(std::filesystem::exists(path("ppdkwo/ppd")));
  EXPECT_TRUE(std::filesystem::exists(path("ppdkwo/other.ppd")));
  // The link went before the filter it points to, so it is not left dangling.
  EXPECT_FALSE(std::filesystem::is_symlink(path("usrbin-woxgsfilter")));
}

TEST_F(UninstallScript, YesInAnyCaseCounts) {
  for (const char* yes : {"y\n", "Y\n", "yes\n", "YeS\n", "O\n"}) {
    state.installDir = path("i");
    layInstallation(state.installDir, path("ppdkwo"));
    writeUninstallScript();
    runWith(runnable(path("i/etc/UNINSTALLPLOVA")), yes);
    EXPECT_FALSE(std::filesystem::exists(path("i"))) << yes;
  }
}

TEST_F(UninstallScript, PathsWithBlanksAndShellCharactersStayOnePath) {
  // Without quoting, "rm -rf <dir>/my dir" would remove <dir>/my and ./dir.
  state.installDir = path("my dir;$(touch pwned)");
  state.packagePpdDir = path("p p");
  state.cmdRm = "/bin/rm";
  layInstallation(state.installDir, state.packagePpdDir);
  for (const char* decoy : {"my", "dir", "p"}) ::mkdir(path(decoy).c_str(), 0755);
  writeUninstallScript();
  const std::string script = read(state.installDir + "/etc/UNINSTALLPLOVA");
  EXPECT_NE(script.find("if [ -d \"$1\" ] ; then\n  /bin/rm -rf \"$1\"\n"), std::string::npos);
  EXPECT_NE(script.find("delDir '" + state.installDir + "'\n"), std::string::npos);
  const std::string runnableScript = runnable(state.installDir + "/etc/UNINSTALLPLOVA");
  WorkingDir inside(dir_);
  runWith(runnableScript, "yes\n");
  EXPECT_FALSE(std::filesystem::exists(state.installDir));
  EXPECT_FALSE(std::filesystem::exists(state.packagePpdDir + "/ppd"));
  for (const char* decoy : {"my", "dir", "p"}) EXPECT_TRUE(std::filesystem::exists(path(decoy))) << decoy;
  EXPECT_FALSE(std::filesystem::exists(path("pwned")));
  EXPECT_FALSE(std::filesystem::exists("/pwned"));
}

TEST_F(UninstallScript, CannotBeWrittenThroughALink) {
  state.installDir = path("i");
  layInstallation(state.installDir, path("ppdkwo"));
  write(path("victim"), "keep");
  ASSERT_EQ(::symlink(path("victim").c_str(), path("i/etc/UNINSTALLPLOVA").c_str()), 0);
  writeUninstallScript();
  EXPECT_EQ(read(path("victim")), "keep");
  EXPECT_EQ(logged(),
            "Cannot open file:\n\t'" + path("i/etc/UNINSTALLPLOVA") + "',\nPlease check and try again.\n");
}

}  // namespace
