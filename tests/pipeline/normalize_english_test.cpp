#include "pipeline/normalize_english.h"

#include <gtest/gtest.h>

#include <string>

#include "stage_support.h"
#include "text/gbk_literal.h"

namespace sumvelo {
namespace {

using testing::FromHex;
using testing::Hex;

// The whole rule list, row by row, as hex. Twenty rows: the collapse rules stand twice.
TEST(EnglishNormalizationRules, EveryRowHasItsBytesInOrder) {
  const char* const expected[][2] = {
      {"27 73 20", "20 69 73 20"},
      {"74 68 61 74 2C 20", "74 68 61 74 2E 20"},
      {"27 74 20", "20 20 6E 6F 74 20"},
      {"0D 0A", "2E"},
      {"2C 20 73 61 69 64 20", "2E 20"},
      {"73 61 69 64 2C 20", "20 73 61 69 64 2E"},
      {"2C 20 73 61 79 73 20", "2E 20"},
      {"73 61 79 73 2C 20", "73 61 79 73 2E 20"},
      {"2C 20 73 61 79 20", "2E 20 73 61 79 20"},
      {"73 61 79 2C 20", "73 61 79 2E 20"},
      {"2E 2E", "2E"},
      {"2E 2E", "2E"},
      {"2E", "2E A1 FE"},
      {"2E A1 FE 22", "2E 22 A1 FE"},
      {"21", "21 A1 FE"},
      {"3F", "3F A1 FE"},
      {"3B", "3B A1 FE"},
      {"A1 FE A1 FE", "A1 FE"},
      {"A1 FE A1 FE", "A1 FE"},
      {"3A", "2C"},
  };
  const GbkRules actual = ToGbkRules(EnglishNormalizationRules());
  ASSERT_EQ(actual.size(), std::size(expected)) << "the list has a missing or extra row";
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(Hex(actual[i].first), Hex(FromHex(expected[i][0]))) << "rule " << i + 1 << " from";
    EXPECT_EQ(Hex(actual[i].second), Hex(FromHex(expected[i][1]))) << "rule " << i + 1 << " to";
  }
}

// "#" in these fixtures stands for the sentence mark "〓" (A1 FE).
ByteText Marked(std::string_view text) {
  ByteText out;
  for (char c : text) out += c == '#' ? Gbk("〓") : ByteText(1, c);
  return out;
}

ByteText Normalize(const ByteText& body) {
  HeadlessControls controls;
  Workspace ws(controls);
  ws.workingText = body;
  NormalizeEnglish(ws);
  return ws.workingText;
}

TEST(NormalizeEnglish, OrderOfTheRulesShowsInTheResult) {
  struct Case {
    const char* name;
    const char* body;
    const char* expected;
  };
  const Case cases[] = {
      {"possessive 's", "the country's plan", "the country is plan"},
      {"'s without a space after stays", "the country's", "the country's"},
      {"'t", "they don't know", "they don  not know"},
      {"that, ends a sentence", "He added that, in fact, it", "He added that.# in fact, it"},
      {"That, with a capital stays", "That, in fact, is it", "That, in fact, is it"},
      {"line break", "Rain\r\nSun", "Rain.#Sun"},
      {"stop before a line break gives one mark", "Rain.\r\nSun.", "Rain.#Sun.#"},
      {", said drops the verb", "Prices rose, said Lee", "Prices rose.# Lee"},
      {"said, keeps it, no space after", "Lee said, prices rose", "Lee  said.#prices rose"},
      {"Said, with a capital stays", "Said, Lee", "Said, Lee"},
      {", says drops the verb", "Prices rose, says Lee", "Prices rose.# Lee"},
      {"says, keeps it", "Lee says, prices rose", "Lee says.# prices rose"},
      {", say keeps the next word apart", "Prices rose, say experts", "Prices rose.# say experts"},
      {"say, keeps it", "Experts say, prices rose", "Experts say.# prices rose"},
      {"decimal point is cut", "up 3.5 percent", "up 3.#5 percent"},
      {"U.S. gives two marks", "the U.S. economy", "the U.#S.# economy"},
      {"ellipsis of three", "wait... then", "wait.# then"},
      {"run of four", "wait.... then", "wait.# then"},
      {"run of five leaves two", "wait..... then", "wait.#.# then"},
      {"quote after a stop", "\"Go.\" he", "\"Go.\"# he"},
      {"quote after an exclamation", "\"Go!\" he", "\"Go!#\" he"},
      {"quote after a question", "\"Go?\" he", "\"Go?#\" he"},
      {"semicolon", "rain; sun", "rain;# sun"},
      {"colon becomes a comma", "Result: good", "Result, good"},
      {"spaces never split", "one two  three", "one two  three"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(Normalize(c.body)), Hex(Marked(c.expected))) << c.name;
  }
}

}  // namespace
}  // namespace sumvelo
