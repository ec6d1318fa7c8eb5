#include "platform/win/GdiRaster.h"

#include <algorithm>
#include <cmath>

namespace win::gdi {

namespace {

// Row y of the ellipse inscribed in the (normalised, non-empty) box.
Span EllipseRow(int left, int top, int right, int bottom, int y) {
  double cx = (left + right) / 2.0;
  double cy = (top + bottom) / 2.0;
  double rx = (right - left) / 2.0;
  double ry = (bottom - top) / 2.0;
  double dy = (y + 0.5 - cy) / ry;
  double v = 1.0 - dy * dy;
  if (v < 0) return {y, 0, 0};
  double hx = rx * std::sqrt(v);
  int x0 = static_cast<int>(std::ceil(cx - hx - 0.5 - 1e-9));
  int x1 = left + right - x0;  // mirrored
  if (x0 >= x1) return {y, 0, 0};
  return {y, x0, x1};
}

}  // namespace

void EllipseRows(int left, int top, int right, int bottom, std::vector<Span>& rows, int fromY, int toY) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  rows.clear();
  if (right == left || bottom == top) return;
  int y0 = std::max(top, fromY), y1 = std::min(bottom, toY);
  for (int y = y0; y < y1; ++y) rows.push_back(EllipseRow(left, top, right, bottom, y));
}

void RoundRectRows(int left, int top, int right, int bottom, int w, int h, std::vector<Span>& rows, int fromY,
                   int toY) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  int width = right - left;
  int height = bottom - top;
  w = std::min(std::abs(w), width);
  h = std::min(std::abs(h), height);
  rows.clear();
  if (width <= 0 || height <= 0) return;
  int y0 = std::max(top, fromY), y1 = std::min(bottom, toY);
  if (w <= 1 || h <= 1) {
    for (int y = y0; y < y1; ++y) rows.push_back({y, left, right});
    return;
  }
  int half = h / 2;
  int extra = width - w;
  for (int y = y0; y < y1; ++y) {
    int k;
    if (y - top < half)
      k = y - top;
    else if (bottom - 1 - y < half)
      k = h - 1 - (bottom - 1 - y);
    else {
      rows.push_back({y, left, right});
      continue;
    }
    Span c = EllipseRow(left, top, left + w, top + h, top + k);
    if (c.x0 >= c.x1)
      rows.push_back({y, 0, 0});
    else
      rows.push_back({y, c.x0, c.x1 + extra});
  }
}

void PolygonSpans(const std::vector<std::vector<PointD>>& polygons, int fillMode, std::vector<Span>& out, int fromY,
                  int toY) {
  struct Edge {
    double x0, y0, x1, y1;
    int dir;
  };
  std::vector<Edge> edges;
  double ymin = 1e18, ymax = -1e18;
  for (const auto& poly : polygons) {
    size_t n = poly.size();
    if (n < 2) continue;
    for (size_t i = 0; i < n; ++i) {
      PointD a = poly[i];
      PointD b = poly[(i + 1) % n];
      if (a.y == b.y) continue;
      int dir = 1;
      if (a.y > b.y) {
        std::swap(a, b);
        dir = -1;
      }
      edges.push_back({a.x, a.y, b.x, b.y, dir});
      ymin = std::min(ymin, a.y);
      ymax = std::max(ymax, b.y);
    }
  }
  if (edges.empty()) return;
  struct Cross {
    double x;
    int dir;
  };
  std::vector<Cross> xs;
  int yFirst = static_cast<int>(std::max<double>(std::ceil(ymin), fromY));
  int yEnd = static_cast<int>(std::min<double>(std::ceil(ymax), toY));
  for (int y = yFirst; y < yEnd; ++y) {
    xs.clear();
    for (const Edge& e : edges) {
      if (y < e.y0 || y >= e.y1) continue;
      // Numerator first: exact for integer corners.
      double x = (e.x0 * (e.y1 - e.y0) + (y - e.y0) * (e.x1 - e.x0)) / (e.y1 - e.y0);
      xs.push_back({x, e.dir});
    }
    std::sort(xs.begin(), xs.end(), [](const Cross& a, const Cross& b) { return a.x < b.x; });
    int winding = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      winding += fillMode == WINDING ? xs[i].dir : 1;
      bool inside = fillMode == WINDING ? winding != 0 : (winding & 1) != 0;
      if (!inside) continue;
      int x0 = static_cast<int>(std::ceil(xs[i].x));
      int x1 = static_cast<int>(std::ceil(xs[i + 1].x));
      if (x0 < x1) {
        if (!out.empty() && out.back().y == y && out.back().x1 >= x0)
          out.back().x1 = std::max(out.back().x1, x1);
        else
          out.push_back({y, x0, x1});
      }
    }
  }
}

Region RegionFromSpans(const std::vector<Span>& spans) {
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(spans.size());
  for (const Span& s : spans)
    if (s.x0 < s.x1) boxes.push_back({s.x0, s.y, s.x1, s.y + 1});
  Region r;
  if (!boxes.empty()) {
    pixman_region32_fini(r.get());
    pixman_region32_init_rects(r.get(), boxes.data(), static_cast<int>(boxes.size()));
  }
  return r;
}

}  // namespace win::gdi
