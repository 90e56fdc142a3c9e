#include "pipeline/summarize.h"

#include "keywords/english_terms.h"
#include "keywords/keyword_ranking.h"
#include "keywords/phrase_discovery.h"
#include "pipeline/normalize_chinese.h"
#include "pipeline/normalize_english.h"
#include "pipeline/sentence_table.h"
#include "pipeline/term_text.h"
#include "summary/sentence_scoring.h"
#include "summary/summary_assembly.h"
#include "text/gbk_literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

// Marks the workspace busy for the length of a run, also when a stage throws RunAbandoned.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

// The stages that have a fast and a literal form; every other stage is the same in both runs.
struct VaryingStages {
  void (*splitSentences)(Workspace&);
  void (*discoverPhrases)(Workspace&);  // from the term text in the working text
  void (*extractEnglishTerms)(Workspace&);
};

// The literal discovery reads the character sequence, which RebuildCharSequence cuts first. The
// fast one reads the working text and builds the sequence itself, once, from the text it leaves,
// so the sequence of the whole term text is never held (it is 32 bytes per character).
void CutAndDiscoverPhrasesLiteral(Workspace& ws) {
  RebuildCharSequence(ws);
  DiscoverPhrasesLiteral(ws);
}

constexpr VaryingStages kFastStages{SplitSentences, DiscoverPhrases, ExtractEnglishTerms};
constexpr VaryingStages kLiteralStages{SplitSentencesLiteral, CutAndDiscoverPhrasesLiteral,
                                       ExtractEnglishTermsLiteral};

std::optional<TextLanguage> Run(Workspace& ws, const VaryingStages& stages);

}  // namespace

TextLanguage DetectLanguage(ByteView body) {
  static const ByteText kDe = Gbk("的");
  if (FindText(body, kDe, true) != -1) return TextLanguage::Chinese;
  if (FindText(body, "the", true) != -1) return TextLanguage::English;
  return TextLanguage::Neither;
}

ByteText LengthLine(int bodyBytes, int summaryBytes) {
  static const ByteText kBody = Gbk("原文"), kSummary = Gbk("字，摘要"), kEnd = Gbk("字");
  return ConcatTexts({kBody, NumberToText(bodyBytes / 2), kSummary,
                      NumberToText(summaryBytes / 2), kEnd});
}

std::optional<TextLanguage> Summarize(Workspace& ws) { return Run(ws, kFastStages); }

std::optional<TextLanguage> SummarizeLiteral(Workspace& ws) { return Run(ws, kLiteralStages); }

namespace {

std::optional<TextLanguage> Run(Workspace& ws, const VaryingStages& stages) {
  if (ws.running) return std::nullopt;
  RunningFlag busy(ws.running);
  Controls& controls = ws.controls;

  ws.workingText = controls.ReadControlText(Control::内容框);
  controls.WriteControlText(Control::编辑框1, ByteText());
  const TextLanguage language = DetectLanguage(ws.workingText);
  if (language == TextLanguage::Neither) return language;

  if (language == TextLanguage::Chinese) {
    NormalizeChinese(ws);
    stages.splitSentences(ws);
    TrimSentences(ws, TextLanguage::Chinese);
    RebuildWorkingText(ws);
    PrepareChineseTermText(ws);
    stages.discoverPhrases(ws);
  } else {
    NormalizeEnglish(ws);
    stages.splitSentences(ws);
    TrimSentences(ws, TextLanguage::English);
    RebuildWorkingText(ws);
    PrepareEnglishTermText(ws);
    stages.extractEnglishTerms(ws);
  }
  BoostByTitle(ws);
  ScoreSentences(ws);
  AssembleSummary(ws);

  const int bodyBytes = TextLength(controls.ReadControlText(Control::内容框));
  const int summaryBytes = TextLength(controls.ReadControlText(Control::编辑框1));
  controls.WriteControlText(Control::标签2, LengthLine(bodyBytes, summaryBytes));
  return language;
}

}  // namespace
}  // namespace sumvelo
