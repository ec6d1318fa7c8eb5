// The com-port component: a form's serial port. It keeps the port's settings
// as published properties, opens and closes the port through a dispatcher that
// exists only while the port is open, moves bytes between its caller and the
// dispatcher's rings, and turns trigger messages into events on the
// user-interface thread through a hidden window of its own.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "serial/AwWin32.h"
#include "platform/rtl/Delegates.h"
#include "serial/OoMisc.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/OwnedObject.h"

VXN_ENUM(TDeviceLayer, dlWin32, dlWinsock)
VXN_ENUM(TParity, pNone, pOdd, pEven, pMark, pSpace)
VXN_ENUM(THWFlowOptions, hwfUseDTR, hwfUseRTS, hwfRequireDSR, hwfRequireCTS)
VXN_ENUM(TSWFlowOptions, swfNone, swfReceive, swfTransmit, swfBoth)
VXN_ENUM(TTraceLogState, tlOff, tlOn, tlDump, tlAppend, tlClear, tlPause)
// Scoped: the forms library has a transparency mode with a member of the
// same name.
enum class TTapiMode { tmNone, tmAuto, tmOn, tmOff };
VXN_ENUM_INFO(TTapiMode, tmNone, tmAuto, tmOn, tmOff)

using THWFlowOptionSet = TSet<THWFlowOptions>;

class TApdCustomComPort;

using TTriggerEvent = TDelegate<void(TObject* CP, Word Msg, Word TriggerHandle, Word Data)>;
using TTriggerAvailEvent = TDelegate<void(TObject* CP, Word Count)>;
using TTriggerDataEvent = TDelegate<void(TObject* CP, Word TriggerHandle)>;
using TTriggerStatusEvent = TDelegate<void(TObject* CP, Word TriggerHandle)>;
using TTriggerTimerEvent = TDelegate<void(TObject* CP, Word TriggerHandle)>;
using TTriggerLineErrorEvent = TDelegate<void(TObject* CP, Word Error, bool LineBreak)>;
using TTriggerModemStatusEvent = TDelegate<void(TObject* CP)>;
using TTriggerOutbuffFreeEvent = TDelegate<void(TObject* CP)>;
using TTriggerOutbuffUsedEvent = TDelegate<void(TObject* CP)>;
using TTriggerOutSentEvent = TDelegate<void(TObject* CP)>;
using TWaitCharEvent = TDelegate<void(TObject* CP, char C)>;

enum TPortState { psClosed, psShuttingDown, psOpen };

// Makes the dispatcher instead of the built-in choice (tests, other layers).
using TDispatcherFactory = std::function<TApdWin32Dispatcher*(TApdCustomComPort* Port)>;

class TApdCustomComPort : public TApdBaseComponent {
  VXN_DECLARE_CLASS(TApdCustomComPort)

 public:
  explicit TApdCustomComPort(TComponent* AOwner);
  ~TApdCustomComPort() override;
  void Assign(TPersistent* Source) override;
  void Loaded() override;

  // Virtual operations, in their slot order.
  virtual TApdWin32Dispatcher* CreateDispatcher();
  virtual void DeviceLayerChanged() {}
  virtual Integer OpenDevice();
  virtual void SetupComWindow(bool Install);
  virtual void EnsurePortNumber();
  virtual void SetUseMSRShadow(bool Value) { (void)Value; }
  virtual void FireTrigger(Word Msg, Word TriggerHandle, Word Data);
  virtual void FireTriggerAvail(Word Count);
  virtual void FireTriggerData(Word TriggerHandle);
  virtual void FireTriggerStatus(Word TriggerHandle);
  virtual void FireTriggerTimer(Word TriggerHandle);
  virtual void UpdateHandlerNeed();
  virtual void FireTriggerLineError(Word Error, bool LineBreak);
  virtual void FireTriggerModemStatus();
  virtual void FireTriggerOutbuffFree();
  virtual void FireTriggerOutbuffUsed();
  virtual void FireTriggerOutSent();
  virtual void FireWaitChar(char C);
  virtual void CloseComPort();
  virtual void YieldToDispatcher();

  void NotifyPortOpen();
  void NotifyPortClose();
  void NotifyPortClosing();
  void OpenComPort();

  // Operations of the callers.
  void PurgeInput();
  void PurgeOutput();
  bool InputAvailable();
  char ReadInputByte();
  void WriteBlock(const void* Block, Integer Length);
  Integer OutputPending();
  Integer TriggerLength() const { return TriggerLength_; }
  void SetTriggerLength(Integer Value);

  // Properties.
  TDeviceLayer GetDeviceLayer() const { return DeviceLayer_; }
  void SetDeviceLayer(TDeviceLayer Value);
  Word GetComNumber() const { return ComNumber_; }
  void SetComNumber(Word Value);
  Integer GetBaud() const { return Baud_; }
  void SetBaud(Integer Value);
  TParity GetParity() const { return Parity_; }
  void SetParity(TParity Value);
  Word GetDataBits() const { return DataBits_; }
  void SetDataBits(Word Value);
  Word GetStopBits() const { return StopBits_; }
  void SetStopBits(Word Value);
  Word GetInSize() const { return InSize_; }
  void SetInSize(Word Value);
  Word GetOutSize() const { return OutSize_; }
  void SetOutSize(Word Value);
  bool GetOpen() const { return Open_; }
  void SetOpen(bool Value);
  bool GetDTR() const { return DTR_; }
  void SetDTR(bool Value);
  bool GetRTS() const { return RTS_; }
  void SetRTS(bool Value);
  THWFlowOptionSet GetHWFlowOptions() const { return HWFlowOptions_; }
  void SetHWFlowOptions(THWFlowOptionSet Value);
  TSWFlowOptions GetSWFlowOptions() const { return SWFlowOptions_; }
  void SetSWFlowOptions(TSWFlowOptions Value);
  char GetXOnChar() const { return XOnChar_; }
  void SetXOnChar(char Value);
  char GetXOffChar() const { return XOffChar_; }
  void SetXOffChar(char Value);
  Word GetBufferFull() const { return BufferFull_; }
  void SetBufferFull(Word Value);
  Word GetBufferResume() const { return BufferResume_; }
  void SetBufferResume(Word Value);
  TTraceLogState GetTracing() const { return Tracing_; }
  void SetTracing(TTraceLogState Value);
  TTraceLogState GetLogging() const { return Logging_; }
  void SetLogging(TTraceLogState Value);
  Cardinal GetTraceSize() const { return TraceSize_; }
  void SetTraceSize(Cardinal Value);
  Cardinal GetLogSize() const { return LogSize_; }
  void SetLogSize(Cardinal Value);
  bool GetUseMSRShadow() const { return true; }
  bool GetUseEventWord() const { return UseEventWord_; }
  void SetUseEventWord(bool Value);
  TTapiMode GetTapiMode() const { return TapiMode_; }
  void SetTapiMode(TTapiMode Value) { TapiMode_ = Value; }
  bool GetRS485Mode() const { return RS485Mode_; }
  void SetRS485Mode(bool Value);

  bool PromptForPort = true;
  bool AutoOpen = true;
  std::string TraceName = "PORT.TRC";
  std::string LogName = "PORT.LOG";
  bool TraceHex = true;
  bool LogHex = true;
  bool TraceAllHex = false;
  bool LogAllHex = false;
  Word CommNotificationLevel = 10;

  TTriggerEvent OnTrigger;
  TTriggerAvailEvent OnTriggerAvail;
  TTriggerDataEvent OnTriggerData;
  TTriggerStatusEvent OnTriggerStatus;
  TTriggerTimerEvent OnTriggerTimer;
  TTriggerLineErrorEvent OnTriggerLineError;
  TTriggerModemStatusEvent OnTriggerModemStatus;
  TTriggerOutbuffFreeEvent OnTriggerOutbuffFree;
  TTriggerOutbuffUsedEvent OnTriggerOutbuffUsed;
  TTriggerOutSentEvent OnTriggerOutSent;
  TNotifyEvent OnPortOpen;
  TNotifyEvent OnPortClose;
  TWaitCharEvent OnWaitChar;

  // Event setters that also recompute whether delivery is needed.
  template <typename E>
  void SetEvent(E TApdCustomComPort::*Field, E Value) {
    this->*Field = Value;
    UpdateHandlerNeed();
  }

  TPortState PortState() const { return PortState_; }
  TApdWin32Dispatcher* Dispatcher() const { return Dispatcher_.get(); }
  win::HWND ComWindow() const { return ComWindow_; }
  // Telephony's device handle for TapiMode tmOn.
  win::HANDLE TapiHandle = nullptr;
  Integer ThreadBoost = 0;
  void SetDispatcherFactory(TDispatcherFactory Factory) { Factory_ = std::move(Factory); }

  // The hidden window's message procedure (class "awComWindow").
  static win::LRESULT ComPortWindowProc(win::HWND Wnd, win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam);

 protected:
  // The dispatcher, opening the port first when AutoOpen allows; raises
  // ECommNotOpen without one.
  TApdWin32Dispatcher* ValidDispatcher();
  void CheckResult(Integer Code);
  void ApplyLineSettings();
  void ApplyHWFlow();
  void ApplySWFlow();
  void FinishDeferredClose();
  // "COM3 (/dev/ttyUSB0)", or "COM3" when the number stands for no device.
  std::string DeviceText() const;
  // The status event, then the event of the trigger's kind.
  void FireStatusKind(Word TriggerHandle);
  // Raises the device-lost error once the device is gone.
  void RaiseIfDeviceLost(TApdWin32Dispatcher* D);
  bool Loading() const;
  bool Designing() const;

 private:
  TDeviceLayer DeviceLayer_ = dlWin32;
  Word ComNumber_ = 0;
  Integer Baud_ = 19200;
  TParity Parity_ = pNone;
  Word DataBits_ = 8;
  Word StopBits_ = 1;
  Word InSize_ = 4096;
  Word OutSize_ = 4096;
  bool Open_ = false;
  bool DTR_ = true;
  bool RTS_ = true;
  THWFlowOptionSet HWFlowOptions_;
  TSWFlowOptions SWFlowOptions_ = swfNone;
  char XOnChar_ = 17;
  char XOffChar_ = 19;
  Word BufferFull_ = 0;
  Word BufferResume_ = 0;
  TTraceLogState Tracing_ = tlOff;
  TTraceLogState Logging_ = tlOff;
  Cardinal TraceSize_ = 10000;
  Cardinal LogSize_ = 10000;
  bool UseEventWord_ = true;
  TTapiMode TapiMode_ = TTapiMode::tmAuto;
  bool RS485Mode_ = false;

  TPortState PortState_ = psClosed;
  OwnedObject<TApdWin32Dispatcher> Dispatcher_;
  win::HWND ComWindow_ = nullptr;
  Integer TriggerLength_ = 1;
  bool Force = false;
  bool ForceOpen = false;
  bool OpenPending = false;
  bool CopyTriggers = false;
  TTriggerSave SavedTriggers;
  TDispatcherFactory Factory_;
};

class TApdComPort : public TApdCustomComPort {
  VXN_DECLARE_CLASS(TApdComPort)

 public:
  explicit TApdComPort(TComponent* AOwner) : TApdCustomComPort(AOwner) {}
};
