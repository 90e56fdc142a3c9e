#include "pipeline/sentence_table.h"

#include <string_view>
#include <unordered_set>

#include "text/gbk_literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

constexpr int kScoreColumn = 1;
constexpr int kSequenceColumn = 2;

// Removes the first bracket pair of `t` (its first `open` up to and including its first `close`)
// when that close comes after that open. Returns false when `t` is left as it was.
bool RemoveBracketPair(ByteText& t, ByteView open, ByteView close) {
  const int p = FindText(t, open, true);
  if (p == -1) return false;
  const int q = FindText(t, close, true);
  if (q == -1 || q < p) return false;  // no closing bracket after the opening one: keep it all
  const auto after = static_cast<std::size_t>(q - 1) + close.size();
  t = ConcatTexts({LeftBytes(t, p - 1), ByteView(t).substr(std::min(after, t.size()))});
  return true;
}

// Drops everything up to the first `comma` plus `skip` bytes after the comma's position when
// that comma lies within the first `window` bytes.
bool RemoveLeadIn(ByteText& t, int window, ByteView comma, std::size_t skip) {
  const int pos = FindText(LeftBytes(t, window), comma, true);
  if (pos == -1) return false;
  const std::size_t from = static_cast<std::size_t>(pos - 1) + skip;
  t = from >= t.size() ? ByteText() : t.substr(from);
  return true;
}

// CutSentences is SplitSentences up to the blanking of repeats.
void CutSentences(Workspace& ws) {
  WorkTable& table = ws.sentenceTable;
  table.DeleteAllRows();
  const ByteView b = ws.workingText;
  std::size_t start = 0;  // first byte of the current segment
  for (std::size_t i = 0; i + 1 < b.size(); ++i) {
    if (static_cast<unsigned char>(b[i]) != 0xA1 || static_cast<unsigned char>(b[i + 1]) != 0xFE) {
      continue;
    }
    if (i - start >= static_cast<std::size_t>(kMinSentenceBytes)) {
      table.AppendRow(ByteText(b.substr(start, i - start)));
      const int row = table.RowCount() - 1;
      table.SetCell(row, kSequenceColumn, NumberToText(table.RowCount()));
      table.SetCell(row, kScoreColumn, "1");
    }
    start = i + 2;
  }
}

}  // namespace

void SplitSentences(Workspace& ws) {
  CutSentences(ws);
  BlankRepeatedSentences(ws.sentenceTable);
}

void SplitSentencesLiteral(Workspace& ws) {
  CutSentences(ws);
  BlankRepeatedSentencesLiteral(ws.sentenceTable);
}

void BlankRepeatedSentences(WorkTable& sentences) {
  std::unordered_set<std::string_view> seen;
  std::vector<int> repeats;
  seen.reserve(static_cast<std::size_t>(sentences.RowCount()));
  for (int r = 0; r < sentences.RowCount(); ++r) {
    const ByteView text = sentences.CellView(r, 0);
    if (text.empty()) continue;  // an empty row blanks nothing and cannot be blanked further
    if (!seen.insert(text).second) repeats.push_back(r);
  }
  for (int r : repeats) sentences.SetCell(r, 0, ByteText());
}

void BlankRepeatedSentencesLiteral(WorkTable& sentences) {
  const int n = sentences.RowCount();
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n - i; ++j) {
      if (TextEquals(sentences.GetCell(i - 1, 0), sentences.GetCell(i + j - 1, 0))) {
        sentences.SetCell(i + j - 1, 0, ByteText());
      }
    }
  }
}

void TrimSentences(Workspace& ws, TextLanguage language) {
  static const ByteText kOpen = Gbk("（"), kClose = Gbk("）"), kComma = Gbk("，");
  const bool chinese = language == TextLanguage::Chinese;
  WorkTable& table = ws.sentenceTable;
  const int count = table.RowCount();
  for (int r = 0; r < count; ++r) {
    ByteText t = table.GetCell(r, 0);
    bool changed = false;
    if (chinese) {
      for (int k = 0; k < 2; ++k) changed |= RemoveBracketPair(t, kOpen, kClose);
    }
    for (int k = 0; k < 4; ++k) changed |= RemoveBracketPair(t, "(", ")");
    if (chinese) {
      changed |= RemoveLeadIn(t, 10, kComma, 2);
    } else {
      changed |= RemoveLeadIn(t, 20, ",", 2);
    }
    if (changed) table.SetCell(r, 0, std::move(t));
  }
}

void RebuildWorkingText(Workspace& ws) {
  static const ByteText kMark = Gbk("〓");
  const WorkTable& table = ws.sentenceTable;
  ByteText joined;
  const int count = table.RowCount();
  for (int r = 0; r < count; ++r) joined.append(table.CellView(r, 0));
  ws.workingText = ReplaceText(joined, kMark, "");
}

}  // namespace sumvelo
