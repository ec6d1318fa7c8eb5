// A full repaint of an 800 x 600 window-sized bitmap: the mix a form with a
// grid and a few dozen controls produces.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/SysColors.h"

using namespace win;

namespace {

struct Scene {
  Scene() {
    dc = CreateCompatibleDC(nullptr);
    bm = CreateBitmap(800, 600, 1, 32, nullptr);
    oldBm = SelectObject(dc, bm);
    glyphDc = CreateCompatibleDC(dc);
    glyph = CreateBitmap(32, 32, 1, 32, nullptr);
    oldGlyph = SelectObject(glyphDc, glyph);
    RECT g{0, 0, 32, 32};
    FillRect(glyphDc, &g, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
    for (int i = 0; i < 300; ++i) {
      int x = (i * 37) % 760, y = (i * 53) % 570;
      rects.push_back({x, y, x + 40, y + 24});
      brushes.push_back(CreateSolidBrush(RGB(i % 256, (i * 7) % 256, (i * 13) % 256)));
    }
  }
  ~Scene() {
    for (HBRUSH b : brushes) DeleteObject(b);
    SelectObject(glyphDc, oldGlyph);
    DeleteDC(glyphDc);
    DeleteObject(glyph);
    SelectObject(dc, oldBm);
    DeleteDC(dc);
    DeleteObject(bm);
  }

  void Paint() {
    RECT all{0, 0, 800, 600};
    FillRect(dc, &all, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    for (size_t i = 0; i < 300; ++i) FillRect(dc, &rects[i], brushes[i]);
    HBRUSH frame = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    for (size_t i = 0; i < 300; ++i) FrameRect(dc, &rects[i], frame);
    for (int i = 0; i < 100; ++i) {
      MoveToEx(dc, 0, i * 6, nullptr);
      LineTo(dc, 799, (i * 6 + 300) % 600);
    }
    for (int i = 0; i < 50; ++i) BitBlt(dc, (i * 61) % 760, (i * 47) % 560, 32, 32, glyphDc, 0, 0, SRCCOPY);
  }

  HDC dc, glyphDc;
  HBITMAP bm, glyph;
  HGDIOBJ oldBm, oldGlyph;
  std::vector<RECT> rects;
  std::vector<HBRUSH> brushes;
};

void FullRepaint800x600(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) scene.Paint();
}
BENCHMARK(FullRepaint800x600)->Unit(benchmark::kMillisecond);

void FullRepaintClipped(benchmark::State& state) {
  // The same paint through a complex clip (a window partly covered by two others).
  Scene scene;
  HRGN clip = CreateRectRgn(0, 0, 800, 600);
  HRGN a = CreateRectRgn(100, 100, 300, 250);
  HRGN b = CreateRectRgn(500, 50, 700, 500);
  CombineRgn(clip, clip, a, RGN_DIFF);
  CombineRgn(clip, clip, b, RGN_DIFF);
  SelectClipRgn(scene.dc, clip);
  for (auto _ : state) scene.Paint();
  for (HRGN h : {clip, a, b}) DeleteObject(h);
}
BENCHMARK(FullRepaintClipped)->Unit(benchmark::kMillisecond);

}  // namespace
