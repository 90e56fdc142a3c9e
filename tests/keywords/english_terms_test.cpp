#include "keywords/english_terms.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "stage_support.h"

namespace sumvelo {
namespace {

using testing::Hex;
using testing::RecordingControls;
using testing::Zh;

using Stage = void (*)(Workspace&);
const std::pair<const char*, Stage> kStages[] = {
    {"ExtractEnglishTerms", ExtractEnglishTerms},
    {"ExtractEnglishTermsLiteral", ExtractEnglishTermsLiteral},
};

std::vector<std::string> KeywordRows(const WorkTable& t) {
  std::vector<std::string> out;
  for (int r = 0; r < t.RowCount(); ++r) out.push_back(t.GetCell(r, 0) + ":" + t.GetCell(r, 1));
  return out;
}

TEST(EnglishSuffixRules, SixRulesInOrder) {
  const std::vector<std::string> expected = {"ness-4+", "less-4+", "ies-3+y", "ly-2+", "ing-3+", "s-1+"};
  std::vector<std::string> actual;
  for (const SuffixRule& r : EnglishSuffixRules()) {
    actual.push_back(std::string(r.suffix) + "-" + std::to_string(r.removed) + "+" +
                     std::string(r.appended));
  }
  EXPECT_EQ(actual, expected);
}

TEST(StripSuffix, FirstMatchingRuleOnly) {
  const char* const cases[][2] = {
      {"happiness", "happi"},   {"useless", "use"},        {"companies", "company"},
      {"quickly", "quick"},     {"meeting", "meet"},       {"markets", "market"},
      {"business", "busi"},     {"class", "clas"},         {"lies", "ly"},
      {"kindnesses", "kindnesse"}, {"MEETINGS", "MEETINGS"}, {"NESS", "NESS"},
      {"Meetings", "Meeting"},  {"Ness", "Nes"},           {"ness", ""},
      {"ies", "y"},             {"s", ""},                 {"ly", ""},
      {"es", "e"},              {"market", "market"},      {"", ""},
      {"singly", "sing"},      {"sings", "sing"},
  };
  for (const auto& c : cases) EXPECT_EQ(StripSuffix(c[0]), c[1]) << c[0];
}

// A word ends in a suffix only when the suffix's last match lies on its last bytes at a
// character start: a two-byte character whose second byte is "s" (81 73) is not shortened.
TEST(StripSuffix, SecondByteOfATwoByteCharacterIsNoSuffix) {
  EXPECT_EQ(Hex(StripSuffix("ab\x81s")), Hex("ab\x81s"));
  EXPECT_EQ(Hex(StripSuffix("\x81sas")), Hex("\x81sa"));
}

TEST(ExtractEnglishTerms, Cases) {
  struct Case {
    const char* name;
    const char* termText;
    std::vector<const char*> rows;  // "term:weight", in the ranked order
  };
  const Case cases[] = {
      {"three markets before a last word", "market rose market fell market index", {"market:3"}},
      {"the last word is never counted", "market rose market fell market", {}},
      {"twice is not enough", "market rose market index", {}},
      {"two-byte words never", "EU EU EU EU EU EU x", {}},
      {"three bytes is enough", "oil oil oil x", {"oil:3"}},
      {"case makes different words",
       "Market market Market market Market market x",
       {"Market:3", "market:3"}},
      {"stripping comes before counting", "companies company companies x", {"company:3"}},
      {"markets and market together", "markets market markets x", {"market:3"}},
      {"stripped to two bytes is too short", "lies lies lies x", {}},
      {"upper case is not stripped", "MEETINGS MEETINGS meetings MEETINGS x", {"MEETINGS:3"}},
      {"empty words are never counted", "  a  a  a  x", {}},
      {"ranked by weight, ties in order of first occurrence",
       "bank rate loan rate loan bank rate loan rate bank x",
       {"rate:4", "bank:3", "loan:3"}},
      {"one word", "market", {}},
      {"empty text", "", {}},
  };
  for (const auto& [stageName, stage] : kStages) {
    for (const Case& c : cases) {
      RecordingControls controls;
      Workspace ws(controls);
      ws.keywordTable.AppendRow("stale");
      ws.workingText = c.termText;
      stage(ws);
      std::vector<std::string> want(c.rows.begin(), c.rows.end());
      EXPECT_EQ(KeywordRows(ws.keywordTable), want) << stageName << ": " << c.name;
      EXPECT_EQ(ws.workingText, c.termText) << stageName << ": the term text is not changed";
      EXPECT_EQ(controls.statsWrites, std::vector<ByteText>{"0%"}) << stageName;
    }
  }
}

// The keyword line: three terms whenever the term text is not empty (the probe row -1 never
// exists), missing rows giving an empty term and its space; nothing but the prefix for an empty
// term text.
TEST(ExtractEnglishTerms, WritesTheKeywordLine) {
  struct Case {
    const char* termText;
    const char* line;
  };
  const Case cases[] = {
      {"bank rate loan rate loan bank rate loan rate bank x", "关键词： rate bank loan "},
      {"bank rate bank rate bank rate bank x", "关键词： bank rate  "},
      {"nothing repeats here", "关键词：    "},
      {"", "关键词： "},
  };
  for (const auto& [stageName, stage] : kStages) {
    for (const Case& c : cases) {
      RecordingControls controls;
      Workspace ws(controls);
      ws.workingText = c.termText;
      stage(ws);
      EXPECT_EQ(Hex(controls.Text(Control::标签3)), Hex(Zh(c.line))) << stageName << ": " << c.termText;
    }
  }
}

// Both functions on generated term texts from a few words (suffix forms, case variants, empty
// words from doubled spaces) give the same table and line.
TEST(ExtractEnglishTerms, AgreesWithTheLiteralVersionOnGeneratedTexts) {
  const std::vector<std::string> words = {"market", "markets", "Market", "EU", "lies", "ly",
                                          "companies", "company", "", "ness", "s", "oil"};
  std::mt19937 rng(11);
  for (int round = 0; round < 500; ++round) {
    std::string text;
    const int n = static_cast<int>(rng() % 20);
    for (int k = 0; k < n; ++k) text += (k ? " " : "") + words[rng() % words.size()];
    if (rng() % 2) text += " ";
    std::vector<std::string> results;
    for (const auto& [stageName, stage] : kStages) {
      RecordingControls controls;
      Workspace ws(controls);
      ws.workingText = text;
      stage(ws);
      results.push_back(testing::Rows(ws.keywordTable) + "|" + Hex(controls.Text(Control::标签3)));
    }
    ASSERT_EQ(results[0], results[1]) << "term text '" << text << "'";
  }
}

}  // namespace
}  // namespace sumvelo
