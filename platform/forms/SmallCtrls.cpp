#include "platform/forms/SmallCtrls.h"

#include <algorithm>

#include "platform/forms/CustomForms.h"
#include "platform/forms/GlyphLayout.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiText.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Rects.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysParams.h"
#include "platform/win/SysColors.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

using namespace win;

// The forms' window procedure, put in front of system classes the bars
// recognise by name.
win::LRESULT ControlWindowProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);

// TScrollBar -----------------------------------------------------------------------------------

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
      SetWindowLongPtr(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc)));
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

// TSplitter ------------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TSplitter, TGraphicControl)
VXN_PUBLISH(TSplitter) {
  P.Property("AutoSnap", &TSplitter::AutoSnap, &TSplitter::SetAutoSnap).Default(true);
  P.Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
  P.Event("OnCanResize", &TSplitter::OnCanResize);
  P.Event("OnMoved", &TSplitter::OnMoved);
}

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
}

TControl* TSplitter::FindNeighbour() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  for (Integer i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    bool touches = false;
    switch (Align()) {
      case alLeft: touches = c->Left() + c->Width() == Left(); break;
      case alRight: touches = c->Left() == Left() + Width(); break;
      case alTop: touches = c->Top() + c->Height() == Top(); break;
      case alBottom: touches = c->Top() == Top() + Height(); break;
      default: break;
    }
    if (touches) return c;
  }
  return nullptr;
}

Integer TSplitter::NeighbourSize() const { return Horizontal() ? Control_->Height() : Control_->Width(); }

Integer TSplitter::MaxSize() const {
  TWinControl* parent = Parent();
  TRect client = parent->GetClientRect();
  Integer room = (Horizontal() ? client.Height() : client.Width()) - MinSize_;
  for (Integer i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible()) continue;
    if (Horizontal() ? (c->Align() == alTop || c->Align() == alBottom)
                     : (c->Align() == alLeft || c->Align() == alRight))
      room -= Horizontal() ? c->Height() : c->Width();
  }
  return room + NeighbourSize();
}

void TSplitter::ResizeNeighbour(Integer NewSize) {
  NewSize = std::clamp(NewSize, std::min(MinSize_, MaxSize()), MaxSize());
  bool accept = true;
  OnCanResize(this, NewSize, accept);
  if (!accept) return;
  if (NewSize <= MinSize_ && AutoSnap_) NewSize = 0;
  if (NewSize == NeighbourSize()) return;
  if (Horizontal()) Control_->SetHeight(NewSize);
  else Control_->SetWidth(NewSize);
  // Aligned neighbours are laid out again around the new size.
  if (Control_->Parent()) Control_->Parent()->Realign();
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  Control_ = FindNeighbour();
  if (!Control_) return;
  Control_->FreeNotification(this);
  TPoint p = ClientToScreen({X, Y});
  DownPos_ = Horizontal() ? p.Y : p.X;
  StartSize_ = NeighbourSize();
  Dragging_ = true;
}

void TSplitter::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!Dragging_ || !Control_) return;
  // Screen positions: the splitter itself moves while the neighbour grows.
  TPoint p = ClientToScreen({X, Y});
  Integer delta = (Horizontal() ? p.Y : p.X) - DownPos_;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  ResizeNeighbour(StartSize_ + delta);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!Dragging_) return;
  Dragging_ = false;
  if (Control_) OnMoved(this);
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == Control_) {
    Control_ = nullptr;
    Dragging_ = false;
  }
}

void TSplitter::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(TRect{0, 0, Width(), Height()});
}

// TProgressBar ---------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TProgressBar, TWinControl)
VXN_PUBLISH(TProgressBar) {
  P.Property("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100);
  P.Property("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0);
  P.Property("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation).Default(pbHorizontal);
  P.Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0);
  P.Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(false);
  P.Property("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
}

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 150, 16);
  DefWndProc = &DefWindowProc;
}

void TProgressBar::SetMin(Integer Value) {
  Min_ = Value;
  if (Max_ < Min_) Max_ = Min_;
  SetPosition(Position_);
  Invalidate();
}

void TProgressBar::SetMax(Integer Value) {
  Max_ = Value;
  if (Min_ > Max_) Min_ = Max_;
  SetPosition(Position_);
  Invalidate();
}

void TProgressBar::SetPosition(Integer Value) {
  Value = std::clamp(Value, Min_, Max_);
  if (Value == Position_) return;
  Position_ = Value;
  Invalidate();
}

void TProgressBar::SetSmooth(bool Value) {
  Smooth_ = Value;
  Invalidate();
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  Orientation_ = Value;
  Invalidate();
}

void TProgressBar::StepBy(Integer Delta) {
  Integer next = Position_ + Delta;
  if (next > Max_) next = Min_ + (next - Max_);
  if (next < Min_) next = Max_ - (Min_ - next);
  SetPosition(next);
}

void TProgressBar::StepIt() { StepBy(Step_); }

namespace {

// With the visual style: its bar, then chunks in the filled extent (one
// stretch for a smooth bar, blocks otherwise). False without the style.
bool PaintThemedProgress(HDC DC, RECT r, bool vertical, bool smooth, long long done, long long span) {
  ScopedTheme theme(u"Progress");
  if (!theme) return false;
  HTHEME t = theme.get();
  FillRect(DC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawThemeBackground(t, DC, vertical ? PP_BARVERT : PP_BAR, 1, &r, nullptr);
  RECT inside;
  GetThemeBackgroundContentRect(t, DC, vertical ? PP_BARVERT : PP_BAR, 1, &r, &inside);
  if (span <= 0 || done <= 0) return true;
  Integer length = vertical ? inside.bottom - inside.top : inside.right - inside.left;
  auto filled = static_cast<Integer>(length * done / span);
  int chunk = vertical ? PP_CHUNKVERT : PP_CHUNK;
  auto piece = [&](Integer from, Integer to) {
    RECT f = vertical ? RECT{inside.left, inside.bottom - to, inside.right, inside.bottom - from}
                      : RECT{inside.left + from, inside.top, inside.left + to, inside.bottom};
    DrawThemeBackground(t, DC, chunk, 1, &f, nullptr);
  };
  if (smooth) {
    piece(0, filled);
    return true;
  }
  Integer thick = vertical ? inside.right - inside.left : inside.bottom - inside.top;
  Integer block = std::max<Integer>(2, thick * 2 / 3);
  for (Integer at = 0; at < filled; at += block + 2) piece(at, std::min(at + block, length));
  return true;
}

}  // namespace

void TProgressBar::PaintWindow(HDC DC) {
  RECT r{0, 0, Width(), Height()};
  if (PaintThemedProgress(DC, r, Orientation_ == pbVertical, Smooth_, Position_ - Min_, Max_ - Min_)) return;
  FillRect(DC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  InflateRect(&r, -1, -1);
  Integer span = Max_ - Min_;
  if (span <= 0 || Position_ <= Min_) return;
  bool vertical = Orientation_ == pbVertical;
  Integer length = vertical ? r.bottom - r.top : r.right - r.left;
  Integer filled = static_cast<Integer>(static_cast<long long>(length) * (Position_ - Min_) / span);
  HBRUSH bar = GetSysColorBrush(COLOR_HIGHLIGHT);
  if (Smooth_) {
    RECT f = vertical ? RECT{r.left, r.bottom - filled, r.right, r.bottom} : RECT{r.left, r.top, r.left + filled, r.bottom};
    FillRect(DC, &f, bar);
    return;
  }
  // Blocks two thirds as long as the bar is thick, two pixels apart.
  Integer thick = vertical ? r.right - r.left : r.bottom - r.top;
  Integer block = std::max<Integer>(2, thick * 2 / 3);
  for (Integer at = 0; at < filled; at += block + 2) {
    Integer end = std::min(at + block, length);
    RECT f = vertical ? RECT{r.left, r.bottom - end, r.right, r.bottom - at} : RECT{r.left + at, r.top, r.left + end, r.bottom};
    FillRect(DC, &f, bar);
  }
}

// TUpDown --------------------------------------------------------------------------------------

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

// TBitBtn --------------------------------------------------------------------------------------

namespace {

struct BitBtnKindInfo {
  const char* Caption;
  TModalResult Result;
  bool Default;
  bool Cancel;
};

// Caption, modal result and role of each kind, in the order of TBitBtnKind.
constexpr BitBtnKindInfo kBitBtnKinds[] = {
    {"", mrNone, false, false},         {"OK", mrOk, true, false},        {"Cancel", mrCancel, false, true},
    {"&Help", mrNone, false, false},    {"&Yes", mrYes, true, false},     {"&No", mrNo, false, true},
    {"&Close", mrNone, false, false},   {"Abort", mrAbort, false, true},  {"&Retry", mrRetry, false, false},
    {"&Ignore", mrIgnore, false, false}, {"&All", mrAll, true, false},
};

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(TBitBtn, TButton)
VXN_PUBLISH(TBitBtn) {
  P.Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph);
  P.Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
  P.Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft);
  P.Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1);
  P.Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
  P.Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4);
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), Glyph_(new TBitmap), Canvas_(new TCanvas) {}

TBitBtn::~TBitBtn() {
  DestroyHandle();
}

void TBitBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style = (Params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  Kind_ = Value;
  if (Value == bkCustom) return;
  const BitBtnKindInfo& k = kBitBtnKinds[static_cast<size_t>(Value)];
  SetCaption(k.Caption);
  SetModalResult(k.Result);
  SetDefault(k.Default);
  SetCancel(k.Cancel);
}

void TBitBtn::Click() {
  // A Close button closes its form (a modal one ends without a result).
  if (Kind_ == bkClose)
    if (TForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  TButton::Click();
}

void TBitBtn::SetGlyph(TBitmap* Value) {
  Glyph_->Assign(Value);
  // A strip of square images holds that many glyphs.
  if (!Glyph_->Empty() && Glyph_->Height() > 0 && Glyph_->Width() % Glyph_->Height() == 0) {
    Integer n = Glyph_->Width() / Glyph_->Height();
    if (n >= 1 && n <= 4) NumGlyphs_ = n;
  }
  Invalidate();
}

void TBitBtn::SetNumGlyphs(Integer Value) {
  NumGlyphs_ = std::clamp<Integer>(Value, 1, 4);
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  Layout_ = Value;
  Invalidate();
}

void TBitBtn::SetMargin(Integer Value) {
  Margin_ = Value;
  Invalidate();
}

void TBitBtn::SetSpacing(Integer Value) {
  Spacing_ = Value;
  Invalidate();
}

void TBitBtn::WndProc(TMessage& Message) {
  if (Message.Msg == CN_DRAWITEM) {
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
    Message.Result = 1;
    return;
  }
  TButton::WndProc(Message);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& Item) {
  HDC dc = Item.hDC;
  RECT r = Item.rcItem;
  bool pressed = Item.itemState & ODS_SELECTED;
  bool focused = Item.itemState & ODS_FOCUS;
  bool enabled = !(Item.itemState & ODS_DISABLED);
  Canvas_->SetHandle(dc);
  if (ScopedTheme theme(u"Button"); theme) {
    bool hot = Item.itemState & ODS_HOTLIGHT;
    int state = !enabled ? PBS_DISABLED : pressed ? PBS_PRESSED : hot ? PBS_HOT : Active() ? PBS_DEFAULTED : PBS_NORMAL;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));  // under the rounded corners
    DrawThemeBackground(theme.get(), dc, BP_PUSHBUTTON, state, &r, nullptr);
  } else {
    if (Active()) {
      // The default (or focused) button wears a black frame outside its edges.
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  }
  Integer gw = Glyph_->Empty() ? 0 : Glyph_->Width() / NumGlyphs_, gh = Glyph_->Empty() ? 0 : Glyph_->Height();
  Canvas_->SetFont(Font());
  Canvas_->Brush()->SetStyle(bsClear);
  std::string text = Caption();
  TSize ts = text.empty() ? TSize{0, 0} : Canvas_->TextExtent(text);
  auto [glyphAt, textAt] = PlaceGlyphAndText(Layout_, Margin_, Spacing_, {Width(), Height()}, {gw, gh}, ts);
  Integer shift = pressed ? 1 : 0;
  if (gw > 0) {
    // Images side by side: up, disabled, down.
    Integer index = !enabled ? 1 : pressed ? 2 : 0;
    if (index >= NumGlyphs_) index = 0;
    TBitmap part;
    part.SetSize(gw, gh);
    BitBlt(part.DC(), 0, 0, gw, gh, Glyph_->DC(), index * gw, 0, SRCCOPY);
    // One transparent colour for the whole strip: its bottom-left pixel.
    part.SetTransparentColor(Glyph_->TransparentColor());
    part.SetTransparent(true);
    Canvas_->Draw(glyphAt.X + shift, glyphAt.Y + shift, &part);
  }
  if (!text.empty()) {
    Canvas_->Font()->SetColor(enabled ? clBtnText : clGrayText);
    RECT tr{textAt.X + shift, textAt.Y + shift, textAt.X + shift + ts.cx, textAt.Y + shift + ts.cy};
    Canvas_->RequiredState();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(enabled ? clBtnText : clGrayText));
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE);
    if (focused) {
      RECT f{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
      DrawFocusRect(dc, &f);
    }
  }
  Canvas_->SetHandle(nullptr);
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

void RegisterSmallCtrlsClasses() {
  RegisterClasses({TScrollBar::StaticClass(), TSplitter::StaticClass(), TProgressBar::StaticClass(),
                   TUpDown::StaticClass(), TBitBtn::StaticClass(), TScrollBox::StaticClass()});
}
