#include "platform/db/DataSetField.h"

#include "platform/db/DataSet.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TDataSetField, TField)

VXN_PUBLISH(TDataSetField) {
  P.Property("IncludeObjectField", &TDataSetField::IncludeObjectField).Default(false);
}

TDataSetField::TDataSetField(TComponent* AOwner) : TField(AOwner) { SetDataType(ftDataSet); }

TDataSetField::~TDataSetField() {
  if (NestedDataSet_) {
    TDataSet* nested = NestedDataSet_;
    NestedDataSet_ = nullptr;
    if (nested->DataSetField_ == this) {
      if (nested->Active() && !nested->ComponentState().Contains(csDestroying)) nested->Close();
      nested->DataSetField_ = nullptr;
    }
  }
}

TDataSet* TDataSetField::NestedDataSet() {
  if (!NestedDataSet_ && DataSet() && !ComponentState().Contains(csReading) &&
      !ComponentState().Contains(csDestroying))
    NestedDataSet_ = DataSet()->CreateNestedDataSet(this);
  return NestedDataSet_;
}

void TDataSetField::GetText(std::string& Text, bool DisplayText) const {
  (void)DisplayText;
  Text = GetClassDesc();
}
