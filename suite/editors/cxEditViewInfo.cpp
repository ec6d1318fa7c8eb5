#include "suite/editors/cxEditViewInfo.h"

#include <algorithm>

#include "platform/win/GdiScopes.h"
#include "platform/win/GdiRegions.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/editors/cxSolidBrushCache.h"
#include "suite/foundation/dxOffice11.h"

VXN_IMPLEMENT_CLASS(TcxEditButtonViewInfo, TPersistent)
VXN_IMPLEMENT_CLASS(TcxCustomEditViewInfo, TcxContainerViewInfo)

namespace {

TRect IntersectRects(const TRect& A, const TRect& B) {
  const TRect r{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                std::min(A.Bottom, B.Bottom)};
  return cxRectIsEmpty(r) ? TRect{} : r;
}

}  // namespace

// --- button view info ----------------------------------------------------------

void TcxEditButtonViewInfo::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxEditButtonViewInfo*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  NativeState = source->NativeState;
  BackgroundColor = source->BackgroundColor;
  Bounds = source->Bounds;
  State = source->State;
  FirstEdge = source->FirstEdge;
}

bool TcxEditButtonViewInfo::PaintStateEquals(const TcxEditButtonViewInfo& AOther) const {
  return State == AOther.State && FirstEdge == AOther.FirstEdge && BackgroundColor == AOther.BackgroundColor &&
         NativeState == AOther.NativeState;
}

std::unique_ptr<TcxRegion> TcxEditButtonViewInfo::ChangedRegion(TcxEditButtonViewInfo* AOther) {
  if (AOther && PaintStateEquals(*AOther)) return TcxRegion::CreateEmpty();
  return TcxRegion::CreateFromRect(Bounds);
}

bool TcxEditButtonViewInfo::RepaintIfChanged(TWinControl* AControl, TcxEditButtonViewInfo* AOther,
                                             const TPoint& AOffset) {
  if (AOther && PaintStateEquals(*AOther)) return false;
  InvalidateControlRect(AControl, cxRectOffset(Bounds, AOffset.X, AOffset.Y), EraseBackground);
  return true;
}

// --- edit view info ------------------------------------------------------------

TcxCustomEditViewInfo::TcxCustomEditViewInfo() = default;
TcxCustomEditViewInfo::~TcxCustomEditViewInfo() = default;

TcxEditButtonViewInfoClass TcxCustomEditViewInfo::ButtonViewInfoClass() {
  return &CreateEditButtonViewInfo<TcxEditButtonViewInfo>;
}

void TcxCustomEditViewInfo::SetButtonCount(Integer ACount) {
  const auto count = static_cast<size_t>(std::max<Integer>(ACount, 0));
  while (Buttons.size() > count) Buttons.pop_back();
  while (Buttons.size() < count) Buttons.push_back(ButtonViewInfoClass()());
}

void TcxCustomEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  DrawEditBackgroundAndButtons(ACanvas, this, true, NativeContentByTheme);
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
  if (handled) return;
  TcxEditButtonViewInfo* b = Button(AIndex);
  if (b->Style != btsOffice11 || !b->Gradient || b->Transparent || b->State == ebbsDisabled) {
    FillRectWithColor(ACanvas, R, AColor);
    return;
  }
  TColor first = Office11GradientFirstColor, last = Office11GradientLastColor;
  if (b->State == ebbsPressed) {
    first = Office11PressedFirstColor;
    last = Office11PressedLastColor;
  } else if (b->State == ebbsHot) {
    first = Office11HotFirstColor;
    last = Office11HotLastColor;
  }
  // The whole column between the border lines, so that neighbouring
  // buttons continue one gradient; a normal button keeps its frame pixel.
  TRect column{R.Left, InsideBorderRect.Top, R.Right, InsideBorderRect.Bottom};
  if (b->State == ebbsNormal) column = cxRectInflate(column, 0, -1);
  const TRect clip = IntersectRects(column, b->Bounds);
  if (cxRectIsEmpty(clip)) return;
  const win::HDC dc = ACanvas->DeviceContext();
  win::SavedDc saved(dc);
  win::IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
  FillGradientRect(dc, column, first, false, last);
}

bool TcxCustomEditViewInfo::DrawCustomBackground(TcxCanvas* ACanvas) {
  bool handled = false;
  if (IsInplace && OnCustomDrawBackground) OnCustomDrawBackground(this, ACanvas, handled);
  return handled;
}

bool TcxCustomEditViewInfo::HasHotButton() {
  return std::any_of(Buttons.begin(), Buttons.end(), [](const auto& b) { return b->State == ebbsHot; });
}

bool TcxCustomEditViewInfo::PointOnButton(const TPoint& P) {
  return std::any_of(Buttons.begin(), Buttons.end(), [&](const auto& b) { return cxRectPtIn(b->Bounds, P); });
}

bool TcxCustomEditViewInfo::TextAtPoint(const TPoint& P, std::string& AText) {
  if (TextPositionAtPoint(P) > 0) return true;
  AText.clear();
  return false;
}

bool TcxCustomEditViewInfo::RepaintChangesAll(TWinControl* AControl, TcxCustomEditViewInfo* AOld) {
  return RepaintChanges(AControl, TRect{}, AOld);
}

bool TcxCustomEditViewInfo::RepaintChanges(TWinControl* AControl, const TRect& AExcludeRect,
                                           TcxCustomEditViewInfo* AOld) {
  if (!WindowHandle || !AControl || !AControl->HandleAllocated()) return false;
  const win::HWND wnd = AControl->Handle();
  const TRect exclude = IntersectRects(AExcludeRect, InnerControlRect);
  if (!AOld) {
    InvalidateRectFrame(wnd, WholeRect, exclude, EraseBackground);
    return true;
  }
  bool repainted = false;
  if (ThemeState != AOld->ThemeState || FillColor != AOld->FillColor ||
      (DrawsText() && StateFlags != AOld->StateFlags) || ButtonCount() != AOld->ButtonCount()) {
    InvalidateRectFrame(wnd, WholeRect, exclude, EraseBackground);
    repainted = true;
  } else if ((BorderColor != AOld->BorderColor && EditBorderStyle != ebsNone) ||
             EditBorderStyle != AOld->EditBorderStyle) {
    InvalidateRectFrame(wnd, WholeRect, InsideBorderRect, EraseBackground);
    repainted = true;
  }
  if (ButtonCount() == AOld->ButtonCount())
    for (Integer i = 0; i < ButtonCount(); ++i)
      repainted = Button(i)->RepaintIfChanged(AControl, AOld->Button(i), TPoint{0, 0}) || repainted;
  return repainted;
}

std::unique_ptr<TcxRegion> TcxCustomEditViewInfo::ChangedRegion(TcxContainerViewInfo* AViewInfo) {
  std::unique_ptr<TcxRegion> region = TcxContainerViewInfo::ChangedRegion(AViewInfo);
  auto* old = dynamic_cast<TcxCustomEditViewInfo*>(AViewInfo);
  if (old && old->EditBorderStyle == EditBorderStyle && old->ButtonCount() == ButtonCount() &&
      old->ThemeState == ThemeState) {
    for (Integer i = 0; i < ButtonCount(); ++i) region->Combine(Button(i)->ChangedRegion(old->Button(i)), RegionUnion);
  } else {
    region->Combine(TcxRegion::CreateFromRect(WholeRect), RegionUnion);
  }
  return region;
}

void TcxCustomEditViewInfo::OffsetBy(Integer DX, Integer DY) {
  TcxContainerViewInfo::OffsetBy(DX, DY);
  ClientRect = cxRectOffset(ClientRect, DX, DY);
  InnerEditRect = cxRectOffset(InnerEditRect, DX, DY);
  for (auto& b : Buttons) {
    b->Bounds = cxRectOffset(b->Bounds, DX, DY);
    b->VisibleBounds = cxRectOffset(b->VisibleBounds, DX, DY);
  }
}

void TcxCustomEditViewInfo::AssignFrom(TcxContainerViewInfo* Source) {
  TcxContainerViewInfo::AssignFrom(Source);
  auto* source = dynamic_cast<TcxCustomEditViewInfo*>(Source);
  if (!source) return;
  SetBackgroundColor(source->FillColor);
  BorderColor = source->BorderColor;
  EditBorderStyle = source->EditBorderStyle;
  BorderStyle = source->BorderStyle;
  StateFlags = source->StateFlags;
  ThemeState = source->ThemeState;
  SetButtonCount(source->ButtonCount());
  for (Integer i = 0; i < ButtonCount(); ++i) Button(i)->Assign(source->Button(i));
  PressedButton = source->PressedButton;
  HotButton = source->HotButton;
}
