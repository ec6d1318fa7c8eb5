#include "platform/win/Messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/rtl/Clock.h"
#include "platform/rtl/SyncObjs.h"
#include "tests/platform/win/WinFixture.h"
#include "tests/support/ThreadState.h"

using namespace win;
using wintest::WinTest;
using Lines = std::vector<std::string>;

namespace {

// Waits (up to ten seconds) until this thread's queue holds what the flags
// name, without handling anything.
void WaitForQueueStatus(UINT flags) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!(HIWORD(GetQueueStatus(flags)) & flags) && std::chrono::steady_clock::now() < until)
    std::this_thread::yield();
}

class Messages : public WinTest {
 protected:
  HWND w = nullptr;
  void SetUp() override {
    WinTest::SetUp();
    w = Make("w", WS_POPUP, 0, 0, 10, 10);
    Taken();
  }
};

TEST_F(Messages, SendIsHandledAtOncePostWhenDispatched) {
  PostMessage(w, WM_USER + 1, 0, 0);
  PostMessage(w, WM_USER + 2, 0, 0);
  SendMessage(w, WM_USER + 3, 0, 0);
  EXPECT_EQ(Taken(), (Lines{"w WM_USER+3"}));
  Pump();
  EXPECT_EQ(Taken(), (Lines{"w WM_USER+1", "w WM_USER+2"}));
  // Posting to no window, or to a window that is gone, fails.
  HWND gone = Make("gone", WS_POPUP, 0, 0, 1, 1);
  DestroyWindow(gone);
  EXPECT_FALSE(PostMessage(gone, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(SendMessage(gone, WM_USER, 0, 0), 0);
  // Messages whose lParam points at the sender's memory are never queued.
  EXPECT_FALSE(PostMessage(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x")));
}

TEST_F(Messages, PeekRemovesOnlyTheMatchingPrivateMessage) {
  HWND other = Make("other", WS_POPUP, 0, 0, 10, 10);
  HWND kid = Make("kid", WS_CHILD, 0, 0, 5, 5, w);
  const UINT kPrivate = WM_USER + 5;
  PostMessage(w, kPrivate, 1, 0);
  PostMessage(w, WM_USER + 6, 0, 0);
  PostMessage(w, kPrivate, 2, 0);
  PostMessage(other, kPrivate, 3, 0);
  PostMessage(kid, WM_USER + 7, 0, 0);
  PostThreadMessage(GetCurrentThreadId(), WM_USER + 8, 0, 0);

  MSG m;
  EXPECT_TRUE(PeekMessage(&m, w, kPrivate, kPrivate, PM_NOREMOVE));
  EXPECT_EQ(m.wParam, 1u);
  EXPECT_TRUE(PeekMessage(&m, w, kPrivate, kPrivate, PM_REMOVE | PM_NOYIELD));
  EXPECT_EQ(m.wParam, 1u);
  EXPECT_TRUE(PeekMessage(&m, w, kPrivate, kPrivate, PM_NOREMOVE));
  EXPECT_EQ(m.wParam, 2u);
  EXPECT_FALSE(PeekMessage(&m, kid, kPrivate, kPrivate, PM_NOREMOVE));
  // A window filter takes the window's children; (HWND)-1 only thread messages.
  EXPECT_TRUE(PeekMessage(&m, w, WM_USER + 7, WM_USER + 7, PM_NOREMOVE));
  EXPECT_EQ(m.hwnd, kid);
  EXPECT_TRUE(PeekMessage(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 8);
  EXPECT_EQ(m.hwnd, nullptr);

  std::vector<std::pair<HWND, UINT>> rest;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) rest.emplace_back(m.hwnd, m.message);
  EXPECT_EQ(rest, (std::vector<std::pair<HWND, UINT>>{
                      {w, WM_USER + 6}, {w, kPrivate}, {other, kPrivate}, {kid, WM_USER + 7}}));
  EXPECT_FALSE(PeekMessage(&m, reinterpret_cast<HWND>(0x7777), 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessage(&m, reinterpret_cast<HWND>(0x7777), 0, 0), -1);
}

TEST_F(Messages, QuitComesAfterThePostedMessages) {
  PostQuitMessage(3);
  PostMessage(w, WM_USER + 1, 0, 0);
  MSG m;
  EXPECT_EQ(GetMessage(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, WM_USER + 1);
  EXPECT_EQ(GetMessage(&m, nullptr, 0, 0), FALSE);
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, TimeAndPositionOfTheLastMessage) {
  TFakeClockScope clock(5000);
  PostMessage(w, WM_USER, 0, 0);
  clock.Advance(20);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.time, 5000u);
  EXPECT_EQ(GetMessageTime(), 5000);
  EXPECT_EQ(GetMessagePos(), static_cast<DWORD>(MAKELPARAM(static_cast<WORD>(m.pt.x), static_cast<WORD>(m.pt.y))));
}

// Hooks -----------------------------------------------------------------------

std::vector<std::string> hookLog;
HHOOK older = nullptr;
HHOOK newer = nullptr;

LRESULT CallWndHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
  if (cwp->message >= WM_USER) hookLog.push_back("call " + std::to_string(cwp->message - WM_USER));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT OlderGetHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* m = reinterpret_cast<MSG*>(lParam);
  if (m->message >= WM_USER) hookLog.push_back("older " + std::to_string(m->message - WM_USER));
  return CallNextHookEx(older, code, wParam, lParam);
}

LRESULT NewerGetHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* m = reinterpret_cast<MSG*>(lParam);
  if (m->message == WM_USER + 1 && wParam == PM_REMOVE) m->message = WM_USER + 9;  // hooks may change it
  if (m->message >= WM_USER) hookLog.push_back("newer " + std::to_string(m->message - WM_USER));
  return CallNextHookEx(newer, code, wParam, lParam);
}

LRESULT MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* mh = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
  hookLog.push_back("mouse " + std::to_string(wParam) + (code == HC_NOREMOVE ? " peek" : ""));
  if (wParam == WM_LBUTTONDOWN) return 1;  // eaten
  (void)mh;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Messages, HooksSeeMessagesOnTheirWay) {
  hookLog.clear();
  HHOOK call = SetWindowsHookEx(WH_CALLWNDPROC, CallWndHook, nullptr, GetCurrentThreadId());
  older = SetWindowsHookEx(WH_GETMESSAGE, OlderGetHook, nullptr, 0);
  newer = SetWindowsHookEx(WH_GETMESSAGE, NewerGetHook, nullptr, 0);
  HHOOK mouse = SetWindowsHookEx(WH_MOUSE, MouseHook, nullptr, 0);
  ASSERT_TRUE(call && older && newer && mouse);

  SendMessage(w, WM_USER + 2, 0, 0);  // sent: WH_CALLWNDPROC only
  PostMessage(w, WM_USER + 1, 0, 0);  // posted: WH_GETMESSAGE, newest hook first
  MSG m;
  PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
  Pump();
  EXPECT_EQ(hookLog, (Lines{"call 2", "newer 1", "older 1", "newer 9", "older 9"}));
  EXPECT_EQ(Taken(), (Lines{"w WM_USER+2", "w WM_USER+9"}));

  hookLog.clear();
  PostMessage(w, WM_LBUTTONDOWN, 0, 0);
  PostMessage(w, WM_MOUSEMOVE, 0, 0);
  EXPECT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_MOUSEMOVE);  // the button went with the hook, even from a peek
  EXPECT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(hookLog, (Lines{"mouse 513 peek", "mouse 512 peek", "mouse 512"}));

  for (HHOOK h : {call, older, newer, mouse}) EXPECT_TRUE(UnhookWindowsHookEx(h));
  EXPECT_FALSE(UnhookWindowsHookEx(call));
  hookLog.clear();
  SendMessage(w, WM_USER + 2, 0, 0);
  PostMessage(w, WM_USER + 1, 0, 0);
  Pump();
  EXPECT_TRUE(hookLog.empty());
  EXPECT_EQ(SetWindowsHookEx(2, MouseHook, nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HOOK_FILTER);
}

// Timers ------------------------------------------------------------------------

std::vector<UINT_PTR> callbackLog;
void TimerCallback(HWND, UINT msg, UINT_PTR id, DWORD) {
  if (msg == WM_TIMER) callbackLog.push_back(id);
}

TEST_F(Messages, TimersRunOnTheFakeClock) {
  TFakeClockScope clock;
  HWND v = Make("v", WS_POPUP, 0, 0, 10, 10);
  EXPECT_EQ(SetTimer(w, 1, 100, nullptr), 1u);
  EXPECT_EQ(SetTimer(w, 2, 250, nullptr), 2u);
  EXPECT_EQ(SetTimer(v, 1, 0, nullptr), 1u);  // ids are the window's own; 0 ms becomes 10
  MSG m;
  auto timers = [&] {
    std::vector<std::string> out;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
      EXPECT_EQ(m.message, WM_TIMER);
      out.push_back(wintest::Names()[m.hwnd] + std::to_string(m.wParam));
    }
    return out;
  };
  EXPECT_TRUE(timers().empty());
  clock.Advance(10);
  EXPECT_EQ(timers(), (Lines{"v1"}));
  clock.Advance(89);
  EXPECT_EQ(timers(), (Lines{"v1"}));
  clock.Advance(1);
  EXPECT_EQ(timers(), (Lines{"w1"}));
  // A long pause gives one WM_TIMER per timer, not one per period.
  KillTimer(v, 1);
  clock.Advance(1000);
  PostMessage(w, WM_USER, 0, 0);
  PeekMessage(&m, nullptr, 0, 0, PM_REMOVE);
  EXPECT_EQ(m.message, WM_USER);  // posted messages come before timers
  EXPECT_EQ(timers(), (Lines{"w1", "w2"}));
  // Setting an id again restarts its period.
  clock.Advance(50);
  SetTimer(w, 1, 100, nullptr);
  clock.Advance(60);
  EXPECT_TRUE(timers().empty());
  clock.Advance(40);
  EXPECT_EQ(timers(), (Lines{"w1"}));
  EXPECT_TRUE(KillTimer(w, 1));
  EXPECT_FALSE(KillTimer(w, 1));
  EXPECT_TRUE(KillTimer(w, 2));
  clock.Advance(1000);
  EXPECT_TRUE(timers().empty());
}

TEST_F(Messages, TimerCallbacksAndThreadTimers) {
  TFakeClockScope clock;
  callbackLog.clear();
  UINT_PTR a = SetTimer(nullptr, 0, 50, TimerCallback);
  UINT_PTR b = SetTimer(nullptr, 0, 50, TimerCallback);
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(SetTimer(nullptr, a, 80, TimerCallback), a);  // restarts a
  SetTimer(w, 4, 50, TimerCallback);
  clock.Advance(50);
  Pump();
  std::vector<UINT_PTR> expected{b, 4};
  std::sort(expected.begin(), expected.end());
  std::sort(callbackLog.begin(), callbackLog.end());
  EXPECT_EQ(callbackLog, expected);
  EXPECT_TRUE(Taken().empty());  // the window procedure saw none of them
  // A WM_TIMER of a timer killed meanwhile calls nobody.
  callbackLog.clear();
  clock.Advance(100);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, w, WM_TIMER, WM_TIMER, PM_REMOVE));
  KillTimer(w, 4);
  DispatchMessage(&m);
  EXPECT_TRUE(callbackLog.empty());
  KillTimer(nullptr, a);
  KillTimer(nullptr, b);
  // A destroyed window takes its timers along.
  SetTimer(w, 5, 10, nullptr);
  DestroyWindow(w);
  clock.Advance(100);
  EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, WaitingWakesForATimerOnTheRealClock) {
  SetTimer(w, 9, 30, nullptr);
  auto start = std::chrono::steady_clock::now();
  MSG m;
  ASSERT_EQ(GetMessage(&m, nullptr, 0, 0), TRUE);
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(m.message, WM_TIMER);
  EXPECT_EQ(m.wParam, 9u);
  EXPECT_GE(took, std::chrono::milliseconds(25));
  EXPECT_LT(took, std::chrono::seconds(2));
  KillTimer(w, 9);
}

// Threads --------------------------------------------------------------------------

std::atomic<DWORD> handlerThread{0};

TEST_F(Messages, AWorkerSendIsAnsweredInsideANestedModalLoop) {
  wintest::Answers()[{"w", 0x7E01}] = 1;
  static bool modalDone;
  modalDone = false;
  // WM_USER+10 runs a modal loop, as a dialog would; WM_USER+11 ends it.
  static WNDPROC previous;
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
      w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_USER + 10) {
          MSG m;
          while (!modalDone && GetMessage(&m, nullptr, 0, 0) > 0) DispatchMessage(&m);
          return 0;
        }
        if (msg == WM_USER + 11) modalDone = true;
        if (msg == 0x7E01) handlerThread = GetCurrentThreadId();
        return CallWindowProc(previous, h, msg, wp, lp);
      })));
  std::atomic<LRESULT> sent{-1};
  DWORD_PTR answer = 0;
  std::thread worker([&] {
    sent = SendMessageTimeout(w, 0x7E01, 5, 0, SMTO_BLOCK, 3000, &answer);
    PostMessage(w, WM_USER + 11, 0, 0);
  });
  SendMessage(w, WM_USER + 10, 0, 0);
  worker.join();
  EXPECT_EQ(sent, TRUE);
  EXPECT_EQ(answer, 1u);
  EXPECT_EQ(handlerThread, GetCurrentThreadId());
}

TEST_F(Messages, AWorkerSendTimesOutWhileNobodyPumps) {
  std::atomic<LRESULT> sent{-1};
  std::atomic<DWORD> error{0};
  std::thread worker([&] {
    DWORD_PTR answer = 0;
    sent = SendMessageTimeout(w, WM_USER + 12, 0, 0, SMTO_BLOCK, 50, &answer);
    error = GetLastError();
  });
  worker.join();  // the user-interface thread looks at no message meanwhile
  EXPECT_EQ(sent, 0);
  EXPECT_EQ(error, ERROR_TIMEOUT);
  // The message is still handled, later.
  Pump();
  EXPECT_EQ(Taken(), (Lines{"w WM_USER+12"}));
}

TEST_F(Messages, SentMessagesComeBeforePostedOnesAndNotificationsDoNotWait) {
  PostMessage(w, WM_USER + 1, 0, 0);
  std::thread worker([&] {
    SendNotifyMessage(w, WM_USER + 2, 0, 0);  // returns at once
    PostMessage(w, WM_USER + 3, 0, 0);
  });
  worker.join();
  Pump();
  EXPECT_EQ(Taken(), (Lines{"w WM_USER+2", "w WM_USER+1", "w WM_USER+3"}));
}

TEST_F(Messages, ReplyMessageLetsTheSenderGoEarly) {
  static std::atomic<bool> senderBack;
  static std::atomic<bool> sawInSend;
  static TEvent* senderBackEvent;
  TEvent senderBackNow;
  senderBackEvent = &senderBackNow;
  senderBack = false;
  sawInSend = false;
  static WNDPROC previous;
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
      w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_USER + 13) {
          sawInSend = InSendMessage() != FALSE;
          ReplyMessage(42);
          senderBackEvent->WaitFor(5000);  // the sender goes on while the handler still runs
          return 7;  // too late: the sender has 42
        }
        return CallWindowProc(previous, h, msg, wp, lp);
      })));
  std::atomic<LRESULT> result{0};
  std::thread worker([&] {
    result = SendMessage(w, WM_USER + 13, 0, 0);
    senderBack = true;
    senderBackNow.SetEvent();
  });
  MSG m;
  while (!senderBack) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
  }
  worker.join();
  EXPECT_EQ(result, 42);
  EXPECT_TRUE(sawInSend);
  EXPECT_FALSE(InSendMessage());
}

// A window on a worker thread that sends back to the user-interface thread
// while that thread waits for its own send to the worker.
LRESULT WorkerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER + 20) return SendMessage(reinterpret_cast<HWND>(lParam), WM_USER + 21, 0, 0) + 1;
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

TEST_F(Messages, SendsBetweenTwoThreadsDoNotLockUp) {
  WNDCLASSEX wc;
  if (!GetClassInfoEx(nullptr, "VxnTestWorker", &wc)) {
    wc.lpfnWndProc = WorkerProc;
    wc.lpszClassName = "VxnTestWorker";
    ASSERT_NE(RegisterClassEx(&wc), 0);
  }
  wintest::Answers()[{"w", WM_USER + 21}] = 100;
  std::atomic<HWND> remote{nullptr};
  std::atomic<DWORD> remoteThread{0};
  TEvent created;
  std::thread worker([&] {
    HWND h = CreateWindowEx(0, "VxnTestWorker", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    remoteThread = GetCurrentThreadId();
    remote = h;
    created.SetEvent();
    MSG m;
    while (GetMessage(&m, nullptr, 0, 0) > 0) DispatchMessage(&m);
    DestroyWindow(h);
  });
  ASSERT_EQ(created.WaitFor(10000), wrSignaled);
  EXPECT_EQ(FindWindowEx(HWND_MESSAGE, nullptr, "VxnTestWorker", nullptr), remote.load());
  EXPECT_EQ(SendMessage(remote, WM_USER + 20, 0, reinterpret_cast<LPARAM>(w)), 101);
  EXPECT_EQ(Taken(), (Lines{"w WM_USER+21"}));
  EXPECT_TRUE(PostThreadMessage(remoteThread, WM_QUIT, 0, 0));
  worker.join();
  EXPECT_FALSE(IsWindow(remote));
}

TEST_F(Messages, AThreadThatEndsLetsItsSendersGo) {
  TEvent created;
  std::atomic<HWND> remote{nullptr};
  std::thread owner([&] {
    remote = CreateWindowEx(0, wintest::kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    created.SetEvent();
    // Never answers: ends with the window alive once the send waits in its queue.
    WaitForQueueStatus(QS_SENDMESSAGE);
  });
  ASSERT_EQ(created.WaitFor(10000), wrSignaled);
  DWORD_PTR answer = 0;
  EXPECT_EQ(SendMessageTimeout(remote, WM_USER, 0, 0, SMTO_NORMAL, 10000, &answer), 0);
  owner.join();
  EXPECT_FALSE(PostMessage(remote, WM_USER, 0, 0));
}

TEST_F(Messages, AbortIfHungGivesUpOnAThreadThatStoppedLooking) {
  TFakeClockScope clock;
  MSG m;
  PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);  // the thread looks at its queue now
  clock.Advance(6000);                          // and then not for six seconds
  std::atomic<LRESULT> sent{-1};
  std::atomic<DWORD> error{0};
  std::thread worker([&] {
    DWORD_PTR answer = 0;
    sent = SendMessageTimeout(w, WM_USER + 14, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 3000, &answer);
    error = GetLastError();
  });
  worker.join();
  EXPECT_EQ(sent, 0);
  EXPECT_EQ(error, ERROR_TIMEOUT);
  Pump();
  EXPECT_TRUE(Taken().empty());  // a hung thread is not even asked
}

TEST_F(Messages, WaitMessageReturnsWhenSomethingArrives) {
  const pid_t waiter = CurrentThreadId();
  std::thread poster([&] {
    WaitUntilAsleep(waiter);
    PostMessage(w, WM_USER + 15, 0, 0);
  });
  EXPECT_TRUE(WaitMessage());
  poster.join();
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 15);
}

TEST_F(Messages, AHandlerThatThrowsStillLetsTheSenderGo) {
  static WNDPROC previous;
  previous = reinterpret_cast<WNDPROC>(SetWindowLongPtr(
      w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_USER + 16) throw std::runtime_error("handler failed");
        return CallWindowProc(previous, h, msg, wp, lp);
      })));
  std::atomic<LRESULT> sent{-1};
  std::thread worker([&] {
    DWORD_PTR answer = 0;
    sent = SendMessageTimeout(w, WM_USER + 16, 0, 0, SMTO_BLOCK, 10000, &answer);
  });
  MSG m;
  bool thrown = false;
  while (sent.load() == -1) {
    try {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      PeekMessage(&m, nullptr, 0, 0, PM_REMOVE);
    } catch (const std::runtime_error&) {
      thrown = true;
    }
  }
  worker.join();
  EXPECT_TRUE(thrown);  // the exception reaches the thread that handled the message
  EXPECT_EQ(sent, 0);   // and the sender hears of a failure instead of waiting
}

TEST_F(Messages, NoTimeOutIfNotHungWaitsForABusyThread) {
  wintest::Answers()[{"w", WM_USER + 17}] = 5;
  MSG m;
  PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
  std::atomic<LRESULT> sent{-1};
  DWORD_PTR answer = 0;
  std::thread worker([&] { sent = SendMessageTimeout(w, WM_USER + 17, 0, 0, SMTO_NOTIMEOUTIFNOTHUNG, 20, &answer); });
  WaitForQueueStatus(QS_SENDMESSAGE);
  // Busy, but not hung, until a plain send with the same time-out, sent
  // later, has given up.
  LRESULT plain = -1;
  std::thread([&] {
    DWORD_PTR ignored = 0;
    plain = SendMessageTimeout(w, WM_USER + 18, 0, 0, SMTO_NORMAL, 20, &ignored);
  }).join();
  EXPECT_EQ(plain, 0);
  while (sent.load() == -1) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  worker.join();
  EXPECT_EQ(sent, TRUE);
  EXPECT_EQ(answer, 5u);
}

TEST_F(Messages, MsgWaitReturnsForEventsInputAndTime) {
  TEvent a, b(false);
  TEvent* events[] = {&a, &b};
  const pid_t waiter = CurrentThreadId();
  std::thread setter([&] {
    WaitUntilAsleep(waiter);
    b.SetEvent();
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, 5000, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
  setter.join();
  EXPECT_FALSE(b.IsSignaled());  // an automatic event is taken by the wait
  EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, 20, QS_ALLINPUT), WAIT_TIMEOUT);

  std::thread poster([&] {
    WaitUntilAsleep(waiter);
    PostMessage(w, WM_USER, 0, 0);
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, 5000, QS_POSTMESSAGE), WAIT_OBJECT_0 + 2);
  poster.join();
  // Input counts once: after a look at the queue it is no longer new, unless
  // the caller asks for input that is there at all.
  MSG m;
  PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT), WAIT_TIMEOUT);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE), WAIT_OBJECT_0);
  a.SetEvent();
  EXPECT_EQ(MsgWaitForMultipleObjects(2, events, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(GetQueueStatus(QS_POSTMESSAGE) >> 16, QS_POSTMESSAGE);
  EXPECT_EQ(MsgWaitForMultipleObjects(2, events, TRUE, 0, QS_ALLINPUT), WAIT_FAILED);
}

TEST_F(Messages, RegisteredMessagesShareNumbersByName) {
  UINT a = RegisterWindowMessage("VxnTrigger");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessage("vxntrigger"), a);
  EXPECT_NE(RegisterWindowMessage("VxnOther"), a);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

}  // namespace
