#include "encoding/gb18030.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "text/gbk_literal.h"

namespace sumvelo::encoding {
namespace {

// Hex shows bytes as "d6 d0 ..." so that a failure says which byte differs.
std::string Hex(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string Utf8Of(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (cp >> 18));
    s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

// The reference: a plain iconv call, for comparing single characters.
std::string IconvToGb18030(const std::string& utf8) {
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in = utf8;
  char out[16];
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out;
  std::size_t outLeft = sizeof out;
  std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  EXPECT_NE(rc, static_cast<std::size_t>(-1)) << "iconv refused " << Hex(utf8);
  return std::string(out, static_cast<std::size_t>(outPtr - out));
}

struct Conversion {
  std::string utf8;
  std::string gb;
};

TEST(Utf8ToGb18030, ConvertsAndRoundTrips) {
  const Conversion kCases[] = {
      {"", ""},
      {"The summary, 2012.", "The summary, 2012."},
      {"中文的摘要", "\xD6\xD0\xCE\xC4\xB5\xC4\xD5\xAA\xD2\xAA"},
      {"关键词：", "\xB9\xD8\xBC\xFC\xB4\xCA\xA3\xBA"},
      {"〓", "\xA1\xFE"},
      {"€", "\xA2\xE3"},                                   // outside GBK's two-byte area in CP936
      {"😀", "\x94\x39\xFC\x36"},                         // U+1F600, four bytes
      {"a😀b中", "a\x94\x39\xFC\x36" "b\xD6\xD0"},
      {"\xEF\xBF\xBD", "\x84\x31\xA4\x37"},               // U+FFFD
      {"\xC3\xA9", "\xA8\xA6"},                           // é
      {"\xC2\x80", "\x81\x30\x81\x30"},                   // U+0080, first four-byte code
      {"\xF4\x8F\xBF\xBF", "\xE3\x32\x9A\x35"},           // U+10FFFF, last four-byte code
  };
  for (const Conversion& c : kCases) {
    EXPECT_EQ(Hex(Utf8ToGb18030(c.utf8)), Hex(c.gb)) << c.utf8;
    EXPECT_EQ(Gb18030ToUtf8(c.gb), c.utf8) << Hex(c.gb);
  }
}

TEST(Utf8ToGb18030, EveryScalarValueRoundTrips) {
  // Everything outside the private-use area converts both ways in one text.
  std::string all;
  for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || (cp >= 0xE000 && cp <= 0xF8FF)) continue;
    all += Utf8Of(cp);
  }
  std::string gb = Utf8ToGb18030(all);
  EXPECT_EQ(FindInvalidGb18030(gb), std::nullopt);
  std::string back = Gb18030ToUtf8(gb);
  ASSERT_EQ(back.size(), all.size());
  EXPECT_TRUE(back == all);
}

TEST(Utf8ToGb18030, PrivateUseRoundTripsOrBecomesReplacement) {
  // The C library leaves a few private-use code points (those GB18030-2005 later gave to real
  // characters) without a form; they must become U+FFFD and not stop or shift the conversion.
  int replaced = 0;
  for (char32_t cp = 0xE000; cp <= 0xF8FF; ++cp) {
    std::string text = "a";  // built in steps: GCC 12 warns wrongly about "a" + s + "b"
    text += Utf8Of(cp);
    text += 'b';
    std::string gb = Utf8ToGb18030(text);
    if (gb == "a\x84\x31\xA4\x37" "b") {
      ++replaced;
      continue;
    }
    EXPECT_EQ(Gb18030ToUtf8(gb), text) << "U+" << std::hex << static_cast<unsigned>(cp);
  }
  EXPECT_LT(replaced, 100);
}

TEST(Utf8ToGb18030, IllFormedPartsBecomeReplacement) {
  const std::string kR = "\x84\x31\xA4\x37";
  const Conversion kCases[] = {
      {"a\xC0\x80" "b", "a" + kR + kR + "b"},      // overlong NUL: two bytes, neither can start
      {"\xED\xA0\x80", kR + kR + kR},              // a surrogate: ED cannot go on with A0
      {"\xE4\xB8" "A", kR + "A"},                  // 中 cut after two bytes: one replacement
      {"x\xE4\xB8", "x" + kR},                     // cut at the end
      {"\xFF\xD6\xD0", kR + kR + kR},              // GBK bytes read as UTF-8
      {"\xF0\x9F\x98", kR},                        // 😀 cut after three bytes
  };
  for (const Conversion& c : kCases) {
    EXPECT_EQ(Hex(Utf8ToGb18030(c.utf8)), Hex(c.gb)) << Hex(c.utf8);
  }
}

TEST(FindInvalidUtf8, GivesOffsetOfFirstBadByte) {
  const struct {
    std::string text;
    std::optional<std::size_t> offset;
  } kCases[] = {
      {"", std::nullopt},
      {"plain ASCII\r\n", std::nullopt},
      {"中文😀\xEF\xBF\xBD", std::nullopt},
      {"\xF4\x8F\xBF\xBF", std::nullopt},     // U+10FFFF
      {"\xED\x9F\xBF", std::nullopt},         // U+D7FF, just below the surrogates
      {"ab\xC0\x80", 2},                      // overlong two-byte
      {"\xC1\xBF", 0},                        // overlong two-byte
      {"\xE0\x9F\xBF", 0},                    // overlong three-byte
      {"\xF0\x8F\xBF\xBF", 0},                // overlong four-byte
      {"中\xED\xA0\x80", 3},                  // high surrogate
      {"\xED\xBF\xBF", 0},                    // low surrogate
      {"\xF4\x90\x80\x80", 0},                // above U+10FFFF
      {"\xF5\x80\x80\x80", 0},
      {"x\x80", 1},                           // lone continuation byte
      {"中\xE4\xB8", 3},                      // truncated at the end
      {"\xE4\xB8" "A", 0},                    // truncated before ASCII
      {"😀\xF0\x9F\x98", 4},                  // four-byte sequence cut
      {"ok\xFF", 2},
      {"\xD6\xD0\xCE\xC4", 0},                // GBK bytes of 中文
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(FindInvalidUtf8(c.text), c.offset) << Hex(c.text);
  }
}

TEST(FindInvalidGb18030, GivesOffsetOfFirstBadByte) {
  const struct {
    std::string text;
    std::optional<std::size_t> offset;
  } kCases[] = {
      {"", std::nullopt},
      {"abc\r\n", std::nullopt},
      {"\xD6\xD0\xCE\xC4", std::nullopt},
      {"\x94\x39\xFC\x36", std::nullopt},
      {"\xA2\xE3", std::nullopt},
      {"ab\x80", 2},            // the CP936 euro byte is not GB18030
      {"\xFF", 0},
      {"x\xD6", 1},             // first byte only, at the end
      {"\xD6\xD0\xD6" " ", 2},  // a first byte before a space
      {"\xD6" "A", std::nullopt},    // A is a valid second byte
      {"\x81\x30", 0},          // four-byte character cut after two
      {"\x94\x39\xFC", 0},      // cut after three
      {"\x81\x30" "AB", 0},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(FindInvalidGb18030(c.text), c.offset) << Hex(c.text);
  }
}

TEST(Gb18030ToUtf8, UndecodableBytesBecomeReplacementAndDecodingGoesOn) {
  const Conversion kCases[] = {
      {"中\xEF\xBF\xBD", "\xD6\xD0\xD6"},          // a summary cut after a first byte
      {"\xEF\xBF\xBD" " 中", "\xD6" " \xD6\xD0"},  // the byte after the cut decodes again
      {"a\xEF\xBF\xBD" "b", "a\x80" "b"},
      {"\xEF\xBF\xBD\xEF\xBF\xBD", "\xFF\xFF"},
      {"\xEF\xBF\xBD", "\x94\x39\xFC"},            // four-byte character cut at the end: one
      {"\xEF\xBF\xBD", "\x94\x39"},
      {"\xEF\xBF\xBD" "0A", "\x81\x30" "A"},       // not a four-byte character after all
      {"\xEF\xBF\xBD\r\n", "\xD6\r\n"},
  };
  for (const Conversion& c : kCases) {
    EXPECT_EQ(Hex(Gb18030ToUtf8(c.gb)), Hex(c.utf8)) << Hex(c.gb);
  }
}

TEST(BodyToEngine, LineBreaksBecomeCrLfAndBomIsDropped) {
  const Conversion kCases[] = {
      {"a\nb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"a\rb", "a\r\nb"},
      {"\n\n", "\r\n\r\n"},
      {"\r\r\n\n\r", "\r\n\r\n\r\n\r\n"},
      {"中\n文\n", "\xD6\xD0\r\n\xCE\xC4\r\n"},
      {"\xEF\xBB\xBF的", "\xB5\xC4"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF", "\x84\x31\x95\x33"},  // only one mark is dropped
      {"a\xEF\xBB\xBF", "a\x84\x31\x95\x33"},            // and only at the start
  };
  for (const Conversion& c : kCases) {
    EXPECT_EQ(Hex(BodyToEngine(c.utf8)), Hex(c.gb)) << Hex(c.utf8);
  }
}

TEST(TitleToEngine, KeepsTextBeforeFirstLineBreak) {
  const Conversion kCases[] = {
      {"标题", "\xB1\xEA\xCC\xE2"},
      {"标题\n正文", "\xB1\xEA\xCC\xE2"},
      {"标题\r\n正文", "\xB1\xEA\xCC\xE2"},
      {"标题\r正文", "\xB1\xEA\xCC\xE2"},
      {"\n标题", ""},
      {"\xEF\xBB\xBFTitle\n", "Title"},
      {"", ""},
  };
  for (const Conversion& c : kCases) {
    EXPECT_EQ(Hex(TitleToEngine(c.utf8)), Hex(c.gb)) << Hex(c.utf8);
  }
}

TEST(FromGb18030, KeepsBytesAndNormalizesLineBreaks) {
  EXPECT_EQ(Hex(BodyFromGb18030("\xD6\xD0\n\xCE\xC4\r\x94\x39\xFC\x36\r\n")),
            Hex("\xD6\xD0\r\n\xCE\xC4\r\n\x94\x39\xFC\x36\r\n"));
  EXPECT_EQ(Hex(BodyFromGb18030("\x84\x31\x95\x33" "abc")), Hex("abc"));
  EXPECT_EQ(Hex(TitleFromGb18030("\xB1\xEA\xCC\xE2\r\n\xD5\xFD")), Hex("\xB1\xEA\xCC\xE2"));
  EXPECT_EQ(Hex(TitleFromGb18030("\xB1\xEA\xCC\xE2\n")), Hex("\xB1\xEA\xCC\xE2"));
  EXPECT_EQ(TitleFromGb18030("\r\nbody"), "");
}

TEST(FromEngine, DecodesAndTurnsCrLfIntoLf) {
  const Conversion kCases[] = {
      {"中\n文", "\xD6\xD0\r\n\xCE\xC4"},
      {"a\rb", "a\rb"},                 // a lone CR stays
      {"a\n\nb", "a\r\n\r\nb"},
      {"\xEF\xBF\xBD\n", "\xD6\r\n"},   // a cut just before a line break
      {"原文3字，摘要0字", "\xD4\xAD\xCE\xC4" "3\xD7\xD6\xA3\xAC\xD5\xAA\xD2\xAA" "0\xD7\xD6"},
  };
  for (const Conversion& c : kCases) {
    EXPECT_EQ(Hex(FromEngine(c.gb)), Hex(c.utf8)) << Hex(c.gb);
  }
  // The round trip a body makes: in as CR LF, out as LF.
  EXPECT_EQ(FromEngine(BodyToEngine("第一段\r\n第二段\r第三段\n")), "第一段\n第二段\n第三段\n");
}

TEST(GbkLiteralTable, EveryEntryIsTheGb18030FormOfItsCodePoint) {
  auto table = GbkLiteralTable();
  ASSERT_FALSE(table.empty());
  for (const GbkTableEntry& e : table) {
    std::string expected(1, static_cast<char>(e.first));
    expected += static_cast<char>(e.second);
    std::string utf8 = Utf8Of(e.codePoint);
    EXPECT_EQ(Hex(IconvToGb18030(utf8)), Hex(expected)) << "U+" << std::hex << static_cast<unsigned>(e.codePoint);
    EXPECT_EQ(Hex(Utf8ToGb18030(utf8)), Hex(expected)) << "U+" << std::hex << static_cast<unsigned>(e.codePoint);
    EXPECT_EQ(Hex(Gbk(utf8)), Hex(expected)) << "U+" << std::hex << static_cast<unsigned>(e.codePoint);
  }
}

TEST(Conversion, ThreadsGetTheSameResults) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "新闻摘要的测试 The news 😀\n\xE4\xB8";
  const std::string gb = BodyToEngine(text);
  const std::string back = FromEngine(gb);
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) {
        if (BodyToEngine(text) != gb || FromEngine(gb) != back) ++mismatches[t];
      }
    });
  }
  for (std::thread& th : threads) th.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace sumvelo::encoding
