// TThread: a worker thread that runs the Execute of a descendant.
//
// C++ runs nothing after the most-derived constructor, so a thread never
// starts inside its constructor (Execute would meet a half-built object):
// create it, then call Start, or use StartNew which does both. Terminate only
// asks; Execute polls Terminated. An exception that leaves Execute is kept in
// FatalException instead of ending the process. With FreeOnTerminate set the
// object deletes itself when Execute returns, so nobody may touch or WaitFor
// it afterwards. Freeing a running thread with Free terminates it and waits
// before any destructor runs; a plain delete can only do that in ~TThread,
// after the descendant's part is gone, so a running thread is never deleted
// directly (Terminate and WaitFor first, or use Free).
#pragma once

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"

// Misuse of a thread object (starting it twice, waiting for itself).
class EThread : public Exception {
  VXN_DECLARE_CLASS(EThread)

 public:
  using Exception::Exception;
};

class TThread : public TObject {
  VXN_DECLARE_CLASS(TThread)

 public:
  TThread() = default;
  ~TThread() override;
  // Terminates and waits (unless called on the thread itself).
  void BeforeDestruction() override;

  // Starts the thread once; raises EThread when it runs already.
  void Start();
  void Resume() { Start(); }
  void Terminate() { terminated_.store(true); }
  // Waits for Execute to return and gives ReturnValue. Raises EThread when
  // called from the thread itself or on a thread that was never started.
  Integer WaitFor();

  bool Terminated() const { return terminated_.load(); }
  bool Suspended() const { return !started_; }
  bool Finished() const { return finished_.load(); }
  bool FreeOnTerminate() const { return freeOnTerminate_.load(); }
  void SetFreeOnTerminate(bool Value) { freeOnTerminate_.store(Value); }
  Integer ReturnValue() const { return returnValue_.load(); }
  void SetReturnValue(Integer Value) { returnValue_.store(Value); }
  // The kernel's id of the thread (0 before it runs).
  Integer ThreadID() const { return threadId_.load(); }
  std::exception_ptr FatalException() const { return fatalException_; }

  template <typename T, typename... Args>
  static T* StartNew(Args&&... args) {
    T* thread = new T(std::forward<Args>(args)...);
    thread->Start();
    return thread;
  }

 protected:
  virtual void Execute() = 0;

 private:
  void run();

  std::thread thread_;
  std::mutex startLock_;
  std::mutex joinLock_;
  bool started_ = false;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> freeOnTerminate_{false};
  std::atomic<Integer> returnValue_{0};
  std::atomic<Integer> threadId_{0};
  std::exception_ptr fatalException_;
};
