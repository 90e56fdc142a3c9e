// NormalizeChinese: puts SentenceMark "〓" after every sentence end of a Chinese body.
#pragma once

#include <span>

#include "pipeline/replace_rules.h"
#include "pipeline/workspace.h"

namespace sumvelo {

// The 29 rules, in order: drop the connective "与此同时，", end a sentence after twelve
// reporting verbs followed by "，", unify commas, turn ". " and line breaks into "。", collapse
// runs of "。", mark every "。" (after a closing "”" when one follows), "！", "……", "？" and
// "；", collapse doubled marks, split at every space, and turn "：" into "，".
std::span<const ReplaceRule> ChineseNormalizationRules();

// NormalizeChinese applies those rules to the working text.
void NormalizeChinese(Workspace& ws);

}  // namespace sumvelo
