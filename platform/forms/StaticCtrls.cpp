#include "platform/forms/StaticCtrls.h"

#include <algorithm>
#include <cwctype>

#include "platform/rtl/Utf8.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiText.h"
#include "platform/win/WinUser.h"
#include "platform/win/GdiScopes.h"

using namespace win;

namespace {

char32_t DecodeAt(const std::string& s, size_t& i) {
  auto b = static_cast<unsigned char>(s[i]);
  int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
  char32_t c = extra == 0 ? b : b & (0x3F >> extra);
  ++i;
  for (int k = 0; k < extra && i < s.size(); ++k, ++i) c = (c << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
  return c;
}

char32_t Upper(char32_t c) { return static_cast<char32_t>(std::towupper(static_cast<wint_t>(c))); }

}  // namespace

bool IsAccel(WPARAM VK, const std::string& Str) {
  for (size_t i = 0; i < Str.size();) {
    if (Str[i] != '&') {
      DecodeAt(Str, i);
      continue;
    }
    ++i;
    if (i >= Str.size()) return false;
    if (Str[i] == '&') {  // a literal ampersand
      ++i;
      continue;
    }
    return Upper(DecodeAt(Str, i)) == Upper(static_cast<char32_t>(VK));
  }
  return false;
}

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width) {
  Canvas->Pen()->SetWidth(1);
  --Rect.Bottom;
  --Rect.Right;
  for (Integer i = 0; i < Width; ++i) {
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({Point(Rect.Left, Rect.Bottom), Point(Rect.Left, Rect.Top), Point(Rect.Right, Rect.Top)});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline(
        {Point(Rect.Right, Rect.Top), Point(Rect.Right, Rect.Bottom), Point(Rect.Left - 1, Rect.Bottom)});
    ++Rect.Left, ++Rect.Top, --Rect.Right, --Rect.Bottom;
  }
  ++Rect.Bottom;
  ++Rect.Right;
}

// Labels -------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TLabel, TGraphicControl)
VXN_PUBLISH(TLabel) {
  P.Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
  P.Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(true);
  P.Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
  P.Property("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
  P.Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
  P.Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(false);
  P.Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(false);
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle += csOpaque;
  ControlStyle += csReplicatable;
  SetBounds(0, 0, 65, 17);
  TControl::SetAutoSize(true);
  SetParentColor(true);
}

UINT TLabel::TextFlags() const {
  static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | kAlign[Alignment_];
  if (WordWrap_) flags |= DT_WORDBREAK;
  if (!ShowAccelChar_) flags |= DT_NOPREFIX;
  return flags;
}

void TLabel::DoDrawText(TCanvas* ACanvas, TRect& Rect, UINT Flags) {
  std::string text = Caption();
  // An empty line still takes a line's height when measured.
  if ((Flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar_ && text == "&"))) text += " ";
  ACanvas->SetFont(Font());
  ACanvas->RequiredState();
  HDC dc = ACanvas->Handle();
  RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  SetBkMode(dc, TRANSPARENT);
  if (!Enabled() && !(Flags & DT_CALCRECT))
    DrawDisabledText(dc, text.c_str(), static_cast<int>(text.size()), &r, Flags);
  else
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, Flags);
  Rect = {r.left, r.top, r.right, r.bottom};
}

void TLabel::Paint() {
  TCanvas* c = Canvas();
  TRect rect = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(rect);
  }
  c->Brush()->SetStyle(bsClear);
  if (Layout_ != tlTop) {
    TRect measured = rect;
    DoDrawText(c, measured, TextFlags() | DT_CALCRECT);
    Integer offset = rect.Height() - measured.Height();
    if (Layout_ == tlCenter) offset /= 2;
    rect.Top += offset;
  }
  DoDrawText(c, rect, TextFlags());
}

void TLabel::AdjustBounds() {
  if (ComponentState().Contains(csLoading) || !AutoSize()) return;
  TRect rect = ClientRect();
  {
    MemoryDc dc;
    TCanvas measure;
    measure.SetHandle(dc);
    if (!WordWrap_) rect.Right = rect.Left + 100000;
    DoDrawText(&measure, rect, TextFlags() | DT_CALCRECT);
    measure.SetHandle(nullptr);
  }
  Integer left = Left();
  // A right-aligned label grows to the left, keeping its right edge.
  if (Alignment_ == taRightJustify && !WordWrap_) left += Width() - rect.Width();
  SetBounds(left, Top(), rect.Width(), rect.Height());
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::SetAutoSize(bool Value) {
  if (Value == AutoSize()) return;
  TControl::SetAutoSize(Value);
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment Value) {
  if (Value == Alignment_) return;
  Alignment_ = Value;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout Value) {
  if (Value == Layout_) return;
  Layout_ = Value;
  Invalidate();
}

void TLabel::SetWordWrap(bool Value) {
  if (Value == WordWrap_) return;
  WordWrap_ = Value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetTransparent(bool Value) {
  if (Value == Transparent()) return;
  if (Value)
    ControlStyle -= csOpaque;
  else
    ControlStyle += csOpaque;
  Invalidate();
}

void TLabel::SetShowAccelChar(bool Value) {
  if (Value == ShowAccelChar_) return;
  ShowAccelChar_ = Value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* Value) {
  if (Value == FocusControl_) return;
  if (FocusControl_) FocusControl_->RemoveFreeNotification(this);
  FocusControl_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FocusControl_) FocusControl_ = nullptr;
}

void TLabel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR) {
    // The mnemonic moves the focus to the control the label names.
    if (FocusControl_ && Enabled() && ShowAccelChar_ && IsAccel(Message.WParam, Caption()) &&
        FocusControl_->CanFocus()) {
      FocusControl_->SetFocus();
      Message.Result = 1;
    }
    return;
  }
  TGraphicControl::Dispatch(Message);
}

void TLabel::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
  AdjustBounds();
}

void TLabel::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
}

// Bevels --------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TBevel, TGraphicControl)
VXN_PUBLISH(TBevel) {
  P.Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
  P.Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle += csReplicatable;
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (Value == Shape_) return;
  Shape_ = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (Value == Style_) return;
  Style_ = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->SetWidth(1);
  TColor color1 = Style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor color2 = Style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  auto bevelRect = [&](TRect r, TColor first, TColor second) {
    c->Pen()->SetColor(first);
    c->Polyline({Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)});
    c->Pen()->SetColor(second);
    c->Polyline({Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left, r.Bottom)});
  };
  auto bevelLine = [&](TColor color, Integer x1, Integer y1, Integer x2, Integer y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  Integer w = Width(), h = Height();
  switch (Shape_) {
    case bsBox: bevelRect(Rect(0, 0, w - 1, h - 1), color1, color2); break;
    case bsFrame:
      bevelRect(Rect(1, 1, w - 1, h - 1), color2, color2);
      bevelRect(Rect(0, 0, w - 2, h - 2), color1, color1);
      break;
    case bsTopLine:
      bevelLine(color1, 0, 0, w, 0);
      bevelLine(color2, 0, 1, w, 1);
      break;
    case bsBottomLine:
      bevelLine(color1, 0, h - 2, w, h - 2);
      bevelLine(color2, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      bevelLine(color1, 0, 0, 0, h);
      bevelLine(color2, 1, 0, 1, h);
      break;
    case bsRightLine:
      bevelLine(color1, w - 2, 0, w - 2, h);
      bevelLine(color2, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}

// Images --------------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TImage, TGraphicControl)
VXN_PUBLISH(TImage) {
  P.Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(false);
  P.Property("Center", &TImage::Center, &TImage::SetCenter).Default(false);
  P.Property("Picture", &TImage::Picture, &TImage::SetPicture);
  P.Property("Proportional", &TImage::Proportional, &TImage::SetProportional).Default(false);
  P.Property("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
  P.Property("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false);
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), Picture_(new TPicture) {
  ControlStyle += csReplicatable;
  Picture_->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

TCanvas* TImage::Canvas() {
  if (!Picture_->Graphic()) {
    TBitmap* b = Picture_->Bitmap();
    b->SetSize(Width(), Height());
  }
  auto* bitmap = dynamic_cast<TBitmap*>(Picture_->Graphic());
  if (!bitmap) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  return bitmap->Canvas();
}

void TImage::PictureChanged(TObject*) {
  TGraphic* g = Picture_->Graphic();
  if (g) {
    if (!dynamic_cast<TIcon*>(g) && g->Transparent() != Transparent_) g->SetTransparent(Transparent_);
    if (AutoSize() && !g->Empty()) SetBounds(Left(), Top(), g->Width(), g->Height());
  }
  Invalidate();
}

void TImage::SetAutoSize(bool Value) {
  if (Value == AutoSize()) return;
  TControl::SetAutoSize(Value);
  PictureChanged(this);
}

void TImage::SetStretch(bool Value) {
  if (Value == Stretch_) return;
  Stretch_ = Value;
  Invalidate();
}

void TImage::SetCenter(bool Value) {
  if (Value == Center_) return;
  Center_ = Value;
  Invalidate();
}

void TImage::SetProportional(bool Value) {
  if (Value == Proportional_) return;
  Proportional_ = Value;
  Invalidate();
}

void TImage::SetTransparent(bool Value) {
  if (Value == Transparent_) return;
  Transparent_ = Value;
  PictureChanged(this);
}

TRect TImage::DestRect() {
  TGraphic* g = Picture_->Graphic();
  Integer w = g ? g->Width() : 0, h = g ? g->Height() : 0;
  Integer cw = Width(), ch = Height();
  if (Stretch_ || (Proportional_ && (w > cw || h > ch))) {
    if (Proportional_ && w > 0 && h > 0) {
      // Fit inside, keeping the picture's shape.
      if (int64_t{cw} * h > int64_t{ch} * w) {
        w = static_cast<Integer>(int64_t{w} * ch / h), h = ch;
      } else {
        h = static_cast<Integer>(int64_t{h} * cw / w), w = cw;
      }
    } else {
      w = cw, h = ch;
    }
  }
  TRect r = Rect(0, 0, w, h);
  if (Center_) {
    Integer dx = (cw - w) / 2, dy = (ch - h) / 2;
    r = Rect(dx, dy, dx + w, dy + h);
  }
  return r;
}

void TImage::Paint() {
  if (TGraphic* g = Picture_->Graphic()) TGraphicControl::Canvas()->StretchDraw(DestRect(), g);
}

// Paint boxes -----------------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TPaintBox, TGraphicControl)
VXN_PUBLISH(TPaintBox) {
  P.Event("OnPaint", &TPaintBox::OnPaint);
}

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle += csReplicatable;
  SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
  Canvas()->SetFont(Font());
  Canvas()->Brush()->SetColor(Color());
  OnPaint(this);
}

// Panels --------------------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TCustomPanel, TCustomControl)
VXN_IMPLEMENT_CREATABLE_CLASS(TPanel, TCustomPanel)
VXN_PUBLISH(TPanel) {
  P.Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
  P.Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
  P.Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
  P.Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
  P.Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
  P.Property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
}

TPanel::TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  ControlStyle += csAcceptsControls;
  ControlStyle += csOpaque;
  ControlStyle += csSetCaption;
  ControlStyle += csReplicatable;
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (BorderStyle_ == bsSingle) Params.Style |= WS_BORDER;
}

void TPanel::Changed() {
  Realign();
  Invalidate();
}

void TPanel::SetAlignment(TAlignment Value) {
  if (Value == Alignment_) return;
  Alignment_ = Value;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut Value) {
  if (Value == BevelInner_) return;
  BevelInner_ = Value;
  Changed();
}

void TPanel::SetBevelOuter(TBevelCut Value) {
  if (Value == BevelOuter_) return;
  BevelOuter_ = Value;
  Changed();
}

void TPanel::SetBevelWidth(Integer Value) {
  if (Value < 1 || Value == BevelWidth_) return;
  BevelWidth_ = Value;
  Changed();
}

void TPanel::SetBorderWidth(Integer Value) {
  if (Value < 0 || Value == BorderWidth_) return;
  BorderWidth_ = Value;
  Changed();
}

void TPanel::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone && Value != bsSingle) return;  // panels know only these two
  if (Value == BorderStyle_) return;
  BorderStyle_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Integer inset = BorderWidth_;
  if (BevelOuter_ != bvNone) inset += BevelWidth_;
  if (BevelInner_ != bvNone) inset += BevelWidth_;
  Rect = {Rect.Left + inset, Rect.Top + inset, Rect.Right - inset, Rect.Bottom - inset};
}

void TPanel::Paint() {
  TCanvas* c = Canvas();
  TRect rect = ClientRect();
  auto cutColors = [](TBevelCut cut, TColor& top, TColor& bottom) {
    top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
  };
  TColor top, bottom;
  if (BevelOuter_ != bvNone) {
    cutColors(BevelOuter_, top, bottom);
    if (BevelOuter_ == bvSpace) top = bottom = Color();
    Frame3D(c, rect, top, bottom, BevelWidth_);
  }
  Frame3D(c, rect, Color(), Color(), BorderWidth_);
  if (BevelInner_ != bvNone) {
    cutColors(BevelInner_, top, bottom);
    if (BevelInner_ == bvSpace) top = bottom = Color();
    Frame3D(c, rect, top, bottom, BevelWidth_);
  }
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(rect);
  std::string text = Caption();
  if (text.empty()) return;
  static constexpr UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  c->SetFont(Font());
  c->Brush()->SetStyle(bsClear);
  c->RequiredState();
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
           DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE | kAlign[Alignment_]);
}

void TPanel::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void RegisterStaticCtrlsClasses() {
  RegisterClasses({TLabel::StaticClass(), TBevel::StaticClass(), TImage::StaticClass(), TPaintBox::StaticClass(),
                   TPanel::StaticClass()});
}
