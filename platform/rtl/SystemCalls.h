// The one door to the operating system. Each call here is made again when a
// signal interrupts it (EINTR), and a failure carries the call's name and
// errno, so that whoever reports it can say which call failed and why. A
// result is returned for the caller to judge, or raised (EOSError) with
// OrRaise.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct pollfd;
struct stat;
struct termios;

namespace sys {

// What one call gave: its value, or its failure (errno and the call's name).
struct CallResult {
  long Value = 0;        // the call's result; -1 when it failed
  int Error = 0;         // errno of a failure; 0 when the call succeeded
  std::string Call;      // what was called, with what it was called on
  bool Failed() const { return Error != 0; }
  explicit operator bool() const { return Error == 0; }
  // "<call> failed: <the system's text> (errno N)".
  std::string Message() const;
  // Raises EOSError with Message; returns the value when the call succeeded.
  long OrRaise() const;
};

// A file descriptor that is closed when its owner goes.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Hands the descriptor over; it is no longer closed here.
  int Release();
  // Closes now and tells how the close went (a write-back error shows here).
  CallResult Close();

 private:
  int fd_ = -1;
};

// Files and folders.
CallResult Open(const std::string& path, int flags, mode_t mode = 0);
// Opens through the result: the descriptor is owned from the start.
FileDescriptor OpenOwned(const std::string& path, int flags, mode_t mode, CallResult& result);
CallResult Read(int fd, void* buffer, size_t count);
// One write (it may write less than asked).
CallResult Write(int fd, const void* buffer, size_t count);
// Writes everything, as many writes as it takes; Value is the count written.
CallResult WriteAll(int fd, const void* buffer, size_t count);
CallResult Seek(int fd, off_t offset, int whence);
CallResult Truncate(int fd, off_t size);
CallResult Sync(int fd);
CallResult FileStatus(int fd, struct stat& status);
CallResult PathStatus(const std::string& path, struct stat& status);
CallResult ChangeMode(int fd, mode_t mode);
CallResult MakeFolder(const std::string& path, mode_t mode);
CallResult Unlink(const std::string& path);
CallResult Rename(const std::string& from, const std::string& to);
CallResult Lock(int fd, int operation);
CallResult Access(const std::string& path, int mode);
CallResult LinkStatus(const std::string& path, struct stat& status);
CallResult ReadLink(const std::string& path, std::string& target);
CallResult ChangeOwner(int fd, uid_t owner, gid_t group);
// The names in a folder, "." and ".." left out, in the order the system gives.
CallResult ListFolder(const std::string& path, std::vector<std::string>& names);
// mkostemp: pattern ends in "XXXXXX", which becomes the name made.
CallResult MakeTemporary(std::string& pattern, int flags);

// Events and waiting. Poll waits at most timeoutMs in all (-1: no limit),
// however often a signal interrupts it.
CallResult EventFd(unsigned int initial, int flags);
CallResult Poll(pollfd* fds, size_t count, int timeoutMs);
// A monotonic timer descriptor that becomes readable every periodNs.
CallResult PeriodicTimer(long periodNs, int flags);

// Processes: starts a program found on PATH, which runs on by itself, and
// waits for a child's end.
CallResult Spawn(const std::vector<std::string>& argv, pid_t& pid);
CallResult WaitChild(pid_t pid, int& status);
// Sets the handler of a signal (SIG_DFL, SIG_IGN or a function; calls it
// interrupts are restarted), and reads the one in place.
using SignalHandler = void (*)(int);
CallResult SignalAction(int signal, SignalHandler handler);
CallResult CurrentSignalHandler(int signal, SignalHandler& handler);
// A write that a signal handler may make: nothing allocated, a failure
// (there is no one to tell) ignored.
void SignalSafeWrite(int fd, const void* buffer, size_t count) noexcept;

// Terminals and devices; name says which request it was ("TIOCMGET").
CallResult Ioctl(int fd, unsigned long request, void* argument, const char* name);
CallResult GetAttributes(int fd, termios& attributes);
CallResult SetAttributes(int fd, int when, const termios& attributes);
CallResult Flush(int fd, int queue);
CallResult Flow(int fd, int action);

}  // namespace sys
