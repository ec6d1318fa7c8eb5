#include "platform/win/WinSerial.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/win/Windows.h"
#include "tests/support/TempFolder.h"

using namespace win;

namespace {

// A pseudo-terminal whose slave is COM9; the test plays the far end on the
// master.
class PtyPort : public ::testing::Test {
 protected:
  void SetUp() override {
    int slave = -1;
    char name[128] = {};
    ASSERT_EQ(openpty(&master_, &slave, name, nullptr, nullptr), 0);
    slaveName_ = name;
    close(slave);
    setenv("VXN_COM9", slaveName_.c_str(), 1);
  }
  void TearDown() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    if (master_ >= 0) close(master_);
    unsetenv("VXN_COM9");
  }

  HANDLE Open(const char* name = "COM9") {
    return CreateFile(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                      nullptr);
  }
  void OpenRaw(DWORD baud = 2400) {
    handle_ = Open();
    ASSERT_NE(handle_, INVALID_HANDLE_VALUE) << GetLastError();
    DCB dcb;
    ASSERT_TRUE(GetCommState(handle_, &dcb));
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = TWOSTOPBITS;
    ASSERT_TRUE(SetCommState(handle_, &dcb)) << GetLastError();
    // The master side must pass bytes through untouched as well.
    termios t{};
    tcgetattr(master_, &t);
    cfmakeraw(&t);
    tcsetattr(master_, TCSANOW, &t);
  }
  void Send(const std::string& bytes) {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::string Receive(size_t count) {
    std::string got;
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (got.size() < count && std::chrono::steady_clock::now() < end) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 50) > 0) {
        char buf[256];
        ssize_t n = read(master_, buf, sizeof buf);
        if (n > 0) got.append(buf, n);
      }
    }
    return got;
  }
  DWORD InQueue() {
    DWORD errors = 0;
    COMSTAT stat;
    EXPECT_TRUE(ClearCommError(handle_, &errors, &stat));
    return stat.cbInQue;
  }
  // Waits (really) until the receive queue holds count bytes.
  bool AwaitInQueue(DWORD count) {
    for (int i = 0; i < 300; ++i) {
      if (InQueue() == count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  int master_ = -1;
  std::string slaveName_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

TEST_F(PtyPort, OpensComNameThroughOverrideWithoutChangingLineSettings) {
  int probe = open(slaveName_.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(probe, 0);
  termios before{};
  tcgetattr(probe, &before);

  for (const char* name : {"COM9", "\\\\.\\COM9", "com9"}) {
    HANDLE h = Open(name);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << name << " " << GetLastError();
    EXPECT_TRUE(CloseHandle(h));
  }
  termios after{};
  tcgetattr(probe, &after);
  close(probe);
  EXPECT_EQ(before.c_lflag, after.c_lflag);
  EXPECT_EQ(before.c_iflag, after.c_iflag);
  EXPECT_EQ(before.c_cflag, after.c_cflag);
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(0x1234)));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(PtyPort, LineSettingsReadBackAsSet) {
  handle_ = Open();
  ASSERT_NE(handle_, INVALID_HANDLE_VALUE);
  struct Case {
    DWORD baud;
    BYTE size, parity, stop;
  };
  const Case cases[] = {
      {2400, 8, NOPARITY, TWOSTOPBITS}, {9600, 7, EVENPARITY, ONESTOPBIT}, {19200, 7, ODDPARITY, TWOSTOPBITS},
      {1200, 8, MARKPARITY, ONESTOPBIT}, {4800, 8, SPACEPARITY, ONESTOPBIT}, {300, 5, NOPARITY, ONE5STOPBITS},
      {250000, 6, NOPARITY, ONESTOPBIT},  // outside the standard rates
  };
  for (const Case& c : cases) {
    DCB dcb;
    ASSERT_TRUE(GetCommState(handle_, &dcb));
    dcb.BaudRate = c.baud;
    dcb.ByteSize = c.size;
    dcb.Parity = c.parity;
    dcb.StopBits = c.stop;
    ASSERT_TRUE(SetCommState(handle_, &dcb)) << c.baud << " " << GetLastError();
    DCB back;
    ASSERT_TRUE(GetCommState(handle_, &back));
    EXPECT_EQ(back.BaudRate, c.baud);
    EXPECT_EQ(back.ByteSize, c.size) << c.baud;
    EXPECT_EQ(back.Parity, c.parity) << c.baud;
    EXPECT_EQ(back.StopBits, c.stop) << c.baud;
  }
  // Out of range: byte size, parity, stop bits, baud 0.
  for (int field = 0; field < 4; ++field) {
    DCB dcb;
    GetCommState(handle_, &dcb);
    dcb.ByteSize = 8;
    dcb.StopBits = ONESTOPBIT;
    if (field == 0) dcb.ByteSize = 9;
    if (field == 1) dcb.Parity = 5;
    if (field == 2) dcb.StopBits = 3;
    if (field == 3) dcb.BaudRate = 0;
    EXPECT_FALSE(SetCommState(handle_, &dcb)) << field;
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
}

TEST_F(PtyPort, OverlappedWriteAndReadComplete) {
  OpenRaw();
  TEvent writeDone(true, false);
  OVERLAPPED wo;
  wo.hEvent = &writeDone;
  DWORD written = 0;
  if (!WriteFile(handle_, "hello", 5, &written, &wo)) {
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
  }
  ASSERT_TRUE(GetOverlappedResult(handle_, &wo, &written, TRUE));
  EXPECT_EQ(written, 5u);
  EXPECT_EQ(WaitForSingleObject(&writeDone, 0), WAIT_OBJECT_0);
  EXPECT_EQ(Receive(5), "hello");

  COMMTIMEOUTS t;
  t.ReadTotalTimeoutConstant = 3000;
  ASSERT_TRUE(SetCommTimeouts(handle_, &t));
  TEvent readDone(true, true);
  OVERLAPPED ro;
  ro.hEvent = &readDone;
  char buf[8] = {};
  DWORD got = 0;
  EXPECT_FALSE(ReadFile(handle_, buf, 4, &got, &ro));
  EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
  EXPECT_FALSE(readDone.IsSignaled());  // reset when the read started
  EXPECT_FALSE(GetOverlappedResult(handle_, &ro, &got, FALSE));
  EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
  Send("ab");
  Send("cd");
  ASSERT_EQ(WaitForSingleObject(&readDone, 3000), WAIT_OBJECT_0);
  ASSERT_TRUE(GetOverlappedResult(handle_, &ro, &got, FALSE));
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(std::string(buf, 4), "abcd");

  // Read interval MAXDWORD with no totals: at once, with what is there.
  t = COMMTIMEOUTS{};
  t.ReadIntervalTimeout = MAXDWORD;
  SetCommTimeouts(handle_, &t);
  EXPECT_TRUE(ReadFile(handle_, buf, 8, &got, &ro));
  EXPECT_EQ(got, 0u);
}

TEST_F(PtyPort, BlockedWriteCompletesWhenDrainedOrEndsOnPurge) {
  OpenRaw();
  const std::string block(100000, 'w');  // far more than the terminal buffers
  TEvent done(true, false);
  OVERLAPPED ov;
  ov.hEvent = &done;
  DWORD written = 0;
  ASSERT_FALSE(WriteFile(handle_, block.data(), static_cast<DWORD>(block.size()), &written, &ov));
  ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
  EXPECT_EQ(Receive(block.size()).size(), block.size());
  ASSERT_EQ(WaitForSingleObject(&done, 3000), WAIT_OBJECT_0);
  ASSERT_TRUE(GetOverlappedResult(handle_, &ov, &written, FALSE));
  EXPECT_EQ(written, block.size());

  ASSERT_FALSE(WriteFile(handle_, block.data(), static_cast<DWORD>(block.size()), &written, &ov));
  DWORD errors = 0;
  COMSTAT stat;
  ASSERT_TRUE(ClearCommError(handle_, &errors, &stat));
  EXPECT_GT(stat.cbOutQue, 0u);
  ASSERT_TRUE(PurgeComm(handle_, PURGE_TXABORT | PURGE_TXCLEAR));
  EXPECT_FALSE(GetOverlappedResult(handle_, &ov, &written, TRUE));
  EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
  EXPECT_LT(written, block.size());
}

TEST_F(PtyPort, ReadTimeOutGivesWhatArrivedAndCloseAbortsAWait) {
  OpenRaw();
  COMMTIMEOUTS t;
  t.ReadTotalTimeoutConstant = 100;
  SetCommTimeouts(handle_, &t);
  Send("abc");
  char buf[10];
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(handle_, buf, sizeof buf, &got, nullptr));  // blocks until the time-out
  EXPECT_EQ(std::string(buf, got), "abc");

  SetCommMask(handle_, EV_RXCHAR);
  TEvent done(true, false);
  OVERLAPPED ov;
  ov.hEvent = &done;
  DWORD events = 0;
  EXPECT_FALSE(WaitCommEvent(handle_, &events, &ov));
  ASSERT_TRUE(CloseHandle(handle_));
  handle_ = INVALID_HANDLE_VALUE;
  EXPECT_TRUE(done.IsSignaled());
  EXPECT_EQ(ov.Internal, ERROR_OPERATION_ABORTED);
}

TEST_F(PtyPort, WaitCommEventWakesOnArrivalOnlyAndEndsOnMaskChange) {
  OpenRaw();
  ASSERT_TRUE(SetCommMask(handle_, EV_RXCHAR | EV_CTS));
  DWORD mask = 0;
  ASSERT_TRUE(GetCommMask(handle_, &mask));
  EXPECT_EQ(mask, EV_RXCHAR | EV_CTS);

  TEvent done(true, false);
  OVERLAPPED ov;
  ov.hEvent = &done;
  DWORD events = 0xFFFF;
  EXPECT_FALSE(WaitCommEvent(handle_, &events, &ov));
  ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
  EXPECT_EQ(WaitForSingleObject(&done, 100), WAIT_TIMEOUT);
  Send("xyz");
  ASSERT_EQ(WaitForSingleObject(&done, 3000), WAIT_OBJECT_0);
  DWORD unused = 0;
  ASSERT_TRUE(GetOverlappedResult(handle_, &ov, &unused, FALSE));
  EXPECT_EQ(events, EV_RXCHAR);

  // The three bytes stay unread: no new event for them.
  EXPECT_FALSE(WaitCommEvent(handle_, &events, &ov));
  EXPECT_EQ(WaitForSingleObject(&done, 200), WAIT_TIMEOUT);
  EXPECT_EQ(InQueue(), 3u);

  // A mask change ends the pending wait with no event.
  ASSERT_TRUE(SetCommMask(handle_, 0));
  ASSERT_EQ(WaitForSingleObject(&done, 3000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetOverlappedResult(handle_, &ov, &unused, FALSE));
  EXPECT_EQ(events, 0u);
}

TEST_F(PtyPort, HangUpFailsThePendingWait) {
  OpenRaw();
  SetCommMask(handle_, EV_RXCHAR);
  TEvent done(true, false);
  OVERLAPPED ov;
  ov.hEvent = &done;
  DWORD events = 0;
  EXPECT_FALSE(WaitCommEvent(handle_, &events, &ov));
  close(master_);
  master_ = -1;
  ASSERT_EQ(WaitForSingleObject(&done, 3000), WAIT_OBJECT_0);
  DWORD unused = 0;
  EXPECT_FALSE(GetOverlappedResult(handle_, &ov, &unused, FALSE));
  EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
  EXPECT_FALSE(WaitCommEvent(handle_, &events, &ov));
  EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
}

TEST_F(PtyPort, ClearCommErrorCountsAndPurgeEmpties) {
  OpenRaw();
  ASSERT_TRUE(SetupComm(handle_, 4096, 4096));
  Send("12345");
  ASSERT_TRUE(AwaitInQueue(5));
  DWORD errors = 0xFF;
  COMSTAT stat;
  ASSERT_TRUE(ClearCommError(handle_, &errors, &stat));
  EXPECT_EQ(errors, 0u);  // a pseudo-terminal reports no line errors
  EXPECT_EQ(stat.cbOutQue, 0u);
  ASSERT_TRUE(PurgeComm(handle_, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR));
  EXPECT_EQ(InQueue(), 0u);
}

TEST_F(PtyPort, ModemCallsAPseudoTerminalRefusesAreNoErrors) {
  OpenRaw();
  for (DWORD f : {SETDTR, CLRDTR, SETRTS, CLRRTS})
    EXPECT_TRUE(EscapeCommFunction(handle_, f)) << f;
  EXPECT_FALSE(EscapeCommFunction(handle_, 10));
  DWORD status = 0;
  ASSERT_TRUE(GetCommModemStatus(handle_, &status));
  EXPECT_EQ(status, MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON);
}

TEST_F(PtyPort, MissingDeviceIsFileNotFound) {
  setenv("VXN_COM9", "/dev/vxn-no-such-tty", 1);
  for (const char* name : {"COM9", "LPT1", "COM", "/dev/vxn-no-such-tty"}) {
    EXPECT_EQ(Open(name), INVALID_HANDLE_VALUE) << name;
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND) << name;
  }
}

TEST_F(PtyPort, SecondOpenIsRefusedAsHeld) {
  handle_ = Open();
  ASSERT_NE(handle_, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(DeviceExistsDespite(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(DeviceExistsDespite(ERROR_FILE_NOT_FOUND));
  CloseHandle(handle_);
  handle_ = Open();
  EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
}

std::string SystemMessage(DWORD code) {
  char buf[512];
  DWORD n = FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                          sizeof buf, nullptr);
  return std::string(buf, n);
}

// Opens COM9 through an open that fails with the given errno; GetLastError.
DWORD OpenFailingWith(int failure) {
  static int given;
  given = failure;
  SetSerialOpenFunction([](const char*, int) {
    errno = given;
    return -1;
  });
  HANDLE h = CreateFile("COM9", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  DWORD error = GetLastError();
  SetSerialOpenFunction(nullptr);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  return error;
}

TEST_F(PtyPort, PermissionRefusalGivesThePermissionText) {
  DWORD error = OpenFailingWith(EACCES);
  EXPECT_EQ(error, ERROR_SERIAL_PERMISSION);
  EXPECT_TRUE(DeviceExistsDespite(error));  // still listed by the port probes
  EXPECT_NE(SystemMessage(error).find("dialout"), std::string::npos);
}

// A device its owner never closes is closed at exit, its service thread
// joined: the program ends normally instead of aborting on a running thread.
TEST_F(PtyPort, ADeviceLeftOpenAtExitEndsTheProgramCleanly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        HANDLE h = Open();
        if (h == INVALID_HANDLE_VALUE || !SetupComm(h, 1024, 1024)) std::_Exit(3);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

// A failure that a system call gave keeps the call's name and the system's
// reason, also for an errno that has no error code of its own.
TEST_F(PtyPort, AFailedCallIsNamedWithTheSystemsReason) {
  DWORD error = OpenFailingWith(EMFILE);
  EXPECT_EQ(error, ERROR_GEN_FAILURE);
  EXPECT_EQ(LastSerialFailureReason(error), "open " + slaveName_ + " failed: Too many open files (errno 24)");
  EXPECT_EQ(LastSerialFailureReason(ERROR_ACCESS_DENIED), "");
  // A failure of this layer's own (no system call) leaves no stale reason.
  EXPECT_FALSE(GetCommState(reinterpret_cast<HANDLE>(1), nullptr));
  EXPECT_EQ(LastSerialFailureReason(GetLastError()), "");
}

TEST_F(PtyPort, PermissionRefusalForAUserWithoutRights) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    HANDLE h = Open();
    _exit(h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SERIAL_PERMISSION ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(WinSerial, ErrnoTable) {
  const std::pair<int, DWORD> table[] = {
      {ENOENT, ERROR_FILE_NOT_FOUND},   {ENODEV, ERROR_FILE_NOT_FOUND},      {ENXIO, ERROR_FILE_NOT_FOUND},
      {EBUSY, ERROR_ACCESS_DENIED},     {EWOULDBLOCK, ERROR_ACCESS_DENIED},  {EIO, ERROR_GEN_FAILURE},
      {EINVAL, ERROR_INVALID_PARAMETER}, {ECANCELED, ERROR_OPERATION_ABORTED}, {EINPROGRESS, ERROR_IO_PENDING},
      {EACCES, ERROR_SERIAL_PERMISSION}, {EPERM, ERROR_SERIAL_PERMISSION},
  };
  for (auto [e, code] : table) EXPECT_EQ(ErrorFromErrno(e), code) << e;
  EXPECT_EQ(SystemMessage(ERROR_ACCESS_DENIED), "Access is denied.\r\n");
  EXPECT_EQ(SystemMessage(12345), "");
}

TEST(WinSerial, ComNumbersFollowFamiliesInNumericOrder) {
  namespace fs = std::filesystem;
  TempFolder folder("serial");
  fs::path root = folder.Path();
  fs::create_directories(root / "dev");
  for (const char* n : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS1", "ttyS0", "ttyUSBx", "tty0"})
    std::ofstream(root / "dev" / n) << "";
  for (auto [n, type] : {std::pair{"ttyS0", 4}, std::pair{"ttyS1", 0}}) {
    fs::create_directories(root / "sys" / n);
    std::ofstream(root / "sys" / n / "type") << type << "\n";
  }
  SetSerialDeviceFolders((root / "dev").string(), (root / "sys").string());
  std::string dev = (root / "dev").string() + "/";
  EXPECT_EQ(PresentSerialDevices(),
            (std::vector<std::string>{dev + "ttyUSB2", dev + "ttyUSB10", dev + "ttyACM0", dev + "ttyS0"}));
  EXPECT_EQ(SerialDevicePath("COM2"), dev + "ttyUSB10");
  EXPECT_EQ(SerialDevicePath("\\\\.\\COM4"), dev + "ttyS0");
  EXPECT_EQ(SerialDevicePath("COM5"), "");
  setenv("VXN_COM2", "/dev/pts/77", 1);
  EXPECT_EQ(SerialDevicePath("COM2"), "/dev/pts/77");
  unsetenv("VXN_COM2");
  SetSerialDeviceFolders("", "");
}

TEST(WinSerial, WaitForMultipleObjects) {
  TEvent a(false, false), b(true, false);
  TEvent* both[] = {&a, &b};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 10), WAIT_TIMEOUT);
  b.SetEvent();
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 10), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 10), WAIT_TIMEOUT);
  a.SetEvent();
  EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 10), WAIT_OBJECT_0);
  EXPECT_FALSE(a.IsSignaled());  // the automatic one was taken by the wait
}

}  // namespace
