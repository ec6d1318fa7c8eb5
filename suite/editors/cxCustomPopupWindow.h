// The base of every drop-down window of the editors. It belongs to an owner
// control, paints itself from its own container style and view info, keeps
// the list of popups shown at the moment, and either takes the focus and runs
// its own message loop until it is hidden, or shows as a non-activating
// window beside its owner. Three message hooks of the user-interface thread
// close shown popups when the user clicks elsewhere, switches application,
// hides or moves the owner, or closes a window.
#pragma once

#include <memory>
#include <vector>

#include "suite/editors/cxContainer.h"
#include "suite/foundation/cxPopupWindow.h"

// Posted to a popup: close it and give the owner control the focus.
inline constexpr win::UINT CM_CLOSEPOPUPWINDOW = 0x8065;
// Posted to a popup: show it again for its last focus control.
inline constexpr win::UINT CM_SHOWPOPUPWINDOW = 0x8066;

class TcxCustomPopupWindow;

using TcxPopupWindowList = std::vector<TcxCustomPopupWindow*>;

class TcxCustomPopupWindow : public TcxPopupWindow {
  VXN_DECLARE_CLASS(TcxCustomPopupWindow)

 public:
  explicit TcxCustomPopupWindow(TControl* AOwnerControl);
  ~TcxCustomPopupWindow() override;

  virtual bool CanFitToWorkArea() { return false; }
  virtual void DoClosed();
  virtual void DoClosing();
  virtual void DoShowed();
  virtual bool NeedsEraseBackground() { return false; }
  virtual void CloseOnModalResult() { ClosePopup(); }
  virtual void StyleChanged(TObject* Sender) { (void)Sender; }
  // Page Up/Down, End, Home, the arrows and F4.
  virtual bool IsDropDownNavigationKey(Word Key);
  virtual void FitToWorkArea(TPoint& P);
  virtual TcxContainerStyleClass GetStyleClass() { return &CreateContainerStyle<TcxContainerStyle>; }
  virtual TcxContainerViewInfoClass GetViewInfoClass();
  virtual void PopupForControl(TWinControl* AFocusControl);
  void ClosePopup() override;
  void TakeOwnerFont() override {}

  // Closes the popup later, from the queue, and gives its owner the focus.
  static void PostClosePopup(TcxCustomPopupWindow* APopup);

  TControl* OwnerControl() const { return FOwnerControl; }
  // Made on first use with the classes the descendant names.
  TcxContainerStyle* PopupStyle();
  TcxContainerViewInfo* PopupViewInfo();
  TWinControl* FocusControl() const { return FFocusControl; }
  // The control a queued show request focuses.
  void SetFocusControl(TWinControl* Value);
  bool TakesFocus() const { return FTakesFocus; }
  void SetTakesFocus(bool Value);
  bool TopMostWithOwner() const { return FTopMostWithOwner; }
  void SetTopMostWithOwner(bool Value);
  bool ModalLoop = true;
  bool ClosingByHook = false;
  bool ClosedByOwnerClick = false;
  bool IsShown() const;
  bool IsBeingDestroyed() const { return FBeingDestroyed; }

  bool Focused() override;
  bool CanFocus() override { return Visible(); }

  TNotifyEvent OnBeforePopup;
  TNotifyEvent OnPopupShown;
  TNotifyEvent OnPopupClosing;
  TNotifyEvent OnPopupClosed;

 protected:
  // Cleared when the popup goes: a handler that may free it keeps a copy.
  std::shared_ptr<bool> AliveFlag() const { return FAlive; }
  virtual void MouseEnterHook(TControl* AControl) { (void)AControl; }
  virtual void MouseLeaveHook(TControl* AControl) { (void)AControl; }
  void VisibilityChanged() override;
  // The form lost the activation.
  virtual void Deactivate();

  void AdjustClientRect(TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;

 private:
  friend struct PopupHookAccess;
  void RunModalLoop();
  bool CapturesMouse();
  void Reshow();

  TControl* FOwnerControl = nullptr;
  std::unique_ptr<TcxContainerStyle> FPopupStyle;
  std::unique_ptr<TcxContainerViewInfo> FPopupViewInfo;
  TWinControl* FFocusControl = nullptr;
  bool FTakesFocus = true;
  bool FTopMostWithOwner = false;
  bool FBeingDestroyed = false;
  win::HWND FNewActiveWindow = nullptr;
  // Cleared when the popup goes, so a loop or handler running on it can tell.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The popups shown at the moment, in the order they were shown.
const TcxPopupWindowList& ShownPopups();
bool IsShownPopupWindow(TCustomForm* AForm);
// Set while the mouse hook closes a popup.
bool ClosingFromMouseHook();

// AWnd is AControl's window, inside it, the window of one of its windowed
// children, or of (or inside) a shown popup that belongs to AControl or to
// AControl's form.
bool IsWindowInsideControl(TWinControl* AControl, win::HWND AWnd);
// AWnd is AControl's form or inside it, or a child of the form's top-level
// ancestor.
bool IsRelatedToControl(TControl* AControl, win::HWND AWnd);

// Installs (and removes) the window-procedure, message and mouse hooks of
// the calling thread.
void InstallPopupWindowHooks();
void RemovePopupWindowHooks();
void RegisterCustomPopupWindowClasses();
