#include "platform/forms/Controls.h"

#include <algorithm>
#include <memory>
#include <cstdlib>
#include <unordered_map>

#include "platform/forms/ActnList.h"
#include "platform/forms/DockForm.h"
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

TControl* forms::CaptureControl = nullptr;

namespace {

TControl* GetCaptureControl() {
  TControl* result = FindControl(GetCapture());
  if (result && CaptureControl && CaptureControl->Parent() == result) result = CaptureControl;
  return result;
}

}  // namespace

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

TWinControl* GetTopParent(TControl* Control) {
  if (!Control) return nullptr;
  TControl* c = Control;
  while (c->Parent()) c = c->Parent();
  return dynamic_cast<TWinControl*>(c);
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
  P.Property("Action", &TControl::GetActionProp, &TControl::SetActionProp);
  P.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
  P.Property("Anchors", &TControl::Anchors, &TControl::SetAnchors);
  P.Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).Default(bdLeftToRight);
  P.Property("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode).Default(true);
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
  FloatingDockSiteClass = TCustomDockForm::StaticClass();
  Font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl() {
  Destroying();
  ForgetDragControl(this);
  if (CaptureControl == this) CaptureControl = nullptr;
  ApplicationControlDestroyed(this);
  forms::ForgetDockClient(this);
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
    if (ParentBiDiMode_) SetBiDiMode(Parent_->BiDiMode()), ParentBiDiMode_ = true;
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == PopupMenu_) PopupMenu_ = nullptr;
  // A freed action has already let go of its links.
  if (Operation == opRemove && ActionLink_ && (ActionLink_->Action() == AComponent || !ActionLink_->Action()))
    ActionLink_.reset();
}

// Actions --------------------------------------------------------------------

TBasicAction* TControl::Action() const { return ActionLink_ ? ActionLink_->Action() : nullptr; }

TComponent* TControl::GetActionProp() const { return Action(); }

void TControl::SetActionProp(TComponent* Value) {
  if (Value && !dynamic_cast<TBasicAction*>(Value))
    throw EInvalidOperation(Format("%s is not an action", {Value->Name()}));
  SetAction(static_cast<TBasicAction*>(Value));
}

void TControl::SetAction(TBasicAction* Value) {
  if (!Value) {
    ActionLink_.reset();
    return;
  }
  if (Value == Action()) return;
  if (!ActionLink_) ActionLink_ = CreateActionLink();
  ActionLink_->SetAction(Value);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() { return std::make_unique<TControlActionLink>(this); }

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || Caption().empty()) SetCaption(action->Caption());
  if (!CheckDefaults || Enabled()) SetEnabled(action->Enabled());
  if (!CheckDefaults || GetHint().empty()) SetHint(action->Hint());
  if (!CheckDefaults || Visible()) SetVisible(action->Visible());
  if (!CheckDefaults || !OnClick) OnClick = action->OnExecute;
}

void TControl::InitiateAction() {
  if (ActionLink_) ActionLink_->Update();
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

void TControl::Show() {
  if (Parent_) Parent_->ShowControl(this);
  if (!ComponentState().Contains(csDesigning) || ControlStyle.Contains(csNoDesignVisible)) SetVisible(true);
}

bool TControl::Showing() const { return Visible_ && Parent_ && Parent_->Showing(); }

void TControl::SetText(const std::string& Value) {
  if (GetText() == Value) return;
  Text_ = Value;
  // No window passes the text on as WM_SETTEXT: the host hears of it here.
  SendDockNotification(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
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
  ParentBiDiMode_ = false;
  if (BiDiMode_ == Value) return;
  BiDiMode_ = Value;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (ParentBiDiMode_ == Value) return;
  ParentBiDiMode_ = Value;
  if (Value && Parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
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
  if (Message.Msg == WM_SETTEXT || Message.Msg == CM_VISIBLECHANGED)
    SendDockNotification(Message.Msg, Message.WParam, Message.LParam);
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
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(Message); return;
    case CM_HITTEST: CMHitTest(Message); return;
    case CM_MOUSEENTER: CMMouseEnter(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_HINTSHOW: CMHintShow(Message); return;
    case CM_MOUSEWHEEL: CMMouseWheel(Message); return;
    case CM_FLOAT: CMFloat(Message); return;
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

void TControl::Click() {
  // A click handler of its own wins over the action's; a handler that is
  // the action's runs through the action (which checks it is enabled).
  TBasicAction* action = Action();
  if (OnClick && action && !(OnClick == action->OnExecute))
    OnClick(this);
  else if (!ComponentState().Contains(csDesigning) && ActionLink_)
    ActionLink_->Execute(this);
  else
    OnClick(this);
}
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

void TControl::CMParentBiDiModeChanged(TMessage& Message) {
  (void)Message;
  if (ParentBiDiMode_ && Parent_) {
    SetBiDiMode(Parent_->BiDiMode());
    ParentBiDiMode_ = true;
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
