#include "pipeline/term_text.h"

namespace sumvelo {
namespace {

constexpr ReplaceRule kChineseTermText[] = {
    {"。", " "},
    {"，", " "},
    {"、", " "},
    {"……", " "},
    {"“", " "},
    {"”", " "},
    {"！", " "},
    {"‘", " "},
    {"’", " "},
    {"（", " "},
    {"）", " "},
    {"；", " "},
    {"？", " "},
    {"—", " "},
    {"  ", " "},  // twice: runs of up to four spaces become one
    {"  ", " "},
    // Every "的" becomes a space except in three words: mark them all, restore the words, then
    // turn the remaining marks into spaces.
    {"的", "〓"},
    {"〓确", "的确"},
    {"标〓", "标的"},
    {"目〓", "目的"},
    {"〓", " "},
    {"改革", " 改革 "},
    {"制度", " 制度 "},
    {"2014", " "},
    {"2015", " "},
    {"2013", " "},
    {"20", " "},
    {"19", " "},
};

constexpr ReplaceRule kEnglishTermText[] = {
    {".", " "},
    {",", " "},
    {"\"", " "},
    {"!", " "},
    {"(", " "},
    {")", " "},
    {";", " "},
    {"?", " "},
    {"'", " "},
    {"  ", " "},  // three times: runs of up to eight spaces become one
    {"  ", " "},
    {"  ", " "},
    // Stop words, lower case, with a space on each side.
    {" of ", " "},
    {" a ", " "},
    {" the ", " "},
    {" or ", " "},
    {" in ", " "},
    {" to ", " "},
    {" and ", " "},
    {" an ", " "},
    {" with ", " "},
    {" that ", " "},
    {" by ", " "},
    {" for ", " "},
    {" as ", " "},
    {" having ", " "},
    {" on ", " "},
    {" from ", " "},
    {" who ", " "},
    {" is ", " "},
    {" used ", " "},
    {" one ", " "},
    {" not ", " "},
    {" s ", " "},
    {" any ", " "},
    {" at ", " "},
    {" be ", " "},
    {" which ", " "},
    {" something ", " "},
    {" being ", " "},
    {" into ", " "},
    {" he ", " "},
    {" are ", " "},
    {" she ", " "},
    {" what ", " "},
    {" it ", " "},
    {" its ", " "},
    {" than ", " "},
    {" has ", " "},
    {" but ", " "},
    {" said ", " "},
    {"2014", " "},
    {"2015", " "},
    {"2013", " "},
    {"20", " "},
    {"19", " "},
    {"  ", " "},  // three times again
    {"  ", " "},
    {"  ", " "},
    {" if ", " "},
};

}  // namespace

std::span<const ReplaceRule> ChineseTermTextRules() { return kChineseTermText; }
std::span<const ReplaceRule> EnglishTermTextRules() { return kEnglishTermText; }

void PrepareChineseTermText(Workspace& ws) {
  static const GbkRules rules = ToGbkRules(kChineseTermText);
  ws.workingText = ApplyRules(std::move(ws.workingText), rules);
}

void PrepareEnglishTermText(Workspace& ws) {
  static const GbkRules rules = ToGbkRules(kEnglishTermText);
  ws.workingText = ApplyRules(std::move(ws.workingText), rules);
}

}  // namespace sumvelo
