// The spin edit on a shown form, driven through the message loop with
// injected keys, mouse and wheel: steps at both limits with and without
// wrapping, the spin keys and the held button, typed text against the kept
// value, the key filter, validation, auto-repeat on the fake clock, the
// wheel, a properties change that clamps, and both looks of the buttons.
// Headless; the look is said per test.
#include "suite/editors/cxSpinEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/FormFiles.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Input.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/foundation/cxTimer.h"
#include "tests/suite/editors/EditorOnFormFixture.h"
#include "tests/support/VisualStylesScope.h"

namespace {

class SpinEdit : public EditorOnForm<TcxSpinEdit> {
 protected:
  SpinEdit() : EditorOnForm(120) {}
  void Prepare() override {
    // The radio's channel spin: 1..16, integers.
    Props()->SetValueType(vtInt);
    Props()->SetMinValue(1);
    Props()->SetMaxValue(16);
    Props()->SetLargeIncrement(3);
    edit->AssignValue(Variant(1));
  }
  TcxSpinEditProperties* Props() { return edit->SpinProperties(); }
  std::string Text() { return edit->CurrentDisplayText(); }
  // The focused edit showing V, with nothing typed.
  void Start(Integer v) {
    Focus(other);
    edit->AssignValue(Variant(v));
    Focus(edit);
  }
  win::POINT At(Integer x, Integer y) {
    const TPoint p = edit->ClientToScreen({x, y});
    return {p.X, p.Y};
  }
  win::POINT ButtonCentre(Integer index) {
    const TRect r = edit->EditViewInfo()->Button(index)->Bounds;
    return At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
};

TEST_F(SpinEdit, StepsAtBothLimitsWrapStopOrAreRefused) {
  struct Case {
    const char* name;
    bool circular;
    Integer start;
    Integer kind;
    bool changed;
    const char* text;
  } cases[] = {
      {"Up at the maximum wraps to the minimum", true, 16, SpinStepUp, true, "1"},
      {"a large step past the maximum counts on from the minimum", true, 15, SpinStepPageUp, true, "2"},
      {"Down at the minimum wraps to the maximum", true, 1, SpinStepDown, true, "16"},
      {"a large step below the minimum counts back from the maximum", true, 2, SpinStepPageDown, true, "15"},
      {"a large step stops at the maximum", false, 15, SpinStepPageUp, true, "16"},
      {"Down at the minimum stays and answers no change", false, 1, SpinStepDown, false, "1"},
      {"Up at the maximum stays", false, 16, SpinStepUp, false, "16"},
      {"inside the range", false, 5, SpinStepPageDown, true, "2"},
      {"below the range Up gives the minimum", false, 0, SpinStepUp, true, "1"},
      {"below the range Down is refused", false, 0, SpinStepDown, false, "0"},
      {"below the range Down wraps to the maximum", true, 0, SpinStepDown, true, "16"},
      {"above the range Down gives the maximum", false, 20, SpinStepDown, true, "16"},
      {"above the range Up is refused", false, 20, SpinStepUp, false, "20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Props()->SetCircular(c.circular);
    Start(c.start);
    EXPECT_EQ(Text(), std::to_string(c.start));
    EXPECT_EQ(edit->SpinStep(c.kind), c.changed);
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(edit->Value(), Variant(static_cast<long long>(std::stoi(c.text))));
    EXPECT_FALSE(edit->Typed()) << "a step's text is not typed text";
  }
  // The stepped value is the edit value once validated.
  Props()->SetCircular(true);
  Start(16);
  Press(win::VK_UP);
  Press(win::VK_RETURN);
  EXPECT_EQ(edit->EditValue(), Variant(1LL));
  EXPECT_TRUE(edit->ModifiedAfterEnter() || edit->Modified());
}

TEST_F(SpinEdit, SpinKeysStepAndHoldTheirButton) {
  Props()->SetIncrement(1.5);
  Start(4);
  Press(win::VK_UP);
  EXPECT_EQ(Text(), "6") << "an integer step of 1.5 steps by 2";
  Props()->SetIncrement(2.5);
  Press(win::VK_DOWN);
  EXPECT_EQ(Text(), "4") << "2.5 rounds to 2 as well";
  Press(win::VK_NEXT);
  EXPECT_EQ(Text(), "1");
  Press(win::VK_PRIOR);
  EXPECT_EQ(Text(), "4");
  EXPECT_EQ(edit->SelStart(), 1) << "the caret goes to the end";
  EXPECT_EQ(edit->SelLength(), 0);

  // A held key shows its button pressed and no button hot; its key-up ends it.
  Props()->SetIncrement(1);
  win::InjectKey(win::VK_UP, true);
  Pump();
  EXPECT_EQ(Text(), "5");
  EXPECT_EQ(edit->HeldSpinButtonMarker(), SpinStepUp + 1);
  EXPECT_EQ(edit->EditViewInfo()->Button(SpinStepUp)->State, ebbsPressed);
  EXPECT_EQ(edit->EditViewInfo()->HotButton, -1);
  win::InjectKey(win::VK_UP, false);
  Pump();
  EXPECT_EQ(edit->HeldSpinButtonMarker(), 0);
  EXPECT_NE(edit->EditViewInfo()->Button(SpinStepUp)->State, ebbsPressed);

  // Another key ends a held button too.
  win::InjectKey(win::VK_DOWN, true);
  Pump();
  EXPECT_EQ(edit->HeldSpinButtonMarker(), SpinStepDown + 1);
  Press(win::VK_LEFT);
  EXPECT_EQ(edit->HeldSpinButtonMarker(), 0);
  win::InjectKey(win::VK_DOWN, false);
  Pump();
  EXPECT_EQ(Text(), "4");

  Props()->SetUseCtrlIncrement(true);
  Press(win::VK_UP);
  EXPECT_EQ(Text(), "4") << "Up alone does not step with UseCtrlIncrement";
  Press(win::VK_UP, false, true);
  EXPECT_EQ(Text(), "5");
}

TEST_F(SpinEdit, TypedTextCountsOverTheKeptValueUntilAStep) {
  Start(3);
  Type("\b7");
  EXPECT_EQ(Text(), "7");
  EXPECT_TRUE(edit->Typed());
  EXPECT_EQ(edit->KeptValue(), Variant(3LL));
  EXPECT_EQ(edit->Value(), Variant(7LL)) << "focused, typed text is read";
  Press(win::VK_UP);
  EXPECT_EQ(Text(), "8") << "the step starts from the typed number";
  EXPECT_FALSE(edit->Typed());

  // Not a number: the kept value, silently or as an exception.
  edit->SelectWholeText();
  Type("e");
  EXPECT_EQ(Text(), "e");
  EXPECT_EQ(edit->Value(), Variant(8LL));
  // A settings change while invalid text is typed does not raise.
  EXPECT_NO_THROW(Props()->SetExceptionOnInvalidInput(true));
  try {
    edit->Value();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Invalid numeric value");
  }
  Props()->SetExceptionOnInvalidInput(false);

  // Letters and a decimal separator do not reach an integer spin.
  edit->SelectWholeText();
  Type("5a.,x");
  EXPECT_EQ(Text(), "5");

  // Typed beyond the maximum: reported at validation.
  edit->SelectWholeText();
  Type("20");
  EXPECT_FALSE(edit->ValidateDisplayText(false));
  try {
    edit->ValidateDisplayText(true);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Value out of bounds");
  }

  // Emptied: the minimum.
  edit->SelectWholeText();
  Press(win::VK_DELETE);
  EXPECT_EQ(Text(), "");
  EXPECT_TRUE(edit->ValidateDisplayText(true));
  EXPECT_EQ(Text(), "1");
  EXPECT_EQ(edit->EditValue(), Variant(1LL));
}

TEST_F(SpinEdit, WithoutCanEditOnlyTheButtonsKeysAndWheelChangeTheValue) {
  std::vector<Word> unused;
  struct Sink {
    std::vector<Word>* keys;
    void Unused(TObject*, Word& Key, TShiftState) { keys->push_back(Key); }
  } sink{&unused};
  edit->OnUnusedKey = TcxEditUnusedKeyEvent(&sink, &Sink::Unused);
  Props()->SetCanEdit(false);
  Start(5);
  Type("9\b");
  EXPECT_EQ(Text(), "5");
  unused.clear();
  Press(win::VK_DELETE);
  EXPECT_EQ(Text(), "5");
  EXPECT_EQ(unused, std::vector<Word>{win::VK_DELETE}) << "Delete goes to the owner";
  Clipboard()->SetAsText("12");
  edit->SelectWholeText();
  win::SendMessage(edit->InnerEdit()->Control()->Handle(), win::WM_PASTE, 0, 0);
  Pump();
  EXPECT_EQ(Text(), "5") << "the user's paste is refused";
  Press(win::VK_UP);
  EXPECT_EQ(Text(), "6");
  win::InjectMouseWheel(120, At(20, 10));
  Pump();
  EXPECT_EQ(Text(), "7");

  // With CanEdit the paste is typed text.
  Props()->SetCanEdit(true);
  edit->SelectWholeText();
  win::SendMessage(edit->InnerEdit()->Control()->Handle(), win::WM_PASTE, 0, 0);
  Pump();
  EXPECT_EQ(Text(), "12");
  EXPECT_TRUE(edit->Typed());
}

TEST_F(SpinEdit, AHeldButtonRepeatsAfter400ThenEvery100Milliseconds) {
  TFakeClockScope clock;
  Start(1);
  const win::POINT up = ButtonCentre(SpinStepUp);
  win::InjectMouseMove(up);
  win::InjectMouseButton(win::VK_LBUTTON, true, up);
  Pump();
  EXPECT_EQ(Text(), "2") << "the press steps once";
  ASSERT_NE(edit->AutoRepeatTimer(), nullptr);
  EXPECT_EQ(edit->AutoRepeatTimer()->Interval(), 400u);
  clock.Advance(390);
  Pump();
  EXPECT_EQ(Text(), "2");
  clock.Advance(10);
  Pump();
  EXPECT_EQ(Text(), "3");
  EXPECT_EQ(edit->AutoRepeatTimer()->Interval(), 100u);
  for (Integer i = 0; i < 20; ++i) {
    clock.Advance(100);
    Pump();
  }
  EXPECT_EQ(Text(), "16") << "repeating stops at the maximum without wrapping";
  win::InjectMouseButton(win::VK_LBUTTON, false, up);
  Pump();
  EXPECT_EQ(edit->AutoRepeatTimer(), nullptr);
  clock.Advance(500);
  Pump();
  EXPECT_EQ(Text(), "16");

  // Wrapping, the repeat goes round; releasing ends it, whatever was shown.
  Props()->SetCircular(true);
  const win::POINT down = ButtonCentre(SpinStepDown);
  win::InjectMouseMove(down);
  win::InjectMouseButton(win::VK_LBUTTON, true, down);
  Pump();
  EXPECT_EQ(Text(), "15");
  clock.Advance(400);
  Pump();
  for (Integer i = 0; i < 14; ++i) {
    clock.Advance(100);
    Pump();
  }
  EXPECT_EQ(Text(), "16") << "15 - 16 steps, once round";
  win::InjectMouseButton(win::VK_LBUTTON, false, down);
  Pump();
  EXPECT_EQ(edit->AutoRepeatTimer(), nullptr);

  // Read-only: the press steps nothing and starts no repeat.
  Props()->SetReadOnly(true);
  win::InjectMouseButton(win::VK_LBUTTON, true, up);
  Pump();
  EXPECT_EQ(Text(), "16");
  EXPECT_EQ(edit->AutoRepeatTimer(), nullptr);
  win::InjectMouseButton(win::VK_LBUTTON, false, up);
  Pump();
}

TEST_F(SpinEdit, TheWheelStepsAndIsUsedUp) {
  Integer formWheels = 0;
  struct Sink {
    Integer* count;
    void Wheel(TObject*, TShiftState, Integer, TPoint, bool&) { ++*count; }
  } sink{&formWheels};
  form->OnMouseWheel = TMouseWheelEvent(&sink, &Sink::Wheel);
  Start(5);
  const win::POINT over = At(20, 10);
  win::InjectMouseWheel(120, over);
  Pump();
  EXPECT_EQ(Text(), "6");
  win::InjectMouseWheel(-120, over);
  win::InjectMouseWheel(-120, over);
  Pump();
  EXPECT_EQ(Text(), "4");
  EXPECT_EQ(formWheels, 0) << "a turn that stepped the edit does not scroll the form";
}

TEST_F(SpinEdit, ARangeChangeWhileEditingPullsTheValueIn) {
  Start(12);
  Type("\b\b14");
  Props()->SetMaxValue(10);
  EXPECT_EQ(Text(), "10");
  EXPECT_EQ(edit->EditValue(), Variant(10LL));
  // Untouched values are left to validation.
  Start(8);
  Props()->SetMinValue(9);
  EXPECT_EQ(Text(), "8");
}

TEST_F(SpinEdit, FastButtonsAndBothLooksOfAHeldButton) {
  Props()->SpinButtons()->SetShowFastButtons(true);
  Pump();
  EXPECT_EQ(edit->EditViewInfo()->ButtonCount(), 4);
  Start(5);
  const win::POINT fastUp = ButtonCentre(SpinStepPageUp);
  win::InjectMouseMove(fastUp);
  win::InjectMouseButton(win::VK_LBUTTON, true, fastUp);
  win::InjectMouseButton(win::VK_LBUTTON, false, fastUp);
  Pump();
  EXPECT_EQ(Text(), "8") << "the fast button steps by LargeIncrement";
  Props()->SpinButtons()->SetShowFastButtons(false);
  win::InjectMouseMove(At(5, 5));
  Pump();
  EXPECT_EQ(edit->EditViewInfo()->ButtonCount(), 2);

  for (bool themed : {false, true}) {
    SCOPED_TRACE(themed ? "our renderer" : "no styles");
    VisualStylesScope styles(themed);
    edit->GetStyle()->LookAndFeel()->SetNativeStyle(themed);
    Pump();
    EXPECT_EQ(edit->EditViewInfo()->NativeDrawing, themed);
    win::InjectKey(win::VK_DOWN, true);
    Pump();
    EXPECT_EQ(edit->EditViewInfo()->Button(SpinStepDown)->State, ebbsPressed);
    EXPECT_EQ(edit->EditViewInfo()->PressedButton, SpinStepDown);
    win::InjectKey(win::VK_DOWN, false);
    Pump();
    EXPECT_EQ(edit->EditViewInfo()->Button(SpinStepDown)->State, ebbsNormal);
  }
  EXPECT_EQ(Text(), "6");
}

TEST_F(SpinEdit, AStepFiresOneChangeAndARefusedStepNone) {
  Integer changes = 0;
  struct Sink {
    Integer* count;
    void Changed(TObject*) { ++*count; }
  } sink{&changes};
  Props()->OnChange = TNotifyEvent(&sink, &Sink::Changed);
  Start(15);
  changes = 0;
  Press(win::VK_UP);
  EXPECT_EQ(changes, 1);
  Press(win::VK_UP);
  EXPECT_EQ(Text(), "16");
  EXPECT_EQ(changes, 1) << "stopped at the maximum: no change";
  Press(win::VK_NEXT);
  EXPECT_EQ(Text(), "13");
  EXPECT_EQ(changes, 2);
}

TEST(SpinEditClass, TheRadiosChannelSpinReadFromAndWrittenToAForm) {
  InitializeEditors();
  TForm root(nullptr);
  ReadComponentText(
      "object Form1: TForm\n"
      "  object Channel: TcxSpinEdit\n"
      "    Properties.MaxValue = 16.000000000000000000\n"
      "    Properties.MinValue = 1.000000000000000000\n"
      "    Properties.ValueType = vtInt\n"
      "    Style.LookAndFeel.NativeStyle = True\n"
      "    Value = 1\n"
      "  end\n"
      "  object Fresh: TcxSpinEdit\n"
      "  end\n"
      "end\n",
      &root);
  auto* channel = dynamic_cast<TcxSpinEdit*>(root.FindComponent("Channel"));
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->Value(), Variant(1LL));
  EXPECT_EQ(channel->SpinProperties()->MaxLimitValue(), Variant(16LL));
  const std::string text = WriteComponentText(&root);
  EXPECT_NE(text.find("Value = 1"), std::string::npos) << text;
  const size_t fresh = text.find("object Fresh");
  ASSERT_NE(fresh, std::string::npos);
  EXPECT_EQ(text.find("Value", fresh), std::string::npos) << "a value of 0 is not stored";
}

TEST(SpinEditClass, PublishedAndRegistered) {
  InitializeEditors();
  EXPECT_EQ(GetClass("TcxSpinEdit"), TcxSpinEdit::StaticClass());
  TcxSpinEditProperties properties(nullptr);
  EXPECT_EQ(properties.EditClass(), TcxSpinEdit::StaticClass());
  for (const char* name : {"EditMask", "MaskKind", "CaseInsensitive", "IgnoreMaskBlank", "AlwaysShowBlanksAndLiterals",
                           "MinValue", "MaxValue", "Increment"})
    EXPECT_NE(GetPropInfo(&properties, name), nullptr) << name;

  auto form = std::make_unique<TForm>(nullptr);
  auto* edit = new TcxSpinEdit(form.get());
  EXPECT_EQ(edit->EditValue(), Variant(0)) << "a new spin edit holds the integer 0";
  EXPECT_EQ(VarType(edit->EditValue()), VarType(Variant(0)));
  EXPECT_FALSE(edit->IsValueStored());
  edit->AssignValue(Variant(2.5));
  EXPECT_EQ(edit->Value(), Variant(0LL)) << "a fraction is no value of an integer spin";
  edit->AssignValue(Variant(3));
  EXPECT_TRUE(edit->IsValueStored());
  EXPECT_EQ(edit->Value(), Variant(3LL));
  edit->AssignValue(Variant("4"));
  EXPECT_EQ(edit->Value(), Variant(3LL)) << "only numbers are assigned";
  edit->SpinProperties()->SetMaxValue(0.5);
  edit->SpinProperties()->SetValueType(vtFloat);
  edit->AssignValue(Variant(2.5));
  EXPECT_EQ(edit->Value(), Variant(2.5)) << "assigned beyond the range: the range is the validation's";
  EXPECT_NE(GetPropInfo(edit, "Value"), nullptr);
  EXPECT_EQ(GetPropInfo(edit, "Text"), nullptr);
  // A fresh edit writes none of its published defaults to the form.
  auto* fresh = new TcxSpinEdit(form.get());
  for (const char* name : {"AutoSize", "BeepOnEnter", "ParentColor", "TabStop"}) {
    const TPropInfo* prop = GetPropInfo(fresh, name);
    ASSERT_NE(prop, nullptr) << name;
    EXPECT_TRUE(IsDefaultPropValue(fresh, *prop)) << name;
  }
  // Handlers a form may bind beside those of every control.
  for (const char* name : {"OnEditing", "OnEndDock", "OnMouseEnter", "OnMouseLeave", "OnStartDock"})
    EXPECT_NE(GetPropInfo(fresh, name), nullptr) << name;
  // The buttons' style values are stored with the form.
  EXPECT_EQ(edit->GetUnstoredStyleValues(), StyleValueBit(svPopupBorderStyle));
}

}  // namespace
