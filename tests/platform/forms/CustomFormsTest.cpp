#include "platform/forms/CustomForms.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/Timer.h"
#include "platform/forms/Menus.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/FormFiles.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Resources.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/MenuWindows.h"
#include "platform/win/Messages.h"
#include "platform/win/NonClient.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"
#include "tests/support/Pictures.h"
#include "tests/support/VisualStylesScope.h"

using namespace formstest;
using namespace win;

namespace {

class CustomFormsTest : public FormsTest {
 protected:
  void TearDown() override {
    Application->OnIdle = nullptr;
    FormsTest::TearDown();
  }
};

// Presses a button from the idle handler, as a person would while the
// modal loop waits.
struct Presser {
  TButton* Button = nullptr;
  int Idles = 0;
  void Idle(TObject*, bool& Done) {
    Done = false;  // never wait for a message in a test
    if (++Idles == 2 && Button) SendMessage(Button->Handle(), BM_CLICK, 0, 0);
    if (Idles > 50) Application->Terminate();  // a safety net, not part of the behaviour
  }
};

TEST_F(CustomFormsTest, ShowModalReturnsTheButtonsResultAndReenablesTheOwner) {
  THost owner;
  owner.HandleNeeded();
  ShowWindow(owner.Handle(), SW_SHOW);
  TForm form(nullptr);
  form.AfterConstruction();
  form.SetBorderStyle(bsDialog);
  form.SetPosition(poScreenCenter);
  auto* ok = new TButton(&form);
  ok->SetParent(&form);
  ok->SetModalResult(mrOk);
  bool ownerDisabledMeanwhile = false;
  struct Watch {
    THost* Owner;
    bool* Seen;
    void Show(TObject*) { *Seen = !IsWindowEnabled(Owner->Handle()); }
  } watch{&owner, &ownerDisabledMeanwhile};
  form.OnShow = TNotifyEvent(&watch, &Watch::Show);
  Presser presser;
  presser.Button = ok;
  Application->OnIdle = TIdleEvent(&presser, &Presser::Idle);

  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.Modal());
  EXPECT_EQ(form.Left(), (800 - form.Width()) / 2);  // centred on the 800 x 600 screen
  EXPECT_THROW((form.Show(), form.ShowModal()), EInvalidOperation);
}

struct CloseRules {
  bool Allow = true;
  TCloseAction Action = caHide;
  std::vector<std::string> Log;
  void Query(TObject*, bool& CanClose) {
    Log.push_back("query");
    CanClose = Allow;
  }
  void Close(TObject*, TCloseAction& A) {
    Log.push_back("close");
    A = Action;
  }
};

TEST_F(CustomFormsTest, CloseAsksOnCloseQueryThenOnClose) {
  TForm form(nullptr);
  form.AfterConstruction();
  CloseRules rules;
  form.OnCloseQuery = TCloseQueryEvent(&rules, &CloseRules::Query);
  form.OnClose = TCloseEvent(&rules, &CloseRules::Close);
  form.Show();
  rules.Allow = false;
  form.Close();
  EXPECT_TRUE(form.Visible());
  rules.Allow = true;
  rules.Action = caNone;
  form.Close();
  EXPECT_TRUE(form.Visible());
  rules.Action = caHide;
  SendMessage(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(rules.Log, (std::vector<std::string>{"query", "query", "close", "query", "close"}));

  // A refusing modal form stays up until it agrees.
  auto* ok = new TButton(&form);
  ok->SetParent(&form);
  ok->SetModalResult(mrOk);
  struct Refuser {
    TButton* Button;
    CloseRules* Rules;
    int Idles = 0;
    void Idle(TObject*, bool& Done) {
      Done = false;
      ++Idles;
      if (Idles == 2 || Idles == 4) {
        Rules->Allow = Idles == 4;
        SendMessage(Button->Handle(), BM_CLICK, 0, 0);
      }
      if (Idles > 50) Application->Terminate();
    }
  } refuser{ok, &rules};
  rules.Log.clear();
  Application->OnIdle = TIdleEvent(&refuser, &Refuser::Idle);
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(refuser.Idles, 4);
  EXPECT_EQ(rules.Log, (std::vector<std::string>{"query", "query", "close"}));
}

// However the main form is closed (its File > Exit calling Close, Alt+F4,
// the caption's close button), the program ends; another form only hides,
// and a close the form refuses ends nothing.
TEST_F(CustomFormsTest, ClosingTheMainFormEndsTheProgram) {
  TWinControl* previousMain = Application->MainForm();
  auto closeButton = [](TForm& f) {
    RECT wr;
    GetWindowRect(f.Handle(), &wr);
    NonClientLayout l = LayoutNonClient(GetWindowLong(f.Handle(), GWL_STYLE), GetWindowLong(f.Handle(), GWL_EXSTYLE),
                                        wr.right - wr.left, wr.bottom - wr.top);
    InjectClick(POINT{wr.left + (l.closeButton.left + l.closeButton.right) / 2,
                      wr.top + (l.closeButton.top + l.closeButton.bottom) / 2});
  };
  struct Case {
    const char* Name;
    std::function<void(TForm&)> Close;
  } cases[] = {
      {"Close", [](TForm& f) { f.Close(); }},
      {"Alt+F4", [](TForm&) { InjectKeyPress(VK_F4, false, false, true); }},
      {"close button", closeButton},
  };
  CloseRules rules;
  TFakeClockScope clock;  // two presses on the close button are no double click
  for (const Case& c : cases)
    for (bool main : {true, false}) {
      TForm form(nullptr);
      form.AfterConstruction();
      form.SetBounds(100, 100, 300, 200);
      form.OnClose = TCloseEvent(&rules, &CloseRules::Close);
      form.Show();
      Pump();
      Application->SetMainForm(main ? &form : nullptr);
      for (TCloseAction action : {caNone, caHide}) {
        rules.Action = action;
        Application->ResetTerminated();
        clock.Advance(1000);
        c.Close(form);
        Pump();
        bool ends = main && action != caNone;
        EXPECT_EQ(Application->Terminated(), ends) << c.Name << " main " << main << " action " << action;
        EXPECT_EQ(form.Visible(), main || action == caNone) << c.Name;
        if (!form.Visible()) break;
      }
      Application->SetMainForm(previousMain);
      Application->ResetTerminated();
    }
}

// The form keeps the control that had the focus as ActiveControl and gives
// the focus back to it when it is activated again: after another form,
// after a modal form, after another program.
TEST_F(CustomFormsTest, AFormGivesTheFocusBackToItsActiveControl) {
  TForm a(nullptr);
  a.AfterConstruction();
  a.SetBounds(50, 50, 300, 200);
  auto* first = new TButton(&a);
  first->SetParent(&a);
  first->SetBounds(10, 10, 80, 25);
  auto* second = new TButton(&a);
  second->SetParent(&a);
  second->SetBounds(10, 50, 80, 25);
  TForm b(nullptr);
  b.AfterConstruction();
  b.SetBounds(400, 50, 300, 200);
  auto* other = new TButton(&b);
  other->SetParent(&b);
  a.Show();
  b.Show();
  a.Show();
  SetActiveWindow(a.Handle());
  InjectClick(POINT{Center(second).X, Center(second).Y});
  Pump();
  EXPECT_EQ(a.ActiveControl(), second);  // follows the focus
  first->SetFocus();
  EXPECT_EQ(a.ActiveControl(), first);
  second->SetFocus();

  struct Case {
    const char* Name;
    std::function<void()> Away, Back;
  } cases[] = {
      {"another form", [&] { SetActiveWindow(b.Handle()); }, [&] { SetActiveWindow(a.Handle()); }},
      {"a modal form",
       [&] {
         EnableWindow(a.Handle(), FALSE);
         SetActiveWindow(b.Handle());
       },
       [&] {
         EnableWindow(a.Handle(), TRUE);
         b.Hide();
       }},
      {"another program", [] { SetActiveWindow(nullptr); }, [&] { SetActiveWindow(a.Handle()); }},
  };
  for (const Case& c : cases) {
    b.Show();
    c.Away();
    Pump();
    EXPECT_NE(GetFocus(), second->Handle()) << c.Name;
    c.Back();
    Pump();
    EXPECT_EQ(GetActiveWindow(), a.Handle()) << c.Name;
    EXPECT_EQ(GetFocus(), second->Handle()) << c.Name;
    EXPECT_EQ(a.ActiveControl(), second) << c.Name;
  }
  delete second;
  EXPECT_EQ(a.ActiveControl(), nullptr);
}

// The enter and exit notices follow the focus among a form's own controls:
// the focus going to another form or a popup window and coming back leaves
// the control entered; its exit comes when another control of its form
// takes the focus, before that control's enter.
TEST_F(CustomFormsTest, ExitNoticesOnlyForFocusMovesInsideTheForm) {
  std::vector<std::string> log;
  struct Logger {
    std::vector<std::string>* Log;
    void Enter(TObject* Sender) { Log->push_back("enter " + static_cast<TComponent*>(Sender)->Name()); }
    void Exit(TObject* Sender) { Log->push_back("exit " + static_cast<TComponent*>(Sender)->Name()); }
  } logger{&log};
  auto edit = [&](TForm& f, const char* name, Integer top) {
    auto* e = new TEdit(&f);
    e->SetName(name);
    e->SetParent(&f);
    e->SetBounds(10, top, 100, 21);
    e->OnEnter = TNotifyEvent(&logger, &Logger::Enter);
    e->OnExit = TNotifyEvent(&logger, &Logger::Exit);
    return e;
  };
  TForm a(nullptr);
  a.AfterConstruction();
  a.SetBounds(50, 50, 300, 200);
  TEdit* first = edit(a, "First", 10);
  TEdit* second = edit(a, "Second", 40);
  TForm b(nullptr);
  b.AfterConstruction();
  b.SetBounds(400, 50, 300, 200);
  TEdit* other = edit(b, "Other", 10);
  TForm popup(nullptr);  // a popup window of the first form's own
  popup.AfterConstruction();
  popup.SetBorderStyle(bsNone);
  popup.SetBounds(60, 120, 120, 60);
  TEdit* inPopup = edit(popup, "InPopup", 5);
  a.Show();
  first->SetFocus();
  Pump();
  log.clear();

  struct Step {
    const char* Name;
    std::function<void()> Do;
    std::vector<std::string> Notices;
  } steps[] = {
      {"to another control of the form", [&] { second->SetFocus(); }, {"exit First", "enter Second"}},
      {"to another form", [&] { b.Show(); other->SetFocus(); }, {"enter Other"}},
      {"back to the form", [&] { SetActiveWindow(a.Handle()); }, {}},
      {"to the popup", [&] { popup.Show(); inPopup->SetFocus(); }, {"enter InPopup"}},
      {"back to the same control", [&] { second->SetFocus(); }, {}},
      {"to the popup again", [&] { inPopup->SetFocus(); }, {}},
      {"to the other control from the popup", [&] { first->SetFocus(); }, {"exit Second", "enter First"}},
      {"to the other form again, whose control never left", [&] { other->SetFocus(); }, {}},
      {"to the program's nothing", [&] { SetFocus(nullptr); }, {}},
      {"back by a click on the other control", [&] { InjectClick(POINT{Center(second).X, Center(second).Y}); },
       {"exit First", "enter Second"}},
  };
  for (const Step& s : steps) {
    log.clear();
    s.Do();
    Pump();
    EXPECT_EQ(log, s.Notices) << s.Name;
  }
  EXPECT_EQ(GetFocus(), second->Handle());

  // The control the form holds as entered goes away while another form has
  // the focus: nothing is sent to it later.
  other->SetFocus();
  Pump();
  log.clear();
  delete second;
  first->SetFocus();
  Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"enter First"}));
}

// ClientWidth and ClientHeight set before the window exists give the client
// area: the window grows by its frame (and menu bar).
TEST_F(CustomFormsTest, ClientSizeSetBeforeTheWindowExistsIsTheClientArea) {
  for (bool withMenu : {false, true})
    for (TFormBorderStyle border : {bsSizeable, bsDialog, bsNone}) {
      TForm form(nullptr);
      form.AfterConstruction();
      form.SetBorderStyle(border);
      if (withMenu) {
        auto* menu = new TMainMenu(&form);
        auto* item = new TMenuItem(&form);
        item->SetCaption("&File");
        menu->Items()->Add(item);
        form.SetMenu(menu);
      }
      form.SetClientWidth(300);
      form.SetClientHeight(200);
      EXPECT_EQ(form.ClientWidth(), 300);
      form.HandleNeeded();
      RECT r;
      GetClientRect(form.Handle(), &r);
      EXPECT_EQ(r.right, 300) << border << " menu " << withMenu;
      EXPECT_EQ(r.bottom, 200) << border << " menu " << withMenu;
    }
}

// Maximised, minimised and restored by the caption: WindowState follows.
TEST_F(CustomFormsTest, WindowStateFollowsTheCaption) {
  TForm form(nullptr);
  form.AfterConstruction();
  form.SetBounds(100, 100, 300, 200);
  form.Show();
  Pump();
  auto at = [&](LRESULT hit) {
    RECT wr;
    GetWindowRect(form.Handle(), &wr);
    NonClientLayout l = LayoutNonClient(GetWindowLong(form.Handle(), GWL_STYLE),
                                        GetWindowLong(form.Handle(), GWL_EXSTYLE), wr.right - wr.left,
                                        wr.bottom - wr.top);
    const RECT& r = hit == HTMAXBUTTON ? l.maxButton : hit == HTMINBUTTON ? l.minButton : l.caption;
    return POINT{wr.left + (r.left + r.right) / 2 - (hit == HTCAPTION ? 40 : 0), wr.top + (r.top + r.bottom) / 2};
  };
  InjectClick(at(HTMAXBUTTON));
  Pump();
  EXPECT_EQ(form.WindowState(), wsMaximized);
  InjectDoubleClick(at(HTCAPTION));
  Pump();
  EXPECT_EQ(form.WindowState(), wsNormal);
  EXPECT_EQ(form.BoundsRect(), Rect(100, 100, 400, 300));
  InjectDoubleClick(at(HTCAPTION));
  Pump();
  EXPECT_EQ(form.WindowState(), wsMaximized);
  InjectClick(at(HTMAXBUTTON));  // restore
  Pump();
  EXPECT_EQ(form.WindowState(), wsNormal);
  InjectClick(at(HTMINBUTTON));
  Pump();
  EXPECT_EQ(form.WindowState(), wsMinimized);
  SendMessage(form.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(form.WindowState(), wsNormal);
}

TEST_F(CustomFormsTest, ReleaseFreesTheFormLater) {
  auto* form = new TForm(nullptr);
  form->AfterConstruction();
  struct Gone {
    bool Destroyed = false;
    void Destroy(TObject*) { Destroyed = true; }
  } gone;
  form->OnDestroy = TNotifyEvent(&gone, &Gone::Destroy);
  int before = Screen->FormCount();
  form->Release();
  EXPECT_FALSE(gone.Destroyed);
  Pump();
  EXPECT_TRUE(gone.Destroyed);
  EXPECT_EQ(Screen->FormCount(), before - 1);
}

// A form class with a form file and a handler the file names.
class TTestDialog : public TForm {
  VXN_DECLARE_CLASS(TTestDialog)

 public:
  using TForm::TForm;
  std::vector<std::string> Log;
  void FormCreate(TObject*) { Log.push_back("create"); }
  void OkClick(TObject*) { Log.push_back("ok"); }
};

VXN_IMPLEMENT_CREATABLE_CLASS(TTestDialog, TForm)
VXN_PUBLISH(TTestDialog) {
  P.Handler("FormCreate", &TTestDialog::FormCreate);
  P.Handler("OkClick", &TTestDialog::OkClick);
}

const char kDialogForm[] =
    "object TestDialog: TTestDialog\n"
    "  Left = 10\n"
    "  Top = 20\n"
    "  Width = 300\n"
    "  Height = 200\n"
    "  BorderStyle = bsDialog\n"
    "  Caption = 'Settings'\n"
    "  Position = poScreenCenter\n"
    "  OnCreate = FormCreate\n"
    "  object OkButton: TButton\n"
    "    Left = 100\n"
    "    Top = 150\n"
    "    Caption = 'OK'\n"
    "    Default = True\n"
    "    ModalResult = 1\n"
    "    OnClick = OkClick\n"
    "  end\n"
    "  object NameLabel: TLabel\n"
    "    Left = 8\n"
    "    Top = 8\n"
    "    Caption = '&Name'\n"
    "  end\n"
    "end\n";

TEST_F(CustomFormsTest, FormComesFromItsFormFileWithEventsBound) {
  static const TResourceEntry entries[] = {
      {"TTestDialog", "FORM", reinterpret_cast<const unsigned char*>(kDialogForm), sizeof kDialogForm - 1}};
  RegisterResources(entries, 1);
  RegisterClasses({TTestDialog::StaticClass()});
  std::unique_ptr<TForm> owned(CreateForm(TTestDialog::StaticClass(), nullptr));
  auto* dialog = static_cast<TTestDialog*>(owned.get());
  EXPECT_EQ(dialog->Log, (std::vector<std::string>{"create"}));
  EXPECT_EQ(dialog->Caption(), "Settings");
  EXPECT_EQ(dialog->BorderStyle(), bsDialog);
  auto* ok = dynamic_cast<TButton*>(dialog->FindComponent("OkButton"));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->Parent(), dialog);
  EXPECT_TRUE(ok->Default());
  auto* label = dynamic_cast<TLabel*>(dialog->FindComponent("NameLabel"));
  ASSERT_NE(label, nullptr);
  EXPECT_GT(label->Width(), 0);  // sized to its caption once loaded

  // Enter reaches the default button, which closes the modal dialog.
  struct Enter {
    TForm* Form;
    int Idles = 0;
    void Idle(TObject*, bool& Done) {
      Done = false;
      if (++Idles == 2) Form->Perform(CM_DIALOGKEY, VK_RETURN, 0);
      if (Idles > 50) Application->Terminate();
    }
  } enter{dialog};
  Application->OnIdle = TIdleEvent(&enter, &Enter::Idle);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(dialog->Log, (std::vector<std::string>{"create", "ok"}));

  // Written back, the form lists its non-visual components too, so nothing it
  // owns is lost between a write and a read.
  auto* timer = new TTimer(dialog);
  timer->SetName("Ticker");
  const std::string text = WriteComponentText(dialog);
  EXPECT_NE(text.find("object Ticker: TTimer"), std::string::npos) << text;
  EXPECT_NE(text.find("object OkButton: TButton"), std::string::npos) << text;
}

}  // namespace

namespace {

// Tab order One, Two, Check, Four (no tab stop), Three, then a panel with
// P1 and P2. Each step is a key pressed and the control focused after it.
TEST_F(CustomFormsTest, DialogKeysMoveTheFocusAndReachDefaultAndCancelButtons) {
  TForm form(nullptr);
  form.AfterConstruction();
  form.SetBorderStyle(bsDialog);
  form.SetBounds(100, 100, 400, 200);
  auto add = [&form](TWinControl* c, const std::string& name, TWinControl* parent, Integer x) {
    c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(x, 10, 50, 25);
    return c;
  };
  auto* one = static_cast<TButton*>(add(new TButton(&form), "One", &form, 0));
  auto* two = static_cast<TButton*>(add(new TButton(&form), "Two", &form, 50));
  add(new TCheckBox(&form), "Check", &form, 100);
  add(new TButton(&form), "Four", &form, 150)->SetTabStop(false);
  auto* three = static_cast<TButton*>(add(new TButton(&form), "Three", &form, 200));
  auto* panel = add(new TPanel(&form), "Panel", &form, 250);
  panel->SetBounds(250, 50, 120, 60);
  panel->SetTabStop(false);
  auto* p1 = add(new TButton(&form), "P1", panel, 0);
  add(new TButton(&form), "P2", panel, 60);
  one->SetModalResult(mrRetry);
  two->SetDefault(true);
  two->SetModalResult(mrOk);
  three->SetCancel(true);
  three->SetModalResult(mrCancel);
  form.Show();
  one->SetFocus();

  struct Step {
    UINT vk;
    bool shift;
    const char* focused;
  } steps[] = {
      {VK_TAB, false, "Two"},   {VK_TAB, false, "Check"}, {VK_TAB, false, "Three"}, {VK_TAB, true, "Check"},
      {VK_RIGHT, false, "Four"}, {VK_DOWN, false, "Three"}, {VK_TAB, false, "P1"},   {VK_TAB, false, "P2"},
      {VK_TAB, false, "One"},   {VK_LEFT, false, "Panel"}, {VK_UP, false, "Three"},
  };
  for (const Step& s : steps) {
    InjectKeyPress(s.vk, s.shift);
    Pump();
    TWinControl* focused = FindControl(GetFocus());
    EXPECT_EQ(focused ? focused->Name() : "", s.focused) << s.vk << (s.shift ? " shift" : "");
  }
  // Arrows stay among the focused control's siblings.
  p1->SetFocus();
  InjectKeyPress(VK_RIGHT);
  InjectKeyPress(VK_RIGHT);
  Pump();
  EXPECT_EQ(FindControl(GetFocus()), p1);

  // Enter presses the focused button, else the default one; Escape the cancel one.
  struct Press {
    TWinControl* focus;
    UINT vk;
    TModalResult result;
  } presses[] = {{one, VK_RETURN, mrRetry}, {panel, VK_RETURN, mrOk}, {one, VK_ESCAPE, mrCancel}};
  for (const Press& p : presses) {
    form.SetModalResult(mrNone);
    if (p.focus->CanFocus()) p.focus->SetFocus();
    InjectKeyPress(p.vk);
    Pump();
    EXPECT_EQ(form.ModalResult(), p.result) << p.focus->Name();
  }
}

TEST_F(CustomFormsTest, ActivationAndKeyPreview) {
  struct Log {
    std::vector<std::string> Lines;
    void Activate(TObject* S) { Lines.push_back(static_cast<TComponent*>(S)->Name() + " activate"); }
    void Deactivate(TObject* S) { Lines.push_back(static_cast<TComponent*>(S)->Name() + " deactivate"); }
    void Key(TObject*, Word& Key, TShiftState) {
      Lines.push_back("form key");
      if (Key == 'X') Key = 0;  // swallowed before the control sees it
    }
  } log;  // outlives the forms, which deactivate as they go
  TForm a(nullptr), b(nullptr);
  a.AfterConstruction();
  b.AfterConstruction();
  a.SetName("a");
  b.SetName("b");
  for (TForm* f : {&a, &b}) {
    f->OnActivate = TNotifyEvent(&log, &Log::Activate);
    f->OnDeactivate = TNotifyEvent(&log, &Log::Deactivate);
  }
  a.Show();
  b.Show();
  log.Lines.clear();
  SetActiveWindow(a.Handle());
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"b deactivate", "a activate"}));
  EXPECT_EQ(Screen->ActiveForm(), &a);

  std::vector<std::string> keys;
  auto* child = LoggedChild(a, &keys, "child");
  a.OnKeyDown = TKeyEvent(&log, &Log::Key);
  log.Lines.clear();
  SendMessage(child->Handle(), WM_KEYDOWN, 'A', 0);
  EXPECT_TRUE(log.Lines.empty());  // no preview unless asked
  a.KeyPreview = true;
  SendMessage(child->Handle(), WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"form key"}));
}

// A failing OnActivate or OnDeactivate reaches the application's
// exception handler with the form as sender; the activation goes on.
TEST_F(CustomFormsTest, ActivationHandlerFailureGoesToTheApplication) {
  struct Sink {
    std::vector<std::string> Seen;
    TObject* A = nullptr;
    void Activate(TObject*) { throw Exception("activate failed"); }
    void Deactivate(TObject*) { throw Exception("deactivate failed"); }
    void Caught(TObject* Sender, Exception* E) { Seen.push_back((Sender == A ? "a: " : "other: ") + E->Message); }
  } sink;  // outlives the forms, which deactivate as they go
  TForm a(nullptr), b(nullptr);
  a.AfterConstruction();
  b.AfterConstruction();
  sink.A = &a;
  a.Show();
  b.Show();
  SetActiveWindow(b.Handle());
  a.OnActivate = TNotifyEvent(&sink, &Sink::Activate);
  a.OnDeactivate = TNotifyEvent(&sink, &Sink::Deactivate);
  Application->OnException = TExceptionEvent(&sink, &Sink::Caught);
  SetActiveWindow(a.Handle());
  EXPECT_EQ(Screen->ActiveForm(), &a);
  SetActiveWindow(b.Handle());
  EXPECT_EQ(Screen->ActiveForm(), &b);
  EXPECT_EQ(sink.Seen, (std::vector<std::string>{"a: activate failed", "a: deactivate failed"}));
  EXPECT_TRUE(Boxes.empty());
}

}  // namespace

namespace {

// A frame is the main form; its children live in its client window.
class MdiTest : public CustomFormsTest {
 protected:
  void SetUp() override {
    CustomFormsTest::SetUp();
    previousMain_ = Application->MainForm();
    frame = new TForm(nullptr);
    frame->SetFormStyle(fsMDIForm);
    frame->SetCaption("Frame");
    frame->SetBounds(0, 0, 600, 400);
    frame->AfterConstruction();
    Application->SetMainForm(frame);
    frame->Show();
  }
  void TearDown() override {
    delete frame;
    Application->SetMainForm(previousMain_);
    CustomFormsTest::TearDown();
  }
  TForm* Child(const char* name) {
    auto* f = new TForm(nullptr);
    f->SetName(name);
    f->SetCaption(name);
    f->SetFormStyle(fsMDIChild);
    f->SetBounds(10, 10, 200, 150);
    f->AfterConstruction();
    return f;
  }
  TForm* frame = nullptr;

 private:
  TWinControl* previousMain_ = nullptr;
};

TEST_F(MdiTest, FrameCreatesActivatesMaximisesTilesAndClosesChildren) {
  ASSERT_NE(frame->ClientHandle(), nullptr);
  TForm* a = Child("a");
  TForm* b = Child("b");
  TForm* c = Child("c");
  EXPECT_EQ(GetParent(a->Handle()), frame->ClientHandle());
  EXPECT_EQ(frame->MDIChildCount(), 3);
  EXPECT_EQ(frame->ActiveMDIChild(), c);  // the newest is active
  EXPECT_EQ(frame->MDIChildren(0), c);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(frame->ClientHandle(), WM_MDIGETACTIVE, 0, 0)), c->Handle());

  std::vector<std::string> log;
  struct Log {
    std::vector<std::string>* Lines;
    void Activate(TObject* S) { Lines->push_back(static_cast<TComponent*>(S)->Name() + " activate"); }
    void Deactivate(TObject* S) { Lines->push_back(static_cast<TComponent*>(S)->Name() + " deactivate"); }
  } sink{&log};
  for (TForm* f : {a, b, c}) {
    f->OnActivate = TNotifyEvent(&sink, &Log::Activate);
    f->OnDeactivate = TNotifyEvent(&sink, &Log::Deactivate);
  }
  frame->Next();
  EXPECT_EQ(log, (std::vector<std::string>{"c deactivate", "b activate"}));
  frame->Previous();
  EXPECT_EQ(frame->ActiveMDIChild(), c);

  // A maximised child's client fills the client window (its frame and
  // caption lie outside it) and the child lends the frame its caption; the
  // next active child takes the maximised state over.
  c->SetWindowState(wsMaximized);
  RECT client;
  GetClientRect(frame->ClientHandle(), &client);
  auto inner = [&](TForm* f) {
    RECT r;
    GetClientRect(f->Handle(), &r);
    MapWindowPoints(f->Handle(), frame->ClientHandle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  EXPECT_EQ(inner(c), client);
  EXPECT_EQ(frame->Caption(), "Frame - [c]");
  frame->SetBounds(0, 0, 500, 350);  // and keeps filling it
  GetClientRect(frame->ClientHandle(), &client);
  EXPECT_EQ(inner(c), client);
  SendMessage(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
  EXPECT_EQ(a->WindowState(), wsMaximized);
  EXPECT_EQ(c->WindowState(), wsNormal);
  EXPECT_EQ(c->BoundsRect(), Rect(10, 10, 210, 160));
  EXPECT_EQ(frame->Caption(), "Frame - [a]");
  EXPECT_EQ(inner(a), client);
  a->SetWindowState(wsNormal);
  EXPECT_EQ(frame->Caption(), "Frame");
  a->SetWindowState(wsMaximized);

  frame->TileMode = tbVertical;
  frame->Tile();
  EXPECT_EQ(frame->Caption(), "Frame");
  std::vector<TRect> tiles;
  for (Integer i = 0; i < 3; ++i) tiles.push_back(frame->MDIChildren(i)->BoundsRect());
  for (const TRect& r : tiles) {
    EXPECT_EQ(r.Top, 0);
    EXPECT_EQ(r.Height(), client.bottom);
    EXPECT_NEAR(r.Width(), client.right / 3, 1);
  }
  frame->TileMode = tbHorizontal;
  frame->Tile();
  EXPECT_EQ(a->Width(), client.right);
  frame->Cascade();
  // Cascaded: each child one caption lower and further right, the active one on top (last).
  for (TForm* f : {a, b, c}) EXPECT_EQ(f->Left(), f->Top());
  EXPECT_GT(frame->ActiveMDIChild()->Left(), 0);
  // The picture, drawn without styles: each caption lies over the client
  // area of the child cascaded before it, so it shows only when the
  // z-order is right; the active child's caption shows active, the others
  // inactive, and the rest of the client is the workspace colour.
  VisualStylesScope classic(false);
  frame->Repaint();
  UpdateWindow(frame->Handle());
  int screenWidth = 0, screenHeight = 0;
  std::vector<uint32_t> screen = ComposeScreen(&screenWidth, &screenHeight);
  auto screenPixel = [&](LONG x, LONG y) {
    uint32_t px = screen[static_cast<size_t>(y) * screenWidth + x];
    return static_cast<COLORREF>(((px & 0xFF) << 16) | (px & 0xFF00) | ((px >> 16) & 0xFF));
  };
  auto captionPixel = [&](TForm* f) {
    RECT r;
    GetWindowRect(f->Handle(), &r);
    return screenPixel(r.left + 4, r.top + 6);
  };
  for (TForm* f : {a, b, c})
    EXPECT_EQ(captionPixel(f), GetSysColor(f == frame->ActiveMDIChild() ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION))
        << f->Name();
  EXPECT_EQ(captionPixel(frame), GetSysColor(COLOR_ACTIVECAPTION));
  RECT clientArea;
  GetWindowRect(frame->ClientHandle(), &clientArea);
  EXPECT_EQ(screenPixel(clientArea.right - 10, clientArea.bottom - 10), GetSysColor(COLOR_APPWORKSPACE));
  HDC dc = GetWindowDC(frame->Handle());
  EXPECT_TRUE(SaveDCToPng(dc, PicturePath("mdi-frame.png")));
  ReleaseDC(frame->Handle(), dc);

  // Closing: minimised by default, freed when OnClose says so.
  b->Close();
  EXPECT_EQ(b->WindowState(), wsMinimized);
  struct Free {
    void Close(TObject*, TCloseAction& A) { A = caFree; }
  } freer;
  a->OnClose = TCloseEvent(&freer, &Free::Close);
  a->Close();
  Pump();
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_NE(frame->ActiveMDIChild(), nullptr);
  delete b;
  delete c;
  EXPECT_EQ(frame->MDIChildCount(), 0);
  EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
}

// The keyboard and the activation go together: the focus moving into a
// child activates it, the active child gets the focus, Ctrl+F6 and Ctrl+Tab
// go to the next child (with Shift the previous one) and Ctrl+F4 closes it.
// The active child's caption shows active only while the frame is active.
TEST_F(MdiTest, KeysFocusAndCaptionsFollowTheActiveChild) {
  std::vector<std::string> closed;
  struct Closes {
    std::vector<std::string>* Lines;
    void Close(TObject* S, TCloseAction&) { Lines->push_back(static_cast<TComponent*>(S)->Name()); }
  } sink{&closed};
  std::vector<TForm*> children;
  std::vector<TButton*> buttons;
  for (const char* name : {"a", "b", "c"}) {
    TForm* f = Child(name);
    f->SetBounds(10 + 150 * static_cast<int>(children.size()), 10, 140, 120);
    f->OnClose = TCloseEvent(&sink, &Closes::Close);
    auto* button = new TButton(f);
    button->SetParent(f);
    button->SetBounds(10, 10, 80, 25);
    children.push_back(f);
    buttons.push_back(button);
  }
  SetActiveWindow(frame->Handle());
  Pump();
  buttons[0]->SetFocus();
  EXPECT_EQ(frame->ActiveMDIChild(), children[0]);
  InjectClick(POINT{Center(buttons[1]).X, Center(buttons[1]).Y});
  Pump();
  EXPECT_EQ(frame->ActiveMDIChild(), children[1]);
  EXPECT_EQ(GetFocus(), buttons[1]->Handle());

  // The order of the next child is the activation's: b, then c, then a.
  auto key = [&](UINT vk, bool shift = false) {
    InjectKeyPress(vk, shift, true);
    Pump();
  };
  struct Step {
    UINT Vk;
    bool Shift;
    int Active;
  } steps[] = {{VK_F6, false, 0}, {VK_TAB, false, 2}, {VK_TAB, true, 0}, {VK_F6, true, 1}};
  for (const Step& s : steps) {
    key(s.Vk, s.Shift);
    EXPECT_EQ(frame->ActiveMDIChild(), children[s.Active]) << s.Vk << " shift " << s.Shift;
    EXPECT_EQ(GetFocus(), buttons[s.Active]->Handle()) << s.Vk << " shift " << s.Shift;
  }
  key(VK_F4);
  EXPECT_EQ(closed, std::vector<std::string>{"b"});
  EXPECT_EQ(children[1]->WindowState(), wsMinimized);

  // Alt+- opens the active child's system menu (Up: its last item, Next).
  TForm* before = frame->ActiveMDIChild();
  InjectKeyPress(VK_OEM_MINUS, false, false, true);
  InjectKeyPress(VK_UP);
  InjectKeyPress(VK_RETURN);
  Pump();
  EXPECT_NE(frame->ActiveMDIChild(), before);

  // Captions: the active child's differs from an inactive one's only while
  // the frame is active.
  buttons[2]->SetFocus();
  Pump();
  auto captionColour = [&](TForm* f) { return ScreenColorAt(*f, 40, -GetSystemMetrics(SM_CYCAPTION) / 2); };
  EXPECT_NE(captionColour(children[2]), captionColour(children[0]));
  THost other;
  other.SetBounds(600, 450, 100, 100);
  other.HandleNeeded();
  SetActiveWindow(other.Handle());
  Pump();
  EXPECT_EQ(frame->ActiveMDIChild(), children[2]);
  EXPECT_EQ(captionColour(children[2]), captionColour(children[0]));
  SetActiveWindow(frame->Handle());
  Pump();
  EXPECT_NE(captionColour(children[2]), captionColour(children[0]));
  EXPECT_EQ(GetFocus(), buttons[2]->Handle());
  // A new child made while the frame is inactive does not show active.
  SetActiveWindow(other.Handle());
  TForm* d = Child("d");
  d->SetBounds(10, 150, 140, 120);
  Pump();
  EXPECT_EQ(frame->ActiveMDIChild(), d);
  EXPECT_EQ(captionColour(d), captionColour(children[0]));
}

// Maximised, the active child's caption lies outside the client window, so
// its icon and caption buttons stand in the frame's menu bar and work there
// by mouse: the icon drops the child's system menu, the buttons minimise,
// restore and close it. Drawn without styles.
TEST_F(MdiTest, AMaximisedChildsIconAndButtonsWorkFromTheFramesMenuBar) {
  VisualStylesScope classic(false);
  auto* menu = new TMainMenu(frame);
  auto* file = new TMenuItem(frame);
  file->SetCaption("&File");
  menu->Items()->Add(file);
  menu->AttachToForm(frame);
  TForm* a = Child("a");
  TForm* b = Child("b");
  Pump();
  // The bar's row in screen coordinates, right above the client area.
  RECT client;
  GetClientRect(frame->Handle(), &client);
  MapWindowPoints(frame->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  const int row = GetSystemMetrics(SM_CYMENU), middle = client.top - row / 2;
  const int bw = GetSystemMetrics(SM_CXMENUSIZE) - 2;
  const POINT close{client.right - 2 - bw / 2, middle}, restore{close.x - bw - 2, middle},
      minimize{restore.x - bw, middle}, icon{client.left + 8, middle};
  auto screenColor = [](const std::vector<uint32_t>& screen, int width, POINT p) {
    uint32_t px = screen[static_cast<size_t>(p.y) * width + p.x];
    return static_cast<COLORREF>(((px & 0xFF) << 16) | (px & 0xFF00) | ((px >> 16) & 0xFF));
  };
  auto colorAt = [&](POINT p) {
    int w = 0, h = 0;
    std::vector<uint32_t> screen = ComposeScreen(&w, &h);
    return screenColor(screen, w, p);
  };
  // How many pixels of the bar's end (where the buttons go) are not plain menu.
  auto drawnAtTheEnd = [&] {
    int w = 0, h = 0, count = 0;
    std::vector<uint32_t> screen = ComposeScreen(&w, &h);
    for (int x = client.right - 3 * bw - 4; x < client.right; ++x)
      for (int y = client.top - row + 2; y < client.top - 2; ++y)
        if (screenColor(screen, w, POINT{x, y}) != GetSysColor(COLOR_MENU)) ++count;
    return count;
  };
  auto fileLeft = [&] {
    RECT r;
    GetMenuItemRect(frame->Handle(), GetMenu(frame->Handle()), 0, &r);
    return r.left;
  };
  EXPECT_EQ(drawnAtTheEnd(), 0);
  EXPECT_EQ(fileLeft(), client.left);

  b->SetWindowState(wsMaximized);
  Pump();
  EXPECT_EQ(GetMenuBarDocument(frame->Handle()), b->Handle());
  EXPECT_GE(fileLeft(), client.left + GetSystemMetrics(SM_CXSMICON));  // after the icon
  EXPECT_GT(drawnAtTheEnd(), 20);
  EXPECT_NE(colorAt(icon), GetSysColor(COLOR_MENU));


  // Pressed on restore and let go elsewhere: nothing; a click restores.
  InjectMouseButton(VK_LBUTTON, true, restore);
  InjectMouseMove(POINT{restore.x, restore.y + 60});
  InjectMouseButton(VK_LBUTTON, false, POINT{restore.x, restore.y + 60});
  Pump();
  EXPECT_EQ(b->WindowState(), wsMaximized);
  InjectClick(restore);
  Pump();
  EXPECT_EQ(b->WindowState(), wsNormal);
  EXPECT_EQ(GetMenuBarDocument(frame->Handle()), nullptr);
  EXPECT_EQ(frame->Caption(), "Frame");
  EXPECT_EQ(fileLeft(), client.left);
  EXPECT_EQ(drawnAtTheEnd(), 0);

  b->SetWindowState(wsMaximized);
  InjectClick(minimize);
  Pump();
  EXPECT_EQ(b->WindowState(), wsMinimized);
  EXPECT_EQ(GetMenuBarDocument(frame->Handle()), nullptr);

  // The icon drops the child's own system menu: its first item restores it.
  SendMessage(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(a->Handle()), 0);
  a->SetWindowState(wsMaximized);
  Pump();
  ASSERT_EQ(GetMenuBarDocument(frame->Handle()), a->Handle());
  InjectClick(icon);
  InjectKeyPress(VK_DOWN);
  InjectKeyPress(VK_RETURN);
  Pump();
  EXPECT_EQ(a->WindowState(), wsNormal);

  // Close does what the child's OnClose says (here: free it).
  struct Free {
    void Close(TObject*, TCloseAction& A) { A = caFree; }
  } freer;
  a->OnClose = TCloseEvent(&freer, &Free::Close);
  a->SetWindowState(wsMaximized);
  InjectClick(close);
  Pump();
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(GetMenuBarDocument(frame->Handle()), nullptr);
  EXPECT_EQ(frame->Caption(), "Frame");
  delete b;
}

// A class that is not a form is refused without leaving what was made of
// it with the owner.
TEST_F(CustomFormsTest, CreateFormOfAnotherClassLeavesNothingBehind) {
  TComponent owner(nullptr);
  EXPECT_THROW(CreateForm(TPanel::StaticClass(), &owner), EInvalidOperation);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(CustomFormsTest, MdiChildNeedsAFrame) {
  TForm child(nullptr);
  child.SetFormStyle(fsMDIChild);
  EXPECT_THROW(child.AfterConstruction(), EInvalidOperation);
}

}  // namespace
