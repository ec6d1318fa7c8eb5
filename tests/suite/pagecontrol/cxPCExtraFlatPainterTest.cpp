// The ExtraFlat style ("no styles"): heights and navigator metrics, the
// main tab's outline, separators that keep away from the main tab, the
// lines under the row, hollow glyphs of a disabled control and the full
// frame without tabs.
#include "suite/pagecontrol/cxPCExtraFlatPainter.h"

#include <gtest/gtest.h>

#include "tests/suite/pagecontrol/PainterStyleFixture.h"

namespace {

class ExtraFlatPainterTest : public PainterStyleTest {
 protected:
  void SetUp() override { Start(&TcxPCExtraFlatPainterClass::Instance()); }
  TcxPCExtraFlatPainter* painter() { return static_cast<TcxPCExtraFlatPainter*>(control->Painter()); }
};

}  // namespace

TEST_F(ExtraFlatPainterTest, Metrics) {
  const TcxPCCustomPainterClass k = &TcxPCExtraFlatPainterClass::Instance();
  EXPECT_EQ(k->StyleID(), 5);
  EXPECT_EQ(k->StyleName(), "ExtraFlat");
  EXPECT_FALSE(k->MatchesLookAndFeel(control->LookAndFeel()));
  EXPECT_FALSE(k->AllowsMultiSelect());
  const Integer byFont = std::max<Integer>(painter()->TabHeightForFont(), 17);
  control->SetTabHeight(30);
  EXPECT_EQ(painter()->TabNormalHeight(), std::max<Integer>(26, byFont));
  control->SetTabHeight(20);
  EXPECT_EQ(painter()->TabNormalHeight(), byFont);
  struct Spacing {
    TcxPCNavigatorButton a, b;
    Integer gap;
  };
  const Spacing spacings[] = {{nbBottomRight, nbGoDialog, 0}, {nbGoDialog, nbClose, 3}, {nbTopLeft, nbBottomRight, 3}};
  for (const auto& s : spacings) EXPECT_EQ(painter()->NavigatorButtonSpacing(s.a, s.b), s.gap) << s.a << s.b;
  EXPECT_EQ(painter()->NavigatorButtonHeight(), 13);
  EXPECT_EQ(painter()->TabsSpacing(), (IntegerPair{1, 6}));
  control->SetRotate(true);
  EXPECT_EQ(painter()->TabsSpacing(), (IntegerPair{6, 1}));
}

TEST_F(ExtraFlatPainterTest, MainTabRowLinesAndSeparators) {
  PaintAll();
  const TRect main = Display(0);
  EXPECT_EQ(main, AddRectMargins(Tab(0)->NormalRect(), {-1, -1, 1, 1}));
  // The outline: white left and top, black right.
  EXPECT_TRUE(Is(main.Left, main.Top + 6, clWhite));
  EXPECT_TRUE(Is(main.Left + 6, main.Top, clWhite));
  EXPECT_TRUE(Is(main.Right - 1, main.Top + 6, clBlack));
  EXPECT_TRUE(Is(main.Left + 2, main.Top + 2, clBtnFace));
  // No separator between the main tab and its neighbour; one between the
  // two others, one pixel short of the tab's top and bottom.
  const TRect first = Display(1);
  EXPECT_FALSE(Is(first.Left - 1, first.Top + 6, clBtnShadow));
  EXPECT_TRUE(Is(first.Right, first.Top + 6, clBtnShadow));
  EXPECT_FALSE(Is(first.Right, first.Top, clBtnShadow));
  EXPECT_FALSE(Is(first.Right, first.Bottom - 1, clBtnShadow));
  EXPECT_TRUE(Is(first.Left + 2, first.Top + 2, LightFaceColor));
  // Under the other tabs: the white line, then two lines of the face
  // colour down to the page; the main tab breaks the white line.
  const Integer x = Display(2).Left + 3;
  const Integer bottom = Tab(2)->NormalRect().Bottom;
  EXPECT_TRUE(Is(x, bottom, clWhite));
  EXPECT_TRUE(Is(x, bottom + 1, clBtnFace));
  EXPECT_TRUE(Is(x, bottom + 2, clBtnFace));
  EXPECT_TRUE(Is(main.Left + 3, bottom, clBtnFace));
}

TEST_F(ExtraFlatPainterTest, DisabledControlGlyphsAndHiddenTabs) {
  control->SetEnabled(false);
  for (TcxPCNavigatorButton button : {nbTopLeft, nbClose}) {
    TcxPCNavigatorGlyphInfo info;
    painter()->GetNavigatorGlyphInfo(button, info);
    EXPECT_TRUE(info.Plain);
    EXPECT_TRUE(info.ThinCross);
    EXPECT_EQ(info.FillColor, LightFaceColor);
    EXPECT_EQ(info.LineColor, clBtnShadow);
  }
  control->SetEnabled(true);
  TcxPCNavigatorGlyphInfo info;
  painter()->GetNavigatorGlyphInfo(nbTopLeft, info);
  EXPECT_FALSE(info.ThinCross);
  EXPECT_EQ(info.FillColor, clBtnText);

  control->SetShowFrame(true);
  control->SetHideTabs(true);
  PaintAll(200, 100);
  EXPECT_TRUE(Is(0, 50, clBtnHighlight));
  EXPECT_TRUE(Is(100, 0, clBtnHighlight));
  EXPECT_TRUE(Is(199, 50, clBtnShadow));
  EXPECT_TRUE(Is(100, 99, clBtnShadow));
}

TEST_F(ExtraFlatPainterTest, PageFrameLeavesTheTabSideOpen) {
  control->SetShowFrame(true);
  for (TcxTabPosition position : {tpTop, tpBottom, tpLeft, tpRight}) {
    control->SetTabPosition(position);
    PaintAll(200, 100);
    const TRect page = painter()->PageAreaRect();
    const Integer midX = (page.Left + page.Right) / 2;
    const Integer midY = (page.Top + page.Bottom) / 2;
    // The frame's colour on each side, or none on the tab side.
    EXPECT_EQ(Is(page.Left, midY, clBtnHighlight), position != tpLeft) << position;
    EXPECT_EQ(Is(midX, page.Top, clBtnHighlight), position != tpTop) << position;
    EXPECT_EQ(Is(page.Right - 1, midY, clBtnShadow), position != tpRight) << position;
    EXPECT_EQ(Is(midX, page.Bottom - 1, clBtnShadow), position != tpBottom) << position;
  }
}

TEST_F(ExtraFlatPainterTest, AMainTabChangeRepaintsTheRows) {
  control->invalidated.clear();
  painter()->InvalidateTab(1, tckMainTab);
  ASSERT_EQ(control->invalidated.size(), 1u);
  EXPECT_EQ(control->invalidated[0], control->LeadingRowsRect());
  control->invalidated.clear();
  painter()->InvalidateTab(1, tckHot);
  ASSERT_EQ(control->invalidated.size(), 1u);
  EXPECT_EQ(control->invalidated[0], Tab(1)->VisibleRect());
}
