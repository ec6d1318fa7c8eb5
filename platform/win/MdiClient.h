// The "MDICLIENT" window class: the client area of an MDI frame. Its children
// with WS_EX_MDICHILD are the MDI children; the client keeps which one is
// active, activates, cycles, maximises, restores and destroys them on request
// (WM_MDI*), cascades, tiles and arranges them, and keeps maximised children
// filling it as it is resized.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

namespace win {

inline constexpr const char* kMdiClientClassName = "MDICLIENT";

// Registers the class once per process; its background is the application
// workspace colour.
void RegisterMdiClientClass();
LRESULT MdiClientWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Where a maximised MDI child lies in its client window: its frame and caption
// outside the client's rectangle (its buttons show in the frame's menu bar).
MINMAXINFO MdiMaximizedPlace(HWND child);

}  // namespace win
