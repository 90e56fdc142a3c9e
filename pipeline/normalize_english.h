// NormalizeEnglish: puts SentenceMark "〓" after every sentence end of an English body.
#pragma once

#include <span>

#include "pipeline/replace_rules.h"
#include "pipeline/workspace.h"

namespace sumvelo {

// The 20 rules, in order: expand "'s " and "'t ", end a sentence after "that, ", at line
// breaks and around reporting clauses (said, says, say), collapse runs of ".", mark every ".",
// "!", "?" and ";" (after a closing double quote when one follows a "."), collapse doubled marks
// and turn ":" into ",". Spaces never end an English sentence.
std::span<const ReplaceRule> EnglishNormalizationRules();

// NormalizeEnglish applies those rules to the working text.
void NormalizeEnglish(Workspace& ws);

}  // namespace sumvelo
