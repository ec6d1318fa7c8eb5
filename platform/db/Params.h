// Parameters of queries: named values with a data type, kept in a
// collection that a query fills from the ":name" references of its text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/db/DataSetTypes.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/Variants.h"

class TField;
class TParams;

class TParam : public TCollectionItem {
  VXN_DECLARE_CLASS(TParam)

 public:
  using TOwnerClass = TCollection;
  explicit TParam(TCollection* Collection);

  const std::string& Name() const { return Name_; }
  void SetName(const std::string& Value) { Name_ = Value; }
  std::string DisplayName() override { return Name_.empty() ? TCollectionItem::DisplayName() : Name_; }
  TFieldType DataType() const { return DataType_; }
  void SetDataType(TFieldType Value);
  TParamType ParamType() const { return ParamType_; }
  void SetParamType(TParamType Value) { ParamType_ = Value; }
  Integer Size = 0;
  Integer Precision = 0;
  Integer NumericScale = 0;
  // Whether a value was given (setting one binds the parameter).
  bool Bound = false;

  // Setting a value of a parameter without a data type gives it the type
  // of the value.
  Variant Value() const { return Value_; }
  void SetValue(const Variant& V);
  std::string AsString() const { return IsNull() ? std::string() : VarToStr(Value_); }
  void SetAsString(const std::string& V) { SetTypedValue(ftString, Variant(V)); }
  Integer AsInteger() const { return IsNull() ? 0 : Value_.AsInteger(); }
  void SetAsInteger(Integer V) { SetTypedValue(ftInteger, Variant(V)); }
  double AsFloat() const { return IsNull() ? 0.0 : Value_.AsDouble(); }
  void SetAsFloat(double V) { SetTypedValue(ftFloat, Variant(V)); }
  ::Currency AsCurrency() const { return IsNull() ? ::Currency() : Value_.AsCurrency(); }
  void SetAsCurrency(::Currency V) { SetTypedValue(ftCurrency, Variant(V)); }
  TDateTime AsDateTime() const { return IsNull() ? 0.0 : Value_.AsDateTime(); }
  void SetAsDateTime(TDateTime V) { SetTypedValue(ftDateTime, VarFromDateTime(V)); }
  bool AsBoolean() const { return !IsNull() && Value_.AsBoolean(); }
  void SetAsBoolean(bool V) { SetTypedValue(ftBoolean, Variant(V)); }
  bool IsNull() const { return VarIsClear(Value_); }
  void Clear() { Value_ = Null(); }
  // The field's type and value.
  void AssignField(TField* Field);
  void AssignFieldValue(TField* Field, const Variant& V);
  void Assign(TPersistent* Source) override;

 private:
  void SetTypedValue(TFieldType Type, const Variant& V);

  std::string Name_;
  TFieldType DataType_ = ftUnknown;
  TParamType ParamType_ = ptUnknown;
  Variant Value_;
};

class TParams : public TOwnedCollection {
  VXN_DECLARE_CLASS(TParams)

 public:
  explicit TParams(TPersistent* AOwner = nullptr);

  TParam* Items(Integer Index) const { return static_cast<TParam*>(TCollection::Items(Index)); }
  TParam* operator[](Integer Index) const { return Items(Index); }
  TParam* AddParameter() { return static_cast<TParam*>(TCollection::Add()); }
  TParam* CreateParam(TFieldType FldType, const std::string& ParamName, TParamType ParamType);
  // Case-insensitive; nil when absent.
  TParam* FindParam(std::string_view Value) const;
  // "Parameter '%s' not found" when absent.
  TParam* ParamByName(std::string_view Value) const;
  // The parameters of a ";"-separated list, in list order.
  std::vector<TParam*> GetParamList(std::string_view ParamNames) const;
  // One value, or a Variant array for several names; writing takes the same.
  Variant ParamValues(std::string_view ParamNames) const;
  void SetParamValues(std::string_view ParamNames, const Variant& Value);
  // Copies the values of the parameters of Value that have a namesake here.
  void AssignValues(const TParams& Value);
  // Same names, types and values in the same order.
  bool IsEqual(const TParams& Value) const;
  // Collects the ":name" references of a text (quoted text and "::" are
  // skipped); with DoCreate the list becomes those parameters, keeping the
  // values of names it had. Answers the text with each reference as "?".
  std::string ParseSQL(std::string_view SQL, bool DoCreate);
};
