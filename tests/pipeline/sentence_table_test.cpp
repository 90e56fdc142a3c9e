#include "pipeline/sentence_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "stage_support.h"
#include "text/gbk_literal.h"

namespace sumvelo {
namespace {

using testing::Column;
using testing::FromHex;
using testing::Hex;
using testing::Rows;
using testing::Zh;

const ByteText kMark = FromHex("A1 FE");

std::vector<std::string> HexColumn(const WorkTable& t, int column) {
  std::vector<std::string> out;
  for (const ByteText& cell : Column(t, column)) out.push_back(Hex(cell));
  return out;
}

struct Fixture {
  HeadlessControls controls;
  Workspace ws{controls};

  void Split(const ByteText& marked) {
    ws.workingText = marked;
    SplitSentences(ws);
  }
  void SetSentences(const std::vector<ByteText>& sentences) {
    ws.sentenceTable.DeleteAllRows();
    for (const ByteText& s : sentences) ws.sentenceTable.AppendRow(s);
  }
};

// ---------------------------------------------------------------------------------------------
// SplitSentences

TEST(SplitSentences, SegmentOfFourteenBytesIsASentenceThirteenIsNot) {
  Fixture f;
  // Seven Chinese characters (14 bytes) and six plus an ASCII letter (13 bytes).
  const ByteText seven = Zh("今天天气很好。"), thirteen = Zh("a今天天气很好");
  ASSERT_EQ(seven.size(), 14u);
  ASSERT_EQ(thirteen.size(), 13u);
  f.Split(thirteen + kMark + seven + kMark);
  EXPECT_EQ(HexColumn(f.ws.sentenceTable, 0), std::vector<std::string>{Hex(seven)});
  EXPECT_EQ(HexColumn(f.ws.sentenceTable, 1), std::vector<std::string>{"31"});  // "1"
  EXPECT_EQ(HexColumn(f.ws.sentenceTable, 2), std::vector<std::string>{"31"});  // "1"
}

TEST(SplitSentences, TextAfterTheLastMarkIsLost) {
  Fixture f;
  f.Split(Zh("第一句话已经结束。〓最后一句没有结束"));
  ASSERT_EQ(f.ws.sentenceTable.RowCount(), 1);
  EXPECT_EQ(Hex(f.ws.sentenceTable.GetCell(0, 0)), Hex(Zh("第一句话已经结束。")));

  f.Split(Zh("没有任何句子标记的一段文字"));
  EXPECT_EQ(f.ws.sentenceTable.RowCount(), 0);
}

// Dropped segments (empty, short) take no sequence number; every row gets score "1".
TEST(SplitSentences, SequenceNumbersStayDense) {
  Fixture f;
  f.Split(Zh("〓〓短句〓第一句话足够长了。〓。〓第二句话也够长了。〓好〓第三句话还是够长。〓"));
  EXPECT_EQ(HexColumn(f.ws.sentenceTable, 0),
            (std::vector<std::string>{Hex(Zh("第一句话足够长了。")), Hex(Zh("第二句话也够长了。")),
                                      Hex(Zh("第三句话还是够长。"))}));
  EXPECT_EQ(Column(f.ws.sentenceTable, 1), (std::vector<ByteText>{"1", "1", "1"}));
  EXPECT_EQ(Column(f.ws.sentenceTable, 2), (std::vector<ByteText>{"1", "2", "3"}));
}

// The mark is looked for at every byte: 啊 (B0 A1) followed by a character whose first byte is
// FE (FE 50) holds A1 FE across the two, and the text is cut inside both characters.
TEST(SplitSentences, MarkBytesAcrossTwoCharactersCut) {
  Fixture f;
  const ByteText head = Zh("一二三四五六七");                      // 14 bytes
  const ByteText tail = FromHex("41 42 43 44 45 46 47 48 49 4A 4B 4C 4D");  // 13 bytes
  f.Split(head + FromHex("B0 A1 FE 50") + tail + kMark);
  ASSERT_EQ(f.ws.sentenceTable.RowCount(), 2);
  EXPECT_EQ(Hex(f.ws.sentenceTable.GetCell(0, 0)), Hex(head + FromHex("B0")));  // lone first byte
  EXPECT_EQ(Hex(f.ws.sentenceTable.GetCell(1, 0)), Hex(FromHex("50") + tail));  // lone second byte
}

TEST(SplitSentences, RepeatsAreBlankedButKeepTheirRow) {
  Fixture f;
  const ByteText a = Zh("这一句话会重复出现。"), b = Zh("这一句话只出现一次。");
  f.Split(a + kMark + b + kMark + a + kMark + a + kMark);
  EXPECT_EQ(HexColumn(f.ws.sentenceTable, 0),
            (std::vector<std::string>{Hex(a), Hex(b), "(empty)", "(empty)"}));
  EXPECT_EQ(Column(f.ws.sentenceTable, 1), (std::vector<ByteText>{"1", "1", "1", "1"}));
  EXPECT_EQ(Column(f.ws.sentenceTable, 2), (std::vector<ByteText>{"1", "2", "3", "4"}));
}

// Equality is byte for byte: sentences that differ only in letter case are both kept.
TEST(SplitSentences, RepeatsDifferingInCaseAreKept) {
  Fixture f;
  f.Split(ByteText("The market rose.") + kMark + "the market rose." + kMark);
  EXPECT_EQ(Column(f.ws.sentenceTable, 0),
            (std::vector<ByteText>{"The market rose.", "the market rose."}));
}

// The set-based blanking against the pairwise comparison, on tables drawn from a few texts
// (empty cells and case variants included) so that repeats are frequent.
TEST(BlankRepeatedSentences, AgreesWithTheLiteralComparisonOnGeneratedTables) {
  const std::vector<ByteText> pool = {"", "aaaaaaaaaaaaaa", "AAAAAAAAAAAAAA", Zh("重复的句子出现了。"),
                                      Zh("另一个句子出现了。"), "bbbbbbbbbbbbbbbb"};
  std::mt19937 rng(20240611);
  for (int round = 0; round < 2000; ++round) {
    const int n = static_cast<int>(rng() % 9);
    WorkTable fast(3), literal(3);
    for (int r = 0; r < n; ++r) {
      const ByteText& s = pool[rng() % pool.size()];
      for (WorkTable* t : {&fast, &literal}) {
        t->AppendRow(s);
        t->SetCell(r, 1, "1");
        t->SetCell(r, 2, std::to_string(r + 1));
      }
    }
    const std::string before = Rows(fast);
    BlankRepeatedSentences(fast);
    BlankRepeatedSentencesLiteral(literal);
    ASSERT_EQ(Rows(fast), Rows(literal)) << "table before:\n" << before;
  }
}

// ---------------------------------------------------------------------------------------------
// TrimSentences

TEST(TrimSentences, ChineseBracketsLeadInsAndTheirOrder) {
  struct Case {
    const char* name;
    const char* sentence;
    const char* expected;
  };
  const Case cases[] = {
      {"full-width pair, then ASCII pair", "甲（注释）乙丙(note)丁。", "甲乙丙丁。"},
      {"two full-width pairs go, a third stays", "甲（一）乙（二）丙（三）丁。", "甲乙丙（三）丁。"},
      {"four ASCII pairs go, a fifth stays", "甲(1)乙(2)丙(3)丁(4)戊(5)己。", "甲乙丙丁戊(5)己。"},
      {"closing before opening: unchanged", "甲）乙（丙丁戊己。", "甲）乙（丙丁戊己。"},
      {"opening without closing: unchanged", "甲（乙丙丁戊己庚。", "甲（乙丙丁戊己庚。"},
      {"ASCII closing before opening: unchanged", "甲)乙(丙)丁戊己。", "甲)乙(丙)丁戊己。"},
      {"ASCII opening without closing: unchanged", "甲(乙丙丁戊己庚。", "甲(乙丙丁戊己庚。"},
      {"first pair removed, then the rest is out of order", "(a)b)c(d甲乙丙丁。", "b)c(d甲乙丙丁。"},
      {"comma at byte 9 is a lead-in", "一二三四，五六七八九十。", "五六七八九十。"},
      {"comma at byte 10 is not", "a一二三四，五六七八九。", "a一二三四，五六七八九。"},
      {"comma at byte 11 is not", "一二三四五，六七八九十。", "一二三四五，六七八九十。"},
      {"only the first comma counts", "一，二三，四五六七八九。", "二三，四五六七八九。"},
      {"lead-in looked for after the brackets", "甲（很长很长的注释）乙，丙丁戊己庚辛。",
       "丙丁戊己庚辛。"},
      {"comma as the last bytes leaves an empty sentence", "一二三四，", ""},
      {"ASCII comma is no Chinese lead-in", "一二,三四五六七八九十。", "一二,三四五六七八九十。"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.SetSentences({Zh(c.sentence)});
    TrimSentences(f.ws, TextLanguage::Chinese);
    EXPECT_EQ(Hex(f.ws.sentenceTable.GetCell(0, 0)), Hex(Zh(c.expected))) << c.name;
  }
}

TEST(TrimSentences, EnglishBracketsAndLeadIns) {
  struct Case {
    const char* name;
    ByteText sentence;
    ByteText expected;
  };
  const Case cases[] = {
      {"ASCII pair", "Prices (in dollars) rose.", "Prices  rose."},
      {"full-width brackets stay in English", Zh("Prices（注）rose (a) well."), Zh("Prices（注）rose  well.")},
      {"ten-letter lead-in, comma at byte 11", "Yesterday1, prices rose.", "prices rose."},
      {"comma directly followed by a letter loses it", "Yesterday1,prices rose.", "rices rose."},
      {"comma at byte 20 is a lead-in", "abcdefghijklmnopqrs, prices rose.", "prices rose."},
      {"comma at byte 21 is not", "abcdefghijklmnopqrst, prices rose.", "abcdefghijklmnopqrst, prices rose."},
      {"comma as the last byte", "Well,", ""},
      {"comma and one byte at the end", "Well, ", ""},
      {"closing before opening: unchanged", "a) b (c) d e f g h", "a) b (c) d e f g h"},
      {"Chinese comma is no English lead-in", Zh("Well，prices rose."), Zh("Well，prices rose.")},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.SetSentences({c.sentence});
    TrimSentences(f.ws, TextLanguage::English);
    EXPECT_EQ(Hex(f.ws.sentenceTable.GetCell(0, 0)), Hex(c.expected)) << c.name;
  }
}

// Every row is trimmed; rows never go away, even when trimming empties them; scores and sequence
// numbers stay.
TEST(TrimSentences, KeepsEveryRowAndItsOtherColumns) {
  Fixture f;
  f.Split(Zh("一二三四，五六七八九十。〓好好，〓") + Zh("(一二三四五六七八九)〓一二三四五六七八九十。〓"));
  ASSERT_EQ(f.ws.sentenceTable.RowCount(), 3);
  TrimSentences(f.ws, TextLanguage::Chinese);
  EXPECT_EQ(HexColumn(f.ws.sentenceTable, 0),
            (std::vector<std::string>{Hex(Zh("五六七八九十。")), "(empty)",
                                      Hex(Zh("一二三四五六七八九十。"))}));
  EXPECT_EQ(Column(f.ws.sentenceTable, 1), (std::vector<ByteText>{"1", "1", "1"}));
  EXPECT_EQ(Column(f.ws.sentenceTable, 2), (std::vector<ByteText>{"1", "2", "3"}));
}

// ---------------------------------------------------------------------------------------------
// RebuildWorkingText

TEST(RebuildWorkingText, JoinsRowsWithoutSeparatorAndDropsMarks) {
  Fixture f;
  f.ws.workingText = "left over";
  f.SetSentences({Zh("甲乙。"), "", Zh("丙〓丁！"), "end."});
  RebuildWorkingText(f.ws);
  EXPECT_EQ(Hex(f.ws.workingText), Hex(Zh("甲乙。丙丁！end.")));

  f.SetSentences({});
  RebuildWorkingText(f.ws);
  EXPECT_EQ(f.ws.workingText, "");
}

// The three operations in their order on a marked Chinese text.
TEST(SentenceTable, SplitTrimRebuildInOrder) {
  Fixture f;
  f.Split(Zh("专家认为，电池技术（锂电）很重要。〓据说。〓今天的天气很好啊。〓专家认为，电池技术（锂电）很重要。〓尾巴"));
  TrimSentences(f.ws, TextLanguage::Chinese);
  RebuildWorkingText(f.ws);
  EXPECT_EQ(HexColumn(f.ws.sentenceTable, 0),
            (std::vector<std::string>{Hex(Zh("电池技术很重要。")), Hex(Zh("今天的天气很好啊。")),
                                      "(empty)"}));
  EXPECT_EQ(Hex(f.ws.workingText), Hex(Zh("电池技术很重要。今天的天气很好啊。")));
}

}  // namespace
}  // namespace sumvelo
