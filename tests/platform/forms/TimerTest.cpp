#include "platform/forms/Timer.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/rtl/Clock.h"

using namespace formstest;

namespace {

class TimerTest : public FormsTest {
 protected:
  struct Ticks {
    std::vector<UInt64> at;
    bool fail = false;
    void OnTimer(TObject*) {
      at.push_back(GetTickCount64());
      if (fail) throw Exception("tick failed");
    }
  };

  // Advances the fake clock in 100 ms steps, running the loop after each.
  void Run(TFakeClockScope& clock, int steps) {
    for (int i = 0; i < steps; ++i) {
      clock.Advance(100);
      Pump();
    }
  }
};

TEST_F(TimerTest, TicksOnItsIntervalAndReEnablingKeepsThePeriod) {
  TFakeClockScope clock(0);
  Ticks ticks;
  TTimer timer(nullptr);
  EXPECT_FALSE(timer.Running());  // no handler, no system timer
  timer.SetOnTimer(TNotifyEvent(&ticks, &Ticks::OnTimer));
  EXPECT_TRUE(timer.Running());
  Run(clock, 15);
  EXPECT_EQ(ticks.at, std::vector<UInt64>{1000});
  timer.SetEnabled(true);  // already enabled: the period runs on
  Run(clock, 5);
  EXPECT_EQ(ticks.at, (std::vector<UInt64>{1000, 2000}));

  // Off and on again starts a new period; so does a new interval.
  timer.SetEnabled(false);
  timer.SetEnabled(true);  // at 2000
  Run(clock, 5);           // 2500
  timer.SetInterval(300);
  Run(clock, 7);  // 3200
  EXPECT_EQ(ticks.at, (std::vector<UInt64>{1000, 2000, 2800, 3100}));

  timer.SetInterval(0);
  EXPECT_FALSE(timer.Running());
  Run(clock, 10);
  EXPECT_EQ(ticks.at.size(), 4u);
}

TEST_F(TimerTest, ExceptionInOnTimerGoesToTheApplication) {
  TFakeClockScope clock(0);
  Application->SetTitle("VXN");
  Ticks ticks;
  ticks.fail = true;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  timer.SetOnTimer(TNotifyEvent(&ticks, &Ticks::OnTimer));
  Run(clock, 1);
  EXPECT_EQ(Boxes, std::vector<std::string>{"VXN: tick failed."});
  EXPECT_TRUE(timer.Running());
}

TEST_F(TimerTest, NoTickAfterTheTimerIsGone) {
  TFakeClockScope clock(0);
  Ticks ticks;
  auto* timer = new TTimer(nullptr);
  timer->SetInterval(100);
  timer->SetOnTimer(TNotifyEvent(&ticks, &Ticks::OnTimer));
  clock.Advance(150);  // due, not yet taken from the queue
  timer->Free();
  Pump();
  EXPECT_TRUE(ticks.at.empty());
}

}  // namespace
