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

std::optional<TextLanguage> Summarize(Workspace& ws) {
  if (ws.running) return std::nullopt;
  RunningFlag busy(ws.running);
  Controls& controls = ws.controls;

  ws.workingText = controls.ReadControlText(Control::内容框);
  controls.WriteControlText(Control::编辑框1, ByteText());
  const TextLanguage language = DetectLanguage(ws.workingText);
  if (language == TextLanguage::Neither) return language;

  if (language == TextLanguage::Chinese) {
    NormalizeChinese(ws);
    SplitSentences(ws);
    TrimSentences(ws, TextLanguage::Chinese);
    RebuildWorkingText(ws);
    PrepareChineseTermText(ws);
    RebuildCharSequence(ws);
    DiscoverPhrases(ws);
  } else {
    NormalizeEnglish(ws);
    SplitSentences(ws);
    TrimSentences(ws, TextLanguage::English);
    RebuildWorkingText(ws);
    PrepareEnglishTermText(ws);
    ExtractEnglishTerms(ws);
  }
  BoostByTitle(ws);
  ScoreSentences(ws);
  AssembleSummary(ws);

  const int bodyBytes = TextLength(controls.ReadControlText(Control::内容框));
  const int summaryBytes = TextLength(controls.ReadControlText(Control::编辑框1));
  controls.WriteControlText(Control::标签2, LengthLine(bodyBytes, summaryBytes));
  return language;
}

}  // namespace sumvelo
