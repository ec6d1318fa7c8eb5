#include "platform/forms/Splitter.h"

#include <algorithm>

using namespace win;

VXN_IMPLEMENT_CREATABLE_CLASS(TSplitter, TGraphicControl)
VXN_PUBLISH(TSplitter) {
  P.Property("AutoSnap", &TSplitter::AutoSnap, &TSplitter::SetAutoSnap).Default(true);
  P.Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
  P.Event("OnCanResize", &TSplitter::OnCanResize);
  P.Event("OnMoved", &TSplitter::OnMoved);
}

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
}

TControl* TSplitter::FindNeighbour() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  for (Integer i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    bool touches = false;
    switch (Align()) {
      case alLeft: touches = c->Left() + c->Width() == Left(); break;
      case alRight: touches = c->Left() == Left() + Width(); break;
      case alTop: touches = c->Top() + c->Height() == Top(); break;
      case alBottom: touches = c->Top() == Top() + Height(); break;
      default: break;
    }
    if (touches) return c;
  }
  return nullptr;
}

Integer TSplitter::NeighbourSize() const { return Horizontal() ? Control_->Height() : Control_->Width(); }

Integer TSplitter::MaxSize() const {
  TWinControl* parent = Parent();
  TRect client = parent->GetClientRect();
  Integer room = (Horizontal() ? client.Height() : client.Width()) - MinSize_;
  for (Integer i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible()) continue;
    if (Horizontal() ? (c->Align() == alTop || c->Align() == alBottom)
                     : (c->Align() == alLeft || c->Align() == alRight))
      room -= Horizontal() ? c->Height() : c->Width();
  }
  return room + NeighbourSize();
}

void TSplitter::ResizeNeighbour(Integer NewSize) {
  NewSize = std::clamp(NewSize, std::min(MinSize_, MaxSize()), MaxSize());
  bool accept = true;
  OnCanResize(this, NewSize, accept);
  if (!accept) return;
  if (NewSize <= MinSize_ && AutoSnap_) NewSize = 0;
  if (NewSize == NeighbourSize()) return;
  if (Horizontal()) Control_->SetHeight(NewSize);
  else Control_->SetWidth(NewSize);
  // Aligned neighbours are laid out again around the new size.
  if (Control_->Parent()) Control_->Parent()->Realign();
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  Control_ = FindNeighbour();
  if (!Control_) return;
  Control_->FreeNotification(this);
  TPoint p = ClientToScreen({X, Y});
  DownPos_ = Horizontal() ? p.Y : p.X;
  StartSize_ = NeighbourSize();
  Dragging_ = true;
}

void TSplitter::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!Dragging_ || !Control_) return;
  // Screen positions: the splitter itself moves while the neighbour grows.
  TPoint p = ClientToScreen({X, Y});
  Integer delta = (Horizontal() ? p.Y : p.X) - DownPos_;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  ResizeNeighbour(StartSize_ + delta);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!Dragging_) return;
  Dragging_ = false;
  if (Control_) OnMoved(this);
}

void TSplitter::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == Control_) {
    Control_ = nullptr;
    Dragging_ = false;
  }
}

void TSplitter::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(TRect{0, 0, Width(), Height()});
}

void RegisterSplitterClasses() { RegisterClasses({TSplitter::StaticClass()}); }
