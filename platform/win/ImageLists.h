// Image lists of the window layer: equal-sized images with masks in one
// list handle (HIMAGELIST and the ImageList_* calls), drawn normal, blended,
// or in the engraved disabled look, with overlays, icons, and the drag image
// that follows the mouse during a drag.
#pragma once

#include "platform/win/UxTheme.h"
#include "platform/win/WinTypes.h"

namespace win {

// HIMAGELIST (declared with the visual-style API) points at HIMAGELIST__.

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
// Bits 8-11 of a drawing style name an overlay (1-15) drawn over the image.
constexpr UINT ILD_OVERLAYMASK = 0x0F00;
constexpr UINT INDEXTOOVERLAYMASK(int overlay) { return static_cast<UINT>(overlay) << 8; }
constexpr int kMaxOverlays = 15;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST himl);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_SetImageCount(HIMAGELIST himl, UINT count);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// Empties the list.
BOOL ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy);
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);
// A strip of images, cut every cx pixels; a set mask pixel (white) is
// transparent. Gives the index of the first image or -1.
int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask);
// The pixels of the colour become transparent (and black in the image).
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF maskColor);
BOOL ImageList_Replace(HIMAGELIST himl, int index, HBITMAP image, HBITMAP mask);
// -1 removes all.
BOOL ImageList_Remove(HIMAGELIST himl, int index);
BOOL ImageList_Copy(HIMAGELIST dst, int dstIndex, HIMAGELIST src, int srcIndex, UINT flags);
BOOL ImageList_Draw(HIMAGELIST himl, int index, HDC dc, int x, int y, UINT style);
// bk: CLR_NONE draws transparent, CLR_DEFAULT the list's background colour;
// fg: the blend colour (CLR_DEFAULT the highlight colour).
BOOL ImageList_DrawEx(HIMAGELIST himl, int index, HDC dc, int x, int y, int dx, int dy, COLORREF bk, COLORREF fg,
                      UINT style);
// Makes the image the overlay numbered 1-15 (INDEXTOOVERLAYMASK in a
// drawing style draws it over another image); -1 clears the overlay.
BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int image, int overlay);
// The image list image of an overlay number, or -1.
int ImageList_GetOverlayImage(HIMAGELIST himl, int overlay);

// Icons: the image (with its overlay when the flags name one) as a new icon
// the caller destroys; an icon stored at an index (-1 appends), scaled to
// the list's size, its see-through pixels masked. Give the index or -1.
HICON ImageList_GetIcon(HIMAGELIST himl, int index, UINT flags);
int ImageList_ReplaceIcon(HIMAGELIST himl, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST himl, HICON icon) { return ImageList_ReplaceIcon(himl, -1, icon); }

// The drag image: one for the whole program. BeginDrag copies an image
// (with its hot spot, the point that sits under the mouse); DragEnter shows
// it over a window at a point of the window rectangle, DragMove moves it,
// DragLeave hides it, DragShowNolock shows or hides it where it is, EndDrag
// throws it away. The image is a top-level window of its own, so moving it
// leaves no trace on the windows below, and neither WindowFromPoint nor the
// mouse ever finds it.
BOOL ImageList_BeginDrag(HIMAGELIST himlTrack, int iTrack, int dxHotspot, int dyHotspot);
BOOL ImageList_DragEnter(HWND hwndLock, int x, int y);
BOOL ImageList_DragMove(int x, int y);
BOOL ImageList_DragLeave(HWND hwndLock);
BOOL ImageList_DragShowNolock(BOOL show);
void ImageList_EndDrag();
// Puts an image of another list (a cursor picture) into the drag image, its
// hot spot on the drag image's hot spot; a later call replaces it.
BOOL ImageList_SetDragCursorImage(HIMAGELIST himlDrag, int iDrag, int dxHotspot, int dyHotspot);
// The list holding the drag image (null when no drag is on), the position
// last given to DragEnter/DragMove and the hot spot.
HIMAGELIST ImageList_GetDragImage(POINT* ppt, POINT* pptHotspot);
// The window showing the drag image (null when none exists).
HWND DragImageWindow();

}  // namespace win
