#include "platform/win/Display.h"

#include <cairo.h>

#include <algorithm>

#include "platform/win/GdiRegions.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowsPrivate.h"

namespace win {

using namespace wnd;

namespace {

std::unique_ptr<DisplayBackend>& Backend() {
  static std::unique_ptr<DisplayBackend> backend = std::make_unique<HeadlessDisplay>();
  return backend;
}

uint32_t ToPixel(COLORREF c) {
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

BOOL WritePng(const uint32_t* pixels, int width, int height, int stridePixels, const std::string& path) {
  if (width <= 0 || height <= 0) return FALSE;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return FALSE;
  }
  cairo_surface_flush(s);
  auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  int stride = cairo_image_surface_get_stride(s) / 4;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      data[y * stride + x] = pixels[static_cast<size_t>(y) * static_cast<size_t>(stridePixels) + x] & 0x00FFFFFF;
  cairo_surface_mark_dirty(s);
  cairo_status_t status = cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
  return status == CAIRO_STATUS_SUCCESS ? TRUE : FALSE;
}

}  // namespace

DisplayBackend& CurrentDisplay() { return *Backend(); }

void InstallDisplay(std::unique_ptr<DisplayBackend> backend) {
  Backend() = backend ? std::move(backend) : std::make_unique<HeadlessDisplay>();
}

BOOL GetWindowSurface(HWND topLevel, SurfacePixels* out) {
  Window* w = Lookup(topLevel);
  if (!w || !out || !w->surface) return FALSE;
  BackingSurface& s = *w->surface;
  out->pixels = s.pixels.data();
  out->width = s.width;
  out->height = s.height;
  out->strideBytes = s.width * 4;
  return TRUE;
}

std::vector<uint32_t> ComposeScreen(int* width, int* height) {
  SIZE size = GetScreenSize();
  int sw = std::max(0, static_cast<int>(size.cx)), sh = std::max(0, static_cast<int>(size.cy));
  std::vector<uint32_t> screen(static_cast<size_t>(sw) * static_cast<size_t>(sh), ToPixel(GetSysColor(COLOR_DESKTOP)));
  std::vector<Window*> windows = TopLevelWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    Window* w = *it;
    if (!(w->style & WS_VISIBLE) || !w->surface) continue;
    const BackingSurface& s = *w->surface;
    RECT r = ScreenWindowRect(w);
    int x0 = std::max(0, static_cast<int>(r.left)), y0 = std::max(0, static_cast<int>(r.top));
    int x1 = std::min(sw, static_cast<int>(r.left) + s.width), y1 = std::min(sh, static_cast<int>(r.top) + s.height);
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        int wx = x - r.left, wy = y - r.top;
        if (w->region && !PtInRegion(w->region, wx, wy)) continue;
        screen[static_cast<size_t>(y) * static_cast<size_t>(sw) + x] =
            s.pixels[static_cast<size_t>(wy) * static_cast<size_t>(s.width) + wx];
      }
  }
  if (width) *width = sw;
  if (height) *height = sh;
  return screen;
}

BOOL SaveScreenToPng(const std::string& path) {
  int width = 0, height = 0;
  std::vector<uint32_t> screen = ComposeScreen(&width, &height);
  return WritePng(screen.data(), width, height, width, path);
}

BOOL SaveWindowToPng(HWND hwnd, const std::string& path) {
  Window* w = Lookup(hwnd);
  Window* top = w ? TopLevelOf(w) : nullptr;
  if (!top || !top->surface) return FALSE;
  const BackingSurface& s = *top->surface;
  RECT topRect = ScreenWindowRect(top);
  RECT r = ScreenWindowRect(w);
  int left = std::max(0, static_cast<int>(r.left - topRect.left)), top_ = std::max(0, static_cast<int>(r.top - topRect.top));
  int right = std::min(s.width, static_cast<int>(r.right - topRect.left));
  int bottom = std::min(s.height, static_cast<int>(r.bottom - topRect.top));
  if (right <= left || bottom <= top_) return FALSE;
  return WritePng(s.pixels.data() + static_cast<size_t>(top_) * static_cast<size_t>(s.width) + left, right - left,
                  bottom - top_, s.width, path);
}

}  // namespace win
