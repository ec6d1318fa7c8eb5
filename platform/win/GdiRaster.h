// Scan conversion shared by the shapes, the regions and the paths: every
// figure becomes horizontal spans of whole pixels, so that all surfaces get
// the same pixels.
#pragma once

#include <vector>

#include "platform/win/GdiPrivate.h"

namespace win::gdi {

struct Span {
  int y;
  int x0;  // first pixel
  int x1;  // one past the last pixel
};

// Rows are only made for y in [fromY, toY): drawing asks for the rows it can
// see, so that huge figures cost no more than the surface.
constexpr int kAllRowsFrom = -(1 << 24);
constexpr int kAllRowsTo = 1 << 24;

// Row extents of the ellipse inscribed in the box, one entry per row from
// the box's top: a pixel belongs when its centre lies inside. Mirror
// symmetric; x0 >= x1 marks an empty row.
void EllipseRows(int left, int top, int right, int bottom, std::vector<Span>& rows, int fromY = kAllRowsFrom,
                 int toY = kAllRowsTo);
// The same for a rectangle with rounded corners (corner ellipse w x h).
void RoundRectRows(int left, int top, int right, int bottom, int w, int h, std::vector<Span>& rows,
                   int fromY = kAllRowsFrom, int toY = kAllRowsTo);

struct PointD {
  double x;
  double y;
};
// Polygons (closed implicitly) filled by the mode: a pixel (x, y) belongs
// when the point (x, y) lies inside, left and top edges included, right and
// bottom excluded.
void PolygonSpans(const std::vector<std::vector<PointD>>& polygons, int fillMode, std::vector<Span>& out,
                  int fromY = kAllRowsFrom, int toY = kAllRowsTo);

Region RegionFromSpans(const std::vector<Span>& spans);

}  // namespace win::gdi
