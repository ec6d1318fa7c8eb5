// A small white 32-bit bitmap in a memory DC, with helpers that read pixels
// back as text so that expected pictures can be written as rows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"

class GdiCanvas : public ::testing::Test {
 protected:
  void SetUp() override { Reset(16, 16); }
  void TearDown() override { Free(); }

  void Reset(int width, int height) {
    Free();
    width_ = width;
    height_ = height;
    dc = win::CreateCompatibleDC(nullptr);
    bitmap = win::CreateBitmap(width, height, 1, 32, nullptr);
    old = win::SelectObject(dc, bitmap);
    Clear();
  }

  void Clear() {
    win::RECT all{0, 0, width_, height_};
    win::FillRect(dc, &all, static_cast<win::HBRUSH>(win::GetStockObject(win::WHITE_BRUSH)));
  }

  void Free() {
    if (!dc) return;
    win::SelectObject(dc, old);
    win::DeleteDC(dc);
    win::DeleteObject(bitmap);
    dc = nullptr;
  }

  // The whole picture, row by row, whatever the DC's origins and clip.
  std::vector<win::COLORREF> Snap() const {
    std::vector<uint32_t> px(static_cast<size_t>(width_ * height_));
    win::BITMAPINFO info{};
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biBitCount = 32;
    win::GetDIBits(dc, bitmap, 0, static_cast<win::UINT>(height_), px.data(), &info, win::DIB_RGB_COLORS);
    std::vector<win::COLORREF> out(px.size());
    for (size_t i = 0; i < px.size(); ++i) out[i] = win::RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF);
    return out;
  }

  // Device pixel, whatever the DC's origins and clip.
  win::COLORREF Pixel(int x, int y) const { return Snap()[static_cast<size_t>(y * width_ + x)]; }

  // Rows of the rectangle as characters: '.' white, '#' black, other
  // colours by the legend, '?' for anything else.
  std::vector<std::string> Rows(int left, int top, int right, int bottom,
                                const std::map<win::COLORREF, char>& legend = {}) const {
    const std::vector<win::COLORREF> px = Snap();
    std::vector<std::string> rows;
    for (int y = top; y < bottom; ++y) {
      std::string s;
      for (int x = left; x < right; ++x) {
        win::COLORREF c = px[static_cast<size_t>(y * width_ + x)];
        auto it = legend.find(c);
        s += it != legend.end() ? it->second : c == win::RGB(255, 255, 255) ? '.' : c == 0 ? '#' : '?';
      }
      rows.push_back(s);
    }
    return rows;
  }

  int CountColor(win::COLORREF c) const {
    const std::vector<win::COLORREF> px = Snap();
    return static_cast<int>(std::count(px.begin(), px.end(), c));
  }

  win::HDC dc = nullptr;
  win::HBITMAP bitmap = nullptr;
  win::HGDIOBJ old = nullptr;
  int width_ = 0;
  int height_ = 0;
};
