#include "platform/win/ImageLists.h"
#include "platform/win/ImageListRecord.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

namespace win {

namespace {

uint32_t ToPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// The pixels of a bitmap, top row first.
bool ReadBitmap(HBITMAP bitmap, int* width, int* height, std::vector<uint32_t>* pixels) {
  BITMAP bm;
  if (!bitmap || !GetObject(bitmap, sizeof bm, &bm)) return false;
  *width = bm.bmWidth;
  *height = bm.bmHeight;
  BITMAPINFO info;
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -bm.bmHeight;
  info.bmiHeader.biBitCount = 32;
  pixels->assign(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight), 0);
  MemoryDc dc;
  int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), pixels->data(), &info, DIB_RGB_COLORS);
  for (uint32_t& p : *pixels) p &= 0x00FFFFFF;
  return lines == bm.bmHeight;
}

int AddImages(HIMAGELIST himl, const std::vector<uint32_t>& pixels, int width, int height,
              const std::vector<uint8_t>* mask) {
  if (!himl || width < himl->cx) return -1;
  int first = static_cast<int>(himl->images.size());
  int count = width / himl->cx;
  for (int i = 0; i < count; ++i) {
    std::vector<uint32_t> img(static_cast<size_t>(himl->cx) * himl->cy, 0);
    std::vector<uint8_t> m(img.size(), 0);
    for (int y = 0; y < std::min(height, himl->cy); ++y)
      for (int x = 0; x < himl->cx; ++x) {
        size_t from = static_cast<size_t>(y) * width + i * himl->cx + x;
        size_t to = static_cast<size_t>(y) * himl->cx + x;
        img[to] = pixels[from];
        if (mask && (himl->flags & ILC_MASK)) m[to] = (*mask)[from];
      }
    himl->images.push_back(std::move(img));
    himl->masks.push_back(std::move(m));
  }
  return first;
}

uint32_t Blend(uint32_t a, uint32_t b, int percentB) {
  auto ch = [&](int shift) {
    int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    return static_cast<uint32_t>((x * (100 - percentB) + y * percentB) / 100) << shift;
  };
  return ch(16) | ch(8) | ch(0);
}

void ForgetImage(HIMAGELIST himl, int index) {
  for (int& o : himl->overlays) {
    if (o == index || index == -1)
      o = -1;
    else if (o > index)
      --o;
  }
}

// A 32-bit top-down DIB section of the given size.
HBITMAP TopDownDib(HDC dc, int width, int height, void** bits) {
  BITMAPINFO info;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biBitCount = 32;
  *bits = nullptr;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// A 32-bit top-down DIB holding the pixels.
HBITMAP MakeDib(int width, int height, const std::vector<uint32_t>& pixels) {
  void* bits;
  HBITMAP dib = TopDownDib(nullptr, width, height, &bits);
  if (dib) std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
  return dib;
}

}  // namespace

// An image as it is drawn: its pixels and mask (1: see-through), with the
// overlay the style names put over it.
void ComposeImage(HIMAGELIST himl, int index, UINT style, std::vector<uint32_t>* pixels, std::vector<uint8_t>* mask) {
  bool masked = (himl->flags & ILC_MASK) != 0;
  *pixels = himl->images[index];
  *mask = masked ? himl->masks[index] : std::vector<uint8_t>(pixels->size(), 0);
  int overlay = static_cast<int>((style & ILD_OVERLAYMASK) >> 8);
  int over = overlay >= 1 ? himl->overlays[overlay - 1] : -1;
  if (over < 0 || over >= static_cast<int>(himl->images.size())) return;
  const auto& op = himl->images[over];
  const auto& om = himl->masks[over];
  for (size_t i = 0; i < pixels->size(); ++i)
    if (!masked || !om[i]) {
      (*pixels)[i] = op[i];
      (*mask)[i] = 0;
    }
}

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int) {
  if (cx <= 0 || cy <= 0) return nullptr;
  auto* himl = new HIMAGELIST__;
  himl->cx = cx;
  himl->cy = cy;
  himl->flags = flags;
  return himl;
}

BOOL ImageList_Destroy(HIMAGELIST himl) {
  if (!himl) return FALSE;
  delete himl;
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST himl) { return himl ? static_cast<int>(himl->images.size()) : 0; }

BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT count) {
  if (!himl) return FALSE;
  himl->images.resize(count, std::vector<uint32_t>(static_cast<size_t>(himl->cx) * himl->cy, 0));
  himl->masks.resize(count, std::vector<uint8_t>(static_cast<size_t>(himl->cx) * himl->cy, 0));
  return TRUE;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  if (!himl) return FALSE;
  if (cx) *cx = himl->cx;
  if (cy) *cy = himl->cy;
  return TRUE;
}

BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy) {
  if (!himl || cx <= 0 || cy <= 0) return FALSE;
  himl->cx = cx;
  himl->cy = cy;
  himl->images.clear();
  himl->masks.clear();
  ForgetImage(himl, -1);
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF color) {
  if (!himl) return CLR_NONE;
  COLORREF old = himl->bk;
  himl->bk = color;
  return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl) { return himl ? himl->bk : CLR_NONE; }

int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask) {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  if (!himl || !ReadBitmap(image, &w, &h, &pixels)) return -1;
  std::vector<uint8_t> m;
  if (mask) {
    int mw = 0, mh = 0;
    std::vector<uint32_t> mp;
    if (!ReadBitmap(mask, &mw, &mh, &mp)) return -1;
    m.assign(pixels.size(), 0);
    for (int y = 0; y < std::min(h, mh); ++y)
      for (int x = 0; x < std::min(w, mw); ++x)
        m[static_cast<size_t>(y) * w + x] = mp[static_cast<size_t>(y) * mw + x] != 0 ? 1 : 0;
  }
  return AddImages(himl, pixels, w, h, mask ? &m : nullptr);
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF maskColor) {
  int w = 0, h = 0;
  std::vector<uint32_t> pixels;
  if (!himl || !ReadBitmap(image, &w, &h, &pixels)) return -1;
  uint32_t key = ToPixel(maskColor);
  std::vector<uint8_t> m(pixels.size(), 0);
  if (himl->flags & ILC_MASK)
    for (size_t i = 0; i < pixels.size(); ++i)
      if (pixels[i] == key) {
        m[i] = 1;
        pixels[i] = 0;
      }
  return AddImages(himl, pixels, w, h, &m);
}

BOOL ImageList_Replace(HIMAGELIST himl, int index, HBITMAP image, HBITMAP mask) {
  if (!himl || index < 0 || index >= ImageList_GetImageCount(himl)) return FALSE;
  int at = ImageList_Add(himl, image, mask);
  if (at < 0) return FALSE;
  himl->images[index] = std::move(himl->images[at]);
  himl->masks[index] = std::move(himl->masks[at]);
  himl->images.resize(at);
  himl->masks.resize(at);
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST himl, int index) {
  if (!himl) return FALSE;
  if (index == -1) {
    himl->images.clear();
    himl->masks.clear();
    ForgetImage(himl, -1);
    return TRUE;
  }
  if (index < 0 || index >= ImageList_GetImageCount(himl)) return FALSE;
  himl->images.erase(himl->images.begin() + index);
  himl->masks.erase(himl->masks.begin() + index);
  // Overlays keep naming the images they named.
  ForgetImage(himl, index);
  return TRUE;
}

BOOL ImageList_Copy(HIMAGELIST dst, int dstIndex, HIMAGELIST src, int srcIndex, UINT) {
  if (!dst || !src || dst->cx != src->cx || dst->cy != src->cy) return FALSE;
  if (srcIndex < 0 || srcIndex >= ImageList_GetImageCount(src) || dstIndex < 0 ||
      dstIndex >= ImageList_GetImageCount(dst))
    return FALSE;
  dst->images[dstIndex] = src->images[srcIndex];
  dst->masks[dstIndex] = src->masks[srcIndex];
  return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int index, HDC dc, int x, int y, UINT style) {
  return ImageList_DrawEx(himl, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int index, HDC dc, int x, int y, int dx, int dy, COLORREF bk, COLORREF fg,
                      UINT style) {
  if (!himl || !dc || index < 0 || index >= ImageList_GetImageCount(himl)) return FALSE;
  int w = dx > 0 ? std::min(dx, himl->cx) : himl->cx;
  int h = dy > 0 ? std::min(dy, himl->cy) : himl->cy;
  // The destination's pixels are fetched, composed in memory and put back.
  void* bits;
  HBITMAP dib = TopDownDib(dc, w, h, &bits);
  if (!dib) return FALSE;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, dc, x, y, SRCCOPY);
  auto* out = static_cast<uint32_t*>(bits);
  if (bk == CLR_DEFAULT) bk = himl->bk;
  bool transparent = (style & ILD_TRANSPARENT) || bk == CLR_NONE;
  int blend = (style & ILD_BLEND50) ? 50 : (style & ILD_BLEND25) ? 25 : 0;
  uint32_t blendColor = ToPixel(fg == CLR_DEFAULT || fg == CLR_NONE ? GetSysColor(COLOR_HIGHLIGHT) : fg);
  std::vector<uint32_t> img;
  std::vector<uint8_t> mask;
  ComposeImage(himl, index, style, &img, &mask);
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) {
      size_t s = static_cast<size_t>(row) * himl->cx + col;
      uint32_t& d = out[static_cast<size_t>(row) * w + col];
      bool clear = mask[s] != 0;
      if (style & ILD_MASK) {
        d = clear ? 0xFFFFFF : 0;
        continue;
      }
      if (clear) {
        if (!transparent) d = ToPixel(bk);
        continue;
      }
      uint32_t p = img[s];
      if (blend && fg != CLR_NONE) p = Blend(p, blendColor, blend);
      d = p;
    }
  BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
  return TRUE;
}

BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int image, int overlay) {
  if (!himl || overlay < 1 || overlay > kMaxOverlays) return FALSE;
  if (image < -1 || image >= ImageList_GetImageCount(himl)) return FALSE;
  himl->overlays[overlay - 1] = image;
  return TRUE;
}

int ImageList_GetOverlayImage(HIMAGELIST himl, int overlay) {
  if (!himl || overlay < 1 || overlay > kMaxOverlays) return -1;
  return himl->overlays[overlay - 1];
}

HICON ImageList_GetIcon(HIMAGELIST himl, int index, UINT flags) {
  if (!himl || index < 0 || index >= ImageList_GetImageCount(himl)) return nullptr;
  std::vector<uint32_t> pixels;
  std::vector<uint8_t> mask;
  ComposeImage(himl, index, flags, &pixels, &mask);
  // Colour with straight alpha (opaque or see-through), and the AND mask
  // for an icon that is see-through all over (no alpha to go by).
  std::vector<uint32_t> colour(pixels.size()), andPlane(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) {
    colour[i] = mask[i] ? 0 : (pixels[i] | 0xFF000000u);
    andPlane[i] = mask[i] ? 0xFFFFFF : 0;
  }
  ICONINFO info;
  info.fIcon = TRUE;
  info.hbmColor = MakeDib(himl->cx, himl->cy, colour);
  info.hbmMask = MakeDib(himl->cx, himl->cy, andPlane);
  HICON icon = info.hbmColor && info.hbmMask ? CreateIconIndirect(&info) : nullptr;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return icon;
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int index, HICON icon) {
  CursorImage picture;
  if (!himl || index < -1 || index >= ImageList_GetImageCount(himl) || !GetCursorImage(icon, &picture) ||
      picture.width <= 0 || picture.height <= 0)
    return -1;
  size_t n = static_cast<size_t>(himl->cx) * himl->cy;
  std::vector<uint32_t> img(n, 0);
  std::vector<uint8_t> mask(n, 0);
  // Nearest pixel when the icon has another size than the list.
  for (int y = 0; y < himl->cy; ++y)
    for (int x = 0; x < himl->cx; ++x) {
      int sx = x * picture.width / himl->cx, sy = y * picture.height / himl->cy;
      uint32_t p = picture.argb[static_cast<size_t>(sy) * picture.width + sx];
      size_t i = static_cast<size_t>(y) * himl->cx + x;
      if ((p >> 24) < 0x80)
        mask[i] = 1;
      else
        img[i] = p & 0x00FFFFFF;
    }
  if (index == -1) {
    himl->images.push_back(std::move(img));
    himl->masks.push_back(std::move(mask));
    return static_cast<int>(himl->images.size()) - 1;
  }
  himl->images[index] = std::move(img);
  himl->masks[index] = std::move(mask);
  return index;
}

// The drag image -----------------------------------------------------------------------

namespace {

constexpr const char* kDragImageClass = "VxnDragImage";

struct DragImage {
  HIMAGELIST base = nullptr;   // the image BeginDrag copied
  POINT baseHotspot{0, 0};
  HIMAGELIST shown = nullptr;  // base with the cursor image in it
  POINT hotspot{0, 0};
  HWND lock = nullptr;
  POINT pos{0, 0};  // lock window coordinates
  bool visible = false;
  HWND window = nullptr;
} TheDrag;

LRESULT DragImageWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintScope paint(hwnd);
      if (TheDrag.shown) ImageList_Draw(TheDrag.shown, 0, paint.Dc(), 0, 0, ILD_NORMAL);
      return 0;
    }
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

// The see-through pixels are cut out of the window, so what lies under
// them shows in every backend's composition.
HRGN MaskRegion(HIMAGELIST himl) {
  if (!(himl->flags & ILC_MASK)) return nullptr;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const auto& mask = himl->masks[0];
  for (int y = 0; y < himl->cy; ++y)
    for (int x = 0; x < himl->cx;) {
      if (mask[static_cast<size_t>(y) * himl->cx + x]) {
        ++x;
        continue;
      }
      int start = x;
      while (x < himl->cx && !mask[static_cast<size_t>(y) * himl->cx + x]) ++x;
      HRGN run = CreateRectRgn(start, y, x, y + 1);
      CombineRgn(region, region, run, RGN_OR);
      DeleteObject(run);
    }
  return region;
}

POINT DragScreenPoint() {
  RECT r{0, 0, 0, 0};
  if (TheDrag.lock && IsWindow(TheDrag.lock)) GetWindowRect(TheDrag.lock, &r);
  return POINT{r.left + TheDrag.pos.x - TheDrag.hotspot.x, r.top + TheDrag.pos.y - TheDrag.hotspot.y};
}

// Brings the window in line with the drag: its picture, place and visibility.
void UpdateDragWindow(bool newPicture) {
  if (!TheDrag.visible) {
    if (TheDrag.window) ShowWindow(TheDrag.window, SW_HIDE);
    return;
  }
  static const bool registered = [] {
    WNDCLASSEX wc;
    wc.lpfnWndProc = DragImageWindowProc;
    wc.lpszClassName = kDragImageClass;
    return RegisterClassEx(&wc) != 0;
  }();
  (void)registered;
  POINT at = DragScreenPoint();
  if (!TheDrag.window) {
    TheDrag.window = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED |
                                        WS_EX_TRANSPARENT,
                                    kDragImageClass, "", WS_POPUP, at.x, at.y, TheDrag.shown->cx,
                                    TheDrag.shown->cy, nullptr, nullptr, nullptr, nullptr);
    if (!TheDrag.window) return;
    newPicture = true;
  }
  if (newPicture) {
    SetWindowPos(TheDrag.window, nullptr, 0, 0, TheDrag.shown->cx, TheDrag.shown->cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SetWindowRgn(TheDrag.window, MaskRegion(TheDrag.shown), FALSE);
    InvalidateRect(TheDrag.window, nullptr, FALSE);
  }
  SetWindowPos(TheDrag.window, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(TheDrag.window);
}

// A list of one image of the size of the source list's images.
HIMAGELIST CopyOne(HIMAGELIST src, int index) {
  HIMAGELIST copy = ImageList_Create(src->cx, src->cy, src->flags | ILC_MASK, 1, 1);
  copy->images.push_back(src->images[index]);
  bool masked = (src->flags & ILC_MASK) != 0;
  copy->masks.push_back(masked ? src->masks[index] : std::vector<uint8_t>(src->masks[index].size(), 0));
  return copy;
}

}  // namespace

BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot) {
  if (!himlTrack || iTrack < 0 || iTrack >= ImageList_GetImageCount(himlTrack)) return FALSE;
  ImageList_EndDrag();
  TheDrag.base = CopyOne(himlTrack, iTrack);
  TheDrag.baseHotspot = POINT{dxHotspot, dyHotspot};
  TheDrag.shown = CopyOne(himlTrack, iTrack);
  TheDrag.hotspot = TheDrag.baseHotspot;
  return TRUE;
}

BOOL ImageList_DragEnter(HWND hwndLock, int x, int y) {
  if (!TheDrag.shown) return FALSE;
  TheDrag.lock = hwndLock ? hwndLock : GetDesktopWindow();
  TheDrag.pos = POINT{x, y};
  TheDrag.visible = true;
  UpdateDragWindow(false);
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  if (!TheDrag.shown) return FALSE;
  TheDrag.pos = POINT{x, y};
  if (TheDrag.visible) UpdateDragWindow(false);
  return TRUE;
}

BOOL ImageList_DragLeave(HWND hwndLock) {
  if (!TheDrag.shown) return FALSE;
  (void)hwndLock;
  TheDrag.visible = false;
  UpdateDragWindow(false);
  TheDrag.lock = nullptr;
  return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show) {
  if (!TheDrag.shown) return FALSE;
  TheDrag.visible = show != FALSE;
  UpdateDragWindow(false);
  return TRUE;
}

void ImageList_EndDrag() {
  if (TheDrag.window) DestroyWindow(TheDrag.window);
  ImageList_Destroy(TheDrag.base);
  ImageList_Destroy(TheDrag.shown);
  TheDrag = DragImage{};
}

BOOL ImageList_SetDragCursorImage(HIMAGELIST himlDrag, int iDrag, int dxHotspot, int dyHotspot) {
  if (!TheDrag.base || !himlDrag || iDrag < 0 || iDrag >= ImageList_GetImageCount(himlDrag)) return FALSE;
  const HIMAGELIST base = TheDrag.base;
  // The cursor picture's top left in the drag image's coordinates, and the
  // rectangle holding both.
  // Hot spots far off the pictures would make an image of absurd size.
  constexpr int kFar = 4096;
  if (std::abs(dxHotspot) > kFar || std::abs(dyHotspot) > kFar || std::abs(TheDrag.baseHotspot.x) > kFar ||
      std::abs(TheDrag.baseHotspot.y) > kFar)
    return FALSE;
  int ox = TheDrag.baseHotspot.x - dxHotspot, oy = TheDrag.baseHotspot.y - dyHotspot;
  int left = std::min(0, ox), top = std::min(0, oy);
  int right = std::max(base->cx, ox + himlDrag->cx), bottom = std::max(base->cy, oy + himlDrag->cy);
  HIMAGELIST merged = ImageList_Create(right - left, bottom - top, ILC_COLOR32 | ILC_MASK, 1, 1);
  if (!merged) return FALSE;
  size_t n = static_cast<size_t>(merged->cx) * merged->cy;
  std::vector<uint32_t> img(n, 0);
  std::vector<uint8_t> mask(n, 1);
  auto put = [&](HIMAGELIST from, int index, int dx, int dy, bool masked) {
    for (int y = 0; y < from->cy; ++y)
      for (int x = 0; x < from->cx; ++x) {
        size_t s = static_cast<size_t>(y) * from->cx + x;
        if (masked && from->masks[index][s]) continue;
        size_t d = static_cast<size_t>(y + dy) * merged->cx + (x + dx);
        img[d] = from->images[index][s];
        mask[d] = 0;
      }
  };
  put(base, 0, -left, -top, true);
  put(himlDrag, iDrag, ox - left, oy - top, (himlDrag->flags & ILC_MASK) != 0);
  merged->images.push_back(std::move(img));
  merged->masks.push_back(std::move(mask));
  ImageList_Destroy(TheDrag.shown);
  TheDrag.shown = merged;
  TheDrag.hotspot = POINT{TheDrag.baseHotspot.x - left, TheDrag.baseHotspot.y - top};
  if (TheDrag.visible) UpdateDragWindow(true);
  return TRUE;
}

HIMAGELIST ImageList_GetDragImage(POINT* ppt, POINT* pptHotspot) {
  if (!TheDrag.shown) return nullptr;
  if (ppt) *ppt = TheDrag.pos;
  if (pptHotspot) *pptHotspot = TheDrag.hotspot;
  return TheDrag.shown;
}

HWND DragImageWindow() { return TheDrag.window; }

}  // namespace win
