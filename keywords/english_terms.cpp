#include "keywords/english_terms.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include "keywords/keyword_ranking.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

constexpr SuffixRule kSuffixRules[] = {
    {"ness", 4, ""}, {"less", 4, ""}, {"ies", 3, "y"}, {"ly", 2, ""}, {"ing", 3, ""}, {"s", 1, ""},
};

constexpr int kMinCount = 3;      // a word must occur more than twice
constexpr int kMinTermBytes = 3;  // and be longer than two bytes

std::vector<ByteText> StrippedWords(ByteView termText) {
  const TextArray split = SplitText(termText, " ");
  std::vector<ByteText> words;
  words.reserve(split.Items().size());
  for (const ByteText& w : split.Items()) words.push_back(StripSuffix(w));
  return words;
}

void Finish(Workspace& ws) {
  ws.controls.WriteControlText(Control::标签2, ConcatTexts({NumberToText(0), "%"}));
  RankAndShowKeywords(ws, -1);
}

}  // namespace

std::span<const SuffixRule> EnglishSuffixRules() { return kSuffixRules; }

ByteText StripSuffix(ByteView word) {
  const int length = TextLength(word);
  for (const SuffixRule& rule : kSuffixRules) {
    const int suffixLength = static_cast<int>(rule.suffix.size());
    const int last = FindLastText(word, rule.suffix, false);
    if (last != -1 && last == length - suffixLength + 1) {
      return ConcatTexts({LeftBytes(word, length - rule.removed), rule.appended});
    }
  }
  return ByteText(word);
}

void ExtractEnglishTerms(Workspace& ws) {
  WorkTable& table = ws.keywordTable;
  table.DeleteAllRows();
  const std::vector<ByteText> words = StrippedWords(ws.workingText);
  // A word's count is its number of occurrences before the last position of the list; words
  // are judged in the order of their first occurrence there.
  const std::size_t counted = words.empty() ? 0 : words.size() - 1;
  std::unordered_map<std::string_view, int> counts;
  std::vector<std::string_view> order;
  counts.reserve(counted);
  for (std::size_t p = 0; p < counted; ++p) {
    const std::string_view w = words[p];
    if (w.empty()) continue;
    auto [it, inserted] = counts.try_emplace(w, 0);
    if (inserted) order.push_back(w);
    ++it->second;
    if ((p & 0x3FFF) == 0) ws.YieldToWindow();  // a look at the clock every 16,384 words
  }
  for (std::string_view w : order) {
    const int count = counts[w];
    if (count >= kMinCount && TextLength(w) >= kMinTermBytes) {
      table.AppendRow(ByteText(w));
      table.SetCell(table.RowCount() - 1, 1, NumberToText(count));
    }
    ws.YieldToWindow();
  }
  Finish(ws);
}

void ExtractEnglishTermsLiteral(Workspace& ws) {
  WorkTable& table = ws.keywordTable;
  table.DeleteAllRows();
  std::vector<ByteText> words = StrippedWords(ws.workingText);
  const int n = static_cast<int>(words.size());
  for (int p = 1; p <= n; ++p) {
    const ByteText w = words[static_cast<std::size_t>(p - 1)];
    int count = 0;
    for (int q = p; q <= n - 1; ++q) {
      ByteText& other = words[static_cast<std::size_t>(q - 1)];
      if (!other.empty() && TextEquals(other, w)) {
        ++count;
        other.clear();
      }
    }
    ws.controls.ProcessPendingEvents();
    if (count > kMinCount - 1 && TextLength(w) > kMinTermBytes - 1) {
      table.AppendRow(w);
      table.SetCell(table.RowCount() - 1, 1, NumberToText(count));
    }
    ws.controls.ProcessPendingEvents();
  }
  Finish(ws);
}

}  // namespace sumvelo
