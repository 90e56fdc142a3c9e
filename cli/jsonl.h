// One line of a JSON Lines batch: the request it holds, and the line that answers it.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "cli/document.h"

namespace sumvelo::cli {

// Request is what one input line asks for, or what is wrong with it.
struct Request {
  std::optional<nlohmann::ordered_json> id;  // "id" as given, when it is a string or a number
  std::string title;                         // UTF-8 as given; the empty text when absent
  std::string body;                          // UTF-8 as given
  int limit = 200;
  std::string error;  // not empty: the line cannot be summarized, and this says why
};

// ParseRequest reads one input line (its line feed removed; a CR before it is white space; a
// UTF-8 byte-order mark at its start is skipped by the JSON reader). The
// line must be a JSON object with "body", a string of at most maxBodyBytes bytes of UTF-8, and
// may have "title" (a string), "limit" (the number 200, 300, 400 or 500; defaultLimit when
// absent) and "id" (a string or a number); other keys are ignored. Whatever is wrong is named
// in `error`: an empty line, text that is not JSON (with the byte where parsing stopped), JSON
// that is not an object, a missing body, a key of the wrong type, a limit outside the four, a
// body or title that is too large (the title has the body's limit, as a title file does).
// `id` is set whenever the line is an object whose "id" is a string or a number, also when
// something else is wrong.
Request ParseRequest(std::string_view line, int defaultLimit, std::size_t maxBodyBytes);

// Answer is the output line for one input line, without its line feed.
struct Answer {
  std::string line;
  bool failed = false;  // the line is an error line
};

// AnswerLine reads input line number `lineNumber` (from 1) and summarizes it as --json does,
// one document on fresh controls and a fresh workspace. The answer is the --json object written
// on one line, with "id" as its first key when the request has one, or, when the request cannot
// be summarized (ParseRequest's errors, and a body or title with a NUL character), the object
// {"id" (when readable), "line": lineNumber, "error": what is wrong}.
Answer AnswerLine(std::string_view line, long long lineNumber, int defaultLimit,
                  std::size_t maxBodyBytes);

// ErrorAnswer is the error line for `lineNumber` with the message `error`, and `id` first when
// there is one.
Answer ErrorAnswer(long long lineNumber, const std::string& error,
                   const std::optional<nlohmann::ordered_json>& id = std::nullopt);

// MaxLineBytes is the longest input line read for a given body limit: 3 bytes per body byte
// (room for a body written with \u escapes, as JSON writers do by default) and 4 KiB for the
// rest of the object. A longer line is answered with an error without being held in memory.
constexpr std::size_t MaxLineBytes(std::size_t maxBodyBytes) { return 3 * maxBodyBytes + 4096; }

}  // namespace sumvelo::cli
