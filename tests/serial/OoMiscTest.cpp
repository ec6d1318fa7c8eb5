#include "serial/OoMisc.h"

#include <gtest/gtest.h>

#include "platform/rtl/Clock.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "platform/rtl/TypInfo.h"

namespace {

TEST(OoMisc, MillisecondClockIsTheLow32BitsOfTheClock) {
  TFakeClockScope clock((UInt64{1} << 32) + 5);
  EXPECT_EQ(MillisecondClock(), 5u);
}

// The start is truncated to a whole 55 ms tick, and expiry needs a tick
// beyond the expiry tick: 36 ticks expire 1981 to 2035 ms later.
TEST(OoMisc, TimerOf36TicksExpiresBetween1981And2035Ms) {
  struct Case {
    UInt64 start;
    UInt64 lastNotExpired;
  };
  for (Case c : {Case{55 * 1000, 2034}, Case{55 * 1000 + 54, 1980}}) {
    TFakeClockScope clock(c.start);
    EventTimer timer;
    StartEventTimer(timer, 36);
    clock.Advance(c.lastNotExpired);
    EXPECT_FALSE(EventTimerExpired(timer)) << c.start;
    clock.Advance(1);
    EXPECT_TRUE(EventTimerExpired(timer)) << c.start;
  }
}

TEST(OoMisc, LongRequestsAreCutAndTimersSurviveThe32BitWrap) {
  TFakeClockScope clock(1000);
  EventTimer timer;
  StartEventTimer(timer, 50000000);
  EXPECT_EQ(timer.ExpireTicks - timer.StartTicks, MaxEventTimerTicks);

  // Started just before the 32-bit millisecond count wraps.
  clock.Clock().SetTickCount((UInt64{1} << 32) - 100);
  StartEventTimer(timer, 1000);
  clock.Advance(200);
  EXPECT_FALSE(EventTimerExpired(timer));
  clock.Advance(55 * 1001);
  EXPECT_TRUE(EventTimerExpired(timer));
}

TEST(OoMisc, PumpOneMessageLeavesAQuitMessageInTheQueue) {
  win::PostThreadMessage(win::GetCurrentThreadId(), 0x0400, 1, 2);
  PumpOneMessage();  // takes the posted message
  win::PostQuitMessage(7);
  PumpOneMessage();
  win::MSG msg;
  ASSERT_TRUE(win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE));
  EXPECT_EQ(msg.message, win::WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE));
}

TEST(OoMisc, BaseComponentPublishesAReadOnlyVersion) {
  TApdBaseComponent component(nullptr);
  const TPropInfo* prop = GetPropInfo(&component, "Version");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(GetStrProp(&component, *prop), "v4.05");
  component.SetVersion("v9");
  EXPECT_EQ(component.GetVersion(), "v4.05");
}

}  // namespace
