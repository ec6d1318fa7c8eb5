// Forms: top-level windows made from their form files, shown modeless or
// modal, closed through OnCloseQuery and OnClose.
#pragma once

#include <memory>
#include <string>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/StaticCtrls.h"

VXN_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
VXN_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
         poMainFormCenter, poOwnerFormCenter)
VXN_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
VXN_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
VXN_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
VXN_ENUM(TTileMode, tbHorizontal, tbVertical)

using TCloseEvent = TDelegate<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TDelegate<void(TObject* Sender, bool& CanClose)>;

inline constexpr const char* SCannotShowModal = "Cannot make a visible window modal";

class TMainMenu;
class TMenuItem;

// The base class of forms: a top-level window painted through its canvas.
class TCustomForm : public TScrollingWinControl {
  VXN_DECLARE_CLASS(TCustomForm)

 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  TCanvas* Canvas() const { return Canvas_.get(); }

 protected:
  virtual void Paint() {}
  void PaintWindow(win::HDC DC) override;

 private:
  std::unique_ptr<TCanvas> Canvas_;
};

class TForm : public TCustomForm {
  VXN_DECLARE_CLASS(TForm)

 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  // The components a form file lists under the form: first the non-visual
  // ones the form owns (menus, image lists, timers...), then its controls.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  // Reads the form files of the class (and its ancestors up to TForm) and
  // fires OnCreate; whoever constructs a form calls it once (CreateForm does).
  void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return BorderStyle_; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return BorderIcons_; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return Position_; }
  void SetPosition(TPosition Value) { Position_ = Value; }
  TFormStyle FormStyle() const { return FormStyle_; }
  void SetFormStyle(TFormStyle Value) { FormStyle_ = Value; }
  TWindowState WindowState() const { return WindowState_; }
  void SetWindowState(TWindowState Value);
  // The control of the form that has the focus, or had it last while the
  // form was inactive; it gets the focus back when the form does.
  TWinControl* ActiveControl() const { return ActiveControl_; }
  void SetActiveControl(TWinControl* Value);
  // The focus moved to Control (of this form): it becomes ActiveControl.
  void SetFocusedControl(TWinControl* Control);
  // Enter and exit notices follow the focus among the form's own controls:
  // a control that loses the focus to another form, a popup or another
  // program keeps its entered state and gets neither CM_EXIT then nor
  // CM_ENTER when the focus comes back. Its exit comes when the focus next
  // goes to another control of the form.
  // The parents of the controls take part: a parent is entered before the
  // first of its children to take the focus and exited after the last one
  // lost it to a control outside it (an editor and the edit window inside it
  // are one place for the focus).
  // FocusEntering: Control (of this form) got the focus; sends the pending
  // CM_EXIT of the control entered before and of its parents that do not
  // hold Control, then CM_ENTER to Control's parents not entered yet, and
  // tells whether Control gets CM_ENTER (not when it never left).
  bool FocusEntering(TWinControl* Control);
  // Control (of this form) lost the focus to NewFocus; when NewFocus is
  // another control of this form outside Control, Control and its parents
  // that do not hold NewFocus get CM_EXIT now; else the exit waits. Tells
  // whether the caller still has to send Control's CM_EXIT (never: it is
  // sent here, before the parents').
  bool FocusLeaving(TWinControl* Control, win::HWND NewFocus);
  // A control is going away: the form forgets it.
  void ControlDestroyed(TControl* Control);
  // Before the window exists: the client area the window will have.
  TRect GetClientRect() const override;
  TModalResult ModalResult() const { return ModalResult_; }
  void SetModalResult(TModalResult Value) { ModalResult_ = Value; }
  // Kept for the form file; the window layer shows forms opaque.
  bool AlphaBlend = false;
  Integer AlphaBlendValue = 255;
  bool TransparentColor = false;
  TColor TransparentColorValue = clBlack;
  // The form's OnKeyDown, OnKeyPress and OnKeyUp see its controls' keys first.
  bool KeyPreview = false;

  // The menu bar in the frame; nil takes it away, and a freed menu lets go.
  TMainMenu* Menu() const { return Menu_; }
  void SetMenu(TMainMenu* Value);
  // The item under whose sub-menu an MDI frame lists its children.
  TMenuItem* WindowMenu() const { return WindowMenu_; }
  void SetWindowMenu(TMenuItem* Value);

  void Show();
  void Hide();
  // Asks OnCloseQuery, then OnClose for what to do (hide by default).
  void Close();
  virtual bool CloseQuery();
  // Disables the other windows of the application, runs messages until
  // ModalResult is set and the form agrees to close, and returns it.
  virtual TModalResult ShowModal();
  // Frees the form once the messages now waiting have been handled.
  void Release();
  bool Modal() const { return Modal_; }

  // MDI frames (fsMDIForm): the client window holds the children
  // (fsMDIChild forms of the application's main form).
  win::HWND ClientHandle() const { return ClientHandle_; }
  Integer MDIChildCount() const;
  // Most recently activated first.
  TForm* MDIChildren(Integer Index) const;
  TForm* ActiveMDIChild() const;
  TTileMode TileMode = tbHorizontal;
  void Cascade();
  void Tile();
  void ArrangeIcons();
  void Next();
  void Previous();

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // A form file gives the client area; the frame around it is known only
  // once the window exists, so the size is applied when loading ends.
  void SetClientWidthProp(Integer Value);
  void SetClientHeightProp(Integer Value);

 protected:
  // The MDI client takes the space the aligned bars (tool bar, tree, status
  // bar) leave, so no child hides behind them.
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  bool PreviewsKeys() const override { return KeyPreview; }
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Tab and Shift+Tab walk the tab order; arrows step among the focused
  // control's siblings; other keys go on to the default and cancel buttons.
  void CMDialogKey(TMessage& Message) override;
  virtual void DoClose(TCloseAction& Action);
  void DoShow();
  void DoHide();

 private:
  void PlaceOnShow();
  TForm* MDIFrame() const;
  // An MDI child: makes it the client's active child, and where it lies
  // maximised (its frame and caption outside the client window).
  void ActivateMDIChild();
  win::MINMAXINFO MDIMaximizedPlace();
  void UpdateFrameCaption();
  // TMainMenu::AttachToForm reports here, whoever started the attaching.
  friend class TMainMenu;
  void MenuAttached(TMainMenu* Value);
  Integer LoadedClientWidth_ = -1;
  Integer LoadedClientHeight_ = -1;
  TMainMenu* Menu_ = nullptr;
  TMenuItem* WindowMenu_ = nullptr;
  win::HWND ClientHandle_ = nullptr;
  std::string FrameCaption_;

  TFormBorderStyle BorderStyle_ = bsSizeable;
  TBorderIcons BorderIcons_ = {biSystemMenu, biMinimize, biMaximize};
  TPosition Position_ = poDesigned;
  TFormStyle FormStyle_ = fsNormal;
  TWindowState WindowState_ = wsNormal;
  TWinControl* ActiveControl_ = nullptr;
  TWinControl* EnteredControl_ = nullptr;  // had CM_ENTER and no CM_EXIT yet
  // CM_EXIT to From and its parents up to the first that holds Next (never
  // the form); answers that parent, nil when none does.
  TWinControl* ExitUpTo(TWinControl* From, TWinControl* Next);
  TModalResult ModalResult_ = mrNone;
  bool Modal_ = false;
  bool Created_ = false;
  bool Placed_ = false;
};

// The form a control sits on (nil when its top parent is no form).
TForm* GetParentForm(TControl* Control);

// Makes a form of the class, reads its form file and fires OnCreate.
TForm* CreateForm(TClass InstanceClass, TComponent* AOwner);

// Registers this module's classes by name; the folder's start-up calls it.
void RegisterCustomFormsClasses();
