#include "suite/editors/cxEdit.h"

#include <algorithm>
#include <map>
#include <optional>

#include "platform/forms/ActnList.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/ModalCloseQuery.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Clipboard.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxEditViewInfo.h"
#include "suite/foundation/cxTimer.h"
#include "suite/foundation/cxVariants.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxCustomEdit, TcxContainer)

VXN_PUBLISH(TcxCustomEdit) {
  using E = TcxCustomEdit;
  // The height is known only once the editor has a window; an auto-sizing
  // editor computes its height, and its width too with auto-width buttons.
  P.Property("Height", &E::GetEditHeight, &TControl::SetHeight).Stored(&E::IsHeightStored);
  P.Redeclare("Width").Stored(&E::IsWidthStored);
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

// The characters a key already queued for a window; a quit request met on
// the way is queued again for the message loop.
void DropQueuedChars(win::HWND Wnd) {
  win::MSG msg;
  while (win::PeekMessage(&msg, Wnd, win::WM_CHAR, win::WM_CHAR, win::PM_REMOVE))
    if (msg.message == win::WM_QUIT) {
      win::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
}

// The view info an editor keeps is the one its properties' view data fill;
// a kind that names none gets its properties class's.
TcxContainerViewInfoClass KindViewInfoClass(const TcxCustomEditKind& AKind) {
  if (AKind.ViewInfoClass) return AKind.ViewInfoClass;
  return CreateEditProperties(AKind.PropertiesClass, nullptr)->ViewInfoClass();
}

// The editors whose inner window is subclassed, by that window.
std::map<win::HWND, TcxCustomEdit*>& SubclassedInnerWindows() {
  static std::map<win::HWND, TcxCustomEdit*> windows;
  return windows;
}

win::LRESULT InnerEditWindowProc(win::HWND Wnd, win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam) {
  auto& windows = SubclassedInnerWindows();
  auto it = windows.find(Wnd);
  if (it == windows.end()) return win::DefWindowProc(Wnd, Msg, WParam, LParam);
  TMessage message{Msg, WParam, LParam, 0};
  it->second->CallInnerWindowProc(message);
  return message.Result;
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
    : TcxContainer(AOwner, &CreateContainerStyles<TcxContainerStyles>, AKind.StyleClass, KindViewInfoClass(AKind)),
      FKind(AKind),
      FIsInplace(AIsInplace) {
  SetConstructing(true);
  ScopeExit constructed([this] { SetConstructing(false); });
  InitializeEdit();
}

void TcxCustomEdit::InitializeEdit() {
  FChangeEventsCatcher = std::make_unique<TcxEditChangeEventsCatcher>(this);
  FProperties = CreateEditProperties(PropertiesClass(), this);
  {
    // In place, every layout starts from what a fresh view data computes.
    std::unique_ptr<TcxCustomEditViewData> fresh =
        FProperties->CreateViewData(dynamic_cast<TcxCustomEditStyle*>(Style()), IsInplace(), false);
    FInplaceLayout = fresh->ContentParams;
    FInplaceLayoutValid = true;
  }
  ControlStyle += csCaptureMouse;
  ControlStyle += csSetCaption;
  SetTabStop(true);
  CreateInnerEdit();
  if (FInnerEdit) {
    SetupInnerEdit();
    SetInnerControl(FInnerEdit->Control());
  }
  FInnerEditPending = false;
  ControlStyle += csReplicatable;
  if (FInnerEdit) FInnerEdit->Control()->ControlStyle += csReplicatable;
  FDataBinding = DataBindingClass()(this);
  SetAutoSize(!IsInplace());
  FEditValue = Null();
  FProperties->OnPropertiesChanged = PropertiesChangedHandler();
  // Without an inner edit the editor itself must see Tab in place.
  if (IsInplace())
    SetWantedKeys(FInnerEdit ? TcxWantedKeys{wkAll, wkArrows} : TcxWantedKeys{wkAll, wkArrows, wkTab});
  FDblClickTimer = std::make_unique<TcxTimer>(nullptr);
  FDblClickTimer->SetEnabled(false);
  FDblClickTimer->SetInterval(win::GetDoubleClickTime());
  FDblClickTimer->SetOnTimer(TNotifyEvent(this, &TcxCustomEdit::DblClickTimeOut));
  if (!IsInplace()) FProperties->SetDefaultValuesProvider(FDataBinding->IDefaultValuesProvider());
}

void TcxCustomEdit::DblClickTimeOut(TObject*) { FDblClickTimer->SetEnabled(false); }

void TcxCustomEdit::BeforeDestruction() {
  FDestroying = true;
  TcxContainer::BeforeDestruction();
}

TcxCustomEdit::~TcxCustomEdit() {
  FDestroying = true;
  FDblClickTimer.reset();
  if (FRepositoryItem) {
    FRepositoryItem->RemoveListener(this);
    RemoveFreeNotification(FRepositoryItem);
    FRepositoryItem = nullptr;
  }
  // The inner edit goes before the components the editor owns.
  RestoreInnerEditWindowProc();
  FInnerEdit = nullptr;
  SetInnerControl(nullptr);
  FInnerEditObject.reset();
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
  if (!FInnerEditPending) SetInnerEditReadOnly(IsReadOnly());
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
  TcxCustomEditViewInfo* vi = EditViewInfo();
  const Integer index = AIndex >= 0 && AIndex < vi->ButtonCount() ? vi->Button(AIndex)->ButtonIndex : AIndex;
  FProperties->OnButtonClick(this, index);
  if (FRepositoryItem) ActiveProperties()->OnButtonClick(this, index);
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
  switch (Message.Msg) {
    case CM_QUERYMODALCLOSE:
      // The form closes with OK while it is still shown: typed text is
      // checked here, reported, and an invalid one keeps the form open (after
      // the form has hidden, the focus notice could only apply it silently).
      Message.Result = 0;
      try {
        if (!ValidateDisplayText(true)) Message.Result = 1;
      } catch (...) {
        Message.Result = 1;
        if (Application) Application->HandleException(this);
      }
      return;
    case win::WM_COPY:
      CopySelectionToClipboard();
      return;
    case win::WM_CUT: {
      auto user = FlagForScope(FUserChanging, true);
      // A read-only editor gives a copy and keeps its text.
      if (IsReadOnly())
        CopySelectionToClipboard();
      else
        CutToClipboard();
      return;
    }
    case win::WM_PASTE:
      if (!IsReadOnly()) {
        auto user = FlagForScope(FUserChanging, true);
        PasteFromClipboard();
      }
      return;
    case CM_DIALOGCHAR: {
      TcxCustomEditViewInfo* vi = EditViewInfo();
      for (Integer i = 0; i < vi->ButtonCount(); ++i) {
        TcxEditButtonViewInfo* button = vi->Button(i);
        if (button->State != ebbsDisabled && IsAccel(Message.WParam, button->Caption)) {
          FireButtonClick(i);
          Message.Result = 1;
          return;
        }
      }
      break;
    }
    case CM_SHOWINGCHANGED:
      TcxContainer::WndProc(Message);
      if (Showing()) AlignInnerControl();
      return;
    case win::WM_NCCALCSIZE:
      // The window region changes while the frame is refreshed; the client
      // area stays the whole window.
      if (FRefreshingFrame) {
        Message.Result = 0;
        return;
      }
      break;
    default:
      break;
  }
  TcxContainer::WndProc(Message);
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

// --- keys -------------------------------------------------------------------------------------------

bool TcxCustomEdit::IsClickKey(Word Key, TShiftState Shift) {
  return DefaultButtonIndex() != -1 && ShortCut(Key, Shift) == ActiveProperties()->ClickKey();
}

void TcxCustomEdit::KeyDown(Word& Key, TShiftState Shift) {
  FEscapeHandled = false;
  // The click key belongs to the default button alone.
  if (!IsClickKey(Key, Shift)) TcxContainer::KeyDown(Key, Shift);
  if (Key != 0) EditKeyDown(Key, Shift);
}

bool TcxCustomEdit::KeyDownAllowed(Word Key, TShiftState Shift) {
  return FDataBinding->Modified() || !IsEditingKey(Key, Shift) || QueryEditing();
}

void TcxCustomEdit::ForwardUnusedKey(Word& Key, TShiftState Shift) {
  if (OnUnusedKey) OnUnusedKey(this, Key, Shift);
}

void TcxCustomEdit::EditKeyDown(Word& Key, TShiftState Shift) {
  TcxCustomEditProperties* active = ActiveProperties();
  const TShortCut shortCut = ShortCut(Key, Shift);
  if (shortCut == active->ClearKey()) {
    {
      auto user = FlagForScope(FUserChanging, true);
      AssignEditValueAndClick(Null());
    }
    FValidated = true;
    Key = 0;
    return;
  }
  if (DefaultButtonIndex() != -1 && shortCut == active->ClickKey()) {
    // The character of the click key must not reach the text.
    if (HandleAllocated()) DropQueuedChars(Handle());
    if (FInnerEdit && FInnerEdit->Control()->HandleAllocated()) DropQueuedChars(FInnerEdit->Control()->Handle());
    ClickDefaultButton();
    Key = 0;
    return;
  }
  if (!KeyDownAllowed(Key, Shift)) {
    ForwardUnusedKey(Key, Shift);
    Key = 0;
    return;
  }
  switch (Key) {
    case win::VK_TAB:
      if (Focused() && !Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) && !active->WantsTabs()) {
        BeforeTabNavigation(Shift);
        ForwardUnusedKey(Key, Shift);
        if (Key == 0) return;
        Key = 0;
        if (TForm* form = GetParentForm(this))
          form->SelectNext(form->ActiveControl(), !Shift.Contains(ssShift), true);
        if (HandleAllocated() && FInnerEdit && win::GetFocus() == Handle()) FInnerEdit->Control()->SetFocus();
      }
      return;
    case win::VK_RETURN:
      if (active->ValidateOnEnter()) {
        Key = 0;
        // A failed validation or write leaves no lock behind.
        ChangeEventsScope held(*this);
        if (ValidateDisplayText(true) && CanPostEditValue()) PostEditValue(false);
        held.Unlock(true);
      }
      return;
    case win::VK_ESCAPE:
      if (FModifiedAfterEnter) {
        ResetEditValue();
        FEscapeHandled = true;
        Key = 0;
      }
      return;
    default:
      if (!HandlesNavigationKeys() && Key >= win::VK_PRIOR && Key <= win::VK_DOWN) {
        ForwardUnusedKey(Key, Shift);
        Key = 0;
      }
      return;
  }
}

void TcxCustomEdit::KeyPress(char32_t& Key) {
  // The character of an Escape that reset the value goes nowhere.
  if (Key == 27 && FEscapeHandled) {
    FEscapeHandled = false;
    Key = 0;
    return;
  }
  TcxContainer::KeyPress(Key);
  if (Key != 0) EditKeyPress(Key);
}

void TcxCustomEdit::EditKeyPress(char32_t& Key) {
  if (!KeyPressAllowed(Key)) Key = 0;
}

bool TcxCustomEdit::KeyPressAllowed(char32_t Key) {
  if (Key >= 32 && !IsAcceptableChar(Key)) return false;
  if (!FDataBinding->Modified() && IsEditingChar(Key)) return QueryEditing();
  return true;
}

bool TcxCustomEdit::IsAcceptableChar(char32_t Ch) {
  IcxEditDefaultValuesProvider* provider = ActiveProperties()->DefaultValuesProvider();
  return !provider || provider->AcceptsTypedChar(Ch);
}

void TcxCustomEdit::KeyUp(Word& Key, TShiftState Shift) {
  TcxContainer::KeyUp(Key, Shift);
  if (Key != 0) EditKeyUp(Key, Shift);
}

// --- buttons and mouse ----------------------------------------------------------------------------------

Integer TcxCustomEdit::ButtonIndexAt(const TPoint& P) {
  TcxCustomEditViewInfo* vi = EditViewInfo();
  for (Integer i = 0; i < vi->ButtonCount(); ++i)
    if (cxRectPtIn(vi->Button(i)->Bounds, P)) return i;
  return -1;
}

Integer TcxCustomEdit::DefaultButtonIndex() {
  TcxCustomEditViewInfo* vi = EditViewInfo();
  for (Integer i = 0; i < vi->ButtonCount(); ++i)
    if (vi->Button(i)->Default) return i;
  return -1;
}

void TcxCustomEdit::ClickDefaultButton() {
  const Integer index = DefaultButtonIndex();
  if (index != -1) FireButtonClick(index);
}

void TcxCustomEdit::ButtonStateChanged(TcxCustomEditViewInfo* AOldViewInfo) {
  TcxCustomEditViewInfo* vi = EditViewInfo();
  if (vi->PressedButton == AOldViewInfo->PressedButton && vi->HotButton == AOldViewInfo->HotButton) return;
  const Integer oldPressed = AOldViewInfo->PressedButton;
  if (oldPressed != -1) {
    ButtonUp(oldPressed);
    // Released over the button it pressed.
    if (oldPressed == vi->HotButton) FireButtonClick(oldPressed);
  }
  if (vi->PressedButton != -1 && oldPressed == -1) ButtonDown(vi->PressedButton);
}

void TcxCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && FDblClickTimer->Enabled()) {
    // The second click of an activation by mouse.
    FDblClickTimer->SetEnabled(false);
    if (ButtonIndexAt({X, Y}) == -1) DblClick();
  }
  TcxContainer::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && HandleAllocated() && win::GetCapture() == Handle()) {
    const Integer index = ButtonIndexAt({X, Y});
    if (index != -1 && EditViewInfo()->Button(index)->State == ebbsPressed) FPressedButtonIndex = index;
  }
}

void TcxCustomEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxContainer::MouseUp(Button, Shift, X, Y);
}

void TcxCustomEdit::DblClick() {
  const TPoint p = ScreenToClient(GetMouseScreenPos());
  if (ButtonIndexAt(p) == -1) {
    TcxContainer::DblClick();
    return;
  }
  // A fast second click on a button presses it again.
  MouseDown(mbLeft, GetKeyboardShiftState() + ssLeft, p.X, p.Y);
  Click();
}

bool TcxCustomEdit::HandlesMouseWheel(TShiftState Shift) {
  return !IsInplace() || ActiveProperties()->UseMouseWheel() || Shift.Contains(ssCtrl);
}

// --- in-place activation ----------------------------------------------------------------------------------

void TcxCustomEdit::ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) {
  if (!AEditData && EditDataClass()) AEditData = EditDataClass()(this);
  FEditData = AEditData.get();
  if (FEditData && FEditData->Cleared()) {
    StoreEditData(FEditData);
    FEditData->SetCleared(false);
  }
  Show();
  if (HandleAllocated() && CanFocus()) {
    SetFocus();
    if (ActiveProperties()->AutoSelect()) SelectWholeText();
  }
  UpdateTextFromEditValue();
  SetModifiedState(false);
}

void TcxCustomEdit::ActivateByKey(char32_t Key, std::unique_ptr<TcxCustomEditData>& AEditData) {
  SubclassInnerEdit();
  ScopeExit restore([this] { RestoreInnerEditWindowProc(); });
  ActivateEditing(AEditData);
  if (ShouldSendActivationKey(Key) && HandleAllocated()) SendCharToEdit(this, Key);
}

void TcxCustomEdit::ActivateByMouse(TShiftState Shift, Integer X, Integer Y,
                                    std::unique_ptr<TcxCustomEditData>& AEditData) {
  ActivateEditing(AEditData);
  if (HandleAllocated()) {
    TPoint p{X, Y};
    if (Parent()) p = ScreenToClient(Parent()->ClientToScreen(p));
    const win::LPARAM at = win::MAKELPARAM(static_cast<win::WORD>(p.X), static_cast<win::WORD>(p.Y));
    if (Shift.Contains(ssLeft)) {
      win::SendMessage(Handle(), win::WM_LBUTTONDOWN, ShiftStateToMouseKeys(Shift), at);
      // The button went up while the host passed the press on.
      if (win::GetCapture() == Handle() && (win::GetKeyState(win::VK_LBUTTON) & 0x8000) == 0) win::ReleaseCapture();
    } else {
      win::SendMessage(Handle(), win::WM_LBUTTONUP, ShiftStateToMouseKeys(Shift), at);
    }
  }
  // A second click within the double-click time is a double click.
  FDblClickTimer->SetEnabled(true);
}

// --- inner edit ---------------------------------------------------------------------------------------------

void TcxCustomEdit::CreateInnerEdit() {
  TcxInnerEditClass innerClass = InnerEditClass();
  if (!innerClass) return;
  FInnerEditObject = innerClass(this);
  if (auto* provider = dynamic_cast<IcxInnerEditProvider*>(FInnerEditObject.get()))
    FInnerEdit = provider->GetInnerEdit();
  else
    FInnerEdit = dynamic_cast<IcxCustomInnerEdit*>(FInnerEditObject.get());
}

void TcxCustomEdit::SetupInnerEdit() {
  FInnerEdit->SetParent(this);
  FInnerEdit->SetOnChange(TNotifyEvent(this, &TcxCustomEdit::InnerEditChanged));
  FInnerEdit->Control()->SetParentShowHint(false);
}

void TcxCustomEdit::SetInnerEditReadOnly(bool Value) {
  if (FInnerEdit) FInnerEdit->SetReadOnly(Value);
}

void TcxCustomEdit::PositionInnerEdit() {
  if (FInnerEdit) TcxContainer::AlignInnerControl();
}

void TcxCustomEdit::FocusInnerControl() {
  if (FInnerEdit && FInnerEdit->Control()->CanFocus()) FInnerEdit->Control()->SetFocus();
}

void TcxCustomEdit::SubclassInnerEdit() {
  if (!FInnerEdit || FSubclassedInnerWindow || !FInnerEdit->Control()->HandleAllocated()) return;
  win::HWND wnd = FInnerEdit->Control()->Handle();
  SubclassedInnerWindows()[wnd] = this;
  FSubclassedInnerWindow = wnd;
  FSavedInnerWindowProc = reinterpret_cast<win::WNDPROC>(
      win::SetWindowLongPtr(wnd, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&InnerEditWindowProc)));
}

void TcxCustomEdit::CallInnerWindowProc(TMessage& Message) {
  Message.Result =
      win::CallWindowProc(FSavedInnerWindowProc, FSubclassedInnerWindow, Message.Msg, Message.WParam, Message.LParam);
}

void TcxCustomEdit::RestoreInnerEditWindowProc() {
  if (!FSubclassedInnerWindow) return;
  if (win::IsWindow(FSubclassedInnerWindow))
    win::SetWindowLongPtr(FSubclassedInnerWindow, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(FSavedInnerWindowProc));
  SubclassedInnerWindows().erase(FSubclassedInnerWindow);
  FSubclassedInnerWindow = nullptr;
  FSavedInnerWindowProc = nullptr;
}

bool TcxCustomEdit::OwnsWindow(win::HWND Wnd) {
  if (!Wnd) return false;
  if (HandleAllocated() && Wnd == Handle()) return true;
  return FInnerEdit && FInnerEdit->Control()->HandleAllocated() && Wnd == FInnerEdit->Control()->Handle();
}

bool TcxCustomEdit::HasFocusInForm() {
  if (Focused()) return true;
  TForm* form = GetParentForm(this);
  if (!form) return false;
  return form->ActiveControl() == this || (FInnerEdit && form->ActiveControl() == FInnerEdit->Control());
}

void TcxCustomEdit::CreateHandle() {
  TcxContainer::CreateHandle();
  if (FInnerEdit && HandleAllocated() && win::GetFocus() == Handle()) FocusInnerControl();
}

void TcxCustomEdit::GetTabOrderList(std::vector<TWinControl*>& List) {
  TcxContainer::GetTabOrderList(List);
  // In place the host must not come round again through its own editor.
  if (IsInplace() && Visible() && Parent()) List.erase(std::remove(List.begin(), List.end(), Parent()), List.end());
}

// --- layout and refresh ---------------------------------------------------------------------------------------

TcxContainerStyleClass TcxCustomEdit::GetStyleClass() {
  return FProperties ? FProperties->StyleClass() : FKind.StyleClass;
}

TcxContainerViewInfoClass TcxCustomEdit::GetViewInfoClass() {
  return FProperties ? FProperties->ViewInfoClass() : FKind.ViewInfoClass;
}

TcxContainerStyleValues TcxCustomEdit::GetUnstoredStyleValues() {
  return StyleValueBit(svButtonStyle) | StyleValueBit(svButtonTransparency) | StyleValueBit(svPopupBorderStyle) |
         StyleValueBit(svGradientButtons);
}

bool TcxCustomEdit::IsNativeStyle() {
  return FProperties->ViewDataClass()->IsNativeLookAndFeel(Style()->LookAndFeel());
}

TRect TcxCustomEdit::GetBorderExtents() {
  TcxCustomEditViewInfo* vi = EditViewInfo();
  const TRect& whole = vi->WholeRect;
  const TRect& client = vi->ClientRect;
  return {client.Left - whole.Left, client.Top - whole.Top, whole.Right - client.Right, whole.Bottom - client.Bottom};
}

std::unique_ptr<TcxCustomEditViewData> TcxCustomEdit::CreateViewData() {
  std::unique_ptr<TcxCustomEditViewData> viewData = ActiveProperties()->CreateViewData(
      dynamic_cast<TcxCustomEditStyle*>(ActiveStyle()), IsInplace(), false);
  if (IsInplace() && FInplaceLayoutValid) viewData->ContentParams = FInplaceLayout;
  if (!FInnerEditPending) viewData->Edit = this;
  viewData->WindowHandle = HandleAllocated() ? Handle() : nullptr;
  return viewData;
}

void TcxCustomEdit::InitializeViewData(TcxCustomEditViewData* AViewData) {
  AViewData->Enabled = Enabled();
  AViewData->Focused = Focused();
  TcxControlScrollBar* h = HScrollBar();
  TcxControlScrollBar* v = VScrollBar();
  AViewData->HScrollBar = h && h->Visible() ? h : nullptr;
  AViewData->VScrollBar = v && v->Visible() ? v : nullptr;
  AViewData->InnerEdit = FInnerEdit;
  AViewData->IsDesigning = IsDesigning();
}

void TcxCustomEdit::CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) {
  CalculateViewInfo(P, FLayoutButton, FLayoutShift.value_or(GetKeyboardShiftState()), AIsMouseEvent);
}

void TcxCustomEdit::CalculateViewInfo(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent) {
  std::unique_ptr<TcxCustomEditViewData> viewData = CreateViewData();
  InitializeViewData(viewData.get());
  // The layout measures; the control's own canvas draws only while it paints.
  viewData->ComputeLayout(ContainerScreenCanvas(), {0, 0, Width(), Height()}, P, AButton, Shift, EditViewInfo(),
                          AIsMouseEvent);
}

void TcxCustomEdit::CalculateViewInfoAtCursor() {
  CalculateViewInfo(ScreenToClient(GetMouseScreenPos()), cxmbNone, GetKeyboardShiftState(), false);
}

void TcxCustomEdit::RecalculateAtCursor(bool IsMouseEvent) {
  if (!HandleAllocated() || IsEditDestroying() || FRecalculating) return;
  auto recalculating = FlagForScope(FRecalculating, true);
  RefreshState(ScreenToClient(GetMouseScreenPos()), cxmbNone, GetKeyboardShiftState(), IsMouseEvent);
}

bool TcxCustomEdit::RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent) {
  if (!HandleAllocated() || ControlState.Contains(csDestroyingHandle) || IsEditDestroying()) return false;
  if (FPressedButtonIndex != -1 && win::GetCapture() != Handle()) FPressedButtonIndex = -1;
  // A mouse event compares against the layout before it.
  std::unique_ptr<TcxContainerViewInfo> copy;
  if (AIsMouseEvent) {
    copy = GetViewInfoClass()();
    copy->AssignFrom(ViewInfo());
  }
  auto* old = static_cast<TcxCustomEditViewInfo*>(copy.get());
  {
    // Through the container's layout step, which a kind may replace; it
    // takes the button and shift of this refresh from here.
    const Integer button = FLayoutButton;
    const std::optional<TShiftState> shift = FLayoutShift;
    FLayoutButton = AButton;
    FLayoutShift = Shift;
    ScopeExit restore([&] {
      FLayoutButton = button;
      FLayoutShift = shift;
    });
    CalculateViewInfo(P, AIsMouseEvent);
  }
  TRect exclude;
  if (FInnerEdit && FInnerEdit->Control()->Visible()) exclude = FInnerEdit->Control()->BoundsRect();
  const bool changed = EditViewInfo()->RepaintChanges(this, exclude, old);
  if (copy && !changed) return true;
  AlignInnerControl();
  SyncInnerControlWithStyle();
  if (HandleAllocated()) {
    auto refreshing = FlagForScope(FRefreshingFrame, true);
    const TcxContainerViewInfo& vi = *ViewInfo();
    ApplyContainerWindowRegion(Handle(), GetVisibleBounds(), vi.NativeDrawing && vi.BorderStyle != cbsNone, {},
                               vi.ShadowOn);
  }
  if (copy && changed) ButtonStateChanged(old);
  return true;
}

void TcxCustomEdit::AlignInnerControl() {
  if (!HandleAllocated() || IsEditDestroying()) return;
  EnsureHandleForHeight();
  Integer w = Width(), h = Height();
  CalculateAutoSize(w, h);
  SetBounds(Left(), Top(), w, h);
  if (FInnerEdit) PositionInnerEdit();
}

void TcxCustomEdit::CalculateAutoSize(Integer& AWidth, Integer& AHeight) {
  if (!AutoSizeEnabled() || !ContainerScreenCanvas()) return;
  std::unique_ptr<TcxCustomEditViewData> viewData = CreateViewData();
  TcxEditSizeLimits limits;
  AutoSizeMeasureLimits(limits);
  TSize size;
  viewData->TotalEditSize(ContainerScreenCanvas(), EditValue(), limits, nullptr, size);
  const TAlign align = Align();
  if (HasAutoWidthButtons() && (align == alNone || align == alLeft || align == alRight)) AWidth = size.cx;
  if (align == alNone || align == alTop || align == alBottom) AHeight = size.cy;
}

bool TcxCustomEdit::CanResize(Integer& NewWidth, Integer& NewHeight) {
  const bool result = TcxContainer::CanResize(NewWidth, NewHeight);
  if (result && !ComponentState().Contains(csLoading)) CalculateAutoSize(NewWidth, NewHeight);
  return result;
}

void TcxCustomEdit::SetAutoSize(bool Value) {
  if (Value == AutoSize() || IsInplace()) return;
  TcxContainer::SetAutoSize(Value);
  if (!Value) return;
  EnsureHandleForHeight();
  AlignInnerControl();
  RecalculateAtCursor();
}

void TcxCustomEdit::EnsureHandleForHeight() {
  if (HandleAllocated() || IsEditDestroying() || FEnsuringHandle) return;
  bool parentHasWindow = false;
  for (TWinControl* p = Parent(); p && !parentHasWindow; p = p->Parent()) parentHasWindow = p->HandleAllocated();
  if (!parentHasWindow) return;
  auto ensuring = FlagForScope(FEnsuringHandle, true);
  HandleNeeded();
}

Integer TcxCustomEdit::GetEditHeight() {
  EnsureHandleForHeight();
  return Height();
}

void TcxCustomEdit::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  RecalculateAtCursor();
}

void TcxCustomEdit::RequestAlign() {
  TcxContainer::RequestAlign();
  RecalculateAtCursor();
}

void TcxCustomEdit::Paint() {
  if (IsDataAware() && ControlState.Contains(csPaintCopy)) {
    PaintDataCopy();
    return;
  }
  TcxContainer::Paint();
}

void TcxCustomEdit::PaintDataCopy() {
  UpdateWindowRegion();
  Variant value;
  FDataBinding->StoredValue(value);
  std::unique_ptr<TcxCustomEditViewData> viewData = CreateViewData();
  InitializeViewData(viewData.get());
  std::unique_ptr<TcxContainerViewInfo> copy = GetViewInfoClass()();
  auto* vi = static_cast<TcxCustomEditViewInfo*>(copy.get());
  viewData->ComputeLayout(cxCanvas(), {0, 0, Width(), Height()}, {-1, -1}, cxmbNone, TShiftState{}, vi, false);
  viewData->CalculateDisplayText(cxCanvas(), value, vi);
  vi->DrawTo(cxCanvas());
  win::ExcludeClipRect(cxCanvas()->DeviceContext(), 0, 0, Width(), Height());
}

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

void RegisterEditCursors() {
  if (!Screen) return;
  // Loaded through the program's own module, where the suite's cursors are.
  const auto program = reinterpret_cast<win::HINSTANCE>(static_cast<uintptr_t>(1));
  Screen->SetCursors(crcxEditMouseWheel, win::LoadCursor(program, "CXEDIT_MOUSEWHEEL"));
}
