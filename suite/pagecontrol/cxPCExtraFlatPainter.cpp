#include "suite/pagecontrol/cxPCExtraFlatPainter.h"

#include <algorithm>
#include <initializer_list>

#include "suite/foundation/cxGraphics.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCGeometry.h"
#include "suite/pagecontrol/cxPCPainterRoutines.h"

VXN_IMPLEMENT_CLASS(TcxPCExtraFlatPainter, TcxPCStandardPainter)

namespace {

constexpr TColor kWhite = static_cast<TColor>(0xFFFFFF);
constexpr TColor kBlack = static_cast<TColor>(0);

bool IsOneOf(Integer Value, std::initializer_list<Integer> Values) {
  return std::find(Values.begin(), Values.end(), Value) != Values.end();
}

bool LeadingPosition(TcxTabPosition Position) { return Position == tpTop || Position == tpLeft; }

// The side of a rect (0 left, 1 top, 2 right, 3 bottom) that faces the page
// for tabs at Position.
Integer PageSide(TcxTabPosition Position) {
  static constexpr Integer sides[4] = {3, 1, 2, 0};
  return sides[Position];
}

}  // namespace

std::unique_ptr<TcxPCCustomPainter> TcxPCExtraFlatPainterClass::Construct(TcxCustomTabControl* AControl) const {
  return std::make_unique<TcxPCExtraFlatPainter>(AControl);
}

const TcxPCExtraFlatPainterClass& TcxPCExtraFlatPainterClass::Instance() {
  static const TcxPCExtraFlatPainterClass instance;
  return instance;
}

// Metrics.

Integer TcxPCExtraFlatPainter::MinTabNormalWidth() {
  const TSize image = ImageSize();
  return image.cx > 0 ? image.cx + 2 * ParentInfo()->ImageBorder() + 4 : 0;
}

Integer TcxPCExtraFlatPainter::TabNormalWidth(TcxTab* Tab) {
  if (ParentInfo()->TabWidth() > 0) return std::max<Integer>(ParentInfo()->TabWidth(), MinTabNormalWidth());
  Integer width = 12;
  const TSize image = ImageSize();
  if (image.cx > 0) width += image.cx + 2 * ParentInfo()->ImageBorder() + 4;
  if (!Tab->Caption().empty()) width += TextExtent(Canvas(), Tab->Caption()).cx - 3;
  return std::max(width, MinTabNormalWidth());
}

TRect TcxPCExtraFlatPainter::TabSizeCorrection(Integer VisibleIndex) {
  return ParentInfo()->VisibleTab(VisibleIndex)->IsMainTab() ? TRect{-1, -1, 1, 1} : TRect{};
}

Integer TcxPCExtraFlatPainter::NavigatorButtonSpacing(TcxPCNavigatorButton Button, TcxPCNavigatorButton NextButton) {
  const bool goDialog = Button == nbGoDialog || NextButton == nbGoDialog;
  const bool close = Button == nbClose || NextButton == nbClose;
  return goDialog && !close ? 0 : 3;
}

Integer TcxPCExtraFlatPainter::NavigatorEndOffset() { return HasOuterFrame() ? FrameWidth() + 1 : 1; }

TColor TcxPCExtraFlatPainter::PageColor() {
  const Integer main = ParentInfo()->MainTabVisibleIndex();
  return main == -1 ? clBtnFace : ParentInfo()->TabPageColor(main);
}

bool TcxPCExtraFlatPainter::HasRows() { return !ParentInfo()->HideTabs() && ParentInfo()->RowCount() > 0; }

TRect TcxPCExtraFlatPainter::ClientAreaMargins() {
  TRect margins = TcxPCStandardPainter::ClientAreaMargins();
  if (HasRows()) margins.Top += 2;
  AdjustClientMargins(margins);
  return margins;
}

void TcxPCExtraFlatPainter::AdjustClientMargins(TRect& Margins) {
  if (HasFrame() && HasRows()) --Margins.Top;
}

TRect TcxPCExtraFlatPainter::TabsAreaMargins() {
  TRect margins = TcxPCStandardPainter::TabsAreaMargins();
  if (!ParentInfo()->HideTabs() && ParentInfo()->HasRowsOnBothSides()) margins.Bottom += 3;
  return margins;
}

TRect TcxPCExtraFlatPainter::TabImageMargins(Integer VisibleIndex) {
  return ParentInfo()->VisibleTab(VisibleIndex)->IsMainTab() ? TRect{3, 0, 0, 0} : TRect{2, 0, 0, 0};
}

TRect TcxPCExtraFlatPainter::TabTextMargins(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const bool main = tab->IsMainTab();
  TRect margins = main ? TRect{6, 2, 3, 0} : TRect{5, 2, 3, 0};
  if (IsOneOf(tab->Orientation(), {5, 7, 10})) margins.Top = margins.Bottom = 0;
  if (RotatedImageSize().cx > 0) margins.Left += main ? 1 : 2;
  return margins;
}

TColor TcxPCExtraFlatPainter::TabColor(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  if (tab->Highlighted()) return clHighlight;
  return tab->IsMainTab() ? clBtnFace : LightFaceColor;
}

IntegerPair TcxPCExtraFlatPainter::TabContentSpacing(Integer VisibleIndex) {
  return ParentInfo()->VisibleTab(VisibleIndex)->IsMainTab() ? IntegerPair{3, 3} : IntegerPair{2, 2};
}

IntegerPair TcxPCExtraFlatPainter::TabsSpacing() {
  IntegerPair spacing{TabGap(), RowLineCount() + 3};
  if (ParentInfo()->Rotate()) SwapPair(spacing);
  return spacing;
}

Integer TcxPCExtraFlatPainter::TabNormalHeight() {
  const Integer r = std::max<Integer>(TabHeightForFont(), 17);
  const Integer wanted = ParentInfo()->TabHeight() - 4;
  return wanted >= 17 && wanted > r ? wanted : r;
}

Integer TcxPCExtraFlatPainter::MainTabQuery(TcxTab* Tab) { return Tab && Tab->IsMainTab() ? 1 : 0; }

void TcxPCExtraFlatPainter::CalculateTabsArea(TcxPCNavigatorButtons Buttons, TabsAreaInfo& Info) {
  const Integer e = NavigatorAreaExtent(Buttons);
  const TcxTabPosition position = ParentInfo()->TabPosition();
  const TcxPCNavigatorPosition navigator = ParentInfo()->NavigatorPosition();
  TRect margins{6, 3, 6, 0};
  if (HasOuterFrame()) {
    margins.Top += FrameWidth();
    margins.Bottom += FrameWidth();
  }
  Info = {};
  Info.RowRect = DeflateByMargins(ControlBoundsRect(ParentControl()), margins, position);
  if (SidewaysTabs()) {
    Info.RowLength = ParentInfo()->Height() - e - 12;
    if (navigator == npLeftTop || navigator == npRightTop)
      Info.RowRect.Top += e;
    else
      Info.RowRect.Bottom -= e;
  } else {
    Info.RowLength = ParentInfo()->Width() - e - 12;
    if (navigator == npLeftTop || navigator == npLeftBottom)
      Info.RowRect.Left += e;
    else
      Info.RowRect.Right -= e;
  }
  Info.Bounds = DeflateByMargins(Info.RowRect, {-1, -1, -1, 0}, position);
  Info.LeadingBandExtra = LeadingPosition(position) ? 1 : 0;
  Info.TrailingBandExtra = LeadingPosition(position) ? 0 : -1;
  Info.BandGap = TabsSpacing().Second - 1;
  CalculateNavigatorButtons(Buttons);
}

// Navigator buttons.

void TcxPCExtraFlatPainter::GetNavigatorGlyphInfo(TcxPCNavigatorButton Button, TcxPCNavigatorGlyphInfo& Info) {
  TcxPCStandardPainter::GetNavigatorGlyphInfo(Button, Info);
  Info.Plain = true;
  Info.ThinCross = Button == nbClose || !ParentControl()->Enabled() ||
                   ParentInfo()->NavigatorButtonState(Button) == nbsDisabled;
  if (Info.ThinCross) Info.FillColor = LightFaceColor;
}

TColor TcxPCExtraFlatPainter::NavigatorButtonFaceColor(Integer State) {
  return State == nbsPressed || State == nbsHot ? clBtnFace : LightFaceColor;
}

TColor TcxPCExtraFlatPainter::NavigatorGlyphColor(Integer State) {
  if (ParentControl()->Enabled() && State != nbsDisabled) return State == nbsPressed ? clBtnHighlight : clBtnText;
  return clBtnShadow;
}

Integer TcxPCExtraFlatPainter::NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) {
  static constexpr TPoint arrows[4] = {{2, 5}, {2, 3}, {5, 2}, {3, 2}};  // up, down, left, right
  const Integer state = ParentInfo()->NavigatorButtonState(Button);
  if (Button == nbGoDialog)
    Offset = {3, state == nbsPressed ? 5 : 4};
  else if (Button == nbClose)
    Offset = SidewaysTabs() ? TPoint{3, 2} : TPoint{2, 3};
  else
    Offset = arrows[ArrowDirection(Button)];
  return state;
}

void TcxPCExtraFlatPainter::DrawNavigatorButtonFrame(TRect& R, Integer State) {
  if (State != nbsPressed && State != nbsHot) return;
  Draw3DEdge(R, State == nbsPressed, true);
  R = cxRectInflate(R, -1, -1);
}

// Rows and bands.

void TcxPCExtraFlatPainter::TabRowRect(Integer VisibleIndex, bool WholeRow, TRect& R) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  if (WholeRow || !tab->IsMainTab())
    R = DeflateByMargins(tab->NormalRect(), {0, -3, 0, -RowLineCount()}, ParentInfo()->TabPosition());
  else
    R = DeflateByMargins(tab->DisplayRect(), {1, 1, 1, 0}, static_cast<TcxTabPosition>(tab->Side()));
}

TRect TcxPCExtraFlatPainter::RowRect(Integer FirstVisibleIndex) {
  TRect r;
  TabRowRect(FirstVisibleIndex, true, r);
  if (SidewaysTabs()) {
    r.Top = 0;
    r.Bottom = ParentInfo()->Height();
  } else {
    r.Left = 0;
    r.Right = ParentInfo()->Width();
  }
  if (HasOuterFrame()) r = DeflateByMargins(r, {1, 0, 1, 0}, ParentInfo()->TabPosition());
  return r;
}

void TcxPCExtraFlatPainter::TabsBandRect(TRect& R) {
  R = HasRows() ? RectSideBand(PageClientRect(), ParentInfo()->TabPosition(), 2, true) : TRect{};
}

IntegerPair TcxPCExtraFlatPainter::SeparatorInsets() {
  const TcxTabPosition p = ParentInfo()->TabPosition();
  return p == tpBottom || p == tpRight ? IntegerPair{2, 0} : IntegerPair{1, 1};
}

void TcxPCExtraFlatPainter::FillTabsBackground(TcxCanvas* ACanvas, const TRect& R, Integer VisibleIndex) {
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->SetBrushColor(VisibleIndex == -1 ? LightFaceColor : TabColor(VisibleIndex));
  ACanvas->Canvas->FillRect(R);
}

void TcxPCExtraFlatPainter::MainTabFocusRect(TRect& R) {
  static constexpr TRect deltas[4] = {{0, 0, -1, 1}, {1, -1, -1, -1}, {0, 0, 1, -1}, {-1, 1, -1, -1}};
  const Integer main = ParentInfo()->MainTabVisibleIndex();
  R = main == -1 ? TRect{} : ParentInfo()->VisibleTab(main)->DisplayRect();
  R = AddRectMargins(R, deltas[ParentInfo()->TabPosition()]);
}

// Drawing.

void TcxPCExtraFlatPainter::DrawMainTabOutlineIn(const TRect& R, TColor Light, TColor Dark) {
  const Integer main = ParentInfo()->MainTabVisibleIndex();
  const Integer side = main == -1 ? 0 : ParentInfo()->VisibleTab(main)->Side();
  struct Outline {
    Integer sides[3];
    bool dark[3];
    bool corner;
  };
  static constexpr Outline outlines[4] = {{{0, 1, 2}, {false, false, true}, false},
                                          {{0, 3, 2}, {false, true, true}, true},
                                          {{1, 0, 3}, {false, false, true}, false},
                                          {{1, 2, 3}, {false, true, true}, true}};
  const Outline& o = outlines[side];
  const TColor colors[3] = {o.dark[0] ? Dark : Light, o.dark[1] ? Dark : Light, o.dark[2] ? Dark : Light};
  TRect r = R;
  DrawRectSideLines(Canvas(), r, o.sides, colors, 2, true);
  if (o.corner) {
    // The dark pixel where the outline meets the page stays when the tab
    // body is filled.
    Canvas()->PlotPixel(r.Left, r.Top, Dark);
    Canvas()->ExcludeFromClip({r.Left, r.Top, r.Left + 1, r.Top + 1});
  }
}

void TcxPCExtraFlatPainter::DrawMainTabOutline(const TRect& R) { DrawMainTabOutlineIn(R, kWhite, kBlack); }

void TcxPCExtraFlatPainter::DrawTabSeparator(const TRect& R) {
  TcxCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->SetBrushColor(clBtnShadow);
  canvas->Canvas->FillRect(R);
  canvas->ExcludeFromClip(R);
}

void TcxPCExtraFlatPainter::DrawRowLinesIn(const TRect& R, const TColor* Colors) {
  const Integer count = RowLineCount();
  const Integer side = PageSide(ParentInfo()->TabPosition());
  Integer sides[8];
  for (Integer k = 0; k < count && k < 8; ++k) sides[k] = side;
  TRect r = R;
  DrawRectSideLines(Canvas(), r, sides, Colors, std::min<Integer>(count, 8) - 1, true);
}

void TcxPCExtraFlatPainter::DrawRowLines(const TRect& R, Integer Row) {
  (void)Row;
  const TColor outer = LeadingPosition(ParentInfo()->TabPosition()) ? kWhite : kBlack;
  const TColor colors[3] = {clBtnFace, clBtnFace, outer};
  DrawRowLinesIn(R, colors);
}

void TcxPCExtraFlatPainter::DrawTabFrame(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const TRect r = tab->DisplayRect();
  if (tab->IsMainTab()) DrawMainTabOutline(r);
  if (!ExcludesOnlyTabContent(VisibleIndex)) FillTabsBackground(Canvas(), r, VisibleIndex);
  if (tab->IsMainTab()) {
    TRect focus;
    MainTabFocusRect(focus);
    DrawFocusMark(VisibleIndex, focus);
  }
}

void TcxPCExtraFlatPainter::DrawTabs() {
  TcxCustomTabControl* control = ParentControl();
  TcxPCLineIndexBoundsArray rows;
  GetRowTabBounds(control, rows);
  Integer first;
  Integer last;
  DisplayedTabRange(control, first, last);
  const IntegerPair insets = SeparatorInsets();
  for (size_t row = 0; row < rows.size(); ++row) {
    if (rows[row].First < 0) continue;
    const TRect rowRect = RowRect(rows[row].First);
    SaveClip();
    struct Restore {
      TcxPCCustomPainter* painter;
      ~Restore() { painter->RestoreClip(); }
    };
    {
      Restore restore{this};
      for (Integer v = rows[row].First; v <= rows[row].Last; ++v) {
        DrawTab(v);
        TcxTab* tab = ParentInfo()->VisibleTab(v);
        if (tab->IsMainTab() || v >= last) continue;
        TcxTab* next = ParentInfo()->VisibleTab(v + 1);
        if (next->DisplayedRow != tab->DisplayedRow || next->IsMainTab()) continue;
        const TRect d = tab->DisplayRect();
        const Integer gap = TabGap();
        TRect strip;
        if (SidewaysTabs()) {
          strip = control->HasUpwardSideText() ? TRect{d.Left, d.Top - gap, d.Right, d.Top}
                                               : TRect{d.Left, d.Bottom, d.Right, d.Bottom + gap};
          strip.Left += insets.First;
          strip.Right -= insets.Second;
        } else {
          strip = control->HasDownwardTurnedText() ? TRect{d.Left - gap, d.Top, d.Left, d.Bottom}
                                                   : TRect{d.Right, d.Top, d.Right + gap, d.Bottom};
          strip.Top += insets.First;
          strip.Bottom -= insets.Second;
        }
        DrawTabSeparator(strip);
      }
      DrawRowLines(rowRect, static_cast<Integer>(row));
      FillTabsBackground(Canvas(), rowRect, -1);
    }
    Canvas()->ExcludeFromClip(rowRect);
  }
}

void TcxPCExtraFlatPainter::DrawContent() {
  DrawFrameAndPage();
  if (!ParentInfo()->HideTabs()) {
    DrawNavigatorButtons();
    DrawTabs();
  }
}

void TcxPCExtraFlatPainter::DrawFrameAndPage() {
  if (HasRows()) {
    TRect band;
    TabsBandRect(band);
    TcxCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->SetBrushColor(TabsBandColor());
    canvas->Canvas->FillRect(band);
  }
  TcxPCStandardPainter::DrawFrameAndPage();
}

void TcxPCExtraFlatPainter::DrawPageFrame(TColor Light, TColor Dark) {
  TRect r = PageAreaRect();
  if (!HasRows()) {
    Canvas()->DrawTwoColorFrame(r, Light, Dark, TcxBorders{bLeft, bTop, bRight, bBottom}, 1);
    return;
  }
  static constexpr Integer sides[4][3] = {{2, 3, 0}, {2, 1, 0}, {3, 2, 1}, {3, 0, 1}};
  static constexpr bool dark[4][3] = {
      {true, true, false}, {true, false, false}, {true, true, false}, {true, false, false}};
  const TcxTabPosition p = ParentInfo()->TabPosition();
  const TColor colors[3] = {dark[p][0] ? Dark : Light, dark[p][1] ? Dark : Light, dark[p][2] ? Dark : Light};
  DrawRectSideLines(Canvas(), r, sides[p], colors, 2, false);
}

void TcxPCExtraFlatPainter::DrawFrame() { DrawPageFrame(clBtnHighlight, clBtnShadow); }

void TcxPCExtraFlatPainter::InvalidateTab(Integer VisibleIndex, TabChangeKind Kind) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  if (ParentControl()->HasVerticalText()) tab->FreeTextBitmap();
  if (Kind == tckMainTab && !tab->IsMainTab())
    InvalidateTabRows(VisibleIndex);
  else
    InvalidateTabRect(VisibleIndex);
}
