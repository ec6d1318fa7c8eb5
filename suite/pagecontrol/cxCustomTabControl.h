// The tab control: its tabs, its properties, the single-row layout of the
// tab strip with the row bands beside the page, the choice of its painter
// by style or look-and-feel, and its image list adapter.
//
// The window side (whether the window exists, the canvas, invalidation,
// realigning the children) goes through a few virtual operations, so that a
// test can draw the strip into a bitmap of its own.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Graphics.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/Delegates.h"
#include "suite/foundation/cxControl.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/pagecontrol/cxPCTypes.h"
#include "suite/pagecontrol/cxTabs.h"

class TcxCanvas;
class TControl;
class TCustomImageList;
class TcxCustomTabControl;
class TcxPCCustomPainter;
class TcxPCImageList;
class TcxPCPainterMeta;
using TcxPCCustomPainterClass = const TcxPCPainterMeta*;

using TcxDrawTabEvent = TDelegate<void(TcxCustomTabControl* AControl, TcxTab* ATab, bool& DefaultDraw)>;
using TcxDrawTabExEvent = TDelegate<void(TcxCustomTabControl* AControl, TcxTab* ATab, TFont* Font)>;
using TcxGetTabImageEvent = TDelegate<void(TObject* Sender, Integer TabIndex, Integer& ImageIndex)>;

// Slant settings of the slanted styles; a change re-lays the owner out.
class TcxTabSlants : public TPersistent {
  VXN_DECLARE_CLASS(TcxTabSlants)

 public:
  explicit TcxTabSlants(TcxCustomTabControl* AOwner) : FOwner(AOwner) {}

  void Assign(TPersistent* Source) override;
  TcxTabSlantKind Kind() const { return FKind; }
  void SetKind(TcxTabSlantKind Value);
  TcxTabSlantPositions Positions() const { return FPositions; }
  void SetPositions(TcxTabSlantPositions Value);
  TPersistent* GetOwner() override;

 protected:
  virtual void Changed();

 private:
  TcxTabSlantKind FKind = skSlant;
  TcxTabSlantPositions FPositions{spLeft};
  TcxCustomTabControl* FOwner;
};

using TcxPCCanCloseEvent = TDelegate<void(TObject* Sender, bool& ACanClose)>;
using TcxTabChangingEvent = TDelegate<void(TObject* Sender, bool& AllowChange)>;

class TcxPCGoDialog;
class TcxTimer;

class TcxCustomTabControl : public TcxControl {
  VXN_DECLARE_CLASS(TcxCustomTabControl)

 public:
  explicit TcxCustomTabControl(TComponent* AOwner);
  ~TcxCustomTabControl() override;

  // Properties.
  bool HideTabs() const { return FHideTabs; }
  void SetHideTabs(bool Value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  Integer ImageBorder() const { return FImageBorder; }
  void SetImageBorder(Integer Value);
  TCustomImageList* Images() const;
  void SetImages(TCustomImageList* Value);
  Integer MaxRotatedTabWidth();
  Integer GetMaxRotatedTabWidthProp() const { return FMaxRotatedTabWidth; }
  void SetMaxRotatedTabWidth(Integer Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value) { FMultiSelect = Value; }
  TcxPCNavigatorPosition NavigatorPosition() const { return FNavigatorPosition; }
  void SetNavigatorPosition(TcxPCNavigatorPosition Value);
  TcxPCOptions Options() const { return FOptions; }
  void SetOptions(TcxPCOptions Value);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  bool RaggedRight() const { return FRaggedRight; }
  void SetRaggedRight(bool Value);
  bool Rotate() const { return FRotate; }
  void SetRotate(bool Value);
  bool ScrollOpposite() const { return FScrollOpposite; }
  void SetScrollOpposite(bool Value);
  bool ShowFrame() const { return FShowFrame; }
  void SetShowFrame(bool Value);
  TcxPCStyleID Style() const { return FStyle; }
  void SetStyle(TcxPCStyleID Value);
  Integer TabIndex() const;
  // The selection change: refusals, events, scrolling into view.
  void SetTabIndex(Integer Value);
  TcxTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TcxTabPosition Value);
  TcxTabs* Tabs() const { return FTabs.get(); }
  void SetTabs(TStrings* Value) { FTabs->Assign(Value); }
  SmallInt TabHeight() const { return FTabHeight; }
  void SetTabHeight(SmallInt Value);
  SmallInt TabWidth() const { return FTabWidth; }
  void SetTabWidth(SmallInt Value);
  TcxTabSlants* TabSlants() const { return FTabSlants.get(); }
  void SetTabSlants(TcxTabSlants* Value) { FTabSlants->Assign(Value); }

  TcxPCCanCloseEvent OnCanClose;
  TNotifyEvent OnChange;
  TcxTabChangingEvent OnTabChanging;
  TcxDrawTabEvent OnDrawTab;
  TcxDrawTabExEvent OnDrawTabEx;
  TcxGetTabImageEvent OnGetImageIndex;

  // The painter, the marks and the layout state that the painters read.
  TcxPCCustomPainter* Painter() const { return FPainter.get(); }
  TcxVisibleTabList* VisibleTabList() const { return FVisibleTabList.get(); }
  TcxPCImageList* ImageList() const { return FImageList.get(); }
  TcxPCGoDialog* GoDialog() const { return FGoDialog; }
  TcxTimer* RepeatTimer() const { return FRepeatTimer.get(); }
  Integer MainVisibleIndex() const { return FMainVisibleIndex; }
  Integer HotTabVisibleIndex() const { return FHotTab; }
  Integer PressedTabVisibleIndex() const { return FPressedTab; }
  Integer FocusMark() const { return FFocusMark; }
  Integer FirstDisplayed() const { return FFirstDisplayed; }
  Integer LastDisplayed() const { return FLastDisplayed; }
  bool LastFits() const { return FLastFits; }
  Integer RowCount() const { return FRowCount; }
  Integer RowThickness() const { return FRowThickness; }
  Integer LeadingRowCount() const { return FLeadingRowCount; }
  const TRect& LeadingRowsRect() const { return FLeadingRowsRect; }
  const TRect& TrailingRowsRect() const { return FTrailingRowsRect; }
  TcxPCNavigatorButtons ShownNavigatorButtons() const { return FShownNavigatorButtons; }
  TcxPCNavigatorButtons HotNavigatorButtons() const { return FHotNavigatorButtons; }
  TcxPCNavigatorButtons PressedNavigatorButtons() const { return FPressedNavigatorButtons; }
  Integer NavigatorButtonState(TcxPCNavigatorButton Button) const { return FNavigatorButtonStates[Button]; }
  bool IsGoDialogShown() const { return FGoDialogShown; }
  const TabsAreaInfo& TabsArea() const { return FTabsArea; }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDestroying() const { return FDestroying || ComponentState().Contains(csDestroying); }

  // Orientation of the strip.
  bool HasVerticalText() const;
  Integer TabTextRotation() const;
  Integer PaintedTextRotation() const;
  bool DrawsTurnedText() const;
  bool HasUpwardSideText() const;
  bool HasDownwardTurnedText() const;
  bool TabsRunBackwards() const { return HasUpwardSideText() || HasDownwardTurnedText(); }

  // Layout.
  virtual void RecalculateLayout();
  void CalculateLayout();
  void CalculateTabNormalSizes();
  void CalculateTabNormalWidth(TcxTab* Tab);
  void RecalculateRowThickness();
  void SetNavigatorButtons(TcxPCNavigatorButtons Value);
  bool HasNoRoomForTabs() const { return FTabsArea.RowLength < 1; }
  void ScrollTabs(TcxPCNavigatorButton Button);
  void ScrollTabsBy(Integer Steps);
  void ScrollSelectedIntoView(Integer VisibleIndex);
  void ClampMaxRotatedTabWidth();
  TcxPCNavigatorButtons NavigatorButtonsWanted() const;
  void TabRowsRectOf(Integer VisibleIndex, TRect& R) const;
  void UpdateImageRotation();
  // The page area the children align to.
  TRect DisplayClientRect();

  // Multi-line rows.
  void CalculateMultiLineLayout();
  void BalanceRows();
  void OrderRows();
  Integer RowWidth(const TcxPCLineIndexBounds& Bounds, Integer Spacing) const;

  // Style.
  void ApplyDefaultStyle();
  TcxPCCustomPainterClass PainterClass() const;

  // Selection.
  bool IsEventSuppressed() const;
  // True adds one silent level, false removes one.
  void BeginSilent(bool Add);
  virtual TControl* PageOfTab(Integer ATabIndex) {
    (void)ATabIndex;
    return nullptr;
  }
  virtual bool CanCloseTab();
  virtual void CloseTab();
  virtual bool IsTabSelectable(Integer ATabIndex);
  virtual Integer TabImageIndex(Integer ATabIndex);
  virtual void GoDialogTabChosen(Integer ATabIndex);
  // The image adapter's change event.
  virtual void ImagesChanged(TObject* Sender);
  virtual bool HandleTabKey(Word& Key, TShiftState Shift);
  virtual bool SelectionNeedsVisibleTab() const { return false; }
  virtual bool PrintsClientArea() const { return true; }
  virtual bool CanChangeTab(Integer NewIndex);
  virtual void TabChanged();
  bool SelectByAccelerator(char32_t Character);
  // +1 or -1 through the visible indexes for a key's direction on screen.
  Integer ScreenDirection(Integer Direction) const;

  // Navigator buttons, hot tracking and mouse.
  Integer TabAtPoint(Integer X, Integer Y);
  bool IsNavigatorButtonUsable(TcxPCNavigatorButton Button) const;
  void UpdateNavigatorButtonState(TcxPCNavigatorButton Button);
  void UpdateNavigatorButtonStates();
  void ReleaseNavigatorMarks();
  void SetHotNavigatorButtons(TcxPCNavigatorButtons Value);
  void UpdateHotTrack(TShiftState Shift);
  void RefreshHotTrack();
  void ClickTab(Integer VisibleIndex, bool Toggle);
  void ShowGoDialog();
  void ChooseFromGoDialog(Integer ATabIndex);
  void CloseMainTab();
  bool IsPointOverTabRow(const TPoint& P);
  bool IsDesignHit(Integer X, Integer Y);

  // Marks, written by the tabs and the control.
  void SetMainVisibleIndex(Integer Value) { FMainVisibleIndex = Value; }
  void SetHotTabMark(Integer Value) { FHotTab = Value; }
  void SetFocusMarkValue(Integer Value) { FFocusMark = Value; }
  void StoreTabIndex(Integer Value) { FTabIndex = Value; }
  Integer StoredTabIndex() const { return FTabIndex; }

  // The window side; a test may stand in for the window.
  virtual bool WindowExists() const { return HandleAllocated(); }
  virtual TcxCanvas* Canvas() { return cxCanvas(); }
  // Never makes the window: nil while there is none.
  win::HWND WindowHandle() { return HandleAllocated() ? Handle() : nullptr; }
  // The colour behind the control (its parent's).
  virtual TColor ParentBackgroundColor() const;
  using TcxControl::InvalidateArea;
  virtual void InvalidateArea(const TRect& R) { TcxControl::InvalidateArea(R, false); }
  virtual void RealignChildren();
  virtual void RedrawWithChildren();

  void DefineProperties(TFiler* Filer) override;

 protected:
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) override;
  bool NeedsEraseBackground() override { return false; }
  bool HasOwnScrollBars() const override { return false; }
  void FocusChanged() override;
  void NotifyFontListeners() override;
  void NotifyMouseLeave(TControl* AControl) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void Resize() override;
  void AdjustClientRect(TRect& Rect) override;
  void Loaded() override;
  void CreateWnd() override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMParentColorChanged(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

  // Never called.
  virtual void ReservedHook(Integer Argument) { (void)Argument; }
  Integer FSilentCount = 0;

 private:
  // The style paints its background under a tab image.
  void FillImageBackground(TBitmap* Bitmap);
  void PlaceRow(Integer First, Integer Last, bool KeepGoing);
  void FitSingleRow();
  void CalculateRowThickness();
  void CalculateRowBands();
  void RelayoutIfVisibleTabs();
  void PressNavigatorButton(TcxPCNavigatorButton Button);
  void PressTab(Integer VisibleIndex, TShiftState Shift);
  void StartNavigatorRepeat();
  void NavigatorRepeatTick(TObject* Sender);
  void StopNavigatorRepeat();
  void RepaintNavigatorButton(TcxPCNavigatorButton Button, Integer NewState);
  void BalanceGroup(Integer First, Integer Last, Integer FirstRow, Integer RowLength, Integer Spacing);
  void StretchRow(const TcxPCLineIndexBounds& Bounds, Integer RowLength, Integer Spacing);
  bool NavigatorButtonUnder(Integer X, Integer Y, TcxPCNavigatorButton& Button);

  TRect FStreamedClientRect;
  TRect FTrailingRowsRect;
  TRect FLeadingRowsRect;
  Integer FFirstDisplayed = -1;
  Integer FLastDisplayed = -1;
  TcxPCGoDialog* FGoDialog = nullptr;  // owned as a component
  bool FHideTabs = false;
  bool FHotTrack = false;
  TcxPCNavigatorButtons FHotNavigatorButtons;
  Integer FHotTab = -1;
  Integer FImageBorder = 0;
  std::unique_ptr<TcxPCImageList> FImageList;
  bool FStreamedRectRead = false;
  bool FGoDialogShown = false;
  bool FLastFits = false;
  Integer FMainVisibleIndex = -1;
  Integer FMaxRotatedTabWidth = 0;
  bool FMultiLine = false;
  bool FMultiSelect = false;
  TcxPCNavigatorButtons FShownNavigatorButtons;
  Integer FNavigatorButtonStates[4] = {};
  TcxPCNavigatorPosition FNavigatorPosition = npRightTop;
  TcxPCOptions FOptions = cxPCDefaultOptions;
  bool FOwnerDraw = false;
  std::unique_ptr<TcxPCCustomPainter> FPainter;
  TcxPCNavigatorButtons FPressedNavigatorButtons;
  Integer FPressedTab = -1;
  bool FRaggedRight = false;
  bool FRotate = false;
  Integer FRowCount = 0;
  Integer FRowThickness = 0;
  bool FScrollOpposite = false;
  bool FShowFrame = false;
  TcxPCStyleID FStyle = cxPCDefaultStyle;
  Integer FTabIndex = -1;
  TcxTabPosition FTabPosition = tpTop;
  std::unique_ptr<TcxTabs> FTabs;
  SmallInt FTabWidth = 0;
  SmallInt FTabHeight = 0;
  std::unique_ptr<TcxTabSlants> FTabSlants;
  TabsAreaInfo FTabsArea;
  std::unique_ptr<TcxTimer> FRepeatTimer;
  Integer FLeadingRowCount = 0;
  Integer FFocusMark = -1;
  bool FInLayout = false;
  std::unique_ptr<TcxVisibleTabList> FVisibleTabList;
  bool FTabIndexStoredWhileLoading = false;
  bool FDestroying = false;
};

// Bounds of the control in client coordinates.
TRect ControlBoundsRect(const TcxCustomTabControl* AControl);
// The visible indexes of the displayed tabs (-1 and -2 with none).
void DisplayedTabRange(const TcxCustomTabControl* AControl, Integer& First, Integer& Last);
// One entry per row: its first and last displayed visible index.
void GetRowTabBounds(const TcxCustomTabControl* AControl, TcxPCLineIndexBoundsArray& Bounds);
// The control's image list holds images.
bool HasImages(const TcxCustomTabControl* AControl);

void RegisterCustomTabControlClasses();
