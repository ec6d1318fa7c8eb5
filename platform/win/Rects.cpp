#include "platform/win/Rects.h"

#include <algorithm>

namespace win {

BOOL SetRect(RECT* r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }

BOOL CopyRect(RECT* dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }

BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b; }

BOOL PtInRect(const RECT* r, POINT p) {
  return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

BOOL OffsetRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
  return TRUE;
}

BOOL InflateRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  r->left -= dx;
  r->right += dx;
  r->top -= dy;
  r->bottom += dy;
  return TRUE;
}

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    *dst = RECT{};
    return FALSE;
  }
  *dst = r;
  return TRUE;
}

BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  bool ea = IsRectEmpty(a), eb = IsRectEmpty(b);
  if (ea && eb) {
    *dst = RECT{};
    return FALSE;
  }
  if (ea) return *dst = *b, TRUE;
  if (eb) return *dst = *a, TRUE;
  *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
              std::max(a->bottom, b->bottom)};
  return TRUE;
}

BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r = *a;
  RECT meet;
  if (IntersectRect(&meet, a, b)) {
    bool fullWidth = meet.left == a->left && meet.right == a->right;
    bool fullHeight = meet.top == a->top && meet.bottom == a->bottom;
    if (fullWidth && fullHeight) {
      r = RECT{};
    } else if (fullWidth) {
      if (meet.top == a->top)
        r.top = meet.bottom;
      else if (meet.bottom == a->bottom)
        r.bottom = meet.top;
    } else if (fullHeight) {
      if (meet.left == a->left)
        r.left = meet.right;
      else if (meet.right == a->right)
        r.right = meet.left;
    }
  }
  *dst = r;
  return IsRectEmpty(&r) ? FALSE : TRUE;
}

}  // namespace win
