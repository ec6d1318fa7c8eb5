#include "suite/foundation/cxScrollBar.h"

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "tests/suite/foundation/TopLevelHost.h"

namespace {

using Host = TopLevelHost;

struct Recorder {
  std::vector<TScrollCode> codes;
  int changes = 0;
  void Scrolled(TObject*, TScrollCode Code, Integer&) { codes.push_back(Code); }
  void Changed(TObject*) { ++changes; }
  int Count(TScrollCode c) const { return static_cast<int>(std::count(codes.begin(), codes.end(), c)); }
};

class ScrollBar : public ::testing::Test {
 protected:
  void SetUp() override {
    win::SetScreenSize(800, 600);
    win::ResetInputState();
    host = std::make_unique<Host>();
    bar = new TcxScrollBar(host.get());
    bar->SetParent(host.get());
    bar->OnScroll = TScrollEvent(&rec, &Recorder::Scrolled);
    bar->OnChange = TNotifyEvent(&rec, &Recorder::Changed);
    host->HandleNeeded();
    Application->ProcessMessages();
  }
  void TearDown() override {
    host.reset();
    win::ResetInputState();
  }
  win::POINT Screen(Integer x, Integer y) {
    const TPoint p = bar->ClientToScreen({x, y});
    return {p.X, p.Y};
  }
  void Pump() { Application->ProcessMessages(); }

  std::unique_ptr<Host> host;
  TcxScrollBar* bar;
  Recorder rec;
};

TEST_F(ScrollBar, RangeRulesAndChangeNotices) {
  bar->SetPageSize(60);
  EXPECT_THROW(bar->SetMax(50), EInvalidOperation);
  EXPECT_EQ(bar->Max(), 100);
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(rec.changes, 1);
  bar->SetPosition(100);
  bar->SetMin(0);
  EXPECT_EQ(rec.changes, 1) << "unchanged values fire nothing";
}

TEST_F(ScrollBar, ThumbGeometry) {
  const Integer a = win::GetSystemMetrics(win::SM_CYHSCROLL);
  bar->SetBounds(0, 0, 200 + 2 * a, a);
  bar->SetScrollParams(0, 99, 10, 0);
  EXPECT_EQ(bar->ThumbRect().Width(), 20);
  EXPECT_EQ(bar->ThumbRect().Left, a);
  bar->SetPosition(90);
  EXPECT_EQ(bar->ThumbRect().Right, bar->SecondArrowRect().Left) << "touches the second arrow";
  EXPECT_EQ(bar->PageUpRect(), (TRect{a, 0, bar->ThumbRect().Left, a}));
  // Degenerate ranges put the thumb at the track's start and never divide by zero.
  for (auto [mn, mx, page] : {std::tuple{1, 10, 10}, std::tuple{5, 10, 10}, std::tuple{3, 3, 0}}) {
    bar->SetScrollParams(mn, mx, page, mx);
    if (!cxRectIsEmpty(bar->ThumbRect())) {
      EXPECT_EQ(bar->ThumbRect().Left, a) << mn << " " << mx;
    }
  }
  // Vertical: arrows limited to half the length.
  bar->SetKind(sbVertical);
  EXPECT_EQ(bar->Width(), a);
  bar->SetBounds(0, 0, a, 20);
  EXPECT_EQ(bar->FirstArrowRect(), (TRect{0, 0, a, 10}));
  EXPECT_TRUE(cxRectIsEmpty(bar->ThumbRect()));
  // Disabled: no thumb, no page areas.
  bar->SetBounds(0, 0, a, 200);
  bar->SetScrollParams(0, 99, 10, 0);
  bar->SetEnabled(false);
  EXPECT_TRUE(cxRectIsEmpty(bar->ThumbRect()));
  EXPECT_EQ(bar->PartState(ScrollBarPartLineUp), cxbsDisabled);
}

TEST_F(ScrollBar, HoldingAnArrowRepeatsAfter400ThenEvery60) {
  TFakeClockScope clock;
  bar->SetBounds(10, 10, 200, 17);
  Pump();
  bar->SetPosition(50);
  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(3, 5));
  Pump();
  EXPECT_EQ(rec.Count(scLineUp), 1);
  clock.Advance(399);
  Pump();
  EXPECT_EQ(rec.Count(scLineUp), 1);
  clock.Advance(1);
  Pump();
  EXPECT_EQ(rec.Count(scLineUp), 2);
  clock.Advance(60);
  Pump();
  EXPECT_EQ(rec.Count(scLineUp), 3);
  // Off the arrow the repeat pauses; back on it resumes.
  win::InjectMouseMove(Screen(100, 5));
  Pump();
  clock.Advance(120);
  Pump();
  EXPECT_EQ(rec.Count(scLineUp), 3);
  win::InjectMouseMove(Screen(3, 5));
  Pump();
  clock.Advance(60);
  Pump();
  EXPECT_EQ(rec.Count(scLineUp), 4);
  win::InjectMouseButton(win::VK_LBUTTON, false, Screen(3, 5));
  Pump();
  EXPECT_EQ(rec.codes.back(), scEndScroll);
  EXPECT_EQ(bar->PressedPart(), ScrollBarPartNone);
  EXPECT_EQ(bar->Position(), 46);
}

TEST_F(ScrollBar, DraggingTheThumbFarAwaySnapsBack) {
  for (bool unlimited : {false, true}) {
    bar->SetBounds(10, 10, 234, 17);
    bar->UnlimitedTracking = unlimited;
    bar->SetScrollParams(0, 99, 10, 20);
    Pump();
    const TRect thumb = bar->ThumbRect();
    const TPoint grip{(thumb.Left + thumb.Right) / 2, 8};
    win::InjectMouseButton(win::VK_LBUTTON, true, Screen(grip.X, grip.Y));
    Pump();
    win::InjectMouseMove(Screen(grip.X + 40, grip.Y));
    Pump();
    const Integer moved = bar->Position();
    EXPECT_GT(moved, 20);
    win::InjectMouseMove(Screen(grip.X + 40, grip.Y + 200));
    Pump();
    EXPECT_EQ(bar->Position(), unlimited ? moved : 20) << unlimited;
    win::InjectMouseButton(win::VK_LBUTTON, false, Screen(grip.X + 40, grip.Y + 200));
    Pump();
    EXPECT_EQ(rec.codes.back(), scEndScroll);
  }
}

}  // namespace
