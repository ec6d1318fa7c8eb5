#include "platform/db/MasterDataLink.h"

#include <algorithm>

#include "platform/db/DataSet.h"
#include "platform/db/Field.h"

VXN_IMPLEMENT_CLASS(TMasterDataLink, TDataLink)

void TMasterDataLink::SetFieldNames(const std::string& Value) {
  if (FieldNames_ == Value) return;
  FieldNames_ = Value;
  ActiveChanged();
}

std::vector<Variant> TMasterDataLink::Values() const {
  std::vector<Variant> values;
  values.reserve(Fields_.size());
  for (TField* f : Fields_) values.push_back(f->Value());
  return values;
}

void TMasterDataLink::ActiveChanged() {
  Fields_.clear();
  if (Active()) {
    try {
      DataSet()->GetFieldList(Fields_, FieldNames_);
    } catch (...) {
      Fields_.clear();
      throw;
    }
  }
  if (!DetailDataSet_ || !DetailDataSet_->Active() || DetailDataSet_->ComponentState().Contains(csDestroying))
    return;
  if (Active() && !Fields_.empty()) {
    if (OnMasterChange) OnMasterChange(this);
  } else if (OnMasterDisable) {
    OnMasterDisable(this);
  }
}

void TMasterDataLink::CheckBrowseMode() {
  if (DetailDataSet_ && DetailDataSet_->Active()) DetailDataSet_->CheckBrowseMode();
}

void TMasterDataLink::RecordChanged(TField* Field) {
  if (DataSource()->State() == dsSetKey || !DetailDataSet_ || !DetailDataSet_->Active() || Fields_.empty()) return;
  if (Field && std::find(Fields_.begin(), Fields_.end(), Field) == Fields_.end()) return;
  if (OnMasterChange) OnMasterChange(this);
}

void TMasterDataLink::DataEvent(TDataEvent Event, NativeInt Info) {
  TDataLink::DataEvent(Event, Info);
  if (Event == deDisabledStateChange && Info == 0 && !Fields_.empty()) {
    Fields_.clear();
    if (DetailDataSet_ && DetailDataSet_->Active() && OnMasterDisable) OnMasterDisable(this);
  }
}
