#include "pipeline/normalize_english.h"

namespace sumvelo {
namespace {

constexpr ReplaceRule kEnglishNormalization[] = {
    {"'s ", " is "},  // contractions and possessives alike
    {"that, ", "that. "},
    {"'t ", "  not "},
    {"\r\n", "."},  // a line break ends a sentence
    {", said ", ". "},
    {"said, ", " said."},
    {", says ", ". "},
    {"says, ", "says. "},
    {", say ", ". say "},  // keeps the space after "say": the next word stays a word of its own
    {"say, ", "say. "},
    {"..", "."},  // twice: runs of up to four full stops become one
    {"..", "."},
    {".", ".〓"},
    {".〓\"", ".\"〓"},  // a closing double quote stays with its sentence
    {"!", "!〓"},
    {"?", "?〓"},
    {";", ";〓"},
    {"〓〓", "〓"},  // twice: doubled marks
    {"〓〓", "〓"},
    {":", ","},  // a colon never ends a sentence
};

}  // namespace

std::span<const ReplaceRule> EnglishNormalizationRules() { return kEnglishNormalization; }

void NormalizeEnglish(Workspace& ws) {
  static const GbkRules rules = ToGbkRules(kEnglishNormalization);
  ws.workingText = ApplyRules(std::move(ws.workingText), rules);
}

}  // namespace sumvelo
