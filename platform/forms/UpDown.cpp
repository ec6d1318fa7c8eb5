#include "platform/forms/UpDown.h"

#include <algorithm>

#include "platform/rtl/FormatSettings.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/UxTheme.h"
#include "platform/win/SysParams.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TUpDown, TCustomControl)
VXN_PUBLISH(TUpDown) {
  P.Property("AlignButton", &TUpDown::AlignButton, &TUpDown::SetAlignButton).Default(udRight);
  P.Property("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys).Default(true);
  P.Property("Associate", &TUpDown::Associate, &TUpDown::SetAssociate);
  P.Property("Increment", &TUpDown::Increment, &TUpDown::SetIncrement).Default(1);
  P.Property("Max", &TUpDown::Max, &TUpDown::SetMax).Default(100);
  P.Property("Min", &TUpDown::Min, &TUpDown::SetMin).Default(0);
  P.Property("Orientation", &TUpDown::Orientation, &TUpDown::SetOrientation).Default(udVertical);
  P.Property("Position", &TUpDown::Position, &TUpDown::SetPosition).Default(0);
  P.Property("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands).Default(true);
  P.Property("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap).Default(false);
  P.Event("OnChanging", &TUpDown::OnChanging);
  P.Event("OnClick", &TUpDown::OnClick);
}

TUpDown::TUpDown(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), 24);
  ControlStyle -= csClickEvents;
  ControlStyle -= csDoubleClicks;
}

TUpDown::~TUpDown() { ReleaseAssociate(); }

void TUpDown::ReleaseAssociate() {
  if (!Associate_) return;
  Associate_->RemoveFreeNotification(this);
  Associate_->WindowProc = AssociateProc_;
  Associate_ = nullptr;
}

void TUpDown::AssociateWndProc(TMessage& Message) {
  if (ArrowKeys_ && Enabled()) {
    if (Message.Msg == WM_KEYDOWN && (Message.WParam == VK_UP || Message.WParam == VK_DOWN)) {
      StepBy(Message.WParam == VK_UP ? btNext : btPrev);
      Message.Result = 0;
      return;
    }
    if (Message.Msg == WM_GETDLGCODE) {
      AssociateProc_(Message);
      Message.Result |= DLGC_WANTARROWS;
      return;
    }
  }
  AssociateProc_(Message);
}

void TUpDown::SetMin(Integer Value) {
  Min_ = Value;
  SetPosition(Position_);
}

void TUpDown::SetMax(Integer Value) {
  Max_ = Value;
  SetPosition(Position_);
}

void TUpDown::SetPosition(Integer Value) {
  // The range may run either way (Min above Max counts down).
  Value = std::clamp(Value, std::min(Min_, Max_), std::max(Min_, Max_));
  Position_ = Value;
  ShowInAssociate();
}

void TUpDown::SetThousands(bool Value) {
  Thousands_ = Value;
  ShowInAssociate();
}

void TUpDown::SetOrientation(TUDOrientation Value) {
  if (Value == Orientation_) return;
  Orientation_ = Value;
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TUpDown::ShowInAssociate() {
  if (!Associate_) return;
  std::string digits = IntToStr(Position_ < 0 ? -static_cast<Int64>(Position_) : Position_);
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (Thousands_ && i > 0 && (digits.size() - i) % 3 == 0) text += DefaultFormatSettings().ThousandSeparator;
    text += digits[i];
  }
  Associate_->SetText(Position_ < 0 ? "-" + text : text);
}

void TUpDown::SetAssociate(TWinControl* Value) {
  if (Value == Associate_) return;
  ReleaseAssociate();
  if (!Value) return;
  Associate_ = Value;
  Value->FreeNotification(this);
  AssociateProc_ = Value->WindowProc;
  Value->WindowProc = TWndMethod(this, &TUpDown::AssociateWndProc);
  if (Value->Parent() && Parent() != Value->Parent()) SetParent(Value->Parent());
  // The buttons take the associate's edge, and the associate gives up the room.
  Integer w = Width();
  Value->SetWidth(std::max<Integer>(0, Value->Width() - w));
  SetBounds(AlignButton_ == udRight ? Value->Left() + Value->Width() : Value->Left() - w, Value->Top(), w,
            Value->Height());
  ShowInAssociate();
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == Associate_) Associate_ = nullptr;
}

void TUpDown::Click(TUDBtnType Button) { OnClick(this, Button); }

void TUpDown::StepBy(TUDBtnType Button) {
  bool allow = true;
  OnChanging(this, allow);
  if (!allow) return;
  Integer lo = std::min(Min_, Max_), hi = std::max(Min_, Max_);
  Integer step = (Button == btNext) == (Max_ >= Min_) ? Increment_ : -Increment_;
  Integer next = Position_ + step;
  if (next > hi) next = Wrap_ ? lo : hi;
  if (next < lo) next = Wrap_ ? hi : lo;
  SetPosition(next);
  Click(Button);
}

void TUpDown::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  // Up (vertical) or right (horizontal) is the next position.
  bool next = Orientation_ == udVertical ? Y < Height() / 2 : X >= Width() / 2;
  Pressed_ = next ? btNext : btPrev;
  Invalidate();
  StepBy(next ? btNext : btPrev);
}

void TUpDown::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  Pressed_ = -1;
  Invalidate();
}

void TUpDown::Paint() {
  HDC dc = Canvas()->Handle();
  bool vertical = Orientation_ == udVertical;
  RECT first = vertical ? RECT{0, 0, Width(), Height() / 2} : RECT{0, 0, Width() / 2, Height()};
  RECT second = vertical ? RECT{0, Height() / 2, Width(), Height()} : RECT{Width() / 2, 0, Width(), Height()};
  UINT inactive = Enabled() ? 0 : DFCS_INACTIVE;
  // Vertical: up on top is next; horizontal: left is previous.
  UINT firstKind = vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT;
  UINT secondKind = vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT;
  bool firstPressed = vertical ? Pressed_ == btNext : Pressed_ == btPrev;
  bool secondPressed = Pressed_ >= 0 && !firstPressed;
  if (ScopedTheme theme(u"Spin"); theme) {
    auto state = [&](bool pressed) { return !Enabled() ? UPS_DISABLED : pressed ? UPS_PRESSED : UPS_NORMAL; };
    DrawThemeBackground(theme.get(), dc, vertical ? SPNP_UP : SPNP_DOWNHORZ, state(firstPressed), &first, nullptr);
    DrawThemeBackground(theme.get(), dc, vertical ? SPNP_DOWN : SPNP_UPHORZ, state(secondPressed), &second, nullptr);
    return;
  }
  DrawFrameControl(dc, &first, DFC_SCROLL, firstKind | inactive | (firstPressed ? DFCS_PUSHED : 0));
  DrawFrameControl(dc, &second, DFC_SCROLL, secondKind | inactive | (secondPressed ? DFCS_PUSHED : 0));
}

void RegisterUpDownClasses() { RegisterClasses({TUpDown::StaticClass()}); }
