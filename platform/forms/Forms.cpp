#include "platform/forms/Forms.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "platform/forms/CustomForms.h"
#include "platform/forms/FormsPrivate.h"
#include "platform/forms/MessageDialogs.h"
#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiText.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/TerminationSignals.h"
#include "platform/rtl/OwnedObject.h"
#include "platform/win/GdiScopes.h"
#include "platform/rtl/SystemCalls.h"

using namespace win;

// ---------------------------------------------------------------------------
// Hidden utility windows.

namespace {

constexpr const char* kUtilWindowClass = "TPUtilWindow";

std::unordered_map<HWND, TWndMethod>& UtilWindows() {
  static std::unordered_map<HWND, TWndMethod> map;
  return map;
}

LRESULT UtilWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& map = UtilWindows();
  auto it = map.find(hwnd);
  if (it == map.end()) return DefWindowProc(hwnd, msg, wParam, lParam);
  TWndMethod method = it->second;
  TMessage message{msg, wParam, lParam, 0};
  try {
    method(message);
  } catch (...) {
    if (Application) Application->HandleException(nullptr);
  }
  return message.Result;
}

TMessageBoxHook& MessageBoxHook() {
  static TMessageBoxHook hook;
  return hook;
}

// Without a hook the application's boxes are the message dialogs' boxes.
int DefaultMessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  return ::MessageBox(Text, Caption, Flags);
}

// Posted to the application window for SIGTERM, SIGINT and SIGHUP.
constexpr UINT kTerminationSignalMessage = CM_BASE + 0x100;

constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;

}  // namespace

HWND AllocateHWnd(TWndMethod Method) {
  WNDCLASSEX existing;
  if (!GetClassInfoEx(nullptr, kUtilWindowClass, &existing)) {
    WNDCLASSEX wc;
    wc.lpfnWndProc = &UtilWindowProc;
    wc.lpszClassName = kUtilWindowClass;
    RegisterClassEx(&wc);
  }
  HWND wnd = CreateWindowEx(WS_EX_TOOLWINDOW, kUtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            nullptr, nullptr);
  if (!wnd) throw EOutOfResources("Error creating window");
  if (Method) UtilWindows()[wnd] = Method;
  return wnd;
}

void DeallocateHWnd(HWND Wnd) {
  UtilWindows().erase(Wnd);
  DestroyWindow(Wnd);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook Hook) {
  TMessageBoxHook old = MessageBoxHook();
  MessageBoxHook() = std::move(Hook);
  return old;
}

// ---------------------------------------------------------------------------
// What the controls ask of the application.

void forms::ApplicationHandleControlException(TObject* Sender) {
  if (Application) Application->HandleException(Sender);
}

void forms::ApplicationHintMouseMessage(TControl* Control, TMessage& Message) {
  if (Application) Application->HintMouseMessage(Control, Message);
}

void forms::ApplicationControlDestroyed(TControl* Control) {
  if (Application) Application->ControlDestroyed(Control);
  if (!Screen) return;
  if (Screen->ActiveControl() == Control) Screen->SetActiveControl(nullptr);
  for (Integer i = 0; i < Screen->FormCount(); ++i) Screen->Forms(i)->ControlDestroyed(Control);
}

namespace {

// Every control of the window hears where the focus went (the default push
// button's frame follows it).
void NotifyFocusChanged(TWinControl* Parent, TWinControl* Focused) {
  for (Integer i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    c->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Focused));
    if (auto* w = dynamic_cast<TWinControl*>(c)) NotifyFocusChanged(w, Focused);
  }
}

}  // namespace

void forms::ScreenFocusChanged(TWinControl* Control) {
  TWinControl* top = Control;
  while (top->Parent()) top = top->Parent();
  NotifyFocusChanged(top, Control);
  if (TForm* form = GetParentForm(Control)) form->SetFocusedControl(Control);
  if (!Screen || Screen->ActiveControl() == Control) return;
  Screen->SetActiveControl(Control);
  Screen->OnActiveControlChange(Screen);
}

bool forms::FocusEntersControl(TWinControl* Control) {
  TForm* form = GetParentForm(Control);
  return !form || form->FocusEntering(Control);
}

bool forms::FocusExitsControl(TWinControl* Control, HWND NewFocus) {
  TForm* form = GetParentForm(Control);
  return !form || form->FocusLeaving(Control, NewFocus);
}

HCURSOR CursorHandle(TCursor Cursor) { return Screen ? Screen->Cursors(Cursor) : LoadCursor(nullptr, IDC_ARROW); }

// ---------------------------------------------------------------------------
// THintWindow

VXN_IMPLEMENT_CLASS(THintWindow, TCustomControl)

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(clInfoBk);
  Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WndParent = nullptr;
  Params.WindowClassStyle |= CS_SAVEBITS;
}

// The text keeps kHintMargin from the left and top of the client area; the
// window is kHintExtraWidth wider and kHintExtraHeight higher than the text
// (the border included).
constexpr Integer kHintMargin = 2;
constexpr Integer kHintExtraWidth = 6;
constexpr Integer kHintExtraHeight = 6;

TRect THintWindow::CalcHintRect(Integer MaxWidth, const std::string& AHint) {
  RECT r{0, 0, MaxWidth, 0};
  WindowDc dc(nullptr);
  ObjectSelection font(dc, Screen->HintFont()->Handle());
  DrawText(dc, AHint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  return {0, 0, r.right + kHintExtraWidth, r.bottom + kHintExtraHeight};
}

void THintWindow::ActivateHint(const TRect& Rect, const std::string& AHint) {
  SetCaption(AHint);
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  HandleNeeded();
  SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_NOACTIVATE);
  SetVisible(true);
  Invalidate();
}

void THintWindow::ReleaseHandle() {
  SetVisible(false);
  DestroyHandle();
}

void THintWindow::Paint() {
  HDC dc = Canvas()->Handle();
  TRect c = ClientRect();
  RECT r{c.Left + kHintMargin, c.Top + kHintMargin, c.Right, c.Bottom};
  ObjectSelection font(dc, Screen->HintFont()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Screen->HintFont()->GetColor()));
  std::string text = Caption();
  DrawText(dc, text.c_str(), -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------
// TApplication

namespace {

// A control's hint, or its nearest parent's when it has none.
std::string HintOf(TControl* Control) {
  for (TControl* c = Control; c; c = c->Parent())
    if (!c->GetHint().empty()) return c->GetHint();
  return "";
}

}  // namespace

VXN_IMPLEMENT_CLASS(TApplication, TComponent)

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), Icon_(new TIcon) {
  Icon_->OnChange = TNotifyEvent(this, &TApplication::IconChanged);
}

// The forms' captions (and the display's title bars) show the program's icon.
void TApplication::IconChanged(TObject*) {
  auto icon = reinterpret_cast<LPARAM>(Icon_->Handle());
  if (Handle_) SendMessage(Handle_, WM_SETICON, ICON_BIG, icon);
  if (Screen)
    for (Integer i = 0; i < Screen->FormCount(); ++i)
      if (TForm* f = Screen->Forms(i); f->HandleAllocated()) SendMessage(f->Handle(), WM_SETICON, ICON_BIG, icon);
}

TApplication::~TApplication() {
  Destroying();
  DestroyComponents();
  if (HintWindow_) {
    HintWindow_ = nullptr;
  }
  if (Handle_) {
    HWND wnd = Handle_;
    Handle_ = nullptr;
    DestroyWindow(wnd);
  }
}

LRESULT TApplication::AppWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!Application || Application->Handle_ != hwnd) {
    // The window's first messages arrive before CreateWindowEx returns.
    if (Application && !Application->Handle_ && msg == WM_NCCREATE) Application->Handle_ = hwnd;
    if (!Application || Application->Handle_ != hwnd) return DefWindowProc(hwnd, msg, wParam, lParam);
  }
  TMessage message{msg, wParam, lParam, 0};
  try {
    Application->WndProc(message);
  } catch (...) {
    Application->HandleException(Application);
  }
  return message.Result;
}

HWND TApplication::Handle() {
  if (!Handle_) {
    WNDCLASSEX existing;
    if (!GetClassInfoEx(nullptr, "TApplication", &existing)) {
      WNDCLASSEX wc;
      wc.lpfnWndProc = &TApplication::AppWindowProc;
      wc.lpszClassName = "TApplication";
      RegisterClassEx(&wc);
    }
    HWND wnd = CreateWindowEx(WS_EX_TOOLWINDOW, "TApplication", Title().c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, nullptr, nullptr);
    if (!wnd) throw EOutOfResources("Error creating window");
    Handle_ = wnd;
    if (!Icon_->Empty()) SendMessage(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon_->Handle()));
  }
  return Handle_;
}

void TApplication::Initialize() { Handle(); }

std::string TApplication::ExeName() const {
  std::string path;
  sys::ReadLink("/proc/self/exe", path);
  return path;
}

std::string TApplication::Title() const {
  if (!Title_.empty()) return Title_;
  return ChangeFileExt(ExtractFileName(ExeName()), "");
}

void TApplication::SetTitle(const std::string& Value) {
  if (Title_ == Value) return;
  Title_ = Value;
  if (Handle_) SetWindowText(Handle_, Value.c_str());
}

void TApplication::WndProc(TMessage& Message) {
  for (size_t i = Hooks_.size(); i-- > 0;)
    if (i < Hooks_.size() && Hooks_[i](Message)) return;
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == kHintShowTimer || Message.WParam == kHintHideTimer) {
        HintTimerExpired();
        return;
      }
      break;
    case WM_CLOSE:
      if (MainForm_) MainForm_->Perform(WM_CLOSE, 0, 0);
      return;
    case kTerminationSignalMessage:
      // The close queries and OnClose run (a serial port is let go); the
      // loop ends even when the form would rather stay.
      if (MainForm_) MainForm_->Perform(WM_CLOSE, 0, 0);
      Terminate();
      return;
    case WM_NCDESTROY: {
      // Destroyed from outside (a test tearing down every window): the next
      // use makes a new one.
      HWND wnd = Handle_;
      Handle_ = nullptr;
      HintTimerRunning_ = false;
      Message.Result = DefWindowProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
  }
  Message.Result = DefWindowProc(Handle_, Message.Msg, Message.WParam, Message.LParam);
}

void TApplication::HookMainWindow(TWindowHook Hook) {
  if (std::find(Hooks_.begin(), Hooks_.end(), Hook) == Hooks_.end()) Hooks_.push_back(Hook);
}

void TApplication::UnhookMainWindow(TWindowHook Hook) {
  auto it = std::find(Hooks_.begin(), Hooks_.end(), Hook);
  if (it != Hooks_.end()) Hooks_.erase(it);
}

TComponent* TApplication::CreateFormInstance(TClass InstanceClass) {
  OwnedObject<TComponent> made(CreateComponent(InstanceClass, this));
  if (auto* dm = dynamic_cast<TDataModule*>(made.get()))
    dm->AfterConstruction();
  else if (auto* form = dynamic_cast<TForm*>(made.get()))
    form->AfterConstruction();
  TComponent* instance = made.release();
  if (!MainForm_)
    if (auto* w = dynamic_cast<TWinControl*>(instance); w && !w->Parent()) MainForm_ = w;
  return instance;
}

bool TApplication::Active() const { return GetActiveWindow() != nullptr; }

void TApplication::Minimize() {
  if (MainForm_ && MainForm_->HandleAllocated()) ShowWindow(MainForm_->Handle(), SW_MINIMIZE);
  OnMinimize(this);
}

void TApplication::Restore() {
  if (MainForm_ && MainForm_->HandleAllocated()) ShowWindow(MainForm_->Handle(), SW_RESTORE);
  OnRestore(this);
}

// The loop ---------------------------------------------------------------------------

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) {
    wnd = Msg.hwnd;
    // The nearest control of ours: other windows know nothing of CN_ notices.
    while (wnd && !FindControl(wnd)) wnd = GetParent(wnd);
    if (!wnd) return false;
  } else if (!FindControl(wnd)) {
    return false;
  }
  return SendMessage(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

// The keys of an MDI frame's children: Ctrl+F4 closes the active child,
// Ctrl+F6 and Ctrl+Tab go to the next one (with Shift the previous), while
// the keyboard is in that child and the frame takes input.
bool TApplication::IsMDIMsg(MSG& Msg) {
  if (Msg.message != WM_KEYDOWN && Msg.message != WM_SYSKEYDOWN) return false;
  auto* frame = dynamic_cast<TForm*>(MainForm_);
  if (!frame || frame->FormStyle() != fsMDIForm || !frame->HandleAllocated() || !IsWindowEnabled(frame->Handle()))
    return false;
  TForm* child = frame->ActiveMDIChild();
  if (!child || !child->HandleAllocated() || (Msg.hwnd != child->Handle() && !IsChild(child->Handle(), Msg.hwnd)))
    return false;
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
  WPARAM command = 0;
  switch (Msg.wParam) {
    case VK_F4: command = SC_CLOSE; break;
    case VK_F6:
    case VK_TAB: command = GetKeyState(VK_SHIFT) < 0 ? SC_PREVWINDOW : SC_NEXTWINDOW; break;
    default: return false;
  }
  SendMessage(child->Handle(), WM_SYSCOMMAND, command, 0);
  return true;
}

void TApplication::IsHintMsg(const MSG& Msg) {
  if (!HintActive_ && !HintTimerRunning_) return;
  switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_MOUSEWHEEL:
      CancelHint();
      break;
  }
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    Terminated_ = true;
    return true;
  }
  bool handled = false;
  OnMessage(Msg, handled);
  if (handled) return true;
  IsHintMsg(Msg);
  if (IsMDIMsg(Msg) || IsKeyMsg(Msg)) return true;
  TranslateMessage(&Msg);
  DispatchMessage(&Msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

// The mouse may have left our windows without a message to say so.
void TApplication::DoMouseIdle() {
  POINT p;
  if (!GetCursorPos(&p)) return;
  TControl* control = FindDragTarget({p.x, p.y}, true);
  if (control != MouseControl_) SetMouseControl(control);
  if (!control) CancelHint();
}

void TApplication::SetMouseControl(TControl* Control) {
  TControl* old = MouseControl_;
  MouseControl_ = Control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (Control) Control->Perform(CM_MOUSEENTER, 0, 0);
  SetHint(Control ? GetLongHint(HintOf(Control)) : "");
}

void TApplication::Idle() {
  DoMouseIdle();
  bool done = true;
  try {
    OnIdle(this, done);
  } catch (...) {
    HandleException(this);
  }
  if (done && !Terminated_) WaitMessage();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::Run() {
  Running_ = true;
  Handle();
  // Asked to end by the session, a terminal or kill: the program closes as
  // when the user closes the main form.
  PostOnTerminationSignals(Handle_, kTerminationSignalMessage);
  ScopeExit signalsBack([] { PostOnTerminationSignals(nullptr, 0); });
  if (MainForm_) {
    if (ShowMainForm) MainForm_->SetVisible(true);
    do {
      try {
        HandleMessage();
      } catch (...) {
        HandleException(this);
      }
    } while (!Terminated_);
  }
  Running_ = false;
}

void TApplication::Terminate() { PostQuitMessage(0); }

// Exceptions ---------------------------------------------------------------------------

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
  auto report = [&](Exception& E) {
    if (OnException)
      OnException(Sender, &E);
    else
      ShowException(&E);
  };
  try {
    std::rethrow_exception(current);
  } catch (EAbort&) {
  } catch (Exception& E) {
    report(E);
  } catch (std::exception& e) {
    Exception E(std::string(e.what()));
    report(E);
  } catch (...) {
    Exception E(std::string("Unknown exception"));
    report(E);
  }
}

void TApplication::ShowException(Exception* E) {
  std::string text = E->Message;
  // A sentence ends with a full stop; one that ends in other punctuation is left as it is.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  auto& hook = MessageBoxHook();
  return hook ? hook(Text, Caption, Flags) : DefaultMessageBox(Text, Caption, Flags);
}

// Hints ---------------------------------------------------------------------------------

void TApplication::SetHint(const std::string& Value) {
  if (Hint_ == Value) return;
  Hint_ = Value;
  OnHint(this);
}

void TApplication::SetShowHint(bool Value) {
  if (ShowHint_ == Value) return;
  ShowHint_ = Value;
  if (!Value) {
    CancelHint();
    HintWindow_ = nullptr;
  }
}

THintWindow* TApplication::HintWindow() {
  if (!HintWindow_ && ShowHint_) HintWindow_.reset(new THintWindow(nullptr));
  return HintWindow_.get();
}

void TApplication::StartHintTimer(Integer Pause) {
  StopHintTimer();
  SetTimer(Handle(), kHintShowTimer, static_cast<UINT>(std::max(Pause, 1)), nullptr);
  HintTimerRunning_ = true;
}

void TApplication::StopHintTimer() {
  if (!HintTimerRunning_) return;
  HintTimerRunning_ = false;
  if (Handle_) {
    KillTimer(Handle_, kHintShowTimer);
    KillTimer(Handle_, kHintHideTimer);
  }
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
  TPoint pos;
  try {
    pos = Control->ClientToScreen({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
  } catch (EInvalidOperation&) {
    return;  // not on screen
  }
  HintCursorPos_ = pos;
  if (Control != MouseControl_) SetMouseControl(Control);
  if (Control == HintControl_) return;
  bool wasActive = HintActive_;
  CancelHint();
  if (ShowHint_ && Control->ShowHint() && !HintOf(Control).empty()) {
    HintControl_ = Control;
    StartHintTimer(wasActive ? HintShortPause : HintPause);
  }
}

void TApplication::HintTimerExpired() {
  bool showing = HintActive_;
  StopHintTimer();
  if (showing)
    CancelHint();
  else if (HintControl_)
    ActivateHint(HintCursorPos_);
}

void TApplication::ActivateHint(const TPoint& CursorPos) {
  if (!HintControl_ || !HintWindow()) return;
  THintInfo info;
  info.HintControl = HintControl_;
  info.HintPos = {CursorPos.X, CursorPos.Y + 20};
  info.HintMaxWidth = Screen ? Screen->Width() : 640;
  info.HintColor = HintColor;
  info.CursorRect = HintControl_->ClientRect();
  info.CursorPos = HintControl_->ScreenToClient(CursorPos);
  info.HideTimeout = HintHidePause;
  info.HintStr = GetShortHint(HintOf(HintControl_));
  bool canShow = HintControl_->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  OnShowHint(info.HintStr, canShow, info);
  if (!canShow || info.HintStr.empty()) return;
  HintWindow_->SetColor(info.HintColor);
  TRect r = HintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr);
  r = {info.HintPos.X, info.HintPos.Y, info.HintPos.X + r.Width(), info.HintPos.Y + r.Height()};
  HintWindow_->ActivateHint(r, info.HintStr);
  HintActive_ = true;
  if (info.HideTimeout > 0) {
    SetTimer(Handle(), kHintHideTimer, static_cast<UINT>(info.HideTimeout), nullptr);
    HintTimerRunning_ = true;
  }
}

void TApplication::HideHint() {
  if (HintWindow_ && HintActive_) HintWindow_->ReleaseHandle();
  HintActive_ = false;
}

void TApplication::CancelHint() {
  StopHintTimer();
  HideHint();
  HintControl_ = nullptr;
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (HintControl_ == Control) CancelHint();
  if (MouseControl_ == Control) MouseControl_ = nullptr;
  if (MainForm_ == Control) MainForm_ = nullptr;
}

// ---------------------------------------------------------------------------
// TScreen

VXN_IMPLEMENT_CLASS(TScreen, TComponent)

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner), MenuFont_(new TFont), HintFont_(new TFont) {
  HintFont_->SetColor(clInfoText);
}

TScreen::~TScreen() {
}

void TScreen::SetCursor(TCursor Value) {
  if (Cursor_ == Value) return;
  Cursor_ = Value;
  // The cursor changes at once rather than at the next mouse move.
  win::SetCursor(Cursors(Value == crDefault ? crArrow : Value));
}

HCURSOR TScreen::Cursors(TCursor Index) {
  for (auto& [cursor, handle] : Cursors_)
    if (cursor == Index) return handle;
  const char* system = nullptr;
  switch (Index) {
    case crDefault:
    case crArrow: system = IDC_ARROW; break;
    case crCross: system = IDC_CROSS; break;
    case crIBeam: system = IDC_IBEAM; break;
    case crSizeNESW: system = IDC_SIZENESW; break;
    case crSizeNS: system = IDC_SIZENS; break;
    case crSizeNWSE: system = IDC_SIZENWSE; break;
    case crSizeWE: system = IDC_SIZEWE; break;
    case crUpArrow: system = IDC_UPARROW; break;
    case crHourGlass: system = IDC_WAIT; break;
    case crNo: system = IDC_NO; break;
    case crAppStart: system = IDC_APPSTARTING; break;
    case crHelp: system = IDC_HELP; break;
    case crHandPoint: system = IDC_HAND; break;
    case crSizeAll: system = IDC_SIZEALL; break;
    case crNone: return nullptr;
  }
  HCURSOR handle = nullptr;
  if (system) {
    handle = LoadCursor(nullptr, system);
  } else {
    // Our own shapes (drag, no-drop, splitters, ...) are cursor resources
    // of the program, by number.
    handle = LoadCursor(reinterpret_cast<HINSTANCE>(1),
                        reinterpret_cast<const char*>(static_cast<uintptr_t>(static_cast<uint16_t>(Index))));
  }
  if (!handle) handle = LoadCursor(nullptr, IDC_ARROW);
  Cursors_.emplace_back(Index, handle);
  return handle;
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  for (auto& entry : Cursors_)
    if (entry.first == Index) {
      entry.second = Handle;
      return;
    }
  Cursors_.emplace_back(Index, Handle);
}

Integer TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
Integer TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const {
  RECT r{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right, r.bottom};
}

void TScreen::AddForm(TForm* Form) {
  if (std::find(Forms_.begin(), Forms_.end(), Form) == Forms_.end()) Forms_.push_back(Form);
}

void TScreen::RemoveForm(TForm* Form) {
  auto it = std::find(Forms_.begin(), Forms_.end(), Form);
  if (it != Forms_.end()) Forms_.erase(it);
  if (ActiveForm_ == Form) ActiveForm_ = nullptr;
}

void TScreen::AddDataModule(TDataModule* DataModule) {
  if (std::find(DataModules_.begin(), DataModules_.end(), DataModule) == DataModules_.end())
    DataModules_.push_back(DataModule);
}

void TScreen::RemoveDataModule(TDataModule* DataModule) {
  auto it = std::find(DataModules_.begin(), DataModules_.end(), DataModule);
  if (it != DataModules_.end()) DataModules_.erase(it);
}

// ---------------------------------------------------------------------------
// TMouse

TPoint TMouse::CursorPos() const {
  POINT p;
  GetCursorPos(&p);
  return {p.x, p.y};
}

void TMouse::SetCursorPos(const TPoint& Value) { win::SetCursorPos(Value.X, Value.Y); }

TControl* TMouse::Capture() const { return FindControl(GetCapture()); }

Integer TMouse::WheelScrollLines() const {
  UINT lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return static_cast<Integer>(lines);
}

// ---------------------------------------------------------------------------
// TDataModule

VXN_IMPLEMENT_CREATABLE_CLASS(TDataModule, TComponent)
VXN_PUBLISH(TDataModule) {
  P.Property("OldCreateOrder", &TDataModule::OldCreateOrder).Default(false);
  P.Event("OnCreate", &TDataModule::OnCreate);
  P.Event("OnDestroy", &TDataModule::OnDestroy);
}

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner) {
  if (Screen) Screen->AddDataModule(this);
  AddGlobalRoot(this);
}

TDataModule::~TDataModule() {
  if (!DestroyDone_) {
    DestroyDone_ = true;
    if (Created_) DoDestroy();
  }
  if (Screen) Screen->RemoveDataModule(this);
  RemoveGlobalRoot(this);
}

void TDataModule::BeforeDestruction() {
  if (!DestroyDone_) {
    DestroyDone_ = true;
    if (Created_) DoDestroy();
  }
  TComponent::BeforeDestruction();
}

void TDataModule::AfterConstruction() {
  if (Created_) return;
  if (ClassType() != TDataModule::StaticClass() && !InitInheritedComponent(this, TDataModule::StaticClass()))
    throw EResNotFound(Format(SResNotFound, {ClassName()}));
  Created_ = true;
  DoCreate();
}

void TDataModule::DoCreate() {
  try {
    OnCreate(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TDataModule::DoDestroy() {
  try {
    OnDestroy(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TDataModule::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      "Left", [this](TReader& R) { DesignOffset.X = R.ReadInteger(); },
      [this](TWriter& W) { W.WriteInteger(DesignOffset.X); }, DesignOffset.X != 0);
  Filer->DefineProperty(
      "Top", [this](TReader& R) { DesignOffset.Y = R.ReadInteger(); },
      [this](TWriter& W) { W.WriteInteger(DesignOffset.Y); }, DesignOffset.Y != 0);
  Filer->DefineProperty(
      "Width", [this](TReader& R) { DesignSize.X = R.ReadInteger(); },
      [this](TWriter& W) { W.WriteInteger(DesignSize.X); }, DesignSize.X != 0);
  Filer->DefineProperty(
      "Height", [this](TReader& R) { DesignSize.Y = R.ReadInteger(); },
      [this](TWriter& W) { W.WriteInteger(DesignSize.Y); }, DesignSize.Y != 0);
}

TDataModule* CreateDataModule(TClass InstanceClass, TComponent* AOwner) {
  OwnedObject<TComponent> made(CreateComponent(InstanceClass, AOwner));
  auto* dm = dynamic_cast<TDataModule*>(made.get());
  if (!dm) throw EInvalidOperation(Format("%s is not a data module", {InstanceClass->Name}));
  dm->AfterConstruction();
  made.release();
  return dm;
}

// ---------------------------------------------------------------------------
// The global objects.

// They live as long as the program; the start-up makes them, after the
// classes they use exist, instead of a static initialiser.
TMouse* Mouse = nullptr;
TScreen* Screen = nullptr;
TApplication* Application = nullptr;

void CreateApplicationObjects() {
  if (Application) return;
  Mouse = new TMouse;
  Screen = new TScreen(nullptr);
  Application = new TApplication(nullptr);
}
