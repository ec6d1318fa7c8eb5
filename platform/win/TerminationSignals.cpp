#include "platform/win/TerminationSignals.h"

#include <signal.h>

#include <atomic>
#include <cstdint>

#include "platform/rtl/SystemCalls.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowsPrivate.h"

namespace win {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Touched by the handler: only lock-free atomics and a write to an eventfd,
// which is all a handler may do.
std::atomic<unsigned> g_pending{0};
std::atomic<int> g_wakeFd{-1};
static_assert(std::atomic<unsigned>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

HWND g_target = nullptr;
UINT g_message = 0;

void OnSignal(int signal) {
  g_pending.fetch_or(1u << signal);
  int fd = g_wakeFd.load();
  if (fd >= 0) {
    uint64_t one = 1;
    sys::SignalSafeWrite(fd, &one, sizeof one);
  }
}

void Deliver() {
  unsigned pending = g_pending.exchange(0);
  if (!pending || !g_target) return;
  for (int signal : kSignals)
    if (pending & (1u << signal)) PostMessage(g_target, g_message, static_cast<WPARAM>(signal), 0);
}

}  // namespace

void PostOnTerminationSignals(HWND hwnd, UINT msg) {
  g_target = hwnd;
  g_message = msg;
  if (hwnd) {
    g_wakeFd.store(wnd::QueueWakeDescriptor());
    wnd::LayerExtensions().deliverOutsideNotices = &Deliver;
  }
  for (int signal : kSignals) sys::SignalAction(signal, hwnd ? &OnSignal : SIG_DFL).OrRaise();
  if (!hwnd) {
    g_pending.store(0);
    wnd::LayerExtensions().deliverOutsideNotices = nullptr;
  }
}

}  // namespace win
