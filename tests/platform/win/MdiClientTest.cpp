#include "platform/win/MdiClient.h"

#include "tests/platform/win/UserFixture.h"

namespace usertest {
namespace {

// A frame with an MDI client and three plain children, "c" on top.
class MdiClientTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    RegisterMdiClientClass();
    frame_ = Make("frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 450);
    client_ = CreateWindowEx(0, kMdiClientClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 600, 300, frame_, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(client_, nullptr);
    for (const char* name : {"a", "b", "c"}) {
      HWND child = Make(name, WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME, 10, 10, 100, 80, client_,
                        WS_EX_MDICHILD);
      children_.push_back(child);
      Send(WM_MDIACTIVATE, child);
    }
    Pump();
    Taken();
  }
  LRESULT Send(UINT msg, HWND child, LPARAM lParam = 0) {
    return SendMessage(client_, msg, reinterpret_cast<WPARAM>(child), lParam);
  }
  HWND Active() { return reinterpret_cast<HWND>(Send(WM_MDIGETACTIVE, nullptr)); }
  static RECT PlaceOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ScreenToClient(GetParent(child), &p);
    return {p.x, p.y, p.x + r.right - r.left, p.y + r.bottom - r.top};
  }
  HWND frame_ = nullptr, client_ = nullptr;
  std::vector<HWND> children_;
};

TEST_F(MdiClientTest, ActivationTellsTheOldAndTheNewChildAndIgnoresStrangers) {
  HWND a = children_[0], c = children_[2];
  ASSERT_EQ(Active(), c);
  std::vector<std::string> told;
  for (const char* name : {"a", "b", "c"})
    Reg().handlers[{name, WM_MDIACTIVATE}] = [&told, name](HWND, WPARAM w, LPARAM l) {
      told.push_back(std::string(name) +
                     " " + NameOf(reinterpret_cast<HWND>(w)) + ">" + NameOf(reinterpret_cast<HWND>(l)));
      return LRESULT{0};
    };
  Send(WM_MDIACTIVATE, a);
  EXPECT_EQ(Active(), a);
  EXPECT_EQ(told, (std::vector<std::string>{"c c>a", "a c>a"}));
  told.clear();
  // The same child again, a window that is no child of the client: nothing.
  Send(WM_MDIACTIVATE, a);
  Send(WM_MDIACTIVATE, frame_);
  EXPECT_TRUE(told.empty());
  EXPECT_EQ(Active(), a);
  // A destroyed active child is nobody's active child.
  DestroyWindow(a);
  EXPECT_EQ(Active(), nullptr);
}

TEST_F(MdiClientTest, NextAndPreviousCycleThroughTheZOrder) {
  HWND b = children_[1], c = children_[2];
  Send(WM_MDINEXT, nullptr);  // the one under c comes forward, c goes to the back
  EXPECT_EQ(Active(), b);
  EXPECT_EQ(GetWindow(client_, GW_CHILD), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), c);
  Send(WM_MDINEXT, nullptr, 1);  // previous: the bottom one comes back
  EXPECT_EQ(Active(), c);
  EXPECT_EQ(GetWindow(client_, GW_CHILD), c);
}

TEST_F(MdiClientTest, MaximisedChildHandsItsStateOverAndFollowsTheClientsSize) {
  HWND a = children_[0], c = children_[2];
  Send(WM_MDIMAXIMIZE, c);
  ASSERT_TRUE(IsZoomed(c));
  Send(WM_MDIACTIVATE, a);
  EXPECT_TRUE(IsZoomed(a));
  EXPECT_FALSE(IsZoomed(c));
  SetWindowPos(client_, nullptr, 0, 0, 500, 250, SWP_NOZORDER | SWP_NOMOVE);
  const MINMAXINFO place = MdiMaximizedPlace(a);
  const RECT r = PlaceOf(a);
  EXPECT_EQ(r.left, place.ptMaxPosition.x);
  EXPECT_EQ(r.right - r.left, place.ptMaxSize.x);
  EXPECT_EQ(r.bottom - r.top, place.ptMaxSize.y);
  EXPECT_GT(r.right - r.left, 500);  // the frame lies outside the client
  Send(WM_MDIRESTORE, a);
  EXPECT_FALSE(IsZoomed(a));
}

TEST_F(MdiClientTest, TileCascadeAndIconArrangement) {
  HWND a = children_[0], b = children_[1], c = children_[2];
  RECT area;
  GetClientRect(client_, &area);
  ASSERT_EQ(area.right, 600);
  Send(WM_MDITILE, nullptr);  // vertical: side by side over the 600 pixels
  std::vector<int> lefts;
  for (HWND h : {a, b, c}) {
    const RECT r = PlaceOf(h);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 300);
    lefts.push_back(r.left);
  }
  std::sort(lefts.begin(), lefts.end());
  EXPECT_EQ(lefts, (std::vector<int>{0, 200, 400}));

  ShowWindow(b, SW_MINIMIZE);
  SendMessage(client_, WM_MDITILE, MDITILE_HORIZONTAL, 0);  // two rows; the icon stays out
  EXPECT_EQ(PlaceOf(a).bottom - PlaceOf(a).top, 150);
  EXPECT_EQ(PlaceOf(c).right - PlaceOf(c).left, 600);
  Send(WM_MDIICONARRANGE, nullptr);
  EXPECT_EQ(PlaceOf(b).left, 0);
  EXPECT_EQ(PlaceOf(b).bottom, 300);

  Send(WM_MDICASCADE, nullptr);  // the top child last, furthest in
  const RECT top = PlaceOf(GetWindow(client_, GW_CHILD));
  EXPECT_EQ(top.right - top.left, 400);
  EXPECT_GT(top.left, 0);
}

TEST_F(MdiClientTest, DestroyTakesOnlyItsOwnChildren) {
  Send(WM_MDIDESTROY, frame_);
  EXPECT_TRUE(IsWindow(frame_));
  Send(WM_MDIDESTROY, children_[1]);
  EXPECT_FALSE(IsWindow(children_[1]));
}

}  // namespace
}  // namespace usertest
