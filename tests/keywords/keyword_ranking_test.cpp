#include "keywords/keyword_ranking.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "stage_support.h"

namespace sumvelo {
namespace {

using testing::Hex;
using testing::Zh;

struct Fixture {
  HeadlessControls controls;
  Workspace ws{controls};

  void Keywords(const std::vector<std::pair<ByteText, ByteText>>& rows) {
    ws.keywordTable.DeleteAllRows();
    for (const auto& [term, weight] : rows) {
      ws.keywordTable.AppendRow(term);
      ws.keywordTable.SetCell(ws.keywordTable.RowCount() - 1, 1, weight);
    }
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    for (int r = 0; r < ws.keywordTable.RowCount(); ++r) {
      out.push_back(Hex(ws.keywordTable.GetCell(r, 0)) + ":" + ws.keywordTable.GetCell(r, 1));
    }
    return out;
  }
  std::string Line() const { return Hex(controls.Text(Control::标签3)); }
};

// ---------------------------------------------------------------------------------------------
// RankAndShowKeywords

TEST(RankAndShowKeywords, LineForTablesOfEverySize) {
  struct Case {
    const char* name;
    std::vector<std::pair<ByteText, ByteText>> rows;
    const char* workingText;
    int probe;
    const char* line;
  };
  const Case cases[] = {
      {"empty table, non-empty text: four spaces after the colon", {}, "x", -1, "关键词：    "},
      {"empty table, empty text: the bare prefix", {}, "", -1, "关键词： "},
      {"two rows and one more space", {{"alpha", "5"}, {"beta", "4"}}, "x", -1, "关键词： alpha beta  "},
      {"only the top three", {{"a1", "9"}, {"a2", "8"}, {"a3", "7"}, {"a4", "6"}}, "x", -1,
       "关键词： a1 a2 a3 "},
      {"sorted by weight first", {{"low", "3"}, {"high", "12"}, {"mid", "7"}}, "x", -1,
       "关键词： high mid low "},
      {"existing probe row found", {{"alpha", "5"}, {"beta", "4"}}, "xxBETAxx", 1,
       "关键词： alpha beta  "},
      {"existing probe row not found", {{"alpha", "5"}, {"beta", "4"}}, "xxalphaxx", 1, "关键词： "},
      {"probe beyond the table", {{"alpha", "5"}}, "x", 7, "关键词： alpha   "},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.Keywords(c.rows);
    f.ws.workingText = c.workingText;
    RankAndShowKeywords(f.ws, c.probe);
    EXPECT_EQ(f.Line(), Hex(Zh(c.line))) << c.name;
    EXPECT_EQ(f.ws.workingText, c.workingText) << c.name;
  }
}

// Integer order, larger first; equal weights keep their order; the weight texts are unchanged.
TEST(RankAndShowKeywords, SortsByIntegerWeight) {
  Fixture f;
  f.Keywords({{"a", "3"}, {"b", "12"}, {"c", "7"}, {"d", "7"}, {"e", "12.9"}});
  f.ws.workingText = "x";
  RankAndShowKeywords(f.ws, -1);
  EXPECT_EQ(f.Rows(), (std::vector<std::string>{"62:12", "65:12.9", "63:7", "64:7", "61:3"}));
}

// ---------------------------------------------------------------------------------------------
// BoostByTitle

// The 25 title rules, in order, through what they do to one title each.
TEST(BoostByTitle, NormalizesTheTitleIntoTheWorkingText) {
  struct Case {
    const char* title;
    const char* expected;
  };
  const Case cases[] = {
      {"甲，乙、丙…丁“戊”己：庚！辛‘壬’癸（子）丑；寅？卯,辰　巳—午",
       "甲 乙 丙 丁 戊 己 庚 辛 壬 癸 子 丑 寅 卯 辰 巳 午"},
      {"甲……乙", "甲 乙"},             // each "…" alone, then the doubled space collapses
      {"甲，，，，，乙", "甲  乙"},       // five spaces, two collapse passes leave two
      {"我的目的和标的的确", "我 目的和标的的确"},
      {"甲〓确乙〓丙", "甲的确乙 丙"},     // a mark of the title itself
      {"改革与制度", " 改革 与 制度 "},
      {"2014年的计划", "2014年 计划"},  // no number rules here
      {"", ""},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.controls.WriteControlText(Control::标题框, Zh(c.title));
    BoostByTitle(f.ws);
    EXPECT_EQ(Hex(f.ws.workingText), Hex(Zh(c.expected))) << c.title;
  }
}

TEST(BoostByTitle, DoublesKeywordsFoundInTheTitleOnce) {
  Fixture f;
  f.Keywords({{"market", "3"}, {Zh("银行"), "4"}, {Zh("利率"), "7"}, {"bond", "2"}});
  f.controls.WriteControlText(Control::标题框, Zh("MARKET银行银行的利率"));
  BoostByTitle(f.ws);
  // The title reads "MARKET银行银行 利率": market found in other case, 银行 twice but doubled once.
  EXPECT_EQ(f.Rows(), (std::vector<std::string>{Hex(Zh("利率")) + ":14", Hex(Zh("银行")) + ":8",
                                                "6D 61 72 6B 65 74:6", "62 6F 6E 64:2"}));
}

// A keyword that the title holds only across a removed 的 is not found.
TEST(BoostByTitle, FindsKeywordsInTheNormalizedTitleOnly) {
  Fixture f;
  f.Keywords({{Zh("银行利率"), "4"}});
  f.controls.WriteControlText(Control::标题框, Zh("银行的利率"));
  BoostByTitle(f.ws);
  EXPECT_EQ(f.Rows(), std::vector<std::string>{Hex(Zh("银行利率")) + ":4"});
}

// Weight 5 found in the title moves ahead of weight 9 not found (10 against 9); the keyword line
// written before the boost still lists the weight-9 keyword first.
TEST(BoostByTitle, ReranksButLeavesTheKeywordLine) {
  Fixture f;
  f.Keywords({{Zh("银行"), "5"}, {Zh("利率"), "9"}});
  f.ws.workingText = Zh("term text");
  RankAndShowKeywords(f.ws, -1);
  const std::string line = f.Line();
  EXPECT_EQ(line, Hex(Zh("关键词： 利率 银行  ")));
  f.controls.WriteControlText(Control::标题框, Zh("银行新闻"));
  BoostByTitle(f.ws);
  EXPECT_EQ(f.Rows(), (std::vector<std::string>{Hex(Zh("银行")) + ":10", Hex(Zh("利率")) + ":9"}));
  EXPECT_EQ(f.Line(), line);
}

TEST(BoostByTitle, EmptyTitleChangesNoWeightButSorts) {
  Fixture f;
  f.Keywords({{"a", "3"}, {"b", "5"}});
  BoostByTitle(f.ws);
  EXPECT_EQ(f.Rows(), (std::vector<std::string>{"62:5", "61:3"}));
  EXPECT_EQ(f.ws.workingText, "");
}

}  // namespace
}  // namespace sumvelo
