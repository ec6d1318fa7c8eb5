#include "platform/rtl/SystemCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/timerfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <chrono>

#include "platform/rtl/SysUtils.h"

namespace sys {

namespace {

CallResult Outcome(long value, std::string call) {
  CallResult r;
  r.Value = value;
  r.Call = std::move(call);
  if (value == -1) r.Error = errno != 0 ? errno : EIO;
  return r;
}

// Makes the call until no signal interrupts it.
template <typename Call>
long Retried(Call call) {
  long value;
  do value = static_cast<long>(call());
  while (value == -1 && errno == EINTR);
  return value;
}

std::string On(const char* call, const std::string& what) { return std::string(call) + " " + what; }

}  // namespace

std::string CallResult::Message() const {
  return Call + " failed: " + SysErrorMessage(Error) + " (errno " + std::to_string(Error) + ")";
}

long CallResult::OrRaise() const {
  if (Failed()) RaiseOSError(Call, Error);
  return Value;
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.Release();
  }
  return *this;
}

FileDescriptor::~FileDescriptor() { Close(); }

int FileDescriptor::Release() {
  int fd = fd_;
  fd_ = -1;
  return fd;
}

CallResult FileDescriptor::Close() {
  if (fd_ < 0) return CallResult{0, 0, "close"};
  // A close interrupted by a signal has still closed the descriptor: it is
  // never made again.
  int fd = Release();
  return Outcome(::close(fd), "close");
}

CallResult Open(const std::string& path, int flags, mode_t mode) {
  return Outcome(Retried([&] { return ::open(path.c_str(), flags, mode); }), On("open", path));
}

FileDescriptor OpenOwned(const std::string& path, int flags, mode_t mode, CallResult& result) {
  result = Open(path, flags, mode);
  return FileDescriptor(result ? static_cast<int>(result.Value) : -1);
}

CallResult Read(int fd, void* buffer, size_t count) {
  return Outcome(Retried([&] { return ::read(fd, buffer, count); }), "read");
}

CallResult Write(int fd, const void* buffer, size_t count) {
  return Outcome(Retried([&] { return ::write(fd, buffer, count); }), "write");
}

CallResult WriteAll(int fd, const void* buffer, size_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < count) {
    CallResult r = Write(fd, bytes + done, count - done);
    if (r.Failed()) return r;
    done += static_cast<size_t>(r.Value);
  }
  return CallResult{static_cast<long>(done), 0, "write"};
}

CallResult Seek(int fd, off_t offset, int whence) {
  return Outcome(static_cast<long>(::lseek(fd, offset, whence)), "lseek");
}

CallResult Truncate(int fd, off_t size) {
  return Outcome(Retried([&] { return ::ftruncate(fd, size); }), "ftruncate");
}

CallResult Sync(int fd) { return Outcome(Retried([&] { return ::fsync(fd); }), "fsync"); }

CallResult FileStatus(int fd, struct stat& status) { return Outcome(::fstat(fd, &status), "fstat"); }

CallResult PathStatus(const std::string& path, struct stat& status) {
  return Outcome(::stat(path.c_str(), &status), On("stat", path));
}

CallResult ChangeMode(int fd, mode_t mode) {
  return Outcome(Retried([&] { return ::fchmod(fd, mode); }), "fchmod");
}

CallResult MakeFolder(const std::string& path, mode_t mode) {
  return Outcome(::mkdir(path.c_str(), mode), On("mkdir", path));
}

CallResult Unlink(const std::string& path) { return Outcome(::unlink(path.c_str()), On("unlink", path)); }

CallResult Rename(const std::string& from, const std::string& to) {
  return Outcome(::rename(from.c_str(), to.c_str()), On("rename", from));
}

CallResult Lock(int fd, int operation) {
  return Outcome(Retried([&] { return ::flock(fd, operation); }), "flock");
}

CallResult Access(const std::string& path, int mode) {
  return Outcome(::access(path.c_str(), mode), On("access", path));
}

CallResult LinkStatus(const std::string& path, struct stat& status) {
  return Outcome(::lstat(path.c_str(), &status), On("lstat", path));
}

CallResult ReadLink(const std::string& path, std::string& target) {
  std::string buffer(PATH_MAX + 1, '\0');
  CallResult r = Outcome(::readlink(path.c_str(), buffer.data(), buffer.size() - 1), On("readlink", path));
  if (r) target.assign(buffer.data(), static_cast<size_t>(r.Value));
  return r;
}

CallResult ChangeOwner(int fd, uid_t owner, gid_t group) {
  return Outcome(Retried([&] { return ::fchown(fd, owner, group); }), "fchown");
}

CallResult ListFolder(const std::string& path, std::vector<std::string>& names) {
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return Outcome(-1, On("opendir", path));
  while (struct dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(dir);
  return CallResult{0, 0, On("opendir", path)};
}

CallResult MakeTemporary(std::string& pattern, int flags) {
  return Outcome(Retried([&] { return ::mkostemp(pattern.data(), flags); }), On("mkostemp", pattern));
}

CallResult EventFd(unsigned int initial, int flags) { return Outcome(::eventfd(initial, flags), "eventfd"); }

CallResult Poll(pollfd* fds, size_t count, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  int left = timeoutMs;
  while (true) {
    int ready = ::poll(fds, static_cast<nfds_t>(count), left);
    if (ready >= 0 || errno != EINTR) return Outcome(ready, "poll");
    if (timeoutMs >= 0) {
      auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
      left = remaining > 0 ? static_cast<int>(remaining) : 0;
    }
  }
}

CallResult PeriodicTimer(long periodNs, int flags) {
  CallResult made = Outcome(::timerfd_create(CLOCK_MONOTONIC, flags), "timerfd_create");
  if (made.Failed()) return made;
  itimerspec spec{};
  spec.it_interval.tv_nsec = periodNs;
  spec.it_value.tv_nsec = periodNs;
  if (::timerfd_settime(static_cast<int>(made.Value), 0, &spec, nullptr) != 0) {
    CallResult set = Outcome(-1, "timerfd_settime");
    ::close(static_cast<int>(made.Value));
    return set;
  }
  return made;
}

CallResult Spawn(const std::vector<std::string>& argv, pid_t& pid) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  // posix_spawnp gives its error back instead of setting errno.
  const int error = argv.empty() ? EINVAL : ::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ);
  CallResult r{0, error, On("posix_spawnp", argv.empty() ? std::string() : argv[0])};
  if (error != 0) r.Value = -1;
  return r;
}

CallResult SignalAction(int signal, SignalHandler handler) {
  struct sigaction wanted {};
  wanted.sa_handler = handler;
  sigemptyset(&wanted.sa_mask);
  wanted.sa_flags = SA_RESTART;
  return Outcome(::sigaction(signal, &wanted, nullptr), On("sigaction", std::to_string(signal)));
}

CallResult CurrentSignalHandler(int signal, SignalHandler& handler) {
  struct sigaction current {};
  CallResult r = Outcome(::sigaction(signal, nullptr, &current), On("sigaction", std::to_string(signal)));
  handler = r ? current.sa_handler : nullptr;
  return r;
}

void SignalSafeWrite(int fd, const void* buffer, size_t count) noexcept {
  const int saved = errno;  // the interrupted code may be about to read it
  while (::write(fd, buffer, count) < 0 && errno == EINTR) {
  }
  errno = saved;
}

CallResult WaitChild(pid_t pid, int& status) {
  return Outcome(Retried([&] { return ::waitpid(pid, &status, 0); }), "waitpid");
}

CallResult Ioctl(int fd, unsigned long request, void* argument, const char* name) {
  return Outcome(Retried([&] { return ::ioctl(fd, request, argument); }), On("ioctl", name));
}

CallResult GetAttributes(int fd, termios& attributes) {
  return Outcome(Retried([&] { return ::tcgetattr(fd, &attributes); }), "tcgetattr");
}

CallResult SetAttributes(int fd, int when, const termios& attributes) {
  return Outcome(Retried([&] { return ::tcsetattr(fd, when, &attributes); }), "tcsetattr");
}

CallResult Flush(int fd, int queue) { return Outcome(Retried([&] { return ::tcflush(fd, queue); }), "tcflush"); }

CallResult Flow(int fd, int action) { return Outcome(Retried([&] { return ::tcflow(fd, action); }), "tcflow"); }

}  // namespace sys
