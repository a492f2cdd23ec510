#include "driver/log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "driver/state.h"

namespace {

std::string logged(std::initializer_list<std::string_view> texts) {
  std::FILE* file = std::tmpfile();
  state.logFile = file;
  for (auto t : texts) logLine(t);
  state.logFile = nullptr;
  std::rewind(file);
  std::string all;
  for (int c; (c = std::fgetc(file)) != EOF;) all += static_cast<char>(c);
  std::fclose(file);
  return all;
}

}  // namespace

TEST(LogLine, EndsEveryTextWithExactlyOneNewline) {
  EXPECT_EQ(logged({"New installation"}), "New installation\n");
  EXPECT_EQ(logged({"Upgrade Mode = 2.\n"}), "Upgrade Mode = 2.\n");
  EXPECT_EQ(logged({text(Msg::NotRoot)}), "\n\n\tYou must be root to be able\n\tto install Plova!\n\n\tSorry!\n");
  EXPECT_EQ(logged({"", "x"}), "x\n");  // an empty text writes nothing
}

TEST(LogLine, FormatsNothingItself) {
  EXPECT_EQ(logged({"100%s %d"}), "100%s %d\n");
}
