#include "suite/pagecontrol/cxPCButtonedPainter.h"

#include "suite/foundation/cxGraphics.h"
#include "suite/pagecontrol/cxCustomTabControl.h"

VXN_IMPLEMENT_CLASS(TcxPCButtonedPainter, TcxPCStandardPainter)
VXN_IMPLEMENT_CLASS(TcxPCButtonsPainter, TcxPCButtonedPainter)
VXN_IMPLEMENT_CLASS(TcxPCFlatButtonsPainter, TcxPCButtonedPainter)

namespace {

constexpr TcxBorders kAllBorders{bLeft, bTop, bRight, bBottom};

}  // namespace

// TcxPCButtonedPainter ------------------------------------------------------------

Integer TcxPCButtonedPainter::NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) {
  return FixedNavigatorGlyphOffset(Button, Offset);
}

TRect TcxPCButtonedPainter::TabsAreaMargins() {
  TRect margins = TcxPCStandardPainter::TabsAreaMargins();
  if (!ParentInfo()->HideTabs() && ParentInfo()->RowCount() > 0) margins.Top += 2;
  return margins;
}

TColor TcxPCButtonedPainter::TabColor(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  if (tab->Highlighted()) return HighlightedTabColor();
  return tab->IsMainTab() ? clBtnHighlight : clBtnFace;
}

bool TcxPCButtonedPainter::TabIsDown(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  return tab->IsPressed() || tab->Selected() || tab->IsMainTab();
}

bool TcxPCButtonedPainter::TabLooksActive(Integer VisibleIndex) {
  return !ParentInfo()->VisibleTab(VisibleIndex)->IsFocused() && TabIsDown(VisibleIndex);
}

// Buttons --------------------------------------------------------------------------

std::unique_ptr<TcxPCCustomPainter> TcxPCButtonsPainterClass::Construct(TcxCustomTabControl* AControl) const {
  return std::make_unique<TcxPCButtonsPainter>(AControl);
}

const TcxPCButtonsPainterClass& TcxPCButtonsPainterClass::Instance() {
  static const TcxPCButtonsPainterClass instance;
  return instance;
}

IntegerPair TcxPCButtonsPainter::TabContentSpacing(Integer VisibleIndex) {
  (void)VisibleIndex;
  return ImageSize().cx < 1 ? IntegerPair{3, 3} : IntegerPair{2, 3};
}

bool TcxPCButtonsPainter::TabLooksActive(Integer VisibleIndex) {
  return ParentInfo()->VisibleTab(VisibleIndex)->IsFocused() || TabIsDown(VisibleIndex);
}

void TcxPCButtonsPainter::DrawTabFrame(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  TcxCanvas* canvas = Canvas();
  TRect r = tab->DisplayRect();
  if (tab->IsFocused() || TabIsDown(VisibleIndex)) {
    canvas->DrawTwoColorFrame(r, cl3DDkShadow, clBtnHighlight, kAllBorders, 1);
    r = cxRectInflate(r, -1, -1);
    canvas->DrawTwoColorFrame(r, clBtnShadow, cl3DLight, kAllBorders, 1);
  } else {
    canvas->DrawTwoColorFrame(r, clBtnHighlight, cl3DDkShadow, kAllBorders, 1);
    r = cxRectInflate(r, -1, -1);
    canvas->DrawTwoColorFrame(r, cl3DLight, clBtnShadow, kAllBorders, 1);
  }
  r = cxRectInflate(r, -1, -1);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->SetBrushColor(TabColor(VisibleIndex));
  canvas->Canvas->FillRect(r);
  DrawFocusMark(VisibleIndex, cxRectInflate(r, 1, 1));
}

// FlatButtons ----------------------------------------------------------------------

std::unique_ptr<TcxPCCustomPainter> TcxPCFlatButtonsPainterClass::Construct(TcxCustomTabControl* AControl) const {
  return std::make_unique<TcxPCFlatButtonsPainter>(AControl);
}

const TcxPCFlatButtonsPainterClass& TcxPCFlatButtonsPainterClass::Instance() {
  static const TcxPCFlatButtonsPainterClass instance;
  return instance;
}

IntegerPair TcxPCFlatButtonsPainter::TabContentSpacing(Integer VisibleIndex) {
  (void)VisibleIndex;
  return {2, 3};
}

void TcxPCFlatButtonsPainter::DrawTabFrame(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  TRect r = tab->DisplayRect();
  if (!tab->IsFocused() && TabIsDown(VisibleIndex)) {
    Draw3DEdge(r, true, false);
    r = cxRectInflate(r, -2, -2);
  } else if (tab->IsHot() || tab->IsFocused()) {
    const TPoint light[3] = {{r.Left, r.Bottom - 2}, {r.Left, r.Top}, {r.Right - 2, r.Top}};
    const TPoint dark[3] = {{r.Left, r.Bottom - 1}, {r.Right - 1, r.Bottom - 1}, {r.Right - 1, r.Top}};
    DrawPolyline(light, 2, clBtnHighlight);
    DrawPolyline(dark, 2, clBtnShadow);
    r = cxRectInflate(r, -1, -1);
  }
  TcxCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->SetBrushColor(TabColor(VisibleIndex));
  canvas->Canvas->FillRect(r);
  DrawFocusMark(VisibleIndex, cxRectInflate(r, 1, 1));
}

void TcxPCFlatButtonsPainter::DrawTab(Integer VisibleIndex) {
  TcxPCButtonedPainter::DrawTab(VisibleIndex);
  if (HasSeparatorAfter(VisibleIndex)) DrawSeparator(VisibleIndex);
}

bool TcxPCFlatButtonsPainter::HasSeparatorAfter(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  Integer first;
  Integer last;
  DisplayedTabRange(ParentControl(), first, last);
  if (!ParentInfo()->Rotate())
    return VisibleIndex < last && ParentInfo()->VisibleTab(VisibleIndex + 1)->DisplayedRow == tab->DisplayedRow;
  const Integer rows = ParentInfo()->RowCount();
  if (rows <= 1 || tab->DisplayedRow >= rows - 1) return false;
  const bool sideways = SidewaysTabs();
  const TRect r = tab->DisplayRect();
  for (Integer v = first; v <= last; ++v) {
    TcxTab* other = ParentInfo()->VisibleTab(v);
    if (other->DisplayedRow != tab->DisplayedRow + 1) continue;
    const TRect o = other->DisplayRect();
    if ((sideways ? o.Top : o.Left) == (sideways ? r.Top : r.Left)) return true;
  }
  return false;
}

void TcxPCFlatButtonsPainter::DrawSeparator(Integer VisibleIndex) {
  TcxCustomTabControl* control = ParentControl();
  const TRect r = ParentInfo()->VisibleTab(VisibleIndex)->DisplayRect();
  const Integer a = TabsSpacing().First;
  const Integer c = (a - 2) / 2;
  const bool across = control->HasVerticalText();
  TRect band = r;
  if (across) {
    if (control->HasUpwardSideText()) {
      band.Bottom = r.Top;
      band.Top = r.Top - a;
    } else {
      band.Top = r.Bottom;
      band.Bottom = r.Bottom + a;
    }
  } else if (control->HasDownwardTurnedText()) {
    band.Right = r.Left;
    band.Left = r.Left - a;
  } else {
    band.Left = r.Right;
    band.Right = r.Right + a;
  }
  if (!ClipToRect(band, true)) return;
  TRect lines;
  if (across) {
    const Integer y = band.Top + c;
    const TPoint shadow[2] = {{band.Left + 1, y}, {band.Right - 2, y}};
    const TPoint light[2] = {{band.Left + 1, y + 1}, {band.Right - 2, y + 1}};
    DrawPolyline(shadow, 1, clBtnShadow);
    DrawPolyline(light, 1, clBtnHighlight);
    lines = {band.Left + 1, y, band.Right - 1, y + 2};
  } else {
    const Integer x = band.Left + c;
    const TPoint shadow[2] = {{x, band.Top + 1}, {x, band.Bottom - 2}};
    const TPoint light[2] = {{x + 1, band.Top + 1}, {x + 1, band.Bottom - 2}};
    DrawPolyline(shadow, 1, clBtnShadow);
    DrawPolyline(light, 1, clBtnHighlight);
    lines = {x, band.Top + 1, x + 2, band.Bottom - 1};
  }
  TcxCanvas* canvas = Canvas();
  SaveClip();
  canvas->ExcludeFromClip(lines);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->SetBrushColor(ParentInfo()->Color());
  canvas->Canvas->FillRect(band);
  RestoreClip();
  RestoreClip();
  canvas->ExcludeFromClip(band);
}
