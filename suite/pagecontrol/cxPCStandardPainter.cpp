#include "suite/pagecontrol/cxPCStandardPainter.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/dxUxTheme.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCGeometry.h"
#include "suite/pagecontrol/cxPCPainterRoutines.h"

VXN_IMPLEMENT_CLASS(TcxPCStandardPainter, TcxPCCustomPainter)

namespace {

// Image and text margins (Left, Top, Right, Bottom) by [looks active][kind].
constexpr TRect kImageMargins[2][3] = {{{6, 1, 0, 0}, {6, -1, 0, 1}, {6, -1, 0, 1}},
                                       {{8, 1, 0, 3}, {7, -1, 0, 1}, {7, -1, 0, 1}}};
constexpr TRect kTextMargins[2][3] = {{{5, 1, 5, -1}, {6, 0, 4, 1}, {6, 0, 4, 1}},
                                      {{5, 1, 5, 2}, {6, 0, 4, 1}, {6, 0, 4, 1}}};
// Space before and after the content by [looks active][kind].
constexpr IntegerPair kContentSpacing[2][3] = {{{2, 2}, {3, 3}, {2, 2}}, {{4, 4}, {3, 3}, {4, 2}}};
constexpr IntegerPair kCutContentSpacing[2][3] = {{{2, 2}, {3, 3}, {2, 2}}, {{4, 4}, {3, 3}, {3, 2}}};
constexpr IntegerPair kTabsSpacing[3] = {{0, 0}, {3, 3}, {10, 3}};
constexpr Integer kMinTabNormalHeight[3] = {18, 20, 20};
constexpr Integer kSpareMetric[3] = {2, 4, 4};

bool NavigatorAtRowStart(TcxTabPosition Position, TcxPCNavigatorPosition Navigator) {
  if (Position == tpTop || Position == tpBottom) return Navigator == npLeftTop || Navigator == npLeftBottom;
  return Navigator == npLeftTop || Navigator == npRightTop;
}

// Size parameter of an arrow glyph.
Integer ArrowSize(TcxPCNavigatorButton Button) { return Button == nbGoDialog ? 4 : 5; }

}  // namespace

TcxPCStandardPainter::TcxPCStandardPainter(TcxCustomTabControl* AParent) : TcxPCCustomPainter(AParent) {}

bool TcxPCStandardPainter::SidewaysTabs() const {
  const TcxTabPosition p = ParentInfo()->TabPosition();
  return p == tpLeft || p == tpRight;
}

// Metrics.

Integer TcxPCStandardPainter::TabNormalWidth(TcxTab* Tab) {
  if (ParentInfo()->TabWidth() > 0) return ParentInfo()->TabWidth();
  Integer width = 12;
  const TSize image = ImageSize();
  if (image.cx > 0) width += image.cx + 2 * ParentInfo()->ImageBorder() + 6;
  if (!Tab->Caption().empty()) width += TextExtent(Canvas(), Tab->Caption()).cx;
  return std::max(width, MinTabNormalWidth());
}

TRect TcxPCStandardPainter::TabImageMargins(Integer VisibleIndex) {
  return kImageMargins[TabLooksActive(VisibleIndex) ? 1 : 0][Kind()];
}

TRect TcxPCStandardPainter::TabTextMargins(Integer VisibleIndex) {
  return kTextMargins[TabLooksActive(VisibleIndex) ? 1 : 0][Kind()];
}

Integer TcxPCStandardPainter::MinTabNormalWidth() {
  Integer width = 12;
  const TSize image = ImageSize();
  if (image.cx > 0) width += image.cx + 2 * ParentInfo()->ImageBorder() + 6;
  return std::max(width, MinTabWidthLimit());
}

IntegerPair TcxPCStandardPainter::TabContentSpacing(Integer VisibleIndex) {
  return kContentSpacing[TabLooksActive(VisibleIndex) ? 1 : 0][Kind()];
}

IntegerPair TcxPCStandardPainter::TabCutContentSpacing(Integer VisibleIndex) {
  return kCutContentSpacing[TabLooksActive(VisibleIndex) ? 1 : 0][Kind()];
}

IntegerPair TcxPCStandardPainter::TabsSpacing() { return kTabsSpacing[Kind()]; }

Integer TcxPCStandardPainter::MinTabNormalHeight() { return kMinTabNormalHeight[Kind()]; }

Integer TcxPCStandardPainter::KindSpareMetric() { return kSpareMetric[Kind()]; }

Integer TcxPCStandardPainter::MainTabQuery(TcxTab* Tab) {
  (void)Tab;
  return 2;
}

TColor TcxPCStandardPainter::ControlBackgroundColor() { return ParentInfo()->Color(); }

Integer TcxPCStandardPainter::TabHeightForFont() {
  Integer height = PainterScreenCanvas()->FontHeight(ParentControl()->Font()) + 8;
  const TSize image = ImageSize();
  if (image.cy > 0) height = std::max(height, image.cy + 2 * ParentInfo()->ImageBorder() + 6);
  return height;
}

Integer TcxPCStandardPainter::TabNormalHeight() {
  return std::max({TabHeightForFont(), MinTabNormalHeight(), ParentInfo()->TabHeight()});
}

bool TcxPCStandardPainter::TabLooksActive(Integer VisibleIndex) {
  return ParentInfo()->VisibleTab(VisibleIndex)->IsMainTab();
}

void TcxPCStandardPainter::StoreTabContentRects(Integer VisibleIndex, const TRect& ImageRect,
                                                const TRect& TextRect) {
  SetTabContentRects(VisibleIndex, ImageRect, TextRect);
}

// Navigator buttons.

TColor TcxPCStandardPainter::NavigatorButtonFaceColor(Integer State) {
  (void)State;
  return clBtnFace;
}

TColor TcxPCStandardPainter::NavigatorGlyphColor(Integer State) {
  return State == nbsHot ? ParentInfo()->HotTrackColor() : clBtnText;
}

Integer TcxPCStandardPainter::NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) {
  return CenteredNavigatorGlyphOffset(Button, Offset);
}

Integer TcxPCStandardPainter::NavigatorButtonWidth(TcxPCNavigatorButton Button) {
  if (Button == nbGoDialog) return SidewaysTabs() ? 13 : 12;
  return 20;
}

void TcxPCStandardPainter::GetNavigatorButtonList(TcxPCNavigatorButtons Buttons,
                                                  TcxPCNavigatorButtonPositions& List) {
  static constexpr TcxPCNavigatorButton atStart[] = {nbClose, nbTopLeft, nbBottomRight, nbGoDialog};
  static constexpr TcxPCNavigatorButton atEnd[] = {nbGoDialog, nbTopLeft, nbBottomRight, nbClose};
  List.clear();
  const bool start = NavigatorAtRowStart(ParentInfo()->TabPosition(), ParentInfo()->NavigatorPosition());
  for (TcxPCNavigatorButton button : start ? atStart : atEnd)
    if (Buttons.Contains(button)) List.push_back({button, {}});
}

Integer TcxPCStandardPainter::NavigatorButtonsExtent(TcxPCNavigatorButtons Buttons) {
  TcxPCNavigatorButtonPositions list;
  GetNavigatorButtonList(Buttons, list);
  Integer extent = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    extent += NavigatorButtonWidth(list[i].Button);
    if (i + 1 < list.size()) extent += NavigatorButtonSpacing(list[i].Button, list[i + 1].Button);
  }
  return extent;
}

Integer TcxPCStandardPainter::NavigatorAreaExtent(TcxPCNavigatorButtons Buttons) {
  const Integer extent = NavigatorButtonsExtent(Buttons);
  return extent > 0 ? extent + NavigatorEndOffset() + NavigatorTabsGap() : 0;
}

void TcxPCStandardPainter::CalculateNavigatorArea(TcxPCNavigatorButtons Buttons) {
  const Integer h = NavigatorButtonHeight();
  const Integer w = NavigatorButtonsExtent(Buttons);
  const Integer edge = NavigatorEdgeOffset();
  const Integer end = NavigatorEndOffset();
  const TcxTabPosition position = ParentInfo()->TabPosition();
  const TcxPCNavigatorPosition navigator = ParentInfo()->NavigatorPosition();
  TRect& area = FNavigatorArea;
  if (!SidewaysTabs()) {
    area.Left = navigator == npLeftTop || navigator == npLeftBottom ? end : ParentInfo()->Width() - w - end;
    area.Top = position == tpTop ? edge : ParentInfo()->Height() - h - edge;
    area.Right = area.Left + w;
    area.Bottom = area.Top + h;
  } else {
    area.Left = position == tpLeft ? edge : ParentInfo()->Width() - h - edge;
    area.Top = navigator == npLeftTop || navigator == npRightTop ? end : ParentInfo()->Height() - w - end;
    area.Right = area.Left + h;
    area.Bottom = area.Top + w;
  }
}

void TcxPCStandardPainter::CalculateNavigatorButtons(TcxPCNavigatorButtons Buttons) {
  if (Buttons.Empty()) {
    FNavigatorButtons.clear();
    return;
  }
  CalculateNavigatorArea(Buttons);
  GetNavigatorButtonList(Buttons, FNavigatorButtons);
  const bool sideways = SidewaysTabs();
  TPoint at = FNavigatorArea.TopLeft();
  for (size_t i = 0; i < FNavigatorButtons.size(); ++i) {
    TcxPCNavigatorButtonPosition& entry = FNavigatorButtons[i];
    const Integer along = NavigatorButtonWidth(entry.Button);
    const Integer across = NavigatorButtonHeight();
    const Integer spacing =
        i + 1 < FNavigatorButtons.size() ? NavigatorButtonSpacing(entry.Button, FNavigatorButtons[i + 1].Button) : 0;
    if (sideways) {
      entry.Rect = Bounds(at.X, at.Y, across, along);
      at.Y += along + spacing;
    } else {
      entry.Rect = Bounds(at.X, at.Y, along, across);
      at.X += along + spacing;
    }
  }
}

void TcxPCStandardPainter::CalculateTabsArea(TcxPCNavigatorButtons Buttons, TabsAreaInfo& Info) {
  const Integer extent = NavigatorAreaExtent(Buttons);
  const TRect indents = TabsAreaIndents();
  Info = {};
  Info.Bounds = {indents.Left, indents.Top, ParentInfo()->Width() - indents.Right,
                 ParentInfo()->Height() - indents.Bottom};
  const TcxPCNavigatorPosition navigator = ParentInfo()->NavigatorPosition();
  if (!SidewaysTabs()) {
    if (navigator == npLeftTop || navigator == npLeftBottom)
      Info.Bounds.Left += extent;
    else
      Info.Bounds.Right -= extent;
    Info.RowLength = Info.Bounds.Right - Info.Bounds.Left;
  } else {
    if (navigator == npLeftTop || navigator == npRightTop)
      Info.Bounds.Top += extent;
    else
      Info.Bounds.Bottom -= extent;
    Info.RowLength = Info.Bounds.Bottom - Info.Bounds.Top;
  }
  Info.RowRect = Info.Bounds;
  Info.BandGap = TabsSpacing().Second;
  CalculateNavigatorButtons(Buttons);
}

bool TcxPCStandardPainter::NavigatorButtonAt(Integer X, Integer Y, TcxPCNavigatorButton& Button) {
  for (const auto& entry : FNavigatorButtons)
    if (cxRectPtIn(entry.Rect, {X, Y})) {
      Button = entry.Button;
      return true;
    }
  return false;
}

void TcxPCStandardPainter::GoDialogButtonBounds(TRect& R) {
  R = {};
  for (const auto& entry : FNavigatorButtons)
    if (entry.Button == nbGoDialog) {
      R = entry.Rect;
      return;
    }
}

void TcxPCStandardPainter::GoDialogPopupPoint(const TPoint& Origin, TPoint& Point) {
  static constexpr Integer corners[4][4] = {{0, 0, 2, 2}, {1, 1, 3, 3}, {0, 1, 0, 1}, {2, 3, 2, 3}};
  TRect button;
  GoDialogButtonBounds(button);
  bool shown = false;
  for (const auto& entry : FNavigatorButtons) shown = shown || entry.Button == nbGoDialog;
  if (!shown) return;
  const Integer corner = corners[ParentInfo()->TabPosition()][ParentInfo()->NavigatorPosition()];
  Point.X = corner == 2 || corner == 3 ? button.Right - Origin.X : button.Left;
  Point.Y = corner == 1 || corner == 3 ? button.Top - Origin.Y : button.Bottom;
}

void TcxPCStandardPainter::GetNavigatorGlyphInfo(TcxPCNavigatorButton Button, TcxPCNavigatorGlyphInfo& Info) {
  const Integer state = ParentInfo()->NavigatorButtonState(Button);
  Info.FillColor = Info.LineColor = NavigatorGlyphColor(state);
  Info.Plain = ParentControl()->Enabled() && state != nbsDisabled;
  Info.ThinCross = false;
}

Integer TcxPCStandardPainter::ArrowDirection(TcxPCNavigatorButton Button) const {
  switch (Button) {
    case nbGoDialog:
      return 1;
    case nbTopLeft:
      return SidewaysTabs() ? 0 : 2;
    default:
      return SidewaysTabs() ? 1 : 3;
  }
}

Integer TcxPCStandardPainter::CenteredNavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) {
  const Integer state = ParentInfo()->NavigatorButtonState(Button);
  const bool sideways = SidewaysTabs();
  const Integer a = ArrowSize(Button);
  TSize glyph;
  if (Button == nbClose)
    glyph = {8, 7};
  else if (Button == nbGoDialog)
    glyph = {2 * a - 1, a};
  else
    glyph = {a, 2 * a - 1};
  if (sideways && Button != nbGoDialog) std::swap(glyph.cx, glyph.cy);
  TSize box{NavigatorButtonWidth(Button), NavigatorButtonHeight()};
  if (sideways) std::swap(box.cx, box.cy);
  Offset = {(box.cx - glyph.cx) / 2, (box.cy - glyph.cy) / 2};
  if (Button == nbGoDialog) ++Offset.Y;
  if (state == nbsPressed) {
    ++Offset.Y;
    if (Button != nbGoDialog) ++Offset.X;
  }
  return state;
}

Integer TcxPCStandardPainter::FixedNavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) {
  static constexpr TPoint arrows[4] = {{5, 7}, {5, 7}, {6, 5}, {8, 5}};
  const Integer state = ParentInfo()->NavigatorButtonState(Button);
  if (Button == nbGoDialog)
    Offset = SidewaysTabs() ? TPoint{6, 4} : TPoint{2, 8};
  else if (Button == nbClose)
    Offset = {5, 5};
  else
    Offset = arrows[ArrowDirection(Button)];
  if (state == nbsPressed) {
    ++Offset.X;
    ++Offset.Y;
  }
  return state;
}

void TcxPCStandardPainter::DrawGlyphShape(TcxPCNavigatorButton Button, const TPoint& Origin, bool ThinCross) {
  const Integer x = Origin.X;
  const Integer y = Origin.Y;
  if (Button == nbClose) {
    std::vector<TPoint> lines;
    if (!ThinCross)
      lines = {{x + 1, y}, {x + 8, y + 7}, {x, y},     {x + 8, y + 8}, {x, y + 1},     {x + 7, y + 8},
               {x, y + 7}, {x + 7, y},     {x, y + 8}, {x + 8, y},     {x + 1, y + 8}, {x + 8, y + 1}};
    else if (SidewaysTabs())
      lines = {{x, y}, {x + 6, y + 6}, {x, y + 1}, {x + 6, y + 7}, {x, y + 6}, {x + 6, y}, {x, y + 7}, {x + 6, y + 1}};
    else
      lines = {{x + 1, y}, {x + 7, y + 6}, {x, y}, {x + 6, y + 6}, {x, y + 6}, {x + 6, y}, {x + 1, y + 6}, {x + 7, y}};
    for (size_t i = 0; i + 1 < lines.size(); i += 2) DrawPolyline(&lines[i], 1, Canvas()->Pen()->GetColor());
    return;
  }
  static constexpr TPoint units[4][3] = {
      {{0, 1}, {1, 0}, {2, 1}}, {{0, 0}, {2, 0}, {1, 1}}, {{0, 1}, {1, 0}, {1, 2}}, {{0, 0}, {1, 1}, {0, 2}}};
  const Integer scale = ArrowSize(Button) - 1;
  TPoint triangle[3];
  for (Integer i = 0; i < 3; ++i) {
    const TPoint& u = units[ArrowDirection(Button)][i];
    triangle[i] = {x + u.X * scale, y + u.Y * scale};
  }
  Canvas()->FillPolygon(triangle, 2);
}

void TcxPCStandardPainter::DrawNavigatorGlyph(TcxPCNavigatorButton Button, const TPoint& Origin,
                                              const TcxPCNavigatorGlyphInfo& Info) {
  TcxCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  if (Info.Plain) {
    canvas->Brush()->SetColor(Info.FillColor);
    canvas->Pen()->SetColor(Info.LineColor);
    DrawGlyphShape(Button, Origin, Info.ThinCross);
  } else {
    canvas->Brush()->SetColor(DisabledTextLightColor());
    canvas->Pen()->SetColor(DisabledTextLightColor());
    DrawGlyphShape(Button, {Origin.X + 1, Origin.Y + 1}, Info.ThinCross);
    canvas->Brush()->SetColor(DisabledTextDarkColor());
    canvas->Pen()->SetColor(DisabledTextDarkColor());
    DrawGlyphShape(Button, Origin, Info.ThinCross);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

void TcxPCStandardPainter::Draw3DEdge(const TRect& R, bool Sunken, bool Flat) {
  const Integer L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const TPoint outerTL[3] = {{L, B - 2}, {L, T}, {Rt - 2, T}};
  const TPoint innerTL[3] = {{L + 1, B - 3}, {L + 1, T + 1}, {Rt - 3, T + 1}};
  const TPoint outerBR[3] = {{L, B - 1}, {Rt - 1, B - 1}, {Rt - 1, T}};
  const TPoint innerBR[3] = {{L + 1, B - 2}, {Rt - 2, B - 2}, {Rt - 2, T + 1}};
  if (Flat) {
    DrawPolyline(outerTL, 2, Sunken ? cl3DDkShadow : cl3DLight);
    DrawPolyline(outerBR, 2, Sunken ? cl3DLight : cl3DDkShadow);
    return;
  }
  DrawPolyline(outerTL, 2, Sunken ? clBtnShadow : cl3DLight);
  DrawPolyline(innerTL, 2, Sunken ? cl3DDkShadow : clBtnHighlight);
  DrawPolyline(outerBR, 2, Sunken ? clBtnHighlight : cl3DDkShadow);
  DrawPolyline(innerBR, 2, Sunken ? cl3DLight : clBtnShadow);
}

void TcxPCStandardPainter::DrawNavigatorButtonFrame(TRect& R, Integer State) {
  Draw3DEdge(R, State == nbsPressed, false);
  R = cxRectInflate(R, -2, -2);
}

void TcxPCStandardPainter::FillNavigatorButton(const TRect& R, Integer State) {
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->SetBrushColor(NavigatorButtonFaceColor(State));
  Canvas()->Canvas->FillRect(R);
}

void TcxPCStandardPainter::DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R) {
  const Integer state = ParentInfo()->NavigatorButtonState(Button);
  TRect face = R;
  DrawNavigatorButtonFrame(face, state);
  FillNavigatorButton(face, state);
  TcxPCNavigatorGlyphInfo info;
  GetNavigatorGlyphInfo(Button, info);
  TPoint offset;
  NavigatorGlyphOffset(Button, offset);
  DrawNavigatorGlyph(Button, {R.Left + offset.X, R.Top + offset.Y}, info);
}

void TcxPCStandardPainter::DrawNavigatorButtons() {
  for (const auto& entry : FNavigatorButtons) {
    if (!ClipToRect(entry.Rect, true)) continue;
    struct Restore {
      TcxPCCustomPainter* painter;
      ~Restore() { painter->RestoreClip(); }
    };
    {
      Restore restore{this};
      DrawNavigatorButton(entry.Button, entry.Rect);
    }
    Canvas()->ExcludeFromClip(entry.Rect);
  }
}

void TcxPCStandardPainter::InvalidateNavigatorButton(TcxPCNavigatorButton Button, Integer PreviousState) {
  (void)PreviousState;
  for (const auto& entry : FNavigatorButtons)
    if (entry.Button == Button) InvalidateRect(entry.Rect);
}

void TcxPCStandardPainter::InvalidateNavigatorArea() {
  if (!FNavigatorButtons.empty()) InvalidateRect(FNavigatorArea);
}

// Tabs and frames.

void TcxPCStandardPainter::InvalidateTab(Integer VisibleIndex, TabChangeKind Kind) {
  (void)Kind;
  if (ParentControl()->HasVerticalText()) ParentInfo()->VisibleTab(VisibleIndex)->FreeTextBitmap();
  InvalidateTabRect(VisibleIndex);
}

void TcxPCStandardPainter::DrawNativeTabBackground(Integer VisibleIndex) { (void)VisibleIndex; }

void TcxPCStandardPainter::DrawTab(Integer VisibleIndex) {
  std::unique_ptr<TcxRegion> region = TabRegion(VisibleIndex);
  const auto mode = static_cast<RegionOperation>(TabClipMode(VisibleIndex));
  TcxCanvas* canvas = Canvas();
  SaveClip();
  {
    struct Restore {
      TcxPCCustomPainter* painter;
      ~Restore() { painter->RestoreClip(); }
    } restore{this};
    canvas->ApplyClipRegion(*region, mode);
    if (!(IsOwnerDrawing() && FireDrawTab(VisibleIndex))) {
      if (IsNativePainting()) DrawNativeTabBackground(VisibleIndex);
      DrawTabImageAndText(VisibleIndex);
      DrawTabFrame(VisibleIndex);
    }
  }
  if (ExcludesOnlyTabContent(VisibleIndex))
    ExcludeTabContent(VisibleIndex);
  else
    canvas->ApplyClipRegion(*region, RegionDifference);
}

void TcxPCStandardPainter::DrawTabs() {
  Integer first;
  Integer last;
  DisplayedTabRange(ParentControl(), first, last);
  for (Integer v = first; v <= last; ++v) DrawTab(v);
}

void TcxPCStandardPainter::DrawFocusMark(Integer VisibleIndex, const TRect& R) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  if (!ClipToRect(tab->VisibleRect(), false)) return;
  if (tab->IsEnabledNow() && tab->IsMainTab() && ParentControl()->Focused()) {
    Canvas()->Pen()->SetColor(ParentInfo()->FontColor());
    Canvas()->DrawFocusFrame(cxRectInflate(R, -1, -1));
  }
  RestoreClip();
}

void TcxPCStandardPainter::DrawFrame() {
  TcxCanvas* canvas = Canvas();
  const TRect r = PageAreaRect();
  const TcxBorders all{bLeft, bTop, bRight, bBottom};
  canvas->DrawTwoColorFrame(r, clBtnHighlight, cl3DDkShadow, all, 1);
  canvas->DrawTwoColorFrame(cxRectInflate(r, -1, -1), cl3DLight, clBtnShadow, all, 1);
}

void TcxPCStandardPainter::Paint() {
  DrawContent();
  TcxCanvas* canvas = Canvas();
  const TRect bounds = ControlBoundsRect(ParentControl());
  if (IsNativePainting()) {
    const win::RECT r = cxRECT(bounds);
    UxDrawThemeParentBackground(ParentControl()->WindowHandle(), canvas->DeviceContext(), &r);
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->SetBrushColor(ControlBackgroundColor());
    canvas->Canvas->FillRect(bounds);
  }
}
