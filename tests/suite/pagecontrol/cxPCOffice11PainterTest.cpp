// The Office11 style ("no styles", so the scheme is none): gradients on and
// off for the tabs, the strip and the page, a page with its own colour, the
// scheme's frame colour, and the caption bitmap's gradient moves.
#include "suite/pagecontrol/cxPCOffice11Painter.h"

#include <gtest/gtest.h>

#include "suite/foundation/dxOffice11.h"
#include "tests/suite/pagecontrol/PainterStyleFixture.h"

namespace {

class Office11PainterTest : public PainterStyleTest {
 protected:
  void SetUp() override {
    RecomputeOffice11Palette();
    Start(&TcxPCOffice11PainterClass::Instance());
  }
  TcxPCOffice11Painter* painter() { return static_cast<TcxPCOffice11Painter*>(control->Painter()); }
  TColor Mix(TColor A, TColor B) const { return MixColorsByPercent(A, B, 50); }
  TColor Px(Integer X, Integer Y) const { return Surface().Px(X, Y); }
};

}  // namespace

TEST_F(Office11PainterTest, ClassAnswers) {
  const TcxPCCustomPainterClass k = &TcxPCOffice11PainterClass::Instance();
  EXPECT_EQ(k->StyleID(), 8);
  EXPECT_EQ(k->StyleName(), "Office11");
  TcxLookAndFeel* lf = control->LookAndFeel();
  lf->SetNativeStyle(false);
  lf->SetKind(lfOffice11);
  EXPECT_TRUE(k->MatchesLookAndFeel(lf));
  lf->SetKind(lfUltraFlat);
  EXPECT_FALSE(k->MatchesLookAndFeel(lf));
  ASSERT_NE(Office11GradientFirstColor, Office11GradientLastColor);
  EXPECT_EQ(painter()->TabsSpacing(), (IntegerPair{2, 4}));
  EXPECT_TRUE(painter()->RepaintsAllOnResize());
}

TEST_F(Office11PainterTest, WithoutGradientsEverythingIsFlat) {
  control->SetOptions({});
  EXPECT_FALSE(painter()->RepaintsAllOnResize());
  PaintAll();
  const TColor bar = TestSurface::RGBOf(Mix(Office11GradientFirstColor, Office11GradientLastColor));
  const TColor hot = TestSurface::RGBOf(Mix(Office11HotFirstColor, Office11HotLastColor));
  const TRect tab = Display(2);
  EXPECT_EQ(Px(tab.Left + 3, tab.Top + 1), bar);
  EXPECT_EQ(Px(tab.Left + 3, tab.Bottom - 2), bar);
  const TRect main = Display(0);
  EXPECT_EQ(Px(main.Left + 3, main.Top + 2), hot);
  const TRect page = painter()->PageClientRect();
  EXPECT_EQ(Px(page.Left + 1, page.Top + 1), bar);
  EXPECT_EQ(Px(page.Right - 2, page.Bottom - 2), bar);
}

TEST_F(Office11PainterTest, TabGradientWithFlatPageAndOwnPageColour) {
  control->SetOptions({pcoGradient});
  PaintAll();
  const TRect tab = Display(2);
  EXPECT_NE(Px(tab.Left + 3, tab.Top + 1), Px(tab.Left + 3, tab.Bottom - 2)) << "a gradient down the tab";
  const TRect page = painter()->PageClientRect();
  EXPECT_EQ(Px(page.Left + 1, page.Top + 1), Px(page.Left + 1, page.Bottom - 2)) << "the page is flat";

  control->SetOptions({pcoGradient, pcoGradientClientArea});
  PaintAll(200, 100);
  EXPECT_NE(Px(page.Left + 1, page.Top + 1), Px(page.Left + 1, page.Bottom - 2));
  TControl own(nullptr);
  own.SetColor(clLime);
  control->firstPage = &own;
  PaintAll(200, 100);
  EXPECT_TRUE(Is(page.Left + 1, page.Top + 1, clLime));
  EXPECT_TRUE(Is(page.Right - 2, page.Bottom - 2, clLime));
  control->firstPage = nullptr;
}

TEST_F(Office11PainterTest, FramesInTheSchemeColour) {
  control->SetShowFrame(true);
  PaintAll();
  const TRect page = cxRectInflate(painter()->PageClientRect(), 1, 1);
  const TColor frame = painter()->SchemeFrameColor();
  EXPECT_TRUE(Is(page.Left, page.Top + 10, frame));
  EXPECT_TRUE(Is(page.Right - 1, page.Bottom - 1, frame));
  const TRect main = Display(0);
  EXPECT_TRUE(Is(main.Left, main.Top + 6, frame));
  EXPECT_TRUE(Is(main.Right - 1, main.Top + 6, frame));
  // The single row line under the other tabs.
  EXPECT_TRUE(Is(Display(2).Left + 3, Tab(2)->NormalRect().Bottom, frame));
}

TEST_F(Office11PainterTest, CaptionBitmapGradientMoves) {
  struct Case {
    bool vertical, rotate;
    Integer rotation;
    TRect expected;
    bool exchange;
  };
  // G (10, 20, 40, 30) and a caption at (15, 22) on a 12 x 10 bitmap.
  const Case cases[] = {
      {false, false, 0, {-5, -2, 25, 8}, false},
      {false, false, 2, {-5, 2, 25, 12}, true},
      {false, true, 1, {-13, -2, 17, 8}, true},
      {true, false, 0, {-5, -2, 25, 8}, false},
  };
  for (const auto& c : cases) {
    bool exchange = false;
    const TPoint origin = c.vertical ? TPoint{22, 15} : TPoint{15, 22};
    const TRect g = c.vertical ? TRect{20, 10, 30, 40} : TRect{10, 20, 40, 30};
    EXPECT_EQ(ContentBitmapGradientRect(g, origin, {12, 10}, c.vertical, c.rotate, c.rotation, exchange), c.expected)
        << c.rotation << c.rotate;
    EXPECT_EQ(exchange, c.exchange);
  }
}
