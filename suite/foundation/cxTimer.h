// Hidden message windows and the suite's timer component: an object that
// owns a hidden window and handles its messages, and timers whose system
// timers all run on one shared hidden window.
#pragma once

#include "platform/rtl/Components.h"
#include "platform/win/WinUser.h"

struct TMessage;

// Owns one hidden window; every message of it reaches HandleMessage.
class TcxMessageWindow : public TObject {
  VXN_DECLARE_CLASS(TcxMessageWindow)

 public:
  TcxMessageWindow();
  ~TcxMessageWindow() override;
  win::HWND Handle() const { return FHandle; }

 protected:
  // Passes the message to the default window procedure.
  virtual void HandleMessage(TMessage& Message);

 private:
  void WndProc(TMessage& Message);
  win::HWND FHandle = nullptr;
};

// The shared message window, made on first use.
TcxMessageWindow* GetSharedMessageWindow();

// The window behind every TcxTimer: WM_TIMER of a running timer's id runs
// that timer; any other id is ignored.
class TcxTimerWindow : public TcxMessageWindow {
  VXN_DECLARE_CLASS(TcxTimerWindow)

 protected:
  void HandleMessage(TMessage& Message) override;
};

TcxTimerWindow* TimerWindow();

// A timer that runs exactly while it is enabled, has an OnTimer handler and
// the system granted it a timer. Ids are unique and only ever increase, so
// a tick still queued for a destroyed timer never reaches a newer one.
class TcxTimer : public TComponent {
  VXN_DECLARE_CLASS(TcxTimer)

 public:
  explicit TcxTimer(TComponent* AOwner);
  ~TcxTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Milliseconds; 0 or an unchanged value is ignored.
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal Value);
  TNotifyEvent OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value);

  bool Running() const { return FRunning; }
  win::UINT_PTR TimerId() const { return FTimerId; }

 protected:
  virtual void TimeOut();

 private:
  friend class TcxTimerWindow;
  void UpdateTimer();
  void StopTimer();

  bool FEnabled = true;
  win::UINT_PTR FTimerId;
  Cardinal FInterval = 1000;
  bool FRunning = false;
  TNotifyEvent FOnTimer;
};

// The ids of the timers that hold a system timer now.
bool IsTimerRunning(win::UINT_PTR Id);
