#include "platform/win/SuiteCursors.h"

#include <cstdlib>

namespace win {
namespace {

constexpr int kSize = 32;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

struct Picture {
  uint32_t px[kSize * kSize] = {};
  void Set(int x, int y) {
    if (x >= 0 && y >= 0 && x < kSize && y < kSize) px[y * kSize + x] = kBlack;
  }
  void Fill(int l, int t, int r, int b) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) Set(x, y);
  }
  void Frame(int l, int t, int r, int b) {
    Fill(l, t, r, t + 1);
    Fill(l, b - 1, r, b);
    Fill(l, t, l + 1, b);
    Fill(r - 1, t, r, b);
  }
  // A filled triangle of height h pointing in direction d (0 up, 1 right,
  // 2 down, 3 left) with its apex at (ax, ay).
  void Arrow(int ax, int ay, int d, int h) {
    for (int i = 0; i < h; ++i)
      for (int j = -i; j <= i; ++j) {
        switch (d) {
          case 0: Set(ax + j, ay + i); break;
          case 1: Set(ax - i, ay + j); break;
          case 2: Set(ax + j, ay - i); break;
          default: Set(ax + i, ay + j); break;
        }
      }
  }
  void Pointer() {  // the usual arrow, hot spot (0, 0)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x <= y && x < 11; ++x)
        if (y < 11 || x < 5) Set(x, y);
    Fill(5, 11, 7, 17);
  }
  // A white outline around every black pixel keeps the shape visible on
  // any background.
  void Outline() {
    uint32_t copy[kSize * kSize];
    for (int i = 0; i < kSize * kSize; ++i) copy[i] = px[i];
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        if (copy[y * kSize + x]) continue;
        for (int dy = -1; dy <= 1 && !px[y * kSize + x]; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < kSize && ny < kSize && copy[ny * kSize + nx] == kBlack) {
              px[y * kSize + x] = kWhite;
              break;
            }
          }
      }
  }
};

void ScrollAnchor(Picture& p, bool up, bool right, bool down, bool left) {
  p.Fill(14, 14, 19, 19);
  if (up) p.Arrow(16, 3, 0, 7);
  if (down) p.Arrow(16, 29, 2, 7);
  if (left) p.Arrow(3, 16, 3, 7);
  if (right) p.Arrow(29, 16, 1, 7);
}

void Page(Picture& p, int l, int t) { p.Frame(l, t, l + 10, t + 8); }

}  // namespace

bool SuiteCursorImage(const std::string& name, CursorImage* image) {
  Picture p;
  int hx = 16, hy = 16;
  if (name == "CX_FULLSCROLLCURSOR") {
    ScrollAnchor(p, true, true, true, true);
  } else if (name == "CX_HORSCROLLCURSOR") {
    ScrollAnchor(p, false, true, false, true);
  } else if (name == "CX_VERSCROLLCURSOR" || name == "CXEDIT_MOUSEWHEEL") {
    ScrollAnchor(p, true, false, true, false);
  } else if (name == "CX_UPSCROLLCURSOR") {
    ScrollAnchor(p, true, false, false, false);
  } else if (name == "CX_RIGHTSCROLLCURSOR") {
    ScrollAnchor(p, false, true, false, false);
  } else if (name == "CX_DOWNSCROLLCURSOR") {
    ScrollAnchor(p, false, false, true, false);
  } else if (name == "CX_LEFTSCROLLCURSOR") {
    ScrollAnchor(p, false, false, false, true);
  } else if (name == "CX_VERTSIZECURSOR") {
    p.Fill(4, 14, 28, 15);
    p.Fill(4, 17, 28, 18);
    p.Arrow(16, 5, 0, 6);
    p.Arrow(16, 26, 2, 6);
  } else if (name == "CX_HORZSIZECURSOR") {
    p.Fill(14, 4, 15, 28);
    p.Fill(17, 4, 18, 28);
    p.Arrow(5, 16, 3, 6);
    p.Arrow(26, 16, 1, 6);
  } else if (name == "CX_DRAGCURSOR" || name == "CX_DRAGCOPYCURSOR" || name == "CX_MULTIDRAGCURSOR" ||
             name == "CX_REMOVECURSOR") {
    hx = hy = 0;
    p.Pointer();
    if (name == "CX_MULTIDRAGCURSOR") Page(p, 11, 17);
    Page(p, 9, 19);
    if (name == "CX_DRAGCOPYCURSOR") {
      p.Fill(20, 25, 27, 26);
      p.Fill(23, 22, 24, 29);
    } else if (name == "CX_REMOVECURSOR") {
      for (int i = 0; i < 7; ++i) {
        p.Set(20 + i, 22 + i);
        p.Set(26 - i, 22 + i);
      }
    }
  } else if (name == "CX_NODROPCURSOR") {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const int dx = 2 * x - 31, dy = 2 * y - 31, d = dx * dx + dy * dy;
        if (d <= 22 * 22 && d >= 16 * 16) p.Set(x, y);
        if (d < 16 * 16 && std::abs(dx + dy) <= 3) p.Set(x, y);
      }
  } else if (name == "CX_HANDPOINTCURSOR") {
    hx = 9;
    hy = 1;
    p.Fill(8, 1, 11, 14);    // the pointing finger
    p.Fill(11, 9, 14, 14);   // the other fingers
    p.Fill(14, 10, 17, 14);
    p.Fill(17, 11, 20, 14);
    p.Fill(5, 12, 8, 17);    // the thumb
    p.Fill(7, 14, 20, 22);   // the palm
    p.Fill(9, 22, 18, 25);
  } else {
    return false;
  }
  p.Outline();
  image->width = kSize;
  image->height = kSize;
  image->xHotspot = hx;
  image->yHotspot = hy;
  image->argb.assign(p.px, p.px + kSize * kSize);
  return true;
}

}  // namespace win
