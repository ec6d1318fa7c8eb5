#include "platform/forms/CustomForms.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/ModalCloseQuery.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/MenuWindows.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/MdiClient.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "platform/rtl/OwnedObject.h"
#include "platform/rtl/ScopeExit.h"

using namespace win;

namespace {
std::vector<TForm*> ChildrenOf(HWND client) {
  std::vector<TForm*> out;
  if (!client) return out;
  for (HWND w = GetWindow(client, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (auto* f = dynamic_cast<TForm*>(FindControl(w))) out.push_back(f);
  return out;
}

TForm* ActiveChildOf(HWND client) {
  if (!client) return nullptr;
  return dynamic_cast<TForm*>(FindControl(reinterpret_cast<HWND>(SendMessage(client, WM_MDIGETACTIVE, 0, 0))));
}
}  // namespace

VXN_IMPLEMENT_CLASS(TCustomForm, TScrollingWinControl)

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner), Canvas_(std::make_unique<TCanvas>()) {
  FloatingDockSiteClass = TCustomForm::StaticClass();  // a form floats as itself
}

// The window goes while the canvas that may still hold its DC exists.
TCustomForm::~TCustomForm() { DestroyHandle(); }

void TCustomForm::PaintWindow(HDC DC) {
  Canvas_->SetHandle(DC);
  ControlState += csCustomPaint;
  ScopeExit painted([this] {
    ControlState -= csCustomPaint;
    Canvas_->SetHandle(nullptr);
  });
  Paint();
}
VXN_IMPLEMENT_CREATABLE_CLASS(TForm, TCustomForm)
VXN_PUBLISH(TForm) {
  P.Property("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
  P.Property("AlphaBlend", &TForm::AlphaBlend).Default(false);
  P.Property("AlphaBlendValue", &TForm::AlphaBlendValue).Default(255);
  P.Property("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons);
  P.Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
  P.Property("ClientHeight", [](TForm& F) { return F.ClientHeight(); }, &TForm::SetClientHeightProp);
  P.Property("ClientWidth", [](TForm& F) { return F.ClientWidth(); }, &TForm::SetClientWidthProp);
  P.Property("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle).Default(fsNormal);
  P.Property("KeyPreview", &TForm::KeyPreview).Default(false);
  P.Property("Menu", &TForm::Menu, &TForm::SetMenu);
  P.Property("Position", &TForm::Position, &TForm::SetPosition).Default(poDesigned);
  P.Property("TransparentColor", &TForm::TransparentColor).Default(false);
  P.Property("TransparentColorValue", &TForm::TransparentColorValue).Type(TypeInfoColor()).Default(clBlack);
  P.Property("WindowMenu", &TForm::WindowMenu, &TForm::SetWindowMenu);
  P.Property("WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal);
  P.Event("OnActivate", &TForm::OnActivate);
  P.Event("OnClose", &TForm::OnClose);
  P.Event("OnCloseQuery", &TForm::OnCloseQuery);
  P.Event("OnCreate", &TForm::OnCreate);
  P.Event("OnDeactivate", &TForm::OnDeactivate);
  P.Event("OnDestroy", &TForm::OnDestroy);
  P.Event("OnHide", &TForm::OnHide);
  P.Event("OnPaint", &TForm::OnPaint);
  P.Event("OnShow", &TForm::OnShow);
}

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {
  ControlStyle += csAcceptsControls;
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  if (Screen) Screen->AddForm(this);
}

void TForm::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomForm::AlignControls(AControl, Rect);
  if (ClientHandle_)
    MoveWindow(ClientHandle_, Rect.Left, Rect.Top, std::max(0, Rect.Right - Rect.Left),
               std::max(0, Rect.Bottom - Rect.Top), TRUE);
}

void TForm::GetChildren(TGetChildProc Proc, TComponent* Root) {
  if (Root == this)
    for (Integer i = 0; i < ComponentCount(); ++i)
      if (TComponent* c = Components(i); !c->HasParent()) Proc(c);
  TCustomForm::GetChildren(Proc, Root);
}

TForm::~TForm() {
  if (Created_) {
    try {
      OnDestroy(this);
    } catch (...) {
      if (Application) Application->HandleException(this);
    }
  }
  if (Screen) Screen->RemoveForm(this);
  HWND client = FormStyle_ == fsMDIChild && HandleAllocated() ? GetParent(Handle()) : nullptr;
  bool wasActive = client && ActiveChildOf(client) == this;
  DestroyHandle();
  if (wasActive) {
    if (HWND next = GetWindow(client, GW_CHILD)) SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(next), 0);
    else if (TForm* frame = MDIFrame()) frame->UpdateFrameCaption();
  }
}

void TForm::AfterConstruction() {
  if (Created_) return;
  if (ClassType() != TForm::StaticClass() && !InitInheritedComponent(this, TForm::StaticClass()))
    throw EResNotFound(Format(SResNotFound, {ClassName()}));
  Created_ = true;
  try {
    OnCreate(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
  if (FormStyle_ == fsMDIChild) Show();  // MDI children appear as they are made
}

TForm* CreateForm(TClass InstanceClass, TComponent* AOwner) {
  OwnedObject<TComponent> made(CreateComponent(InstanceClass, AOwner));
  auto* form = dynamic_cast<TForm*>(made.get());
  if (!form) throw EInvalidOperation(Format("%s is not a form", {InstanceClass->Name}));
  form->AfterConstruction();
  made.release();
  return form;
}

TForm* GetParentForm(TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TForm*>(Control);
}

void TForm::CreateParams(TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  // A form docked into another control is a plain child window there.
  if (Parent()) return;
  Params.Style &= ~(WS_CHILD | WS_VISIBLE);
  Params.WndParent = nullptr;
  DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  DWORD ex = 0;
  switch (BorderStyle_) {
    case bsNone: break;
    case bsSingle:
    case bsToolWindow: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      style |= WS_CAPTION;
      ex |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (BorderStyle_ == bsToolWindow || BorderStyle_ == bsSizeToolWin) ex |= WS_EX_TOOLWINDOW;
  if (BorderStyle_ != bsNone && BorderIcons_.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    // Dialogs and tool windows have no minimise and maximise boxes.
    if (BorderStyle_ != bsDialog && BorderStyle_ != bsToolWindow && BorderStyle_ != bsSizeToolWin) {
      if (BorderIcons_.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
      if (BorderIcons_.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    }
    if (BorderIcons_.Contains(biHelp)) ex |= WS_EX_CONTEXTHELP;
  }
  if (FormStyle_ == fsStayOnTop) ex |= WS_EX_TOPMOST;
  Params.Style |= style;
  Params.ExStyle |= ex;
  if (FormStyle_ == fsMDIChild) {
    TForm* frame = MDIFrame();
    if (!frame) throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    frame->HandleNeeded();
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                   WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    Params.ExStyle = WS_EX_MDICHILD;
    Params.WndParent = frame->ClientHandle_;
  }
}

void TForm::CreateWnd() {
  TCustomForm::CreateWnd();
  if (Application && !Application->Icon()->Empty())
    SendMessage(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Application->Icon()->Handle()));
  if (FormStyle_ == fsMDIForm) {
    RegisterMdiClientClass();
    RECT r;
    win::GetClientRect(Handle(), &r);
    ClientHandle_ = CreateWindowEx(0, kMdiClientClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                   r.right, r.bottom, Handle(), nullptr, nullptr, nullptr);
    Realign();  // fit it into what the aligned bars leave
  }
  if (Visible()) ShowWindow(Handle(), SW_SHOW);
}

MINMAXINFO TForm::MDIMaximizedPlace() { return MdiMaximizedPlace(HandleAllocated() ? Handle() : nullptr); }

TForm* TForm::MDIFrame() const {
  auto* frame = Application ? dynamic_cast<TForm*>(Application->MainForm()) : nullptr;
  return frame && frame->FormStyle_ == fsMDIForm ? frame : nullptr;
}

Integer TForm::MDIChildCount() const { return static_cast<Integer>(ChildrenOf(ClientHandle_).size()); }

TForm* TForm::MDIChildren(Integer Index) const {
  // Most recently activated first: the active child, then the z-order.
  std::vector<TForm*> list = ChildrenOf(ClientHandle_);
  if (TForm* active = ActiveChildOf(ClientHandle_)) {
    list.erase(std::remove(list.begin(), list.end(), active), list.end());
    list.insert(list.begin(), active);
  }
  return Index >= 0 && Index < static_cast<Integer>(list.size()) ? list[static_cast<size_t>(Index)] : nullptr;
}

TForm* TForm::ActiveMDIChild() const { return ActiveChildOf(ClientHandle_); }

void TForm::Cascade() {
  if (ClientHandle_) SendMessage(ClientHandle_, WM_MDICASCADE, 0, 0);
}
void TForm::Tile() {
  if (ClientHandle_)
    SendMessage(ClientHandle_, WM_MDITILE, TileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}
void TForm::ArrangeIcons() {
  if (ClientHandle_) SendMessage(ClientHandle_, WM_MDIICONARRANGE, 0, 0);
}
void TForm::Next() {
  if (ClientHandle_) SendMessage(ClientHandle_, WM_MDINEXT, 0, 0);
}
void TForm::Previous() {
  if (ClientHandle_) SendMessage(ClientHandle_, WM_MDINEXT, 0, 1);
}

// A maximised active child lends its caption to the frame, and its icon and
// caption buttons to the frame's menu bar.
void TForm::UpdateFrameCaption() {
  TForm* active = ActiveChildOf(ClientHandle_);
  bool maximized = active && active->WindowState_ == wsMaximized && active->HandleAllocated();
  if (HandleAllocated()) SetMenuBarDocument(Handle(), maximized ? active->Handle() : nullptr);
  std::string caption = FrameCaption_.empty() ? Caption() : FrameCaption_;
  if (active && active->WindowState_ == wsMaximized) {
    if (FrameCaption_.empty()) FrameCaption_ = Caption();
    SetCaption(FrameCaption_ + " - [" + active->Caption() + "]");
  } else if (!FrameCaption_.empty()) {
    SetCaption(FrameCaption_);
    FrameCaption_.clear();
  }
}

void TForm::SetMenu(TMainMenu* Value) {
  if (ComponentState().Contains(csLoading)) {
    // A reference read from the form file: the bar is attached once the
    // whole form is in (Loaded), before the menus' own Loaded run.
    MenuAttached(Value);
    return;
  }
  if (Value)
    Value->AttachToForm(this);
  else if (Menu_ && Menu_->Form() == this)
    Menu_->AttachToForm(nullptr);
  else
    MenuAttached(nullptr);
}

void TForm::MenuAttached(TMainMenu* Value) {
  if (Menu_ != Value) {
    if (Menu_) Menu_->RemoveFreeNotification(this);
    Menu_ = Value;
    if (Menu_) Menu_->FreeNotification(this);
  }
  if (Menu_ && WindowMenu_ && !ComponentState().Contains(csLoading)) Menu_->SetWindowMenu(WindowMenu_);
}

void TForm::SetWindowMenu(TMenuItem* Value) {
  if (WindowMenu_ == Value) return;
  if (WindowMenu_) WindowMenu_->RemoveFreeNotification(this);
  WindowMenu_ = Value;
  if (WindowMenu_) WindowMenu_->FreeNotification(this);
  if (Menu_ && !ComponentState().Contains(csLoading)) Menu_->SetWindowMenu(WindowMenu_);
}

void TForm::SetClientWidthProp(Integer Value) {
  if (ComponentState().Contains(csLoading))
    LoadedClientWidth_ = Value;
  else
    SetClientWidth(Value);
}

void TForm::SetClientHeightProp(Integer Value) {
  if (ComponentState().Contains(csLoading))
    LoadedClientHeight_ = Value;
  else
    SetClientHeight(Value);
}

void TForm::Loaded() {
  TCustomForm::Loaded();
  if (LoadedClientWidth_ >= 0 || LoadedClientHeight_ >= 0) {
    HandleNeeded();
    SetClientSize(LoadedClientWidth_ >= 0 ? LoadedClientWidth_ : ClientWidth(),
                  LoadedClientHeight_ >= 0 ? LoadedClientHeight_ : ClientHeight());
    LoadedClientWidth_ = LoadedClientHeight_ = -1;
  }
  if (Menu_ && Menu_->Form() != this) Menu_->AttachToForm(this);
  if (Menu_ && WindowMenu_) Menu_->SetWindowMenu(WindowMenu_);
}

void TForm::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomForm::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (AComponent == Menu_) Menu_ = nullptr;
  if (AComponent == WindowMenu_) WindowMenu_ = nullptr;
}

void TForm::SetBorderStyle(TFormBorderStyle Value) {
  if (Value == BorderStyle_) return;
  BorderStyle_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TForm::SetBorderIcons(TBorderIcons Value) {
  if (Value == BorderIcons_) return;
  BorderIcons_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TForm::SetWindowState(TWindowState Value) {
  if (Value == WindowState_) return;
  WindowState_ = Value;
  // MDI children change state inside the client window the same way; the
  // state follows WM_SIZE from here on.
  if (HandleAllocated() && Visible()) {
    static constexpr int kShow[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
    ShowWindow(Handle(), kShow[Value]);
  }
  if (FormStyle_ == fsMDIChild)
    if (TForm* frame = MDIFrame()) frame->UpdateFrameCaption();
}

void TForm::ActivateMDIChild() {
  if (FormStyle_ != fsMDIChild || !HandleAllocated()) return;
  HWND client = GetParent(Handle());
  if (ActiveChildOf(client) != this) SendMessage(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Handle()), 0);
}

void TForm::SetFocusedControl(TWinControl* Control) {
  if (!Control || GetParentForm(Control) != this) return;
  if (Control != this) ActiveControl_ = Control;
  // The focus moving into an MDI child makes it the active child.
  ActivateMDIChild();
}

namespace {

bool Holds(TWinControl* Outer, TWinControl* Inner) {
  for (TWinControl* c = Inner; c; c = c->Parent())
    if (c == Outer) return true;
  return false;
}

}  // namespace

TWinControl* TForm::ExitUpTo(TWinControl* From, TWinControl* Next) {
  for (TWinControl* c = From; c && c != this; c = c->Parent()) {
    if (Next && Holds(c, Next)) return c;
    c->Perform(CM_EXIT, 0, 0);
  }
  return nullptr;
}

bool TForm::FocusEntering(TWinControl* Control) {
  if (EnteredControl_ == Control) return false;
  TWinControl* left = std::exchange(EnteredControl_, Control);
  TWinControl* common = left ? ExitUpTo(left, Control) : nullptr;
  // The focus came back from a child of Control: Control never left.
  if (common == Control) return false;
  std::vector<TWinControl*> parents;
  for (TWinControl* p = Control->Parent(); p && p != this && p != common; p = p->Parent()) parents.push_back(p);
  for (auto it = parents.rbegin(); it != parents.rend(); ++it) (*it)->Perform(CM_ENTER, 0, 0);
  return true;
}

bool TForm::FocusLeaving(TWinControl* Control, HWND NewFocus) {
  TWinControl* next = nullptr;
  for (HWND w = NewFocus; w && !next; w = GetParent(w)) next = FindControl(w);
  // Into a child of its own the focus stays inside Control.
  if (next == Control || !next || GetParentForm(next) != this || Holds(Control, next)) return false;
  const bool wasEntered = EnteredControl_ == Control;
  if (wasEntered) EnteredControl_ = nullptr;
  TWinControl* common = ExitUpTo(Control, next);
  // The parent that still holds the focus stays entered.
  if (wasEntered && !EnteredControl_) EnteredControl_ = common;
  return false;
}

void TForm::ControlDestroyed(TControl* Control) {
  if (ActiveControl_ == Control) ActiveControl_ = nullptr;
  if (EnteredControl_ == Control) EnteredControl_ = nullptr;
}

TRect TForm::GetClientRect() const {
  if (HandleAllocated() || FormStyle_ == fsMDIChild) return TCustomForm::GetClientRect();
  // No window yet: the frame it will have, and its menu bar, are left out
  // already, so that a client size set now is the client size shown.
  TCreateParams params;
  const_cast<TForm*>(this)->CreateParams(params);  // only fills in the parameters
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, params.Style, Menu_ && Menu_->Items()->Count() > 0, params.ExStyle);
  return {0, 0, std::max<Integer>(0, Width() - (frame.right - frame.left)),
          std::max<Integer>(0, Height() - (frame.bottom - frame.top))};
}

void TForm::SetActiveControl(TWinControl* Value) {
  if (Value == ActiveControl_) return;
  if (Value && (Value == this || GetParentForm(Value) != this))
    throw EInvalidOperation("Invalid activation of a control that is not on the form");
  ActiveControl_ = Value;
  if (Value && Visible() && HandleAllocated() && Value->CanFocus()) Value->SetFocus();
}

void TForm::PlaceOnShow() {
  if (Placed_) return;
  Placed_ = true;
  SIZE screen = GetScreenSize();
  TForm* centre = nullptr;
  if (Position_ == poMainFormCenter && Application) centre = dynamic_cast<TForm*>(Application->MainForm());
  if (Position_ == poOwnerFormCenter) centre = dynamic_cast<TForm*>(Owner());
  if (centre == this) centre = nullptr;
  if (centre) {
    SetBounds(centre->Left() + (centre->Width() - Width()) / 2, centre->Top() + (centre->Height() - Height()) / 2,
              Width(), Height());
  } else if (Position_ == poScreenCenter || Position_ == poDesktopCenter || Position_ == poMainFormCenter ||
             Position_ == poOwnerFormCenter) {
    SetBounds((screen.cx - Width()) / 2, (screen.cy - Height()) / 2, Width(), Height());
  }
}

void TForm::DoShow() {
  try {
    OnShow(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TForm::DoHide() {
  try {
    OnHide(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TForm::Show() {
  if (Visible()) {
    if (HandleAllocated()) BringWindowToTop(Handle());
    return;
  }
  PlaceOnShow();
  DoShow();
  SetVisible(true);
  HandleNeeded();
  if (FormStyle_ == fsMDIChild) {
    ShowWindow(Handle(), WindowState_ == wsMaximized   ? SW_MAXIMIZE
                         : WindowState_ == wsMinimized ? SW_MINIMIZE
                                                       : SW_SHOW);
    SendMessage(GetParent(Handle()), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Handle()), 0);
    return;
  }
  ShowWindow(Handle(), WindowState_ == wsMaximized   ? SW_MAXIMIZE
                       : WindowState_ == wsMinimized ? SW_MINIMIZE
                                                     : SW_SHOW);
  if (ActiveControl_ && ActiveControl_->CanFocus())
    ActiveControl_->SetFocus();
  else
    SelectFirst();
}

void TForm::Hide() {
  if (!Visible()) return;
  DoHide();
  SetVisible(false);
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

bool TForm::CloseQuery() {
  if (Modal_ && ModalResult_ != mrCancel)
    for (TWinControl* c = ActiveControl_; c && c != this; c = c->Parent())
      if (c->Perform(CM_QUERYMODALCLOSE, 0, 0) != 0) return false;
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::DoClose(TCloseAction& Action) { OnClose(this, Action); }

void TForm::Close() {
  if (Modal_) {
    // A modal form closes through its loop.
    ModalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  // A closed MDI child is minimised unless OnClose says otherwise.
  TCloseAction action = FormStyle_ != fsMDIChild ? caHide : BorderIcons_.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(action);
  if (action == caNone) return;
  // The main form closing, however it is asked to, ends the program.
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caNone: break;
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
  }
}

namespace {
BOOL CollectEnabled(HWND hwnd, LPARAM lParam) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
  return TRUE;
}
}  // namespace

TModalResult TForm::ShowModal() {
  if (Visible() || !Enabled() || Modal_) throw EInvalidOperation(SCannotShowModal);
  if (GetCapture()) ReleaseCapture();
  HWND previouslyActive = GetActiveWindow();
  // Every other window of the application waits while the form is up.
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
  for (HWND w : disabled) EnableWindow(w, FALSE);
  Modal_ = true;
  ModalResult_ = mrNone;
  // However the loop ends, the other windows work again and the one that
  // was active before gets the activation (and its focus) back.
  ScopeExit ended([&] {
    Modal_ = false;
    for (HWND w : disabled)
      if (IsWindow(w)) EnableWindow(w, TRUE);
    Hide();
    if (previouslyActive && IsWindow(previouslyActive) && IsWindowVisible(previouslyActive))
      SetActiveWindow(previouslyActive);
  });
  Show();
  while (true) {
    Application->HandleMessage();
    if (Application->Terminated()) ModalResult_ = mrCancel;
    if (ModalResult_ == mrNone) continue;
    // Asked to close: the form may still refuse.
    TCloseAction action = caHide;
    if (CloseQuery()) {
      DoClose(action);
      if (action != caNone) break;
    }
    ModalResult_ = mrNone;
  }
  return ModalResult_;
}

void TForm::Release() {
  HandleNeeded();
  PostMessage(Handle(), CM_RELEASE, 0, 0);
}

void TForm::Paint() {
  try {
    OnPaint(this);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TForm::CMDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) < 0) {
    TCustomForm::CMDialogKey(Message);
    return;
  }
  // The control with the focus, when it is one of ours; the remembered
  // ActiveControl otherwise (the focus may be on a window we do not know).
  TWinControl* current = FindControl(GetFocus());
  if (!current || current == this || GetParentForm(current) != this) current = ActiveControl_;
  switch (Message.WParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) >= 0) {
        SelectNext(current, GetKeyState(VK_SHIFT) >= 0, true);
        Message.Result = 1;
        return;
      }
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (current && current->Parent()) {
        current->Parent()->SelectNext(current, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
        Message.Result = 1;
      }
      return;
  }
  TCustomForm::CMDialogKey(Message);
}

namespace {

// A handler that raises goes to the application, not through the window
// procedure that delivered the activation.
void NotifyActivation(TForm* Form, bool Active) {
  try {
    if (Active)
      Form->OnActivate(Form);
    else
      Form->OnDeactivate(Form);
  } catch (...) {
    if (Application) Application->HandleException(Form);
  }
}

}  // namespace

void TForm::WndProc(TMessage& Message) {
  if (Message.Msg == CM_RELEASE) {
    Free();
    return;
  }
  if (Message.Msg == WM_CLOSE) {
    Close();
    return;
  }
  if (Message.Msg == WM_MDIACTIVATE && FormStyle_ == fsMDIChild) {
    const bool activated = reinterpret_cast<HWND>(Message.LParam) == Handle();
    NotifyActivation(this, activated);
    // The frame's caption and menu bar follow the active child.
    if (activated)
      if (TForm* frame = MDIFrame()) frame->UpdateFrameCaption();
    return;
  }
  if (FormStyle_ == fsMDIChild) {
    switch (Message.Msg) {
      case WM_NCLBUTTONDOWN:
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
        ActivateMDIChild();  // a press anywhere on the child
        break;
      case WM_GETMINMAXINFO: {
        // Maximised, the child's frame and caption lie outside the client
        // window; its buttons show in the frame's menu bar instead.
        MINMAXINFO place = MDIMaximizedPlace();
        auto* mm = reinterpret_cast<MINMAXINFO*>(Message.LParam);
        mm->ptMaxPosition = place.ptMaxPosition;
        mm->ptMaxSize = place.ptMaxSize;
        Message.Result = 0;
        return;
      }
      case WM_SYSCOMMAND:
        if ((Message.WParam & 0xFFF0) == SC_NEXTWINDOW || (Message.WParam & 0xFFF0) == SC_PREVWINDOW) {
          if (TForm* frame = MDIFrame())
            (Message.WParam & 0xFFF0) == SC_NEXTWINDOW ? frame->Next() : frame->Previous();
          return;
        }
        break;
      default: break;
    }
  }
  if (Message.Msg == WM_SYSCOMMAND && ClientHandle_ && (Message.WParam & 0xFFF0) == SC_KEYMENU &&
      Message.LParam == '-') {
    // Alt+- is the active child's system menu.
    if (TForm* child = ActiveMDIChild(); child && child->HandleAllocated())
      SendMessage(child->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    return;
  }
  if (Message.Msg == WM_NCACTIVATE && ClientHandle_) {
    // The active child's caption shows active only while the frame is.
    if (TForm* child = ActiveMDIChild(); child && child->HandleAllocated())
      SendMessage(child->Handle(), WM_NCACTIVATE, Message.WParam, 0);
  }
  if (Message.Msg == WM_SIZE && ClientHandle_) {
    TCustomForm::WndProc(Message);
    Realign();
    return;
  }
  if (Message.Msg == WM_ACTIVATE) {
    bool active = LOWORD(static_cast<uintptr_t>(Message.WParam)) != WA_INACTIVE;
    if (active && Screen) Screen->SetActiveForm(this);
    NotifyActivation(this, active);
  }
  if (Message.Msg == WM_SETFOCUS && ClientHandle_ && IsWindowEnabled(Handle())) {
    // A frame given the focus hands it to its active child, which hands it
    // on to its own control.
    if (TForm* child = ActiveMDIChild(); child && child->HandleAllocated() && IsWindowVisible(child->Handle()) &&
                                         IsWindowEnabled(child->Handle())) {
      ::win::SetFocus(child->Handle());
      return;
    }
  }
  if (Message.Msg == WM_SETFOCUS && FormStyle_ == fsMDIChild && !(ActiveControl_ && ActiveControl_->CanFocus())) {
    // A child activated before any of its controls had the focus starts at
    // the first one, as a form being shown does.
    TCustomForm::WndProc(Message);
    SelectFirst();
    return;
  }
  if (Message.Msg == WM_SETFOCUS && ActiveControl_ && ActiveControl_->CanFocus() && HandleAllocated() &&
      IsWindowEnabled(Handle())) {
    // The form given the focus (activated again after a modal form, after
    // another program) hands it to the control that had it.
    ActiveControl_->SetFocus();
    return;
  }
  if (Message.Msg == WM_SIZE && HandleAllocated() && IsWindowVisible(Handle())) {
    // Maximised, minimised or restored by the caption's buttons, a double
    // click or the system menu: the state follows.
    TWindowState was = WindowState_;
    switch (Message.WParam) {
      case SIZE_MAXIMIZED: WindowState_ = wsMaximized; break;
      case SIZE_MINIMIZED: WindowState_ = wsMinimized; break;
      case SIZE_RESTORED: WindowState_ = wsNormal; break;
      default: break;
    }
    if (FormStyle_ == fsMDIChild && was != WindowState_)
      if (TForm* frame = MDIFrame()) frame->UpdateFrameCaption();
  }
  TCustomForm::WndProc(Message);
}

void RegisterCustomFormsClasses() {
  RegisterClasses({TForm::StaticClass()});
}
