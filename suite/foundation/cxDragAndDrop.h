// The drag-and-drop object a suite control makes for its own drag-and-drop
// mode, and the drag object and drag image list it hands the class
// library's drag and drop.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/ImgList.h"
#include "suite/foundation/cxControl.h"

class TcxDragAndDropObject : public TObject {
  VXN_DECLARE_CLASS(TcxDragAndDropObject)

 public:
  using TOwnerClass = TcxControl;

  explicit TcxDragAndDropObject(TcxControl* AControl);

  TcxControl* Control() const { return FControl; }
  TcxCanvas* Canvas() const { return FCanvas; }
  bool Dirty() const { return FDirty; }
  void SetDirty(bool Value);
  TPoint CurrentPoint{-1, -1};
  TPoint PreviousPoint{-1, -1};

  // The steps the control runs.
  void DoBeginDragAndDrop();
  void DoDragAndDrop(const TPoint& P, bool& Accepted);
  void DoEndDragAndDrop(bool Accepted);

  virtual bool StartsImmediately() { return false; }

 protected:
  virtual void DirtyChanged() {}
  virtual TCursor CursorFor(bool Accepted) { return Accepted ? crDrag : crNoDrop; }
  virtual void AfterDragAndDrop(bool Accepted) { (void)Accepted; }
  virtual void BeginDragAndDrop() { DirtyChanged(); }
  virtual void DragAndDrop(const TPoint& P, bool& Accepted);
  virtual void EndDragAndDrop(bool Accepted);

 private:
  TcxControl* FControl;
  TcxCanvas* FCanvas;
  bool FDirty = false;
};

// Shows the copy cursor while Ctrl is down over a target that takes the
// drop, and frees itself once the class library has finished the drag.
class TcxDragControlObject : public TDragControlObject {
  VXN_DECLARE_CLASS(TcxDragControlObject)

 public:
  using TOwnerClass = TControl;
  using TDragControlObject::TDragControlObject;
  TCursor GetDragCursor(bool Accepted, Integer X, Integer Y) override;
  void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) override;
};

class TcxDragImageList : public TDragImageList {
  VXN_DECLARE_CLASS(TcxDragImageList)

 public:
  using TDragImageList::TDragImageList;
};
