#include "suite/foundation/cxTimer.h"

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/win/Messages.h"

namespace {

struct Ticks {
  int count = 0;
  void Tick(TObject*) { ++count; }
};

void Pump() { Application->ProcessMessages(); }

TEST(cxTimer, RunsOnlyEnabledWithAHandlerAtItsInterval) {
  TFakeClockScope clock;
  Ticks ticks;
  TcxTimer timer(nullptr);
  EXPECT_FALSE(timer.Running()) << "no handler, no system timer";
  timer.SetInterval(0);
  EXPECT_EQ(timer.Interval(), 1000u) << "0 keeps the interval";
  timer.SetInterval(100);
  timer.SetOnTimer(TNotifyEvent(&ticks, &Ticks::Tick));
  EXPECT_TRUE(timer.Running());
  EXPECT_TRUE(IsTimerRunning(timer.TimerId()));
  clock.Advance(99);
  Pump();
  EXPECT_EQ(ticks.count, 0);
  clock.Advance(1);
  Pump();
  EXPECT_EQ(ticks.count, 1);
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Running());
  clock.Advance(500);
  Pump();
  EXPECT_EQ(ticks.count, 1);
}

TEST(cxTimer, IdsAreUniqueAndAStaleTickIsIgnored) {
  Ticks ticks;
  win::UINT_PTR oldId;
  {
    TcxTimer old(nullptr);
    oldId = old.TimerId();
  }
  TcxTimer timer(nullptr);
  EXPECT_GT(timer.TimerId(), oldId);
  timer.SetOnTimer(TNotifyEvent(&ticks, &Ticks::Tick));
  win::SendMessage(TimerWindow()->Handle(), win::WM_TIMER, oldId, 0);
  EXPECT_EQ(ticks.count, 0);
  win::SendMessage(TimerWindow()->Handle(), win::WM_TIMER, timer.TimerId(), 0);
  EXPECT_EQ(ticks.count, 1);
  EXPECT_NE(GetSharedMessageWindow()->Handle(), nullptr);
  EXPECT_EQ(GetSharedMessageWindow(), GetSharedMessageWindow());
}

}  // namespace
