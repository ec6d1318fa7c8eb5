#include "suite/editors/cxSplitter.h"

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/rtl/NamedInts.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/TypInfo.h"
#include "suite/editors/EditorConstants.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxHotZoneStyle, TPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxMediaPlayer9Style, TcxHotZoneStyle)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxMediaPlayer8Style, TcxHotZoneStyle)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxXPTaskBarStyle, TcxHotZoneStyle)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxSimpleStyle, TcxHotZoneStyle)

VXN_PUBLISH(TcxHotZoneStyle) {
  using S = TcxHotZoneStyle;
  P.Property("SizePercent", &S::SizePercent, &S::SetSizePercent).Default(30);
  P.Property("Visible", &S::Visible, &S::SetVisible).Default(true);
}

namespace {

template <typename S>
void PublishColor(TPublisher<S>& P, const char* Name, TColor (S::*Get)() const, void (S::*Set)(TColor),
                  TColor Default) {
  P.Property(Name, Get, Set).Type(TypeInfoColor()).Default(Default);
}

// The colours the arrow styles publish first, in this order.
template <typename S>
void PublishArrowColors(TPublisher<S>& P, TColor ArrowHighlightDefault) {
  PublishColor(P, "ArrowColor", &S::ArrowColor, &S::SetArrowColor, clWindowText);
  PublishColor(P, "ArrowHighlightColor", &S::ArrowHighlightColor, &S::SetArrowHighlightColor, ArrowHighlightDefault);
  PublishColor(P, "LightColor", &S::LightColor, &S::SetLightColor, clWindow);
}

}  // namespace

VXN_PUBLISH(TcxMediaPlayer9Style) {
  using S = TcxMediaPlayer9Style;
  PublishArrowColors(P, clBlue);
  PublishColor(P, "BorderColor", &S::BorderColor, &S::SetBorderColor, clBtnShadow);
  PublishColor(P, "ShadowStartColor", &S::ShadowStartColor, &S::SetShadowStartColor, 0xF5E6CD);
  PublishColor(P, "ShadowHighlightStartColor", &S::ShadowHighlightStartColor, &S::SetShadowHighlightStartColor,
               0xAFF5C3);
}

VXN_PUBLISH(TcxMediaPlayer8Style) {
  using S = TcxMediaPlayer8Style;
  PublishArrowColors(P, clWindow);
  PublishColor(P, "ShadowColor", &S::ShadowColor, &S::SetShadowColor, clBtnShadow);
}

VXN_PUBLISH(TcxXPTaskBarStyle) {
  using S = TcxXPTaskBarStyle;
  PublishColor(P, "LightColor", &S::LightColor, &S::SetLightColor, clWindow);
  PublishColor(P, "ShadowColor", &S::ShadowColor, &S::SetShadowColor, clBtnShadow);
}

VXN_PUBLISH(TcxSimpleStyle) {
  using S = TcxSimpleStyle;
  PublishArrowColors(P, clWindow);
  PublishColor(P, "ShadowColor", &S::ShadowColor, &S::SetShadowColor, clBtnShadow);
  PublishColor(P, "DotsColor", &S::DotsColor, &S::SetDotsColor, clHighlight);
  PublishColor(P, "DotsShadowColor", &S::DotsShadowColor, &S::SetDotsShadowColor, clWindow);
}

namespace {

Integer ClampToInteger(Int64 Value) { return static_cast<Integer>(std::clamp<Int64>(Value, INT_MIN, INT_MAX)); }

// Positions along the bar, first to last.
struct VisibleRange {
  Int64 first;
  Int64 last;
};

}  // namespace

// ---------------------------------------------------------------------------

TcxHotZoneStyle::TcxHotZoneStyle(HotZoneStyleOwner* AOwner) : FOwner(AOwner) {}

void TcxHotZoneStyle::Assign(TPersistent* Source) {
  auto* style = dynamic_cast<TcxHotZoneStyle*>(Source);
  if (!style) return TPersistent::Assign(Source);
  if (style->InheritsFrom(ClassType())) {
    // The same kind: its published settings, SizePercent and Visible first.
    for (const TPropInfo* prop : GetPropList(ClassType())) SetOrdProp(this, *prop, GetOrdProp(style, *prop));
  } else {
    SetSizePercent(style->SizePercent());
    SetVisible(style->Visible());
  }
}

TPersistent* TcxHotZoneStyle::GetOwner() { return dynamic_cast<TPersistent*>(FOwner); }

void TcxHotZoneStyle::Changed() {
  if (FOwner) FOwner->HotZoneStyleChanged();
}

Integer TcxHotZoneStyle::SplitterDirection() { return FOwner ? FOwner->SplitterDirectionCode() : 0; }

void TcxHotZoneStyle::CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect) {
  const bool horizontal = IsHorizontalBar();
  const Int64 length = horizontal ? Int64{Bounds.Right} - Bounds.Left : Int64{Bounds.Bottom} - Bounds.Top;
  // SizePercent × length may need 63 bits; split length so that no product
  // does, keeping the truncation of the single division.
  const Int64 size = Int64{FSizePercent} * (length / 100) + Int64{FSizePercent} * (length % 100) / 100;
  const Int64 start = length / 2 - size / 2;
  const Int64 across = horizontal ? Bounds.Top : Bounds.Left;
  ZoneRect = AxisRect(start, start + size, across, across + 7);
  FHotZoneRect = ZoneRect;
}

void TcxHotZoneStyle::DrawHotZone(TcxCanvas* ACanvas, const TRect& Bounds, TRect& ZoneRect, bool Sunken,
                                  bool Highlighted) {
  CalculateHotZoneRect(Bounds, ZoneRect);
  TCanvas* canvas = ACanvas->Canvas;
  canvas->Lock();
  ScopeExit unlock([canvas] { canvas->Unlock(); });
  ACanvas->Brush()->SetColor(OwnerColor());
  PaintZoneBackground(ACanvas, ZoneRect, Sunken, Highlighted);
  DrawParts(ACanvas, Sunken, Highlighted);
}

void TcxHotZoneStyle::PaintZoneBackground(TcxCanvas*, const TRect&, bool, bool) {}

void TcxHotZoneStyle::SetSizePercent(TcxNaturalNumber Value) {
  if (Value < 1 || Value == FSizePercent) return;
  FSizePercent = Value;
  Changed();
}

void TcxHotZoneStyle::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Changed();
}

bool TcxHotZoneStyle::IsHorizontalBar() {
  const Integer direction = SplitterDirection();
  return direction == 2 || direction == 3;
}

TColor TcxHotZoneStyle::OwnerColor() { return FOwner ? FOwner->SplitterBackgroundColor() : clBtnFace; }

TcxHotZoneStyle::Extent TcxHotZoneStyle::ExtentOf(const TRect& R) {
  if (IsHorizontalBar()) return {R.Left, R.Right, R.Top, R.Bottom};
  return {R.Top, R.Bottom, R.Left, R.Right};
}

TRect TcxHotZoneStyle::AxisRect(Int64 AlongFrom, Int64 AlongTo, Int64 AcrossFrom, Int64 AcrossTo) {
  const Integer a0 = ClampToInteger(AlongFrom), a1 = ClampToInteger(AlongTo);
  const Integer c0 = ClampToInteger(AcrossFrom), c1 = ClampToInteger(AcrossTo);
  return IsHorizontalBar() ? TRect{a0, c0, a1, c1} : TRect{c0, a0, c1, a1};
}

TPoint TcxHotZoneStyle::AxisPoint(Int64 Along, Int64 Across) {
  const Integer along = ClampToInteger(Along), across = ClampToInteger(Across);
  return IsHorizontalBar() ? TPoint{along, across} : TPoint{across, along};
}

void TcxHotZoneStyle::SetColor(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TcxHotZoneStyle::DrawParts(TcxCanvas*, bool, bool) {}

namespace {

// The along-the-bar range of the canvas's clip rect, widened by the size of
// what is drawn at each position; marks outside it are not worth the pixel
// calls (a zone of a large SizePercent runs far beyond the bar).
VisibleRange VisibleAlong(TcxCanvas* ACanvas, bool Horizontal, Integer MarkSize) {
  const TRect clip = ACanvas->Canvas->ClipRect();
  const Int64 first = Horizontal ? clip.Left : clip.Top;
  const Int64 last = Horizontal ? clip.Right : clip.Bottom;
  return {first - MarkSize, last};
}

// The k of the marks First + k × Step (Step may be negative), 0 <= k < Count,
// that lie within Range.
void ForEachVisibleMark(Int64 First, Int64 Step, Int64 Count, VisibleRange Range, auto&& Mark) {
  if (Count <= 0) return;
  const Int64 magnitude = Step < 0 ? -Step : Step;
  // Marks are visited in their own order; skip the ones before the range.
  Int64 k = 0;
  if (Step > 0 && First < Range.first) k = (Range.first - First + magnitude - 1) / magnitude;
  if (Step < 0 && First > Range.last) k = (First - Range.last + magnitude - 1) / magnitude;
  for (; k < Count; ++k) {
    const Int64 p = First + k * Step;
    if (p < Range.first || p > Range.last) break;
    Mark(p);
  }
}

}  // namespace

void TcxHotZoneStyle::DrawHotZoneDots(TcxCanvas* ACanvas, const TRect& R, bool Sunken, Integer Offset, Integer Gap,
                                      TColor LightColor, TColor ShadowColor, bool Forward) {
  const Int64 step = Int64{Gap} + 2;
  const Extent r = ExtentOf(R);
  const Int64 across = r.near + Offset;
  TCanvas* canvas = ACanvas->Canvas;
  auto square = [&](TColor Color, TPoint P) {
    ACanvas->SetBrushColor(Color);
    canvas->FillRect({P.X, P.Y, P.X + 2, P.Y + 2});
  };
  auto dot = [&](Int64 Along) {
    const TPoint p = AxisPoint(Along, across);
    const TPoint moved{p.X + 1, p.Y + 1};
    if (Sunken) {
      square(LightColor, moved);
      square(ShadowColor, p);
    } else {
      square(LightColor, p);
      square(ShadowColor, moved);
    }
  };
  const VisibleRange visible = VisibleAlong(ACanvas, IsHorizontalBar(), 3);
  if (Forward) {
    const Int64 first = r.start + Gap;
    const Int64 last = r.end - Gap;  // a dot's position plus the gap stays within the rect
    ForEachVisibleMark(first, step, last >= first ? (last - first) / step + 1 : 0, visible, dot);
  } else {
    const Int64 first = r.end - 2 * Int64{Gap};
    ForEachVisibleMark(first, -step, first >= r.start ? (first - r.start) / step + 1 : 0, visible, dot);
  }
}

void TcxHotZoneStyle::DrawHotZoneArrow(TcxCanvas* ACanvas, const TRect& R, bool Highlighted, TColor HighlightColor,
                                       TColor AColor, bool Sunken) {
  const TColor color = Highlighted && !Sunken ? HighlightColor : AColor;
  const Extent r = ExtentOf(R);
  const Int64 length = r.end - r.start;
  const Int64 centre = r.start + (length - (length & 1)) / 2 + 1;
  const Int64 base = r.near;
  // Even codes: lines from base + 4 - i (one further in for the outermost)
  // to base + 6 - i; odd codes: from base + 2 + i to base + 3 + i, one
  // longer but for the outermost. The pen leaves out each line's end.
  const bool evenCode = SplitterDirection() % 2 == 0;
  for (Integer i = 0; i <= 3; ++i) {
    const Int64 from = evenCode ? base + 4 - i + (i == 3 ? 1 : 0) : base + 2 + i;
    const Int64 to = evenCode ? base + 6 - i : base + 3 + i + (i < 3 ? 1 : 0);
    DrawColorLine(ACanvas, color, AxisPoint(centre - i, from), AxisPoint(centre - i, to));
    DrawColorLine(ACanvas, color, AxisPoint(centre + i, from), AxisPoint(centre + i, to));
  }
}

// ---------------------------------------------------------------------------

void TcxMediaPlayer9Style::CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect) {
  TcxHotZoneStyle::CalculateHotZoneRect(Bounds, ZoneRect);
  const Extent zone = ExtentOf(ZoneRect);
  const Int64 middle = zone.start + (zone.end - zone.start) / 2;
  FArrowArea = AxisRect(middle - 7, middle + 7, zone.near, zone.near + 7);
}

void TcxMediaPlayer9Style::PaintZoneBackground(TcxCanvas* ACanvas, const TRect& ZoneRect, bool Sunken,
                                               bool Highlighted) {
  const auto [start, end, near, far] = ExtentOf(ZoneRect);
  const TRect body = AxisRect(start + 1, end - 1, near, far);
  ACanvas->SetBrushColor(FLightColor);
  ACanvas->Canvas->FillRect(body);
  ACanvas->SetBrushColor(FBorderColor);
  ACanvas->Canvas->FrameRect(body);
  // Rounded ends: the end rows lose their corner pixels, and the frame's end
  // rows one pixel inside turn light between the side lines.
  for (const auto& [row, inward] : {std::pair{start, 1}, std::pair{end - 1, -1}}) {
    DrawColorLine(ACanvas, FBorderColor, AxisPoint(row, near + 1), AxisPoint(row, far - 1));
    DrawColorLine(ACanvas, FLightColor, AxisPoint(row + inward, near + 1), AxisPoint(row + inward, far - 1));
  }
  // Three shading lines, darkest outside: against the near edge when
  // sunken, against the far one when raised.
  const TColor shadeStart = Highlighted ? FShadowHighlightStartColor : FShadowStartColor;
  const Integer firstOffset = Sunken ? 1 : 4;
  const Integer shifts[3] = {Sunken ? -60 : 0, -30, Sunken ? 0 : -60};
  for (Integer i = 0; i < 3; ++i) {
    const Integer d = shifts[i];
    const Int64 across = near + firstOffset + i;
    DrawColorLine(ACanvas, ShiftColorChannels(shadeStart, d, d, d), AxisPoint(start + 2, across),
                  AxisPoint(end - 2, across));
  }
}

void TcxMediaPlayer9Style::DrawParts(TcxCanvas* ACanvas, bool Sunken, bool Highlighted) {
  DrawHotZoneArrow(ACanvas, FArrowArea, Highlighted, FArrowHighlightColor, FArrowColor, Sunken);
}

// ---------------------------------------------------------------------------

void TcxMediaPlayer8Style::CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect) {
  TcxHotZoneStyle::CalculateHotZoneRect(Bounds, ZoneRect);
  const auto [start, end, near, far] = ExtentOf(ZoneRect);
  const Int64 half = (end - start - 27) / 2;
  FLeadingDotsArea = AxisRect(start + 4, start + half + 4, near, far);
  FTrailingDotsArea = AxisRect(end - half - 4, end - 4, near, far);
  FArrowArea = AxisRect(start + half + 4, start + half + 4 + 19, near, near + 7);
}

void TcxMediaPlayer8Style::PaintZoneBackground(TcxCanvas* ACanvas, const TRect& ZoneRect, bool Sunken, bool) {
  ACanvas->SetBrushColor(OwnerColor());
  ACanvas->Canvas->FillRect(ZoneRect);
  const Extent zone = ExtentOf(ZoneRect);
  const Int64 first = zone.start, last = zone.end - 1, near = zone.near, far = zone.far - 1;
  // The frame's corners on the far side (away from the splitter's edge) are
  // cut by two pixels.
  const TPoint frame[] = {AxisPoint(first, near),    AxisPoint(first, far - 2), AxisPoint(first + 2, far),
                          AxisPoint(last - 2, far),  AxisPoint(last, far - 2),  AxisPoint(last, near),
                          AxisPoint(first, near)};
  ACanvas->Pen()->SetColor(FShadowColor);
  ACanvas->DrawPolyline(frame, static_cast<Integer>(std::size(frame)) - 1);
  // The lit side, one pixel inside the frame: the near side and the first
  // end when raised, the far side and the last end when sunken.
  if (Sunken) {
    DrawColorLine(ACanvas, FLightColor, AxisPoint(first + 2, far - 1), AxisPoint(last - 1, far - 1));
    DrawColorLine(ACanvas, FLightColor, AxisPoint(last - 1, near + 1), AxisPoint(last - 1, far - 1));
  } else {
    DrawColorLine(ACanvas, FLightColor, AxisPoint(first + 1, near + 1), AxisPoint(last, near + 1));
    DrawColorLine(ACanvas, FLightColor, AxisPoint(first + 1, near + 1), AxisPoint(first + 1, far - 1));
  }
}

void TcxMediaPlayer8Style::DrawParts(TcxCanvas* ACanvas, bool Sunken, bool Highlighted) {
  DrawHotZoneDots(ACanvas, FLeadingDotsArea, Sunken, 3, 3, FLightColor, FShadowColor, false);
  DrawHotZoneDots(ACanvas, FTrailingDotsArea, Sunken, 3, 3, FLightColor, FShadowColor, true);
  ACanvas->SetBrushColor(OwnerColor());
  ACanvas->Canvas->FillRect(FArrowArea);
  TRect inner;
  if (Sunken)
    DrawRectFrame(ACanvas, FArrowArea, FLightColor, FShadowColor, inner);
  else
    DrawRectFrame(ACanvas, FArrowArea, FShadowColor, FLightColor, inner);
  DrawHotZoneArrow(ACanvas, FArrowArea, Highlighted, FArrowHighlightColor, FArrowColor, Sunken);
}

// ---------------------------------------------------------------------------

void TcxXPTaskBarStyle::CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect) {
  TcxHotZoneStyle::CalculateHotZoneRect(Bounds, ZoneRect);
  const auto [start, end, near, far] = ExtentOf(ZoneRect);
  // The rows split at half the far side's coordinate itself, which is the
  // zone's middle for the client rect the owner passes.
  FFirstDotRowArea = AxisRect(start, end, near + 1, far / 2);
  FSecondDotRowArea = AxisRect(start + 3, end, far / 2 + 1, far);
}

void TcxXPTaskBarStyle::PaintZoneBackground(TcxCanvas* ACanvas, const TRect& ZoneRect, bool, bool) {
  ACanvas->SetBrushColor(OwnerColor());
  ACanvas->Canvas->FillRect(ZoneRect);
}

void TcxXPTaskBarStyle::DrawParts(TcxCanvas* ACanvas, bool Sunken, bool) {
  // The dots stand out while the zone is pressed and sink in otherwise.
  DrawHotZoneDots(ACanvas, FFirstDotRowArea, !Sunken, 0, 4, FLightColor, FShadowColor, true);
  DrawHotZoneDots(ACanvas, FSecondDotRowArea, !Sunken, 0, 4, FLightColor, FShadowColor, true);
}

// ---------------------------------------------------------------------------

void TcxSimpleStyle::CalculateHotZoneRect(const TRect& Bounds, TRect& ZoneRect) {
  TcxHotZoneStyle::CalculateHotZoneRect(Bounds, ZoneRect);
  const auto [start, end, near, far] = ExtentOf(ZoneRect);
  FLeadingArrowArea = AxisRect(start + 5, start + 5 + 7, near, far);
  FTrailingArrowArea = AxisRect(end - 5 - 7, end - 5, near, far);
}

void TcxSimpleStyle::PaintZoneBackground(TcxCanvas* ACanvas, const TRect& ZoneRect, bool Sunken, bool) {
  const TColor ownerColor = OwnerColor();
  TRect inner, innermost;
  DrawRectFrame(ACanvas, ZoneRect, FShadowColor, FShadowColor, inner);
  ACanvas->SetBrushColor(ownerColor);
  ACanvas->Canvas->FillRect(inner);
  if (Sunken)
    DrawRectFrame(ACanvas, inner, ownerColor, FLightColor, innermost);
  else
    DrawRectFrame(ACanvas, inner, FLightColor, ownerColor, innermost);
  // Dot pairs on the centre line, every third pixel from 15 in.
  const Extent zone = ExtentOf(ZoneRect);
  const Int64 quotient = (zone.end - zone.start - 32) / 3;  // truncates towards zero
  const Int64 centre = (zone.near + zone.far) / 2;
  const TColor first = Sunken ? FDotsColor : FDotsShadowColor;
  const TColor second = Sunken ? FDotsShadowColor : FDotsColor;
  ForEachVisibleMark(zone.start + 15, 3, quotient < 0 ? 0 : quotient + 1, VisibleAlong(ACanvas, IsHorizontalBar(), 1),
                     [&](Int64 Along) {
                       const TPoint p = AxisPoint(Along, centre);
                       ACanvas->PlotPixel(p.X, p.Y, first);
                       const TPoint q = AxisPoint(Along + 1, centre + 1);
                       ACanvas->PlotPixel(q.X, q.Y, second);
                     });
}

void TcxSimpleStyle::DrawParts(TcxCanvas* ACanvas, bool Sunken, bool Highlighted) {
  DrawHotZoneArrow(ACanvas, FLeadingArrowArea, Highlighted, FArrowHighlightColor, FArrowColor, Sunken);
  DrawHotZoneArrow(ACanvas, FTrailingArrowArea, Highlighted, FArrowHighlightColor, FArrowColor, Sunken);
}

// ---------------------------------------------------------------------------

namespace {

struct RegisteredStyle {
  TClass (*styleClass)();
  const char* displayName;
};

// Registered, and unregistered, in this order.
const RegisteredStyle kStyles[] = {
    {&TcxMediaPlayer8Style::StaticClass, scxHotZoneStyleMediaPlayer8},
    {&TcxMediaPlayer9Style::StaticClass, scxHotZoneStyleMediaPlayer9},
    {&TcxXPTaskBarStyle::StaticClass, scxHotZoneStyleXPTaskBar},
    {&TcxSimpleStyle::StaticClass, scxHotZoneStyleSimple},
};

std::unique_ptr<TcxRegisteredClasses>& Registry() {
  static std::unique_ptr<TcxRegisteredClasses> registry;
  return registry;
}

Integer& RegistrationCount() {
  static Integer count = 0;
  return count;
}

}  // namespace

TcxRegisteredClasses* HotZoneStyleRegistry() {
  if (!Registry()) Registry() = std::make_unique<TcxRegisteredClasses>();
  return Registry().get();
}

void RegisterHotZoneStyles() {
  if (RegistrationCount()++ > 0) return;
  for (const RegisteredStyle& style : kStyles) {
    RegisterClass(style.styleClass());
    HotZoneStyleRegistry()->Register(style.styleClass(), TranslateResourceString(style.displayName));
  }
}

void UnregisterHotZoneStyles() {
  if (RegistrationCount() == 0 || --RegistrationCount() > 0) return;
  for (const RegisteredStyle& style : kStyles) HotZoneStyleRegistry()->Unregister(style.styleClass());
  Registry().reset();
}
