#include "suite/foundation/cxLookAndFeelPainters.h"

#include <gtest/gtest.h>

#include "tests/suite/foundation/CanvasFixture.h"

namespace {

// A painter whose header frame is one pixel wide, to show the header
// metrics of the base class.
class FramedHeaderPainter : public TcxCustomLookAndFeelPainter {
 public:
  FramedHeaderPainter() = default;
  Integer HeaderFrameWidth() const override { return 1; }
  TcxBorders HeaderFrameSides(TcxBorders ANeighbors) const override { return cxBordersAll - ANeighbors; }
};

TcxCustomLookAndFeelPainterClass Base() { return TcxCustomLookAndFeelPainter::Instance(); }

}  // namespace

TEST(cxLookAndFeelPainters, StyleCodesAndKinds) {
  EXPECT_EQ(Base()->PainterStyle(), 1);
  EXPECT_EQ(TcxFlatLookAndFeelPainter::Instance()->PainterStyle(), 0);
  EXPECT_EQ(TcxUltraFlatLookAndFeelPainter::Instance()->PainterStyle(), 2);
  EXPECT_EQ(TcxWinXPLookAndFeelPainter::Instance()->PainterStyle(), 3);
  EXPECT_EQ(TcxOffice11LookAndFeelPainter::Instance()->PainterStyle(), 4);
  const TcxLookAndFeelKind kinds[] = {lfFlat, lfStandard, lfUltraFlat, lfStandard, lfOffice11, lfStandard};
  for (Integer code = 0; code < 6; ++code) EXPECT_EQ(StyleCodeToKind(code), kinds[code]) << code;
  EXPECT_EQ(ScrollBarArrowDirection(true, ScrollBarPartLineUp), ArrowLeft);
  EXPECT_EQ(ScrollBarArrowDirection(true, ScrollBarPartLineDown), ArrowRight);
  EXPECT_EQ(ScrollBarArrowDirection(false, ScrollBarPartLineUp), ArrowUp);
  EXPECT_EQ(ScrollBarArrowDirection(false, ScrollBarPartLineDown), ArrowDown);
  EXPECT_EQ(TcxStandardLookAndFeelPainter::Instance(), TcxStandardLookAndFeelPainter::Instance());
}

TEST(cxLookAndFeelPainters, BaseColoursAndMetrics) {
  TcxCustomLookAndFeelPainterClass p = Base();
  EXPECT_EQ(p->PaletteColor41(), p->PaletteColor29());
  EXPECT_EQ(p->PaletteColor8(), 0xCFCFCF);
  EXPECT_EQ(p->HeaderAreaColor(), clBtnFace);
  EXPECT_EQ(p->PaletteColor47(), 0x0000FF);
  EXPECT_EQ(p->PaletteColor61(), clWhite);
  EXPECT_EQ(p->ButtonGlyphColor(cxbsDisabled, clRed), clBtnShadow);
  EXPECT_EQ(p->ButtonGlyphColor(cxbsHot, clRed), clRed);
  EXPECT_EQ(p->ButtonGlyphColor(cxbsNormal), clBtnText);
  const TColor fills[] = {clWindow, clWindow, clWindow, clBtnFace, clBtnFace};
  for (int s = cxbsDefault; s <= cxbsDisabled; ++s)
    EXPECT_EQ(p->CheckBoxFillColor(static_cast<TcxButtonState>(s)), fills[s]) << s;
  EXPECT_EQ(p->CalcButtonFocusRect(nullptr, {0, 0, 6, 6}), (TRect{0, 0, 6, 6}));
  EXPECT_EQ(p->CalcButtonFocusRect(nullptr, {0, 0, 20, 10}), (TRect{4, 4, 16, 6}));
  EXPECT_EQ(p->ButtonGroupBorderWidths(3, 1), (TRect{0, 0, 0, 0}));
  EXPECT_EQ(p->SortArrowAreaSize(), (TPoint{16, 0}));
  EXPECT_EQ(p->CloseButtonSize(), (TPoint{16, 14}));
  EXPECT_EQ(p->FilterButtonSize(), (TPoint{15, 0}));
  EXPECT_EQ(p->HeaderHeightForFont(13), 17);
  EXPECT_EQ(p->HeaderSectionContentRect({0, 0, 10, 10}, cxbsNormal), (TRect{1, 1, 9, 9}));
  EXPECT_EQ(p->HeaderSectionTextBounds({0, 0, 10, 10}, cxbsPressed), (TRect{1, 1, 11, 11}));
  EXPECT_EQ(p->FooterCellTextRect({0, 0, 10, 10}), (TRect{2, 2, 8, 8}));
  EXPECT_EQ(p->GroupToggleButtonSize(), 15);
  EXPECT_EQ(p->SmallExpandButtonSize(), 9);
  EXPECT_TRUE(p->IsPointInGroupToggleButton({0, 0, 5, 5}, {4, 4}));
  EXPECT_FALSE(p->IsPointInGroupToggleButton({0, 0, 5, 5}, {5, 4}));
}

using PainterHeaders = CanvasTest;

TEST_F(PainterHeaders, HeaderMetricsFollowTheFrameWidth) {
  FramedHeaderPainter p;
  TFont font;
  const Integer text = canvas->MeasureTextWidth("Name");
  // The right side subtracts what the left side adds.
  EXPECT_EQ(p.HeaderWidthForText(canvas.get(), {bLeft, bRight}, "Name", &font), text + 4);
  EXPECT_EQ(p.HeaderWidthForText(canvas.get(), {bLeft}, "Name", &font), text + 5);
  EXPECT_EQ(p.HeaderHeightForFont(13), 19);
  EXPECT_EQ(p.HeaderInnerRect({0, 0, 10, 10}, {bLeft, bBottom}), (TRect{1, 0, 10, 9}));
  // Sides the frame already draws do not grow; the others do.
  EXPECT_EQ(p.ExpandHeaderRect({10, 10, 20, 20}, {bLeft}, cxBordersAll), (TRect{9, 10, 20, 20}));
  EXPECT_EQ(p.ExpandHeaderRect({10, 10, 20, 20}, TcxBorders(), cxBordersAll), (TRect{10, 10, 20, 20}));
}
