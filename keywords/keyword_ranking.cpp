#include "keywords/keyword_ranking.h"

#include "pipeline/replace_rules.h"
#include "text/gbk_literal.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

constexpr int kWeightColumn = 1;

constexpr ReplaceRule kTitleNormalization[] = {
    {"，", " "},
    {"、", " "},
    {"…", " "},
    {"“", " "},
    {"”", " "},
    {"：", " "},
    {"！", " "},
    {"‘", " "},
    {"’", " "},
    {"（", " "},
    {"）", " "},
    {"；", " "},
    {"？", " "},
    {",", " "},
    {"　", " "},
    {"—", " "},
    {"  ", " "},  // twice: doubled spaces
    {"  ", " "},
    // Every "的" becomes a space except in "的确", "标的" and "目的".
    {"的", "〓"},
    {"〓确", "的确"},
    {"标〓", "标的"},
    {"目〓", "目的"},
    {"〓", " "},
    {"改革", " 改革 "},
    {"制度", " 制度 "},
};

}  // namespace

void RankAndShowKeywords(Workspace& ws, std::int32_t probeRow) {
  static const ByteText kPrefix = Gbk("关键词： ");
  WorkTable& table = ws.keywordTable;
  table.SortByIntegerKeyDescending(kWeightColumn);
  ByteText line = kPrefix;
  const ByteText probe = table.GetCell(probeRow, 0);
  const bool found = FindText(ws.workingText, probe, true) != -1;
  for (int k = 1; k <= 3; ++k) {
    if (found) line = ConcatTexts({line, table.CellView(k - 1, 0), " "});
  }
  ws.controls.WriteControlText(Control::标签3, line);
}

void BoostByTitle(Workspace& ws) {
  static const GbkRules rules = ToGbkRules(kTitleNormalization);
  ws.workingText = ApplyRules(ws.controls.ReadControlText(Control::标题框), rules);
  WorkTable& table = ws.keywordTable;
  const int n = table.RowCount();
  for (int i = 0; i < n; ++i) {
    if (FindText(ws.workingText, table.CellView(i, 0), true) != -1) {
      const double weight = TextToNumber(table.CellView(i, kWeightColumn));
      table.SetCell(i, kWeightColumn, NumberToText(weight * 2));
    }
  }
  table.SortByIntegerKeyDescending(kWeightColumn);
}

}  // namespace sumvelo
