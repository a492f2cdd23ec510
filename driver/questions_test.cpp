#include "driver/questions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct Case {
  const char* answer;
  int yesNo;
  int yesNoAll;
};

// Substring rules come before first-letter rules, yes-words before no-words.
const Case kCases[] = {
    {"Y", 1, 1},          {"y", 1, 1},        {"yes", 1, 1},      {"YES", 1, 1},
    {"Oui", 1, 1},        {"ja", 1, 1},       {"si", 1, 1},       {"ok", 1, 1},
    {"Okay", 1, 1},       {"sure", 1, 1},     {"n", 0, 0},        {"no", 0, 0},
    {"Non", 0, 0},        {"nein", 0, 0},     {"niente", 0, 0},   {"never", 0, 0},
    {"nope, impossible", 1, 1},               {"jein", -1, -1},   {" n", -1, -1},
    {" yes", 1, 1},       {"", -1, -1},       {"\n", -1, -1},     {"a", -1, 2},
    {"all", -1, 2},       {"Tout", -1, 2},    {"tout", -1, 2},    {"toda", -1, 2},
    {"tutti", -1, 2},     {"b", -1, 3},       {"break", -1, 3},   {"none", 0, 0},
    {"NEIN", 0, 0},       {"x", -1, -1},      {"\xE9t\xE9", -1, -1},
};

TEST(AnswerClassification, EveryFormAndLanguage) {
  for (const Case& c : kCases) {
    EXPECT_EQ(classifyYesNo(c.answer), c.yesNo) << "yes/no: '" << c.answer << "'";
    EXPECT_EQ(classifyYesNoAll(c.answer), c.yesNoAll) << "yes/no/all: '" << c.answer << "'";
  }
}

std::FILE* input(const std::string& text) {
  std::FILE* f = std::tmpfile();
  std::fputs(text.c_str(), f);
  std::rewind(f);
  return f;
}

TEST(ReadAnswer, RemovesLineEndsButNeverTheFirstCharacter) {
  std::FILE* in = input("yes\r\n\n\r\n");
  EXPECT_EQ(readAnswer(in), "yes");
  EXPECT_EQ(readAnswer(in), "\n");  // a lone line end stays, and is not recognised
  EXPECT_EQ(readAnswer(in), "\r");
  EXPECT_EQ(readAnswer(in), "");    // end of input
  std::fclose(in);
}

TEST(ReadAnswer, LongLineIsReadIn255CharacterAnswers) {
  // 255 characters without a yes-word, then "yes" as the rest of the line.
  const std::string first(255, 'x');
  std::FILE* in = input(first + "yes\nn\n");
  EXPECT_EQ(readYesNo(in), -1);
  EXPECT_EQ(readYesNo(in), 1);
  EXPECT_EQ(readYesNo(in), 0);
  std::fclose(in);
}

}  // namespace
