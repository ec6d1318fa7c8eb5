#include "platform/forms/Controls.h"

#include <algorithm>
#include <memory>
#include <cstdlib>
#include <unordered_map>

#include "platform/forms/Docking.h"
#include "platform/forms/Forms.h"
#include "platform/forms/FormsPrivate.h"
#include "platform/forms/ImgList.h"
#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiBlit.h"
#include "platform/win/GdiRegions.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiScopes.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"

using namespace win;

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  HWND wnd = WindowFromPoint(POINT{Pos.X, Pos.Y});
  TWinControl* control = FindControl(wnd);
  if (!control) return nullptr;
  TControl* result = control->ControlAtPos(control->ScreenToClient(Pos), AllowDisabled);
  return result ? result : control;
}

// ---------------------------------------------------------------------------
// Drag and drop.

VXN_IMPLEMENT_CLASS(TDragObject, TObject)
VXN_IMPLEMENT_CLASS(TBaseDragControlObject, TDragObject)
VXN_IMPLEMENT_CLASS(TDragControlObject, TBaseDragControlObject)

TCursor TDragObject::GetDragCursor(bool Accepted, Integer X, Integer Y) {
  (void)X;
  (void)Y;
  return Accepted ? crDrag : crNoDrop;
}

void TDragObject::ShowDragImage() {
  if (TDragImageList* images = GetDragImages()) images->ShowDragImage();
}

void TDragObject::HideDragImage() {
  if (TDragImageList* images = GetDragImages()) images->HideDragImage();
}

TCursor TDragControlObject::GetDragCursor(bool Accepted, Integer X, Integer Y) {
  (void)X;
  (void)Y;
  return Accepted ? Control->DragCursor : crNoDrop;
}

// The drag machinery below calls the controls' protected drag handlers.
struct TDragAccess {
  static void StartDrag(TControl* c, TDragObject*& o) { c->DoStartDrag(o); }
  static void Over(TControl* c, TObject* s, TPoint p, TDragState st, bool& a) { c->DragOver(s, p.X, p.Y, st, a); }
  static void Canceled(TControl* c) { c->DragCanceled(); }
  static void EndDrag(TControl* c, TObject* t, TPoint p) { c->DoEndDrag(t, p.X, p.Y); }
};

namespace {

struct TDragState_ {
  TControl* Control = nullptr;
  TDragObject* Object = nullptr;
  bool OwnsObject = false;
  bool Active = false;  // past the threshold
  Integer Threshold = 5;
  TPoint StartPos;
  HWND Capture = nullptr;
  TControl* Target = nullptr;
  bool Finishing = false;
  bool ImageBegun = false;  // the drag image of the window layer is ours
} Drag;

TObject* DragSource() {
  if (auto* c = dynamic_cast<TDragControlObject*>(Drag.Object)) return c->Control;
  return Drag.Object;
}

bool DoDragOver(TDragState State) {
  if (!Drag.Target) return false;
  bool accept = false;
  TPoint p = Drag.Object->DragTargetPos;
  TDragAccess::Over(Drag.Target, DragSource(), p, State, accept);
  return accept;
}

void DragCaptureProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      win::ClientToScreen(Drag.Capture, &p);
      TPoint pos{p.x, p.y};
      if (!Drag.Active && std::abs(pos.X - Drag.StartPos.X) < Drag.Threshold &&
          std::abs(pos.Y - Drag.StartPos.Y) < Drag.Threshold)
        return;
      Drag.Active = true;
      DragTo(pos);
      return;
    }
    case WM_LBUTTONUP:
      DragDone(Drag.Active);
      return;
    case WM_RBUTTONDOWN:
      DragDone(false);
      return;
    case WM_KEYDOWN:
      if (Message.WParam == VK_ESCAPE) DragDone(false);
      return;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(Message.LParam) != Drag.Capture) DragDone(false);
      return;
  }
  Message.Result = DefWindowProc(Drag.Capture, Message.Msg, Message.WParam, Message.LParam);
}

}  // namespace

TControl* DragControl() { return Drag.Control; }

void forms::ForgetDragControl(TControl* Control) {
  if (Drag.Control == Control) DragDone(false);
  if (Drag.Target == Control) Drag.Target = nullptr;
  if (Drag.Object && Drag.Object->DragTarget == Control) Drag.Object->DragTarget = nullptr;
}
TDragObject* DragObject() { return Drag.Object; }
bool TControl::Dragging() const { return Drag.Control == this; }

namespace {
TControl* DragStarting = nullptr;
bool DragStartCancelled = false;
}  // namespace

void CancelDrag() {
  if (Drag.Control)
    DragDone(false);
  else if (DragStarting)
    DragStartCancelled = true;
}

namespace {

// The drag takes the mouse through a window of its own.
void StartCapture(bool Immediate) {
  Drag.Capture = AllocateHWnd(TWndMethod(&DragCaptureProc));
  Drag.Object->DragHandle = Drag.Capture;
  SetCapture(Drag.Capture);
  if (Immediate) DragTo(Drag.StartPos);
}

void DragInitControl(TControl* Control, bool Immediate, Integer Threshold) {
  TDragObject* object = nullptr;
  DragStarting = Control;
  DragStartCancelled = false;
  {
    ScopeExit started([] { DragStarting = nullptr; });
    TDragAccess::StartDrag(Control, object);
  }
  if (DragStartCancelled) return;
  if (Drag.Control) return;  // a handler started another drag
  Drag = TDragState_{};
  Drag.Control = Control;
  Drag.OwnsObject = object == nullptr;
  Drag.Object = object ? object : new TDragControlObject(Control);
  Drag.Active = Immediate;
  Drag.Threshold = Threshold;
  POINT p;
  GetCursorPos(&p);
  Drag.StartPos = {p.x, p.y};
  Drag.Object->DragPos = Drag.StartPos;
  StartCapture(Immediate);
}

// A dock drag asks OnStartDock instead of OnStartDrag.
void DockInitControl(TControl* Control, bool Immediate, Integer Threshold) {
  POINT p;
  GetCursorPos(&p);
  bool owns = false;
  DragStarting = Control;
  DragStartCancelled = false;
  TDragDockObject* object = nullptr;
  {
    ScopeExit started([] { DragStarting = nullptr; });
    object = forms::StartDockDrag(Control, {p.x, p.y}, owns);
  }
  if (DragStartCancelled || Drag.Control) {
    if (owns) delete object;
    return;
  }
  Drag = TDragState_{};
  Drag.Control = Control;
  Drag.OwnsObject = owns;
  Drag.Object = object;
  Drag.Active = Immediate;
  Drag.Threshold = Threshold;
  Drag.StartPos = {p.x, p.y};
  StartCapture(Immediate);
}

}  // namespace

void TControl::BeginDrag(bool Immediate, Integer Threshold) {
  if (Drag.Control) return;
  if (Threshold < 0) Threshold = Mouse ? Mouse->DragThreshold() : 5;
  // The button went down on us; the drag takes the mouse from here.
  if (MouseCapture()) SetMouseCapture(false);
  ControlState -= csLButtonDown;
  if (DragKind == dkDock)
    DockInitControl(this, Immediate, Threshold);
  else
    DragInitControl(this, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop) {
  if (Dragging()) DragDone(Drop);
}

void DragTo(const TPoint& Pos) {
  if (!Drag.Control || Drag.Finishing) return;
  Drag.Active = true;
  if (auto* dock = dynamic_cast<TDragDockObject*>(Drag.Object)) {
    forms::DockDragTo(*dock, Pos);
    if (Drag.Control) win::SetCursor(CursorHandle(dock->GetDragCursor(!dock->Floating, Pos.X, Pos.Y)));
    return;
  }
  TControl* target = FindDragTarget(Pos, false);
  Drag.Object->DragPos = Pos;
  if (target != Drag.Target) {
    if (Drag.Target) {
      DoDragOver(dsDragLeave);
      if (!Drag.Control) return;
    }
    Drag.Target = target;
    Drag.Object->DragTarget = target;
    if (target) {
      Drag.Object->DragTargetPos = target->ScreenToClient(Pos);
      DoDragOver(dsDragEnter);
    }
  }
  // A handler may end the drag; what is left of it then is gone.
  if (!Drag.Control) return;
  bool accepted = false;
  if (Drag.Target) {
    Drag.Object->DragTargetPos = Drag.Target->ScreenToClient(Pos);
    accepted = DoDragOver(dsDragMove);
    if (!Drag.Control) return;
  }
  TCursor cursor = Drag.Object->GetDragCursor(accepted, Pos.X, Pos.Y);
  // The image follows the mouse in screen coordinates over the controls
  // that want it; it begins the first time one does.
  if (TDragImageList* images = Drag.Object->GetDragImages()) {
    bool show = Drag.Object->AlwaysShowDragImages ||
                (Drag.Target && Drag.Target->ControlStyle.Contains(csDisplayDragImage));
    if (images->Dragging()) {
      images->DragMove(Pos.X, Pos.Y);
      if (show && !images->DragImageShown())
        images->ShowDragImage();
      else if (!show && images->DragImageShown())
        images->HideDragImage();
    } else if (show && !Drag.ImageBegun) {
      Drag.ImageBegun = images->BeginDrag(GetDesktopWindow(), Pos.X, Pos.Y);
    }
    if (images->DragImageShown() && accepted && images->DragCursor() != crDefault) cursor = images->DragCursor();
  }
  win::SetCursor(CursorHandle(cursor));
}

void DragDone(bool Drop) {
  if (!Drag.Control || Drag.Finishing) return;
  Drag.Finishing = true;
  TDragState_ d = Drag;
  auto* dock = dynamic_cast<TDragDockObject*>(d.Object);
  bool accepted = false;
  TControl* target = dock ? nullptr : d.Target;
  if (target) {
    // Asking once more decides whether the drop is taken.
    accepted = DoDragOver(dsDragLeave) && Drop;
  }
  TPoint targetPos = accepted ? d.Object->DragTargetPos : TPoint{0, 0};
  d.Object->Dropped = accepted;
  d.Object->Cancelling = !Drop;
  // The image goes before anyone hears of the drop. A control in its
  // destructor has no images to give any more, so the window layer's image
  // is ended directly when it is still ours.
  if (TDragImageList* images = d.Object->GetDragImages()) images->EndDrag();
  if (d.ImageBegun && win::ImageList_GetDragImage(nullptr, nullptr)) win::ImageList_EndDrag();
  if (d.Capture) {
    if (GetCapture() == d.Capture) ReleaseCapture();
    DeallocateHWnd(d.Capture);
  }
  win::SetCursor(CursorHandle(crDefault));
  ScopeExit ended([] { Drag = TDragState_{}; });
  std::unique_ptr<TDragObject> owned(d.OwnsObject ? d.Object : nullptr);  // freed before the state is cleared
  if (dock) {
    forms::DockDragDone(*dock, Drop && d.Active);
    return;
  }
  if (accepted) target->DragDrop(DragSource(), targetPos.X, targetPos.Y);
  d.Object->Finished(accepted ? target : nullptr, targetPos.X, targetPos.Y, accepted);
  if (!accepted) TDragAccess::Canceled(d.Control);
  TDragAccess::EndDrag(d.Control, accepted ? target : nullptr, targetPos);
}

void TControl::DoStartDrag(TDragObject*& DragObject) { OnStartDrag(this, DragObject); }

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  Accept = false;
  if (OnDragOver) {
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
  }
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y) { OnDragDrop(this, Source, X, Y); }

void TControl::DoEndDrag(TObject* Target, Integer X, Integer Y) { OnEndDrag(this, Target, X, Y); }
