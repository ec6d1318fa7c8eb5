#include "cxLookAndFeelPainters.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "suite/foundation/cxPainterImages.h"

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

TcxCustomLookAndFeelPainterClass TcxStandardLookAndFeelPainter::Instance() {
  return ClassReference<TcxStandardLookAndFeelPainter>();
}
Integer TcxStandardLookAndFeelPainter::PainterStyle() const { return PainterStyleStandard; }

TcxCustomLookAndFeelPainterClass TcxFlatLookAndFeelPainter::Instance() {
  return ClassReference<TcxFlatLookAndFeelPainter>();
}
Integer TcxFlatLookAndFeelPainter::PainterStyle() const { return PainterStyleFlat; }

TcxCustomLookAndFeelPainterClass TcxUltraFlatLookAndFeelPainter::Instance() {
  return ClassReference<TcxUltraFlatLookAndFeelPainter>();
}
Integer TcxUltraFlatLookAndFeelPainter::PainterStyle() const { return PainterStyleUltraFlat; }

TcxCustomLookAndFeelPainterClass TcxOffice11LookAndFeelPainter::Instance() {
  return ClassReference<TcxOffice11LookAndFeelPainter>();
}
Integer TcxOffice11LookAndFeelPainter::PainterStyle() const { return PainterStyleOffice11; }

TcxCustomLookAndFeelPainterClass TcxWinXPLookAndFeelPainter::Instance() {
  return ClassReference<TcxWinXPLookAndFeelPainter>();
}
Integer TcxWinXPLookAndFeelPainter::PainterStyle() const { return PainterStyleNative; }

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
