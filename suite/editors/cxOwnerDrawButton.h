// What the suite's owner-drawn buttons (the push button and the radio
// button) share: the canvas on the item's device context, the item's size,
// and their context popup menu.
#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/win/ChildNotify.h"

// The canvas draws on the item's device context for the scope's life.
class TcxDrawItemCanvas {
 public:
  TcxDrawItemCanvas(TCanvas* ACanvas, const win::DRAWITEMSTRUCT& AItem) : FCanvas(ACanvas) {
    FCanvas->SetHandle(AItem.hDC);
  }
  ~TcxDrawItemCanvas() { FCanvas->SetHandle(nullptr); }
  TcxDrawItemCanvas(const TcxDrawItemCanvas&) = delete;
  TcxDrawItemCanvas& operator=(const TcxDrawItemCanvas&) = delete;

 private:
  TCanvas* FCanvas;
};

// CN_MEASUREITEM: the item is as large as the control.
void MeasureItemAsControl(TControl* AControl, TMessage& Message);

// Keeps AValue in AField when it is a TPopupMenu or has the suite's
// popup-menu interface (anything else is taken as none), moving the free
// notification of AOwner from the old menu to the new one.
void SetContextPopupMenu(TComponent* AOwner, TComponent*& AField, TComponent* AValue);

// The screen point of a context menu asked at a client point; the keyboard's
// (-1, -1) opens it at the control's top-left corner.
TPoint ContextMenuScreenPoint(TControl* AControl, const TPoint& AMousePos);
