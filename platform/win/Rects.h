// Rectangle and point arithmetic of the window layer. Rectangles are
// right/bottom exclusive; an empty one has no width or no height.
#pragma once

#include "platform/win/WinTypes.h"

namespace win {

BOOL SetRect(RECT* r, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* r);
BOOL CopyRect(RECT* dst, const RECT* src);
BOOL IsRectEmpty(const RECT* r);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* r, POINT p);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
// FALSE with an empty result when they do not meet.
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);
// The smallest rectangle holding both; empty ones do not count.
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);
// a less b when b cuts a whole side off a, else a unchanged.
BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b);

}  // namespace win
