#include "platform/win/GdiBlit.h"

#include <algorithm>
#include <cstring>

#include "platform/win/GdiPrivate.h"

namespace win {

using namespace gdi;

uint32_t ApplyRop3(BYTE code, uint32_t P, uint32_t S, uint32_t D) {
  uint32_t r;
  switch (code) {
    case 0x00: r = 0; break;
    case 0x11: r = ~(S | D); break;  // NOTSRCERASE
    case 0x33: r = ~S; break;        // NOTSRCCOPY
    case 0x44: r = S & ~D; break;    // SRCERASE
    case 0x55: r = ~D; break;        // DSTINVERT
    case 0x5A: r = P ^ D; break;     // PATINVERT
    case 0x66: r = S ^ D; break;     // SRCINVERT
    case 0x88: r = S & D; break;     // SRCAND
    case 0xAA: r = D; break;
    case 0xB8: r = ((P ^ D) & S) ^ P; break;  // source picks destination (white) or pattern (black)
    case 0xBB: r = ~S | D; break;             // MERGEPAINT
    case 0xC0: r = P & S; break;              // MERGECOPY
    case 0xCC: r = S; break;                  // SRCCOPY
    case 0xE2: r = ((P ^ D) & S) ^ D; break;  // source picks pattern (white) or destination (black)
    case 0xEE: r = S | D; break;              // SRCPAINT
    case 0xF0: r = P; break;                  // PATCOPY
    case 0xFB: r = P | ~S | D; break;         // PATPAINT
    case 0xFF: r = 0xFFFFFFFF; break;
    default:
      r = 0;
      for (int i = 0; i < 8; ++i)
        if (code & (1 << i)) r |= ((i & 4) ? P : ~P) & ((i & 2) ? S : ~S) & ((i & 1) ? D : ~D);
      break;
  }
  return r & 0x00FFFFFF;
}

namespace {

bool NeedsSource(BYTE code) { return (((code >> 2) ^ code) & 0x33) != 0; }
bool NeedsPattern(BYTE code) { return (((code >> 4) ^ code) & 0x0F) != 0; }

// Scratch rows kept between calls.
struct Scratch {
  std::vector<int> cols;
  std::vector<uint32_t> source;
  std::vector<uint32_t> copy;
  std::vector<uint32_t> temp;
};
Scratch& Buffers() {
  static thread_local Scratch s;
  return s;
}

struct Blit {
  DCObject* dst = nullptr;
  DCObject* src = nullptr;
  // Destination rectangle (surface coordinates, normalised) and the source
  // rectangle it maps to (source surface coordinates, normalised).
  int dx = 0, dy = 0, dw = 0, dh = 0;
  int sx = 0, sy = 0, sw = 0, sh = 0;
  bool mirrorX = false, mirrorY = false;
  BYTE code = 0xCC;
  bool transparent = false;
  uint32_t transparentPixel = 0;
};

// Maps destination offset i (0 .. dn-1) to the source offset.
inline int MapOffset(int i, int dn, int sn, bool mirror) {
  int j = dn == sn ? i : static_cast<int>((2LL * i + 1) * sn / (2LL * dn));
  return mirror ? sn - 1 - j : j;
}

// Runs the blit into out, whose pixel (x, y) in destination surface
// coordinates is out.Row(y - oy)[x - ox], for the box [l, r) x [t, b).
void RunBox(const Blit& B, const PixelBuffer& srcPx, const PixelBuffer& out, int ox, int oy, int l, int t, int r,
            int b, const Paint* pattern) {
  Scratch& sc = Buffers();
  const bool useSrc = B.src != nullptr;
  const bool dstMono = out.mono;
  const bool srcMono = useSrc && srcPx.mono;
  uint32_t monoBlack = 0, monoWhite = 0, srcBk = 0;
  if (useSrc) {
    if (srcMono && !dstMono) {
      monoBlack = ColorToPixel(B.dst->s.textColor, false);
      monoWhite = ColorToPixel(B.dst->s.bkColor, false);
    } else if (!srcMono && dstMono) {
      srcBk = ColorToPixel(B.src->s.bkColor, false);
    }
  }
  int n = r - l;
  if (useSrc) {
    sc.cols.resize(static_cast<size_t>(n));
    sc.source.resize(static_cast<size_t>(n));
    for (int x = l; x < r; ++x) sc.cols[static_cast<size_t>(x - l)] = B.sx + MapOffset(x - B.dx, B.dw, B.sw, B.mirrorX);
  }
  const bool plainCopy = useSrc && B.code == 0xCC && !B.transparent && srcMono == dstMono && B.dw == B.sw &&
                         !B.mirrorX;
  for (int y = t; y < b; ++y) {
    uint32_t* row = out.Row(y - oy) - ox;
    const uint32_t* S = nullptr;
    if (useSrc) {
      int srow = B.sy + MapOffset(y - B.dy, B.dh, B.sh, B.mirrorY);
      const uint32_t* sp = srcPx.Row(srow);
      if (plainCopy) {
        std::memmove(row + l, sp + sc.cols[0], static_cast<size_t>(n) * 4);
        continue;
      }
      for (int i = 0; i < n; ++i) {
        uint32_t v = sp[sc.cols[static_cast<size_t>(i)]] & 0x00FFFFFF;
        if (srcMono && !dstMono)
          v = v ? monoWhite : monoBlack;
        else if (!srcMono && dstMono)
          v = v == srcBk ? 0xFFFFFFu : 0u;
        sc.source[static_cast<size_t>(i)] = v;
      }
      S = sc.source.data();
      if (B.transparent) {
        for (int i = 0; i < n; ++i)
          if ((sp[sc.cols[static_cast<size_t>(i)]] & 0x00FFFFFF) != B.transparentPixel) row[l + i] = S[i];
        continue;
      }
    }
    if (!pattern) {
      for (int i = 0; i < n; ++i) row[l + i] = ApplyRop3(B.code, 0, S ? S[i] : 0, row[l + i]);
    } else if (!pattern->pattern) {
      uint32_t P = pattern->color;
      if (!S && B.code == 0xF0) {
        std::fill(row + l, row + r, P);
        continue;
      }
      for (int i = 0; i < n; ++i) row[l + i] = ApplyRop3(B.code, P, S ? S[i] : 0, row[l + i]);
    } else {
      for (int i = 0; i < n; ++i)
        row[l + i] = ApplyRop3(B.code, PatternAt(*pattern, l + i, y), S ? S[i] : 0, row[l + i]);
    }
  }
}

// Turns logical extents into a normalised rectangle; a negative extent
// covers (x + w, x]. Kept within the device coordinate range.
void Normalise(int64_t x, int64_t w, int& start, int& size) {
  int64_t first = w >= 0 ? x : x + w + 1;
  int64_t last = w >= 0 ? x + w : x + 1;
  int64_t lo = std::clamp(first, -kDeviceLimit, kDeviceLimit), hi = std::clamp(last, -kDeviceLimit, kDeviceLimit);
  start = static_cast<int>(lo);
  size = static_cast<int>(hi - lo);
}

BOOL Execute(HDC hdst, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, DWORD rop,
             bool transparent, COLORREF transparentColor) {
  DCObject* dst = LookupDC(hdst);
  if (!dst) return FALSE;
  Blit B;
  B.dst = dst;
  B.code = static_cast<BYTE>((rop >> 16) & 0xFF);
  B.transparent = transparent;
  bool useSrc = transparent || NeedsSource(B.code);
  POINT d = LPtoDevice(*dst, x, y);
  Normalise(int64_t{d.x} + dst->surfaceOrg.x, w, B.dx, B.dw);
  Normalise(int64_t{d.y} + dst->surfaceOrg.y, h, B.dy, B.dh);
  if (B.dw == 0 || B.dh == 0) return TRUE;
  PixelBuffer srcPx;
  if (useSrc) {
    DCObject* src = LookupDC(hsrc);
    if (!src || src->cr || !src->px.row0) return FALSE;
    B.src = src;
    POINT s = LPtoDevice(*src, sx, sy);
    Normalise(int64_t{s.x} + src->surfaceOrg.x, sw, B.sx, B.sw);
    Normalise(int64_t{s.y} + src->surfaceOrg.y, sh, B.sy, B.sh);
    if (B.sw == 0 || B.sh == 0) return TRUE;
    B.mirrorX = (w < 0) != (sw < 0);
    B.mirrorY = (h < 0) != (sh < 0);
    B.transparentPixel = ColorToPixel(transparentColor, src->px.mono);
    srcPx = src->px;
  }
  Paint patternPaint;
  const Paint* pattern = nullptr;
  if (NeedsPattern(B.code) && !transparent) {
    if (!BrushPaint(*dst, nullptr, patternPaint, false)) return TRUE;  // a hollow brush paints nothing
    pattern = &patternPaint;
  }

  // Only the destination pixels that can be seen are worked out...
  int l = B.dx, t = B.dy, r = B.dx + B.dw, b = B.dy + B.dh;
  RECT visible = EffectiveClip(*dst).Box();
  l = std::max<int>(l, visible.left);
  t = std::max<int>(t, visible.top);
  r = std::min<int>(r, visible.right);
  b = std::min<int>(b, visible.bottom);
  if (l >= r || t >= b) return TRUE;
  // ...and of those the ones whose source pixel lies on the source surface;
  // the rest of the destination is left alone.
  if (useSrc) {
    auto limit = [](int dstart, int dn, int sstart, int sn, bool mirror, int size, int& lo, int& hi) {
      int from = lo, to = hi;
      lo = to;
      hi = from;
      for (int p = from; p < to; ++p) {
        int64_t j = int64_t{sstart} + MapOffset(p - dstart, dn, sn, mirror);
        if (j >= 0 && j < size) {
          lo = std::min(lo, p);
          hi = std::max(hi, p + 1);
        }
      }
    };
    limit(B.dx, B.dw, B.sx, B.sw, B.mirrorX, srcPx.width, l, r);
    limit(B.dy, B.dh, B.sy, B.sh, B.mirrorY, srcPx.height, t, b);
    if (l >= r || t >= b) return TRUE;
  }

  Scratch& sc = Buffers();
  if (dst->cr) {
    // A vector page cannot be read back: the operation runs twice, on black
    // and on white. Where both runs give back what they were given the page
    // is left alone; elsewhere the result on white is placed on the page.
    int tw = r - l, th = b - t;
    size_t n = static_cast<size_t>(tw) * static_cast<size_t>(th);
    sc.temp.assign(2 * n, 0u);
    std::fill(sc.temp.begin() + static_cast<ptrdiff_t>(n), sc.temp.end(), 0x00FFFFFFu);
    PixelBuffer onBlack{sc.temp.data(), tw, tw, th, false};
    PixelBuffer onWhite{sc.temp.data() + n, tw, tw, th, false};
    RunBox(B, srcPx, onBlack, l, t, l, t, r, b, pattern);
    RunBox(B, srcPx, onWhite, l, t, l, t, r, b, pattern);
    cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, tw, th);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(img));
    int stride = cairo_image_surface_get_stride(img) / 4;
    for (int yy = 0; yy < th; ++yy)
      for (int xx = 0; xx < tw; ++xx) {
        size_t i = static_cast<size_t>(yy) * static_cast<size_t>(tw) + static_cast<size_t>(xx);
        uint32_t black = sc.temp[i] & 0x00FFFFFF, white = sc.temp[n + i] & 0x00FFFFFF;
        data[yy * stride + xx] = black == 0 && white == 0x00FFFFFF ? 0u : 0xFF000000u | white;
      }
    cairo_surface_mark_dirty(img);
    cairo_save(dst->cr);
    ClipCairo(*dst, dst->cr);
    cairo_set_source_surface(dst->cr, img, l, t);
    cairo_pattern_set_filter(cairo_get_source(dst->cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(dst->cr, l, t, tw, th);
    cairo_fill(dst->cr);
    cairo_restore(dst->cr);
    cairo_surface_destroy(img);
    return TRUE;
  }
  if (!dst->px.row0) return FALSE;
  if (useSrc && srcPx.row0 == dst->px.row0) {
    // Source and destination share pixels: read from a snapshot so that
    // overlapping rectangles copy as if at once.
    int sl = std::max(0, B.sx), st = std::max(0, B.sy);
    int sr = std::min(srcPx.width, B.sx + B.sw), sb = std::min(srcPx.height, B.sy + B.sh);
    int cw = sr - sl, ch = sb - st;
    if (cw <= 0 || ch <= 0) return TRUE;
    sc.copy.resize(static_cast<size_t>(cw) * static_cast<size_t>(ch));
    for (int yy = 0; yy < ch; ++yy)
      std::memcpy(sc.copy.data() + static_cast<size_t>(yy) * static_cast<size_t>(cw), srcPx.Row(st + yy) + sl,
                  static_cast<size_t>(cw) * 4);
    srcPx = PixelBuffer{sc.copy.data() - sl - static_cast<ptrdiff_t>(st) * cw, cw, srcPx.width, srcPx.height,
                        srcPx.mono};
  }
  ForEachClipped(*dst, l, t, r, b,
                 [&](int cl, int ct, int cr, int cb) { RunBox(B, srcPx, dst->px, 0, 0, cl, ct, cr, cb, pattern); });
  return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  return Execute(dest, x, y, width, height, src, srcX, srcY, width, height, rop, false, 0);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
  return Execute(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop, false, 0);
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparent) {
  if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) return FALSE;
  return Execute(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, SRCCOPY, true, transparent);
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  BYTE code = static_cast<BYTE>((rop >> 16) & 0xFF);
  if (NeedsSource(code)) return FALSE;
  // Without a source there is nothing to mirror: the extents just span a
  // rectangle, in either direction.
  int64_t x0 = std::min<int64_t>(x, int64_t{x} + width), y0 = std::min<int64_t>(y, int64_t{y} + height);
  int64_t w = std::llabs(int64_t{width}), h = std::llabs(int64_t{height});
  x = static_cast<int>(std::clamp(x0, -kDeviceLimit, kDeviceLimit));
  y = static_cast<int>(std::clamp(y0, -kDeviceLimit, kDeviceLimit));
  width = static_cast<int>(std::min(w, 2 * kDeviceLimit));
  height = static_cast<int>(std::min(h, 2 * kDeviceLimit));
  return Execute(dc, x, y, width, height, nullptr, 0, 0, 0, 0, rop, false, 0);
}

}  // namespace win
