#include "suite/pagecontrol/cxPCFlatPainter.h"

#include <vector>

#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeelPainters.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCPainterRoutines.h"

VXN_IMPLEMENT_CLASS(TcxPCFlatPainter, TcxPCTabsPainter)

bool TcxPCFlatPainterClass::MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const {
  return ALookAndFeel->PainterForThemeClasses(ThemeClassMask(ThemeClassTab))->PainterStyle() == 0;
}

std::unique_ptr<TcxPCCustomPainter> TcxPCFlatPainterClass::Construct(TcxCustomTabControl* AControl) const {
  return std::make_unique<TcxPCFlatPainter>(AControl);
}

const TcxPCFlatPainterClass& TcxPCFlatPainterClass::Instance() {
  static const TcxPCFlatPainterClass instance;
  return instance;
}

std::unique_ptr<TcxRegion> TcxPCFlatPainter::TabRegion(Integer VisibleIndex) {
  // The main tab stays inside its own rect: the page frame beside it is
  // never painted over.
  return TcxRegion::CreateFromRect(ParentInfo()->VisibleTab(VisibleIndex)->VisibleRect());
}

Integer TcxPCFlatPainter::TabClipMode(Integer VisibleIndex) {
  (void)VisibleIndex;
  return RegionIntersection;
}

void TcxPCFlatPainter::DrawFrame() {
  Canvas()->DrawTwoColorFrame(PageAreaRect(), clBtnHighlight, clBtnShadow, TcxBorders{bLeft, bTop, bRight, bBottom},
                              1);
}

Integer TcxPCFlatPainter::NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) {
  const Integer state = TcxPCTabsPainter::NavigatorGlyphOffset(Button, Offset);
  --Offset.X;
  --Offset.Y;
  return state;
}

void TcxPCFlatPainter::DrawNavigatorButtonFrame(TRect& R, Integer State) {
  const bool pressed = State == nbsPressed;
  Canvas()->DrawTwoColorFrame(R, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnShadow,
                              TcxBorders{bLeft, bTop, bRight, bBottom}, 1);
  R = cxRectInflate(R, -1, -1);
}

TColor TcxPCFlatPainter::CornerColor() { return ParentInfo()->Color(); }

void TcxPCFlatPainter::DrawTabBorder(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const TRect r = tab->DisplayRect();
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  const TColor b = BrightenColor(TabColor(VisibleIndex), 85);
  struct Line {
    std::vector<TPoint> points;
    TColor color;
  };
  std::vector<Line> lines;
  switch (tab->Side()) {
    case 0:
      lines = {{{{L, B - 1}, {L, T + 2}, {L + 2, T}, {R - 3, T}, {R - 2, T + 1}}, clBtnHighlight},
               {{{R - 1, T + 2}, {R - 1, B - 1}}, clBtnShadow},
               {{{L + 1, B - 1}, {L + 1, T + 2}, {L + 2, T + 1}, {R - 3, T + 1}, {R - 2, T + 2}, {R - 2, B - 1}}, b}};
      break;
    case 1:
      lines = {{{{L, T}, {L, B - 3}, {L + 1, B - 2}}, clBtnHighlight},
               {{{L + 2, B - 1}, {R - 3, B - 1}, {R - 1, B - 3}, {R - 1, T}}, clBtnShadow},
               {{{L + 1, T}, {L + 1, B - 3}}, b},
               {{{L + 2, B - 2}, {R - 3, B - 2}, {R - 2, B - 3}, {R - 2, T}}, clBtnFace}};
      break;
    case 2:
      lines = {{{{R - 1, B - 1}, {L + 2, B - 1}}, clBtnShadow},
               {{{L + 1, B - 2}, {L, B - 3}, {L, T + 2}, {L + 2, T}, {R - 1, T}}, clBtnHighlight},
               {{{R - 1, B - 2}, {L + 2, B - 2}, {L + 1, B - 3}, {L + 1, T + 2}, {L + 2, T + 1}, {R - 1, T + 1}}, b}};
      break;
    default:
      lines = {{{{L, T}, {R - 3, T}, {R - 2, T + 1}}, clBtnHighlight},
               {{{R - 1, T + 2}, {R - 1, B - 3}, {R - 3, B - 1}, {L, B - 1}}, clBtnShadow},
               {{{L, T + 1}, {R - 3, T + 1}}, b},
               {{{R - 2, T + 2}, {R - 2, B - 3}, {R - 3, B - 2}, {L, B - 2}}, clBtnFace}};
      break;
  }
  for (const Line& line : lines)
    DrawPolyline(line.points.data(), static_cast<Integer>(line.points.size()) - 1, line.color);
  DrawTabCorners(VisibleIndex);
}
