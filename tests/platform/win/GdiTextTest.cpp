#include "platform/win/GdiText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/platform/win/GdiTextFixture.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/WinUser.h"
#include "tests/support/Pictures.h"

using namespace win;

// Measuring --------------------------------------------------------------------------------

TEST_F(TextCanvas, ExtentsAddUpAndEncloseTheInk) {
  for (const char* face : {"Arial", "Times New Roman", "Courier New", "宋体"}) {
    SCOPED_TRACE(face);
    Use(face, -15);
    Clear();
    const std::string text = "Hello, Wörld 中文";
    SIZE whole = Extent(text);
    // Without kerning a text is as wide as its characters together.
    int sum = 0;
    for (const std::string& part : {std::string("Hello, "), std::string("Wörld "), std::string("中文")})
      sum += Extent(part).cx;
    EXPECT_EQ(whole.cx, sum);
    EXPECT_EQ(whole.cy, Metrics().tmHeight);

    Out(10, 20, text);
    RECT ink = Ink();
    RECT cell{10, 20, 10 + whole.cx, 20 + whole.cy};
    EXPECT_TRUE(Inside(ink, RECT{cell.left - 1, cell.top, cell.right + 1, cell.bottom}))
        << Str(ink) << " in " << Str(cell);
    // The ink reaches both ends of the measured width: drawing and
    // measuring agree.
    EXPECT_LE(ink.left, cell.left + 2);
    EXPECT_GE(ink.right, cell.right - 3);
    // Aliased text: only the text colour appears.
    EXPECT_EQ(Ink(RGB(0, 0, 0)), ink);
  }
}

TEST_F(TextCanvas, ExtentExPointFitsWholeCharactersOnly) {
  const std::string text = "ab中文字c";  // bytes: a b [3] [3] [3] c
  SIZE whole = Extent(text);
  std::vector<INT> dx(text.size());
  INT fit = -1;
  SIZE size{};
  for (int limit = 0; limit <= whole.cx + 1; ++limit) {
    ASSERT_TRUE(GetTextExtentExPoint(dc, text.data(), static_cast<int>(text.size()), limit, &fit, dx.data(), &size));
    EXPECT_EQ(size.cx, whole.cx);
    // The fit ends on a character boundary and is the longest prefix whose
    // extent stays within the limit.
    ASSERT_TRUE(fit == 0 || fit == 1 || fit == 2 || fit == 5 || fit == 8 || fit == 11 || fit == 12) << fit;
    if (fit > 0) {
      EXPECT_LE(dx[static_cast<size_t>(fit - 1)], limit);
    }
    if (fit < static_cast<int>(text.size())) {
      EXPECT_GT(dx[static_cast<size_t>(fit)], limit);
    }
  }
  // Every byte of a character carries the extent up to that character's end.
  EXPECT_EQ(dx[2], dx[4]);
  EXPECT_EQ(dx[4], Extent("ab中").cx);
  EXPECT_EQ(dx.back(), whole.cx);

  INT widths[26];
  ASSERT_TRUE(GetCharWidth32(dc, 'A', 'Z', widths));
  for (char c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(widths[c - 'A'], Extent(std::string(1, c)).cx) << c;
  INT han = 0;
  ASSERT_TRUE(GetCharWidth32(dc, 0x4E2D, 0x4E2D, &han));
  EXPECT_EQ(han, Extent("中").cx);
}

TEST_F(TextCanvas, BrokenUtf8CountsByteByByte) {
  // A byte that starts no character is one character of its own (shown as
  // a stand-in), so a cut-off character is measured and drawn, never read
  // past.
  const std::string cut = std::string("a") + "\xE4\xB8";  // "a" and two bytes of a Chinese character
  SIZE sz = Extent(cut);
  EXPECT_GT(sz.cx, Extent("a").cx);
  INT fit = -1;
  std::vector<INT> dx(cut.size());
  ASSERT_TRUE(GetTextExtentExPoint(dc, cut.data(), 3, 1000, &fit, dx.data(), nullptr));
  EXPECT_EQ(fit, 3);
  EXPECT_LT(dx[1], dx[2]);
  EXPECT_TRUE(TextOut(dc, 2, 2, cut.data(), 3));
  // Counting into the middle of a character.
  const std::string han = "中文";
  EXPECT_GT(Extent(han.substr(0, 4)).cx, Extent("中").cx);
  // A character no installed font has still takes room and shows a box.
  Clear();
  const std::string none = "\xF0\x9F\x98\x80";
  EXPECT_GT(Extent(none).cx, 0);
  Out(2, 2, none);
  EXPECT_NE(Ink().right, 0);
  EXPECT_FALSE(TextOut(dc, 0, 0, "x", -1));
  EXPECT_FALSE(TextOut(nullptr, 0, 0, "x", 1));
}

TEST_F(TextCanvas, TextOnMonochromeBitmapsIsBlackOrWhite) {
  HDC mono = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateCompatibleBitmap(mono, 80, 20);
  HGDIOBJ old = SelectObject(mono, bm);
  RECT all{0, 0, 80, 20};
  FillRect(mono, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(mono, RGB(40, 40, 40));  // dark: becomes black
  HFONT f = MakeFont("Arial", -13);
  HGDIOBJ oldFont = SelectObject(mono, f);
  EXPECT_TRUE(TextOut(mono, 2, 2, "Mono", 4));
  std::vector<uint32_t> px(80 * 20);
  BITMAPINFO info{};
  info.bmiHeader.biWidth = 80;
  info.bmiHeader.biHeight = -20;
  info.bmiHeader.biBitCount = 32;
  ASSERT_EQ(GetDIBits(mono, bm, 0, 20, px.data(), &info, DIB_RGB_COLORS), 20);
  int black = 0;
  for (uint32_t p : px) {
    ASSERT_TRUE((p & 0xFFFFFF) == 0 || (p & 0xFFFFFF) == 0xFFFFFF);
    black += (p & 0xFFFFFF) == 0;
  }
  EXPECT_GT(black, 20);
  SelectObject(mono, oldFont);
  DeleteObject(f);
  SelectObject(mono, old);
  DeleteObject(bm);
  DeleteDC(mono);
}

TEST_F(TextCanvas, CharacterExtraAndJustificationWidenText) {
  const std::string text = "one two three";
  int plain = Extent(text).cx;
  EXPECT_EQ(SetTextCharacterExtra(dc, 2), 0);
  EXPECT_EQ(GetTextCharacterExtra(dc), 2);
  EXPECT_EQ(Extent(text).cx, plain + 2 * static_cast<int>(text.size()));
  SetTextCharacterExtra(dc, 0);

  ASSERT_TRUE(SetTextJustification(dc, 11, 2));
  EXPECT_EQ(Extent(text).cx, plain + 11);
  Out(0, 10, text);
  RECT justified = Ink();
  SetTextJustification(dc, 0, 0);
  EXPECT_EQ(Extent(text).cx, plain);
  Clear();
  Out(0, 10, text);
  EXPECT_EQ(justified.right - Ink().right, 11);
}

// Output -------------------------------------------------------------------------------------

TEST_F(TextCanvas, TextAlignPlacesTheCellAroundTheReferencePoint) {
  const std::string text = "Reference";
  SIZE sz = Extent(text);
  TEXTMETRIC tm = Metrics();
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 0, 0));
  const int x = 120, y = 40;
  struct Case {
    UINT align;
    RECT cell;
  };
  const Case cases[] = {
      {TA_LEFT | TA_TOP, {x, y, x + sz.cx, y + sz.cy}},
      {TA_RIGHT | TA_TOP, {x - sz.cx, y, x, y + sz.cy}},
      {TA_CENTER | TA_TOP, {x - sz.cx / 2, y, x - sz.cx / 2 + sz.cx, y + sz.cy}},
      {TA_LEFT | TA_BOTTOM, {x, y - sz.cy, x + sz.cx, y}},
      {TA_LEFT | TA_BASELINE, {x, y - tm.tmAscent, x + sz.cx, y + tm.tmDescent}},
  };
  for (const Case& c : cases) {
    Clear();
    EXPECT_NE(SetTextAlign(dc, c.align), GDI_ERROR);
    EXPECT_EQ(GetTextAlign(dc), c.align);
    Out(x, y, text);
    // The opaque cell shows exactly where the text was put.
    RECT all = Ink();
    EXPECT_EQ(all, c.cell) << c.align << ": " << Str(all) << " vs " << Str(c.cell);
    EXPECT_TRUE(Inside(Ink(RGB(0, 0, 0)), c.cell));
  }
}

TEST_F(TextCanvas, UpdateCpWritesPiecesOneAfterAnother) {
  Out(10, 10, "Pieces joined");
  std::vector<COLORREF> whole = Snap();
  Clear();
  SetTextAlign(dc, TA_UPDATECP);
  MoveToEx(dc, 10, 10, nullptr);
  Out(999, 999, "Pieces");  // the coordinates are not used
  Out(999, 999, " joined");
  POINT cp;
  GetCurrentPositionEx(dc, &cp);
  EXPECT_EQ(cp.x, 10 + Extent("Pieces joined").cx);
  EXPECT_EQ(cp.y, 10);
  EXPECT_EQ(Snap(), whole);
}

TEST_F(TextCanvas, OpaqueBackgroundFillsTheCellOnlyInOpaqueMode) {
  SetTextColor(dc, RGB(0, 0, 255));
  SetBkColor(dc, RGB(255, 255, 0));
  SetBkMode(dc, TRANSPARENT);
  Out(5, 5, "Transparent");
  EXPECT_EQ(Ink(RGB(255, 255, 0)), RECT{});
  EXPECT_EQ(Ink(), Ink(RGB(0, 0, 255)));  // text colour only
  Clear();
  SetBkMode(dc, OPAQUE);
  Out(5, 5, "Opaque");
  SIZE sz = Extent("Opaque");
  EXPECT_EQ(Ink(), (RECT{5, 5, 5 + sz.cx, 5 + sz.cy}));
  std::vector<COLORREF> px = Snap();
  for (COLORREF c : px) ASSERT_TRUE(c == RGB(255, 255, 255) || c == RGB(255, 255, 0) || c == RGB(0, 0, 255));
}

TEST_F(TextCanvas, ExtTextOutOpaqueRectClippingAndAdvances) {
  SetBkColor(dc, RGB(0, 255, 0));
  // ETO_OPAQUE fills the rectangle whatever the background mode, also
  // without text.
  RECT r{20, 10, 60, 30};
  ASSERT_TRUE(ExtTextOut(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr));
  EXPECT_EQ(Ink(RGB(0, 255, 0)), r);
  Clear();
  ExtTextOut(dc, 10, 10, ETO_CLIPPED, &r, "Clipped at both ends of the box", 31, nullptr);
  RECT ink = Ink();
  EXPECT_TRUE(Inside(ink, r)) << Str(ink);
  EXPECT_EQ(ink.right, r.right);  // the text goes on past the box

  // Per-character advances put each character where the caller says; the
  // entries of a character's further bytes add to it.
  Clear();
  const std::string text = "I中I";
  std::vector<INT> dx = {30, 20, 5, 5, 7};
  ExtTextOut(dc, 10, 10, 0, nullptr, text.data(), static_cast<UINT>(text.size()), dx.data());
  std::vector<COLORREF> spaced = Snap();
  Clear();
  Out(10, 10, "I");
  Out(40, 10, "中");
  Out(70, 10, "I");
  EXPECT_EQ(Snap(), spaced);
}

TEST_F(TextCanvas, ClipRegionAndOriginsApplyToText) {
  Out(30, 20, "Origin");
  std::vector<COLORREF> plain = Snap();
  Clear();
  SetViewportOrgEx(dc, 40, 10, nullptr);
  SetWindowOrgEx(dc, 10, -10, nullptr);
  Out(0, 0, "Origin");  // device (30, 20)
  EXPECT_EQ(Snap(), plain);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);

  Clear();
  IntersectClipRect(dc, 0, 0, 40, 80);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 0, 0));
  Out(30, 20, "Origin");
  EXPECT_LE(Ink().right, 40);
  EXPECT_EQ(Ink().left, 30);
}

TEST_F(TextCanvas, RotatedTextTurnsAboutTheReferencePoint) {
  Start(120, 160);
  const std::string text = "Upward text";
  int w = Extent(text).cx;
  Use("Arial", -13, FW_NORMAL, 900);
  TEXTMETRIC tm = Metrics();
  EXPECT_EQ(Extent(text).cx, w);  // extents are along the text
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 0, 0));
  Out(40, 140, text);
  // 90 degrees: the cell runs upward from the reference point, its top side
  // to the left.
  RECT ink = Ink();
  EXPECT_NEAR(ink.left, 40, 1);
  EXPECT_NEAR(ink.right, 40 + tm.tmHeight, 1);
  EXPECT_NEAR(ink.top, 140 - w, 1);
  EXPECT_NEAR(ink.bottom, 140, 1);

  Clear();
  Use("Arial", -13, FW_NORMAL, 2700);
  Out(40, 10, text);
  ink = Ink();
  EXPECT_NEAR(ink.left, 40 - tm.tmHeight, 1);
  EXPECT_NEAR(ink.right, 40, 1);
  EXPECT_NEAR(ink.top, 10, 1);
  EXPECT_NEAR(ink.bottom, 10 + w, 1);
}

TEST_F(TextCanvas, TabbedTextOutExpandsTabsToStops) {
  TEXTMETRIC tm = Metrics();
  int b = Extent("b").cx;
  const std::string text = "a\tb";
  DWORD ext = GetTabbedTextExtent(dc, text.data(), 3, 0, nullptr);
  EXPECT_EQ(LOWORD(ext), 8 * tm.tmAveCharWidth + b);
  EXPECT_EQ(HIWORD(ext), tm.tmHeight);
  INT every = 50;
  EXPECT_EQ(LOWORD(GetTabbedTextExtent(dc, text.data(), 3, 1, &every)), 50 + b);
  INT stops[] = {30, 70};
  EXPECT_EQ(LOWORD(GetTabbedTextExtent(dc, "a\tb\tc", 5, 2, stops)), 70 + Extent("c").cx);
  // Stops count from the tab origin.
  LONG drawn = TabbedTextOut(dc, 20, 5, text.data(), 3, 1, &every, 10);
  EXPECT_EQ(LOWORD(drawn), 40 + b);
  std::vector<COLORREF> tabbed = Snap();
  Clear();
  Out(20, 5, "a");
  Out(60, 5, "b");
  EXPECT_EQ(Snap(), tabbed);
}

TEST(GdiText, DrawsOnPdfPages) {
  std::string path = testing::TempDir() + "gdi-text.pdf";
  HDC pdf = CreatePdfDC(path, 600, 800, 72);
  ASSERT_NE(pdf, nullptr);
  HFONT f = MakeFont("Times New Roman", -24);
  HGDIOBJ old = SelectObject(pdf, f);
  RECT r{50, 50, 550, 200};
  EXPECT_GT(DrawText(pdf, "Printed text with a word break that wraps in the box, and 中文.", -1, &r,
                     DT_WORDBREAK | DT_CENTER),
            0);
  EXPECT_TRUE(TextOut(pdf, 50, 300, "TextOut", 7));
  SelectObject(pdf, old);
  DeleteObject(f);
  DeleteDC(pdf);
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::fseek(file, 0, SEEK_END);
  EXPECT_GT(std::ftell(file), 1000);
  std::fclose(file);
  std::remove(path.c_str());
}

// DrawText -------------------------------------------------------------------------------------

class DrawTextCanvas : public TextCanvas {
 protected:
  void SetUp() override {
    Start(240, 160);
    Use("Tahoma", -12);
  }
  int Draw(const std::string& s, RECT r, UINT format) {
    return DrawText(dc, s.c_str(), static_cast<int>(s.size()), &r, format);
  }
  RECT Calc(const std::string& s, RECT r, UINT format) {
    DrawText(dc, s.c_str(), static_cast<int>(s.size()), &r, format | DT_CALCRECT);
    return r;
  }
  // The shown text that DT_MODIFYSTRING hands back.
  std::string Modified(const std::string& s, int width, UINT format) {
    std::vector<char> buf(s.size() + 4, 'x');
    std::memcpy(buf.data(), s.data(), s.size());
    buf[s.size()] = 0;
    RECT r{0, 0, width, 40};
    DrawText(dc, buf.data(), static_cast<int>(s.size()), &r, format | DT_MODIFYSTRING | DT_CALCRECT | DT_SINGLELINE);
    return buf.data();
  }
};

TEST_F(DrawTextCanvas, CalcRectIsTheSizeOfWhatIsDrawn) {
  struct Case {
    const char* text;
    int width;
    UINT format;
    int lines;
  };
  const Case cases[] = {
      {"Single line", 200, DT_SINGLELINE, 1},
      {"Several words that wrap onto more lines", 80, DT_WORDBREAK, 0},
      {"Centred words that wrap onto more lines", 90, DT_WORDBREAK | DT_CENTER, 0},
      {"Right words that wrap onto more lines", 90, DT_WORDBREAK | DT_RIGHT, 0},
      {"Two\nlines\r\nand three", 200, 0, 3},
      {"Tabs\tand\tmore", 200, DT_EXPANDTABS | DT_SINGLELINE, 1},
      {"A long caption text", 60, DT_SINGLELINE | DT_END_ELLIPSIS, 1},
      {"中文换行每个汉字之间都可以断开", 70, DT_WORDBREAK, 0},
  };
  TEXTMETRIC tm = Metrics();
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 0, 0));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Clear();
    RECT box{10, 5, 10 + c.width, 155};
    RECT calc = Calc(c.text, box, c.format);
    EXPECT_EQ(calc.left, box.left);
    EXPECT_EQ(calc.top, box.top);
    int height = calc.bottom - calc.top;
    EXPECT_EQ(height % tm.tmHeight, 0);
    if (c.lines > 0) {
      EXPECT_EQ(height, c.lines * tm.tmHeight);
    } else {
      EXPECT_GT(height, tm.tmHeight);  // it did wrap
    }
    if (c.format & (DT_WORDBREAK | DT_END_ELLIPSIS)) {
      EXPECT_LE(calc.right - calc.left, c.width);
    }
    EXPECT_EQ(Draw(c.text, box, c.format), height);
    // The opaque cells of the lines cover exactly the calculated size.
    RECT ink = Ink();
    EXPECT_EQ(ink.right - ink.left, calc.right - calc.left) << Str(ink) << " vs " << Str(calc);
    EXPECT_EQ(ink.bottom - ink.top, height);
    if (!(c.format & (DT_CENTER | DT_RIGHT))) {
      EXPECT_EQ(ink, calc);
    }
  }
}

TEST_F(DrawTextCanvas, LongWordsBreakOnlyInEditControlMode) {
  const std::string text = "Supercalifragilistic word";
  RECT box{0, 0, 50, 150};
  RECT kept = Calc(text, box, DT_WORDBREAK);
  EXPECT_GT(kept.right, 50);  // the word stands whole on its own line
  EXPECT_EQ(kept.bottom, 2 * Metrics().tmHeight);
  RECT broken = Calc(text, box, DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_LE(broken.right, 50);
  EXPECT_GT(broken.bottom, kept.bottom);
  // Leading spaces stay with the first word instead of making an empty line.
  EXPECT_EQ(Calc("   indented words", RECT{0, 0, Extent("   ind").cx, 100}, DT_WORDBREAK).bottom,
            2 * Metrics().tmHeight);
  // Without word break the text stays one line per paragraph.
  EXPECT_EQ(Calc(text, box, 0).bottom, Metrics().tmHeight);
}

TEST_F(DrawTextCanvas, EllipsisKindsAndTheModifiedString) {
  const std::string caption = "A long caption that does not fit";
  std::string end = Modified(caption, 90, DT_END_ELLIPSIS);
  ASSERT_GE(end.size(), 4u);
  EXPECT_EQ(end.substr(end.size() - 3), "...");
  std::string kept = end.substr(0, end.size() - 3);
  EXPECT_EQ(caption.compare(0, kept.size(), kept), 0);
  EXPECT_LE(Extent(end).cx, 90);
  EXPECT_GT(Extent(caption.substr(0, kept.size() + 1) + "...").cx, 90);  // the longest that fits

  const std::string path = "C:\\Program Files\\Radio\\Memory bank.dat";
  std::string p = Modified(path, 150, DT_PATH_ELLIPSIS | DT_NOPREFIX);
  EXPECT_EQ(p.substr(0, 3), "C:\\");
  const std::string tail = "...\\Memory bank.dat";
  ASSERT_GT(p.size(), tail.size());
  EXPECT_EQ(p.substr(p.size() - tail.size()), tail);
  EXPECT_LE(Extent(p).cx, 150);

  // Characters are never split; prefixes come back with the text.
  std::string han = Modified("中文字体显示测试", 50, DT_END_ELLIPSIS);
  EXPECT_EQ((han.size() - 3) % 3, 0u);
  EXPECT_EQ(Modified("&Abcdefgh", Extent("A..").cx, DT_END_ELLIPSIS), "&...");
  EXPECT_EQ(Modified("&Fits", 200, DT_END_ELLIPSIS), "&Fits");

  // The const overload never writes.
  const char fixed[] = "A long caption that does not fit";
  RECT r{0, 0, 60, 20};
  DrawText(dc, fixed, -1, &r, DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE);
  EXPECT_STREQ(fixed, "A long caption that does not fit");
}

TEST_F(DrawTextCanvas, PrefixUnderlinesTheMnemonic) {
  RECT box{10, 10, 200, 40};
  TEXTMETRIC tm = Metrics();
  Draw("File", box, DT_NOPREFIX);
  std::vector<COLORREF> plain = Snap();
  Clear();
  Draw("&File", box, 0);
  std::vector<COLORREF> marked = Snap();
  int f = Extent("F").cx;
  int changed = 0;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      size_t i = static_cast<size_t>(y * width_ + x);
      if (plain[i] == marked[i]) continue;
      ++changed;
      // Only pixels of the underline below the "F".
      EXPECT_GE(x, 10);
      EXPECT_LT(x, 10 + f);
      EXPECT_GT(y, 10 + tm.tmAscent - 1);
      EXPECT_LT(y, 10 + tm.tmHeight);
    }
  EXPECT_GE(changed, f - 1);

  Clear();
  Draw("&File", box, DT_HIDEPREFIX);
  EXPECT_EQ(Snap(), plain);
  Clear();
  Draw("&File", box, DT_PREFIXONLY);
  RECT line = Ink();
  EXPECT_EQ(line.left, 10);
  EXPECT_EQ(line.right, 10 + f);
  EXPECT_GE(line.top, 10 + tm.tmAscent);

  Clear();
  Draw("A&B", box, DT_NOPREFIX);
  std::vector<COLORREF> amp = Snap();
  Clear();
  Draw("A&&B", box, 0);
  EXPECT_EQ(Snap(), amp);
  EXPECT_EQ(Calc("A&&B", box, DT_SINGLELINE).right - 10, Extent("A&B").cx);
}

TEST_F(DrawTextCanvas, SingleLinesPlaceVerticallyAndReportTheirOffset) {
  TEXTMETRIC tm = Metrics();
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 0, 0));
  RECT box{10, 10, 200, 50};
  struct Case {
    UINT format;
    int top;
  };
  const Case cases[] = {{DT_SINGLELINE, 10},
                        {DT_SINGLELINE | DT_VCENTER, 10 + (40 - tm.tmHeight) / 2},
                        {DT_SINGLELINE | DT_BOTTOM, 50 - tm.tmHeight},
                        {DT_VCENTER, 10},  // multi-line text ignores vertical placement
                        {DT_SINGLELINE | DT_CENTER | DT_VCENTER, 10 + (40 - tm.tmHeight) / 2}};
  for (const Case& c : cases) {
    Clear();
    int result = Draw("Placed", box, c.format);
    RECT ink = Ink();
    EXPECT_EQ(ink.top, c.top) << c.format;
    EXPECT_EQ(ink.bottom, c.top + tm.tmHeight) << c.format;
    EXPECT_EQ(result, c.top - 10 + tm.tmHeight) << c.format;
  }
  // An empty text measures one line high and no width.
  RECT calc = Calc("", box, DT_SINGLELINE);
  EXPECT_EQ(calc, (RECT{10, 10, 10, 10 + tm.tmHeight}));
}

TEST_F(DrawTextCanvas, TabsExpandByTheTabLengthAndMarginsIndent) {
  TEXTMETRIC tm = Metrics();
  const std::string text = "a\tb";
  int b = Extent("b").cx;
  RECT box{0, 0, 200, 40};
  EXPECT_EQ(Calc(text, box, DT_EXPANDTABS | DT_SINGLELINE).right, 8 * tm.tmAveCharWidth + b);
  // DT_TABSTOP takes the high byte, so DT_CALCRECT cannot go with it: look
  // at the drawing.
  // The width byte is no flags: 8 would read as DT_NOPREFIX.
  Draw("&a\tb", box, DT_EXPANDTABS | DT_TABSTOP | (8 << 8) | DT_SINGLELINE);
  std::vector<COLORREF> tabbed = Snap();
  Clear();
  Draw("&a", box, DT_SINGLELINE);
  Out(8 * tm.tmAveCharWidth, 0, "b");
  EXPECT_EQ(Snap(), tabbed);
  Clear();
  // Without expansion a tab takes no room.
  EXPECT_EQ(Calc(text, box, DT_SINGLELINE).right, Extent("ab").cx);

  DRAWTEXTPARAMS params;
  params.iTabLength = 2;
  params.iLeftMargin = 5;
  params.iRightMargin = 7;
  RECT calc = box;
  DrawTextEx(dc, text.c_str(), -1, &calc, DT_EXPANDTABS | DT_SINGLELINE | DT_CALCRECT, &params);
  EXPECT_EQ(calc.right, 5 + 2 * tm.tmAveCharWidth + b + 7);
  EXPECT_EQ(params.uiLengthDrawn, 3u);
  RECT drawn = box;
  DrawTextEx(dc, "b", -1, &drawn, DT_SINGLELINE | DT_RIGHT, &params);
  EXPECT_LE(Ink().right, 200 - 7);
  EXPECT_GE(Ink().right, 200 - 7 - 2);
}

// Demo -------------------------------------------------------------------------------------------

// Writes a picture of text in every mapped font, every alignment and every
// ellipsis mode, for a person to look at (under the build folder).
namespace {

// Every style the demo shows.
HFONT DemoFont(const char* face, int height, int weight = FW_NORMAL, int escapement = 0, BYTE italic = 0,
           BYTE underline = 0, BYTE quality = DEFAULT_QUALITY) {
  return CreateFont(height, 0, escapement, escapement, weight, italic, underline, 0, DEFAULT_CHARSET, 0, 0,
                    quality, 0, face);
}

}  // namespace

TEST(GdiTextDemo, WritesPictureOfFontsAlignmentsAndEllipses) {
  const int W = 900, H = 860;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(W, H, 1, 32, nullptr);
  HGDIOBJ oldBm = SelectObject(dc, bm);
  RECT all{0, 0, W, H};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  HBRUSH frame = CreateSolidBrush(RGB(200, 200, 200));

  // Every mapped face, plain, bold, italic and underlined.
  const char* faces[] = {"MS Sans Serif", "Tahoma",          "Arial",  "Verdana", "Courier New",
                         "Times New Roman", "宋体",           "SimSun", "MS Song", "Unknown Face"};
  int y = 8;
  for (const char* face : faces) {
    HFONT plain = DemoFont(face, -13);
    SelectObject(dc, plain);
    char family[64];
    GetTextFace(dc, sizeof family, family);
    std::string line = std::string(face) + " → " + family + ": The quick brown fox 0123 中文字体 Ωμ";
    TextOut(dc, 8, y, line.c_str(), static_cast<int>(line.size()));
    HFONT styles[] = {DemoFont(face, -13, FW_BOLD), DemoFont(face, -13, FW_NORMAL, 0, 1), DemoFont(face, -13, FW_NORMAL, 0, 0, 1),
                      DemoFont(face, -13, FW_NORMAL, 0, 0, 0, ANTIALIASED_QUALITY)};
    const char* names[] = {"Bold", "Italic", "Underline", "Smooth"};
    int x = 560;
    for (int i = 0; i < 4; ++i) {
      SelectObject(dc, styles[i]);
      TextOut(dc, x, y, names[i], static_cast<int>(std::string(names[i]).size()));
      SIZE sz;
      GetTextExtentPoint32(dc, names[i], static_cast<int>(std::string(names[i]).size()), &sz);
      x += sz.cx + 10;
    }
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    for (HFONT s : styles) DeleteObject(s);
    DeleteObject(plain);
    y += 20;
  }

  // DrawText alignments in framed boxes.
  HFONT ui = DemoFont("Tahoma", -12);
  SelectObject(dc, ui);
  const UINT horz[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  const UINT vert[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
  const char* hn[] = {"left", "center", "right"};
  const char* vn[] = {"top", "vcenter", "bottom"};
  y += 10;
  for (int v = 0; v < 3; ++v)
    for (int h = 0; h < 3; ++h) {
      RECT r{8 + h * 150, y + v * 44, 8 + h * 150 + 140, y + v * 44 + 40};
      FrameRect(dc, &r, frame);
      std::string t = std::string("&") + hn[h] + " " + vn[v];
      DrawText(dc, t.c_str(), -1, &r, horz[h] | vert[v] | DT_SINGLELINE);
    }
  // Word break and tabs.
  RECT wb{470, y, 700, y + 130};
  FrameRect(dc, &wb, frame);
  DrawText(dc, "Word break: the text flows onto as many lines as it needs, centred.\nTabs:\tone\ttwo\tthree", -1, &wb,
           DT_WORDBREAK | DT_CENTER | DT_EXPANDTABS);
  RECT cj{710, y, 890, y + 130};
  FrameRect(dc, &cj, frame);
  DrawText(dc, "中文换行：每个汉字之间都可以断开，不需要空格。Mixed with English words.", -1, &cj, DT_WORDBREAK);
  y += 140;

  // Ellipsis modes.
  struct Mode {
    UINT flags;
    const char* name;
  };
  const Mode modes[] = {{0, "clipped"},
                        {DT_END_ELLIPSIS, "DT_END_ELLIPSIS"},
                        {DT_PATH_ELLIPSIS, "DT_PATH_ELLIPSIS"},
                        {DT_END_ELLIPSIS | DT_PATH_ELLIPSIS, "both"}};
  for (const Mode& m : modes) {
    TextOut(dc, 8, y + 2, m.name, static_cast<int>(std::string(m.name).size()));
    RECT r{160, y, 400, y + 20};
    FrameRect(dc, &r, frame);
    DrawText(dc, "C:\\Program Files\\Radio Programmer\\Channels\\Memory bank.dat", -1, &r,
             m.flags | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    RECT r2{420, y, 600, y + 20};
    FrameRect(dc, &r2, frame);
    DrawText(dc, "A long caption that does not fit the box", -1, &r2, m.flags | DT_SINGLELINE | DT_VCENTER);
    y += 24;
  }

  // TextOut alignments around a marked reference point, opaque background.
  y += 16;
  const UINT aligns[] = {TA_LEFT | TA_TOP, TA_CENTER | TA_BASELINE, TA_RIGHT | TA_BOTTOM};
  const char* an[] = {"TA_LEFT|TA_TOP", "TA_CENTER|TA_BASELINE", "TA_RIGHT|TA_BOTTOM"};
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 255, 160));
  for (int i = 0; i < 3; ++i) {
    int x = 150 + i * 280;
    SetTextAlign(dc, aligns[i]);
    TextOut(dc, x, y + 10, an[i], static_cast<int>(std::string(an[i]).size()));
    RECT dot{x - 1, y + 9, x + 2, y + 12};
    FillRect(dc, &dot, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_HIGHLIGHT + 1)));
  }
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SetBkMode(dc, TRANSPARENT);

  // Rotated text.
  y += 40;
  for (int a = 0; a < 360; a += 45) {
    HFONT r = DemoFont("Arial", -14, FW_NORMAL, a * 10);
    SelectObject(dc, r);
    std::string t = "  " + std::to_string(a) + " degrees";
    TextOut(dc, 150, y + 110, t.c_str(), static_cast<int>(t.size()));
    SelectObject(dc, ui);
    DeleteObject(r);
  }
  HFONT up = DemoFont("Arial", -16, FW_BOLD, 900);
  SelectObject(dc, up);
  SetTextColor(dc, RGB(0, 0, 160));
  TextOut(dc, 330, y + 200, "Reading upward", 14);
  HFONT down = DemoFont("Arial", -16, FW_BOLD, 2700);
  SelectObject(dc, down);
  TextOut(dc, 360, y + 20, "Reading downward", 16);
  SelectObject(dc, ui);
  DeleteObject(up);
  DeleteObject(down);
  SetTextColor(dc, RGB(0, 0, 0));

  // Character extra and justification.
  SetTextCharacterExtra(dc, 3);
  TextOut(dc, 420, y + 20, "Character extra 3", 17);
  SetTextCharacterExtra(dc, 0);
  SetTextJustification(dc, 60, 3);
  TextOut(dc, 420, y + 40, "Justified by sixty pixels", 25);
  SetTextJustification(dc, 0, 0);
  INT tabs[] = {60, 120};
  TabbedTextOut(dc, 420, y + 60, "Tabbed\tat 60\tat 120", 19, 2, tabs, 420);

  SelectObject(dc, oldFont);
  DeleteObject(ui);
  DeleteObject(frame);

  std::string path = PicturePath("gdi-text-demo.png");
  EXPECT_TRUE(SaveBitmapToPng(bm, path));
  std::printf("text demo written to %s\n", path.c_str());
  SelectObject(dc, oldBm);
  DeleteDC(dc);
  DeleteObject(bm);
}
