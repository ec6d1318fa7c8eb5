// The layout of a spin edit's buttons: two spin buttons (four with the fast
// buttons) stacked at the right, side by side at the right, or one at each
// end, sized from the arrow they show or, with the visual style, from the
// text height; the visual style's Spin parts and states; and the button that
// a held spin key shows pressed.
#pragma once

#include "suite/editors/cxSpinEditViewInfo.h"
#include "suite/editors/cxTextEditViewData.h"

// What the layout reads of the spin edit's properties. The spin properties
// implement it; properties without it give stacked buttons, no fast ones.
class SpinButtonsSettings {
 public:
  virtual ~SpinButtonsSettings() = default;
  virtual TcxSpinEditButtonsPosition SpinButtonsPosition() = 0;
  virtual bool ShowFastButtons() = 0;
};

// The spin edit's held-button marker: the index + 1 of the button a held key
// steps with (low 7 bits), 0 when none.
class SpinButtonsHolder {
 public:
  virtual ~SpinButtonsHolder() = default;
  virtual Integer HeldSpinButtonMarker() = 0;
};

class TcxSpinEditViewData : public TcxCustomTextEditViewData {
  VXN_DECLARE_CLASS(TcxSpinEditViewData)

 public:
  void CalculateButtonNativePart(TcxEditButtonViewInfo* AButtonViewInfo) override;
  bool CanButtonBeHot(Integer AIndex) override;
  bool IsButtonForcedPressed(Integer AIndex) override;
  void ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton, TShiftState AShift,
                     TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex,
                             TRect& R) override;
  void InitializeButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex,
                                TRect& R) override;

  void CalculateThemeStates(TcxSpinEditViewInfo* AViewInfo);
  TcxSpinEditButtonsPosition ButtonsPosition();
  bool ShowFastButtons();
  // 0 without an edit that holds a button.
  Integer HeldButtonMarker();

 private:
  bool SpinThemed();
  // The small buttons' width (side by side), with the arrow size set into
  // AViewInfo by a classic layout.
  Integer SpinButtonWidth(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, Integer ABaseWidth, const TRect& R);
};
