#include "suite/foundation/cxLookAndFeelPainters.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/GdiText.h"
#include "suite/foundation/cxPainterImages.h"
#include "suite/foundation/dxOffice11.h"
#include "suite/foundation/dxThemeManager.h"

using namespace win;

namespace {

// The one instance of a painter class: its class reference.
template <typename T>
TcxCustomLookAndFeelPainterClass ClassReference() {
  struct Instance final : T {};
  static const Instance instance;
  return &instance;
}


// Integer midpoint of a and b as the drawings use it.
Integer Mid(Integer a, Integer b) { return a + b > 0 ? (a + b) / 2 : (a + b - 1) / 2; }
Integer HalfAway(Integer a) { return MulDiv(a, 1, 2); }

struct ArrowPoints {
  TPoint p[3];
};

TPoint ArrowGlyphSize(const TRect& R, ArrowDirection ADirection) {
  if (ADirection == ArrowLeft || ADirection == ArrowRight) {
    Integer h = (R.Height() - 1) / 2;
    if (h % 2 == 0) ++h;
    return {R.Height() / 2 + 1, h};
  }
  Integer w = (R.Width() - 1) / 2;
  if (w % 2 == 0) ++w;
  return {w, R.Width() / 2 + 1};
}

ArrowPoints CalcArrowPoints(TRect R, ArrowDirection ADirection, bool ASquared) {
  if (ASquared) {
    const Integer d = R.Width() - R.Height();
    if (d > 0) {
      R.Left += d / 2;
      R.Right -= d - d / 2;
    } else if (d < 0) {
      R.Top += -d / 2;
      R.Bottom -= -d - (-d) / 2;
    }
  }
  const TPoint size = ArrowGlyphSize(R, ADirection);
  const Integer w = size.X, h = size.Y;
  const Integer L = R.Left, T = R.Top, Rr = R.Right, B = R.Bottom;
  ArrowPoints a;
  switch (ADirection) {
    case ArrowUp:
      a.p[0] = {(L + Rr - 1) / 2, HalfAway(T + B - h)};
      a.p[1] = {(L + Rr - w) / 2, a.p[0].Y + h - 1};
      a.p[2] = {a.p[1].X + w - 1, a.p[1].Y};
      break;
    case ArrowDown:
      a.p[0] = {(L + Rr - w) / 2, HalfAway(T + B - h)};
      a.p[1] = {a.p[0].X + w - 1, a.p[0].Y};
      a.p[2] = {(L + Rr - 1) / 2, a.p[0].Y + h - 1};
      break;
    case ArrowLeft:
      a.p[0] = {(L + Rr - w) / 2, (T + B) / 2};
      a.p[1] = {a.p[0].X + w - 1, HalfAway(T + B - h)};
      a.p[2] = {a.p[1].X, a.p[1].Y + h - 1};
      break;
    case ArrowRight:
      a.p[0] = {(L + Rr - w) / 2, HalfAway(T + B - h)};
      a.p[1] = {a.p[0].X + w - 1, (T + B) / 2};
      a.p[2] = {a.p[0].X, a.p[0].Y + h - 1};
      break;
  }
  return a;
}

void DrawTriangle(TcxCanvas* ACanvas, const ArrowPoints& A, TColor AColor) {
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->SetBrushColor(AColor);
  ACanvas->Pen()->SetColor(AColor);
  ACanvas->FillPolygon(A.p, 2);
}

ArrowPoints Moved(ArrowPoints A, Integer DX, Integer DY) {
  for (TPoint& p : A.p) p = {p.X + DX, p.Y + DY};
  return A;
}

void FillRectWith(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  ACanvas->SetBrushColor(AColor);
  ACanvas->Canvas->FillRect(R);
}

TcxTextFlags AlignmentFlags(TAlignment AHorz, TextVerticalAlignment AVert, bool AMultiLine, bool AEndEllipsis) {
  TcxTextFlags flags = AHorz == taRightJustify ? TextRight : AHorz == taCenter ? TextHCenter : TextLeft;
  flags |= AVert == VAlignBottom ? TextBottom : AVert == VAlignCenter ? TextVCenter : TextTop;
  flags |= AMultiLine ? TextWordBreak : TextSingleLine;
  if (AEndEllipsis) flags |= TextEndEllipsis;
  return flags;
}

void DrawCrossGlyph(TcxCanvas* ACanvas, const TRect& R, Integer ACloseSizeX, TcxButtonState AGlyphState,
                    TColor AColor) {
  Integer s = ACloseSizeX / 2;
  if (s % 2 == 0) --s;
  ACanvas->Pen()->SetColor(AColor);
  for (Integer d = 0; d <= 1; ++d) {
    Integer x = (R.Left + R.Right - s) / 2 + d, y = (R.Top + R.Bottom - s) / 2;
    if (AGlyphState == cxbsPressed) {
      ++x;
      ++y;
    }
    ACanvas->MovePenTo(x, y);
    ACanvas->DrawLineTo(x + s, y + s);
    ACanvas->MovePenTo(x, y + s - 1);
    ACanvas->DrawLineTo(x + s, y - 1);
  }
}

void DrawGroupToggleMark(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) {
  ACanvas->Pen()->SetColor(AColor);
  const Integer x0 = (R.Left + R.Right - 7) / 2, y0 = (R.Top + R.Bottom - 8) / 2;
  const Integer rows[4] = {y0, y0 + 1, y0 + 4, y0 + 5};
  const Integer dir = AExpanded ? 1 : -1;
  for (Integer i = 0; i < 4; ++i) {
    Integer b = i & 1;
    if (!AExpanded) b = 1 - b;
    const Integer yy = AExpanded ? rows[i] + 3 : rows[i];
    const TPoint pts[3] = {{x0 + b, yy - dir * b}, {x0 + 3, yy - 3 * dir}, {x0 + 7 - b, yy + (1 - b) * dir}};
    ACanvas->DrawPolyline(pts, 2);
  }
}

}  // namespace

void DrawExpandMark(TcxCanvas* ACanvas, const TRect& R, TColor AColor, bool AExpanded) {
  const Integer cx = Mid(R.Left, R.Right), cy = Mid(R.Top, R.Bottom);
  const Integer s = (R.Width() - 4) / 2;
  FillRectWith(ACanvas, {cx - s, cy, cx + s + 1, cy + 1}, AColor);
  if (!AExpanded) FillRectWith(ACanvas, {cx, cy - s, cx + 1, cy + s + 1}, AColor);
}

void DrawSortMark(TcxCanvas* ACanvas, const TRect& R, TPoint ASize, TColor ALightColor, TColor ADarkColor,
                  bool AAscending) {
  const Integer W = ASize.X, H = ASize.Y;
  const Integer dir = AAscending ? 1 : -1;
  Integer cx = (R.Left + R.Right) / 2;
  if (W % 2 == 0) --cx;
  const Integer y = AAscending ? (R.Top + R.Bottom - H) / 2 : (R.Top + R.Bottom + H) / 2 - 1;
  const Integer a = W / 2, a2 = W % 2 == 0 ? a - 1 : a;
  TPen* pen = ACanvas->Pen();
  pen->SetColor(ALightColor);
  ACanvas->MovePenTo(cx + a, y + (H - 2) * dir);
  ACanvas->DrawLineTo(cx + a - a2, y);
  ACanvas->DrawLineTo(cx + a, y + (H - 1) * dir);
  if (!AAscending) pen->SetColor(ADarkColor);
  ACanvas->DrawLineTo(cx - a2, y + (H - 1) * dir);
  if (AAscending) pen->SetColor(ADarkColor);
  ACanvas->DrawLineTo(cx, y);
  ACanvas->DrawLineTo(cx - a2, y + (H - (W & 1)) * dir);
}

void DrawSideArrows(TcxCanvas* ACanvas, TRect R, Integer AControlBorderWidth, TcxHeaderArrows AArrows,
                    Integer AArrowIndent, TColor AColor) {
  R.Top += AControlBorderWidth;
  R = cxRectInflate(R, 0, -1);
  Integer c = R.Height() / 2;
  if (c % 2 == 0) ++c;
  const Integer y0 = (R.Top + R.Bottom - c) / 2 - 1;
  auto arrow = [&](bool left) {
    const Integer x0 = left ? R.Left + AArrowIndent - 1 : R.Right - AArrowIndent + 1;
    const Integer apexX = left ? x0 - (c / 2 + 1) : x0 + (c / 2 + 1);
    const TPoint pts[3] = {{x0, y0}, {x0, y0 + c + 1}, {apexX, y0 + c / 2 + 1}};
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->SetBrushColor(AColor);
    ACanvas->Pen()->SetColor(AColor);
    ACanvas->FillPolygon(pts, 2);
  };
  if (AArrows & HeaderArrowLeft) arrow(true);
  if (AArrows & HeaderArrowRight) arrow(false);
}

namespace {
}  // namespace

ArrowDirection ScrollBarArrowDirection(bool Horizontal, ScrollBarPart Part) {
  if (Horizontal) return Part == ScrollBarPartLineUp ? ArrowLeft : ArrowRight;
  return Part == ScrollBarPartLineUp ? ArrowUp : ArrowDown;
}

TcxLookAndFeelKind StyleCodeToKind(Integer Code) {
  switch (Code) {
    case PainterStyleFlat: return lfFlat;
    case PainterStyleUltraFlat: return lfUltraFlat;
    case PainterStyleOffice11: return lfOffice11;
    default: return lfStandard;
  }
}

// ---------------------------------------------------------------------------

TcxCustomLookAndFeelPainterClass TcxCustomLookAndFeelPainter::Instance() {
  return ClassReference<TcxCustomLookAndFeelPainter>();
}

TRect TcxCustomLookAndFeelPainter::FooterCellInnerRect(const TRect& R) const {
  return cxRectInflate(R, -FooterCellFrameWidth(), -FooterCellFrameWidth());
}

TRect TcxCustomLookAndFeelPainter::FooterCellTextRect(const TRect& R) const {
  return cxRectInflate(FooterCellInnerRect(R), -2, -2);
}

Integer TcxCustomLookAndFeelPainter::PainterStyle() const { return PainterStyleStandard; }
Integer TcxCustomLookAndFeelPainter::ZeroValue5() const { return 0; }
Integer TcxCustomLookAndFeelPainter::ZeroValue6() const { return 0; }
Integer TcxCustomLookAndFeelPainter::ZeroValue7() const { return 0; }

TColor TcxCustomLookAndFeelPainter::PaletteColor8() const { return 0xCFCFCF; }
TColor TcxCustomLookAndFeelPainter::PaletteColor9() const { return clWhite; }
TColor TcxCustomLookAndFeelPainter::PaletteColor10() const { return clBtnShadow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor11() const { return 0xF0CAA6; }
TColor TcxCustomLookAndFeelPainter::PaletteColor12() const { return 0x800000; }
TColor TcxCustomLookAndFeelPainter::PaletteColor13() const { return 0xFF0000; }
TColor TcxCustomLookAndFeelPainter::PaletteColor14() const { return clBtnShadow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor15() const { return clWindowText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor16() const { return clWindowText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor17() const { return clWindowText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor18() const { return clWindow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor19() const { return clWindow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor20() const { return clWindow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor21() const { return clWindowText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor22() const { return clWindow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor23() const { return clWindowText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor24() const { return clBtnShadow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor25() const { return clBtnHighlight; }
TColor TcxCustomLookAndFeelPainter::PaletteColor26() const { return clBtnText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor27() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor28() const { return clBtnText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor29() const { return clBtnShadow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor30() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor31() const { return clBtnText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor32() const { return clBtnShadow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor33() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor34() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor35() const { return clBtnText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor36() const { return clBtnShadow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor37() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor38() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor39() const { return clBtnText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor40() const { return 0xFF0000; }
TColor TcxCustomLookAndFeelPainter::PaletteColor41() const { return PaletteColor29(); }
TColor TcxCustomLookAndFeelPainter::HeaderAreaColor() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor43() const { return clHighlight; }
TColor TcxCustomLookAndFeelPainter::PaletteColor44() const { return clHighlightText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor45() const { return clWindow; }
TColor TcxCustomLookAndFeelPainter::PaletteColor46() const { return clWindowText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor47() const { return 0x0000FF; }
TColor TcxCustomLookAndFeelPainter::PaletteColor48() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor49() const { return 0xD5FFFF; }
TColor TcxCustomLookAndFeelPainter::PaletteColor50() const { return clWindowText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor51() const { return clHighlight; }
TColor TcxCustomLookAndFeelPainter::PaletteColor52() const { return clHighlightText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor53() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor54() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor55() const { return clBtnText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor56() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor57() const { return clWhite; }
TColor TcxCustomLookAndFeelPainter::PaletteColor58() const { return clBlack; }
TColor TcxCustomLookAndFeelPainter::PaletteColor59() const { return clBtnFace; }
TColor TcxCustomLookAndFeelPainter::PaletteColor60() const { return clBtnText; }
TColor TcxCustomLookAndFeelPainter::PaletteColor61() const { return clWhite; }

void TcxCustomLookAndFeelPainter::DrawButtonFace(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  ACanvas->SetBrushColor(ButtonFaceColor(AState));
  ACanvas->Canvas->FillRect(R);
  DrawButtonFrame(ACanvas, R, AState);
}

Integer TcxCustomLookAndFeelPainter::ControlBorderWidth() const { return 0; }
void TcxCustomLookAndFeelPainter::DrawControlBorder(TcxCanvas*, const TRect&) const {}

TRect TcxCustomLookAndFeelPainter::GroupButtonContentRect(const TRect& R, Integer, Integer) const { return R; }
Integer TcxCustomLookAndFeelPainter::ButtonBorderWidth(TcxButtonState) const { return 0; }
TColor TcxCustomLookAndFeelPainter::ButtonFaceColor(TcxButtonState) const { return clBtnFace; }

TRect TcxCustomLookAndFeelPainter::CalcButtonFocusRect(TcxCanvas*, const TRect& R) const {
  const TRect inner = cxRectInflate(R, -4, -4);
  return cxRectIsEmpty(inner) ? R : inner;
}

TRect TcxCustomLookAndFeelPainter::ButtonGroupBorderWidths(Integer, Integer) const {
  const Integer w = ButtonBorderWidth(cxbsNormal);
  return {w, w, w, w};
}

Integer TcxCustomLookAndFeelPainter::ButtonCaptionOffset() const { return 0; }
Integer TcxCustomLookAndFeelPainter::ButtonPressedShift() const { return 0; }

TColor TcxCustomLookAndFeelPainter::ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor) const {
  if (AState == cxbsDisabled) return clBtnShadow;
  return ADefaultColor == clDefault ? clBtnText : ADefaultColor;
}

TcxButtonState TcxCustomLookAndFeelPainter::ButtonGlyphState(TcxButtonState AState) const { return AState; }

void TcxCustomLookAndFeelPainter::DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, Integer,
                                                  Integer, TColor) const {
  DrawButtonWithCaption(ACanvas, R, "", AState, true, clDefault, clDefault);
}

void TcxCustomLookAndFeelPainter::DrawButtonFrame(TcxCanvas*, const TRect&, TcxButtonState) const {}
void TcxCustomLookAndFeelPainter::DrawButtonOutline(TcxCanvas*, const TRect&, bool, bool) const {}
void TcxCustomLookAndFeelPainter::DrawTreeExpandButton(TcxCanvas*, const TRect&, bool, TColor) const {}
bool TcxCustomLookAndFeelPainter::ExpandButtonDrawnFirst() const { return true; }
Integer TcxCustomLookAndFeelPainter::TreeExpandButtonSize() const { return 0; }
Integer TcxCustomLookAndFeelPainter::GroupToggleButtonSize() const { return 15; }
bool TcxCustomLookAndFeelPainter::ButtonsHotTrack() const { return false; }

bool TcxCustomLookAndFeelPainter::IsPointInGroupToggleButton(const TRect& R, const TPoint& P) const {
  return cxRectPtIn(R, P);
}

Integer TcxCustomLookAndFeelPainter::SmallExpandButtonSize() const { return 9; }
Integer TcxCustomLookAndFeelPainter::CheckBorderWidth() const { return 2; }

TColor TcxCustomLookAndFeelPainter::CheckBoxFillColor(TcxButtonState AState) const {
  return AState == cxbsPressed || AState == cxbsDisabled ? clBtnFace : clWindow;
}

void TcxCustomLookAndFeelPainter::DrawCheckFrame(TcxCanvas*, const TRect&, TcxButtonState) const {}

void TcxCustomLookAndFeelPainter::DrawCheckBox(TcxCanvas* ACanvas, TRect& R, TcxButtonState AState,
                                               bool AChecked) const {
  DrawCheckFrame(ACanvas, R, AState);
  R = cxRectInflate(R, -CheckBorderWidth(), -CheckBorderWidth());
  DrawCheckMark(ACanvas, R, AState, AChecked, AState == cxbsDisabled ? clGrayText : clBtnText);
}

void TcxCustomLookAndFeelPainter::DrawHeaderDefault(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea,
                                                    TcxBorders ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                                    TAlignment AAlignmentHorz, TextVerticalAlignment AAlignmentVert,
                                                    bool AMultiLine, bool AShowEndEllipsis, const std::string& AText,
                                                    TFont* AFont, TColor ATextColor, TColor ABkColor,
                                                    TcxDrawBackgroundEvent AOnDrawBackground) const {
  DrawHeader(ACanvas, ABounds, ATextArea, ANeighbors, ABorders, AState, AAlignmentHorz, AAlignmentVert, AMultiLine,
             AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground, false);
}

void TcxCustomLookAndFeelPainter::DrawHeaderFrame(TcxCanvas*, const TRect&, TcxBorders, TcxBorders) const {}

void TcxCustomLookAndFeelPainter::InvertHeaderArea(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->InvertRect(R);
}

void TcxCustomLookAndFeelPainter::DrawHeaderSectionFrame(TcxCanvas*, const TRect&, TcxBorders,
                                                         TcxButtonState) const {}

void TcxCustomLookAndFeelPainter::DrawHeaderSectionContent(TcxCanvas* ACanvas, const TRect& R, const TRect& ATextArea,
                                                           TcxButtonState AState, TAlignment AAlignmentHorz,
                                                           TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                           bool AShowEndEllipsis, const std::string& AText,
                                                           TFont* AFont, TColor ATextColor, TColor ABkColor) const {
  ACanvas->SetBrushColor(ABkColor);
  ACanvas->Canvas->FillRect(R);
  DrawHeaderSectionText(ACanvas, HeaderSectionTextBounds(ATextArea, AState), AState, AAlignmentHorz, AAlignmentVert,
                        AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor);
}

void TcxCustomLookAndFeelPainter::DrawSortArrow(TcxCanvas*, const TRect&, bool) const {}

TcxBorders TcxCustomLookAndFeelPainter::HeaderFrameSides(TcxBorders) const { return cxBordersAll; }
Integer TcxCustomLookAndFeelPainter::HeaderFrameWidth() const { return 0; }

TRect TcxCustomLookAndFeelPainter::ExpandHeaderRect(const TRect& R, TcxBorders ANeighbors, TcxBorders ASides) const {
  const TcxBorders drawn = HeaderFrameSides(ANeighbors);
  const Integer w = HeaderFrameWidth();
  TRect result = R;
  if (ASides.Contains(bLeft) && !drawn.Contains(bLeft)) result.Left -= w;
  if (ASides.Contains(bTop) && !drawn.Contains(bTop)) result.Top -= w;
  if (ASides.Contains(bRight) && !drawn.Contains(bRight)) result.Right += w;
  if (ASides.Contains(bBottom) && !drawn.Contains(bBottom)) result.Bottom += w;
  return result;
}

TRect TcxCustomLookAndFeelPainter::HeaderInnerRect(const TRect& R, TcxBorders ABorders) const {
  const Integer w = HeaderFrameWidth();
  TRect result = R;
  if (ABorders.Contains(bLeft)) result.Left += w;
  if (ABorders.Contains(bTop)) result.Top += w;
  if (ABorders.Contains(bRight)) result.Right -= w;
  if (ABorders.Contains(bBottom)) result.Bottom -= w;
  return result;
}

bool TcxCustomLookAndFeelPainter::HeaderSwitch109() const { return true; }

Integer TcxCustomLookAndFeelPainter::HeaderHeightForFont(Integer ATextHeight) const {
  return ATextHeight + 2 * HeaderFrameWidth() + 4;
}

Integer TcxCustomLookAndFeelPainter::HeaderSectionFrameWidth(TcxButtonState) const { return 1; }

TRect TcxCustomLookAndFeelPainter::HeaderSectionTextBounds(const TRect& ABounds, TcxButtonState AState) const {
  return AState == cxbsPressed ? cxRectOffset(ABounds, 1, 1) : ABounds;
}

TRect TcxCustomLookAndFeelPainter::HeaderSectionContentRect(const TRect& R, TcxButtonState AState) const {
  const Integer w = HeaderSectionFrameWidth(AState);
  return cxRectInflate(R, -w, -w);
}

// The right side subtracts what the left side adds: kept as it always was.
Integer TcxCustomLookAndFeelPainter::HeaderWidthForText(TcxCanvas* ACanvas, TcxBorders ASides,
                                                        const std::string& AText, TFont* AFont) const {
  ACanvas->AssignFont(AFont);
  Integer result = ACanvas->MeasureTextWidth(AText) + 4;
  if (ASides.Contains(bLeft)) result += HeaderFrameWidth();
  if (ASides.Contains(bRight)) result -= HeaderFrameWidth();
  return result;
}

bool TcxCustomLookAndFeelPainter::HeaderSwitch115() const { return false; }
TPoint TcxCustomLookAndFeelPainter::SortArrowAreaSize() const { return {16, SortArrowSize().Y}; }
TPoint TcxCustomLookAndFeelPainter::SortArrowSize() const { return {0, 0}; }

TcxBorders TcxCustomLookAndFeelPainter::FooterFrameSides() const { return cxBordersAll; }
Integer TcxCustomLookAndFeelPainter::FooterFrameWidth() const { return 0; }
Integer TcxCustomLookAndFeelPainter::FooterCellFrameWidth() const { return 0; }
Integer TcxCustomLookAndFeelPainter::FooterCellIndent() const { return 0; }
bool TcxCustomLookAndFeelPainter::FooterSwitch123() const { return true; }
TColor TcxCustomLookAndFeelPainter::FooterLineColor() const { return clBtnShadow; }
Integer TcxCustomLookAndFeelPainter::FooterLineWidth() const { return 1; }
void TcxCustomLookAndFeelPainter::DrawFooterFrame(TcxCanvas*, const TRect&) const {}
void TcxCustomLookAndFeelPainter::DrawFooterCellFrame(TcxCanvas*, const TRect&) const {}

void TcxCustomLookAndFeelPainter::DrawFooterLine(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->SetBrushColor(FooterLineColor());
  ACanvas->Canvas->FillRect(R);
}

void TcxCustomLookAndFeelPainter::DrawCheckBoxInRect(TcxCanvas* ACanvas, TRect R, TcxButtonState AState,
                                                     bool AChecked) const {
  DrawCheckBox(ACanvas, R, AState, AChecked);
}

void TcxCustomLookAndFeelPainter::DrawDropDownButton(TcxCanvas*, const TRect&, TcxButtonState, bool) const {}
TPoint TcxCustomLookAndFeelPainter::PlusButtonSize() const { return {13, 13}; }
TPoint TcxCustomLookAndFeelPainter::CloseButtonSize() const { return {16, 14}; }
TPoint TcxCustomLookAndFeelPainter::FilterButtonSize() const { return {15, 0}; }
bool TcxCustomLookAndFeelPainter::FilterSwitch135() const { return true; }
TPoint TcxCustomLookAndFeelPainter::SmallButtonSize136() const { return {16, 14}; }
TPoint TcxCustomLookAndFeelPainter::SmallButtonSize137() const { return {16, 14}; }
TPoint TcxCustomLookAndFeelPainter::SmallButtonSize138() const { return {13, 13}; }
TPoint TcxCustomLookAndFeelPainter::AutoHideButtonSize() const { return {16, 14}; }
TPoint TcxCustomLookAndFeelPainter::SmallButtonSize140() const { return {16, 14}; }

void TcxCustomLookAndFeelPainter::DrawTab(TcxCanvas*, const TRect&, TcxBorders, const std::string&, TcxButtonState,
                                          bool, TFont*, TColor, TColor, bool) const {}
void TcxCustomLookAndFeelPainter::DrawTabFrame(TcxCanvas*, const TRect&, TcxBorder, TcxBorders, bool) const {}
void TcxCustomLookAndFeelPainter::DrawTabStripBase(TcxCanvas*, const TRect&, TcxBorders, bool) const {}
Integer TcxCustomLookAndFeelPainter::TabExtraOffset147(bool) const { return 0; }
Integer TcxCustomLookAndFeelPainter::TabExtraOffset148(bool) const { return 0; }
Integer TcxCustomLookAndFeelPainter::TabFrameWidth(bool) const { return 0; }

void TcxCustomLookAndFeelPainter::DrawIndicatorCellEx(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                                      TColor ABkColor,
                                                      TcxDrawBackgroundEvent AOnDrawBackground) const {
  DrawHeaderDefault(ACanvas, R, R, TcxBorders(), cxBordersAll, cxbsNormal, taLeftJustify, VAlignTop, false, false,
                    "", nullptr, clNone, ABkColor, AOnDrawBackground);
  DrawIndicatorImage(ACanvas, R, AKind);
}

bool TcxCustomLookAndFeelPainter::IndicatorSwitch152() const { return true; }
void TcxCustomLookAndFeelPainter::DrawScrollBarElement(TcxCanvas*, bool, const TRect&, ScrollBarPart,
                                                       TcxButtonState) const {}

void TcxCustomLookAndFeelPainter::DrawPanelBorder(TcxCanvas* ACanvas, TRect R) const { DrawControlBorder(ACanvas, R); }

void TcxCustomLookAndFeelPainter::DrawToolButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  DrawButtonWithCaption(ACanvas, R, "", AState, true, clDefault, clDefault);
}

void TcxCustomLookAndFeelPainter::DrawEdgedBar(TcxCanvas*, const TRect&, const TcxFillDescription&, bool) const {}

// ---------------------------------------------------------------------------
// The base drawings.

void TcxCustomLookAndFeelPainter::DrawArrowInButton(TcxCanvas* ACanvas, const TRect& R, TColor AColor) const {
  Integer w = R.Width() / 2;
  if (w % 2 == 0) ++w;
  const Integer h = w / 2 + 1;
  ArrowPoints a;
  a.p[0] = {(R.Left + R.Right - w) / 2, HalfAway(R.Top + R.Bottom - h)};
  a.p[1] = {a.p[0].X + w - 1, a.p[0].Y};
  a.p[2] = {a.p[0].X + w / 2, a.p[0].Y + h - 1};
  DrawTriangle(ACanvas, a, AColor);
}

void TcxCustomLookAndFeelPainter::DrawBackgroundAndText(TcxCanvas* ACanvas, const TRect& ABounds,
                                                        const TRect& ATextArea, TcxButtonState,
                                                        TAlignment AAlignmentHorz,
                                                        TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                        bool AShowEndEllipsis, const std::string& AText, TFont* AFont,
                                                        TColor ATextColor, TColor ABkColor,
                                                        TcxDrawBackgroundEvent AOnDrawBackground, bool) const {
  if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, ABounds)) FillRectWith(ACanvas, ABounds, ABkColor);
  if (AText.empty()) return;
  ACanvas->Brush()->SetStyle(bsClear);
  if (AFont) ACanvas->AssignFont(AFont);
  ACanvas->Font()->SetColor(ATextColor);
  ACanvas->DrawAlignedText(AText, ATextArea, AlignmentFlags(AAlignmentHorz, AAlignmentVert, AMultiLine,
                                                            AShowEndEllipsis),
                           true);
  ACanvas->Brush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawFilledArrow(TcxCanvas* ACanvas, const TRect& R, ArrowDirection ADirection,
                                                  TColor AColor) const {
  DrawTriangle(ACanvas, CalcArrowPoints(R, ADirection, true), AColor);
}

void TcxCustomLookAndFeelPainter::DrawArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                  ArrowDirection ADirection, bool ABordered) const {
  const ArrowPoints a = CalcArrowPoints(R, ADirection, false);
  if (ABordered)
    DrawButtonFace(ACanvas, R, AState);
  else
    FillRectWith(ACanvas, R, ButtonFaceColor(AState));
  DrawTriangle(ACanvas, a, ButtonGlyphColor(AState, clDefault));
}

void TcxCustomLookAndFeelPainter::DrawStateArrowGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                      ArrowDirection ADirection) const {
  TRect rect = R;
  if (AState == cxbsPressed) rect = cxRectOffset(rect, ButtonPressedShift(), ButtonPressedShift());
  const ArrowPoints a = CalcArrowPoints(rect, ADirection, true);
  if (AState == cxbsDisabled) {
    DrawTriangle(ACanvas, Moved(a, 1, 1), clBtnHighlight);
    DrawTriangle(ACanvas, a, clBtnShadow);
  } else {
    DrawTriangle(ACanvas, a, ButtonGlyphColor(AState, clDefault));
  }
}

void TcxCustomLookAndFeelPainter::DrawButtonWithCaption(TcxCanvas* ACanvas, const TRect& R,
                                                        const std::string& ACaption, TcxButtonState AState,
                                                        bool ABordered, TColor AFaceColor, TColor ATextColor) const {
  TRect rect = R;
  if (ABordered) {
    DrawButtonFrame(ACanvas, rect, AState);
    const Integer w = ButtonBorderWidth(AState);
    rect = cxRectInflate(rect, -w, -w);
  }
  FillRectWith(ACanvas, rect, AFaceColor == clDefault ? ButtonFaceColor(AState) : AFaceColor);
  ACanvas->Font()->SetColor(ATextColor == clDefault ? ButtonGlyphColor(AState, clDefault) : ATextColor);
  ACanvas->Brush()->SetStyle(bsClear);
  if (rect.Height() % 2 != 0) --rect.Bottom;
  if (rect.Height() < 18) --rect.Top;
  if (AState == cxbsPressed) rect = cxRectOffset(rect, ButtonPressedShift(), ButtonPressedShift());
  if (!ACaption.empty())
    ACanvas->DrawAlignedText(ACaption, rect, TextHCenter | TextVCenter | TextSingleLine | TextShowPrefix,
                             AState != cxbsDisabled);
  ACanvas->Brush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawGroupToggleButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                        TcxButtonState AState) const {
  DrawButtonWithCaption(ACanvas, R, "", AState, true, clDefault, clDefault);
  DrawGroupToggleMark(ACanvas, R, AExpanded, ButtonGlyphColor(AState, clDefault));
}

void TcxCustomLookAndFeelPainter::DrawSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                        TColor AFrameColor, TColor AFillColor) const {
  ACanvas->SetBrushColor(AFrameColor);
  ACanvas->FillBorders(R, clDefault, 1, cxBordersAll);
  if (AFillColor != clDefault) FillRectWith(ACanvas, cxRectInflate(R, -1, -1), AFillColor);
  DrawExpandMark(ACanvas, R, clBtnText, AExpanded);
}

void TcxCustomLookAndFeelPainter::DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                bool AChecked, TColor AColor) const {
  FillRectWith(ACanvas, R, CheckBoxFillColor(AState));
  if (!AChecked) return;
  ACanvas->Pen()->SetColor(AColor);
  const Integer X = R.Width() - 2, Y = R.Height() - 4, cx = (R.Left + R.Right) / 2 - 1;
  for (Integer d = 0; d <= 2; ++d) {
    const Integer yb = (R.Top + R.Bottom + Y) / 2 - 2 + d;
    const TPoint pts[3] = {{cx - X / 2 + 1, yb - Y / 2}, {cx, yb}, {cx + X / 2 + 2, yb - Y}};
    ACanvas->DrawPolyline(pts, 2);
  }
}

void TcxCustomLookAndFeelPainter::DrawRadioButton(TcxCanvas* ACanvas, Integer X, Integer Y, TcxButtonState AState,
                                                  bool AChecked, bool AForcedHighlight, TColor ABkColor,
                                                  bool AFocusHighlight) const {
  GetRadioButtonImages()->Draw(ACanvas, X, Y, StyleCodeToKind(PainterStyle()), AState, AChecked, AForcedHighlight,
                               AFocusHighlight, ABkColor);
}

void TcxCustomLookAndFeelPainter::DrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea,
                                             TcxBorders ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                             TAlignment AAlignmentHorz, TextVerticalAlignment AAlignmentVert,
                                             bool AMultiLine, bool AShowEndEllipsis, const std::string& AText,
                                             TFont* AFont, TColor ATextColor, TColor ABkColor,
                                             TcxDrawBackgroundEvent AOnDrawBackground, bool) const {
  DrawHeaderFrame(ACanvas, ABounds, ANeighbors, ABorders);
  DrawBackgroundAndText(ACanvas, HeaderInnerRect(ABounds, ABorders), ATextArea, AState, AAlignmentHorz,
                        AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor,
                        AOnDrawBackground, false);
}

void TcxCustomLookAndFeelPainter::DrawHeaderSectionItem(TcxCanvas* ACanvas, const TRect& ABounds,
                                                        const TRect& ATextArea, TcxBorders, TcxBorders ABorders,
                                                        TcxButtonState AState, TAlignment AAlignmentHorz,
                                                        TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                        bool AShowEndEllipsis, const std::string& AText, TFont* AFont,
                                                        TColor ATextColor, TColor ABkColor) const {
  DrawHeaderSectionFrame(ACanvas, ABounds, ABorders, AState);
  DrawHeaderSectionContent(ACanvas, HeaderSectionContentRect(ABounds, AState), ATextArea, AState, AAlignmentHorz,
                           AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor);
}

void TcxCustomLookAndFeelPainter::DrawHeaderSectionText(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                        TAlignment AAlignmentHorz,
                                                        TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                        bool AShowEndEllipsis, const std::string& AText, TFont* AFont,
                                                        TColor ATextColor) const {
  if (AText.empty()) return;
  ACanvas->Brush()->SetStyle(bsClear);
  if (AFont) ACanvas->AssignFont(AFont);
  const TcxTextFlags flags = AlignmentFlags(AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis);
  if (AState == cxbsDisabled) {
    ACanvas->Font()->SetColor(clBtnHighlight);
    ACanvas->DrawAlignedText(AText, cxRectOffset(R, 1, 1), flags, true);
    ACanvas->Font()->SetColor(clBtnShadow);
  } else {
    ACanvas->Font()->SetColor(ATextColor);
  }
  ACanvas->DrawAlignedText(AText, R, flags, true);
  ACanvas->Brush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                                                 TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                 const std::string& AText, TFont* AFont, TColor ATextColor,
                                                 TColor ABkColor, TcxDrawBackgroundEvent AOnDrawBackground) const {
  DrawFooterCellFrame(ACanvas, ABounds);
  DrawBackgroundAndText(ACanvas, FooterCellInnerRect(ABounds), FooterCellTextRect(ABounds), cxbsDefault,
                        AAlignmentHorz, AAlignmentVert, AMultiLine, false, AText, AFont, ATextColor, ABkColor,
                        AOnDrawBackground, true);
}

void TcxCustomLookAndFeelPainter::PaintCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  DrawButtonFrame(ACanvas, R, AState);
  const Integer w = ButtonBorderWidth(cxbsNormal);
  const TRect rect = cxRectInflate(R, -w, -w);
  FillRectWith(ACanvas, rect, ButtonFaceColor(AState));
  DrawCrossGlyph(ACanvas, rect, CloseButtonSize().X, ButtonGlyphState(AState), ButtonGlyphColor(AState, clDefault));
}

void TcxCustomLookAndFeelPainter::DrawPlusButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  DrawButtonFrame(ACanvas, R, AState);
  const Integer w = ButtonBorderWidth(cxbsNormal);
  const TRect rect = cxRectInflate(R, -w, -w);
  FillRectWith(ACanvas, rect, ButtonFaceColor(AState));
  DrawPlusGlyph(ACanvas, rect, AState);
}

void TcxCustomLookAndFeelPainter::DrawPlusGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  const bool disabled = AState == cxbsDisabled;
  const TColor a = disabled ? clBtnHighlight : PaletteColor16();
  const TColor b = disabled ? clBtnShadow : PaletteColor16();
  auto lines = [&](const TRect& r, Integer x, Integer y, TColor c) {
    ACanvas->Pen()->SetColor(c);
    ACanvas->MovePenTo(r.Left, y);
    ACanvas->DrawLineTo(r.Right - 1, y);
    ACanvas->MovePenTo(x, r.Top);
    ACanvas->DrawLineTo(x, r.Bottom - 1);
  };
  TRect r = cxRectOffset(cxRectInflate(R, -1, -1), 1, 1);
  Integer y = r.Top + r.Height() / 2 - 1, x = r.Left + r.Width() / 2 - 1;
  lines(r, x, y, a);
  ACanvas->PlotPixel(r.Left - 1, y, a);
  ACanvas->PlotPixel(x, r.Top - 1, a);
  r = cxRectOffset(r, -1, -1);
  y -= 1;
  x -= 1;
  lines(r, x, y, b);
  ACanvas->PlotPixel(r.Right - 1, y, a);
  ACanvas->PlotPixel(x, r.Bottom - 1, a);
}

void TcxCustomLookAndFeelPainter::DrawAutoHideButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                     bool AAutoHideOff, TColor) const {
  DrawButtonFrame(ACanvas, R, AState);
  const Integer w = ButtonBorderWidth(cxbsNormal);
  const TRect rect = cxRectInflate(R, -w, -w);
  FillRectWith(ACanvas, rect, ButtonFaceColor(AState));
  TBitmap* pin = AutoHideBitmap(AAutoHideOff ? 1 : 0);
  if (!pin || pin->Empty()) return;
  Integer x = (rect.Left + rect.Right - pin->Width()) / 2, y = (rect.Top + rect.Bottom - pin->Height()) / 2;
  if (AState == cxbsPressed) {
    ++x;
    ++y;
  }
  ACanvas->DrawGraphic(x, y, pin);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                                    TColor ABkColor, TcxDrawBackgroundEvent AOnDrawBackground) const {
  DrawHeader(ACanvas, R, R, TcxBorders(), HeaderFrameSides(TcxBorders{bTop, bBottom}), cxbsNormal, taLeftJustify,
             VAlignTop, false, false, "", nullptr, clNone, ABkColor, AOnDrawBackground, false);
  DrawIndicatorImage(ACanvas, R, AKind);
}

void TcxCustomLookAndFeelPainter::DrawHeaderWithArrows(TcxCanvas* ACanvas, const TRect& R, const std::string& AText,
                                                       TcxBorders ANeighbors, const TcxViewParams& AViewParams,
                                                       TcxHeaderArrows AArrows, Integer AArrowIndent,
                                                       TcxDrawBackgroundEvent AOnDrawBackground) const {
  DrawHeader(ACanvas, R, R, ANeighbors, HeaderFrameSides(ANeighbors), cxbsNormal, taCenter, VAlignCenter, false,
             false, AText, AViewParams.Font, AViewParams.TextColor, AViewParams.Color, AOnDrawBackground, false);
  DrawSideArrows(ACanvas, R, ControlBorderWidth(), AArrows, AArrowIndent, clWindowText);
}

// ---------------------------------------------------------------------------
// Drawings the standard, flat and ultra-flat painters share.

namespace {

// ring(A, B) and ring(A): one-pixel frames on all four sides.
void Ring(TcxCanvas* ACanvas, const TRect& R, TColor A, TColor B) {
  ACanvas->DrawTwoColorFrame(R, A, B, cxBordersAll, 1);
}
void Ring(TcxCanvas* ACanvas, const TRect& R, TColor A) { ACanvas->FillBorders(R, A, 1, cxBordersAll); }
TRect In(const TRect& R) { return cxRectInflate(R, -1, -1); }

void ClassicHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ANeighbors) {
  ACanvas->Draw3DEdge(R, false, false, cxBordersAll);
  if (ANeighbors.Contains(bLeft)) {
    ACanvas->PlotPixel(R.Left, R.Top + 1, clBtnFace);
    ACanvas->PlotPixel(R.Left, R.Bottom - 2, clBtnFace);
  }
  if (ANeighbors.Contains(bRight)) {
    ACanvas->PlotPixel(R.Right - 1, R.Top, clBtnHighlight);
    ACanvas->PlotPixel(R.Right - 1, R.Top + 1, clBtnFace);
    ACanvas->PlotPixel(R.Right - 1, R.Bottom - 2, clBtnFace);
  }
}

void ClassicDropDownButton(const TcxCustomLookAndFeelPainter* P, TcxCanvas* ACanvas, const TRect& R,
                           TcxButtonState AState, bool AHighlighted) {
  if (AState == cxbsPressed)
    ACanvas->Draw3DEdge(R, true, true, cxBordersAll);
  else
    ACanvas->Draw3DEdge(R, false, false, cxBordersAll);
  const TRect inner = In(R);
  FillRectWith(ACanvas, inner, clBtnFace);
  P->DrawArrowInButton(ACanvas, inner, AHighlighted ? 0xFF0000 : clBtnText);
}

void ClassicPlusGlyph(const TcxCustomLookAndFeelPainter* P, TcxCanvas* ACanvas, const TRect& R,
                      TcxButtonState AState) {
  TRect rect{R.Left, R.Top, R.Right - 1, R.Bottom - 1};
  if (AState == cxbsPressed) rect = cxRectOffset(rect, 1, 1);
  P->TcxCustomLookAndFeelPainter::DrawPlusGlyph(ACanvas, rect, AState);
}

void ClassicTabFrame(TcxCanvas* ACanvas, TRect R, TcxBorder ASide, TcxBorders ASides, bool AVertical) {
  TColor color = clBtnHighlight;
  if (AVertical) {
    if (ASide == bLeft) {
      R.Top += ASides.Contains(bTop) ? 2 : 1;
      R.Bottom -= ASides.Contains(bBottom) ? 2 : 1;
      ACanvas->PlotPixel(R.Left + 1, R.Top - 1, clBtnHighlight);
      ACanvas->PlotPixel(R.Left + 1, R.Bottom, clBtnHighlight);
    } else if (ASide == bTop || ASide == bBottom) {
      if (ASides.Contains(bLeft)) R.Left += 1;
    }
    if (ASide == bBottom) color = clBtnShadow;
  } else {
    if (ASide == bLeft || ASide == bRight) {
      if (ASides.Contains(bTop)) R.Top += 2;
      if (ASides.Contains(bBottom)) R.Bottom -= 1;
    } else if (ASide == bTop) {
      R.Left += 1;
      R.Right -= 1;
      ACanvas->PlotPixel(R.Left - 1, R.Top + 1, clBtnHighlight);
      ACanvas->PlotPixel(R.Right, R.Top + 1, clBtnHighlight);
    }
    if (ASide == bRight) color = clBtnShadow;
  }
  FillRectWith(ACanvas, R, color);
}

// Page areas of the three classic scroll bars: the pattern bitmap as brush.
void FillScrollBarPage(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  ACanvas->Brush()->SetBitmap(ScrollBarPatternBitmap(AState == cxbsPressed ? 1 : 0));
  ACanvas->Canvas->FillRect(R);
  ACanvas->Brush()->SetBitmap(nullptr);
  ACanvas->Brush()->SetStyle(bsSolid);
}

void StandardScrollFrame(TcxCanvas* ACanvas, const TRect& R, bool APressedArrow) {
  if (APressedArrow) {
    Ring(ACanvas, R, clBtnShadow);
    Ring(ACanvas, In(R), clBtnFace);
  } else {
    Ring(ACanvas, R, clBtnFace, cl3DDkShadow);
    Ring(ACanvas, In(R), clBtnHighlight, clBtnShadow);
  }
}

// Lines along the long sides, pair by pair, then the rest filled.
void EdgedBar(TcxCanvas* ACanvas, TRect R, const TcxFillDescription& AFill, bool AHorizontal,
              std::initializer_list<std::pair<TColor, TColor>> APairs) {
  for (const auto& [first, second] : APairs) {
    if (AHorizontal) {
      FillRectWith(ACanvas, {R.Left, R.Top, R.Right, R.Top + 1}, first);
      FillRectWith(ACanvas, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, second);
      R = {R.Left - 1, R.Top + 1, R.Right + 1, R.Bottom - 1};
    } else {
      FillRectWith(ACanvas, {R.Left, R.Top, R.Left + 1, R.Bottom}, first);
      FillRectWith(ACanvas, {R.Right - 1, R.Top, R.Right, R.Bottom}, second);
      R = {R.Left + 1, R.Top - 1, R.Right - 1, R.Bottom + 1};
    }
  }
  ACanvas->FrameAndFill(R, AFill);
}

void FlatScrollBarElement(const TcxCustomLookAndFeelPainter* P, TcxCanvas* ACanvas, bool AHorizontal, TRect R,
                          ScrollBarPart APart, TcxButtonState AState, bool AShrink) {
  P->DrawButtonWithCaption(ACanvas, R, "", AState, true, clDefault, clDefault);
  if (APart == ScrollBarPartThumb) return;
  if (AShrink) {
    const Integer w = P->ButtonBorderWidth(cxbsNormal);
    R = cxRectInflate(R, -w, -w);
  }
  P->DrawStateArrowGlyph(ACanvas, R, AState, ScrollBarArrowDirection(AHorizontal, APart));
}

// What the three classic scroll bars leave out: an empty rectangle, no part,
// a disabled thumb; page areas are the same in all three.
bool ScrollBarElementHandled(TcxCanvas* ACanvas, const TRect& R, ScrollBarPart APart, TcxButtonState AState) {
  if (cxRectIsEmpty(R) || APart == ScrollBarPartNone || (APart == ScrollBarPartThumb && AState == cxbsDisabled))
    return true;
  if (APart == ScrollBarPartPageUp || APart == ScrollBarPartPageDown) {
    FillScrollBarPage(ACanvas, R, AState);
    return true;
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------
// Standard painter.

TcxCustomLookAndFeelPainterClass TcxStandardLookAndFeelPainter::Instance() {
  return ClassReference<TcxStandardLookAndFeelPainter>();
}
Integer TcxStandardLookAndFeelPainter::PainterStyle() const { return PainterStyleStandard; }
TColor TcxStandardLookAndFeelPainter::PaletteColor49() const { return clWindow; }
Integer TcxStandardLookAndFeelPainter::ControlBorderWidth() const { return 2; }

void TcxStandardLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  Ring(ACanvas, R, clBtnShadow, clBtnHighlight);
  Ring(ACanvas, In(R), cl3DDkShadow, cl3DLight);
}

Integer TcxStandardLookAndFeelPainter::ButtonBorderWidth(TcxButtonState AState) const {
  return AState == cxbsDefault ? 3 : 2;
}
Integer TcxStandardLookAndFeelPainter::ButtonCaptionOffset() const { return 1; }
Integer TcxStandardLookAndFeelPainter::ButtonPressedShift() const { return 1; }

void TcxStandardLookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  TRect r = R;
  if (AState == cxbsPressed) {
    Ring(ACanvas, r, clBlack);
    Ring(ACanvas, In(r), clBtnShadow);
    return;
  }
  if (AState == cxbsDefault) {
    Ring(ACanvas, r, clBlack);
    r = In(r);
  }
  Ring(ACanvas, r, clBtnHighlight, cl3DDkShadow);
  Ring(ACanvas, In(r), cl3DLight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                         TColor AColor) const {
  TRect r = R;
  ACanvas->Draw3DEdge(r, false, false, {bLeft, bTop});
  ACanvas->Draw3DEdge(r, false, true, {bRight, bBottom});
  r = In(r);
  ACanvas->Draw3DEdge(r, false, false, {bRight, bBottom});
  --r.Right;
  --r.Bottom;
  FillRectWith(ACanvas, r, AColor == clDefault ? clBtnFace : AColor);
  DrawExpandMark(ACanvas, r, clBtnText, AExpanded);
  ACanvas->ExcludeFromClip(R);
}

// Drawn by the flat painter's operations, so that it looks as in the flat look.
void TcxStandardLookAndFeelPainter::DrawGroupToggleButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                          TcxButtonState AState) const {
  TcxFlatLookAndFeelPainter::Instance()->DrawGroupToggleButton(ACanvas, R, AExpanded, AState);
}

Integer TcxStandardLookAndFeelPainter::TreeExpandButtonSize() const { return 12; }
bool TcxStandardLookAndFeelPainter::ButtonsHotTrack() const { return false; }

void TcxStandardLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState) const {
  ACanvas->Draw3DEdge(R, true, false, cxBordersAll);
  ACanvas->Draw3DEdge(In(R), true, true, cxBordersAll);
}

void TcxStandardLookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ANeighbors,
                                                    TcxBorders) const {
  ClassicHeaderFrame(ACanvas, R, ANeighbors);
}

void TcxStandardLookAndFeelPainter::DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                                           TcxButtonState AState) const {
  if (AState == cxbsPressed) {
    ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnShadow, ABorders, 1);
    return;
  }
  ACanvas->DrawTwoColorFrame(R, clBtnHighlight, cl3DDkShadow, ABorders, 1);
  ACanvas->DrawTwoColorFrame(In(R), cl3DLight, clBtnShadow, ABorders, 1);
}

void TcxStandardLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortMark(ACanvas, R, SortArrowSize(), clBtnHighlight, clBtnShadow, AAscending);
}

Integer TcxStandardLookAndFeelPainter::HeaderFrameWidth() const { return 1; }
Integer TcxStandardLookAndFeelPainter::HeaderSectionFrameWidth(TcxButtonState AState) const {
  return AState == cxbsPressed ? 1 : 2;
}
TPoint TcxStandardLookAndFeelPainter::SortArrowSize() const { return {8, 7}; }
Integer TcxStandardLookAndFeelPainter::FooterFrameWidth() const { return 1; }
Integer TcxStandardLookAndFeelPainter::FooterCellFrameWidth() const { return 1; }
Integer TcxStandardLookAndFeelPainter::FooterCellIndent() const { return 1; }

void TcxStandardLookAndFeelPainter::DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->Draw3DEdge(R, false, false, cxBordersAll);
}

void TcxStandardLookAndFeelPainter::DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->Draw3DEdge(R, true, true, cxBordersAll);
}

void TcxStandardLookAndFeelPainter::DrawDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                       bool AHighlighted) const {
  ClassicDropDownButton(this, ACanvas, R, AState, AHighlighted);
}

void TcxStandardLookAndFeelPainter::DrawPlusGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  ClassicPlusGlyph(this, ACanvas, R, AState);
}

void TcxStandardLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide,
                                                 TcxBorders ASides, bool AVertical) const {
  ClassicTabFrame(ACanvas, R, ASide, ASides, AVertical);
}

void TcxStandardLookAndFeelPainter::DrawTabStripBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                                     bool) const {
  ACanvas->Draw3DEdge(R, false, false, ABorders);
}

Integer TcxStandardLookAndFeelPainter::TabFrameWidth(bool) const { return 1; }

void TcxStandardLookAndFeelPainter::DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                         ScrollBarPart APart, TcxButtonState AState) const {
  if (ScrollBarElementHandled(ACanvas, R, APart, AState)) return;
  if (AState == cxbsHot) AState = cxbsNormal;
  if (APart == ScrollBarPartThumb) {
    StandardScrollFrame(ACanvas, R, false);
    const Integer w = ButtonBorderWidth(cxbsNormal);
    FillRectWith(ACanvas, cxRectInflate(R, -w, -w), clBtnFace);
    return;
  }
  const bool pressed = AState == cxbsPressed;
  RECT r = cxRECT(pressed ? cxRectOffset(R, 1, 1) : R);
  UINT state = AHorizontal ? (APart == ScrollBarPartLineUp ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                           : (APart == ScrollBarPartLineUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
  if (AState == cxbsDisabled) state |= DFCS_INACTIVE;
  if (pressed) state |= DFCS_FLAT;
  DrawFrameControl(ACanvas->DeviceContext(), &r, DFC_SCROLL, state);
  StandardScrollFrame(ACanvas, R, pressed);
}

void TcxStandardLookAndFeelPainter::DrawHeaderWithArrows(TcxCanvas* ACanvas, const TRect& R,
                                                         const std::string& AText, TcxBorders ANeighbors,
                                                         const TcxViewParams& AViewParams, TcxHeaderArrows AArrows,
                                                         Integer AArrowIndent,
                                                         TcxDrawBackgroundEvent AOnDrawBackground) const {
  TcxBorders sides = cxBordersAll;
  if (ANeighbors.Contains(bLeft)) sides -= bLeft;
  if (ANeighbors.Contains(bRight)) sides -= bRight;
  ACanvas->FillBorders(R, clBlack, 1, sides);
  const TRect inner = HeaderInnerRect(R, sides);
  DrawHeader(ACanvas, inner, inner, ANeighbors, cxBordersAll, cxbsNormal, taCenter, VAlignCenter, false, false, AText,
             AViewParams.Font, AViewParams.TextColor, AViewParams.Color, AOnDrawBackground, false);
  DrawSideArrows(ACanvas, R, ControlBorderWidth(), AArrows, AArrowIndent, clWindowText);
}

void TcxStandardLookAndFeelPainter::DrawEdgedBar(TcxCanvas* ACanvas, const TRect& R, const TcxFillDescription& AFill,
                                                 bool AHorizontal) const {
  EdgedBar(ACanvas, R, AFill, AHorizontal, {{clBtnFace, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}});
}

// ---------------------------------------------------------------------------
// Flat painter.

TcxCustomLookAndFeelPainterClass TcxFlatLookAndFeelPainter::Instance() {
  return ClassReference<TcxFlatLookAndFeelPainter>();
}
Integer TcxFlatLookAndFeelPainter::PainterStyle() const { return PainterStyleFlat; }
Integer TcxFlatLookAndFeelPainter::ControlBorderWidth() const { return 1; }

void TcxFlatLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->Draw3DEdge(R, true, true, cxBordersAll);
}

Integer TcxFlatLookAndFeelPainter::ButtonBorderWidth(TcxButtonState AState) const {
  return AState == cxbsDefault ? 2 : 1;
}
Integer TcxFlatLookAndFeelPainter::ButtonCaptionOffset() const { return 1; }
Integer TcxFlatLookAndFeelPainter::ButtonPressedShift() const { return 1; }

void TcxFlatLookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  if (AState == cxbsPressed) {
    Ring(ACanvas, R, clBtnShadow, clBtnHighlight);
    return;
  }
  TRect r = R;
  if (AState == cxbsDefault) {
    Ring(ACanvas, r, clBlack);
    r = In(r);
  }
  Ring(ACanvas, r, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                     TColor AColor) const {
  DrawButtonWithCaption(ACanvas, R, "", cxbsNormal, true, AColor, clDefault);
  DrawExpandMark(ACanvas, In(R), clBtnText, AExpanded);
  ACanvas->ExcludeFromClip(R);
}

Integer TcxFlatLookAndFeelPainter::TreeExpandButtonSize() const { return 11; }
bool TcxFlatLookAndFeelPainter::ButtonsHotTrack() const { return false; }

void TcxFlatLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  ACanvas->Draw3DEdge(R, true, true, cxBordersAll);
  Ring(ACanvas, In(R), CheckBoxFillColor(AState));
}

void TcxFlatLookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ANeighbors,
                                                TcxBorders) const {
  ClassicHeaderFrame(ACanvas, R, ANeighbors);
}

void TcxFlatLookAndFeelPainter::DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                                       TcxButtonState AState) const {
  if (AState == cxbsPressed)
    ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnHighlight, ABorders, 1);
  else
    ACanvas->DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow, ABorders, 1);
}

void TcxFlatLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortMark(ACanvas, R, SortArrowSize(), clBtnHighlight, clBtnShadow, AAscending);
}

Integer TcxFlatLookAndFeelPainter::HeaderFrameWidth() const { return 1; }
TPoint TcxFlatLookAndFeelPainter::SortArrowSize() const { return {8, 7}; }
Integer TcxFlatLookAndFeelPainter::FooterFrameWidth() const { return 1; }
Integer TcxFlatLookAndFeelPainter::FooterCellFrameWidth() const { return 1; }
Integer TcxFlatLookAndFeelPainter::FooterCellIndent() const { return 1; }

void TcxFlatLookAndFeelPainter::DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->Draw3DEdge(R, false, false, cxBordersAll);
}

void TcxFlatLookAndFeelPainter::DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const {
  ACanvas->Draw3DEdge(R, true, true, cxBordersAll);
}

void TcxFlatLookAndFeelPainter::DrawDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                   bool AHighlighted) const {
  ClassicDropDownButton(this, ACanvas, R, AState, AHighlighted);
}

void TcxFlatLookAndFeelPainter::DrawPlusGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  ClassicPlusGlyph(this, ACanvas, R, AState);
}

void TcxFlatLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ASides,
                                             bool AVertical) const {
  ClassicTabFrame(ACanvas, R, ASide, ASides, AVertical);
}

void TcxFlatLookAndFeelPainter::DrawTabStripBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                                 bool) const {
  ACanvas->Draw3DEdge(R, false, false, ABorders);
}

Integer TcxFlatLookAndFeelPainter::TabFrameWidth(bool) const { return 1; }

void TcxFlatLookAndFeelPainter::DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                     ScrollBarPart APart, TcxButtonState AState) const {
  if (ScrollBarElementHandled(ACanvas, R, APart, AState)) return;
  if (AState == cxbsHot) AState = cxbsNormal;
  FlatScrollBarElement(this, ACanvas, AHorizontal, R, APart, AState, true);
}

void TcxFlatLookAndFeelPainter::DrawEdgedBar(TcxCanvas* ACanvas, const TRect& R, const TcxFillDescription& AFill,
                                             bool AHorizontal) const {
  EdgedBar(ACanvas, R, AFill, AHorizontal, {{clBtnHighlight, clBtnShadow}});
}

// ---------------------------------------------------------------------------
// Ultra-flat painter.

TcxCustomLookAndFeelPainterClass TcxUltraFlatLookAndFeelPainter::Instance() {
  return ClassReference<TcxUltraFlatLookAndFeelPainter>();
}
Integer TcxUltraFlatLookAndFeelPainter::PainterStyle() const { return PainterStyleUltraFlat; }
TColor TcxUltraFlatLookAndFeelPainter::PaletteColor16() const { return 0x800000; }
TColor TcxUltraFlatLookAndFeelPainter::PaletteColor47() const { return clBtnShadow; }
Integer TcxUltraFlatLookAndFeelPainter::ControlBorderWidth() const { return 1; }

void TcxUltraFlatLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  Ring(ACanvas, R, clBtnShadow);
}

Integer TcxUltraFlatLookAndFeelPainter::ButtonBorderWidth(TcxButtonState AState) const {
  return AState == cxbsDefault ? 2 : 1;
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonFaceColor(TcxButtonState AState) const {
  if (AState == cxbsHot) return HotHighlightColor();
  if (AState == cxbsPressed) return PressedHighlightColor();
  return TcxCustomLookAndFeelPainter::ButtonFaceColor(AState);
}

TRect TcxUltraFlatLookAndFeelPainter::CalcButtonFocusRect(TcxCanvas*, const TRect& R) const {
  const TRect inner = cxRectInflate(R, -3, -3);
  return cxRectIsEmpty(inner) ? R : inner;
}

TRect TcxUltraFlatLookAndFeelPainter::ButtonGroupBorderWidths(Integer AButtonCount, Integer AButtonIndex) const {
  TRect widths{1, 2, 1, 2};
  if (AButtonIndex == 0)
    widths.Left = 2;
  else if (AButtonIndex == AButtonCount - 1)
    widths.Right = 2;
  return widths;
}

Integer TcxUltraFlatLookAndFeelPainter::ButtonCaptionOffset() const { return 2; }
Integer TcxUltraFlatLookAndFeelPainter::ButtonPressedShift() const { return 0; }

TColor TcxUltraFlatLookAndFeelPainter::ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor) const {
  if (AState == cxbsPressed) return clHighlightText;
  return TcxCustomLookAndFeelPainter::ButtonGlyphColor(AState, ADefaultColor);
}

TcxButtonState TcxUltraFlatLookAndFeelPainter::ButtonGlyphState(TcxButtonState) const { return cxbsNormal; }

void TcxUltraFlatLookAndFeelPainter::DrawPlainButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                     Integer AButtonCount, Integer AButtonIndex,
                                                     TColor AFrameColor) const {
  TRect r{R.Left, R.Top + 1, R.Right, R.Bottom - 1};
  if (AButtonIndex == 0) ++r.Left;
  if (AButtonIndex == AButtonCount - 1) --r.Right;
  if (AState == cxbsNormal || AState == cxbsDisabled) {
    Ring(ACanvas, r, AFrameColor);
    r = In(r);
  } else {
    if (AButtonIndex > 0) {
      FillRectWith(ACanvas, {r.Left, r.Top, r.Left + 1, r.Bottom}, HotFrameColor());
      ++r.Left;
    }
    if (AButtonIndex < AButtonCount - 1) {
      FillRectWith(ACanvas, {r.Right - 1, r.Top, r.Right, r.Bottom}, HotFrameColor());
      --r.Right;
    }
  }
  FillRectWith(ACanvas, r, ButtonFaceColor(AState));
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState) const {
  switch (AState) {
    case cxbsDefault:
      Ring(ACanvas, R, clWindowFrame);
      Ring(ACanvas, In(R), clWindowFrame);
      break;
    case cxbsNormal: Ring(ACanvas, R, clBtnText); break;
    case cxbsDisabled: Ring(ACanvas, R, clBtnShadow); break;
    default: Ring(ACanvas, R, clHighlight); break;
  }
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonOutline(TcxCanvas* ACanvas, const TRect& R, bool AStrong,
                                                       bool AHot) const {
  Ring(ACanvas, R, AStrong ? clBtnText : AHot ? HotFrameColor() : clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                          TColor AColor) const {
  Ring(ACanvas, R, clBtnShadow);
  const TRect inner = In(R);
  FillRectWith(ACanvas, inner, AColor == clDefault ? clBtnFace : AColor);
  DrawExpandMark(ACanvas, inner, clBtnText, AExpanded);
  ACanvas->ExcludeFromClip(R);
}

Integer TcxUltraFlatLookAndFeelPainter::TreeExpandButtonSize() const { return 11; }
bool TcxUltraFlatLookAndFeelPainter::ButtonsHotTrack() const { return true; }

void TcxUltraFlatLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  Ring(ACanvas, R, clBtnText);
  Ring(ACanvas, In(R), CheckBoxFillColor(AState));
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderDefault(TcxCanvas* ACanvas, const TRect& ABounds,
                                                       const TRect& ATextArea, TcxBorders ANeighbors,
                                                       TcxBorders ABorders, TcxButtonState AState,
                                                       TAlignment AAlignmentHorz,
                                                       TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                       bool AShowEndEllipsis, const std::string& AText, TFont* AFont,
                                                       TColor ATextColor, TColor ABkColor,
                                                       TcxDrawBackgroundEvent AOnDrawBackground) const {
  DrawBackgroundAndText(ACanvas, ABounds, In(ATextArea), AState, AAlignmentHorz, AAlignmentVert, AMultiLine,
                        AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground, false);
  DrawHeaderFrame(ACanvas, In(ABounds), ANeighbors, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders,
                                                     TcxBorders ABorders) const {
  ACanvas->FillBorders(R, clBtnText, 1, (ABorders * TcxBorders{bLeft, bTop}) + TcxBorders{bRight, bBottom});
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderSectionFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                                            TcxButtonState AState) const {
  ACanvas->FillBorders(R, AState == cxbsDisabled ? clBtnShadow : clBlack, 1, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderSectionContent(TcxCanvas* ACanvas, const TRect& R,
                                                              const TRect& ATextArea, TcxButtonState AState,
                                                              TAlignment AAlignmentHorz,
                                                              TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                              bool AShowEndEllipsis, const std::string& AText,
                                                              TFont* AFont, TColor ATextColor, TColor ABkColor) const {
  if (AState > cxbsNormal) ABkColor = ButtonFaceColor(AState);
  FillRectWith(ACanvas, R, ABkColor);
  ACanvas->Font()->SetColor(ATextColor);
  DrawHeaderSectionText(ACanvas, HeaderSectionTextBounds(ATextArea, AState), AState, AAlignmentHorz, AAlignmentVert,
                        AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor);
}

void TcxUltraFlatLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortMark(ACanvas, R, SortArrowSize(), clBtnShadow, clBtnShadow, AAscending);
}

TcxBorders TcxUltraFlatLookAndFeelPainter::HeaderFrameSides(TcxBorders ANeighbors) const {
  TcxBorders sides = cxBordersAll;
  if (ANeighbors.Contains(bLeft)) sides -= bLeft;
  if (ANeighbors.Contains(bTop)) sides -= bTop;
  return sides;
}

Integer TcxUltraFlatLookAndFeelPainter::HeaderFrameWidth() const { return 1; }
TPoint TcxUltraFlatLookAndFeelPainter::SortArrowSize() const { return {7, 8}; }
TcxBorders TcxUltraFlatLookAndFeelPainter::FooterFrameSides() const { return {bRight, bBottom}; }
Integer TcxUltraFlatLookAndFeelPainter::FooterFrameWidth() const { return 1; }
Integer TcxUltraFlatLookAndFeelPainter::FooterCellFrameWidth() const { return 1; }
Integer TcxUltraFlatLookAndFeelPainter::FooterCellIndent() const { return 2; }

void TcxUltraFlatLookAndFeelPainter::DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const {
  FillRectWith(ACanvas, {R.Right - 1, R.Top, R.Right, R.Bottom}, FooterLineColor());
  FillRectWith(ACanvas, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, FooterLineColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterCellFrame(TcxCanvas* ACanvas, const TRect& R) const {
  Ring(ACanvas, R, FooterLineColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                        bool AHighlighted) const {
  Ring(ACanvas, R, HotStateFrameColor(AState));
  const TRect inner = In(R);
  FillRectWith(ACanvas, inner, ButtonFaceColor(AState));
  DrawArrowInButton(ACanvas, inner, AHighlighted ? 0xFF0000 : ButtonGlyphColor(AState, clDefault));
}

TPoint TcxUltraFlatLookAndFeelPainter::CloseButtonSize() const {
  const TPoint s = TcxCustomLookAndFeelPainter::CloseButtonSize();
  return {s.X, s.Y + 1};
}

TPoint TcxUltraFlatLookAndFeelPainter::SmallButtonSize138() const {
  const TPoint s = TcxCustomLookAndFeelPainter::SmallButtonSize138();
  return {s.X - 1, s.Y - 1};
}

void TcxUltraFlatLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders,
                                                  bool AVertical) const {
  const bool shadow = AVertical ? ASide == bBottom : ASide == bRight;
  TRect r = R;
  if (shadow && !AVertical) r.Bottom -= TabFrameWidth(AVertical);
  FillRectWith(ACanvas, r, shadow ? PaletteColor160() : PaletteColor159());
}

void TcxUltraFlatLookAndFeelPainter::DrawTabStripBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                                      bool AVertical) const {
  ACanvas->DrawTwoColorFrame(R, PaletteColor159(), PaletteColor159(), ABorders, TabFrameWidth(AVertical));
}

Integer TcxUltraFlatLookAndFeelPainter::TabFrameWidth(bool) const { return 1; }

void TcxUltraFlatLookAndFeelPainter::DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                          ScrollBarPart APart, TcxButtonState AState) const {
  if (ScrollBarElementHandled(ACanvas, R, APart, AState)) return;
  FlatScrollBarElement(this, ACanvas, AHorizontal, R, APart, AState, false);
}

void TcxUltraFlatLookAndFeelPainter::DrawToolButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  DrawButtonWithCaption(ACanvas, R, "", AState, AState == cxbsHot || AState == cxbsPressed, clDefault, clDefault);
}

void TcxUltraFlatLookAndFeelPainter::DrawEdgedBar(TcxCanvas* ACanvas, const TRect& R, const TcxFillDescription& AFill,
                                                  bool AHorizontal) const {
  EdgedBar(ACanvas, R, AFill, AHorizontal, {{PaletteColor47(), PaletteColor47()}});
}

TColor TcxUltraFlatLookAndFeelPainter::HotStateFrameColor(TcxButtonState AState) const {
  return AState == cxbsNormal ? clBtnShadow : clHighlight;
}
TColor TcxUltraFlatLookAndFeelPainter::PaletteColor159() const { return clBtnShadow; }
TColor TcxUltraFlatLookAndFeelPainter::PaletteColor160() const { return clBtnText; }
TColor TcxUltraFlatLookAndFeelPainter::HotFrameColor() const { return clHighlight; }

// ---------------------------------------------------------------------------
// Office 11 painter.

TcxCustomLookAndFeelPainterClass TcxOffice11LookAndFeelPainter::Instance() {
  return ClassReference<TcxOffice11LookAndFeelPainter>();
}

void TcxOffice11LookAndFeelPainter::DrawBackgroundAndText(TcxCanvas* ACanvas, const TRect& ABounds,
                                                          const TRect& ATextArea, TcxButtonState AState,
                                                          TAlignment AAlignmentHorz,
                                                          TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                          bool AShowEndEllipsis, const std::string& AText,
                                                          TFont* AFont, TColor ATextColor, TColor,
                                                          TcxDrawBackgroundEvent AOnDrawBackground,
                                                          bool APlainBackground) const {
  HDC dc = ACanvas->DeviceContext();
  if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, ABounds)) {
    const TColor c = AState == cxbsHot ? Office11GradientFirstColor : SchemeMidColor165();
    const TColor d = AState == cxbsHot ? Office11GradientFirstColor : SchemeColor162();
    if (APlainBackground) {
      FillRectSolid(dc, ABounds, c);
    } else {
      FillRectSolid(dc, {ABounds.Left, ABounds.Top, ABounds.Right, ABounds.Bottom - 3}, c);
      FillGradientRect(dc, {ABounds.Left, ABounds.Bottom - 4, ABounds.Right, ABounds.Bottom}, c, false, d);
    }
  }
  if (!AText.empty()) {
    ACanvas->Brush()->SetStyle(bsClear);
    if (AFont) ACanvas->AssignFont(AFont);
    ACanvas->Font()->SetColor(ATextColor);
    ACanvas->DrawAlignedText(AText, ATextArea,
                             AlignmentFlags(AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis), true);
    ACanvas->Brush()->SetStyle(bsSolid);
  }
  if (AState == cxbsHot)
    FillGradientRect(dc, {ABounds.Left - 1, ABounds.Bottom - 2, ABounds.Right, ABounds.Bottom + 1},
                     Office11HotFirstColor, false, Office11HotLastColor);
}

Integer TcxOffice11LookAndFeelPainter::PainterStyle() const { return PainterStyleOffice11; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor14() const { return Office11LineColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor24() const { return Office11ShadowColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor25() const { return Office11LightColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor27() const { return PaletteColor34(); }
TColor TcxOffice11LookAndFeelPainter::PaletteColor28() const { return PaletteColor35(); }
TColor TcxOffice11LookAndFeelPainter::PaletteColor30() const { return Office11PanelColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor32() const { return Office11LineColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor33() const { return Office11GradientFirstColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor34() const { return Office11FaceColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor36() const { return PaletteColor32(); }
TColor TcxOffice11LookAndFeelPainter::HeaderAreaColor() const { return Office11FaceColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor43() const { return Office11SelectionColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor44() const { return clWindowText; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor47() const { return Office11DarkBorderColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor48() const { return Office11BackgroundColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor54() const { return Office11LightFaceColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor56() const { return PaletteColor54(); }
TColor TcxOffice11LookAndFeelPainter::PaletteColor59() const { return Office11FaceColor; }
TColor TcxOffice11LookAndFeelPainter::PaletteColor61() const { return PaletteColor48(); }

void TcxOffice11LookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  Ring(ACanvas, R, Office11BorderColor);
}

TColor TcxOffice11LookAndFeelPainter::ButtonFaceColor(TcxButtonState AState) const {
  switch (AState) {
    case cxbsHot: return Office11HotFirstColor;
    case cxbsPressed: return Office11PressedFirstColor;
    case cxbsDisabled: return clBtnFace;
    default: return Office11FaceColor;
  }
}

TColor TcxOffice11LookAndFeelPainter::ButtonGlyphColor(TcxButtonState AState, TColor) const {
  if (AState == cxbsPressed && !Office11SchemeInUse()) return clHighlightText;
  if (AState == cxbsDisabled) return Office11DisabledSymbolColor;
  return Office11SymbolColor;
}

void TcxOffice11LookAndFeelPainter::DrawButtonFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  switch (AState) {
    case cxbsDefault: TcxUltraFlatLookAndFeelPainter::DrawButtonFrame(ACanvas, R, AState); break;
    case cxbsNormal: Ring(ACanvas, R, clBtnText); break;
    case cxbsDisabled: Ring(ACanvas, R, Office11DisabledSymbolColor); break;
    default: Ring(ACanvas, R, Office11SelectionFrameColor); break;
  }
}

// The shared bitmaps take the blended corner pixels of the last call.
void TcxOffice11LookAndFeelPainter::DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                         TColor) const {
  TBitmap* bitmap = AExpanded ? Office11ExpandMinusBitmap() : Office11ExpandPlusBitmap();
  if (!bitmap) return;
  TCanvas* c = bitmap->Canvas();
  c->SetPixels(0, 0, MixColorsByPercent(Office11ExpandButtonLightColor, ACanvas->Canvas->Pixels(R.Left, R.Top), 25));
  const TColor dark = MixColorsByPercent(Office11ExpandButtonDarkColor,
                                         ACanvas->Canvas->Pixels(R.Right - 1, R.Bottom - 1), 25);
  c->SetPixels(10, 10, dark);
  c->SetPixels(0, 10, dark);
  c->SetPixels(10, 0, dark);
  ACanvas->DrawGraphic(R.Left, R.Top, bitmap);
}

bool TcxOffice11LookAndFeelPainter::ExpandButtonDrawnFirst() const { return false; }

void TcxOffice11LookAndFeelPainter::DrawSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor,
                                                          TColor AFillColor) const {
  const TRect copy = R;
  DrawTreeExpandButton(ACanvas, copy, AExpanded, AFillColor);
}

Integer TcxOffice11LookAndFeelPainter::TreeExpandButtonSize() const { return 11; }
Integer TcxOffice11LookAndFeelPainter::SmallExpandButtonSize() const { return TreeExpandButtonSize(); }

TColor TcxOffice11LookAndFeelPainter::CheckBoxFillColor(TcxButtonState AState) const {
  if (AState == cxbsHot || AState == cxbsPressed || AState == cxbsDisabled) return ButtonFaceColor(AState);
  return TcxCustomLookAndFeelPainter::CheckBoxFillColor(AState);
}

void TcxOffice11LookAndFeelPainter::DrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea,
                                               TcxBorders ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                               TAlignment AAlignmentHorz, TextVerticalAlignment AAlignmentVert,
                                               bool AMultiLine, bool AShowEndEllipsis, const std::string& AText,
                                               TFont* AFont, TColor ATextColor, TColor ABkColor,
                                               TcxDrawBackgroundEvent, bool AIsLast) const {
  TcxUltraFlatLookAndFeelPainter::DrawHeader(ACanvas, ABounds, ATextArea, ANeighbors, ABorders, AState,
                                             AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText,
                                             AFont, ATextColor, ABkColor, nullptr, AIsLast);
}

void TcxOffice11LookAndFeelPainter::DrawHeaderFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders ANeighbors,
                                                    TcxBorders ABorders) const {
  const TColor L = SchemeMidColor165(), D = SchemeColor162(), E = SchemeColor163(), S = SchemeColor164();
  if (ABorders.Contains(bTop)) FillRectWith(ACanvas, {R.Left, R.Top, R.Right, R.Top + 1}, L);
  if (ABorders.Contains(bBottom)) FillRectWith(ACanvas, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, E);
  auto column = [&](Integer x, Integer top, Integer lastRow, TColor c) {
    if (lastRow >= top) FillRectWith(ACanvas, {x, top, x + 1, lastRow + 1}, c);
  };
  if (ABorders.Contains(bLeft)) {
    const Integer x = R.Left;
    if (ANeighbors.Contains(bLeft)) {
      ACanvas->PlotPixel(x, R.Top + 1, L);
      column(x, R.Top + 2, R.Bottom - 4, S);
      ACanvas->PlotPixel(x, R.Bottom - 3, MixColorsByPercent(L, D, 25));
    } else {
      column(x, R.Top + 1, R.Bottom - 3, S);
    }
    ACanvas->PlotPixel(x, R.Bottom - 2, D);
  }
  if (ABorders.Contains(bRight)) {
    const Integer x = R.Right - 1;
    if (ANeighbors.Contains(bRight)) {
      ACanvas->PlotPixel(x, R.Top + 1, L);
      column(x, R.Top + 2, R.Bottom - 4, E);
      ACanvas->PlotPixel(x, R.Bottom - 3, MixColorsByPercent(L, D, 25));
      ACanvas->PlotPixel(x, R.Bottom - 2, D);
    } else {
      ACanvas->PlotPixel(x, R.Top, MixColorsByPercent(L, E, 50));
      column(x, R.Top + 1, R.Bottom - 3, E);
      ACanvas->PlotPixel(x, R.Bottom - 2, MixColorsByPercent(D, E, 50));
    }
  }
}

void TcxOffice11LookAndFeelPainter::DrawHeaderSectionItem(TcxCanvas* ACanvas, const TRect& ABounds,
                                                          const TRect& ATextArea, TcxBorders ANeighbors,
                                                          TcxBorders ABorders, TcxButtonState AState,
                                                          TAlignment AAlignmentHorz,
                                                          TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                          bool AShowEndEllipsis, const std::string& AText,
                                                          TFont* AFont, TColor ATextColor, TColor ABkColor) const {
  DrawHeader(ACanvas, ABounds, ATextArea, ANeighbors, ABorders, AState, AAlignmentHorz, AAlignmentVert, AMultiLine,
             AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, nullptr, false);
  if (AState == cxbsPressed) InvertHeaderArea(ACanvas, ABounds);
}

void TcxOffice11LookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortMark(ACanvas, R, SortArrowSize(), SchemeColor164(), SchemeColor163(), AAscending);
}

TcxBorders TcxOffice11LookAndFeelPainter::HeaderFrameSides(TcxBorders) const { return cxBordersAll; }
Integer TcxOffice11LookAndFeelPainter::HeaderFrameWidth() const { return 1; }
bool TcxOffice11LookAndFeelPainter::HeaderSwitch115() const { return true; }
TColor TcxOffice11LookAndFeelPainter::FooterLineColor() const { return SchemeColor163(); }

void TcxOffice11LookAndFeelPainter::DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                         ScrollBarPart APart, TcxButtonState AState) const {
  if (AreThemesAvailable(ThemeClassMask(ThemeClassScrollBar)))
    TcxWinXPLookAndFeelPainter::Instance()->DrawScrollBarElement(ACanvas, AHorizontal, R, APart, AState);
  else
    TcxStandardLookAndFeelPainter::Instance()->DrawScrollBarElement(ACanvas, AHorizontal, R, APart, AState);
}

void TcxOffice11LookAndFeelPainter::DrawHeaderWithArrows(TcxCanvas* ACanvas, const TRect& R, const std::string& AText,
                                                         TcxBorders, const TcxViewParams& AViewParams,
                                                         TcxHeaderArrows AArrows, Integer AArrowIndent,
                                                         TcxDrawBackgroundEvent AOnDrawBackground) const {
  const TRect inner = In(R);
  if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, inner))
    ACanvas->FrameAndFill(inner, {AViewParams.Color, AViewParams.Bitmap});
  if (!AText.empty()) {
    ACanvas->Brush()->SetStyle(bsClear);
    if (AViewParams.Font) ACanvas->AssignFont(AViewParams.Font);
    ACanvas->Font()->SetColor(AViewParams.TextColor);
    ACanvas->DrawAlignedText(AText, inner, TextHCenter | TextVCenter | TextSingleLine, true);
    ACanvas->Brush()->SetStyle(bsSolid);
  }
  DrawSideArrows(ACanvas, R, ControlBorderWidth(), AArrows, AArrowIndent, clWindowText);
}

void TcxOffice11LookAndFeelPainter::DrawPanelBorder(TcxCanvas* ACanvas, TRect R) const {
  Ring(ACanvas, R, PaletteColor47());
}

void TcxOffice11LookAndFeelPainter::DrawToolButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  const TRect copy = R;
  TcxWinXPLookAndFeelPainter::Instance()->DrawToolButton(ACanvas, copy, AState);
}

TColor TcxOffice11LookAndFeelPainter::HotStateFrameColor(TcxButtonState AState) const {
  return AState == cxbsNormal ? SchemeColor163() : Office11SelectionFrameColor;
}
TColor TcxOffice11LookAndFeelPainter::PaletteColor159() const { return SchemeColor163(); }
TColor TcxOffice11LookAndFeelPainter::PaletteColor160() const { return clBtnText; }
TColor TcxOffice11LookAndFeelPainter::HotFrameColor() const { return Office11SelectionFrameColor; }
TColor TcxOffice11LookAndFeelPainter::SchemeColor162() const { return Office11GradientLastColor; }
TColor TcxOffice11LookAndFeelPainter::SchemeColor163() const { return Office11SecondGradientFirstColor; }
TColor TcxOffice11LookAndFeelPainter::SchemeColor164() const { return Office11SecondGradientLastColor; }
TColor TcxOffice11LookAndFeelPainter::SchemeMidColor165() const {
  return MixColorsByPercent(Office11GradientFirstColor, Office11GradientLastColor, 50);
}

// ---------------------------------------------------------------------------
// Native visual-style painter.

namespace {

HTHEME Theme(int AClass) { return OpenThemeByIndex(AClass); }

// The four state maps of the visual-style library that differ from the
// button's, indexed by TcxButtonState.
constexpr int kButtonStates[5] = {5, 1, 2, 3, 4};
constexpr int kHeaderStates[5] = {1, 1, 2, 3, 1};
constexpr int kPlainStates[5] = {1, 1, 2, 3, 4};  // close button, drop-down, tab, scroll thumb and track
constexpr int kToolStates[5] = {2, 2, 5, 3, 4};
// The group toggle's default and disabled states are not defined by the
// library's schema: they draw as normal.
constexpr int kGroupToggleStates[5] = {1, 1, 2, 3, 1};

int CheckState(TcxButtonState AState, bool AChecked) {
  const int unchecked[5] = {1, 1, 2, 3, 4};
  return unchecked[AState] + (AChecked ? 4 : 0);
}

// Margins of a part: the content rectangle of (0, 0, 100, 100).
TRect ContentMargins(HTHEME ATheme, HDC DC, int APart, int AState, bool* AOk = nullptr) {
  RECT content{};
  const RECT bounds{0, 0, 100, 100};
  const HRESULT hr = UxGetThemeBackgroundContentRect(ATheme, DC, APart, AState, bounds, content);
  if (AOk) *AOk = SUCCEEDED(hr);
  if (FAILED(hr)) return {0, 0, 0, 0};
  return {content.left, content.top, 100 - content.right, 100 - content.bottom};
}

TPoint PartSize(HTHEME ATheme, HDC DC, int APart, int AState, TPoint AFallback) {
  SIZE s{};
  if (FAILED(UxGetThemePartSize(ATheme, DC, APart, AState, TS_TRUE, s))) return AFallback;
  return {s.cx, s.cy};
}

}  // namespace

int ThemeButtonState(TcxButtonState AState) { return kButtonStates[AState]; }

int ScrollArrowThemeState(ArrowDirection ADirection, TcxButtonState AState) {
  return 4 * static_cast<int>(ADirection) + kPlainStates[AState];
}

TcxCustomLookAndFeelPainterClass TcxWinXPLookAndFeelPainter::Instance() {
  return ClassReference<TcxWinXPLookAndFeelPainter>();
}
Integer TcxWinXPLookAndFeelPainter::PainterStyle() const { return PainterStyleNative; }
TColor TcxWinXPLookAndFeelPainter::PaletteColor16() const { return 0x800000; }

// Without the ComboBox class the standard painter's shadow colour is used.
TColor TcxWinXPLookAndFeelPainter::PaletteColor47() const {
  COLORREF color = 0;
  if (HTHEME t = Theme(ThemeClassComboBox); t && SUCCEEDED(UxGetThemeColor(t, 1, 1, TMT_BORDERCOLOR, color)))
    return static_cast<TColor>(color);
  return clBtnShadow;
}

TColor TcxWinXPLookAndFeelPainter::PaletteColor49() const { return 0xD5FFFF; }

void TcxWinXPLookAndFeelPainter::DrawFilledArrow(TcxCanvas* ACanvas, const TRect& R, ArrowDirection ADirection,
                                                 TColor AColor) const {
  TcxCustomLookAndFeelPainter::DrawFilledArrow(ACanvas, R, ADirection, AColor);
}

void TcxWinXPLookAndFeelPainter::DrawArrowButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                 ArrowDirection ADirection, bool ABordered) const {
  if (HTHEME t = Theme(ThemeClassScrollBar))
    UxDrawThemeBackground(t, ACanvas->DeviceContext(), 1, ScrollArrowThemeState(ADirection, AState), R);
  else
    TcxCustomLookAndFeelPainter::DrawArrowButton(ACanvas, R, AState, ADirection, ABordered);
}

void TcxWinXPLookAndFeelPainter::DrawButtonFace(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  if (HTHEME t = Theme(ThemeClassButton))
    UxDrawThemeBackground(t, ACanvas->DeviceContext(), 1, ThemeButtonState(AState), R);
  else
    TcxCustomLookAndFeelPainter::DrawButtonFace(ACanvas, R, AState);
}

Integer TcxWinXPLookAndFeelPainter::ControlBorderWidth() const {
  return Theme(ThemeClassListView) ? 1 : TcxStandardLookAndFeelPainter::ControlBorderWidth();
}

void TcxWinXPLookAndFeelPainter::DrawControlBorder(TcxCanvas* ACanvas, const TRect& R) const {
  HTHEME t = Theme(ThemeClassListView);
  if (!t) {
    TcxStandardLookAndFeelPainter::DrawControlBorder(ACanvas, R);
    return;
  }
  SavedDc saved(ACanvas->DeviceContext());
  ACanvas->ExcludeFromClip(cxRectInflate(R, -1, -1));
  UxDrawThemeBackground(t, ACanvas->DeviceContext(), 5, 0, R);
}

TRect TcxWinXPLookAndFeelPainter::GroupButtonContentRect(const TRect& R, Integer AButtonCount,
                                                         Integer AButtonIndex) const {
  TRect result = TcxStandardLookAndFeelPainter::GroupButtonContentRect(R, AButtonCount, AButtonIndex);
  if (HTHEME t = Theme(ThemeClassButton); t && UxIsThemeBackgroundPartiallyTransparent(t, 1, 1))
    result = cxRectInflate(result, 1, 1);
  return result;
}

// Without the Button class: the standard width of a normal button, whatever
// the state.
Integer TcxWinXPLookAndFeelPainter::ButtonBorderWidth(TcxButtonState AState) const {
  HTHEME t = Theme(ThemeClassButton);
  if (!t) return TcxStandardLookAndFeelPainter::ButtonBorderWidth(cxbsNormal);
  TcxScreenCanvas screen;
  return ContentMargins(t, screen.DeviceContext(), 1, ThemeButtonState(AState)).Left;
}

TColor TcxWinXPLookAndFeelPainter::ButtonFaceColor(TcxButtonState AState) const {
  COLORREF color = 0;
  if (HTHEME t = Theme(ThemeClassButton); t && SUCCEEDED(UxGetThemeColor(t, 1, ThemeButtonState(AState), 204, color)))
    return static_cast<TColor>(color);
  return TcxCustomLookAndFeelPainter::ButtonFaceColor(AState);
}

TRect TcxWinXPLookAndFeelPainter::CalcButtonFocusRect(TcxCanvas* ACanvas, const TRect& R) const {
  if (HTHEME t = Theme(ThemeClassButton)) {
    const RECT bounds = cxRECT(R);
    RECT content{};
    if (SUCCEEDED(UxGetThemeBackgroundContentRect(t, ACanvas ? ACanvas->DeviceContext() : nullptr, 1, 1, bounds,
                                                  content)))
      return cxRect(content);
  }
  return TcxCustomLookAndFeelPainter::CalcButtonFocusRect(ACanvas, R);
}

// Without the Button class: the standard painter's widths.
TRect TcxWinXPLookAndFeelPainter::ButtonGroupBorderWidths(Integer AButtonCount, Integer AButtonIndex) const {
  HTHEME t = Theme(ThemeClassButton);
  if (!t) return TcxStandardLookAndFeelPainter::Instance()->ButtonGroupBorderWidths(AButtonCount, AButtonIndex);
  TcxScreenCanvas screen;
  return ContentMargins(t, screen.DeviceContext(), 1, 1);
}

Integer TcxWinXPLookAndFeelPainter::ButtonCaptionOffset() const { return 2; }
Integer TcxWinXPLookAndFeelPainter::ButtonPressedShift() const { return 0; }

TColor TcxWinXPLookAndFeelPainter::ButtonGlyphColor(TcxButtonState AState, TColor ADefaultColor) const {
  COLORREF color = 0;
  if (HTHEME t = Theme(ThemeClassButton);
      t && SUCCEEDED(UxGetThemeColor(t, 1, ThemeButtonState(AState), TMT_TEXTCOLOR, color)))
    return static_cast<TColor>(color);
  return TcxCustomLookAndFeelPainter::ButtonGlyphColor(AState, ADefaultColor);
}

void TcxWinXPLookAndFeelPainter::DrawButtonWithCaption(TcxCanvas* ACanvas, const TRect& R,
                                                       const std::string& ACaption, TcxButtonState AState,
                                                       bool ABordered, TColor AFaceColor, TColor ATextColor) const {
  HTHEME t = Theme(ThemeClassButton);
  if (!t) {
    TcxCustomLookAndFeelPainter::DrawButtonWithCaption(ACanvas, R, ACaption, AState, ABordered, AFaceColor,
                                                       ATextColor);
    return;
  }
  HDC dc = ACanvas->DeviceContext();
  UxDrawThemeBackground(t, dc, 1, ThemeButtonState(AState), R);
  if (!ACaption.empty())
    UxDrawThemeText(t, dc, 1, ThemeButtonState(AState), ACaption, -1, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0,
                    cxRECT(R));
}

void TcxWinXPLookAndFeelPainter::DrawTreeExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                      TColor AColor) const {
  HTHEME t = Theme(ThemeClassTreeView);
  if (!t) {
    TcxStandardLookAndFeelPainter::DrawTreeExpandButton(ACanvas, R, AExpanded, AColor);
    return;
  }
  UxDrawThemeBackground(t, ACanvas->DeviceContext(), 2, AExpanded ? 2 : 1, R);
  ACanvas->ExcludeFromClip(R);
}

bool TcxWinXPLookAndFeelPainter::ExpandButtonDrawnFirst() const { return false; }

void TcxWinXPLookAndFeelPainter::DrawGroupToggleButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                       TcxButtonState AState) const {
  HTHEME t = Theme(ThemeClassExplorerBar);
  if (!t) {
    TcxStandardLookAndFeelPainter::DrawGroupToggleButton(ACanvas, R, AExpanded, AState);
    return;
  }
  UxDrawThemeBackground(t, ACanvas->DeviceContext(), AExpanded ? 6 : 7, kGroupToggleStates[AState], R);
}

// Without the TreeView class the base box is framed in the fill colour and
// left unfilled.
void TcxWinXPLookAndFeelPainter::DrawSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor,
                                                       TColor AFillColor) const {
  if (Theme(ThemeClassTreeView)) {
    const TRect copy = R;
    DrawTreeExpandButton(ACanvas, copy, AExpanded, clDefault);
  } else {
    TcxCustomLookAndFeelPainter::DrawSmallExpandButton(ACanvas, R, AExpanded, AFillColor, clDefault);
  }
}

Integer TcxWinXPLookAndFeelPainter::TreeExpandButtonSize() const {
  if (HTHEME t = Theme(ThemeClassTreeView)) {
    TcxScreenCanvas screen;
    return PartSize(t, screen.DeviceContext(), 2, 2, {12, 12}).X;
  }
  return TcxStandardLookAndFeelPainter::TreeExpandButtonSize();
}

Integer TcxWinXPLookAndFeelPainter::GroupToggleButtonSize() const {
  if (HTHEME t = Theme(ThemeClassExplorerBar)) {
    TcxScreenCanvas screen;
    return PartSize(t, screen.DeviceContext(), 7, 1, {15, 15}).X;
  }
  return TcxCustomLookAndFeelPainter::GroupToggleButtonSize();
}

bool TcxWinXPLookAndFeelPainter::ButtonsHotTrack() const { return true; }

bool TcxWinXPLookAndFeelPainter::IsPointInGroupToggleButton(const TRect& R, const TPoint& P) const {
  HTHEME t = Theme(ThemeClassExplorerBar);
  if (!t) return TcxCustomLookAndFeelPainter::IsPointInGroupToggleButton(R, P);
  HRGN region = nullptr;
  UxGetThemeBackgroundRegion(t, nullptr, 7, 1, cxRECT(R), region);
  OwnedGdiObject owned(region);
  return region && PtInRegion(region, P.X, P.Y);
}

Integer TcxWinXPLookAndFeelPainter::SmallExpandButtonSize() const {
  return Theme(ThemeClassTreeView) ? TreeExpandButtonSize() : TcxCustomLookAndFeelPainter::SmallExpandButtonSize();
}

Integer TcxWinXPLookAndFeelPainter::CheckBorderWidth() const {
  return Theme(ThemeClassButton) ? 0 : TcxCustomLookAndFeelPainter::CheckBorderWidth();
}

void TcxWinXPLookAndFeelPainter::DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               bool AChecked, TColor AColor) const {
  if (HTHEME t = Theme(ThemeClassButton))
    UxDrawThemeBackground(t, ACanvas->DeviceContext(), 3, CheckState(AState, AChecked), R);
  else
    TcxCustomLookAndFeelPainter::DrawCheckMark(ACanvas, R, AState, AChecked, AColor);
}

void TcxWinXPLookAndFeelPainter::DrawCheckFrame(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  if (!Theme(ThemeClassButton)) TcxStandardLookAndFeelPainter::DrawCheckFrame(ACanvas, R, AState);
}

// Without the Button class the suite's own radio image is drawn.
void TcxWinXPLookAndFeelPainter::DrawRadioButton(TcxCanvas* ACanvas, Integer X, Integer Y, TcxButtonState AState,
                                                 bool AChecked, bool AForcedHighlight, TColor ABkColor,
                                                 bool AFocusHighlight) const {
  HTHEME t = Theme(ThemeClassButton);
  if (!t) {
    TcxCustomLookAndFeelPainter::DrawRadioButton(ACanvas, X, Y, AState, AChecked, AForcedHighlight, ABkColor,
                                                 AFocusHighlight);
    return;
  }
  const int state = CheckState(AState, AChecked);
  const TPoint size = PartSize(t, ACanvas->DeviceContext(), 2, state, {13, 13});
  UxDrawThemeBackground(t, ACanvas->DeviceContext(), 2, state, TRect{X, Y, X + size.X, Y + size.Y});
}

void TcxWinXPLookAndFeelPainter::DrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextArea,
                                            TcxBorders ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                            TAlignment AAlignmentHorz, TextVerticalAlignment AAlignmentVert,
                                            bool AMultiLine, bool AShowEndEllipsis, const std::string& AText,
                                            TFont* AFont, TColor ATextColor, TColor ABkColor,
                                            TcxDrawBackgroundEvent AOnDrawBackground, bool AIsLast) const {
  HTHEME t = Theme(ThemeClassHeader);
  if (!t) {
    TcxCustomLookAndFeelPainter::DrawHeader(ACanvas, ABounds, ATextArea, ANeighbors, ABorders, AState,
                                            AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText,
                                            AFont, ATextColor, ABkColor, AOnDrawBackground, AIsLast);
    return;
  }
  const int state = kHeaderStates[AState];
  const TOffice11Scheme scheme = CurrentOffice11ColorScheme();
  const int part =
      AIsLast && state == 1 && (scheme == Office11SchemeBlue || scheme == Office11SchemeOlive) ? 3 : 1;
  UxDrawThemeBackground(t, ACanvas->DeviceContext(), part, state, ABounds);
  const TRect text = AState == cxbsPressed ? cxRectOffset(ATextArea, 1, 1) : ATextArea;
  DrawThemedCaptionText(ACanvas, t, part, state, ABounds, text, AAlignmentHorz, AAlignmentVert, AMultiLine,
                        AShowEndEllipsis, false, AText, AFont, ATextColor, ABkColor);
}

void TcxWinXPLookAndFeelPainter::InvertHeaderArea(TcxCanvas*, const TRect&) const {}

void TcxWinXPLookAndFeelPainter::DrawHeaderSectionItem(TcxCanvas* ACanvas, const TRect& ABounds,
                                                       const TRect& ATextArea, TcxBorders ANeighbors,
                                                       TcxBorders ABorders, TcxButtonState AState,
                                                       TAlignment AAlignmentHorz,
                                                       TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                       bool AShowEndEllipsis, const std::string& AText, TFont* AFont,
                                                       TColor ATextColor, TColor ABkColor) const {
  FillRectWith(ACanvas, ABounds, clBtnFace);
  DrawHeader(ACanvas, ABounds, ATextArea, ANeighbors, ABorders, AState, AAlignmentHorz, AAlignmentVert, AMultiLine,
             AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, nullptr, false);
}

void TcxWinXPLookAndFeelPainter::DrawSortArrow(TcxCanvas* ACanvas, const TRect& R, bool AAscending) const {
  DrawSortMark(ACanvas, R, SortArrowSize(), clBtnShadow, clBtnShadow, AAscending);
}

Integer TcxWinXPLookAndFeelPainter::HeaderFrameWidth() const {
  HTHEME t = Theme(ThemeClassHeader);
  if (!t) return TcxStandardLookAndFeelPainter::HeaderFrameWidth();
  TcxScreenCanvas screen;
  const TRect m = ContentMargins(t, screen.DeviceContext(), 1, 1);
  return (m.Left + m.Top) / 2;
}

bool TcxWinXPLookAndFeelPainter::HeaderSwitch109() const { return false; }
Integer TcxWinXPLookAndFeelPainter::HeaderSectionFrameWidth(TcxButtonState) const { return HeaderFrameWidth(); }

TRect TcxWinXPLookAndFeelPainter::HeaderSectionContentRect(const TRect& R, TcxButtonState AState) const {
  if (!Theme(ThemeClassHeader)) return TcxCustomLookAndFeelPainter::HeaderSectionContentRect(R, AState);
  const Integer w = HeaderFrameWidth();
  return cxRectInflate(R, -w, -w);
}

bool TcxWinXPLookAndFeelPainter::HeaderSwitch115() const { return true; }
TPoint TcxWinXPLookAndFeelPainter::SortArrowSize() const { return {7, 8}; }

void TcxWinXPLookAndFeelPainter::DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                                                TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                const std::string& AText, TFont* AFont, TColor ATextColor,
                                                TColor ABkColor, TcxDrawBackgroundEvent AOnDrawBackground) const {
  HTHEME t = Theme(ThemeClassTrackBar);
  if (!t) {
    TcxCustomLookAndFeelPainter::DrawFooterCell(ACanvas, ABounds, AAlignmentHorz, AAlignmentVert, AMultiLine, AText,
                                                AFont, ATextColor, ABkColor, AOnDrawBackground);
    return;
  }
  UxDrawThemeBackground(t, ACanvas->DeviceContext(), 1, 1, ABounds);
  DrawThemedCaptionText(ACanvas, t, 1, 1, ABounds, FooterCellTextRect(ABounds), AAlignmentHorz, AAlignmentVert,
                        AMultiLine, false, false, AText, AFont, ATextColor, ABkColor);
}

Integer TcxWinXPLookAndFeelPainter::FooterFrameWidth() const {
  return Theme(ThemeClassEdit) ? 1 : TcxStandardLookAndFeelPainter::FooterFrameWidth();
}

Integer TcxWinXPLookAndFeelPainter::FooterCellFrameWidth() const {
  HTHEME t = Theme(ThemeClassTrackBar);
  if (!t) return TcxStandardLookAndFeelPainter::FooterCellFrameWidth();
  TcxScreenCanvas screen;
  return ContentMargins(t, screen.DeviceContext(), 1, 1).Left;
}

Integer TcxWinXPLookAndFeelPainter::FooterCellIndent() const {
  return Theme(ThemeClassTrackBar) ? 1 : TcxStandardLookAndFeelPainter::FooterCellIndent();
}

bool TcxWinXPLookAndFeelPainter::FooterSwitch123() const { return false; }

void TcxWinXPLookAndFeelPainter::DrawFooterFrame(TcxCanvas* ACanvas, const TRect& R) const {
  if (HTHEME t = Theme(ThemeClassEdit))
    UxDrawThemeEdge(t, ACanvas->DeviceContext(), 0, 0, cxRECT(R), BDR_RAISEDINNER, BF_RECT, nullptr);
  else
    TcxStandardLookAndFeelPainter::DrawFooterFrame(ACanvas, R);
}

void TcxWinXPLookAndFeelPainter::PaintCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  if (HTHEME t = Theme(ThemeClassWindow))
    UxDrawThemeBackground(t, ACanvas->DeviceContext(), 19, kPlainStates[AState], R);
  else
    TcxCustomLookAndFeelPainter::PaintCloseButton(ACanvas, R, AState);
}

void TcxWinXPLookAndFeelPainter::DrawDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                    bool AHighlighted) const {
  if (HTHEME t = Theme(ThemeClassComboBox))
    UxDrawThemeBackground(t, ACanvas->DeviceContext(), 1, kPlainStates[AState], R);
  else
    TcxStandardLookAndFeelPainter::DrawDropDownButton(ACanvas, R, AState, AHighlighted);
}

TPoint TcxWinXPLookAndFeelPainter::PlusButtonSize() const {
  const TPoint base = TcxCustomLookAndFeelPainter::PlusButtonSize();
  HTHEME t = Theme(ThemeClassButton);
  if (!t) return base;
  TcxScreenCanvas screen;
  return PartSize(t, screen.DeviceContext(), 3, 5, base);
}

TPoint TcxWinXPLookAndFeelPainter::CloseButtonSize() const {
  HTHEME t = Theme(ThemeClassWindow);
  if (!t) return TcxCustomLookAndFeelPainter::CloseButtonSize();
  TcxScreenCanvas screen;
  const TPoint s = PartSize(t, screen.DeviceContext(), 19, 1, {12, 10});
  return {s.X + 4, s.Y + 4};
}

TPoint TcxWinXPLookAndFeelPainter::SmallButtonSize138() const {
  const TPoint s = TcxCustomLookAndFeelPainter::SmallButtonSize138();
  return {s.X + 2, s.Y + 2};
}

TPoint TcxWinXPLookAndFeelPainter::AutoHideButtonSize() const {
  const TPoint base = TcxCustomLookAndFeelPainter::AutoHideButtonSize();
  HTHEME t = Theme(ThemeClassExplorerBar);
  if (!t) return base;
  TcxScreenCanvas screen;
  return PartSize(t, screen.DeviceContext(), 3, 1, base);
}

void TcxWinXPLookAndFeelPainter::DrawPlusButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  HTHEME t = Theme(ThemeClassButton);
  if (!t) {
    TcxCustomLookAndFeelPainter::DrawPlusButton(ACanvas, R, AState);
    return;
  }
  UxDrawThemeBackground(t, ACanvas->DeviceContext(), 1, ThemeButtonState(AState), R);
  TRect glyph = cxRectInflate(R, -2, -2);
  if (AState == cxbsDisabled) glyph = cxRectOffset(glyph, 1, 1);
  TcxStandardLookAndFeelPainter::DrawPlusGlyph(ACanvas, glyph, AState);
}

void TcxWinXPLookAndFeelPainter::DrawAutoHideButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                    bool AAutoHideOff, TColor ABkColor) const {
  HTHEME t = Theme(ThemeClassExplorerBar);
  if (!t) {
    TcxCustomLookAndFeelPainter::DrawAutoHideButton(ACanvas, R, AState, AAutoHideOff, ABkColor);
    return;
  }
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(R.Width(), R.Height());
  bitmap.Canvas()->Brush()->SetColor(ABkColor);
  bitmap.Canvas()->FillRect({0, 0, R.Width(), R.Height()});
  UxDrawThemeBackground(t, bitmap.Canvas()->Handle(), 3, kHeaderStates[AState], TRect{0, 0, R.Width(), R.Height()});
  if (!AAutoHideOff) ACanvas->RotateBitmap(&bitmap, 1, false);
  ACanvas->DrawGraphic(R.Left, R.Top, &bitmap);
}

void TcxWinXPLookAndFeelPainter::DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ASides,
                                         const std::string& AText, TcxButtonState AState, bool AVertical,
                                         TFont* AFont, TColor ATextColor, TColor ABkColor, bool AShowPrefix) const {
  HTHEME t = Theme(ThemeClassTab);
  if (!t) {
    TcxCustomLookAndFeelPainter::DrawTab(ACanvas, R, ASides, AText, AState, AVertical, AFont, ATextColor, ABkColor,
                                         AShowPrefix);
    return;
  }
  TRect r = R;
  TPoint origin{0, 0};
  std::unique_ptr<TBitmap> bitmap;
  HDC dc = ACanvas->DeviceContext();
  if (AVertical) {
    origin = {r.Left, r.Top};
    r = {0, 0, r.Height(), r.Width()};
    bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(r.Right, r.Bottom);
    dc = bitmap->Canvas()->Handle();
  }
  TRect d = r;
  if (!ASides.Contains(AVertical ? bTop : bLeft)) d.Left = r.Left - 2;
  if (!ASides.Contains(AVertical ? bBottom : bRight)) d.Right = r.Right + 2;
  if (AState == cxbsPressed)
    ++d.Bottom;
  else
    --r.Bottom;
  UxDrawThemeBackground(t, dc, 1, kPlainStates[AState], d, r);
  if (AVertical) {
    ACanvas->RotateBitmap(bitmap.get(), 1, true);
    std::swap(r.Right, r.Bottom);
    std::swap(d.Right, d.Bottom);
    ACanvas->CopyRectFrom({origin.X, origin.Y, origin.X + r.Width(), origin.Y + r.Height()}, bitmap->Canvas(), r);
    bitmap.reset();
    r = cxRectOffset(r, origin.X, origin.Y);
    d = cxRectOffset(d, origin.X, origin.Y);
  }
  if (AState == cxbsPressed) {
    if (AVertical)
      d.Right -= 2;
    else
      d.Bottom -= 2;
  }
  DrawThemedCaptionText(ACanvas, t, 1, kPlainStates[AState], r, d, taCenter, VAlignCenter, false, false, AShowPrefix,
                        AText, AFont, ATextColor, ABkColor);
}

void TcxWinXPLookAndFeelPainter::DrawTabFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorder ASide, TcxBorders ASides,
                                              bool AVertical) const {
  if (!Theme(ThemeClassTab)) TcxStandardLookAndFeelPainter::DrawTabFrame(ACanvas, R, ASide, ASides, AVertical);
}

void TcxWinXPLookAndFeelPainter::DrawTabStripBase(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                                  bool AVertical) const {
  HTHEME t = Theme(ThemeClassTab);
  if (!t) {
    TcxStandardLookAndFeelPainter::DrawTabStripBase(ACanvas, R, ABorders, AVertical);
    return;
  }
  const TRect k = UxGetThemeBackgroundContentRect(t, nullptr, 9, 0, R);
  TRect p = R;
  if (AVertical) {
    p.Right = R.Right + 10;
    p.Bottom = R.Bottom + (R.Bottom - k.Bottom) - (k.Top - R.Top);
  } else {
    p.Bottom = R.Bottom + 10;
    p.Right = R.Right + (R.Right - k.Right) - (k.Left - R.Left);
  }
  UxDrawThemeBackground(t, ACanvas->DeviceContext(), 9, 0, p, R);
}

Integer TcxWinXPLookAndFeelPainter::TabExtraOffset147(bool AVertical) const {
  return Theme(ThemeClassTab) ? 1 : TcxCustomLookAndFeelPainter::TabExtraOffset147(AVertical);
}

Integer TcxWinXPLookAndFeelPainter::TabExtraOffset148(bool AVertical) const {
  return Theme(ThemeClassTab) ? 1 : TcxCustomLookAndFeelPainter::TabExtraOffset148(AVertical);
}

Integer TcxWinXPLookAndFeelPainter::TabFrameWidth(bool AVertical) const {
  return Theme(ThemeClassTab) ? 1 : TcxStandardLookAndFeelPainter::TabFrameWidth(AVertical);
}

// Drawn by the flat painter's operations.
void TcxWinXPLookAndFeelPainter::DrawIndicatorCell(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                                   TColor ABkColor, TcxDrawBackgroundEvent AOnDrawBackground) const {
  TcxFlatLookAndFeelPainter::Instance()->DrawIndicatorCell(ACanvas, R, AKind, ABkColor, AOnDrawBackground);
}

void TcxWinXPLookAndFeelPainter::DrawScrollBarElement(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                                      ScrollBarPart APart, TcxButtonState AState) const {
  if (cxRectIsEmpty(R) || APart == ScrollBarPartNone) return;
  HTHEME t = Theme(ThemeClassScrollBar);
  if (!t) {
    TcxStandardLookAndFeelPainter::DrawScrollBarElement(ACanvas, AHorizontal, R, APart, AState);
    return;
  }
  HDC dc = ACanvas->DeviceContext();
  switch (APart) {
    case ScrollBarPartLineUp:
    case ScrollBarPartLineDown:
      DrawArrowButton(ACanvas, R, AState, ScrollBarArrowDirection(AHorizontal, APart), true);
      break;
    case ScrollBarPartThumb:
      UxDrawThemeBackground(t, dc, AHorizontal ? 2 : 3, kPlainStates[AState], R);
      UxDrawThemeBackground(t, dc, AHorizontal ? 8 : 9, 0, R);
      break;
    default: {
      const int part = AHorizontal ? (APart == ScrollBarPartPageUp ? 4 : 5) : (APart == ScrollBarPartPageUp ? 6 : 7);
      UxDrawThemeBackground(t, dc, part, kPlainStates[AState], R);
      break;
    }
  }
}

void TcxWinXPLookAndFeelPainter::DrawHeaderWithArrows(TcxCanvas* ACanvas, const TRect& R, const std::string& AText,
                                                      TcxBorders ANeighbors, const TcxViewParams& AViewParams,
                                                      TcxHeaderArrows AArrows, Integer AArrowIndent,
                                                      TcxDrawBackgroundEvent AOnDrawBackground) const {
  DrawHeader(ACanvas, R, R, ANeighbors, cxBordersAll, cxbsNormal, taCenter, VAlignCenter, false, false, AText,
             AViewParams.Font, AViewParams.TextColor, AViewParams.Color, AOnDrawBackground,
             !ANeighbors.Contains(bRight));
  DrawSideArrows(ACanvas, R, ControlBorderWidth(), AArrows, AArrowIndent, clWindowText);
}

void TcxWinXPLookAndFeelPainter::DrawToolButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) const {
  if (HTHEME t = Theme(ThemeClassToolBar))
    UxDrawThemeBackground(t, ACanvas->DeviceContext(), 1, kToolStates[AState], R);
  else
    TcxCustomLookAndFeelPainter::DrawToolButton(ACanvas, R, AState);
}

void TcxWinXPLookAndFeelPainter::DrawEdgedBar(TcxCanvas* ACanvas, const TRect& R, const TcxFillDescription& AFill,
                                              bool AHorizontal) const {
  HTHEME combo = Theme(ThemeClassComboBox);
  if (!combo || !Theme(ThemeClassListView)) {
    TcxStandardLookAndFeelPainter::Instance()->DrawEdgedBar(ACanvas, R, AFill, AHorizontal);
    return;
  }
  COLORREF color = ColorToRGB(clBtnShadow);
  UxGetThemeColor(combo, 1, 1, TMT_BORDERCOLOR, color);
  EdgedBar(ACanvas, R, AFill, AHorizontal, {{static_cast<TColor>(color), static_cast<TColor>(color)}});
}

void TcxWinXPLookAndFeelPainter::DrawThemedCaptionText(TcxCanvas* ACanvas, HTHEME ATheme, int APart, int AState,
                                                       const TRect&, const TRect& ATextRect, TAlignment AAlignmentHorz,
                                                       TextVerticalAlignment AAlignmentVert, bool AMultiLine,
                                                       bool AShowEndEllipsis, bool AShowPrefix,
                                                       const std::string& AText, TFont* AFont, TColor ATextColor,
                                                       TColor) const {
  if (AText.empty()) return;
  TRect r = ATextRect;
  if (AFont) ACanvas->AssignFont(AFont);
  ACanvas->Font()->SetColor(ATextColor);
  if (AMultiLine) ACanvas->CalcMultiLineTextTop(r, AText, AAlignmentVert, true, AShowPrefix, true);
  DWORD flags = DT_EDITCONTROL;
  flags |= AAlignmentHorz == taRightJustify ? DT_RIGHT : AAlignmentHorz == taCenter ? DT_CENTER : DT_LEFT;
  flags |= AAlignmentVert == VAlignBottom ? DT_BOTTOM : AAlignmentVert == VAlignCenter ? DT_VCENTER : DT_TOP;
  flags |= AMultiLine ? DT_WORDBREAK : DT_SINGLELINE;
  if (AShowEndEllipsis) flags |= DT_END_ELLIPSIS;
  if (!AShowPrefix) flags |= DT_NOPREFIX;
  ACanvas->Canvas->RequiredState();
  UxDrawThemeText(ATheme, ACanvas->DeviceContext(), APart, AState, AText, -1, flags, 0, cxRECT(r));
}
