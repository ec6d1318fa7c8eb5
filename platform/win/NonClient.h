// The default non-client area: frames, captions with their buttons, client
// edges; its hit testing (WM_NCHITTEST), painting (WM_NCPAINT) and the
// system commands its buttons give.
#pragma once

#include "platform/win/WinUser.h"

namespace win {

// WM_SYSCOMMAND (the low four bits are the system's own).
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_RESTORE = 0xF120;
constexpr WPARAM SC_CONTEXTHELP = 0xF180;
// The next and the previous document window in a frame (Ctrl+F6, Ctrl+Tab).
constexpr WPARAM SC_NEXTWINDOW = 0xF040;
constexpr WPARAM SC_PREVWINDOW = 0xF050;

// The caption's icon: wParam ICON_SMALL or ICON_BIG, lParam the HICON (the
// caller keeps it); the previous one is the result.
constexpr UINT WM_GETICON = 0x007F;
constexpr UINT WM_SETICON = 0x0080;
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

constexpr LRESULT HTSIZE = HTGROWBOX;
constexpr LRESULT HTREDUCE = HTMINBUTTON;
constexpr LRESULT HTZOOM = HTMAXBUTTON;
constexpr LRESULT HTOBJECT = 19;

// The window rectangle that gives rect as client rectangle for these styles;
// menu TRUE counts a menu bar of one row.
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);

// Where the parts of a window's default frame lie, in window coordinates
// (origin at the window rectangle's top left). Empty rectangles for parts
// the styles leave out.
struct NonClientLayout {
  RECT window;       // (0, 0, width, height)
  int frame = 0;     // width of the outer frame (sizing, dialog or thin border)
  RECT caption;      // the caption bar, without the line under it
  RECT sysMenu;      // the icon box at the caption's left
  RECT closeButton;
  RECT maxButton;
  RECT minButton;
  RECT helpButton;
  RECT edgeOuter;    // inside of the frame and caption: where client edges start
  RECT vscroll;
  RECT hscroll;
  RECT sizeBox;      // between the two scroll bars
  RECT client;
};
NonClientLayout LayoutNonClient(DWORD style, DWORD exStyle, int width, int height);

}  // namespace win
