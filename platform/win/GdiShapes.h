// Lines, shapes, rectangle fills and paths with Windows' pixel rules: no
// anti-aliasing, a line's end point is not drawn, a shape's right and bottom
// edges lie outside it.
#pragma once

#include "platform/win/WinTypes.h"

namespace win {

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);

BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolylineTo(HDC dc, const POINT* points, DWORD count);
BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines);
// Filled with the brush by the DC's fill mode, outlined with the pen.
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);

// The brush may also be COLOR_xxx + 1, meaning that system colour.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);

// Paths: between BeginPath and EndPath the line, polygon, rectangle,
// ellipse and round-rectangle calls record figures instead of drawing.
BOOL BeginPath(HDC dc);
BOOL EndPath(HDC dc);
BOOL AbortPath(HDC dc);
// The region of the closed path (device coordinates, the DC's fill mode);
// the path is used up.
HRGN PathToRegion(HDC dc);

}  // namespace win
