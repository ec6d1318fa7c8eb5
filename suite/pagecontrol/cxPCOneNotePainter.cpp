#include "suite/pagecontrol/cxPCOneNotePainter.h"

#include <vector>

#include "platform/win/GdiShapes.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/pagecontrol/cxCustomTabControl.h"

VXN_IMPLEMENT_CLASS(TcxPCOneNotePainter, TcxPCSlantedPainter)

namespace {

constexpr TColor kWhite = static_cast<TColor>(0xFFFFFF);

}  // namespace

std::unique_ptr<TcxPCCustomPainter> TcxPCOneNotePainterClass::Construct(TcxCustomTabControl* AControl) const {
  return std::make_unique<TcxPCOneNotePainter>(AControl);
}

const TcxPCOneNotePainterClass& TcxPCOneNotePainterClass::Instance() {
  static const TcxPCOneNotePainterClass instance;
  return instance;
}

TRect TcxPCOneNotePainter::TabImageMargins(Integer VisibleIndex) {
  (void)VisibleIndex;
  return {0, 3, 0, 1};
}

TRect TcxPCOneNotePainter::TabTextMargins(Integer VisibleIndex) {
  (void)VisibleIndex;
  return {0, 4, 0, 1};
}

IntegerPair TcxPCOneNotePainter::TabContentSpacing(Integer VisibleIndex) {
  (void)VisibleIndex;
  IntegerPair spacing{SlantSize(), 4};
  if (ParentControl()->TabTextRotation() == 2) SwapPair(spacing);
  return spacing;
}

TRect TcxPCOneNotePainter::TabsAreaIndents() { return SidewaysTabs() ? TRect{0, 4, 0, 4} : TRect{4, 0, 4, 0}; }

std::unique_ptr<TcxRegion> TcxPCOneNotePainter::TabFigureRegion(Integer VisibleIndex, bool Inner) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const Integer side = tab->Side();
  TRect r = tab->DisplayRect();
  std::vector<TPoint> points;
  if (!Inner) {
    r = cxRectInflate(r, 1, 1);
    Integer w = 0;
    Integer h = 0;
    OrientedRectExtents(r, side == 0 || side == 1, w, h);
    const Integer L = r.Left;
    const Integer B = r.Bottom;
    if (side == 3) {
      points = {{L - 1, B - 1},     {L - 1, B - 3}, {L + 2, B - 3},     {L + h - 2, B - h + 2},
                {L + h + 2, B - h}, {L + w - 4, B - h}, {L + w - 1, B - h + 3}, {L + w - 1, B - 1}};
    } else {
      const Integer k = side == 2 ? 5 : 4;
      const Integer m = side == 2 ? 4 : 3;
      points = {{L, B - 2},         {L + 1, B - 2},     {L + h - 3, B - h + 3}, {L + h + 2, B - h},
                {L + w - k, B - h}, {L + w - 1, B - h + m}, {L + w - 1, B - 1}};
    }
  } else if (side == 0 || side == 1) {
    if (side == 0) {
      ++r.Top;
      ++r.Bottom;
    } else {
      ++r.Left;
    }
    const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    const Integer d = B - T;
    const Integer dip = side == 0 ? 2 : 3;
    points = {{L + 2, B - 1}, {L + d - dip, T + 3 + (side == 0 ? 0 : 1)}, {L + d + 2, T + 1}, {R - 2, T + 1},
              {R - 2, B - 1}};
  } else {
    const Integer g = side == 2 ? -2 : -1;
    ++r.Top;
    if (side == 2) {
      ++r.Left;
      ++r.Right;
    }
    Integer w = 0;
    Integer h = 0;
    OrientedRectExtents(r, false, w, h);
    const Integer L = r.Left;
    const Integer B = r.Bottom;
    points = {{L + 2, B - 1}, {L + h + g, B - h + 3}, {L + h + g + 4, B - h + 1}, {L + w - 2, B - h + 1},
              {L + w - 2, B - 1}};
  }
  TcxCanvas* canvas = Canvas();
  canvas->BeginPath();
  DrawTabOutline(r, points.data(), OutlineColor(), side, static_cast<Integer>(points.size()) - 1);
  canvas->EndPath();
  return TcxRegion::CreateFromHandle(win::PathToRegion(canvas->DeviceContext()));
}

TColor TcxPCOneNotePainter::ColorUnder(Integer VisibleIndex, const TPoint& P) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const TPoint at = TurnPoint(tab->DisplayRect(), P, tab->Side());
  Integer first;
  Integer last;
  DisplayedTabRange(ParentControl(), first, last);
  for (Integer v = first; v <= last; ++v)
    if (cxRectPtIn(ParentInfo()->VisibleTab(v)->VisibleRect(), at) && IsPointInTab(v, at.X, at.Y))
      return ParentInfo()->TabPageColor(v);
  return ParentInfo()->Color();
}

void TcxPCOneNotePainter::DrawTabFigure(Integer VisibleIndex, const TRect& R) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const Integer side = tab->Side();
  const TColor c = TabColor(VisibleIndex);
  TColor outer;
  TColor inner1;
  TColor inner2;
  if (tab->IsHot()) {
    outer = inner1 = inner2 = OneNoteSchemeColors[3];
  } else if (tab->IsMainTab()) {
    outer = OneNoteSchemeColors[0];
    inner1 = MixColorsByPercent(kWhite, c, 60);
    inner2 = MixColorsByPercent(inner1, c, 70);
  } else {
    outer = OneNoteSchemeColors[1];
    inner1 = MixColorsByPercent(MixColorsByPercent(kWhite, OneNoteSchemeColors[5], 50), c, 50);
    inner2 = MixColorsByPercent(OneNoteSchemeColors[5], c, 50);
  }
  Integer w = 0;
  Integer h = 0;
  OrientedRectExtents(R, side == 0 || side == 1, w, h);
  const Integer L = R.Left;
  const Integer B = R.Bottom;
  const TPoint corner{L, B - 1};
  DrawTabOutline(R, &corner, MixColorsByPercent(outer, ColorUnder(VisibleIndex, {L - 1, B - 1}), 25), side, 0);
  const TPoint outline[7] = {{L + 1, B - 1},     {L + 1, B - 1},     {L + h - 3, B - h + 3}, {L + h + 2, B - h},
                             {L + w - 3, B - h}, {L + w - 1, B - h + 2}, {L + w - 1, B - 1}};
  DrawTabOutline(R, outline, outer, side, 6);
  const TPoint top{L + h + 2, B - h};
  DrawTabOutline(R, &top, MixColorsByPercent(outer, ColorUnder(VisibleIndex, {L + h + 1, B - h}), 60), side, 0);
  const TPoint first[4] = {{L + 2, B - 1}, {L + h - 3, B - h + 4}, {L + h + 2, B - h + 1}, {L + w - 4, B - h + 1}};
  DrawTabOutline(R, first, inner1, side, 3);
  const TPoint second[3] = {{L + w - 3, B - h + 1}, {L + w - 2, B - h + 2}, {L + w - 2, B - 1}};
  DrawTabOutline(R, second, inner2, side, 2);
}

void TcxPCOneNotePainter::DrawMainTabJoin(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const TRect r = tab->DisplayRect();
  const Integer side = tab->Side();
  const TColor c = ParentInfo()->TabPageColor(VisibleIndex);
  Integer w = 0;
  Integer h = 0;
  OrientedRectExtents(r, side == 0 || side == 1, w, h);
  const TPoint corner{r.Left, r.Bottom};
  DrawTabOutline(r, &corner, MixColorsByPercent(OutlineColor(), c, 50), side, 0);
  const TPoint line[2] = {{r.Left + 1, r.Bottom}, {r.Left + w - 1, r.Bottom}};
  DrawTabOutline(r, line, c, side, 1);
}
