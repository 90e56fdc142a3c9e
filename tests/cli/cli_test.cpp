// The command line as a user meets it: the built binary run as a process on small files, plus
// the document library it is made of.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/document.h"
#include "cli/output.h"
#include "encoding/gb18030.h"
#include "samples/builtin_texts.h"
#include "tests/cli/cli_process.h"

namespace sumvelo::cli {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

// Small articles of our own: every key phrase comes back at least three times.
const std::string kChinese =
    "城市公园的改造工程昨天全面完工。\n"
    "市民对城市公园的新设施十分满意，许多家庭在周末前来游玩。\n"
    "城市公园今年新增了三处儿童乐园和一条环湖步道。\n"
    "管理部门表示，城市公园明年还将增加更多的儿童乐园。\n"
    "据介绍，环湖步道的夜间照明也将在下月开通，环湖步道全长三公里。\n";
const std::string kEnglish =
    "The river festival opened on Sunday with music along the river bank.\n"
    "Thousands of visitors watched the river boats parade past the old bridge.\n"
    "Organisers said the river festival drew record crowds this year.\n"
    "The festival ends next week with fireworks over the river.\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

TEST_F(CliTest, BadInputGivesOneErrorLineStatusTwoAndNoOutput) {
  Write("good.txt", kChinese);
  Write("bad_utf8.txt", "中文\xC0\x80");
  Write("nul.txt", std::string("ab\0cd", 5));
  Write("bad_gbk.txt", "\xD6\xD0\xFF");
  fs::create_directory(dir_ / "folder");
  const struct {
    std::vector<std::string> args;
    std::string input;
    std::vector<std::string> mentions;
  } kCases[] = {
      {{"-e", "@/bad_utf8.txt"}, "", {"body", "bad_utf8.txt", "not valid UTF-8", "offset 6", "--encoding gbk"}},
      {{"-e"}, "ok\xE4\xB8", {"body (standard input)", "not valid UTF-8", "offset 2"}},
      {{"-e", "-"}, "a\xC0\x80", {"standard input", "offset 1"}},
      {{"-e"}, "\xED\xA0\x80", {"offset 0"}},                      // a surrogate
      {{"-e", "--json"}, "x\xF4\x90\x80\x80", {"offset 1"}},         // above U+10FFFF
      {{"-e"}, "\xD6\xD0\xCE\xC4", {"offset 0", "--encoding gbk"}},  // GBK read as UTF-8
      // --encoding auto (the default): neither UTF-8 nor GBK, UTF-16 that does not decode.
      {{}, "\xED\xA0\x80", {"body (standard input)", "neither UTF-8", "offset 0", "GBK/GB18030", "offset 2"}},
      {{"--encoding", "auto"}, "ab\xFF", {"neither UTF-8", "offset 2"}},
      {{}, std::string("\xFF\xFE\x00\xD8" "a\x00", 6), {"not valid UTF-16 LE", "unpaired surrogate", "offset 2"}},
      {{}, std::string("\xFE\xFF\xDC\x00", 4), {"not valid UTF-16 BE", "unpaired surrogate", "offset 2"}},
      {{}, std::string("\xFE\xFF\x00", 3), {"UTF-16 BE", "odd number of bytes"}},
      {{}, std::string("\xFF\xFE" "a\x00\x00\x00", 6), {"UTF-16 LE", "NUL character at byte offset 4"}},
      {{}, std::string("a\x00" "b\x00", 4), {"NUL byte at offset 1", "UTF-16", "byte-order mark"}},
      {{"--title", "\xD6", "@/good.txt"}, "", {"title (--title)", "neither UTF-8"}},
      {{"@/nul.txt"}, "", {"body (@/nul.txt)", "NUL byte at offset 2"}},
      {{"--encoding", "gbk"}, std::string("\xD6\xD0\0", 3), {"standard input", "NUL byte at offset 2"}},
      {{"--title-file", "@/nul.txt", "@/good.txt"}, "", {"title (@/nul.txt)", "NUL byte at offset 2"}},
      {{"--title", "\xFF", "@/good.txt"}, "", {"title (--title)", "offset 0"}},
      {{"--encoding", "gbk", "@/bad_gbk.txt"}, "", {"body (@/bad_gbk.txt)", "not valid GBK", "offset 2"}},
      {{"--encoding", "gbk"}, "中\n", {"standard input", "not valid GBK", "offset 2"}},
      {{"@/missing.txt"}, "", {"cannot read @/missing.txt", "No such file or directory"}},
      {{"@/folder"}, "", {"cannot read @/folder", "Is a directory"}},
      {{"--title-file", "@/none.txt", "@/good.txt"}, "", {"cannot read @/none.txt"}},
      {{"--bogus"}, "", {"--bogus"}},
      {{"@/good.txt", "@/good.txt"}, "", {"@/good.txt"}},
      {{"--limit", "250"}, "", {"--limit", "250"}},
      {{"--limit", "abc"}, "", {"--limit", "abc"}},
      {{"--limit"}, "", {"--limit"}},
      {{"--encoding", "latin1"}, "", {"--encoding", "latin1"}},
      {{"--sample", "four"}, "", {"--sample", "four"}},
      {{"--sample", "two", "@/good.txt"}, "", {"--sample", "FILE"}},
      {{"--sample", "two", "--title", "x"}, "", {"--sample", "--title"}},
      {{"--sample", "three", "--title-file", "@/good.txt"}, "", {"--sample", "--title-file"}},
      {{"--title", "a", "--title-file", "@/good.txt"}, "", {"--title", "--title-file"}},
      // The size limit, lowered for the test; the real one is tested on a sparse file below.
      {{"--max-body-bytes", "4"}, "12345", {"standard input is larger than the limit of 4 bytes"}},
      {{"--max-body-bytes", "4", "@/good.txt"}, "", {"good.txt", "larger than the limit of 4 bytes"}},
      {{"--max-body-bytes", "4", "--title-file", "@/good.txt"}, "", {"good.txt", "limit of 4 bytes"}},
      {{"--max-body-bytes", "0"}, "", {"--max-body-bytes"}},
      {{"--max-body-bytes", "67108865"}, "", {"--max-body-bytes"}},
      // Batch options.
      {{"--jsonl", "--encoding", "gbk"}, "", {"--jsonl", "UTF-8", "--encoding gbk"}},
      {{"--jsonl", "--json"}, "", {"--json"}},
      {{"--jsonl", "--sample", "two"}, "", {"--sample"}},
      {{"--jsonl", "--title", "x"}, "", {"--title"}},
      {{"--jobs", "2"}, "", {"--jobs", "--jsonl"}},
      {{"--jsonl", "--jobs", "0"}, "", {"--jobs"}},
      {{"--jsonl", "@/missing.jsonl"}, "", {"cannot read @/missing.jsonl"}},
  };
  for (const auto& c : kCases) {
    std::vector<std::string> args;
    for (const std::string& a : c.args) {
      if (a == "-e") {  // the cases written for UTF-8 input name the encoding
        args.insert(args.end(), {"--encoding", "utf-8"});
      } else {
        args.push_back(Replace(a, "@", dir_.string()));
      }
    }
    std::string shown;
    for (const std::string& a : args) shown += " " + a;
    SCOPED_TRACE("sumvelo" + shown);
    Process run = Sumvelo(args, c.input);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.rfind("sumvelo: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "not one line: " << run.err;
    for (const std::string& m : c.mentions) {
      const std::string mention = Replace(m, "@", dir_.string());
      EXPECT_NE(run.err.find(mention), std::string::npos) << run.err << "lacks: " << mention;
    }
  }
}

TEST_F(CliTest, JsonHasTheKeysAndTypesOfTheResult) {
  const std::string body = Write("body.txt", kChinese);
  json result = SumveloJson({"--title", "城市公园完工", "--limit", "300", body});
  std::vector<std::string> keys;
  for (auto it = result.begin(); it != result.end(); ++it) keys.push_back(it.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"title", "limit", "language", "summary",
                                            "keyword_line", "stats_line", "keywords",
                                            "sentences"}));
  EXPECT_EQ(result["title"], "城市公园完工");
  EXPECT_EQ(result["limit"], 300);
  EXPECT_EQ(result["language"], "chinese");
  ASSERT_TRUE(result["summary"].is_string());
  EXPECT_NE(result["summary"], "");
  ASSERT_TRUE(result["keyword_line"].is_string());
  EXPECT_EQ(result["keyword_line"].get<std::string>().rfind("关键词： 城市公园 ", 0), 0u)
      << result["keyword_line"];

  // The length line counts the body as the engine saw it: GB18030 bytes with CR LF, halved.
  const int bodyChars = static_cast<int>(encoding::BodyToEngine(kChinese).size() / 2);
  std::smatch m;
  const std::string stats = result["stats_line"];
  ASSERT_TRUE(std::regex_match(stats, m, std::regex("原文([0-9]+)字，摘要([0-9]+)字"))) << stats;
  EXPECT_EQ(std::stoi(m[1]), bodyChars);
  EXPECT_EQ(std::stoi(m[2]),
            static_cast<int>(encoding::Utf8ToGb18030(result["summary"].get<std::string>()).size() / 2));

  ASSERT_TRUE(result["keywords"].is_array());
  ASSERT_FALSE(result["keywords"].empty());
  EXPECT_EQ(result["keywords"][0]["term"], "城市公园");
  for (const json& row : result["keywords"]) {
    ASSERT_TRUE(row["term"].is_string() && row["weight"].is_string()) << row;
    EXPECT_TRUE(std::regex_match(row["weight"].get<std::string>(), std::regex("[0-9]+"))) << row;
  }
  ASSERT_TRUE(result["sentences"].is_array());
  ASSERT_GE(result["sentences"].size(), 5u);  // at least one per line
  std::vector<int> seqs, expected;
  for (const json& row : result["sentences"]) {
    ASSERT_TRUE(row["text"].is_string() && row["rank"].is_string() && row["seq"].is_string())
        << row;
    seqs.push_back(std::stoi(row["seq"].get<std::string>()));
    expected.push_back(static_cast<int>(expected.size()) + 1);
  }
  std::sort(seqs.begin(), seqs.end());
  EXPECT_EQ(seqs, expected);  // every sequence number once
}

TEST_F(CliTest, BodiesWithoutEitherLanguageGiveTheStartUpTexts) {
  const std::string kCases[] = {"", "\n\n", "2012 08 15\n", "hello world", "\xEF\xBB\xBF"};
  for (const std::string& body : kCases) {
    SCOPED_TRACE(body);
    json result = SumveloJson({}, body);
    EXPECT_EQ(result["language"], "neither");
    EXPECT_EQ(result["summary"], "");
    EXPECT_EQ(result["keyword_line"], "关键词：  ");
    EXPECT_EQ(result["stats_line"], "");
    EXPECT_EQ(result["keywords"], json::array());
    EXPECT_EQ(result["sentences"], json::array());
    EXPECT_EQ(result["title"], "");
  }
}

TEST_F(CliTest, LanguageIsChosenFromTheBody) {
  const struct {
    std::string body;
    std::string language;
  } kCases[] = {
      {kChinese, "chinese"},
      {kEnglish, "english"},
      {"They said the plan is the one the city needs.\n" + kChinese, "chinese"},
      {"THE END IS NEAR, SAID THE SIGN ON THE WALL.\n", "english"},
      {"Another bright morning on our street today.\n", "english"},  // inside "Another"
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SumveloJson({}, c.body)["language"], c.language) << c.body;
  }
}

TEST_F(CliTest, PlainOutputIsSummaryKeywordLineAndLengthLine) {
  for (const std::string& body : {kChinese, kEnglish, std::string()}) {
    SCOPED_TRACE(body);
    json result = SumveloJson({"--title", "River"}, body);
    Process plain = Sumvelo({"--title", "River"}, body);
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.err, "");
    EXPECT_EQ(plain.out, result["summary"].get<std::string>() + "\n" +
                             result["keyword_line"].get<std::string>() + "\n" +
                             result["stats_line"].get<std::string>() + "\n");
  }
  Process english = Sumvelo({}, kEnglish);
  EXPECT_EQ(std::count(english.out.begin(), english.out.end(), '\n'), 3) << english.out;
}

TEST_F(CliTest, GbkInputGivesTheSameResultAndGbkPlainOutput) {
  const std::string gbkBody = Write("gbk.txt", encoding::Utf8ToGb18030(kChinese));
  const std::string gbkTitle = Write("title.txt", encoding::Utf8ToGb18030("城市公园\n"));
  const std::string body = Write("utf8.txt", kChinese);
  EXPECT_EQ(SumveloJson({"--encoding", "gbk", "--title-file", gbkTitle, gbkBody}),
            SumveloJson({"--title", "城市公园", body}));
  Process gbk = Sumvelo({"--encoding", "gbk", gbkBody});
  Process utf8 = Sumvelo({body});
  EXPECT_EQ(gbk.status, 0);
  EXPECT_NE(gbk.out, utf8.out);
  EXPECT_EQ(gbk.out, encoding::Utf8ToGb18030(utf8.out));
}

TEST_F(CliTest, ByteOrderMarkAndLineBreakStylesDoNotChangeTheResult) {
  const json lf = SumveloJson({}, kChinese);
  EXPECT_EQ(SumveloJson({}, "\xEF\xBB\xBF" + kChinese), lf);
  EXPECT_EQ(SumveloJson({}, Replace(kChinese, "\n", "\r\n")), lf);
  EXPECT_EQ(SumveloJson({}, Replace(kChinese, "\n", "\r")), lf);
  EXPECT_EQ(SumveloJson({"-"}, kChinese), lf);
}

TEST_F(CliTest, TitleIsTheFirstLineOfItsText) {
  const std::string body = Write("body.txt", kChinese);
  const std::string titleFile = Write("title.txt", "\xEF\xBB\xBF环湖步道\r\n第二行不算\n");
  const json fromFile = SumveloJson({"--title-file", titleFile, body});
  const json fromText = SumveloJson({"--title", "环湖步道\n第二行不算", body});
  EXPECT_EQ(fromFile["title"], "环湖步道");
  EXPECT_EQ(fromFile, fromText);
  // The title boost doubles the weight of a keyword found in it.
  const json untitled = SumveloJson({body});
  auto weight = [](const json& result, const std::string& term) {
    for (const json& row : result["keywords"]) {
      if (row["term"] == term) return std::stoi(row["weight"].get<std::string>());
    }
    return -1;
  };
  ASSERT_GT(weight(untitled, "环湖步道"), 0) << untitled["keywords"];
  EXPECT_EQ(weight(fromFile, "环湖步道"), 2 * weight(untitled, "环湖步道"));
}

TEST_F(CliTest, LimitBoundsTheSummaryLength) {
  std::string body;
  for (int i = 1; i <= 40; ++i) {
    body += "第" + std::to_string(i) + "座城市公园的改造工程进展顺利，市民对城市公园十分满意。\n";
  }
  const std::string path = Write("long.txt", body);
  int previous = 0;
  for (int limit : {200, 300, 400, 500}) {
    SCOPED_TRACE(limit);
    json result = SumveloJson({"--limit", std::to_string(limit), path});
    EXPECT_EQ(result["limit"], limit);
    std::smatch m;
    const std::string stats = result["stats_line"];
    ASSERT_TRUE(std::regex_match(stats, m, std::regex("原文[0-9]+字，摘要([0-9]+)字"))) << stats;
    const int chars = std::stoi(m[1]);
    EXPECT_LE(chars, limit);
    EXPECT_GT(chars, limit - 40);  // sentences of about 30 characters fill it up
    EXPECT_GT(chars, previous);
    previous = chars;
  }
}

TEST_F(CliTest, SamplesTakeTheirLanguagesPath) {
  if (samples::SampleTwo().body.empty() || samples::SampleThree().body.empty()) {
    GTEST_SKIP() << "the built-in articles are not written yet";
  }
  const struct {
    std::string name;
    const samples::Article& article;
    std::string language;
  } kCases[] = {
      {"default", samples::DefaultArticle(), "chinese"},
      {"two", samples::SampleTwo(), "chinese"},
      {"three", samples::SampleThree(), "english"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    json result = SumveloJson({"--sample", c.name});
    EXPECT_EQ(result["language"], c.language);
    EXPECT_EQ(result["title"], std::string(c.article.headline));
    EXPECT_NE(result["summary"], "");
    EXPECT_GE(result["keywords"].size(), 3u);
    // The same article given as a file gives the same result.
    const std::string body = Write(c.name + ".txt", std::string(c.article.body));
    EXPECT_EQ(SumveloJson({"--title", std::string(c.article.headline), body}), result);
  }
}

TEST_F(CliTest, GbkCorpusFilesMatchTheirUtf8Originals) {
  if (!fs::is_directory(fs::path(SUMVELO_CORPUS_DIR) / "gbk")) GTEST_SKIP() << "no corpus";
  const std::vector<GbkCorpusFile> files = GbkCorpusFiles();
  ASSERT_FALSE(files.empty());
  for (const auto& [gbk, utf8] : files) {
    SCOPED_TRACE(gbk);
    ASSERT_TRUE(fs::exists(utf8));
    // The file's first line is the headline; the whole file is the body.
    const json fromGbk = SumveloJson({"--encoding", "gbk", "--title-file", gbk, gbk});
    const json fromUtf8 = SumveloJson({"--title-file", utf8, utf8});
    EXPECT_EQ(fromGbk, fromUtf8);
    EXPECT_EQ(fromUtf8["language"], "chinese");
  }
}

TEST_F(CliTest, HelpAndVersionSucceed) {
  Process help = Sumvelo({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* option : {"--title", "--title-file", "--limit", "--encoding", "--json",
                             "--sample", "FILE"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  Process version = Sumvelo({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("sumvelo [0-9]+\\.[0-9]+(\\.[0-9]+)?\n")))
      << version.out;
}

TEST(LimitIndex, MapsTheFourLimitsToDropDownItems) {
  const struct {
    int limit;
    std::optional<int> index;
  } kCases[] = {{200, 0}, {300, 1}, {400, 2}, {500, 3},
                {0, std::nullopt}, {250, std::nullopt}, {600, std::nullopt}, {-200, std::nullopt}};
  for (const auto& c : kCases) EXPECT_EQ(LimitIndex(c.limit), c.index) << c.limit;
}

TEST(SummarizeDocument, EveryDocumentStartsFromTheStartUpState) {
  Document chinese{encoding::TitleToEngine("城市公园"), encoding::BodyToEngine(kChinese), 3};
  Document empty;
  const Outcome first = SummarizeDocument(chinese);
  ASSERT_EQ(first.language, TextLanguage::Chinese);
  ASSERT_GT(first.keywords.RowCount(), 0);
  const Outcome after = SummarizeDocument(empty);
  EXPECT_EQ(after.language, TextLanguage::Neither);
  EXPECT_EQ(after.summary, "");
  EXPECT_EQ(encoding::FromEngine(after.keywordLine), "关键词：  ");
  EXPECT_EQ(after.statsLine, "");
  EXPECT_EQ(after.keywords.RowCount(), 0);
  EXPECT_EQ(after.sentences.RowCount(), 0);
  const Outcome again = SummarizeDocument(chinese);
  EXPECT_EQ(ResultJson(chinese, 500, again), ResultJson(chinese, 500, first));
}

}  // namespace
}  // namespace sumvelo::cli
