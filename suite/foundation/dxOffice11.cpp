#include "suite/foundation/dxOffice11.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiShapes.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/dxThemeManager.h"

using namespace win;

TColor Office11FaceColor = 0;
TColor Office11LightFaceColor = 0;
TColor Office11GradientFirstColor = 0;
TColor Office11GradientLastColor = 0;
TColor Office11SecondGradientFirstColor = 0;
TColor Office11SecondGradientLastColor = 0;
TColor Office11ShadowColor = 0;
TColor Office11LightColor = 0;
TColor Office11LineColor = 0;
TColor Office11BorderColor = 0;
TColor Office11SelectionFrameColor = 0;
TColor Office11HotFirstColor = 0;
TColor Office11HotLastColor = 0;
TColor Office11PressedFirstColor = 0;
TColor Office11PressedLastColor = 0;
TColor Office11SymbolColor = 0;
TColor Office11DisabledSymbolColor = 0;
TColor Office11PanelColor = 0;
TColor Office11SelectionColor = 0;
TColor Office11BackgroundColor = 0;
TColor Office11DarkBorderColor = 0;
TColor Office11ExpandButtonLightColor = 0;
TColor Office11ExpandButtonDarkColor = 0;

namespace {

// A colour written as red-green-blue hex, as the scheme table lists it.
constexpr TColor Rgb(uint32_t rrggbb) {
  return static_cast<TColor>(((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16));
}

// The entries of the scheme table this system uses; the others are left out.
struct SchemeEntry {
  int index;
  TColor colors[3];  // blue, olive, silver
};
constexpr SchemeEntry kSchemeTable[] = {
    {0, {Rgb(0xDDECFE), Rgb(0xF4F7DE), Rgb(0xF3F4FA)}},  {1, {Rgb(0x81A9E2), Rgb(0xB7C691), Rgb(0x9997B5)}},
    {2, {Rgb(0x9EBEF5), Rgb(0xD9D9A7), Rgb(0xD7D7E5)}},  {3, {Rgb(0xC3DAF9), Rgb(0xF2F0E4), Rgb(0xF3F3F7)}},
    {4, {Rgb(0x003591), Rgb(0x60776B), Rgb(0x767492)}},  {11, {Rgb(0x7BA4E0), Rgb(0xB5C48F), Rgb(0x9391B0)}},
    {14, {Rgb(0x6A8CCB), Rgb(0x608058), Rgb(0x6E6D8F)}}, {15, {Rgb(0xF1F9FF), Rgb(0xF4F7DE), Rgb(0xFFFFFF)}},
    {16, {Rgb(0x2A66C9), Rgb(0x74865E), Rgb(0x7A7999)}}, {18, {Rgb(0x002D96), Rgb(0x758D5E), Rgb(0x7C7C94)}},
    {21, {Rgb(0x000080), Rgb(0x3F5D38), Rgb(0x4B4B6F)}}, {22, {Rgb(0xFFF4CC), Rgb(0xFFF4CC), Rgb(0xFFF4CC)}},
    {23, {Rgb(0xFFD091), Rgb(0xFFD091), Rgb(0xFFD091)}}, {24, {Rgb(0xFFD38E), Rgb(0xFFD38E), Rgb(0xFFD38E)}},
    {25, {Rgb(0xFE914E), Rgb(0xFE914E), Rgb(0xFE914E)}}, {30, {Rgb(0x000000), Rgb(0x000000), Rgb(0x000000)}},
    {31, {Rgb(0x8D8D8D), Rgb(0x8D8D8D), Rgb(0x8D8D8D)}}, {32, {Rgb(0xBEDAFB), Rgb(0xAFBA91), Rgb(0xE5E5EB)}},
    {33, {Rgb(0xFBE694), Rgb(0xFBE694), Rgb(0xFBE694)}}, {34, {Rgb(0xC4DAFA), Rgb(0xF2F1E4), Rgb(0xF3F3F7)}},
    {35, {Rgb(0x002D96), Rgb(0x608058), Rgb(0x7C7C94)}},
};

TColor SchemeColor(TOffice11Scheme scheme, int index) {
  for (const SchemeEntry& e : kSchemeTable)
    if (e.index == index) return e.colors[scheme - 1];
  return 0;
}

struct PaletteState {
  TOffice11Scheme scheme = Office11SchemeNone;
  bool schemeInUse = false;
  Integer useCount = 0;
  std::unique_ptr<TBitmap> minus;
  std::unique_ptr<TBitmap> plus;
};

PaletteState& Palette() {
  static PaletteState& state = *new PaletteState;  // outlives the display
  return state;
}

TColor Resolved(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }

std::u16string UpperAscii(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  return s;
}

// An 11 x 11 expand button: a dark frame, a face that lightens towards the
// top and a plus or minus sign. No picture resources exist, so they are
// drawn here.
std::unique_ptr<TBitmap> MakeExpandBitmap(bool minus) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(11, 11);
  HDC dc = bitmap->Canvas()->Handle();
  const TColor dark = Office11ExpandButtonDarkColor, light = Office11ExpandButtonLightColor;
  FillRectSolid(dc, {0, 0, 11, 11}, dark);
  FillGradientRect(dc, {1, 1, 10, 10}, clWhite, false, light);
  FillRectSolid(dc, {3, 5, 8, 6}, dark);
  if (!minus) FillRectSolid(dc, {5, 3, 6, 8}, dark);
  return bitmap;
}

void MakeBitmaps() {
  Palette().minus = MakeExpandBitmap(true);
  Palette().plus = MakeExpandBitmap(false);
}

void FreeBitmaps() {
  Palette().minus.reset();
  Palette().plus.reset();
}

void ComputePalette() {
  PaletteState& p = Palette();
  p.scheme = DetectOffice11Scheme();
  p.schemeInUse = p.scheme != Office11SchemeNone;
  const bool s = p.schemeInUse;
  auto e = [&](int index) { return SchemeColor(p.scheme, index); };
  Office11FaceColor = s ? e(2) : Resolved(clBtnFace);
  Office11LightFaceColor = s ? e(3) : MixColorsByPercent(clBtnFace, clWindow, 20);
  Office11GradientFirstColor = s ? e(0) : MixColorsByPercent(clBtnFace, clWindow, 22);
  Office11GradientLastColor = s ? e(1) : MixColorsByPercent(clBtnFace, clWindow, 96);
  Office11SecondGradientFirstColor = s ? e(14) : MixColorsByPercent(clBtnShadow, clWindow, 70);
  Office11SecondGradientLastColor = s ? e(15) : clWhite;
  Office11ShadowColor = s ? e(16) : Resolved(clBtnShadow);
  Office11LightColor = s ? clWhite : Resolved(clBtnHighlight);
  Office11LineColor = s ? MixColorsByPercent(e(4), e(11), 50) : MixColorsByPercent(clBtnShadow, clBtnFace, 50);
  Office11BorderColor = s ? e(18) : Resolved(clBtnShadow);
  Office11SelectionFrameColor = s ? e(21) : Resolved(clHighlight);
  Office11HotFirstColor = s ? e(22) : HotHighlightColor();
  Office11HotLastColor = s ? e(23) : HotHighlightColor();
  Office11PressedFirstColor = s ? e(24) : PressedHighlightColor();
  Office11PressedLastColor = s ? e(25) : PressedHighlightColor();
  Office11SymbolColor = s ? e(30) : Resolved(clBtnText);
  Office11DisabledSymbolColor = s ? e(31) : Resolved(clGrayText);
  Office11PanelColor = s ? e(32) : Resolved(clBtnFace);
  Office11SelectionColor = s ? e(33) : BlendSystemColors(41, 11, 48);
  Office11BackgroundColor = s ? e(34) : Resolved(clBtnFace);
  Office11DarkBorderColor = s ? e(35) : Resolved(clBtnShadow);
  Office11ExpandButtonLightColor = Resolved(static_cast<TColor>(RGB(158, 174, 191)));
  Office11ExpandButtonDarkColor = Resolved(static_cast<TColor>(RGB(46, 70, 95)));
}

}  // namespace

TBitmap* Office11ExpandMinusBitmap() { return Palette().minus.get(); }
TBitmap* Office11ExpandPlusBitmap() { return Palette().plus.get(); }

void AcquireOffice11Palette() {
  if (Palette().useCount++ == 0) {
    ComputePalette();
    MakeBitmaps();
  }
}

void RecomputeOffice11Palette() {
  ComputePalette();
  if (Palette().useCount > 0) {
    FreeBitmaps();
    MakeBitmaps();
  }
}

void ReleaseOffice11Palette() {
  if (Palette().useCount <= 0) return;
  if (--Palette().useCount == 0) FreeBitmaps();
}

Integer Office11PaletteUseCount() { return Palette().useCount; }

TOffice11Scheme DetectOffice11Scheme() {
  if (!AreThemesAvailable(0)) return Office11SchemeNone;
  constexpr int kLength = 1024;
  std::u16string file(kLength, u'\0'), color(kLength, u'\0'), size(kLength, u'\0');
  if (FAILED(UxGetCurrentThemeName(file.data(), kLength, color.data(), kLength, size.data(), kLength)))
    return Office11SchemeNone;
  file.resize(std::char_traits<char16_t>::length(file.c_str()));
  color.resize(std::char_traits<char16_t>::length(color.c_str()));
  const size_t slash = file.find_last_of(u"\\/");
  if (slash != std::u16string::npos) file.erase(0, slash + 1);
  if (UpperAscii(file) != u"LUNA.MSSTYLES") return Office11SchemeNone;
  const std::u16string name = UpperAscii(color);
  if (name == u"NORMALCOLOR") return Office11SchemeBlue;
  if (name == u"HOMESTEAD") return Office11SchemeOlive;
  if (name == u"METALLIC") return Office11SchemeSilver;
  return Office11SchemeNone;
}

TOffice11Scheme CurrentOffice11ColorScheme() { return Palette().scheme; }
bool Office11SchemeInUse() { return Palette().schemeInUse; }

TColor MixColorsByPercent(TColor Color1, TColor Color2, Integer Percent) {
  const COLORREF c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
  auto channel = [&](int shift) {
    const Integer v = MulDiv((c2 >> shift) & 0xFF, 100 - Percent, 100) + MulDiv((c1 >> shift) & 0xFF, Percent, 100);
    return static_cast<COLORREF>(std::clamp<Integer>(v, 0, 255)) << shift;
  };
  return NearestScreenColor(static_cast<TColor>(channel(0) | channel(8) | channel(16)));
}

TColor ScaleColorByPercent(TColor AColor, Integer Percent) {
  const COLORREF c = ColorToRGB(AColor);
  auto channel = [&](int shift) {
    const double v = std::nearbyint(static_cast<double>((c >> shift) & 0xFF) * Percent / 100.0);
    return static_cast<COLORREF>(std::clamp(v, 0.0, 255.0)) << shift;
  };
  return static_cast<TColor>(channel(0) | channel(8) | channel(16));
}

void FillRectSolid(HDC DC, const TRect& R, TColor AColor) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(AColor));
  const RECT r = cxRECT(R);
  FillRect(DC, &r, brush);
  DeleteObject(brush);
}

void FillGradientRect(HDC DC, const TRect& R, TColor Color1, bool Horizontal, TColor Color2) {
  const COLORREF c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
  if (c1 == c2) {
    FillRectSolid(DC, R, static_cast<TColor>(c1));
    return;
  }
  const Integer L = Horizontal ? R.Width() : R.Height();
  const Integer n = std::min<Integer>(L, 256);
  if (n <= 0) return;
  const Integer start = Horizontal ? R.Left : R.Top, end = Horizontal ? R.Right : R.Bottom;
  Integer from = start;
  for (Integer i = 0; i < n; ++i) {
    const Integer to = start + MulDiv(i + 1, L, n);
    COLORREF color = c1;
    if (n > 1) {
      auto channel = [&](int shift) {
        const Integer a = (c1 >> shift) & 0xFF, b = (c2 >> shift) & 0xFF;
        return static_cast<COLORREF>(std::clamp<Integer>(a + MulDiv(i, b - a, n - 1), 0, 255)) << shift;
      };
      color = channel(0) | channel(8) | channel(16);
    }
    if (to > from) {
      const TRect band = Horizontal ? TRect{from, R.Top, to, R.Bottom} : TRect{R.Left, from, R.Right, to};
      FillRectSolid(DC, band, static_cast<TColor>(color));
    }
    from = to;
    if (to >= end) break;
  }
}
