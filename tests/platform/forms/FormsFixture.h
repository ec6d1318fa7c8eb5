// Controls for tests: a top-level host window at a known place on the
// headless screen, children that log the messages they get, and a fixture
// that catches the application's message boxes and clears up afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Display.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

namespace formstest {

// A top-level window standing in for a form.
class THost : public TCustomControl {
 public:
  explicit THost(TComponent* AOwner = nullptr) : TCustomControl(AOwner) {
    ControlStyle += csAcceptsControls;
    SetBounds(100, 100, 300, 200);
  }
  std::vector<win::WPARAM> DialogKeys;
  bool TakeDialogKeys = false;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = win::WS_POPUP | win::WS_VISIBLE | win::WS_CLIPCHILDREN;
    Params.WndParent = nullptr;
  }
  void CMDialogKey(TMessage& Message) override {
    DialogKeys.push_back(Message.WParam);
    if (TakeDialogKeys) {
      Message.Result = 1;
      return;
    }
    TCustomControl::CMDialogKey(Message);
  }
};

// A windowed child that writes the messages of interest to a shared log.
class TLogged : public TCustomControl {
 public:
  TLogged(TComponent* AOwner, std::vector<std::string>* Log, std::string Tag)
      : TCustomControl(AOwner), Log_(Log), Tag_(std::move(Tag)) {
    SetBounds(0, 0, 50, 20);
  }
  win::LRESULT Answer = 0;
  win::LRESULT DlgCode = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (const char* name = Name(Message.Msg); name && Log_) Log_->push_back(Tag_ + " " + name);
    if (Message.Msg >= CN_BASE && Message.Msg < CN_BASE + 0x400 && Message.Msg != CN_KEYDOWN &&
        Message.Msg != CN_CHAR) {
      Message.Result = Answer;
      return;
    }
    if (Message.Msg == win::WM_GETDLGCODE) {
      Message.Result = DlgCode;
      return;
    }
    TCustomControl::WndProc(Message);
  }

 private:
  static const char* Name(win::UINT msg) {
    switch (msg) {
      case CN_COMMAND: return "CN_COMMAND";
      case CN_NOTIFY: return "CN_NOTIFY";
      case CN_DRAWITEM: return "CN_DRAWITEM";
      case CN_MEASUREITEM: return "CN_MEASUREITEM";
      case CN_HSCROLL: return "CN_HSCROLL";
      case CN_VSCROLL: return "CN_VSCROLL";
      case CN_CTLCOLORSTATIC: return "CN_CTLCOLORSTATIC";
      case CN_CTLCOLOREDIT: return "CN_CTLCOLOREDIT";
      case CN_KEYDOWN: return "CN_KEYDOWN";
      case CN_KEYUP: return "CN_KEYUP";
      case CN_CHAR: return "CN_CHAR";
      case CN_SYSKEYDOWN: return "CN_SYSKEYDOWN";
      case win::WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
      case win::WM_KEYDOWN: return "WM_KEYDOWN";
      case win::WM_KEYUP: return "WM_KEYUP";
      case win::WM_CHAR: return "WM_CHAR";
      case win::WM_COMMAND: return "WM_COMMAND";
      default: return nullptr;
    }
  }
  std::vector<std::string>* Log_;
  std::string Tag_;
};

// A logged child of Parent, owned by it.
inline TLogged* LoggedChild(TWinControl& Parent, std::vector<std::string>* Log, std::string Tag) {
  auto* c = new TLogged(&Parent, Log, std::move(Tag));
  c->SetParent(&Parent);
  return c;
}

// The pixel at client point (x, y) of a window on the headless screen, as
// read back from the top-level surface it is drawn into.
inline TColor PixelAt(TWinControl& Control, int x, int y) {
  win::SurfacePixels s;
  EXPECT_TRUE(win::GetWindowSurface(Control.Handle(), &s));
  TPoint origin = Control.ClientToScreen({0, 0});
  win::RECT wr;
  win::GetWindowRect(Control.Handle(), &wr);
  int sx = origin.X - wr.left + x, sy = origin.Y - wr.top + y;
  uint32_t p = reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(s.pixels) + sy * s.strideBytes)[sx];
  return static_cast<TColor>(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

// The colour the screen shows at client point (x, y) of any control, as
// composed from every window's surface.
inline TColor ScreenColorAt(TControl& Control, int x, int y) {
  TPoint p = Control.ClientToScreen({x, y});
  int w = 0, h = 0;
  std::vector<uint32_t> s = win::ComposeScreen(&w, &h);
  uint32_t px = s[static_cast<size_t>(p.Y) * w + p.X];
  return static_cast<TColor>(((px & 0xFF) << 16) | (px & 0xFF00) | ((px >> 16) & 0xFF));
}

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::SetScreenSize(800, 600);
    win::ResetInputState();
    Boxes.clear();
    previousHook_ = SetMessageBoxHook([this](const std::string& Text, const std::string& Caption, win::UINT) {
      Boxes.push_back(Caption + ": " + Text);
      return win::IDOK;
    });
  }

  void TearDown() override {
    Application->OnException = nullptr;
    Application->OnIdle = nullptr;
    Application->OnHint = nullptr;
    Application->OnMessage = nullptr;
    Application->CancelHint();
    Application->SetShowHint(true);
    SetMessageBoxHook(previousHook_);
    Pump();
    Application->ResetTerminated();  // a test's Terminate must not end the next test's modal loops
    win::ResetInputState();
  }

  static void Pump() { Application->ProcessMessages(); }

  static TPoint Center(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }

  std::vector<std::string> Boxes;

 private:
  TMessageBoxHook previousHook_;
};

// A fixture with a host window for the controls under test; the host (and
// every control on it) goes before the fixture clears up.
class HostedTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    host = std::make_unique<THost>();
  }
  void TearDown() override {
    host.reset();
    FormsTest::TearDown();
  }
  template <typename T>
  T* Place(Integer left, Integer top, Integer width, Integer height) {
    auto* c = new T(host.get());
    c->SetParent(host.get());
    c->SetBounds(left, top, width, height);
    return c;
  }
  // Shows the host and lets what that posted run.
  void Show() {
    host->HandleNeeded();
    win::ShowWindow(host->Handle(), win::SW_SHOW);
    Pump();
  }
  static void Key(win::UINT vk, bool shift = false, bool ctrl = false) {
    win::InjectKeyPress(vk, shift, ctrl);
    Pump();
  }
  static void Type(const std::string& s) {
    win::InjectText(s);
    Pump();
  }

  std::unique_ptr<THost> host;
};

// A host of 400 by 300 pixels, room for a few controls side by side.
class SizedHostTest : public HostedTest {
 protected:
  void SetUp() override {
    HostedTest::SetUp();
    host->SetBounds(100, 100, 400, 300);
  }
};

// The colour a property of a part of the current visual style has.
inline TColor ThemeColor(const char16_t* Class, int Part, int State, int Property) {
  win::ScopedTheme theme(Class);
  win::COLORREF c = 0;
  EXPECT_EQ(win::GetThemeColor(theme.get(), Part, State, Property, &c), win::S_OK);
  return static_cast<TColor>(c);
}

// Edits reach the clipboard: each test starts and ends with it empty.
class EditHostTest : public HostedTest {
 protected:
  void SetUp() override {
    HostedTest::SetUp();
    win::ResetClipboard();
  }
  void TearDown() override {
    host.reset();
    win::ResetClipboard();
    HostedTest::TearDown();
  }
};

}  // namespace formstest
