// Whole runs over the real articles of the test corpus, checked against what every run must
// leave behind whatever the text: the selection is the longest fitting prefix of the ranking,
// in body order, the summary is exactly the cleaned join of it, and the lines are consistent.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pipeline/summarize.h"
#include "stage_support.h"
#include "text/gbk_literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

using testing::Hex;
using testing::Zh;

namespace fs = std::filesystem;

std::vector<fs::path> Articles(const char* folder) {
  std::vector<fs::path> out;
  const fs::path dir = fs::path(SUMVELO_CORPUS_DIR) / folder;
  if (!fs::is_directory(dir)) return out;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".txt") out.push_back(entry.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Line 1 is the headline, the rest the body; the body's line breaks become CR LF, as the window
// hands them over.
void ReadArticle(const fs::path& path, ByteText& title, ByteText& body) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  const std::size_t nl = text.find('\n');
  title = Zh(text.substr(0, nl));
  std::string rest = nl == std::string::npos ? "" : text.substr(nl + 1);
  while (!rest.empty() && rest.back() == '\n') rest.pop_back();
  std::string crlf;
  for (char c : rest) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  body = Zh(crlf);
}

ByteText CleanUp(ByteText s) {
  s = ReplaceText(s, Gbk("“"), "");
  s = ReplaceText(s, Gbk("”"), "");
  s = ReplaceText(s, "\"", "");
  return ReplaceText(s, Gbk("；"), Gbk("。"));
}

// CheckRun counts in `summaries` the runs that produced a non-empty summary.
void CheckRun(const fs::path& path, int selectedIndex, int& summaries) {
  SCOPED_TRACE(path.string() + " index " + std::to_string(selectedIndex));
  ByteText title, body;
  ReadArticle(path, title, body);
  HeadlessControls controls;
  controls.WriteControlText(Control::标题框, title);
  controls.WriteControlText(Control::内容框, body);
  controls.SetSelectedIndex(selectedIndex);
  Workspace ws(controls);
  const auto language = Summarize(ws);
  ASSERT_TRUE(language.has_value());
  if (*language == TextLanguage::Neither) return;

  const ByteText summary = controls.Text(Control::编辑框1);
  if (!summary.empty()) ++summaries;
  const int budget = 2 * (200 + 100 * selectedIndex);
  const WorkTable& ranked = ws.sentenceTable;
  const WorkTable& chosen = ws.selectionTable;

  // Ranks 1..n; the chosen rows are the first k ranked ones, and k is the largest that fits.
  int joined = 0;
  for (int r = 0; r < ranked.RowCount(); ++r) {
    ASSERT_EQ(ranked.GetCell(r, 1), NumberToText(r + 1));
  }
  const int k = chosen.RowCount();
  ASSERT_LE(k, ranked.RowCount());
  std::vector<int> sequence;
  for (int r = 0; r < k; ++r) {
    joined += TextLength(ranked.CellView(r, 0));
    sequence.push_back(TextToInteger(ranked.CellView(r, 2)));
  }
  EXPECT_LE(joined, budget);
  if (k < ranked.RowCount()) {
    EXPECT_GT(joined + TextLength(ranked.CellView(k, 0)), budget);
  }

  // The selection table holds them in body order with keys 999999 minus the sequence number.
  std::sort(sequence.begin(), sequence.end());
  ByteText expected;
  for (int r = 0; r < k; ++r) {
    EXPECT_EQ(chosen.GetCell(r, 1), NumberToText(999999 - sequence[static_cast<std::size_t>(r)]));
    expected += chosen.GetCell(r, 0);
  }
  EXPECT_EQ(Hex(summary), Hex(CleanUp(expected)));

  // Keywords stand in weight order; on the Chinese path none holds 、 or 这个.
  for (int r = 1; r < ws.keywordTable.RowCount(); ++r) {
    EXPECT_GE(TextToInteger(ws.keywordTable.CellView(r - 1, 1)), TextToInteger(ws.keywordTable.CellView(r, 1)));
  }
  if (*language == TextLanguage::Chinese) {
    for (int r = 0; r < ws.keywordTable.RowCount(); ++r) {
      EXPECT_EQ(FindText(ws.keywordTable.CellView(r, 0), Gbk("、"), true), -1);
      EXPECT_EQ(FindText(ws.keywordTable.CellView(r, 0), Gbk("这个"), true), -1);
    }
  }
  EXPECT_EQ(controls.Text(Control::标签3).rfind(Gbk("关键词： "), 0), 0u);
  EXPECT_EQ(Hex(controls.Text(Control::标签2)),
            Hex(LengthLine(TextLength(body), TextLength(summary))));
}

TEST(SummarizeCorpus, EveryRunLeavesAConsistentSummary) {
  const std::vector<fs::path> zh = Articles("zh"), en = Articles("en"), debian = Articles("debian-zh");
  if (zh.empty() && en.empty()) GTEST_SKIP() << "no corpus at " << SUMVELO_CORPUS_DIR;
  // Every article, the four limits in turn.
  for (const auto* list : {&zh, &en, &debian}) {
    int runs = 0, summaries = 0;
    for (std::size_t i = 0; i < list->size(); ++i, ++runs) {
      CheckRun((*list)[i], static_cast<int>(i % 4), summaries);
    }
    // Real articles give real summaries: a run of empty ones would make every check above void.
    EXPECT_GT(summaries, runs / 2);
  }
}

}  // namespace
}  // namespace sumvelo
