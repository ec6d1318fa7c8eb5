// GDI objects (pens, brushes, bitmaps) and device contexts: creation,
// selection, the DC's drawing state and its coordinate origins.
#pragma once

#include "platform/rtl/SysUtils.h"
#include "platform/win/WinTypes.h"

namespace win {

using ::MulDiv;

// Objects -----------------------------------------------------------------------

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
// Cosmetic pens are one pixel wide; geometric pens take the width, end cap
// and join of the style word. Only solid brushes are taken for pens.
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// The brush keeps a copy of the bitmap's pixels; a monochrome bitmap gives a
// brush that takes the DC's text and background colours.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);

// Monochrome (1 bit, rows padded to 16 bits, set bits white) or 32-bit.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// Monochrome when the DC is a memory DC holding a monochrome bitmap (a fresh
// memory DC holds one), else 32-bit.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// 32-bit DIB sections; *bits points at the pixels in the DIB's row order.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, void* section, DWORD offset);
// Rows bottom-up for a positive biHeight, padded to 32 bits. GetDIBits
// gives 32 or 24 bits per pixel; SetDIBits also takes 1, 4 and 8 bits with
// the colour table following the header.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);

int GetObject(HGDIOBJ object, int size, void* out);
DWORD GetObjectType(HGDIOBJ object);
HGDIOBJ GetStockObject(int index);
// Pens, brushes, fonts and bitmaps swap in and return the previous one; a
// region becomes the clip (a copy) and the result is its complexity.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
// An object still selected into a DC is freed when the last DC lets it go;
// its handle is dead at once.
BOOL DeleteObject(HGDIOBJ object);

// Device contexts ----------------------------------------------------------------

// A memory DC holding a 1 x 1 monochrome bitmap.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedDC);

int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int GetMapMode(HDC dc);

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC dc, POINT* origin);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetBrushOrgEx(HDC dc, POINT* origin);
BOOL LPtoDP(HDC dc, POINT* points, int count);
BOOL DPtoLP(HDC dc, POINT* points, int count);
BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL GetCurrentPositionEx(HDC dc, POINT* position);

int GetDeviceCaps(HDC dc, int index);
COLORREF GetNearestColor(HDC dc, COLORREF color);

}  // namespace win
