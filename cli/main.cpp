// sumvelo: summarize one news article from a file, standard input or a built-in sample, or a
// batch of them as JSON Lines.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "cli/batch.h"
#include "cli/document.h"
#include "cli/output.h"
#include "cli/progress.h"
#include "encoding/gb18030.h"
#include "samples/builtin_texts.h"

namespace {

using sumvelo::cli::InputEncoding;

constexpr int kBadInput = 2;

constexpr auto kProgressDelay = std::chrono::milliseconds(500);

struct Options {
  std::string title;
  std::string titleFile;
  int limit = 200;
  std::string encoding = "auto";
  bool json = false;
  std::string sample;
  std::string file = "-";
  bool jsonl = false;
  int jobs = DefaultJobs();
  std::size_t maxBodyBytes = sumvelo::cli::kMaxBodyBytes;
  bool verbose = false;

  static int DefaultJobs() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
  }
};

InputEncoding EncodingOption(const std::string& name) {
  if (name == "gbk") return InputEncoding::Gb18030;
  if (name == "utf-8") return InputEncoding::Utf8;
  return InputEncoding::Auto;
}

int Fail(const std::string& message) {
  std::string line = message;
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  std::cerr << "sumvelo: " << line << '\n';
  return kBadInput;
}

const sumvelo::samples::Article& SampleArticle(const std::string& name) {
  if (name == "two") return sumvelo::samples::SampleTwo();
  if (name == "three") return sumvelo::samples::SampleThree();
  return sumvelo::samples::DefaultArticle();
}

// Says on standard error which encoding a text was read in (--verbose).
void Tell(const sumvelo::cli::Source& source, const char* what, sumvelo::cli::TextEncoding chosen) {
  std::cerr << "sumvelo: " << what << " (" << source.name << ") read as "
            << sumvelo::cli::EncodingName(chosen) << '\n';
}

// LoadDocument fills the boxes from the options; it throws InputError for unusable input.
sumvelo::cli::Document LoadDocument(const Options& options, CLI::App& app) {
  using namespace sumvelo::cli;
  using namespace sumvelo::encoding;
  const InputEncoding encoding = EncodingOption(options.encoding);
  Document document;
  document.limitIndex = LimitIndex(options.limit).value_or(0);
  if (!options.sample.empty()) {
    const auto& article = SampleArticle(options.sample);
    document.title = TitleToEngine(article.headline);
    document.body = BodyToEngine(article.body);
    return document;
  }
  TextEncoding chosen{};
  std::optional<Source> title;
  if (app.count("--title") > 0) {
    title = Source{options.title, "--title"};
  } else if (app.count("--title-file") > 0) {
    title = ReadSource(options.titleFile, options.maxBodyBytes);
  }
  if (title) {
    document.title = PrepareTitle(*title, encoding, &chosen);
    if (options.verbose) Tell(*title, "title", chosen);
  }
  const Source body = ReadSource(options.file, options.maxBodyBytes);
  document.body = PrepareBody(body, encoding, &chosen);
  if (options.verbose) Tell(body, "body", chosen);
  return document;
}

// Summarize runs one document, showing its progress on a terminal when it takes a while.
sumvelo::cli::Outcome Summarize(const sumvelo::cli::Document& document) {
  using sumvelo::Control;
  std::mutex mutex;
  std::string shown;  // 标签2 at the last event: the keyword stage's percentage
  sumvelo::cli::ProgressTicker ticker(
      [&] {
        std::lock_guard lock(mutex);
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f s", ticker.Elapsed());
        return "summarizing, " + (shown.empty() ? std::string() : "keywords " + shown + ", ") +
               seconds;
      },
      kProgressDelay);
  return sumvelo::cli::SummarizeDocument(document, [&](const sumvelo::HeadlessControls& c) {
    std::string text = sumvelo::encoding::FromEngine(c.Text(Control::标签2));
    std::lock_guard lock(mutex);
    shown = std::move(text);
  });
}

// RunBatch answers every JSON line of FILE or standard input; the status is 1 when any line was
// an error or the input or output failed.
int RunBatch(const Options& options) {
  using namespace sumvelo::cli;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(nullptr, &std::fclose);
  std::FILE* in = stdin;
  std::string name = "standard input";
  if (options.file != "-") {
    file.reset(std::fopen(options.file.c_str(), "rb"));
    if (!file) return Fail("cannot read " + options.file + ": " + std::strerror(errno));
    in = file.get();
    name = options.file;
  }
  BatchSettings settings;
  settings.jobs = options.jobs;
  settings.defaultLimit = options.limit;
  settings.maxBodyBytes = options.maxBodyBytes;
  std::atomic<long long> written = 0, errors = 0;
  BatchResult result;
  const auto start = std::chrono::steady_clock::now();
  {
    ProgressTicker ticker(
        [&] {
          const long long n = written;
          char rate[64];
          std::snprintf(rate, sizeof rate, ", %.0f lines/s", n / std::max(ticker.Elapsed(), 1e-3));
          return std::to_string(n) + " lines done, " + std::to_string(errors.load()) +
                 " errors" + rate;
        },
        kProgressDelay);
    result = sumvelo::cli::RunBatch(in, stdout, settings, [&](const BatchCounts& counts) {
      written = counts.written;
      errors = counts.errors;
    });
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (options.verbose) {
    std::fprintf(stderr, "sumvelo: %lld lines, %lld errors, %.2f s, %.1f lines/s, %d jobs\n",
                 result.counts.written, result.counts.errors, seconds,
                 result.counts.written / std::max(seconds, 1e-9), std::max(1, options.jobs));
  }
  if (!result.readError.empty()) {
    std::cerr << "sumvelo: cannot read " << name << ": " << result.readError << '\n';
    return 1;
  }
  if (result.writeFailed) {
    std::cerr << "sumvelo: cannot write to standard output\n";
    return 1;
  }
  return result.counts.errors > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{
      "Writes an extractive summary of a Chinese or English news article: the summary, the "
      "keyword line and the length line, one per line.\n"
      "The body is FILE, or standard input when FILE is absent or \"-\". --sample cannot be "
      "combined with FILE, --title or --title-file.\n"
      "Bad input (text that is neither UTF-8 nor GBK, a NUL byte, a body over the size limit, "
      "an unreadable file, an unknown option) prints one line on standard error and exits with "
      "status 2.\n"
      "With --jsonl, every line of FILE (or standard input) is a JSON object with \"body\" and "
      "optionally \"title\", \"limit\" and \"id\"; each gets one line of output in input "
      "order, the --json object (with \"id\" first when given) or an object with \"line\" "
      "and \"error\". The status is 1 when any line was an error.",
      "sumvelo"};
  app.set_version_flag("--version", "sumvelo " SUMVELO_VERSION);
  auto* title = app.add_option("--title", options.title, "Title text (its first line is used)");
  auto* titleFile =
      app.add_option("--title-file", options.titleFile, "File whose first line is the title");
  title->excludes(titleFile);
  app.add_option("--limit", options.limit,
                 "Summary length limit in characters (with --jsonl, for lines without \"limit\")")
      ->check(CLI::Validator(
          [](std::string& value) -> std::string {
            for (const char* allowed : {"200", "300", "400", "500"}) {
              if (value == allowed) return {};
            }
            return "must be 200, 300, 400 or 500, not " + value;
          },
          "{200,300,400,500}"))
      ->capture_default_str();
  auto* encodingOption =
      app.add_option("--encoding", options.encoding,
                     "Encoding of the body and title: auto tells UTF-8 (with or without a "
                     "byte-order mark), UTF-16 with a byte-order mark and GBK/GB18030 apart; gbk "
                     "also makes plain output GB18030 (JSON is always UTF-8)")
          ->check(CLI::IsMember({"auto", "utf-8", "gbk"}))
          ->capture_default_str();
  app.add_flag("--json", options.json,
               "Print one JSON object with the results and the keyword and sentence tables");
  auto* sample = app.add_option("--sample", options.sample, "Summarize a built-in article")
                     ->check(CLI::IsMember({"default", "two", "three"}));
  auto* file = app.add_option("FILE", options.file,
                              "Body text file (with --jsonl, the JSON Lines file), or - for "
                              "standard input");
  sample->excludes(title)->excludes(titleFile)->excludes(file);
  auto* jsonl = app.add_flag("--jsonl", options.jsonl,
                             "Summarize a batch: one JSON object per line in, one per line out");
  jsonl->excludes(title)->excludes(titleFile)->excludes(sample);
  app.get_option("--json")->excludes(jsonl);
  app.add_option("--jobs", options.jobs,
                 "With --jsonl: documents summarized at once, on as many threads (default: the "
                 "number of cores); the output is the same for any number")
      ->check(CLI::Range(1, 1024))
      ->needs(jsonl);
  app.add_option("--max-body-bytes", options.maxBodyBytes,
                 "Refuse a body (or title file) larger than this many bytes; at most and by "
                 "default 67108864 (64 MiB)")
      ->check(CLI::Range(std::size_t{1}, sumvelo::cli::kMaxBodyBytes));
  app.add_flag("--verbose", options.verbose,
               "Say on standard error which encoding each text was read in, or, with --jsonl, "
               "how many lines were answered and how fast");

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);  // --help and --version
  } catch (const CLI::ParseError& e) {
    return Fail(std::string(e.what()) + " (see sumvelo --help)");
  }

  if (options.jsonl) {
    if (encodingOption->count() > 0 && options.encoding == "gbk") {
      return Fail("--jsonl reads JSON, which is UTF-8; --encoding gbk does not apply");
    }
    return RunBatch(options);
  }

  sumvelo::cli::Document document;
  try {
    document = LoadDocument(options, app);
  } catch (const sumvelo::cli::InputError& e) {
    return Fail(e.what());
  }

  const sumvelo::cli::Outcome outcome = Summarize(document);
  if (options.json) {
    std::cout << sumvelo::cli::ResultJson(document, options.limit, outcome).dump(2) << '\n';
  } else {
    const InputEncoding encoding =
        options.encoding == "gbk" ? InputEncoding::Gb18030 : InputEncoding::Utf8;
    std::cout << sumvelo::cli::PlainText(outcome, encoding);
  }
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "sumvelo: cannot write to standard output\n";
    return 1;
  }
  return 0;
}
