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
#include "suite/foundation/cxControlRoutines.h"
#include "platform/win/ChildNotify.h"
#include "tests/suite/foundation/CanvasFixture.h"
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

// Paints the button as its window would be told to, into a bitmap.
class PaintTest : public ButtonTest, public TestSurface {
 protected:
  // The focused push button looks like the default one: the focus goes to
  // the other button so that this one draws its normal state.
  void Draw(win::UINT AItemState) {
    if (!other->Focused()) other->SetFocus();
    Reset(100, 30);
    win::DRAWITEMSTRUCT item{};
    item.CtlType = win::ODT_BUTTON;
    item.itemState = AItemState;
    item.hDC = bitmap->Canvas()->Handle();
    item.rcItem = {0, 0, 100, 30};
    button->Perform(CN_DRAWITEM, 0, reinterpret_cast<win::LPARAM>(&item));
  }
  // The top-left lime pixel.
  TPoint Lime() {
    for (Integer y = 0; y < 30; ++y)
      for (Integer x = 0; x < 100; ++x)
        if (Is(x, y, clLime)) return {x, y};
    return {-1, -1};
  }
};

TEST_F(PaintTest, PressedStateShiftsGlyphAndCaptionByThePaintersShift) {
  VisualStylesScope classic(false);  // no styles: the standard painter
  button->LookAndFeel()->SetKind(lfStandard);
  TBitmap glyph;
  glyph.SetSize(16, 16);
  glyph.Canvas()->Brush()->SetColor(clWhite);
  glyph.Canvas()->FillRect({0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(clLime);
  glyph.Canvas()->FillRect({0, 0, 8, 8});
  button->SetGlyph(&glyph);
  ASSERT_EQ(button->Painter()->ButtonPressedShift(), 1);
  Draw(0);
  EXPECT_EQ(button->PaintedState(), cxbsNormal);
  const TPoint up = Lime();
  ASSERT_NE(up.X, -1);
  Draw(win::ODS_SELECTED);
  EXPECT_EQ(button->PaintedState(), cxbsPressed);
  EXPECT_EQ(Lime(), (TPoint{up.X + 1, up.Y + 1}));
}

TEST_F(PaintTest, UnassignedColoursLeaveThePaintersFaceAndAssignedOnesReplaceIt) {
  VisualStylesScope classic(false);
  button->LookAndFeel()->SetKind(lfStandard);
  button->SetCaption("");
  Draw(0);
  EXPECT_TRUE(Is(50, 15, button->Painter()->ButtonFaceColor(cxbsNormal)));
  button->Colors()->SetNormal(clRed);
  Draw(0);
  EXPECT_TRUE(Is(50, 15, clRed));
  Draw(win::ODS_SELECTED);
  EXPECT_FALSE(Is(50, 15, clRed)) << "the pressed state keeps the painter's face";
}

TEST_F(PaintTest, NativeStyleDrawsTheThemedFaceWithOurRenderer) {
  VisualStylesScope styled(true);
  button->LookAndFeel()->SetNativeStyle(true);
  button->SetCaption("");
  Draw(0);
  EXPECT_FALSE(Is(50, 15, clWhite)) << "the themed face covers the surface";
  EXPECT_EQ(button->PaintedState(), cxbsNormal);
  button->SetEnabled(false);
  Draw(0);
  EXPECT_EQ(button->PaintedState(), cxbsDisabled);
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

TEST_F(DropDownTest, MenuOpensAboveTheButtonNearTheBottomOfTheWorkArea) {
  const TPoint below = button->ClientToScreen({0, button->Height()});
  EXPECT_EQ(button->DropDownMenuPoint(menu), below);
  const TRect area = GetMonitorWorkArea(below);
  form->SetBounds(100, area.Bottom - 60, 300, 200);
  const TPoint top = button->ClientToScreen({0, 0});
  EXPECT_EQ(button->DropDownMenuPoint(menu).Y, top.Y - GetPopupMenuHeight(menu) - 2);
  button->SetPopupAlignment(paRight);
  EXPECT_EQ(button->DropDownMenuPoint(menu).X, top.X + button->Width());
  EXPECT_EQ(button->MenuAlignmentAt({area.Left, 0}, paLeft), paRight);
  EXPECT_EQ(button->MenuAlignmentAt({area.Right, 0}, paRight), paLeft);
  EXPECT_EQ(button->MenuAlignmentAt({area.Left + 5, 0}, paCenter), paCenter);
}

}  // namespace
