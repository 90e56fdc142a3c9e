#include "pipeline/summarize.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "keywords/phrase_discovery.h"
#include "stage_support.h"

namespace sumvelo {
namespace {

using testing::FromHex;
using testing::Hex;
using testing::RecordingControls;
using testing::Rows;
using testing::Zh;

TEST(DetectLanguage, Cases) {
  struct Case {
    const char* name;
    ByteText body;
    TextLanguage language;
  };
  const Case cases[] = {
      {"的 and the: Chinese", Zh("the 的"), TextLanguage::Chinese},
      {"的 alone", Zh("好的"), TextLanguage::Chinese},
      {"THE in capitals", "THE END", TextLanguage::English},
      {"the inside other", "another day", TextLanguage::English},
      {"mixed case", "ThE", TextLanguage::English},
      {"neither", "12345", TextLanguage::Neither},
      {"empty", "", TextLanguage::Neither},
      {"th e split", "th e", TextLanguage::Neither},
      // B5 C4 lies across 〉 (A1 B5) and C4 41: not on a character start.
      {"的 bytes across two characters", FromHex("A1 B5 C4 41"), TextLanguage::Neither},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectLanguage(c.body), c.language) << c.name;
}

TEST(LengthLine, BytesHalvedAndRoundedDown) {
  EXPECT_EQ(Hex(LengthLine(8001, 598)), Hex(Zh("原文4000字，摘要299字")));
  EXPECT_EQ(Hex(LengthLine(7, 0)), Hex(Zh("原文3字，摘要0字")));
  EXPECT_EQ(Hex(LengthLine(1, 1)), Hex(Zh("原文0字，摘要0字")));
}

const char* const kChineseBody =
    "新能源汽车的销量今年继续增长。\r\n据说，新能源汽车已经走进很多家庭。\r\n"
    "专家认为：电池是新能源汽车的核心。\r\n电池回收是否会成为新问题？";

struct Fixture {
  RecordingControls controls;
  Workspace ws{controls};

  explicit Fixture(const ByteText& body, const ByteText& title = ByteText()) {
    controls.WriteControlText(Control::内容框, body);
    controls.WriteControlText(Control::标题框, title);
  }
  // Everything a run leaves, for comparing two runs.
  std::string State() const {
    return Hex(controls.Text(Control::编辑框1)) + "\n" + Hex(controls.Text(Control::标签2)) + "\n" +
           Hex(controls.Text(Control::标签3)) + "\n" + Rows(ws.sentenceTable) + "\n" +
           Rows(ws.keywordTable) + "\n" + Rows(ws.selectionTable);
  }
};

// A body with neither 的 nor the: only the summary box is emptied; labels, tables and the
// character sequence keep what the last run left, and the working text is the body.
TEST(Summarize, NeitherOnlyEmptiesTheSummaryBox) {
  for (const char* body : {"12345", ""}) {
    Fixture f(Zh(kChineseBody));
    Summarize(f.ws);
    f.ws.charSequence.Append("left");
    const std::string tables = Rows(f.ws.sentenceTable) + Rows(f.ws.keywordTable) +
                               Rows(f.ws.selectionTable);
    const ByteText stats = f.controls.Text(Control::标签2), keywords = f.controls.Text(Control::标签3);
    ASSERT_NE(f.controls.Text(Control::编辑框1), "");

    f.controls.WriteControlText(Control::内容框, body);
    EXPECT_EQ(Summarize(f.ws), TextLanguage::Neither);
    EXPECT_EQ(f.controls.Text(Control::编辑框1), "") << body;
    EXPECT_EQ(f.controls.Text(Control::标签2), stats) << body;
    EXPECT_EQ(f.controls.Text(Control::标签3), keywords) << body;
    EXPECT_EQ(Rows(f.ws.sentenceTable) + Rows(f.ws.keywordTable) + Rows(f.ws.selectionTable), tables);
    EXPECT_EQ(f.ws.charSequence.Items().back(), "left");
    EXPECT_EQ(f.ws.workingText, body);
  }
}

TEST(Summarize, ChoosesThePathFromTheBody) {
  struct Case {
    ByteText body;
    TextLanguage language;
    const char* progress;  // the last progress text the keyword stage wrote
  };
  const Case cases[] = {
      {Zh("the 的"), TextLanguage::Chinese, "100%"},
      {"THE END", TextLanguage::English, "0%"},
      {"another day", TextLanguage::English, "0%"},
  };
  for (const Case& c : cases) {
    Fixture f(c.body);
    EXPECT_EQ(Summarize(f.ws), c.language) << Hex(c.body);
    ASSERT_GE(f.controls.statsWrites.size(), 2u);
    EXPECT_EQ(f.controls.statsWrites[f.controls.statsWrites.size() - 2], c.progress) << Hex(c.body);
  }
}

// A 7-byte English body gives N = 3; no mark, so no sentence and an empty summary.
TEST(Summarize, OddByteCountIsRoundedDown) {
  Fixture f("the abc");
  EXPECT_EQ(Summarize(f.ws), TextLanguage::English);
  EXPECT_EQ(Hex(f.controls.Text(Control::标签2)), Hex(Zh("原文3字，摘要0字")));
  EXPECT_EQ(f.controls.Text(Control::编辑框1), "");
}

TEST(Summarize, PressingTwiceGivesTheSameResult) {
  for (const ByteText& body : {Zh(kChineseBody),
                               ByteText("The bank said rates rose.\r\nThe bank cut rates.\r\n"
                                        "Rates at the bank fell. The end.")}) {
    Fixture f(body, Zh("银行"));
    Summarize(f.ws);
    const std::string first = f.State();
    Summarize(f.ws);
    EXPECT_EQ(f.State(), first);
  }
}

// A Summarize pressed from inside the keyword stage's event processing is ignored: the run
// ends exactly as it would have without it. Events are processed at every progress write (and
// wherever the stage yields), on both paths.
TEST(Summarize, NestedSummarizeIsIgnored) {
  const ByteText english = "The bank said rates rose.\r\nThe bank cut rates.\r\nRates at the bank fell.";
  for (const ByteText& body : {Zh(kChineseBody), english}) {
    Fixture plain(body, Zh("新能源汽车"));
    Summarize(plain.ws);

    Fixture f(body, Zh("新能源汽车"));
    f.controls.eventsOnStatsWrite = true;
    int nested = 0, ignored = 0;
    f.controls.SetEventHook([&](HeadlessControls&) {
      ++nested;
      if (!Summarize(f.ws).has_value()) ++ignored;
    });
    EXPECT_TRUE(Summarize(f.ws).has_value());
    EXPECT_GT(nested, 0);
    EXPECT_EQ(ignored, nested);
    EXPECT_EQ(f.State(), plain.State());
    // Once the run is over, the next press runs again.
    f.controls.SetEventHook({});
    EXPECT_TRUE(Summarize(f.ws).has_value());
  }
}

// A nested command that rewrites the body box during the run: the run goes on with the body it
// read, and the length line measures the body box as it is at the end.
TEST(Summarize, LengthLineReadsTheBodyBoxAtTheEnd) {
  Fixture plain(Zh(kChineseBody));
  Summarize(plain.ws);

  Fixture f(Zh(kChineseBody));
  f.controls.eventsOnStatsWrite = true;
  f.controls.SetEventHook([](HeadlessControls& c) { c.WriteControlText(Control::内容框, "0123456789a"); });
  Summarize(f.ws);
  EXPECT_EQ(Hex(f.controls.Text(Control::编辑框1)), Hex(plain.controls.Text(Control::编辑框1)));
  const ByteText summaryChars = std::to_string(plain.controls.Text(Control::编辑框1).size() / 2);
  EXPECT_EQ(Hex(f.controls.Text(Control::标签2)), Hex(Zh("原文5字，摘要") + summaryChars + Zh("字")));
}

// A nested clear of the summary box is overwritten: the run writes its summary afterwards.
TEST(Summarize, SummaryIsWrittenOverANestedClear) {
  Fixture plain(Zh(kChineseBody));
  Summarize(plain.ws);

  Fixture f(Zh(kChineseBody));
  f.controls.eventsOnStatsWrite = true;
  f.controls.SetEventHook([](HeadlessControls& c) {
    if (!c.Text(Control::标签2).ends_with("%")) return;  // only while the run is in progress
    c.WriteControlText(Control::编辑框1, "");
    c.WriteControlText(Control::标签3, "");
  });
  Summarize(f.ws);
  EXPECT_EQ(f.State(), plain.State());
}

}  // namespace
}  // namespace sumvelo
