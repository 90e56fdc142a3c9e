// Summary selection and assembly.
#pragma once

#include "pipeline/workspace.h"

namespace sumvelo {

// LengthLimitFromIndex maps the length drop-down's index to characters: 0→200, 1→300, 2→400,
// 3→500, anything else (-1 for no selection included) →300.
int LengthLimitFromIndex(int index);

// AssembleSummary ranks the sentences by the integer part of their scores (stable), writes the
// ranks 1, 2, … into their score column, takes the longest prefix of the ranking whose joined
// sentences are at most 2 × LengthLimit bytes (stopping at the first that does not fit), puts
// the chosen ones back into body order through the selection table (key 999999 − sequence
// number), and writes them joined, with “ ” and the ASCII double quote removed and "；" turned
// into "。", to the summary box 编辑框1.
void AssembleSummary(Workspace& ws);

}  // namespace sumvelo
