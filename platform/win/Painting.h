// Update regions and painting, and the DCs of windows and of the screen.
//
// A window's DC draws into its top-level window's backing surface, clipped
// to what of the window can be seen: its parents' client areas, window
// regions, siblings above it (WS_CLIPSIBLINGS) and its own children
// (WS_CLIPCHILDREN). Invalidation of a hidden window is dropped; showing,
// moving or sizing a window invalidates what it uncovers.
#pragma once

#include "platform/win/WinUser.h"

namespace win {

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;  // the background still needs erasing
  RECT rcPaint;
  BOOL fRestore = FALSE;
  BOOL fIncUpdate = FALSE;
  BYTE rgbReserved[32] = {};
};

// RedrawWindow.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

// GetDCEx.
constexpr DWORD DCX_WINDOW = 0x00000001;
constexpr DWORD DCX_CACHE = 0x00000002;
constexpr DWORD DCX_NORESETATTRS = 0x00000004;
constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
constexpr DWORD DCX_PARENTCLIP = 0x00000020;
constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
constexpr DWORD DCX_EXCLUDEUPDATE = 0x00000100;
constexpr DWORD DCX_INTERSECTUPDATE = 0x00000200;
constexpr DWORD DCX_LOCKWINDOWUPDATE = 0x00000400;
constexpr DWORD DCX_USESTYLE = 0x00010000;
constexpr DWORD DCX_VALIDATE = 0x00200000;

// ScrollWindowEx.
constexpr UINT SW_SCROLLCHILDREN = 0x0001;
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;

// WM_PRINT / WM_PRINTCLIENT.
constexpr LPARAM PRF_CHECKVISIBLE = 0x00000001;
constexpr LPARAM PRF_NONCLIENT = 0x00000002;
constexpr LPARAM PRF_CLIENT = 0x00000004;
constexpr LPARAM PRF_ERASEBKGND = 0x00000008;
constexpr LPARAM PRF_CHILDREN = 0x00000010;
constexpr LPARAM PRF_OWNED = 0x00000020;

// Rectangles and regions are in client coordinates. A null window stands for
// every top-level window. Without RDW_ALLCHILDREN or RDW_NOCHILDREN children
// take part unless the window has WS_CLIPCHILDREN.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
// erase sends a pending WM_ERASEBKGND now.
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase);
// Paints the window and its children now (WM_NCPAINT, WM_ERASEBKGND,
// WM_PAINT sent, not posted).
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags);

// WM_NCPAINT first when the frame needs it, then the client part of the
// update region becomes the DC's clip and is validated; WM_ERASEBKGND when
// asked for. The caret hides until EndPaint.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);

// Moves the client content by (dx, dy) within scroll ∩ clip (null: the whole
// client area). What could not be moved (uncovered, or its source hidden) is
// given back in updateRgn / updateRect and, with SW_INVALIDATE, invalidated
// (erased with SW_ERASE). The update region moves along. SW_SCROLLCHILDREN
// moves the children whose windows meet the scroll rectangle.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRgn,
                   RECT* updateRect, UINT flags);
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip);

// A DC on the client area; GetDC(0) gives a DC on the screen: an overlay
// the size of the display, over the composed windows (rubber bands and XOR
// outlines; see ScreenOverlayPixels).
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
// clipRgn is in screen coordinates (as WM_NCPAINT hands it over) and
// belongs to the system afterwards.
HDC GetDCEx(HWND hwnd, HRGN clipRgn, DWORD flags);
int ReleaseDC(HWND hwnd, HDC dc);
HWND WindowFromDC(HDC dc);

// The screen DC's pixels (0x00RRGGBB, GetScreenSize), black where nothing
// was drawn.
const uint32_t* ScreenOverlayPixels();

}  // namespace win
