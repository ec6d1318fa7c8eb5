// Spin button layout: bounds for every position with and without the fast
// buttons (classic), the visual style's parts, gap and separator line, the
// button a held spin key shows pressed with no hot button beside it.
#include "suite/editors/cxSpinEditViewData.h"

#include <gtest/gtest.h>

#include "platform/win/ThemeSchema.h"
#include "tests/suite/editors/SpinEditFixture.h"

namespace {

using namespace win;

using SpinLayout = SpinEditFixture;

TEST_F(SpinLayout, ClassicBoundsByPositionAndFastButtons) {
  VisualStylesScope classic(false);
  // Inside the 2-pixel transparent border R = (2, 2, 98, 19): button width
  // 16, arrow size 3, side-by-side width 9, fast width 14.
  struct Case {
    const char* name;
    TcxSpinEditButtonsPosition position;
    bool fast;
    std::vector<TRect> bounds;
  };
  const Case cases[] = {
      {"stacked", sbpVert, false, {{82, 10, 98, 19}, {82, 2, 98, 10}}},
      {"stacked, fast", sbpVert, true, {{68, 10, 84, 19}, {68, 2, 84, 10}, {54, 2, 68, 19}, {84, 2, 98, 19}}},
      {"right", sbpHorzRight, false, {{80, 2, 89, 19}, {89, 2, 98, 19}}},
      {"right, fast", sbpHorzRight, true, {{66, 2, 75, 19}, {75, 2, 84, 19}, {52, 2, 66, 19}, {84, 2, 98, 19}}},
      {"both ends", sbpHorzLeftRight, false, {{2, 2, 11, 19}, {89, 2, 98, 19}}},
      {"both ends, fast", sbpHorzLeftRight, true, {{16, 2, 25, 19}, {75, 2, 84, 19}, {2, 2, 16, 19}, {84, 2, 98, 19}}},
  };
  for (const auto& c : cases) {
    props.position = c.position;
    SetFast(c.fast);
    Layout();
    ASSERT_EQ(vi.ButtonCount(), static_cast<Integer>(c.bounds.size())) << c.name;
    for (Integer i = 0; i < vi.ButtonCount(); ++i) {
      EXPECT_EQ(vi.Button(i)->Bounds, c.bounds[i]) << c.name << ", button " << i;
      EXPECT_EQ(vi.Button(i)->VisibleBounds, c.bounds[i]) << c.name << ", button " << i;
      EXPECT_EQ(vi.Button(i)->NativePart, 0);
      EXPECT_EQ(vi.Button(i)->NativeState, 0);
      EXPECT_EQ(vi.Button(i)->LeftAlignment, c.position == sbpHorzLeftRight && (i == 0 || i == 2))
          << c.name << ", button " << i;
    }
    EXPECT_EQ(vi.ArrowSize, 3) << c.name;
    EXPECT_EQ(vi.ButtonsPosition, c.position);
    EXPECT_EQ(vi.SeparatorStart, TPoint{});
    EXPECT_EQ(vi.SeparatorEnd, TPoint{});
  }
}

TEST_F(SpinLayout, TheVisualStyleGivesSpinPartsAGapAndASeparatorLine) {
  VisualStylesScope styles(true);
  style->LookAndFeel()->SetNativeStyle(true);
  struct Case {
    TcxSpinEditButtonsPosition position;
    std::vector<Integer> parts;
  };
  const Case cases[] = {
      {sbpVert, {SPNP_DOWN, SPNP_UP, SPNP_DOWNHORZ, SPNP_UPHORZ}},
      {sbpHorzRight, {SPNP_DOWNHORZ, SPNP_UPHORZ, SPNP_DOWNHORZ, SPNP_UPHORZ}},
      {sbpHorzLeftRight, {SPNP_DOWNHORZ, SPNP_UPHORZ, SPNP_DOWNHORZ, SPNP_UPHORZ}},
  };
  for (const auto& c : cases) {
    props.position = c.position;
    SetFast(true);
    Layout();
    for (Integer i = 0; i < 4; ++i) {
      EXPECT_EQ(vi.Button(i)->NativePart, c.parts[i]) << c.position << " " << i;
      EXPECT_EQ(vi.Button(i)->NativeState, UPS_NORMAL);
    }
    const TRect b0 = vi.Button(0)->Bounds, b1 = vi.Button(1)->Bounds;
    switch (c.position) {
      case sbpVert:
        EXPECT_EQ(b0.Top, b1.Bottom + 1) << "a one-pixel gap between the stacked buttons";
        EXPECT_EQ(vi.SeparatorStart, (TPoint{b1.Left, b1.Bottom}));
        EXPECT_EQ(vi.SeparatorEnd, (TPoint{b1.Right - 1, b1.Bottom}));
        break;
      case sbpHorzRight:
        EXPECT_EQ(b0.Right, b1.Left - 1);
        EXPECT_EQ(vi.SeparatorStart, (TPoint{b0.Right, b0.Top}));
        EXPECT_EQ(vi.SeparatorEnd, (TPoint{b0.Right, b0.Bottom - 1}));
        break;
      default: EXPECT_EQ(vi.SeparatorStart, vi.SeparatorEnd); break;
    }
  }
  // The side-by-side width follows the text height: half of it, rounded up.
  props.position = sbpHorzRight;
  SetFast(false);
  Layout();
  const Integer w = vi.Button(1)->Bounds.Width();
  EXPECT_GT(w, 4);
  EXPECT_EQ(vi.Button(0)->Bounds.Width(), w);

  // Disabled buttons take the disabled spin state.
  enabled = false;
  Layout();
  EXPECT_EQ(vi.Button(0)->NativeState, UPS_DISABLED);
}

TEST_F(SpinLayout, AHeldSpinKeyPressesItsButtonAndNoneIsHot) {
  VisualStylesScope classic(false);
  Layout({90, 5});
  EXPECT_EQ(vi.HotButton, 1) << "the pointer over the upper button";

  edit->held = 1 | 0x80;  // the backward button, with a flag above the low 7 bits
  Layout({90, 5});
  EXPECT_EQ(vi.Button(0)->State, ebbsPressed);
  EXPECT_EQ(vi.Button(1)->State, ebbsNormal) << "not hot while a key is held";
  EXPECT_EQ(vi.HotButton, -1);
  EXPECT_EQ(vi.PressedButton, 0);

  edit->held = 2;
  Layout();
  EXPECT_EQ(vi.Button(1)->State, ebbsPressed);
  EXPECT_EQ(vi.Button(0)->State, ebbsNormal);
}

}  // namespace
