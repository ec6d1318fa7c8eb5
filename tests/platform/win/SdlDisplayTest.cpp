// The desktop backend on SDL's dummy video driver: real SDL windows and
// events without a display server. The Xvfb run (sdl_smoke) covers the X
// server's side.
#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "tests/platform/win/UserFixture.h"
#include "platform/win/Clipboard.h"
#include "platform/rtl/SystemCalls.h"
#include "platform/win/SdlDisplay.h"

namespace usertest {
namespace {

using Lines = std::vector<std::string>;

TEST(SdlDisplayChoice, EnvironmentForcesAndDisplayDecides) {
  struct Case {
    const char* forced;
    bool present;
    DisplayKind want;
  } cases[] = {
      {nullptr, true, DisplayKind::Sdl},        {nullptr, false, DisplayKind::Headless},
      {"", true, DisplayKind::Sdl},             {"headless", true, DisplayKind::Headless},
      {"sdl", false, DisplayKind::Sdl},         {"headless", false, DisplayKind::Headless},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseDisplayKind(c.forced, c.present), c.want) << (c.forced ? c.forced : "(unset)") << " " << c.present;
  EXPECT_THROW(ChooseDisplayKind("x11", true), Exception);
}

TEST(SdlDisplayChoice, ScaleFromVariableOrDpi) {
  EXPECT_EQ(PresentScale(nullptr, 96), 1);
  EXPECT_EQ(PresentScale(nullptr, 0), 1);  // the display does not say
  EXPECT_EQ(PresentScale(nullptr, 120), 1);
  EXPECT_EQ(PresentScale(nullptr, 192), 2);
  EXPECT_EQ(PresentScale(nullptr, 1000), 4);
  EXPECT_EQ(PresentScale("2", 96), 2);
  EXPECT_EQ(PresentScale("9", 192), 2);  // out of range: the dpi decides
}

TEST(SdlDisplayKeys, SdlKeysToVirtualKeys) {
  struct Case {
    int sdl;
    UINT vk;
  } cases[] = {
      {SDLK_a, 'A'},          {SDLK_z, 'Z'},          {SDLK_0, '0'},         {SDLK_F1, VK_F1},
      {SDLK_F12, VK_F12},     {SDLK_KP_0, VK_NUMPAD0}, {SDLK_KP_9, VK_NUMPAD9}, {SDLK_RETURN, VK_RETURN},
      {SDLK_LSHIFT, VK_LSHIFT}, {SDLK_RCTRL, VK_RCONTROL}, {SDLK_PERIOD, VK_OEM_PERIOD}, {SDLK_DELETE, VK_DELETE},
      {SDLK_AUDIOMUTE, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromSdl(c.sdl), c.vk) << c.sdl;
}

class SdlDisplayTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string error;
    std::unique_ptr<DisplayBackend> sdl = OpenSdlDisplay(&error);
    ASSERT_TRUE(sdl) << error;
    InstallDisplay(std::move(sdl));
  }
  void TearDown() override {
    UserTest::TearDown();
    ResetClipboard();
    InstallDisplay(nullptr);
    unsetenv("SDL_VIDEODRIVER");
  }

  // The SDL window placed at a screen position (layer pixels, scale 1).
  static SDL_Window* SdlWindowAt(int x, int y) {
    for (Uint32 id = 1; id < 256; ++id)
      if (SDL_Window* w = SDL_GetWindowFromID(id)) {
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(w, &wx, &wy);
        if (wx == x && wy == y && (SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN)) return w;
      }
    return nullptr;
  }

  static COLORREF Presented(SDL_Window* w, int x, int y) {
    SDL_Surface* s = SDL_GetWindowSurface(w);
    auto* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
    uint32_t p = *reinterpret_cast<uint32_t*>(row + x * 4);
    Uint8 r, g, b;
    SDL_GetRGB(p, s->format, &r, &g, &b);
    return RGB(r, g, b);
  }

  static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); }
  static Uint32 IdOf(SDL_Window* w) { return SDL_GetWindowID(w); }
  // The left button going down or up at (x, y) of the desktop window.
  static SDL_Event LeftButton(SDL_Window* w, Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = IdOf(w);
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    return e;
  }
  static SDL_Event WindowEvent(SDL_Window* w, SDL_WindowEventID event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = IdOf(w);
    e.window.event = static_cast<Uint8>(event);
    return e;
  }
};

TEST_F(SdlDisplayTest, WindowsShowPaintedPixelsInsideTheirRegion) {
  HWND main = Make("main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 200, 150);
  HWND popup = Make("popup", WS_POPUP | WS_VISIBLE, 300, 200, 80, 60, main, WS_EX_NOACTIVATE);
  Reg().paintColours["popup"] = RGB(255, 0, 0);
  SetWindowRgn(popup, CreateEllipticRgn(0, 0, 80, 60), TRUE);
  Pump();
  Pump();  // the next look at the queue presents what the last one painted
  SDL_Window* mainWindow = SdlWindowAt(40, 30);
  SDL_Window* popupWindow = SdlWindowAt(300, 200);
  ASSERT_TRUE(mainWindow && popupWindow);
  EXPECT_FALSE(SDL_GetWindowFlags(mainWindow) & SDL_WINDOW_POPUP_MENU);
  EXPECT_TRUE(SDL_GetWindowFlags(popupWindow) & SDL_WINDOW_POPUP_MENU);
  EXPECT_TRUE(SDL_GetWindowFlags(mainWindow) & SDL_WINDOW_BORDERLESS);  // the layer draws the frame
  EXPECT_EQ(Presented(popupWindow, 40, 30), RGB(255, 0, 0));
  EXPECT_EQ(Presented(popupWindow, 1, 1), GetSysColor(COLOR_DESKTOP));

  // A later change reaches the desktop window too; hiding hides it.
  Reg().paintColours["popup"] = RGB(0, 0, 255);
  InvalidateRect(popup, nullptr, TRUE);
  Pump();
  Pump();
  EXPECT_EQ(Presented(popupWindow, 40, 30), RGB(0, 0, 255));
  ShowWindow(popup, SW_HIDE);
  EXPECT_FALSE(SDL_GetWindowFlags(popupWindow) & SDL_WINDOW_SHOWN);
}

TEST_F(SdlDisplayTest, DesktopEventsBecomeLayerMessages) {
  HWND main = Make("main", WS_POPUP | WS_VISIBLE, 50, 40, 200, 150);
  HWND edit = Make("edit", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, main);
  SetActiveWindow(main);
  SetFocus(edit);
  Pump();
  SDL_Window* w = SdlWindowAt(50, 40);
  ASSERT_TRUE(w);
  Reg().only = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_CHAR, WM_KEYDOWN, WM_CLOSE};
  Taken();

  Push(LeftButton(w, SDL_MOUSEBUTTONDOWN, 20, 15));
  Push(LeftButton(w, SDL_MOUSEBUTTONUP, 20, 15));
  Pump();
  EXPECT_EQ(Taken(), (std::vector<std::string>{"edit WM_LBUTTONDOWN", "edit WM_LBUTTONUP"}));

  // A key that makes its own character is not typed twice by the text input
  // that follows it; text without a key gives one WM_CHAR per code point.
  SetFocus(edit);
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.windowID = IdOf(w);
  key.key.keysym.sym = SDLK_a;
  Push(key);
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  text.text.windowID = IdOf(w);
  SDL_strlcpy(text.text.text, "a", sizeof text.text.text);
  Push(text);
  key.type = SDL_KEYUP;
  Push(key);
  SDL_strlcpy(text.text.text, "\xC3\xA9\xE2\x82\xAC", sizeof text.text.text);  // e-acute, euro sign
  Push(text);
  Pump();
  EXPECT_EQ(Taken(), (std::vector<std::string>{"edit WM_KEYDOWN", "edit WM_CHAR 97", "edit WM_KEYDOWN",
                                               "edit WM_CHAR 233", "edit WM_KEYDOWN", "edit WM_CHAR 8364"}));

  SDL_Event moved = WindowEvent(w, SDL_WINDOWEVENT_MOVED);
  moved.window.data1 = 120;
  moved.window.data2 = 90;
  Push(moved);
  Pump();
  RECT r;
  GetWindowRect(main, &r);
  SetWindowText(main, "renamed");
  Pump();
  EXPECT_STREQ(SDL_GetWindowTitle(w), "renamed");
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 90);
  EXPECT_EQ(r.right - r.left, 200);

  // The desktop's focus activates; minimising and restoring follow it.
  HWND other = Make("other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300, 100, 100);
  SetActiveWindow(main);
  Pump();
  SDL_Window* otherWindow = SdlWindowAt(400, 300);
  ASSERT_TRUE(otherWindow);
  Push(WindowEvent(otherWindow, SDL_WINDOWEVENT_FOCUS_GAINED));
  Push(WindowEvent(otherWindow, SDL_WINDOWEVENT_MINIMIZED));
  Pump();
  EXPECT_EQ(GetActiveWindow(), other);
  EXPECT_TRUE(IsIconic(other));
  Push(WindowEvent(otherWindow, SDL_WINDOWEVENT_RESTORED));
  Pump();
  EXPECT_FALSE(IsIconic(other));
  // Focus gone to another program: nothing of ours stays active.
  Push(WindowEvent(otherWindow, SDL_WINDOWEVENT_FOCUS_LOST));
  Pump();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  Taken();

  Push(WindowEvent(w, SDL_WINDOWEVENT_CLOSE));
  Pump();
  EXPECT_EQ(Taken(), std::vector<std::string>{"main WM_CLOSE"});
}

// SDL's dummy driver makes no cursors at all, so the picture handed to
// SDL_CreateColorCursor is what can be checked here.
TEST_F(SdlDisplayTest, OwnCursorsBecomeColourPicturesAtTheScale) {
  const BYTE andPlane[] = {0x3F, 0x00, 0xFF, 0x00};
  const BYTE xorPlane[] = {0x40, 0x00, 0x00, 0x00};
  HCURSOR made = CreateCursor(nullptr, 1, 1, 8, 2, andPlane, xorPlane);
  for (int scale : {1, 2}) {
    int xHot = -1, yHot = -1;
    SDL_Surface* s = CursorSurface(made, scale, &xHot, &yHot);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->w, 8 * scale);
    EXPECT_EQ(s->h, 2 * scale);
    EXPECT_EQ(xHot, scale);
    EXPECT_EQ(yHot, scale);
    auto pixel = [s](int x, int y) {
      Uint8 r, g, b, a;
      SDL_GetRGBA(*reinterpret_cast<Uint32*>(static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 4), s->format, &r,
                  &g, &b, &a);
      return std::vector<int>{r, g, b, a};
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{0, 0, 0, 255}));                    // black
    EXPECT_EQ(pixel(scale, scale - 1), (std::vector<int>{255, 255, 255, 255}));  // white
    EXPECT_EQ(pixel(2 * scale, 0)[3], 0);                                        // see-through
    EXPECT_EQ(pixel(8 * scale - 1, 2 * scale - 1)[3], 0);
    SDL_FreeSurface(s);
  }
  // The program's drawn shapes have pictures; the desktop's own shapes do not.
  SDL_Surface* drag = CursorSurface(LoadCursor(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCE(65524)), 1, nullptr,
                                    nullptr);
  EXPECT_TRUE(drag);
  SDL_FreeSurface(drag);
  EXPECT_FALSE(CursorSurface(LoadCursor(nullptr, IDC_IBEAM), 1, nullptr, nullptr));

  // Showing one goes through the backend without harm even where the driver
  // can make no cursor.
  Make("main", WS_POPUP | WS_VISIBLE, 50, 40, 200, 150);
  SetCursor(made);
  Pump();
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  Pump();
  DestroyCursor(made);
}

TEST_F(SdlDisplayTest, ClipboardTextGoesBothWays) {
  HWND main = Make("main", WS_POPUP | WS_VISIBLE, 50, 40, 200, 150);
  ASSERT_TRUE(SetClipboardText(main, "from the program"));
  char* desktop = SDL_GetClipboardText();
  EXPECT_STREQ(desktop, "from the program");
  SDL_free(desktop);
  SDL_SetClipboardText("from the desktop");
  std::string text;
  ASSERT_TRUE(GetClipboardText(main, &text));
  EXPECT_EQ(text, "from the desktop");
}

// Alt+letter and Ctrl+letter make their character once: the text input SDL
// reports for the chord is not typed a second time.
TEST_F(SdlDisplayTest, ChordKeysMakeTheirCharacterOnce) {
  HWND main = Make("main", WS_POPUP | WS_VISIBLE, 50, 40, 200, 150);
  HWND edit = Make("edit", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, main);
  SetActiveWindow(main);
  SetFocus(edit);
  Pump();
  SDL_Window* w = SdlWindowAt(50, 40);
  ASSERT_TRUE(w);
  Reg().only = {WM_CHAR, WM_SYSCHAR};
  auto key = [&](Uint32 type, SDL_Keycode sym) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = IdOf(w);
    e.key.keysym.sym = sym;
    Push(e);
  };
  for (SDL_Keycode modifier : {SDLK_LALT, SDLK_LCTRL}) {
    Taken();
    key(SDL_KEYDOWN, modifier);
    key(SDL_KEYDOWN, SDLK_a);
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = IdOf(w);
    SDL_strlcpy(text.text.text, "a", sizeof text.text.text);
    Push(text);
    key(SDL_KEYUP, SDLK_a);
    key(SDL_KEYUP, modifier);
    Pump();
    EXPECT_EQ(Taken(), modifier == SDLK_LALT ? Lines{"edit WM_SYSCHAR 97"} : Lines{"edit WM_CHAR 1"});
  }
}

// The program's SIGINT and SIGTERM stay its own: opening the display
// installs no handlers of SDL's.
TEST(SdlDisplaySignals, OpeningTheDisplayLeavesTheSignalsAlone) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  sys::SignalHandler before[2] = {}, after[2] = {};
  for (int i : {0, 1}) ASSERT_TRUE(sys::CurrentSignalHandler(i ? SIGTERM : SIGINT, before[i]));
  std::string error;
  std::unique_ptr<DisplayBackend> sdl = OpenSdlDisplay(&error);
  ASSERT_TRUE(sdl) << error;
  for (int i : {0, 1}) ASSERT_TRUE(sys::CurrentSignalHandler(i ? SIGTERM : SIGINT, after[i]));
  sdl.reset();
  unsetenv("SDL_VIDEODRIVER");
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[1], before[1]);
}

// A display of twice the density: the layer keeps its pixels, the desktop
// windows and their contents are twice the size, and input comes back in
// the layer's pixels.
class SdlScaledDisplayTest : public SdlDisplayTest {
 protected:
  void SetUp() override {
    setenv("VXN_SCALE", "2", 1);
    SdlDisplayTest::SetUp();
  }
  void TearDown() override {
    SdlDisplayTest::TearDown();
    unsetenv("VXN_SCALE");
  }
};

TEST_F(SdlScaledDisplayTest, PresentsAndTakesInputAtTheScale) {
  SIZE screen = GetScreenSize();
  HWND main = Make("main", WS_POPUP | WS_VISIBLE, 40, 30, 100, 80);
  Reg().paintColours["main"] = RGB(0, 255, 0);
  Pump();
  Pump();
  SDL_Window* w = SdlWindowAt(80, 60);
  ASSERT_TRUE(w);
  int width = 0, height = 0;
  SDL_GetWindowSize(w, &width, &height);
  EXPECT_EQ(width, 200);
  EXPECT_EQ(height, 160);
  EXPECT_EQ(Presented(w, 199, 159), RGB(0, 255, 0));
  SDL_Rect bounds;
  ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
  EXPECT_EQ(screen.cx, bounds.w / 2);
  SDL_Rect usable;
  ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work.right - work.left, usable.w / 2);
  EXPECT_EQ(work.bottom - work.top, usable.h / 2);

  Reg().only = {WM_LBUTTONDOWN};
  Reg().handlers[{"main", WM_LBUTTONDOWN}] = [](HWND, WPARAM, LPARAM l) {
    Reg().log.push_back(std::to_string(GET_X_LPARAM(l)) + "," + std::to_string(GET_Y_LPARAM(l)));
    return 0;
  };
  Taken();
  Push(LeftButton(w, SDL_MOUSEBUTTONDOWN, 41, 30));
  Pump();
  EXPECT_EQ(Taken(), (std::vector<std::string>{"main WM_LBUTTONDOWN", "20,15"}));
  (void)main;
}

}  // namespace
}  // namespace usertest
