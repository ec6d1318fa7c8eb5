// Drag and dock: the drag object of a control dragged as a dock client,
// with the dock rectangle it shows on the screen and where it will land.
#pragma once

#include <memory>

#include "platform/forms/Controls.h"

class TBrush;

// What CM_DOCKNOTIFICATION tells a host dock site about its client.
struct TDockNotifyRec {
  win::UINT ClientMsg = 0;
  win::WPARAM MsgWParam = 0;
  win::LPARAM MsgLParam = 0;
};

class TDragDockObject : public TBaseDragControlObject {
  VXN_DECLARE_CLASS(TDragDockObject)

 public:
  explicit TDragDockObject(TControl* AControl);
  ~TDragDockObject() override;

  // Where the control would land, in screen coordinates: the target's
  // choice over a dock site, the floating rectangle elsewhere.
  TRect DockRect;
  TAlign DropAlign = alNone;
  TControl* DropOnControl = nullptr;
  // No dock site takes the control where the mouse is: it would float.
  bool Floating = false;
  // The brush the dock rect's frame is inverted with.
  TBrush* Brush() const { return Brush_.get(); }
  virtual Integer FrameWidth() const { return 4; }

  TCursor GetDragCursor(bool Accepted, Integer X, Integer Y) override;
  // Moves the dock rect so that it touches the mouse.
  virtual void AdjustDockRect(const TRect& ARect);
  // The frame of DockRect, inverted on the screen; drawn twice it is gone.
  virtual void DrawDragDockImage();
  virtual void EraseDragDockImage();

  // Where the mouse took the control, as a share of its width and height.
  double MouseDeltaX = 0;
  double MouseDeltaY = 0;
  // The frame now on the screen.
  TRect EraseDockRect;

 private:
  std::unique_ptr<TBrush> Brush_;
};

// The dock sites, in the order they became dock sites.
Integer DockSiteCount();
TWinControl* DockSites(Integer Index);
// The dock site a dock drag of Client would reach at a screen point: a
// showing site outside the client whose influence rectangle holds the point
// and that lets it dock (GetSiteInfo); of several, the one in front.
TWinControl* FindDockSite(TControl* Client, const TPoint& Pos);
