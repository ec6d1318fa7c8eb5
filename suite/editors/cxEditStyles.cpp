#include "suite/editors/cxEditStyles.h"

#include "platform/rtl/TypInfo.h"

VXN_IMPLEMENT_CLASS(TcxCustomEditStyle, TcxContainerStyle)
VXN_IMPLEMENT_CLASS(TcxEditStyle, TcxCustomEditStyle)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditStyleController, TcxStyleController)

VXN_PUBLISH(TcxEditStyle) {
  using S = TcxEditStyle;
  P.Property("BorderStyle", &S::EditBorderStyle, &S::SetEditBorderStyle).Stored(&S::IsBorderStyleStored);
  P.Property("ButtonStyle", &S::ButtonStyle, &S::SetButtonStyle).Stored(&S::IsButtonStyleStored);
  P.Property("ButtonTransparency", &S::ButtonTransparency, &S::SetButtonTransparency)
      .Stored(&S::IsButtonTransparencyStored);
  P.Property("PopupBorderStyle", &S::PopupBorderStyle, &S::SetPopupBorderStyle)
      .Stored(&S::IsPopupBorderStyleStored);
  P.Property("StyleController", &S::EditStyleController, &S::SetEditStyleController)
      .Stored(&S::IsStyleControllerStored);
}

VXN_PUBLISH(TcxEditStyleController) {
  using C = TcxEditStyleController;
  P.Property("Style", &C::Style, &C::SetStyle);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Event(
      "OnStyleChanged", [](C& c) { return c.OnStyleChanged; },
      [](C& c, TNotifyEvent Value) { c.OnStyleChanged = Value; });
}

namespace {

constexpr const char* kEditStyleValueNames[] = {"ButtonStyle", "ButtonTransparency", "PopupBorderStyle",
                                                "GradientButtons"};

struct DefaultEditControllerState {
  TcxEditStyleController* controller = nullptr;
  bool creating = false;
};

DefaultEditControllerState& DefaultEditController() {
  static DefaultEditControllerState state;
  return state;
}

}  // namespace

TcxEditStyleController* DefaultEditStyleController() {
  DefaultEditControllerState& s = DefaultEditController();
  if (!s.controller && !s.creating) {
    // Its own styles ask for it while it is made and get none.
    s.creating = true;
    s.controller = new TcxEditStyleController(nullptr);
    s.creating = false;
  }
  return s.controller;
}

// ---------------------------------------------------------------------------

TcxCustomEditStyle::TcxCustomEditStyle(TPersistent* AOwner, bool ADirectValues, TcxContainerStyle* AParentStyle,
                                       Integer AState)
    : TcxContainerStyle(AOwner, ADirectValues, AParentStyle, AState) {
  RelinkDefaultStyleController();
}

TcxStyleController* TcxCustomEditStyle::DefaultStyleController() {
  if (DirectValues()) return nullptr;
  if (!IsNormalStyle()) return NormalEditStyle()->DefaultStyleController();
  IcxContainerStyleOwner* owner = OwnerContainer();
  if (owner && owner->IsInplace()) return nullptr;
  return DefaultEditStyleController();
}

TcxEditStyleController* TcxCustomEditStyle::EditStyleController() {
  return dynamic_cast<TcxEditStyleController*>(StyleController());
}

void TcxCustomEditStyle::SetEditStyleController(TcxEditStyleController* Value) { SetStyleController(Value); }

bool TcxCustomEditStyle::StyleValueName(Integer Index, std::string& Name) {
  if (Index >= cxContainerStyleValueCount && Index < cxEditStyleValueCount) {
    Name = kEditStyleValueNames[Index - cxContainerStyleValueCount];
    return true;
  }
  return TcxContainerStyle::StyleValueName(Index, Name);
}

TcxCustomEditStyle* TcxCustomEditStyle::EditValueSource(Integer Index) {
  if (DirectValues()) return IsAssignedHere(Index) ? this : nullptr;
  if (IsAssignedHere(Index)) return this;
  // A plain container controller's styles hold none of these values.
  auto* controllerStyle = dynamic_cast<TcxCustomEditStyle*>(ControllerStyle());
  return controllerStyle ? controllerStyle->EditValueSource(Index) : nullptr;
}

template <typename V>
void TcxCustomEditStyle::WriteEditValue(Integer Index, V TcxCustomEditStyle::*Slot, const V& Value) {
  if (IsAssignedHere(Index) && this->*Slot == Value) return;
  this->*Slot = Value;
  SetValueAssigned(Index, true);
  NotifyStyleChanged();
}

TcxEditButtonStyle TcxCustomEditStyle::ButtonStyle() {
  TcxCustomEditStyle* s = EditValueSource(svButtonStyle);
  return s ? s->FButtonStyle : DefaultButtonStyle();
}

void TcxCustomEditStyle::SetButtonStyle(TcxEditButtonStyle Value) {
  WriteEditValue(svButtonStyle, &TcxCustomEditStyle::FButtonStyle, Value);
}

TcxEditButtonTransparency TcxCustomEditStyle::ButtonTransparency() {
  TcxCustomEditStyle* s = EditValueSource(svButtonTransparency);
  return s ? s->FButtonTransparency : DefaultButtonTransparency();
}

void TcxCustomEditStyle::SetButtonTransparency(TcxEditButtonTransparency Value) {
  if (!IsNormalStyle()) return NormalEditStyle()->SetButtonTransparency(Value);
  WriteEditValue(svButtonTransparency, &TcxCustomEditStyle::FButtonTransparency, Value);
}

bool TcxCustomEditStyle::GradientButtons() {
  TcxCustomEditStyle* s = EditValueSource(svGradientButtons);
  return s ? s->FGradientButtons : DefaultGradientButtons();
}

void TcxCustomEditStyle::SetGradientButtons(bool Value) {
  if (!IsNormalStyle()) return NormalEditStyle()->SetGradientButtons(Value);
  WriteEditValue(svGradientButtons, &TcxCustomEditStyle::FGradientButtons, Value);
}

TcxEditPopupBorderStyle TcxCustomEditStyle::PopupBorderStyle() {
  TcxCustomEditStyle* s = EditValueSource(svPopupBorderStyle);
  return s ? s->FPopupBorderStyle : DefaultPopupBorderStyle();
}

void TcxCustomEditStyle::SetPopupBorderStyle(TcxEditPopupBorderStyle Value) {
  if (!IsNormalStyle()) return NormalEditStyle()->SetPopupBorderStyle(Value);
  WriteEditValue(svPopupBorderStyle, &TcxCustomEditStyle::FPopupBorderStyle, Value);
}

TcxEditButtonStyle TcxCustomEditStyle::DefaultButtonStyle() {
  return IsNormalStyle() ? btsDefault : NormalEditStyle()->ButtonStyle();
}

TcxEditButtonTransparency TcxCustomEditStyle::DefaultButtonTransparency() {
  return IsNormalStyle() ? ebtNone : NormalEditStyle()->ButtonTransparency();
}

bool TcxCustomEditStyle::DefaultGradientButtons() {
  return IsNormalStyle() ? false : NormalEditStyle()->GradientButtons();
}

TcxEditPopupBorderStyle TcxCustomEditStyle::DefaultPopupBorderStyle() {
  return IsNormalStyle() ? epbsDefault : NormalEditStyle()->PopupBorderStyle();
}

bool TcxCustomEditStyle::MasterPopupOption() { return NormalEditStyle()->FMasterPopupOption; }

void TcxCustomEditStyle::AssignMasterPopupOption(bool Value) {
  TcxCustomEditStyle* normal = NormalEditStyle();
  if (normal->FMasterPopupOption == Value) return;
  normal->FMasterPopupOption = Value;
  normal->NotifyStyleChanged();
}

void TcxCustomEditStyle::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomEditStyle*>(Source);
  if (!source) {
    TcxContainerStyle::Assign(Source);
    return;
  }
  BeginUpdate();
  FButtonStyle = source->FButtonStyle;
  FButtonTransparency = source->FButtonTransparency;
  FGradientButtons = source->FGradientButtons;
  FPopupBorderStyle = source->FPopupBorderStyle;
  FMasterPopupOption = source->FMasterPopupOption;
  TcxContainerStyle::Assign(Source);
  NotifyStyleChanged();
  EndUpdate();
}

// ---------------------------------------------------------------------------

TcxEditStyleController::TcxEditStyleController(TComponent* AOwner)
    : TcxStyleController(AOwner, &CreateContainerStyle<TcxEditStyle>, &CreateContainerStyles<TcxContainerStyles>) {}

TcxEditStyleController::~TcxEditStyleController() {
  DefaultEditControllerState& s = DefaultEditController();
  if (s.controller != this) return;
  // The styles that followed it must not make a new one while it dies.
  s.controller = nullptr;
  s.creating = true;
}

void RegisterEditStylesClasses() { RegisterClasses({TcxEditStyleController::StaticClass()}); }
