// The drop-down edit: a mask editor with a drop-down button and a popup
// window, and the protocol every popup editor of the suite follows. A
// descendant supplies what the popup hosts (its size, its placement, the
// control that takes the focus) and, optionally, lookup data shown as a list;
// this editor opens, arranges, feeds keys to and closes the popup, and turns
// the reason of a close into an edit value and a posting.
//
// Opening is asynchronous: a request arranges the window and posts
// CM_SHOWPOPUPWINDOW to it, and the window shows itself from the queue. A
// second request while one is queued does nothing; validation and
// destruction cancel a queued one.
#pragma once

#include <memory>

#include "suite/editors/cxCustomEditPopupWindow.h"
#include "suite/editors/cxCustomInnerTextEdit.h"
#include "suite/editors/cxMaskEdit.h"
#include "suite/editors/cxTextEdit.h"
#include "suite/editors/cxTextEditProperties.h"
#include "suite/editors/cxTextEditViewData.h"

// Posted to a drop-down edit after a paste opened its popup: the list
// follows the pasted text.
inline constexpr win::UINT CM_DROPDOWNSYNCLOOKUP = 0x806C;

// Where the popup opens against its edit.
inline constexpr Byte PopupDirectionVertical = 1;
inline constexpr Byte PopupHorzLeft = 0;
inline constexpr Byte PopupHorzCentre = 1;
inline constexpr Byte PopupHorzRight = 2;
inline constexpr Byte PopupVertAbove = 0;
inline constexpr Byte PopupVertBelow = 2;

class TcxCustomDropDownEdit;

// Makes the popup window of a drop-down edit kind.
using TcxEditPopupWindowClass = std::unique_ptr<TcxCustomEditPopupWindow> (*)(TControl* AOwnerControl);

template <typename T>
std::unique_ptr<TcxCustomEditPopupWindow> CreateEditPopupWindow(TControl* AOwnerControl) {
  return std::make_unique<T>(AOwnerControl);
}

class TcxCustomDropDownEditProperties : public TcxCustomMaskEditProperties {
  VXN_DECLARE_CLASS(TcxCustomDropDownEditProperties)

 public:
  explicit TcxCustomDropDownEditProperties(TPersistent* AOwner);

  ~TcxCustomDropDownEditProperties() override;

  void Assign(TPersistent* Source) override;
  TClass EditClass() override;
  bool PopupShowsLookupList() override { return true; }
  TcxCustomEditViewDataClass ViewDataClass() override;
  // Re-applies the glyph button's kind first.
  void NotifyChanged() override;

  // The protocol's questions, answered per kind.
  virtual Integer DropDownButtonIndex() { return 0; }
  virtual bool ClickOpensPopup() { return false; }
  // False: ImmediatePost posts while the popup closes; True: after it closed.
  virtual bool PostAfterPopupClosed() { return false; }
  virtual TcxEditPopupWindowClass PopupWindowClass() { return &CreateEditPopupWindow<TcxCustomEditPopupWindow>; }
  virtual bool CanFitPopupToWorkArea() { return true; }
  virtual bool PopupTakesFocus() { return false; }

  // The glyph of the button at GlyphButtonIndex: a non-empty glyph makes it
  // a glyph button, an empty one a drop-down button again. Made on first read.
  TBitmap* ButtonGlyph();
  void SetButtonGlyph(TBitmap* Value);
  // Until it is moved, the glyph sits on the kind's drop-down button.
  Integer GlyphButtonIndex() { return FGlyphButtonIndex < 0 ? DropDownButtonIndex() : FGlyphButtonIndex; }
  // Moves the glyph to another button.
  void SetGlyphButtonIndex(Integer Value);

  bool ImmediateDropDown() const { return FImmediateDropDown; }
  void SetImmediateDropDown(bool Value) { FImmediateDropDown = Value; }
  bool ImmediatePopup() const { return FImmediatePopup; }
  void SetImmediatePopup(bool Value) { FImmediatePopup = Value; }
  TAlignment PopupAlignment() const;
  void SetPopupAlignment(TAlignment Value);
  bool PopupAutoSize() const { return FPopupAutoSize; }
  void SetPopupAutoSize(bool Value) { FPopupAutoSize = Value; }
  bool PopupClientEdge() const { return FPopupClientEdge; }
  void SetPopupClientEdge(bool Value);
  Integer PopupHeight() const { return FPopupHeight; }
  void SetPopupHeight(Integer Value);
  Integer PopupMinHeight() const { return FPopupMinHeight; }
  void SetPopupMinHeight(Integer Value);
  Integer PopupMinWidth() const { return FPopupMinWidth; }
  void SetPopupMinWidth(Integer Value);
  bool PopupSizeable() const { return FPopupSizeable; }
  void SetPopupSizeable(bool Value);
  bool PopupSysPanelStyle() const { return FPopupSysPanelStyle; }
  void SetPopupSysPanelStyle(bool Value);
  Integer PopupWidth() const { return FPopupWidth; }
  void SetPopupWidth(Integer Value);
  bool PostPopupValueOnTab() const { return FPostPopupValueOnTab; }
  void SetPostPopupValueOnTab(bool Value) { FPostPopupValueOnTab = Value; }

  // Not published: the popup opens vertically, below or above the edit.
  Byte PopupDirection() const { return FPopupDirection; }
  Byte PopupHorzAlignment() const { return FPopupHorzAlignment; }
  Byte PopupVertAlignment() const { return FPopupVertAlignment; }
  void SetPopupVertAlignment(Byte Value) { FPopupVertAlignment = Value; }

  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnInitPopup;
  TNotifyEvent OnPopup;

 private:
  TcxEditButton* GlyphButton();
  void ApplyGlyphKind();

  std::unique_ptr<TBitmap> FButtonGlyph;
  // -1: the kind's drop-down button (a constructor cannot ask the kind).
  Integer FGlyphButtonIndex = -1;
  bool FNotifying = false;
  bool FImmediateDropDown = true;
  bool FImmediatePopup = false;
  bool FPopupAutoSize = true;
  bool FPopupClientEdge = false;
  Integer FPopupHeight = 0;
  Integer FPopupMinHeight = 0;
  Integer FPopupMinWidth = 0;
  bool FPopupSizeable = false;
  bool FPopupSysPanelStyle = false;
  Integer FPopupWidth = 0;
  bool FPostPopupValueOnTab = false;
  Byte FPopupDirection = PopupDirectionVertical;
  Byte FPopupHorzAlignment = PopupHorzLeft;
  Byte FPopupVertAlignment = PopupVertBelow;
};

// While the popup is open and the mouse made the edit hot, the drop-down
// button is neither hot nor pressed: a press on it closes the popup (the
// popup's mouse hook) and must not open it again.
class TcxCustomDropDownEditViewData : public TcxCustomTextEditViewData {
  VXN_DECLARE_CLASS(TcxCustomDropDownEditViewData)

 public:
  bool CanButtonBeHot(Integer AIndex) override;
  // A focused fixed-list edit draws its text as the selected item, unless an
  // incremental search is showing its completed part.
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton,
                     TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;

  bool PopupOpen = false;
  bool HotWhileOpen = false;
};

// What an in-place drop-down edit keeps between two activations.
class TcxCustomDropDownEditData : public TcxCustomEditData {
 public:
  using TcxCustomEditData::TcxCustomEditData;

  bool UserSized = false;
  Integer Width = 0;
  Integer Height = 0;
};

// The look and feel of the controls inside a popup: it follows the edit's
// buttons (in place, the edit's style), so a list in the popup looks like
// the edit that opened it.
class TcxEditPopupControlLookAndFeel : public TcxLookAndFeel {
  VXN_DECLARE_CLASS(TcxEditPopupControlLookAndFeel)

 public:
  explicit TcxEditPopupControlLookAndFeel(TcxCustomDropDownEdit* AEdit);

  // Announces a changed kind or native flag to the listeners.
  void SyncWithEdit();

 protected:
  TcxLookAndFeelKind EffectiveKind() const override;
  bool EffectiveNativeStyle() const override;

 private:
  TcxCustomDropDownEdit* FEdit;
};

// The inner edit of a drop-down edit shows no hint while the popup is open.
class TcxCustomDropDownInnerEdit : public TcxCustomInnerTextEdit {
  VXN_DECLARE_CLASS(TcxCustomDropDownInnerEdit)

 public:
  using TcxCustomInnerTextEdit::TcxCustomInnerTextEdit;

 protected:
  void WndProc(TMessage& Message) override;
};

// The classes of a drop-down edit kind whose settings are APropertiesClass.
TcxCustomEditKind DropDownEditKind(TcxCustomEditPropertiesClass APropertiesClass);

class TcxCustomDropDownEdit : public TcxCustomMaskEdit, public EditPopupOwner {
  VXN_DECLARE_CLASS(TcxCustomDropDownEdit)

 public:
  ~TcxCustomDropDownEdit() override;
  void BeforeDestruction() override;

  TcxCustomDropDownEditProperties* ActiveDropDownProperties() {
    return static_cast<TcxCustomDropDownEditProperties*>(ActiveProperties());
  }
  // Nil at design time.
  TcxCustomEditPopupWindow* PopupWindow() const { return FPopupWindow.get(); }
  TcxEditPopupControlLookAndFeel* PopupControlsLookAndFeel() const { return FPopupControlsLookAndFeel.get(); }
  Integer CloseReason() const { return FCloseReason; }
  bool UserSized() const { return FUserSized; }
  bool HotWhileOpen() const { return FHotWhileOpen; }
  bool DroppedDown() { return IsPopupShown(); }
  void SetDroppedDown(bool Value) { SetPopupShown(Value); }
  // Every open request goes through here: a queued request is not doubled.
  void SetPopupShown(bool Value);
  // Ends a requested but not yet shown popup as closed.
  void CancelPendingPopup();
  // An open request waits in the queue.
  bool ShowRequestQueued();
  // The list's item was set by code, or the list opened under a resting
  // pointer: the next mouse move over the list selects nothing.
  bool ListSelectionByCode() const { return FListSelectionByCode; }
  void SetListSelectionByCode(bool Value) { FListSelectionByCode = Value; }

  // Introduced here, in slot order.
  virtual bool CanOpenPopup() { return false; }
  void ClosePopup(Integer AReason) override;
  virtual void MakePopupWindow();
  virtual void FireInitPopup();
  virtual void FirePopup();
  virtual void OpenPopup();
  virtual TWinControl* PopupFocusTarget();
  virtual void AttachLookupList();
  virtual void ApplyPopupSettings();
  virtual void PopupLookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) {
    (void)Sender, (void)AChangedValues;
  }
  virtual void ArrangePopupWindow();
  virtual bool FireCloseQuery();
  virtual void FireCloseUp();
  virtual void SyncLookupWithText();

  // EditPopupOwner
  TRect PopupOwnerBounds() override;
  void PlacePopupContent(const TRect& AClientRect) override;
  bool CanFitPopupToWorkArea() override { return ActiveDropDownProperties()->CanFitPopupToWorkArea(); }
  TcxLookAndFeelKind PopupControlsLookAndFeelKind() override { return FPopupControlsLookAndFeel->Kind(); }
  void PopupSizedByUser() override { FResizedInOpening = true; }
  IcxTextEditLookupData* PopupLookupList() override;

  // The editor base.
  bool IsPopupShown() override;
  bool Focused() override;
  bool RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AIsMouseEvent) override;
  void ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) override;
  void ActivateByKey(char32_t Key, std::unique_ptr<TcxCustomEditData>& AEditData) override;
  void ActivateByMouse(TShiftState Shift, Integer X, Integer Y, std::unique_ptr<TcxCustomEditData>& AEditData) override;
  TcxCustomEditDataClass EditDataClass() override;
  void StoreEditData(TcxCustomEditData* AEditData) override;
  void ValidateInput() override;
  bool ShouldSendActivationKey(char32_t Key) override;
  bool IsClickKey(Word Key, TShiftState Shift) override;
  bool CanNavigateLookup(bool ByWheel) override;
  void BeforeTabNavigation(TShiftState Shift) override;
  void ButtonDown(Integer AIndex) override;
  void PropertiesChanged(TObject* Sender) override;
  using TcxCustomMaskEdit::PropertiesChanged;
  void PasteFromClipboard() override;
  void EditKeyDown(Word& Key, TShiftState Shift) override;
  void EditKeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  TcxContainerStyleValues GetUnstoredStyleValues() override { return {}; }
  std::unique_ptr<TcxCustomEditViewData> CreateViewData() override;

 protected:
  TcxCustomDropDownEdit(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);

  // For a close that the window runs itself: the reason its listeners see.
  void SetCloseReason(Integer AReason) { FCloseReason = AReason; }

  // Closed by the window: the size is remembered, close-up events fire and
  // a late posting runs.
  virtual void PopupWindowClosed(TObject* Sender);
  virtual void PopupWindowCloseQuery(TObject* Sender, bool& CanClose);
  virtual void PopupWindowClosing(TObject* Sender) { (void)Sender; }
  virtual void PopupWindowShowing(TObject* Sender) { (void)Sender; }
  virtual void PopupWindowShown(TObject* Sender);

  void DoExit() override;
  void FocusChanged() override;
  // A popup would stay behind at the old place while the edit is dragged
  // away to dock.
  void DoStartDock(TDragDockObject*& DragObject) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void DestroyWnd() override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;

  // The own properties' handler first, then the linked repository item's.
  template <typename TProperties = TcxCustomDropDownEditProperties, typename Fire>
  void FireOwnThenItem(Fire fire) {
    fire(static_cast<TProperties*>(Properties()));
    if (RepositoryItem())
      if (auto* item = dynamic_cast<TProperties*>(RepositoryItem()->Properties())) fire(item);
  }

 private:

  std::unique_ptr<TcxCustomEditPopupWindow> FPopupWindow;
  std::unique_ptr<TcxEditPopupControlLookAndFeel> FPopupControlsLookAndFeel;
  Integer FCloseReason = PopupCloseReasonUnknown;
  bool FUserSized = false;
  bool FResizedInOpening = false;
  bool FHotWhileOpen = false;
  bool FActivatingByMouse = false;
  bool FListSelectionByCode = false;
};

void RegisterDropDownEditClasses();
