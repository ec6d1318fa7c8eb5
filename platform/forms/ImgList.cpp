#include "platform/forms/ImgList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/forms/Controls.h"
#include "platform/forms/FormsPrivate.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"
#include "platform/win/GdiScopes.h"

namespace win {

// Images keep 0x00RRGGBB pixels and a mask byte per pixel (1: transparent).
struct HIMAGELIST__ {
  int cx = 16;
  int cy = 16;
  UINT flags = 0;
  COLORREF bk = CLR_NONE;
  std::vector<std::vector<uint32_t>> images;
  std::vector<std::vector<uint8_t>> masks;
  int overlays[kMaxOverlays] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

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

using namespace win;

// TChangeLink ------------------------------------------------------------------------

VXN_IMPLEMENT_CLASS(TChangeLink, TObject)

TChangeLink::~TChangeLink() {
  if (Sender_) Sender_->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(Sender_);
}

// TCustomImageList -------------------------------------------------------------------

VXN_IMPLEMENT_CREATABLE_CLASS(TCustomImageList, TComponent)

VXN_PUBLISH(TCustomImageList) {
  P.Property("AllocBy", &TCustomImageList::AllocBy).Default(4);
  P.Property("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor)
      .Type(TypeInfoColor())
      .Default(clNone);
  P.Property("BlendColor", &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor)
      .Type(TypeInfoColor())
      .Default(clNone);
  P.Property("DrawingStyle", &TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle).Default(dsNormal);
  P.Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16);
  P.Property("ImageType", &TCustomImageList::ImageType, &TCustomImageList::SetImageType).Default(itImage);
  P.Property("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked).Default(true);
  P.Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16);
  P.Event("OnChange", &TCustomImageList::OnChange);
}

VXN_IMPLEMENT_CREATABLE_CLASS(TDragImageList, TCustomImageList)

VXN_PUBLISH(TDragImageList) {}

VXN_IMPLEMENT_CREATABLE_CLASS(TImageList, TDragImageList)

VXN_PUBLISH(TImageList) {}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) { CreateImageList(); }

TCustomImageList::TCustomImageList(Integer AWidth, Integer AHeight) : TComponent(nullptr) {
  Width_ = std::max<Integer>(AWidth, 1);
  Height_ = std::max<Integer>(AHeight, 1);
  CreateImageList();
}

TCustomImageList::~TCustomImageList() {
  Destroying();
  for (TChangeLink* link : Clients_) link->SetSender(nullptr);
  Clients_.clear();
  ImageList_Destroy(Handle_);
}

void TCustomImageList::CreateImageList() {
  if (Handle_) ImageList_Destroy(Handle_);
  Handle_ = ImageList_Create(Width_, Height_, ILC_COLOR32 | (Masked_ ? ILC_MASK : 0), AllocBy, AllocBy);
  ImageList_SetBkColor(Handle_, BkColor_ == clNone ? CLR_NONE : ColorToRGB(BkColor_));
}

win::HIMAGELIST TCustomImageList::Handle() { return Handle_; }

Integer TCustomImageList::Count() const { return ImageList_GetImageCount(Handle_); }

void TCustomImageList::SetWidth(Integer Value) {
  if (Value == Width_ || Value <= 0) return;
  Width_ = Value;
  CreateImageList();
  Change();
}

void TCustomImageList::SetHeight(Integer Value) {
  if (Value == Height_ || Value <= 0) return;
  Height_ = Value;
  CreateImageList();
  Change();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == Masked_) return;
  Masked_ = Value;
  // The images stay; only whether their masks count changes.
  if (Masked_)
    Handle_->flags |= ILC_MASK;
  else
    Handle_->flags &= ~ILC_MASK;
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  BkColor_ = Value;
  ImageList_SetBkColor(Handle_, Value == clNone ? CLR_NONE : ColorToRGB(Value));
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
  if (Value == DrawingStyle_) return;
  DrawingStyle_ = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value) {
  if (Value == ImageType_) return;
  ImageType_ = Value;
  Change();
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->Empty()) return -1;
  Integer result = ImageList_Add(Handle_, Image->Handle(), Mask && !Mask->Empty() ? Mask->Handle() : nullptr);
  if (result < 0) throw EInvalidOperation("Failed to add image");
  Change();
  return result;
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->Empty()) return -1;
  if (MaskColor == clDefault) MaskColor = Image->TransparentColor();
  Integer result = ImageList_AddMasked(Handle_, Image->Handle(), ColorToRGB(MaskColor));
  if (result < 0) throw EInvalidOperation("Failed to add image");
  Change();
  return result;
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  if (!Image || !ImageList_Replace(Handle_, Index, Image->Handle(), Mask ? Mask->Handle() : nullptr))
    throw EInvalidOperation("Failed to replace image");
  Change();
}

void TCustomImageList::Delete(Integer Index) {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  ImageList_Remove(Handle_, Index);
  Change();
}

void TCustomImageList::Clear() {
  ImageList_Remove(Handle_, -1);
  Change();
}

bool TCustomImageList::GetResource(TBitmap* Strip, Integer AWidth, TColor MaskColor) {
  if (!Strip || Strip->Empty()) return false;
  BeginUpdate();
  Width_ = AWidth > 0 ? AWidth : Strip->Height();
  Height_ = Strip->Height();
  CreateImageList();
  AddMasked(Strip, MaskColor);
  EndUpdate();
  return Count() > 0;
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, DrawingStyle_, ImageType_, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  UINT style = ILD_NORMAL;
  if (ADrawingStyle == dsFocus) style |= ILD_FOCUS;
  if (ADrawingStyle == dsSelected) style |= ILD_SELECTED;
  if (ADrawingStyle == dsTransparent) style |= ILD_TRANSPARENT;
  if (AImageType == itMask) style |= ILD_MASK;
  DoDraw(Index, Canvas, X, Y, style, Enabled);
}

void TCustomImageList::DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex, TOverlay Overlay,
                                   bool Enabled) {
  DrawOverlay(Canvas, X, Y, ImageIndex, Overlay, DrawingStyle_, ImageType_, Enabled);
}

void TCustomImageList::DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex, TOverlay Overlay,
                                   TDrawingStyle ADrawingStyle, TImageType AImageType, bool Enabled) {
  if (!Canvas || ImageIndex < 0 || ImageIndex >= Count()) return;
  UINT style = ILD_NORMAL;
  if (ADrawingStyle == dsFocus) style |= ILD_FOCUS;
  if (ADrawingStyle == dsSelected) style |= ILD_SELECTED;
  if (ADrawingStyle == dsTransparent) style |= ILD_TRANSPARENT;
  if (AImageType == itMask) style |= ILD_MASK;
  if (Overlay >= 0 && Overlay < kMaxOverlays) style |= INDEXTOOVERLAYMASK(Overlay + 1);
  DoDraw(ImageIndex, Canvas, X, Y, style, Enabled);
}

bool TCustomImageList::Overlay(Integer ImageIndex, TOverlay Overlay) {
  if (ImageIndex < 0 || ImageIndex >= Count() || Overlay < 0 || Overlay >= kMaxOverlays) return false;
  if (!ImageList_SetOverlayImage(Handle_, ImageIndex, Overlay + 1)) return false;
  Change();
  return true;
}

// An icon file of one 32-bit image, as the icon class reads it:
//   header  0, 1 (icon), 1 (count)
//   entry   width, height, 0, 0, planes 1, 32 bits, bytes, offset 22
//   image   BITMAPINFOHEADER (height doubled), BGRA rows bottom up, then the
//           AND mask rows (1 bit a pixel, rows padded to 32 bits, 1 = see-through)
bool TCustomImageList::GetIcon(Integer Index, TIcon* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  std::vector<uint32_t> pixels;
  std::vector<uint8_t> mask;
  ComposeImage(Handle_, Index, ILD_NORMAL, &pixels, &mask);
  const uint32_t w = static_cast<uint32_t>(Width_), h = static_cast<uint32_t>(Height_);
  const uint32_t maskStride = (w + 31) / 32 * 4;
  const uint32_t bytes = 40 + w * h * 4 + maskStride * h;
  std::string d;
  auto put16 = [&](uint32_t v) { d.push_back(static_cast<char>(v & 0xFF)), d.push_back(static_cast<char>(v >> 8)); };
  auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
  put16(0), put16(1), put16(1);
  d.push_back(static_cast<char>(w >= 256 ? 0 : w)), d.push_back(static_cast<char>(h >= 256 ? 0 : h));
  put16(0), put16(1), put16(32), put32(bytes), put32(22);
  put32(40), put32(w), put32(h * 2), put16(1), put16(32), put32(0), put32(w * h * 4 + maskStride * h);
  put32(0), put32(0), put32(0), put32(0);
  for (uint32_t y = h; y-- > 0;)
    for (uint32_t x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * w + x;
      put32(mask[i] ? 0 : (pixels[i] | 0xFF000000u));
    }
  for (uint32_t y = h; y-- > 0;) {
    std::string row(maskStride, '\0');
    for (uint32_t x = 0; x < w; ++x)
      if (mask[static_cast<size_t>(y) * w + x]) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    d += row;
  }
  TStringStream stream(d);
  Image->LoadFromStream(stream);
  return true;
}

Integer TCustomImageList::AddIcon(TIcon* Image) {
  if (!Image || Image->Empty()) return -1;
  const TAlphaImage& picture = Image->Image();
  size_t n = static_cast<size_t>(Width_) * Height_;
  std::vector<uint32_t> img(n, 0);
  std::vector<uint8_t> mask(n, 0);
  for (Integer y = 0; y < Height_; ++y)
    for (Integer x = 0; x < Width_; ++x) {
      Integer sx = x * picture.Width / Width_, sy = y * picture.Height / Height_;
      uint32_t p = picture.Pixels[static_cast<size_t>(sy) * picture.Width + sx];
      size_t i = static_cast<size_t>(y) * Width_ + x;
      if ((p >> 24) < 0x80)
        mask[i] = 1;
      else
        img[i] = p & 0x00FFFFFF;
    }
  Handle_->images.push_back(std::move(img));
  Handle_->masks.push_back(std::move(mask));
  Change();
  return Count() - 1;
}

// Disabled images are engraved: the image's ink once in the highlight colour
// one pixel down and right, then in the shadow colour in place.
void TCustomImageList::DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, win::UINT Style, bool Enabled) {
  HDC dc = Canvas->Handle();
  if (Enabled) {
    COLORREF bk = (Style & ILD_TRANSPARENT) || BkColor_ == clNone ? CLR_NONE : ColorToRGB(BkColor_);
    COLORREF fg = BlendColor_ == clNone ? CLR_DEFAULT : ColorToRGB(BlendColor_);
    ImageList_DrawEx(Handle_, Index, dc, X, Y, 0, 0, bk, fg, Style);
    return;
  }
  std::vector<uint32_t> img;
  std::vector<uint8_t> mask;
  ComposeImage(Handle_, Index, Style, &img, &mask);
  auto ink = [&](size_t i) {
    if (mask[i]) return false;
    uint32_t p = img[i];
    int lum = (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100;
    return lum < 192;
  };
  for (int pass = 0; pass < 2; ++pass) {
    COLORREF c = GetSysColor(pass == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    int off = pass == 0 ? 1 : 0;
    for (int y = 0; y < Height_; ++y)
      for (int x = 0; x < Width_; ++x)
        if (ink(static_cast<size_t>(y) * Width_ + x)) SetPixel(dc, X + x + off, Y + y + off, c);
  }
}

bool TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  Image->SetSize(Width_, Height_);
  TCanvas* canvas = Image->Canvas();
  canvas->Brush()->SetColor(BkColor_ == clNone ? clWhite : BkColor_);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(TRect{0, 0, Width_, Height_});
  ImageList_Draw(Handle_, Index, canvas->Handle(), 0, 0, ILD_TRANSPARENT);
  return true;
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value || std::find(Clients_.begin(), Clients_.end(), Value) != Clients_.end()) return;
  Value->SetSender(this);
  Clients_.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto it = std::find(Clients_.begin(), Clients_.end(), Value);
  if (it == Clients_.end()) return;
  Clients_.erase(it);
  Value->SetSender(nullptr);
}

void TCustomImageList::EndUpdate() {
  if (Updating_ > 0) --Updating_;
  if (Updating_ == 0 && Changed_) Change();
}

void TCustomImageList::Change() {
  Changed_ = true;
  if (Updating_ > 0 || ComponentState().Contains(csLoading)) return;
  Changed_ = false;
  // A client may unregister while it hears of the change.
  std::vector<TChangeLink*> clients = Clients_;
  for (TChangeLink* link : clients)
    if (std::find(Clients_.begin(), Clients_.end(), link) != Clients_.end()) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TCustomImageList*>(Source);
  if (!other) {
    TComponent::Assign(Source);
    return;
  }
  Width_ = other->Width_;
  Height_ = other->Height_;
  Masked_ = other->Masked_;
  BkColor_ = other->BkColor_;
  BlendColor_ = other->BlendColor_;
  DrawingStyle_ = other->DrawingStyle_;
  ImageType_ = other->ImageType_;
  CreateImageList();
  *Handle_ = *other->Handle_;
  Change();
}

void TCustomImageList::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Bitmap", [this](TStream& S) { ReadData(S); }, [this](TStream& S) { WriteData(S); }, Count() > 0);
}

// The images of a list in a form file ("Bitmap"), little-endian:
//   +0  uint32 count   +4 uint32 width   +8 uint32 height
//   +12 count x { width*height uint32 pixels 0x00RRGGBB, top row first;
//                 width*height bytes of mask, 1 = transparent }
void TCustomImageList::ReadData(TStream& Stream) {
  uint32_t head[3] = {0, 0, 0};
  Stream.ReadBuffer(head, sizeof head);
  // Sizes from a file are checked before anything is allocated for them.
  if (head[1] == 0 || head[2] == 0 || head[1] > 4096 || head[2] > 4096 || head[0] > 65536)
    throw EReadError("Invalid image list data");
  size_t n = static_cast<size_t>(head[1]) * head[2];
  if (static_cast<uint64_t>(Stream.Size() - Stream.Position()) < static_cast<uint64_t>(head[0]) * n * 5)
    throw EReadError("Invalid image list data");
  Width_ = static_cast<Integer>(head[1]);
  Height_ = static_cast<Integer>(head[2]);
  CreateImageList();
  for (uint32_t i = 0; i < head[0]; ++i) {
    std::vector<uint32_t> img(n);
    std::vector<uint8_t> mask(n);
    Stream.ReadBuffer(img.data(), static_cast<LongInt>(n * 4));
    Stream.ReadBuffer(mask.data(), static_cast<LongInt>(n));
    for (uint32_t& p : img) p &= 0x00FFFFFF;
    for (uint8_t& m : mask) m = m ? 1 : 0;
    Handle_->images.push_back(std::move(img));
    Handle_->masks.push_back(std::move(mask));
  }
  Change();
}

void TCustomImageList::WriteData(TStream& Stream) {
  uint32_t head[3] = {static_cast<uint32_t>(Count()), static_cast<uint32_t>(Width_), static_cast<uint32_t>(Height_)};
  Stream.WriteBuffer(head, sizeof head);
  for (Integer i = 0; i < Count(); ++i) {
    Stream.WriteBuffer(Handle_->images[i].data(), static_cast<LongInt>(Handle_->images[i].size() * 4));
    Stream.WriteBuffer(Handle_->masks[i].data(), static_cast<LongInt>(Handle_->masks[i].size()));
  }
}

void forms::LinkImages(TChangeLink& Link, TCustomImageList* List) {
  if (Link.Sender()) Link.Sender()->UnRegisterChanges(&Link);
  Link.SetSender(nullptr);
  if (List) List->RegisterChanges(&Link);
}

void RegisterImgListClasses() {
  RegisterClasses({TImageList::StaticClass()});
}

// TDragImageList ------------------------------------------------------------------------

namespace {
// The list whose image the one drag image of the window layer is.
TDragImageList* ActiveDragList = nullptr;
}  // namespace

TDragImageList::~TDragImageList() {
  if (ActiveDragList == this) EndDrag();
}

bool TDragImageList::Dragging() const {
  return ActiveDragList == this && ImageList_GetDragImage(nullptr, nullptr) != nullptr;
}

bool TDragImageList::BeginDrag(win::HWND Window, Integer X, Integer Y) {
  if (Dragging()) return DragLock(Window, X, Y);
  if (!ImageList_BeginDrag(Handle(), DragIndex_, DragHotspot_.X, DragHotspot_.Y)) return false;
  ActiveDragList = this;
  DragLockWindow_ = nullptr;
  Shown_ = false;
  return DragLock(Window, X, Y);
}

bool TDragImageList::DragLock(win::HWND Window, Integer XPos, Integer YPos) {
  if (!Dragging()) return false;
  if (!Window) Window = GetDesktopWindow();
  if (Window == DragLockWindow_) {
    ImageList_DragMove(XPos, YPos);
    return true;
  }
  if (DragLockWindow_) ImageList_DragLeave(DragLockWindow_);
  DragLockWindow_ = Window;
  Shown_ = ImageList_DragEnter(Window, XPos, YPos) != FALSE;
  return Shown_;
}

void TDragImageList::DragUnlock() {
  if (Dragging() && DragLockWindow_) ImageList_DragLeave(DragLockWindow_);
  DragLockWindow_ = nullptr;
  Shown_ = false;
}

bool TDragImageList::DragMove(Integer X, Integer Y) { return Dragging() && ImageList_DragMove(X, Y); }

void TDragImageList::ShowDragImage() {
  if (!Dragging()) return;
  ImageList_DragShowNolock(TRUE);
  Shown_ = true;
}

void TDragImageList::HideDragImage() {
  if (!Dragging()) return;
  ImageList_DragShowNolock(FALSE);
  Shown_ = false;
}

bool TDragImageList::EndDrag() {
  bool was = Dragging();
  if (ActiveDragList == this) {
    ImageList_EndDrag();
    ActiveDragList = nullptr;
  }
  DragLockWindow_ = nullptr;
  Shown_ = false;
  return was;
}

bool TDragImageList::SetDragImage(Integer Index, Integer HotSpotX, Integer HotSpotY) {
  if (Index < 0 || Index >= Count()) return false;
  DragIndex_ = Index;
  DragHotspot_ = TPoint{HotSpotX, HotSpotY};
  if (!Dragging()) return true;
  // A new picture for the drag under way, where the old one stood.
  POINT pos;
  ImageList_GetDragImage(&pos, nullptr);
  HWND lock = DragLockWindow_;
  bool shown = Shown_;
  ImageList_BeginDrag(Handle(), Index, HotSpotX, HotSpotY);
  if (lock)
    ImageList_DragEnter(lock, pos.x, pos.y);
  else
    ImageList_DragMove(pos.x, pos.y);
  ImageList_DragShowNolock(shown);
  return true;
}

void TDragImageList::SetDragCursor(TCursor Value) {
  DragCursor_ = Value;
  if (Dragging() && Shown_ && Value != crDefault) win::SetCursor(CursorHandle(Value));
}
