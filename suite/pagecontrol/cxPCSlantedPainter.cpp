#include "suite/pagecontrol/cxPCSlantedPainter.h"

#include <algorithm>
#include <utility>

#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCGeometry.h"
#include "suite/pagecontrol/cxPCOffice11Painter.h"

VXN_IMPLEMENT_CLASS(TcxPCSlantedPainter, TcxPCStandardPainter)

namespace {

constexpr TColor kWhite = static_cast<TColor>(0xFFFFFF);
constexpr TColor kBlack = static_cast<TColor>(0);

Integer PositionCount(TcxTabSlantPositions Positions) {
  return (Positions.Contains(spLeft) ? 1 : 0) + (Positions.Contains(spRight) ? 1 : 0);
}

// A segment position of a top-tab figure as it lies on Side.
TLinePosition TurnPosition(TLinePosition P, Integer Side) {
  switch (Side) {
    case 1:
      if (P == lpLT) return lpLB;
      if (P == lpT) return lpB;
      if (P == lpRT) return lpRB;
      return P;
    case 2: {
      static constexpr TLinePosition left[8] = {lpB, lpLB, lpL, lpLT, lpT, lpRB, lpB, lpLB};
      return left[P];
    }
    case 3: {
      static constexpr TLinePosition right[8] = {lpB, lpRB, lpR, lpRT, lpT, lpRB, lpB, lpLB};
      return right[P];
    }
    default:
      return P;
  }
}

// One pixel along a segment of position P.
TPoint StepAlong(TLinePosition P) {
  static constexpr TPoint steps[8] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
  return steps[P];
}

struct RestoreClipOf {
  TcxPCCustomPainter* painter;
  ~RestoreClipOf() { painter->RestoreClip(); }
};

}  // namespace

std::unique_ptr<TcxPCCustomPainter> TcxPCSlantedPainterClass::Construct(TcxCustomTabControl* AControl) const {
  return std::make_unique<TcxPCSlantedPainter>(AControl);
}

const TcxPCSlantedPainterClass& TcxPCSlantedPainterClass::Instance() {
  static const TcxPCSlantedPainterClass instance;
  return instance;
}

bool TcxPCSlantedPainter::TabIsSideways(Integer VisibleIndex) {
  const Integer side = ParentInfo()->VisibleTab(VisibleIndex)->Side();
  return side == 2 || side == 3;
}

// Shape metrics.

Integer TcxPCSlantedPainter::SlantSize() {
  return ParentInfo()->TabSlants()->Kind() == skSlant ? TabNormalHeight() - 1 : 6;
}

TcxTabSlantPositions TcxPCSlantedPainter::SlantedSides() {
  TcxTabSlants* slants = ParentInfo()->TabSlants();
  return slants->Kind() == skSlant && !ParentInfo()->Rotate() ? slants->Positions() : TcxTabSlantPositions{};
}

Integer TcxPCSlantedPainter::MinTabWidth() {
  if (ParentInfo()->Rotate()) return 0;
  TcxTabSlants* slants = ParentInfo()->TabSlants();
  const Integer n = PositionCount(slants->Positions());
  if (n == 0) return 8;
  if (slants->Kind() == skSlant) return n * (SlantSize() - 2) + 8;
  return n * SlantSize() + FrameWidth() * (2 - n) + 4;
}

IntegerPair TcxPCSlantedPainter::ImageAreaSize() {
  const TSize image = ImageSize();
  const Integer border = 2 * ParentInfo()->ImageBorder();
  return {image.cx > 0 ? image.cx + border : image.cx, image.cy > 0 ? image.cy + border : image.cy};
}

Integer TcxPCSlantedPainter::TabContentWidth(Integer VisibleIndex) {
  const IntegerPair spacing = TabContentSpacing(VisibleIndex);
  Integer width = spacing.First + spacing.Second;
  if (TabHasImage(VisibleIndex)) width += ImageAreaSize().First;
  return std::max(width, MinTabWidth());
}

Integer TcxPCSlantedPainter::TabNormalWidth(TcxTab* Tab) {
  if (!Tab->Visible()) return 0;
  const Integer v = Tab->VisibleIndex();
  const Integer w = TabContentWidth(v);
  Integer width = w;
  if (ParentInfo()->TabWidth() > 0) {
    width = ParentInfo()->TabWidth();
  } else if (!Tab->Caption().empty()) {
    width = TextExtent(Canvas(), Tab->Caption()).cx + w;
    if (TabHasImage(v)) width += ImageTextGap();
  }
  return std::max(width, w);
}

Integer TcxPCSlantedPainter::NavigatorButtonSpacing(TcxPCNavigatorButton Button, TcxPCNavigatorButton NextButton) {
  return Button == nbClose || NextButton == nbClose ? 3 : 1;
}

TRect TcxPCSlantedPainter::ClientAreaMargins() {
  TRect margins = TcxPCStandardPainter::ClientAreaMargins();
  if (!HasFrame() && !ParentInfo()->HideTabs() && ParentInfo()->RowCount() > 0) {
    ++margins.Top;
    if (ParentInfo()->HasRowsOnBothSides()) ++margins.Bottom;
  }
  return margins;
}

TRect TcxPCSlantedPainter::TabImageMargins(Integer VisibleIndex) {
  (void)VisibleIndex;
  if (!ParentInfo()->Rotate()) return {0, FrameWidth() + 3, 0, 1};
  TcxTabSlants* slants = ParentInfo()->TabSlants();
  const Integer m =
      slants->Kind() == skCutCorner && !slants->Positions().Empty() ? FrameWidth() + 2 : FrameWidth() + 1;
  return {0, m, 0, m};
}

TRect TcxPCSlantedPainter::TabTextMargins(Integer VisibleIndex) {
  (void)VisibleIndex;
  if (!ParentInfo()->Rotate()) return {0, FrameWidth() + 4, 0, 1};
  return {0, FrameWidth() + 3, 0, FrameWidth() + 1};
}

TColor TcxPCSlantedPainter::TabColor(Integer VisibleIndex) { return ParentInfo()->TabPageColor(VisibleIndex); }

IntegerPair TcxPCSlantedPainter::TabContentSpacing(Integer VisibleIndex) {
  TcxTabSlants* slants = ParentInfo()->TabSlants();
  const TcxTabSlantPositions positions = slants->Positions();
  const Integer rotation = ParentControl()->TabTextRotation();
  IntegerPair spacing;
  if (!ParentInfo()->Rotate()) {
    const Integer slanted = slants->Kind() == skSlant ? SlantSize() : 6;
    spacing.First = positions.Contains(spLeft) ? slanted : FrameWidth() + 2;
    spacing.Second = positions.Contains(spRight) ? slanted : FrameWidth() + 2;
    if (rotation == 2) SwapPair(spacing);
    return spacing;
  }
  spacing = {2, FrameWidth() + 5 + (slants->Kind() == skCutCorner && !positions.Empty() ? 1 : 0)};
  const Integer side = ParentInfo()->VisibleTab(VisibleIndex)->Side();
  if ((side == 0 && rotation == 2) || (side == 1 && rotation == 1) || side == 2) SwapPair(spacing);
  return spacing;
}

IntegerPair TcxPCSlantedPainter::TabsSpacing() {
  const Integer n = PositionCount(SlantedSides());
  IntegerPair spacing{n == 0 ? 1 : -(SlantSize() / 2) * n, -3};
  if (ParentInfo()->Rotate()) SwapPair(spacing);
  return spacing;
}

TRect TcxPCSlantedPainter::TabsAreaIndents() {
  const TcxTabSlantPositions sides = SlantedSides();
  const Integer start = sides.Contains(spLeft) ? 1 : 0;
  const Integer end = sides.Contains(spRight) ? 1 : 0;
  return SidewaysTabs() ? TRect{0, end, 0, start} : TRect{start, 0, end, 0};
}

Integer TcxPCSlantedPainter::TabHeightForFont() {
  const TRect text = TabTextMargins(-1);
  const TRect image = TabImageMargins(-1);
  const Integer byFont = PainterScreenCanvas()->FontHeight(ParentControl()->Font()) + text.Top + text.Bottom;
  return std::max(byFont, ImageAreaSize().Second + image.Top + image.Bottom);
}

bool TcxPCSlantedPainter::TabLooksActive(Integer VisibleIndex) {
  (void)VisibleIndex;
  return false;
}

// Figures and regions.

void TcxPCSlantedPainter::GetTabFigure(Integer VisibleIndex, TPoints& Points, TLinePositions& Positions) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const TRect r = tab->DisplayRect();
  Integer w = 0;
  Integer h = 0;
  OrientedRectExtents(r, !TabIsSideways(VisibleIndex), w, h);
  const Integer L = r.Left;
  const Integer B = r.Bottom;
  TcxTabSlants* slants = ParentInfo()->TabSlants();
  const bool slant = slants->Kind() == skSlant;
  const bool cutWithPositions = !slant && !slants->Positions().Empty();
  const bool turnedSlant = ParentInfo()->Rotate() && slant;
  Points.clear();
  Positions.clear();

  auto leftCorner = [&](Integer a) {
    const TPoint p[3] = {{L, B - 1}, {L, B + a - h}, {L + a, B - h}};
    const TLinePosition lp[2] = {lpL, lpLT};
    AppendFigurePoints(Points, p, 2, 1, lp, Positions);
  };
  if (!slants->Positions().Contains(spLeft) || turnedSlant) {
    if (cutWithPositions) {
      const TPoint p[2] = {{L, B - 1}, {L, B - h}};
      const TLinePosition lp[1] = {lpL};
      AppendFigurePoints(Points, p, 1, 0, lp, Positions);
    } else {
      leftCorner(2);
    }
  } else if (slant) {
    const TPoint p[2] = {{L, B - 1}, {L + h - 1, B - h}};
    const TLinePosition lp[1] = {lpLT};
    AppendFigurePoints(Points, p, 1, 0, lp, Positions);
  } else {
    leftCorner(6);
  }

  auto rightCorner = [&](Integer c, Integer b) {
    const TPoint p[3] = {{L + w + c, B - h}, {L + w - 1, B + b - h}, {L + w - 1, B - 1}};
    const TLinePosition lp[3] = {lpT, lpRT, lpR};
    AppendFigurePoints(Points, p, 2, 2, lp, Positions);
  };
  if (!slants->Positions().Contains(spRight) || turnedSlant) {
    if (cutWithPositions) {
      const TPoint p[2] = {{L + w - 1, B - h}, {L + w - 1, B - 1}};
      const TLinePosition lp[2] = {lpT, lpR};
      AppendFigurePoints(Points, p, 1, 1, lp, Positions);
    } else {
      rightCorner(-3, 2);
    }
  } else if (slant) {
    const TPoint p[2] = {{L + w - h, B - h}, {L + w - 1, B - 1}};
    const TLinePosition lp[2] = {lpT, lpRT};
    AppendFigurePoints(Points, p, 1, 1, lp, Positions);
  } else {
    rightCorner(-7, 6);
  }
}

std::unique_ptr<TcxRegion> TcxPCSlantedPainter::TabFigureRegion(Integer VisibleIndex, bool Inner) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const Integer side = tab->Side();
  TPoints points;
  TLinePositions positions;
  GetTabFigure(VisibleIndex, points, positions);
  TurnPoints(tab->DisplayRect(), points.data(), static_cast<Integer>(points.size()) - 1, side);
  if (side == 1 || side == 3) {
    std::reverse(points.begin(), points.end());
    std::reverse(positions.begin(), positions.end());
  }
  for (TLinePosition& p : positions) p = TurnPosition(p, side);
  const TPoint step = StepAlong(positions.back());
  points.back().X += step.X;
  points.back().Y += step.Y;
  if (side == 2 && positions.front() == lpLB) {
    ++points.front().X;
    ++points.front().Y;
  }
  return FigureOutlineRegion(points, static_cast<Integer>(points.size()) - 1, positions, Inner,
                             static_cast<Integer>(positions.size()) - 1);
}

TRect TcxPCSlantedPainter::PageJoinStrip(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  static constexpr TcxTabPosition pageSides[4] = {tpBottom, tpTop, tpRight, tpLeft};
  return RectSideBand(tab->VisibleRect(), pageSides[tab->Side()], 1, true);
}

std::unique_ptr<TcxRegion> TcxPCSlantedPainter::TabRegion(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  std::unique_ptr<TcxRegion> region = TabFigureRegion(VisibleIndex, false);
  region->Combine(TcxRegion::CreateFromRect(tab->VisibleRect()), RegionIntersection);
  if (tab->IsMainTab()) region->Combine(TcxRegion::CreateFromRect(PageJoinStrip(VisibleIndex)), RegionUnion);
  return region;
}

bool TcxPCSlantedPainter::IsPointInTab(Integer VisibleIndex, Integer X, Integer Y) {
  if (!TabFigureRegion(VisibleIndex, false)->ContainsXY(X, Y)) return false;
  Integer first;
  Integer last;
  DisplayedTabRange(ParentControl(), first, last);
  // Where a tab overlaps the main tab that follows it, the main tab wins.
  const Integer next = VisibleIndex + 1;
  if (next <= last && ParentInfo()->VisibleTab(next)->IsMainTab() && TabFigureRegion(next, false)->ContainsXY(X, Y))
    return false;
  return true;
}

// Navigator buttons.

void TcxPCSlantedPainter::GetNavigatorGlyphInfo(TcxPCNavigatorButton Button, TcxPCNavigatorGlyphInfo& Info) {
  TcxPCStandardPainter::GetNavigatorGlyphInfo(Button, Info);
  Info.Plain = true;
  Info.ThinCross = Button == nbClose;
}

TColor TcxPCSlantedPainter::NavigatorButtonFaceColor(Integer State) {
  const TColor color = ParentInfo()->Color();
  if (State == nbsHot) return MixColorsByPercent(color, kWhite, 35);
  if (State == nbsPressed) return MixColorsByPercent(color, kBlack, 90);
  return color;
}

TColor TcxPCSlantedPainter::NavigatorGlyphColor(Integer State) {
  if (State == nbsDisabled || !ParentControl()->Enabled()) return clBtnShadow;
  return State == nbsPressed ? MixColorsByPercent(ParentInfo()->Color(), kWhite, 10) : clBtnText;
}

Integer TcxPCSlantedPainter::NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) {
  return CenteredNavigatorGlyphOffset(Button, Offset);
}

Integer TcxPCSlantedPainter::NavigatorButtonWidth(TcxPCNavigatorButton Button) {
  switch (Button) {
    case nbGoDialog: return 13;
    case nbClose: return 16;
    default: return 17;
  }
}

void TcxPCSlantedPainter::DrawNavigatorButtonFrame(TRect& R, Integer State) {
  DrawFrameAndDeflate(Canvas(), R, State == nbsHot || State == nbsPressed ? kBlack : clBtnShadow);
}

// Drawing.

void TcxPCSlantedPainter::DrawFrame() {
  Canvas()->FillBorders(cxRectInflate(PageClientRect(), 1, 1), OutlineColor(), 1,
                        TcxBorders{bLeft, bTop, bRight, bBottom});
}

void TcxPCSlantedPainter::TabGradientColors(Integer VisibleIndex, TColor& First, TColor& Second) {
  const TColor c = TabColor(VisibleIndex);
  if (ParentInfo()->VisibleTab(VisibleIndex)->IsHot()) {
    First = BrightenColor(c, 20);
    Second = c;
  } else {
    First = BrightenColor(c, 13);
    Second = ScaleColorByPercent(c, 90);
  }
}

void TcxPCSlantedPainter::FillTabGradient(TcxCanvas* ACanvas, const TRect& R, bool Exchange, bool Vertical,
                                          Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const bool hotMain = tab->IsMainTab() && tab->IsHot() && GradientOnHotMainTab();
  if (tab->IsMainTab() && !hotMain) {
    FillRectSolid(ACanvas->DeviceContext(), R, TabColor(VisibleIndex));
    return;
  }
  TColor first = TabColor(VisibleIndex);
  TColor second = first;
  if (ParentInfo()->Options().Contains(pcoGradient)) TabGradientColors(VisibleIndex, first, second);
  if (hotMain && (tab->Side() == 1 || tab->Side() == 3)) std::swap(first, second);
  if (Exchange) std::swap(first, second);
  FillGradientRect(ACanvas->DeviceContext(), R, first, Vertical, second);
}

void TcxPCSlantedPainter::DrawTabFigure(Integer VisibleIndex, const TRect& R) {
  TPoints points;
  TLinePositions positions;
  GetTabFigure(VisibleIndex, points, positions);
  DrawTabOutline(R, points.data(), OutlineColor(), ParentInfo()->VisibleTab(VisibleIndex)->Side(),
                 static_cast<Integer>(points.size()) - 1);
}

void TcxPCSlantedPainter::DrawHighlightStrip(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  if (!tab->IsHot() && !tab->IsMainTab()) return;
  const TRect strip =
      RectSideBand(tab->DisplayRect(), static_cast<TcxTabPosition>(tab->Side()), FrameWidth() + 3, false);
  TcxCanvas* canvas = Canvas();
  FillRectSolid(canvas->DeviceContext(), strip, clHighlight);
  canvas->ExcludeFromClip(strip);
}

void TcxPCSlantedPainter::DrawMainTabJoin(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  FillRectSolid(Canvas()->DeviceContext(), PageJoinStrip(VisibleIndex), ParentInfo()->TabPageColor(VisibleIndex));
  const TRect r = tab->DisplayRect();
  Integer w = 0;
  Integer h = 0;
  OrientedRectExtents(r, !TabIsSideways(VisibleIndex), w, h);
  const TcxTabSlantPositions slanted = SlantedSides();
  TPoint corners[2];
  Integer count = 0;
  if (!slanted.Contains(spLeft)) corners[count++] = {r.Left, r.Bottom};
  if (!slanted.Contains(spRight)) corners[count++] = {r.Left + w - 1, r.Bottom};
  for (Integer k = 0; k < count; ++k) DrawTabOutline(r, &corners[k], OutlineColor(), tab->Side(), 0);
}

void TcxPCSlantedPainter::DrawTabFrame(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const TRect r = tab->DisplayRect();
  TcxCanvas* canvas = Canvas();
  SaveClip();
  {
    RestoreClipOf restore{this};
    DrawTabFigure(VisibleIndex, r);
    canvas->ApplyClipRegion(TabFigureRegion(VisibleIndex, true), RegionIntersection);
    DrawHighlightStrip(VisibleIndex);
    FillTabGradient(canvas, r, false, TabIsSideways(VisibleIndex), VisibleIndex);
  }
  if (tab->IsMainTab()) DrawMainTabJoin(VisibleIndex);
  TRect focus = ContentVisibleIndex() == VisibleIndex ? ContentTextRect() : TRect{};
  if (cxRectIsEmpty(focus)) return;
  if (ParentControl()->TabTextRotation() == 0)
    focus = {focus.Left - 3, focus.Top - 2, focus.Right + 3, focus.Bottom + 2};
  else
    focus = {focus.Left - 2, focus.Top - 3, focus.Right + 2, focus.Bottom + 3};
  canvas->Brush()->SetStyle(bsSolid);
  canvas->SetBrushColor(TabColor(VisibleIndex));
  DrawFocusMark(VisibleIndex, focus);
}

void TcxPCSlantedPainter::DrawRowLines(Integer Row, const TcxPCLineIndexBounds& Bounds) {
  TcxTab* first = ParentInfo()->VisibleTab(Bounds.First);
  const TRect a = first->VisibleRect();
  const TRect b = ParentInfo()->VisibleTab(Bounds.Last)->VisibleRect();
  TRect r{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
  const Integer leading = ParentInfo()->LeadingRowCount();
  const bool nextToPage = Row == leading - 1 || Row == leading;
  const TcxTabSlantPositions slanted = SlantedSides();
  const bool sideways = SidewaysTabs();
  if (nextToPage || slanted.Contains(spLeft)) {
    if (sideways)
      r.Bottom = ParentInfo()->Height();
    else
      r.Left = 0;
  }
  if (nextToPage || slanted.Contains(spRight)) {
    if (sideways)
      r.Top = 0;
    else
      r.Right = ParentInfo()->Width();
  }
  const TcxTabPosition side = static_cast<TcxTabPosition>(first->Side());
  IntegerPair spacing = TabsSpacing();
  if (ParentInfo()->Rotate()) SwapPair(spacing);
  // Rows overlap by the row gap: the outer side gives that much back.
  r = DeflateByMargins(r, {0, -spacing.Second, 0, -1}, side);
  static constexpr Integer pageSides[4] = {3, 1, 2, 0};
  const bool outermost = Row == 0 || Row == ParentInfo()->RowCount() - 1;
  Integer sides[3];
  Integer count = 0;
  if (!outermost) {
    if (slanted.Contains(spLeft)) sides[count++] = sideways ? 3 : 0;
    if (slanted.Contains(spRight)) sides[count++] = sideways ? 1 : 2;
  }
  sides[count++] = pageSides[side];
  const TColor colors[3] = {OutlineColor(), OutlineColor(), OutlineColor()};
  for (Integer k = 0; k < count; ++k) {
    TRect line = r;
    DrawRectSideLines(Canvas(), line, &sides[k], colors, 0, false);
  }
}

void TcxPCSlantedPainter::DrawTabs() {
  TcxCustomTabControl* control = ParentControl();
  Integer first;
  Integer last;
  DisplayedTabRange(control, first, last);
  const Integer main = ParentInfo()->MainTabVisibleIndex();
  const bool mainShown = main != -1 && main >= first && main <= last;
  if (mainShown) DrawTab(main);
  TcxPCLineIndexBoundsArray rows;
  GetRowTabBounds(control, rows);
  const Integer leading = ParentInfo()->LeadingRowCount();
  const Integer count = static_cast<Integer>(rows.size());
  std::vector<Integer> order;
  for (Integer row = leading - 1; row >= 0; --row) order.push_back(row);
  for (Integer row = std::max<Integer>(leading, 0); row < count; ++row) order.push_back(row);
  for (Integer row : order) {
    const TcxPCLineIndexBounds& bounds = rows[static_cast<size_t>(row)];
    if (bounds.First < 0) continue;
    for (Integer v = bounds.First; v <= bounds.Last; ++v)
      if (!(mainShown && v == main)) DrawTab(v);
    DrawRowLines(row, bounds);
  }
}

void TcxPCSlantedPainter::FillContentBitmap(TBitmap* Bitmap, const TRect& R, Integer VisibleIndex) {
  bool exchange = false;
  const bool rotate = ParentInfo()->Rotate();
  const TRect g = ContentBitmapGradientRect(ParentInfo()->VisibleTab(VisibleIndex)->DisplayRect(), R.TopLeft(),
                                            {Bitmap->Width(), Bitmap->Height()}, ParentControl()->HasVerticalText(),
                                            rotate, ParentControl()->TabTextRotation(), exchange);
  TcxCanvas canvas(Bitmap->Canvas());
  FillTabGradient(&canvas, g, exchange, rotate, VisibleIndex);
}
