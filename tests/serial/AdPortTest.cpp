#include "serial/AdPort.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "serial/AdExcept.h"
#include "serial/AdSelCom.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/win/WinSerial.h"
#include "platform/win/Windows.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SimulatedRadio.h"
#include "tests/support/TempFolder.h"

namespace {

using Clock = std::chrono::steady_clock;

// The radio's side of a read, driven by the port's trigger event the way the
// read dialog is: every reply is collected byte by byte and the next request
// goes out from inside the handler.
class ReadScript : public TObject {
 public:
  explicit ReadScript(TApdComPort* Port) : port(Port) {
    port->SetEvent(&TApdCustomComPort::OnTrigger, TTriggerEvent(this, &ReadScript::Trigger));
  }

  void Start() {
    for (char c : std::string("PROGRAM")) Send({static_cast<Byte>(c)});
    expected = 1;
  }

  void Trigger(TObject*, Word Msg, Word, Word Data) {
    ++notices;
    if (Msg != APW_TRIGGERAVAIL) return;
    announced += Data;
    while (port->InputAvailable()) {
      collected.push_back(static_cast<Byte>(port->ReadInputByte()));
      if (static_cast<int>(collected.size()) == expected) Step();
    }
  }

  void Step() {
    std::vector<Byte> reply;
    reply.swap(collected);
    switch (state) {
      case 0:  // handshake answered
        if (reply[0] != 0x06) return Fail();
        state = 1;
        expected = 16;
        Send({0x02});
        return;
      case 1:  // identity
        model = std::string(reply.begin() + 1, reply.begin() + 5);
        state = 2;
        expected = 1;
        Send({0x06});
        return;
      case 2:  // start acknowledged; first request
      case 4:  // block acknowledged
        if (reply[0] != 0x06) return Fail();
        if (address == 0x1A8) {
          Send({0x45});
          done = true;
          return;
        }
        address = state == 2 ? 0 : address + 8;
        state = 3;
        expected = 12;
        Send({0x52, static_cast<Byte>(address >> 8), static_cast<Byte>(address), 0x08});
        return;
      case 3:  // block
        data.insert(data.end(), reply.begin() + 4, reply.end());
        state = 4;
        expected = 1;
        Send({0x06});
        return;
    }
  }

  void Send(const std::vector<Byte>& bytes) { port->WriteBlock(bytes.data(), static_cast<Integer>(bytes.size())); }
  void Fail() { failed = true; }

  TApdComPort* port;
  int state = 0;
  int expected = 0;
  int address = -8;
  std::vector<Byte> collected;
  std::vector<Byte> data;
  std::string model;
  int notices = 0;
  int announced = 0;
  bool done = false;
  bool failed = false;
};

std::unique_ptr<TApdComPort> MakePort(Word number, TComponent* owner = nullptr) {
  auto port = std::make_unique<TApdComPort>(owner);
  port->SetComNumber(number);
  port->SetBaud(2400);
  port->SetParity(pNone);
  port->SetDataBits(8);
  port->SetStopBits(2);
  return port;
}

class ReadAllBlocks : public ::testing::TestWithParam<int> {};

TEST_P(ReadAllBlocks, ReturnsTheRadiosMemoryExactly) {
  SimulatedRadio radio(23);
  radio.SetPacing(GetParam());
  radio.Start();
  TForm host(nullptr);  // the component sits on a (headless) form, as in the program
  host.AfterConstruction();
  auto port = MakePort(23, &host);
  ReadScript script(port.get());
  port->SetOpen(true);
  ASSERT_TRUE(port->GetOpen());
  script.Start();
  ASSERT_TRUE(PumpUntil([&] { return script.done || script.failed; }, 20000)) << script.data.size();
  EXPECT_FALSE(script.failed);
  EXPECT_EQ(script.model, "N41A");
  EXPECT_EQ(script.data, SimulatedRadio::Pattern(432));
  EXPECT_GT(script.notices, 0);
  // Closing purges what is still on its way, and the output count drops as
  // soon as the output thread takes the bytes, before they reach the line:
  // let the radio have the final 'E' first.
  ASSERT_TRUE(PumpUntil([&] { return port->OutputPending() == 0; }, 2000));
  ASSERT_TRUE(PumpUntil(
      [&] {
        std::vector<uint8_t> got = radio.Received();
        return !got.empty() && got.back() == 0x45;
      },
      5000));
  port->SetOpen(false);
  // A delivery that the dispatch thread is still finishing defers the close
  // to its message.
  EXPECT_TRUE(PumpUntil([&] { return port->PortState() == psClosed; }, 3000));
  EXPECT_TRUE(PumpUntil([&] { return radio.SessionEnded(); }, 2000));
}

INSTANTIATE_TEST_SUITE_P(Pacing, ReadAllBlocks, ::testing::Values(0, 2400));

// Counts the port's open and close notices and its data notices.
class Watcher : public TObject {
 public:
  void Opened(TObject*) { ++opens; }
  void Closed(TObject*) { ++closes; }
  void Avail(TObject*, Word Count) {
    counts.push_back(Count);
    if (closeInside) port->SetOpen(false);
  }
  TApdComPort* port = nullptr;
  bool closeInside = false;
  int opens = 0;
  int closes = 0;
  std::vector<Word> counts;
};

TEST(ComPort, ClosingFromInsideTheHandlerCompletesThroughTheDeferredClose) {
  SimulatedRadio radio(24);
  Watcher w;  // outlives the port, whose destruction still notifies it
  auto port = MakePort(24);
  w.port = port.get();
  w.closeInside = true;
  port->OnPortClose = TNotifyEvent(&w, &Watcher::Closed);
  port->SetEvent(&TApdCustomComPort::OnTriggerAvail, TTriggerAvailEvent(&w, &Watcher::Avail));
  port->SetOpen(true);
  ASSERT_EQ(write(radio.Master(), "xyz", 3), 3);
  ASSERT_TRUE(PumpUntil([&] { return w.closes == 1; }, 3000));
  EXPECT_EQ(w.counts, std::vector<Word>{3});
  ASSERT_TRUE(PumpUntil([&] { return port->PortState() == psClosed; }, 3000));
  EXPECT_FALSE(port->GetOpen());
  EXPECT_EQ(port->Dispatcher(), nullptr);
  // Reopening works on the same device.
  w.closeInside = false;
  port->SetOpen(true);
  ASSERT_EQ(write(radio.Master(), "q", 1), 1);
  EXPECT_TRUE(PumpUntil([&] { return w.counts.size() == 2; }, 3000));
}

TEST(ComPort, StaleTriggerMessageReachesNoHandler) {
  SimulatedRadio radio(25);
  Watcher w;
  auto port = MakePort(25);
  port->SetEvent(&TApdCustomComPort::OnTriggerAvail, TTriggerAvailEvent(&w, &Watcher::Avail));
  port->SetOpen(true);
  TApdWin32Dispatcher* d = port->Dispatcher();
  win::LPARAM wrongGeneration =
      static_cast<win::LPARAM>(((d->Generation() + 1) << 32) | (static_cast<UInt64>(d->Handle()) << 16));
  win::SendMessage(port->ComWindow(), APW_TRIGGERAVAIL, 5, wrongGeneration);
  EXPECT_TRUE(w.counts.empty());
  win::LPARAM right = static_cast<win::LPARAM>((d->Generation() << 32) | (static_cast<UInt64>(d->Handle()) << 16));
  win::SendMessage(port->ComWindow(), APW_TRIGGERAVAIL, 5, right);
  EXPECT_EQ(w.counts, std::vector<Word>{5});
}

TEST(ComPort, DefaultsOfAFreshComponent) {
  TApdComPort port(nullptr);
  EXPECT_EQ(port.GetDeviceLayer(), dlWin32);
  EXPECT_EQ(port.GetComNumber(), 0);
  EXPECT_EQ(port.GetBaud(), 19200);
  EXPECT_TRUE(port.PromptForPort);
  EXPECT_EQ(port.GetParity(), pNone);
  EXPECT_EQ(port.GetDataBits(), 8);
  EXPECT_EQ(port.GetStopBits(), 1);
  EXPECT_EQ(port.GetInSize(), 4096);
  EXPECT_EQ(port.GetOutSize(), 4096);
  EXPECT_TRUE(port.AutoOpen);
  EXPECT_FALSE(port.GetOpen());
  EXPECT_TRUE(port.GetDTR());
  EXPECT_TRUE(port.GetRTS());
  EXPECT_TRUE(port.GetHWFlowOptions().Empty());
  EXPECT_EQ(port.GetSWFlowOptions(), swfNone);
  EXPECT_EQ(port.GetXOnChar(), 17);
  EXPECT_EQ(port.GetXOffChar(), 19);
  EXPECT_EQ(port.GetTraceSize(), 10000u);
  EXPECT_EQ(port.TraceName, "PORT.TRC");
  EXPECT_EQ(port.LogName, "PORT.LOG");
  EXPECT_TRUE(port.GetUseMSRShadow());
  EXPECT_EQ(port.CommNotificationLevel, 10);
  EXPECT_EQ(port.GetTapiMode(), TTapiMode::tmAuto);
  EXPECT_EQ(port.TriggerLength(), 1);
  EXPECT_EQ(port.GetVersion(), "v4.05");
}

TEST(ComPort, FlowThresholdsFollowTheQueueSize) {
  TApdComPort port(nullptr);
  port.SetBufferFull(5000);
  EXPECT_EQ(port.GetBufferFull(), 3686);
  port.SetBufferResume(4000);
  EXPECT_EQ(port.GetBufferResume(), 368);
  TApdComPort hw(nullptr);
  hw.SetHWFlowOptions(THWFlowOptionSet{hwfUseRTS});
  EXPECT_EQ(hw.GetBufferFull(), 3686);
  EXPECT_EQ(hw.GetBufferResume(), 409);
}

TEST(ComPort, OpenFailuresRaiseTheirExceptions) {
  TApdComPort port(nullptr);
  port.PromptForPort = false;
  try {
    port.SetOpen(true);
    FAIL() << "opened without a number";
  } catch (const ENoPortSelected& e) {
    EXPECT_EQ(e.Message, "The ComNumber property of the TApdComPort has not been set");
  }
  EXPECT_FALSE(port.GetOpen());
  EXPECT_EQ(port.PortState(), psClosed);

  setenv("VXN_COM26", "/dev/vxn-no-such-device", 1);
  port.SetComNumber(26);
  EXPECT_THROW(port.SetOpen(true), EBadId);
  unsetenv("VXN_COM26");

  TApdComPort noAuto(nullptr);
  noAuto.AutoOpen = false;
  EXPECT_THROW(noAuto.PurgeInput(), ECommNotOpen);
}

// The text of what opening port Number raised (class E) when the device's
// open fails with Error; the port stays closed.
template <typename E>
std::string OpenFailureText(Word Number, int Error) {
  win::SetSerialOpenFunction([Error](const char*, int) {
    errno = Error;
    return -1;
  });
  auto port = MakePort(Number);
  std::string message;
  try {
    port->SetOpen(true);
  } catch (const E& e) {
    message = e.Message;
  }
  win::SetSerialOpenFunction(nullptr);
  EXPECT_FALSE(port->GetOpen());
  return message;
}

// The user is told which system call failed and why, not only that the
// device is "not functioning".
TEST(ComPort, ADeviceFailureNamesTheCallAndTheSystemsReason) {
  SimulatedRadio radio(25);
  std::string message = OpenFailureText<EInOutError>(25, EMFILE);
  EXPECT_NE(message.find("not functioning"), std::string::npos) << message;
  EXPECT_NE(message.find("open " + radio.SlavePath() + " failed: Too many open files"), std::string::npos) << message;
}

// Each way an open fails tells which device and why.
TEST(ComPort, OpenFailureNamesTheDeviceAndTheReason) {
  struct Case {
    int error;
    const char* reason;  // in the text
    const char* call;    // the system's reason for the failed call
  };
  const Case cases[] = {
      {EACCES, "not allowed to open serial devices", "Permission denied"},
      {EBUSY, "already open", "Device or resource busy"},
      {ENOENT, "doesn't exist", "No such file or directory"},
  };
  for (const Case& c : cases) {
    SimulatedRadio radio(26);
    std::string message = OpenFailureText<Exception>(26, c.error);
    EXPECT_EQ(message.rfind("Cannot open COM26 (" + radio.SlavePath() + "): ", 0), 0u) << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    EXPECT_NE(message.find(c.call), std::string::npos) << message;
  }
  // A number that stands for no device at all.
  TempFolder empty("none");
  win::SetSerialDeviceFolders(empty.Path(), empty.Path());
  auto port = MakePort(26);
  try {
    port->SetOpen(true);
    ADD_FAILURE() << "opened a port that is not there";
  } catch (const EBadId& e) {
    EXPECT_EQ(e.Message, "Cannot open COM26: ie_BadId - Specified comport doesn't exist");
  }
  win::SetSerialDeviceFolders("", "");
}

// After the radio is gone nothing is accepted as if it could still leave;
// the port stays open until its owner closes it.
TEST(ComPort, ALostDeviceRefusesWritesAndPendingOutput) {
  SimulatedRadio radio(30);
  radio.Start();
  auto port = MakePort(30);
  port->SetOpen(true);
  port->WriteBlock("PROGRAM", 7);
  ASSERT_TRUE(PumpUntil([&] { return port->InputAvailable(); }, 5000));
  radio.HangUp();
  ASSERT_TRUE(PumpUntil([&] { return port->Dispatcher()->DeviceLost(); }, 5000));
  try {
    port->WriteBlock("E", 1);
    ADD_FAILURE() << "a write was accepted after the loss";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message.find("not functioning"), std::string::npos) << e.Message;
  }
  EXPECT_THROW(port->OutputPending(), EInOutError);
  // What arrived before the loss can still be read.
  EXPECT_EQ(port->ReadInputByte(), 0x06);
  EXPECT_EQ(port->PortState(), psOpen);
  EXPECT_EQ(port->Dispatcher()->RunningThreadCount(), 2);
  port->SetOpen(false);
  EXPECT_EQ(port->PortState(), psClosed);
}

// Records which events a status message raised, in order.
class StatusWatcher : public TObject {
 public:
  void Status(TObject*, Word Handle) { calls.push_back("Status " + std::to_string(Handle)); }
  void ModemStatus(TObject*) { calls.push_back("ModemStatus"); }
  void LineError(TObject*, Word Error, bool LineBreak) {
    calls.push_back("LineError " + std::to_string(Error) + (LineBreak ? " break" : ""));
  }
  void OutbuffFree(TObject*) { calls.push_back("OutbuffFree"); }
  void OutbuffUsed(TObject*) { calls.push_back("OutbuffUsed"); }
  void OutSent(TObject*) { calls.push_back("OutSent"); }
  std::vector<std::string> calls;
};

TEST(ComPort, AStatusMessageCallsTheHandlerOfItsTriggersKind) {
  SimulatedRadio radio(31);
  StatusWatcher w;
  auto port = MakePort(31);
  using C = TApdCustomComPort;
  port->SetEvent(&C::OnTriggerStatus, TTriggerStatusEvent(&w, &StatusWatcher::Status));
  port->SetEvent(&C::OnTriggerModemStatus, TTriggerModemStatusEvent(&w, &StatusWatcher::ModemStatus));
  port->SetEvent(&C::OnTriggerLineError, TTriggerLineErrorEvent(&w, &StatusWatcher::LineError));
  port->SetEvent(&C::OnTriggerOutbuffFree, TTriggerOutbuffFreeEvent(&w, &StatusWatcher::OutbuffFree));
  port->SetEvent(&C::OnTriggerOutbuffUsed, TTriggerOutbuffUsedEvent(&w, &StatusWatcher::OutbuffUsed));
  port->SetEvent(&C::OnTriggerOutSent, TTriggerOutSentEvent(&w, &StatusWatcher::OutSent));
  port->SetOpen(true);
  TTriggerSave triggers;
  for (Integer kind = 1; kind <= 5; ++kind) triggers.StatusTriggers.push_back({10 + kind, kind, 0, true, false});
  port->Dispatcher()->RestoreTriggers(triggers);

  auto deliver = [&](Word handle) {
    TApdWin32Dispatcher* d = port->Dispatcher();
    w.calls.clear();
    win::SendMessage(port->ComWindow(), APW_TRIGGERSTATUS, handle,
                     static_cast<win::LPARAM>((d->Generation() << 32) | (static_cast<UInt64>(d->Handle()) << 16)));
    return w.calls;
  };
  using Calls = std::vector<std::string>;
  EXPECT_EQ(deliver(11), (Calls{"Status 11", "ModemStatus"}));
  EXPECT_EQ(deliver(12), (Calls{"Status 12", "LineError 0"}));
  EXPECT_EQ(deliver(13), (Calls{"Status 13", "OutbuffFree"}));
  EXPECT_EQ(deliver(14), (Calls{"Status 14", "OutbuffUsed"}));
  EXPECT_EQ(deliver(15), (Calls{"Status 15", "OutSent"}));
  EXPECT_EQ(deliver(99), (Calls{"Status 99"}));  // no such trigger
  // The set goes with the port through a close and comes back when it opens.
  port->SetOpen(false);
  port->SetOpen(true);
  EXPECT_EQ(deliver(13), (Calls{"Status 13", "OutbuffFree"}));
}

TEST(ComPort, OperationWithAutoOpenOpensThePortFirst) {
  SimulatedRadio radio(27);
  auto port = MakePort(27);
  port->PurgeInput();
  EXPECT_TRUE(port->GetOpen());
  EXPECT_EQ(port->PortState(), psOpen);
  TApdWin32Dispatcher* d = port->Dispatcher();
  port->SetOpen(true);
  EXPECT_EQ(port->Dispatcher(), d);
  EXPECT_THROW(port->ReadInputByte(), EBufferIsEmpty);
  EXPECT_EQ(port->OutputPending(), 0);
}

TEST(ComPort, HeldPortIsReportedAsAlreadyOpen) {
  SimulatedRadio radio(28);
  auto first = MakePort(28);
  first->SetOpen(true);
  auto second = MakePort(28);
  EXPECT_THROW(second->SetOpen(true), EAlreadyOpen);
}

TEST(ComPort, TraceAndLogAreDumpedWhenThePortCloses) {
  SimulatedRadio radio(29);
  Watcher w;  // outlives the port
  radio.Start();
  TempFolder dir("port");
  auto port = MakePort(29);
  port->TraceName = dir / "PORT.TRC";
  port->LogName = dir / "PORT.LOG";
  port->SetTracing(tlDump);  // stored as off while closed
  EXPECT_EQ(port->GetTracing(), tlOff);
  port->SetTracing(tlOn);
  port->SetLogging(tlOn);
  // Bytes reach the input ring before their trigger is delivered: wait for
  // the delivery, which is what writes the trigger's log entry.
  port->SetEvent(&TApdCustomComPort::OnTriggerAvail, TTriggerAvailEvent(&w, &Watcher::Avail));
  port->SetOpen(true);
  port->WriteBlock("PROGRAM", 7);
  ASSERT_TRUE(PumpUntil([&] { return !w.counts.empty(); }, 3000));
  ASSERT_TRUE(port->InputAvailable());
  EXPECT_EQ(port->ReadInputByte(), 0x06);
  port->SetOpen(false);
  EXPECT_EQ(port->GetTracing(), tlOff);
  std::ifstream trace(dir / "PORT.TRC");
  std::stringstream traceText;
  traceText << trace.rdbuf();
  EXPECT_EQ(traceText.str(), "Transmit: \nPROGRAM\n\nReceive: \n[06]\n");
  std::ifstream log(dir / "PORT.LOG");
  std::stringstream logText;
  logText << log.rdbuf();
  EXPECT_EQ(logText.str().rfind("PORT v4.05\nCompiler : Unknown\n", 0), 0u) << logText.str();
  EXPECT_NE(logText.str().find("Device: COM29\n"), std::string::npos);
  EXPECT_NE(logText.str().find("Dispatch  WriteCom      00000007  PROGRAM\n"), std::string::npos) << logText.str();
  EXPECT_NE(logText.str().find("Dispatch  ReadCom       00000001  [06]\n"), std::string::npos);
  EXPECT_NE(logText.str().find("Trigger   Avail         00000001  \n"), std::string::npos);
}

// A port without a number on a headless form asks for one: the dialog is
// answered from the idle loop, as a person would answer it while it waits.
struct DialogAnswer {
  enum Kind { ChooseSecondAndOk, PressCancel, CloseWindow };
  Kind kind = ChooseSecondAndOk;
  std::vector<std::string> listed;
  int idles = 0;
  void Idle(TObject*, bool& Done) {
    Done = false;  // never wait for a message in a test
    if (++idles == 2) {
      auto* dialog = dynamic_cast<TComSelectForm*>(Application->FindComponent("ComSelectForm"));
      if (!dialog) return;
      for (Integer i = 0; i < dialog->PortsComboBox->Items()->Count(); ++i)
        listed.push_back(dialog->PortsComboBox->Items()->Strings(i));
      switch (kind) {
        case ChooseSecondAndOk:
          dialog->PortsComboBox->SetItemIndex(1);
          win::SendMessage(dialog->OkBtn->Handle(), win::BM_CLICK, 0, 0);
          break;
        case PressCancel: win::SendMessage(dialog->AbortBtn->Handle(), win::BM_CLICK, 0, 0); break;
        case CloseWindow: win::SendMessage(dialog->Handle(), win::WM_CLOSE, 0, 0); break;
      }
    }
    if (idles > 500) Application->Terminate();  // a safety net, not part of the behaviour
  }
};

class PromptForPort : public ::testing::TestWithParam<DialogAnswer::Kind> {
 protected:
  void SetUp() override {
    win::SetSerialDeviceFolders(empty_.Path(), empty_.Path());
  }
  void TearDown() override {
    Application->OnIdle = nullptr;
    Application->ResetTerminated();
    win::SetSerialDeviceFolders("", "");
  }
  TempFolder empty_{"prompt"};
};

TEST_P(PromptForPort, OpensTheChosenPortOrRaisesNoPortSelected) {
  SimulatedRadio other(3), radio(12);
  other.Start();
  radio.Start();
  Watcher w;  // outlives the port
  TForm host(nullptr);
  host.AfterConstruction();
  auto* port = new TApdComPort(&host);
  w.port = port;
  port->SetBaud(2400);
  port->SetStopBits(2);
  port->SetEvent(&TApdCustomComPort::OnTriggerAvail, TTriggerAvailEvent(&w, &Watcher::Avail));
  DialogAnswer answer;
  answer.kind = GetParam();
  Application->OnIdle = TIdleEvent(&answer, &DialogAnswer::Idle);

  if (GetParam() == DialogAnswer::ChooseSecondAndOk) {
    port->SetOpen(true);
    EXPECT_EQ(port->GetComNumber(), 12);
    ASSERT_TRUE(port->GetOpen());
    port->WriteBlock("PROGRAM", 7);
    ASSERT_TRUE(PumpUntil([&] { return !w.counts.empty(); }, 3000));
    EXPECT_EQ(port->ReadInputByte(), 0x06);
    EXPECT_EQ(radio.Received(), (std::vector<uint8_t>{'P', 'R', 'O', 'G', 'R', 'A', 'M'}));
    EXPECT_TRUE(other.Received().empty());
  } else {
    EXPECT_THROW(port->SetOpen(true), ENoPortSelected);
    EXPECT_EQ(port->GetComNumber(), 0);
    EXPECT_FALSE(port->GetOpen());
    EXPECT_EQ(port->PortState(), psClosed);
  }
  EXPECT_LT(answer.idles, 500) << "the dialog was never answered";
  EXPECT_EQ(answer.listed, (std::vector<std::string>{"COM3", "COM12"}));
  EXPECT_EQ(Application->FindComponent("ComSelectForm"), nullptr);  // freed after use
}

INSTANTIATE_TEST_SUITE_P(Answers, PromptForPort,
                         ::testing::Values(DialogAnswer::ChooseSecondAndOk, DialogAnswer::PressCancel,
                                           DialogAnswer::CloseWindow));

}  // namespace
