#include "platform/win/Input.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/win/UserFixture.h"
#include "platform/rtl/Resources.h"
#include "platform/win/CursorImages.h"
#include "platform/win/Gdi.h"

namespace usertest {
namespace {

using Lines = std::vector<std::string>;

constexpr DWORD kFramed = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

class InputTest : public UserTest {};

TEST_F(InputTest, ActivationAndFocusMessagesComeInWindowsOrder) {
  Reg().only = {WM_ACTIVATE, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_SETFOCUS, WM_KILLFOCUS};
  HWND a = Make("A", WS_OVERLAPPEDWINDOW, 10, 10, 200, 150);
  HWND child = Make("C", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, a);
  HWND b = Make("B", WS_OVERLAPPEDWINDOW, 300, 10, 200, 150);
  ShowWindow(a, SW_SHOWNA);
  ShowWindow(b, SW_SHOWNA);
  Taken();

  // The program gains the activation: every top-level window hears it first
  // (in z-order).
  EXPECT_EQ(SetActiveWindow(a), nullptr);
  EXPECT_EQ(Taken(), (Lines{"B WM_ACTIVATEAPP 1", "A WM_ACTIVATEAPP 1", "A WM_NCACTIVATE 1", "A WM_ACTIVATE 1",
                            "A WM_SETFOCUS"}));
  EXPECT_EQ(GetFocus(), a);

  EXPECT_EQ(SetActiveWindow(b), a);
  EXPECT_EQ(Taken(), (Lines{"A WM_NCACTIVATE 0", "A WM_ACTIVATE 0", "B WM_NCACTIVATE 1", "B WM_ACTIVATE 1",
                            "A WM_KILLFOCUS", "B WM_SETFOCUS"}));

  // Focusing a child of the inactive window activates it without a detour
  // of the focus over the frame.
  EXPECT_EQ(SetFocus(child), b);
  EXPECT_EQ(Taken(), (Lines{"B WM_NCACTIVATE 0", "B WM_ACTIVATE 0", "A WM_NCACTIVATE 1", "A WM_ACTIVATE 1",
                            "B WM_KILLFOCUS", "C WM_SETFOCUS"}));
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), child);

  // Going away hands activation to the other window.
  DestroyWindow(a);
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetFocus(), b);
  Taken();
  SetActiveWindow(nullptr);
  EXPECT_EQ(Taken(), (Lines{"B WM_NCACTIVATE 0", "B WM_ACTIVATE 0", "B WM_ACTIVATEAPP 0", "B WM_KILLFOCUS"}));
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(InputTest, ShowingAWindowActivatesItAndHidingPassesActivationOn) {
  HWND a = Make("A", kFramed, 10, 10, 200, 150);
  EXPECT_EQ(GetActiveWindow(), a);
  HWND b = Make("B", kFramed, 300, 10, 200, 150);
  EXPECT_EQ(GetActiveWindow(), b);
  ShowWindow(b, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), a);
}

TEST_F(InputTest, CaptureChangesAndCancelModeAreAnnounced) {
  Reg().only = {WM_CAPTURECHANGED, WM_CANCELMODE};
  HWND a = Make("A", kFramed, 10, 10, 200, 150);
  HWND c = Make("C", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, a);
  HWND b = Make("B", WS_OVERLAPPEDWINDOW, 300, 10, 200, 150);
  SetActiveWindow(a);
  Taken();

  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(SetCapture(c), a);
  EXPECT_EQ(GetCapture(), c);
  EXPECT_EQ(Taken(), Lines{"A WM_CAPTURECHANGED"});

  // Everything the mouse does goes to the capture, wherever it is.
  Reg().only = {WM_LBUTTONDOWN, WM_CAPTURECHANGED, WM_CANCELMODE};
  InjectMouseButton(VK_LBUTTON, true, {600, 400});
  Pump();
  EXPECT_EQ(Taken(), Lines{"C WM_LBUTTONDOWN"});

  // Another window taking the activation ends the mode.
  SetActiveWindow(b);
  EXPECT_EQ(Taken(), (Lines{"C WM_CANCELMODE", "C WM_CAPTURECHANGED"}));
  EXPECT_EQ(GetCapture(), nullptr);
  SetCapture(b);
  ReleaseCapture();
  EXPECT_EQ(Taken(), Lines{"B WM_CAPTURECHANGED"});
}

TEST_F(InputTest, DoubleClicksNeedTheClassStyleTimeAndPlace) {
  struct Case {
    const char* cls;
    UInt64 pause;
    int dx;
    Lines expected;
  } cases[] = {
      {kDoubleClickClass, 100, 0, {"W WM_LBUTTONDOWN", "W WM_LBUTTONUP", "W WM_LBUTTONDBLCLK", "W WM_LBUTTONUP"}},
      {kDoubleClickClass, 100, 1, {"W WM_LBUTTONDOWN", "W WM_LBUTTONUP", "W WM_LBUTTONDBLCLK", "W WM_LBUTTONUP"}},
      {kDoubleClickClass, 600, 0, {"W WM_LBUTTONDOWN", "W WM_LBUTTONUP", "W WM_LBUTTONDOWN", "W WM_LBUTTONUP"}},
      {kDoubleClickClass, 100, 5, {"W WM_LBUTTONDOWN", "W WM_LBUTTONUP", "W WM_LBUTTONDOWN", "W WM_LBUTTONUP"}},
      {kPlainClass, 100, 0, {"W WM_LBUTTONDOWN", "W WM_LBUTTONUP", "W WM_LBUTTONDOWN", "W WM_LBUTTONUP"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.cls) + " pause " + std::to_string(c.pause) + " dx " + std::to_string(c.dx));
    Reg().only = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
    HWND w = Make("W", WS_POPUP | WS_VISIBLE, 100, 100, 100, 100, nullptr, 0, c.cls);
    POINT p = ScreenOf(w, 50, 50);
    InjectClick(p);
    clock_.Advance(c.pause);
    InjectClick({p.x + c.dx, p.y});
    Pump();
    EXPECT_EQ(Taken(), c.expected);
    DestroyWindow(w);
    clock_.Advance(1000);
  }
}

TEST_F(InputTest, ThirdClickStartsAfreshAndTheCaptionDoubleClicksWithoutClassStyle) {
  Reg().only = {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK};
  HWND w = Make("W", kFramed, 100, 100, 200, 150, nullptr, 0, kDoubleClickClass);
  POINT p = ScreenOf(w, 20, 20);
  InjectClick(p);
  InjectClick(p);
  InjectClick(p);
  Pump();
  EXPECT_EQ(Taken(), (Lines{"W WM_LBUTTONDOWN", "W WM_LBUTTONDBLCLK", "W WM_LBUTTONDOWN"}));

  HWND plain = Make("P", kFramed & ~WS_MAXIMIZEBOX, 400, 100, 200, 150);
  RECT r;
  GetWindowRect(plain, &r);
  POINT caption{r.left + 60, r.top + 10};
  clock_.Advance(1000);
  InjectDoubleClick(caption);
  Pump();
  EXPECT_EQ(Taken(), (Lines{"P WM_NCLBUTTONDOWN", "P WM_NCLBUTTONDBLCLK"}));
}

TEST_F(InputTest, SetCursorCarriesTheHitCodeAndTheDefaultPicksTheShape) {
  std::vector<std::pair<LRESULT, UINT>> seen;
  Reg().handlers[{"W", WM_SETCURSOR}] = [&](HWND h, WPARAM wp, LPARAM lp) {
    seen.push_back({static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lp))), HIWORD(static_cast<uintptr_t>(lp))});
    return DefWindowProc(h, WM_SETCURSOR, wp, lp);
  };
  HWND w = Make("W", kFramed, 100, 100, 200, 150);
  RECT r;
  GetWindowRect(w, &r);
  struct Case {
    POINT at;
    LRESULT hit;
    const char* cursor;
  } cases[] = {
      {{r.left + 1, r.top + 60}, HTLEFT, "IDC_SIZEWE"},
      {{r.right - 1, r.bottom - 1}, HTBOTTOMRIGHT, "IDC_SIZENWSE"},
      {{r.left + 100, r.top + 1}, HTTOP, "IDC_SIZENS"},
      {{r.right - 1, r.top + 1}, HTTOPRIGHT, "IDC_SIZENESW"},
      {{r.left + 80, r.top + 12}, HTCAPTION, "IDC_ARROW"},
      {{r.left + 80, r.top + 80}, HTCLIENT, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hit);
    seen.clear();
    SetCursor(nullptr);
    InjectMouseMove(c.at);
    EXPECT_TRUE(seen.empty());  // decided when the message is taken
    Pump();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, c.hit);
    EXPECT_EQ(seen[0].second, c.hit == HTCLIENT ? WM_MOUSEMOVE : WM_NCMOUSEMOVE);
    EXPECT_EQ(CursorName(GetCursor()), c.cursor);
  }
  // A press reports the button message.
  seen.clear();
  InjectMouseButton(VK_LBUTTON, true, cases[4].at);
  InjectMouseButton(VK_LBUTTON, false, cases[4].at);
  Pump();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().second, WM_NCLBUTTONDOWN);
}

TEST_F(InputTest, SetCursorAsksTheParentFirstAndUsesTheClassCursor) {
  HWND parent = Make("P", kFramed, 100, 100, 300, 200);
  HWND child = Make("C", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, parent);
  SetClassLongPtr(child, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(LoadCursor(nullptr, IDC_IBEAM)));
  InjectMouseMove(ScreenOf(child, 5, 5));
  Pump();
  EXPECT_EQ(CursorName(GetCursor()), "IDC_IBEAM");

  Reg().handlers[{"P", WM_SETCURSOR}] = [](HWND, WPARAM, LPARAM) {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return LRESULT{TRUE};
  };
  InjectMouseMove(ScreenOf(child, 6, 5));
  Pump();
  EXPECT_EQ(CursorName(GetCursor()), "IDC_HAND");
  SetClassLongPtr(child, GCLP_HCURSOR, 0);

  // The program's own cursors keep one handle per name.
  HINSTANCE self = reinterpret_cast<HINSTANCE>(1);
  EXPECT_EQ(LoadCursor(self, "CX_DRAGCURSOR"), LoadCursor(self, "CX_DRAGCURSOR"));
  EXPECT_NE(LoadCursor(self, "CX_DRAGCURSOR"), LoadCursor(self, "CX_NODROPCURSOR"));
  EXPECT_EQ(CursorName(LoadCursor(self, MAKEINTRESOURCE(2100))), "#2100");
  EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
}

// Four pixels, one per AND/XOR pair: (1,0) see-through, (0,0) black, (0,1)
// white, (1,1) inverting, shown black.
constexpr BYTE kAndRow[] = {0x90, 0x00};
constexpr BYTE kXorRow[] = {0x30, 0x00};
const std::vector<uint32_t> kMaskedPixels = {0x00000000, 0xFF000000, 0xFFFFFFFF, 0xFF000000};

TEST_F(InputTest, CreatedCursorsKeepTheirPictureUntilDestroyed) {
  HCURSOR made = CreateCursor(nullptr, 2, 9, 4, 1, kAndRow, kXorRow);
  CursorImage image;
  ASSERT_TRUE(GetCursorImage(made, &image));
  EXPECT_EQ(image.width, 4);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.xHotspot, 2);
  EXPECT_EQ(image.yHotspot, 0);  // kept inside the picture
  EXPECT_EQ(image.argb, kMaskedPixels);

  // Shown and then destroyed: the picture and the current cursor go.
  SetCursor(made);
  EXPECT_TRUE(DestroyCursor(made));
  EXPECT_FALSE(GetCursorImage(made, &image));
  EXPECT_EQ(GetCursor(), nullptr);
  EXPECT_FALSE(DestroyCursor(made));
  // Loaded cursors are shared: destroying one leaves it usable.
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  EXPECT_TRUE(DestroyCursor(arrow));
  EXPECT_EQ(CursorName(arrow), "IDC_ARROW");
}

TEST_F(InputTest, IconsFromMaskAndColourBitmaps) {
  // Monochrome: AND plane above XOR plane, rows padded to 16 bits.
  const BYTE planes[] = {kAndRow[0], kAndRow[1], kXorRow[0], kXorRow[1]};
  HBITMAP mono = CreateBitmap(4, 2, 1, 1, planes);
  ICONINFO info;
  info.hbmMask = mono;
  info.fIcon = TRUE;
  CursorImage image;
  HICON icon = CreateIconIndirect(&info);
  ASSERT_TRUE(GetCursorImage(icon, &image));
  EXPECT_EQ(image.argb, kMaskedPixels);
  EXPECT_EQ(image.xHotspot, 2);  // an icon's hot spot is its centre

  // 32-bit colour without alpha: the mask cuts it out; with alpha, the alpha does.
  const BYTE andOnly[] = {0x80, 0x00, 0x00, 0x00};
  HBITMAP mask = CreateBitmap(2, 1, 1, 1, andOnly);
  const uint32_t opaque[] = {0x00123456, 0x00ABCDEF};
  const uint32_t blended[] = {0x80123456, 0x00ABCDEF};
  struct Case {
    const uint32_t* colour;
    std::vector<uint32_t> want;
  } cases[] = {
      {opaque, {0xFF000000, 0xFFABCDEF}},  // see-through over colour inverts: black
      {blended, {0x80123456, 0x00ABCDEF}},
  };
  for (const Case& c : cases) {
    HBITMAP colour = CreateBitmap(2, 1, 1, 32, c.colour);
    ICONINFO ci;
    ci.xHotspot = 1;
    ci.hbmMask = mask;
    ci.hbmColor = colour;
    HCURSOR cursor = CreateIconIndirect(&ci);
    ASSERT_TRUE(GetCursorImage(cursor, &image));
    EXPECT_EQ(image.argb, c.want);
    EXPECT_EQ(image.xHotspot, 1);
    DestroyCursor(cursor);
    DeleteObject(colour);
  }
  DestroyIcon(icon);
  DeleteObject(mask);
  DeleteObject(mono);
}

TEST_F(InputTest, TheLayerDrawsTheProgramsOwnShapes) {
  HINSTANCE self = reinterpret_cast<HINSTANCE>(1);
  // The program's numbered shapes (drag, no-drop, splitters, multi-drag,
  // database wait) and the system shapes a desktop lacks have pictures;
  // the others are left to the display by name.
  for (uintptr_t number : {65524u, 65523u, 65522u, 65521u, 65520u, 65519u}) {
    CursorImage image;
    ASSERT_TRUE(GetCursorImage(LoadCursor(self, MAKEINTRESOURCE(number)), &image)) << number;
    ASSERT_EQ(image.argb.size(), static_cast<size_t>(image.width * image.height));
    EXPECT_LT(image.xHotspot, image.width);
    EXPECT_LT(image.yHotspot, image.height);
    // Black outline, white inside, see-through around it.
    for (uint32_t want : {0x00000000u, 0xFF000000u, 0xFFFFFFFFu})
      EXPECT_NE(std::find(image.argb.begin(), image.argb.end(), want), image.argb.end()) << number;
  }
  EXPECT_TRUE(GetCursorImage(LoadCursor(nullptr, IDC_HELP), nullptr));
  EXPECT_TRUE(GetCursorImage(LoadCursor(nullptr, IDC_UPARROW), nullptr));
  EXPECT_FALSE(GetCursorImage(LoadCursor(nullptr, IDC_ARROW), nullptr));
  EXPECT_FALSE(GetCursorImage(LoadCursor(self, "CX_UNKNOWN"), nullptr));
}

std::string Le(uint32_t v, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

// One picture of a cursor file; rows top-down, each already padded to 4 bytes.
std::string CursorDib(int width, int height, int bits, const std::vector<uint32_t>& table,
                      const std::vector<std::string>& xorRows, const std::vector<std::string>& andRows) {
  std::string dib = Le(40, 4) + Le(static_cast<uint32_t>(width), 4) + Le(static_cast<uint32_t>(2 * height), 4) +
                    Le(1, 2) + Le(static_cast<uint32_t>(bits), 2) + std::string(24, '\0');
  for (uint32_t c : table) dib += Le(c, 4);
  for (auto it = xorRows.rbegin(); it != xorRows.rend(); ++it) dib += *it;
  for (auto it = andRows.rbegin(); it != andRows.rend(); ++it) dib += *it;
  return dib;
}

struct CursorEntry {
  int size, xHot, yHot;
  std::string dib;
};
std::string CursorFile(const std::vector<CursorEntry>& entries) {
  std::string file = Le(0, 2) + Le(2, 2) + Le(static_cast<uint32_t>(entries.size()), 2);
  size_t offset = 6 + 16 * entries.size();
  for (const CursorEntry& e : entries) {
    file += Le(static_cast<uint32_t>(e.size), 1) + Le(static_cast<uint32_t>(e.size), 1) + Le(0, 2) +
            Le(static_cast<uint32_t>(e.xHot), 2) + Le(static_cast<uint32_t>(e.yHot), 2) +
            Le(static_cast<uint32_t>(e.dib.size()), 4) + Le(static_cast<uint32_t>(offset), 4);
    offset += e.dib.size();
  }
  for (const CursorEntry& e : entries) file += e.dib;
  return file;
}

TEST_F(InputTest, CursorResourcesOfTheProgramGiveTheirPictures) {
  // A 1-bit 16 x 16 picture and a 32-bit 32 x 32 one: the 32 x 32 one is
  // taken. Its top row: opaque red, half-transparent blue, the rest clear.
  const std::string blank32(32 * 4, '\0');
  std::vector<std::string> rows32(32, blank32), mask32(32, std::string(4, '\0'));
  rows32[0] = Le(0xFFFF0000, 4) + Le(0x800000FF, 4) + std::string(30 * 4, '\0');
  // 1 bit with a black/white table: top row white then black, bottom row see-through.
  std::vector<std::string> rows16(16, std::string(4, '\0')), mask16(16, std::string(4, '\0'));
  rows16[0] = std::string("\x80\0\0\0", 4);
  mask16[15] = std::string("\xFF\xFF\0\0", 4);
  static const std::string files[] = {
      CursorFile({{16, 1, 1, CursorDib(16, 16, 1, {0x000000, 0xFFFFFF}, rows16, mask16)},
                  {32, 3, 4, CursorDib(32, 32, 32, {}, rows32, mask32)}}),
      CursorFile({{16, 20, 2, CursorDib(16, 16, 1, {0x000000, 0xFFFFFF}, rows16, mask16)}}),
  };
  static const TResourceEntry entries[] = {
      {"CX_TESTBIG", "CURSOR", reinterpret_cast<const unsigned char*>(files[0].data()), files[0].size()},
      {"#65524", "CURSOR", reinterpret_cast<const unsigned char*>(files[1].data()), files[1].size()},
  };
  RegisterResources(entries, std::size(entries));
  HINSTANCE self = reinterpret_cast<HINSTANCE>(1);

  CursorImage big;
  ASSERT_TRUE(GetCursorImage(LoadCursor(self, "CX_TESTBIG"), &big));
  EXPECT_EQ(big.width, 32);
  EXPECT_EQ(big.xHotspot, 3);
  EXPECT_EQ(big.yHotspot, 4);
  EXPECT_EQ(big.argb[0], 0xFFFF0000u);
  EXPECT_EQ(big.argb[1], 0x800000FFu);
  EXPECT_EQ(big.argb[2], 0u);

  // The program's own resource wins over the drawn drag picture (resources
  // stay for the run; the drawn-shapes test holds for this picture too).
  CursorImage small;
  ASSERT_TRUE(GetCursorImage(LoadCursor(self, MAKEINTRESOURCE(65524)), &small));
  EXPECT_EQ(small.width, 16);
  EXPECT_EQ(small.xHotspot, 15);  // kept inside the picture
  EXPECT_EQ(small.argb[0], 0xFFFFFFFFu);
  EXPECT_EQ(small.argb[1], 0xFF000000u);
  EXPECT_EQ(small.argb[15 * 16], 0u);

  EXPECT_FALSE(DecodeCursorFile("not a cursor", nullptr));
  EXPECT_FALSE(DecodeCursorFile(files[0].substr(0, 40), nullptr));  // cut short
}

TEST_F(InputTest, ContextMenuComesFromTheRightButtonAndFromTheKeyboard) {
  std::vector<std::pair<std::string, LPARAM>> menus;
  Reg().handlers[{"P", WM_CONTEXTMENU}] = [&](HWND h, WPARAM wp, LPARAM lp) {
    menus.push_back({NameOf(reinterpret_cast<HWND>(wp)) + ">P", lp});
    (void)h;
    return LRESULT{0};
  };
  HWND parent = Make("P", kFramed, 100, 100, 300, 200);
  HWND child = Make("C", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, parent);
  SetFocus(child);
  POINT at = ScreenOf(child, 7, 8);
  InjectClick(at, VK_RBUTTON);
  Pump();
  // The child does not take it, so it travels up with the child's handle.
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].first, "C>P");
  EXPECT_EQ(GET_X_LPARAM(menus[0].second), at.x);
  EXPECT_EQ(GET_Y_LPARAM(menus[0].second), at.y);

  menus.clear();
  InjectKeyPress(VK_F10, true);
  InjectKeyPress(VK_APPS);
  InjectKeyPress(VK_F10);  // without Shift: no menu
  Pump();
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[0].second, -1);
  EXPECT_EQ(menus[1].second, -1);
}

TEST_F(InputTest, TypingGivesOneCodePointPerCharacterBetweenItsKeyMessages) {
  HWND w = Make("W", kFramed, 100, 100, 200, 150);
  SetFocus(w);
  Reg().only = {WM_KEYDOWN, WM_CHAR, WM_KEYUP};
  InjectText("aB1!\xE4\xB8\xAD\xF0\x9F\x98\x80");  // a B 1 ! U+4E2D U+1F600
  Pump();
  Lines chars;
  for (const std::string& l : Reg().log)
    if (l.find("WM_CHAR") != std::string::npos) chars.push_back(l);
  EXPECT_EQ(chars, (Lines{"W WM_CHAR 97", "W WM_CHAR 66", "W WM_CHAR 49", "W WM_CHAR 33", "W WM_CHAR 20013",
                          "W WM_CHAR 128512"}));
  // Each WM_CHAR lies between the press and the release of its key.
  Taken();
  InjectKeyPress('Q');
  Pump();
  EXPECT_EQ(Taken(), (Lines{"W WM_KEYDOWN", "W WM_CHAR 113", "W WM_KEYUP"}));
}

TEST_F(InputTest, KeyStateFollowsTheMessagesAsTheyAreTaken) {
  HWND w = Make("W", kFramed, 100, 100, 200, 150);
  SetFocus(w);
  std::vector<bool> shiftDownAtKey;
  Reg().handlers[{"W", WM_KEYDOWN}] = [&](HWND, WPARAM wp, LPARAM) {
    if (wp == 'A') shiftDownAtKey.push_back(GetKeyState(VK_SHIFT) < 0);
    return LRESULT{0};
  };
  InjectKeyPress('A', true);
  InjectKeyPress('A');
  // Nothing taken yet: the thread's key state has not moved, the keyboard's has.
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  Pump();
  EXPECT_EQ(shiftDownAtKey, (std::vector<bool>{true, false}));
  BYTE keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  EXPECT_EQ(keys[VK_SHIFT] & 0x80, 0);
  EXPECT_EQ(keys['A'] & 0x80, 0);

  // Caps lock toggles in the low bit.
  InjectKeyPress(VK_CAPITAL);
  Pump();
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  Reg().only = {WM_CHAR};
  Taken();
  InjectText("b");
  Pump();
  EXPECT_EQ(Taken(), Lines{"W WM_CHAR 66"});
}

TEST_F(InputTest, SidedModifierKeysArriveAsTheGenericKey) {
  HWND w = Make("W", kFramed, 100, 100, 200, 150);
  SetFocus(w);
  struct Seen {
    UINT message;
    WPARAM key;
    bool extended;
  };
  std::vector<Seen> seen;
  for (UINT m : {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP})
    Reg().handlers[{"W", m}] = [&seen, m](HWND, WPARAM wp, LPARAM lp) {
      seen.push_back({m, wp, ((lp >> 24) & 1) != 0});
      return LRESULT{0};
    };
  // The keyboard reports which side was pressed (a real display does).
  const struct {
    UINT vk;
    UINT down, up;
    WPARAM generic;
    bool extended;
  } cases[] = {
      {VK_LMENU, WM_SYSKEYDOWN, WM_SYSKEYUP, VK_MENU, false},
      {VK_RMENU, WM_SYSKEYDOWN, WM_SYSKEYUP, VK_MENU, true},
      {VK_LCONTROL, WM_KEYDOWN, WM_KEYUP, VK_CONTROL, false},
      {VK_RCONTROL, WM_KEYDOWN, WM_KEYUP, VK_CONTROL, true},
      {VK_RSHIFT, WM_KEYDOWN, WM_KEYUP, VK_SHIFT, false},
  };
  for (const auto& c : cases) {
    seen.clear();
    InjectKey(c.vk, true);
    InjectKey(c.vk, false);
    Pump();
    ASSERT_EQ(seen.size(), 2u) << c.vk;
    EXPECT_EQ(seen[0].message, c.down) << c.vk;
    EXPECT_EQ(seen[1].message, c.up) << c.vk;
    for (const Seen& s : seen) {
      EXPECT_EQ(s.key, c.generic) << c.vk;
      EXPECT_EQ(s.extended, c.extended) << c.vk;
    }
    EXPECT_GE(GetKeyState(c.generic), 0) << c.vk;
  }
}

TEST_F(InputTest, MouseActivationActivatesAndMayEatTheClick) {
  Reg().only = {WM_ACTIVATE, WM_LBUTTONDOWN, WM_MOUSEACTIVATE};
  HWND a = Make("A", kFramed, 10, 10, 200, 150);
  HWND b = Make("B", kFramed, 300, 10, 200, 150);
  HWND child = Make("C", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, a);
  EXPECT_EQ(GetActiveWindow(), b);
  Taken();
  InjectClick(ScreenOf(child, 5, 5));
  Pump();
  EXPECT_EQ(Taken(), (Lines{"C WM_MOUSEACTIVATE", "A WM_MOUSEACTIVATE", "B WM_ACTIVATE 0", "A WM_ACTIVATE 2",
                            "C WM_LBUTTONDOWN"}));
  EXPECT_EQ(GetActiveWindow(), a);

  Reg().handlers[{"B", WM_MOUSEACTIVATE}] = [](HWND, WPARAM, LPARAM) { return MA_ACTIVATEANDEAT; };
  InjectClick(ScreenOf(b, 5, 5));
  Pump();
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(Taken(), (Lines{"B WM_MOUSEACTIVATE", "A WM_ACTIVATE 0", "B WM_ACTIVATE 2"}));

  // A non-activating window and a child window placed on the desktop take
  // the click and leave the activation where it is.
  HWND still = Make("N", WS_POPUP | WS_VISIBLE, 10, 300, 50, 50, nullptr, WS_EX_NOACTIVATE);
  HWND loose = Make("L", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, a);
  SetParent(loose, nullptr);
  SetWindowPos(loose, HWND_TOP, 100, 300, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  Taken();
  InjectClick(ScreenOf(still, 5, 5));
  InjectClick(ScreenOf(loose, 5, 5));
  Pump();
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(Taken(), (Lines{"N WM_MOUSEACTIVATE", "N WM_LBUTTONDOWN", "L WM_MOUSEACTIVATE", "L WM_LBUTTONDOWN"}));
}

// A modal window disables the others: they and their children get no input,
// a press on them brings the modal one forward, and neither activation nor
// focus can go to them.
TEST_F(InputTest, DisabledWindowsTakeNoInputAndPassActivationToTheModalOne) {
  Reg().only = {WM_LBUTTONDOWN, WM_KEYDOWN, WM_SYSKEYDOWN, WM_SETFOCUS, WM_KILLFOCUS};
  HWND owner = Make("O", kFramed, 10, 10, 300, 200);
  HWND button = Make("B", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, owner);
  HWND other = Make("X", kFramed, 400, 10, 200, 150);
  SetFocus(button);
  Taken();
  EnableWindow(owner, FALSE);
  EnableWindow(other, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);  // the focus left the disabled window
  HWND modal = Make("M", kFramed, 100, 300, 200, 150);
  HWND field = Make("F", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, modal);
  SetFocus(field);
  Taken();

  // A press on the owner's child or on another disabled window.
  for (HWND target : {button, other}) {
    SetActiveWindow(modal);
    BringWindowToTop(target == button ? owner : other);
    InjectClick(ScreenOf(target, 5, 5));
    Pump();
    EXPECT_EQ(Taken(), Lines{}) << NameOf(target);
    EXPECT_EQ(GetActiveWindow(), modal);
    EXPECT_EQ(GetWindow(modal, GW_HWNDFIRST), modal);  // brought forward
  }
  EXPECT_EQ(SetActiveWindow(owner), modal);
  EXPECT_EQ(GetActiveWindow(), modal);
  EXPECT_EQ(SetFocus(button), nullptr);
  InjectKeyPress('A');
  Pump();
  EXPECT_EQ(Taken(), Lines{"F WM_KEYDOWN"});

  // Enabled again, the owner takes input as before.
  EnableWindow(owner, TRUE);
  InjectClick(ScreenOf(button, 5, 5));
  Pump();
  EXPECT_EQ(Taken(), (Lines{"F WM_KILLFOCUS", "O WM_SETFOCUS", "B WM_LBUTTONDOWN"}));
}

TEST_F(InputTest, MouseLeaveAndWheelGoWhereWindowsSendsThem) {
  Reg().only = {WM_MOUSELEAVE, WM_MOUSEWHEEL};
  HWND parent = Make("P", kFramed, 100, 100, 300, 200);
  HWND child = Make("C", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, parent);
  InjectMouseMove(ScreenOf(child, 5, 5));
  TRACKMOUSEEVENT t;
  t.dwFlags = TME_LEAVE;
  t.hwndTrack = child;
  ASSERT_TRUE(TrackMouseEvent(&t));
  InjectMouseMove(ScreenOf(child, 6, 5));
  Pump();
  EXPECT_TRUE(Taken().empty());
  InjectMouseMove(ScreenOf(parent, 250, 150));
  Pump();
  EXPECT_EQ(Taken(), Lines{"C WM_MOUSELEAVE"});
  // Tracking a window the pointer is not over answers at once.
  ASSERT_TRUE(TrackMouseEvent(&t));
  Pump();
  EXPECT_EQ(Taken(), Lines{"C WM_MOUSELEAVE"});
  t.dwFlags = TME_HOVER;
  EXPECT_FALSE(TrackMouseEvent(&t));

  // The wheel goes to the focus and up to the parent by default.
  SetFocus(child);
  WPARAM got = 0;
  Reg().handlers[{"P", WM_MOUSEWHEEL}] = [&](HWND, WPARAM wp, LPARAM) {
    got = wp;
    return LRESULT{0};
  };
  InjectMouseWheel(-WHEEL_DELTA, ScreenOf(parent, 250, 150));
  Pump();
  EXPECT_EQ(Taken(), (Lines{"C WM_MOUSEWHEEL", "P WM_MOUSEWHEEL"}));
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(got), -WHEEL_DELTA);
}

TEST_F(InputTest, InputIsRoutedWhenTakenSoEarlierHandlersCount) {
  HWND w = Make("W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  HWND edit = Make("E", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, w);
  HWND other = Make("O", WS_CHILD | WS_VISIBLE, 10, 50, 100, 20, w);
  // A click that focuses the edit, then typing: the keys reach the edit.
  Reg().handlers[{"E", WM_LBUTTONDOWN}] = [](HWND h, WPARAM, LPARAM) {
    SetFocus(h);
    SetCapture(h);
    return LRESULT{0};
  };
  Reg().only = {WM_CHAR, WM_MOUSEMOVE, WM_LBUTTONUP};
  Taken();
  InjectMouseButton(VK_LBUTTON, true, ScreenOf(edit, 5, 5));
  InjectMouseMove(ScreenOf(other, 5, 5));  // captured by then
  InjectMouseButton(VK_LBUTTON, false, ScreenOf(other, 5, 5));
  InjectText("ok");
  Pump();
  EXPECT_EQ(Taken(), (Lines{"E WM_MOUSEMOVE", "E WM_LBUTTONUP", "E WM_CHAR 111", "E WM_CHAR 107"}));
}

TEST_F(InputTest, DraggingTheCaptionMovesAndTheBorderSizes) {
  HWND w = Make("W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  InjectDrag({200, 110}, {260, 150});
  Pump();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{160, 140, 460, 340}));
  InjectDrag({459, 240}, {489, 200});  // the right edge
  Pump();
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{160, 140, 490, 340}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, CaretInvertsItsRectangleWhileShown) {
  HWND w = Make("W", WS_POPUP | WS_VISIBLE, 100, 100, 100, 60);
  UpdateWindow(w);
  COLORREF before = ScreenPixel(121, 111);
  ASSERT_TRUE(CreateCaret(w, nullptr, 2, 14));
  SetCaretPos(20, 10);
  EXPECT_EQ(ScreenPixel(121, 111), before);  // created hidden
  ShowCaret(w);
  EXPECT_EQ(ScreenPixel(121, 111), before ^ 0xFFFFFF);
  SetCaretPos(40, 10);
  EXPECT_EQ(ScreenPixel(121, 111), before);
  EXPECT_EQ(ScreenPixel(141, 111), before ^ 0xFFFFFF);
  HideCaret(w);
  EXPECT_EQ(ScreenPixel(141, 111), before);
  ShowCaret(w);
  DestroyCaret();
  EXPECT_EQ(ScreenPixel(141, 111), before);
  POINT p;
  GetCaretPos(&p);
  EXPECT_EQ(p, (POINT{0, 0}));
}

}  // namespace
}  // namespace usertest
