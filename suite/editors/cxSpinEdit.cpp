#include "suite/editors/cxSpinEdit.h"

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxTimer.h"
#include "suite/foundation/cxVariants.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomSpinEdit, TcxCustomMaskEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxSpinEdit, TcxCustomSpinEdit)

VXN_PUBLISH(TcxSpinEdit) {
  using C = TcxSpinEdit;
  P.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
  P.Property("BeepOnEnter", &C::BeepOnEnter, &C::SetBeepOnEnter).Default(true);
  P.Redeclare("ParentColor").Default(false);
  P.Redeclare("TabStop").Default(true);
  P.Property("Properties", &C::GetProperties, &C::SetPropertiesObject);
  P.Property("Style", &C::GetStyle, &C::SetStyleObject);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Property("Value", &C::Value, &C::AssignValue).Stored(&C::IsValueStored);
  PublishEditorEvents(P, cxpeEditing | cxpeDock | cxpeMouseEnter);
}

using namespace win;

namespace {

constexpr Cardinal kFirstRepeatDelay = 400;
constexpr Cardinal kRepeatInterval = 100;

TcxCustomEditKind SpinEditKind(TcxCustomEditPropertiesClass APropertiesClass) {
  TcxCustomEditKind kind = TextEditKind(APropertiesClass);
  kind.ViewInfoClass = &CreateContainerViewInfo<TcxSpinEditViewInfo>;
  return kind;
}

bool IsSpinKey(Word Key) { return Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT; }

auto FlagSet(bool& Flag, bool Value) {
  const bool old = Flag;
  Flag = Value;
  return ScopeExit([&Flag, old] { Flag = old; });
}

}  // namespace

TcxCustomSpinEdit::TcxCustomSpinEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomSpinEdit(AOwner, AIsInplace, SpinEditKind(TcxCustomSpinEditProperties::StaticClass())) {}

TcxCustomSpinEdit::TcxCustomSpinEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomMaskEdit(AOwner, AIsInplace, AKind) {
  InitializeSpinEdit();
}

TcxCustomSpinEdit::~TcxCustomSpinEdit() = default;

void TcxCustomSpinEdit::InitializeSpinEdit() {
  SetEditValue(Variant(0));
  FHeldButton = 0;
}

TcxContainerStyleValues TcxCustomSpinEdit::GetUnstoredStyleValues() {
  // The spin buttons' style values are the user's and go to the stream.
  return StyleValueBit(svPopupBorderStyle);
}

// --- value ---------------------------------------------------------------------------------------

void TcxCustomSpinEdit::KeepValue(const Variant& AValue) { FKeptValue = ActiveSpinProperties()->ConvertNumeric(AValue); }

Variant TcxCustomSpinEdit::SpinIncrement(Integer Kind) { return SpinIncrementOf(ActiveSpinProperties(), Kind); }

bool TcxCustomSpinEdit::HasGetValueHandler() {
  return static_cast<bool>(OwnSpinProperties()->OnGetValue) || static_cast<bool>(ActiveSpinProperties()->OnGetValue);
}

bool TcxCustomSpinEdit::ParseTypedValue(const Variant& DisplayValue, bool CanRaise, Variant& AValue,
                                        std::string& ErrorText) {
  return ParseSpinTypedValue(OwnSpinProperties(), ActiveSpinProperties(), this, DisplayValue, CanRaise, FKeptValue,
                             AValue, ErrorText);
}

void TcxCustomSpinEdit::DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool) {
  std::string errorText;
  ParseTypedValue(DisplayValue, true, AEditValue, errorText);
}

Variant TcxCustomSpinEdit::Value() {
  TcxCustomSpinEditProperties* properties = ActiveSpinProperties();
  Variant result;
  if (IsEditFocused()) {
    if (FTyped)
      DisplayValueToEditValue(Variant(CurrentDisplayText()), result, true);
    else
      result = FKeptValue;
    if (!VarIsNumeric(result)) result = Variant(0);
  } else {
    const Variant value = EditValue();
    result = VarIsNumeric(value) || VarIsStr(value) ? value : properties->ClampToRange(Variant(0));
  }
  return properties->ConvertNumeric(result);
}

bool TcxCustomSpinEdit::IsValueStored() {
  const Variant value = Value();
  return !VarIsNumeric(value) || value.AsDouble() != 0;
}

std::string TcxCustomSpinEdit::ValueText(const Variant& AValue) {
  Variant text;
  ActiveSpinProperties()->ConvertToEditValue(AValue, text, IsEditFocused());
  return VarToStr(text);
}

void TcxCustomSpinEdit::AssignValue(const Variant& AValue) {
  if (!VarIsNumeric(AValue)) return;
  Variant value = AValue;
  if (ActiveSpinProperties()->IsEditValueValid(value, IsEditFocused())) AssignEditValueAndClick(value);
}

void TcxCustomSpinEdit::ClampValueToRange() {
  const bool user = UserChanging();
  SetUserChanging(ModifiedAfterEnter());
  ScopeExit restore([this, user] { SetUserChanging(user); });
  TcxCustomSpinEditProperties* properties = ActiveSpinProperties();
  // Runs on a settings change too: typed text that is no number leaves
  // nothing to clamp and must not raise out of a property setter.
  Variant value;
  if (IsEditFocused() && FTyped) {
    std::string errorText;
    if (!ParseTypedValue(Variant(CurrentDisplayText()), false, value, errorText)) return;
    value = properties->ConvertNumeric(value);
  } else {
    value = Value();
  }
  if (!VarIsNumeric(value)) return;
  const Variant minLimit = properties->MinLimitValue();
  const Variant maxLimit = properties->MaxLimitValue();
  if (value < minLimit)
    AssignValue(minLimit);
  else if (value > maxLimit)
    AssignValue(maxLimit);
}

void TcxCustomSpinEdit::UpdateTextFromEditValue() {
  TcxCustomSpinEditProperties* properties = ActiveSpinProperties();
  Variant value = EditValue();
  if (properties->IsEditValueValid(value, IsEditFocused()))
    KeepValue(value);
  else
    KeepValue(properties->ClampToRange(Variant(0)));
  TcxCustomMaskEdit::UpdateTextFromEditValue();
}

void TcxCustomSpinEdit::UpdateEditValueFromText() {
  TcxCustomMaskEdit::UpdateEditValueFromText();
  KeepValue(EditValue());
}

void TcxCustomSpinEdit::InnerEditChanged(TObject* Sender) {
  FTyped = FTyping;
  TcxCustomMaskEdit::InnerEditChanged(Sender);
  FTyping = false;
}

void TcxCustomSpinEdit::PropertiesChanged(TObject* Sender) {
  TcxCustomMaskEdit::PropertiesChanged(Sender);
  if (!IsDesigning() && ModifiedAfterEnter()) ClampValueToRange();
}

// --- steps ---------------------------------------------------------------------------------------

bool TcxCustomSpinEdit::NextValue(Integer Kind, Variant& AValue) {
  return NextSpinValue(ActiveSpinProperties(), Value(), Kind, AValue);
}

bool TcxCustomSpinEdit::SpinStep(Integer Kind) {
  LockChangeEvents(true);
  ScopeExit unlock([this] { LockChangeEvents(false); });
  Variant next;
  if (!QueryEditing() || !NextValue(Kind, next)) return false;
  const std::string oldText = CurrentDisplayText();
  const std::string newText = ValueText(next);
  const Integer selStart = SelStart(), selLength = SelLength();
  KeepValue(next);
  {
    const bool user = UserChanging();
    SetUserChanging(true);
    ScopeExit restore([this, user] { SetUserChanging(user); });
    SetInnerEditValue(Variant(newText));
  }
  const std::string shown = CurrentDisplayText();
  if (shown == oldText) return false;
  SetEditingModified(true);
  if (ActiveSpinProperties()->KeepsSelectionOnSpin())
    SetSelection(selStart, selLength);
  else
    AssignSelStart(static_cast<Integer>(Utf8CharCount(shown)));
  if (ActiveProperties()->ImmediatePost() && CanPostEditValue() && ValidateDisplayText(true)) {
    PostEditValue(false);
    UpdateTextFromEditValue();
  }
  return true;
}

// --- spinning ------------------------------------------------------------------------------------

void TcxCustomSpinEdit::SetHeldButton(Integer AMarker) {
  TcxCustomEditViewInfo* vi = EditViewInfo();
  if (vi->ButtonCount() == 0 || AMarker == FHeldButton) return;
  FHeldButton = AMarker;
  if (!HandleAllocated()) return;
  CalculateViewInfoAtCursor();
  for (Integer i = 0; i < vi->ButtonCount(); ++i) {
    const RECT r = cxRECT(vi->Button(i)->Bounds);
    InvalidateRect(Handle(), &r, FALSE);
  }
}

void TcxCustomSpinEdit::StartAutoRepeat() {
  if (ActiveProperties()->ReadOnly() || !DataBinding()->IsDataAvailable()) return;
  FreeTimer();
  FTimer = std::make_unique<TcxTimer>(nullptr);
  FTimer->SetInterval(kFirstRepeatDelay);
  FTimer->SetOnTimer(TNotifyEvent(this, &TcxCustomSpinEdit::AutoRepeatTick));
}

void TcxCustomSpinEdit::AutoRepeatTick(TObject*) {
  if (!FTimer) return;
  if (FTimer->Interval() == kFirstRepeatDelay) FTimer->SetInterval(kRepeatInterval);
  const Integer pressed = EditViewInfo()->PressedButton;
  if (pressed == -1) return;
  auto ticking = FlagSet(FTicking, true);
  SpinStep(pressed);
}

void TcxCustomSpinEdit::FreeTimer() {
  if (!FTicking) FRetiredTimer.reset();
  if (!FTimer) return;
  FTimer->SetEnabled(false);
  if (FTicking)
    FRetiredTimer = std::move(FTimer);
  else
    FTimer.reset();
}

void TcxCustomSpinEdit::StopSpinning() {
  SetCapturedButtonIndex(-1);
  SetHeldButton(0);
  TcxCustomEditViewInfo* vi = EditViewInfo();
  for (Integer i = 0; i < 2 && i < vi->ButtonCount(); ++i) {
    TcxEditButtonViewInfo* button = vi->Button(i);
    if (button->State != ebbsPressed) continue;
    button->State = ebbsNormal;
    if (HandleAllocated()) {
      const RECT r = cxRECT(button->Bounds);
      InvalidateRect(Handle(), &r, FALSE);
    }
  }
  FreeTimer();
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

bool TcxCustomSpinEdit::RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent) {
  const bool result = TcxCustomMaskEdit::RefreshState(P, AButton, Shift, AIsMouseEvent);
  TcxCustomEditViewInfo* vi = EditViewInfo();
  if (result && vi->ButtonCount() > 0 && vi->PressedButton == -1 && CapturedButtonIndex() == -1) StopSpinning();
  return result;
}

void TcxCustomSpinEdit::ButtonDown(Integer AIndex) {
  TcxCustomMaskEdit::ButtonDown(AIndex);
  // A button a held key presses does not step again for the mouse.
  if (FHeldButton != 0 || AIndex < SpinStepDown || AIndex > SpinStepPageUp) return;
  SpinStep(AIndex);
  StartAutoRepeat();
}

void TcxCustomSpinEdit::FocusChanged() {
  TcxCustomMaskEdit::FocusChanged();
  StopSpinning();
}

void TcxCustomSpinEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxCustomMaskEdit::MouseUp(Button, Shift, X, Y);
  StopSpinning();
}

void TcxCustomSpinEdit::DblClick() {
  TcxCustomMaskEdit::DblClick();
  if (ButtonIndexAt(ScreenToClient(GetMouseScreenPos())) == -1) StopSpinning();
}

bool TcxCustomSpinEdit::WheelStep(TShiftState Shift, Integer Kind) {
  if (!HandlesMouseWheel(Shift)) return false;
  SpinStep(Kind);
  return true;
}

// A turn that stepped the value is used up: it must not scroll the form too.
bool TcxCustomSpinEdit::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  const bool handled = TcxCustomMaskEdit::DoMouseWheelDown(Shift, MousePos);
  return WheelStep(Shift, SpinStepDown) || handled;
}

bool TcxCustomSpinEdit::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  const bool handled = TcxCustomMaskEdit::DoMouseWheelUp(Shift, MousePos);
  return WheelStep(Shift, SpinStepUp) || handled;
}

// --- keys ----------------------------------------------------------------------------------------

void TcxCustomSpinEdit::EditKeyDown(Word& Key, TShiftState Shift) {
  FTyping = false;
  TcxCustomSpinEditProperties* properties = ActiveSpinProperties();
  const Integer kind = SpinStepKindOfKey(properties, Key, Shift);
  if (kind == -1) {
    StopSpinning();
    FTyping = Key != VK_ESCAPE;
    if (!properties->CanEdit() && IsEditingKey(Key, Shift)) {
      ForwardUnusedKey(Key, Shift);
      Key = 0;
    }
  } else {
    if (!ModifiedAfterEnter() && !QueryEditing()) return;
    SetHeldButton(kind + 1);
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    SpinStep(kind);
    Key = 0;
  }
  if (Key != 0) TcxCustomMaskEdit::EditKeyDown(Key, Shift);
}

void TcxCustomSpinEdit::EditKeyPress(char32_t& Key) {
  Key = SpinEditTypedChar(Key);
  if (Key >= 32 || Key == 8 || Key == U'.') {
    if (IsAcceptableChar(Key)) {
      FTyping = true;
    } else {
      Key = 0;
      MessageBeep(0);
    }
  }
  if (Key != 0) TcxCustomMaskEdit::EditKeyPress(Key);
}

void TcxCustomSpinEdit::EditKeyUp(Word& Key, TShiftState Shift) {
  FTyping = false;
  TcxCustomMaskEdit::EditKeyUp(Key, Shift);
  if (Key != 0 && IsSpinKey(Key)) StopSpinning();
}

bool TcxCustomSpinEdit::IsAcceptableChar(char32_t Ch) {
  return IsSpinEditAcceptableChar(ActiveSpinProperties(), Ch, HasGetValueHandler());
}

// --- clipboard -----------------------------------------------------------------------------------

void TcxCustomSpinEdit::CutToClipboard() {
  if (UserChanging() && !ActiveSpinProperties()->CanEdit()) return;
  TcxCustomMaskEdit::CutToClipboard();
}

void TcxCustomSpinEdit::PasteFromClipboard() {
  if (UserChanging() && !ActiveSpinProperties()->CanEdit()) return;
  auto typing = FlagSet(FTyping, true);
  TcxCustomMaskEdit::PasteFromClipboard();
}

// --- the published editor ------------------------------------------------------------------------

TcxSpinEdit::TcxSpinEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomSpinEdit(AOwner, AIsInplace, SpinEditKind(TcxSpinEditProperties::StaticClass())) {}

void RegisterSpinEditClasses() { RegisterClasses({TcxCustomSpinEdit::StaticClass(), TcxSpinEdit::StaticClass()}); }
