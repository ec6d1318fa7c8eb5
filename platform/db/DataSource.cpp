#include "platform/db/DataSource.h"

#include <algorithm>

#include "platform/db/DataSet.h"
#include "platform/db/DbConsts.h"

// ---------------------------------------------------------------------------
// TDataSource

VXN_IMPLEMENT_CREATABLE_CLASS(TDataSource, TComponent)

VXN_PUBLISH(TDataSource) {
  P.Property("AutoEdit", &TDataSource::AutoEdit).Default(true);
  P.Property("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
  P.Property("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled).Default(true);
  P.Event("OnStateChange", &TDataSource::OnStateChange);
  P.Event("OnDataChange", &TDataSource::OnDataChange);
  P.Event("OnUpdateData", &TDataSource::OnUpdateData);
}

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  Destroying();
  OnStateChange = nullptr;
  SetDataSet(nullptr);
  while (!DataLinks_.empty()) DataLinks_.back()->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* ADataSet) {
  if (DataSet_ == ADataSet) return;
  if (ADataSet && IsLinkedTo(ADataSet)) DatabaseError(SCircularDataLink, this);
  if (DataSet_) {
    TDataSet* old = DataSet_;
    DataSet_ = nullptr;
    old->RemoveDataSource(this);
    RemoveFreeNotification(old);
  }
  DataSet_ = ADataSet;
  if (ADataSet) {
    ADataSet->FreeNotification(this);
    ADataSet->AddDataSource(this);
  }
  UpdateState();
}

void TDataSource::SetEnabled(bool Value) {
  Enabled_ = Value;
  UpdateState();
}

void TDataSource::Edit() {
  if (AutoEdit && State_ == dsBrowse && DataSet_) DataSet_->Edit();
}

bool TDataSource::IsLinkedTo(TDataSet* ADataSet) const {
  while (ADataSet) {
    TDataSource* source = ADataSet->GetDataSource();
    if (!source) break;
    if (source == this) return true;
    ADataSet = source->DataSet();
  }
  return false;
}

void TDataSource::UpdateState() {
  SetState(Enabled_ && DataSet_ ? DataSet_->State() : dsInactive);
}

void TDataSource::SetState(TDataSetState Value) {
  if (State_ == Value) return;
  TDataSetState prior = State_;
  State_ = Value;
  NotifyLinkTypes(deUpdateState, 0, false);
  NotifyLinkTypes(deUpdateState, 0, true);
  if (ComponentState().Contains(csDestroying)) return;
  if (OnStateChange) OnStateChange(this);
  if (prior == dsInactive && OnDataChange) OnDataChange(this, nullptr);
}

void TDataSource::DataEvent(TDataEvent Event, NativeInt Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (State_ == dsInactive) return;
  NotifyLinkTypes(Event, Info, false);
  NotifyLinkTypes(Event, Info, true);
  switch (Event) {
    case deFieldChange:
      if (OnDataChange) OnDataChange(this, reinterpret_cast<TField*>(Info));
      break;
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
      if (OnDataChange) OnDataChange(this, nullptr);
      break;
    case deUpdateRecord:
      if (OnUpdateData) OnUpdateData(this);
      break;
    default:
      break;
  }
}

void TDataSource::NotifyLinkTypes(TDataEvent Event, NativeInt Info, bool Visual) {
  // A link may leave (or another arrive) while it handles the notice.
  std::vector<TDataLink*> links = DataLinks_;
  for (TDataLink* link : links) {
    if (link->VisualControl() != Visual) continue;
    if (std::find(DataLinks_.begin(), DataLinks_.end(), link) == DataLinks_.end()) continue;
    link->DataEvent(Event, Info);
  }
}

void TDataSource::AddDataLink(TDataLink* Link) {
  DataLinks_.push_back(Link);
  Link->DataSource_ = this;
  if (DataSet_) DataSet_->UpdateBufferCount();
  Link->UpdateState();
}

void TDataSource::RemoveDataLink(TDataLink* Link) {
  Link->DataSource_ = nullptr;
  auto it = std::find(DataLinks_.begin(), DataLinks_.end(), Link);
  if (it != DataLinks_.end()) DataLinks_.erase(it);
  Link->UpdateState();
  if (DataSet_) DataSet_->UpdateBufferCount();
}

void TDataSource::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  DefineDesignPosition(Filer, DesignPosition);
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == DataSet_) SetDataSet(nullptr);
}

// ---------------------------------------------------------------------------
// TDataLink

VXN_IMPLEMENT_CLASS(TDataLink, TPersistent)

TDataLink::~TDataLink() {
  Active_ = false;
  Editing_ = false;
  DataSourceFixed_ = false;
  // No reactions from a link that is going away: remove it quietly.
  if (DataSource_) {
    TDataSource* source = DataSource_;
    DataSource_ = nullptr;
    auto& links = source->DataLinks_;
    auto it = std::find(links.begin(), links.end(), this);
    if (it != links.end()) links.erase(it);
    if (source->DataSet()) source->DataSet()->UpdateBufferCount();
  }
}

TDataSet* TDataLink::DataSet() const { return DataSource_ ? DataSource_->DataSet() : nullptr; }

void TDataLink::SetDataSource(TDataSource* ADataSource) {
  if (DataSource_ == ADataSource) return;
  if (DataSourceFixed_) DatabaseError(SDataSourceChange);
  if (DataSource_) DataSource_->RemoveDataLink(this);
  if (ADataSource) ADataSource->AddDataLink(this);
}

void TDataLink::SetReadOnly(bool Value) {
  if (ReadOnly_ == Value) return;
  ReadOnly_ = Value;
  UpdateState();
}

void TDataLink::SetBufferCount(Integer Value) {
  if (Value < 1) Value = 1;
  if (BufferCount_ == Value) return;
  BufferCount_ = Value;
  if (Active_) {
    DataSet()->UpdateBufferCount();
    UpdateRange();
  }
}

Integer TDataLink::RecordCount() const {
  if (!Active_) return 0;
  if (DataSource_->State() == dsSetKey) return 1;
  Integer rows = DataSet()->WindowRecordCount() - FirstRecord_;
  return std::clamp<Integer>(rows, 0, BufferCount_);
}

Integer TDataLink::ActiveRecord() const {
  if (!Active_ || DataSource_->State() == dsSetKey) return 0;
  return DataSet()->ActiveRecord() - FirstRecord_;
}

void TDataLink::SetActiveRecord(Integer Value) {
  if (!Active_ || DataSource_->State() == dsSetKey) return;
  DataSet()->SetActiveRecordIndex(Value + FirstRecord_);
}

bool TDataLink::Bof() const { return DataSet() ? DataSet()->Bof() : true; }
bool TDataLink::Eof() const { return DataSet() ? DataSet()->Eof() : true; }

bool TDataLink::Edit() {
  if (!ReadOnly_ && DataSource_) DataSource_->Edit();
  return Editing_;
}

void TDataLink::UpdateRecord() {
  Updating_ = true;
  try {
    UpdateData();
  } catch (...) {
    Updating_ = false;
    throw;
  }
  Updating_ = false;
}

void TDataLink::UpdateState() {
  TDataSetState state = DataSource_ ? DataSource_->State() : dsInactive;
  SetActive(state != dsInactive);
  SetEditing(IsEditState(state) && !ReadOnly_);
}

void TDataLink::SetActive(bool Value) {
  if (Active_ == Value) return;
  Active_ = Value;
  if (Value)
    UpdateRange();
  else
    FirstRecord_ = 0;
  ActiveChanged();
}

void TDataLink::SetEditing(bool Value) {
  if (Editing_ == Value) return;
  Editing_ = Value;
  EditingChanged();
}

void TDataLink::UpdateRange() {
  TDataSet* ds = DataSet();
  if (!ds) return;
  Integer active = ds->ActiveRecord();
  Integer lowest = std::max<Integer>(0, active - BufferCount_ + 1);
  Integer highest = std::min<Integer>(active, std::max<Integer>(0, ds->BufferCount() - BufferCount_));
  if (FirstRecord_ < lowest) FirstRecord_ = lowest;
  if (FirstRecord_ > highest) FirstRecord_ = highest;
  if (FirstRecord_ < 0) FirstRecord_ = 0;
}

void TDataLink::DataEvent(TDataEvent Event, NativeInt Info) {
  if (Event == deUpdateState) {
    UpdateState();
    return;
  }
  if (!Active_) return;
  switch (Event) {
    case deFieldChange:
    case deRecordChange:
      if (!Updating_) RecordChanged(reinterpret_cast<TField*>(Info));
      break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange: {
      Integer distance = 0;
      if (DataSource_->State() != dsSetKey) {
        // Info of a scroll: how far the rows moved in the data set's
        // buffers; the window follows its rows, then the active record.
        Integer before = FirstRecord_ + (Event == deDataSetScroll ? static_cast<Integer>(Info) : 0);
        FirstRecord_ = before;
        UpdateRange();
        distance = FirstRecord_ - before;
      }
      if (Event == deDataSetChange)
        DataSetChanged();
      else if (Event == deDataSetScroll)
        DataSetScrolled(distance);
      else
        LayoutChanged();
      break;
    }
    case deUpdateRecord:
      UpdateRecord();
      break;
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case deFocusControl:
      FocusControl(reinterpret_cast<TField**>(Info));
      break;
    default:
      break;
  }
}
