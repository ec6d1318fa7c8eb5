#include "suite/foundation/cxGraphics.h"

#include <algorithm>

#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Painting.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxRegion, TObject)
VXN_IMPLEMENT_CLASS(TcxCanvas, TObject)
VXN_IMPLEMENT_CLASS(TScreenCanvas, TCanvas)
VXN_IMPLEMENT_CLASS(TcxScreenCanvas, TcxCanvas)

namespace {

// What an unclipped device context reads as.
constexpr Integer kNoClipExtent = 30000;

int CombineMode(RegionOperation Operation) {
  switch (Operation) {
    case RegionUnion: return RGN_OR;
    case RegionDifference: return RGN_DIFF;
    case RegionIntersection: return RGN_AND;
    default: return RGN_COPY;
  }
}

// The screen DC for the length of one query.
class ScreenDC {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() { ReleaseDC(nullptr, dc_); }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Restores a canvas's brush style and font colour when a text drawing ends.
class TextStateGuard {
 public:
  explicit TextStateGuard(TCanvas* Canvas)
      : canvas_(Canvas), style_(Canvas->Brush()->GetStyle()), color_(Canvas->Font()->GetColor()) {}
  ~TextStateGuard() {
    if (canvas_->Brush()->GetStyle() != style_) canvas_->Brush()->SetStyle(style_);
    canvas_->Font()->SetColor(color_);
  }
  TextStateGuard(const TextStateGuard&) = delete;
  TextStateGuard& operator=(const TextStateGuard&) = delete;

 private:
  TCanvas* canvas_;
  TBrushStyle style_;
  TColor color_;
};

}  // namespace

// ---------------------------------------------------------------------------

win::UINT CanvasTextFlagsToDrawTextFormat(TcxTextFlags Flags) {
  UINT format = DT_NOPREFIX;
  if (Flags & TextRight) format |= DT_RIGHT;
  if (Flags & TextHCenter) format |= DT_CENTER;
  if (Flags & TextBottom) format |= DT_BOTTOM;
  if (Flags & TextVCenter) format |= DT_VCENTER;
  if (Flags & TextSingleLine) format |= DT_SINGLELINE;
  if (Flags & TextNoClip) format |= DT_NOCLIP;
  if (Flags & TextExpandTabs) format |= DT_EXPANDTABS;
  if (Flags & TextShowPrefix) format &= ~DT_NOPREFIX;
  if (Flags & TextWordBreak) {
    format |= DT_WORDBREAK;
    if (!(Flags & TextNoCharBreak)) format |= DT_EDITCONTROL;
  }
  if (Flags & TextEndEllipsis) format |= DT_END_ELLIPSIS;
  if (Flags & TextCalcOnly) format |= DT_CALCRECT;
  if (Flags & TextPathEllipsis) format |= DT_PATH_ELLIPSIS;
  return format;
}

TRect ShrinkRectByMargins(const TRect& R, const TcxMargins& Margins) {
  return {R.Left + Margins.Left, R.Top + Margins.Top, R.Right - Margins.Right, R.Bottom - Margins.Bottom};
}

// ---------------------------------------------------------------------------

TcxRegion::TcxRegion() : Handle(CreateRectRgn(0, 0, 0, 0)) {}
TcxRegion::TcxRegion(HRGN AHandle) : Handle(AHandle) {}
TcxRegion::TcxRegion(const TRect& R) : Handle(CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom)) {}
TcxRegion::TcxRegion(Integer Left, Integer Top, Integer Right, Integer Bottom)
    : Handle(CreateRectRgn(Left, Top, Right, Bottom)) {}

TcxRegion::~TcxRegion() {
  if (Handle) DeleteObject(Handle);
  Handle = nullptr;
}

std::unique_ptr<TcxRegion> TcxRegion::CreateFromHandle(HRGN AHandle) { return std::make_unique<TcxRegion>(AHandle); }
std::unique_ptr<TcxRegion> TcxRegion::CreateFromRect(const TRect& R) { return std::make_unique<TcxRegion>(R); }
std::unique_ptr<TcxRegion> TcxRegion::CreateFromCoords(Integer Left, Integer Top, Integer Right, Integer Bottom) {
  return std::make_unique<TcxRegion>(Left, Top, Right, Bottom);
}
std::unique_ptr<TcxRegion> TcxRegion::CreateEmpty() { return std::make_unique<TcxRegion>(); }

void TcxRegion::Combine(const TcxRegion& Other, RegionOperation Operation) {
  if (Operation == RegionCopy) {
    CombineRgn(Handle, Other.Handle, nullptr, RGN_COPY);
    NoClip = Other.NoClip;
    return;
  }
  CombineRgn(Handle, Handle, Other.Handle, CombineMode(Operation));
  // "No clip" joined with anything stays "no clip"; narrowing it makes a
  // real clip.
  if (Operation == RegionUnion)
    NoClip = NoClip || Other.NoClip;
  else
    NoClip = false;
}

void TcxRegion::Combine(std::unique_ptr<TcxRegion> Other, RegionOperation Operation) {
  if (Other) Combine(*Other, Operation);
}

void TcxRegion::Offset(Integer DX, Integer DY) { OffsetRgn(Handle, DX, DY); }
bool TcxRegion::ContainsPoint(const TPoint& P) const { return PtInRegion(Handle, P.X, P.Y) != 0; }
bool TcxRegion::ContainsXY(Integer X, Integer Y) const { return PtInRegion(Handle, X, Y) != 0; }

TRect TcxRegion::BoundsRect() const {
  RECT r{};
  GetRgnBox(Handle, &r);
  return cxRect(r);
}

bool TcxRegion::IsEmpty() const {
  RECT r{};
  return GetRgnBox(Handle, &r) == NULLREGION;
}

// ---------------------------------------------------------------------------

TcxCanvas::TcxCanvas(TCanvas* ACanvas) : Canvas(ACanvas) {}

void TcxCanvas::AssignFont(TFont* AFont) { Canvas->Font()->Assign(AFont); }

void TcxCanvas::SetBrushColor(TColor Value) {
  if (Canvas->Brush()->GetColor() != Value) Canvas->Brush()->SetColor(Value);
}

void TcxCanvas::PlotPixel(Integer X, Integer Y, TColor AColor) { Canvas->SetPixels(X, Y, AColor); }
void TcxCanvas::MovePenTo(Integer X, Integer Y) { Canvas->MoveTo(X, Y); }
void TcxCanvas::DrawLineTo(Integer X, Integer Y) { Canvas->LineTo(X, Y); }

void TcxCanvas::FillPolygon(const TPoint* Points, Integer LastIndex) {
  if (LastIndex < 0) return;
  Canvas->Polygon(std::vector<TPoint>(Points, Points + LastIndex + 1));
}

void TcxCanvas::DrawPolyline(const TPoint* Points, Integer LastIndex) {
  if (LastIndex < 0) return;
  Canvas->Polyline(std::vector<TPoint>(Points, Points + LastIndex + 1));
}

void TcxCanvas::DrawGraphic(Integer X, Integer Y, TGraphic* Graphic) { Canvas->Draw(X, Y, Graphic); }

void TcxCanvas::CopyRectFrom(const TRect& Dest, TCanvas* Source, const TRect& SourceRect) {
  Canvas->CopyRect(Dest, Source, SourceRect);
}

void TcxCanvas::InvertRect(const TRect& R) {
  Canvas->CopyMode = cmDstInvert;
  Canvas->CopyRect(R, Canvas, R);
  Canvas->CopyMode = cmSrcCopy;
}

void TcxCanvas::FillRectOrTile(const TRect& R, TBitmap* Bitmap) {
  if (cxRectIsEmpty(R)) return;
  if (!Bitmap || Bitmap->Empty()) {
    Canvas->FillRect(R);
    return;
  }
  const Integer w = Bitmap->Width(), h = Bitmap->Height();
  // Tiles are anchored at the canvas origin; floor division keeps that true
  // left of and above it too.
  auto floorDiv = [](Integer a, Integer b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
  const Integer firstCol = floorDiv(R.Left, w), firstRow = floorDiv(R.Top, h);
  Integer lastCol = floorDiv(R.Right, w), lastRow = floorDiv(R.Bottom, h);
  if (R.Right - lastCol * w == 0) --lastCol;
  if (R.Bottom - lastRow * h == 0) --lastRow;
  for (Integer row = firstRow; row <= lastRow; ++row)
    for (Integer col = firstCol; col <= lastCol; ++col) {
      const TRect tile{col * w, row * h, col * w + w, row * h + h};
      const TRect part{std::max(tile.Left, R.Left), std::max(tile.Top, R.Top), std::min(tile.Right, R.Right),
                       std::min(tile.Bottom, R.Bottom)};
      if (cxRectIsEmpty(part)) continue;
      Canvas->CopyRect(part, Bitmap->Canvas(), cxRectOffset(part, -col * w, -row * h));
    }
}

void TcxCanvas::FrameAndFill(const TRect& R, const TcxFillDescription& Fill) {
  if (Fill.Bitmap && !Fill.Bitmap->Empty()) {
    FillRectOrTile(R, Fill.Bitmap);
    return;
  }
  if (cxRectIsEmpty(R)) return;
  if (Fill.Color != clDefault) SetBrushColor(Fill.Color);
  Canvas->FillRect(R);
}

void TcxCanvas::FillBorders(const TRect& R, TColor AColor, Integer Width, TcxBorders Borders) {
  if (cxRectIsEmpty(R)) return;
  if (AColor != clDefault) SetBrushColor(AColor);
  if (Borders.Contains(bLeft)) Canvas->FillRect({R.Left, R.Top, std::min(R.Left + Width, R.Right), R.Bottom});
  if (Borders.Contains(bRight)) Canvas->FillRect({std::max(R.Right - Width, R.Left), R.Top, R.Right, R.Bottom});
  if (Borders.Contains(bTop)) Canvas->FillRect({R.Left, R.Top, R.Right, std::min(R.Top + Width, R.Bottom)});
  if (Borders.Contains(bBottom)) Canvas->FillRect({R.Left, std::max(R.Bottom - Width, R.Top), R.Right, R.Bottom});
}

void TcxCanvas::DrawTwoColorFrame(const TRect& R, TColor LeftTopColor, TColor RightBottomColor, TcxBorders Borders,
                                  Integer Width) {
  for (TcxBorder side : {bLeft, bTop, bRight, bBottom}) {
    if (!Borders.Contains(side)) continue;
    TRect band = R;
    switch (side) {
      case bLeft: band.Right = band.Left + Width; break;
      case bTop: band.Bottom = band.Top + Width; break;
      case bRight: band.Left = band.Right - Width; break;
      case bBottom: band.Top = band.Bottom - Width; break;
    }
    SetBrushColor(side == bLeft || side == bTop ? LeftTopColor : RightBottomColor);
    Canvas->FillRect(band);
  }
}

void TcxCanvas::Draw3DEdge(const TRect& R, bool Sunken, bool Outer, TcxBorders Borders) {
  TColor c1, c2;
  if (Outer) {
    c1 = Sunken ? clBtnShadow : cl3DLight;
    c2 = Sunken ? clBtnHighlight : cl3DDkShadow;
  } else {
    c1 = Sunken ? cl3DDkShadow : clBtnHighlight;
    c2 = Sunken ? cl3DLight : clBtnShadow;
  }
  DrawTwoColorFrame(R, c1, c2, Borders, 1);
}

void TcxCanvas::DrawFocusFrame(const TRect& R) {
  SetBrushColor(clWhite);
  Canvas->Font()->SetColor(clBlack);
  Canvas->DrawFocusRect(R);
}

TSize TcxCanvas::MeasureText(const std::string& Text) {
  if (Text.empty()) return {0, 0};
  return Canvas->TextExtent(Text);
}

Integer TcxCanvas::FontHeight(TFont* AFont) {
  AssignFont(AFont);
  return MeasureTextHeight("Qq");
}

void TcxCanvas::CalcTextRect(const std::string& Text, TRect& R, TcxTextFlags Flags) {
  const Integer W = R.Width(), H = R.Height();
  const UINT format = CanvasTextFlagsToDrawTextFormat(Flags);
  RECT r = cxRECT(R);
  Canvas->RequiredState();
  DrawText(Canvas->Handle(), Text.data(), static_cast<int>(Text.size()), &r, (format & ~DT_VCENTER) | DT_CALCRECT);
  R = cxRect(r);
  const Integer w = R.Width(), h = R.Height();
  if (format & DT_CENTER)
    R = cxRectOffset(R, (W - w) / 2, 0);
  else if (format & DT_RIGHT)
    R = cxRectOffset(R, W - w, 0);
  if (format & DT_VCENTER)
    R = cxRectOffset(R, 0, (H - h) / 2);
  else if (format & DT_BOTTOM)
    R = cxRectOffset(R, 0, H - h);
}

void TcxCanvas::CalcMultiLineTextTop(TRect& R, const std::string& Text, TextVerticalAlignment Alignment,
                                     bool WordBreak, bool ShowPrefix, bool Enabled, bool NoCharBreak) {
  if (Alignment == VAlignTop) return;
  const Integer d = Enabled ? 0 : 1;
  TcxTextFlags flags = TextTop | TextLeft;
  if (WordBreak) flags |= TextWordBreak;
  if (ShowPrefix) flags |= TextShowPrefix;
  if (NoCharBreak) flags |= TextNoCharBreak;
  TRect measured{0, 0, R.Width() - d, 0};
  CalcTextRect(Text, measured, flags);
  const Integer height = measured.Height();
  if (Alignment == VAlignBottom)
    R.Top = R.Bottom - height - d;
  else
    R.Top = (R.Top + R.Bottom - height) / 2;
}

void TcxCanvas::DrawTextPrimitive(const std::string& Text, TRect R, UINT Format, bool UseDrawText, bool NoClip) {
  Canvas->RequiredState();
  RECT r = cxRECT(R);
  if (UseDrawText)
    DrawText(Canvas->Handle(), Text.data(), static_cast<int>(Text.size()), &r, Format);
  else
    ExtTextOut(Canvas->Handle(), R.Left, R.Top, NoClip ? 0 : ETO_CLIPPED, &r, Text.data(),
               static_cast<UINT>(Text.size()), nullptr);
}

void TcxCanvas::DrawAlignedText(const std::string& Text, const TRect& R, TcxTextFlags Flags, bool Enabled) {
  if (Text.empty()) return;
  const bool useDrawText =
      !(Flags & TextSingleLine) || (Flags & (TextShowPrefix | TextEndEllipsis | TextPathEllipsis)) != 0;
  const Integer d = Enabled ? 0 : 1;
  TRect rect = R;
  const TSize size = MeasureText(Text);
  if (rect.Width() > size.cx && rect.Height() > size.cy) Flags |= TextNoClip;
  if (useDrawText) {
    if (!(Flags & TextSingleLine) && (Flags & (TextBottom | TextVCenter))) {
      TRect measured{0, 0, rect.Width() - d, 0};
      TcxTextFlags calc = TextTop | TextLeft | (Flags & (TextWordBreak | TextShowPrefix | TextNoCharBreak));
      CalcTextRect(Text, measured, calc);
      if (Flags & TextBottom)
        rect.Top = rect.Bottom - measured.Height() - d;
      else
        rect.Top = (rect.Top + rect.Bottom - measured.Height()) / 2;
    }
  } else {
    const TcxTextFlags horz = Flags & (TextLeft | TextRight | TextHCenter);
    const TcxTextFlags vert = Flags & (TextTop | TextBottom | TextVCenter);
    if (size.cx < rect.Width()) {
      if (horz == TextRight)
        rect.Left = rect.Right - size.cx - d;
      else if (horz == TextHCenter)
        rect.Left = (rect.Left + rect.Right - size.cx) / 2;
    }
    if (size.cy < rect.Height()) {
      if (vert == TextBottom)
        rect.Top = rect.Bottom - size.cy - d;
      else if (vert == TextVCenter)
        rect.Top = (rect.Top + rect.Bottom - size.cy) / 2;
    }
  }
  const UINT format = CanvasTextFlagsToDrawTextFormat(Flags);
  const bool noClip = (Flags & TextNoClip) != 0;
  TextStateGuard guard(Canvas);
  if (!Enabled) {
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Font()->SetColor(clBtnHighlight);
    DrawTextPrimitive(Text, cxRectOffset(rect, 1, 1), format, useDrawText, noClip);
    Canvas->Font()->SetColor(clBtnShadow);
  }
  DrawTextPrimitive(Text, rect, format, useDrawText, noClip);
}

void TcxCanvas::RotateBitmap(TBitmap* Bitmap, Integer Mode, bool Mirror) {
  if (!Bitmap || Bitmap->Empty() || (Mode == 0 && !Mirror) || Mode < 0 || Mode > 3) return;
  const Integer W = Bitmap->Width(), H = Bitmap->Height();
  BITMAPINFO info{};
  info.bmiHeader.biSize = 40;
  info.bmiHeader.biWidth = W;
  info.bmiHeader.biHeight = -H;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> src(static_cast<size_t>(W) * H), dst(src.size());
  HDC dc = DeviceContext();
  GetDIBits(dc, Bitmap->Handle(), 0, static_cast<UINT>(H), src.data(), &info, DIB_RGB_COLORS);
  const bool turned = Mode == 1 || Mode == 2;
  const Integer newW = turned ? H : W;
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) {
      Integer nx = x, ny = y;
      switch (Mode * 2 + (Mirror ? 1 : 0)) {
        case 1: ny = H - 1 - y; break;
        case 2: nx = y; ny = W - 1 - x; break;
        case 3: nx = y; ny = x; break;
        case 4: nx = H - 1 - y; ny = x; break;
        case 5: nx = H - 1 - y; ny = W - 1 - x; break;
        case 6: nx = W - 1 - x; ny = H - 1 - y; break;
        case 7: nx = W - 1 - x; break;
      }
      dst[static_cast<size_t>(ny) * newW + nx] = src[static_cast<size_t>(y) * W + x];
    }
  if (turned) {
    Bitmap->SetSize(H, W);
    info.bmiHeader.biWidth = H;
    info.bmiHeader.biHeight = -W;
  }
  SetDIBits(dc, Bitmap->Handle(), 0, static_cast<UINT>(turned ? W : H), dst.data(), &info, DIB_RGB_COLORS);
  Bitmap->SetModified(true);
}

void TcxCanvas::BeginPath() { win::BeginPath(DeviceContext()); }
void TcxCanvas::EndPath() { win::EndPath(DeviceContext()); }

void TcxCanvas::ExcludeFromClip(const TRect& R) {
  ExcludeClipRect(DeviceContext(), R.Left, R.Top, R.Right, R.Bottom);
}

void TcxCanvas::IntersectClip(const TRect& R) {
  IntersectClipRect(DeviceContext(), R.Left, R.Top, R.Right, R.Bottom);
}

std::unique_ptr<TcxRegion> TcxCanvas::ReadClipRegion(bool ConsiderOrigin) {
  auto region = TcxRegion::CreateEmpty();
  if (GetClipRgn(DeviceContext(), region->Handle) != 1) {
    SetRectRgn(region->Handle, 0, 0, kNoClipExtent, kNoClipExtent);
    region->NoClip = true;
  }
  if (ConsiderOrigin) {
    const TPoint origin = DCOrigin();
    region->Offset(-origin.X, -origin.Y);
  }
  return region;
}

void TcxCanvas::SelectClip(TcxRegion& Region, bool ConsiderOrigin) {
  if (Region.NoClip) {
    SelectClipRgn(DeviceContext(), nullptr);
    return;
  }
  const TPoint origin = ConsiderOrigin ? DCOrigin() : TPoint{0, 0};
  Region.Offset(origin.X, origin.Y);
  SelectClipRgn(DeviceContext(), Region.Handle);
  Region.Offset(-origin.X, -origin.Y);
}

void TcxCanvas::ApplyClipRegion(std::unique_ptr<TcxRegion> Region, RegionOperation Operation, bool ConsiderOrigin) {
  if (!Region) return;
  if (Operation != RegionCopy) {
    auto current = ReadClipRegion(ConsiderOrigin);
    current->Combine(std::move(Region), Operation);
    ApplyClipRegion(std::move(current), RegionCopy, ConsiderOrigin);
    return;
  }
  SelectClip(*Region, ConsiderOrigin);
}

void TcxCanvas::ApplyClipRegion(TcxRegion& Region, RegionOperation Operation, bool ConsiderOrigin) {
  if (Operation != RegionCopy) {
    auto current = ReadClipRegion(ConsiderOrigin);
    current->Combine(Region, Operation);
    ApplyClipRegion(std::move(current), RegionCopy, ConsiderOrigin);
    return;
  }
  SelectClip(Region, ConsiderOrigin);
}

TPoint TcxCanvas::ViewportOrigin() const {
  POINT p{};
  GetViewportOrgEx(DeviceContext(), &p);
  return {p.x, p.y};
}

TPoint TcxCanvas::WindowOrigin() const {
  POINT p{};
  GetWindowOrgEx(DeviceContext(), &p);
  return {p.x, p.y};
}

TPoint TcxCanvas::DCOrigin() const {
  const TPoint v = ViewportOrigin(), w = WindowOrigin();
  return {v.X - w.X, v.Y - w.Y};
}

void TcxCanvas::SetDCWindowOrigin(const TPoint& P) { SetWindowOrgEx(DeviceContext(), P.X, P.Y, nullptr); }

// ---------------------------------------------------------------------------

TScreenCanvas::~TScreenCanvas() {
  if (HandleAllocated()) {
    HDC dc = Handle();
    SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
  }
}

void TScreenCanvas::CreateHandle() { SetHandle(GetDC(nullptr)); }

TcxScreenCanvas::TcxScreenCanvas() : TcxCanvas(nullptr), FScreenCanvas(std::make_unique<TScreenCanvas>()) {
  Canvas = FScreenCanvas.get();
}

TcxScreenCanvas::~TcxScreenCanvas() = default;

// ---------------------------------------------------------------------------

TColor NearestScreenColor(TColor AColor) {
  ScreenDC dc;
  return static_cast<TColor>(GetNearestColor(dc.get(), ColorToRGB(AColor)));
}

TColor BlendSystemColors(Integer P1, Integer P2, Integer P3) {
  const COLORREF face = ColorToRGB(clBtnFace), light = ColorToRGB(clHighlight), window = ColorToRGB(clWindow);
  if (face == 0 || face == 0xFFFFFF) return static_cast<TColor>(light);
  auto channel = [&](int shift) {
    const Integer v = MulDiv((face >> shift) & 0xFF, P1, 100) + MulDiv((light >> shift) & 0xFF, P2, 100) +
                      MulDiv((window >> shift) & 0xFF, P3, 100);
    return static_cast<COLORREF>(std::clamp<Integer>(v, 0, 255)) << shift;
  };
  return static_cast<TColor>(channel(0) | channel(8) | channel(16));
}

TColor PressedHighlightColor() { return NearestScreenColor(BlendSystemColors(14, 44, 40)); }
TColor HotHighlightColor() { return NearestScreenColor(BlendSystemColors(-2, 30, 72)); }
