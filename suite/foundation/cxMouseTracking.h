// Mouse-leave tracking for objects that need to know when the pointer has
// left them: a 10 ms timer per tracked caller checks where the cursor is.
#pragma once

#include "platform/forms/Controls.h"
#include "suite/foundation/cxTimer.h"

// Told once when the mouse has left.
class IcxMouseTrackingCaller {
 public:
  static constexpr const char* IID = "{84A4BCBE-E001-4D60-B7A6-75E2B0DCD3E9}";
  virtual ~IcxMouseTrackingCaller() = default;
  virtual void MouseLeave() = 0;
};

// Optional for a caller: whether a client point of the tracked control still
// belongs to it.
class IcxMouseTrackingHitTest {
 public:
  static constexpr const char* IID = "{3A5D973B-F016-4F22-80B6-1D35668D7743}";
  virtual ~IcxMouseTrackingHitTest() = default;
  virtual bool PtInCaller(const TPoint& P) = 0;
};

class TMouseTrackingTimer : public TcxTimer {
  VXN_DECLARE_CLASS(TMouseTrackingTimer)

 public:
  TMouseTrackingTimer();
  TWinControl* Control = nullptr;
  TRect Bounds;  // screen coordinates
  IcxMouseTrackingCaller* Caller = nullptr;

 protected:
  void TimeOut() override;

 private:
  void Tick(TObject*) {}
};

// Nothing when the caller is tracked already. R is in AControl's client
// coordinates (screen coordinates without a control).
void BeginMouseTracking(TWinControl* AControl, const TRect& R, IcxMouseTrackingCaller* ACaller);
void EndMouseTracking(IcxMouseTrackingCaller* ACaller);
bool IsMouseTracked(IcxMouseTrackingCaller* ACaller);
Integer MouseTrackingCount();
// Program end: timers a caller forgot to end are freed quietly.
void FinalizeMouseTracking();
