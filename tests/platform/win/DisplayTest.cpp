#include "platform/win/Display.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/platform/win/WinFixture.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/SysColors.h"

using namespace win;
using wintest::WinTest;

namespace {

class Display : public WinTest {
 protected:
  // Fills a window's rectangle in its top-level window's surface.
  static void Paint(HWND hwnd, COLORREF color) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    SurfacePixels px;
    ASSERT_TRUE(GetWindowSurface(top, &px));
    HDC dc = CreatePixelDC(px.pixels, px.width, px.height, px.strideBytes);
    RECT topRect, r;
    GetWindowRect(top, &topRect);
    GetWindowRect(hwnd, &r);
    RECT local{r.left - topRect.left, r.top - topRect.top, r.right - topRect.left, r.bottom - topRect.top};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &local, brush);
    DeleteObject(brush);
    DeleteDC(dc);
  }

  static COLORREF At(const std::vector<uint32_t>& screen, int width, int x, int y) {
    uint32_t p = screen[static_cast<size_t>(y * width + x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }

  static std::string TempPng(const char* name) {
    return testing::TempDir() + "vxn-display-" + std::to_string(::getpid()) + "-" + name + ".png";
  }

  static COLORREF PngPixel(const std::string& path, int x, int y, int* width, int* height) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    *width = cairo_image_surface_get_width(s);
    *height = cairo_image_surface_get_height(s);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    uint32_t p = data[y * (cairo_image_surface_get_stride(s) / 4) + x];
    cairo_surface_destroy(s);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
};

TEST_F(Display, TopLevelWindowsComposeIntoTheScreen) {
  SetScreenSize(320, 200);
  HWND back = Make("back", WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
  HWND front = Make("front", WS_POPUP | WS_VISIBLE, 60, 60, 100, 100);
  HWND hidden = Make("hidden", WS_POPUP, 200, 10, 50, 50);
  HWND kid = Make("kid", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, front);
  Paint(back, RGB(255, 0, 0));
  Paint(front, RGB(0, 0, 255));
  Paint(kid, RGB(0, 255, 0));
  Paint(hidden, RGB(255, 255, 0));

  int width = 0, height = 0;
  std::vector<uint32_t> screen = ComposeScreen(&width, &height);
  ASSERT_EQ(width, 320);
  ASSERT_EQ(height, 200);
  COLORREF desktop = GetSysColor(COLOR_DESKTOP);
  EXPECT_EQ(At(screen, width, 0, 0), desktop);
  EXPECT_EQ(At(screen, width, 20, 20), RGB(255, 0, 0));
  EXPECT_EQ(At(screen, width, 65, 65), RGB(0, 0, 255));  // front covers back
  EXPECT_EQ(At(screen, width, 75, 75), RGB(0, 255, 0));  // the child draws into front's surface
  EXPECT_EQ(At(screen, width, 210, 20), desktop);        // hidden windows do not show

  // Raising back puts it over front; a region cuts front's corner away.
  BringWindowToTop(back);
  SetWindowRgn(front, CreateEllipticRgn(0, 0, 100, 100), TRUE);
  screen = ComposeScreen(&width, &height);
  EXPECT_EQ(At(screen, width, 65, 65), RGB(255, 0, 0));
  EXPECT_EQ(At(screen, width, 155, 155), desktop);
  EXPECT_EQ(At(screen, width, 130, 130), RGB(0, 0, 255));

  // A surface keeps what was drawn when its window grows; the new part is white.
  MoveWindow(front, 60, 60, 120, 100, TRUE);
  SurfacePixels px;
  ASSERT_TRUE(GetWindowSurface(front, &px));
  EXPECT_EQ(px.width, 120);
  EXPECT_EQ(px.pixels[50 * 120 + 50], 0x000000FFu);
  EXPECT_EQ(px.pixels[50 * 120 + 110], 0x00FFFFFFu);
  EXPECT_FALSE(GetWindowSurface(kid, &px));  // children have none of their own
}

TEST_F(Display, ScreenshotsOfTheScreenAndOfAWindow) {
  SetScreenSize(64, 48);
  HWND top = Make("top", WS_POPUP | WS_VISIBLE, 4, 4, 40, 30);
  HWND kid = Make("kid", WS_CHILD | WS_VISIBLE, 5, 6, 10, 8, top);
  Paint(top, RGB(0, 0, 255));
  Paint(kid, RGB(0, 255, 0));
  std::string screen = TempPng("screen");
  std::string window = TempPng("kid");
  ASSERT_TRUE(SaveScreenToPng(screen));
  ASSERT_TRUE(SaveWindowToPng(kid, window));
  int width = 0, height = 0;
  EXPECT_EQ(PngPixel(screen, 4, 4, &width, &height), RGB(0, 0, 255));
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
  EXPECT_EQ(PngPixel(screen, 9, 10, &width, &height), RGB(0, 255, 0));
  EXPECT_EQ(PngPixel(window, 0, 0, &width, &height), RGB(0, 255, 0));
  EXPECT_EQ(width, 10);
  EXPECT_EQ(height, 8);
  ::unlink(screen.c_str());
  ::unlink(window.c_str());
  EXPECT_FALSE(SaveWindowToPng(reinterpret_cast<HWND>(0x1234), window));
}

class CountingDisplay : public DisplayBackend {
 public:
  const char* Name() const override { return "counting"; }
  void TopLevelChanged(HWND) override { ++changed; }
  void TopLevelDestroyed(HWND) override { ++destroyed; }
  int changed = 0;
  int destroyed = 0;
};

TEST_F(Display, ABackendHearsOfTopLevelWindows) {
  auto owned = std::make_unique<CountingDisplay>();
  CountingDisplay* display = owned.get();
  InstallDisplay(std::move(owned));
  EXPECT_STREQ(CurrentDisplay().Name(), "counting");
  HWND top = Make("top", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
  HWND kid = Make("kid", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, top);
  int afterCreate = display->changed;
  EXPECT_GE(afterCreate, 1);
  MoveWindow(kid, 1, 1, 5, 5, TRUE);
  EXPECT_EQ(display->changed, afterCreate);  // children live inside their top-level window
  MoveWindow(top, 1, 1, 10, 10, TRUE);
  EXPECT_EQ(display->changed, afterCreate + 1);
  DestroyWindow(top);
  EXPECT_EQ(display->destroyed, 1);
  InstallDisplay(nullptr);
  EXPECT_STREQ(CurrentDisplay().Name(), "headless");
}

}  // namespace
