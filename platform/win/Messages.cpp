#include "platform/win/Messages.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "platform/rtl/Clock.h"
#include "platform/win/Display.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Windows.h"
#include "platform/win/WindowsPrivate.h"
#include "platform/rtl/SystemCalls.h"

namespace win {
namespace wnd {

struct SentMessage {
  HWND hwnd = nullptr;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
  bool replied = false;
  bool failed = false;  // the window or its thread went away first
  std::shared_ptr<ThreadQueue> sender;  // null for notifications and after a time-out
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT elapse = 0;
  TIMERPROC proc = nullptr;
  UInt64 due = 0;
  bool signalled = false;  // counted as new input once per period
};

struct Hook {
  HHOOK handle = nullptr;
  int id = 0;
  HOOKPROC proc = nullptr;
};

struct ThreadQueue {
  DWORD threadId = 0;
  sys::FileDescriptor wakeFd;
  // Guarded by QueueLock().
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<SentMessage>> incoming;
  std::vector<std::shared_ptr<Hook>> hooks;  // newest first
  UINT changed = 0;                          // QS_* bits new since the thread last looked
  bool quit = false;
  int quitCode = 0;
  bool alive = true;
  bool sleeping = false;  // in poll; posters must write wakeFd
  UInt64 lastLook = 0;
  // The owning thread alone.
  std::vector<Timer> timers;
  std::vector<std::shared_ptr<SentMessage>> receiving;
  MSG last;
  UINT_PTR nextThreadTimer = 1;
};

}  // namespace wnd

using namespace wnd;

namespace {

constexpr UInt64 kForever = ~UInt64{0};
constexpr UInt64 kHungAfter = 5000;
constexpr int kFakeClockSlice = 5;  // ms between looks at a clock that tests move

std::mutex& QueueLock() {
  static auto* lock = new std::mutex;
  return *lock;
}

std::unordered_map<DWORD, std::weak_ptr<ThreadQueue>>& Registry() {
  static auto* registry = new std::unordered_map<DWORD, std::weak_ptr<ThreadQueue>>;
  return *registry;
}

struct HookRecord {
  std::weak_ptr<ThreadQueue> queue;
};

std::unordered_map<uintptr_t, HookRecord>& HookTable() {
  static auto* table = new std::unordered_map<uintptr_t, HookRecord>;
  return *table;
}
uintptr_t nextHook = 0x20000;

// Lock held.
void Wake(ThreadQueue& q) {
  if (!q.sleeping || !q.wakeFd.Valid()) return;
  uint64_t one = 1;
  sys::Write(q.wakeFd.Get(), &one, sizeof one);
}

void Reply(const std::shared_ptr<SentMessage>& sm, LRESULT result, bool failed) {
  std::lock_guard<std::mutex> g(QueueLock());
  if (sm->replied) return;
  sm->result = result;
  sm->failed = failed;
  sm->replied = true;
  if (sm->sender) Wake(*sm->sender);
}

// The thread's queue dies with the thread: whoever still waits on it is let go.
void Retire(const std::shared_ptr<ThreadQueue>& q) {
  std::deque<std::shared_ptr<SentMessage>> pending;
  {
    std::lock_guard<std::mutex> g(QueueLock());
    q->alive = false;
    pending.swap(q->incoming);
    q->posted.clear();
    q->hooks.clear();
    auto it = Registry().find(q->threadId);
    if (it != Registry().end() && it->second.lock() == q) Registry().erase(it);
  }
  for (auto& sm : pending) Reply(sm, 0, true);
}

struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (queue) Retire(queue);
  }
};

thread_local QueueHolder holder;

bool ClockIsReal() { return dynamic_cast<TSystemClock*>(&CurrentClock()) != nullptr; }

bool InRange(UINT msg, UINT min, UINT max) {
  if (min == 0 && max == 0) return true;
  if (min <= max) return msg >= min && msg <= max;
  return msg >= min || msg <= max;
}

bool MatchesWindow(HWND filter, HWND hwnd) {
  if (!filter) return true;
  if (filter == reinterpret_cast<HWND>(-1)) return hwnd == nullptr;
  return hwnd == filter || IsChild(filter, hwnd);
}

bool IsMouseMessage(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK);
}

// Messages whose lParam points into the sender's memory: they can only be
// sent and waited for, never left in a queue.
bool CarriesPointer(UINT msg) {
  switch (msg) {
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETMINMAXINFO:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_NCCALCSIZE:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      return true;
    default:
      return false;
  }
}

std::vector<std::shared_ptr<Hook>> HooksOf(ThreadQueue& q, int id) {
  std::vector<std::shared_ptr<Hook>> out;
  std::lock_guard<std::mutex> g(QueueLock());
  for (auto& h : q.hooks)
    if (h->id == id) out.push_back(h);
  return out;
}

LRESULT CallHooks(ThreadQueue& q, int id, int code, WPARAM wParam, LPARAM lParam) {
  auto hooks = HooksOf(q, id);
  if (hooks.empty()) return 0;
  return hooks.front()->proc(code, wParam, lParam);
}

// What the layers above hold for the calling thread; asked without the lock,
// since they take locks of their own.
UINT PendingStatus() { return LayerExtensions().pendingStatus ? LayerExtensions().pendingStatus() : 0; }

// Lock held. What the queue holds now, as QS_* bits (without PendingStatus).
UINT StatusBits(ThreadQueue& q, UInt64 now) {
  UINT bits = 0;
  if (!q.posted.empty() || q.quit) bits |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  if (!q.incoming.empty()) bits |= QS_SENDMESSAGE;
  for (const Timer& t : q.timers)
    if (t.due <= now) bits |= QS_TIMER;
  return bits;
}

// Owner thread. Timers that fell due since the last look count as new input.
UInt64 MarkDueTimers(ThreadQueue& q, UInt64 now) {
  UInt64 next = kForever;
  bool newlyDue = false;
  for (Timer& t : q.timers) {
    if (t.due <= now) {
      if (!t.signalled) newlyDue = t.signalled = true;
    } else {
      next = std::min(next, t.due);
    }
  }
  if (newlyDue) {
    std::lock_guard<std::mutex> g(QueueLock());
    q.changed |= QS_TIMER;
  }
  return next;
}

void ProcessIncomingSends(ThreadQueue& q) {
  for (;;) {
    std::shared_ptr<SentMessage> sm;
    {
      std::lock_guard<std::mutex> g(QueueLock());
      if (q.incoming.empty()) return;
      sm = q.incoming.front();
      q.incoming.pop_front();
    }
    Window* w = Lookup(sm->hwnd);
    if (!w) {
      Reply(sm, 0, true);
      continue;
    }
    // The sender is let go even when the handler throws; it sees a failed send.
    struct Answer {
      ThreadQueue& q;
      const std::shared_ptr<SentMessage>& sm;
      LRESULT result = 0;
      bool handled = false;
      ~Answer() {
        q.receiving.pop_back();
        Reply(sm, result, !handled);
      }
    };
    q.receiving.push_back(sm);
    Answer answer{q, sm};
    answer.result = CallWithHooks(w, sm->msg, sm->wParam, sm->lParam);
    answer.handled = true;
  }
}

enum : int { kWaitDone = -1, kWaitInput = -2, kWaitTimeout = -3 };

struct WaitPlan {
  std::function<bool()> done;  // evaluated with the lock held
  UINT wakeMask = 0;
  bool inputAvailable = false;
  TEvent* const* events = nullptr;
  DWORD count = 0;
  UInt64 deadline = kForever;
  bool handleSends = true;
};

// The one place where a thread sleeps: on its wake descriptor, the given
// events and the display, until the predicate holds, input of the mask
// arrives, an event is set or the deadline (on the program's clock) passes.
int WaitLoop(ThreadQueue& q, const WaitPlan& plan) {
  bool pumpDisplay = q.threadId == UserInterfaceThreadId();
  std::vector<pollfd> fds;
  for (;;) {
    if (pumpDisplay) {
      // What the display or a signal brought becomes input and messages
      // before the thread decides to sleep: events a display library keeps
      // queued on its side would not wake the poll below.
      if (LayerExtensions().deliverOutsideNotices) LayerExtensions().deliverOutsideNotices();
      CurrentDisplay().PumpEvents();
    }
    if (plan.handleSends) ProcessIncomingSends(q);
    UInt64 now = GetTickCount64();
    UInt64 nextDue = (plan.wakeMask & QS_TIMER) ? MarkDueTimers(q, now) : kForever;
    UINT pending = plan.inputAvailable ? PendingStatus() : 0;
    int result = 0;
    bool again = false;
    {
      std::lock_guard<std::mutex> g(QueueLock());
      q.lastLook = now;
      if (plan.done && plan.done()) {
        result = kWaitDone;
      } else if (plan.wakeMask) {
        UINT bits = q.changed | (plan.inputAvailable ? StatusBits(q, now) | pending : 0);
        if (bits & plan.wakeMask) result = kWaitInput;
      }
      again = plan.handleSends && !q.incoming.empty();
      q.sleeping = !result && !again;
    }
    int timeout = -1;
    if (result || again) {
      timeout = 0;
    } else {
      UInt64 until = std::min(plan.deadline, nextDue);
      if (until != kForever) timeout = static_cast<int>(std::min<UInt64>(until > now ? until - now : 0, 0x7FFFFFFF));
      if (!ClockIsReal()) timeout = timeout < 0 ? kFakeClockSlice : std::min(timeout, kFakeClockSlice);
    }
    fds.clear();
    fds.push_back({q.wakeFd.Get(), POLLIN, 0});
    for (DWORD i = 0; i < plan.count; ++i) fds.push_back({plan.events[i]->Handle(), POLLIN, 0});
    int displayFd = pumpDisplay ? CurrentDisplay().EventDescriptor() : -1;
    if (displayFd >= 0) fds.push_back({displayFd, POLLIN, 0});
    const sys::CallResult polled = sys::Poll(fds.data(), fds.size(), timeout);
    {
      std::lock_guard<std::mutex> g(QueueLock());
      q.sleeping = false;
    }
    const long r = polled.OrRaise();
    if (r > 0 && (fds[0].revents & POLLIN)) {
      uint64_t value;
      sys::Read(q.wakeFd.Get(), &value, sizeof value);
    }
    for (DWORD i = 0; r > 0 && i < plan.count; ++i)
      if ((fds[i + 1].revents & POLLIN) && plan.events[i]->TryConsume()) return static_cast<int>(i);
    if (displayFd >= 0 && r > 0 && (fds.back().revents & POLLIN)) CurrentDisplay().PumpEvents();
    if (result) return result;
    if (plan.deadline != kForever && GetTickCount64() >= plan.deadline) {
      std::lock_guard<std::mutex> g(QueueLock());
      return plan.done && plan.done() ? kWaitDone : kWaitTimeout;
    }
  }
}

bool Hung(ThreadQueue& q, UInt64 now) {
  std::lock_guard<std::mutex> g(QueueLock());
  return !q.sleeping && now > q.lastLook + kHungAfter;
}

bool ValidFilter(HWND filter) { return !filter || filter == reinterpret_cast<HWND>(-1) || Lookup(filter); }

// One look at the queue in Windows' order; false when nothing passes the
// filter.
bool PeekCore(ThreadQueue& q, MSG* out, HWND filter, UINT min, UINT max, UINT flags) {
  bool remove = (flags & PM_REMOVE) != 0;
  if (q.threadId == UserInterfaceThreadId()) {
    if (LayerExtensions().deliverOutsideNotices) LayerExtensions().deliverOutsideNotices();
    CurrentDisplay().PumpEvents();
  }
  ProcessIncomingSends(q);
  UInt64 now = GetTickCount64();
  MSG msg;
  for (;;) {
    bool found = false;
    {
      std::lock_guard<std::mutex> g(QueueLock());
      q.changed = 0;
      q.lastLook = now;
      for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!InRange(it->message, min, max) || !MatchesWindow(filter, it->hwnd)) continue;
        msg = *it;
        if (remove) q.posted.erase(it);
        found = true;
        break;
      }
    }
    if (!found) break;
    if (IsMouseMessage(msg.message)) {
      MOUSEHOOKSTRUCT mh;
      mh.pt = msg.pt;
      mh.hwnd = msg.hwnd;
      mh.wHitTestCode = msg.message >= WM_MOUSEFIRST ? static_cast<UINT>(HTCLIENT) : static_cast<UINT>(msg.wParam);
      if (CallHooks(q, WH_MOUSE, remove ? HC_ACTION : HC_NOREMOVE, msg.message, reinterpret_cast<LPARAM>(&mh))) {
        // Thrown away by the hook, also when the caller only peeked.
        if (!remove) {
          std::lock_guard<std::mutex> g(QueueLock());
          for (auto it = q.posted.begin(); it != q.posted.end(); ++it)
            if (it->hwnd == msg.hwnd && it->message == msg.message && it->wParam == msg.wParam &&
                it->lParam == msg.lParam && it->time == msg.time) {
              q.posted.erase(it);
              break;
            }
        }
        continue;
      }
    }
    CallHooks(q, WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(&msg));
    q.last = msg;
    *out = msg;
    return true;
  }
  {
    std::unique_lock<std::mutex> g(QueueLock());
    if (q.quit && InRange(WM_QUIT, min, max)) {
      msg = MSG{};
      msg.message = WM_QUIT;
      msg.wParam = static_cast<WPARAM>(q.quitCode);
      msg.time = static_cast<DWORD>(now);
      msg.pt = CursorPosition();
      if (remove) q.quit = false;
      g.unlock();
      CallHooks(q, WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(&msg));
      q.last = msg;
      *out = msg;
      return true;
    }
  }
  while (LayerExtensions().nextInputMessage && LayerExtensions().nextInputMessage(filter, min, max, remove, &msg)) {
    if (IsMouseMessage(msg.message)) {
      MOUSEHOOKSTRUCT mh;
      mh.pt = msg.pt;
      mh.hwnd = msg.hwnd;
      mh.wHitTestCode = msg.message >= WM_MOUSEFIRST ? static_cast<UINT>(HTCLIENT) : static_cast<UINT>(msg.wParam);
      if (CallHooks(q, WH_MOUSE, remove ? HC_ACTION : HC_NOREMOVE, msg.message, reinterpret_cast<LPARAM>(&mh))) {
        // Thrown away by the hook, also when the caller only peeked.
        if (!remove) LayerExtensions().nextInputMessage(filter, min, max, true, &msg);
        continue;
      }
    }
    CallHooks(q, WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(&msg));
    q.last = msg;
    *out = msg;
    return true;
  }
  if (LayerExtensions().nextPaintMessage && InRange(WM_PAINT, min, max) &&
      LayerExtensions().nextPaintMessage(filter, min, max, &msg)) {
    CallHooks(q, WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(&msg));
    q.last = msg;
    *out = msg;
    return true;
  }
  if (InRange(WM_TIMER, min, max)) {
    Timer* due = nullptr;
    for (Timer& t : q.timers)
      if (t.due <= now && MatchesWindow(filter, t.hwnd) && (!due || t.due < due->due)) due = &t;
    if (due) {
      msg = MSG{};
      msg.hwnd = due->hwnd;
      msg.message = WM_TIMER;
      msg.wParam = due->id;
      msg.lParam = reinterpret_cast<LPARAM>(due->proc);
      msg.time = static_cast<DWORD>(now);
      msg.pt = CursorPosition();
      if (remove) {
        due->due = now + due->elapse;
        due->signalled = false;
      }
      CallHooks(q, WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(&msg));
      q.last = msg;
      *out = msg;
      return true;
    }
  }
  return false;
}

BOOL PostTo(const std::shared_ptr<ThreadQueue>& q, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = static_cast<DWORD>(GetTickCount64());
  m.pt = CursorPosition();
  std::lock_guard<std::mutex> g(QueueLock());
  if (!q->alive) return FALSE;
  q->posted.push_back(m);
  q->changed |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  Wake(*q);
  return TRUE;
}

std::shared_ptr<ThreadQueue> QueueOfThread(DWORD threadId) {
  if (threadId == 0 || threadId == GetCurrentThreadId()) return CurrentQueue();
  std::lock_guard<std::mutex> g(QueueLock());
  auto it = Registry().find(threadId);
  return it == Registry().end() ? nullptr : it->second.lock();
}

}  // namespace

// Internals -----------------------------------------------------------------------------

namespace wnd {

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (!holder.queue) {
    auto q = std::make_shared<ThreadQueue>();
    q->threadId = GetCurrentThreadId();
    q->wakeFd = sys::FileDescriptor(static_cast<int>(sys::EventFd(0, EFD_NONBLOCK | EFD_CLOEXEC).OrRaise()));
    q->lastLook = GetTickCount64();
    {
      std::lock_guard<std::mutex> g(QueueLock());
      Registry()[q->threadId] = q;
    }
    holder.queue = q;
  }
  return holder.queue;
}

int QueueWakeDescriptor() { return CurrentQueue()->wakeFd.Get(); }

void NoteNewInput(UINT qsBits) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> g(QueueLock());
  q->changed |= qsBits;
  Wake(*q);
}

void ForgetWindowMessages(HWND hwnd) {
  auto q = CurrentQueue();
  q->timers.erase(std::remove_if(q->timers.begin(), q->timers.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
                  q->timers.end());
  std::lock_guard<std::mutex> g(QueueLock());
  q->posted.erase(
      std::remove_if(q->posted.begin(), q->posted.end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
      q->posted.end());
}

LRESULT CallWithHooks(Window* w, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = w->handle;
  if (w->queue) {
    auto hooks = HooksOf(*w->queue, WH_CALLWNDPROC);
    if (!hooks.empty()) {
      CWPSTRUCT cwp;
      cwp.lParam = lParam;
      cwp.wParam = wParam;
      cwp.message = msg;
      cwp.hwnd = hwnd;
      hooks.front()->proc(HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
      if (!(w = Lookup(hwnd))) return 0;
    }
  }
  WNDPROC proc = w->proc;
  return proc ? proc(hwnd, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace wnd

// Posting -------------------------------------------------------------------------------

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return PostThreadMessage(GetCurrentThreadId(), msg, wParam, lParam);
  if (CarriesPointer(msg)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (hwnd == HWND_BROADCAST) {
    for (Window* t : TopLevelWindows()) PostTo(t->queue, t->handle, msg, wParam, lParam);
    return TRUE;
  }
  auto q = QueueOfWindow(hwnd);
  if (!q) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return PostTo(q, hwnd, msg, wParam, lParam);
}

BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto q = QueueOfThread(threadId);
  if (!q || CarriesPointer(msg)) {
    SetLastError(q ? ERROR_INVALID_PARAMETER : ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  return PostTo(q, nullptr, msg, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> g(QueueLock());
  q->quit = true;
  q->quitCode = exitCode;
  q->changed |= QS_POSTMESSAGE;
}

// Sending ---------------------------------------------------------------------------------

LRESULT SendMessageTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                           DWORD_PTR* result) {
  DWORD threadId = 0;
  auto target = QueueOfWindow(hwnd, &threadId);
  if (!target) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (threadId == GetCurrentThreadId()) {
    Window* w = Lookup(hwnd);
    LRESULT r = w ? CallWithHooks(w, msg, wParam, lParam) : 0;
    if (result) *result = static_cast<DWORD_PTR>(r);
    return TRUE;
  }
  auto me = CurrentQueue();
  auto sm = std::make_shared<SentMessage>();
  sm->hwnd = hwnd;
  sm->msg = msg;
  sm->wParam = wParam;
  sm->lParam = lParam;
  sm->sender = me;
  UInt64 now = GetTickCount64();
  if ((flags & SMTO_ABORTIFHUNG) && Hung(*target, now)) {
    SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  {
    std::lock_guard<std::mutex> g(QueueLock());
    if (!target->alive) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    target->incoming.push_back(sm);
    target->changed |= QS_SENDMESSAGE;
    Wake(*target);
  }
  WaitPlan plan;
  plan.done = [&] { return sm->replied; };
  plan.handleSends = !(flags & SMTO_BLOCK);
  plan.deadline = timeout == INFINITE ? kForever : now + timeout;
  for (;;) {
    int r = WaitLoop(*me, plan);
    if (r == kWaitDone) break;
    UInt64 at = GetTickCount64();
    if ((flags & SMTO_NOTIMEOUTIFNOTHUNG) && !Hung(*target, at)) {
      plan.deadline = at + timeout;
      continue;
    }
    // The message stays queued and is handled later; its answer is dropped.
    std::lock_guard<std::mutex> g(QueueLock());
    if (sm->replied) break;
    sm->sender.reset();
    SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  if (sm->failed) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (result) *result = static_cast<DWORD_PTR>(sm->result);
  return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeout(hwnd, msg, wParam, lParam, SMTO_NORMAL, INFINITE, &result);
  return static_cast<LRESULT>(result);
}

BOOL SendNotifyMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD threadId = 0;
  auto target = QueueOfWindow(hwnd, &threadId);
  if (!target) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (threadId == GetCurrentThreadId()) {
    SendMessage(hwnd, msg, wParam, lParam);
    return TRUE;
  }
  if (CarriesPointer(msg)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto sm = std::make_shared<SentMessage>();
  sm->hwnd = hwnd;
  sm->msg = msg;
  sm->wParam = wParam;
  sm->lParam = lParam;
  std::lock_guard<std::mutex> g(QueueLock());
  if (!target->alive) return FALSE;
  target->incoming.push_back(sm);
  target->changed |= QS_SENDMESSAGE;
  Wake(*target);
  return TRUE;
}

BOOL InSendMessage() { return CurrentQueue()->receiving.empty() ? FALSE : TRUE; }

BOOL ReplyMessage(LRESULT result) {
  auto q = CurrentQueue();
  if (q->receiving.empty()) return FALSE;
  auto& sm = q->receiving.back();
  {
    std::lock_guard<std::mutex> g(QueueLock());
    if (sm->replied) return FALSE;
  }
  Reply(sm, result, false);
  return TRUE;
}

// Retrieving ---------------------------------------------------------------------------------

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg || !ValidFilter(hwnd)) {
    SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return -1;
  }
  auto q = CurrentQueue();
  WaitPlan plan;
  plan.wakeMask = QS_ALLINPUT;
  for (;;) {
    if (PeekCore(*q, msg, hwnd, filterMin, filterMax, PM_REMOVE)) return msg->message == WM_QUIT ? FALSE : TRUE;
    WaitLoop(*q, plan);
  }
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg || !ValidFilter(hwnd)) {
    SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return PeekCore(*CurrentQueue(), msg, hwnd, filterMin, filterMax, removeFlags) ? TRUE : FALSE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a timer that still exists gets its callback called.
    auto q = CurrentQueue();
    for (const Timer& t : q->timers)
      if (t.hwnd == msg->hwnd && t.id == msg->wParam && reinterpret_cast<LPARAM>(t.proc) == msg->lParam) {
        TIMERPROC proc = t.proc;
        proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(GetTickCount64()));
        return 0;
      }
    return 0;
  }
  if (!msg->hwnd) return 0;
  Window* w = Lookup(msg->hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (w->threadId != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  WNDPROC proc = w->proc;
  return proc ? proc(msg->hwnd, msg->message, msg->wParam, msg->lParam)
              : DefWindowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WaitMessage() {
  WaitPlan plan;
  plan.wakeMask = QS_ALLINPUT;
  WaitLoop(*CurrentQueue(), plan);
  return TRUE;
}

LONG GetMessageTime() { return static_cast<LONG>(CurrentQueue()->last.time); }

DWORD GetMessagePos() {
  POINT pt = CurrentQueue()->last.pt;
  return static_cast<DWORD>(MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
}

DWORD GetQueueStatus(UINT flags) {
  auto q = CurrentQueue();
  UInt64 now = GetTickCount64();
  MarkDueTimers(*q, now);
  UINT pending = PendingStatus();
  std::lock_guard<std::mutex> g(QueueLock());
  UINT status = (StatusBits(*q, now) | pending) & flags;
  UINT changed = q->changed & flags;
  q->changed &= ~flags;
  return (status << 16) | (changed & 0xFFFF);
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, TEvent* const* events, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags) {
  if ((flags & MWMO_WAITALL) || (count > 0 && !events)) {
    // Waiting for all events together is not offered.
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  for (DWORD i = 0; i < count; ++i)
    if (!events[i]) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return WAIT_FAILED;
    }
  WaitPlan plan;
  plan.wakeMask = wakeMask;
  plan.inputAvailable = (flags & MWMO_INPUTAVAILABLE) != 0;
  plan.events = events;
  plan.count = count;
  plan.deadline = milliseconds == INFINITE ? kForever : GetTickCount64() + milliseconds;
  int r = WaitLoop(*CurrentQueue(), plan);
  if (r >= 0) return WAIT_OBJECT_0 + static_cast<DWORD>(r);
  if (r == kWaitInput) return WAIT_OBJECT_0 + count;
  return WAIT_TIMEOUT;
}

DWORD MsgWaitForMultipleObjects(DWORD count, TEvent* const* events, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
  return MsgWaitForMultipleObjectsEx(count, events, milliseconds, wakeMask, waitAll ? MWMO_WAITALL : 0);
}

UINT RegisterWindowMessage(const char* name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return GlobalAtom(name);
}

// Hooks -------------------------------------------------------------------------------------

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  if (idHook != WH_CALLWNDPROC && idHook != WH_GETMESSAGE && idHook != WH_MOUSE) {
    SetLastError(ERROR_INVALID_HOOK_FILTER);
    return nullptr;
  }
  if (!proc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto q = QueueOfThread(threadId);
  if (!q) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto hook = std::make_shared<Hook>();
  hook->id = idHook;
  hook->proc = proc;
  std::lock_guard<std::mutex> g(QueueLock());
  hook->handle = reinterpret_cast<HHOOK>(nextHook);
  nextHook += 4;
  q->hooks.insert(q->hooks.begin(), hook);
  HookTable()[reinterpret_cast<uintptr_t>(hook->handle)] = HookRecord{q};
  return hook->handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  std::lock_guard<std::mutex> g(QueueLock());
  auto it = HookTable().find(reinterpret_cast<uintptr_t>(hook));
  if (it == HookTable().end()) {
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  if (auto q = it->second.queue.lock())
    q->hooks.erase(std::remove_if(q->hooks.begin(), q->hooks.end(), [&](auto& h) { return h->handle == hook; }),
                   q->hooks.end());
  HookTable().erase(it);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  auto q = CurrentQueue();
  std::shared_ptr<Hook> next;
  {
    std::lock_guard<std::mutex> g(QueueLock());
    auto it = std::find_if(q->hooks.begin(), q->hooks.end(), [&](auto& h) { return h->handle == hook; });
    if (it == q->hooks.end()) return 0;
    int id = (*it)->id;
    for (++it; it != q->hooks.end(); ++it)
      if ((*it)->id == id) {
        next = *it;
        break;
      }
  }
  return next ? next->proc(code, wParam, lParam) : 0;
}

// Timers -------------------------------------------------------------------------------------

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd) {
    Window* w = Lookup(hwnd);
    if (!w || w->threadId != GetCurrentThreadId()) {
      SetLastError(w ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
  }
  elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  auto q = CurrentQueue();
  UInt64 due = GetTickCount64() + elapse;
  if (!hwnd) {
    bool exists = id && std::any_of(q->timers.begin(), q->timers.end(),
                                    [&](const Timer& t) { return !t.hwnd && t.id == id; });
    if (!exists) {
      do {
        id = q->nextThreadTimer++;
        if (q->nextThreadTimer > 0x7FFF) q->nextThreadTimer = 1;
      } while (std::any_of(q->timers.begin(), q->timers.end(), [&](const Timer& t) { return !t.hwnd && t.id == id; }));
    }
  }
  for (Timer& t : q->timers)
    if (t.hwnd == hwnd && t.id == id) {
      t.elapse = elapse;
      t.proc = proc;
      t.due = due;
      t.signalled = false;
      return id ? id : 1;
    }
  Timer t;
  t.hwnd = hwnd;
  t.id = id;
  t.elapse = elapse;
  t.proc = proc;
  t.due = due;
  q->timers.push_back(t);
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto q = CurrentQueue();
  auto it = std::find_if(q->timers.begin(), q->timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == q->timers.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  q->timers.erase(it);
  return TRUE;
}

}  // namespace win
