#include "serial/AdPort.h"

#include <algorithm>

#include "serial/AdExcept.h"
#include "serial/AdSelCom.h"
#include "platform/forms/Forms.h"
#include "platform/win/Windows.h"
#include "platform/rtl/ScopeExit.h"

VXN_IMPLEMENT_CLASS(TApdCustomComPort, TApdBaseComponent)
VXN_IMPLEMENT_CREATABLE_CLASS(TApdComPort, TApdCustomComPort)

namespace {

constexpr const char* kComWindowClass = "awComWindow";

template <typename E>
auto EventSetter(E TApdCustomComPort::*Field) {
  return [Field](TApdCustomComPort& Port, E Value) { Port.SetEvent(Field, Value); };
}

// The dispatcher handle and generation that a trigger message carries.
win::LPARAM TriggerLParam(TApdWin32Dispatcher* D) {
  return static_cast<win::LPARAM>((D->Generation() << 32) | (static_cast<UInt64>(D->Handle() & 0xFFFF) << 16));
}

struct RegistryGuard {
  RegistryGuard() { PortListLock().Enter(); }
  ~RegistryGuard() { PortListLock().Leave(); }
  RegistryGuard(const RegistryGuard&) = delete;
  RegistryGuard& operator=(const RegistryGuard&) = delete;
};

void ShowHandlerException(TObject* Sender) {
  if (Application != nullptr) Application->HandleException(Sender);
}

}  // namespace

VXN_PUBLISH(TApdCustomComPort) {}

VXN_PUBLISH(TApdComPort) {
  using T = TApdComPort;
  using C = TApdCustomComPort;
  P.Property("DeviceLayer", &C::GetDeviceLayer, &C::SetDeviceLayer).Default(dlWin32);
  P.Property("ComNumber", &C::GetComNumber, &C::SetComNumber).Default(0);
  P.Property("Baud", &C::GetBaud, &C::SetBaud).Default(19200);
  P.Property("PromptForPort", &C::PromptForPort, &C::PromptForPort).Default(true);
  P.Property("Parity", &C::GetParity, &C::SetParity).Default(pNone);
  P.Property("DataBits", &C::GetDataBits, &C::SetDataBits).Default(8);
  P.Property("StopBits", &C::GetStopBits, &C::SetStopBits).Default(1);
  P.Property("InSize", &C::GetInSize, &C::SetInSize).Default(4096);
  P.Property("OutSize", &C::GetOutSize, &C::SetOutSize).Default(4096);
  P.Property("AutoOpen", &C::AutoOpen, &C::AutoOpen).Default(true);
  P.Property("Open", &C::GetOpen, &C::SetOpen).Default(false);
  P.Property("DTR", &C::GetDTR, &C::SetDTR).Default(true);
  P.Property("RTS", &C::GetRTS, &C::SetRTS).Default(true);
  P.Property("HWFlowOptions", &C::GetHWFlowOptions, &C::SetHWFlowOptions).Default(0);
  P.Property("SWFlowOptions", &C::GetSWFlowOptions, &C::SetSWFlowOptions).Default(swfNone);
  P.Property("XOnChar", &C::GetXOnChar, &C::SetXOnChar).Default(17);
  P.Property("XOffChar", &C::GetXOffChar, &C::SetXOffChar).Default(19);
  P.Property("BufferFull", &C::GetBufferFull, &C::SetBufferFull).Default(0);
  P.Property("BufferResume", &C::GetBufferResume, &C::SetBufferResume).Default(0);
  P.Property("Tracing", &C::GetTracing, &C::SetTracing).Default(tlOff);
  P.Property("TraceSize", &C::GetTraceSize, &C::SetTraceSize).Default(10000);
  P.Property("TraceName", &C::TraceName, &C::TraceName);
  P.Property("TraceHex", &C::TraceHex, &C::TraceHex).Default(true);
  P.Property("TraceAllHex", &C::TraceAllHex, &C::TraceAllHex).Default(false);
  P.Property("Logging", &C::GetLogging, &C::SetLogging).Default(tlOff);
  P.Property("LogSize", &C::GetLogSize, &C::SetLogSize).Default(10000);
  P.Property("LogName", &C::LogName, &C::LogName);
  P.Property("LogHex", &C::LogHex, &C::LogHex).Default(true);
  P.Property("LogAllHex", &C::LogAllHex, &C::LogAllHex).Default(false);
  P.Property("UseMSRShadow", &C::GetUseMSRShadow, &C::SetUseMSRShadow).Default(true);
  P.Property("UseEventWord", &C::GetUseEventWord, &C::SetUseEventWord).Default(true);
  P.Property("CommNotificationLevel", &C::CommNotificationLevel, &C::CommNotificationLevel).Default(10);
  P.Property("TapiMode", &C::GetTapiMode, &C::SetTapiMode).Default(static_cast<int64_t>(TTapiMode::tmAuto));
  P.Property("RS485Mode", &C::GetRS485Mode, &C::SetRS485Mode).Default(false);
  P.Property("Tag", &T::Tag, &T::Tag).Default(0);
  P.Event("OnTrigger", &C::OnTrigger, EventSetter(&C::OnTrigger));
  P.Event("OnTriggerAvail", &C::OnTriggerAvail, EventSetter(&C::OnTriggerAvail));
  P.Event("OnTriggerData", &C::OnTriggerData, EventSetter(&C::OnTriggerData));
  P.Event("OnTriggerStatus", &C::OnTriggerStatus, EventSetter(&C::OnTriggerStatus));
  P.Event("OnTriggerTimer", &C::OnTriggerTimer, EventSetter(&C::OnTriggerTimer));
  P.Event("OnTriggerLineError", &C::OnTriggerLineError, EventSetter(&C::OnTriggerLineError));
  P.Event("OnTriggerModemStatus", &C::OnTriggerModemStatus, EventSetter(&C::OnTriggerModemStatus));
  P.Event("OnTriggerOutbuffFree", &C::OnTriggerOutbuffFree, EventSetter(&C::OnTriggerOutbuffFree));
  P.Event("OnTriggerOutbuffUsed", &C::OnTriggerOutbuffUsed, EventSetter(&C::OnTriggerOutbuffUsed));
  P.Event("OnTriggerOutSent", &C::OnTriggerOutSent, EventSetter(&C::OnTriggerOutSent));
  P.Event("OnPortOpen", &C::OnPortOpen, &C::OnPortOpen);
  P.Event("OnPortClose", &C::OnPortClose, &C::OnPortClose);
}

// Life ---------------------------------------------------------------------------------------

TApdCustomComPort::TApdCustomComPort(TComponent* AOwner) : TApdBaseComponent(AOwner) {}

TApdCustomComPort::~TApdCustomComPort() {
  try {
    if (PortState_ == psOpen) CloseComPort();
  } catch (...) {
  }
  // A close still waiting for its deferred end is finished here.
  OpenPending = false;
  if (Dispatcher_ != nullptr) FinishDeferredClose();
}

bool TApdCustomComPort::Loading() const {
  return ComponentState().Contains(csLoading);
}

bool TApdCustomComPort::Designing() const {
  return ComponentState().Contains(csDesigning);
}

void TApdCustomComPort::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TApdCustomComPort*>(Source);
  if (src == nullptr) {
    TApdBaseComponent::Assign(Source);
    return;
  }
  DeviceLayer_ = src->DeviceLayer_;
  ComNumber_ = src->ComNumber_;
  Baud_ = src->Baud_;
  Parity_ = src->Parity_;
  DataBits_ = src->DataBits_;
  StopBits_ = src->StopBits_;
  InSize_ = src->InSize_;
  OutSize_ = src->OutSize_;
  DTR_ = src->DTR_;
  RTS_ = src->RTS_;
  HWFlowOptions_ = src->HWFlowOptions_;
  SWFlowOptions_ = src->SWFlowOptions_;
  XOnChar_ = src->XOnChar_;
  XOffChar_ = src->XOffChar_;
  BufferFull_ = src->BufferFull_;
  BufferResume_ = src->BufferResume_;
  Tracing_ = src->Tracing_;
  Logging_ = src->Logging_;
  TraceSize_ = src->TraceSize_;
  LogSize_ = src->LogSize_;
  TraceName = src->TraceName;
  LogName = src->LogName;
  TraceHex = src->TraceHex;
  LogHex = src->LogHex;
  TraceAllHex = src->TraceAllHex;
  LogAllHex = src->LogAllHex;
  UseEventWord_ = src->UseEventWord_;
  TapiMode_ = src->TapiMode_;
  RS485Mode_ = src->RS485Mode_;
  PromptForPort = src->PromptForPort;
  AutoOpen = src->AutoOpen;
  CommNotificationLevel = src->CommNotificationLevel;
  TriggerLength_ = src->TriggerLength_;
  Tag = src->Tag;
  OnTrigger = src->OnTrigger;
  OnTriggerAvail = src->OnTriggerAvail;
  OnTriggerData = src->OnTriggerData;
  OnTriggerStatus = src->OnTriggerStatus;
  OnTriggerTimer = src->OnTriggerTimer;
  OnPortOpen = src->OnPortOpen;
  OnPortClose = src->OnPortClose;
  if (src->Dispatcher_ != nullptr && src->PortState_ == psOpen) {
    src->Dispatcher_->SaveTriggers(SavedTriggers);
    CopyTriggers = true;
  }
  Open_ = false;
}

void TApdCustomComPort::Loaded() {
  TApdBaseComponent::Loaded();
  if (Designing()) return;
  if (ForceOpen) Open_ = true;
  if (!Open_) return;
  ForceOpen = false;
  try {
    OpenComPort();
  } catch (const Exception&) {
    Open_ = false;
    ShowHandlerException(this);
  }
}

void TApdCustomComPort::CheckResult(Integer Code) {
  if (Code < 0 && !Loading()) RaiseForErrorCode(this, Code);
}

// Opening and closing -------------------------------------------------------------------------

void TApdCustomComPort::EnsurePortNumber() {
  if (ComNumber_ != 0) return;
  if (!PromptForPort) RaiseForErrorCode(this, ecNoPortSelected);
  Integer chosen = 0;
  {
    OwnedObject<TForm> dialog(CreateForm(TComSelectForm::StaticClass(), Application));
    if (dialog->ShowModal() == mrOk) chosen = static_cast<TComSelectForm*>(dialog.get())->SelectedPortNumber();
  }
  // OK with nothing selected (no port listed) is refused like Cancel.
  if (chosen <= 0) RaiseForErrorCode(this, ecNoPortSelected);
  ComNumber_ = static_cast<Word>(chosen);
}

TApdWin32Dispatcher* TApdCustomComPort::CreateDispatcher() {
  if (Factory_) return Factory_(this);
  if (DeviceLayer_ != dlWin32) RaiseForErrorCode(this, ecNullApi);
  if (TapiMode_ == TTapiMode::tmOn) return new TApdTAPI32Dispatcher(this, TapiHandle);
  return new TApdWin32Dispatcher(this);
}

Integer TApdCustomComPort::OpenDevice() {
  std::string name = TapiMode_ == TTapiMode::tmOn ? std::string() : "\\\\.\\COM" + std::to_string(ComNumber_);
  Word options = 0;
  if (DTR_) options |= ipAssertDTR;
  if (RTS_) options |= ipAssertRTS;
  if (HWFlowOptions_.Contains(hwfUseDTR)) options |= ipAutoDTR;
  if (HWFlowOptions_.Contains(hwfUseRTS)) options |= ipAutoRTS;
  Integer result = Dispatcher_->DispatcherOpenDevice(name, static_cast<Cardinal>(Baud_), options, OutSize_, InSize_,
                                                     StopBits_, DataBits_, Parity_);
  if (result == -5) return ecAlreadyOpen;
  if (result == -2 || result == -3) return ecBadId;
  return result;
}

std::string TApdCustomComPort::DeviceText() const {
  std::string name = "COM" + std::to_string(ComNumber_);
  std::string path = win::SerialDevicePath(name);
  return path.empty() ? name : name + " (" + path + ")";
}

void TApdCustomComPort::OpenComPort() {
  if (TapiMode_ != TTapiMode::tmOn) EnsurePortNumber();
  Dispatcher_.reset(CreateDispatcher());
  // A failed open leaves the port closed, without a dispatcher.
  ScopeExit failed([this] {
    Open_ = false;
    PortState_ = psClosed;
    if (ComWindow_ != nullptr) SetupComWindow(false);
    Dispatcher_ = nullptr;
  });
  if (TapiMode_ == TTapiMode::tmOn) {
    if (TapiHandle == nullptr) RaiseForErrorCode(this, ecNotOpenedByTapi);
    win::DCB dcb;
    if (win::GetCommState(TapiHandle, &dcb)) {
      Baud_ = static_cast<Integer>(MapBaudCode(dcb.BaudRate));
      Parity_ = static_cast<TParity>(std::min<Integer>(dcb.Parity, pSpace));
      DataBits_ = dcb.ByteSize;
      StopBits_ = dcb.StopBits == win::ONESTOPBIT ? 1 : 2;
      XOnChar_ = dcb.XonChar;
      XOffChar_ = dcb.XoffChar;
    }
  }
  Integer result = OpenDevice();
  if (result < 0) RaiseForErrorCode(this, result, TapiMode_ == TTapiMode::tmOn ? std::string() : DeviceText());
  PortState_ = psOpen;
  UpdateHandlerNeed();
  // Every open gives the new dispatcher the stored settings that the open
  // itself does not carry.
  Force = true;
  if (Tracing_ == tlOn) {
    Tracing_ = tlOff;
    SetTracing(tlOn);
  }
  if (Logging_ == tlOn) {
    Logging_ = tlOff;
    SetLogging(tlOn);
  }
  if (!HWFlowOptions_.Empty()) ApplyHWFlow();
  if (SWFlowOptions_ != swfNone) ApplySWFlow();
  if (XOnChar_ != 17 || XOffChar_ != 19) CheckResult(Dispatcher_->SetXOnXOffChars(XOnChar_, XOffChar_));
  Dispatcher_->SetLengthTrigger(TriggerLength_);
  if (RS485Mode_) Dispatcher_->SetRS485Mode(true);
  Force = false;
  Open_ = true;
  SetupComWindow(true);
  if (CopyTriggers) {
    CopyTriggers = false;
    Dispatcher_->RestoreTriggers(SavedTriggers);
    Dispatcher_->SetLengthTrigger(TriggerLength_);
  }
  NotifyPortOpen();
  failed.Dismiss();
}

void TApdCustomComPort::CloseComPort() {
  if (PortState_ != psOpen) return;
  SetTracing(tlDump);
  SetLogging(tlDump);
  PortState_ = psShuttingDown;
  NotifyPortClosing();
  Dispatcher_->SaveTriggers(SavedTriggers);
  CopyTriggers = true;
  Dispatcher_->ReleasePort();
  if (Dispatcher_->InDeliveryNow()) {
    // Asked from inside a handler: the dispatch thread is still waiting for
    // it, so the close ends when the window procedure sees 0x7E0A.
    win::PostMessage(ComWindow_, APW_CLOSEPENDING, 0, TriggerLParam(Dispatcher_.get()));
    PumpOneMessage();
  } else {
    FinishDeferredClose();
  }
  NotifyPortClose();
}

void TApdCustomComPort::FinishDeferredClose() {
  if (Dispatcher_ == nullptr) return;
  SetupComWindow(false);
  Dispatcher_ = nullptr;
  PortState_ = psClosed;
  Open_ = false;
  if (OpenPending) {
    OpenPending = false;
    OpenComPort();
  }
}

void TApdCustomComPort::SetupComWindow(bool Install) {
  if (Install) {
    static bool registered = false;
    if (!registered) {
      win::WNDCLASSEX wc;
      wc.lpfnWndProc = &TApdCustomComPort::ComPortWindowProc;
      wc.cbWndExtra = 4;
      wc.lpszClassName = kComWindowClass;
      win::RegisterClassEx(&wc);
      registered = true;
    }
    ComWindow_ = win::CreateWindowEx(0, kComWindowClass, "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (Dispatcher_ != nullptr) Dispatcher_->AddWindowHandler(ComWindow_);
    return;
  }
  if (ComWindow_ == nullptr) return;
  if (Dispatcher_ != nullptr) Dispatcher_->RemoveWindowHandler(ComWindow_);
  win::DestroyWindow(ComWindow_);
  ComWindow_ = nullptr;
}

win::LRESULT TApdCustomComPort::ComPortWindowProc(win::HWND Wnd, win::UINT Msg, win::WPARAM WParam,
                                                  win::LPARAM LParam) {
  bool trigger = Msg >= APW_TRIGGERAVAIL && Msg <= APW_TRIGGERSTATUS;
  if (!trigger && Msg != APW_CLOSEPENDING && Msg != APW_WORKERFAILED)
    return win::DefWindowProc(Wnd, Msg, WParam, LParam);

  RegistryGuard guard;
  Integer handle = static_cast<Integer>((static_cast<UInt64>(LParam) >> 16) & 0xFFFF);
  UInt64 generation = static_cast<UInt64>(LParam) >> 32;
  auto* d = dynamic_cast<TApdWin32Dispatcher*>(DispatcherOfHandle(handle));
  // A late message of a port closed since, or of another port that now has
  // the same handle, finds a dispatcher that is not the one it came from.
  if (d == nullptr || d->Generation() != generation) return 0;
  auto* port = dynamic_cast<TApdCustomComPort*>(d->Owner());
  if (port == nullptr || port->Dispatcher_.get() != d || port->ComWindow_ != Wnd) return 0;

  try {
    if (trigger) {
      Word data = Msg == APW_TRIGGERAVAIL ? static_cast<Word>(WParam) : static_cast<Word>(LParam & 0xFFFF);
      port->FireTrigger(static_cast<Word>(Msg), static_cast<Word>(WParam), data);
      switch (Msg) {
        case APW_TRIGGERAVAIL: port->FireTriggerAvail(static_cast<Word>(WParam)); break;
        case APW_TRIGGERDATA: port->FireTriggerData(static_cast<Word>(WParam)); break;
        case APW_TRIGGERTIMER: port->FireTriggerTimer(static_cast<Word>(WParam)); break;
        default: port->FireStatusKind(static_cast<Word>(WParam)); break;
      }
    } else if (Msg == APW_CLOSEPENDING) {
      if (d->InDeliveryNow())
        win::PostMessage(Wnd, Msg, WParam, LParam);
      else
        port->FinishDeferredClose();
    } else {
      // A worker thread failed; its exception is shown here, on this thread.
      std::string text = d->TakeWorkerError();
      if (!text.empty()) throw EAPDException(text);
    }
  } catch (const Exception&) {
    ShowHandlerException(port);
  }
  return 0;
}

// Events ----------------------------------------------------------------------------------------

void TApdCustomComPort::FireStatusKind(Word TriggerHandle) {
  FireTriggerStatus(TriggerHandle);
  if (Dispatcher_ == nullptr) return;
  switch (Dispatcher_->StatusTriggerKind(TriggerHandle)) {
    case 1: FireTriggerModemStatus(); break;
    case 2: {
      // The break is asked first: taking the error clears the error flags.
      bool lineBreak = Dispatcher_->TakeLineBreak();
      auto error = static_cast<Word>(Dispatcher_->TakeLineError());
      FireTriggerLineError(error, lineBreak);
      break;
    }
    case 3: FireTriggerOutbuffFree(); break;
    case 4: FireTriggerOutbuffUsed(); break;
    case 5: FireTriggerOutSent(); break;
    default: break;
  }
}

void TApdCustomComPort::FireTrigger(Word Msg, Word TriggerHandle, Word Data) {
  if (OnTrigger) OnTrigger(this, Msg, TriggerHandle, Data);
}
void TApdCustomComPort::FireTriggerAvail(Word Count) {
  if (OnTriggerAvail) OnTriggerAvail(this, Count);
}
void TApdCustomComPort::FireTriggerData(Word TriggerHandle) {
  if (OnTriggerData) OnTriggerData(this, TriggerHandle);
}
void TApdCustomComPort::FireTriggerStatus(Word TriggerHandle) {
  if (OnTriggerStatus) OnTriggerStatus(this, TriggerHandle);
}
void TApdCustomComPort::FireTriggerTimer(Word TriggerHandle) {
  if (OnTriggerTimer) OnTriggerTimer(this, TriggerHandle);
}
void TApdCustomComPort::FireTriggerLineError(Word Error, bool LineBreak) {
  if (OnTriggerLineError) OnTriggerLineError(this, Error, LineBreak);
}
void TApdCustomComPort::FireTriggerModemStatus() {
  if (OnTriggerModemStatus) OnTriggerModemStatus(this);
}
void TApdCustomComPort::FireTriggerOutbuffFree() {
  if (OnTriggerOutbuffFree) OnTriggerOutbuffFree(this);
}
void TApdCustomComPort::FireTriggerOutbuffUsed() {
  if (OnTriggerOutbuffUsed) OnTriggerOutbuffUsed(this);
}
void TApdCustomComPort::FireTriggerOutSent() {
  if (OnTriggerOutSent) OnTriggerOutSent(this);
}
void TApdCustomComPort::FireWaitChar(char C) {
  if (OnWaitChar) OnWaitChar(this, C);
}

void TApdCustomComPort::UpdateHandlerNeed() {
  if (Dispatcher_ == nullptr || PortState_ != psOpen) return;
  bool any = OnTrigger || OnTriggerAvail || OnTriggerData || OnTriggerStatus || OnTriggerTimer ||
             OnTriggerLineError || OnTriggerModemStatus || OnTriggerOutbuffFree || OnTriggerOutbuffUsed ||
             OnTriggerOutSent;
  Dispatcher_->RecomputeDeliveryNeed(any ? 1 : 2);
}

void TApdCustomComPort::NotifyPortOpen() {
  if (OnPortOpen) OnPortOpen(this);
}
void TApdCustomComPort::NotifyPortClose() {
  if (OnPortClose) OnPortClose(this);
}
void TApdCustomComPort::NotifyPortClosing() {}

// Operations --------------------------------------------------------------------------------------

TApdWin32Dispatcher* TApdCustomComPort::ValidDispatcher() {
  if (Dispatcher_ == nullptr && AutoOpen && !Loading() && !Designing()) {
    OpenComPort();
    Open_ = true;
  }
  if (Dispatcher_ == nullptr) RaiseForErrorCode(this, ecCommNotOpen);
  return Dispatcher_.get();
}

void TApdCustomComPort::PurgeInput() {
  if (PortState_ == psShuttingDown) return;
  ValidDispatcher()->PurgeInputRing();
}

void TApdCustomComPort::PurgeOutput() {
  if (PortState_ == psShuttingDown) return;
  ValidDispatcher()->PurgeOutputRing();
}

bool TApdCustomComPort::InputAvailable() {
  if (PortState_ == psShuttingDown) return false;
  return ValidDispatcher()->InputReady();
}

char TApdCustomComPort::ReadInputByte() {
  if (PortState_ == psShuttingDown) return 0;
  TApdWin32Dispatcher* d = ValidDispatcher();
  Integer b = d->TakeInputByte();
  if (b < 0) RaiseForErrorCode(this, b);
  Byte value = static_cast<Byte>(b);
  d->TraceBytes('R', &value, 1);
  return static_cast<char>(b);
}

void TApdCustomComPort::RaiseIfDeviceLost(TApdWin32Dispatcher* D) {
  if (!D->DeviceLost()) return;
  // Bytes queued now would never leave: the loss is the answer.
  std::string text = ErrorMessageText(-static_cast<Integer>(win::ERROR_GEN_FAILURE));
  std::string reason = D->LossReason();
  if (!reason.empty()) text += "\r\n" + reason;
  throw EInOutError(static_cast<Integer>(win::ERROR_GEN_FAILURE), text);
}

void TApdCustomComPort::WriteBlock(const void* Block, Integer Length) {
  if (PortState_ == psShuttingDown) return;
  TApdWin32Dispatcher* d = ValidDispatcher();
  RaiseIfDeviceLost(d);
  // A write the device refused is never passed off as written.
  if (d->TakeWriteFailure()) RaiseForErrorCode(this, ecPutBlockFail);
  CheckResult(d->WriteOutputBlock(static_cast<const Byte*>(Block), Length));
  d->LogEntry(1, 2, static_cast<Cardinal>(Length), static_cast<const Byte*>(Block), Length);
  d->TraceBytes('T', static_cast<const Byte*>(Block), Length);
}

Integer TApdCustomComPort::OutputPending() {
  if (Dispatcher_ == nullptr || PortState_ != psOpen) return 0;
  RaiseIfDeviceLost(Dispatcher_.get());
  if (Dispatcher_->TakeWriteFailure()) RaiseForErrorCode(this, ecPutBlockFail);
  return Dispatcher_->OutputCount();
}

void TApdCustomComPort::YieldToDispatcher() {
  PumpOneMessage();
  if (Dispatcher_ != nullptr) Dispatcher_->YieldSlice();
}

void TApdCustomComPort::SetTriggerLength(Integer Value) {
  TriggerLength_ = Value;
  if (Dispatcher_ != nullptr && PortState_ == psOpen) Dispatcher_->SetLengthTrigger(Value);
}

// Setters -------------------------------------------------------------------------------------------

void TApdCustomComPort::SetOpen(bool Value) {
  if (Value == Open_) return;
  if (Loading() || Designing()) {
    Open_ = Value;
    if (Value) ForceOpen = true;
    return;
  }
  if (!Value) {
    CloseComPort();
    return;
  }
  if (PortState_ == psClosed)
    OpenComPort();
  else
    OpenPending = true;
}

void TApdCustomComPort::SetDeviceLayer(TDeviceLayer Value) {
  if (PortState_ != psClosed || Value == DeviceLayer_) return;
  DeviceLayer_ = Value;
  DeviceLayerChanged();
}

void TApdCustomComPort::SetComNumber(Word Value) {
  if (Value == ComNumber_ && !Force) return;
  if (PortState_ != psOpen) {
    ComNumber_ = Value;
    return;
  }
  TTriggerSave triggers;
  Dispatcher_->SaveTriggers(triggers);
  TTraceLogState tracing = Tracing_, logging = Logging_;
  CloseComPort();
  ComNumber_ = Value;
  Tracing_ = tracing;
  Logging_ = logging;
  if (PortState_ == psClosed) {
    OpenComPort();
    Dispatcher_->RestoreTriggers(triggers);
  } else {
    OpenPending = true;
  }
}

void TApdCustomComPort::ApplyLineSettings() {
  if (Dispatcher_ != nullptr && PortState_ == psOpen)
    CheckResult(Dispatcher_->ApplyLineSettings(static_cast<Cardinal>(Baud_), Parity_, StopBits_, DataBits_));
}

void TApdCustomComPort::SetBaud(Integer Value) {
  if (Value == Baud_ && !Force) return;
  Baud_ = Value;
  ApplyLineSettings();
}

void TApdCustomComPort::SetParity(TParity Value) {
  if (Value == Parity_ && !Force) return;
  Parity_ = Value;
  ApplyLineSettings();
}

void TApdCustomComPort::SetDataBits(Word Value) {
  if (Value == DataBits_ && !Force) return;
  DataBits_ = Value;
  ApplyLineSettings();
}

void TApdCustomComPort::SetStopBits(Word Value) {
  if (Value == StopBits_ && !Force) return;
  StopBits_ = Value;
  ApplyLineSettings();
}

void TApdCustomComPort::SetInSize(Word Value) {
  if (Value == InSize_ && !Force) return;
  InSize_ = Value;
  if (Dispatcher_ != nullptr && PortState_ == psOpen) CheckResult(Dispatcher_->SizeQueues(InSize_, OutSize_));
}

void TApdCustomComPort::SetOutSize(Word Value) {
  if (Value == OutSize_ && !Force) return;
  OutSize_ = Value;
  if (Dispatcher_ != nullptr && PortState_ == psOpen) CheckResult(Dispatcher_->SizeQueues(InSize_, OutSize_));
}

void TApdCustomComPort::SetDTR(bool Value) {
  if (Dispatcher_ == nullptr || PortState_ != psOpen) {
    DTR_ = Value;
    return;
  }
  Integer result = Dispatcher_->SetDTRLine(Value);
  CheckResult(result);
  if (result == 0) DTR_ = Value;
}

void TApdCustomComPort::SetRTS(bool Value) {
  if (Dispatcher_ == nullptr || PortState_ != psOpen) {
    RTS_ = Value;
    return;
  }
  Integer result = Dispatcher_->SetRTSLine(Value);
  CheckResult(result);
  if (result == 0) RTS_ = Value;
}

void TApdCustomComPort::ApplyHWFlow() {
  if (Dispatcher_ == nullptr || PortState_ != psOpen) return;
  CheckResult(Dispatcher_->SetHardwareFlow(BufferFull_, BufferResume_, static_cast<Word>(HWFlowOptions_.Bits())));
}

void TApdCustomComPort::ApplySWFlow() {
  if (Dispatcher_ == nullptr || PortState_ != psOpen) return;
  if (SWFlowOptions_ == swfNone)
    CheckResult(Dispatcher_->SoftwareFlowOff());
  else
    CheckResult(Dispatcher_->SetSoftwareFlow(BufferFull_, BufferResume_, static_cast<Word>(SWFlowOptions_)));
}

void TApdCustomComPort::SetHWFlowOptions(THWFlowOptionSet Value) {
  if (Value == HWFlowOptions_ && !Force) return;
  HWFlowOptions_ = Value;
  if (!Value.Empty()) {
    if (BufferFull_ == 0 || BufferFull_ > InSize_) BufferFull_ = static_cast<Word>(InSize_ * 9 / 10);
    if (BufferResume_ == 0 || BufferResume_ > BufferFull_) BufferResume_ = static_cast<Word>(InSize_ / 10);
  }
  if (Value.Contains(hwfUseRTS) || Value.Contains(hwfRequireCTS)) RS485Mode_ = false;
  ApplyHWFlow();
}

void TApdCustomComPort::SetSWFlowOptions(TSWFlowOptions Value) {
  if (Value == SWFlowOptions_ && !Force) return;
  SWFlowOptions_ = Value;
  if (Value != swfNone) {
    if (BufferFull_ == 0 || BufferFull_ > InSize_) BufferFull_ = static_cast<Word>(InSize_ * 3 / 4);
    if (BufferResume_ == 0 || BufferResume_ > BufferFull_) BufferResume_ = static_cast<Word>(InSize_ / 4);
  }
  ApplySWFlow();
}

void TApdCustomComPort::SetXOnChar(char Value) {
  if (Value == XOnChar_ && !Force) return;
  XOnChar_ = Value;
  if (Dispatcher_ != nullptr && PortState_ == psOpen) CheckResult(Dispatcher_->SetXOnXOffChars(XOnChar_, XOffChar_));
}

void TApdCustomComPort::SetXOffChar(char Value) {
  if (Value == XOffChar_ && !Force) return;
  XOffChar_ = Value;
  if (Dispatcher_ != nullptr && PortState_ == psOpen) CheckResult(Dispatcher_->SetXOnXOffChars(XOnChar_, XOffChar_));
}

void TApdCustomComPort::SetBufferFull(Word Value) {
  BufferFull_ = Value > InSize_ ? static_cast<Word>(InSize_ * 9 / 10) : Value;
  bool saved = Force;
  Force = true;
  SetHWFlowOptions(HWFlowOptions_);
  SetSWFlowOptions(SWFlowOptions_);
  Force = saved;
}

void TApdCustomComPort::SetBufferResume(Word Value) {
  BufferResume_ = Value > BufferFull_ ? static_cast<Word>(BufferFull_ / 10) : Value;
  bool saved = Force;
  Force = true;
  SetHWFlowOptions(HWFlowOptions_);
  SetSWFlowOptions(SWFlowOptions_);
  Force = saved;
}

namespace {

// The state table of the trace and log controls on an open port; Start,
// Dump and the others act on the recorder. Gives the resulting state and
// the dump's result.
template <typename Recorder, typename StartFn, typename DumpFn>
TTraceLogState ApplyRecorderState(Recorder& R, TTraceLogState Current, TTraceLogState Wanted, StartFn Start,
                                  DumpFn Dump, Integer& Result) {
  bool active = Current == tlOn || Current == tlPause;
  switch (Wanted) {
    case tlOff:
      if (active) R.Stop();
      return tlOff;
    case tlOn:
      if (Current == tlPause) {
        R.Resume();
      } else {
        Result = Start();
        if (Result < 0) return Current;
      }
      return tlOn;
    case tlDump:
    case tlAppend:
      if (!active) return tlOff;
      R.Resume();
      Result = Dump(Wanted == tlAppend);
      return tlOff;
    case tlClear:
      if (active) R.Clear();
      return Current;
    case tlPause:
      if (Current != tlOn) return Current;
      R.Pause();
      return tlPause;
  }
  return Current;
}

}  // namespace

void TApdCustomComPort::SetTracing(TTraceLogState Value) {
  if (Dispatcher_ == nullptr || PortState_ != psOpen) {
    Tracing_ = Value > tlOn ? tlOff : Value;
    return;
  }
  if (Value == Tracing_ && !Force) return;
  Integer result = 0;
  {
    TCriticalSection& lock = Dispatcher_->DispatcherLock();
    lock.Enter();
    TTraceRecorder& trace = Dispatcher_->Trace();
    Tracing_ = ApplyRecorderState(
        trace, Tracing_, Value, [&] { return trace.Start(TraceSize_); },
        [&](bool Append) { return trace.Dump(TraceName, Append, TraceHex, TraceAllHex); }, result);
    lock.Leave();
  }
  CheckResult(result);
}

void TApdCustomComPort::SetLogging(TTraceLogState Value) {
  if (Dispatcher_ == nullptr || PortState_ != psOpen) {
    Logging_ = Value > tlOn ? tlOff : Value;
    return;
  }
  if (Value == Logging_ && !Force) return;
  Integer result = 0;
  {
    TCriticalSection& lock = Dispatcher_->DispatcherLock();
    lock.Enter();
    TDispatchLog& log = Dispatcher_->Log();
    std::string device = "COM" + std::to_string(ComNumber_);
    Logging_ = ApplyRecorderState(
        log, Logging_, Value,
        [&] {
          log.Start(LogSize_);
          return 0;
        },
        [&](bool Append) { return log.Dump(LogName, Append, LogHex, LogAllHex, device); }, result);
    lock.Leave();
  }
  CheckResult(result);
}

void TApdCustomComPort::SetTraceSize(Cardinal Value) {
  TraceSize_ = std::min<Cardinal>(Value, 4000000);
  if (Dispatcher_ == nullptr || PortState_ != psOpen || Tracing_ == tlOff) return;
  // A new size starts the trace again (a paused one ends off).
  TTraceLogState previous = Tracing_;
  SetTracing(tlOff);
  SetTracing(previous);
}

void TApdCustomComPort::SetLogSize(Cardinal Value) {
  LogSize_ = std::min<Cardinal>(Value, 16000000);
  if (Dispatcher_ == nullptr || PortState_ != psOpen || Logging_ == tlOff) return;
  TTraceLogState previous = Logging_;
  SetLogging(tlOff);
  SetLogging(previous);
}

void TApdCustomComPort::SetUseEventWord(bool Value) {
  UseEventWord_ = Value;
}

void TApdCustomComPort::SetRS485Mode(bool Value) {
  if (Value == RS485Mode_ && !Force) return;
  RS485Mode_ = Value;
  if (Dispatcher_ == nullptr || PortState_ != psOpen) return;
  Dispatcher_->SetRS485Mode(Value);
  if (Value) {
    HWFlowOptions_.Exclude(hwfUseRTS);
    HWFlowOptions_.Exclude(hwfRequireCTS);
    RTS_ = false;
  }
}
