#include "platform/win/Gdi.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

#include "platform/win/GdiPrivate.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiSurface.h"

namespace win {

using namespace gdi;

namespace {

template <class H>
H Add(std::unique_ptr<GdiObject> o) {
  return ToHandle<H>(Register(std::move(o)));
}

void AddRefState(const DCState& st) {
  AddRef(st.pen);
  AddRef(st.brush);
  AddRef(st.font);
  AddRef(st.bitmap);
}

void ReleaseState(const DCState& st) {
  Release(st.pen);
  Release(st.brush);
  Release(st.font);
  Release(st.bitmap);
}

HBITMAP NewBitmap(int width, int height, bool mono) {
  auto bm = std::make_unique<BitmapObject>();
  bm->bitsPixel = mono ? 1 : 32;
  // New bitmaps are black, as on Windows.
  bm->store.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
  bm->px = {bm->store.data(), width, width, height, mono};
  return Add<HBITMAP>(std::move(bm));
}

// Larger bitmaps are refused (null) rather than failing inside the allocator.
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 28;
bool TooLarge(int width, int height) { return int64_t{width} * height > kMaxBitmapPixels; }

bool IsMonoDC(const DCObject& dc) { return dc.dcKind == DCKind::Memory && dc.px.mono; }

}  // namespace

// Objects ----------------------------------------------------------------------------

HPEN CreatePen(int style, int width, COLORREF color) {
  int kind = style & PS_STYLE_MASK;
  if (kind > PS_INSIDEFRAME) return nullptr;
  auto p = std::make_unique<PenObject>();
  p->style = static_cast<DWORD>(kind);
  p->width = width < 1 ? 1 : width;
  p->color = color & 0xFFFFFF;
  return Add<HPEN>(std::move(p));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return nullptr;
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
  if (!brush) return nullptr;
  DWORD kind = style & PS_STYLE_MASK;
  bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  if (kind == PS_USERSTYLE && (styleCount == 0 || styleCount > 16 || !styles)) return nullptr;
  if (!geometric && width != 1) return nullptr;  // cosmetic pens are one pixel wide
  if (geometric && kind == PS_ALTERNATE) return nullptr;
  if (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL) return nullptr;
  auto p = std::make_unique<PenObject>();
  p->style = style;
  if (brush->lbStyle == BS_NULL) p->style = (style & ~static_cast<DWORD>(PS_STYLE_MASK)) | PS_NULL;
  p->width = width < 1 ? 1 : static_cast<int>(width);
  p->color = brush->lbColor & 0xFFFFFF;
  p->extended = true;
  if (kind == PS_USERSTYLE) {
    bool any = false;
    for (DWORD i = 0; i < styleCount; ++i) {
      p->userStyle.push_back(static_cast<int>(styles[i]));
      any = any || styles[i] > 0;
    }
    if (!any) return nullptr;  // all-zero runs would never advance
  }
  return Add<HPEN>(std::move(p));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto b = std::make_unique<BrushObject>();
  b->color = color & 0xFFFFFF;
  return Add<HBRUSH>(std::move(b));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  auto b = std::make_unique<BrushObject>();
  b->style = BS_HATCHED;
  b->hatch = hatch;
  b->color = color & 0xFFFFFF;
  return Add<HBRUSH>(std::move(b));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  BitmapObject* bm = LookupBitmap(bitmap);
  if (!bm || bm->px.width <= 0 || bm->px.height <= 0) return nullptr;
  auto b = std::make_unique<BrushObject>();
  b->style = BS_PATTERN;
  b->patternWidth = bm->px.width;
  b->patternHeight = bm->px.height;
  b->patternMono = bm->px.mono;
  b->pattern.resize(static_cast<size_t>(bm->px.width) * static_cast<size_t>(bm->px.height));
  for (int y = 0; y < bm->px.height; ++y)
    std::copy_n(bm->px.Row(y), bm->px.width, b->pattern.begin() + static_cast<ptrdiff_t>(y) * bm->px.width);
  b->hatch = 0;
  return Add<HBRUSH>(std::move(b));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  switch (brush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(brush->lbColor);
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    case BS_NULL: {
      auto b = std::make_unique<BrushObject>();
      b->style = BS_NULL;
      return Add<HBRUSH>(std::move(b));
    }
    default: return nullptr;
  }
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0 || planes != 1) return nullptr;
  if (bitsPerPixel != 1 && bitsPerPixel != 32) return nullptr;
  if (width == 0 || height == 0) return DefaultBitmap();
  if (TooLarge(width, height)) return nullptr;
  HBITMAP h = NewBitmap(width, height, bitsPerPixel == 1);
  if (bits) {
    BitmapObject* bm = LookupBitmap(h);
    const auto* src = static_cast<const uint8_t*>(bits);
    if (bitsPerPixel == 1) {
      size_t rowBytes = static_cast<size_t>((width + 15) / 16) * 2;
      for (int y = 0; y < height; ++y) {
        const uint8_t* row = src + rowBytes * static_cast<size_t>(y);
        uint32_t* dst = bm->px.Row(y);
        for (int x = 0; x < width; ++x) dst[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFFu : 0u;
      }
    } else {
      for (int y = 0; y < height; ++y)
        std::memcpy(bm->px.Row(y), src + static_cast<size_t>(y) * static_cast<size_t>(width) * 4,
                    static_cast<size_t>(width) * 4);
    }
  }
  return h;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || width < 0 || height < 0) return nullptr;
  if (width == 0 || height == 0) return DefaultBitmap();
  if (TooLarge(width, height)) return nullptr;
  return NewBitmap(width, height, IsMonoDC(*dc));
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, void* section, DWORD offset) {
  (void)hdc;
  (void)usage;
  (void)offset;
  if (bits) *bits = nullptr;
  if (!info || section) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount != 32 || (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)) return nullptr;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return nullptr;
  int width = h.biWidth;
  int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  if (TooLarge(width, height)) return nullptr;
  auto bm = std::make_unique<BitmapObject>();
  bm->dib = true;
  bm->bottomUp = h.biHeight > 0;
  bm->store.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
  bm->dibBits = bm->store.data();
  if (bm->bottomUp)
    bm->px = {bm->store.data() + static_cast<size_t>(height - 1) * static_cast<size_t>(width), -width, width,
              height, false};
  else
    bm->px = {bm->store.data(), width, width, height, false};
  if (bits) *bits = bm->dibBits;
  return Add<HBITMAP>(std::move(bm));
}

namespace {
// Buffer row i of a DIB transfer and the bitmap row it stands for.
int BitmapRowOf(const BITMAPINFOHEADER& h, int height, UINT start, UINT i) {
  int scan = static_cast<int>(start + i);
  return h.biHeight < 0 ? scan : height - 1 - scan;
}
}  // namespace

namespace {

// Bytes per row of a DIB: rows are padded to 32 bits.
size_t DibStride(int width, int bitCount) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32 * 4;
}

bool SupportedDib(const BITMAPINFOHEADER& h, bool reading) {
  switch (h.biBitCount) {
    case 24:
    case 32: return h.biCompression == BI_RGB || (h.biBitCount == 32 && h.biCompression == BI_BITFIELDS);
    case 1:
    case 4:
    case 8: return reading && h.biCompression == BI_RGB;
    default: return false;
  }
}

}  // namespace

int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage) {
  (void)usage;
  BitmapObject* bm = LookupBitmap(bitmap);
  if (!LookupDC(hdc) || !bm || !info) return 0;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (!bits) {
    h.biWidth = bm->px.width;
    h.biHeight = bm->px.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bm->bitsPixel);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(DibStride(bm->px.width, bm->bitsPixel) * static_cast<size_t>(bm->px.height));
    return 1;
  }
  // Pixels go out as 32-bit or 24-bit rows.
  if (!SupportedDib(h, false) || h.biWidth != bm->px.width) return 0;
  int width = bm->px.width, height = bm->px.height;
  size_t stride = DibStride(width, h.biBitCount);
  auto* out = static_cast<uint8_t*>(bits);
  UINT done = 0;
  for (UINT i = 0; i < lines; ++i) {
    int row = BitmapRowOf(h, height, start, i);
    if (row < 0 || row >= height) break;
    const uint32_t* src = bm->px.Row(row);
    uint8_t* dst = out + stride * i;
    if (h.biBitCount == 32) {
      std::memcpy(dst, src, static_cast<size_t>(width) * 4);
    } else {
      for (int x = 0; x < width; ++x) {
        dst[3 * x] = static_cast<uint8_t>(src[x]);
        dst[3 * x + 1] = static_cast<uint8_t>(src[x] >> 8);
        dst[3 * x + 2] = static_cast<uint8_t>(src[x] >> 16);
      }
    }
    ++done;
  }
  return static_cast<int>(done);
}

int SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
  (void)hdc;
  (void)usage;
  BitmapObject* bm = LookupBitmap(bitmap);
  if (!bm || !info || !bits) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  // 1, 4 and 8 bits index the colour table that follows the header.
  if (!SupportedDib(h, true) || h.biWidth != bm->px.width || h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(info) + h.biSize);
  size_t tableSize = h.biBitCount <= 8 ? (h.biClrUsed ? h.biClrUsed : (size_t{1} << h.biBitCount)) : 0;
  int width = bm->px.width, height = bm->px.height;
  size_t stride = DibStride(width, h.biBitCount);
  const auto* in = static_cast<const uint8_t*>(bits);
  UINT done = 0;
  for (UINT i = 0; i < lines; ++i) {
    int row = BitmapRowOf(h, height, start, i);
    if (row < 0 || row >= height) break;
    const uint8_t* src = in + stride * i;
    uint32_t* dst = bm->px.Row(row);
    for (int x = 0; x < width; ++x) {
      uint32_t p;
      switch (h.biBitCount) {
        case 32: std::memcpy(&p, src + 4 * x, 4); break;
        case 24: p = src[3 * x] | (src[3 * x + 1] << 8) | (uint32_t{src[3 * x + 2]} << 16); break;
        default: {
          int bpp = h.biBitCount;
          int bit = x * bpp;
          size_t index = (src[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
          const RGBQUAD q = index < tableSize ? table[index] : RGBQUAD{};
          p = q.rgbBlue | (q.rgbGreen << 8) | (uint32_t{q.rgbRed} << 16);
          break;
        }
      }
      dst[x] = bm->px.mono ? ColorToPixel(PixelToColor(p), true) : p;
    }
    ++done;
  }
  return static_cast<int>(done);
}

int GetObject(HGDIOBJ object, int size, void* out) {
  GdiObject* o = Lookup(object);
  return o ? o->Describe(size, out) : 0;
}

DWORD GetObjectType(HGDIOBJ object) {
  GdiObject* o = Lookup(object);
  if (!o) return 0;
  switch (o->kind) {
    case ObjKind::Pen: return static_cast<PenObject*>(o)->extended ? OBJ_EXTPEN : OBJ_PEN;
    case ObjKind::Brush: return OBJ_BRUSH;
    case ObjKind::Bitmap: return OBJ_BITMAP;
    case ObjKind::Region: return OBJ_REGION;
    case ObjKind::Font: return OBJ_FONT;
    case ObjKind::Palette: return OBJ_PAL;
    case ObjKind::DC: return static_cast<DCObject*>(o)->dcKind == DCKind::Memory ? OBJ_MEMDC : OBJ_DC;
  }
  return 0;
}

HGDIOBJ GetStockObject(int index) { return StockObject(index); }

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  DCObject* dc = LookupDC(hdc);
  GdiObject* o = Lookup(object);
  if (!dc || !o) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (o->kind) {
    case ObjKind::Pen: slot = reinterpret_cast<HGDIOBJ*>(&dc->s.pen); break;
    case ObjKind::Brush: slot = reinterpret_cast<HGDIOBJ*>(&dc->s.brush); break;
    case ObjKind::Font: slot = reinterpret_cast<HGDIOBJ*>(&dc->s.font); break;
    case ObjKind::Region: {
      int result = ExtSelectClipRgn(hdc, static_cast<HRGN>(object), RGN_COPY);
      return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(result));
    }
    case ObjKind::Bitmap: {
      if (dc->dcKind != DCKind::Memory) return nullptr;
      auto* bm = static_cast<BitmapObject*>(o);
      if (!bm->stock && bm->selectedIn != 0 && bm->selectedIn != dc->handle) return nullptr;
      HGDIOBJ old = dc->s.bitmap;
      if (old == object) return old;
      if (auto* oldBm = static_cast<BitmapObject*>(LookupAny(old)); oldBm && oldBm->selectedIn == dc->handle)
        oldBm->selectedIn = 0;
      if (!bm->stock) bm->selectedIn = dc->handle;
      AddRef(object);
      dc->s.bitmap = static_cast<HBITMAP>(object);
      AttachBitmapSurface(*dc);
      Release(old);
      return old;
    }
    default: return nullptr;
  }
  HGDIOBJ old = *slot;
  if (old == object) return old;
  AddRef(object);
  *slot = object;
  Release(old);
  return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return dc->s.pen;
    case OBJ_BRUSH: return dc->s.brush;
    case OBJ_FONT: return dc->s.font;
    case OBJ_BITMAP: return dc->s.bitmap;
    case OBJ_PAL: return StockObject(DEFAULT_PALETTE);
    default: return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ object) {
  GdiObject* o = Lookup(object);
  if (!o || o->kind == ObjKind::DC) return FALSE;
  if (o->stock) return TRUE;
  if (o->refs > 0) {
    o->deletePending = true;
    return TRUE;
  }
  Destroy(o);
  return TRUE;
}

// Device contexts ----------------------------------------------------------------------

namespace gdi {
HDC NewDC(std::unique_ptr<DCObject> dc) {
  dc->s.pen = static_cast<HPEN>(StockObject(BLACK_PEN));
  dc->s.brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
  dc->s.font = static_cast<HFONT>(StockObject(SYSTEM_FONT));
  if (dc->dcKind == DCKind::Memory) dc->s.bitmap = DefaultBitmap();
  AddRefState(dc->s);
  DCObject* raw = dc.get();
  HDC h = ToHandle<HDC>(Register(std::move(dc)));
  if (raw->dcKind == DCKind::Memory) AttachBitmapSurface(*raw);
  return h;
}
}  // namespace gdi

HDC CreateCompatibleDC(HDC hdc) {
  auto dc = std::make_unique<DCObject>();
  dc->dcKind = DCKind::Memory;
  if (DCObject* model = LookupDC(hdc)) {
    dc->dpiX = model->dpiX;
    dc->dpiY = model->dpiY;
    dc->technology = model->technology;
  }
  return NewDC(std::move(dc));
}

BOOL DeleteDC(HDC hdc) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  Destroy(dc);
  return TRUE;
}

int SaveDC(HDC hdc) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->s);
  AddRefState(dc->s);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int savedDC) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || savedDC == 0) return FALSE;
  int count = static_cast<int>(dc->saved.size());
  int index = savedDC > 0 ? savedDC - 1 : count + savedDC;
  if (index < 0 || index >= count) return FALSE;
  DCState target = dc->saved[static_cast<size_t>(index)];  // its references move with it
  for (int i = count - 1; i > index; --i) ReleaseState(dc->saved[static_cast<size_t>(i)]);
  dc->saved.resize(static_cast<size_t>(index));
  HBITMAP oldBitmap = dc->s.bitmap;
  if (target.bitmap != oldBitmap) {
    if (auto* b = static_cast<BitmapObject*>(LookupAny(oldBitmap)); b && b->selectedIn == dc->handle)
      b->selectedIn = 0;
    if (auto* b = static_cast<BitmapObject*>(LookupAny(target.bitmap)); b && !b->stock) b->selectedIn = dc->handle;
  }
  DCState old = dc->s;
  dc->s = target;
  ReleaseState(old);
  if (dc->dcKind == DCKind::Memory && target.bitmap != oldBitmap) AttachBitmapSurface(*dc);
  InvalidateClip(*dc);
  return TRUE;
}

#define VXN_DC_OR(fail)        \
  DCObject* dc = LookupDC(hdc); \
  if (!dc) return fail

namespace {

// Every attribute call looks the DC up the same way; a handle that is no DC
// gives the call's failure value.
template <typename T>
T GetState(HDC hdc, T DCState::*field, std::type_identity_t<T> fail) {
  DCObject* dc = LookupDC(hdc);
  return dc ? dc->s.*field : fail;
}
// Stores value when it is valid and gives the one it replaces.
template <typename T>
T SwapState(HDC hdc, T DCState::*field, std::type_identity_t<T> value, bool valid,
            std::type_identity_t<T> fail) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !valid) return fail;
  std::swap(dc->s.*field, value);
  return value;
}

}  // namespace

int SetBkMode(HDC hdc, int mode) {
  return SwapState(hdc, &DCState::bkMode, mode, mode == TRANSPARENT || mode == OPAQUE, 0);
}
int GetBkMode(HDC hdc) {
  return GetState(hdc, &DCState::bkMode, 0);
}
COLORREF SetBkColor(HDC hdc, COLORREF color) {
  return SwapState(hdc, &DCState::bkColor, color & 0xFFFFFF, true, CLR_INVALID);
}
COLORREF GetBkColor(HDC hdc) {
  return GetState(hdc, &DCState::bkColor, CLR_INVALID);
}
COLORREF SetTextColor(HDC hdc, COLORREF color) {
  return SwapState(hdc, &DCState::textColor, color & 0xFFFFFF, true, CLR_INVALID);
}
COLORREF GetTextColor(HDC hdc) {
  return GetState(hdc, &DCState::textColor, CLR_INVALID);
}
COLORREF SetDCBrushColor(HDC hdc, COLORREF color) {
  return SwapState(hdc, &DCState::dcBrushColor, color & 0xFFFFFF, true, CLR_INVALID);
}
COLORREF SetDCPenColor(HDC hdc, COLORREF color) {
  return SwapState(hdc, &DCState::dcPenColor, color & 0xFFFFFF, true, CLR_INVALID);
}
int SetROP2(HDC hdc, int rop2) {
  return SwapState(hdc, &DCState::rop2, rop2, rop2 >= R2_BLACK && rop2 <= R2_WHITE, 0);
}
int GetROP2(HDC hdc) {
  return GetState(hdc, &DCState::rop2, 0);
}
int SetPolyFillMode(HDC hdc, int mode) {
  return SwapState(hdc, &DCState::polyFillMode, mode, mode == ALTERNATE || mode == WINDING, 0);
}
int GetPolyFillMode(HDC hdc) {
  return GetState(hdc, &DCState::polyFillMode, 0);
}
int SetStretchBltMode(HDC hdc, int mode) {
  return SwapState(hdc, &DCState::stretchBltMode, mode, mode >= BLACKONWHITE && mode <= HALFTONE,
                   0);
}
int GetStretchBltMode(HDC hdc) {
  return GetState(hdc, &DCState::stretchBltMode, 0);
}
int GetMapMode(HDC hdc) {
  return GetState(hdc, &DCState::mapMode, 0);
}

namespace {

// The points a DC keeps (origins, current position) are set, offset and read
// alike.
BOOL StorePoint(DCObject& dc, POINT DCState::*field, int x, int y, POINT* old) {
  POINT& point = dc.s.*field;
  if (old) *old = point;
  point = {x, y};
  return TRUE;
}
BOOL SetPoint(HDC hdc, POINT DCState::*field, int x, int y, POINT* old) {
  DCObject* dc = LookupDC(hdc);
  return dc ? StorePoint(*dc, field, x, y, old) : FALSE;
}
BOOL OffsetPoint(HDC hdc, POINT DCState::*field, int dx, int dy, POINT* old) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  const POINT point = dc->s.*field;
  return StorePoint(*dc, field, point.x + dx, point.y + dy, old);
}
BOOL GetPoint(HDC hdc, POINT DCState::*field, POINT* out) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->s.*field;
  return TRUE;
}

}  // namespace

BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old) {
  return SetPoint(hdc, &DCState::viewportOrg, x, y, old);
}
BOOL GetViewportOrgEx(HDC hdc, POINT* origin) {
  return GetPoint(hdc, &DCState::viewportOrg, origin);
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* old) {
  return OffsetPoint(hdc, &DCState::viewportOrg, dx, dy, old);
}
BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* old) {
  return SetPoint(hdc, &DCState::windowOrg, x, y, old);
}
BOOL GetWindowOrgEx(HDC hdc, POINT* origin) {
  return GetPoint(hdc, &DCState::windowOrg, origin);
}
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, POINT* old) {
  return OffsetPoint(hdc, &DCState::windowOrg, dx, dy, old);
}
BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* old) {
  return SetPoint(hdc, &DCState::brushOrg, x, y, old);
}
BOOL GetBrushOrgEx(HDC hdc, POINT* origin) {
  return GetPoint(hdc, &DCState::brushOrg, origin);
}
BOOL LPtoDP(HDC hdc, POINT* points, int count) {
  VXN_DC_OR(FALSE);
  for (int i = 0; i < count; ++i) points[i] = LPtoDevice(*dc, points[i].x, points[i].y);
  return TRUE;
}
BOOL DPtoLP(HDC hdc, POINT* points, int count) {
  VXN_DC_OR(FALSE);
  for (int i = 0; i < count; ++i) {
    points[i].x += dc->s.windowOrg.x - dc->s.viewportOrg.x;
    points[i].y += dc->s.windowOrg.y - dc->s.viewportOrg.y;
  }
  return TRUE;
}
BOOL MoveToEx(HDC hdc, int x, int y, POINT* old) {
  VXN_DC_OR(FALSE);
  if (dc->inPath) {
    POINT d = LPtoDevice(*dc, x, y);
    dc->figures.push_back({d});
  }
  return StorePoint(*dc, &DCState::currentPos, x, y, old);
}
BOOL GetCurrentPositionEx(HDC hdc, POINT* position) {
  return GetPoint(hdc, &DCState::currentPos, position);
}

int GetDeviceCaps(HDC hdc, int index) {
  VXN_DC_OR(0);
  bool printer = dc->technology == DT_RASPRINTER;
  SIZE screen = GetScreenSize();
  int width = printer ? dc->SurfaceWidth() : screen.cx;
  int height = printer ? dc->SurfaceHeight() : screen.cy;
  switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return dc->technology;
    case HORZRES: return width;
    case VERTRES: return height;
    case HORZSIZE: return MulDiv(width, 254, dc->dpiX * 10);
    case VERTSIZE: return MulDiv(height, 254, dc->dpiY * 10);
    case BITSPIXEL: return IsMonoDC(*dc) ? 1 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case LOGPIXELSX: return dc->dpiX;
    case LOGPIXELSY: return dc->dpiY;
    case SIZEPALETTE: return 0;
    case PHYSICALWIDTH: return printer ? dc->physicalWidth : 0;
    case PHYSICALHEIGHT: return printer ? dc->physicalHeight : 0;
    case PHYSICALOFFSETX: return printer ? dc->physicalOffsetX : 0;
    case PHYSICALOFFSETY: return printer ? dc->physicalOffsetY : 0;
    default: return 0;
  }
}

COLORREF GetNearestColor(HDC hdc, COLORREF color) {
  VXN_DC_OR(CLR_INVALID);
  if (IsMonoTarget(*dc)) return ColorToPixel(color, true) ? RGB(255, 255, 255) : RGB(0, 0, 0);
  return color & 0xFFFFFF;
}

#undef VXN_DC_OR

}  // namespace win
