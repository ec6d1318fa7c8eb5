// The suite's check box: values and states, the click cycle by mouse and
// Space, silence while loading and through an action, and the check image
// in each look and feel, with our renderer and with no styles.
#include "suite/editors/cxCheckBox.h"

#include <gtest/gtest.h>

#include "platform/forms/ActnList.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/FormFiles.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/SysColors.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditPainting.h"
#include "suite/foundation/cxVariants.h"
#include "tests/suite/foundation/CanvasFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

TEST(CheckBoxProperties, ValuesMapToStatesAndTexts) {
  InitializeEditors();
  TcxCheckBoxProperties p(nullptr);
  struct Case {
    Variant value;
    TcxCheckBoxState state;
    bool valid;
  };
  const Case cases[] = {
      {Variant(true), cbsChecked, true},
      {Variant(false), cbsUnchecked, true},
      {Null(), cbsGrayed, true},
      {Unassigned(), cbsGrayed, false},
      {Variant("abc"), cbsGrayed, false},
      {Variant(7), cbsGrayed, false},
      // A Boolean compares as text: 'True' is the checked value, 1 is not.
      {Variant("True"), cbsChecked, false},
      {Variant(1), cbsGrayed, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(VarToStr(c.value));
    EXPECT_EQ(p.StateOfValue(c.value), c.state);
    Variant v = c.value;
    EXPECT_EQ(p.IsEditValueValid(v, false), c.valid);
  }
  EXPECT_EQ(p.DisplayTextOf(true, true), u"True");
  EXPECT_EQ(p.DisplayTextOf(false, true), u"False");
  EXPECT_EQ(p.DisplayTextOf("abc", true), u"");
  EXPECT_TRUE(p.EditValuesEqual("abc", 7)) << "both grayed";
  EXPECT_FALSE(p.EditValuesEqual(true, false));
  EXPECT_TRUE(p.IsActivationChar(U' '));
  EXPECT_FALSE(p.IsActivationChar(U'x'));
}

TEST(CheckBoxProperties, NoTwoStatesShareAValueAndOnlyGrayedMayBeNull) {
  InitializeEditors();
  TcxCheckBoxProperties p(nullptr);
  Integer notices = 0;
  struct Counter {
    Integer* n;
    void Changed(TObject*) { ++*n; }
  } counter{&notices};
  p.OnPropertiesChanged = TNotifyEvent(&counter, &Counter::Changed);

  p.SetValueChecked(false);  // the unchecked value
  p.SetValueChecked(Null());
  p.SetValueUnchecked(true);
  EXPECT_TRUE(VarEqualsSameType(p.ValueChecked(), true));
  EXPECT_TRUE(VarEqualsSameType(p.ValueUnchecked(), false));
  EXPECT_EQ(notices, 0) << "refused silently";
  EXPECT_FALSE(p.IsValueCheckedStored());

  p.SetValueGrayed(2);
  p.SetValueGrayed(Null());
  EXPECT_TRUE(VarIsNull(p.ValueGrayed()));
  p.SetValueChecked("Y");
  p.SetValueUnchecked("N");
  EXPECT_EQ(notices, 4);
  EXPECT_EQ(p.StateOfValue("Y"), cbsChecked);
  EXPECT_EQ(p.StateOfValue(true), cbsGrayed);
  EXPECT_TRUE(p.IsValueCheckedStored());

  TcxCheckBoxProperties copy(nullptr);
  copy.SetValueGrayed("Y");  // Assign must still take "Y" as the checked value
  copy.Assign(&p);
  EXPECT_TRUE(VarEqualsSameType(copy.ValueChecked(), "Y"));
  EXPECT_TRUE(VarEqualsSameType(copy.ValueUnchecked(), "N"));
  EXPECT_TRUE(VarIsNull(copy.ValueGrayed()));
}

TEST(CheckBoxGlyphs, CellIndexRepeatsByThreesAndNeverLeavesTheStrip) {
  struct Case {
    TcxCheckBoxState state;
    TcxCheckButtonState button;
    Integer count, index;
  };
  const Case cases[] = {
      {cbsUnchecked, cxCheckButtonNormal, 6, 0}, {cbsGrayed, cxCheckButtonHot, 6, 2},
      {cbsChecked, cxCheckButtonPressed, 6, 4},  {cbsGrayed, cxCheckButtonPressed, 6, 5},
      {cbsChecked, cxCheckButtonPressed, 3, 1},  {cbsGrayed, cxCheckButtonPressed, 3, 2},
      {cbsChecked, cxCheckButtonNormal, 1, 1},   {cbsGrayed, cxCheckButtonNormal, 2, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CheckGlyphIndex(c.state, c.button, c.count), c.index) << c.state << " " << c.button << " " << c.count;
}

class CheckBoxTest : public ::testing::Test {
 public:
  void Clicked(TObject*) { events += "click "; }
  void Changed(TObject*) { events += "change "; }
  void ValueChanged(TObject*) { events += "value "; }

 protected:
  void SetUp() override {
    InitializeEditors();
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 300, 200);
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(150, 10, 100, 20);
    box = new TcxCheckBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 10, 121, 21);
    box->SetCaption("Scan");
    Listen(box);
    form->Show();
    other->SetFocus();
    Pump();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  void Listen(TcxCheckBox* b) {
    b->OnClick = TNotifyEvent(this, &CheckBoxTest::Clicked);
    b->Properties()->OnChange = TNotifyEvent(this, &CheckBoxTest::Changed);
    b->Properties()->OnEditValueChanged = TNotifyEvent(this, &CheckBoxTest::ValueChanged);
  }
  static void Pump() { Application->ProcessMessages(); }
  void ClickBox() {
    const TPoint p = box->ClientToScreen({8, 10});
    win::InjectClick({p.X, p.Y});
    Pump();
  }
  TcxCustomCheckBoxProperties* Props() { return box->ActiveCheckProperties(); }

  std::unique_ptr<TForm> form;
  TEdit* other = nullptr;
  TcxCheckBox* box = nullptr;
  std::string events;
};

TEST_F(CheckBoxTest, ANewBoxIsUncheckedWithFalseAndItsClearMakesItUnchecked) {
  TcxCheckBox fresh(nullptr);
  EXPECT_EQ(fresh.State(), cbsUnchecked);
  EXPECT_TRUE(VarEqualsSameType(fresh.EditValue(), false));
  EXPECT_EQ(fresh.Width(), 121);
  EXPECT_TRUE(fresh.ParentColor());

  box->SetEditValue(Null());
  EXPECT_EQ(box->State(), cbsGrayed);
  box->ClearEditValue();
  EXPECT_TRUE(VarEqualsSameType(box->EditValue(), false)) << "cleared to unchecked, not Null";
}

TEST_F(CheckBoxTest, SharedPropertiesDecideAndTheirCaptionReachesTheBox) {
  auto* item = new TcxEditRepositoryCheckBoxItem(form.get());
  auto* shared = static_cast<TcxCheckBoxProperties*>(item->Properties());
  shared->SetValueChecked("Y");
  shared->SetValueUnchecked("N");
  box->SetRepositoryItem(item);
  box->SetEditValue("Y");
  EXPECT_TRUE(box->Checked());
  box->SetChecked(false);
  EXPECT_TRUE(VarEqualsSameType(box->EditValue(), "N"));

  box->ActiveCheckProperties()->SetCaption("Busy lock");
  EXPECT_EQ(box->Caption(), "Busy lock") << "the properties' caption moves to the box";
  EXPECT_FALSE(box->ActiveCheckProperties()->CaptionAssigned());
}

TEST_F(CheckBoxTest, AutoSizeFitsTheHeightToTheCaptionFont) {
  box->SetBounds(10, 10, 121, 40);
  const Integer small = box->Height();
  EXPECT_LT(small, 40) << "the height follows the text, not the bounds asked for";
  EXPECT_GE(small, SystemCheckSize().cy);
  box->Style()->Font()->SetSize(20);
  box->SetBounds(10, 10, 121, 21);
  EXPECT_GT(box->Height(), small);
  box->SetAutoSize(false);
  box->SetBounds(10, 10, 121, 40);
  EXPECT_EQ(box->Height(), 40);
}

TEST_F(CheckBoxTest, AMultiLineCaptionWrapsAndGrowsTheBox) {
  box->SetCaption("Transmit when the channel is busy");
  box->SetBounds(10, 10, 90, 21);
  const Integer oneLine = box->Height();
  EXPECT_FALSE(box->CheckViewInfo()->TextFlags & TextWordBreak);
  box->ActiveCheckProperties()->SetMultiLine(true);
  box->SetBounds(10, 10, 90, 21);
  EXPECT_TRUE(box->CheckViewInfo()->TextFlags & TextWordBreak);
  EXPECT_TRUE(box->CheckViewInfo()->TextFlags & TextTop);
  EXPECT_GE(box->Height(), 2 * oneLine) << "room for the wrapped lines";
}

TEST_F(CheckBoxTest, ClicksCycleThroughGrayedOnlyWhenAllowed) {
  ClickBox();
  EXPECT_EQ(box->State(), cbsChecked);
  EXPECT_TRUE(box->Focused()) << "a click focuses the box";
  // The cycle holds the change events back until the state is set.
  EXPECT_EQ(events, "click change value ") << "one click, not one from the mouse as well";
  ClickBox();
  EXPECT_EQ(box->State(), cbsUnchecked);

  Props()->SetAllowGrayed(true);
  std::vector<TcxCheckBoxState> seen;
  for (int i = 0; i < 3; ++i) {
    ClickBox();
    seen.push_back(box->State());
  }
  EXPECT_EQ(seen, (std::vector<TcxCheckBoxState>{cbsGrayed, cbsChecked, cbsUnchecked}));

  // Read-only refuses the user's change.
  Props()->SetReadOnly(true);
  ClickBox();
  EXPECT_EQ(box->State(), cbsUnchecked);
}

TEST_F(CheckBoxTest, CheckedFromCodeFiresEachEventOnce) {
  box->SetChecked(true);
  EXPECT_EQ(events, "value click change ");
  events.clear();
  box->SetChecked(true);
  EXPECT_EQ(events, "") << "no change, no events";
  // A new value of the same state changes the value alone.
  box->SetEditValue("True");
  EXPECT_EQ(events, "value ");
  EXPECT_TRUE(box->Checked());
}

TEST_F(CheckBoxTest, SpaceShowsPressedAndTogglesOnItsRelease) {
  box->SetFocus();
  Pump();
  box->Perform(win::WM_KEYDOWN, win::VK_SPACE, 0);
  EXPECT_EQ(box->CheckViewInfo()->CheckButtonState, cxCheckButtonPressed);
  EXPECT_FALSE(box->Checked());
  // A click while Space is held does not toggle a second time.
  ClickBox();
  EXPECT_FALSE(box->Checked());
  box->Perform(win::WM_KEYUP, win::VK_SPACE, 0);
  EXPECT_TRUE(box->Checked());
  EXPECT_NE(box->CheckViewInfo()->CheckButtonState, cxCheckButtonPressed);

  // Not in place the character itself does nothing.
  box->Perform(win::WM_CHAR, U' ', 0);
  EXPECT_TRUE(box->Checked());
  // An accelerator focuses and toggles.
  box->SetCaption("&Scan");
  other->SetFocus();
  box->Perform(CM_DIALOGCHAR, 'S', 0);
  EXPECT_TRUE(box->Focused());
  EXPECT_FALSE(box->Checked());
}

TEST_F(CheckBoxTest, InPlaceAKeyPressTogglesAtOnce) {
  auto* inplace = new TcxCheckBox(form.get(), true);
  inplace->SetParent(form.get());
  inplace->SetBounds(10, 60, 40, 18);
  Pump();
  inplace->Perform(win::WM_CHAR, U' ', 0);
  EXPECT_TRUE(inplace->Checked());
  // Without a caption in place the check is centred and no text is drawn.
  EXPECT_EQ(inplace->CheckViewInfo()->Alignment, taCenter);
  const TRect k = inplace->CheckViewInfo()->CheckRect;
  EXPECT_LE(std::abs((k.Left + k.Right) - 40), 1);
}

class TCheckForm : public TForm {
  VXN_DECLARE_CLASS(TCheckForm)

 public:
  using TForm::TForm;
  void BoxClick(TObject*) { events += "click "; }
  void BoxChange(TObject*) { events += "change "; }
  std::string events;
};

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(TCheckForm, TForm)
VXN_PUBLISH(TCheckForm) {
  P.Handler("BoxClick", &TCheckForm::BoxClick);
  P.Handler("BoxChange", &TCheckForm::BoxChange);
}

namespace {

TEST(CheckBoxStream, ALoadedStateIsSilentAndWrittenOnlyWhenNotUnchecked) {
  InitializeEditors();
  RegisterClasses({TCheckForm::StaticClass()});
  const std::string text = R"(object Form1: TCheckForm
  object Box: TcxCheckBox
    Left = 8
    Top = 8
    Caption = 'Busy lock'
    Properties.OnChange = BoxChange
    State = cbsChecked
    OnClick = BoxClick
  end
  object Plain: TcxCheckBox
    Left = 8
    Top = 40
    Caption = 'Plain'
    OnClick = BoxClick
  end
end
)";
  TCheckForm form(nullptr);
  ReadComponentText(text, &form);
  auto* box = dynamic_cast<TcxCheckBox*>(form.FindComponent("Box"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->State(), cbsChecked);
  EXPECT_EQ(form.events, "") << "no events for the initial state";
  box->SetChecked(false);
  EXPECT_EQ(form.events, "click change ");

  const std::string written = WriteComponentText(&form);
  EXPECT_EQ(written.find("State"), std::string::npos) << written;
  EXPECT_EQ(written.find("Checked"), std::string::npos);
  box->SetEditValue(Null());
  EXPECT_NE(WriteComponentText(&form).find("State = cbsGrayed"), std::string::npos);
}

TEST_F(CheckBoxTest, AnActionChecksTheBoxQuietly) {
  auto* list = new TActionList(form.get());
  auto* action = new TAction(form.get());
  action->SetActionList(list);
  action->SetCaption("Compander");
  action->SetChecked(true);
  box->SetAction(action);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(box->Caption(), "Compander");
  EXPECT_EQ(events, "") << "the action's state comes without events";
  EXPECT_FALSE(box->IsStateStored()) << "the action holds it";

  action->SetChecked(false);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(events, "");
  // A grayed box is not linked: the action leaves it alone.
  box->SetEditValue(Null());
  events.clear();
  action->SetChecked(true);
  EXPECT_EQ(box->State(), cbsGrayed);
  EXPECT_TRUE(box->IsStateStored());
}

// --- painting ----------------------------------------------------------------------------------

class CheckPaintTest : public CheckBoxTest, public TestSurface {
 protected:
  void SetUp() override {
    CheckBoxTest::SetUp();
    box->SetColor(clLime);
    box->Style()->SetColor(clLime);
  }
  // The box's view info painted into a bitmap of its size.
  void Draw() {
    box->RecalculateAtCursor(false);
    Reset(box->Width(), box->Height());
    box->ViewInfo()->DrawTo(canvas.get());
  }
  std::vector<std::string> Check() const { return Rows(box->CheckViewInfo()->CheckRect); }
  Integer CountIn(const TRect& r, TColor c) const {
    Integer n = 0;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) n += Is(x, y, c);
    return n;
  }
  TRect Caption() const {
    const TRect k = box->CheckViewInfo()->CheckRect;
    return {k.Right, 0, box->Width(), box->Height()};
  }
};

TEST_F(CheckPaintTest, EachLookShowsItsFrameAndTheThreeStatesWithNoStyles) {
  VisualStylesScope classic(false);
  struct Look {
    TcxLookAndFeelKind kind;
    TcxEditBorderStyle border;
    TColor frame;  // a colour the frame's top row shows
  };
  const Look looks[] = {{lfStandard, ebs3D, clBtnShadow},
                        {lfFlat, ebsFlat, clBtnShadow},
                        {lfUltraFlat, ebsUltraFlat, clBtnShadow},
                        {lfOffice11, ebsOffice11, clBtnText}};
  for (const Look& look : looks) {
    SCOPED_TRACE(look.kind);
    box->Style()->LookAndFeel()->SetKind(look.kind);
    box->SetEditValue(false);
    Draw();
    EXPECT_EQ(box->CheckViewInfo()->CheckBorderStyle, look.border);
    const TRect k = box->CheckViewInfo()->CheckRect;
    ASSERT_EQ(k.Width(), SystemCheckSize().cx);
    ASSERT_EQ(k.Height(), SystemCheckSize().cy);
    EXPECT_EQ(k.Left, 2) << "the check keeps 2 pixels from the edge";
    const Integer offset = box->CheckViewInfo()->CheckBorderOffset;
    EXPECT_TRUE(Is(k.Left + offset + 3, k.Top + offset, look.frame));
    const TRect inside{k.Left + 2, k.Top + 2, k.Right - 2, k.Bottom - 2};
    EXPECT_EQ(CountIn(inside, clWindow), inside.Width() * inside.Height()) << "an empty white box";
    EXPECT_EQ(CountIn(Caption(), clBlack), CountIn(Caption(), clWindowText));
    EXPECT_GT(CountIn(Caption(), clWindowText), 0) << "the caption";

    box->SetEditValue(true);
    Draw();
    const Integer mark = CountIn(inside, clBtnText);
    EXPECT_GT(mark, 10) << "the check mark";
    EXPECT_LT(mark, inside.Width() * inside.Height() / 2);

    box->SetEditValue(Null());
    Draw();
    EXPECT_EQ(CountIn(inside, clBtnShadow), mark) << "grayed: the same mark in shadow";
    Props()->SetNullStyle(nssUnchecked);
    Draw();
    EXPECT_EQ(CountIn(inside, clWindow), inside.Width() * inside.Height()) << "shown unchecked";
    Props()->SetNullStyle(nssInactive);
    Draw();
    EXPECT_EQ(CountIn(inside, clBtnFace), inside.Width() * inside.Height()) << "an inactive box, no mark";
    Props()->SetNullStyle(nssGrayedChecked);
  }
}

TEST_F(CheckPaintTest, HotAndDisabledChecksWithNoStyles) {
  VisualStylesScope classic(false);
  box->Style()->LookAndFeel()->SetKind(lfUltraFlat);
  const TPoint p = box->ClientToScreen({8, 10});
  win::InjectMouseMove({p.X, p.Y});
  Pump();
  Draw();
  EXPECT_EQ(box->CheckViewInfo()->CheckButtonState, cxCheckButtonHot);
  const TRect k = box->CheckViewInfo()->CheckRect;
  const TRect inside{k.Left + 2, k.Top + 2, k.Right - 2, k.Bottom - 2};
  EXPECT_TRUE(Is(k.Left + 4, k.Top + 1, HighlightedBorderColor(false)));
  EXPECT_TRUE(Is(inside.Left, inside.Top, HighlightedButtonColor(false, false)));

  box->SetEnabled(false);
  box->SetEditValue(true);
  Draw();
  EXPECT_EQ(box->CheckViewInfo()->CheckButtonState, cxCheckButtonDisabled);
  EXPECT_TRUE(Is(inside.Left, inside.Top, clBtnFace));
  EXPECT_GT(CountIn(inside, clBtnShadow), 10) << "the disabled mark";
  EXPECT_EQ(CountIn(inside, clBtnText), 0);
  // The disabled caption is embossed.
  EXPECT_GT(CountIn(Caption(), clBtnHighlight), 0);
  EXPECT_GT(CountIn(Caption(), clBtnShadow), 0);
}

TEST_F(CheckPaintTest, NativeChecksDifferByStateWithOurRenderer) {
  VisualStylesScope styled(true);
  box->Style()->LookAndFeel()->SetNativeStyle(true);
  box->SetParentBackground(false);
  std::vector<std::vector<std::string>> pictures;
  for (const Variant& v : {Variant(false), Variant(true), Null()}) {
    box->SetEditValue(v);
    Draw();
    ASSERT_NE(box->CheckViewInfo()->NativeState, 0);
    pictures.push_back(Check());
  }
  EXPECT_EQ(box->CheckViewInfo()->CheckRect.Left, 0) << "the native check starts at the edge";
  EXPECT_EQ(box->GetVisibleBounds(), (TRect{0, 0, box->Width(), box->Height()})) << "so the window keeps its edge";
  EXPECT_NE(pictures[0], pictures[1]);
  EXPECT_NE(pictures[1], pictures[2]);
  EXPECT_NE(pictures[0], pictures[2]);
  EXPECT_TRUE(Is(box->Width() - 2, 2, clLime)) << "the box's own colour around";
  box->SetEnabled(false);
  Draw();
  EXPECT_EQ(CountIn(Caption(), clBtnHighlight), 0) << "native: the caption stays plain";
}

TEST_F(CheckPaintTest, ATransparentBoxShowsItsParent) {
  VisualStylesScope classic(false);
  form->SetColor(clYellow);
  box->SetTransparentLook(true);
  Draw();
  EXPECT_TRUE(Is(box->Width() - 2, 2, clYellow)) << "the form under the box";
  EXPECT_EQ(Count(clLime), 0);
  const TRect k = box->CheckViewInfo()->CheckRect;
  EXPECT_TRUE(Is(k.Left + 3, k.Top + 3, clWindow)) << "the check keeps its own face";
  box->SetTransparentLook(false);
  Draw();
  EXPECT_TRUE(Is(box->Width() - 2, 2, clLime));
}

TEST_F(CheckPaintTest, GlyphStripCellsAndAGrayedStateOfAShortStrip) {
  VisualStylesScope classic(false);
  // Six 10 x 10 cells, each filled with a colour of its own; the corner
  // pixel (the transparent colour) is white.
  const TColor colours[] = {clRed, clGreen, clBlue, clYellow, clFuchsia, clAqua};
  TBitmap strip;
  strip.SetPixelFormat(pf32bit);
  strip.SetSize(60, 10);
  for (int i = 0; i < 6; ++i) {
    strip.Canvas()->Brush()->SetColor(colours[i]);
    strip.Canvas()->FillRect({i * 10, 0, i * 10 + 10, 10});
  }
  strip.Canvas()->SetPixels(0, 9, clWhite);
  strip.SetTransparentColor(clWhite);
  Props()->SetGlyph(&strip);
  auto centre = [&] {
    const TRect k = box->CheckViewInfo()->CheckRect;
    return Px((k.Left + k.Right) / 2, (k.Top + k.Bottom) / 2);
  };
  box->SetEditValue(Null());
  Draw();
  EXPECT_EQ(box->CheckViewInfo()->CheckRect.Width(), 10);
  EXPECT_EQ(centre(), RGBOf(clBlue));
  box->SetFocus();
  box->Perform(win::WM_KEYDOWN, win::VK_SPACE, 0);
  Draw();
  EXPECT_EQ(centre(), RGBOf(clAqua)) << "pressed grayed: the sixth cell";
  box->Perform(win::WM_KEYUP, win::VK_SPACE, 0);
  box->SetEditValue(Null());

  // Two cells: grayed has none of its own and shows the unchecked one.
  TBitmap two;
  two.SetPixelFormat(pf32bit);
  two.SetSize(20, 10);
  two.Canvas()->CopyRect({0, 0, 20, 10}, strip.Canvas(), {0, 0, 20, 10});
  two.SetTransparentColor(clWhite);
  Props()->SetGlyph(&two);
  Props()->SetGlyphCount(2);
  Draw();
  EXPECT_EQ(box->CheckViewInfo()->CheckRect.Width(), 10);
  EXPECT_EQ(centre(), RGBOf(clRed));
}

TEST_F(CheckPaintTest, FocusRectangleFollowsTheCaption) {
  VisualStylesScope classic(false);
  box->Style()->LookAndFeel()->SetKind(lfStandard);
  Draw();
  EXPECT_TRUE(cxRectIsEmpty(box->CheckViewInfo()->FocusRect));
  box->SetFocus();
  Pump();
  Draw();
  const TRect focus = box->CheckViewInfo()->FocusRect;
  const TRect text = box->CheckViewInfo()->TextRect;
  ASSERT_FALSE(cxRectIsEmpty(focus));
  EXPECT_GE(focus.Left, text.Left - 1);
  EXPECT_LT(focus.Right, text.Right) << "around the caption's own extent";
  Props()->SetFullFocusRect(true);
  Draw();
  EXPECT_EQ(box->CheckViewInfo()->FocusRect.Right, std::min(text.Right, box->Width() - 1));
  box->SetCaption("");
  Draw();
  EXPECT_TRUE(cxRectIsEmpty(box->CheckViewInfo()->FocusRect)) << "no caption, no focus rectangle";
}

}  // namespace
