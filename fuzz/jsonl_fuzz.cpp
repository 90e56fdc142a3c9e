// jsonl_fuzz: arbitrary bytes as a JSON Lines batch.
//
// The first byte chooses the worker threads (1 to 3) and the window (one line, a few bytes, or
// the default); the rest is the input stream. Bodies are limited to 2 KiB here, so that the
// too-large body and the too-long line are both within the fuzzer's reach.
//
// The batch must answer every line, in order, with exactly the line AnswerLine gives for it
// alone, and every answer must be one JSON object; an error answer carries its line number.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/jsonl.h"

namespace {

using namespace sumvelo::cli;

constexpr std::size_t kMaxBody = 2048;

[[noreturn]] void Fail(const char* what, long long line) {
  std::fprintf(stderr, "jsonl_fuzz: %s (line %lld)\n", what, line);
  std::abort();
}

// The lines RunBatch is documented to cut the stream into.
std::vector<std::string_view> Lines(std::string_view stream) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < stream.size()) {
    const std::size_t feed = stream.find('\n', start);
    if (feed == std::string_view::npos) {
      lines.push_back(stream.substr(start));
      break;
    }
    lines.push_back(stream.substr(start, feed - start));
    start = feed + 1;
  }
  if (!lines.empty() && lines[0].starts_with("\xEF\xBB\xBF")) lines[0].remove_prefix(3);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const unsigned mode = data[0];
  std::string stream(reinterpret_cast<const char*>(data) + 1, size - 1);

  BatchSettings settings;
  settings.jobs = 1 + static_cast<int>(mode % 3);
  settings.maxBodyBytes = kMaxBody;
  switch ((mode / 3) % 3) {
    case 0: settings.windowLines = 1; break;
    case 1: settings.windowBytes = 16; break;
    default: break;
  }

  std::FILE* in = fmemopen(stream.data(), stream.size(), "rb");
  char* buffer = nullptr;
  std::size_t written = 0;
  std::FILE* out = open_memstream(&buffer, &written);
  if (!in || !out) std::abort();
  const BatchResult result = RunBatch(in, out, settings);
  std::fclose(in);
  std::fclose(out);
  const std::string output(buffer, written);
  std::free(buffer);

  const std::vector<std::string_view> lines = Lines(stream);
  if (result.counts.written != static_cast<long long>(lines.size())) Fail("line count", -1);
  long long errors = 0;
  std::size_t at = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const long long number = static_cast<long long>(k) + 1;
    const std::size_t feed = output.find('\n', at);
    if (feed == std::string::npos) Fail("answer missing", number);
    const std::string_view answer(output.data() + at, feed - at);
    at = feed + 1;
    const auto parsed = nlohmann::ordered_json::parse(answer, nullptr, false);
    if (!parsed.is_object()) Fail("answer is not a JSON object", number);
    if (lines[k].size() > MaxLineBytes(kMaxBody)) {
      if (!parsed.contains("error")) Fail("a too long line was summarized", number);
    } else if (answer != AnswerLine(lines[k], number, settings.defaultLimit, kMaxBody).line) {
      Fail("answer differs from the line's own answer", number);
    }
    if (parsed.contains("error")) {
      ++errors;
      if (parsed.value("line", -1LL) != number) Fail("error answer without its line", number);
    }
  }
  if (at != output.size()) Fail("more output than lines", -1);
  if (errors != result.counts.errors) Fail("error count", -1);
  return 0;
}
