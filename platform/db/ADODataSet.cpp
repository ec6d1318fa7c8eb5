#include "platform/db/ADODataSet.h"

#include <algorithm>

#include "platform/db/DataSetField.h"
#include "platform/db/DataSource.h"
#include "platform/db/DbConsts.h"
#include "platform/db/Field.h"
#include "platform/db/FieldDefs.h"
#include "platform/db/FilterExpression.h"
#include "platform/db/MasterDataLink.h"
#include "platform/db/MemTable.h"
#include "platform/db/PublishDataSet.h"

namespace {

bool IsTextType(TFieldType t) {
  return t == ftString || t == ftFixedChar || t == ftWideString || t == ftMemo || t == ftFmtMemo || t == ftGuid ||
         t == ftOraClob;
}

// The Variant type a key is converted to before it is compared with a
// field's values; 0 for no conversion.
TVarType VarTypeOfField(TFieldType t) {
  switch (t) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return varInteger;
    case ftLargeint:
      return varInt64;
    case ftFloat:
    case ftCurrency:
      return varDouble;
    case ftBCD:
      return varCurrency;
    case ftFMTBcd:
      return varFMTBcd;
    case ftDate:
    case ftTime:
    case ftDateTime:
      return varDate;
    case ftBoolean:
      return varBoolean;
    case ftTimeStamp:
      return varSQLTimeStamp;
    default:
      return 0;
  }
}

bool KeyMatches(const TField* field, const Variant& value, const Variant& key, TLocateOptions options) {
  if (VarIsClear(key)) return VarIsClear(value);
  if (VarIsClear(value)) return false;
  if (IsTextType(field->DataType())) {
    std::string v = VarToStr(value), k = VarToStr(key);
    if (options.Contains(loCaseInsensitive)) {
      v = AnsiUpperCase(v);
      k = AnsiUpperCase(k);
    }
    if (options.Contains(loPartialKey)) return v.compare(0, k.size(), k) == 0;
    return v == k;
  }
  return FieldValuesEqual(value, key);
}

// Orders values of an index column: missing values first, then by value;
// values that cannot be compared keep their order.
int CompareSortValues(const Variant& a, const Variant& b) {
  bool na = VarIsClear(a), nb = VarIsClear(b);
  if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
  if (VarIsStr(a) && VarIsStr(b)) {
    Integer c = AnsiCompareStr(VarToStr(a), VarToStr(b));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  try {
    switch (VarCompareValue(a, b)) {
      case vrLessThan:
        return -1;
      case vrGreaterThan:
        return 1;
      default:
        return 0;
    }
  } catch (const Exception&) {
    return 0;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// The link of a nested data set to its parent.

class TCustomADODataSet::TNestedParentLink : public TDataLink {
 public:
  explicit TNestedParentLink(TCustomADODataSet* Owner) : Owner_(Owner) {}

  void DataEvent(TDataEvent Event, NativeInt Info) override {
    TDataLink::DataEvent(Event, Info);
    if (Event == deDisabledStateChange && Info == 0) Owner_->ParentClosed();
  }

 protected:
  void ActiveChanged() override {
    if (Active())
      Owner_->ParentRecordChanged();
    else
      Owner_->ParentClosed();
  }
  void CheckBrowseMode() override {
    if (Owner_->Active()) Owner_->CheckBrowseMode();
  }
  void RecordChanged(TField* Field) override {
    if (!Field) Owner_->ParentRecordChanged();
  }

 private:
  TCustomADODataSet* Owner_;
};

// ---------------------------------------------------------------------------
// TCustomADODataSet

VXN_IMPLEMENT_CLASS(TCustomADODataSet, TDataSet)

TCustomADODataSet::TCustomADODataSet(TComponent* AOwner)
    : TDataSet(AOwner), MasterLink_(std::make_unique<TMasterDataLink>(this)) {
  MasterLink_->OnMasterChange = TNotifyEvent(this, &TCustomADODataSet::MasterChanged);
  MasterLink_->OnMasterDisable = TNotifyEvent(this, &TCustomADODataSet::MasterDisabled);
}

TCustomADODataSet::~TCustomADODataSet() {
  CloseForDestruction();
  ParentLink_.reset();
  ParentSource_.reset();
}

void TCustomADODataSet::SetCursorType(TCursorType Value) {
  CheckInactive();
  CursorType_ = Value;
}

void TCustomADODataSet::SetLockType(TADOLockType Value) {
  CheckInactive();
  LockType_ = Value;
}

void TCustomADODataSet::SetReadOnly(bool Value) {
  if (ReadOnly_ == Value) return;
  ReadOnly_ = Value;
  if (Active()) DataEvent(deUpdateState, 0);
}

bool TCustomADODataSet::IsFieldDefsStored() const { return StoreDefs_ && FieldDefs().Count() > 0; }

TDataSource* TCustomADODataSet::MasterSource() const { return MasterLink_->DataSource(); }

const std::string& TCustomADODataSet::MasterFields() const { return MasterLink_->FieldNames(); }

void TCustomADODataSet::SetMasterSource(TDataSource* Value) {
  if (Value == MasterSource()) return;
  if (Value && IsLinkedTo(Value)) DatabaseError(SCircularDataLink, this);
  if (Value && DataSetField()) DatabaseError(SNoNestedMasterSource, this);
  if (TDataSource* old = MasterSource()) RemoveFreeNotification(old);
  MasterLink_->SetDataSource(Value);
  if (Value) Value->FreeNotification(this);
}

void TCustomADODataSet::SetMasterFields(const std::string& Value) { MasterLink_->SetFieldNames(Value); }

void TCustomADODataSet::SetDataSetField(TDataSetField* Value) {
  if (Value && MasterSource()) DatabaseError(SNoNestedMasterSource, this);
  if (Value && Value->DataSet() && !dynamic_cast<TCustomADODataSet*>(Value->DataSet()))
    DatabaseErrorFmt(SNestedDataSetClass, {"TCustomADODataSet"}, this);
  TDataSet::SetDataSetField(Value);
}

void TCustomADODataSet::SetIndexFieldNames(const std::string& Value) {
  if (Value == IndexFieldNames_) return;
  std::string old = IndexFieldNames_;
  IndexFieldNames_ = Value;
  if (!Active()) return;
  try {
    RefreshOrder();
  } catch (...) {
    IndexFieldNames_ = old;
    RefreshOrder();
    throw;
  }
}

void TCustomADODataSet::RefreshOrder() {
  CheckBrowseMode();
  IndexColumns_.clear();
  for (const std::string& name : SplitFieldNames(IndexFieldNames_)) {
    Integer index = FieldDefs().IndexOf(name);
    if (index < 0) DatabaseErrorFmt(SFieldNotFound, {name}, this);
    IndexColumns_.push_back(index);
  }
  PrepareRange();
  RebuildView(CurrentRecordId());
  Resync({});
}

void TCustomADODataSet::Notification(TComponent* AComponent, TOperation Operation) {
  TDataSet::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == MasterSource()) MasterLink_->SetDataSource(nullptr);
}

TMemTable* TCustomADODataSet::Table() const { return DataSetField() ? NestedTable_ : OwnTable_.get(); }

std::vector<TMemColumn> TCustomADODataSet::ColumnsOfDefs() const {
  std::vector<TMemColumn> columns;
  for (Integer i = 0; i < FieldDefs().Count(); ++i) {
    TFieldDef* def = FieldDefs().Items(i);
    columns.push_back({def->Name(), def->DataType(), def->Size()});
  }
  return columns;
}

std::vector<Integer> TCustomADODataSet::DetailColumns() const {
  std::vector<Integer> columns;
  std::string names = IndexFieldNames_.empty() ? MasterFields() : IndexFieldNames_;
  for (const std::string& name : SplitFieldNames(names)) {
    Integer index = FieldDefs().IndexOf(name);
    if (index < 0) DatabaseErrorFmt(SFieldNotFound, {name}, const_cast<TCustomADODataSet*>(this));
    columns.push_back(index);
  }
  return columns;
}

Int64 TCustomADODataSet::CurrentRecordId() const {
  if (!Active() || IsEmpty()) return 0;
  const TRecordBuffer& buf = ActiveBuffer();
  return buf.BookmarkFlag == bfCurrent ? buf.RecordId : 0;
}

// --- opening -------------------------------------------------------------------

void TCustomADODataSet::InternalInitFieldDefs() {
  if (DataSetField() && FieldDefs().Count() == 0) {
    TDataSet* parent = DataSetField()->DataSet();
    TFieldDef* def = parent ? parent->FieldDefs().FindDef(DataSetField()->FieldName()) : nullptr;
    if (def && def->HasChildDefs()) FieldDefs().Assign(&def->ChildDefs());
  }
  if (FieldDefs().Count() == 0) {
    for (TField* f : Fields().Items())
      if (f->FieldKind() == fkData) FieldDefs().Add(f->FieldName(), f->DataType(), f->Size(), f->Required());
  }
}

void TCustomADODataSet::InternalOpen() {
  TCustomADODataSet* parent = nullptr;
  if (DataSetField()) {
    parent = dynamic_cast<TCustomADODataSet*>(DataSetField()->DataSet());
    if (!parent || !parent->Active()) DatabaseError(SDataSetClosed, parent);
  }
  InternalInitFieldDefs();
  if (DefaultFields()) {
    CreateFields();
    // The table numbers auto-increment fields itself.
    for (TField* f : Fields().Items())
      if (f->DataType() == ftAutoInc) f->SetReadOnly(true);
  }
  BindFields(true);
  SetRecordLayout(FieldDefs().Count());
  SetUniDirectional(CursorType_ == ctOpenForwardOnly);
  FilterScratch_ = NewRecordBuffer();
  std::vector<TMemColumn> columns = ColumnsOfDefs();
  if (parent) {
    if (!ParentSource_) {
      ParentSource_ = std::make_unique<TDataSource>(nullptr);
      ParentLink_ = std::make_unique<TNestedParentLink>(this);
      ParentLink_->SetDataSource(ParentSource_.get());
    }
    ParentSource_->SetDataSet(parent);
    NestedTable_ = parent->NestedTableOf(DataSetField(), columns);
  } else if (!OwnTable_ || OwnTable_->Columns() != columns) {
    OwnTable_ = std::make_unique<TMemTable>(std::move(columns));
  }
  IndexColumns_.clear();
  for (const std::string& name : SplitFieldNames(IndexFieldNames_)) {
    Integer index = FieldDefs().IndexOf(name);
    if (index < 0) DatabaseErrorFmt(SFieldNotFound, {name}, this);
    IndexColumns_.push_back(index);
  }
  CursorOpen_ = true;
  PrepareRowConditions();
  RebuildView();
  InternalFirst();
}

void TCustomADODataSet::InternalClose() {
  CursorOpen_ = false;
  View_.clear();
  Cursor_ = -1;
  FilterExpr_.reset();
  RangeActive_ = false;
  RangeValues_.clear();
  NestedTable_ = nullptr;
  if (ParentSource_) ParentSource_->SetDataSet(nullptr);
  BindFields(false);
  if (DefaultFields()) DestroyFields();
}

std::unique_ptr<TFilterExpression> TCustomADODataSet::CompileFilter() const {
  if (!Filtered() || Trim(Filter()).empty()) return nullptr;
  return std::make_unique<TFilterExpression>(*this, Filter(), FilterOptions(), TExprParserMode::Filter);
}

void TCustomADODataSet::PrepareRange() {
  RangeActive_ = false;
  RangeValues_.clear();
  RangeColumns_.clear();
  if (!MasterLink_->Active() || MasterLink_->Fields().empty()) return;
  RangeColumns_ = DetailColumns();
  RangeValues_ = MasterLink_->Values();
  if (RangeColumns_.size() > RangeValues_.size()) RangeColumns_.resize(RangeValues_.size());
  RangeValues_.resize(RangeColumns_.size());
  RangeActive_ = true;
}

void TCustomADODataSet::PrepareRowConditions() {
  FilterExpr_ = CompileFilter();
  PrepareRange();
}

bool TCustomADODataSet::RowPasses(TMemRow& Row) {
  if (RangeActive_) {
    for (size_t i = 0; i < RangeColumns_.size(); ++i)
      if (!FieldValuesEqual(Row.Values[static_cast<size_t>(RangeColumns_[i])], RangeValues_[i])) return false;
  }
  if (!Filtered()) return true;
  if (FilterExpr_ && !FilterExpr_->Evaluate(Row.Values)) return false;
  if (OnFilterRecord()) {
    FilterScratch_->RecordId = Row.Id;
    FilterScratch_->BookmarkFlag = bfCurrent;
    FilterScratch_->Values = Row.Values;
    if (!RecordPassesFilterEvent(*FilterScratch_)) return false;
  }
  return true;
}

bool TCustomADODataSet::SortsBefore(const TMemRow* A, const TMemRow* B) const {
  for (Integer column : IndexColumns_) {
    int c = CompareSortValues(A->Values[static_cast<size_t>(column)], B->Values[static_cast<size_t>(column)]);
    if (c != 0) return c < 0;
  }
  return false;
}

void TCustomADODataSet::RebuildView(Int64 KeepId) {
  View_.clear();
  Cursor_ = -1;
  TMemTable* table = Table();
  if (!table) return;
  for (Integer i = 0; i < table->RowCount(); ++i) {
    TMemRow* row = table->Row(i);
    row->ViewPos = -1;
    if (RowPasses(*row)) View_.push_back(row);
  }
  if (!IndexColumns_.empty())
    std::stable_sort(View_.begin(), View_.end(), [this](const TMemRow* a, const TMemRow* b) { return SortsBefore(a, b); });
  for (size_t i = 0; i < View_.size(); ++i) View_[i]->ViewPos = static_cast<Integer>(i);
  if (KeepId != 0)
    if (TMemRow* row = table->Find(KeepId); row && row->ViewPos >= 0) Cursor_ = row->ViewPos;
}

Integer TCustomADODataSet::ViewIndexForNewRow(TMemRow* Row, Integer Preferred) const {
  if (IndexColumns_.empty()) return std::clamp<Integer>(Preferred, 0, static_cast<Integer>(View_.size()));
  auto it = std::upper_bound(View_.begin(), View_.end(), Row,
                             [this](const TMemRow* a, const TMemRow* b) { return SortsBefore(a, b); });
  return static_cast<Integer>(it - View_.begin());
}

void TCustomADODataSet::PlaceInView(TMemRow* Row, Integer Position) {
  View_.insert(View_.begin() + Position, Row);
  for (size_t i = static_cast<size_t>(Position); i < View_.size(); ++i) View_[i]->ViewPos = static_cast<Integer>(i);
}

void TCustomADODataSet::RemoveFromView(Integer Position) {
  View_[static_cast<size_t>(Position)]->ViewPos = -1;
  View_.erase(View_.begin() + Position);
  for (size_t i = static_cast<size_t>(Position); i < View_.size(); ++i) View_[i]->ViewPos = static_cast<Integer>(i);
}

// --- cursor ------------------------------------------------------------------

void TCustomADODataSet::InternalFirst() { Cursor_ = -1; }

void TCustomADODataSet::InternalLast() { Cursor_ = static_cast<Integer>(View_.size()); }

TGetResult TCustomADODataSet::GetRecord(TRecordBuffer& Buffer, TGetMode GetMode, bool DoCheck) {
  (void)DoCheck;
  auto count = static_cast<Integer>(View_.size());
  switch (GetMode) {
    case gmNext:
      if (Cursor_ < count) ++Cursor_;
      if (Cursor_ >= count) {
        Cursor_ = count;
        return grEOF;
      }
      break;
    case gmPrior:
      if (Cursor_ >= 0) --Cursor_;
      if (Cursor_ < 0) {
        Cursor_ = -1;
        return grBOF;
      }
      break;
    case gmCurrent:
      if (Cursor_ < 0) return grBOF;
      if (Cursor_ >= count) return grEOF;
      break;
  }
  const TMemRow* row = View_[static_cast<size_t>(Cursor_)];
  Buffer.RecordId = row->Id;
  Buffer.BookmarkFlag = bfCurrent;
  Buffer.Values = row->Values;
  if (HasCalcFields()) CalculateFields(Buffer);
  return grOK;
}

void TCustomADODataSet::InternalSetToRecord(const TRecordBuffer& Buffer) {
  TMemTable* table = Table();
  TMemRow* row = table ? table->Find(Buffer.RecordId) : nullptr;
  if (row && row->ViewPos >= 0)
    Cursor_ = row->ViewPos;
  else if (Buffer.BookmarkFlag == bfInserted)
    Cursor_ = static_cast<Integer>(View_.size());
}

TBookmark TCustomADODataSet::GetBookmarkData(const TRecordBuffer& Buffer) const { return IntToStr(Buffer.RecordId); }

Int64 TCustomADODataSet::BookmarkToId(const TBookmark& ABookmark) const {
  Int64 id = 0;
  return TryStrToInt64(ABookmark, id) && id > 0 ? id : 0;
}

void TCustomADODataSet::InternalGotoBookmark(const TBookmark& ABookmark) {
  TMemTable* table = Table();
  TMemRow* row = table ? table->Find(BookmarkToId(ABookmark)) : nullptr;
  if (!row || row->ViewPos < 0) DatabaseError(SRecordNotFound, this);
  Cursor_ = row->ViewPos;
}

bool TCustomADODataSet::BookmarkValid(const TBookmark& ABookmark) const {
  TMemTable* table = Table();
  if (!Active() || !table) return false;
  TMemRow* row = table->Find(BookmarkToId(ABookmark));
  return row && row->ViewPos >= 0;
}

Integer TCustomADODataSet::CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const {
  if (Bookmark1.empty() || Bookmark2.empty()) return TDataSet::CompareBookmarks(Bookmark1, Bookmark2);
  Int64 id1 = BookmarkToId(Bookmark1), id2 = BookmarkToId(Bookmark2);
  TMemTable* table = Table();
  TMemRow* r1 = table ? table->Find(id1) : nullptr;
  TMemRow* r2 = table ? table->Find(id2) : nullptr;
  Int64 a = id1, b = id2;
  if (r1 && r2 && r1->ViewPos >= 0 && r2->ViewPos >= 0) {
    a = r1->ViewPos;
    b = r2->ViewPos;
  }
  return a < b ? -1 : a > b ? 1 : 0;
}

Integer TCustomADODataSet::GetRecordCount() const { return static_cast<Integer>(View_.size()); }

Integer TCustomADODataSet::GetRecNo() const {
  Int64 id = CurrentRecordId();
  TMemTable* table = Table();
  TMemRow* row = id && table ? table->Find(id) : nullptr;
  return row && row->ViewPos >= 0 ? row->ViewPos + 1 : -1;
}

void TCustomADODataSet::SetRecNoValue(Integer Value) { Cursor_ = Value - 1; }

bool TCustomADODataSet::GetCanModify() const { return Active() && !ReadOnly_ && LockType_ != ltReadOnly; }

// --- editing -------------------------------------------------------------------

void TCustomADODataSet::CheckParentState() {
  if (!DataSetField()) return;
  TDataSet* parent = DataSetField()->DataSet();
  if (parent && parent->State() == dsInsert) parent->Post();
  if (!Table()) DatabaseError(SDataSetEmpty, parent);
}

void TCustomADODataSet::DoOnNewRecord() {
  if (RangeActive_) {
    for (size_t i = 0; i < RangeColumns_.size(); ++i)
      if (TField* f = FieldByNumber(RangeColumns_[i] + 1)) f->SetValue(RangeValues_[i]);
  }
  TDataSet::DoOnNewRecord();
}

void TCustomADODataSet::InternalPost() {
  TDataSet::InternalPost();
  TMemTable* table = Table();
  if (!table) DatabaseError(SDataSetEmpty, DataSetField() ? DataSetField()->DataSet() : this);
  TRecordBuffer& buf = ActiveBuffer();
  if (State() == dsEdit) {
    TMemRow* row = table->Find(buf.RecordId);
    if (!row) DatabaseError(SRecordNotFound, this);
    row->Values = buf.Values;
    for (size_t c = 0; c < table->Columns().size(); ++c)
      if (table->Columns()[c].DataType == ftAutoInc) table->NoteAutoIncValue(static_cast<Integer>(c), row->Values[c]);
    Integer pos = row->ViewPos;
    if (pos < 0) return;
    // The change may take the row out of the view or move it.
    if (!RowPasses(*row)) {
      RemoveFromView(pos);
      Cursor_ = pos;
    } else if (!IndexColumns_.empty()) {
      RemoveFromView(pos);
      Integer place = ViewIndexForNewRow(row, pos);
      PlaceInView(row, place);
      Cursor_ = place;
    } else {
      Cursor_ = pos;
    }
    return;
  }
  Integer storePos = -1;
  Integer viewPos = static_cast<Integer>(View_.size());
  if (buf.BookmarkFlag == bfBOF) {
    storePos = 0;
    viewPos = 0;
  } else if (buf.BookmarkFlag == bfInserted) {
    if (TMemRow* before = table->Find(buf.RecordId)) {
      storePos = table->IndexOf(before);
      if (before->ViewPos >= 0) viewPos = before->ViewPos;
    }
  }
  TMemRow* row = table->Add(buf.Values, storePos);
  buf.Values = row->Values;
  if (RowPasses(*row)) {
    Integer place = ViewIndexForNewRow(row, viewPos);
    PlaceInView(row, place);
    Cursor_ = place;
  } else {
    Cursor_ = std::min<Integer>(viewPos, static_cast<Integer>(View_.size()));
  }
}

void TCustomADODataSet::InternalDelete() {
  TMemTable* table = Table();
  if (!table || Cursor_ < 0 || Cursor_ >= static_cast<Integer>(View_.size())) DatabaseError(SRecordNotFound, this);
  Integer pos = Cursor_;
  TMemRow* row = View_[static_cast<size_t>(pos)];
  DetachNestedViews(*row);
  RemoveFromView(pos);
  table->Remove(row);
  Cursor_ = pos;
}

void TCustomADODataSet::InternalRefresh() {
  PrepareRowConditions();
  RebuildView(CurrentRecordId());
}

void TCustomADODataSet::FilterChanged() {
  if (!CursorOpen_) return;
  std::unique_ptr<TFilterExpression> expr = CompileFilter();
  FilterExpr_ = std::move(expr);
  RebuildView();
  AggregatesChanged();
  First();
}

// --- searching ------------------------------------------------------------------

Integer TCustomADODataSet::FindRow(std::string_view KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  std::vector<TField*> fields = GetFieldList(KeyFields);
  if (fields.empty()) return -1;
  std::vector<Variant> keys(fields.size());
  if (fields.size() == 1) {
    keys[0] = KeyValues;
    if (VarIsArray(KeyValues) && VarArrayHighBound(KeyValues, 1) == VarArrayLowBound(KeyValues, 1))
      keys[0] = VarArrayGet(KeyValues, {VarArrayLowBound(KeyValues, 1)});
  } else {
    Integer low = VarArrayLowBound(KeyValues, 1);
    for (size_t i = 0; i < fields.size(); ++i) keys[i] = VarArrayGet(KeyValues, {low + static_cast<Integer>(i)});
  }
  bool needsCalc = false;
  for (size_t i = 0; i < fields.size(); ++i) {
    TField* f = fields[i];
    if (f->FieldKind() != fkData && f->FieldKind() != fkInternalCalc) needsCalc = true;
    TVarType type = VarTypeOfField(f->DataType());
    if (type && !VarIsClear(keys[i]) && !IsTextType(f->DataType())) keys[i] = VarAsType(keys[i], type);
  }
  std::unique_ptr<TRecordBuffer> scratch = NewRecordBuffer();
  for (size_t pos = 0; pos < View_.size(); ++pos) {
    TMemRow* row = View_[pos];
    scratch->RecordId = row->Id;
    scratch->Values = row->Values;
    if (needsCalc) CalculateFields(*scratch);
    bool all = true;
    for (size_t i = 0; i < fields.size() && all; ++i)
      all = KeyMatches(fields[i], BufferFieldValue(*scratch, fields[i]), keys[i], Options);
    if (all) return static_cast<Integer>(pos);
  }
  return -1;
}

bool TCustomADODataSet::Locate(std::string_view KeyFields, const Variant& KeyValues, TLocateOptions Options) {
  CheckBrowseMode();
  DoBeforeScroll();
  Integer pos = FindRow(KeyFields, KeyValues, Options);
  if (pos < 0) return false;
  Cursor_ = pos;
  Resync(TResyncMode{rmExact, rmCenter});
  DoAfterScroll();
  return true;
}

Variant TCustomADODataSet::Lookup(std::string_view KeyFields, const Variant& KeyValues, std::string_view ResultFields) {
  CheckBrowseMode();
  Integer pos = FindRow(KeyFields, KeyValues, {});
  if (pos < 0) return Null();
  std::vector<TField*> results = GetFieldList(ResultFields);
  std::unique_ptr<TRecordBuffer> scratch = NewRecordBuffer();
  TMemRow* row = View_[static_cast<size_t>(pos)];
  scratch->RecordId = row->Id;
  scratch->Values = row->Values;
  for (TField* f : results)
    if (f->FieldKind() != fkData && f->FieldKind() != fkInternalCalc) {
      CalculateFields(*scratch);
      break;
    }
  if (results.size() == 1) return BufferFieldValue(*scratch, results[0]);
  Variant array = VarArrayCreate({0, static_cast<Integer>(results.size()) - 1}, varVariant);
  for (size_t i = 0; i < results.size(); ++i)
    VarArrayPut(array, BufferFieldValue(*scratch, results[i]), {static_cast<Integer>(i)});
  return array;
}

void TCustomADODataSet::ForEachRecordValues(const std::function<void(const std::vector<Variant>& Values)>& Proc) const {
  for (const TMemRow* row : View_) Proc(row->Values);
}

// --- master and nested ------------------------------------------------------------

void TCustomADODataSet::MasterChanged(TObject*) {
  if (!Active()) return;
  std::vector<Variant> values = MasterLink_->Values();
  if (RangeActive_ && values.size() >= RangeValues_.size()) {
    bool same = true;
    for (size_t i = 0; i < RangeValues_.size() && same; ++i) same = FieldValuesEqual(values[i], RangeValues_[i]);
    if (same) return;
  }
  CheckBrowseMode();
  PrepareRange();
  RebuildView();
  AggregatesChanged();
  First();
}

void TCustomADODataSet::MasterDisabled(TObject*) {
  if (!Active() || !RangeActive_) return;
  CheckBrowseMode();
  PrepareRange();
  RebuildView();
  AggregatesChanged();
  First();
}

TMemTable* TCustomADODataSet::NestedTableOf(const TDataSetField* Field, const std::vector<TMemColumn>& Columns) {
  Int64 id = CurrentRecordId();
  TMemTable* table = Table();
  TMemRow* row = id && table ? table->Find(id) : nullptr;
  if (!row || Field->FieldNo() <= 0) return nullptr;
  Integer column = Field->FieldNo() - 1;
  TMemTable& nested = table->NestedTable(*row, column, Columns);
  if (nested.Columns() != Columns) {
    // The nested data set's structure changed: its old records cannot be shown.
    row->Nested[static_cast<size_t>(column)] = std::make_unique<TMemTable>(Columns);
    return row->Nested[static_cast<size_t>(column)].get();
  }
  return &nested;
}

TDataSet* TCustomADODataSet::CreateNestedDataSet(TDataSetField* Field) {
  // Owned by this data set, so that it outlives default fields.
  auto* nested = new TADODataSet(this);
  nested->SetDataSetField(Field);
  return nested;
}

void TCustomADODataSet::DetachTable() {
  View_.clear();
  Cursor_ = -1;
  NestedTable_ = nullptr;
}

void TCustomADODataSet::DetachNestedViews(TMemRow& Row) {
  for (TField* f : Fields().Items()) {
    auto* field = dynamic_cast<TDataSetField*>(f);
    if (!field) continue;
    auto* nested = dynamic_cast<TCustomADODataSet*>(field->ExistingNestedDataSet());
    if (!nested || !nested->NestedTable_) continue;
    for (auto& table : Row.Nested)
      if (table.get() == nested->NestedTable_) nested->DetachTable();
  }
}

void TCustomADODataSet::ParentRecordChanged() {
  if (!Active() || !DataSetField()) return;
  auto* parent = dynamic_cast<TCustomADODataSet*>(DataSetField()->DataSet());
  if (!parent) return;
  TMemTable* table = parent->NestedTableOf(DataSetField(), ColumnsOfDefs());
  if (table == NestedTable_ && table) return;
  if (IsEditState(State())) Cancel();
  NestedTable_ = table;
  RebuildView();
  AggregatesChanged();
  First();
}

void TCustomADODataSet::ParentClosed() {
  if (Active()) Close();
}

// ---------------------------------------------------------------------------
// TADODataSet

VXN_IMPLEMENT_CREATABLE_CLASS(TADODataSet, TCustomADODataSet)

VXN_PUBLISH(TADODataSet) {
  PublishDataSetProperties(P);
  P.Property("DataSetField", &TADODataSet::DataSetField, &TADODataSet::SetDataSetField);
  P.Property("IndexFieldNames", &TADODataSet::IndexFieldNames, &TADODataSet::SetIndexFieldNames);
  P.Property("MasterFields", &TADODataSet::MasterFields, &TADODataSet::SetMasterFields);
  P.Property("MasterSource", &TADODataSet::MasterSource, &TADODataSet::SetMasterSource);
  PublishDataSetEvents(P);
}

TADODataSet::TADODataSet(TComponent* AOwner) : TCustomADODataSet(AOwner) {}
