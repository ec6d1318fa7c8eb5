// Inside of the forms library: what its modules share with each other and
// nothing outside the folder includes.
#pragma once

#include "platform/forms/Controls.h"

class TChangeLink;
class TCustomImageList;

namespace forms {

// ControlWindowProc (declared with TWinControl, its friend) is the window
// procedure of every control's window; the scroll bar puts it in front of the
// system class it subclasses.

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
// A docked control going away leaves its host dock site (which hears of it
// as of an undock); a dock site going away lets its clients go.
void ForgetDockClient(TControl* Control);
void ForgetDockSite(TWinControl* Site);

// A dock drag (the control's DragKind is dkDock): its drag object, made by
// the control's OnStartDock or here; a move of the mouse to a screen point
// (dock site, dock over, the dock rect shown); its end, docking into the
// site, floating or nothing.
TDragDockObject* StartDockDrag(TControl* Control, const TPoint& Pos, bool& OwnsObject);
void DockDragTo(TDragDockObject& Object, const TPoint& Pos);
void DockDragDone(TDragDockObject& Object, bool Drop);

// The application's exception handler and its view of the mouse (hints,
// enter and leave) and of the focus.
void ApplicationHandleControlException(TObject* Sender);
void ApplicationHintMouseMessage(TControl* Control, TMessage& Message);
void ApplicationControlDestroyed(TControl* Control);
void ScreenFocusChanged(TWinControl* Control);
// Whether Control, given the focus, gets CM_ENTER, and whether, losing it
// to NewFocus, it gets CM_EXIT: the notices follow the focus inside the
// control's form (TForm::FocusEntering and FocusLeaving); a control on no
// form gets them at every focus change.
bool FocusEntersControl(TWinControl* Control);
bool FocusExitsControl(TWinControl* Control, win::HWND NewFocus);

// Points Link at List (registered for its changes) instead of its old list.
void LinkImages(TChangeLink& Link, TCustomImageList* List);

}  // namespace forms
