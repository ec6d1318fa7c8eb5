#include "platform/win/GdiFrames.h"

#include <algorithm>

#include "platform/win/GdiPrivate.h"
#include "platform/win/GdiRaster.h"
#include "platform/win/SysColors.h"

namespace win {

using namespace gdi;

namespace {

void Fill(DCObject& dc, int l, int t, int r, int b, COLORREF color) {
  PaintDeviceRect(dc, l, t, r, b, SolidPaint(dc, color, R2_COPYPEN));
}

void Fill(DCObject& dc, const RECT& r, COLORREF color) { Fill(dc, r.left, r.top, r.right, r.bottom, color); }

RECT ToDevice(DCObject& dc, const RECT& r) {
  POINT a = LPtoDevice(dc, r.left, r.top), b = LPtoDevice(dc, r.right, r.bottom);
  return {a.x, a.y, b.x, b.y};
}

struct RingColors {
  COLORREF topLeft;
  COLORREF bottomRight;
};

// One ring of an edge: left and top in one colour, right and bottom in the
// other, which owns the top-right and bottom-left corners.
void Ring(DCObject& dc, RECT& r, RingColors c, UINT sides) {
  if (sides & BF_LEFT) Fill(dc, r.left, r.top, r.left + 1, r.bottom, c.topLeft);
  if (sides & BF_TOP) Fill(dc, r.left, r.top, r.right, r.top + 1, c.topLeft);
  if (sides & BF_RIGHT) Fill(dc, r.right - 1, r.top, r.right, r.bottom, c.bottomRight);
  if (sides & BF_BOTTOM) Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, c.bottomRight);
  if (sides & BF_LEFT) ++r.left;
  if (sides & BF_TOP) ++r.top;
  if (sides & BF_RIGHT) --r.right;
  if (sides & BF_BOTTOM) --r.bottom;
}

// One diagonal ring: a line from corner to corner of the box.
void DiagonalRing(DCObject& dc, RECT& r, COLORREF color, UINT flags) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int n = std::min(w, h);
  Paint p = SolidPaint(dc, color, R2_COPYPEN);
  bool rising = (flags & (BF_TOP | BF_RIGHT)) == (BF_TOP | BF_RIGHT) ||
                (flags & (BF_BOTTOM | BF_LEFT)) == (BF_BOTTOM | BF_LEFT);
  for (int i = 0; i < n; ++i) {
    int x = r.left + i;
    int y = rising ? r.bottom - 1 - i : r.top + i;
    PaintDeviceRect(dc, x, y, x + 1, y + 1, p);
  }
  if (rising) {
    --r.bottom;
    --r.right;
  } else {
    ++r.left;
    --r.bottom;
  }
}

void EdgeColors(UINT edge, UINT flags, RingColors& outer, RingColors& inner, bool& hasOuter, bool& hasInner) {
  hasOuter = (edge & BDR_OUTER) != 0;
  hasInner = (edge & BDR_INNER) != 0;
  bool soft = (flags & BF_SOFT) != 0;
  if (flags & BF_MONO) {
    outer = {GetSysColor(COLOR_WINDOWFRAME), GetSysColor(COLOR_WINDOWFRAME)};
    inner = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW)};
    return;
  }
  if (flags & BF_FLAT) {
    outer = {GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW)};
    inner = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)};
    return;
  }
  if (edge & BDR_RAISEDOUTER)
    outer = {GetSysColor(soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW)};
  else
    outer = {GetSysColor(soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT)};
  if (edge & BDR_RAISEDINNER)
    inner = {GetSysColor(soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW)};
  else
    inner = {GetSysColor(soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT)};
}

// Edge in device coordinates; r comes back as the inside.
void DeviceEdge(DCObject& dc, RECT& r, UINT edge, UINT flags) {
  RingColors outer, inner;
  bool hasOuter, hasInner;
  EdgeColors(edge, flags, outer, inner, hasOuter, hasInner);
  if (flags & BF_DIAGONAL) {
    if (hasOuter) DiagonalRing(dc, r, outer.bottomRight, flags);
    if (hasInner) DiagonalRing(dc, r, inner.bottomRight, flags);
    return;
  }
  UINT sides = flags & BF_RECT;
  if (hasOuter) Ring(dc, r, outer, sides);
  if (hasInner) Ring(dc, r, inner, sides);
  if ((flags & BF_MIDDLE) && r.left < r.right && r.top < r.bottom)
    Fill(dc, r, GetSysColor(flags & BF_MONO ? COLOR_WINDOW : COLOR_BTNFACE));
}

// Pictures -----------------------------------------------------------------------

// Paints rows of a figure, choosing per pixel between two colours: the
// second for pixels below the diagonal from bottom-left to top-right.
void PaintSplit(DCObject& dc, const std::vector<Span>& spans, const RECT& box, COLORREF topLeft,
                COLORREF bottomRight) {
  int w = box.right - box.left, h = box.bottom - box.top;
  Paint a = SolidPaint(dc, topLeft, R2_COPYPEN), b = SolidPaint(dc, bottomRight, R2_COPYPEN);
  for (const Span& s : spans)
    for (int x = s.x0; x < s.x1; ++x) {
      int px = x - box.left, py = s.y - box.top;
      bool below = static_cast<long long>(h - 1) * (w - 1 - px) < static_cast<long long>(py) * (w - 1);
      PaintDeviceRect(dc, x, s.y, x + 1, s.y + 1, below ? b : a);
    }
}

void PaintSpansColor(DCObject& dc, const std::vector<Span>& spans, COLORREF color) {
  Paint p = SolidPaint(dc, color, R2_COPYPEN);
  for (const Span& s : spans)
    if (s.x0 < s.x1) PaintDeviceRect(dc, s.x0, s.y, s.x1, s.y + 1, p);
}

// Outline (one pixel, closed) and inside of a figure given by its rows.
void Outline(const std::vector<Span>& rows, std::vector<Span>& inside, std::vector<Span>& outline) {
  size_t n = rows.size();
  for (size_t i = 0; i < n; ++i) {
    const Span& r = rows[i];
    if (r.x0 >= r.x1) continue;
    int il = r.x1, ir = r.x1;
    if (i > 0 && i + 1 < n && rows[i - 1].x0 < rows[i - 1].x1 && rows[i + 1].x0 < rows[i + 1].x1) {
      il = std::max({r.x0 + 1, rows[i - 1].x0, rows[i + 1].x0});
      ir = std::min({r.x1 - 1, rows[i - 1].x1, rows[i + 1].x1});
    }
    if (il >= ir) {
      outline.push_back(r);
      continue;
    }
    inside.push_back({r.y, il, ir});
    outline.push_back({r.y, r.x0, il});
    outline.push_back({r.y, ir, r.x1});
  }
}

// The check mark in a box interior of n x n pixels at (x, y).
void CheckMark(DCObject& dc, int x, int y, int n, COLORREF color) {
  if (n < 3) return;
  int width = n - 2;
  int arm = (width - 1) / 3;
  int thick = n >= 7 ? 3 : 1;
  int base = n - 1 - thick - arm;
  Paint p = SolidPaint(dc, color, R2_COPYPEN);
  for (int k = 0; k < width; ++k) {
    int y0 = k <= arm ? base + k : base + arm - (k - arm);
    PaintDeviceRect(dc, x + 1 + k, y + y0, x + 2 + k, y + y0 + thick, p);
  }
}

RECT SquareIn(const RECT& r, bool even) {
  int side = std::min(r.right - r.left, r.bottom - r.top);
  if (even) side &= ~1;
  int x = r.left + (r.right - r.left - side) / 2;
  int y = r.top + (r.bottom - r.top - side) / 2;
  return {x, y, x + side, y + side};
}

void CheckBox(DCObject& dc, const RECT& rect, UINT state) {
  RECT box = SquareIn(rect, false);
  if (box.right - box.left < 4) return;
  RECT in = box;
  if (state & DFCS_MONO)
    DeviceEdge(dc, in, BDR_SUNKENOUTER, BF_RECT | BF_MONO);
  else if (state & DFCS_FLAT)
    DeviceEdge(dc, in, BDR_SUNKENOUTER | BDR_SUNKENINNER, BF_RECT | BF_FLAT);
  else
    DeviceEdge(dc, in, EDGE_SUNKEN, BF_RECT);
  if (state & DFCS_MONO) {
    RECT ring = in;
    DeviceEdge(dc, ring, BDR_SUNKENINNER, BF_RECT | BF_MONO);
  }
  bool grey = (state & (DFCS_PUSHED | DFCS_INACTIVE)) || (state & DFCS_BUTTON3STATE && state & DFCS_CHECKED);
  Fill(dc, in, GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
  if (state & DFCS_CHECKED) {
    COLORREF c = (state & (DFCS_INACTIVE | DFCS_BUTTON3STATE)) ? GetSysColor(COLOR_BTNSHADOW)
                                                                : GetSysColor(COLOR_WINDOWTEXT);
    CheckMark(dc, in.left, in.top, in.right - in.left, c);
  }
}

void Radio(DCObject& dc, const RECT& rect, UINT state) {
  RECT box = SquareIn(rect, true);
  int d = box.right - box.left;
  if (d < 2) return;
  std::vector<Span> rows, inside, outer, innerRows, innerInside, inner;
  EllipseRows(box.left, box.top, box.right, box.bottom, rows);
  if (state & DFCS_BUTTONRADIOMASK) {
    // The mask: the button black, the rest of the rectangle white.
    Fill(dc, rect, RGB(255, 255, 255));
    PaintSpansColor(dc, rows, RGB(0, 0, 0));
    return;
  }
  Outline(rows, inside, outer);
  EllipseRows(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1, innerRows);
  Outline(innerRows, innerInside, inner);
  COLORREF face = GetSysColor((state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_BTNFACE : COLOR_WINDOW);
  if (state & DFCS_MONO) {
    PaintSpansColor(dc, outer, GetSysColor(COLOR_WINDOWFRAME));
    PaintSpansColor(dc, inside, face);
  } else if (state & DFCS_FLAT) {
    PaintSpansColor(dc, outer, GetSysColor(COLOR_BTNSHADOW));
    PaintSpansColor(dc, inside, face);
  } else {
    PaintSplit(dc, outer, box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    PaintSplit(dc, inner, box, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    PaintSpansColor(dc, innerInside, face);
  }
  if (state & DFCS_CHECKED) {
    int m = d / 3;
    std::vector<Span> dot;
    EllipseRows(box.left + m, box.top + m, box.right - m, box.bottom - m, dot);
    PaintSpansColor(dc, dot, GetSysColor((state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
  }
}

// A button face: raised, or sunken flat when pushed.
RECT ButtonFace(DCObject& dc, const RECT& rect, UINT state) {
  RECT r = rect;
  if (state & DFCS_MONO)
    DeviceEdge(dc, r, BDR_RAISEDOUTER, BF_RECT | BF_MONO | BF_MIDDLE);
  else if (state & (DFCS_PUSHED | DFCS_CHECKED))
    DeviceEdge(dc, r, (state & DFCS_FLAT) ? BDR_SUNKENOUTER : EDGE_SUNKEN,
               BF_RECT | BF_MIDDLE | ((state & DFCS_FLAT) ? BF_FLAT : BF_SOFT));
  else if (state & DFCS_FLAT)
    DeviceEdge(dc, r, BDR_RAISEDOUTER, BF_RECT | BF_MIDDLE | BF_FLAT);
  else
    DeviceEdge(dc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
  return r;
}

enum class Dir { Up, Down, Left, Right };

// A solid triangle of height th pointing dir, centred in r.
void Arrow(DCObject& dc, const RECT& r, Dir dir, int th, COLORREF color) {
  Paint p = SolidPaint(dc, color, R2_COPYPEN);
  int w = r.right - r.left, h = r.bottom - r.top;
  int cx = r.left + (w - 1) / 2, cy = r.top + (h - 1) / 2;
  for (int k = 0; k < th; ++k) {
    int half = k;
    switch (dir) {
      case Dir::Up: {
        int y = r.top + (h - th) / 2 + k;
        PaintDeviceRect(dc, cx - half, y, cx + half + 1, y + 1, p);
        break;
      }
      case Dir::Down: {
        int y = r.top + (h - th) / 2 + (th - 1 - k);
        PaintDeviceRect(dc, cx - half, y, cx + half + 1, y + 1, p);
        break;
      }
      case Dir::Left: {
        int x = r.left + (w - th) / 2 + k;
        PaintDeviceRect(dc, x, cy - half, x + 1, cy + half + 1, p);
        break;
      }
      case Dir::Right: {
        int x = r.left + (w - th) / 2 + (th - 1 - k);
        PaintDeviceRect(dc, x, cy - half, x + 1, cy + half + 1, p);
        break;
      }
    }
  }
}

void ScrollArrow(DCObject& dc, const RECT& rect, UINT state) {
  UINT kind = state & 0xFF;
  if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
    Fill(dc, rect, GetSysColor(COLOR_BTNFACE));
    int s = std::min(rect.right - rect.left, rect.bottom - rect.top);
    Paint light = SolidPaint(dc, GetSysColor(COLOR_BTNHIGHLIGHT), R2_COPYPEN);
    Paint dark = SolidPaint(dc, GetSysColor(COLOR_BTNSHADOW), R2_COPYPEN);
    // Three grooves: a light line followed by two dark ones, 45 degrees.
    for (int a = 1; a + 2 < s; a += 4)
      for (int line = 0; line < 3; ++line) {
        const Paint& p = line == 0 ? light : dark;
        int dist = a + line;
        for (int i = 0; i < dist; ++i) {
          int x = rect.right - dist + i, y = rect.bottom - 1 - i;
          PaintDeviceRect(dc, x, y, x + 1, y + 1, p);
        }
      }
    return;
  }
  RECT face = ButtonFace(dc, rect, state);
  (void)face;
  Dir dir = kind == DFCS_SCROLLUP ? Dir::Up
            : kind == DFCS_SCROLLLEFT ? Dir::Left
            : kind == DFCS_SCROLLRIGHT ? Dir::Right
                                       : Dir::Down;
  int m = std::min(rect.right - rect.left, rect.bottom - rect.top);
  int th = std::max(1, (m - 2) / 4 + 1);
  RECT r = rect;
  if (state & DFCS_PUSHED) {
    ++r.left;
    ++r.right;
    ++r.top;
    ++r.bottom;
  }
  if (state & DFCS_INACTIVE) {
    RECT e{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    Arrow(dc, e, dir, th, GetSysColor(COLOR_BTNHIGHLIGHT));
    Arrow(dc, r, dir, th, GetSysColor(COLOR_BTNSHADOW));
  } else {
    Arrow(dc, r, dir, th, GetSysColor(COLOR_BTNTEXT));
  }
}

// A cross of two-pixel diagonals filling the square s at (x, y).
void Cross(DCObject& dc, int x, int y, int s, COLORREF color) {
  Paint p = SolidPaint(dc, color, R2_COPYPEN);
  for (int i = 0; i < s; ++i) {
    PaintDeviceRect(dc, x + i, y + i, x + i + 2, y + i + 1, p);
    PaintDeviceRect(dc, x + s - 1 - i, y + i, x + s + 1 - i, y + i + 1, p);
  }
}

void CaptionButton(DCObject& dc, const RECT& rect, UINT state) {
  RECT r = rect;
  ButtonFace(dc, r, state);
  int w = r.right - r.left, h = r.bottom - r.top;
  int s = std::max(1, std::min(w, h) - 7);
  int x = r.left + (w - s) / 2 - 1, y = r.top + (h - s) / 2;
  if (state & DFCS_PUSHED) {
    ++x;
    ++y;
  }
  // A glyph of a button that does nothing is embossed: highlight below
  // right, shadow on top.
  const bool inactive = state & DFCS_INACTIVE;
  auto glyph = [&](int gx, int gy, COLORREF colour) {
    Paint p = SolidPaint(dc, colour, R2_COPYPEN);
    auto box = [&](int left, int top, int right, int bottom) {  // a window outline with a thick top
      PaintDeviceRect(dc, left, top, right + 1, top + 2, p);
      PaintDeviceRect(dc, left, bottom, right + 1, bottom + 1, p);
      PaintDeviceRect(dc, left, top, left + 1, bottom + 1, p);
      PaintDeviceRect(dc, right, top, right + 1, bottom + 1, p);
    };
    switch (state & 0xFF) {
      case DFCS_CAPTIONCLOSE: Cross(dc, gx, gy, s, colour); break;
      case DFCS_CAPTIONMIN: PaintDeviceRect(dc, gx, gy + s - 2, gx + s, gy + s, p); break;
      case DFCS_CAPTIONMAX: box(gx, gy, gx + s, gy + s); break;
      case DFCS_CAPTIONRESTORE: {
        // Two windows: the back one up and right, the front one over it.
        int w = std::max(3, s - 2);
        box(gx + s - w, gy, gx + s, gy + w - 1);
        Paint face = SolidPaint(dc, GetSysColor(COLOR_BTNFACE), R2_COPYPEN);
        PaintDeviceRect(dc, gx + 1, gy + s - w + 3, gx + w, gy + s, face);
        box(gx, gy + s - w + 1, gx + w, gy + s);
        break;
      }
      case DFCS_CAPTIONHELP: {
        // A question mark: the hook, the stem and the dot.
        int cx = gx + s / 2;
        PaintDeviceRect(dc, cx - 2, gy, cx + 2, gy + 2, p);
        PaintDeviceRect(dc, cx - 3, gy + 1, cx - 1, gy + 3, p);
        PaintDeviceRect(dc, cx + 1, gy + 1, cx + 3, gy + s / 2, p);
        PaintDeviceRect(dc, cx - 1, gy + s / 2 - 1, cx + 1, gy + s / 2 + 2, p);
        PaintDeviceRect(dc, cx - 1, gy + s - 1, cx + 1, gy + s + 1, p);
        break;
      }
      default: break;
    }
  };
  if (inactive) glyph(x + 1, y + 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  glyph(x, y, GetSysColor(inactive ? COLOR_BTNSHADOW : COLOR_BTNTEXT));
}

// Menu glyphs are black on white, meant as masks.
void MenuGlyph(DCObject& dc, const RECT& rect, UINT state) {
  Fill(dc, rect, RGB(255, 255, 255));
  int w = rect.right - rect.left, h = rect.bottom - rect.top;
  int m = std::min(w, h);
  switch (state & 0xFF) {
    case DFCS_MENUCHECK: {
      int n = std::max(3, m - 4);
      CheckMark(dc, rect.left + (w - n) / 2, rect.top + (h - n) / 2, n, RGB(0, 0, 0));
      break;
    }
    case DFCS_MENUBULLET: {
      int d = std::max(2, m / 3);
      int x = rect.left + (w - d) / 2, y = rect.top + (h - d) / 2;
      std::vector<Span> rows;
      EllipseRows(x, y, x + d, y + d, rows);
      PaintSpansColor(dc, rows, RGB(0, 0, 0));
      break;
    }
    case DFCS_MENUARROWRIGHT:
      Arrow(dc, rect, Dir::Left, std::max(1, (m + 1) / 3), RGB(0, 0, 0));
      break;
    default:
      Arrow(dc, rect, Dir::Right, std::max(1, (m + 1) / 3), RGB(0, 0, 0));
      break;
  }
}

}  // namespace

BOOL DrawEdge(HDC hdc, RECT* rect, UINT edge, UINT flags) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  RECT r = ToDevice(*dc, *rect);
  DeviceEdge(*dc, r, edge, flags);
  if (flags & BF_ADJUST) {
    int dx = rect->left - LToDeviceX(*dc, rect->left), dy = rect->top - LToDeviceY(*dc, rect->top);
    *rect = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
  }
  return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  RECT r = ToDevice(*dc, *rect);
  if (r.right <= r.left || r.bottom <= r.top) return TRUE;
  static const uint32_t kDots[4] = {0xFFFFFF, 0, 0, 0xFFFFFF};
  Paint p;
  p.pattern = true;
  p.pixels = kDots;
  p.width = p.height = 2;
  p.orgX = dc->surfaceOrg.x;
  p.orgY = dc->surfaceOrg.y;
  p.rop2 = R2_XORPEN;
  // Bands that do not overlap, so that every pixel is inverted once.
  PaintDeviceRect(*dc, r.left, r.top, r.right, r.top + 1, p);
  if (r.bottom - r.top > 1) PaintDeviceRect(*dc, r.left, r.bottom - 1, r.right, r.bottom, p);
  if (r.bottom - r.top > 2) {
    PaintDeviceRect(*dc, r.left, r.top + 1, r.left + 1, r.bottom - 1, p);
    if (r.right - r.left > 1) PaintDeviceRect(*dc, r.right - 1, r.top + 1, r.right, r.bottom - 1, p);
  }
  return TRUE;
}

BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !rect) return FALSE;
  RECT r = ToDevice(*dc, *rect);
  if (r.right <= r.left || r.bottom <= r.top) return FALSE;
  switch (type) {
    case DFC_BUTTON:
      if (state & DFCS_BUTTONPUSH) {
        RECT in = ButtonFace(*dc, r, state);
        if (state & DFCS_ADJUSTRECT) {
          int dx = rect->left - r.left, dy = rect->top - r.top;
          *rect = {in.left + dx, in.top + dy, in.right + dx, in.bottom + dy};
        }
      } else if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
        Radio(*dc, r, state);
      } else {
        CheckBox(*dc, r, state);
      }
      return TRUE;
    case DFC_SCROLL: ScrollArrow(*dc, r, state); return TRUE;
    case DFC_CAPTION: CaptionButton(*dc, r, state); return TRUE;
    case DFC_MENU:
    case DFC_POPUPMENU: MenuGlyph(*dc, r, state); return TRUE;
    default: return FALSE;
  }
}

}  // namespace win
