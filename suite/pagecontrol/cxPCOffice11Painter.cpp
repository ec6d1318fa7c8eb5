#include "suite/pagecontrol/cxPCOffice11Painter.h"

#include <utility>

#include "platform/forms/Controls.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeelPainters.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCPainterRoutines.h"

VXN_IMPLEMENT_CLASS(TcxPCOffice11Painter, TcxPCUltraFlatPainter)

namespace {

constexpr TcxBorders kAllBorders{bLeft, bTop, bRight, bBottom};

// The scheme's colours as this look names them, read anew on every use.
TColor BarColor1() { return Office11GradientFirstColor; }
TColor BarColor2() { return Office11GradientLastColor; }
TColor HotColor1() { return Office11HotFirstColor; }
TColor HotColor2() { return Office11HotLastColor; }
TColor PressedColor1() { return Office11PressedFirstColor; }
TColor PressedColor2() { return Office11PressedLastColor; }
TColor SeparatorColor1() { return Office11LineColor; }
TColor SeparatorColor2() { return Office11LightColor; }

void FillSolid(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->SetBrushColor(AColor);
  ACanvas->Canvas->FillRect(R);
}

}  // namespace

bool TcxPCOffice11PainterClass::MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const {
  return ALookAndFeel->PainterForThemeClasses(ThemeClassMask(ThemeClassTab))->PainterStyle() == 4;
}

std::unique_ptr<TcxPCCustomPainter> TcxPCOffice11PainterClass::Construct(TcxCustomTabControl* AControl) const {
  return std::make_unique<TcxPCOffice11Painter>(AControl);
}

const TcxPCOffice11PainterClass& TcxPCOffice11PainterClass::Instance() {
  static const TcxPCOffice11PainterClass instance;
  return instance;
}

TColor TcxPCOffice11Painter::SchemeFrameColor() { return Office11DarkBorderColor; }

bool TcxPCOffice11Painter::TabGradient() { return ParentInfo()->Options().Contains(pcoGradient); }

bool TcxPCOffice11Painter::ClientGradient() {
  const TcxPCOptions options = ParentInfo()->Options();
  return options.Contains(pcoGradient) && options.Contains(pcoGradientClientArea);
}

void TcxPCOffice11Painter::GradientPair(TColor& First, TColor& Second) {
  if (TabGradient()) return;
  First = Second = MixColorsByPercent(First, Second, 50);
}

void TcxPCOffice11Painter::SchemeGradient(TcxCanvas* ACanvas, const TRect& R, bool Exchange, bool Vertical,
                                          Integer VisibleIndex) {
  TColor first = BarColor1();
  TColor second = BarColor2();
  if (VisibleIndex != -1) {
    TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
    if (tab->IsMainTab()) {
      first = HotColor1();
      second = HotColor2();
    } else if (tab->Highlighted()) {
      first = second = clHighlight;
    }
  }
  if (!TabGradient())
    GradientPair(first, second);
  else if (Exchange)
    std::swap(first, second);
  FillGradientRect(ACanvas->DeviceContext(), R, first, Vertical, second);
}

void TcxPCOffice11Painter::DrawPageBackground() {
  const TRect page = PageClientRect();
  const Integer main = ParentInfo()->MainTabVisibleIndex();
  TControl* tabPage = main == -1 ? nullptr : ParentInfo()->TabPage(main);
  TColor color;
  if (!tabPage || tabPage->ParentColor()) {
    if (ClientGradient()) {
      FillGradientRect(Canvas()->DeviceContext(), page, BarColor1(), SidewaysTabs(), BarColor2());
      return;
    }
    color = MixColorsByPercent(BarColor1(), BarColor2(), 50);
  } else {
    color = tabPage->Color();
  }
  FillSolid(Canvas(), page, color);
}

bool TcxPCOffice11Painter::HasFarRowsLine() {
  if (HasFrame() || !HasRows()) return false;
  const Integer leading = ParentInfo()->LeadingRowCount();
  switch (ParentInfo()->TabPosition()) {
    case tpTop:
    case tpLeft:
      return leading < ParentInfo()->RowCount();
    default:
      return leading > 0;
  }
}

TRect TcxPCOffice11Painter::ClientAreaMargins() {
  TRect margins = TcxPCUltraFlatPainter::ClientAreaMargins();
  if (HasFarRowsLine()) ++margins.Bottom;
  return margins;
}

bool TcxPCOffice11Painter::ExcludesOnlyTabContent(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  return !tab->IsMainTab() && !tab->Highlighted();
}

void TcxPCOffice11Painter::DrawFrameAndPage() {
  if (HasFarRowsLine()) {
    // In top-tab terms the page's far side is its bottom: the line runs
    // along the row of pixels just past the page.
    const TcxTabPosition position = ParentInfo()->TabPosition();
    const TRect page = DeflateByMargins(PageClientRect(), {0, 0, 0, -1}, position);
    Integer w = 0;
    Integer h = 0;
    OrientedRectExtents(page, !SidewaysTabs(), w, h);
    const TPoint line[2] = {{page.Left, page.Bottom - 1}, {page.Left + w - 1, page.Bottom - 1}};
    DrawTabOutline(page, line, SchemeFrameColor(), position, 1);
  }
  TcxPCUltraFlatPainter::DrawFrameAndPage();
}

void TcxPCOffice11Painter::DrawFrame() {
  Canvas()->FillBorders(cxRectInflate(PageClientRect(), 1, 1), SchemeFrameColor(), 1, kAllBorders);
}

TRect ContentBitmapGradientRect(TRect G, const TPoint& Origin, const TSize& BitmapSize, bool VerticalText,
                                bool Rotate, Integer Rotation, bool& Exchange) {
  TPoint o = Origin;
  if (VerticalText) {
    G = {G.Top, G.Left, G.Bottom, G.Right};
    o = {o.Y, o.X};
  }
  Integer dx = -o.X;
  Integer dy = -o.Y;
  if (Rotate && Rotation == 1)
    dx = BitmapSize.cx + o.X - G.Left - G.Right;
  else if (!Rotate && Rotation == 2)
    dy = o.Y + BitmapSize.cy - G.Top - G.Bottom;
  Exchange = (!Rotate && Rotation == 2) || (Rotate && Rotation == 1);
  return cxRectOffset(G, dx, dy);
}

void TcxPCOffice11Painter::FillContentBitmap(TBitmap* Bitmap, const TRect& R, Integer VisibleIndex) {
  TRect g;
  TabRowRect(VisibleIndex, false, g);
  g = DeflateByMargins(g, {0, 0, 0, RowLineCount()}, ParentInfo()->TabPosition());
  bool exchange = false;
  const bool rotate = ParentInfo()->Rotate();
  g = ContentBitmapGradientRect(g, R.TopLeft(), {Bitmap->Width(), Bitmap->Height()},
                                ParentControl()->HasVerticalText(), rotate, ParentControl()->TabTextRotation(),
                                exchange);
  TcxCanvas canvas(Bitmap->Canvas());
  SchemeGradient(&canvas, g, exchange, rotate, VisibleIndex);
}

TColor TcxPCOffice11Painter::NavigatorGlyphColor(Integer State) {
  return State == nbsDisabled ? Office11DisabledSymbolColor : Office11SymbolColor;
}

void TcxPCOffice11Painter::FillNavigatorButton(const TRect& R, Integer State) {
  if (!ClipToRect(R, true)) return;
  struct Restore {
    TcxPCCustomPainter* painter;
    ~Restore() { painter->RestoreClip(); }
  } restore{this};
  TcxPCLineIndexBoundsArray rows;
  GetRowTabBounds(ParentControl(), rows);
  TRect strip = R;
  if (!rows.empty() && rows[0].First >= 0) strip = RowRect(rows[0].First);
  TColor first;
  TColor second;
  if (State == nbsPressed) {
    first = PressedColor1();
    second = PressedColor2();
  } else if (State == nbsHot) {
    first = HotColor1();
    second = HotColor2();
  } else {
    FillTabsBackground(Canvas(), strip, -1);
    return;
  }
  GradientPair(first, second);
  FillGradientRect(Canvas()->DeviceContext(), strip, first, SidewaysTabs(), second);
}

void TcxPCOffice11Painter::DrawNavigatorButtonFrame(TRect& R, Integer State) {
  const bool live = ParentControl()->Enabled() && State != nbsDisabled;
  DrawFrameAndDeflate(Canvas(), R, live ? SchemeFrameColor() : Office11DisabledSymbolColor);
}

IntegerPair TcxPCOffice11Painter::SeparatorInsets() {
  const TcxTabPosition p = ParentInfo()->TabPosition();
  return p == tpBottom || p == tpRight ? IntegerPair{3, -1} : IntegerPair{0, 2};
}

void TcxPCOffice11Painter::FillTabsBackground(TcxCanvas* ACanvas, const TRect& R, Integer VisibleIndex) {
  SchemeGradient(ACanvas, R, false, SidewaysTabs(), VisibleIndex);
}

TColor TcxPCOffice11Painter::TabsBandColor() {
  if (!TabGradient()) return MixColorsByPercent(HotColor1(), HotColor2(), 50);
  const TcxTabPosition p = ParentInfo()->TabPosition();
  return p == tpBottom || p == tpRight ? HotColor1() : HotColor2();
}

void TcxPCOffice11Painter::TabsBandRect(TRect& R) {
  R = HasRows() ? RectSideBand(PageAreaRect(), ParentInfo()->TabPosition(), 2, false) : TRect{};
}

void TcxPCOffice11Painter::DrawMainTabOutline(const TRect& R) {
  DrawMainTabOutlineIn(R, SchemeFrameColor(), SchemeFrameColor());
}

void TcxPCOffice11Painter::DrawTabSeparator(const TRect& R) {
  TcxCanvas* canvas = Canvas();
  const TRect dark{R.Left, R.Top, R.Right - 1, R.Bottom - 1};
  FillSolid(canvas, dark, SeparatorColor1());
  canvas->ExcludeFromClip(dark);
  const TRect light = cxRectOffset(dark, 1, 1);
  FillSolid(canvas, light, SeparatorColor2());
  canvas->ExcludeFromClip(light);
}

void TcxPCOffice11Painter::DrawRowLines(const TRect& R, Integer Row) {
  (void)Row;
  const TColor colors[1] = {SchemeFrameColor()};
  DrawRowLinesIn(R, colors);
}
