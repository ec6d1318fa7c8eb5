// The Flat style: class answers, the one-pixel page frame that the main tab
// leaves alone, thin borders with a brightened inner line, corners in the
// control colour ("no styles"), and the native road's smaller buttons
// (our visual style).
#include "suite/pagecontrol/cxPCFlatPainter.h"

#include <gtest/gtest.h>

#include "tests/suite/pagecontrol/PainterStyleFixture.h"

namespace {

class FlatPainterTest : public PainterStyleTest {
 protected:
  void SetUp() override { Start(&TcxPCFlatPainterClass::Instance()); }
  TcxPCFlatPainter* painter() { return static_cast<TcxPCFlatPainter*>(control->Painter()); }
};

}  // namespace

TEST_F(FlatPainterTest, ClassAnswers) {
  const TcxPCCustomPainterClass k = &TcxPCFlatPainterClass::Instance();
  EXPECT_EQ(k->StyleID(), 7);
  EXPECT_EQ(k->StyleName(), "Flat");
  TcxLookAndFeel* lf = control->LookAndFeel();
  lf->SetNativeStyle(false);
  lf->SetKind(lfFlat);
  EXPECT_TRUE(k->MatchesLookAndFeel(lf));
  lf->SetKind(lfStandard);
  EXPECT_FALSE(k->MatchesLookAndFeel(lf));
  lf->SetNativeStyle(true);
  EXPECT_TRUE(k->IsDefaultForLookAndFeel(lf));
  EXPECT_EQ(painter()->FrameWidth(), 1);
  EXPECT_EQ(painter()->NavigatorButtonHeight(), 18);
  EXPECT_EQ(painter()->NavigatorButtonWidth(nbTopLeft), 18);
}

TEST_F(FlatPainterTest, PageFrameAndBorders) {
  control->SetColor(clYellow);
  Tab(2)->SetHighlighted(true);
  PaintAll();
  const TRect page = painter()->PageAreaRect();
  const TRect main = Display(0);
  // One-pixel frame; the main tab stops at its visible rect and the page
  // begins right below it.
  EXPECT_TRUE(Is(page.Left, page.Top + 20, clBtnHighlight));
  EXPECT_TRUE(Is(page.Right - 1, page.Top + 20, clBtnShadow));
  EXPECT_TRUE(Is(page.Left + 1, page.Top + 20, clYellow));
  const TRect visible = Tab(0)->VisibleRect();
  EXPECT_TRUE(Is((main.Left + main.Right) / 2, visible.Bottom, clYellow));
  // A tab: light outer left line and corner in the control colour, inner
  // lines the brightened tab colour, dark right line.
  const TRect highlighted = Display(2);
  EXPECT_TRUE(Is(highlighted.Left, highlighted.Top + 8, clBtnHighlight));
  EXPECT_EQ(Surface().Px(highlighted.Left + 1, highlighted.Top + 8),
            TestSurface::RGBOf(BrightenColor(clHighlight, 85)));
  EXPECT_TRUE(Is(highlighted.Left, highlighted.Top, clYellow));
  const TRect plain = Display(1);
  EXPECT_TRUE(Is(plain.Right - 1, plain.Top + 8, clBtnShadow));
  EXPECT_EQ(Surface().Px(plain.Right - 2, plain.Top + 8), TestSurface::RGBOf(BrightenColor(clBtnFace, 85)));
  EXPECT_TRUE(Is(plain.Right - 1, plain.Top, clYellow));
}

TEST_F(FlatPainterTest, NativeButtonsAreSmaller) {
  VisualStylesScope styled(true);
  control->LookAndFeel()->SetNativeStyle(true);
  ASSERT_TRUE(painter()->IsNativePainting());
  EXPECT_EQ(painter()->NavigatorButtonHeight(), 15);
  EXPECT_EQ(painter()->NavigatorButtonWidth(nbClose), 15);
  PaintAll();
  const TRect r = Tab(1)->VisibleRect();
  EXPECT_LT(CountIn(r, clWhite), (r.Right - r.Left) * (r.Bottom - r.Top)) << "the theme drew the tab";
}
