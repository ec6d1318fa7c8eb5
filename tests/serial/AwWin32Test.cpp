#include "serial/AwWin32.h"

#include <dirent.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "serial/AdExcept.h"
#include "serial/OoMisc.h"
#include "platform/win/Windows.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SimulatedRadio.h"

namespace {

using Clock = std::chrono::steady_clock;

// Threads of this process, from the kernel's list.
int ProcessThreadCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/task")) {
    while (dirent* e = readdir(dir))
      if (e->d_name[0] != '.') ++count;
    closedir(dir);
  }
  return count;
}

// A handler window on the test thread: each data-available message is
// recorded and handed to the test's reaction.
struct Notice {
  win::WPARAM Count;
  win::LPARAM LParam;
};
std::vector<Notice>* gNotices = nullptr;
std::function<void(win::WPARAM)>* gReaction = nullptr;

win::LRESULT HandlerProc(win::HWND hwnd, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) {
  if (msg == APW_TRIGGERAVAIL) {
    if (gNotices) gNotices->push_back({wParam, lParam});
    if (gReaction && *gReaction) (*gReaction)(wParam);
    return 0;
  }
  return win::DefWindowProc(hwnd, msg, wParam, lParam);
}

win::HWND MakeHandlerWindow() {
  static bool registered = false;
  if (!registered) {
    win::WNDCLASSEX wc;
    wc.lpfnWndProc = HandlerProc;
    wc.lpszClassName = "AwWin32TestHandler";
    win::RegisterClassEx(&wc);
    registered = true;
  }
  return win::CreateWindowEx(0, "AwWin32TestHandler", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
}

// The dispatch log, read and changed under the dispatcher lock as the
// workers do.
struct LockedLog {
  explicit LockedLog(TApdWin32Dispatcher* d) : lock(d->DispatcherLock()), log(d->Log()) { lock.Enter(); }
  ~LockedLog() { lock.Leave(); }
  TDispatchLog* operator->() { return &log; }
  TCriticalSection& lock;
  TDispatchLog& log;
};

class DispatcherOverPty : public ::testing::Test {
 protected:
  void SetUp() override {
    gNotices = &notices_;
    gReaction = &reaction_;
    window_ = MakeHandlerWindow();
    threadsBefore_ = ProcessThreadCount();
  }
  void TearDown() override {
    if (d_) d_->Free();
    win::DestroyWindow(window_);
    gNotices = nullptr;
    gReaction = nullptr;
  }

  void Open() {
    d_ = new TApdWin32Dispatcher(nullptr);
    ASSERT_EQ(d_->DispatcherOpenDevice("\\\\.\\COM21", 2400, ipAssertDTR | ipAssertRTS, 4096, 4096, 2, 8, 0), 0);
    d_->AddWindowHandler(window_);
    d_->RecomputeDeliveryNeed(1);
    d_->SetLengthTrigger(1);
  }
  void Write(const std::vector<Byte>& bytes) {
    ASSERT_EQ(d_->WriteOutputBlock(bytes.data(), static_cast<Integer>(bytes.size())), 0);
  }
  std::vector<Byte> ReadAll() {
    std::vector<Byte> got;
    for (Integer b; (b = d_->TakeInputByte()) >= 0;) got.push_back(static_cast<Byte>(b));
    return got;
  }

  SimulatedRadio radio_{21};
  TApdWin32Dispatcher* d_ = nullptr;
  win::HWND window_ = nullptr;
  std::vector<Notice> notices_;
  std::function<void(win::WPARAM)> reaction_;
  int threadsBefore_ = 0;
};

TEST_F(DispatcherOverPty, HandshakeAnswerArrivesAsDataAvailableOnThisThread) {
  radio_.Start();
  Open();
  std::vector<Byte> got;
  reaction_ = [&](win::WPARAM) {
    for (Integer b; (b = d_->TakeInputByte()) >= 0;) got.push_back(static_cast<Byte>(b));
  };
  Write({'P', 'R', 'O', 'G', 'R', 'A', 'M'});
  ASSERT_TRUE(PumpUntil([&] { return !got.empty(); }, 3000));
  EXPECT_EQ(got, std::vector<Byte>{0x06});
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_EQ(notices_[0].Count, 1u);
  EXPECT_EQ((notices_[0].LParam >> 16) & 0xFFFF, d_->Handle());
  EXPECT_EQ(static_cast<UInt64>(notices_[0].LParam) >> 32, d_->Generation());
  EXPECT_EQ(d_->InputCount(), 0);
}

TEST_F(DispatcherOverPty, UnreadBytesStayAndAreAnnouncedAgainWithTheNextArrival) {
  Open();
  std::vector<Byte> got;
  reaction_ = [&](win::WPARAM) { got.push_back(static_cast<Byte>(d_->TakeInputByte())); };
  ASSERT_EQ(write(radio_.Master(), "abc", 3), 3);
  ASSERT_TRUE(PumpUntil([&] { return !notices_.empty(); }, 3000));
  EXPECT_EQ(notices_[0].Count, 3u);
  EXPECT_TRUE(PumpUntil([&] { return d_->InputCount() == 2; }, 1000));
  ASSERT_EQ(write(radio_.Master(), "d", 1), 1);
  ASSERT_TRUE(PumpUntil([&] { return notices_.size() == 2; }, 3000));
  EXPECT_EQ(notices_[1].Count, 3u);
  reaction_ = nullptr;
  EXPECT_TRUE(PumpUntil([&] { return d_->InputCount() == 2; }, 1000));
  EXPECT_EQ(got, (std::vector<Byte>{'a', 'b'}));
  EXPECT_EQ(ReadAll(), (std::vector<Byte>{'c', 'd'}));
}

TEST_F(DispatcherOverPty, NoHandlerServiceMeansNoMessage) {
  d_ = new TApdWin32Dispatcher(nullptr);
  ASSERT_EQ(d_->DispatcherOpenDevice("COM21", 2400, 0, 4096, 4096, 2, 8, 0), 0);
  d_->AddWindowHandler(window_);
  d_->SetLengthTrigger(1);
  ASSERT_EQ(write(radio_.Master(), "xyz", 3), 3);
  EXPECT_TRUE(PumpUntil([&] { return d_->InputCount() == 3; }, 3000));
  PumpFor(100);
  EXPECT_TRUE(notices_.empty());
}

TEST_F(DispatcherOverPty, HandlerBlockingPastTheTimeOutLosesAndRepeatsNoByte) {
  Open();
  std::vector<Byte> got;
  bool blocked = false;
  reaction_ = [&](win::WPARAM) {
    if (!blocked) {
      blocked = true;
      got.push_back(static_cast<Byte>(d_->TakeInputByte()));
      // Longer than the send time-out while more bytes arrive.
      auto end = Clock::now() + std::chrono::milliseconds(5000);
      int sent = 0;
      while (Clock::now() < end) {
        if (sent < 20) {
          char c = static_cast<char>('A' + sent++);
          (void)!write(radio_.Master(), &c, 1);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      got.push_back(static_cast<Byte>(d_->TakeInputByte()));
    }
    for (Integer b; (b = d_->TakeInputByte()) >= 0;) got.push_back(static_cast<Byte>(b));
  };
  ASSERT_EQ(write(radio_.Master(), "0123", 4), 4);
  ASSERT_TRUE(PumpUntil([&] { return got.size() >= 24; }, 12000)) << got.size();
  PumpFor(200);
  std::string text(got.begin(), got.end());
  EXPECT_EQ(text, "0123ABCDEFGHIJKLMNOPQRST");
}

TEST_F(DispatcherOverPty, QueuedBlocksReachTheRadioInOrderAcrossTheRingEnd) {
  d_ = new TApdWin32Dispatcher(nullptr);
  ASSERT_EQ(d_->DispatcherOpenDevice("COM21", 2400, 0, 64, 64, 1, 8, 0), 0);
  radio_.Start();
  std::vector<Byte> sent;
  for (int round = 0; round < 10; ++round) {
    std::vector<Byte> block(25);
    for (int i = 0; i < 25; ++i) block[i] = static_cast<Byte>(0x80 + round * 25 + i);
    ASSERT_TRUE(PumpUntil([&] { return d_->OutputFree() >= 25; }, 3000));
    Write(block);
    sent.insert(sent.end(), block.begin(), block.end());
  }
  ASSERT_TRUE(PumpUntil([&] { return radio_.Received().size() >= sent.size(); }, 3000));
  EXPECT_EQ(radio_.Received(), sent);
  EXPECT_EQ(d_->OutputCount(), 0);
}

TEST_F(DispatcherOverPty, ClosingDuringTrafficReturnsPromptlyAndLeavesNoThread) {
  radio_.Start();
  Open();
  reaction_ = [&](win::WPARAM) { ReadAll(); };
  for (int i = 0; i < 40; ++i) Write({0x06});
  auto start = Clock::now();
  d_->Free();
  d_ = nullptr;
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
  EXPECT_TRUE(PumpUntil([&] { return ProcessThreadCount() <= threadsBefore_ + 1; }, 2000))
      << ProcessThreadCount() << " vs " << threadsBefore_;
}

// A loss ends the event thread only: the dispatch and output threads stay
// until the port is closed, which then is as prompt as ever.
TEST_F(DispatcherOverPty, RadioHangingUpEndsTheEventThreadOnly) {
  Open();
  EXPECT_EQ(d_->RunningThreadCount(), 3);
  radio_.HangUp();
  ASSERT_TRUE(PumpUntil([&] { return d_->DeviceLost(); }, 5000));
  EXPECT_TRUE(PumpUntil([&] { return d_->RunningThreadCount() == 2; }, 5000)) << d_->RunningThreadCount();
  PumpFor(100);
  EXPECT_EQ(d_->RunningThreadCount(), 2);
  auto start = Clock::now();
  d_->Free();
  d_ = nullptr;
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
  EXPECT_TRUE(PumpUntil([&] { return ProcessThreadCount() <= threadsBefore_ + 1; }, 5000));
}

// The radio's last bytes reach the handler before the loss is known, even
// when the device layer learns of the hang-up before the event thread waits
// again: here both happen while a delivery holds that thread.
TEST_F(DispatcherOverPty, BytesArrivingJustBeforeAHangUpAreDeliveredFirst) {
  Open();
  const std::string last = "ABCDEFGHIJKLMNOPQRST";
  std::string got;
  bool lostDuringDelivery = false;
  bool hungUp = false;
  auto waitFor = [](const std::function<bool()>& done) {
    auto end = Clock::now() + std::chrono::seconds(10);
    while (!done() && Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
  };
  reaction_ = [&](win::WPARAM) {
    lostDuringDelivery = lostDuringDelivery || d_->DeviceLost();
    for (Integer b; (b = d_->TakeInputByte()) >= 0;) got += static_cast<char>(b);
    if (hungUp) return;
    hungUp = true;
    ASSERT_EQ(write(radio_.Master(), last.data(), last.size()), static_cast<ssize_t>(last.size()));
    // In the device's queue, off the line (which the hang-up empties).
    win::COMSTAT stat;
    EXPECT_TRUE(waitFor([&] {
      d_->QueryDeviceStatus(stat);
      return stat.cbInQue == last.size() && radio_.PendingOnSlave() == 0;
    }));
    radio_.HangUp();
    EXPECT_TRUE(waitFor([&] {
      win::SetLastError(0);
      d_->QueryDeviceStatus(stat);
      return win::GetLastError() == win::ERROR_GEN_FAILURE;
    }));
  };
  ASSERT_EQ(write(radio_.Master(), "0", 1), 1);
  ASSERT_TRUE(PumpUntil([&] { return d_->DeviceLost(); }, 10000));
  EXPECT_EQ(got, "0" + last);
  EXPECT_FALSE(lostDuringDelivery);
}

// A write the device refuses goes to the dispatch log with the bytes dropped.
TEST_F(DispatcherOverPty, AFailedWriteIsLogged) {
  Open();
  {
    LockedLog log(d_);
    log->Start(10000);
  }
  radio_.HangUp();
  ASSERT_TRUE(PumpUntil([&] { return d_->DeviceLost(); }, 5000));
  Write({0x52, 0x00, 0x08});
  auto logged = [&] {
    LockedLog log(d_);
    return log->EntryText(true, false);
  };
  ASSERT_TRUE(PumpUntil([&] { return logged().find("Error") != std::string::npos; }, 5000)) << logged();
  EXPECT_NE(logged().find("Error     WriteCom      00000003  R[00][08]\n"), std::string::npos) << logged();
}

TEST_F(DispatcherOverPty, StartingTwiceIsRefused) {
  Open();
  EXPECT_THROW(d_->StartThreads(), EAPDException);
}

TEST(Win32Dispatcher, TelephonyWithoutHandleFails) {
  auto* d = new TApdTAPI32Dispatcher(nullptr, nullptr);
  EXPECT_EQ(d->OpenHandle("", 64, 64), ecCommNotOpen);
  EXPECT_EQ(win::GetLastError(), 2007u);
  d->Free();
}

}  // namespace
