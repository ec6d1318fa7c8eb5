#include "platform/forms/ComCtrls.h"

#include <algorithm>

#include "platform/forms/FormsPrivate.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiText.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

using namespace win;
using namespace forms;

VXN_IMPLEMENT_CREATABLE_CLASS(TToolButton, TGraphicControl)
VXN_PUBLISH(TToolButton) {
  P.Property("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(false);
  P.Property("Down", &TToolButton::Down, &TToolButton::SetDown).Default(false);
  P.Property("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu);
  P.Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(false);
  P.Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex).Default(-1);
  P.Property("Indeterminate", &TToolButton::Indeterminate, &TToolButton::SetIndeterminate).Default(false);
  P.Property("Marked", &TToolButton::Marked, &TToolButton::SetMarked).Default(false);
  P.Property("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
  P.Property("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
}

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle += csCaptureMouse;
  ControlStyle += csClickEvents;
  SetBounds(0, 0, 23, 22);
}

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetParent(TWinControl* AParent) {
  TToolBar* old = ToolBar();
  if (old && old->Hot_ == this) old->Hot_ = nullptr;
  TGraphicControl::SetParent(AParent);
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
  if (old) old->ArrangeButtons();
}

void TToolButton::Changed() {
  Invalidate();
  if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
  if (Style_ == Value) return;
  Style_ = Value;
  if ((Value == tbsSeparator || Value == tbsDivider) && Width() == 23) SetWidth(8);
  Changed();
}

void TToolButton::SetImageIndex(Integer Value) {
  ImageIndex_ = Value;
  Invalidate();
}

void TToolButton::SetIndeterminate(bool Value) {
  Indeterminate_ = Value;
  Invalidate();
}

void TToolButton::SetMarked(bool Value) {
  Marked_ = Value;
  Invalidate();
}

void TToolButton::SetDown(bool Value) {
  if (Down_ == Value) return;
  TToolBar* bar = ToolBar();
  Down_ = Value;
  if (Value && Grouped_ && bar) {
    // The group is the run of grouped check buttons around this one.
    Integer i = Index();
    for (Integer k = i - 1; k >= 0; --k) {
      TToolButton* b = bar->Buttons(k);
      if (!b->Grouped_ || b->Style_ != tbsCheck) break;
      if (b->Down_) { b->Down_ = false; b->Invalidate(); }
    }
    for (Integer k = i + 1; k < bar->ButtonCount(); ++k) {
      TToolButton* b = bar->Buttons(k);
      if (!b->Grouped_ || b->Style_ != tbsCheck) break;
      if (b->Down_) { b->Down_ = false; b->Invalidate(); }
    }
  }
  Invalidate();
}

Integer TToolButton::Index() const {
  TToolBar* bar = ToolBar();
  if (!bar) return -1;
  for (Integer i = 0; i < bar->ButtonCount(); ++i)
    if (bar->Buttons(i) == this) return i;
  return -1;
}

bool TToolButton::Hot() const {
  TToolBar* bar = ToolBar();
  return bar && bar->Hot_ == this;
}

void TToolButton::Click() {
  // A click keeps one of a group down unless the group allows all up.
  if (Style_ == tbsCheck && !(Down_ && Grouped_ && !AllowAllUp_)) SetDown(!Down_);
  TGraphicControl::Click();
  if (MenuItem_) MenuItem_->Click();
}

void TToolButton::SetMenuItem(TMenuItem* Value) {
  if (MenuItem_ == Value) return;
  if (MenuItem_) MenuItem_->RemoveFreeNotification(this);
  MenuItem_ = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  SetCaption(Value->Caption());
  SetHint(Value->Hint());
  SetImageIndex(Value->ImageIndex());
  SetEnabled(Value->Enabled());
  SetVisible(Value->Visible());
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == MenuItem_) MenuItem_ = nullptr;
}

void TToolButton::Paint() {
  // The bar draws its buttons, so that custom drawing sees one canvas.
}

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && Enabled() && Style_ == tbsDropDown && X >= Width() - 13) {
    // The arrow opens the menu below the button instead of clicking it.
    if (auto* popup = dynamic_cast<IPopupComponent*>(DropdownMenu_)) {
      ControlState -= csClicked;
      SetMouseCapture(false);
      Pressed_ = true;
      Repaint();
      TPoint p = ClientToScreen({0, Height()});
      popup->SetPopupComponent(this);
      popup->Popup(p.X, p.Y);
      Pressed_ = false;
      Invalidate();
      return;
    }
  }
  if (Button == mbLeft && Enabled() && Style_ != tbsSeparator && Style_ != tbsDivider) {
    Pressed_ = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TToolButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (TToolBar* bar = ToolBar(); bar && !MouseInside_ && Enabled()) {
    MouseInside_ = true;
    bar->SetHot(this);
  }
  TGraphicControl::MouseMove(Shift, X, Y);
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Pressed_) {
    Pressed_ = false;
    Invalidate();
  }
  TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TToolButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::CMMouseEnter(Message);
  MouseInside_ = true;
  if (TToolBar* bar = ToolBar(); bar && Enabled() && Style_ != tbsSeparator && Style_ != tbsDivider)
    bar->SetHot(this);
}

void TToolButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  MouseInside_ = false;
  if (TToolBar* bar = ToolBar(); bar && bar->Hot_ == this) bar->SetHot(nullptr);
}

void TToolButton::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
}

VXN_IMPLEMENT_CREATABLE_CLASS(TToolBar, TCustomControl)
VXN_PUBLISH(TToolBar) {
  P.Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
  P.Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
  P.Property("DisabledImages", &TToolBar::DisabledImages, &TToolBar::SetDisabledImages);
  P.Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(false);
  P.Property("HotImages", &TToolBar::HotImages, &TToolBar::SetHotImages);
  P.Property("Images", &TToolBar::Images, &TToolBar::SetImages);
  P.Property("List", &TToolBar::List, &TToolBar::SetList).Default(false);
  P.Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(false);
  P.Property("Transparent", &TToolBar::Transparent, &TToolBar::SetTransparent).Default(false);
  P.Property("Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable).Default(true);
  P.Event("OnCustomDraw", &TToolBar::OnCustomDraw);
  P.Event("OnCustomDrawButton", &TToolBar::OnCustomDrawButton);
  P.Event("OnAdvancedCustomDrawButton", &TToolBar::OnAdvancedCustomDrawButton);
}

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle += csAcceptsControls;
  ControlStyle += csOpaque;
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
  SetColor(clBtnFace);
  for (TChangeLink* link : {&ImagesLink_, &HotImagesLink_, &DisabledImagesLink_})
    link->OnChange = TNotifyEvent(this, &TToolBar::ImagesChanged);
}

void TToolBar::ImagesChanged(TObject*) { Invalidate(); }

Integer TToolBar::ButtonCount() const {
  Integer n = 0;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++n;
  return n;
}

TToolButton* TToolBar::Buttons(Integer Index) const {
  Integer n = 0;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TToolButton*>(Controls(i))) {
      if (n++ == Index) return b;
    }
  throw EListError(SListIndexError, {Index});
}

#define VXN_BAR_SETTER(Name, Type, Field) \
  void TToolBar::Set##Name(Type Value) {  \
    if (Field == Value) return;           \
    Field = Value;                        \
    ArrangeButtons();                     \
    Invalidate();                         \
  }
VXN_BAR_SETTER(ButtonWidth, Integer, ButtonWidth_)
VXN_BAR_SETTER(ButtonHeight, Integer, ButtonHeight_)
VXN_BAR_SETTER(Flat, bool, Flat_)
VXN_BAR_SETTER(List, bool, List_)
VXN_BAR_SETTER(ShowCaptions, bool, ShowCaptions_)
VXN_BAR_SETTER(Transparent, bool, Transparent_)
VXN_BAR_SETTER(Wrapable, bool, Wrapable_)
#undef VXN_BAR_SETTER

void TToolBar::SetImages(TCustomImageList* Value) {
  if (Images_) Images_->RemoveFreeNotification(this);
  Images_ = Value;
  LinkImages(ImagesLink_, Value);
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void TToolBar::SetHotImages(TCustomImageList* Value) {
  if (HotImages_) HotImages_->RemoveFreeNotification(this);
  HotImages_ = Value;
  LinkImages(HotImagesLink_, Value);
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void TToolBar::SetDisabledImages(TCustomImageList* Value) {
  if (DisabledImages_) DisabledImages_->RemoveFreeNotification(this);
  DisabledImages_ = Value;
  LinkImages(DisabledImagesLink_, Value);
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == Images_) Images_ = nullptr;
  if (AComponent == HotImages_) HotImages_ = nullptr;
  if (AComponent == DisabledImages_) DisabledImages_ = nullptr;
  if (AComponent == Hot_) Hot_ = nullptr;
}

void TToolBar::SetHot(TToolButton* Button) {
  if (Hot_ == Button) return;
  TToolButton* old = Hot_;
  Hot_ = Button;
  if (old) old->Invalidate();
  if (Button) Button->Invalidate();
}

void TToolBar::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  ArrangeButtons();
}

void TToolBar::ArrangeButtons() {
  if (Arranging_) return;
  Arranging_ = true;
  Integer x = 0, y = 2;
  Integer rowHeight = ButtonHeight_;
  Integer limit = Width();
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible() || c->Align() != alNone) continue;
    auto* b = dynamic_cast<TToolButton*>(c);
    Integer w = b ? ((b->Style() == tbsSeparator || b->Style() == tbsDivider) ? b->Width() : ButtonWidth_)
                  : c->Width();
    Integer h = b ? ButtonHeight_ : c->Height();
    if (b && b->Style() == tbsDropDown) w = ButtonWidth_ + 14;  // room for the arrow
    if (Wrapable_ && x > 0 && x + w > limit && limit > 0) {
      x = 0;
      y += rowHeight;
    }
    c->SetBounds(x, y, w, h);
    x += w;
  }
  Arranging_ = false;
}

TCustomDrawState TToolBar::ButtonState(TToolButton* Button) const {
  TCustomDrawState state;
  if (!Button->Enabled()) state += cdsDisabled;
  if (Button == Hot_ && Button->Enabled()) state += cdsHot;
  if (Button->Down()) state += cdsChecked;
  if (Button->Pressed()) state += cdsSelected;
  if (Button->Indeterminate()) state += cdsIndeterminate;
  if (Button->Marked()) state += cdsMarked;
  return state;
}

void TToolBar::Paint() {
  TCanvas* c = Canvas();
  TRect client = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(client);
  bool defaultDraw = true;
  if (OnCustomDraw) OnCustomDraw(this, client, defaultDraw);
  for (Integer i = 0; i < ButtonCount(); ++i) {
    TToolButton* b = Buttons(i);
    if (b->Visible()) DrawButton(b, c);
  }
}

void TToolBar::DrawButton(TToolButton* Button, TCanvas* Canvas) {
  TRect r = Button->BoundsRect();
  TCustomDrawState state = ButtonState(Button);
  Canvas->Brush()->SetColor(Color());
  Canvas->Font()->Assign(Font());
  bool defaultDraw = true;
  if (OnCustomDrawButton) OnCustomDrawButton(this, Button, state, defaultDraw);
  if (defaultDraw && OnAdvancedCustomDrawButton)
    OnAdvancedCustomDrawButton(this, Button, state, cdPrePaint, defaultDraw);
  if (!defaultDraw) return;

  HDC dc = Canvas->Handle();
  ScopedTheme theme(u"ToolBar");
  if (theme && (Button->Style() == tbsSeparator || Button->Style() == tbsDivider)) {
    RECT line{r.Left, r.Top, r.Right, r.Bottom};
    if (Button->Style() == tbsDivider || Flat_) DrawThemeBackground(theme.get(), dc, TP_SEPARATOR, 1, &line, nullptr);
  } else if (Button->Style() == tbsSeparator || Button->Style() == tbsDivider) {
    if (Button->Style() == tbsDivider || Flat_) {
      RECT line{r.Left + r.Width() / 2 - 1, r.Top, r.Left + r.Width() / 2 + 1, r.Bottom};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
    }
  } else {
    bool down = state.Contains(cdsChecked) || state.Contains(cdsSelected);
    RECT frame{r.Left, r.Top, r.Right, r.Bottom};
    if (theme) {
      bool checked = state.Contains(cdsChecked), hot = state.Contains(cdsHot);
      int look = state.Contains(cdsDisabled)   ? TS_DISABLED
                 : state.Contains(cdsSelected) ? TS_PRESSED
                 : checked                     ? (hot ? TS_HOTCHECKED : TS_CHECKED)
                 : hot                         ? TS_HOT
                                               : TS_NORMAL;
      DrawThemeBackground(theme.get(), dc, Button->Style() == tbsDropDown ? TP_DROPDOWNBUTTON : TP_BUTTON, look,
                          &frame, nullptr);
    } else if (state.Contains(cdsChecked) && !state.Contains(cdsSelected)) {
      // A button that stays down shows a dither of the face and the
      // highlight, so it reads as down even without the mouse on it.
      Canvas->Brush()->SetColor(clBtnFace);
      Canvas->FillRect(r);
      COLORREF light = ColorToRGB(clBtnHighlight);
      for (Integer y = r.Top; y < r.Bottom; ++y)
        for (Integer x = r.Left + ((r.Left + y) & 1); x < r.Right; x += 2) SetPixel(dc, x, y, light);
    }
    if (!theme && down) {
      DrawEdge(dc, &frame, Flat_ ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    } else if (!theme && !Flat_) {
      DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
    } else if (!theme && state.Contains(cdsHot)) {
      DrawEdge(dc, &frame, BDR_RAISEDINNER, BF_RECT);
    }
    TRect content{r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 3};
    if (down) content = {content.Left + 1, content.Top + 1, content.Right + 1, content.Bottom + 1};
    if (Button->Style() == tbsDropDown && theme) {
      content.Right -= 12;  // the style draws the arrow
    } else if (Button->Style() == tbsDropDown) {
      Integer ax = r.Right - 10, ay = r.Top + r.Height() / 2 - 1;
      Canvas->Pen()->SetColor(state.Contains(cdsDisabled) ? clGrayText : clBtnText);
      for (Integer k = 0; k < 3; ++k) {
        Canvas->MoveTo(ax + k, ay + k);
        Canvas->LineTo(ax + 5 - k, ay + k);
      }
      content.Right -= 12;
    }
    TCustomImageList* images = Images_;
    bool enabledLook = true;
    if (state.Contains(cdsDisabled)) {
      if (DisabledImages_) images = DisabledImages_;
      else enabledLook = false;
    } else if (state.Contains(cdsHot) && HotImages_) {
      images = HotImages_;
    }
    if (images && Button->ImageIndex() >= 0) {
      Integer ix, iy;
      if (List_ && ShowCaptions_) {
        ix = content.Left;
        iy = content.Top + (content.Height() - images->Height()) / 2;
        content.Left += images->Width() + 4;
      } else {
        ix = content.Left + (content.Width() - images->Width()) / 2;
        iy = ShowCaptions_ ? content.Top : content.Top + (content.Height() - images->Height()) / 2;
      }
      images->Draw(Canvas, ix, iy, Button->ImageIndex(), enabledLook);
    }
    if (ShowCaptions_ && !Button->Caption().empty()) {
      SetBkMode(dc, TRANSPARENT);
      Canvas->Font()->SetColor(state.Contains(cdsDisabled) ? clGrayText : clBtnText);
      RECT tr{content.Left, content.Top, content.Right, content.Bottom};
      UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | (List_ ? DT_VCENTER | DT_RIGHT : DT_BOTTOM | DT_CENTER);
      std::string text = Button->Caption();
      DrawText(dc, text.c_str(), static_cast<int>(text.size()), &tr, flags);
    }
  }
  if (OnAdvancedCustomDrawButton) OnAdvancedCustomDrawButton(this, Button, state, cdPostPaint, defaultDraw);
}
