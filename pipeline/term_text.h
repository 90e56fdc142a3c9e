// Term text: the rejoined sentences reduced to runs of candidate terms separated by spaces.
#pragma once

#include <span>

#include "pipeline/replace_rules.h"
#include "pipeline/workspace.h"

namespace sumvelo {

// The 28 Chinese rules: punctuation to spaces, doubled spaces collapsed, every "的" to a space
// except in "的确", "标的" and "目的", spaces around "改革" and "制度", years and the digit
// pairs "20" and "19" to spaces.
std::span<const ReplaceRule> ChineseTermTextRules();

// The 60 English rules: punctuation to spaces, spaces collapsed, 39 lower-case stop words
// between spaces removed, years and "20"/"19" removed, spaces collapsed again, " if " removed.
std::span<const ReplaceRule> EnglishTermTextRules();

// PrepareChineseTermText and PrepareEnglishTermText apply their list to the working text.
void PrepareChineseTermText(Workspace& ws);
void PrepareEnglishTermText(Workspace& ws);

}  // namespace sumvelo
