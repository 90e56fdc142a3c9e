#include "summary/summary_assembly.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stage_support.h"

namespace sumvelo {
namespace {

using testing::Column;
using testing::Hex;
using testing::Zh;

ByteText Times(const char* character, int n) {
  ByteText out;
  for (int k = 0; k < n; ++k) out += Zh(character);
  return out;
}

struct Sentence {
  ByteText text;
  ByteText score;
  ByteText sequence;
};

struct Fixture {
  HeadlessControls controls;
  Workspace ws{controls};

  // Fills the sentence table (rows in the order given) and assembles.
  void Assemble(const std::vector<Sentence>& rows, int selectedIndex = 0) {
    for (const Sentence& s : rows) {
      ws.sentenceTable.AppendRow(s.text);
      ws.sentenceTable.SetCell(ws.sentenceTable.RowCount() - 1, 1, s.score);
      ws.sentenceTable.SetCell(ws.sentenceTable.RowCount() - 1, 2, s.sequence);
    }
    controls.SetSelectedIndex(selectedIndex);
    controls.WriteControlText(Control::编辑框1, "old summary");
    AssembleSummary(ws);
  }
  ByteText Summary() const { return controls.Text(Control::编辑框1); }
};

TEST(LengthLimitFromIndex, EveryIndex) {
  EXPECT_EQ(LengthLimitFromIndex(0), 200);
  EXPECT_EQ(LengthLimitFromIndex(1), 300);
  EXPECT_EQ(LengthLimitFromIndex(2), 400);
  EXPECT_EQ(LengthLimitFromIndex(3), 500);
  EXPECT_EQ(LengthLimitFromIndex(-1), 300);
  EXPECT_EQ(LengthLimitFromIndex(4), 300);
}

// 150, 50 and 10 characters under "<200字": the first two fill the 400 bytes exactly and are
// taken, the third would make 410 and is not; the two stand in body order.
TEST(AssembleSummary, JoinedLengthEqualToTheBudgetFits) {
  Fixture f;
  const ByteText a = Times("甲", 150), b = Times("乙", 50), c = Times("丙", 10);
  f.Assemble({{b, "5", "1"}, {a, "9", "2"}, {c, "2", "3"}});
  EXPECT_EQ(Hex(f.Summary()), Hex(b + a));
  EXPECT_EQ(f.ws.selectionTable.RowCount(), 2);
}

// 150, 60 and 10: the second does not fit and ends the selection; the short third is not tried.
TEST(AssembleSummary, FirstSentenceThatDoesNotFitEndsTheSelection) {
  Fixture f;
  const ByteText a = Times("甲", 150), b = Times("乙", 60), c = Times("丙", 10);
  f.Assemble({{a, "9", "1"}, {b, "5", "2"}, {c, "2", "3"}});
  EXPECT_EQ(Hex(f.Summary()), Hex(a));
}

TEST(AssembleSummary, BestSentenceTooLongGivesAnEmptySummary) {
  Fixture f;
  f.Assemble({{Times("甲", 201), "9", "1"}, {Times("乙", 10), "5", "2"}, {Times("丙", 10), "2", "3"}});
  EXPECT_EQ(f.Summary(), "");
  EXPECT_EQ(f.ws.selectionTable.RowCount(), 0);
}

TEST(AssembleSummary, EmptyTableGivesEmptySummaryAndSelection) {
  Fixture f;
  f.ws.selectionTable.AppendRow("stale");
  f.Assemble({});
  EXPECT_EQ(f.Summary(), "");
  EXPECT_EQ(f.ws.selectionTable.RowCount(), 0);
}

// The drop-down index is read as the limit: -1 (no selection) and unknown indices give 300
// characters, 3 gives 500.
TEST(AssembleSummary, LimitFromTheDropDown) {
  struct Case {
    int index;
    int fits;  // the longest sentence, in characters, that is still taken
  };
  for (const Case c : {Case{0, 200}, Case{1, 300}, Case{2, 400}, Case{3, 500}, Case{-1, 300},
                       Case{7, 300}}) {
    Fixture in, out;
    in.Assemble({{Times("甲", c.fits), "2", "1"}}, c.index);
    out.Assemble({{Times("甲", c.fits + 1), "2", "1"}}, c.index);
    EXPECT_EQ(in.Summary().size(), static_cast<std::size_t>(2 * c.fits)) << "index " << c.index;
    EXPECT_EQ(out.Summary(), "") << "index " << c.index;
  }
}

// An English summary under "<200字" may hold 400 ASCII characters.
TEST(AssembleSummary, EnglishBudgetIsBytes) {
  Fixture f;
  const ByteText a(300, 'a'), b(100, 'b'), c(1, 'c');
  f.Assemble({{a, "3", "1"}, {b, "2", "2"}, {c, "1", "3"}});
  EXPECT_EQ(f.Summary(), a + b);
}

// Chosen in rank order 7, 2, 5, joined in body order 2, 5, 7; the selection table holds them in
// body order with keys 999999 minus the sequence number.
TEST(AssembleSummary, RestoresBodyOrder) {
  Fixture f;
  f.Assemble({{Zh("第二句。"), "4", "2"}, {Zh("第七句。"), "9", "7"}, {Zh("第五句。"), "2.5", "5"}});
  EXPECT_EQ(Hex(f.Summary()), Hex(Zh("第二句。第五句。第七句。")));
  EXPECT_EQ(Column(f.ws.selectionTable, 0),
            (std::vector<ByteText>{Zh("第二句。"), Zh("第五句。"), Zh("第七句。")}));
  EXPECT_EQ(Column(f.ws.selectionTable, 1), (std::vector<ByteText>{"999997", "999994", "999992"}));
}

// After the stage the sentence table stands in rank order with ranks 1, 2, 3, … in column 1;
// the sentences and sequence numbers moved with their rows. Only the integer part of a score
// counts, and equal keys keep their order (3.1 before 3.7 when it stood first).
TEST(AssembleSummary, RanksReplaceScores) {
  Fixture f;
  f.Assemble({{"s1", "3.1", "1"}, {"s2", "3.7", "2"}, {"s3", "12", "3"}, {"s4", "0.4", "4"},
              {"", "1", "5"}});
  EXPECT_EQ(Column(f.ws.sentenceTable, 0), (std::vector<ByteText>{"s3", "s1", "s2", "", "s4"}));
  EXPECT_EQ(Column(f.ws.sentenceTable, 1), (std::vector<ByteText>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(Column(f.ws.sentenceTable, 2), (std::vector<ByteText>{"3", "1", "2", "5", "4"}));
  EXPECT_EQ(f.Summary(), "s1s2s3s4");
  EXPECT_EQ(f.ws.selectionTable.RowCount(), 5);  // the blank row is chosen like any other
}

TEST(AssembleSummary, CleansQuotationMarksAndSemicolons) {
  struct Case {
    const char* name;
    ByteText sentence;
    ByteText summary;
  };
  const Case cases[] = {
      {"curly double quotes go", Zh("他说“明天见。”"), Zh("他说明天见。")},
      {"full-width semicolon becomes a stop", Zh("甲乙丙丁；"), Zh("甲乙丙丁。")},
      {"ASCII double quote goes", "\"Go now.\"", "Go now."},
      {"single quotes and ASCII semicolons stay", Zh("‘甲’乙;丙'"), Zh("‘甲’乙;丙'")},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.Assemble({{c.sentence, "2", "1"}});
    EXPECT_EQ(Hex(f.Summary()), Hex(c.summary)) << c.name;
    EXPECT_EQ(Hex(f.ws.selectionTable.GetCell(0, 0)), Hex(c.sentence)) << c.name;
  }
}

// The budget is measured before the clean-up: quotes count although they are removed later.
TEST(AssembleSummary, BudgetCountsQuotesBeforeCleanUp) {
  Fixture f;
  const ByteText quoted = Zh("“") + Times("甲", 198) + Zh("”");  // 400 bytes
  f.Assemble({{quoted, "3", "1"}, {Zh("乙"), "2", "2"}});
  EXPECT_EQ(Hex(f.Summary()), Hex(Times("甲", 198)));
}

}  // namespace
}  // namespace sumvelo
