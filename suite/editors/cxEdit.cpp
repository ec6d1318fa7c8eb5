#include "suite/editors/cxEdit.h"

#include "platform/forms/ActnList.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ModalCloseQuery.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"
#include "suite/editors/cxEditViewInfo.h"
#include "suite/foundation/cxVariants.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomEdit, TcxContainer)

VXN_PUBLISH(TcxCustomEdit) {
  using E = TcxCustomEdit;
  P.Property("RepositoryItem", &E::RepositoryItem, &E::SetRepositoryItem);
  P.Event("PropertiesEvents", &E::PropertiesEvents);
  P.Event("OnFocusChanged", static_cast<TNotifyEvent E::*>(&TcxControl::OnFocusChanged));
}

namespace {

// Every pair of the editor base is released by a scope, so that an
// exception out of validation or a handler leaves no lock held and no
// state on the stack.
class ModifiedStateScope {
 public:
  explicit ModifiedStateScope(TcxCustomEdit& edit) : edit_(edit) { edit_.PushModifiedState(); }
  ~ModifiedStateScope() { Pop(); }
  void Pop() {
    if (!pushed_) return;
    pushed_ = false;
    edit_.PopModifiedState();
  }
  ModifiedStateScope(const ModifiedStateScope&) = delete;
  ModifiedStateScope& operator=(const ModifiedStateScope&) = delete;

 private:
  TcxCustomEdit& edit_;
  bool pushed_ = true;
};

// Change events held back for a scope. Unlock fires what was held back;
// left by an exception, the lock is released without firing it.
class ChangeEventsScope {
 public:
  explicit ChangeEventsScope(TcxCustomEdit& edit) : edit_(edit) { edit_.LockChangeEvents(true); }
  ~ChangeEventsScope() {
    if (locked_) edit_.LockChangeEvents(false, false);
  }
  void Unlock(bool InvokePending) {
    if (!locked_) return;
    locked_ = false;
    edit_.LockChangeEvents(false, InvokePending);
  }
  ChangeEventsScope(const ChangeEventsScope&) = delete;
  ChangeEventsScope& operator=(const ChangeEventsScope&) = delete;

 private:
  TcxCustomEdit& edit_;
  bool locked_ = true;
};

template <void (TcxCustomEdit::*Lock)(bool)>
class LockScope {
 public:
  explicit LockScope(TcxCustomEdit& edit) : edit_(edit) { (edit_.*Lock)(true); }
  ~LockScope() { (edit_.*Lock)(false); }
  LockScope(const LockScope&) = delete;
  LockScope& operator=(const LockScope&) = delete;

 private:
  TcxCustomEdit& edit_;
};

using ClickLockScope = LockScope<&TcxCustomEdit::LockClick>;
using EditValueLockScope = LockScope<&TcxCustomEdit::LockEditValueChanging>;

// An unlock never takes a count below zero.
void StepLockCount(Integer& count, bool lock) {
  if (lock)
    ++count;
  else if (count > 0)
    --count;
}

// Sets a flag until the returned scope ends.
auto FlagForScope(bool& flag, bool value) {
  const bool old = flag;
  flag = value;
  return ScopeExit([&flag, old] { flag = old; });
}

}  // namespace

// --- change-events catcher ----------------------------------------------------

void TcxEditChangeEventsCatcher::Lock() {
  if (FLockCount++ == 0) {
    OnChangeEvent = false;
    OnEditValueChangedEvent = false;
  }
}

void TcxEditChangeEventsCatcher::Unlock(bool InvokePending) {
  if (FLockCount <= 0) return;
  --FLockCount;
  if (FLockCount > 0 || !InvokePending || FEdit->IsLoadingOrDestroying()) return;
  if (OnChangeEvent) {
    OnChangeEvent = false;
    if (FEdit->HasOnChange()) FEdit->FireOnChange();
  }
  if (OnEditValueChangedEvent) {
    OnEditValueChangedEvent = false;
    if (FEdit->HasOnEditValueChanged()) FEdit->FireOnEditValueChanged();
  }
}

// --- in-place edit data ----------------------------------------------------------

TcxCustomEditData::TcxCustomEditData(TcxCustomEdit* AEdit) : FEdit(AEdit) {
  FFreeNotificator = std::make_unique<TcxFreeNotificator>(nullptr);
  FFreeNotificator->OnFreeNotification = TNotifyEvent(this, &TcxCustomEditData::EditFreed);
  if (FEdit) FFreeNotificator->AddSender(FEdit);
}

TcxCustomEditData::~TcxCustomEditData() {
  if (FEdit) FFreeNotificator->RemoveSender(FEdit);
  FFreeNotificator->OnFreeNotification = nullptr;
}

void TcxCustomEditData::EditFreed(TObject* Sender) {
  if (Sender == FEdit) FEdit = nullptr;
}

// --- construction -------------------------------------------------------------------

TcxCustomEdit::TcxCustomEdit(TComponent* AOwner, bool AIsInplace) : TcxCustomEdit(AOwner, AIsInplace, {}) {}

TcxCustomEdit::TcxCustomEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind)
    : TcxContainer(AOwner, &CreateContainerStyles<TcxContainerStyles>, AKind.StyleClass,
                   AKind.ViewInfoClass ? AKind.ViewInfoClass : &CreateContainerViewInfo<TcxCustomEditViewInfo>),
      FKind(AKind),
      FIsInplace(AIsInplace) {
  SetConstructing(true);
  ScopeExit constructed([this] { SetConstructing(false); });
  InitializeEdit();
}

void TcxCustomEdit::InitializeEdit() {
  FChangeEventsCatcher = std::make_unique<TcxEditChangeEventsCatcher>(this);
  FProperties = CreateEditProperties(PropertiesClass(), this);
  ControlStyle += csCaptureMouse;
  ControlStyle += csSetCaption;
  ControlStyle += csReplicatable;
  SetTabStop(true);
  FDataBinding = DataBindingClass()(this);
  SetAutoSize(!IsInplace());
  FEditValue = Null();
  FProperties->OnPropertiesChanged = PropertiesChangedHandler();
  // Without an inner edit the editor itself must see Tab in place.
  if (IsInplace()) SetWantedKeys(TcxWantedKeys{wkAll, wkArrows, wkTab});
  if (!IsInplace()) FProperties->SetDefaultValuesProvider(FDataBinding->IDefaultValuesProvider());
}

void TcxCustomEdit::BeforeDestruction() {
  FDestroying = true;
  TcxContainer::BeforeDestruction();
}

TcxCustomEdit::~TcxCustomEdit() {
  FDestroying = true;
  if (FRepositoryItem) {
    FRepositoryItem->RemoveListener(this);
    RemoveFreeNotification(FRepositoryItem);
    FRepositoryItem = nullptr;
  }
  FProperties->OnPropertiesChanged = nullptr;
  if (!IsInplace()) FProperties->ReleaseDefaultValuesProvider();
  FDataBinding.reset();
  FModifiedStates.clear();
  FProperties.reset();
  FChangeEventsCatcher.reset();
}

bool TcxCustomEdit::IsEditDestroying() const {
  return FDestroying || IsBeingDestroyed() || ComponentState().Contains(csDestroying);
}

bool TcxCustomEdit::IsLoadingOrDestroying() const {
  return IsEditDestroying() || ComponentState().Contains(csLoading);
}

TNotifyEvent TcxCustomEdit::PropertiesChangedHandler() {
  return TNotifyEvent(this, static_cast<void (TcxCustomEdit::*)(TObject*)>(&TcxCustomEdit::PropertiesChanged));
}

// --- properties ----------------------------------------------------------------------

TcxCustomEditProperties* TcxCustomEdit::ActiveProperties() {
  if (!FRepositoryItem) return FProperties.get();
  TcxCustomEditProperties* shared = FRepositoryItem->Properties();
  // A shared object resolves unassigned values from whichever editor asks.
  shared->SetDefaultValuesProvider(FDataBinding->IDefaultValuesProvider());
  return shared;
}

void TcxCustomEdit::PropertiesChanged(TObject*) {
  FValidated = false;
  SetInnerEditReadOnly(IsReadOnly());
  if (FModifiedAfterEnter && IsReadOnly()) SetEditingModified(false);
  if (ActiveProperties()->Transparent()) FTransparent = true;
  RecalculateAtCursor();
}

bool TcxCustomEdit::IsReadOnly() { return ActiveProperties()->ReadOnly() || !FDataBinding->IsDataAvailable(); }

bool TcxCustomEdit::IsDataAware() { return FDataBinding->IDefaultValuesProvider()->IsDataAware(); }

std::string TcxCustomEdit::CurrentDisplayText() {
  std::string text;
  DisplayTextOfValue(text);
  return text;
}

// --- repository link --------------------------------------------------------------------

bool TcxCustomEdit::IsRepositoryItemAcceptable(TcxEditRepositoryItem* Item) {
  return !Item || Item->Properties()->InheritsFrom(PropertiesClass());
}

void TcxCustomEdit::SetRepositoryItem(TcxEditRepositoryItem* Value) {
  if (Value == FRepositoryItem) return;
  if (!IsRepositoryItemAcceptable(Value))
    throw Exception(TranslateResourceString(cxSEditRepositoryItemNotAcceptable));
  RepositoryItemChanging();
  if (FRepositoryItem) {
    FRepositoryItem->RemoveListener(this);
    RemoveFreeNotification(FRepositoryItem);
  }
  FRepositoryItem = Value;
  if (FRepositoryItem) {
    FRepositoryItem->AddListener(this);
    FreeNotification(FRepositoryItem);
    FProperties->ReleaseDefaultValuesProvider();
    FProperties->OnPropertiesChanged = nullptr;
    if (!IsLoadingOrDestroying()) PropertiesChanged(FRepositoryItem->Properties());
  } else if (!IsEditDestroying()) {
    if (!ComponentState().Contains(csLoading))
      FProperties->OnPropertiesChanged = PropertiesChangedHandler();
    FProperties->SetDefaultValuesProvider(FDataBinding->IDefaultValuesProvider());
  }
  RepositoryItemChanged();
}

void TcxCustomEdit::ItemRemoved(TcxEditRepositoryItem* Sender) {
  if (Sender != FRepositoryItem) return;
  // The item is going: the editor works with its own properties again, their
  // handler and provider back and its layout recomputed, not merely without
  // the reference.
  if (!IsEditDestroying()) {
    SetRepositoryItem(nullptr);
    return;
  }
  FRepositoryItem->RemoveListener(this);
  RemoveFreeNotification(FRepositoryItem);
  FRepositoryItem = nullptr;
}

void TcxCustomEdit::PropertiesChanged(TcxEditRepositoryItem* Sender) {
  if (!IsLoadingOrDestroying()) PropertiesChanged(static_cast<TObject*>(Sender->Properties()));
}

void TcxCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TcxContainer::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FRepositoryItem) SetRepositoryItem(nullptr);
}

// --- event dispatch ------------------------------------------------------------------------

bool TcxCustomEdit::HasOnChange() {
  return FProperties->OnChange || (FRepositoryItem && ActiveProperties()->OnChange);
}

bool TcxCustomEdit::HasOnEditValueChanged() {
  return FProperties->OnEditValueChanged || (FRepositoryItem && ActiveProperties()->OnEditValueChanged);
}

void TcxCustomEdit::FireOnChange() {
  FProperties->OnChange(this);
  if (FRepositoryItem) ActiveProperties()->OnChange(this);
}

void TcxCustomEdit::FireOnEditValueChanged() {
  FProperties->OnEditValueChanged(this);
  if (FRepositoryItem) ActiveProperties()->OnEditValueChanged(this);
}

void TcxCustomEdit::FireButtonClick(Integer AIndex) {
  FProperties->OnButtonClick(this, AIndex);
  if (FRepositoryItem) ActiveProperties()->OnButtonClick(this, AIndex);
}

void TcxCustomEdit::FireOnValidate(Variant& DisplayValue, std::string& ErrorText, bool& Error) {
  FProperties->OnValidate(this, DisplayValue, ErrorText, Error);
  if (FRepositoryItem) ActiveProperties()->OnValidate(this, DisplayValue, ErrorText, Error);
}

void TcxCustomEdit::NotifyPopupClosed(Integer AReason) {
  FProperties->OnClosePopup(this, AReason);
  if (FRepositoryItem) ActiveProperties()->OnClosePopup(this, AReason);
}

template <typename Fire>
void TcxCustomEdit::FireAsModified(Fire fire) {
  if (!IsInplace()) {
    fire();
    return;
  }
  ModifiedStateScope pushed(*this);
  FModified = true;
  FModifiedAfterEnter = true;
  fire();
}

void TcxCustomEdit::NotifyChange() {
  if (IsLoadingOrDestroying()) return;
  if (HasOnChange()) {
    if (FChangeEventsCatcher->IsLocked())
      FChangeEventsCatcher->OnChangeEvent = true;
    else
      FireAsModified([this] { FireOnChange(); });
  }
  TcxCustomEditProperties* active = ActiveProperties();
  if (!active->HasSeparateChangeEvents() && !active->ComparesEditValues()) NotifyEditValueChanged();
}

void TcxCustomEdit::NotifyEditValueChanged() {
  if (IsLoadingOrDestroying() || !HasOnEditValueChanged()) return;
  if (FChangeEventsCatcher->IsLocked())
    FChangeEventsCatcher->OnEditValueChangedEvent = true;
  else
    FireAsModified([this] { FireOnEditValueChanged(); });
}

void TcxCustomEdit::InnerEditChanged(TObject*) {
  if (Focused()) SetEditingModified(true);
  NotifyChange();
}

void TcxCustomEdit::LockChangeEvents(bool ALock, bool AInvokePending) {
  if (ALock)
    FChangeEventsCatcher->Lock();
  else
    FChangeEventsCatcher->Unlock(AInvokePending);
}

void TcxCustomEdit::LockClick(bool ALock) { StepLockCount(FClickLockCount, ALock); }

void TcxCustomEdit::LockEditValueChanging(bool ALock) { StepLockCount(FEditValueChangingLockCount, ALock); }

void TcxCustomEdit::Click() {
  if (IsEditDestroying() || FClickLockCount > 0) return;
  if (ComponentState().Contains(csLoading) && !AllowsClickWhileLoading()) return;
  TcxContainer::Click();
}

// --- modified flags ---------------------------------------------------------------------------

void TcxCustomEdit::SetModifiedState(bool Value) {
  FModified = Value;
  if (!Value) FModifiedAfterEnter = false;
}

void TcxCustomEdit::SetEditingModified(bool Value) {
  FModifiedAfterEnter = Value;
  if (Value) {
    FValidated = false;
    FModified = true;
  }
}

void TcxCustomEdit::PushModifiedState() { FModifiedStates.emplace_back(FModified, FModifiedAfterEnter); }

void TcxCustomEdit::PopModifiedState() {
  if (FModifiedStates.empty()) return;
  FModified = FModifiedStates.back().first;
  FModifiedAfterEnter = FModifiedStates.back().second;
  FModifiedStates.pop_back();
}

void TcxCustomEdit::MarkModifiedAndClick() {
  SetEditingModified(true);
  Click();
}

// --- editing permission ---------------------------------------------------------------------

bool TcxCustomEdit::QueryEditing() {
  if (!EditingEnabled()) return false;
  if (FDataBinding->Modified()) return true;
  auto inProgress = FlagForScope(FQueryEditingInProgress, true);
  bool result = CanModifyValue();
  // Assignments from the handlers are ignored, so they cannot recurse.
  EditValueLockScope locked(*this);
  if (result && OnEditing) OnEditing(this, result);
  if (!IsInplace() && result) result = FDataBinding->BeginEdit();
  return result;
}

bool TcxCustomEdit::CanModifyValue() {
  TcxCustomEditProperties* active = ActiveProperties();
  if (IsInplace()) return active->CanModify();
  if (active->AssignedValues()->ReadOnly()) return !active->ReadOnly();
  return FDataBinding->IDefaultValuesProvider()->DefaultCanModify() && FDataBinding->CanCheckEditorValue();
}

// --- assigning the value -------------------------------------------------------------------------

bool VarEqualsSameType(const Variant& A, const Variant& B) {
  return VarType(A) == VarType(B) && VariantsCompareEqual(A, B);
}

void TcxCustomEdit::AssignEditValue(const Variant& Value) {
  if (FEditValueChangingLockCount > 0) return;
  ClickLockScope noClick(*this);
  // ApplyEditValue asks QueryEditing while the user changes the value.
  ApplyEditValue(Value);
}

void TcxCustomEdit::AssignEditValueAndClick(const Variant& Value) {
  if (FEditValueChangingLockCount > 0) return;
  ApplyEditValue(Value);
}

void TcxCustomEdit::ApplyEditValue(const Variant& Value) {
  if (FUserChanging && !QueryEditing()) return;
  TcxCustomEditProperties* active = ActiveProperties();
  const bool changed = active->ComparesEditValues() && !VarEqualsSameType(FEditValue, Value);
  FEditValue = Value;
  UpdateTextFromEditValue();
  if (FUserChanging)
    SetEditingModified(true);
  else
    SetModifiedState(false);
  if (!changed) return;
  NotifyEditValueChanged();
  if (!ActiveProperties()->HasSeparateChangeEvents()) NotifyChange();
}

void TcxCustomEdit::ApplyValidatedDisplayValue(const Variant& Value) {
  ModifiedStateScope pushed(*this);
  ApplyDisplayValue(Value);
}

// --- validation -------------------------------------------------------------------------------------

bool TcxCustomEdit::ValidateDisplayText(bool ReportError) {
  if (!FModifiedAfterEnter || FValidated) return true;
  const Variant typed(CurrentDisplayText());
  Variant value = typed;
  std::string errorText;
  bool error = false;
  TcxCustomEditProperties* active = ActiveProperties();
  if (active->ValidatesDisplayValue()) active->ValidateDisplayValue(value, errorText, error, this);
  if (error) {
    // Whatever the report does, the editor shows what the handler left in
    // the display value, selected.
    ScopeExit show([this, &value] {
      if (VarToStr(value) == CurrentDisplayText()) return;
      SetInnerEditValue(value);
      if (!Visible()) return;
      SelectWholeText();
      if (!InnerEditVisible()) RefreshDrawnText();
    });
    if (ReportError) {
      ReportInvalidInput(errorText);
      if (Application) Application->ProcessMessages();
    }
    return false;
  }
  if (FUserChanging && !QueryEditing()) {
    // Refused: the text of the value stays on screen, not the typed one.
    UpdateTextFromEditValue();
    return true;
  }
  ApplyValidatedDisplayValue(value);
  if (!IsInplace() && !Focused()) SetEditingModified(false);
  FValidated = true;
  return true;
}

void TcxCustomEdit::ValidateInput() {
  if (!ValidateDisplayText(true)) return;
  UpdateTextFromEditValue();
  FValidated = true;
}

void TcxCustomEdit::ReportInvalidInput(const std::string& Text) {
  if (!Focused() && Showing() && CanFocus()) {
    auto reporting = FlagForScope(FFocusingForReport, true);
    TWinControl* inner = InnerControl();
    if (inner && inner->CanFocus())
      inner->SetFocus();
    else
      SetFocus();
  }
  if (Visible()) SelectWholeText();
  if (ActiveProperties()->BeepOnError()) win::MessageBeep(0);
  if (!Text.empty()) throw Exception(Text);
}

// --- posting and reset ---------------------------------------------------------------------------------

bool TcxCustomEdit::CanPostEditValue() { return FDataBinding->Modified() && !IsDesigning(); }

void TcxCustomEdit::PostEditValue(bool ValidateFirst) {
  if (ValidateFirst) {
    auto notUser = FlagForScope(FUserChanging, false);
    if (!ValidateDisplayText(true)) return;
  }
  try {
    BeginPosting();
    ScopeExit ended([this] { EndPosting(); });
    if (IsInplace()) {
      OnPostEditValue(this);
      SetModifiedState(false);
    } else {
      FDataBinding->WriteValue(EditValue());
    }
  } catch (...) {
    if (IsInplace()) {
      // The host refused the value: it stays modified, nothing is posted.
      if (ActiveProperties()->BeepOnError()) win::MessageBeep(0);
      return;
    }
    ReportInvalidInput({});
    throw;
  }
}

void TcxCustomEdit::ResetEditValue() {
  TcxCustomEditProperties* active = ActiveProperties();
  if (!FModifiedAfterEnter || !active->IsResettable()) return;
  {
    ChangeEventsScope held(*this);
    FModifiedAfterEnter = false;
    Variant value;
    if (IsDataAware())
      FDataBinding->StoredValue(value);
    else
      value = FSavedEditValue;
    AssignEditValueAndClick(value);
    held.Unlock(true);
  }
  SetModifiedState(true);
  SelectWholeText();
  if (ActiveProperties()->ImmediatePost() && CanPostEditValue()) PostEditValue(false);
}

// --- entering and leaving ---------------------------------------------------------------------------------

void TcxCustomEdit::DoEnter() {
  if (IsEditDestroying()) return;
  if (!FFocusingForReport) {
    PushModifiedState();
    ScopeExit entered([this] {
      PopModifiedState();
      FModifiedAfterEnter = false;
    });
    TcxContainer::DoEnter();
    if (RefreshesOnExit()) FDataBinding->UpdateDisplayValue();
    if (ActiveProperties()->IsResettable()) FSavedEditValue = EditValue();
    if (RefreshesOnExit()) UpdateTextFromEditValue();
  }
  RecalculateAtCursor();
}

void TcxCustomEdit::DoExit() {
  auto notUser = FlagForScope(FUserChanging, false);
  ExitProcessing(true);
}

void TcxCustomEdit::ExitProcessing(bool CallDoExit) {
  if (IsEditDestroying() || FFocusingForReport) return;
  ModifiedStateScope pushed(*this);
  if (FModifiedAfterEnter) {
    ChangeEventsScope held(*this);
    if (!ValidateDisplayText(true)) {
      held.Unlock(true);
      return;
    }
    if (!IsInplace() && CanPostEditValue()) PostEditValue(false);
    held.Unlock(true);
  }
  if (RefreshesOnExit()) FDataBinding->UpdateDisplayValue();
  RefreshDrawnText();
  RecalculateAtCursor();
  pushed.Pop();
  if (CallDoExit) TcxContainer::DoExit();
  FModifiedAfterEnter = false;
}

void TcxCustomEdit::FocusChanged() {
  if (IsEditDestroying() || FFocusingForReport) return;
  const bool focused = Focused() && Application && Application->Active();
  if (focused == FLastFocusState) return;
  FLastFocusState = focused;
  TcxContainer::FocusChanged();
  RefreshDrawnText();
  TForm* form = GetParentForm(this);
  if (form && !form->Visible() && form->Modal() && form->ModalResult() != mrNone && form->ModalResult() != mrCancel)
    ValidateDisplayText(false);
}

// --- life cycle ------------------------------------------------------------------------------------------

void TcxCustomEdit::Loaded() {
  TcxContainer::Loaded();
  ChangeEventsScope held(*this);
  {
    ClickLockScope noClick(*this);
    FDataBinding->UpdateNotConnectedState();
    RecalculateAtCursor();
    if (!FRepositoryItem) FProperties->OnPropertiesChanged = PropertiesChangedHandler();
    PropertiesChanged(ActiveProperties());
    ViewInfo()->ShadowOn = false;
    SyncControlWithStyle(Style());
  }
  // What was recorded while loading is dropped.
  held.Unlock(false);
}

void TcxCustomEdit::WndProc(TMessage& Message) {
  if (Message.Msg != CM_QUERYMODALCLOSE) {
    TcxContainer::WndProc(Message);
    return;
  }
  // The form closes with OK while it is still shown: typed text is checked
  // here, reported, and an invalid one keeps the form open (after the form
  // has hidden, the focus notice could only apply it silently).
  Message.Result = 0;
  try {
    if (!ValidateDisplayText(true)) Message.Result = 1;
  } catch (...) {
    Message.Result = 1;
    if (Application) Application->HandleException(this);
  }
}

void TcxCustomEdit::ReadState(TReader& Reader) {
  FProperties->OnPropertiesChanged = nullptr;
  TcxContainer::ReadState(Reader);
}

void TcxCustomEdit::SetName(const std::string& NewName) {
  TcxContainer::SetName(NewName);
  if (FDataBinding) FDataBinding->UpdateNotConnectedState();
}

void TcxCustomEdit::SetParent(TWinControl* AParent) {
  TcxContainer::SetParent(AParent);
  if (!AParent || !FFirstParenting || IsEditDestroying() || !FDataBinding) return;
  FFirstParenting = false;
  PropertiesChanged(FProperties.get());
  FDataBinding->UpdateDisplayValue();
  FDataBinding->UpdateNotConnectedState();
}

bool TcxCustomEdit::ExecuteAction(TBasicAction* Action) { return FDataBinding->ExecuteActionHook(Action); }

bool TcxCustomEdit::UpdateAction(TBasicAction* Action) { return FDataBinding->UpdateActionHook(Action); }

// --- shared routines ------------------------------------------------------------------------------------

bool IsBlankChar(char32_t Ch) { return Ch == 0 || Ch == 9 || Ch == 10 || Ch == 12 || Ch == 13 || Ch == U' '; }

TComponent* GetOwnerComponent(TPersistent* APersistent) {
  for (TPersistent* p = APersistent; p; p = p->GetOwner())
    if (auto* component = dynamic_cast<TComponent*>(p)) return component;
  return nullptr;
}

void SendKeyDownToEdit(TcxCustomEdit* AEdit, Word Key) { win::SendMessage(AEdit->Handle(), win::WM_KEYDOWN, Key, 0); }

void SendCharToEdit(TcxCustomEdit* AEdit, char32_t Ch) { win::SendMessage(AEdit->Handle(), win::WM_CHAR, Ch, 0); }

TShiftState MouseButtonToShift(TMouseButton Button) {
  switch (Button) {
    case mbLeft: return TShiftState{ssLeft};
    case mbRight: return TShiftState{ssRight};
    default: return TShiftState{ssMiddle};
  }
}

TShiftState OptionalMouseButtonToShift(Integer AButton) {
  switch (AButton) {
    case cxmbLeft: return TShiftState{ssLeft};
    case cxmbRight: return TShiftState{ssRight};
    case cxmbMiddle: return TShiftState{ssMiddle};
    default: return TShiftState{};
  }
}

win::WPARAM ShiftStateToMouseKeys(TShiftState Shift) {
  win::WPARAM keys = 0;
  if (Shift.Contains(ssShift)) keys |= win::MK_SHIFT;
  if (Shift.Contains(ssCtrl)) keys |= win::MK_CONTROL;
  if (Shift.Contains(ssLeft)) keys |= win::MK_LBUTTON;
  if (Shift.Contains(ssRight)) keys |= win::MK_RBUTTON;
  if (Shift.Contains(ssMiddle)) keys |= win::MK_MBUTTON;
  return keys;
}

bool IsRegionEmpty(win::HRGN ARegion) {
  win::RECT box{};
  win::GetRgnBox(ARegion, &box);
  return box.right <= box.left || box.bottom <= box.top;
}

void UniteRegions(win::HRGN ARegion, win::HRGN ARegion2) { win::CombineRgn(ARegion, ARegion, ARegion2, win::RGN_OR); }

void RegisterEditClasses() { RegisterClasses({TcxCustomEdit::StaticClass()}); }
