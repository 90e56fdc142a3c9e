// Batch mode: reading JSON lines, answering each in order on any number of threads, and the
// command line's --jsonl on real articles.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "cli/batch.h"
#include "cli/jsonl.h"
#include "cli/output.h"
#include "encoding/gb18030.h"
#include "tests/cli/cli_process.h"

namespace sumvelo::cli {
namespace {

const std::string kChinese =
    "城市公园的改造工程昨天全面完工。\n"
    "市民对城市公园的新设施十分满意，许多家庭在周末前来游玩。\n"
    "城市公园今年新增了三处儿童乐园和一条环湖步道。\n"
    "管理部门表示，城市公园明年还将增加更多的儿童乐园。\n";
const std::string kEnglish =
    "The river festival opened on Sunday with music along the river bank.\n"
    "Thousands of visitors watched the river boats parade past the old bridge.\n"
    "Organisers said the river festival drew record crowds this year.\n";

std::string Line(const json& object) { return object.dump(); }

json Doc(const std::string& body, json extra = json::object()) {
  json object = extra;
  object["body"] = body;
  return object;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t feed = text.find('\n'); feed != std::string::npos;
       feed = text.find('\n', start)) {
    lines.push_back(text.substr(start, feed - start));
    start = feed + 1;
  }
  EXPECT_EQ(start, text.size()) << "output does not end in a line feed";
  return lines;
}

// WithId returns {"id": id} followed by the keys of `result`.
json WithId(const json& id, const json& result) {
  json out = {{"id", id}};
  for (auto it = result.begin(); it != result.end(); ++it) out[it.key()] = it.value();
  return out;
}

// The --json result of one document, as SummarizeDocument gives it.
json Expected(const std::string& title, const std::string& body, int limit) {
  Document document{encoding::TitleToEngine(title), encoding::BodyToEngine(body),
                    *LimitIndex(limit)};
  return ResultJson(document, limit, SummarizeDocument(document));
}

TEST(ParseRequest, NamesWhatIsWrongWithALine) {
  const struct {
    std::string line;
    std::string error;  // a part of the message; empty for a good line
    bool hasId;
  } kCases[] = {
      {R"({"body": "x"})", "", false},
      {R"(  {"body": "x", "title": "t", "limit": 500, "id": "a-1", "extra": [1]}  )", "", true},
      {"{\"body\": \"x\", \"id\": 12}\r", "", true},
      {R"({"body": "", "id": -3.5})", "", true},
      {"", "empty line", false},
      {" \t\r", "empty line", false},
      {"not json", "not JSON (byte 2)", false},
      {R"({"body": "x")", "not JSON", false},
      {R"({"body": "x"} {"body": "y"})", "not JSON", false},
      {"{\"body\": \"\xC0\x80\"}", "not JSON", false},   // ill-formed UTF-8 in a string
      {R"({"body": "\ud800"})", "not JSON", false},      // an unpaired surrogate escape
      {R"([{"body": "x"}])", "not a JSON object but array", false},
      {R"("body")", "not a JSON object but string", false},
      {"null", "not a JSON object but null", false},
      {R"({"title": "x", "id": "k"})", "no \"body\"", true},
      {R"({"Body": "x"})", "no \"body\"", false},
      {R"({"body": 5, "id": "k"})", "\"body\" is number, not a string", true},
      {R"({"body": null})", "\"body\" is null, not a string", false},
      {R"({"body": ["x"]})", "\"body\" is array, not a string", false},
      {R"({"body": "x", "title": 1, "id": 2})", "\"title\" is number, not a string", true},
      {R"({"body": "x", "title": null})", "\"title\" is null", false},
      {R"({"body": "x", "limit": "300"})", "\"limit\" is string, not a number", false},
      {R"({"body": "x", "limit": 250, "id": "k"})", "must be 200, 300, 400 or 500, not 250", true},
      {R"({"body": "x", "limit": 300.0})", "not 300.0", false},
      {R"({"body": "x", "limit": -200})", "not -200", false},
      {R"({"body": "x", "limit": 18446744073709551615})", "not 18446744073709551615", false},
      {R"({"body": "x", "limit": 4294967496})", "not 4294967496", false},  // 200 + 2^32
      {R"({"body": "x", "id": {"n": 1}})", "\"id\" is object, not a string or a number", false},
      {R"({"body": "x", "id": true})", "\"id\" is boolean", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.line);
    const Request r = ParseRequest(c.line, 200, kMaxBodyBytes);
    if (c.error.empty()) {
      EXPECT_EQ(r.error, "");
    } else {
      EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
    }
    EXPECT_EQ(r.id.has_value(), c.hasId);
  }
  const Request full = ParseRequest(R"({"body":"b","title":"t","limit":400,"id":"x"})", 200, 10);
  EXPECT_EQ(full.body, "b");
  EXPECT_EQ(full.title, "t");
  EXPECT_EQ(full.limit, 400);
  EXPECT_EQ(*full.id, "x");
  EXPECT_EQ(ParseRequest(R"({"body":"b"})", 300, 10).limit, 300);  // the batch's default
}

TEST(ParseRequest, RefusesABodyOverTheLimit) {
  EXPECT_EQ(ParseRequest(Line(Doc("1234567890")), 200, 10).error, "");
  EXPECT_EQ(ParseRequest(Line(Doc("12345678901", {{"id", 1}})), 200, 10).error,
            "\"body\" is 11 bytes, more than the limit of 10 bytes");
  EXPECT_EQ(ParseRequest(Line(Doc("中文的")), 200, 9).error, "");  // UTF-8 bytes count
  EXPECT_EQ(ParseRequest(Line(Doc("b", {{"title", "12345678901"}})), 200, 10).error,
            "\"title\" is 11 bytes, more than the limit of 10 bytes");
  // The real limit.
  const Request big = ParseRequest(Line(Doc(std::string(kMaxBodyBytes + 1, 'a'))), 200, kMaxBodyBytes);
  EXPECT_EQ(big.error,
            "\"body\" is 67108865 bytes, more than the limit of 67108864 bytes (64 MiB)");
  EXPECT_EQ(MaxLineBytes(kMaxBodyBytes), 3 * kMaxBodyBytes + 4096);
}

TEST(AnswerLine, IsTheJsonResultWithTheIdFirstOrAnErrorObject) {
  const Answer withId =
      AnswerLine(Line(Doc(kChinese, {{"id", "p-7"}, {"title", "城市公园"}, {"limit", 300}})), 4,
                 200, kMaxBodyBytes);
  EXPECT_FALSE(withId.failed);
  const json expected = WithId("p-7", Expected("城市公园", kChinese, 300));
  EXPECT_EQ(json::parse(withId.line), expected);
  EXPECT_EQ(withId.line, expected.dump());
  EXPECT_EQ(withId.line.find('\n'), std::string::npos);

  const Answer plain = AnswerLine(Line(Doc(kEnglish)), 1, 400, kMaxBodyBytes);
  EXPECT_EQ(json::parse(plain.line), Expected("", kEnglish, 400));

  const struct {
    std::string line;
    std::string answer;  // the whole answer, or its start when the parser's message ends it
    bool whole;
  } kErrors[] = {
      {"oops", R"({"line":9,"error":"not JSON (byte 1): syntax error)", false},
      {"{\"body\":\"x\",\"limit\":\"\xFF\"}", R"({"line":9,"error":"not JSON (byte 22): )", false},
      {R"({"id":"k","body":1})", R"({"id":"k","line":9,"error":"\"body\" is number, not a string"})", true},
      {R"({"id":5,"body":"a\u0000b"})", R"({"id":5,"line":9,"error":"body (line 9) has a NUL byte at offset 1"})", true},
      {R"({"body":"ok","title":"\u0000"})", R"({"line":9,"error":"title (line 9) has a NUL byte at offset 0"})", true},
  };
  for (const auto& c : kErrors) {
    SCOPED_TRACE(c.line);
    const Answer a = AnswerLine(c.line, 9, 200, kMaxBodyBytes);
    EXPECT_TRUE(a.failed);
    if (c.whole) {
      EXPECT_EQ(a.line, c.answer);
    } else {
      EXPECT_EQ(a.line.rfind(c.answer, 0), 0u) << a.line;
      EXPECT_TRUE(json::parse(a.line).is_object());  // quoted bytes of bad UTF-8 were replaced
    }
  }
}

// RunOnce runs RunBatch over `input` held in memory and returns what it wrote.
std::string RunOnce(const std::string& input, const BatchSettings& settings,
                    BatchResult* result = nullptr) {
  std::string copy = input;
  std::FILE* in = copy.empty() ? std::fopen("/dev/null", "rb")
                               : fmemopen(copy.data(), copy.size(), "rb");
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  const BatchResult r = RunBatch(in, out, settings);
  std::fclose(in);
  std::fclose(out);
  std::string written(buffer, size);
  std::free(buffer);
  if (result) *result = r;
  return written;
}

TEST(RunBatch, AnswersEveryLineInOrderWhateverTheThreadsAndWindow) {
  std::string input = "\xEF\xBB\xBF" + Line(Doc(kChinese, {{"id", 1}})) + "\n";
  input += Line(Doc(kEnglish, {{"id", 2}, {"limit", 500}})) + "\r\n";
  input += "\n";
  input += "{broken\n";
  input += Line(Doc("", {{"id", "empty body"}})) + "\n";
  input += Line(Doc(kChinese, {{"title", "儿童乐园"}, {"limit", 250}})) + "\n";
  for (int k = 0; k < 12; ++k) {
    input += Line(Doc(k % 2 ? kChinese : kEnglish, {{"id", k}, {"limit", 200 + 100 * (k % 4)}})) + "\n";
  }
  input += Line(Doc(kEnglish, {{"id", "last, no line feed"}}));

  // What every run must give: each line's own answer, in input order.
  std::vector<std::string> lines;
  {
    std::size_t start = 0;
    for (std::size_t feed; (feed = input.find('\n', start)) != std::string::npos; start = feed + 1) {
      lines.push_back(input.substr(start, feed - start));
    }
    lines.push_back(input.substr(start));
    lines[0].erase(0, 3);  // the byte-order mark
  }
  std::string expected;
  int expectedErrors = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const Answer a = AnswerLine(lines[k], static_cast<long long>(k) + 1, 300, kMaxBodyBytes);
    expected += a.line + "\n";
    expectedErrors += a.failed;
  }
  ASSERT_EQ(expectedErrors, 3);

  const struct {
    int jobs;
    std::size_t windowLines, windowBytes;
  } kSettings[] = {{1, 0, 256 << 20}, {2, 0, 256 << 20}, {3, 1, 256 << 20},
                   {8, 0, 256 << 20}, {2, 2, 1},         {4, 100, 600}};
  for (const auto& s : kSettings) {
    SCOPED_TRACE("jobs " + std::to_string(s.jobs) + ", window " + std::to_string(s.windowLines) +
                 " lines, " + std::to_string(s.windowBytes) + " bytes");
    BatchSettings settings;
    settings.jobs = s.jobs;
    settings.defaultLimit = 300;
    settings.windowLines = s.windowLines;
    settings.windowBytes = s.windowBytes;
    BatchResult result;
    EXPECT_EQ(RunOnce(input, settings, &result), expected);
    EXPECT_EQ(result.counts.written, static_cast<long long>(lines.size()));
    EXPECT_EQ(result.counts.errors, expectedErrors);
    EXPECT_EQ(result.readError, "");
    EXPECT_FALSE(result.writeFailed);
  }
}

TEST(RunBatch, LinesAreCutAtLineFeedsOnly) {
  BatchSettings settings;
  const struct {
    std::string input;
    std::vector<std::string> errors;  // per output line: "" for a result, else a part of the error
  } kCases[] = {
      {"", {}},
      {"\n", {"empty line"}},
      {"\n\n", {"empty line", "empty line"}},
      {R"({"body":"the end"})", {""}},
      {R"({"body":"the end"})" "\n", {""}},
      {R"({"body":"the end"})" "\n\n", {"", "empty line"}},
      {"\r\n" R"({"body":"the end"})", {"empty line", ""}},
      {"\xEF\xBB\xBF\n", {"empty line"}},
      {"\xEF\xBB\xBF{}\n" "\xEF\xBB\xBF{}\n", {"no \"body\"", "no \"body\""}},
      {"\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF{}\n", {"not JSON"}},  // one mark per line
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.input);
    const std::vector<std::string> out = SplitLines(RunOnce(c.input, settings));
    ASSERT_EQ(out.size(), c.errors.size());
    for (std::size_t k = 0; k < out.size(); ++k) {
      const json answer = json::parse(out[k]);
      if (c.errors[k].empty()) {
        EXPECT_FALSE(answer.contains("error")) << answer;
      } else {
        EXPECT_EQ(answer["line"], static_cast<long long>(k) + 1);
        EXPECT_NE(answer["error"].get<std::string>().find(c.errors[k]), std::string::npos) << answer;
      }
    }
  }
}

TEST(RunBatch, ATooLongLineIsSkippedOverAndAnswered) {
  BatchSettings settings;
  settings.jobs = 2;
  settings.maxBodyBytes = 100;  // lines of up to 3 × 100 + 4096 bytes are read
  ASSERT_EQ(MaxLineBytes(100), 4396u);
  const std::string good = Line(Doc(kEnglish.substr(0, 90), {{"id", "good"}}));
  const std::string tooLong = Line(Doc(std::string(5000, 'x'), {{"id", "long"}}));
  const std::string tooLarge = Line(Doc(std::string(101, 'y'), {{"id", "large"}}));
  const std::string input = good + "\n" + tooLong + "\n" + tooLarge + "\n" + good + "\n";
  const std::vector<std::string> out = SplitLines(RunOnce(input, settings));
  ASSERT_EQ(out.size(), 4u);
  const std::string goodAnswer = AnswerLine(good, 1, 200, 100).line;
  EXPECT_EQ(out[0], goodAnswer);
  EXPECT_EQ(out[1], R"({"line":2,"error":"line is )" + std::to_string(tooLong.size()) +
                        R"( bytes, longer than the limit of 4396 bytes"})");
  EXPECT_EQ(out[2], R"({"id":"large","line":3,"error":"\"body\" is 101 bytes, more than the limit of 100 bytes"})");
  EXPECT_EQ(json::parse(out[3]), json::parse(goodAnswer));
}

// Answers come out while the input is still open: line k + 1 is sent only once answer k has
// been written, which would never happen if answers were held back to the end.
TEST(RunBatch, AnswersAreWrittenBeforeTheInputEnds) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::FILE* in = fdopen(fds[0], "rb");
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  std::mutex mutex;
  std::condition_variable changed;
  long long written = 0;
  bool heldBack = false;
  constexpr int kLines = 20;
  std::thread feeder([&] {
    for (int k = 1; k <= kLines; ++k) {
      const std::string line = Line(Doc(k % 2 ? kChinese : kEnglish, {{"id", k}})) + "\n";
      ASSERT_EQ(write(fds[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
      std::unique_lock lock(mutex);
      // The wait is bounded only so that a fault ends the test instead of hanging it.
      if (!changed.wait_for(lock, std::chrono::minutes(2), [&] { return written >= k; })) {
        heldBack = true;
        break;
      }
    }
    close(fds[1]);
  });
  BatchSettings settings;
  settings.jobs = 2;
  const BatchResult result = RunBatch(in, out, settings, [&](const BatchCounts& counts) {
    std::lock_guard lock(mutex);
    written = counts.written;
    changed.notify_all();
  });
  feeder.join();
  std::fclose(in);
  std::fclose(out);
  std::free(buffer);
  EXPECT_FALSE(heldBack);
  EXPECT_EQ(result.counts.written, kLines);
}

class BatchCliTest : public CliTest {
 protected:
  // Articles of the corpus as (title, body), every `step`-th file of each folder.
  std::vector<std::pair<std::string, std::string>> Articles(int step) {
    std::vector<std::pair<std::string, std::string>> out;
    const fs::path corpus = SUMVELO_CORPUS_DIR;
    for (const char* folder : {"zh", "en", "debian-zh"}) {
      std::vector<fs::path> files;
      if (!fs::is_directory(corpus / folder)) continue;
      for (const auto& entry : fs::directory_iterator(corpus / folder)) {
        if (std::regex_match(entry.path().filename().string(), std::regex("[0-9]{4}\\.txt"))) {
          files.push_back(entry.path());
        }
      }
      std::sort(files.begin(), files.end());
      for (std::size_t k = 0; k < files.size(); k += static_cast<std::size_t>(step)) {
        const std::string text = ReadFile(files[k]);
        const std::size_t feed = text.find('\n');
        out.emplace_back(text.substr(0, feed), text.substr(feed + 1));
      }
    }
    return out;
  }
};

TEST_F(BatchCliTest, JsonlEqualsOneJsonCallPerArticleForAnyJobs) {
  const auto articles = Articles(25);
  if (articles.empty()) GTEST_SKIP() << "no corpus";
  std::string input;
  for (std::size_t k = 0; k < articles.size(); ++k) {
    input += Line(Doc(articles[k].second, {{"id", "doc-" + std::to_string(k)},
                                           {"title", articles[k].first},
                                           {"limit", 200 + 100 * static_cast<int>(k % 4)}})) +
             "\n";
  }
  const Process one = Sumvelo({"--jsonl", "--jobs", "1"}, input);
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(one.err, "");
  for (const char* jobs : {"2", "3"}) {
    const Process many = Sumvelo({"--jsonl", "--jobs", jobs, Write("in.jsonl", input)});
    EXPECT_EQ(many.status, 0);
    EXPECT_EQ(many.out, one.out) << "--jobs " << jobs;
  }
  const std::vector<std::string> out = SplitLines(one.out);
  ASSERT_EQ(out.size(), articles.size());
  for (std::size_t k = 0; k < articles.size(); ++k) {
    SCOPED_TRACE(articles[k].first);
    const std::string limit = std::to_string(200 + 100 * (k % 4));
    const Process single = Sumvelo({"--json", "--limit", limit, "--title", articles[k].first},
                                   articles[k].second);
    EXPECT_EQ(json::parse(out[k]), WithId("doc-" + std::to_string(k), json::parse(single.out)));
  }
}

TEST_F(BatchCliTest, BadLinesGetErrorLinesAndTheGoodOnesAroundThemStayIntact) {
  const std::string good = Line(Doc(kChinese, {{"id", "g"}, {"title", "城市公园"}}));
  const std::vector<std::pair<std::string, std::string>> kBad = {
      {"{\"body\": ", "not JSON"},
      {"[]", "not a JSON object"},
      {R"({"title": "no body", "id": "b2"})", "no \"body\""},
      {R"({"body": 3, "id": "b3"})", "\"body\" is number"},
      {R"({"body": "x", "title": false, "id": "b4"})", "\"title\" is boolean"},
      {R"({"body": "x", "limit": 600, "id": "b5"})", "not 600"},
      {Line(Doc(std::string(1001, 'z'), {{"id", "b6"}})), "\"body\" is 1001 bytes, more than the limit of 1000 bytes"},
      {R"({"body": "nul \u0000 inside", "id": "b7"})", "NUL byte at offset 4"},
      {"", "empty line"},
  };
  std::string input = good + "\n";
  for (const auto& [line, error] : kBad) input += line + "\n" + good + "\n";
  const Process run = Sumvelo({"--jsonl", "--jobs", "2", "--max-body-bytes", "1000"}, input);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> out = SplitLines(run.out);
  ASSERT_EQ(out.size(), 1 + 2 * kBad.size());
  const json expected = WithId("g", Expected("城市公园", kChinese, 200));
  for (std::size_t k = 0; k < out.size(); ++k) {
    const json answer = json::parse(out[k]);
    if (k % 2 == 0) {
      EXPECT_EQ(answer, expected) << "line " << k + 1;
      continue;
    }
    const auto& [line, error] = kBad[k / 2];
    SCOPED_TRACE(line);
    EXPECT_EQ(answer["line"], static_cast<long long>(k) + 1);
    const json request = json::parse(line, nullptr, false);
    if (request.is_object() && request.contains("id")) EXPECT_EQ(answer["id"], request["id"]);
    else EXPECT_FALSE(answer.contains("id"));
    EXPECT_NE(answer["error"].get<std::string>().find(error), std::string::npos) << answer;
  }
  // All good: status 0; --verbose gives one line of totals on standard error.
  const Process clean = Sumvelo({"--jsonl", "--verbose"}, good + "\n" + good + "\n");
  EXPECT_EQ(clean.status, 0);
  EXPECT_TRUE(std::regex_match(
      clean.err, std::regex("sumvelo: 2 lines, 0 errors, [0-9.]+ s, [0-9.]+ lines/s, [0-9]+ jobs\n")))
      << clean.err;
}

// Thousands of documents: every article of the corpus under each limit, then all of them again
// in reverse order. Each document's two answers must agree wherever the threads ran them.
TEST_F(BatchCliTest, ThousandsOfCorpusDocumentsAnswerConsistently) {
  const auto articles = Articles(1);
  if (articles.size() < 100) GTEST_SKIP() << "no corpus";
  std::vector<std::pair<std::size_t, int>> order;  // article, limit
  for (int limit : {200, 300, 400, 500}) {
    for (std::size_t k = 0; k < articles.size(); ++k) order.emplace_back(k, limit);
  }
  const std::size_t half = order.size();
  for (std::size_t k = half; k-- > 0;) order.push_back(order[k]);
  std::string input;
  for (std::size_t n = 0; n < order.size(); ++n) {
    const auto& [article, limit] = order[n];
    input += Line(Doc(articles[article].second,
                      {{"id", static_cast<long long>(n)}, {"title", articles[article].first},
                       {"limit", limit}})) +
             "\n";
  }
  const Process run = Sumvelo({"--jsonl", "--jobs", "2", Write("all.jsonl", input)});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> out = SplitLines(run.out);
  ASSERT_EQ(out.size(), order.size());
  std::vector<json> answers;
  for (std::size_t n = 0; n < out.size(); ++n) {
    json answer = json::parse(out[n]);
    ASSERT_EQ(answer["id"], static_cast<long long>(n));
    EXPECT_EQ(answer["limit"], order[n].second);
    EXPECT_EQ(answer["title"], articles[order[n].first].first);
    EXPECT_NE(answer["language"], "neither") << answer["title"];
    answer.erase("id");
    answers.push_back(std::move(answer));
  }
  for (std::size_t n = 0; n < half; ++n) {
    EXPECT_EQ(answers[n], answers[2 * half - 1 - n]) << "id " << n;
  }
}

}  // namespace
}  // namespace sumvelo::cli
