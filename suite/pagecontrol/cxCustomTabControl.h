// The tab control: its tabs, its properties, the single-row layout of the
// tab strip with the row bands beside the page, the choice of its painter
// by style or look-and-feel, and its image list adapter.
//
// This class holds what the tabs, the layout and the painters need of the
// control. The window side (a window to draw into, invalidation, children
// to realign) is reached through the virtual operations at the end; this
// class answers them as a control that has no window.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Graphics.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/Delegates.h"
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

class TcxCustomTabControl : public TComponent {
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
  bool ShowFrame() const { return FShowFrame; }
  void SetShowFrame(bool Value);
  TcxPCStyleID Style() const { return FStyle; }
  void SetStyle(TcxPCStyleID Value);
  Integer TabIndex() const;
  TcxTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TcxTabPosition Value);
  TcxTabs* Tabs() const { return FTabs.get(); }
  SmallInt TabHeight() const { return FTabHeight; }
  void SetTabHeight(SmallInt Value);
  SmallInt TabWidth() const { return FTabWidth; }
  void SetTabWidth(SmallInt Value);
  TcxTabSlants* TabSlants() const { return FTabSlants.get(); }
  void SetTabSlants(TcxTabSlants* Value) { FTabSlants->Assign(Value); }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }

  TcxDrawTabEvent OnDrawTab;
  TcxDrawTabExEvent OnDrawTabEx;
  TcxGetTabImageEvent OnGetImageIndex;

  // The control's size, state and colours (a window gives them later).
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void SetBounds(Integer AWidth, Integer AHeight);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFont* Font() const { return FFont.get(); }

  // The painter, the marks and the layout state that the painters read.
  TcxPCCustomPainter* Painter() const { return FPainter.get(); }
  TcxVisibleTabList* VisibleTabList() const { return FVisibleTabList.get(); }
  TcxPCImageList* ImageList() const { return FImageList.get(); }
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
  Integer NavigatorButtonState(TcxPCNavigatorButton Button) const { return FNavigatorButtonStates[Button]; }
  const TabsAreaInfo& TabsArea() const { return FTabsArea; }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDestroying() const { return FDestroying || ComponentState().Contains(csDestroying); }
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }

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

  // Style.
  void ApplyDefaultStyle();
  TcxPCCustomPainterClass PainterClass() const;

  virtual Integer TabImageIndex(Integer ATabIndex);
  // The page that a tab stands for; none in a plain tab control.
  virtual TControl* PageOfTab(Integer ATabIndex) {
    (void)ATabIndex;
    return nullptr;
  }
  virtual bool SelectionNeedsVisibleTab() const { return false; }
  // The image adapter's change event.
  virtual void ImagesChanged(TObject* Sender);

  // Marks, written by the tabs and the control.
  void SetMainVisibleIndex(Integer Value) { FMainVisibleIndex = Value; }
  void SetHotTabMark(Integer Value) { FHotTab = Value; }
  void SetFocusMarkValue(Integer Value) { FFocusMark = Value; }
  void StoreTabIndex(Integer Value) { FTabIndex = Value; }
  Integer StoredTabIndex() const { return FTabIndex; }

  // The window side.
  virtual bool WindowExists() const { return false; }
  virtual TcxCanvas* Canvas() { return nullptr; }
  virtual win::HWND WindowHandle() const { return nullptr; }
  virtual bool Focused() const { return false; }
  virtual TColor ParentColor() const { return clBtnFace; }
  virtual void InvalidateArea(const TRect& R) { (void)R; }
  virtual void Invalidate() {}
  virtual void RealignChildren() {}
  virtual void RedrawWithChildren() {}

  // Operations of the selection, the navigator, hot tracking and
  // multi-line rows, which the tabs and the layout call.
  virtual void SetTabIndex(Integer Value) = 0;
  virtual void ReleaseNavigatorMarks() = 0;
  virtual void UpdateNavigatorButtonStates() = 0;
  virtual void RefreshHotTrack() = 0;
  virtual void CalculateMultiLineLayout() = 0;

 protected:
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);

 private:
  // The style paints its background under a tab image.
  void FillImageBackground(TBitmap* Bitmap);
  void PlaceRow(Integer First, Integer Last, bool KeepGoing);
  void FitSingleRow();
  void CalculateRowThickness();
  void CalculateRowBands();
  void RelayoutIfVisibleTabs();

  TRect FTrailingRowsRect;
  TRect FLeadingRowsRect;
  Integer FFirstDisplayed = -1;
  Integer FLastDisplayed = -1;
  bool FHideTabs = false;
  bool FHotTrack = false;
  Integer FHotTab = -1;
  Integer FImageBorder = 0;
  std::unique_ptr<TcxPCImageList> FImageList;
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
  Integer FLeadingRowCount = 0;
  Integer FFocusMark = -1;
  bool FInLayout = false;
  std::unique_ptr<TcxVisibleTabList> FVisibleTabList;

  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TFont> FFont;
  Integer FWidth = 289;
  Integer FHeight = 193;
  bool FEnabled = true;
  TColor FColor = clBtnFace;
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
