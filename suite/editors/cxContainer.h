// The container: the base control of every editor. It hosts at most one
// inner windowed control (an edit, list box or tree), paints the border,
// background and shadow around it from the style of its current state
// (normal, focused, disabled, hot), keeps a window region that matches that
// border, mirrors the inner control's scroll bars with its own, and routes
// keys, focus, the cursor and the mouse between itself and the inner
// control.
#pragma once

#include <memory>

#include "suite/editors/cxContainerStyles.h"
#include "suite/editors/cxContainerViewInfo.h"
#include "suite/foundation/cxControl.h"
#include "suite/foundation/cxMouseTracking.h"

class TcxContainer;

// Offered by a control that a container hosts.
class IcxContainerInnerControl {
 public:
  static constexpr const char* IID = "{1B111318-D9C9-4C35-9EFF-5D95793C0106}";
  virtual ~IcxContainerInnerControl() = default;
  virtual TWinControl* Control() = 0;
  virtual TcxContainer* ControlContainer() = 0;
};

// Mouse buttons as RefreshState gets them.
inline constexpr Integer cxmbNone = 0;
inline constexpr Integer cxmbLeft = 1;
inline constexpr Integer cxmbRight = 2;
inline constexpr Integer cxmbMiddle = 3;

// Posted to a container: bring its scroll bars in line with the inner
// control's.
inline constexpr win::UINT CM_SYNCINNERSCROLLBARS = 0x8068;

class TcxContainer : public TcxControl, public IcxMouseTrackingCaller, public IcxContainerStyleOwner {
  VXN_DECLARE_CLASS(TcxContainer)

 public:
  explicit TcxContainer(TComponent* AOwner);
  ~TcxContainer() override;

  virtual bool HasFocus() { return Focused(); }
  virtual void SyncInnerControlWithStyle();
  virtual void CalculateViewInfo(const TPoint& P, bool AIsMouseEvent);
  virtual bool AcceptsContextPopupAt(const TPoint& P) {
    (void)P;
    return true;
  }
  virtual void SyncControlWithStyle(TObject* Sender);
  bool DefaultParentColor() override { return false; }
  virtual void MouseLeft();
  virtual TRect GetBorderExtents();
  // The part of AControl inside R, in AControl's own coordinates.
  virtual TRect GetInnerControlBounds(const TRect& R, TControl* AControl, bool& AWholeVisible);
  virtual TRect GetVisibleBounds();
  virtual TcxContainerStyleClass GetStyleClass() { return &CreateContainerStyle<TcxContainerStyle>; }
  virtual TcxContainerStylesClass GetStylesClass() { return &CreateContainerStyles<TcxContainerStyles>; }
  virtual TcxContainerViewInfoClass GetViewInfoClass() { return &CreateContainerViewInfo<TcxContainerViewInfo>; }
  virtual bool HasShadow();
  virtual TcxContainerStyle* GetActiveStyle();
  TcxContainerStyleValues GetUnstoredStyleValues() override { return 0; }
  virtual bool KeepsOwnTabOrder() { return false; }
  virtual bool NeedsParentBackground() { return false; }
  virtual bool RefreshState(const TPoint& P, Integer AButton, TShiftState Shift, bool AFlag);
  virtual void AlignInnerControl();
  virtual void UpdateWindowRegion();
  virtual bool HandlesTabKey() { return false; }
  virtual void LayoutScrollBars(TcxControlScrollBar* AScrollBar);
  virtual Integer ThemedObjectKind() { return 3; }
  virtual Integer GetBorderDrawPart() { return 1; }
  virtual Integer GetBorderDrawState();
  // A screen rectangle as a client area: Left, Top, then width and height
  // in Right and Bottom; all zero when it does not fit the control.
  virtual TRect ScreenRectToClient(const TRect& R);
  virtual bool IsInnerScrollBarVisible(TcxControlScrollBar* AScrollBar, const win::SCROLLBARINFO& AInfo);
  virtual bool GetInnerScrollBarInfo(win::SCROLLBARINFO& AInfo, TScrollBarKind AKind);
  virtual bool IsScrollBarStateShown(const win::SCROLLBARINFO& AInfo);
  virtual bool IsNativeStyle();
  virtual void FocusInnerControl();
  virtual void AssignDragKind(TDragKind Value);
  virtual void ShowScrollBarControl(TcxControlScrollBar* AScrollBar, bool AVisible);
  virtual void RequestRefresh() { FInnerWholeVisible = true; }
  virtual TRect GetBorderDrawRect();
  virtual bool IsPopupShown() { return false; }
  virtual bool HandleInnerDefaultMessage(TMessage& Message) {
    (void)Message;
    return false;
  }
  virtual bool HandleInnerDialogKey(TMessage& Message);
  bool IsInplace() override { return false; }
  virtual void SyncScrollBarsFromInner(bool ASkipLayout);

  // IcxContainerStyleOwner
  TControl* StyleOwnerControl() override { return this; }
  // IcxMouseTrackingCaller
  void MouseLeave() override { MouseLeft(); }

  TcxContainerStyles* StyleSet() const { return FStyles.get(); }
  TcxContainerStyle* Style() const { return FStyles->NormalStyle(); }
  void SetStyle(TcxContainerStyle* Value) { FStyles->NormalStyle()->Assign(Value); }
  TcxContainerStyle* StyleDisabled() const { return FStyles->DisabledStyle(); }
  void SetStyleDisabled(TcxContainerStyle* Value) { FStyles->DisabledStyle()->Assign(Value); }
  TcxContainerStyle* StyleFocused() const { return FStyles->FocusedStyle(); }
  void SetStyleFocused(TcxContainerStyle* Value) { FStyles->FocusedStyle()->Assign(Value); }
  TcxContainerStyle* StyleHot() const { return FStyles->HotStyle(); }
  void SetStyleHot(TcxContainerStyle* Value) { FStyles->HotStyle()->Assign(Value); }
  // The style of the view info's state, cached per state.
  TcxContainerStyle* ActiveStyle();
  TcxContainerViewInfo* ViewInfo() const { return FViewInfo.get(); }

  TWinControl* InnerControl() const { return FInnerControl; }
  void SetInnerControl(TWinControl* Value) { FInnerControl = Value; }
  bool InnerWholeVisible() const { return FInnerWholeVisible; }
  const TRect& InnerVisibleRect() const { return FInnerVisibleRect; }
  void SetInnerBoundsLock(bool ALock);
  void SetContextPopupLock(bool ALock);
  // Set by an inner control while a mouse-down it forwards is under way.
  bool ForwardedMouseDown = false;

  void RefreshAtCursor(bool AFlag = false);
  void PostUpdateScrollBars();
  void SetDragMode(TDragMode Value);
  void SetDragKind(TDragKind Value) { AssignDragKind(Value); }
  TDragKind GetDragKind() const { return DragKind; }

  bool Focused() override;
  void SetFocus() override;
  bool IsFocusable() override;
  void GetTabOrderList(std::vector<TWinControl*>& List) override;
  void ChangeScale(Integer M, Integer D) override;
  TDragImageList* GetDragImages() override;

  bool IsConstructing() const { return FConstructing; }
  bool IsBeingDestroyed() const { return FBeingDestroyed; }

 protected:
  // For descendants whose styles and view info are of their own classes
  // (a constructor does not reach the overrides of GetStylesClass,
  // GetStyleClass and GetViewInfoClass).
  TcxContainer(TComponent* AOwner, TcxContainerStylesClass AStylesClass, TcxContainerStyleClass AStyleClass,
               TcxContainerViewInfoClass AViewInfoClass);

  virtual void EnabledStateChanged();
  // For descendants that finish their construction after this constructor.
  void SetConstructing(bool Value) { FConstructing = Value; }

  bool CanDragAtDesignTime(Integer X, Integer Y, bool AFlag) override;
  bool CanFocusOnClick() override;
  TRect GetClientBounds() override { return FViewInfo->InnerControlRect; }
  bool HasOwnScrollBars() const override { return false; }
  void HandleColorChange() override;
  void CursorChanged() override;
  void DragCanceled() override;
  void DoContextPopup(TPoint MousePos, bool& Handled) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void NotifyMouseEnter(TControl* AControl) override;
  void NotifyMouseLeave(TControl* AControl) override;
  void FocusChanged() override;

  void Loaded() override;
  void Paint() override;
  void Resize() override;
  void CreateHandle() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void WndProc(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSetCursor(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMParentColorChanged(TMessage& Message) override;
  void CMParentFontChanged(TMessage& Message) override;
  void CMCtl3DChanged(TMessage& Message) override;
  void CMSysColorChange(TMessage& Message) override;

  // Border colour of the flat and Office 11 borders.
  TColor HighlightedBorderColor(TcxContainerBorderStyle AStyle, bool AHighlighted);

 private:
  void CalculateState(const TPoint& P, bool AIsMouseEvent);
  void ApplyInnerRegion(TWinControl* AControl, const TRect& AVisible, bool AWholeVisible);
  bool IsOwnScrollBarControl(TControl* AControl) const;
  void TrackMouse();

  std::unique_ptr<TcxContainerStyles> FStyles;
  std::unique_ptr<TcxContainerViewInfo> FViewInfo;
  TWinControl* FInnerControl = nullptr;
  TcxContainerStateFlags FActiveStyleState = csNormal;
  TcxContainerStyle* FActiveStyle = nullptr;
  bool FInnerWholeVisible = true;
  TRect FInnerVisibleRect;
  Integer FInnerBoundsLock = 0;
  Integer FContextPopupLock = 0;
  bool FConstructing = false;
  bool FBeingDestroyed = false;
  bool FMovingInner = false;
  bool FSyncingScrollBars = false;
  bool FRefreshingAtCursor = false;
  bool FSyncingFromStyle = false;
};

// The container itself, or the container of an inner control; else nil.
TcxContainer* FindContainerOfControl(TControl* AControl);
// The corner between the container's two own scroll bars, in the inner
// control's window coordinates; empty unless both bars are shown.
TRect InnerControlSizeGripRect(TWinControl* AInnerControl);

void RegisterContainerClasses();
