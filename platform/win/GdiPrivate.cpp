#include "platform/win/GdiPrivate.h"

#include <algorithm>
#include <cstring>

namespace win::gdi {

// Regions ----------------------------------------------------------------------

Region::Region(int left, int top, int right, int bottom) {
  pixman_region32_init(&r_);
  SetRect(left, top, right, bottom);
}

Region::Region(const Region& other) {
  pixman_region32_init(&r_);
  pixman_region32_copy(&r_, const_cast<pixman_region32_t*>(&other.r_));
}

Region& Region::operator=(const Region& other) {
  if (this != &other) pixman_region32_copy(&r_, const_cast<pixman_region32_t*>(&other.r_));
  return *this;
}

void Region::SetRect(int left, int top, int right, int bottom) {
  // GDI accepts rectangles given in any corner order.
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  pixman_region32_fini(&r_);
  if (left == right || top == bottom) {
    pixman_region32_init(&r_);
  } else {
    pixman_box32_t box{left, top, right, bottom};  // corners, so no width can overflow
    pixman_region32_init_rects(&r_, &box, 1);
  }
}

int Region::Complexity() const {
  int n = RectCount();
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::Box() const {
  if (RectCount() == 0) return {};
  const pixman_box32_t* b = pixman_region32_extents(const_cast<pixman_region32_t*>(&r_));
  return {b->x1, b->y1, b->x2, b->y2};
}

// Object descriptions (GetObject) ------------------------------------------------

namespace {
template <class T>
int CopyOut(const T& value, int size, void* out) {
  if (!out) return static_cast<int>(sizeof(T));
  int n = std::min<int>(size, static_cast<int>(sizeof(T)));
  if (n <= 0) return 0;
  std::memcpy(out, &value, static_cast<size_t>(n));
  return n;
}
}  // namespace

int BitmapObject::Describe(int size, void* out) const {
  BITMAP bm;
  bm.bmWidth = px.width;
  bm.bmHeight = px.height;
  bm.bmPlanes = 1;
  bm.bmBitsPixel = static_cast<WORD>(bitsPixel);
  bm.bmWidthBytes = bitsPixel == 1 ? ((px.width + 15) / 16) * 2 : px.width * 4;
  bm.bmBits = dib ? dibBits : nullptr;
  if (dib && out && size >= static_cast<int>(sizeof(DIBSECTION))) {
    DIBSECTION ds;
    ds.dsBm = bm;
    ds.dsBmih.biWidth = px.width;
    ds.dsBmih.biHeight = bottomUp ? px.height : -px.height;
    ds.dsBmih.biBitCount = static_cast<WORD>(bitsPixel);
    ds.dsBmih.biSizeImage = static_cast<DWORD>(px.width * px.height * 4);
    return CopyOut(ds, size, out);
  }
  return CopyOut(bm, size, out);
}

int PenObject::Describe(int size, void* out) const {
  if (extended) {
    EXTLOGPEN p;
    p.elpPenStyle = style;
    p.elpWidth = static_cast<DWORD>(width);
    p.elpBrushStyle = BS_SOLID;
    p.elpColor = color;
    return CopyOut(p, size, out);
  }
  LOGPEN p;
  p.lopnStyle = style;
  p.lopnWidth = {width, 0};
  p.lopnColor = color;
  return CopyOut(p, size, out);
}

int BrushObject::Describe(int size, void* out) const {
  LOGBRUSH b;
  b.lbStyle = style;
  b.lbColor = color;
  b.lbHatch = static_cast<uintptr_t>(hatch);
  return CopyOut(b, size, out);
}

DCObject::~DCObject() {
  if (pixelCairo) cairo_destroy(pixelCairo);
  if (pixelSurface) cairo_surface_destroy(pixelSurface);
  if (cr) cairo_destroy(cr);
  if (ownedSurface) {
    cairo_surface_finish(ownedSurface);
    cairo_surface_destroy(ownedSurface);
  }
}

// Handle table -----------------------------------------------------------------------

namespace {

// A handle is (generation << 20) | slot: a handle of a freed object never
// matches the slot's next occupant, and no handle is a small integer (those
// stand for system colour brushes in FillRect).
constexpr uintptr_t kSlotBits = 20;
constexpr uintptr_t kSlotMask = (uintptr_t{1} << kSlotBits) - 1;

struct Slot {
  std::unique_ptr<GdiObject> object;
  uintptr_t generation = 1;
};

struct HandleTable {
  std::vector<Slot> slots;
  std::vector<uint32_t> freeSlots;
  HGDIOBJ stock[STOCK_LAST + 1] = {};
  bool stockMade = false;
  HBITMAP defaultBitmap = nullptr;
};

HandleTable& Table() {
  static HandleTable* table = new HandleTable;  // lives as long as the process
  return *table;
}

Slot* SlotOf(const void* handle) {
  auto h = reinterpret_cast<uintptr_t>(handle);
  if (h == 0) return nullptr;
  uintptr_t index = h & kSlotMask;
  uintptr_t gen = h >> kSlotBits;
  HandleTable& t = Table();
  if (index >= t.slots.size()) return nullptr;
  Slot& s = t.slots[index];
  if (!s.object || s.generation != gen) return nullptr;
  return &s;
}

void MakeStockObjects();

}  // namespace

uintptr_t Register(std::unique_ptr<GdiObject> object) {
  HandleTable& t = Table();
  uint32_t index;
  if (!t.freeSlots.empty()) {
    index = t.freeSlots.back();
    t.freeSlots.pop_back();
  } else {
    index = static_cast<uint32_t>(t.slots.size());
    t.slots.emplace_back();
  }
  Slot& s = t.slots[index];
  uintptr_t h = (s.generation << kSlotBits) | index;
  object->handle = h;
  s.object = std::move(object);
  return h;
}

GdiObject* LookupAny(const void* handle) {
  Slot* s = SlotOf(handle);
  return s ? s->object.get() : nullptr;
}

GdiObject* Lookup(const void* handle) {
  GdiObject* o = LookupAny(handle);
  return o && !o->deletePending ? o : nullptr;
}

void Destroy(GdiObject* object) {
  if (!object) return;
  if (object->kind == ObjKind::DC) {
    auto* dc = static_cast<DCObject*>(object);
    for (DCState& st : dc->saved) {
      Release(st.pen);
      Release(st.brush);
      Release(st.font);
      Release(st.bitmap);
    }
    Release(dc->s.pen);
    Release(dc->s.brush);
    Release(dc->s.font);
    if (auto* bm = static_cast<BitmapObject*>(LookupAny(dc->s.bitmap)); bm && bm->selectedIn == dc->handle)
      bm->selectedIn = 0;
    Release(dc->s.bitmap);
  }
  HandleTable& t = Table();
  uintptr_t index = object->handle & kSlotMask;
  Slot& s = t.slots[index];
  std::unique_ptr<GdiObject> doomed = std::move(s.object);
  ++s.generation;
  t.freeSlots.push_back(static_cast<uint32_t>(index));
}

void AddRef(const void* handle) {
  if (GdiObject* o = LookupAny(handle)) ++o->refs;
}

void Release(const void* handle) {
  GdiObject* o = LookupAny(handle);
  if (!o) return;
  if (o->refs > 0) --o->refs;
  if (o->refs == 0 && o->deletePending) Destroy(o);
}

void SetStockObject(int index, std::unique_ptr<GdiObject> object) {
  if (index < 0 || index > STOCK_LAST) return;
  object->stock = true;
  Table().stock[index] = ToHandle<HGDIOBJ>(Register(std::move(object)));
}

HGDIOBJ StockObject(int index) {
  if (index < 0 || index > STOCK_LAST) return nullptr;
  MakeStockObjects();
  return Table().stock[index];
}

HBITMAP DefaultBitmap() {
  MakeStockObjects();
  return Table().defaultBitmap;
}

namespace {

void MakeStockObjects() {
  HandleTable& t = Table();
  if (t.stockMade) return;
  t.stockMade = true;
  const COLORREF brushColors[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                  RGB(64, 64, 64), RGB(0, 0, 0)};
  for (int i = WHITE_BRUSH; i <= BLACK_BRUSH; ++i) {
    auto b = std::make_unique<BrushObject>();
    b->color = brushColors[i];
    SetStockObject(i, std::move(b));
  }
  auto nullBrush = std::make_unique<BrushObject>();
  nullBrush->style = BS_NULL;
  SetStockObject(NULL_BRUSH, std::move(nullBrush));
  const COLORREF penColors[] = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0)};
  for (int i = WHITE_PEN; i <= NULL_PEN; ++i) {
    auto p = std::make_unique<PenObject>();
    p->color = penColors[i - WHITE_PEN];
    if (i == NULL_PEN) p->style = PS_NULL;
    SetStockObject(i, std::move(p));
  }
  auto dcBrush = std::make_unique<BrushObject>();
  dcBrush->dcBrush = true;
  SetStockObject(DC_BRUSH, std::move(dcBrush));
  auto dcPen = std::make_unique<PenObject>();
  dcPen->dcPen = true;
  SetStockObject(DC_PEN, std::move(dcPen));
  SetStockObject(DEFAULT_PALETTE, std::make_unique<GdiObject>(ObjKind::Palette));
  MakeStockFonts();

  auto bm = std::make_unique<BitmapObject>();
  bm->bitsPixel = 1;
  bm->store.assign(1, 0);
  bm->px = {bm->store.data(), 1, 1, 1, true};
  bm->stock = true;
  t.defaultBitmap = ToHandle<HBITMAP>(Register(std::move(bm)));
}

}  // namespace

// Colours and clipping -------------------------------------------------------------

uint32_t ColorToPixel(COLORREF c, bool mono) {
  if (!mono) return ColorToPixel(c & 0xFFFFFF);
  unsigned lum = GetRValue(c) * 30u + GetGValue(c) * 59u + GetBValue(c) * 11u;
  return lum >= 12800u ? 0xFFFFFFu : 0u;
}

const Region& EffectiveClip(DCObject& dc) {
  if (dc.effectiveValid) return dc.effective;
  dc.effective.SetRect(0, 0, dc.SurfaceWidth(), dc.SurfaceHeight());
  if (dc.hasVisible) {
    Region v = dc.visible;
    v.Translate(dc.surfaceOrg.x, dc.surfaceOrg.y);
    pixman_region32_intersect(dc.effective.get(), dc.effective.get(), v.get());
  }
  if (dc.s.hasClip) {
    Region c = dc.s.clip;
    c.Translate(dc.surfaceOrg.x, dc.surfaceOrg.y);
    pixman_region32_intersect(dc.effective.get(), dc.effective.get(), c.get());
  }
  dc.effectiveValid = true;
  return dc.effective;
}

namespace {
void DropPixelCairo(DCObject& dc) {
  if (dc.pixelCairo) cairo_destroy(dc.pixelCairo);
  if (dc.pixelSurface) cairo_surface_destroy(dc.pixelSurface);
  dc.pixelCairo = nullptr;
  dc.pixelSurface = nullptr;
}
}  // namespace

void AttachBitmapSurface(DCObject& dc) {
  DropPixelCairo(dc);
  auto* bm = static_cast<BitmapObject*>(LookupAny(dc.s.bitmap));
  dc.px = bm ? bm->px : PixelBuffer{};
  InvalidateClip(dc);
}

cairo_t* DeviceCairo(DCObject& dc) {
  if (dc.cr) return dc.cr;
  if (!dc.px.row0 || dc.px.stride <= 0 || dc.px.width <= 0 || dc.px.height <= 0) return nullptr;
  if (dc.pixelCairo) {
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(dc.pixelSurface));
    if (data == dc.px.row0 && cairo_image_surface_get_width(dc.pixelSurface) == dc.px.width &&
        cairo_image_surface_get_height(dc.pixelSurface) == dc.px.height)
      return dc.pixelCairo;
    DropPixelCairo(dc);
  }
  dc.pixelSurface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(dc.px.row0), CAIRO_FORMAT_RGB24, dc.px.width, dc.px.height,
      static_cast<int>(dc.px.stride * 4));
  dc.pixelCairo = cairo_create(dc.pixelSurface);
  cairo_set_antialias(dc.pixelCairo, CAIRO_ANTIALIAS_NONE);
  return dc.pixelCairo;
}

void ClipCairo(DCObject& dc, cairo_t* cr) {
  cairo_reset_clip(cr);
  const Region& eff = EffectiveClip(dc);
  int n = 0;
  const pixman_box32_t* b = eff.Rects(n);
  cairo_new_path(cr);
  for (int i = 0; i < n; ++i) cairo_rectangle(cr, b[i].x1, b[i].y1, b[i].x2 - b[i].x1, b[i].y2 - b[i].y1);
  if (n == 0) cairo_rectangle(cr, 0, 0, 0, 0);
  cairo_clip(cr);
}

// Painting ----------------------------------------------------------------------------

uint32_t ApplyRop2(int rop2, uint32_t p, uint32_t d) {
  uint32_t r;
  switch (rop2) {
    case R2_BLACK: r = 0; break;
    case R2_NOTMERGEPEN: r = ~(d | p); break;
    case R2_MASKNOTPEN: r = d & ~p; break;
    case R2_NOTCOPYPEN: r = ~p; break;
    case R2_MASKPENNOT: r = p & ~d; break;
    case R2_NOT: r = ~d; break;
    case R2_XORPEN: r = d ^ p; break;
    case R2_NOTMASKPEN: r = ~(d & p); break;
    case R2_MASKPEN: r = d & p; break;
    case R2_NOTXORPEN: r = ~(d ^ p); break;
    case R2_NOP: return d;
    case R2_MERGENOTPEN: r = d | ~p; break;
    case R2_MERGEPENNOT: r = p | ~d; break;
    case R2_MERGEPEN: r = p | d; break;
    case R2_WHITE: r = 0xFFFFFFFF; break;
    default: r = p; break;  // R2_COPYPEN and unknown codes
  }
  // The top byte of a 32-bit pixel carries no colour; results keep it clear.
  return r & 0x00FFFFFF;
}

bool PenPaint(DCObject& dc, Paint& paint) {
  auto* pen = static_cast<PenObject*>(LookupAny(dc.s.pen));
  if (!pen || pen->Kind() == PS_NULL) return false;
  COLORREF c = pen->dcPen ? dc.s.dcPenColor : pen->color;
  paint = Paint{};
  paint.color = ColorToPixel(c, IsMonoTarget(dc));
  paint.rop2 = dc.s.rop2;
  return true;
}

Paint SolidPaint(DCObject& dc, COLORREF color, int rop2) {
  Paint p;
  p.color = ColorToPixel(color, IsMonoTarget(dc));
  p.rop2 = rop2;
  return p;
}

namespace {
bool HatchBit(int hatch, int x, int y) {
  switch (hatch) {
    case HS_HORIZONTAL: return y == 0;
    case HS_VERTICAL: return x == 0;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 0 || y == 0;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
  }
}
}  // namespace

bool BrushPaint(DCObject& dc, HBRUSH brush, Paint& paint, bool honourBkMode) {
  auto* b = static_cast<BrushObject*>(brush ? Lookup(brush) : LookupAny(dc.s.brush));
  if (!b || b->kind != ObjKind::Brush || b->style == BS_NULL) return false;
  bool mono = IsMonoTarget(dc);
  paint = Paint{};
  paint.rop2 = dc.s.rop2;
  if (b->style == BS_SOLID) {
    paint.color = ColorToPixel(b->dcBrush ? dc.s.dcBrushColor : b->color, mono);
    return true;
  }
  paint.pattern = true;
  paint.orgX = dc.s.brushOrg.x + dc.surfaceOrg.x;
  paint.orgY = dc.s.brushOrg.y + dc.surfaceOrg.y;
  if (b->style == BS_HATCHED) {
    paint.width = paint.height = 8;
    dc.patternPixels.resize(64);
    dc.patternMask.resize(64);
    uint32_t fg = ColorToPixel(b->color, mono);
    uint32_t bg = ColorToPixel(dc.s.bkColor, mono);
    bool transparent = honourBkMode && dc.s.bkMode == TRANSPARENT;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        bool on = HatchBit(b->hatch, x, y);
        dc.patternPixels[y * 8 + x] = on ? fg : bg;
        dc.patternMask[y * 8 + x] = on || !transparent;
      }
    paint.mask = transparent ? dc.patternMask.data() : nullptr;
  } else {
    paint.width = b->patternWidth;
    paint.height = b->patternHeight;
    if (paint.width <= 0 || paint.height <= 0) return false;
    size_t n = static_cast<size_t>(paint.width) * static_cast<size_t>(paint.height);
    dc.patternPixels.resize(n);
    if (b->patternMono) {
      // A monochrome pattern takes the DC's colours: black bits the text
      // colour, white bits the background colour.
      uint32_t fg = ColorToPixel(dc.s.textColor, mono);
      uint32_t bg = ColorToPixel(dc.s.bkColor, mono);
      for (size_t i = 0; i < n; ++i) dc.patternPixels[i] = b->pattern[i] ? bg : fg;
    } else if (mono) {
      for (size_t i = 0; i < n; ++i) dc.patternPixels[i] = ColorToPixel(PixelToColor(b->pattern[i]), true);
    } else {
      std::copy(b->pattern.begin(), b->pattern.end(), dc.patternPixels.begin());
    }
  }
  paint.pixels = dc.patternPixels.data();
  return true;
}

namespace {

void FillPixels(const PixelBuffer& px, int l, int t, int r, int b, const Paint& p) {
  for (int y = t; y < b; ++y) {
    uint32_t* row = px.Row(y);
    if (!p.pattern) {
      if (p.rop2 == R2_COPYPEN) {
        std::fill(row + l, row + r, p.color);
      } else if (p.rop2 == R2_NOT) {
        for (int x = l; x < r; ++x) row[x] = ~row[x] & 0x00FFFFFF;
      } else if (p.rop2 == R2_XORPEN) {
        for (int x = l; x < r; ++x) row[x] = (row[x] ^ p.color) & 0x00FFFFFF;
      } else {
        for (int x = l; x < r; ++x) row[x] = ApplyRop2(p.rop2, p.color, row[x]);
      }
      continue;
    }
    int py = (y - p.orgY) % p.height;
    if (py < 0) py += p.height;
    const uint32_t* prow = p.pixels + py * p.width;
    const uint8_t* mrow = p.mask ? p.mask + py * p.width : nullptr;
    int pxi = (l - p.orgX) % p.width;
    if (pxi < 0) pxi += p.width;
    for (int x = l; x < r; ++x) {
      if (!mrow || mrow[pxi]) row[x] = p.rop2 == R2_COPYPEN ? prow[pxi] : ApplyRop2(p.rop2, prow[pxi], row[x]);
      if (++pxi == p.width) pxi = 0;
    }
  }
}

// A vector surface cannot read its destination: raster operations are
// worked out against a white page, except where they leave the destination
// as it is (XOR with black, AND with white ...): those pixels stay untouched.
bool LeavesDestination(int rop2, uint32_t pen) {
  return ApplyRop2(rop2, pen, 0) == 0 && ApplyRop2(rop2, pen, 0xFFFFFF) == 0xFFFFFF;
}

void FillVector(DCObject& dc, int l, int t, int r, int b, const Paint& p) {
  if (p.rop2 == R2_NOP || (!p.pattern && LeavesDestination(p.rop2, p.color))) return;
  cairo_t* cr = dc.cr;
  cairo_new_path(cr);
  int count = 0;
  ForEachClipped(dc, l, t, r, b, [&](int cl, int ct, int cr2, int cb) {
    cairo_rectangle(cr, cl, ct, cr2 - cl, cb - ct);
    ++count;
  });
  if (count == 0) return;
  cairo_surface_t* tile = nullptr;
  if (!p.pattern) {
    uint32_t c = ApplyRop2(p.rop2, p.color, 0xFFFFFF);
    cairo_set_source_rgb(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
  } else {
    tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p.width, p.height);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(tile));
    int stride = cairo_image_surface_get_stride(tile) / 4;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        int i = y * p.width + x;
        bool on = (!p.mask || p.mask[i]) && !LeavesDestination(p.rop2, p.pixels[i]);
        data[y * stride + x] = on ? (0xFF000000u | ApplyRop2(p.rop2, p.pixels[i], 0xFFFFFF)) : 0u;
      }
    cairo_surface_mark_dirty(tile);
    cairo_pattern_t* pat = cairo_pattern_create_for_surface(tile);
    cairo_pattern_set_extend(pat, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pat, CAIRO_FILTER_NEAREST);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, -p.orgX, -p.orgY);
    cairo_pattern_set_matrix(pat, &m);
    cairo_set_source(cr, pat);
    cairo_pattern_destroy(pat);
  }
  cairo_fill(cr);
  if (tile) cairo_surface_destroy(tile);
}

}  // namespace

void PaintSurfaceRect(DCObject& dc, int left, int top, int right, int bottom, const Paint& paint) {
  if (left >= right || top >= bottom) return;
  if (dc.cr) {
    FillVector(dc, left, top, right, bottom, paint);
    return;
  }
  if (!dc.px.row0) return;
  ForEachClipped(dc, left, top, right, bottom,
                 [&](int l, int t, int r, int b) { FillPixels(dc.px, l, t, r, b, paint); });
}

void PaintDeviceRect(DCObject& dc, int left, int top, int right, int bottom, const Paint& paint) {
  PaintSurfaceRect(dc, left + dc.surfaceOrg.x, top + dc.surfaceOrg.y, right + dc.surfaceOrg.x,
                   bottom + dc.surfaceOrg.y, paint);
}

void PaintDeviceRegion(DCObject& dc, const Region& rgn, const Paint& paint) {
  int n = 0;
  const pixman_box32_t* b = rgn.Rects(n);
  for (int i = 0; i < n; ++i) PaintDeviceRect(dc, b[i].x1, b[i].y1, b[i].x2, b[i].y2, paint);
}

}  // namespace win::gdi
