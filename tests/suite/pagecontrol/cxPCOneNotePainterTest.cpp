// The OneNote style ("no styles", scheme none): no turned tabs, slant and
// overlap by tab height, outline colours, path regions on every side and
// the main tab flowing into its page.
#include "suite/pagecontrol/cxPCOneNotePainter.h"

#include <gtest/gtest.h>

#include "platform/rtl/SysUtils.h"
#include "suite/foundation/cxGraphics.h"
#include "tests/suite/pagecontrol/PainterStyleFixture.h"

namespace {

class OneNotePainterTest : public PainterStyleTest {
 protected:
  void SetUp() override {
    Start(&TcxPCOneNotePainterClass::Instance(), 300, 100);
    control->Font()->SetSize(6);
    control->SetTabHeight(18);
  }
  TcxPCOneNotePainter* painter() { return static_cast<TcxPCOneNotePainter*>(control->Painter()); }
};

}  // namespace

TEST_F(OneNotePainterTest, MetricsAndRotation) {
  const TcxPCCustomPainterClass k = &TcxPCOneNotePainterClass::Instance();
  EXPECT_EQ(k->StyleID(), 10);
  EXPECT_EQ(k->StyleName(), "OneNote");
  EXPECT_FALSE(k->AllowsRotation());
  EXPECT_THROW(control->SetRotate(true), Exception);
  EXPECT_FALSE(control->Rotate());
  ASSERT_EQ(painter()->TabNormalHeight(), 18);
  EXPECT_EQ(painter()->SlantSize(), 20);
  EXPECT_EQ(painter()->TabsSpacing(), (IntegerPair{-15, -3}));
  EXPECT_EQ(Display(1).Left, Display(0).Right - 15);
  EXPECT_EQ(painter()->MinTabWidth(), 24);
  EXPECT_EQ(painter()->TabContentSpacing(0), (IntegerPair{20, 4}));
  EXPECT_EQ(painter()->TabsAreaIndents(), (TRect{4, 0, 4, 0}));
}

TEST_F(OneNotePainterTest, PathRegionsOnEverySide) {
  for (TcxTabPosition position : {tpTop, tpBottom, tpLeft, tpRight}) {
    control->SetTabPosition(position);
    const TRect r = Display(2);
    for (bool inner : {false, true}) {
      auto region = painter()->TabFigureRegion(2, inner);
      ASSERT_FALSE(region->IsEmpty()) << position << inner;
      EXPECT_TRUE(region->ContainsXY((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)) << position << inner;
      const TRect b = region->BoundsRect();
      const TRect room = cxRectInflate(r, 1, 1);
      EXPECT_TRUE(b.Left >= room.Left && b.Top >= room.Top && b.Right <= room.Right && b.Bottom <= room.Bottom)
          << position << inner;
    }
  }
  // On top: the long slant leaves the top-left corner out; the trailing
  // end is only rounded.
  control->SetTabPosition(tpTop);
  const TRect r = Display(2);
  auto outer = painter()->TabFigureRegion(2, false);
  EXPECT_FALSE(outer->ContainsXY(r.Left + 2, r.Top + 2));
  EXPECT_TRUE(outer->ContainsXY(r.Left + 2, r.Bottom - 2));
  EXPECT_TRUE(outer->ContainsXY(r.Right - 2, r.Top + 4));
  EXPECT_FALSE(outer->ContainsXY(r.Right - 1, r.Top - 1));
}

TEST_F(OneNotePainterTest, OutlinesAndTheMainTabJoin) {
  UpdateOneNoteSchemeColors();
  EXPECT_EQ(painter()->OutlineColor(), clBtnShadow);
  control->SetShowFrame(true);
  control->Tabs()->SetHotTab(2);
  PaintAll(300, 100);
  const TRect hot = Display(2);
  const TRect plain = Display(1);
  const Integer hotX = hot.Right - 8;
  const Integer plainX = plain.Right - 8;
  EXPECT_TRUE(Is(hotX, hot.Top, static_cast<TColor>(0x6A240A)));
  EXPECT_TRUE(Is(plainX, plain.Top, clBtnShadow));
  // The main tab flows into its page: its colour across the page line.
  const TRect main = Display(0);
  const TRect page = painter()->PageClientRect();
  EXPECT_TRUE(Is(main.Right - 10, page.Top - 1, control->Color()));
  EXPECT_TRUE(Is(plainX, page.Top - 1, clBtnShadow));
}
