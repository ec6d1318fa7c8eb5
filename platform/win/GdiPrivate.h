// Inside of the GDI: the handle table, the objects behind the handles, device
// contexts and the span painter every drawing call ends in. Only modules of
// the win layer include this (the text engine adds fonts and text here).
//
// All of it runs on the user-interface thread; the handle table has no lock.
#pragma once

#include <cairo.h>
#include <pixman.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/win/WinTypes.h"

namespace win::gdi {

// Regions --------------------------------------------------------------------

// A set of pixels kept as y-x banded rectangles.
class Region {
 public:
  Region() { pixman_region32_init(&r_); }
  Region(int left, int top, int right, int bottom);
  Region(const Region& other);
  Region& operator=(const Region& other);
  ~Region() { pixman_region32_fini(&r_); }

  pixman_region32_t* get() { return &r_; }
  const pixman_region32_t* get() const { return &r_; }
  void SetRect(int left, int top, int right, int bottom);
  void SetEmpty() { SetRect(0, 0, 0, 0); }
  void Translate(int dx, int dy) { pixman_region32_translate(&r_, dx, dy); }
  int RectCount() const { return pixman_region32_n_rects(&r_); }
  const pixman_box32_t* Rects(int& count) const {
    return pixman_region32_rectangles(const_cast<pixman_region32_t*>(&r_), &count);
  }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Complexity() const;
  RECT Box() const;

 private:
  pixman_region32_t r_;
};

// Objects ----------------------------------------------------------------------

enum class ObjKind : uint8_t { Pen, Brush, Bitmap, Region, Font, Palette, DC };

struct GdiObject {
  explicit GdiObject(ObjKind k) : kind(k) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  // GetObject: fills out (when not null) and returns the byte count.
  virtual int Describe(int size, void* out) const {
    (void)size;
    (void)out;
    return 0;
  }

  ObjKind kind;
  bool stock = false;
  bool deletePending = false;  // deleted while selected: freed at the last release
  int refs = 0;                // selections in DCs and in saved DC states
  uintptr_t handle = 0;
};

// 32-bit pixels 0x00RRGGBB (the byte order of 32-bit DIBs and of cairo's
// RGB24). Rows may run bottom-up (negative stride) for bottom-up DIBs.
struct PixelBuffer {
  uint32_t* row0 = nullptr;
  ptrdiff_t stride = 0;  // in pixels
  int width = 0;
  int height = 0;
  bool mono = false;  // pixels are only 0 or 0xFFFFFF
  uint32_t* Row(int y) const { return row0 + y * stride; }
};

struct BitmapObject : GdiObject {
  BitmapObject() : GdiObject(ObjKind::Bitmap) {}
  int Describe(int size, void* out) const override;

  std::vector<uint32_t> store;
  PixelBuffer px;
  int bitsPixel = 32;  // 1 or 32
  bool dib = false;
  bool bottomUp = false;
  void* dibBits = nullptr;
  uintptr_t selectedIn = 0;  // the DC holding it; a bitmap sits in one DC at a time
};

struct PenObject : GdiObject {
  PenObject() : GdiObject(ObjKind::Pen) {}
  int Describe(int size, void* out) const override;

  DWORD style = PS_SOLID;  // full style word: kind, end cap, join, type
  int width = 1;
  std::vector<int> userStyle;  // PS_USERSTYLE: on/off run lengths
  COLORREF color = 0;
  bool extended = false;  // made by ExtCreatePen
  bool dcPen = false;     // DC_PEN: the colour comes from the DC
  int Kind() const { return static_cast<int>(style & PS_STYLE_MASK); }
};

struct BrushObject : GdiObject {
  BrushObject() : GdiObject(ObjKind::Brush) {}
  int Describe(int size, void* out) const override;

  UINT style = BS_SOLID;
  COLORREF color = 0;
  int hatch = 0;
  bool dcBrush = false;  // DC_BRUSH: the colour comes from the DC
  // BS_PATTERN: a copy of the bitmap taken at creation.
  std::vector<uint32_t> pattern;
  int patternWidth = 0;
  int patternHeight = 0;
  bool patternMono = false;
};

struct RegionObject : GdiObject {
  RegionObject() : GdiObject(ObjKind::Region) {}
  Region rgn;
};

// Device contexts ----------------------------------------------------------

// Everything SaveDC keeps. The text engine adds its fields here (the font
// handle and text settings are already present).
struct DCState {
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HBITMAP bitmap = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  COLORREF dcBrushColor = RGB(255, 255, 255);
  COLORREF dcPenColor = RGB(0, 0, 0);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int polyFillMode = ALTERNATE;
  int stretchBltMode = BLACKONWHITE;
  int mapMode = MM_TEXT;
  UINT textAlign = 0;
  int textCharacterExtra = 0;
  int justifyExtra = 0;  // SetTextJustification: pixels spread over justifyBreaks break characters
  int justifyBreaks = 0;
  POINT viewportOrg;
  POINT windowOrg;
  POINT brushOrg;
  POINT currentPos;
  bool hasClip = false;  // "no clip" stays distinct from any large rectangle
  Region clip;           // device coordinates
};

enum class DCKind : uint8_t { Memory, Pixels, Vector };

// What a kind of DC keeps besides its drawing state (a printer DC's
// document); freed with the DC, after its cairo context.
struct DCExtension {
  virtual ~DCExtension() = default;
};

struct DCObject : GdiObject {
  DCObject() : GdiObject(ObjKind::DC) {}
  ~DCObject() override;

  DCKind dcKind = DCKind::Memory;
  DCState s;
  std::vector<DCState> saved;

  // The surface drawn on: pixels (bitmap or attached buffer) or a cairo
  // context of a vector surface.
  PixelBuffer px;
  cairo_t* cr = nullptr;
  cairo_surface_t* ownedSurface = nullptr;  // PDF DCs own theirs
  int vectorWidth = 0;
  int vectorHeight = 0;
  int SurfaceWidth() const { return cr ? vectorWidth : px.width; }
  int SurfaceHeight() const { return cr ? vectorHeight : px.height; }

  // Window DCs: device (0, 0) sits at surfaceOrg of the backing surface and
  // drawing stays inside the visible region (device coordinates).
  POINT surfaceOrg;
  bool hasVisible = false;
  Region visible;

  // Effective clip in surface coordinates, rebuilt when an input changes.
  bool effectiveValid = false;
  Region effective;

  // Device description for GetDeviceCaps.
  int dpiX = 96;
  int dpiY = 96;
  int technology = DT_RASDISPLAY;
  int physicalWidth = 0;
  int physicalHeight = 0;
  int physicalOffsetX = 0;
  int physicalOffsetY = 0;

  // Path bracket, in device coordinates.
  bool inPath = false;
  bool pathClosed = false;
  std::vector<std::vector<POINT>> figures;

  // Scratch buffers kept between calls so that the hot paths do not allocate.
  std::vector<uint32_t> patternPixels;
  std::vector<uint8_t> patternMask;
  std::vector<POINT> pointScratch;

  // Cairo context over the pixel surface for the text engine; made on demand.
  cairo_surface_t* pixelSurface = nullptr;
  cairo_t* pixelCairo = nullptr;

  std::unique_ptr<DCExtension> extension;
};

// Handle table ---------------------------------------------------------------

uintptr_t Register(std::unique_ptr<GdiObject> object);
// The live object behind a handle, or null for 0, a stale handle or an
// object whose deletion is pending.
GdiObject* Lookup(const void* handle);
template <class T>
T* LookupAs(const void* handle, ObjKind kind) {
  GdiObject* o = Lookup(handle);
  return o && o->kind == kind ? static_cast<T*>(o) : nullptr;
}
inline DCObject* LookupDC(HDC h) { return LookupAs<DCObject>(h, ObjKind::DC); }
inline RegionObject* LookupRgn(HRGN h) { return LookupAs<RegionObject>(h, ObjKind::Region); }
inline BitmapObject* LookupBitmap(HBITMAP h) { return LookupAs<BitmapObject>(h, ObjKind::Bitmap); }
// Like Lookup but also finds objects whose deletion is pending.
GdiObject* LookupAny(const void* handle);
// Frees the object now (DeleteObject of an unselected object, DeleteDC).
void Destroy(GdiObject* object);
void AddRef(const void* handle);
void Release(const void* handle);

template <class H>
H ToHandle(uintptr_t value) {
  return reinterpret_cast<H>(value);
}

// Registers a new DC, giving it the default objects (and, for memory DCs,
// the default bitmap).
HDC NewDC(std::unique_ptr<DCObject> dc);

// Registers a stock object by its GetStockObject index; the text engine
// registers the stock fonts this way.
void SetStockObject(int index, std::unique_ptr<GdiObject> object);
HGDIOBJ StockObject(int index);
// Registers the stock fonts (the text engine's; called with the other stock objects).
void MakeStockFonts();
// The 1 x 1 monochrome bitmap every new memory DC holds.
HBITMAP DefaultBitmap();

// Colours and coordinates ------------------------------------------------------

inline uint32_t ColorToPixel(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF PixelToColor(uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}
// Colours on a monochrome surface become black or white by brightness.
uint32_t ColorToPixel(COLORREF c, bool mono);
inline bool IsMonoTarget(const DCObject& dc) { return !dc.cr && dc.px.mono; }

// Device coordinates are kept within +-2^29 so that sums of two never
// overflow; nothing of that size can be seen anyway.
constexpr int64_t kDeviceLimit = int64_t{1} << 29;
inline int ClampDevice(int64_t v) {
  return static_cast<int>(v < -kDeviceLimit ? -kDeviceLimit : v > kDeviceLimit ? kDeviceLimit : v);
}
inline int LToDeviceX(const DCObject& dc, int x) {
  return ClampDevice(int64_t{x} - dc.s.windowOrg.x + dc.s.viewportOrg.x);
}
inline int LToDeviceY(const DCObject& dc, int y) {
  return ClampDevice(int64_t{y} - dc.s.windowOrg.y + dc.s.viewportOrg.y);
}
inline POINT LPtoDevice(const DCObject& dc, int x, int y) { return {LToDeviceX(dc, x), LToDeviceY(dc, y)}; }

// Effective clip (surface coordinates): surface bounds, visible region and
// clip region intersected.
const Region& EffectiveClip(DCObject& dc);
inline void InvalidateClip(DCObject& dc) { dc.effectiveValid = false; }
// Points the DC's pixel surface at its selected bitmap.
void AttachBitmapSurface(DCObject& dc);

// Painting -----------------------------------------------------------------------

// What a fill puts on the pixels: one colour or a tiled pattern (anchored at
// orgX/orgY in surface coordinates), combined with the destination by a
// binary raster operation.
struct Paint {
  bool pattern = false;
  uint32_t color = 0;
  const uint32_t* pixels = nullptr;
  const uint8_t* mask = nullptr;  // 0 = leave the pixel (transparent hatch gaps)
  int width = 0;
  int height = 0;
  int orgX = 0;
  int orgY = 0;
  int rop2 = R2_COPYPEN;
};

// FillRect and FillRgn accept COLOR_xxx + 1 in place of a brush.
HBRUSH ResolveSysColorBrush(HBRUSH brush);

uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dst);

// Paint for the DC's selected pen; false for a null pen.
bool PenPaint(DCObject& dc, Paint& paint);
// Paint for a brush (or the selected one when brush is null); false for a
// null brush. Hatch gaps follow the background mode when honourBkMode.
bool BrushPaint(DCObject& dc, HBRUSH brush, Paint& paint, bool honourBkMode);
// Paint of a single colour with the DC's raster operation.
Paint SolidPaint(DCObject& dc, COLORREF color, int rop2);
// The pattern pixel at surface position (x, y).
inline uint32_t PatternAt(const Paint& p, int x, int y) {
  int px = (x - p.orgX) % p.width;
  int py = (y - p.orgY) % p.height;
  if (px < 0) px += p.width;
  if (py < 0) py += p.height;
  return p.pixels[py * p.width + px];
}

// Fills the rectangle [left, right) x [top, bottom) given in device
// coordinates, through the effective clip.
void PaintDeviceRect(DCObject& dc, int left, int top, int right, int bottom, const Paint& paint);
// The same in surface coordinates.
void PaintSurfaceRect(DCObject& dc, int left, int top, int right, int bottom, const Paint& paint);
// Fills a region given in device coordinates.
void PaintDeviceRegion(DCObject& dc, const Region& rgn, const Paint& paint);

// Calls f(box) for each part of the surface rectangle inside the effective clip.
template <class F>
void ForEachClipped(DCObject& dc, int left, int top, int right, int bottom, F&& f) {
  const Region& eff = EffectiveClip(dc);
  int n = 0;
  const pixman_box32_t* boxes = eff.Rects(n);
  for (int i = 0; i < n; ++i) {
    const pixman_box32_t& b = boxes[i];
    if (b.y1 >= bottom) break;
    if (b.y2 <= top) continue;
    int l = left > b.x1 ? left : b.x1;
    int r = right < b.x2 ? right : b.x2;
    int t = top > b.y1 ? top : b.y1;
    int bo = bottom < b.y2 ? bottom : b.y2;
    if (l < r && t < bo) f(l, t, r, bo);
  }
}

// The cairo context of the DC, made on demand over the pixel surface, with
// the device coordinate system (no clip set). Null when the surface has no
// pixels (an empty bitmap) or runs bottom-up.
cairo_t* DeviceCairo(DCObject& dc);
// Sets the effective clip as cairo's clip on cr (surface coordinates).
void ClipCairo(DCObject& dc, cairo_t* cr);

}  // namespace win::gdi
