#include "suite/editors/cxCurrencyEditProperties.h"

#include <cmath>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "suite/editors/cxCurrencyEdit.h"
#include "suite/editors/cxFormatController.h"
#include "suite/editors/cxThousandSeparators.h"
#include "suite/foundation/cxControlRoutines.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomCurrencyEditProperties, TcxCustomTextEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCurrencyEditProperties, TcxCustomCurrencyEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryCurrencyItem, TcxEditRepositoryItem)

VXN_PUBLISH(TcxCurrencyEditProperties) {
  using T = TcxCurrencyEditProperties;
  using B = TcxCustomEditProperties;
  P.Property("Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property("AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property("AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
  P.Property("DecimalPlaces", &T::DecimalPlaces, &T::SetDecimalPlaces).Default(2);
  P.Property("DisplayFormat", &T::DisplayFormat, &T::SetDisplayFormat).Stored(&T::IsDisplayFormatStored);
  P.Property("EchoMode", &T::EchoMode, &T::SetEchoMode).Default(eemNormal);
  P.Property("EditFormat", &T::EditFormat, &T::SetEditFormat).Stored(&T::IsEditFormatStored);
  P.Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
  P.Property("ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property("ImeName", &T::ImeName, &T::SetImeName);
  P.Property("MaxValue", &T::MaxValue, &T::SetMaxValue).Stored(&T::IsMaxValueStored);
  P.Property("MinValue", &T::MinValue, &T::SetMinValue).Stored(&T::IsMinValueStored);
  P.Property("Nullable", &T::Nullable, &T::SetNullable).Default(true);
  P.Property("NullString", &T::NullString, &T::SetNullString);
  P.Property("PasswordChar", &T::PasswordChar, &T::SetPasswordChar).Default(0);
  P.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyStored);
  P.Property("UseDisplayFormatWhenEditing", &T::UseDisplayFormatWhenEditing, &T::SetUseDisplayFormatWhenEditing)
      .Default(false);
  P.Property("UseLeftAlignmentOnEditing", &T::UseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing)
      .Stored(&T::IsUseLeftAlignmentOnEditingStored);
  P.Property("UseThousandSeparator", &T::UseThousandSeparator, &T::SetUseThousandSeparator).Default(false);
  P.Property("ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(true);
  P.Property("OnChange", &B::OnChange, &B::OnChange);
  P.Property("OnEditValueChanged", &B::OnEditValueChanged, &B::OnEditValueChanged);
  P.Property("OnValidate", &B::OnValidate, &B::OnValidate);
}

TcxCustomCurrencyEditProperties::TcxCustomCurrencyEditProperties(TPersistent* AOwner)
    : TcxCustomTextEditProperties(AOwner) {
  SetValidateOnEnter(true);
}

void TcxCustomCurrencyEditProperties::SetNullable(bool Value) {
  if (Value == FNullable) return;
  FNullable = Value;
  NotifyChanged();
}

void TcxCustomCurrencyEditProperties::SetNullString(const std::string& Value) {
  if (Value == FNullString) return;
  FNullString = Value;
  NotifyChanged();
}

void TcxCustomCurrencyEditProperties::SetUseThousandSeparator(bool Value) {
  if (Value == FUseThousandSeparator) return;
  FUseThousandSeparator = Value;
  NotifyChanged();
}

void TcxCustomCurrencyEditProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomCurrencyEditProperties*>(Source);
  if (!source) {
    TcxCustomTextEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  TcxCustomTextEditProperties::Assign(Source);
  SetDecimalPlaces(source->DecimalPlaces());
  SetNullable(source->Nullable());
  SetNullString(source->NullString());
  SetUseThousandSeparator(source->UseThousandSeparator());
}

TClass TcxCustomCurrencyEditProperties::EditClass() { return TcxCurrencyEdit::StaticClass(); }

std::string TcxCustomCurrencyEditProperties::DefaultDisplayFormat() { return FormatController()->CurrencyFormat(); }

Integer TcxCustomCurrencyEditProperties::EditValueSource(bool Focused) {
  if (Focused) return 0;
  return UsesProviderDisplayFormat(false) ? 1 : 0;
}

namespace {

// Takes the thousand separators out of Text's integer part as Rule allows;
// false when one stands where the rule does not let it.
bool TakeOutThousandSeparators(std::string& Text, TcxCustomCurrencyEditProperties::TThousandSeparators Rule) {
  using Rule_ = TcxCustomCurrencyEditProperties::TThousandSeparators;
  const TFormatSettings& settings = DefaultFormatSettings();
  const char separator = settings.ThousandSeparator;
  if (Rule == Rule_::None || separator == '\0' || separator == settings.DecimalSeparator) return true;
  size_t end = Text.find_first_of(std::string{settings.DecimalSeparator, 'e', 'E'});
  if (end == std::string::npos) end = Text.size();
  if (Text.find(separator, end) != std::string::npos) return false;  // in the decimals or the exponent
  size_t begin = Text.find_first_not_of(" \t+-");
  if (begin == std::string::npos || begin > end) begin = end;
  if (Rule == Rule_::Grouped && Text.find(separator, begin) < end) {
    // The first group takes one to three digits, every later one three.
    size_t groupStart = begin;
    bool first = true;
    for (size_t i = begin; i <= end; ++i) {
      if (i < end && Text[i] != separator) continue;
      const size_t digits = i - groupStart;
      if (first ? (digits < 1 || digits > 3) : digits != 3) return false;
      first = false;
      groupStart = i + 1;
    }
  }
  std::string out = Text.substr(0, begin);
  for (size_t i = begin; i < end; ++i)
    if (Text[i] != separator) out += Text[i];
  Text = out + Text.substr(end);
  return true;
}

}  // namespace

bool TcxCustomCurrencyEditProperties::ParseNumber(const std::string& Text, Double& Value,
                                                  TThousandSeparators Separators) {
  Value = 0;
  std::string plain = Text;
  if (!TakeOutThousandSeparators(plain, Separators)) return false;
  Extended x = 0;
  if (!TryStrToFloat(plain, x)) return false;
  const Extended magnitude = std::fabs(x);
  if (x != 0 && !(magnitude >= 5.0e-324 && magnitude <= 1.7e308)) return false;
  Value = static_cast<Double>(x);
  return true;
}

bool TcxCustomCurrencyEditProperties::EditFormatInForce(IcxEditPropertiesEditor* Edit) {
  bool isCurrency = false;
  bool providerFormats = false;
  std::string format;
  EditFormatOf(isCurrency, providerFormats, format, Edit);
  return providerFormats || !format.empty();
}

void TcxCustomCurrencyEditProperties::ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) {
  if (VarIsClear(Value) || (VarIsStr(Value) && VarToStr(Value).empty())) {
    if (Focused)
      EditValue = Variant(std::string());
    else if (FNullable)
      EditValue = Variant(FNullString);
    else
      TcxCustomTextEditProperties::ConvertToEditValue(Variant(0), EditValue, Focused);
    return;
  }
  try {
    TcxCustomTextEditProperties::ConvertToEditValue(Value, EditValue, Focused);
  } catch (const EConvertError&) {
    EditValue = Focused ? Variant(std::string()) : Value;
  } catch (const EVariantError&) {
    EditValue = Focused ? Variant(std::string()) : Value;
  }
}

void TcxCustomCurrencyEditProperties::ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                                                           IcxEditPropertiesEditor* Edit) {
  Error = false;
  TcxCustomTextEditProperties::ValidateDisplayValue(Value, ErrorText, Error, Edit);
}

bool TcxCustomCurrencyEditProperties::IsDisplayValueValid(Variant& Value, bool Focused) {
  if (!Focused) return true;
  try {
    if (EditFormatInForce()) return true;
    Double number = 0;
    return ParseNumber(VarToStr(Value), number, ThousandSeparatorRule(false));
  } catch (const EConvertError&) {
    return false;
  }
}

// --- the currency edit's rules ------------------------------------------------------------

Variant CurrencyDisplayValueToEditValue(TcxCustomCurrencyEditProperties* Properties, const Variant& DisplayValue) {
  const std::string text = VarToStr(DisplayValue);
  Double number = 0;
  if (!text.empty() && text != Properties->NullString() &&
      TcxCustomCurrencyEditProperties::ParseNumber(text, number, Properties->ThousandSeparatorRule(false)))
    return Variant(number);
  return Properties->Nullable() ? Null() : Variant(0.0);
}

char32_t CurrencyEditTypedChar(TcxCustomCurrencyEditProperties* Properties, char32_t Ch) {
  const TFormatSettings& settings = DefaultFormatSettings();
  if (Properties->UseThousandSeparator() && Ch == static_cast<unsigned char>(settings.ThousandSeparator)) return Ch;
  if (Ch == U',' || Ch == U'.') return static_cast<unsigned char>(settings.DecimalSeparator);
  return Ch;
}

bool IsCurrencyEditAcceptableChar(TcxCustomCurrencyEditProperties* Properties, char32_t Ch, const std::string& Text,
                                  Integer SelStart, Integer SelLength, IcxEditPropertiesEditor* Edit) {
  const TFormatSettings& settings = DefaultFormatSettings();
  const bool thousand = Properties->UseThousandSeparator() && Ch == static_cast<unsigned char>(settings.ThousandSeparator);
  if (!IsNumericInputChar(Ch, 2) && !thousand) return false;
  if (Properties->EditFormatInForce(Edit)) return true;

  const size_t count = Utf8CharCount(Text);
  const size_t start = std::min<size_t>(SelStart < 0 ? 0 : static_cast<size_t>(SelStart), count);
  const size_t length = std::min<size_t>(SelLength < 0 ? 0 : static_cast<size_t>(SelLength), count - start);
  std::string t = Utf8Copy(Text, 0, start) + Utf8Copy(Text, start + length, count - start - length);
  if (Ch == U'-' && t.empty()) return true;
  t.insert(Utf8ByteOffset(t, start), Utf8Encode(Ch));

  const size_t decimal = t.find(settings.DecimalSeparator);
  if (decimal != std::string::npos) {
    const std::string upper = UpperCase(t);
    const size_t exponent = upper.find('E', decimal + 1);
    const size_t end = exponent == std::string::npos ? t.size() : exponent;
    Integer digits = 0;
    for (size_t i = decimal + 1; i < end; ++i)
      if (t[i] >= '0' && t[i] <= '9') ++digits;
    if (digits > Properties->DecimalPlaces()) return false;
  }
  Double number = 0;
  return TcxCustomCurrencyEditProperties::ParseNumber(t, number, Properties->ThousandSeparatorRule(true));
}

Double CurrencyEditValueOf(const Variant& EditValue) {
  if (VarIsClear(EditValue)) return 0;
  if (VarIsStr(EditValue) && StrToCurrDef(VarToStr(EditValue), Currency()).Value == 0) return 0;
  return EditValue.AsDouble();
}

Double ClampCurrencyValue(TcxCustomCurrencyEditProperties* Properties, Double Value) {
  if (Properties->HasRangeBound(0) && Value < Properties->MinValue()) return Properties->MinValue();
  if (Properties->HasRangeBound(1) && !(Value <= Properties->MaxValue())) return Properties->MaxValue();
  return Value;
}

void RegisterCurrencyEditPropertiesClasses() {
  RegisterClasses({TcxCurrencyEditProperties::StaticClass(), TcxEditRepositoryCurrencyItem::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxCurrencyEditProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryCurrencyItem));
}
