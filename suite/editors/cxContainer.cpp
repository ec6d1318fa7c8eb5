#include "suite/editors/cxContainer.h"

#include <algorithm>

#include "platform/forms/CustomForms.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/ThemeSchema.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TcxContainer, TcxControl)

VXN_PUBLISH(TcxContainer) {
  P.Redeclare("TabStop").Default(1);
  // Written through the container, so that the inner control follows.
  P.Property("DragKind", &TcxContainer::GetDragKind, &TcxContainer::SetDragKind).Default(dkDrag);
  P.Property("DragMode", &TcxContainer::DragMode, &TcxContainer::SetDragMode).Default(dmManual);
}

namespace {

// Sets a flag for the length of a scope and puts the old value back.
class FlagScope {
 public:
  FlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

Integer ButtonCode(TMouseButton Button) {
  switch (Button) {
    case mbLeft: return cxmbLeft;
    case mbRight: return cxmbRight;
    default: return cxmbMiddle;
  }
}

bool HasFocusWindow(TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() && GetFocus() == AControl->Handle();
}

}  // namespace

// ---------------------------------------------------------------------------

TcxContainer::TcxContainer(TComponent* AOwner)
    : TcxContainer(AOwner, &CreateContainerStyles<TcxContainerStyles>, &CreateContainerStyle<TcxContainerStyle>,
                   &CreateContainerViewInfo<TcxContainerViewInfo>) {}

TcxContainer::TcxContainer(TComponent* AOwner, TcxContainerStylesClass AStylesClass,
                           TcxContainerStyleClass AStyleClass, TcxContainerViewInfoClass AViewInfoClass)
    : TcxControl(AOwner) {
  FConstructing = true;
  FStyles = AStylesClass(this, AStyleClass);
  FStyles->SetChangeHandler(TNotifyEvent(this, &TcxContainer::SyncControlWithStyle));
  FActiveStyleState = csNormal;
  FActiveStyle = Style();
  FViewInfo = AViewInfoClass();
  LookAndFeel()->SetMasterLookAndFeel(Style()->LookAndFeel());
  ControlStyle += csCaptureMouse;
  ControlStyle += csSetCaption;
  SetTabStop(true);
  SetParentColor(DefaultParentColor() && !IsInplace() && !Style()->IsStyleValueAssigned(svColor));
  if (!ParentColor()) {
    // The container's own colour; the style does not take it as assigned.
    FlagScope syncing(FSyncingFromStyle, true);
    SetColor(clWindow);
  }
  RequestRefresh();
  FConstructing = false;
}

TcxContainer::~TcxContainer() {
  EndMouseTracking(this);
  FBeingDestroyed = true;
  FViewInfo.reset();
  FStyles->SetChangeHandler(nullptr);
  LookAndFeel()->SetMasterLookAndFeel(nullptr);
  FStyles.reset();
}

TcxContainerStyle* TcxContainer::ActiveStyle() {
  if (FViewInfo->StateFlags != FActiveStyleState) {
    FActiveStyle = GetActiveStyle();
    FActiveStyleState = FViewInfo->StateFlags;
  }
  return FActiveStyle;
}

TcxContainerStyle* TcxContainer::GetActiveStyle() {
  const TcxContainerStateFlags state = FViewInfo->StateFlags;
  if (state & csDisabled) return StyleDisabled();
  if (state & csFocused) return StyleFocused();
  if ((state & csHot) && Style()->HotTrack()) return StyleHot();
  return Style();
}

bool TcxContainer::IsNativeStyle() { return NativeThemeInEffect(Style()->LookAndFeel()->NativeStyle(), ThemedObjectKind()); }

bool TcxContainer::HasShadow() { return ActiveStyle()->Shadow() && !IsNativeStyle(); }

Integer TcxContainer::GetBorderDrawState() {
  if (!Enabled()) return 4;
  if (Focused()) return 5;
  if (FViewInfo->StateFlags & csHot) return 2;
  return 1;
}

// --- view info --------------------------------------------------------------

void TcxContainer::CalculateState(const TPoint& P, bool AIsMouseEvent) {
  TcxContainerViewInfo& vi = *FViewInfo;
  TcxContainerStateFlags state;
  if (!Enabled())
    state = csDisabled;
  else if (IsDesigning())
    state = csNormal;
  else {
    state = Focused() ? csFocused : csNormal;
    if (AIsMouseEvent && cxRectPtIn(GetBorderDrawRect(), P)) state |= csHot;
  }
  vi.StateFlags = state;
  TcxContainerStyle* active = ActiveStyle();
  if (!active->HotTrack())
    vi.HoverLevel = 0;
  else
    vi.HoverLevel = (state & (csFocused | csHot)) ? 2 : 1;
  if (vi.NativeDrawing) {
    vi.BorderStyle = Style()->BorderStyle();
  } else {
    vi.BorderStyle = active->BorderStyle();
    if (vi.BorderStyle == cbsUltraFlat || vi.BorderStyle == cbsOffice11) vi.BorderStyle = cbsSingle;
  }
}

TColor TcxContainer::HighlightedBorderColor(TcxContainerBorderStyle AStyle, bool AHighlighted) {
  if (!AHighlighted) return clBtnShadow;
  return AStyle == cbsOffice11 ? Office11SelectionFrameColor : clHighlight;
}

void TcxContainer::CalculateViewInfo(const TPoint& P, bool AIsMouseEvent) {
  TcxContainerViewInfo& vi = *FViewInfo;
  vi.NativeDrawing = IsNativeStyle();
  const Integer previousWidth = ContainerBorderWidth(vi.BorderStyle);
  CalculateState(P, AIsMouseEvent);
  // A thinner border moves the edge the hot test sees: test again.
  if (!vi.NativeDrawing && ContainerBorderWidth(vi.BorderStyle) < previousWidth) CalculateState(P, AIsMouseEvent);
  if (vi.NativeDrawing) {
    vi.ThemedObjectKind = ThemedObjectKind();
    vi.ThemePart = GetBorderDrawPart();
    vi.ThemeState = GetBorderDrawState();
  }
  TcxContainerStyle* active = ActiveStyle();
  vi.WholeRect = {0, 0, Width(), Height()};
  const TRect extents = GetBorderExtents();
  vi.InsideBorderRect = {extents.Left, extents.Top, Width() - extents.Right, Height() - extents.Bottom};
  vi.InnerControlRect = vi.InsideBorderRect;
  vi.BorderThickness = ContainerBorderWidth(vi.BorderStyle);
  vi.Edges = active->Edges();
  vi.ShadowOn = HasShadow();

  const TcxContainerBorderStyle styleBorder = active->BorderStyle();
  if (styleBorder != cbsUltraFlat && styleBorder != cbsOffice11) {
    vi.BorderColor = active->BorderColor();
  } else {
    const TcxContainerStateFlags state = vi.StateFlags;
    const bool highlighted = (state & csFocused) || ((state & csHot) && active->HotTrack()) ||
                             (IsDesigning() && Enabled());
    vi.BorderColor = HighlightedBorderColor(styleBorder, highlighted);
  }

  TColor fill = active->Color();
  if (vi.NativeDrawing && !Enabled()) {
    COLORREF themed = 0;
    if (UxGetThemeColor(OpenThemeByIndex(ThemedObjectKind()), vi.ThemePart, vi.ThemeState, TMT_FILLCOLOR, themed) ==
        S_OK)
      fill = static_cast<TColor>(themed);
  }
  vi.SetBackgroundColor(fill);
}

TRect TcxContainer::GetBorderExtents() {
  TcxContainerStyle* active = ActiveStyle();
  return ContainerBorderExtents(active->TransparentBorder(), active->IsStyleActive(), FViewInfo->NativeDrawing,
                                Style()->BorderStyle() == cbsNone, ContainerBorderWidth(FViewInfo->BorderStyle),
                                active->Edges(), HasShadow());
}

TRect TcxContainer::GetVisibleBounds() {
  const TRect extents = GetBorderExtents();
  const TRect& whole = FViewInfo->WholeRect;
  const Integer w = ContainerBorderWidth(FViewInfo->BorderStyle);
  const TRect r{whole.Left + extents.Left - w, whole.Top + extents.Top - w, whole.Right - extents.Right + w,
                whole.Bottom - extents.Bottom + w};
  return DeflateRectForAbsentEdges(r, w, ActiveStyle()->Edges());
}

TRect TcxContainer::GetBorderDrawRect() {
  TRect r{0, 0, Width(), Height()};
  if (IsInplace()) return r;
  const TcxContainerViewInfo& vi = *FViewInfo;
  if (vi.ShadowOn) {
    r.Right -= cxContainerShadowWidth;
    r.Bottom -= cxContainerShadowWidth;
  }
  TcxContainerStyle* normal = Style();
  if (normal->IsStyleActive()) {
    if (!vi.NativeDrawing && normal->TransparentBorder()) {
      const Integer w = ContainerBorderWidth(vi.BorderStyle);
      r = DeflateRectForAbsentEdges(cxRectInflate(r, w - 2, w - 2), w, vi.Edges);
    } else if (vi.NativeDrawing && normal->BorderStyle() == cbsNone && normal->TransparentBorder()) {
      r = cxRectInflate(r, -2, -2);
    }
  } else if (normal->TransparentBorder()) {
    r = cxRectInflate(r, -2, -2);
  }
  return r;
}

// --- state refresh ------------------------------------------------------------

bool TcxContainer::RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AFlag) {
  (void)AButton;
  (void)AFlag;
  if (FMovingInner || FBeingDestroyed) return true;
  CalculateViewInfo(P, Shift.Empty() && ActiveStyle()->HotTrack());
  AlignInnerControl();
  SyncInnerControlWithStyle();
  if (HandleAllocated()) {
    const TcxContainerViewInfo& vi = *FViewInfo;
    ApplyContainerWindowRegion(Handle(), GetVisibleBounds(), vi.NativeDrawing && vi.BorderStyle != cbsNone, {},
                               vi.ShadowOn);
    if (FInnerControl)
      InvalidateRectFrame(Handle(), {0, 0, Width(), Height()}, vi.InsideBorderRect, false);
    else
      InvalidateRect(Handle(), nullptr, FALSE);
  }
  if (FViewInfo->StateFlags & csHot) TrackMouse();
  return true;
}

void TcxContainer::RefreshAtCursor(bool AFlag) {
  if (!HandleAllocated() || FBeingDestroyed || FRefreshingAtCursor) return;
  FlagScope refreshing(FRefreshingAtCursor, true);
  RefreshState(ScreenToClient(GetMouseScreenPos()), cxmbNone, GetKeyboardShiftState(), AFlag);
}

void TcxContainer::TrackMouse() { BeginMouseTracking(this, GetBorderDrawRect(), this); }

void TcxContainer::MouseLeft() {
  NotifyMouseLeave(this);
  EndMouseTracking(this);
}

void TcxContainer::PostUpdateScrollBars() {
  if (HandleAllocated() && FInnerControl && !FBeingDestroyed)
    PostMessage(Handle(), CM_SYNCINNERSCROLLBARS, 0, 0);
}

// --- inner control -------------------------------------------------------------

void TcxContainer::SyncInnerControlWithStyle() {
  if (!FInnerControl) return;
  FInnerControl->SetColor(FViewInfo->FillColor);
  FInnerControl->SetFont(ActiveStyle()->EffectiveFont());
}

void TcxContainer::AlignInnerControl() {
  if (!FInnerControl || FInnerControl->BoundsRect() == FViewInfo->InnerControlRect) return;
  FlagScope moving(FMovingInner, true);
  FInnerControl->SetBoundsRect(FViewInfo->InnerControlRect);
}

TRect TcxContainer::GetInnerControlBounds(const TRect& R, TControl* AControl, bool& AWholeVisible) {
  TRect visible{0, 0, AControl->Width(), AControl->Height()};
  const TRect b = AControl->BoundsRect();
  if (b.Left < R.Left) visible.Left += R.Left - b.Left;
  if (b.Top < R.Top) visible.Top += R.Top - b.Top;
  if (b.Right > R.Right) visible.Right -= b.Right - R.Right;
  if (b.Bottom > R.Bottom) visible.Bottom -= b.Bottom - R.Bottom;
  AWholeVisible = b.Left >= R.Left && b.Top >= R.Top && b.Right <= R.Right && b.Bottom <= R.Bottom;
  return visible;
}

void TcxContainer::ApplyInnerRegion(TWinControl* AControl, const TRect& AVisible, bool AWholeVisible) {
  SetWindowRgn(AControl->Handle(),
               AWholeVisible ? nullptr : CreateRectRgn(AVisible.Left, AVisible.Top, AVisible.Right, AVisible.Bottom),
               TRUE);
  if (AControl == FInnerControl) {
    FInnerWholeVisible = AWholeVisible;
    FInnerVisibleRect = AVisible;
  }
}

bool TcxContainer::IsOwnScrollBarControl(TControl* AControl) const {
  return AControl && (AControl == HScrollBar() || AControl == VScrollBar() || AControl == SizeGrip());
}

void TcxContainer::AlignControls(TControl* AControl, TRect& Rect) {
  if (ControlStyle.Contains(csAcceptsControls)) {
    TcxControl::AlignControls(AControl, Rect);
    return;
  }
  if (FInnerBoundsLock > 0 || IsOwnScrollBarControl(AControl)) return;
  if (!AControl) {
    TcxControl::AlignControls(nullptr, Rect);
    return;
  }
  auto* control = dynamic_cast<TWinControl*>(AControl);
  if (FConstructing || !control || !control->HandleAllocated()) return;
  TRect clientRect = Rect;
  AdjustClientRect(clientRect);
  bool whole = true;
  const TRect visible = GetInnerControlBounds(clientRect, control, whole);
  if (control != FInnerControl || whole != FInnerWholeVisible || (!whole && visible != FInnerVisibleRect))
    ApplyInnerRegion(control, visible, whole);
}

void TcxContainer::SetInnerBoundsLock(bool ALock) {
  if (ALock)
    ++FInnerBoundsLock;
  else if (FInnerBoundsLock > 0)
    --FInnerBoundsLock;
}

void TcxContainer::SetContextPopupLock(bool ALock) {
  if (ALock)
    ++FContextPopupLock;
  else if (FContextPopupLock > 0)
    --FContextPopupLock;
}

void TcxContainer::FocusInnerControl() {
  if (FInnerControl) FInnerControl->SetFocus();
}

void TcxContainer::AssignDragKind(TDragKind Value) {
  DragKind = Value;
  if (FInnerControl) FInnerControl->DragKind = Value;
}

void TcxContainer::SetDragMode(TDragMode Value) {
  TcxControl::SetDragMode(Value);
  if (FInnerControl) FInnerControl->SetDragMode(Value);
}

TDragImageList* TcxContainer::GetDragImages() {
  return FInnerControl ? FInnerControl->GetDragImages() : TcxControl::GetDragImages();
}

namespace {
// Reaches the class library's protected drag-cancel notice of another
// control: the using-declaration makes it public here, and the member
// pointer it gives is TControl's own, so the call dispatches virtually.
struct DragCanceledAccess : TControl {
  using TControl::DragCanceled;
};
}  // namespace

void TcxContainer::DragCanceled() {
  TcxControl::DragCanceled();
  if (!FInnerControl) return;
  void (TControl::*canceled)() = &DragCanceledAccess::DragCanceled;
  (FInnerControl->*canceled)();
}

void TcxContainer::CursorChanged() {
  TcxControl::CursorChanged();
  if (FInnerControl) FInnerControl->SetCursor(Cursor());
}

void TcxContainer::UpdateWindowRegion() {
  std::unique_ptr<TcxRegion> shape =
      ContainerRegion(GetVisibleBounds(), FViewInfo->NativeDrawing && FViewInfo->BorderStyle != cbsNone,
                      FViewInfo->ShadowOn, {});
  if (shape) cxCanvas()->ApplyClipRegion(std::move(shape), RegionIntersection);
}

bool TcxContainer::HandleInnerDialogKey(TMessage& Message) {
  if (Message.Msg != CN_KEYDOWN && Message.Msg != CN_SYSKEYDOWN) return false;
  const bool shortCut = IsMenuShortCut(Message);
  if (shortCut) Message.Result = 1;
  return shortCut;
}

// --- scroll bars ---------------------------------------------------------------

TRect TcxContainer::ScreenRectToClient(const TRect& R) {
  const TPoint p = ScreenToClient({R.Left, R.Top});
  const Integer w = R.Right - R.Left, h = R.Bottom - R.Top;
  if (p.X < 0 || p.Y < 0 || w > Width() || h > Height()) return {};
  return {p.X, p.Y, w, h};
}

bool TcxContainer::IsInnerScrollBarVisible(TcxControlScrollBar* AScrollBar, const SCROLLBARINFO& AInfo) {
  return AScrollBar->Parent() && AScrollBar->Parent()->Enabled() && !(AInfo.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

bool TcxContainer::GetInnerScrollBarInfo(SCROLLBARINFO& AInfo, TScrollBarKind AKind) {
  if (FBeingDestroyed || !Parent() || !HandleAllocated() || !FInnerControl || !FInnerControl->HandleAllocated())
    return false;
  return CallGetScrollBarInfo(FInnerControl->Handle(), AKind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, AInfo);
}

bool TcxContainer::IsScrollBarStateShown(const SCROLLBARINFO& AInfo) {
  return (AInfo.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0;
}

void TcxContainer::ShowScrollBarControl(TcxControlScrollBar* AScrollBar, bool AVisible) {
  AScrollBar->SetVisible(AVisible);
  if (!AVisible) return;
  AScrollBar->SetCtl3D(false);
  AScrollBar->BringToFront();
}

void TcxContainer::LayoutScrollBars(TcxControlScrollBar* AScrollBar) {
  SCROLLBARINFO info;
  if (GetInnerScrollBarInfo(info, AScrollBar->Kind()) && IsScrollBarStateShown(info)) {
    AScrollBar->SetEnabled(IsInnerScrollBarVisible(AScrollBar, info));
    const TRect area = ScreenRectToClient(cxRect(info.rcScrollBar));
    AScrollBar->SetBounds(area.Left, area.Top, area.Right, area.Bottom);
    ShowScrollBarControl(AScrollBar, area.Right > 0 && area.Bottom > 0);
  } else {
    ShowScrollBarControl(AScrollBar, false);
  }
}

void TcxContainer::SyncScrollBarsFromInner(bool ASkipLayout) {
  if (!FInnerControl || !HasOwnScrollBars() || FBeingDestroyed || !IsGetScrollBarInfoAvailable()) return;
  FlagScope syncing(FSyncingScrollBars, true);
  for (TcxControlScrollBar* bar : {HScrollBar(), VScrollBar()}) {
    if (!bar) continue;
    if (!ASkipLayout) LayoutScrollBars(bar);
    if (!bar->Visible() || !FInnerControl->HandleAllocated()) continue;
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    GetScrollInfo(FInnerControl->Handle(), bar->Kind() == sbHorizontal ? SB_HORZ : SB_VERT, &info);
    const Integer page = std::min<Integer>(static_cast<Integer>(info.nPage), info.nMax);
    bar->SetScrollParams(info.nMin, info.nMax, std::max<Integer>(page, 0), info.nPos);
    bar->SetSmallChange(1);
  }
}

// --- focus and keys ------------------------------------------------------------

bool TcxContainer::Focused() {
  if (IsDesigning() || ControlState.Contains(csDestroyingHandle)) return false;
  return HasFocusWindow(this) || HasFocusWindow(FInnerControl);
}

bool TcxContainer::IsFocusable() { return !HasFocusWindow(FInnerControl) && TcxControl::IsFocusable(); }

bool TcxContainer::CanFocusOnClick() {
  return TcxControl::CanFocusOnClick() && !HasFocusWindow(FInnerControl) && !ForwardedMouseDown;
}

bool TcxContainer::CanDragAtDesignTime(Integer, Integer, bool) { return false; }

void TcxContainer::SetFocus() {
  if (IsDesigning() || HasFocus()) return;
  TcxControl::SetFocus();
  if (FInnerControl && FInnerControl->HandleAllocated() && HasFocusWindow(this)) {
    FocusInnerControl();
    if (TForm* form = GetParentForm(this)) form->SetFocusedControl(FInnerControl);
  }
}

void TcxContainer::GetTabOrderList(std::vector<TWinControl*>& List) {
  if (KeepsOwnTabOrder()) {
    TcxControl::GetTabOrderList(List);
    return;
  }
  TForm* form = GetParentForm(this);
  if (!form || !FInnerControl || form->ActiveControl() == this || !CanFocus() ||
      form->ActiveControl() != FInnerControl)
    return;
  // The inner control stands in the container's place.
  List.erase(std::remove(List.begin(), List.end(), this), List.end());
  List.push_back(FInnerControl);
}

void TcxContainer::KeyDown(Word& Key, TShiftState Shift) {
  TcxControl::KeyDown(Key, Shift);
  if (Key != VK_TAB || !Focused() || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt) || HandlesTabKey()) return;
  Key = 0;
  if (TForm* form = GetParentForm(this)) form->SelectNext(form->ActiveControl(), !Shift.Contains(ssShift), true);
  if (FInnerControl && HasFocusWindow(this)) FInnerControl->SetFocus();
}

void TcxContainer::DoContextPopup(TPoint MousePos, bool& Handled) {
  const bool fromKeyboard = MousePos.X == -1 && MousePos.Y == -1;
  if (FContextPopupLock > 0 || (!fromKeyboard && !AcceptsContextPopupAt(MousePos))) {
    Handled = true;
    return;
  }
  TcxControl::DoContextPopup(MousePos, Handled);
}

// --- mouse ----------------------------------------------------------------------

void TcxContainer::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxControl::MouseDown(Button, Shift, X, Y);
  RefreshState({X, Y}, ButtonCode(Button), Shift, true);
}

void TcxContainer::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxControl::MouseUp(Button, Shift, X, Y);
  RefreshState({X, Y}, ButtonCode(Button), Shift, true);
}

void TcxContainer::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TcxControl::MouseMove(Shift, X, Y);
  RefreshState({X, Y}, cxmbNone, Shift, true);
  TrackMouse();
}

void TcxContainer::NotifyMouseEnter(TControl* AControl) {
  TcxControl::NotifyMouseEnter(AControl);
  RefreshAtCursor(true);
  TrackMouse();
}

void TcxContainer::NotifyMouseLeave(TControl* AControl) {
  TcxControl::NotifyMouseLeave(AControl);
  RefreshAtCursor(true);
  EndMouseTracking(this);
}

// --- style synchronisation -----------------------------------------------------------

void TcxContainer::SyncControlWithStyle(TObject*) {
  if (FConstructing || ComponentState().Contains(csLoading)) return;
  RefreshAtCursor(false);
  FlagScope syncing(FSyncingFromStyle, true);
  if (!ParentColor() || Style()->IsStyleValueAssigned(svColor)) SetColor(Style()->GetPaintColor());
  SetFont(Style()->Font());
}

void TcxContainer::HandleColorChange() {
  if (FSyncingFromStyle) {
    TcxControl::HandleColorChange();
    RefreshAtCursor(false);
  } else if (Style()) {
    Style()->SetColor(Color());
  }
}

void TcxContainer::CMFontChanged(TMessage& Message) {
  if (FSyncingFromStyle) {
    TcxControl::CMFontChanged(Message);
    AlignInnerControl();
    SyncScrollBarsFromInner(false);
    RefreshAtCursor(false);
    return;
  }
  const bool wasAssigned = Style()->IsValueAssignedHere(svFont);
  Style()->SetFont(Font());
  Style()->SetValueAssigned(svFont, wasAssigned);
  TcxControl::CMFontChanged(Message);
}

void TcxContainer::CMParentColorChanged(TMessage& Message) {
  const bool wasAssigned = Style()->IsValueAssignedHere(svColor);
  TcxControl::CMParentColorChanged(Message);
  if (ParentColor() || !wasAssigned) Style()->SetValueAssigned(svColor, false);
  if (Style()->Color() != Color()) SyncControlWithStyle(Style());
  if (NeedsParentBackground() && !ParentColor()) Invalidate();
}

void TcxContainer::CMParentFontChanged(TMessage& Message) {
  const bool wasAssigned = Style()->IsValueAssignedHere(svFont);
  TcxControl::CMParentFontChanged(Message);
  if (!ParentFont()) Style()->SyncFontWithController();
  if (ParentFont() || !wasAssigned) Style()->SetValueAssigned(svFont, false);
}

void TcxContainer::ChangeScale(Integer M, Integer D) {
  {
    FlagScope syncing(FSyncingFromStyle, !ParentFont());
    TcxControl::ChangeScale(M, D);
  }
  if (M == D || !Style()->IsStyleValueAssigned(svFont)) return;
  const bool loading = ComponentState().Contains(csLoading);
  if (Style()->IsValueAssignedHere(svFont)) {
    TFont* font = Style()->Font();
    font->SetSize(MulDiv(font->GetSize(), M, D));
  } else if (loading) {
    if (TcxStyleController* controller = Style()->ActiveStyleController()) controller->ScaleFont(M, D);
  }
}

// --- class library overrides -----------------------------------------------------------

void TcxContainer::EnabledStateChanged() {
  if (HasOwnScrollBars()) {
    if (HScrollBar()) HScrollBar()->SetEnabled(Enabled());
    if (VScrollBar()) VScrollBar()->SetEnabled(Enabled());
  }
  RefreshAtCursor();
}

void TcxContainer::CMEnabledChanged(TMessage& Message) {
  TcxControl::CMEnabledChanged(Message);
  EnabledStateChanged();
}

void TcxContainer::CMCtl3DChanged(TMessage& Message) {
  TcxControl::CMCtl3DChanged(Message);
  RefreshAtCursor();
}

void TcxContainer::CMSysColorChange(TMessage& Message) {
  TcxControl::CMSysColorChange(Message);
  RefreshAtCursor();
}

void TcxContainer::FocusChanged() {
  TcxControl::FocusChanged();
  RefreshAtCursor();
}

void TcxContainer::Loaded() {
  TcxControl::Loaded();
  if (!ParentFont() && !Style()->IsValueAssignedHere(svFont) && Parent()) Style()->SetFont(Parent()->Font());
  SyncControlWithStyle(Style());
}

void TcxContainer::Paint() {
  const RECT whole = cxRECT(FViewInfo->WholeRect);
  if (!RectVisible(Canvas()->Handle(), &whole)) return;
  if (ControlState.Contains(csPaintCopy)) UpdateWindowRegion();
  FViewInfo->DrawTo(cxCanvas());
}

void TcxContainer::Resize() {
  TcxControl::Resize();
  if (!FConstructing) RefreshAtCursor();
}

void TcxContainer::CreateHandle() {
  TcxControl::CreateHandle();
  RefreshAtCursor();
}

void TcxContainer::CreateParams(TCreateParams& Params) {
  TcxControl::CreateParams(Params);
  Params.WindowClassStyle &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TcxContainer::CreateWindowHandle(const TCreateParams& Params) {
  TCreateParams params = Params;
  const std::string text = params.Caption;
  params.Caption.clear();
  TcxControl::CreateWindowHandle(params);
  if (HandleAllocated())
    DefWindowProc(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TcxContainer::AdjustClientRect(TRect& Rect) {
  if (!FBeingDestroyed) Rect = FViewInfo->InnerControlRect;
}

void TcxContainer::WMSetFocus(TMessage& Message) {
  if (!Visible()) return;
  if (!FInnerControl || !FInnerControl->HandleAllocated() || FBeingDestroyed) {
    TcxControl::WMSetFocus(Message);
    return;
  }
  if (reinterpret_cast<HWND>(Message.WParam) == FInnerControl->Handle()) {
    Message.Result = 0;
    return;
  }
  TcxControl::WMSetFocus(Message);
  if (FInnerControl->CanFocus()) FInnerControl->SetFocus();
}

void TcxContainer::WMKillFocus(TMessage& Message) {
  if (FInnerControl && FInnerControl->HandleAllocated() &&
      reinterpret_cast<HWND>(Message.WParam) == FInnerControl->Handle()) {
    Message.Result = 0;
    return;
  }
  TcxControl::WMKillFocus(Message);
}

void TcxContainer::WMSetCursor(TMessage& Message) {
  if (FInnerControl && reinterpret_cast<HWND>(Message.WParam) == Handle() &&
      static_cast<LRESULT>(LOWORD(Message.LParam)) == HTCLIENT) {
    const TPoint p = ScreenToClient(GetMouseScreenPos());
    if (!cxRectPtIn(FViewInfo->InnerControlRect, p)) {
      win::SetCursor(LoadCursor(nullptr, IDC_ARROW));
      Message.Result = 1;
      return;
    }
  }
  TcxControl::WMSetCursor(Message);
}

void TcxContainer::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case CN_KEYDOWN:
    case CN_KEYUP:
    case CN_CHAR:
      if (FInnerControl) {
        Message.Result = FInnerControl->Perform(Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (DragMode() == dmAutomatic && !IsDesigning()) {
        BeginAutoDrag();
        return;
      }
      break;
    case WM_NCPAINT:
      Message.Result = 0;
      return;
    case WM_WINDOWPOSCHANGING:
      if (FBeingDestroyed) {
        Message.Result = 0;
        return;
      }
      TcxControl::WndProc(Message);
      if (HasFocusWindow(this) && FInnerControl && FInnerControl->HandleAllocated() && FInnerControl->CanFocus())
        if (TForm* form = GetParentForm(this)) form->SetActiveControl(FInnerControl);
      return;
    case WM_WINDOWPOSCHANGED:
      TcxControl::WndProc(Message);
      if (!FBeingDestroyed && NeedsParentBackground()) RefreshAtCursor();
      return;
    case CM_SYNCINNERSCROLLBARS:
      SyncScrollBarsFromInner(false);
      return;
    case CM_FOCUSCHANGED:
      // Every control hears where the focus went; the container's look
      // changes when the focus reaches or leaves it or its inner control.
      TcxControl::WndProc(Message);
      if (!FBeingDestroyed && !FConstructing && Focused() != ((FViewInfo->StateFlags & csFocused) != 0))
        RefreshAtCursor();
      return;
    default:
      break;
  }
  TcxControl::WndProc(Message);
}

// ---------------------------------------------------------------------------

TcxContainer* FindContainerOfControl(TControl* AControl) {
  if (auto* container = dynamic_cast<TcxContainer*>(AControl)) return container;
  if (auto* inner = dynamic_cast<IcxContainerInnerControl*>(AControl)) return inner->ControlContainer();
  return nullptr;
}

TRect InnerControlSizeGripRect(TWinControl* AInnerControl) {
  TcxContainer* container = FindContainerOfControl(AInnerControl);
  if (!container || container == AInnerControl) return {};
  TcxControlScrollBar* h = container->HScrollBar();
  TcxControlScrollBar* v = container->VScrollBar();
  if (!h || !v || !h->Visible() || !v->Visible() || !AInnerControl->HandleAllocated()) return {};
  const TPoint corner = container->ClientToScreen({v->Left(), h->Top()});
  RECT inner{};
  GetWindowRect(AInnerControl->Handle(), &inner);
  const Integer left = corner.X - inner.left, top = corner.Y - inner.top;
  return {left, top, left + v->Width(), top + h->Height()};
}

void RegisterContainerClasses() { RegisterClasses({TcxContainer::StaticClass()}); }
