#include "platform/rtl/Clock.h"

#include <gtest/gtest.h>

#include <ctime>
#include <thread>
#include <vector>

namespace {

TEST(ClockTest, FakeClockMovesOnlyWhenTold) {
  TFakeClockScope fake(5000, 45292.5);
  EXPECT_EQ(GetTickCount(), 5000u);
  EXPECT_EQ(GetTickCount64(), 5000u);
  EXPECT_DOUBLE_EQ(ClockNow(), 45292.5);

  Sleep(250);  // advances instead of waiting
  EXPECT_EQ(GetTickCount(), 5250u);
  fake.Advance(1000);
  EXPECT_EQ(GetTickCount64(), 6250u);
  // Many small steps add up exactly on the wall time.
  for (int i = 0; i < 86399; ++i) fake.Advance(1);
  EXPECT_NEAR((ClockNow() - 45292.5) * 86400000.0, 1250 + 86399, 1e-3);

  fake.Clock().SetNow(45000.25);
  EXPECT_DOUBLE_EQ(ClockNow(), 45000.25);
  EXPECT_EQ(GetTickCount64(), 6250u + 86399u);  // setting the date leaves the ticks alone
}

TEST(ClockTest, TickCountWrapsLikeTheSystemsThirtyTwoBitCounter) {
  TFakeClockScope fake(0xFFFFFFFFull - 10);
  fake.Advance(15);
  EXPECT_EQ(GetTickCount(), 4u);
  EXPECT_EQ(GetTickCount64(), 0x100000004ull);
}

TEST(ClockTest, ScopesNestAndRestore) {
  TClock* system = &CurrentClock();
  {
    TFakeClockScope outer(100);
    {
      TFakeClockScope inner(900);
      EXPECT_EQ(GetTickCount(), 900u);
    }
    EXPECT_EQ(GetTickCount(), 100u);
  }
  EXPECT_EQ(&CurrentClock(), system);
}

TEST(ClockTest, FakeClockIsSafeToReadWhileAdvancing) {
  TFakeClockScope fake(0);
  std::vector<std::thread> readers;
  std::atomic<bool> backwards{false};
  for (int t = 0; t < 3; ++t)
    readers.emplace_back([&] {
      UInt64 last = 0;
      for (int i = 0; i < 20000; ++i) {
        UInt64 now = GetTickCount64();
        if (now < last) backwards = true;
        last = now;
      }
    });
  for (int i = 0; i < 20000; ++i) fake.Advance(1);
  for (auto& r : readers) r.join();
  EXPECT_FALSE(backwards);
  EXPECT_EQ(GetTickCount64(), 20000u);
}

TEST(ClockTest, SystemClockIsMonotonicAndShowsLocalTime) {
  UInt64 before = GetTickCount64();
  Sleep(30);
  UInt64 after = GetTickCount64();
  EXPECT_GE(after - before, 30u);
  EXPECT_LT(after - before, 5000u);

  time_t t = time(nullptr);
  tm local;
  localtime_r(&t, &local);
  double expected = 25569.0 + static_cast<double>(t + local.tm_gmtoff) / 86400.0;
  EXPECT_NEAR(ClockNow(), expected, 5.0 / 86400.0);
}

}  // namespace
