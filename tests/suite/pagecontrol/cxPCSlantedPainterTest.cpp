// The Slanted style ("no styles"): slant sizes and overlaps, turned tabs
// without slants, cut corners, the main tab winning the overlap in hit
// tests, gradients on and off, the highlight strip and the join of the main
// tab to its page.
#include "suite/pagecontrol/cxPCSlantedPainter.h"

#include <gtest/gtest.h>

#include "suite/foundation/cxGraphics.h"
#include "tests/suite/pagecontrol/PainterStyleFixture.h"

namespace {

class SlantedPainterTest : public PainterStyleTest {
 protected:
  void SetUp() override {
    Start(&TcxPCSlantedPainterClass::Instance(), 300, 100);
    control->Font()->SetSize(6);  // the tab height follows TabHeight alone
  }
  TcxPCSlantedPainter* painter() { return static_cast<TcxPCSlantedPainter*>(control->Painter()); }
  void Slants(TcxTabSlantKind Kind, TcxTabSlantPositions Positions) {
    control->TabSlants()->SetKind(Kind);
    control->TabSlants()->SetPositions(Positions);
  }
  bool InFigure(Integer V, Integer X, Integer Y) { return painter()->TabFigureRegion(V, false)->ContainsXY(X, Y); }
};

}  // namespace

TEST_F(SlantedPainterTest, SlantsAndOverlaps) {
  EXPECT_EQ(TcxPCSlantedPainterClass::Instance().StyleID(), 9);
  EXPECT_EQ(TcxPCSlantedPainterClass::Instance().StyleName(), "Slanted");
  control->SetTabHeight(20);
  Slants(skSlant, {spLeft, spRight});
  ASSERT_EQ(painter()->TabNormalHeight(), 20);
  EXPECT_EQ(painter()->SlantSize(), 19);
  EXPECT_EQ(painter()->TabsSpacing(), (IntegerPair{-18, -3}));
  EXPECT_EQ(painter()->MinTabWidth(), 2 * 17 + 8);
  EXPECT_EQ(Display(1).Left, Display(0).Right - 18);
  EXPECT_EQ(painter()->TabsAreaIndents(), (TRect{1, 0, 1, 0}));

  control->SetRotate(true);
  EXPECT_TRUE(painter()->SlantedSides().Empty());
  EXPECT_EQ(painter()->TabsSpacing(), (IntegerPair{-3, 1}));
  EXPECT_EQ(painter()->MinTabWidth(), 0);
  control->SetRotate(false);

  Slants(skCutCorner, {});
  EXPECT_EQ(painter()->MinTabWidth(), 8);
  EXPECT_EQ(painter()->TabsSpacing(), (IntegerPair{1, -3}));
  Slants(skCutCorner, {spLeft});
  EXPECT_EQ(painter()->MinTabWidth(), 6 + 1 + 4);
}

TEST_F(SlantedPainterTest, FigureCorners) {
  control->SetTabHeight(20);
  // Small corners of 2 pixels at both ends.
  Slants(skCutCorner, {});
  TRect r = Display(2);
  EXPECT_FALSE(InFigure(2, r.Left, r.Top));
  EXPECT_TRUE(InFigure(2, r.Left + 3, r.Top));
  EXPECT_TRUE(InFigure(2, r.Left, r.Top + 3));
  EXPECT_FALSE(InFigure(2, r.Right - 1, r.Top));
  EXPECT_TRUE(InFigure(2, r.Right - 1, r.Top + 3));
  EXPECT_TRUE(InFigure(2, r.Right - 1, r.Bottom - 1));
  // A slant as high as the tab at the left end.
  Slants(skSlant, {spLeft});
  r = Display(2);
  EXPECT_FALSE(InFigure(2, r.Left + 5, r.Top + 5));
  EXPECT_TRUE(InFigure(2, r.Left + 16, r.Top + 5));
  EXPECT_TRUE(InFigure(2, r.Left + 1, r.Bottom - 1));
  // Turned for tabs at the bottom: the slant runs down from the page.
  control->SetTabPosition(tpBottom);
  r = Display(2);
  EXPECT_FALSE(InFigure(2, r.Left + 5, r.Bottom - 6));
  EXPECT_TRUE(InFigure(2, r.Left + 5, r.Top + 1));
}

TEST_F(SlantedPainterTest, TheMainTabWinsTheOverlap) {
  control->SetTabHeight(20);
  Slants(skSlant, {spLeft, spRight});
  const TRect next = Display(1);
  const Integer x = next.Left + 3;
  const Integer y = next.Bottom - 2;
  ASSERT_TRUE(cxRectPtIn(Tab(0)->VisibleRect(), {x, y}));
  EXPECT_TRUE(painter()->IsPointInTab(0, x, y));
  control->SetTabIndex(1);
  EXPECT_FALSE(painter()->IsPointInTab(0, x, y));
  EXPECT_TRUE(painter()->IsPointInTab(1, x, y));
}

TEST_F(SlantedPainterTest, GradientStripAndJoin) {
  control->SetTabHeight(20);
  control->SetShowFrame(true);
  Slants(skSlant, {spLeft, spRight});
  control->SetColor(static_cast<TColor>(0x70A0C0));
  PaintAll(300, 100);
  const TRect r = Display(2);
  const TColor upper = Surface().Px(r.Left + 17, r.Top + 6);
  const TColor lower = Surface().Px(r.Left + 17, r.Bottom - 2);
  EXPECT_NE(upper, lower) << "a light gradient down the tab";
  EXPECT_TRUE(Is((r.Left + r.Right) / 2, r.Top, clBtnShadow)) << "the outline";
  // The main tab: a highlight strip along its outer edge, flat body, and
  // its page colour across the page line.
  const TRect main = Display(0);
  const Integer mid = (main.Left + main.Right) / 2;
  EXPECT_TRUE(Is(mid, main.Top + 1, clHighlight));
  EXPECT_TRUE(Is(mid, main.Top + 3, clHighlight));
  EXPECT_FALSE(Is(mid, main.Top + 4, clHighlight));
  const TRect page = painter()->PageClientRect();
  EXPECT_TRUE(Is(mid, page.Top - 1, static_cast<TColor>(0x70A0C0)));
  EXPECT_TRUE(Is((r.Left + r.Right) / 2, page.Top - 1, clBtnShadow));

  control->SetOptions({});
  PaintAll(300, 100);
  EXPECT_EQ(Surface().Px(r.Left + 17, r.Top + 6), Surface().Px(r.Left + 17, r.Bottom - 2));
  EXPECT_TRUE(Is(r.Left + 17, r.Top + 6, static_cast<TColor>(0x70A0C0)));
}

TEST_F(SlantedPainterTest, TurnedTabsOnEverySide) {
  // Turned tabs keep only the small corners: every tab's figure holds its
  // centre and the pixels beside its corners, and the tab body is painted.
  control->ShowWindow(300, 300);
  control->SetRotate(true);
  for (TcxTabPosition position : {tpTop, tpBottom, tpLeft, tpRight}) {
    control->SetTabPosition(position);
    PaintAll(300, 300);
    for (Integer v = 0; v < 3; ++v) {
      const TRect r = Display(v);
      ASSERT_TRUE(Tab(v)->IsShown()) << position << v;
      EXPECT_TRUE(InFigure(v, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)) << position << v;
      EXPECT_TRUE(InFigure(v, r.Left + 3, r.Top + 3)) << position << v;
      EXPECT_TRUE(InFigure(v, r.Right - 4, r.Bottom - 4)) << position << v;
      EXPECT_LT(CountIn(Tab(v)->VisibleRect(), clWhite), 10) << position << v;
    }
  }
}
