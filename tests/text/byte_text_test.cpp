#include "text/byte_text.h"

#include <gtest/gtest.h>

namespace sumvelo {
namespace {

TEST(TextArray, IndexedFromOne) {
  TextArray a;
  EXPECT_EQ(a.Count(), 0);
  a.Append("x");
  a.Append("\xD6\xD0");
  ASSERT_EQ(a.Count(), 2);
  EXPECT_EQ(a[1], "x");
  EXPECT_EQ(a[2], "\xD6\xD0");
  a[1].push_back('y');
  EXPECT_EQ(a[1], "xy");
  a.Clear();
  EXPECT_EQ(a.Count(), 0);
}

// An index outside 1..Count() ends the program with exit code -1 and a report.
TEST(TextArrayDeathTest, IndexOutsideEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TextArray a;
  a.Append("x");
  const int outside[] = {0, 2, -1};
  for (int index : outside) {
    EXPECT_EXIT((void)a[index], ::testing::ExitedWithCode(255), "index") << index;
  }
  const TextArray empty;
  EXPECT_EXIT((void)empty[1], ::testing::ExitedWithCode(255), "index");
}

}  // namespace
}  // namespace sumvelo
