#include "suite/foundation/cxTimer.h"

#include <map>

#include "platform/forms/Forms.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Messages.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxMessageWindow, TObject)
VXN_IMPLEMENT_CLASS(TcxTimerWindow, TcxMessageWindow)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxTimer, TComponent)

VXN_PUBLISH(TcxTimer) {
  P.Property("Enabled", &TcxTimer::Enabled, &TcxTimer::SetEnabled).Default(1);
  P.Property("Interval", &TcxTimer::Interval, &TcxTimer::SetInterval).Default(1000);
  P.Event("OnTimer", &TcxTimer::OnTimer, &TcxTimer::SetOnTimer);
}

namespace {

struct TimerState {
  std::map<UINT_PTR, TcxTimer*> running;  // id -> timer
  UINT_PTR lastId = 0;
  TcxMessageWindow* shared = nullptr;
  TcxTimerWindow* timerWindow = nullptr;
};

// Never destroyed: the hidden windows cannot be freed after the display has
// gone at program end.
TimerState& State() {
  static TimerState& state = *new TimerState;
  return state;
}

}  // namespace

TcxMessageWindow::TcxMessageWindow() { FHandle = AllocateHWnd(TWndMethod(this, &TcxMessageWindow::WndProc)); }

TcxMessageWindow::~TcxMessageWindow() { DeallocateHWnd(FHandle); }

void TcxMessageWindow::WndProc(TMessage& Message) { HandleMessage(Message); }

void TcxMessageWindow::HandleMessage(TMessage& Message) {
  Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

TcxMessageWindow* GetSharedMessageWindow() {
  if (!State().shared) State().shared = new TcxMessageWindow;
  return State().shared;
}

void TcxTimerWindow::HandleMessage(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    TcxMessageWindow::HandleMessage(Message);
    return;
  }
  auto it = State().running.find(static_cast<UINT_PTR>(Message.WParam));
  if (it != State().running.end()) it->second->TimeOut();
}

TcxTimerWindow* TimerWindow() {
  if (!State().timerWindow) State().timerWindow = new TcxTimerWindow;
  return State().timerWindow;
}

bool IsTimerRunning(UINT_PTR Id) { return State().running.count(Id) != 0; }

// ---------------------------------------------------------------------------

TcxTimer::TcxTimer(TComponent* AOwner) : TComponent(AOwner), FTimerId(++State().lastId) {}

TcxTimer::~TcxTimer() { StopTimer(); }

void TcxTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TcxTimer::SetInterval(Cardinal Value) {
  if (Value == 0 || Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TcxTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = Value;
  UpdateTimer();
}

void TcxTimer::TimeOut() {
  if (FOnTimer) FOnTimer(this);
}

void TcxTimer::StopTimer() {
  if (!FRunning) return;
  KillTimer(TimerWindow()->Handle(), FTimerId);
  State().running.erase(FTimerId);
  FRunning = false;
}

void TcxTimer::UpdateTimer() {
  StopTimer();
  if (FEnabled && !FRunning && FOnTimer && SetTimer(TimerWindow()->Handle(), FTimerId, FInterval, nullptr)) {
    State().running[FTimerId] = this;
    FRunning = true;
  }
}
