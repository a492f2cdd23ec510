// Package installation end to end: new installations, upgrades from 4.0 and
// 2.0 information files, a missing manifest, the copy rules of the item loop,
// the PPD-location layouts, the model-directory link by CUPS version and the
// generated uninstall script.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/info_file_expected.h"
#include "install/uninstall_script_expected.h"
#include "tests/throwaway_root.h"

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

// Pins the CUPS version that the survey finds when no server answers (the
// version probe reads cups-config first), so the link rules are known.
std::string cupsConfig(const char* version) {
  return std::string("printf '#!/bin/sh\\necho ") + version + "\\n' >/usr/bin/cups-config\n";
}


void expectPath(const RootRun& run, const std::string& p, char type, unsigned mode,
                const std::string& linkTarget = "") {
  ASSERT_TRUE(run.touched(p)) << p;
  const TouchedPath& t = run.paths.at(p);
  EXPECT_EQ(t.type, type) << p;
  if (type == 'l') {
    EXPECT_EQ(t.linkTarget, linkTarget) << p;
  } else {
    EXPECT_EQ(t.mode, mode) << p << std::oct << " mode " << t.mode;
  }
  EXPECT_EQ(t.owner, "root:root") << p;
}

// Every package PPD file (listed by the scenario in $OUT/ppds) is in dir
// with mode 0644.
void expectPackagePpds(const RootRun& run, const std::string& dir) {
  const std::vector<std::string> names = lines(run.file("ppds"));
  ASSERT_FALSE(names.empty());
  for (const std::string& name : names) expectPath(run, dir + "/" + name, 'f', 0644);
}

TEST(Install, NewInstallationFromOptKwoBinThenUpgrade) {
  auto run = runInRoot(cupsConfig("1.2.0") + R"(
    lay_package
    ls /opt/kwo/ppd >"$OUT/ppds"
    ln -s /opt/gone/bin/woxgsfilter /usr/bin/woxgsfilter   # left by an installation long removed
    WOXLPMODE=CUPS run_setup 2>"$OUT/err1"
    cp /var/log/Plova4.0_UpdateLog "$OUT/first.log"
    cp /opt/kwo/plovaInfo4.0 "$OUT/info.first"
    printf '%%WOXBLOCK_PRINTERS_BEGIN\nq1\n' >>/opt/kwo/plovaInfo4.0   # must survive the upgrade
    cp /opt/kwo/plovaInfo4.0 "$OUT/info.before"
    WOXLPMODE=CUPS run_setup 2>"$OUT/err2"
    cp /opt/kwo/plovaInfo4.0 "$OUT/info.after"
  )");
  const std::string first = run.file("first.log");
  EXPECT_THAT(first, HasSubstr("New installation\nPLOVAINST.CONF = /opt/kwo/etc/PLOVAINST.CONF.\ncd /opt/kwo.\n"));
  EXPECT_THAT(first, Not(HasSubstr("setup after rpm")));
  EXPECT_THAT(first, HasSubstr("Link 1: /usr/share/cups/model/kwo linked to /usr/share/ppd/kwo.\n"));
  EXPECT_THAT(first, HasSubstr("Installation directory: '/opt/kwo' OK. \n"
                               "Creating configuration file: '/opt/kwo/plovaInfo3.0'. \n"
                               "Created script: /opt/kwo/etc/UNINSTALLPLOVA.\n"
                               "Creating printer start scripts. \n"
                               "goInstall: Starting copy loop for 6 items.\n"
                               "Copying file ppd/*.ppd.gz to /usr/share/ppd/kwo. \n"
                               "Changing execution rights of '/usr/share/ppd/kwo/"));
  // In place, the items before the PPD files are already where they belong.
  EXPECT_THAT(first, Not(HasSubstr("Copying file bin/")));
  EXPECT_THAT(first, HasSubstr("Removed dangling link: /usr/bin/woxgsfilter.\n"
                               "Link 1: /usr/bin/woxgsfilter linked to /opt/kwo/bin/woxgsfilter.\n"
                               "chcon SELinux for: \"/usr/bin/chcon -u system_u /usr/bin/woxgsfilter 2>/dev/null\": "
                               "result: "));
  EXPECT_THAT(first, HasSubstr("chcon SELinux for: \"/usr/bin/chcon -t bin_t /opt/kwo/bin/woxgsfilter 2>/dev/null\""));
  EXPECT_THAT(first, HasSubstr("chcon SELinux for: \"/usr/bin/chcon -R -u system_u /opt/kwo/bin 2>/dev/null\""));
  EXPECT_EQ(run.file("info.first"), expectedInfoFile("/opt/kwo"));

  expectPath(run, "/opt/kwo/plovaInfo4.0", 'f', 0755);
  expectPath(run, "/opt/kwo/etc/UNINSTALLPLOVA", 'f', 0755);
  EXPECT_EQ(withoutLine3(run.written("/opt/kwo/etc/UNINSTALLPLOVA")),
            expectedUninstallScript("/opt/kwo", "/usr/share/ppd/kwo", "/usr/bin/rm"));
  expectPath(run, "/usr/bin/woxgsfilter", 'l', 0, "/opt/kwo/bin/woxgsfilter");
  expectPath(run, "/usr/share/cups/model/kwo", 'l', 0, "/usr/share/ppd/kwo");
  expectPath(run, "/usr/share/ppd/kwo", 'd', 0755);
  expectPackagePpds(run, "/usr/share/ppd/kwo");

  // The second run upgrades and keeps the information file as it is.
  const std::string second = run.log();
  EXPECT_THAT(second, HasSubstr("Found existing Plova PPD dir: \"/usr/share/ppd/kwo\".\n"));
  EXPECT_THAT(second, HasSubstr("Using previous Plova PPD directory: \"/usr/share/ppd/kwo\".\n"));
  EXPECT_THAT(second, HasSubstr("Found an existing Plova 3.0 installation in the directory:\n/opt/kwo.\n"
                                "Upgrade Mode = 2.\n"));
  EXPECT_THAT(second, HasSubstr("Skip creating configuration file: '/opt/kwo/plovaInfo3.0'. \n"));
  EXPECT_THAT(second, Not(HasSubstr("Link 1: /usr/bin/woxgsfilter")));
  EXPECT_EQ(run.file("info.after"), run.file("info.before"));

  EXPECT_THAT(run.touchedOutside({"/opt/kwo", "/usr/share/ppd/kwo", "/usr/share/cups/model/kwo",
                                  "/usr/bin/woxgsfilter", "/usr/bin/cups-config"}),
              IsEmpty());
}

TEST(Install, PackageUnpackedElsewhereIsCopiedWithItsModes) {
  auto run = runInRoot(cupsConfig("1.2.0") + R"(
    lay_package /tmp/pkg
    chmod 0600 /tmp/pkg/bin/wox* /tmp/pkg/etc/* /tmp/pkg/ppd/*   # the modes come from the manifest
    ls /tmp/pkg/ppd >"$OUT/ppds"
    (cd /tmp/pkg && WOXLPMODE=CUPS bin/setup -u /opt/other/ 2>"$OUT/err")
    find /opt/other -printf '%m %u:%g %y %p\n' | sort -k4 >"$OUT/tree"
    cp /opt/other/plovaInfo4.0 "$OUT/info"
    cp /opt/other/etc/UNINSTALLPLOVA "$OUT/script"
    printf 'n\n' | sh /opt/other/etc/UNINSTALLPLOVA >"$OUT/no.out"
    ls -d /opt/other/bin/setup >"$OUT/after-no" 2>&1
    (cd /tmp && printf 'o\n' | sh /opt/other/etc/UNINSTALLPLOVA >"$OUT/yes.out")
    ls -d /opt/other /usr/bin/woxgsfilter /usr/share/ppd/kwo >"$OUT/after-yes" 2>&1
  )");
  const std::string log = run.log();
  EXPECT_THAT(log, HasSubstr("Directory from which we install: '/tmp/pkg'.\n"));
  EXPECT_THAT(log, HasSubstr("cd /tmp/pkg.\nsetup after rpm in: /tmp/pkg.\n"));
  EXPECT_THAT(log, HasSubstr("Copying file bin/setup to /opt/other/bin. \n"
                             "Changing execution rights of '/opt/other/bin/setup' to  00755.\n"));
  EXPECT_THAT(log, Not(HasSubstr("WRONG")));
  EXPECT_THAT(log, HasSubstr("Link 1: /usr/bin/woxgsfilter linked to /opt/other/bin/woxgsfilter.\n"));

  // The tree as installed, before the uninstall script removed it.
  EXPECT_EQ(run.file("tree"),
            "777 root:root d /opt/other\n"
            "755 root:root d /opt/other/bin\n"
            "755 root:root f /opt/other/bin/setup\n"
            "755 root:root f /opt/other/bin/woxgsfilter\n"
            "755 root:root f /opt/other/bin/woxnc\n"
            "755 root:root d /opt/other/etc\n"
            "644 root:root f /opt/other/etc/PLOVAINST.CONF\n"
            "755 root:root f /opt/other/etc/UNINSTALLPLOVA\n"
            "644 root:root f /opt/other/etc/plova.pp\n"
            "755 root:root f /opt/other/plovaInfo4.0\n");
  EXPECT_EQ(run.file("info"), expectedInfoFile("/opt/other"));
  EXPECT_EQ(withoutLine3(run.file("script")),
            expectedUninstallScript("/opt/other", "/usr/share/ppd/kwo", "/usr/bin/rm"));
  expectPackagePpds(run, "/usr/share/ppd/kwo");

  // The uninstall script: no keeps everything, o removes the installation
  // and the filter link; the PPD files stay (only <ppd dir>/ppd is named).
  EXPECT_EQ(run.file("no.out"), "De-installation of 'Plova 4.0-0'\n"
                                "Do you really want to de-install Plova 3.0? [no]? \n");
  EXPECT_EQ(run.file("after-no"), "/opt/other/bin/setup\n");
  EXPECT_THAT(run.file("after-yes"), HasSubstr("'/opt/other': No such file or directory"));
  EXPECT_THAT(run.file("after-yes"), HasSubstr("'/usr/bin/woxgsfilter': No such file or directory"));
  EXPECT_THAT(run.file("after-yes"), HasSubstr("/usr/share/ppd/kwo\n"));
  // /opt itself changed when /opt/other came and went.
  EXPECT_THAT(run.touchedOutside({"/opt/other", "/usr/share/ppd/kwo", "/usr/share/cups/model/kwo",
                                  "/usr/bin/woxgsfilter", "/usr/bin/cups-config"}),
              ::testing::ElementsAre("/opt"));
  EXPECT_EQ(run.paths.at("/opt").type, 'd');
}

TEST(Install, InformationFileOfAnInstallationElsewhere) {
  // Installed with -u, found again through its information file: the
  // upgrade goes to the recorded directory.
  auto run = runInRoot(cupsConfig("1.2.0") + R"(
    lay_package /tmp/pkg
    (cd /tmp/pkg && WOXLPMODE=CUPS bin/setup -u /opt/other 2>/dev/null)
    cp /opt/other/plovaInfo4.0 "$OUT/info"
    (cd /tmp/pkg && PLOVAINFO=/opt/other/plovaInfo4.0 WOXLPMODE=CUPS bin/setup 2>/dev/null)
  )");
  EXPECT_EQ(run.file("info"), expectedInfoFile("/opt/other"));
  EXPECT_THAT(run.log(), HasSubstr("Found an existing Plova 3.0 installation in the directory:\n/opt/other.\n"
                                   "Upgrade Mode = 1.\n"));  // PLOVAINFO: found by the first probe
  EXPECT_FALSE(run.touched("/opt/kwo"));
}

TEST(Install, UpgradeFrom20ConvertsAndArchivesTheOldPpdFiles) {
  auto run = runInRoot(cupsConfig("1.2.0") + R"(
    lay_package
    ls /opt/kwo/ppd >"$OUT/ppds"
    printf '#\n# Plova 2.0 Information File\n%%%%WOXBLOCK_GENERAL_BEGIN\nUSRDIR  /opt/kwo\n%%%%WOXBLOCK_GENERAL_END\n%%%%WOXBLOCK_PRINTERS_BEGIN\nq1\n%%%%WOXBLOCK_PRINTERS_END\n%%%%WOXEND\n' >/opt/kwo/plovaInfo2.0
    mkdir -p /usr/share/ppd/kwo
    echo old1 >/usr/share/ppd/kwo/Old-1.ppd; echo old2 >/usr/share/ppd/kwo/Old-2.ppd
    echo keep >/etc/victim
    ln -s /etc/victim /var/tmp/PlovaPPDFiles4.0-7.tar   # planted at the archive's name
    WOXLPMODE=CUPS run_setup 2>"$OUT/err"
    tar tf /var/tmp/PlovaPPDFiles4.0-7.tar | sort >"$OUT/archive"
    cp /etc/victim "$OUT/victim"
    cp /opt/kwo/plovaInfo4.0 "$OUT/info"
  )");
  const std::string log = run.log();
  EXPECT_THAT(log, HasSubstr("Upgrade Mode = 1.\n"));
  EXPECT_THAT(log, HasSubstr("Saved PPD files from: /usr/share/ppd/kwo.\nTo: /var/tmp/PlovaPPDFiles4.0-7.tar.\n"));
  EXPECT_THAT(log, HasSubstr("Copied plovaInfo2.0 to plovaInfo3.0 file.\n"
                             "Copying Plova config file /opt/kwo/plovaInfo2.0 to plovaInfo3.0. \n"));
  // The archive holds the old files only: it is made before the new ones come.
  EXPECT_EQ(run.file("archive"), "Old-1.ppd\nOld-2.ppd\n");
  EXPECT_EQ(run.file("victim"), "keep\n");
  expectPath(run, "/var/tmp/PlovaPPDFiles4.0-7.tar", 'f', 0644);
  EXPECT_EQ(run.file("info"),
            "#\n# Plova 3.0 Information File\n%%WOXBLOCK_GENERAL_BEGIN\nUSRDIR  /opt/kwo\n%%WOXBLOCK_GENERAL_END\n"
            "%%WOXBLOCK_PRINTERS_BEGIN\nq1\n%%WOXBLOCK_PRINTERS_END\n%%WOXEND\n");
  expectPackagePpds(run, "/usr/share/ppd/kwo");
  EXPECT_THAT(run.touchedOutside({"/opt/kwo", "/usr/share/ppd/kwo", "/usr/share/cups/model/kwo",
                                  "/usr/bin/woxgsfilter", "/usr/bin/cups-config", "/etc/victim",
                                  "/var/tmp/PlovaPPDFiles4.0-7.tar"}),
              IsEmpty());
}

TEST(Install, AFailingArchiveIsReportedAsSuch) {
  // An empty PPD directory gives tar nothing to archive.
  auto run = runInRoot(cupsConfig("1.2.0") + R"(
    lay_package
    printf '# Plova 2.0 Information File\nUSRDIR /opt/kwo\n' >/opt/kwo/plovaInfo2.0
    mkdir -p /usr/share/ppd/kwo
    WOXLPMODE=CUPS run_setup 2>/dev/null
  )");
  EXPECT_THAT(run.log(), HasSubstr("Could not save PPD files from: /usr/share/ppd/kwo (status "));
  EXPECT_THAT(run.log(), Not(HasSubstr("Saved PPD files")));
  EXPECT_FALSE(run.touched("/var/tmp/PlovaPPDFiles4.0-7.tar"));
  for (const auto& [p, t] : run.paths) EXPECT_NE(p.rfind("/var/tmp/Plova", 0), 0u) << p;
}

TEST(Install, MissingManifestStopsBeforeAnythingIsCopied) {
  auto run = runInRoot(cupsConfig("1.2.0") + R"(
    lay_package
    rm /opt/kwo/etc/PLOVAINST.CONF
    find /opt/kwo | sort >"$OUT/before"
    WOXLPMODE=CUPS run_setup 2>/dev/null
    find /opt/kwo | sort >"$OUT/after"
  )");
  EXPECT_THAT(run.log(), HasSubstr("Cannot open info file: '/opt/kwo/PLOVAINST.CONF'.\n"
                                   "Plova 3.0 installation missing info:\n\t'/opt/kwo/PLOVAINST.CONF'.\nAbandon...\n"
                                   "Because of insufficient data, setup stopped.\n"));
  EXPECT_EQ(run.file("after"), run.file("before"));
  EXPECT_FALSE(run.touched("/usr/bin/woxgsfilter"));
  // Besides the package laid out, only the PPD directory of the survey (made
  // before the branch).
  EXPECT_THAT(run.touchedOutside({"/opt/kwo", "/usr/share/ppd/kwo", "/usr/share/cups/model/kwo", "/usr/bin/cups-config"}),
              IsEmpty());
}

TEST(Install, PackagePpdDirectoryFallsBackToTheModelDirectory) {
  // CUPS 2.2 with /opt/share/ppd as the only shared tree: the link step
  // chooses /usr/opt/ppd/kwo, which cannot be made; the copy loop falls back.
  auto run = runInRoot(cupsConfig("2.2.0") + R"(
    rm -rf /usr/share/ppd
    mkdir -p /opt/share/ppd
    lay_package
    ls /opt/kwo/ppd >"$OUT/ppds"
    WOXLPMODE=CUPS run_setup 2>/dev/null
  )");
  const std::string log = run.log();
  if (log.find("CUPS Version : 2200 // 2.2.0") == std::string::npos)
    GTEST_SKIP() << "the survey does not read the CUPS version from cups-config";
  EXPECT_THAT(log, HasSubstr("PPD installation dir: /usr/opt/ppd/kwo\nCould not create directory: /usr/opt/ppd/kwo\n"));
  EXPECT_THAT(log, HasSubstr("Could not create directory: /usr/opt/ppd/kwo\n"
                             "Falling back to CUPS model dir: /usr/share/cups/model\n"
                             "Created directory: '/usr/share/cups/model/kwo'.\n"
                             "Changing execution rights of '/usr/share/cups/model/kwo' to  00766.\n"));
  EXPECT_THAT(log, Not(HasSubstr("Created directory: '/usr/opt")));
  expectPath(run, "/usr/share/cups/model/kwo", 'd', 0766);
  expectPackagePpds(run, "/usr/share/cups/model/kwo");
  EXPECT_THAT(run.written("/opt/kwo/etc/UNINSTALLPLOVA"), HasSubstr("delDir /usr/share/cups/model/kwo/ppd\n"));
  EXPECT_FALSE(run.touched("/usr/opt"));
}

TEST(Install, ItemLoopTargetsAndModes) {
  // A manifest of the test's own (-i): every kind of destination.
  auto run = runInRoot(cupsConfig("1.2.0") + R"(
    lay_package /tmp/pkg
    cd /tmp/pkg
    mkdir data
    for f in README nc ab doc1 doc2 doc3 data/a.txt data/b.txt data/c.dat; do echo "$f" >"$f"; done
    cat >etc/TEST.CONF <<'EOF'
README . 00600
bin/setup ./bin 00755
bin/woxgsfilter ./bin 00755
nc ./bin 00755
ab ./bin 00755
doc1 ./doc 00640
doc2 doc 00644
doc3 ./ 00600
data/*.txt /usr/lib/plovatest 00604
missing.file ./bin 00755
bin/woxnc ./bin
@@NULL
EOF
    WOXLPMODE=CUPS bin/setup -i TEST.CONF 2>/dev/null
  )");
  const std::string log = run.log();
  // "." before any directory item: the file goes to <installDir>/<source>.
  expectPath(run, "/opt/kwo/README", 'f', 0600);
  EXPECT_THAT(log, HasSubstr("Copying file README to /opt/kwo/README. \n"
                             "Changing execution rights of '/opt/kwo/README' to  00600.\n"));
  expectPath(run, "/opt/kwo/bin/nc", 'f', 0755);  // short, but nc is copied
  EXPECT_FALSE(run.touched("/opt/kwo/bin/ab"));  // two characters: never
  EXPECT_THAT(log, Not(HasSubstr("Copying file ab ")));
  expectPath(run, "/opt/kwo/doc", 'd', 0777);
  expectPath(run, "/opt/kwo/doc/doc1", 'f', 0640);
  expectPath(run, "/opt/kwo/doc/doc2", 'f', 0644);  // a bare name: where the previous item went
  expectPath(run, "/opt/kwo/doc/doc3", 'f', 0600);  // "./" alone: the same
  // A pattern's mode goes on every file it copied.
  expectPath(run, "/usr/lib/plovatest", 'd', 0777);
  expectPath(run, "/usr/lib/plovatest/a.txt", 'f', 0604);
  expectPath(run, "/usr/lib/plovatest/b.txt", 'f', 0604);
  EXPECT_FALSE(run.touched("/usr/lib/plovatest/c.dat"));
  EXPECT_THAT(log, HasSubstr("Changing execution rights of '/usr/lib/plovatest/a.txt' to  00604.\n"
                             "Changing execution rights of '/usr/lib/plovatest/b.txt' to  00604.\n"));
  EXPECT_THAT(log, Not(HasSubstr("'/usr/lib/plovatest/*.txt'")));
  // A failed copy is marked, and no mode is claimed for it.
  EXPECT_THAT(log, HasSubstr("Copying file missing.file to /opt/kwo/bin. : WRONG!!!\n"));
  EXPECT_THAT(log, Not(HasSubstr("/opt/kwo/bin/missing.file")));
  // Without a mode: copied, no chmod.
  EXPECT_THAT(log, HasSubstr("Copying file bin/woxnc to /opt/kwo/bin. \n"));
  EXPECT_THAT(log, Not(HasSubstr("'/opt/kwo/bin/woxnc'")));
  EXPECT_THAT(run.touchedOutside({"/opt/kwo", "/usr/lib/plovatest", "/usr/share/ppd/kwo",
                                  "/usr/share/cups/model/kwo", "/usr/bin/woxgsfilter", "/usr/bin/cups-config"}),
              IsEmpty());
}

// The report lines of the PPD-location survey, from one log.
std::string report(const std::string& log) {
  const std::size_t start = log.find("=======================================\nSytem PPD locations:\n");
  if (start == std::string::npos) return "";
  const std::size_t end = log.find("New installation", start);
  return log.substr(start + 40, end == std::string::npos ? std::string::npos : end - start - 40);
}

// Each layout: directories to make after the host's PPD places are removed.
// The runs stop before installing (LPRNG), after the link step.
TEST(PpdLocations, Layouts) {
  struct Layout {
    const char* name;
    const char* make;
    const char* expected;  // report and link-step lines
  };
  const std::vector<Layout> layouts = {
      {"bare", "",
       "Sytem PPD locations:\nCUPS model directory: ???\nFoomatic directory  : ???\nVelor directory     : ???\n"
       "Custom ppd directory: ???\nSystem ppd directory: ???\n"},
      {"model-and-share", "/usr/share/cups/model /usr/share/ppd",
       "Sytem PPD locations:\nCUPS model directory: /usr/share/cups/model\nFoomatic directory  : ???\n"
       "Velor directory     : ???\nCustom ppd directory: ???\nShare ppd directory : /usr/share/ppd\n"
       "System ppd directory: /usr/share/ppd\nNo known links in cups model dir: /usr/share/cups/model\n"
       "PPD installation dir: /usr/share/ppd/kwo\nCreated directory: '/usr/share/ppd/kwo'.\n"
       "Changing execution rights of '/usr/share/ppd/kwo' to  00755.\n"
       "Link 1: /usr/share/cups/model/kwo linked to /usr/share/ppd/kwo.\n"},
      {"share-and-openprinting", "/usr/share/ppd/openprinting",
       // The model directory is /usr/share/ppd itself, so the link would
       // point at itself: refused.
       "Sytem PPD locations:\nCUPS model directory: /usr/share/ppd\nFoomatic directory  : ???\n"
       "Velor directory     : ???\nCustom ppd directory: ???\nShare ppd directory : /usr/share/ppd\n"
       "System ppd directory: /usr/share/ppd\nNo known links in cups model dir: /usr/share/ppd\n"
       "PPD installation dir: /usr/share/ppd/kwo\nCreated directory: '/usr/share/ppd/kwo'.\n"
       "Changing execution rights of '/usr/share/ppd/kwo' to  00755.\n"
       "File: /usr/share/ppd/kwo exists already. Not created as link!\n"
       "Link 1: /usr/share/ppd/kwo linked to /usr/share/ppd/kwo.\n: WRONG!!!\n"},
      {"foomatic-kwo-wins", "/usr/share/ppd/openprinting/kwo /usr/share/foomatic/db/source/PPD/kwo",
       "Sytem PPD locations:\nCUPS model directory: /usr/share/ppd\n"
       "Foomatic directory  : /usr/share/foomatic/db/source/PPD\n"
       "Velor directory     : /usr/share/foomatic/db/source/PPD/kwo\nCustom ppd directory: ???\n"
       "Share ppd directory : /usr/share/ppd\nSystem ppd directory: /usr/share/ppd\n"
       "Found existing Plova PPD dir: \"/usr/share/foomatic/db/source/PPD/kwo\".\n"
       "No known links in cups model dir: /usr/share/ppd\n"
       "PPD installation dir: /usr/share/foomatic/db/source/PPD/kwo\n"
       "Using previous Plova PPD directory: \"/usr/share/foomatic/db/source/PPD/kwo\".\n"},
      {"velor-without-kwo-clears-the-mark", "/usr/share/ppd/openprinting/kwo /usr/share/foomatic/db/source/PPD/Velor",
       // The found mark is gone, the path stays and is used.
       "Sytem PPD locations:\nCUPS model directory: /usr/share/ppd\n"
       "Foomatic directory  : /usr/share/foomatic/db/source/PPD\n"
       "Velor directory     : /usr/share/foomatic/db/source/PPD/Velor\nCustom ppd directory: ???\n"
       "Share ppd directory : /usr/share/ppd\nSystem ppd directory: /usr/share/ppd\n"
       "No known links in cups model dir: /usr/share/ppd\n"
       "PPD installation dir: /usr/share/ppd/openprinting/kwo\n"
       "Using previous Plova PPD directory: \"/usr/share/ppd/openprinting/kwo\".\n"},
      {"foomatic-and-velor", "/usr/share/foomatic/db/source/PPD/Velor",
       "Sytem PPD locations:\nCUPS model directory: ???\nFoomatic directory  : /usr/share/foomatic/db/source/PPD\n"
       "Velor directory     : /usr/share/foomatic/db/source/PPD/Velor\nCustom ppd directory: ???\n"
       "System ppd directory: /usr/share/foomatic/db/source/PPD\n"},
      {"linked-model-and-custom", "/srv/model/custom/kwo /opt/share/ppd",
       // /usr/share/cups/model is a link to /srv/model (made below).
       "Sytem PPD locations:\nCUPS model directory: /usr/share/cups/model\nFoomatic directory  : ???\n"
       "Velor directory     : ???\nCustom ppd directory: /usr/share/cups/model/custom\n"
       "Share ppd directory : /opt/share/ppd\nSystem ppd directory: /opt/share/ppd\n"
       "Found existing Plova PPD dir: \"/usr/share/cups/model/custom/kwo\".\n"
       "Link 1: /usr/share/cups/model/custom linked to .\n"
       "PPD installation dir: /usr/share/cups/model/custom/kwo\n"
       "Using previous Plova PPD directory: \"/usr/share/cups/model/custom/kwo\".\n"},
  };
  std::string script;
  for (const Layout& l : layouts) {
    script += std::string("rm -rf /usr/share/cups/model /usr/share/ppd /usr/share/foomatic /opt/share /srv/model\n") +
              "for d in " + l.make + "; do mkdir -p \"$d\"; done\n" +
              (std::string(l.name) == "linked-model-and-custom" ? "ln -s /srv/model /usr/share/cups/model\n" : "") +
              "WOXLPMODE=LPRNG /run/pkg/bin/setup 2>/dev/null\n" + "cp /var/log/Plova4.0_UpdateLog \"$OUT/" +
              l.name + ".log\"\n";
  }
  auto run = runInRoot(script);
  for (const Layout& l : layouts) {
    const std::string log = run.file(std::string(l.name) + ".log");
    EXPECT_EQ(report(log), l.expected) << l.name << "\n" << log;
  }
}

TEST(ModelLinks, OldCupsFollowsARecordedLinkIntoTheFoomaticTree) {
  auto run = runInRoot(cupsConfig("1.2.0") + R"(
    mkdir -p /usr/share/foomatic/db/source/PPD
    ln -s /usr/share/foomatic/db/source/PPD /usr/share/cups/model/foomatic-db
    WOXLPMODE=CUPS /run/pkg/bin/setup -d </dev/null 2>/dev/null
  )");
  EXPECT_THAT(run.log(),
              HasSubstr("Link 1: /usr/share/cups/model/foomatic-db linked to /usr/share/foomatic/db/source/PPD.\n"
                        "PPD installation dir: /usr/share/foomatic/db/source/PPD/kwo\n"
                        "Created directory: '/usr/share/foomatic/db/source/PPD/kwo'.\n"));
  expectPath(run, "/usr/share/foomatic/db/source/PPD/kwo", 'd', 0755);
  EXPECT_FALSE(run.touched("/usr/share/cups/model/kwo"));
}

TEST(ModelLinks, NewCupsMakesTheSharedDirectoryWithoutALink) {
  auto run = runInRoot(cupsConfig("2.2.0") + R"(
    WOXLPMODE=CUPS /run/pkg/bin/setup -d </dev/null 2>/dev/null
    cp /var/log/Plova4.0_UpdateLog "$OUT/share.log"
    rm -rf /usr/share/ppd/kwo
    mkdir -p /usr/share/ppd/openprinting
    WOXLPMODE=CUPS /run/pkg/bin/setup -d </dev/null 2>/dev/null
  )");
  const std::string share = run.file("share.log");
  if (share.find("CUPS Version : 2200 // 2.2.0") == std::string::npos)
    GTEST_SKIP() << "the survey does not read the CUPS version from cups-config";
  EXPECT_THAT(share, HasSubstr("PPD installation dir: /usr/share/ppd/kwo\n"
                               "Created directory: '/usr/share/ppd/kwo'.\n"));
  EXPECT_THAT(run.log(), HasSubstr("PPD installation dir: /usr/share/ppd/openprinting/kwo\n"
                                   "Created directory: '/usr/share/ppd/openprinting/kwo'.\n"
                                   "Changing execution rights of '/usr/share/ppd/openprinting/kwo' to  00755.\n"
                                   "Created directory: '/usr/share/ppd/openprinting/kwo'.\n"));
  expectPath(run, "/usr/share/ppd/openprinting/kwo", 'd', 0755);
  EXPECT_FALSE(run.touched("/usr/share/cups/model/kwo"));
  EXPECT_THAT(run.touchedOutside({"/usr/share/ppd/kwo", "/usr/share/ppd/openprinting", "/usr/bin/cups-config"}),
              IsEmpty());
}

}  // namespace
