// How an inner control hands its input to its container: the container's
// own (protected) handlers, reached from outside the container, with mouse
// positions taken from the inner control's client coordinates into the
// container's. Every call does nothing without a container.
#pragma once

#include "platform/rtl/ScopeExit.h"
#include "suite/editors/cxContainer.h"

struct InnerControlForwarding {
  static void Click(TcxContainer* C) {
    if (C) (C->*(&Access::Click))();
  }
  static void DblClick(TcxContainer* C) {
    if (C) (C->*(&Access::DblClick))();
  }
  static void KeyDown(TcxContainer* C, Word& Key, TShiftState Shift) {
    if (C) (C->*(&Access::KeyDown))(Key, Shift);
  }
  static void KeyPress(TcxContainer* C, char32_t& Key) {
    if (C) (C->*(&Access::KeyPress))(Key);
  }
  static void KeyUp(TcxContainer* C, Word& Key, TShiftState Shift) {
    if (C) (C->*(&Access::KeyUp))(Key, Shift);
  }
  // True when the container took the wheel.
  static bool MouseWheel(TcxContainer* C, TShiftState Shift, Integer Delta, TPoint P) {
    return C && (C->*(&Access::DoMouseWheel))(Shift, Delta, P);
  }
  // The container must not take the focus for a click the inner control had.
  static void MouseDown(TcxContainer* C, TControl* Inner, TMouseButton B, TShiftState S, Integer X, Integer Y) {
    if (!C) return;
    C->ForwardedMouseDown = true;
    ScopeExit done([C] { C->ForwardedMouseDown = false; });
    (C->*(&Access::MouseDown))(B, S, X + Inner->Left(), Y + Inner->Top());
  }
  static void MouseMove(TcxContainer* C, TControl* Inner, TShiftState S, Integer X, Integer Y) {
    if (C) (C->*(&Access::MouseMove))(S, X + Inner->Left(), Y + Inner->Top());
  }
  static void MouseUp(TcxContainer* C, TControl* Inner, TMouseButton B, TShiftState S, Integer X, Integer Y) {
    if (C) (C->*(&Access::MouseUp))(B, S, X + Inner->Left(), Y + Inner->Top());
  }
  static void DragOver(TcxContainer* C, TControl* Inner, TObject* Source, Integer X, Integer Y, TDragState State,
                       bool& Accept) {
    if (C) (C->*(&Access::DragOver))(Source, X + Inner->Left(), Y + Inner->Top(), State, Accept);
  }
  static void DragDrop(TcxContainer* C, TControl* Inner, TObject* Source, Integer X, Integer Y) {
    if (C) C->DragDrop(Source, X + Inner->Left(), Y + Inner->Top());
  }
  static void FocusChanged(TcxContainer* C) {
    if (C) (C->*(&Access::FocusChanged))();
  }

 private:
  // The member pointers it gives are the container's own, so the calls
  // dispatch virtually.
  struct Access : TcxContainer {
    using TcxContainer::Click;
    using TcxContainer::DblClick;
    using TcxContainer::DoMouseWheel;
    using TcxContainer::DragOver;
    using TcxContainer::FocusChanged;
    using TcxContainer::KeyDown;
    using TcxContainer::KeyPress;
    using TcxContainer::KeyUp;
    using TcxContainer::MouseDown;
    using TcxContainer::MouseMove;
    using TcxContainer::MouseUp;
  };
};
