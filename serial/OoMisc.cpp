#include "serial/OoMisc.h"

#include <algorithm>

#include "platform/rtl/Clock.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/rtl/TypInfo.h"

VXN_IMPLEMENT_CLASS(TApdBaseComponent, TComponent)

VXN_PUBLISH(TApdBaseComponent) {
  P.Property("Version", &TApdBaseComponent::GetVersion, &TApdBaseComponent::SetVersion);
}

namespace {

constexpr UInt64 kMillisecondsPerTick = 55;

Int64 CurrentTick() {
  return static_cast<Int64>(GetTickCount64() / kMillisecondsPerTick);
}

}  // namespace

Cardinal MillisecondClock() {
  return static_cast<Cardinal>(GetTickCount64());
}

void StartEventTimer(EventTimer& ET, Int64 Ticks) {
  ET.StartTicks = CurrentTick();
  ET.ExpireTicks = ET.StartTicks + std::min(Ticks, MaxEventTimerTicks);
}

bool EventTimerExpired(const EventTimer& ET) {
  return CurrentTick() > ET.ExpireTicks;
}

void PumpOneMessage() {
  win::MSG msg;
  if (!win::PeekMessage(&msg, nullptr, 0, 0, win::PM_REMOVE)) return;
  if (msg.message == win::WM_QUIT) {
    win::PostQuitMessage(static_cast<int>(msg.wParam));
    return;
  }
  win::TranslateMessage(&msg);
  win::DispatchMessage(&msg);
}
