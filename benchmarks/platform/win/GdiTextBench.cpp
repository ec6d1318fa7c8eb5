// Text speed: a caption measured and drawn with a cached font, and a full
// 800 x 600 repaint with 300 short texts (a grid of channel cells).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/GdiFonts.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"

using namespace win;

namespace {

struct TextScene {
  TextScene(int w, int h) {
    dc = CreateCompatibleDC(nullptr);
    bm = CreateBitmap(w, h, 1, 32, nullptr);
    oldBm = SelectObject(dc, bm);
    font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    all = {0, 0, w, h};
  }
  ~TextScene() {
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBm);
    DeleteDC(dc);
    DeleteObject(bm);
  }
  HDC dc;
  HBITMAP bm;
  HFONT font;
  HGDIOBJ oldBm, oldFont;
  RECT all;
};

const char kCaption[] = "Channel 12: 145.500 MHz";

void BM_MeasureCaption(benchmark::State& state) {
  TextScene s(64, 32);
  SIZE size;
  for (auto _ : state) {
    GetTextExtentPoint32(s.dc, kCaption, sizeof kCaption - 1, &size);
    benchmark::DoNotOptimize(size);
  }
}
BENCHMARK(BM_MeasureCaption);

void BM_DrawCaption(benchmark::State& state) {
  TextScene s(200, 24);
  RECT r{2, 0, 198, 24};
  for (auto _ : state) {
    RECT box = r;
    DrawText(s.dc, kCaption, sizeof kCaption - 1, &box, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  }
}
BENCHMARK(BM_DrawCaption);

void BM_TextOutCaption(benchmark::State& state) {
  TextScene s(200, 24);
  for (auto _ : state) TextOut(s.dc, 2, 4, kCaption, sizeof kCaption - 1);
}
BENCHMARK(BM_TextOutCaption);

void BM_Repaint300Texts(benchmark::State& state) {
  TextScene s(800, 600);
  std::vector<std::string> texts;
  std::vector<RECT> cells;
  for (int i = 0; i < 300; ++i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, i % 3 == 0 ? "CH%03d" : i % 3 == 1 ? "%d.%03d" : "Tone %d", i, (i * 125) % 1000);
    texts.push_back(buf);
    int col = i % 10, row = i / 10;
    cells.push_back({col * 80, row * 20, col * 80 + 80, row * 20 + 20});
  }
  HBRUSH window = CreateSolidBrush(RGB(255, 255, 255));
  for (auto _ : state) {
    FillRect(s.dc, &s.all, window);
    for (size_t i = 0; i < texts.size(); ++i) {
      RECT r = cells[i];
      DrawText(s.dc, texts[i].c_str(), static_cast<int>(texts[i].size()), &r,
               DT_SINGLELINE | DT_VCENTER | (i % 2 ? DT_RIGHT : DT_LEFT) | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
  }
  DeleteObject(window);
}
BENCHMARK(BM_Repaint300Texts)->Unit(benchmark::kMillisecond);

}  // namespace
