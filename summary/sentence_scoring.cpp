#include "summary/sentence_scoring.h"

#include "text/gbk_literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

constexpr int kScoreColumn = 1;
constexpr int kWeightColumn = 1;
constexpr int kScoringKeywords = 6;
constexpr int kOpeningBytes = 4;
constexpr double kQuestionMarkDivisor = 5;

constexpr ScoreCue kOpeningCues[] = {
    {"一", 3}, {"二", 3}, {"三", 3}, {"四", 3}, {"五", 3}, {"六", 3},
    {"七", 3}, {"八", 3}, {"九", 3}, {"十", 3}, {"、", 3}, {"：", 2},
};

constexpr ScoreCue kQuestionCues[] = {
    {"是否", 2},
    {"如何", 2},
    {"会不会", 2},
};

struct GbkCue {
  ByteText text;
  double divisor;
};

std::vector<GbkCue> ToGbk(std::span<const ScoreCue> cues) {
  std::vector<GbkCue> out;
  for (const ScoreCue& c : cues) out.push_back({Gbk(c.text), c.divisor});
  return out;
}

void DivideScore(WorkTable& table, int row, double divisor) {
  table.SetCell(row, kScoreColumn, NumberToText(TextToNumber(table.CellView(row, kScoreColumn)) / divisor));
}

}  // namespace

std::span<const ScoreCue> OpeningCues() { return kOpeningCues; }
std::span<const ScoreCue> QuestionCues() { return kQuestionCues; }

void ScoreSentences(Workspace& ws) {
  static const std::vector<GbkCue> opening = ToGbk(kOpeningCues);
  static const std::vector<GbkCue> questions = ToGbk(kQuestionCues);
  static const ByteText kQuestionMark = Gbk("？");
  WorkTable& sentences = ws.sentenceTable;
  const WorkTable& keywords = ws.keywordTable;
  const int n = sentences.RowCount();

  for (int i = 0; i < n; ++i) {
    const ByteText sentence = sentences.GetCell(i, 0);
    for (int j = 0; j < kScoringKeywords; ++j) {
      if (FindText(sentence, keywords.CellView(j, 0), true) == -1) continue;
      const double sum = TextToNumber(sentences.CellView(i, kScoreColumn)) +
                         TextToNumber(keywords.CellView(j, kWeightColumn));
      sentences.SetCell(i, kScoreColumn, NumberToText(sum));
    }
  }

  for (int i = 0; i < n; ++i) {
    const ByteText sentence = sentences.GetCell(i, 0);
    const ByteText open = LeftBytes(sentence, kOpeningBytes);
    for (const GbkCue& cue : opening) {
      if (FindText(open, cue.text, true) != -1) DivideScore(sentences, i, cue.divisor);
    }
    for (const GbkCue& cue : questions) {
      if (FindText(sentence, cue.text, true) != -1) DivideScore(sentences, i, cue.divisor);
    }
    if (TextEquals(RightBytes(sentence, 2), kQuestionMark)) {
      DivideScore(sentences, i, kQuestionMarkDivisor);
    }
  }
}

}  // namespace sumvelo
