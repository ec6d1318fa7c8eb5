// The painter base on a fake control and painter, drawn in the "no styles"
// mode: margins and page rects for each side, the clip stack, turned
// outline points, colours and events.
#include "suite/pagecontrol/cxPCPainter.h"

#include <gtest/gtest.h>

#include "platform/forms/Controls.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"

namespace {

class PainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control = std::make_unique<FakeTabControl>();
    control->AddTabs({"abcd", "efgh", "ijkl"});
    control->ShowWindow(200, 150);
  }
  TcxPCCustomPainter* painter() { return control->Painter(); }

  FactoryScope factory{{&PlainFakeClass()}};
  std::unique_ptr<FakeTabControl> control;
};

}  // namespace

TEST_F(PainterTest, MarginsAndPageRectsForEachSide) {
  struct Case {
    TcxTabPosition position;
    TRect pageArea;
  };
  const Case cases[] = {{tpTop, {0, 20, 200, 150}},
                        {tpBottom, {0, 0, 200, 130}},
                        {tpLeft, {20, 0, 200, 150}},
                        {tpRight, {0, 0, 180, 150}}};
  for (const auto& c : cases) {
    control->SetTabPosition(c.position);
    EXPECT_EQ(painter()->TabsAreaMargins(), (TRect{0, 20, 0, 0})) << c.position;
    EXPECT_EQ(painter()->PageAreaRect(), c.pageArea) << c.position;
    EXPECT_EQ(painter()->PageClientRect(), c.pageArea) << c.position;
  }
  EXPECT_EQ(painter()->DeflateByMargins({0, 0, 100, 50}, {1, 2, 3, 4}, tpRight), (TRect{4, 1, 98, 47}));

  // Hidden tabs take no room: the page fills the control.
  control->SetHideTabs(true);
  EXPECT_EQ(painter()->TabsAreaMargins(), (TRect{}));
  EXPECT_EQ(painter()->PageAreaRect(), (TRect{0, 0, 200, 150}));
}

TEST_F(PainterTest, PageColourAndItsDrawing) {
  control->SetColor(clRed);
  EXPECT_EQ(painter()->PageColor(), clRed);
  TControl page(nullptr);
  page.SetColor(clLime);
  control->firstPage = &page;
  EXPECT_EQ(painter()->PageColor(), clLime);  // tab 0 is the main tab
  control->SetTabIndex(1);
  EXPECT_EQ(painter()->PageColor(), clRed);
  control->firstPage = nullptr;

  // The page is painted and excluded: what is drawn afterwards only
  // reaches the strip.
  TestSurface& s = control->surface;
  painter()->SaveClip();
  painter()->Paint();
  s.canvas->Brush()->SetColor(clBlue);
  s.canvas->Canvas->FillRect({0, 0, 200, 150});
  painter()->RestoreClip();
  EXPECT_TRUE(s.Is(100, 100, clRed));
  EXPECT_TRUE(s.Is(100, 10, clBlue));
  EXPECT_TRUE(s.Is(0, 20, clRed));
}

TEST_F(PainterTest, ClipStack) {
  TestSurface& s = control->surface;
  painter()->RestoreClip();  // nothing saved: nothing happens
  EXPECT_FALSE(painter()->ClipToRect({5, 5, 5, 10}, false));
  EXPECT_FALSE(painter()->ClipToRect({300, 300, 310, 310}, true));  // not visible
  EXPECT_EQ(painter()->SavedClipCount(), 0);

  ASSERT_TRUE(painter()->ClipToRect({10, 10, 20, 20}, false));
  ASSERT_TRUE(painter()->ClipToRect({15, 15, 40, 40}, true));
  s.canvas->Brush()->SetColor(clBlack);
  s.canvas->Canvas->FillRect({0, 0, 50, 50});
  painter()->RestoreClip();
  s.canvas->Brush()->SetColor(clRed);
  s.canvas->Canvas->FillRect({0, 0, 50, 50});
  painter()->RestoreClip();
  s.canvas->Brush()->SetColor(clLime);
  s.canvas->Canvas->FillRect({45, 45, 50, 50});
  EXPECT_EQ(painter()->SavedClipCount(), 0);
  EXPECT_EQ(s.Rows({8, 8, 22, 9}), (std::vector<std::string>{".............."}));
  EXPECT_TRUE(s.Is(12, 12, clRed));   // the outer clip only
  EXPECT_TRUE(s.Is(16, 16, clRed));   // painted over by the second fill
  EXPECT_TRUE(s.Is(25, 25, clWhite));
  EXPECT_TRUE(s.Is(47, 47, clLime));  // no clip left
}

TEST_F(PainterTest, TurnedOutlinePoints) {
  const TRect r{10, 20, 30, 30};  // a 20 x 10 top tab
  struct Case {
    Integer side;
    TPoint p, turned;
  };
  const Case cases[] = {
      {0, {12, 21}, {12, 21}}, {1, {12, 21}, {12, 28}}, {2, {12, 21}, {21, 27}}, {3, {12, 21}, {18, 27}},
      {1, {10, 20}, {10, 29}}, {2, {10, 29}, {29, 29}}, {3, {29, 29}, {10, 10}},
  };
  for (const auto& c : cases) EXPECT_EQ(TcxPCCustomPainter::TurnPoint(r, c.p, c.side), c.turned) << c.side;

  // The polyline's last pixel is set too.
  TestSurface& s = control->surface;
  const TPoint line[] = {{2, 2}, {6, 2}, {6, 4}};
  painter()->DrawPolyline(line, 2, clBlack);
  EXPECT_EQ(s.Rows({1, 1, 8, 6}), (std::vector<std::string>{".......", ".#####.", ".....#.", ".....#.", "......."}));
  const TPoint outline[] = {{0, 10}, {2, 10}};
  painter()->DrawTabOutline({0, 10, 10, 13}, outline, clRed, 1, 1);
  EXPECT_TRUE(s.Is(0, 12, clRed));
  EXPECT_TRUE(s.Is(2, 12, clRed));
  EXPECT_TRUE(s.Is(1, 10, clWhite));
}

TEST_F(PainterTest, HotTrackColourFollowsTheSystemVersion) {
  struct Case {
    Integer platform, major, minor;
    bool has;
  };
  const Case cases[] = {{2, 5, 0, true}, {2, 5, 1, true}, {2, 6, 0, false}, {2, 4, 0, false},
                        {1, 4, 10, true}, {1, 4, 0, false}};
  for (const auto& c : cases) EXPECT_EQ(DetectHotLightColor(c.platform, c.major, c.minor), c.has);
  // This system reports NT 5.1.
  EXPECT_EQ(painter()->ParentInfo()->HotTrackColor(), clHotLight);
}

TEST_F(PainterTest, ParentInfoAndEvents) {
  TcxPCPainterParentInfo* info = painter()->ParentInfo();
  EXPECT_EQ(info->Width(), 200);
  EXPECT_EQ(info->MainTabVisibleIndex(), 0);
  EXPECT_FALSE(info->HasRowsOnBothSides());
  EXPECT_EQ(info->VisibleTab(2), control->Tabs()->GetTab(2));
  EXPECT_EQ(info->TabPageColor(1), control->Color());
  EXPECT_EQ(painter()->TabClipMode(0), 3);
  EXPECT_EQ(painter()->TabRegion(1)->BoundsRect(), (TRect{40, 0, 80, 20}));
  EXPECT_TRUE(painter()->IsPointInTab(0, 0, 0));
  EXPECT_EQ(painter()->HighlightedTabTextColor(0), clHighlightText);

  // Owner drawing needs both OwnerDraw and the handler.
  static bool clearDefault = false;
  control->OnDrawTab =
      TcxDrawTabEvent(+[](TcxCustomTabControl*, TcxTab*, bool& DefaultDraw) { DefaultDraw = !clearDefault; });
  EXPECT_FALSE(painter()->IsOwnerDrawing());
  control->SetOwnerDraw(true);
  EXPECT_TRUE(painter()->IsOwnerDrawing());
  EXPECT_FALSE(painter()->FireDrawTab(0));
  clearDefault = true;
  EXPECT_TRUE(painter()->FireDrawTab(0));

  control->invalidated.clear();
  painter()->InvalidateTabRect(1);
  painter()->InvalidateTabRows(1);
  EXPECT_EQ(control->invalidated, (std::vector<TRect>{{40, 0, 80, 20}, {0, 0, 200, 20}}));
}
