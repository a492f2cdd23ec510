// The setup driver end to end: usage, the root check, the source-directory
// test, abandoned installations and the ends of a de-installation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/throwaway_root.h"

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

constexpr const char* kAsUser1000 = "setpriv --reuid=1000 --regid=1000 --clear-groups";

TEST(Driver, UsageTextEndsTheRunBeforeAnyLog) {
  auto run = runInRoot(std::string(R"(
    lay_package
    run_setup -h 2>"$OUT/root.err"; echo "root $?" >>"$OUT/status.txt"
    chmod 1777 /var/log
    (cd /opt/kwo/bin && )") + kAsUser1000 + R"( ./setup -h 2>"$OUT/user.err"); echo "user $?" >>"$OUT/status.txt"
  )");
  EXPECT_EQ(run.file("status.txt"), "root 0\nuser 0\n");
  for (const char* who : {"root.err", "user.err"}) {
    EXPECT_THAT(run.file(who), StartsWith("Plova setup version: 4.0-7.\n")) << who;
    EXPECT_THAT(run.file(who), HasSubstr("-Dx\t: set debug mode. [0].\n")) << who;
  }
  EXPECT_EQ(run.log(), "");
  EXPECT_EQ(run.varLog("Plova4.0_UpdateLog_1000"), "");
}

TEST(Driver, UserOtherThanRootIsRefused) {
  auto run = runInRoot(std::string(R"(
    lay_package
    cd /opt/kwo/bin
    )") + kAsUser1000 + R"( ./setup 2>"$OUT/nolog.err"; echo "nolog $?" >>"$OUT/status.txt"
    chmod 1777 /var/log
    )" + kAsUser1000 + R"( ./setup -D1 2>"$OUT/log.err"; echo "log $?" >>"$OUT/status.txt"
  )");
  EXPECT_EQ(run.file("status.txt"), "nolog 0\nlog 0\n");
  const std::string notRoot = "\n\n\tYou must be root to be able\n\tto install Plova!\n\n\tSorry!\n";
  // No log can be created in /var/log: every line goes to stderr.
  EXPECT_THAT(run.file("nolog.err"), HasSubstr("Starting Plova 4.0-0 installation : "));
  EXPECT_THAT(run.file("nolog.err"), HasSubstr(notRoot));
  // With a writable /var/log the user's own log gets it.
  const std::string log = run.varLog("Plova4.0_UpdateLog_1000");
  EXPECT_THAT(log, HasSubstr("Starting Plova 4.0-0 installation : "));
  EXPECT_THAT(log, HasSubstr(notRoot));
  EXPECT_THAT(log, HasSubstr("Finishing Plova 4.0-0 installation : "));
  EXPECT_THAT(run.file("log.err"), HasSubstr("Must be root.\nExiting.\n"));
  EXPECT_THAT(run.file("log.err"), Not(HasSubstr("You must be root")));
  EXPECT_EQ(run.log(), "");
}

TEST(Driver, SourceDirectoryTestWithF0) {
  auto run = runInRoot(R"(
    lay_package
    lay_package /tmp/pkg
    (cd /tmp/pkg/bin && WOXLPMODE=CUPS ./setup -f 0 2>"$OUT/outside.err"; echo "outside $?" >>"$OUT/status.txt")
    cp /var/log/Plova4.0_UpdateLog "$OUT/outside.log"
    WOXLPMODE=CUPS run_setup -f0 2>"$OUT/inside.err"; echo "inside $?" >>"$OUT/status.txt"
    cp /var/log/Plova4.0_UpdateLog "$OUT/inside.log"
    (cd /tmp/pkg/bin && WOXLPMODE=CUPS ./setup -f 0 -d 2>"$OUT/deinstall.err" </dev/null)
    cp /var/log/Plova4.0_UpdateLog "$OUT/deinstall.log"
  )");
  EXPECT_EQ(run.file("status.txt"), "outside 0\ninside 0\n");
  const std::string simulation = "Plova3.0 setup simulation, not from /opt/kwo/bin.\nExiting.\n";
  EXPECT_THAT(run.file("outside.log"), HasSubstr("Directory from which we install: '/tmp/pkg/bin'.\n" + simulation));
  EXPECT_EQ(run.file("outside.err"), simulation + "\n");
  EXPECT_THAT(run.file("inside.log"), HasSubstr("Directory from which we install: '/opt/kwo'.\n"));
  EXPECT_THAT(run.file("inside.log"), Not(HasSubstr("simulation")));
  EXPECT_THAT(run.file("inside.log"), HasSubstr("System Scheduler = CUPS\n"));
  EXPECT_THAT(run.file("deinstall.log"), Not(HasSubstr("simulation")));
  // The run from /opt/kwo/bin installed the package, so -d finds it and asks.
  EXPECT_THAT(run.file("deinstall.log"), HasSubstr("Program abandoned by user.\n"));
}

TEST(Driver, NoCupsOrNoFoomaticRipAbandonsTheInstallation) {
  auto run = runInRoot(R"(
    lay_package
    WOXLPMODE=LPRNG run_setup 2>/dev/null
    cp /var/log/Plova4.0_UpdateLog "$OUT/lprng.log"
    rm -f /usr/bin/foomatic-rip /usr/lib/cups/filter/foomatic-rip
    WOXLPMODE=CUPS run_setup 2>/dev/null
    cp /var/log/Plova4.0_UpdateLog "$OUT/nofoomatic.log"
  )");
  const std::string lprng = run.file("lprng.log");
  EXPECT_THAT(lprng, HasSubstr("System Scheduler = LPRNG\n"
                               "Abandoned because:\n"
                               "* No running CUPS daemon found!\n"
                               "*** Sorry ***\n"));
  EXPECT_THAT(lprng, Not(HasSubstr("foomatic-rip program")));
  EXPECT_THAT(lprng, HasSubstr("Because of insufficient data, setup stopped.\n"
                               "Finishing Plova 4.0-0 installation : "));
  const std::string noFoomatic = run.file("nofoomatic.log");
  EXPECT_THAT(noFoomatic, HasSubstr("System Scheduler = CUPS\n"
                                    "Abandoned because:\n"
                                    "* No foomatic-rip program found!\n"
                                    "*** Sorry ***\n"));
  EXPECT_THAT(noFoomatic, HasSubstr("Because of insufficient data, setup stopped.\n"));
  // Nothing is installed; the PPD directory steps run in every run, and
  // off CUPS the version stays 1000, so the model-directory link is made.
  EXPECT_THAT(run.touchedOutside({"/opt/kwo", "/usr/bin/foomatic-rip", "/usr/lib/cups/filter/foomatic-rip",
                                  "/usr/share/ppd/kwo", "/usr/share/cups/model/kwo"}),
              ::testing::IsEmpty());
  EXPECT_FALSE(run.touched("/opt/kwo/plovaInfo4.0"));
  EXPECT_FALSE(run.touched("/usr/bin/woxgsfilter"));
}

TEST(Driver, DeinstallationWithoutInstallation) {
  auto run = runInRoot(R"(
    WOXLPMODE=LPRNG /run/pkg/bin/setup -d 2>"$OUT/err" </dev/null; echo $? >"$OUT/rc"
  )");
  EXPECT_EQ(run.file("rc"), "0\n");
  EXPECT_EQ(run.file("err"), "No Plova installation found.\n*** Sorry ***\n");
  EXPECT_THAT(run.log(), HasSubstr("System Scheduler = LPRNG\n"
                                   "Abandoned because:\n"));
  EXPECT_THAT(run.log(), HasSubstr("No Plova installation found.\n*** Sorry ***\nFinishing Plova"));
}

TEST(Driver, OverLongTextArgumentsAreRefused) {
  auto run = runInRoot(R"(
    lay_package
    long=$(printf '/opt/%0251d' 0)
    WOXLPMODE=CUPS run_setup -u "$long" 2>"$OUT/u.err"; echo "u $?" >>"$OUT/status.txt"
    WOXLPMODE=CUPS run_setup -i "x$long" 2>"$OUT/i.err"; echo "i $?" >>"$OUT/status.txt"
    ls /var/log >"$OUT/varlog.txt"
  )");
  EXPECT_EQ(run.file("status.txt"), "u 0\ni 0\n");
  EXPECT_EQ(run.file("u.err"), "setup: the argument of -u is longer than 255 characters; refused.\n");
  EXPECT_EQ(run.file("i.err"), "setup: the argument of -i is longer than 255 characters; refused.\n");
  EXPECT_EQ(run.file("varlog.txt"), "");  // refused before anything was done
}

TEST(Driver, QuestionsAndDeclinedRuns) {
  auto run = runInRoot(R"(
    lay_package
    export WOXLPMODE=CUPS
    echo nein | run_setup -q1 >"$OUT/new.out" 2>"$OUT/new.err"
    cp /var/log/Plova4.0_UpdateLog "$OUT/new.log"
    ls /opt/kwo >"$OUT/new.ls"
    run_setup >/dev/null 2>&1
    echo maybe | run_setup -q 2 >"$OUT/upgrade.out" 2>"$OUT/upgrade.err"
    echo no | run_setup -d -q0 >"$OUT/deinstall.out" 2>"$OUT/deinstall.err"
    cp /var/log/Plova4.0_UpdateLog "$OUT/deinstall.log"
  )");
  // A new installation asks to install; "nein" leaves nothing installed.
  EXPECT_EQ(run.file("new.out"), "Would you like to install Plova 4.0-0?\n"
                                 "Answer with y[es] or n[o], followed by <RETURN> please. ");
  EXPECT_EQ(run.file("new.err"), "Program abandoned by user.\n\n");
  EXPECT_THAT(run.file("new.log"), HasSubstr("New installation\n"));
  EXPECT_THAT(run.file("new.log"), HasSubstr("Program abandoned by user.\nFinishing Plova"));
  EXPECT_THAT(run.file("new.ls"), Not(HasSubstr("plovaInfo4.0")));
  // An upgrade from the 4.0 file asks to update; an unrecognised answer is no.
  EXPECT_THAT(run.file("upgrade.out"), StartsWith("Would you like to update Plova 4.0-0?\n"));
  EXPECT_EQ(run.file("upgrade.err"), "Program abandoned by user.\n\n");
  // The de-installation question is asked whatever -q says.
  EXPECT_THAT(run.file("deinstall.out"),
              StartsWith("Do you want to delete Plova and any possible Plova printer queues?\n\n"));
  EXPECT_EQ(run.file("deinstall.err"), "Program abandoned by user.\n\n");
  EXPECT_THAT(run.file("deinstall.log"), HasSubstr("Program abandoned by user.\nFinishing Plova"));
  EXPECT_THAT(run.file("deinstall.log"), Not(HasSubstr("Deleting")));
}

TEST(Driver, RecordedDirectoryMissingGivesANewInstallation) {
  auto run = runInRoot(R"(
    lay_package
    printf 'USRDIR          /opt/gone\n' >/opt/kwo/plovaInfo4.0
    WOXLPMODE=CUPS run_setup -u /opt/other/ 2>/dev/null
    ls /opt/other >"$OUT/other.ls"
  )");
  EXPECT_THAT(run.log(), HasSubstr("Found an existing Plova 3.0 installation in the directory:\n/opt/gone.\n"
                                   "The installation directory:\n\t'/opt/gone'\ndoes not exist or is not OK.\n"));
  EXPECT_THAT(run.log(), Not(HasSubstr("Upgrade Mode")));
  EXPECT_THAT(run.log(), HasSubstr("Installation directory: '/opt/other' OK. \n"));
  EXPECT_THAT(run.file("other.ls"), HasSubstr("plovaInfo4.0"));
}

TEST(Driver, LogHeaderFollowsChcon) {
  auto run = runInRoot(R"(
    lay_package
    printf '#!/bin/sh\necho "$*" >>/tmp/chcon.calls\nexit 0\n' >/usr/bin/chcon
    WOXLPMODE=LPRNG run_setup 2>/dev/null
    cp /var/log/Plova4.0_UpdateLog "$OUT/ok.log"; cp /tmp/chcon.calls "$OUT/calls"
    rm /usr/bin/chcon
    WOXLPMODE=LPRNG run_setup 2>/dev/null
    cp /var/log/Plova4.0_UpdateLog "$OUT/none.log"
  )");
  EXPECT_THAT(run.file("ok.log"),
              StartsWith("Preparing Log File:\n"
                         "Command: \"/usr/bin/chcon -u system_u /var/log/Plova4.0_UpdateLog 2>/dev/null\" "
                         "returned with: 0.\n"
                         "=======================================\n"
                         "Starting Plova 4.0-0 installation : "));
  EXPECT_EQ(run.file("calls"), "-u system_u /var/log/Plova4.0_UpdateLog\n");
  // Without chcon there is no header, and each run starts the log anew.
  EXPECT_THAT(run.file("none.log"), StartsWith("Starting Plova 4.0-0 installation : "));
  EXPECT_THAT(run.file("none.log"), Not(HasSubstr("Preparing Log File")));
  EXPECT_EQ(run.file("none.log").find("Starting Plova"), run.file("none.log").rfind("Starting Plova"));
}

}  // namespace
