// The Tabs style: its class answers, the main tab's growth for each side,
// the theme part and state of each tab, the classic pixels of tabs and
// frame ("no styles"), and the native road through our own visual-style
// renderer.
#include "suite/pagecontrol/cxPCTabsPainter.h"

#include <gtest/gtest.h>

#include "platform/forms/ImgList.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

class TabsPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control = std::make_unique<FakeTabControl>();
    control->AddTabs({"abcd", "efgh", "ijkl"});
    control->ShowWindow(200, 100);
  }
  TcxPCTabsPainter* painter() { return static_cast<TcxPCTabsPainter*>(control->Painter()); }
  void PaintAll() {
    painter()->SaveClip();
    painter()->Paint();
    painter()->RestoreClip();
  }

  VisualStylesScope classic{false};
  FactoryScope factory{{&TcxPCTabsPainterClass::Instance()}};
  std::unique_ptr<FakeTabControl> control;
};

}  // namespace

TEST_F(TabsPainterTest, ClassAnswers) {
  const TcxPCCustomPainterClass k = &TcxPCTabsPainterClass::Instance();
  EXPECT_EQ(k->StyleID(), 1);
  EXPECT_EQ(k->StyleName(), "Tabs");
  EXPECT_EQ(k->TabStyleKind(), 0);
  EXPECT_FALSE(k->IsButtonStyle());
  TcxLookAndFeel* lf = control->LookAndFeel();
  lf->SetKind(lfStandard);
  lf->SetNativeStyle(false);
  EXPECT_TRUE(k->MatchesLookAndFeel(lf));
  EXPECT_FALSE(k->IsDefaultForLookAndFeel(lf));
  lf->SetKind(lfFlat);
  EXPECT_FALSE(k->MatchesLookAndFeel(lf));
  lf->SetNativeStyle(true);
  EXPECT_TRUE(k->IsDefaultForLookAndFeel(lf));
  // Without visual styles the native wish falls back on the classic look.
  EXPECT_FALSE(painter()->IsNativePainting());
  EXPECT_EQ(painter()->NavigatorButtonHeight(), 20);
  control->SetShowFrame(false);
  EXPECT_TRUE(painter()->HasFrame());
}

TEST_F(TabsPainterTest, TheMainTabGrowsOutwardsAndIntoThePage) {
  struct Case {
    TcxTabPosition position;
    TRect correction;
  };
  const Case cases[] = {{tpTop, {-2, -2, 2, 1}},
                        {tpBottom, {-2, -1, 2, 2}},
                        {tpLeft, {-2, -2, 1, 2}},
                        {tpRight, {-1, -2, 2, 2}}};
  for (const auto& c : cases) {
    control->SetTabPosition(c.position);
    EXPECT_EQ(painter()->TabSizeCorrection(0), c.correction) << c.position;
    EXPECT_EQ(painter()->TabSizeCorrection(1), TRect{}) << c.position;
  }
}

TEST_F(TabsPainterTest, StripGeometryOnTop) {
  // Two pixels between the control's edge and the tabs, the tabs run from
  // x = 2, and the strip is one row thick plus the band extra.
  const TcxTab* first = control->Tabs()->GetTab(0);
  const TcxTab* second = control->Tabs()->GetTab(1);
  EXPECT_EQ(second->NormalRect().Left, first->NormalRect().Right);
  EXPECT_EQ(first->NormalRect().Left, 2);
  EXPECT_EQ(first->NormalRect().Top, 2);
  EXPECT_EQ(first->DisplayRect(), AddRectMargins(first->NormalRect(), {-2, -2, 2, 1}));
  const Integer height = control->Tabs()->CommonTabHeight;
  EXPECT_EQ(control->LeadingRowsRect(), (TRect{0, 0, 200, 2 + height + 1}));
  EXPECT_EQ(painter()->TabsAreaMargins(), (TRect{0, 2 + height, 0, 0}));
}

TEST_F(TabsPainterTest, ThemePartsAndStates) {
  struct Case {
    Integer tabIndex;  // the main tab
    Integer hot;
    Integer parts[3];
    Integer states[3];
  };
  const Case cases[] = {
      {0, -1, {6, 1, 3}, {3, 1, 1}},  // main at the left edge
      {2, 1, {2, 1, 5}, {1, 2, 3}},   // main last of the row: the middle part
      {1, -1, {2, 5, 3}, {1, 3, 1}},
  };
  for (const auto& c : cases) {
    control->SetTabIndex(c.tabIndex);
    control->Tabs()->SetHotTab(c.hot);
    for (Integer v = 0; v < 3; ++v) {
      int part = 0;
      int state = 0;
      painter()->TabThemePartAndState(v, part, state);
      EXPECT_EQ(part, c.parts[v]) << c.tabIndex << " " << v;
      EXPECT_EQ(state, c.states[v]) << c.tabIndex << " " << v;
    }
  }
  // A disabled tab takes the normal state.
  control->SetTabIndex(0);
  control->Tabs()->SetHotTab(1);
  control->Tabs()->GetTab(1)->SetEnabled(false);
  int part = 0;
  int state = 0;
  painter()->TabThemePartAndState(1, part, state);
  EXPECT_EQ(state, 1);
}

TEST_F(TabsPainterTest, ClassicPixels) {
  control->SetColor(clBtnFace);
  PaintAll();
  TestSurface& s = control->surface;
  const TRect main = control->Tabs()->GetTab(0)->DisplayRect();
  ASSERT_EQ(main.Left, 0);
  // The main tab at the control's edge: the frame pixel under its left edge
  // stays light, the rest of the frame line under it opens into the page.
  EXPECT_TRUE(s.Is(0, main.Bottom, clBtnHighlight));
  EXPECT_TRUE(s.Is(1, main.Bottom, cl3DLight));
  EXPECT_TRUE(s.Is(10, main.Bottom, clBtnFace));
  // The main tab's own outline: light left, dark right, corners rounded.
  EXPECT_TRUE(s.Is(0, main.Top + 5, clBtnHighlight));
  EXPECT_TRUE(s.Is(main.Right - 1, main.Top + 5, cl3DDkShadow));
  EXPECT_TRUE(s.Is(0, main.Top, clBtnFace));
  // Beside the main tab the page frame is closed: its top line is light.
  const TRect second = control->Tabs()->GetTab(1)->DisplayRect();
  const TRect page = painter()->PageAreaRect();
  EXPECT_TRUE(s.Is(second.Left + 10, page.Top, clBtnHighlight));
  EXPECT_TRUE(s.Is(second.Left + 10, page.Top + 1, cl3DLight));
  // A lower tab stands on the band of the control's colour, below the main
  // tab's top.
  EXPECT_TRUE(s.Is(second.Left + 10, second.Top, clBtnHighlight));
  EXPECT_GT(second.Top, main.Top);
  // The page frame's far corner.
  EXPECT_TRUE(s.Is(199, 99, cl3DDkShadow));
}

TEST_F(TabsPainterTest, ChangingTheMainTabRepaintsTheRowBand) {
  control->invalidated.clear();
  painter()->InvalidateTab(1, tckMainTab);  // not the main tab: its whole band
  ASSERT_EQ(control->invalidated.size(), 1u);
  EXPECT_EQ(control->invalidated[0], control->LeadingRowsRect());
  control->invalidated.clear();
  painter()->InvalidateTab(0, tckMainTab);  // the main tab: its own rect
  ASSERT_EQ(control->invalidated.size(), 1u);
  EXPECT_EQ(control->invalidated[0], control->Tabs()->GetTab(0)->VisibleRect());
}

TEST_F(TabsPainterTest, NativeRoadThroughOurVisualStyle) {
  VisualStylesScope styled(true);
  control->ShowWindow(300, 300);  // room for every tab on each side
  control->LookAndFeel()->SetNativeStyle(true);
  ASSERT_TRUE(painter()->IsNativePainting());
  EXPECT_EQ(painter()->NavigatorButtonHeight(), 17);
  EXPECT_EQ(painter()->NavigatorButtonWidth(nbTopLeft), 17);
  for (TcxTabPosition position : {tpTop, tpBottom, tpLeft, tpRight}) {
    control->SetTabPosition(position);
    control->surface.Reset(300, 300);
    PaintAll();
    // Each tab was drawn by the theme into its bitmap, copied and freed.
    for (Integer v = 0; v < 3; ++v) {
      const TcxTab* tab = control->Tabs()->GetTab(v);
      EXPECT_EQ(tab->NativeBitmap(), nullptr);
      const TRect r = tab->VisibleRect();
      ASSERT_TRUE(tab->IsShown());
      Integer drawn = 0;
      for (Integer y = r.Top; y < r.Bottom; ++y)
        for (Integer x = r.Left; x < r.Right; ++x) drawn += !control->surface.Is(x, y, clWhite);
      EXPECT_GT(drawn, 0) << position;
    }
  }
}

namespace {

std::vector<TColor> PixelsIn(const TestSurface& s, const TRect& r) {
  std::vector<TColor> pixels;
  for (Integer y = r.Top; y < r.Bottom; ++y)
    for (Integer x = r.Left; x < r.Right; ++x) pixels.push_back(s.Px(x, y));
  return pixels;
}

Integer CountIn(const TestSurface& s, const TRect& r, TColor c) {
  Integer n = 0;
  for (Integer y = r.Top; y < r.Bottom; ++y)
    for (Integer x = r.Left; x < r.Right; ++x) n += s.Is(x, y, c);
  return n;
}

}  // namespace

TEST_F(TabsPainterTest, ClassicBordersOnEachSide) {
  control->ShowWindow(300, 300);
  for (TcxTabPosition position : {tpTop, tpBottom, tpLeft, tpRight}) {
    control->SetTabPosition(position);
    control->surface.Reset(300, 300);
    PaintAll();
    const TestSurface& s = control->surface;
    for (Integer v : {0, 2}) {  // the main tab and one it does not overlap
      const TRect r = control->Tabs()->GetTab(v)->DisplayRect();
      const Integer midX = (r.Left + r.Right) / 2;
      const Integer midY = (r.Top + r.Bottom) / 2;
      if (position == tpTop || position == tpBottom) {
        EXPECT_TRUE(s.Is(r.Left, midY, clBtnHighlight)) << position << " " << v;
        EXPECT_TRUE(s.Is(r.Right - 1, midY, cl3DDkShadow)) << position << " " << v;
        EXPECT_TRUE(s.Is(r.Right - 2, midY, clBtnShadow)) << position << " " << v;
      } else {
        EXPECT_TRUE(s.Is(midX, r.Top, clBtnHighlight)) << position << " " << v;
        EXPECT_TRUE(s.Is(midX, r.Bottom - 1, cl3DDkShadow)) << position << " " << v;
        EXPECT_TRUE(s.Is(midX, r.Bottom - 2, clBtnShadow)) << position << " " << v;
      }
    }
  }
}

TEST_F(TabsPainterTest, FocusHotAndTurnedCaptions) {
  TestSurface& s = control->surface;
  const TRect main = control->Tabs()->GetTab(0)->VisibleRect();
  PaintAll();
  const std::vector<TColor> unfocused = PixelsIn(s, main);
  control->focused = true;
  s.Reset(200, 100);
  PaintAll();
  EXPECT_NE(PixelsIn(s, main), unfocused);  // the focus frame inside the main tab

  // A hot tab's caption takes the hot-track colour.
  control->focused = false;
  control->Tabs()->SetHotTab(1);
  s.Reset(200, 100);
  PaintAll();
  const TColor hot = painter()->ParentInfo()->HotTrackColor();
  EXPECT_GT(CountIn(s, control->Tabs()->GetTab(1)->VisibleRect(), hot), 0);
  EXPECT_EQ(CountIn(s, control->Tabs()->GetTab(2)->VisibleRect(), hot), 0);

  // Tabs on the left turn their captions through a cached bitmap.
  control->Tabs()->SetHotTab(-1);
  control->ShowWindow(200, 200);
  control->SetTabPosition(tpLeft);
  PaintAll();
  const TcxTab* tab = control->Tabs()->GetTab(1);
  ASSERT_NE(tab->TextBitmap(), nullptr);
  EXPECT_GT(tab->TextBitmap()->Height(), tab->TextBitmap()->Width());
  EXPECT_GT(CountIn(control->surface, tab->VisibleRect(), clBtnText), 0);
}

TEST_F(TabsPainterTest, TabImages) {
  TImageList images(nullptr);
  images.SetWidth(4);
  images.SetHeight(4);
  TBitmap black;
  black.SetPixelFormat(pf32bit);
  black.SetSize(4, 4);
  black.Canvas()->Brush()->SetColor(clBlack);
  black.Canvas()->FillRect({0, 0, 4, 4});
  images.Add(&black, nullptr);
  control->SetImages(&images);
  PaintAll();
  // Tab 0 shows image 0; tab 1's own image lies beyond the list: no image,
  // no room taken.
  painter()->CalculateTabContentRects(0);
  const TRect image = painter()->ContentImageRect();
  EXPECT_EQ(image.Right - image.Left, 4);
  EXPECT_TRUE(control->surface.Is(image.Left, image.Top, clBlack));
  EXPECT_TRUE(control->surface.Is(image.Right - 1, image.Bottom - 1, clBlack));
  painter()->CalculateTabContentRects(1);
  EXPECT_TRUE(cxRectIsEmpty(painter()->ContentImageRect()));
  control->SetImages(nullptr);
}
