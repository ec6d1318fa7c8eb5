#include "suite/foundation/cxScrollBar.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/Input.h"
#include "platform/win/SysParams.h"
#include "suite/foundation/cxPainterImages.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxScrollBar, TCustomControl)

VXN_PUBLISH(TcxScrollBar) {
  P.Property("Kind", &TcxScrollBar::Kind, &TcxScrollBar::SetKind).Default(sbHorizontal);
  P.Property("LargeChange", &TcxScrollBar::LargeChange, &TcxScrollBar::SetLargeChange).Default(1);
  P.Property("LookAndFeel", &TcxScrollBar::LookAndFeel, &TcxScrollBar::SetLookAndFeel);
  P.Property("Max", &TcxScrollBar::Max, &TcxScrollBar::SetMax).Default(100);
  P.Property("Min", &TcxScrollBar::Min, &TcxScrollBar::SetMin).Default(0);
  P.Property("PageSize", &TcxScrollBar::PageSize, &TcxScrollBar::SetPageSize).Default(0);
  P.Property("Position", &TcxScrollBar::Position, &TcxScrollBar::SetPosition).Default(0);
  P.Property("SmallChange", &TcxScrollBar::SmallChange, &TcxScrollBar::SetSmallChange).Default(1);
  P.Property("UnlimitedTracking", &TcxScrollBar::UnlimitedTracking).Default(0);
  P.Event("OnChange", &TcxScrollBar::OnChange);
  P.Event("OnScroll", &TcxScrollBar::OnScroll);
}

namespace {

constexpr UINT kFirstDelay = 400;
constexpr UINT kRepeatDelay = 60;

bool IsRepeatPart(ScrollBarPart p) {
  return p == ScrollBarPartLineUp || p == ScrollBarPartLineDown || p == ScrollBarPartPageUp ||
         p == ScrollBarPartPageDown;
}

}  // namespace

TcxScrollBar::TcxScrollBar(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle += TControlStyle{csCaptureMouse, csFramed, csOpaque};
  FBitmap = std::make_unique<TBitmap>();
  FBitmap->SetPixelFormat(pf32bit);
  FCanvas = std::make_unique<TcxCanvas>(FBitmap->Canvas());
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxScrollBar::LookAndFeelChanged);
  FNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FNotificator->OnThemeChanged = TNotifyEvent(this, &TcxScrollBar::ThemeChanged);
  FTimer = std::make_unique<TcxTimer>(nullptr);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(kFirstDelay);
  FTimer->SetOnTimer(TNotifyEvent(this, &TcxScrollBar::AutoRepeat));
  SetBounds(Left(), Top(), 121, GetSystemMetrics(SM_CYHSCROLL));
  CalculateThumbMinimum();
  CalculateArrows();
}

TcxScrollBar::~TcxScrollBar() {
  FTimer.reset();
  FNotificator.reset();
  FLookAndFeel.reset();
  FCanvas.reset();
  FBitmap.reset();
}

TcxCustomLookAndFeelPainterClass TcxScrollBar::Painter() const {
  return FLookAndFeel->PainterForThemeClass(ThemeClassScrollBar);
}

void TcxScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (ComponentState().Contains(csLoading))
    CalculateArrows();
  else
    SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TcxScrollBar::SetScrollParams(Integer AMin, Integer AMax, Integer APageSize, Integer APosition,
                                   bool ARedraw) {
  if (AMax < AMin || AMax < APageSize) throw EInvalidOperation("Scrollbar property out of range");
  const bool redraw = ARedraw && HandleAllocated();
  APosition = std::clamp(APosition, AMin, AMax);
  if (AMin == FMin && AMax == FMax && APageSize == FPageSize && APosition == FPosition) return;
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  if (APosition == FPosition) {
    CalculateThumb();
    if (redraw) Invalidate();
    return;
  }
  SetEnabled(true);
  FPosition = APosition;
  CalculateThumb();
  if (redraw) Invalidate();
  FireChange();
}

void TcxScrollBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  const TRect old{Left(), Top(), Left() + Width(), Top() + Height()};
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  const TRect now{Left(), Top(), Left() + Width(), Top() + Height()};
  if (!FBitmap || now == old || Width() <= 0 || Height() <= 0) return;
  FBitmap->SetSize(Width(), Height());
  CalculateArrows();
}

void TcxScrollBar::Recalculate() {
  CalculateThumbMinimum();
  CalculateArrows();
  Invalidate();
}

void TcxScrollBar::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Recalculate(); }

void TcxScrollBar::ThemeChanged(TObject*) {
  CalculateThumbMinimum();
  CalculateArrows();
  RebuildScrollBarPatternBitmaps();
  Invalidate();
  if (Parent()) Parent()->Realign();
}

void TcxScrollBar::CalculateArrows() {
  const bool vertical = FKind == sbVertical;
  Integer a = GetSystemMetrics(vertical ? SM_CXVSCROLL : SM_CYHSCROLL);
  a = std::min(a, (vertical ? Height() : Width()) / 2);
  if (vertical) {
    FFirstArrow = {0, 0, Width(), a};
    FSecondArrow = {0, Height() - a, Width(), Height()};
  } else {
    FFirstArrow = {0, 0, a, Height()};
    FSecondArrow = {Width() - a, 0, Width(), Height()};
  }
  CalculateThumb();
}

Integer TcxScrollBar::TrackLength() const {
  return FKind == sbVertical ? FSecondArrow.Top - FFirstArrow.Bottom : FSecondArrow.Left - FFirstArrow.Right;
}

// Degenerate ranges never divide by zero or by a negative span: the thumb
// stays at the track's start.
void TcxScrollBar::CalculateThumb() {
  FThumb = {};
  if (Enabled()) {
    const Integer L = TrackLength();
    const bool vertical = FKind == sbVertical;
    const Integer start = vertical ? FFirstArrow.Bottom : FFirstArrow.Right;
    Integer t = 0, offset = 0;
    bool thumb = true;
    if (FPageSize != 0) {
      const Integer range = FMax - FMin + 1;
      t = range > 0 ? std::min(L, MulDiv(FPageSize, L, range)) : L;
      if (L < FThumbMinimum || FMax == FMin) {
        thumb = false;
      } else {
        t = std::max(t, FThumbMinimum);
        const Integer D = FMax - FMin - FPageSize + 1;
        offset = D > 0 && L - t > 0 ? MulDiv(L - t, std::min(FPosition - FMin, D), D) : 0;
      }
    } else {
      t = GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
      if (L < t)
        thumb = false;
      else if (L - t > 0 && FMax != FMin)
        offset = MulDiv(L - t, FPosition - FMin, FMax - FMin);
    }
    if (thumb) {
      offset = std::clamp(offset, 0, std::max(L - t, 0));
      FThumb = vertical ? TRect{0, start + offset, Width(), start + offset + t}
                        : TRect{start + offset, 0, start + offset + t, Height()};
    }
  }
  CalculatePageAreas();
}

void TcxScrollBar::CalculatePageAreas() {
  if (cxRectIsEmpty(FThumb)) {
    FPageUp = FPageDown = {};
    return;
  }
  if (FKind == sbVertical) {
    FPageUp = {0, FFirstArrow.Bottom, Width(), FThumb.Top};
    FPageDown = {0, FThumb.Bottom, Width(), FSecondArrow.Top};
  } else {
    FPageUp = {FFirstArrow.Right, 0, FThumb.Left, Height()};
    FPageDown = {FThumb.Right, 0, FSecondArrow.Left, Height()};
  }
}

void TcxScrollBar::CalculateThumbMinimum() {
  FThumbMinimum = 8;
  if (!FLookAndFeel || Painter() != TcxWinXPLookAndFeelPainter::Instance()) return;
  HTHEME theme = OpenThemeByIndex(ThemeClassScrollBar);
  if (!theme) return;
  const int part = FKind == sbHorizontal ? 9 : 8;
  SIZE minSize{}, trueSize{};
  TcxScreenCanvas screen;
  if (FAILED(UxGetThemePartSize(theme, screen.DeviceContext(), part, 1, TS_MIN, minSize))) return;
  const Integer along = FKind == sbHorizontal ? minSize.cx : minSize.cy;
  if (FAILED(UxGetThemePartSize(theme, screen.DeviceContext(), part, 1, TS_TRUE, trueSize)))
    FThumbMinimum = along;
  else
    FThumbMinimum = std::max(along, (FKind == sbHorizontal ? trueSize.cx : trueSize.cy) + 4);
  FThumbMinimum = std::max<Integer>(FThumbMinimum, 8);
}

// A thumb that fills the track gives Min.
Integer TcxScrollBar::PositionFromThumb() const {
  Integer n = FMax - FMin;
  if (FPageSize > 0) n += 1 - FPageSize;
  const bool vertical = FKind == sbVertical;
  const Integer thumbStart = vertical ? FThumb.Top : FThumb.Left;
  const Integer first = vertical ? FFirstArrow.Bottom : FFirstArrow.Right;
  const Integer span = TrackLength() - (vertical ? FThumb.Height() : FThumb.Width());
  if (span <= 0) return FMin;
  return FMin + MulDiv(n, thumbStart - first, span);
}

void TcxScrollBar::FireChange() {
  Perform(CM_CHANGED, 0, 0);
  if (OnChange) OnChange(this);
}

void TcxScrollBar::DoScroll(TScrollCode ACode, Integer& APosition) {
  if (OnScroll) OnScroll(this, ACode, APosition);
}

void TcxScrollBar::Scroll(TScrollCode ACode) {
  Integer pos = FPosition;
  switch (ACode) {
    case scLineUp: pos -= FSmallChange; break;
    case scLineDown: pos += FSmallChange; break;
    case scPageUp: pos -= FLargeChange; break;
    case scPageDown: pos += FLargeChange; break;
    case scTop: pos = FMin; break;
    case scBottom: pos = FMax; break;
    default: break;
  }
  pos = std::clamp(pos, FMin, FMax);
  DoScroll(ACode, pos);
  pos = std::clamp(pos, FMin, FMax);
  if (pos == FPosition) return;
  if (ACode == scTrack) {
    FPosition = pos;
    Invalidate();
  } else {
    SetPosition(pos);
  }
}

ScrollBarPart TcxScrollBar::HitTest(const TPoint& P) const {
  if (!cxRectPtIn({0, 0, Width(), Height()}, P)) return ScrollBarPartNone;
  if (cxRectPtIn(FFirstArrow, P)) return ScrollBarPartLineUp;
  if (cxRectPtIn(FSecondArrow, P)) return ScrollBarPartLineDown;
  if (cxRectIsEmpty(FThumb)) return ScrollBarPartNone;
  if (cxRectPtIn(FThumb, P)) return ScrollBarPartThumb;
  if (cxRectPtIn(FPageUp, P)) return ScrollBarPartPageUp;
  if (cxRectPtIn(FPageDown, P)) return ScrollBarPartPageDown;
  return ScrollBarPartNone;
}

TcxButtonState TcxScrollBar::PartState(ScrollBarPart APart) const {
  if (!Enabled()) return cxbsDisabled;
  if (APart == ScrollBarPartThumb && !Painter()->ButtonsHotTrack()) return cxbsNormal;
  if (FPressedPart != ScrollBarPartNone)
    return APart == FPressedPart && APart == FHotPart ? cxbsPressed : cxbsNormal;
  if (APart == FHotPart && !ComponentState().Contains(csDesigning)) return cxbsHot;
  return cxbsNormal;
}

void TcxScrollBar::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  TcxCustomLookAndFeelPainterClass painter = Painter();
  const bool horizontal = FKind == sbHorizontal;
  if (cxRectIsEmpty(FThumb)) {
    painter->DrawScrollBarElement(FCanvas.get(), horizontal, {0, 0, Width(), Height()}, ScrollBarPartPageUp,
                                  cxbsNormal);
  } else {
    painter->DrawScrollBarElement(FCanvas.get(), horizontal, FThumb, ScrollBarPartThumb,
                                  PartState(ScrollBarPartThumb));
  }
  painter->DrawScrollBarElement(FCanvas.get(), horizontal, FFirstArrow, ScrollBarPartLineUp,
                                PartState(ScrollBarPartLineUp));
  painter->DrawScrollBarElement(FCanvas.get(), horizontal, FSecondArrow, ScrollBarPartLineDown,
                                PartState(ScrollBarPartLineDown));
  if (!cxRectIsEmpty(FPageUp))
    painter->DrawScrollBarElement(FCanvas.get(), horizontal, FPageUp, ScrollBarPartPageUp,
                                  PartState(ScrollBarPartPageUp));
  if (!cxRectIsEmpty(FPageDown))
    painter->DrawScrollBarElement(FCanvas.get(), horizontal, FPageDown, ScrollBarPartPageDown,
                                  PartState(ScrollBarPartPageDown));
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), FBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TcxScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const ScrollBarPart part = HitTest({X, Y});
  if (part == ScrollBarPartNone) return;
  FPressedPart = FHotPart = part;
  if (part == ScrollBarPartThumb) {
    FDownPoint = {X, Y};
    FSavePosition = FPosition;
    FSaveThumbPos = FThumb.TopLeft();
    Scroll(scTrack);
  } else {
    Scroll(part == ScrollBarPartLineUp     ? scLineUp
           : part == ScrollBarPartLineDown ? scLineDown
           : part == ScrollBarPartPageUp   ? scPageUp
                                           : scPageDown);
    FTimer->SetInterval(kFirstDelay);
    FTimer->SetEnabled(true);
  }
  Invalidate();
}

void TcxScrollBar::AutoRepeat(TObject*) {
  if (!MouseCapture() || !IsRepeatPart(FPressedPart)) {
    CancelTracking();
    return;
  }
  if (FTimer->Interval() == kFirstDelay) FTimer->SetInterval(kRepeatDelay);
  Scroll(FPressedPart == ScrollBarPartLineUp     ? scLineUp
         : FPressedPart == ScrollBarPartLineDown ? scLineDown
         : FPressedPart == ScrollBarPartPageUp   ? scPageUp
                                                 : scPageDown);
  if (!HandleAllocated()) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  const TPoint p = ScreenToClient({cursor.x, cursor.y});
  FTimer->SetEnabled(HitTest(p) == FPressedPart);
}

void TcxScrollBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const ScrollBarPart part = HitTest({X, Y});
  if (IsRepeatPart(FPressedPart)) FTimer->SetEnabled(part == FPressedPart);
  if (part != FHotPart && FPressedPart != ScrollBarPartThumb) {
    FHotPart = part;
    if (Painter()->ButtonsHotTrack() || FPressedPart != ScrollBarPartNone) Invalidate();
  }
  if (FPressedPart != ScrollBarPartThumb) return;
  TRect area{0, 0, Width(), Height()};
  area = FKind == sbVertical ? TRect{area.Left - 136, area.Top - 34, area.Right + 136, area.Bottom + 34}
                             : TRect{area.Left - 34, area.Top - 136, area.Right + 34, area.Bottom + 136};
  if (UnlimitedTracking || cxRectPtIn(area, {X, Y})) {
    const bool vertical = FKind == sbVertical;
    const Integer length = vertical ? FThumb.Height() : FThumb.Width();
    const Integer first = vertical ? FFirstArrow.Bottom : FFirstArrow.Right;
    const Integer last = (vertical ? FSecondArrow.Top : FSecondArrow.Left) - length;
    Integer start = (vertical ? FSaveThumbPos.Y + Y - FDownPoint.Y : FSaveThumbPos.X + X - FDownPoint.X);
    start = std::max(first, std::min(start, last));
    FThumb = vertical ? TRect{0, start, Width(), start + length} : TRect{start, 0, start + length, Height()};
    CalculatePageAreas();
    Invalidate();
    const Integer pos = PositionFromThumb();
    if (pos != FPosition) {
      FPosition = pos;
      Scroll(scTrack);
    }
  } else {
    SetPosition(FSavePosition);
    Scroll(scTrack);
  }
}

void TcxScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  CancelTracking();
  FHotPart = HitTest({X, Y});
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TcxScrollBar::CancelTracking() {
  if (FPressedPart == ScrollBarPartNone) return;
  if (FPressedPart == ScrollBarPartThumb) {
    FPosition = PositionFromThumb();
    Scroll(scPosition);
  }
  FTimer->SetEnabled(false);
  FPressedPart = FHotPart = ScrollBarPartNone;
  Scroll(scEndScroll);
  CalculateThumb();
  Invalidate();
}

void TcxScrollBar::HandleMouseEnter(TControl*) {
  if (Painter()->ButtonsHotTrack() || IsRepeatPart(FPressedPart)) Invalidate();
}

void TcxScrollBar::HandleMouseLeave(TControl*) {
  if (FPressedPart == ScrollBarPartThumb) return;
  FHotPart = ScrollBarPartNone;
  Invalidate();
}

void TcxScrollBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_CANCELMODE:
      CancelTracking();
      break;
    case CN_HSCROLL:
    case CN_VSCROLL: Scroll(static_cast<TScrollCode>(LOWORD(Message.WParam))); return;
    case CM_SYSCOLORCHANGE:
    case CN_CTLCOLORSCROLLBAR: RebuildScrollBarPatternBitmaps(); break;
    case CM_ENABLEDCHANGED:
      TCustomControl::WndProc(Message);
      if (!Enabled()) CancelTracking();
      CalculateArrows();
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      TCustomControl::WndProc(Message);
      if (!Visible()) CancelTracking();
      return;
    case CM_MOUSEENTER:
      TCustomControl::WndProc(Message);
      HandleMouseEnter(reinterpret_cast<TControl*>(Message.LParam));
      return;
    case CM_MOUSELEAVE:
      TCustomControl::WndProc(Message);
      HandleMouseLeave(reinterpret_cast<TControl*>(Message.LParam));
      return;
    default: break;
  }
  TCustomControl::WndProc(Message);
}
