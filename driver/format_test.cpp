#include "driver/format.h"

#include <gtest/gtest.h>

#include <string>

TEST(Format, ConversionsAndMismatches) {
  EXPECT_EQ(format("a %s b %d c %o d %c %%", std::string("x"), -5, 0755u, 'z'), "a x b -5 c 755 d z %");
  EXPECT_EQ(format("Upgrade Mode = %d.\n", 2), "Upgrade Mode = 2.\n");
  // A missing or ill-typed argument shows instead of reading garbage.
  EXPECT_EQ(format("%s and %s", "one"), "one and %?");
  EXPECT_EQ(format("%d", "text"), "%?");
  // Arguments are data, never formats.
  EXPECT_EQ(format("[%s]", "%d%s%n"), "[%d%s%n]");
}
