// The body size limit and bodies of unusual shape, through the command line.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

#include "cli/document.h"
#include "encoding/gb18030.h"
#include "tests/cli/cli_process.h"

namespace sumvelo::cli {
namespace {

class InputLimitsTest : public CliTest {};

TEST_F(InputLimitsTest, A64MiBLimitRefusesLargerFilesBeforeReadingThem) {
  EXPECT_EQ(kMaxBodyBytes, 67108864u);
  // Sparse files: nothing of them is on disk, and the size is refused before any read.
  const fs::path over = dir_ / "over.txt";
  std::ofstream(over).close();
  fs::resize_file(over, kMaxBodyBytes + 1);
  const std::string good = Write("good.txt", "the end");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{over.string()},
        std::vector<std::string>{"--title-file", over.string(), good}}) {
    Process run = Sumvelo(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "sumvelo: " + over.string() +
                           " (67108865 bytes) is larger than the limit of 67108864 bytes (64 MiB)\n");
  }
  // A file of exactly the limit is read: its zeros are then the error.
  const fs::path exact = dir_ / "exact.txt";
  std::ofstream(exact).close();
  fs::resize_file(exact, kMaxBodyBytes);
  Process run = Sumvelo({exact.string()});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("NUL byte at offset 0"), std::string::npos) << run.err;
}

TEST_F(InputLimitsTest, ALoweredLimitHoldsForStandardInputAndFilesAtItsEdge) {
  const std::string body = "The cat sat on the mat. The cat sat. The cat.";  // 45 bytes
  const std::string path = Write("body.txt", body);
  const struct {
    std::string limit;
    bool accepted;
  } kCases[] = {{"45", true}, {"44", false}, {"1", false}, {"46", true}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.limit);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--max-body-bytes", c.limit},
          std::vector<std::string>{"--max-body-bytes", c.limit, path}}) {
      Process run = Sumvelo(args, body);
      EXPECT_EQ(run.status, c.accepted ? 0 : 2) << run.err;
      EXPECT_EQ(run.out.empty(), !c.accepted);
      if (!c.accepted) {
        EXPECT_NE(run.err.find("is larger than the limit of " + c.limit + " bytes"),
                  std::string::npos)
            << run.err;
      }
    }
  }
}

// Bodies of one shape repeated: each is summarized to the end (or refused with one line) and the
// length line counts the whole body, so nothing was cut off on the way.
TEST_F(InputLimitsTest, UnusualBodiesAreSummarizedWholeOrRefusedClearly) {
  auto repeat = [](const std::string& unit, std::size_t times) {
    std::string out;
    out.reserve(unit.size() * times);
    for (std::size_t k = 0; k < times; ++k) out += unit;
    return out;
  };
  std::string longLine;
  for (int k = 0; k < 4000; ++k) longLine += "第" + std::to_string(k) + "座城市公园的步道，";
  const struct {
    std::string name;
    std::string body;
    std::string language;
  } kCases[] = {
      {"one long Chinese line", longLine, "chinese"},
      {"one long English line", repeat("the river boats sailed past the old bridge, ", 5000), "english"},
      {"one repeated character", repeat("的", 100000), "chinese"},
      {"one repeated letter", repeat("a", 300000), "neither"},
      {"all Chinese punctuation", repeat("。，！？；：“”（）…—", 20000), "neither"},
      {"punctuation and one 的", "的" + repeat("。，！？；：“”（）", 20000), "chinese"},
      {"all ASCII punctuation with the", "the" + repeat(".,!?;:\"'()", 30000), "english"},
      {"all spaces", repeat(" ", 300000), "neither"},
      {"spaces and one 的", "的" + repeat(" ", 300000), "chinese"},
      {"ideographic spaces and the", "the" + repeat("\u3000", 100000), "english"},
      {"all line breaks", "的" + repeat("\n", 200000), "chinese"},
      {"all CR LF", "the" + repeat("\r\n", 100000), "english"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Process run = Sumvelo({"--json", Write("body.txt", c.body)});
    ASSERT_EQ(run.status, 0) << run.err;
    const json result = json::parse(run.out);
    EXPECT_EQ(result["language"], c.language);
    if (c.language == "neither") continue;
    const std::size_t bodyChars = encoding::BodyToEngine(c.body).size() / 2;
    std::smatch m;
    const std::string stats = result["stats_line"];
    ASSERT_TRUE(std::regex_match(stats, m, std::regex("原文([0-9]+)字，摘要([0-9]+)字"))) << stats;
    EXPECT_EQ(std::stoul(m[1]), bodyChars);
    EXPECT_LE(std::stoi(m[2]), 200);
  }
}

TEST_F(InputLimitsTest, BinaryFilesAreRefusedWithOneLine) {
  std::mt19937 random(7);
  std::string noise(100000, '\0');
  for (char& c : noise) c = static_cast<char>(random() & 0xFF);
  std::string noNul = noise;
  for (char& c : noNul) {
    if (c == '\0') c = '\x01';
  }
  const struct {
    std::string name;
    std::string bytes;
    std::string mentions;
  } kCases[] = {
      {"noise", noise, "NUL byte at offset"},
      {"noise without NUL", noNul, "is neither UTF-8 (invalid at byte offset"},
      {"an executable's start", std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10), "NUL byte at offset 7"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    Process run = Sumvelo({Write("blob.bin", c.bytes)});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(c.mentions), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
}

}  // namespace
}  // namespace sumvelo::cli
