#include "discovery/cups_version.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/unit_support.h"
#include "driver/state.h"

using unit_test::TempDir;
using unit_test::writeFile;

TEST(ScaleVersion, BringsRawValuesToFourDigits) {
  const std::pair<int, int> cases[] = {{1, 1000},    {14, 1400},     {220, 2200},   {227, 2270},
                                       {999, 9990},  {1000, 1000},   {2410, 2410},  {9999, 9999},
                                       {11012, 1101}, {123456789, 1234}, {0, 0}, {-5, -5}};
  for (auto [raw, scaled] : cases) EXPECT_EQ(scaleVersion(raw), scaled) << raw;
}

TEST(VersionDigits, DigitsWithDotsSkippedUpToTheFirstOtherCharacter) {
  const std::pair<const char*, int> cases[] = {
      {"2.2.7", 227},    {"1.4.3\n", 143},   {"2.4.10", 2410}, {"1.0.0", 100}, {"..1..2", 12},
      {"2.4b2", 24},     {"", 0},            {"v2.2", 0},      {" 2.2", 0},    {"123456789", 123456789},
      // More digits than an int holds are refused, not cut into another number.
      {"1234567890", 0}, {"99999999999999999999999999999999", 0},
  };
  for (auto [text, value] : cases) EXPECT_EQ(versionDigits(text), value) << text;
}

TEST(VersionFromServerLine, NumberAfterCups) {
  struct Case {
    const char* line;
    std::optional<int> raw;
  };
  const Case cases[] = {
      {"Server: CUPS/1.4\r\n", 140},
      {"Server: CUPS/2.2 IPP/2.1\r\n", 220},
      {"Server: CUPS/2.4 IPP/2.1\r\n", 240},
      {"Server: CUPS/1.15\r\n", 115},
      {"Server: CUPS/10.1\r\n", 101},
      {"Server: CUPS/1.4.3\r\n", 140},
      {"Server: CUPS/123\r\n", 123},
      {"Server: CUPS1.2\n", 120},  // the slash is optional
      {"Server: CUPS 1.2.12\r\n", 0},  // a blank instead of the slash: no digits
      {"Server: CUPS/\r\n", 0},
      {"Server: CUPS/99999999999999999999999999999999999999\r\n", 0},  // no int
      {"Server: Apache/2.4\r\n", std::nullopt},
      {"X-Note: CUPS/2.2\r\n", std::nullopt},
      {"HTTP/1.1 200 OK\r\n", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(versionFromServerLine(c.line), c.raw) << c.line;
}

TEST(NetworkClient, OwnClientBesideSetupUnlessItsPathIsTooLong) {
  TempDir dir;
  const std::string saved = state.sourceDir;
  state.sourceDir = dir.path();
  writeFile(dir / "woxnc", "");
  EXPECT_EQ(networkClient(), dir / "woxnc");

  // 79 characters fit the 80-byte buffer; one more is refused, never cut.
  const std::string fits = dir.path() + "/" + std::string(79 - dir.path().size() - 7, 'f');
  const std::string tooLong = fits + "g";
  for (const std::string& source : {fits, tooLong}) writeFile(source + "/woxnc", "");
  ASSERT_EQ((fits + "/woxnc").size(), 79u);
  state.sourceDir = fits;
  EXPECT_EQ(networkClient(), fits + "/woxnc");
  state.sourceDir = tooLong;
  const std::string chosen = networkClient();
  EXPECT_NE(chosen, tooLong + "/woxnc");
  EXPECT_NE(chosen.rfind(fits, 0), 0u) << chosen;  // not the cut path either
  state.sourceDir = saved;
}
