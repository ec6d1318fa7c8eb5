// The paint state of a spin edit: the text editor's, plus the arrow size of
// its buttons, where they sit and the line the visual style leaves between
// the two spin buttons. It draws the buttons by the visual style's Spin
// parts or by the editor's button style; the hot-flat, ultra-flat and
// Office 11 styles draw neighbouring buttons so that they share their lines.
#pragma once

#include "platform/rtl/TypInfo.h"
#include "suite/editors/cxTextEditViewInfo.h"

// Where the spin buttons sit: one at each end, both at the right side by
// side, or stacked at the right.
VXN_ENUM(TcxSpinEditButtonsPosition, sbpHorzLeftRight, sbpHorzRight, sbpVert)

// The spin buttons by index: small steps back and forward, then the fast
// (large-step) buttons.
inline constexpr Integer SpinButtonBackward = 0;
inline constexpr Integer SpinButtonForward = 1;
inline constexpr Integer SpinButtonFastBackward = 2;
inline constexpr Integer SpinButtonFastForward = 3;

class TcxSpinEditViewInfo : public TcxCustomTextEditViewInfo {
  VXN_DECLARE_CLASS(TcxSpinEditViewInfo)

 public:
  void InternalPaint(TcxCanvas* ACanvas) override;
  void DrawButtonByStyle(TcxCanvas* ACanvas, Integer AIndex, TcxEditButtonStyle AStyle, const TRect& R) override;
  void DrawButtonContent(TcxCanvas* ACanvas, Integer AIndex, const TRect& AContentRect, const TRect& AArea,
                         TColor AContentColor, TColor AFaceColor) override;

  bool HasFastButtons() const { return ButtonCount() >= 4; }

  // Set by the last classic layout.
  Integer ArrowSize = 0;
  TcxSpinEditButtonsPosition ButtonsPosition = sbpVert;
  // Both points (0, 0) when there is no line.
  TPoint SeparatorStart;
  TPoint SeparatorEnd;

 private:
  void DrawHotFlatSpinButton(TcxCanvas* ACanvas, Integer AIndex, const TRect& R);
  void DrawFlatSpinButton(TcxCanvas* ACanvas, Integer AIndex, const TRect& R, bool AOffice11);
  // The frame kind of a hot-flat button and the shared-edge code of an
  // ultra-flat one, by position and button.
  Integer HotFlatFrameKind(Integer AIndex) const;
  Integer SharedEdgeCode(Integer AIndex) const;
};
