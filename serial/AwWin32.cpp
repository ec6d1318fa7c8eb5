#include "serial/AwWin32.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "serial/AdExcept.h"
#include "platform/win/Windows.h"

VXN_IMPLEMENT_CLASS(TApdWin32Dispatcher, TApdBaseDispatcher)
VXN_IMPLEMENT_CLASS(TApdTAPI32Dispatcher, TApdWin32Dispatcher)

namespace {

struct LockGuard {
  explicit LockGuard(TCriticalSection& l) : lock(l) { lock.Enter(); }
  ~LockGuard() { lock.Leave(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;
  TCriticalSection& lock;
};

std::atomic<UInt64> NextGeneration{1};

constexpr win::DWORD kEventMask = win::EV_RXCHAR | win::EV_CTS | win::EV_DSR | win::EV_RLSD | win::EV_BREAK |
                                  win::EV_ERR | win::EV_RING;  // 0x1F9
constexpr win::DWORD kModemEvents = win::EV_CTS | win::EV_DSR | win::EV_RLSD | win::EV_RING | win::EV_RINGTE;
constexpr win::DWORD kErrorEvents = win::EV_BREAK | win::EV_ERR;

// Waits for an event while it stays possible to give up: the cancel event
// ends the wait too. Gives the index of the event that fired.
Integer WaitOrCancel(std::initializer_list<TEvent*> Events, TEvent* Cancel, Cardinal Timeout) {
  std::vector<TEvent*> all(Events);
  all.push_back(Cancel);
  return WaitForAnyEvent(all, Timeout);
}

}  // namespace

// Worker threads -----------------------------------------------------------------------

// Each worker reports its end to the dispatcher as its last act; an exception
// inside its loop ends it and is handed to the user-interface thread.
class TWorkerThread : public TThread {
 public:
  explicit TWorkerThread(TApdWin32Dispatcher* Dispatcher) : D(Dispatcher) {}

 protected:
  void Execute() override {
    try {
      Run();
    } catch (const Exception& e) {
      D->WorkerFailed(e.Message);
    } catch (const std::exception& e) {
      D->WorkerFailed(e.what());
    }
    D->ThreadEnded();
  }
  virtual void Run() = 0;
  TApdWin32Dispatcher* D;
};

class TComThread : public TWorkerThread {
 public:
  using TWorkerThread::TWorkerThread;

 protected:
  void Run() override {
    TEvent& own = own_;
    win::OVERLAPPED& overlapped = overlapped_;
    overlapped.hEvent = &own;
    win::HANDLE device = D->Device();
    win::SetCommMask(device, kEventMask);
    win::COMMTIMEOUTS timeouts;
    timeouts.ReadIntervalTimeout = win::MAXDWORD;
    win::SetCommTimeouts(device, &timeouts);
    D->GeneralEvent->SetEvent();

    win::DWORD& eventWord = eventWord_;
    while (!D->KillThreads) {
      eventWord = 0;
      bool failed = false;
      if (!D->WaitDeviceEvent(eventWord, &overlapped)) {
        if (win::GetLastError() == win::ERROR_IO_PENDING) {
          // Clearing the mask ends the wait; the cancel event is the backstop.
          if (WaitOrCancel({&own}, D->CancelEvent.get(), INFINITE) != 0) break;
          win::DWORD moved = 0;
          failed = !win::GetOverlappedResult(device, &overlapped, &moved, win::FALSE);
        } else {
          failed = true;
        }
      }
      if (D->KillThreads) break;
      if (failed) {
        // Only this thread ends: the port stays open until its owner closes it.
        D->DeviceGone();
        break;
      }
      own.ResetEvent();
      if (eventWord & (win::EV_RING | win::EV_RINGTE)) D->SetRingSeen();
      D->LastEventWord = eventWord;
      D->DeviceEventReady->SetEvent();
      if (WaitOrCancel({D->PassDone.get()}, D->CancelEvent.get(), INFINITE) != 0) break;
    }
    D->GeneralEvent->SetEvent();
  }

 private:
  // Kept with the thread object, which outlives the device's handle.
  TEvent own_{true, false};
  win::OVERLAPPED overlapped_;
  win::DWORD eventWord_ = 0;
};

class TDispThread : public TWorkerThread {
 public:
  using TWorkerThread::TWorkerThread;

 protected:
  void Run() override {
    D->GeneralEvent->SetEvent();
    while (!D->KillThreads && !D->ClosePending()) {
      TWaitResult waited = D->DeviceEventReady->WaitFor(50);
      if (D->KillThreads) break;
      if (waited == wrSignaled) {
        win::DWORD eventWord = D->LastEventWord;
        if (eventWord & kModemEvents) D->UpdateModemDeltas();
        if (eventWord & kErrorEvents) D->CollectDeviceStatus();
        D->FillAndLog();
        if (!D->InDeliveryNow())
          while (!D->ClosePending() && D->CheckDataTriggers()) {
          }
        D->PassDone->SetEvent();
      }
    }
    // A close asked from inside a handler leaves the rest to the destruction
    // on the user-interface thread; the other workers are told to go now.
    if (D->ClosePending()) D->SignalStop();
    D->GeneralEvent->SetEvent();
  }
};

class TOutThread : public TWorkerThread {
 public:
  using TWorkerThread::TWorkerThread;

 protected:
  void Run() override {
    overlapped_.hEvent = D->WriteDone.get();
    D->GeneralEvent->SetEvent();
    while (true) {
      Integer which = WaitOrCancel({D->OutputQueued.get(), D->PurgeOutputEvent.get()}, D->CancelEvent.get(),
                                   INFINITE);
      if (D->KillThreads || D->ClosePending() || which == 2) break;
      if (which == 1) {
        D->GeneralEvent->SetEvent();
        continue;
      }
      if (!WriteRing()) break;
    }
  }

 private:
  // False when the thread is to end.
  bool WriteRing() {
    UInt64 purgeGeneration = 0;
    while (D->TakeOutputPiece(piece_, purgeGeneration)) {
      win::DWORD written = 0;
      win::HANDLE device = D->Device();
      if (win::WriteFile(device, piece_.data(), static_cast<win::DWORD>(piece_.size()), &written, &overlapped_)) {
        D->AdvanceOutputTail(static_cast<Integer>(written), purgeGeneration);
        continue;
      }
      if (win::GetLastError() != win::ERROR_IO_PENDING) {
        Dropped(purgeGeneration);
        continue;
      }
      Integer which = WaitOrCancel({D->WriteDone.get(), D->PurgeOutputEvent.get()}, D->CancelEvent.get(), INFINITE);
      if (which == 0) {
        if (win::GetOverlappedResult(device, &overlapped_, &written, win::FALSE)) {
          D->AdvanceOutputTail(static_cast<Integer>(written), purgeGeneration);
        } else {
          Dropped(purgeGeneration);
        }
        D->WriteDone->ResetEvent();
        continue;
      }
      if (which == 1) {
        D->GeneralEvent->SetEvent();
        return true;
      }
      return false;
    }
    return true;
  }

  // The device refused the piece: it is dropped, as the original did, but the
  // failure is logged and reported where it silently vanished.
  void Dropped(UInt64 PurgeGeneration) {
    D->WriteFailed_ = true;
    auto size = static_cast<Integer>(piece_.size());
    D->LogEntry(3, 2, static_cast<Cardinal>(size), piece_.data(), size);
    D->AdvanceOutputTail(size, PurgeGeneration);
  }

  // Kept with the thread: a write the device still holds refers to both.
  win::OVERLAPPED overlapped_;
  std::vector<Byte> piece_;
};

// Dispatcher ---------------------------------------------------------------------------

TApdWin32Dispatcher::TApdWin32Dispatcher(TComponent* Owner)
    : TApdBaseDispatcher(Owner), Generation_(NextGeneration.fetch_add(1)) {}

void TApdWin32Dispatcher::BeforeDestruction() {
  TApdBaseDispatcher::BeforeDestruction();
  // Freed while a delivery was under way, the release only marked the close
  // pending; the workers and the device are finished here (the base class
  // leaves them once the workers have ended).
  ReleasePortPrim();
}

TApdWin32Dispatcher::~TApdWin32Dispatcher() {
  // A probe's handle, opened without the open sequence.
  if (DeviceHandle != win::INVALID_HANDLE_VALUE) win::CloseHandle(DeviceHandle);
}

bool TApdWin32Dispatcher::CreateReadEvents() {
  try {
    ReadEvent = std::make_unique<TEvent>(true, false);
    ReadCompanion = std::make_unique<TEvent>(true, false);
    CancelEvent = std::make_unique<TEvent>(true, false);
  } catch (const Exception&) {
    ReadEvent.reset();
    ReadCompanion.reset();
    CancelEvent.reset();
    return false;
  }
  ReadOverlapped = win::OVERLAPPED();
  ReadOverlapped.hEvent = ReadEvent.get();
  return true;
}

Integer TApdWin32Dispatcher::OpenHandle(const std::string& Name, Integer ReceiveSize, Integer TransmitSize) {
  (void)ReceiveSize;
  (void)TransmitSize;
  win::HANDLE handle = win::CreateFile(Name.c_str(), win::GENERIC_READ | win::GENERIC_WRITE, 0, nullptr,
                                       win::OPEN_EXISTING, win::FILE_ATTRIBUTE_NORMAL | win::FILE_FLAG_OVERLAPPED,
                                       nullptr);
  if (handle == win::INVALID_HANDLE_VALUE) return -1;
  DeviceHandle = handle;
  CloseDeferred = false;
  if (!CreateReadEvents()) {
    win::CloseHandle(handle);
    DeviceHandle = win::INVALID_HANDLE_VALUE;
    return ecOutOfMemory;
  }
  return 0;
}

Integer TApdWin32Dispatcher::CloseDevice() {
  if (ThreadsStarted) {
    // The workers leave the device first; the handle is closed once they
    // have ended (ReleasePortPrim), never under their feet.
    SignalStop();
    if (GeneralEvent) GeneralEvent->ResetEvent();
    CloseDeferred = true;
    return 0;
  }
  if (DeviceHandle == win::INVALID_HANDLE_VALUE) return 0;
  bool closed = win::CloseHandle(DeviceHandle);
  DeviceHandle = win::INVALID_HANDLE_VALUE;
  ReadEvent.reset();
  ReadCompanion.reset();
  return closed ? 0 : -1;
}

void TApdWin32Dispatcher::FillAndLog() {
  Integer before;
  bool wasFull;
  {
    LockGuard guard(InputLock());
    before = InHead;
    wasFull = InBuffFull;
  }
  FillInputRing();
  std::vector<Byte> got;
  {
    LockGuard guard(InputLock());
    if (InBuff.empty()) return;
    Integer count = (InHead - before + InputRingSize) % InputRingSize;
    if (count == 0 && InBuffFull && !wasFull) count = InputRingSize;
    for (Integer i = 0; i < count; ++i) got.push_back(InBuff[(before + i) % InputRingSize]);
  }
  if (!got.empty()) LogEntry(1, 1, static_cast<Cardinal>(got.size()), got.data(), static_cast<Integer>(got.size()));
}

void TApdWin32Dispatcher::DeviceGone() {
  std::string reason = win::LastSerialFailureReason(win::GetLastError());
  // What the device received before it went is still in its queue: one last
  // pass takes it to the handlers before anyone learns of the loss.
  LastEventWord = win::EV_RXCHAR;
  DeviceEventReady->SetEvent();
  WaitOrCancel({PassDone.get()}, CancelEvent.get(), INFINITE);
  {
    std::lock_guard<std::mutex> guard(WorkerErrorLock);
    LossReason_ = reason;
  }
  DeviceLost_ = true;
}

std::string TApdWin32Dispatcher::LossReason() {
  std::lock_guard<std::mutex> guard(WorkerErrorLock);
  return LossReason_;
}

void TApdWin32Dispatcher::SignalStop() {
  KillThreads = true;
  if (CancelEvent) CancelEvent->SetEvent();
  if (DeviceHandle != win::INVALID_HANDLE_VALUE) win::SetCommMask(DeviceHandle, 0);
  if (PassDone) PassDone->SetEvent();
}

Integer TApdWin32Dispatcher::SignalLine(Integer Code) {
  return win::EscapeCommFunction(DeviceHandle, static_cast<win::DWORD>(Code)) ? 0 : -1;
}

Integer TApdWin32Dispatcher::PurgeQueue(Integer Which) {
  if (Which != 0) {
    if (!win::PurgeComm(DeviceHandle, win::PURGE_RXABORT | win::PURGE_RXCLEAR))
      return -static_cast<Integer>(win::GetLastError());
    return 0;
  }
  if (OutThread != nullptr && !OutThread->Finished() && PurgeOutputEvent) {
    PurgeOutputEvent->SetEvent();
    GeneralEvent->WaitFor(5000);
    LockGuard guard(OutputLock());
    OutHead = OutTail = 0;
    OutBuffFull = false;
    ++OutputPurgeGeneration;
  }
  if (!win::PurgeComm(DeviceHandle, win::PURGE_TXABORT | win::PURGE_TXCLEAR))
    return -static_cast<Integer>(win::GetLastError());
  return 0;
}

Integer TApdWin32Dispatcher::QueryDeviceStatus(win::COMSTAT& Stat) {
  win::DWORD errors = 0;
  if (!win::ClearCommError(DeviceHandle, &errors, &Stat)) errors = 0;
  LockGuard guard(OutputLock());
  Stat.cbOutQue = static_cast<win::DWORD>(OutputRingCount());
  return static_cast<Integer>(errors);
}

Integer TApdWin32Dispatcher::ReadSettingsRecord(win::DCB& Record) {
  return win::GetCommState(DeviceHandle, &Record) ? 0 : -1;
}

Integer TApdWin32Dispatcher::ReadDevice(Byte* Buffer, Integer Count) {
  win::DWORD got = 0;
  if (win::ReadFile(DeviceHandle, Buffer, static_cast<win::DWORD>(Count), &got, &ReadOverlapped))
    return static_cast<Integer>(got);
  if (win::GetLastError() != win::ERROR_IO_PENDING) return 0;
  if (!win::GetOverlappedResult(DeviceHandle, &ReadOverlapped, &got, win::TRUE)) got = 0;
  if (ReadEvent) ReadEvent->ResetEvent();
  return static_cast<Integer>(got);
}

Integer TApdWin32Dispatcher::WriteSettingsRecord(const win::DCB& Record) {
  return win::SetCommState(DeviceHandle, &Record) ? 0 : -static_cast<Integer>(win::GetLastError());
}

Integer TApdWin32Dispatcher::QueueOutput(const Byte* Block, Integer Length) {
  {
    LockGuard guard(OutputLock());
    CopyToOutputRing(Block, Length);
  }
  if (OutputQueued) OutputQueued->SetEvent();
  return Length;
}

bool TApdWin32Dispatcher::WaitDeviceEvent(win::DWORD& EventWord, win::OVERLAPPED* Overlapped) {
  return win::WaitCommEvent(DeviceHandle, &EventWord, Overlapped);
}

bool TApdWin32Dispatcher::SizeDeviceQueues(Integer ReceiveSize, Integer TransmitSize) {
  return win::SetupComm(DeviceHandle, static_cast<win::DWORD>(ReceiveSize), static_cast<win::DWORD>(TransmitSize));
}

Integer TApdWin32Dispatcher::YieldSlice() {
  std::this_thread::yield();
  return 0;
}

Byte TApdWin32Dispatcher::ReadModemLines() {
  win::DWORD lines = 0;
  if (!win::GetCommModemStatus(DeviceHandle, &lines)) return 0;
  return static_cast<Byte>(lines & 0xF0);
}

void TApdWin32Dispatcher::ReleasePortPrim() {
  // Workers are joined without the dispatcher lock: a dispatch thread may
  // need it to finish the pass it is in.
  StopThreads();
  if (DeviceHandle != win::INVALID_HANDLE_VALUE && CloseDeferred) {
    win::CloseHandle(DeviceHandle);
    DeviceHandle = win::INVALID_HANDLE_VALUE;
    CloseDeferred = false;
  }
  TApdBaseDispatcher::ReleasePortPrim();
}

void TApdWin32Dispatcher::StartThreads() {
  LockGuard guard(DispatcherLock());
  if (ThreadsStarted) throw EAPDException("Dispatcher already started");
  ThreadsStarted = true;
  KillThreads = false;
  if (!CancelEvent) CreateReadEvents();
  CancelEvent->ResetEvent();
  auto start = [this](TWorkerThread* thread) {
    ++RunningThreads;
    thread->Start();
    GeneralEvent->WaitFor(3000);
  };
  ComThread.reset(new TComThread(this));
  start(ComThread.get());
  DispThread.reset(new TDispThread(this));
  start(DispThread.get());
  OutThread.reset(new TOutThread(this));
  start(OutThread.get());
}

void TApdWin32Dispatcher::StopThreads() {
  if (!ThreadsStarted) return;
  SignalStop();
  if (PurgeOutputEvent) PurgeOutputEvent->SetEvent();
  if (DeviceEventReady) DeviceEventReady->SetEvent();
  // Messages are handled while waiting: a dispatch thread may be sending a
  // trigger message to this thread.
  TThread* threads[] = {OutThread.get(), ComThread.get(), DispThread.get()};
  for (TThread* thread : threads) {
    if (thread == nullptr) continue;
    while (!thread->Finished()) {
      PumpOneMessage();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    thread->WaitFor();
  }
  // The device goes before the records its pending operations complete into.
  if (DeviceHandle != win::INVALID_HANDLE_VALUE && CloseDeferred) {
    win::CloseHandle(DeviceHandle);
    DeviceHandle = win::INVALID_HANDLE_VALUE;
    CloseDeferred = false;
  }
  OutThread = nullptr;
  ComThread = nullptr;
  DispThread = nullptr;
  ThreadsStarted = false;
  DeviceEventReady.reset();
  PassDone.reset();
  GeneralEvent.reset();
  OutputQueued.reset();
  WriteDone.reset();
  PurgeOutputEvent.reset();
  CancelEvent.reset();
  ReadEvent.reset();
  ReadCompanion.reset();
}

void TApdWin32Dispatcher::ThreadEnded() {
  --RunningThreads;
}

void TApdWin32Dispatcher::WorkerFailed(const std::string& Text) {
  {
    std::lock_guard<std::mutex> guard(WorkerErrorLock);
    WorkerError = Text;
  }
  std::vector<win::HWND> windows;
  {
    LockGuard guard(DispatcherLock());
    for (const WindowHandler& h : WindowHandlers)
      if (!h.Deleted) windows.push_back(h.Window);
  }
  for (win::HWND w : windows)
    win::PostMessage(w, APW_WORKERFAILED, 0,
                     static_cast<win::LPARAM>((Generation_ << 32) | (static_cast<UInt64>(Handle()) << 16)));
}

std::string TApdWin32Dispatcher::TakeWorkerError() {
  std::lock_guard<std::mutex> guard(WorkerErrorLock);
  std::string text;
  text.swap(WorkerError);
  return text;
}

void TApdWin32Dispatcher::TraceBytes(char Kind, const Byte* Data, Integer Length) {
  LockGuard guard(DispatcherLock());
  for (Integer i = 0; i < Length; ++i) Trace_.Record(Kind, Data[i]);
}

void TApdWin32Dispatcher::LogEntry(Byte Type, Byte SubType, Cardinal Value, const Byte* Data, Integer Length) {
  LockGuard guard(DispatcherLock());
  if (Log_.Recording())
    Log_.Add(Type, SubType, MillisecondClock() - LogStart, Value, Data, static_cast<Cardinal>(std::max(Length, 0)));
}

bool TApdWin32Dispatcher::InDeliveryNow() {
  LockGuard guard(DispatcherLock());
  return InDelivery_;
}

// Output ring for the output thread ---------------------------------------------------------

bool TApdWin32Dispatcher::TakeOutputPiece(std::vector<Byte>& Piece, UInt64& PurgeGeneration) {
  LockGuard guard(OutputLock());
  Integer size = TransmitSize();
  Integer count = OutputRingCount();
  if (OutBuff.empty() || count == 0) return false;
  PurgeGeneration = OutputPurgeGeneration;
  if (OutTail < OutHead) {
    Piece.assign(OutBuff.begin() + OutTail, OutBuff.begin() + OutHead);
  } else if (OutHead == 0) {
    Piece.assign(OutBuff.begin() + OutTail, OutBuff.end());
  } else {
    // Wrapped: the data is moved to the start so that it goes out as one write.
    std::vector<Byte> data(OutBuff.begin() + OutTail, OutBuff.end());
    data.insert(data.end(), OutBuff.begin(), OutBuff.begin() + OutHead);
    std::copy(data.begin(), data.end(), OutBuff.begin());
    OutTail = 0;
    OutHead = count % size;
    Piece.assign(data.begin(), data.end());
  }
  return true;
}

void TApdWin32Dispatcher::AdvanceOutputTail(Integer Written, UInt64 PurgeGeneration) {
  LockGuard guard(OutputLock());
  // A purge emptied the ring while the piece was out: nothing to advance.
  if (PurgeGeneration != OutputPurgeGeneration || OutBuff.empty() || Written <= 0) return;
  Integer size = TransmitSize();
  OutTail += Written;
  if (OutTail >= size) OutTail -= size;
  if (OutTail == OutHead) OutTail = OutHead = 0;
  OutBuffFull = false;
}

// Handlers and delivery ---------------------------------------------------------------------

void TApdWin32Dispatcher::AddWindowHandler(win::HWND Window) {
  LockGuard guard(DispatcherLock());
  WindowHandlers.push_back({Window, false});
  LogEntry(7, 17, static_cast<Cardinal>(reinterpret_cast<uintptr_t>(Window)));
  ++WindowHandlerCount;
  HandlerServiceNeeded_ = true;
}

void TApdWin32Dispatcher::RemoveWindowHandler(win::HWND Window) {
  LockGuard guard(DispatcherLock());
  for (auto it = WindowHandlers.begin(); it != WindowHandlers.end(); ++it) {
    if (it->Window != Window || it->Deleted) continue;
    LogEntry(8, 17, static_cast<Cardinal>(reinterpret_cast<uintptr_t>(Window)));
    if (InDelivery_) {
      it->Deleted = true;
      HandlersDeleted = true;
    } else {
      WindowHandlers.erase(it);
    }
    --WindowHandlerCount;
    break;
  }
  RecomputeDeliveryNeed(0);
}

void TApdWin32Dispatcher::SetLengthTrigger(Integer Count) {
  LockGuard guard(DispatcherLock());
  LengthTrigger = std::max<Integer>(Count, 0);
  LogEntry(9, 16, static_cast<Cardinal>(LengthTrigger));
}

void TApdWin32Dispatcher::SaveTriggers(TTriggerSave& Save) {
  LockGuard guard(DispatcherLock());
  Save.LengthTrigger = LengthTrigger;
  Save.TimerTriggers = TimerTriggers;
  Save.DataTriggers = DataTriggers;
  Save.StatusTriggers = StatusTriggers;
}

void TApdWin32Dispatcher::RestoreTriggers(const TTriggerSave& Save) {
  LockGuard guard(DispatcherLock());
  LengthTrigger = Save.LengthTrigger;
  TimerTriggers = Save.TimerTriggers;
  DataTriggers = Save.DataTriggers;
  StatusTriggers = Save.StatusTriggers;
}

Integer TApdWin32Dispatcher::StatusTriggerKind(Integer TriggerHandle) {
  LockGuard guard(DispatcherLock());
  for (const TStatusTrigger& t : StatusTriggers)
    if (t.Handle == TriggerHandle) return t.Kind;
  return 0;
}

bool TApdWin32Dispatcher::CheckDataTriggers() {
  Integer head;
  {
    LockGuard guard(InputLock());
    head = InHead;
    DataScanPos = head;
  }
  Integer trigger;
  {
    LockGuard guard(DispatcherLock());
    trigger = LengthTrigger;
  }
  if (trigger <= 0 || head == NotifyPos) return false;
  Integer count = InputCount();
  if (count < trigger) return false;
  NotifyPos = head;
  LogEntry(2, 5, static_cast<Cardinal>(count));
  return DeliverTrigger(APW_TRIGGERAVAIL, static_cast<win::WPARAM>(count), 0);
}

bool TApdWin32Dispatcher::DeliverTrigger(win::UINT Msg, win::WPARAM WParam, Word LParamLow) {
  std::vector<win::HWND> windows;
  {
    LockGuard guard(DispatcherLock());
    if (!HandlerServiceNeeded_) return true;
    InDelivery_ = true;
    if (WindowHandlers.size() > 1 || PortHandlerInstalled)
      for (const WindowHandler& h : WindowHandlers) windows.push_back(h.Window);
  }
  bool dataMessage = Msg == APW_TRIGGERAVAIL || Msg == APW_TRIGGERDATA;
  if (dataMessage) BeginDataMessage();
  auto lParam = static_cast<win::LPARAM>((Generation_ << 32) | (static_cast<UInt64>(Handle() & 0xFFFF) << 16) |
                                         LParamLow);
  bool result = true;
  bool first = true;
  for (win::HWND window : windows) {
    {
      LockGuard guard(DispatcherLock());
      auto it = std::find_if(WindowHandlers.begin(), WindowHandlers.end(),
                             [&](const WindowHandler& h) { return h.Window == window; });
      if (it == WindowHandlers.end() || it->Deleted) continue;
    }
    // Reads of the previous handler count towards the largest read-ahead; a
    // handler still running after its time-out keeps its reads in the count.
    if (dataMessage && !first) NextDataHandler();
    first = false;
    win::DWORD_PTR answer = 0;
    win::SendMessageTimeout(window, Msg, WParam, lParam, win::SMTO_BLOCK, TriggerSendTimeout, &answer);
    if (ClosePending() || KillThreads) {
      result = false;
      break;
    }
  }
  if (dataMessage) {
    bool allRead = EndDataMessage(Msg == APW_TRIGGERAVAIL ? static_cast<Integer>(WParam) : -1);
    if (!allRead) result = false;
  }
  LockGuard guard(DispatcherLock());
  InDelivery_ = false;
  if (HandlersDeleted) {
    std::erase_if(WindowHandlers, [](const WindowHandler& h) { return h.Deleted; });
    HandlersDeleted = false;
    RecomputeDeliveryNeed(0);
  }
  return result;
}

// Telephony --------------------------------------------------------------------------------------

TApdTAPI32Dispatcher::TApdTAPI32Dispatcher(TComponent* Owner, win::HANDLE SuppliedHandle)
    : TApdWin32Dispatcher(Owner), Supplied(SuppliedHandle) {}

Integer TApdTAPI32Dispatcher::OpenHandle(const std::string& Name, Integer ReceiveSize, Integer TransmitSize) {
  (void)Name;
  (void)ReceiveSize;
  (void)TransmitSize;
  if (Supplied == nullptr) {
    win::SetLastError(2007);
    return ecCommNotOpen;
  }
  if (!CreateReadEvents()) {
    CloseDevice();
    return -1;
  }
  SetDevice(Supplied);
  return 0;
}
