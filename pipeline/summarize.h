// Summarize: one whole summarization run over the controls, on the Chinese path, the English
// path or neither.
#pragma once

#include <optional>

#include "pipeline/text_language.h"
#include "pipeline/workspace.h"
#include "text/byte_text.h"

namespace sumvelo {

// DetectLanguage returns Chinese when `body` contains "的", otherwise English when it contains
// "the" in any letter case (inside other words too), otherwise Neither.
TextLanguage DetectLanguage(ByteView body);

// Summarize reads the body box into the working text, empties the summary box, and for a Chinese
// or English body runs every stage of that path, then writes the length line
// "原文N字，摘要M字" (byte lengths of the body box and the summary box, halved and rounded down)
// to 标签2. For Neither it stops after emptying the summary box, leaving everything else as it
// was. It returns the language it chose, or nothing when a Summarize was already running on
// this workspace (the nested press is ignored and nothing is touched).
std::optional<TextLanguage> Summarize(Workspace& ws);

// SummarizeLiteral is Summarize with the literal forms of the stages that have a fast one
// (SplitSentencesLiteral, DiscoverPhrasesLiteral, ExtractEnglishTermsLiteral): the same
// controls, tables and working text at the literal cost. It is the reference for Summarize.
std::optional<TextLanguage> SummarizeLiteral(Workspace& ws);

// LengthLine returns "原文N字，摘要M字" for the given byte lengths.
ByteText LengthLine(int bodyBytes, int summaryBytes);

}  // namespace sumvelo
