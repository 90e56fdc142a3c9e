// The fast phrase stages against the literal ones, on generated inputs chosen to hit the edges:
// tiny alphabets with many repeats, long repeated runs (every pass length), spaces, tabs and
// line breaks, ASCII in mixed case, two-byte characters whose second byte is an ASCII letter
// or a space, the merge mark and the excluded word, and a lone first byte at the very end.
// A difference is shrunk to the smallest input that still shows it, which the failure prints.
#include "keywords/phrase_discovery_fast.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "keywords/english_terms.h"
#include "keywords/phrase_discovery.h"
#include "stage_support.h"
#include "text/gbk_literal.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

using testing::FromHex;
using testing::Hex;
using testing::RecordingControls;
using testing::Rows;
using testing::Zh;

// Shrink removes bytes from `input`, one run at a time from long runs to single bytes, for as
// long as `fails` stays true, and returns the smallest failing input it reached.
ByteText Shrink(ByteText input, const std::function<bool(const ByteText&)>& fails) {
  for (std::size_t chunk = input.size() / 2; chunk >= 1; chunk /= 2) {
    bool progress = true;
    while (progress) {
      progress = false;
      for (std::size_t at = 0; at + chunk <= input.size(); ++at) {
        ByteText smaller = input.substr(0, at) + input.substr(at + chunk);
        if (fails(smaller)) {
          input = std::move(smaller);
          progress = true;
          break;
        }
      }
    }
  }
  return input;
}

// Outcome is everything a phrase stage leaves behind that anyone can see.
std::string Outcome(void (*stage)(Workspace&), const ByteText& termText) {
  RecordingControls controls;
  Workspace ws(controls);
  ws.workingText = termText;
  RebuildCharSequence(ws);
  stage(ws);
  std::string out = "keywords:\n" + Rows(ws.keywordTable) + "working text: " + Hex(ws.workingText) +
                    "\nchar sequence:";
  for (const ByteText& e : ws.charSequence.Items()) out += " [" + Hex(e) + "]";
  out += "\n标签2:";
  for (const ByteText& s : controls.statsWrites) out += " " + s;
  out += "\n标签3: " + Hex(controls.Text(Control::标签3)) + "\n";
  return out;
}

bool StagesDiffer(const ByteText& termText) {
  return Outcome(DiscoverPhrasesLiteral, termText) != Outcome(DiscoverPhrases, termText);
}

// ExpectSameAsLiteral compares the two discoveries on one term text and, on a difference,
// reports the smallest input that still shows one.
void ExpectSameAsLiteral(const ByteText& termText, const std::string& what) {
  const std::string literal = Outcome(DiscoverPhrasesLiteral, termText);
  const std::string fast = Outcome(DiscoverPhrases, termText);
  if (literal == fast) return;
  const ByteText smallest = Shrink(termText, StagesDiffer);
  ADD_FAILURE() << what << ": DiscoverPhrases differs from DiscoverPhrasesLiteral on\n  "
                << Hex(termText) << "\nsmallest input that differs:\n  " << Hex(smallest)
                << "\nliteral:\n" << Outcome(DiscoverPhrasesLiteral, smallest) << "fast:\n"
                << Outcome(DiscoverPhrases, smallest);
}

// Generators. An alphabet is a list of elements (texts of one or two bytes); a text is built
// from words of the alphabet so that repeats are common, and words are repeated whole so that
// runs long enough for every pass length occur.
struct Profile {
  const char* name;
  std::vector<ByteText> alphabet;
  int maxWordLength;
};

std::vector<Profile> Profiles() {
  const ByteText jia = Zh("甲"), yi = Zh("乙"), bing = Zh("丙"), ding = Zh("丁");
  return {
      {"two characters", {jia, yi}, 4},
      {"three characters", {jia, yi, bing}, 6},
      {"four characters and long words", {jia, yi, bing, ding}, 20},
      {"ASCII in mixed case", {"a", "A", "b", "B", jia}, 5},
      {"tabs and line breaks", {jia, yi, "\t", "\r", "\n"}, 5},
      {"second bytes that are letters or a space",
       {FromHex("81 41"), FromHex("81 61"), FromHex("81 20"), FromHex("80 5A"), "A", "a"},
       5},
      {"merge mark and excluded word", {Zh("这"), Zh("个"), Gbk("、"), jia}, 6},
      {"one character", {jia}, 10},
  };
}

ByteText GenerateTermText(std::mt19937& rng, const Profile& profile, int maxWords) {
  std::vector<ByteText> words;
  const int distinct = 1 + static_cast<int>(rng() % 6);
  for (int w = 0; w < distinct; ++w) {
    ByteText word;
    const int length = 1 + static_cast<int>(rng() % static_cast<unsigned>(profile.maxWordLength));
    for (int k = 0; k < length; ++k) word += profile.alphabet[rng() % profile.alphabet.size()];
    words.push_back(word);
  }
  ByteText text;
  const int count = static_cast<int>(rng() % static_cast<unsigned>(maxWords + 1));
  for (int w = 0; w < count; ++w) {
    text += words[rng() % words.size()];
    switch (rng() % 4) {
      case 0: text += " "; break;
      case 1: text += "  "; break;
      default: break;  // words run together into longer sequences
    }
  }
  if (rng() % 4 == 0) text.insert(0, " ");
  if (rng() % 3 == 0) text += " ";
  if (rng() % 4 == 0) text += '\x81';  // a lone first byte at the very end
  return text;
}

TEST(DiscoverPhrasesFast, SameAsLiteralOnGeneratedTermTexts) {
  std::mt19937 rng(20240611);
  for (const Profile& profile : Profiles()) {
    for (int round = 0; round < 250; ++round) {
      const ByteText text = GenerateTermText(rng, profile, round % 2 ? 12 : 40);
      ExpectSameAsLiteral(text, profile.name);
      if (HasFailure()) return;
    }
  }
}

// Longer texts: many phrases per pass, overlapping occurrences of phrases of one pass, and
// later passes that see only what earlier ones left.
TEST(DiscoverPhrasesFast, SameAsLiteralOnLongerGeneratedTermTexts) {
  std::mt19937 rng(99);
  for (const Profile& profile : Profiles()) {
    for (int round = 0; round < 4; ++round) {
      ExpectSameAsLiteral(GenerateTermText(rng, profile, 250), profile.name);
      if (HasFailure()) return;
    }
  }
}

// Inputs made by hand for the places where a counting or cutting shortcut would go wrong.
TEST(DiscoverPhrasesFast, SameAsLiteralOnEdgeCases) {
  const struct {
    const char* name;
    ByteText text;
  } cases[] = {
      {"empty", ""},
      {"only spaces", "     "},
      {"three copies then the last candidate", Zh("甲乙 甲乙 甲乙")},
      {"fourth copy at the last start position, not a candidate", Zh("甲乙 甲乙 甲乙 甲乙")},
      {"fourth copy one before the end", Zh("甲乙 甲乙 甲乙 甲乙丙")},
      {"one character eight times (the probe row exists)", Zh("甲甲甲甲甲甲甲甲")},
      {"one character many times", ByteText(60, 'x')},
      {"self-overlapping phrase", Zh("甲甲甲 甲甲甲 甲甲甲 甲甲甲 乙")},
      {"two phrases of one pass overlap", Zh("甲乙丙 甲乙丙 甲乙丙 甲乙丙 乙丙甲 乙丙甲 乙丙甲 丁")},
      {"a later phrase only inside an earlier one",
       Zh("甲乙丙丁 甲乙丙丁 甲乙丙丁 甲乙丙丁 丙丁 丙丁 戊")},
      {"case differs", "abX abX abX ABX ABX ABX AbX AbX AbX ABX z"},
      {"a seventeen-character run four times",
       Zh("甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午 甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午 "
          "甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午 甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午 未")},
      {"lone first byte at the end", Zh("甲乙 甲乙 甲乙 甲乙 ") + "\xB9"},
      {"lone first byte right after a phrase", Zh("甲乙 甲乙 甲乙 甲乙") + "\xB9"},
      {"second byte 0x20 is no space", FromHex("81 20 81 20 20 81 20 81 20 20 81 20 81 20 20 "
                                               "81 20 81 20 20 61")},
      {"second bytes fold together but do not equal",
       FromHex("81 41 62 20 81 61 62 20 81 41 62 20 81 61 62 20 81 41 62 20 81 61 62 20 81 41 62 "
               "20 81 61 62 20 7A")},
  };
  for (const auto& c : cases) ExpectSameAsLiteral(c.text, c.name);
}

// The fast stages let the window in by the clock, not per candidate: once the window has waited
// longer than the yield interval (here it waits 40 ms before the stage starts), the stage hands
// it a turn, and it does so at a point where the progress line already shows a pass.
TEST(DiscoverPhrasesFast, LetsTheWindowInOnceItHasWaited) {
  const std::vector<ByteText> progress = {"6%",  "12%", "18%", "25%", "31%", "37%", "43%", "50%",
                                          "56%", "62%", "68%", "75%", "81%", "87%", "93%", "100%"};
  RecordingControls controls;
  Workspace ws(controls);
  std::vector<ByteText> seen;  // 标签2 at every turn the window gets
  controls.SetEventHook([&](HeadlessControls& c) { seen.push_back(c.Text(Control::标签2)); });
  ws.workingText = Zh("甲乙丙 甲乙丙 甲乙丙 甲乙丙 丁");
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  DiscoverPhrases(ws);
  ASSERT_FALSE(seen.empty()) << "the window never got a turn";
  for (const ByteText& label : seen) {
    EXPECT_NE(std::find(progress.begin(), progress.end(), label), progress.end()) << label;
  }
}

TEST(ExtractEnglishTerms, LetsTheWindowInOnceItHasWaited) {
  HeadlessControls controls;
  Workspace ws(controls);
  int turns = 0;
  controls.SetEventHook([&](HeadlessControls&) { ++turns; });
  ws.workingText = "market rose market fell market index";
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  ExtractEnglishTerms(ws);
  EXPECT_GE(turns, 1);
  EXPECT_EQ(ws.keywordTable.RowCount(), 1);
}

// ---------------------------------------------------------------------------------------------
// The merge and the filter on their own, on generated tables: terms from a tiny alphabet that
// contain one another, in either case, empty, rewritten to "、", ending in a lone first byte;
// weights that are whole, fractional or thirteen digits long.

struct Row {
  ByteText term, weight;
};

WorkTable TableOf(const std::vector<Row>& rows) {
  WorkTable t(2);
  for (const Row& r : rows) {
    t.AppendRow(r.term);
    t.SetCell(t.RowCount() - 1, 1, r.weight);
  }
  return t;
}

std::string Show(const std::vector<Row>& rows) {
  std::string out;
  for (const Row& r : rows) out += "  " + Hex(r.term) + " : " + r.weight + "\n";
  return out;
}

std::string AfterStage(void (*stage)(Workspace&), const std::vector<Row>& rows) {
  HeadlessControls controls;
  Workspace ws(controls);
  ws.keywordTable = TableOf(rows);
  stage(ws);
  return Rows(ws.keywordTable);
}

// ShrinkRows drops rows, then bytes of terms, for as long as `fails` stays true.
std::vector<Row> ShrinkRows(std::vector<Row> rows,
                            const std::function<bool(const std::vector<Row>&)>& fails) {
  for (bool progress = true; progress;) {
    progress = false;
    for (std::size_t r = 0; r < rows.size() && !progress; ++r) {
      std::vector<Row> fewer = rows;
      fewer.erase(fewer.begin() + static_cast<long>(r));
      if (fails(fewer)) {
        rows = std::move(fewer);
        progress = true;
      }
    }
    for (std::size_t r = 0; r < rows.size() && !progress; ++r) {
      for (std::size_t at = 0; at < rows[r].term.size() && !progress; ++at) {
        std::vector<Row> shorter = rows;
        shorter[r].term.erase(at, 1);
        if (fails(shorter)) {
          rows = std::move(shorter);
          progress = true;
        }
      }
    }
  }
  return rows;
}

void ExpectSameRows(void (*literal)(Workspace&), void (*fast)(Workspace&), const char* name,
                    const std::vector<Row>& rows) {
  if (AfterStage(literal, rows) == AfterStage(fast, rows)) return;
  const std::vector<Row> smallest = ShrinkRows(rows, [&](const std::vector<Row>& r) {
    return AfterStage(literal, r) != AfterStage(fast, r);
  });
  ADD_FAILURE() << name << " differs from the literal one on\n" << Show(rows)
                << "smallest table that differs:\n" << Show(smallest) << "literal:\n"
                << AfterStage(literal, smallest) << "fast:\n" << AfterStage(fast, smallest);
}

std::vector<Row> GenerateTable(std::mt19937& rng, int maxRows = 14) {
  const std::vector<ByteText> alphabet = {Zh("甲"), Zh("乙"), Gbk("、"), "A", "a", "b",
                                          FromHex("81 41"), FromHex("81 61"), Zh("这"), Zh("个")};
  const std::vector<ByteText> weights = {"3", "4", "7", "12", "2.5", "9999999999999", "0.1", ""};
  std::vector<Row> rows;
  const int n = static_cast<int>(rng() % static_cast<unsigned>(maxRows));
  for (int r = 0; r < n; ++r) {
    ByteText term;
    if (!rows.empty() && rng() % 3 == 0) {
      // Build on an earlier term so that containment is common.
      term = rows[rng() % rows.size()].term;
      const int extra = static_cast<int>(rng() % 3);
      for (int k = 0; k < extra; ++k) {
        const ByteText& e = alphabet[rng() % alphabet.size()];
        term = rng() % 2 ? term + e : e + term;
      }
    } else {
      const int length = static_cast<int>(rng() % 5);
      for (int k = 0; k < length; ++k) term += alphabet[rng() % alphabet.size()];
    }
    if (rng() % 8 == 0) term += '\x81';
    rows.push_back({term, weights[rng() % weights.size()]});
  }
  return rows;
}

TEST(MergeContainedPhrases, SameAsLiteralOnGeneratedTables) {
  std::mt19937 rng(5);
  for (int round = 0; round < 3000 && !HasFailure(); ++round) {
    ExpectSameRows(MergeContainedPhrasesLiteral, MergeContainedPhrases, "MergeContainedPhrases",
                   GenerateTable(rng));
  }
}

// Hundreds of rows, so that many terms are rewritten one after the other and the index of the
// fast merge has to take in, sort and merge many rewritten terms.
TEST(MergeContainedPhrases, SameAsLiteralOnLargeGeneratedTables) {
  std::mt19937 rng(17);
  for (int round = 0; round < 6 && !HasFailure(); ++round) {
    const std::vector<Row> rows = GenerateTable(rng, 400);
    if (AfterStage(MergeContainedPhrasesLiteral, rows) != AfterStage(MergeContainedPhrases, rows)) {
      ADD_FAILURE() << "MergeContainedPhrases differs from the literal one on a table of "
                    << rows.size() << " rows:\n" << Show(rows);
    }
  }
}

TEST(MergeContainedPhrases, SameAsLiteralOnEdgeCases) {
  const ByteText ab = Zh("甲乙"), abc = Zh("甲乙丙"), mark = Gbk("、");
  const struct {
    const char* name;
    std::vector<Row> rows;
  } cases[] = {
      {"the longer row folds into the shorter", {{abc, "3"}, {ab, "3"}}},
      {"case-insensitive find, exact replace", {{"AB" + ab, "4"}, {"ab" + ab, "4"}}},
      {"a rewritten term is looked up with its new text", {{ab, "3"}, {abc, "4"}, {mark + Zh("丙"), "5"}}},
      {"a row rewritten to the mark alone", {{ab, "3"}, {ab, "4"}, {mark, "2"}}},
      {"an empty term is found in every other term", {{"", "1"}, {ab, "3"}, {"", "2"}}},
      {"the sums keep thirteen digits", {{ab, "9999999999999"}, {abc, "9999999999999"}, {abc + "x", "1"}}},
      {"a lone first byte", {{"\x81", "1"}, {FromHex("81 41"), "2"}, {"a\x81", "3"}}},
  };
  for (const auto& c : cases) {
    ExpectSameRows(MergeContainedPhrasesLiteral, MergeContainedPhrases, c.name, c.rows);
  }
}

TEST(FilterPhrasesFast, SameAsFilterPhrasesOnGeneratedTables) {
  std::mt19937 rng(11);
  for (int round = 0; round < 2000 && !HasFailure(); ++round) {
    ExpectSameRows(FilterPhrases, FilterPhrasesFast, "FilterPhrasesFast", GenerateTable(rng));
  }
}

}  // namespace
}  // namespace sumvelo
