// Repainting one small child of a window with 100 children: only that child
// may be painted, and the whole round (invalidate, find the window that needs
// painting, BeginPaint with its clipping, fill, EndPaint) stays well under a
// millisecond.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"

using namespace win;

namespace {

long paints = 0;
HWND lastPainted = nullptr;

LRESULT CellProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    ++paints;
    lastPainted = hwnd;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_INFOBK + 1)));
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void RegisterCellClass() {
  WNDCLASSEX wc;
  if (GetClassInfoEx(nullptr, "VxnBenchCell", &wc)) return;
  wc = WNDCLASSEX{};
  wc.lpfnWndProc = CellProc;
  wc.lpszClassName = "VxnBenchCell";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
  RegisterClassEx(&wc);
}

void PumpAll() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
}

void BM_RepaintOneSmallChildOfHundred(benchmark::State& state) {
  SetScreenSize(1024, 768);
  RegisterCellClass();
  HWND main = CreateWindowEx(0, "VxnBenchCell", "main", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                             800, 600, nullptr, nullptr, nullptr, nullptr);
  std::vector<HWND> cells;
  for (int i = 0; i < 100; ++i)
    cells.push_back(CreateWindowEx(0, "VxnBenchCell", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, (i % 10) * 70,
                                   (i / 10) * 50, 60, 40, main, nullptr, nullptr, nullptr));
  PumpAll();
  HWND target = cells[57];
  RECT part{10, 10, 30, 20};
  for (auto _ : state) {
    paints = 0;
    InvalidateRect(target, &part, TRUE);
    PumpAll();
    if (paints != 1 || lastPainted != target) {
      state.SkipWithError("something besides the invalidated child was painted");
      break;
    }
  }
  DestroyWindow(main);
  PumpAll();
}
BENCHMARK(BM_RepaintOneSmallChildOfHundred)->Unit(benchmark::kMicrosecond);

}  // namespace
