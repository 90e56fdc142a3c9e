#include "pipeline/term_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stage_support.h"

namespace sumvelo {
namespace {

using testing::FromHex;
using testing::Hex;
using testing::Zh;

void ExpectRules(std::span<const ReplaceRule> rules,
                 const std::vector<std::pair<ByteText, ByteText>>& expected) {
  const GbkRules actual = ToGbkRules(rules);
  ASSERT_EQ(actual.size(), expected.size()) << "the list has a missing or extra row";
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Hex(actual[i].first), Hex(expected[i].first)) << "rule " << i + 1 << " from";
    EXPECT_EQ(Hex(actual[i].second), Hex(expected[i].second)) << "rule " << i + 1 << " to";
  }
}

// The 28 Chinese rules as hex, in order.
TEST(ChineseTermTextRules, EveryRowHasItsBytesInOrder) {
  const char* const rows[][2] = {
      {"A1A3", "20"},           {"A3AC", "20"},           {"A1A2", "20"},
      {"A1AD A1AD", "20"},      {"A1B0", "20"},           {"A1B1", "20"},
      {"A3A1", "20"},           {"A1AE", "20"},           {"A1AF", "20"},
      {"A3A8", "20"},           {"A3A9", "20"},           {"A3BB", "20"},
      {"A3BF", "20"},           {"A1AA", "20"},           {"20 20", "20"},
      {"20 20", "20"},          {"B5C4", "A1FE"},         {"A1FE C8B7", "B5C4 C8B7"},
      {"B1EA A1FE", "B1EA B5C4"}, {"C4BF A1FE", "C4BF B5C4"}, {"A1FE", "20"},
      {"B8C4 B8EF", "20 B8C4 B8EF 20"}, {"D6C6 B6C8", "20 D6C6 B6C8 20"},
      {"32 30 31 34", "20"},    {"32 30 31 35", "20"},    {"32 30 31 33", "20"},
      {"32 30", "20"},          {"31 39", "20"},
  };
  std::vector<std::pair<ByteText, ByteText>> expected;
  for (const auto& r : rows) expected.emplace_back(FromHex(r[0]), FromHex(r[1]));
  ASSERT_EQ(expected.size(), 28u);
  ExpectRules(ChineseTermTextRules(), expected);
}

// The 60 English rules: nine punctuation rows, three collapses, 39 stop words, five numbers,
// three collapses, " if ".
TEST(EnglishTermTextRules, EveryRowInOrder) {
  std::vector<std::pair<ByteText, ByteText>> expected;
  for (const char* p : {".", ",", "\"", "!", "(", ")", ";", "?", "'"}) expected.emplace_back(p, " ");
  for (int k = 0; k < 3; ++k) expected.emplace_back("  ", " ");
  for (const char* w :
       {"of", "a", "the", "or", "in", "to", "and", "an", "with", "that", "by", "for", "as",
        "having", "on", "from", "who", "is", "used", "one", "not", "s", "any", "at", "be",
        "which", "something", "being", "into", "he", "are", "she", "what", "it", "its", "than",
        "has", "but", "said"}) {
    expected.emplace_back(" " + std::string(w) + " ", " ");
  }
  for (const char* n : {"2014", "2015", "2013", "20", "19"}) expected.emplace_back(n, " ");
  for (int k = 0; k < 3; ++k) expected.emplace_back("  ", " ");
  expected.emplace_back(" if ", " ");
  ASSERT_EQ(expected.size(), 60u);
  ExpectRules(EnglishTermTextRules(), expected);
}

ByteText Chinese(const ByteText& text) {
  HeadlessControls controls;
  Workspace ws(controls);
  ws.workingText = text;
  PrepareChineseTermText(ws);
  return ws.workingText;
}

ByteText English(const ByteText& text) {
  HeadlessControls controls;
  Workspace ws(controls);
  ws.workingText = text;
  PrepareEnglishTermText(ws);
  return ws.workingText;
}

TEST(PrepareChineseTermText, Cases) {
  struct Case {
    const char* name;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"three words keep their 的", "的确标的目的", "的确标的目的"},
      {"every other 的 is a space", "我的书和你的笔", "我 书和你 笔"},
      {"punctuation to spaces", "甲。乙，丙、丁……戊“己”庚！辛‘壬’癸（子）丑；寅？卯—辰",
       "甲 乙 丙 丁 戊 己 庚 辛 壬 癸 子 丑 寅 卯 辰"},
      {"three spaces collapse to one", "甲。，、乙", "甲 乙"},
      {"five spaces leave two", "甲。，、！？乙", "甲  乙"},
      {"spaces made after the collapse stay", "甲，的乙", "甲  乙"},
      {"year before 年", "2014年", " 年"},
      {"other years", "2015和2013", " 和 "},
      {"1990", "1990年代", " 90年代"},
      {"2020 gives two spaces", "2020年", "  年"},
      {"20 and 19 inside numbers", "120人和219人", "1 人和2 人"},
      {"改革 and 制度 stand apart", "改革开放和新制度", " 改革 开放和新 制度 "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(Chinese(Zh(c.text))), Hex(Zh(c.expected))) << c.name;
  }
}

// A title-like mark left in the text becomes a space, or 的 before 确.
TEST(PrepareChineseTermText, MarkPlaceholderIsNeverLeft) {
  const ByteText out = Chinese(Zh("甲的乙〓确丙〓丁"));
  EXPECT_EQ(Hex(out), Hex(Zh("甲 乙的确丙 丁")));
}

TEST(PrepareEnglishTermText, Cases) {
  struct Case {
    const char* name;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"sentence-initial The stays", "The cat of the hat", "The cat hat"},
      {"stop word at the very start stays", "of cats and dogs", "of cats dogs"},
      {"stop word at the very end stays", "cats and", "cats and"},
      {"two equal stop words in a row leave one", "cat of of hat", "cat of hat"},
      {"upper-case stop words stay", "cat OF The hat", "cat OF The hat"},
      {"punctuation to spaces", "a.b,c\"d!e(f)g;h?i'j", "a b c d e f g h i j"},
      {"apostrophe-s left by normalization", "the plan's cost", "the plan cost"},
      {"sentences joined without separator", "Prices rose.Costs fell.", "Prices rose Costs fell "},
      {"years and digit pairs", "cats 2014 up 1990 by 2020 x", "cats up 90 x"},
      {"if goes last", "cat if dog", "cat dog"},
      {"if goes after the digit pairs", "cat 19if dog", "cat dog"},
      {"said goes", "Lee said prices rose", "Lee prices rose"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(English(c.text), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace sumvelo
