#include "pipeline/normalize_chinese.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "stage_support.h"

namespace sumvelo {
namespace {

using testing::FromHex;
using testing::Hex;
using testing::Zh;

// The whole rule list, row by row, as GBK bytes written out independently of the program's
// own literal table: hex where the bytes are fixed, and the twelve reporting verbs converted by
// the system's converter with "，" (A3 AC) or "。" (A1 A3) after them. The list must have 29
// rows: the doubled collapse rules stand twice.
TEST(ChineseNormalizationRules, EveryRowHasItsBytesInOrder) {
  std::vector<std::pair<ByteText, ByteText>> expected = {
      {FromHex("D3EB B4CB CDAC CAB1 A3AC"), ""},
  };
  for (const char* verb : {"说", "指出", "称", "表示", "建议", "透露", "认为", "消息", "提醒",
                           "强调", "要求", "报导"}) {
    expected.emplace_back(Zh(verb) + FromHex("A3AC"), Zh(verb) + FromHex("A1A3"));
  }
  const char* const rest[][2] = {
      {"2C", "A3AC"},
      {"2E 20", "A1A3"},
      {"0D 0A", "A1A3"},
      {"A1A3 A1A3", "A1A3"},
      {"A1A3 A1A3", "A1A3"},
      {"A1A3", "A1A3 A1FE"},
      {"A1A3 A1FE A1B1", "A1A3 A1B1 A1FE"},
      {"A3A1", "A3A1 A1FE"},
      {"A1AD A1AD", "A1AD A1AD A1FE"},
      {"A3BF", "A3BF A1FE"},
      {"A3BB", "A3BB A1FE"},
      {"A1FE A1FE", "A1FE"},
      {"A1FE A1FE", "A1FE"},
      {"A1A1", "A1FE"},
      {"20", "A1FE"},
      {"A3BA", "A3AC"},
  };
  for (const auto& r : rest) expected.emplace_back(FromHex(r[0]), FromHex(r[1]));
  ASSERT_EQ(expected.size(), 29u);

  const GbkRules actual = ToGbkRules(ChineseNormalizationRules());
  ASSERT_EQ(actual.size(), expected.size()) << "the list has a missing or extra row";
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Hex(actual[i].first), Hex(expected[i].first)) << "rule " << i + 1 << " from";
    EXPECT_EQ(Hex(actual[i].second), Hex(expected[i].second)) << "rule " << i + 1 << " to";
  }
}

ByteText Normalize(const ByteText& body) {
  HeadlessControls controls;
  Workspace ws(controls);
  ws.workingText = body;
  NormalizeChinese(ws);
  return ws.workingText;
}

// What the rule order does to whole texts. "〓" in an expected text is the sentence mark.
TEST(NormalizeChinese, OrderOfTheRulesShowsInTheResult) {
  struct Case {
    const char* name;
    const char* body;
    const char* expected;
  };
  const Case cases[] = {
      {"connective deleted", "与此同时，价格上涨。", "价格上涨。〓"},
      {"verb + full-width comma ends a sentence", "他说，明天下雨", "他说。〓明天下雨"},
      {"word ending in a verb counts too", "据说，明天下雨", "据说。〓明天下雨"},
      {"称 inside a word", "声称，明天下雨", "声称。〓明天下雨"},
      {"last verb of the list", "报导，明天下雨", "报导。〓明天下雨"},
      {"verb + ASCII comma does not end one", "他说,明天下雨", "他说，明天下雨"},
      {"verb + colon does not end one", "他说：明天下雨", "他说，明天下雨"},
      {"thousands separator", "共1,000人", "共1，000人"},
      {"ASCII stop + space", "完了. 然后", "完了。〓然后"},
      {"decimal point stays", "增长3.5倍", "增长3.5倍"},
      {"stop before CR LF gives one mark", "好。\r\n下", "好。〓下"},
      {"blank line between paragraphs", "好。\r\n\r\n下", "好。〓下"},
      {"bare CR LF ends a sentence", "好\r\n下", "好。〓下"},
      {"lone LF and CR stay", "好\n下\r再", "好\n下\r再"},
      {"run of four stops", "好。。。。下", "好。〓下"},
      {"run of five stops leaves two", "好。。。。。下", "好。〓。〓下"},
      {"closing quote after a stop", "“好。”下", "“好。”〓下"},
      {"closing quote after an exclamation", "“好！”下", "“好！〓”下"},
      {"closing quote after a question", "“好？”下", "“好？〓”下"},
      {"semicolon", "甲；乙", "甲；〓乙"},
      {"two-character ellipsis", "甲……乙", "甲……〓乙"},
      {"single ellipsis character gets no mark", "甲…乙", "甲…乙"},
      {"ASCII space splits", "今天下雨 明天晴天", "今天下雨〓明天晴天"},
      {"ideographic space splits", "今天下雨　明天晴天", "今天下雨〓明天晴天"},
      {"space after a stop leaves two marks", "好。 下", "好。〓〓下"},
      {"exclamation before a line break", "好！\r\n下", "好！〓。〓下"},
      {"mark already in the body stays", "甲〓乙", "甲〓乙"},
      {"doubled marks of the body collapse", "甲〓〓〓〓乙", "甲〓乙"},
      {"colon becomes comma", "结果：很好", "结果，很好"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(Normalize(Zh(c.body))), Hex(Zh(c.expected))) << c.name;
  }
}

// After the stage no full-width colon is left, whatever surrounds it.
TEST(NormalizeChinese, NoColonSurvives) {
  const ByteText out = Normalize(Zh("说：：表示：，甲：\r\n：乙。："));
  EXPECT_EQ(out.find(std::string(Zh("："))), std::string::npos) << Hex(out);
}

}  // namespace
}  // namespace sumvelo
