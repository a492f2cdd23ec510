#include "driver/print_system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "tests/unit_support.h"
#include "driver/text_file.h"

using unit_test::TempDir;
using unit_test::writeFile;

TEST(CupsPrefixFromDaemon, CutsThePrefixBeforeSbinOrBin) {
  struct Case {
    const char* text;
    std::optional<std::string> prefix;
  };
  const Case cases[] = {
      {"/usr/sbin/cupsd -l", "/usr"},
      {"/usr/sbin/cupsd -l\n", "/usr"},
      {"/usr/sbin/cupsd -l\r\n", "/usr"},
      {" /usr/local/sbin/cupsd", "/usr/local"},
      {"/sbin/cupsd", ""},
      {"/opt/cups/bin/cupsd -f", "/opt/cups"},
      // The first /sbin/cupsd counts, also when a /bin/cupsd comes earlier.
      {"/a/bin/cupsd /b/sbin/cupsd", "/a/bin/cupsd /b"},
      {"/usr/lib/cups/daemon/cupsd", std::nullopt},
      {"cupsd -l", std::nullopt},
      {"  /usr/sbin/cupsd", std::nullopt},  // only one blank is skipped
      {"/usr/sbin/lpd", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(cupsPrefixFromDaemon(c.text), c.prefix) << c.text;
}

TEST(SchedulerFromEnvironment, WoxlpmodeHidesPlovalpmode) {
  struct Case {
    const char* wox;  // nullptr: not set
    const char* plova;
    int expected;
  };
  const Case cases[] = {
      {"CUPS", nullptr, 8}, {"LPRNG", "CUPS", 4}, {"LPR", nullptr, 2}, {"LP", nullptr, 1},
      {"cups", "CUPS", 0},  {"LPRng", "CUPS", 0}, {"", "CUPS", 0},     {nullptr, "LPR", 2},
      {nullptr, "CUPS", 8}, {nullptr, "x", 0},    {nullptr, nullptr, 0},
  };
  for (const Case& c : cases) {
    for (auto [name, value] : {std::pair{"WOXLPMODE", c.wox}, std::pair{"PLOVALPMODE", c.plova}}) {
      if (value)
        ::setenv(name, value, 1);
      else
        ::unsetenv(name);
    }
    EXPECT_EQ(schedulerFromEnvironment(), c.expected)
        << (c.wox ? c.wox : "(unset)") << " / " << (c.plova ? c.plova : "(unset)");
  }
  ::unsetenv("WOXLPMODE");
  ::unsetenv("PLOVALPMODE");
}

TEST(PrefixesFromInitScript, FirstMatchingLinesAsTheyStand) {
  struct Case {
    const char* script;
    bool found;
    const char* prefix;
    const char* execPrefix;
  };
  const std::string longLine(300, 'x');
  const std::string longScript = longLine + "prefix=/hidden\nprefix=/usr\n";
  const Case cases[] = {
      {"#!/bin/sh\nprefix=/usr\nexec_prefix=/usr\n", true, "/usr", "/usr"},
      // The exec_prefix line is found even before the prefix line, and in
      // comments; values keep quotes and variables.
      {"exec_prefix=${prefix}\n# prefix=\"/opt/c ups\"\nprefix=/other\n", true, "\"/opt/c ups\"", "${prefix}"},
      {"exec_prefix=/usr/local", true, "", "/usr/local"},
      {"#!/bin/sh\nDAEMON=/usr/sbin/cupsd\n", false, "", ""},
      {"", false, "", ""},
      // A 300-character line is read in parts; its second part counts alone.
      {longScript.c_str(), true, "/hidden", ""},
  };
  TempDir dir;
  for (const Case& c : cases) {
    writeFile(dir / "cups", c.script);
    File script = openFile(dir / "cups", "r");
    ASSERT_TRUE(script);
    std::string prefix, execPrefix;
    EXPECT_EQ(prefixesFromInitScript(script.get(), prefix, execPrefix), c.found) << c.script;
    EXPECT_EQ(prefix, c.prefix) << c.script;
    EXPECT_EQ(execPrefix, c.execPrefix) << c.script;
  }
}
