// The in-memory tables. TADODataSet is a data set without a connection: its
// structure comes from FieldDefs (set in code or in its form file, or taken
// from its persistent fields), its rows live in memory in the order they
// were appended (or inserted) and survive Close until the structure
// changes. It filters (Filter, Filtered, FilterOptions, OnFilterRecord),
// sorts by IndexFieldNames, follows a master through MasterSource and
// MasterFields, and shows nested records of a parent's data-set field
// through DataSetField.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/db/DataSet.h"

class TFilterExpression;
class TMasterDataLink;
class TMemTable;
struct TMemColumn;
struct TMemRow;

VXN_ENUM(TCursorType, ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic)
VXN_ENUM(TADOLockType, ltUnspecified, ltReadOnly, ltPessimistic, ltOptimistic, ltBatchOptimistic)

class TCustomADODataSet : public TDataSet {
  VXN_DECLARE_CLASS(TCustomADODataSet)

 public:
  explicit TCustomADODataSet(TComponent* AOwner);
  ~TCustomADODataSet() override;

  // ctOpenForwardOnly makes the data set unidirectional; the other kinds
  // behave alike in memory.
  TCursorType CursorType() const { return CursorType_; }
  void SetCursorType(TCursorType Value);
  // ltReadOnly makes the data set read-only; the other kinds behave alike.
  TADOLockType LockType() const { return LockType_; }
  void SetLockType(TADOLockType Value);
  bool ReadOnly() const { return ReadOnly_; }
  void SetReadOnly(bool Value);
  bool StoreDefs() const { return StoreDefs_; }
  void SetStoreDefs(bool Value) { StoreDefs_ = Value; }
  bool IsFieldDefsStored() const;

  // ";"-separated fields that order the rows (and, with a master, name the
  // detail fields that hold the master's values).
  const std::string& IndexFieldNames() const { return IndexFieldNames_; }
  void SetIndexFieldNames(const std::string& Value);
  TDataSource* MasterSource() const;
  void SetMasterSource(TDataSource* Value);
  const std::string& MasterFields() const;
  void SetMasterFields(const std::string& Value);
  TDataSource* GetDataSource() const override { return MasterSource(); }
  void SetDataSetField(TDataSetField* Value) override;

  bool IsSequenced() const override { return true; }
  bool BookmarkValid(const TBookmark& ABookmark) const override;
  Integer CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const override;
  bool Locate(std::string_view KeyFields, const Variant& KeyValues, TLocateOptions Options) override;
  Variant Lookup(std::string_view KeyFields, const Variant& KeyValues, std::string_view ResultFields) override;
  void ForEachRecordValues(const std::function<void(const std::vector<Variant>& Values)>& Proc) const override;

  // The nested records of the current record's data-set field, made with
  // Columns on first use (nil when there is no current posted record).
  TMemTable* NestedTableOf(const TDataSetField* Field, const std::vector<TMemColumn>& Columns);

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override { return CursorOpen_; }
  void InternalInitFieldDefs() override;
  void InternalFirst() override;
  void InternalLast() override;
  TGetResult GetRecord(TRecordBuffer& Buffer, TGetMode GetMode, bool DoCheck) override;
  void InternalSetToRecord(const TRecordBuffer& Buffer) override;
  TBookmark GetBookmarkData(const TRecordBuffer& Buffer) const override;
  void InternalGotoBookmark(const TBookmark& ABookmark) override;
  void InternalPost() override;
  void InternalDelete() override;
  void InternalRefresh() override;
  bool GetCanModify() const override;
  Integer GetRecordCount() const override;
  Integer GetRecNo() const override;
  void SetRecNoValue(Integer Value) override;
  void FilterChanged() override;
  void DoOnNewRecord() override;
  void CheckParentState() override;
  TDataSet* CreateNestedDataSet(TDataSetField* Field) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Whether a row of the store belongs in the view: the master's range and
  // the filter. Descendants add their own condition.
  virtual bool RowPasses(TMemRow& Row);
  // Prepares what RowPasses needs before the view is built; the base
  // compiles the filter.
  virtual void PrepareRowConditions();
  // Rebuilds the rows shown, keeping the cursor on its record when it
  // stays visible.
  void RebuildView(Int64 KeepId = 0);
  TMemTable* Table() const;
  // The filter of Filter and FilterOptions (nil when not filtered).
  std::unique_ptr<TFilterExpression> CompileFilter() const;
  // Takes the master's values as the range of detail rows.
  void PrepareRange();
  // The record the current buffer shows (0 for none).
  Int64 CurrentRecordId() const;
  std::vector<TMemRow*>& View() { return View_; }

 private:
  class TNestedParentLink;
  friend class TNestedParentLink;

  std::vector<TMemColumn> ColumnsOfDefs() const;
  void MasterChanged(TObject* Sender);
  void MasterDisabled(TObject* Sender);
  void ParentRecordChanged();
  void ParentClosed();
  void DetachNestedViews(TMemRow& Row);
  void DetachTable();
  void RefreshOrder();
  Int64 BookmarkToId(const TBookmark& ABookmark) const;
  Integer FindRow(std::string_view KeyFields, const Variant& KeyValues, TLocateOptions Options);
  Integer ViewIndexForNewRow(TMemRow* Row, Integer Preferred) const;
  void PlaceInView(TMemRow* Row, Integer Position);
  void RemoveFromView(Integer Position);
  bool SortsBefore(const TMemRow* A, const TMemRow* B) const;
  std::vector<Integer> DetailColumns() const;

  std::unique_ptr<TMemTable> OwnTable_;
  TMemTable* NestedTable_ = nullptr;
  std::vector<TMemRow*> View_;
  Integer Cursor_ = -1;
  bool CursorOpen_ = false;
  TCursorType CursorType_ = ctKeyset;
  TADOLockType LockType_ = ltOptimistic;
  bool ReadOnly_ = false;
  bool StoreDefs_ = false;
  std::string IndexFieldNames_;
  std::vector<Integer> IndexColumns_;
  std::unique_ptr<TMasterDataLink> MasterLink_;
  std::vector<Integer> RangeColumns_;
  std::vector<Variant> RangeValues_;
  bool RangeActive_ = false;
  std::unique_ptr<TFilterExpression> FilterExpr_;
  std::unique_ptr<TRecordBuffer> FilterScratch_;
  std::unique_ptr<TDataSource> ParentSource_;
  std::unique_ptr<TNestedParentLink> ParentLink_;
};

class TADODataSet : public TCustomADODataSet {
  VXN_DECLARE_CLASS(TADODataSet)

 public:
  explicit TADODataSet(TComponent* AOwner);
};
