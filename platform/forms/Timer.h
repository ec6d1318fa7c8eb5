// TTimer: a component that fires OnTimer every Interval milliseconds on the
// program's clock, through a hidden window of its own.
#pragma once

#include "platform/forms/Controls.h"

inline constexpr const char* SNoTimers = "Not enough timers available";

class TTimer : public TComponent {
  VXN_DECLARE_CLASS(TTimer)

 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  // Setting the value it already has changes nothing: a running timer
  // keeps its period.
  bool Enabled() const { return Enabled_; }
  void SetEnabled(bool Value);
  // Milliseconds; a change restarts the period, 0 stops the timer.
  Cardinal Interval() const { return Interval_; }
  void SetInterval(Cardinal Value);
  TNotifyEvent GetOnTimer() const { return OnTimer_; }
  void SetOnTimer(TNotifyEvent Value);
  // Whether a system timer runs now (enabled, an interval and a handler).
  bool Running() const { return Running_; }

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  bool Enabled_ = true;
  Cardinal Interval_ = 1000;
  TNotifyEvent OnTimer_;
  win::HWND WindowHandle_;
  bool Running_ = false;
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterTimerClasses();
