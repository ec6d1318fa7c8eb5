#include "platform/db/MemTable.h"

#include <algorithm>

TMemTable::TMemTable(std::vector<TMemColumn> Columns)
    : Columns_(std::move(Columns)), NextAutoInc_(Columns_.size(), 1) {}

TMemRow* TMemTable::Find(Int64 Id) const {
  auto it = ById_.find(Id);
  return it == ById_.end() ? nullptr : it->second;
}

Integer TMemTable::IndexOf(const TMemRow* Row) const {
  // Rows are mostly looked for near an end (the first when a table is
  // emptied from the top, the last after appending): search from both.
  size_t n = Rows_.size();
  for (size_t i = 0; i < (n + 1) / 2; ++i) {
    if (Rows_[i].get() == Row) return static_cast<Integer>(i);
    if (Rows_[n - 1 - i].get() == Row) return static_cast<Integer>(n - 1 - i);
  }
  return -1;
}

TMemRow* TMemTable::Add(std::vector<Variant> Values, Integer Position) {
  auto row = std::make_unique<TMemRow>();
  row->Id = NextId_++;
  Values.resize(Columns_.size(), Null());
  for (size_t c = 0; c < Columns_.size(); ++c) {
    if (Columns_[c].DataType != ftAutoInc) continue;
    if (VarIsClear(Values[c]))
      Values[c] = Variant(static_cast<int>(NextAutoInc_[c]++));
    else
      NoteAutoIncValue(static_cast<Integer>(c), Values[c]);
  }
  row->Values = std::move(Values);
  TMemRow* raw = row.get();
  if (Position < 0 || Position >= RowCount())
    Rows_.push_back(std::move(row));
  else
    Rows_.insert(Rows_.begin() + Position, std::move(row));
  ById_[raw->Id] = raw;
  return raw;
}

void TMemTable::Remove(TMemRow* Row) {
  Integer index = IndexOf(Row);
  if (index < 0) return;
  ById_.erase(Row->Id);
  Rows_.erase(Rows_.begin() + index);
}

void TMemTable::NoteAutoIncValue(Integer Column, const Variant& Value) {
  if (Column < 0 || static_cast<size_t>(Column) >= NextAutoInc_.size() || VarIsClear(Value)) return;
  try {
    Int64 v = Value.AsInt64();
    if (v >= NextAutoInc_[static_cast<size_t>(Column)]) NextAutoInc_[static_cast<size_t>(Column)] = v + 1;
  } catch (const EVariantError&) {
  }
}

TMemTable& TMemTable::NestedTable(TMemRow& Row, Integer Column, const std::vector<TMemColumn>& ChildColumns) {
  if (Row.Nested.size() < Columns_.size()) Row.Nested.resize(Columns_.size());
  auto& slot = Row.Nested[static_cast<size_t>(Column)];
  if (!slot) slot = std::make_unique<TMemTable>(ChildColumns);
  return *slot;
}
