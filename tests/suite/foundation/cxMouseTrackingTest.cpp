#include "suite/foundation/cxMouseTracking.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"

namespace {

struct Caller : IcxMouseTrackingCaller {
  int left = 0;
  void MouseLeave() override { ++left; }
};

TEST(cxMouseTracking, TheCallerIsToldOnceWhenTheMouseLeaves) {
  win::SetScreenSize(800, 600);
  TFakeClockScope clock;
  Caller caller;
  win::InjectMouseMove({50, 50});
  Application->ProcessMessages();
  BeginMouseTracking(nullptr, {0, 0, 100, 100}, &caller);
  BeginMouseTracking(nullptr, {0, 0, 100, 100}, &caller);
  EXPECT_EQ(MouseTrackingCount(), 1);
  clock.Advance(20);
  Application->ProcessMessages();
  EXPECT_EQ(caller.left, 0);
  win::InjectMouseMove({150, 50});
  Application->ProcessMessages();
  clock.Advance(10);
  Application->ProcessMessages();
  clock.Advance(10);
  Application->ProcessMessages();
  EXPECT_EQ(caller.left, 1);
  EXPECT_FALSE(IsMouseTracked(&caller));
  EndMouseTracking(&caller);  // nothing: not tracked
  // Leftovers are freed quietly at program end.
  Caller forgotten;
  BeginMouseTracking(nullptr, {0, 0, 10, 10}, &forgotten);
  FinalizeMouseTracking();
  EXPECT_EQ(MouseTrackingCount(), 0);
  win::ResetInputState();
}

// A control that ends the tracking when it hears the mouse leave, as the
// suite's push button does.
struct EndingControl : TWinControl, IcxMouseTrackingCaller {
  using TWinControl::TWinControl;
  int left = 0;
  void MouseLeave() override { ++left; }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_MOUSELEAVE) EndMouseTracking(this);
    TWinControl::WndProc(Message);
  }
};

TEST(cxMouseTracking, TheControlMayEndTheTrackingWhenTheMouseLeaves) {
  win::SetScreenSize(800, 600);
  TFakeClockScope clock;
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* control = new EndingControl(&form);
  control->SetParent(&form);
  control->SetBounds(10, 10, 50, 50);
  form.Show();
  const TPoint inside = control->ClientToScreen({5, 5});
  win::InjectMouseMove({inside.X, inside.Y});
  Application->ProcessMessages();
  BeginMouseTracking(control, {0, 0, 50, 50}, control);
  win::InjectMouseMove({700, 500});
  clock.Advance(10);
  Application->ProcessMessages();
  EXPECT_EQ(control->left, 1);
  EXPECT_FALSE(IsMouseTracked(control));
  win::ResetInputState();
}

}  // namespace
