#include "platform/forms/Controls.h"

#include <algorithm>
#include <memory>
#include <cstdlib>
#include <unordered_map>

#include "platform/forms/Forms.h"
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

namespace {

std::unordered_map<HWND, TWinControl*>& ControlsByHandle() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

// The control whose window is being made: its first messages arrive before
// CreateWindowEx returns the handle.
TWinControl* CreationControl = nullptr;

// A graphic control holding the mouse through its parent's window.
TControl* CaptureControl = nullptr;

TControl* GetCaptureControl() {
  TControl* result = FindControl(GetCapture());
  if (result && CaptureControl && CaptureControl->Parent() == result) result = CaptureControl;
  return result;
}

TPoint PointFromLParam(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }
LPARAM LParamFromPoint(const TPoint& p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(p.X)), static_cast<WORD>(static_cast<int16_t>(p.Y)));
}

bool PtInRect(const TRect& r, const TPoint& p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

}  // namespace

void ForgetDragControl(TControl* Control);

// Provided by Forms: the application's exception handler and its view of
// the mouse (hints, enter and leave).
void ApplicationHandleControlException(TObject* Sender);
void ApplicationHintMouseMessage(TControl* Control, TMessage& Message);
void ApplicationControlDestroyed(TControl* Control);
void ScreenFocusChanged(TWinControl* Control);

TShiftState KeysToShiftState(WORD Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s += ssShift;
  if (Keys & MK_CONTROL) s += ssCtrl;
  if (Keys & MK_LBUTTON) s += ssLeft;
  if (Keys & MK_RBUTTON) s += ssRight;
  if (Keys & MK_MBUTTON) s += ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s += ssAlt;
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s += ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s += ssCtrl;
  if ((KeyData & 0x20000000) || GetKeyState(VK_MENU) < 0) s += ssAlt;
  return s;
}

std::string GetShortHint(const std::string& Hint) {
  auto bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(0, bar);
}

std::string GetLongHint(const std::string& Hint) {
  auto bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

TWinControl* FindControl(HWND Handle) {
  if (!Handle) return nullptr;
  auto& map = ControlsByHandle();
  auto it = map.find(Handle);
  return it == map.end() ? nullptr : it->second;
}

TWinControl* TWinControl::FromHandle(HWND Wnd) { return FindControl(Wnd); }

TWinControl* GetTopParent(TControl* Control) {
  if (!Control) return nullptr;
  TControl* c = Control;
  while (c->Parent()) c = c->Parent();
  return dynamic_cast<TWinControl*>(c);
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  HWND wnd = WindowFromPoint(POINT{Pos.X, Pos.Y});
  TWinControl* control = FindControl(wnd);
  if (!control) return nullptr;
  TControl* result = control->ControlAtPos(control->ScreenToClient(Pos), AllowDisabled);
  return result ? result : control;
}

// The window procedure of every control's window.
win::LRESULT ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
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

VXN_IMPLEMENT_CLASS(TSizeConstraints, TPersistent)
VXN_PUBLISH(TSizeConstraints) {
  P.Property("MaxHeight", &TSizeConstraints::GetMaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
  P.Property("MaxWidth", &TSizeConstraints::GetMaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
  P.Property("MinHeight", &TSizeConstraints::GetMinHeight, &TSizeConstraints::SetMinHeight).Default(0);
  P.Property("MinWidth", &TSizeConstraints::GetMinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

void TSizeConstraints::Change() {
  OnChange(this);
  if (Control_ && !Control_->ComponentState().Contains(csLoading))
    Control_->SetBounds(Control_->Left(), Control_->Top(), Control_->Width(), Control_->Height());
}

// A maximum below the minimum lifts the minimum down with it, and the other
// way round, so the pair never contradicts itself.
void TSizeConstraints::SetMaxHeight(Integer Value) {
  if (Value == MaxHeight_) return;
  MaxHeight_ = Value;
  if (Value > 0 && Value < MinHeight_) MinHeight_ = Value;
  Change();
}
void TSizeConstraints::SetMaxWidth(Integer Value) {
  if (Value == MaxWidth_) return;
  MaxWidth_ = Value;
  if (Value > 0 && Value < MinWidth_) MinWidth_ = Value;
  Change();
}
void TSizeConstraints::SetMinHeight(Integer Value) {
  if (Value == MinHeight_) return;
  MinHeight_ = Value;
  if (MaxHeight_ > 0 && Value > MaxHeight_) MaxHeight_ = Value;
  Change();
}
void TSizeConstraints::SetMinWidth(Integer Value) {
  if (Value == MinWidth_) return;
  MinWidth_ = Value;
  if (MaxWidth_ > 0 && Value > MaxWidth_) MaxWidth_ = Value;
  Change();
}

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSizeConstraints*>(Source)) {
    MinHeight_ = s->MinHeight_;
    MaxHeight_ = s->MaxHeight_;
    MinWidth_ = s->MinWidth_;
    MaxWidth_ = s->MaxWidth_;
    Change();
    return;
  }
  TPersistent::Assign(Source);
}

TPersistent* TSizeConstraints::GetOwner() { return Control_; }

// ---------------------------------------------------------------------------
// TControl

VXN_IMPLEMENT_CLASS(TControl, TComponent)
VXN_PUBLISH(TControl) {
  P.Property("Left", &TControl::GetLeftProp, &TControl::SetLeft);
  P.Property("Top", &TControl::GetTopProp, &TControl::SetTop);
  P.Property("Width", &TControl::GetWidthProp, &TControl::SetWidth);
  P.Property("Height", &TControl::GetHeightProp, &TControl::SetHeight);
  P.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
  P.Property("Anchors", &TControl::Anchors, &TControl::SetAnchors);
  P.Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).Default(bdLeftToRight);
  P.Property("Caption", &TControl::Caption, &TControl::SetCaption);
  P.Property("Color", &TControl::GetColorProp, &TControl::SetColor)
      .Type(TypeInfoColor())
      .Stored(&TControl::IsColorStored);
  P.Property("Constraints", &TControl::GetConstraintsProp, &TControl::SetConstraintsProp);
  P.Property("Cursor", &TControl::GetCursorProp, &TControl::SetCursor).Type(TypeInfoCursor()).Default(crDefault);
  P.Property("DragCursor", &TControl::DragCursor).Type(TypeInfoCursor()).Default(crDrag);
  P.Property("DragKind", &TControl::DragKind).Default(dkDrag);
  P.Property("DragMode", &TControl::DragMode, &TControl::SetDragMode).Default(dmManual);
  P.Property("Enabled", &TControl::GetEnabledProp, &TControl::SetEnabled).Default(true);
  P.Property("Font", &TControl::GetFontProp, &TControl::SetFont).Stored(&TControl::IsFontStored);
  P.Property("Hint", &TControl::GetHint, &TControl::SetHint);
  P.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
  P.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
  P.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
  P.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  P.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored);
  P.Property("Visible", &TControl::GetVisibleProp, &TControl::SetVisible).Default(true);
  P.Event("OnClick", &TControl::OnClick);
  P.Event("OnDblClick", &TControl::OnDblClick);
  P.Event("OnMouseDown", &TControl::OnMouseDown);
  P.Event("OnMouseMove", &TControl::OnMouseMove);
  P.Event("OnMouseUp", &TControl::OnMouseUp);
  P.Event("OnMouseWheel", &TControl::OnMouseWheel);
  P.Event("OnMouseWheelDown", &TControl::OnMouseWheelDown);
  P.Event("OnMouseWheelUp", &TControl::OnMouseWheelUp);
  P.Event("OnResize", &TControl::OnResize);
  P.Event("OnCanResize", &TControl::OnCanResize);
  P.Event("OnContextPopup", &TControl::OnContextPopup);
  P.Event("OnStartDrag", &TControl::OnStartDrag);
  P.Event("OnDragOver", &TControl::OnDragOver);
  P.Event("OnDragDrop", &TControl::OnDragDrop);
  P.Event("OnEndDrag", &TControl::OnEndDrag);
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), Constraints_(new TSizeConstraints(this)), Font_(new TFont) {
  WindowProc = TWndMethod(this, &TControl::WndProc);
  ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  Font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl() {
  Destroying();
  ForgetDragControl(this);
  if (CaptureControl == this) CaptureControl = nullptr;
  ApplicationControlDestroyed(this);
  if (Parent_) SetParent(nullptr);
}

TComponent* TControl::GetParentComponent() const { return Parent_; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* p = dynamic_cast<TWinControl*>(Value)) SetParent(p);
}

void TControl::ReadState(TReader& Reader) {
  ControlState += csReadingState;
  ScopeExit reading([this] { ControlState -= csReadingState; });
  TComponent::ReadState(Reader);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (Parent_) {
    if (ParentColor_) SetColor(Parent_->Color()), ParentColor_ = true;
    if (ParentFont_) Font_->Assign(Parent_->Font()), ParentFont_ = true;
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == PopupMenu_) PopupMenu_ = nullptr;
}

void TControl::SetParent(TWinControl* AParent) {
  if (Parent_ == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot be its own parent");
  if (Parent_) Parent_->RemoveControl(this);
  if (AParent) {
    AParent->InsertControl(this);
    UpdateAnchorRules();
  }
  ParentChanged();
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == Left_ && ATop == Top_ && AWidth == Width_ && AHeight == Height_) return;
  InvalidateControl(Visible_, false);
  Left_ = ALeft;
  Top_ = ATop;
  Width_ = AWidth;
  Height_ = AHeight;
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TControl::UpdateBoundsRect(const TRect& R) {
  Left_ = R.Left;
  Top_ = R.Top;
  Width_ = R.Width();
  Height_ = R.Height();
}

void TControl::UpdateAnchorRules() {
  if (Anchoring_ || !Parent_ || ComponentState().Contains(csLoading)) return;
  TRect r = Parent_->ClientRect();
  AnchorRight_ = r.Right - (Left_ + Width_);
  AnchorBottom_ = r.Bottom - (Top_ + Height_);
  AnchorCenterX_ = Left_ + Width_ / 2;
  AnchorCenterY_ = Top_ + Height_ / 2;
  AnchorParentSize_ = {r.Right, r.Bottom};
  AnchorRulesValid_ = true;
}

bool TControl::CanResize(Integer& NewWidth, Integer& NewHeight) {
  bool resize = true;
  OnCanResize(this, NewWidth, NewHeight, resize);
  return resize;
}

bool TControl::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  (void)NewWidth;
  (void)NewHeight;
  return false;
}

void TControl::ConstrainedResize(Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth, Integer& MaxHeight) {
  (void)MinWidth;
  (void)MinHeight;
  (void)MaxWidth;
  (void)MaxHeight;
}

bool TControl::CheckNewSize(Integer& NewWidth, Integer& NewHeight) {
  Integer w = NewWidth, h = NewHeight;
  if (!CanResize(w, h)) return false;
  Integer minW = Constraints_->GetMinWidth(), minH = Constraints_->GetMinHeight();
  Integer maxW = Constraints_->GetMaxWidth(), maxH = Constraints_->GetMaxHeight();
  ConstrainedResize(minW, minH, maxW, maxH);
  if (maxW > 0 && w > maxW) w = maxW;
  if (minW > 0 && w < minW) w = minW;
  if (maxH > 0 && h > maxH) h = maxH;
  if (minH > 0 && h < minH) h = minH;
  NewWidth = w;
  NewHeight = h;
  return true;
}

void TControl::AdjustSize() {
  if (!AutoSize_ || AutoSizing_ > 0) return;
  Integer w = Width_, h = Height_;
  if (!CanAutoSize(w, h)) return;
  ++AutoSizing_;
  ScopeExit sizing([this] { --AutoSizing_; });
  SetBounds(Left_, Top_, w, h);
}

void TControl::SetAutoSize(bool Value) {
  if (AutoSize_ == Value) return;
  AutoSize_ = Value;
  if (Value) AdjustSize();
}

void TControl::Resize() { OnResize(this); }

void TControl::RequestAlign() {
  if (Parent_) Parent_->AlignControl(this);
}

void TControl::SetClientSize(Integer AWidth, Integer AHeight) {
  TRect r = GetClientRect();
  SetBounds(Left_, Top_, Width_ - r.Right + AWidth, Height_ - r.Bottom + AHeight);
}

TRect TControl::GetClientRect() const { return {0, 0, Width_, Height_}; }

TPoint TControl::GetClientOrigin() const {
  if (!Parent_) throw EInvalidOperation(Format(SParentRequired, {Name()}));
  TPoint p = Parent_->ClientOrigin();
  return {p.X + Left_, p.Y + Top_};
}

TPoint TControl::ClientToScreen(const TPoint& Point) const {
  TPoint o = ClientOrigin();
  return {Point.X + o.X, Point.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& Point) const {
  TPoint o = ClientOrigin();
  return {Point.X - o.X, Point.Y - o.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (Align_ == Value) return;
  TAlign old = Align_;
  Align_ = Value;
  Anchors_ = {akLeft, akTop};
  if (Value == alTop || Value == alBottom || Value == alClient) Anchors_ += akRight;
  if (Value == alLeft || Value == alRight || Value == alClient) Anchors_ += akBottom;
  if (Value == alBottom) Anchors_ = {akLeft, akRight, akBottom};
  if (Value == alRight) Anchors_ = {akTop, akRight, akBottom};
  if (old == alNone || Value != alNone) RequestAlign();
  else UpdateAnchorRules();
}

void TControl::SetAnchors(TAnchors Value) {
  if (Anchors_ == Value) return;
  Anchors_ = Value;
  UpdateAnchorRules();
}

void TControl::SetVisible(bool Value) {
  if (Visible_ == Value) return;
  VisibleChanging();
  Visible_ = Value;
  Perform(CM_VISIBLECHANGED, Value, 0);
  RequestAlign();
}

void TControl::SetEnabled(bool Value) {
  if (Enabled_ == Value) return;
  Enabled_ = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::Showing() const { return Visible_ && Parent_ && Parent_->Showing(); }

void TControl::SetText(const std::string& Value) {
  if (GetText() == Value) return;
  Text_ = Value;
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  if (ShowHint_ == Value && !ParentShowHint_) return;
  ShowHint_ = Value;
  ParentShowHint_ = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (ParentShowHint_ == Value) return;
  ParentShowHint_ = Value;
  if (Value && Parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (Color_ == Value && !ParentColor_) return;
  Color_ = Value;
  ParentColor_ = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (ParentColor_ == Value) return;
  ParentColor_ = Value;
  if (Value && Parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged(TObject* Sender) {
  (void)Sender;
  ParentFont_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (ParentFont_ == Value) return;
  ParentFont_ = Value;
  if (Value && Parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (Cursor_ == Value) return;
  Cursor_ = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  if (BiDiMode_ == Value) return;
  BiDiMode_ = Value;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetPopupMenu(TComponent* Value) {
  if (PopupMenu_ == Value) return;
  if (PopupMenu_) PopupMenu_->RemoveFreeNotification(this);
  PopupMenu_ = Value;
  if (Value) Value->FreeNotification(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage message{Msg, WParam, LParam, 0};
  WindowProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
    if (!ControlStyle.Contains(csDoubleClicks)) {
      switch (Message.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
          Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
          break;
      }
    }
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        ApplicationHintMouseMessage(this, Message);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (DragMode_ == dmAutomatic) {
          BeginAutoDrag();
          return;
        }
        ControlState += csLButtonDown;
        break;
      case WM_LBUTTONUP:
        ControlState -= csLButtonDown;
        break;
    }
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); return;
    case WM_LBUTTONUP: WMLButtonUp(Message); return;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); return;
    case WM_RBUTTONDOWN: WMRButtonDown(Message); return;
    case WM_RBUTTONUP: WMRButtonUp(Message); return;
    case WM_MBUTTONDOWN: WMMButtonDown(Message); return;
    case WM_MBUTTONUP: WMMButtonUp(Message); return;
    case WM_MOUSEMOVE: WMMouseMove(Message); return;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); return;
    case WM_CONTEXTMENU: WMContextMenu(Message); return;
    case WM_CANCELMODE: WMCancelMode(Message); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); return;
    case CM_FONTCHANGED: CMFontChanged(Message); return;
    case CM_COLORCHANGED: CMColorChanged(Message); return;
    case CM_TEXTCHANGED: CMTextChanged(Message); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); return;
    case CM_HITTEST: CMHitTest(Message); return;
    case CM_MOUSEENTER: CMMouseEnter(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_HINTSHOW: CMHintShow(Message); return;
    case CM_MOUSEWHEEL: CMMouseWheel(Message); return;
    default: DefaultHandler(Message);
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      std::string text = GetText();
      if (Message.WParam > 0 && Message.LParam) {
        size_t n = std::min<size_t>(text.size(), Message.WParam - 1);
        std::copy_n(text.data(), n, reinterpret_cast<char*>(Message.LParam));
        reinterpret_cast<char*>(Message.LParam)[n] = '\0';
        Message.Result = static_cast<LRESULT>(n);
      }
      break;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(GetText().size());
      break;
    case WM_SETTEXT:
      Text_ = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
      Message.Result = 1;
      break;
  }
}

TControl* TControl::GetParentControlForMessages() const { return Parent_; }

void TControl::SendCancelMode(TControl* Sender) {
  (void)Sender;
  if (CaptureControl && CaptureControl != this) CaptureControl->Perform(WM_CANCELMODE, 0, 0);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  if (!Value) {
    CaptureControl = nullptr;
    ReleaseCapture();
    return;
  }
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    CaptureControl = nullptr;
    SetCapture(w->Handle());
  } else if (Parent_) {
    CaptureControl = this;
    SetCapture(Parent_->Handle());
  }
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  TPoint p = PointFromLParam(Message.LParam);
  MouseDown(Button, KeysToShiftState(static_cast<WORD>(Message.WParam)) + Shift, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  TPoint p = PointFromLParam(Message.LParam);
  MouseUp(Button, KeysToShiftState(static_cast<WORD>(Message.WParam)), p.X, p.Y);
}

void TControl::WMLButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (ControlStyle.Contains(csClickEvents)) ControlState += csClicked;
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (ControlState.Contains(csClicked)) {
    ControlState -= csClicked;
    if (PtInRect(ClientRect(), PointFromLParam(Message.LParam))) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (ControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMRButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbRight);
}

void TControl::WMMButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  TPoint p = PointFromLParam(Message.LParam);
  MouseMove(KeysToShiftState(static_cast<WORD>(Message.WParam)), p.X, p.Y);
}

void TControl::WMMouseWheel(TMessage& Message) {
  Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  if (Message.Result == 0) DefaultHandler(Message);
}

void TControl::CMMouseWheel(TMessage& Message) {
  Message.Result = 0;
  TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
  if (DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(Message.WParam), PointFromLParam(Message.LParam)))
    Message.Result = 1;
  else if (Parent_)
    Message.Result = Parent_->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

bool TControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  bool handled = false;
  OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (!handled) {
    if (WheelDelta < 0)
      handled = DoMouseWheelDown(Shift, MousePos);
    else if (WheelDelta > 0)
      handled = DoMouseWheelUp(Shift, MousePos);
  }
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  OnMouseWheelDown(this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  OnMouseWheelUp(this, Shift, MousePos, handled);
  return handled;
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint pt = PointFromLParam(Message.LParam);
  TPoint client = (pt.X == -1 && pt.Y == -1) ? TPoint{-1, -1} : ScreenToClient(pt);
  if (!(client.X == -1 && client.Y == -1) && !PtInRect(ClientRect(), client)) {
    DefaultHandler(Message);
    return;
  }
  bool handled = false;
  DoContextPopup(client, handled);
  if (handled) {
    Message.Result = 1;
    return;
  }
  auto* popup = dynamic_cast<IPopupComponent*>(PopupMenu_);
  if (popup && popup->AutoPopup()) {
    SendCancelMode(nullptr);
    popup->SetPopupComponent(this);
    if (pt.X == -1 && pt.Y == -1) pt = ClientToScreen({0, 0});
    popup->Popup(pt.X, pt.Y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) { OnContextPopup(this, MousePos, Handled); }

void TControl::WMCancelMode(TMessage& Message) {
  (void)Message;
  if (MouseCapture()) {
    SetMouseCapture(false);
    if (ControlState.Contains(csLButtonDown))
      Perform(WM_LBUTTONUP, 0, LParamFromPoint({-1, -1}));
  }
  ControlState -= csLButtonDown;
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) { OnMouseMove(this, Shift, X, Y); }

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::CMEnabledChanged(TMessage& Message) {
  (void)Message;
  Invalidate();
}

void TControl::CMVisibleChanged(TMessage& Message) {
  (void)Message;
  InvalidateControl(true, Visible_ && ControlStyle.Contains(csOpaque));
}

void TControl::CMFontChanged(TMessage& Message) {
  (void)Message;
  Invalidate();
}

void TControl::CMColorChanged(TMessage& Message) {
  (void)Message;
  Invalidate();
}

void TControl::CMTextChanged(TMessage& Message) {
  (void)Message;
  Invalidate();
}

void TControl::CMParentFontChanged(TMessage& Message) {
  if (!ParentFont_ || !Parent_) return;
  TFont* source = Message.WParam ? reinterpret_cast<TFont*>(Message.LParam) : Parent_->Font();
  Font_->Assign(source);
  ParentFont_ = true;
}

void TControl::CMParentColorChanged(TMessage& Message) {
  if (!ParentColor_ || !Parent_) return;
  SetColor(Message.WParam ? static_cast<TColor>(Message.LParam) : Parent_->Color());
  ParentColor_ = true;
}

void TControl::CMParentShowHintChanged(TMessage& Message) {
  (void)Message;
  if (ParentShowHint_ && Parent_) {
    SetShowHint(Parent_->ShowHint());
    ParentShowHint_ = true;
  }
}

void TControl::CMHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

void TControl::CMMouseEnter(TMessage& Message) {
  if (Parent_) Parent_->Perform(CM_MOUSEENTER, 0, Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (Parent_) Parent_->Perform(CM_MOUSELEAVE, 0, Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMHintShow(TMessage& Message) { Message.Result = 0; }

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  (void)IsOpaque;
  if (!IsVisible || !Parent_ || !Parent_->HandleAllocated()) return;
  RECT r{Left_, Top_, Left_ + Width_, Top_ + Height_};
  InvalidateRect(Parent_->Handle(), &r, !(IsOpaque || ControlStyle.Contains(csOpaque)));
}

void TControl::Invalidate() { InvalidateControl(Visible_, ControlStyle.Contains(csOpaque)); }

void TControl::Update() {
  if (Parent_) Parent_->Update();
}

void TControl::Repaint() {
  if (!Visible_ || !Parent_ || !Parent_->HandleAllocated()) return;
  Invalidate();
  Parent_->Update();
}

void TControl::PaintTo(HDC DC, Integer X, Integer Y) {
  SavedDc saved(DC);
  POINT old{};
  OffsetViewportOrgEx(DC, X, Y, &old);
  IntersectClipRect(DC, 0, 0, Width_, Height_);
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
    w->PaintHandler(m);
  } else {
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TControl::ChangeScale(Integer M, Integer D) {
  if (M == D || D == 0) return;
  auto scale = [&](Integer v) { return static_cast<Integer>((static_cast<int64_t>(v) * M) / D); };
  Integer l = scale(Left_), t = scale(Top_);
  Integer w = scale(Left_ + Width_) - l, h = scale(Top_ + Height_) - t;
  SetBounds(l, t, w, h);
  if (!ParentFont_) Font_->SetSize(scale(Font_->GetSize()));
  if (auto* wc = dynamic_cast<TWinControl*>(this)) {
    wc->DisableAlign();
    for (Integer i = 0; i < wc->ControlCount(); ++i) wc->Controls(i)->ChangeScale(M, D);
    wc->EnableAlign();
  }
}

void TControl::BringToFront() {
  if (!Parent_) return;
  auto& list = Parent_->Controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    SetWindowPos(w->Handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SendToBack() {
  if (!Parent_) return;
  auto& list = Parent_->Controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    SetWindowPos(w->Handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
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
  if (Handle_) SetWindowText(Handle_, Value.c_str());
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
  Perform(CM_ENTER, 0, 0);
}

void TWinControl::WMKillFocus(TMessage& Message) {
  DefaultHandler(Message);
  Perform(CM_EXIT, 0, 0);
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

VXN_IMPLEMENT_CLASS(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), Canvas_(new TCanvas) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    if (Message.WParam) {
      Canvas_->SetHandle(reinterpret_cast<HDC>(Message.WParam));
      ScopeExit released([this] { Canvas_->SetHandle(nullptr); });
      Paint();
    }
    return;
  }
  TControl::Dispatch(Message);
}

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

// ---------------------------------------------------------------------------
// Drag and drop.

VXN_IMPLEMENT_CLASS(TDragObject, TObject)
VXN_IMPLEMENT_CLASS(TBaseDragControlObject, TDragObject)
VXN_IMPLEMENT_CLASS(TDragControlObject, TBaseDragControlObject)

TCursor TDragObject::GetDragCursor(bool Accepted, Integer X, Integer Y) {
  (void)X;
  (void)Y;
  return Accepted ? crDrag : crNoDrop;
}

void TDragObject::ShowDragImage() {
  if (TDragImageList* images = GetDragImages()) images->ShowDragImage();
}

void TDragObject::HideDragImage() {
  if (TDragImageList* images = GetDragImages()) images->HideDragImage();
}

TCursor TDragControlObject::GetDragCursor(bool Accepted, Integer X, Integer Y) {
  (void)X;
  (void)Y;
  return Accepted ? Control->DragCursor : crNoDrop;
}

// The drag machinery below calls the controls' protected drag handlers.
struct TDragAccess {
  static void StartDrag(TControl* c, TDragObject*& o) { c->DoStartDrag(o); }
  static void Over(TControl* c, TObject* s, TPoint p, TDragState st, bool& a) { c->DragOver(s, p.X, p.Y, st, a); }
  static void Canceled(TControl* c) { c->DragCanceled(); }
  static void EndDrag(TControl* c, TObject* t, TPoint p) { c->DoEndDrag(t, p.X, p.Y); }
};

namespace {

struct TDragState_ {
  TControl* Control = nullptr;
  TDragObject* Object = nullptr;
  bool OwnsObject = false;
  bool Active = false;  // past the threshold
  Integer Threshold = 5;
  TPoint StartPos;
  HWND Capture = nullptr;
  TControl* Target = nullptr;
  bool Finishing = false;
  bool ImageBegun = false;  // the drag image of the window layer is ours
} Drag;

TObject* DragSource() {
  if (auto* c = dynamic_cast<TDragControlObject*>(Drag.Object)) return c->Control;
  return Drag.Object;
}

bool DoDragOver(TDragState State) {
  if (!Drag.Target) return false;
  bool accept = false;
  TPoint p = Drag.Object->DragTargetPos;
  TDragAccess::Over(Drag.Target, DragSource(), p, State, accept);
  return accept;
}

void DragCaptureProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      win::ClientToScreen(Drag.Capture, &p);
      TPoint pos{p.x, p.y};
      if (!Drag.Active && std::abs(pos.X - Drag.StartPos.X) < Drag.Threshold &&
          std::abs(pos.Y - Drag.StartPos.Y) < Drag.Threshold)
        return;
      Drag.Active = true;
      DragTo(pos);
      return;
    }
    case WM_LBUTTONUP:
      DragDone(Drag.Active);
      return;
    case WM_RBUTTONDOWN:
      DragDone(false);
      return;
    case WM_KEYDOWN:
      if (Message.WParam == VK_ESCAPE) DragDone(false);
      return;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(Message.LParam) != Drag.Capture) DragDone(false);
      return;
  }
  Message.Result = DefWindowProc(Drag.Capture, Message.Msg, Message.WParam, Message.LParam);
}

}  // namespace

TControl* DragControl() { return Drag.Control; }

// A control going away takes no part in a drag any more.
void ForgetDragControl(TControl* Control) {
  if (Drag.Control == Control) DragDone(false);
  if (Drag.Target == Control) {
    Drag.Target = nullptr;
    if (Drag.Object) Drag.Object->DragTarget = nullptr;
  }
}
TDragObject* DragObject() { return Drag.Object; }
bool TControl::Dragging() const { return Drag.Control == this; }

namespace {
TControl* DragStarting = nullptr;
bool DragStartCancelled = false;
}  // namespace

void CancelDrag() {
  if (Drag.Control)
    DragDone(false);
  else if (DragStarting)
    DragStartCancelled = true;
}

void DragInitControl(TControl* Control, bool Immediate, Integer Threshold) {
  TDragObject* object = nullptr;
  DragStarting = Control;
  DragStartCancelled = false;
  {
    ScopeExit started([] { DragStarting = nullptr; });
    TDragAccess::StartDrag(Control, object);
  }
  if (DragStartCancelled) return;
  if (Drag.Control) return;  // a handler started another drag
  Drag = TDragState_{};
  Drag.Control = Control;
  Drag.OwnsObject = object == nullptr;
  Drag.Object = object ? object : new TDragControlObject(Control);
  Drag.Active = Immediate;
  Drag.Threshold = Threshold;
  POINT p;
  GetCursorPos(&p);
  Drag.StartPos = {p.x, p.y};
  Drag.Object->DragPos = Drag.StartPos;
  Drag.Capture = AllocateHWnd(TWndMethod(&DragCaptureProc));
  Drag.Object->DragHandle = Drag.Capture;
  SetCapture(Drag.Capture);
  if (Immediate) DragTo(Drag.StartPos);
}

void TControl::BeginDrag(bool Immediate, Integer Threshold) {
  if (Drag.Control) return;
  if (Threshold < 0) Threshold = Mouse ? Mouse->DragThreshold() : 5;
  // The button went down on us; the drag takes the mouse from here.
  if (MouseCapture()) SetMouseCapture(false);
  ControlState -= csLButtonDown;
  DragInitControl(this, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop) {
  if (Dragging()) DragDone(Drop);
}

void DragTo(const TPoint& Pos) {
  if (!Drag.Control || Drag.Finishing) return;
  Drag.Active = true;
  TControl* target = FindDragTarget(Pos, false);
  Drag.Object->DragPos = Pos;
  if (target != Drag.Target) {
    if (Drag.Target) {
      DoDragOver(dsDragLeave);
      if (!Drag.Control) return;
    }
    Drag.Target = target;
    Drag.Object->DragTarget = target;
    if (target) {
      Drag.Object->DragTargetPos = target->ScreenToClient(Pos);
      DoDragOver(dsDragEnter);
    }
  }
  // A handler may end the drag; what is left of it then is gone.
  if (!Drag.Control) return;
  bool accepted = false;
  if (Drag.Target) {
    Drag.Object->DragTargetPos = Drag.Target->ScreenToClient(Pos);
    accepted = DoDragOver(dsDragMove);
    if (!Drag.Control) return;
  }
  TCursor cursor = Drag.Object->GetDragCursor(accepted, Pos.X, Pos.Y);
  // The image follows the mouse in screen coordinates over the controls
  // that want it; it begins the first time one does.
  if (TDragImageList* images = Drag.Object->GetDragImages()) {
    bool show = Drag.Object->AlwaysShowDragImages ||
                (Drag.Target && Drag.Target->ControlStyle.Contains(csDisplayDragImage));
    if (images->Dragging()) {
      images->DragMove(Pos.X, Pos.Y);
      if (show && !images->DragImageShown())
        images->ShowDragImage();
      else if (!show && images->DragImageShown())
        images->HideDragImage();
    } else if (show && !Drag.ImageBegun) {
      Drag.ImageBegun = images->BeginDrag(GetDesktopWindow(), Pos.X, Pos.Y);
    }
    if (images->DragImageShown() && accepted && images->DragCursor() != crDefault) cursor = images->DragCursor();
  }
  win::SetCursor(CursorHandle(cursor));
}

void DragDone(bool Drop) {
  if (!Drag.Control || Drag.Finishing) return;
  Drag.Finishing = true;
  TDragState_ d = Drag;
  bool accepted = false;
  TControl* target = d.Target;
  if (target) {
    // Asking once more decides whether the drop is taken.
    accepted = DoDragOver(dsDragLeave) && Drop;
  }
  TPoint targetPos = accepted ? d.Object->DragTargetPos : TPoint{0, 0};
  d.Object->Dropped = accepted;
  d.Object->Cancelling = !Drop;
  // The image goes before anyone hears of the drop. A control in its
  // destructor has no images to give any more, so the window layer's image
  // is ended directly when it is still ours.
  if (TDragImageList* images = d.Object->GetDragImages()) images->EndDrag();
  if (d.ImageBegun && win::ImageList_GetDragImage(nullptr, nullptr)) win::ImageList_EndDrag();
  if (d.Capture) {
    if (GetCapture() == d.Capture) ReleaseCapture();
    DeallocateHWnd(d.Capture);
  }
  win::SetCursor(CursorHandle(crDefault));
  ScopeExit ended([] { Drag = TDragState_{}; });
  std::unique_ptr<TDragObject> owned(d.OwnsObject ? d.Object : nullptr);  // freed before the state is cleared
  if (accepted) target->DragDrop(DragSource(), targetPos.X, targetPos.Y);
  d.Object->Finished(accepted ? target : nullptr, targetPos.X, targetPos.Y, accepted);
  if (!accepted) TDragAccess::Canceled(d.Control);
  TDragAccess::EndDrag(d.Control, accepted ? target : nullptr, targetPos);
}

void TControl::DoStartDrag(TDragObject*& DragObject) { OnStartDrag(this, DragObject); }

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  Accept = false;
  if (OnDragOver) {
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
  }
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y) { OnDragDrop(this, Source, X, Y); }

void TControl::DoEndDrag(TObject* Target, Integer X, Integer Y) { OnEndDrag(this, Target, X, Y); }
