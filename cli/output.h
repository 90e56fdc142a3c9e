// What the command line prints for one summarized document: the window's three result texts as
// plain lines, or one JSON object with the work tables as well.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "cli/document.h"

namespace sumvelo::cli {

// LanguageName returns "chinese", "english" or "neither".
std::string_view LanguageName(TextLanguage language);

// PlainText returns the summary box, the keyword line and the length line, each followed by a
// line feed, as UTF-8 (engine CR LF becomes LF) or, for Gb18030, as GB18030 bytes. A summary
// with line breaks takes several lines; an empty one gives an empty line.
std::string PlainText(const Outcome& outcome, InputEncoding encoding);

// ResultJson returns the object
//   {"title", "limit", "language", "summary", "keyword_line", "stats_line",
//    "keywords": [{"term", "weight"}], "sentences": [{"text", "rank", "seq"}]}
// with every text in UTF-8 and every table cell as the text it holds, rows top to bottom.
// `limit` is the summary limit in characters (200..500).
nlohmann::ordered_json ResultJson(const Document& document, int limit, const Outcome& outcome);

}  // namespace sumvelo::cli
