#include "queues/option_carry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/state.h"
#include "tests/unit_support.h"

using unit_test::CapturedLog;
using unit_test::TempDir;
using unit_test::writeFile;

namespace {

struct Options {
  OptList head;
  Options(std::initializer_list<std::pair<const char*, const char*>> entries) {
    initOptList(&head);
    int index = 0;
    for (auto [keyword, choice] : entries) {
      auto* e = new OptList{};
      e->keyword = keyword;
      e->choice = choice;
      e->index = ++index;
      addOptList(&head, e);
    }
  }
  ~Options() { freeOptList(&head); }
  std::vector<std::string> entries() {
    std::vector<std::string> all;
    for (OptList* e = head.next; e != &head; e = e->next)
      all.push_back(std::to_string(e->index) + ":" + e->keyword + "=" + e->choice);
    return all;
  }
};

std::string rewrite(const std::string& input, OptList* list, int count) {
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::fputs(input.c_str(), in);
  std::rewind(in);
  EXPECT_EQ(processNewPPD(in, out, list, count), 0);
  std::rewind(out);
  std::string all;
  for (int c; (c = std::fgetc(out)) != EOF;) all += static_cast<char>(c);
  std::fclose(in);
  std::fclose(out);
  return all;
}

}  // namespace

TEST(ProcessNewPpd, RewritesDefaultLinesInsideOptionBlocksOnly) {
  // Each input line and what the rewrite makes of it, in file order.
  const std::vector<std::pair<std::string, std::string>> lines = {
      {"*PPD-Adobe: \"4.3\"\n", "*PPD-Adobe: \"4.3\"\n"},
      {"*DefaultPageSize: Letter\n", "*DefaultPageSize: Letter\n"},  // outside any block
      {"*OpenUI *PageSize/Media Size: PickOne\n", "*OpenUI *PageSize/Media Size: PickOne\n"},
      {"*OrderDependency: 10 AnySetup *PageSize\n", "*OrderDependency: 10 AnySetup *PageSize\n"},
      {"*DefaultPageSize:   Letter  % the maker's choice\n", "*DefaultPageSize: A4\n"},
      {"*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n",
       "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"},
      {"*CloseUI: *PageSize\n", "*CloseUI: *PageSize\n"},
      {"*JCLOpenUI *JCLPasscode/Passcode: PickOne\n", "*JCLOpenUI *JCLPasscode/Passcode: PickOne\n"},
      {"*DefaultJCLPasscode: None\n", "*DefaultJCLPasscode: None\n"},
      {"*JCLCloseUI: *JCLPasscode\n", "*JCLCloseUI: *JCLPasscode\n"},
      {"*OpenUI *Duplex/Two-Sided: PickOne\r\n", "*OpenUI *Duplex/Two-Sided: PickOne\r\n"},
      {"*DefaultDuplex: None\r\n", "*DefaultDuplex: DuplexNoTumble\n"},
      {"*% Default without its star stays\r\n", "*% Default without its star stays\r\n"},
      {"*CloseUI: *Duplex\r\n", "*CloseUI: *Duplex\r\n"},
      {"*OpenUI *InputSlot: PickOne\n", "*OpenUI *InputSlot: PickOne\n"},
      {"*DefaultInputSlot: Tray1 Tray2\n", "*DefaultInputSlot: Tray1\n"},  // not collected: first word
      {"*DefaultColorSep: ProcessBlack.60lpi/60 lpi\n", "*DefaultColorSep: ProcessBlack.60lpi/60 lpi\n"},
      {"*DefaultMediaType : Plain\n", "*DefaultMediaType: :\n"},  // the name ends at the blank
      {"*DefaultOwn: Mine\n", "*DefaultOwn: Mine\n"},              // collected with an empty choice
      {"*DefaultResolution:\n", "*DefaultResolution: 1200dpi\n"},  // the last one collected
      {"*CloseUI: *InputSlot\n", "*CloseUI: *InputSlot\n"},
      {"*DefaultResolution: 600dpi\n", "*DefaultResolution: 600dpi\n"},
      {"*% End", "*% End"},
  };
  std::string input, expected;
  for (const auto& [in, out] : lines) {
    input += in;
    expected += out;
  }
  Options options{{"PageSize", "A4"}, {"Duplex", "DuplexNoTumble"}, {"Own", ""}, {"Resolution", "1200dpi"}};
  CapturedLog log;
  EXPECT_EQ(rewrite(input, &options.head, 4), expected);
  EXPECT_EQ(log.text().rfind("processNewPPD(nOptions=4)\n", 0), 0u);
  EXPECT_NE(log.text().find("processNewPPD: Setting new option: *PageSize/A4.\n"), std::string::npos);
  EXPECT_NE(log.text().find("processNewPPD: Setting new option: *Resolution/1200dpi.\n"), std::string::npos);

  // Without collected options every default line in a block is normalised.
  Options none{};
  EXPECT_EQ(rewrite("*OpenUI *PageSize: PickOne\n*DefaultPageSize:  Letter x\n*CloseUI: *PageSize\n", &none.head, 0),
            "*OpenUI *PageSize: PickOne\n*DefaultPageSize: Letter\n*CloseUI: *PageSize\n");
}

TEST(ParseDefaultLine, NameAndValue) {
  struct Case {
    const char* line;
    std::optional<std::string> name;
    std::string value;
  } cases[] = {
      {"*DefaultPageSize: A4\n", "*PageSize", "A4"},
      {"*DefaultPageSize:A4\tx y", "*PageSize", "A4\tx"},
      {"*DefaultPageSize: \"Quoted\" rest", "*PageSize", "\"Quoted\""},
      {"*DefaultPageSize:    \n", "*PageSize", ""},
      {"*DefaultPageSize:", "*PageSize", ""},
      {"*DefaultMediaType : Plain", "*MediaType", ":"},
      {"*DefaultColorSep: x", std::nullopt, ""},
      {"*PageSize A4: \"\"", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    std::string value = "unset";
    const auto name = parseDefaultLine(c.line, value);
    EXPECT_EQ(name, c.name) << c.line;
    if (name) {
      EXPECT_EQ(value, c.value) << c.line;
    }
  }
}

TEST(FindOption, KeywordWithoutTheStar) {
  Options options{{"PageSize", "A4"}, {"Duplex", "None"}, {"PageSize", "Legal"}};
  ASSERT_NE(findOption(&options.head, "*PageSize"), nullptr);
  EXPECT_EQ(findOption(&options.head, "*PageSize")->choice, "A4");
  EXPECT_EQ(findOption(&options.head, "xDuplex")->choice, "None");
  EXPECT_EQ(findOption(&options.head, "*Page"), nullptr);
  EXPECT_EQ(findOption(&options.head, ""), nullptr);
  EXPECT_EQ(findOption(nullptr, "*PageSize"), nullptr);
}

TEST(GetPpdDefaults, CollectsEachOptionsDefaultChoiceInFileOrder) {
  TempDir dir;
  const std::string ppd = dir / "q.ppd";
  writeFile(ppd,
            "*PPD-Adobe: \"4.3\"\n"
            "*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n"
            "*PageSize Letter: \"\"\n*PageSize A4: \"\"\n*CloseUI: *PageSize\n"
            "*OpenUI *Ghost: PickOne\n*DefaultGhost: Missing\n*Ghost On: \"\"\n*CloseUI: *Ghost\n"
            "*OpenGroup: Extra\n"
            "*OpenUI *Duplex: PickOne\n*DefaultDuplex: DuplexTumble\n*Duplex None: \"\"\n"
            "*Duplex DuplexTumble: \"\"\n*CloseUI: *Duplex\n"
            "*CloseGroup: Extra\n");
  Options options{};
  int count = -1;
  EXPECT_EQ(getPpdDefaults(ppd, &options.head, count), 2);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(options.entries(), (std::vector<std::string>{"1:PageSize=A4", "2:Duplex=DuplexTumble"}));

  count = -1;
  EXPECT_EQ(getPpdDefaults(dir / "missing.ppd", &options.head, count), 0);
  EXPECT_EQ(count, -1);
}

TEST(DropUnofferedDefaults, KeepsOnlyChoicesTheNewPpdOffers) {
  TempDir dir;
  const std::string ppd = dir / "new.ppd";
  writeFile(ppd,
            "*PPD-Adobe: \"4.3\"\n"
            "*OpenUI *InputSlot: PickOne\n*DefaultInputSlot: Auto\n"
            "*InputSlot Auto: \"\"\n*InputSlot Tray2: \"\"\n*CloseUI: *InputSlot\n"
            "*OpenUI *PageSize: PickOne\n*DefaultPageSize: Letter\n"
            "*PageSize Letter: \"\"\n*PageSize A4: \"\"\n*CloseUI: *PageSize\n");
  Options options{{"InputSlot", "Envelope"}, {"PageSize", "A4"}, {"Gone", "X"}};
  CapturedLog log;
  EXPECT_TRUE(dropUnofferedDefaults(ppd, &options.head));
  EXPECT_EQ(options.entries(), (std::vector<std::string>{"2:PageSize=A4", "3:Gone=X"}));
  EXPECT_EQ(log.text(), "Option InputSlot keeps the new PPD's default Auto: it offers no choice Envelope.\n");
  EXPECT_FALSE(dropUnofferedDefaults(dir / "missing.ppd", &options.head));
}
