// The two button styles ("no styles"): their class answers and spacing,
// raised and sunken 3-D buttons, the flat buttons' thin frame under the
// focus mark and the etched separators between neighbours.
#include "suite/pagecontrol/cxPCButtonedPainter.h"

#include <gtest/gtest.h>

#include "tests/suite/pagecontrol/PainterStyleFixture.h"

namespace {

class ButtonedPainterTest : public PainterStyleTest {
 protected:
  TcxPCButtonedPainter* painter() { return static_cast<TcxPCButtonedPainter*>(control->Painter()); }
};

}  // namespace

TEST_F(ButtonedPainterTest, ClassAnswersAndSpacing) {
  struct Case {
    TcxPCCustomPainterClass style;
    Integer id;
    const char* name;
    Integer kind;
    IntegerPair spacing;  // without images
    IntegerPair spacingWithImages;
  };
  const Case cases[] = {
      {&TcxPCButtonsPainterClass::Instance(), 2, "Buttons", 1, {3, 3}, {2, 3}},
      {&TcxPCFlatButtonsPainterClass::Instance(), 3, "FlatButtons", 2, {2, 3}, {2, 3}},
  };
  auto images = BlankImages(8, 3);
  for (const auto& c : cases) {
    Start(c.style);
    EXPECT_EQ(c.style->StyleID(), c.id);
    EXPECT_EQ(c.style->StyleName(), c.name);
    EXPECT_EQ(c.style->TabStyleKind(), c.kind);
    EXPECT_TRUE(c.style->IsButtonStyle());
    EXPECT_TRUE(c.style->AllowsMultiSelect());
    EXPECT_FALSE(c.style->MatchesLookAndFeel(control->LookAndFeel()));
    ASSERT_EQ(control->Painter()->PainterClass(), c.style);
    EXPECT_EQ(painter()->TabContentSpacing(1), c.spacing) << c.name;
    EXPECT_EQ(painter()->TabCutContentSpacing(1), c.spacing) << c.name;
    control->SetImages(images.get());
    EXPECT_EQ(painter()->TabContentSpacing(1), c.spacingWithImages) << c.name;
    control->SetImages(nullptr);
    // Two more pixels above the row.
    const Integer top = painter()->TabsAreaMargins().Top;
    control->SetHideTabs(true);
    EXPECT_EQ(painter()->TabsAreaMargins().Top, 0);
    control->SetHideTabs(false);
    EXPECT_EQ(top, control->LeadingRowsRect().Bottom + 2);
  }
}

TEST_F(ButtonedPainterTest, ButtonsAreRaisedOrSunken) {
  Start(&TcxPCButtonsPainterClass::Instance());
  Tab(1)->SetSelected(true);
  PaintAll();
  struct Case {
    Integer tab;
    TColor outerTopLeft;
    TColor outerBottomRight;
    TColor face;
  };
  const Case cases[] = {
      {0, cl3DDkShadow, clBtnHighlight, clBtnHighlight},  // main: sunken, light face
      {1, cl3DDkShadow, clBtnHighlight, clBtnFace},       // selected: sunken, face colour
      {2, clBtnHighlight, cl3DDkShadow, clBtnFace},       // raised
  };
  for (const auto& c : cases) {
    const TRect r = Display(c.tab);
    EXPECT_TRUE(Is(r.Left, r.Top + 5, c.outerTopLeft)) << c.tab;
    EXPECT_TRUE(Is(r.Right - 1, r.Top + 5, c.outerBottomRight)) << c.tab;
    EXPECT_TRUE(Is(r.Left + 2, r.Top + 2, c.face)) << c.tab;
    EXPECT_TRUE(Is(r.Right - 3, r.Bottom - 3, c.face)) << c.tab;
  }
  EXPECT_EQ(painter()->TabColor(0), clBtnHighlight);
  Tab(2)->SetHighlighted(true);
  EXPECT_EQ(painter()->TabColor(2), clHighlight);
}

TEST_F(ButtonedPainterTest, FocusedMainFlatButtonIsRaisedNotSunken) {
  Start(&TcxPCFlatButtonsPainterClass::Instance());
  PaintAll();
  const TRect r = Display(0);
  EXPECT_TRUE(Is(r.Left, r.Top + 5, clBtnShadow));  // sunken 3-D edge
  EXPECT_FALSE(painter()->TabLooksActive(2));
  control->Tabs()->SetFocusedTab(0);
  EXPECT_FALSE(painter()->TabLooksActive(0));
  PaintAll(200, 100);
  EXPECT_TRUE(Is(r.Left, r.Top + 5, clBtnHighlight));
  EXPECT_TRUE(Is(r.Right - 1, r.Top + 5, clBtnShadow));
  EXPECT_TRUE(Is(r.Left + 1, r.Top + 5, clBtnHighlight)) << "the main tab's face inside the thin frame";
  // A plain tab shows no frame at all: its face reaches its edge.
  const TRect plain = Display(2);
  EXPECT_TRUE(Is(plain.Left, plain.Top + 5, clBtnFace));
}

TEST_F(ButtonedPainterTest, FlatButtonSeparatorsStandBetweenNeighboursOnly) {
  Start(&TcxPCFlatButtonsPainterClass::Instance());
  control->SetColor(clYellow);
  PaintAll();
  // The band right of a tab is 10 pixels wide; its etched line stands 4
  // pixels in, shadow then highlight, one pixel short at each end.
  for (Integer v : {0, 1}) {
    const TRect r = Display(v);
    const Integer x = r.Right + 4;
    EXPECT_TRUE(Is(x, r.Top + 5, clBtnShadow)) << v;
    EXPECT_TRUE(Is(x + 1, r.Top + 5, clBtnHighlight)) << v;
    EXPECT_TRUE(Is(x, r.Top, clYellow)) << v;
    EXPECT_TRUE(Is(x - 1, r.Top + 5, clYellow)) << v;
    EXPECT_EQ(Display(v + 1).Left, r.Right + 10);
  }
  const TRect last = Display(2);
  EXPECT_EQ(CountIn({last.Right, last.Top, last.Right + 10, last.Bottom}, clBtnShadow), 0);
}
