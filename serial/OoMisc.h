// Small shared services of the serial code: the base class of its
// components, a millisecond clock, event timers counted in 55 ms ticks, and a
// one-message pump for the user-interface thread while it waits for workers.
#pragma once

#include <string>

#include "platform/rtl/Components.h"
#include "platform/rtl/System.h"

inline constexpr const char* ApdVersionStr = "v4.05";

// The base of the serial component classes: a component with the published,
// read-only Version.
class TApdBaseComponent : public TComponent {
  VXN_DECLARE_CLASS(TApdBaseComponent)

 public:
  explicit TApdBaseComponent(TComponent* AOwner) : TComponent(AOwner) {}

  std::string GetVersion() const { return ApdVersionStr; }
  // Written by form files; the version is the code's, so the value is dropped.
  void SetVersion(const std::string& Value) { (void)Value; }
};

// Milliseconds of the program's clock, wrapping at 2^32.
Cardinal MillisecondClock();

// The longest timer, in 55 ms ticks (about 24.8 days).
inline constexpr Int64 MaxEventTimerTicks = 39045157;

// A timer in 55 ms ticks of the program's clock. The ticks are counted on the
// 64-bit clock, so a timer never reads "not expired" once the 32-bit
// millisecond count has wrapped (the original compared wrapped values).
struct EventTimer {
  Int64 StartTicks = 0;
  Int64 ExpireTicks = 0;
};

// Starts the timer; more than MaxEventTimerTicks are cut to that.
void StartEventTimer(EventTimer& ET, Int64 Ticks);
// Expired once a tick beyond the expiry tick has begun.
bool EventTimerExpired(const EventTimer& ET);

// Processes at most one pending message of the calling thread without
// waiting; a quit message is posted again so that the message loop still sees
// it.
void PumpOneMessage();
