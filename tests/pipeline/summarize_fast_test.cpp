// Summarize against SummarizeLiteral on generated articles, Chinese and English, built from tiny
// vocabularies so that sentences, phrases and words repeat: every control, table, the working
// text and the character sequence must come out the same. A difference is shrunk to the
// smallest body that still shows it.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "pipeline/summarize.h"
#include "run_snapshot.h"
#include "stage_support.h"

namespace sumvelo {
namespace {

using testing::FirstDifference;
using testing::Hex;
using testing::RunSnapshot;
using testing::Zh;

struct Article {
  ByteText title, body;
  int limitIndex;
};

std::string Snapshot(std::optional<TextLanguage> (*run)(Workspace&), const Article& a) {
  HeadlessControls controls;
  controls.WriteControlText(Control::标题框, a.title);
  controls.WriteControlText(Control::内容框, a.body);
  controls.SetSelectedIndex(a.limitIndex);
  Workspace ws(controls);
  run(ws);
  return RunSnapshot(controls, ws);
}

bool RunsDiffer(const Article& a) { return Snapshot(SummarizeLiteral, a) != Snapshot(Summarize, a); }

// ShrinkBody removes runs of bytes from the body for as long as the runs still differ.
Article ShrinkBody(Article a) {
  for (std::size_t chunk = a.body.size() / 2; chunk >= 1; chunk /= 2) {
    for (std::size_t at = 0; at + chunk <= a.body.size();) {
      Article smaller = a;
      smaller.body.erase(at, chunk);
      if (RunsDiffer(smaller)) {
        a = std::move(smaller);
      } else {
        ++at;
      }
    }
  }
  return a;
}

void ExpectSameRuns(const Article& a, const std::string& what) {
  const std::string literal = Snapshot(SummarizeLiteral, a), fast = Snapshot(Summarize, a);
  if (literal == fast) return;
  const Article smallest = ShrinkBody(a);
  ADD_FAILURE() << what << ": Summarize differs from SummarizeLiteral\n"
                << FirstDifference(literal, fast) << "\non the body\n  " << Hex(a.body)
                << "\nsmallest body that differs (title " << Hex(a.title) << "):\n  "
                << Hex(smallest.body) << "\n"
                << FirstDifference(Snapshot(SummarizeLiteral, smallest), Snapshot(Summarize, smallest));
}

ByteText Pick(std::mt19937& rng, const std::vector<ByteText>& from) { return from[rng() % from.size()]; }

// A Chinese article: sentences of words from a handful of characters (with 的, 这个, 改革 and
// numbers that term text preparation rewrites), ended by the marks normalization cuts at, in
// paragraphs separated by CR LF, with spaces, ASCII words in mixed case, brackets and lead-ins.
Article ChineseArticle(std::mt19937& rng) {
  const std::vector<ByteText> words = {Zh("甲乙"), Zh("丙丁"), Zh("甲乙丙"), Zh("的"),
                                       Zh("这个"), Zh("改革"), Zh("戊"),   Zh("一"),
                                       "2014",     "19",       "AB",       "ab",
                                       Zh("甲"),   Zh("乙丙丁戊己")};
  const std::vector<ByteText> inner = {Zh("，"), Zh("、"), " ", Zh("（丙）"), "(x)", Zh("“"),
                                       Zh("”"), Zh("：")};
  const std::vector<ByteText> ends = {Zh("。"), Zh("！"), Zh("？"), Zh("；"), Zh("……"), ". ", ""};
  std::vector<ByteText> sentences;
  for (int s = 0; s < 1 + static_cast<int>(rng() % 5); ++s) {
    ByteText sentence;
    const int n = 2 + static_cast<int>(rng() % 10);
    for (int w = 0; w < n; ++w) {
      sentence += Pick(rng, words);
      if (rng() % 4 == 0) sentence += Pick(rng, inner);
    }
    sentences.push_back(sentence + Pick(rng, ends));
  }
  Article a;
  const int count = static_cast<int>(rng() % 40);
  for (int s = 0; s < count; ++s) {
    a.body += Pick(rng, sentences);
    if (rng() % 5 == 0) a.body += "\r\n";
  }
  a.title = Pick(rng, sentences) + (rng() % 2 ? Pick(rng, words) : ByteText());
  a.limitIndex = static_cast<int>(rng() % 5) - 1;
  return a;
}

// An English article: words that the stop-word and suffix rules touch, in mixed case, with
// contractions, reporting clauses and the marks normalization cuts at.
Article EnglishArticle(std::mt19937& rng) {
  const std::vector<ByteText> words = {"market", "Market", "markets", "companies", "company",
                                       "the",    "The",    "of",      "business",  "EU",
                                       "it's",   "don't",  "said",    "says",      "2014",
                                       "happiness", "rose", "fell",   "if"};
  const std::vector<ByteText> ends = {". ", "! ", "? ", "; ", ", said ", "\r\n", ": ", ", "};
  std::vector<ByteText> sentences;
  for (int s = 0; s < 1 + static_cast<int>(rng() % 5); ++s) {
    ByteText sentence;
    const int n = 2 + static_cast<int>(rng() % 12);
    for (int w = 0; w < n; ++w) sentence += (w ? " " : "") + Pick(rng, words);
    sentences.push_back(sentence + Pick(rng, ends));
  }
  Article a;
  const int count = static_cast<int>(rng() % 40);
  for (int s = 0; s < count; ++s) a.body += Pick(rng, sentences);
  a.title = Pick(rng, sentences);
  a.limitIndex = static_cast<int>(rng() % 4);
  return a;
}

TEST(SummarizeFast, SameAsLiteralOnGeneratedChineseArticles) {
  std::mt19937 rng(314);
  for (int round = 0; round < 300 && !HasFailure(); ++round) ExpectSameRuns(ChineseArticle(rng), "Chinese");
}

TEST(SummarizeFast, SameAsLiteralOnGeneratedEnglishArticles) {
  std::mt19937 rng(271);
  for (int round = 0; round < 300 && !HasFailure(); ++round) ExpectSameRuns(EnglishArticle(rng), "English");
}

// A run on one workspace after another: the fast stages start from whatever the last run left.
TEST(SummarizeFast, SameAsLiteralOnARunAfterAnother) {
  std::mt19937 rng(8);
  for (int round = 0; round < 20; ++round) {
    const Article first = ChineseArticle(rng), second = round % 2 ? EnglishArticle(rng) : ChineseArticle(rng);
    std::string snapshots[2];
    std::optional<TextLanguage> (*runs[2])(Workspace&) = {SummarizeLiteral, Summarize};
    for (int k = 0; k < 2; ++k) {
      HeadlessControls controls;
      Workspace ws(controls);
      for (const Article* a : {&first, &second}) {
        controls.WriteControlText(Control::标题框, a->title);
        controls.WriteControlText(Control::内容框, a->body);
        runs[k](ws);
      }
      snapshots[k] = RunSnapshot(controls, ws);
    }
    EXPECT_EQ(FirstDifference(snapshots[0], snapshots[1]), "") << "round " << round;
  }
}

}  // namespace
}  // namespace sumvelo
