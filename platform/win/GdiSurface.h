// Surfaces a DC draws on besides bitmaps: pixels owned by someone else (a
// window's backing surface, attached by the window layer), PDF pages for
// printing, and PNG files for looking at results.
#pragma once

#include <string>

#include "platform/win/WinTypes.h"

namespace win {

// The display's size in pixels (HORZRES/VERTRES of screen DCs); the display
// backend sets it.
SIZE GetScreenSize();
void SetScreenSize(int width, int height);

// A DC on 32-bit pixels (0x00RRGGBB, rows strideBytes apart) that the caller
// owns and keeps alive until DeleteDC or the next SetDCPixels.
HDC CreatePixelDC(uint32_t* pixels, int width, int height, int strideBytes);
BOOL SetDCPixels(HDC dc, uint32_t* pixels, int width, int height, int strideBytes);
// Window DCs: device (0, 0) sits at (x, y) of the surface, and nothing is
// drawn outside the visible region (device coordinates; null = everywhere).
BOOL SetDCSurfaceOrigin(HDC dc, int x, int y);
BOOL SetDCVisibleRegion(HDC dc, HRGN visible);
// The dots per inch a DC reports (LOGPIXELSX/Y) and that dpi-aware drawing,
// such as the visual style, scales to; DCs start at 96.
BOOL SetDCResolution(HDC dc, int dpi);

// A printer-like DC writing a PDF file: pages of width x height device
// units at dpi dots per inch. The drawing calls are those of every other DC;
// raster operations that read the destination see a white page.
HDC CreatePdfDC(const std::string& path, int width, int height, int dpi);

// A page whose printable area lies inside the paper: device (0, 0) is the
// printable area's top left, offset from the paper's corner (device units).
struct PageGeometry {
  int paperWidth = 0;
  int paperHeight = 0;
  int offsetX = 0;
  int offsetY = 0;
  int printableWidth = 0;
  int printableHeight = 0;
  int dpi = 0;
};
HDC CreatePdfDC(const std::string& path, const PageGeometry& page);
// Ends the current page and starts the next.
BOOL PdfNextPage(HDC dc);
// The file is complete after DeleteDC.

// Writes a bitmap's pixels as a PNG file.
BOOL SaveBitmapToPng(HBITMAP bitmap, const std::string& path);
// Writes the pixels a DC draws on (its bitmap or attached surface); FALSE
// for PDF pages.
BOOL SaveDCToPng(HDC dc, const std::string& path);

}  // namespace win
