#include "platform/db/DataSet.h"

#include <algorithm>

#include "platform/db/AggregateField.h"
#include "platform/db/BlobFields.h"
#include "platform/db/DataSetField.h"
#include "platform/db/DataSource.h"
#include "platform/db/DbConsts.h"
#include "platform/db/Field.h"
#include "platform/db/FieldDefs.h"
#include "platform/rtl/Classes.h"

namespace {

// Runs a step on leaving the scope, whether by return or by exception.
template <typename F>
class TFinally {
 public:
  explicit TFinally(F f) : F_(std::move(f)) {}
  ~TFinally() noexcept(false) {
    if (std::uncaught_exceptions() > Uncaught_) {
      try {
        F_();
      } catch (...) {
        // The first error is the one the caller hears of.
      }
    } else {
      F_();
    }
  }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

 private:
  F F_;
  int Uncaught_ = std::uncaught_exceptions();
};

bool IsTypeCompatible(TFieldType fieldType, TFieldType defType) {
  if (fieldType == defType) return true;
  // An auto-increment column may be read by a plain integer field.
  if (fieldType == ftInteger && defType == ftAutoInc) return true;
  if (fieldType == ftString && defType == ftFixedChar) return true;
  if (fieldType == ftBlob && (defType >= ftBlob && defType <= ftTypedBinary)) return true;
  return false;
}

}  // namespace

VXN_IMPLEMENT_CLASS(TDataSet, TComponent)

TDataSet::TDataSet(TComponent* AOwner)
    : TComponent(AOwner),
      Fields_(std::make_unique<TFields>(this)),
      AggFields_(std::make_unique<TFields>(this)),
      FieldDefs_(std::make_unique<TFieldDefs>(this)) {}

TDataSet::~TDataSet() {
  Destroying();
  State_ = dsInactive;
  while (!DataSources_.empty()) DataSources_.back()->SetDataSet(nullptr);
  if (DataSetField_) {
    if (DataSetField_->NestedDataSet_ == this) DataSetField_->NestedDataSet_ = nullptr;
    DataSetField_ = nullptr;
  }
  // The data set frees its fields, persistent ones too.
  while (Fields_->Count() > 0) Fields_->Items().back()->Free();
  while (AggFields_->Count() > 0) AggFields_->Items().back()->Free();
}

void TDataSet::BeforeDestruction() {
  TComponent::BeforeDestruction();
  if (Active()) SetActive(false);
}

void TDataSet::CloseForDestruction() {
  if (State_ == dsInactive) return;
  State_ = dsInactive;
  InternalOpenComplete_ = false;
  ClearBuffers();
  Buffers_.clear();
  BufferCount_ = 0;
  if (DefaultFields_) DestroyFields();
}

// ---------------------------------------------------------------------------
// Opening and closing

void TDataSet::SetActive(bool Value) {
  if (ComponentState().Contains(csReading)) {
    StreamedActive_ = Value;
    return;
  }
  if (Active() == Value) return;
  if (Value) {
    if (BeforeOpen) BeforeOpen(this);
    OpenCursor();
    SetState(dsBrowse);
    if (AfterOpen) AfterOpen(this);
    if (!IsEmpty()) DoAfterScroll();
  } else {
    bool destroying = ComponentState().Contains(csDestroying);
    if (!destroying && BeforeClose) BeforeClose(this);
    SetState(dsInactive);
    CloseCursor();
    if (!destroying && AfterClose) AfterClose(this);
  }
}

void TDataSet::OpenCursor() {
  InternalOpenComplete_ = false;
  try {
    DefaultFields_ = Fields_->Count() == 0;
    InternalOpen();
    InternalOpenComplete_ = true;
    for (TField* f : AggFields_->Items()) static_cast<TAggregateField*>(f)->Prepare();
    RefreshLookupLists();
    UpdateBufferCount();
    Bof_ = true;
  } catch (...) {
    CloseCursor();
    throw;
  }
}

void TDataSet::CloseCursor() {
  InternalOpenComplete_ = false;
  ClearBuffers();
  SetBufferCount(0);
  for (TField* f : AggFields_->Items()) static_cast<TAggregateField*>(f)->Unprepare();
  InternalClose();
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (StreamedActive_) {
    StreamedActive_ = false;
    SetActive(true);
  }
}

void TDataSet::InitFieldDefs() {
  if (!Active()) InternalInitFieldDefs();
  FieldDefs_->Updated = true;
}

void TDataSet::CheckActive() const {
  if (State_ == dsInactive) DatabaseError(SDataSetClosed, const_cast<TDataSet*>(this));
}

void TDataSet::CheckInactive() const {
  if (State_ != dsInactive) DatabaseError(SDataSetOpen, const_cast<TDataSet*>(this));
}

void TDataSet::CheckBiDirectional() const {
  if (UniDirectional_) DatabaseError(SDataSetUnidirectional, const_cast<TDataSet*>(this));
}

void TDataSet::CheckCanModify() const {
  if (!CanModify()) DatabaseError(SDataSetReadOnly, const_cast<TDataSet*>(this));
}

void TDataSet::SetState(TDataSetState Value) {
  if (State_ == Value) return;
  State_ = Value;
  Modified_ = false;
  DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState Value) {
  TDataSetState old = State_;
  TempSavedState_ = old;
  State_ = Value;
  return old;
}

bool TDataSet::IsEmpty() const { return ActiveRecord_ >= RecordCount_; }

// ---------------------------------------------------------------------------
// Fields

Integer TDataSet::FieldCount() const { return Fields_->Count(); }

TField* TDataSet::FindField(std::string_view FieldName) const {
  TField* f = Fields_->FindField(FieldName);
  return f ? f : AggFields_->FindField(FieldName);
}

TField* TDataSet::FieldByName(std::string_view FieldName) const {
  TField* f = FindField(FieldName);
  if (!f) DatabaseErrorFmt(SFieldNotFound, {FieldName}, const_cast<TDataSet*>(this));
  return f;
}

TField* TDataSet::FieldByNumber(Integer FieldNo) const { return Fields_->FieldByNumber(FieldNo); }

void TDataSet::GetFieldList(std::vector<TField*>& List, std::string_view FieldNames) const {
  Integer pos = 1;
  while (pos <= static_cast<Integer>(FieldNames.size())) List.push_back(FieldByName(ExtractFieldName(FieldNames, pos)));
}

std::vector<TField*> TDataSet::GetFieldList(std::string_view FieldNames) const {
  std::vector<TField*> list;
  GetFieldList(list, FieldNames);
  return list;
}

void TDataSet::GetFieldNames(TStrings* List) const {
  if (Fields_->Count() > 0) {
    Fields_->GetFieldNames(List);
    return;
  }
  FieldDefs_->Update();
  List->BeginUpdate();
  List->Clear();
  for (Integer i = 0; i < FieldDefs_->Count(); ++i) List->Add(FieldDefs_->Items(i)->Name());
  List->EndUpdate();
}

Variant TDataSet::FieldValues(std::string_view FieldNames) const {
  std::vector<TField*> list = GetFieldList(FieldNames);
  if (list.empty()) return FieldByName(FieldNames)->Value();
  if (list.size() == 1) return list[0]->Value();
  Variant result = VarArrayCreate({0, static_cast<Integer>(list.size()) - 1}, varVariant);
  for (size_t i = 0; i < list.size(); ++i) VarArrayPut(result, list[i]->Value(), {static_cast<Integer>(i)});
  return result;
}

void TDataSet::SetFieldValues(std::string_view FieldNames, const Variant& Value) {
  std::vector<TField*> list = GetFieldList(FieldNames);
  if (list.empty()) return FieldByName(FieldNames)->SetValue(Value);
  if (list.size() == 1) return list[0]->SetValue(Value);
  Integer low = VarArrayLowBound(Value, 1);
  for (size_t i = 0; i < list.size(); ++i)
    list[i]->SetValue(VarArrayGet(Value, {low + static_cast<Integer>(i)}));
}

void TDataSet::CreateFields() {
  for (Integer i = 0; i < FieldDefs_->Count(); ++i) {
    TFieldDef* def = FieldDefs_->Items(i);
    if (def->DataType() == ftUnknown || Fields_->FindField(def->Name())) continue;
    def->CreateField(this, this);
  }
}

void TDataSet::BindFields(bool Binding) {
  CalcSlotCount_ = 0;
  for (TField* f : Fields_->Items()) {
    f->CalcSlot_ = -1;
    if (!Binding) {
      if (f->FieldKind() == fkData || f->FieldKind() == fkInternalCalc) f->SetFieldNo(0);
      continue;
    }
    if (f->FieldKind() == fkData || f->FieldKind() == fkInternalCalc) {
      TFieldDef* def = FieldDefs_->FindDef(f->FieldName());
      if (!def) DatabaseErrorFmt(SFieldNotFound, {f->DisplayName()}, this);
      if (!IsTypeCompatible(f->DataType(), def->DataType()))
        DatabaseErrorFmt(SFieldTypeMismatch,
                         {f->DisplayName(), FieldTypeName(f->DataType()), FieldTypeName(def->DataType())}, this);
      if ((f->DataType() == ftString || f->DataType() == ftFixedChar || f->DataType() == ftWideString) &&
          def->Size() != 0 && f->Size() != def->Size())
        DatabaseErrorFmt(SFieldSizeMismatch, {f->DisplayName(), f->Size(), def->Size()}, this);
      f->SetFieldNo(def->FieldNo());
    } else if (f->FieldKind() == fkCalculated || f->FieldKind() == fkLookup) {
      f->SetFieldNo(0);
      if (f->FieldKind() == fkLookup) {
        if (!f->LookupDataSet() || f->KeyFields().empty() || f->LookupKeyFields().empty() ||
            f->LookupResultField().empty())
          DatabaseErrorFmt(SLookupInfoError, {f->DisplayName()}, this);
        if (f->LookupDataSet() == this) DatabaseError(SCircularDataLink, this);
        GetFieldList(f->KeyFields());
      }
      f->CalcSlot_ = CalcSlotCount_++;
    }
  }
}

void TDataSet::DestroyFields() {
  while (Fields_->Count() > 0) Fields_->Items().back()->Free();
}

void TDataSet::RefreshLookupLists() {
  for (TField* f : Fields_->Items())
    if (f->FieldKind() == fkLookup && f->LookupCache()) f->RefreshLookupList();
}

void TDataSet::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TField* f : Fields_->Items())
    if (f->Owner() == Root) Proc(f);
  for (TField* f : AggFields_->Items())
    if (f->Owner() == Root) Proc(f);
}

void TDataSet::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  DefineDesignPosition(Filer, DesignPosition);
}

void TDataSet::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == DataSetField_) DataSetField_ = nullptr;
}

// ---------------------------------------------------------------------------
// Record buffers

void TDataSet::SetRecordLayout(Integer DataValueCount) { DataValueCount_ = DataValueCount; }

std::unique_ptr<TRecordBuffer> TDataSet::NewRecordBuffer() const {
  auto buf = std::make_unique<TRecordBuffer>();
  buf->Values.assign(static_cast<size_t>(DataValueCount_), Null());
  buf->CalcValues.assign(static_cast<size_t>(CalcSlotCount_), Null());
  return buf;
}

void TDataSet::InitRecord(TRecordBuffer& Buffer) {
  InternalInitRecord(Buffer);
  Buffer.BookmarkFlag = bfInserted;
  Buffer.RecordId = 0;
  std::fill(Buffer.CalcValues.begin(), Buffer.CalcValues.end(), Null());
}

void TDataSet::InternalInitRecord(TRecordBuffer& Buffer) {
  Buffer.Values.assign(static_cast<size_t>(DataValueCount_), Null());
  Buffer.CalcValues.assign(static_cast<size_t>(CalcSlotCount_), Null());
}

TRecordBuffer* TDataSet::GetActiveRecBuf() const {
  switch (State_) {
    case dsBrowse:
      return IsEmpty() ? nullptr : &ActiveBuffer();
    case dsEdit:
    case dsInsert:
      return RecordCount_ > 0 ? &ActiveBuffer() : nullptr;
    case dsCalcFields:
    case dsInternalCalc:
      return CalcBuffer_;
    case dsFilter:
      return FilterBuffer_;
    default:
      return nullptr;
  }
}

bool TDataSet::GetFieldData(const TField* Field, Variant& Value) const {
  if (Field->FieldKind() == fkAggregate) {
    Value = static_cast<const TAggregateField*>(Field)->CurrentValue();
    return !VarIsClear(Value);
  }
  TRecordBuffer* buf = GetActiveRecBuf();
  Value = Null();
  if (!buf) return false;
  if (Field->CalcSlot_ >= 0) {
    if (static_cast<size_t>(Field->CalcSlot_) < buf->CalcValues.size())
      Value = buf->CalcValues[static_cast<size_t>(Field->CalcSlot_)];
  } else {
    Integer index = Field->FieldNo() - 1;
    if (index >= 0 && static_cast<size_t>(index) < buf->Values.size()) Value = buf->Values[static_cast<size_t>(index)];
  }
  return !VarIsClear(Value);
}

void TDataSet::SetFieldData(TField* Field, const Variant& Value) {
  if (!IsWriteState(State_)) DatabaseError(SNotEditing, this);
  if (Field->ReadOnly() && State_ != dsSetKey && State_ != dsFilter && State_ != dsCalcFields &&
      State_ != dsInternalCalc)
    DatabaseErrorFmt(SFieldReadOnly, {Field->DisplayName()});
  if (Field->FieldKind() == fkAggregate) DatabaseErrorFmt(SFieldReadOnly, {Field->DisplayName()});
  if (State_ == dsEdit || State_ == dsInsert || State_ == dsNewValue) Field->Validate(Value);
  TRecordBuffer* buf = GetActiveRecBuf();
  if (!buf) DatabaseError(SNotEditing, this);
  if (Field->CalcSlot_ >= 0) {
    if (static_cast<size_t>(Field->CalcSlot_) >= buf->CalcValues.size()) return;
    buf->CalcValues[static_cast<size_t>(Field->CalcSlot_)] = Value;
  } else {
    Integer index = Field->FieldNo() - 1;
    if (index < 0 || static_cast<size_t>(index) >= buf->Values.size())
      DatabaseErrorFmt(SFieldNotFound, {Field->DisplayName()}, this);
    buf->Values[static_cast<size_t>(index)] = Value;
  }
  if (State_ != dsCalcFields && State_ != dsFilter && State_ != dsNewValue && State_ != dsInternalCalc) {
    DataEvent(deFieldChange, reinterpret_cast<NativeInt>(Field));
    Field->Change();
  }
}

void TDataSet::CalculateFields(TRecordBuffer& Buffer) {
  TRecordBuffer* savedCalc = CalcBuffer_;
  TDataSetState saved = SetTempState(dsCalcFields);
  CalcBuffer_ = &Buffer;
  TFinally restore([&] {
    CalcBuffer_ = savedCalc;
    RestoreState(saved);
  });
  std::fill(Buffer.CalcValues.begin(), Buffer.CalcValues.end(), Null());
  for (TField* f : Fields_->Items()) {
    if (f->FieldKind() != fkLookup || f->CalcSlot_ < 0) continue;
    TDataSet* lookup = f->LookupDataSet();
    Variant result = Null();
    if (lookup && lookup->Active()) {
      Variant keys = FieldValues(f->KeyFields());
      bool anyNull = VarIsClear(keys);
      if (VarIsArray(keys))
        for (Integer i = VarArrayLowBound(keys, 1); i <= VarArrayHighBound(keys, 1); ++i)
          if (VarIsClear(VarArrayGet(keys, {i}))) anyNull = true;
      if (!anyNull) {
        if (f->LookupCache())
          result = f->LookupList().ValueOfKey(keys);
        else
          result = lookup->Lookup(f->LookupKeyFields(), keys, f->LookupResultField());
      }
    }
    if (static_cast<size_t>(f->CalcSlot_) < Buffer.CalcValues.size())
      Buffer.CalcValues[static_cast<size_t>(f->CalcSlot_)] = result;
  }
  if (OnCalcFields) OnCalcFields(this);
}

void TDataSet::UpdateCalcFields(TField* Changed) {
  if (State_ == dsSetKey || !AutoCalcFields || !HasCalcFields()) return;
  if (Changed->FieldKind() != fkData && Changed->FieldKind() != fkInternalCalc) return;
  if (RecordCount_ > 0) CalculateFields(ActiveBuffer());
}

bool TDataSet::RecordPassesFilterEvent(TRecordBuffer& Buffer) {
  if (!OnFilterRecord_) return true;
  if (HasCalcFields()) CalculateFields(Buffer);
  TRecordBuffer* savedFilter = FilterBuffer_;
  TDataSetState saved = SetTempState(dsFilter);
  FilterBuffer_ = &Buffer;
  TFinally restore([&] {
    FilterBuffer_ = savedFilter;
    RestoreState(saved);
  });
  bool accept = true;
  OnFilterRecord_(this, accept);
  return accept;
}

Variant TDataSet::BufferFieldValue(const TRecordBuffer& Buffer, const TField* Field) const {
  if (Field->CalcSlot_ >= 0)
    return static_cast<size_t>(Field->CalcSlot_) < Buffer.CalcValues.size()
               ? Buffer.CalcValues[static_cast<size_t>(Field->CalcSlot_)]
               : Null();
  Integer index = Field->FieldNo() - 1;
  return index >= 0 && static_cast<size_t>(index) < Buffer.Values.size() ? Buffer.Values[static_cast<size_t>(index)]
                                                                          : Null();
}

void TDataSet::AggregatesChanged() {
  for (TField* f : AggFields_->Items()) static_cast<TAggregateField*>(f)->Invalidate();
}

TStream* TDataSet::CreateBlobStream(TField* Field, TBlobStreamMode Mode) {
  auto* blob = dynamic_cast<TBlobField*>(Field);
  if (!blob) DatabaseErrorFmt(SFieldAccessError, {Field->DisplayName(), "Blob"});
  return new TBlobStream(blob, Mode);
}

// ---------------------------------------------------------------------------
// The record window

void TDataSet::UpdateBufferCount() {
  if (ComponentState().Contains(csDestroying) || !InternalOpenComplete_) return;
  Integer most = 1;
  for (TDataSource* source : DataSources_)
    for (TDataLink* link : source->DataLinks()) most = std::max(most, link->BufferCount());
  SetBufferCount(most);
}

void TDataSet::SetBufferCount(Integer Value) {
  if (BufferCount_ == Value) return;
  if (Value == 0) {
    Buffers_.clear();
    BufferCount_ = 0;
    RecordCount_ = 0;
    ActiveRecord_ = 0;
    CurrentRecord_ = -1;
    return;
  }
  if (Value < BufferCount_ && RecordCount_ > Value) {
    // Drop rows from the front so that the active record stays in.
    Integer drop = std::max<Integer>(0, ActiveRecord_ - (Value - 1));
    if (drop > 0) {
      std::rotate(Buffers_.begin(), Buffers_.begin() + drop, Buffers_.begin() + RecordCount_);
      ActiveRecord_ -= drop;
      RecordCount_ -= drop;
      CurrentRecord_ = CurrentRecord_ >= drop ? CurrentRecord_ - drop : -1;
      for (TDataSource* source : DataSources_)
        for (TDataLink* link : source->DataLinks()) link->AdjustFirstRecord(-drop);
    }
    if (RecordCount_ > Value) RecordCount_ = Value;
    if (CurrentRecord_ >= RecordCount_) CurrentRecord_ = -1;
  }
  Buffers_.resize(static_cast<size_t>(Value) + 1);
  for (auto& b : Buffers_)
    if (!b) b = NewRecordBuffer();
  BufferCount_ = Value;
  if (InternalOpenComplete_ && !IsEditState(State_)) {
    // A larger window takes the records after the last row, then before
    // the first.
    GetNextRecords();
    if (RecordCount_ > 0) {
      Integer added = GetPriorRecords();
      if (added > 0)
        for (TDataSource* source : DataSources_)
          for (TDataLink* link : source->DataLinks()) link->AdjustFirstRecord(added);
    }
  }
  for (TDataSource* source : DataSources_)
    for (TDataLink* link : source->DataLinks())
      if (link->Active()) link->UpdateRange();
}

void TDataSet::SetActiveRecordIndex(Integer Index) {
  if (Index < 0 || Index >= std::max<Integer>(RecordCount_, 1) || Index >= BufferCount_) return;
  ActiveRecord_ = Index;
}

void TDataSet::ClearBuffers() {
  RecordCount_ = 0;
  ActiveRecord_ = 0;
  CurrentRecord_ = -1;
  Bof_ = true;
  Eof_ = true;
}

void TDataSet::ActivateBuffers() {
  RecordCount_ = 1;
  ActiveRecord_ = 0;
  CurrentRecord_ = 0;
  Bof_ = false;
  Eof_ = false;
}

void TDataSet::MoveBuffer(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  auto buf = std::move(Buffers_[static_cast<size_t>(CurIndex)]);
  Buffers_.erase(Buffers_.begin() + CurIndex);
  Buffers_.insert(Buffers_.begin() + NewIndex, std::move(buf));
}

void TDataSet::SetCurrentRecord(Integer Index) {
  if (CurrentRecord_ == Index) return;
  if (!UniDirectional_) {
    TRecordBuffer& buf = *Buffers_[static_cast<size_t>(Index)];
    switch (buf.BookmarkFlag) {
      case bfCurrent:
      case bfInserted:
        InternalSetToRecord(buf);
        break;
      case bfBOF:
        InternalFirst();
        break;
      case bfEOF:
        InternalLast();
        break;
    }
  }
  CurrentRecord_ = Index;
}

void TDataSet::UpdateCursorPos() {
  if (RecordCount_ > 0) SetCurrentRecord(ActiveRecord_);
}

bool TDataSet::GetNextRecord() {
  TGetMode mode = gmNext;
  if (RecordCount_ > 0) {
    SetCurrentRecord(RecordCount_ - 1);
    if (State_ == dsInsert && CurrentRecord_ == ActiveRecord_ && ActiveBuffer().BookmarkFlag == bfCurrent)
      mode = gmCurrent;
  }
  bool ok = GetRecord(*Buffers_[static_cast<size_t>(RecordCount_)], mode, true) == grOK;
  if (!ok) {
    CursorPosChanged();
    return false;
  }
  if (RecordCount_ == 0)
    ActivateBuffers();
  else if (RecordCount_ < BufferCount_)
    ++RecordCount_;
  else
    MoveBuffer(0, RecordCount_);
  CurrentRecord_ = RecordCount_ - 1;
  return true;
}

bool TDataSet::GetPriorRecord() {
  CheckBiDirectional();
  if (RecordCount_ > 0) SetCurrentRecord(0);
  bool ok = GetRecord(*Buffers_[static_cast<size_t>(RecordCount_)], gmPrior, true) == grOK;
  if (!ok) {
    CursorPosChanged();
    return false;
  }
  if (RecordCount_ == 0) {
    ActivateBuffers();
  } else {
    MoveBuffer(RecordCount_, 0);
    if (RecordCount_ < BufferCount_) {
      ++RecordCount_;
      ++ActiveRecord_;
    }
  }
  CurrentRecord_ = 0;
  return true;
}

Integer TDataSet::GetNextRecords() {
  Integer n = 0;
  while (RecordCount_ < BufferCount_ && GetNextRecord()) ++n;
  return n;
}

Integer TDataSet::GetPriorRecords() {
  if (UniDirectional_) return 0;
  Integer n = 0;
  while (RecordCount_ < BufferCount_ && GetPriorRecord()) ++n;
  return n;
}

void TDataSet::Resync(TResyncMode Mode) {
  TRecordBuffer& scratch = *Buffers_[static_cast<size_t>(RecordCount_)];
  if (Mode.Contains(rmExact)) {
    CursorPosChanged();
    if (GetRecord(scratch, gmCurrent, true) != grOK) DatabaseError(SRecordNotFound, this);
  } else if (GetRecord(scratch, gmCurrent, false) != grOK && GetRecord(scratch, gmNext, false) != grOK &&
             (UniDirectional_ || GetRecord(scratch, gmPrior, false) != grOK)) {
    ClearBuffers();
    DataEvent(deDataSetChange, 0);
    return;
  }
  Integer count = Mode.Contains(rmCenter) ? (BufferCount_ - 1) / 2 : ActiveRecord_;
  MoveBuffer(RecordCount_, 0);
  ActivateBuffers();
  TFinally notify([&] { DataEvent(deDataSetChange, 0); });
  if (!UniDirectional_)
    while (count > 0 && GetPriorRecord()) --count;
  GetNextRecords();
  GetPriorRecords();
}

// ---------------------------------------------------------------------------
// Navigation

void TDataSet::DoBeforeScroll() {
  if (BeforeScroll) BeforeScroll(this);
}

void TDataSet::DoAfterScroll() {
  if (AfterScroll) AfterScroll(this);
}

void TDataSet::First() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  {
    TFinally done([&] {
      Bof_ = true;
      DataEvent(deDataSetChange, 0);
    });
    InternalFirst();
    GetNextRecord();
    GetNextRecords();
  }
  DoAfterScroll();
}

void TDataSet::Last() {
  CheckBiDirectional();
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  {
    TFinally done([&] {
      Eof_ = true;
      DataEvent(deDataSetChange, 0);
    });
    InternalLast();
    GetPriorRecord();
    GetPriorRecords();
  }
  DoAfterScroll();
}

void TDataSet::Next() { MoveBy(1); }

void TDataSet::Prior() {
  CheckBiDirectional();
  MoveBy(-1);
}

Integer TDataSet::MoveBy(Integer Distance) {
  CheckBrowseMode();
  if (Distance < 0) CheckBiDirectional();
  Integer moved = 0;
  if ((Distance > 0 && !Eof_) || (Distance < 0 && !Bof_)) {
    DoBeforeScroll();
    Bof_ = false;
    Eof_ = false;
    Integer oldCount = RecordCount_;
    // How far the rows moved in the buffers (negative: towards buffer 0).
    Integer shift = 0;
    {
      TFinally done([&] {
        if (RecordCount_ != oldCount)
          DataEvent(deDataSetChange, 0);
        else
          DataEvent(deDataSetScroll, shift);
      });
      while (Distance > 0) {
        if (ActiveRecord_ < RecordCount_ - 1) {
          ++ActiveRecord_;
        } else {
          bool full = RecordCount_ >= BufferCount_;
          if (!GetNextRecord()) {
            Eof_ = true;
            break;
          }
          if (full)
            --shift;
          else
            ActiveRecord_ = RecordCount_ - 1;
        }
        --Distance;
        ++moved;
      }
      while (Distance < 0) {
        if (ActiveRecord_ > 0) {
          --ActiveRecord_;
        } else {
          bool full = RecordCount_ >= BufferCount_;
          if (!GetPriorRecord()) {
            Bof_ = true;
            break;
          }
          ++shift;
          if (!full) ActiveRecord_ = 0;
        }
        ++Distance;
        --moved;
      }
    }
    DoAfterScroll();
  }
  return moved;
}

Integer TDataSet::RecordCount() const {
  CheckActive();
  return GetRecordCount();
}

void TDataSet::SetRecNo(Integer Value) {
  CheckBrowseMode();
  if (Value < 1 || Value > GetRecordCount() || Value == GetRecNo()) return;
  DoBeforeScroll();
  SetRecNoValue(Value);
  Resync(TResyncMode{rmExact, rmCenter});
  DoAfterScroll();
}

// ---------------------------------------------------------------------------
// Bookmarks

bool TDataSet::BookmarkAvailable() const {
  return (State_ == dsBrowse || State_ == dsEdit || State_ == dsInsert) && !IsEmpty() &&
         ActiveBuffer().BookmarkFlag == bfCurrent;
}

TBookmarkStr TDataSet::Bookmark() const { return BookmarkAvailable() ? GetBookmarkData(ActiveBuffer()) : TBookmarkStr(); }

void TDataSet::SetBookmark(const TBookmarkStr& Value) { GotoBookmark(Value); }

void TDataSet::GotoBookmark(const TBookmark& ABookmark) {
  if (ABookmark.empty()) return;
  CheckBrowseMode();
  DoBeforeScroll();
  InternalGotoBookmark(ABookmark);
  Resync(TResyncMode{rmExact, rmCenter});
  DoAfterScroll();
}

bool TDataSet::BookmarkValid(const TBookmark&) const { return false; }

Integer TDataSet::CompareBookmarks(const TBookmark& Bookmark1, const TBookmark& Bookmark2) const {
  if (Bookmark1.empty() || Bookmark2.empty()) {
    if (Bookmark1.empty() && Bookmark2.empty()) return 0;
    return Bookmark1.empty() ? 1 : -1;
  }
  return 0;
}

bool TDataSet::Locate(std::string_view, const Variant&, TLocateOptions) { return false; }

Variant TDataSet::Lookup(std::string_view, const Variant&, std::string_view) { return Null(); }

// ---------------------------------------------------------------------------
// Editing

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  switch (State_) {
    case dsEdit:
    case dsInsert:
      UpdateRecord();
      if (Modified_)
        Post();
      else
        Cancel();
      break;
    case dsSetKey:
      Post();
      break;
    default:
      break;
  }
}

void TDataSet::UpdateRecord() {
  if (!IsWriteState(State_)) DatabaseError(SNotEditing, this);
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::Edit() {
  if (State_ == dsEdit || State_ == dsInsert) return;
  if (RecordCount_ == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckParentState();
  CheckCanModify();
  if (BeforeEdit) BeforeEdit(this);
  CheckOperation([this] { InternalEdit(); }, OnEditError);
  if (HasCalcFields()) CalculateFields(ActiveBuffer());
  SetState(dsEdit);
  DataEvent(deRecordChange, 0);
  if (AfterEdit) AfterEdit(this);
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  CheckParentState();
  CheckCanModify();
  if (BeforeInsert) BeforeInsert(this);
  DoBeforeScroll();
}

void TDataSet::EndInsertAppend() {
  SetState(dsInsert);
  try {
    DoOnNewRecord();
  } catch (...) {
    UpdateCursorPos();
    SetState(dsBrowse);
    Resync({});
    throw;
  }
  Modified_ = false;
  DataEvent(deDataSetChange, 0);
  if (AfterInsert) AfterInsert(this);
  DoAfterScroll();
}

void TDataSet::DoOnNewRecord() {
  if (OnNewRecord) OnNewRecord(this);
}

void TDataSet::Insert() {
  BeginInsertAppend();
  Int64 before = RecordCount_ > 0 ? ActiveBuffer().RecordId : 0;
  TBookmarkFlag beforeFlag = RecordCount_ > 0 ? ActiveBuffer().BookmarkFlag : bfBOF;
  MoveBuffer(RecordCount_, ActiveRecord_);
  TRecordBuffer& buf = ActiveBuffer();
  InitRecord(buf);
  if (RecordCount_ == 0) {
    buf.BookmarkFlag = bfBOF;
  } else {
    // The new record goes before the one that was current.
    buf.RecordId = before;
    buf.BookmarkFlag = beforeFlag == bfEOF ? bfEOF : bfInserted;
  }
  if (RecordCount_ < BufferCount_) ++RecordCount_;
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  ClearBuffers();
  TRecordBuffer& buf = *Buffers_[0];
  InitRecord(buf);
  buf.BookmarkFlag = bfEOF;
  RecordCount_ = 1;
  Bof_ = false;
  GetPriorRecords();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::InternalPost() { CheckRequiredFields(); }

void TDataSet::CheckRequiredFields() {
  for (TField* f : Fields_->Items()) {
    if (f->Required() && !f->ReadOnly() && f->FieldKind() == fkData && f->IsNull()) {
      f->FocusControl();
      DatabaseErrorFmt(SFieldRequired, {f->DisplayName()});
    }
  }
}

void TDataSet::Post() {
  UpdateRecord();
  if (State_ != dsEdit && State_ != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  if (BeforePost) BeforePost(this);
  CheckOperation([this] { InternalPost(); }, OnPostError);
  AggregatesChanged();
  SetState(dsBrowse);
  Resync({});
  if (AfterPost) AfterPost(this);
}

void TDataSet::Cancel() {
  if (State_ != dsEdit && State_ != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  if (BeforeCancel) BeforeCancel(this);
  bool scrollEvents = State_ == dsInsert;
  if (scrollEvents) DoBeforeScroll();
  UpdateCursorPos();
  InternalCancel();
  SetState(dsBrowse);
  Resync({});
  if (AfterCancel) AfterCancel(this);
  if (scrollEvents) DoAfterScroll();
}

void TDataSet::Delete() {
  CheckActive();
  if (State_ == dsInsert || State_ == dsSetKey) {
    Cancel();
    return;
  }
  if (RecordCount_ == 0) DatabaseError(SDataSetEmpty, this);
  CheckCanModify();
  CheckParentState();
  DataEvent(deCheckBrowseMode, 0);
  if (BeforeDelete) BeforeDelete(this);
  DoBeforeScroll();
  CheckOperation([this] { InternalDelete(); }, OnDeleteError);
  AggregatesChanged();
  SetState(dsBrowse);
  Resync({});
  if (AfterDelete) AfterDelete(this);
  DoAfterScroll();
}

void TDataSet::Refresh() {
  CheckBrowseMode();
  if (BeforeRefresh) BeforeRefresh(this);
  UpdateCursorPos();
  InternalRefresh();
  AggregatesChanged();
  Resync({});
  if (AfterRefresh) AfterRefresh(this);
}

void TDataSet::ClearFields() {
  if (!IsEditState(State_)) DatabaseError(SNotEditing, this);
  DataEvent(deCheckBrowseMode, 0);
  TRecordBuffer& buf = ActiveBuffer();
  std::fill(buf.Values.begin(), buf.Values.end(), Null());
  if (HasCalcFields()) CalculateFields(buf);
  DataEvent(deRecordChange, 0);
}

void TDataSet::SetFieldsFromValues(const std::vector<Variant>& Values) {
  if (!IsEditState(State_)) DatabaseError(SNotEditing, this);
  DisableControls();
  TFinally enable([&] { EnableControls(); });
  Integer n = std::min<Integer>(static_cast<Integer>(Values.size()), Fields_->Count());
  for (Integer i = 0; i < n; ++i) {
    const Variant& v = Values[static_cast<size_t>(i)];
    if (VarIsEmpty(v)) continue;
    TField* f = Fields_->Fields(i);
    if (VarIsNull(v))
      f->Clear();
    else
      f->SetValue(v);
  }
}

void TDataSet::SetFields(const std::vector<Variant>& Values) { SetFieldsFromValues(Values); }

void TDataSet::AppendRecord(const std::vector<Variant>& Values) {
  Append();
  SetFieldsFromValues(Values);
  Post();
}

void TDataSet::InsertRecord(const std::vector<Variant>& Values) {
  Insert();
  SetFieldsFromValues(Values);
  Post();
}

// ---------------------------------------------------------------------------
// Controls and notices

void TDataSet::DisableControls() {
  if (DisableCount_ == 0) {
    DisableState_ = State_;
    EnableEvent_ = deDataSetChange;
  }
  ++DisableCount_;
}

void TDataSet::EnableControls() {
  if (DisableCount_ == 0) return;
  if (--DisableCount_ != 0) return;
  if (DisableState_ != State_) DataEvent(deUpdateState, 0);
  if (DisableState_ != dsInactive && State_ != dsInactive) DataEvent(EnableEvent_, 0);
}

void TDataSet::DataEvent(TDataEvent Event, NativeInt Info) {
  if (ComponentState().Contains(csDestroying) && Event != deUpdateState) return;
  bool notifySources = !(ControlsDisabled() || State_ == dsBlockRead);
  switch (Event) {
    case deFieldChange: {
      auto* field = reinterpret_cast<TField*>(Info);
      if (field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc) Modified_ = true;
      UpdateCalcFields(field);
      break;
    }
    case deUpdateState:
      if (ControlsDisabled()) {
        // Controls hear of the state change when they are enabled again;
        // meanwhile links learn whether the data set is still open.
        Event = deDisabledStateChange;
        Info = State_ != dsInactive ? 1 : 0;
        notifySources = true;
        EnableEvent_ = deLayoutChange;
      }
      break;
    case deLayoutChange:
      if (ControlsDisabled()) EnableEvent_ = deLayoutChange;
      break;
    default:
      break;
  }
  std::vector<TDataSource*> sources = DataSources_;
  for (TDataSource* source : sources) {
    if (std::find(DataSources_.begin(), DataSources_.end(), source) == DataSources_.end()) continue;
    if (notifySources)
      source->DataEvent(Event, Info);
    else if (source->State() != dsInactive)
      source->NotifyLinkTypes(Event, Info, false);
  }
}

void TDataSet::AddDataSource(TDataSource* Source) {
  DataSources_.push_back(Source);
  UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource* Source) {
  auto it = std::find(DataSources_.begin(), DataSources_.end(), Source);
  if (it != DataSources_.end()) DataSources_.erase(it);
  UpdateBufferCount();
}

// ---------------------------------------------------------------------------
// Filter

void TDataSet::SetFilter(const std::string& Value) {
  if (Active() && Filtered_) {
    CheckBrowseMode();
    std::string old = FilterText_;
    FilterText_ = Value;
    try {
      FilterChanged();
    } catch (...) {
      FilterText_ = old;
      throw;
    }
    return;
  }
  FilterText_ = Value;
}

void TDataSet::SetFiltered(bool Value) {
  if (Filtered_ == Value) return;
  if (Active()) {
    CheckBrowseMode();
    Filtered_ = Value;
    try {
      FilterChanged();
    } catch (...) {
      Filtered_ = !Value;
      throw;
    }
    return;
  }
  Filtered_ = Value;
}

void TDataSet::SetFilterOptions(TFilterOptions Value) {
  if (FilterOptions_ == Value) return;
  if (Active() && Filtered_) {
    CheckBrowseMode();
    TFilterOptions old = FilterOptions_;
    FilterOptions_ = Value;
    try {
      FilterChanged();
    } catch (...) {
      FilterOptions_ = old;
      throw;
    }
    return;
  }
  FilterOptions_ = Value;
}

void TDataSet::SetOnFilterRecord(TFilterRecordEvent Value) {
  if (OnFilterRecord_ == Value) return;
  OnFilterRecord_ = Value;
  if (Active() && Filtered_) {
    CheckBrowseMode();
    FilterChanged();
  }
}

// ---------------------------------------------------------------------------
// Master and nested data sets

void TDataSet::SetDataSetField(TDataSetField* Value) {
  if (Value == DataSetField_) return;
  CheckInactive();
  if (Value && GetDataSource()) DatabaseError(SNoNestedMasterSource, this);
  if (Value && Value->DataSet() == this) DatabaseError(SCircularDataLink, this);
  TDataSet* former = Value ? Value->NestedDataSet_ : nullptr;
  if (former == this) former = nullptr;
  if (former) former->CheckInactive();
  if (DataSetField_) {
    if (DataSetField_->NestedDataSet_ == this) DataSetField_->NestedDataSet_ = nullptr;
    RemoveFreeNotification(DataSetField_);
  }
  DataSetField_ = Value;
  if (Value) {
    if (former) {
      former->RemoveFreeNotification(Value);
      former->DataSetField_ = nullptr;
    }
    Value->NestedDataSet_ = this;
    Value->FreeNotification(this);
  }
}

bool TDataSet::IsLinkedTo(TDataSource* ADataSource) const {
  while (ADataSource) {
    TDataSet* ds = ADataSource->DataSet();
    if (!ds) break;
    if (ds == this) return true;
    if (ds->DataSetField() && ds->DataSetField()->DataSet() == this) return true;
    ADataSource = ds->GetDataSource();
  }
  return false;
}
