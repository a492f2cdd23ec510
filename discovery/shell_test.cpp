#include "discovery/shell.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

TEST(ShellWord, PlainWordsStayAsTheyAre) {
  for (const char* word : {"/usr/sbin/lpadmin", "q1", "-x", "Velor_4000-PS", "a=b,c:d@e%f+g"})
    EXPECT_EQ(shellWord(word), word);
}

// Whatever a name holds, the shell must read it back as that one word.
TEST(ShellWord, QuotedTextReachesTheCommandUnchanged) {
  const std::string names[] = {"",
                               "x;touch /tmp/pwned.ppd",
                               "a b",
                               "it's",
                               "$(id)",
                               "`id`",
                               "*",
                               "line\nbreak",
                               "back\\slash",
                               "'';\"\"",
                               "-n"};
  for (const std::string& name : names) {
    const std::string command = "printf '%s' " + shellWord(name);
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string echoed;
    for (int c; (c = std::fgetc(pipe)) != EOF;) echoed += static_cast<char>(c);
    ::pclose(pipe);
    EXPECT_EQ(echoed, name) << command;
  }
}

TEST(RunShell, ReturnsTheRawWaitStatus) {
  EXPECT_EQ(runShell("exit 0"), 0);
  EXPECT_EQ(runShell("exit 1"), 256);
}
