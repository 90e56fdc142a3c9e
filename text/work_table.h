// WorkTable: the rows of text cells through which the stages hand results to each other.
// Rows are addressed from 0, columns from 0. Reading outside the table gives the empty text;
// writing or deleting outside it changes nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "text/byte_text.h"

namespace sumvelo {

class WorkTable {
 public:
  explicit WorkTable(int columns) : columns_(columns) {}

  int ColumnCount() const { return columns_; }

  // DeleteAllRows removes every row.
  void DeleteAllRows() { rows_.clear(); }

  // AppendRow adds a row after the last one, `text` in column 0 and the other cells empty. The
  // new row's index is RowCount() - 1.
  void AppendRow(ByteText text);

  // RowCount returns the number of rows (0 for an empty table).
  int RowCount() const { return static_cast<int>(rows_.size()); }

  // GetCell returns the cell's text; the empty text for a row or column that does not exist.
  ByteText GetCell(int row, int column) const;

  // CellView is GetCell without the copy, valid until the table next changes.
  ByteView CellView(int row, int column) const;

  // SetCell makes the cell hold a copy of `text`; nothing happens for a row or column that
  // does not exist.
  void SetCell(int row, int column, ByteText text);

  // DeleteRow removes the row; the rows after it move up by one. Nothing happens for a row that
  // does not exist.
  void DeleteRow(int row);

  // SortByIntegerKeyDescending reorders the rows, each with all its cells, so that rows whose key
  // cell has the larger TextToInteger value come first. Keys are read once, before any row moves;
  // the key cells are not changed. Rows with equal integer keys keep their relative order.
  void SortByIntegerKeyDescending(int keyColumn);

 private:
  struct Row {
    std::vector<ByteText> cells;
    std::int32_t value = 0;  // the row's key, carried through the sort
  };
  int columns_;
  std::vector<Row> rows_;
};

}  // namespace sumvelo
