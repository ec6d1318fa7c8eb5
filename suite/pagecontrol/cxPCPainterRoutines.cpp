#include "suite/pagecontrol/cxPCPainterRoutines.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/win/GdiRegions.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/dxOffice11.h"

TColor LightFaceColor = clBtnFace;
std::array<TColor, 6> OneNoteSchemeColors{clBtnShadow, clBtnShadow, static_cast<TColor>(0xFFFFFF),
                                          static_cast<TColor>(0x6A240A), clBtnFace, clBtnFace};

namespace {

std::unique_ptr<TcxScreenCanvas>& ScreenCanvasSlot() {
  static std::unique_ptr<TcxScreenCanvas> canvas;
  return canvas;
}

TColor Rgb(Integer R, Integer G, Integer B) {
  return static_cast<TColor>(win::RGB(static_cast<win::BYTE>(R), static_cast<win::BYTE>(G),
                                      static_cast<win::BYTE>(B)));
}

}  // namespace

TColor ComputeLightFaceColor() {
  const win::COLORREF face = ColorToRGB(clBtnFace);
  auto raise = [](Integer c) { return c > 235 ? 255 : c + 20; };
  return Rgb(raise(win::GetRValue(face)), raise(win::GetGValue(face)), raise(win::GetBValue(face)));
}

void UpdateOneNoteSchemeColors() {
  static const std::array<TColor, 6> schemes[4] = {
      {clBtnShadow, clBtnShadow, static_cast<TColor>(0xFFFFFF), static_cast<TColor>(0x6A240A), clBtnFace,
       clBtnFace},
      {static_cast<TColor>(0x9C613B), static_cast<TColor>(0x9A3500), static_cast<TColor>(0xFFFFFF),
       static_cast<TColor>(0x800000), static_cast<TColor>(0xFFFFFF), static_cast<TColor>(0xF1A675)},
      {static_cast<TColor>(0x588060), static_cast<TColor>(0x6B7760), static_cast<TColor>(0xFFFFFF),
       static_cast<TColor>(0x385D3F), static_cast<TColor>(0xFFFFFF), static_cast<TColor>(0x8CC2B0)},
      {static_cast<TColor>(0x947C7C), static_cast<TColor>(0x927476), static_cast<TColor>(0xFFFFFF),
       static_cast<TColor>(0x6F4B4B), static_cast<TColor>(0xFFFFFF), static_cast<TColor>(0xCEB9BA)},
  };
  const TOffice11Scheme scheme = CurrentOffice11ColorScheme();
  OneNoteSchemeColors = schemes[scheme < 4 ? scheme : 0];
}

void DrawRectSideLines(TcxCanvas* ACanvas, TRect& R, const Integer* Sides, const TColor* Colors, Integer LastIndex,
                       bool Exclude) {
  const TRect before = R;
  for (Integer k = 0; k <= LastIndex; ++k) {
    ACanvas->Pen()->SetColor(Colors[k]);
    TPoint line[2];
    switch (Sides[k]) {
      case 0:
        line[0] = {R.Left, R.Top};
        line[1] = {R.Left, R.Bottom};
        ++R.Left;
        break;
      case 1:
        line[0] = {R.Left, R.Top};
        line[1] = {R.Right, R.Top};
        ++R.Top;
        break;
      case 2:
        line[0] = {R.Right - 1, R.Top};
        line[1] = {R.Right - 1, R.Bottom};
        --R.Right;
        break;
      default:
        line[0] = {R.Left, R.Bottom - 1};
        line[1] = {R.Right, R.Bottom - 1};
        --R.Bottom;
        break;
    }
    ACanvas->DrawPolyline(line, 1);
  }
  if (Exclude) {
    auto band = TcxRegion::CreateFromRect(before);
    band->Combine(TcxRegion::CreateFromRect(R), RegionDifference);
    ACanvas->ApplyClipRegion(std::move(band), RegionDifference);
  }
}

void AppendFigurePoints(TPoints& Points, const TPoint* NewPoints, Integer LastPointIndex, Integer LastLineIndex,
                        const TLinePosition* NewPositions, TLinePositions& Positions) {
  Points.insert(Points.end(), NewPoints, NewPoints + LastPointIndex + 1);
  Positions.insert(Positions.end(), NewPositions, NewPositions + LastLineIndex + 1);
}

bool FigureHasSide(TLinePosition Position, const TLinePositions& Positions) {
  return std::find(Positions.begin(), Positions.end(), Position) != Positions.end();
}

std::unique_ptr<TcxRegion> FigureOutlineRegion(TPoints& Points, Integer LastPointIndex,
                                               const TLinePositions& Positions, bool Inner,
                                               Integer LastPositionIndex) {
  const TLinePositions figure(Positions.begin(), Positions.begin() + LastPositionIndex + 1);
  auto has = [&figure](TLinePosition p) { return FigureHasSide(p, figure); };
  // GDI polygons leave out their right and bottom outline; each segment is
  // moved onto the pixels the region must hold.
  for (Integer k = 0; k <= LastPositionIndex; ++k) {
    TPoint& P = Points[static_cast<size_t>(k)];
    TPoint& Q = Points[static_cast<size_t>(k + 1)];
    switch (figure[static_cast<size_t>(k)]) {
      case lpL:
        if (!Inner) break;
        ++P.X;
        if (has(lpLB)) ++P.Y;
        ++Q.X;
        if (has(lpLT)) --Q.Y;
        break;
      case lpLT:
        if (!Inner) break;
        if (has(lpL)) ++P.Y; else ++P.X;
        if (has(lpT)) ++Q.X; else ++Q.Y;
        break;
      case lpT:
        if (!Inner) break;
        ++P.Y;
        if (has(lpLT)) --P.X;
        ++Q.Y;
        if (has(lpRT)) ++Q.X;
        break;
      case lpLB:
        if (!Inner) break;
        if (has(lpB)) ++P.X; else --P.Y;
        if (has(lpL)) --Q.Y; else ++Q.X;
        break;
      case lpRT:
        if (Inner) break;
        if (has(lpT)) ++P.X; else --P.Y;
        if (has(lpR)) --Q.Y; else ++Q.X;
        break;
      case lpR:
        if (Inner) break;
        ++P.X;
        if (has(lpRT)) ++P.Y;
        ++Q.X;
        if (has(lpRB)) --Q.Y;
        break;
      case lpRB:
        if (Inner) break;
        if (has(lpR)) ++P.Y; else ++P.X;
        if (has(lpB)) ++Q.X; else ++Q.Y;
        break;
      case lpB:
        if (Inner) break;
        ++P.Y;
        if (has(lpRB)) --P.X;
        ++Q.Y;
        if (has(lpLB)) ++Q.X;
        break;
    }
  }
  std::vector<win::POINT> polygon;
  for (Integer i = 0; i <= LastPointIndex; ++i)
    polygon.push_back({Points[static_cast<size_t>(i)].X, Points[static_cast<size_t>(i)].Y});
  return TcxRegion::CreateFromHandle(
      win::CreatePolygonRgn(polygon.data(), static_cast<int>(polygon.size()), win::WINDING));
}

TRect RectSideBand(const TRect& R, TcxTabPosition Side, Integer Width, bool Outside) {
  const bool across = Side == tpLeft || Side == tpRight;
  const bool far = Side == tpBottom || Side == tpRight;
  const Integer edge = across ? (far ? R.Right : R.Left) : (far ? R.Bottom : R.Top);
  const Integer from = far == Outside ? edge : edge - Width;
  return across ? TRect{from, R.Top, from + Width, R.Bottom} : TRect{R.Left, from, R.Right, from + Width};
}

void DrawFrameAndDeflate(TcxCanvas* ACanvas, TRect& R, TColor AColor) {
  ACanvas->FillBorders(R, AColor, 1, TcxBorders{bLeft, bTop, bRight, bBottom});
  R = cxRectInflate(R, -1, -1);
}

void OrientedRectExtents(const TRect& R, bool Horizontal, Integer& Width, Integer& Height) {
  Width = R.Right - R.Left;
  Height = R.Bottom - R.Top;
  if (!Horizontal) std::swap(Width, Height);
}

void SwapPair(IntegerPair& Pair) { std::swap(Pair.First, Pair.Second); }

TColor BrightenColor(TColor AColor, Integer Percent) {
  using Real = long double;
  const win::COLORREF rgb = ColorToRGB(AColor);
  const Real r = win::GetRValue(rgb);
  const Real g = win::GetGValue(rgb);
  const Real b = win::GetBValue(rgb);
  const Real maxC = std::max({r, g, b});
  const Real minC = std::min({r, g, b});
  const Real s = maxC == 0 ? 0 : 100 - minC * 100 / maxC;
  Real h = 0;
  if (s != 0) {
    if (maxC == r)
      h = (g - b) * 60 / (maxC - minC);
    else if (maxC == g)
      h = (b - r) * 60 / (maxC - minC) + 120;
    else
      h = (r - g) * 60 / (maxC - minC) + 240;
    if (h < 0) h += 360;
  }
  Real v = maxC * 100 / 255;
  v = std::min<Real>(v * (100 + Percent) / 100, 100);
  if (v == 0) return Rgb(0, 0, 0);
  const Real top = v * 255 / 100;
  const Real bottom = top * (100 - s) / 100;
  const Real d = top - bottom;
  Real R, G, B;
  if (h <= 60) {
    R = top; G = bottom + d * h / 60; B = bottom;
  } else if (h <= 120) {
    R = top - d * (h - 60) / 60; G = top; B = bottom;
  } else if (h <= 180) {
    R = bottom; G = top; B = bottom + d * (h - 120) / 60;
  } else if (h <= 240) {
    R = bottom; G = top - d * (h - 180) / 60; B = top;
  } else if (h <= 300) {
    R = bottom + d * (h - 240) / 60; G = bottom; B = top;
  } else {
    R = top; G = bottom; B = top - d * (h - 300) / 60;
  }
  auto channel = [](Real c) { return static_cast<Integer>(std::nearbyint(c)); };
  return Rgb(channel(R), channel(G), channel(B));
}

TcxCanvas* PainterScreenCanvas() {
  if (!ScreenCanvasSlot()) {
    // Made before its slot, so that at program end the canvas goes before
    // the screen it draws on.
    auto canvas = std::make_unique<TcxScreenCanvas>();
    ScreenCanvasSlot() = std::move(canvas);
  }
  return ScreenCanvasSlot().get();
}

void FreePainterScreenCanvas() { ScreenCanvasSlot().reset(); }
