// Text test helpers: a 32-bit canvas with a font selected, whole-picture
// reads, ink boxes and a font maker.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/platform/win/GdiFixture.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiText.h"

inline win::HFONT MakeFont(const char* face, int height, int weight = win::FW_NORMAL, int escapement = 0, win::BYTE charSet = win::DEFAULT_CHARSET,
               win::BYTE pitch = 0) {
  return win::CreateFont(height, 0, escapement, escapement, weight, 0, 0, 0, charSet, 0, 0, 0, pitch, face);
}

// A 32-bit canvas with a font selected and helpers that read the whole
// picture at once.
class TextCanvas : public GdiCanvas {
 protected:
  void SetUp() override { Start(240, 80); }
  void TearDown() override {
    if (dc) win::SelectObject(dc, win::GetStockObject(win::SYSTEM_FONT));
    for (win::HFONT f : fonts_) win::DeleteObject(f);
    fonts_.clear();
    GdiCanvas::TearDown();
  }

  void Start(int w, int h) {
    Reset(w, h);
    win::SetBkMode(dc, win::TRANSPARENT);
    Use("Arial", -13);
  }

  win::HFONT Use(const char* face, int height, int weight = win::FW_NORMAL, int escapement = 0) {
    win::HFONT f = MakeFont(face, height, weight, escapement);
    fonts_.push_back(f);
    win::SelectObject(dc, f);
    return f;
  }

  // Bounding box of the pixels of colour c (of every non-white pixel when c
  // is win::CLR_INVALID); empty when there are none.
  win::RECT Ink(win::COLORREF c = win::CLR_INVALID) const {
    std::vector<win::COLORREF> px = Snap();
    win::RECT r{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) {
        win::COLORREF p = px[static_cast<size_t>(y * width_ + x)];
        if (c == win::CLR_INVALID ? p != win::RGB(255, 255, 255) : p == c) {
          r.left = std::min<win::LONG>(r.left, x);
          r.top = std::min<win::LONG>(r.top, y);
          r.right = std::max<win::LONG>(r.right, x + 1);
          r.bottom = std::max<win::LONG>(r.bottom, y + 1);
        }
      }
    if (r.left >= r.right) return {};
    return r;
  }

  win::SIZE Extent(const std::string& s) {
    win::SIZE sz{};
    EXPECT_TRUE(win::GetTextExtentPoint32(dc, s.data(), static_cast<int>(s.size()), &sz));
    return sz;
  }

  win::TEXTMETRIC Metrics() {
    win::TEXTMETRIC tm;
    EXPECT_TRUE(win::GetTextMetrics(dc, &tm));
    return tm;
  }

  void Out(int x, int y, const std::string& s) { win::TextOut(dc, x, y, s.data(), static_cast<int>(s.size())); }

  std::vector<win::HFONT> fonts_;
};

inline bool Inside(const win::RECT& inner, const win::RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

inline std::string Str(const win::RECT& r) {
  char b[64];
  std::snprintf(b, sizeof b, "(%d,%d,%d,%d)", r.left, r.top, r.right, r.bottom);
  return b;
}
