// Chinese phrase discovery: the keywords of a Chinese text are the character sequences of 2 to
// 17 characters that repeat at least three times in its term text.
#pragma once

#include <cstdint>

#include "pipeline/workspace.h"

namespace sumvelo {

// Sequence lengths run from kLongestPhrase characters in pass 1 down to kShortestPhrase in pass
// kPhrasePasses.
constexpr int kLongestPhrase = 17;
constexpr int kShortestPhrase = 2;
constexpr int kPhrasePasses = kLongestPhrase - kShortestPhrase + 1;

// RebuildCharSequence cuts the working text into characters: a byte above 0x7F and the byte
// after it make one element, any other byte one element of its own; a byte above 0x7F at the
// very end is an element of one byte.
void RebuildCharSequence(Workspace& ws);

// DiscoverPhrases empties the keyword table and runs 16 passes, sequence length 17 down to 2.
// A pass collects every sequence of that many elements of the character sequence that starts
// at element 1 … S−L (S elements, L the length) and holds no space element; counts, for each
// sequence in the order of its first occurrence, its occurrences among all candidates but the
// last; and accepts each one counted at least 3 times: a keyword row (term, count) is appended
// and every occurrence of the term in the working text is replaced by one space before the next
// pass. After each pass 标签2 shows floor(p/16×100) followed by "%". Then every accepted phrase
// that contains another (ignoring ASCII case) has that one's occurrences replaced by "、" and
// passes its weight on to it (MergeContainedPhrases); rows holding "、" or "这个" are deleted;
// and RankAndShowKeywords runs with the probe row max(S−2, 0), S taken when pass 16 began.
void DiscoverPhrases(Workspace& ws);

// DiscoverPhrasesLiteral is the candidate-by-candidate algorithm: every candidate compared with
// every later one, a full replace of the working text and a rebuild of the character sequence
// after each acceptance, events processed twice per candidate. It is the reference for
// DiscoverPhrases.
void DiscoverPhrasesLiteral(Workspace& ws);

// MergeContainedPhrasesLiteral folds, for every row a in order, each other row b whose current
// term contains a's term (ignoring ASCII case): b's term gets a's occurrences replaced by "、"
// (exact) and a's weight grows by b's current weight.
void MergeContainedPhrasesLiteral(Workspace& ws);

// FilterPhrases deletes every keyword row whose term contains "、" or "这个".
void FilterPhrases(Workspace& ws);

}  // namespace sumvelo
