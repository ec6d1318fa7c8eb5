#include "platform/win/UxTheme.h"

#include <gtest/gtest.h>

#include "UserFixture.h"

namespace usertest {
namespace {

class UxThemeTest : public UserTest {};

TEST_F(UxThemeTest, AnswersAsASystemWithoutVisualStyles) {
  EXPECT_FALSE(IsThemeActive());
  EXPECT_FALSE(IsAppThemed());
  EXPECT_EQ(OpenThemeData(nullptr, u"ScrollBar"), nullptr);
  EXPECT_EQ(OpenThemeData(nullptr, u"Button;Edit"), nullptr);
  // No handle is valid, so every call that takes one fails and draws nothing.
  auto stranger = reinterpret_cast<HTHEME>(0x1000);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(CloseThemeData(stranger), E_HANDLE);
  EXPECT_EQ(DrawThemeBackground(stranger, nullptr, 1, 1, &r, nullptr), E_HANDLE);
  EXPECT_EQ(DrawThemeText(stranger, nullptr, 1, 1, u"x", 1, 0, 0, &r), E_HANDLE);
  SIZE size{};
  EXPECT_EQ(GetThemePartSize(stranger, nullptr, 1, 1, nullptr, TS_TRUE, &size), E_HANDLE);
  COLORREF c = 0;
  EXPECT_EQ(GetThemeColor(stranger, 1, 1, TMT_BORDERCOLOR, &c), E_HANDLE);
  EXPECT_FALSE(IsThemeBackgroundPartiallyTransparent(stranger, 1, 1));
  char16_t name[16] = u"junk";
  EXPECT_TRUE(FAILED(GetCurrentThemeName(name, 16, nullptr, 0, nullptr, 0)));
  EXPECT_EQ(name[0], u'\0');

  // What Windows serves without a theme.
  EXPECT_EQ(GetThemeSysColor(nullptr, COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetThemeSysSize(nullptr, SM_CXVSCROLL), 16);
  LOGFONT lf;
  EXPECT_EQ(GetThemeSysFont(nullptr, TMT_CAPTIONFONT, &lf), S_OK);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(GetThemeSysFont(nullptr, 4242, &lf), E_INVALIDARG);
  SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
  EXPECT_EQ(GetThemeAppProperties(), STAP_ALLOW_NONCLIENT);
  SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT);
}

TEST_F(UxThemeTest, ParentBackgroundIsPaintedIntoTheChildsDC) {
  HWND parent = Make("P", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100);
  HWND child = Make("C", WS_CHILD | WS_VISIBLE, 50, 20, 40, 30, parent);
  Pump();
  POINT seen{-1, -1};
  Reg().handlers[{"P", WM_ERASEBKGND}] = [&](HWND, WPARAM wp, LPARAM) {
    auto dc = reinterpret_cast<HDC>(wp);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    seen = origin;
    // A gradient-like background: left half red, right half blue.
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT left{0, 0, 70, 100}, right{70, 0, 200, 100};
    FillRect(dc, &left, red);
    FillRect(dc, &right, blue);
    DeleteObject(red);
    DeleteObject(blue);
    return LRESULT{1};
  };
  HDC dc = GetDC(child);
  RECT part{0, 0, 40, 30};
  EXPECT_EQ(DrawThemeParentBackground(child, dc, &part), S_OK);
  ReleaseDC(child, dc);
  EXPECT_EQ(seen, (POINT{-50, -20}));
  EXPECT_EQ(ScreenPixel(155, 125), RGB(255, 0, 0));  // parent x 55
  EXPECT_EQ(ScreenPixel(185, 125), RGB(0, 0, 255));  // parent x 85
  EXPECT_EQ(DrawThemeParentBackground(parent, dc, nullptr), E_HANDLE);  // not a child
}

TEST_F(UxThemeTest, SetWindowThemeTellsTheWindow) {
  Reg().only = {WM_THEMECHANGED};
  HWND w = Make("W", WS_POPUP, 0, 0, 10, 10);
  EXPECT_EQ(SetWindowTheme(w, u"", u""), S_OK);
  EXPECT_EQ(Taken(), std::vector<std::string>{"W WM_THEMECHANGED"});
  EXPECT_EQ(GetWindowTheme(w), nullptr);
}

}  // namespace
}  // namespace usertest
