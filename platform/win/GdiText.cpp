#include "platform/win/GdiText.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/win/FontEngine.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiPrivate.h"
#include "platform/win/SysColors.h"

namespace win {

using namespace gdi;

namespace {

// Advances ---------------------------------------------------------------------------

struct TabSpec {
  bool expand = false;
  int width = 0;  // spacing of the default stops
  const INT* stops = nullptr;
  int count = 0;
  int shift = 0;  // line start minus tab origin

  // The next stop after x (relative to the line start).
  int NextStop(int x) const {
    int ax = x + shift;
    if (stops && count > 1) {
      for (int i = 0; i < count; ++i) {
        int s = std::abs(stops[i]);
        if (s > ax) return s - shift;
      }
    }
    int w = stops && count == 1 && stops[0] > 0 ? stops[0] : width;
    if (w <= 0) return x;
    int q = (ax >= 0 ? ax / w : -((-ax + w - 1) / w)) + 1;  // the first multiple of w after ax
    return q * w - shift;
  }
};

// Per byte, the advance of the character starting there (0 on further
// bytes), with character extra, justification and tabs; returns the sum.
int Advances(DCObject& dc, FontFace& f, std::string_view text, const TabSpec& tabs, bool justify,
             std::vector<int>& adv) {
  adv.assign(text.size(), 0);
  if (text.empty()) return 0;
  const ShapedText& s = f.Shape(text);
  int extra = dc.s.textCharacterExtra;
  int jExtra = justify ? dc.s.justifyExtra : 0;
  int jCount = dc.s.justifyBreaks;
  int jEach = jCount > 0 ? jExtra / jCount : 0;
  int jRest = jCount > 0 ? std::abs(jExtra % jCount) : 0;
  int jSign = jExtra < 0 ? -1 : 1;
  int breaks = 0;
  int x = 0;
  for (size_t i = 0; i < text.size();) {
    int n = Utf8CharLength(text, i);
    int a;
    if (text[i] == '\t' && tabs.expand) {
      a = tabs.NextStop(x) - x;
    } else {
      a = s.advance[i] + extra;
      if (jExtra != 0 && jCount > 0 && static_cast<uint32_t>(static_cast<unsigned char>(text[i])) == f.tm.tmBreakChar) {
        a += jEach + (breaks < jRest ? jSign : 0);
        ++breaks;
      }
    }
    adv[i] = a;
    x += a;
    i += static_cast<size_t>(n);
  }
  return x;
}

// Painting -------------------------------------------------------------------------

struct TextJob {
  std::string_view text;
  const std::vector<int>* adv = nullptr;
  int width = 0;
  double ox = 0;  // start of the baseline, surface coordinates
  double oy = 0;
  bool opaqueCell = false;
  bool hasClip = false;
  RECT clip;  // surface coordinates
  int markFrom = 0;  // mnemonic underline, x range along the baseline
  int markTo = 0;
  bool glyphs = true;  // false: the mnemonic underline alone (DT_PREFIXONLY)
};

struct MaskScratch {
  cairo_surface_t* surface = nullptr;
  int width = 0;
  int height = 0;
  std::vector<int> starts;
  PangoGlyphString* glyphs = nullptr;
};

MaskScratch& Scratch() {
  static MaskScratch* m = new MaskScratch;  // lives as long as the process
  return *m;
}

// A cleared A8 mask of at least w x h pixels, with a context on it.
cairo_t* BeginMask(int w, int h) {
  MaskScratch& m = Scratch();
  if (w > m.width || h > m.height) {
    if (m.surface) cairo_surface_destroy(m.surface);
    m.width = std::max(m.width, (w + 63) & ~63);
    m.height = std::max(m.height, (h + 31) & ~31);
    m.surface = cairo_image_surface_create(CAIRO_FORMAT_A8, m.width, m.height);
  }
  cairo_surface_flush(m.surface);
  unsigned char* data = cairo_image_surface_get_data(m.surface);
  int stride = cairo_image_surface_get_stride(m.surface);
  for (int y = 0; y < h; ++y) std::memset(data + static_cast<ptrdiff_t>(y) * stride, 0, static_cast<size_t>(w));
  cairo_surface_mark_dirty(m.surface);
  cairo_t* cr = cairo_create(m.surface);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_clip(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  return cr;
}

inline uint32_t Blend(uint32_t src, uint32_t dst, unsigned a) {
  uint32_t r = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    unsigned s = (src >> shift) & 0xFF;
    unsigned d = (dst >> shift) & 0xFF;
    r |= ((s * a + d * (255 - a) + 127) / 255) << shift;
  }
  return r;
}

// Puts color through the mask (placed at x0, y0) onto the pixels of the
// surface rectangle, inside the DC's clip.
void Composite(DCObject& dc, int x0, int y0, const RECT& box, COLORREF color) {
  MaskScratch& m = Scratch();
  cairo_surface_flush(m.surface);
  const unsigned char* data = cairo_image_surface_get_data(m.surface);
  int stride = cairo_image_surface_get_stride(m.surface);
  bool mono = IsMonoTarget(dc);
  uint32_t pix = ColorToPixel(color, mono);
  ForEachClipped(dc, box.left, box.top, box.right, box.bottom, [&](int l, int t, int r, int b) {
    for (int y = t; y < b; ++y) {
      const unsigned char* mrow = data + static_cast<ptrdiff_t>(y - y0) * stride;
      uint32_t* row = dc.px.Row(y);
      for (int x = l; x < r; ++x) {
        unsigned a = mrow[x - x0];
        if (a == 0) continue;
        if (a == 255 || (mono && a >= 128))
          row[x] = pix;
        else if (!mono)
          row[x] = Blend(pix, row[x], a);
      }
    }
  });
}

// Glyph images, rendered once per font and glyph. Putting them into the
// mask ourselves is many times faster than having cairo composite aliased
// (1-bit) glyphs, and gives the same pixels at whole-pixel positions.
struct GlyphImage {
  int left = 0;  // offset of the image from the glyph origin
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> alpha;
};

struct FontGlyphs {
  PangoFont* font = nullptr;  // owned reference: the key stays that font
  std::unordered_map<PangoGlyph, GlyphImage> glyphs;
};

const GlyphImage& GlyphOf(PangoFont* font, PangoGlyph glyph) {
  FontLibraryCall quiet;
  static auto* cache = new std::unordered_map<PangoFont*, FontGlyphs>;  // lives as long as the process
  FontGlyphs& fg = (*cache)[font];
  if (!fg.font) fg.font = static_cast<PangoFont*>(g_object_ref(font));
  auto it = fg.glyphs.find(glyph);
  if (it != fg.glyphs.end()) return it->second;
  GlyphImage img;
  PangoRectangle ink;
  pango_font_get_glyph_extents(font, glyph, &ink, nullptr);
  int x0 = PANGO_PIXELS_FLOOR(ink.x) - 2;
  int y0 = PANGO_PIXELS_FLOOR(ink.y) - 2;
  int x1 = PANGO_PIXELS_CEIL(ink.x + ink.width) + 2;
  int y1 = PANGO_PIXELS_CEIL(ink.y + ink.height) + 2;
  if (ink.width > 0 && ink.height > 0 && x1 - x0 < 4096 && y1 - y0 < 4096) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, x1 - x0, y1 - y0);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    PangoGlyphString* gs = pango_glyph_string_new();
    pango_glyph_string_set_size(gs, 1);
    gs->glyphs[0].glyph = glyph;
    gs->glyphs[0].geometry = {0, 0, 0};
    gs->glyphs[0].attr.is_cluster_start = 1;
    gs->log_clusters[0] = 0;
    cairo_move_to(cr, -x0, -y0);
    pango_cairo_show_glyph_string(cr, font, gs);
    pango_glyph_string_free(gs);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    img.left = x0;
    img.top = y0;
    img.width = x1 - x0;
    img.height = y1 - y0;
    img.alpha.resize(static_cast<size_t>(img.width) * static_cast<size_t>(img.height));
    for (int y = 0; y < img.height; ++y)
      std::memcpy(img.alpha.data() + static_cast<size_t>(y) * static_cast<size_t>(img.width),
                  data + static_cast<ptrdiff_t>(y) * stride, static_cast<size_t>(img.width));
    cairo_surface_destroy(surface);
  }
  return fg.glyphs.emplace(glyph, std::move(img)).first->second;
}

// Fills rows [y, y + h) x [x, x + w) of the mask (clipped to w x h).
void MaskRect(unsigned char* data, int stride, int mw, int mh, int x, int y, int w, int h) {
  int l = std::max(x, 0), r = std::min(x + w, mw);
  int t = std::max(y, 0), b = std::min(y + h, mh);
  for (int row = t; row < b; ++row)
    if (l < r) std::memset(data + static_cast<ptrdiff_t>(row) * stride + l, 0xFF, static_cast<size_t>(r - l));
}

// The unturned text straight into the mask; (bx, by) is the baseline start
// in mask coordinates.
void MaskText(FontFace& f, const TextJob& job, int bx, int by, int mw, int mh) {
  MaskScratch& m = Scratch();
  cairo_surface_flush(m.surface);
  unsigned char* data = cairo_image_surface_get_data(m.surface);
  int stride = cairo_image_surface_get_stride(m.surface);
  const std::vector<int>& adv = *job.adv;
  m.starts.resize(job.text.size());
  int x = 0;
  for (size_t i = 0; i < job.text.size(); ++i) {
    m.starts[i] = x;
    x += adv[i];
  }
  if (job.glyphs) {
    const ShapedText& s = f.Shape(job.text);
    for (const ShapedRun& r : s.runs) {
      for (int i = 0; i < r.glyphs->num_glyphs; ++i) {
        const PangoGlyphInfo& g = r.glyphs->glyphs[i];
        if (g.glyph == PANGO_GLYPH_EMPTY) continue;
        const GlyphImage& img = GlyphOf(r.font, g.glyph);
        if (img.alpha.empty()) continue;
        int gx = bx + m.starts[static_cast<size_t>(r.clusterByte[static_cast<size_t>(i)])] +
                 PANGO_PIXELS(r.offsetInCluster[static_cast<size_t>(i)] + g.geometry.x_offset) + img.left;
        int gy = by + PANGO_PIXELS(g.geometry.y_offset) + img.top;
        int x0 = std::max(0, -gx), x1 = std::min(img.width, mw - gx);
        int y0 = std::max(0, -gy), y1 = std::min(img.height, mh - gy);
        for (int y = y0; y < y1; ++y) {
          const uint8_t* src = img.alpha.data() + static_cast<size_t>(y) * static_cast<size_t>(img.width);
          unsigned char* dst = data + static_cast<ptrdiff_t>(gy + y) * stride + gx;
          for (int xx = x0; xx < x1; ++xx)
            if (src[xx] > dst[xx]) dst[xx] = src[xx];
        }
      }
    }
    if (f.underline) MaskRect(data, stride, mw, mh, bx, by + f.underlinePos, job.width, f.underlineThickness);
    if (f.strikeOut) MaskRect(data, stride, mw, mh, bx, by - f.strikeoutPos, job.width, f.strikeoutThickness);
  }
  if (job.markTo > job.markFrom)
    MaskRect(data, stride, mw, mh, bx + job.markFrom, by + f.underlinePos, job.markTo - job.markFrom,
             f.underlineThickness);
  cairo_surface_mark_dirty(m.surface);
}

void SetSource(cairo_t* cr, COLORREF c) {
  cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

// Glyphs and lines of the job in the text's own frame (origin at the start
// of the baseline, x along the text).
void DrawTextFrame(cairo_t* cr, FontFace& f, const TextJob& job) {
  MaskScratch& m = Scratch();
  const std::vector<int>& adv = *job.adv;
  m.starts.resize(job.text.size());
  int x = 0;
  for (size_t i = 0; i < job.text.size(); ++i) {
    m.starts[i] = x;
    x += adv[i];
  }
  const ShapedText& s = f.Shape(job.text);
  FontLibraryCall quiet;
  if (!m.glyphs) m.glyphs = pango_glyph_string_new();
  for (const ShapedRun& r : s.runs) {
    if (!job.glyphs) break;
    int n = r.glyphs->num_glyphs;
    if (n == 0) continue;
    pango_glyph_string_set_size(m.glyphs, n);
    std::memcpy(m.glyphs->glyphs, r.glyphs->glyphs, sizeof(PangoGlyphInfo) * static_cast<size_t>(n));
    std::memcpy(m.glyphs->log_clusters, r.glyphs->log_clusters, sizeof(int) * static_cast<size_t>(n));
    auto gx = [&](int i) {
      return m.starts[static_cast<size_t>(r.clusterByte[static_cast<size_t>(i)])] * PANGO_SCALE +
             r.offsetInCluster[static_cast<size_t>(i)];
    };
    for (int i = 0; i + 1 < n; ++i) m.glyphs->glyphs[i].geometry.width = gx(i + 1) - gx(i);
    cairo_move_to(cr, gx(0) / static_cast<double>(PANGO_SCALE), 0);
    pango_cairo_show_glyph_string(cr, r.font, m.glyphs);
  }
  cairo_new_path(cr);
  if (f.underline && job.glyphs) cairo_rectangle(cr, 0, f.underlinePos, job.width, f.underlineThickness);
  if (f.strikeOut && job.glyphs) cairo_rectangle(cr, 0, -f.strikeoutPos, job.width, f.strikeoutThickness);
  if (job.markTo > job.markFrom)
    cairo_rectangle(cr, job.markFrom, f.underlinePos, job.markTo - job.markFrom, f.underlineThickness);
  cairo_fill(cr);
}

void PaintText(DCObject& dc, FontFace& f, const TextJob& job) {
  const TEXTMETRIC& tm = f.tm;
  double ca = std::cos(f.escapement);
  double sa = std::sin(f.escapement);
  if (f.escapement == 0) {
    ca = 1;
    sa = 0;
  }
  if (dc.cr) {
    cairo_t* cr = dc.cr;
    cairo_save(cr);
    ClipCairo(dc, cr);
    if (job.hasClip) {
      cairo_rectangle(cr, job.clip.left, job.clip.top, job.clip.right - job.clip.left, job.clip.bottom - job.clip.top);
      cairo_clip(cr);
    }
    cairo_translate(cr, job.ox, job.oy);
    cairo_rotate(cr, -f.escapement);
    if (job.opaqueCell) {
      SetSource(cr, dc.s.bkColor);
      cairo_rectangle(cr, 0, -tm.tmAscent, job.width, tm.tmHeight);
      cairo_fill(cr);
    }
    SetSource(cr, dc.s.textColor);
    DrawTextFrame(cr, f, job);
    cairo_restore(cr);
    return;
  }
  if (!dc.px.row0) return;
  // Everything the text can touch: its cell plus room for overhanging
  // glyphs (italics, accents), turned with the text.
  int minU = 0;
  int maxU = job.width;
  for (int a : *job.adv) minU = std::min(minU, a);
  int margin = static_cast<int>(std::ceil(f.em / 2)) + 2;
  double us[2] = {static_cast<double>(minU - margin), static_cast<double>(maxU + margin)};
  double vs[2] = {static_cast<double>(-tm.tmAscent - margin), static_cast<double>(tm.tmDescent + margin)};
  double x0 = 1e18, y0 = 1e18, x1 = -1e18, y1 = -1e18;
  for (double u : us)
    for (double v : vs) {
      double X = job.ox + u * ca + v * sa;
      double Y = job.oy - u * sa + v * ca;
      x0 = std::min(x0, X);
      x1 = std::max(x1, X);
      y0 = std::min(y0, Y);
      y1 = std::max(y1, Y);
    }
  RECT box = EffectiveClip(dc).Box();
  box.left = std::max<LONG>(box.left, static_cast<LONG>(std::floor(x0)));
  box.top = std::max<LONG>(box.top, static_cast<LONG>(std::floor(y0)));
  box.right = std::min<LONG>(box.right, static_cast<LONG>(std::ceil(x1)));
  box.bottom = std::min<LONG>(box.bottom, static_cast<LONG>(std::ceil(y1)));
  if (job.hasClip) {
    box.left = std::max(box.left, job.clip.left);
    box.top = std::max(box.top, job.clip.top);
    box.right = std::min(box.right, job.clip.right);
    box.bottom = std::min(box.bottom, job.clip.bottom);
  }
  if (box.left >= box.right || box.top >= box.bottom) return;
  int w = box.right - box.left;
  int h = box.bottom - box.top;
  auto frame = [&](cairo_t* cr) {
    cairo_translate(cr, job.ox - box.left, job.oy - box.top);
    cairo_rotate(cr, -f.escapement);
    cairo_set_source_rgb(cr, 0, 0, 0);
  };
  if (job.opaqueCell) {
    cairo_t* cr = BeginMask(w, h);
    frame(cr);
    cairo_rectangle(cr, 0, -tm.tmAscent, job.width, tm.tmHeight);
    cairo_fill(cr);
    cairo_destroy(cr);
    Composite(dc, box.left, box.top, box, dc.s.bkColor);
  }
  cairo_t* cr = BeginMask(w, h);
  if (f.escapement == 0) {
    MaskText(f, job, static_cast<int>(std::lround(job.ox)) - box.left, static_cast<int>(std::lround(job.oy)) - box.top,
             w, h);
  } else {
    frame(cr);
    DrawTextFrame(cr, f, job);
  }
  cairo_destroy(cr);
  Composite(dc, box.left, box.top, box, dc.s.textColor);
}

RECT DeviceRectToSurface(const DCObject& dc, const RECT& r) {
  POINT a = LPtoDevice(dc, r.left, r.top);
  POINT b = LPtoDevice(dc, r.right, r.bottom);
  RECT s{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  s.left += dc.surfaceOrg.x;
  s.right += dc.surfaceOrg.x;
  s.top += dc.surfaceOrg.y;
  s.bottom += dc.surfaceOrg.y;
  return s;
}

// One line of text at a reference point, aligned by align; the core of
// TextOut, ExtTextOut and TabbedTextOut.
void OutputLine(DCObject& dc, int x, int y, UINT options, const RECT* rect, std::string_view text,
                const std::vector<int>& adv, int width, UINT align, int markFrom = 0, int markTo = 0,
                bool glyphs = true) {
  FontFace& f = DCFace(dc);
  bool useCp = (align & TA_UPDATECP) != 0;
  if (useCp) {
    x = dc.s.currentPos.x;
    y = dc.s.currentPos.y;
  }
  if ((options & ETO_OPAQUE) && rect) {
    POINT a = LPtoDevice(dc, rect->left, rect->top);
    POINT b = LPtoDevice(dc, rect->right, rect->bottom);
    PaintDeviceRect(dc, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y),
                    SolidPaint(dc, dc.s.bkColor, R2_COPYPEN));
  }
  double ca = f.escapement == 0 ? 1 : std::cos(f.escapement);
  double sa = f.escapement == 0 ? 0 : std::sin(f.escapement);
  int u0 = (align & TA_CENTER) == TA_CENTER ? -(width / 2) : (align & TA_RIGHT) ? -width : 0;
  int v0 = (align & TA_BASELINE) == TA_BASELINE ? 0
           : (align & TA_BOTTOM)               ? -static_cast<int>(f.tm.tmDescent)
                                               : static_cast<int>(f.tm.tmAscent);
  POINT d = LPtoDevice(dc, x, y);
  TextJob job;
  job.text = text;
  job.adv = &adv;
  job.width = width;
  job.ox = d.x + dc.surfaceOrg.x + u0 * ca + v0 * sa;
  job.oy = d.y + dc.surfaceOrg.y - u0 * sa + v0 * ca;
  job.opaqueCell = dc.s.bkMode == OPAQUE && glyphs;
  job.glyphs = glyphs;
  job.markFrom = markFrom;
  job.markTo = markTo;
  if ((options & ETO_CLIPPED) && rect) {
    job.hasClip = true;
    job.clip = DeviceRectToSurface(dc, *rect);
  }
  if (!text.empty()) PaintText(dc, f, job);
  if (useCp) {
    int along = (align & TA_CENTER) == TA_CENTER ? 0 : (align & TA_RIGHT) ? -width : width;
    dc.s.currentPos.x = x + static_cast<int>(std::lround(along * ca));
    dc.s.currentPos.y = y - static_cast<int>(std::lround(along * sa));
  }
}

std::string_view View(const char* text, int count) {
  if (!text || count <= 0) return {};
  return std::string_view(text, static_cast<size_t>(count));
}

TabSpec DefaultTabs(FontFace& f, int tabCount, const INT* stops, int shift) {
  TabSpec t;
  t.expand = true;
  t.width = 8 * std::max<int>(1, f.tm.tmAveCharWidth);
  t.stops = tabCount > 0 ? stops : nullptr;
  t.count = stops ? tabCount : 0;
  t.shift = shift;
  return t;
}

}  // namespace

// Settings ---------------------------------------------------------------------------

UINT SetTextAlign(HDC hdc, UINT align) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return GDI_ERROR;
  UINT old = dc->s.textAlign;
  dc->s.textAlign = align & TA_MASK;
  return old;
}

UINT GetTextAlign(HDC hdc) {
  DCObject* dc = LookupDC(hdc);
  return dc ? dc->s.textAlign : GDI_ERROR;
}

int SetTextCharacterExtra(HDC hdc, int extra) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return static_cast<int>(0x80000000);
  // Bounded so that no sum of advances can overflow.
  extra = std::clamp(extra, -32767, 32767);
  std::swap(dc->s.textCharacterExtra, extra);
  return extra;
}

int GetTextCharacterExtra(HDC hdc) {
  DCObject* dc = LookupDC(hdc);
  return dc ? dc->s.textCharacterExtra : static_cast<int>(0x80000000);
}

BOOL SetTextJustification(HDC hdc, int breakExtra, int breakCount) {
  DCObject* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  if (breakExtra == 0 || breakCount <= 0) {
    dc->s.justifyExtra = 0;
    dc->s.justifyBreaks = 0;
  } else {
    dc->s.justifyExtra = std::clamp(breakExtra, -32767, 32767);
    dc->s.justifyBreaks = std::min(breakCount, 32767);
  }
  return TRUE;
}

// Output -----------------------------------------------------------------------------

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                const INT* dx) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || (count > 0 && !text) || count > 0x7FFFFFFF) return FALSE;
  std::string_view s = View(text, static_cast<int>(count));
  FontFace& f = DCFace(*dc);
  std::vector<int> adv;
  int width = Advances(*dc, f, s, TabSpec{}, true, adv);
  if (dx) {
    // The caller's advances win over the font's, as on Windows; the entries
    // of a character's further bytes add to it.
    width = 0;
    for (size_t i = 0; i < s.size();) {
      int n = Utf8CharLength(s, i);
      long long a = 0;
      for (int k = 0; k < n; ++k) a += dx[i + static_cast<size_t>(k)];
      adv[i] = static_cast<int>(std::clamp<long long>(a, -32767, 32767));
      width += adv[i];
      i += static_cast<size_t>(n);
    }
  }
  OutputLine(*dc, x, y, options, rect, s, adv, width, dc->s.textAlign);
  return TRUE;
}

BOOL TextOut(HDC hdc, int x, int y, const char* text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOut(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

LONG TabbedTextOut(HDC hdc, int x, int y, const char* text, int count, int tabCount, const INT* tabStops,
                   int tabOrigin) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || count < 0 || (count > 0 && !text)) return 0;
  std::string_view s = View(text, count);
  FontFace& f = DCFace(*dc);
  int startX = (dc->s.textAlign & TA_UPDATECP) ? dc->s.currentPos.x : x;
  std::vector<int> adv;
  int width = Advances(*dc, f, s, DefaultTabs(f, tabCount, tabStops, startX - tabOrigin), true, adv);
  OutputLine(*dc, x, y, 0, nullptr, s, adv, width, dc->s.textAlign);
  return static_cast<LONG>((static_cast<DWORD>(width) & 0xFFFF) | (static_cast<DWORD>(f.tm.tmHeight) << 16));
}

// Measuring ----------------------------------------------------------------------------

BOOL GetTextExtentPoint32(HDC hdc, const char* text, int count, SIZE* size) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !size || count < 0 || (count > 0 && !text)) return FALSE;
  FontFace& f = DCFace(*dc);
  std::vector<int> adv;
  size->cx = Advances(*dc, f, View(text, count), TabSpec{}, true, adv);
  size->cy = f.tm.tmHeight;
  return TRUE;
}

BOOL GetTextExtentPoint(HDC hdc, const char* text, int count, SIZE* size) {
  return GetTextExtentPoint32(hdc, text, count, size);
}

BOOL GetTextExtentExPoint(HDC hdc, const char* text, int count, int maxExtent, INT* fit, INT* dx, SIZE* size) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || count < 0 || (count > 0 && !text)) return FALSE;
  FontFace& f = DCFace(*dc);
  std::string_view s = View(text, count);
  std::vector<int> adv;
  int width = Advances(*dc, f, s, TabSpec{}, true, adv);
  int x = 0;
  int fitted = 0;
  bool fitting = true;
  for (size_t i = 0; i < s.size();) {
    int n = Utf8CharLength(s, i);
    x += adv[i];
    if (fitting && x <= maxExtent)
      fitted = static_cast<int>(i) + n;
    else
      fitting = false;
    if (dx)
      for (int k = 0; k < n; ++k) dx[i + static_cast<size_t>(k)] = x;
    i += static_cast<size_t>(n);
  }
  if (fit) *fit = fitted;
  if (size) *size = {width, f.tm.tmHeight};
  return TRUE;
}

DWORD GetTabbedTextExtent(HDC hdc, const char* text, int count, int tabCount, const INT* tabStops) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || count < 0 || (count > 0 && !text)) return 0;
  FontFace& f = DCFace(*dc);
  std::vector<int> adv;
  int width = Advances(*dc, f, View(text, count), DefaultTabs(f, tabCount, tabStops, 0), true, adv);
  return (static_cast<DWORD>(width) & 0xFFFF) | (static_cast<DWORD>(f.tm.tmHeight) << 16);
}

// DrawText -------------------------------------------------------------------------------

namespace {

struct DrawLine {
  std::string text;         // what is shown
  std::vector<int> origin;  // per byte of text: its byte in the caller's text, -1 for inserted dots
  int mark = -1;            // byte of the mnemonic character, -1 for none
  int cut = -1;             // caller's byte of the first character the dots replace
  int width = 0;
  bool shortened = false;
};

bool IsCjk(uint32_t cp) {
  return (cp >= 0x2E80 && cp <= 0x9FFF) || (cp >= 0xAC00 && cp <= 0xD7AF) || (cp >= 0xF900 && cp <= 0xFAFF) ||
         (cp >= 0xFF00 && cp <= 0xFFEF) || (cp >= 0x20000 && cp <= 0x3FFFF);
}

class TextFormatter {
 public:
  // flags: the format without the tab width byte; tabChars: the tab width
  // in average characters.
  TextFormatter(DCObject& dc, FontFace& f, UINT flags, int tabChars) : dc_(dc), f_(f), format_(flags) {
    tabs_.expand = (flags & DT_EXPANDTABS) != 0;
    int chars = tabChars > 0 ? tabChars : 8;
    tabs_.width = chars * std::max<int>(1, f.tm.tmAveCharWidth);
  }

  int Measure(std::string_view s) { return Advances(dc_, f_, s, tabs_, false, scratch_); }
  const std::vector<int>& LastAdvances() const { return scratch_; }
  const TabSpec& Tabs() const { return tabs_; }

  // Splits the caller's text into lines of at most width pixels (when
  // breaking words), taking out "&" prefixes.
  std::vector<DrawLine> Lines(std::string_view text, int width) {
    // Prefixes first: the shown text and where each shown byte came from.
    std::string shown;
    std::vector<int> origin;
    std::vector<bool> marked;
    bool prefix = !(format_ & DT_NOPREFIX);
    for (size_t i = 0; i < text.size();) {
      if (prefix && text[i] == '&') {
        if (i + 1 < text.size() && text[i + 1] == '&') {
          shown += '&';
          origin.push_back(static_cast<int>(i + 1));
          marked.push_back(false);
          i += 2;
          continue;
        }
        if (i + 1 < text.size()) {
          int n = Utf8CharLength(text, i + 1);
          for (int k = 0; k < n; ++k) {
            shown += text[i + 1 + static_cast<size_t>(k)];
            origin.push_back(static_cast<int>(i + 1) + k);
            marked.push_back(k == 0);
          }
          i += 1 + static_cast<size_t>(n);
          continue;
        }
        ++i;  // a lone "&" at the end shows nothing
        continue;
      }
      shown += text[i];
      origin.push_back(static_cast<int>(i));
      marked.push_back(false);
      ++i;
    }
    std::vector<DrawLine> lines;
    auto add = [&](size_t from, size_t to) {
      DrawLine l;
      l.text = shown.substr(from, to - from);
      l.origin.assign(origin.begin() + static_cast<ptrdiff_t>(from), origin.begin() + static_cast<ptrdiff_t>(to));
      for (size_t k = from; k < to; ++k)
        if (marked[k] && l.mark < 0) l.mark = static_cast<int>(k - from);
      lines.push_back(std::move(l));
    };
    if (format_ & DT_SINGLELINE) {
      add(0, shown.size());
      return lines;
    }
    bool wrap = (format_ & DT_WORDBREAK) != 0;
    size_t start = 0;
    while (true) {
      size_t end = start;
      while (end < shown.size() && shown[end] != '\r' && shown[end] != '\n') ++end;
      if (wrap)
        Wrap(shown, start, end, width, add);
      else
        add(start, end);
      if (end >= shown.size()) break;
      size_t next = end + 1;
      if (shown[end] == '\r' && next < shown.size() && shown[next] == '\n') ++next;
      start = next;
    }
    return lines;
  }

 private:
  // Breaks one paragraph [from, to) into lines no wider than width: after
  // spaces, around Chinese characters, and inside a word only for an edit
  // control (otherwise an over-long word stands alone on its line).
  template <class Add>
  void Wrap(const std::string& s, size_t from, size_t to, int width, Add& add) {
    std::string_view para(s.data() + from, to - from);
    std::vector<int> adv;
    Advances(dc_, f_, para, TabSpec{}, false, adv);
    size_t start = 0;
    const size_t n = para.size();
    if (n == 0) {
      add(from, from);
      return;
    }
    while (start < n) {
      int x = 0;
      size_t breakAt = std::string_view::npos;  // end of the line at the last opportunity
      size_t i = start;
      size_t lineEnd = n;
      bool prevCjk = false;
      bool seenWord = false;
      while (i < n) {
        int len = Utf8CharLength(para, i);
        uint32_t cp = Utf8Decode(para, i);
        bool cjk = IsCjk(cp) && len > 1;
        if (i > start && (cjk || prevCjk) && para[i] != ' ') breakAt = i;
        int a = para[i] == '\t' && tabs_.expand ? tabs_.NextStop(x) - x : adv[i];
        if (para[i] == ' ') {
          // Spaces may hang past the edge; the line breaks after them.
          size_t j = i;
          while (j < n && para[j] == ' ') ++j;
          // Leading spaces stay with the first word.
          if (seenWord) breakAt = j;
          x += a;
          i += 1;
          prevCjk = false;
          continue;
        }
        if (x + a > width && i > start) {
          if (breakAt != std::string_view::npos && breakAt > start) {
            lineEnd = breakAt;
          } else if (format_ & DT_EDITCONTROL) {
            lineEnd = i;
          } else {
            // Keep the word whole: run on to the next opportunity.
            size_t j = i;
            while (j < n && para[j] != ' ' && !(j > i && IsCjk(Utf8Decode(para, j)))) j += static_cast<size_t>(Utf8CharLength(para, j));
            lineEnd = j;
          }
          break;
        }
        x += a;
        prevCjk = cjk;
        seenWord = true;
        i += static_cast<size_t>(len);
      }
      if (i >= n) lineEnd = n;
      // Trailing spaces of a wrapped line are not shown.
      size_t shownEnd = lineEnd;
      if (lineEnd < n)
        while (shownEnd > start && para[shownEnd - 1] == ' ') --shownEnd;
      add(from + start, from + shownEnd);
      size_t next = lineEnd;
      while (next < n && para[next] == ' ') ++next;
      if (next == start) next = start + static_cast<size_t>(Utf8CharLength(para, start));
      start = next;
    }
  }

  DCObject& dc_;
  FontFace& f_;
  UINT format_;
  TabSpec tabs_;
  std::vector<int> scratch_;
};

// The part of s (whole characters) that fits in width with room left for
// "...", as a byte count.
size_t FitBytes(TextFormatter& fmt, std::string_view s, int width) {
  fmt.Measure(s);
  const std::vector<int>& adv = fmt.LastAdvances();
  int x = 0;
  size_t fit = 0;
  for (size_t i = 0; i < s.size();) {
    int n = Utf8CharLength(s, i);
    x += adv[i];
    if (x > width) break;
    i += static_cast<size_t>(n);
    fit = i;
  }
  return fit;
}

void EndEllipsis(TextFormatter& fmt, DrawLine& l, int width) {
  int dots = fmt.Measure("...");
  size_t keep = FitBytes(fmt, l.text, std::max(0, width - dots));
  l.text = l.text.substr(0, keep) + "...";
  if (keep < l.origin.size() && l.origin[keep] >= 0) l.cut = l.origin[keep];
  l.origin.resize(keep);
  l.origin.insert(l.origin.end(), 3, -1);
  if (l.mark >= static_cast<int>(keep)) l.mark = -1;
  l.shortened = true;
}

// Keeps the last path component and as much of the front as fits:
// "C:\Program Files\vxn\data.ini" -> "C:\Prog...\data.ini". Text without a
// separator loses characters from its middle.
void PathEllipsis(TextFormatter& fmt, DrawLine& l, int width) {
  const std::string& s = l.text;
  size_t sep = s.find_last_of("\\/");
  std::vector<size_t> starts;
  for (size_t i = 0; i < s.size(); i += static_cast<size_t>(Utf8CharLength(s, i))) starts.push_back(i);
  starts.push_back(s.size());
  size_t tailIndex;  // index into starts where the kept tail begins
  size_t headMax;    // head may keep starts[0..headMax]
  if (sep != std::string::npos) {
    tailIndex = static_cast<size_t>(std::find(starts.begin(), starts.end(), sep) - starts.begin());
    headMax = tailIndex;
  } else {
    tailIndex = starts.size() - 1;
    headMax = tailIndex;
  }
  auto build = [&](size_t head, size_t tail) {
    DrawLine r;
    r.text = s.substr(0, starts[head]) + "..." + s.substr(starts[tail]);
    r.origin.assign(l.origin.begin(), l.origin.begin() + static_cast<ptrdiff_t>(starts[head]));
    r.origin.insert(r.origin.end(), 3, -1);
    r.origin.insert(r.origin.end(), l.origin.begin() + static_cast<ptrdiff_t>(starts[tail]), l.origin.end());
    if (l.mark >= 0 && l.mark < static_cast<int>(starts[head]))
      r.mark = l.mark;
    else if (l.mark >= static_cast<int>(starts[tail]))
      r.mark = l.mark - static_cast<int>(starts[tail]) + static_cast<int>(starts[head]) + 3;
    r.shortened = true;
    if (starts[head] < l.origin.size()) r.cut = l.origin[starts[head]];
    return r;
  };
  if (sep != std::string::npos) {
    for (size_t head = headMax + 1; head-- > 0;) {
      DrawLine r = build(head, tailIndex);
      if (fmt.Measure(r.text) <= width || head == 0) {
        l = std::move(r);
        return;
      }
    }
  }
  // No separator: drop characters around the middle until it fits.
  size_t count = starts.size() - 1;
  for (size_t drop = 1; drop <= count; ++drop) {
    size_t keep = count - drop;
    size_t head = (keep + 1) / 2;
    size_t tail = count - (keep - head);
    DrawLine r = build(head, tail);
    if (fmt.Measure(r.text) <= width || keep == 0) {
      l = std::move(r);
      return;
    }
  }
}

int DrawTextCore(HDC hdc, const char* text, char* writable, int count, RECT* rect, UINT format,
                 DRAWTEXTPARAMS* params) {
  DCObject* dc = LookupDC(hdc);
  if (!dc || !rect || (!text && count != 0)) return 0;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  std::string_view s(text ? text : "", static_cast<size_t>(count));
  FontFace& f = DCFace(*dc);
  int leftMargin = params ? params->iLeftMargin : 0;
  int rightMargin = params ? params->iRightMargin : 0;
  if (params) params->uiLengthDrawn = 0;
  // DT_TABSTOP takes bits 8-15 for the tab width; they are no flags then.
  UINT flags = (format & DT_TABSTOP) ? (format & ~0xFF00u) : format;
  int tabChars = params && params->iTabLength > 0 ? params->iTabLength
                 : (format & DT_TABSTOP)                 ? static_cast<int>((format >> 8) & 0xFF)
                                                         : 8;
  TextFormatter fmt(*dc, f, flags, tabChars);
  int lineHeight = f.tm.tmHeight + ((flags & DT_EXTERNALLEADING) ? f.tm.tmExternalLeading : 0);
  int left = rect->left + leftMargin;
  int right = rect->right - rightMargin;
  int width = right - left;

  if (s.empty()) {
    if (flags & DT_CALCRECT) {
      rect->right = rect->left;
      rect->bottom = rect->top + ((flags & DT_SINGLELINE) ? lineHeight : 0);
    }
    return lineHeight;
  }

  std::vector<DrawLine> lines = fmt.Lines(s, width);
  int maxWidth = 0;
  bool ellipsis = (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;
  for (DrawLine& l : lines) {
    l.width = fmt.Measure(l.text);
    if (ellipsis && l.width > width) {
      if (flags & DT_PATH_ELLIPSIS) PathEllipsis(fmt, l, width);
      if ((flags & DT_END_ELLIPSIS) && fmt.Measure(l.text) > width) EndEllipsis(fmt, l, width);
      l.width = fmt.Measure(l.text);
    }
    maxWidth = std::max(maxWidth, l.width);
  }

  // The shown text goes back to the caller when asked (a single line only:
  // that is what the flag is for). Room: count + 4 bytes with the zero.
  if ((flags & DT_MODIFYSTRING) && writable && lines.size() == 1 && lines[0].shortened) {
    const DrawLine& l = lines[0];
    std::string out;
    int last = -1;
    bool afterDots = false;
    for (size_t i = 0; i < l.text.size(); ++i) {
      int o = l.origin[i];
      if (o < 0) {
        // Before the dots, the caller's bytes up to the first dropped
        // character (so "&Abc" shortens to "&...").
        if (!afterDots && l.cut > last) {
          for (int k = last + 1; k < l.cut; ++k) out += s[static_cast<size_t>(k)];
          last = l.cut - 1;
        }
        afterDots = true;
        out += l.text[i];
        continue;
      }
      // Bring back the "&" prefixes that were taken out, but not the
      // characters the dots stand for.
      if (afterDots) last = std::max(last, o - 1);
      afterDots = false;
      for (int k = last + 1; k < o; ++k) out += s[static_cast<size_t>(k)];
      out += s[static_cast<size_t>(o)];
      last = o;
    }
    size_t room = static_cast<size_t>(count) + 3;
    if (out.size() > room) {
      size_t cut = room;
      while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
      out.resize(cut);
    }
    std::memcpy(writable, out.data(), out.size());
    writable[out.size()] = 0;
  }

  int total = lineHeight * static_cast<int>(lines.size());
  int y = rect->top;
  bool single = (flags & DT_SINGLELINE) != 0;
  if (single && (flags & DT_VCENTER))
    y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
  else if (single && (flags & DT_BOTTOM))
    y = rect->bottom - lineHeight;
  if (params) params->uiLengthDrawn = static_cast<UINT>(count);

  if (flags & DT_CALCRECT) {
    rect->right = rect->left + maxWidth + leftMargin + rightMargin;
    rect->bottom = rect->top + total;
    return (single && (flags & (DT_VCENTER | DT_BOTTOM))) ? y - rect->top + lineHeight : total;
  }

  RECT clip{left, rect->top, right, rect->bottom};
  bool clipped = !(flags & DT_NOCLIP);
  UINT options = clipped ? ETO_CLIPPED : 0;
  int lineY = y;
  bool prefixOnly = (flags & DT_PREFIXONLY) != 0;
  bool hideMark = (flags & DT_HIDEPREFIX) != 0;
  for (size_t k = 0; k < lines.size(); ++k, lineY += lineHeight) {
    const DrawLine& l = lines[k];
    if ((flags & DT_EDITCONTROL) && k > 0 && lineY + lineHeight > rect->bottom) break;
    if (clipped && (lineY >= rect->bottom || lineY + lineHeight <= rect->top)) continue;
    int x = (flags & DT_CENTER) ? (left + right - l.width) / 2 : (flags & DT_RIGHT) ? right - l.width : left;
    std::vector<int> adv;
    int w = Advances(*dc, f, l.text, fmt.Tabs(), false, adv);
    int markFrom = 0;
    int markTo = 0;
    if (l.mark >= 0 && !hideMark) {
      for (int i = 0; i < l.mark; ++i) markFrom += adv[static_cast<size_t>(i)];
      markTo = markFrom + adv[static_cast<size_t>(l.mark)];
    }
    OutputLine(*dc, x, lineY, options, clipped ? &clip : nullptr, l.text, adv, w, TA_LEFT | TA_TOP, markFrom, markTo,
               !prefixOnly);
  }
  return (single && (flags & (DT_VCENTER | DT_BOTTOM))) ? y - rect->top + lineHeight : total;
}

}  // namespace

int DrawText(HDC dc, const char* text, int count, RECT* rect, UINT format) {
  return DrawTextCore(dc, text, nullptr, count, rect, format, nullptr);
}
int DrawDisabledText(HDC dc, const char* text, int count, RECT* rect, UINT format) {
  if (format & DT_CALCRECT) return DrawText(dc, text, count, rect, format);
  COLORREF was = GetTextColor(dc);
  RECT shifted{rect->left + 1, rect->top + 1, rect->right + 1, rect->bottom + 1};
  SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  DrawText(dc, text, count, &shifted, format);
  SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  int height = DrawText(dc, text, count, rect, format);
  SetTextColor(dc, was);
  return height;
}

int DrawText(HDC dc, char* text, int count, RECT* rect, UINT format) {
  return DrawTextCore(dc, text, text, count, rect, format, nullptr);
}
int DrawTextEx(HDC dc, const char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params) {
  return DrawTextCore(dc, text, nullptr, count, rect, format, params);
}
int DrawTextEx(HDC dc, char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params) {
  return DrawTextCore(dc, text, text, count, rect, format, params);
}

}  // namespace win
