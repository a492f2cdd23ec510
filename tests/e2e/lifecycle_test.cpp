// The whole life of the package in one throwaway root, the way a package
// maintainer checks install, upgrade and removal: a new installation, a
// second run (an upgrade from the 4.0 information file), then setup -d
// answered "yes". Afterwards the overlay's upper directory must hold exactly
// what the package keeps on purpose, and nothing outside it may have changed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/throwaway_root.h"

using ::testing::IsEmpty;
using ::testing::HasSubstr;

namespace {

constexpr const char* kScenario = R"SH(
# The root has no service manager: a systemctl of its own restarts its cupsd.
cat >/usr/bin/systemctl <<'SH'
#!/bin/sh
kill $(pidof cupsd) 2>/dev/null
while pidof cupsd >/dev/null; do sleep 0.05; done
. /run/e2e/e2e_lib.sh
start_cupsd
SH
chmod 755 /usr/bin/systemctl
start_cupsd || exit 1

# One queue on the maker's generation-1 PPD (A4 chosen in the file, so that
# CUPS keeps no .O copy of it), one of another maker.
sed 's/^\*DefaultPageSize: Letter/*DefaultPageSize: A4/' \
  /run/fixtures/ppd-gen1/Velor_Lumen_1580n-PS.ppd >/tmp/velor.ppd
lpadmin -p Q_VELOR -E -v file:///dev/null -P /tmp/velor.ppd 2>/dev/null
cat >/tmp/other.ppd <<'PPD'
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "HALDEN.PPD"
*Manufacturer: "Halden"
*Product: "(Halden Pica 20)"
*ModelName: "Halden Pica 20 PS"
*ShortNickName: "Halden Pica 20 PS"
*NickName: "Halden Pica 20 PS"
*PSVersion: "(3010.000) 0"
*OpenUI *PageSize: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: Letter
*PageSize Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
PPD
lpadmin -p Q_OTHER -E -v file:///dev/null -P /tmp/other.ppd 2>/dev/null
cp /etc/cups/ppd/Q_OTHER.ppd "$OUT/other.before"

lay_package
WOXLPMODE=CUPS run_setup >/dev/null 2>"$OUT/install.err"
cp /var/log/Plova4.0_UpdateLog "$OUT/install.log"
WOXLPMODE=CUPS run_setup >/dev/null 2>"$OUT/upgrade.err"
cp /var/log/Plova4.0_UpdateLog "$OUT/upgrade.log"
echo yes | WOXLPMODE=CUPS /opt/kwo/bin/setup -d >/dev/null 2>"$OUT/deinstall.err"

lpstat -e >"$OUT/queues"
cp /etc/cups/ppd/Q_OTHER.ppd "$OUT/other.after"
grep -h '^\*% Plova version:' /etc/cups/ppd/Q_VELOR.ppd >"$OUT/velor.version"
lpoptions -p Q_VELOR -l | grep PageSize >"$OUT/velor.pagesize"
)SH";

// What removing a real installation logs: the files and directories the
// manifest put there go, the ones it never installs are "Not possible!", as
// is the second try on the filter's link.
constexpr const char* kRemovalLines =
    "Number of Plova printers found: 1.\n"
    "Deleting file: '/opt/kwo/plova' - Not possible!\n"
    "Deleting file: '/opt/kwo/plovaInfo4.0' - OK.\n"
    "Deleting file: '/opt/kwo/bin/woxgsfilter' - OK.\n"
    "Deleting file: '/usr/bin/woxgsfilter' - OK.\n"
    "Deleting file: '/opt/kwo/etc/UNINSTALLPLOVA' - OK.\n"
    "Deleting file: '/opt/kwo/bin/setup' - OK.\n"
    "Deleting file: '/opt/kwo/etc/plova4.0.png' - Not possible!\n"
    "Deleting file: '/opt/kwo/PLOVAINST.CONF' - Not possible!\n"
    "Deleting file: '/opt/kwo/etc/PLOVAINST.CONF' - OK.\n"
    "Deleting file: '/usr/bin/woxgsfilter' - Not possible!\n"
    "Deleting file: '/opt/kwo/bin/nc' - Not possible!\n"
    "Deleting directory: '/opt/kwo/Default' - Not possible!\n"
    "Deleting directory: '/opt/kwo/ppd' - OK.\n"
    "Deleting directory: '/opt/kwo/etc' - OK.\n"
    "Deleting directory: '/opt/kwo/bin' - OK.\n"
    "Plova 4.0-0 has been un-installed from the system.\n";

// Paths the scenario itself made: the CUPS server's own state, the queues it
// created, the stand-in systemctl.
const std::vector<std::string> kScenarioPaths = {
    "/etc/cups/printers.conf", "/etc/cups/printers.conf.O", "/etc/cups/ssl",
    "/etc/cups/ppd/Q_OTHER.ppd", "/var/cache/cups",
    "/var/spool/cups", "/usr/bin/systemctl",
};

// Everything that may be left once the package is gone (the log lives in the
// root's own /var/log and is checked on its own).
std::set<std::string> keptPaths() {
  std::set<std::string> kept = {
      // The install directory itself, empty.
      "/opt/kwo",
      // The package PPD directory keeps its PPD files (below).
      // The queue that moved to the new PPD keeps it, and its backup stays.
      "/etc/cups/ppd/Q_VELOR.ppd",
      "/usr/share/Q_VELOR.ppd.rpmsave",
  };
  for (const auto& entry : std::filesystem::directory_iterator(std::string(BUILD_ROOT) + "/kwo/ppd"))
    kept.insert("/usr/share/ppd/kwo/" + entry.path().filename().string());
  return kept;
}

TEST(Lifecycle, InstallUpgradeRemoveLeavesOnlyWhatIsKept) {
  auto run = runInRoot(kScenario);
  ASSERT_EQ(run.status, 0) << run.err;

  EXPECT_THAT(run.file("install.log"), HasSubstr("New installation\n"));
  EXPECT_THAT(run.file("upgrade.log"), HasSubstr("Upgrade Mode = 2.\n"));
  for (const char* step : {"install.log", "upgrade.log"})
    EXPECT_THAT(run.file(step), HasSubstr("Finishing Plova 4.0-0 installation : ")) << step;
  EXPECT_THAT(run.log(), HasSubstr(kRemovalLines));
  EXPECT_EQ(run.file("deinstall.err"), "Plova 4.0-0 has been un-installed from the system.\n\n");

  // The queues are not recorded in the information file, so both stay; the
  // maker's queue is on the new PPD, the other maker's PPD is untouched.
  EXPECT_EQ(run.file("queues"), "Q_OTHER\nQ_VELOR\n");
  EXPECT_EQ(run.file("velor.version"), "*% Plova version: 2\n");
  EXPECT_THAT(run.file("velor.pagesize"), HasSubstr(" *A4 "));
  EXPECT_EQ(run.file("other.after"), run.file("other.before"));

  // Every touched path outside the scenario's own is one of the kept ones:
  // nothing else the package made is left, and nothing it did not make was
  // changed or removed (a removal of a lower path would show here too).
  const std::vector<std::string> left = run.touchedOutside(kScenarioPaths);
  const std::set<std::string> kept = keptPaths();
  std::vector<std::string> unexpected, missing;
  for (const std::string& path : left)
    if (!kept.count(path) || run.paths.at(path).removed()) unexpected.push_back(path);
  for (const std::string& path : kept)
    if (!run.touched(path) || run.paths.at(path).removed()) missing.push_back(path);
  EXPECT_THAT(unexpected, IsEmpty());
  EXPECT_THAT(missing, IsEmpty());
  ASSERT_TRUE(run.touched("/usr/share/ppd/kwo"));
  EXPECT_EQ(run.paths.at("/usr/share/ppd/kwo").type, 'd');
}

}  // namespace
