// How fast messages travel: a posted message to its window procedure on the
// same thread, and a SendMessage round trip from another thread (the way the
// serial component's worker reaches the user-interface thread).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/rtl/SyncObjs.h"
#include "platform/win/Windows.h"

using namespace win;

namespace {

std::atomic<long> handled{0};

LRESULT CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) {
    handled.fetch_add(1, std::memory_order_relaxed);
    return static_cast<LRESULT>(wParam) + 1;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

const char* CountingClass() {
  static const char* name = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = CountingProc;
    wc.lpszClassName = "VxnBenchCounting";
    RegisterClassEx(&wc);
    return "VxnBenchCounting";
  }();
  return name;
}

void BM_PostedMessageToProcedure(benchmark::State& state) {
  HWND w = CreateWindowEx(0, CountingClass(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  MSG m;
  for (auto _ : state) {
    PostMessage(w, WM_USER, 0, 0);
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
  }
  DestroyWindow(w);
}
BENCHMARK(BM_PostedMessageToProcedure);

// Another thread posts while this one sleeps in GetMessage; the counter
// gives the time from PostMessage to the window procedure, wake-up included.
std::atomic<int64_t> postedAt{0};
std::atomic<int64_t> latencyTotal{0};
std::atomic<bool> measuring{false};
TEvent* dispatched = nullptr;

int64_t Nanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

LRESULT LatencyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) {
    if (measuring) latencyTotal += Nanoseconds() - postedAt.load();
    dispatched->SetEvent();
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void BM_PostedMessageWakesGetMessage(benchmark::State& state) {
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = LatencyProc;
    wc.lpszClassName = "VxnBenchLatency";
    return RegisterClassEx(&wc) != 0;
  }();
  (void)registered;
  HWND w = CreateWindowEx(0, "VxnBenchLatency", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  TEvent done(false);
  dispatched = &done;
  latencyTotal = 0;
  measuring = true;
  std::atomic<bool> stop{false};
  std::thread poster([&] {
    while (!stop.load()) {
      postedAt = Nanoseconds();
      PostMessage(w, WM_USER, 0, 0);
      done.WaitFor(1000);
    }
  });
  MSG m;
  for (auto _ : state) {
    GetMessage(&m, nullptr, 0, 0);
    DispatchMessage(&m);
  }
  // The poster's last message is not waited for: it is not counted.
  measuring = false;
  stop = true;
  done.SetEvent();
  poster.join();
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
  state.counters["post_to_proc_us"] =
      benchmark::Counter(static_cast<double>(latencyTotal.load()) / 1000.0 / static_cast<double>(state.iterations()));
  DestroyWindow(w);
}
BENCHMARK(BM_PostedMessageWakesGetMessage)->UseRealTime();

void BM_CrossThreadSendRoundTrip(benchmark::State& state) {
  std::atomic<HWND> target{nullptr};
  std::atomic<DWORD> targetThread{0};
  std::thread owner([&] {
    HWND w = CreateWindowEx(0, CountingClass(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    targetThread = GetCurrentThreadId();
    target = w;
    MSG m;
    while (GetMessage(&m, nullptr, 0, 0) > 0) DispatchMessage(&m);
    DestroyWindow(w);
  });
  while (!target.load()) std::this_thread::yield();
  WPARAM i = 0;
  for (auto _ : state) {
    DWORD_PTR result = 0;
    SendMessageTimeout(target, WM_USER, i, 0, SMTO_BLOCK, 3000, &result);
    benchmark::DoNotOptimize(result);
    ++i;
  }
  PostThreadMessage(targetThread, WM_QUIT, 0, 0);
  owner.join();
}
BENCHMARK(BM_CrossThreadSendRoundTrip)->UseRealTime();

}  // namespace
