#include "platform/db/StdFields.h"

#include <cmath>

#include "platform/db/DbConsts.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Utf8.h"

namespace {

// The class library's largest string field.
constexpr Integer MaxStringSize = 8192;

std::string CutToChars(const std::string& s, Integer chars) {
  if (chars <= 0 || s.size() <= static_cast<size_t>(chars)) return s;
  if (Utf8CharCount(s) <= static_cast<size_t>(chars)) return s;
  return s.substr(0, Utf8ByteOffset(s, static_cast<size_t>(chars)));
}

bool IsDigitOrSign(char32_t c) { return (c >= U'0' && c <= U'9') || c == U'+' || c == U'-'; }

bool IsFloatChar(char32_t c) {
  return IsDigitOrSign(c) || c == U'E' || c == U'e' ||
         c == static_cast<unsigned char>(DefaultFormatSettings().DecimalSeparator);
}

}  // namespace

// ---------------------------------------------------------------------------
// TStringField

VXN_IMPLEMENT_CREATABLE_CLASS(TStringField, TField)

VXN_PUBLISH(TStringField) {
  P.Property("FixedChar", &TStringField::FixedChar, &TStringField::SetFixedChar).Default(false);
  P.Property("Size", &TStringField::Size, &TStringField::SetSize).Default(20);
  P.Property("Transliterate", &TStringField::Transliterate).Default(true);
}

TStringField::TStringField(TComponent* AOwner) : TField(AOwner) {
  SetDataType(ftString);
  SetSizeValue(20);
}

void TStringField::SetFixedChar(bool Value) {
  FixedChar_ = Value;
  SetDataType(Value ? ftFixedChar : ftString);
}

void TStringField::SetFieldType(TFieldType Value) {
  if (Value == ftString || Value == ftFixedChar) SetFixedChar(Value == ftFixedChar);
}

void TStringField::CheckTypeSize(Integer Value) const {
  if (Value < 0 || Value > MaxStringSize) DatabaseError(SInvalidFieldSize);
}

Variant TStringField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return VarIsStr(v) && v.VType() == varString ? v : Variant(VarToStr(v));
}

std::string TStringField::GetAsString() const {
  Variant v;
  return GetData(v) ? VarToStr(v) : std::string();
}

Integer TStringField::GetAsInteger() const { return StrToInt(Trim(GetAsString())); }
double TStringField::GetAsFloat() const { return StrToFloat(Trim(GetAsString())); }
::Currency TStringField::GetAsCurrency() const { return StrToCurr(Trim(GetAsString())); }
TDateTime TStringField::GetAsDateTime() const { return StrToDateTime(GetAsString()); }

bool TStringField::GetAsBoolean() const {
  std::string s = GetAsString();
  return !s.empty() && (s[0] == 'T' || s[0] == 't' || s[0] == 'Y' || s[0] == 'y');
}

void TStringField::SetVarValue(const Variant& Value) { SetAsStringValue(VarToStr(Value)); }

void TStringField::SetAsStringValue(const std::string& Value) { SetData(Variant(CutToChars(Value, Size()))); }

void TStringField::SetAsIntegerValue(Integer Value) { SetAsStringValue(IntToStr(Value)); }
void TStringField::SetAsFloatValue(double Value) { SetAsStringValue(FloatToStr(Value)); }
void TStringField::SetAsCurrencyValue(::Currency Value) { SetAsStringValue(CurrToStr(Value)); }
void TStringField::SetAsDateTimeValue(TDateTime Value) { SetAsStringValue(DateTimeToStr(Value)); }
void TStringField::SetAsBooleanValue(bool Value) { SetAsStringValue(Value ? "T" : "F"); }

void TStringField::GetText(std::string& Text, bool DisplayText) const {
  (void)DisplayText;
  Text = GetAsString();
}

// ---------------------------------------------------------------------------
// TWideStringField

VXN_IMPLEMENT_CREATABLE_CLASS(TWideStringField, TStringField)

TWideStringField::TWideStringField(TComponent* AOwner) : TStringField(AOwner) { SetDataType(ftWideString); }

std::u16string TWideStringField::AsWideString() const {
  Variant v;
  return GetData(v) ? VarToWideStr(v) : std::u16string();
}

void TWideStringField::SetAsWideString(const std::u16string& Value) {
  std::u16string v = Value;
  if (Size() > 0 && v.size() > static_cast<size_t>(Size())) {
    v.resize(static_cast<size_t>(Size()));
    // Never leave half of a surrogate pair behind.
    if (!v.empty() && v.back() >= 0xD800 && v.back() <= 0xDBFF) v.pop_back();
  }
  SetData(Variant(v));
}

Variant TWideStringField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return v.VType() == varOleStr ? v : Variant(VarToWideStr(v));
}

std::string TWideStringField::GetAsString() const { return Utf16ToUtf8(AsWideString()); }

void TWideStringField::SetVarValue(const Variant& Value) { SetAsWideString(VarToWideStr(Value)); }

void TWideStringField::SetAsStringValue(const std::string& Value) { SetAsWideString(Utf8ToUtf16(Value)); }

// ---------------------------------------------------------------------------
// TGuidField

VXN_IMPLEMENT_CREATABLE_CLASS(TGuidField, TStringField)

VXN_PUBLISH(TGuidField) { P.Redeclare("Size").Default(38); }

TGuidField::TGuidField(TComponent* AOwner) : TStringField(AOwner) {
  SetDataType(ftGuid);
  SetSizeValue(38);
}

void TGuidField::CheckTypeSize(Integer Value) const {
  if (Value != 38) DatabaseError(SInvalidFieldSize);
}

// ---------------------------------------------------------------------------
// TNumericField

VXN_IMPLEMENT_CLASS(TNumericField, TField)

VXN_PUBLISH(TNumericField) {
  P.Property("DisplayFormat", &TNumericField::DisplayFormat, &TNumericField::SetDisplayFormat);
  P.Property("EditFormat", &TNumericField::EditFormat, &TNumericField::SetEditFormat);
}

TNumericField::TNumericField(TComponent* AOwner) : TField(AOwner) { SetAlignment(taRightJustify); }

void TNumericField::SetDisplayFormat(const std::string& Value) {
  DisplayFormat_ = Value;
  PropertyChanged(false);
}

void TNumericField::SetEditFormat(const std::string& Value) {
  EditFormat_ = Value;
  PropertyChanged(false);
}

// ---------------------------------------------------------------------------
// TIntegerField and its kin

VXN_IMPLEMENT_CREATABLE_CLASS(TIntegerField, TNumericField)

VXN_PUBLISH(TIntegerField) {
  P.Property("MaxValue", &TIntegerField::MaxValue, &TIntegerField::SetMaxValue).Default(0);
  P.Property("MinValue", &TIntegerField::MinValue, &TIntegerField::SetMinValue).Default(0);
}

TIntegerField::TIntegerField(TComponent* AOwner) : TNumericField(AOwner) { SetDataType(ftInteger); }

void TIntegerField::SetMinValue(Integer Value) {
  MinValue_ = Value;
  PropertyChanged(false);
}

void TIntegerField::SetMaxValue(Integer Value) {
  MaxValue_ = Value;
  PropertyChanged(false);
}

bool TIntegerField::IsValidChar(char32_t InputChar) const { return IsDigitOrSign(InputChar); }

void TIntegerField::CheckRange(Int64 Value) const {
  Int64 low = MinRange_, high = MaxRange_;
  if (MinValue_ != 0 || MaxValue_ != 0) {
    low = std::max<Int64>(low, MinValue_);
    high = std::min<Int64>(high, MaxValue_);
  }
  if (Value < low || Value > high)
    DatabaseErrorFmt(SFieldRangeError,
                     {static_cast<double>(Value), DisplayName(), static_cast<double>(low), static_cast<double>(high)});
}

Variant TIntegerField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return v.VType() == varInteger ? v : Variant(v.AsInteger());
}

std::string TIntegerField::GetAsString() const {
  Variant v;
  return GetData(v) ? IntToStr(v.AsInteger()) : std::string();
}

Integer TIntegerField::GetAsInteger() const {
  Variant v;
  return GetData(v) ? v.AsInteger() : 0;
}

double TIntegerField::GetAsFloat() const { return GetAsInteger(); }

::Currency TIntegerField::GetAsCurrency() const {
  return ::Currency::FromScaled(static_cast<Int64>(GetAsInteger()) * ::Currency::Scale);
}

void TIntegerField::SetVarValue(const Variant& Value) {
  Int64 v = Value.AsInt64();
  CheckRange(v);
  SetData(Variant(static_cast<Integer>(v)));
}

void TIntegerField::SetAsStringValue(const std::string& Value) {
  if (Value.empty()) return Clear();
  Int64 v = 0;
  if (!TryStrToInt64(Value, v)) DatabaseErrorFmt(SInvalidIntegerValue, {Value, DisplayName()});
  CheckRange(v);
  SetData(Variant(static_cast<Integer>(v)));
}

void TIntegerField::SetAsIntegerValue(Integer Value) {
  CheckRange(Value);
  SetData(Variant(Value));
}

void TIntegerField::SetAsFloatValue(double Value) {
  if (!std::isfinite(Value) || Value < -9.2e18 || Value > 9.2e18)
    DatabaseErrorFmt(SFieldRangeError, {Value, DisplayName(), static_cast<double>(MinRange_),
                                        static_cast<double>(MaxRange_)});
  Int64 v = Round(Value);
  CheckRange(v);
  SetData(Variant(static_cast<Integer>(v)));
}

void TIntegerField::SetAsCurrencyValue(::Currency Value) { SetAsFloatValue(Value.ToDouble()); }

void TIntegerField::GetText(std::string& Text, bool DisplayText) const {
  Variant v;
  if (!GetData(v)) {
    Text.clear();
    return;
  }
  const std::string& picture = PictureFor(DisplayText);
  Text = picture.empty() ? IntToStr(v.AsInteger()) : FormatFloat(picture, v.AsInteger());
}

VXN_IMPLEMENT_CREATABLE_CLASS(TSmallintField, TIntegerField)

TSmallintField::TSmallintField(TComponent* AOwner) : TIntegerField(AOwner) {
  SetDataType(ftSmallint);
  SetRange(-32768, 32767);
}

VXN_IMPLEMENT_CREATABLE_CLASS(TWordField, TIntegerField)

TWordField::TWordField(TComponent* AOwner) : TIntegerField(AOwner) {
  SetDataType(ftWord);
  SetRange(0, 65535);
}

VXN_IMPLEMENT_CREATABLE_CLASS(TAutoIncField, TIntegerField)

TAutoIncField::TAutoIncField(TComponent* AOwner) : TIntegerField(AOwner) { SetDataType(ftAutoInc); }

// ---------------------------------------------------------------------------
// TLargeintField

VXN_IMPLEMENT_CREATABLE_CLASS(TLargeintField, TNumericField)

VXN_PUBLISH(TLargeintField) {
  P.Property("MaxValue", &TLargeintField::MaxValue, &TLargeintField::SetMaxValue);
  P.Property("MinValue", &TLargeintField::MinValue, &TLargeintField::SetMinValue);
}

TLargeintField::TLargeintField(TComponent* AOwner) : TNumericField(AOwner) { SetDataType(ftLargeint); }

bool TLargeintField::IsValidChar(char32_t InputChar) const { return IsDigitOrSign(InputChar); }

Int64 TLargeintField::AsLargeInt() const {
  Variant v;
  return GetData(v) ? v.AsInt64() : 0;
}

void TLargeintField::SetAsLargeInt(Int64 Value) {
  if ((MinValue_ != 0 || MaxValue_ != 0) && (Value < MinValue_ || Value > MaxValue_))
    DatabaseErrorFmt(SFieldRangeError, {static_cast<double>(Value), DisplayName(), static_cast<double>(MinValue_),
                                        static_cast<double>(MaxValue_)});
  SetData(Variant(static_cast<long long>(Value)));
}

Variant TLargeintField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return Variant(static_cast<long long>(v.AsInt64()));
}

std::string TLargeintField::GetAsString() const {
  Variant v;
  return GetData(v) ? IntToStr(v.AsInt64()) : std::string();
}

Integer TLargeintField::GetAsInteger() const {
  Int64 v = AsLargeInt();
  if (v < INT32_MIN || v > INT32_MAX) throw ERangeError(SRangeError);
  return static_cast<Integer>(v);
}

double TLargeintField::GetAsFloat() const { return static_cast<double>(AsLargeInt()); }

void TLargeintField::SetVarValue(const Variant& Value) { SetAsLargeInt(Value.AsInt64()); }

void TLargeintField::SetAsStringValue(const std::string& Value) {
  if (Value.empty()) return Clear();
  Int64 v = 0;
  if (!TryStrToInt64(Value, v)) DatabaseErrorFmt(SInvalidIntegerValue, {Value, DisplayName()});
  SetAsLargeInt(v);
}

void TLargeintField::SetAsFloatValue(double Value) {
  if (!std::isfinite(Value) || Value < -9.2e18 || Value > 9.2e18)
    DatabaseErrorFmt(SFieldRangeError, {Value, DisplayName(), -9.2e18, 9.2e18});
  SetAsLargeInt(Round(Value));
}

void TLargeintField::GetText(std::string& Text, bool DisplayText) const {
  Variant v;
  if (!GetData(v)) {
    Text.clear();
    return;
  }
  const std::string& picture = PictureFor(DisplayText);
  Text = picture.empty() ? IntToStr(v.AsInt64()) : FormatFloat(picture, static_cast<double>(v.AsInt64()));
}

// ---------------------------------------------------------------------------
// TFloatField

VXN_IMPLEMENT_CREATABLE_CLASS(TFloatField, TNumericField)

VXN_PUBLISH(TFloatField) {
  P.Property("currency", &TFloatField::GetCurrency, &TFloatField::SetCurrency).Default(false);
  P.Property("MaxValue", &TFloatField::MaxValue, &TFloatField::SetMaxValue);
  P.Property("MinValue", &TFloatField::MinValue, &TFloatField::SetMinValue);
  P.Property("Precision", &TFloatField::Precision, &TFloatField::SetPrecision).Default(15);
}

TFloatField::TFloatField(TComponent* AOwner) : TNumericField(AOwner) { SetDataType(ftFloat); }

void TFloatField::SetCurrency(bool Value) {
  if (Currency_ == Value) return;
  Currency_ = Value;
  PropertyChanged(false);
}

void TFloatField::SetPrecision(Integer Value) {
  Precision_ = std::clamp<Integer>(Value, 2, 15);
  PropertyChanged(false);
}

bool TFloatField::IsValidChar(char32_t InputChar) const { return IsFloatChar(InputChar); }

Variant TFloatField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return v.VType() == varDouble ? v : Variant(v.AsDouble());
}

std::string TFloatField::GetAsString() const {
  Variant v;
  return GetData(v) ? FloatToStr(v.AsDouble()) : std::string();
}

double TFloatField::GetAsFloat() const {
  Variant v;
  return GetData(v) ? v.AsDouble() : 0.0;
}

Integer TFloatField::GetAsInteger() const {
  double d = GetAsFloat();
  if (!std::isfinite(d) || d < INT32_MIN - 0.5 || d > INT32_MAX + 0.5) throw ERangeError(SRangeError);
  return static_cast<Integer>(Round(d));
}

::Currency TFloatField::GetAsCurrency() const { return FloatToCurr(GetAsFloat()); }

void TFloatField::SetVarValue(const Variant& Value) { SetAsFloatValue(Value.AsDouble()); }

void TFloatField::SetAsStringValue(const std::string& Value) {
  if (Value.empty()) return Clear();
  double d = 0;
  if (!TryStrToFloat(Value, d)) DatabaseErrorFmt(SInvalidFloatValue, {Value, DisplayName()});
  SetAsFloatValue(d);
}

void TFloatField::SetAsFloatValue(double Value) {
  if ((MinValue_ != 0 || MaxValue_ != 0) && (Value < MinValue_ || Value > MaxValue_))
    DatabaseErrorFmt(SFieldRangeError, {Value, DisplayName(), MinValue_, MaxValue_});
  SetData(Variant(Value));
}

void TFloatField::GetText(std::string& Text, bool DisplayText) const {
  Variant v;
  if (!GetData(v)) {
    Text.clear();
    return;
  }
  double d = v.AsDouble();
  const std::string& picture = PictureFor(DisplayText);
  if (!picture.empty()) {
    Text = FormatFloat(picture, d);
  } else if (Currency_) {
    Text = FloatToStrF(d, DisplayText ? ffCurrency : ffFixed, Precision_,
                       DefaultFormatSettings().CurrencyDecimals);
  } else {
    Text = FloatToStrF(d, ffGeneral, Precision_, 0);
  }
}

VXN_IMPLEMENT_CREATABLE_CLASS(TCurrencyField, TFloatField)

VXN_PUBLISH(TCurrencyField) { P.Redeclare("currency").Default(true); }

TCurrencyField::TCurrencyField(TComponent* AOwner) : TFloatField(AOwner) {
  SetDataType(ftCurrency);
  SetCurrency(true);
}

// ---------------------------------------------------------------------------
// TBCDField

VXN_IMPLEMENT_CREATABLE_CLASS(TBCDField, TNumericField)

VXN_PUBLISH(TBCDField) {
  P.Property("currency", &TBCDField::GetCurrency, &TBCDField::SetCurrency).Default(false);
  P.Property("MaxValue", &TBCDField::MaxValue, &TBCDField::SetMaxValue);
  P.Property("MinValue", &TBCDField::MinValue, &TBCDField::SetMinValue);
  P.Property("Precision", &TBCDField::Precision, &TBCDField::SetPrecision).Default(0);
  P.Property("Size", &TBCDField::Size, &TBCDField::SetSize).Default(4);
}

TBCDField::TBCDField(TComponent* AOwner) : TNumericField(AOwner) {
  SetDataType(ftBCD);
  SetSizeValue(4);
}

void TBCDField::CheckTypeSize(Integer Value) const {
  if (Value < 0 || Value > 32) DatabaseError(SInvalidFieldSize);
}

void TBCDField::SetCurrency(bool Value) {
  if (Currency_ == Value) return;
  Currency_ = Value;
  PropertyChanged(false);
}

void TBCDField::SetPrecision(Integer Value) {
  Precision_ = std::clamp<Integer>(Value, 0, 32);
  PropertyChanged(false);
}

bool TBCDField::IsValidChar(char32_t InputChar) const { return IsFloatChar(InputChar); }

Variant TBCDField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return v.VType() == varCurrency ? v : Variant(v.AsCurrency());
}

std::string TBCDField::GetAsString() const {
  Variant v;
  return GetData(v) ? CurrToStr(v.AsCurrency()) : std::string();
}

::Currency TBCDField::GetAsCurrency() const {
  Variant v;
  return GetData(v) ? v.AsCurrency() : ::Currency();
}

double TBCDField::GetAsFloat() const { return GetAsCurrency().ToDouble(); }

Integer TBCDField::GetAsInteger() const {
  Variant v;
  return GetData(v) ? v.AsInteger() : 0;
}

void TBCDField::SetAsCurrencyValue(::Currency Value) {
  if ((MinValue_.Value != 0 || MaxValue_.Value != 0) && (Value < MinValue_ || Value > MaxValue_))
    DatabaseErrorFmt(SBcdFieldRangeError,
                     {CurrToStr(Value), DisplayName(), CurrToStr(MinValue_), CurrToStr(MaxValue_)});
  SetData(Variant(Value));
}

void TBCDField::SetVarValue(const Variant& Value) { SetAsCurrencyValue(Value.AsCurrency()); }

void TBCDField::SetAsStringValue(const std::string& Value) {
  if (Value.empty()) return Clear();
  ::Currency c;
  if (!TryStrToCurr(Value, c)) DatabaseErrorFmt(SInvalidFloatValue, {Value, DisplayName()});
  SetAsCurrencyValue(c);
}

void TBCDField::SetAsIntegerValue(Integer Value) { SetAsCurrencyValue(Variant(Value).AsCurrency()); }

void TBCDField::SetAsFloatValue(double Value) {
  ::Currency c;
  if (!TryFloatToCurr(Value, c)) DatabaseErrorFmt(SFieldValueError, {DisplayName()});
  SetAsCurrencyValue(c);
}

void TBCDField::GetText(std::string& Text, bool DisplayText) const {
  Variant v;
  if (!GetData(v)) {
    Text.clear();
    return;
  }
  ::Currency c = v.AsCurrency();
  const std::string& picture = PictureFor(DisplayText);
  if (!picture.empty()) {
    Text = FormatCurr(picture, c);
  } else if (Currency_) {
    Text = CurrToStrF(c, DisplayText ? ffCurrency : ffFixed, DefaultFormatSettings().CurrencyDecimals);
  } else {
    Text = FloatToStrF(c.ToDouble(), ffGeneral, Precision_ > 0 ? Precision_ : 15, 0);
  }
}

// ---------------------------------------------------------------------------
// TFMTBCDField

VXN_IMPLEMENT_CREATABLE_CLASS(TFMTBCDField, TNumericField)

VXN_PUBLISH(TFMTBCDField) {
  P.Property("currency", &TFMTBCDField::GetCurrency, &TFMTBCDField::SetCurrency).Default(false);
  P.Property("MaxValue", &TFMTBCDField::MaxValue, &TFMTBCDField::SetMaxValue);
  P.Property("MinValue", &TFMTBCDField::MinValue, &TFMTBCDField::SetMinValue);
  P.Property("Precision", &TFMTBCDField::Precision, &TFMTBCDField::SetPrecision).Default(15);
  P.Property("Size", &TFMTBCDField::Size, &TFMTBCDField::SetSize).Default(8);
}

TFMTBCDField::TFMTBCDField(TComponent* AOwner) : TNumericField(AOwner) {
  SetDataType(ftFMTBcd);
  SetSizeValue(8);
}

void TFMTBCDField::CheckTypeSize(Integer Value) const {
  if (Value < 0 || Value > MaxFMTBcdFractionSize) DatabaseError(SInvalidFieldSize);
}

void TFMTBCDField::SetCurrency(bool Value) {
  if (Currency_ == Value) return;
  Currency_ = Value;
  PropertyChanged(false);
}

void TFMTBCDField::SetPrecision(Integer Value) {
  Precision_ = std::clamp<Integer>(Value, 0, MaxFMTBcdFractionSize);
  PropertyChanged(false);
}

bool TFMTBCDField::IsValidChar(char32_t InputChar) const { return IsFloatChar(InputChar); }

TBcd TFMTBCDField::AsBCD() const {
  Variant v;
  return GetData(v) ? VarToBcd(v) : TBcd();
}

void TFMTBCDField::SetAsBCD(const TBcd& Value) {
  auto outside = [&](const std::string& bound, bool below) {
    if (bound.empty()) return false;
    TBcd b;
    if (!TryStrToBcd(bound, b)) return false;
    Integer cmp = BcdCompare(Value, b);
    return below ? cmp < 0 : cmp > 0;
  };
  if (outside(MinValue_, true) || outside(MaxValue_, false))
    DatabaseErrorFmt(SBcdFieldRangeError, {BcdToStr(Value), DisplayName(), MinValue_, MaxValue_});
  SetData(VarFMTBcdCreate(Value));
}

Variant TFMTBCDField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return v.VType() == varFMTBcd ? v : VarFMTBcdCreate(VarToBcd(v));
}

std::string TFMTBCDField::GetAsString() const {
  Variant v;
  return GetData(v) ? BcdToStr(VarToBcd(v)) : std::string();
}

Integer TFMTBCDField::GetAsInteger() const {
  Variant v;
  return GetData(v) ? v.AsInteger() : 0;
}

double TFMTBCDField::GetAsFloat() const {
  Variant v;
  return GetData(v) ? BcdToDouble(VarToBcd(v)) : 0.0;
}

::Currency TFMTBCDField::GetAsCurrency() const {
  Variant v;
  return GetData(v) ? v.AsCurrency() : ::Currency();
}

void TFMTBCDField::SetVarValue(const Variant& Value) { SetAsBCD(VarToBcd(Value)); }

void TFMTBCDField::SetAsStringValue(const std::string& Value) {
  if (Value.empty()) return Clear();
  TBcd b;
  if (!TryStrToBcd(Value, b)) DatabaseErrorFmt(SInvalidFloatValue, {Value, DisplayName()});
  SetAsBCD(b);
}

void TFMTBCDField::SetAsIntegerValue(Integer Value) { SetAsBCD(IntegerToBcd(Value)); }
void TFMTBCDField::SetAsFloatValue(double Value) { SetAsBCD(DoubleToBcd(Value)); }
void TFMTBCDField::SetAsCurrencyValue(::Currency Value) { SetAsBCD(CurrToBcd(Value)); }

void TFMTBCDField::GetText(std::string& Text, bool DisplayText) const {
  Variant v;
  if (!GetData(v)) {
    Text.clear();
    return;
  }
  const std::string& picture = PictureFor(DisplayText);
  if (!picture.empty()) {
    Text = FormatFloat(picture, BcdToDouble(VarToBcd(v)));
  } else if (Currency_) {
    Text = CurrToStrF(v.AsCurrency(), DisplayText ? ffCurrency : ffFixed, DefaultFormatSettings().CurrencyDecimals);
  } else {
    Text = BcdToStr(VarToBcd(v));
  }
}

// ---------------------------------------------------------------------------
// TBooleanField

VXN_IMPLEMENT_CREATABLE_CLASS(TBooleanField, TField)

VXN_PUBLISH(TBooleanField) {
  P.Property("DisplayValues", &TBooleanField::DisplayValues, &TBooleanField::SetDisplayValues);
}

std::string TBooleanField::STextTrueValue() { return STextTrue; }
std::string TBooleanField::STextFalseValue() { return STextFalse; }

TBooleanField::TBooleanField(TComponent* AOwner) : TField(AOwner) { SetDataType(ftBoolean); }

void TBooleanField::SetDisplayValues(const std::string& Value) {
  DisplayValues_ = Value;
  if (Value.empty()) {
    TrueText_ = STextTrue;
    FalseText_ = STextFalse;
  } else {
    size_t semi = Value.find(';');
    TrueText_ = Value.substr(0, semi);
    FalseText_ = semi == std::string::npos ? std::string() : Value.substr(semi + 1);
  }
  PropertyChanged(true);
}

Integer TBooleanField::GetDefaultWidth() const {
  return static_cast<Integer>(std::max(Utf8CharCount(TrueText_), Utf8CharCount(FalseText_)));
}

Variant TBooleanField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return Variant(v.AsBoolean());
}

bool TBooleanField::GetAsBoolean() const {
  Variant v;
  return GetData(v) && v.AsBoolean();
}

std::string TBooleanField::GetAsString() const {
  Variant v;
  if (!GetData(v)) return std::string();
  return v.AsBoolean() ? TrueText_ : FalseText_;
}

void TBooleanField::SetAsBooleanValue(bool Value) { SetData(Variant(Value)); }

void TBooleanField::SetVarValue(const Variant& Value) {
  if (VarIsStr(Value))
    SetAsStringValue(Value.AsString());
  else
    SetAsBooleanValue(Value.AsBoolean());
}

void TBooleanField::SetAsStringValue(const std::string& Value) {
  if (Value.empty()) return Clear();
  size_t n = Value.size();
  auto starts = [&](const std::string& text) { return text.size() >= n && AnsiSameText(text.substr(0, n), Value); };
  if (starts(FalseText_))
    SetAsBooleanValue(false);
  else if (starts(TrueText_))
    SetAsBooleanValue(true);
  else
    DatabaseErrorFmt(SInvalidBoolValue, {Value, DisplayName()});
}

// ---------------------------------------------------------------------------
// TDateTimeField, TDateField, TTimeField

VXN_IMPLEMENT_CREATABLE_CLASS(TDateTimeField, TField)

VXN_PUBLISH(TDateTimeField) {
  P.Property("DisplayFormat", &TDateTimeField::DisplayFormat, &TDateTimeField::SetDisplayFormat);
}

TDateTimeField::TDateTimeField(TComponent* AOwner) : TField(AOwner) { SetDataType(ftDateTime); }

void TDateTimeField::SetDisplayFormat(const std::string& Value) {
  DisplayFormat_ = Value;
  PropertyChanged(false);
}

Variant TDateTimeField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return v.VType() == varDate ? v : VarFromDateTime(v.AsDateTime());
}

TDateTime TDateTimeField::GetAsDateTime() const {
  Variant v;
  return GetData(v) ? v.AsDateTime() : 0.0;
}

double TDateTimeField::GetAsFloat() const { return GetAsDateTime(); }

std::string TDateTimeField::GetAsString() const {
  std::string text;
  GetText(text, false);
  return text;
}

void TDateTimeField::SetAsDateTimeValue(TDateTime Value) {
  if (DataType() == ftDate)
    Value = Int(Value);
  else if (DataType() == ftTime)
    Value = std::fabs(Frac(Value));
  SetData(VarFromDateTime(Value));
}

void TDateTimeField::SetVarValue(const Variant& Value) { SetAsDateTimeValue(VarToDateTime(Value)); }

void TDateTimeField::SetAsStringValue(const std::string& Value) {
  if (Value.empty()) return Clear();
  switch (DataType()) {
    case ftDate:
      return SetAsDateTimeValue(StrToDate(Value));
    case ftTime:
      return SetAsDateTimeValue(StrToTime(Value));
    default:
      return SetAsDateTimeValue(StrToDateTime(Value));
  }
}

void TDateTimeField::GetText(std::string& Text, bool DisplayText) const {
  Variant v;
  if (!GetData(v)) {
    Text.clear();
    return;
  }
  std::string picture;
  if (DisplayText && !DisplayFormat_.empty())
    picture = DisplayFormat_;
  else if (DataType() == ftDate)
    picture = "ddddd";
  else if (DataType() == ftTime)
    picture = "tt";
  Text = FormatDateTime(picture, v.AsDateTime());
}

VXN_IMPLEMENT_CREATABLE_CLASS(TDateField, TDateTimeField)

TDateField::TDateField(TComponent* AOwner) : TDateTimeField(AOwner) { SetDataType(ftDate); }

VXN_IMPLEMENT_CREATABLE_CLASS(TTimeField, TDateTimeField)

TTimeField::TTimeField(TComponent* AOwner) : TDateTimeField(AOwner) { SetDataType(ftTime); }

// ---------------------------------------------------------------------------
// TSQLTimeStampField

VXN_IMPLEMENT_CREATABLE_CLASS(TSQLTimeStampField, TField)

VXN_PUBLISH(TSQLTimeStampField) {
  P.Property("DisplayFormat", &TSQLTimeStampField::DisplayFormat, &TSQLTimeStampField::SetDisplayFormat);
}

TSQLTimeStampField::TSQLTimeStampField(TComponent* AOwner) : TField(AOwner) { SetDataType(ftTimeStamp); }

void TSQLTimeStampField::SetDisplayFormat(const std::string& Value) {
  DisplayFormat_ = Value;
  PropertyChanged(false);
}

TSQLTimeStamp TSQLTimeStampField::AsSQLTimeStamp() const {
  Variant v;
  return GetData(v) ? VarToSQLTimeStamp(v) : TSQLTimeStamp();
}

void TSQLTimeStampField::SetAsSQLTimeStamp(const TSQLTimeStamp& Value) { SetData(VarSQLTimeStampCreate(Value)); }

Variant TSQLTimeStampField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  return v.VType() == varSQLTimeStamp ? v : VarSQLTimeStampCreate(VarToSQLTimeStamp(v));
}

TDateTime TSQLTimeStampField::GetAsDateTime() const {
  Variant v;
  return GetData(v) ? SQLTimeStampToDateTime(VarToSQLTimeStamp(v)) : 0.0;
}

double TSQLTimeStampField::GetAsFloat() const { return GetAsDateTime(); }

std::string TSQLTimeStampField::GetAsString() const {
  std::string text;
  GetText(text, false);
  return text;
}

void TSQLTimeStampField::SetVarValue(const Variant& Value) { SetAsSQLTimeStamp(VarToSQLTimeStamp(Value)); }

void TSQLTimeStampField::SetAsStringValue(const std::string& Value) {
  if (Value.empty()) return Clear();
  SetAsSQLTimeStamp(StrToSQLTimeStamp(Value));
}

void TSQLTimeStampField::SetAsDateTimeValue(TDateTime Value) {
  SetAsSQLTimeStamp(DateTimeToSQLTimeStamp(Value));
}

void TSQLTimeStampField::GetText(std::string& Text, bool DisplayText) const {
  Variant v;
  if (!GetData(v)) {
    Text.clear();
    return;
  }
  TDateTime d = SQLTimeStampToDateTime(VarToSQLTimeStamp(v));
  Text = FormatDateTime(DisplayText ? DisplayFormat_ : std::string(), d);
}

// ---------------------------------------------------------------------------
// TVariantField

VXN_IMPLEMENT_CREATABLE_CLASS(TVariantField, TField)

TVariantField::TVariantField(TComponent* AOwner) : TField(AOwner) { SetDataType(ftVariant); }

Variant TVariantField::GetAsVariant() const {
  Variant v;
  return GetData(v) ? v : Null();
}

std::string TVariantField::GetAsString() const {
  Variant v;
  return GetData(v) ? VarToStr(v) : std::string();
}

Integer TVariantField::GetAsInteger() const { return GetAsVariant().AsInteger(); }
double TVariantField::GetAsFloat() const { return GetAsVariant().AsDouble(); }
::Currency TVariantField::GetAsCurrency() const { return GetAsVariant().AsCurrency(); }
TDateTime TVariantField::GetAsDateTime() const { return GetAsVariant().AsDateTime(); }
bool TVariantField::GetAsBoolean() const { return GetAsVariant().AsBoolean(); }
void TVariantField::SetVarValue(const Variant& Value) { SetData(Value); }

// ---------------------------------------------------------------------------
// Byte strings

VXN_IMPLEMENT_CLASS(TBinaryField, TField)

VXN_PUBLISH(TBinaryField) { P.Property("Size", &TBinaryField::Size, &TBinaryField::SetSize).Default(16); }

TBinaryField::TBinaryField(TComponent* AOwner) : TField(AOwner) { SetSizeValue(16); }

void TBinaryField::CheckTypeSize(Integer Value) const {
  if (Value < 1 || Value > MaxStringSize) DatabaseError(SInvalidFieldSize);
}

Variant TBinaryField::GetAsVariant() const {
  Variant v;
  if (!GetData(v)) return Null();
  std::string bytes = VarToStr(v);
  Variant array = VarArrayCreate({0, static_cast<Integer>(bytes.size()) - 1}, varByte);
  for (size_t i = 0; i < bytes.size(); ++i)
    VarArrayPut(array, Variant(static_cast<unsigned char>(bytes[i])), {static_cast<Integer>(i)});
  return array;
}

std::string TBinaryField::GetAsString() const {
  Variant v;
  return GetData(v) ? VarToStr(v) : std::string();
}

void TBinaryField::SetVarValue(const Variant& Value) {
  if (!VarIsArray(Value)) return SetAsStringValue(VarToStr(Value));
  std::string bytes;
  for (Integer i = VarArrayLowBound(Value, 1); i <= VarArrayHighBound(Value, 1); ++i)
    bytes += static_cast<char>(VarArrayGet(Value, {i}).AsInteger() & 0xFF);
  SetAsStringValue(bytes);
}

void TBinaryField::SetAsStringValue(const std::string& Value) {
  std::string bytes = Value.substr(0, static_cast<size_t>(Size()));
  if (DataType() == ftBytes) bytes.resize(static_cast<size_t>(Size()), '\0');
  SetData(Variant(bytes));
}

void TBinaryField::GetText(std::string& Text, bool DisplayText) const {
  (void)DisplayText;
  Text = GetClassDesc();
}

VXN_IMPLEMENT_CREATABLE_CLASS(TBytesField, TBinaryField)

TBytesField::TBytesField(TComponent* AOwner) : TBinaryField(AOwner) { SetDataType(ftBytes); }

VXN_IMPLEMENT_CREATABLE_CLASS(TVarBytesField, TBinaryField)

TVarBytesField::TVarBytesField(TComponent* AOwner) : TBinaryField(AOwner) { SetDataType(ftVarBytes); }
