// The UltraFlat style ("no styles"): class answers, navigator metrics,
// embossed glyphs of a disabled control, the black line under the main
// tab's row and the shadow-coloured page frame.
#include "suite/pagecontrol/cxPCUltraFlatPainter.h"

#include <gtest/gtest.h>

#include "tests/suite/pagecontrol/PainterStyleFixture.h"

namespace {

class UltraFlatPainterTest : public PainterStyleTest {
 protected:
  void SetUp() override { Start(&TcxPCUltraFlatPainterClass::Instance()); }
  TcxPCUltraFlatPainter* painter() { return static_cast<TcxPCUltraFlatPainter*>(control->Painter()); }
};

}  // namespace

TEST_F(UltraFlatPainterTest, ClassAnswersAndNavigatorMetrics) {
  const TcxPCCustomPainterClass k = &TcxPCUltraFlatPainterClass::Instance();
  EXPECT_EQ(k->StyleID(), 6);
  EXPECT_EQ(k->StyleName(), "UltraFlat");
  TcxLookAndFeel* lf = control->LookAndFeel();
  lf->SetNativeStyle(false);
  lf->SetKind(lfUltraFlat);
  EXPECT_TRUE(k->MatchesLookAndFeel(lf));
  lf->SetKind(lfFlat);
  EXPECT_FALSE(k->MatchesLookAndFeel(lf));
  EXPECT_EQ(painter()->NavigatorButtonHeight(), 15);
  const Integer widths[4] = {15, 15, 11, 14};
  for (TcxPCNavigatorButton b : {nbTopLeft, nbBottomRight, nbGoDialog, nbClose})
    EXPECT_EQ(painter()->NavigatorButtonWidth(b), widths[b]) << b;
  EXPECT_EQ(painter()->NavigatorButtonSpacing(nbBottomRight, nbGoDialog), 1);
  EXPECT_EQ(painter()->NavigatorButtonSpacing(nbGoDialog, nbClose), 3);
}

TEST_F(UltraFlatPainterTest, DisabledControlEmbossesGlyphs) {
  control->SetEnabled(false);
  TcxPCNavigatorGlyphInfo info;
  painter()->GetNavigatorGlyphInfo(nbTopLeft, info);
  EXPECT_FALSE(info.Plain);
  EXPECT_FALSE(info.ThinCross);
  EXPECT_EQ(info.FillColor, info.LineColor);
  control->SetEnabled(true);
  painter()->GetNavigatorGlyphInfo(nbClose, info);
  EXPECT_TRUE(info.Plain);
  EXPECT_TRUE(info.ThinCross);
  EXPECT_EQ(info.FillColor, clBtnText);
}

TEST_F(UltraFlatPainterTest, RowLinesOutlineAndFrame) {
  control->SetShowFrame(true);
  PaintAll();
  const TRect main = Display(0);
  EXPECT_TRUE(Is(main.Left, main.Top + 6, clBlack));
  EXPECT_TRUE(Is(main.Left + 6, main.Top, clBlack));
  // The row holds the main tab: the black line right under the tabs, the
  // face colour below it.
  const Integer x = Display(2).Left + 3;
  const Integer bottom = Tab(2)->NormalRect().Bottom;
  EXPECT_TRUE(Is(x, bottom, clBlack));
  EXPECT_TRUE(Is(x, bottom + 1, clBtnFace));
  EXPECT_TRUE(Is(x, bottom + 2, clBtnFace));
  EXPECT_TRUE(painter()->IsRowNextToPage(0));
  // Without a main tab the row next to the page is the last one on top.
  control->SetTabIndex(-1);
  EXPECT_TRUE(painter()->IsRowNextToPage(control->RowCount() - 1));
  const TRect page = painter()->PageAreaRect();
  EXPECT_TRUE(Is(page.Left, (page.Top + page.Bottom) / 2, clBtnShadow));
  EXPECT_TRUE(Is(page.Right - 1, (page.Top + page.Bottom) / 2, clBtnShadow));
}
