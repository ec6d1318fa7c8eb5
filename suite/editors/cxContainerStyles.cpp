#include "suite/editors/cxContainerStyles.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

VXN_IMPLEMENT_CLASS(TcxContainerStyle, TPersistent)
VXN_IMPLEMENT_CLASS(TcxContainerStyles, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxStyleController, TComponent)

VXN_PUBLISH(TcxContainerStyle) {
  using S = TcxContainerStyle;
  P.Property("AssignedValues", &S::AssignedValues, &S::SetAssignedValues).Stored(false);
  P.Property("BorderColor", &S::BorderColor, &S::SetBorderColor).Type(TypeInfoColor()).Stored(&S::IsBorderColorStored);
  P.Property("BorderStyle", &S::BorderStyle, &S::SetBorderStyle).Stored(&S::IsBorderStyleStored);
  P.Property("Color", &S::Color, &S::SetColor).Type(TypeInfoColor()).Stored(&S::IsColorStored);
  P.Property("Edges", &S::Edges, &S::SetEdges).Stored(&S::IsEdgesStored);
  P.Property("Font", &S::Font, &S::SetFont).Stored(&S::IsFontStored);
  P.Property("HotTrack", &S::HotTrack, &S::SetHotTrack).Stored(&S::IsHotTrackStored);
  P.Property("LookAndFeel", &S::LookAndFeel, &S::SetLookAndFeel).Stored(&S::IsLookAndFeelStored);
  P.Property("Shadow", &S::Shadow, &S::SetShadow).Stored(&S::IsShadowStored);
  P.Property("StyleController", &S::StyleController, &S::SetStyleController).Stored(&S::IsStyleControllerStored);
  P.Property("TextColor", &S::TextColor, &S::SetTextColor).Type(TypeInfoColor()).Stored(&S::IsTextColorStored);
  P.Property("TextStyle", &S::TextStyle, &S::SetTextStyle).Stored(&S::IsTextStyleStored);
  P.Property("TransparentBorder", &S::TransparentBorder, &S::SetTransparentBorder)
      .Stored(&S::IsTransparentBorderStored);
}

namespace {

constexpr const char* kStyleValueNames[cxContainerStyleValueCount] = {
    "BorderColor", "BorderStyle", "Color",     "Edges",     "Font",
    "HotTrack",    "Shadow",      "TextColor", "TextStyle", "TransparentBorder"};

// Values a style made with direct values starts with: Color, Font,
// TextColor and TextStyle.
constexpr TcxContainerStyleValues kDirectValuesAssigned = 0x194;

struct DefaultControllerState {
  TcxStyleController* controller = nullptr;
  bool creating = false;
};

DefaultControllerState& DefaultController() {
  static DefaultControllerState state;
  return state;
}

}  // namespace

TcxStyleController* DefaultContainerStyleController() {
  DefaultControllerState& s = DefaultController();
  if (!s.controller && !s.creating) {
    // The default controller's own styles ask for it while it is made; they
    // get none, which leaves them without a controller.
    s.creating = true;
    s.controller = new TcxStyleController(nullptr);
    s.creating = false;
  }
  return s.controller;
}

// ---------------------------------------------------------------------------

TcxContainerStyle::TcxContainerStyle(TPersistent* AOwner, bool ADirectValues, TcxContainerStyle* AParentStyle,
                                     Integer AState)
    : FOwner(AOwner), FDirectValues(ADirectValues), FState(AState) {
  if (AState > 0) FParentStyle = AParentStyle;
  if (FDirectValues) FAssignedValues = kDirectValuesAssigned;
  if (IsNormalStyle() && !FDirectValues) {
    FOwnFont = std::make_unique<TFont>();
    FOwnFont->OnChange = TNotifyEvent(this, &TcxContainerStyle::StyleFontChanged);
    FFont = FOwnFont.get();
  }
  FDrawFont = std::make_unique<TFont>();
  if (IsNormalStyle()) {
    FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
    FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxContainerStyle::LookAndFeelChanged);
    SetStyleController(nullptr);
  }
}

TcxContainerStyle::~TcxContainerStyle() {
  FBeingDestroyed = true;
  if (IsNormalStyle() && FStyleController) FStyleController->RemoveStyleListener(this);
  if (FLookAndFeel) FLookAndFeel->OnChanged = nullptr;
  if (FOwnFont) FOwnFont->OnChange = nullptr;
}

IcxContainerStyleOwner* TcxContainerStyle::OwnerContainer() const {
  return dynamic_cast<IcxContainerStyleOwner*>(FOwner);
}

TcxStyleController* TcxContainerStyle::ActiveStyleController() const {
  return FParentStyle ? FParentStyle->FStyleController : FStyleController;
}

TcxContainerStyle* TcxContainerStyle::ControllerStyle() const {
  TcxStyleController* controller = ActiveStyleController();
  return controller ? controller->StyleSet()->Style(FState) : nullptr;
}

TcxContainerStyle* TcxContainerStyle::ValueSource(Integer Index) {
  if (IsAssignedHere(Index)) return this;
  TcxContainerStyle* style = ControllerStyle();
  return style ? style->ValueSource(Index) : nullptr;
}

bool TcxContainerStyle::OwnerHasParentColor() const {
  IcxContainerStyleOwner* owner = OwnerContainer();
  if (!owner) return false;
  TControl* control = owner->StyleOwnerControl();
  return control->ParentColor() && control->Parent();
}

template <typename V>
void TcxContainerStyle::WriteValue(Integer Index, V& Slot, const V& Value) {
  if (IsAssignedHere(Index) && Slot == Value) return;
  Slot = Value;
  FAssignedValues |= StyleValueBit(Index);
  NotifyStyleChanged();
}

// --- batching ---------------------------------------------------------------

void TcxContainerStyle::EndUpdate() {
  if (FUpdateLevel > 0) --FUpdateLevel;
  CheckChanges();
}

void TcxContainerStyle::NotifyStyleChanged() {
  FPendingChange = true;
  CheckChanges();
}

void TcxContainerStyle::CheckChanges() {
  if (!FPendingChange || FUpdateLevel != 0) return;
  FPendingChange = false;
  if (!FBeingDestroyed && !FDirectValues && ChangeHandler) ChangeHandler(this);
}

void TcxContainerStyle::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { NotifyStyleChanged(); }

// --- controller ---------------------------------------------------------------

TcxStyleController* TcxContainerStyle::DefaultStyleController() {
  return IsNormalStyle() ? DefaultContainerStyleController() : NormalStyle()->DefaultStyleController();
}

TcxStyleController* TcxContainerStyle::StyleController() {
  TcxStyleController* controller = ActiveStyleController();
  return controller == DefaultStyleController() ? nullptr : controller;
}

void TcxContainerStyle::SetStyleController(TcxStyleController* Value) {
  if (!IsNormalStyle()) {
    NormalStyle()->SetStyleController(Value);
    return;
  }
  TcxStyleController* defaultController = DefaultStyleController();
  if (!defaultController || FOwner == defaultController) return;
  if (!Value) Value = defaultController;
  // Refuse a controller whose chain of controllers leads back to this style.
  std::vector<TcxStyleController*> seen;
  for (TcxStyleController* c = Value; c; c = c->StyleSet()->NormalStyle()->FStyleController) {
    if (c->StyleSet()->NormalStyle() == this) return;
    if (std::find(seen.begin(), seen.end(), c) != seen.end()) break;
    seen.push_back(c);
  }
  if (Value == FStyleController) return;
  if (FStyleController) FStyleController->RemoveStyleListener(this);
  FStyleController = Value;
  Value->AddStyleListener(this);
  ControllerChanged(Value);
}

void TcxContainerStyle::RelinkDefaultStyleController() {
  if (!IsNormalStyle()) return;
  TcxStyleController* value = DefaultStyleController();
  if (value == FOwner) value = nullptr;
  if (value == FStyleController) return;
  if (FStyleController) FStyleController->RemoveStyleListener(this);
  FStyleController = value;
  if (value) value->AddStyleListener(this);
  SyncFontWithController();
}

void TcxContainerStyle::ControllerChanged(TcxStyleController*) {
  SyncFontWithController();
  NotifyStyleChanged();
}

void TcxContainerStyle::StyleControllerRemoved(TcxStyleController* AController) {
  if (AController == ActiveStyleController()) SetStyleController(nullptr);
}

// --- font -------------------------------------------------------------------

void TcxContainerStyle::ResetFont() {
  TFont defaults;
  FOwnFont->Assign(&defaults);
}

void TcxContainerStyle::SyncFontWithController() {
  if (FDirectValues || !IsNormalStyle() || IsAssignedHere(svFont)) return;
  ++FFontLock;
  TcxContainerStyle* controllerStyle = ControllerStyle();
  TcxContainerStyle* source = controllerStyle ? controllerStyle->ValueSource(svFont) : nullptr;
  IcxContainerStyleOwner* owner = OwnerContainer();
  if (source)
    FOwnFont->Assign(source->Font());
  else if (!owner || !owner->StyleOwnerControl()->ParentFont())
    ResetFont();
  --FFontLock;
}

void TcxContainerStyle::StyleFontChanged(TObject*) {
  if (FFontLock == 0) FAssignedValues |= StyleValueBit(svFont);
  NotifyStyleChanged();
}

TFont* TcxContainerStyle::Font() {
  if (FDirectValues || IsNormalStyle()) return FFont;
  return NormalStyle()->Font();
}

void TcxContainerStyle::SetFont(TFont* Value) {
  if (FDirectValues) {
    FFont = Value;
    return;
  }
  if (!IsNormalStyle()) {
    NormalStyle()->SetFont(Value);
    return;
  }
  if (!Value || (IsAssignedHere(svFont) && FOwnFont->Equals(*Value))) return;
  BeginUpdate();
  FOwnFont->Assign(Value);
  FAssignedValues |= StyleValueBit(svFont);
  NotifyStyleChanged();
  EndUpdate();
}

TFont* TcxContainerStyle::EffectiveFont() {
  if (TFont* font = Font()) FDrawFont->Assign(font);
  FDrawFont->SetColor(TextColor());
  FDrawFont->SetStyle(TextStyle());
  return FDrawFont.get();
}

// --- values -----------------------------------------------------------------

void TcxContainerStyle::SetValueAssigned(Integer Index, bool AAssigned) {
  if (AAssigned)
    FAssignedValues |= StyleValueBit(Index);
  else
    FAssignedValues &= ~StyleValueBit(Index);
}

TcxContainerStyleValues TcxContainerStyle::AssignedValues() {
  if (FDirectValues) return StyleValueBit(StyleValueCount()) - 1;
  return FAssignedValues;
}

void TcxContainerStyle::SetAssignedValues(TcxContainerStyleValues Value) {
  if (Value == FAssignedValues) return;
  FAssignedValues = Value;
  if (IsNormalStyle()) SyncFontWithController();
  NotifyStyleChanged();
}

TColor TcxContainerStyle::BorderColor() {
  if (FDirectValues) return clDefault;
  TcxContainerStyle* s = ValueSource(svBorderColor);
  return s ? s->FBorderColor : DefaultBorderColor();
}

void TcxContainerStyle::SetBorderColor(TColor Value) { WriteValue(svBorderColor, FBorderColor, Value); }

TcxContainerBorderStyle TcxContainerStyle::BorderStyle() {
  if (FDirectValues) return IsAssignedHere(svBorderStyle) ? FBorderStyle : DefaultBorderStyle();
  TcxContainerStyle* s = ValueSource(svBorderStyle);
  return s ? s->FBorderStyle : DefaultBorderStyle();
}

void TcxContainerStyle::SetBorderStyle(TcxContainerBorderStyle Value) {
  WriteValue(svBorderStyle, FBorderStyle, Value);
}

TColor TcxContainerStyle::Color() {
  if (FDirectValues) return FColor;
  if (IsNormalStyle() && OwnerHasParentColor()) return OwnerContainer()->StyleOwnerControl()->Parent()->Color();
  TcxContainerStyle* s = ValueSource(svColor);
  return s ? s->FColor : DefaultColor();
}

void TcxContainerStyle::SetColor(TColor Value) { WriteValue(svColor, FColor, Value); }

TColor TcxContainerStyle::GetPaintColor() {
  if (FDirectValues) return FColor;
  if (TcxContainerStyle* s = ValueSource(svColor)) return s->FColor;
  IcxContainerStyleOwner* owner = OwnerContainer();
  if (IsNormalStyle() && owner && !owner->IsInplace() && OwnerHasParentColor())
    return owner->StyleOwnerControl()->Parent()->Color();
  return DefaultColor();
}

TcxBorders TcxContainerStyle::Edges() {
  if (FDirectValues) return {};
  if (!IsNormalStyle()) return NormalStyle()->Edges();
  TcxContainerStyle* s = ValueSource(svEdges);
  return s ? s->FEdges : DefaultEdges();
}

void TcxContainerStyle::SetEdges(TcxBorders Value) {
  if (!IsNormalStyle()) return NormalStyle()->SetEdges(Value);
  WriteValue(svEdges, FEdges, Value);
}

bool TcxContainerStyle::HotTrack() {
  if (FDirectValues) return IsAssignedHere(svHotTrack) ? FHotTrack : DefaultHotTrack();
  if (!IsNormalStyle()) return NormalStyle()->HotTrack();
  TcxContainerStyle* s = ValueSource(svHotTrack);
  return s ? s->FHotTrack : DefaultHotTrack();
}

void TcxContainerStyle::SetHotTrack(bool Value) {
  if (!IsNormalStyle()) return NormalStyle()->SetHotTrack(Value);
  WriteValue(svHotTrack, FHotTrack, Value);
}

TcxLookAndFeel* TcxContainerStyle::LookAndFeel() { return NormalStyle()->FLookAndFeel.get(); }

void TcxContainerStyle::SetLookAndFeel(TcxLookAndFeel* Value) { LookAndFeel()->Assign(Value); }

bool TcxContainerStyle::Shadow() {
  if (FDirectValues) return false;
  if (!IsNormalStyle()) return NormalStyle()->Shadow();
  TcxContainerStyle* s = ValueSource(svShadow);
  return s ? s->FShadow : DefaultShadow();
}

void TcxContainerStyle::SetShadow(bool Value) {
  if (!IsNormalStyle()) return NormalStyle()->SetShadow(Value);
  WriteValue(svShadow, FShadow, Value);
}

TColor TcxContainerStyle::TextColor() {
  if (FDirectValues) return FTextColor;
  TcxContainerStyle* s = ValueSource(svTextColor);
  return s ? s->FTextColor : DefaultTextColor();
}

void TcxContainerStyle::SetTextColor(TColor Value) {
  if (IsAssignedHere(svTextColor) && TextColor() == Value) return;
  FTextColor = Value;
  FAssignedValues |= StyleValueBit(svTextColor);
  NotifyStyleChanged();
}

TFontStyles TcxContainerStyle::TextStyle() {
  if (FDirectValues) return FFont ? FFont->GetStyle() : FTextStyle;
  TcxContainerStyle* s = ValueSource(svTextStyle);
  return s ? s->FTextStyle : DefaultTextStyle();
}

void TcxContainerStyle::SetTextStyle(TFontStyles Value) {
  if (IsAssignedHere(svTextStyle) && TextStyle() == Value) return;
  FTextStyle = Value;
  FAssignedValues |= StyleValueBit(svTextStyle);
  NotifyStyleChanged();
}

bool TcxContainerStyle::TransparentBorder() {
  if (FDirectValues) return true;
  if (!IsNormalStyle()) return NormalStyle()->TransparentBorder();
  TcxContainerStyle* s = ValueSource(svTransparentBorder);
  return s ? s->FTransparentBorder : DefaultTransparentBorder();
}

void TcxContainerStyle::SetTransparentBorder(bool Value) {
  if (!IsNormalStyle()) return NormalStyle()->SetTransparentBorder(Value);
  WriteValue(svTransparentBorder, FTransparentBorder, Value);
}

// --- defaults ---------------------------------------------------------------

TColor TcxContainerStyle::DefaultBorderColor() {
  if (IsNormalStyle()) return clWindowFrame;
  return FState == cxStateDisabled ? clBtnShadow : NormalStyle()->BorderColor();
}

TcxContainerBorderStyle TcxContainerStyle::DefaultBorderStyle() {
  if (IsNormalStyle()) {
    switch (LookAndFeel()->Kind()) {
      case lfFlat: return cbsFlat;
      case lfStandard: return cbs3D;
      case lfOffice11: return cbsOffice11;
      default: return cbsUltraFlat;
    }
  }
  // Focused and hot styles raise the normal border by one step while it
  // tracks the mouse; rows: the normal border, columns: not raised, raised.
  static constexpr TcxContainerBorderStyle raise[][2] = {
      {cbsNone, cbsFlat},     {cbsSingle, cbsThick},        {cbsThick, cbsThick},         {cbsFlat, cbs3D},
      {cbs3D, cbs3D},         {cbsUltraFlat, cbsUltraFlat}, {cbsOffice11, cbsOffice11},
  };
  TcxContainerStyle* normal = NormalStyle();
  const Integer s = normal->HotTrack() || FState == cxStateDisabled ? FState : cxStateNormal;
  const bool raised = s == cxStateFocused || s == cxStateHot;
  return raise[static_cast<unsigned>(normal->BorderStyle())][raised ? 1 : 0];
}

TColor TcxContainerStyle::DefaultColor() {
  IcxContainerStyleOwner* owner = OwnerContainer();
  if (IsNormalStyle()) return !owner || owner->DefaultParentColor() ? clBtnFace : clWindow;
  if (FState == cxStateDisabled && owner && !owner->DefaultParentColor()) return clBtnFace;
  return NormalStyle()->Color();
}

TColor TcxContainerStyle::DefaultTextColor() {
  if (IsNormalStyle()) {
    TFont* font = Font();
    return font ? font->GetColor() : clWindowText;
  }
  return FState == cxStateDisabled ? clBtnShadow : NormalStyle()->TextColor();
}

TFontStyles TcxContainerStyle::DefaultTextStyle() {
  if (IsNormalStyle()) {
    TFont* font = Font();
    return font ? font->GetStyle() : TFontStyles();
  }
  return NormalStyle()->TextStyle();
}

// --- other operations ---------------------------------------------------------

bool TcxContainerStyle::StyleValueName(Integer Index, std::string& Name) {
  if (Index < 0 || Index >= cxContainerStyleValueCount) return false;
  Name = kStyleValueNames[Index];
  return true;
}

Integer TcxContainerStyle::FindStyleValueByName(const std::string& Name) {
  std::string valueName;
  for (Integer i = 0; i < StyleValueCount(); ++i)
    if (StyleValueName(i, valueName) && SameText(valueName, Name)) return i;
  return -1;
}

bool TcxContainerStyle::IsStyleActive() { return IsNormalStyle() || NormalStyle()->IsStyleActive(); }

bool TcxContainerStyle::IsStyleValueAssigned(Integer Index) {
  if (FDirectValues) return (AssignedValues() & StyleValueBit(Index)) != 0;
  return ValueSource(Index) != nullptr;
}

void TcxContainerStyle::RestoreDefaults() {
  BeginUpdate();
  SetAssignedValues(0);
  if (IsNormalStyle()) {
    LookAndFeel()->ClearAssignedValues();
    IcxContainerStyleOwner* owner = OwnerContainer();
    if (owner) {
      owner->StyleOwnerControl()->SetParentColor(false);
      owner->StyleOwnerControl()->SetParentFont(true);
    } else if (!FDirectValues) {
      ++FFontLock;
      ResetFont();
      --FFontLock;
    }
    if (owner && owner->DefaultParentColor()) {
      TcxStyleController* controller = ActiveStyleController();
      const bool controllerHasColor =
          controller && controller->StyleSet()->NormalStyle()->IsStyleValueAssigned(svColor);
      if (!controllerHasColor) owner->StyleOwnerControl()->SetParentColor(true);
    }
  }
  EndUpdate();
}

void TcxContainerStyle::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxContainerStyle*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  if (IsNormalStyle()) {
    SetStyleController(source->StyleController());
    LookAndFeel()->Assign(source->LookAndFeel());
  }
  FBorderColor = source->FBorderColor;
  FBorderStyle = source->FBorderStyle;
  FEdges = source->FEdges;
  FHotTrack = source->FHotTrack;
  FShadow = source->FShadow;
  FTransparentBorder = source->FTransparentBorder;
  FColor = source->FColor;
  if (FDirectValues) {
    FFont = source->Font();
    FTextColor = source->TextColor();
  } else {
    if (IsNormalStyle() && source->Font()) {
      ++FFontLock;
      FOwnFont->Assign(source->Font());
      if (source->FDirectValues) FOwnFont->SetColor(source->TextColor());
      --FFontLock;
    }
    FTextColor = source->TextColor();
    FTextStyle = source->TextStyle();
  }
  FAssignedValues = source->AssignedValues();
  NotifyStyleChanged();
  EndUpdate();
}

bool TcxContainerStyle::IsValueStored(Integer Index) {
  const TcxContainerStyleValues bit = StyleValueBit(Index);
  if (!(AssignedValues() & bit)) return false;
  if (IcxContainerStyleOwner* owner = OwnerContainer()) {
    if (!IsNormalStyle() && (NormalOnlyStyleValues() & bit)) return false;
    if (owner->GetUnstoredStyleValues() & bit) return false;
  }
  return true;
}

bool TcxContainerStyle::IsLookAndFeelStored() { return IsNormalStyle() || !OwnerContainer(); }

// ---------------------------------------------------------------------------

TcxContainerStyles::TcxContainerStyles(TPersistent* AOwner, TcxContainerStyleClass AStyleClass) {
  for (Integer i = 0; i < 4; ++i) FStyles[i] = AStyleClass(AOwner, false, i > 0 ? FStyles[0].get() : nullptr, i);
}

TcxContainerStyles::~TcxContainerStyles() {
  for (Integer i = 3; i >= 0; --i) FStyles[i].reset();
}

void TcxContainerStyles::SetChangeHandler(TNotifyEvent Value) {
  for (auto& style : FStyles) style->ChangeHandler = Value;
}

// ---------------------------------------------------------------------------

TcxStyleController::TcxStyleController(TComponent* AOwner)
    : TcxStyleController(AOwner, &CreateContainerStyle<TcxContainerStyle>,
                         &CreateContainerStyles<TcxContainerStyles>) {}

TcxStyleController::TcxStyleController(TComponent* AOwner, TcxContainerStyleClass AStyleClass,
                                       TcxContainerStylesClass AStylesClass)
    : TComponent(AOwner) {
  FStyles = AStylesClass(this, AStyleClass);
  FStyles->SetChangeHandler(TNotifyEvent(this, &TcxStyleController::StylesChanged));
}

TcxStyleController::~TcxStyleController() {
  FBeingDestroyed = true;
  const std::vector<TcxContainerStyle*> listeners = FListeners;
  for (TcxContainerStyle* style : listeners) style->StyleControllerRemoved(this);
  FStyles.reset();
  FListeners.clear();
  DefaultControllerState& s = DefaultController();
  if (s.controller == this) s.controller = nullptr;
}

void TcxStyleController::Loaded() {
  TComponent::Loaded();
  StylesChanged(this);
}

void TcxStyleController::StylesChanged(TObject*) {
  if (OnStyleChanged) OnStyleChanged(this);
  if (FBeingDestroyed) return;
  const std::vector<TcxContainerStyle*> listeners = FListeners;
  for (TcxContainerStyle* style : listeners)
    if (std::find(FListeners.begin(), FListeners.end(), style) != FListeners.end()) style->ControllerChanged(this);
}

void TcxStyleController::AddStyleListener(TcxContainerStyle* AStyle) {
  if (!AStyle || std::find(FListeners.begin(), FListeners.end(), AStyle) != FListeners.end()) return;
  FListeners.push_back(AStyle);
  AStyle->LookAndFeel()->SetMasterLookAndFeel(FStyles->NormalStyle()->LookAndFeel());
}

void TcxStyleController::RemoveStyleListener(TcxContainerStyle* AStyle) {
  auto it = std::find(FListeners.begin(), FListeners.end(), AStyle);
  if (it == FListeners.end()) return;
  if (!FBeingDestroyed) FListeners.erase(it);
  AStyle->LookAndFeel()->SetMasterLookAndFeel(nullptr);
}

void TcxStyleController::ScaleFont(Integer M, Integer D) {
  TcxContainerStyle* normal = FStyles->NormalStyle();
  if (normal->AssignedValues() & StyleValueBit(svFont)) {
    if (FFontScaled) return;
    FFontScaled = true;
    normal->Font()->SetSize(MulDiv(normal->Font()->GetSize(), M, D));
  } else if (TcxStyleController* controller = normal->ActiveStyleController()) {
    controller->ScaleFont(M, D);
  }
}

void RegisterContainerStylesClasses() { RegisterClasses({TcxStyleController::StaticClass()}); }
