#include "platform/rtl/SyncObjs.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/rtl/Threads.h"
#include "tests/support/ThreadState.h"

namespace {

using Clock = std::chrono::steady_clock;

long long elapsedMs(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(TCriticalSection, IsRecursiveAndExcludesOtherThreads) {
  TCriticalSection lock;
  lock.Enter();
  lock.Enter();
  bool otherGotIt = true;
  std::thread([&] { otherGotIt = lock.TryEnter(); }).join();
  EXPECT_FALSE(otherGotIt);
  lock.Leave();
  lock.Leave();
  std::thread([&] {
    otherGotIt = lock.TryEnter();
    if (otherGotIt) lock.Leave();
  }).join();
  EXPECT_TRUE(otherGotIt);
}

TEST(TEvent, ManualAndAutomaticReset) {
  TEvent manual(true, false);
  EXPECT_EQ(manual.WaitFor(0), wrTimeout);
  manual.SetEvent();
  manual.SetEvent();
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);  // stays set
  manual.ResetEvent();
  EXPECT_FALSE(manual.IsSignaled());

  TEvent automatic(false, true);  // initially set
  EXPECT_EQ(automatic.WaitFor(0), wrSignaled);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout);  // the wait reset it
  automatic.SetEvent();
  automatic.SetEvent();  // twice with nobody waiting: still one release
  EXPECT_EQ(automatic.WaitFor(0), wrSignaled);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout);

  const auto start = Clock::now();
  EXPECT_EQ(automatic.WaitFor(60), wrTimeout);
  EXPECT_GE(elapsedMs(start), 55);
}

TEST(TEvent, HandleCanBePolledWithOtherDescriptors) {
  TEvent event(true, false);
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t poller = CurrentThreadId();
  std::thread setter([&] {
    WaitUntilAsleep(poller);  // set while the poll below sleeps
    event.SetEvent();
  });
  pollfd p[2] = {{fds[0], POLLIN, 0}, {event.Handle(), POLLIN, 0}};
  EXPECT_EQ(::poll(p, 2, 5000), 1);
  EXPECT_EQ(p[0].revents, 0);
  EXPECT_TRUE(p[1].revents & POLLIN);
  EXPECT_TRUE(event.TryConsume());
  setter.join();
  ::close(fds[0]);
  ::close(fds[1]);
}

TEST(TEvent, AutomaticEventReleasesOneWaiterPerSet) {
  TEvent event(false, false);
  TEvent releasedOne(false, false);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i)
    waiters.emplace_back([&] {
      if (event.WaitFor(5000) == wrSignaled) ++released;
      releasedOne.SetEvent();
    });
  for (int i = 1; i <= 4; ++i) {
    event.SetEvent();
    EXPECT_EQ(releasedOne.WaitFor(5000), wrSignaled);
    EXPECT_EQ(released.load(), i);
  }
  for (std::thread& t : waiters) t.join();
  EXPECT_EQ(event.WaitFor(0), wrTimeout);
}

TEST(TEvent, ManualEventReleasesEveryWaiter) {
  TEvent event(true, false);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  std::vector<std::atomic<pid_t>> ids(5);
  for (int i = 0; i < 5; ++i)
    waiters.emplace_back([&, i] {
      ids[i] = CurrentThreadId();
      if (event.WaitFor(5000) == wrSignaled) ++released;
    });
  for (auto& id : ids) {  // every one of them waits before the set
    while (!id.load()) std::this_thread::yield();
    EXPECT_TRUE(WaitUntilAsleep(id));
  }
  event.SetEvent();
  for (std::thread& t : waiters) t.join();
  EXPECT_EQ(released.load(), 5);
}

TEST(WaitForAnyEvent, IndexTimeOutAndWakeUpFromAnotherThread) {
  TEvent a(false, false), b(true, false), c(false, false);
  EXPECT_EQ(WaitForAnyEvent({&a, &b, &c}, 0), -1);
  c.SetEvent();
  b.SetEvent();
  EXPECT_EQ(WaitForAnyEvent({&a, &b, &c}, 0), 1);  // the earlier one wins
  b.ResetEvent();
  EXPECT_EQ(WaitForAnyEvent({&a, &b, &c}, 0), 2);
  EXPECT_FALSE(c.IsSignaled());  // automatic: taken by the wait

  const auto start = Clock::now();
  EXPECT_EQ(WaitForAnyEvent({&a, &c}, 50), -1);
  EXPECT_GE(elapsedMs(start), 45);

  // Several threads each wait on their own cancel event and a shared one.
  TEvent shared(false, false), oneBack(false, false);
  std::vector<std::unique_ptr<TEvent>> cancels;
  std::vector<std::thread> threads;
  std::atomic<int> byShared{0}, byCancel{0};
  for (int i = 0; i < 3; ++i) cancels.push_back(std::make_unique<TEvent>(true, false));
  for (int i = 0; i < 3; ++i)
    threads.emplace_back([&, i] {
      const Integer r = WaitForAnyEvent({cancels[i].get(), &shared}, 5000);
      if (r == 1) ++byShared, oneBack.SetEvent();
      if (r == 0) ++byCancel;
    });
  shared.SetEvent();
  EXPECT_EQ(oneBack.WaitFor(5000), wrSignaled);
  for (auto& cancel : cancels) cancel->SetEvent();
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(byShared.load(), 1);
  EXPECT_EQ(byCancel.load(), 2);
}

class Counter : public TThread {
 public:
  explicit Counter(TEvent* done = nullptr) : done_(done) {}
  ~Counter() override {
    if (done_) done_->SetEvent();
  }
  std::atomic<int> loops{0};
  TEvent looping{true, false};  // set once the thread has gone round three times

 protected:
  void Execute() override {
    while (!Terminated()) {
      if (++loops == 3) looping.SetEvent();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // its work
    }
    SetReturnValue(42);
  }

 private:
  TEvent* done_;
};

class Thrower : public TThread {
 protected:
  void Execute() override { throw EConvertError("bad"); }
};

TEST(TThread, RunsTerminatesAndReturns) {
  Counter thread;
  EXPECT_TRUE(thread.Suspended());
  EXPECT_THROW(thread.WaitFor(), EThread);
  thread.Start();
  EXPECT_THROW(thread.Start(), EThread);
  EXPECT_EQ(thread.looping.WaitFor(5000), wrSignaled);
  EXPECT_FALSE(thread.Finished());
  EXPECT_NE(thread.ThreadID(), 0);
  thread.Terminate();
  EXPECT_EQ(thread.WaitFor(), 42);
  EXPECT_TRUE(thread.Finished());
  EXPECT_EQ(thread.WaitFor(), 42);  // a second wait is harmless

  Thrower thrower;
  thrower.Start();
  thrower.WaitFor();
  ASSERT_TRUE(thrower.FatalException());
  EXPECT_THROW(std::rethrow_exception(thrower.FatalException()), EConvertError);

  // Freeing a running thread stops it before any destructor runs.
  TEvent destroyed(true, false);
  Counter* running = TThread::StartNew<Counter>(&destroyed);
  running->Free();
  EXPECT_TRUE(destroyed.IsSignaled());
}

TEST(TThread, FreeOnTerminateDeletesItself) {
  TEvent destroyed(true, false);
  Counter* thread = new Counter(&destroyed);
  thread->SetFreeOnTerminate(true);
  thread->Start();
  thread->Terminate();
  EXPECT_EQ(destroyed.WaitFor(5000), wrSignaled);
}

}  // namespace
