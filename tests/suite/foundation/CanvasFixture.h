// A white 32-bit bitmap with a suite canvas over it, and pixel readers.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Graphics.h"
#include "suite/foundation/cxGraphics.h"

struct TestSurface {
  void Reset(Integer w, Integer h) {
    bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(w, h);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect({0, 0, w, h});
    canvas = std::make_unique<TcxCanvas>(bitmap->Canvas());
  }

  // The pixel as an RGB colour value (0xBBGGRR), whatever the DC's state.
  TColor Px(Integer x, Integer y) const {
    const uint32_t p = bitmap->ScanLine(y)[x] & 0xFFFFFF;
    return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
  }
  static TColor RGBOf(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }
  bool Is(Integer x, Integer y, TColor c) const { return Px(x, y) == RGBOf(c); }

  // Rows of a rectangle: '.' white, '#' black, other colours by the legend,
  // '?' for the rest.
  std::vector<std::string> Rows(const TRect& r, const std::vector<std::pair<TColor, char>>& legend = {}) const {
    std::vector<std::string> rows;
    for (Integer y = r.Top; y < r.Bottom; ++y) {
      std::string s;
      for (Integer x = r.Left; x < r.Right; ++x) {
        const TColor c = Px(x, y);
        char ch = c == 0xFFFFFF ? '.' : c == 0 ? '#' : '?';
        for (const auto& [color, mark] : legend)
          if (RGBOf(color) == c) ch = mark;
        s += ch;
      }
      rows.push_back(s);
    }
    return rows;
  }

  Integer Count(TColor c) const {
    Integer n = 0;
    for (Integer y = 0; y < bitmap->Height(); ++y)
      for (Integer x = 0; x < bitmap->Width(); ++x) n += Is(x, y, c);
    return n;
  }

  std::unique_ptr<TBitmap> bitmap;
  std::unique_ptr<TcxCanvas> canvas;
};

class CanvasTest : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override { Reset(40, 30); }
};
