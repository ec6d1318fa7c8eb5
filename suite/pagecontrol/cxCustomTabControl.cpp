#include "suite/pagecontrol/cxCustomTabControl.h"

#include <algorithm>
#include <limits>

#include "platform/forms/CustomForms.h"
#include "platform/forms/ImgList.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"
#include "suite/foundation/cxTimer.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "suite/foundation/cxClasses.h"
#include "suite/pagecontrol/cxPCConsts.h"
#include "suite/pagecontrol/cxPCGoDialog.h"
#include "suite/pagecontrol/cxPCGeometry.h"
#include "suite/pagecontrol/cxPCImageList.h"
#include "suite/pagecontrol/cxPCPainter.h"
#include "suite/pagecontrol/cxPCPaintersFactory.h"

VXN_IMPLEMENT_CLASS(TcxTabSlants, TPersistent)
VXN_IMPLEMENT_CLASS(TcxCustomTabControl, TcxControl)

VXN_PUBLISH(TcxTabSlants) {
  P.Property("Kind", &TcxTabSlants::Kind, &TcxTabSlants::SetKind).Default(skSlant);
  P.Property("Positions", &TcxTabSlants::Positions, &TcxTabSlants::SetPositions)
      .Default(static_cast<int64_t>(TcxTabSlantPositions{spLeft}.Bits()));
}

VXN_PUBLISH(TcxCustomTabControl) {
  P.Property("HideTabs", &TcxCustomTabControl::HideTabs, &TcxCustomTabControl::SetHideTabs).Default(0);
  P.Property("HotTrack", &TcxCustomTabControl::HotTrack, &TcxCustomTabControl::SetHotTrack).Default(0);
  P.Property("ImageBorder", &TcxCustomTabControl::ImageBorder, &TcxCustomTabControl::SetImageBorder).Default(0);
  P.Property("Images", &TcxCustomTabControl::Images, &TcxCustomTabControl::SetImages);
  P.Property("LookAndFeel", &TcxCustomTabControl::LookAndFeel, &TcxCustomTabControl::SetLookAndFeel);
  P.Property("MaxRotatedTabWidth", &TcxCustomTabControl::GetMaxRotatedTabWidthProp,
             &TcxCustomTabControl::SetMaxRotatedTabWidth)
      .Default(0);
  P.Property("MultiLine", &TcxCustomTabControl::MultiLine, &TcxCustomTabControl::SetMultiLine).Default(0);
  P.Property("NavigatorPosition", &TcxCustomTabControl::NavigatorPosition,
             &TcxCustomTabControl::SetNavigatorPosition)
      .Default(npRightTop);
  P.Property("Options", &TcxCustomTabControl::Options, &TcxCustomTabControl::SetOptions)
      .Default(static_cast<int64_t>(cxPCDefaultOptions.Bits()));
  P.Property("OwnerDraw", &TcxCustomTabControl::OwnerDraw, &TcxCustomTabControl::SetOwnerDraw).Default(0);
  P.Property("RaggedRight", &TcxCustomTabControl::RaggedRight, &TcxCustomTabControl::SetRaggedRight).Default(0);
  P.Property("Rotate", &TcxCustomTabControl::Rotate, &TcxCustomTabControl::SetRotate).Default(0);
  P.Property("ScrollOpposite", &TcxCustomTabControl::ScrollOpposite, &TcxCustomTabControl::SetScrollOpposite)
      .Default(0);
  P.Property("ShowFrame", &TcxCustomTabControl::ShowFrame, &TcxCustomTabControl::SetShowFrame).Default(0);
  P.Property("Style", &TcxCustomTabControl::Style, &TcxCustomTabControl::SetStyle).Default(cxPCDefaultStyle);
  P.Property("TabHeight", &TcxCustomTabControl::TabHeight, &TcxCustomTabControl::SetTabHeight).Default(0);
  P.Property("TabPosition", &TcxCustomTabControl::TabPosition, &TcxCustomTabControl::SetTabPosition)
      .Default(tpTop);
  P.Property("TabSlants", &TcxCustomTabControl::TabSlants, &TcxCustomTabControl::SetTabSlants);
  P.Property("TabWidth", &TcxCustomTabControl::TabWidth, &TcxCustomTabControl::SetTabWidth).Default(0);
  P.Redeclare("TabStop").Default(1);
  P.Event("OnCanClose", &TcxCustomTabControl::OnCanClose);
  P.Event("OnChange", &TcxCustomTabControl::OnChange);
  P.Event("OnDrawTab", &TcxCustomTabControl::OnDrawTab);
  P.Event("OnDrawTabEx", &TcxCustomTabControl::OnDrawTabEx);
  P.Event("OnGetImageIndex", &TcxCustomTabControl::OnGetImageIndex);
}

// TcxTabSlants ------------------------------------------------------------------

void TcxTabSlants::Assign(TPersistent* Source) {
  if (auto* slants = dynamic_cast<TcxTabSlants*>(Source)) {
    SetKind(slants->Kind());
    SetPositions(slants->Positions());
    return;
  }
  TPersistent::Assign(Source);
}

void TcxTabSlants::SetKind(TcxTabSlantKind Value) {
  if (Value == FKind) return;
  FKind = Value;
  Changed();
}

void TcxTabSlants::SetPositions(TcxTabSlantPositions Value) {
  if (Value == FPositions) return;
  FPositions = Value;
  Changed();
}

TPersistent* TcxTabSlants::GetOwner() { return FOwner; }

void TcxTabSlants::Changed() {
  if (FOwner) FOwner->RecalculateLayout();
}

// TcxCustomTabControl -----------------------------------------------------------

namespace {

// Lends the control's canvas a memory DC while it has none (outside
// painting): the painters measure captions and theme parts on it.
class MeasuringCanvasScope {
 public:
  explicit MeasuringCanvasScope(TcxCanvas* ACanvas) : canvas_(ACanvas ? ACanvas->Canvas : nullptr) {
    if (!canvas_ || canvas_->HandleAllocated()) return;
    dc_ = win::CreateCompatibleDC(nullptr);
    canvas_->SetHandle(dc_);
  }
  ~MeasuringCanvasScope() {
    if (!dc_) return;
    canvas_->SetHandle(nullptr);
    win::DeleteDC(dc_);
  }
  MeasuringCanvasScope(const MeasuringCanvasScope&) = delete;
  MeasuringCanvasScope& operator=(const MeasuringCanvasScope&) = delete;

 private:
  TCanvas* canvas_;
  win::HDC dc_ = nullptr;
};

const TcxPCPaintersFactory& Factory() {
  static const TcxPCPaintersFactory empty;
  return PaintersFactory() ? *PaintersFactory() : empty;
}

}  // namespace

TcxCustomTabControl::TcxCustomTabControl(TComponent* AOwner)
    : TcxControl(AOwner),
      FImageList(std::make_unique<TcxPCImageList>(this)),
      FTabs(std::make_unique<TcxTabs>(this)),
      FTabSlants(std::make_unique<TcxTabSlants>(this)),
      FVisibleTabList(std::make_unique<TcxVisibleTabList>(this)) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  FImageList->OnChange = TNotifyEvent(this, &TcxCustomTabControl::ImagesChanged);
  FImageList->OnFillBitmapBackground =
      TcxPCBitmapBackgroundEvent(this, &TcxCustomTabControl::FillImageBackground);
  // The painter answers every metric, the size's included.
  SetStyle(cxPCDefaultStyle);
  SetBounds(Left(), Top(), 289, 193);
  SetColor(clBtnFace);
  SetTabStop(true);
  if (!IsDesigning()) {
    FGoDialog = new TcxPCGoDialog(this);  // owned by the control as a component
    FGoDialog->OnTabChosen = TcxPCGoDialogTabChosenEvent(this, &TcxCustomTabControl::GoDialogTabChosen);
  }
}

TcxCustomTabControl::~TcxCustomTabControl() {
  FDestroying = true;
  FTabSlants.reset();
  FRepeatTimer.reset();
  delete FGoDialog;
  FGoDialog = nullptr;
  FImageList.reset();
  FTabs->Clear();
  FTabs.reset();
  Factory().ReleasePainter(std::move(FPainter));
  FVisibleTabList.reset();
}

// Properties.

void TcxCustomTabControl::SetHideTabs(bool Value) {
  if (Value == FHideTabs) return;
  FHideTabs = Value;
  Invalidate();
  RealignChildren();
}

void TcxCustomTabControl::SetHotTrack(bool Value) {
  if (Value == FHotTrack) return;
  FHotTrack = Value;
  RefreshHotTrack();
}

void TcxCustomTabControl::RelayoutIfVisibleTabs() {
  if (FVisibleTabList->Count() > 0) RecalculateLayout();
}

void TcxCustomTabControl::SetImageBorder(Integer Value) {
  if (Value < 0 || Value == FImageBorder) return;
  FImageBorder = Value;
  RelayoutIfVisibleTabs();
}

TCustomImageList* TcxCustomTabControl::Images() const { return FImageList->BaseImages(); }

void TcxCustomTabControl::SetImages(TCustomImageList* Value) { FImageList->SetBaseImages(Value); }

Integer TcxCustomTabControl::MaxRotatedTabWidth() {
  ClampMaxRotatedTabWidth();
  return FMaxRotatedTabWidth;
}

void TcxCustomTabControl::SetMaxRotatedTabWidth(Integer Value) {
  if (Value < 0) Value = 0;
  if (Value > 0) Value = std::max(Value, FPainter->MinTabNormalWidth());
  if (Value == FMaxRotatedTabWidth) return;
  FMaxRotatedTabWidth = Value;
  if (FRotate) RelayoutIfVisibleTabs();
}

void TcxCustomTabControl::SetMultiLine(bool Value) {
  if (Value == FMultiLine) return;
  FMultiLine = Value;
  RecalculateLayout();
}

void TcxCustomTabControl::SetNavigatorPosition(TcxPCNavigatorPosition Value) {
  if (Value == FNavigatorPosition) return;
  FNavigatorPosition = Value;
  RecalculateLayout();
}

void TcxCustomTabControl::SetOptions(TcxPCOptions Value) {
  if (Value == FOptions) return;
  const TcxPCOptions changed = (Value - FOptions) + (FOptions - Value);
  FOptions = Value;
  if (!(changed - pcoSort).Empty()) RecalculateLayout();
}

void TcxCustomTabControl::SetOwnerDraw(bool Value) {
  if (Value == FOwnerDraw) return;
  FOwnerDraw = Value;
  Invalidate();
}

void TcxCustomTabControl::SetRaggedRight(bool Value) {
  if (Value == FRaggedRight) return;
  FRaggedRight = Value;
  if (FMultiLine) RecalculateLayout();
}

void TcxCustomTabControl::SetRotate(bool Value) {
  if (Value && !PainterClass()->AllowsRotation())
    throw Exception(Format(TranslateResourceString(scxPCStyleNameError), {PainterClass()->StyleName()}));
  if (Value == FRotate) return;
  FRotate = Value;
  RecalculateLayout();
}

void TcxCustomTabControl::SetShowFrame(bool Value) {
  if (Value == FShowFrame) return;
  FShowFrame = Value;
  RecalculateLayout();
}

void TcxCustomTabControl::SetStyle(TcxPCStyleID Value) {
  if (Value == cxPCDefaultStyle) {
    FStyle = cxPCDefaultStyle;
    ApplyDefaultStyle();
    return;
  }
  if (Value == FStyle) return;
  TcxPCCustomPainterClass painterClass = Factory().FindPainterClass(Value);
  if (!painterClass) return;
  FStyle = Value;
  if (FPainter && FPainter->PainterClass() == painterClass) return;
  Factory().ReleasePainter(std::move(FPainter));
  FPainter = Factory().GetPainterInstance(painterClass, this);
  if (FRotate && !painterClass->AllowsRotation()) SetRotate(false);
  FTabs->FreeTextBitmaps();
  RecalculateLayout();
  RedrawWithChildren();
}

void TcxCustomTabControl::ApplyDefaultStyle() {
  if (FStyle != cxPCDefaultStyle) return;
  TcxPCStyleID id = Factory().GetStyleIDForLookAndFeel(LookAndFeel());
  if (id == -1) id = Factory().GetDefaultStyleID(LookAndFeel());
  // The write treats 0 as "follow the look-and-feel"; pretend another style
  // is stored so that the write runs.
  FStyle = -1;
  struct RestoreDefault {
    TcxPCStyleID& style;
    ~RestoreDefault() { style = cxPCDefaultStyle; }
  } restore{FStyle};
  SetStyle(id);
}

TcxPCCustomPainterClass TcxCustomTabControl::PainterClass() const { return FPainter->PainterClass(); }

Integer TcxCustomTabControl::TabIndex() const {
  return FMainVisibleIndex == -1 ? -1 : FVisibleTabList->TabIndexAt(FMainVisibleIndex);
}

void TcxCustomTabControl::SetTabPosition(TcxTabPosition Value) {
  if (Value == FTabPosition) return;
  FTabPosition = Value;
  RecalculateLayout();
}

void TcxCustomTabControl::SetTabHeight(SmallInt Value) {
  if (Value == FTabHeight) return;
  FTabHeight = Value;
  RecalculateLayout();
}

void TcxCustomTabControl::SetTabWidth(SmallInt Value) {
  if (Value == FTabWidth) return;
  FTabWidth = Value;
  RecalculateLayout();
}

Integer TcxCustomTabControl::TabImageIndex(Integer ATabIndex) {
  Integer index = FTabs->GetTab(ATabIndex)->OwnImageIndex();
  if (OnGetImageIndex) OnGetImageIndex(this, ATabIndex, index);
  if (index < 0) index = -1;
  TCustomImageList* images = Images();
  if (!images || images->Width() <= 0 || images->Height() <= 0 || images->Count() <= index) return -1;
  return index;
}

void TcxCustomTabControl::FillImageBackground(TBitmap* Bitmap) {
  FPainter->FillContentBitmap(Bitmap, FPainter->ContentImageRect(), FPainter->ContentVisibleIndex());
}

void TcxCustomTabControl::ImagesChanged(TObject* Sender) {
  (void)Sender;
  RecalculateLayout();
}

void TcxCustomTabControl::LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) {
  TcxControl::LookAndFeelChanged(Sender, AChangedValues);
  ApplyDefaultStyle();
  RecalculateLayout();
  if (AChangedValues.Contains(lfvNativeStyle)) RedrawWithChildren();
}

// Orientation.

bool TcxCustomTabControl::HasVerticalText() const {
  const bool sideways = FTabPosition == tpLeft || FTabPosition == tpRight;
  return sideways != FRotate;
}

Integer TcxCustomTabControl::TabTextRotation() const {
  if (!HasVerticalText()) return 0;
  return FOptions.Contains(pcoTopToBottomText) ? 2 : 1;
}

Integer TcxCustomTabControl::PaintedTextRotation() const {
  return FPainter->IsNativePainting() ? 0 : TabTextRotation();
}

bool TcxCustomTabControl::DrawsTurnedText() const { return HasVerticalText() && !FPainter->IsNativePainting(); }

bool TcxCustomTabControl::HasUpwardSideText() const {
  return (FTabPosition == tpLeft || FTabPosition == tpRight) && !FRotate && !FOptions.Contains(pcoTopToBottomText);
}

bool TcxCustomTabControl::HasDownwardTurnedText() const {
  return (FTabPosition == tpTop || FTabPosition == tpBottom) && FRotate && FOptions.Contains(pcoTopToBottomText);
}

// Layout.

void TcxCustomTabControl::RecalculateLayout() {
  if (IsLoading() || IsDestroying() || FInLayout || !WindowExists()) return;
  FInLayout = true;
  MeasuringCanvasScope measuring(Canvas());
  struct ClearGuard {
    bool& flag;
    ~ClearGuard() { flag = false; }
  } guard{FInLayout};
  ClampMaxRotatedTabWidth();
  FTabs->FreeTextBitmaps();
  CalculateLayout();
  FTabs->RepaintImages();
  UpdateImageRotation();
  RealignChildren();
  Invalidate();
  FTabs->SyncMainTab();
  RefreshHotTrack();
}

void TcxCustomTabControl::UpdateImageRotation() {
  if (HasImages(this)) FImageList->SetImageRotation(PaintedTextRotation());
}

void TcxCustomTabControl::CalculateLayout() {
  const Integer visibleCount = FVisibleTabList->Count();
  FLeadingRowsRect = {};
  FTrailingRowsRect = {};
  if (FFirstDisplayed == -1 && visibleCount > 0) FFirstDisplayed = 0;
  if (FFirstDisplayed >= visibleCount) FFirstDisplayed = visibleCount - 1;
  FLastDisplayed = FFirstDisplayed;
  if (FHotTab >= visibleCount) FHotTab = -1;
  if (FMainVisibleIndex >= visibleCount) FMainVisibleIndex = -1;
  if (FPressedTab >= visibleCount) FPressedTab = -1;
  FRowCount = 0;
  if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
  FLeadingRowCount = 0;
  if (visibleCount == 0) {
    FShownNavigatorButtons = {};
    ReleaseNavigatorMarks();
    FPainter->CalculateTabsArea({}, FTabsArea);
    return;
  }
  CalculateTabNormalSizes();
  if (FMultiLine) {
    CalculateMultiLineLayout();
    return;
  }
  FRowCount = 1;
  FLeadingRowCount = FTabPosition == tpTop || FTabPosition == tpLeft ? 1 : 0;
  FitSingleRow();
  if (HasNoRoomForTabs()) return;
  for (Integer v = FFirstDisplayed; v <= FLastDisplayed; ++v) {
    TcxTab* tab = FVisibleTabList->GetTab(v);
    tab->PlacementRow = 0;
    tab->DisplayedRow = 0;
  }
  CalculateRowThickness();
  CalculateRowBands();
}

void TcxCustomTabControl::CalculateTabNormalSizes() {
  if (FTabs->Count() == 0)
    throw Exception(std::string("TcxCustomTabControl.CalculateTabNormalSizes: ") +
                    TranslateResourceString(scxPCNoTabs));
  MeasuringCanvasScope measuring(Canvas());
  FTabs->CommonTabHeight = FPainter->TabNormalHeight();
  for (Integer i = 0; i < FTabs->Count(); ++i) CalculateTabNormalWidth(FTabs->GetTab(i));
}

void TcxCustomTabControl::CalculateTabNormalWidth(TcxTab* Tab) {
  MeasuringCanvasScope measuring(Canvas());
  Tab->NormalWidth = FPainter->TabNormalWidth(Tab);
}

void TcxCustomTabControl::RecalculateRowThickness() { CalculateRowThickness(); }

void TcxCustomTabControl::SetNavigatorButtons(TcxPCNavigatorButtons Value) {
  FShownNavigatorButtons = Value;
  FPainter->CalculateTabsArea(Value, FTabsArea);
}

TcxPCNavigatorButtons TcxCustomTabControl::NavigatorButtonsWanted() const {
  TcxPCNavigatorButtons buttons;
  if (FOptions.Contains(pcoCloseButton)) buttons += nbClose;
  if (!(FOptions.Contains(pcoNoArrows) && FOptions.Contains(pcoGoDialog))) {
    buttons += nbTopLeft;
    buttons += nbBottomRight;
  }
  if (FOptions.Contains(pcoGoDialog)) buttons += nbGoDialog;
  return buttons;
}

void TcxCustomTabControl::FitSingleRow() {
  const Integer last = FVisibleTabList->Count() - 1;
  const Integer kept = FFirstDisplayed;
  FFirstDisplayed = 0;
  TcxPCNavigatorButtons fitAttempt;
  if (FOptions.Contains(pcoCloseButton)) fitAttempt += nbClose;
  SetNavigatorButtons(fitAttempt);
  if (HasNoRoomForTabs()) return;
  PlaceRow(0, last, true);
  if (!FLastFits) {
    FFirstDisplayed = kept;
    SetNavigatorButtons(NavigatorButtonsWanted());
    if (HasNoRoomForTabs()) return;
    PlaceRow(FFirstDisplayed, last, false);
    if (FLastFits) {
      while (FFirstDisplayed > 0) {
        --FFirstDisplayed;
        PlaceRow(FFirstDisplayed, last, false);
        if (!FLastFits) {
          ++FFirstDisplayed;
          PlaceRow(FFirstDisplayed, last, false);
          break;
        }
      }
    }
  }
  ReleaseNavigatorMarks();
  UpdateNavigatorButtonStates();
}

void TcxCustomTabControl::PlaceRow(Integer First, Integer Last, bool KeepGoing) {
  const bool vertical = FTabPosition == tpLeft || FTabPosition == tpRight;
  const Integer start = PointCoordinate(FTabsArea.RowRect.TopLeft(), vertical);
  const IntegerPair spacingPair = FPainter->TabsSpacing();
  const Integer spacing = FRotate ? spacingPair.Second : spacingPair.First;
  Integer direction;
  Integer position;
  Integer limit;
  if (TabsRunBackwards()) {
    direction = -1;
    limit = -start;
    position = start + FTabsArea.RowLength - 1;
  } else {
    direction = 1;
    position = start;
    limit = start + FTabsArea.RowLength - 1;
  }
  Integer far = position;
  for (Integer v = First; v <= Last; ++v) {
    FLastDisplayed = v;
    TcxTab* tab = FVisibleTabList->GetTab(v);
    far = position + direction * (tab->RowExtent() - 1);
    SetPointCoordinate(tab->Position, vertical, direction > 0 ? position : far);
    position = far + direction * (spacing + 1);
    if (!KeepGoing && direction * position > limit) break;
  }
  FLastFits = direction * far <= limit && FLastDisplayed == Last;
}

void TcxCustomTabControl::CalculateRowThickness() {
  if (!FRotate) {
    FRowThickness = FTabs->CommonTabHeight;
    return;
  }
  Integer First;
  Integer Last;
  DisplayedTabRange(this, First, Last);
  Integer widest = 0;
  for (Integer v = First; v <= Last; ++v) widest = std::max(widest, FVisibleTabList->GetTab(v)->NormalWidth);
  FRowThickness = widest;
  if (FMaxRotatedTabWidth > 0 && FMaxRotatedTabWidth >= FPainter->MinTabNormalWidth() &&
      FMaxRotatedTabWidth < widest)
    FRowThickness = FMaxRotatedTabWidth;
}

void TcxCustomTabControl::CalculateRowBands() {
  const bool acrossY = FTabPosition == tpTop || FTabPosition == tpBottom;
  const IntegerPair spacingPair = FPainter->TabsSpacing();
  const Integer rowSpacing = FRotate ? spacingPair.First : spacingPair.Second;
  const Integer areaStart = PointCoordinate(FTabsArea.RowRect.TopLeft(), acrossY);
  const Integer areaEnd = PointCoordinate(FTabsArea.RowRect.BottomRight(), acrossY);
  const Integer boundsStart = PointCoordinate(FTabsArea.Bounds.TopLeft(), acrossY);
  const Integer boundsEnd = PointCoordinate(FTabsArea.Bounds.BottomRight(), acrossY);
  const Integer thickness = FRowThickness;

  Integer First;
  Integer Last;
  DisplayedTabRange(this, First, Last);
  for (Integer v = First; v <= Last; ++v) {
    TcxTab* tab = FVisibleTabList->GetTab(v);
    const Integer r = tab->DisplayedRow;
    Integer cross;
    if (r < FLeadingRowCount)
      cross = areaStart + r * (thickness + rowSpacing);
    else
      cross = areaEnd - (FRowCount - r) * thickness - (FRowCount - r - 1) * rowSpacing;
    SetPointCoordinate(tab->Position, acrossY, cross);
  }

  Integer leadingEnd = std::min(boundsEnd, areaStart + FLeadingRowCount * (thickness + rowSpacing) - rowSpacing +
                                               FTabsArea.LeadingBandExtra);
  Integer trailingStart =
      std::max(boundsStart, areaEnd - (FRowCount - FLeadingRowCount) * (thickness + rowSpacing) + rowSpacing +
                                FTabsArea.TrailingBandExtra);
  if (FLeadingRowCount > 0 && FLeadingRowCount < FRowCount) {
    if (FTabPosition == tpTop || FTabPosition == tpLeft) {
      const Integer candidate = std::min(boundsEnd, leadingEnd + FTabsArea.BandGap);
      if (candidate > trailingStart) trailingStart = candidate;
    } else {
      const Integer candidate = std::max(boundsStart, trailingStart - FTabsArea.BandGap);
      if (candidate < leadingEnd) leadingEnd = candidate;
    }
  }
  const TRect& bounds = FTabsArea.Bounds;
  if (acrossY) {
    FLeadingRowsRect = {bounds.Left, boundsStart, bounds.Right, leadingEnd};
    FTrailingRowsRect = {bounds.Left, trailingStart, bounds.Right, boundsEnd};
  } else {
    FLeadingRowsRect = {boundsStart, bounds.Top, leadingEnd, bounds.Bottom};
    FTrailingRowsRect = {trailingStart, bounds.Top, boundsEnd, bounds.Bottom};
  }
}

void TcxCustomTabControl::ScrollTabs(TcxPCNavigatorButton Button) {
  if (FNavigatorButtonStates[Button] == nbsDisabled) return;
  Integer step = Button == nbBottomRight ? 1 : -1;
  if (TabsRunBackwards()) step = -step;
  FFirstDisplayed += step;
  RecalculateLayout();
}

void TcxCustomTabControl::ScrollTabsBy(Integer Steps) {
  if (FMultiLine) return;
  for (Integer i = 0; i < std::abs(Steps); ++i) ScrollTabs(Steps > 0 ? nbBottomRight : nbTopLeft);
}

void TcxCustomTabControl::ScrollSelectedIntoView(Integer VisibleIndex) {
  if (VisibleIndex < FFirstDisplayed) {
    FFirstDisplayed = VisibleIndex;
    return;
  }
  if ((VisibleIndex == FLastDisplayed && FLastFits) || VisibleIndex < FLastDisplayed) return;
  FPainter->CalculateTabsArea(FShownNavigatorButtons, FTabsArea);
  const IntegerPair spacingPair = FPainter->TabsSpacing();
  const Integer spacing = FRotate ? spacingPair.Second : spacingPair.First;
  if (HasNoRoomForTabs()) {
    FFirstDisplayed = VisibleIndex;
    return;
  }
  Integer total = FVisibleTabList->GetTab(VisibleIndex)->RowExtent();
  FFirstDisplayed = VisibleIndex;
  while (spacing + total < FTabsArea.RowLength && FFirstDisplayed > 0) {
    --FFirstDisplayed;
    total += spacing + FVisibleTabList->GetTab(FFirstDisplayed)->RowExtent();
    if (total > FTabsArea.RowLength) {
      ++FFirstDisplayed;
      break;
    }
  }
}

void TcxCustomTabControl::ClampMaxRotatedTabWidth() {
  if (FMaxRotatedTabWidth > 0 && FPainter && FMaxRotatedTabWidth < FPainter->MinTabNormalWidth())
    FMaxRotatedTabWidth = FPainter->MinTabNormalWidth();
}

void TcxCustomTabControl::TabRowsRectOf(Integer VisibleIndex, TRect& R) const {
  R = FVisibleTabList->GetTab(VisibleIndex)->DisplayedRow < FLeadingRowCount ? FLeadingRowsRect
                                                                                 : FTrailingRowsRect;
}

// Selection.

namespace {

TShiftState CurrentShiftState() {
  TShiftState shift;
  if (win::GetKeyState(win::VK_SHIFT) < 0) shift += ssShift;
  if (win::GetKeyState(win::VK_CONTROL) < 0) shift += ssCtrl;
  if (win::GetKeyState(win::VK_MENU) < 0) shift += ssAlt;
  if (win::GetKeyState(win::VK_LBUTTON) < 0) shift += ssLeft;
  if (win::GetKeyState(win::VK_RBUTTON) < 0) shift += ssRight;
  if (win::GetKeyState(win::VK_MBUTTON) < 0) shift += ssMiddle;
  return shift;
}

TcxPCNavigatorButton LowestButton(TcxPCNavigatorButtons Buttons) {
  for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight, nbGoDialog, nbClose})
    if (Buttons.Contains(b)) return b;
  return nbTopLeft;
}

}  // namespace

void TcxCustomTabControl::SetScrollOpposite(bool Value) {
  if (Value == FScrollOpposite) return;
  FScrollOpposite = Value;
  if (!FMultiLine) return;
  if (FMainVisibleIndex != -1 && PainterClass()->BringsSelectedRowToPage()) {
    OrderRows();
    RealignChildren();
    Invalidate();
  } else {
    RealignChildren();
  }
}

bool TcxCustomTabControl::IsEventSuppressed() const { return FSilentCount > 0 || IsLoading() || IsDesigning(); }

void TcxCustomTabControl::BeginSilent(bool Add) {
  if (Add)
    ++FSilentCount;
  else if (FSilentCount > 0)
    --FSilentCount;
}

bool TcxCustomTabControl::CanChangeTab(Integer NewIndex) {
  (void)NewIndex;
  bool allow = true;
  if (OnTabChanging && !IsEventSuppressed()) OnTabChanging(this, allow);
  return allow;
}

void TcxCustomTabControl::TabChanged() {
  if (!IsEventSuppressed()) OnChange(this);
}

void TcxCustomTabControl::SetTabIndex(Integer Value) {
  if (IsLoading()) {
    FTabIndex = Value;
    FTabIndexStoredWhileLoading = true;
    return;
  }
  if (Value < -1 || Value >= FTabs->Count()) return;
  if (Value != -1 && SelectionNeedsVisibleTab() && !FTabs->GetTab(Value)->Visible()) Value = -1;
  // The stored index, not the read one: after the selected tab was hidden
  // the read already names its successor, which must still be selected.
  if (Value == FTabIndex || !CanChangeTab(Value)) return;
  FTabIndex = -1;
  FTabs->SyncMainTab();
  for (Integer i = 0; i < FTabs->Count(); ++i) FTabs->GetTab(i)->SetSelected(false);
  FTabs->SetFocusedTab(-1);
  FTabIndex = Value;
  FTabs->SyncMainTab();
  TabChanged();
  if (IsDestroying()) return;
  if (!FMultiLine && FMainVisibleIndex != -1) ScrollSelectedIntoView(FMainVisibleIndex);
  if (FMultiLine) {
    if (PainterClass()->BringsSelectedRowToPage()) {
      OrderRows();
      RealignChildren();
      Invalidate();
    }
  } else {
    RecalculateLayout();
  }
  UpdateNavigatorButtonStates();
  RefreshHotTrack();
}

bool TcxCustomTabControl::CanCloseTab() {
  bool canClose = true;
  if (OnCanClose) OnCanClose(this, canClose);
  return canClose;
}

void TcxCustomTabControl::CloseTab() {
  const Integer index = TabIndex();
  if (index != -1) FTabs->Delete(index);
}

bool TcxCustomTabControl::IsTabSelectable(Integer ATabIndex) {
  TcxTab* tab = FTabs->GetTab(ATabIndex);
  return tab->Visible() && tab->IsEnabledNow();
}

void TcxCustomTabControl::GoDialogTabChosen(Integer ATabIndex) { ChooseFromGoDialog(ATabIndex); }

// Window side.

TColor TcxCustomTabControl::ParentBackgroundColor() const { return Parent() ? Parent()->Color() : clBtnFace; }

void TcxCustomTabControl::RealignChildren() { Realign(); }

void TcxCustomTabControl::RedrawWithChildren() {
  if (HandleAllocated())
    win::RedrawWindow(Handle(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN);
}

TRect TcxCustomTabControl::DisplayClientRect() {
  if (IsLoading()) return FStreamedRectRead ? FStreamedClientRect : TRect{0, 0, Width(), Height()};
  MeasuringCanvasScope measuring(Canvas());
  TRect r = FPainter->PageClientRect();
  return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
          std::max(r.Top, r.Bottom)};
}

void TcxCustomTabControl::AdjustClientRect(TRect& Rect) { Rect = DisplayClientRect(); }

void TcxCustomTabControl::DefineProperties(TFiler* Filer) {
  TcxControl::DefineProperties(Filer);
  const TRect r = DisplayClientRect();
  auto side = [&](const char* name, Integer TRect::*field, bool hasData) {
    Filer->DefineProperty(
        name,
        [this, field, name](TReader& Reader) {
          FStreamedClientRect.*field = Reader.ReadInteger();
          if (std::string(name) == "ClientRectTop") FStreamedRectRead = true;
        },
        [value = r.*field](TWriter& Writer) { Writer.WriteInteger(value); }, hasData);
  };
  side("ClientRectBottom", &TRect::Bottom, r.Bottom != 0);
  side("ClientRectLeft", &TRect::Left, r.Left != 0);
  side("ClientRectRight", &TRect::Right, true);
  side("ClientRectTop", &TRect::Top, true);
}

void TcxCustomTabControl::Loaded() {
  TcxControl::Loaded();
  RecalculateLayout();
  if (!FTabIndexStoredWhileLoading) return;
  FTabIndexStoredWhileLoading = false;
  const Integer stored = FTabIndex;
  FTabIndex = -1;
  FTabs->SyncMainTab();
  BeginSilent(true);
  ScopeExit loud([this] { BeginSilent(false); });
  SetTabIndex(stored);
}

void TcxCustomTabControl::CreateWnd() {
  TcxControl::CreateWnd();
  RecalculateLayout();
  RealignChildren();
}

void TcxCustomTabControl::CreateParams(TCreateParams& Params) {
  TcxControl::CreateParams(Params);
  Params.WindowClassStyle &= ~(win::CS_HREDRAW | win::CS_VREDRAW);
}

void TcxCustomTabControl::Resize() {
  TcxControl::Resize();
  RecalculateLayout();
  RealignChildren();
  if (FPainter->RepaintsAllOnResize()) RedrawWithChildren();
}

void TcxCustomTabControl::Paint() {
  FPainter->SaveClip();
  ScopeExit restore([this] { FPainter->RestoreClip(); });
  FPainter->Paint();
}

void TcxCustomTabControl::FocusChanged() {
  TcxControl::FocusChanged();
  if (FMainVisibleIndex != -1 && FVisibleTabList->GetTab(FMainVisibleIndex)->IsShown())
    FPainter->InvalidateTab(FMainVisibleIndex, tckFocus);
}

void TcxCustomTabControl::NotifyFontListeners() {
  TcxControl::NotifyFontListeners();
  Canvas()->Font()->Assign(Font());
  RecalculateLayout();
}

void TcxCustomTabControl::NotifyMouseLeave(TControl* AControl) {
  TcxControl::NotifyMouseLeave(AControl);
  if (!FGoDialogShown) UpdateHotTrack({});
}

void TcxCustomTabControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case win::WM_GETDLGCODE:
      TcxControl::Dispatch(Message);
      Message.Result |= win::DLGC_WANTARROWS;
      return;
    case win::WM_PRINTCLIENT:
      if (!PrintsClientArea()) {
        Message.Result = 1;
        return;
      }
      break;
    case CM_DESIGNHITTEST:
      TcxControl::Dispatch(Message);
      if (IsDesignHit(win::GET_X_LPARAM(Message.LParam), win::GET_Y_LPARAM(Message.LParam))) Message.Result = 1;
      return;
    default: break;
  }
  TcxControl::Dispatch(Message);
}

void TcxCustomTabControl::CMDialogChar(TMessage& Message) {
  if (SelectByAccelerator(static_cast<char32_t>(Message.WParam))) {
    Message.Result = 1;
    return;
  }
  TcxControl::CMDialogChar(Message);
}

void TcxCustomTabControl::CMDialogKey(TMessage& Message) {
  const win::HWND focus = win::GetFocus();
  if (HandleAllocated() && focus && (focus == Handle() || win::IsChild(Handle(), focus))) {
    Word key = static_cast<Word>(Message.WParam);
    if (HandleTabKey(key, CurrentShiftState())) {
      Message.Result = 1;
      return;
    }
  }
  TcxControl::CMDialogKey(Message);
}

void TcxCustomTabControl::CMEnabledChanged(TMessage& Message) {
  TcxControl::CMEnabledChanged(Message);
  Invalidate();
}

void TcxCustomTabControl::CMParentColorChanged(TMessage& Message) {
  TcxControl::CMParentColorChanged(Message);
  Invalidate();
}

void TcxCustomTabControl::CMMouseLeave(TMessage& Message) {
  TcxControl::CMMouseLeave(Message);
  RefreshHotTrack();
}

void TcxCustomTabControl::KeyDown(Word& Key, TShiftState Shift) {
  TcxControl::KeyDown(Key, Shift);
  HandleTabKey(Key, Shift);
}

bool TcxCustomTabControl::IsPointOverTabRow(const TPoint& P) {
  if (FMultiLine || FFirstDisplayed == -1 || FVisibleTabList->Count() == 0) return false;
  const TRect r = FVisibleTabList->GetTab(FFirstDisplayed)->DisplayRect();
  if (FTabPosition == tpTop || FTabPosition == tpBottom) return P.Y >= r.Top && P.Y < r.Bottom;
  return P.X >= r.Left && P.X < r.Right;
}

bool TcxCustomTabControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  win::POINT cursor;
  win::GetCursorPos(&cursor);
  if (HandleAllocated() && IsPointOverTabRow(ScreenToClient({cursor.x, cursor.y}))) {
    const Integer notches = std::max<Integer>(1, std::abs(WheelDelta) / win::WHEEL_DELTA);
    ScrollTabsBy(WheelDelta < 0 ? notches : -notches);
    return true;
  }
  return TcxControl::DoMouseWheel(Shift, WheelDelta, MousePos);
}

bool TcxCustomTabControl::IsDesignHit(Integer X, Integer Y) {
  TcxPCNavigatorButton button;
  if (NavigatorButtonUnder(X, Y, button)) return button == nbTopLeft || button == nbBottomRight;
  const Integer v = TabAtPoint(X, Y);
  return v != -1 && v != FMainVisibleIndex;
}

// Navigator buttons, hot tracking and mouse.

Integer TcxCustomTabControl::TabAtPoint(Integer X, Integer Y) {
  MeasuringCanvasScope measuring(Canvas());
  Integer first;
  Integer last;
  DisplayedTabRange(this, first, last);
  for (Integer v = first; v <= last; ++v) {
    const TRect r = FVisibleTabList->GetTab(v)->VisibleRect();
    if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom && FPainter->IsPointInTab(v, X, Y)) return v;
  }
  return -1;
}

bool TcxCustomTabControl::NavigatorButtonUnder(Integer X, Integer Y, TcxPCNavigatorButton& Button) {
  return !FShownNavigatorButtons.Empty() && FPainter->NavigatorButtonAt(X, Y, Button) &&
         FShownNavigatorButtons.Contains(Button);
}

bool TcxCustomTabControl::IsNavigatorButtonUsable(TcxPCNavigatorButton Button) const {
  const TcxPCNavigatorButton forward = TabsRunBackwards() ? nbTopLeft : nbBottomRight;
  switch (Button) {
    case nbTopLeft:
    case nbBottomRight:
      if (Button == forward)
        return !(FLastDisplayed == FVisibleTabList->Count() - 1 &&
                 (FLastFits || FFirstDisplayed == FLastDisplayed));
      return FFirstDisplayed > 0;
    case nbClose: return FMainVisibleIndex != -1;
    case nbGoDialog: return true;
  }
  return true;
}

void TcxCustomTabControl::UpdateNavigatorButtonState(TcxPCNavigatorButton Button) {
  if (!FShownNavigatorButtons.Contains(Button)) return;
  const Integer old = FNavigatorButtonStates[Button];
  Integer state = old;
  if (!IsNavigatorButtonUsable(Button))
    state = nbsDisabled;
  else if (old == nbsDisabled)
    state = nbsNormal;
  if (state == old) return;
  if (state == nbsDisabled) {
    FHotNavigatorButtons = {};
    FPressedNavigatorButtons = {};
  }
  FNavigatorButtonStates[Button] = state;
  FPainter->InvalidateNavigatorButton(Button, old);
  RefreshHotTrack();
}

void TcxCustomTabControl::UpdateNavigatorButtonStates() {
  for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight, nbClose}) UpdateNavigatorButtonState(b);
}

void TcxCustomTabControl::ReleaseNavigatorMarks() {
  if (!FHotNavigatorButtons.Empty() && !FShownNavigatorButtons.Contains(LowestButton(FHotNavigatorButtons))) {
    FNavigatorButtonStates[LowestButton(FHotNavigatorButtons)] = nbsNormal;
    FHotNavigatorButtons = {};
  }
  if (!FPressedNavigatorButtons.Empty() &&
      !FShownNavigatorButtons.Contains(LowestButton(FPressedNavigatorButtons))) {
    FNavigatorButtonStates[LowestButton(FPressedNavigatorButtons)] = nbsNormal;
    FPressedNavigatorButtons = {};
  }
}

void TcxCustomTabControl::RepaintNavigatorButton(TcxPCNavigatorButton Button, Integer NewState) {
  const Integer old = FNavigatorButtonStates[Button];
  FNavigatorButtonStates[Button] = NewState;
  FPainter->InvalidateNavigatorButton(Button, old);
}

void TcxCustomTabControl::SetHotNavigatorButtons(TcxPCNavigatorButtons Value) {
  if (!FHotNavigatorButtons.Empty()) RepaintNavigatorButton(LowestButton(FHotNavigatorButtons), nbsNormal);
  FHotNavigatorButtons = Value;
  if (!Value.Empty()) RepaintNavigatorButton(LowestButton(Value), nbsHot);
}

void TcxCustomTabControl::UpdateHotTrack(TShiftState Shift) {
  if (IsLoading() || IsDestroying() || IsDesigning() || !WindowExists() || FGoDialogShown) return;
  win::POINT cursor;
  win::GetCursorPos(&cursor);
  const TPoint p = ScreenToClient({cursor.x, cursor.y});
  TcxPCNavigatorButtons hot;
  Integer hotTab = FHotTab;
  if (!(FHotTrack || FPainter->IsNativePainting()) || !Enabled()) {
    hotTab = -1;
  } else {
    TcxPCNavigatorButton button;
    const Integer state = NavigatorButtonUnder(p.X, p.Y, button) ? FNavigatorButtonStates[button] : -1;
    if (!Shift.Contains(ssLeft) && state != -1 && state != nbsPressed && state != nbsDisabled) {
      hot = {button};
      hotTab = -1;
    } else if (!(Shift.Contains(ssLeft) && PainterClass()->IsButtonStyle())) {
      hotTab = TabAtPoint(p.X, p.Y);
      if (hotTab != -1 && !FVisibleTabList->GetTab(hotTab)->Enabled()) hotTab = -1;
    }
  }
  if (hot != FHotNavigatorButtons) SetHotNavigatorButtons(hot);
  FTabs->SetHotTab(hotTab);
}

void TcxCustomTabControl::RefreshHotTrack() { UpdateHotTrack(CurrentShiftState()); }

void TcxCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxObjectLink* link = AddObjectLink(this);
  ScopeExit unlink([link] { RemoveObjectLink(link); });
  TcxControl::MouseDown(Button, Shift, X, Y);
  if (!link->Ref) return;
  if (!IsDesigning() && (FHideTabs || Button != mbLeft)) return;
  UpdateHotTrack(Shift);
  TcxPCNavigatorButton button;
  if (NavigatorButtonUnder(X, Y, button)) {
    PressNavigatorButton(button);
    return;
  }
  const Integer v = TabAtPoint(X, Y);
  if (v != -1) PressTab(v, Shift);
}

void TcxCustomTabControl::PressNavigatorButton(TcxPCNavigatorButton Button) {
  const Integer state = FNavigatorButtonStates[Button];
  if (state == nbsPressed || state == nbsDisabled) return;
  FPressedNavigatorButtons = {Button};
  RepaintNavigatorButton(Button, nbsPressed);
  if (Button != nbTopLeft && Button != nbBottomRight) return;
  ScrollTabs(Button);
  if (FPressedNavigatorButtons == TcxPCNavigatorButtons{Button}) StartNavigatorRepeat();
}

void TcxCustomTabControl::StartNavigatorRepeat() {
  if (!FRepeatTimer) {
    FRepeatTimer = std::make_unique<TcxTimer>(nullptr);
    FRepeatTimer->SetOnTimer(TNotifyEvent(this, &TcxCustomTabControl::NavigatorRepeatTick));
  }
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetInterval(300);
  FRepeatTimer->SetEnabled(true);
}

void TcxCustomTabControl::StopNavigatorRepeat() {
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TcxCustomTabControl::NavigatorRepeatTick(TObject* Sender) {
  (void)Sender;
  FRepeatTimer->SetInterval(150);
  if (!FPressedNavigatorButtons.Empty()) ScrollTabs(LowestButton(FPressedNavigatorButtons));
  if (FPressedNavigatorButtons.Empty()) StopNavigatorRepeat();
}

void TcxCustomTabControl::PressTab(Integer VisibleIndex, TShiftState Shift) {
  if (!IsDesigning() && !FVisibleTabList->GetTab(VisibleIndex)->IsEnabledNow()) return;
  if (PainterClass()->IsButtonStyle() && !IsDesigning()) {
    FPressedTab = VisibleIndex;
    FTabs->TabChanged(VisibleIndex, tckPressed);
    return;
  }
  ClickTab(VisibleIndex, Shift.Contains(ssCtrl));
}

void TcxCustomTabControl::ClickTab(Integer VisibleIndex, bool Toggle) {
  TcxTab* tab = FVisibleTabList->GetTab(VisibleIndex);
  if (FMultiSelect && PainterClass()->AllowsMultiSelect() && Toggle) {
    if (tab->IsMainTab())
      SetTabIndex(-1);
    else
      tab->SetSelected(!tab->Selected());
    return;
  }
  SetTabIndex(tab->Index());
  if (!IsLoading()) MarkDesignerModified();
}

void TcxCustomTabControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TcxControl::MouseMove(Shift, X, Y);
  if (FHideTabs || FGoDialogShown) return;
  TcxPCNavigatorButton button;
  if (!FPressedNavigatorButtons.Empty()) {
    const TcxPCNavigatorButton pressed = LowestButton(FPressedNavigatorButtons);
    if (!NavigatorButtonUnder(X, Y, button) || button != pressed) {
      StopNavigatorRepeat();
      FPressedNavigatorButtons = {};
      RepaintNavigatorButton(pressed, nbsNormal);
    }
  }
  if (FPressedTab != -1 && TabAtPoint(X, Y) != FPressedTab) {
    const Integer old = FPressedTab;
    FPressedTab = -1;
    FTabs->TabChanged(old, tckPressed);
  }
  UpdateHotTrack(Shift);
}

void TcxCustomTabControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxObjectLink* link = AddObjectLink(this);
  ScopeExit unlink([link] { RemoveObjectLink(link); });
  TcxControl::MouseUp(Button, Shift, X, Y);
  if (!link->Ref) return;
  if (Button == mbLeft) StopNavigatorRepeat();
  if (FHideTabs || Button != mbLeft || FGoDialogShown) return;
  TcxPCNavigatorButton button;
  if (NavigatorButtonUnder(X, Y, button)) {
    if (FNavigatorButtonStates[button] == nbsDisabled) return;
    const bool wasPressed = FPressedNavigatorButtons.Contains(button);
    if (!IsDesigning() && button == nbGoDialog && wasPressed) {
      ShowGoDialog();
      return;
    }
    const bool closeDue = !IsDesigning() && button == nbClose && wasPressed;
    if (wasPressed) {
      FPressedNavigatorButtons = {};
      RepaintNavigatorButton(button, nbsNormal);
    }
    UpdateHotTrack(Shift);
    if (closeDue) CloseMainTab();
    return;
  }
  const Integer v = TabAtPoint(X, Y);
  if (v != -1 && (IsDesigning() || FVisibleTabList->GetTab(v)->IsEnabledNow()) && !IsDesigning() &&
      PainterClass()->IsButtonStyle() && v == FPressedTab) {
    FPressedTab = -1;
    FTabs->TabChanged(v, tckPressed);
    ClickTab(v, Shift.Contains(ssCtrl));
    if (!link->Ref) return;
  }
  UpdateHotTrack(Shift);
}

void TcxCustomTabControl::ShowGoDialog() {
  FGoDialogShown = true;
  {
    ScopeExit closed([this] { ChooseFromGoDialog(-1); });
    FGoDialog->PopupForTabs(FOptions.Contains(pcoSort));
  }
}

void TcxCustomTabControl::ChooseFromGoDialog(Integer ATabIndex) {
  FGoDialogShown = false;
  FPressedNavigatorButtons = {};
  RepaintNavigatorButton(nbGoDialog, nbsNormal);
  if (ATabIndex != -1) SetTabIndex(ATabIndex);
  RefreshHotTrack();
}

void TcxCustomTabControl::CloseMainTab() {
  if (CanCloseTab()) CloseTab();
}

// Keyboard.

Integer TcxCustomTabControl::ScreenDirection(Integer Direction) const {
  const bool backwards = TabsRunBackwards();
  return (backwards && Direction == -1) || (!backwards && Direction == 1) ? 1 : -1;
}

bool TcxCustomTabControl::HandleTabKey(Word& Key, TShiftState Shift) {
  const Integer n = FVisibleTabList->Count();
  if (FHideTabs || n == 0 || Shift == TShiftState{ssAlt} || Shift == TShiftState{ssShift, ssAlt}) return false;
  Integer direction = 0;
  bool wrap = false;
  Integer start;
  switch (Key) {
    case win::VK_TAB:
      if (!Shift.Contains(ssCtrl)) return false;
      wrap = true;
      direction = Shift.Contains(ssShift) ? -1 : 1;
      break;
    case win::VK_LEFT:
    case win::VK_UP: direction = -1; break;
    case win::VK_RIGHT:
    case win::VK_DOWN: direction = 1; break;
    case win::VK_RETURN:
    case win::VK_SPACE:
      if (FFocusMark == -1) return false;
      SetTabIndex(FVisibleTabList->TabIndexAt(FFocusMark));
      return true;
    case win::VK_HOME:
    case win::VK_END: break;
    default: return false;
  }
  Integer d;
  if (Key == win::VK_HOME || Key == win::VK_END) {
    const Integer screen = ScreenDirection(Key == win::VK_HOME ? -1 : 1);
    start = screen == 1 ? n - 1 : 0;
    d = -screen;
  } else {
    d = ScreenDirection(direction);
    const Integer mark = FFocusMark != -1 ? FFocusMark : FMainVisibleIndex;
    if (mark != -1)
      start = mark + d;
    else
      start = d == 1 ? 0 : n - 1;
    if (start < 0) {
      if (!wrap) return true;
      start = n - 1;
    } else if (start >= n) {
      if (!wrap) return true;
      start = 0;
    }
  }
  Integer target = start;
  while (!FVisibleTabList->GetTab(target)->IsEnabledNow()) {
    target += d;
    if (target < 0 || target >= n) {
      if (!wrap) return true;
      target = target < 0 ? n - 1 : 0;
    }
    if (target == start) return true;
  }
  if (PainterClass()->IsButtonStyle() && Key != win::VK_TAB) {
    FTabs->SetFocusedTab(target);
  } else if (target != FMainVisibleIndex) {
    SetTabIndex(FVisibleTabList->TabIndexAt(target));
  }
  return true;
}

bool TcxCustomTabControl::SelectByAccelerator(char32_t Character) {
  for (Integer i = 0; i < FTabs->Count(); ++i) {
    if (IsAccel(static_cast<win::WPARAM>(Character), FTabs->GetTab(i)->Caption()) && IsTabSelectable(i) &&
        CanFocus()) {
      SetTabIndex(i);
      return true;
    }
  }
  return false;
}

// Multi-line rows.

Integer TcxCustomTabControl::RowWidth(const TcxPCLineIndexBounds& Bounds, Integer Spacing) const {
  Integer width = Spacing * (Bounds.Last - Bounds.First);
  for (Integer v = Bounds.First; v <= Bounds.Last; ++v) width += FVisibleTabList->GetTab(v)->RowExtent();
  return width;
}

void TcxCustomTabControl::CalculateMultiLineLayout() {
  FShownNavigatorButtons = {};
  ReleaseNavigatorMarks();
  FPainter->CalculateTabsArea({}, FTabsArea);
  const Integer rowLength = FTabsArea.RowLength;
  if (rowLength < 1) return;
  const IntegerPair spacingPair = FPainter->TabsSpacing();
  const Integer spacing = FRotate ? spacingPair.Second : spacingPair.First;
  BalanceRows();
  if (FRowCount == 1) {
    FLeadingRowCount = FTabPosition == tpTop || FTabPosition == tpLeft ? 1 : 0;
    FitSingleRow();
    if (HasNoRoomForTabs()) return;
  } else {
    FPainter->CalculateTabsArea({}, FTabsArea);
    if (HasNoRoomForTabs()) return;
    TcxPCLineIndexBoundsArray rows(static_cast<size_t>(FRowCount));
    for (Integer v = 0; v < FVisibleTabList->Count(); ++v) {
      TcxPCLineIndexBounds& row = rows[static_cast<size_t>(FVisibleTabList->GetTab(v)->PlacementRow)];
      if (row.First == -1) row.First = v;
      row.Last = v;
    }
    for (const TcxPCLineIndexBounds& row : rows) {
      if (!FRotate && !FRaggedRight && RowWidth(row, spacing) < FTabsArea.RowLength)
        StretchRow(row, FTabsArea.RowLength, spacing);
      PlaceRow(row.First, row.Last, false);
    }
  }
  CalculateRowThickness();
  OrderRows();
}

void TcxCustomTabControl::BalanceRows() {
  const Integer n = FVisibleTabList->Count();
  const Integer rowLength = FTabsArea.RowLength;
  const IntegerPair spacingPair = FPainter->TabsSpacing();
  const Integer spacing = FRotate ? spacingPair.Second : spacingPair.First;
  FRowCount = 1;
  Integer used = 0;
  Integer groupStart = 0;
  auto spansRows = [this](Integer first, Integer last) {
    return FVisibleTabList->GetTab(last)->PlacementRow > FVisibleTabList->GetTab(first)->PlacementRow;
  };
  for (Integer v = 0; v < n; ++v) {
    TcxTab* tab = FVisibleTabList->GetTab(v);
    const Integer w = tab->RowExtent();
    if (w < rowLength) {
      if (w + used > rowLength) {
        ++FRowCount;
        used = w + spacing;
      } else {
        used += w + spacing;
      }
      tab->PlacementRow = FRowCount - 1;
      continue;
    }
    if (used != 0) {
      ++FRowCount;
      used = 0;
    }
    if (groupStart < v && spansRows(groupStart, v - 1))
      BalanceGroup(groupStart, v - 1, FVisibleTabList->GetTab(groupStart)->PlacementRow, rowLength, spacing);
    groupStart = v + 1;
    if (!FRotate && FPainter->MinTabNormalWidth() < rowLength) tab->NormalWidth = rowLength;
    tab->PlacementRow = FRowCount - 1;
    if (v != n - 1) ++FRowCount;
  }
  if (n - groupStart >= 2 && spansRows(groupStart, n - 1))
    BalanceGroup(groupStart, n - 1, FVisibleTabList->GetTab(groupStart)->PlacementRow, rowLength, spacing);
}

void TcxCustomTabControl::BalanceGroup(Integer First, Integer Last, Integer FirstRow, Integer RowLength,
                                       Integer Spacing) {
  if (FRotate && FRaggedRight) return;
  TcxPCLineIndexBoundsArray rows;
  for (Integer v = First; v <= Last; ++v) {
    const Integer r = FVisibleTabList->GetTab(v)->PlacementRow - FirstRow;
    if (r >= static_cast<Integer>(rows.size())) rows.push_back({v, v});
    rows[static_cast<size_t>(r)].Last = v;
  }
  auto freeSpace = [&](const TcxPCLineIndexBounds& b) { return RowLength - RowWidth(b, Spacing); };
  // The smallest largest free space of the rows before, row by row.
  std::vector<Integer> best(rows.size());
  best[0] = freeSpace(rows[0]);
  for (size_t j = 1; j < rows.size(); ++j) {
    const Integer before = j >= 2 ? best[j - 2] : std::numeric_limits<Integer>::min();
    TcxPCLineIndexBounds previous = rows[j - 1];
    TcxPCLineIndexBounds current = rows[j];
    Integer bestValue = std::max(best[j - 1], freeSpace(current));
    TcxPCLineIndexBounds bestPrevious = previous;
    TcxPCLineIndexBounds bestCurrent = current;
    while (previous.Last > previous.First) {
      const Integer extent = FVisibleTabList->GetTab(previous.Last)->RowExtent();
      if (RowWidth(current, Spacing) + extent + Spacing > RowLength) break;
      current.First = previous.Last;
      --previous.Last;
      const Integer value = std::max({before, freeSpace(previous), freeSpace(current)});
      if (value < bestValue) {
        bestValue = value;
        bestPrevious = previous;
        bestCurrent = current;
      }
    }
    rows[j - 1] = bestPrevious;
    rows[j] = bestCurrent;
    best[j] = bestValue;
  }
  for (size_t r = 0; r < rows.size(); ++r)
    for (Integer v = rows[r].First; v <= rows[r].Last; ++v)
      FVisibleTabList->GetTab(v)->PlacementRow = FirstRow + static_cast<Integer>(r);
}

// Rows keep their stretched widths until the normal widths are taken anew.
void TcxCustomTabControl::StretchRow(const TcxPCLineIndexBounds& Bounds, Integer RowLength, Integer Spacing) {
  const Integer extra = RowLength - RowWidth(Bounds, Spacing);
  Integer total = 0;
  for (Integer v = Bounds.First; v <= Bounds.Last; ++v) total += FVisibleTabList->GetTab(v)->NormalWidth;
  Integer left = extra;
  for (Integer v = Bounds.First; v < Bounds.Last; ++v) {
    TcxTab* tab = FVisibleTabList->GetTab(v);
    // A row of zero-width tabs gives all the room to its last tab.
    const Integer share = total > 0 ? tab->NormalWidth * extra / total : 0;
    tab->NormalWidth += share;
    left -= share;
  }
  FVisibleTabList->GetTab(Bounds.Last)->NormalWidth += left;
}

void TcxCustomTabControl::OrderRows() {
  if (FRowCount <= 0 || FVisibleTabList->Count() == 0) return;
  const bool topToBottom = FOptions.Contains(pcoTopToBottomText);
  const bool rotatedDown = FRotate && !topToBottom;
  const bool sideUp = !FRotate && topToBottom;
  bool backwards = false;
  switch (FTabPosition) {
    case tpTop: backwards = rotatedDown; break;
    case tpBottom: backwards = !rotatedDown; break;
    case tpLeft: backwards = sideUp; break;
    case tpRight: backwards = !sideUp; break;
  }
  const Integer count = FVisibleTabList->Count();
  for (Integer v = 0; v < count; ++v) {
    TcxTab* tab = FVisibleTabList->GetTab(v);
    tab->DisplayedRow = backwards ? FRowCount - 1 - tab->PlacementRow : tab->PlacementRow;
  }
  FLeadingRowCount = FRowCount;
  if (FMainVisibleIndex != -1 && PainterClass()->BringsSelectedRowToPage()) {
    const Integer mainRow = FVisibleTabList->GetTab(FMainVisibleIndex)->DisplayedRow;
    if (FScrollOpposite) {
      FLeadingRowCount = mainRow + 1;
    } else {
      for (Integer v = 0; v < count; ++v) {
        TcxTab* tab = FVisibleTabList->GetTab(v);
        tab->DisplayedRow = (tab->DisplayedRow + FRowCount - 1 - mainRow) % FRowCount;
      }
    }
  }
  if (FTabPosition == tpBottom || FTabPosition == tpRight) {
    for (Integer v = 0; v < count; ++v) {
      TcxTab* tab = FVisibleTabList->GetTab(v);
      tab->DisplayedRow = FRowCount - 1 - tab->DisplayedRow;
    }
    FLeadingRowCount = FRowCount - FLeadingRowCount;
  }
  CalculateRowBands();
}

// Free routines.

TRect ControlBoundsRect(const TcxCustomTabControl* AControl) {
  return {0, 0, AControl->Width(), AControl->Height()};
}

void DisplayedTabRange(const TcxCustomTabControl* AControl, Integer& First, Integer& Last) {
  if (AControl->MultiLine()) {
    First = 0;
    Last = AControl->VisibleTabList()->Count() - 1;
  } else if (AControl->FirstDisplayed() == -1) {
    First = -1;
    Last = -2;
  } else {
    First = AControl->FirstDisplayed();
    Last = AControl->LastDisplayed();
  }
}

void GetRowTabBounds(const TcxCustomTabControl* AControl, TcxPCLineIndexBoundsArray& Bounds) {
  Bounds.assign(static_cast<size_t>(std::max(AControl->RowCount(), 0)), TcxPCLineIndexBounds{});
  Integer First;
  Integer Last;
  DisplayedTabRange(AControl, First, Last);
  for (Integer v = First; v <= Last; ++v) {
    const Integer row = AControl->VisibleTabList()->GetTab(v)->DisplayedRow;
    if (row < 0 || row >= static_cast<Integer>(Bounds.size())) continue;
    TcxPCLineIndexBounds& entry = Bounds[static_cast<size_t>(row)];
    if (entry.First == -1) {
      entry.First = v;
      entry.Last = v;
    } else {
      entry.First = std::min(entry.First, v);
      entry.Last = std::max(entry.Last, v);
    }
  }
}

bool HasImages(const TcxCustomTabControl* AControl) {
  TCustomImageList* images = AControl->Images();
  return images && images->Count() > 0;
}

void RegisterCustomTabControlClasses() { RegisterClasses({TcxTabSlants::StaticClass()}); }
