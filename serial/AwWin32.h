// The platform dispatcher: the dispatcher core's abstract operations over the
// serial device layer with overlapped input and output, its three worker
// threads (event, dispatch, output), the length trigger and the delivery of
// trigger messages to the registered handler windows.
//
// Every blocking wait of a worker can be cancelled, so closing never hangs:
// the close wakes the workers and joins them while it keeps processing
// messages (a dispatch thread may be waiting on a send to this thread), and
// the device is closed only after every worker has left it (the system reuses
// descriptor numbers at once).
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "serial/AwUser.h"
#include "serial/OoMisc.h"
#include "platform/rtl/Threads.h"
#include "serial/TraceLog.h"
#include "platform/win/WinUser.h"
#include "platform/rtl/OwnedObject.h"

// Trigger messages: wParam and lParam as the table of the delivery says. The
// lParam of a trigger message carries the dispatcher handle in bits 16-31 and
// the dispatcher's generation from bit 32 on.
inline constexpr win::UINT APW_TRIGGERAVAIL = 0x7E01;
inline constexpr win::UINT APW_TRIGGERDATA = 0x7E02;
inline constexpr win::UINT APW_TRIGGERTIMER = 0x7E03;
inline constexpr win::UINT APW_TRIGGERSTATUS = 0x7E04;
inline constexpr win::UINT APW_PORTOPEN = 0x7E08;
inline constexpr win::UINT APW_PORTCLOSE = 0x7E09;
inline constexpr win::UINT APW_CLOSEPENDING = 0x7E0A;
// Posted to the handler windows when a worker thread failed; the dispatcher
// keeps the text (TakeWorkerError) so that the user-interface thread shows it.
inline constexpr win::UINT APW_WORKERFAILED = 0x7E0F;

inline constexpr win::UINT TriggerSendTimeout = 3000;

// Trigger records. Nothing in this program arms timer, data or status
// triggers; the records exist so that a saved set can be given back.
struct TTimerTrigger {
  Integer Handle = 0;
  EventTimer Timer;
  Int64 Ticks = 0;
  bool Active = false;
};
struct TDataTrigger {
  Integer Handle = 0;
  std::string Match;
  bool IgnoreCase = false;
  bool Matched = false;
};
struct TStatusTrigger {
  Integer Handle = 0;
  Integer Kind = 0;
  Word Value = 0;
  bool Armed = false;
  bool Hit = false;
};
struct TTriggerSave {
  Integer LengthTrigger = 0;
  std::vector<TTimerTrigger> TimerTriggers;
  std::vector<TDataTrigger> DataTriggers;
  std::vector<TStatusTrigger> StatusTriggers;
};

class TWorkerThread;
class TComThread;
class TDispThread;
class TOutThread;

class TApdWin32Dispatcher : public TApdBaseDispatcher {
  VXN_DECLARE_CLASS(TApdWin32Dispatcher)

 public:
  explicit TApdWin32Dispatcher(TComponent* Owner);
  // Finishes a close that a delivery in progress left pending.
  void BeforeDestruction() override;
  ~TApdWin32Dispatcher() override;

  // Platform operations.
  Integer SignalLine(Integer Code) override;
  Integer PurgeQueue(Integer Which) override;
  Integer QueryDeviceStatus(win::COMSTAT& Stat) override;
  Integer AfterReadError() override { return 0; }
  Integer ReadSettingsRecord(win::DCB& Record) override;
  Integer ReadDevice(Byte* Buffer, Integer Count) override;
  Integer WriteSettingsRecord(const win::DCB& Record) override;
  Integer QueueOutput(const Byte* Block, Integer Length) override;
  bool WaitDeviceEvent(win::DWORD& EventWord, win::OVERLAPPED* Overlapped) override;
  bool SizeDeviceQueues(Integer ReceiveSize, Integer TransmitSize) override;
  void ReleasePortPrim() override;
  void StartThreads() override;
  void StopThreads() override;
  Integer OpenHandle(const std::string& Name, Integer ReceiveSize, Integer TransmitSize) override;
  Integer CloseDevice() override;
  Integer YieldSlice() override;
  Byte ReadModemLines() override;

  // Handlers and triggers ------------------------------------------------------------
  void AddWindowHandler(win::HWND Window);
  // During a delivery the entry is only marked deleted and freed when the
  // delivery ends.
  void RemoveWindowHandler(win::HWND Window);
  void SetLengthTrigger(Integer Count);
  Integer LengthTriggerCount() const { return LengthTrigger; }
  void SaveTriggers(TTriggerSave& Save);
  void RestoreTriggers(const TTriggerSave& Save);
  // The kind of the status trigger with this handle (1 modem status, 2 line
  // error, 3 output buffer free, 4 output buffer used, 5 output sent), 0 for
  // none.
  Integer StatusTriggerKind(Integer TriggerHandle);
  // Sends the message to every handler window and waits (3000 ms at most for
  // each); false when a close became pending or, for data available, when
  // the handlers left announced bytes unread.
  bool DeliverTrigger(win::UINT Msg, win::WPARAM WParam, Word LParamLow);
  // The length trigger: announces every unread byte once new bytes arrived.
  bool CheckDataTriggers();

  // A number that no other dispatcher of this run has had: trigger messages
  // carry it, so that a late message of a closed port is recognised.
  UInt64 Generation() const { return Generation_; }
  // The text of a worker's failure (empty when none), cleared by taking it.
  std::string TakeWorkerError();
  // Whether the device refused a write since the last call.
  bool TakeWriteFailure() { return WriteFailed_.exchange(false); }
  Integer RunningThreadCount() const { return RunningThreads; }
  // Set once the device went away (the other side hung up, the adapter was
  // pulled); the system call's reason, when one gave it.
  bool DeviceLost() const { return DeviceLost_; }
  std::string LossReason();
  bool InDeliveryNow();

  // Trace and dispatch log, used under the dispatcher lock.
  TTraceRecorder& Trace() { return Trace_; }
  TDispatchLog& Log() { return Log_; }
  void TraceBytes(char Kind, const Byte* Data, Integer Length);
  // Stamped with the milliseconds since the port opened.
  void LogEntry(Byte Type, Byte SubType, Cardinal Value, const Byte* Data = nullptr, Integer Length = 0);

 protected:
  // The device handle an opened dispatcher works on.
  win::HANDLE Device() const { return DeviceHandle; }
  void SetDevice(win::HANDLE Handle) { DeviceHandle = Handle; }
  // Creates the read event and its companion; false when one cannot be made.
  bool CreateReadEvents();

 private:
  friend class TWorkerThread;
  friend class TComThread;
  friend class TDispThread;
  friend class TOutThread;

  // Output thread's view of the ring: the next contiguous piece (rearranging
  // a wrapped ring so that it starts at 0), copied out under the output lock.
  bool TakeOutputPiece(std::vector<Byte>& Piece, UInt64& PurgeGeneration);
  void AdvanceOutputTail(Integer Written, UInt64 PurgeGeneration);
  void WorkerFailed(const std::string& Text);
  // FillInputRing, with a log entry of the bytes it read.
  void FillAndLog();
  void ThreadEnded();
  // The event thread's last act when its wait fails.
  void DeviceGone();
  // Wakes every worker out of its waits for good.
  void SignalStop();

  std::unique_ptr<TEvent> ReadEvent;
  std::unique_ptr<TEvent> ReadCompanion;
  win::OVERLAPPED ReadOverlapped;
  // Set once to end every worker's wait; never reset while they live.
  std::unique_ptr<TEvent> CancelEvent;

  OwnedObject<TComThread> ComThread;
  OwnedObject<TDispThread> DispThread;
  OwnedObject<TOutThread> OutThread;
  std::atomic<win::DWORD> LastEventWord{0};
  std::atomic<bool> DeviceLost_{false};
  std::atomic<bool> WriteFailed_{false};
  UInt64 OutputPurgeGeneration = 0;
  bool CloseDeferred = false;

  struct WindowHandler {
    win::HWND Window;
    bool Deleted;
  };
  std::vector<WindowHandler> WindowHandlers;

  TTraceRecorder Trace_;
  TDispatchLog Log_;
  std::mutex WorkerErrorLock;
  std::string WorkerError;
  std::string LossReason_;
  // Nothing in this program arms timer, data or status triggers; a saved set
  // given back is kept so that its kinds are known and it is saved again.
  std::vector<TTimerTrigger> TimerTriggers;
  std::vector<TDataTrigger> DataTriggers;
  std::vector<TStatusTrigger> StatusTriggers;
  UInt64 Generation_;
};

// The dispatcher on a device handle that telephony opened: it adopts the
// handle instead of opening a device.
class TApdTAPI32Dispatcher : public TApdWin32Dispatcher {
  VXN_DECLARE_CLASS(TApdTAPI32Dispatcher)

 public:
  TApdTAPI32Dispatcher(TComponent* Owner, win::HANDLE SuppliedHandle);
  // -2007 (with that as the last error) for no handle; -1 when an event
  // cannot be made.
  Integer OpenHandle(const std::string& Name, Integer ReceiveSize, Integer TransmitSize) override;

 private:
  win::HANDLE Supplied;
};
