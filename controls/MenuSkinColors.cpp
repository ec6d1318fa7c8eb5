#include "controls/MenuSkinColors.h"

#include <algorithm>

namespace {

Integer Red(win::COLORREF c) { return static_cast<Integer>(c & 0xFF); }
Integer Green(win::COLORREF c) { return static_cast<Integer>((c >> 8) & 0xFF); }
Integer Blue(win::COLORREF c) { return static_cast<Integer>((c >> 16) & 0xFF); }
TColor Rgb(Integer r, Integer g, Integer b) {
  auto clamp = [](Integer v) { return std::clamp<Integer>(v, 0, 255); };
  return static_cast<TColor>(clamp(r) | (clamp(g) << 8) | (clamp(b) << 16));
}

Integer LightenChannel(Integer x, Integer p) {
  Integer num = (255 - x) * p;
  Integer q = num / 100, r = num % 100;
  if (r > 50 || (r == 50 && (q & 1))) ++q;
  return x + q;
}

// Bitmap pixels are 0x00RRGGBB; colours are 0x00BBGGRR.
TColor FromPixel(uint32_t p) { return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF)); }
uint32_t ToPixel(TColor c) {
  auto v = static_cast<uint32_t>(c);
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

template <typename F>
void MapPixels(TBitmap* Bitmap, F f) {
  if (!Bitmap || Bitmap->Empty() || Bitmap->Monochrome()) return;
  // Icons repeat their colours: the previous pixel's result is reused.
  bool have = false;
  uint32_t last = 0, lastResult = 0;
  for (Integer y = 0; y < Bitmap->Height(); ++y) {
    uint32_t* row = Bitmap->ScanLine(y);
    for (Integer x = 0; x < Bitmap->Width(); ++x) {
      uint32_t p = row[x] & 0xFFFFFF;
      if (!have || p != last) {
        last = p;
        lastResult = ToPixel(f(FromPixel(p)));
        have = true;
      }
      row[x] = (row[x] & 0xFF000000) | lastResult;
    }
  }
  Bitmap->SetModified(true);
}

}  // namespace

TColor LightenColor(TColor Color, Integer Percent) {
  Integer p = std::clamp<Integer>(Percent, 0, 100);
  win::COLORREF c = ColorToRGB(Color);
  return Rgb(LightenChannel(Red(c), p), LightenChannel(Green(c), p), LightenChannel(Blue(c), p));
}

TColor DarkenColor(TColor Color, Integer Amount) {
  win::COLORREF c = ColorToRGB(Color);
  return Rgb(Red(c) - Amount, Green(c) - Amount + 2, Blue(c) - Amount);
}

TColor GrayColor(TColor Color, Integer Level) {
  win::COLORREF c = ColorToRGB(Color);
  Integer v = std::min<Integer>((Red(c) + Green(c) + Blue(c)) / 3 + Level, 240);
  return Rgb(v, v, v);
}

TColor AverageColor(std::initializer_list<TColor> Colors) {
  if (Colors.size() == 0) return clBlack;
  Integer r = 0, g = 0, b = 0;
  for (TColor color : Colors) {
    win::COLORREF c = ColorToRGB(color);
    r += Red(c);
    g += Green(c);
    b += Blue(c);
  }
  auto n = static_cast<Integer>(Colors.size());
  return Rgb(r / n, g / n, b / n);
}

void GrayBitmap(TBitmap* Bitmap, Integer Level) {
  MapPixels(Bitmap, [Level](TColor c) { return GrayColor(c, Level); });
}

void DimBitmap(TBitmap* Bitmap, Integer Percent) {
  Integer p = std::min<Integer>(Percent, 100);
  MapPixels(Bitmap, [p](TColor c) { return LightenColor(c, p); });
}
