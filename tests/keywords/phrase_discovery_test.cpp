#include "keywords/phrase_discovery.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "stage_support.h"
#include "text/gbk_literal.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

using testing::FromHex;
using testing::Hex;
using testing::RecordingControls;
using testing::Zh;

using Stage = void (*)(Workspace&);
const std::pair<const char*, Stage> kStages[] = {
    {"DiscoverPhrases", DiscoverPhrases},
    {"DiscoverPhrasesLiteral", DiscoverPhrasesLiteral},
};

// Row renders the keyword table as "term:weight" lines with terms in hex.
std::vector<std::string> KeywordRows(const WorkTable& t) {
  std::vector<std::string> out;
  for (int r = 0; r < t.RowCount(); ++r) out.push_back(Hex(t.GetCell(r, 0)) + ":" + t.GetCell(r, 1));
  return out;
}

struct PhraseRun {
  RecordingControls controls;
  Workspace ws{controls};

  PhraseRun(Stage stage, const ByteText& termText) {
    ws.workingText = termText;
    RebuildCharSequence(ws);
    stage(ws);
  }
};

// RebuildCharSequence: two bytes from a byte above 0x7F whatever follows, one byte otherwise; a
// final byte above 0x7F alone is an element of its own.
TEST(RebuildCharSequence, CutsOneAndTwoByteCharacters) {
  struct Case {
    const char* hex;
    std::vector<const char*> elements;
  };
  const Case cases[] = {
      {"", {}},
      {"61 20 09", {"61", "20", "09"}},
      {"D6 D0 61 B9 FA", {"D6 D0", "61", "B9 FA"}},
      {"81 41 80 20", {"81 41", "80 20"}},  // second bytes below 0x80 stay with their first
      {"61 D6", {"61", "D6"}},              // lone final byte
      {"D6", {"D6"}},
  };
  for (const Case& c : cases) {
    HeadlessControls controls;
    Workspace ws(controls);
    ws.charSequence.Append("stale");
    ws.workingText = FromHex(c.hex);
    RebuildCharSequence(ws);
    std::vector<std::string> got, want;
    for (const ByteText& e : ws.charSequence.Items()) got.push_back(Hex(e));
    for (const char* e : c.elements) want.push_back(Hex(FromHex(e)));
    EXPECT_EQ(got, want) << c.hex;
  }
}

// The worked examples. X Y Z U V W P Q R T are ten different characters.
TEST(DiscoverPhrases, WorkedExamples) {
  struct Case {
    const char* name;
    const char* termText;
    std::vector<std::pair<const char*, const char*>> rows;  // term, weight
    const char* keywordLine;
  };
  const Case cases[] = {
      {"three copies count two", "甲乙 甲乙 甲乙 丙", {}, "关键词：    "},
      {"four copies count three", "甲乙 甲乙 甲乙 甲乙 丙", {{"甲乙", "3"}}, "关键词： 甲乙   "},
      {"longer phrase folded into the shorter one, final space",
       "甲乙丙丁 甲乙丙丁 甲乙丙丁 戊己庚辛 甲乙 甲乙 甲乙 壬癸 ",
       {{"甲乙", "6"}},
       "关键词： 甲乙   "},
      {"without the final space the last pair is never examined",
       "甲乙丙丁 甲乙丙丁 甲乙丙丁 戊己庚辛 甲乙 甲乙 甲乙 壬癸",
       {{"甲乙丙丁", "3"}},
       "关键词： 甲乙丙丁   "},
      {"a space never lies inside a candidate", "甲 乙 甲 乙 甲 乙 甲 乙 丙", {}, "关键词：    "},
      {"a tab does", "甲\t乙 甲\t乙 甲\t乙 甲\t乙 丙", {{"甲\t乙", "3"}}, "关键词： 甲\t乙   "},
      {"and so does a line break", "甲\r\n乙 甲\r\n乙 甲\r\n乙 甲\r\n乙 丙", {{"甲\r\n乙", "3"}},
       "关键词： 甲\r\n乙   "},
      {"这个 is filtered", "这个 这个 这个 这个 丙", {}, "关键词：    "},
      {"rows with 这个 next to each other all go",
       "这个甲 这个甲 这个甲 这个甲 这个乙 这个乙 这个乙 这个乙 这个丙 这个丙 这个丙 这个丙 丁戊己 ",
       {},
       "关键词：    "},
      {"merged rows next to each other all go",
       "甲乙丙 甲乙丙 甲乙丙 甲乙丙 甲乙丁 甲乙丁 甲乙丁 甲乙丁 甲乙 甲乙 甲乙 甲乙 戊",
       {{"甲乙", "10"}},
       "关键词： 甲乙   "},
      {"case-insensitive find, exact replace: 8 then 12",
       "AB甲 AB甲 AB甲 AB甲 ab甲 ab甲 ab甲 ab甲 壬癸子 ",
       {{"ab甲", "12"}, {"AB甲", "8"}},
       "关键词： ab甲 AB甲  "},
      {"ranked by weight", "丙丁 甲乙 甲乙 甲乙 甲乙 甲乙 丙丁 丙丁 丙丁 戊",
       {{"甲乙", "5"}, {"丙丁", "3"}},
       "关键词： 甲乙 丙丁  "},
      {"the probe row: one character eight times", "甲甲甲甲甲甲甲甲", {{"甲甲甲甲", "3"}},
       "关键词： "},
      {"empty term text", "", {}, "关键词： "},
  };
  for (const auto& [stageName, stage] : kStages) {
    for (const Case& c : cases) {
      PhraseRun run(stage, Zh(c.termText));
      std::vector<std::string> want;
      for (const auto& [term, weight] : c.rows) want.push_back(Hex(Zh(term)) + ":" + weight);
      EXPECT_EQ(KeywordRows(run.ws.keywordTable), want) << stageName << ": " << c.name;
      EXPECT_EQ(Hex(run.controls.Text(Control::标签3)), Hex(Zh(c.keywordLine)))
          << stageName << ": " << c.name;
    }
  }
}

// The accepted phrases are cut out of the working text one space each, and the character
// sequence is left matching the text.
TEST(DiscoverPhrases, CutsAcceptedPhrasesOutOfTheWorkingText) {
  for (const auto& [stageName, stage] : kStages) {
    PhraseRun run(stage, Zh("甲乙丙丁 甲乙丙丁 甲乙丙丁 戊己庚辛 甲乙 甲乙 甲乙 壬癸 "));
    EXPECT_EQ(Hex(run.ws.workingText), Hex(Zh("      戊己庚辛       壬癸 "))) << stageName;
    ByteText joined;
    for (const ByteText& e : run.ws.charSequence.Items()) joined += e;
    EXPECT_EQ(Hex(joined), Hex(run.ws.workingText)) << stageName;
  }
}

// The progress line after each of the sixteen passes, even when nothing is found.
TEST(DiscoverPhrases, ShowsProgressAfterEveryPass) {
  const std::vector<ByteText> expected = {"6%",  "12%", "18%", "25%", "31%", "37%", "43%", "50%",
                                          "56%", "62%", "68%", "75%", "81%", "87%", "93%", "100%"};
  for (const auto& [stageName, stage] : kStages) {
    for (const char* text : {"", "甲乙 甲乙 甲乙 甲乙 丙"}) {
      PhraseRun run(stage, Zh(text));
      EXPECT_EQ(run.controls.statsWrites, expected) << stageName << " on '" << text << "'";
    }
  }
}

// The stage empties the table it fills: rows of an earlier run never survive.
TEST(DiscoverPhrases, EmptiesTheKeywordTableFirst) {
  for (const auto& [stageName, stage] : kStages) {
    RecordingControls controls;
    Workspace ws(controls);
    ws.keywordTable.AppendRow("old");
    ws.keywordTable.SetCell(0, 1, "99");
    ws.workingText = Zh("甲乙 丙丁");
    RebuildCharSequence(ws);
    stage(ws);
    EXPECT_EQ(ws.keywordTable.RowCount(), 0) << stageName;
  }
}

// Properties that hold for every term text: no surviving term holds "、" or "这个", none can be
// found (exactly) in the working text left behind, weights are whole numbers of at least 3, and
// both functions agree. Texts are drawn from a tiny alphabet so that repeats are common.
TEST(DiscoverPhrases, PropertiesOnGeneratedTermTexts) {
  const std::vector<ByteText> alphabet = {Zh("甲"), Zh("乙"), Zh("这"), Zh("个"), " ", "A", "a"};
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    ByteText text;
    const int n = static_cast<int>(rng() % 40);
    for (int k = 0; k < n; ++k) text += alphabet[rng() % alphabet.size()];
    std::vector<std::string> results;
    for (const auto& [stageName, stage] : kStages) {
      PhraseRun run(stage, text);
      const WorkTable& t = run.ws.keywordTable;
      for (int r = 0; r < t.RowCount(); ++r) {
        const ByteText term = t.GetCell(r, 0);
        EXPECT_EQ(FindText(term, Gbk("、"), true), -1) << Hex(text);
        EXPECT_EQ(FindText(term, Gbk("这个"), true), -1) << Hex(text);
        EXPECT_EQ(run.ws.workingText.find(term), std::string::npos)
            << stageName << " left " << Hex(term) << " in the text; input " << Hex(text);
        EXPECT_GE(std::stoi(t.GetCell(r, 1)), 3) << Hex(text);
      }
      results.push_back(testing::Rows(t) + "|" + Hex(run.ws.workingText) + "|" +
                        Hex(run.controls.Text(Control::标签3)));
    }
    ASSERT_EQ(results[0], results[1]) << "input " << Hex(text);
  }
}

}  // namespace
}  // namespace sumvelo
