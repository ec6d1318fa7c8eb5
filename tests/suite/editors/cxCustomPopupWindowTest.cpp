// Popups on a borderless form at (100, 100): showing and each way of closing
// (outside and owner clicks, activation moving away, the application losing
// the activation, the owner hidden or moved out of sight, WM_CLOSE, the
// deferred close message), the list of shown popups, z-order, Alt keys,
// fitting to the work area, and the modal loop ending.
#include "suite/editors/cxCustomPopupWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"

namespace {

using win::POINT;

// A focusable control that records what reaches its window.
class Owner : public TCustomControl {
 public:
  explicit Owner(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  int setFocus = 0;
  int presses = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == win::WM_SETFOCUS) ++setFocus;
    if (Message.Msg == win::WM_LBUTTONDOWN) ++presses;
    TCustomControl::WndProc(Message);
  }
};

class RecordingForm : public TForm {
 public:
  RecordingForm() : TForm(nullptr) { SetBorderStyle(bsNone); }
  std::vector<win::UINT> messages;
  std::vector<win::WPARAM> sysKeys;
  int closes = 0;
  int inactiveCaptions = 0;

 protected:
  void WndProc(TMessage& Message) override {
    messages.push_back(Message.Msg);
    if (Message.Msg == win::WM_SYSKEYDOWN) sysKeys.push_back(Message.WParam);
    if (Message.Msg == win::WM_CLOSE) ++closes;
    if (Message.Msg == win::WM_NCACTIVATE && !Message.WParam) ++inactiveCaptions;
    TForm::WndProc(Message);
  }
};

class Popup : public TcxCustomPopupWindow {
 public:
  explicit Popup(TControl* AOwner) : TcxCustomPopupWindow(AOwner) {
    SetBounds(0, 0, 100, 60);
    OnBeforePopup = TNotifyEvent(this, &Popup::Log<'B'>);
    OnPopupShown = TNotifyEvent(this, &Popup::Log<'S'>);
    OnPopupClosing = TNotifyEvent(this, &Popup::Log<'c'>);
    OnPopupClosed = TNotifyEvent(this, &Popup::Log<'C'>);
  }
  std::string events;
  bool fits = false;
  bool CanFitToWorkArea() override { return fits; }
  using TcxCustomPopupWindow::KeyDown;

 private:
  template <char C>
  void Log(TObject*) {
    events += C;
  }
};

class PopupWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<RecordingForm>();
    form->SetBounds(100, 100, 300, 200);
    owner = new Owner(form.get());
    owner->SetParent(form.get());
    owner->SetBounds(10, 10, 120, 20);
    other = new Owner(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 150, 50, 20);
    form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    popups.clear();
    form.reset();
    win::ResetInputState();
  }
  // Below the owner, non-activating unless asked otherwise.
  Popup* MakePopup(bool takesFocus = false, TControl* anOwner = nullptr) {
    anOwner = anOwner ? anOwner : owner;
    popups.push_back(std::make_unique<Popup>(anOwner));
    Popup* p = popups.back().get();
    p->SetTakesFocus(takesFocus);
    p->ModalLoop = false;
    p->AnchorControl = anOwner;
    p->AnchorRect = anOwner->ClientRect();
    return p;
  }
  POINT Screen(TControl* c, Integer x, Integer y) {
    const TPoint p = c->ClientToScreen({x, y});
    return {p.X, p.Y};
  }
  std::vector<TcxCustomPopupWindow*> Shown() { return ShownPopups(); }

  std::unique_ptr<RecordingForm> form;
  Owner* owner = nullptr;
  Owner* other = nullptr;
  std::vector<std::unique_ptr<Popup>> popups;
};

TEST_F(PopupWindow, ShowsBelowItsOwnerAndClosesOnceWithEvents) {
  Popup* p = MakePopup();
  p->PopupForControl(owner);
  EXPECT_EQ(p->events, "BS");
  EXPECT_EQ(Shown(), std::vector<TcxCustomPopupWindow*>{p});
  EXPECT_TRUE(win::IsWindowVisible(p->Handle()));
  EXPECT_EQ(p->BoundsRect(), TRect(110, 130, 210, 190));
  EXPECT_EQ(p->FocusControl(), owner) << "without focus capture the given control keeps the focus";
  EXPECT_TRUE(win::GetWindowLong(p->Handle(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
  EXPECT_EQ(win::GetActiveWindow(), form->Handle()) << "showing did not activate the popup";

  p->PopupForControl(owner);
  EXPECT_EQ(p->events, "BS") << "a shown popup is not shown twice";
  p->ClosePopup();
  p->ClosePopup();
  EXPECT_EQ(p->events, "BScC");
  EXPECT_TRUE(Shown().empty());
  EXPECT_FALSE(p->Visible());
}

TEST_F(PopupWindow, AnInvisibleOwnerClosesThePopupAtOnce) {
  owner->Hide();
  Popup* p = MakePopup();
  p->PopupForControl(owner);
  EXPECT_EQ(p->events, "cC");
  EXPECT_TRUE(Shown().empty());
  EXPECT_FALSE(p->HandleAllocated() && win::IsWindowVisible(p->Handle()));
}

TEST_F(PopupWindow, ClicksOutsideCloseAndOwnerClicksAreMarked) {
  Popup* p = MakePopup();
  p->PopupForControl(owner);
  win::InjectClick(Screen(p, 50, 30));
  Application->ProcessMessages();
  EXPECT_TRUE(p->IsShown()) << "a click inside the popup keeps it";

  win::InjectClick(Screen(owner, 5, 5));
  Application->ProcessMessages();
  EXPECT_FALSE(p->IsShown());
  EXPECT_TRUE(p->ClosedByOwnerClick);
  EXPECT_EQ(owner->presses, 1) << "the owner still got its click";

  p->ClosedByOwnerClick = false;
  p->PopupForControl(owner);
  win::InjectClick(Screen(form.get(), 250, 100));
  Application->ProcessMessages();
  EXPECT_FALSE(p->IsShown());
  EXPECT_FALSE(p->ClosedByOwnerClick);
}

TEST_F(PopupWindow, APopupOfAPopupKeepsBothUntilTheClickLandsElsewhere) {
  Popup* outer = MakePopup();
  outer->PopupForControl(owner);
  auto* inside = new Owner(outer);
  inside->SetParent(outer);
  inside->SetBounds(5, 5, 40, 20);
  Popup* inner = MakePopup(false, inside);
  inner->PopupForControl(inside);
  ASSERT_EQ(Shown().size(), 2u);
  win::InjectClick(Screen(inner, 10, 10));
  Application->ProcessMessages();
  EXPECT_EQ(Shown().size(), 2u);
  win::InjectClick(Screen(form.get(), 250, 100));
  Application->ProcessMessages();
  EXPECT_TRUE(Shown().empty());
}

TEST_F(PopupWindow, FocusTakingPopupClosesWhenTheActivationMovesAway) {
  Popup* p = MakePopup(true);
  form->inactiveCaptions = 0;
  p->PopupForControl(nullptr);
  EXPECT_EQ(win::GetActiveWindow(), p->Handle());
  EXPECT_EQ(form->inactiveCaptions, 0) << "the owner form's caption stays active under its popup";
  EXPECT_EQ(p->FocusControl(), p) << "no focusable control inside: the popup itself";
  EXPECT_TRUE(p->Focused());
  EXPECT_FALSE(win::GetWindowLong(p->Handle(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST) << "the owner form is not topmost";

  // Activation moving to a popup opened from this one closes nothing.
  auto* inside = new Owner(p);
  inside->SetParent(p);
  inside->SetBounds(5, 5, 40, 20);
  Popup* child = MakePopup(true, inside);
  child->PopupForControl(nullptr);
  EXPECT_EQ(Shown().size(), 2u);

  win::SetActiveWindow(form->Handle());
  Application->ProcessMessages();
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(p->events, "BScC");
}

TEST_F(PopupWindow, ATopmostOwnerFormGivesATopmostPopup) {
  form->SetFormStyle(fsStayOnTop);
  form->RecreateWnd();
  form->HandleNeeded();
  Popup* p = MakePopup(true);
  p->PopupForControl(nullptr);
  ASSERT_TRUE(p->IsShown());
  EXPECT_TRUE(win::GetWindowLong(p->Handle(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
}

TEST_F(PopupWindow, SwitchingApplicationClosesAndPaintsTheOwnerCaptionInactive) {
  Popup* p = MakePopup();
  p->PopupForControl(owner);
  form->messages.clear();
  win::SetActiveWindow(nullptr);
  EXPECT_FALSE(p->IsShown());
  Application->ProcessMessages();
  EXPECT_NE(std::count(form->messages.begin(), form->messages.end(), win::WM_NCACTIVATE), 0);
}

TEST_F(PopupWindow, HidingOrMovingTheOwnerOutOfSightCloses) {
  auto* panel = new TCustomControl(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(150, 10, 100, 100);
  other->SetParent(panel);
  other->SetBounds(0, 0, 50, 20);
  Application->ProcessMessages();
  Popup* first = MakePopup(false, other);
  first->PopupForControl(owner);
  Popup* second = MakePopup();
  second->PopupForControl(owner);
  Popup* third = MakePopup(false, other);
  third->PopupForControl(owner);
  ASSERT_EQ(Shown().size(), 3u);
  // The owner's popup goes, with every popup shown after it.
  owner->Hide();
  EXPECT_EQ(Shown(), std::vector<TcxCustomPopupWindow*>{first});

  // Hidden by its parent, the owner is out of sight once it moves.
  panel->Hide();
  EXPECT_TRUE(first->IsShown()) << "a parent hiding tells the owner nothing";
  other->SetBounds(0, 0, 50, 21);
  EXPECT_FALSE(first->IsShown());
}

TEST_F(PopupWindow, ClosingThePopupAsAFormAndTheDeferredClose) {
  Popup* p = MakePopup(true);
  p->PopupForControl(nullptr);
  ASSERT_TRUE(p->IsShown());
  win::SendMessage(p->Handle(), win::WM_CLOSE, 0, 0);
  EXPECT_FALSE(p->IsShown()) << "closed as a form, it leaves the list";
  EXPECT_EQ(form->closes, 1) << "the owner's form is closed with its focus-taking popup";

  form->Show();
  Popup* q = MakePopup();
  q->PopupForControl(owner);
  const int before = owner->setFocus;
  TcxCustomPopupWindow::PostClosePopup(q);
  EXPECT_TRUE(q->IsShown());
  Application->ProcessMessages();
  EXPECT_FALSE(q->IsShown());
  EXPECT_FALSE(q->ClosingByHook);
  EXPECT_EQ(owner->setFocus, before + 1);
}

TEST_F(PopupWindow, EscapeOnlyReleasesTheCaptureOfThePopup) {
  Popup* p = MakePopup();
  p->PopupForControl(owner);
  win::SetCapture(p->Handle());
  Word key = win::VK_ESCAPE;
  p->KeyDown(key, {});
  EXPECT_EQ(key, 0);
  EXPECT_EQ(win::GetCapture(), nullptr);
  EXPECT_TRUE(p->IsShown());
  key = win::VK_ESCAPE;
  p->KeyDown(key, {});
  EXPECT_EQ(key, win::VK_ESCAPE) << "without the capture the key goes on";
}

TEST_F(PopupWindow, OnlyNavigationAltKeysReachAPopupWithoutFocusCapture) {
  Popup* p = MakePopup();
  p->PopupForControl(owner);
  for (win::WPARAM key : {win::WPARAM(win::VK_DOWN), win::WPARAM('X'), win::WPARAM(win::VK_F4)})
    win::PostMessage(form->Handle(), win::WM_SYSKEYDOWN, key, 0);
  Application->ProcessMessages();
  EXPECT_EQ(form->sysKeys, (std::vector<win::WPARAM>{win::VK_DOWN, win::VK_F4}));
  p->ClosePopup();
  win::PostMessage(form->Handle(), win::WM_SYSKEYDOWN, 'X', 0);
  Application->ProcessMessages();
  EXPECT_EQ(form->sysKeys.back(), win::WPARAM('X')) << "with no popup shown nothing is dropped";
}

TEST_F(PopupWindow, FitsToTheWorkArea) {
  win::RECT saved{};
  win::SystemParametersInfo(win::SPI_GETWORKAREA, 0, &saved, 0);
  win::RECT area{0, 0, 800, 560};
  win::SystemParametersInfo(win::SPI_SETWORKAREA, 0, &area, 0);
  struct Case {
    TPoint at;
    Integer minHeight;
    TPoint point;
    Integer w, h;
  } cases[] = {
      {{-30, 100}, 0, {0, 100}, 70, 60},    // left of the area: onto its edge, narrower
      {{100, -20}, 0, {100, 0}, 100, 40},   // above: onto the top, lower
      {{750, 530}, 0, {750, 530}, 50, 30},  // cut at the right and bottom edges
      {{100, -20}, 50, {100, -10}, 100, 50}, // held taller by a constraint: its bottom stays
      {{100, 100}, 0, {100, 100}, 100, 60}, // fits
  };
  for (const Case& c : cases) {
    Popup* p = MakePopup();
    p->fits = true;
    p->Constraints()->SetMinHeight(c.minHeight);
    TPoint pt = c.at;
    p->FitToWorkArea(pt);
    EXPECT_EQ(pt, c.point) << c.at.X << "," << c.at.Y;
    EXPECT_EQ(p->Width(), c.w) << c.at.X << "," << c.at.Y;
    EXPECT_EQ(p->Height(), c.h) << c.at.X << "," << c.at.Y;
  }
  Popup* plain = MakePopup();
  TPoint pt{-30, -30};
  plain->FitToWorkArea(pt);
  EXPECT_EQ(pt, TPoint(-30, -30)) << "a popup that may not fit is left alone";
  win::SystemParametersInfo(win::SPI_SETWORKAREA, 0, &saved, 0);
}

// Runs one step posted to a window of its own while a modal loop waits.
class Stepper : public TCustomControl {
 public:
  Stepper() : TCustomControl(nullptr) { HandleNeeded(); }
  std::vector<std::function<void()>> steps;
  void Post() { win::PostMessage(Handle(), kStep, 0, 0); }
  static constexpr win::UINT kStep = win::WM_USER + 7;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == kStep && !steps.empty()) {
      auto step = steps.front();
      steps.erase(steps.begin());
      step();
      return;
    }
    TCustomControl::WndProc(Message);
  }
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = win::WS_POPUP;
    Params.WndParent = nullptr;
  }
};

// A handler object for the events, around a function.
struct Handler {
  std::function<void()> run;
  bool refuse = false;
  void Notify(TObject*) { run(); }
  void CloseQuery(TObject*, bool& canClose) { canClose = !refuse; }
};

TEST_F(PopupWindow, TheModalLoopEndsOnAModalResultAndWhenThePopupGoes) {
  Stepper stepper;
  Popup* p = MakePopup(true);
  p->ModalLoop = true;
  Handler handler{[&] { stepper.Post(); }, true};
  bool& refuse = handler.refuse;
  p->OnCloseQuery = TCloseQueryEvent(&handler, &Handler::CloseQuery);
  stepper.steps = {
      [&] {
        // Alt alone is taken out of the queue by the loop; other Alt keys stay.
        win::PostMessage(form->Handle(), win::WM_SYSKEYDOWN, win::VK_MENU, 0);
        win::PostMessage(form->Handle(), win::WM_SYSKEYDOWN, 'X', 0);
        p->SetModalResult(mrOk);
        stepper.Post();
      },
      [&] {
        EXPECT_EQ(p->ModalResult(), mrNone) << "a refused close query clears the result";
        refuse = false;
        p->SetModalResult(mrOk);
        stepper.Post();
      },
  };
  p->OnPopupShown = TNotifyEvent(&handler, &Handler::Notify);
  p->PopupForControl(nullptr);
  EXPECT_FALSE(p->IsShown());
  EXPECT_FALSE(p->Visible());
  EXPECT_TRUE(stepper.steps.empty());
  EXPECT_EQ(form->sysKeys, std::vector<win::WPARAM>{'X'});

  // A handler that frees the popup, or its owner, inside the loop.
  Popup* doomed = MakePopup(true);
  doomed->ModalLoop = true;
  doomed->OnPopupShown = TNotifyEvent(&handler, &Handler::Notify);
  stepper.steps = {[&] { popups.pop_back(); }};
  doomed->PopupForControl(nullptr);
  EXPECT_TRUE(Shown().empty());
  EXPECT_TRUE(stepper.steps.empty());

  Popup* orphan = MakePopup(true);
  orphan->ModalLoop = true;
  orphan->OnPopupShown = TNotifyEvent(&handler, &Handler::Notify);
  stepper.steps = {[&] { delete owner; }};
  orphan->PopupForControl(nullptr);
  EXPECT_TRUE(stepper.steps.empty());
  EXPECT_FALSE(orphan->IsShown());
  EXPECT_EQ(orphan->OwnerControl(), nullptr);
}

}  // namespace
