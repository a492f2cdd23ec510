#include "queues/queue_config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "driver/state.h"
#include "tests/unit_support.h"

using unit_test::CapturedLog;
using unit_test::readFile;
using unit_test::TempDir;

TEST(ConnectionLines, HostAndRemoteQueueFromTheDeviceUri) {
  struct Case {
    const char* uri;
    const char* lines;
  } cases[] = {
      {"lpd://server/q1", "PRINTERHOST server\nPRINTERREMQ q1\n"},
      {"lpd:/server", "PRINTERHOST server\nPRINTERREMQ \n"},
      {"lpd:server/q1", "PRINTERHOST server\nPRINTERREMQ q1\n"},
      {"lpd://server/queues/q1", "PRINTERHOST server\nPRINTERREMQ queues/q1\n"},
      {"socket://server:9100", "PRINTERHOST server\nPRINTERREMQ 9100\n"},
      {"socket://server", "PRINTERHOST server\nPRINTERREMQ \n"},
      {"socket://server/x:1", "PRINTERHOST server\nPRINTERREMQ x:1\n"},
      {"file:/dev/lp0", "PRINTERHOST   \nPRINTERREMQ /dev/lp0\n"},
      {"file:///dev/null", "PRINTERHOST   \nPRINTERREMQ ///dev/null\n"},
      {"ipp://server/printers/q1", ""},
      // The first kind found decides, wherever it stands.
      {"xsocket://a:1/lpd:b/c", "PRINTERHOST b\nPRINTERREMQ c\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(connectionLines(c.uri), c.lines) << c.uri;
}

TEST(SaveConfiguration, WritesTheFifteenLineFile) {
  TempDir dir;
  const auto saved = std::make_tuple(state.installDir, state.cupsBaseDir, state.packagePpdDir);
  state.installDir = dir.path();
  state.packagePpdDir = "/usr/share/ppd/kwo";
  std::filesystem::create_directories(dir / "q1/root");
  CapturedLog log;
  for (const char* base : {"/", "/opt/cups"}) {
    state.cupsBaseDir = base;
    EXPECT_EQ(saveConfiguration("q1", 3, 2, "Velor_Lumen_1580n-PS.ppd.gz", "socket://printer:9100"), 1);
    const std::string ppdFile = std::string(base) == "/" ? "/etc/cups/ppd/q1.ppd" : "/opt/cups/etc/cups/ppd/q1.ppd";
    EXPECT_EQ(readFile(dir / "q1/root/plovaConfig"),
              "%%PLOVA_CONFIGURATION_FILE\n"
              "%%PLOVA_VERSION_3.0\n"
              "$$$WOXSTARTPRINT\n"
              "VERSION     520448\n"
              "PRINTERNAME q1\n"
              "PRINTERTYPE 3\n"
              "PRINTERCNCT 2\n"
              "PRINTERHOST printer\n"
              "PRINTERREMQ 9100\n"
              "USERNAME    root\n"
              "USERDIR      " + dir.path() + "\n"
              "TMPDIR       /tmp\n"
              "PPDFILE      " + ppdFile + "\n"
              "PPDORGFILE   /usr/share/ppd/kwo/Velor_Lumen_1580n-PS.ppd.gz\n"
              "$$$WOXSTOPPRINT\n");
  }
  EXPECT_EQ(std::filesystem::status(dir / "q1/root/plovaConfig").permissions(),
            static_cast<std::filesystem::perms>(0755));
  EXPECT_NE(log.text().find("Saved Plova queue config to: " + (dir / "q1/root/plovaConfig") + ".\n"),
            std::string::npos);
  EXPECT_EQ(saveConfiguration("nodir", 1, 1, "x.ppd", "ipp://x"), 0);
  EXPECT_NE(log.text().find("Cannot create plovaConfig: " + (dir / "nodir/root/plovaConfig") + ".\n"),
            std::string::npos);
  std::tie(state.installDir, state.cupsBaseDir, state.packagePpdDir) = saved;
}
