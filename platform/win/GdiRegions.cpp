#include "platform/win/GdiRegions.h"

#include <memory>

#include "platform/win/GdiPrivate.h"
#include "platform/win/GdiRaster.h"
#include "platform/win/SysColors.h"

namespace win {

using namespace gdi;

namespace {

HRGN AddRegion(Region rgn) {
  auto o = std::make_unique<RegionObject>();
  o->rgn = std::move(rgn);
  return ToHandle<HRGN>(Register(std::move(o)));
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return AddRegion(Region(left, top, right, bottom));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return nullptr;
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  std::vector<Span> rows;
  EllipseRows(left, top, right, bottom, rows);
  return AddRegion(RegionFromSpans(rows));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
  if (!rect) return nullptr;
  return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h) {
  std::vector<Span> rows;
  RoundRectRows(left, top, right, bottom, w, h, rows);
  return AddRegion(RegionFromSpans(rows));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
  std::vector<std::vector<PointD>> polys(1);
  for (int i = 0; i < count; ++i) polys[0].push_back({double(points[i].x), double(points[i].y)});
  std::vector<Span> spans;
  PolygonSpans(polys, fillMode, spans);
  return AddRegion(RegionFromSpans(spans));
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  RegionObject* r = LookupRgn(rgn);
  if (!r) return FALSE;
  r->rgn.SetRect(left, top, right, bottom);
  return TRUE;
}

namespace {
bool Combine(Region& dest, const Region& a, const Region* b, int mode) {
  switch (mode) {
    case RGN_COPY:
      dest = a;
      return true;
    case RGN_AND:
      return b && pixman_region32_intersect(dest.get(), const_cast<pixman_region32_t*>(a.get()),
                                            const_cast<pixman_region32_t*>(b->get()));
    case RGN_OR:
      return b && pixman_region32_union(dest.get(), const_cast<pixman_region32_t*>(a.get()),
                                        const_cast<pixman_region32_t*>(b->get()));
    case RGN_DIFF:
      return b && pixman_region32_subtract(dest.get(), const_cast<pixman_region32_t*>(a.get()),
                                           const_cast<pixman_region32_t*>(b->get()));
    case RGN_XOR: {
      if (!b) return false;
      Region ab, ba;
      pixman_region32_subtract(ab.get(), const_cast<pixman_region32_t*>(a.get()),
                               const_cast<pixman_region32_t*>(b->get()));
      pixman_region32_subtract(ba.get(), const_cast<pixman_region32_t*>(b->get()),
                               const_cast<pixman_region32_t*>(a.get()));
      return pixman_region32_union(dest.get(), ab.get(), ba.get());
    }
    default: return false;
  }
}
}  // namespace

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  RegionObject* d = LookupRgn(dest);
  RegionObject* a = LookupRgn(src1);
  RegionObject* b = mode == RGN_COPY ? nullptr : LookupRgn(src2);
  if (!d || !a || (mode != RGN_COPY && !b)) return ERROR;
  if (!Combine(d->rgn, a->rgn, b ? &b->rgn : nullptr, mode)) return ERROR;
  return d->rgn.Complexity();
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  RegionObject* r = LookupRgn(rgn);
  if (!r) return ERROR;
  r->rgn.Translate(dx, dy);
  return r->rgn.Complexity();
}

int GetRgnBox(HRGN rgn, RECT* box) {
  RegionObject* r = LookupRgn(rgn);
  if (!r || !box) return ERROR;
  *box = r->rgn.Box();
  return r->rgn.Complexity();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  RegionObject* r = LookupRgn(rgn);
  return r && pixman_region32_contains_point(r->rgn.get(), x, y, nullptr) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rect) {
  RegionObject* r = LookupRgn(rgn);
  if (!r || !rect) return FALSE;
  Region probe(rect->left, rect->top, rect->right, rect->bottom);
  if (probe.RectCount() == 0) return FALSE;
  Region both;
  pixman_region32_intersect(both.get(), r->rgn.get(), probe.get());
  return both.RectCount() > 0 ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN a, HRGN b) {
  RegionObject* ra = LookupRgn(a);
  RegionObject* rb = LookupRgn(b);
  if (!ra || !rb) return FALSE;
  return pixman_region32_equal(ra->rgn.get(), rb->rgn.get()) ? TRUE : FALSE;
}

// Drawing with regions ---------------------------------------------------------------

namespace {

// A region of the caller, moved from logical to device coordinates.
bool DeviceCopy(DCObject& dc, HRGN rgn, Region& out) {
  RegionObject* r = LookupRgn(rgn);
  if (!r) return false;
  out = r->rgn;
  out.Translate(dc.s.viewportOrg.x - dc.s.windowOrg.x, dc.s.viewportOrg.y - dc.s.windowOrg.y);
  return true;
}

// FillRect and FillRgn take a system colour index plus one in place of a brush.
HBRUSH ResolveBrush(HBRUSH brush) {
  auto value = reinterpret_cast<uintptr_t>(brush);
  if (value >= 1 && value <= static_cast<uintptr_t>(COLOR_COUNT)) return GetSysColorBrush(static_cast<int>(value) - 1);
  return brush;
}

}  // namespace

namespace gdi {
HBRUSH ResolveSysColorBrush(HBRUSH brush) { return ResolveBrush(brush); }
}  // namespace gdi

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
  DCObject* dc = LookupDC(hdc);
  Region dev;
  if (!dc || !DeviceCopy(*dc, rgn, dev)) return FALSE;
  Paint p;
  if (!BrushPaint(*dc, ResolveBrush(brush), p, false)) return FALSE;
  p.rop2 = R2_COPYPEN;
  PaintDeviceRegion(*dc, dev, p);
  return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height) {
  DCObject* dc = LookupDC(hdc);
  Region dev;
  if (!dc || !DeviceCopy(*dc, rgn, dev) || width < 1 || height < 1) return FALSE;
  Paint p;
  if (!BrushPaint(*dc, ResolveBrush(brush), p, false)) return FALSE;
  p.rop2 = R2_COPYPEN;
  // The frame is what the region loses when eroded by width x height in all
  // eight directions, so that inner corners are closed too.
  Region inner = dev;
  const int shifts[8][2] = {{width, 0},      {-width, 0},     {0, height},      {0, -height},
                            {width, height}, {-width, height}, {width, -height}, {-width, -height}};
  for (const auto& s : shifts) {
    Region moved = dev;
    moved.Translate(s[0], s[1]);
    pixman_region32_intersect(inner.get(), inner.get(), moved.get());
  }
  Region frame;
  pixman_region32_subtract(frame.get(), dev.get(), inner.get());
  PaintDeviceRegion(*dc, frame, p);
  return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN rgn) {
  DCObject* dc = LookupDC(hdc);
  Region dev;
  if (!dc || !DeviceCopy(*dc, rgn, dev)) return FALSE;
  PaintDeviceRegion(*dc, dev, SolidPaint(*dc, 0, R2_NOT));
  return TRUE;
}

// Clipping ------------------------------------------------------------------------------

namespace {

// Everything the DC can reach, in device coordinates: what "no clip" means
// when a clip operation needs a region to start from.
Region DeviceBounds(DCObject& dc) {
  if (dc.hasVisible) return dc.visible;
  return Region(-dc.surfaceOrg.x, -dc.surfaceOrg.y, dc.SurfaceWidth() - dc.surfaceOrg.x,
                dc.SurfaceHeight() - dc.surfaceOrg.y);
}

int ClipResult(DCObject& dc) {
  InvalidateClip(dc);
  return EffectiveClip(dc).Complexity();
}

}  // namespace

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR;
    dc->s.hasClip = false;
    dc->s.clip.SetEmpty();
    return ClipResult(*dc);
  }
  RegionObject* r = LookupRgn(rgn);
  if (!r) return ERROR;
  if (mode == RGN_COPY) {
    dc->s.clip = r->rgn;
  } else {
    Region base = dc->s.hasClip ? dc->s.clip : DeviceBounds(*dc);
    if (!Combine(dc->s.clip, base, &r->rgn, mode)) return ERROR;
  }
  dc->s.hasClip = true;
  return ClipResult(*dc);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  POINT a = LPtoDevice(*dc, left, top);
  POINT b = LPtoDevice(*dc, right, bottom);
  Region rect(a.x, a.y, b.x, b.y);
  if (dc->s.hasClip)
    pixman_region32_intersect(dc->s.clip.get(), dc->s.clip.get(), rect.get());
  else
    dc->s.clip = rect;
  dc->s.hasClip = true;
  return ClipResult(*dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  POINT a = LPtoDevice(*dc, left, top);
  POINT b = LPtoDevice(*dc, right, bottom);
  Region rect(a.x, a.y, b.x, b.y);
  if (!dc->s.hasClip) dc->s.clip = DeviceBounds(*dc);
  pixman_region32_subtract(dc->s.clip.get(), dc->s.clip.get(), rect.get());
  dc->s.hasClip = true;
  return ClipResult(*dc);
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return ERROR;
  if (dc->s.hasClip) dc->s.clip.Translate(dx, dy);
  return ClipResult(*dc);
}

int GetClipRgn(HDC hdc, HRGN rgn) {
  DCObject* dc = LookupDC(hdc);
  RegionObject* r = LookupRgn(rgn);
  if (!dc || !r) return -1;
  if (!dc->s.hasClip) return 0;
  r->rgn = dc->s.clip;
  return 1;
}

int GetClipBox(HDC hdc, RECT* rect) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !rect) return ERROR;
  const Region& eff = EffectiveClip(*dc);
  RECT box = eff.Box();
  int dx = dc->surfaceOrg.x + dc->s.viewportOrg.x - dc->s.windowOrg.x;
  int dy = dc->surfaceOrg.y + dc->s.viewportOrg.y - dc->s.windowOrg.y;
  *rect = {box.left - dx, box.top - dy, box.right - dx, box.bottom - dy};
  return eff.Complexity();
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  POINT a = LPtoDevice(*dc, rect->left, rect->top);
  POINT b = LPtoDevice(*dc, rect->right, rect->bottom);
  Region probe(a.x + dc->surfaceOrg.x, a.y + dc->surfaceOrg.y, b.x + dc->surfaceOrg.x, b.y + dc->surfaceOrg.y);
  Region both;
  pixman_region32_intersect(both.get(), const_cast<pixman_region32_t*>(EffectiveClip(*dc).get()), probe.get());
  return both.RectCount() > 0 ? TRUE : FALSE;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  POINT d = LPtoDevice(*dc, x, y);
  return pixman_region32_contains_point(const_cast<pixman_region32_t*>(EffectiveClip(*dc).get()),
                                        d.x + dc->surfaceOrg.x, d.y + dc->surfaceOrg.y, nullptr)
             ? TRUE
             : FALSE;
}

}  // namespace win
