#include "suite/editors/cxSpinEditViewInfo.h"

#include "suite/editors/cxEditPainting.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxSpinEditViewInfo, TcxCustomTextEditViewInfo)

namespace {

// Hot-flat frame kinds by button and position (left-right, right, vertical).
constexpr Integer kFrameKinds[2][2][3] = {{{1, 3, 7}, {3, 2, 6}}, {{1, 2, 5}, {3, 2, 4}}};
constexpr Integer kFastFrameKinds[2][3] = {{0, 3, 3}, {2, 2, 2}};

bool PressedOrHot(TcxEditButtonState AState) { return AState == ebbsPressed || AState == ebbsHot; }

}  // namespace

Integer TcxSpinEditViewInfo::HotFlatFrameKind(Integer AIndex) const {
  const bool fast = HasFastButtons();
  if (AIndex >= 2) return kFastFrameKinds[AIndex - 2][ButtonsPosition];
  return kFrameKinds[fast ? 1 : 0][AIndex][ButtonsPosition];
}

Integer TcxSpinEditViewInfo::SharedEdgeCode(Integer AIndex) const {
  const bool fast = HasFastButtons();
  const bool vert = ButtonsPosition == sbpVert;
  switch (AIndex) {
    case SpinButtonBackward:
      if (vert) return fast ? 4 : 6;
      return ButtonCount() == 2 && ButtonsPosition == sbpHorzLeftRight ? 0 : 1;
    case SpinButtonForward:
      if (!fast) return vert ? 5 : 2;
      return vert ? 3 : 1;
    case SpinButtonFastBackward: return ButtonsPosition == sbpHorzLeftRight ? 0 : 1;
    default: return 2;
  }
}

void TcxSpinEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  TcxCustomTextEditViewInfo::InternalPaint(ACanvas);
  // The visual style leaves a line between the two spin buttons; it takes
  // the editor's background.
  if (ButtonCount() > 0 && Button(0)->NativePart != 0 && ButtonsPosition != sbpHorzLeftRight) {
    const TPoint points[] = {SeparatorStart, SeparatorEnd};
    DrawOrthogonalPolyline(ACanvas, points, 1, false, FillColor);
  }
}

void TcxSpinEditViewInfo::DrawButtonByStyle(TcxCanvas* ACanvas, Integer AIndex, TcxEditButtonStyle AStyle,
                                            const TRect& R) {
  TcxEditButtonViewInfo* b = Button(AIndex);
  if (b->NativeState != 0) {
    UxDrawThemeBackground(OpenThemeByIndex(ThemeClassSpin), ACanvas->DeviceContext(), b->NativePart, b->NativeState,
                          R);
    return;
  }
  switch (AStyle) {
    case bts3D:
    case btsFlat:
    case btsSimple: DrawEditButtonByStyle(ACanvas, this, AIndex, AStyle, R); break;
    case btsHotFlat: DrawHotFlatSpinButton(ACanvas, AIndex, R); break;
    case btsUltraFlat:
    case btsOffice11: DrawFlatSpinButton(ACanvas, AIndex, R, AStyle == btsOffice11); break;
    default: break;
  }
}

void TcxSpinEditViewInfo::DrawHotFlatSpinButton(TcxCanvas* ACanvas, Integer AIndex, const TRect& R) {
  TcxEditButtonViewInfo* b = Button(AIndex);
  static constexpr TColor fills[] = {clBtnFace, clBtnFace, clBtnText, clBtnShadow};
  const TColor fill = b->Transparent ? b->BackgroundColor : fills[b->State];
  TColor arrow = clBtnHighlight;
  if (!PressedOrHot(b->State))
    arrow = clBtnText;
  else if (b->State == ebbsHot && b->Transparent)
    arrow = clBtnShadow;
  TcxBorders shadowSides = cxBordersAll, fillSides{};
  switch (HotFlatFrameKind(AIndex)) {
    case 0:
      shadowSides = {bLeft, bTop, bBottom};
      fillSides = {bRight};
      break;
    case 2:
    case 4:
      shadowSides = {bTop, bRight, bBottom};
      fillSides = {bLeft};
      break;
    case 5:
      shadowSides = {bRight, bBottom};
      fillSides = {bLeft, bTop};
      break;
    case 7:
      shadowSides = {bLeft, bRight, bBottom};
      fillSides = {bTop};
      break;
    default: break;
  }
  TRect r = R;
  DrawRectEdges(ACanvas, r, shadowSides, clBtnShadow);
  if (!fillSides.Empty()) DrawRectEdges(ACanvas, r, fillSides, fill);
  DrawButtonContent(ACanvas, AIndex, r, r, arrow, fill);
}

void TcxSpinEditViewInfo::DrawFlatSpinButton(TcxCanvas* ACanvas, Integer AIndex, const TRect& R, bool AOffice11) {
  TcxEditButtonViewInfo* b = Button(AIndex);
  TColor fill = b->BackgroundColor;
  if (!b->Transparent) {
    if (b->State == ebbsDisabled)
      fill = clBtnFace;
    else if (b->State == ebbsNormal)
      fill = AOffice11 ? Office11FaceColor : clBtnFace;
    else
      fill = HighlightedButtonColor(b->State == ebbsPressed, AOffice11);
  }
  const TColor border = HighlightedBorderColor(AOffice11);
  TRect r = R;
  if (!PressedOrHot(b->State) || (b->IsInplace && !HasInplaceMargins)) {
    // The full frame of the ultra-flat buttons.
    if (PressedOrHot(b->State))
      DrawRectEdges(ACanvas, r, cxBordersAll, border);
    else if (!Transparent)
      DrawRectEdges(ACanvas, r, cxBordersAll, fill);
    else
      r = cxRectInflate(r, -1, -1);
  } else {
    // Only the edges towards the neighbours, so that two buttons side by
    // side show one line between them.
    const bool atBorderLeft = r.Left == InsideBorderRect.Left;
    TcxBorders sides;
    switch (SharedEdgeCode(AIndex)) {
      case 0: sides = {bRight}; break;
      case 1: sides = atBorderLeft ? TcxBorders{bRight} : TcxBorders{bLeft, bRight}; break;
      case 2: sides = {bLeft}; break;
      case 3: sides = {bLeft, bRight, bBottom}; break;
      case 4: sides = {bLeft, bTop, bRight}; break;
      case 5: sides = atBorderLeft ? TcxBorders{bBottom} : TcxBorders{bLeft, bBottom}; break;
      default: sides = atBorderLeft ? TcxBorders{bTop} : TcxBorders{bLeft, bTop}; break;
    }
    DrawRectEdges(ACanvas, r, sides, border);
  }
  DrawButtonContent(ACanvas, AIndex, r, r, clBtnText, fill);
}

void TcxSpinEditViewInfo::DrawButtonContent(TcxCanvas* ACanvas, Integer AIndex, const TRect& AContentRect,
                                            const TRect& AArea, TColor AContentColor, TColor AFaceColor) {
  TcxEditButtonViewInfo* b = Button(AIndex);
  if (b->NativeState == 0) FillButtonArea(ACanvas, AIndex, AArea, AFaceColor);
  static constexpr ArrowDirection vertical[] = {ArrowDown, ArrowUp, ArrowLeft, ArrowRight};
  static constexpr ArrowDirection horizontal[] = {ArrowLeft, ArrowRight, ArrowLeft, ArrowRight};
  const ArrowDirection direction = (ButtonsPosition == sbpVert ? vertical : horizontal)[AIndex & 3];
  const Integer extra = AIndex >= SpinButtonFastBackward ? 1 : 0;
  if (b->State == ebbsDisabled) {
    DrawButtonArrows(ACanvas, ArrowSize, cxRectOffset(AContentRect, 1, 1), clBtnHighlight, false, extra, direction);
    DrawButtonArrows(ACanvas, ArrowSize, AContentRect, clBtnShadow, false, extra, direction);
  } else {
    DrawButtonArrows(ACanvas, ArrowSize, AContentRect, AContentColor, b->State == ebbsPressed, extra, direction);
  }
}
