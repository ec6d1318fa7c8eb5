// The settings of the currency edit: a Double (or Null) with at most
// DecimalPlaces digits typed after the decimal separator, shown through the
// locale's currency format unless another display format is set, optional
// thousand separators while typing, and the text shown for Null. Besides the
// properties classes, this module holds the rules the currency edit applies
// with them (typed text to edit value, the key filter, Value read and
// written), as routines over the properties.
#pragma once

#include <string>

#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxTextEditProperties.h"

class TcxCustomCurrencyEditProperties : public TcxCustomTextEditProperties {
  VXN_DECLARE_CLASS(TcxCustomCurrencyEditProperties)

 public:
  explicit TcxCustomCurrencyEditProperties(TPersistent* AOwner);

  void Assign(TPersistent* Source) override;

  TClass EditClass() override;
  Byte DisplayFormatOptions() override { return dfoSupports | dfoNoCurrencyValue; }
  std::string DefaultDisplayFormat() override;
  // Typed digits are regrouped; a text written from the value is not.
  bool UsesThousandSeparators(bool WhileTyping) override { return FUseThousandSeparator && WhileTyping; }
  bool FormatsValues() override { return true; }
  Integer EditValueSource(bool Focused) override;
  void ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) override;
  void ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                            IcxEditPropertiesEditor* Edit) override;
  bool IsDisplayValueValid(Variant& Value, bool Focused) override;

  // Where a number text may hold the locale's thousand separators.
  enum class TThousandSeparators {
    None,      // nowhere: the settings do not use them
    Grouped,   // between groups of three integer digits only (pasted text, text checked on leaving)
    Anywhere,  // anywhere in the integer part (while typing, before the digits are regrouped)
  };
  // A number text of the locale with its separators as Separators allows;
  // 0 or a magnitude from 5.0e-324 to 1.7e308. A separator out of place
  // refuses the text: a pasted "145.5" where '.' groups thousands is no 1455.
  static bool ParseNumber(const std::string& Text, Double& Value, TThousandSeparators Separators);
  // The rule of these settings: none unless UseThousandSeparator.
  TThousandSeparators ThousandSeparatorRule(bool WhileTyping) const {
    if (!FUseThousandSeparator) return TThousandSeparators::None;
    return WhileTyping ? TThousandSeparators::Anywhere : TThousandSeparators::Grouped;
  }
  // An edit format applies while focused (assigned, or the provider's).
  bool EditFormatInForce(IcxEditPropertiesEditor* Edit = nullptr);

  Integer DecimalPlaces() const { return FDecimalPlaces; }
  void SetDecimalPlaces(Integer Value) { FDecimalPlaces = Value; }
  bool Nullable() const { return FNullable; }
  void SetNullable(bool Value);
  const std::string& NullString() const { return FNullString; }
  void SetNullString(const std::string& Value);
  bool UseThousandSeparator() const { return FUseThousandSeparator; }
  void SetUseThousandSeparator(bool Value);

 private:
  Integer FDecimalPlaces = 2;
  bool FNullable = true;
  std::string FNullString;
  bool FUseThousandSeparator = false;
};

class TcxCurrencyEditProperties : public TcxCustomCurrencyEditProperties {
  VXN_DECLARE_CLASS(TcxCurrencyEditProperties)

 public:
  using TcxCustomCurrencyEditProperties::TcxCustomCurrencyEditProperties;
};

class TcxEditRepositoryCurrencyItem : public TcxEditRepositoryItemOf<TcxCurrencyEditProperties> {
  VXN_DECLARE_CLASS(TcxEditRepositoryCurrencyItem)

 public:
  explicit TcxEditRepositoryCurrencyItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

// --- the currency edit's rules ------------------------------------------------------------

// The edit value of a display text: the number, else Null (Nullable) or 0.
// NullString counts as Null.
Variant CurrencyDisplayValueToEditValue(TcxCustomCurrencyEditProperties* Properties, const Variant& DisplayValue);

// A typed ',' or '.' stands for the decimal separator, unless it is the
// thousand separator and those are used.
char32_t CurrencyEditTypedChar(TcxCustomCurrencyEditProperties* Properties, char32_t Ch);

// Whether typing Ch over Text (the selection from SelStart, SelLength, in
// characters) keeps a number with at most DecimalPlaces decimals.
bool IsCurrencyEditAcceptableChar(TcxCustomCurrencyEditProperties* Properties, char32_t Ch, const std::string& Text,
                                  Integer SelStart, Integer SelLength, IcxEditPropertiesEditor* Edit = nullptr);

// Value as read from an edit value: Null, and text that is no amount, give 0.
Double CurrencyEditValueOf(const Variant& EditValue);
// Value as written: held at an applying bound.
Double ClampCurrencyValue(TcxCustomCurrencyEditProperties* Properties, Double Value);

void RegisterCurrencyEditPropertiesClasses();
