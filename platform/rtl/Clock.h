// The one clock of the program: monotonic tick counts, the wall time and
// pauses. Tests install a fake clock and advance it by hand, so timers,
// time-outs and time stamps run without real waiting.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/rtl/System.h"

class TClock {
 public:
  virtual ~TClock() = default;
  // Milliseconds since an arbitrary start; never goes backwards.
  virtual UInt64 TickCount64() = 0;
  // Local wall time.
  virtual TDateTime Now() = 0;
  virtual void Sleep(Cardinal milliseconds) = 0;
};

// The clock of the machine (CLOCK_MONOTONIC, CLOCK_REALTIME, nanosleep).
class TSystemClock : public TClock {
 public:
  UInt64 TickCount64() override;
  TDateTime Now() override;
  void Sleep(Cardinal milliseconds) override;
};

// A clock that moves only when told. Sleep advances it instead of waiting.
// Reading and advancing are thread-safe.
class TFakeClock : public TClock {
 public:
  // Starts at the given tick count and wall time (2024-01-01 12:00 by default).
  explicit TFakeClock(UInt64 startTicks = 1000, TDateTime startNow = 45292.5);

  UInt64 TickCount64() override;
  TDateTime Now() override;
  void Sleep(Cardinal milliseconds) override;

  // Moves the tick count and the wall time forward together.
  void Advance(UInt64 milliseconds);
  // Sets the wall time alone (a user changing the system clock).
  void SetNow(TDateTime now);
  void SetTickCount(UInt64 ticks);

 private:
  mutable std::mutex lock_;
  UInt64 ticks_;
  TDateTime now_;
  UInt64 advanced_;
};

// The clock in use; the system clock unless a test installed another.
TClock& CurrentClock();
// Installs a clock (not owned); nullptr goes back to the system clock.
// Returns the clock installed before.
TClock* InstallClock(TClock* clock);

// Installs a fake clock for the lifetime of the scope.
class TFakeClockScope {
 public:
  explicit TFakeClockScope(UInt64 startTicks = 1000, TDateTime startNow = 45292.5)
      : clock_(startTicks, startNow), previous_(InstallClock(&clock_)) {}
  ~TFakeClockScope() { InstallClock(previous_); }
  TFakeClockScope(const TFakeClockScope&) = delete;
  TFakeClockScope& operator=(const TFakeClockScope&) = delete;

  TFakeClock& Clock() { return clock_; }
  void Advance(UInt64 milliseconds) { clock_.Advance(milliseconds); }

 private:
  TFakeClock clock_;
  TClock* previous_;
};

// Milliseconds of the current clock; the 32-bit form wraps after 49.7 days as
// on Windows.
Cardinal GetTickCount();
UInt64 GetTickCount64();
// Wall time of the current clock; Now, Date and Time are built on it.
TDateTime ClockNow();
// Pauses on the current clock.
void Sleep(Cardinal milliseconds);
