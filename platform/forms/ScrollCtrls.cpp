#include "platform/forms/ScrollCtrls.h"

#include <algorithm>

#include "platform/forms/FormsPrivate.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysParams.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TScrollBar, TWinControl)
VXN_PUBLISH(TScrollBar) {
  P.Property("Kind", &TScrollBar::Kind, &TScrollBar::SetKind).Default(sbHorizontal);
  P.Property("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange).Default(1);
  P.Property("Max", &TScrollBar::Max, &TScrollBar::SetMax).Default(100);
  P.Property("Min", &TScrollBar::Min, &TScrollBar::SetMin).Default(0);
  P.Property("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize).Default(0);
  P.Property("Position", &TScrollBar::Position, &TScrollBar::SetPosition).Default(0);
  P.Property("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange).Default(1);
  P.Event("OnChange", &TScrollBar::OnChange);
  P.Event("OnScroll", &TScrollBar::OnScroll);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
  ControlStyle -= csClickEvents;
  ControlStyle -= csCaptureMouse;  // the bar tracks its own presses
}

TScrollBar::~TScrollBar() { DestroyHandle(); }

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  RegisterScrollBarClass();
  WNDCLASSEX wc;
  if (GetClassInfoEx(nullptr, kScrollBarClassName, &wc)) DefWndProc = wc.lpfnWndProc;
  Params.Style |= Kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
  // SB_CTL calls accept only windows of the class itself; the control
  // subclasses its window once made.
  Params.WinClassName = kScrollBarClassName;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  DefWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&forms::ControlWindowProc)));
  UpdateWindow();
}

void TScrollBar::UpdateWindow() {
  if (!HandleAllocated()) return;
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = Min_;
  si.nMax = Max_;
  si.nPage = static_cast<UINT>(PageSize_);
  si.nPos = Position_;
  SetScrollInfo(Handle(), SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (Value == Kind_) return;
  Kind_ = Value;
  // The bar turns round with its box, as at design time.
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

Integer TScrollBar::LastPosition() const { return PageSize_ > 0 ? std::max(Min_, Max_ - PageSize_ + 1) : Max_; }

void TScrollBar::SetParams(Integer APosition, Integer AMin, Integer AMax) {
  if (AMax < AMin || AMax < PageSize_) throw EInvalidOperation("Scroll bar property out of range");
  Min_ = AMin;
  Max_ = AMax;
  APosition = std::clamp(APosition, Min_, LastPosition());
  bool changed = APosition != Position_;
  Position_ = APosition;
  UpdateWindow();
  if (changed) Change();
}

void TScrollBar::SetPageSize(Integer Value) {
  if (Value == PageSize_) return;
  if (Value < 0 || Value > Max_ - Min_ + 1) throw EInvalidOperation("Scroll bar property out of range");
  PageSize_ = Value;
  SetParams(Position_, Min_, Max_);
  UpdateWindow();
}

void TScrollBar::Change() { OnChange(this); }

void TScrollBar::Scroll(TScrollCode ScrollCode, Integer& ScrollPos) { OnScroll(this, ScrollCode, ScrollPos); }

void TScrollBar::DoScroll(WORD Code) {
  if (Code > SB_ENDSCROLL) return;
  auto code = static_cast<TScrollCode>(Code);
  Integer pos = Position_;
  switch (code) {
    case scLineUp: pos -= SmallChange_; break;
    case scLineDown: pos += SmallChange_; break;
    case scPageUp: pos -= LargeChange_; break;
    case scPageDown: pos += LargeChange_; break;
    case scPosition:
    case scTrack: {
      // The track position is not limited to 16 bits as the message's is.
      SCROLLINFO si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), SB_CTL, &si);
      pos = si.nTrackPos;
      break;
    }
    case scTop: pos = Min_; break;
    case scBottom: pos = Max_; break;
    case scEndScroll: break;
  }
  pos = std::clamp(pos, Min_, LastPosition());
  Scroll(code, pos);
  SetPosition(pos);
}

void TScrollBar::WndProc(TMessage& Message) {
  if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
    DoScroll(LOWORD(static_cast<uintptr_t>(Message.WParam)));
    Message.Result = 0;
    return;
  }
  TWinControl::WndProc(Message);
}

// TScrollBox -----------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TScrollBox, TScrollingWinControl)
VXN_PUBLISH(TScrollBox) {
  P.Property("AutoScroll", &TScrollBox::AutoScroll, &TScrollBox::SetAutoScroll).Default(true);
  P.Property("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle).Default(bsSingle);
  P.Property("HorzScrollBar", &TScrollBox::HorzScrollBar, &TScrollBox::SetHorzScrollBar);
  P.Property("VertScrollBar", &TScrollBox::VertScrollBar, &TScrollBox::SetVertScrollBar);
}

TScrollBox::TScrollBox(TComponent* AOwner)
    : TScrollingWinControl(AOwner),
      Bars_{std::make_unique<TControlScrollBar>(this, sbHorizontal),
            std::make_unique<TControlScrollBar>(this, sbVertical)} {
  ControlStyle += csAcceptsControls;
  DefWndProc = &DefWindowProc;
  SetBounds(0, 0, 185, 41);
}

TScrollBox::~TScrollBox() { DestroyHandle(); }

void TScrollBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  if (BorderStyle_ == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateRange();
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (Value == BorderStyle_) return;
  BorderStyle_ = Value;
  RecreateWnd();
}

void TScrollBox::SetAutoScroll(bool Value) {
  AutoScroll_ = Value;
  UpdateRange();
}

void TScrollBox::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  UpdateRange();
}

void TScrollBox::UpdateRange() {
  if (Updating_ || !HandleAllocated()) return;
  Updating_ = true;
  // Children sit where they are scrolled to; the range is measured unscrolled.
  Integer right = 0, bottom = 0;
  if (AutoScroll_)
    for (Integer i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (!c->Visible() || c->Align() == alClient) continue;
      if (c->Align() != alTop && c->Align() != alBottom) right = std::max(right, c->Left() + c->Width() + Pos_[0]);
      if (c->Align() != alLeft && c->Align() != alRight) bottom = std::max(bottom, c->Top() + c->Height() + Pos_[1]);
    }
  Range_[0] = right;
  Range_[1] = bottom;
  // Showing one bar narrows the room for the other: settle in two rounds.
  for (int round = 0; round < 2; ++round)
    for (int bar = 0; bar < 2; ++bar) {
      RECT rc;
      win::GetClientRect(Handle(), &rc);
      Integer page = bar == 0 ? rc.right : rc.bottom;
      SCROLLINFO si;
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      si.nMin = 0;
      si.nMax = Range_[bar] > page ? Range_[bar] - 1 : 0;
      si.nPage = Range_[bar] > page ? static_cast<UINT>(page) : 0;
      si.nPos = Pos_[bar];
      SetScrollInfo(Handle(), bar == 0 ? SB_HORZ : SB_VERT, &si, TRUE);
    }
  Updating_ = false;
  // A shrunk range may leave the view past its end.
  RECT rc;
  win::GetClientRect(Handle(), &rc);
  Integer maxX = std::max<Integer>(0, Range_[0] - rc.right), maxY = std::max<Integer>(0, Range_[1] - rc.bottom);
  if (Pos_[0] > maxX || Pos_[1] > maxY) ScrollTo(std::min(Pos_[0], maxX), std::min(Pos_[1], maxY));
}

void TScrollBox::ScrollTo(Integer X, Integer Y) {
  if (!HandleAllocated()) return;
  RECT rc;
  win::GetClientRect(Handle(), &rc);
  X = std::clamp<Integer>(X, 0, std::max<Integer>(0, Range_[0] - rc.right));
  Y = std::clamp<Integer>(Y, 0, std::max<Integer>(0, Range_[1] - rc.bottom));
  Integer dx = Pos_[0] - X, dy = Pos_[1] - Y;
  if (dx == 0 && dy == 0) return;
  Pos_[0] = X;
  Pos_[1] = Y;
  Updating_ = true;
  DisableAlign();
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  }
  Updating_ = false;
  EnableAlign();
  SetScrollPos(Handle(), SB_HORZ, X, TRUE);
  SetScrollPos(Handle(), SB_VERT, Y, TRUE);
  Invalidate();
}

void TScrollBox::ScrollInView(TControl* AControl) {
  if (!AControl || !HandleAllocated()) return;
  RECT rc;
  win::GetClientRect(Handle(), &rc);
  Integer x = Pos_[0], y = Pos_[1];
  if (AControl->Left() < 0) x += AControl->Left();
  else if (AControl->Left() + AControl->Width() > rc.right)
    x += std::min(AControl->Left(), AControl->Left() + AControl->Width() - rc.right);
  if (AControl->Top() < 0) y += AControl->Top();
  else if (AControl->Top() + AControl->Height() > rc.bottom)
    y += std::min(AControl->Top(), AControl->Top() + AControl->Height() - rc.bottom);
  ScrollTo(x, y);
}

void TScrollBox::DoScroll(int Bar, WORD Code) {
  RECT rc;
  win::GetClientRect(Handle(), &rc);
  Integer page = Bar == 0 ? rc.right : rc.bottom;
  Integer pos = Pos_[Bar];
  switch (Code) {
    case SB_LINEUP: pos -= Increment_[Bar]; break;
    case SB_LINEDOWN: pos += Increment_[Bar]; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), Bar == 0 ? SB_HORZ : SB_VERT, &si);
      pos = si.nTrackPos;
      break;
    }
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = Range_[Bar]; break;
    default: return;
  }
  if (Bar == 0) ScrollTo(pos, Pos_[1]);
  else ScrollTo(Pos_[0], pos);
}

void TScrollBox::WndProc(TMessage& Message) {
  // The box's own bars (a control's bar names itself in lParam).
  if ((Message.Msg == WM_HSCROLL || Message.Msg == WM_VSCROLL) && Message.LParam == 0) {
    DoScroll(Message.Msg == WM_HSCROLL ? 0 : 1, LOWORD(static_cast<uintptr_t>(Message.WParam)));
    Message.Result = 0;
    return;
  }
  TWinControl::WndProc(Message);
  if (Message.Msg == WM_SIZE) UpdateRange();
}

// TControlScrollBar -----------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TControlScrollBar, TPersistent)
VXN_PUBLISH(TControlScrollBar) {
  P.Property("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement).Default(8);
  P.Property("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition).Default(0);
  P.Property("Range", &TControlScrollBar::Range, nullptr).Stored(false);
}

Integer TControlScrollBar::Increment() const { return Control_->Increment_[Kind_]; }

void TControlScrollBar::SetIncrement(Integer Value) { Control_->Increment_[Kind_] = Value < 1 ? 1 : Value; }

Integer TControlScrollBar::Position() const { return Control_->Pos_[Kind_]; }

void TControlScrollBar::SetPosition(Integer Value) {
  if (Kind_ == sbHorizontal)
    Control_->SetHorzPosition(Value);
  else
    Control_->SetVertPosition(Value);
}

Integer TControlScrollBar::Range() const { return Control_->Range_[Kind_]; }

void TControlScrollBar::Assign(TPersistent* Source) {
  if (auto* bar = dynamic_cast<TControlScrollBar*>(Source)) {
    SetIncrement(bar->Increment());
    SetPosition(bar->Position());
    return;
  }
  TPersistent::Assign(Source);
}

void RegisterScrollCtrlsClasses() { RegisterClasses({TScrollBar::StaticClass(), TScrollBox::StaticClass()}); }
