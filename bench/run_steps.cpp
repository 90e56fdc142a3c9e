#include "bench/run_steps.h"

#include "keywords/english_terms.h"
#include "keywords/keyword_ranking.h"
#include "keywords/phrase_discovery.h"
#include "pipeline/normalize_chinese.h"
#include "pipeline/normalize_english.h"
#include "pipeline/sentence_table.h"
#include "pipeline/term_text.h"
#include "summary/sentence_scoring.h"
#include "summary/summary_assembly.h"

namespace sumvelo::bench {
namespace {

void ReadBody(Workspace& ws) { ws.workingText = ws.controls.ReadControlText(Control::内容框); }
void TrimChinese(Workspace& ws) { TrimSentences(ws, TextLanguage::Chinese); }
void TrimEnglish(Workspace& ws) { TrimSentences(ws, TextLanguage::English); }

}  // namespace

std::vector<Step> StepsFor(TextLanguage language) {
  if (language == TextLanguage::English) {
    return {
        {"ReadBody", ReadBody, nullptr},
        {"NormalizeEnglish", NormalizeEnglish, nullptr},
        {"SplitSentences", SplitSentences, SplitSentencesLiteral},
        {"TrimSentences", TrimEnglish, nullptr},
        {"RebuildWorkingText", RebuildWorkingText, nullptr},
        {"PrepareEnglishTermText", PrepareEnglishTermText, nullptr},
        {"ExtractEnglishTerms", ExtractEnglishTerms, ExtractEnglishTermsLiteral},
        {"BoostByTitle", BoostByTitle, nullptr},
        {"ScoreSentences", ScoreSentences, nullptr},
        {"AssembleSummary", AssembleSummary, nullptr},
    };
  }
  return {
      {"ReadBody", ReadBody, nullptr},
      {"NormalizeChinese", NormalizeChinese, nullptr},
      {"SplitSentences", SplitSentences, SplitSentencesLiteral},
      {"TrimSentences", TrimChinese, nullptr},
      {"RebuildWorkingText", RebuildWorkingText, nullptr},
      {"PrepareChineseTermText", PrepareChineseTermText, nullptr},
      {"RebuildCharSequence", nullptr, RebuildCharSequence},  // the fast discovery cuts its own
      {"DiscoverPhrases", DiscoverPhrases, DiscoverPhrasesLiteral},
      {"BoostByTitle", BoostByTitle, nullptr},
      {"ScoreSentences", ScoreSentences, nullptr},
      {"AssembleSummary", AssembleSummary, nullptr},
  };
}

void LoadControls(HeadlessControls& controls, const Document& doc, int limitIndex) {
  controls.WriteControlText(Control::标题框, doc.title);
  controls.WriteControlText(Control::内容框, doc.body);
  controls.SetSelectedIndex(limitIndex);
}

void Snapshot::Take(const HeadlessControls& c, const Workspace& ws) {
  controls = c;
  workingText = ws.workingText;
  charSequence = ws.charSequence;
  sentenceTable = ws.sentenceTable;
  keywordTable = ws.keywordTable;
  selectionTable = ws.selectionTable;
}

void Snapshot::Restore(HeadlessControls& c, Workspace& ws) const {
  c = controls;
  ws.workingText = workingText;
  ws.charSequence = charSequence;
  ws.sentenceTable = sentenceTable;
  ws.keywordTable = keywordTable;
  ws.selectionTable = selectionTable;
}

}  // namespace sumvelo::bench
