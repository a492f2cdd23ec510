// The queue update end to end: a real cupsd with queues made by the real
// lpadmin from the maker's older PPD files; setup moves them to the
// package's new PPD files, keeps their defaults as CUPS reports them, backs
// the old files up and restarts CUPS.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/throwaway_root.h"

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

// Shell helpers of these scenarios, put before each one.
//  make_queue NAME PPD OPTION=CHOICE...  a queue on a generation-1 PPD file
//                                       with its defaults set by lpadmin
//  other_maker_queue NAME               a queue on another maker's PPD file
//  recording_systemctl                  systemctl records its call in
//                                       $OUT/restarts and really restarts cupsd
//  recorder PATH STATUS                 the command at PATH records its call
//                                       in $OUT/restarts and exits with STATUS
//  ppd_version NAME                     the version marker line of a queue's PPD
constexpr const char* kHelpers = R"SH(
GEN1=/run/fixtures/ppd-gen1
make_queue() {
  name=$1 ppd=$2; shift 2
  lpadmin -p "$name" -E -v file:///dev/null -P "$GEN1/$ppd" 2>/dev/null || echo "lpadmin -P $name failed" >&2
  for o in "$@"; do lpadmin -p "$name" -o "$o" || echo "lpadmin -o $o failed" >&2; done
}
other_maker_queue() {
  cat >/tmp/other.ppd <<'PPD'
*PPD-Adobe: "4.3"
*% Plova version: 1
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "NORVIK.PPD"
*Manufacturer: "Norvik"
*ModelName: "Norvik Lumen 1580n PS"
*ShortNickName: "Norvik Lumen 1580n PS"
*NickName: "Norvik Lumen 1580n PS"
*Product: "(Norvik Lumen 1580n)"
*PSVersion: "(3010.000) 0"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*OpenUI *PageSize: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: Letter
*PageSize Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: Letter
*PageRegion Letter: "<</PageSize[612 792]>>setpagedevice"
*PageRegion A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: Letter
*ImageableArea Letter: "12 12 600 780"
*ImageableArea A4: "12 12 583 830"
*DefaultPaperDimension: Letter
*PaperDimension Letter: "612 792"
*PaperDimension A4: "595 842"
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
PPD
  lpadmin -p "$1" -E -v file:///dev/null -P /tmp/other.ppd 2>/dev/null || echo "lpadmin other failed" >&2
  lpadmin -p "$1" -o PageSize=A4
}
recording_systemctl() {
  rm -f /usr/bin/systemctl
  cat >/usr/bin/systemctl <<'SH'
#!/bin/sh
echo "systemctl $*" >>"$OUT/restarts"
kill $(pidof cupsd)
while pidof cupsd >/dev/null; do sleep 0.05; done
. /run/e2e/e2e_lib.sh
start_cupsd && pidof cupsd >>"$OUT/cupsd.pids"
SH
  chmod 755 /usr/bin/systemctl
}
recorder() {
  rm -f "$1"
  printf '#!/bin/sh\necho "%s $*" >>"$OUT/restarts"\nexit %s\n' "$1" "$2" >"$1"
  chmod 755 "$1"
}
ppd_version() { grep -h '^\*% Plova version:' "/etc/cups/ppd/$1.ppd"; }
)SH";

RootRun runScenario(const std::string& script) { return runInRoot(std::string(kHelpers) + script); }

}  // namespace

TEST(QueueUpdate, MovesTheMakersQueuesKeepsTheirDefaultsAndLeavesOthersAlone) {
  auto run = runScenario(R"(
    recording_systemctl
    start_cupsd || exit 1
    pidof cupsd >"$OUT/cupsd.pids"
    make_queue Q_PS Velor_Lumen_1580n-PS.ppd PageSize=A4 Duplex=DuplexNoTumble Resolution=1200dpi InputSlot=Tray2
    make_queue Q_PCL Velor_Lumen_6430-PCL.ppd PageSize=Legal Resolution=300dpi InputSlot=Envelope
    other_maker_queue Q_OTHER
    mkdir -p "$OUT/before" && cp /etc/cups/ppd/* "$OUT/before/"
    lay_package
    # The PCL model's new PPD is a plain file, found in /opt/kwo/ppd only.
    gzip -d /opt/kwo/ppd/Velor_Lumen_6430-PCL.ppd.gz
    mkdir -p /opt/kwo/Q_PS/root
    printf '%%%%PLOVA_CONFIGURATION_FILE\nxx %%%%PLOVA_VERSION_1.0 yy\nPRINTERNAME Q_PS\n' >/opt/kwo/Q_PS/root/plovaConfig
    WOXLPMODE=CUPS run_setup >"$OUT/setup.out" 2>"$OUT/setup.err"
    for q in Q_PS Q_PCL Q_OTHER; do
      lpoptions -p $q -l >"$OUT/$q.options"
      cupstestppd -q /etc/cups/ppd/$q.ppd; echo "$q $?" >>"$OUT/cupstestppd"
      cmp -s /etc/cups/ppd/$q.ppd "$OUT/before/$q.ppd" && echo "$q" >>"$OUT/unchanged"
      cmp -s /usr/share/$q.ppd.rpmsave "$OUT/before/$q.ppd" && echo "$q" >>"$OUT/backed-up"
      cmp -s /usr/share/$q.ppd.O.rpmsave "$OUT/before/$q.ppd.O" && echo "$q.O" >>"$OUT/backed-up"
    done
    cp /etc/cups/ppd/Q_PS.ppd /etc/cups/ppd/Q_PCL.ppd "$OUT/"
    cp /opt/kwo/Q_PS/root/plovaConfig "$OUT/plovaConfig"
    lpstat -r >"$OUT/lpstat"
    ls /tmp >"$OUT/tmp.txt"
  )");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string log = run.log();

  // CUPS itself reports the carried-over defaults.
  EXPECT_THAT(run.file("Q_PS.options"), HasSubstr("PageSize/Media Size: Letter *A4 Legal A5\n"));
  EXPECT_THAT(run.file("Q_PS.options"), HasSubstr("Duplex/Two-Sided Printing: None *DuplexNoTumble DuplexTumble\n"));
  EXPECT_THAT(run.file("Q_PS.options"), HasSubstr("Resolution/Resolution: 300dpi 600dpi *1200dpi\n"));
  EXPECT_THAT(run.file("Q_PS.options"), HasSubstr("InputSlot/Paper Source: Auto Tray1 *Tray2 Manual\n"));
  EXPECT_THAT(run.file("Q_PCL.options"), HasSubstr("PageSize/Media Size: Letter A4 *Legal A5\n"));
  EXPECT_THAT(run.file("Q_PCL.options"), HasSubstr("Resolution/Resolution: *300dpi 600dpi 1200dpi\n"));
  // The new PPD offers no Envelope slot: the queue keeps the new default.
  EXPECT_THAT(run.file("Q_PCL.options"), HasSubstr("InputSlot/Paper Source: *Auto Tray1 Tray2 Manual\n"));
  EXPECT_THAT(log, HasSubstr("Option InputSlot keeps the new PPD's default Auto: it offers no choice Envelope.\n"));
  EXPECT_THAT(run.file("Q_OTHER.options"), HasSubstr("*A4"));

  // The queues' PPD files are the new ones with their default lines rewritten.
  for (const char* q : {"Q_PS.ppd", "Q_PCL.ppd"}) {
    EXPECT_THAT(run.file(q), HasSubstr("*% Plova version: 2\n")) << q;
    EXPECT_THAT(run.file(q), Not(HasSubstr("Envelope"))) << q;
  }
  EXPECT_THAT(run.file("Q_PS.ppd"), HasSubstr("*ModelName: \"Velor Lumen 1580n PS\"\n"));
  EXPECT_THAT(run.file("Q_PS.ppd"), HasSubstr("*DefaultPageSize: A4\n"));
  EXPECT_THAT(run.file("Q_PCL.ppd"), HasSubstr("*ModelName: \"Velor Lumen 6430 PCL\"\n"));
  EXPECT_THAT(run.file("Q_PCL.ppd"), HasSubstr("*DefaultInputSlot: Auto\n"));
  EXPECT_EQ(run.file("cupstestppd"), "Q_PS 0\nQ_PCL 0\nQ_OTHER 0\n");
  EXPECT_EQ(run.file("unchanged"), "Q_OTHER\n");
  // Both queues' PPD files, and the older copies CUPS keeps, are backed up
  // each under its own name.
  EXPECT_EQ(run.file("backed-up"), "Q_PS\nQ_PS.O\nQ_PCL\nQ_PCL.O\n");
  EXPECT_FALSE(run.touched("/usr/share/Q_OTHER.ppd.rpmsave"));

  EXPECT_THAT(log, HasSubstr("PPD = /usr/share/ppd/kwo/Velor_Lumen_1580n-PS.ppd.gz.\n"));
  EXPECT_THAT(log, HasSubstr("PPD = /opt/kwo/ppd/Velor_Lumen_6430-PCL.ppd.\n"));
  EXPECT_THAT(log, HasSubstr("saving /etc/cups/ppd/Q_PS.ppd to /usr/share/Q_PS.ppd.rpmsave: result=0\n"));
  EXPECT_THAT(log, HasSubstr("Copying /tmp/woxin"));
  EXPECT_THAT(log, Not(HasSubstr("Q_OTHER")));

  // The configuration file's version marker is raised.
  EXPECT_EQ(run.file("plovaConfig"), "%%PLOVA_CONFIGURATION_FILE\n%%PLOVA_VERSION_3.0\nPRINTERNAME Q_PS\n");
  EXPECT_THAT(log, HasSubstr("processPrinterConfig(Q_PS): updated.\n"));

  // CUPS was restarted twice, for real, and runs.
  EXPECT_EQ(run.file("restarts"), "systemctl restart cups.service\nsystemctl restart cups.service\n");
  EXPECT_EQ(lines(run.file("cupsd.pids")).size(), 3u);
  EXPECT_THAT(run.file("lpstat"), HasSubstr("is running"));
  // No temporary file is left behind.
  EXPECT_EQ(run.file("tmp.txt"), "other.ppd\n");
}

namespace {

// The queue names in the order setup asked about them.
std::vector<std::string> askedQueues(const std::string& out) {
  std::vector<std::string> asked;
  const std::string question = "Do you want to update printer: ";
  for (std::size_t at = out.find(question); at != std::string::npos; at = out.find(question, at + 1)) {
    const std::size_t start = at + question.size();
    asked.push_back(out.substr(start, out.find('?', start) - start));
  }
  return asked;
}

std::vector<std::string> movedQueues(const std::string& versions) {
  std::vector<std::string> moved;
  for (const std::string& line : lines(versions))
    if (line.size() > 3 && line.substr(line.size() - 2) == " 2") moved.push_back(line.substr(0, line.size() - 2));
  return moved;
}

}  // namespace

TEST(QueueUpdate, AsksQueueByQueueWithNoYesAllAndBreak) {
  auto run = runScenario(R"SH(
    recorder /usr/bin/systemctl 0
    start_cupsd || exit 1
    lay_package
    round() {
      for q in QA QB QC; do lpadmin -x $q 2>/dev/null; done
      rm -f /etc/cups/ppd/*
      make_queue QA Velor_Lumen_1580n-PS.ppd
      make_queue QB Velor_Lumen_6430-PXL.ppd
      make_queue QC Velor_Lumen_1750_MFP-PS.ppd
      : >"$OUT/restarts"
      printf "yes\n$2" | WOXLPMODE=CUPS run_setup -q1 >"$OUT/$1.out" 2>/dev/null
      for q in QA QB QC; do echo "$q $(ppd_version $q | tr -dc 0-9)"; done | sort >"$OUT/$1.versions"
      cp "$OUT/restarts" "$OUT/$1.restarts"
    }
    round no 'no\nyes\nno\n'
    round all 'all\n'
    round break 'yes\nbreak\n'
  )SH");
  ASSERT_EQ(run.status, 0) << run.err;

  const auto no = askedQueues(run.file("no.out"));
  ASSERT_EQ(no.size(), 3u) << run.file("no.out");
  EXPECT_EQ(movedQueues(run.file("no.versions")), std::vector<std::string>{no[1]});
  EXPECT_EQ(lines(run.file("no.restarts")).size(), 2u);

  const auto all = askedQueues(run.file("all.out"));
  EXPECT_EQ(all.size(), 1u) << run.file("all.out");
  EXPECT_EQ(movedQueues(run.file("all.versions")), (std::vector<std::string>{"QA", "QB", "QC"}));

  // break leaves the rest alone; only the driver restarts CUPS then.
  const auto brk = askedQueues(run.file("break.out"));
  ASSERT_EQ(brk.size(), 2u) << run.file("break.out");
  EXPECT_EQ(movedQueues(run.file("break.versions")), std::vector<std::string>{brk[0]});
  EXPECT_EQ(run.file("break.restarts"), "/usr/bin/systemctl restart cups.service\n");
}

TEST(CupsRestart, TriesSystemctlThenServiceThenTheInitScripts) {
  auto run = runScenario(R"(
    lay_package
    rm -f /etc/init.d/cups /etc/init.d/cupsys
    step() {
      : >"$OUT/restarts"
      WOXLPMODE=CUPS run_setup >/dev/null 2>&1
      grep -e '^CUPS re' -e '^Cannot reset' /var/log/Plova4.0_UpdateLog >"$OUT/$1.log"
      cp "$OUT/restarts" "$OUT/$1.calls"
    }
    recorder /usr/bin/systemctl 0; recorder /usr/sbin/service 0
    step systemctl
    recorder /usr/bin/systemctl 1
    step failing-systemctl
    rm /usr/bin/systemctl; recorder /usr/sbin/service 3
    step service
    rm /usr/sbin/service; recorder /etc/init.d/cups 0
    step init.d-cups
    rm /etc/init.d/cups; recorder /etc/init.d/cupsys 0
    step init.d-cupsys
    rm /etc/init.d/cupsys
    step none
  )");
  ASSERT_EQ(run.status, 0) << run.err;
  struct Case {
    const char* step;
    const char* log;
    const char* calls;
  } cases[] = {
      {"systemctl", "CUPS restart command:\"/usr/bin/systemctl restart cups.service\"\nCUPS reset returned with: 0\n",
       "/usr/bin/systemctl restart cups.service\n"},
      {"failing-systemctl",
       "CUPS restart command:\"/usr/bin/systemctl restart cups.service\"\nCUPS reset returned with: 256\n"
       "CUPS reset returned with: 0\n",
       "/usr/bin/systemctl restart cups.service\n/usr/sbin/service cups restart\n"},
      {"service", "CUPS reset returned with: -1\nCUPS reset returned with: 768\n", "/usr/sbin/service cups restart\n"},
      {"init.d-cups", "CUPS reset returned with: -1\nCUPS reset returned with: 0\n", "/etc/init.d/cups restart\n"},
      {"init.d-cupsys", "CUPS reset returned with: -1\nCUPS reset returned with: 0\n", "/etc/init.d/cupsys restart\n"},
      {"none", "CUPS reset returned with: -1\nCannot reset CUPS. Sorry!\nCUPS reset returned with: -1\n", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run.file(std::string(c.step) + ".log"), c.log) << c.step;
    EXPECT_EQ(run.file(std::string(c.step) + ".calls"), c.calls) << c.step;
  }
}

TEST(QueueUpdate, HostileNamesFailedBackupsAndFailedCopyBacks) {
  auto run = runScenario(R"SH(
    start_cupsd || exit 1
    make_queue Q_DIR Velor_Lumen_1580n-PS.ppd PageSize=A4
    make_queue Q_RO Velor_Lumen_1580n-PS.ppd
    rm -f /etc/cups/ppd/*.O
    for name in 'x;touch pwned.ppd' '$(touch pwned2).ppd' "a'b c.ppd" '...ppd'; do
      cp "$GEN1/Velor_Lumen_1580n-PS.ppd" "/etc/cups/ppd/$name"
    done
    cp /etc/cups/ppd/Q_DIR.ppd "$OUT/Q_DIR.before"
    mkdir /usr/share/Q_DIR.ppd.rpmsave
    lay_package
    mkdir -p /opt/kwo/Q_RO/root
    printf '%%%%PLOVA_VERSION_1.0\n' >/opt/kwo/Q_RO/root/plovaConfig
    mount --bind /opt/kwo/Q_RO/root/plovaConfig /opt/kwo/Q_RO/root/plovaConfig
    mount -o remount,bind,ro /opt/kwo/Q_RO/root/plovaConfig
    WOXLPMODE=CUPS run_setup >/dev/null 2>"$OUT/setup.err"
    cmp -s /etc/cups/ppd/Q_DIR.ppd "$OUT/Q_DIR.before" && echo unchanged >"$OUT/Q_DIR"
    grep -l '^\*% Plova version: 2' /etc/cups/ppd/* | sort >"$OUT/moved"
  )SH");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string log = run.log();
  for (const auto& [path, touched] : run.paths) {
    EXPECT_THAT(path, Not(::testing::EndsWith("/pwned"))) << path;
    EXPECT_THAT(path, Not(::testing::EndsWith("/pwned2"))) << path;
    EXPECT_NE(path, "/opt/kwo/bin/pwned.ppd");
  }
  // Names the shell would read otherwise are moved like any other.
  EXPECT_EQ(run.file("moved"),
            "/etc/cups/ppd/$(touch pwned2).ppd\n/etc/cups/ppd/Q_RO.ppd\n/etc/cups/ppd/a'b c.ppd\n"
            "/etc/cups/ppd/x;touch pwned.ppd\n");
  EXPECT_TRUE(run.touched("/usr/share/x;touch pwned.ppd.rpmsave"));
  EXPECT_TRUE(run.touched("/usr/share/a'b c.ppd.rpmsave"));
  // ".." is no queue name: nothing outside the queue's own directory moves.
  EXPECT_THAT(log, HasSubstr("Queue PPD file /etc/cups/ppd/...ppd gives no usable queue name: left alone.\n"));
  EXPECT_FALSE(run.touched("/usr/share/...ppd.rpmsave"));
  // A backup path in the way keeps the queue's PPD as it was.
  EXPECT_EQ(run.file("Q_DIR"), "unchanged\n");
  EXPECT_THAT(log, HasSubstr("Backup of /etc/cups/ppd/Q_DIR.ppd failed: the PPD of printer Q_DIR is not replaced.\n"));
  // A configuration file that cannot be written back is reported so.
  EXPECT_THAT(log, HasSubstr("processPrinterConfig(Q_RO): copying back failed.\n"));
  EXPECT_THAT(log, Not(HasSubstr("processPrinterConfig(Q_RO): updated.")));
}
