// Phrase discovery at near-linear cost. Every function here leaves the keyword table, the
// working text, the character sequence and the labels byte for byte as its literal counterpart
// in phrase_discovery.h does, for every input; only the work done and the points at which the
// window gets to handle its events differ (by elapsed time, through Workspace::YieldToWindow).
#pragma once

#include "pipeline/workspace.h"

namespace sumvelo {

// DiscoverPhrasesFast is what DiscoverPhrases runs; it gives the result DiscoverPhrasesLiteral
// gives when the character sequence matches the working text. It reads the working text only:
// the character sequence it is handed is released at once (so a caller need not cut it first)
// and built once at the end from the text it leaves, as is the working text. First it works
// out, from length 2 up, how long a sequence starting at each position can be and still occur
// three times; a pass then counts only the windows within that bound. A pass hashes those
// windows (equal hashes confirmed element by element, so no two different sequences are ever
// taken as one), counts each sequence over the candidates but the last, and marks the
// occurrences of every phrase it accepts as cut, in acceptance order, instead of rewriting the
// text. After each pass 标签2 shows the progress. Then MergeContainedPhrases,
// FilterPhrasesFast and RankAndShowKeywords run.
void DiscoverPhrasesFast(Workspace& ws);

// MergeContainedPhrases gives the keyword table MergeContainedPhrasesLiteral gives, for any
// terms (empty ones and lone first bytes included). Instead of testing every pair of rows it
// looks row a's term up in a sorted index of the case-folded suffixes of every term that begin
// on a character start (a term is found in another exactly when it begins one of those
// suffixes), indexes each rewritten term again, and confirms every row it proposes with
// FindText. The weights are summed in the literal order with the same text round trip per
// addition.
void MergeContainedPhrases(Workspace& ws);

// FilterPhrasesFast deletes the rows FilterPhrases deletes (a term that contains "、" or
// "这个", ignoring ASCII case) and keeps the others in order, in one pass over the table.
void FilterPhrasesFast(Workspace& ws);

}  // namespace sumvelo
