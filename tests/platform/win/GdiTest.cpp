#include "platform/win/Gdi.h"

#include <gtest/gtest.h>

#include "tests/platform/win/GdiFixture.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/SysColors.h"

using namespace win;

TEST(GdiColors, MacrosAndMulDiv) {
  COLORREF c = RGB(0x12, 0x34, 0x56);
  EXPECT_EQ(c, 0x00563412u);
  EXPECT_EQ(GetRValue(c), 0x12);
  EXPECT_EQ(GetGValue(c), 0x34);
  EXPECT_EQ(GetBValue(c), 0x56);
  EXPECT_EQ(win::MulDiv(212, 14, 100), 30);
}

namespace {
int g_colorChanges = 0;
void CountChange() { ++g_colorChanges; }
}  // namespace

TEST(GdiColors, SystemColorsChangeAtRunTimeAndBrushesFollow) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_HOTLIGHT), RGB(0, 0, 128));
  EXPECT_EQ(GetSysColor(99), 0u);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
  EXPECT_TRUE(DeleteObject(face));  // a stock object: stays alive
  SysColorChangeHook windowLayer = SetSysColorChangeHook(&CountChange);
  INT index = COLOR_BTNFACE;
  COLORREF color = RGB(1, 2, 3);
  ASSERT_TRUE(SetSysColors(1, &index, &color));
  EXPECT_EQ(g_colorChanges, 1);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(1, 2, 3));
  LOGBRUSH lb;
  ASSERT_EQ(GetObject(face, sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
  ResetSysColors();
  SetSysColorChangeHook(windowLayer);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
}

using GdiObjects = GdiCanvas;

TEST_F(GdiObjects, DeletingASelectedObjectKillsTheHandleButNotTheDrawing) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_EQ(GetObject(pen, 0, nullptr), 0);           // the handle is dead
  EXPECT_EQ(SelectObject(dc, pen), nullptr);          // and cannot be selected again
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 3, 0);                                    // the DC still draws with it
  EXPECT_EQ(Pixel(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(SelectObject(dc, oldPen), pen);
  EXPECT_EQ(GetObject(pen, 0, nullptr), 0) << "freed with the last selection";
  MoveToEx(dc, 0, 1, nullptr);
  LineTo(dc, 3, 1);
  EXPECT_EQ(Pixel(1, 1), RGB(0, 0, 0));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_FALSE(DeleteObject(dc)) << "a DC is not deleted by DeleteObject";
}

TEST_F(GdiObjects, ABitmapDeletedWhileSelectedLivesUntilTheDCGoes) {
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bm = CreateCompatibleBitmap(dc, 4, 4);
  SelectObject(mem, bm);
  EXPECT_TRUE(DeleteObject(bm));
  EXPECT_EQ(GetObject(bm, 0, nullptr), 0);
  RECT r{0, 0, 4, 4};
  FillRect(mem, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_TRUE(BitBlt(dc, 0, 0, 4, 4, mem, 0, 0, SRCCOPY));
  EXPECT_EQ(Pixel(3, 3), RGB(0, 0, 0));
  EXPECT_TRUE(DeleteDC(mem));  // frees the bitmap too (the leak checker watches)
  EXPECT_FALSE(DeleteDC(mem));
}

TEST_F(GdiObjects, BitmapSitsInOneDCAtATime) {
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, bitmap), nullptr);
  SelectObject(dc, old);
  HGDIOBJ prev = SelectObject(other, bitmap);
  EXPECT_NE(prev, nullptr);
  SelectObject(other, prev);
  SelectObject(dc, bitmap);
  DeleteDC(other);
}

TEST_F(GdiObjects, GetObjectDescribesEachKind) {
  BITMAP bm;
  ASSERT_EQ(GetObject(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmWidth, 16);
  EXPECT_EQ(bm.bmHeight, 16);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  HBITMAP mono = CreateBitmap(10, 3, 1, 1, nullptr);
  GetObject(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  DeleteObject(mono);

  HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
  LOGPEN lp;
  ASSERT_EQ(GetObject(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  DeleteObject(pen);
  LOGBRUSH lb{BS_SOLID, RGB(9, 8, 7), 0};
  HPEN ext = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, &lb, 0, nullptr);
  EXTLOGPEN elp;
  ASSERT_GT(GetObject(ext, sizeof elp, &elp), 0);
  EXPECT_EQ(elp.elpWidth, 3u);
  EXPECT_EQ(GetObjectType(ext), static_cast<DWORD>(OBJ_EXTPEN));
  DeleteObject(ext);
  EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_SOLID, 3, &lb, 0, nullptr), nullptr) << "cosmetic pens are 1 wide";
}

TEST_F(GdiObjects, SaveAndRestoreBringBackTheWholeState) {
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SetTextColor(dc, RGB(1, 1, 1));
  int level = SaveDC(dc);
  EXPECT_EQ(level, 1);
  SelectObject(dc, red);
  SetTextColor(dc, RGB(2, 2, 2));
  SetBkMode(dc, TRANSPARENT);
  SetROP2(dc, R2_XORPEN);
  SetViewportOrgEx(dc, 5, 6, nullptr);
  SetWindowOrgEx(dc, 1, 2, nullptr);
  IntersectClipRect(dc, 0, 0, 4, 4);
  EXPECT_EQ(SaveDC(dc), 2);
  DeleteObject(red);  // selected: freed when the DC lets it go
  ASSERT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
  ASSERT_TRUE(RestoreDC(dc, 1));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
  POINT p;
  GetViewportOrgEx(dc, &p);
  EXPECT_EQ(p, (POINT{0, 0}));
  GetWindowOrgEx(dc, &p);
  EXPECT_EQ(p, (POINT{0, 0}));
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, probe), 0) << "no clip comes back as no clip";
  DeleteObject(probe);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_FALSE(RestoreDC(dc, 1)) << "the saved state is used up";
  EXPECT_FALSE(RestoreDC(dc, 0));
}

TEST_F(GdiObjects, MemoryDCsAreMonochromeUntilABitmapIsSelected) {
  HDC fresh = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(fresh, 4, 4);
  BITMAP bm;
  GetObject(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(GetNearestColor(fresh, RGB(200, 200, 200)), RGB(255, 255, 255));
  EXPECT_EQ(GetNearestColor(fresh, RGB(100, 0, 0)), RGB(0, 0, 0));
  HBITMAP colour = CreateCompatibleBitmap(dc, 4, 4);
  GetObject(colour, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(GetNearestColor(dc, RGB(100, 0, 0)), RGB(100, 0, 0));
  DeleteObject(mono);
  DeleteObject(colour);
  DeleteDC(fresh);
}

TEST_F(GdiObjects, DeviceCapsOfScreenAndMemoryDCs) {
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASDISPLAY);
  SIZE screen = GetScreenSize();
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), screen.cx);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), screen.cy);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 0);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 0);
}

TEST_F(GdiObjects, DIBSectionsShareTheirPixels) {
  for (LONG height : {-3, 3}) {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    ASSERT_NE(bits, nullptr);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ prev = SelectObject(mem, dib);
    SetPixel(mem, 1, 0, RGB(10, 20, 30));  // top row
    auto* px = static_cast<uint32_t*>(bits);
    size_t topRow = height < 0 ? 0 : 2;   // bottom-up DIBs keep the top row last
    EXPECT_EQ(px[topRow * 2 + 1], 0x000A141Eu) << height;
    px[topRow * 2] = 0x00FF0000;
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(255, 0, 0)) << height;
    SelectObject(mem, prev);
    DeleteDC(mem);
    DeleteObject(dib);
  }
}

TEST_F(GdiObjects, DIBitsRoundTripInBothRowOrders) {
  uint32_t pixels[4] = {0x00010203, 0x00040506, 0x00070809, 0x000A0B0C};
  BITMAPINFO info{};
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = -2;
  info.bmiHeader.biBitCount = 32;
  HBITMAP bm = CreateBitmap(2, 2, 1, 32, nullptr);
  EXPECT_EQ(SetDIBits(dc, bm, 0, 2, pixels, &info, DIB_RGB_COLORS), 2);
  uint32_t back[4] = {};
  info.bmiHeader.biHeight = 2;  // bottom-up: the bottom row first
  EXPECT_EQ(GetDIBits(dc, bm, 0, 2, back, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(back[0], pixels[2]);
  EXPECT_EQ(back[3], pixels[1]);
  // 24-bit rows are padded to four bytes.
  uint8_t rgb[2 * 8] = {};
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biHeight = -2;
  EXPECT_EQ(GetDIBits(dc, bm, 0, 2, rgb, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(rgb[8 + 3], 0x0C);  // second row, second pixel, blue
  EXPECT_EQ(rgb[8 + 5], 0x0A);  // and red
  // 4 bits per pixel through a colour table.
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } indexed{};
  indexed.header.biWidth = 2;
  indexed.header.biHeight = -2;
  indexed.header.biBitCount = 4;
  indexed.header.biClrUsed = 2;
  indexed.colors[1] = {0x30, 0x20, 0x10, 0};
  const uint8_t nibbles[8] = {0x10, 0, 0, 0, 0x01, 0, 0, 0};
  EXPECT_EQ(SetDIBits(dc, bm, 0, 2, nibbles, reinterpret_cast<BITMAPINFO*>(&indexed), DIB_RGB_COLORS), 2);
  info.bmiHeader.biBitCount = 32;
  EXPECT_EQ(GetDIBits(dc, bm, 0, 2, back, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(back[0], 0x00102030u);
  EXPECT_EQ(back[1], 0u);
  EXPECT_EQ(back[3], 0x00102030u);
  BITMAPINFO query{};
  EXPECT_NE(GetDIBits(dc, bm, 0, 0, nullptr, &query, DIB_RGB_COLORS), 0);
  EXPECT_EQ(query.bmiHeader.biWidth, 2);
  EXPECT_EQ(query.bmiHeader.biBitCount, 32);
  DeleteObject(bm);
}
