#include "suite/foundation/cxDragAndDrop.h"

#include "platform/forms/Forms.h"
#include "suite/foundation/cxControlRoutines.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxDragAndDropObject, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxDragControlObject, TDragControlObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxDragImageList, TDragImageList)

TcxDragAndDropObject::TcxDragAndDropObject(TcxControl* AControl)
    : FControl(AControl), FCanvas(AControl ? AControl->cxCanvas() : nullptr) {}

void TcxDragAndDropObject::SetDirty(bool Value) {
  if (FDirty == Value) return;
  FDirty = Value;
  DirtyChanged();
}

void TcxDragAndDropObject::DoBeginDragAndDrop() {
  const TPoint p = FControl ? FControl->ScreenToClient(QueryCursorPos()) : QueryCursorPos();
  CurrentPoint = p;
  PreviousPoint = p;
  BeginDragAndDrop();
}

void TcxDragAndDropObject::DoDragAndDrop(const TPoint& P, bool& Accepted) {
  PreviousPoint = CurrentPoint;
  CurrentPoint = P;
  DragAndDrop(P, Accepted);
}

void TcxDragAndDropObject::DoEndDragAndDrop(bool Accepted) {
  EndDragAndDrop(Accepted);
  AfterDragAndDrop(Accepted);
}

void TcxDragAndDropObject::DragAndDrop(const TPoint& P, bool& Accepted) {
  (void)P;
  SetDirty(false);
  if (Screen) Screen->SetCursor(CursorFor(Accepted));
}

void TcxDragAndDropObject::EndDragAndDrop(bool Accepted) {
  (void)Accepted;
  SetDirty(true);
}

TCursor TcxDragControlObject::GetDragCursor(bool Accepted, Integer X, Integer Y) {
  if (Accepted && IsCtrlPressed()) return crcxDragCopy;
  return TDragControlObject::GetDragCursor(Accepted, X, Y);
}

// The class library does not own a drag object a control supplied.
void TcxDragControlObject::Finished(TObject* Target, Integer X, Integer Y, bool Accepted) {
  TDragControlObject::Finished(Target, X, Y, Accepted);
  delete this;
}
