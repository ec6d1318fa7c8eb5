// The currency edit: a text editor for a Double (or Null). It filters what is
// typed so the text stays a number with at most DecimalPlaces decimals, reads
// a typed ',' or '.' as the decimal separator, shows the value through its
// display format when it has not the focus, and offers the value as Value,
// held inside the range when written.
#pragma once

#include "suite/editors/cxCurrencyEditProperties.h"
#include "suite/editors/cxTextEdit.h"

class TcxCustomCurrencyEdit : public TcxCustomTextEdit {
  VXN_DECLARE_CLASS(TcxCustomCurrencyEdit)

 public:
  explicit TcxCustomCurrencyEdit(TComponent* AOwner, bool AIsInplace = false);

  TcxCustomCurrencyEditProperties* ActiveCurrencyProperties() {
    return static_cast<TcxCustomCurrencyEditProperties*>(ActiveProperties());
  }

  // 0 for Null and for a text that is no amount.
  Double Value();
  void SetValue(Double Value) { AssignValue(Value); }
  virtual void AssignValue(Double Value);

  bool IsAcceptableChar(char32_t Ch) override;
  void EditKeyPress(char32_t& Key) override;
  void PropertiesChanged(TObject* Sender) override;
  using TcxCustomTextEdit::PropertiesChanged;
  void PasteFromClipboard() override;
  void DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool AEditFocused) override;

 protected:
  TcxCustomCurrencyEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);

 private:
  void InitializeCurrencyEdit();
};

class TcxCurrencyEdit : public TcxCustomCurrencyEdit {
  VXN_DECLARE_CLASS(TcxCurrencyEdit)

 public:
  explicit TcxCurrencyEdit(TComponent* AOwner, bool AIsInplace = false);

  TcxCurrencyEditProperties* CurrencyProperties() const {
    return static_cast<TcxCurrencyEditProperties*>(Properties());
  }
  TcxCustomEditProperties* GetProperties() const { return Properties(); }
  void SetPropertiesObject(TcxCustomEditProperties* Value) { SetProperties(Value); }
  TcxCustomEditStyle* GetStyle() const { return static_cast<TcxCustomEditStyle*>(Style()); }
  void SetStyleObject(TcxCustomEditStyle* Value) { SetStyle(Value); }
};

void RegisterCurrencyEditClasses();
