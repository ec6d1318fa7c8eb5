// The base of every editor: it holds the edit value, decides when the user
// may change it, keeps the modified state, fires the change events,
// validates what the user typed and posts the value to whatever the editor
// is bound to (a data binding when stand-alone, the host when in place).
// Its settings are its own properties object or a linked repository item's.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/rtl/Variants.h"
#include "suite/editors/cxContainer.h"
#include "suite/editors/cxCustomInnerEdit.h"
#include "suite/editors/cxEditDataBinding.h"
#include "suite/editors/cxEditProperties.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxEditViewData.h"

class TBasicAction;
class TcxCustomEdit;
class TcxTimer;

using TcxEditEditingEvent = TDelegate<void(TObject* Sender, bool& CanEdit)>;
using TcxEditUnusedKeyEvent = TDelegate<void(TObject* Sender, Word& Key, TShiftState Shift)>;

// Holds back an editor's change events while locked and fires what was held
// back, once and change first, at the last unlock.
class TcxEditChangeEventsCatcher : public TObject {
 public:
  explicit TcxEditChangeEventsCatcher(TcxCustomEdit* AEdit) : FEdit(AEdit) {}

  bool IsLocked() const { return FLockCount > 0; }
  void Lock();
  // Fires the held-back events when the count reaches 0 and InvokePending.
  void Unlock(bool InvokePending);

  bool OnChangeEvent = false;
  bool OnEditValueChangedEvent = false;

 private:
  TcxCustomEdit* FEdit;
  Integer FLockCount = 0;
};

// What an in-place host keeps of one editor between two activations. It
// forgets the editor when the editor is freed.
class TcxCustomEditData : public TObject {
 public:
  explicit TcxCustomEditData(TcxCustomEdit* AEdit);
  ~TcxCustomEditData() override;

  TcxCustomEdit* Edit() const { return FEdit; }
  bool Cleared() const { return FCleared; }
  void SetCleared(bool Value) { FCleared = Value; }

 private:
  void EditFreed(TObject* Sender);

  TcxCustomEdit* FEdit;
  bool FCleared = true;
  std::unique_ptr<TcxFreeNotificator> FFreeNotificator;
};

using TcxCustomEditDataClass = std::unique_ptr<TcxCustomEditData> (*)(TcxCustomEdit* AEdit);

// The classes an editor kind is made of; a kind's constructor passes its
// own (a constructor cannot ask the kind's overrides).
struct TcxCustomEditKind {
  TcxCustomEditPropertiesClass PropertiesClass = TcxCustomEditProperties::StaticClass();
  TcxEditDataBindingClass DataBindingClass = &CreateEditDataBinding<TcxEditDataBinding>;
  TcxContainerStyleClass StyleClass = &CreateContainerStyle<TcxEditStyle>;
  TcxContainerViewInfoClass ViewInfoClass = nullptr;  // nil: the edit view info
  TcxInnerEditClass InnerEditClass = nullptr;         // nil: no inner edit
};

// The screen cursor of the mouse-wheel scrolling mode.
inline constexpr TCursor crcxEditMouseWheel = 4101;

class TcxCustomEdit : public TcxContainer,
                      public IcxEditPropertiesEditor,
                      public IcxRepositoryItemListener,
                      public IcxViewDataEdit {
  VXN_DECLARE_CLASS(TcxCustomEdit)

 public:
  explicit TcxCustomEdit(TComponent* AOwner, bool AIsInplace = false);
  ~TcxCustomEdit() override;
  void BeforeDestruction() override;

  // The repository item's properties when an item is linked (given this
  // editor's provider first), else the own ones.
  TcxCustomEditProperties* ActiveProperties();
  TcxCustomEditProperties* Properties() const { return FProperties.get(); }
  void SetProperties(TcxCustomEditProperties* Value) { FProperties->Assign(Value); }
  TcxEditDataBinding* DataBinding() const { return FDataBinding.get(); }

  virtual Variant EditValue() { return FEditValue; }
  void SetEditValue(const Variant& Value) { AssignEditValue(Value); }
  bool Modified() const { return FModified; }
  bool ModifiedAfterEnter() const { return FModifiedAfterEnter; }
  bool UserChanging() const { return FUserChanging; }
  // While the edit goes, or before the inner edit its kind has was made.
  bool InnerEditPending() const { return FInnerEditPending || ComponentState().Contains(csDestroying); }
  void SetUserChanging(bool Value) { FUserChanging = Value; }
  bool Validated() const { return FValidated; }
  bool Posting() const { return FPosting; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TcxCustomEditData* EditData() const { return FEditData; }
  void SetEditData(TcxCustomEditData* Value) { FEditData = Value; }
  // The cell an in-place editor stands for, in the editor's own
  // coordinates; kept by the host that places it. Empty: the editor's own
  // bounds count.
  const TRect& InplaceBounds() const { return FInplaceBounds; }
  void SetInplaceBounds(const TRect& Value) { FInplaceBounds = Value; }
  size_t ModifiedStateDepth() const { return FModifiedStates.size(); }
  bool ChangeEventsLocked() const { return FChangeEventsCatcher->IsLocked(); }

  TcxEditRepositoryItem* RepositoryItem() const { return FRepositoryItem; }
  void SetRepositoryItem(TcxEditRepositoryItem* Value);

  void LockChangeEvents(bool ALock, bool AInvokePending = true);
  void LockClick(bool ALock);
  void LockEditValueChanging(bool ALock);
  void NotifyChange();
  void NotifyEditValueChanged();
  void MarkModifiedAndClick();
  void SetModifiedState(bool Value);
  void SetEditingModified(bool Value);
  void PushModifiedState();
  void PopModifiedState();
  bool QueryEditing();
  // True when the display text is acceptable; an invalid text with an error
  // text raises when ReportError.
  bool ValidateDisplayText(bool ReportError);
  void PostEditValue(bool ValidateFirst = true);
  bool CanPostEditValue();
  void ExitProcessing(bool CallDoExit);
  void FireOnValidate(Variant& DisplayValue, std::string& ErrorText, bool& Error) override;
  void NotifyPopupClosed(Integer AReason);
  bool IsDataAware();
  // Host actions: the data binding's hooks answer what the editor declines.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

  bool IsInplace() override { return FIsInplace; }
  void SetParent(TWinControl* AParent) override;
  void Click() override;

  // Virtual operations of the editor base, in the order its kinds know them.
  virtual void PositionInnerEdit();
  virtual void EndPosting() { FPosting = false; }
  virtual void BeginPosting() { FPosting = true; }
  virtual bool AutoSizeEnabled() { return AutoSize() && !IsInplace(); }
  // Buttons-only editors whose buttons set the width.
  virtual bool HasAutoWidthButtons() { return ActiveProperties()->ButtonsViewStyle() == 2; }
  virtual bool IsEditingKey(Word Key, TShiftState Shift) {
    (void)Key, (void)Shift;
    return false;
  }
  virtual bool IsEditingChar(char32_t Ch) {
    (void)Ch;
    return false;
  }
  virtual bool CanModifyValue();
  virtual void InnerEditChanged(TObject* Sender);
  virtual void CreateInnerEdit();
  virtual std::unique_ptr<TcxCustomEditViewData> CreateViewData();
  virtual void ClickDefaultButton();
  // AIndex is a view info index; the handlers get the button's index in the
  // properties' Buttons.
  virtual void FireButtonClick(Integer AIndex);
  virtual void ButtonDown(Integer AIndex) { (void)AIndex; }
  virtual void ButtonUp(Integer AIndex) { (void)AIndex; }
  virtual void EditKeyDown(Word& Key, TShiftState Shift);
  virtual void EditKeyPress(char32_t& Key);
  virtual void EditKeyUp(Word& Key, TShiftState Shift) { (void)Key, (void)Shift; }
  virtual void BeforeTabNavigation(TShiftState Shift) { (void)Shift; }
  virtual void FireOnChange();
  virtual void FireOnEditValueChanged();
  virtual void AutoSizeMeasureLimits(TcxEditSizeLimits& ALimits) { ALimits = {1, Width()}; }
  virtual TcxEditDataBindingClass DataBindingClass() { return FKind.DataBindingClass; }
  // The text the editor shows now (the typed one while the user edits).
  virtual void DisplayTextOfValue(std::string& Text) { Text.clear(); }
  virtual TcxCustomEditDataClass EditDataClass() { return nullptr; }
  virtual TcxInnerEditClass InnerEditClass() { return FKind.InnerEditClass; }
  virtual void ReportInvalidInput(const std::string& Text);
  virtual void StoreEditData(TcxCustomEditData* AEditData) { (void)AEditData; }
  virtual void SetupInnerEdit();
  virtual void InitializeViewData(TcxCustomEditViewData* AViewData);
  virtual bool EditingEnabled() { return true; }
  virtual void ApplyDisplayValue(const Variant& Value) { (void)Value; }
  virtual void ApplyEditValue(const Variant& Value);
  virtual void ApplyValidatedDisplayValue(const Variant& Value);
  // Focused, or the parent form's active control is the editor or its
  // inner edit.
  virtual bool HasFocusInForm();
  virtual bool AllowsClickWhileLoading() { return false; }
  virtual bool IsClickKey(Word Key, TShiftState Shift);
  virtual bool MustStoreEditValue() { return !VarIsNull(FEditValue); }
  virtual bool UsesParentBackground() { return false; }
  virtual bool IsTransparent() { return FTransparent && !IsInplace(); }
  virtual bool IsAcceptableChar(char32_t Ch);
  virtual void PaintDataCopy();
  virtual void ConvertToEditValue(const Variant& Value, Variant& AEditValue, bool AFocused) {
    ActiveProperties()->ConvertToEditValue(Value, AEditValue, AFocused);
  }
  // Runs after a refresh that changed the view info: button down, up and
  // click from the pressed and hot indexes before and after.
  virtual void ButtonStateChanged(TcxCustomEditViewInfo* AOldViewInfo);
  virtual void PropertiesChanged(TObject* Sender);
  virtual bool IsReadOnly();
  virtual void RepositoryItemChanged() {}
  virtual void RepositoryItemChanging() {}
  virtual void ResetEditValue();
  virtual bool ShouldSendActivationKey(char32_t Key) {
    (void)Key;
    return true;
  }
  virtual bool TrySetDisplayText(const std::string& Text) {
    (void)Text;
    return false;
  }
  void SetAutoSize(bool Value) override;
  virtual void AssignEditValue(const Variant& Value);
  virtual void AssignEditValueAndClick(const Variant& Value);
  virtual void SetInnerEditValue(const Variant& Value) { (void)Value; }
  virtual void UpdateTextFromEditValue() {}
  virtual void UpdateEditValueFromText() {}
  virtual bool RefreshesOnExit() { return true; }
  virtual void RefreshDrawnText() {}
  virtual bool KeyDownAllowed(Word Key, TShiftState Shift);
  virtual bool KeyPressAllowed(char32_t Key);
  virtual bool HandlesNavigationKeys() { return false; }
  // The inner window's messages while it is subclassed: to the procedure
  // it had before, with the answer kept in Message.
  virtual void CallInnerWindowProc(TMessage& Message);
  virtual void SubclassInnerEdit();
  virtual void RestoreInnerEditWindowProc();
  // In-place activation by a host. The host owns the edit data; the
  // editor makes one when the host has none and its kind keeps any.
  virtual void ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData);
  virtual void ActivateByKey(char32_t Key, std::unique_ptr<TcxCustomEditData>& AEditData);
  // X and Y are in the parent's client coordinates.
  virtual void ActivateByMouse(TShiftState Shift, Integer X, Integer Y,
                               std::unique_ptr<TcxCustomEditData>& AEditData);
  virtual void ClearEditValue() { AssignEditValue(Null()); }
  virtual void CopySelectionToClipboard() {}
  virtual void CutToClipboard() {}
  virtual void ValidateInput();
  virtual TcxCustomEditPropertiesClass PropertiesClass() { return FKind.PropertiesClass; }
  bool IsEditFocused() override { return Focused(); }
  virtual bool OwnsWindow(win::HWND Wnd);
  bool InnerEditVisible() override { return false; }
  virtual bool IsRepositoryItemAcceptable(TcxEditRepositoryItem* Item);
  virtual void PasteFromClipboard() {}
  void DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool AEditFocused) override {
    (void)DisplayValue, (void)AEditValue, (void)AEditFocused;
  }
  virtual void SelectWholeText() {}
  // Tells the inner edit whether it is read-only; the editors with an
  // inner edit fill it.
  virtual void SetInnerEditReadOnly(bool Value);

  // The layout again at the cursor position.
  void RecalculateAtCursor(bool IsMouseEvent = false);
  using TcxContainer::CalculateViewInfo;
  void CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) override;
  void CalculateViewInfo(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent);
  // At the cursor, no button, the keyboard's shift state, no mouse event.
  void CalculateViewInfoAtCursor();
  // The size AutoSize gives the editor, where its alignment lets it choose.
  void CalculateAutoSize(Integer& AWidth, Integer& AHeight);
  // The height is known only with a window; a parent that has one lets the
  // editor make its own.
  void EnsureHandleForHeight();
  // The host's unused-key handler may consume the key (set it to 0).
  void ForwardUnusedKey(Word& Key, TShiftState Shift);
  bool HandlesMouseWheel(TShiftState Shift);
  // View info indexes; -1 when none.
  Integer ButtonIndexAt(const TPoint& P);
  Integer DefaultButtonIndex();
  TcxCustomEditViewInfo* EditViewInfo() const { return static_cast<TcxCustomEditViewInfo*>(ViewInfo()); }
  IcxCustomInnerEdit* InnerEdit() const { return FInnerEdit; }
  TcxTimer* DblClickTimer() const { return FDblClickTimer.get(); }
  bool EscapeHandled() const { return FEscapeHandled; }
  // The Height property: the window first, when the editor needs it.
  Integer GetEditHeight();
  bool IsHeightStored() { return !AutoSizeEnabled(); }
  bool IsWidthStored() { return !(AutoSizeEnabled() && HasAutoWidthButtons()); }

  // IcxViewDataEdit
  Integer CapturedButtonIndex() override { return FPressedButtonIndex; }
  void SetCapturedButtonIndex(Integer Value) { FPressedButtonIndex = Value; }

  // The keyboard steps are public: an inner edit passes its keys here first.
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DblClick() override;

  // TcxContainer
  TRect GetBorderExtents() override;
  TcxContainerStyleClass GetStyleClass() override;
  TcxContainerViewInfoClass GetViewInfoClass() override;
  TcxContainerStyleValues GetUnstoredStyleValues() override;
  bool NeedsParentBackground() override { return UsesParentBackground() || IsTransparent(); }
  bool RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent) override;
  void AlignInnerControl() override;
  bool HandlesTabKey() override { return true; }
  bool IsNativeStyle() override;
  void FocusInnerControl() override;
  void GetTabOrderList(std::vector<TWinControl*>& List) override;

  // IcxEditPropertiesEditor
  TcxCustomEditProperties* OwnEditProperties() override { return FProperties.get(); }
  TcxCustomEditProperties* ActiveEditProperties() override { return ActiveProperties(); }
  std::string CurrentDisplayText() override;

  // IcxRepositoryItemListener
  void ItemRemoved(TcxEditRepositoryItem* Sender) override;
  void PropertiesChanged(TcxEditRepositoryItem* Sender) override;

  TcxEditEditingEvent OnEditing;
  // Groups the properties' events for a designer; no run-time behaviour.
  TNotifyEvent PropertiesEvents;
  // Set by an in-place host: it receives posted values and unused keys.
  TNotifyEvent OnPostEditValue;
  TcxEditUnusedKeyEvent OnUnusedKey;

 protected:
  TcxCustomEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);

  // Creates the parts of the editor; a kind's constructor adds its own
  // after it.
  void InitializeEdit();
  bool IsLoadingOrDestroying() const;
  bool IsEditDestroying() const;

  void DoEnter() override;
  void DoExit() override;
  void FocusChanged() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader& Reader) override;
  void WndProc(TMessage& Message) override;
  void SetName(const std::string& NewName) override;
  bool CanResize(Integer& NewWidth, Integer& NewHeight) override;
  void RequestAlign() override;
  void CreateHandle() override;
  void Paint() override;

 private:
  friend class TcxEditChangeEventsCatcher;
  TNotifyEvent PropertiesChangedHandler();
  void DblClickTimeOut(TObject* Sender);
  bool HasOnChange();
  bool HasOnEditValueChanged();
  // In place, the host's handler sees a modified editor.
  template <typename Fire>
  void FireAsModified(Fire fire);

  TcxCustomEditKind FKind;
  bool FIsInplace;
  Variant FEditValue;
  std::unique_ptr<TcxCustomEditProperties> FProperties;
  TcxEditRepositoryItem* FRepositoryItem = nullptr;
  std::unique_ptr<TcxEditDataBinding> FDataBinding;
  std::unique_ptr<TcxEditChangeEventsCatcher> FChangeEventsCatcher;
  Integer FClickLockCount = 0;
  Integer FEditValueChangingLockCount = 0;
  bool FModified = false;
  bool FModifiedAfterEnter = false;
  bool FUserChanging = false;
  bool FValidated = false;
  bool FPosting = false;
  std::vector<std::pair<bool, bool>> FModifiedStates;
  Variant FSavedEditValue;
  bool FQueryEditingInProgress = false;
  bool FFocusingForReport = false;
  bool FLastFocusState = false;
  bool FTransparent = false;
  bool FFirstParenting = true;
  bool FDestroying = false;
  TcxCustomEditData* FEditData = nullptr;

  // Input, activation and refresh.
  Integer FPressedButtonIndex = -1;
  std::unique_ptr<TcxTimer> FDblClickTimer;
  bool FEscapeHandled = false;
  // The inner edit object (owned; the interface may be a helper of it).
  std::unique_ptr<TComponent> FInnerEditObject;
  IcxCustomInnerEdit* FInnerEdit = nullptr;
  bool FInnerEditPending = true;
  win::WNDPROC FSavedInnerWindowProc = nullptr;
  win::HWND FSubclassedInnerWindow = nullptr;
  // The content parameters of a fresh in-place view data.
  TcxEditContentParams FInplaceLayout;
  bool FInplaceLayoutValid = false;
  TRect FInplaceBounds;
  bool FRecalculating = false;
  bool FEnsuringHandle = false;
  bool FRefreshingFrame = false;
  // The mouse button and shift of the refresh under way.
  Integer FLayoutButton = cxmbNone;
  std::optional<TShiftState> FLayoutShift;
};

// True only when both have the same type and compare equal.
bool VarEqualsSameType(const Variant& A, const Variant& B);
// #0, #9, #10, #12, #13 and space.
bool IsBlankChar(char32_t Ch);
// Follows GetOwner until a component is reached; nil when none.
TComponent* GetOwnerComponent(TPersistent* APersistent);
void SendKeyDownToEdit(TcxCustomEdit* AEdit, Word Key);
void SendCharToEdit(TcxCustomEdit* AEdit, char32_t Ch);
TShiftState MouseButtonToShift(TMouseButton Button);
// The container's mouse button code (cxmbNone..cxmbMiddle).
TShiftState OptionalMouseButtonToShift(Integer AButton);
win::WPARAM ShiftStateToMouseKeys(TShiftState Shift);
bool IsRegionEmpty(win::HRGN ARegion);
// ARegion := ARegion OR ARegion2.
void UniteRegions(win::HRGN ARegion, win::HRGN ARegion2);

inline constexpr const char* cxSEditRepositoryItemNotAcceptable = "The repository item is not acceptable";

void RegisterEditClasses();
// Screen cursor crcxEditMouseWheel.
void RegisterEditCursors();
