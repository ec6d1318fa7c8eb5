// Spin button painting: arrow directions and the doubled fast arrows, the
// embossed disabled arrows, the hot-flat frame kinds and the ultra-flat
// shared edges of a hot button (no styles), and the visual style's buttons
// with the separator line in the background colour (our renderer).
#include "suite/editors/cxSpinEditViewInfo.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "suite/editors/cxEditPainting.h"
#include "tests/suite/editors/SpinEditFixture.h"

namespace {

class SpinPaint : public SpinEditFixture {
 protected:
  void Show(TcxSpinEditButtonsPosition position, bool fast) {
    props.position = position;
    SetFast(fast);
    Layout();
    Paint();
  }
  // How many pixels of colour c each row (or column) of R holds, empty
  // rows left out: an arrow's outline from its first line to its last.
  std::vector<Integer> Profile(const TRect& R, TColor c, bool rows) {
    std::vector<Integer> out;
    const Integer outer = rows ? R.Height() : R.Width(), inner = rows ? R.Width() : R.Height();
    for (Integer i = 0; i < outer; ++i) {
      Integer n = 0;
      for (Integer j = 0; j < inner; ++j)
        n += rows ? Is(R.Left + j, R.Top + i, c) : Is(R.Left + i, R.Top + j, c);
      if (n) out.push_back(n);
    }
    return out;
  }
  TRect Box(const TRect& R, TColor c) {
    TRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (Integer y = R.Top; y < R.Bottom; ++y)
      for (Integer x = R.Left; x < R.Right; ++x)
        if (Is(x, y, c)) box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                                std::max(box.Bottom, y + 1)};
    return box;
  }
  // The middle pixel of each side (left, top, right, bottom): 's' in
  // colour a, 'f' in colour b, '?' otherwise.
  std::string Sides(const TRect& R, TColor a, TColor b) {
    const Integer mx = (R.Left + R.Right) / 2, my = (R.Top + R.Bottom) / 2;
    const TPoint points[] = {{R.Left, my}, {mx, R.Top}, {R.Right - 1, my}, {mx, R.Bottom - 1}};
    std::string s;
    for (const TPoint& p : points) s += Is(p.X, p.Y, a) ? 's' : Is(p.X, p.Y, b) ? 'f' : '?';
    return s;
  }
};

TEST_F(SpinPaint, ArrowsPointTheirWayAndTheFastOnesAreDouble) {
  VisualStylesScope classic(false);
  const std::vector<Integer> up{1, 3, 5}, down{5, 3, 1};
  const std::vector<Integer> doubleBack{1, 3, 5, 1, 3, 5}, doubleForward{5, 3, 1, 5, 3, 1};
  struct Case {
    TcxSpinEditButtonsPosition position;
    bool fast;
    std::vector<std::vector<Integer>> arrows;  // by button
    bool rows;
  };
  const Case cases[] = {
      {sbpVert, false, {down, up}, true},
      {sbpHorzLeftRight, true, {up, down, doubleBack, doubleForward}, false},
      {sbpHorzRight, true, {up, down, doubleBack, doubleForward}, false},
  };
  for (const auto& c : cases) {
    Show(c.position, c.fast);
    for (Integer i = 0; i < vi.ButtonCount(); ++i)
      EXPECT_EQ(Profile(vi.Button(i)->Bounds, clBtnText, c.rows), c.arrows[i])
          << "position " << c.position << ", button " << i;
  }
  // From left to right at both ends: fast back, back, (text), forward, fast forward.
  props.position = sbpHorzLeftRight;
  Layout();
  auto b = [&](Integer i) { return vi.Button(i)->Bounds; };
  EXPECT_LE(b(2).Right, b(0).Left);
  EXPECT_LT(b(0).Right, b(1).Left);
  EXPECT_LE(b(1).Right, b(3).Left);
}

TEST_F(SpinPaint, DisabledArrowsAreEmbossed) {
  VisualStylesScope classic(false);
  enabled = false;
  Layout();
  Paint();
  // Inside the hot-flat frame.
  const TRect b = cxRectInflate(vi.Button(1)->Bounds, -1, -1);
  EXPECT_EQ(Profile(b, clBtnShadow, true), (std::vector<Integer>{1, 3, 5}));
  const TRect shade = Box(b, clBtnShadow), light = Box(b, clBtnHighlight);
  EXPECT_EQ(light.Right, shade.Right + 1) << "the highlight lies one pixel right and down";
  EXPECT_EQ(light.Bottom, shade.Bottom + 1);
  EXPECT_TRUE(Profile(b, clBtnText, true).empty());
}

TEST_F(SpinPaint, HotFlatFramesByPositionAndButton) {
  VisualStylesScope classic(false);
  style->SetButtonStyle(btsHotFlat);
  // Sides left, top, right, bottom: 's' shadow, 'f' the face colour.
  struct Case {
    TcxSpinEditButtonsPosition position;
    bool fast;
    std::vector<std::string> sides;  // by button
  };
  const Case cases[] = {
      {sbpVert, false, {"sfss", "ssss"}},
      {sbpVert, true, {"ffss", "fsss", "ssss", "fsss"}},
      {sbpHorzRight, false, {"ssss", "fsss"}},
      {sbpHorzRight, true, {"fsss", "fsss", "ssss", "fsss"}},
      {sbpHorzLeftRight, true, {"ssss", "ssss", "ssfs", "fsss"}},
  };
  for (const auto& c : cases) {
    Show(c.position, c.fast);
    for (Integer i = 0; i < vi.ButtonCount(); ++i)
      EXPECT_EQ(Sides(vi.Button(i)->Bounds, clBtnShadow, clBtnFace), c.sides[i])
          << "position " << c.position << (c.fast ? ", fast" : "") << ", button " << i;
  }
}

TEST_F(SpinPaint, AHotUltraFlatButtonDrawsOnlyTheEdgesTowardsItsNeighbours) {
  VisualStylesScope classic(false);
  style->SetButtonStyle(btsUltraFlat);
  const TColor border = HighlightedBorderColor(false), hot = HighlightedButtonColor(false, false);
  struct Case {
    const char* name;
    TcxSpinEditButtonsPosition position;
    Integer button;
    std::string sides;  // 's' border, 'f' the hot fill
  };
  const Case cases[] = {
      {"stacked, upper", sbpVert, 1, "sffs"},
      {"stacked, lower", sbpVert, 0, "ssff"},
      {"right, forward", sbpHorzRight, 1, "sfff"},
      {"right, backward", sbpHorzRight, 0, "sfsf"},
      {"both ends, backward at the border", sbpHorzLeftRight, 0, "ffsf"},
  };
  for (const auto& c : cases) {
    props.position = c.position;
    Layout();
    const TRect b = vi.Button(c.button)->Bounds;
    Layout({(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2});
    ASSERT_EQ(vi.HotButton, c.button) << c.name;
    Paint();
    EXPECT_EQ(Sides(b, border, hot), c.sides) << c.name;
  }
}

TEST_F(SpinPaint, TheVisualStyleDrawsTheButtonsAndALineInTheBackgroundColour) {
  style->SetColor(clYellow);
  for (bool styles : {true, false}) {
    SCOPED_TRACE(styles ? "our renderer" : "no styles");
    VisualStylesScope mode(styles);
    style->LookAndFeel()->SetNativeStyle(true);
    for (auto position : {sbpVert, sbpHorzRight}) {
      props.position = position;
      Layout();
      Paint();
      const TRect b0 = vi.Button(0)->Bounds, b1 = vi.Button(1)->Bounds;
      if (!styles) {
        EXPECT_EQ(vi.Button(0)->NativeState, 0) << "without styles the classic path";
        EXPECT_EQ(vi.SeparatorStart, vi.SeparatorEnd);
        EXPECT_FALSE(Profile(b1, clBtnText, position == sbpVert).empty()) << "classic arrows";
        continue;
      }
      const TPoint a = vi.SeparatorStart, z = vi.SeparatorEnd;
      EXPECT_TRUE(Is(a.X, a.Y, clYellow) && Is(z.X, z.Y, clYellow) && Is((a.X + z.X) / 2, (a.Y + z.Y) / 2, clYellow))
          << "separator at " << position;
      EXPECT_FALSE(Is((b0.Left + b0.Right) / 2, b0.Top + 1, clYellow)) << "button drawn by the style";
      EXPECT_FALSE(Is((b1.Left + b1.Right) / 2, b1.Top + 1, clYellow));
    }
  }
}

}  // namespace
