#include "summary/summary_assembly.h"

#include "pipeline/replace_rules.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace sumvelo {
namespace {

constexpr int kKeyColumn = 1;
constexpr int kSequenceColumn = 2;
constexpr double kOrderBase = 999999;

constexpr ReplaceRule kSummaryCleanUp[] = {
    {"“", ""},
    {"”", ""},
    {"\"", ""},
    {"；", "。"},
};

}  // namespace

int LengthLimitFromIndex(int index) {
  switch (index) {
    case 0: return 200;
    case 1: return 300;
    case 2: return 400;
    case 3: return 500;
    default: return 300;
  }
}

void AssembleSummary(Workspace& ws) {
  static const GbkRules cleanUp = ToGbkRules(kSummaryCleanUp);
  WorkTable& sentences = ws.sentenceTable;
  WorkTable& selection = ws.selectionTable;

  sentences.SortByIntegerKeyDescending(kKeyColumn);
  const int n = sentences.RowCount();
  for (int r = 1; r <= n; ++r) sentences.SetCell(r - 1, kKeyColumn, NumberToText(r));

  const long long budget = 2LL * LengthLimitFromIndex(ws.controls.ReadSelectedIndex());
  int k = 0;
  long long joined = 0;  // the length of the first k sentences joined
  for (int r = 0; r < n; ++r) {
    ++k;
    joined += TextLength(sentences.CellView(r, 0));
    if (joined > budget) {
      --k;
      break;
    }
  }

  selection.DeleteAllRows();
  for (int r = 0; r < k; ++r) {
    selection.AppendRow(sentences.GetCell(r, 0));
    const double key = kOrderBase - TextToNumber(sentences.CellView(r, kSequenceColumn));
    selection.SetCell(selection.RowCount() - 1, kKeyColumn, NumberToText(key));
  }

  ws.controls.WriteControlText(Control::编辑框1, ByteText());
  selection.SortByIntegerKeyDescending(kKeyColumn);
  ByteText summary;
  for (int r = 0; r < selection.RowCount(); ++r) summary.append(selection.CellView(r, 0));
  ws.controls.WriteControlText(Control::编辑框1, ApplyRules(std::move(summary), cleanUp));
}

}  // namespace sumvelo
