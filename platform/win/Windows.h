// Window classes and windows: creation and destruction, the parent and owner
// tree, z-order, placement and coordinates, window longs and subclassing,
// window text and window regions.
//
// A window belongs to the thread that created it; everything here except
// IsWindow and GetWindowThreadProcessId is called on that thread (other
// threads talk to a window through the queue's post and send). Windows are
// made on the user-interface thread; other threads may own message-only
// windows (parent HWND_MESSAGE). The windows of a thread that ends stay
// behind without a queue: posting and sending to them fail.
#pragma once

#include <string>

#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace win {

// The calling thread's last error (ERROR_* of WinUser.h).
DWORD GetLastError();
void SetLastError(DWORD error);

// The kernel's id of the calling thread.
DWORD GetCurrentThreadId();

// Window classes ---------------------------------------------------------------

// Class names are compared without regard to case. Returns 0 when the name is
// taken (ERROR_CLASS_ALREADY_EXISTS).
ATOM RegisterClassEx(const WNDCLASSEX* wc);
// Fails while windows of the class exist.
BOOL UnregisterClass(const char* className, HINSTANCE instance);
BOOL GetClassInfoEx(HINSTANCE instance, const char* className, WNDCLASSEX* wc);
int GetClassName(HWND hwnd, char* buffer, int maxCount);
std::string GetClassName(HWND hwnd);
LONG_PTR GetClassLongPtr(HWND hwnd, int index);
LONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);

// Windows --------------------------------------------------------------------------

// hwndParent is the parent of a WS_CHILD window and the owner of any other
// (HWND_MESSAGE makes a message-only window). Sends WM_GETMINMAXINFO (framed
// top-level windows), WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE and WM_MOVE,
// shows a WS_VISIBLE window, and tells the parent with WM_PARENTNOTIFY. A
// WM_NCCREATE answered FALSE or a WM_CREATE answered -1 destroys the window
// again and gives 0.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND hwndParent, HMENU menu, HINSTANCE instance, void* param);
// WM_PARENTNOTIFY to the parent, hides the window, destroys owned windows,
// then WM_DESTROY from the window down through its children and WM_NCDESTROY
// from the deepest child back up to the window.
BOOL DestroyWindow(HWND hwnd);

BOOL IsWindow(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);  // the window and all its ancestors
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
// Gives whether the window was disabled before; sends WM_ENABLE on a change.
BOOL EnableWindow(HWND hwnd, BOOL enable);
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);

HWND GetDesktopWindow();
// The parent of a child window, the owner of a popup, otherwise 0.
HWND GetParent(HWND hwnd);
HWND GetAncestor(HWND hwnd, UINT flags);
// Gives the previous parent. 0 makes a child window top-level.
HWND SetParent(HWND child, HWND newParent);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);
// Every descendant, parents before their children, until the callback
// answers FALSE.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
// Top-level windows in z-order.
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam);
// Top-level windows by class and/or title (null matches any).
HWND FindWindow(const char* className, const char* windowName);
HWND FindWindowEx(HWND parent, HWND childAfter, const char* className, const char* windowName);

// Gives whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int cmdShow);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);

// Screen coordinates.
BOOL GetWindowRect(HWND hwnd, RECT* rect);
// (0, 0, client width, client height).
BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
// Between client coordinates of two windows (0 = the screen). The result
// packs the x offset in the low word and the y offset in the high word.
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);

// The deepest visible window under a screen point, through window regions; a
// disabled child gives its parent, a disabled top-level window itself.
HWND WindowFromPoint(POINT point);
// The child under a client point of the parent (hidden and disabled ones
// included), the parent itself when no child is there, 0 outside the parent.
HWND ChildWindowFromPoint(HWND parent, POINT point);
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);

LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
// GWL_STYLE and GWL_EXSTYLE send WM_STYLECHANGING and WM_STYLECHANGED;
// GWLP_WNDPROC installs a new window procedure and gives the old one.
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Through WM_SETTEXT / WM_GETTEXT (UTF-8).
BOOL SetWindowText(HWND hwnd, const char* text);
int GetWindowText(HWND hwnd, char* buffer, int maxCount);
std::string GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);

// The region is in window coordinates (origin at the window rectangle's top
// left) and belongs to the system after the call; it clips drawing and hit
// testing. 0 removes it.
int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw);
// Copies the window's region into rgn; ERROR when it has none.
int GetWindowRgn(HWND hwnd, HRGN rgn);

}  // namespace win
