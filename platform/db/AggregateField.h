// TAggregateField: a value computed over all records of its data set from
// an expression such as "SUM(Amount)" or "MAX(Price) - MIN(Price)" (see
// FilterExpression.h). It lives in the data set's AggFields, not in Fields.
#pragma once

#include <memory>
#include <string>

#include "platform/db/Field.h"

class TFilterExpression;

class TAggregateField : public TField {
  VXN_DECLARE_CLASS(TAggregateField)

 public:
  explicit TAggregateField(TComponent* AOwner);
  ~TAggregateField() override;

  const std::string& Expression() const { return Expression_; }
  // "Property cannot be modified while aggregate is active" while the field
  // is active on an open data set.
  void SetExpression(const std::string& Value);
  // Only an active aggregate has a value; activating it on an open data set
  // checks the expression.
  bool Active() const { return Active_; }
  void SetActive(bool Value);
  bool GetCurrency() const { return Currency_; }
  void SetCurrency(bool Value);
  const std::string& DisplayFormat() const { return DisplayFormat_; }
  void SetDisplayFormat(const std::string& Value);
  Integer Precision() const { return Precision_; }
  void SetPrecision(Integer Value);
  // The type of the value (ftUnknown before the expression was checked).
  TFieldType ResultType() const;
  bool CanModify() const override { return false; }

  // The value over the data set's records now; Null when inactive or closed.
  Variant CurrentValue() const;
  // Forgets the computed value (the records changed).
  void Invalidate() { Valid_ = false; }
  // Checks the expression against the open data set / drops it at close.
  void Prepare();
  void Unprepare();

 protected:
  Variant GetAsVariant() const override { return CurrentValue(); }
  std::string GetAsString() const override;
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  ::Currency GetAsCurrency() const override;
  TDateTime GetAsDateTime() const override;
  bool GetAsBoolean() const override;
  void SetVarValue(const Variant& Value) override;
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  std::string Expression_;
  bool Active_ = false;
  bool Currency_ = false;
  std::string DisplayFormat_;
  Integer Precision_ = 15;
  std::unique_ptr<TFilterExpression> Compiled_;
  mutable Variant Cache_;
  mutable bool Valid_ = false;
};
