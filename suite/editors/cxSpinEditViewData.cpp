#include "suite/editors/cxSpinEditViewData.h"

#include "platform/win/ThemeSchema.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxSpinEditViewData, TcxCustomTextEditViewData)

namespace {

// The visual style's spin state by editor button state (disabled, normal,
// pressed, hot).
constexpr Integer kSpinStates[] = {UPS_DISABLED, UPS_NORMAL, UPS_PRESSED, UPS_HOT};

}  // namespace

TcxSpinEditButtonsPosition TcxSpinEditViewData::ButtonsPosition() {
  auto* settings = dynamic_cast<SpinButtonsSettings*>(Properties);
  return settings ? settings->SpinButtonsPosition() : sbpVert;
}

bool TcxSpinEditViewData::ShowFastButtons() {
  auto* settings = dynamic_cast<SpinButtonsSettings*>(Properties);
  return settings && settings->ShowFastButtons();
}

Integer TcxSpinEditViewData::HeldButtonMarker() {
  auto* holder = dynamic_cast<SpinButtonsHolder*>(Edit);
  return holder ? holder->HeldSpinButtonMarker() : 0;
}

bool TcxSpinEditViewData::SpinThemed() { return NativeThemeInEffect(NativeStyle, ThemeClassSpin); }

void TcxSpinEditViewData::CalculateButtonNativePart(TcxEditButtonViewInfo*) {
  // The layout sets the parts.
}

bool TcxSpinEditViewData::CanButtonBeHot(Integer) { return !Edit || HeldButtonMarker() == 0; }

bool TcxSpinEditViewData::IsButtonForcedPressed(Integer AIndex) {
  return AIndex + 1 == (HeldButtonMarker() & 0x7F);
}

void TcxSpinEditViewData::ComputeLayout(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, Integer AButton,
                                        TShiftState AShift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  TcxCustomTextEditViewData::ComputeLayout(ACanvas, ABounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  if (auto* vi = dynamic_cast<TcxSpinEditViewInfo*>(AViewInfo)) CalculateThemeStates(vi);
}

void TcxSpinEditViewData::CalculateThemeStates(TcxSpinEditViewInfo* AViewInfo) {
  HTHEME theme = AViewInfo->ButtonCount() > 0 && SpinThemed() ? OpenThemeByIndex(ThemeClassSpin) : nullptr;
  for (auto& b : AViewInfo->Buttons) {
    if (!theme) {
      b->NativeState = 0;
      b->NativePartiallyTransparent = false;
      continue;
    }
    b->NativeState = kSpinStates[b->State];
    b->NativePartiallyTransparent = UxIsThemeBackgroundPartiallyTransparent(theme, b->NativePart, b->NativeState);
  }
}

Integer TcxSpinEditViewData::SpinButtonWidth(TcxCanvas* ACanvas, TcxSpinEditViewInfo* AViewInfo, Integer ABaseWidth,
                                             const TRect& R) {
  if (SpinThemed()) {
    TSize offsets;
    TotalContentOffsets(offsets);
    ACanvas->AssignFont(Style->Font());
    TRect content, client;
    ContentExtent(ACanvas, AViewInfo, content);
    ClientExtent(ACanvas, client);
    const Integer h = offsets.cy + ACanvas->MeasureTextHeight("Zg") + content.Top + content.Bottom - client.Top -
                      client.Bottom - 1;
    return (h + 1) / 2;
  }
  const Integer a = ComputeArrowSize({ABaseWidth + 2, R.Height() / 2 + 2}, ArrowUp).cy;
  AViewInfo->ArrowSize = a;
  return 4 * a - 3;
}

void TcxSpinEditViewData::CalculateButtonBounds(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, Integer AIndex,
                                                TRect& R) {
  auto* vi = dynamic_cast<TcxSpinEditViewInfo*>(AViewInfo);
  if (!vi || vi->ButtonCount() < 2) {
    TcxCustomTextEditViewData::CalculateButtonBounds(ACanvas, AViewInfo, AIndex, R);
    return;
  }
  // The framework lays the buttons out from the last; the first call places
  // them all, and leaves R as it was.
  const Integer last = vi->ButtonCount() - 1;
  if (AIndex != last) return;
  TRect r = R;
  const TcxSpinEditButtonsPosition position = ButtonsPosition();
  const bool fast = ShowFastButtons() && vi->ButtonCount() >= 4;
  const bool native = SpinThemed();
  const Integer n = native ? 1 : 0;
  vi->ButtonsPosition = position;
  const Integer B = CalcEditButtonWidth(ACanvas, vi->Button(last));
  const Integer W = SpinButtonWidth(ACanvas, vi, B, r);
  const Integer F = (3 * W + 1) / 2;
  auto bounds = [&](Integer i) -> TRect& { return vi->Button(i)->Bounds; };

  if (fast) {
    bounds(3) = {r.Right - F, r.Top, r.Right, r.Bottom};
    r.Right -= F;
  }
  if (position == sbpVert) {
    bounds(1) = {r.Right - B, r.Top, r.Right, r.Top + (r.Height() - n) / 2};
    bounds(0) = {r.Right - B, bounds(1).Bottom + n, r.Right, r.Bottom};
    r.Right -= B;
    if (fast) bounds(2) = {r.Right - F, r.Top, r.Right, r.Bottom};
  } else {
    bounds(1) = {r.Right - W, r.Top, r.Right, r.Bottom};
    r.Right -= W + n;
    if (position == sbpHorzRight) {
      bounds(0) = {r.Right - W, r.Top, r.Right, r.Bottom};
      r.Right -= W;
      if (fast) bounds(2) = {r.Right - F, r.Top, r.Right, r.Bottom};
    } else {
      if (fast) {
        bounds(2) = {r.Left, r.Top, r.Left + F, r.Bottom};
        r.Left += F;
      }
      bounds(0) = {r.Left, r.Top, r.Left + W, r.Bottom};
    }
  }

  vi->SeparatorStart = vi->SeparatorEnd = TPoint{};
  if (native) {
    const TRect& b0 = bounds(0);
    const TRect& b1 = bounds(1);
    if (position == sbpHorzRight) {
      vi->SeparatorStart = {b0.Right, b0.Top};
      vi->SeparatorEnd = {b0.Right, b0.Bottom - 1};
    } else if (position == sbpVert) {
      vi->SeparatorStart = {b1.Left, b1.Bottom};
      vi->SeparatorEnd = {b1.Right - 1, b1.Bottom};
    }
  }
  for (Integer i = 0; i <= last; ++i) {
    TcxEditButtonViewInfo* b = vi->Button(i);
    b->NativePart = 0;
    if (native) {
      if (i == 0) b->NativePart = position == sbpVert ? SPNP_DOWN : SPNP_DOWNHORZ;
      if (i == 1) b->NativePart = position == sbpVert ? SPNP_UP : SPNP_UPHORZ;
      if (i == 2) b->NativePart = SPNP_DOWNHORZ;
      if (i == 3) b->NativePart = SPNP_UPHORZ;
    }
    b->VisibleBounds = b->Bounds;
  }
}

void TcxSpinEditViewData::InitializeButtonViewInfo(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                                   Integer AIndex, TRect& R) {
  TcxCustomTextEditViewData::InitializeButtonViewInfo(ACanvas, AViewInfo, AIndex, R);
  if (ButtonsPosition() == sbpHorzLeftRight && (AIndex == 0 || AIndex == 2))
    AViewInfo->Button(AIndex)->LeftAlignment = true;
}

