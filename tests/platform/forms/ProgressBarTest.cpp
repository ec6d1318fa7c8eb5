#include "platform/forms/ProgressBar.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"

#include "tests/support/VisualStylesScope.h"
#include "platform/win/Painting.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

using namespace formstest;
using namespace win;

namespace {

using ProgressBarTest = SizedHostTest;

TEST_F(ProgressBarTest, ProgressBarStepsAndWraps) {
  auto* pb = new TProgressBar(host.get());
  pb->SetParent(host.get());
  pb->SetMax(50);
  pb->SetPosition(45);
  pb->StepIt();
  EXPECT_EQ(pb->Position(), 5);
  pb->SetPosition(80);
  EXPECT_EQ(pb->Position(), 50);
  pb->SetMax(20);
  EXPECT_EQ(pb->Position(), 20);
  Show();
  pb->SetPosition(10);
  pb->Repaint();  // painting a half-full bar must not fail
}

// With the style the bar is the style's bar with chunks up to its position;
// the classic look comes back when the style goes off.
TEST_F(ProgressBarTest, FollowsTheVisualStyle) {
  VisualStylesScope styles(true);
  auto* bar = Place<TProgressBar>(10, 10, 100, 16);
  bar->SetSmooth(true);
  bar->SetPosition(50);
  Show();
  UpdateWindow(host->Handle());
  EXPECT_EQ(ScreenColorAt(*bar, 0, 8), ThemeColor(u"Progress", PP_BAR, 1, TMT_BORDERCOLOR));
  EXPECT_EQ(ScreenColorAt(*bar, 20, 8), ThemeColor(u"Progress", PP_CHUNK, 1, TMT_FILLCOLOR));
  EXPECT_EQ(ScreenColorAt(*bar, 90, 8), ThemeColor(u"Progress", PP_BAR, 1, TMT_FILLCOLOR));

  SetVisualStylesEnabled(false);
  Pump();
  UpdateWindow(host->Handle());
  EXPECT_EQ(ScreenColorAt(*bar, 20, 8), ColorToRGB(clHighlight));
  EXPECT_EQ(ScreenColorAt(*bar, 0, 8), ColorToRGB(clBtnShadow));
}

}  // namespace
