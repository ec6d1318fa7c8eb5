#include "platform/win/GdiSurface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/platform/win/GdiFixture.h"
#include "platform/win/GdiPrivate.h"
#include "platform/win/GdiFrames.h"
#include "platform/win/OwnBitmaps.h"
#include "platform/win/SysColors.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempFolder.h"

using namespace win;

namespace {

std::string ReadHead(const std::string& path, size_t n) {
  std::ifstream in(path, std::ios::binary);
  std::string s(n, '\0');
  in.read(s.data(), static_cast<std::streamsize>(n));
  s.resize(static_cast<size_t>(in.gcount()));
  return s;
}

}  // namespace

TEST(GdiSurfaces, WindowDCsDrawAtTheirOriginInsideTheVisibleRegion) {
  std::vector<uint32_t> pixels(20 * 10, 0x00FFFFFF);
  HDC dc = CreatePixelDC(pixels.data(), 20, 10, 20 * 4);
  ASSERT_NE(dc, nullptr);
  SetDCSurfaceOrigin(dc, 5, 2);
  HRGN visible = CreateRectRgn(0, 0, 4, 3);  // the window's visible part, device coordinates
  SetDCVisibleRegion(dc, visible);
  DeleteObject(visible);
  RECT all{-10, -10, 30, 30};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  int black = 0;
  for (uint32_t p : pixels) black += p == 0;
  EXPECT_EQ(black, 12);
  EXPECT_EQ(pixels[2 * 20 + 5], 0u);
  EXPECT_EQ(pixels[4 * 20 + 8], 0u);
  EXPECT_EQ(pixels[5 * 20 + 8], 0x00FFFFFFu);
  // The application's clip is in window (device) coordinates too.
  IntersectClipRect(dc, 1, 1, 2, 2);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  GetClipRgn(dc, probe);
  RECT box;
  GetRgnBox(probe, &box);
  EXPECT_EQ(box, (RECT{1, 1, 2, 2}));
  DeleteObject(probe);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID) << "outside the clip";
  EXPECT_EQ(CreatePixelDC(nullptr, 4, 4, 16), nullptr);
  DeleteDC(dc);
}

TEST(GdiSurfaces, PdfPagesTakeTheSameDrawingCalls) {
  TempFolder scratch("gdi");
  auto path = scratch / "page.pdf";
  HDC dc = CreatePdfDC(path, 850, 1100, 100);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 100);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 850);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 850);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 1100);
  Rectangle(dc, 10, 10, 200, 100);
  HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 255));
  RECT r{10, 120, 200, 200};
  FillRect(dc, &r, hatch);
  DeleteObject(hatch);
  Ellipse(dc, 220, 10, 300, 90);
  IntersectClipRect(dc, 0, 0, 400, 400);
  RECT edge{220, 120, 300, 200};
  DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  HBITMAP boxes = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_CHECKBOXES));
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, boxes);
  EXPECT_TRUE(StretchBlt(dc, 320, 10, 104, 78, mem, 0, 0, 52, 39, SRCCOPY));
  EXPECT_TRUE(BitBlt(dc, 320, 100, 52, 39, mem, 0, 0, SRCAND));
  EXPECT_FALSE(BitBlt(mem, 0, 0, 10, 10, dc, 0, 0, SRCCOPY)) << "a page cannot be read back";
  EXPECT_EQ(GetPixel(dc, 10, 10), CLR_INVALID);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(boxes);
  EXPECT_TRUE(PdfNextPage(dc));
  Rectangle(dc, 10, 10, 20, 20);
  DeleteDC(dc);
  EXPECT_EQ(ReadHead(path, 5), "%PDF-");
  EXPECT_GT(std::filesystem::file_size(path), 500u);

  // A printable area inside the paper.
  HDC margins = CreatePdfDC(path, PageGeometry{850, 1100, 25, 30, 800, 1040, 100});
  ASSERT_NE(margins, nullptr);
  EXPECT_EQ(GetDeviceCaps(margins, HORZRES), 800);
  EXPECT_EQ(GetDeviceCaps(margins, VERTRES), 1040);
  EXPECT_EQ(GetDeviceCaps(margins, PHYSICALWIDTH), 850);
  EXPECT_EQ(GetDeviceCaps(margins, PHYSICALHEIGHT), 1100);
  EXPECT_EQ(GetDeviceCaps(margins, PHYSICALOFFSETX), 25);
  EXPECT_EQ(GetDeviceCaps(margins, PHYSICALOFFSETY), 30);
  DeleteDC(margins);
  EXPECT_EQ(CreatePdfDC(path, PageGeometry{850, 1100, 0, 0, 0, 1040, 100}), nullptr);
}

namespace {

// A DC that draws through the vector path (as on a PDF page) onto a cairo
// image, so that its pixels can be compared with those of a bitmap DC.
struct VectorCanvas {
  explicit VectorCanvas(int w, int h) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    auto dcObject = std::make_unique<gdi::DCObject>();
    dcObject->dcKind = gdi::DCKind::Vector;
    dcObject->cr = cairo_create(surface);
    cairo_set_antialias(dcObject->cr, CAIRO_ANTIALIAS_NONE);
    dcObject->vectorWidth = w;
    dcObject->vectorHeight = h;
    dc = gdi::NewDC(std::move(dcObject));
  }
  ~VectorCanvas() {
    DeleteDC(dc);
    cairo_surface_destroy(surface);
  }
  COLORREF Pixel(int x, int y) {
    cairo_surface_flush(surface);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
    uint32_t p = data[y * (cairo_image_surface_get_stride(surface) / 4) + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  cairo_surface_t* surface;
  HDC dc;
};

// One scene for both kinds of surface: copies, fills, shapes and blits whose
// raster operations either ignore or keep the destination.
void Scene(HDC dc, HDC maskDc) {
  RECT all{0, 0, 24, 24};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, red);
  HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 255));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldBrush = SelectObject(dc, hatch);
  Ellipse(dc, 1, 1, 13, 13);
  SelectObject(dc, oldBrush);
  RECT edge{14, 1, 22, 9};
  DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, 14, 12, 8, 8, maskDc, 0, 0, SRCAND);
  DeleteObject(hatch);
  DeleteObject(red);
}

}  // namespace

TEST(GdiSurfaces, VectorPathPaintsTheSamePixelsAsBitmaps) {
  // Mask: a black square inside white.
  HDC maskDc = CreateCompatibleDC(nullptr);
  HBITMAP mask = CreateBitmap(8, 8, 1, 1, nullptr);
  HGDIOBJ oldMask = SelectObject(maskDc, mask);
  PatBlt(maskDc, 0, 0, 8, 8, WHITENESS);
  PatBlt(maskDc, 2, 2, 4, 4, BLACKNESS);

  HDC bitmapDc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(24, 24, 1, 32, nullptr);
  HGDIOBJ oldBm = SelectObject(bitmapDc, bm);
  Scene(bitmapDc, maskDc);
  VectorCanvas vector(24, 24);
  Scene(vector.dc, maskDc);
  int differences = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) differences += GetPixel(bitmapDc, x, y) != vector.Pixel(x, y);
  EXPECT_EQ(differences, 0);
  // Inverting needs the page: the dots come out as on white, the gaps
  // between them (XOR with black) leave the page alone.
  RECT focus{2, 14, 12, 20};
  DrawFocusRect(vector.dc, &focus);
  EXPECT_EQ(vector.Pixel(2, 14), RGB(0, 0, 0));
  EXPECT_EQ(vector.Pixel(3, 14), RGB(255, 0, 0));
  EXPECT_EQ(vector.Pixel(15, 13), RGB(255, 0, 0)) << "AND with white leaves the page alone";
  EXPECT_EQ(vector.Pixel(17, 15), RGB(0, 0, 0));

  SelectObject(bitmapDc, oldBm);
  DeleteDC(bitmapDc);
  DeleteObject(bm);
  SelectObject(maskDc, oldMask);
  DeleteDC(maskDc);
  DeleteObject(mask);
}

TEST(GdiSurfaces, BitmapsSaveAsPng) {
  TempFolder scratch("gdi");
  auto path = scratch / "bitmap.png";
  HBITMAP bm = CreateBitmap(3, 2, 1, 32, nullptr);
  EXPECT_TRUE(SaveBitmapToPng(bm, path));
  EXPECT_EQ(ReadHead(path, 4), "\x89PNG");
  DeleteObject(bm);
  EXPECT_FALSE(SaveBitmapToPng(nullptr, path));
  std::vector<uint32_t> pixels(4 * 4, 0x00FF0000);
  HDC dc = CreatePixelDC(pixels.data(), 4, 4, 16);
  std::filesystem::remove(path);
  EXPECT_TRUE(SaveDCToPng(dc, path));
  EXPECT_EQ(ReadHead(path, 4), "\x89PNG");
  DeleteDC(dc);
}

// Writes one picture of shapes, regions and blits for a person to look at.
TEST(GdiDemo, WritesAPictureOfShapesRegionsAndBlits) {
  const int W = 480, H = 400;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bm = CreateBitmap(W, H, 1, 32, nullptr);
  HGDIOBJ oldBm = SelectObject(dc, bm);
  RECT all{0, 0, W, H};
  FillRect(dc, &all, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

  // Shapes with pens of several styles and widths.
  HBRUSH yellow = CreateSolidBrush(RGB(255, 240, 120));
  HGDIOBJ oldBrush = SelectObject(dc, yellow);
  Rectangle(dc, 10, 10, 90, 60);
  Ellipse(dc, 100, 10, 180, 60);
  RoundRect(dc, 190, 10, 270, 60, 20, 20);
  const POINT star[] = {{320, 10}, {335, 60}, {290, 28}, {350, 28}, {305, 60}};
  SetPolyFillMode(dc, WINDING);
  Polygon(dc, star, 5);
  const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
  for (int i = 0; i < 5; ++i) {
    HPEN pen = CreatePen(styles[i], 1, RGB(0, 0, 160));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 370, 12 + i * 10, nullptr);
    LineTo(dc, 470, 12 + i * 10);
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  LOGBRUSH lb{BS_SOLID, RGB(160, 0, 0), 0};
  HPEN wide = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 5, &lb, 0, nullptr);
  HGDIOBJ oldPen = SelectObject(dc, wide);
  const POINT zig[] = {{10, 110}, {50, 75}, {90, 110}, {130, 75}};
  Polyline(dc, zig, 4);
  SelectObject(dc, oldPen);
  DeleteObject(wide);

  // Hatch brushes.
  for (int h = HS_HORIZONTAL; h <= HS_DIAGCROSS; ++h) {
    HBRUSH hb = CreateHatchBrush(h, RGB(0, 100, 0));
    RECT r{150 + h * 50, 75, 190 + h * 50, 115};
    FillRect(dc, &r, hb);
    DeleteObject(hb);
  }

  // Regions: an ellipse xor a rectangle, filled and framed.
  HRGN e = CreateEllipticRgn(10, 130, 130, 210);
  HRGN r = CreateRectRgn(50, 150, 170, 230);
  HRGN x = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(x, e, r, RGN_XOR);
  HBRUSH teal = CreateSolidBrush(RGB(0, 140, 140));
  FillRgn(dc, x, teal);
  FrameRgn(dc, x, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
  DeleteObject(teal);
  for (HRGN h : {e, r, x}) DeleteObject(h);

  // Edges, frame controls and the check-box bitmap, scaled and mirrored.
  RECT er{190, 130, 250, 170};
  DrawEdge(dc, &er, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  er = {260, 130, 320, 170};
  DrawEdge(dc, &er, EDGE_SUNKEN, BF_RECT);
  er = {330, 130, 390, 170};
  DrawEdge(dc, &er, EDGE_ETCHED, BF_RECT);
  er = {400, 130, 460, 170};
  DrawEdge(dc, &er, EDGE_BUMP, BF_RECT);
  RECT fc{190, 180, 206, 196};
  DrawFrameControl(dc, &fc, DFC_SCROLL, DFCS_SCROLLUP);
  fc = {210, 180, 226, 196};
  DrawFrameControl(dc, &fc, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE);
  fc = {230, 180, 246, 196};
  DrawFrameControl(dc, &fc, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  fc = {250, 180, 266, 194};
  DrawFrameControl(dc, &fc, DFC_CAPTION, DFCS_CAPTIONCLOSE);
  RECT focus{270, 180, 330, 196};
  DrawFocusRect(dc, &focus);
  HBITMAP boxes = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_CHECKBOXES));
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ oldMem = SelectObject(mem, boxes);
  BitBlt(dc, 190, 210, 52, 39, mem, 0, 0, SRCCOPY);
  StretchBlt(dc, 250, 210, 104, 78, mem, 0, 0, 52, 39, SRCCOPY);
  StretchBlt(dc, 465, 210, -104, 78, mem, 0, 0, 52, 39, SRCCOPY);
  SelectObject(mem, oldMem);
  DeleteDC(mem);
  DeleteObject(boxes);
  // The small frame controls magnified four times.
  StretchBlt(dc, 10, 300, 320, 64, dc, 190, 180, 80, 16, SRCCOPY);
  SelectObject(dc, oldBrush);
  DeleteObject(yellow);

  std::string path = PicturePath("gdi-demo.png");
  ASSERT_TRUE(SaveBitmapToPng(bm, path));
  std::printf("GDI demo picture: %s\n", std::filesystem::absolute(path).c_str());
  SelectObject(dc, oldBm);
  DeleteDC(dc);
  DeleteObject(bm);
}
