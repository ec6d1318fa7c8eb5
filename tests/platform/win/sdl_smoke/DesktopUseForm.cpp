// A form used the way a person uses one, for the desktop backend under a
// virtual X server without a window manager: a button and a check box with
// Alt+letter mnemonics, a control that shows what is typed into it with a
// popup menu of its own, and close handlers. It writes where to click
// (ready file) and what it saw (state file); SIGTERM ends it, a deadline
// too, so that it never outlives a broken run. With "mdi" it is an MDI frame
// whose maximised child is worked from the frame's menu bar instead.
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/Controls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Timer.h"
#include "platform/forms/Forms.h"
#include "platform/forms/FormsStartup.h"
#include "platform/forms/Menus.h"
#include "platform/win/SdlDisplay.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"

extern "C" const char* __lsan_default_options() {
  return "suppressions=" VXN_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

constexpr int kDeadlineMs = 60000;

struct State {
  std::string Dir;
  int Apply = 0;
  bool Check = false;
  int First = 0;
  std::string Text;
  int CloseQuery = 0;
  int Closed = 0;
  int Child = -1;  // the MDI child's window state, while it exists
  int ChildClosed = 0;

  void Save() const {
    std::string tmp = Dir + "/state.tmp";
    {
      std::ofstream out(tmp);
      out << "apply=" << Apply << "\ncheck=" << Check << "\nfirst=" << First << "\ntext=" << Text
          << "\nclosequery=" << CloseQuery << "\nclosed=" << Closed << "\nchild=" << Child
          << "\nchildclosed=" << ChildClosed << "\n";
    }
    std::rename(tmp.c_str(), (Dir + "/state").c_str());
  }
};
State g_state;

class TEcho : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void MouseDown(TMouseButton, TShiftState, Integer, Integer) override { SetFocus(); }
  void KeyPress(char32_t& Key) override {
    if (Key >= 0x20 && Key < 0x7F) g_state.Text += static_cast<char>(Key);
    g_state.Save();
    Invalidate();
  }
  // Letters are typed here, not taken as the buttons' mnemonics.
  void WndProc(TMessage& Message) override {
    if (Message.Msg == win::WM_GETDLGCODE) {
      Message.Result = win::DLGC_WANTCHARS;
      return;
    }
    TCustomControl::WndProc(Message);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(ClientRect());
    Canvas()->TextOut(6, 10, "Typed: " + g_state.Text);
  }
};

struct Handlers {
  TCheckBox* Check = nullptr;
  void Apply(TObject*) {
    ++g_state.Apply;
    g_state.Save();
  }
  void Checked(TObject*) {
    g_state.Check = Check->Checked();
    g_state.Save();
  }
  void First(TObject*) {
    ++g_state.First;
    g_state.Save();
  }
  void Query(TObject*, bool& CanClose) {
    ++g_state.CloseQuery;
    g_state.Save();
    CanClose = true;
  }
  void Close(TObject*, TCloseAction&) {
    ++g_state.Closed;
    g_state.Save();
  }
  void Deadline(TObject*) { Application->Terminate(); }
};

// An MDI frame with a menu and a maximised child whose buttons sit in the
// frame's menu bar; the child's state is written as it changes.
struct MdiHandlers {
  TForm* Child = nullptr;
  void Poll(TObject*) {
    int now = Child ? static_cast<int>(Child->WindowState()) : -1;
    if (now != g_state.Child) {
      g_state.Child = now;
      g_state.Save();
    }
  }
  void ChildClose(TObject*, TCloseAction& Action) {
    Action = caFree;
    Child = nullptr;
    ++g_state.ChildClosed;
    g_state.Save();
  }
  void Deadline(TObject*) { Application->Terminate(); }
};

void RunMdi() {
  MdiHandlers handlers;
  auto* frame = new TForm(nullptr);
  frame->SetFormStyle(fsMDIForm);
  frame->SetCaption("MDI use");
  frame->SetBounds(60, 60, 520, 360);
  frame->AfterConstruction();
  Application->SetMainForm(frame);
  auto* menu = new TMainMenu(frame);
  auto* file = new TMenuItem(frame);
  file->SetCaption("&File");
  menu->Items()->Add(file);
  menu->AttachToForm(frame);
  frame->Show();
  auto* child = new TForm(frame);
  child->SetFormStyle(fsMDIChild);
  child->SetCaption("Doc");
  child->SetBounds(20, 20, 240, 160);
  child->AfterConstruction();
  child->SetWindowState(wsMaximized);
  handlers.Child = child;
  child->OnClose = TCloseEvent(&handlers, &MdiHandlers::ChildClose);
  auto* poll = new TTimer(frame);
  poll->SetInterval(100);
  poll->SetOnTimer(TNotifyEvent(&handlers, &MdiHandlers::Poll));
  auto* deadline = new TTimer(frame);
  deadline->SetInterval(kDeadlineMs);
  deadline->SetOnTimer(TNotifyEvent(&handlers, &MdiHandlers::Deadline));
  Application->ProcessMessages();
  handlers.Poll(nullptr);
  {
    // The bar's row lies right above the client area; the buttons end it.
    win::RECT client;
    win::GetClientRect(frame->Handle(), &client);
    win::MapWindowPoints(frame->Handle(), nullptr, reinterpret_cast<win::POINT*>(&client), 2);
    const int row = win::GetSystemMetrics(win::SM_CYMENU), y = client.top - row / 2;
    const int bw = win::GetSystemMetrics(win::SM_CXMENUSIZE) - 2;
    const int close = client.right - 2 - bw / 2, restore = close - bw - 2;
    std::ofstream ready(g_state.Dir + "/ready.tmp");
    ready << "close " << close << " " << y << "\nrestore " << restore << " " << y << "\nicon " << client.left + 8
          << " " << y << "\ncaption " << client.left + 20 + 100 << " " << client.top + 20 + 10 << "\n";
  }
  std::rename((g_state.Dir + "/ready.tmp").c_str(), (g_state.Dir + "/ready").c_str());
  Application->Run();
  delete frame;
}

win::POINT Centre(TWinControl* c) {
  win::RECT r;
  win::GetWindowRect(c->Handle(), &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: sdl_desktop_use <directory> [mdi]\n");
    return 2;
  }
  g_state.Dir = argv[1];
  InitializeForms();
  const char* backend = win::InstallDisplayForEnvironment();
  if (std::string(backend) != "sdl") {
    std::fprintf(stderr, "display backend is %s, not sdl\n", backend);
    return 1;
  }
  if (argc > 2 && std::string(argv[2]) == "mdi") {
    RunMdi();
    win::InstallDisplay(nullptr);
    return 0;
  }
  Handlers handlers;
  {
    auto* form = new TForm(nullptr);
    form->AfterConstruction();
    form->SetCaption("Desktop use");
    form->SetBounds(60, 60, 420, 260);
    auto* apply = new TButton(form);
    apply->SetParent(form);
    apply->SetBounds(20, 20, 140, 36);
    apply->SetCaption("&Apply");
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    check->SetBounds(200, 28, 140, 20);
    check->SetCaption("&Check");
    auto* echo = new TEcho(form);
    echo->SetParent(form);
    echo->SetBounds(20, 80, 360, 36);
    auto* menu = new TPopupMenu(form);
    auto* first = new TMenuItem(form);
    first->SetCaption("&First");
    menu->Items()->Add(first);
    echo->SetPopupMenu(menu);
    auto* deadline = new TTimer(form);
    deadline->SetInterval(kDeadlineMs);
    handlers.Check = check;
    apply->OnClick = TNotifyEvent(&handlers, &Handlers::Apply);
    check->OnClick = TNotifyEvent(&handlers, &Handlers::Checked);
    first->OnClick = TNotifyEvent(&handlers, &Handlers::First);
    form->OnCloseQuery = TCloseQueryEvent(&handlers, &Handlers::Query);
    form->OnClose = TCloseEvent(&handlers, &Handlers::Close);
    deadline->SetOnTimer(TNotifyEvent(&handlers, &Handlers::Deadline));
    form->Show();
    Application->ProcessMessages();
    g_state.Save();
    {
      win::POINT e = Centre(echo);
      std::ofstream ready(g_state.Dir + "/ready.tmp");
      ready << "echo " << e.x << " " << e.y << "\n";
    }
    std::rename((g_state.Dir + "/ready.tmp").c_str(), (g_state.Dir + "/ready").c_str());
    Application->SetMainForm(form);
    Application->Run();
    delete form;
  }
  win::InstallDisplay(nullptr);
  return 0;
}
