// The application object (message loop, exceptions, hints, the hidden
// application window), the screen and mouse objects, hidden utility windows
// and data modules.
#pragma once

#include <memory>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/forms/Graphics.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"
#include "platform/rtl/OwnedObject.h"

class TForm;
class TDataModule;

// A hidden window whose messages go to a method. Each message the method
// leaves unanswered goes nowhere else: call DefWindowProc there for default
// handling.
win::HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(win::HWND Wnd);

// The box in which the application shows messages (ShowException, the
// application's MessageBox): a replaceable function whose default is the
// message dialogs' MessageBox. Returns the previous one; an empty function
// puts back the default.
using TMessageBoxHook = std::function<int(const std::string& Text, const std::string& Caption, win::UINT Flags)>;
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook Hook);

// ---------------------------------------------------------------------------

class THintWindow : public TCustomControl {
  VXN_DECLARE_CLASS(THintWindow)

 public:
  explicit THintWindow(TComponent* AOwner);
  // Shows Hint in Rect (screen coordinates) without taking the activation.
  virtual void ActivateHint(const TRect& Rect, const std::string& AHint);
  virtual TRect CalcHintRect(Integer MaxWidth, const std::string& AHint);
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};

using TExceptionEvent = TDelegate<void(TObject* Sender, Exception* E)>;
using TIdleEvent = TDelegate<void(TObject* Sender, bool& Done)>;
using TMessageEvent = TDelegate<void(win::MSG& Msg, bool& Handled)>;
// A hook on the application window answers true to keep the message from
// the window's own handling.
using TWindowHook = TDelegate<bool(TMessage& Message)>;
using TShowHintEvent = TDelegate<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TApplication : public TComponent {
  VXN_DECLARE_CLASS(TApplication)

 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // The hidden application window, made on first use.
  win::HWND Handle();
  std::string Title() const;
  void SetTitle(const std::string& Value);
  // The program file's full path.
  std::string ExeName() const;
  // The program's icon (shown by the display beside the title).
  TIcon* Icon() const { return Icon_.get(); }
  void SetIcon(TIcon* Value) { Icon_->Assign(Value); }

  void Initialize();
  // Creates a form or data module of InstanceClass owned by the application
  // and stores it in Reference; the first windowed one becomes the main form.
  template <typename T>
  void CreateForm(TClass InstanceClass, T*& Reference) {
    TComponent* instance = CreateFormInstance(InstanceClass);
    Reference = dynamic_cast<T*>(instance);
  }
  TWinControl* MainForm() const { return MainForm_; }
  void SetMainForm(TWinControl* Value) { MainForm_ = Value; }
  bool ShowMainForm = true;
  // Whether a change of the regional settings reloads the class library's
  // format settings (their readers follow it).
  bool UpdateFormatSettings = true;

  // The message loop.
  void Run();
  void ProcessMessages();
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return Terminated_; }
  // Forgets a Terminate that was handled, so the loops (Run, ShowModal) work
  // again; tests run many loops in one process.
  void ResetTerminated() { Terminated_ = false; }
  bool Active() const;
  void Minimize();
  void Restore();
  void HookMainWindow(TWindowHook Hook);
  void UnhookMainWindow(TWindowHook Hook);

  // Exceptions: HandleException is called inside a catch block; it passes
  // the exception to OnException or, without a handler, to ShowException.
  // EAbort stays silent.
  void HandleException(TObject* Sender);
  void ShowException(Exception* E);
  int MessageBox(const std::string& Text, const std::string& Caption, win::UINT Flags = win::MB_OK);

  // Hints.
  std::string Hint() const { return Hint_; }
  void SetHint(const std::string& Value);
  bool ShowHint() const { return ShowHint_; }
  void SetShowHint(bool Value);
  TColor HintColor = clInfoBk;
  Integer HintPause = 500;
  Integer HintShortPause = 50;
  Integer HintHidePause = 2500;
  // Made on first use while ShowHint is on.
  THintWindow* HintWindow();
  void ActivateHint(const TPoint& CursorPos);
  void CancelHint();
  void HideHint();
  void HintMouseMessage(TControl* Control, TMessage& Message);

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint;
  TMessageEvent OnMessage;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

  // A control is going away: forget every reference to it.
  void ControlDestroyed(TControl* Control);

 private:
  TComponent* CreateFormInstance(TClass InstanceClass);
  void IconChanged(TObject* Sender);
  bool ProcessMessage(win::MSG& Msg);
  void Idle();
  void DoMouseIdle();
  void SetMouseControl(TControl* Control);
  bool IsKeyMsg(win::MSG& Msg);
  bool IsMDIMsg(win::MSG& Msg);
  void IsHintMsg(const win::MSG& Msg);
  void WndProc(TMessage& Message);
  void HintTimerExpired();
  void StartHintTimer(Integer Pause);
  void StopHintTimer();
  static win::LRESULT AppWindowProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);

  win::HWND Handle_ = nullptr;
  std::string Title_;
  std::unique_ptr<TIcon> Icon_;
  TWinControl* MainForm_ = nullptr;
  bool Terminated_ = false;
  bool Running_ = false;
  std::vector<TWindowHook> Hooks_;
  std::string Hint_;
  bool ShowHint_ = true;
  OwnedObject<THintWindow> HintWindow_;
  TControl* HintControl_ = nullptr;
  TControl* MouseControl_ = nullptr;
  TPoint HintCursorPos_;
  bool HintActive_ = false;
  bool HintTimerRunning_ = false;
};

// ---------------------------------------------------------------------------

class TScreen : public TComponent {
  VXN_DECLARE_CLASS(TScreen)

 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  Integer FormCount() const { return static_cast<Integer>(Forms_.size()); }
  TForm* Forms(Integer Index) const { return Forms_.at(static_cast<size_t>(Index)); }
  Integer DataModuleCount() const { return static_cast<Integer>(DataModules_.size()); }
  TDataModule* DataModules(Integer Index) const { return DataModules_.at(static_cast<size_t>(Index)); }
  TForm* ActiveForm() const { return ActiveForm_; }
  TWinControl* ActiveControl() const { return ActiveControl_; }

  // The cursor over the whole program (crDefault: each control's own).
  TCursor Cursor() const { return Cursor_; }
  void SetCursor(TCursor Value);
  // Cursor handles by number: the system's shapes and our own resources.
  win::HCURSOR Cursors(TCursor Index);
  void SetCursors(TCursor Index, win::HCURSOR Handle);

  Integer Width() const;
  Integer Height() const;
  TRect WorkAreaRect() const;
  Integer WorkAreaWidth() const { return WorkAreaRect().Width(); }
  Integer WorkAreaHeight() const { return WorkAreaRect().Height(); }
  Integer PixelsPerInch() const { return PixelsPerInch_; }
  TFont* MenuFont() const { return MenuFont_.get(); }
  TFont* HintFont() const { return HintFont_.get(); }

  // Bookkeeping of the form and data module classes.
  void AddForm(TForm* Form);
  void RemoveForm(TForm* Form);
  void SetActiveForm(TForm* Form) { ActiveForm_ = Form; }
  void AddDataModule(TDataModule* DataModule);
  void RemoveDataModule(TDataModule* DataModule);
  void SetActiveControl(TWinControl* Control) { ActiveControl_ = Control; }

  TNotifyEvent OnActiveControlChange;
  TNotifyEvent OnActiveFormChange;

 private:
  std::vector<TForm*> Forms_;
  std::vector<TDataModule*> DataModules_;
  TForm* ActiveForm_ = nullptr;
  TWinControl* ActiveControl_ = nullptr;
  TCursor Cursor_ = crDefault;
  std::vector<std::pair<TCursor, win::HCURSOR>> Cursors_;
  Integer PixelsPerInch_ = 96;
  std::unique_ptr<TFont> MenuFont_;
  std::unique_ptr<TFont> HintFont_;
};

class TMouse {
 public:
  TPoint CursorPos() const;
  void SetCursorPos(const TPoint& Value);
  TControl* Capture() const;
  // Lines a wheel notch scrolls (the system setting).
  Integer WheelScrollLines() const;
  // Pixels the mouse moves before a drag starts.
  Integer DragThreshold() const { return DragThreshold_; }
  void SetDragThreshold(Integer Value) { DragThreshold_ = Value; }
  bool WheelPresent() const { return true; }

 private:
  Integer DragThreshold_ = 5;
};

// ---------------------------------------------------------------------------

// The root of a non-visual form file. A class derived from it reads its form
// file (the "FORM" resource named after the class, its ancestors' first)
// when it is created through Application->CreateForm or CreateDataModule;
// then OnCreate runs. Freeing it runs OnDestroy first.
class TDataModule : public TComponent {
  VXN_DECLARE_CLASS(TDataModule)

 public:
  explicit TDataModule(TComponent* AOwner);
  ~TDataModule() override;
  void BeforeDestruction() override;

  // Reads the form file of the class (EResNotFound when a derived class has
  // none) and runs OnCreate. Called once, right after construction.
  void AfterConstruction();

  bool OldCreateOrder = false;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

  // The designer's position of the module, kept through the form file.
  TPoint DesignOffset;
  TPoint DesignSize;

 protected:
  virtual void DoCreate();
  virtual void DoDestroy();
  void DefineProperties(TFiler* Filer) override;

 private:
  bool Created_ = false;
  bool DestroyDone_ = false;
};

// Creates a data module of class T (or InstanceClass) and reads its form file.
TDataModule* CreateDataModule(TClass InstanceClass, TComponent* AOwner);
template <typename T>
T* CreateDataModule(TComponent* AOwner) {
  return static_cast<T*>(CreateDataModule(T::StaticClass(), AOwner));
}

// The global objects: made by the folder's start-up (CreateApplicationObjects),
// never freed.
extern TApplication* Application;
extern TScreen* Screen;
extern TMouse* Mouse;
void CreateApplicationObjects();
