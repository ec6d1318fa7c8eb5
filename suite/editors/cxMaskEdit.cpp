#include "suite/editors/cxMaskEdit.h"

#include "platform/forms/Clipbrd.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxEditPublishing.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxInnerTextEdit.h"
#include "suite/editors/cxMaskEditRegExprExMode.h"
#include "suite/editors/cxMaskEditStandardMode.h"
#include "suite/foundation/cxClasses.h"

VXN_IMPLEMENT_CLASS(EcxMaskEditError, Exception)
VXN_IMPLEMENT_CLASS(TcxMaskEditCustomMode, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomMaskEditProperties, TcxCustomTextEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxMaskEditProperties, TcxCustomMaskEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomMaskEdit, TcxCustomTextEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxMaskEdit, TcxCustomMaskEdit)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryMaskItem, TcxEditRepositoryItem)

VXN_PUBLISH(TcxMaskEditProperties) {
  using T = TcxMaskEditProperties;
  using B = TcxCustomEditProperties;
  P.Property("Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property("AlwaysShowBlanksAndLiterals", &T::AlwaysShowBlanksAndLiterals, &T::SetAlwaysShowBlanksAndLiterals)
      .Default(false);
  P.Property("AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property("AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
  P.Property("BeepOnError", &T::BeepOnError, &T::SetBeepOnError).Default(false);
  P.Property("CaseInsensitive", &T::CaseInsensitive, &T::SetCaseInsensitive).Default(true);
  P.Property("CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
  P.Property("EchoMode", &T::EchoMode, &T::SetEchoMode).Default(eemNormal);
  P.Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
  P.Property("IgnoreMaskBlank", &T::IgnoreMaskBlank, &T::SetIgnoreMaskBlank).Default(false);
  P.Property("ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property("ImeName", &T::ImeName, &T::SetImeName);
  P.Property("IncrementalSearch", &T::IncrementalSearch, &T::SetIncrementalSearch).Default(true);
  P.Property("LookupItems", &T::LookupItems, &T::SetLookupItems);
  P.Property("LookupItemsSorted", &T::LookupItemsSorted, &T::SetLookupItemsSorted).Default(false);
  P.Property("MaskKind", &T::MaskKind, &T::SetMaskKind).Default(emkStandard);
  P.Property("EditMask", &T::OwnEditMask, &T::SetEditMask).Stored(&T::IsEditMaskStored);
  P.Property("MaxLength", &T::MaxLength, &T::SetMaxLength).Stored(&T::IsMaxLengthStored);
  P.Property("OEMConvert", &T::OEMConvert, &T::SetOEMConvert).Default(false);
  P.Property("PasswordChar", &T::PasswordChar, &T::SetPasswordChar).Default(0);
  P.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyStored);
  P.Property("UseLeftAlignmentOnEditing", &T::UseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing)
      .Stored(&T::IsUseLeftAlignmentOnEditingStored);
  P.Property("ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(true);
  P.Property("OnChange", &B::OnChange, &B::OnChange);
  P.Property("OnEditValueChanged", &B::OnEditValueChanged, &B::OnEditValueChanged);
  P.Property("OnNewLookupDisplayText", &T::OnNewLookupDisplayText, &T::OnNewLookupDisplayText);
  P.Property("OnValidate", &B::OnValidate, &B::OnValidate);
}

VXN_PUBLISH(TcxMaskEdit) {
  using C = TcxMaskEdit;
  P.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
  P.Property("BeepOnEnter", &C::BeepOnEnter, &C::SetBeepOnEnter).Default(true);
  P.Redeclare("TabStop").Default(true);
  P.Property("Properties", &C::GetProperties, &C::SetPropertiesObject);
  P.Property("Style", &C::GetStyle, &C::SetStyleObject);
  P.Property("StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
  P.Property("StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
  P.Property("StyleHot", &C::StyleHot, &C::SetStyleHot);
  P.Property("Text", &C::GetText, &C::SetText);
  PublishEditorEvents(P, cxpeEditing | cxpeDock | cxpeMouseEnter);
}

using namespace win;

namespace {

auto FlagSet(bool& Flag, bool Value) {
  const bool old = Flag;
  Flag = Value;
  return ScopeExit([&Flag, old] { Flag = old; });
}

}  // namespace

bool IsMaskEmpty(const std::string& Mask) {
  for (unsigned char c : Mask)
    if (!IsBlankChar(c)) return false;
  return true;
}

// --- the mode interface ----------------------------------------------------------------------

TcxMaskEditCustomMode::TcxMaskEditCustomMode(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties)
    : FOwnerEdit(AEdit), FOwnProperties(AEdit ? nullptr : AProperties) {}

TcxCustomMaskEditProperties* TcxMaskEditCustomMode::Properties() const {
  return FOwnerEdit ? FOwnerEdit->ActiveMaskProperties() : FOwnProperties;
}

bool TcxMaskEditCustomMode::EditReady() const {
  return FOwnerEdit && FOwnerEdit->InnerEdit() && !FOwnerEdit->ComponentState().Contains(csDestroying);
}

void TcxMaskEditCustomMode::Beep() {
  if (Properties()->BeepOnError()) MessageBeep(0);
}

void TcxMaskEditCustomMode::SetInnerSelStart(Integer Value) {
  if (IcxInnerTextEdit* inner = FOwnerEdit ? FOwnerEdit->InnerTextEdit() : nullptr) inner->SetSelStart(Value);
}

void TcxMaskEditCustomMode::SetInnerSelLength(Integer Value) {
  if (IcxInnerTextEdit* inner = FOwnerEdit ? FOwnerEdit->InnerTextEdit() : nullptr) inner->SetSelLength(Value);
}

std::string TcxMaskEditCustomMode::Text() const {
  return FOwnerEdit && FOwnerEdit->InnerEdit() ? VarToStr(FOwnerEdit->InnerEdit()->EditValue()) : std::string();
}

void TcxMaskEditCustomMode::SyncEditValueFromText() {
  if (!EditReady()) return;
  Variant text;
  if (FOwnerEdit->ModifiedAfterEnter()) {
    std::string shown;
    FOwnerEdit->DisplayTextOfValue(shown);
    text = Variant(FormatText(shown));
  } else {
    Properties()->ConvertToEditValue(FOwnerEdit->EditValue(), text, FOwnerEdit->Focused());
  }
  FOwnerEdit->SetInnerEditValue(text);
}

// --- properties -----------------------------------------------------------------------------------

TcxCustomMaskEditProperties::TcxCustomMaskEditProperties(TPersistent* AOwner)
    : TcxCustomTextEditProperties(AOwner) {
  SetValidateOnEnter(true);
}

TcxCustomMaskEditProperties::~TcxCustomMaskEditProperties() = default;

TcxMaskEditModeClass TcxCustomMaskEditProperties::ModeClass(TcxEditMaskKind Kind) {
  switch (Kind) {
    case emkRegExpr: return MaskEditModeClassOf<TcxMaskEditRegExprMode>();
    case emkRegExprEx: return MaskEditModeClassOf<TcxMaskEditRegExprExMode>();
    default: return MaskEditModeClassOf<TcxMaskEditStandardMode>();
  }
}

TClass TcxCustomMaskEditProperties::EditClass() { return TcxMaskEdit::StaticClass(); }

std::string TcxCustomMaskEditProperties::EditMask() {
  if (FMaskKind == emkStandard && IsMaskEmpty(FEditMask))
    return DefaultValuesProvider() ? DefaultValuesProvider()->DefaultEditMask() : std::string();
  return FEditMask;
}

void TcxCustomMaskEditProperties::SetEditMask(const std::string& Value) {
  if (Value == EditMask()) {
    FEditMask = Value;
    return;
  }
  {
    // A mask the current syntax refuses raises here, before anything is kept.
    std::unique_ptr<TcxMaskEditCustomMode> probe = ModeClass(FMaskKind)->Create(nullptr, this);
    probe->CompileMask(Value);
  }
  FEditMask = Value;
  NotifyChanged();
}

void TcxCustomMaskEditProperties::SetMaskKind(TcxEditMaskKind Value) {
  if (FMaskKind == Value) return;
  FMaskKind = Value;
  NotifyChanged();
}

void TcxCustomMaskEditProperties::SetCaseInsensitive(bool Value) {
  FCaseInsensitive = CharCase() != ecNormal ? true : Value;
  NotifyChanged();
}

void TcxCustomMaskEditProperties::SetAlwaysShowBlanksAndLiterals(bool Value) {
  if (FAlwaysShowBlanksAndLiterals == Value) return;
  FAlwaysShowBlanksAndLiterals = Value;
  NotifyChanged();
}

void TcxCustomMaskEditProperties::SetCharCase(TEditCharCase Value) {
  if (Value == ecUpperCase || Value == ecLowerCase) FCaseInsensitive = true;
  TcxCustomTextEditProperties::SetCharCase(Value);
}

bool TcxCustomMaskEditProperties::IsMasked() { return !IsMaskEmpty(EditMask()); }

void TcxCustomMaskEditProperties::MaxLengthChanged() {
  if (!IsMasked()) {
    TcxCustomTextEditProperties::MaxLengthChanged();
    return;
  }
  if (FMaxLengthChanging) return;
  auto guard = FlagSet(FMaxLengthChanging, true);
  // The mask fixes the length: a masked editor keeps MaxLength 0.
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  SetMaxLength(0);
}

Byte TcxCustomMaskEditProperties::DisplayFormatOptions() {
  return IsMasked() ? 0 : TcxCustomTextEditProperties::DisplayFormatOptions();
}

bool TcxCustomMaskEditProperties::IsEditValueValid(Variant& Value, bool Focused) {
  return IsMasked() || TcxCustomTextEditProperties::IsEditValueValid(Value, Focused);
}

bool TcxCustomMaskEditProperties::HasLookupData() {
  return !IsMasked() && TcxCustomTextEditProperties::HasLookupData();
}

std::unique_ptr<TcxMaskEditCustomMode> TcxCustomMaskEditProperties::CreateMode() {
  const std::string mask = EditMask();
  if (IsMaskEmpty(mask)) return nullptr;
  std::unique_ptr<TcxMaskEditCustomMode> mode = ModeClass(FMaskKind)->Create(nullptr, this);
  mode->CompileMask(mask);
  return mode;
}

void TcxCustomMaskEditProperties::ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) {
  if (!IsMasked() || (!Focused && DefaultValuesProvider() && DefaultValuesProvider()->DefinesDisplayFormat(true))) {
    TcxCustomTextEditProperties::ConvertToEditValue(Value, EditValue, Focused);
    return;
  }
  const std::string s = VarIsNull(Value) ? std::string() : VarToStr(Value);
  const std::string mask = EditMask();
  TcxMaskEditModeClass modeClass = ModeClass(FMaskKind);
  if (!FConversionMode || !FConversionMode->InheritsFrom(modeClass->Class) ||
      FConversionMode->CompiledMask() != mask) {
    FConversionMode.reset();
    FConversionMode = CreateMode();
  }
  const bool standard = dynamic_cast<TcxMaskEditStandardMode*>(FConversionMode.get()) != nullptr;
  if (Focused || !standard || FAlwaysShowBlanksAndLiterals)
    EditValue = Variant(FConversionMode->FormatText(s));
  else
    EditValue = Variant(FConversionMode->DisplayValueOf(s));
}

void TcxCustomMaskEditProperties::ValidateDisplayValue(Variant& Value, std::string& ErrorText, bool& Error,
                                                       IcxEditPropertiesEditor* Edit) {
  if (!Error) {
    auto* edit = dynamic_cast<TcxCustomMaskEdit*>(Edit);
    if (IsMasked() && edit) {
      if (!edit->Mode()->IsTextValid(VarIsNull(Value) ? std::string() : VarToStr(Value))) {
        Error = true;
        ErrorText = TranslateResourceString(cxSMaskEditInvalidEditValue);
      }
    } else if (!IsMasked()) {
      Error = false;
    }
  }
  TcxCustomTextEditProperties::ValidateDisplayValue(Value, ErrorText, Error, Edit);
}

void TcxCustomMaskEditProperties::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxCustomMaskEditProperties*>(Source);
  if (!source) {
    TcxCustomTextEditProperties::Assign(Source);
    return;
  }
  LockChanges();
  ScopeExit unlock([this] { UnlockChanges(true); });
  TcxCustomTextEditProperties::Assign(Source);
  SetMaskKind(source->MaskKind());
  SetEditMask(source->EditMask());
  SetCaseInsensitive(source->CaseInsensitive());
  FIgnoreMaskBlank = source->IgnoreMaskBlank();
  SetAlwaysShowBlanksAndLiterals(source->AlwaysShowBlanksAndLiterals());
}

// --- the editor -------------------------------------------------------------------------------------------

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomMaskEdit(AOwner, AIsInplace, TextEditKind(TcxCustomMaskEditProperties::StaticClass())) {}

TcxCustomMaskEdit::TcxCustomMaskEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxCustomTextEdit(AOwner, AIsInplace, AKind) {
  InitializeMaskEdit();
}

TcxCustomMaskEdit::~TcxCustomMaskEdit() = default;

void TcxCustomMaskEdit::InitializeMaskEdit() {
  // Fresh properties are of the standard kind; a properties change replaces
  // the mode when the kind differs.
  FMode = std::make_unique<TcxMaskEditStandardMode>(this, ActiveMaskProperties());
  FShiftHeld = false;
  ActiveMaskProperties()->SetEmptyMaskText(EmptyMaskedTextOfMode());
}

std::string TcxCustomMaskEdit::EmptyMaskedTextOfMode() { return IsMasked() ? FMode->EmptyMaskedText() : std::string(); }

void TcxCustomMaskEdit::ReapplyText() { ApplyDisplayValue(Variant(GetText())); }

void TcxCustomMaskEdit::SendKey(Word Key) {
  auto sending = FlagSet(FSendingKey, true);
  SendKeyDownToEdit(this, Key);
}

void TcxCustomMaskEdit::SendChar(char32_t Ch) {
  auto sending = FlagSet(FSendingKey, true);
  SendCharToEdit(this, Ch);
}

void TcxCustomMaskEdit::InnerEditChanged(TObject* Sender) {
  if (FMode && InnerEdit()) FMaskedText = FMode->DisplayValueOf(VarToStr(InnerEdit()->EditValue()));
  TcxCustomTextEdit::InnerEditChanged(Sender);
}

std::string TcxCustomMaskEdit::WindowText() {
  return FMode && IsMasked() ? FMaskedText : TcxCustomTextEdit::WindowText();
}

bool TcxCustomMaskEdit::ApplyWindowText(const std::string& Text) {
  if (!IsMasked()) return TcxCustomTextEdit::ApplyWindowText(Text);
  AssignEditValueAndClick(Variant(Text));
  LockChangeEvents(true);
  ScopeExit unlock([this] { LockChangeEvents(false, false); });
  AssignEditValue(Variant(FMaskedText));
  return true;
}

void TcxCustomMaskEdit::ApplyDisplayValue(const Variant& Value) {
  if (!FMode || !IsMasked() || ComponentState().Contains(csLoading)) {
    TcxCustomTextEdit::ApplyDisplayValue(Value);
    return;
  }
  const std::string s = VarIsNull(Value) ? std::string() : VarToStr(Value);
  const bool standard = dynamic_cast<TcxMaskEditStandardMode*>(FMode.get()) != nullptr;
  const bool formatted = IsEditFocused() || !standard || ActiveMaskProperties()->AlwaysShowBlanksAndLiterals();
  TcxCustomTextEdit::ApplyDisplayValue(Variant(formatted ? FMode->FormatText(s) : FMode->DisplayValueOf(s)));
  FMode->SetModeText(GetText());
}

void TcxCustomMaskEdit::DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool AEditFocused) {
  if (!FMode || !IsMasked()) {
    TcxCustomTextEdit::DisplayValueToEditValue(DisplayValue, AEditValue, AEditFocused);
    return;
  }
  AEditValue = Variant(FMode->DisplayValueOf(VarIsNull(DisplayValue) ? std::string() : VarToStr(DisplayValue)));
}

void TcxCustomMaskEdit::UpdateTextFromEditValue() {
  TcxCustomTextEdit::UpdateTextFromEditValue();
  if (FMode && IsMasked()) FMode->SetModeText(GetText());
}

void TcxCustomMaskEdit::AssignSelStart(Integer Value) {
  TcxCustomTextEdit::AssignSelStart(Value);
  if (FMode) FMode->UpdateCaretSelection();
}

void TcxCustomMaskEdit::AssignSelLength(Integer Value) {
  TcxCustomTextEdit::AssignSelLength(Value);
  if (FMode) FMode->UpdateCaretSelection();
}

void TcxCustomMaskEdit::PasteFromClipboard() {
  if (!IsMasked()) {
    TcxCustomTextEdit::PasteFromClipboard();
    return;
  }
  if (!Clipboard()->HasFormat(CF_TEXT)) return;
  InsertText(Clipboard()->AsText());
}

void TcxCustomMaskEdit::InsertText(const std::string& Text) {
  if (!IsMasked()) {
    TcxCustomTextEdit::InsertText(Text);
    return;
  }
  // The inserted run overwrites as many positions as it has characters.
  FMode->SetPastedLength(static_cast<Integer>(Utf8CharCount(Text.substr(0, Text.find('\0')))));
  FMode->BeforePaste();
  TcxCustomTextEdit::InsertText(Text);
  FMode->RemaskPastedText();
}

void TcxCustomMaskEdit::CutToClipboard() {
  if (!IsMasked()) {
    TcxCustomTextEdit::CutToClipboard();
    return;
  }
  if (SelLength() <= 0) return;
  CopySelectionToClipboard();
  // A mode that leaves the deletion to the default handling gets it here: a
  // cut has no key whose default could remove the selection.
  if (FMode->EraseSelection()) SendKey(VK_DELETE);
}

void TcxCustomMaskEdit::DblClick() {
  if (IsMasked()) FMode->PrepareForSelectAll();
  TcxCustomTextEdit::DblClick();
}

void TcxCustomMaskEdit::DoEnter() {
  if (IsMasked() && ActiveProperties()->AutoSelect()) FMode->PrepareForSelectAll();
  TcxCustomTextEdit::DoEnter();
}

void TcxCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (!FSendingKey) TcxCustomTextEdit::KeyDown(Key, Shift);
}

void TcxCustomMaskEdit::KeyPress(char32_t& Key) {
  if (!FSendingKey) TcxCustomTextEdit::KeyPress(Key);
}

void TcxCustomMaskEdit::KeyUp(Word& Key, TShiftState Shift) {
  if (!FSendingKey) TcxCustomTextEdit::KeyUp(Key, Shift);
}

void TcxCustomMaskEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && IsMasked()) FMode->UpdateCaretSelection();
  TcxCustomTextEdit::MouseDown(Button, Shift, X, Y);
}

void TcxCustomMaskEdit::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (Shift.Contains(ssLeft) && IsMasked()) {
    auto held = FlagSet(FShiftHeld, true);
    FMode->UpdateCaretSelection();
  }
  TcxCustomTextEdit::MouseMove(Shift, X, Y);
}

void TcxCustomMaskEdit::Loaded() {
  TcxCustomTextEdit::Loaded();
  if (!IsMasked()) return;
  LockChangeEvents(true);
  ScopeExit unlock([this] { LockChangeEvents(false, false); });
  ReapplyText();
}

// --- keys ------------------------------------------------------------------------------------------------------

void TcxCustomMaskEdit::EditKeyDown(Word& Key, TShiftState Shift) {
  if (!IsMasked()) {
    TcxCustomTextEdit::EditKeyDown(Key, Shift);
    return;
  }
  if (!KeyDownAllowed(Key, Shift)) {
    ForwardUnusedKey(Key, Shift);
    Key = 0;
  }
  if (Key != 0 && Key != VK_TAB) {
    FShiftHeld = Shift.Contains(ssShift);
    const bool ctrl = Shift.Contains(ssCtrl);
    switch (Key) {
      case VK_UP:
      case VK_DOWN:
        if (!IsPopupShown()) {
          ForwardUnusedKey(Key, Shift);
          Key = 0;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT: {
        const bool left = Key == VK_LEFT;
        if (ctrl) {
          SendKey(left ? VK_HOME : VK_END);
          if (!(left ? FMode->MoveToStart() : FMode->MoveToEnd())) Key = 0;
        } else {
          const bool atBorder = left ? FMode->CaretAtFirstPosition() : FMode->CaretAtEnd();
          if (!(left ? FMode->MoveLeft() : FMode->MoveRight())) {
            if (atBorder) ForwardUnusedKey(Key, Shift);
            Key = 0;
          }
        }
        break;
      }
      case VK_DELETE:
        if (!Shift.Contains(ssShift)) {
          if (!FMode->EraseSelection()) Key = 0;
        } else if (SelLength() == 0) {
          if (!FMode->Backspace()) Key = 0;
        }
        break;
      case VK_HOME:
        if (!FMode->MoveToStart()) Key = 0;
        break;
      case VK_END:
        if (!FMode->MoveToEnd()) Key = 0;
        break;
      default:
        break;
    }
  }
  if (Key != 0) TcxCustomTextEdit::EditKeyDown(Key, Shift);
}

void TcxCustomMaskEdit::EditKeyPress(char32_t& Key) {
  if (!IsMasked()) {
    TcxCustomTextEdit::EditKeyPress(Key);
    return;
  }
  if (Key == 9 || Key == 27 || !KeyPressAllowed(Key)) {
    Key = 0;
    return;
  }
  if (Key == 13) return;
  if (Key == 3 || Key == 22 || Key == 24) {
    TcxCustomTextEdit::EditKeyPress(Key);
    return;
  }
  const bool pass = Key == 8 ? FMode->Backspace() : FMode->TypeChar(Key);
  if (!pass) Key = 0;
}

// --- properties changes ---------------------------------------------------------------------------------------

void TcxCustomMaskEdit::CompileOrClearMask(const std::string& Mask) {
  try {
    FMode->CompileMask(Mask);
  } catch (const EcxMaskEditError&) {
    ActiveMaskProperties()->StoreEditMask(std::string());
    FMode->CompileMask(std::string());
  }
}

void TcxCustomMaskEdit::PropertiesChanged(TObject* Sender) {
  if (!FMode) {
    TcxCustomTextEdit::PropertiesChanged(Sender);
    return;
  }
  TcxCustomMaskEditProperties* properties = ActiveMaskProperties();
  bool kindChanged = false, maskChanged = false, caseChanged = false, echoChanged = false;
  Integer savedSelStart = 0, savedSelLength = 0;
  {
    properties->SetChangeLock(true);
    // The lock goes whatever a mode raises, or the properties stay mute.
    ScopeExit unlock([properties] { properties->SetChangeLock(false); });
    const std::string mask = properties->EditMask();
    maskChanged = FMode->CompiledMask() != mask;
    kindChanged = FMode->MaskKindOfMode() != properties->MaskKind();
    caseChanged = properties->CharCase() != FMode->ModeCharCase();
    bool maskCleared = false;
    if (kindChanged) {
      const TcxEditMaskKind oldKind = FMode->MaskKindOfMode();
      std::unique_ptr<TcxMaskEditCustomMode> mode = properties->ModeClass(properties->MaskKind())->Create(this, properties);
      FMode.reset();
      if ((oldKind == emkStandard) != (properties->MaskKind() == emkStandard)) {
        // A mask of one syntax means nothing in the other.
        properties->StoreEditMask(std::string());
        maskCleared = true;
      }
      FMode = std::move(mode);
      const std::string current = properties->EditMask();
      CompileOrClearMask(current);
      if (!IsMaskEmpty(current)) FMode->SyncEditValueFromText();
      properties->SetEmptyMaskText(EmptyMaskedTextOfMode());
    }
    if (maskChanged) {
      properties->SetMaxLength(0);
      const Integer oldSelStart = SelStart();
      bool compiled = true;
      try {
        FMode->CompileMask(mask);
      } catch (const EcxMaskEditError&) {
        // A mask set together with an earlier kind that this kind's syntax
        // refuses: drop it as the kind change itself would have.
        compiled = false;
        properties->StoreEditMask(std::string());
        FMode->CompileMask(std::string());
      }
      if (compiled && maskCleared) properties->StoreEditMask(mask);
      if (compiled && !IsMaskEmpty(mask)) {
        FMode->SyncEditValueFromText();
      } else if (dynamic_cast<TcxMaskEditStandardMode*>(FMode.get()) && HandleAllocated() && SelLength() == 1) {
        // Unmasked again: no overwrite cursor.
        TcxCustomTextEdit::AssignSelLength(0);
        TcxCustomTextEdit::AssignSelStart(oldSelStart);
      }
      properties->SetEmptyMaskText(EmptyMaskedTextOfMode());
    }
    if (caseChanged) {
      if (properties->CharCase() == ecNormal) {
        if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->SetCharCase(ecNormal);
        FMode->SyncEditValueFromText();
      }
      FMode->SetModeCharCase(properties->CharCase());
    }
    echoChanged = properties->EchoMode() != FMode->ModeEchoMode();
    if (echoChanged && HandleAllocated()) {
      savedSelStart = SelStart();
      savedSelLength = SelLength();
    }
    if ((!InnerEdit() || !VarIsNull(EditValue())) && properties->IsMasked()) FMode->UpdateEditValueIfNeeded();
  }
  if (auto* regExprMode = dynamic_cast<TcxMaskEditRegExprMode*>(FMode.get())) regExprMode->ApplyCaseInsensitive();
  TcxCustomTextEdit::PropertiesChanged(Sender);
  if (echoChanged) {
    if (HandleAllocated()) {
      AssignSelStart(savedSelStart);
      AssignSelLength(savedSelLength);
    }
    FMode->SetModeEchoMode(properties->EchoMode());
  }
  if ((kindChanged || maskChanged || caseChanged) && InnerEdit())
    FMaskedText = FMode->DisplayValueOf(VarToStr(InnerEdit()->EditValue()));
}

// --- the published editor -------------------------------------------------------------------------------------

TcxMaskEdit::TcxMaskEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomMaskEdit(AOwner, AIsInplace, TextEditKind(TcxMaskEditProperties::StaticClass())) {}

void RegisterMaskEditClasses() {
  RegisterClasses({TcxMaskEditProperties::StaticClass(), TcxCustomMaskEdit::StaticClass(),
                   TcxMaskEdit::StaticClass(), TcxEditRepositoryMaskItem::StaticClass()});
  GetRegisteredEditProperties()->Register(TcxMaskEditProperties::StaticClass(),
                                          TranslateResourceString(scxSEditRepositoryMaskItem));
}
