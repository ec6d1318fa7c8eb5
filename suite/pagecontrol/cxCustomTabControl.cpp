#include "suite/pagecontrol/cxCustomTabControl.h"

#include <algorithm>

#include "platform/forms/ImgList.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "suite/foundation/cxClasses.h"
#include "suite/pagecontrol/cxPCConsts.h"
#include "suite/pagecontrol/cxPCGeometry.h"
#include "suite/pagecontrol/cxPCImageList.h"
#include "suite/pagecontrol/cxPCPainter.h"
#include "suite/pagecontrol/cxPCPaintersFactory.h"

VXN_IMPLEMENT_CLASS(TcxTabSlants, TPersistent)
VXN_IMPLEMENT_CLASS(TcxCustomTabControl, TComponent)

VXN_PUBLISH(TcxTabSlants) {
  P.Property("Kind", &TcxTabSlants::Kind, &TcxTabSlants::SetKind).Default(skSlant);
  P.Property("Positions", &TcxTabSlants::Positions, &TcxTabSlants::SetPositions)
      .Default(static_cast<int64_t>(TcxTabSlantPositions{spLeft}.Bits()));
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

const TcxPCPaintersFactory& Factory() {
  static const TcxPCPaintersFactory empty;
  return PaintersFactory() ? *PaintersFactory() : empty;
}

}  // namespace

TcxCustomTabControl::TcxCustomTabControl(TComponent* AOwner)
    : TComponent(AOwner),
      FImageList(std::make_unique<TcxPCImageList>(this)),
      FTabs(std::make_unique<TcxTabs>(this)),
      FTabSlants(std::make_unique<TcxTabSlants>(this)),
      FVisibleTabList(std::make_unique<TcxVisibleTabList>(this)),
      FLookAndFeel(std::make_unique<TcxLookAndFeel>(this)),
      FFont(std::make_unique<TFont>()) {
  FImageList->OnChange = TNotifyEvent(this, &TcxCustomTabControl::ImagesChanged);
  FImageList->OnFillBitmapBackground =
      TcxPCBitmapBackgroundEvent(this, &TcxCustomTabControl::FillImageBackground);
  FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxCustomTabControl::LookAndFeelChanged);
  SetStyle(cxPCDefaultStyle);
}

TcxCustomTabControl::~TcxCustomTabControl() {
  FDestroying = true;
  FLookAndFeel->OnChanged = nullptr;
  FTabSlants.reset();
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
  TcxPCStyleID id = Factory().GetStyleIDForLookAndFeel(FLookAndFeel.get());
  if (id == -1) id = Factory().GetDefaultStyleID(FLookAndFeel.get());
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

void TcxCustomTabControl::SetBounds(Integer AWidth, Integer AHeight) {
  if (AWidth == FWidth && AHeight == FHeight) return;
  FWidth = AWidth;
  FHeight = AHeight;
  RecalculateLayout();
}

void TcxCustomTabControl::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Invalidate();
}

void TcxCustomTabControl::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Invalidate();
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
  (void)Sender;
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
  FTabs->CommonTabHeight = FPainter->TabNormalHeight();
  for (Integer i = 0; i < FTabs->Count(); ++i) CalculateTabNormalWidth(FTabs->GetTab(i));
}

void TcxCustomTabControl::CalculateTabNormalWidth(TcxTab* Tab) { Tab->NormalWidth = FPainter->TabNormalWidth(Tab); }

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
