#include "suite/pagecontrol/cxPCTabsPainter.h"

#include <climits>
#include <utility>

#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiScopes.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeelPainters.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"
#include "suite/pagecontrol/cxCustomTabControl.h"
#include "suite/pagecontrol/cxPCGeometry.h"

VXN_IMPLEMENT_CLASS(TcxPCTabsPainter, TcxPCStandardPainter)

namespace {

// Theme parts and states of the classes the painter draws with.
constexpr int kTabPane = 9;
constexpr int kWindowSmallClose = 19;

bool IsOneOf(Integer Value, std::initializer_list<Integer> Values) {
  for (Integer v : Values)
    if (v == Value) return true;
  return false;
}

TcxTabPosition SideAsPosition(Integer Side) { return static_cast<TcxTabPosition>(Side); }

}  // namespace

// The class.

bool TcxPCTabsPainterClass::MatchesLookAndFeel(TcxLookAndFeel* ALookAndFeel) const {
  const Integer code = ALookAndFeel->PainterForThemeClasses(ThemeClassMask(ThemeClassTab))->PainterStyle();
  return code == 1 || code == 3;
}

bool TcxPCTabsPainterClass::IsDefaultForLookAndFeel(TcxLookAndFeel* ALookAndFeel) const {
  return ALookAndFeel->NativeStyle();
}

std::unique_ptr<TcxPCCustomPainter> TcxPCTabsPainterClass::Construct(TcxCustomTabControl* AControl) const {
  return std::make_unique<TcxPCTabsPainter>(AControl);
}

const TcxPCTabsPainterClass& TcxPCTabsPainterClass::Instance() {
  static const TcxPCTabsPainterClass instance;
  return instance;
}

// Metrics.

TRect TcxPCTabsPainter::TabSizeCorrection(Integer VisibleIndex) {
  static constexpr TRect bySide[4] = {{-2, -2, 2, 1}, {-2, -1, 2, 2}, {-2, -2, 1, 2}, {-1, -2, 2, 2}};
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  return tab->IsMainTab() ? bySide[tab->Side()] : TRect{};
}

TRect TcxPCTabsPainter::ClientAreaMargins() {
  TRect margins = TcxPCStandardPainter::ClientAreaMargins();
  if (!IsNativePainting()) return margins;
  const TRect content = UxGetThemeBackgroundContentRect(OpenThemeByIndex(ThemeClassTab), Canvas()->DeviceContext(),
                                                        kTabPane, 0, TRect{0, 0, INT_MAX, INT_MAX});
  const Integer mL = content.Left, mT = content.Top, mR = INT_MAX - content.Right, mB = INT_MAX - content.Bottom;
  TRect pane;
  switch (ParentInfo()->TabPosition()) {
    case tpTop: pane = {mL, mT, mR, mB}; break;
    case tpBottom: pane = {mR, mB, mL, mT}; break;
    case tpLeft: pane = {mB, mL, mT, mR}; break;
    case tpRight: pane = {mT, mR, mB, mL}; break;
  }
  return {margins.Left - 2 + pane.Left, margins.Top - 2 + pane.Top, margins.Right - 2 + pane.Right,
          margins.Bottom - 2 + pane.Bottom};
}

TRect TcxPCTabsPainter::TabsAreaMargins() {
  TRect margins = TcxPCStandardPainter::TabsAreaMargins();
  if (!ParentInfo()->HideTabs() && ParentInfo()->RowCount() > 0) --margins.Top;
  return margins;
}

TRect TcxPCTabsPainter::TabImageMargins(Integer VisibleIndex) {
  TRect margins = TcxPCStandardPainter::TabImageMargins(VisibleIndex);
  if (IsOneOf(ParentInfo()->VisibleTab(VisibleIndex)->Orientation(), {5, 7, 10})) ++margins.Bottom;
  return margins;
}

TRect TcxPCTabsPainter::TabTextMargins(Integer VisibleIndex) {
  TRect margins = TcxPCStandardPainter::TabTextMargins(VisibleIndex);
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  if (IsOneOf(tab->Orientation(), {5, 7, 10})) ++margins.Bottom;
  if (tab->IsMainTab() && RotatedImageSize().cx == 0) margins.Left += 2;
  return margins;
}

TColor TcxPCTabsPainter::TabColor(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  return tab->IsEnabledNow() && tab->Highlighted() ? HighlightedTabColor() : clBtnFace;
}

TRect TcxPCTabsPainter::TowardsPage(const TRect& R, Integer VisibleIndex, Integer Amount) {
  return DeflateByMargins(R, {0, 0, 0, -Amount}, SideAsPosition(ParentInfo()->VisibleTab(VisibleIndex)->Side()));
}

std::unique_ptr<TcxRegion> TcxPCTabsPainter::TabRegion(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  TRect r = tab->VisibleRect();
  if (tab->IsMainTab()) r = TowardsPage(r, VisibleIndex, 1);
  return TcxRegion::CreateFromRect(r);
}

Integer TcxPCTabsPainter::TabClipMode(Integer VisibleIndex) {
  return ParentInfo()->VisibleTab(VisibleIndex)->IsMainTab() ? RegionCopy : RegionIntersection;
}

IntegerPair TcxPCTabsPainter::TabContentSpacing(Integer VisibleIndex) {
  IntegerPair spacing{2, 2};
  if (TabLooksActive(VisibleIndex)) spacing = ParentInfo()->Rotate() ? IntegerPair{3, 4} : IntegerPair{4, 4};
  if (IsOneOf(ParentInfo()->VisibleTab(VisibleIndex)->Orientation(), {3, 6, 11}))
    std::swap(spacing.First, spacing.Second);
  return spacing;
}

IntegerPair TcxPCTabsPainter::TabCutContentSpacing(Integer VisibleIndex) { return TabContentSpacing(VisibleIndex); }

void TcxPCTabsPainter::TabThemePartAndState(Integer VisibleIndex, int& Part, int& State) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  TcxPCLineIndexBoundsArray rows;
  GetRowTabBounds(ParentControl(), rows);
  TcxPCLineIndexBounds row{VisibleIndex, VisibleIndex};
  for (const auto& r : rows)
    if (VisibleIndex >= r.First && VisibleIndex <= r.Last) row = r;
  const bool main = tab->IsMainTab();
  Integer edge;
  if (!ParentInfo()->MultiLine() || ParentInfo()->RaggedRight()) {
    if (VisibleIndex == row.First)
      edge = 0;
    else if (VisibleIndex == ParentControl()->Tabs()->VisibleCount() - 1)
      edge = 2;
    else
      edge = 1;
    if (main && edge == 2) edge = 1;
  } else {
    edge = VisibleIndex == row.Last ? 2 : VisibleIndex == row.First ? 0 : 1;
  }
  Integer s = main ? 3 : tab->IsHot() ? 1 : 2;
  if (!tab->IsEnabledNow()) s = 2;
  static constexpr int parts[2][3] = {{2, 1, 3}, {6, 5, 7}};
  static constexpr int states[4] = {0, 2, 1, 3};
  Part = parts[main ? 1 : 0][edge];
  State = states[s];
}

void TcxPCTabsPainter::CalculateTabsArea(TcxPCNavigatorButtons Buttons, TabsAreaInfo& Info) {
  const Integer e = NavigatorAreaExtent(Buttons);
  const Integer width = ParentInfo()->Width();
  const Integer height = ParentInfo()->Height();
  const TcxPCNavigatorPosition navigator = ParentInfo()->NavigatorPosition();
  Info = {};
  Info.Bounds = {0, 0, width, height};
  Info.RowRect = Info.Bounds;
  TRect margins = TurnRectForTabPosition({0, 2, 0, 0}, ParentInfo()->TabPosition());
  if (ParentInfo()->TabPosition() == tpLeft || ParentInfo()->TabPosition() == tpRight) {
    if (ParentInfo()->MultiLine()) {
      Info.RowLength = height - 4;
      margins.Top = margins.Bottom = 2;
    } else {
      margins.Top = ParentControl()->HasUpwardSideText() ? 0 : 2;
      if (navigator == npLeftBottom || navigator == npRightBottom) {
        Info.Bounds.Bottom -= e;
      } else {
        margins.Top += e;
        Info.Bounds.Top = e;
      }
      Info.RowLength = height - e - 2;
      margins.Bottom = height - Info.RowLength - margins.Top;
    }
  } else {
    if (ParentInfo()->MultiLine()) {
      Info.RowLength = width - 4;
      margins.Left = margins.Right = 2;
    } else {
      margins.Left = ParentControl()->HasDownwardTurnedText() ? 0 : 2;
      if (navigator == npRightTop || navigator == npRightBottom) {
        Info.Bounds.Right -= e;
      } else {
        margins.Left += e;
        Info.Bounds.Left = e;
      }
      Info.RowLength = width - e - 2;
      margins.Right = width - Info.RowLength - margins.Left;
    }
  }
  Info.RowRect = ShrinkRectByMargins(Info.RowRect, {margins.Left, margins.Top, margins.Right, margins.Bottom});
  const bool leading = ParentInfo()->TabPosition() == tpTop || ParentInfo()->TabPosition() == tpLeft;
  Info.LeadingBandExtra = leading ? 1 : 0;
  Info.TrailingBandExtra = leading ? 0 : -1;
  Info.BandGap = 0;
  CalculateNavigatorButtons(Buttons);
}

void TcxPCTabsPainter::StoreTabContentRects(Integer VisibleIndex, const TRect& ImageRect, const TRect& TextRect) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  if (IsNativePainting() && tab->IsMainTab() && IsOneOf(tab->Orientation(), {5, 7, 10})) {
    TcxPCStandardPainter::StoreTabContentRects(VisibleIndex, cxRectOffset(ImageRect, 0, 1),
                                               cxRectOffset(TextRect, 0, 1));
    return;
  }
  TcxPCStandardPainter::StoreTabContentRects(VisibleIndex, ImageRect, TextRect);
}

bool TcxPCTabsPainter::IsNativePainting() {
  return !ParentControl()->IsDestroying() && ParentControl()->LookAndFeel()->NativeStyle() && AreThemesAvailable() &&
         OpenThemeByIndex(ThemeClassTab) != nullptr;
}

bool TcxPCTabsPainter::IsPointInTab(Integer VisibleIndex, Integer X, Integer Y) {
  (void)VisibleIndex;
  (void)X;
  (void)Y;
  return true;
}

// Navigator buttons.

Integer TcxPCTabsPainter::NavigatorGlyphOffset(TcxPCNavigatorButton Button, TPoint& Offset) {
  return FixedNavigatorGlyphOffset(Button, Offset);
}

Integer TcxPCTabsPainter::NavigatorButtonHeight() { return IsNativePainting() ? 17 : 20; }

Integer TcxPCTabsPainter::NavigatorButtonWidth(TcxPCNavigatorButton Button) {
  if (!IsNativePainting()) return TcxPCStandardPainter::NavigatorButtonWidth(Button);
  if (Button != nbGoDialog) return 17;
  win::SIZE size{};
  if (UxGetThemePartSize(OpenThemeByIndex(ThemeClassSpin), Canvas()->DeviceContext(), 2, 1, win::TS_TRUE, size) != 0)
    return 17;
  return size.cx;
}

Integer TcxPCTabsPainter::TabHeightForFont() { return TcxPCStandardPainter::TabHeightForFont() - 3; }

void TcxPCTabsPainter::DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R) {
  if (!IsNativePainting()) {
    TcxPCStandardPainter::DrawNavigatorButton(Button, R);
    return;
  }
  static constexpr int spinParts[4] = {1, 2, 4, 3};  // up, down, left, right
  static constexpr int states[4] = {1, 3, 2, 4};     // normal, pressed, hot, disabled
  const bool close = Button == nbClose;
  const win::HTHEME theme = OpenThemeByIndex(close ? ThemeClassWindow : ThemeClassSpin);
  const int part = close ? kWindowSmallClose : spinParts[ArrowDirection(Button)];
  const int state = states[ParentInfo()->NavigatorButtonState(Button)];
  const win::HDC dc = Canvas()->DeviceContext();
  const win::RECT r = cxRECT(R);
  if (UxIsThemeBackgroundPartiallyTransparent(theme, part, state))
    UxDrawThemeParentBackground(ParentControl()->WindowHandle(), dc, &r);
  UxDrawThemeBackground(theme, dc, part, state, R);
}

// Painting.

void TcxPCTabsPainter::DrawThemedPane(TCanvas* ACanvas) {
  const TRect r = PageAreaRect();
  if (cxRectIsEmpty(r)) return;
  const win::HTHEME theme = OpenThemeByIndex(ThemeClassTab);
  const bool onControl = ACanvas == Canvas()->Canvas;
  const win::RECT rect = cxRECT(r);
  if (onControl && UxIsThemeBackgroundPartiallyTransparent(theme, kTabPane, 0))
    UxDrawThemeParentBackground(ParentControl()->WindowHandle(), ACanvas->Handle(), &rect);
  UxDrawThemeBackground(theme, ACanvas->Handle(), kTabPane, 0, r);
  if (onControl) Canvas()->ExcludeFromClip(r);
}

void TcxPCTabsPainter::Paint() {
  if (!IsNativePainting()) {
    TcxPCStandardPainter::Paint();
    return;
  }
  const win::HDC controlDC = Canvas()->DeviceContext();
  const Integer width = ParentInfo()->Width();
  const Integer height = ParentInfo()->Height();
  win::MemoryDc dc(controlDC);
  win::OwnedGdiObject bitmap(win::CreateCompatibleBitmap(controlDC, width, height));
  win::ObjectSelection selection(dc, bitmap.Get());
  FNativeBackgroundDC = dc;
  struct Forget {
    win::HDC& handle;
    ~Forget() { handle = nullptr; }
  } forget{FNativeBackgroundDC};
  const win::RECT bounds{0, 0, width, height};
  UxDrawThemeParentBackground(ParentControl()->WindowHandle(), dc, &bounds);
  {
    TCanvas background;
    background.SetHandle(dc);
    DrawThemedPane(&background);
    background.SetHandle(nullptr);
  }
  TcxPCStandardPainter::Paint();
}

void TcxPCTabsPainter::DrawFrameAndPage() {
  if (IsNativePainting())
    DrawThemedPane(Canvas()->Canvas);
  else
    TcxPCStandardPainter::DrawFrameAndPage();
}

void TcxPCTabsPainter::DrawTabs() {
  // The main tab overlaps its neighbours: drawn first, it keeps its shape
  // because every drawn tab leaves the clip.
  const Integer main = ParentInfo()->MainTabVisibleIndex();
  const bool mainShown = main != -1 && ParentInfo()->VisibleTab(main)->IsShown();
  if (mainShown) DrawTab(main);
  Integer first;
  Integer last;
  DisplayedTabRange(ParentControl(), first, last);
  for (Integer v = first; v <= last; ++v)
    if (!(mainShown && v == main)) DrawTab(v);
}

void TcxPCTabsPainter::InvalidateTab(Integer VisibleIndex, TabChangeKind Kind) {
  if (Kind == tckMainTab && !ParentInfo()->VisibleTab(VisibleIndex)->IsMainTab())
    InvalidateTabRows(VisibleIndex);
  else
    TcxPCStandardPainter::InvalidateTab(VisibleIndex, Kind);
}

void TcxPCTabsPainter::DrawNativeTabBackground(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  TRect r = tab->DisplayRect();
  if (tab->IsMainTab()) r = TowardsPage(r, VisibleIndex, 1);
  int part = 0;
  int state = 0;
  TabThemePartAndState(VisibleIndex, part, state);
  TBitmap* bitmap = tab->NewNativeBitmap();
  const Integer w = r.Right - r.Left;
  const Integer h = r.Bottom - r.Top;
  const bool across = tab->Side() == 0 || tab->Side() == 1;
  bitmap->SetSize(across ? w : h, across ? h : w);
  const TRect whole{0, 0, bitmap->Width(), bitmap->Height()};
  if (ParentInfo()->TabPosition() != tpTop || (ParentInfo()->MultiLine() && ParentInfo()->ScrollOpposite())) {
    bitmap->Canvas()->Brush()->SetStyle(bsSolid);
    bitmap->Canvas()->Brush()->SetColor(ParentControl()->ParentBackgroundColor());
    bitmap->Canvas()->FillRect(whole);
  } else if (FNativeBackgroundDC) {
    win::BitBlt(bitmap->Canvas()->Handle(), 0, 0, whole.Right, whole.Bottom, FNativeBackgroundDC, r.Left, r.Top,
                win::SRCCOPY);
  }
  UxDrawThemeBackground(OpenThemeByIndex(ThemeClassTab), bitmap->Canvas()->Handle(), part, state, whole);
  struct Turn {
    Integer mode;
    bool mirror;
  };
  static constexpr Turn turns[13] = {{0, false}, {0, false}, {2, false}, {1, false}, {3, true},
                                     {0, true},  {1, true},  {3, false}, {0, false}, {2, false},
                                     {0, true},  {1, true},  {2, true}};
  const Turn turn = turns[tab->Orientation()];
  if (turn.mode != 0 || turn.mirror) Canvas()->RotateBitmap(bitmap, turn.mode, turn.mirror);
}

void TcxPCTabsPainter::DrawTabFrame(Integer VisibleIndex) {
  if (IsNativePainting())
    DrawNativeTabFrame(VisibleIndex);
  else
    DrawClassicTabFrame(VisibleIndex);
}

void TcxPCTabsPainter::DrawNativeTabFrame(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  TRect r = tab->DisplayRect();
  if (tab->IsMainTab()) r = TowardsPage(r, VisibleIndex, 1);
  TBitmap* bitmap = tab->NativeBitmap();
  if (!bitmap) return;
  const Integer orientation = tab->Orientation();
  if (IsOneOf(orientation, {2, 4, 7, 11}))
    Canvas()->RotateBitmap(bitmap, 1, false);
  else if (IsOneOf(orientation, {3, 5, 8, 12}))
    Canvas()->RotateBitmap(bitmap, 2, false);
  Canvas()->CopyRectFrom(r, bitmap->Canvas(), {0, 0, bitmap->Width(), bitmap->Height()});
  DrawFocusMark(VisibleIndex, cxRectInflate(r, -2, -2));
  tab->FreeNativeBitmap();
}

void TcxPCTabsPainter::DrawClassicTabFrame(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const TcxTabPosition side = SideAsPosition(tab->Side());
  TRect r = cxRectInflate(tab->DisplayRect(), -2, -2);
  if (tab->IsMainTab()) r = TowardsPage(r, VisibleIndex, 2);
  TcxCanvas* canvas = Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->SetBrushColor(TabColor(VisibleIndex));
  canvas->Canvas->FillRect(r);
  if (tab->IsMainTab()) {
    DrawFocusMark(VisibleIndex, DeflateByMargins(r, {0, 0, 0, 1}, side));
  } else {
    const TRect grown = TowardsPage(r, VisibleIndex, 2);
    TRect band = grown;
    switch (side) {
      case tpTop: band.Top = r.Bottom; break;
      case tpBottom: band.Bottom = r.Top; break;
      case tpLeft: band.Left = r.Right; break;
      case tpRight: band.Right = r.Left; break;
    }
    canvas->SetBrushColor(ParentInfo()->Color());
    canvas->Canvas->FillRect(band);
  }
  DrawTabBorder(VisibleIndex);
}

void TcxPCTabsPainter::DrawTabBorder(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const TRect r = tab->DisplayRect();
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  const Integer side = tab->Side();
  struct Line {
    std::vector<TPoint> points;
    TColor color;
  };
  std::vector<Line> lines;
  switch (side) {
    case 0:
      lines = {{{{L, B - 1}, {L, T + 2}, {L + 2, T}, {R - 3, T}}, clBtnHighlight},
               {{{L + 1, B - 1}, {L + 1, T + 2}, {L + 2, T + 1}, {R - 3, T + 1}}, cl3DLight},
               {{{R - 1, B - 1}, {R - 1, T + 2}, {R - 2, T + 1}}, cl3DDkShadow},
               {{{R - 2, B - 1}, {R - 2, T + 2}}, clBtnShadow}};
      break;
    case 1:
      lines = {{{{L, T}, {L, B - 3}, {L + 1, B - 2}}, clBtnHighlight},
               {{{L + 1, T}, {L + 1, B - 3}}, cl3DLight},
               {{{L + 2, B - 1}, {R - 3, B - 1}, {R - 1, B - 3}, {R - 1, T}}, cl3DDkShadow},
               {{{L + 2, B - 2}, {R - 3, B - 2}, {R - 2, B - 3}, {R - 2, T}}, clBtnShadow}};
      break;
    case 2:
      lines = {{{{L, B - 3}, {L, T + 2}, {L + 2, T}, {R - 1, T}}, clBtnHighlight},
               {{{L + 1, B - 3}, {L + 1, T + 2}, {L + 2, T + 1}, {R - 1, T + 1}}, cl3DLight},
               {{{L + 2, B - 2}, {L + 3, B - 1}, {R - 1, B - 1}}, cl3DDkShadow},
               {{{L + 1, B - 2}, {L + 2, B - 1}, {L + 3, B - 2}, {R - 1, B - 2}}, clBtnShadow}};
      break;
    default:
      lines = {{{{L, T}, {R - 3, T}, {R - 2, T + 1}}, clBtnHighlight},
               {{{L, T + 1}, {R - 3, T + 1}}, cl3DLight},
               {{{L, B - 1}, {R - 3, B - 1}, {R - 1, B - 3}, {R - 1, T + 2}}, cl3DDkShadow},
               {{{L, B - 2}, {R - 3, B - 2}, {R - 2, B - 3}, {R - 2, T + 2}}, clBtnShadow}};
      break;
  }
  for (const Line& line : lines)
    DrawPolyline(line.points.data(), static_cast<Integer>(line.points.size()) - 1, line.color);
  if (tab->IsMainTab()) OpenMainTabIntoPage(r, side);
  DrawTabCorners(VisibleIndex);
}

void TcxPCTabsPainter::OpenMainTabIntoPage(const TRect& R, Integer Side) {
  // The page frame's line beside the main tab, pixel by pixel from the
  // tab's start to its end.
  const bool sideways = Side == 2 || Side == 3;
  const Integer start = sideways ? R.Top : R.Left;
  const Integer end = sideways ? R.Bottom : R.Right;
  const bool atStart = start == 0;
  const bool atEnd = end == (sideways ? ParentInfo()->Height() : ParentInfo()->Width());
  const bool leadingSide = Side == 0 || Side == 2;
  std::vector<TColor> colors(static_cast<size_t>(std::max(end - start, 0)), clBtnFace);
  auto set = [&](Integer at, TColor c) {
    if (at >= start && at < end) colors[static_cast<size_t>(at - start)] = c;
  };
  if (atStart) {
    set(start, clBtnHighlight);
    set(start + 1, cl3DLight);
  } else if (leadingSide) {
    set(start, cl3DLight);
    set(start + 1, cl3DLight);
  }
  if (atEnd) {
    set(end - 2, clBtnShadow);
    set(end - 1, cl3DDkShadow);
  } else if (!leadingSide) {
    set(end - 2, clBtnShadow);
    set(end - 1, clBtnShadow);
  }
  Integer fixed = 0;
  switch (Side) {
    case 0: fixed = R.Bottom; break;
    case 1: fixed = R.Top - 1; break;
    case 2: fixed = R.Right; break;
    default: fixed = R.Left - 1; break;
  }
  TcxCanvas* canvas = Canvas();
  for (Integer at = start; at < end; ++at) {
    const TColor c = colors[static_cast<size_t>(at - start)];
    if (sideways)
      canvas->PlotPixel(fixed, at, c);
    else
      canvas->PlotPixel(at, fixed, c);
  }
}

void TcxPCTabsPainter::DrawTabCorners(Integer VisibleIndex) {
  TcxTab* tab = ParentInfo()->VisibleTab(VisibleIndex);
  const TRect r = tab->DisplayRect();
  const Integer L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  const Integer side = tab->Side();
  const TColor c = CornerColor();
  const bool top = side == 0, bottom = side == 1, left = side == 2, right = side == 3;
  if (top || left) {
    const TPoint p[3] = {{L, T + 1}, {L, T}, {L + 1, T}};
    DrawPolyline(p, 2, c);
  }
  if (bottom || left) {
    const TPoint p[3] = {{L, B - 2}, {L, B - 1}, {L + 1, B - 1}};
    DrawPolyline(p, 2, c);
  }
  if (top || right) {
    const TPoint p[3] = {{R - 2, T}, {R - 1, T}, {R - 1, T + 1}};
    DrawPolyline(p, 2, c);
  }
  if (bottom || right) {
    const TPoint p[3] = {{R - 2, B - 1}, {R - 1, B - 1}, {R - 1, B - 2}};
    DrawPolyline(p, 2, c);
  }
}
