#include "platform/db/AggregateField.h"

#include "platform/db/DataSet.h"
#include "platform/db/DbConsts.h"
#include "platform/db/FilterExpression.h"
#include "platform/rtl/FormatSettings.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TAggregateField, TField)

VXN_PUBLISH(TAggregateField) {
  P.Property("Active", &TAggregateField::Active, &TAggregateField::SetActive).Default(false);
  P.Property("currency", &TAggregateField::GetCurrency, &TAggregateField::SetCurrency).Default(false);
  P.Property("DisplayFormat", &TAggregateField::DisplayFormat, &TAggregateField::SetDisplayFormat);
  P.Property("Expression", &TAggregateField::Expression, &TAggregateField::SetExpression);
  P.Property("Precision", &TAggregateField::Precision, &TAggregateField::SetPrecision).Default(15);
  P.Redeclare("Visible").Default(false);
}

TAggregateField::TAggregateField(TComponent* AOwner) : TField(AOwner) {
  SetFieldKindValue(fkAggregate);
  SetVisibleValue(false);
}

TAggregateField::~TAggregateField() = default;

void TAggregateField::SetExpression(const std::string& Value) {
  if (Value == Expression_) return;
  if (Active_ && DataSet() && DataSet()->Active()) DatabaseError(SAggActive, DataSet());
  Expression_ = Value;
  Unprepare();
}

void TAggregateField::SetActive(bool Value) {
  if (Active_ == Value) return;
  Active_ = Value;
  if (Value && DataSet() && DataSet()->Active()) {
    try {
      Prepare();
    } catch (...) {
      Active_ = false;
      throw;
    }
  } else {
    Unprepare();
  }
  PropertyChanged(false);
}

void TAggregateField::SetCurrency(bool Value) {
  Currency_ = Value;
  PropertyChanged(false);
}

void TAggregateField::SetDisplayFormat(const std::string& Value) {
  DisplayFormat_ = Value;
  PropertyChanged(false);
}

void TAggregateField::SetPrecision(Integer Value) {
  Precision_ = std::clamp<Integer>(Value, 2, 15);
  PropertyChanged(false);
}

TFieldType TAggregateField::ResultType() const { return Compiled_ ? Compiled_->ResultType() : ftUnknown; }

void TAggregateField::Prepare() {
  Unprepare();
  if (!Active_ || Expression_.empty() || !DataSet()) return;
  Compiled_ = std::make_unique<TFilterExpression>(*DataSet(), Expression_, TFilterOptions(),
                                                  TExprParserMode::Aggregate);
}

void TAggregateField::Unprepare() {
  Compiled_.reset();
  Valid_ = false;
  Cache_ = Variant();
}

Variant TAggregateField::CurrentValue() const {
  if (!Active_ || !Compiled_ || !DataSet() || !DataSet()->Active()) return Null();
  if (!Valid_) {
    const TDataSet* ds = DataSet();
    Cache_ = Compiled_->Aggregate([ds](const std::function<void(const std::vector<Variant>&)>& proc) {
      ds->ForEachRecordValues(proc);
    });
    Valid_ = true;
  }
  return Cache_;
}

std::string TAggregateField::GetAsString() const {
  std::string text;
  GetText(text, false);
  return text;
}

Integer TAggregateField::GetAsInteger() const {
  Variant v = CurrentValue();
  return VarIsClear(v) ? 0 : v.AsInteger();
}

double TAggregateField::GetAsFloat() const {
  Variant v = CurrentValue();
  return VarIsClear(v) ? 0.0 : v.AsDouble();
}

::Currency TAggregateField::GetAsCurrency() const {
  Variant v = CurrentValue();
  return VarIsClear(v) ? ::Currency() : v.AsCurrency();
}

TDateTime TAggregateField::GetAsDateTime() const {
  Variant v = CurrentValue();
  return VarIsClear(v) ? 0.0 : v.AsDateTime();
}

bool TAggregateField::GetAsBoolean() const {
  Variant v = CurrentValue();
  return !VarIsClear(v) && v.AsBoolean();
}

void TAggregateField::SetVarValue(const Variant&) { DatabaseErrorFmt(SFieldReadOnly, {DisplayName()}); }

void TAggregateField::GetText(std::string& Text, bool DisplayText) const {
  Variant v = CurrentValue();
  if (VarIsClear(v)) {
    Text.clear();
    return;
  }
  if (!VarIsNumeric(v) || v.VType() == varBoolean) {
    Text = VarToStr(v);
    return;
  }
  if (DisplayText && !DisplayFormat_.empty()) {
    Text = FormatFloat(DisplayFormat_, v.AsDouble());
  } else if (Currency_) {
    Text = FloatToStrF(v.AsDouble(), DisplayText ? ffCurrency : ffFixed, Precision_,
                       DefaultFormatSettings().CurrencyDecimals);
  } else if (VarIsOrdinal(v)) {
    Text = IntToStr(v.AsInt64());
  } else {
    Text = FloatToStrF(v.AsDouble(), ffGeneral, Precision_, 0);
  }
}
