#include "platform/forms/Controls.h"

#include <algorithm>
#include <memory>
#include <cstdlib>
#include <unordered_map>

#include "platform/forms/Forms.h"
#include "platform/forms/FormsPrivate.h"
#include "platform/forms/ImgList.h"
#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"

using namespace win;

using namespace forms;

namespace {

std::unordered_map<HWND, TWinControl*>& ControlsByHandle() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

// The control whose window is being made: its first messages arrive before
// CreateWindowEx returns the handle.
TWinControl* CreationControl = nullptr;

}  // namespace

TWinControl* FindControl(HWND Handle) {
  if (!Handle) return nullptr;
  auto& map = ControlsByHandle();
  auto it = map.find(Handle);
  return it == map.end() ? nullptr : it->second;
}

TWinControl* TWinControl::FromHandle(HWND Wnd) { return FindControl(Wnd); }

// The window procedure of every control's window.
win::LRESULT forms::ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(hwnd);
  if (!control && CreationControl) {
    control = CreationControl;
    CreationControl = nullptr;
    control->Handle_ = hwnd;
    ControlsByHandle()[hwnd] = control;
  }
  if (!control) return DefWindowProc(hwnd, msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  try {
    control->WindowProc(message);
  } catch (...) {
    ApplicationHandleControlException(control);
  }
  return message.Result;
}

// ---------------------------------------------------------------------------
// TWinControl

VXN_IMPLEMENT_CLASS(TWinControl, TControl)
VXN_PUBLISH(TWinControl) {
  P.Property("TabOrder", &TWinControl::GetTabOrderProp, &TWinControl::SetTabOrder).Default(-1);
  P.Property("TabStop", &TWinControl::GetTabStopProp, &TWinControl::SetTabStop).Default(false);
  P.Property("DoubleBuffered", &TWinControl::DoubleBuffered).Default(false);
  P.Property("ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground);
  P.Event("OnEnter", &TWinControl::OnEnter);
  P.Event("OnExit", &TWinControl::OnExit);
  P.Event("OnKeyDown", &TWinControl::OnKeyDown);
  P.Event("OnKeyPress", &TWinControl::OnKeyPress);
  P.Event("OnKeyUp", &TWinControl::OnKeyUp);
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) { DefWndProc = &DefWindowProc; }

TWinControl::~TWinControl() {
  Destroying();
  forms::ForgetDockSite(this);
  forms::ForgetDockClient(this);  // while the page it may sit on is still its parent
  if (Parent_) SetParent(nullptr);
  DestroyHandle();
  // Children go with their parent, whoever owns them.
  while (!Controls_.empty()) {
    TControl* child = Controls_.back();
    RemoveControl(child);
    child->Free();
  }
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return Handle_;
}

void TWinControl::HandleNeeded() {
  if (Handle_) return;
  if (Parent_) Parent_->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (ParentWindow_ == Value || Parent_) return;
  if (Handle_) DestroyHandle();
  ParentWindow_ = Value;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = Text_;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle.Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (Visible_) Params.Style |= WS_VISIBLE;
  if (!Enabled_) Params.Style |= WS_DISABLED;
  if (TabStop_) Params.Style |= WS_TABSTOP;
  Params.X = Left_;
  Params.Y = Top_;
  Params.Width = Width_;
  Params.Height = Height_;
  Params.WndParent = Parent_ ? Parent_->Handle_ : ParentWindow_;
  Params.WindowClassStyle = CS_VREDRAW | CS_HREDRAW;
  if (ControlStyle.Contains(csDoubleClicks)) Params.WindowClassStyle |= CS_DBLCLKS;
  Params.WinClassName = ClassName();
  if (BiDiMode() == bdRightToLeft) Params.ExStyle |= WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
  else if (BiDiMode() == bdRightToLeftReadingOnly) Params.ExStyle |= WS_EX_RTLREADING;
  else if (BiDiMode() == bdRightToLeftNoAlign) Params.ExStyle |= WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD))
    throw EInvalidOperation(Format(SParentRequired, {Name()}));
  WNDCLASSEX existing;
  if (!GetClassInfoEx(nullptr, params.WinClassName.c_str(), &existing)) {
    WNDCLASSEX wc;
    wc.style = params.WindowClassStyle;
    wc.lpfnWndProc = &ControlWindowProc;
    wc.lpszClassName = params.WinClassName.c_str();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassEx(&wc);
  }
  CreateWindowHandle(params);
  if (!Handle_) throw EOutOfResources("Error creating window");
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  TWinControl* saved = CreationControl;
  CreationControl = this;
  HWND wnd = CreateWindowEx(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                            Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr, nullptr,
                            Params.Param);
  CreationControl = saved;
  if (wnd && !Handle_) {
    Handle_ = wnd;
    ControlsByHandle()[wnd] = this;
  }
}

void TWinControl::CreateHandle() {
  if (Handle_) return;
  ShowingNotified_ = false;
  CreateWnd();
  // Children that had windows before (or have never had one) come along,
  // stacked as the child list says.
  {
    ControlState += csCreating;
    ScopeExit creating([this] { ControlState -= csCreating; });
    for (TControl* c : Controls_)
      if (auto* w = dynamic_cast<TWinControl*>(c)) {
        w->CreateHandle();
        SetWindowPos(w->Handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
  }
  if (!Parent_ || !Parent_->ControlState.Contains(csCreating)) NotifyShowing();
}

void TWinControl::DestroyChildHandles() {
  for (TControl* c : Controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
}

void TWinControl::DestroyHandle() {
  if (!Handle_) return;
  DestroyChildHandles();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  // The window's text lives on in the control for the next window.
  Text_ = win::GetWindowText(Handle_);
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  ControlState += csDestroyingHandle;
  ShowingNotified_ = false;
  HWND wnd = Handle_;
  DestroyWindow(wnd);
  ControlsByHandle().erase(wnd);
  Handle_ = nullptr;
  ControlState -= csDestroyingHandle;
}

void TWinControl::RecreateWnd() {
  if (!Handle_) return;
  Recreating_ = true;
  bool hadFocus = Focused();
  DestroyHandle();
  Recreating_ = false;
  HandleNeeded();
  if (hadFocus && CanFocus()) win::SetFocus(Handle_);
}

void TWinControl::CMRecreateWnd(TMessage& Message) {
  (void)Message;
  RecreateWnd();
}

void TWinControl::CMSysColorChange(TMessage& Message) {
  TMessage m{Message.Msg, Message.WParam, Message.LParam, 0};
  Broadcast(m);
  Invalidate();
}

void TWinControl::CMWinIniChange(TMessage& Message) {
  TMessage m{Message.Msg, Message.WParam, Message.LParam, 0};
  Broadcast(m);
}

// The reading order is a creation parameter of the window.
void TWinControl::CMBiDiModeChanged(TMessage& Message) {
  (void)Message;
  RecreateWnd();
  TMessage m{CM_PARENTBIDIMODECHANGED, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  DefaultHandler(Message);
  // The window went away under us (its parent was destroyed): forget it.
  ControlsByHandle().erase(Handle_);
  Handle_ = nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->Parent_ == this) return;
  Controls_.push_back(AControl);
  AControl->Parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    TabList_.push_back(w);
    if (Handle_) w->HandleNeeded();
  }
  if (AControl->ParentColor_) AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  if (AControl->ParentFont_) AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
  if (AControl->ParentShowHint_) AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  if (AControl->ParentBiDiMode_) AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
  AControl->Invalidate();
  AlignControl(AControl);
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto it = std::find(Controls_.begin(), Controls_.end(), AControl);
  if (it == Controls_.end()) return;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    w->DestroyHandle();
    TabList_.erase(std::find(TabList_.begin(), TabList_.end(), w));
  } else if (Handle_) {
    AControl->InvalidateControl(AControl->Visible_, false);
  }
  if (CaptureControl == AControl) CaptureControl = nullptr;
  Controls_.erase(std::find(Controls_.begin(), Controls_.end(), AControl));
  AControl->Parent_ = nullptr;
  Realign();
}

void TWinControl::Broadcast(TMessage& Message) {
  for (size_t i = 0; i < Controls_.size(); ++i) {
    Controls_[i]->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::ShowControl(TControl* AControl) {
  (void)AControl;
  if (Parent_) Parent_->ShowControl(this);
}

void TWinControl::SetChildOrder(TComponent* Child, Integer Order) {
  auto it = std::find(Controls_.begin(), Controls_.end(), Child);
  if (it == Controls_.end()) return;
  TControl* control = *it;
  Controls_.erase(it);
  size_t place = std::min<size_t>(static_cast<size_t>(std::max<Integer>(Order, 0)), Controls_.size());
  Controls_.insert(Controls_.begin() + static_cast<std::ptrdiff_t>(place), control);
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!w || !w->Handle_) return;
  // The window goes to the back, or behind the first windowed sibling now
  // in front of it.
  auto windowed = [](TControl* c) {
    auto* s = dynamic_cast<TWinControl*>(c);
    return s && s->Handle_ ? s->Handle_ : nullptr;
  };
  bool behindOthers = std::any_of(Controls_.begin(), Controls_.begin() + static_cast<std::ptrdiff_t>(place), windowed);
  HWND after = behindOthers ? HWND_TOP : HWND_BOTTOM;
  for (size_t i = place + 1; behindOthers && i < Controls_.size(); ++i)
    if (HWND front = windowed(Controls_[i])) {
      after = front;
      break;
    }
  SetWindowPos(w->Handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* c = Control; c; c = c->Parent_)
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) {
  for (auto it = Controls_.rbegin(); it != Controls_.rend(); ++it) {
    TControl* c = *it;
    if (!AllowWinControls && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->Visible_ || (!c->Enabled_ && !AllowDisabled)) continue;
    TPoint p{Pos.X - c->Left_, Pos.Y - c->Top_};
    if (!PtInRect(c->ClientRect(), p)) continue;
    if (c->Perform(CM_HITTEST, 0, LParamFromPoint(p)) == 0) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TControl* c : Controls_)
    if (c->Owner() == Root) Proc(c);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TControl::Notification(AComponent, Operation);
}

// Alignment ---------------------------------------------------------------------

void TWinControl::EnableAlign() {
  if (--AlignLevel_ == 0 && ControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

bool TWinControl::AlignWork() {
  for (TControl* c : Controls_)
    if (c->Align_ != alNone || c->Anchors_ != TAnchors{akLeft, akTop}) return true;
  return false;
}

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (AlignLevel_ > 0 || ComponentState().Contains(csLoading)) {
    ControlState += csAlignmentNeeded;
    return;
  }
  DisableAlign();
  ScopeExit aligned([this] {
    ControlState -= csAlignmentNeeded;
    --AlignLevel_;
  });
  TRect rect = GetClientRect();
  AlignControls(AControl, rect);
}

void TWinControl::AdjustClientRect(TRect& Rect) { (void)Rect; }

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  if (!AlignWork()) {
    AdjustSize();
    return;
  }
  AdjustClientRect(Rect);
  auto insertBefore = [](TControl* c1, TControl* c2, TAlign a) {
    switch (a) {
      case alTop: return c1->Top_ < c2->Top_;
      case alBottom: return c1->Top_ + c1->Height_ >= c2->Top_ + c2->Height_;
      case alLeft: return c1->Left_ < c2->Left_;
      case alRight: return c1->Left_ + c1->Width_ >= c2->Left_ + c2->Width_;
      default: return false;
    }
  };
  auto doPosition = [&](TControl* control, TAlign a) {
    Integer newWidth = Rect.Right - Rect.Left;
    if (newWidth < 0 || a == alLeft || a == alRight) newWidth = control->Width_;
    Integer newHeight = Rect.Bottom - Rect.Top;
    if (newHeight < 0 || a == alTop || a == alBottom) newHeight = control->Height_;
    Integer newLeft = Rect.Left, newTop = Rect.Top;
    switch (a) {
      case alTop: Rect.Top += newHeight; break;
      case alBottom: Rect.Bottom -= newHeight; newTop = Rect.Bottom; break;
      case alLeft: Rect.Left += newWidth; break;
      case alRight: Rect.Right -= newWidth; newLeft = Rect.Right; break;
      default: break;
    }
    control->Anchoring_ = true;
    control->SetBounds(newLeft, newTop, newWidth, newHeight);
    control->Anchoring_ = false;
    // A control that would not take the size (constraints) gives the rest back.
    if (control->Width_ != newWidth || control->Height_ != newHeight) {
      switch (a) {
        case alTop: Rect.Top -= newHeight - control->Height_; break;
        case alBottom: Rect.Bottom += newHeight - control->Height_; break;
        case alLeft: Rect.Left -= newWidth - control->Width_; break;
        case alRight: Rect.Right += newWidth - control->Width_; break;
        default: break;
      }
    }
  };
  std::vector<TControl*> list;
  auto doAlign = [&](TAlign a) {
    list.clear();
    if (AControl && AControl->Align_ == a && AControl->Visible_) list.push_back(AControl);
    for (TControl* c : Controls_) {
      if (c == AControl || c->Align_ != a || !c->Visible_) continue;
      size_t j = 0;
      while (j < list.size() && !insertBefore(c, list[j], a)) ++j;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
    }
    for (TControl* c : list) doPosition(c, a);
  };
  doAlign(alTop);
  doAlign(alBottom);
  doAlign(alLeft);
  doAlign(alRight);
  doAlign(alClient);

  // Unaligned controls keep their anchored distances to the right and
  // bottom edges of the client area.
  TRect client = GetClientRect();
  for (TControl* c : Controls_) {
    if (c->Align_ != alNone || !c->AnchorRulesValid_) continue;
    Integer l = c->Left_, t = c->Top_, w = c->Width_, h = c->Height_;
    if (c->Anchors_.Contains(akRight)) {
      if (c->Anchors_.Contains(akLeft))
        w = client.Right - c->AnchorRight_ - l;
      else
        l = client.Right - c->AnchorRight_ - w;
    } else if (!c->Anchors_.Contains(akLeft) && c->AnchorParentSize_.cx > 0) {
      l = static_cast<Integer>(static_cast<int64_t>(c->AnchorCenterX_) * client.Right / c->AnchorParentSize_.cx) -
          w / 2;
    }
    if (c->Anchors_.Contains(akBottom)) {
      if (c->Anchors_.Contains(akTop))
        h = client.Bottom - c->AnchorBottom_ - t;
      else
        t = client.Bottom - c->AnchorBottom_ - h;
    } else if (!c->Anchors_.Contains(akTop) && c->AnchorParentSize_.cy > 0) {
      t = static_cast<Integer>(static_cast<int64_t>(c->AnchorCenterY_) * client.Bottom / c->AnchorParentSize_.cy) -
          h / 2;
    }
    if (l == c->Left_ && t == c->Top_ && w == c->Width_ && h == c->Height_) continue;
    c->Anchoring_ = true;
    c->SetBounds(l, t, std::max(0, w), std::max(0, h));
    c->Anchoring_ = false;
  }
  AdjustSize();
}

// Bounds ---------------------------------------------------------------------------

TRect TWinControl::GetClientRect() const {
  if (Handle_) {
    RECT r;
    win::GetClientRect(Handle_, &r);
    return {r.left, r.top, r.right, r.bottom};
  }
  return TControl::GetClientRect();
}

TPoint TWinControl::GetClientOrigin() const {
  if (!Parent_ && !Handle_ && !ParentWindow_) return {Left_, Top_};
  POINT p{0, 0};
  // Asking for the window may make it; that changes none of the geometry.
  win::ClientToScreen(const_cast<TWinControl*>(this)->Handle(), &p);
  return {p.x, p.y};
}

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == Left_ && ATop == Top_ && AWidth == Width_ && AHeight == Height_) return;
  bool resized = AWidth != Width_ || AHeight != Height_;
  Left_ = ALeft;
  Top_ = ATop;
  Width_ = AWidth;
  Height_ = AHeight;
  if (Handle_ && !IsIconic(Handle_)) {
    // WM_SIZE realigns and tells OnResize.
    SetWindowPos(Handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (resized) {
    Realign();
    if (!ComponentState().Contains(csLoading)) Resize();
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TWinControl::UpdateBounds() {
  RECT r;
  GetWindowRect(Handle_, &r);
  POINT p{r.left, r.top};
  HWND parent = GetParent(Handle_);
  if (parent && (GetWindowLong(Handle_, GWL_STYLE) & WS_CHILD)) win::ScreenToClient(parent, &p);
  Left_ = p.x;
  Top_ = p.y;
  Width_ = r.right - r.left;
  Height_ = r.bottom - r.top;
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message) {
  UpdateBounds();
  DefaultHandler(Message);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  DefaultHandler(Message);
  // Shown or hidden from outside (ShowWindow on a form): tell the controls.
  auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  if (pos && (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) NotifyShowing();
}

// Visibility and state ------------------------------------------------------------

bool TWinControl::Showing() const { return Handle_ && IsWindowVisible(Handle_); }

void TWinControl::UpdateShowing() {
  if (!Handle_) return;
  bool show = Visible_;
  bool shown = (GetWindowLong(Handle_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (show == shown) return;
  ShowWindow(Handle_, show ? SW_SHOWNA : SW_HIDE);
  NotifyShowing();
}

void TWinControl::NotifyShowing() {
  bool now = Showing();
  if (now != ShowingNotified_) {
    ShowingNotified_ = now;
    Perform(CM_SHOWINGCHANGED, 0, 0);
  }
  for (size_t i = 0; i < Controls_.size(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(Controls_[i])) w->NotifyShowing();
}

void TWinControl::UpdateControlState() {
  if (Parent_ && !Parent_->HandleAllocated()) return;
  if (Visible_ && !Handle_ && (Parent_ || ParentWindow_)) HandleNeeded();
  UpdateShowing();
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  (void)Message;
  if (!Visible_ && Focused() && Parent_) {
    // The focus must not stay in a hidden window.
    TWinControl* top = GetTopParent(this);
    if (top && top->HandleAllocated()) win::SetFocus(top->Handle_);
  }
  UpdateControlState();
}

void TWinControl::CMShowingChanged(TMessage& Message) { (void)Message; }

void TWinControl::CMEnabledChanged(TMessage& Message) {
  (void)Message;
  if (!Enabled_ && Parent_ && Focused()) {
    TWinControl* top = GetTopParent(this);
    if (top && top->HandleAllocated()) win::SetFocus(top->Handle_);
  }
  if (Handle_) EnableWindow(Handle_, Enabled_);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::CMFontChanged(Message);
  TMessage m{CM_PARENTFONTCHANGED, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::SetCtl3D(bool Value) {
  ParentCtl3D_ = false;
  if (Ctl3D_ == Value) return;
  Ctl3D_ = Value;
  Perform(CM_CTL3DCHANGED, 0, 0);
  for (TControl* c : std::vector<TControl*>(Controls_)) c->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value) {
  if (ParentCtl3D_ == Value) return;
  ParentCtl3D_ = Value;
  if (Value) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CMParentCtl3DChanged(TMessage& Message) {
  DefaultHandler(Message);
  if (!ParentCtl3D_ || !Parent()) return;
  SetCtl3D(Parent()->Ctl3D());
  ParentCtl3D_ = true;
}

void TWinControl::ParentChanged() {
  TControl::ParentChanged();
  if (ParentCtl3D_ && Parent()) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  TControl::CMColorChanged(Message);
  TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
  Broadcast(m);
}

std::string TWinControl::GetText() const { return Handle_ ? win::GetWindowText(Handle_) : Text_; }

void TWinControl::SetText(const std::string& Value) {
  if (GetText() == Value) return;
  Text_ = Value;
  if (Handle_)
    SetWindowText(Handle_, Value.c_str());  // the window's WM_SETTEXT tells the host dock site
  else
    SendDockNotification(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TWinControl::SetParentBackground(bool Value) {
  if (ParentBackground() == Value) return;
  if (Value)
    ControlStyle += csParentBackground;
  else
    ControlStyle -= csParentBackground;
  Invalidate();
}

// Painting ---------------------------------------------------------------------------

void TWinControl::Invalidate() {
  if (Handle_) InvalidateRect(Handle_, nullptr, !ControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (Handle_) UpdateWindow(Handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  size_t start = 0;
  if (First) {
    auto it = std::find(Controls_.begin(), Controls_.end(), First);
    if (it != Controls_.end()) start = static_cast<size_t>(it - Controls_.begin());
  }
  for (size_t i = start; i < Controls_.size(); ++i) {
    TControl* c = Controls_[i];
    if (dynamic_cast<TWinControl*>(c) || !c->Visible_) continue;
    RECT r{c->Left_, c->Top_, c->Left_ + c->Width_, c->Top_ + c->Height_};
    if (!RectVisible(DC, &r)) continue;
    SavedDc saved(DC);
    POINT old{};
    OffsetViewportOrgEx(DC, c->Left_, c->Top_, &old);
    IntersectClipRect(DC, 0, 0, c->Width_, c->Height_);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TWinControl::PaintHandler(TMessage& Message) {
  if (!Message.WParam) {
    PaintScope paint(Handle_);
    PaintOn(paint.Dc());
  } else {
    PaintOn(reinterpret_cast<HDC>(Message.WParam));
  }
}

void TWinControl::PaintOn(HDC dc) {
  {
    SavedDc saved(dc);
    int clip = SIMPLEREGION;
    for (TControl* c : Controls_)
      if (c->Visible_ && c->ControlStyle.Contains(csOpaque) && !dynamic_cast<TWinControl*>(c)) {
        clip = ExcludeClipRect(dc, c->Left_, c->Top_, c->Left_ + c->Width_, c->Top_ + c->Height_);
        if (clip == NULLREGION) break;
      }
    if (clip != NULLREGION) PaintWindow(dc);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::WMPaint(TMessage& Message) {
  if (!Message.WParam && PaintsItself()) {
    DefaultHandler(Message);
    return;
  }
  if (!DoubleBuffered || Message.WParam) {
    PaintHandler(Message);
    return;
  }
  // Paint into a bitmap first so the screen never shows a half-drawn state.
  PaintScope paint(Handle_);
  HDC dc = paint.Dc();
  TRect r = GetClientRect();
  MemoryDc memDC(dc);
  OwnedGdiObject bmp(CreateCompatibleBitmap(dc, r.Right, r.Bottom));
  ObjectSelection selected(memDC, bmp.Get());
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(memDC.Dc()), 0, 0};
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memDC.Dc()), reinterpret_cast<LPARAM>(memDC.Dc()));
  PaintHandler(m);
  BitBlt(dc, 0, 0, r.Right, r.Bottom, memDC, 0, 0, SRCCOPY);
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  TColor color = Color();
  COLORREF rgb = color < 0 ? GetSysColor(color & 0xFF) : static_cast<COLORREF>(color);
  HBRUSH brush = CreateSolidBrush(rgb);
  TRect r = GetClientRect();
  RECT rr{r.Left, r.Top, r.Right, r.Bottom};
  FillRect(dc, &rr, brush);
  DeleteObject(brush);
  Message.Result = 1;
}

// Dispatch ---------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KILLFOCUS:
      if (ControlState.Contains(csFocusing)) return;
      break;
    case WM_CANCELMODE:
      if (GetCapture() == Handle_ && CaptureControl && CaptureControl->Parent_ == this)
        CaptureControl->Perform(WM_CANCELMODE, 0, 0);
      break;
    default:
      if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
        if (IsControlMouseMsg(Message)) {
          if (Message.Result == 0 && Handle_)
            DefWindowProc(Handle_, Message.Msg, Message.WParam, Message.LParam);
          return;
        }
      } else if (Message.Msg >= WM_KEYFIRST && Message.Msg <= WM_KEYLAST) {
        if (Dragging()) return;
      }
  }
  TControl::WndProc(Message);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* control = nullptr;
  if (Handle_ && GetCapture() == Handle_) {
    if (CaptureControl && CaptureControl->Parent_ == this) control = CaptureControl;
  } else {
    control = ControlAtPos(PointFromLParam(Message.LParam), false);
  }
  if (!control) return false;
  TPoint p = PointFromLParam(Message.LParam);
  p.X -= control->Left_;
  p.Y -= control->Top_;
  Message.Result = control->Perform(Message.Msg, Message.WParam, LParamFromPoint(p));
  return true;
}

bool TWinControl::DoControlMsg(HWND ControlHandle, TMessage& Message) {
  TWinControl* control = FindControl(ControlHandle);
  if (!control || control == this) return false;
  Message.Result = control->Perform(Message.Msg + CN_BASE, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); return;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); return;
    case WM_SIZE: WMSize(Message); return;
    case WM_MOVE: WMMove(Message); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_KEYDOWN: WMKeyDown(Message); return;
    case WM_KEYUP: WMKeyUp(Message); return;
    case WM_CHAR: WMChar(Message); return;
    case WM_SYSKEYDOWN: WMSysKeyDown(Message); return;
    case WM_SYSKEYUP: WMSysKeyUp(Message); return;
    case WM_SETCURSOR: WMSetCursor(Message); return;
    case WM_NCDESTROY: WMNCDestroy(Message); return;
    case CN_KEYDOWN: CNKeyDown(Message); return;
    case CN_KEYUP: CNKeyUp(Message); return;
    case CN_CHAR: CNChar(Message); return;
    case CN_SYSKEYDOWN: CNSysKeyDown(Message); return;
    case CN_SYSCHAR: CNSysChar(Message); return;
    case CM_DIALOGKEY: CMDialogKey(Message); return;
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); return;
    case CM_ENTER: CMEnter(Message); return;
    case CM_EXIT: CMExit(Message); return;
    case CM_RECREATEWND: CMRecreateWnd(Message); return;
    case CM_CTL3DCHANGED: CMCtl3DChanged(Message); return;
    case CM_PARENTCTL3DCHANGED: CMParentCtl3DChanged(Message); return;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(Message); return;
    case CM_SYSCOLORCHANGE: CMSysColorChange(Message); return;
    case CM_WININICHANGE: CMWinIniChange(Message); return;
    case CM_DOCKCLIENT: CMDockClient(Message); return;
    case CM_UNDOCKCLIENT: CMUnDockClient(Message); return;
    case CM_DOCKNOTIFICATION: CMDockNotification(Message); return;
    // System notices reach every control as ours.
    case WM_SYSCOLORCHANGE:
      DefaultHandler(Message);
      Perform(CM_SYSCOLORCHANGE, Message.WParam, Message.LParam);
      return;
    case WM_SETTINGCHANGE:
      DefaultHandler(Message);
      Perform(CM_WININICHANGE, Message.WParam, Message.LParam);
      return;
    // Messages about a child window go back to that child.
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      if (Message.LParam && DoControlMsg(reinterpret_cast<HWND>(Message.LParam), Message)) return;
      break;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<const NMHDR*>(Message.LParam);
      if (hdr && DoControlMsg(hdr->hwndFrom, Message)) return;
      break;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      if (dis && dis->CtlType != ODT_MENU && DoControlMsg(dis->hwndItem, Message)) return;
      break;
    }
    case WM_DELETEITEM: {
      auto* dis = reinterpret_cast<const DELETEITEMSTRUCT*>(Message.LParam);
      if (dis && DoControlMsg(dis->hwndItem, Message)) return;
      break;
    }
    case WM_COMPAREITEM: {
      auto* cis = reinterpret_cast<const COMPAREITEMSTRUCT*>(Message.LParam);
      if (cis && DoControlMsg(cis->hwndItem, Message)) return;
      break;
    }
    case WM_MEASUREITEM: {
      // The structure names the child by its id only.
      auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
      if (mis && mis->CtlType != ODT_MENU)
        for (TWinControl* w : TabList_)
          if (w->Handle_ && static_cast<UINT>(GetWindowLongPtr(w->Handle_, GWLP_ID)) == mis->CtlID &&
              DoControlMsg(w->Handle_, Message))
            return;
      break;
    }
  }
  TControl::Dispatch(Message);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!Handle_) {
    TControl::DefaultHandler(Message);
    return;
  }
  if (Message.Msg == WM_CONTEXTMENU && Parent_) {
    Message.Result = Parent_->Perform(Message.Msg, Message.WParam, Message.LParam);
    if (Message.Result != 0) return;
  }
  // Notices are ours alone; the window procedure below knows nothing of them.
  if (Message.Msg >= CM_BASE && Message.Msg <= CN_BASE + 0x3FF) return;
  Message.Result = CallWindowProc(DefWndProc, Handle_, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == Handle_ && LOWORD(static_cast<uintptr_t>(Message.LParam)) == HTCLIENT) {
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      POINT p;
      GetCursorPos(&p);
      TControl* c = ControlAtPos(ScreenToClient({p.x, p.y}), false);
      cursor = c ? c->Cursor_ : Cursor_;
    }
    if (cursor != crDefault) {
      win::SetCursor(CursorHandle(cursor));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// Focus and keys -----------------------------------------------------------------------

bool TWinControl::CanFocus() {
  for (TControl* c = this; c; c = c->Parent_)
    if (!c->Visible_ || !c->Enabled_) return false;
  return true;
}

bool TWinControl::Focused() { return Handle_ && GetFocus() == Handle_; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation(SCannotFocus);
  win::SetFocus(Handle());
}

void TWinControl::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
  ScreenFocusChanged(this);
  if (FocusEntersControl(this)) Perform(CM_ENTER, 0, 0);
}

void TWinControl::WMKillFocus(TMessage& Message) {
  DefaultHandler(Message);
  if (FocusExitsControl(this, reinterpret_cast<HWND>(Message.WParam))) Perform(CM_EXIT, 0, 0);
}

void TWinControl::CMEnter(TMessage& Message) {
  (void)Message;
  DoEnter();
}

void TWinControl::CMExit(TMessage& Message) {
  (void)Message;
  DoExit();
}

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

void TWinControl::KeyDown(Word& Key, TShiftState Shift) { OnKeyDown(this, Key, Shift); }
void TWinControl::KeyUp(Word& Key, TShiftState Shift) { OnKeyUp(this, Key, Shift); }
void TWinControl::KeyPress(char32_t& Key) { OnKeyPress(this, Key); }

namespace {

TWinControl* KeyPreviewer(TWinControl* Control) {
  TWinControl* top = GetTopParent(Control);
  return top && top != Control ? top : nullptr;
}

}  // namespace

bool TWinControl::DoKeyDown(TMessage& Message) {
  if (TWinControl* form = KeyPreviewer(this); form && form->PreviewsKeys() && form->DoKeyDown(Message)) return true;
  if (ControlStyle.Contains(csNoStdEvents)) return false;
  Word key = static_cast<Word>(Message.WParam);
  KeyDown(key, KeyDataToShiftState(Message.LParam));
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  if (TWinControl* form = KeyPreviewer(this); form && form->PreviewsKeys() && form->DoKeyUp(Message)) return true;
  if (ControlStyle.Contains(csNoStdEvents)) return false;
  Word key = static_cast<Word>(Message.WParam);
  KeyUp(key, KeyDataToShiftState(Message.LParam));
  Message.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  if (TWinControl* form = KeyPreviewer(this); form && form->PreviewsKeys() && form->DoKeyPress(Message)) return true;
  if (ControlStyle.Contains(csNoStdEvents)) return false;
  char32_t key = static_cast<char32_t>(Message.WParam);
  KeyPress(key);
  Message.WParam = key;
  return key == 0;
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

// Before the window sees a key: the parent may want it as a dialog key
// (Tab, arrows, Return, Esc) unless the control asks for it itself.
namespace {
TMenuKeyHook MenuKeyHook = nullptr;
}

void SetMenuKeyHook(TMenuKeyHook Hook) { MenuKeyHook = Hook; }

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (MenuKeyHook && MenuKeyHook(this, Message)) return;
  if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
  LRESULT mask = 0;
  switch (Message.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
  }
  if (mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, 0) == 0 &&
      (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
    TWinControl* top = GetTopParent(this);
    if (top && top->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) { Message.Result = 0; }

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 1;
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
    TWinControl* top = GetTopParent(this);
    if (top && top->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (MenuKeyHook && MenuKeyHook(this, Message)) return;
  Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message) {
  Message.Result = 1;
  if (Message.WParam != VK_SPACE) {
    TWinControl* top = GetTopParent(this);
    if (top && top->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }

// Tab order ------------------------------------------------------------------------------

Integer TWinControl::TabOrder() const {
  if (!Parent_) return -1;
  auto& list = Parent_->TabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

void TWinControl::SetTabOrder(Integer Value) {
  if (!Parent_) return;
  auto& list = Parent_->TabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  Integer count = static_cast<Integer>(list.size());
  if (Value < 0 || Value >= count) Value = count - 1;
  list.erase(it);
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (TabStop_ == Value) return;
  TabStop_ = Value;
  if (Handle_) {
    LONG style = GetWindowLong(Handle_, GWL_STYLE);
    SetWindowLong(Handle_, GWL_STYLE, Value ? (style | static_cast<LONG>(WS_TABSTOP)) : (style & ~static_cast<LONG>(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* w : TabList_) {
    List.push_back(w);
    w->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  auto found = std::find(list.begin(), list.end(), CurControl);
  Integer count = static_cast<Integer>(list.size());
  Integer start = found != list.end() ? static_cast<Integer>(found - list.begin()) : (GoForward ? count - 1 : 0);
  Integer i = start;
  do {
    if (GoForward) {
      if (++i == count) i = 0;
    } else {
      if (i == 0) i = count;
      --i;
    }
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop_) && (!CheckParent || c->Parent_ == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectFirst() {
  if (TWinControl* c = FindNextControl(nullptr, true, true, false)) c->SetFocus();
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* c = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) c->SetFocus();
}

// ---------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TCustomControl, TWinControl)
VXN_IMPLEMENT_CLASS(TScrollingWinControl, TWinControl)

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), Canvas_(new TCanvas) {}

TCustomControl::~TCustomControl() {
  DestroyHandle();
}

void TCustomControl::PaintWindow(HDC DC) {
  Canvas_->SetHandle(DC);
  ControlState += csCustomPaint;
  ScopeExit painted([this] {
    ControlState -= csCustomPaint;
    Canvas_->SetHandle(nullptr);
  });
  Paint();
}
