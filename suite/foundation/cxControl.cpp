#include "suite/foundation/cxControl.h"

#include <algorithm>
#include <cstdint>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/cxDragAndDrop.h"
#include "suite/foundation/cxSettingsController.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxControlScrollBar, TcxScrollBar)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxSizeGrip, TCustomControl)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxControl, TCustomControl)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxControlChildComponent, TcxComponent)

namespace {

TDesignerModifiedProc DesignerModified = nullptr;

// Scroll-bar settling gives up after this many passes and shows the bars.
constexpr int kMaxSettlingPasses = 4;

constexpr UINT_PTR kMiddleScrollTimer = 0x0C5C;
constexpr UINT kMiddleScrollInterval = 20;

// An instance of a class reference made for an owner; the base class T when
// the reference names no class of T's kind.
template <class T, class Owner>
T* MakeFromClass(TClass Class, Owner* AOwner) {
  TObject* made = Class && Class->OwnerFactory ? Class->OwnerFactory(AOwner) : nullptr;
  if (auto* object = dynamic_cast<T*>(made)) return object;
  delete made;
  return new T(AOwner);
}

}  // namespace

void SetDesignerModifiedProc(TDesignerModifiedProc Proc) { DesignerModified = Proc; }

// ---------------------------------------------------------------------------
// TcxControlScrollBar

TcxControlScrollBar::TcxControlScrollBar(TComponent* AOwner) : TcxScrollBar(AOwner) {
  SetColor(clBtnFace);
  ControlStyle -= csFramed;
  ControlStyle += csNoDesignVisible;
  SetTabStop(false);
  SetVisible(false);
  if (auto* control = dynamic_cast<TcxControl*>(AOwner)) LookAndFeel()->SetMasterLookAndFeel(control->LookAndFeel());
}

void TcxControlScrollBar::ApplyData() {
  if (Data.Visible) {
    SetScrollParams(Data.Min, Data.Max, Data.PageSize, Data.Position, true);
    SetSmallChange(Data.SmallChange);
    SetLargeChange(Data.LargeChange);
  }
  SetEnabled(Data.Enabled);
  SetVisible(Data.Visible);
}

void TcxControlScrollBar::FocusParent() {
  TWinControl* parent = Parent();
  if (!parent) return;
  if (auto* control = dynamic_cast<TcxControl*>(parent)) {
    if (control->CanFocusOnClickOther()) control->SetFocus();
  } else if (parent->CanFocus()) {
    parent->SetFocus();
  }
}

void TcxControlScrollBar::WndProc(TMessage& Message) {
  if (Message.Msg == CM_DESIGNHITTEST && ComponentState().Contains(csDesigning)) {
    Message.Result = 1;
    return;
  }
  if (Message.Msg == WM_LBUTTONDOWN) FocusParent();
  TcxScrollBar::WndProc(Message);
}

// ---------------------------------------------------------------------------
// TcxSizeGrip

TcxSizeGrip::TcxSizeGrip(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  ControlStyle += csNoDesignVisible;
}

void TcxSizeGrip::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

// ---------------------------------------------------------------------------
// TcxControl: life

TcxControl::TcxControl(TComponent* AOwner) : TCustomControl(AOwner) {
  if (HasDragImages()) ControlStyle += csDisplayDragImage;
  FCanvas = std::make_unique<TcxCanvas>(Canvas());
  FDefaultCursor = Cursor();
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TcxControl::LookAndFeelChangeHandler);
  FScrollBars = ssBoth;
  CreateScrollBars();
  SetTabStop(IsFocusable());
  SetParentBackground(true);
}

TcxControl::~TcxControl() {
  DestroyScrollBars();
  FFontListeners.clear();
  FDragAndDropObject.reset();
  FDragImages.reset();
  FOwnedObject.reset();
  FCanvas.reset();
  FLookAndFeel.reset();
  ClearObjectLinks(this);
}

void TcxControl::BeforeDestruction() {
  if (!ComponentState().Contains(csDestroying)) Destroying();
  TCustomControl::BeforeDestruction();
}

// The bars are made for every control: during construction the virtual
// answer is still the base class's, so every use asks HasOwnScrollBars
// again and a control that answers false leaves them unparented and hidden.
void TcxControl::CreateScrollBars() {
  if (!HasOwnScrollBars()) return;
  FHScrollBar = std::make_unique<TcxControlScrollBar>(this);
  FHScrollBar->SetKind(sbHorizontal);
  FHScrollBar->SetHeight(GetSystemMetrics(SM_CYHSCROLL));
  FHScrollBar->OnScroll = TScrollEvent(this, &TcxControl::HandleScrollBarScroll);
  FVScrollBar = std::make_unique<TcxControlScrollBar>(this);
  FVScrollBar->SetKind(sbVertical);
  FVScrollBar->SetWidth(GetSystemMetrics(SM_CXVSCROLL));
  FVScrollBar->OnScroll = TScrollEvent(this, &TcxControl::HandleScrollBarScroll);
  FSizeGrip = std::make_unique<TcxSizeGrip>(this);
  FSizeGrip->SetVisible(false);
  SettingsController()->AddControl(this);
}

void TcxControl::DestroyScrollBars() {
  if (!FHScrollBar && !FVScrollBar && !FSizeGrip) return;
  SettingsController()->RemoveControl(this);
  FSizeGrip.reset();
  FVScrollBar.reset();
  FHScrollBar.reset();
}

void TcxControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TcxControl::CreateWnd() {
  TCustomControl::CreateWnd();
  if (HasDragImages()) ControlStyle += csDisplayDragImage;
  ReparentScrollBars();
}

void TcxControl::Resize() {
  TCustomControl::Resize();
  SizeChanged();
}

void TcxControl::LookAndFeelChangeHandler(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) {
  LookAndFeelChanged(Sender, AChangedValues);
}

TcxCustomLookAndFeelPainterClass TcxControl::GetPainter() const { return FLookAndFeel->Painter(); }

void TcxControl::SetPopupMenu(TComponent* Value) {
  if (Value && !dynamic_cast<TPopupMenu*>(Value) && !dynamic_cast<IcxPopupMenuComponent*>(Value)) Value = nullptr;
  TCustomControl::SetPopupMenu(Value);
}

TPopupMenu* TcxControl::GetPopupMenu() const { return dynamic_cast<TPopupMenu*>(PopupMenu()); }

void TcxControl::InvalidateArea(const TRect& R, bool EraseBackground) {
  if (!HandleAllocated()) return;
  const RECT r{R.Left, R.Top, R.Right, R.Bottom};
  InvalidateRect(Handle(), &r, EraseBackground ? TRUE : FALSE);
}

void TcxControl::AddFontListener(IcxFontListener* AListener) {
  if (AListener && std::find(FFontListeners.begin(), FFontListeners.end(), AListener) == FFontListeners.end())
    FFontListeners.push_back(AListener);
}

void TcxControl::RemoveFontListener(IcxFontListener* AListener) {
  FFontListeners.erase(std::remove(FFontListeners.begin(), FFontListeners.end(), AListener), FFontListeners.end());
}

void TcxControl::NotifyFontListeners() {
  // A listener may leave the list while it is told.
  const std::vector<IcxFontListener*> listeners = FFontListeners;
  for (IcxFontListener* listener : listeners) listener->FontChanged(this, Font());
  Invalidate();
}

void TcxControl::CursorChanged() {
  if (!FSettingCursor) FDefaultCursor = Cursor();
}

void TcxControl::AddChildComponent(TcxControlChildComponent* AChild) { AChild->SetControl(this); }
void TcxControl::RemoveChildComponent(TcxControlChildComponent* AChild) { AChild->SetControl(nullptr); }

bool TcxControl::IsOwnScrollControl(TControl* AControl) {
  return AControl && (AControl == FHScrollBar.get() || AControl == FVScrollBar.get() || AControl == FSizeGrip.get());
}

void TcxControl::MarkDesignerModified() {
  if (!IsDesigning() || !DesignerModified) return;
  for (TControl* c = this; c; c = c->Parent())
    for (TComponentStateItem s : {csLoading, csReading, csDestroying})
      if (c->ComponentState().Contains(s)) return;
  if (TForm* form = GetParentForm(this)) DesignerModified(form);
}

bool TcxControl::IsMenuShortCut(TMessage& Message) {
  if (IsDesigning()) return false;
  for (TControl* c = this; c; c = c->Parent())
    if (auto* control = dynamic_cast<TcxControl*>(c); control && PopupMenuHandlesShortCut(control->PopupMenu(), Message))
      return true;
  return false;
}

// ---------------------------------------------------------------------------
// Focus

bool TcxControl::CanFocusOnClick() { return !IsDesigning() && FocusOnClick && IsFocusable() && CanFocus(); }

bool TcxControl::CanFocusWithParentForm() {
  if (!CanFocus()) return false;
  TForm* form = GetParentForm(this);
  return !form || (form->CanFocus() && form->Enabled() && form->Visible());
}

// ---------------------------------------------------------------------------
// Bounds and own scroll bars

TRect TcxControl::GetBounds() {
  if (!cxRectIsEmpty(FExplicitBounds)) return FExplicitBounds;
  if (HandleAllocated()) return GetClientRect();
  return {0, 0, Width(), Height()};
}

TRect TcxControl::GetClientBounds() {
  TRect r = GetBounds();
  const Integer frame = FrameWidth();
  r = {r.Left + frame, r.Top + frame, r.Right - frame, r.Bottom - frame};
  if (IsHScrollBarVisible()) r.Bottom -= FHScrollBar->Height();
  if (IsVScrollBarVisible()) r.Right -= FVScrollBar->Width();
  return r;
}

TRect TcxControl::GetHScrollBarBounds() {
  const TRect c = GetClientBounds();
  return {c.Left, c.Bottom, c.Right, c.Bottom + FHScrollBar->Height()};
}

TRect TcxControl::GetVScrollBarBounds() {
  const TRect c = GetClientBounds();
  return {c.Right, c.Top, c.Right + FVScrollBar->Width(), c.Bottom};
}

TRect TcxControl::GetSizeGripBounds() {
  const TRect h = FHScrollBar->BoundsRect();
  const TRect v = FVScrollBar->BoundsRect();
  return {v.Left, h.Top, v.Right, h.Bottom};
}

TcxControlScrollBar* TcxControl::BarOf(TScrollBarKind AKind) const {
  return AKind == sbHorizontal ? FHScrollBar.get() : FVScrollBar.get();
}

bool TcxControl::IsHScrollBarVisible() const {
  if (!FHScrollBar || !HasOwnScrollBars()) return false;
  return FCalculatingScrollBarsParams ? FHScrollBar->Data.Visible : FHScrollBar->Visible();
}

bool TcxControl::IsVScrollBarVisible() const {
  if (!FVScrollBar || !HasOwnScrollBars()) return false;
  return FCalculatingScrollBarsParams ? FVScrollBar->Data.Visible : FVScrollBar->Visible();
}

void TcxControl::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  SizeChanged();
}

void TcxControl::SetScrollBarInfo(TScrollBarKind AKind, Integer AMin, Integer AMax, Integer AStep, Integer APage,
                                  Integer APos, bool AAllowShow, bool AAllowHide) {
  TcxControlScrollBar* bar = BarOf(AKind);
  if (!bar) return;
  TcxScrollBarData& d = bar->Data;
  d.AllowShow = AAllowShow;
  d.AllowHide = AAllowHide;
  const bool styleShows = FScrollBars == ssBoth || FScrollBars == (AKind == sbHorizontal ? ssHorizontal : ssVertical);
  if (!AAllowShow || !styleShows) {
    d.Visible = false;
    return;
  }
  if (AMax < AMin || static_cast<int64_t>(APage) >= static_cast<int64_t>(AMax) - AMin + 1 || APos < AMin) {
    if (AAllowHide) {
      d.Visible = false;
    } else {
      d.Visible = true;
      d.Enabled = false;
    }
    return;
  }
  d.Min = AMin;
  d.Max = AMax;
  d.Position = APos;
  d.PageSize = APage;
  // The steps are 16-bit: a larger page or step is held at the limit
  // instead of wrapping round to a negative step.
  d.SmallChange = static_cast<SmallInt>(std::clamp(AStep, -32768, 32767));
  d.LargeChange = static_cast<SmallInt>(std::clamp(APage, -32768, 32767));
  d.Visible = true;
  d.Enabled = true;
}

// Repeats InitScrollBarsParameters until the bars' computed visibility holds
// still. Content whose needs flip with each bar shown never would; after
// four passes the bars the style allows are shown and the loop ends.
void TcxControl::CalculateScrollBarsParams() {
  FCalculatingScrollBarsParams = true;
  ScopeExit done([this] { FCalculatingScrollBarsParams = false; });
  TcxScrollBarData& h = FHScrollBar->Data;
  TcxScrollBarData& v = FVScrollBar->Data;
  h.Visible = false;
  v.Visible = false;
  bool settled = false;
  for (int pass = 0; pass < kMaxSettlingPasses && !settled; ++pass) {
    const bool hBefore = h.Visible, vBefore = v.Visible;
    InitScrollBarsParameters();
    settled = h.Visible == hBefore && v.Visible == vBefore;
  }
  if (!settled) {
    h.Visible = FScrollBars == ssBoth || FScrollBars == ssHorizontal;
    v.Visible = FScrollBars == ssBoth || FScrollBars == ssVertical;
  }
  if (h.Visible && v.Visible && h.Enabled && v.Enabled && h.AllowHide && v.AllowHide) {
    const Integer hThickness = FHScrollBar->Height();
    const Integer vThickness = FVScrollBar->Width();
    const bool hFits = HidesFittingScrollBar(sbHorizontal) &&
                       static_cast<int64_t>(h.PageSize) + vThickness >= static_cast<int64_t>(h.Max) - h.Min + 1;
    const bool vFits = HidesFittingScrollBar(sbVertical) &&
                       static_cast<int64_t>(v.PageSize) + hThickness >= static_cast<int64_t>(v.Max) - v.Min + 1;
    if (hFits && vFits) {
      const TcxScrollBarData hOld = h, vOld = v;
      SetScrollBarInfo(sbHorizontal, hOld.Min, hOld.Max, hOld.SmallChange, hOld.PageSize + vThickness, hOld.Position,
                       hOld.AllowShow, hOld.AllowHide);
      SetScrollBarInfo(sbVertical, vOld.Min, vOld.Max, vOld.SmallChange, vOld.PageSize + hThickness, vOld.Position,
                       vOld.AllowShow, vOld.AllowHide);
    }
  }
}

void TcxControl::RecalcScrollBars() {
  if (!HasOwnScrollBars() || !FHScrollBar || !FVScrollBar) return;
  if (!FUpdatingScrollBars) {
    FHScrollBarWasShown = FHScrollBar->Visible();
    FVScrollBarWasShown = FVScrollBar->Visible();
  }
  const bool nested = FUpdatingScrollBars;
  FUpdatingScrollBars = true;
  ScopeExit leave([this, nested] {
    FUpdatingScrollBars = nested;
    if (!nested) FScrollBarsOscillation = false;
  });
  const bool hBefore = FHScrollBar->Visible(), vBefore = FVScrollBar->Visible();
  if (!FScrollBarsOscillation) {
    CalculateScrollBarsParams();
    if (nested && FHScrollBar->Data.Visible == FHScrollBarWasShown &&
        FVScrollBar->Data.Visible == FVScrollBarWasShown)
      FScrollBarsOscillation = true;
  }
  if (FScrollBarsOscillation) {
    for (auto [bar, wasShown] : {std::pair{FHScrollBar.get(), FHScrollBarWasShown},
                                 std::pair{FVScrollBar.get(), FVScrollBarWasShown}}) {
      if (bar->Visible() != wasShown) {
        bar->SetEnabled(false);
        bar->SetVisible(true);
      }
    }
  } else {
    FHScrollBar->ApplyData();
    FVScrollBar->ApplyData();
  }
  if (FHScrollBar->Visible() != hBefore || FVScrollBar->Visible() != vBefore) {
    SizeChanged();
    return;
  }
  FSizeGrip->SetVisible(FHScrollBar->Visible() && FVScrollBar->Visible());
  PlaceScrollBars();
  if (ScrollBarsToFrontAfterUpdate()) BringScrollBarsToFront();
}

void TcxControl::PlaceScrollBars() {
  if (!HasOwnScrollBars() || !FHScrollBar) return;
  if (FHScrollBar->Visible()) FHScrollBar->SetBoundsRect(GetHScrollBarBounds());
  if (FVScrollBar->Visible()) FVScrollBar->SetBoundsRect(GetVScrollBarBounds());
  if (FSizeGrip->Visible()) FSizeGrip->SetBoundsRect(GetSizeGripBounds());
}

void TcxControl::BringScrollBarsToFront() {
  if (!FHScrollBar) return;
  FHScrollBar->BringToFront();
  FVScrollBar->BringToFront();
  FSizeGrip->BringToFront();
}

void TcxControl::ReparentScrollBars() {
  if (!HasOwnScrollBars() || !FHScrollBar) return;
  FHScrollBar->SetParent(this);
  FVScrollBar->SetParent(this);
  FSizeGrip->SetParent(this);
}

void TcxControl::HandleScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos) {
  ScrollContent(static_cast<TcxControlScrollBar*>(Sender)->Kind(), ScrollCode, ScrollPos);
}

void TcxControl::ScrollByDirection(TcxScrollDirection ADirection) {
  if (ADirection == dirNone || !HasOwnScrollBars() || !FHScrollBar) return;
  const TScrollBarKind kind = ADirection == dirLeft || ADirection == dirRight ? sbHorizontal : sbVertical;
  const TScrollCode code = ADirection == dirLeft || ADirection == dirUp ? scLineUp : scLineDown;
  Integer position = BarOf(kind)->Position();
  ScrollContent(kind, code, position);
}

Integer TcxControl::ScrollBarKindForWheel() {
  return IsVScrollBarVisible() ? WheelScrollsVertical : WheelScrollsNothing;
}

bool TcxControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  const Integer kind = ScrollBarKindForWheel();
  if (kind == WheelScrollsNothing) return false;
  TcxScrollDirection direction;
  if (kind == WheelScrollsVertical)
    direction = WheelDelta > 0 ? dirUp : dirDown;
  else
    direction = WheelDelta > 0 ? dirLeft : dirRight;
  const Integer lines = Mouse ? Mouse->WheelScrollLines() : 3;
  for (Integer i = 0; i < lines; ++i) ScrollByDirection(direction);
  return true;
}

void TcxControl::SystemMetricsChanged(TMessage& Message) {
  (void)Message;
  if (!HasOwnScrollBars() || !FHScrollBar) return;
  const Integer h = GetSystemMetrics(SM_CYHSCROLL);
  const Integer w = GetSystemMetrics(SM_CXVSCROLL);
  if (FHScrollBar->Height() == h && FVScrollBar->Width() == w) return;
  FHScrollBar->SetHeight(h);
  FVScrollBar->SetWidth(w);
  SizeChanged();
}

// ---------------------------------------------------------------------------
// Messages

TPoint TcxControl::MessagePoint(const TMessage& Message) {
  // Message coordinates are 16-bit: past 32768 pixels they wrap.
  if (HandleAllocated() && (Width() > 32768 || Height() > 32768)) {
    POINT p;
    GetCursorPos(&p);
    return ScreenToClient({p.x, p.y});
  }
  return {GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
}

void TcxControl::WndProc(TMessage& Message) {
  TcxObjectLink* link = AddObjectLink(this);
  ScopeExit unlink([link] { RemoveObjectLink(link); });
  const bool buttonDown = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_RBUTTONDOWN ||
                          Message.Msg == WM_MBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
  const TPoint point = buttonDown ? MessagePoint(Message) : TPoint{};
  const bool leftDown = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
  // The class library would start its own drag on these; the control runs
  // its drag detection after the message instead.
  if (leftDown && !DragControl() &&
      ((IsDesigning() && DesignHitTestAt(point.X, point.Y, {ssLeft})) ||
       (DragMode() == dmAutomatic && !IsDesigning()))) {
    if (!IsControlMouseMsg(Message)) {
      ControlState += csLButtonDown;
      Dispatch(Message);
      if (link->Ref) ControlState -= csLButtonDown;
    }
  } else {
    TCustomControl::WndProc(Message);
  }
  if (!link->Ref) return;
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: FocusChanged(); break;
    case WM_PAINT:
      if (ParentBackground() != FLastParentBackground) {
        FLastParentBackground = ParentBackground();
        ParentBackgroundChanged();
      }
      break;
    case WM_LBUTTONDOWN: AfterMouseDown(mbLeft, point.X, point.Y); break;
    case WM_RBUTTONDOWN: AfterMouseDown(mbRight, point.X, point.Y); break;
    case WM_MBUTTONDOWN: AfterMouseDown(mbMiddle, point.X, point.Y); break;
    default: break;
  }
}

void TcxControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: HandleGetDlgCode(Message); return;
    case WM_NCCALCSIZE:
      DefaultHandler(Message);
      if (HandleAllocated()) PostMessage(Handle(), MetricsChangedMessage, 0, 0);
      return;
    case MetricsChangedMessage: SystemMetricsChanged(Message); return;
    case CM_CURSORCHANGED:
      CursorChanged();
      break;
    case CM_DESIGNHITTEST: HandleDesignHitTest(Message); return;
    default: break;
  }
  TCustomControl::Dispatch(Message);
}

void TcxControl::HandleGetDlgCode(TMessage& Message) {
  LRESULT code = 0;
  if (FWantedKeys.Contains(wkAll)) code += DLGC_WANTALLKEYS;
  if (FWantedKeys.Contains(wkArrows)) code += DLGC_WANTARROWS;
  if (FWantedKeys.Contains(wkChars)) code += DLGC_WANTCHARS;
  // Ctrl+Tab still moves between the pages of a parent.
  if (FWantedKeys.Contains(wkTab) && !IsCtrlPressed()) code += DLGC_WANTTAB;
  Message.Result = code;
}

void TcxControl::HandleDesignHitTest(TMessage& Message) {
  DefaultHandler(Message);
  if (Message.Result == 0)
    Message.Result = DesignHitTestAt(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam),
                                     KeysToShiftState(static_cast<WORD>(Message.WParam)))
                         ? 1
                         : 0;
}

bool TcxControl::DesignHitTestAt(Integer X, Integer Y, TShiftState Shift) {
  (void)X, (void)Y, (void)Shift;
  return FDragAndDropState != ddsNone || FMouseCaptured;
}

void TcxControl::WMEraseBkgnd(TMessage& Message) {
  if (NeedsEraseBackground())
    TCustomControl::WMEraseBkgnd(Message);
  else
    Message.Result = 1;
}

void TcxControl::WMPaint(TMessage& Message) {
  TDragObject* over = FDragObjectOver;
  if (over) over->HideDragImage();
  ScopeExit show([over] {
    if (over) over->ShowDragImage();
  });
  TCustomControl::WMPaint(Message);
}

void TcxControl::WMSetCursor(TMessage& Message) {
  if (IsDesigning() && FDragAndDropState == ddsNone) {
    POINT p;
    GetCursorPos(&p);
    const TPoint client = ScreenToClient({p.x, p.y});
    if (DesignHitTestAt(client.X, client.Y, {ssLeft})) {
      win::SetCursor(CursorHandle(CursorAt(client.X, client.Y)));
      Message.Result = 1;
      return;
    }
  }
  TCustomControl::WMSetCursor(Message);
}

// The class library's handling asks DoContextPopup, which shows the menu;
// at design time the message only goes on.
void TcxControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  if (IsDesigning())
    DefaultHandler(Message);
  else
    TCustomControl::WMContextMenu(Message);
}

void TcxControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  TCustomControl::DoContextPopup(MousePos, Handled);
  if (Handled) return;
  const TPoint p = MousePos.X == -1 && MousePos.Y == -1 ? TPoint{0, 0} : MousePos;
  const TPoint screen = ClientToScreen(p);
  Handled = DoShowPopupMenu(PopupMenu(), screen.X, screen.Y);
}

bool TcxControl::DoShowPopupMenu(TComponent* AMenu, Integer X, Integer Y) {
  return ShowPopupMenu(this, AMenu, X, Y);
}

void TcxControl::WMCancelMode(TMessage& Message) {
  TCustomControl::WMCancelMode(Message);
  FinishDragAndDrop(false);
  DragAndDropStateReset();
}

void TcxControl::CMColorChanged(TMessage& Message) {
  HandleColorChange();
  TCustomControl::CMColorChanged(Message);
}

void TcxControl::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  NotifyFontListeners();
}

void TcxControl::CMVisibleChanged(TMessage& Message) {
  TCustomControl::CMVisibleChanged(Message);
  VisibleChanged();
}

void TcxControl::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  TextChanged();
}

void TcxControl::CMMouseEnter(TMessage& Message) {
  TCustomControl::CMMouseEnter(Message);
  auto* control = reinterpret_cast<TControl*>(Message.LParam);
  NotifyMouseEnter(control ? control : this);
}

void TcxControl::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  auto* control = reinterpret_cast<TControl*>(Message.LParam);
  NotifyMouseLeave(control ? control : this);
}

void TcxControl::CNKeyDown(TMessage& Message) { HandleKeyDownNotify(Message); }

void TcxControl::HandleKeyDownNotify(TMessage& Message) {
  if (IsMenuShortCut(Message)) {
    Message.Result = 1;
    return;
  }
  if (FDragAndDropState != ddsNone && Message.WParam == VK_ESCAPE) {
    SendMessage(Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    Message.Result = 1;
    return;
  }
  TCustomControl::CNKeyDown(Message);
}

void TcxControl::CNSysKeyDown(TMessage& Message) {
  if (IsMenuShortCut(Message)) {
    Message.Result = 1;
    return;
  }
  TCustomControl::CNSysKeyDown(Message);
}

void TcxControl::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && FDragAndDropState != ddsNone) FinishDragAndDrop(false);
  TCustomControl::KeyDown(Key, Shift);
}

// ---------------------------------------------------------------------------
// Mouse

void TcxControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FMouseDownPos = {X, Y};
  TcxObjectLink* link = AddObjectLink(this);
  ScopeExit unlink([link] { RemoveObjectLink(link); });
  if (CanFocusOnClickAt(X, Y) && !Shift.Contains(ssDouble)) {
    SetFocus();
    if (!link->Ref) return;
    TForm* form = GetParentForm(this);
    if (form && form->ActiveControl() == this && !HasPlatformFocus()) win::SetFocus(Handle());
    if (!HasPlatformFocus() && !AllowMouseDownWithoutFocus()) {
      SetMouseCapture(false);
      FinishDragAndDrop(false);
      return;
    }
  }
  if (Button == mbLeft && !Shift.Contains(ssDouble) && CanStartDragAndDropAt({X, Y})) {
    if (DragAndDropObject()->StartsImmediately())
      BeginDragAndDrop();
    else
      SetDragAndDropState(ddsStarting);
  } else {
    FinishDragAndDrop(false);
  }
  if (!link->Ref) return;
  BeforeMouseDown(Button, Shift, X, Y);
  if (!link->Ref) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (link->Ref && MouseCapture()) FMouseCaptured = true;
}

void TcxControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  {
    FSettingCursor = true;
    ScopeExit reset([this] { FSettingCursor = false; });
    SetCursor(CursorAt(X, Y));
  }
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDragAndDropState == ddsStarting && !IsWithinDragThreshold(FMouseDownPos, X, Y)) BeginDragAndDrop();
  if (FDragAndDropState == ddsInProcess) {
    bool accepted = false;
    DragAndDrop({X, Y}, accepted);
  }
}

void TcxControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FMouseCaptured = false;
  EndMouseCapture();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TcxControl::EndMouseCapture() {
  FinishDragAndDrop(true);
  SetMouseCaptureObject(nullptr);
}

void TcxControl::AfterMouseDown(TMouseButton AButton, Integer X, Integer Y) {
  if (AButton == mbLeft) {
    if (DragMode() == dmAutomatic && FMouseCaptured && (!IsDesigning() || CanDragAtDesignTime(X, Y, false)) &&
        CanBeginDragAt(X, Y) && DragDetectLoop(Handle()) == 1)
      BeginDrag(true);
  } else if (AButton == mbMiddle) {
    MiddleButtonScroll();
  }
}

bool TcxControl::AllowDragAt(Integer X, Integer Y) {
  return DragMode() == dmManual || IsWithinDragThreshold(FMouseDownPos, X, Y);
}

void TcxControl::SetMouseCaptureObject(TObject* Value) {
  if (FMouseCaptureObject == Value) return;
  if (auto* old = dynamic_cast<IcxMouseCaptureObject*>(FMouseCaptureObject)) old->DoCancelMode();
  FMouseCaptureObject = Value;
  const bool wasCaptured = MouseCapture();
  SetMouseCapture(Value != nullptr);
  if (wasCaptured && !MouseCapture() && FDragAndDropState == ddsStarting) Perform(WM_CANCELMODE, 0, 0);
}

// ---------------------------------------------------------------------------
// The control's own drag and drop

TClass TcxControl::GetDragAndDropObjectClass() {
  return DragAndDropObjectClass ? DragAndDropObjectClass : TcxDragAndDropObject::StaticClass();
}

TcxDragAndDropObject* TcxControl::DragAndDropObject() {
  if (!FDragAndDropObject)
    FDragAndDropObject.reset(MakeFromClass<TcxDragAndDropObject>(GetDragAndDropObjectClass(), this));
  return FDragAndDropObject.get();
}

void TcxControl::SetDragAndDropState(TcxDragAndDropState Value) {
  if (FDragAndDropState == Value) return;
  FDragAndDropState = Value;
  if (Value == ddsNone && !FFinishingDragAndDrop) DragAndDropStateReset();
}

void TcxControl::DragAndDropStateReset() {
  FMouseCaptured = false;
  FMouseCaptureObject = nullptr;
}

void TcxControl::BeginDragAndDrop() {
  DragAndDropObject()->DoBeginDragAndDrop();
  SetMouseCapture(true);
  FDragAndDropPrevCursor = Screen ? Screen->Cursor() : crDefault;
  SetDragAndDropState(ddsInProcess);
}

void TcxControl::DragAndDrop(const TPoint& P, bool& Accepted) { DragAndDropObject()->DoDragAndDrop(P, Accepted); }

void TcxControl::EndDragAndDrop(bool Accepted) {
  SetDragAndDropState(ddsNone);
  if (Screen) Screen->SetCursor(FDragAndDropPrevCursor);
  SetMouseCapture(false);
  FMouseCaptureObject = nullptr;
  DragAndDropObject()->DoEndDragAndDrop(Accepted);
}

void TcxControl::FinishDragAndDrop(bool Accepted) {
  if (FFinishingDragAndDrop) return;
  FFinishingDragAndDrop = true;
  ScopeExit done([this] { FFinishingDragAndDrop = false; });
  if (FDragAndDropState == ddsInProcess)
    EndDragAndDrop(Accepted);
  else
    SetDragAndDropState(ddsNone);
  FDragAndDropObject.reset();
}

// ---------------------------------------------------------------------------
// The class library's drag and drop

TClass TcxControl::GetDragObjectClass() { return TcxDragControlObject::StaticClass(); }
TClass TcxControl::GetDragImageListClass() { return TcxDragImageList::StaticClass(); }

TDragImageList* TcxControl::GetDragImages() {
  if (!HasDragImages()) return nullptr;
  if (!FDragImages) {
    FDragImages.reset(MakeFromClass<TcxDragImageList>(GetDragImageListClass(), static_cast<TComponent*>(nullptr)));
    FillDragImageList(FDragImages.get());
  }
  return FDragImages.get();
}

void TcxControl::FillDragImageList(TcxDragImageList* AList) {
  const TSize size = GetDragImageSize();
  AList->SetWidth(size.cx);
  AList->SetHeight(size.cy);
  if (size.cx == 0 || size.cy == 0) return;
  TBitmap bitmap;
  bitmap.SetSize(size.cx, size.cy);
  TcxCanvas canvas(bitmap.Canvas());
  DrawDragImage(&canvas, {0, 0, size.cx, size.cy});
  AList->AddMasked(&bitmap, bitmap.TransparentColor());
}

void TcxControl::DoStartDrag(TDragObject*& DragObject) {
  TCustomControl::DoStartDrag(DragObject);
  if (DragObject) return;
  TClass cls = GetDragObjectClass();
  if (!cls || !cls->OwnerFactory) return;
  TObject* made = cls->OwnerFactory(this);
  auto* object = dynamic_cast<TDragObject*>(made);
  if (!object) {
    delete made;
    return;
  }
  if (!AcceptsDragObject(object)) {
    delete object;
    CancelDrag();
    return;
  }
  DragObject = object;
}

void TcxControl::DoEndDrag(TObject* Target, Integer X, Integer Y) {
  TCustomControl::DoEndDrag(Target, X, Y);
  FDragImages.reset();
}

void TcxControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  TCustomControl::DragOver(Source, X, Y, State, Accept);
  FDragObjectOver = State == dsDragLeave ? nullptr : ::DragObject();
}

// ---------------------------------------------------------------------------
// Middle-button scrolling

namespace {

constexpr int kAnchorSize = 28;
constexpr const char* kAnchorClass = "cxScrollAnchor";

enum AnchorKind { AnchorFull, AnchorHorizontal, AnchorVertical };

// "CX_FULLSCROLLBITMAP", "CX_HORSCROLLBITMAP" and "CX_VERSCROLLBITMAP":
// the program has no bitmap resources, so the anchors are drawn here: a
// dot in the middle and an arrow for each way the content can go.
HBITMAP AnchorBitmap(AnchorKind Kind) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(kAnchorSize, kAnchorSize, 1, 32, nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  RECT all{0, 0, kAnchorSize, kAnchorSize};
  FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
  HBRUSH ink = CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT));
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
  HGDIOBJ oldBrush = SelectObject(dc, ink);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  constexpr int c = kAnchorSize / 2;
  Ellipse(dc, c - 2, c - 2, c + 2, c + 2);
  auto arrow = [&](POINT a, POINT b, POINT tip) {
    const POINT points[3] = {a, b, tip};
    Polygon(dc, points, 3);
  };
  if (Kind != AnchorHorizontal) {
    arrow({c - 4, 9}, {c + 4, 9}, {c, 4});
    arrow({c - 4, kAnchorSize - 10}, {c + 4, kAnchorSize - 10}, {c, kAnchorSize - 5});
  }
  if (Kind != AnchorVertical) {
    arrow({9, c - 4}, {9, c + 4}, {4, c});
    arrow({kAnchorSize - 10, c - 4}, {kAnchorSize - 10, c + 4}, {kAnchorSize - 5, c});
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(ink);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  return bitmap;
}

void RegisterAnchorClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEX wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = kAnchorClass;
  RegisterClassEx(&wc);
  registered = true;
}

void PaintAnchor(HWND Wnd, HBITMAP Bitmap) {
  HDC dc = GetDC(Wnd);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, Bitmap);
  BitBlt(dc, 0, 0, kAnchorSize, kAnchorSize, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  HRGN outline = CreateEllipticRgn(0, 0, kAnchorSize + 1, kAnchorSize + 1);
  HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT));
  FrameRgn(dc, outline, frame, 1, 1);
  DeleteObject(frame);
  DeleteObject(outline);
  ReleaseDC(Wnd, dc);
}

}  // namespace

void TcxControl::UpdateMiddleScroll(const TPoint& P, const TPoint& Anchor, Integer AnchorSize, Integer& Direction,
                                    Integer& Speed, bool& Moved) {
  const bool h = IsHScrollBarVisible();
  const bool v = IsVScrollBarVisible();
  const Integer half = AnchorSize / 2;
  TRect zone{Anchor.X - half, Anchor.Y - half, Anchor.X - half + AnchorSize, Anchor.Y - half + AnchorSize};
  if (!h) {
    zone.Left = 0;
    zone.Right = GetSystemMetrics(SM_CXSCREEN);
  }
  if (!v) {
    zone.Top = 0;
    zone.Bottom = GetSystemMetrics(SM_CYSCREEN);
  }
  if (cxRectPtIn(zone, P)) {
    Direction = dirNone;
    Speed = 0;
    return;
  }
  Moved = true;
  const Integer dx = P.X - Anchor.X;
  const Integer dy = P.Y - Anchor.Y;
  const bool vertical = !h || (v && std::abs(dy) >= std::abs(dx));
  const Integer distance = vertical ? std::abs(dy) : std::abs(dx);
  if (vertical)
    Direction = dy < 0 ? dirUp : dirDown;
  else
    Direction = dx < 0 ? dirLeft : dirRight;
  Speed = std::min((distance - half) / 5 + 1, 12);
}

void TcxControl::MiddleButtonScroll() {
  const bool h = IsHScrollBarVisible();
  const bool v = IsVScrollBarVisible();
  if (!h && !v) return;
  FMiddleButtonScrolling = true;
  TcxObjectLink* link = AddObjectLink(this);
  POINT start;
  GetCursorPos(&start);
  const TPoint anchor{start.x, start.y};
  RegisterAnchorClass();
  HBITMAP bitmap = AnchorBitmap(h && v ? AnchorFull : h ? AnchorHorizontal : AnchorVertical);
  HWND window = Handle();
  HWND anchorWindow =
      CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kAnchorClass, "", WS_POPUP,
                     anchor.X - kAnchorSize / 2, anchor.Y - kAnchorSize / 2, kAnchorSize + 1, kAnchorSize + 1,
                     window, nullptr, nullptr, nullptr);
  SetWindowRgn(anchorWindow, CreateEllipticRgn(0, 0, kAnchorSize + 1, kAnchorSize + 1), FALSE);
  ShowWindow(anchorWindow, SW_SHOWNOACTIVATE);
  PaintAnchor(anchorWindow, bitmap);
  ScopeExit finish([&] {
    if (GetCapture() == window) ReleaseCapture();
    KillTimer(window, kMiddleScrollTimer);
    DestroyWindow(anchorWindow);
    DeleteObject(bitmap);
    if (link->Ref) FMiddleButtonScrolling = false;
    RemoveObjectLink(link);
  });

  Integer direction = dirNone, speed = 1, counter = 0;
  bool moved = false;
  const TCursor noDirection = h && v ? crcxFullScroll : h ? crcxHorScroll : crcxVerScroll;
  auto showCursor = [&] {
    TCursor cursor = noDirection;
    switch (direction) {
      case dirLeft: cursor = crcxLeftScroll; break;
      case dirRight: cursor = crcxRightScroll; break;
      case dirUp: cursor = crcxUpScroll; break;
      case dirDown: cursor = crcxDownScroll; break;
      default: break;
    }
    win::SetCursor(CursorHandle(cursor));
  };
  showCursor();
  SetTimer(window, kMiddleScrollTimer, kMiddleScrollInterval, nullptr);
  SetCapture(window);
  POINT last = start;
  MSG msg;
  while (GetCapture() == window) {
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got < 0) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_PAINT && msg.hwnd == anchorWindow) {
      ValidateRect(anchorWindow, nullptr);
      continue;
    }
    bool done = false;
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_KEYUP: done = msg.wParam == VK_ESCAPE; break;
      case WM_TIMER:
        if (msg.hwnd == window && msg.wParam == kMiddleScrollTimer) {
          ++counter;
          if (counter % (13 - speed) == 0) ScrollByDirection(static_cast<TcxScrollDirection>(direction));
          if (!link->Ref) return;
        }
        break;
      case WM_MOUSEMOVE: {
        POINT p;
        GetCursorPos(&p);
        if (p.x != last.x || p.y != last.y) {
          UpdateMiddleScroll({p.x, p.y}, anchor, kAnchorSize, direction, speed, moved);
          showCursor();
          last = p;
        }
        break;
      }
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN: done = true; break;
      case WM_MBUTTONUP: done = moved; break;
      default: break;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    if (done || !link->Ref) break;
  }
}

// ---------------------------------------------------------------------------
// TcxControlChildComponent

TcxControlChildComponent::TcxControlChildComponent(TComponent* AOwner) : TcxComponent(AOwner) { Initialize(); }

TcxControlChildComponent::TcxControlChildComponent(TcxControl* AControl, bool ATakeOwner)
    : TcxComponent(ATakeOwner && AControl ? AControl->Owner() : nullptr) {
  Initialize();
  SetControl(AControl);
}

TcxControlChildComponent::~TcxControlChildComponent() {
  if (FControl) FControl->RemoveChildComponent(this);
}

void TcxControlChildComponent::SetParentComponent(TComponent* Value) {
  if (auto* control = dynamic_cast<TcxControl*>(Value)) control->AddChildComponent(this);
}
