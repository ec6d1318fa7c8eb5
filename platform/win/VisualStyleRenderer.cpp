#include "platform/win/VisualStyleRenderer.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/win/Gdi.h"
#include "platform/win/GdiPrivate.h"
#include "platform/win/ThemeSchema.h"

namespace win::visualstyle {

namespace {

using gdi::DCObject;
using gdi::Region;

enum class Dir { Up, Down, Left, Right };

// Lengths of the 96-dpi design at the target's dpi.
struct Metrics {
  double s;  // scale
  double Len(double v96) const { return v96 * s; }
  // Line widths stay whole pixels, so that straight borders stay crisp.
  double Line(double v96 = 1) const { return std::max(1.0, std::round(v96 * s)); }
};

void SetColor(cairo_t* cr, uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  if (r <= 0) {
    cairo_rectangle(cr, x, y, w, h);
    return;
  }
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void FillRect(cairo_t* cr, double x, double y, double w, double h, uint32_t color) {
  if (color == kNone || w <= 0 || h <= 0) return;
  SetColor(cr, color);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

// A box with a border ring of width line and the fill inside it; either may
// be kNone.
void FramedBox(cairo_t* cr, double x, double y, double w, double h, double radius, double line, uint32_t border,
               uint32_t fill) {
  if (w <= 0 || h <= 0) return;
  if (border == kNone) line = 0;
  double ir = std::max(0.0, radius - line);
  if (fill != kNone && w > 2 * line && h > 2 * line) {
    SetColor(cr, fill);
    RoundedRect(cr, x + line, y + line, w - 2 * line, h - 2 * line, ir);
    cairo_fill(cr);
  }
  if (line > 0) {
    SetColor(cr, border);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    RoundedRect(cr, x, y, w, h, radius);
    if (w > 2 * line && h > 2 * line) RoundedRect(cr, x + line, y + line, w - 2 * line, h - 2 * line, ir);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  }
}

// Stroked open arrow head pointing dir, half its width wide each side.
void Chevron(cairo_t* cr, double cx, double cy, double half, Dir dir, double line, uint32_t color) {
  if (color == kNone) return;
  double d = half / 2;
  SetColor(cr, color);
  cairo_set_line_width(cr, line);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  switch (dir) {
    case Dir::Up:
      cairo_move_to(cr, cx - half, cy + d);
      cairo_line_to(cr, cx, cy - d);
      cairo_line_to(cr, cx + half, cy + d);
      break;
    case Dir::Down:
      cairo_move_to(cr, cx - half, cy - d);
      cairo_line_to(cr, cx, cy + d);
      cairo_line_to(cr, cx + half, cy - d);
      break;
    case Dir::Left:
      cairo_move_to(cr, cx + d, cy - half);
      cairo_line_to(cr, cx - d, cy);
      cairo_line_to(cr, cx + d, cy + half);
      break;
    case Dir::Right:
      cairo_move_to(cr, cx - d, cy - half);
      cairo_line_to(cr, cx + d, cy);
      cairo_line_to(cr, cx - d, cy + half);
      break;
  }
  cairo_stroke(cr);
}

// Filled arrow head.
void Triangle(cairo_t* cr, double cx, double cy, double half, Dir dir, uint32_t color) {
  if (color == kNone) return;
  double d = half / 2;
  SetColor(cr, color);
  switch (dir) {
    case Dir::Up:
      cairo_move_to(cr, cx - half, cy + d);
      cairo_line_to(cr, cx + half, cy + d);
      cairo_line_to(cr, cx, cy - d);
      break;
    case Dir::Down:
      cairo_move_to(cr, cx - half, cy - d);
      cairo_line_to(cr, cx + half, cy - d);
      cairo_line_to(cr, cx, cy + d);
      break;
    case Dir::Left:
      cairo_move_to(cr, cx + d, cy - half);
      cairo_line_to(cr, cx + d, cy + half);
      cairo_line_to(cr, cx - d, cy);
      break;
    case Dir::Right:
      cairo_move_to(cr, cx - d, cy - half);
      cairo_line_to(cr, cx - d, cy + half);
      cairo_line_to(cr, cx + d, cy);
      break;
  }
  cairo_close_path(cr);
  cairo_fill(cr);
}

void Cross(cairo_t* cr, double cx, double cy, double half, double line, uint32_t color) {
  if (color == kNone) return;
  SetColor(cr, color);
  cairo_set_line_width(cr, line);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, cx - half, cy - half);
  cairo_line_to(cr, cx + half, cy + half);
  cairo_move_to(cr, cx + half, cy - half);
  cairo_line_to(cr, cx - half, cy + half);
  cairo_stroke(cr);
}

void Circle(cairo_t* cr, double cx, double cy, double r, uint32_t color) {
  if (color == kNone || r <= 0) return;
  SetColor(cr, color);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_fill(cr);
}

void Ring(cairo_t* cr, double cx, double cy, double r, double line, uint32_t border, uint32_t fill) {
  if (fill != kNone) Circle(cr, cx, cy, r - line, fill);
  if (border == kNone || r <= 0) return;
  SetColor(cr, border);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  if (r > line) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r - line, 0, 2 * M_PI);
  }
  cairo_fill(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void PaintButton(cairo_t* cr, const Metrics& m, int part, int state, double w, double h, const StateLook& l) {
  switch (part) {
    case BP_PUSHBUTTON: {
      double line = m.Line(state == PBS_DEFAULTED ? 2 : 1);
      FramedBox(cr, 0, 0, w, h, m.Len(2), line, l.border, l.fill);
      return;
    }
    case BP_RADIOBUTTON: {
      double d = std::min(w, h);
      double cx = w / 2, cy = h / 2;
      Ring(cr, cx, cy, d / 2, m.Line(), l.border, l.fill);
      Circle(cr, cx, cy, d / 4, l.glyph);
      return;
    }
    case BP_CHECKBOX: {
      double d = std::min(w, h);
      double x = std::floor((w - d) / 2), y = std::floor((h - d) / 2);
      FramedBox(cr, x, y, d, d, 0, m.Line(), l.border, l.fill);
      if (l.glyph == kNone) return;
      if (state >= CBS_MIXEDNORMAL) {
        double inset = std::round(d * 0.27);
        FillRect(cr, x + inset, y + inset, d - 2 * inset, d - 2 * inset, l.glyph);
        return;
      }
      SetColor(cr, l.glyph);
      cairo_set_line_width(cr, std::max(1.0, d * 0.13));
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_move_to(cr, x + d * 0.22, y + d * 0.52);
      cairo_line_to(cr, x + d * 0.42, y + d * 0.72);
      cairo_line_to(cr, x + d * 0.78, y + d * 0.30);
      cairo_stroke(cr);
      return;
    }
    case BP_GROUPBOX: FramedBox(cr, 0, 0, w, h, 0, m.Line(), l.border, kNone); return;
  }
}

void PaintExplorerBar(cairo_t* cr, const Metrics& m, int part, int state, double w, double h, const StateLook& l) {
  double line = m.Line();
  double cx = w / 2, cy = h / 2;
  switch (part) {
    case EBP_HEADERBACKGROUND:
      FillRect(cr, 0, 0, w, h, l.fill);
      FillRect(cr, 0, h - line, w, line, l.border);
      return;
    case EBP_NORMALGROUPBACKGROUND:
    case EBP_SPECIALGROUPBACKGROUND: FramedBox(cr, 0, 0, w, h, 0, line, l.border, l.fill); return;
    case EBP_NORMALGROUPHEAD:
    case EBP_SPECIALGROUPHEAD: FillRect(cr, 0, 0, w, h, l.fill); return;
    case EBP_HEADERCLOSE:
    case EBP_HEADERPIN:
    case EBP_IEBARMENU: {
      if (l.fill != kNone) FramedBox(cr, 0, 0, w, h, m.Len(2), 0, kNone, l.fill);
      double half = std::min(w, h) / 2 - m.Len(4);
      if (part == EBP_HEADERCLOSE) {
        Cross(cr, cx, cy, std::max(1.0, half), line, l.glyph);
      } else if (part == EBP_IEBARMENU) {
        Triangle(cr, cx, cy, std::max(1.0, m.Len(4)), Dir::Down, l.glyph);
      } else {
        // A pin: its head and needle lie across the button when it is not
        // stuck in (states 1-3) and upright when it is.
        bool in = state >= EBHP_SELECTEDNORMAL;
        double head = m.Len(3), len = m.Len(4);
        SetColor(cr, l.glyph);
        if (in) {
          cairo_rectangle(cr, cx - head, cy - len - head / 2, 2 * head, head + len / 2);
          cairo_fill(cr);
          FillRect(cr, std::round(cx - line / 2), cy, line, len, l.glyph);
        } else {
          cairo_rectangle(cr, cx, cy - head, head + len / 2, 2 * head);
          cairo_fill(cr);
          FillRect(cr, cx - len, std::round(cy - line / 2), len, line, l.glyph);
        }
      }
      return;
    }
    default: {  // group collapse / expand: a ring with a chevron
      double r = std::min(w, h) / 2 - m.Len(1);
      Ring(cr, cx, cy, r, line, l.border, l.fill);
      bool collapse = part == EBP_NORMALGROUPCOLLAPSE || part == EBP_SPECIALGROUPCOLLAPSE;
      Chevron(cr, cx, cy, r * 0.45, collapse ? Dir::Up : Dir::Down, line, l.glyph);
      return;
    }
  }
}

void PaintScrollBar(cairo_t* cr, const Metrics& m, int part, int state, double w, double h, const StateLook& l) {
  double line = m.Line();
  switch (part) {
    case SBP_ARROWBTN: {
      FillRect(cr, 0, 0, w, h, l.fill);
      static constexpr Dir kDirs[4] = {Dir::Up, Dir::Down, Dir::Left, Dir::Right};
      double half = std::max(1.0, std::min({m.Len(4), w / 2 - line, h / 2 - line}));
      Triangle(cr, w / 2, h / 2, half, kDirs[(state - 1) / 4], l.glyph);
      return;
    }
    case SBP_THUMBBTNHORZ:
    case SBP_THUMBBTNVERT: {
      FillRect(cr, 0, 0, w, h, l.fill);
      double inset = m.Len(2);
      if (part == SBP_THUMBBTNHORZ)
        FramedBox(cr, 0, inset, w, h - 2 * inset, 0, 0, kNone, l.glyph);
      else
        FramedBox(cr, inset, 0, w - 2 * inset, h, 0, 0, kNone, l.glyph);
      return;
    }
    case SBP_GRIPPERHORZ:
    case SBP_GRIPPERVERT: {
      // Three short lines across the thumb, in its middle.
      bool across = part == SBP_GRIPPERHORZ;  // vertical lines on a horizontal thumb
      double len = std::min(m.Len(6), across ? h - 2 * line : w - 2 * line);
      double gap = m.Len(2);
      for (int i = -1; i <= 1; ++i) {
        if (across)
          FillRect(cr, std::round(w / 2 + i * (gap + line) - line / 2), std::round((h - len) / 2), line, len, l.glyph);
        else
          FillRect(cr, std::round((w - len) / 2), std::round(h / 2 + i * (gap + line) - line / 2), len, line, l.glyph);
      }
      return;
    }
    case SBP_SIZEBOX: {
      FillRect(cr, 0, 0, w, h, l.fill);
      // Six dots in a triangle towards the corner the window is sized from.
      double dot = m.Line(2), step = m.Len(4);
      bool left = state == SZB_LEFTALIGN;
      for (int row = 0; row < 3; ++row)
        for (int col = 0; col <= row; ++col) {
          double y = h - m.Len(3) - dot - (2 - row) * step;
          double x = left ? m.Len(3) + col * step : w - m.Len(3) - dot - col * step;
          FillRect(cr, std::round(x), std::round(y), dot, dot, l.glyph);
        }
      return;
    }
    default: FillRect(cr, 0, 0, w, h, l.fill); return;  // tracks
  }
}

void PaintTab(cairo_t* cr, const Metrics& m, int part, double w, double h, const StateLook& l) {
  double line = m.Line();
  if (part == TABP_PANE) {
    FramedBox(cr, 0, 0, w, h, 0, line, l.border, l.fill);
    return;
  }
  if (part == TABP_BODY) {
    FillRect(cr, 0, 0, w, h, l.fill);
    return;
  }
  // Tab items are open at the bottom, where they meet the pane.
  FillRect(cr, 0, 0, w, h, l.fill);
  FillRect(cr, 0, 0, w, line, l.border);
  FillRect(cr, 0, 0, line, h, l.border);
  FillRect(cr, w - line, 0, line, h, l.border);
  if (l.glyph != kNone) FillRect(cr, line, line, w - 2 * line, m.Line(2), l.glyph);
}

void PaintToolBar(cairo_t* cr, const Metrics& m, int part, double w, double h, const StateLook& l) {
  double line = m.Line();
  if (part == TP_SEPARATOR) {
    FillRect(cr, std::round((w - line) / 2), m.Len(2), line, h - m.Len(4), l.glyph);
    return;
  }
  if (part == TP_SEPARATORVERT) {
    FillRect(cr, m.Len(2), std::round((h - line) / 2), w - m.Len(4), line, l.glyph);
    return;
  }
  FramedBox(cr, 0, 0, w, h, 0, line, l.border, l.fill);
  if (part == TP_DROPDOWNBUTTON)
    Triangle(cr, w - m.Len(7), h / 2, m.Len(3), Dir::Down, l.glyph);
  else if (part == TP_SPLITBUTTONDROPDOWN)
    Triangle(cr, w / 2, h / 2, m.Len(3), Dir::Down, l.glyph);
}

void PaintTrackBar(cairo_t* cr, const Metrics& m, int part, double w, double h, const StateLook& l) {
  double line = m.Line();
  switch (part) {
    case TKP_TRACK:
    case TKP_TRACKVERT: FramedBox(cr, 0, 0, w, h, 0, line, l.border, l.fill); return;
    case TKP_TICS:
    case TKP_TICSVERT: FillRect(cr, 0, 0, w, h, l.fill); return;
    case TKP_THUMB:
    case TKP_THUMBVERT: FramedBox(cr, 0, 0, w, h, std::min(w, h) / 2, 0, kNone, l.fill); return;
    default: break;
  }
  // Pointed thumbs: a body with one end drawn to a point.
  double tip;
  SetColor(cr, l.fill);
  switch (part) {
    case TKP_THUMBBOTTOM:
      tip = std::min(w / 2, h / 2);
      cairo_move_to(cr, 0, 0);
      cairo_line_to(cr, w, 0);
      cairo_line_to(cr, w, h - tip);
      cairo_line_to(cr, w / 2, h);
      cairo_line_to(cr, 0, h - tip);
      break;
    case TKP_THUMBTOP:
      tip = std::min(w / 2, h / 2);
      cairo_move_to(cr, 0, tip);
      cairo_line_to(cr, w / 2, 0);
      cairo_line_to(cr, w, tip);
      cairo_line_to(cr, w, h);
      cairo_line_to(cr, 0, h);
      break;
    case TKP_THUMBLEFT:
      tip = std::min(w / 2, h / 2);
      cairo_move_to(cr, tip, 0);
      cairo_line_to(cr, w, 0);
      cairo_line_to(cr, w, h);
      cairo_line_to(cr, tip, h);
      cairo_line_to(cr, 0, h / 2);
      break;
    default:  // TKP_THUMBRIGHT
      tip = std::min(w / 2, h / 2);
      cairo_move_to(cr, 0, 0);
      cairo_line_to(cr, w - tip, 0);
      cairo_line_to(cr, w, h / 2);
      cairo_line_to(cr, w - tip, h);
      cairo_line_to(cr, 0, h);
      break;
  }
  cairo_close_path(cr);
  cairo_fill(cr);
}

// Blends the premultiplied image over the DC's pixels inside region
// (surface coordinates); img's (0, 0) sits at surface (ox, oy).
void Blend(DCObject& dc, cairo_surface_t* img, int ox, int oy, const Region& region) {
  cairo_surface_flush(img);
  const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(img));
  int stride = cairo_image_surface_get_stride(img) / 4;
  bool mono = gdi::IsMonoTarget(dc);
  int n = 0;
  const pixman_box32_t* boxes = region.Rects(n);
  for (int i = 0; i < n; ++i) {
    const pixman_box32_t& b = boxes[i];
    for (int y = b.y1; y < b.y2; ++y) {
      const uint32_t* src = data + static_cast<ptrdiff_t>(y - oy) * stride - ox;
      uint32_t* dst = dc.px.Row(y);
      for (int x = b.x1; x < b.x2; ++x) {
        uint32_t s = src[x];
        uint32_t a = s >> 24;
        if (a == 0) continue;
        uint32_t out;
        if (a == 255) {
          out = s & 0xFFFFFF;
        } else {
          uint32_t d = dst[x], inv = 255 - a;
          auto ch = [&](int shift) {
            uint32_t v = ((s >> shift) & 0xFF) + (((d >> shift) & 0xFF) * inv + 127) / 255;
            return std::min<uint32_t>(v, 255) << shift;
          };
          out = ch(16) | ch(8) | ch(0);
        }
        dst[x] = mono ? gdi::ColorToPixel(gdi::PixelToColor(out), true) : out;
      }
    }
  }
}

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using CairoPtr = std::unique_ptr<cairo_t, CairoDeleter>;

// The part (partW x partH) painted into a transparent image of w x h pixels
// whose (0, 0) is the part's (offX, offY).
SurfacePtr Render(ThemeClass cls, int part, int state, int partW, int partH, int dpi, int offX, int offY, int w,
                  int h) {
  SurfacePtr img(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  CairoPtr cr(cairo_create(img.get()));
  cairo_translate(cr.get(), -offX, -offY);
  cairo_rectangle(cr.get(), 0, 0, partW, partH);
  cairo_clip(cr.get());
  PaintPart(cr.get(), cls, part, state, partW, partH, dpi);
  return img;
}

}  // namespace

int DpiOf(HDC dc) {
  DCObject* d = gdi::LookupDC(dc);
  return d && d->dpiX > 0 ? d->dpiX : 96;
}

void PaintPart(cairo_t* cr, ThemeClass cls, int part, int state, int width, int height, int dpi) {
  const PartInfo* info = FindPart(cls, part);
  if (!info || width <= 0 || height <= 0) return;
  state = EffectiveState(*info, state);
  StateLook l = Look(cls, part, state);
  Metrics m{dpi / 96.0};
  double w = width, h = height, line = m.Line();
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
  switch (cls) {
    case ThemeClass::Button: PaintButton(cr, m, part, state, w, h, l); break;
    case ThemeClass::ComboBox:
      FillRect(cr, 0, 0, w, h, l.fill);
      Chevron(cr, w / 2, h / 2, std::max(1.0, std::min(m.Len(4), w / 2 - line)), Dir::Down, line, l.glyph);
      break;
    case ThemeClass::Edit:
    case ThemeClass::ListView:
    case ThemeClass::Progress: FramedBox(cr, 0, 0, w, h, 0, line, l.border, l.fill); break;
    case ThemeClass::ExplorerBar: PaintExplorerBar(cr, m, part, state, w, h, l); break;
    case ThemeClass::Header:
      if (part == HP_HEADERSORTARROW) {
        double half = std::max(1.0, std::min(m.Len(4), w / 2 - line));
        Chevron(cr, w / 2, h / 2, half, state == HSAS_SORTEDDOWN ? Dir::Down : Dir::Up, line, l.glyph);
        break;
      }
      FillRect(cr, 0, 0, w, h, l.fill);
      FillRect(cr, 0, h - line, w, line, l.border);
      if (part != HP_HEADERITEMRIGHT) FillRect(cr, w - line, 0, line, h, l.border);
      break;
    case ThemeClass::ScrollBar: PaintScrollBar(cr, m, part, state, w, h, l); break;
    case ThemeClass::Spin: {
      FramedBox(cr, 0, 0, w, h, 0, line, l.border, l.fill);
      static constexpr Dir kDirs[5] = {Dir::Up, Dir::Up, Dir::Down, Dir::Right, Dir::Left};
      double half = std::max(1.0, std::min({m.Len(3), w / 2 - 2 * line, h / 2 - 2 * line}));
      Chevron(cr, w / 2, h / 2, half, kDirs[part], line, l.glyph);
      break;
    }
    case ThemeClass::Tab: PaintTab(cr, m, part, w, h, l); break;
    case ThemeClass::ToolBar: PaintToolBar(cr, m, part, w, h, l); break;
    case ThemeClass::TrackBar: PaintTrackBar(cr, m, part, w, h, l); break;
    case ThemeClass::TreeView: {
      double half = std::max(1.0, std::min(m.Len(4), std::min(w, h) / 2 - line));
      Chevron(cr, w / 2, h / 2, half, state == GLPS_OPENED ? Dir::Down : Dir::Right, line, l.glyph);
      break;
    }
    case ThemeClass::Window: {
      FillRect(cr, 0, 0, w, h, l.fill);
      double half = std::max(1.0, std::min(w, h) * (part == WP_CLOSEBUTTON ? 0.25 : 0.3));
      Cross(cr, w / 2, h / 2, half, line, l.glyph);
      break;
    }
  }
  cairo_restore(cr);
}

bool DrawPartOnDC(HDC hdc, ThemeClass cls, int part, int state, const RECT& rect, const RECT* clip) {
  DCObject* dc = gdi::LookupDC(hdc);
  if (!dc) return false;
  // The part in surface coordinates.
  int l = gdi::LToDeviceX(*dc, std::min(rect.left, rect.right)) + dc->surfaceOrg.x;
  int t = gdi::LToDeviceY(*dc, std::min(rect.top, rect.bottom)) + dc->surfaceOrg.y;
  int w = std::abs(rect.right - rect.left), h = std::abs(rect.bottom - rect.top);
  if (w == 0 || h == 0) return true;
  Region area(l, t, l + w, t + h);
  if (clip) {
    int cl = gdi::LToDeviceX(*dc, clip->left) + dc->surfaceOrg.x;
    int ct = gdi::LToDeviceY(*dc, clip->top) + dc->surfaceOrg.y;
    int cr = gdi::LToDeviceX(*dc, clip->right) + dc->surfaceOrg.x;
    int cb = gdi::LToDeviceY(*dc, clip->bottom) + dc->surfaceOrg.y;
    Region c(cl, ct, cr, cb);
    pixman_region32_intersect(area.get(), area.get(), c.get());
  }
  pixman_region32_intersect(area.get(), area.get(), gdi::EffectiveClip(*dc).get());
  RECT box = area.Box();
  if (box.left >= box.right || box.top >= box.bottom) return true;
  int bw = box.right - box.left, bh = box.bottom - box.top;
  SurfacePtr img = Render(cls, part, state, w, h, dc->dpiX > 0 ? dc->dpiX : 96, box.left - l, box.top - t, bw, bh);
  if (dc->cr) {
    // Vector pages take the image through cairo, clipped the same way.
    cairo_save(dc->cr);
    cairo_new_path(dc->cr);
    int n = 0;
    const pixman_box32_t* b = area.Rects(n);
    for (int i = 0; i < n; ++i) cairo_rectangle(dc->cr, b[i].x1, b[i].y1, b[i].x2 - b[i].x1, b[i].y2 - b[i].y1);
    cairo_clip(dc->cr);
    cairo_set_source_surface(dc->cr, img.get(), box.left, box.top);
    cairo_paint(dc->cr);
    cairo_restore(dc->cr);
    return true;
  }
  if (!dc->px.row0) return true;
  Blend(*dc, img.get(), box.left, box.top, area);
  return true;
}

HRGN PartRegion(HDC dc, ThemeClass cls, int part, int state, const RECT& rect) {
  int w = std::abs(rect.right - rect.left), h = std::abs(rect.bottom - rect.top);
  int left = std::min(rect.left, rect.right), top = std::min(rect.top, rect.bottom);
  auto o = std::make_unique<gdi::RegionObject>();
  o->rgn.SetEmpty();
  if (w > 0 && h > 0) {
    SurfacePtr img = Render(cls, part, state, w, h, DpiOf(dc), 0, 0, w, h);
    cairo_surface_flush(img.get());
    const auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(img.get()));
    int stride = cairo_image_surface_get_stride(img.get()) / 4;
    // A pixel belongs to the part when the part covers at least half of it.
    for (int y = 0; y < h; ++y) {
      const uint32_t* row = data + static_cast<ptrdiff_t>(y) * stride;
      for (int x = 0; x < w;) {
        if ((row[x] >> 24) < 128) {
          ++x;
          continue;
        }
        int start = x;
        while (x < w && (row[x] >> 24) >= 128) ++x;
        pixman_region32_union_rect(o->rgn.get(), o->rgn.get(), left + start, top + y, x - start, 1);
      }
    }
  }
  return gdi::ToHandle<HRGN>(gdi::Register(std::move(o)));
}

}  // namespace win::visualstyle
