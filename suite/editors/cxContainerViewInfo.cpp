#include "suite/editors/cxContainerViewInfo.h"

#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/ThemeSchema.h"
#include "platform/win/Windows.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxContainerViewInfo, TObject)

namespace {

using GetScrollBarInfoEntry = BOOL (*)(HWND, LONG, SCROLLBARINFO*);

struct ContainerModuleState {
  GetScrollBarInfoEntry getScrollBarInfo = nullptr;
  std::unique_ptr<TcxScreenCanvas> screenCanvas;
};

ContainerModuleState& ModuleState() {
  // Never destroyed: the canvas's DC cannot be released once the display
  // has gone at process exit; shut-down frees it in order instead.
  static ContainerModuleState& state = *new ContainerModuleState;
  return state;
}

RECT ToRECT(const TRect& R) { return {R.Left, R.Top, R.Right, R.Bottom}; }

// The four bands between an outer and an inner rectangle: left and right
// bands take the whole height, top and bottom the width between them.
template <typename F>
void ForEachFrameBand(const TRect& O, const TRect& I, F&& f) {
  f(TRect{O.Left, O.Top, I.Left, O.Bottom});
  f(TRect{I.Left, O.Top, I.Right, I.Top});
  f(TRect{I.Right, O.Top, O.Right, O.Bottom});
  f(TRect{I.Left, I.Bottom, I.Right, O.Bottom});
}

}  // namespace

// ---------------------------------------------------------------------------

void TcxContainerViewInfo::AssignFrom(TcxContainerViewInfo* Source) {
  if (Source) InnerControlRect = Source->InnerControlRect;
}

std::unique_ptr<TcxRegion> TcxContainerViewInfo::ChangedRegion(TcxContainerViewInfo*) {
  return TcxRegion::CreateEmpty();
}

void TcxContainerViewInfo::OffsetBy(Integer DX, Integer DY) {
  InsideBorderRect = cxRectOffset(InsideBorderRect, DX, DY);
  WholeRect = cxRectOffset(WholeRect, DX, DY);
  InnerControlRect = cxRectOffset(InnerControlRect, DX, DY);
}

void TcxContainerViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (NativeDrawing)
    PaintNative(ACanvas);
  else
    PaintClassic(ACanvas);
}

void TcxContainerViewInfo::PaintClassic(TcxCanvas* ACanvas) {
  // The frame of an absent edge is drawn one border width further out, so
  // that it lies outside the window or under the excluded shadow strips.
  TRect r = InsideBorderRect;
  r.Left -= BorderThickness;
  r.Top -= BorderThickness;
  if (Edges.Contains(bRight)) r.Right += BorderThickness;
  if (Edges.Contains(bBottom)) r.Bottom += BorderThickness;
  if (ShadowOn) DrawContainerShadow(ACanvas, r);
  if (!Edges.Contains(bRight)) r.Right += BorderThickness;
  if (!Edges.Contains(bBottom)) r.Bottom += BorderThickness;
  DrawBorderFrame(ACanvas, r);
  ACanvas->SetBrushColor(FillColor);
  ACanvas->Canvas->FillRect(InsideBorderRect);
}

void TcxContainerViewInfo::PaintNative(TcxCanvas* ACanvas) {
  if (BorderStyle == cbsNone) {
    ACanvas->SetBrushColor(FillColor);
    ACanvas->Canvas->FillRect(WholeRect);
    return;
  }
  const HTHEME theme = OpenThemeByIndex(ThemedObjectKind);
  const TRect content =
      UxGetThemeBackgroundContentRect(theme, ACanvas->DeviceContext(), ThemePart, ThemeState, WholeRect);
  ACanvas->SetBrushColor(FillColor);
  ACanvas->Canvas->FillRect(content);
  COLORREF border = 0;
  UxGetThemeColor(OpenThemeByIndex(ThemeClassComboBox), 1, 1, TMT_BORDERCOLOR, border);
  FillRectFrame(ACanvas, WholeRect, content, static_cast<TColor>(border));
}

void TcxContainerViewInfo::DrawBorderFrame(TcxCanvas* ACanvas, const TRect& R) {
  switch (BorderStyle) {
    case cbsSingle:
    case cbsThick:
      ACanvas->FillBorders(R, BorderColor, BorderThickness, cxBordersAll);
      break;
    case cbsFlat:
      ACanvas->Draw3DEdge(R, true, true, Edges);
      ACanvas->DrawTwoColorFrame(cxRectInflate(R, -1, -1), clBtnFace, clBtnFace, cxBordersAll, 1);
      break;
    case cbs3D:
      ACanvas->Draw3DEdge(R, true, true, Edges);
      ACanvas->DrawTwoColorFrame(cxRectInflate(R, -1, -1), cl3DDkShadow, cl3DLight, Edges, 1);
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------

Integer ContainerBorderWidth(TcxContainerBorderStyle ABorderStyle) {
  static constexpr Integer widths[] = {0, 1, 2, 2, 2, 1, 1};
  const auto i = static_cast<unsigned>(ABorderStyle);
  return i < std::size(widths) ? widths[i] : 0;
}

TRect ContainerBorderExtents(bool ATransparentBorder, bool AStyleActive, bool ANative, bool ANoBorder, Integer AWidth,
                             TcxBorders AEdges, bool AShadow) {
  constexpr Integer t = cxContainerTransparentBorderExtent;
  TRect r;
  if (ATransparentBorder)
    r = {t, t, t, t};
  else if (!AStyleActive || (ANative && ANoBorder))
    r = {};
  else if (ANative)
    r = {2, 2, 2, 2};
  else
    r = {AEdges.Contains(bLeft) ? AWidth : 0, AEdges.Contains(bTop) ? AWidth : 0, AEdges.Contains(bRight) ? AWidth : 0,
         AEdges.Contains(bBottom) ? AWidth : 0};
  if (AShadow) {
    r.Right += cxContainerShadowWidth;
    r.Bottom += cxContainerShadowWidth;
  }
  return r;
}

void DrawContainerShadow(TcxCanvas* ACanvas, const TRect& R) {
  constexpr Integer w = cxContainerShadowWidth;
  ACanvas->SetBrushColor(clBtnShadow);
  ACanvas->Canvas->FillRect({R.Left + w, R.Bottom, R.Right, R.Bottom + w});
  ACanvas->Canvas->FillRect({R.Right, R.Top + w, R.Right + w, R.Bottom + w});
  ACanvas->ExcludeFromClip({R.Left, R.Bottom, R.Right, R.Bottom + w});
  ACanvas->ExcludeFromClip({R.Right, R.Top, R.Right + w, R.Bottom + w});
}

void FillRectFrame(TcxCanvas* ACanvas, const TRect& AOuterRect, const TRect& AInnerRect, TColor AColor) {
  if (cxRectIsEmpty(AOuterRect) || AOuterRect == AInnerRect) return;
  ACanvas->SetBrushColor(AColor);
  if (cxRectIsEmpty(AInnerRect)) {
    ACanvas->Canvas->FillRect(AOuterRect);
    return;
  }
  ForEachFrameBand(AOuterRect, AInnerRect, [&](const TRect& band) { ACanvas->Canvas->FillRect(band); });
}

void InvalidateRectFrame(HWND AWnd, const TRect& AOuterRect, const TRect& AInnerRect, bool AErase) {
  if (cxRectIsEmpty(AInnerRect)) {
    const RECT r = ToRECT(AOuterRect);
    InvalidateRect(AWnd, &r, AErase);
    return;
  }
  ForEachFrameBand(AOuterRect, AInnerRect, [&](const TRect& band) {
    const RECT r = ToRECT(band);
    InvalidateRect(AWnd, &r, AErase);
  });
}

void InvalidateControlRect(TWinControl* AControl, const TRect& R, bool AErase) {
  if (!AControl || !AControl->HandleAllocated()) return;
  const RECT r = ToRECT(R);
  InvalidateRect(AControl->Handle(), &r, AErase);
}

TRect DeflateRectForAbsentEdges(const TRect& R, Integer AWidth, TcxBorders AEdges) {
  TRect r = R;
  if (!AEdges.Contains(bLeft)) r.Left += AWidth;
  if (!AEdges.Contains(bTop)) r.Top += AWidth;
  if (!AEdges.Contains(bRight)) r.Right -= AWidth;
  if (!AEdges.Contains(bBottom)) r.Bottom -= AWidth;
  return r;
}

TRect GetControlSizeRect(TControl* AControl) { return {0, 0, AControl->Width(), AControl->Height()}; }

std::unique_ptr<TcxRegion> ContainerRegion(const TRect& R, bool ANoRegion, bool AShadow,
                                           const TRect& AExcludedRect) {
  if (ANoRegion) return nullptr;
  auto region = TcxRegion::CreateFromRect(R);
  if (AShadow)
    region->Combine(TcxRegion::CreateFromRect(cxRectOffset(R, cxContainerShadowWidth, cxContainerShadowWidth)),
                    RegionUnion);
  if (!cxRectIsEmpty(AExcludedRect)) region->Combine(TcxRegion::CreateFromRect(AExcludedRect), RegionDifference);
  return region;
}

void ApplyContainerWindowRegion(HWND AWnd, const TRect& R, bool ANoRegion, const TRect& AExcludedRect, bool AShadow) {
  std::unique_ptr<TcxRegion> region = ContainerRegion(R, ANoRegion, AShadow, AExcludedRect);
  TcxRegion current;
  const bool hasCurrent = GetWindowRgn(AWnd, current.Handle) != ERROR;
  if (!region) {
    if (hasCurrent) SetWindowRgn(AWnd, nullptr, TRUE);
    return;
  }
  if (hasCurrent && EqualRgn(current.Handle, region->Handle)) return;
  // The window takes the region over.
  SetWindowRgn(AWnd, region->Handle, TRUE);
  region->Handle = nullptr;
}

bool NativeThemeInEffect(bool ANativeWanted, Integer AThemeClassIndex) {
  return ANativeWanted && OpenThemeByIndex(AThemeClassIndex) != nullptr;
}

bool EqualStrings(const std::string& A, const std::string& B, bool ACaseSensitive) {
  if (ACaseSensitive) return AnsiCompareStr(A, B) == 0;
  return AnsiCompareStr(AnsiUpperCase(A), AnsiUpperCase(B)) == 0;
}

TPoint GetMouseScreenPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

TShiftState GetKeyboardShiftState() {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  TShiftState shift;
  auto down = [&](UINT vk) { return (keys[vk] & 0x80) != 0; };
  if (down(VK_SHIFT)) shift += ssShift;
  if (down(VK_CONTROL)) shift += ssCtrl;
  if (down(VK_MENU)) shift += ssAlt;
  if (down(VK_LBUTTON)) shift += ssLeft;
  if (down(VK_RBUTTON)) shift += ssRight;
  if (down(VK_MBUTTON)) shift += ssMiddle;
  return shift;
}

bool IsHandleOfControl(HWND AWnd, TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() && AControl->Handle() == AWnd;
}

bool IsControlWindowVisible(TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() && IsWindowVisible(AControl->Handle());
}

bool CallGetScrollBarInfo(HWND AWnd, LONG AObjectId, SCROLLBARINFO& AInfo) {
  GetScrollBarInfoEntry entry = ModuleState().getScrollBarInfo;
  if (!entry) return false;
  AInfo.cbSize = 60;
  return entry(AWnd, AObjectId, &AInfo) != FALSE;
}

bool IsGetScrollBarInfoAvailable() { return ModuleState().getScrollBarInfo != nullptr; }

TcxScreenCanvas* ContainerScreenCanvas() { return ModuleState().screenCanvas.get(); }

void InitializeContainerViewInfo() {
  ContainerModuleState& s = ModuleState();
  s.getScrollBarInfo = &win::GetScrollBarInfo;
  if (!s.screenCanvas) s.screenCanvas = std::make_unique<TcxScreenCanvas>();
}

void FinalizeContainerViewInfo() {
  ContainerModuleState& s = ModuleState();
  s.getScrollBarInfo = nullptr;
  s.screenCanvas.reset();
}
