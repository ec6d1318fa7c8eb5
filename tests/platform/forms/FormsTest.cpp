#include "platform/forms/Forms.h"

#include <gtest/gtest.h>

#include <csignal>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/SystemCalls.h"
#include "platform/forms/CustomForms.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/NonClient.h"
#include "platform/win/SysParams.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"

using namespace formstest;

namespace {

class ApplicationTest : public FormsTest {};

struct TThrower {
  void Click(TObject*) { throw EConvertError("'x' is not a valid integer value"); }
  void Abort(TObject*) { throw EAbort("quiet"); }
  void Std(TObject*) { throw std::runtime_error("plain failure!"); }
};

// An exception in a handler is caught at the window procedure and shown in
// the box captioned with the application's title.
TEST_F(ApplicationTest, ExceptionInHandlerIsShownWithTheTitle) {
  Application->SetTitle("VXN-N41/N42");
  THost host;
  auto* c = new TControl(&host);
  c->SetParent(&host);
  c->SetBounds(0, 0, 50, 50);
  TThrower thrower;
  win::HWND h = host.Handle();
  struct Case {
    TNotifyEvent handler;
    std::vector<std::string> boxes;
  } cases[] = {
      {TNotifyEvent(&thrower, &TThrower::Click), {"VXN-N41/N42: 'x' is not a valid integer value."}},
      {TNotifyEvent(&thrower, &TThrower::Abort), {}},
      {TNotifyEvent(&thrower, &TThrower::Std), {"VXN-N41/N42: plain failure!"}},
  };
  for (auto& test : cases) {
    Boxes.clear();
    c->OnClick = test.handler;
    win::SendMessage(h, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(5, 5));
    win::SendMessage(h, win::WM_LBUTTONUP, 0, win::MAKELPARAM(5, 5));
    EXPECT_EQ(Boxes, test.boxes);
  }

  // With OnException the handler decides and no box appears.
  struct Catcher {
    std::vector<std::string> seen;
    TObject* expected = nullptr;
    void OnException(TObject* Sender, Exception* E) {
      seen.push_back(std::string(Sender == expected ? "host" : "other") + ": " + E->Message);
    }
  } catcher;
  catcher.expected = &host;
  Application->OnException = TExceptionEvent(&catcher, &Catcher::OnException);
  Boxes.clear();
  c->OnClick = TNotifyEvent(&thrower, &TThrower::Click);
  win::SendMessage(h, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(5, 5));
  win::SendMessage(h, win::WM_LBUTTONUP, 0, win::MAKELPARAM(5, 5));
  EXPECT_TRUE(Boxes.empty());
  EXPECT_EQ(catcher.seen, std::vector<std::string>{"host: 'x' is not a valid integer value"});
}

struct THookLog {
  std::vector<std::string> seen;
  bool Hook(TMessage& Message) {
    if (Message.Msg >= win::WM_USER && Message.Msg < win::WM_USER + 100) {
      seen.push_back("hook " + std::to_string(Message.Msg - win::WM_USER) + " " + std::to_string(Message.WParam));
      return Message.WParam == 99;
    }
    return false;
  }
  void OnMessage(win::MSG& Msg, bool& Handled) {
    if (Msg.message >= win::WM_USER && Msg.message < win::WM_USER + 100) {
      seen.push_back("loop " + std::to_string(Msg.message - win::WM_USER));
      Handled = Msg.wParam == 7;
    }
  }
};

// The application window is a real window: posted messages wait in the
// queue until the loop runs and then arrive in order, through OnMessage and
// the window hooks.
TEST_F(ApplicationTest, PostedMessagesWaitOnTheApplicationWindow) {
  win::HWND app = Application->Handle();
  ASSERT_TRUE(win::IsWindow(app));
  EXPECT_FALSE(win::IsWindowVisible(app));
  THookLog log;
  Application->HookMainWindow(TWindowHook(&log, &THookLog::Hook));
  Application->HookMainWindow(TWindowHook(&log, &THookLog::Hook));  // once only
  Application->OnMessage = TMessageEvent(&log, &THookLog::OnMessage);
  win::PostMessage(app, win::WM_USER + 1, 10, 0);
  win::PostMessage(app, win::WM_USER + 2, 7, 0);  // OnMessage keeps it from the window
  win::PostMessage(app, win::WM_USER + 3, 99, 0);
  EXPECT_TRUE(log.seen.empty());
  Pump();
  EXPECT_EQ(log.seen, (std::vector<std::string>{"loop 1", "hook 1 10", "loop 2", "loop 3", "hook 3 99"}));
  Application->UnhookMainWindow(TWindowHook(&log, &THookLog::Hook));
  log.seen.clear();
  win::PostMessage(app, win::WM_USER + 4, 0, 0);
  Pump();
  EXPECT_EQ(log.seen, std::vector<std::string>{"loop 4"});
}

struct TCounter {
  int idle = 0;
  int hints = 0;
  void OnIdle(TObject*, bool& Done) {
    ++idle;
    Done = false;
    if (idle == 3) Application->Terminate();
  }
  void OnHint(TObject*) { ++hints; }
};

TEST_F(ApplicationTest, RunUntilTerminated) {
  THost main;
  TCounter counter;
  Application->SetMainForm(&main);
  Application->OnIdle = TIdleEvent(&counter, &TCounter::OnIdle);
  Application->Run();
  Application->SetMainForm(nullptr);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(counter.idle, 3);
  EXPECT_TRUE(main.Visible());
}

// SIGTERM, SIGINT and SIGHUP close the main form as a person would (its
// close query and OnClose run) and end the loop, also when the form would
// rather stay open; the loop wakes for the signal from its wait.
TEST_F(ApplicationTest, TerminationSignalsCloseTheMainFormAndEndTheLoop) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP})
    for (bool refuse : {false, true}) {
      TForm main(nullptr);
      main.AfterConstruction();
      main.SetBounds(100, 100, 300, 200);
      struct Watch {
        int Signal;
        bool Refuse;
        int Idles = 0;
        std::vector<std::string> Log;
        void Idle(TObject*, bool& Done) {
          Done = true;  // wait for a message: the signal must wake the loop
          if (++Idles == 1) ::raise(Signal);
        }
        void Query(TObject*, bool& CanClose) {
          Log.push_back("query");
          CanClose = !Refuse;
        }
        void Close(TObject*, TCloseAction&) { Log.push_back("close"); }
      } watch{signal, refuse, 0, {}};
      main.OnCloseQuery = TCloseQueryEvent(&watch, &Watch::Query);
      main.OnClose = TCloseEvent(&watch, &Watch::Close);
      Application->OnIdle = TIdleEvent(&watch, &Watch::Idle);
      TWinControl* previous = Application->MainForm();
      Application->SetMainForm(&main);
      // Should the signal not wake the wait, this ends the test instead.
      win::UINT_PTR net = win::SetTimer(nullptr, 0, 5000, [](win::HWND, win::UINT, win::UINT_PTR, win::DWORD) {
        Application->Terminate();
      });
      Application->Run();
      win::KillTimer(nullptr, net);
      Application->SetMainForm(previous);
      Application->OnIdle = nullptr;
      EXPECT_TRUE(Application->Terminated());
      EXPECT_LE(watch.Idles, 2) << signal;
      EXPECT_EQ(watch.Log, refuse ? std::vector<std::string>{"query"} : (std::vector<std::string>{"query", "close"}))
          << signal;
      Application->ResetTerminated();
      // Outside Run the signal has its default action again.
      sys::SignalHandler now = nullptr;
      ASSERT_TRUE(sys::CurrentSignalHandler(signal, now));
      EXPECT_EQ(now, SIG_DFL);
    }
}

// Resting on a control with a hint shows the hint window after HintPause,
// not before; it hides again after HintHidePause.
TEST_F(ApplicationTest, HintAppearsAfterThePause) {
  TFakeClockScope clock;
  Application->SetShowHint(true);
  Application->HintPause = 500;
  Application->HintHidePause = 2500;
  TCounter counter;
  Application->OnHint = TNotifyEvent(&counter, &TCounter::OnHint);
  THost host;
  auto* c = new TControl(&host);
  c->SetParent(&host);
  c->SetBounds(10, 10, 80, 20);
  c->SetHint("Port|Choose the serial port");
  c->SetShowHint(true);
  win::HWND h = host.Handle();

  win::SendMessage(h, win::WM_MOUSEMOVE, 0, win::MAKELPARAM(20, 15));
  EXPECT_EQ(Application->Hint(), "Choose the serial port");
  EXPECT_EQ(counter.hints, 1);
  THintWindow* hint = Application->HintWindow();
  ASSERT_NE(hint, nullptr);
  clock.Advance(499);
  Pump();
  EXPECT_FALSE(hint->HandleAllocated() && win::IsWindowVisible(hint->Handle()));
  clock.Advance(1);
  Pump();
  ASSERT_TRUE(hint->HandleAllocated());
  EXPECT_TRUE(win::IsWindowVisible(hint->Handle()));
  EXPECT_EQ(hint->Caption(), "Port");
  EXPECT_EQ(hint->Left(), 120);  // below the cursor at (120, 115)
  clock.Advance(2500);
  Pump();
  EXPECT_FALSE(hint->HandleAllocated() && win::IsWindowVisible(hint->Handle()));

  // A control without ShowHint shows none however long the mouse rests.
  auto* quiet = new TControl(&host);
  quiet->SetParent(&host);
  quiet->SetBounds(10, 100, 80, 20);
  quiet->SetHint("Nothing");
  win::SendMessage(h, win::WM_MOUSEMOVE, 0, win::MAKELPARAM(20, 105));
  EXPECT_EQ(Application->Hint(), "Nothing");
  clock.Advance(1000);
  Pump();
  EXPECT_FALSE(hint->HandleAllocated() && win::IsWindowVisible(hint->Handle()));
}

// The hint window writes in Screen.HintFont, two pixels in from its border,
// and is sized for that font.
TEST_F(ApplicationTest, HintWindowUsesTheHintFontAndItsMargins) {
  TFont saved;
  saved.Assign(Screen->HintFont());
  THintWindow hint(nullptr);
  TRect small = hint.CalcHintRect(400, "Hint");
  Screen->HintFont()->SetSize(20);
  Screen->HintFont()->SetColor(clRed);
  TRect large = hint.CalcHintRect(400, "Hint");
  EXPECT_GT(large.Height(), small.Height() + 10);
  EXPECT_GT(large.Width(), small.Width() + 10);
  hint.ActivateHint(TRect{200, 200, 200 + large.Width(), 200 + large.Height()}, "Hint");
  win::UpdateWindow(hint.Handle());
  win::SurfacePixels s;
  ASSERT_TRUE(win::GetWindowSurface(hint.Handle(), &s));
  int left = s.width, top = s.height, bottom = -1;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      uint32_t p = reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(s.pixels) + y * s.strideBytes)[x];
      if (((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 100) {
        left = std::min(left, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  ASSERT_GE(bottom, 0) << "no text in the hint font's colour";
  EXPECT_GE(left, 1 + 2);  // border, then the margin
  EXPECT_GE(top, 1 + 2);
  EXPECT_LT(bottom, s.height - 1);
  Screen->HintFont()->Assign(&saved);
}

TEST_F(ApplicationTest, AllocatedWindowHandsMessagesToItsMethod) {
  struct Sink {
    std::vector<win::UINT> seen;
    void Proc(TMessage& Message) {
      seen.push_back(Message.Msg);
      Message.Result = 42;
    }
  } sink;
  win::HWND wnd = AllocateHWnd(TWndMethod(&sink, &Sink::Proc));
  ASSERT_TRUE(win::IsWindow(wnd));
  EXPECT_FALSE(win::IsWindowVisible(wnd));
  EXPECT_EQ(win::SendMessage(wnd, win::WM_USER + 9, 0, 0), 42);
  win::PostMessage(wnd, win::WM_USER + 10, 0, 0);
  Pump();
  EXPECT_EQ(sink.seen.back(), win::WM_USER + 10);
  DeallocateHWnd(wnd);
  EXPECT_FALSE(win::IsWindow(wnd));
}

TEST_F(ApplicationTest, ScreenAndMouse) {
  EXPECT_EQ(Screen->Width(), 800);
  EXPECT_EQ(Screen->Height(), 600);
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
  TRect work = Screen->WorkAreaRect();
  EXPECT_GT(work.Width(), 0);
  EXPECT_NE(Screen->Cursors(crDefault), nullptr);
  EXPECT_NE(Screen->Cursors(crDrag), nullptr);
  EXPECT_NE(Screen->Cursors(crDrag), Screen->Cursors(crNoDrop));
  Mouse->SetCursorPos({33, 44});
  EXPECT_EQ(Mouse->CursorPos(), Point(33, 44));
  EXPECT_GT(Mouse->WheelScrollLines(), 0);
  EXPECT_EQ(Mouse->DragThreshold(), 5);
}

// A data module reads its form file: its components, their properties and
// the handlers named there; OnCreate runs once everything is read.
class TTestModule : public TDataModule {
  VXN_DECLARE_CLASS(TTestModule)

 public:
  using TDataModule::TDataModule;
  std::vector<std::string> Log;
  void ModuleCreate(TObject* Sender) {
    Log.push_back("create " + static_cast<TComponent*>(Sender)->Name() + " with " +
                  std::to_string(ComponentCount()) + " components");
  }
  void ModuleDestroy(TObject*) { DestroyedCount()++; }
  static int& DestroyedCount() {
    static int n = 0;
    return n;
  }
};

class TMissingModule : public TDataModule {
  VXN_DECLARE_CLASS(TMissingModule)

 public:
  using TDataModule::TDataModule;
};

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(TTestModule, TDataModule)
VXN_PUBLISH(TTestModule) {
  P.Handler("ModuleCreate", &TTestModule::ModuleCreate);
  P.Handler("ModuleDestroy", &TTestModule::ModuleDestroy);
}
VXN_IMPLEMENT_CREATABLE_CLASS(TMissingModule, TDataModule)

namespace {

const char kModuleText[] =
    "object dmTest: TTestModule\n"
    "  OldCreateOrder = False\n"
    "  OnCreate = ModuleCreate\n"
    "  OnDestroy = ModuleDestroy\n"
    "  Left = 192\n"
    "  Top = 107\n"
    "  Height = 150\n"
    "  Width = 215\n"
    "  object tmr: TDataModule\n"
    "  end\n"
    "end\n";

TEST_F(ApplicationTest, DataModuleCreatedFromItsFormFile) {
  static const TResourceEntry entries[] = {
      {"TTestModule", "FORM", reinterpret_cast<const unsigned char*>(kModuleText), sizeof kModuleText - 1}};
  RegisterResources(entries, 1);
  RegisterClasses({TTestModule::StaticClass(), TDataModule::StaticClass()});

  TTestModule* dm = nullptr;
  Application->CreateForm(TTestModule::StaticClass(), dm);
  ASSERT_NE(dm, nullptr);
  EXPECT_EQ(dm->Name(), "dmTest");
  EXPECT_EQ(dm->Log, std::vector<std::string>{"create dmTest with 1 components"});
  EXPECT_EQ(dm->DesignOffset, Point(192, 107));
  EXPECT_EQ(dm->DesignSize, Point(215, 150));
  EXPECT_NE(dm->FindComponent("tmr"), nullptr);
  EXPECT_EQ(Application->MainForm(), nullptr);  // not a window
  EXPECT_EQ(FindGlobalComponent("dmTest"), dm);
  bool listed = false;
  for (Integer i = 0; i < Screen->DataModuleCount(); ++i) listed |= Screen->DataModules(i) == dm;
  EXPECT_TRUE(listed);

  int before = TTestModule::DestroyedCount();
  dm->Free();
  EXPECT_EQ(TTestModule::DestroyedCount(), before + 1);
  EXPECT_EQ(FindGlobalComponent("dmTest"), nullptr);

  EXPECT_THROW(CreateDataModule<TMissingModule>(nullptr), EResNotFound);
}

// A 16 x 16 icon file: green, with its four left columns see-through.
std::string GreenIconFile() {
  std::string d;
  auto put16 = [&](unsigned v) { d.push_back(static_cast<char>(v & 0xFF)), d.push_back(static_cast<char>(v >> 8)); };
  auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
  const int size = 16, maskBytes = 4 * size, imageBytes = 40 + 4 * size * size + maskBytes;
  put16(0), put16(1), put16(1);
  d.push_back(size), d.push_back(size), d.push_back(0), d.push_back(0);
  put16(1), put16(32), put32(imageBytes), put32(22);
  put32(40), put32(size), put32(2 * size), put16(1), put16(32);
  for (int i = 0; i < 6; ++i) put32(0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) put32(x < 4 ? 0x0000FF00u : 0xFF00FF00u);
  d.append(static_cast<size_t>(maskBytes), '\0');
  return d;
}

// The program's icon is given to every form's window (made before or after
// it was set) and shows in their captions; a cleared icon goes again.
TEST_F(ApplicationTest, TheProgramsIconIsOnTheFormsCaptions) {
  TForm before(nullptr);
  before.AfterConstruction();
  before.SetBounds(50, 50, 200, 120);
  before.Show();
  Pump();
  // How many pixels of the caption's icon box are the icon's green.
  auto greenInTheIconBox = [](TForm& form) {
    int w = 0, h = 0;
    std::vector<uint32_t> screen = win::ComposeScreen(&w, &h);
    win::RECT r;
    win::GetWindowRect(form.Handle(), &r);
    int count = 0;
    for (int y = r.top; y < r.top + win::GetSystemMetrics(win::SM_CYCAPTION) + 4; ++y)
      for (int x = r.left; x < r.left + win::GetSystemMetrics(win::SM_CXSIZE) + 4; ++x)
        if ((screen[static_cast<size_t>(y) * w + x] & 0xFFFFFF) == 0x00FF00) ++count;
    return count;
  };
  EXPECT_EQ(greenInTheIconBox(before), 0);

  std::string file = GreenIconFile();
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), static_cast<Int64>(file.size()));
  stream.SetPosition(0);
  Application->Icon()->LoadFromStream(stream);
  win::HICON icon = Application->Icon()->Handle();
  ASSERT_NE(icon, nullptr);
  win::CursorImage image;
  ASSERT_TRUE(win::GetCursorImage(icon, &image));
  ASSERT_EQ(image.width, 16);
  EXPECT_EQ(image.argb[8 * 16 + 8], 0xFF00FF00u);
  EXPECT_EQ(image.argb[8 * 16 + 1] >> 24, 0u);  // see-through stays see-through
  EXPECT_EQ(reinterpret_cast<win::HICON>(win::SendMessage(before.Handle(), win::WM_GETICON, win::ICON_BIG, 0)), icon);
  TForm after(nullptr);
  after.AfterConstruction();
  after.SetBounds(300, 50, 200, 120);
  after.Show();
  Pump();
  EXPECT_EQ(reinterpret_cast<win::HICON>(win::SendMessage(after.Handle(), win::WM_GETICON, win::ICON_BIG, 0)), icon);
  // Shrunk to the small icon size: 12 of 16 columns green.
  int small = win::GetSystemMetrics(win::SM_CXSMICON);
  EXPECT_EQ(greenInTheIconBox(before), small * small * 12 / 16);
  EXPECT_EQ(greenInTheIconBox(after), small * small * 12 / 16);

  TIcon none;
  Application->Icon()->Assign(&none);
  EXPECT_EQ(win::SendMessage(before.Handle(), win::WM_GETICON, win::ICON_BIG, 0), 0);
  EXPECT_EQ(greenInTheIconBox(before), 0);
}

}  // namespace
