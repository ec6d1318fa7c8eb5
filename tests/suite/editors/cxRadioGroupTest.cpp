// The suite's stand-alone radio button: groups by click, focus and arrow
// keys, the hot and pressed states from the mouse, the keyboard context
// menu, and painting with our renderer and with no styles. The radio
// group: values and items, keyboard and mouse, reading from a form, and
// the marks it paints itself.
#include "suite/editors/cxRadioGroup.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/FormFiles.h"
#include "platform/win/ChildNotify.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/ThemeSchema.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/foundation/cxVariants.h"
#include "suite/foundation/cxControlRoutines.h"
#include "suite/foundation/dxThemeManager.h"
#include "suite/foundation/dxUxTheme.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

class RadioButtonTest : public ::testing::Test {
 public:
  void Clicked(TObject* Sender) { clicks.push_back(static_cast<TcxRadioButton*>(Sender)); }

 protected:
  void SetUp() override {
    InitializeEditors();
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 300, 200);
    first = new TEdit(form.get());
    first->SetParent(form.get());
    first->SetBounds(150, 10, 100, 20);
    for (int i = 0; i < 3; ++i) {
      auto* b = new TcxRadioButton(form.get());
      b->SetParent(form.get());
      b->SetBounds(20, 20 + 30 * i, 100, 17);
      b->SetCaption("COM" + std::to_string(i + 1));
      b->OnClick = TNotifyEvent(this, &RadioButtonTest::Clicked);
      radios[i] = b;
    }
    form->Show();
    first->SetFocus();
    Pump();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  static void Pump() { Application->ProcessMessages(); }
  static win::POINT Screen(TControl* c, Integer x, Integer y) {
    const TPoint p = c->ClientToScreen({x, y});
    return {p.X, p.Y};
  }
  std::vector<bool> CheckedOnes() const {
    return {radios[0]->Checked(), radios[1]->Checked(), radios[2]->Checked()};
  }

  std::unique_ptr<TForm> form;
  TEdit* first = nullptr;
  TcxRadioButton* radios[3] = {};
  std::vector<TcxRadioButton*> clicks;
};

TEST_F(RadioButtonTest, ClickFocusAndArrowsCheckOneOfTheGroup) {
  EXPECT_FALSE(radios[0]->TabStop());
  win::InjectClick(Screen(radios[1], 30, 8));
  Pump();
  EXPECT_EQ(CheckedOnes(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(clicks, (std::vector<TcxRadioButton*>{radios[1]})) << "one click, not one per message";
  EXPECT_TRUE(radios[1]->TabStop()) << "the checked button takes the tab stop";

  // The arrow keys move the focus along the group; arriving checks.
  form->Perform(CM_DIALOGKEY, win::VK_DOWN, 0);
  Pump();
  EXPECT_TRUE(radios[2]->Focused());
  EXPECT_EQ(CheckedOnes(), (std::vector<bool>{false, false, true}));
  EXPECT_FALSE(radios[1]->TabStop());
  form->Perform(CM_DIALOGKEY, win::VK_UP, 0);
  form->Perform(CM_DIALOGKEY, win::VK_UP, 0);
  Pump();
  EXPECT_EQ(CheckedOnes(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(clicks.size(), 4u);

  // Tabbing into the checked one fires nothing.
  first->SetFocus();
  clicks.clear();
  form->Perform(CM_DIALOGKEY, win::VK_TAB, 0);
  Pump();
  EXPECT_TRUE(radios[0]->Focused());
  EXPECT_TRUE(clicks.empty());
}

TEST_F(RadioButtonTest, FocusArrivingAtAnUncheckedButtonClicksItOnce) {
  radios[2]->SetFocus();
  Pump();
  EXPECT_EQ(CheckedOnes(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(clicks, (std::vector<TcxRadioButton*>{radios[2]}));
  radios[2]->SetFocus();
  first->SetFocus();
  radios[2]->SetFocus();
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(RadioButtonTest, StatesFollowTheMouseTheCaptureAndTheKeys) {
  TcxRadioButton* b = radios[0];
  auto moveTo = [&](Integer x, Integer y) {
    win::InjectMouseMove(Screen(b, x, y));
    Pump();
  };
  // Out of the button; the leave notice comes from the application's idle
  // check or the tracking timer, sent here at once.
  auto leave = [&] {
    moveTo(10, 40);
    b->Perform(CM_MOUSELEAVE, 0, 0);
  };
  EXPECT_EQ(b->State(), cxRadioStateNormal);
  moveTo(10, 8);
  EXPECT_EQ(b->State(), cxRadioStateHot);
  leave();
  EXPECT_EQ(b->State(), cxRadioStateNormal);

  // A modifier held while moving in keeps it normal.
  win::InjectKey(win::VK_SHIFT, true);
  moveTo(10, 8);
  EXPECT_EQ(b->State(), cxRadioStateNormal);
  win::InjectKey(win::VK_SHIFT, false);
  moveTo(11, 8);
  EXPECT_EQ(b->State(), cxRadioStateHot);

  // Pressed, dragged out while the capture holds: hot; back in: pressed.
  win::InjectMouseButton(win::VK_LBUTTON, true, Screen(b, 11, 8));
  Pump();
  EXPECT_EQ(b->State(), cxRadioStatePressed);
  moveTo(10, 40);
  EXPECT_EQ(b->State(), cxRadioStateHot);
  moveTo(10, 8);
  EXPECT_EQ(b->State(), cxRadioStatePressed);
  win::InjectMouseButton(win::VK_LBUTTON, false, Screen(b, 10, 8));
  Pump();
  EXPECT_EQ(b->State(), cxRadioStateHot);
  EXPECT_TRUE(b->Checked());

  // Leaving ends the tracking; disabling gives the disabled state.
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(b->State(), cxRadioStateNormal);
  EXPECT_FALSE(IsMouseTracked(b));
  b->SetEnabled(false);
  EXPECT_EQ(b->State(), cxRadioStateDisabled);
}

TEST_F(RadioButtonTest, PortButtonsInAGroupBoxPaintThroughTheirWindowsAndCheckAlone) {
  VisualStylesScope styled(true);
  form->SetBounds(100, 100, 320, 260);
  auto* box = new TGroupBox(form.get());
  box->SetParent(form.get());
  box->SetBounds(150, 5, 150, 195);
  box->SetCaption("Port");
  std::vector<TcxRadioButton*> ports;
  for (int i = 0; i < 20; ++i) {
    auto* b = new TcxRadioButton(form.get());
    b->SetEnabled(false);
    b->LookAndFeel()->SetNativeStyle(true);
    b->SetParent(box);
    b->SetBounds(5 + 70 * (i % 2), 15 + 17 * (i / 2), 65, 17);
    b->SetCaption("COM" + std::to_string(i + 1));
    ports.push_back(b);
  }
  Pump();
  for (TcxRadioButton* b : ports) {
    win::UpdateWindow(b->Handle());
    EXPECT_EQ(b->State(), cxRadioStateDisabled);
    EXPECT_GT(b->ButtonRect().Right, b->ButtonRect().Left) << "painted through the group box's reflected draw-item message";
  }
  for (TcxRadioButton* b : ports) b->SetEnabled(true);
  win::InjectClick(Screen(ports[6], 30, 8));
  Pump();
  for (int i = 0; i < 20; ++i) EXPECT_EQ(ports[static_cast<size_t>(i)]->Checked(), i == 6) << i;
  win::InjectClick(Screen(ports[3], 30, 8));
  Pump();
  EXPECT_FALSE(ports[6]->Checked());
  EXPECT_TRUE(ports[3]->Checked());
}

class ContextRadioButton : public TcxRadioButton {
 public:
  using TcxRadioButton::TcxRadioButton;
  TPoint Asked{-1, -1};
  TComponent* Menu = nullptr;

  bool ShowContextMenu(TComponent* AMenu, Integer X, Integer Y) override {
    Asked = {X, Y};
    Menu = AMenu;
    return true;
  }
};

TEST_F(RadioButtonTest, KeyboardContextMenuOpensAtTheTopLeftCorner) {
  auto* b = new ContextRadioButton(form.get());
  b->SetParent(form.get());
  b->SetBounds(150, 60, 100, 17);
  auto* menu = new TPopupMenu(form.get());
  b->SetPopupMenu(menu);
  const auto result = b->Perform(win::WM_CONTEXTMENU, reinterpret_cast<win::WPARAM>(b->Handle()),
                                 win::MAKELPARAM(0xFFFF, 0xFFFF));
  EXPECT_EQ(result, 1);
  EXPECT_EQ(b->Menu, menu);
  EXPECT_EQ(b->Asked, b->ClientToScreen({0, 0}));
  // A component that is no menu is not taken; a freed menu is let go.
  b->SetPopupMenu(first);
  EXPECT_EQ(b->PopupMenu(), nullptr);
  b->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(b->PopupMenu(), nullptr);
}

// Paints the button as its window would be told to, into a bitmap.
class RadioPaintTest : public RadioButtonTest, public TestSurface {
 protected:
  void SetUp() override {
    RadioButtonTest::SetUp();
    b = radios[0];
    // Neither white (the embossed text's highlight) nor black (the text).
    b->SetColor(clLime);
    b->Font()->SetColor(clBlack);
  }
  void Draw() {
    Reset(b->Width(), b->Height());
    win::DRAWITEMSTRUCT item{};
    item.CtlType = win::ODT_BUTTON;
    item.hDC = bitmap->Canvas()->Handle();
    item.rcItem = {0, 0, b->Width(), b->Height()};
    b->Perform(CN_DRAWITEM, 0, reinterpret_cast<win::LPARAM>(&item));
  }
  // Pixels of a colour inside R.
  Integer CountIn(const TRect& r, TColor c) const {
    Integer n = 0;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) n += Is(x, y, c);
    return n;
  }
  std::vector<std::string> Mark() const { return Rows(b->ButtonRect()); }
  TRect CaptionArea() const {
    const TRect m = b->ButtonRect();
    return b->Alignment() == taLeftJustify ? TRect{0, 0, m.Left, b->Height()}
                                           : TRect{m.Right, 0, b->Width(), b->Height()};
  }

  TcxRadioButton* b = nullptr;
};

TEST_F(RadioPaintTest, PainterMarkShowsCheckedHotAndDisabledWithNoStyles) {
  VisualStylesScope classic(false);  // no styles: the look-and-feel painter
  b->LookAndFeel()->SetKind(lfStandard);
  Draw();
  const TSize s = RadioButtonSize();
  EXPECT_GT(s.cx, 0);
  EXPECT_EQ(b->ButtonRect(), (TRect{1, (17 - s.cy) / 2, 1 + s.cx, (17 - s.cy) / 2 + s.cy}));
  const auto unchecked = Mark();
  b->SetChecked(true);
  Draw();
  EXPECT_NE(Mark(), unchecked) << "the checked mark has its dot";
  const auto checked = Mark();
  b->SetEnabled(false);
  Draw();
  EXPECT_NE(Mark(), checked) << "the disabled mark";
  // The painter's disabled caption is embossed: shadow text over a
  // highlight copy.
  EXPECT_GT(CountIn(CaptionArea(), clBtnShadow), 0);
  EXPECT_GT(CountIn(CaptionArea(), clBtnHighlight), 0);
  EXPECT_EQ(CountIn(CaptionArea(), clBlack), 0);
}

TEST_F(RadioPaintTest, EachLookDrawsItsOwnMarkForEachStateWithNoStyles) {
  VisualStylesScope classic(false);
  std::vector<std::vector<std::string>> checkedLooks;
  for (TcxLookAndFeelKind kind : {lfStandard, lfFlat, lfUltraFlat, lfOffice11}) {
    SCOPED_TRACE(kind);
    b->LookAndFeel()->SetKind(kind);
    b->SetEnabled(true);
    b->SetChecked(false);
    Draw();
    const auto unchecked = Mark();
    b->SetChecked(true);
    Draw();
    const auto checked = Mark();
    EXPECT_NE(checked, unchecked);
    b->SetEnabled(false);
    Draw();
    EXPECT_NE(Mark(), checked) << "disabled";
    checkedLooks.push_back(checked);
  }
  EXPECT_NE(checkedLooks[0], checkedLooks[2]) << "standard and ultra-flat marks differ";
  b->SetEnabled(true);
}

TEST_F(RadioPaintTest, NativeMarkWithOurRendererKeepsTheDisabledCaptionPlain) {
  VisualStylesScope styled(true);
  b->LookAndFeel()->SetNativeStyle(true);
  ASSERT_TRUE(b->IsNativeStyle());
  b->SetParentBackground(false);
  Draw();
  const auto normal = Mark();
  EXPECT_EQ(b->ButtonRect().Left, 0) << "the native mark starts at the edge";
  EXPECT_GT(CountIn(CaptionArea(), clBlack), 0);
  b->SetChecked(true);
  Draw();
  EXPECT_NE(Mark(), normal);
  b->SetEnabled(false);
  Draw();
  EXPECT_GT(CountIn(CaptionArea(), clBtnShadow), 0);
  EXPECT_EQ(CountIn(CaptionArea(), clBtnHighlight), 0) << "plain, not embossed";
}

TEST_F(RadioPaintTest, FocusRectangleStaysLeftOfARightHandMarkAndNeedsACaption) {
  VisualStylesScope classic(false);
  b->LookAndFeel()->SetKind(lfStandard);
  b->SetAlignment(taLeftJustify);
  b->SetCaption("A rather long caption that runs on");
  b->SetChecked(true);
  // What the focus adds: the difference between a focused and an
  // unfocused picture, outside the mark's own rows.
  auto pixels = [&] {
    std::vector<TColor> all;
    for (Integer y = 0; y < b->Height(); ++y)
      for (Integer x = 0; x < b->Width(); ++x) all.push_back(Px(x, y));
    return all;
  };
  auto focusDots = [&](bool leftOfMark) {
    first->SetFocus();
    Draw();
    const auto before = pixels();
    b->SetFocus();
    EXPECT_TRUE(b->Focused());
    Draw();
    const auto after = pixels();
    const TRect m = b->ButtonRect();
    Integer n = 0;
    for (Integer y = 0; y < b->Height(); ++y)
      for (Integer x = 0; x < b->Width(); ++x) {
        const auto i = static_cast<size_t>(y * b->Width() + x);
        if ((x < m.Left) == leftOfMark && (y < m.Top || y >= m.Bottom)) n += before[i] != after[i];
      }
    return n;
  };
  EXPECT_GT(focusDots(true), 0);
  EXPECT_EQ(b->ButtonRect().Right, b->Width()) << "the mark sits at the right edge";
  EXPECT_EQ(focusDots(false), 0) << "the focus rectangle keeps left of the mark";

  b->SetCaption("");
  EXPECT_EQ(focusDots(true), 0) << "no caption, no focus rectangle";
}

}  // namespace

// --- the radio group --------------------------------------------------------------------------

namespace {

class RadioGroupTest : public ::testing::Test {
 public:
  void Clicked(TObject*) { ++clicks; }
  void Changed(TObject*) { ++changes; }

 protected:
  void SetUp() override {
    InitializeEditors();
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 400, 300);
    before = new TEdit(form.get());
    before->SetParent(form.get());
    before->SetBounds(250, 10, 100, 20);
    group = new TcxRadioGroup(form.get());
    group->SetParent(form.get());
    group->SetBounds(10, 10, 200, 150);
    group->SetCaption("Baud");
    for (const char* c : {"A", "B", "C"}) Props()->RadioItems()->Add()->SetCaption(c);
    group->OnClick = TNotifyEvent(this, &RadioGroupTest::Clicked);
    Props()->OnChange = TNotifyEvent(this, &RadioGroupTest::Changed);
    form->Show();
    before->SetFocus();
    Pump();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  static void Pump() { Application->ProcessMessages(); }
  TcxRadioGroupProperties* Props() const { return static_cast<TcxRadioGroupProperties*>(group->Properties()); }
  std::vector<bool> Checked() const {
    std::vector<bool> r;
    for (Integer i = 0; i < group->ButtonCount(); ++i) r.push_back(group->RadioButton(i)->Checked());
    return r;
  }
  static win::POINT Screen(TControl* c, Integer x, Integer y) {
    const TPoint p = c->ClientToScreen({x, y});
    return {p.X, p.Y};
  }

  std::unique_ptr<TForm> form;
  TEdit* before = nullptr;
  TcxRadioGroup* group = nullptr;
  Integer clicks = 0;
  Integer changes = 0;
};

TEST_F(RadioGroupTest, TheEditValueChecksTheItemItStandsFor) {
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->ItemIndex(), -1);
  struct Case {
    Variant value;
    Integer index;
  };
  for (const Case& c : {Case{"B", 1}, Case{"b", -1}, Case{"C", 2}, Case{Null(), -1}}) {
    SCOPED_TRACE(VarToStr(c.value));
    group->SetEditValue(c.value);
    EXPECT_EQ(group->ItemIndex(), c.index);
    EXPECT_TRUE(VarEqualsSameType(group->EditValue(), c.value)) << "an unknown value stays the edit value";
  }
  // Values before captions, in item order; the comparison of values is
  // the loose one.
  Props()->RadioItems()->ItemAt(0)->SetValue(10);
  Props()->RadioItems()->ItemAt(1)->SetCaption("10");
  Props()->RadioItems()->ItemAt(2)->SetValue("True");
  group->SetEditValue(10);
  EXPECT_EQ(group->ItemIndex(), 0);
  group->SetEditValue("10");
  EXPECT_EQ(Props()->IndexOfValue("10"), 0) << "\"10\" equals the value 10 too";
  group->SetEditValue(true);
  EXPECT_EQ(group->ItemIndex(), 2);

  // A checked item gives its value, or its caption without one.
  group->SetItemIndex(1);
  EXPECT_TRUE(VarEqualsSameType(group->EditValue(), "10"));
  group->SetItemIndex(0);
  EXPECT_TRUE(VarEqualsSameType(group->EditValue(), 10));
}

TEST_F(RadioGroupTest, ItemIndexIsClampedAndNoneCheckedGivesTheDefaults) {
  Props()->SetDefaultValue(-1);
  Props()->SetDefaultCaption(u"none");
  group->SetItemIndex(5);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_EQ(Checked(), (std::vector<bool>{false, false, true}));
  group->SetItemIndex(-7);
  EXPECT_EQ(group->ItemIndex(), -1);
  EXPECT_EQ(Checked(), (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(VarEqualsSameType(group->EditValue(), -1));
  EXPECT_EQ(Props()->DisplayTextOf(group->EditValue(), true), u"none");
  EXPECT_EQ(Props()->DisplayTextOf("B", true), u"B");
  EXPECT_TRUE(Props()->EditValuesEqual("A", "A"));
  EXPECT_TRUE(Props()->EditValuesEqual("x", "y")) << "both stand for no item";
  EXPECT_FALSE(Props()->EditValuesEqual("A", "B"));
  EXPECT_EQ(Props()->SupportedOperations(), 0x8AFu | 0x1010u);
}

TEST_F(RadioGroupTest, OnlyAChangeOfTheCheckedItemClicksAndChanges) {
  group->SetItemIndex(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(changes, 1);
  group->SetItemIndex(1);
  EXPECT_EQ(clicks, 1) << "the same item again";
  EXPECT_EQ(changes, 1);
  group->SetEditValue("C");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(clicks, 1) << "a value set by the program does not click";
}

TEST_F(RadioGroupTest, FiveItemsInFourColumnsKeepTheEmptyFourthColumn) {
  Props()->RadioItems()->Add()->SetCaption("D");
  Props()->RadioItems()->Add()->SetCaption("E");
  Props()->SetColumns(4);
  EXPECT_EQ(Props()->ColumnCount(), 4);
  EXPECT_EQ(Props()->RowCount(), 2);
  auto* vi = group->GroupViewInfo();
  const TRect inner = vi->InnerControlRect;
  const Integer w = (inner.Width() - 6) / 4;
  EXPECT_EQ(vi->Button(4)->Bounds.Left, inner.Left + 6 + 2 * w) << "E opens the third column";
  EXPECT_EQ(vi->Button(4)->Bounds.Width(), w) << "a quarter each";
}

TEST_F(RadioGroupTest, ContentSizeFromTheCaptionsOrTheWidthGiven) {
  VisualStylesScope classic(false);  // the painter's mark and gaps
  auto viewData = group->CreateLayoutViewData();
  TcxCanvas* canvas = ContainerScreenCanvas();
  canvas->AssignFont(group->Style()->Font());
  // A line of text and the content's top offset.
  const Integer th = canvas->MeasureTextHeight("Zg") + viewData->ContentParams.Offsets.Top;
  const TSize mark = RadioButtonSize();
  Props()->RadioItems()->ItemAt(1)->SetCaption("Wider");
  Props()->SetColumns(2);
  TSize size{};
  viewData->ContentSize(canvas, Null(), TcxEditSizeLimits{1, -1}, size);
  EXPECT_EQ(size.cx, (canvas->MeasureTextWidth("Wider") + 7 + mark.cx) * 2 + 6);
  EXPECT_EQ(size.cy, std::max(mark.cy, th) * 2);

  // For a given width a long caption wraps into more lines when asked to.
  Props()->RadioItems()->ItemAt(0)->SetCaption("one two three four five six seven eight");
  viewData->ContentSize(canvas, Null(), TcxEditSizeLimits{1, 120}, size);
  EXPECT_EQ(size.cx, 120);
  EXPECT_EQ(size.cy, th * 2) << "single lines";
  Props()->SetWordWrap(true);
  viewData->ContentSize(canvas, Null(), TcxEditSizeLimits{1, 120}, size);
  EXPECT_GE(size.cy, th * 2 * 3) << "the wrapped caption raises every row";
  EXPECT_EQ(size.cy % 2, 0);

  Props()->RadioItems()->Clear();
  viewData->ContentSize(canvas, Null(), TcxEditSizeLimits{1, -1}, size);
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, th);
}

TEST_F(RadioGroupTest, ButtonStatesFollowThePointAndTheMouseButton) {
  auto* vi = group->GroupViewInfo();
  const TRect second = vi->Button(1)->Bounds;
  const TPoint over{second.Left + 10, second.Top + 5};
  struct Case {
    Integer button;
    TShiftState shift;
    bool enabled;
    TcxEditButtonState state;
    Integer hot, pressed;
  };
  for (const Case& c : {Case{cxmbNone, {}, true, ebbsHot, 1, -1}, Case{cxmbLeft, {ssLeft}, true, ebbsPressed, -1, 1},
                        Case{cxmbNone, {ssRight}, true, ebbsNormal, -1, -1},
                        Case{cxmbNone, {}, false, ebbsDisabled, -1, -1}}) {
    SCOPED_TRACE(c.state);
    auto viewData = group->CreateLayoutViewData();
    viewData->Enabled = c.enabled;
    viewData->ComputeLayout(ContainerScreenCanvas(), {0, 0, group->Width(), group->Height()}, over, c.button, c.shift,
                            vi, false);
    EXPECT_EQ(vi->Button(1)->State, c.state);
    EXPECT_EQ(vi->Button(0)->State, c.enabled ? ebbsNormal : ebbsDisabled) << "not under the point";
    EXPECT_EQ(vi->HotButton, c.hot);
    EXPECT_EQ(vi->PressedButton, c.pressed);
  }
}

TEST(RadioGroupPropertiesTest, AssignCopiesItemsValuesAndDefaults) {
  InitializeEditors();
  TcxRadioGroupProperties source(nullptr), target(nullptr);
  TcxRadioGroupItem* item = source.RadioItems()->Add();
  item->SetCaption("Fast");
  item->SetValue(2);
  item->SetTag(7);
  item->SetEnabled(false);
  source.SetColumns(3);
  source.SetWordWrap(true);
  source.SetDefaultCaption(u"none");
  source.SetDefaultValue(0);
  target.Assign(&source);
  ASSERT_EQ(target.RadioItems()->Count(), 1);
  TcxRadioGroupItem* copy = target.RadioItems()->ItemAt(0);
  EXPECT_EQ(copy->Caption(), "Fast");
  EXPECT_TRUE(VarEqualsSameType(copy->Value(), 2));
  EXPECT_EQ(copy->Tag(), 7);
  EXPECT_FALSE(copy->Enabled());
  EXPECT_EQ(target.Columns(), 3);
  EXPECT_TRUE(target.WordWrap());
  EXPECT_EQ(target.DefaultCaption(), u"none");
  EXPECT_TRUE(VarEqualsSameType(target.DefaultValue(), 0));
  EXPECT_EQ(target.ColumnCount(), 1) << "no more columns than items";
}

TEST_F(RadioGroupTest, ArrivingAtAButtonChecksItAsTheUsersChange) {
  win::InjectClick(Screen(group->Buttons(2), 30, group->Buttons(2)->Height() / 2));
  Pump();
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_TRUE(group->Buttons(2)->Focused());
  EXPECT_TRUE(group->Focused()) << "a focused button is the group's focus";
  EXPECT_FALSE(group->HasFocus()) << "the group's own window has none";
  EXPECT_TRUE(VarEqualsSameType(group->EditValue(), "C"));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(group->ModifiedAfterEnter());

  // The accelerator of the caption brings the focus to the checked button.
  before->SetFocus();
  Pump();
  group->SetCaption("&Baud");
  form->Perform(CM_DIALOGCHAR, 'b', 0);
  Pump();
  EXPECT_TRUE(group->Buttons(2)->Focused());
}

TEST_F(RadioGroupTest, ActivationFocusesTheCheckedButtonAndPassesAClickToTheButtonUnderIt) {
  group->SetItemIndex(2);
  std::unique_ptr<TcxCustomEditData> data;
  group->ActivateEditing(data);
  Pump();
  EXPECT_TRUE(group->Buttons(2)->Focused());

  before->SetFocus();
  Pump();
  const TRect first = group->GroupViewInfo()->Button(0)->Bounds;
  const Integer x = group->Left() + first.Left + 10, y = group->Top() + first.Top + 5;
  group->ActivateByMouse(TShiftState{ssLeft}, x, y, data);
  group->ActivateByMouse(TShiftState{}, x, y, data);
  Pump();
  EXPECT_TRUE(group->Buttons(0)->Focused());
  EXPECT_EQ(group->ItemIndex(), 0) << "the click went to the button under it";
}

TEST_F(RadioGroupTest, ButtonsTakeTheGroupsLookDragSettingsAndFocusRequests) {
  group->Style()->SetColor(clYellow);
  group->Style()->SetTextColor(clNavy);
  group->StyleDisabled()->SetTextColor(clMaroon);
  group->GetStyle()->SetEditBorderStyle(ebsFlat);
  Props()->RadioItems()->ItemAt(1)->SetEnabled(false);
  group->RecalculateAtCursor(false);
  TcxCustomRadioGroupButton* enabled = group->RadioButton(0);
  TcxCustomRadioGroupButton* disabled = group->RadioButton(1);
  EXPECT_EQ(enabled->Color(), clYellow);
  EXPECT_EQ(enabled->Font()->GetColor(), clNavy);
  EXPECT_EQ(disabled->Font()->GetColor(), clMaroon) << "a disabled button takes the disabled style's text colour";
  EXPECT_EQ(enabled->LookAndFeel()->Kind(), lfFlat) << "a flat border gives flat marks";
  EXPECT_FALSE(enabled->ParentShowHint());

  group->SetDragMode(dmAutomatic);
  group->AssignDragKind(dkDock);
  for (Integer i = 0; i < group->ButtonCount(); ++i) {
    EXPECT_EQ(group->Buttons(i)->DragMode(), dmAutomatic);
    EXPECT_EQ(group->Buttons(i)->DragKind, dkDock);
  }
  group->SetDragMode(dmManual);

  group->Perform(CM_FOCUSRADIOBUTTON, 2, 0);
  Pump();
  EXPECT_TRUE(group->Buttons(2)->Focused());
  group->Perform(CM_FOCUSRADIOBUTTON, 9, 0);
  group->Perform(CM_FOCUSRADIOBUTTON, 1, 0);
  Pump();
  EXPECT_TRUE(group->Buttons(2)->Focused()) << "no such button, and a disabled one cannot take the focus";
}

TEST_F(RadioGroupTest, AReadOnlyGroupKeepsItsValueAgainstKeysAndClicks) {
  group->SetItemIndex(0);
  Props()->SetReadOnly(true);
  win::InjectClick(Screen(group->Buttons(1), 30, group->Buttons(1)->Height() / 2));
  Pump();
  EXPECT_EQ(group->ItemIndex(), 0) << "a click does not check an unchecked button";
  EXPECT_EQ(Checked(), (std::vector<bool>{true, false, false}));
  for (char32_t key : {U' ', U'\b'}) {
    char32_t k = key;
    group->RadioButton(1)->Perform(win::WM_CHAR, k, 0);
    Pump();
  }
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_TRUE(VarEqualsSameType(group->EditValue(), "A"));
}

TEST_F(RadioGroupTest, TheTabOrderHoldsTheGroupByTabStopAndTheCheckedButton) {
  std::vector<TWinControl*> list{group};
  group->GetTabOrderList(list);
  EXPECT_EQ(list, (std::vector<TWinControl*>{group})) << "nothing checked: no button";
  group->SetItemIndex(1);
  list = {group};
  group->GetTabOrderList(list);
  EXPECT_EQ(list, (std::vector<TWinControl*>{group, group->Buttons(1)}));
  group->SetTabStop(false);
  list = {group};
  group->GetTabOrderList(list);
  EXPECT_EQ(list, (std::vector<TWinControl*>{group->Buttons(1)}));
}

TEST_F(RadioGroupTest, ARepositoryItemsPropertiesGiveTheButtons) {
  const Integer registered = GetRegisteredEditProperties()->IndexOfClass(TcxRadioGroupProperties::StaticClass());
  ASSERT_GE(registered, 0);
  EXPECT_EQ(GetRegisteredEditProperties()->Descriptions(registered), "RadioGroup|Represents a group of radio buttons");
  auto* item = new TcxEditRepositoryRadioGroupItem(form.get());
  auto* shared = static_cast<TcxRadioGroupProperties*>(item->Properties());
  for (const char* c : {"4800", "9600"}) shared->RadioItems()->Add()->SetCaption(c);
  group->SetRepositoryItem(item);
  ASSERT_EQ(group->ButtonCount(), 2);
  EXPECT_EQ(group->RadioButton(1)->Caption(), "9600");
  group->SetEditValue("9600");
  EXPECT_EQ(group->ItemIndex(), 1);
}

TEST(RadioGroupStream, TheItemIndexReadIsAppliedOnceLoadedWithoutEvents) {
  InitializeEditors();
  const std::string text = R"(object Form1: TForm
  object Speed: TcxRadioGroup
    Left = 8
    Top = 8
    Caption = 'Speed'
    ItemIndex = 1
    Properties.Columns = 2
    Properties.DefaultValue = 0
    Properties.Items = <
      item
        Caption = 'Slow'
        Value = 1
      end
      item
        Caption = 'Fast'
        Value = 2
      end
      item
        Caption = 'Off'
      end>
  end
end
)";
  TForm form(nullptr);
  ReadComponentText(text, &form);
  auto* group = dynamic_cast<TcxRadioGroup*>(form.FindComponent("Speed"));
  ASSERT_NE(group, nullptr);
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_TRUE(VarEqualsSameType(group->EditValue(), 2));
  EXPECT_FALSE(group->Modified());
  const std::string written = WriteComponentText(&form);
  EXPECT_NE(written.find("ItemIndex = 1"), std::string::npos) << written;
  EXPECT_NE(written.find("Value = 2"), std::string::npos) << written;
  EXPECT_EQ(written.find("TabStop"), std::string::npos) << "on by default";
  EXPECT_EQ(written.find("TcxCustomRadioGroupButton"), std::string::npos) << "the buttons are not written";
}

// The marks the group paints itself, where it has no button windows.
class RadioGroupPaintTest : public RadioGroupTest, public TestSurface {
 protected:
  void Draw() {
    group->Style()->SetColor(clLime);
    group->RecalculateAtCursor(false);
    Reset(group->Width(), group->Height());
    auto* vi = static_cast<TcxCustomRadioGroupViewInfo*>(group->ViewInfo());
    for (Integer i = 0; i < vi->ButtonCount(); ++i) vi->PaintButton(canvas.get(), i);
  }
  TRect Mark(Integer i) const {
    const TRect b = group->GroupViewInfo()->Button(i)->Bounds;
    return {b.Left, b.Top, b.Left + markSize.cx, b.Bottom};
  }
  TRect CaptionArea(Integer i) const {
    const TRect b = group->GroupViewInfo()->Button(i)->Bounds;
    return {b.Left + markSize.cx, b.Top, b.Right, b.Bottom};
  }
  Integer CountIn(const TRect& r, TColor c) const {
    Integer n = 0;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) n += Is(x, y, c);
    return n;
  }
  TSize markSize;
};

TEST_F(RadioGroupPaintTest, PainterMarksShowTheCheckedItemWithNoStyles) {
  VisualStylesScope classic(false);
  group->Style()->LookAndFeel()->SetKind(lfStandard);
  markSize = RadioButtonSize();
  group->SetItemIndex(1);
  Draw();
  ASSERT_FALSE(group->GroupViewInfo()->Button(0)->NativeStyle);
  EXPECT_EQ(Rows(Mark(0)), Rows(Mark(2))) << "two unchecked marks alike";
  EXPECT_NE(Rows(Mark(1)), Rows(Mark(0))) << "the checked one has its dot";
  for (Integer i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_GT(CountIn(CaptionArea(i), clBlack), 0) << "the caption";
    EXPECT_GT(CountIn(CaptionArea(i), clLime), 0) << "on the style's colour";
    EXPECT_EQ(CountIn(CaptionArea(i), clWhite), 0);
  }
  group->SetEnabled(false);
  const auto enabled = Rows(Mark(1));
  Draw();
  EXPECT_NE(Rows(Mark(1)), enabled) << "the disabled mark";
}

TEST_F(RadioGroupPaintTest, NativeMarksWithOurRendererFollowTheCheckedItem) {
  VisualStylesScope styled(true);
  group->Style()->LookAndFeel()->SetNativeStyle(true);
  group->SetItemIndex(0);
  Draw();
  auto* b0 = group->GroupViewInfo()->Button(0);
  ASSERT_TRUE(b0->NativeStyle);
  EXPECT_EQ(b0->NativePart, win::BP_RADIOBUTTON);
  EXPECT_EQ(b0->NativeState, win::RBS_CHECKEDNORMAL);
  EXPECT_EQ(group->GroupViewInfo()->Button(1)->NativeState, win::RBS_UNCHECKEDNORMAL);
  win::SIZE size{};
  UxGetThemePartSize(OpenThemeByIndex(ThemeClassButton), canvas->DeviceContext(), win::BP_RADIOBUTTON,
                     win::RBS_CHECKEDNORMAL, win::TS_TRUE, size);
  markSize = {size.cx, size.cy};
  EXPECT_NE(Rows(Mark(0)), Rows(Mark(1)));
  EXPECT_EQ(Rows(Mark(1)), Rows(Mark(2)));
  EXPECT_GT(CountIn(CaptionArea(1), clLime), 0);
  EXPECT_GT(CountIn(CaptionArea(1), clBlack), 0);
  group->SetEnabled(false);
  group->RecalculateAtCursor(false);
  EXPECT_EQ(group->GroupViewInfo()->Button(0)->NativeState, win::RBS_CHECKEDDISABLED);
}

}  // namespace
