// The suite's stand-alone radio button: the radio button window turned
// owner-drawn, its mark painted by the Button visual style (native) or by
// the look-and-feel painter, its caption painted here; it tracks a hot and
// pressed state from the mouse and may show its parent through. And the
// radio group editor: a button group of such buttons, one per item, whose
// edit value is the checked item's value.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/ButtonCtrls.h"
#include "platform/rtl/Variants.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxGroupBox.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/cxMouseTracking.h"

// The button's state byte.
inline constexpr uint8_t cxRadioStateDisabled = 0;
inline constexpr uint8_t cxRadioStateHot = 1;
inline constexpr uint8_t cxRadioStateNormal = 2;
inline constexpr uint8_t cxRadioStatePressed = 3;

// The classic radio mark's size, measured once at start-up from the system's
// radio mask.
TSize RadioButtonSize();

class TcxRadioButton : public TRadioButton, public IcxMouseTrackingCaller {
  VXN_DECLARE_CLASS(TcxRadioButton)

 public:
  explicit TcxRadioButton(TComponent* AOwner);
  ~TcxRadioButton() override;

  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  // A TPopupMenu or a component with the suite's popup-menu interface.
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  uint8_t State() const { return FState; }
  // The mark's rectangle, placed by the last paint.
  const TRect& ButtonRect() const { return FButtonRect; }

  bool Focused() override;
  void Invalidate() override;

  // IcxMouseTrackingCaller
  void MouseLeave() override { MouseLeave(nullptr); }

  virtual void AdjustCaptionRect(TRect& R, bool ANative);
  virtual bool ShowContextMenu(TComponent* AMenu, Integer X, Integer Y);
  virtual bool IsInplace() { return false; }
  virtual bool PaintsThemedParentBackground();
  virtual bool IsNativeStyle();
  virtual bool PaintsTransparent();
  virtual bool NeedsBackground();
  virtual void RedrawButton() { Invalidate(); }
  virtual void PaintButton();
  virtual void RefreshButtonState(TMouseButton AButton, bool AHasButton, TShiftState AShift, const TPoint& P);

  // The mark's rectangle for a mark of size S.
  TRect MarkRect(const TSize& S, bool ANative);

 protected:
  virtual void EnabledChanged();
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);

  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  void DoEnter() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DoContextPopup(TPoint MousePos, bool& Handled) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;

  void UpdateButtonState();
  TcxCanvas* Canvas() const { return FCanvas.get(); }

 private:
  void DrawItem(const win::DRAWITEMSTRUCT& Item);
  void LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { RedrawButton(); }
  void InvalidateButtonRect(Integer AInflate);
  void FillBackground(TColor AColor);
  void DrawCaption(bool ANative);
  void StartMouseTracking();

  std::unique_ptr<TCanvas> FControlCanvas;
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TComponent* FPopupMenu = nullptr;
  uint8_t FState = cxRadioStateNormal;
  bool FTransparent = false;
  bool FWordWrap = false;
  TRect FButtonRect;
};

// --- the radio group ------------------------------------------------------------------------

class TcxRadioGroupItem : public TcxButtonGroupItem {
  VXN_DECLARE_CLASS(TcxRadioGroupItem)

 public:
  explicit TcxRadioGroupItem(TCollection* Collection) : TcxButtonGroupItem(Collection) {}
  void Assign(TPersistent* Source) override;

  // Null: the item stands for its caption.
  Variant Value() const { return FValue; }
  void SetValue(const Variant& Value);
  bool IsValueStored() const { return !VarIsNull(FValue); }
  bool IsTagStored() const { return Tag() != 0; }

 private:
  Variant FValue = Null();
};

class TcxRadioGroupItems : public TcxButtonGroupItems {
  VXN_DECLARE_CLASS(TcxRadioGroupItems)

 public:
  using TcxButtonGroupItems::TcxButtonGroupItems;
  TcxRadioGroupItem* ItemAt(Integer Index) const { return static_cast<TcxRadioGroupItem*>(Items(Index)); }
  TcxRadioGroupItem* Add() { return static_cast<TcxRadioGroupItem*>(TcxButtonGroupItems::Add()); }
};

class TcxCustomRadioGroupProperties : public TcxCustomButtonGroupProperties {
  VXN_DECLARE_CLASS(TcxCustomRadioGroupProperties)

 public:
  explicit TcxCustomRadioGroupProperties(TPersistent* AOwner);

  void Assign(TPersistent* Source) override;
  TClass EditClass() override;
  TcxCustomEditViewDataClass ViewDataClass() override;
  TcxContainerViewInfoClass ViewInfoClass() override;
  std::unique_ptr<TcxButtonGroupItems> CreateItems() override;
  bool HasSeparateChangeEvents() override { return true; }
  bool ComparesEditValues() override { return true; }
  bool IsResettable() override { return true; }
  Cardinal SupportedOperations() override { return TcxCustomButtonGroupProperties::SupportedOperations() | 0x1010; }
  bool EditValuesEqual(const Variant& A, const Variant& B) override { return IndexOfValue(A) == IndexOfValue(B); }
  std::u16string DisplayTextOf(const Variant& Value, bool FullText) override;
  // The index of the item the value stands for.
  void ConvertToEditValue(const Variant& Value, Variant& EditValue, bool Focused) override;
  // Every column asked for stays, empty or not.
  Integer ColumnCount() override;

  // The first item the value stands for: its Value equals it, or, without
  // a Value, its caption equals it as text; -1 when none does.
  Integer IndexOfValue(const Variant& Value);
  TcxRadioGroupItems* RadioItems() const { return static_cast<TcxRadioGroupItems*>(Items()); }
  void SetRadioItems(TcxRadioGroupItems* Value) { SetItems(Value); }

  const std::u16string& DefaultCaption() const { return FDefaultCaption; }
  void SetDefaultCaption(const std::u16string& Value);
  bool IsDefaultCaptionStored() const;
  Variant DefaultValue() const { return FDefaultValue; }
  void SetDefaultValue(const Variant& Value);
  bool IsDefaultValueStored() const { return !VarIsNull(FDefaultValue); }

 private:
  std::u16string FDefaultCaption;
  Variant FDefaultValue = Null();
};

class TcxRadioGroupProperties : public TcxCustomRadioGroupProperties {
  VXN_DECLARE_CLASS(TcxRadioGroupProperties)

 public:
  using TcxCustomRadioGroupProperties::TcxCustomRadioGroupProperties;
};

class TcxCustomRadioGroupViewInfo : public TcxButtonGroupViewInfo {
  VXN_DECLARE_CLASS(TcxCustomRadioGroupViewInfo)

 public:
  TcxCustomRadioGroupViewInfo();
  // Paints a button where there is no button window (in place, a copy).
  void PaintButton(TcxCanvas* ACanvas, Integer AIndex) override;

  // The item shown checked where the marks are painted here.
  Integer CheckedIndex = -1;
  // The view is being measured.
  bool Measuring = false;
};

class TcxCustomRadioGroupViewData : public TcxButtonGroupViewData {
  VXN_DECLARE_CLASS(TcxCustomRadioGroupViewData)

 public:
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton, TShiftState AShift,
                     TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateDisplayText(TcxCanvas* ACanvas, const Variant& AValue, TcxCustomEditViewInfo* AViewInfo) override;
  void ButtonMetrics(bool AIsLimited, TcxCanvas* ACanvas, TcxButtonGroupMetrics& AMetrics) override;
  void SetButtonThemeState(TcxButtonGroupViewInfo* AViewInfo, TcxGroupBoxButtonViewInfo* AButton) override;

  TcxCustomRadioGroupProperties* RadioProperties() const {
    return static_cast<TcxCustomRadioGroupProperties*>(Properties);
  }
};

class TcxCustomRadioGroup;

class TcxCustomRadioGroupButton : public TcxRadioButton, public IcxContainerInnerControl {
  VXN_DECLARE_CLASS(TcxCustomRadioGroupButton)

 public:
  explicit TcxCustomRadioGroupButton(TComponent* AOwner);
  ~TcxCustomRadioGroupButton() override;

  TcxCustomRadioGroup* RadioGroup() const { return FRadioGroup; }
  bool UsesDC(win::HDC ADC);
  // Checks the button (unchecking its siblings) and clicks it.
  void CheckWithClick();
  Integer IndexInGroup() const;

  bool IsInplace() override;
  bool PaintsThemedParentBackground() override;
  bool IsNativeStyle() override;
  bool PaintsTransparent() override;
  bool CanFocus() override;
  void Click() override;
  // A host's actions reach the group's data binding.
  bool ExecuteAction(TBasicAction* Action);
  bool UpdateAction(TBasicAction* Action);

  // IcxContainerInnerControl
  TWinControl* Control() override { return this; }
  TcxContainer* ControlContainer() override;

 protected:
  void DoEnter() override;
  void DoExit() override;
  void KeyPress(char32_t& Key) override;
  void ButtonNotified(win::WORD Code) override;
  void DefaultHandler(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

 private:
  TcxCustomRadioGroup* FRadioGroup;
  bool FInCommand = false;
};

class TcxCustomRadioGroup : public TcxCustomButtonGroup {
  VXN_DECLARE_CLASS(TcxCustomRadioGroup)

 public:
  explicit TcxCustomRadioGroup(TComponent* AOwner, bool AIsInplace = false);

  TcxCustomRadioGroupProperties* ActiveRadioProperties() {
    return static_cast<TcxCustomRadioGroupProperties*>(ActiveProperties());
  }
  TcxCustomRadioGroupButton* RadioButton(Integer AIndex) const {
    return static_cast<TcxCustomRadioGroupButton*>(Buttons(AIndex));
  }

  Integer ItemIndex();
  void SetItemIndex(Integer Value);
  Integer PendingItemIndex() const { return FPendingItemIndex; }
  bool IsItemIndexStored() { return ItemIndex() != -1; }
  // Stores the value and checks the button of index AIndex.
  void ApplyEditValueAndIndex(const Variant& Value, Integer AIndex);

  TWinControl* CreateButton() override;
  void UpdateButtons() override;
  void SyncButtonsStyle() override;
  bool IsButtonDC(win::HDC ADC) override;
  void ApplyEditValue(const Variant& Value) override;
  void DisplayValueToEditValue(const Variant& DisplayValue, Variant& AEditValue, bool AEditFocused) override;
  void ClearEditValue() override { SetItemIndex(-1); }
  // The checked button, else the first, takes the focus.
  void ActivateEditing(std::unique_ptr<TcxCustomEditData>& AEditData) override;
  bool HasFocus() override;
  bool IsOwnScrollControl(TControl* AControl) override;
  bool HandlesTabKey() override { return IsInplace(); }
  void GetTabOrderList(std::vector<TWinControl*>& List) override;
  void ParentBackgroundChanged() override;
  void CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) override;

  TcxCustomEditProperties* GetProperties() const { return Properties(); }
  void SetPropertiesObject(TcxCustomEditProperties* Value) { SetProperties(Value); }
  // Dragging starts on the buttons too.
  void SetDragMode(TDragMode Value);
  void AssignDragKind(TDragKind Value) override;
  // The buttons are made from the items, never streamed.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override {
    (void)Proc;
    (void)Root;
  }

  bool IsReadingState() const { return ComponentState().Contains(csReading); }

 protected:
  TcxCustomRadioGroup(TComponent* AOwner, bool AIsInplace, const TcxCustomEditKind& AKind);
  friend class TcxCustomRadioGroupButton;
  void Loaded() override;
  void CMCtl3DChanged(TMessage& Message) override;
  void Resize() override;
  void WndProc(TMessage& Message) override;

 private:
  void SetUpRadioGroup();

  Integer FPendingItemIndex = -1;
};

class TcxRadioGroup : public TcxCustomRadioGroup {
  VXN_DECLARE_CLASS(TcxRadioGroup)

 public:
  explicit TcxRadioGroup(TComponent* AOwner, bool AIsInplace = false);
};

class TcxEditRepositoryRadioGroupItem : public TcxEditRepositoryItemOf<TcxRadioGroupProperties> {
  VXN_DECLARE_CLASS(TcxEditRepositoryRadioGroupItem)

 public:
  explicit TcxEditRepositoryRadioGroupItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};

// Focuses button wParam of a radio group.
inline constexpr win::UINT CM_FOCUSRADIOBUTTON = 0x806A;

// Measures the mark and registers the classes; the folder's start-up calls it.
void InitializeRadioGroup();
