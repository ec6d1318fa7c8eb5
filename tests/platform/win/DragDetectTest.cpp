#include "platform/win/DragDetect.h"

#include <gtest/gtest.h>

#include "tests/platform/win/UserFixture.h"
#include "platform/win/Input.h"
#include "platform/win/SysParams.h"

namespace usertest {
namespace {

class DragDetectTest : public UserTest {
 protected:
  HWND Window() { return Make("w", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100); }
  static constexpr POINT kStart{150, 150};
};

TEST_F(DragDetectTest, MovingOutOfTheDragRectangleIsADrag) {
  HWND w = Window();
  const int half = GetSystemMetrics(SM_CXDRAG) / 2;
  InjectMouseMove(kStart);
  Pump();
  InjectMouseButton(VK_LBUTTON, true, kStart);
  InjectMouseMove({kStart.x + half - 1, kStart.y});  // still inside
  InjectMouseMove({kStart.x + half, kStart.y});
  EXPECT_TRUE(DragDetect(w, kStart));
  EXPECT_EQ(GetCapture(), nullptr) << "the capture is let go";
  InjectMouseButton(VK_LBUTTON, false, {kStart.x + half, kStart.y});
  Pump();
}

TEST_F(DragDetectTest, ReleaseEscapeAndLostCaptureAreNoDrag) {
  HWND w = Window();
  InjectMouseButton(VK_LBUTTON, true, kStart);
  InjectMouseButton(VK_LBUTTON, false, kStart);
  EXPECT_FALSE(DragDetect(w, kStart));
  InjectMouseButton(VK_LBUTTON, true, kStart);
  InjectKey(VK_ESCAPE, true);
  EXPECT_FALSE(DragDetect(w, kStart));
  InjectKey(VK_ESCAPE, false);
  InjectMouseButton(VK_LBUTTON, false, kStart);
  Pump();
  // A message sent meanwhile is dispatched; one that takes the capture away
  // ends the loop.
  HWND other = Make("other", WS_POPUP | WS_VISIBLE, 400, 100, 50, 50);
  static bool seen;
  seen = false;
  Reg().handlers[{"other", WM_USER + 7}] = [](HWND, WPARAM, LPARAM) {
    seen = true;
    return LRESULT{0};
  };
  PostMessage(other, WM_USER + 7, 0, 0);
  Reg().handlers[{"other", WM_USER + 8}] = [](HWND h, WPARAM, LPARAM) {
    SetCapture(h);
    return LRESULT{0};
  };
  PostMessage(other, WM_USER + 8, 0, 0);
  EXPECT_FALSE(DragDetect(w, kStart));
  EXPECT_TRUE(seen);
  ReleaseCapture();
}

}  // namespace
}  // namespace usertest
