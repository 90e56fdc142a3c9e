// English term extraction: frequent words of the term text become keywords.
#pragma once

#include <span>
#include <string_view>

#include "pipeline/workspace.h"

namespace sumvelo {

// One suffix rule: a word that ends with `suffix` (exactly, case counts) loses `removed` bytes
// and gains `appended`.
struct SuffixRule {
  std::string_view suffix;
  int removed;
  std::string_view appended;
};

// The six rules, tested in order; the first that fits is the only one applied:
// ness, less, ies (becomes y), ly, ing, s.
std::span<const SuffixRule> EnglishSuffixRules();

// StripSuffix returns `word` changed by the first suffix rule it ends with, or unchanged.
ByteText StripSuffix(ByteView word);

// ExtractEnglishTerms empties the keyword table, splits the working text at spaces, strips one
// suffix from each word, and appends, in the order of their first occurrence, every word of at
// least 3 bytes that occurs at least 3 times, with that count as weight; an occurrence as the
// very last word of the list is not counted. It then writes "0%" to 标签2 and calls
// RankAndShowKeywords with probe row -1. The working text is not changed.
void ExtractEnglishTerms(Workspace& ws);

// ExtractEnglishTermsLiteral is the word-by-word comparison with every later word; it gives the
// same table and lines as ExtractEnglishTerms and stays as its reference.
void ExtractEnglishTermsLiteral(Workspace& ws);

}  // namespace sumvelo
