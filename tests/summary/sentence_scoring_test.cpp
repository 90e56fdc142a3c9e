#include "summary/sentence_scoring.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "stage_support.h"
#include "text/gbk_literal.h"

namespace sumvelo {
namespace {

using testing::Column;
using testing::FromHex;
using testing::Hex;
using testing::Zh;

struct Fixture {
  HeadlessControls controls;
  Workspace ws{controls};

  void Keywords(const std::vector<std::pair<ByteText, ByteText>>& rows) {
    for (const auto& [term, weight] : rows) {
      ws.keywordTable.AppendRow(term);
      ws.keywordTable.SetCell(ws.keywordTable.RowCount() - 1, 1, weight);
    }
  }
  // Scores one sentence (score "1" on entry) and returns its score text.
  ByteText Score(const ByteText& sentence) {
    ws.sentenceTable.DeleteAllRows();
    ws.sentenceTable.AppendRow(sentence);
    ws.sentenceTable.SetCell(0, 1, "1");
    ws.sentenceTable.SetCell(0, 2, "1");
    ScoreSentences(ws);
    return ws.sentenceTable.GetCell(0, 1);
  }
};

TEST(OpeningCues, TwelveCuesInOrder) {
  const char* const expected[][2] = {
      {"D2 BB", "3"}, {"B6 FE", "3"}, {"C8 FD", "3"}, {"CB C4", "3"}, {"CE E5", "3"}, {"C1 F9", "3"},
      {"C6 DF", "3"}, {"B0 CB", "3"}, {"BE C5", "3"}, {"CA AE", "3"}, {"A1 A2", "3"}, {"A3 BA", "2"},
  };
  const auto cues = OpeningCues();
  ASSERT_EQ(cues.size(), std::size(expected));
  for (std::size_t i = 0; i < cues.size(); ++i) {
    EXPECT_EQ(Hex(Gbk(cues[i].text)), Hex(FromHex(expected[i][0]))) << "cue " << i + 1;
    EXPECT_EQ(std::to_string(static_cast<int>(cues[i].divisor)), expected[i][1]) << "cue " << i + 1;
  }
}

TEST(QuestionCues, ThreeWordsDivideByTwo) {
  const char* const expected[] = {"CA C7 B7 F1", "C8 E7 BA CE", "BB E1 B2 BB BB E1"};
  const auto cues = QuestionCues();
  ASSERT_EQ(cues.size(), std::size(expected));
  for (std::size_t i = 0; i < cues.size(); ++i) {
    EXPECT_EQ(Hex(Gbk(cues[i].text)), Hex(FromHex(expected[i]))) << "cue " << i + 1;
    EXPECT_EQ(cues[i].divisor, 2) << "cue " << i + 1;
  }
}

// Keywords of rows 1 to 7 with weights 12, 7, 6, 5, 4, 3 and 2 (row 7 is never read).
const std::vector<std::pair<const char*, const char*>> kSevenKeywords = {
    {"甲甲", "12"}, {"乙乙", "7"}, {"丙丙", "6"}, {"丁丁", "5"},
    {"戊戊", "4"},  {"己己", "3"}, {"庚庚", "2"},
};

TEST(ScoreSentences, KeywordsAndCues) {
  struct Case {
    const char* name;
    const char* sentence;
    const char* score;
  };
  const Case cases[] = {
      {"worked example: (1 + 12 + 5) / 3 / 3", "三、甲甲和丁丁都在。", "2"},
      {"no keyword, no cue", "这里什么都没有。", "1"},
      {"the six heaviest keywords", "甲甲乙乙丙丙丁丁戊戊己己。", "38"},
      {"the seventh keyword adds nothing", "庚庚在这里出现。", "1"},
      {"a keyword three times adds once", "甲甲甲甲甲甲。", "13"},
      {"一、 divides by 9", "一、开始。", "0.1111111111111"},
      {"二： divides by 6", "二：然后。", "0.1666666666667"},
      {"十一 divides by 9", "十一个人。", "0.1111111111111"},
      {"第一 divides by 3", "第一个人。", "0.3333333333333"},
      {"一些 divides by 3", "一些人来了。", "0.3333333333333"},
      {"三 as the third character is not a cue", "我们三个人。", "1"},
      {"我们…一 is not divided", "我们一起走。", "1"},
      {"：alone divides by 2", "：以下。", "0.5"},
      {"Arabic digits are no cue", "12个人来了。", "1"},
      {"是否 anywhere divides by 2", "他明天是否来。", "0.5"},
      {"如何 divides by 2", "我们如何做。", "0.5"},
      {"会不会 divides by 2", "我们明天会不会下雨。", "0.5"},
      {"a final ？ divides by 5", "明天下雨吗？", "0.2"},
      {"？ not at the end is no cue", "下雨吗？是的。", "1"},
      {"cues compound: 是否 and ？", "他是否会来？", "0.1"},
      {"all question cues", "是否如何会不会？", "0.025"},
      {"opening and question cues", "一、他是否来？", "0.01111111111111"},
      {"keywords before cues", "是否甲甲？", "1.3"},
      {"empty sentence keeps 1", "", "1"},
  };
  for (const Case& c : cases) {
    Fixture f;
    for (const auto& [term, weight] : kSevenKeywords) f.Keywords({{Zh(term), weight}});
    EXPECT_EQ(f.Score(Zh(c.sentence)), c.score) << c.name;
  }
}

TEST(ScoreSentences, FewerThanSixKeywordsAndNone) {
  Fixture f;
  EXPECT_EQ(f.Score(Zh("甲甲乙乙。")), "1");
  f.Keywords({{Zh("甲甲"), "4"}, {Zh("乙乙"), "2"}});
  EXPECT_EQ(f.Score(Zh("甲甲乙乙。")), "7");
  EXPECT_EQ(f.Score(Zh("一甲甲乙乙。")), "2.333333333333");
}

// English keywords match in any letter case and inside longer words; ASCII openings never
// divide, and "?" is no cue.
TEST(ScoreSentences, EnglishSentences) {
  Fixture f;
  f.Keywords({{"market", "6"}, {"company", "3"}, {"bank", "2"}});
  EXPECT_EQ(f.Score("Markets rose in the embankment area."), "9");
  EXPECT_EQ(f.Score("Two companies merged?"), "1");
  EXPECT_EQ(f.Score("COMPANY: ten said yes."), "4");
}

// Every row is scored (4 / 3 / 3 reads back as 0.4444444444443: each quotient is kept to 13
// significant digits); the other columns and the row order stay as they were.
TEST(ScoreSentences, ScoresEveryRowInPlace) {
  Fixture f;
  f.Keywords({{Zh("甲甲"), "3"}});
  const std::vector<ByteText> sentences = {Zh("甲甲来了。"), "", Zh("一、甲甲。"), Zh("没有。")};
  for (std::size_t i = 0; i < sentences.size(); ++i) {
    f.ws.sentenceTable.AppendRow(sentences[i]);
    f.ws.sentenceTable.SetCell(static_cast<int>(i), 1, "1");
    f.ws.sentenceTable.SetCell(static_cast<int>(i), 2, std::to_string(i + 1));
  }
  ScoreSentences(f.ws);
  EXPECT_EQ(Column(f.ws.sentenceTable, 1),
            (std::vector<ByteText>{"4", "1", "0.4444444444443", "1"}));
  EXPECT_EQ(Column(f.ws.sentenceTable, 0), sentences);
  EXPECT_EQ(Column(f.ws.sentenceTable, 2), (std::vector<ByteText>{"1", "2", "3", "4"}));
  EXPECT_EQ(f.ws.keywordTable.GetCell(0, 1), "3");
}

}  // namespace
}  // namespace sumvelo
