// Regions (sets of pixels kept as rectangle lists) and the DC's clipping.
#pragma once

#include "platform/win/WinTypes.h"

namespace win {

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
// NULLREGION, SIMPLEREGION, COMPLEXREGION, or ERROR.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
int GetRgnBox(HRGN rgn, RECT* box);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rect);
BOOL EqualRgn(HRGN a, HRGN b);

// Regions given to drawing calls are in logical coordinates.
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height);
BOOL InvertRgn(HDC dc, HRGN rgn);

// Clipping. The clip region lives in device coordinates; a DC starts with
// none, which is not the same as a clip of any size.
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
// 1 with the clip copied into rgn, 0 when the DC has no clip, -1 on error.
int GetClipRgn(HDC dc, HRGN rgn);
// The box of what can be drawn, in logical coordinates.
int GetClipBox(HDC dc, RECT* rect);
BOOL RectVisible(HDC dc, const RECT* rect);
BOOL PtVisible(HDC dc, int x, int y);

}  // namespace win
