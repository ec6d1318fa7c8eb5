#include "serial/AwUser.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <thread>

#include "serial/AdExcept.h"
#include "platform/rtl/Clock.h"
#include "platform/win/Windows.h"

namespace {

// A dispatcher over a device that exists only in memory: a settings record,
// a driver receive queue, modem lines and pending line errors. Drain plays
// the output thread.
class TFakeDispatcher : public TApdBaseDispatcher {
 public:
  explicit TFakeDispatcher(TComponent* owner = nullptr) : TApdBaseDispatcher(owner) {
    Device.BaudRate = 9600;
    Device.ByteSize = 8;
    Device.Parity = win::NOPARITY;
    Device.StopBits = win::ONESTOPBIT;
  }

  Integer SignalLine(Integer code) override {
    Signals.push_back(code);
    return FailSignal ? -1 : 0;
  }
  Integer PurgeQueue(Integer which) override {
    if (which) {
      DriverIn.clear();
    } else {
      OutputLock().Enter();
      OutHead = OutTail = 0;
      OutBuffFull = false;
      OutputLock().Leave();
    }
    return 0;
  }
  Integer QueryDeviceStatus(win::COMSTAT& stat) override {
    // Takes the output lock: the input lock must not be held here.
    if (WatchRingLocks && HeldByAnyone(InputLock())) RingLocksTogether = true;
    stat.cbInQue = static_cast<win::DWORD>(DriverIn.size());
    OutputLock().Enter();
    stat.cbOutQue = static_cast<win::DWORD>(OutputRingCount());
    OutputLock().Leave();
    Integer errors = PendingErrors;
    PendingErrors = 0;
    return errors;
  }
  Integer AfterReadError() override { return 0; }
  Integer ReadSettingsRecord(win::DCB& record) override {
    record = Device;
    return 0;
  }
  Integer ReadDevice(Byte* buffer, Integer count) override {
    if (WatchRingLocks && HeldByAnyone(OutputLock())) RingLocksTogether = true;
    Integer n = std::min<Integer>(count, static_cast<Integer>(DriverIn.size()));
    for (Integer i = 0; i < n; ++i) {
      buffer[i] = DriverIn.front();
      DriverIn.pop_front();
    }
    ++Reads;
    return n;
  }
  Integer WriteSettingsRecord(const win::DCB& record) override {
    Device = record;
    ++Writes;
    return 0;
  }
  Integer QueueOutput(const Byte* block, Integer length) override {
    CopyToOutputRing(block, length);
    return length;
  }
  bool WaitDeviceEvent(win::DWORD&, win::OVERLAPPED*) override { return false; }
  bool SizeDeviceQueues(Integer, Integer) override {
    if (SizeError) win::SetLastError(SizeError);
    return SizeError == 0;
  }
  void StartThreads() override { ThreadsStarted = true; }
  void StopThreads() override { ThreadsStarted = false; }
  Integer OpenHandle(const std::string&, Integer, Integer) override {
    if (OpenResult == -1) win::SetLastError(OpenError);
    return OpenResult;
  }
  Integer CloseDevice() override {
    ++Closes;
    return 0;
  }
  Integer YieldSlice() override { return 0; }
  Byte ReadModemLines() override { return Lines; }

  Integer Open(Integer transmitSize = 4096, Word options = ipAssertDTR | ipAssertRTS) {
    return DispatcherOpenDevice("COM1", 2400, options, transmitSize, 4096, 2, 8, 0);
  }
  void Arrive(const std::string& bytes) { DriverIn.insert(DriverIn.end(), bytes.begin(), bytes.end()); }
  std::string TakeAll() {
    std::string s;
    for (Integer b; (b = TakeInputByte()) >= 0;) s += static_cast<char>(b);
    return s;
  }
  // Sends up to count bytes from the output ring, as the output thread does.
  std::string Drain(Integer count) {
    std::string sent;
    OutputLock().Enter();
    while (count-- > 0 && (OutHead != OutTail || OutBuffFull)) {
      sent += static_cast<char>(OutBuff[OutTail]);
      OutTail = (OutTail + 1) % TransmitSize();
      OutBuffFull = false;
    }
    OutputLock().Leave();
    return sent;
  }
  bool Started() const { return ThreadsStarted; }

  // A recursive lock answers a try from its holder: ask from another thread.
  static bool HeldByAnyone(TCriticalSection& lock) {
    bool free = false;
    std::thread([&] {
      free = lock.TryEnter();
      if (free) lock.Leave();
    }).join();
    return !free;
  }
  bool WatchRingLocks = false;
  bool RingLocksTogether = false;

  win::DCB Device;
  std::deque<Byte> DriverIn;
  std::vector<Integer> Signals;
  bool FailSignal = false;
  Byte Lines = CTSMask | DSRMask | DCDMask;
  Integer PendingErrors = 0;
  Integer OpenResult = 0;
  win::DWORD OpenError = 0;
  win::DWORD SizeError = 0;
  Integer Reads = 0;
  Integer Writes = 0;
  Integer Closes = 0;
};

// Dispatchers are freed with Free, which releases the port first.
struct FreeDispatcher {
  void operator()(TFakeDispatcher* d) const { d->Free(); }
};
using TFakePtr = std::unique_ptr<TFakeDispatcher, FreeDispatcher>;

TEST(AwUser, RegistryHandsOutFirstFreeHandle) {
  auto* first = new TFakeDispatcher;
  auto* second = new TFakeDispatcher;
  EXPECT_EQ(first->Handle(), 0);
  EXPECT_EQ(second->Handle(), 1);
  first->Free();
  auto* third = new TFakeDispatcher;
  EXPECT_EQ(third->Handle(), 0);
  PortListLock().Enter();
  EXPECT_EQ(DispatcherOfHandle(0), third);
  EXPECT_EQ(DispatcherOfHandle(1), second);
  EXPECT_EQ(DispatcherOfHandle(2), nullptr);
  PortListLock().Leave();
  second->Free();
  third->Free();
  PortListLock().Enter();
  EXPECT_EQ(DispatcherOfHandle(0), nullptr);
  PortListLock().Leave();
}

TEST(AwUser, OpenAppliesSettingsAndLines) {
  TFakeClockScope clock;
  TFakePtr owner(new TFakeDispatcher);
  TFakeDispatcher& d = *owner;
  ASSERT_EQ(d.Open(), 0);
  EXPECT_EQ(d.Device.BaudRate, 2400u);
  EXPECT_EQ(d.Device.StopBits, win::TWOSTOPBITS);
  EXPECT_EQ(d.Device.ByteSize, 8);
  EXPECT_EQ(d.Device.fDtrControl, win::DTR_CONTROL_ENABLE);
  EXPECT_TRUE(d.DTRState());
  EXPECT_TRUE(d.RTSState());
  EXPECT_EQ(d.LastBaud(), 2400u);
  EXPECT_EQ(d.ModemStatus(), CTSMask | DSRMask | DCDMask);
  EXPECT_TRUE(d.Started());
  d.ReleasePort();
  EXPECT_EQ(d.Closes, 1);
  EXPECT_FALSE(d.Started());
}

TEST(AwUser, OpenFailures) {
  struct Case {
    Integer openResult;
    win::DWORD openError, sizeError;
    Integer expected;
  };
  const Case cases[] = {
      {-1, 2, 0, -2},    // no such device
      {-1, 5, 0, -5},    // held by another program
      {-8, 0, 0, -8},    // out of memory
      {0, 0, 87, -87},   // queue sizing refused
  };
  for (const Case& c : cases) {
    TFakePtr owner(new TFakeDispatcher);
  TFakeDispatcher& d = *owner;
    d.OpenResult = c.openResult;
    d.OpenError = c.openError;
    d.SizeError = c.sizeError;
    EXPECT_EQ(d.Open(), c.expected);
    EXPECT_FALSE(d.Started());
    EXPECT_EQ(d.Closes, c.openResult < 0 ? 0 : 1);
  }
}

TEST(AwUser, ApplyLineSettingsWaitsOnlyForAChange) {
  TFakeClockScope clock;
  TFakePtr owner(new TFakeDispatcher);
  TFakeDispatcher& d = *owner;
  ASSERT_EQ(d.Open(), 0);
  Integer writes = d.Writes;
  UInt64 start = GetTickCount64();
  EXPECT_EQ(d.ApplyLineSettings(2400, 0, 2, 8), 0);
  EXPECT_EQ(d.ApplyLineSettings(0, KeepParity, KeepStopBits, KeepDataBits), 0);
  EXPECT_EQ(d.Writes, writes);
  EXPECT_EQ(GetTickCount64(), start);

  // Eighteen characters of 11 bits at 2400 baud: 4166 x 11 x 18 x 100 ns.
  EXPECT_EQ(d.ApplyLineSettings(9600, 2, 1, 7), 0);
  EXPECT_EQ(GetTickCount64() - start, 83u);
  EXPECT_EQ(d.Writes, writes + 1);
  Cardinal baud;
  Integer parity, bits, stops;
  d.ReadLineSettings(baud, parity, bits, stops);
  EXPECT_EQ(baud, 9600u);
  EXPECT_EQ(parity, 2);
  EXPECT_EQ(bits, 7);
  EXPECT_EQ(stops, 1);

  // Stop bits out of range are clamped; five data bits take 1.5.
  d.ApplyLineSettings(0, KeepParity, 0, KeepDataBits);
  EXPECT_EQ(d.Device.StopBits, win::ONESTOPBIT);
  d.ApplyLineSettings(0, KeepParity, 7, KeepDataBits);
  EXPECT_EQ(d.Device.StopBits, win::TWOSTOPBITS);
  d.ApplyLineSettings(0, KeepParity, 1, 5);
  EXPECT_EQ(d.Device.StopBits, win::ONE5STOPBITS);
}

TEST(AwUser, BaudCodes) {
  const std::pair<Cardinal, Cardinal> table[] = {
      {0xFEFF, 115200}, {0xFF10, 110},   {0xFF14, 2400},  {0xFF18, 19200},
      {0xFF19, 0xFF19}, {0xFF27, 256000}, {9600, 9600},   {0xFF28, 0xFF28},
  };
  for (auto [code, baud] : table) EXPECT_EQ(MapBaudCode(code), baud) << std::hex << code;
}

TEST(AwUser, InputRingWrapsFillsAndRefusesPastTheEnd) {
  TFakeClockScope clock;
  TFakePtr owner(new TFakeDispatcher);
  TFakeDispatcher& d = *owner;
  ASSERT_EQ(d.Open(), 0);
  EXPECT_EQ(d.TakeInputByte(), ecBufferIsEmpty);
  EXPECT_FALSE(d.InputReady());

  // Move the positions near the end, then let a block arrive across it.
  d.Arrive(std::string(8000, 'x'));
  d.FillInputRing();
  EXPECT_EQ(d.TakeAll().size(), 8000u);
  std::string block;
  for (int i = 0; i < 500; ++i) block += static_cast<char>('a' + i % 26);
  d.Arrive(block);
  d.FillInputRing();
  EXPECT_EQ(d.InputCount(), 500);
  EXPECT_EQ(d.PeekInputByte(1), 'a');
  EXPECT_EQ(d.PeekInputByte(500), block[499]);
  EXPECT_EQ(d.PeekInputByte(501), ecBufferIsEmpty);
  EXPECT_EQ(d.TakeAll(), block);

  // Full: 8192 bytes fit, the rest waits in the driver.
  d.Arrive(std::string(InputRingSize + 10, 'f'));
  d.FillInputRing();
  d.FillInputRing();
  EXPECT_EQ(d.InputCount(), InputRingSize);
  EXPECT_TRUE(d.InputReady());
  EXPECT_EQ(d.DriverIn.size(), 10u);
  d.PurgeInputRing();
  EXPECT_EQ(d.InputCount(), 0);
  EXPECT_TRUE(d.DriverIn.empty());
}

// One thread holding both ring locks while another takes them the other way
// round would deadlock; no path holds both.
TEST(AwUser, RingLocksAreNeverHeldTogether) {
  TFakeClockScope clock;
  TFakePtr owner(new TFakeDispatcher);
  TFakeDispatcher& d = *owner;
  ASSERT_EQ(d.Open(), 0);
  d.WatchRingLocks = true;
  d.Arrive("abc");
  d.FillInputRing();
  const Byte block[] = {1, 2, 3};
  EXPECT_EQ(d.WriteOutputBlock(block, 3), 0);
  EXPECT_EQ(d.OutputCount(), 3);
  EXPECT_EQ(d.TakeAll(), "abc");
  d.PurgeInputRing();
  d.PurgeOutputRing();
  EXPECT_FALSE(d.RingLocksTogether);
}

TEST(AwUser, BytesReadInADataMessageLeaveWhenItEnds) {
  TFakeClockScope clock;
  TFakePtr owner(new TFakeDispatcher);
  TFakeDispatcher& d = *owner;
  ASSERT_EQ(d.Open(), 0);
  d.Arrive("abc");
  d.FillInputRing();
  d.BeginDataMessage();
  EXPECT_EQ(d.TakeInputByte(), 'a');
  EXPECT_EQ(d.InputCount(), 2);
  EXPECT_TRUE(d.InputReady());
  d.NextDataHandler();  // a second handler reads the same bytes again
  EXPECT_EQ(d.TakeInputByte(), 'a');
  EXPECT_FALSE(d.EndDataMessage(3));  // only one of three announced was taken
  EXPECT_EQ(d.TakeAll(), "bc");

  d.Arrive("xyz");
  d.FillInputRing();
  d.BeginDataMessage();
  d.PurgeInputRing();
  EXPECT_EQ(d.InputCount(), 0);
  EXPECT_TRUE(d.EndDataMessage(-1));
  EXPECT_EQ(d.InputCount(), 0);
  EXPECT_FALSE(d.InputReady());
}

TEST(AwUser, OutputRingExactFitTooLargeAndWrap) {
  TFakeClockScope clock;
  TFakePtr owner(new TFakeDispatcher);
  TFakeDispatcher& d = *owner;
  ASSERT_EQ(d.Open(16), 0);
  EXPECT_EQ(d.WriteOutputBlock(reinterpret_cast<const Byte*>("x"), 0), 0);
  EXPECT_EQ(d.WriteOutputBlock(reinterpret_cast<const Byte*>("0123456789abcdefg"), 17), ecOutputBufferTooSmall);
  EXPECT_EQ(d.OutputCount(), 0);
  ASSERT_EQ(d.WriteOutputBlock(reinterpret_cast<const Byte*>("0123456789abcdef"), 16), 0);
  EXPECT_EQ(d.OutputCount(), 16);
  EXPECT_EQ(d.OutputFree(), 0);
  EXPECT_EQ(d.WriteOutputBlock(reinterpret_cast<const Byte*>("z"), 1), ecOutputBufferTooSmall);
  EXPECT_EQ(d.Drain(10), "0123456789");
  ASSERT_EQ(d.WriteOutputBlock(reinterpret_cast<const Byte*>("ABCDEFGHIJ"), 10), 0);  // wraps
  EXPECT_EQ(d.OutputCount(), 16);
  EXPECT_EQ(d.Drain(16), "abcdefABCDEFGHIJ");
  EXPECT_EQ(d.OutputCount(), 0);
  ASSERT_EQ(d.WriteOutputBlock(reinterpret_cast<const Byte*>("tail"), 4), 0);
  d.PurgeOutputRing();
  EXPECT_EQ(d.OutputCount(), 0);
}

TEST(AwUser, FlowControlRecords) {
  TFakeClockScope clock;
  TFakePtr owner(new TFakeDispatcher);
  TFakeDispatcher& d = *owner;
  ASSERT_EQ(d.Open(), 0);
  EXPECT_EQ(d.SetHardwareFlow(1024, 3072, hfUseRTS), ecBadArgument);
  EXPECT_EQ(d.SetHardwareFlow(5000, 100, hfUseRTS), ecBadArgument);

  ASSERT_EQ(d.SetHardwareFlow(3072, 1024, hfUseRTS | hfRequireCTS), 0);
  EXPECT_EQ(d.Device.XoffLim, 1024);
  EXPECT_EQ(d.Device.XonLim, 1024);
  EXPECT_EQ(d.Device.fRtsControl, win::RTS_CONTROL_HANDSHAKE);
  EXPECT_EQ(d.Device.fOutxCtsFlow, 1u);
  EXPECT_EQ(d.Device.fOutxDsrFlow, 0u);
  EXPECT_EQ(d.Device.fDtrControl, win::DTR_CONTROL_ENABLE);
  EXPECT_TRUE(d.RTSFlowControlled());
  d.Signals.clear();
  EXPECT_EQ(d.SetRTSLine(false), 1);  // under flow control: untouched
  EXPECT_TRUE(d.Signals.empty());
  EXPECT_EQ(d.SetDTRLine(false), 0);
  EXPECT_EQ(d.Signals, std::vector<Integer>{6});

  ASSERT_EQ(d.SetHardwareFlow(3072, 1024, hfUseDTR | hfRequireDSR), 0);
  EXPECT_EQ(d.Device.fDtrControl, win::DTR_CONTROL_HANDSHAKE);
  EXPECT_EQ(d.Device.fRtsControl, win::RTS_CONTROL_ENABLE);
  EXPECT_EQ(d.Device.fOutxDsrFlow, 1u);
  EXPECT_EQ(d.Device.fOutxCtsFlow, 0u);
  EXPECT_FALSE(d.RTSFlowControlled());

  ASSERT_EQ(d.SetSoftwareFlow(3000, 1000, sfReceiveFlow), 0);
  EXPECT_EQ(d.Device.fInX, 1u);
  EXPECT_EQ(d.Device.fOutX, 0u);
  EXPECT_EQ(d.Device.XoffLim, 1096);
  EXPECT_EQ(d.Device.XonLim, 1000);
  ASSERT_EQ(d.SetSoftwareFlow(3000, 1000, sfTransmitFlow), 0);
  EXPECT_EQ(d.Device.fOutX, 1u);
  EXPECT_EQ(d.Device.XonChar, 17);
  EXPECT_EQ(d.Device.XoffChar, 19);
  ASSERT_EQ(d.SetXOnXOffChars('q', 's'), 0);
  EXPECT_EQ(d.Device.XonChar, 'q');
  ASSERT_EQ(d.SoftwareFlowOff(), 0);
  EXPECT_EQ(d.Device.fInX, 0u);
  EXPECT_EQ(d.Device.fOutX, 0u);

  d.FailSignal = true;
  EXPECT_EQ(d.SetRTSLine(true), ecBadArgument);
}

TEST(AwUser, LineErrorsAndModemStatus) {
  TFakeClockScope clock;
  TFakePtr owner(new TFakeDispatcher);
  TFakeDispatcher& d = *owner;
  ASSERT_EQ(d.Open(), 0);
  d.PendingErrors = leParity | leFraming | leBreak;
  d.CollectDeviceStatus();
  EXPECT_EQ(d.TakeLineError(), 3);
  EXPECT_EQ(d.TakeLineError(), 9);  // the break stays until it is taken
  EXPECT_TRUE(d.TakeLineBreak());
  EXPECT_FALSE(d.TakeLineBreak());
  EXPECT_EQ(d.TakeLineError(), 0);
  d.PendingErrors = leRxOverflow | leOverrun;
  d.CollectDeviceStatus();
  EXPECT_EQ(d.TakeLineError(), 1);
  EXPECT_EQ(d.TakeLineError(), 0);

  d.Lines = DSRMask | DCDMask;  // CTS dropped
  d.UpdateModemDeltas();
  EXPECT_EQ(d.ModemStatus(), DSRMask | DCDMask | DeltaCTSMask);
  d.SetRingSeen();
  EXPECT_EQ(d.RefreshModemStatus(0xF0), DSRMask | DCDMask | DeltaCTSMask | RingMask);
  EXPECT_EQ(d.ModemStatus(), DSRMask | DCDMask);
}

}  // namespace
