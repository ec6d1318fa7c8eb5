// Block transfers with raster operations, bitwise on 32-bit pixels.
// Between monochrome and colour surfaces: a monochrome source's black bits
// take the destination's text colour and its white bits the background
// colour; a colour source turns white where it matches the source DC's
// background colour and black elsewhere.
#pragma once

#include "platform/win/WinTypes.h"

namespace win {

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
// Nearest-pixel scaling; extents of opposite signs mirror. A negative
// extent covers the pixels from x + width + 1 up to x.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
// Copies (and scales) all but the source pixels of the transparent colour.
BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparent);
// Raster operations of pattern (the selected brush) and destination only;
// negative extents span the rectangle from x + width to x.
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);

// The result of a ternary raster operation (the code's third byte) on one
// pixel of pattern, source and destination.
uint32_t ApplyRop3(BYTE code, uint32_t pattern, uint32_t source, uint32_t dest);

}  // namespace win
