// TDataSetField: a field whose value is a set of records, shown by a nested
// data set (NestedDataSet) that follows the parent's current record.
#pragma once

#include "platform/db/Field.h"

class TDataSetField : public TField {
  VXN_DECLARE_CLASS(TDataSetField)

 public:
  explicit TDataSetField(TComponent* AOwner);
  ~TDataSetField() override;

  // The data set of the nested records; one is made on first use when no
  // data set named this field as its DataSetField.
  TDataSet* NestedDataSet();
  bool IncludeObjectField = false;
  // The nested data set when one exists; never makes one.
  TDataSet* ExistingNestedDataSet() const { return NestedDataSet_; }

 protected:
  friend class TDataSet;
  Variant GetAsVariant() const override { return Null(); }
  std::string GetAsString() const override { return GetClassDesc(); }
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  TDataSet* NestedDataSet_ = nullptr;
};
