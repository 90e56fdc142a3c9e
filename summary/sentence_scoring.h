// Sentence scoring: keywords raise a sentence's score, some openings and questions lower it.
#pragma once

#include <span>
#include <string_view>

#include "pipeline/workspace.h"

namespace sumvelo {

// A cue found in a sentence divides its score by `divisor`.
struct ScoreCue {
  std::string_view text;  // UTF-8 program text
  double divisor;
};

// The twelve opening cues, tested in order in the sentence's first four bytes: the numerals 一
// to 十 and "、" divide by 3, "：" by 2.
std::span<const ScoreCue> OpeningCues();

// The question cues, tested after the opening cues in the whole sentence: "是否", "如何" and
// "会不会" divide by 2. A sentence whose last two bytes are "？" is further divided by 5.
std::span<const ScoreCue> QuestionCues();

// ScoreSentences gives every sentence row the score 1 plus the weights of those of the first six
// keyword rows whose term it contains (ignoring ASCII case; each once), then divides it by every
// cue that applies. Scores are written with NumberToText and read back with TextToNumber at
// every step.
void ScoreSentences(Workspace& ws);

}  // namespace sumvelo
