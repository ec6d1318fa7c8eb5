#include "platform/win/GdiShapes.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/win/GdiPrivate.h"
#include "platform/win/GdiRaster.h"

namespace win {

using namespace gdi;

namespace {

// On/off run lengths of the styled cosmetic pens, in pixels, starting "on".
struct DashStyle {
  const int* runs;
  int count;
};
constexpr int kDash[] = {18, 6};
constexpr int kDot[] = {3, 3};
constexpr int kDashDot[] = {9, 6, 3, 6};
constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
constexpr int kAlternate[] = {1, 1};

DashStyle StyleOf(int kind) {
  switch (kind) {
    case PS_DASH: return {kDash, 2};
    case PS_DOT: return {kDot, 2};
    case PS_DASHDOT: return {kDashDot, 4};
    case PS_DASHDOTDOT: return {kDashDotDot, 6};
    case PS_ALTERNATE: return {kAlternate, 2};
    default: return {nullptr, 0};
  }
}

// How the selected pen outlines things.
struct PenInfo {
  bool visible = false;
  bool wide = false;        // drawn as filled polygons
  bool insideFrame = false;
  int width = 1;
  int endCap = PS_ENDCAP_ROUND;
  int join = PS_JOIN_ROUND;
  DashStyle dash{nullptr, 0};
  Paint paint;
};

PenInfo PenOf(DCObject& dc) {
  PenInfo info;
  auto* pen = static_cast<PenObject*>(LookupAny(dc.s.pen));
  if (!pen || !PenPaint(dc, info.paint)) return info;
  info.visible = true;
  int kind = pen->Kind();
  info.width = pen->width;
  // A one-pixel geometric pen draws like a cosmetic one.
  info.wide = pen->width > 1;
  info.insideFrame = kind == PS_INSIDEFRAME;
  info.endCap = static_cast<int>(pen->style & PS_ENDCAP_MASK);
  info.join = static_cast<int>(pen->style & PS_JOIN_MASK);
  // Wide pens draw solid; styles apply to one-pixel lines.
  if (!info.wide)
    info.dash = kind == PS_USERSTYLE ? DashStyle{pen->userStyle.data(), static_cast<int>(pen->userStyle.size())}
                                     : StyleOf(kind);
  return info;
}

// The device box that can still be drawn on, one pixel larger all round.
void VisibleBox(DCObject& dc, int& left, int& top, int& right, int& bottom) {
  RECT box = EffectiveClip(dc).Box();
  left = box.left - dc.surfaceOrg.x - 1;
  top = box.top - dc.surfaceOrg.y - 1;
  right = box.right - dc.surfaceOrg.x + 1;
  bottom = box.bottom - dc.surfaceOrg.y + 1;
}

// Collects the pixels of a one-pixel line into runs and paints each run as
// one rectangle; the dash position carries on across the segments of one call.
class LineRasterizer {
 public:
  LineRasterizer(DCObject& dc, const PenInfo& pen) : dc_(dc), pen_(pen) {
    if (pen.dash.runs && dc.s.bkMode == OPAQUE) {
      gap_ = SolidPaint(dc, dc.s.bkColor, dc.s.rop2);
      hasGap_ = true;
    }
    if (pen.dash.runs) left_ = pen.dash.runs[0];
    VisibleBox(dc, visLeft_, visTop_, visRight_, visBottom_);
  }
  ~LineRasterizer() { Flush(); }

  // Device coordinates; the end point is not drawn. Only the steps whose
  // major coordinate can be seen are walked, so a line of any length costs
  // at most the surface's width or height.
  void Segment(int x0, int y0, int x1, int y1) {
    int64_t dx = std::llabs(int64_t{x1} - x0), dy = std::llabs(int64_t{y1} - y0);
    bool xMajor = dx >= dy;
    int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    int64_t a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
    int sa = (xMajor ? x0 < x1 : y0 < y1) ? 1 : -1;
    int sb = (xMajor ? y0 < y1 : x0 < x1) ? 1 : -1;
    int64_t lo = xMajor ? visLeft_ : visTop_, hi = xMajor ? visRight_ : visBottom_;
    int64_t first, last;  // steps [first, last)
    if (sa > 0) {
      first = std::max<int64_t>(0, lo - a0);
      last = std::min<int64_t>(major, hi - a0);
    } else {
      first = std::max<int64_t>(0, a0 - hi + 1);
      last = std::min<int64_t>(major, a0 - lo + 1);
    }
    if (first >= last) {
      Skip(major);
      return;
    }
    Skip(first);
    // The error term after `first` steps: err stays in [0, major).
    int64_t e0 = major / 2;
    __int128 owed = static_cast<__int128>(first) * minor - e0;
    int64_t k = owed > 0 ? static_cast<int64_t>((owed + major - 1) / major) : 0;
    int64_t err = static_cast<int64_t>(e0 - static_cast<__int128>(first) * minor + static_cast<__int128>(k) * major);
    int64_t a = a0 + sa * first, b = b0 + sb * k;
    for (int64_t i = first; i < last; ++i) {
      if (xMajor)
        Plot(static_cast<int>(a), static_cast<int>(b));
      else
        Plot(static_cast<int>(b), static_cast<int>(a));
      a += sa;
      err -= minor;
      if (err < 0) {
        b += sb;
        err += major;
      }
    }
    Skip(major - last);
  }

  // Advances the dash position over pixels that are not drawn.
  void Skip(int64_t pixels) {
    if (!pen_.dash.runs || pixels <= 0) return;
    Flush();
    int64_t period = 0;
    for (int i = 0; i < pen_.dash.count; ++i) period += pen_.dash.runs[i];
    pixels %= period;
    while (pixels > 0) {
      while (left_ <= 0) {
        index_ = (index_ + 1) % pen_.dash.count;
        left_ = pen_.dash.runs[index_];
      }
      int64_t step = std::min<int64_t>(pixels, left_);
      left_ -= static_cast<int>(step);
      pixels -= step;
    }
  }

  void Plot(int x, int y) {
    bool on = true;
    if (pen_.dash.runs) {
      while (left_ <= 0) {  // user styles may hold empty runs
        index_ = (index_ + 1) % pen_.dash.count;
        left_ = pen_.dash.runs[index_];
      }
      on = (index_ & 1) == 0;
      --left_;
      if (!on && !hasGap_) {
        Flush();
        return;
      }
    }
    if (open_ && on == runOn_) {
      if (y == t_ && y + 1 == b_ && (x == r_ || x + 1 == l_)) {
        l_ = std::min(l_, x);
        r_ = std::max(r_, x + 1);
        return;
      }
      if (x == l_ && x + 1 == r_ && (y == b_ || y + 1 == t_)) {
        t_ = std::min(t_, y);
        b_ = std::max(b_, y + 1);
        return;
      }
    }
    Flush();
    open_ = true;
    runOn_ = on;
    l_ = x;
    r_ = x + 1;
    t_ = y;
    b_ = y + 1;
  }

  void Flush() {
    if (!open_) return;
    open_ = false;
    PaintDeviceRect(dc_, l_, t_, r_, b_, runOn_ ? pen_.paint : gap_);
  }

 private:
  DCObject& dc_;
  const PenInfo& pen_;
  Paint gap_;
  bool hasGap_ = false;
  int index_ = 0;
  int left_ = 0;
  int visLeft_ = 0, visTop_ = 0, visRight_ = 0, visBottom_ = 0;
  bool open_ = false;
  bool runOn_ = true;
  int l_ = 0, t_ = 0, r_ = 0, b_ = 0;
};

struct RowRange {
  int from = kAllRowsFrom;
  int to = kAllRowsTo;
};

RowRange VisibleRows(DCObject& dc) {
  int l, t, r, b;
  VisibleBox(dc, l, t, r, b);
  return {t, b};
}

void DiskSpans(double cx, double cy, int width, std::vector<Span>& out, RowRange rr) {
  std::vector<Span> rows;
  int l = static_cast<int>(std::lround(cx - width / 2.0));
  int t = static_cast<int>(std::lround(cy - width / 2.0));
  EllipseRows(l, t, l + width, t + width, rows, rr.from, rr.to);
  out.insert(out.end(), rows.begin(), rows.end());
}

// The pixels of a wide polyline: one polygon per segment plus caps and
// joins, united so that a raster operation touches each pixel once.
void WideLineSpans(const std::vector<POINT>& pts, const PenInfo& pen, bool closed, std::vector<Span>& out,
                   RowRange rr) {
  double hw = pen.width / 2.0;
  std::vector<std::vector<PointD>> polys;
  size_t n = pts.size();
  size_t segments = closed ? n : n - 1;
  for (size_t i = 0; i < segments; ++i) {
    POINT a = pts[i], b = pts[(i + 1) % n];
    double dx = b.x - a.x, dy = b.y - a.y;
    double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) continue;
    double ux = dx / len, uy = dy / len, nx = -uy * hw, ny = ux * hw;
    bool first = i == 0 && !closed, last = i + 1 == segments && !closed;
    double ext0 = first && pen.endCap == PS_ENDCAP_SQUARE ? hw : 0;
    double ext1 = last && pen.endCap == PS_ENDCAP_SQUARE ? hw : 0;
    double ax = a.x - ux * ext0, ay = a.y - uy * ext0, bx = b.x + ux * ext1, by = b.y + uy * ext1;
    polys.push_back({{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}});
  }
  // Joins.
  for (size_t i = closed ? 0 : 1; i < (closed ? n : n - 1); ++i) {
    POINT p = pts[i];
    if (pen.join == PS_JOIN_ROUND) {
      DiskSpans(p.x, p.y, pen.width, out, rr);
      continue;
    }
    POINT a = pts[(i + n - 1) % n], b = pts[(i + 1) % n];
    double d1x = p.x - a.x, d1y = p.y - a.y, d2x = b.x - p.x, d2y = b.y - p.y;
    double l1 = std::hypot(d1x, d1y), l2 = std::hypot(d2x, d2y);
    if (l1 == 0 || l2 == 0) continue;
    double n1x = -d1y / l1 * hw, n1y = d1x / l1 * hw, n2x = -d2y / l2 * hw, n2y = d2x / l2 * hw;
    // A bevel on both sides; the inner one lies inside the segments anyway.
    polys.push_back({{double(p.x), double(p.y)}, {p.x + n1x, p.y + n1y}, {p.x + n2x, p.y + n2y}});
    polys.push_back({{double(p.x), double(p.y)}, {p.x - n1x, p.y - n1y}, {p.x - n2x, p.y - n2y}});
    if (pen.join == PS_JOIN_MITER) {
      double cross = d1x * d2y - d1y * d2x;
      double side = cross > 0 ? -1 : 1;  // the outer side of the turn
      double mx = n1x * side + n2x * side, my = n1y * side + n2y * side;
      double ml = std::hypot(mx, my);
      if (ml > 0) {
        double cosHalf = ml / (2 * hw);
        if (cosHalf > 0.1) {  // the default mitre limit of 10
          double k = hw / cosHalf / ml;
          polys.push_back({{double(p.x), double(p.y)},
                           {p.x + n1x * side, p.y + n1y * side},
                           {p.x + mx * k, p.y + my * k},
                           {p.x + n2x * side, p.y + n2y * side}});
        }
      }
    }
  }
  // Round caps.
  if (!closed && pen.endCap == PS_ENDCAP_ROUND) {
    DiskSpans(pts.front().x, pts.front().y, pen.width, out, rr);
    DiskSpans(pts.back().x, pts.back().y, pen.width, out, rr);
  }
  for (const auto& poly : polys) {
    std::vector<std::vector<PointD>> one{poly};
    PolygonSpans(one, WINDING, out, rr.from, rr.to);
  }
}

void PaintSpans(DCObject& dc, const std::vector<Span>& spans, const Paint& paint) {
  for (const Span& s : spans)
    if (s.x0 < s.x1) PaintDeviceRect(dc, s.x0, s.y, s.x1, s.y + 1, paint);
}

void PaintRegionSpans(DCObject& dc, const std::vector<Span>& spans, const Paint& paint) {
  // Overlapping pieces are united first so that XOR-like operations act once.
  PaintDeviceRegion(dc, RegionFromSpans(spans), paint);
}

// Strokes a polyline given in device coordinates.
void Stroke(DCObject& dc, const PenInfo& pen, const POINT* pts, size_t n, bool closed) {
  if (!pen.visible || n < 2) return;
  if (pen.wide) {
    std::vector<Span> spans;
    WideLineSpans(std::vector<POINT>(pts, pts + n), pen, closed, spans, VisibleRows(dc));
    PaintRegionSpans(dc, spans, pen.paint);
    return;
  }
  LineRasterizer lines(dc, pen);
  for (size_t i = 0; i + 1 < n; ++i) lines.Segment(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y);
  if (closed) lines.Segment(pts[n - 1].x, pts[n - 1].y, pts[0].x, pts[0].y);
}

void Stroke(DCObject& dc, const PenInfo& pen, const std::vector<POINT>& pts, bool closed) {
  Stroke(dc, pen, pts.data(), pts.size(), closed);
}

std::vector<POINT> ToDevice(DCObject& dc, const POINT* pts, size_t count) {
  std::vector<POINT> out(count);
  for (size_t i = 0; i < count; ++i) out[i] = LPtoDevice(dc, pts[i].x, pts[i].y);
  return out;
}

// Device points in the DC's scratch buffer, which keeps its size between calls.
const POINT* ToDeviceScratch(DCObject& dc, const POINT* pts, size_t count) {
  dc.pointScratch.resize(count);
  for (size_t i = 0; i < count; ++i) dc.pointScratch[i] = LPtoDevice(dc, pts[i].x, pts[i].y);
  return dc.pointScratch.data();
}

void AddFigure(DCObject& dc, std::vector<POINT> pts) {
  if (!pts.empty()) dc.figures.push_back(std::move(pts));
}

// Interior and outline of a figure given by its rows: a pixel is inside
// when its four neighbours belong to the figure, so the outline is one
// pixel wide and closed.
void SplitOutline(const std::vector<Span>& rows, std::vector<Span>& interior, std::vector<Span>& outline) {
  size_t n = rows.size();
  for (size_t i = 0; i < n; ++i) {
    const Span& r = rows[i];
    if (r.x0 >= r.x1) continue;
    int il = r.x1, ir = r.x1;
    if (i > 0 && i + 1 < n) {
      const Span& p = rows[i - 1];
      const Span& q = rows[i + 1];
      if (p.x0 < p.x1 && q.x0 < q.x1) {
        il = std::max({r.x0 + 1, p.x0, q.x0});
        ir = std::min({r.x1 - 1, p.x1, q.x1});
      }
    }
    if (il >= ir) {
      outline.push_back(r);
      continue;
    }
    interior.push_back({r.y, il, ir});
    outline.push_back({r.y, r.x0, il});
    outline.push_back({r.y, ir, r.x1});
  }
}

// Outline as the difference of an outer and an inner figure (wide pens).
void SubtractRows(const std::vector<Span>& outer, const std::vector<Span>& inner, std::vector<Span>& outline) {
  size_t j = 0;
  for (const Span& o : outer) {
    if (o.x0 >= o.x1) continue;
    while (j < inner.size() && inner[j].y < o.y) ++j;
    if (j < inner.size() && inner[j].y == o.y && inner[j].x0 < inner[j].x1) {
      const Span& in = inner[j];
      outline.push_back({o.y, o.x0, std::max(o.x0, in.x0)});
      outline.push_back({o.y, std::min(o.x1, in.x1), o.x1});
    } else {
      outline.push_back(o);
    }
  }
}

enum class Round { Ellipse, RoundRect };

// Ellipse and RoundRect: rows of the box, the brush inside, the pen around.
BOOL DrawRoundShape(HDC hdc, int l, int t, int r, int b, Round kind, int cw, int ch) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  POINT a = LPtoDevice(*dc, l, t), c = LPtoDevice(*dc, r, b);
  l = std::min(a.x, c.x);
  r = std::max(a.x, c.x);
  t = std::min(a.y, c.y);
  b = std::max(a.y, c.y);
  if (dc->inPath) {
    // The figure goes into the path as the staircase around its pixel rows,
    // so that the path's region holds exactly the pixels drawn.
    std::vector<Span> rows;
    if (kind == Round::Ellipse)
      EllipseRows(l, t, r, b, rows);
    else
      RoundRectRows(l, t, r, b, cw, ch, rows);
    std::vector<POINT> left, right;
    for (const Span& s : rows) {
      if (s.x0 >= s.x1) continue;
      left.push_back({s.x0, s.y});
      left.push_back({s.x0, s.y + 1});
      right.push_back({s.x1, s.y});
      right.push_back({s.x1, s.y + 1});
    }
    left.insert(left.end(), right.rbegin(), right.rend());
    AddFigure(*dc, std::move(left));
    return TRUE;
  }
  PenInfo pen = PenOf(*dc);
  RowRange rr = VisibleRows(*dc);
  auto rows = [&](int bl, int bt, int br, int bb, int w, int h, std::vector<Span>& out) {
    if (kind == Round::Ellipse)
      EllipseRows(bl, bt, br, bb, out, rr.from, rr.to);
    else
      RoundRectRows(bl, bt, br, bb, w, h, out, rr.from, rr.to);
  };
  Paint brush;
  bool hasBrush = BrushPaint(*dc, nullptr, brush, true);
  std::vector<Span> outer, interior, outline;
  if (!pen.visible) {
    // Without a pen the figure is one pixel smaller at the right and bottom.
    rows(l, t, r - 1, b - 1, cw, ch, outer);
    if (hasBrush) PaintSpans(*dc, outer, brush);
    return TRUE;
  }
  if (!pen.wide) {
    rows(l, t, r, b, cw, ch, outer);
    SplitOutline(outer, interior, outline);
  } else {
    int w = pen.width;
    int ol = l, ot = t, orr = r, ob = b;
    if (!pen.insideFrame) {
      ol -= w / 2;
      ot -= w / 2;
      orr += (w - 1) / 2;
      ob += (w - 1) / 2;
    }
    rows(ol, ot, orr, ob, cw + w, ch + w, outer);
    if (orr - ol > 2 * w && ob - ot > 2 * w) rows(ol + w, ot + w, orr - w, ob - w, cw - w, ch - w, interior);
    SubtractRows(outer, interior, outline);
  }
  if (hasBrush) PaintSpans(*dc, interior, brush);
  PaintSpans(*dc, outline, pen.paint);
  return TRUE;
}

int BrushFill(HDC hdc, const RECT* rect, HBRUSH brush, int rop2) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  Paint p;
  if (!BrushPaint(*dc, ResolveSysColorBrush(brush), p, false)) return FALSE;
  p.rop2 = rop2;
  POINT a = LPtoDevice(*dc, rect->left, rect->top), b = LPtoDevice(*dc, rect->right, rect->bottom);
  PaintDeviceRect(*dc, a.x, a.y, b.x, b.y, p);
  return TRUE;
}

}  // namespace

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return CLR_INVALID;
  POINT d = LPtoDevice(*dc, x, y);
  int sx = d.x + dc->surfaceOrg.x, sy = d.y + dc->surfaceOrg.y;
  if (!pixman_region32_contains_point(const_cast<pixman_region32_t*>(EffectiveClip(*dc).get()), sx, sy, nullptr))
    return CLR_INVALID;
  Paint p = SolidPaint(*dc, color, R2_COPYPEN);
  PaintSurfaceRect(*dc, sx, sy, sx + 1, sy + 1, p);
  return PixelToColor(p.color);
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) {
  return SetPixel(dc, x, y, color) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || dc->cr || !dc->px.row0) return CLR_INVALID;
  POINT d = LPtoDevice(*dc, x, y);
  int sx = d.x + dc->surfaceOrg.x, sy = d.y + dc->surfaceOrg.y;
  if (!pixman_region32_contains_point(const_cast<pixman_region32_t*>(EffectiveClip(*dc).get()), sx, sy, nullptr))
    return CLR_INVALID;
  return PixelToColor(dc->px.Row(sy)[sx] & 0x00FFFFFF);
}

BOOL LineTo(HDC hdc, int x, int y) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  POINT from = LPtoDevice(*dc, dc->s.currentPos.x, dc->s.currentPos.y);
  POINT to = LPtoDevice(*dc, x, y);
  dc->s.currentPos = {x, y};
  if (dc->inPath) {
    if (dc->figures.empty()) dc->figures.push_back({from});
    dc->figures.back().push_back(to);
    return TRUE;
  }
  const POINT segment[2] = {from, to};
  Stroke(*dc, PenOf(*dc), segment, 2, false);
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !points || count < 2) return FALSE;
  if (dc->inPath) {
    AddFigure(*dc, ToDevice(*dc, points, static_cast<size_t>(count)));
    return TRUE;
  }
  Stroke(*dc, PenOf(*dc), ToDeviceScratch(*dc, points, static_cast<size_t>(count)), static_cast<size_t>(count),
         false);
  return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* points, DWORD count) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !points || count == 0) return FALSE;
  std::vector<POINT> pts{dc->s.currentPos};
  pts.insert(pts.end(), points, points + count);
  dc->s.currentPos = points[count - 1];
  return Polyline(hdc, pts.data(), static_cast<int>(pts.size()));
}

BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylines) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !points || !counts) return FALSE;
  for (DWORD i = 0; i < polylines; ++i)
    if (counts[i] < 2) return FALSE;
  PenInfo pen = PenOf(*dc);
  for (DWORD i = 0; i < polylines; ++i) {
    if (dc->inPath)
      AddFigure(*dc, ToDevice(*dc, points, counts[i]));
    else
      Stroke(*dc, pen, ToDeviceScratch(*dc, points, counts[i]), counts[i], false);
    points += counts[i];
  }
  return TRUE;
}

BOOL PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polygons) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !points || !counts || polygons <= 0) return FALSE;
  std::vector<std::vector<POINT>> figs;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) return FALSE;
    figs.push_back(ToDevice(*dc, points, static_cast<size_t>(counts[i])));
    points += counts[i];
  }
  if (dc->inPath) {
    for (auto& f : figs) {
      f.push_back(f.front());
      AddFigure(*dc, std::move(f));
    }
    dc->pathClosed = false;
    return TRUE;
  }
  Paint brush;
  if (BrushPaint(*dc, nullptr, brush, true)) {
    std::vector<std::vector<PointD>> polys;
    for (const auto& f : figs) {
      polys.emplace_back();
      for (POINT p : f) polys.back().push_back({double(p.x), double(p.y)});
    }
    std::vector<Span> spans;
    RowRange rr = VisibleRows(*dc);
    PolygonSpans(polys, dc->s.polyFillMode, spans, rr.from, rr.to);
    PaintSpans(*dc, spans, brush);
  }
  PenInfo pen = PenOf(*dc);
  for (const auto& f : figs) Stroke(*dc, pen, f, true);
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  return PolyPolygon(hdc, points, &count, 1);
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  POINT a = LPtoDevice(*dc, left, top), c = LPtoDevice(*dc, right, bottom);
  int l = std::min(a.x, c.x), r = std::max(a.x, c.x), t = std::min(a.y, c.y), b = std::max(a.y, c.y);
  if (dc->inPath) {
    AddFigure(*dc, {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}});
    return TRUE;
  }
  PenInfo pen = PenOf(*dc);
  Paint brush;
  bool hasBrush = BrushPaint(*dc, nullptr, brush, true);
  if (!pen.visible) {
    // Without a pen the filled area is one pixel smaller at the right and bottom.
    if (hasBrush) PaintDeviceRect(*dc, l, t, r - 1, b - 1, brush);
    return TRUE;
  }
  if (pen.dash.runs) {
    if (hasBrush) PaintDeviceRect(*dc, l + 1, t + 1, r - 1, b - 1, brush);
    if (r - l >= 2 && b - t >= 2) Stroke(*dc, pen, {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}}, true);
    return TRUE;
  }
  int w = pen.wide ? pen.width : 1;
  int ol = l, ot = t, orr = r, ob = b;
  if (w > 1 && !pen.insideFrame) {
    ol = l - w / 2;
    ot = t - w / 2;
    orr = r - 1 - w / 2 + w;
    ob = b - 1 - w / 2 + w;
  }
  if (orr - ol <= 2 * w || ob - ot <= 2 * w) {
    PaintDeviceRect(*dc, ol, ot, orr, ob, pen.paint);
    return TRUE;
  }
  if (hasBrush) PaintDeviceRect(*dc, ol + w, ot + w, orr - w, ob - w, brush);
  PaintDeviceRect(*dc, ol, ot, orr, ot + w, pen.paint);
  PaintDeviceRect(*dc, ol, ob - w, orr, ob, pen.paint);
  PaintDeviceRect(*dc, ol, ot + w, ol + w, ob - w, pen.paint);
  PaintDeviceRect(*dc, orr - w, ot + w, orr, ob - w, pen.paint);
  return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  return DrawRoundShape(hdc, left, top, right, bottom, Round::RoundRect, width, height);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return DrawRoundShape(hdc, left, top, right, bottom, Round::Ellipse, 0, 0);
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) { return BrushFill(hdc, rect, brush, R2_COPYPEN); }

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  if (!rect) return FALSE;
  const RECT& r = *rect;
  if (r.right <= r.left || r.bottom <= r.top) return TRUE;
  RECT bands[4] = {{r.left, r.top, r.right, r.top + 1},
                   {r.left, r.bottom - 1, r.right, r.bottom},
                   {r.left, r.top + 1, r.left + 1, r.bottom - 1},
                   {r.right - 1, r.top + 1, r.right, r.bottom - 1}};
  int count = r.bottom - r.top > 1 ? 4 : 1;
  if (r.right - r.left == 1 && count == 4) count = 3;  // left and right band coincide
  for (int i = 0; i < count; ++i)
    if (!BrushFill(hdc, &bands[i], brush, R2_COPYPEN)) return FALSE;
  return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  POINT a = LPtoDevice(*dc, rect->left, rect->top), b = LPtoDevice(*dc, rect->right, rect->bottom);
  PaintDeviceRect(*dc, a.x, a.y, b.x, b.y, SolidPaint(*dc, 0, R2_NOT));
  return TRUE;
}

BOOL BeginPath(HDC hdc) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  dc->inPath = true;
  dc->pathClosed = false;
  dc->figures.clear();
  return TRUE;
}

BOOL EndPath(HDC hdc) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !dc->inPath) return FALSE;
  dc->inPath = false;
  dc->pathClosed = true;
  return TRUE;
}

BOOL AbortPath(HDC hdc) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  dc->inPath = false;
  dc->pathClosed = false;
  dc->figures.clear();
  return TRUE;
}

HRGN PathToRegion(HDC hdc) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !dc->pathClosed) return nullptr;
  std::vector<std::vector<PointD>> polys;
  for (const auto& f : dc->figures) {
    polys.emplace_back();
    for (POINT p : f) polys.back().push_back({double(p.x), double(p.y)});
  }
  std::vector<Span> spans;
  PolygonSpans(polys, dc->s.polyFillMode, spans);
  dc->figures.clear();
  dc->pathClosed = false;
  auto o = std::make_unique<RegionObject>();
  o->rgn = RegionFromSpans(spans);
  return ToHandle<HRGN>(Register(std::move(o)));
}

}  // namespace win
