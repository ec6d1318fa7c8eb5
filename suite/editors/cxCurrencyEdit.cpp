#include "suite/editors/cxCurrencyEdit.h"

#include "platform/win/SysParams.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/editors/cxEditRepository.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomCurrencyEdit, TcxCustomTextEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCurrencyEdit, TcxCustomCurrencyEdit)

VXN_PUBLISH(TcxCurrencyEdit) {
  using C = TcxCurrencyEdit;
  P.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
  P.Property("BeepOnEnter", &C::BeepOnEnter, &C::SetBeepOnEnter).Default(true);
  P.Property("EditValue", &C::EditValue, &C::SetEditValue).Stored(&C::MustStoreEditValue);
  P.Redeclare("ParentColor").Default(false);
  P.Redeclare("TabStop").Default(true);
  P.Property("Properties", &C::GetProperties, &C::SetPropertiesObject);
  P.Property("Style", &C::GetStyle, &C::SetStyleObject);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  // Value is EditValue seen as a number: the edit value is what is stored.
  P.Property("Value", &C::Value, &C::SetValue).Stored(false);
  PublishEditorEvents(P, cxpeEditing | cxpeDock);
}

TcxCustomCurrencyEdit::TcxCustomCurrencyEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomCurrencyEdit(AOwner, AIsInplace, TextEditKind(TcxCustomCurrencyEditProperties::StaticClass())) {}

TcxCustomCurrencyEdit::TcxCustomCurrencyEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomTextEdit(AOwner, AIsInplace, AKind) {
  InitializeCurrencyEdit();
}

void TcxCustomCurrencyEdit::InitializeCurrencyEdit() {
  // The window text is the number as typed, never a caption set from outside.
  ControlStyle -= csSetCaption;
}

// --- value ---------------------------------------------------------------------------------------------

Double TcxCustomCurrencyEdit::Value() { return CurrencyEditValueOf(EditValue()); }

void TcxCustomCurrencyEdit::AssignValue(Double Value) {
  AssignEditValueAndClick(Variant(ClampCurrencyValue(ActiveCurrencyProperties(), Value)));
}

void TcxCustomCurrencyEdit::DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool) {
  AEditValue = CurrencyDisplayValueToEditValue(ActiveCurrencyProperties(), DisplayValue);
}

// --- typing and pasting --------------------------------------------------------------------------------

bool TcxCustomCurrencyEdit::IsAcceptableChar(char32_t Ch) {
  return IsCurrencyEditAcceptableChar(ActiveCurrencyProperties(), Ch, CurrentDisplayText(), SelStart(), SelLength(),
                                      this);
}

void TcxCustomCurrencyEdit::EditKeyPress(char32_t& Key) {
  // OnKeyPress has seen the key as typed; from here on ',' and '.' stand for
  // the decimal separator (unless they group thousands here).
  Key = CurrencyEditTypedChar(ActiveCurrencyProperties(), Key);
  if (Key > 31 && !IsAcceptableChar(Key)) {
    Key = 0;
    win::MessageBeep(0);
    return;
  }
  TcxCustomTextEdit::EditKeyPress(Key);
}

void TcxCustomCurrencyEdit::PasteFromClipboard() {
  if (CanModifyValue()) TcxCustomTextEdit::PasteFromClipboard();
}

void TcxCustomCurrencyEdit::PropertiesChanged(TObject* Sender) {
  // A changed format or NullString shows at once while the edit is left.
  if (!IsEditFocused() && InnerEdit() && DataBinding() && !IsEditDestroying()) DataBinding()->UpdateDisplayValue();
  TcxCustomTextEdit::PropertiesChanged(Sender);
}

// --- the published editor -------------------------------------------------------------------------------

TcxCurrencyEdit::TcxCurrencyEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomCurrencyEdit(AOwner, AIsInplace, TextEditKind(TcxCurrencyEditProperties::StaticClass())) {}

void RegisterCurrencyEditClasses() {
  RegisterClasses({TcxCustomCurrencyEdit::StaticClass(), TcxCurrencyEdit::StaticClass()});
}
