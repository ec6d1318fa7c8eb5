#include "platform/forms/UpDown.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"

#include "tests/support/VisualStylesScope.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Windows.h"

using namespace formstest;
using namespace win;

namespace {

using UpDownTest = SizedHostTest;

TEST_F(UpDownTest, UpDownStepsByClicksAndShowsInItsAssociate) {
  auto* buddy = LoggedChild(*host, nullptr, "");
  buddy->SetBounds(10, 10, 100, 24);
  auto* ud = new TUpDown(host.get());
  ud->SetMin(998);
  ud->SetMax(1002);
  ud->SetAssociate(buddy);
  EXPECT_EQ(ud->Parent(), host.get());
  EXPECT_EQ(buddy->Width(), 100 - ud->Width());
  EXPECT_EQ(ud->Left(), buddy->Left() + buddy->Width());
  EXPECT_EQ(buddy->Caption(), "998");
  std::vector<TUDBtnType> clicks;
  struct Log {
    std::vector<TUDBtnType>* v;
    void On(TObject*, TUDBtnType b) { v->push_back(b); }
  } log{&clicks};
  ud->OnClick = TUDClickEvent(&log, &Log::On);
  Show();
  TPoint up = ud->ClientToScreen({ud->Width() / 2, 2});
  TPoint down = ud->ClientToScreen({ud->Width() / 2, ud->Height() - 3});
  for (int i = 0; i < 5; ++i) InjectClick({up.X, up.Y});
  Pump();
  EXPECT_EQ(ud->Position(), 1002);  // stops at Max without Wrap
  EXPECT_EQ(buddy->Caption(), "1,002");
  InjectClick({down.X, down.Y});
  Pump();
  EXPECT_EQ(ud->Position(), 1001);
  EXPECT_EQ(clicks.size(), 6u);
  EXPECT_EQ(clicks.back(), btPrev);
  ud->SetWrap(true);
  ud->SetPosition(1002);
  InjectClick({up.X, up.Y});
  Pump();
  EXPECT_EQ(ud->Position(), 998);
  ud->SetThousands(false);
  ud->SetPosition(1000);
  EXPECT_EQ(buddy->Caption(), "1000");
  buddy->SetFocus();
  InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_UP);
  Pump();
  EXPECT_EQ(ud->Position(), 999);
  ud->SetArrowKeys(false);
  InjectKeyPress(VK_DOWN);
  Pump();
  EXPECT_EQ(ud->Position(), 999);
  delete buddy;
  EXPECT_EQ(ud->Associate(), nullptr);
}

// With the style the control is the style's spin buttons, disabled ones
// when it is.
TEST_F(UpDownTest, FollowsTheVisualStyle) {
  VisualStylesScope styles(true);
  auto* ud = Place<TUpDown>(120, 10, 16, 24);
  Show();
  UpdateWindow(host->Handle());
  EXPECT_EQ(ScreenColorAt(*ud, 0, 6), ThemeColor(u"Spin", SPNP_UP, UPS_NORMAL, TMT_BORDERCOLOR));
  ud->SetEnabled(false);
  Pump();
  ud->Repaint();
  EXPECT_EQ(ScreenColorAt(*ud, 0, 6), ThemeColor(u"Spin", SPNP_UP, UPS_DISABLED, TMT_BORDERCOLOR));
}

}  // namespace
