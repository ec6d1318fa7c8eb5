// A cell grid on a host window of the headless screen, and a log of the
// grid's events, for the grid's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/CellGrid.h"
#include "tests/platform/forms/FormsFixture.h"
#include "platform/rtl/Clock.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"

namespace gridtest {

// Handlers that write what they were told, one line per event.
class TEventLog : public TObject {
 public:
  std::vector<std::string> Lines;
  bool AllowSelect = true;

  void Attach(TCustomCellGrid* g) {
    g->OnSelectCell = TSelectCellEvent(this, &TEventLog::SelectCell);
    g->OnSetForeText = TSetCellTextEvent(this, &TEventLog::SetForeText);
    g->OnSetBackText = TSetCellTextEvent(this, &TEventLog::SetBackText);
    g->OnSetEditText = TSetEditEvent(this, &TEventLog::SetEditText);
    g->OnHideEdit = TSetEditEvent(this, &TEventLog::HideEdit);
    g->OnCopyMoveCells = TCellRangesEvent(this, &TEventLog::CopyMove);
    g->OnFillCells = TCellRangesEvent(this, &TEventLog::Fill);
    g->OnTopLeftChanged = TNotifyEvent(this, &TEventLog::TopLeft);
    g->OnMouseDown = TMouseEvent(this, &TEventLog::MouseDown);
    g->OnClick = TNotifyEvent(this, &TEventLog::Click);
  }
  void SelectCell(TObject*, Integer c, Integer r, bool& can) {
    Lines.push_back("select " + Cell(c, r));
    can = AllowSelect;
  }
  void SetForeText(TObject*, Integer c, Integer r, std::string& v) {
    Lines.push_back("fore " + Cell(c, r) + " " + v);
  }
  void SetBackText(TObject*, Integer c, Integer r, std::string& v) {
    Lines.push_back("back " + Cell(c, r) + " " + v);
  }
  void SetEditText(TObject*, Integer c, Integer r, const std::string& v) {
    Lines.push_back("edit " + Cell(c, r) + " " + v);
  }
  void HideEdit(TObject*, Integer c, Integer r, const std::string& v) {
    Lines.push_back("hide " + Cell(c, r) + " " + v);
  }
  void CopyMove(TObject*, TRect s, TRect d) {
    Lines.push_back("copymove " + Rect(s) + " " + Rect(d));
  }
  void Fill(TObject*, TRect s, TRect d) { Lines.push_back("fill " + Rect(s) + " " + Rect(d)); }
  void TopLeft(TObject*) { Lines.push_back("topleft"); }
  void MouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {
    Lines.push_back("mousedown");
  }
  void Click(TObject*) { Lines.push_back("click"); }

  bool Has(const std::string& line) const {
    for (const std::string& l : Lines)
      if (l == line) return true;
    return false;
  }
  static std::string Cell(Integer c, Integer r) {
    return std::to_string(c) + "," + std::to_string(r);
  }
  static std::string Rect(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" + std::to_string(r.Right) +
           "," + std::to_string(r.Bottom);
  }
};

class GridTest : public formstest::HostedTest {
 protected:
  void SetUp() override {
    HostedTest::SetUp();
    host->SetBounds(20, 20, 700, 500);
    grid = Place<TCellGrid>(10, 10, 400, 150);
  }

  // No border and no scroll bars: the client area is the control.
  void Plain() {
    grid->SetBorderStyle(bsNone);
    grid->SetScrollBars(ssNone);
  }
  // Writes a merged range the way callers do: into every cell of it.
  void Merge(TGridRect r) {
    for (Integer c = r.Left; c <= r.Right; ++c)
      for (Integer row = r.Top; row <= r.Bottom; ++row) grid->CellAt(c, row)->MergeRect = r;
  }
  win::POINT At(Integer x, Integer y) {
    TPoint p = grid->ClientToScreen({x, y});
    return {p.X, p.Y};
  }
  // The screen point at the middle of a cell.
  win::POINT Mid(Integer col, Integer row) {
    TRect r = grid->CellRect(col, row);
    return At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // Presses a second apart, so that two of them never make a double click.
  void Click(win::POINT p) {
    clock.Advance(1000);
    win::InjectClick(p);
    Pump();
  }
  void Drag(win::POINT from, win::POINT to, bool ctrl = false) {
    clock.Advance(1000);
    if (ctrl) win::InjectKey(win::VK_CONTROL, true);
    win::InjectDrag(from, to, 6);
    if (ctrl) win::InjectKey(win::VK_CONTROL, false);
    Pump();
  }
  void Repaint() {
    win::RedrawWindow(host->Handle(), nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_ALLCHILDREN | win::RDW_UPDATENOW);
  }
  TColor Pixel(Integer x, Integer y) {
    TPoint p = host->ScreenToClient(grid->ClientToScreen({x, y}));
    return formstest::PixelAt(*host, p.X, p.Y);
  }

  TFakeClockScope clock;
  TCellGrid* grid = nullptr;
};

}  // namespace gridtest
