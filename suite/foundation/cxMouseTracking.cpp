#include "suite/foundation/cxMouseTracking.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/cxGraphics.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TMouseTrackingTimer, TcxTimer)

namespace {

std::vector<std::unique_ptr<TMouseTrackingTimer>>& Timers() {
  static auto& timers = *new std::vector<std::unique_ptr<TMouseTrackingTimer>>;  // outlives the display
  return timers;
}

auto Find(IcxMouseTrackingCaller* caller) {
  return std::find_if(Timers().begin(), Timers().end(), [&](const auto& t) { return t->Caller == caller; });
}

}  // namespace

// TimeOut does the work; a handler is what makes a timer run.
TMouseTrackingTimer::TMouseTrackingTimer() : TcxTimer(nullptr) {
  SetInterval(10);
  SetOnTimer(TNotifyEvent(this, &TMouseTrackingTimer::Tick));
}

void TMouseTrackingTimer::TimeOut() {
  const TPoint cursor = QueryCursorPos();
  bool inside;
  if (auto* hitTest = dynamic_cast<IcxMouseTrackingHitTest*>(Caller))
    inside = Control && Control->HandleAllocated() && hitTest->PtInCaller(Control->ScreenToClient(cursor));
  else
    inside = cxRectPtIn(Bounds, cursor);
  if (inside) return;
  // The control and the caller may end the tracking from what they do on
  // leaving: the timer leaves the list first and is freed once all is told.
  std::unique_ptr<TMouseTrackingTimer> self;
  auto it = std::find_if(Timers().begin(), Timers().end(), [this](const auto& t) { return t.get() == this; });
  if (it != Timers().end()) {
    self = std::move(*it);
    Timers().erase(it);
  }
  if (Control && Control->HandleAllocated() && !cxRectPtIn(Control->ClientRect(), Control->ScreenToClient(cursor)))
    Control->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(Control));
  Caller->MouseLeave();
}

void BeginMouseTracking(TWinControl* AControl, const TRect& R, IcxMouseTrackingCaller* ACaller) {
  if (!ACaller || IsMouseTracked(ACaller)) return;
  auto timer = std::make_unique<TMouseTrackingTimer>();
  timer->Control = AControl;
  timer->Bounds = AControl && AControl->HandleAllocated() ? TranslateWindowRect(AControl->Handle(), nullptr, R) : R;
  timer->Caller = ACaller;
  Timers().push_back(std::move(timer));
}

void EndMouseTracking(IcxMouseTrackingCaller* ACaller) {
  auto it = Find(ACaller);
  if (it == Timers().end()) return;
  std::unique_ptr<TMouseTrackingTimer> timer = std::move(*it);
  Timers().erase(it);
}

bool IsMouseTracked(IcxMouseTrackingCaller* ACaller) { return Find(ACaller) != Timers().end(); }
Integer MouseTrackingCount() { return static_cast<Integer>(Timers().size()); }

// The original raised "MouseTrackingTimerList.Count <> 0" here, during
// program end; leftovers are freed instead.
void FinalizeMouseTracking() { Timers().clear(); }
