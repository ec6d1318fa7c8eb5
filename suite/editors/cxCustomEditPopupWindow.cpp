#include "suite/editors/cxCustomEditPopupWindow.h"

#include <algorithm>

#include "platform/forms/Forms.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysParams.h"
#include "platform/win/ThemeSchema.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxSolidBrushCache.h"
#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/dxThemeManager.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxCustomEditPopupWindowViewInfo, TcxContainerViewInfo)
VXN_IMPLEMENT_CLASS(TcxPopupEditPopupWindowViewInfo, TcxCustomEditPopupWindowViewInfo)
VXN_IMPLEMENT_CLASS(TcxCustomEditPopupWindow, TcxCustomPopupWindow)
VXN_IMPLEMENT_CLASS(TcxPopupEditPopupWindow, TcxCustomEditPopupWindow)

namespace {

constexpr Integer kShadow = cxContainerShadowWidth;
constexpr Integer kClientEdgeWidths[] = {0, 2, 2, 1};
constexpr Integer kBorderWidths[] = {0, 1, 4, 2};
constexpr Integer kGripDirX[] = {-1, 1, -1, 1};
constexpr Integer kGripDirY[] = {-1, -1, 1, 1};
// By (dx + 1, dy + 1).
constexpr TCursor kSizingCursors[3][3] = {{crSizeNWSE, crSizeWE, crSizeNESW},
                                          {crSizeNS, crDefault, crSizeNS},
                                          {crSizeNESW, crSizeWE, crSizeNWSE}};

// One user sizes one popup at a time, so all edit popups share this.
struct SizingState {
  bool sizing = false;
  bool cursorShown = false;
  Integer dx = 0;
  Integer dy = 0;
  Integer grabX = 0;
  Integer grabY = 0;
  TRect outline;
  TRect lastOutline;
};

SizingState& Sizing() {
  static SizingState state;
  return state;
}

Integer PanelMetric() { return std::max(GetSystemMetrics(SM_CYHSCROLL), GetSystemMetrics(SM_CYSIZE)); }

TSize ThemePartSize(Integer AThemeClass, Integer APart) {
  SIZE s{0, 0};
  if (HTHEME theme = OpenThemeByIndex(AThemeClass)) UxGetThemePartSize(theme, nullptr, APart, 1, TS_TRUE, s);
  return {s.cx, s.cy};
}

TCursor SizingCursor() { return kSizingCursors[Sizing().dx + 1][Sizing().dy + 1]; }

bool MouseButtonHeld(TShiftState Shift) {
  return Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
}

}  // namespace

// View info --------------------------------------------------------------------

bool TcxCustomEditPopupWindowViewInfo::WindowThemed() const {
  return NativeThemeInEffect(NativeStyle, ThemeClassWindow);
}

bool TcxCustomEditPopupWindowViewInfo::ScrollBarThemed() const {
  return NativeThemeInEffect(NativeStyle, ThemeClassScrollBar);
}

Integer TcxCustomEditPopupWindowViewInfo::BorderWidth() const {
  return NativeStyle ? 1 : kBorderWidths[PopupBorderStyle];
}

Integer TcxCustomEditPopupWindowViewInfo::ClientEdgeWidth() const {
  return NativeStyle ? 2 : kClientEdgeWidths[PopupBorderStyle];
}

Integer TcxCustomEditPopupWindowViewInfo::BorderWidthWithEdge(bool AIncludeClientEdge) const {
  return BorderWidth() + (AIncludeClientEdge && ClientEdge ? ClientEdgeWidth() : 0);
}

Integer TcxCustomEditPopupWindowViewInfo::PanelMetricHeight() {
  Integer h = PanelMetric();
  if (SysPanelStyle && WindowThemed()) {
    h = std::max(h, ThemePartSize(ThemeClassWindow, WP_CLOSEBUTTON).cy);
    h = std::max(h, ThemePartSize(ThemeClassScrollBar, SBP_SIZEBOX).cy);
  }
  return h;
}

Integer TcxCustomEditPopupWindowViewInfo::SysPanelHeightNeeded() {
  const Integer h = PanelMetricHeight();
  return MinSysPanelHeight > 0 ? std::max(h, MinSysPanelHeight) : h;
}

Integer TcxCustomEditPopupWindowViewInfo::GripCellSize() {
  Integer g = PanelMetricHeight() - 2;
  if (ScrollBarThemed()) g = std::max(g, ThemePartSize(ThemeClassScrollBar, SBP_SIZEBOX).cy + 2);
  return g;
}

TRect TcxCustomEditPopupWindowViewInfo::ComputeClientExtents() {
  const Integer b = BorderWidthWithEdge(true);
  TRect e{b, b, b, b};
  if (Shadow) {
    e.Right += kShadow;
    e.Bottom += kShadow;
  }
  if (SysPanelStyle) {
    SysPanelHeight = SysPanelHeightNeeded();
    const Integer add = SysPanelHeight + (NativeStyle || PopupBorderStyle == epbsSingle ? 1 : 0);
    (GripAtTop() ? e.Top : e.Bottom) += add;
  } else {
    SysPanelHeight = 0;
  }
  SizingBandWidth = PanelMetric();
  return e;
}

void TcxCustomEditPopupWindowViewInfo::CalculateLayout() {
  const TRect e = ComputeClientExtents();
  const TRect b{0, 0, WholeRect.Width(), WholeRect.Height()};
  ClientRect = {b.Left + e.Left, b.Top + e.Top, b.Right - e.Right, b.Bottom - e.Bottom};
  InnerControlRect = ClientRect;

  const Integer bw = BorderWidthWithEdge(!SysPanelStyle);
  SizingRegionBounds = cxRectInflate(b, -bw, -bw);
  if (Shadow) {
    SizingRegionBounds.Right -= kShadow;
    SizingRegionBounds.Bottom -= kShadow;
  }
  const bool themed = SysPanelStyle && WindowThemed();
  ThemedCloseButtonState = themed ? CloseButtonState : 0;
  SizeGripRect = SizeGripSizingRect = CloseButtonRect = TRect{};
  if (!SysPanelStyle) return;

  const TRect& s = SizingRegionBounds;
  const Integer metric = PanelMetricHeight();
  if (Sizeable) {
    const Integer g = GripCellSize();
    TRect cell;
    cell.Left = GripAtLeft() ? s.Left : s.Right - g;
    cell.Top = GripAtTop() ? s.Top : s.Bottom - g;
    cell.Right = cell.Left + g;
    cell.Bottom = cell.Top + g;
    SizeGripSizingRect = cell;
    SizeGripRect = cell;
    (GripAtLeft() ? SizeGripRect.Left : SizeGripRect.Right) += GripAtLeft() ? 2 : -2;
    (GripAtTop() ? SizeGripRect.Top : SizeGripRect.Bottom) += GripAtTop() ? 2 : -2;
  }
  if (!CloseButton) return;
  const TSize size = themed ? ThemePartSize(ThemeClassWindow, WP_CLOSEBUTTON) : TSize{metric - 4, metric - 4};
  const Integer gap = (themed ? 0 : 2) + 1;
  TRect r;
  // Opposite the grip.
  r.Left = GripAtLeft() ? s.Right - gap - size.cx : s.Left + gap;
  r.Right = r.Left + size.cx;
  if (themed) {
    const Integer panelTop = GripAtTop() ? s.Top : s.Bottom - SysPanelHeight;
    r.Top = panelTop + (SysPanelHeight - size.cy) / 2;
  } else {
    r.Top = GripAtTop() ? s.Top + 2 : s.Bottom - 2 - size.cy;
  }
  r.Bottom = r.Top + size.cy;
  CloseButtonRect = r;
}

void TcxCustomEditPopupWindowViewInfo::DrawPopupBorder(TcxCanvas* ACanvas, TRect& R) {
  auto edge = [&](bool sunken, bool outer) {
    ACanvas->Draw3DEdge(R, sunken, outer, cxBordersAll);
    R = cxRectInflate(R, -1, -1);
  };
  auto band = [&](TColor color) {
    ACanvas->FillBorders(R, color, 1, cxBordersAll);
    R = cxRectInflate(R, -1, -1);
  };
  if (NativeStyle || PopupBorderStyle == epbsSingle) {
    band(clBtnText);
    return;
  }
  switch (PopupBorderStyle) {
    case epbsFrame3D:
      edge(false, true);
      edge(false, false);
      band(ClientEdge ? clInactiveBorder : clBtnFace);
      if (ClientEdge)
        band(clBtnFace);
      else
        edge(true, true);
      break;
    case epbsFlat:
      edge(false, true);
      edge(false, false);
      break;
    default: break;
  }
}

void TcxPopupEditPopupWindowViewInfo::DrawPopupBorder(TcxCanvas* ACanvas, TRect& R) {
  if (NativeStyle || PopupBorderStyle != epbsFrame3D) {
    TcxCustomEditPopupWindowViewInfo::DrawPopupBorder(ACanvas, R);
    return;
  }
  ACanvas->Draw3DEdge(R, false, true, cxBordersAll);
  R = cxRectInflate(R, -1, -1);
  ACanvas->Draw3DEdge(R, false, false, cxBordersAll);
  R = cxRectInflate(R, -1, -1);
  ACanvas->FillBorders(R, clInactiveBorder, 1, cxBordersAll);
  R = cxRectInflate(R, -1, -1);
  ACanvas->FillBorders(R, clBtnFace, 1, cxBordersAll);
  R = cxRectInflate(R, -1, -1);
}

void TcxCustomEditPopupWindowViewInfo::DrawSizeGrip(TcxCanvas* ACanvas) {
  const bool themed = ScrollBarThemed();
  TSize cell;
  if (themed) {
    const TSize box = ThemePartSize(ThemeClassScrollBar, SBP_SIZEBOX);
    cell = {box.cx + 2, box.cy + 2};
  } else {
    cell = {GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
  }
  TBitmap bitmap;
  bitmap.SetSize(cell.cx, cell.cy);
  TCanvas* bc = bitmap.Canvas();
  bc->Brush()->SetColor(clBtnFace);
  bc->FillRect({0, 0, cell.cx, cell.cy});
  RECT r{0, 0, cell.cx, cell.cy};
  if (themed)
    UxDrawThemeBackground(OpenThemeByIndex(ThemeClassScrollBar), bc->Handle(), SBP_SIZEBOX, 1, r);
  else
    DrawFrameControl(bc->Handle(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  // The grip is drawn pointing to the bottom right; its outer corner goes
  // into the grip's corner, mirrored for a left or a top corner.
  const Integer w = std::min(SizeGripRect.Width(), cell.cx), h = std::min(SizeGripRect.Height(), cell.cy);
  const Integer dx = GripAtLeft() ? SizeGripRect.Left + w : SizeGripRect.Right - w;
  const Integer dy = GripAtTop() ? SizeGripRect.Top + h : SizeGripRect.Bottom - h;
  StretchBlt(ACanvas->DeviceContext(), dx, dy, GripAtLeft() ? -w : w, GripAtTop() ? -h : h, bc->Handle(),
             cell.cx - w, cell.cy - h, w, h, SRCCOPY);
}

void TcxCustomEditPopupWindowViewInfo::DrawCloseButton(TcxCanvas* ACanvas) {
  if (ThemedCloseButtonState != 0) {
    HTHEME theme = OpenThemeByIndex(ThemeClassWindow);
    if (UxIsThemeBackgroundPartiallyTransparent(theme, WP_CLOSEBUTTON, ThemedCloseButtonState))
      FillRectWithColor(ACanvas, CloseButtonRect, clBtnFace);
    UxDrawThemeBackground(theme, ACanvas->DeviceContext(), WP_CLOSEBUTTON, ThemedCloseButtonState, CloseButtonRect);
    return;
  }
  PainterClassForStyle(NativeStyle, CloseButtonLookAndFeelKind)->PaintCloseButton(ACanvas, CloseButtonRect,
                                                                                    CloseButtonState);
}

void TcxCustomEditPopupWindowViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  TcxClipRegionScope clip(ACanvas);
  TRect r{0, 0, WholeRect.Width(), WholeRect.Height()};
  if (Shadow) {
    r.Right -= kShadow;
    r.Bottom -= kShadow;
    DrawContainerShadow(ACanvas, r);
  }
  DrawPopupBorder(ACanvas, r);
  const bool singleLine = NativeStyle || PopupBorderStyle == epbsSingle;
  const bool atBottom = !GripAtTop();
  if (SysPanelStyle && (PopupBorderStyle == epbsSingle || ThemedCloseButtonState != 0)) {
    const Integer cew = ClientEdge ? ClientEdgeWidth() : 0;
    const TRect c = cxRectInflate(ClientRect, cew, cew);
    const Integer y = atBottom ? c.Bottom : c.Top - 1;
    FillRectWithColor(ACanvas, {c.Left, y, c.Right, y + 1}, clBtnText);
  }
  if (ClientEdge) {
    TRect e = r;
    if (SysPanelStyle) (atBottom ? e.Bottom : e.Top) += (atBottom ? -1 : 1) * (SysPanelHeight + (singleLine ? 1 : 0));
    ACanvas->Draw3DEdge(e, true, true, cxBordersAll);
    if (NativeStyle || PopupBorderStyle != epbsFlat)
      ACanvas->Draw3DEdge(cxRectInflate(e, -1, -1), true, false, cxBordersAll);
  }
  if (SysPanelStyle) {
    if (Sizeable) {
      DrawSizeGrip(ACanvas);
      ACanvas->ExcludeFromClip(SizeGripRect);
    }
    if (!cxRectIsEmpty(CloseButtonRect)) {
      DrawCloseButton(ACanvas);
      ACanvas->ExcludeFromClip(CloseButtonRect);
    }
  }
  FillRectWithColor(ACanvas, ClientRect, clBtnFace);
  if (SysPanelStyle) {
    TRect panel = r;
    if (atBottom)
      panel.Top = panel.Bottom - SysPanelHeight;
    else
      panel.Bottom = panel.Top + SysPanelHeight;
    FillRectWithColor(ACanvas, panel, clBtnFace);
  }
}

bool TcxCustomEditPopupWindowViewInfo::SizingHitTest(const TPoint& P) {
  SizingState& s = Sizing();
  if (!Sizeable || !cxRectPtIn(TRect{0, 0, WholeRect.Width(), WholeRect.Height()}, P)) return false;
  const bool inGrip = cxRectPtIn(SizeGripSizingRect, P);
  if (cxRectPtIn(SizingRegionBounds, P) && !inGrip) return false;
  if (inGrip) {
    s.dx = kGripDirX[SizeGripCorner];
    s.dy = kGripDirY[SizeGripCorner];
    return true;
  }
  s.dx = 0;
  if (P.X < SizingBandWidth && GripAtLeft())
    s.dx = -1;
  else if (P.X >= WholeRect.Width() - SizingBandWidth && !GripAtLeft())
    s.dx = 1;
  s.dy = 0;
  if (P.Y < SizingBandWidth && GripAtTop())
    s.dy = -1;
  else if (P.Y >= WholeRect.Height() - SizingBandWidth && !GripAtTop())
    s.dy = 1;
  return true;
}

// Window ----------------------------------------------------------------------

// The view info is made on first use, after construction, so that it is of
// the class the window's own kind names; it starts with a normal close button.
TcxCustomEditPopupWindow::TcxCustomEditPopupWindow(TControl* AOwnerControl) : TcxCustomPopupWindow(AOwnerControl) {}

TcxCustomEditPopupWindow::~TcxCustomEditPopupWindow() {
  if (FOwnerParent) FOwnerParent->RemoveFreeNotification(this);
}

TcxContainerViewInfoClass TcxCustomEditPopupWindow::GetViewInfoClass() {
  return &CreateContainerViewInfo<TcxCustomEditPopupWindowViewInfo>;
}

TcxContainerViewInfoClass TcxPopupEditPopupWindow::GetViewInfoClass() {
  return &CreateContainerViewInfo<TcxPopupEditPopupWindowViewInfo>;
}

TcxCustomEditPopupWindowViewInfo* TcxCustomEditPopupWindow::PopupViewInfo() {
  return static_cast<TcxCustomEditPopupWindowViewInfo*>(TcxCustomPopupWindow::PopupViewInfo());
}

EditPopupOwner* TcxCustomEditPopupWindow::OwnerEdit() const { return dynamic_cast<EditPopupOwner*>(OwnerControl()); }

void TcxCustomEditPopupWindow::SetOwnerParent(TControl* Value) {
  if (FOwnerParent == Value) return;
  if (FOwnerParent) FOwnerParent->RemoveFreeNotification(this);
  FOwnerParent = Value;
  if (FOwnerParent) FOwnerParent->FreeNotification(this);
  AnchorControl = FOwnerParent;
}

void TcxCustomEditPopupWindow::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == FOwnerParent) {
    FOwnerParent = nullptr;
    AnchorControl = nullptr;
  }
  TcxCustomPopupWindow::Notification(AComponent, Operation);
}

void TcxCustomEditPopupWindow::SetSysPanelMinHeight(Integer Value) { PopupViewInfo()->MinSysPanelHeight = Value; }

TRect TcxCustomEditPopupWindow::OwnerScreenBounds() {
  EditPopupOwner* edit = OwnerEdit();
  TRect r = edit ? edit->PopupOwnerBounds() : AnchorRect;
  if (FOwnerParent) {
    const TPoint a = FOwnerParent->ClientToScreen(r.TopLeft());
    r = cxRectOffset(r, a.X - r.Left, a.Y - r.Top);
  }
  return r;
}

bool TcxCustomEditPopupWindow::CanFitToWorkArea() {
  EditPopupOwner* edit = OwnerEdit();
  return edit && edit->CanFitPopupToWorkArea();
}

TSize TcxCustomEditPopupWindow::MinimalPopupSize() {
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  const TRect e = vi->ClientExtents();
  TSize size{e.Left + e.Right, e.Top + e.Bottom};
  if (FPopupSizeable && vi->SysPanelStyle) {
    Integer closeWidth = 0;
    if (vi->CloseButton)
      closeWidth = vi->WindowThemed() ? ThemePartSize(ThemeClassWindow, WP_CLOSEBUTTON).cx : vi->PanelMetricHeight() - 4;
    size.cx += vi->GripCellSize() + closeWidth + 10;
  }
  return size;
}

void TcxCustomEditPopupWindow::FitToChildren() {
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  vi->SizeGripCorner = GripBottomRight;
  EditPopupOwner* edit = OwnerEdit();
  const TRect ownerBounds = edit ? edit->PopupOwnerBounds() : AnchorRect;
  const TRect e = vi->ClientExtents();
  const TSize minimal = MinimalPopupSize();
  const TSize content = edit ? edit->PopupContentSize() : TSize{};
  Integer w, h;
  if (FPopupAutoSize)
    w = e.Left + e.Right + content.cx;
  else
    w = FPopupWidth != 0 ? FPopupWidth : ownerBounds.Width();
  if (FPopupSizeable && FPopupMinWidth > 0) w = std::max(w, FPopupMinWidth);
  if (FPopupAutoSize)
    h = e.Top + e.Bottom + content.cy;
  else
    h = FPopupHeight > 0 ? FPopupHeight : std::max(FPopupMinHeight, minimal.cy);
  if (FPopupSizeable && FPopupMinHeight > 0) h = std::max(h, FPopupMinHeight);
  SetBounds(Left(), Top(), std::max(w, minimal.cx), std::max(h, minimal.cy));
}

void TcxCustomEditPopupWindow::CalculatePosition(TPoint& P) {
  if (EditPopupOwner* edit = OwnerEdit()) AnchorRect = edit->PopupOwnerBounds();
  AnchorControl = FOwnerParent;
  TcxCustomPopupWindow::CalculatePosition(P);
  const TRect o = OwnerScreenBounds();
  const TRect area = GetMonitorWorkArea(P);
  const bool below = P.Y > o.Top;
  bool right = false;
  if (HorizontalPlacement == 0 && P.X == o.Left)
    right = true;
  else if (o.Left <= area.Left)
    right = true;
  else if (HorizontalPlacement == 2)
    right = P.X + Width() != o.Right;
  else if (HorizontalPlacement == 1)
    right = o.Left - area.Left <= area.Right - o.Right;
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  vi->SizeGripCorner = right ? (below ? GripBottomRight : GripTopRight) : (below ? GripBottomLeft : GripTopLeft);
  // The shadow of a popup above the edit would otherwise cover the edit's
  // top row.
  if (vi->Shadow && !below) P.Y += kShadow;
  CalculatePopupViewInfo();
}

void TcxCustomEditPopupWindow::CalculatePopupViewInfo() {
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  vi->WholeRect = {0, 0, Width(), Height()};
  vi->CalculateLayout();
  if (EditPopupOwner* edit = OwnerEdit()) vi->CloseButtonLookAndFeelKind = edit->PopupControlsLookAndFeelKind();
}

void TcxCustomEditPopupWindow::RelayoutContent() {
  if (EditPopupOwner* edit = OwnerEdit()) AnchorRect = edit->PopupOwnerBounds();
  CalculatePopupViewInfo();
  if (EditPopupOwner* edit = OwnerEdit()) edit->PlacePopupContent(PopupViewInfo()->ClientRect);
  InvalidateControlRect(this, {0, 0, Width(), Height()}, false);
  Update();
}

void TcxCustomEditPopupWindow::ApplyWindowRegion() {
  if (!HandleAllocated()) return;
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  const TRect r{0, 0, Width() - kShadow, Height() - kShadow};
  TRect excluded;
  if (vi->GripAtTop()) {
    const TRect o = OwnerScreenBounds();
    excluded = {o.Left - Left(), Height() - kShadow, o.Right - kShadow - Left(), Height()};
  }
  ApplyContainerWindowRegion(Handle(), r, vi->NativeStyle || !vi->Shadow, excluded, vi->Shadow);
}

void TcxCustomEditPopupWindow::DoShowed() {
  ApplyWindowRegion();
  TcxCustomPopupWindow::DoShowed();
}

void TcxCustomEditPopupWindow::Resize() {
  CalculatePopupViewInfo();
  ApplyWindowRegion();
  TcxCustomPopupWindow::Resize();
}

void TcxCustomEditPopupWindow::AdjustClientRect(TRect& Rect) {
  const TRect e = PopupViewInfo()->ClientExtents();
  Rect = {Rect.Left + e.Left, Rect.Top + e.Top, Rect.Right - e.Right, Rect.Bottom - e.Bottom};
}

bool TcxCustomEditPopupWindow::CanResize(Integer& NewWidth, Integer& NewHeight) {
  const bool changes = NewWidth != Width() || NewHeight != Height();
  if (!FPopupSizeable || !changes) return TcxCustomPopupWindow::CanResize(NewWidth, NewHeight);
  TSize minimal = MinimalPopupSize();
  if (FPopupMinWidth > 0) minimal.cx = std::max(minimal.cx, FPopupMinWidth);
  if (FPopupMinHeight > 0) minimal.cy = std::max(minimal.cy, FPopupMinHeight);
  NewWidth = std::max(NewWidth, minimal.cx);
  NewHeight = std::max(NewHeight, minimal.cy);
  EditPopupOwner* edit = OwnerEdit();
  IcxTextEditLookupData* list = edit ? edit->PopupLookupList() : nullptr;
  if (list && (NewWidth != Width() || NewHeight != Height())) {
    const TRect e = PopupViewInfo()->ClientExtents();
    TSize size{NewWidth - e.Left - e.Right, NewHeight - e.Top - e.Bottom};
    if (list->AdjustListSize(size, AvailableListHeight())) {
      NewWidth = std::max(size.cx + e.Left + e.Right, minimal.cx);
      NewHeight = std::max(size.cy + e.Top + e.Bottom, minimal.cy);
    } else {
      NewWidth = Width();
      NewHeight = Height();
    }
  }
  return TcxCustomPopupWindow::CanResize(NewWidth, NewHeight);
}

Integer TcxCustomEditPopupWindow::AvailableListHeight() {
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  const TRect area = GetMonitorWorkArea({Left(), Top()});
  const TRect e = vi->ClientExtents();
  const Integer room = vi->GripAtTop() ? OwnerScreenBounds().Top - area.Top : area.Bottom - Top();
  return room - e.Top - e.Bottom;
}

void TcxCustomEditPopupWindow::CloseOnModalResult() {
  Integer reason = PopupCloseReasonUnknown;
  if (ModalResult() == mrOk)
    reason = PopupCloseReasonAccept;
  else if (ModalResult() == mrCancel)
    reason = PopupCloseReasonCancel;
  if (EditPopupOwner* edit = OwnerEdit())
    edit->ClosePopup(reason);
  else
    ClosePopup();
}

void TcxCustomEditPopupWindow::ForwardTypedChar(char32_t AChar) {
  if (HWND focus = GetFocus()) SendMessage(focus, WM_CHAR, static_cast<WPARAM>(AChar), 0);
}

void TcxCustomEditPopupWindow::DoClosing() {
  TcxCustomPopupWindow::DoClosing();
  SetTrackingOutline({});
}

void TcxCustomEditPopupWindow::DoClosed() {
  Sizing().sizing = false;
  Sizing().cursorShown = false;
  TcxCustomPopupWindow::DoClosed();
}

TRect TcxCustomEditPopupWindow::TrackingOutline() { return Sizing().outline; }
bool TcxCustomEditPopupWindow::SizingInProgress() { return Sizing().sizing; }

void TcxCustomEditPopupWindow::SetTrackingOutline(const TRect& R) {
  SizingState& s = Sizing();
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  auto draw = [&](TRect r) {
    if (vi->Shadow) {
      r.Right -= kShadow;
      r.Bottom -= kShadow;
    }
    const Integer count = std::max(2, vi->BorderWidthWithEdge(false));
    HDC dc = GetDC(nullptr);
    for (Integer i = 0; i < count; ++i, r = cxRectInflate(r, -1, -1)) {
      const RECT rc = cxRECT(r);
      DrawFocusRect(dc, &rc);
    }
    ReleaseDC(nullptr, dc);
  };
  // Focus rectangles are drawn by XOR: drawing the old one again erases it.
  if (!cxRectIsEmpty(s.outline)) draw(s.outline);
  s.outline = TRect{};
  if (s.sizing && !cxRectIsEmpty(R)) {
    draw(R);
    s.outline = R;
  }
  if (!cxRectIsEmpty(R)) s.lastOutline = R;
}

void TcxCustomEditPopupWindow::InvalidateCloseButton() {
  InvalidateControlRect(this, PopupViewInfo()->CloseButtonRect, false);
}

void TcxCustomEditPopupWindow::SetCloseButtonState(TcxButtonState AState) {
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  if (vi->CloseButtonState == AState) return;
  vi->CloseButtonState = AState;
  if (vi->ThemedCloseButtonState != 0) vi->ThemedCloseButtonState = AState;
  InvalidateCloseButton();
}

void TcxCustomEditPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
    const TPoint p{X, Y};
    if (cxRectPtIn(vi->CloseButtonRect, p) && vi->CloseButtonState != cxbsPressed) {
      SetCloseButtonState(cxbsPressed);
    } else if (HandleAllocated() && GetCapture() == Handle() && vi->SizingHitTest(p)) {
      SizingState& s = Sizing();
      s.grabX = s.dx == -1 ? X : Width() - X;
      s.grabY = s.dy == -1 ? Y : Height() - Y;
      s.sizing = true;
      SetCursor(SizingCursor());
      SetTrackingOutline(BoundsRect());
    }
  }
  TcxCustomPopupWindow::MouseDown(Button, Shift, X, Y);
}

void TcxCustomEditPopupWindow::SizeByMouse(Integer X, Integer Y) {
  SizingState& s = Sizing();
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  const TRect bounds = BoundsRect();
  Integer a = X - (s.dx == -1 ? s.grabX : Width() - s.grabX);
  Integer b = Y - (s.dy == -1 ? s.grabY : Height() - s.grabY);
  // Inside the window, only the grip grows it to the right or down.
  if (!cxRectIsEmpty(vi->SizeGripSizingRect) && !cxRectPtIn(vi->SizeGripSizingRect, {X, Y})) {
    if (s.dx == 1 && a > 0 && X < Width()) a = 0;
    if (s.dy == 1 && b > 0 && Y < Height()) b = 0;
  }
  // The edges on the edit's side stay.
  if ((s.dx == 1 && vi->GripAtLeft()) || (s.dx == -1 && !vi->GripAtLeft())) a = 0;
  if ((s.dy == 1 && vi->GripAtTop()) || (s.dy == -1 && !vi->GripAtTop())) b = 0;
  TRect moved = bounds;
  (s.dx == -1 ? moved.Left : moved.Right) += s.dx != 0 ? a : 0;
  (s.dy == -1 ? moved.Top : moved.Bottom) += s.dy != 0 ? b : 0;
  Integer w = moved.Width(), h = moved.Height();
  if (!CanResize(w, h)) return;

  TRect r = bounds;
  if (vi->GripAtLeft())
    r.Left = r.Right - w;
  else
    r.Right = r.Left + w;
  if (vi->GripAtTop())
    r.Top = r.Bottom - h;
  else
    r.Bottom = r.Top + h;
  const TRect o = OwnerScreenBounds();
  r.Left = std::min(r.Left, o.Right - 1);
  r.Right = std::max(r.Right, o.Left + 1);
  const TRect area = GetMonitorWorkArea(ClientToScreen({X, Y}));
  r = {std::max(r.Left, area.Left), std::max(r.Top, area.Top), std::min(r.Right, area.Right),
       std::min(r.Bottom, area.Bottom)};
  if (r != bounds)
    if (EditPopupOwner* edit = OwnerEdit()) edit->PopupSizedByUser();
  // Dragged back to the window's own size, the outline follows too, so that
  // releasing there keeps the size the user sees.
  if (r != s.outline) SetTrackingOutline(r);
}

void TcxCustomEditPopupWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (Sizing().sizing) {
    SizeByMouse(X, Y);
  } else {
    TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
    const TPoint p{X, Y};
    const bool onButton = cxRectPtIn(vi->CloseButtonRect, p);
    if ((vi->CloseButtonState == cxbsPressed || vi->CloseButtonState == cxbsHot) && !onButton)
      SetCloseButtonState(cxbsNormal);
    else if (vi->CloseButtonState == cxbsNormal && onButton && !MouseButtonHeld(Shift))
      SetCloseButtonState(cxbsHot);
    if (vi->SizingHitTest(p)) {
      SetCursor(SizingCursor());
      Sizing().cursorShown = true;
    } else if (Sizing().cursorShown) {
      SetCursor(crDefault);
      Sizing().cursorShown = false;
    }
  }
  TcxCustomPopupWindow::MouseMove(Shift, X, Y);
}

void TcxCustomEditPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxCustomEditPopupWindowViewInfo* vi = PopupViewInfo();
  SizingState& s = Sizing();
  if (Button == mbLeft && s.sizing) {
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    s.sizing = false;
    SetTrackingOutline({});
    const TRect r = s.lastOutline;
    if (!cxRectIsEmpty(r)) SetBounds(r.Left, r.Top, r.Width(), r.Height());
    RelayoutContent();
    SetCursor(vi->SizingHitTest({X, Y}) ? SizingCursor() : crDefault);
  } else if (Button == mbLeft && vi->CloseButtonState == cxbsPressed) {
    auto alive = AliveFlag();
    const bool mayClose = CloseQuery();
    if (!*alive) return;
    if (mayClose) {
      if (EditPopupOwner* edit = OwnerEdit())
        edit->ClosePopup(PopupCloseReasonUnknown);
      else
        ClosePopup();
      if (!*alive) return;
    }
    if (!mayClose || Visible()) SetCloseButtonState(cxbsHot);
  }
  TcxCustomPopupWindow::MouseUp(Button, Shift, X, Y);
}

void TcxCustomEditPopupWindow::MouseLeaveHook(TControl* AControl) {
  SetCloseButtonState(cxbsNormal);
  SetCursor(crDefault);
  TcxCustomPopupWindow::MouseLeaveHook(AControl);
}

void TcxCustomEditPopupWindow::WndProc(TMessage& Message) {
  if (Message.Msg == CM_POPUPTYPEDCHAR) {
    if (IsShown()) ForwardTypedChar(static_cast<char32_t>(Message.WParam));
    return;
  }
  TcxCustomPopupWindow::WndProc(Message);
}

void RegisterCustomEditPopupWindowClasses() {
  RegisterClasses({TcxCustomEditPopupWindow::StaticClass(), TcxPopupEditPopupWindow::StaticClass()});
}
