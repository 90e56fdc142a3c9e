#include "keywords/phrase_discovery.h"

#include <algorithm>
#include <vector>

#include "keywords/keyword_ranking.h"
#include "keywords/phrase_discovery_fast.h"
#include "text/gbk_literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

constexpr int kWeightColumn = 1;
constexpr int kMinRepeats = 3;

ByteText Progress(int pass) {
  return ConcatTexts(
      {NumberToText(FloorToInteger(static_cast<double>(pass) / kPhrasePasses * 100)), "%"});
}

}  // namespace

void RebuildCharSequence(Workspace& ws) {
  TextArray& seq = ws.charSequence;
  seq.Clear();
  const ByteView b = ws.workingText;
  std::size_t i = 0;
  while (i < b.size()) {
    const std::size_t len = (IsLeadByte(static_cast<unsigned char>(b[i])) && i + 1 < b.size()) ? 2 : 1;
    seq.Append(ByteText(b.substr(i, len)));
    i += len;
  }
}

void DiscoverPhrases(Workspace& ws) { DiscoverPhrasesFast(ws); }

void DiscoverPhrasesLiteral(Workspace& ws) {
  WorkTable& table = ws.keywordTable;
  Controls& controls = ws.controls;
  table.DeleteAllRows();
  std::int32_t lastPassStartCount = 0;
  std::vector<ByteText> candidates;
  for (int p = 1; p <= kPhrasePasses; ++p) {
    const int length = kLongestPhrase + 1 - p;
    candidates.clear();
    const int s = ws.charSequence.Count();
    if (p == kPhrasePasses) lastPassStartCount = std::max(s - 2, 0);
    for (int j = 1; j <= s - length; ++j) {
      ByteText sequence;
      bool hasSpace = false;
      for (int k = j; k < j + length; ++k) {
        const ByteText& element = ws.charSequence[k];
        if (element == " ") hasSpace = true;
        sequence += element;
      }
      if (!hasSpace) candidates.push_back(std::move(sequence));
    }
    const int m = static_cast<int>(candidates.size());
    for (int c = 1; c <= m; ++c) {
      const ByteText candidate = candidates[static_cast<std::size_t>(c - 1)];
      int count = 0;
      for (int q = c; q <= m - 1; ++q) {
        ByteText& other = candidates[static_cast<std::size_t>(q - 1)];
        if (!other.empty() && TextEquals(other, candidate)) {
          ++count;
          other.clear();
        }
      }
      controls.ProcessPendingEvents();
      if (count >= kMinRepeats) {
        table.AppendRow(candidate);
        table.SetCell(table.RowCount() - 1, kWeightColumn, NumberToText(count));
        ws.workingText = ReplaceText(ws.workingText, candidate, " ");
        RebuildCharSequence(ws);
      }
      controls.ProcessPendingEvents();
    }
    controls.WriteControlText(Control::标签2, Progress(p));
    controls.ProcessPendingEvents();
  }
  MergeContainedPhrasesLiteral(ws);
  FilterPhrases(ws);
  RankAndShowKeywords(ws, lastPassStartCount);
}

void MergeContainedPhrasesLiteral(Workspace& ws) {
  static const ByteText kMergeMark = Gbk("、");
  WorkTable& table = ws.keywordTable;
  const int n = table.RowCount();
  for (int a = 0; a < n; ++a) {
    const ByteText termA = table.GetCell(a, 0);
    for (int b = 0; b < n; ++b) {
      if (b == a) continue;
      const ByteText termB = table.GetCell(b, 0);
      if (FindText(termB, termA, true) != -1) {
        table.SetCell(b, 0, ReplaceText(termB, termA, kMergeMark));
        const double sum = TextToNumber(table.CellView(a, kWeightColumn)) +
                           TextToNumber(table.CellView(b, kWeightColumn));
        table.SetCell(a, kWeightColumn, NumberToText(sum));
      }
      ws.controls.ProcessPendingEvents();
    }
  }
}

void FilterPhrases(Workspace& ws) {
  static const ByteText kMergeMark = Gbk("、"), kExcluded = Gbk("这个");
  WorkTable& table = ws.keywordTable;
  int r = 0;
  while (r < table.RowCount()) {
    const ByteView term = table.CellView(r, 0);
    if (FindText(term, kMergeMark, true) != -1 || FindText(term, kExcluded, true) != -1) {
      table.DeleteRow(r);
    } else {
      ++r;
    }
    ws.controls.ProcessPendingEvents();
  }
}

}  // namespace sumvelo
