#include "text/work_table.h"

#include <algorithm>

#include "text/numbers.h"

namespace sumvelo {

void WorkTable::AppendRow(ByteText text) {
  Row row;
  row.cells.resize(static_cast<std::size_t>(columns_));
  row.cells[0] = std::move(text);
  rows_.push_back(std::move(row));
}

ByteText WorkTable::GetCell(int row, int column) const { return ByteText(CellView(row, column)); }

ByteView WorkTable::CellView(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0 || column >= columns_) return {};
  return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

void WorkTable::SetCell(int row, int column, ByteText text) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= columns_) return;
  rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = std::move(text);
}

void WorkTable::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  rows_.erase(rows_.begin() + row);
}

void WorkTable::SortByIntegerKeyDescending(int keyColumn) {
  if (keyColumn < 0 || keyColumn >= columns_) return;
  for (Row& r : rows_) r.value = TextToInteger(r.cells[static_cast<std::size_t>(keyColumn)]);
  std::stable_sort(rows_.begin(), rows_.end(),
                   [](const Row& x, const Row& y) { return x.value > y.value; });
}

}  // namespace sumvelo
