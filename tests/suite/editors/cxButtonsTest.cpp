// The suite's push button: colours and property limits, states and clicks
// by mouse, Space, Enter (default) and Escape (cancel), the drop-down kinds
// and their menu, hot tracking, the context menu and its shortcuts, the
// action's state and image (also from a form file), and painting with our
// renderer and with no styles.
#include "suite/editors/cxButtons.h"

#include <gtest/gtest.h>

#include "platform/forms/ActnList.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ImgList.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/FormFiles.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/foundation/cxControlRoutines.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

class ButtonTest : public ::testing::Test {
 public:
  // Also an action's OnExecute.
  void Clicked(TObject*) { ++clicks; }

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

TEST_F(ButtonTest, HotWhileTheMouseIsOverItWithAHotTrackingPainter) {
  TFakeClockScope clock;
  auto moveTo = [&](TControl* c, Integer x, Integer y) {
    win::InjectMouseMove(Screen(c, x, y));
    Pump();
    clock.Advance(10);
    Pump();
  };
  // The standard painter does not track.
  button->LookAndFeel()->SetNativeStyle(false);
  button->LookAndFeel()->SetKind(lfStandard);
  moveTo(button, 10, 10);
  EXPECT_FALSE(button->MouseInControl());
  moveTo(form.get(), 5, 5);

  button->LookAndFeel()->SetKind(lfUltraFlat);
  other->LookAndFeel()->SetKind(lfUltraFlat);
  other->SetFocus();
  moveTo(button, 10, 10);
  EXPECT_TRUE(button->MouseInControl());
  button->Invalidate();
  win::UpdateWindow(button->Handle());
  EXPECT_EQ(button->PaintedState(), cxbsHot);
  moveTo(form.get(), 5, 5);
  EXPECT_FALSE(button->MouseInControl());
  EXPECT_FALSE(IsMouseTracked(button));

  // Pressed on the other button and dragged over this one: the capture
  // keeps it cold; let go, the next move makes it hot.
  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(other, 10, 10));
  Pump();
  moveTo(button, 10, 10);
  EXPECT_FALSE(button->MouseInControl());
  win::InjectMouseButton(win::VK_LBUTTON, false, Screen(button, 10, 10));
  Pump();
  EXPECT_FALSE(other->MouseInControl()) << "its capture went with the cursor elsewhere";
  moveTo(button, 11, 10);
  EXPECT_TRUE(button->MouseInControl());

  // Pressed here and let go outside: the lost capture ends the hot state.
  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(button, 11, 10));
  Pump();
  win::InjectMouseMove(Screen(form.get(), 5, 5));
  win::InjectMouseButton(win::VK_LBUTTON, false, Screen(form.get(), 5, 5));
  Pump();
  EXPECT_FALSE(button->MouseInControl());

  moveTo(button, 10, 10);
  ASSERT_TRUE(button->MouseInControl());
  button->SetEnabled(false);
  EXPECT_FALSE(button->MouseInControl());
  moveTo(form.get(), 5, 5);
}

// Remembers where the context menu was asked for.
class ContextButton : public TcxButton {
 public:
  using TcxButton::TcxButton;
  TPoint Asked{-1, -1};
  Integer Times = 0;

 protected:
  bool ShowContextMenu(TComponent* AMenu, Integer X, Integer Y) override {
    ++Times;
    Asked = {X, Y};
    return TcxButton::ShowContextMenu(AMenu, X, Y);
  }
};

struct MenuRecorder : TObject {
  Integer popped = 0;
  Integer clicked = 0;
  bool handleContext = false;
  void Popped(TObject*) {
    ++popped;
    win::InjectKeyPress(win::VK_ESCAPE);
  }
  void Clicked(TObject*) { ++clicked; }
  void Context(TObject*, TPoint, bool& Handled) { Handled = handleContext; }
};

TEST_F(ButtonTest, ContextMenuAndItsShortCutsBelongToThePopupMenu) {
  auto* b = new ContextButton(form.get());
  b->SetParent(form.get());
  b->SetBounds(150, 20, 100, 30);
  MenuRecorder rec;
  auto* menu = new TPopupMenu(form.get());
  auto* item = new TMenuItem(menu);
  item->SetCaption("Read");
  item->SetShortCut(ShortCut('R', {ssCtrl}));
  item->OnClick = TNotifyEvent(&rec, &MenuRecorder::Clicked);
  menu->Items()->Add(item);
  menu->OnPopup = TNotifyEvent(&rec, &MenuRecorder::Popped);
  b->SetPopupMenu(menu);
  b->OnContextPopup = TContextPopupEvent(&rec, &MenuRecorder::Context);
  Pump();

  auto request = [&](win::POINT p) {
    return b->Perform(win::WM_CONTEXTMENU, reinterpret_cast<win::WPARAM>(b->Handle()),
                      win::MAKELPARAM(static_cast<win::WORD>(p.x), static_cast<win::WORD>(p.y)));
  };
  // From the keyboard: at the client origin.
  EXPECT_EQ(request({-1, -1}), 1);
  EXPECT_EQ(rec.popped, 1);
  EXPECT_EQ(b->Asked, b->ClientToScreen({0, 0}));
  // By the mouse: where it was asked.
  request(Screen(b, 30, 12));
  EXPECT_EQ(rec.popped, 2);
  EXPECT_EQ(b->Asked, b->ClientToScreen({30, 12}));
  // Outside the client rect, or taken by OnContextPopup: no menu.
  request(Screen(b, 30, 40));
  rec.handleContext = true;
  EXPECT_EQ(request(Screen(b, 30, 12)), 1);
  EXPECT_EQ(rec.popped, 2);
  EXPECT_EQ(b->Times, 2);

  // The menu's shortcut works while the button has the focus.
  b->SetFocus();
  win::InjectKeyPress('R', false, true);
  Pump();
  EXPECT_EQ(rec.clicked, 1);
  item->SetShortCut(0);
  win::InjectKeyPress('R', false, true);
  Pump();
  EXPECT_EQ(rec.clicked, 1);

  // A component that is no popup menu is not taken; a freed menu is let go.
  b->SetPopupMenu(other);
  EXPECT_EQ(b->PopupMenu(), nullptr);
  b->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(b->PopupMenu(), nullptr);
}

// An image list of one 16x16 image: a red square in the top-left quarter,
// the rest masked.
std::unique_ptr<TBitmap> RedCorner() {
  auto image = std::make_unique<TBitmap>();
  image->SetSize(16, 16);
  image->Canvas()->Brush()->SetColor(clWhite);
  image->Canvas()->FillRect({0, 0, 16, 16});
  image->Canvas()->Brush()->SetColor(clRed);
  image->Canvas()->FillRect({0, 0, 8, 8});
  return image;
}

TEST_F(ButtonTest, TakesTheActionsStateClickAndImage) {
  auto* images = new TImageList(form.get());
  images->SetWidth(16);
  images->SetHeight(16);
  images->AddMasked(RedCorner().get(), clWhite);
  auto* list = new TActionList(form.get());
  list->SetImages(images);
  auto* action = new TAction(form.get());
  action->SetActionList(list);
  action->SetCaption("&Read");
  action->SetHint("Read the radio");
  action->SetImageIndex(0);
  action->SetOnExecute(TNotifyEvent(this, &ButtonTest::Clicked));

  auto* b = new TcxButton(form.get());
  b->SetParent(form.get());
  b->SetAction(action);
  EXPECT_EQ(b->Caption(), "&Read");
  EXPECT_EQ(b->GetHint(), "Read the radio");
  TBitmap* glyph = b->Glyph();
  ASSERT_EQ(glyph->Width(), 16);
  ASSERT_EQ(glyph->Height(), 16);
  EXPECT_EQ(glyph->Canvas()->Pixels(2, 2), clRed);
  EXPECT_EQ(glyph->Canvas()->Pixels(12, 12), clFuchsia) << "the masked part";
  EXPECT_FALSE(b->GlyphModified());
  b->Click();
  EXPECT_EQ(clicks, 1);
  action->SetEnabled(false);
  action->SetVisible(false);
  EXPECT_FALSE(b->Enabled());
  EXPECT_FALSE(b->Visible());
  b->Click();
  EXPECT_EQ(clicks, 1) << "a disabled action does not run";

  // A glyph of the button's own is kept.
  auto* own = new TcxButton(form.get());
  TBitmap lime;
  lime.SetSize(8, 8);
  lime.Canvas()->Brush()->SetColor(clLime);
  lime.Canvas()->FillRect({0, 0, 8, 8});
  own->SetGlyph(&lime);
  own->SetAction(action);
  EXPECT_EQ(own->Glyph()->Width(), 8);
  EXPECT_EQ(own->Glyph()->Canvas()->Pixels(2, 2), clLime);

  // An index outside the list gives no glyph; a valid one given later does.
  auto* second = new TAction(form.get());
  second->SetActionList(list);
  second->SetImageIndex(1);
  auto* late = new TcxButton(form.get());
  late->SetAction(second);
  EXPECT_TRUE(late->Glyph()->Empty());
  second->SetImageIndex(-1);
  EXPECT_TRUE(late->Glyph()->Empty());
  second->SetImageIndex(0);
  EXPECT_EQ(late->Glyph()->Canvas()->Pixels(2, 2), clRed);
}

TEST(ButtonStream, AButtonNamingAnActionInAFormFileTakesItsStateAndImage) {
  InitializeEditors();
  // The image list's data as the form file keeps it.
  std::string imagesText;
  {
    TForm source(nullptr);
    source.SetName("Source");
    auto* images = new TImageList(&source);
    images->SetName("Images1");
    images->AddMasked(RedCorner().get(), clWhite);
    imagesText = WriteComponentText(&source);
    const size_t from = imagesText.find("  object Images1");
    const size_t to = imagesText.rfind("end");
    ASSERT_NE(from, std::string::npos);
    imagesText = imagesText.substr(from, to - from);
  }
  const std::string text = R"(object Form1: TForm
  Width = 300
  Height = 200
  object ReadButton: TcxButton
    Left = 8
    Top = 8
    Width = 90
    Height = 25
    Action = ReadAction
    Kind = cxbkDropDownButton
    Margin = 2
  end
  object ActionList1: TActionList
    Images = Images1
    object ReadAction: TAction
      Caption = '&Read'
      Hint = 'Read the radio'
      Enabled = False
      ImageIndex = 0
    end
  end
)" + imagesText + "end\n";
  TForm form(nullptr);
  ReadComponentText(text, &form);
  auto* button = dynamic_cast<TcxButton*>(form.FindComponent("ReadButton"));
  ASSERT_NE(button, nullptr);
  ASSERT_NE(button->Action(), nullptr);
  EXPECT_EQ(button->Action()->Name(), "ReadAction");
  EXPECT_EQ(button->Caption(), "&Read");
  EXPECT_EQ(button->GetHint(), "Read the radio");
  EXPECT_FALSE(button->Enabled());
  EXPECT_EQ(button->Kind(), cxbkDropDownButton);
  EXPECT_EQ(button->Margin(), 2);
  ASSERT_EQ(button->Glyph()->Width(), 16) << "the list's images were named after the action";
  EXPECT_EQ(button->Glyph()->Canvas()->Pixels(2, 2), clRed);
}

TEST(ButtonStream, ColorsAreWrittenOnlyWhenOneIsAssigned) {
  InitializeEditors();
  TForm form(nullptr);
  form.SetName("Form1");
  auto* button = new TcxButton(&form);
  button->SetName("Plain");
  button->SetParent(&form);
  EXPECT_EQ(WriteComponentText(&form).find("Colors"), std::string::npos) << "no colour assigned, nothing written";
  button->Colors()->SetNormal(clRed);
  const std::string text = WriteComponentText(&form);
  EXPECT_NE(text.find("Colors.Normal = clRed"), std::string::npos) << text;
}

}  // namespace
