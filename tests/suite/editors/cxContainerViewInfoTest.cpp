// The container view info's painting (classic frames drawn with our GDI,
// the native frame against a recording visual-style library) and the
// geometry and region routines.
#include "suite/editors/cxContainerViewInfo.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/Painting.h"
#include "platform/win/ThemeSchema.h"
#include "platform/win/Windows.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/suite/foundation/FakeThemeLibrary.h"

namespace {

TEST(ContainerGeometry, BorderWidthsAndAbsentEdges) {
  const std::pair<TcxContainerBorderStyle, Integer> widths[] = {
      {cbsNone, 0}, {cbsSingle, 1}, {cbsThick, 2},    {cbsFlat, 2},
      {cbs3D, 2},   {cbsUltraFlat, 1}, {cbsOffice11, 1},
  };
  for (auto [style, width] : widths) EXPECT_EQ(ContainerBorderWidth(style), width) << style;

  const struct {
    TcxBorders edges;
    TRect expected;
  } cases[] = {
      {cxBordersAll, {10, 10, 50, 40}},
      {{}, {12, 12, 48, 38}},
      {{bLeft, bTop}, {10, 10, 48, 38}},
      {{bRight, bBottom}, {12, 12, 50, 40}},
  };
  for (const auto& c : cases) EXPECT_EQ(DeflateRectForAbsentEdges({10, 10, 50, 40}, 2, c.edges), c.expected);
}

class FrameFill : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override { Reset(8, 6); }
};

TEST_F(FrameFill, FillsOnlyTheBandsBetweenOuterAndInner) {
  const struct {
    TRect outer, inner;
    std::vector<std::string> rows;
  } cases[] = {
      {{1, 1, 7, 5}, {3, 2, 5, 4}, {"........", ".######.", ".##..##.", ".##..##.", ".######.", "........"}},
      // An empty inner rect: the outer is filled whole.
      {{1, 1, 4, 3}, {0, 0, 0, 0}, {"........", ".###....", ".###....", "........", "........", "........"}},
      // Nothing for an empty outer rect or an outer equal to the inner.
      {{3, 3, 3, 5}, {0, 0, 0, 0}, {"........", "........", "........", "........", "........", "........"}},
      {{1, 1, 7, 5}, {1, 1, 7, 5}, {"........", "........", "........", "........", "........", "........"}},
  };
  for (const auto& c : cases) {
    Reset(8, 6);
    FillRectFrame(canvas.get(), c.outer, c.inner, clBlack);
    EXPECT_EQ(Rows({0, 0, 8, 6}), c.rows);
  }
}

TEST(ContainerGeometry, RegionWithShadowCoversRectAndItsShiftedCopyOnly) {
  EXPECT_EQ(ContainerRegion({0, 0, 10, 8}, true, true, {}), nullptr);

  auto region = ContainerRegion({0, 0, 10, 8}, false, true, {});
  ASSERT_NE(region, nullptr);
  EXPECT_TRUE(region->ContainsXY(0, 0));
  EXPECT_TRUE(region->ContainsXY(12, 10));  // the shifted copy's far corner
  EXPECT_FALSE(region->ContainsXY(11, 1));  // beside the rect, above the copy
  EXPECT_FALSE(region->ContainsXY(1, 9));   // below the rect, left of the copy
  EXPECT_EQ(region->BoundsRect(), (TRect{0, 0, 13, 11}));

  auto excluded = ContainerRegion({0, 0, 10, 8}, false, false, {2, 2, 4, 4});
  EXPECT_FALSE(excluded->ContainsXY(3, 3));
  EXPECT_TRUE(excluded->ContainsXY(5, 5));
  EXPECT_FALSE(excluded->ContainsXY(11, 9));
}

// Counts the position notices a window gets (setting a region sends one).
struct PositionNoticeCounter {
  explicit PositionNoticeCounter(TControl* c) : control(c), old(c->WindowProc) {
    c->WindowProc = TWndMethod(this, &PositionNoticeCounter::Proc);
  }
  ~PositionNoticeCounter() { control->WindowProc = old; }
  void Proc(TMessage& m) {
    if (m.Msg == win::WM_WINDOWPOSCHANGED) ++count;
    old(m);
  }
  TControl* control;
  TWndMethod old;
  int count = 0;
};

TEST(ContainerGeometry, WindowRegionIsSetOnlyWhenItChanges) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 200, 150);
  form->Show();
  const win::HWND wnd = form->Handle();
  PositionNoticeCounter notices(form.get());

  ApplyContainerWindowRegion(wnd, {0, 0, 50, 40}, false, {}, true);
  TcxRegion current;
  ASSERT_NE(win::GetWindowRgn(wnd, current.Handle), win::ERROR);
  EXPECT_TRUE(win::PtInRegion(current.Handle, 52, 42));
  const int afterFirst = notices.count;
  EXPECT_GT(afterFirst, 0);

  ApplyContainerWindowRegion(wnd, {0, 0, 50, 40}, false, {}, true);
  EXPECT_EQ(notices.count, afterFirst) << "an equal region was applied again";

  ApplyContainerWindowRegion(wnd, {0, 0, 50, 40}, false, {}, false);
  EXPECT_GT(notices.count, afterFirst);
  ASSERT_NE(win::GetWindowRgn(wnd, current.Handle), win::ERROR);
  EXPECT_FALSE(win::PtInRegion(current.Handle, 52, 42));

  // No region wanted: the current one goes.
  ApplyContainerWindowRegion(wnd, {0, 0, 50, 40}, true, {}, false);
  EXPECT_EQ(win::GetWindowRgn(wnd, current.Handle), win::ERROR);
}

// Classic frames, drawn without the visual style (the view info never asks
// it on this path), on a yellow ground ('_') with a lime inside ('o').
class ClassicViewInfo : public ::testing::Test, public TestSurface {
 protected:
  void SetUp() override { Clear(); }
  void Clear() {
    Reset(12, 10);
    canvas->SetBrushColor(clYellow);
    canvas->Canvas->FillRect({0, 0, 12, 10});
  }
  // A view info whose inside lies the border width in from (1, 1, 9, 7).
  void Paint(TcxContainerBorderStyle style, TcxBorders edges, bool shadow = false) {
    vi.BorderStyle = style;
    vi.BorderThickness = ContainerBorderWidth(style);
    vi.BorderColor = clRed;
    vi.Edges = edges;
    vi.ShadowOn = shadow;
    vi.FillColor = clLime;
    const Integer w = vi.BorderThickness;
    vi.WholeRect = {1, 1, 9, 7};
    vi.InsideBorderRect = {1 + w, 1 + w, 9 - (edges.Contains(bRight) ? w : 0), 7 - (edges.Contains(bBottom) ? w : 0)};
    vi.InnerControlRect = vi.InsideBorderRect;
    vi.DrawTo(canvas.get());
  }
  // 3-D light and button face are one colour in the classic scheme: 'f'.
  std::vector<std::string> Picture() {
    return Rows({0, 0, 12, 10}, {{clYellow, '_'},
                                 {clLime, 'o'},
                                 {clRed, 'R'},
                                 {clBtnShadow, 's'},
                                 {clBtnHighlight, 'h'},
                                 {cl3DLight, 'f'},
                                 {clBtnFace, 'f'},
                                 {cl3DDkShadow, 'd'}});
  }
  TcxContainerViewInfo vi;
};

using Drawing = std::vector<std::string>;

TEST_F(ClassicViewInfo, SingleThickFlatAnd3DFrames) {
  const std::string blank = "____________";
  const struct {
    TcxContainerBorderStyle style;
    Drawing rows;
  } cases[] = {
      {cbsSingle,
       {blank, "_RRRRRRRR___", "_RooooooR___", "_RooooooR___", "_RooooooR___", "_RooooooR___", "_RRRRRRRR___",
        blank, blank, blank}},
      {cbsThick,
       {blank, "_RRRRRRRR___", "_RRRRRRRR___", "_RRooooRR___", "_RRooooRR___", "_RRRRRRRR___", "_RRRRRRRR___",
        blank, blank, blank}},
      {cbsFlat,
       {blank, "_sssssssh___", "_sffffffh___", "_sfoooofh___", "_sfoooofh___", "_sffffffh___", "_hhhhhhhh___",
        blank, blank, blank}},
      {cbs3D,
       {blank, "_sssssssh___", "_sdddddfh___", "_sdoooofh___", "_sdoooofh___", "_sffffffh___", "_hhhhhhhh___",
        blank, blank, blank}},
  };
  for (const auto& c : cases) {
    Clear();
    Paint(c.style, cxBordersAll);
    EXPECT_EQ(Picture(), c.rows) << c.style;
  }
}

TEST_F(ClassicViewInfo, AbsentRightAndBottomEdgesDrawNoLineInsideTheWindow) {
  // The window ends at the whole rect; the lines of the absent edges lie one
  // border width beyond it.
  canvas->IntersectClip({1, 1, 9, 7});
  Paint(cbsSingle, {bLeft, bTop});
  const std::string blank = "____________";
  EXPECT_EQ(Picture(), (Drawing{blank, "_RRRRRRRR___", "_Rooooooo___", "_Rooooooo___", "_Rooooooo___",
                                "_Rooooooo___", "_Rooooooo___", blank, blank, blank}));
}

TEST_F(ClassicViewInfo, ShadowIsDrawnAndKeptFromLaterDrawing) {
  Paint(cbsSingle, cxBordersAll, true);
  EXPECT_EQ(Picture(), (Drawing{"____________", "_RRRRRRRR___", "_RooooooR___", "_RooooooR___", "_RooooooRsss",
                                "_RooooooRsss", "_RRRRRRRRsss", "____ssssssss", "____ssssssss", "____ssssssss"}));
  // The strips and the corners beside them are out of the clip now.
  canvas->SetBrushColor(clRed);
  canvas->Canvas->FillRect({0, 0, 12, 10});
  EXPECT_TRUE(Is(1, 8, clYellow));
  EXPECT_TRUE(Is(10, 1, clYellow));
  EXPECT_TRUE(Is(5, 8, clBtnShadow));
  EXPECT_TRUE(Is(0, 0, clRed));
}

TEST_F(ClassicViewInfo, OffsetAndAssignMoveOnlyTheirRects) {
  vi.WholeRect = {0, 0, 10, 10};
  vi.InsideBorderRect = {1, 1, 9, 9};
  vi.InnerControlRect = {2, 2, 8, 8};
  vi.OffsetBy(5, -1);
  EXPECT_EQ(vi.WholeRect, (TRect{5, -1, 15, 9}));
  EXPECT_EQ(vi.InsideBorderRect, (TRect{6, 0, 14, 8}));
  EXPECT_EQ(vi.InnerControlRect, (TRect{7, 1, 13, 7}));
  TcxContainerViewInfo other;
  other.AssignFrom(&vi);
  EXPECT_EQ(other.InnerControlRect, vi.InnerControlRect);
  EXPECT_EQ(other.WholeRect, TRect());
  EXPECT_TRUE(vi.ChangedRegion(&other)->IsEmpty());
}

class NativeViewInfo : public fake_theme::FakeThemeTest, public TestSurface {};

TEST_F(NativeViewInfo, FillsTheContentAndFramesItWithTheComboBoxBorderColour) {
  Reset(12, 10);
  lib().contentMargins = {1, 2, 1, 2};
  lib().colors[{1, 1, win::TMT_BORDERCOLOR}] = win::RGB(0, 0, 255);
  TcxContainerViewInfo vi;
  vi.NativeDrawing = true;
  vi.BorderStyle = cbsSingle;
  vi.ThemedObjectKind = 3;
  vi.ThemePart = 1;
  vi.ThemeState = 5;
  vi.WholeRect = {0, 0, 6, 6};
  vi.FillColor = clRed;
  vi.DrawTo(canvas.get());
  EXPECT_EQ(Rows({0, 0, 6, 6}, {{clRed, 'R'}, {clBlue, 'B'}}),
            (std::vector<std::string>{"BBBBBB", "BBBBBB", "BRRRRB", "BRRRRB", "BBBBBB", "BBBBBB"}));
  bool askedEdit = false, askedComboBorder = false;
  for (const std::string& call : lib().calls) {
    askedEdit |= call == "Content Edit 1 5";
    askedComboBorder |= call == "Color ComboBox 1 1 3801";
  }
  EXPECT_TRUE(askedEdit && askedComboBorder);

  // Without a border the whole rect takes the fill colour.
  Reset(12, 10);
  vi.BorderStyle = cbsNone;
  vi.DrawTo(canvas.get());
  EXPECT_EQ(Count(clRed), 36);
}

}  // namespace
