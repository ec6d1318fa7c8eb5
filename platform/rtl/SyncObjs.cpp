#include "platform/rtl/SyncObjs.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>

#include "platform/rtl/SysUtils.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TCriticalSection, TObject)
VXN_IMPLEMENT_CLASS(TEvent, TObject)

namespace {

// Milliseconds left until the deadline, as poll takes them (-1: no limit).
// Time-outs are real time: they wait on the system, not on the program's
// replaceable clock.
class Deadline {
 public:
  explicit Deadline(Cardinal timeout)
      : infinite_(timeout == INFINITE), end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout)) {}
  int Remaining() const {
    if (infinite_) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now()).count();
    if (left <= 0) return 0;
    return left > INT_MAX ? INT_MAX : static_cast<int>(left);
  }

 private:
  bool infinite_;
  std::chrono::steady_clock::time_point end_;
};

}  // namespace

TEvent::TEvent(bool ManualReset, bool InitialState) : manualReset_(ManualReset) {
  fd_ = sys::FileDescriptor(static_cast<int>(sys::EventFd(InitialState ? 1 : 0, EFD_NONBLOCK | EFD_CLOEXEC).OrRaise()));
}

TEvent::~TEvent() = default;

void TEvent::SetEvent() {
  const uint64_t one = 1;
  // Only a counter at its maximum refuses, and that is signalled already.
  sys::Write(fd_.Get(), &one, sizeof one);
}

void TEvent::ResetEvent() {
  uint64_t value;
  sys::Read(fd_.Get(), &value, sizeof value);
}

bool TEvent::IsSignaled() const {
  pollfd p{fd_.Get(), POLLIN, 0};
  return sys::Poll(&p, 1, 0).Value > 0 && (p.revents & POLLIN);
}

bool TEvent::TryConsume() {
  if (manualReset_) return IsSignaled();
  uint64_t value;
  return sys::Read(fd_.Get(), &value, sizeof value).Value == sizeof value;
}

TWaitResult TEvent::WaitFor(Cardinal Timeout) {
  const Deadline deadline(Timeout);
  for (;;) {
    pollfd p{fd_.Get(), POLLIN, 0};
    const sys::CallResult r = sys::Poll(&p, 1, deadline.Remaining());
    if (r.Failed()) return wrError;
    if (r.Value == 0) return wrTimeout;
    if (p.revents & (POLLERR | POLLNVAL)) return wrError;
    // Another waiter may have taken an automatic event first: wait on.
    if (TryConsume()) return wrSignaled;
    if (deadline.Remaining() == 0) return wrTimeout;
  }
}

Integer WaitForAnyEvent(const std::vector<TEvent*>& Events, Cardinal Timeout) {
  const Deadline deadline(Timeout);
  std::vector<pollfd> fds(Events.size());
  for (;;) {
    for (size_t i = 0; i < Events.size(); ++i) fds[i] = pollfd{Events[i]->Handle(), POLLIN, 0};
    if (sys::Poll(fds.data(), fds.size(), deadline.Remaining()).OrRaise() == 0) return -1;
    for (size_t i = 0; i < Events.size(); ++i)
      if ((fds[i].revents & POLLIN) && Events[i]->TryConsume()) return static_cast<Integer>(i);
    if (deadline.Remaining() == 0) return -1;
  }
}
