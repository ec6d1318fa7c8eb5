#include "serial/AwUser.h"

#include <algorithm>
#include <cstring>

#include "serial/AdExcept.h"
#include "platform/rtl/Clock.h"
#include "serial/OoMisc.h"
#include "platform/win/Windows.h"

VXN_IMPLEMENT_CLASS(TApdBaseDispatcher, TObject)

namespace {

TCriticalSection& RegistryLock() {
  static TCriticalSection* lock = new TCriticalSection;  // lives for the whole run
  return *lock;
}

std::vector<TApdBaseDispatcher*>& Registry() {
  static std::vector<TApdBaseDispatcher*>* list = new std::vector<TApdBaseDispatcher*>;
  return *list;
}

struct LockGuard {
  explicit LockGuard(TCriticalSection& l) : lock(l) { lock.Enter(); }
  ~LockGuard() { lock.Leave(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;
  TCriticalSection& lock;
};

// Driver codes 0xFF10-0xFF27; 0 keeps the code.
constexpr Cardinal kBaudCodes[24] = {110,  300, 600, 1200,  2400, 4800, 9600, 14400, 19200, 0, 0, 38400,
                                     0,    0,   0,   56000, 0,    0,    0,    128000, 0,    0, 0, 256000};

constexpr Integer kEscSetRTS = 3;
constexpr Integer kEscClrRTS = 4;
constexpr Integer kEscSetDTR = 5;
constexpr Integer kEscClrDTR = 6;

}  // namespace

Cardinal MapBaudCode(Cardinal Baud) {
  if (Baud == 0xFEFF) return 115200;
  if (Baud >= 0xFF10 && Baud <= 0xFF27) {
    Cardinal rate = kBaudCodes[Baud - 0xFF10];
    return rate ? rate : Baud;
  }
  return Baud;
}

TCriticalSection& PortListLock() {
  return RegistryLock();
}

TApdBaseDispatcher* DispatcherOfHandle(Integer Handle) {
  auto& list = Registry();
  if (Handle < 0 || Handle >= static_cast<Integer>(list.size())) return nullptr;
  return list[Handle];
}

// Life -------------------------------------------------------------------------------

TApdBaseDispatcher::TApdBaseDispatcher(TComponent* Owner) : Owner_(Owner) {
  LockGuard guard(RegistryLock());
  auto& list = Registry();
  auto empty = std::find(list.begin(), list.end(), nullptr);
  if (empty != list.end()) {
    *empty = this;
    Handle_ = static_cast<Integer>(empty - list.begin());
  } else {
    list.push_back(this);
    Handle_ = static_cast<Integer>(list.size()) - 1;
  }
}

void TApdBaseDispatcher::BeforeDestruction() {
  if (Released_) return;
  Released_ = true;
  if (ClosePending_)
    ReleasePortPrim();
  else
    ReleasePort();
  // Worker threads end by sending their last messages to this thread.
  while (RunningThreads > 0) {
    PumpOneMessage();
    YieldSlice();
  }
}

TApdBaseDispatcher::~TApdBaseDispatcher() {
  LockGuard guard(RegistryLock());
  auto& list = Registry();
  if (Handle_ >= 0 && Handle_ < static_cast<Integer>(list.size()) && list[Handle_] == this) list[Handle_] = nullptr;
  while (!list.empty() && list.back() == nullptr) list.pop_back();
}

void TApdBaseDispatcher::ReleasePortPrim() {
  {
    LockGuard guard(DispatcherLock_);
    if (ThreadsStarted) StopThreads();
  }
  // A ring lock is never taken while the dispatcher lock is held.
  {
    LockGuard in(InputLock_);
    std::vector<Byte>().swap(InBuff);
  }
  {
    LockGuard out(OutputLock_);
    std::vector<Byte>().swap(OutBuff);
  }
}

void TApdBaseDispatcher::ApplyThreadBoost() {}

void TApdBaseDispatcher::RecomputeDeliveryNeed(Integer Mode) {
  LockGuard guard(DispatcherLock_);
  if (Mode == 1) PortHandlerInstalled = true;
  if (Mode == 2) PortHandlerInstalled = false;
  HandlerServiceNeeded_ = WindowHandlerCount > 1 || PortHandlerInstalled;
}

// Opening and closing -----------------------------------------------------------------

Integer TApdBaseDispatcher::DispatcherOpenDevice(const std::string& DeviceName, Cardinal Baud, Word Options,
                                                 Integer TransmitSize, Integer ReceiveSize, Integer StopBits,
                                                 Integer DataBits, Integer Parity) {
  DeviceName_ = DeviceName;
  Released_ = false;
  InHead = InTail = OutHead = OutTail = 0;
  InBuffFull = OutBuffFull = false;
  InDelivery_ = false;
  ClosePending_ = false;
  DataMessage = false;
  HandlersDeleted = false;
  DeviceEventReady = std::make_unique<TEvent>(false, false);
  PassDone = std::make_unique<TEvent>(false, false);
  GeneralEvent = std::make_unique<TEvent>(false, false);
  OutputQueued = std::make_unique<TEvent>(false, false);
  WriteDone = std::make_unique<TEvent>(true, false);
  PurgeOutputEvent = std::make_unique<TEvent>(false, false);

  Integer opened = OpenHandle(DeviceName, ReceiveSize, TransmitSize);
  if (opened < 0) {
    Integer result = opened == ecOutOfMemory ? ecOutOfMemory : -static_cast<Integer>(win::GetLastError());
    ReleasePort();
    return result;
  }
  DeviceOpen = true;

  Integer sized = SizeQueues(ReceiveSize, TransmitSize);
  if (sized != 0) {
    ReleasePort();
    return sized;
  }

  InBuff.assign(InputRingSize, 0);
  OutBuff.assign(std::max<Integer>(TransmitSize, 0), 0);
  ReceiveSize_ = ReceiveSize;
  TransmitSize_ = TransmitSize;
  LineErrors_ = 0;
  RS485Mode_ = false;

  ReadSettingsRecord(SettingsRecord);
  DTRFlowControlled_ = (Options & ipAutoDTR) != 0;
  if (!DTRFlowControlled_) SetDTRLine((Options & ipAssertDTR) != 0);
  RTSFlowControlled_ = (Options & ipAutoRTS) != 0;
  if (!RTSFlowControlled_) SetRTSLine((Options & ipAssertRTS) != 0);

  DataScanPos = 0;
  LengthTrigger = 0;
  NotifyPos = 0;
  ReadAheadCount = ReadAheadMax = 0;
  ModemStatus_ = 0;
  RefreshModemStatus(0xF0);
  LastBaud_ = 115200;

  Integer applied = ApplyLineSettings(Baud, Parity, StopBits, DataBits);
  if (applied != 0) {
    ReleasePort();
    return applied;
  }
  CollectDeviceStatus();
  LogStart = MillisecondClock();
  StartThreads();
  return 0;
}

void TApdBaseDispatcher::ReleasePort() {
  if (DeviceOpen) {
    PurgeOutputRing();
    PurgeInputRing();
    CloseDevice();
    DeviceOpen = false;
  }
  if (InDelivery_)
    ClosePending_ = true;
  else
    ReleasePortPrim();
}

// Line settings ---------------------------------------------------------------------------

Integer TApdBaseDispatcher::ApplyLineSettings(Cardinal Baud, Integer Parity, Integer StopBits, Integer DataBits) {
  win::BYTE targetParity, targetSize, targetStop;
  Cardinal targetBaud;
  {
    LockGuard guard(DispatcherLock_);
    ReadSettingsRecord(SettingsRecord);
    targetBaud = Baud == 0 ? SettingsRecord.BaudRate : Baud;
    targetParity = Parity == KeepParity ? SettingsRecord.Parity : static_cast<win::BYTE>(Parity);
    targetSize = DataBits == KeepDataBits ? SettingsRecord.ByteSize : static_cast<win::BYTE>(DataBits);
    if (StopBits == KeepStopBits) {
      targetStop = SettingsRecord.StopBits;
    } else {
      Integer stops = std::clamp<Integer>(StopBits, 1, 2);
      targetStop = stops == 1 ? win::ONESTOPBIT : win::TWOSTOPBITS;
    }
    if (targetSize == 5) targetStop = win::ONE5STOPBITS;
    if (targetBaud == SettingsRecord.BaudRate && targetParity == SettingsRecord.Parity &&
        targetSize == SettingsRecord.ByteSize && targetStop == SettingsRecord.StopBits)
      return 0;
  }

  // Let what is queued leave at the old settings before they change.
  for (Integer pauses = 0; OutputCount() > 0 && pauses < 5000; ++pauses) ::Sleep(2);
  if (LastBaud_ > 0) {
    Integer bits = SettingsRecord.ByteSize + 2;
    if (SettingsRecord.Parity != win::NOPARITY) ++bits;
    if (SettingsRecord.StopBits != win::ONESTOPBIT) ++bits;
    Int64 units = static_cast<Int64>(10000000 / LastBaud_) * bits * 18;
    if (units < 10000) units *= 2;
    ::Sleep(static_cast<Cardinal>((units + 9999) / 10000));
  }

  LockGuard guard(DispatcherLock_);
  ReadSettingsRecord(SettingsRecord);
  SettingsRecord.BaudRate = targetBaud;
  SettingsRecord.Parity = targetParity;
  SettingsRecord.ByteSize = targetSize;
  SettingsRecord.StopBits = targetStop;
  return WriteSettingsRecordWithLines(SettingsRecord);
}

void TApdBaseDispatcher::ReadLineSettings(Cardinal& Baud, Integer& Parity, Integer& DataBits, Integer& StopBits) {
  LockGuard guard(DispatcherLock_);
  ReadSettingsRecord(SettingsRecord);
  Baud = MapBaudCode(SettingsRecord.BaudRate);
  Parity = SettingsRecord.Parity;
  DataBits = SettingsRecord.ByteSize;
  StopBits = SettingsRecord.StopBits == win::ONESTOPBIT ? 1 : 2;
}

Integer TApdBaseDispatcher::WriteSettingsRecordWithLines(win::DCB& Record) {
  if (!DTRFlowControlled_) Record.fDtrControl = DTRState_ ? win::DTR_CONTROL_ENABLE : win::DTR_CONTROL_DISABLE;
  if (!RTSFlowControlled_) Record.fRtsControl = RTSState_ ? win::RTS_CONTROL_ENABLE : win::RTS_CONTROL_DISABLE;
  Integer result = WriteSettingsRecord(Record);
  LastBaud_ = MapBaudCode(Record.BaudRate);
  SetDTRLine(DTRState_);
  if (!RS485Mode_) SetRTSLine(RTSState_);
  return result;
}

Integer TApdBaseDispatcher::SetDTRLine(bool On) {
  if (DTRFlowControlled_) return 1;
  if (SignalLine(On ? kEscSetDTR : kEscClrDTR) < 0) return ecBadArgument;
  DTRState_ = On;
  return 0;
}

Integer TApdBaseDispatcher::SetRTSLine(bool On) {
  if (RTSFlowControlled_) return 1;
  if (SignalLine(On ? kEscSetRTS : kEscClrRTS) < 0) return ecBadArgument;
  RTSState_ = On;
  return 0;
}

Integer TApdBaseDispatcher::SetHardwareFlow(Integer Full, Integer Resume, Word Options) {
  if (Full < Resume || Full > ReceiveSize_) return ecBadArgument;
  LockGuard guard(DispatcherLock_);
  ReadSettingsRecord(SettingsRecord);
  win::DCB& r = SettingsRecord;
  r.fOutxCtsFlow = 0;
  r.fOutxDsrFlow = 0;
  r.fDtrControl = win::DTR_CONTROL_DISABLE;
  r.fRtsControl = win::RTS_CONTROL_DISABLE;
  DTRFlowControlled_ = RTSFlowControlled_ = false;
  if (Options & hfUseDTR) {
    r.fDtrControl = win::DTR_CONTROL_HANDSHAKE;
    DTRFlowControlled_ = true;
  } else if (DTRState_) {
    r.fDtrControl = win::DTR_CONTROL_ENABLE;
  }
  if (Options & hfUseRTS) {
    r.fRtsControl = win::RTS_CONTROL_HANDSHAKE;
    RTSFlowControlled_ = true;
  } else if (RTSState_) {
    r.fRtsControl = win::RTS_CONTROL_ENABLE;
  }
  if (RS485Mode_) {
    r.fRtsControl = win::RTS_CONTROL_TOGGLE;
    RTSFlowControlled_ = true;
  }
  r.XoffLim = static_cast<win::WORD>(ReceiveSize_ - Full);
  r.XonLim = static_cast<win::WORD>(Resume);
  if (Options & hfRequireDSR) r.fOutxDsrFlow = 1;
  if (Options & hfRequireCTS) r.fOutxCtsFlow = 1;
  return WriteSettingsRecordWithLines(r);
}

Integer TApdBaseDispatcher::SetSoftwareFlow(Integer Full, Integer Resume, Word Mode) {
  if (Full < Resume || Full > ReceiveSize_) return ecBadArgument;
  LockGuard guard(DispatcherLock_);
  ReadSettingsRecord(SettingsRecord);
  win::DCB& r = SettingsRecord;
  if (Mode & sfReceiveFlow) {
    r.fInX = 1;
    r.XoffLim = static_cast<win::WORD>(ReceiveSize_ - Full);
    r.XonLim = static_cast<win::WORD>(Resume);
    r.XonChar = 17;
    r.XoffChar = 19;
  }
  if (Mode & sfTransmitFlow) {
    r.fOutX = 1;
    r.XonChar = 17;
    r.XoffChar = 19;
  }
  return WriteSettingsRecordWithLines(r);
}

Integer TApdBaseDispatcher::SoftwareFlowOff() {
  LockGuard guard(DispatcherLock_);
  ReadSettingsRecord(SettingsRecord);
  SettingsRecord.fInX = 0;
  SettingsRecord.fOutX = 0;
  return WriteSettingsRecordWithLines(SettingsRecord);
}

Integer TApdBaseDispatcher::SetXOnXOffChars(char XOn, char XOff) {
  LockGuard guard(DispatcherLock_);
  ReadSettingsRecord(SettingsRecord);
  SettingsRecord.XonChar = XOn;
  SettingsRecord.XoffChar = XOff;
  return WriteSettingsRecordWithLines(SettingsRecord);
}

void TApdBaseDispatcher::SetRS485Mode(bool On) {
  LockGuard guard(DispatcherLock_);
  RS485Mode_ = On;
  // The output thread's priority follows (one step up while on); this
  // platform takes priorities without effect, and needs no base address.
  ApplyThreadBoost();
}

Integer TApdBaseDispatcher::SizeQueues(Integer ReceiveSize, Integer TransmitSize) {
  if (!SizeDeviceQueues(ReceiveSize, TransmitSize)) return -static_cast<Integer>(win::GetLastError());
  return 0;
}

// Input ring -------------------------------------------------------------------------------

Integer TApdBaseDispatcher::InputCount() {
  LockGuard guard(InputLock_);
  if (InBuff.empty()) return 0;
  Integer count = InBuffFull ? InputRingSize : (InHead - InTail + InputRingSize) % InputRingSize;
  if (DataMessage) count -= ReadAheadCount;
  return std::max<Integer>(count, 0);
}

Integer TApdBaseDispatcher::PeekInputByte(Integer N) {
  LockGuard guard(InputLock_);
  if (N < 1 || InputCount() < N) return ecBufferIsEmpty;
  Integer skip = DataMessage ? ReadAheadCount : 0;
  return InBuff[(InTail + skip + N - 1) % InputRingSize];
}

Integer TApdBaseDispatcher::TakeInputByte() {
  LockGuard guard(InputLock_);
  if (InputCount() < 1) return ecBufferIsEmpty;
  if (DataMessage) {
    ++ReadAheadCount;
    return InBuff[(InTail + ReadAheadCount - 1) % InputRingSize];
  }
  Byte b = InBuff[InTail];
  InTail = (InTail + 1) % InputRingSize;
  InBuffFull = false;
  return b;
}

bool TApdBaseDispatcher::InputReady() {
  LockGuard guard(InputLock_);
  if (InBuff.empty()) return false;
  if (DataMessage) return InputCount() > 0;
  return InHead != InTail || InBuffFull;
}

void TApdBaseDispatcher::FillInputRing() {
  {
    LockGuard guard(InputLock_);
    if (InBuff.empty() || InBuffFull) return;
  }
  // The status query takes the output lock, so it runs before the input lock
  // is taken: a thread never holds both ring locks.
  Integer waiting = static_cast<Integer>(CollectDeviceStatus().cbInQue);
  if (waiting <= 0) return;
  LockGuard guard(InputLock_);
  if (InBuff.empty() || InBuffFull) return;
  Integer room = InHead >= InTail ? InputRingSize - InHead : InTail - InHead;
  Integer wanted = std::min(waiting, room);
  Integer got = ReadDevice(InBuff.data() + InHead, wanted);
  if (got < 0) got = 0;
  InHead = (InHead + got) % InputRingSize;
  if (got > 0 && InHead == InTail) InBuffFull = true;
  if (got == wanted && waiting > got && !InBuffFull && InHead == 0 && InTail > 0) {
    Integer second = std::min(waiting - got, InTail);
    Integer more = ReadDevice(InBuff.data(), second);
    if (more > 0) {
      InHead = more % InputRingSize;
      if (InHead == InTail) InBuffFull = true;
    }
  }
}

void TApdBaseDispatcher::PurgeInputRing() {
  PurgeQueue(1);
  LockGuard guard(InputLock_);
  if (DataMessage) {
    // The delivery's end skips everything; the full flag goes with it there.
    Integer content = InBuffFull ? InputRingSize : (InHead - InTail + InputRingSize) % InputRingSize;
    ReadAheadCount = ReadAheadMax = content;
    return;
  }
  InTail = InHead;
  ReadAheadCount = 0;
  InBuffFull = false;
}

void TApdBaseDispatcher::BeginDataMessage() {
  LockGuard guard(InputLock_);
  DataMessage = true;
  ReadAheadCount = 0;
  ReadAheadMax = 0;
}

void TApdBaseDispatcher::NextDataHandler() {
  LockGuard guard(InputLock_);
  ReadAheadMax = std::max(ReadAheadMax, ReadAheadCount);
  ReadAheadCount = 0;
}

bool TApdBaseDispatcher::EndDataMessage(Integer Announced) {
  LockGuard guard(InputLock_);
  ReadAheadMax = std::max(ReadAheadMax, ReadAheadCount);
  DataMessage = false;
  if (ReadAheadMax > 0) {
    InTail = (InTail + ReadAheadMax) % InputRingSize;
    InBuffFull = false;
  }
  bool all = Announced < 0 || ReadAheadMax == Announced;
  ReadAheadCount = 0;
  ReadAheadMax = 0;
  return all;
}

// Output ring ----------------------------------------------------------------------------

Integer TApdBaseDispatcher::OutputRingCount() const {
  if (OutBuffFull) return TransmitSize_;
  if (OutBuff.empty()) return 0;
  return (OutHead - OutTail + TransmitSize_) % TransmitSize_;
}

void TApdBaseDispatcher::CopyToOutputRing(const Byte* Block, Integer Length) {
  Integer first = std::min(Length, TransmitSize_ - OutHead);
  std::memcpy(OutBuff.data() + OutHead, Block, first);
  if (first < Length) std::memcpy(OutBuff.data(), Block + first, Length - first);
  OutHead = (OutHead + Length) % TransmitSize_;
}

Integer TApdBaseDispatcher::WriteOutputBlock(const Byte* Block, Integer Length) {
  if (Length <= 0) return 0;
  {
    LockGuard guard(OutputLock_);
    if (OutBuff.empty()) return ecOutputBufferTooSmall;
    Integer free = TransmitSize_ - static_cast<Integer>(CollectDeviceStatus(true).cbOutQue);
    if (free < Length) return ecOutputBufferTooSmall;
    bool fills = Length == free;
    Integer queued = QueueOutput(Block, Length);
    if (queued <= 0) return ecPutBlockFail;
    if (fills) OutBuffFull = true;
    OutputSent = true;
  }
  return 0;
}

Integer TApdBaseDispatcher::OutputCount() {
  LockGuard guard(OutputLock_);
  return static_cast<Integer>(CollectDeviceStatus().cbOutQue);
}

Integer TApdBaseDispatcher::OutputFree() {
  return TransmitSize_ - OutputCount();
}

void TApdBaseDispatcher::PurgeOutputRing() {
  PurgeQueue(0);
}

// Status ---------------------------------------------------------------------------------

win::COMSTAT TApdBaseDispatcher::CollectDeviceStatus(bool Replace) {
  // The query takes the output lock, so it runs before the dispatcher lock.
  win::COMSTAT stat;
  Byte errors = static_cast<Byte>(QueryDeviceStatus(stat) & 0x1F);
  LockGuard guard(DispatcherLock_);
  DeviceStatus = stat;
  LineErrors_ = Replace ? errors : static_cast<Byte>(LineErrors_ | errors);
  return stat;
}

Integer TApdBaseDispatcher::TakeLineError() {
  LockGuard guard(DispatcherLock_);
  Integer result = 0;
  if (LineErrors_ & leRxOverflow)
    result = 1;
  else if (LineErrors_ & leOverrun)
    result = 2;
  else if (LineErrors_ & leParity)
    result = 3;
  else if (LineErrors_ & leFraming)
    result = 4;
  else if (LineErrors_ & leBreak)
    result = 9;
  if (result != 0) LineErrors_ &= static_cast<Byte>(~(leRxOverflow | leOverrun | leParity | leFraming));
  return result;
}

bool TApdBaseDispatcher::TakeLineBreak() {
  LockGuard guard(DispatcherLock_);
  bool seen = (LineErrors_ & leBreak) != 0;
  LineErrors_ &= static_cast<Byte>(~leBreak);
  return seen;
}

Byte TApdBaseDispatcher::RefreshModemStatus(Byte Mask) {
  LockGuard guard(DispatcherLock_);
  Byte lines = static_cast<Byte>(ReadModemLines() & 0xF0);
  ModemStatus_ = static_cast<Byte>(lines | (ModemStatus_ & 0x0F));
  if (RingSeen_.exchange(false)) ModemStatus_ |= RingMask;
  Byte before = ModemStatus_;
  ModemStatus_ &= Mask;
  return before;
}

void TApdBaseDispatcher::UpdateModemDeltas() {
  LockGuard guard(DispatcherLock_);
  Byte oldLines = ModemStatus_ & 0xF0;
  RefreshModemStatus(0xFF);
  Byte newLines = ModemStatus_ & 0xF0;
  ModemStatus_ = static_cast<Byte>(newLines | ((oldLines ^ newLines) >> 4));
}
