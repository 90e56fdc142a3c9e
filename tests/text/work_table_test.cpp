#include "text/work_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "text/numbers.h"

namespace sumvelo {
namespace {

using Rows = std::vector<std::vector<ByteText>>;

// Every cell of every row, as the table shows them.
Rows Contents(const WorkTable& t) {
  Rows rows;
  for (int r = 0; r < t.RowCount(); ++r) {
    std::vector<ByteText> row;
    for (int c = 0; c < t.ColumnCount(); ++c) row.push_back(t.GetCell(r, c));
    rows.push_back(row);
  }
  return rows;
}

// A table holding `rows` (each row as wide as the table).
WorkTable TableOf(int columns, const Rows& rows) {
  WorkTable t(columns);
  for (const auto& row : rows) {
    t.AppendRow(row[0]);
    for (int c = 1; c < columns; ++c) {
      t.SetCell(t.RowCount() - 1, c, row[static_cast<std::size_t>(c)]);
    }
  }
  return t;
}

TEST(WorkTable, ReadingOutsideGivesEmptyText) {
  WorkTable empty(3);
  EXPECT_EQ(empty.RowCount(), 0);
  EXPECT_EQ(empty.GetCell(0, 0), "");
  EXPECT_EQ(empty.GetCell(-1, 0), "");

  const WorkTable t = TableOf(3, {{"A", "1", "x"}, {"B", "2", "y"}});
  struct Case {
    int row, column;
    ByteText expected;
  };
  const Case cases[] = {
      {0, 0, "A"}, {1, 2, "y"}, {-1, 0, ""}, {2, 0, ""}, {-1, 1, ""}, {2, 2, ""}, {100, 0, ""},
      {0, 3, ""},  {0, -1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(t.GetCell(c.row, c.column), c.expected) << c.row << "," << c.column;
  }
}

TEST(WorkTable, WritingOrDeletingOutsideChangesNothing) {
  WorkTable t = TableOf(3, {{"A", "1", "x"}, {"B", "2", "y"}});
  const Rows before = Contents(t);
  t.SetCell(2, 0, "new");  // row index RowCount
  t.SetCell(-1, 1, "new");
  t.SetCell(0, 3, "new");
  t.DeleteRow(2);
  t.DeleteRow(-1);
  EXPECT_EQ(Contents(t), before);
  EXPECT_EQ(t.RowCount(), 2);

  WorkTable empty(2);
  empty.SetCell(0, 0, "x");
  empty.DeleteRow(0);
  EXPECT_EQ(empty.RowCount(), 0);
}

TEST(WorkTable, AppendRowFillsColumnZeroOnly) {
  WorkTable t = TableOf(3, {{"A", "1", "x"}});
  const ByteText sentence = std::string(1500, 'a') + "\xD6\xD0\xA1\xA3";  // long cells stay whole
  t.AppendRow(sentence);
  EXPECT_EQ(t.RowCount(), 2);
  EXPECT_EQ(t.GetCell(1, 0), sentence);
  EXPECT_EQ(t.GetCell(1, 1), "");
  EXPECT_EQ(t.GetCell(1, 2), "");
  EXPECT_EQ(t.GetCell(0, 1), "1");
  t.SetCell(1, 2, "7");
  EXPECT_EQ(t.GetCell(1, 2), "7");
  t.AppendRow("");
  EXPECT_EQ(t.RowCount(), 3);
  EXPECT_EQ(t.GetCell(2, 0), "");
}

TEST(WorkTable, DeleteRowMovesLaterRowsUp) {
  WorkTable t = TableOf(2, {{"A", "1"}, {"B", "2"}, {"C", "3"}});
  t.DeleteRow(0);
  EXPECT_EQ(Contents(t), (Rows{{"B", "2"}, {"C", "3"}}));
  t.DeleteRow(1);
  EXPECT_EQ(Contents(t), (Rows{{"B", "2"}}));
  t.AppendRow("D");
  t.DeleteAllRows();
  EXPECT_EQ(t.RowCount(), 0);
  EXPECT_EQ(t.GetCell(0, 0), "");
}

TEST(WorkTable, SortByIntegerKeyDescendingCases) {
  struct Case {
    std::vector<ByteText> keys;      // column 1 of rows 0, 1, 2, ... in order
    std::vector<int> expectedOrder;  // the original row indices after the sort
  };
  const Case cases[] = {
      {{"3", "12", "7"}, {1, 2, 0}},          // integers, not text order
      {{"2.9", "-1", ""}, {0, 2, 1}},         // '' is key 0
      {{}, {}},
      {{"5"}, {0}},
      // Only the integer part counts, and equal integers keep their order.
      {{"4.2", "4.9", "4", "1.5e+013", "abc", "", "-0", "0.3333333333333"},
       {0, 1, 2, 3, 4, 5, 6, 7}},
      {{"1", "2", "1", "2", "1"}, {1, 3, 0, 2, 4}},
      {{"-3", "-10", "-3.7", "0"}, {3, 0, 2, 1}},
      {{"\xA3\xB9", "10", "8"}, {1, 0, 2}},  // a full-width ９ is 9
      {{"999998", "999999", "999997"}, {1, 0, 2}},
  };
  for (const Case& c : cases) {
    Rows rows;
    for (std::size_t i = 0; i < c.keys.size(); ++i) {
      rows.push_back({ByteText("s").append(std::to_string(i)), c.keys[i],
                      ByteText("n").append(std::to_string(i))});
    }
    WorkTable t = TableOf(3, rows);
    t.SortByIntegerKeyDescending(1);
    Rows expected;
    for (int i : c.expectedOrder) expected.push_back(rows[static_cast<std::size_t>(i)]);
    // Every cell moves with its row, and the key texts are left as they were.
    std::string keys;
    for (const ByteText& k : c.keys) keys.append("'").append(k).append("' ");
    EXPECT_EQ(Contents(t), expected) << keys;
  }
}

// Many rows with few distinct keys, so that ties are common: the sort must give the stable
// order by the keys as they were read before the sort, with every row whole.
TEST(WorkTable, SortMatchesStableReferenceOnRandomTables) {
  const std::vector<ByteText> keyTexts = {"", "0", "1", "1.9", "2", "-1", "-1.5", "12", "3e5",
                                          "x", " 7", "7", "\xA3\xB7", "100", "99.99"};
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    const int n = static_cast<int>(rng() % 60);
    const int keyColumn = static_cast<int>(rng() % 3);
    Rows rows;
    for (int i = 0; i < n; ++i) {
      std::vector<ByteText> row = {ByteText("s").append(std::to_string(i)),
                                   keyTexts[rng() % keyTexts.size()],
                                   keyTexts[rng() % keyTexts.size()]};
      rows.push_back(row);
    }
    WorkTable t = TableOf(3, rows);
    t.SortByIntegerKeyDescending(keyColumn);
    Rows expected = rows;
    std::stable_sort(expected.begin(), expected.end(), [&](const auto& x, const auto& y) {
      return TextToInteger(x[static_cast<std::size_t>(keyColumn)]) >
             TextToInteger(y[static_cast<std::size_t>(keyColumn)]);
    });
    ASSERT_EQ(Contents(t), expected) << "round " << round << ", key column " << keyColumn;
  }
}

}  // namespace
}  // namespace sumvelo
