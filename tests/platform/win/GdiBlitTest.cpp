#include "platform/win/GdiBlit.h"

#include <gtest/gtest.h>

#include "tests/platform/win/GdiFixture.h"

using namespace win;

namespace {

// The textbook meaning of a ternary raster operation, one minterm at a time.
uint32_t Reference(BYTE code, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t r = 0;
  for (int bit = 0; bit < 24; ++bit) {
    int i = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
    r |= static_cast<uint32_t>((code >> i) & 1) << bit;
  }
  return r;
}

// A 1 x 1 32-bit bitmap in its own DC.
struct OnePixel {
  explicit OnePixel(COLORREF c) {
    dc = CreateCompatibleDC(nullptr);
    bm = CreateBitmap(1, 1, 1, 32, nullptr);
    old = SelectObject(dc, bm);
    SetPixel(dc, 0, 0, c);
  }
  ~OnePixel() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bm);
  }
  HDC dc;
  HBITMAP bm;
  HGDIOBJ old;
};

}  // namespace

TEST(GdiRop3, EveryCodeIsItsTruthTable) {
  const uint32_t P = 0x00F0F0F0, S = 0x00CCCCCC, D = 0x00AAAAAA;
  for (int code = 0; code < 256; ++code)
    ASSERT_EQ(ApplyRop3(static_cast<BYTE>(code), P, S, D), Reference(static_cast<BYTE>(code), P, S, D)) << code;
}

TEST(GdiRop3, NamedOperationsOnKnownPixels) {
  const COLORREF pat = RGB(0x0F, 0xF0, 0x33), src = RGB(0x55, 0x0F, 0xF0), dst = RGB(0x33, 0x55, 0x0F);
  const DWORD rops[] = {SRCCOPY,   SRCPAINT, SRCAND,    SRCINVERT, SRCERASE, NOTSRCCOPY, NOTSRCERASE, MERGECOPY,
                        MERGEPAINT, PATCOPY, PATPAINT, PATINVERT, DSTINVERT, BLACKNESS,  WHITENESS,   0x00B8074A,
                        0x00E20746};
  for (DWORD rop : rops) {
    SCOPED_TRACE(testing::Message() << std::hex << rop);
    OnePixel s(src), d(dst);
    HBRUSH brush = CreateSolidBrush(pat);
    HGDIOBJ prev = SelectObject(d.dc, brush);
    ASSERT_TRUE(BitBlt(d.dc, 0, 0, 1, 1, s.dc, 0, 0, rop));
    // Pixels are 0x00RRGGBB, colours 0x00BBGGRR.
    auto px = [](COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (GetGValue(c) << 8) | GetBValue(c); };
    uint32_t want = Reference(static_cast<BYTE>(rop >> 16), px(pat), px(src), px(dst));
    EXPECT_EQ(GetPixel(d.dc, 0, 0), RGB((want >> 16) & 0xFF, (want >> 8) & 0xFF, want & 0xFF));
    SelectObject(d.dc, prev);
    DeleteObject(brush);
  }
}

using GdiBlits = GdiCanvas;

TEST_F(GdiBlits, MonochromeAndColourConvertThroughTheDCColours) {
  // 4 x 1 mono: black, white, black, white.
  const uint8_t bits[] = {0x50, 0};
  HBITMAP mono = CreateBitmap(4, 1, 1, 1, bits);
  HDC mdc = CreateCompatibleDC(dc);
  HGDIOBJ prev = SelectObject(mdc, mono);
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkColor(dc, RGB(0, 0, 255));
  BitBlt(dc, 0, 0, 4, 1, mdc, 0, 0, SRCCOPY);
  std::map<COLORREF, char> legend{{RGB(255, 0, 0), 'r'}, {RGB(0, 0, 255), 'b'}, {RGB(0, 255, 0), 'g'}};
  EXPECT_EQ(Rows(0, 0, 4, 1, legend)[0], "rbrb");
  // Colour to mono: the source DC's background colour becomes white.
  SetPixel(dc, 0, 1, RGB(0, 255, 0));
  SetPixel(dc, 1, 1, RGB(0, 0, 0));
  SetBkColor(dc, RGB(0, 255, 0));
  BitBlt(mdc, 0, 0, 4, 1, dc, 0, 1, SRCCOPY);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, 0, 2, 4, 1, mdc, 0, 0, SRCCOPY);
  EXPECT_EQ(Rows(0, 2, 4, 3)[0], ".###") << "green matched the background, the rest did not";
  SelectObject(mdc, prev);
  DeleteDC(mdc);
  DeleteObject(mono);
}

TEST_F(GdiBlits, MaskedDrawingWithTheTernaryCodes) {
  // Mask: black where the picture goes, white around it.
  const uint8_t bits[] = {0x90, 0};  // white, black, black, white
  HBITMAP mask = CreateBitmap(4, 1, 1, 1, bits);
  HDC mdc = CreateCompatibleDC(dc);
  HGDIOBJ prev = SelectObject(mdc, mask);
  RECT r{0, 0, 4, 2};
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &r, blue);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(dc, red);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, 0, 0, 4, 1, mdc, 0, 0, 0x00B8074A);  // black mask bits take the brush
  BitBlt(dc, 0, 1, 4, 1, mdc, 0, 0, 0x00E20746);  // white mask bits take the brush
  std::map<COLORREF, char> legend{{RGB(255, 0, 0), 'r'}, {RGB(0, 0, 255), 'b'}};
  EXPECT_EQ(Rows(0, 0, 4, 2, legend), (std::vector<std::string>{"brrb", "rbbr"}));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  DeleteObject(blue);
  SelectObject(mdc, prev);
  DeleteDC(mdc);
  DeleteObject(mask);
}

TEST_F(GdiBlits, StretchScalesAndNegativeExtentsMirror) {
  HDC src = CreateCompatibleDC(dc);
  HBITMAP sbm = CreateCompatibleBitmap(dc, 4, 1);
  HGDIOBJ prev = SelectObject(src, sbm);
  const COLORREF c[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(0, 0, 0)};
  for (int i = 0; i < 4; ++i) SetPixel(src, i, 0, c[i]);
  std::map<COLORREF, char> legend{{c[0], 'r'}, {c[1], 'g'}, {c[2], 'b'}, {c[3], 'k'}};
  StretchBlt(dc, 3, 0, -4, 1, src, 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(Rows(0, 0, 5, 1, legend)[0], "kbgr.");
  StretchBlt(dc, 0, 1, 8, 2, src, 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(Rows(0, 1, 9, 3, legend), (std::vector<std::string>{"rrggbbkk.", "rrggbbkk."}));
  StretchBlt(dc, 0, 3, 2, 1, src, 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(Rows(0, 3, 3, 4, legend)[0], "gk.");
  StretchBlt(dc, 0, 4, 4, 1, src, 3, 0, -4, 1, SRCCOPY);  // mirrored source
  EXPECT_EQ(Rows(0, 4, 4, 5, legend)[0], "kbgr");
  // TransparentBlt leaves the transparent colour's pixels alone.
  TransparentBlt(dc, 0, 5, 8, 1, src, 0, 0, 4, 1, RGB(0, 255, 0));
  EXPECT_EQ(Rows(0, 5, 9, 6, legend)[0], "rr..bbkk.");
  // Source pixels off the bitmap leave the destination alone.
  BitBlt(dc, 0, 6, 6, 1, src, -1, 0, SRCCOPY);
  EXPECT_EQ(Rows(0, 6, 6, 7, legend)[0], ".rgbk.");
  SelectObject(src, prev);
  DeleteDC(src);
  DeleteObject(sbm);
}

TEST_F(GdiBlits, OverlappingCopyWithinOneSurfaceAndClipping) {
  for (int x = 0; x < 4; ++x) SetPixel(dc, x, 0, RGB(x * 10, 0, 0));
  BitBlt(dc, 1, 0, 4, 1, dc, 0, 0, SRCCOPY);  // scroll right by one
  for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(x + 1, 0), RGB(x * 10, 0, 0)) << x;
  IntersectClipRect(dc, 0, 2, 2, 16);
  BitBlt(dc, 0, 2, 4, 1, dc, 1, 0, SRCCOPY);
  EXPECT_EQ(Pixel(1, 2), RGB(10, 0, 0));
  EXPECT_EQ(Pixel(2, 2), RGB(255, 255, 255));
}

TEST_F(GdiBlits, PatBltInvertsTwiceBackAndFollowsTheBrushOrigin) {
  SetPixel(dc, 3, 3, RGB(10, 20, 30));
  PatBlt(dc, 0, 0, 16, 16, DSTINVERT);
  EXPECT_EQ(Pixel(3, 3), RGB(245, 235, 225));
  PatBlt(dc, 16, 16, -16, -16, DSTINVERT);  // negative extents: the same rectangle
  EXPECT_EQ(Pixel(3, 3), RGB(10, 20, 30));
  EXPECT_EQ(CountColor(RGB(255, 255, 255)), 255);
  HBRUSH hatch = CreateHatchBrush(HS_HORIZONTAL, RGB(0, 0, 0));
  SelectObject(dc, hatch);
  SetBrushOrgEx(dc, 0, 2, nullptr);
  PatBlt(dc, 0, 0, 2, 10, PATCOPY);
  EXPECT_EQ(Rows(0, 0, 1, 10), (std::vector<std::string>{".", ".", "#", ".", ".", ".", ".", ".", ".", "."}));
  EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, SRCCOPY)) << "PatBlt has no source";
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(hatch);
}

TEST_F(GdiBlits, HugeExtentsCostNoMoreThanTheSurface) {
  PatBlt(dc, -2000000000, -2000000000, 2100000000, 2100000000, BLACKNESS);
  EXPECT_EQ(CountColor(RGB(0, 0, 0)), 256);
  HDC src = CreateCompatibleDC(dc);
  HBITMAP sbm = CreateCompatibleBitmap(dc, 2, 2);
  HGDIOBJ prev = SelectObject(src, sbm);
  PatBlt(src, 0, 0, 2, 2, WHITENESS);
  EXPECT_TRUE(StretchBlt(dc, 0, 0, 2000000000, 2000000000, src, 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(CountColor(RGB(255, 255, 255)), 256);
  PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
  EXPECT_TRUE(BitBlt(dc, -1000000000, 0, 2000000000, 16, src, -1000000000, 0, SRCCOPY));
  EXPECT_EQ(CountColor(RGB(255, 255, 255)), 4) << "only the source's 2 x 2 pixels exist";
  SelectObject(src, prev);
  DeleteDC(src);
  DeleteObject(sbm);
}
