// The suite's push button: colours and property limits, states and clicks
// by mouse, Space, Enter (default) and Escape (cancel), the drop-down kinds
// and their menu, and painting with our renderer and with no styles.
#include "suite/editors/cxButtons.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "tests/support/VisualStylesScope.h"

namespace {

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEditors();
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 300, 200);
    button = new TcxButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(20, 20, 100, 30);
    button->SetCaption("Go");
    button->OnClick = TNotifyEvent(this, &ButtonTest::Clicked);
    other = new TcxButton(form.get());
    other->SetParent(form.get());
    other->SetBounds(20, 80, 100, 30);
    other->SetCaption("Other");
    form->Show();
    Pump();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  static void Pump() { Application->ProcessMessages(); }
  win::POINT Screen(TControl* c, Integer x, Integer y) {
    const TPoint p = c->ClientToScreen({x, y});
    return {p.X, p.Y};
  }
  void Clicked(TObject*) { ++clicks; }
  void Paint() {
    button->Invalidate();
    win::UpdateWindow(button->Handle());
  }

  std::unique_ptr<TForm> form;
  TcxButton* button = nullptr;
  TcxButton* other = nullptr;
  Integer clicks = 0;
};

TEST_F(ButtonTest, ColoursAndLimitsOfTheProperties) {
  TcxButtonColors* colors = button->Colors();
  colors->SetHot(clRed);
  EXPECT_TRUE(colors->AssignedColors().Contains(cxbsHot));
  colors->SetHot(clNone);
  EXPECT_EQ(colors->Hot(), clDefault);
  EXPECT_FALSE(colors->AssignedColors().Contains(cxbsHot));
  // AssignedColors acts only at design time.
  colors->SetNormal(clLime);
  colors->SetAssignedColors({});
  EXPECT_TRUE(colors->AssignedColors().Contains(cxbsNormal));

  button->SetMargin(7);
  button->SetMargin(-5);
  EXPECT_EQ(button->Margin(), 7);
  button->SetMargin(-1);
  EXPECT_EQ(button->Margin(), -1);
  button->SetNumGlyphs(6);
  EXPECT_EQ(button->NumGlyphs(), 4);
  EXPECT_EQ(button->Spacing(), 4);
  EXPECT_EQ(button->Kind(), cxbkStandard);
}

TEST_F(ButtonTest, MouseSpaceEnterAndEscapeClick) {
  button->SetModalResult(mrOk);
  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(button, 10, 10));
  Pump();
  Paint();
  EXPECT_EQ(button->PaintedState(), cxbsPressed);
  EXPECT_EQ(clicks, 0);
  win::InjectMouseButton(win::VK_LBUTTON, false, Screen(button, 10, 10));
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
  form->SetModalResult(mrNone);

  button->SetFocus();
  win::InjectKeyPress(win::VK_SPACE);
  Pump();
  EXPECT_EQ(clicks, 2);

  other->SetFocus();
  button->SetDefault(true);
  form->Perform(CM_DIALOGKEY, win::VK_RETURN, 0);
  EXPECT_EQ(clicks, 2) << "a focused push button takes Enter";
  button->SetDefault(false);
  button->SetCancel(true);
  form->Perform(CM_DIALOGKEY, win::VK_ESCAPE, 0);
  EXPECT_EQ(clicks, 3);
}

// A drop-down menu of one item that closes itself as soon as it opens and
// remembers what the button looked like then.
class DropDownTest : public ButtonTest {
 public:
  void SetUp() override {
    ButtonTest::SetUp();
    menu = new TPopupMenu(form.get());
    auto* item = new TMenuItem(menu);
    item->SetCaption("One");
    menu->Items()->Add(item);
    menu->OnPopup = TNotifyEvent(this, &DropDownTest::Opened);
    button->SetDropDownMenu(menu);
  }
  void Opened(TObject*) {
    ++opened;
    visibleWhenOpen = button->MenuVisible();
    win::InjectKeyPress(win::VK_ESCAPE);
  }
  void Replace(TObject*, TPopupMenu*& AMenu, bool& AHandled) {
    if (handle) AHandled = true;
    if (replaceWithNone) AMenu = nullptr;
  }

  TPopupMenu* menu = nullptr;
  Integer opened = 0;
  bool visibleWhenOpen = false;
  bool handle = false;
  bool replaceWithNone = false;
};

TEST_F(DropDownTest, DropDownKindOpensItsMenuBySpaceAndNeverClicks) {
  button->SetKind(cxbkDropDown);
  button->SetFocus();
  win::InjectKeyPress(win::VK_SPACE);
  Pump();
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(visibleWhenOpen);
  EXPECT_FALSE(button->MenuVisible()) << "closed again";
  EXPECT_FALSE(button->ArrowPartHeld());
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(menu->Alignment(), paLeft) << "the menu's own alignment is restored";
}

TEST_F(DropDownTest, DropDownButtonOpensFromItsArrowPartOrAltDownAndClicksElsewhere) {
  button->SetKind(cxbkDropDownButton);
  win::InjectClick(Screen(button, 95, 10));
  Pump();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(clicks, 0);
  win::InjectClick(Screen(button, 20, 10));
  Pump();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(clicks, 1);
  button->SetFocus();
  win::InjectKeyPress(win::VK_DOWN, false, false, true);
  Pump();
  EXPECT_EQ(opened, 2);
}

TEST_F(DropDownTest, PopupEventMayHandleOrTakeTheMenuAway) {
  button->SetKind(cxbkDropDown);
  button->OnDropDownMenuPopup = TcxButtonDropDownMenuPopupEvent(this, &DropDownTest::Replace);
  button->SetFocus();
  handle = true;
  win::InjectKeyPress(win::VK_SPACE);
  Pump();
  handle = false;
  replaceWithNone = true;
  win::InjectKeyPress(win::VK_SPACE);
  Pump();
  EXPECT_EQ(opened, 0);
  EXPECT_FALSE(button->MenuVisible());
}

}  // namespace
