// Events the editors' published lists name beside those every control
// publishes: a form binds a handler only to a published event.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/rtl/TypInfo.h"
#include "suite/editors/cxEdit.h"

enum TcxPublishedEditorEvent : unsigned {
  cxpeEditing = 1,     // OnEditing (editors only)
  cxpeDock = 2,        // OnStartDock, OnEndDock
  cxpeMouseEnter = 4,  // OnMouseEnter, OnMouseLeave
};

// OnEditing needs C to be an editor; the other events any control has.
template <typename C>
void PublishEditorEvents(TPublisher<C>& P, unsigned AEvents) {
  if constexpr (requires { &C::OnEditing; }) {
    if (AEvents & cxpeEditing) P.Event("OnEditing", static_cast<TcxEditEditingEvent C::*>(&C::OnEditing));
  }
  if (AEvents & cxpeDock) {
    P.Event("OnEndDock", static_cast<TEndDragEvent C::*>(&C::OnEndDock));
    P.Event("OnStartDock", static_cast<TStartDockEvent C::*>(&C::OnStartDock));
  }
  if (AEvents & cxpeMouseEnter) {
    P.Event("OnMouseEnter", static_cast<TNotifyEvent C::*>(&C::OnMouseEnter));
    P.Event("OnMouseLeave", static_cast<TNotifyEvent C::*>(&C::OnMouseLeave));
  }
}
