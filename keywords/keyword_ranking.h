// Keyword ranking, the keyword line, and the title boost.
#pragma once

#include <cstdint>

#include "pipeline/workspace.h"

namespace sumvelo {

// RankAndShowKeywords sorts the keyword table by weight, larger first (stable), and writes the
// keyword line to 标签3: "关键词： " followed, for each of the top three rows, by its term (the
// empty text for a missing row) and one space, appended only when the term of row `probeRow`
// (the empty text when that row does not exist) is found in the working text. An empty probe
// term counts as found in a non-empty working text and not found in an empty one.
void RankAndShowKeywords(Workspace& ws, std::int32_t probeRow);

// BoostByTitle replaces the working text with the title box's text normalized by the title
// rules, doubles the weight of every keyword found in it (ignoring ASCII case; once per row),
// and sorts the keyword table again.
void BoostByTitle(Workspace& ws);

}  // namespace sumvelo
