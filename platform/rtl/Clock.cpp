#include "platform/rtl/Clock.h"

#include <cerrno>
#include <ctime>

#include "platform/rtl/SysUtils.h"

namespace {

// Days from 1899-12-30 to 1970-01-01.
constexpr double kUnixEpochDays = 25569.0;

TSystemClock& SystemClock() {
  static TSystemClock clock;
  return clock;
}

std::atomic<TClock*> currentClock{nullptr};

}  // namespace

UInt64 TSystemClock::TickCount64() {
  timespec ts;
  CheckOSCall(clock_gettime(CLOCK_MONOTONIC, &ts), "clock_gettime");
  return static_cast<UInt64>(ts.tv_sec) * 1000 + static_cast<UInt64>(ts.tv_nsec) / 1000000;
}

TDateTime TSystemClock::Now() {
  timespec ts;
  CheckOSCall(clock_gettime(CLOCK_REALTIME, &ts), "clock_gettime");
  tm local;
  if (!localtime_r(&ts.tv_sec, &local)) RaiseLastOSError("localtime_r");
  // Whole milliseconds, as the system's time record carries them.
  double seconds =
      static_cast<double>(ts.tv_sec + local.tm_gmtoff) + (ts.tv_nsec / 1000000) / 1000.0;
  return kUnixEpochDays + seconds / 86400.0;
}

void TSystemClock::Sleep(Cardinal milliseconds) {
  timespec request{static_cast<time_t>(milliseconds / 1000),
                   static_cast<long>(milliseconds % 1000) * 1000000L};
  timespec remaining;
  while (nanosleep(&request, &remaining) != 0) {
    if (errno != EINTR) RaiseLastOSError("nanosleep");
    request = remaining;
  }
}

TFakeClock::TFakeClock(UInt64 startTicks, TDateTime startNow)
    : ticks_(startTicks), now_(startNow), advanced_(0) {}

UInt64 TFakeClock::TickCount64() {
  std::lock_guard<std::mutex> guard(lock_);
  return ticks_;
}

TDateTime TFakeClock::Now() {
  std::lock_guard<std::mutex> guard(lock_);
  // Whole milliseconds since SetNow, so many small steps add up exactly.
  return now_ + static_cast<double>(advanced_) / 86400000.0;
}

void TFakeClock::Sleep(Cardinal milliseconds) {
  Advance(milliseconds);
}

void TFakeClock::Advance(UInt64 milliseconds) {
  std::lock_guard<std::mutex> guard(lock_);
  ticks_ += milliseconds;
  advanced_ += milliseconds;
}

void TFakeClock::SetNow(TDateTime now) {
  std::lock_guard<std::mutex> guard(lock_);
  now_ = now;
  advanced_ = 0;
}

void TFakeClock::SetTickCount(UInt64 ticks) {
  std::lock_guard<std::mutex> guard(lock_);
  ticks_ = ticks;
}

TClock& CurrentClock() {
  TClock* clock = currentClock.load(std::memory_order_acquire);
  return clock ? *clock : SystemClock();
}

TClock* InstallClock(TClock* clock) {
  TClock* previous = currentClock.exchange(clock, std::memory_order_acq_rel);
  return previous;
}

Cardinal GetTickCount() {
  return static_cast<Cardinal>(CurrentClock().TickCount64());
}
UInt64 GetTickCount64() {
  return CurrentClock().TickCount64();
}
TDateTime ClockNow() {
  return CurrentClock().Now();
}
void Sleep(Cardinal milliseconds) {
  CurrentClock().Sleep(milliseconds);
}
