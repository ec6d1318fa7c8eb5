// The control tree: TControl (position, alignment, visibility, mouse and
// message dispatch), TWinControl (a window of its own made on demand, focus,
// keys, tab order, children), TGraphicControl and TCustomControl (painted
// through a canvas), the CM_/CN_ notices and drag and drop.
//
// Messages reach a control through its WindowProc, a replaceable method that
// starts as WndProc; WndProc hands them to Dispatch, which calls the handler
// of the message or DefaultHandler. A windowed control's window procedure
// calls WindowProc, so every message of the window takes the same road.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Components.h"
#include "platform/rtl/NamedInts.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Input.h"
#include "platform/win/Windows.h"

// ---------------------------------------------------------------------------
// Messages and notices.

struct TMessage {
  win::UINT Msg = 0;
  win::WPARAM WParam = 0;
  win::LPARAM LParam = 0;
  win::LRESULT Result = 0;
};

using TWndMethod = TDelegate<void(TMessage& Message)>;

// Notices between controls. Their numbers are ours, unique within
// 0xB000-0xB0FF; CM_MOUSELEAVE and CM_WININICHANGE are fixed by the callers.
inline constexpr win::UINT CM_BASE = 0xB000;
inline constexpr win::UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr win::UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr win::UINT CM_GOTFOCUS = CM_BASE + 2;
inline constexpr win::UINT CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr win::UINT CM_CANCELMODE = CM_BASE + 4;
inline constexpr win::UINT CM_DIALOGKEY = CM_BASE + 5;
inline constexpr win::UINT CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr win::UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr win::UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr win::UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr win::UINT CM_HITTEST = CM_BASE + 10;
inline constexpr win::UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr win::UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr win::UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr win::UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr win::UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr win::UINT CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr win::UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
inline constexpr win::UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr win::UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr win::UINT CM_MOUSELEAVE = CM_BASE + 20;  // 0xB014
inline constexpr win::UINT CM_MENUCHANGED = CM_BASE + 21;
inline constexpr win::UINT CM_APPKEYDOWN = CM_BASE + 22;
inline constexpr win::UINT CM_APPSYSCOMMAND = CM_BASE + 23;
inline constexpr win::UINT CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr win::UINT CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr win::UINT CM_ENTER = CM_BASE + 26;
inline constexpr win::UINT CM_EXIT = CM_BASE + 27;
inline constexpr win::UINT CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr win::UINT CM_ICONCHANGED = CM_BASE + 29;
inline constexpr win::UINT CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr win::UINT CM_INVOKEHELP = CM_BASE + 31;
inline constexpr win::UINT CM_WINDOWHOOK = CM_BASE + 32;
inline constexpr win::UINT CM_RELEASE = CM_BASE + 33;
inline constexpr win::UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr win::UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr win::UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr win::UINT CM_WININICHANGE = CM_BASE + 37;  // 0xB025
inline constexpr win::UINT CM_FONTCHANGE = CM_BASE + 38;
inline constexpr win::UINT CM_TIMECHANGE = CM_BASE + 39;
inline constexpr win::UINT CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr win::UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr win::UINT CM_CHILDKEY = CM_BASE + 46;
inline constexpr win::UINT CM_DRAG = CM_BASE + 47;
inline constexpr win::UINT CM_HINTSHOW = CM_BASE + 48;
inline constexpr win::UINT CM_RECREATEWND = CM_BASE + 51;
inline constexpr win::UINT CM_INVALIDATE = CM_BASE + 52;
inline constexpr win::UINT CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr win::UINT CM_CHANGED = CM_BASE + 55;
inline constexpr win::UINT CM_DOCKCLIENT = CM_BASE + 56;
inline constexpr win::UINT CM_UNDOCKCLIENT = CM_BASE + 57;
inline constexpr win::UINT CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr win::UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
inline constexpr win::UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
inline constexpr win::UINT CM_MOUSEWHEEL = CM_BASE + 67;
inline constexpr win::UINT CM_FLOAT = CM_BASE + 68;

// Messages a parent hands back to the child they concern, and key messages
// the message loop gives the focused control before its window sees them:
// CN_x = CN_BASE + WM_x.
inline constexpr win::UINT CN_BASE = 0xBC00;
inline constexpr win::UINT CN_CHARTOITEM = CN_BASE + win::WM_CHARTOITEM;
inline constexpr win::UINT CN_COMMAND = CN_BASE + win::WM_COMMAND;
inline constexpr win::UINT CN_COMPAREITEM = CN_BASE + win::WM_COMPAREITEM;
inline constexpr win::UINT CN_CTLCOLORBTN = CN_BASE + win::WM_CTLCOLORBTN;
inline constexpr win::UINT CN_CTLCOLORDLG = CN_BASE + win::WM_CTLCOLORDLG;
inline constexpr win::UINT CN_CTLCOLOREDIT = CN_BASE + win::WM_CTLCOLOREDIT;
inline constexpr win::UINT CN_CTLCOLORLISTBOX = CN_BASE + win::WM_CTLCOLORLISTBOX;
inline constexpr win::UINT CN_CTLCOLORMSGBOX = CN_BASE + win::WM_CTLCOLORMSGBOX;
inline constexpr win::UINT CN_CTLCOLORSCROLLBAR = CN_BASE + win::WM_CTLCOLORSCROLLBAR;
inline constexpr win::UINT CN_CTLCOLORSTATIC = CN_BASE + win::WM_CTLCOLORSTATIC;
inline constexpr win::UINT CN_DELETEITEM = CN_BASE + win::WM_DELETEITEM;
inline constexpr win::UINT CN_DRAWITEM = CN_BASE + win::WM_DRAWITEM;
inline constexpr win::UINT CN_HSCROLL = CN_BASE + win::WM_HSCROLL;
inline constexpr win::UINT CN_MEASUREITEM = CN_BASE + win::WM_MEASUREITEM;
inline constexpr win::UINT CN_PARENTNOTIFY = CN_BASE + win::WM_PARENTNOTIFY;
inline constexpr win::UINT CN_VKEYTOITEM = CN_BASE + win::WM_VKEYTOITEM;
inline constexpr win::UINT CN_VSCROLL = CN_BASE + win::WM_VSCROLL;
inline constexpr win::UINT CN_KEYDOWN = CN_BASE + win::WM_KEYDOWN;        // 0xBD00
inline constexpr win::UINT CN_KEYUP = CN_BASE + win::WM_KEYUP;
inline constexpr win::UINT CN_CHAR = CN_BASE + win::WM_CHAR;
inline constexpr win::UINT CN_SYSKEYDOWN = CN_BASE + win::WM_SYSKEYDOWN;  // 0xBD04
inline constexpr win::UINT CN_SYSCHAR = CN_BASE + win::WM_SYSCHAR;
inline constexpr win::UINT CN_NOTIFY = CN_BASE + win::WM_NOTIFY;

// CM_CONTROLCHANGE: wParam the control, lParam nonzero when it is inserted.
// CM_DOCKCLIENT: wParam the TDragDockObject, lParam the drop point (client
// coordinates, MAKELPARAM); a negative answer refuses the client.
// CM_UNDOCKCLIENT: wParam the new dock site (or nil), lParam the client.
// CM_DOCKNOTIFICATION: wParam the docked client, lParam a TDockNotifyRec.
// CM_FLOAT: lParam the TDragDockObject whose dock rect the control floats in.
// CM_MOUSEENTER / CM_MOUSELEAVE: lParam the control the mouse entered or left.

// ---------------------------------------------------------------------------
// Enumerations and sets.

VXN_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
VXN_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using TAnchors = TSet<TAnchorKind>;
VXN_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
VXN_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateItem>;
VXN_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)
VXN_ENUM(TDragMode, dmManual, dmAutomatic)
VXN_ENUM(TDragKind, dkDrag, dkDock)
VXN_ENUM(TDragState, dsDragEnter, dsDragLeave, dsDragMove)

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking,
};
using TControlState = TSet<TControlStateItem>;

// Key and mouse state from message flags.
TShiftState KeysToShiftState(win::WORD Keys);
TShiftState KeyDataToShiftState(win::LPARAM KeyData);

// ---------------------------------------------------------------------------

class TControl;
class TWinControl;
class TDragObject;
class TDragDockObject;
class TDragImageList;
class TBasicAction;
class TControlActionLink;

using TMouseEvent = TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = TDelegate<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TMouseWheelEvent =
    TDelegate<void(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = TDelegate<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TKeyEvent = TDelegate<void(TObject* Sender, Word& Key, TShiftState Shift)>;
// Key carries one code point (WM_CHAR).
using TKeyPressEvent = TDelegate<void(TObject* Sender, char32_t& Key)>;
using TContextPopupEvent = TDelegate<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TCanResizeEvent = TDelegate<void(TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize)>;
using TStartDragEvent = TDelegate<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent =
    TDelegate<void(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TDelegate<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TEndDragEvent = TDelegate<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;
using TStartDockEvent = TDelegate<void(TObject* Sender, TDragDockObject*& DragObject)>;
using TDockDropEvent = TDelegate<void(TObject* Sender, TDragDockObject* Source, Integer X, Integer Y)>;
using TDockOverEvent = TDelegate<void(TObject* Sender, TDragDockObject* Source, Integer X, Integer Y,
                                      TDragState State, bool& Accept)>;
// InfluenceRect in screen coordinates: where a drag of DockClient may dock.
using TGetSiteInfoEvent = TDelegate<void(TObject* Sender, TControl* DockClient, TRect& InfluenceRect,
                                         TPoint MousePos, bool& CanDock)>;
// Allow starts true.
using TUnDockEvent = TDelegate<void(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow)>;

// ---------------------------------------------------------------------------

class TSizeConstraints : public TPersistent {
  VXN_DECLARE_CLASS(TSizeConstraints)

 public:
  explicit TSizeConstraints(TControl* Control) : Control_(Control) {}

  Integer GetMaxHeight() const { return MaxHeight_; }
  void SetMaxHeight(Integer Value);
  Integer GetMaxWidth() const { return MaxWidth_; }
  void SetMaxWidth(Integer Value);
  Integer GetMinHeight() const { return MinHeight_; }
  void SetMinHeight(Integer Value);
  Integer GetMinWidth() const { return MinWidth_; }
  void SetMinWidth(Integer Value);

  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;
  TNotifyEvent OnChange;

 private:
  void Change();
  TControl* Control_;
  Integer MaxHeight_ = 0;  // 0: no limit
  Integer MaxWidth_ = 0;
  Integer MinHeight_ = 0;
  Integer MinWidth_ = 0;
};

// What the hint window is about to show; CM_HINTSHOW passes it in lParam
// and a control may change it (a nonzero answer suppresses the hint).
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;  // screen
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;  // client coordinates of HintControl
  TPoint CursorPos;  // client coordinates of HintControl
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  std::string HintStr;
};

// ---------------------------------------------------------------------------

class TControl : public TComponent {
  VXN_DECLARE_CLASS(TControl)

 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // Position, relative to the parent's client area.
  TWinControl* Parent() const { return Parent_; }
  virtual void SetParent(TWinControl* AParent);
  Integer Left() const { return Left_; }
  Integer Top() const { return Top_; }
  Integer Width() const { return Width_; }
  Integer Height() const { return Height_; }
  void SetLeft(Integer Value) { SetBounds(Value, Top_, Width_, Height_); }
  void SetTop(Integer Value) { SetBounds(Left_, Value, Width_, Height_); }
  void SetWidth(Integer Value) { SetBounds(Left_, Top_, Value, Height_); }
  void SetHeight(Integer Value) { SetBounds(Left_, Top_, Width_, Value); }
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  TRect BoundsRect() const { return {Left_, Top_, Left_ + Width_, Top_ + Height_}; }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual TRect GetClientRect() const;
  TRect ClientRect() const { return GetClientRect(); }
  Integer ClientWidth() const { return GetClientRect().Right; }
  Integer ClientHeight() const { return GetClientRect().Bottom; }
  void SetClientWidth(Integer Value) { SetClientSize(Value, ClientHeight()); }
  void SetClientHeight(Integer Value) { SetClientSize(ClientWidth(), Value); }
  // Screen position of the client area's top left.
  virtual TPoint GetClientOrigin() const;
  TPoint ClientOrigin() const { return GetClientOrigin(); }
  TPoint ClientToScreen(const TPoint& Point) const;
  TPoint ScreenToClient(const TPoint& Point) const;

  TAlign Align() const { return Align_; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return Anchors_; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return Constraints_.get(); }
  bool AutoSize() const { return AutoSize_; }
  virtual void SetAutoSize(bool Value);

  bool Visible() const { return Visible_; }
  void SetVisible(bool Value);
  // Asks the parents to bring the control into view (a page control shows
  // the page it lies on), then makes it visible.
  void Show();
  void Hide() { SetVisible(false); }
  bool Enabled() const { return Enabled_; }
  virtual void SetEnabled(bool Value);
  // Whether the control is shown: visible, and its parents shown.
  virtual bool Showing() const;

  // Caption and Text are one value.
  virtual std::string GetText() const { return Text_; }
  virtual void SetText(const std::string& Value);
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  std::string GetHint() const { return Hint_; }
  void SetHint(const std::string& Value) { Hint_ = Value; }
  bool ShowHint() const { return ShowHint_; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return ParentShowHint_; }
  void SetParentShowHint(bool Value);
  TColor Color() const { return Color_; }
  void SetColor(TColor Value);
  bool ParentColor() const { return ParentColor_; }
  void SetParentColor(bool Value);
  TFont* Font() const { return Font_.get(); }
  void SetFont(TFont* Value) { Font_->Assign(Value); }
  bool ParentFont() const { return ParentFont_; }
  void SetParentFont(bool Value);
  TCursor Cursor() const { return Cursor_; }
  void SetCursor(TCursor Value);
  TBiDiMode BiDiMode() const { return BiDiMode_; }
  void SetBiDiMode(TBiDiMode Value);
  // True: the reading order follows the parent's; setting BiDiMode clears it.
  bool ParentBiDiMode() const { return ParentBiDiMode_; }
  void SetParentBiDiMode(bool Value);
  // A TPopupMenu or any component that can pop up; cleared when it is freed.
  TComponent* PopupMenu() const { return PopupMenu_; }
  void SetPopupMenu(TComponent* Value);
  // The action whose caption, enabled state, hint, visibility and click the
  // control shares; cleared when the action is freed.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* ActionLink() const { return ActionLink_.get(); }
  // Lets the action bring its state up to date (the idle loop's work).
  virtual void InitiateAction();
  TDragMode DragMode() const { return DragMode_; }
  void SetDragMode(TDragMode Value) { DragMode_ = Value; }
  TDragKind DragKind = dkDrag;
  TCursor DragCursor = crDrag;

  TControlStyle ControlStyle;
  TControlState ControlState;

  // Messages.
  TWndMethod WindowProc;
  win::LRESULT Perform(win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // Painting.
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  // Paints the control (and its children) into a DC at (X, Y).
  void PaintTo(win::HDC DC, Integer X, Integer Y);

  virtual void ChangeScale(Integer M, Integer D);
  void BringToFront();
  void SendToBack();

  // Drag and drop.
  void BeginDrag(bool Immediate, Integer Threshold = -1);
  void EndDrag(bool Drop);
  bool Dragging() const;
  virtual void DragDrop(TObject* Source, Integer X, Integer Y);
  // The images a drag of this control shows under the mouse (nil: none).
  virtual TDragImageList* GetDragImages() { return nullptr; }

  // Docking. A control with DragKind dkDock is dragged as a dock client; the
  // site it is docked into is its HostDockSite.
  TWinControl* HostDockSite() const { return HostDockSite_; }
  // Docked into a floating host made for it, or a control that floats itself.
  bool Floating() const;
  // The class of the host made when the control floats; nil: it cannot
  // float, its own class: it floats as a top-level window of its own.
  TClass FloatingDockSiteClass = nullptr;
  // The size the control takes when it floats (0: its present size).
  Integer UndockWidth() const { return UndockWidth_ > 0 ? UndockWidth_ : Width_; }
  void SetUndockWidth(Integer Value) { UndockWidth_ = Value; }
  Integer UndockHeight() const { return UndockHeight_ > 0 ? UndockHeight_ : Height_; }
  void SetUndockHeight(Integer Value) { UndockHeight_ = Value; }
  // Joins a dock site (nil: none) at ARect, in the site's client
  // coordinates (screen coordinates without a site).
  virtual void Dock(TWinControl* NewDockSite, const TRect& ARect);
  // Docks as a drop would, asking the present site first; nil floats.
  bool ManualDock(TWinControl* NewDockSite, TControl* DropControl = nullptr, TAlign ControlSide = alNone);
  // Floats in a host of FloatingDockSiteClass at a screen rectangle.
  bool ManualFloat(const TRect& ScreenPos);

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;
  TContextPopupEvent OnContextPopup;
  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;
  TStartDockEvent OnStartDock;
  TEndDragEvent OnEndDock;

  // Streaming views of a few properties.
  Integer GetLeftProp() const { return Left_; }
  Integer GetTopProp() const { return Top_; }
  Integer GetWidthProp() const { return Width_; }
  Integer GetHeightProp() const { return Height_; }
  bool GetVisibleProp() const { return Visible_; }
  bool GetEnabledProp() const { return Enabled_; }
  TComponent* GetActionProp() const;
  void SetActionProp(TComponent* Value);
  TColor GetColorProp() const { return Color_; }
  TFont* GetFontProp() const { return Font_.get(); }
  TSizeConstraints* GetConstraintsProp() const { return Constraints_.get(); }
  void SetConstraintsProp(TSizeConstraints* Value) { Constraints_->Assign(Value); }
  TCursor GetCursorProp() const { return Cursor_; }
  bool IsColorStored() const { return !ParentColor_; }
  bool IsFontStored() const { return !ParentFont_; }
  bool IsShowHintStored() const { return !ParentShowHint_; }

 protected:
  friend class TWinControl;
  friend class TApplication;

  virtual void WndProc(TMessage& Message);
  // Takes what the action has when the action is assigned; with
  // CheckDefaults (the action was being loaded) only into properties that
  // still hold their defaults. Later changes come through the link, which
  // passes on only what the control still shares with the action.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // The link a control of this kind uses with its action.
  virtual std::unique_ptr<TControlActionLink> CreateActionLink();
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual void Resize();
  virtual bool CanResize(Integer& NewWidth, Integer& NewHeight);
  virtual bool CanAutoSize(Integer& NewWidth, Integer& NewHeight);
  virtual void ConstrainedResize(Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth, Integer& MaxHeight);
  bool CheckNewSize(Integer& NewWidth, Integer& NewHeight);
  void AdjustSize();
  virtual void RequestAlign();
  virtual void SetClientSize(Integer AWidth, Integer AHeight);
  virtual void InvalidateControl(bool IsVisible, bool IsOpaque);
  virtual void VisibleChanging() {}
  virtual void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader& Reader) override;
  virtual void UpdateBoundsRect(const TRect& R);
  virtual void ParentChanged() {}

  // Drag and drop.
  virtual void DoStartDrag(TDragObject*& DragObject);
  virtual void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
  virtual void DoEndDrag(TObject* Target, Integer X, Integer Y);
  virtual void DragCanceled() {}
  void BeginAutoDrag() { BeginDrag(false); }
  virtual void DoStartDock(TDragDockObject*& DragObject);
  virtual void DoEndDock(TObject* Target, Integer X, Integer Y);
  // Places the control at ARect for a dock into NewDockSite (nil: none).
  virtual void DoDock(TWinControl* NewDockSite, TRect& ARect);
  // The floating dock rect: the undock size, the mouse where it took the control.
  virtual void PositionDockRect(TDragDockObject* DragDockObject);
  virtual TWinControl* CreateFloatingDockSite(const TRect& Bounds);
  // Keeps the floating size while the control floats.
  void CalcDockSizes();
  // Tells the host dock site of a message the docked control got.
  void SendDockNotification(win::UINT Msg, win::WPARAM WParam, win::LPARAM LParam);
  virtual void CMFloat(TMessage& Message);

  // Dispatch of the messages TControl knows.
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMRButtonDown(TMessage& Message);
  virtual void WMRButtonUp(TMessage& Message);
  virtual void WMMButtonDown(TMessage& Message);
  virtual void WMMButtonUp(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMParentBiDiModeChanged(TMessage& Message);
  virtual void CMHitTest(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMHintShow(TMessage& Message);
  virtual void CMMouseWheel(TMessage& Message);

  TControl* GetParentControlForMessages() const;
  void SendCancelMode(TControl* Sender);
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);
  void FontChanged(TObject* Sender);
  bool Anchoring_ = false;  // bounds being set by the parent's alignment

 private:
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void UpdateAnchorRules();

  TWinControl* Parent_ = nullptr;
  Integer Left_ = 0;
  Integer Top_ = 0;
  Integer Width_ = 0;
  Integer Height_ = 0;
  TAlign Align_ = alNone;
  TAnchors Anchors_{akLeft, akTop};
  std::unique_ptr<TSizeConstraints> Constraints_;
  bool AutoSize_ = false;
  bool Visible_ = true;
  bool Enabled_ = true;
  std::string Text_;
  std::string Hint_;
  bool ShowHint_ = false;
  bool ParentShowHint_ = true;
  TColor Color_ = clWindow;
  bool ParentColor_ = false;
  std::unique_ptr<TFont> Font_;
  bool ParentFont_ = true;
  TCursor Cursor_ = crDefault;
  TBiDiMode BiDiMode_ = bdLeftToRight;
  bool ParentBiDiMode_ = true;
  TComponent* PopupMenu_ = nullptr;
  std::unique_ptr<TControlActionLink> ActionLink_;
  TDragMode DragMode_ = dmManual;
  // Distances kept by the anchors, in the parent's client coordinates.
  Integer AnchorRight_ = 0;
  Integer AnchorBottom_ = 0;
  // Without left or right (top or bottom) anchor the centre keeps its
  // proportion of the parent's client size.
  Integer AnchorCenterX_ = 0;
  Integer AnchorCenterY_ = 0;
  TSize AnchorParentSize_;
  bool AnchorRulesValid_ = false;
  Integer AutoSizing_ = 0;
  TWinControl* HostDockSite_ = nullptr;
  Integer UndockWidth_ = 0;
  Integer UndockHeight_ = 0;
  friend struct TDragAccess;
  friend struct TDockAccess;
};

// ---------------------------------------------------------------------------

// A component that pops up at a screen point for a control (the popup
// menu); a control's PopupMenu is used through it.
class IPopupComponent {
 public:
  virtual ~IPopupComponent() = default;
  virtual bool AutoPopup() const = 0;
  virtual void SetPopupComponent(TComponent* Component) = 0;
  virtual void Popup(Integer X, Integer Y) = 0;
};

// Menus answer whether a key (CN_KEYDOWN / CN_SYSKEYDOWN) at a control is
// the shortcut of a menu item, and run the item when it is.
using TMenuKeyHook = bool (*)(TWinControl* Control, TMessage& Message);
void SetMenuKeyHook(TMenuKeyHook Hook);

// What CreateParams fills in for CreateWnd.
struct TCreateParams {
  std::string Caption;
  win::DWORD Style = 0;
  win::DWORD ExStyle = 0;
  Integer X = 0;
  Integer Y = 0;
  Integer Width = 0;
  Integer Height = 0;
  win::HWND WndParent = nullptr;
  void* Param = nullptr;
  win::UINT WindowClassStyle = 0;
  std::string WinClassName;
};

namespace forms {
// The window procedure of every control's window (the forms library's own).
win::LRESULT ControlWindowProc(win::HWND hwnd, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam);
}  // namespace forms

class TWinControl : public TControl {
  VXN_DECLARE_CLASS(TWinControl)

 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The window, made (with the parents' windows) on first use.
  win::HWND Handle();
  bool HandleAllocated() const { return Handle_ != nullptr; }
  void HandleNeeded();
  // A window that is not a control of ours as the parent of this one.
  win::HWND ParentWindow() const { return ParentWindow_; }
  void SetParentWindow(win::HWND Value);
  // Destroys the window so the next use makes it anew with the present
  // creation parameters; children come back with it.
  void RecreateWnd();

  Integer ControlCount() const { return static_cast<Integer>(Controls_.size()); }
  TControl* Controls(Integer Index) const { return Controls_.at(static_cast<size_t>(Index)); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // Sends Message to every child until one answers nonzero.
  void Broadcast(TMessage& Message);
  bool ContainsControl(TControl* Control) const;
  // The child at a client point (graphic controls, or all with AllowWinControls).
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
  void DisableAlign() { ++AlignLevel_; }
  void EnableAlign();
  void Realign();
  void ScaleBy(Integer M, Integer D) { ChangeScale(M, D); }

  // Tab order and focus.
  Integer TabOrder() const;
  void SetTabOrder(Integer Value);
  bool TabStop() const { return TabStop_; }
  void SetTabStop(bool Value);
  virtual void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectFirst();
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  virtual bool CanFocus();
  virtual bool Focused();
  virtual void SetFocus();

  // The sunken three-dimensional look of bordered controls (a client edge);
  // off, they get a flat one-pixel border. Follows the parent's unless set.
  bool Ctl3D() const { return Ctl3D_; }
  void SetCtl3D(bool Value);
  bool ParentCtl3D() const { return ParentCtl3D_; }
  void SetParentCtl3D(bool Value);

  bool DoubleBuffered = false;
  bool ParentBackground() const { return ControlStyle.Contains(csParentBackground); }
  void SetParentBackground(bool Value);

  // The window exists and it and its parents are visible.
  bool Showing() const override;
  TRect GetClientRect() const override;
  TPoint GetClientOrigin() const override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // With a window, its text (the user may have typed it).
  std::string GetText() const override;
  void SetText(const std::string& Value) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

  // Docking: a dock site takes the controls dragged onto it as its dock
  // clients.
  bool DockSite() const { return DockSite_; }
  void SetDockSite(bool Value);
  Integer DockClientCount() const { return static_cast<Integer>(DockClients_.size()); }
  TControl* DockClients(Integer Index) const { return DockClients_.at(static_cast<size_t>(Index)); }
  // A dock drag dropped here (X, Y in client coordinates): CM_DOCKCLIENT,
  // then OnDockDrop.
  virtual void DockDrop(TDragDockObject* Source, Integer X, Integer Y);
  virtual void DockOver(TDragDockObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
  virtual void GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock);
  // A dock client is about to leave for NewTarget (nil: floating).
  virtual bool DoUnDock(TWinControl* NewTarget, TControl* Client);
  // Brings a child into view; the request goes up the parents.
  virtual void ShowControl(TControl* AControl);
  // The form reader's order for a child: its place in the z-order.
  void SetChildOrder(TComponent* Child, Integer Order) override;
  TDockDropEvent OnDockDrop;
  TDockOverEvent OnDockOver;
  TGetSiteInfoEvent OnGetSiteInfo;
  TUnDockEvent OnUnDock;

  Integer GetTabOrderProp() const { return TabOrder(); }
  bool GetTabStopProp() const { return TabStop_; }

  // The control whose window this is, or nil.
  static TWinControl* FromHandle(win::HWND Wnd);

 protected:
  friend class TControl;
  friend class TApplication;

  void WndProc(TMessage& Message) override;
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void CreateHandle();
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void DestroyHandle();
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect);
  void AlignControl(TControl* AControl);
  virtual void PaintWindow(win::HDC DC);
  // True for controls over a window class that paints itself from its own
  // BeginPaint (edit, list box, scroll bar): the forms' paint path would
  // empty the update region before the class got to it.
  virtual bool PaintsItself() const { return false; }
  void PaintControls(win::HDC DC, TControl* First);
  void PaintHandler(TMessage& Message);
  // The window's own painting and its graphic controls, on one DC.
  void PaintOn(win::HDC DC);
  // A top-level control (the form) that answers true sees its controls'
  // keys before they do (KeyPreview).
  virtual bool PreviewsKeys() const { return false; }
  virtual bool DoKeyDown(TMessage& Message);
  virtual bool DoKeyPress(TMessage& Message);
  virtual bool DoKeyUp(TMessage& Message);
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void DoEnter();
  virtual void DoExit();
  virtual void UpdateShowing();
  void UpdateControlState();
  // Sends CM_SHOWINGCHANGED to this control and its windowed descendants
  // whose Showing differs from what they were last told.
  void NotifyShowing();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool IsControlMouseMsg(TMessage& Message);
  // Hands a parent's message about a child window to that child as CN_x.
  bool DoControlMsg(win::HWND ControlHandle, TMessage& Message);

  virtual void WMPaint(TMessage& Message);
  virtual void WMEraseBkgnd(TMessage& Message);
  virtual void WMSize(TMessage& Message);
  virtual void WMMove(TMessage& Message);
  virtual void WMWindowPosChanged(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMSysKeyDown(TMessage& Message);
  virtual void WMSysKeyUp(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  virtual void WMNCDestroy(TMessage& Message);
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNKeyUp(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void CNSysKeyDown(TMessage& Message);
  virtual void CNSysChar(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMShowingChanged(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  virtual void CMRecreateWnd(TMessage& Message);
  // Controls whose frame shows Ctl3D make their window anew.
  virtual void CMCtl3DChanged(TMessage& Message);
  virtual void CMParentCtl3DChanged(TMessage& Message);
  void ParentChanged() override;
  virtual void CMBiDiModeChanged(TMessage& Message);
  virtual void CMSysColorChange(TMessage& Message);
  virtual void CMWinIniChange(TMessage& Message);
  // Docking: a client joins (by default it becomes a child) or has left.
  virtual void DoAddDockClient(TControl* Client, const TRect& ARect);
  virtual void DoRemoveDockClient(TControl* Client) { (void)Client; }
  void DoDockOver(TDragDockObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
  virtual void CMDockClient(TMessage& Message);
  virtual void CMUnDockClient(TMessage& Message);
  virtual void CMDockNotification(TMessage& Message);

  // The window procedure to pass unhandled messages to.
  win::WNDPROC DefWndProc = nullptr;

 private:
  friend win::LRESULT forms::ControlWindowProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);
  void UpdateBounds();
  void InsertTabOrder(TWinControl* Control);
  void DestroyChildHandles();
  bool AlignWork();

  win::HWND Handle_ = nullptr;
  win::HWND ParentWindow_ = nullptr;
  std::vector<TControl*> Controls_;      // all children, z-order bottom first
  std::vector<TWinControl*> TabList_;    // windowed children in tab order
  bool TabStop_ = false;
  bool ShowingNotified_ = false;
  Integer AlignLevel_ = 0;
  bool Recreating_ = false;
  bool Ctl3D_ = true;
  bool ParentCtl3D_ = true;
  bool DockSite_ = false;
  std::vector<TControl*> DockClients_;
  friend struct TDockAccess;
};

// ---------------------------------------------------------------------------

class TGraphicControl : public TControl {
  VXN_DECLARE_CLASS(TGraphicControl)

 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return Canvas_.get(); }

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& Message) override;

 private:
  std::unique_ptr<TCanvas> Canvas_;
};

class TCustomControl : public TWinControl {
  VXN_DECLARE_CLASS(TCustomControl)

 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return Canvas_.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(win::HDC DC) override;

 private:
  std::unique_ptr<TCanvas> Canvas_;
};

// The base of the windows whose children the class library scrolls (forms and
// scroll boxes); code that picks containers by class tests for it.
class TScrollingWinControl : public TWinControl {
  VXN_DECLARE_CLASS(TScrollingWinControl)

 public:
  explicit TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}
};

// ---------------------------------------------------------------------------
// Drag and drop.

class TDragObject : public TObject {
  VXN_DECLARE_CLASS(TDragObject)

 public:
  TDragObject() = default;
  // The position of the last move, screen and target client coordinates.
  TPoint DragPos;
  TPoint DragTargetPos;
  TObject* DragTarget = nullptr;
  win::HWND DragHandle = nullptr;
  bool Cancelling = false;
  bool Dropped = false;
  bool AlwaysShowDragImages = false;
  virtual std::string GetName() { return ClassName(); }
  virtual TCursor GetDragCursor(bool Accepted, Integer X, Integer Y);
  // The drag image; a control painting under it hides it meanwhile.
  virtual TDragImageList* GetDragImages() { return nullptr; }
  void ShowDragImage();
  void HideDragImage();
  virtual void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) {
    (void)Target;
    (void)X;
    (void)Y;
    (void)Accepted;
  }
};

class TBaseDragControlObject : public TDragObject {
  VXN_DECLARE_CLASS(TBaseDragControlObject)

 public:
  explicit TBaseDragControlObject(TControl* AControl) : Control(AControl) {}
  TControl* Control;
  TDragImageList* GetDragImages() override { return Control ? Control->GetDragImages() : nullptr; }
};

// The drag object made for a control whose OnStartDrag supplies none; it is
// freed when the drag ends. The drag's source (OnDragOver's Source) is the
// control itself.
class TDragControlObject : public TBaseDragControlObject {
  VXN_DECLARE_CLASS(TDragControlObject)

 public:
  using TBaseDragControlObject::TBaseDragControlObject;
  TCursor GetDragCursor(bool Accepted, Integer X, Integer Y) override;
};

// The control or object of a drag under way (nil when none).
TControl* DragControl();
TDragObject* DragObject();
// Moves the drag to a screen point (what mouse moves do during a drag).
void DragTo(const TPoint& Pos);
// Ends the drag with a drop at the last position, or cancels it.
void DragDone(bool Drop);
// Cancels the drag under way; called from a control's DoStartDrag, the drag
// does not start.
void CancelDrag();

// ---------------------------------------------------------------------------

// The control under a screen point: the deepest windowed control, or one
// of its graphic children.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
TWinControl* FindControl(win::HWND Handle);
// The topmost parent of a control (the form it sits on).
TWinControl* GetTopParent(TControl* Control);
// Cursor handles by TCursor, kept by the screen object (Forms).
win::HCURSOR CursorHandle(TCursor Cursor);
// The text before / after the '|' of a hint.
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

inline constexpr const char* SParentRequired = "Control '%s' has no parent window";
inline constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";
