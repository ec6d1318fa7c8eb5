// The field classes of plain values: strings, numbers, Booleans, dates and
// times, time stamps, variants and byte strings.
#pragma once

#include <string>

#include "platform/db/Field.h"
#include "platform/rtl/FMTBcd.h"
#include "platform/rtl/SqlTimSt.h"

// ---------------------------------------------------------------------------
// Strings. Size counts characters; longer values are cut at Size.

class TStringField : public TField {
  VXN_DECLARE_CLASS(TStringField)

 public:
  explicit TStringField(TComponent* AOwner);
  bool FixedChar() const { return FixedChar_; }
  void SetFixedChar(bool Value);
  bool Transliterate = true;
  void SetFieldType(TFieldType Value) override;

 protected:
  void CheckTypeSize(Integer Value) const override;
  Integer GetDefaultWidth() const override { return Size(); }
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  ::Currency GetAsCurrency() const override;
  TDateTime GetAsDateTime() const override;
  bool GetAsBoolean() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void SetAsIntegerValue(Integer Value) override;
  void SetAsFloatValue(double Value) override;
  void SetAsCurrencyValue(::Currency Value) override;
  void SetAsDateTimeValue(TDateTime Value) override;
  void SetAsBooleanValue(bool Value) override;
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  bool FixedChar_ = false;
};

class TWideStringField : public TStringField {
  VXN_DECLARE_CLASS(TWideStringField)

 public:
  explicit TWideStringField(TComponent* AOwner);
  std::u16string AsWideString() const;
  void SetAsWideString(const std::u16string& Value);
  void SetFieldType(TFieldType Value) override { (void)Value; }

 protected:
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
};

// A GUID in its 38-character text form.
class TGuidField : public TStringField {
  VXN_DECLARE_CLASS(TGuidField)

 public:
  explicit TGuidField(TComponent* AOwner);
  void SetFieldType(TFieldType Value) override { (void)Value; }

 protected:
  void CheckTypeSize(Integer Value) const override;
};

// ---------------------------------------------------------------------------
// Numbers. DisplayFormat and EditFormat are FormatFloat pictures.

class TNumericField : public TField {
  VXN_DECLARE_CLASS(TNumericField)

 public:
  explicit TNumericField(TComponent* AOwner);
  const std::string& DisplayFormat() const { return DisplayFormat_; }
  void SetDisplayFormat(const std::string& Value);
  const std::string& EditFormat() const { return EditFormat_; }
  void SetEditFormat(const std::string& Value);

 protected:
  TAlignment DefaultAlignment() const override { return taRightJustify; }
  // The picture for the text asked for; empty for the plain text.
  const std::string& PictureFor(bool DisplayText) const {
    return DisplayText || EditFormat_.empty() ? DisplayFormat_ : EditFormat_;
  }

 private:
  std::string DisplayFormat_;
  std::string EditFormat_;
};

// 32-bit integers; MinValue and MaxValue (both 0: none) narrow the type's
// own range.
class TIntegerField : public TNumericField {
  VXN_DECLARE_CLASS(TIntegerField)

 public:
  explicit TIntegerField(TComponent* AOwner);
  Integer MinValue() const { return MinValue_; }
  void SetMinValue(Integer Value);
  Integer MaxValue() const { return MaxValue_; }
  void SetMaxValue(Integer Value);
  bool IsValidChar(char32_t InputChar) const override;

 protected:
  // The range of the type (SmallInt, Word, ...).
  void SetRange(Int64 Min, Int64 Max) {
    MinRange_ = Min;
    MaxRange_ = Max;
  }
  Integer GetDefaultWidth() const override { return 11; }
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  ::Currency GetAsCurrency() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void SetAsIntegerValue(Integer Value) override;
  void SetAsFloatValue(double Value) override;
  void SetAsCurrencyValue(::Currency Value) override;
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  void CheckRange(Int64 Value) const;
  Integer MinValue_ = 0;
  Integer MaxValue_ = 0;
  Int64 MinRange_ = INT32_MIN;
  Int64 MaxRange_ = INT32_MAX;
};

class TSmallintField : public TIntegerField {
  VXN_DECLARE_CLASS(TSmallintField)

 public:
  explicit TSmallintField(TComponent* AOwner);

 protected:
  Integer GetDefaultWidth() const override { return 6; }
};

class TWordField : public TIntegerField {
  VXN_DECLARE_CLASS(TWordField)

 public:
  explicit TWordField(TComponent* AOwner);

 protected:
  Integer GetDefaultWidth() const override { return 5; }
};

// Numbered by the data set when a new record is posted without a value.
class TAutoIncField : public TIntegerField {
  VXN_DECLARE_CLASS(TAutoIncField)

 public:
  explicit TAutoIncField(TComponent* AOwner);
};

class TLargeintField : public TNumericField {
  VXN_DECLARE_CLASS(TLargeintField)

 public:
  explicit TLargeintField(TComponent* AOwner);
  Int64 AsLargeInt() const;
  void SetAsLargeInt(Int64 Value);
  Int64 MinValue() const { return MinValue_; }
  void SetMinValue(Int64 Value) { MinValue_ = Value; }
  Int64 MaxValue() const { return MaxValue_; }
  void SetMaxValue(Int64 Value) { MaxValue_ = Value; }
  bool IsValidChar(char32_t InputChar) const override;

 protected:
  Integer GetDefaultWidth() const override { return 15; }
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void SetAsIntegerValue(Integer Value) override { SetAsLargeInt(Value); }
  void SetAsFloatValue(double Value) override;
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  Int64 MinValue_ = 0;
  Int64 MaxValue_ = 0;
};

// Doubles. Precision (2..15) is the number of significant digits of the
// plain text; currency shows the value as money when no picture is set.
class TFloatField : public TNumericField {
  VXN_DECLARE_CLASS(TFloatField)

 public:
  explicit TFloatField(TComponent* AOwner);
  bool GetCurrency() const { return Currency_; }
  void SetCurrency(bool Value);
  double MinValue() const { return MinValue_; }
  void SetMinValue(double Value) { MinValue_ = Value; }
  double MaxValue() const { return MaxValue_; }
  void SetMaxValue(double Value) { MaxValue_ = Value; }
  Integer Precision() const { return Precision_; }
  void SetPrecision(Integer Value);
  bool IsValidChar(char32_t InputChar) const override;

 protected:
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  ::Currency GetAsCurrency() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void SetAsIntegerValue(Integer Value) override { SetAsFloatValue(Value); }
  void SetAsFloatValue(double Value) override;
  void SetAsCurrencyValue(::Currency Value) override { SetAsFloatValue(Value.ToDouble()); }
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  bool Currency_ = false;
  double MinValue_ = 0;
  double MaxValue_ = 0;
  Integer Precision_ = 15;
};

class TCurrencyField : public TFloatField {
  VXN_DECLARE_CLASS(TCurrencyField)

 public:
  explicit TCurrencyField(TComponent* AOwner);
};

// Fixed-point values with four decimals (Currency).
class TBCDField : public TNumericField {
  VXN_DECLARE_CLASS(TBCDField)

 public:
  explicit TBCDField(TComponent* AOwner);
  bool GetCurrency() const { return Currency_; }
  void SetCurrency(bool Value);
  ::Currency MinValue() const { return MinValue_; }
  void SetMinValue(::Currency Value) { MinValue_ = Value; }
  ::Currency MaxValue() const { return MaxValue_; }
  void SetMaxValue(::Currency Value) { MaxValue_ = Value; }
  Integer Precision() const { return Precision_; }
  void SetPrecision(Integer Value);
  bool IsValidChar(char32_t InputChar) const override;

 protected:
  void CheckTypeSize(Integer Value) const override;
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  ::Currency GetAsCurrency() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void SetAsIntegerValue(Integer Value) override;
  void SetAsFloatValue(double Value) override;
  void SetAsCurrencyValue(::Currency Value) override;
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  bool Currency_ = false;
  ::Currency MinValue_;
  ::Currency MaxValue_;
  Integer Precision_ = 0;
};

// Exact decimals of up to 64 digits (TBcd). MinValue and MaxValue are texts.
class TFMTBCDField : public TNumericField {
  VXN_DECLARE_CLASS(TFMTBCDField)

 public:
  explicit TFMTBCDField(TComponent* AOwner);
  TBcd AsBCD() const;
  void SetAsBCD(const TBcd& Value);
  bool GetCurrency() const { return Currency_; }
  void SetCurrency(bool Value);
  const std::string& MinValue() const { return MinValue_; }
  void SetMinValue(const std::string& Value) { MinValue_ = Value; }
  const std::string& MaxValue() const { return MaxValue_; }
  void SetMaxValue(const std::string& Value) { MaxValue_ = Value; }
  Integer Precision() const { return Precision_; }
  void SetPrecision(Integer Value);
  bool IsValidChar(char32_t InputChar) const override;

 protected:
  void CheckTypeSize(Integer Value) const override;
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  ::Currency GetAsCurrency() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void SetAsIntegerValue(Integer Value) override;
  void SetAsFloatValue(double Value) override;
  void SetAsCurrencyValue(::Currency Value) override;
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  bool Currency_ = false;
  std::string MinValue_;
  std::string MaxValue_;
  Integer Precision_ = 15;
};

// ---------------------------------------------------------------------------

// DisplayValues "yes;no" names the two texts (default "True;False").
class TBooleanField : public TField {
  VXN_DECLARE_CLASS(TBooleanField)

 public:
  explicit TBooleanField(TComponent* AOwner);
  const std::string& DisplayValues() const { return DisplayValues_; }
  void SetDisplayValues(const std::string& Value);

 protected:
  Integer GetDefaultWidth() const override;
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  bool GetAsBoolean() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void SetAsBooleanValue(bool Value) override;

 private:
  std::string DisplayValues_;
  std::string TrueText_ = STextTrueValue();
  std::string FalseText_ = STextFalseValue();
  static std::string STextTrueValue();
  static std::string STextFalseValue();
};

// Dates and times; DisplayFormat is a FormatDateTime picture.
class TDateTimeField : public TField {
  VXN_DECLARE_CLASS(TDateTimeField)

 public:
  explicit TDateTimeField(TComponent* AOwner);
  const std::string& DisplayFormat() const { return DisplayFormat_; }
  void SetDisplayFormat(const std::string& Value);

 protected:
  Integer GetDefaultWidth() const override { return 18; }
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  double GetAsFloat() const override;
  TDateTime GetAsDateTime() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void SetAsFloatValue(double Value) override { SetAsDateTimeValue(Value); }
  void SetAsDateTimeValue(TDateTime Value) override;
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  std::string DisplayFormat_;
};

class TDateField : public TDateTimeField {
  VXN_DECLARE_CLASS(TDateField)

 public:
  explicit TDateField(TComponent* AOwner);

 protected:
  Integer GetDefaultWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField {
  VXN_DECLARE_CLASS(TTimeField)

 public:
  explicit TTimeField(TComponent* AOwner);

 protected:
  Integer GetDefaultWidth() const override { return 10; }
};

class TSQLTimeStampField : public TField {
  VXN_DECLARE_CLASS(TSQLTimeStampField)

 public:
  explicit TSQLTimeStampField(TComponent* AOwner);
  TSQLTimeStamp AsSQLTimeStamp() const;
  void SetAsSQLTimeStamp(const TSQLTimeStamp& Value);
  const std::string& DisplayFormat() const { return DisplayFormat_; }
  void SetDisplayFormat(const std::string& Value);

 protected:
  Integer GetDefaultWidth() const override { return 18; }
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  double GetAsFloat() const override;
  TDateTime GetAsDateTime() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void SetAsDateTimeValue(TDateTime Value) override;
  void GetText(std::string& Text, bool DisplayText) const override;

 private:
  std::string DisplayFormat_;
};

// Any Variant value.
class TVariantField : public TField {
  VXN_DECLARE_CLASS(TVariantField)

 public:
  explicit TVariantField(TComponent* AOwner);

 protected:
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  ::Currency GetAsCurrency() const override;
  TDateTime GetAsDateTime() const override;
  bool GetAsBoolean() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override { SetData(Variant(Value)); }
  void SetAsIntegerValue(Integer Value) override { SetData(Variant(Value)); }
  void SetAsFloatValue(double Value) override { SetData(Variant(Value)); }
  void SetAsCurrencyValue(::Currency Value) override { SetData(Variant(Value)); }
  void SetAsDateTimeValue(TDateTime Value) override { SetData(VarFromDateTime(Value)); }
  void SetAsBooleanValue(bool Value) override { SetData(Variant(Value)); }
};

// Byte strings of a fixed (TBytesField) or varying (TVarBytesField) length
// up to Size; the Variant value is an array of bytes.
class TBinaryField : public TField {
  VXN_DECLARE_CLASS(TBinaryField)

 public:
  explicit TBinaryField(TComponent* AOwner);

 protected:
  void CheckTypeSize(Integer Value) const override;
  Variant GetAsVariant() const override;
  std::string GetAsString() const override;
  void SetVarValue(const Variant& Value) override;
  void SetAsStringValue(const std::string& Value) override;
  void GetText(std::string& Text, bool DisplayText) const override;
};

class TBytesField : public TBinaryField {
  VXN_DECLARE_CLASS(TBytesField)

 public:
  explicit TBytesField(TComponent* AOwner);
};

class TVarBytesField : public TBinaryField {
  VXN_DECLARE_CLASS(TVarBytesField)

 public:
  explicit TVarBytesField(TComponent* AOwner);
};
