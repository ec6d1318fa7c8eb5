// A full repaint of a grid the size of the channel table: 16 columns by 20
// rows, every cell with a text, all of it in view. The target is well under
// 2 ms a paint.
#include <benchmark/benchmark.h>

#include <string>

#include "controls/CellGrid.h"
#include "controls/ControlsStartup.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"

using namespace win;

namespace {

LRESULT HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void BM_FullRepaintOfAChannelTableGrid(benchmark::State& state) {
  InitializeControls();
  SetScreenSize(1600, 900);
  WNDCLASSEX wc;
  if (!GetClassInfoEx(nullptr, "VxnBenchGridHost", &wc)) {
    wc = WNDCLASSEX{};
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = "VxnBenchGridHost";
    RegisterClassEx(&wc);
  }
  HWND host = CreateWindowEx(0, "VxnBenchGridHost", "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                             0, 0, 1500, 800, nullptr, nullptr, nullptr, nullptr);
  {
    TCellGrid grid(nullptr);
    grid.SetParentWindow(host);
    grid.SetBounds(0, 0, 1400, 700);
    grid.SetColCount(16);
    grid.SetRowCount(20);
    grid.SetDefaultColWidth(84);
    grid.SetDefaultRowHeight(32);
    grid.SetCellAlignMode(TAlignMode::taCenter);
    for (Integer c = 1; c < 16; ++c)
      for (Integer r = 1; r < 20; ++r)
        grid.CellAt(c, r)->ForeText = c == 1 ? "CH" + std::to_string(r) : "145.2500";
    grid.HandleNeeded();
    ShowWindow(grid.Handle(), SW_SHOW);
    RedrawWindow(grid.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    for (auto _ : state)
      RedrawWindow(grid.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  DestroyWindow(host);
}
BENCHMARK(BM_FullRepaintOfAChannelTableGrid)->Unit(benchmark::kMillisecond);

}  // namespace
