// The system survey end to end: which scheduler runs, where CUPS is
// installed, which version it is, the process-listing files in /tmp, the
// SELinux policy module and the package's network client.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/throwaway_root.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// Shell helpers of these scenarios.
//   daemon NAME: a process whose ps line shows NAME as its command.
//   serve ANSWER: a one-shot fake HTTP server on 127.0.0.1:631 that sends
//     ANSWER (printf format), keeps the request in /tmp/request and closes.
//   hang: a server on 127.0.0.1:631 that accepts and never answers.
//   timed NAME CMD...: runs CMD, its milliseconds in $OUT/NAME.ms.
//   keep NAME: the run's log as $OUT/NAME.log.
constexpr const char* kHelpers = R"(
daemon() { bash -c "exec -a $1 sleep 60" & }
listening() { for _ in $(seq 100); do ss -ltn | grep -q '127.0.0.1:631 ' && return; sleep 0.05; done; }
serve() { printf "$1" >/tmp/answer; nc -N -l 127.0.0.1 631 </tmp/answer >/tmp/request & listening; }
hang() { sleep 60 | nc -l 127.0.0.1 631 >/dev/null & listening; }
timed() {
  n=$1; shift; s=$(date +%s%N); "$@"; r=$?; e=$(date +%s%N)
  echo $(( (e - s) / 1000000 )) >"$OUT/$n.ms"; return $r
}
keep() { cp /var/log/Plova4.0_UpdateLog "$OUT/$1.log"; }
# Without foomatic-rip the run stops right after the survey (faster).
survey_only() { rm -f /usr/bin/foomatic-rip /usr/lib/cups/filter/foomatic-rip; }
lpd_stub() { printf '#!/bin/sh\n[ "$1" = -V ] && echo "%s" >&2\nexit 0\n' "$1" >/usr/sbin/lpd; chmod 755 /usr/sbin/lpd; }
)";

RootRun runSurvey(const std::string& scenario) { return runInRoot(std::string(kHelpers) + scenario); }

// The survey's part of a log, from the SELinux line to the PPD locations, so
// that a failure shows only that.
std::string survey(const std::string& log) {
  const std::size_t from = log.find("SELinux is running");
  if (from == std::string::npos) return log.substr(0, 2000);
  return log.substr(from, log.find("=====", from) - from);
}

int millis(const RootRun& run, const std::string& name) { return std::stoi("0" + run.file(name + ".ms")); }

// The four-digit number of "Server: CUPS/<major>.<minor>" in an HTTP answer.
int headerVersion(const std::string& answer) {
  const std::string mark = "Server: CUPS/";
  const std::size_t at = answer.find(mark);
  if (at == std::string::npos) return -1;
  std::size_t used = 0;
  const std::string rest = answer.substr(at + mark.size());
  const int major = std::stoi(rest, &used);
  const int minor = std::stoi(rest.substr(used + 1));
  return major * 1000 + minor * 100;
}

// What the real cups-config's version text ("2.4.2\n") comes to: its first
// four digits, padded with zeros.
int toolVersion(const std::string& versionText) {
  std::string digits;
  for (char c : versionText)
    if (c >= '0' && c <= '9') digits += c;
  return std::stoi((digits + "0000").substr(0, 4));
}

TEST(Survey, RealCupsdIsFoundWithItsDirectoriesAndVersion) {
  auto run = runSurvey(R"(
    lay_package
    start_cupsd
    ps -ef >"$OUT/ps.txt"
    printf 'HEAD / HTTP/1.1\r\nConnection: Close\r\n\r\n' | /run/pkg/bin/woxnc localhost 631 >"$OUT/head.txt"
    run_setup -D1 2>"$OUT/err" </dev/null
    ls -a /tmp >"$OUT/tmp.txt"
  )");
  ASSERT_THAT(run.file("ps.txt"), HasSubstr(" /usr/sbin/cupsd"));
  const int version = headerVersion(run.file("head.txt"));
  ASSERT_GE(version, 1000) << run.file("head.txt");

  const std::string log = survey(run.log());
  EXPECT_THAT(log, HasSubstr("System Scheduler = CUPS\n"
                             "CUPS base dir: /\n"
                             "CUPS binary dir: /usr\n"
                             "CUPS Header Version : " +
                             std::to_string(version) + "//HTTP\n"
                             "lpadmin = /usr/sbin/lpadmin\n"
                             "lpstat  = /usr/bin/lpstat\n"));
  EXPECT_THAT(log, Not(HasSubstr("Abandoned because")));
  // Found at the first probe: no second probe ran.
  EXPECT_THAT(run.file("err"), Not(HasSubstr(") i=1\n")));
  EXPECT_THAT(run.file("err"), HasSubstr("STRING=(root "));
  EXPECT_THAT(run.file("err"), HasSubstr("/usr/sbin/cupsd -C /etc/cups/cupsd.conf"));
  EXPECT_THAT(run.file("err"), HasSubstr(") i=0\n"));
  EXPECT_THAT(run.file("tmp.txt"), Not(HasSubstr("WOXLP")));
}

// cupsBinDir comes from the daemon's path, cupsBaseDir (and a replacement
// cupsBinDir) from the start-up script or the fall-backs.
TEST(Survey, CupsdPathAndStartUpScriptGiveTheCupsDirectories) {
  auto run = runSurvey(R"(
    lay_package
    rm -f /etc/init.d/cups
    daemon /usr/local/sbin/cupsd; p=$!
    WOXLPMODE= run_setup 2>/dev/null; keep local
    kill $p
    printf '#!/bin/sh\n# exec_prefix=/usr\nprefix=/usr\n' >/etc/init.d/cupsys
    daemon /usr/sbin/cupsd; daemon lpsched
    WOXLPMODE= PLOVALPMODE=LP run_setup 2>/dev/null; keep script
    rm /etc/init.d/cupsys
    run_setup 2>/dev/null; keep fallback
  )");
  // No start-up script, and /usr/local is not /usr: no base directory, and
  // lpadmin is looked for below /usr/local only.
  EXPECT_THAT(survey(run.file("local.log")), HasSubstr("System Scheduler = CUPS\n"
                                               "CUPS base dir: \n"
                                               "CUPS binary dir: /usr/local\n"));
  EXPECT_THAT(survey(run.file("local.log")), HasSubstr("lpadmin = lpadmin\nlpstat  = lpstat\n"));
  // An empty WOXLPMODE hides PLOVALPMODE, and cupsd is probed before lpsched.
  EXPECT_THAT(survey(run.file("script.log")), HasSubstr("System Scheduler = CUPS\n"
                                                "CUPS base dir: /usr\n"
                                                "CUPS binary dir: /usr\n"));
  EXPECT_THAT(survey(run.file("script.log")), Not(HasSubstr("System Scheduler = LP\n")));
  EXPECT_THAT(survey(run.file("fallback.log")), HasSubstr("CUPS base dir: /\nCUPS binary dir: /usr\n"));
}

// Any user can start a process that looks like a cupsd below a directory of
// their own; the lpadmin there must not become the command setup runs.
TEST(Survey, CupsPrefixIsTakenOnlyFromARootProcessAndWhole) {
  auto run = runSurvey(R"(
    lay_package
    mkdir -p /var/tmp/evil/sbin /var/tmp/evil/bin
    for c in lpadmin lpstat; do printf '#!/bin/sh\ntouch /var/tmp/evil/ran\n' >/var/tmp/evil/bin/$c; done
    chmod 755 /var/tmp/evil/bin/*; chown -R 1000:1000 /var/tmp/evil
    setpriv --reuid=1000 --regid=1000 --clear-groups bash -c 'exec -a /var/tmp/evil/sbin/cupsd sleep 60' & p=$!
    sleep 0.2
    run_setup -D1 2>"$OUT/err"; keep evil
    kill $p
    # A root cupsd whose ps line is longer than one read: the part that holds
    # "cupsd" starts inside the path, which is not taken cut.
    long=$(printf '%0300d' 0 | tr 0 /)x/sbin/cupsd
    bash -c "exec -a $long sleep 60" &
    sleep 0.2
    run_setup -D1 2>"$OUT/cut.err"; keep cut
  )");
  const std::string evil = survey(run.file("evil.log"));
  EXPECT_THAT(evil, HasSubstr("System Scheduler = CUPS\nCUPS base dir: /\nCUPS binary dir: /usr\n"));
  EXPECT_THAT(evil, HasSubstr("lpadmin = /usr/sbin/lpadmin\nlpstat  = /usr/bin/lpstat\n"));
  EXPECT_THAT(run.file("err"), HasSubstr("Not taking the CUPS prefix '/var/tmp/evil' from a process"));
  EXPECT_FALSE(run.touched("/var/tmp/evil/ran"));
  EXPECT_THAT(survey(run.file("cut.log")), HasSubstr("CUPS base dir: /\nCUPS binary dir: /usr\n"));
  EXPECT_THAT(run.file("cut.err"), HasSubstr("x' from a cut line"));
}

TEST(Survey, LpschedAndTheEnvironmentVariables) {
  auto run = runSurvey(R"(
    lay_package
    daemon lpsched
    timed lp run_setup -D1 2>"$OUT/lp.err"; keep lp
    PLOVALPMODE=LPR timed env run_setup 2>/dev/null; keep plova
    WOXLPMODE=CUPS PLOVALPMODE=LP run_setup 2>/dev/null; keep cups
  )");
  EXPECT_THAT(survey(run.file("lp.log")), HasSubstr("System Scheduler = LP\n"
                                                    "Abandoned because:\n"
                                                    "* No running CUPS daemon found!\n"));
  // Two probes of one second each: cupsd, then lpsched.
  EXPECT_GE(millis(run, "lp"), 2000);
  EXPECT_THAT(run.file("lp.err"), HasSubstr(") i=1\n"));
  EXPECT_THAT(run.file("lp.err"), Not(HasSubstr(") i=2\n")));
  EXPECT_THAT(survey(run.file("plova.log")), HasSubstr("System Scheduler = LPR\n"));
  EXPECT_LT(millis(run, "env"), 1000);  // no probe
  // Named by the environment: no probe, so no CUPS directories.
  EXPECT_THAT(survey(run.file("cups.log")),
              HasSubstr("System Scheduler = CUPS\nCUPS base dir: \nCUPS binary dir: \n"));
}

TEST(Survey, LpdWithAndWithoutLprng) {
  auto run = runSurvey(R"(
    lay_package
    daemon /usr/sbin/lpd
    lpd_stub 'lpd: version 1.0 of the classic line printer daemon'
    timed lpr run_setup -D1 2>"$OUT/lpr.err"; keep lpr
    lpd_stub 'lpd (LPRng-3.8.35) starting'
    run_setup 2>/dev/null; keep lprng
  )");
  EXPECT_THAT(survey(run.file("lpr.log")), HasSubstr("System Scheduler = LPR\n"));
  // Three probes: the last cupsd probe does not run.
  EXPECT_GE(millis(run, "lpr"), 3000);
  EXPECT_THAT(run.file("lpr.err"), HasSubstr(") i=2\n"));
  EXPECT_THAT(run.file("lpr.err"), Not(HasSubstr(") i=3\n")));
  EXPECT_THAT(survey(run.file("lprng.log")), HasSubstr("System Scheduler = LPRNG\n"));
}

// An unusable WOXLPMODE hides PLOVALPMODE: the probes run and find nothing.
TEST(Survey, NoDaemonAtAll) {
  auto run = runSurvey(R"(
    lay_package
    WOXLPMODE=cups PLOVALPMODE=CUPS timed none run_setup 2>/dev/null
  )");
  EXPECT_THAT(survey(run.log()), HasSubstr("System Scheduler = Unknown\n"));
  EXPECT_GE(millis(run, "none"), 4000);
}

TEST(Survey, CupsdSeenOnlyAtTheFourthProbe) {
  auto run = runSurvey(R"(
    lay_package
    (sleep 1.5; exec bash -c 'exec -a /usr/sbin/cupsd sleep 60') &
    timed run run_setup 2>/dev/null
  )");
  EXPECT_THAT(survey(run.log()), HasSubstr("System Scheduler = CUPS\nCUPS base dir: \nCUPS binary dir: \n"));
  EXPECT_GE(millis(run, "run"), 4000);
}

// The listing files carry the process id in their names: links planted
// there for every pid the run may get must not be written through.
TEST(Survey, PlantedLinksAtTheListingNamesAreNotWrittenThrough) {
  auto run = runSurvey(R"(
    lay_package
    printf 'precious\n' >/etc/victim
    lpd_stub 'lpd (LPRng-3.8.35)'
    first=$(sh -c 'echo $$')
    perl -e '$n = shift; for $i ($n .. $n + 200) { for $k ("D", "RNG") { symlink("/etc/victim", "/tmp/WOXLP$k$i") or die } }' "$first"
    (cd /opt/kwo/bin && exec ./setup 2>/dev/null) & pid=$!
    wait $pid
    echo "$first $pid" >"$OUT/pids"
    find /tmp -name 'WOXLP*' ! -type l >"$OUT/files.txt"
    find /tmp -name 'WOXLP*' -type l | wc -l >"$OUT/links.txt"
  )");
  int first = 0, pid = 0;
  ASSERT_EQ(std::sscanf(run.file("pids").c_str(), "%d %d", &first, &pid), 2);
  ASSERT_GE(pid, first);
  ASSERT_LE(pid, first + 200);
  // No daemon runs, but an installed LPRng counts: both files were used.
  EXPECT_THAT(survey(run.log()), HasSubstr("System Scheduler = LPRNG\n"));
  EXPECT_EQ(run.written("/etc/victim"), "precious\n");
  EXPECT_EQ(run.file("files.txt"), "");  // the fresh files were removed
  EXPECT_EQ(run.file("links.txt"), "402\n");
}

TEST(Survey, VersionFromFakeServerHeaders) {
  auto run = runSurvey(R"(
    lay_package
    survey_only
    # An over-long header line before the Server line is read in parts.
    serve "HTTP/1.1 200 OK\r\nX-Pad: $(printf '%0400d' 0)\r\nServer: CUPS/1.15\r\n\r\n"
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep v115; cp /tmp/request "$OUT/request"
    serve 'HTTP/1.1 200 OK\r\nServer: CUPS/10.1\r\n\r\n'
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep v101
    serve 'HTTP/1.1 200 OK\r\nDate: now\r\nServer: CUPS/2.2 IPP/2.1\r\n\r\n'
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep v22
    serve 'HTTP/1.1 200 OK\r\nServer: CUPS 1.2.12\r\n\r\n'
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep blank
    cups-config --version >"$OUT/cups-config"
    ls -a /tmp >"$OUT/tmp.txt"
  )");
  EXPECT_EQ(run.file("request"), "HEAD / HTTP/1.1\nConnection: Close\n\n\n");
  EXPECT_THAT(survey(run.file("v115.log")), HasSubstr("CUPS binary dir: \nCUPS Header Version : 1150//HTTP\n"));
  EXPECT_THAT(survey(run.file("v101.log")), HasSubstr("CUPS Header Version : 1010//HTTP\n"));
  EXPECT_THAT(survey(run.file("v22.log")), HasSubstr("CUPS Header Version : 2200//HTTP\n"));
  // A blank instead of the slash gives no digits: the file sources decide.
  const std::string tool = run.file("cups-config");
  EXPECT_THAT(survey(run.file("blank.log")),
              HasSubstr("CUPS binary dir: \nCUPS Version : " + std::to_string(toolVersion(tool)) + " // " + tool));
  EXPECT_THAT(survey(run.file("blank.log")), Not(HasSubstr("Header Version")));
  EXPECT_THAT(run.file("tmp.txt"), Not(HasSubstr("WOX")));
}

// A server that accepts and never answers: woxnc gives up after a few
// seconds and the probe goes on with the file sources.
TEST(Survey, SilentServerDoesNotHangTheRun) {
  auto run = runSurvey(R"(
    lay_package
    hang
    printf 'HEAD / HTTP/1.1\r\n\r\n' | timed woxnc /run/pkg/bin/woxnc localhost 631 >"$OUT/answer" 2>"$OUT/woxnc.err"
    echo $? >"$OUT/woxnc.rc"
    pkill -x nc; sleep 0.2; hang
    WOXLPMODE=CUPS timed run run_setup 2>"$OUT/err"
  )");
  EXPECT_EQ(run.file("woxnc.rc"), "1\n");
  EXPECT_EQ(run.file("answer"), "");
  EXPECT_THAT(run.file("woxnc.err"), HasSubstr("no answer from localhost port 631"));
  EXPECT_GE(millis(run, "woxnc"), 2900);
  EXPECT_LT(millis(run, "woxnc"), 8000);
  EXPECT_LT(millis(run, "run"), 15000);
  EXPECT_THAT(survey(run.log()), HasSubstr("CUPS Version : "));
  EXPECT_THAT(survey(run.log()), Not(HasSubstr("Header Version")));
}

TEST(Survey, VersionFromTheFileSourcesInOrder) {
  auto run = runSurvey(R"(
    lay_package
    survey_only
    cups-config --version >"$OUT/cups-config"
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep tool
    # 1.0.0 (digits 100) and an over-long line of digits are no result.
    printf '#!/bin/sh\necho 1.0.0\n' >/usr/bin/cups-config
    printf '# Printer configuration file for CUPS v2.2.7\n' >/etc/cups/printers.conf
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep printers
    printf '#!/bin/sh\nprintf "%%0300d\\n" 7\n' >/usr/bin/cups-config
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep longtool
    # A deciding line without digits is passed over like 100.
    printf '# Printer configuration file for CUPS vX\n# Printer configuration file for CUPS v2.2.7\n' >/etc/cups/printers.conf
    mkdir -p /usr/share/cups/doc
    printf '<HTML>\n<HEAD><TITLE>Home - CUPS 2.3.1</TITLE>\n' >/usr/share/cups/doc/index.html
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep index
    rm /usr/bin/cups-config /etc/cups/printers.conf /usr/share/cups/doc/index.html
    mkdir /usr/share/doc/cups-1.3 /usr/share/doc/cups-1.1
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep docdir
    rmdir /usr/share/doc/cups-1.3 /usr/share/doc/cups-1.1
    mkdir -p /etc/cups/data
    printf '%%!PS\n%%%%Creator: Printed Using CUPS v1.1.23\n' >/usr/share/cups/data/testprint.ps
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep ps
    # The text page in /etc/cups/data counts only when /usr/share/cups/data has none.
    rm /usr/share/cups/data/testprint.ps /usr/share/cups/data/testprint
    printf 'This page was PRODUCED BY cups \tVv1.2.3 today\n' >/etc/cups/data/testprint
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep text
    rm /etc/cups/data/testprint
    WOXLPMODE=CUPS run_setup 2>/dev/null; keep nothing
    ls -a /tmp >"$OUT/tmp.txt"
    # No temporary file can be made: the run ends with status 255.
    mount -t tmpfs -o ro tmpfs /tmp
    WOXLPMODE=CUPS run_setup 2>"$OUT/tmpfail.err"; echo $? >"$OUT/tmpfail.rc"
  )");
  const std::string tool = run.file("cups-config");
  ASSERT_FALSE(tool.empty());
  EXPECT_THAT(survey(run.file("tool.log")), HasSubstr("CUPS Version : " + std::to_string(toolVersion(tool)) + " // " + tool));
  EXPECT_THAT(survey(run.file("printers.log")),
              HasSubstr("CUPS Version : 2270 // # Printer configuration file for CUPS v2.2.7\n"));
  EXPECT_THAT(survey(run.file("longtool.log")),
              HasSubstr("CUPS Version : 2270 // # Printer configuration file for CUPS v2.2.7\n"));
  EXPECT_THAT(survey(run.file("index.log")), HasSubstr("CUPS Version : 2310// <HEAD><TITLE>Home - CUPS 2.3.1</TITLE>\n"));
  EXPECT_THAT(survey(run.file("docdir.log")), HasSubstr("CUPS Version : 1100// /usr/share/doc/cups-1.1\n"));
  EXPECT_THAT(survey(run.file("ps.log")), HasSubstr("CUPS Version : 1123// %%Creator: Printed Using CUPS v1.1.23\n"));
  EXPECT_THAT(survey(run.file("text.log")), HasSubstr("CUPS Version : 1230// This page was PRODUCED BY cups \tVv1.2.3 today\n"));
  EXPECT_THAT(survey(run.file("nothing.log")), HasSubstr("CUPS Version : 1400// CUPS Version not found. Reset to 1.4\n"));
  EXPECT_THAT(run.file("tmp.txt"), Not(HasSubstr("WOX")));
  EXPECT_EQ(run.file("tmpfail.rc"), "255\n");
  EXPECT_EQ(run.file("tmpfail.err"), "myTmpName(/tmp,WOX) Failed!\n");
}

TEST(Survey, FoomaticRipAtAnyOfItsNinePlaces) {
  auto run = runSurvey(R"(
    lay_package
    places='/usr/bin /bin /sbin /usr/local/bin /opt/bin /usr/lib/cups/filter /usr/local/lib/cups/filter
            /opt/lib/cups/filter /lib/cups/filter /usr/share'
    for d in $places; do rm -f "$d/foomatic-rip"; done
    for d in $places; do
      mkdir -p "$d"; touch "$d/foomatic-rip"
      WOXLPMODE=LPRNG run_setup 2>/dev/null
      if grep -q 'No foomatic-rip' /var/log/Plova4.0_UpdateLog; then echo "$d missing"; else echo "$d found"; fi >>"$OUT/found"
      rm "$d/foomatic-rip"
    done
  )");
  EXPECT_EQ(run.file("found"),
            "/usr/bin found\n/bin found\n/sbin found\n/usr/local/bin found\n/opt/bin found\n"
            "/usr/lib/cups/filter found\n/usr/local/lib/cups/filter found\n/opt/lib/cups/filter found\n"
            "/lib/cups/filter found\n/usr/share missing\n");
}

TEST(Survey, PolicyModuleIsReportedAsItWent) {
  auto run = runSurvey(R"(
    lay_package
    stub() { printf '#!/bin/sh\necho "$*" >>/tmp/semodule.calls\nexit %s\n' "$1" >/usr/sbin/semodule; chmod 755 /usr/sbin/semodule; }
    stub 0
    WOXLPMODE=LPRNG run_setup -S1 2>"$OUT/loaded.err"; keep loaded
    stub 1
    WOXLPMODE=LPRNG run_setup -S1 2>/dev/null; keep failed
    WOXLPMODE=LPRNG run_setup -S1 -d 2>/dev/null </dev/null; keep deinstall
    rm /usr/sbin/semodule
    WOXLPMODE=LPRNG run_setup -S1 2>/dev/null; keep nosemodule
    stub 0; rm /opt/kwo/etc/plova.pp
    WOXLPMODE=LPRNG run_setup -S1 2>"$OUT/nofile.err"; keep nofile
    WOXLPMODE=LPRNG run_setup -S0 2>/dev/null; keep off
    cp /tmp/semodule.calls "$OUT/calls"
  )");
  EXPECT_EQ(run.file("calls"), "-i /opt/kwo/etc/plova.pp\n-i /opt/kwo/etc/plova.pp\n");
  EXPECT_THAT(run.file("loaded.err"), ::testing::StartsWith(".......\n"));
  EXPECT_THAT(survey(run.file("loaded.log")),
              HasSubstr("SELinux is running: Yes.\nSELinux module plova.pp is installed.\n"));
  EXPECT_THAT(survey(run.file("failed.log")),
              HasSubstr("SELinux module plova.pp is not installed: "
                        "\"/usr/sbin/semodule -i /opt/kwo/etc/plova.pp\" returned with: 256.\n"));
  EXPECT_THAT(survey(run.file("deinstall.log")),
              HasSubstr("SELinux module plova.pp is not installed: a de-installation run does not load it.\n"));
  EXPECT_THAT(survey(run.file("nosemodule.log")),
              HasSubstr("SELinux module plova.pp is not installed: no semodule command was found.\n"));
  // The missing-module text has no line end of its own.
  EXPECT_THAT(run.file("nofile.err"),
              ::testing::StartsWith(".......\nSELinux running, but no file plova.pp found."));
  EXPECT_THAT(run.file("nofile.err"), Not(HasSubstr("found.\n")));
  EXPECT_THAT(survey(run.file("nofile.log")),
              HasSubstr("SELinux module plova.pp is not installed: the file /opt/kwo/etc/plova.pp does not exist.\n"));
  EXPECT_THAT(survey(run.file("off.log")), HasSubstr("SELinux is running: No.\n"));
  EXPECT_THAT(survey(run.file("off.log")), Not(HasSubstr("SELinux module")));
}

}  // namespace
