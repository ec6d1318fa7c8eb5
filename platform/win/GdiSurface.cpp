#include "platform/win/GdiSurface.h"

#include <cairo-pdf.h>

#include <memory>

#include "platform/win/Gdi.h"
#include "platform/win/GdiPrivate.h"
#include "platform/win/GdiRegions.h"

namespace win {

using namespace gdi;

namespace {
SIZE& Screen() {
  static SIZE size{1024, 768};
  return size;
}
}  // namespace

SIZE GetScreenSize() { return Screen(); }

void SetScreenSize(int width, int height) { Screen() = {width, height}; }

HDC CreatePixelDC(uint32_t* pixels, int width, int height, int strideBytes) {
  auto dc = std::make_unique<DCObject>();
  dc->dcKind = DCKind::Pixels;
  HDC h = NewDC(std::move(dc));
  if (!SetDCPixels(h, pixels, width, height, strideBytes)) {
    DeleteDC(h);
    return nullptr;
  }
  return h;
}

BOOL SetDCPixels(HDC hdc, uint32_t* pixels, int width, int height, int strideBytes) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || dc->dcKind != DCKind::Pixels || width < 0 || height < 0 || strideBytes % 4 != 0) return FALSE;
  if ((width > 0 && height > 0) && (!pixels || strideBytes < width * 4)) return FALSE;
  if (dc->pixelCairo) cairo_destroy(dc->pixelCairo);
  if (dc->pixelSurface) cairo_surface_destroy(dc->pixelSurface);
  dc->pixelCairo = nullptr;
  dc->pixelSurface = nullptr;
  dc->px = {pixels, strideBytes / 4, width, height, false};
  InvalidateClip(*dc);
  return TRUE;
}

BOOL SetDCSurfaceOrigin(HDC hdc, int x, int y) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  dc->surfaceOrg = {x, y};
  InvalidateClip(*dc);
  return TRUE;
}

BOOL SetDCResolution(HDC hdc, int dpi) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || dpi <= 0) return FALSE;
  dc->dpiX = dc->dpiY = dpi;
  return TRUE;
}

BOOL SetDCVisibleRegion(HDC hdc, HRGN visible) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  if (!visible) {
    dc->hasVisible = false;
    dc->visible.SetEmpty();
  } else {
    RegionObject* r = LookupRgn(visible);
    if (!r) return FALSE;
    dc->hasVisible = true;
    dc->visible = r->rgn;
  }
  InvalidateClip(*dc);
  return TRUE;
}

HDC CreatePdfDC(const std::string& path, int width, int height, int dpi) {
  return CreatePdfDC(path, PageGeometry{width, height, 0, 0, width, height, dpi});
}

HDC CreatePdfDC(const std::string& path, const PageGeometry& page) {
  if (page.paperWidth <= 0 || page.paperHeight <= 0 || page.dpi <= 0 || page.printableWidth <= 0 ||
      page.printableHeight <= 0 || page.offsetX < 0 || page.offsetY < 0)
    return nullptr;
  double pointsPerUnit = 72.0 / page.dpi;
  cairo_surface_t* surface =
      cairo_pdf_surface_create(path.c_str(), page.paperWidth * pointsPerUnit, page.paperHeight * pointsPerUnit);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  auto dc = std::make_unique<DCObject>();
  dc->dcKind = DCKind::Vector;
  dc->ownedSurface = surface;
  dc->cr = cairo_create(surface);
  cairo_scale(dc->cr, pointsPerUnit, pointsPerUnit);
  cairo_translate(dc->cr, page.offsetX, page.offsetY);
  cairo_set_antialias(dc->cr, CAIRO_ANTIALIAS_NONE);
  dc->vectorWidth = page.printableWidth;
  dc->vectorHeight = page.printableHeight;
  dc->dpiX = dc->dpiY = page.dpi;
  dc->technology = DT_RASPRINTER;
  dc->physicalWidth = page.paperWidth;
  dc->physicalHeight = page.paperHeight;
  dc->physicalOffsetX = page.offsetX;
  dc->physicalOffsetY = page.offsetY;
  return NewDC(std::move(dc));
}

BOOL PdfNextPage(HDC hdc) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !dc->cr || !dc->ownedSurface) return FALSE;
  cairo_show_page(dc->cr);
  return TRUE;
}

namespace {
BOOL SavePixels(const PixelBuffer& px, const std::string& path) {
  if (!px.row0 || px.width <= 0 || px.height <= 0) return FALSE;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, px.width, px.height);
  auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  int stride = cairo_image_surface_get_stride(s) / 4;
  for (int y = 0; y < px.height; ++y) {
    const uint32_t* src = px.Row(y);
    for (int x = 0; x < px.width; ++x) data[y * stride + x] = src[x] & 0x00FFFFFF;
  }
  cairo_surface_mark_dirty(s);
  cairo_status_t status = cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
  return status == CAIRO_STATUS_SUCCESS ? TRUE : FALSE;
}
}  // namespace

BOOL SaveBitmapToPng(HBITMAP bitmap, const std::string& path) {
  BitmapObject* bm = LookupBitmap(bitmap);
  return bm ? SavePixels(bm->px, path) : FALSE;
}

BOOL SaveDCToPng(HDC hdc, const std::string& path) {
  DCObject* dc = LookupDC(hdc);
  return dc && !dc->cr ? SavePixels(dc->px, path) : FALSE;
}

}  // namespace win
