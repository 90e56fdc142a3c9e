#include "samples/builtin_texts.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pipeline/controls.h"
#include "pipeline/summarize.h"
#include "pipeline/workspace.h"
#include "text/gbk_literal.h"

namespace sumvelo {
namespace {

using samples::Article;

// CodePoints counts the characters of a UTF-8 text (every byte that does not continue one).
int CodePoints(std::string_view utf8) {
  return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

bool ContainsIgnoringCase(std::string_view text, std::string_view what) {
  auto it = std::search(text.begin(), text.end(), what.begin(), what.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
  return it != text.end();
}

// ToWindowGbk turns an article text into what the window hands to the engine: code page 936
// bytes with CR LF line breaks. A character that code page 936 lacks gives nothing.
std::optional<ByteText> ToWindowGbk(std::string_view utf8) {
  std::string in;
  for (char c : utf8) {
    if (c == '\n') in += '\r';
    in += c;
  }
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(in.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

struct Sample {
  const char* name;
  const Article& article;
  TextLanguage language;
};

std::vector<Sample> Samples() {
  return {{"default", samples::DefaultArticle(), TextLanguage::Chinese},
          {"sample two", samples::SampleTwo(), TextLanguage::Chinese},
          {"sample three", samples::SampleThree(), TextLanguage::English}};
}

TEST(BuiltinTexts, DefaultArticleHasSeventeenParagraphs) {
  std::string_view body = samples::DefaultArticle().body;
  EXPECT_EQ(std::count(body.begin(), body.end(), '\n'), 16);
}

TEST(BuiltinTexts, ParagraphsAreSeparatedBySingleLineFeeds) {
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.name);
    std::string_view body = s.article.body;
    ASSERT_FALSE(body.empty());
    EXPECT_EQ(body.find('\r'), std::string_view::npos);
    EXPECT_EQ(body.find("\n\n"), std::string_view::npos);
    EXPECT_NE(body.front(), '\n');
    EXPECT_NE(body.back(), '\n');
  }
}

TEST(BuiltinTexts, HeadlinesFitTheSingleLineTitleBox) {
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.name);
    EXPECT_FALSE(s.article.headline.empty());
    EXPECT_EQ(s.article.headline.find_first_of("\r\n"), std::string_view::npos);
  }
}

// The language test looks for "的" first, then for "the" in any case.
TEST(BuiltinTexts, EachArticleCarriesTheMarkOfItsLanguage) {
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.name);
    bool chinese = s.article.body.find("的") != std::string_view::npos;
    EXPECT_EQ(chinese, s.language == TextLanguage::Chinese);
    if (!chinese) {
      EXPECT_TRUE(ContainsIgnoringCase(s.article.body, "the"));
    }
  }
}

// A space in a Chinese body ends a sentence, so none may stand inside one.
TEST(BuiltinTexts, ChineseArticlesHaveNoSpaces) {
  for (const Sample& s : Samples()) {
    if (s.language != TextLanguage::Chinese) continue;
    SCOPED_TRACE(s.name);
    EXPECT_EQ(s.article.body.find(' '), std::string_view::npos);
    EXPECT_EQ(s.article.body.find("\u3000"), std::string_view::npos);
  }
}

TEST(BuiltinTexts, EnglishArticleIsPlainAscii) {
  for (std::string_view t : {samples::SampleThree().headline, samples::SampleThree().body}) {
    EXPECT_TRUE(std::all_of(t.begin(), t.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  }
}

TEST(BuiltinTexts, EveryTextConvertsToTheWindowsCodePage) {
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.name);
    EXPECT_TRUE(ToWindowGbk(s.article.headline).has_value());
    EXPECT_TRUE(ToWindowGbk(s.article.body).has_value());
  }
  EXPECT_TRUE(ToWindowGbk(samples::InfoLabelText()).has_value());
}

TEST(BuiltinTexts, LanguageTestOnWindowBytesPicksTheIntendedPath) {
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.name);
    std::optional<ByteText> body = ToWindowGbk(s.article.body);
    ASSERT_TRUE(body.has_value());
    EXPECT_EQ(DetectLanguage(*body), s.language);
  }
}

// Sizes the window and its callers plan for, within a tenth either way. Characters are code
// points of the UTF-8 text; bytes are those the window hands over (GBK, CR LF).
TEST(BuiltinTexts, SizesAreNearTheirNominalValues) {
  auto gbkBytes = [](std::string_view t) {
    std::optional<ByteText> g = ToWindowGbk(t);
    return g ? static_cast<int>(g->size()) : -1;
  };
  struct Row {
    const char* what;
    int measured;
    int nominal;
  } rows[] = {
      {"default headline, characters", CodePoints(samples::DefaultArticle().headline), 23},
      {"default body, characters", CodePoints(samples::DefaultArticle().body), 1150},
      {"default body, bytes", gbkBytes(samples::DefaultArticle().body), 2248},
      {"sample two headline, characters", CodePoints(samples::SampleTwo().headline), 12},
      {"sample two body, characters", CodePoints(samples::SampleTwo().body), 4300},
      {"sample two body, bytes", gbkBytes(samples::SampleTwo().body), 7900},
      {"sample three headline, bytes", static_cast<int>(samples::SampleThree().headline.size()), 49},
      {"sample three body, bytes", gbkBytes(samples::SampleThree().body), 2400},
  };
  for (const Row& r : rows) {
    EXPECT_GE(r.measured * 10, r.nominal * 9) << r.what << ": " << r.measured;
    EXPECT_LE(r.measured * 10, r.nominal * 11) << r.what << ": " << r.measured;
  }
}

TEST(BuiltinTexts, InfoLabelIsShortChineseText) {
  std::string_view info = samples::InfoLabelText();
  EXPECT_GT(CodePoints(info), 0);
  EXPECT_LE(CodePoints(info), 20);
  EXPECT_TRUE(std::any_of(info.begin(), info.end(),
                          [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
  EXPECT_EQ(info.find('\n'), std::string_view::npos);
}

// KeywordTerms returns the terms of a keyword line "关键词： " t1 " " t2 " " t3 " ".
std::vector<ByteText> KeywordTerms(const ByteText& line) {
  std::vector<ByteText> terms;
  ByteText prefix = Gbk("关键词： ");
  if (line.compare(0, prefix.size(), prefix) != 0) return terms;
  ByteText rest = line.substr(prefix.size());
  std::size_t start = 0;
  for (std::size_t p; (p = rest.find(' ', start)) != ByteText::npos; start = p + 1) {
    terms.push_back(rest.substr(start, p - start));
  }
  return terms;
}

// Each sample is a demonstration: under the shortest and the longest limit it must give a
// summary that fits, and a keyword line of three real terms, one of which the headline names.
TEST(BuiltinTexts, EverySampleSummarizesUnderBothLimits) {
  for (const Sample& s : Samples()) {
    std::optional<ByteText> title = ToWindowGbk(s.article.headline);
    std::optional<ByteText> body = ToWindowGbk(s.article.body);
    ASSERT_TRUE(title && body) << s.name;
    for (auto [index, limit] : {std::pair{0, 200}, std::pair{3, 500}}) {
      SCOPED_TRACE(std::string(s.name) + ", limit " + std::to_string(limit));
      HeadlessControls controls;
      controls.WriteControlText(Control::标题框, *title);
      controls.WriteControlText(Control::内容框, *body);
      controls.SetSelectedIndex(index);
      Workspace ws(controls);
      EXPECT_EQ(Summarize(ws), s.language);

      const ByteText& summary = controls.Text(Control::编辑框1);
      EXPECT_GE(summary.size(), static_cast<std::size_t>(limit));  // at least half the budget
      EXPECT_LE(summary.size(), static_cast<std::size_t>(2 * limit));

      std::vector<ByteText> terms = KeywordTerms(controls.Text(Control::标签3));
      ASSERT_EQ(terms.size(), 3u);
      for (const ByteText& t : terms) EXPECT_FALSE(t.empty());
      EXPECT_TRUE(std::any_of(terms.begin(), terms.end(), [&](const ByteText& t) {
        return !t.empty() && title->find(t) != ByteText::npos;
      }));
    }
  }
}

}  // namespace
}  // namespace sumvelo
