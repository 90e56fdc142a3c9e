#include "text/primitives.h"

#include <gtest/gtest.h>

namespace sumvelo {
namespace {

TEST(FindText, Basics) {
  EXPECT_EQ(FindText("abc", "", true), 1);
  EXPECT_EQ(FindText("", "", true), -1);
  EXPECT_EQ(FindText("ABC", "b", true), 2);
  EXPECT_EQ(FindText("\xD6\xD0\xB9\xFA", "\xD0\xB9", true), -1);
}

}  // namespace
}  // namespace sumvelo
