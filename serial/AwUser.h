// The dispatcher core: the engine behind one open port. It registers itself
// in the process-wide list of open ports (its handle is its index there),
// owns the input ring that the worker threads fill and the output ring that
// they drain, and keeps the line settings, the DTR and RTS states, flow
// control and the accumulated line-error and modem-status flags.
//
// The platform operations are abstract; the platform dispatcher implements
// them over the device layer and runs the worker threads.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Components.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/System.h"
#include "platform/win/WinSerial.h"

// Option bits of DispatcherOpenDevice.
inline constexpr Word ipAssertDTR = 0x0001;
inline constexpr Word ipAssertRTS = 0x0002;
inline constexpr Word ipAutoDTR = 0x0010;
inline constexpr Word ipAutoRTS = 0x0020;

// Hardware flow options.
inline constexpr Word hfUseDTR = 0x01;
inline constexpr Word hfUseRTS = 0x02;
inline constexpr Word hfRequireDSR = 0x04;
inline constexpr Word hfRequireCTS = 0x08;

// Software flow modes, in the component's order (receive 1, transmit 2, both 3).
inline constexpr Word sfReceiveFlow = 0x01;
inline constexpr Word sfTransmitFlow = 0x02;

// Accumulated line-error flags (the device's own bits).
inline constexpr Byte leRxOverflow = 0x01;
inline constexpr Byte leOverrun = 0x02;
inline constexpr Byte leParity = 0x04;
inline constexpr Byte leFraming = 0x08;
inline constexpr Byte leBreak = 0x10;

// Modem status byte: lines in the high nibble, change flags in the low one.
inline constexpr Byte DeltaCTSMask = 0x01;
inline constexpr Byte DeltaDSRMask = 0x02;
inline constexpr Byte RingMask = 0x04;
inline constexpr Byte DeltaDCDMask = 0x08;
inline constexpr Byte CTSMask = 0x10;
inline constexpr Byte DSRMask = 0x20;
inline constexpr Byte RIMask = 0x40;
inline constexpr Byte DCDMask = 0x80;

// Values of ApplyLineSettings that keep the current setting.
inline constexpr Integer KeepParity = 5;
inline constexpr Integer KeepDataBits = 9;
inline constexpr Integer KeepStopBits = 3;

inline constexpr Integer InputRingSize = 8192;

// Baud rate of a settings record: the driver's codes 0xFEFF and 0xFF10-0xFF27
// become rates; any other value is one already.
Cardinal MapBaudCode(Cardinal Baud);

class TApdBaseDispatcher : public TObject {
  VXN_DECLARE_CLASS(TApdBaseDispatcher)

 public:
  // Takes a handle in the list of open ports.
  explicit TApdBaseDispatcher(TComponent* Owner);
  // Releases the port and waits for the worker threads. It needs the
  // platform operations, so a dispatcher is freed with Free, never deleted.
  void BeforeDestruction() override;
  ~TApdBaseDispatcher() override;

  // Platform operations -------------------------------------------------------
  // Escape code: DTR 5 set / 6 clear, RTS 3 set / 4 clear.
  virtual Integer SignalLine(Integer Code) = 0;
  // Which: non-zero input, 0 output.
  virtual Integer PurgeQueue(Integer Which) = 0;
  // Fills the status record (output count = bytes in the output ring) and
  // gives the device's error flags.
  virtual Integer QueryDeviceStatus(win::COMSTAT& Stat) = 0;
  virtual Integer AfterReadError() = 0;
  virtual Integer ReadSettingsRecord(win::DCB& Record) = 0;
  virtual Integer ReadDevice(Byte* Buffer, Integer Count) = 0;
  virtual Integer WriteSettingsRecord(const win::DCB& Record) = 0;
  virtual Integer QueueOutput(const Byte* Block, Integer Length) = 0;
  virtual bool WaitDeviceEvent(win::DWORD& EventWord, win::OVERLAPPED* Overlapped) = 0;
  virtual bool SizeDeviceQueues(Integer ReceiveSize, Integer TransmitSize) = 0;
  virtual void ReleasePortPrim();
  virtual void StartThreads() = 0;
  virtual void StopThreads() = 0;
  // Opens the device and keeps its handle in DeviceHandle: 0, -1 when the
  // device does not open (the system error is left in GetLastError), -8 when
  // an event cannot be created.
  virtual Integer OpenHandle(const std::string& Name, Integer ReceiveSize, Integer TransmitSize) = 0;
  virtual Integer CloseDevice() = 0;
  virtual Integer YieldSlice() = 0;
  virtual void ApplyThreadBoost();
  // Mode 0 recompute, 1 the component needs delivery, 2 it does not.
  virtual void RecomputeDeliveryNeed(Integer Mode);
  // The device's modem lines as CTSMask, DSRMask, RIMask, DCDMask.
  virtual Byte ReadModemLines() = 0;

  // Opening and closing ---------------------------------------------------------
  Integer DispatcherOpenDevice(const std::string& DeviceName, Cardinal Baud, Word Options, Integer TransmitSize,
                               Integer ReceiveSize, Integer StopBits, Integer DataBits, Integer Parity);
  void ReleasePort();

  // Line settings -----------------------------------------------------------------
  Integer ApplyLineSettings(Cardinal Baud, Integer Parity, Integer StopBits, Integer DataBits);
  void ReadLineSettings(Cardinal& Baud, Integer& Parity, Integer& DataBits, Integer& StopBits);
  // 1 when the line is under flow control (nothing done), 0, or -1002 when
  // the platform refuses.
  Integer SetDTRLine(bool On);
  Integer SetRTSLine(bool On);
  Integer SetHardwareFlow(Integer Full, Integer Resume, Word Options);
  Integer SetSoftwareFlow(Integer Full, Integer Resume, Word Mode);
  Integer SoftwareFlowOff();
  Integer SetXOnXOffChars(char XOn, char XOff);
  void SetRS485Mode(bool On);
  Integer SizeQueues(Integer ReceiveSize, Integer TransmitSize);

  // Input ring ------------------------------------------------------------------------
  Integer InputCount();
  // The N-th unread byte (1-based), or -3007.
  Integer PeekInputByte(Integer N);
  // The next unread byte, or -3007.
  Integer TakeInputByte();
  bool InputReady();
  void FillInputRing();
  void PurgeInputRing();

  // Output ring ------------------------------------------------------------------------
  Integer WriteOutputBlock(const Byte* Block, Integer Length);
  Integer OutputCount();
  Integer OutputFree();
  void PurgeOutputRing();

  // Status ---------------------------------------------------------------------------------
  // Queries the device and adds its error bits to the accumulated ones
  // (replaces them before a write); gives the status record.
  win::COMSTAT CollectDeviceStatus(bool Replace = false);
  Integer TakeLineError();
  bool TakeLineBreak();
  Byte RefreshModemStatus(Byte Mask);
  void UpdateModemDeltas();

  // Data messages: while one is delivered, bytes taken are read ahead and
  // leave the ring only when it ends, by the largest read-ahead of any
  // handler. EndDataMessage gives whether the handlers took every byte that
  // the message announced (Announced; -1 when it announced no count).
  void BeginDataMessage();
  void NextDataHandler();
  bool EndDataMessage(Integer Announced);

  Integer Handle() const { return Handle_; }
  TComponent* Owner() const { return Owner_; }
  const std::string& DeviceName() const { return DeviceName_; }
  bool DTRState() const { return DTRState_; }
  bool RTSState() const { return RTSState_; }
  bool DTRFlowControlled() const { return DTRFlowControlled_; }
  bool RTSFlowControlled() const { return RTSFlowControlled_; }
  bool RS485Mode() const { return RS485Mode_; }
  Byte ModemStatus() const { return ModemStatus_; }
  Byte LineErrors() const { return LineErrors_; }
  Cardinal LastBaud() const { return LastBaud_; }
  Integer ReceiveSize() const { return ReceiveSize_; }
  Integer TransmitSize() const { return TransmitSize_; }
  bool ClosePending() const { return ClosePending_; }
  bool InDelivery() const { return InDelivery_; }
  bool HandlerServiceNeeded() const { return HandlerServiceNeeded_; }
  // The ring-seen flag that the event thread sets.
  void SetRingSeen() { RingSeen_ = true; }

  TCriticalSection& DispatcherLock() { return DispatcherLock_; }
  TCriticalSection& OutputLock() { return OutputLock_; }
  TCriticalSection& InputLock() { return InputLock_; }

 protected:
  // Writes the record after giving it the DTR and RTS controls, then sets
  // both lines again.
  Integer WriteSettingsRecordWithLines(win::DCB& Record);
  // Bytes in the output ring; caller holds the output lock.
  Integer OutputRingCount() const;
  // Copies a block into the output ring at the head, wrapping to the start;
  // caller holds the output lock and checked the room.
  void CopyToOutputRing(const Byte* Block, Integer Length);

  // Device.
  win::HANDLE DeviceHandle = win::INVALID_HANDLE_VALUE;
  bool DeviceOpen = false;
  win::COMSTAT DeviceStatus;
  win::DCB SettingsRecord;

  // Rings.
  std::vector<Byte> InBuff;
  Integer InHead = 0;
  Integer InTail = 0;
  bool InBuffFull = false;
  std::vector<Byte> OutBuff;
  Integer OutHead = 0;
  Integer OutTail = 0;
  bool OutBuffFull = false;
  bool OutputSent = false;

  // Trigger and delivery state (the delivery itself is the worker side's).
  // The two flags are read on the user-interface thread while the dispatch
  // thread changes them.
  std::atomic<bool> InDelivery_{false};
  std::atomic<bool> ClosePending_{false};
  bool HandlersDeleted = false;
  bool HandlerServiceNeeded_ = false;
  bool PortHandlerInstalled = false;
  bool DataMessage = false;
  Integer ReadAheadCount = 0;
  Integer ReadAheadMax = 0;
  Integer LengthTrigger = 0;
  Integer NotifyPos = 0;
  Integer DataScanPos = 0;
  Integer WindowHandlerCount = 0;

  // Worker threads and their events.
  std::unique_ptr<TEvent> DeviceEventReady;
  std::unique_ptr<TEvent> PassDone;
  std::unique_ptr<TEvent> GeneralEvent;
  std::unique_ptr<TEvent> OutputQueued;
  std::unique_ptr<TEvent> WriteDone;
  std::unique_ptr<TEvent> PurgeOutputEvent;
  bool ThreadsStarted = false;
  std::atomic<bool> KillThreads{false};
  std::atomic<Integer> RunningThreads{0};
  Integer ThreadBoost = 0;

  Cardinal LogStart = 0;

 private:
  TComponent* Owner_;
  Integer Handle_ = -1;
  std::string DeviceName_;
  Integer ReceiveSize_ = 0;
  Integer TransmitSize_ = 0;
  Cardinal LastBaud_ = 115200;
  Byte LineErrors_ = 0;
  Byte ModemStatus_ = 0;
  std::atomic<bool> RingSeen_{false};  // set by the event thread
  bool DTRState_ = false;
  bool RTSState_ = false;
  bool DTRFlowControlled_ = false;
  bool RTSFlowControlled_ = false;
  bool RS485Mode_ = false;
  bool Released_ = false;

  TCriticalSection DispatcherLock_;
  TCriticalSection OutputLock_;
  TCriticalSection InputLock_;
};

// The list of open ports. Look a dispatcher up only while holding the lock.
TCriticalSection& PortListLock();
// Nil for a handle out of range or an emptied entry.
TApdBaseDispatcher* DispatcherOfHandle(Integer Handle);
