// Locks and events between threads. An event is an eventfd, so a thread can
// wait for it and for a device in one poll: Handle() is the descriptor, which
// is readable while the event is signalled.
#pragma once

#include <initializer_list>
#include <mutex>
#include <vector>

#include "platform/rtl/System.h"
#include "platform/rtl/SystemCalls.h"

inline constexpr Cardinal INFINITE = 0xFFFFFFFF;

// A recursive lock: the thread that holds it may enter again.
class TCriticalSection : public TObject {
  VXN_DECLARE_CLASS(TCriticalSection)

 public:
  void Acquire() { mutex_.lock(); }
  void Release() { mutex_.unlock(); }
  void Enter() { Acquire(); }
  void Leave() { Release(); }
  bool TryEnter() { return mutex_.try_lock(); }

 private:
  std::recursive_mutex mutex_;
};

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// An event with manual or automatic reset. A manual-reset event stays
// signalled until ResetEvent and releases every waiter; an automatic one
// releases one waiter and is reset by that waiter's return from WaitFor
// (setting it twice with nobody waiting still releases one waiter).
class TEvent : public TObject {
  VXN_DECLARE_CLASS(TEvent)

 public:
  // Raises EOSError when the system has no descriptor left.
  explicit TEvent(bool ManualReset = true, bool InitialState = false);
  ~TEvent() override;

  void SetEvent();
  void ResetEvent();
  // Timeout in milliseconds, INFINITE to wait without limit.
  TWaitResult WaitFor(Cardinal Timeout = INFINITE);
  // The signalled state without waiting or resetting.
  bool IsSignaled() const;

  int Handle() const { return fd_.Get(); }
  bool ManualReset() const { return manualReset_; }

  // Completes a wait that a caller did through poll() on Handle(): resets an
  // automatic event and tells whether this caller got it (another waiter may
  // have been faster). Always true for a manual-reset event that is set.
  bool TryConsume();

 private:
  sys::FileDescriptor fd_;
  bool manualReset_;
};

// Waits until one of the events is signalled or the time-out passes. Returns
// the index of the event that released the caller (an automatic event is
// reset by this), -1 on time-out. Events earlier in the list win when several
// are signalled.
Integer WaitForAnyEvent(const std::vector<TEvent*>& Events, Cardinal Timeout);
inline Integer WaitForAnyEvent(std::initializer_list<TEvent*> Events, Cardinal Timeout) {
  return WaitForAnyEvent(std::vector<TEvent*>(Events), Timeout);
}
