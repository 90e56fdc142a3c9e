// Summarize against SummarizeLiteral on real texts: every article of the corpus (zh/, en/,
// debian-zh/, gbk/), the built-in articles, and the opening stretches of the long texts. The
// texts reach the engine as the command line hands them over (encoding/gb18030.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "encoding/gb18030.h"
#include "pipeline/summarize.h"
#include "run_snapshot.h"
#include "samples/builtin_texts.h"

namespace sumvelo {
namespace {

namespace fs = std::filesystem;
using testing::FirstDifference;
using testing::RunSnapshot;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> Files(const char* folder) {
  std::vector<fs::path> out;
  const fs::path dir = fs::path(SUMVELO_CORPUS_DIR) / folder;
  if (!fs::is_directory(dir)) return out;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".txt" && entry.path().filename() != "README.txt") {
      out.push_back(entry.path());
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Compare runs both on fresh controls with the given limit and reports the first difference.
void Compare(const std::string& name, const ByteText& title, const ByteText& body, int limitIndex) {
  std::string snapshots[2];
  std::optional<TextLanguage> (*runs[2])(Workspace&) = {SummarizeLiteral, Summarize};
  for (int k = 0; k < 2; ++k) {
    HeadlessControls controls;
    controls.WriteControlText(Control::标题框, title);
    controls.WriteControlText(Control::内容框, body);
    controls.SetSelectedIndex(limitIndex);
    Workspace ws(controls);
    runs[k](ws);
    snapshots[k] = RunSnapshot(controls, ws);
  }
  EXPECT_EQ(FirstDifference(snapshots[0], snapshots[1]), "") << name;
}

// The files of one folder: line 1 the title, the rest the body; the limit cycles through the
// four items of the drop-down from file to file.
void CompareFolder(const char* folder, bool gbk) {
  const std::vector<fs::path> files = Files(folder);
  ASSERT_FALSE(files.empty()) << "no corpus texts in " << folder;
  int k = 0;
  for (const fs::path& file : files) {
    const std::string text = ReadFile(file);
    const std::size_t lineEnd = std::min(text.find('\n'), text.size());
    const std::string rest = lineEnd < text.size() ? text.substr(lineEnd + 1) : std::string();
    const ByteText title = gbk ? encoding::TitleFromGb18030(text) : encoding::TitleToEngine(text);
    const ByteText body = gbk ? encoding::BodyFromGb18030(rest) : encoding::BodyToEngine(rest);
    Compare(file.string(), title, body, k++ % 4);
  }
}

TEST(SummarizeFastOnCorpus, ChineseNews) { CompareFolder("zh", false); }
TEST(SummarizeFastOnCorpus, EnglishNews) { CompareFolder("en", false); }
TEST(SummarizeFastOnCorpus, DebianChineseProse) { CompareFolder("debian-zh", false); }
TEST(SummarizeFastOnCorpus, GbkFiles) { CompareFolder("gbk", true); }

TEST(SummarizeFastOnCorpus, BuiltinArticles) {
  const std::pair<const char*, const samples::Article*> articles[] = {
      {"default article", &samples::DefaultArticle()},
      {"sample two", &samples::SampleTwo()},
      {"sample three", &samples::SampleThree()},
  };
  for (const auto& [name, article] : articles) {
    for (int limit = 0; limit < 4; ++limit) {
      Compare(name, encoding::TitleToEngine(article->headline),
              encoding::BodyToEngine(article->body), limit);
    }
  }
}

// About 24 kB of each long text (whole lines): hundreds of phrases, so the merge has real work.
TEST(SummarizeFastOnCorpus, OpeningsOfTheLongTexts) {
  for (const char* name : {"zh_hongloumeng.txt", "zh_xiyouji.txt", "en_moby_dick.txt",
                           "en_tinyshakespeare.txt"}) {
    const std::string text = ReadFile(fs::path(SUMVELO_CORPUS_DIR) / "long" / name);
    ASSERT_FALSE(text.empty()) << name;
    const std::size_t cut = text.rfind('\n', 24000);
    const std::string opening = text.substr(0, cut == std::string::npos ? text.size() : cut + 1);
    const std::size_t lineEnd = opening.find('\n');
    Compare(name, encoding::TitleToEngine(opening),
            encoding::BodyToEngine(opening.substr(lineEnd + 1)), 1);
  }
}

}  // namespace
}  // namespace sumvelo
