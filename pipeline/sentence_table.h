// The sentence table: cutting the marked text into sentences, trimming them, and joining them
// again into the working text.
#pragma once

#include "pipeline/text_language.h"
#include "pipeline/workspace.h"

namespace sumvelo {

// A segment between two marks becomes a sentence only when it has at least this many bytes.
constexpr int kMinSentenceBytes = 14;

// SplitSentences empties the sentence table and appends one row per segment of the working text
// that a mark "〓" (bytes A1 FE, looked for at every byte position, not only at character
// starts) ends and that has at least kMinSentenceBytes bytes: column 0 the segment, column 1
// "1", column 2 its 1-based row number. Text after the last mark becomes no row. Then it blanks
// repeats (BlankRepeatedSentences).
void SplitSentences(Workspace& ws);

// SplitSentencesLiteral is SplitSentences with BlankRepeatedSentencesLiteral for the blanking;
// it stays as the reference for the whole literal run.
void SplitSentencesLiteral(Workspace& ws);

// BlankRepeatedSentences empties column 0 of every row whose text equals, byte for byte, that
// of an earlier row; the row keeps its place, score and sequence number.
void BlankRepeatedSentences(WorkTable& sentences);

// BlankRepeatedSentencesLiteral is the pairwise comparison of every row with every later row;
// it gives the same table as BlankRepeatedSentences and stays as its reference.
void BlankRepeatedSentencesLiteral(WorkTable& sentences);

// TrimSentences rewrites column 0 of every row: for Chinese it first removes up to two "（…）"
// pairs, then for both languages up to four "(…)" pairs (each time the first opening bracket to
// the first closing one, only when that closing bracket comes after the opening one), then
// drops a short lead-in: everything up to and including the first "，" when it lies within the
// first 10 bytes (Chinese), or the first "," and the byte after it when the comma is among the
// first 20 bytes (English).
void TrimSentences(Workspace& ws, TextLanguage language);

// RebuildWorkingText sets the working text to column 0 of every row joined without separator,
// with every "〓" removed.
void RebuildWorkingText(Workspace& ws);

}  // namespace sumvelo
