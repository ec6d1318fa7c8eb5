#include "platform/forms/Timer.h"

#include "platform/forms/Forms.h"
#include "platform/win/Messages.h"

using namespace win;

namespace {
constexpr UINT_PTR kTimerId = 1;
}

VXN_IMPLEMENT_CREATABLE_CLASS(TTimer, TComponent)
VXN_PUBLISH(TTimer) {
  P.Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
  P.Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
  P.Event("OnTimer", &TTimer::GetOnTimer, &TTimer::SetOnTimer);
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), WindowHandle_(AllocateHWnd(TWndMethod(this, &TTimer::WndProc))) {}

TTimer::~TTimer() {
  Enabled_ = false;
  UpdateTimer();
  // A tick already queued for the window goes with it.
  DeallocateHWnd(WindowHandle_);
}

void TTimer::UpdateTimer() {
  if (Running_) KillTimer(WindowHandle_, kTimerId);
  Running_ = false;
  if (Interval_ != 0 && Enabled_ && OnTimer_) {
    if (SetTimer(WindowHandle_, kTimerId, Interval_, nullptr) == 0) throw EOutOfResources(SNoTimers);
    Running_ = true;
  }
}

void TTimer::SetEnabled(bool Value) {
  if (Value == Enabled_) return;
  Enabled_ = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  if (Value == Interval_) return;
  Interval_ = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  OnTimer_ = Value;
  UpdateTimer();
}

void TTimer::Timer() { OnTimer_(this); }

void TTimer::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    // A tick queued before the timer stopped is no longer wanted.
    if (!Running_) return;
    try {
      Timer();
    } catch (...) {
      if (Application) Application->HandleException(this);
    }
    return;
  }
  Message.Result = DefWindowProc(WindowHandle_, Message.Msg, Message.WParam, Message.LParam);
}

void RegisterTimerClasses() {
  RegisterClasses({TTimer::StaticClass()});
}
