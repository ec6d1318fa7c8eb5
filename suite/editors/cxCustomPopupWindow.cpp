#include "suite/editors/cxCustomPopupWindow.h"

#include <algorithm>
#include <map>

#include "platform/forms/Forms.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/editors/cxContainer.h"
#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/cxTimer.h"

using namespace win;

VXN_IMPLEMENT_CLASS(TcxCustomPopupWindow, TcxPopupWindow)

namespace {

struct PopupHookState {
  TcxPopupWindowList shown;
  bool closingFromMouseHook = false;
  HHOOK callWndProcHook = nullptr;
  HHOOK getMessageHook = nullptr;
  HHOOK mouseHook = nullptr;
  // Windows whose procedure stands in for one WM_NCACTIVATE, with the
  // procedure to put back.
  std::map<HWND, WNDPROC> keptActiveCaptions;
};

PopupHookState& HookState() {
  static PopupHookState state;
  return state;
}

TcxPopupWindowList& Shown() { return HookState().shown; }

bool Contains(const TcxPopupWindowList& list, const TcxCustomPopupWindow* popup) {
  return std::find(list.begin(), list.end(), popup) != list.end();
}

bool IsDestroying(const TComponent* AComponent) {
  return AComponent->ComponentState().Contains(csDestroying);
}

bool IsWindowOrInside(HWND AParent, HWND AWnd) { return AParent && AWnd && (AWnd == AParent || IsChild(AParent, AWnd)); }

HWND HandleIfAllocated(TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() ? AControl->Handle() : nullptr;
}

// Reaches the container's focus-change handling for the hooks.
struct ContainerFocusAccess : TcxContainer {
  static void FocusChangedOf(TcxContainer* AContainer) {
    (AContainer->*(&ContainerFocusAccess::FocusChanged))();
  }
};

}  // namespace

const TcxPopupWindowList& ShownPopups() { return Shown(); }

bool IsShownPopupWindow(TCustomForm* AForm) {
  auto* popup = dynamic_cast<TcxCustomPopupWindow*>(AForm);
  return popup && Contains(Shown(), popup);
}

bool ClosingFromMouseHook() { return HookState().closingFromMouseHook; }

bool IsWindowInsideControl(TWinControl* AControl, HWND AWnd) {
  if (!AControl || !AWnd) return false;
  if (IsWindowOrInside(HandleIfAllocated(AControl), AWnd)) return true;
  for (Integer i = 0; i < AControl->ControlCount(); ++i)
    if (auto* child = dynamic_cast<TWinControl*>(AControl->Controls(i)); child && IsWindowInsideControl(child, AWnd))
      return true;
  // Popups are separate windows: a popup that belongs to the control (or to
  // the form the control is) counts as part of it, one level deep.
  for (TcxCustomPopupWindow* popup : Shown()) {
    TControl* owner = popup->OwnerControl();
    if (!owner || (owner != AControl && GetParentForm(owner) != AControl)) continue;
    if (IsWindowOrInside(HandleIfAllocated(popup), AWnd)) return true;
  }
  return false;
}

bool IsRelatedToControl(TControl* AControl, HWND AWnd) {
  TForm* form = AControl ? GetParentForm(AControl) : nullptr;
  if (!form || !AWnd) return false;
  if (IsWindowInsideControl(form, AWnd)) return true;
  HWND root = form->HandleAllocated() ? GetAncestor(form->Handle(), GA_ROOT) : nullptr;
  return root && IsChild(root, AWnd);
}

// ---------------------------------------------------------------------------

TcxCustomPopupWindow::TcxCustomPopupWindow(TControl* AOwnerControl) : TcxPopupWindow() {
  SetFormStyle(fsNormal);
  SetVisible(false);
  FOwnerControl = AOwnerControl;
  if (FOwnerControl) FOwnerControl->FreeNotification(this);
  KeyPreview = true;
}

TcxCustomPopupWindow::~TcxCustomPopupWindow() {
  FBeingDestroyed = true;
  *FAlive = false;
  auto& list = Shown();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  FPopupViewInfo.reset();
  if (FPopupStyle) {
    FPopupStyle->ChangeHandler = {};
    FPopupStyle.reset();
  }
  if (FOwnerControl) FOwnerControl->RemoveFreeNotification(this);
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
}

TcxContainerViewInfoClass TcxCustomPopupWindow::GetViewInfoClass() {
  return &CreateContainerViewInfo<TcxContainerViewInfo>;
}

TcxContainerStyle* TcxCustomPopupWindow::PopupStyle() {
  if (!FPopupStyle) {
    FPopupStyle = GetStyleClass()(this, false, nullptr, cxStateNormal);
    FPopupStyle->ChangeHandler = TNotifyEvent(this, &TcxCustomPopupWindow::StyleChanged);
  }
  return FPopupStyle.get();
}

TcxContainerViewInfo* TcxCustomPopupWindow::PopupViewInfo() {
  if (!FPopupViewInfo) FPopupViewInfo = GetViewInfoClass()();
  return FPopupViewInfo.get();
}

bool TcxCustomPopupWindow::IsShown() const { return Contains(Shown(), this); }

void TcxCustomPopupWindow::DoClosed() { OnPopupClosed(this); }
void TcxCustomPopupWindow::DoClosing() { OnPopupClosing(this); }
void TcxCustomPopupWindow::DoShowed() { OnPopupShown(this); }

bool TcxCustomPopupWindow::IsDropDownNavigationKey(Word Key) {
  return (Key >= VK_PRIOR && Key <= VK_DOWN) || Key == VK_F4;
}

void TcxCustomPopupWindow::FitToWorkArea(TPoint& P) {
  if (!CanFitToWorkArea()) return;
  const TRect area = GetMonitorWorkArea(P);
  Integer w = Width(), h = Height();
  if (P.X < area.Left) {
    w -= area.Left - P.X;
    P.X = area.Left;
  }
  if (P.Y < area.Top) {
    h -= area.Top - P.Y;
    P.Y = area.Top;
  }
  w = std::min(w, area.Right - P.X);
  h = std::min(h, area.Bottom - P.Y);
  SetBounds(Left(), Top(), w, h);
  // Size constraints may refuse the height; a popup hanging from the top of
  // the area keeps its bottom edge where it was asked to be.
  if (Height() != h && P.Y == area.Top) P.Y += h - Height();
}

void TcxCustomPopupWindow::PopupForControl(TWinControl* AFocusControl) {
  if (IsShown()) return;
  auto alive = FAlive;
  auto& list = Shown();
  auto* owner = dynamic_cast<TWinControl*>(FOwnerControl);
  if (owner && owner->HandleAllocated() && !IsWindowVisible(owner->Handle())) {
    list.push_back(this);
    ClosePopup();
    return;
  }
  FitToChildren();
  TPoint p;
  CalculatePosition(p);
  FitToWorkArea(p);
  list.push_back(this);
  OnBeforePopup(this);
  if (!*alive) return;
  SetBounds(p.X, p.Y, Width(), Height());
  if (FTakesFocus) {
    Show();
  } else {
    DoShow();
    SetVisible(true);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  }
  if (!*alive) return;

  TWinControl* focus = AFocusControl;
  if (FTakesFocus) {
    if (!(AFocusControl && AFocusControl->CanFocus() && AFocusControl->TabStop())) {
      focus = FindNextControl(nullptr, true, false, false);
      if (!focus) focus = this;
    }
  }
  if (FFocusControl && FFocusControl != focus) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = focus;
  if (FFocusControl && FFocusControl != this) FFocusControl->FreeNotification(this);
  if (focus)
    focus->SetFocus();
  else
    SetFocus();
  if (!*alive) return;

  TForm* ownerForm = FOwnerControl ? GetParentForm(FOwnerControl) : nullptr;
  const bool topMost = !FTakesFocus || !ownerForm ||
                       (ownerForm->HandleAllocated() && (GetWindowLong(ownerForm->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST));
  SetWindowPos(Handle(), topMost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetModalResult(mrNone);
  DoShowed();
  if (*alive && FTakesFocus && ModalLoop) RunModalLoop();
}

void TcxCustomPopupWindow::RunModalLoop() {
  // The popup (or its owner) may be freed by any handler the loop runs; the
  // flag outlives it and ends the loop.
  auto alive = FAlive;
  while (*alive && Visible() && !Application->Terminated()) {
    MSG msg;
    if (PeekMessage(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE) &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_MENU || msg.wParam == VK_SPACE))
      PeekMessage(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
    if (!*alive) return;
    if (ModalResult() != mrNone) {
      if (CloseQuery())
        CloseOnModalResult();
      else if (*alive)
        SetModalResult(mrNone);
    }
    // Waiting for one more message after the popup went would hold the
    // caller until some unrelated input arrives.
    if (!*alive || !Visible()) return;
    Application->HandleMessage();
  }
}

void TcxCustomPopupWindow::ClosePopup() {
  auto& list = Shown();
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  auto alive = FAlive;
  DoClosing();
  if (!*alive) return;
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  Hide();
  DoClosed();
  if (*alive && CapturesMouse()) ReleaseCapture();
}

bool TcxCustomPopupWindow::CapturesMouse() {
  return HandleAllocated() && IsWindowOrInside(Handle(), GetCapture());
}

void TcxCustomPopupWindow::PostClosePopup(TcxCustomPopupWindow* APopup) {
  if (APopup && APopup->HandleAllocated()) PostMessage(APopup->Handle(), CM_CLOSEPOPUPWINDOW, 0, 0);
}

void TcxCustomPopupWindow::Reshow() {
  const bool wasShown = IsShown();
  TWinControl* focus = FFocusControl;
  if (wasShown) ClosePopup();
  if (HandleAllocated()) RecreateWnd();
  if (wasShown) PopupForControl(focus);
}

void TcxCustomPopupWindow::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl && FFocusControl != this) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (FFocusControl && FFocusControl != this) FFocusControl->FreeNotification(this);
}

void TcxCustomPopupWindow::SetTakesFocus(bool Value) {
  if (FTakesFocus == Value) return;
  FTakesFocus = Value;
  Reshow();
}

void TcxCustomPopupWindow::SetTopMostWithOwner(bool Value) {
  if (FTopMostWithOwner == Value) return;
  FTopMostWithOwner = Value;
  Reshow();
}

bool TcxCustomPopupWindow::Focused() {
  if (!IsShown() || !FTakesFocus || !HandleAllocated()) return false;
  return IsWindowInsideControl(this, GetFocus());
}

void TcxCustomPopupWindow::AdjustClientRect(TRect& Rect) { Rect = PopupViewInfo()->InnerControlRect; }

void TcxCustomPopupWindow::Paint() { PopupViewInfo()->DrawTo(cxCanvas()); }

void TcxCustomPopupWindow::CreateParams(TCreateParams& Params) {
  TcxPopupWindow::CreateParams(Params);
  if (FTakesFocus) {
    TForm* ownerForm = FOwnerControl ? GetParentForm(FOwnerControl) : nullptr;
    Params.WndParent = ownerForm ? ownerForm->Handle() : nullptr;
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
    if (FTopMostWithOwner &&
        (!ownerForm || (GetWindowLong(ownerForm->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST)))
      Params.ExStyle |= WS_EX_TOPMOST;
  } else {
    Params.Style = WS_CHILD;
    // The window layer makes a window non-activating by its extended style.
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    if (!Params.WndParent) Params.WndParent = GetSharedMessageWindow()->Handle();
  }
  Params.Style |= WS_CLIPCHILDREN;
}

void TcxCustomPopupWindow::CreateWnd() {
  // The hooks leave a popup alone while its window is being made.
  auto& list = Shown();
  const bool added = !Contains(list, this);
  if (added) list.push_back(this);
  ScopeExit unlist([&] {
    if (added) {
      auto& l = Shown();
      l.erase(std::remove(l.begin(), l.end(), this), l.end());
    }
  });
  TcxPopupWindow::CreateWnd();
  if (!FTakesFocus) win::SetParent(Handle(), nullptr);
}

void TcxCustomPopupWindow::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && IsShown() && CapturesMouse()) {
    ReleaseCapture();
    Key = 0;
    return;
  }
  TcxPopupWindow::KeyDown(Key, Shift);
}

void TcxCustomPopupWindow::Notification(TComponent* AComponent, TOperation Operation) {
  TcxPopupWindow::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FFocusControl) FFocusControl = nullptr;
  if (AComponent == FOwnerControl) {
    // A popup without its owner has nothing to drop down for.
    FOwnerControl = nullptr;
    ClosePopup();
  }
}

void TcxCustomPopupWindow::VisibilityChanged() {
  TcxPopupWindow::VisibilityChanged();
  // Hidden some other way than ClosePopup (closed as a form): it is no longer
  // shown, or it could never be shown again.
  if (!Visible() && IsShown()) {
    ClosePopup();
    return;
  }
  if (!FTakesFocus || !FOwnerControl || !HandleAllocated() || IsWindowVisible(Handle())) return;
  TForm* form = GetParentForm(FOwnerControl);
  if (!form || !form->HandleAllocated() || !IsWindowOrInside(form->Handle(), GetFocus())) return;
  auto* owner = dynamic_cast<TWinControl*>(FOwnerControl);
  if (owner && owner->CanFocus() && !form->ComponentState().Contains(csDesigning)) owner->SetFocus();
}

void TcxCustomPopupWindow::Deactivate() {
  // A popup on its way out loses the activation as it hides: nothing more
  // to close for it, and the scan of the outer call goes on undisturbed.
  if (ClosingByHook || !IsShown()) return;
  const HWND newActive = FNewActiveWindow;
  auto alive = FAlive;
  const TcxPopupWindowList snapshot = Shown();
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
    TcxCustomPopupWindow* popup = *it;
    if (!Contains(Shown(), popup)) continue;
    if (popup->HandleAllocated() && popup->Handle() == newActive) return;
    if (popup->HandleAllocated() && IsWindowEnabled(popup->Handle())) popup->ClosePopup();
  }
  if (*alive && !Shown().empty()) ClosePopup();
}

void TcxCustomPopupWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      if (LOWORD(Message.WParam) == WA_INACTIVE) {
        // Which popups close depends on where the activation went.
        TForm::WndProc(Message);
        FNewActiveWindow = reinterpret_cast<HWND>(Message.LParam);
        Deactivate();
        return;
      }
      break;
    case WM_ACTIVATEAPP: return;
    case WM_ERASEBKGND:
      if (!NeedsEraseBackground()) {
        Message.Result = 1;
        return;
      }
      break;
    case CM_CLOSEPOPUPWINDOW: {
      auto alive = FAlive;
      ClosingByHook = true;
      ClosePopup();
      if (!*alive) return;
      ClosingByHook = false;
      if (auto* owner = dynamic_cast<TWinControl*>(FOwnerControl); owner && owner->HandleAllocated())
        SendMessage(owner->Handle(), WM_SETFOCUS, 0, 0);
      return;
    }
    case CM_SHOWPOPUPWINDOW: PopupForControl(FFocusControl); return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      auto alive = FAlive;
      TcxPopupWindow::WndProc(Message);
      if (!*alive) return;
      TControl* control = Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this;
      if (Message.Msg == CM_MOUSEENTER)
        MouseEnterHook(control);
      else
        MouseLeaveHook(control);
      return;
    }
    default: break;
  }
  TcxPopupWindow::WndProc(Message);
}

// The hooks -------------------------------------------------------------------

struct PopupHookAccess {
  static TForm* OwnerForm(TcxCustomPopupWindow* APopup) {
    return APopup->FOwnerControl ? GetParentForm(APopup->FOwnerControl) : nullptr;
  }

  static bool OwnerGone(TcxCustomPopupWindow* APopup) {
    return !APopup->FOwnerControl || IsDestroying(APopup->FOwnerControl);
  }

  // Closes with the popup's own hook flag set (and the unit's mouse flag
  // when AFromMouse); the flags are put back even when the popup is freed.
  static void CloseByHook(TcxCustomPopupWindow* APopup, bool AFromMouse) {
    auto alive = APopup->FAlive;
    auto& state = HookState();
    const bool savedMouse = state.closingFromMouseHook;
    if (AFromMouse) state.closingFromMouseHook = true;
    ScopeExit restore([&] { state.closingFromMouseHook = savedMouse; });
    APopup->ClosingByHook = true;
    APopup->ClosePopup();
    if (*alive) APopup->ClosingByHook = false;
  }

  static LRESULT KeepCaptionActive(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& kept = HookState().keptActiveCaptions;
    auto it = kept.find(hwnd);
    if (it == kept.end()) return DefWindowProc(hwnd, msg, wParam, lParam);
    SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second));
    kept.erase(it);
    return TRUE;
  }

  static void WindowClosing(HWND AWnd) {
    const TcxPopupWindowList snapshot = Shown();
    for (TcxCustomPopupWindow* popup : snapshot) {
      if (popup->FBeingDestroyed || !Contains(Shown(), popup)) continue;
      if (popup->HandleAllocated() && popup->Handle() == AWnd) {
        auto alive = popup->FAlive;
        popup->Close();
        if (*alive && !Contains(Shown(), popup) && popup->FTakesFocus && !OwnerGone(popup)) {
          TForm* form = OwnerForm(popup);
          if (form && form->HandleAllocated()) SendMessage(form->Handle(), WM_CLOSE, 0, 0);
        }
        return;
      }
      if (!popup->FTakesFocus) {
        TForm* form = OwnerForm(popup);
        if (!form || !form->HandleAllocated() || form->Handle() == AWnd) popup->ClosePopup();
        return;
      }
    }
  }

  static void WindowHidden(HWND AWnd) {
    auto& list = Shown();
    Integer found = -1;
    for (Integer i = static_cast<Integer>(list.size()) - 1; i >= 0 && found < 0; --i) {
      TcxCustomPopupWindow* popup = list[static_cast<size_t>(i)];
      auto* owner = dynamic_cast<TWinControl*>(popup->FOwnerControl);
      if (!popup->FBeingDestroyed && owner && !IsDestroying(owner) && owner->HandleAllocated() &&
          owner->Handle() == AWnd)
        found = i;
    }
    if (found < 0) return;
    const TcxPopupWindowList doomed(list.begin() + found, list.end());
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it)
      if (Contains(Shown(), *it)) (*it)->ClosePopup();
  }

  static void ApplicationDeactivated() {
    for (TcxCustomPopupWindow* popup : Shown())
      if (TForm* form = OwnerForm(popup); form && form->HandleAllocated())
        PostMessage(form->Handle(), WM_NCACTIVATE, FALSE, 0);
    for (bool closed = true; closed;) {
      closed = false;
      for (TcxCustomPopupWindow* popup : Shown()) {
        if (!popup->HandleAllocated() || !IsWindowEnabled(popup->Handle())) continue;
        if (popup->FTakesFocus && GetActiveWindow() == popup->Handle()) continue;
        auto* container = dynamic_cast<TcxContainer*>(popup->FOwnerControl);
        popup->ClosePopup();
        if (container && !container->IsBeingDestroyed()) ContainerFocusAccess::FocusChangedOf(container);
        closed = true;
        break;
      }
    }
  }

  static void OwnerMoved(HWND AWnd) {
    for (bool closed = true; closed;) {
      closed = false;
      for (TcxCustomPopupWindow* popup : Shown()) {
        auto* owner = dynamic_cast<TWinControl*>(popup->FOwnerControl);
        if (popup->FBeingDestroyed || !popup->HandleAllocated() || !owner || IsDestroying(owner) ||
            !owner->HandleAllocated() || owner->Handle() != AWnd || IsWindowVisible(AWnd))
          continue;
        popup->ClosePopup();
        closed = true;
        break;
      }
    }
  }

  static void CaptionDeactivating(HWND AWnd) {
    auto& state = HookState();
    if (state.keptActiveCaptions.count(AWnd)) return;
    bool keep = state.closingFromMouseHook;
    for (TcxCustomPopupWindow* popup : Shown()) {
      if (keep) break;
      TForm* form = OwnerForm(popup);
      keep = form && form->HandleAllocated() && form->Handle() == AWnd;
    }
    if (!keep) return;
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtr(AWnd, GWLP_WNDPROC));
    state.keptActiveCaptions[AWnd] = previous;
    SetWindowLongPtr(AWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeepCaptionActive));
  }

  static void MessageAboutToBeDelivered(const CWPSTRUCT& cwp) {
    switch (cwp.message) {
      case WM_DESTROY: {
        for (TcxCustomPopupWindow* popup : Shown())
          if (!popup->FBeingDestroyed && popup->HandleAllocated() && popup->Handle() == cwp.hwnd) {
            popup->Close();
            break;
          }
        break;
      }
      case WM_CLOSE: WindowClosing(cwp.hwnd); break;
      case WM_SHOWWINDOW:
        if (!cwp.wParam) WindowHidden(cwp.hwnd);
        break;
      case WM_ACTIVATEAPP:
        if (!cwp.wParam) ApplicationDeactivated();
        break;
      case WM_WINDOWPOSCHANGED: OwnerMoved(cwp.hwnd); break;
      case WM_NCACTIVATE:
        if (!cwp.wParam) CaptionDeactivating(cwp.hwnd);
        break;
      default: break;
    }
  }

  static void SystemKeyTaken(MSG& AMsg) {
    TcxCustomPopupWindow* last = Shown().back();
    if ((!last->FTakesFocus || !last->ModalLoop) && !last->IsDropDownNavigationKey(static_cast<Word>(AMsg.wParam)))
      AMsg.message = WM_NULL;
  }

  static bool IsMDIArea(TForm* AChild, HWND AWnd) {
    auto* frame = dynamic_cast<TForm*>(Application->MainForm());
    if (!frame || frame->FormStyle() != fsMDIForm || !frame->HandleAllocated()) return false;
    if (AWnd == frame->Handle() || AWnd == frame->ClientHandle()) return true;
    // Another child, or a window inside one.
    HWND client = frame->ClientHandle();
    return client && IsChild(client, AWnd) && !IsWindowOrInside(HandleIfAllocated(AChild), AWnd);
  }

  // Whether the click is to be thrown away.
  static bool ClickTaken(HWND AWnd, UINT AMsg, POINT APoint) {
    bool discard = false;
    for (bool restart = true; restart;) {
      restart = false;
      const TcxPopupWindowList snapshot = Shown();
      for (TcxCustomPopupWindow* popup : snapshot) {
        if (!Contains(Shown(), popup)) continue;
        if (popup->FTakesFocus && (!popup->HandleAllocated() || GetActiveWindow() != popup->Handle())) continue;
        if (IsWindowOrInside(HandleIfAllocated(popup), AWnd)) continue;
        TControl* owner = popup->FOwnerControl;
        TForm* ownerForm = OwnerForm(popup);
        auto* ownerFormPopup = dynamic_cast<TcxCustomPopupWindow*>(ownerForm);
        if ((owner && IsRelatedToControl(owner, AWnd)) || (ownerFormPopup && !ownerFormPopup->IsShown())) {
          bool ownerClick = false;
          auto* ownerWin = dynamic_cast<TWinControl*>(owner);
          if ((AMsg == WM_LBUTTONDOWN || AMsg == WM_LBUTTONDBLCLK) && ownerWin && IsWindowInsideControl(ownerWin, AWnd)) {
            TRect bounds = popup->AnchorRect;
            if (popup->AnchorControl) {
              const TPoint a = popup->AnchorControl->ClientToScreen(bounds.TopLeft());
              const TPoint b = popup->AnchorControl->ClientToScreen(bounds.BottomRight());
              bounds = {a.X, a.Y, b.X, b.Y};
            }
            if (cxRectPtIn(bounds, TPoint{APoint.x, APoint.y})) {
              popup->ClosedByOwnerClick = true;
              ownerClick = true;
            }
          }
          auto alive = popup->FAlive;
          CloseByHook(popup, true);
          if (ownerClick) {
            // The click is the owner's only while the owner is still there to take it.
            TControl* now = *alive ? popup->FOwnerControl : nullptr;
            if (!now || IsDestroying(now) || !now->Visible()) discard = true;
          }
          restart = true;
          break;
        }
        if (ownerForm && ownerForm->FormStyle() == fsMDIChild && IsMDIArea(ownerForm, AWnd)) {
          CloseByHook(popup, true);
          restart = true;
          break;
        }
      }
    }
    return discard;
  }

  static LRESULT CallWndProcHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && !Shown().empty()) MessageAboutToBeDelivered(*reinterpret_cast<CWPSTRUCT*>(lParam));
    return CallNextHookEx(HookState().callWndProcHook, code, wParam, lParam);
  }

  static LRESULT GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && !Shown().empty()) {
      MSG& msg = *reinterpret_cast<MSG*>(lParam);
      if (msg.message == WM_SYSKEYDOWN) SystemKeyTaken(msg);
    }
    return CallNextHookEx(HookState().getMessageHook, code, wParam, lParam);
  }

  static LRESULT MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    bool discard = false;
    const UINT msg = static_cast<UINT>(wParam);
    if (code == HC_ACTION && !Shown().empty() &&
        (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK)) {
      const auto& mh = *reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
      discard = ClickTaken(mh.hwnd, msg, mh.pt);
    }
    const LRESULT next = CallNextHookEx(HookState().mouseHook, code, wParam, lParam);
    return discard ? 1 : next;
  }
};

void InstallPopupWindowHooks() {
  auto& state = HookState();
  if (state.callWndProcHook) return;
  state.callWndProcHook = SetWindowsHookEx(WH_CALLWNDPROC, &PopupHookAccess::CallWndProcHook, nullptr, 0);
  state.getMessageHook = SetWindowsHookEx(WH_GETMESSAGE, &PopupHookAccess::GetMessageHook, nullptr, 0);
  state.mouseHook = SetWindowsHookEx(WH_MOUSE, &PopupHookAccess::MouseHook, nullptr, 0);
}

void RemovePopupWindowHooks() {
  auto& state = HookState();
  for (HHOOK* hook : {&state.callWndProcHook, &state.getMessageHook, &state.mouseHook}) {
    if (*hook) UnhookWindowsHookEx(*hook);
    *hook = nullptr;
  }
}

void RegisterCustomPopupWindowClasses() { RegisterClasses({TcxCustomPopupWindow::StaticClass()}); }
