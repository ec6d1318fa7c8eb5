// The borderless stay-on-top form every drop-down of the suite descends
// from: placed against an anchor rectangle, flipped to the side with more
// room and clamped to the monitor's work area, framed, and closed when the
// program or the popup loses the activation.
#pragma once

#include <memory>

#include "platform/forms/CustomForms.h"
#include "suite/foundation/cxGraphics.h"

enum PopupFrameKind { PopupFrameNone = 0, PopupFrameSingle = 1, PopupFrameRaised = 2, PopupFrameDoubleRaised = 3 };

class TcxPopupWindow : public TForm {
  VXN_DECLARE_CLASS(TcxPopupWindow)

 public:
  TcxPopupWindow();
  ~TcxPopupWindow() override;

  bool AutoFit = true;
  Byte HorizontalPlacement = 0;  // 0 the anchor's left, 1 centred, 2 its right
  Byte VerticalPlacement = 2;    // 0 the anchor's top, 1 centred, 2 its bottom
  Integer FrameSpacing = 0;
  Byte OpenDirection = 1;  // 0 beside the anchor, 1 above or below it
  TColor FrameLineColor = clWindowText;
  TRect AnchorRect;              // in AnchorControl's client coordinates
  TControl* AnchorControl = nullptr;  // not owned

  PopupFrameKind FrameKind() const { return FFrameKind; }
  // Moves the children back by the old kind's extents, then stores the kind.
  void ChangeFrameKind(PopupFrameKind Value);
  TcxCanvas* cxCanvas() const { return FCanvas.get(); }

  virtual void CalculatePosition(TPoint& P);
  virtual void FitToChildren();
  // 0 left, 1 top, 2 right, 3 bottom.
  virtual Integer ClientExtent(Integer Side) const;
  virtual Integer FrameWidth() const;
  virtual void TakeOwnerFont();
  virtual void DrawFrame();
  virtual void ClosePopup();
  virtual void ShowPopup();

 protected:
  virtual void VisibilityChanged() {}
  void WndProc(TMessage& Message) override;
  void Paint() override;

 private:
  PopupFrameKind FFrameKind = PopupFrameNone;
  std::unique_ptr<TcxCanvas> FCanvas;
  win::HWND FPrevActiveWindow = nullptr;
};
