// The splitter: a bar between two aligned controls that resizes its neighbour.
#pragma once

#include "platform/forms/Controls.h"

using TSplitterCanResizeEvent = TDelegate<void(TObject* Sender, Integer& NewSize, bool& Accept)>;

// Sits between two aligned controls; dragging it resizes the control on the
// side it is aligned to.
class TSplitter : public TGraphicControl {
  VXN_DECLARE_CLASS(TSplitter)

 public:
  explicit TSplitter(TComponent* AOwner);

  Integer MinSize() const { return MinSize_; }
  void SetMinSize(Integer Value) { MinSize_ = Value < 1 ? 1 : Value; }
  bool AutoSnap() const { return AutoSnap_; }
  void SetAutoSnap(bool Value) { AutoSnap_ = Value; }
  TControl* Control() const { return Control_; }

  TSplitterCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TControl* FindNeighbour() const;
  bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
  Integer NeighbourSize() const;
  // The room the other side leaves the neighbour, keeping MinSize for both.
  Integer MaxSize() const;
  void ResizeNeighbour(Integer NewSize);

  TControl* Control_ = nullptr;
  Integer MinSize_ = 30;
  bool AutoSnap_ = true;
  bool Dragging_ = false;
  Integer DownPos_ = 0;
  Integer StartSize_ = 0;
};

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterSplitterClasses();
