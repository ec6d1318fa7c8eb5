#include "WinSerial.h"

#include <dirent.h>
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

#include "Clock.h"
#include "Windows.h"

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
  int fd = -1;
  int wakeFd = -1;
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

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BOOL FailErrno() {
  return Fail(ErrorFromErrno(errno));
}

// A pseudo-terminal (or a driver without modem lines) answers these.
bool IsRefusedByDevice(int error) {
  return error == ENOTTY || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

void WakeService(SerialDevice& d) {
  if (d.wakeFd < 0) return;
  uint64_t one = 1;
  ssize_t n = ::write(d.wakeFd, &one, sizeof one);
  (void)n;
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
  if (ov.Internal != 0) return Fail(static_cast<DWORD>(ov.Internal));
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

void MarkDead(SerialDevice& d) {
  d.dead = true;
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
  if (ioctl(d.fd, TIOCMGET, &lines) == 0) {
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
  if (ioctl(d.fd, TIOCGICOUNT, &counters) == 0) {
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
    ssize_t n = ::write(d.fd, w.data.data() + w.done, w.data.size() - w.done);
    if (n > 0) {
      w.done += static_cast<DWORD>(n);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (errno == EIO) {
      MarkDead(d);
      return;
    }
    w.active = false;
    Complete(d, w.overlapped, ErrorFromErrno(errno), w.done);
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
    ssize_t n = ::read(d.fd, chunk, room);
    if (n > 0) {
      d.received.insert(d.received.end(), chunk, chunk + n);
      arrived = true;
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
    if (n == 0 && !hungUp) break;
    // EIO, or 0 after a hang-up: the other side hung up or the adapter is gone.
    MarkDead(d);
    break;
  }
  if (arrived) RecordEvents(d, EV_RXCHAR);
}

void ServiceLoop(SerialDevice* dp) {
  SerialDevice& d = *dp;
  std::unique_lock<std::mutex> guard(d.lock);
  while (!d.stopping) {
    pollfd fds[2];
    fds[0].fd = d.dead ? -1 : d.fd;
    fds[0].events = 0;
    if (d.received.size() < d.receiveCapacity) fds[0].events |= POLLIN;
    if (d.write.active) fds[0].events |= POLLOUT;
    fds[0].revents = 0;
    fds[1].fd = d.wakeFd;
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
    int ready = ::poll(fds, 2, timeout);
    guard.lock();
    if (d.stopping) break;
    if (ready < 0 && errno != EINTR) {
      MarkDead(d);
      continue;
    }
    if (fds[1].revents & POLLIN) {
      uint64_t value;
      ssize_t n = ::read(d.wakeFd, &value, sizeof value);
      (void)n;
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
  if (DIR* dir = opendir(devFolder.c_str())) {
    while (dirent* e = readdir(dir)) {
      std::string entry = e->d_name;
      for (int f = 0; f < 3; ++f) {
        long n = FamilyNumber(entry, prefixes[f]);
        if (n < 0) continue;
        if (f == 2 && !HasRealUart(sysFolder, entry)) continue;
        families[f].emplace_back(n, entry);
      }
    }
    closedir(dir);
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
  if (!fileName || shareMode != 0 || creationDisposition != OPEN_EXISTING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::string path = SerialDevicePath(fileName);
  if (path.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  SerialOpenFunction openFunction;
  {
    std::lock_guard<std::mutex> guard(g_seamLock);
    openFunction = g_open;
  }
  int flags = O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  int fd = openFunction ? openFunction(path.c_str(), flags) : ::open(path.c_str(), flags);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  auto refuse = [&](int error) {
    ::close(fd);
    SetLastError(ErrorFromErrno(error));
    return INVALID_HANDLE_VALUE;
  };
  termios probe{};
  if (tcgetattr(fd, &probe) != 0) return refuse(ENOTTY);
  // Another program of ours holds it (flock), or any program set TIOCEXCL.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) return refuse(errno == EWOULDBLOCK ? EBUSY : errno);
  if (ioctl(fd, TIOCEXCL) != 0 && !IsRefusedByDevice(errno)) return refuse(errno);

  auto device = std::make_shared<SerialDevice>();
  device->fd = fd;
  device->path = path;
  device->wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (device->wakeFd < 0) {
    ioctl(fd, TIOCNXCL);
    return refuse(errno);
  }
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
  {
    std::lock_guard<std::mutex> guard(d.lock);
    d.stopping = true;
    WakeService(d);
  }
  if (d.service.joinable()) d.service.join();
  {
    std::lock_guard<std::mutex> guard(d.lock);
    if (d.wait.active) Complete(d, d.wait.overlapped, ERROR_OPERATION_ABORTED, 0);
    if (d.read.active) Complete(d, d.read.overlapped, ERROR_OPERATION_ABORTED, d.read.got);
    if (d.write.active) Complete(d, d.write.overlapped, ERROR_OPERATION_ABORTED, d.write.done);
    d.wait.active = d.read.active = d.write.active = false;
  }
  ioctl(d.fd, TIOCNXCL);
  ::close(d.fd);
  ::close(d.wakeFd);
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
  if (ioctl(fd, kTCGETS2, &t2) == 0 && t2.c_ospeed != 0) return t2.c_ospeed;
  speed_t code = cfgetospeed(&t);
  for (const BaudCode& b : kBauds)
    if (b.code == code) return b.baud;
  return 0;
}

void ApplyModemLine(int fd, int line, bool on) {
  // A pseudo-terminal has no modem lines; refusing to set them is no error.
  ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace

BOOL GetCommState(HANDLE handle, DCB* dcb) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  if (!dcb) return Fail(ERROR_INVALID_PARAMETER);
  SerialDevice& d = *device;
  std::lock_guard<std::mutex> guard(d.lock);
  termios t{};
  if (tcgetattr(d.fd, &t) != 0) return FailErrno();
  DCB r = d.shadow;
  r.DCBlength = sizeof(DCB);
  r.BaudRate = BaudOf(d.fd, t);
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
  if (tcgetattr(d.fd, &t) != 0) return FailErrno();
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
  if (tcsetattr(d.fd, TCSANOW, &t) != 0) return FailErrno();
  if (!standard) {
    KernelTermios2 t2{};
    if (ioctl(d.fd, kTCGETS2, &t2) != 0) return FailErrno();
    t2.c_cflag = (t2.c_cflag & ~kCBAUD) | kBOTHER;
    t2.c_cflag &= ~(kCBAUD << 16);  // input speed follows the output speed
    t2.c_cflag |= kBOTHER << 16;
    t2.c_ispeed = t2.c_ospeed = dcb->BaudRate;
    if (ioctl(d.fd, kTCSETS2, &t2) != 0) return FailErrno();
  }
  d.shadow = *dcb;
  termios applied{};
  if (tcgetattr(d.fd, &applied) == 0)
    d.framingIgnored = (applied.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR)) !=
                       (t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR));
  if (dcb->fDtrControl == DTR_CONTROL_ENABLE || dcb->fDtrControl == DTR_CONTROL_DISABLE)
    ApplyModemLine(d.fd, TIOCM_DTR, dcb->fDtrControl == DTR_CONTROL_ENABLE);
  if (dcb->fRtsControl == RTS_CONTROL_ENABLE || dcb->fRtsControl == RTS_CONTROL_DISABLE)
    ApplyModemLine(d.fd, TIOCM_RTS, dcb->fRtsControl == RTS_CONTROL_ENABLE);
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
  if (d.dead) return Fail(ERROR_GEN_FAILURE);
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
    return Fail(ERROR_GEN_FAILURE);
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
  if (d.dead) return Fail(ERROR_GEN_FAILURE);
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
    if (ov->Internal != 0) return Fail(static_cast<DWORD>(ov->Internal));
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
  if (overlapped->Internal != 0) return Fail(static_cast<DWORD>(overlapped->Internal));
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
    if (d.dead || ioctl(d.fd, FIONREAD, &waiting) != 0) waiting = 0;
    stat->cbInQue = static_cast<DWORD>(d.received.size()) + static_cast<DWORD>(std::max(waiting, 0));
    int unsent = 0;
    if (d.dead || ioctl(d.fd, TIOCOUTQ, &unsent) != 0) unsent = 0;
    DWORD pending = d.write.active ? static_cast<DWORD>(d.write.data.size() - d.write.done) : 0;
    stat->cbOutQue = pending + static_cast<DWORD>(std::max(unsent, 0));
  }
  if (d.dead) return Fail(ERROR_GEN_FAILURE);
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
  if (flags & PURGE_TXCLEAR) tcflush(d.fd, TCOFLUSH);
  if (flags & PURGE_RXCLEAR) {
    d.received.clear();
    tcflush(d.fd, TCIFLUSH);
  }
  WakeService(d);
  return TRUE;
}

BOOL EscapeCommFunction(HANDLE handle, DWORD function) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  SerialDevice& d = *device;
  std::lock_guard<std::mutex> guard(d.lock);
  int result = 0;
  switch (function) {
    case SETRTS:
    case CLRRTS:
    case SETDTR:
    case CLRDTR: {
      int line = (function == SETRTS || function == CLRRTS) ? TIOCM_RTS : TIOCM_DTR;
      result = ioctl(d.fd, (function == SETRTS || function == SETDTR) ? TIOCMBIS : TIOCMBIC, &line);
      break;
    }
    case SETBREAK: result = ioctl(d.fd, TIOCSBRK); break;
    case CLRBREAK: result = ioctl(d.fd, TIOCCBRK); break;
    case SETXOFF: result = tcflow(d.fd, TCOOFF); break;
    case SETXON: result = tcflow(d.fd, TCOON); break;
    default: return Fail(ERROR_INVALID_PARAMETER);
  }
  if (result != 0 && !IsRefusedByDevice(errno)) return FailErrno();
  return TRUE;
}

BOOL GetCommModemStatus(HANDLE handle, DWORD* modemStatus) {
  auto device = DeviceOf(handle);
  if (!device) return FALSE;
  if (!modemStatus) return Fail(ERROR_INVALID_PARAMETER);
  std::lock_guard<std::mutex> guard(device->lock);
  int lines = 0;
  if (ioctl(device->fd, TIOCMGET, &lines) != 0) {
    if (!IsRefusedByDevice(errno)) return FailErrno();
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
