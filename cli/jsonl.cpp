#include "cli/jsonl.h"

#include <exception>
#include <utility>

#include "cli/output.h"
#include "encoding/gb18030.h"

namespace sumvelo::cli {
namespace {

using json = nlohmann::ordered_json;

std::string Dump(const json& value) {
  // Messages may quote bytes of the input that are not UTF-8; they become U+FFFD.
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// NotJson turns the parser's message into "not JSON (byte 5): syntax error while parsing ...".
std::string NotJson(const json::parse_error& e) {
  std::string_view what = e.what();
  const std::size_t column = what.find("column ");
  if (column != std::string_view::npos) {
    const std::size_t colon = what.find(": ", column);
    if (colon != std::string_view::npos) what.remove_prefix(colon + 2);
  }
  return "not JSON (byte " + std::to_string(e.byte) + "): " + std::string(what);
}

std::string WrongType(std::string_view key, const json& value, std::string_view wanted) {
  return "\"" + std::string(key) + "\" is " + std::string(value.type_name()) + ", not " +
         std::string(wanted);
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

Request ParseRequest(std::string_view line, int defaultLimit, std::size_t maxBodyBytes) {
  Request request;
  request.limit = defaultLimit;
  if (IsBlank(line)) {
    request.error = "empty line, not a JSON object";
    return request;
  }
  json object;
  try {
    object = json::parse(line);
  } catch (const json::parse_error& e) {
    request.error = NotJson(e);
    return request;
  }
  if (!object.is_object()) {
    request.error = "not a JSON object but " + std::string(object.type_name());
    return request;
  }
  // The id first, so that an error line can carry it whatever else is wrong.
  std::string idError;
  if (auto id = object.find("id"); id != object.end()) {
    if (id->is_string() || id->is_number()) {
      request.id = *id;
    } else {
      idError = WrongType("id", *id, "a string or a number");
    }
  }
  auto fail = [&](std::string error) {
    request.error = std::move(error);
    return request;
  };
  const auto body = object.find("body");
  if (body == object.end()) return fail("no \"body\"");
  if (!body->is_string()) return fail(WrongType("body", *body, "a string"));
  if (!idError.empty()) return fail(idError);
  if (auto title = object.find("title"); title != object.end()) {
    if (!title->is_string()) return fail(WrongType("title", *title, "a string"));
    request.title = std::move(title->get_ref<std::string&>());
  }
  if (auto limit = object.find("limit"); limit != object.end()) {
    if (!limit->is_number()) return fail(WrongType("limit", *limit, "a number"));
    const bool known = limit->is_number_integer() && limit->get<long long>() >= 0 &&
                       limit->get<long long>() <= 500 &&
                       LimitIndex(limit->get<int>()).has_value();
    if (!known) return fail("\"limit\" must be 200, 300, 400 or 500, not " + Dump(*limit));
    request.limit = limit->get<int>();
  }
  auto tooLarge = [&](std::string_view key, std::size_t size) {
    return "\"" + std::string(key) + "\" is " + std::to_string(size) +
           " bytes, more than the limit of " + ByteLimitText(maxBodyBytes);
  };
  std::string& text = body->get_ref<std::string&>();
  if (text.size() > maxBodyBytes) return fail(tooLarge("body", text.size()));
  if (request.title.size() > maxBodyBytes) return fail(tooLarge("title", request.title.size()));
  request.body = std::move(text);
  return request;
}

Answer ErrorAnswer(long long lineNumber, const std::string& error,
                   const std::optional<json>& id) {
  json out;
  if (id) out["id"] = *id;
  out["line"] = lineNumber;
  out["error"] = error;
  return {Dump(out), true};
}

Answer AnswerLine(std::string_view line, long long lineNumber, int defaultLimit,
                  std::size_t maxBodyBytes) {
  Request request = ParseRequest(line, defaultLimit, maxBodyBytes);
  Document document;
  if (request.error.empty()) {
    const std::string where = "line " + std::to_string(lineNumber);
    try {
      document.title = PrepareTitle({std::move(request.title), where}, InputEncoding::Utf8);
      document.body = PrepareBody({std::move(request.body), where}, InputEncoding::Utf8);
    } catch (const InputError& e) {
      request.error = e.what();
    }
    document.limitIndex = LimitIndex(request.limit).value_or(0);
  }
  if (!request.error.empty()) return ErrorAnswer(lineNumber, request.error, request.id);
  json out;
  if (request.id) out["id"] = *request.id;
  json result = ResultJson(document, request.limit, SummarizeDocument(document));
  for (auto it = result.begin(); it != result.end(); ++it) out[it.key()] = std::move(it.value());
  return {Dump(out), false};
}

}  // namespace sumvelo::cli
