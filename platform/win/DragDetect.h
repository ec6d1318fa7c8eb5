// DragDetect: whether the user drags from a point, decided by a short modal
// loop that holds the mouse capture.
#pragma once

#include "platform/win/WinUser.h"

namespace win {

// Captures the mouse to hwnd and reads messages until the pointer leaves
// the drag rectangle around pt (SM_CXDRAG x SM_CYDRAG, centred on pt, screen
// coordinates): TRUE; or until the left button goes up, Esc is pressed, the
// capture moves to another window or the queue ends: FALSE. The mouse
// messages the loop reads are used up; every other message is dispatched.
BOOL DragDetect(HWND hwnd, POINT pt);

}  // namespace win
