// The row store of the in-memory data sets: rows of Variant values in the
// order they were added, each with an identity that never changes or comes
// back, the next auto-increment number of each column, and the nested
// tables of a row's data-set columns.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/db/DataSetTypes.h"
#include "platform/rtl/Variants.h"

class TMemTable;

struct TMemRow {
  Int64 Id = 0;
  std::vector<Variant> Values;
  // Nested records of the row's ftDataSet columns, by column; made on use.
  std::vector<std::unique_ptr<TMemTable>> Nested;
  // Place in the view of the data set that shows the table; -1 when hidden.
  Integer ViewPos = -1;
};

// The shape of a table: one column per field definition.
struct TMemColumn {
  std::string Name;
  TFieldType DataType = ftUnknown;
  Integer Size = 0;
  friend bool operator==(const TMemColumn&, const TMemColumn&) = default;
};

class TMemTable {
 public:
  explicit TMemTable(std::vector<TMemColumn> Columns);

  const std::vector<TMemColumn>& Columns() const { return Columns_; }
  Integer RowCount() const { return static_cast<Integer>(Rows_.size()); }
  TMemRow* Row(Integer Index) const { return Rows_[static_cast<size_t>(Index)].get(); }
  TMemRow* Find(Int64 Id) const;
  // Position in the stored order; -1 when the row is not in this table.
  Integer IndexOf(const TMemRow* Row) const;
  // Adds a row before the row at Position (at the end for -1); numbers
  // its empty auto-increment columns and keeps the numbering past the
  // values given.
  TMemRow* Add(std::vector<Variant> Values, Integer Position = -1);
  void Remove(TMemRow* Row);
  // Keeps the numbering of auto-increment columns past a value written by
  // hand.
  void NoteAutoIncValue(Integer Column, const Variant& Value);
  // The nested table of a row's column, made (with ChildColumns) on first use.
  TMemTable& NestedTable(TMemRow& Row, Integer Column, const std::vector<TMemColumn>& ChildColumns);

 private:
  std::vector<TMemColumn> Columns_;
  std::vector<std::unique_ptr<TMemRow>> Rows_;
  std::unordered_map<Int64, TMemRow*> ById_;
  std::vector<Int64> NextAutoInc_;
  Int64 NextId_ = 1;
};
