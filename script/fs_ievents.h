// Event bridges: the objects a script's handler assignment installs in a host
// event. Each bridge method has the host event's signature, hands the host's
// arguments to the handler routine (CallHandler) and copies the handler's
// var parameters back to the host afterwards.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/CustomForms.h"
#include "script/fs_iinterpreter.h"

#define VXN_FS_EVENT_BRIDGE(Name, ...)       \
  class Name : public TfsCustomEvent {       \
    VXN_DECLARE_CLASS(Name)                  \
                                             \
   public:                                   \
    using TfsCustomEvent::TfsCustomEvent;    \
    TMethod GetMethod() override;            \
    void DoEvent(__VA_ARGS__);               \
  };

VXN_FS_EVENT_BRIDGE(TfsNotifyEvent, TObject* Sender)
VXN_FS_EVENT_BRIDGE(TfsMouseEvent, TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                    Integer Y)
VXN_FS_EVENT_BRIDGE(TfsMouseMoveEvent, TObject* Sender, TShiftState Shift, Integer X, Integer Y)
VXN_FS_EVENT_BRIDGE(TfsKeyEvent, TObject* Sender, Word& Key, TShiftState Shift)
VXN_FS_EVENT_BRIDGE(TfsKeyPressEvent, TObject* Sender, char32_t& Key)
VXN_FS_EVENT_BRIDGE(TfsCloseEvent, TObject* Sender, TCloseAction& Action)
VXN_FS_EVENT_BRIDGE(TfsCloseQueryEvent, TObject* Sender, bool& CanClose)
VXN_FS_EVENT_BRIDGE(TfsCanResizeEvent, TObject* Sender, Integer& NewWidth, Integer& NewHeight,
                    bool& Resize)
#undef VXN_FS_EVENT_BRIDGE
