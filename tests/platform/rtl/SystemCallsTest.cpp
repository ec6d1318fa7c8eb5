#include "platform/rtl/SystemCalls.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/rtl/SysUtils.h"
#include "tests/support/TempFolder.h"

namespace {

bool IsOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

TEST(SystemCalls, AFailureCarriesTheCallAndTheSystemsReason) {
  TempFolder folder("syscalls");
  const std::string missing = folder / "missing";
  sys::CallResult r = sys::Open(missing, O_RDONLY);
  EXPECT_TRUE(r.Failed());
  EXPECT_EQ(r.Value, -1);
  EXPECT_EQ(r.Message(), "open " + missing + " failed: No such file or directory (errno 2)");
  try {
    r.OrRaise();
    ADD_FAILURE() << "not raised";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode, ENOENT);
    EXPECT_EQ(e.CallName, "open " + missing);
    EXPECT_EQ(e.Message, r.Message());
  }
  sys::CallResult made = sys::Open(folder / "made", O_WRONLY | O_CREAT, 0600);
  ASSERT_TRUE(made) << made.Message();
  EXPECT_EQ(made.OrRaise(), made.Value);
  ::close(static_cast<int>(made.Value));
}

TEST(SystemCalls, AnOwnedDescriptorIsClosedOnceWhenItsOwnerGoes) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  {
    sys::FileDescriptor read(fds[0]);
    sys::FileDescriptor moved = std::move(read);
    EXPECT_FALSE(read.Valid());
    EXPECT_EQ(moved.Get(), fds[0]);
    EXPECT_TRUE(IsOpen(fds[0]));
  }
  EXPECT_FALSE(IsOpen(fds[0]));
  sys::FileDescriptor write(fds[1]);
  EXPECT_TRUE(write.Close());
  EXPECT_FALSE(IsOpen(fds[1]));
  EXPECT_TRUE(write.Close());  // a second close does nothing
  sys::FileDescriptor kept(::dup(1));
  int handed = kept.Release();
  EXPECT_TRUE(IsOpen(handed));
  ::close(handed);
}

// A signal that interrupts a wait does not end it: poll goes on until its
// descriptor is ready (the signal's own handler makes it ready, so the test
// ends either way but only a retried poll reports it).
std::atomic<int> g_signals{0};
int g_readyOnThird = -1;
void CountSignal(int) {
  if (++g_signals == 3) {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(g_readyOnThird, &one, sizeof one);
  }
}

TEST(SystemCalls, AWaitInterruptedBySignalsGoesOn) {
  g_readyOnThird = ::eventfd(0, EFD_CLOEXEC);
  sys::FileDescriptor owned(g_readyOnThird);
  struct sigaction action {};
  action.sa_handler = CountSignal;  // no SA_RESTART: poll sees EINTR
  struct sigaction old {};
  ASSERT_EQ(::sigaction(SIGUSR1, &action, &old), 0);
  g_signals = 0;
  std::atomic<bool> done{false};
  pthread_t waiter = ::pthread_self();
  std::thread signaller([&] {
    while (!done) {
      ::pthread_kill(waiter, SIGUSR1);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  pollfd p{g_readyOnThird, POLLIN, 0};
  sys::CallResult r = sys::Poll(&p, 1, 10000);
  done = true;
  signaller.join();
  ::sigaction(SIGUSR1, &old, nullptr);
  EXPECT_TRUE(r) << r.Message();
  EXPECT_EQ(r.Value, 1);
  EXPECT_GE(g_signals.load(), 3);
}

TEST(SystemCalls, WriteAllWritesEverythingAndListFolderLeavesOutTheDots) {
  TempFolder folder("syscalls");
  std::string big(1 << 20, 'x');
  sys::CallResult opened;
  sys::FileDescriptor file = sys::OpenOwned(folder / "big", O_WRONLY | O_CREAT, 0600, opened);
  ASSERT_TRUE(opened);
  EXPECT_EQ(sys::WriteAll(file.Get(), big.data(), big.size()).Value, static_cast<long>(big.size()));
  std::vector<std::string> names;
  ASSERT_TRUE(sys::ListFolder(folder.Path(), names));
  EXPECT_EQ(names, std::vector<std::string>{"big"});
  names.clear();
  sys::CallResult missing = sys::ListFolder(folder / "none", names);
  EXPECT_EQ(missing.Error, ENOENT);
  EXPECT_TRUE(names.empty());
}

}  // namespace
