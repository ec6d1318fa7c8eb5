#include "platform/win/UxTheme.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/platform/win/UserFixture.h"
#include "tests/support/VisualStylesScope.h"
#include "platform/win/GdiText.h"

namespace usertest {
namespace {

// Every drawing test here draws with our style unless it says otherwise.
class UxThemeTest : public UserTest {
 protected:
  void TearDown() override {
    for (HTHEME t : opened_) CloseThemeData(t);
    UserTest::TearDown();
  }
  HTHEME Open(const char16_t* classes) {
    HTHEME t = OpenThemeData(nullptr, classes);
    if (t) opened_.push_back(t);
    return t;
  }
  VisualStylesScope styles_{true};
  std::vector<HTHEME> opened_;
};

constexpr COLORREF kSentinel = RGB(255, 0, 255);  // a colour the style never uses

// A 32-bit memory DC filled with the sentinel colour.
struct Canvas {
  Canvas(int w, int h, int dpi = 96) : width(w), height(h) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateBitmap(w, h, 1, 32, nullptr);
    old = SelectObject(dc, bitmap);
    SetDCResolution(dc, dpi);
    Clear();
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  void Clear() {
    HBRUSH b = CreateSolidBrush(kSentinel);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, b);
    DeleteObject(b);
  }
  std::vector<COLORREF> Snap() const {
    std::vector<uint32_t> px(static_cast<size_t>(width * height));
    BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biBitCount = 32;
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), px.data(), &info, DIB_RGB_COLORS);
    std::vector<COLORREF> out(px.size());
    for (size_t i = 0; i < px.size(); ++i) out[i] = RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF);
    return out;
  }
  COLORREF At(int x, int y) const { return Snap()[static_cast<size_t>(y * width + x)]; }

  int width, height;
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
};

struct PartState {
  const char16_t* cls;
  int part;
  int state;
};
std::string Name(const PartState& p) {
  std::string s;
  for (const char16_t* c = p.cls; *c; ++c) s += static_cast<char>(*c);
  return s + " part " + std::to_string(p.part) + " state " + std::to_string(p.state);
}

const char16_t* const kClasses[] = {u"Button",   u"ComboBox", u"Edit",    u"ExplorerBar", u"Header",
                                    u"ListView", u"Progress", u"ScrollBar", u"Spin",      u"Tab",
                                    u"ToolBar",  u"TrackBar", u"TreeView",  u"Window"};

TEST_F(UxThemeTest, OpensTheFirstClassOfAListThatTheStyleDraws) {
  EXPECT_TRUE(IsThemeActive());
  EXPECT_TRUE(IsAppThemed());
  HTHEME a = Open(u"ScrollBar"), b = Open(u"scrollbar");
  ASSERT_NE(a, nullptr);
  EXPECT_NE(a, b);  // every open gives its own handle
  HTHEME edit = Open(u"NoSuchClass; edit ;Button");
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(IsThemePartDefined(edit, EP_EDITBORDER_NOSCROLL, 0));  // a part only Edit has
  EXPECT_EQ(Open(u"Clock"), nullptr);  // a class the style does not draw
  EXPECT_EQ(Open(u""), nullptr);
  EXPECT_EQ(OpenThemeData(nullptr, nullptr), nullptr);

  // Parts and states: the part's own states and 0; nothing else.
  HTHEME button = Open(u"BUTTON");
  EXPECT_TRUE(IsThemePartDefined(button, BP_CHECKBOX, CBS_MIXEDDISABLED));
  EXPECT_FALSE(IsThemePartDefined(button, BP_CHECKBOX, 13));
  EXPECT_FALSE(IsThemePartDefined(button, 7, 0));
  RECT r{0, 0, 10, 10};
  Canvas c(10, 10);
  EXPECT_EQ(DrawThemeBackground(button, c.dc, 7, 1, &r, nullptr), E_INVALIDARG);
  EXPECT_EQ(DrawThemeBackground(button, c.dc, BP_PUSHBUTTON, 1, nullptr, nullptr), E_POINTER);
  EXPECT_EQ(DrawThemeBackground(button, nullptr, BP_PUSHBUTTON, 1, &r, nullptr), E_HANDLE);
  EXPECT_EQ(c.At(5, 5), kSentinel);

  // A closed handle is dead.
  EXPECT_EQ(CloseThemeData(b), S_OK);
  EXPECT_EQ(CloseThemeData(b), E_HANDLE);
  EXPECT_EQ(DrawThemeBackground(b, c.dc, SBP_ARROWBTN, 1, &r, nullptr), E_HANDLE);
  EXPECT_EQ(c.At(5, 5), kSentinel);
  opened_.erase(std::find(opened_.begin(), opened_.end(), b));

  // A window remembers the theme opened for it.
  HWND w = Make("W", WS_POPUP, 0, 0, 10, 10);
  HTHEME wt = OpenThemeData(w, u"Edit");
  EXPECT_EQ(GetWindowTheme(w), wt);
  EXPECT_EQ(CloseThemeData(wt), S_OK);
  EXPECT_EQ(GetWindowTheme(w), nullptr);
}

TEST_F(UxThemeTest, NamesItsThemeFile) {
  char16_t file[64] = u"junk", color[64] = u"junk", size[64] = u"junk";
  ASSERT_EQ(GetCurrentThemeName(file, 64, color, 64, size, 64), S_OK);
  EXPECT_EQ(std::u16string(file), u"aero.msstyles");
  EXPECT_EQ(std::u16string(color), u"NormalColor");
  EXPECT_EQ(std::u16string(size), u"NormalSize");
  EXPECT_EQ(GetCurrentThemeName(file, 64, nullptr, 0, nullptr, 0), S_OK);  // only what is asked
  // Too small a buffer: an empty text and a failure, never a cut name.
  char16_t small[5] = u"junk";
  EXPECT_TRUE(FAILED(GetCurrentThemeName(small, 5, nullptr, 0, nullptr, 0)));
  EXPECT_EQ(small[0], u'\0');
}

TEST_F(UxThemeTest, SwitchingTellsEveryWindowAndKillsEarlierHandles) {
  HWND top = Make("A", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  Make("B", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  Pump();
  Taken();
  Reg().only = {WM_THEMECHANGED, WM_SYSCOLORCHANGE};
  HTHEME before = Open(u"Button");
  ASSERT_NE(before, nullptr);

  SetVisualStylesEnabled(false);
  EXPECT_EQ(Taken(), (std::vector<std::string>{"A WM_THEMECHANGED", "B WM_THEMECHANGED", "A WM_SYSCOLORCHANGE"}));
  EXPECT_FALSE(IsThemeActive());
  EXPECT_EQ(Open(u"Button"), nullptr);

  // Switching on again does not bring the old handle back.
  SetVisualStylesEnabled(true);
  EXPECT_EQ(Taken().size(), 3u);
  SetVisualStylesEnabled(true);  // no change, no messages
  EXPECT_TRUE(Taken().empty());
  Canvas c(20, 20);
  RECT r{0, 0, 20, 20};
  EXPECT_EQ(DrawThemeBackground(before, c.dc, BP_PUSHBUTTON, 1, &r, nullptr), E_HANDLE);
  EXPECT_EQ(c.At(10, 10), kSentinel);
  COLORREF color = 0;
  EXPECT_EQ(GetThemeColor(before, BP_PUSHBUTTON, 1, TMT_FILLCOLOR, &color), E_HANDLE);
  SIZE size{};
  EXPECT_EQ(GetThemePartSize(before, nullptr, BP_RADIOBUTTON, 1, nullptr, TS_TRUE, &size), E_HANDLE);
  HRGN rgn = reinterpret_cast<HRGN>(1);
  EXPECT_EQ(GetThemeBackgroundRegion(before, nullptr, BP_PUSHBUTTON, 1, &r, &rgn), E_HANDLE);
  EXPECT_EQ(rgn, nullptr);
  EXPECT_FALSE(IsThemePartDefined(before, BP_PUSHBUTTON, 0));
  HTHEME after = Open(u"Button");
  EXPECT_EQ(DrawThemeBackground(after, c.dc, BP_PUSHBUTTON, 1, &r, nullptr), S_OK);
  EXPECT_NE(c.At(10, 10), kSentinel);
  // The caller still lets go of the old handle the usual way.
  EXPECT_EQ(CloseThemeData(before), S_OK);
  opened_.erase(std::find(opened_.begin(), opened_.end(), before));
}

TEST_F(UxThemeTest, WithoutStylesAnswersAsASystemWithoutVisualStyles) {
  VisualStylesScope off(false);
  EXPECT_FALSE(IsThemeActive());
  EXPECT_FALSE(IsAppThemed());
  EXPECT_EQ(OpenThemeData(nullptr, u"ScrollBar"), nullptr);
  EXPECT_EQ(OpenThemeData(nullptr, u"Button;Edit"), nullptr);
  auto stranger = reinterpret_cast<HTHEME>(0x1000);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(CloseThemeData(stranger), E_HANDLE);
  EXPECT_EQ(DrawThemeBackground(stranger, nullptr, 1, 1, &r, nullptr), E_HANDLE);
  EXPECT_EQ(DrawThemeText(stranger, nullptr, 1, 1, u"x", 1, 0, 0, &r), E_HANDLE);
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

// Every part and state of every class: it stays inside its rectangle and
// its clip rectangle, an opaque part covers its whole rectangle, and its
// region lies inside the rectangle.
TEST_F(UxThemeTest, EveryPartAndStateDrawsInsideItsRectangleAndClip) {
  Canvas c(60, 44);
  const RECT r{6, 5, 54, 39};
  const RECT clip{6, 5, 30, 39};  // the left half
  int parts = 0;
  for (const char16_t* cls : kClasses) {
    HTHEME t = Open(cls);
    ASSERT_NE(t, nullptr) << Name({cls, 0, 0});
    int classParts = 0;
    for (int part = 1; part <= 20; ++part) {
      if (!IsThemePartDefined(t, part, 0)) continue;
      ++classParts;
      for (int state = 0; state == 0 || IsThemePartDefined(t, part, state); ++state) {
        PartState ps{cls, part, state};
        c.Clear();
        ASSERT_EQ(DrawThemeBackground(t, c.dc, part, state, &r, nullptr), S_OK) << Name(ps);
        std::vector<COLORREF> px = c.Snap();
        bool opaque = !IsThemeBackgroundPartiallyTransparent(t, part, state);
        int inside = 0, uncovered = 0, outside = 0;
        for (int y = 0; y < c.height; ++y)
          for (int x = 0; x < c.width; ++x) {
            bool changed = px[static_cast<size_t>(y * c.width + x)] != kSentinel;
            bool in = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            if (!in) outside += changed;
            else if (changed) ++inside;
            else ++uncovered;
          }
        EXPECT_EQ(outside, 0) << Name(ps);
        if (opaque) {
          EXPECT_EQ(uncovered, 0) << Name(ps) << " says it is opaque";
        }

        // The clip rectangle keeps the right half as it was.
        c.Clear();
        ASSERT_EQ(DrawThemeBackground(t, c.dc, part, state, &r, &clip), S_OK) << Name(ps);
        px = c.Snap();
        int rightHalf = 0;
        for (int y = 0; y < c.height; ++y)
          for (int x = clip.right; x < c.width; ++x) rightHalf += px[static_cast<size_t>(y * c.width + x)] != kSentinel;
        EXPECT_EQ(rightHalf, 0) << Name(ps);

        HRGN rgn = nullptr;
        ASSERT_EQ(GetThemeBackgroundRegion(t, c.dc, part, state, &r, &rgn), S_OK) << Name(ps);
        RECT box;
        if (GetRgnBox(rgn, &box) != NULLREGION) {
          EXPECT_TRUE(box.left >= r.left && box.top >= r.top && box.right <= r.right && box.bottom <= r.bottom)
              << Name(ps);
        }
        if (opaque) {
          EXPECT_EQ(GetRgnBox(rgn, &box), SIMPLEREGION) << Name(ps);
        }
        DeleteObject(rgn);
      }
    }
    EXPECT_GT(classParts, 0);
    parts += classParts;
  }
  EXPECT_GE(parts, 70);
}

// The states a user tells apart must look different.
TEST_F(UxThemeTest, StatesThatMustDifferGiveDifferentPixels) {
  struct Group {
    const char16_t* cls;
    int part;
    std::vector<int> states;
  };
  const Group groups[] = {
      {u"Button", BP_PUSHBUTTON, {1, 2, 3, 4, 5}},
      {u"Button", BP_RADIOBUTTON, {1, 2, 3, 4, 5, 6, 7, 8}},
      {u"Button", BP_CHECKBOX, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {u"Button", BP_GROUPBOX, {1, 2}},
      {u"ComboBox", CP_DROPDOWNBUTTON, {1, 2, 3, 4}},
      {u"Edit", EP_EDITTEXT, {ETS_NORMAL, ETS_HOT, ETS_DISABLED, ETS_FOCUSED, ETS_READONLY}},
      {u"ExplorerBar", EBP_NORMALGROUPEXPAND, {1, 2, 3}},
      {u"ExplorerBar", EBP_HEADERPIN, {1, 2, 3, 4, 5, 6}},
      {u"Header", HP_HEADERITEM, {1, 2, 3}},
      {u"Header", HP_HEADERSORTARROW, {1, 2}},
      {u"ListView", LVP_LISTITEM, {1, 2, 3, 5, 6}},
      {u"ScrollBar", SBP_ARROWBTN, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
      {u"ScrollBar", SBP_THUMBBTNVERT, {1, 2, 3, 4}},
      {u"ScrollBar", SBP_LOWERTRACKHORZ, {1, 2, 3, 4}},
      {u"ScrollBar", SBP_SIZEBOX, {1, 2}},
      {u"Spin", SPNP_UP, {1, 2, 3, 4}},
      {u"Tab", TABP_TABITEM, {1, 2, 3, 4, 5}},
      {u"ToolBar", TP_BUTTON, {1, 2, 3, 5, 6}},
      {u"TrackBar", TKP_THUMB, {1, 2, 3, 4, 5}},
      {u"TreeView", TVP_GLYPH, {1, 2}},
      {u"Window", WP_SMALLCLOSEBUTTON, {1, 2, 3, 4}},
  };
  Canvas c(30, 30);
  const RECT r{2, 2, 28, 28};
  for (const Group& g : groups) {
    HTHEME t = Open(g.cls);
    std::map<std::vector<COLORREF>, int> seen;
    for (int state : g.states) {
      c.Clear();
      ASSERT_EQ(DrawThemeBackground(t, c.dc, g.part, state, &r, nullptr), S_OK);
      auto [it, fresh] = seen.emplace(c.Snap(), state);
      EXPECT_TRUE(fresh) << Name({g.cls, g.part, state}) << " looks like state " << it->second;
    }
  }
}

// The colours the style reports are the ones it draws, and the content
// rectangle starts right inside the border.
TEST_F(UxThemeTest, ContentRectanglesMatchTheBorderAndTheReportedColours) {
  const PartState bordered[] = {
      {u"Edit", EP_EDITTEXT, ETS_FOCUSED},      {u"Edit", EP_BACKGROUNDWITHBORDER, EBS_READONLY},
      {u"ListView", LVP_BODY, 0},               {u"Tab", TABP_PANE, 0},
      {u"Progress", PP_BAR, 1},                 {u"TrackBar", TKP_TRACK, 1},
      {u"Spin", SPNP_DOWN, UPS_HOT},            {u"ExplorerBar", EBP_NORMALGROUPBACKGROUND, 1},
  };
  for (int dpi : {96, 192}) {
    Canvas c(60, 40, dpi);
    const RECT r{4, 4, 56, 36};
    for (const PartState& p : bordered) {
      HTHEME t = Open(p.cls);
      c.Clear();
      ASSERT_EQ(DrawThemeBackground(t, c.dc, p.part, p.state, &r, nullptr), S_OK);
      RECT content;
      ASSERT_EQ(GetThemeBackgroundContentRect(t, c.dc, p.part, p.state, &r, &content), S_OK);
      int border = dpi / 96;
      EXPECT_EQ(content.left - r.left, border) << Name(p) << " at " << dpi;
      EXPECT_EQ(r.bottom - content.bottom, border) << Name(p) << " at " << dpi;
      COLORREF fill = 0, line = 0;
      ASSERT_EQ(GetThemeColor(t, p.part, p.state, TMT_FILLCOLOR, &fill), S_OK);
      ASSERT_EQ(GetThemeColor(t, p.part, p.state, TMT_BORDERCOLOR, &line), S_OK);
      // Middles of the edges: border outside the content, fill inside.
      int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
      EXPECT_EQ(c.At(content.left - 1, my), line) << Name(p);
      EXPECT_EQ(c.At(mx, content.bottom - 1), fill) << Name(p);
      EXPECT_EQ(c.At(content.left, my), fill) << Name(p);
      RECT extent;
      ASSERT_EQ(GetThemeBackgroundExtent(t, c.dc, p.part, p.state, &content, &extent), S_OK);
      EXPECT_EQ(extent.left, r.left);
      EXPECT_EQ(extent.bottom, r.bottom);
    }
  }
  // What the painters read: the field frame colour of ComboBox equals the
  // edit border, and the Button face colour (property 204) is the push
  // button's face.
  HTHEME combo = Open(u"ComboBox"), edit = Open(u"Edit"), button = Open(u"Button");
  COLORREF a = 0, b = 1;
  GetThemeColor(combo, CP_DROPDOWNBUTTON, 1, TMT_BORDERCOLOR, &a);
  GetThemeColor(edit, EP_EDITTEXT, ETS_NORMAL, TMT_BORDERCOLOR, &b);
  EXPECT_EQ(a, b);
  Canvas c(30, 20);
  RECT r{0, 0, 30, 20};
  DrawThemeBackground(button, c.dc, BP_PUSHBUTTON, PBS_HOT, &r, nullptr);
  ASSERT_EQ(GetThemeColor(button, BP_PUSHBUTTON, PBS_HOT, 204, &a), S_OK);
  EXPECT_EQ(c.At(15, 10), a);
  EXPECT_EQ(GetThemeColor(button, BP_PUSHBUTTON, PBS_HOT, 4242, &a), E_PROP_ID_UNSUPPORTED);
  // Margins and border size through the property calls.
  MARGINS m;
  ASSERT_EQ(GetThemeMargins(button, nullptr, BP_PUSHBUTTON, 1, TMT_CONTENTMARGINS, nullptr, &m), S_OK);
  RECT inner;
  GetThemeBackgroundContentRect(button, nullptr, BP_PUSHBUTTON, 1, &r, &inner);
  EXPECT_EQ(m.cxLeftWidth, inner.left);
  EXPECT_EQ(m.cyBottomHeight, r.bottom - inner.bottom);
  int width = 0;
  EXPECT_EQ(GetThemeInt(edit, EP_EDITTEXT, 1, TMT_BORDERSIZE, &width), S_OK);
  EXPECT_EQ(width, 1);
  EXPECT_EQ(GetThemeInt(edit, EP_EDITTEXT, 1, 4242, &width), E_PROP_ID_UNSUPPORTED);
}

TEST_F(UxThemeTest, PartSizesScaleWithTheDCsDpi) {
  struct Case {
    const char16_t* cls;
    int part;
    THEMESIZE kind;
    SIZE at96;
  };
  const Case cases[] = {
      {u"Button", BP_RADIOBUTTON, TS_TRUE, {13, 13}}, {u"Button", BP_CHECKBOX, TS_TRUE, {13, 13}},
      {u"ScrollBar", SBP_ARROWBTN, TS_TRUE, {16, 16}}, {u"ScrollBar", SBP_GRIPPERVERT, TS_MIN, {8, 8}},
      {u"ScrollBar", SBP_SIZEBOX, TS_TRUE, {16, 16}},  {u"TreeView", TVP_GLYPH, TS_TRUE, {16, 16}},
      {u"Window", WP_SMALLCLOSEBUTTON, TS_TRUE, {13, 13}}, {u"Spin", SPNP_DOWN, TS_TRUE, {16, 10}},
      {u"TrackBar", TKP_THUMBBOTTOM, TS_TRUE, {11, 20}}, {u"Button", BP_PUSHBUTTON, TS_MIN, {6, 6}},
  };
  Canvas hi(4, 4, 192);
  for (const Case& k : cases) {
    HTHEME t = Open(k.cls);
    SIZE s{};
    ASSERT_EQ(GetThemePartSize(t, nullptr, k.part, 1, nullptr, k.kind, &s), S_OK);
    EXPECT_EQ(s, k.at96) << Name({k.cls, k.part, 1});
    ASSERT_EQ(GetThemePartSize(t, hi.dc, k.part, 1, nullptr, k.kind, &s), S_OK);
    EXPECT_EQ(s, (SIZE{2 * k.at96.cx, 2 * k.at96.cy})) << Name({k.cls, k.part, 1});
  }
  HTHEME button = Open(u"Button");
  RECT r{0, 0, 40, 25};
  SIZE s{};
  ASSERT_EQ(GetThemePartSize(button, nullptr, BP_PUSHBUTTON, 1, &r, TS_DRAW, &s), S_OK);
  EXPECT_EQ(s, (SIZE{40, 25}));
  EXPECT_EQ(GetThemePartSize(button, nullptr, BP_PUSHBUTTON, 1, nullptr, TS_TRUE, nullptr), E_POINTER);
}

TEST_F(UxThemeTest, TheRegionOfAPartlyTransparentPartFollowsItsShape) {
  HTHEME button = Open(u"Button"), edit = Open(u"Edit");
  ASSERT_TRUE(IsThemeBackgroundPartiallyTransparent(button, BP_RADIOBUTTON, RBS_CHECKEDNORMAL));
  ASSERT_FALSE(IsThemeBackgroundPartiallyTransparent(edit, EP_EDITTEXT, ETS_NORMAL));
  const RECT r{10, 20, 36, 46};  // a 26 x 26 circle
  HRGN round = nullptr, square = nullptr;
  ASSERT_EQ(GetThemeBackgroundRegion(button, nullptr, BP_RADIOBUTTON, RBS_CHECKEDNORMAL, &r, &round), S_OK);
  EXPECT_TRUE(PtInRegion(round, 23, 33));   // centre
  EXPECT_TRUE(PtInRegion(round, 10, 33));   // the left of the circle
  EXPECT_FALSE(PtInRegion(round, 10, 20));  // the corner
  EXPECT_FALSE(PtInRegion(round, 35, 45));
  ASSERT_EQ(GetThemeBackgroundRegion(edit, nullptr, EP_EDITTEXT, ETS_NORMAL, &r, &square), S_OK);
  HRGN whole = CreateRectRgnIndirect(&r);
  EXPECT_TRUE(EqualRgn(square, whole));
  // What the region says is what the drawing leaves alone.
  Canvas c(50, 50);
  DrawThemeBackground(button, c.dc, BP_RADIOBUTTON, RBS_CHECKEDNORMAL, &r, nullptr);
  EXPECT_EQ(c.At(10, 20), kSentinel);
  EXPECT_NE(c.At(23, 33), kSentinel);
  WORD hit = 0;
  EXPECT_EQ(HitTestThemeBackground(button, nullptr, BP_RADIOBUTTON, 1, 0, &r, round, POINT{10, 20}, &hit), S_OK);
  EXPECT_EQ(hit, HTNOWHERE);
  HitTestThemeBackground(button, nullptr, BP_RADIOBUTTON, 1, 0, &r, round, POINT{23, 33}, &hit);
  EXPECT_EQ(hit, HTCLIENT);
  for (HRGN h : {round, square, whole}) DeleteObject(h);
}

TEST_F(UxThemeTest, DrawsAtTheDCsDpiAndOrigin) {
  HTHEME edit = Open(u"Edit");
  COLORREF line = 0, fill = 0;
  GetThemeColor(edit, EP_EDITTEXT, ETS_NORMAL, TMT_BORDERCOLOR, &line);
  GetThemeColor(edit, EP_EDITTEXT, ETS_NORMAL, TMT_FILLCOLOR, &fill);
  Canvas hi(40, 40, 192);
  SetViewportOrgEx(hi.dc, 10, 10, nullptr);  // logical (0, 0) is device (10, 10)
  RECT r{0, 0, 20, 20};
  ASSERT_EQ(DrawThemeBackground(edit, hi.dc, EP_EDITTEXT, ETS_NORMAL, &r, nullptr), S_OK);
  EXPECT_EQ(hi.At(9, 20), kSentinel);
  EXPECT_EQ(hi.At(10, 20), line);
  EXPECT_EQ(hi.At(11, 20), line);  // two pixels of border at 192 dpi
  EXPECT_EQ(hi.At(12, 20), fill);
  EXPECT_EQ(hi.At(29, 20), line);
  EXPECT_EQ(hi.At(30, 20), kSentinel);
  // The DC's own clip holds as well as the call's.
  hi.Clear();
  IntersectClipRect(hi.dc, 0, 0, 5, 20);
  DrawThemeBackground(edit, hi.dc, EP_EDITTEXT, ETS_NORMAL, &r, nullptr);
  EXPECT_EQ(hi.At(12, 20), fill);
  EXPECT_EQ(hi.At(20, 20), kSentinel);
}

TEST_F(UxThemeTest, TextAndEdgesUseTheStylesColours) {
  HTHEME tab = Open(u"Tab"), edit = Open(u"Edit");
  Canvas c(80, 24);
  RECT r{0, 0, 80, 24};
  COLORREF normal = 0, disabled = 0;
  GetThemeColor(tab, TABP_TABITEM, TIS_NORMAL, TMT_TEXTCOLOR, &normal);
  GetThemeColor(tab, TABP_TABITEM, TIS_DISABLED, TMT_TEXTCOLOR, &disabled);
  ASSERT_NE(normal, disabled);
  auto count = [&](COLORREF color) {
    std::vector<COLORREF> px = c.Snap();
    return std::count(px.begin(), px.end(), color);
  };
  ASSERT_EQ(DrawThemeText(tab, c.dc, TABP_TABITEM, TIS_NORMAL, u"Hello", -1, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                          0, &r),
            S_OK);
  EXPECT_GT(count(normal), 5);
  c.Clear();
  DrawThemeText(tab, c.dc, TABP_TABITEM, TIS_DISABLED, u"Hello", 3, DT_SINGLELINE, 0, &r);
  EXPECT_GT(count(disabled), 5);
  EXPECT_EQ(count(normal), 0);
  EXPECT_EQ(GetBkMode(c.dc), OPAQUE);  // the DC's settings come back
  RECT extent;
  ASSERT_EQ(GetThemeTextExtent(tab, c.dc, TABP_TABITEM, 1, u"Hello", -1, DT_SINGLELINE, nullptr, &extent), S_OK);
  SIZE plain;
  GetTextExtentPoint32(c.dc, "Hello", 5, &plain);
  EXPECT_EQ(extent.right - extent.left, plain.cx);

  // A raised inner edge: light top-left, shadow bottom-right, content inside.
  c.Clear();
  RECT box{10, 4, 40, 20}, content;
  ASSERT_EQ(DrawThemeEdge(edit, c.dc, 0, 0, &box, BDR_RAISEDINNER, BF_RECT, &content), S_OK);
  COLORREF light = 0, shadow = 0;
  GetThemeColor(edit, EP_EDITTEXT, 1, TMT_EDGEHIGHLIGHTCOLOR, &light);
  GetThemeColor(edit, EP_EDITTEXT, 1, TMT_EDGESHADOWCOLOR, &shadow);
  EXPECT_EQ(c.At(10, 10), light);
  EXPECT_EQ(c.At(20, 4), light);
  EXPECT_EQ(c.At(39, 10), shadow);
  EXPECT_EQ(c.At(20, 19), shadow);
  EXPECT_EQ(c.At(20, 10), kSentinel);  // no BF_MIDDLE
  EXPECT_EQ(content, (RECT{11, 5, 39, 19}));
  EXPECT_EQ(DrawThemeEdge(edit, c.dc, 0, 0, &box, BDR_RAISEDINNER, BF_DIAGONAL_ENDTOPLEFT, &content), E_INVALIDARG);
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
