// The popup window of the drop-down editors. It is placed against its edit
// and sized from what it hosts, framed in one of four border styles with an
// optional client edge and shadow, and may carry a system panel on the side
// away from the edit with a size grip and a close button. The user sizes it
// by the grip or by the frame next to the grip: a tracking outline follows
// the pointer on the screen and the window takes its rectangle when the
// button is released. Only the sides away from the edit ever move.
#pragma once

#include <memory>

#include "suite/editors/cxCustomPopupWindow.h"
#include "suite/editors/cxEditStyles.h"
#include "suite/editors/cxTextEditLookupData.h"
#include "suite/foundation/cxLookAndFeelPainters.h"
#include "suite/foundation/cxLookAndFeels.h"

// Posted to an edit popup (wParam: a character) when a typed key opened it;
// the character goes on to the popup's focused window.
inline constexpr win::UINT CM_POPUPTYPEDCHAR = 0x806B;

// Why a drop-down closed: the value is not taken (focus loss, close
// button...), Tab, Alt+Up/Down or F4, Escape or cancel, Enter or a pick.
inline constexpr Integer PopupCloseReasonUnknown = 0;
inline constexpr Integer PopupCloseReasonTab = 1;
inline constexpr Integer PopupCloseReasonToggle = 2;
inline constexpr Integer PopupCloseReasonCancel = 3;
inline constexpr Integer PopupCloseReasonAccept = 4;

// The size-grip corners; the grip always sits in the corner away from the
// edit.
inline constexpr Integer GripTopLeft = 0;
inline constexpr Integer GripTopRight = 1;
inline constexpr Integer GripBottomLeft = 2;
inline constexpr Integer GripBottomRight = 3;

// What an edit popup asks of the drop-down edit that owns it. The owner
// control of the window implements it.
class EditPopupOwner {
 public:
  virtual ~EditPopupOwner() = default;
  // The edit's rectangle in its parent's client coordinates.
  virtual TRect PopupOwnerBounds() = 0;
  // The size the hosted content wants.
  virtual TSize PopupContentSize() = 0;
  // Puts the hosted content into the window's client rectangle.
  virtual void PlacePopupContent(const TRect& AClientRect) = 0;
  virtual void ClosePopup(Integer AReason) = 0;
  virtual bool CanFitPopupToWorkArea() = 0;
  virtual TcxLookAndFeelKind PopupControlsLookAndFeelKind() = 0;
  // The user sized the window during this opening.
  virtual void PopupSizedByUser() = 0;
  // The lookup data when the popup shows them as a list, else nil.
  virtual IcxTextEditLookupData* PopupLookupList() = 0;
};

class TcxCustomEditPopupWindowViewInfo : public TcxContainerViewInfo {
  VXN_DECLARE_CLASS(TcxCustomEditPopupWindowViewInfo)

 public:
  TcxCustomEditPopupWindowViewInfo() = default;

  void InternalPaint(TcxCanvas* ACanvas) override;
  virtual void CalculateLayout();
  // Draws the border inside R and leaves R inside it.
  virtual void DrawPopupBorder(TcxCanvas* ACanvas, TRect& R);
  // Per side; also sets the panel height and the sizing band width.
  virtual TRect ComputeClientExtents();
  virtual TRect ClientExtents() { return ComputeClientExtents(); }
  virtual Integer SysPanelHeightNeeded();
  // P in window coordinates; sets the shared sizing directions.
  virtual bool SizingHitTest(const TPoint& P);

  Integer PanelMetricHeight();
  Integer BorderWidth() const;
  Integer ClientEdgeWidth() const;
  Integer BorderWidthWithEdge(bool AIncludeClientEdge) const;
  bool GripAtTop() const { return SizeGripCorner == GripTopLeft || SizeGripCorner == GripTopRight; }
  bool GripAtLeft() const { return SizeGripCorner == GripTopLeft || SizeGripCorner == GripBottomLeft; }
  bool WindowThemed() const;
  bool ScrollBarThemed() const;
  // The grip cell's width and height (with the panel metric height).
  Integer GripCellSize();

  // WholeRect holds the bounds (at 0, 0); InnerControlRect the client rect.
  TRect& Bounds() { return WholeRect; }
  TRect ClientRect;
  TcxEditPopupBorderStyle PopupBorderStyle = epbsDefault;
  bool ClientEdge = false;
  bool CloseButton = true;
  bool NativeStyle = false;
  bool Shadow = false;
  bool Sizeable = false;
  bool SysPanelStyle = false;
  TRect CloseButtonRect;
  TcxButtonState CloseButtonState = cxbsNormal;
  TcxLookAndFeelKind CloseButtonLookAndFeelKind = lfStandard;
  // The close button's state when the visual style draws it, else 0.
  Integer ThemedCloseButtonState = 0;
  Integer SizeGripCorner = GripBottomRight;
  TRect SizeGripRect;
  TRect SizeGripSizingRect;
  // The window less its border (and less the shadow).
  TRect SizingRegionBounds;
  Integer SizingBandWidth = 0;
  Integer SysPanelHeight = 0;
  Integer MinSysPanelHeight = 0;

 protected:
  void DrawSizeGrip(TcxCanvas* ACanvas);
  void DrawCloseButton(TcxCanvas* ACanvas);
};

// The popup edit's window draws its three-dimensional frame the same way
// whether the client edge is on or not.
class TcxPopupEditPopupWindowViewInfo : public TcxCustomEditPopupWindowViewInfo {
  VXN_DECLARE_CLASS(TcxPopupEditPopupWindowViewInfo)

 public:
  void DrawPopupBorder(TcxCanvas* ACanvas, TRect& R) override;
};

class TcxCustomEditPopupWindow : public TcxCustomPopupWindow {
  VXN_DECLARE_CLASS(TcxCustomEditPopupWindow)

 public:
  explicit TcxCustomEditPopupWindow(TControl* AOwnerControl);
  ~TcxCustomEditPopupWindow() override;

  void CalculatePosition(TPoint& P) override;
  void FitToChildren() override;
  bool CanFitToWorkArea() override;
  void DoClosed() override;
  void DoClosing() override;
  void DoShowed() override;
  void CloseOnModalResult() override;
  TcxContainerViewInfoClass GetViewInfoClass() override;

  virtual void CalculatePopupViewInfo();
  virtual void ForwardTypedChar(char32_t AChar);
  virtual TSize MinimalPopupSize();

  EditPopupOwner* OwnerEdit() const;
  TcxCustomEditPopupWindowViewInfo* PopupViewInfo();
  Integer SysPanelMinHeight() { return PopupViewInfo()->MinSysPanelHeight; }
  void SetSysPanelMinHeight(Integer Value);
  // Re-reads the owner bounds, lays the window out again, gives the content
  // the client rect and repaints.
  void RelayoutContent();
  // The list height the window may take on its side of the edit.
  Integer AvailableListHeight();

  // Settings the owner edit copies in before every opening.
  void SetOwnerParent(TControl* Value);
  TControl* OwnerParent() const { return FOwnerParent; }
  void SetDirection(Byte Value) { OpenDirection = Value; }
  void SetHorzAlignment(Byte Value) { HorizontalPlacement = Value; }
  void SetVertAlignment(Byte Value) { VerticalPlacement = Value; }
  void SetPopupAutoSize(bool Value) { FPopupAutoSize = Value; }
  bool PopupAutoSize() const { return FPopupAutoSize; }
  void SetPopupBorderStyle(TcxEditPopupBorderStyle Value) { PopupViewInfo()->PopupBorderStyle = Value; }
  void SetPopupClientEdge(bool Value) { PopupViewInfo()->ClientEdge = Value; }
  void SetCloseButton(bool Value) { PopupViewInfo()->CloseButton = Value; }
  void SetPopupMinHeight(Integer Value) { FPopupMinHeight = Value; }
  void SetPopupMinWidth(Integer Value) { FPopupMinWidth = Value; }
  void SetNativeStyle(bool Value) { PopupViewInfo()->NativeStyle = Value; }
  void SetPopupHeight(Integer Value) { FPopupHeight = Value; }
  void SetPopupWidth(Integer Value) { FPopupWidth = Value; }
  Integer PopupHeight() const { return FPopupHeight; }
  Integer PopupWidth() const { return FPopupWidth; }
  Integer PopupMinHeight() const { return FPopupMinHeight; }
  Integer PopupMinWidth() const { return FPopupMinWidth; }
  void SetShadow(bool Value) { PopupViewInfo()->Shadow = Value; }
  void SetPopupSizeable(bool Value) {
    FPopupSizeable = Value;
    PopupViewInfo()->Sizeable = Value;
  }
  bool PopupSizeable() const { return FPopupSizeable; }
  void SetPopupSysPanelStyle(bool Value) { PopupViewInfo()->SysPanelStyle = Value; }

  // The owner edit drops the window's handle with its own.
  using TcxCustomPopupWindow::DestroyHandle;

  // The screen rectangle of the tracking outline while the user sizes.
  static TRect TrackingOutline();
  static bool SizingInProgress();

 protected:
  void AdjustClientRect(TRect& Rect) override;
  bool CanResize(Integer& NewWidth, Integer& NewHeight) override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseLeaveHook(TControl* AControl) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;

  void ApplyWindowRegion();
  void SetTrackingOutline(const TRect& R);

 private:
  TRect OwnerScreenBounds();
  void SetCloseButtonState(TcxButtonState AState);
  void InvalidateCloseButton();
  void SizeByMouse(Integer X, Integer Y);

  TControl* FOwnerParent = nullptr;
  bool FPopupAutoSize = false;
  Integer FPopupMinHeight = 0;
  Integer FPopupMinWidth = 0;
  Integer FPopupHeight = 0;
  Integer FPopupWidth = 0;
  bool FPopupSizeable = false;
};

class TcxPopupEditPopupWindow : public TcxCustomEditPopupWindow {
  VXN_DECLARE_CLASS(TcxPopupEditPopupWindow)

 public:
  using TcxCustomEditPopupWindow::TcxCustomEditPopupWindow;
  TcxContainerViewInfoClass GetViewInfoClass() override;
};

void RegisterCustomEditPopupWindowClasses();
