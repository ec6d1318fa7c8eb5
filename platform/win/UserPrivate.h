// Inside of the input, painting and non-client modules: what they share
// with each other, with the layer's control classes and hand to the window
// core. Only modules of the win layer include this.
#pragma once

#include "platform/win/WindowsPrivate.h"
#include "platform/win/WinUser.h"

namespace win::user {

// Installs the layer's extensions into the window core and the system
// colour hook (once).
void EnsureUserLayer();

// Input.
bool NextInputMessage(HWND filter, UINT min, UINT max, bool remove, MSG* out);
bool DefInputMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
void InputWindowDestroying(HWND hwnd);
void InputWindowDisabled(HWND hwnd);
// QS_MOUSE / QS_KEY / QS_PAINT of what waits for the calling thread.
UINT PendingInputStatus();
void InputWindowPosChanged(HWND hwnd, UINT swpFlags);
void ActivateShownWindow(HWND hwnd);
// The caret steps aside while a window paints.
void HideCaretForPaint(HWND hwnd);
void ShowCaretAfterPaint(HWND hwnd);

// Painting.
bool NextPaintMessage(HWND filter, UINT min, UINT max, MSG* out);
// Whether a window of the calling thread waits for WM_PAINT.
bool PaintPending();
bool DefPaintMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
void PaintWindowDestroying(HWND hwnd);
void PaintWindowPosChanged(HWND hwnd, const RECT& oldScreenRect, UINT swpFlags);
void RepaintEverything();
// What of a window can be drawn on, in its top-level window's surface
// coordinates: the client area or the whole window, cut by its parents,
// window regions, siblings above (clipSiblings) and children (clipChildren).
HRGN VisibleRegion(wnd::Window* w, bool client, bool clipChildren, bool clipSiblings);

// The non-client area.
bool DefNonClientMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
// Whether the frame shows as active (WM_NCACTIVATE keeps it).
bool FrameActive(HWND hwnd);
void ForgetFrame(HWND hwnd);
// The window's icon as its caption shows it, centred in box (the menu bar
// shows a maximised document window's there too).
void DrawCaptionIcon(HDC dc, HWND hwnd, const RECT& box);

// The calling thread's filter rule for the queue: 0 for all windows, -1 for
// none, else the window and its descendants.
bool MatchesFilter(HWND filter, HWND hwnd);
inline bool InFilterRange(UINT msg, UINT min, UINT max) { return (min == 0 && max == 0) || (msg >= min && msg <= max); }

// The layer's own control classes (edit, list box, scroll bar) exist once per
// process, global and taking double clicks; the caller keeps the atom, which
// stays valid until someone unregisters the class.
ATOM RegisterControlClass(ATOM& atom, const char* name, WNDPROC proc, const char* cursor);

}  // namespace win::user
