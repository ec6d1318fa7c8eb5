#include "suite/foundation/cxPopupWindow.h"

#include <gtest/gtest.h>

#include "platform/forms/Forms.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Windows.h"
#include "tests/suite/foundation/TopLevelHost.h"

namespace {

class PopupWindow : public ::testing::Test {
 protected:
  void SetUp() override { win::SetScreenSize(800, 600); }
};

TEST_F(PopupWindow, PositionsAgainstTheAnchorAndTheWorkArea) {
  struct Case {
    Byte openDirection, horz, vert;
    TRect anchor;
    Integer w, h;
    TPoint expected;
  } cases[] = {
      {1, 0, 2, {100, 560, 200, 580}, 150, 100, {100, 460}},  // below does not fit, more room above: flips
      {1, 0, 2, {100, 50, 200, 70}, 150, 560, {100, 70}},     // less room above: stays below, past the bottom
      {1, 0, 0, {100, 20, 200, 40}, 150, 100, {100, 40}},     // above does not fit: flips below
      {1, 1, 2, {700, 100, 760, 120}, 300, 50, {500, 120}},   // centred and clamped to the right edge
      {1, 2, 2, {100, 100, 200, 120}, 150, 50, {50, 120}},    // right-aligned to the anchor
      {0, 2, 0, {700, 100, 760, 120}, 200, 50, {500, 100}},   // beside, to the right: flips left
      {0, 0, 0, {10, 100, 60, 120}, 200, 50, {60, 100}},      // beside, to the left: flips right
      {0, 2, 2, {100, 580, 150, 595}, 100, 50, {150, 545}},   // beside, bottom-aligned
      {0, 2, 1, {100, 590, 150, 600}, 100, 50, {150, 550}},   // centred vertically, clamped to the bottom
  };
  for (const Case& c : cases) {
    TcxPopupWindow popup;
    popup.OpenDirection = c.openDirection;
    popup.HorizontalPlacement = c.horz;
    popup.VerticalPlacement = c.vert;
    popup.AnchorRect = c.anchor;
    popup.SetBounds(0, 0, c.w, c.h);
    TPoint p;
    popup.CalculatePosition(p);
    EXPECT_EQ(p, c.expected) << int(c.openDirection) << int(c.horz) << int(c.vert) << " " << c.anchor.Left << ","
                             << c.anchor.Top;
    EXPECT_EQ(popup.VerticalPlacement, c.vert) << "flipping never changes the stored placement";
  }
}

TEST_F(PopupWindow, FitsToItsChildrenInsideTheFrame) {
  TcxPopupWindow popup;
  popup.ChangeFrameKind(PopupFrameDoubleRaised);
  popup.FrameSpacing = 3;
  auto* child = new TCustomControl(&popup);
  child->SetParent(&popup);
  child->SetBounds(0, 0, 40, 20);
  popup.FitToChildren();
  EXPECT_EQ(child->Left(), 5);
  EXPECT_EQ(child->Top(), 5);
  EXPECT_EQ(popup.Width(), 50);
  EXPECT_EQ(popup.Height(), 30);
  popup.ChangeFrameKind(PopupFrameSingle);
  EXPECT_EQ(child->Left(), 0) << "moved back by the old extents";
  EXPECT_EQ(popup.FrameWidth(), 1);
  popup.AutoFit = false;
  popup.FitToChildren();
  EXPECT_EQ(child->Left(), 0);
}

// Records the non-client activation it is told of.
class OwnerWindow : public TopLevelHost {
 public:
  std::vector<bool> ncActivate;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == win::WM_NCACTIVATE) ncActivate.push_back(Message.WParam != 0);
    TopLevelHost::WndProc(Message);
  }
};

TEST_F(PopupWindow, ActivationKeepsTheOwnerCaptionAndClosesWhenLost) {
  OwnerWindow owner;
  owner.HandleNeeded();
  win::SetActiveWindow(owner.Handle());
  Application->ProcessMessages();
  TcxPopupWindow popup;
  popup.SetBounds(0, 0, 100, 60);
  popup.AnchorControl = &owner;
  popup.AnchorRect = {10, 10, 60, 30};
  owner.ncActivate.clear();
  popup.ShowPopup();
  Application->ProcessMessages();
  ASSERT_TRUE(popup.Visible());
  ASSERT_EQ(win::GetActiveWindow(), popup.Handle());
  ASSERT_FALSE(owner.ncActivate.empty());
  EXPECT_TRUE(owner.ncActivate.back()) << "the owner's caption stays active under its popup";

  // Another window of the program takes the activation: the popup closes.
  TopLevelHost other;
  other.HandleNeeded();
  win::SetActiveWindow(other.Handle());
  Application->ProcessMessages();
  EXPECT_FALSE(popup.Visible());

  // The program loses the activation: the owner's caption goes inactive too.
  win::SetActiveWindow(owner.Handle());
  popup.ShowPopup();
  Application->ProcessMessages();
  ASSERT_TRUE(popup.Visible());
  owner.ncActivate.clear();
  win::SendMessage(popup.Handle(), win::WM_ACTIVATEAPP, win::FALSE, 0);
  EXPECT_FALSE(popup.Visible());
  ASSERT_FALSE(owner.ncActivate.empty());
  EXPECT_FALSE(owner.ncActivate.front()) << "told before the popup closes";
}

}  // namespace
