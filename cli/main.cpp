// sumvelo: summarize one news article from a file, standard input or a built-in sample.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <string>

#include "cli/document.h"
#include "cli/output.h"
#include "encoding/gb18030.h"
#include "samples/builtin_texts.h"

namespace {

using sumvelo::cli::InputEncoding;

constexpr int kBadInput = 2;

struct Options {
  std::string title;
  std::string titleFile;
  int limit = 200;
  std::string encoding = "utf-8";
  bool json = false;
  std::string sample;
  std::string file = "-";
};

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

// LoadDocument fills the boxes from the options; it throws InputError for unusable input.
sumvelo::cli::Document LoadDocument(const Options& options, CLI::App& app) {
  using namespace sumvelo::cli;
  using namespace sumvelo::encoding;
  const InputEncoding encoding =
      options.encoding == "gbk" ? InputEncoding::Gb18030 : InputEncoding::Utf8;
  Document document;
  document.limitIndex = LimitIndex(options.limit).value_or(0);
  if (!options.sample.empty()) {
    const auto& article = SampleArticle(options.sample);
    document.title = TitleToEngine(article.headline);
    document.body = BodyToEngine(article.body);
    return document;
  }
  if (app.count("--title") > 0) {
    document.title = PrepareTitle({options.title, "--title"}, encoding);
  } else if (app.count("--title-file") > 0) {
    document.title = PrepareTitle(ReadSource(options.titleFile), encoding);
  }
  document.body = PrepareBody(ReadSource(options.file), encoding);
  return document;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{
      "Writes an extractive summary of a Chinese or English news article: the summary, the "
      "keyword line and the length line, one per line.\n"
      "The body is FILE, or standard input when FILE is absent or \"-\". --sample cannot be "
      "combined with FILE, --title or --title-file.\n"
      "Bad input (invalid UTF-8 or GBK, a NUL byte, an unreadable file, an unknown option) "
      "prints one line on standard error and exits with status 2.",
      "sumvelo"};
  app.set_version_flag("--version", "sumvelo " SUMVELO_VERSION);
  auto* title = app.add_option("--title", options.title, "Title text (its first line is used)");
  auto* titleFile =
      app.add_option("--title-file", options.titleFile, "File whose first line is the title");
  title->excludes(titleFile);
  app.add_option("--limit", options.limit, "Summary length limit in characters")
      ->check(CLI::Validator(
          [](std::string& value) -> std::string {
            for (const char* allowed : {"200", "300", "400", "500"}) {
              if (value == allowed) return {};
            }
            return "must be 200, 300, 400 or 500, not " + value;
          },
          "{200,300,400,500}"))
      ->capture_default_str();
  app.add_option("--encoding", options.encoding,
                 "Encoding of the body and title, and of plain output (JSON is always UTF-8)")
      ->check(CLI::IsMember({"utf-8", "gbk"}))
      ->capture_default_str();
  app.add_flag("--json", options.json,
               "Print one JSON object with the results and the keyword and sentence tables");
  auto* sample = app.add_option("--sample", options.sample, "Summarize a built-in article")
                     ->check(CLI::IsMember({"default", "two", "three"}));
  auto* file = app.add_option("FILE", options.file, "Body text file, or - for standard input");
  sample->excludes(title)->excludes(titleFile)->excludes(file);

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);  // --help and --version
  } catch (const CLI::ParseError& e) {
    return Fail(std::string(e.what()) + " (see sumvelo --help)");
  }

  sumvelo::cli::Document document;
  try {
    document = LoadDocument(options, app);
  } catch (const sumvelo::cli::InputError& e) {
    return Fail(e.what());
  }

  const sumvelo::cli::Outcome outcome = sumvelo::cli::SummarizeDocument(document);
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
