// Inside of the forms library: what its modules share with each other and
// nothing outside the folder includes.
#pragma once

#include "platform/forms/Controls.h"

class TChangeLink;
class TCustomImageList;

// The window procedure of every control's window; the scroll bar puts it in
// front of the system class it subclasses.
win::LRESULT ControlWindowProc(win::HWND hwnd, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam);

namespace forms {

// A graphic control holding the mouse through its parent's window.
extern TControl* CaptureControl;

inline TPoint PointFromLParam(win::LPARAM lp) { return {win::GET_X_LPARAM(lp), win::GET_Y_LPARAM(lp)}; }
inline win::LPARAM LParamFromPoint(const TPoint& p) {
  return win::MAKELPARAM(static_cast<win::WORD>(static_cast<int16_t>(p.X)), static_cast<win::WORD>(static_cast<int16_t>(p.Y)));
}

inline bool PtInRect(const TRect& r, const TPoint& p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

// A control going away takes no part in a drag any more.
void ForgetDragControl(TControl* Control);

// The application's exception handler and its view of the mouse (hints,
// enter and leave) and of the focus.
void ApplicationHandleControlException(TObject* Sender);
void ApplicationHintMouseMessage(TControl* Control, TMessage& Message);
void ApplicationControlDestroyed(TControl* Control);
void ScreenFocusChanged(TWinControl* Control);

// Points Link at List (registered for its changes) instead of its old list.
void LinkImages(TChangeLink& Link, TCustomImageList* List);

}  // namespace forms
