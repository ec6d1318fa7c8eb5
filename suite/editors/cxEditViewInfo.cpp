#include "suite/editors/cxEditViewInfo.h"

#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxSolidBrushCache.h"

VXN_IMPLEMENT_CLASS(TcxEditButtonViewInfo, TPersistent)
VXN_IMPLEMENT_CLASS(TcxCustomEditViewInfo, TcxContainerViewInfo)

TcxCustomEditViewInfo::TcxCustomEditViewInfo() = default;
TcxCustomEditViewInfo::~TcxCustomEditViewInfo() = default;

void TcxCustomEditViewInfo::SetButtonCount(Integer ACount) {
  const auto count = static_cast<size_t>(std::max<Integer>(ACount, 0));
  while (Buttons.size() > count) Buttons.pop_back();
  while (Buttons.size() < count) Buttons.push_back(std::make_unique<TcxEditButtonViewInfo>());
}

void TcxCustomEditViewInfo::PaintButton(TcxCanvas* ACanvas, Integer AIndex) {
  bool handled = false;
  if (OnCustomDrawButton) OnCustomDrawButton(this, ACanvas, AIndex, handled);
  if (!handled) PaintEditButton(ACanvas, this, AIndex);
}

void TcxCustomEditViewInfo::DrawButtonByStyle(TcxCanvas* ACanvas, Integer AIndex, TcxEditButtonStyle AStyle,
                                              const TRect& R) {
  DrawEditButtonByStyle(ACanvas, this, AIndex, AStyle, R);
}

void TcxCustomEditViewInfo::DrawButtonContent(TcxCanvas* ACanvas, Integer AIndex, const TRect& AContentRect,
                                              const TRect& AArea, TColor AContentColor, TColor AFaceColor) {
  DrawEditButtonContent(ACanvas, this, AIndex, AContentRect, AArea, AContentColor, AFaceColor);
}

void TcxCustomEditViewInfo::FillButtonArea(TcxCanvas* ACanvas, Integer AIndex, const TRect& R, TColor AColor) {
  bool handled = false;
  if (OnCustomFillButtonArea) OnCustomFillButtonArea(this, ACanvas, R, AIndex, handled);
  if (!handled) FillRectWithColor(ACanvas, R, AColor);
}

bool TcxCustomEditViewInfo::DrawCustomBackground(TcxCanvas* ACanvas) {
  bool handled = false;
  if (IsInplace && OnCustomDrawBackground) OnCustomDrawBackground(this, ACanvas, handled);
  return handled;
}
