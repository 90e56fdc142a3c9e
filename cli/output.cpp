#include "cli/output.h"

#include "encoding/gb18030.h"

namespace sumvelo::cli {

std::string_view LanguageName(TextLanguage language) {
  switch (language) {
    case TextLanguage::Chinese: return "chinese";
    case TextLanguage::English: return "english";
    case TextLanguage::Neither: break;
  }
  return "neither";
}

std::string PlainText(const Outcome& outcome, InputEncoding encoding) {
  std::string text;
  for (const ByteText* line : {&outcome.summary, &outcome.keywordLine, &outcome.statsLine}) {
    text += encoding::FromEngine(*line);
    text += '\n';
  }
  // Going through UTF-8 also for GBK output turns a character cut by the summary limit into
  // U+FFFD instead of writing a broken byte pair.
  return encoding == InputEncoding::Utf8 ? text : encoding::Utf8ToGb18030(text);
}

nlohmann::ordered_json ResultJson(const Document& document, int limit, const Outcome& outcome) {
  using encoding::FromEngine;
  auto cell = [](const WorkTable& table, int row, int column) {
    return FromEngine(table.CellView(row, column));
  };
  nlohmann::ordered_json keywords = nlohmann::ordered_json::array();
  for (int row = 0; row < outcome.keywords.RowCount(); ++row) {
    keywords.push_back({{"term", cell(outcome.keywords, row, 0)},
                        {"weight", cell(outcome.keywords, row, 1)}});
  }
  nlohmann::ordered_json sentences = nlohmann::ordered_json::array();
  for (int row = 0; row < outcome.sentences.RowCount(); ++row) {
    sentences.push_back({{"text", cell(outcome.sentences, row, 0)},
                         {"rank", cell(outcome.sentences, row, 1)},
                         {"seq", cell(outcome.sentences, row, 2)}});
  }
  nlohmann::ordered_json result;
  result["title"] = FromEngine(document.title);
  result["limit"] = limit;
  result["language"] = LanguageName(outcome.language);
  result["summary"] = FromEngine(outcome.summary);
  result["keyword_line"] = FromEngine(outcome.keywordLine);
  result["stats_line"] = FromEngine(outcome.statsLine);
  result["keywords"] = std::move(keywords);
  result["sentences"] = std::move(sentences);
  return result;
}

}  // namespace sumvelo::cli
