// The base of every window control of the suite: a look-and-feel and a
// canvas wrapper, a pair of suite scroll bars and a size grip laid out by a
// settling pass, a drag-and-drop mode of its own beside the class
// library's, middle-button auto-scroll, wheel scrolling, a popup menu that
// may be any component with the popup-menu interface, focus on click and
// the dialog-key wishes. The companions that live and die with a control
// are here too: its scroll bar, its size grip and the child component.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/StdCtrls.h"
#include "suite/foundation/cxClasses.h"
#include "suite/foundation/cxGraphics.h"
#include "suite/foundation/cxLookAndFeels.h"
#include "suite/foundation/cxScrollBar.h"

class TcxControl;
class TcxDragAndDropObject;
class TcxDragImageList;
class TcxControlChildComponent;
class TPopupMenu;

// Told when the font of a control it listens to changed.
class IcxFontListener {
 public:
  virtual ~IcxFontListener() = default;
  virtual void FontChanged(TObject* Sender, TFont* AFont) = 0;
};

// An object that holds a control's mouse capture; told when it loses it.
class IcxMouseCaptureObject {
 public:
  virtual ~IcxMouseCaptureObject() = default;
  virtual void DoCancelMode() = 0;
};

// The control's drag-and-drop mode.
enum TcxDragAndDropState : Byte { ddsNone = 0, ddsStarting = 1, ddsInProcess = 2 };

// Bits of WantedKeys.
enum TcxWantedKey { wkAll = 0, wkArrows = 1, wkChars = 2, wkTab = 3 };
using TcxWantedKeys = TSet<TcxWantedKey>;

// What ScrollBarKindForWheel answers: the wheel scrolls nothing, the
// horizontal or the vertical bar.
inline constexpr Integer WheelScrollsNothing = 0;
inline constexpr Integer WheelScrollsHorizontal = 1;
inline constexpr Integer WheelScrollsVertical = 2;

// Directions of ScrollByDirection.
enum TcxScrollDirection { dirNone = 0, dirLeft = 1, dirRight = 2, dirUp = 3, dirDown = 4 };

// The data a control computes for one of its bars before applying it.
struct TcxScrollBarData {
  Integer Min = 0;
  Integer Max = 100;
  Integer Position = 0;
  Integer PageSize = 0;
  SmallInt SmallChange = 1;
  SmallInt LargeChange = 1;
  bool Enabled = true;
  bool Visible = false;
  bool AllowShow = true;
  bool AllowHide = true;
};

class TcxControlScrollBar : public TcxScrollBar {
  VXN_DECLARE_CLASS(TcxControlScrollBar)

 public:
  explicit TcxControlScrollBar(TComponent* AOwner);

  TcxScrollBarData Data;
  bool IsShown() const { return Visible(); }
  // Makes the bar show what Data says.
  void ApplyData();

 protected:
  // A left click on the bar focuses its parent control first.
  virtual void FocusParent();
  void WndProc(TMessage& Message) override;
};

class TcxSizeGrip : public TCustomControl {
  VXN_DECLARE_CLASS(TcxSizeGrip)

 public:
  explicit TcxSizeGrip(TComponent* AOwner);

 protected:
  void Paint() override;
};

// Called when a design tool should hear that a form changed; none at run
// time.
using TDesignerModifiedProc = void (*)(TComponent* Form);
void SetDesignerModifiedProc(TDesignerModifiedProc Proc);

class TcxControl : public TCustomControl {
  VXN_DECLARE_CLASS(TcxControl)

 public:
  explicit TcxControl(TComponent* AOwner);
  ~TcxControl() override;
  void BeforeDestruction() override;

  TcxCanvas* cxCanvas() const { return FCanvas.get(); }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  // Takes the given look-and-feel's values into the control's own.
  void SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }

  // A TPopupMenu or an IcxPopupMenuComponent; anything else is taken as none.
  void SetPopupMenu(TComponent* Value);
  // The popup menu when it is a TPopupMenu.
  TPopupMenu* GetPopupMenu() const;

  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool FocusOnClick = true;
  TcxWantedKeys WantedKeys() const { return FWantedKeys; }
  void SetWantedKeys(TcxWantedKeys Value) { FWantedKeys = Value; }

  TcxControlScrollBar* HScrollBar() const { return FHScrollBar.get(); }
  TcxControlScrollBar* VScrollBar() const { return FVScrollBar.get(); }
  TcxSizeGrip* SizeGrip() const { return FSizeGrip.get(); }
  bool IsHScrollBarVisible() const;
  bool IsVScrollBarVisible() const;
  // Computes one bar's data; RecalcScrollBars applies it.
  void SetScrollBarInfo(TScrollBarKind AKind, Integer AMin, Integer AMax, Integer AStep, Integer APage,
                        Integer APos, bool AAllowShow, bool AAllowHide);
  virtual void RecalcScrollBars();
  // Nothing without own bars or for dirNone.
  void ScrollByDirection(TcxScrollDirection ADirection);

  void InvalidateArea(const TRect& R, bool EraseBackground);
  void AddFontListener(IcxFontListener* AListener);
  void RemoveFontListener(IcxFontListener* AListener);

  // The control's own drag and drop.
  TcxDragAndDropState DragAndDropState() const { return FDragAndDropState; }
  TcxDragAndDropObject* DragAndDropObject();
  // The class the drag-and-drop object is made from (nil: the default).
  TClass DragAndDropObjectClass = nullptr;
  void FinishDragAndDrop(bool Accepted);
  TObject* MouseCaptureObject() const { return FMouseCaptureObject; }
  void SetMouseCaptureObject(TObject* Value);
  TPoint MouseDownPos() const { return FMouseDownPos; }
  bool IsMouseCaptured() const { return FMouseCaptured; }
  bool IsMiddleButtonScrolling() const { return FMiddleButtonScrolling; }

  void MarkDesignerModified();
  bool IsMenuShortCut(TMessage& Message);

  // An explicit bounds rectangle (empty: the client rectangle).
  void SetExplicitBounds(const TRect& R) { FExplicitBounds = R; }
  virtual TRect GetBounds();
  virtual TRect GetClientBounds();
  virtual Integer FrameWidth() { return 0; }
  virtual bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  virtual bool HasPlatformFocus() { return Focused(); }
  virtual bool IsOwnScrollControl(TControl* AControl);
  virtual bool HasOwnScrollBars() const { return true; }
  virtual bool CanFocusWithParentForm();
  virtual bool IsFocusable() { return true; }
  TcxCustomLookAndFeelPainterClass GetPainter() const;

  TNotifyEvent OnFocusChanged;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  friend class TcxControlChildComponent;
  friend class TcxControlScrollBar;
  friend class TcxDragAndDropObject;

  // Overridable hooks, in the order the suite's controls know them.
  virtual bool DoShowPopupMenu(TComponent* AMenu, Integer X, Integer Y);
  virtual void ParentBackgroundChanged() {}
  virtual void AfterMouseDown(TMouseButton AButton, Integer X, Integer Y);
  virtual bool CanDragAtDesignTime(Integer X, Integer Y, bool AFlag) {
    (void)X, (void)Y, (void)AFlag;
    return true;
  }
  virtual void BeforeMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    (void)Button, (void)Shift, (void)X, (void)Y;
  }
  virtual void BringScrollBarsToFront();
  virtual void EndMouseCapture();
  virtual bool CanFocusOnClick();
  virtual bool CanFocusOnClickAt(Integer X, Integer Y) {
    (void)X, (void)Y;
    return CanFocusOnClick();
  }
  virtual bool CanFocusOnClickOther() { return CanFocusOnClick(); }
  virtual TCursor CursorAt(Integer X, Integer Y) {
    (void)X, (void)Y;
    return FDefaultCursor;
  }
  virtual Integer ScrollBarKindForWheel();
  virtual bool NeedsEraseBackground() { return false; }
  virtual void ReparentScrollBars();
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) {
    (void)Sender, (void)AChangedValues;
  }
  virtual TRect GetHScrollBarBounds();
  virtual TRect GetSizeGripBounds();
  virtual TRect GetVScrollBarBounds();
  // A scrolling descendant calls SetScrollBarInfo here for each bar.
  virtual void InitScrollBarsParameters() {}
  virtual bool HidesFittingScrollBar(TScrollBarKind AKind) {
    (void)AKind;
    return false;
  }
  virtual bool ScrollBarsToFrontAfterUpdate() { return true; }
  // Every scroll request arrives here: the bars', the wheel's and the
  // middle button's.
  virtual void ScrollContent(TScrollBarKind AKind, TScrollCode ACode, Integer& APosition) {
    (void)AKind, (void)ACode, (void)APosition;
  }
  virtual void PlaceScrollBars();
  virtual TClass GetDragAndDropObjectClass();
  virtual void DrawDragImage(TcxCanvas* ACanvas, const TRect& R) { (void)ACanvas, (void)R; }
  virtual TClass GetDragImageListClass();
  virtual TSize GetDragImageSize() { return {0, 0}; }
  // A descendant that answers true gets csDisplayDragImage when its window
  // is made (the answer is not yet the descendant's during construction).
  virtual bool HasDragImages() { return false; }
  virtual void FillDragImageList(TcxDragImageList* AList);
  virtual bool AllowDragAt(Integer X, Integer Y);

  virtual void HandleColorChange() {}
  virtual void VisibleChanged() {}
  virtual void AddChildComponent(TcxControlChildComponent* AChild);
  virtual void RemoveChildComponent(TcxControlChildComponent* AChild);
  virtual bool AllowMouseDownWithoutFocus() { return false; }
  virtual void SizeChanged() { RecalcScrollBars(); }
  virtual bool CanBeginDragAt(Integer X, Integer Y) {
    (void)X, (void)Y;
    return FDragAndDropState == ddsNone;
  }
  virtual void CursorChanged();
  virtual void DragAndDropStateReset();
  virtual void FocusChanged() { OnFocusChanged(this); }
  virtual void NotifyFontListeners();
  virtual bool DesignHitTestAt(Integer X, Integer Y, TShiftState Shift);
  virtual TClass GetDragObjectClass();
  virtual void NotifyMouseEnter(TControl* AControl) { OnMouseEnter(AControl); }
  virtual void NotifyMouseLeave(TControl* AControl) { OnMouseLeave(AControl); }
  virtual void TextChanged() {}
  virtual void DragAndDrop(const TPoint& P, bool& Accepted);
  virtual void EndDragAndDrop(bool Accepted);
  virtual bool CanStartDragAndDropAt(const TPoint& P) {
    (void)P;
    return false;
  }
  virtual bool AcceptsDragObject(TDragObject* ADragObject) {
    (void)ADragObject;
    return true;
  }
  virtual void BeginDragAndDrop();

  void CreateScrollBars();
  void DestroyScrollBars();
  void SetDragAndDropState(TcxDragAndDropState Value);
  void MiddleButtonScroll();
  virtual void SystemMetricsChanged(TMessage& Message);
  virtual void HandleGetDlgCode(TMessage& Message);
  virtual void HandleDesignHitTest(TMessage& Message);
  virtual void HandleKeyDownNotify(TMessage& Message);

  // Overrides of the class library.
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Resize() override;
  TDragImageList* GetDragImages() override;
  void DoContextPopup(TPoint MousePos, bool& Handled) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) override;
  void DoStartDrag(TDragObject*& DragObject) override;
  void DoEndDrag(TObject* Target, Integer X, Integer Y) override;
  void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void WMPaint(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMSetCursor(TMessage& Message) override;
  void WMContextMenu(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CNKeyDown(TMessage& Message) override;
  void CNSysKeyDown(TMessage& Message) override;

  // Kept for a descendant that draws a frame (0: none).
  Byte FFrameStyle = 0;

 private:
  void HandleScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos);
  void LookAndFeelChangeHandler(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void CalculateScrollBarsParams();
  TPoint MessagePoint(const TMessage& Message);
  TcxControlScrollBar* BarOf(TScrollBarKind AKind) const;
  void UpdateMiddleScroll(const TPoint& P, const TPoint& Anchor, Integer AnchorSize, Integer& Direction,
                          Integer& Speed, bool& Moved);

  std::unique_ptr<TObject> FOwnedObject;  // none in the base class
  bool FCalculatingScrollBarsParams = false;
  std::unique_ptr<TcxCanvas> FCanvas;
  TCursor FDefaultCursor = crDefault;
  std::unique_ptr<TcxDragAndDropObject> FDragAndDropObject;
  TCursor FDragAndDropPrevCursor = crDefault;
  TcxDragAndDropState FDragAndDropState = ddsNone;
  std::unique_ptr<TcxDragImageList> FDragImages;
  bool FFinishingDragAndDrop = false;
  std::vector<IcxFontListener*> FFontListeners;
  std::unique_ptr<TcxControlScrollBar> FHScrollBar;
  bool FHScrollBarWasShown = false;
  bool FVScrollBarWasShown = false;
  bool FScrollBarsOscillation = false;
  TcxWantedKeys FWantedKeys;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  bool FMouseCaptured = false;
  TObject* FMouseCaptureObject = nullptr;
  TPoint FMouseDownPos;
  TScrollStyle FScrollBars = ssBoth;
  std::unique_ptr<TcxSizeGrip> FSizeGrip;
  bool FUpdatingScrollBars = false;
  std::unique_ptr<TcxControlScrollBar> FVScrollBar;
  bool FMiddleButtonScrolling = false;
  bool FLastParentBackground = true;
  TRect FExplicitBounds;
  // The class library's drag object while it is over the control.
  TDragObject* FDragObjectOver = nullptr;
  bool FSettingCursor = false;
};

// A component that belongs to a control and is streamed as its child.
class TcxControlChildComponent : public TcxComponent {
  VXN_DECLARE_CLASS(TcxControlChildComponent)

 public:
  explicit TcxControlChildComponent(TComponent* AOwner);
  // Takes the control's owner as its own when ATakeOwner, else none.
  TcxControlChildComponent(TcxControl* AControl, bool ATakeOwner);
  ~TcxControlChildComponent() override;

  TcxControl* Control() const { return FControl; }
  virtual bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  virtual void SetControl(TcxControl* Value) { FControl = Value; }

  bool HasParent() const override { return FControl != nullptr; }
  TComponent* GetParentComponent() const override { return FControl; }
  void SetParentComponent(TComponent* Value) override;

 protected:
  // Called by the constructor (a descendant's override is not yet in place
  // then, as with any virtual call from a constructor).
  virtual void Initialize() {}

 private:
  TcxControl* FControl = nullptr;
};
