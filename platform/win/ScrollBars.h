// The scroll bars of a window (WS_VSCROLL / WS_HSCROLL): their range, page,
// position and track position, showing and enabling, and their geometry for
// GetScrollBarInfo. The flat scroll-bar calls are the same calls.
//
// Once a program touched a bar through these calls, the frame draws the bars
// and a press on one runs until the button comes up, sending WM_VSCROLL /
// WM_HSCROLL: the arrow and page codes (repeated while held), SB_THUMBTRACK
// while the thumb moves, SB_THUMBPOSITION when it is let go, then
// SB_ENDSCROLL. The bar's position is the program's to set.
#pragma once

#include "platform/win/UxTheme.h"
#include "platform/win/WinUser.h"

namespace win {

// The "SCROLLBAR" control: the window is the bar (SB_CTL); it tells its
// parent with WM_VSCROLL / WM_HSCROLL whose lParam is the control.
constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
inline constexpr const char* kScrollBarClassName = "SCROLLBAR";
// Registers the class once per process (later calls give the same atom).
ATOM RegisterScrollBarClass();

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

// WM_VSCROLL / WM_HSCROLL / EM_SCROLL codes.
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_LTUP = 0x0001;
constexpr UINT ESB_DISABLE_LEFT = 0x0001;
constexpr UINT ESB_DISABLE_UP = 0x0001;
constexpr UINT ESB_DISABLE_RTDN = 0x0002;
constexpr UINT ESB_DISABLE_RIGHT = 0x0002;
constexpr UINT ESB_DISABLE_DOWN = 0x0002;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;

constexpr LONG OBJID_CLIENT = -4;
constexpr LONG OBJID_VSCROLL = -5;
constexpr LONG OBJID_HSCROLL = -6;

constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x00000001;
constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;
constexpr DWORD STATE_SYSTEM_INVISIBLE = 0x00008000;
constexpr DWORD STATE_SYSTEM_OFFSCREEN = 0x00010000;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

struct SCROLLBARINFO {
  DWORD cbSize = sizeof(SCROLLBARINFO);
  RECT rcScrollBar;  // screen coordinates
  int dxyLineButton = 0;
  int xyThumbTop = 0;  // from the bar's top (left)
  int xyThumbBottom = 0;
  int reserved = 0;
  DWORD rgstate[6] = {};  // the bar, up arrow, page up, thumb, page down, down arrow
};

// Keeps the page within the range and the position within what the page
// leaves; gives the new position. A bar whose range becomes empty is hidden,
// or disabled with SIF_DISABLENOSCROLL; a bar with a range shows.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
// Gives the previous position.
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
// Sets or clears WS_VSCROLL / WS_HSCROLL and lays the frame out again.
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);
// objectId: OBJID_VSCROLL or OBJID_HSCROLL; OBJID_CLIENT for a scroll-bar control.
BOOL GetScrollBarInfo(HWND hwnd, LONG objectId, SCROLLBARINFO* info);

// The flat scroll-bar calls: the same bars.
BOOL InitializeFlatSB(HWND hwnd);
HRESULT UninitializeFlatSB(HWND hwnd);
int FlatSB_SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL FlatSB_GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
int FlatSB_SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int FlatSB_GetScrollPos(HWND hwnd, int bar);
BOOL FlatSB_SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL FlatSB_GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
BOOL FlatSB_ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL FlatSB_EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

}  // namespace win
