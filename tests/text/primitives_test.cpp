#include "text/primitives.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace sumvelo {
namespace {

// Hex renders bytes as "61 D6 ..." so that failures show exactly what was compared.
std::string Hex(ByteView t) {
  std::string out;
  char buf[4];
  for (unsigned char c : t) {
    std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", c);
    out += buf;
  }
  return out.empty() ? "(empty)" : out;
}

std::vector<ByteText> Elements(const TextArray& a) { return a.Items(); }

// ---------------------------------------------------------------------------------------------
// Literal versions of the scanning primitives, written step by step from their description and
// kept slow and plain on purpose. The fast versions are compared against them below.

bool RefIsLead(ByteView t, int i) { return static_cast<unsigned char>(t[i]) >= 0x80; }

unsigned char RefFold(unsigned char b) { return (b >= 0x41 && b <= 0x5A) ? b + 0x20 : b; }

bool RefSame(ByteView text, int at, ByteView what, bool ignoreCase) {
  for (int k = 0; k < static_cast<int>(what.size()); ++k) {
    unsigned char a = static_cast<unsigned char>(text[at + k]);
    unsigned char b = static_cast<unsigned char>(what[k]);
    if (ignoreCase) {
      a = RefFold(a);
      b = RefFold(b);
    }
    if (a != b) return false;
  }
  return true;
}

// The scan of FindText / FindLastText: every character start from which at least m bytes remain.
int RefFind(ByteView text, ByteView what, bool ignoreCase, bool last) {
  const int L = static_cast<int>(text.size());
  const int m = static_cast<int>(what.size());
  if (m == 0) return L > 0 ? 1 : -1;
  int found = -1;
  for (int i = 0; i < L && L - i >= m; i += RefIsLead(text, i) ? 2 : 1) {
    if (RefSame(text, i, what, ignoreCase)) {
      found = i + 1;
      if (!last) break;
    }
  }
  return found;
}

ByteText RefReplace(ByteView text, ByteView what, ByteView with) {
  if (text.empty() || what.empty()) return ByteText(text);
  const int L = static_cast<int>(text.size());
  const int m = static_cast<int>(what.size());
  ByteText out;
  int cursor = 0;
  while (L - cursor >= m) {
    if (RefSame(text, cursor, what, false)) {
      out += with;
      cursor += m;
    } else if (!RefIsLead(text, cursor)) {
      out += text[cursor];
      cursor += 1;
    } else if (cursor + 1 < L) {
      out += text.substr(cursor, 2);
      cursor += 2;
    } else {
      return out;  // a lone first byte reached with a one-byte `what`: dropped
    }
  }
  out += text.substr(cursor);
  return out;
}

std::vector<ByteText> RefSplit(ByteView text, ByteView separator) {
  std::vector<ByteText> parts;
  if (text.empty()) return parts;
  if (separator.empty()) return {ByteText(text)};
  const int L = static_cast<int>(text.size());
  const int m = static_cast<int>(separator.size());
  int segment = 0;
  int i = 0;
  while (i < L) {
    if (RefIsLead(text, i) && i + 1 == L) break;  // a lone first byte ends the scan
    if (L - i >= m && RefSame(text, i, separator, false)) {
      parts.emplace_back(text.substr(segment, i - segment));
      i += m;
      segment = i;
    } else {
      i += RefIsLead(text, i) ? 2 : 1;
    }
  }
  if (segment < L) parts.emplace_back(text.substr(segment));
  return parts;
}

// ---------------------------------------------------------------------------------------------

TEST(LeftRightBytes, CutByBytesAndClip) {
  struct Case {
    ByteText text;
    int n;
    ByteText left, right;
  };
  const Case cases[] = {
      {"\xD6\xD0\xB9\xFA", 1, "\xD6", "\xFA"},  // 中国: the cut splits a character
      {"\xD6\xD0\xB9\xFA", 3, "\xD6\xD0\xB9", "\xD0\xB9\xFA"},
      {"\xD6\xD0\xB9\xFA", 4, "\xD6\xD0\xB9\xFA", "\xD6\xD0\xB9\xFA"},
      {"abc", 0, "", ""},
      {"abc", -3, "", ""},
      {"abc", 2, "ab", "bc"},
      {"abc", 10, "abc", "abc"},
      {"", 5, "", ""},
      {"abc", 2147483647, "abc", "abc"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(LeftBytes(c.text, c.n)), Hex(c.left)) << Hex(c.text) << " n=" << c.n;
    EXPECT_EQ(Hex(RightBytes(c.text, c.n)), Hex(c.right)) << Hex(c.text) << " n=" << c.n;
  }
}

TEST(CharFromByte, LowEightBitsAndZeroIsEmpty) {
  struct Case {
    int b;
    ByteText expected;
  };
  const Case cases[] = {
      {0, ""}, {0x41, "A"}, {0xD6, "\xD6"}, {0xFF, "\xFF"}, {0x141, "A"}, {0x100, ""}, {-1, "\xFF"},
  };
  for (const Case& c : cases) EXPECT_EQ(Hex(CharFromByte(c.b)), Hex(c.expected)) << c.b;
  // Two calls rebuild a two-byte character from its bytes.
  EXPECT_EQ(Hex(CharFromByte(0xB5) + CharFromByte(0xC4)), "B5 C4");
}

TEST(TextToBytes, BytesInOrderAsNumbers) {
  EXPECT_EQ(TextToBytes("a\xD6\xD0"), (ByteSequence{0x61, 0xD6, 0xD0}));
  EXPECT_EQ(ByteCount(TextToBytes("a\xD6\xD0")), 3);
  EXPECT_TRUE(TextToBytes("").empty());
  EXPECT_EQ(ByteCount(TextToBytes("")), 0);
  EXPECT_EQ(TextLength("\xD6\xD0" "ab"), 4);
  EXPECT_EQ(TextLength(""), 0);
}

TEST(ConcatTexts, BytesInOrderEmptyContributesNothing) {
  EXPECT_EQ(ConcatTexts({"ab", "", "\xD6", "\xD0" "c"}), "ab\xD6\xD0" "c");
  EXPECT_EQ(ConcatTexts({"", ""}), "");
  EXPECT_EQ(ConcatTexts({ByteView(), "x"}), "x");
}

TEST(TextEquals, ExactBytes) {
  EXPECT_TRUE(TextEquals("", ByteView()));
  EXPECT_TRUE(TextEquals("\xD6\xD0", "\xD6\xD0"));
  EXPECT_FALSE(TextEquals("a", "A"));
  EXPECT_FALSE(TextEquals("ab", "a"));
  EXPECT_FALSE(TextEquals("\x81\x41", "\x81\x61"));
}

TEST(FindText, Cases) {
  struct Case {
    ByteText text, what;
    bool ignoreCase;
    int first, last;
  };
  const Case cases[] = {
      {"abc", "", true, 1, 1},
      {"abc", "", false, 1, 1},
      {"", "", true, -1, -1},
      {"", "x", true, -1, -1},
      {"abc", "abcd", true, -1, -1},
      {"ABC", "b", true, 2, 2},
      {"ABC", "b", false, -1, -1},
      {"the", "THE", true, 1, 1},
      {"ness", "NESS", false, -1, -1},
      {"sss", "ss", false, 1, 2},
      {"less", "s", false, 3, 4},
      {"xAbAB", "ab", true, 2, 4},
      // 中国 = D6 D0 B9 FA: the bytes D0 B9 sit across a character boundary.
      {"\xD6\xD0\xB9\xFA", "\xD0\xB9", true, -1, -1},
      {"\xD6\xD0\xB9\xFA", "\xD0\xB9", false, -1, -1},
      {"\xD6\xD0\xB9\xFA", "\xB9\xFA", false, 3, 3},
      // The second byte 0x41 folds like 'A', on both sides.
      {"\x81\x61", "\x81\x41", true, 1, 1},
      {"\x81\x41", "\x81\x61", true, 1, 1},
      {"\x81\x41", "\x81\x61", false, -1, -1},
      // A second byte equal to 'A' is never a match start of its own.
      {"\x81\x41", "a", true, -1, -1},
      {"\x81\x41", "A", false, -1, -1},
      // No other byte folds: '@' and '[' lie around 'A'..'Z', and 0xC1 is 'A' + 0x80.
      {"@[\xC1\xE1", "`{", true, -1, -1},
      {"\xC1\xE1", "\xE1\xE1", true, -1, -1},
      // A lone first byte at the end is a character start, matched only by a one-byte what.
      {"a\xD6", "\xD6", false, 2, 2},
      {"a\xD6", "\xD6", true, 2, 2},
      {"a\xD6", "\xD6\xD0", false, -1, -1},
      {"\xD6\xD6", "\xD6", false, 1, 1},  // the second D6 is a second byte, not a start
      {"\xD6\xD6\xD6", "\xD6", false, 1, 3},
      // Overlapping candidates are all examined.
      {"aaab", "aab", false, 2, 2},
      {"\xA1\xA3\xA1\xA3\xA1\xA3", "\xA1\xA3\xA1\xA3", false, 1, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindText(c.text, c.what, c.ignoreCase), c.first)
        << Hex(c.text) << " / " << Hex(c.what) << " ignoreCase=" << c.ignoreCase;
    EXPECT_EQ(FindLastText(c.text, c.what, c.ignoreCase), c.last)
        << Hex(c.text) << " / " << Hex(c.what) << " ignoreCase=" << c.ignoreCase;
  }
}

TEST(ReplaceText, Cases) {
  struct Case {
    ByteText text, what, with, expected;
  };
  const ByteText stop = "\xA1\xA3";  // 。
  const Case cases[] = {
      {"aaa", "aa", "b", "ba"},
      {"ab", "a", "aa", "aab"},        // inserted text is not looked at again
      {"aaaa", "a", "aa", "aaaaaaaa"},
      {"abab", "ab", "", ""},          // an empty with deletes
      {stop + stop + stop, stop + stop, stop, stop + stop},
      {"", "a", "b", ""},
      {"abc", "", "x", "abc"},
      {"abc", "d", "x", "abc"},
      {"ABC", "b", "x", "ABC"},        // exact comparison
      // Matches begin only at character starts.
      {"\xD6\xD0\xB9\xFA", "\xD0\xB9", "x", "\xD6\xD0\xB9\xFA"},
      {"\x81\x41" "A", "A", "b", "\x81\x41" "b"},
      {"\xD6\xD6\xD6\xD6", "\xD6", "x", "xxxx"},  // every one-byte D6 here is a start
      // A lone first byte at the end: dropped for a one-byte what, kept for a longer one.
      {"a\xD6", "b", "c", "a"},
      {"a\xD6", "ab", "c", "a\xD6"},
      {"ba\xD6", "b", "c", "ca"},
      {"a\xD6", "a", "c", "c"},
      {"a\xD6", "\xD6", "c", "ac"},      // the lone byte itself matches
      {"aab\xD6", "ab", "X", "aX\xD6"},
      // After a replacement the scan goes on from right after the match.
      {"\xD6\xD0" "a", "\xD6", "x", "x\xD0" "a"},
      {"a\xD6\xD0", "a\xD6", "", "\xD0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(ReplaceText(c.text, c.what, c.with)), Hex(c.expected))
        << Hex(c.text) << " / " << Hex(c.what) << " -> " << Hex(c.with);
  }
}

TEST(SplitText, Cases) {
  struct Case {
    ByteText text, separator;
    std::vector<ByteText> expected;
  };
  const Case cases[] = {
      {"a  b", " ", {"a", "", "b"}},
      {" a b ", " ", {"", "a", "b"}},
      {"", " ", {}},
      {"ab", " ", {"ab"}},
      {"ab", "", {"ab"}},
      {" ", " ", {""}},
      {"  ", " ", {"", ""}},
      {"a\xD6", " ", {"a\xD6"}},
      {"a b\xD6", " ", {"a", "b\xD6"}},
      {"a \xD6", " ", {"a", "\xD6"}},
      // The scan ends at a lone first byte: it is never compared, even with itself.
      {"a\xD6", "\xD6", {"a\xD6"}},
      // A separator never matches on a second byte.
      {"\x81\x41" "A", "A", {"\x81\x41"}},
      {"\xD6\xD0\xB9\xFA", "\xD0\xB9", {"\xD6\xD0\xB9\xFA"}},
      {"ab--cd--", "--", {"ab", "cd"}},
  };
  for (const Case& c : cases) {
    const std::vector<ByteText> got = Elements(SplitText(c.text, c.separator));
    ASSERT_EQ(got.size(), c.expected.size()) << Hex(c.text) << " / " << Hex(c.separator);
    for (std::size_t k = 0; k < got.size(); ++k) {
      EXPECT_EQ(Hex(got[k]), Hex(c.expected[k]))
          << Hex(c.text) << " / " << Hex(c.separator) << " element " << k + 1;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The fast scanning primitives against the literal ones, on every text of up to 5 bytes over a
// small alphabet and on many longer random ones. The alphabet has both cases of a letter, a space,
// first bytes (0x81, 0xA1, 0xFE) and 0x41, which is 'A' and also a possible second byte, so that
// texts end in lone first bytes and candidates fall on second bytes.

const unsigned char kAlphabet[] = {'a', 'A', 'b', ' ', 0x81, 0x41, 0xA1, 0xFE};
constexpr int kAlphabetSize = sizeof kAlphabet;

// All texts of exactly `len` bytes over the alphabet.
std::vector<ByteText> AllTexts(int len) {
  std::vector<ByteText> out{ByteText()};
  for (int k = 0; k < len; ++k) {
    std::vector<ByteText> next;
    for (const ByteText& t : out) {
      for (unsigned char c : kAlphabet) next.push_back(t + static_cast<char>(c));
    }
    out.swap(next);
  }
  return out;
}

// Remembers the smallest input on which fast and literal versions disagree.
struct Disagreement {
  std::string what;
  std::size_t size = SIZE_MAX;
  int count = 0;
  void Note(std::size_t inputSize, const std::string& description) {
    ++count;
    if (inputSize < size) {
      size = inputSize;
      what = description;
    }
  }
};

void CompareAll(ByteView text, ByteView what, const std::vector<ByteText>& withs,
                Disagreement& d) {
  const std::size_t size = text.size() + what.size();
  for (bool ic : {false, true}) {
    const int fast = FindText(text, what, ic), ref = RefFind(text, what, ic, false);
    if (fast != ref) {
      d.Note(size, "FindText(" + Hex(text) + " / " + Hex(what) + ", " + (ic ? "true" : "false") +
                       ") = " + std::to_string(fast) + ", expected " + std::to_string(ref));
    }
    const int fastLast = FindLastText(text, what, ic), refLast = RefFind(text, what, ic, true);
    if (fastLast != refLast) {
      d.Note(size, "FindLastText(" + Hex(text) + " / " + Hex(what) + ", " +
                       (ic ? "true" : "false") + ") = " + std::to_string(fastLast) +
                       ", expected " + std::to_string(refLast));
    }
  }
  for (const ByteText& with : withs) {
    const ByteText fast = ReplaceText(text, what, with), ref = RefReplace(text, what, with);
    if (fast != ref) {
      d.Note(size, "ReplaceText(" + Hex(text) + " / " + Hex(what) + " -> " + Hex(with) +
                       ") = " + Hex(fast) + ", expected " + Hex(ref));
    }
  }
  const std::vector<ByteText> fast = Elements(SplitText(text, what)), ref = RefSplit(text, what);
  if (fast != ref) {
    std::string f, r;
    for (const ByteText& e : fast) f.append("[").append(Hex(e)).append("]");
    for (const ByteText& e : ref) r.append("[").append(Hex(e)).append("]");
    d.Note(size, "SplitText(" + Hex(text) + " / " + Hex(what) + ") = " + f + ", expected " + r);
  }
}

const std::vector<ByteText> kWiths = {"", "aa", "\xA1"};

TEST(ScanningPrimitives, AgreeWithLiteralVersionsOnAllShortTexts) {
  std::vector<ByteText> texts, whats;
  for (int len = 0; len <= 5; ++len) {
    for (ByteText& t : AllTexts(len)) texts.push_back(std::move(t));
  }
  for (int len = 0; len <= 2; ++len) {
    for (ByteText& t : AllTexts(len)) whats.push_back(std::move(t));
  }
  Disagreement d;
  for (const ByteText& text : texts) {
    for (const ByteText& what : whats) CompareAll(text, what, kWiths, d);
  }
  EXPECT_EQ(d.count, 0) << "smallest: " << d.what;
}

TEST(ScanningPrimitives, AgreeWithLiteralVersionsOnRandomTexts) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> letter(0, kAlphabetSize - 1);
  auto randomText = [&](int maxLen) {
    ByteText t(std::uniform_int_distribution<int>(0, maxLen)(rng), ' ');
    for (char& c : t) c = static_cast<char>(kAlphabet[letter(rng)]);
    return t;
  };
  Disagreement d;
  for (int round = 0; round < 40000; ++round) {
    const ByteText text = randomText(40);
    ByteText what = randomText(6);
    // Often search for a piece of the text itself, so that matches are common.
    if (round % 2 == 0 && !text.empty()) {
      const int last = static_cast<int>(text.size()) - 1;
      const int from = std::uniform_int_distribution<int>(0, last)(rng);
      what = text.substr(from, std::uniform_int_distribution<int>(1, 8)(rng));
    }
    CompareAll(text, what, {randomText(3), ""}, d);
  }
  EXPECT_EQ(d.count, 0) << "smallest: " << d.what;
}

// Real articles: GBK news bodies and English ones (whose UTF-8 curly quotes read as two-byte
// characters here), searched for punctuation, words, line breaks and pieces cut at any byte,
// second bytes included, and cut short so that they end in a lone first byte.
TEST(ScanningPrimitives, AgreeWithLiteralVersionsOnRealTexts) {
  const char* files[] = {"gbk/0001.txt", "gbk/0015.txt", "gbk/0022.txt", "gbk/0092.txt",
                         "gbk/0195.txt", "en/0001.txt",  "en/0002.txt"};
  const std::vector<ByteText> fixed = {
      "\xB5\xC4", "\xA1\xA3", "\xA3\xAC", "\xA1\xA3\xA1\xA3", "\xA3\xAC\xA1\xB0", "\n", " ",
      "the", "THE", "The ", "ed ", "\xA1", "\xC4", "e"};
  std::mt19937 rng(3);
  Disagreement d;
  for (const char* name : files) {
    std::ifstream in(std::string(SUMVELO_CORPUS_DIR) + "/" + name, std::ios::binary);
    ASSERT_TRUE(in) << name;
    const ByteText article((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<ByteText> texts = {article};
    for (int k = 0; k < 6; ++k) {
      const int cut = static_cast<int>(rng() % article.size());
      texts.push_back(article.substr(0, cut));
      texts.push_back(article.substr(cut));
    }
    for (const ByteText& text : texts) {
      std::vector<ByteText> whats = fixed;
      for (int k = 0; k < 30 && !text.empty(); ++k) {
        whats.push_back(text.substr(rng() % text.size(), 1 + rng() % 10));
      }
      for (const ByteText& what : whats) CompareAll(text, what, {"", "\xA1\xFE", "x"}, d);
    }
  }
  EXPECT_EQ(d.count, 0) << "smallest: " << d.what.substr(0, 400);
}

}  // namespace
}  // namespace sumvelo
