#include "platform/forms/ButtonCtrls.h"

#include "platform/forms/ControlColors.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/GlyphLayout.h"

#include <unordered_map>

#include "platform/rtl/Utf8.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

using namespace win;

// Button controls ---------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TButtonControl, TWinControl)

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner), Brush_(new TBrush) {
  DefWndProc = &ButtonWindowProc;
  ControlStyle -= csClickEvents;  // clicks come from BN_CLICKED, not from the mouse messages
  SetParentColor(true);
}

TButtonControl::~TButtonControl() {
  DestroyHandle();
}

void TButtonControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  RegisterButtonClass();
}

void TButtonControl::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessage(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
}

void TButtonControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: {
      WORD code = HIWORD(static_cast<uintptr_t>(Message.WParam));
      if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
        ButtonNotified(code);
        return;
      }
      break;
    }
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: {
      Brush_->SetColor(Color());
      Message.Result = AnswerControlColor(*this, *Brush_, reinterpret_cast<HDC>(Message.WParam));
      return;
    }
  }
  TWinControl::WndProc(Message);
}

void TButtonControl::ButtonNotified(WORD Code) {
  if (Code == BN_DOUBLECLICKED) DblClick();
}

void TButtonControl::CMFontChanged(TMessage& Message) {
  TWinControl::CMFontChanged(Message);
  if (HandleAllocated()) SendMessage(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
}

void TButtonControl::CMTextChanged(TMessage& Message) {
  TWinControl::CMTextChanged(Message);
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

namespace {

// Check boxes and radio buttons keep the side of their text in the window
// style, so moving it needs a new window.
void SetTextSide(TWinControl& Button, TAlignment& Side, TAlignment Value) {
  if (Value == Side) return;
  Side = Value;
  if (Button.HandleAllocated()) Button.RecreateWnd();
}

DWORD TextSideStyle(TAlignment Side) { return Side == taLeftJustify ? BS_LEFTTEXT : 0; }

// The accelerator of a check box or radio button moves the focus there; the
// caller acts only if the focus arrived.
bool FocusByAccelerator(TWinControl& Button, TMessage& Message) {
  if (!IsAccel(Message.WParam, Button.Caption()) || !Button.CanFocus()) return false;
  Button.SetFocus();
  Message.Result = 1;
  return true;
}

}  // namespace

// TButton -------------------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TButton, TButtonControl)
VXN_PUBLISH(TButton) {
  P.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
  P.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
  P.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  ControlStyle += csSetCaption;
}

void TButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.Style |= Default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool Value) {
  if (Value == Default_) return;
  Default_ = Value;
  if (HandleAllocated()) SendMessage(Handle(), BM_SETSTYLE, Default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
}

void TButton::WndProc(TMessage& Message) {
  if (Message.Msg == CM_FOCUSCHANGED && HandleAllocated()) {
    // The black frame of the default button goes to the push button with
    // the focus, and back to the default one when no push button has it.
    auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
    bool framed = dynamic_cast<TButton*>(focused) ? focused == this : Default_;
    auto style = static_cast<DWORD>(GetWindowLongPtr(Handle(), GWL_STYLE)) & BS_TYPEMASK;
    if ((style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON) && (style == BS_DEFPUSHBUTTON) != framed)
      SendMessage(Handle(), BM_SETSTYLE, framed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
  }
  TButtonControl::WndProc(Message);
}

bool TButton::Active() const {
  TWinControl* focused = FindControl(GetFocus());
  if (auto* b = dynamic_cast<TButton*>(focused)) return b == this;
  return Default_;
}

void TButton::Click() {
  // The form takes the button's result as its own, which ends a modal form.
  if (ModalResult_ != mrNone)
    if (TForm* form = GetParentForm(this)) form->SetModalResult(ModalResult_);
  TButtonControl::Click();
}

void TButton::CMDialogKey(TMessage& Message) {
  bool enter = Message.WParam == VK_RETURN && Active();
  bool escape = Message.WParam == VK_ESCAPE && Cancel_;
  if ((enter || escape) && Visible() && Enabled()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogKey(Message);
}

void TButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::CMDialogChar(Message);
}

void TButton::ButtonNotified(WORD Code) {
  if (Code == BN_CLICKED)
    Click();
  else
    TButtonControl::ButtonNotified(Code);
}

// TCheckBox --------------------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TCustomCheckBox, TButtonControl)
VXN_IMPLEMENT_CREATABLE_CLASS(TCheckBox, TCustomCheckBox)
VXN_PUBLISH(TCheckBox) {
  P.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightJustify);
  P.Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
  P.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Stored(false);
  P.Property("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
}

TCheckBox::TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
  ControlStyle += csSetCaption;
}

void TCheckBox::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.Style |= BS_3STATE | TextSideStyle(Alignment_);
}

void TCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessage(Handle(), BM_SETCHECK, static_cast<WPARAM>(State_), 0);
}

void TCheckBox::SetAlignment(TAlignment Value) { SetTextSide(*this, Alignment_, Value); }

void TCheckBox::SetState(TCheckBoxState Value) {
  if (Value == State_) return;
  State_ = Value;
  if (HandleAllocated()) SendMessage(Handle(), BM_SETCHECK, static_cast<WPARAM>(State_), 0);
  if (!ClicksDisabled) Click();
}

void TCheckBox::Toggle() {
  switch (State_) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(AllowGrayed_ ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
}

void TCheckBox::CMDialogChar(TMessage& Message) {
  if (!FocusByAccelerator(*this, Message)) {
    TButtonControl::CMDialogChar(Message);
    return;
  }
  if (Focused()) Toggle();
}

void TCheckBox::ButtonNotified(WORD Code) {
  if (Code == BN_CLICKED)
    Toggle();
  else
    TButtonControl::ButtonNotified(Code);
}

// TRadioButton -----------------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TRadioButton, TButtonControl)
VXN_PUBLISH(TRadioButton) {
  P.Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify);
  P.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  ControlStyle += csSetCaption;
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  Params.Style |= BS_RADIOBUTTON | TextSideStyle(Alignment_);
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessage(Handle(), BM_SETCHECK, Checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TAlignment Value) { SetTextSide(*this, Alignment_, Value); }

void TRadioButton::SetChecked(bool Value) {
  if (Value == Checked_) return;
  Checked_ = Value;
  SetTabStop(Value);
  if (HandleAllocated()) SendMessage(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!Value) return;
  if (TWinControl* parent = Parent())
    for (Integer i = 0; i < parent->ControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
        sibling->SetChecked(false);
  if (!ClicksDisabled) Click();
}

void TRadioButton::CMDialogChar(TMessage& Message) {
  if (!FocusByAccelerator(*this, Message)) {
    TButtonControl::CMDialogChar(Message);
    return;
  }
  if (Focused()) SetChecked(true);
}

void TRadioButton::ButtonNotified(WORD Code) {
  if (Code == BN_CLICKED)
    SetChecked(true);
  else
    TButtonControl::ButtonNotified(Code);
}

// TGroupBox --------------------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TCustomGroupBox, TCustomControl)
VXN_IMPLEMENT_CREATABLE_CLASS(TGroupBox, TCustomGroupBox)

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {
  ControlStyle += csAcceptsControls;
  ControlStyle += csSetCaption;
  ControlStyle += csReplicatable;
  SetBounds(0, 0, 185, 105);
  SetParentColor(true);
}

void TGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Canvas()->SetFont(Font());
  MemoryDc dc;
  TCanvas measure;
  measure.SetHandle(dc);
  measure.SetFont(Font());
  Integer h = measure.TextHeight("0");
  measure.SetHandle(nullptr);
  Rect = {Rect.Left + 1, Rect.Top + h, Rect.Right - 1, Rect.Bottom - 1};
}

void TGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  Integer h = c->TextHeight("0");
  TRect r = Rect(0, h / 2, Width(), Height());
  RECT frame{r.Left, r.Top, r.Right, r.Bottom};
  c->RequiredState();
  ScopedTheme theme(u"Button");
  if (theme)
    DrawThemeBackground(theme.get(), c->Handle(), BP_GROUPBOX, Enabled() ? GBS_NORMAL : GBS_DISABLED, &frame, nullptr);
  else
    DrawEdge(c->Handle(), &frame, EDGE_ETCHED, BF_RECT);
  std::string text = Caption();
  if (text.empty()) return;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->RequiredState();
  RECT t{8, 0, Width() - 8, h};
  UINT flags = DT_SINGLELINE | DT_LEFT;
  RECT measured = t;
  DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
  c->FillRect(Rect(measured.left, measured.top, measured.right, measured.bottom));
  SetBkMode(c->Handle(), TRANSPARENT);
  // Disabled, the classic look embosses the caption; the style grays it.
  if (!Enabled() && !theme) {
    DrawDisabledText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &t, flags);
    return;
  }
  if (!Enabled()) SetTextColor(c->Handle(), ColorToRGB(clGrayText));
  DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &t, flags);
}

void TGroupBox::CMDialogChar(TMessage& Message) {
  // The mnemonic of a group box moves the focus into the group.
  if (IsAccel(Message.WParam, Caption()) && CanFocus()) {
    SelectFirst();
    Message.Result = 1;
    return;
  }
  TCustomControl::CMDialogChar(Message);
}

void TGroupBox::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
  Realign();
}

void RegisterButtonCtrlsClasses() {
  RegisterClasses({TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                   TGroupBox::StaticClass()});
  RegisterClasses({TSpeedButton::StaticClass()});
}

// TSpeedButton ------------------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TSpeedButton, TGraphicControl)
VXN_PUBLISH(TSpeedButton) {
  P.Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  P.Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  P.Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
  P.Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
  P.Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
  P.Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  P.Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
  P.Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  P.Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), Glyph_(new TBitmap) {
  Glyph_->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
  ControlStyle = {csCaptureMouse, csDoubleClicks, csSetCaption, csReplicatable};
  SetBounds(0, 0, 23, 22);
  SetParentFont(true);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::GlyphChanged(TObject*) { Invalidate(); }

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (Value == AllowAllUp_) return;
  AllowAllUp_ = Value;
  UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(Integer Value) {
  if (Value == GroupIndex_) return;
  GroupIndex_ = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (GroupIndex_ == 0) Value = false;
  if (Value == Down_) return;
  if (Down_ && !AllowAllUp_) return;  // the last one down of its group stays down
  Down_ = Value;
  State_ = Value ? bsExclusive : bsUp;
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value) {
  if (Value == Flat_) return;
  Flat_ = Value;
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(Integer Value) {
  Value = std::clamp<Integer>(Value, 1, 4);
  if (Value == NumGlyphs_) return;
  NumGlyphs_ = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (Value == Layout_) return;
  Layout_ = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(Integer Value) {
  if (Value == Margin_ || Value < -1) return;
  Margin_ = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(Integer Value) {
  if (Value == Spacing_) return;
  Spacing_ = Value;
  Invalidate();
}

// Tells the other buttons of the group (and the whole group the AllowAllUp
// setting) through the parent.
void TSpeedButton::UpdateExclusive() {
  if (GroupIndex_ == 0 || !Parent()) return;
  TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(GroupIndex_), reinterpret_cast<LPARAM>(this), 0};
  Parent()->Broadcast(m);
}

void TSpeedButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_BUTTONPRESSED) {
    auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
    if (Message.WParam == static_cast<WPARAM>(GroupIndex_) && sender && sender != this) {
      if (sender->Down_ && Down_) {
        Down_ = false;
        State_ = bsUp;
        Invalidate();
      }
      AllowAllUp_ = sender->AllowAllUp_;
    }
    return;
  }
  if (Message.Msg == CM_DIALOGCHAR) {
    if (IsAccel(Message.WParam, Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
      Click();
      Message.Result = 1;
    }
    return;
  }
  TGraphicControl::Dispatch(Message);
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!Down_) {
    State_ = bsDown;
    Invalidate();
  }
  Dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!Dragging_) return;
  TButtonState state = Down_ ? bsExclusive : bsUp;
  if (Inside(X, Y)) state = bsDown;
  if (state != State_) {
    State_ = state;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!Dragging_) return;
  Dragging_ = false;
  bool click = Inside(X, Y);
  if (GroupIndex_ == 0) {
    State_ = bsUp;
    MouseInControl_ = false;
  } else if (click) {
    SetDown(!Down_);
  }
  if (!Down_) State_ = bsUp;
  if (Down_) State_ = bsExclusive;
  Invalidate();
  if (click) Click();
}

void TSpeedButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::CMMouseEnter(Message);
  if (Flat_ && !MouseInControl_ && Enabled()) {
    MouseInControl_ = true;
    Invalidate();
  }
}

void TSpeedButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  if (Flat_ && MouseInControl_) {
    MouseInControl_ = false;
    Invalidate();
  }
}

void TSpeedButton::CMEnabledChanged(TMessage& Message) {
  TGraphicControl::CMEnabledChanged(Message);
  if (!Enabled()) {
    Dragging_ = false;
    MouseInControl_ = false;
  }
  State_ = Down_ ? bsExclusive : bsUp;
  Invalidate();
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  HDC dc = c->Handle();
  RECT r{0, 0, Width(), Height()};
  bool pressed = State_ == bsDown || State_ == bsExclusive;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, Width(), Height()));
  bool hot = MouseInControl_ && Enabled();
  bool themed = false;
  if (Flat_) {
    // A flat speed button is a tool-bar button of the visual style.
    if (ScopedTheme theme(u"ToolBar"); theme) {
      int state = !Enabled()                        ? TS_DISABLED
                  : State_ == bsDown                ? TS_PRESSED
                  : State_ == bsExclusive           ? (hot ? TS_HOTCHECKED : TS_CHECKED)
                  : hot                             ? TS_HOT
                                                    : TS_NORMAL;
      DrawThemeBackground(theme.get(), dc, TP_BUTTON, state, &r, nullptr);
      themed = true;
    }
  } else if (ScopedTheme theme(u"Button"); theme) {
    int state = !Enabled() ? PBS_DISABLED : pressed ? PBS_PRESSED : hot ? PBS_HOT : PBS_NORMAL;
    DrawThemeBackground(theme.get(), dc, BP_PUSHBUTTON, state, &r, nullptr);
    themed = true;
  }
  if (!themed && !Flat_) {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  } else if (!themed && (pressed || hot)) {
    DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  if (State_ == bsExclusive && !(Flat_ && MouseInControl_) && !themed) {
    // Stuck down: the face checkered with the highlight colour.
    for (Integer y = 2; y < Height() - 2; ++y)
      for (Integer x = 2 + (y % 2); x < Width() - 2; x += 2) SetPixel(dc, x, y, ColorToRGB(clBtnHighlight));
  }

  // Glyph and caption, laid out as one block.
  Integer gw = Glyph_->Empty() ? 0 : Glyph_->Width() / NumGlyphs_, gh = Glyph_->Empty() ? 0 : Glyph_->Height();
  c->SetFont(Font());
  std::string text = Caption();
  RECT tr{0, 0, Width(), 0};
  c->RequiredState();
  if (!text.empty()) DrawText(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE | DT_CALCRECT);
  Integer tw = text.empty() ? 0 : tr.right - tr.left, th = text.empty() ? 0 : tr.bottom - tr.top;
  auto [glyphAt, textAt] =
      PlaceGlyphAndText(Layout_, Margin_, Spacing_, {Width(), Height()}, {gw, gh}, {tw, th});
  Integer shift = pressed ? 1 : 0;
  if (gw > 0) {
    static constexpr Integer kIndexOfState[] = {0, 1, 2, 3};
    Integer index = Enabled() ? kIndexOfState[State_] : 1;
    if (index >= NumGlyphs_) index = 0;
    TBitmap part;
    part.SetSize(gw, gh);
    BitBlt(part.DC(), 0, 0, gw, gh, Glyph_->DC(), index * gw, 0, SRCCOPY);
    part.SetTransparent(true);
    if (!Enabled() && NumGlyphs_ < 2) {
      // No disabled image of its own: engraved from the glyph's shape.
      COLORREF key = ColorToRGB(part.TransparentColor()) & 0xFFFFFF;
      for (Integer y = 0; y < gh; ++y)
        for (Integer x = 0; x < gw; ++x)
          if ((GetPixel(part.DC(), x, y) & 0xFFFFFF) != key) {
            SetPixel(dc, glyphAt.X + x + 1, glyphAt.Y + y + 1, ColorToRGB(clBtnHighlight));
            SetPixel(dc, glyphAt.X + x, glyphAt.Y + y, ColorToRGB(clBtnShadow));
          }
    } else {
      c->Draw(glyphAt.X + shift, glyphAt.Y + shift, &part);
    }
  }
  if (!text.empty()) {
    RECT t{textAt.X + shift, textAt.Y + shift, textAt.X + shift + tw, textAt.Y + shift + th};
    SetBkMode(dc, TRANSPARENT);
    if (Enabled())
      DrawText(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_SINGLELINE);
    else
      DrawDisabledText(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_SINGLELINE);
  }
}

