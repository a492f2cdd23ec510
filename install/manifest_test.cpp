#include "install/manifest.h"

#include <sys/stat.h>

#include <string>
#include <vector>

#include "install/test_support.h"

namespace {

class Manifest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    state.sourceDir = dir_;
    ASSERT_EQ(::mkdir(path("etc").c_str(), 0755), 0);
  }
  int readManifest(const std::string& text) {
    write(path("etc/PLOVAINST.CONF"), text);
    return getInfoData();
  }
};

struct LineCase {
  const char* line;
  bool counted;
  const char* source;
  const char* destination;
  int mode;
};

TEST_F(Manifest, LineRules) {
  const std::string longSource(48, 's');
  const std::string source47(47, 's');
  const std::vector<LineCase> cases = {
      {"setup ./bin 00755\n", true, "setup", "./bin", 0755},
      {"setup\t\t./bin\t00755\n", true, "setup", "./bin", 0755},
      {"a.ppd ? 00644 extra words 00777\n", true, "a.ppd", "?", 0644},  // a fourth field is ignored
      {"setup ./bin\n", true, "setup", "./bin", 0},                    // no mode: no chmod later
      {"setup ./bin 0755\n", true, "setup", "./bin", 0},               // no "00" in it
      {"setup ./bin 0\n", true, "setup", "./bin", 0},
      {"setup ./bin 000\n", true, "setup", "./bin", 0755},             // 0 becomes 0755
      {"setup ./bin x1005\n", true, "setup", "./bin", 05},             // "00" inside a word
      {"setup ./bin 0089\n", true, "setup", "./bin", 0755},            // no octal digits after 00
      {"setup ./bin 00755\r\n", true, "setup", "./bin", 0755},         // CR LF reads like LF
      {"setup\n", true, "setup", "", 0},                               // counted without destination
      {"setup   \n", true, "setup", "", 0},
      {"  setup ./bin 00755\n", false, "", "", 0},                     // starts with a blank
      {"\tsetup ./bin 00755\n", false, "", "", 0},
      {"# setup ./bin 00755\n", false, "", "", 0},
      {"\n", false, "", "", 0},
      {"\r\n", false, "", "", 0},
      {"ppd/*.ppd.gz ? 00644\n", true, "ppd/*.ppd.gz", "?", 0644},     // patterns pass
      {"bin/x;reboot ./bin 00755\n", false, "", "", 0},                // shell characters refused
      {"$(reboot) ./bin 00755\n", false, "", "", 0},
      {"bin/a|b ./bin 00755\n", false, "", "", 0},
      {"-R ./bin 00755\n", false, "", "", 0},                          // would be an option of cp
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    const int count = readManifest(c.line);
    ASSERT_EQ(count, c.counted ? 1 : 0);
    EXPECT_EQ(itemCount, count);
    if (!c.counted) continue;
    EXPECT_EQ(itemTable[0].source, c.source);
    EXPECT_EQ(itemTable[0].destination, c.destination);
    EXPECT_EQ(itemTable[0].mode, c.mode);
  }
  // The field widths: 47 characters fit, 48 are refused with a line.
  EXPECT_EQ(readManifest(source47 + " ./bin 00755\n"), 1);
  EXPECT_EQ(itemTable[0].source, source47);
  EXPECT_EQ(readManifest(longSource + " ./bin 00755\nnext ./etc 00644\n"), 1);
  EXPECT_EQ(itemTable[0].source, "next");
  EXPECT_TRUE(Contains(logged(), "Manifest item '" + longSource + "' is longer than 47 characters; skipped.\n"));
  EXPECT_TRUE(Contains(logged(), "Manifest item 'bin/x;reboot' holds characters other than a file name"));
}

TEST_F(Manifest, EndMarkerComesBeforeTheCommentTest) {
  EXPECT_EQ(readManifest("@@NULL\nsetup ./bin 00755\n"), 0);
  EXPECT_EQ(readManifest("a1 ./bin 00755\n# list ends here @@NULL\nb1 ./bin 00755\n"), 1);
  EXPECT_EQ(readManifest("a1 ./bin 00755\nb1 ./etc\nc1 . 00644\n"), 3);  // no marker: to the end
  EXPECT_EQ(itemTable[2].source, "c1");
  EXPECT_EQ(itemTable[2].destination, ".");
}

TEST_F(Manifest, EveryReadStartsFromAClearedTable) {
  readManifest("a1 ./bin 00755\nb1 ./etc 00644\n");
  EXPECT_EQ(readManifest("c1 ./bin\n"), 1);
  EXPECT_EQ(itemTable[0].mode, 0);
  EXPECT_EQ(itemTable[1].source, "");
}

TEST_F(Manifest, ALineLongerThanAPartIsReadAsSeveralLines) {
  // 255 characters make the first part; the rest starts a line of its own.
  const std::string first = "a1 ./bin 00755" + std::string(255 - 14, ' ');
  EXPECT_EQ(readManifest(first + "b1 ./etc 00644\n"), 2);
  EXPECT_EQ(itemTable[1].source, "b1");
  EXPECT_EQ(itemTable[1].mode, 0644);
}

TEST_F(Manifest, ReadingStopsAfter256Items) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "item" + std::to_string(i) + " ./bin 00755\n";
  EXPECT_EQ(readManifest(text), 256);
  EXPECT_EQ(itemTable[255].source, "item255");
  EXPECT_TRUE(Contains(logged(), path("etc/PLOVAINST.CONF") +
                                  " lists more than 256 items; reading stopped after item 256.\n"));
  std::string exactly;
  for (int i = 0; i < 256; ++i) exactly += "item" + std::to_string(i) + " ./bin 00755\n";
  const std::string before = logged();
  EXPECT_EQ(readManifest(exactly + "@@NULL\n"), 256);
  EXPECT_EQ(logged(), before + "PLOVAINST.CONF = " + path("etc/PLOVAINST.CONF") + ".\n");  // 256 fit
}

TEST_F(Manifest, LocationsAndTheirLogLines) {
  write(path("etc/PLOVAINST.CONF"), "fromEtc ./bin 00755\n");
  write(path("PLOVAINST.CONF"), "fromTop ./bin 00755\n");
  EXPECT_EQ(getInfoData(), 1);
  EXPECT_EQ(itemTable[0].source, "fromEtc");
  std::filesystem::remove(path("etc/PLOVAINST.CONF"));
  EXPECT_EQ(getInfoData(), 1);
  EXPECT_EQ(itemTable[0].source, "fromTop");
  state.manifestName = "OTHER.CONF";
  EXPECT_EQ(getInfoData(), 0);
  EXPECT_EQ(logged(), "PLOVAINST.CONF = " + path("etc/PLOVAINST.CONF") + ".\n" +
                          "PLOVAINST.CONF = " + path("PLOVAINST.CONF") + ".\n" +
                          "Cannot open info file: '" + path("OTHER.CONF") + "'.\n");
}

TEST(TrimLineEnd, CutsLineFeedsReturnsAndBlanksOnly) {
  for (auto [in, out] : std::vector<std::pair<std::string, std::string>>{
           {"a b \r\n", "a b"}, {"a\t\n", "a\t"}, {" \r \n", ""}, {"", ""}, {"x\r\r", "x"}}) {
    std::string t = in;
    trimLineEnd(t);
    EXPECT_EQ(t, out) << in;
  }
}

}  // namespace
