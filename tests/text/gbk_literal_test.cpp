#include "text/gbk_literal.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <string>

namespace sumvelo {
namespace {

std::string Hex(ByteView t) {
  std::string out;
  char buf[4];
  for (unsigned char c : t) {
    std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", c);
    out += buf;
  }
  return out;
}

std::string Utf8(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

TEST(Gbk, RuleCharactersHaveTheirGbkBytes) {
  struct Case {
    const char* utf8;
    const char* hex;
  };
  const Case cases[] = {
      {"与", "D3 EB"},
      {"〓", "A1 FE"},
      {"，", "A3 AC"},
      {"。", "A1 A3"},
      {"的", "B5 C4"},
      {"“", "A1 B0"},
      {"”", "A1 B1"},
      {"、", "A1 A2"},
      {"：", "A3 BA"},
      {"　", "A1 A1"},
      {"说，", "CB B5 A3 AC"},
      {"a，b 1", "61 A3 AC 62 20 31"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Hex(Gbk(c.utf8)), c.hex) << c.utf8;
}

// A character outside the table or a broken UTF-8 sequence is a fault in the program's own
// texts: it is reported and the program ends.
TEST(GbkDeathTest, UnknownOrMalformedTextEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(Gbk("a\xE4\xB8\xAD"), "missing");  // 中 is not in the table
  EXPECT_DEATH(Gbk("\xE7\x9A"), "malformed");     // 的 cut short
  EXPECT_DEATH(Gbk("\xE7\x1A\x84"), "malformed"); // 的 with an ASCII byte inside
  EXPECT_DEATH(Gbk("\x9A"), "malformed");         // a lone continuation byte
}

// The table is looked up by binary search: it must be sorted, and every entry must be found.
TEST(Gbk, TableIsSortedAndEveryEntryIsFound) {
  const auto table = GbkLiteralTable();
  ASSERT_FALSE(table.empty());
  for (std::size_t k = 1; k < table.size(); ++k) {
    EXPECT_LT(table[k - 1].codePoint, table[k].codePoint) << "entry " << k;
  }
  for (const GbkTableEntry& e : table) {
    EXPECT_GE(e.first, 0x81) << std::hex << static_cast<unsigned>(e.codePoint);
    const ByteText bytes{static_cast<char>(e.first), static_cast<char>(e.second)};
    EXPECT_EQ(Hex(Gbk(Utf8(e.codePoint))), Hex(bytes))
        << std::hex << static_cast<unsigned>(e.codePoint);
  }
}

// Every entry against the C library's GB18030 converter.
TEST(Gbk, TableAgreesWithSystemConverter) {
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no GB18030 converter";
  for (const GbkTableEntry& e : GbkLiteralTable()) {
    std::string in = Utf8(e.codePoint);
    char out[8];
    char* inPtr = in.data();
    char* outPtr = out;
    std::size_t inLeft = in.size(), outLeft = sizeof out;
    ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1));
    const ByteText bytes{static_cast<char>(e.first), static_cast<char>(e.second)};
    EXPECT_EQ(Hex(ByteView(out, static_cast<std::size_t>(outPtr - out))), Hex(bytes))
        << Utf8(e.codePoint);
  }
  iconv_close(cd);
}

}  // namespace
}  // namespace sumvelo
