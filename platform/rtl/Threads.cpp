#include "platform/rtl/Threads.h"

#include <sys/syscall.h>
#include <unistd.h>

VXN_IMPLEMENT_CLASS(EThread, Exception)
VXN_IMPLEMENT_CLASS(TThread, TObject)

TThread::~TThread() {
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    // Deleted from its own Execute: nobody is left to join it.
    thread_.detach();
    return;
  }
  Terminate();
  thread_.join();
}

void TThread::BeforeDestruction() {
  TObject::BeforeDestruction();
  bool started;
  {
    std::lock_guard<std::mutex> guard(startLock_);
    started = started_;
  }
  if (!started || thread_.get_id() == std::this_thread::get_id()) return;
  Terminate();
  WaitFor();
}

void TThread::Start() {
  std::lock_guard<std::mutex> guard(startLock_);
  if (started_) throw EThread("Cannot call Start on a running or terminated thread");
  started_ = true;
  thread_ = std::thread([this] { run(); });
}

void TThread::run() {
  threadId_.store(static_cast<Integer>(::syscall(SYS_gettid)));
  try {
    Execute();
  } catch (...) {
    fatalException_ = std::current_exception();
  }
  bool freeSelf;
  {
    // Start may still be storing the thread object; wait until it has.
    std::lock_guard<std::mutex> guard(startLock_);
    finished_.store(true);
    freeSelf = freeOnTerminate_.load();
    if (freeSelf) thread_.detach();
  }
  if (freeSelf) Free();
}

Integer TThread::WaitFor() {
  {
    std::lock_guard<std::mutex> guard(startLock_);
    if (!started_) throw EThread("Cannot wait for a thread that was never started");
  }
  if (thread_.get_id() == std::this_thread::get_id()) throw EThread("Thread cannot wait for itself");
  std::lock_guard<std::mutex> guard(joinLock_);
  if (thread_.joinable()) thread_.join();
  return returnValue_.load();
}
