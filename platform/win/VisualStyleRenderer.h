// Draws the parts of our own visual style. Shapes are built for 96 dpi and
// scaled by the target's dpi; unlike the rest of GDI they are anti-aliased,
// so round and slanted edges look as they do on current desktops.
#pragma once

#include <cairo.h>

#include "platform/win/VisualStyleParts.h"
#include "platform/win/WinTypes.h"

namespace win::visualstyle {

// Paints one part into cr, whose origin is the part's top-left corner; the
// part is width x height device pixels at dpi.
void PaintPart(cairo_t* cr, ThemeClass cls, int part, int state, int width, int height, int dpi);

// Draws a part onto a DC: rect and clip (null: none) in the DC's logical
// coordinates, inside the DC's own clip; the result is blended over what
// the DC holds. False for an unknown DC.
bool DrawPartOnDC(HDC dc, ThemeClass cls, int part, int state, const RECT& rect, const RECT* clip);

// The pixels a part covers when drawn into rect (dc may be null: 96 dpi).
HRGN PartRegion(HDC dc, ThemeClass cls, int part, int state, const RECT& rect);

// Dots per inch of a DC (96 for none).
int DpiOf(HDC dc);

}  // namespace win::visualstyle
