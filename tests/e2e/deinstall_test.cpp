// setup -d end to end: the recorded queues leave the scheduler, the package's
// files leave the install directory, and nothing outside the package moves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/throwaway_root.h"

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

// Shell helpers of these scenarios, put before each one.
//  install_by_hand NAME...  the package as an installation leaves it, the
//                           names as its printers block (the first the head)
//  queue_files NAME...      each queue's own files below /opt/kwo
//  stub_commands STATUS     lpadmin and lpstat record their arguments in
//                           $OUT/calls and exit with STATUS
//  deinstall ARGS...        setup -d answered "yes"
constexpr const char* kHelpers = R"(
install_by_hand() {
  lay_package
  names=$(printf '%s\n' "$@")
  cat >/opt/kwo/plovaInfo4.0 <<INFO
#
# Plova 4.0 Information File
#
%%WOXBLOCK_GENERAL_BEGIN
USRDIR          /opt/kwo
HOMEDIR         \$HOME
TMPDIR          /tmp
%%WOXBLOCK_GENERAL_END
#
#
%%WOXBLOCK_PRINTERS_BEGIN
$names
%%WOXBLOCK_PRINTERS_END
#
#
%%WOXBLOCK_USERS_BEGIN
root
%%WOXBLOCK_USERS_END
#
#
%%WOXBLOCK_PRNT_BEGIN Default
root
%%WOXBLOCK_PRNT_END Default
#
#
%%WOXEND
INFO
  echo '#!/bin/sh' >/opt/kwo/etc/UNINSTALLPLOVA
  cp /opt/kwo/etc/PLOVAINST.CONF /opt/kwo/PLOVAINST.CONF
  touch /opt/kwo/plova /opt/kwo/etc/plova4.0.png /opt/kwo/bin/nc
  mkdir -p /opt/kwo/Default /opt/kwo/ppd
  touch /opt/kwo/ppd/some.ppd.gz
  ln -sfn /opt/kwo/bin/woxgsfilter /usr/bin/woxgsfilter
}
queue_files() {
  for q in "$@"; do
    mkdir -p "/opt/kwo/$q/root" && echo config >"/opt/kwo/$q/root/plovaConfig"
    echo '#!/bin/sh' >"/opt/kwo/$q.sh"
  done
}
stub_commands() {
  for c in $(command -v lpadmin) $(command -v lpstat); do
    printf '#!/bin/sh\necho "$(date +%%s.%%N) ${0##*/} $*" >>"$OUT/calls"\nexit %s\n' "$1" >"$c"
  done
}
deinstall() {
  echo yes | /opt/kwo/bin/setup -d "$@" >/dev/null 2>>"$OUT/stderr"
}
)";

RootRun runDeinstall(const std::string& scenario) { return runInRoot(kHelpers + scenario); }

// The value of a "key = value" line of the log, such as "lpadmin = ".
std::string logValue(const std::string& log, const std::string& key) {
  for (const std::string& line : lines(log))
    if (line.rfind(key, 0) == 0) return line.substr(key.size());
  return "";
}

std::string deletedQueueLines(const std::string& lpadmin, const std::string& queue) {
  return "Executing command:\n\t" + lpadmin + " -x" + queue + " 2>/dev/null\n" +
         "Deleting the Plova printer: " + queue + ".\n";
}

// The whole list of the package's files after a full installation: order 3
// removes the filter, order 4 its link (dangling by then), order 10 finds
// nothing left.
constexpr const char* kAllFilesDeleted =
    "Deleting file: '/opt/kwo/plova' - OK.\n"
    "Deleting file: '/opt/kwo/plovaInfo4.0' - OK.\n"
    "Deleting file: '/opt/kwo/bin/woxgsfilter' - OK.\n"
    "Deleting file: '/usr/bin/woxgsfilter' - OK.\n"
    "Deleting file: '/opt/kwo/etc/UNINSTALLPLOVA' - OK.\n"
    "Deleting file: '/opt/kwo/bin/setup' - OK.\n"
    "Deleting file: '/opt/kwo/etc/plova4.0.png' - OK.\n"
    "Deleting file: '/opt/kwo/PLOVAINST.CONF' - OK.\n"
    "Deleting file: '/opt/kwo/etc/PLOVAINST.CONF' - OK.\n"
    "Deleting file: '/usr/bin/woxgsfilter' - Not possible!\n"
    "Deleting file: '/opt/kwo/bin/nc' - OK.\n"
    "Deleting directory: '/opt/kwo/Default' - OK.\n"
    "Deleting directory: '/opt/kwo/ppd' - OK.\n"
    "Deleting directory: '/opt/kwo/etc' - OK.\n"
    "Deleting directory: '/opt/kwo/bin' - OK.\n"
    "Plova 4.0-0 has been un-installed from the system.\n";

TEST(Deinstall, RecordedQueuesLeaveTheSchedulerOthersStay) {
  auto run = runDeinstall(R"(
    start_cupsd || exit 1
    install_by_hand first q1 Default '' q2
    for q in first q1 q2 Default keep; do lpadmin -p "$q" -E -v file:///dev/null -m raw 2>/dev/null; done
    queue_files first q1 q2
    mkdir -p /usr/share/cups/model && echo model >/usr/share/cups/model/q2
    WOXLPMODE=CUPS deinstall
    lpstat -e | sort >"$OUT/queues"
    ls /usr/share/cups/model >"$OUT/models"
  )");
  EXPECT_EQ(run.file("queues"), "Default\nfirst\nkeep\n");
  const std::string log = run.log();
  const std::string lpadmin = logValue(log, "lpadmin = ");
  EXPECT_THAT(lpadmin, HasSubstr("lpadmin"));
  EXPECT_THAT(log, HasSubstr("Number of Plova printers found: 5.\n" + deletedQueueLines(lpadmin, "q1") +
                             deletedQueueLines(lpadmin, "q2") + kAllFilesDeleted));
  EXPECT_THAT(log, Not(HasSubstr("-xfirst")));
  EXPECT_THAT(log, Not(HasSubstr("-xDefault")));
  EXPECT_EQ(run.file("stderr"), "Plova 4.0-0 has been un-installed from the system.\n\n");
  // The model file is kept as .old; the queues' own files are gone, the
  // head entry's stay.
  EXPECT_THAT(run.file("models"), HasSubstr("q2.old\n"));
  EXPECT_THAT(run.file("models"), Not(HasSubstr("q2\n")));
  for (const char* gone : {"/opt/kwo/q1", "/opt/kwo/q1.sh", "/opt/kwo/q2", "/opt/kwo/q2.sh",
                           "/usr/bin/woxgsfilter", "/opt/kwo/bin", "/opt/kwo/etc", "/opt/kwo/ppd"})
    EXPECT_FALSE(run.touched(gone) && !run.paths.at(gone).removed()) << gone;
  for (const char* kept : {"/opt/kwo/first/root/plovaConfig", "/opt/kwo/first.sh"})
    EXPECT_FALSE(run.paths.at(kept).removed()) << kept;
}

// Per scheduler type: which commands run, and which of the queue's device
// file and model files go. LPR and LPRng queues are not the scheduler's to
// touch here, but their files below the install directory still go.
TEST(Deinstall, SchedulerTypes) {
  auto run = runDeinstall(R"(
    for mode in CUPS LP LPRNG LPR; do
      if [ $mode = CUPS ]; then stub_commands 1; else stub_commands 0; fi
      install_by_hand Default q1 'q;touch injected'
      queue_files q1
      echo dev >/dev/q1
      mkdir -p /usr/share/cups/model /usr/spool/lp/model
      echo m >/usr/share/cups/model/q1; echo m >/usr/spool/lp/model/q1
      (cd /tmp && WOXLPMODE=$mode deinstall)
      mv "$OUT/calls" "$OUT/$mode.calls" 2>/dev/null
      cp /var/log/Plova4.0_UpdateLog "$OUT/$mode.log"
      { ls /dev/q1 /opt/kwo/q1 /opt/kwo/q1.sh /usr/share/cups/model/* /usr/spool/lp/model/*
        ls /tmp/injected /opt/kwo/bin/injected; } >"$OUT/$mode.left" 2>/dev/null
      rm -rf /usr/share/cups/model/q1* /usr/spool/lp/model/q1* /dev/q1
    done
  )");
  struct Case {
    const char* mode;
    const char* calls;  // the commands' arguments, in order
    const char* left;
  };
  const Case cases[] = {
      {"CUPS",
       "lpadmin -xq1\nlpstat -pq1 -l\nlpadmin -xq1\n"
       "lpadmin -xq;touch injected\nlpstat -pq;touch injected -l\nlpadmin -xq;touch injected\n",
       "/usr/share/cups/model/q1.old\n/usr/spool/lp/model/q1\n"},
      {"LP", "lpadmin -xq1\nlpadmin -xq;touch injected\n",
       "/usr/share/cups/model/q1\n/usr/spool/lp/model/q1.old\n"},
      {"LPRNG", "", "/dev/q1\n/usr/share/cups/model/q1\n/usr/spool/lp/model/q1\n"},
      {"LPR", "", "/dev/q1\n/usr/share/cups/model/q1\n/usr/spool/lp/model/q1\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    const std::string log = run.file(std::string(c.mode) + ".log");
    std::string calls;
    double previous = 0, longestPause = 0;
    for (const std::string& line : lines(run.file(std::string(c.mode) + ".calls"))) {
      const double at = std::stod(line);
      if (previous > 0 && at - previous > longestPause) longestPause = at - previous;
      previous = at;
      calls += line.substr(line.find(' ') + 1) + "\n";
    }
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(run.file(std::string(c.mode) + ".left"), c.left);
    EXPECT_THAT(log, HasSubstr("Deleting the Plova printer: q1.\n"));
    EXPECT_THAT(log, HasSubstr("Deleting the Plova printer: q;touch injected.\n"));
    if (std::string(c.mode) == "CUPS") {
      EXPECT_GE(longestPause, 0.9);  // a second between lpstat and the second try
      const std::string lpadmin = logValue(log, "lpadmin = ");
      const std::string lpstat = logValue(log, "lpstat  = ");
      EXPECT_THAT(log, HasSubstr("Executing command:\n\t" + lpadmin + " -xq1 2>/dev/null\n"
                                 "Executing command:\n\t" + lpstat + " -pq1 -l > /dev/null\n"
                                 "Executing command:\n\t" + lpadmin + " -xq1 2>/dev/null\n"
                                 "Deleting the Plova printer: q1.\n"));
      EXPECT_THAT(log, HasSubstr(" -x'q;touch injected' 2>/dev/null\n"));
    }
    if (std::string(c.mode) == "LPR" || std::string(c.mode) == "LPRNG") {
      EXPECT_THAT(log, Not(HasSubstr("Executing command")));
    }
  }
}

// Names from the printers block that could lead outside one directory entry
// are refused; a link planted in a queue's directory is removed as a link;
// device nodes named like queues stay.
TEST(Deinstall, NothingOutsideThePackageIsTouched) {
  const std::string longName(80, 'q');
  auto run = runDeinstall(R"(
    stub_commands 0
    install_by_hand Default .. ../etc zero null lp0 q1 q2 q3 )" + longName + R"(
    queue_files q1 zero
    mkdir -p /srv/data/sub && echo keep >/srv/data/file && echo keep >/srv/data/sub/file
    ln -s /srv/data /opt/kwo/q1/data
    ln -s /srv/data/file /opt/kwo/zero/file-link
    mknod /dev/lp0 c 6 0
    echo file >/dev/q1; mkfifo /dev/q2; ln -s /dev/zero /dev/q3
    listing() {
      find /srv /opt /etc/passwd -printf '%y %m %s %T@ %p\n' | grep -v ' /opt/kwo' | sort
      find /dev/null /dev/zero /dev/lp0 -printf '%y %m %p\n'
    }
    listing >"$OUT/before"
    WOXLPMODE=CUPS deinstall
    listing >"$OUT/after"
    ls /dev >"$OUT/dev"
  )");
  EXPECT_EQ(run.file("after"), run.file("before"));
  EXPECT_THAT(run.file("after"), HasSubstr("c 666 /dev/zero\n"));  // /dev/null, /dev/zero ...
  for (const char* node : {"lp0\n", "null\n", "zero\n"}) EXPECT_THAT(run.file("dev"), HasSubstr(node));
  for (const char* gone : {"q1\n", "q2\n", "q3\n"}) EXPECT_THAT(run.file("dev"), Not(HasSubstr(gone)));
  const std::string log = run.log();
  for (const std::string& name : {std::string(".."), std::string("../etc"), longName})
    EXPECT_THAT(log, HasSubstr("The printer name '" + name + "' cannot name a queue of its own; it is left alone.\n"));
  EXPECT_THAT(log, Not(HasSubstr("-x..")));
  EXPECT_THAT(log, HasSubstr("Deleting the Plova printer: zero.\n"));
  EXPECT_THAT(run.file("calls"), Not(HasSubstr("..")));
  // Only the package and what the scenario itself put there changed (every
  // run settles the package's PPD directory before it branches).
  EXPECT_THAT(run.touchedOutside({"/opt/kwo", "/srv/data", "/usr/bin/woxgsfilter", "/usr/sbin/lpadmin",
                                  "/usr/bin/lpstat", "/usr/share/ppd/kwo"}),
              IsEmpty());
  EXPECT_FALSE(run.touched("/opt/kwo/q1") && !run.paths.at("/opt/kwo/q1").removed());
}

// The question is asked whatever -q says; only "yes" removes anything, and a
// missing install directory removes nothing but still ends as removed.
TEST(Deinstall, AnswersAndAMissingInstallDirectory) {
  auto run = runDeinstall(R"(
    stub_commands 0
    install_by_hand Default q1
    queue_files q1
    (cd /opt/kwo/bin && WOXLPMODE=CUPS ./setup -d -q0 </dev/null >"$OUT/none.out" 2>"$OUT/none.err")
    (cd /opt/kwo/bin && echo no | WOXLPMODE=CUPS ./setup -d >/dev/null 2>"$OUT/no.err")
    cp /var/log/Plova4.0_UpdateLog "$OUT/no.log"
    WOXLPMODE=CUPS deinstall -u /opt/none
    ls /opt/kwo/plovaInfo4.0 /opt/kwo/q1.sh /opt/kwo/bin/setup >"$OUT/left"
  )");
  EXPECT_THAT(run.file("none.out"),
              HasSubstr("Do you want to delete Plova and any possible Plova printer queues?\n"));
  EXPECT_EQ(run.file("none.err"), "Program abandoned by user.\n\n");
  EXPECT_EQ(run.file("no.err"), "Program abandoned by user.\n\n");
  EXPECT_THAT(run.file("no.log"), Not(HasSubstr("Deleting")));
  EXPECT_EQ(run.file("calls"), "");
  EXPECT_THAT(run.log(), HasSubstr("Number of Plova printers found: 0.\n"
                                   "The installation directory:\n\t'/opt/none'\ndoes not exist or is not OK.\n"
                                   "Plova 4.0-0 has been un-installed from the system.\n"));
  EXPECT_EQ(run.file("left"), "/opt/kwo/bin/setup\n/opt/kwo/plovaInfo4.0\n/opt/kwo/q1.sh\n");
}

}  // namespace
