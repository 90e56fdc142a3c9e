// --encoding auto: telling UTF-8, UTF-8 with a byte-order mark, UTF-16 with one and GBK apart,
// as functions and as the command line uses them.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "cli/detect_encoding.h"
#include "cli/document.h"
#include "encoding/gb18030.h"
#include "tests/cli/cli_process.h"

namespace sumvelo::cli {
namespace {

std::string Utf16(const std::u16string& text, bool bigEndian, bool mark = true) {
  std::string out = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
  for (char16_t u : text) {
    const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
    out += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return out;
}

TEST(DetectEncoding, ByteOrderMarkFirstThenUtf8ThenGb18030) {
  const struct {
    std::string bytes;
    std::optional<TextEncoding> encoding;
  } kCases[] = {
      {"", TextEncoding::Utf8},
      {"plain ASCII\r\n", TextEncoding::Utf8},
      {"中文的", TextEncoding::Utf8},
      {"\xEF\xBB\xBF", TextEncoding::Utf8WithBom},
      {"\xEF\xBB\xBF中文", TextEncoding::Utf8WithBom},
      {"\xFF\xFE", TextEncoding::Utf16Le},
      {"\xFF\xFE\x2D\x4E", TextEncoding::Utf16Le},
      {"\xFE\xFF\x4E\x2D", TextEncoding::Utf16Be},
      {"\x84\x31\x95\x33\xD6\xD0", TextEncoding::Gb18030},  // GB18030's own mark
      {"\xD6\xD0\xCE\xC4", TextEncoding::Gb18030},          // 中文 in GBK
      {"\x81\x30\x81\x30", TextEncoding::Gb18030},          // a four-byte character
      {"\xED\xA0\x80", std::nullopt},                       // a surrogate, and a lone 80
      {"ab\xFF", std::nullopt},
      {"\xD6", std::nullopt},                               // a first byte cut off
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(DetectEncoding(c.bytes).encoding, c.encoding);
  }
  const Detection none = DetectEncoding("ok\xED\xA0\x80");
  EXPECT_EQ(none.utf8Error, 2u);
  EXPECT_EQ(none.gb18030Error, 4u);
}

TEST(Utf16ToUtf8, DecodesPairsAndNamesWhatIsWrong) {
  const struct {
    std::string bytes;
    bool bigEndian;
    std::string utf8;  // when it decodes
    std::string error;
    std::size_t offset;
  } kCases[] = {
      {Utf16(u"中文 ab\r\n", false), false, "中文 ab\r\n", "", 0},
      {Utf16(u"中文 ab\r\n", true), true, "中文 ab\r\n", "", 0},
      {Utf16(u"\U0001F600x", false), false, "\U0001F600x", "", 0},  // a surrogate pair
      {Utf16(u"", true), true, "", "", 0},
      {std::string("\xFF\xFE\x00\xD8", 4), false, "", "an unpaired surrogate", 2},
      {std::string("\xFF\xFE\x00\xD8\x41\x00", 6), false, "", "an unpaired surrogate", 2},
      {std::string("\xFF\xFE\x00\xDC", 4), false, "", "an unpaired surrogate", 2},
      {std::string("\xFE\xFF\x00\x41\x00", 5), true, "", "an odd number of bytes", 4},
      {std::string("\xFE\xFF\x00\x41\x00\x00", 6), true, "", "a NUL character", 4},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.error.empty() ? c.utf8 : c.error);
    std::string utf8;
    const std::optional<Utf16Error> error = Utf16ToUtf8(c.bytes, c.bigEndian, utf8);
    if (c.error.empty()) {
      EXPECT_FALSE(error.has_value()) << error->what;
      EXPECT_EQ(utf8, c.utf8);
    } else {
      ASSERT_TRUE(error.has_value());
      EXPECT_EQ(error->what, c.error);
      EXPECT_EQ(error->offset, c.offset);
    }
  }
}

TEST(PrepareBody, AutoGivesTheEngineBytesOfTheEncodingItFinds) {
  const std::string text = "城市公园的步道\n第二行";
  const ByteText expected = encoding::BodyToEngine(text);
  const struct {
    std::string bytes;
    TextEncoding encoding;
  } kCases[] = {
      {text, TextEncoding::Utf8},
      {"\xEF\xBB\xBF" + text, TextEncoding::Utf8WithBom},
      {Utf16(u"城市公园的步道\n第二行", false), TextEncoding::Utf16Le},
      {Utf16(u"城市公园的步道\r\n第二行", true), TextEncoding::Utf16Be},
      {encoding::Utf8ToGb18030(text), TextEncoding::Gb18030},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(EncodingName(c.encoding));
    TextEncoding chosen{};
    EXPECT_EQ(PrepareBody({c.bytes, "test"}, InputEncoding::Auto, &chosen), expected);
    EXPECT_EQ(chosen, c.encoding);
    EXPECT_EQ(PrepareTitle({c.bytes, "test"}, InputEncoding::Auto), encoding::TitleToEngine(text));
  }
}

class AutoEncodingTest : public CliTest {};

TEST_F(AutoEncodingTest, GbkCorpusFilesJustWork) {
  if (!fs::is_directory(fs::path(SUMVELO_CORPUS_DIR) / "gbk")) GTEST_SKIP() << "no corpus";
  const std::vector<GbkCorpusFile> files = GbkCorpusFiles();
  ASSERT_FALSE(files.empty());
  for (const auto& [gbk, utf8] : files) {
    SCOPED_TRACE(gbk);
    Process fromGbk = Sumvelo({"--verbose", "--json", "--title-file", gbk, gbk});
    Process fromUtf8 = Sumvelo({"--json", "--title-file", utf8, utf8});
    EXPECT_EQ(fromGbk.status, 0) << fromGbk.err;
    EXPECT_EQ(fromGbk.out, fromUtf8.out);
    EXPECT_EQ(fromGbk.err, "sumvelo: title (" + gbk + ") read as GBK/GB18030\n" +
                               "sumvelo: body (" + gbk + ") read as GBK/GB18030\n");
  }
}

TEST_F(AutoEncodingTest, EveryEncodingOfOneArticleGivesOneResult) {
  const std::u16string article =
      u"城市公园的改造工程昨天全面完工。\n市民对城市公园的新设施十分满意。\n"
      u"城市公园今年新增了三处儿童乐园。\n管理部门表示，城市公园明年还将增加更多的儿童乐园。\n";
  std::string utf8;
  ASSERT_FALSE(Utf16ToUtf8(Utf16(article, false), false, utf8).has_value());
  const std::string reference = Sumvelo({"--json", Write("utf8.txt", utf8)}).out;
  ASSERT_NE(reference.find("\"chinese\""), std::string::npos) << reference;
  const struct {
    std::string name;
    std::string bytes;
    std::string said;
  } kCases[] = {
      {"bom.txt", "\xEF\xBB\xBF" + utf8, "UTF-8 with byte-order mark"},
      {"le.txt", Utf16(article, false), "UTF-16 LE"},
      {"be.txt", Utf16(article, true), "UTF-16 BE"},
      {"gbk.txt", encoding::Utf8ToGb18030(utf8), "GBK/GB18030"},
      {"plain.txt", utf8, "UTF-8"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string path = Write(c.name, c.bytes);
    Process run = Sumvelo({"--json", "--verbose", path});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, reference);
    EXPECT_EQ(run.err, "sumvelo: body (" + path + ") read as " + c.said + "\n");
    // Standard input is told apart the same way.
    EXPECT_EQ(Sumvelo({"--json"}, c.bytes).out, reference);
  }
  // Without --verbose nothing is said.
  EXPECT_EQ(Sumvelo({Write("gbk2.txt", encoding::Utf8ToGb18030(utf8))}).err, "");
}

TEST_F(AutoEncodingTest, ExplicitEncodingsAreNotSecondGuessed) {
  const std::string gbk = encoding::Utf8ToGb18030("城市公园的步道");
  EXPECT_EQ(Sumvelo({"--encoding", "utf-8"}, gbk).status, 2);
  EXPECT_EQ(Sumvelo({"--encoding", "gbk"}, gbk).status, 0);
  // Bytes that are UTF-8 and GBK at once are UTF-8 under auto, GBK under --encoding gbk.
  const std::string both = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文 in UTF-8, three others in GBK
  auto title = [&](std::vector<std::string> args) {
    args.insert(args.end(), {"--json", "--title", both});
    return json::parse(Sumvelo(args).out)["title"];
  };
  EXPECT_EQ(title({}), "中文");
  EXPECT_EQ(title({"--encoding", "utf-8"}), "中文");
  EXPECT_EQ(title({"--encoding", "gbk"}), encoding::Gb18030ToUtf8(both));
  EXPECT_NE(encoding::Gb18030ToUtf8(both), "中文");
}

}  // namespace
}  // namespace sumvelo::cli
