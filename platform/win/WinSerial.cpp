#include "platform/win/WinSerial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <linux/serial.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/rtl/Clock.h"
#include "platform/win/Windows.h"
#include "platform/rtl/SystemCalls.h"

namespace win {

namespace {

// The kernel's termios2, for baud rates outside the Bnnn constants. Declared
// here because its header collides with <termios.h>.
struct KernelTermios2 {
  unsigned int c_iflag;
  unsigned int c_oflag;
  unsigned int c_cflag;
  unsigned int c_lflag;
  unsigned char c_line;
  unsigned char c_cc[19];
  unsigned int c_ispeed;
  unsigned int c_ospeed;
};
constexpr unsigned long kTCGETS2 = _IOR('T', 0x2A, KernelTermios2);
constexpr unsigned long kTCSETS2 = _IOW('T', 0x2B, KernelTermios2);
constexpr unsigned int kCBAUD = 0010017;
constexpr unsigned int kBOTHER = 0010000;

using Clock = std::chrono::steady_clock;

struct PendingWait {
  DWORD* eventMask = nullptr;
  OVERLAPPED* overlapped = nullptr;
  bool active = false;
};

struct PendingRead {
  BYTE* buffer = nullptr;
  DWORD wanted = 0;
  DWORD got = 0;
  OVERLAPPED* overlapped = nullptr;
  bool active = false;
  bool hasDeadline = false;
  Clock::time_point deadline;
  Clock::time_point lastByte;
};

struct PendingWrite {
  std::vector<BYTE> data;
  DWORD done = 0;
  OVERLAPPED* overlapped = nullptr;
  bool active = false;
};

struct SerialDevice {
  sys::FileDescriptor fd;
  sys::FileDescriptor wakeFd;
  std::string path;

  std::mutex lock;
  std::condition_variable completed;
  std::thread service;
  bool serviceStarted = false;
  bool stopping = false;
  bool dead = false;

  std::deque<BYTE> received;
  size_t receiveCapacity = 4096;
  DWORD transmitSize = 4096;

  DWORD eventMask = 0;
  DWORD eventsSeen = 0;
  DWORD lineErrors = 0;
  COMMTIMEOUTS timeouts;
  DCB shadow;  // the DCB fields that termios does not keep
  // A pseudo-terminal always reads back 8 bits without parity; it then
  // reports the framing it was given.
  bool framingIgnored = false;

  bool modemKnown = false;
  int lastModemLines = 0;
  bool countersKnown = false;
  serial_icounter_struct lastCounters{};

  PendingWait wait;
  PendingRead read;
  PendingWrite write;
  // The system call that made the device unusable, when one did.
  sys::CallResult failure;

  SerialDevice() = default;
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;
  // A device its owner never closed (the program ends with it open) still
  // has its service thread stopped and joined before the thread object goes.
  ~SerialDevice() { StopService(); }

  void StopService() {
    {
      std::lock_guard<std::mutex> guard(lock);
      stopping = true;
      if (wakeFd.Valid()) {
        uint64_t one = 1;
        sys::Write(wakeFd.Get(), &one, sizeof one);
      }
    }
    if (service.joinable()) service.join();
  }
};

std::mutex g_handlesLock;
std::map<intptr_t, std::shared_ptr<SerialDevice>> g_handles;
intptr_t g_nextHandle = 0x5100;

std::mutex g_seamLock;
std::string g_devFolder = "/dev";
std::string g_sysTtyFolder = "/sys/class/tty";
SerialOpenFunction g_open;

std::shared_ptr<SerialDevice> DeviceOf(HANDLE handle) {
  std::lock_guard<std::mutex> guard(g_handlesLock);
  auto it = g_handles.find(reinterpret_cast<intptr_t>(handle));
  if (it == g_handles.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second;
}

// The system call behind this thread's last failure, and the code it was
// reported as.
struct LastFailure {
  DWORD code = ERROR_SUCCESS;
  std::string reason;
};
thread_local LastFailure t_lastFailure;

BOOL Fail(DWORD error) {
  SetLastError(error);
  t_lastFailure = LastFailure{};
  return FALSE;
}

// A failure that a system call gave: its code goes to GetLastError, its name
// and reason are kept for the message.
BOOL FailCall(const sys::CallResult& call) {
  const DWORD code = ErrorFromErrno(call.Error);
  SetLastError(code);
  t_lastFailure = LastFailure{code, call.Message()};
  return FALSE;
}

// A device the service thread found gone: the call that found it, if any.
BOOL FailDead(const SerialDevice& d, DWORD error = ERROR_GEN_FAILURE) {
  Fail(error);
  if (d.failure.Failed()) t_lastFailure = LastFailure{error, d.failure.Message()};
  return FALSE;
}

// A pseudo-terminal (or a driver without modem lines) answers these.
bool IsRefusedByDevice(int error) {
  return error == ENOTTY || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

void WakeService(SerialDevice& d) {
  if (!d.wakeFd.Valid()) return;
  uint64_t one = 1;
  sys::Write(d.wakeFd.Get(), &one, sizeof one);
}

// Completes an overlapped record: result, bytes, event. Caller holds d.lock.
void Complete(SerialDevice& d, OVERLAPPED* ov, DWORD result, DWORD bytes) {
  if (ov) {
    ov->InternalHigh = bytes;
    ov->Internal = result;
    if (ov->hEvent) ov->hEvent->SetEvent();
  }
  d.completed.notify_all();
}

void StartOverlapped(OVERLAPPED* ov) {
  if (!ov) return;
  ov->Internal = ERROR_IO_PENDING;
  ov->InternalHigh = 0;
  if (ov->hEvent) ov->hEvent->ResetEvent();
}

// Blocks a caller that gave no overlapped record until its operation ends.
BOOL FinishSynchronously(SerialDevice& d, std::unique_lock<std::mutex>& guard, OVERLAPPED& ov, DWORD* bytes) {
  d.completed.wait(guard, [&] { return ov.Internal != ERROR_IO_PENDING; });
  if (bytes) *bytes = static_cast<DWORD>(ov.InternalHigh);
  if (ov.Internal != 0) return FailDead(d, static_cast<DWORD>(ov.Internal));
  return TRUE;
}

// Reading -------------------------------------------------------------------------

bool ReadsAtOnce(const COMMTIMEOUTS& t) {
  return t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
         t.ReadTotalTimeoutConstant == 0;
}

bool ReturnsOnFirstByte(const COMMTIMEOUTS& t) {
  return t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
         t.ReadTotalTimeoutConstant > 0 && t.ReadTotalTimeoutConstant < MAXDWORD;
}

void MoveReceived(SerialDevice& d, PendingRead& r) {
  DWORD take = static_cast<DWORD>(std::min<size_t>(d.received.size(), r.wanted - r.got));
  if (take == 0) return;
  std::copy_n(d.received.begin(), take, r.buffer + r.got);
  d.received.erase(d.received.begin(), d.received.begin() + take);
  r.got += take;
  r.lastByte = Clock::now();
}

// Whether the pending read is done under the time-outs.
bool ReadSatisfied(SerialDevice& d, PendingRead& r) {
  MoveReceived(d, r);
  if (r.got == r.wanted) return true;
  const COMMTIMEOUTS& t = d.timeouts;
  if (ReadsAtOnce(t)) return true;
  if (ReturnsOnFirstByte(t) && r.got > 0) return true;
  auto now = Clock::now();
  if (r.hasDeadline && now >= r.deadline) return true;
  if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD && r.got > 0 &&
      now - r.lastByte >= std::chrono::milliseconds(t.ReadIntervalTimeout))
    return true;
  return false;
}

// Service thread -------------------------------------------------------------------

constexpr DWORD kLineEventBits = EV_CTS | EV_DSR | EV_RLSD | EV_RING | EV_RINGTE | EV_BREAK | EV_ERR;

void RecordEvents(SerialDevice& d, DWORD events) {
  d.eventsSeen |= events & d.eventMask;
}

void MarkDead(SerialDevice& d, sys::CallResult failure = {}) {
  d.dead = true;
  if (failure.Failed() && !d.failure.Failed()) d.failure = std::move(failure);
  if (d.wait.active) {
    d.wait.active = false;
    Complete(d, d.wait.overlapped, ERROR_GEN_FAILURE, 0);
  }
  if (d.read.active && d.read.got == 0) {
    d.read.active = false;
    Complete(d, d.read.overlapped, ERROR_GEN_FAILURE, 0);
  }
  if (d.write.active) {
    d.write.active = false;
    Complete(d, d.write.overlapped, ERROR_GEN_FAILURE, d.write.done);
  }
}

void PollLines(SerialDevice& d) {
  int lines = 0;
  if (sys::Ioctl(d.fd.Get(), TIOCMGET, &lines, "TIOCMGET")) {
    if (d.modemKnown) {
      int changed = lines ^ d.lastModemLines;
      DWORD events = 0;
      if (changed & TIOCM_CTS) events |= EV_CTS;
      if (changed & TIOCM_DSR) events |= EV_DSR;
      if (changed & TIOCM_CAR) events |= EV_RLSD;
      if ((changed & TIOCM_RNG) && (lines & TIOCM_RNG)) events |= EV_RING;
      if ((changed & TIOCM_RNG) && !(lines & TIOCM_RNG)) events |= EV_RINGTE;
      RecordEvents(d, events);
    }
    d.modemKnown = true;
    d.lastModemLines = lines;
  }
  serial_icounter_struct counters{};
  if (sys::Ioctl(d.fd.Get(), TIOCGICOUNT, &counters, "TIOCGICOUNT")) {
    if (d.countersKnown) {
      DWORD errors = 0;
      if (counters.buf_overrun != d.lastCounters.buf_overrun) errors |= CE_RXOVER;
      if (counters.overrun != d.lastCounters.overrun) errors |= CE_OVERRUN;
      if (counters.parity != d.lastCounters.parity) errors |= CE_RXPARITY;
      if (counters.frame != d.lastCounters.frame) errors |= CE_FRAME;
      if (counters.brk != d.lastCounters.brk) errors |= CE_BREAK;
      d.lineErrors |= errors;
      DWORD events = 0;
      if (errors & CE_BREAK) events |= EV_BREAK;
      if (errors & (CE_RXOVER | CE_OVERRUN | CE_RXPARITY | CE_FRAME)) events |= EV_ERR;
      RecordEvents(d, events);
    }
    d.countersKnown = true;
    d.lastCounters = counters;
  }
}

// Completes whatever can complete now. Caller holds d.lock.
void Settle(SerialDevice& d) {
  if (d.read.active && ReadSatisfied(d, d.read)) {
    d.read.active = false;
    Complete(d, d.read.overlapped, 0, d.read.got);
  }
  if (d.wait.active && (d.eventsSeen & d.eventMask)) {
    d.wait.active = false;
    if (d.wait.eventMask) *d.wait.eventMask = d.eventsSeen & d.eventMask;
    d.eventsSeen = 0;
    Complete(d, d.wait.overlapped, 0, 0);
  }
}

void PumpWrite(SerialDevice& d) {
  PendingWrite& w = d.write;
  while (w.active && w.done < w.data.size()) {
    sys::CallResult n = sys::Write(d.fd.Get(), w.data.data() + w.done, w.data.size() - w.done);
    if (n.Value > 0) {
      w.done += static_cast<DWORD>(n.Value);
      continue;
    }
    if (n.Error == EAGAIN) return;
    if (n.Error == EIO) {
      MarkDead(d, std::move(n));
      return;
    }
    w.active = false;
    d.failure = n;
    Complete(d, w.overlapped, ErrorFromErrno(n.Error), w.done);
    return;
  }
  if (w.active) {
    w.active = false;
    Complete(d, w.overlapped, 0, w.done);
  }
}

// In raw mode (VMIN 0, VTIME 0) a read without data gives 0 like an end of
// file; only with a hang-up reported by poll does 0 mean the line is gone.
void PumpRead(SerialDevice& d, bool hungUp) {
  BYTE chunk[1024];
  bool arrived = false;
  while (d.received.size() < d.receiveCapacity) {
    size_t room = std::min(sizeof chunk, d.receiveCapacity - d.received.size());
    sys::CallResult n = sys::Read(d.fd.Get(), chunk, room);
    if (n.Value > 0) {
      d.received.insert(d.received.end(), chunk, chunk + n.Value);
      arrived = true;
      continue;
    }
    if (n.Error == EAGAIN) break;
    if (n.Value == 0 && !hungUp) break;
    // EIO, or 0 after a hang-up: the other side hung up or the adapter is gone.
    MarkDead(d, std::move(n));
    break;
  }
  if (arrived) RecordEvents(d, EV_RXCHAR);
}

void ServiceLoop(SerialDevice* dp) {
  SerialDevice& d = *dp;
  std::unique_lock<std::mutex> guard(d.lock);
  while (!d.stopping) {
    pollfd fds[2];
    fds[0].fd = d.dead ? -1 : d.fd.Get();
    fds[0].events = 0;
    if (d.received.size() < d.receiveCapacity) fds[0].events |= POLLIN;
    if (d.write.active) fds[0].events |= POLLOUT;
    fds[0].revents = 0;
    fds[1].fd = d.wakeFd.Get();
    fds[1].events = POLLIN;
    fds[1].revents = 0;

    int timeout = -1;
    if (d.read.active && d.read.hasDeadline) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(d.read.deadline - Clock::now()).count();
      timeout = static_cast<int>(std::max<long long>(0, left) + 1);
    }
    if (d.read.active && d.timeouts.ReadIntervalTimeout != 0 && d.timeouts.ReadIntervalTimeout != MAXDWORD &&
        d.read.got > 0)
      timeout = timeout < 0 ? 10 : std::min(timeout, 10);
    // Modem lines and error counters have no wake-up of their own on every
    // driver; they are looked at while a wait wants them.
    bool watchLines = !d.dead && d.wait.active && (d.eventMask & kLineEventBits);
    if (watchLines) timeout = timeout < 0 ? 20 : std::min(timeout, 20);

    guard.unlock();
    sys::CallResult ready = sys::Poll(fds, 2, timeout);
    guard.lock();
    if (d.stopping) break;
    if (ready.Failed()) {
      MarkDead(d, std::move(ready));
      continue;
    }
    if (fds[1].revents & POLLIN) {
      uint64_t value;
      sys::Read(d.wakeFd.Get(), &value, sizeof value);
    }
    if (!d.dead && fds[0].fd >= 0) {
      if (fds[0].revents & POLLIN) PumpRead(d, (fds[0].revents & (POLLHUP | POLLERR)) != 0);
      if (!d.dead && (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) && !(fds[0].revents & POLLIN)) MarkDead(d);
      if (!d.dead && (fds[0].revents & POLLOUT)) PumpWrite(d);
    }
    if (watchLines && !d.dead) PollLines(d);
    Settle(d);
  }
}

void EnsureService(SerialDevice& d) {
  if (d.serviceStarted) return;
  d.serviceStarted = true;
  PollLines(d);  // the baseline against which line changes count
  d.service = std::thread(ServiceLoop, &d);
}

// Names ----------------------------------------------------------------------------

bool StartsWithNoCase(const std::string& s, const char* prefix) {
  size_t n = std::strlen(prefix);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

// The number of "COMn" (1 and up), 0 when the name is no such name.
int ComNumberOf(const std::string& name) {
  std::string rest = name;
  if (rest.rfind("\\\\.\\", 0) == 0) rest = rest.substr(4);
  if (!StartsWithNoCase(rest, "COM") || rest.size() == 3 || rest.size() > 8) return 0;
  int n = 0;
  for (size_t i = 3; i < rest.size(); ++i) {
    if (rest[i] < '0' || rest[i] > '9') return 0;
    n = n * 10 + (rest[i] - '0');
  }
  return n;
}

// A family member's number ("ttyUSB10" with prefix "ttyUSB" gives 10), -1 if
// the name is not one.
long FamilyNumber(const std::string& entry, const std::string& prefix) {
  if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return -1;
  long n = 0;
  for (size_t i = prefix.size(); i < entry.size(); ++i) {
    if (entry[i] < '0' || entry[i] > '9' || n > 1000000) return -1;
    n = n * 10 + (entry[i] - '0');
  }
  return n;
}

// A /dev/ttyS* entry exists for every possible UART; only those whose type is
// known stand for hardware.
bool HasRealUart(const std::string& sysTtyFolder, const std::string& entry) {
  std::ifstream in(sysTtyFolder + "/" + entry + "/type");
  int type = 0;
  return in && (in >> type) && type != 0;
}

}  // namespace

// Error table ----------------------------------------------------------------------

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTTY:
      return ERROR_FILE_NOT_FOUND;
    case EBUSY:
    case EWOULDBLOCK:
      return ERROR_ACCESS_DENIED;
    case EIO:
      return ERROR_GEN_FAILURE;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case ECANCELED:
      return ERROR_OPERATION_ABORTED;
    case EINPROGRESS:
      return ERROR_IO_PENDING;
    case EACCES:
    case EPERM:
      return ERROR_SERIAL_PERMISSION;
    default:
      return ERROR_GEN_FAILURE;
  }
}

std::string LastSerialFailureReason(DWORD error) {
  return t_lastFailure.code == error ? t_lastFailure.reason : std::string();
}

namespace {

// Devices their owners never closed are closed when the program ends, before
// the handle table goes: pending operations end as aborted and each service
// thread is joined, where a thread object destroyed while running would
// abort the program.
struct CloseLeftOpen {
  ~CloseLeftOpen() {
    std::vector<intptr_t> open;
    {
      std::lock_guard<std::mutex> guard(g_handlesLock);
      for (const auto& [value, device] : g_handles) open.push_back(value);
    }
    for (intptr_t value : open) CloseHandle(reinterpret_cast<HANDLE>(value));
  }
} g_closeLeftOpen;

}  // namespace

bool DeviceExistsDespite(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SERIAL_PERMISSION;
}

void SetSerialDeviceFolders(const std::string& devFolder, const std::string& sysTtyFolder) {
  std::lock_guard<std::mutex> guard(g_seamLock);
  g_devFolder = devFolder.empty() ? "/dev" : devFolder;
  g_sysTtyFolder = sysTtyFolder.empty() ? "/sys/class/tty" : sysTtyFolder;
}

void SetSerialOpenFunction(SerialOpenFunction open) {
  std::lock_guard<std::mutex> guard(g_seamLock);
  g_open = std::move(open);
}

std::vector<std::string> PresentSerialDevices() {
  std::string devFolder, sysFolder;
  {
    std::lock_guard<std::mutex> guard(g_seamLock);
    devFolder = g_devFolder;
    sysFolder = g_sysTtyFolder;
  }
  std::vector<std::pair<long, std::string>> families[3];
  const char* prefixes[3] = {"ttyUSB", "ttyACM", "ttyS"};
  std::vector<std::string> entries;
  sys::ListFolder(devFolder, entries);  // no folder, no devices
  for (const std::string& entry : entries)
    for (int f = 0; f < 3; ++f) {
      long n = FamilyNumber(entry, prefixes[f]);
      if (n < 0) continue;
      if (f == 2 && !HasRealUart(sysFolder, entry)) continue;
      families[f].emplace_back(n, entry);
    }
  std::vector<std::string> result;
  for (auto& family : families) {
    std::sort(family.begin(), family.end());
    for (auto& [n, entry] : family) result.push_back(devFolder + "/" + entry);
  }
  return result;
}

std::string SerialDevicePath(const std::string& name) {
  if (name.rfind("/dev/", 0) == 0) return name;
  int n = ComNumberOf(name);
  if (n <= 0) return "";
  std::string variable = "VXN_COM" + std::to_string(n);
  if (const char* overridden = std::getenv(variable.c_str()); overridden && *overridden) return overridden;
  std::vector<std::string> devices = PresentSerialDevices();
  if (static_cast<size_t>(n) > devices.size()) return "";
  return devices[n - 1];
}

// Opening and closing ------------------------------------------------------------

HANDLE CreateFile(const char* fileName, DWORD desiredAccess, DWORD shareMode, SECURITY_ATTRIBUTES* security,
                  DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  (void)desiredAccess;
  (void)security;
  (void)flagsAndAttributes;
  (void)templateFile;
  // Fail also forgets the reason of an earlier failure with the same code.
  if (!fileName || shareMode != 0 || creationDisposition != OPEN_EXISTING) {
    Fail(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string path = SerialDevicePath(fileName);
  if (path.empty()) {
    Fail(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  SerialOpenFunction openFunction;
  {
    std::lock_guard<std::mutex> guard(g_seamLock);
    openFunction = g_open;
  }
  int flags = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  sys::CallResult opened;
  sys::FileDescriptor fd;
  if (openFunction) {
    int given = openFunction(path.c_str(), flags);
    opened = sys::CallResult{given, given < 0 ? (errno != 0 ? errno : EIO) : 0, "open " + path};
    if (given < 0) opened.Value = -1;
    fd = sys::FileDescriptor(given);
  } else {
    fd = sys::OpenOwned(path, flags, 0, opened);
  }
  auto refuse = [](sys::CallResult failed) {
    FailCall(failed);
    return INVALID_HANDLE_VALUE;
  };
  if (opened.Failed()) return refuse(std::move(opened));
  termios probe{};
  if (sys::CallResult r = sys::GetAttributes(fd.Get(), probe); r.Failed()) {
    r.Error = ENOTTY;  // not a terminal, whatever the driver said
    return refuse(std::move(r));
  }
  // Another program of ours holds it (flock), or any program set TIOCEXCL.
  if (sys::CallResult r = sys::Lock(fd.Get(), LOCK_EX | LOCK_NB); r.Failed()) {
    if (r.Error == EWOULDBLOCK) r.Error = EBUSY;
    return refuse(std::move(r));
  }
  if (sys::CallResult r = sys::Ioctl(fd.Get(), TIOCEXCL, nullptr, "TIOCEXCL"); r.Failed() && !IsRefusedByDevice(r.Error))
    return refuse(std::move(r));

  auto device = std::make_shared<SerialDevice>();
  device->path = path;
  sys::CallResult wake = sys::EventFd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake.Failed()) {
    sys::Ioctl(fd.Get(), TIOCNXCL, nullptr, "TIOCNXCL");
    return refuse(std::move(wake));
  }
  device->wakeFd = sys::FileDescriptor(static_cast<int>(wake.Value));
  device->fd = std::move(fd);
  std::lock_guard<std::mutex> guard(g_handlesLock);
  intptr_t value = g_nextHandle;
  g_nextHandle += 4;
  g_handles.emplace(value, device);
  SetLastError(ERROR_SUCCESS);
  return reinterpret_cast<HANDLE>(value);
}

BOOL CloseHandle(HANDLE handle) {
  std::shared_ptr<SerialDevice> device;
  {
    std::lock_guard<std::mutex> guard(g_handlesLock);
    auto it = g_handles.find(reinterpret_cast<intptr_t>(handle));
    if (it == g_handles.end()) return Fail(ERROR_INVALID_HANDLE);
    device = it->second;
    g_handles.erase(it);
  }
  SerialDevice& d = *device;
  d.StopService();
  {
    std::lock_guard<std::mutex> guard(d.lock);
    if (d.wait.active) Complete(d, d.wait.overlapped, ERROR_OPERATION_ABORTED, 0);
    if (d.read.active) Complete(d, d.read.overlapped, ERROR_OPERATION_ABORTED, d.read.got);
    if (d.write.active) Complete(d, d.write.overlapped, ERROR_OPERATION_ABORTED, d.write.done);
    d.wait.active = d.read.active = d.write.active = false;
  }
  sys::Ioctl(d.fd.Get(), TIOCNXCL, nullptr, "TIOCNXCL");
  d.fd.Close();
  d.wakeFd.Close();
  return TRUE;
}

// Line settings ---------------------------------------------------------------------

namespace {

struct BaudCode {
  DWORD baud;
  speed_t code;
};
constexpr BaudCode kBauds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},         {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},       {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},     {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800},   {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

DWORD BaudOf(int fd, const termios& t) {
  KernelTermios2 t2{};
  if (sys::Ioctl(fd, kTCGETS2, &t2, "TCGETS2") && t2.c_ospeed != 0) return t2.c_ospeed;
  speed_t code = cfgetospeed(&t);
  for (const BaudCode& b : kBauds)
    if (b.code == code) return b.baud;
  return 0;
}

void ApplyModemLine(int fd, int line, bool on) {
  // A pseudo-terminal has no modem lines; refusing to set them is no error.
  sys::Ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line, on ? "TIOCMBIS" : "TIOCMBIC");
}

}  // namespace

BOOL GetCommState(HANDLE handle, DCB* dcb) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  if (!dcb) return Fail(ERROR_INVALID_PARAMETER);
  SerialDevice& d = *device;
  std::lock_guard<std::mutex> guard(d.lock);
  termios t{};
  if (sys::CallResult got = sys::GetAttributes(d.fd.Get(), t); got.Failed()) return FailCall(got);
  DCB r = d.shadow;
  r.DCBlength = sizeof(DCB);
  r.BaudRate = BaudOf(d.fd.Get(), t);
  switch (t.c_cflag & CSIZE) {
    case CS5: r.ByteSize = 5; break;
    case CS6: r.ByteSize = 6; break;
    case CS7: r.ByteSize = 7; break;
    default: r.ByteSize = 8; break;
  }
  if (!(t.c_cflag & PARENB))
    r.Parity = NOPARITY;
  else if (t.c_cflag & CMSPAR)
    r.Parity = (t.c_cflag & PARODD) ? MARKPARITY : SPACEPARITY;
  else
    r.Parity = (t.c_cflag & PARODD) ? ODDPARITY : EVENPARITY;
  r.fParity = (t.c_cflag & PARENB) ? 1 : 0;
  if (d.framingIgnored) {
    r.ByteSize = d.shadow.ByteSize;
    r.Parity = d.shadow.Parity;
    r.fParity = d.shadow.Parity != NOPARITY;
  }
  if (t.c_cflag & CSTOPB)
    r.StopBits = r.ByteSize == 5 ? ONE5STOPBITS : TWOSTOPBITS;
  else
    r.StopBits = ONESTOPBIT;
  r.fOutxCtsFlow = (t.c_cflag & CRTSCTS) ? 1 : 0;
  if (t.c_cflag & CRTSCTS) r.fRtsControl = RTS_CONTROL_HANDSHAKE;
  r.fOutX = (t.c_iflag & IXON) ? 1 : 0;
  r.fInX = (t.c_iflag & IXOFF) ? 1 : 0;
  r.XonChar = static_cast<char>(t.c_cc[VSTART]);
  r.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
  *dcb = r;
  return TRUE;
}

BOOL SetCommState(HANDLE handle, const DCB* dcb) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  if (!dcb || dcb->BaudRate == 0 || dcb->ByteSize < 5 || dcb->ByteSize > 8 || dcb->Parity > SPACEPARITY ||
      dcb->StopBits > TWOSTOPBITS || (dcb->StopBits == ONE5STOPBITS && dcb->ByteSize != 5) ||
      (dcb->StopBits == TWOSTOPBITS && dcb->ByteSize == 5))
    return Fail(ERROR_INVALID_PARAMETER);
  SerialDevice& d = *device;
  std::lock_guard<std::mutex> guard(d.lock);
  termios t{};
  if (sys::CallResult got = sys::GetAttributes(d.fd.Get(), t); got.Failed()) return FailCall(got);
  cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag |= sizes[dcb->ByteSize - 5];
  switch (dcb->Parity) {
    case ODDPARITY: t.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: t.c_cflag |= PARENB; break;
    case MARKPARITY: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  if (dcb->Parity != NOPARITY) t.c_iflag |= INPCK;
  if (dcb->StopBits != ONESTOPBIT) t.c_cflag |= CSTOPB;
  if (dcb->fOutxCtsFlow || dcb->fRtsControl == RTS_CONTROL_HANDSHAKE) t.c_cflag |= CRTSCTS;
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (dcb->fOutX) t.c_iflag |= IXON;
  if (dcb->fInX) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = static_cast<cc_t>(dcb->XonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(dcb->XoffChar);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  bool standard = false;
  for (const BaudCode& b : kBauds)
    if (b.baud == dcb->BaudRate) {
      cfsetispeed(&t, b.code);
      cfsetospeed(&t, b.code);
      standard = true;
    }
  if (sys::CallResult set = sys::SetAttributes(d.fd.Get(), TCSANOW, t); set.Failed()) return FailCall(set);
  if (!standard) {
    KernelTermios2 t2{};
    if (sys::CallResult got = sys::Ioctl(d.fd.Get(), kTCGETS2, &t2, "TCGETS2"); got.Failed()) return FailCall(got);
    t2.c_cflag = (t2.c_cflag & ~kCBAUD) | kBOTHER;
    t2.c_cflag &= ~(kCBAUD << 16);  // input speed follows the output speed
    t2.c_cflag |= kBOTHER << 16;
    t2.c_ispeed = t2.c_ospeed = dcb->BaudRate;
    if (sys::CallResult set = sys::Ioctl(d.fd.Get(), kTCSETS2, &t2, "TCSETS2"); set.Failed()) return FailCall(set);
  }
  d.shadow = *dcb;
  termios applied{};
  if (sys::GetAttributes(d.fd.Get(), applied))
    d.framingIgnored = (applied.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR)) !=
                       (t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR));
  if (dcb->fDtrControl == DTR_CONTROL_ENABLE || dcb->fDtrControl == DTR_CONTROL_DISABLE)
    ApplyModemLine(d.fd.Get(), TIOCM_DTR, dcb->fDtrControl == DTR_CONTROL_ENABLE);
  if (dcb->fRtsControl == RTS_CONTROL_ENABLE || dcb->fRtsControl == RTS_CONTROL_DISABLE)
    ApplyModemLine(d.fd.Get(), TIOCM_RTS, dcb->fRtsControl == RTS_CONTROL_ENABLE);
  return TRUE;
}

BOOL GetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  if (!timeouts) return Fail(ERROR_INVALID_PARAMETER);
  std::lock_guard<std::mutex> guard(device->lock);
  *timeouts = device->timeouts;
  return TRUE;
}

BOOL SetCommTimeouts(HANDLE handle, const COMMTIMEOUTS* timeouts) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  if (!timeouts) return Fail(ERROR_INVALID_PARAMETER);
  std::lock_guard<std::mutex> guard(device->lock);
  device->timeouts = *timeouts;
  return TRUE;
}

BOOL SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  std::lock_guard<std::mutex> guard(device->lock);
  device->receiveCapacity = std::max<DWORD>(inQueue, 64);
  device->transmitSize = outQueue;
  EnsureService(*device);
  WakeService(*device);
  return TRUE;
}

// Events ---------------------------------------------------------------------------

BOOL SetCommMask(HANDLE handle, DWORD mask) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  SerialDevice& d = *device;
  std::lock_guard<std::mutex> guard(d.lock);
  d.eventMask = mask;
  d.eventsSeen = 0;
  if (d.wait.active) {
    d.wait.active = false;
    if (d.wait.eventMask) *d.wait.eventMask = 0;
    Complete(d, d.wait.overlapped, 0, 0);
  }
  EnsureService(d);
  WakeService(d);
  return TRUE;
}

BOOL GetCommMask(HANDLE handle, DWORD* mask) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  if (!mask) return Fail(ERROR_INVALID_PARAMETER);
  std::lock_guard<std::mutex> guard(device->lock);
  *mask = device->eventMask;
  return TRUE;
}

BOOL WaitCommEvent(HANDLE handle, DWORD* eventMask, OVERLAPPED* overlapped) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  SerialDevice& d = *device;
  std::unique_lock<std::mutex> guard(d.lock);
  if (d.wait.active) return Fail(ERROR_INVALID_PARAMETER);
  EnsureService(d);
  if (d.dead) return FailDead(d);
  OVERLAPPED local;
  OVERLAPPED* ov = overlapped ? overlapped : &local;
  StartOverlapped(ov);
  if (d.eventsSeen & d.eventMask) {
    if (eventMask) *eventMask = d.eventsSeen & d.eventMask;
    d.eventsSeen = 0;
    Complete(d, ov, 0, 0);
    return TRUE;
  }
  d.wait = PendingWait{eventMask, ov, true};
  WakeService(d);
  if (!overlapped) return FinishSynchronously(d, guard, local, nullptr);
  return Fail(ERROR_IO_PENDING);
}

// Input and output -------------------------------------------------------------------

BOOL ReadFile(HANDLE handle, void* buffer, DWORD count, DWORD* bytesRead, OVERLAPPED* overlapped) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  SerialDevice& d = *device;
  std::unique_lock<std::mutex> guard(d.lock);
  if (bytesRead) *bytesRead = 0;
  if (d.read.active || (!buffer && count > 0)) return Fail(ERROR_INVALID_PARAMETER);
  EnsureService(d);
  OVERLAPPED local;
  OVERLAPPED* ov = overlapped ? overlapped : &local;
  StartOverlapped(ov);
  PendingRead r;
  r.buffer = static_cast<BYTE*>(buffer);
  r.wanted = count;
  r.overlapped = ov;
  r.lastByte = Clock::now();
  const COMMTIMEOUTS& t = d.timeouts;
  DWORD total = 0;
  if (ReturnsOnFirstByte(t))
    total = t.ReadTotalTimeoutConstant;
  else if (!ReadsAtOnce(t))
    total = t.ReadTotalTimeoutMultiplier * count + t.ReadTotalTimeoutConstant;
  r.hasDeadline = total != 0;
  r.deadline = r.lastByte + std::chrono::milliseconds(total);
  if (ReadSatisfied(d, r) || (d.dead && r.got > 0)) {
    if (bytesRead) *bytesRead = r.got;
    Complete(d, ov, 0, r.got);
    return TRUE;
  }
  if (d.dead) {
    Complete(d, ov, ERROR_GEN_FAILURE, 0);
    return FailDead(d);
  }
  r.active = true;
  d.read = r;
  WakeService(d);
  if (!overlapped) return FinishSynchronously(d, guard, local, bytesRead);
  return Fail(ERROR_IO_PENDING);
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD count, DWORD* bytesWritten, OVERLAPPED* overlapped) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  SerialDevice& d = *device;
  std::unique_lock<std::mutex> guard(d.lock);
  if (bytesWritten) *bytesWritten = 0;
  if (d.write.active || (!buffer && count > 0)) return Fail(ERROR_INVALID_PARAMETER);
  EnsureService(d);
  if (d.dead) return FailDead(d);
  OVERLAPPED local;
  OVERLAPPED* ov = overlapped ? overlapped : &local;
  StartOverlapped(ov);
  const BYTE* bytes = static_cast<const BYTE*>(buffer);
  d.write.data.assign(bytes, bytes + count);
  d.write.done = 0;
  d.write.overlapped = ov;
  d.write.active = true;
  PumpWrite(d);
  if (!d.write.active) {
    if (ov->Internal != 0) return FailDead(d, static_cast<DWORD>(ov->Internal));
    if (bytesWritten) *bytesWritten = static_cast<DWORD>(ov->InternalHigh);
    return TRUE;
  }
  WakeService(d);
  if (!overlapped) return FinishSynchronously(d, guard, local, bytesWritten);
  return Fail(ERROR_IO_PENDING);
}

BOOL GetOverlappedResult(HANDLE handle, OVERLAPPED* overlapped, DWORD* bytesTransferred, BOOL wait) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  if (!overlapped) return Fail(ERROR_INVALID_PARAMETER);
  SerialDevice& d = *device;
  std::unique_lock<std::mutex> guard(d.lock);
  if (overlapped->Internal == ERROR_IO_PENDING) {
    if (!wait) return Fail(ERROR_IO_INCOMPLETE);
    d.completed.wait(guard, [&] { return overlapped->Internal != ERROR_IO_PENDING; });
  }
  if (bytesTransferred) *bytesTransferred = static_cast<DWORD>(overlapped->InternalHigh);
  if (overlapped->Internal != 0) return FailDead(d, static_cast<DWORD>(overlapped->Internal));
  return TRUE;
}

// Status ------------------------------------------------------------------------------

BOOL ClearCommError(HANDLE handle, DWORD* errors, COMSTAT* stat) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  SerialDevice& d = *device;
  std::lock_guard<std::mutex> guard(d.lock);
  EnsureService(d);
  if (!d.dead) {
    PollLines(d);
    Settle(d);  // a line change seen here may end a pending wait
  }
  if (errors) *errors = d.lineErrors;
  d.lineErrors = 0;
  if (stat) {
    *stat = COMSTAT{};
    int waiting = 0;
    if (d.dead || !sys::Ioctl(d.fd.Get(), FIONREAD, &waiting, "FIONREAD")) waiting = 0;
    stat->cbInQue = static_cast<DWORD>(d.received.size()) + static_cast<DWORD>(std::max(waiting, 0));
    int unsent = 0;
    if (d.dead || !sys::Ioctl(d.fd.Get(), TIOCOUTQ, &unsent, "TIOCOUTQ")) unsent = 0;
    DWORD pending = d.write.active ? static_cast<DWORD>(d.write.data.size() - d.write.done) : 0;
    stat->cbOutQue = pending + static_cast<DWORD>(std::max(unsent, 0));
  }
  if (d.dead) return FailDead(d);
  return TRUE;
}

BOOL PurgeComm(HANDLE handle, DWORD flags) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  SerialDevice& d = *device;
  std::lock_guard<std::mutex> guard(d.lock);
  if ((flags & PURGE_TXABORT) && d.write.active) {
    d.write.active = false;
    Complete(d, d.write.overlapped, ERROR_OPERATION_ABORTED, d.write.done);
  }
  if ((flags & PURGE_RXABORT) && d.read.active) {
    d.read.active = false;
    Complete(d, d.read.overlapped, ERROR_OPERATION_ABORTED, d.read.got);
  }
  if (flags & PURGE_TXCLEAR) sys::Flush(d.fd.Get(), TCOFLUSH);
  if (flags & PURGE_RXCLEAR) {
    d.received.clear();
    sys::Flush(d.fd.Get(), TCIFLUSH);
  }
  WakeService(d);
  return TRUE;
}

BOOL EscapeCommFunction(HANDLE handle, DWORD function) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  SerialDevice& d = *device;
  std::lock_guard<std::mutex> guard(d.lock);
  const int fd = d.fd.Get();
  sys::CallResult result;
  switch (function) {
    case SETRTS:
    case CLRRTS:
    case SETDTR:
    case CLRDTR: {
      int line = (function == SETRTS || function == CLRRTS) ? TIOCM_RTS : TIOCM_DTR;
      const bool set = function == SETRTS || function == SETDTR;
      result = sys::Ioctl(fd, set ? TIOCMBIS : TIOCMBIC, &line, set ? "TIOCMBIS" : "TIOCMBIC");
      break;
    }
    case SETBREAK: result = sys::Ioctl(fd, TIOCSBRK, nullptr, "TIOCSBRK"); break;
    case CLRBREAK: result = sys::Ioctl(fd, TIOCCBRK, nullptr, "TIOCCBRK"); break;
    case SETXOFF: result = sys::Flow(fd, TCOOFF); break;
    case SETXON: result = sys::Flow(fd, TCOON); break;
    default: return Fail(ERROR_INVALID_PARAMETER);
  }
  if (result.Failed() && !IsRefusedByDevice(result.Error)) return FailCall(result);
  return TRUE;
}

BOOL GetCommModemStatus(HANDLE handle, DWORD* modemStatus) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  if (!modemStatus) return Fail(ERROR_INVALID_PARAMETER);
  std::lock_guard<std::mutex> guard(device->lock);
  int lines = 0;
  if (sys::CallResult got = sys::Ioctl(device->fd.Get(), TIOCMGET, &lines, "TIOCMGET"); got.Failed()) {
    if (!IsRefusedByDevice(got.Error)) return FailCall(got);
    *modemStatus = MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON;
    return TRUE;
  }
  DWORD status = 0;
  if (lines & TIOCM_CTS) status |= MS_CTS_ON;
  if (lines & TIOCM_DSR) status |= MS_DSR_ON;
  if (lines & TIOCM_RNG) status |= MS_RING_ON;
  if (lines & TIOCM_CAR) status |= MS_RLSD_ON;
  *modemStatus = status;
  return TRUE;
}

// Messages and waiting ------------------------------------------------------------

namespace {

struct SystemText {
  DWORD code;
  const char* text;
};
constexpr SystemText kSystemTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_OPERATION_ABORTED,
     "The I/O operation has been aborted because of either a thread exit or an application request."},
    {ERROR_IO_INCOMPLETE, "Overlapped I/O event is not in a signaled state."},
    {ERROR_IO_PENDING, "Overlapped I/O operation is in progress."},
    {ERROR_TIMEOUT, "This operation returned because the timeout period expired."},
    {ERROR_SERIAL_PERMISSION,
     "You are not allowed to open serial devices.\r\nAsk the administrator to add your user to the group that "
     "owns them (usually \"dialout\": sudo usermod -aG dialout <user>), then log out and in again."},
};

}  // namespace

DWORD FormatMessage(DWORD flags, const void* source, DWORD messageId, DWORD languageId, char* buffer, DWORD size,
                    void* arguments) {
  (void)source;
  (void)languageId;
  (void)arguments;
  if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer || size == 0) return Fail(ERROR_INVALID_PARAMETER);
  for (const SystemText& entry : kSystemTexts) {
    if (entry.code != messageId) continue;
    std::string text = std::string(entry.text) + "\r\n";
    if (text.size() + 1 > size) return Fail(122);  // ERROR_INSUFFICIENT_BUFFER
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
  }
  SetLastError(317);  // ERROR_MR_MID_NOT_FOUND
  return 0;
}

DWORD WaitForSingleObject(TEvent* handle, DWORD milliseconds) {
  if (!handle) return Fail(ERROR_INVALID_HANDLE), WAIT_FAILED;
  switch (handle->WaitFor(milliseconds)) {
    case wrSignaled: return WAIT_OBJECT_0;
    case wrTimeout: return WAIT_TIMEOUT;
    default: return WAIT_FAILED;
  }
}

DWORD WaitForMultipleObjects(DWORD count, TEvent* const* handles, BOOL waitAll, DWORD milliseconds) {
  if (count == 0 || !handles) return Fail(ERROR_INVALID_PARAMETER), WAIT_FAILED;
  std::vector<TEvent*> events(handles, handles + count);
  for (TEvent* e : events)
    if (!e) return Fail(ERROR_INVALID_HANDLE), WAIT_FAILED;
  if (!waitAll) {
    Integer index = WaitForAnyEvent(events, milliseconds);
    return index < 0 ? WAIT_TIMEOUT : WAIT_OBJECT_0 + static_cast<DWORD>(index);
  }
  auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (TEvent* e : events) {
    DWORD left = INFINITE;
    if (milliseconds != INFINITE) {
      auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
      left = static_cast<DWORD>(std::max<long long>(0, ms));
    }
    if (e->WaitFor(left) != wrSignaled) return WAIT_TIMEOUT;
  }
  return WAIT_OBJECT_0;
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
  (void)thread;
  (void)priority;
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  ::Sleep(milliseconds);
}

}  // namespace win
