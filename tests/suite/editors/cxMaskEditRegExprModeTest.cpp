// The mask editor with regular-expression masks, typed into through the
// message loop: characters the expression refuses, tails that can no longer
// follow an edit, validation, paste and cut, case-insensitive input, the
// completing kind with a forced separator and a forced prefix, and the
// error a bad expression raises. Our renderer, headless.
#include "suite/editors/cxMaskEditRegExprExMode.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/forms/Clipbrd.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/SysParams.h"
#include "tests/suite/editors/MaskEditFixture.h"

namespace {

class RegExprMaskEdit : public MaskEditFixture {
 protected:
  // A text left incomplete would be refused when the closing form takes
  // the focus away.
  void TearDown() override {
    edit->SetEditValue(Variant());
    MaskEditFixture::TearDown();
  }
  void Mask(TcxEditMaskKind kind, const std::string& mask) {
    Props()->LockChanges();
    Props()->SetMaskKind(kind);
    Props()->SetEditMask(mask);
    Props()->UnlockChanges();
  }
  bool Valid() {
    Variant value(VarToStr(edit->InnerEdit()->EditValue()));
    std::string errorText;
    bool error = false;
    Props()->ValidateDisplayValue(value, errorText, error, edit);
    return !error;
  }
  // Beeps heard while running f.
  template <typename F>
  int Beeps(F f) {
    const int before = win::BeepCount();
    f();
    return win::BeepCount() - before;
  }
};

TEST_F(RegExprMaskEdit, KindsHaveTheirModesAndAKindChangeDropsAStandardMask) {
  Props()->SetEditMask("000");
  Props()->SetMaskKind(emkRegExpr);
  EXPECT_EQ(Props()->EditMask(), "") << "a standard mask means nothing as an expression";
  EXPECT_EQ(edit->Mode()->ClassType(), TcxMaskEditRegExprMode::StaticClass());
  Props()->SetEditMask("\\d+");
  // Between the two expression kinds the mask is kept.
  Props()->SetMaskKind(emkRegExprEx);
  EXPECT_EQ(Props()->EditMask(), "\\d+");
  EXPECT_EQ(edit->Mode()->ClassType(), TcxMaskEditRegExprExMode::StaticClass());
  EXPECT_EQ(edit->Mode()->CompiledMask(), "\\d+");
}

TEST_F(RegExprMaskEdit, ABadExpressionIsRefusedWithItsErrors) {
  Mask(emkRegExpr, "\\d+");
  for (TcxEditMaskKind kind : {emkRegExpr, emkRegExprEx}) {
    Props()->SetMaskKind(kind);
    try {
      Props()->SetEditMask("(\\d");
      ADD_FAILURE() << "no error";
    } catch (const EcxMaskEditError& e) {
      const std::string head = "Regular expression errors:\r\n";
      EXPECT_EQ(e.Message.substr(0, head.size()), head);
      EXPECT_GT(e.Message.size(), head.size()) << "one line per error follows";
    }
    EXPECT_EQ(Props()->EditMask(), "\\d+") << "nothing is stored";
  }
}

TEST_F(RegExprMaskEdit, TypingInsertsOnlyWhatTheExpressionCanStillMatch) {
  Mask(emkRegExpr, "\\d+");
  Props()->SetBeepOnError(true);
  Focus(edit);
  EXPECT_EQ(Beeps([&] { Type("1a2"); }), 1);
  EXPECT_EQ(Shown(), "12[]");
  // Inserted at the caret, not overwriting.
  Press(win::VK_LEFT);
  Type("5");
  EXPECT_EQ(Shown(), "15[]2");
  EXPECT_EQ(edit->GetText(), "152");
  Press(win::VK_HOME);
  Press(win::VK_RIGHT);
  Press(win::VK_END);
  Type("9");
  EXPECT_EQ(Shown(), "1529[]");
}

TEST_F(RegExprMaskEdit, ATailThatCanNoLongerFollowIsDropped) {
  struct Case {
    const char* name;
    const char* mask;
    const char* typed;
    Integer selStart, selLength;
    Word key;    // or 0 to type ch
    char ch;
    const char* shown;
  };
  const Case cases[] = {
      // Deleting the "a" leaves digits that cannot start a match.
      {"backspace", "a\\d*", "a123", 1, 0, win::VK_BACK, 0, "[]"},
      {"delete", "a\\d*", "a123", 0, 0, win::VK_DELETE, 0, "[]"},
      {"typed before", "[ab]\\d*", "a12", 0, 0, 0, 'b', "b[]"},
      {"typed over a selection", "a\\d*|b[a-z]*", "a12", 0, 1, 0, 'b', "b[]"},
      // A tail that still fits stays.
      {"fitting tail", "[ab]\\d*", "a12", 0, 1, 0, 'b', "b[]12"},
      {"fitting delete", "\\d+", "123", 1, 1, win::VK_DELETE, 0, "1[]3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Mask(emkRegExpr, c.mask);
    Focus(edit);
    Type(c.typed);
    edit->SetSelection(c.selStart, c.selLength);
    if (c.key)
      Press(c.key);
    else
      Type(std::string(1, c.ch));
    EXPECT_EQ(Shown(), c.shown);
    edit->SetEditValue(Variant());
    Props()->SetEditMask("");
  }
}

TEST_F(RegExprMaskEdit, ValidationAcceptsEmptyAndCompleteTexts) {
  struct Case {
    TcxEditMaskKind kind;
    const char* typed;
    bool ignoreBlank;
    bool valid;
  };
  const Case cases[] = {
      {emkRegExpr, "", false, true},   {emkRegExpr, "1", false, false}, {emkRegExpr, "1", true, true},
      {emkRegExpr, "12", false, true}, {emkRegExprEx, "1", false, false}, {emkRegExprEx, "12", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + (c.ignoreBlank ? " ignoring blanks" : ""));
    Mask(c.kind, "\\d\\d");
    Props()->SetIgnoreMaskBlank(c.ignoreBlank);
    Focus(edit);
    Type(c.typed);
    EXPECT_EQ(Valid(), c.valid);
    edit->SetEditValue(Variant());
    Props()->SetEditMask("");
  }
}

TEST_F(RegExprMaskEdit, PasteKeepsWhatMatchesAndCutRemovesTheSelection) {
  Mask(emkRegExpr, "\\d+");
  Focus(edit);
  Type("12");
  Clipboard()->SetAsText("3x4");
  Press('V', false, true);
  EXPECT_EQ(VarToStr(edit->InnerEdit()->EditValue()), "1234");
  Type("5");
  EXPECT_EQ(VarToStr(edit->InnerEdit()->EditValue()), "12345") << "typing goes on at the caret";

  // A cut whose tail fits still removes the selection.
  edit->SetSelection(1, 2);
  Press('X', false, true);
  EXPECT_EQ(Shown(), "1[]45");
  EXPECT_EQ(Clipboard()->AsText(), "23");
}

TEST_F(RegExprMaskEdit, CaseInsensitiveInputTakesThePatternsSpelling) {
  Mask(emkRegExpr, "abc");
  Props()->SetCaseInsensitive(false);
  Focus(edit);
  Type("A");
  EXPECT_EQ(Shown(), "[]");
  Props()->SetCaseInsensitive(true);
  Type("AbC");
  EXPECT_EQ(Shown(), "abc[]");
  EXPECT_TRUE(Valid());
}

TEST_F(RegExprMaskEdit, CompletionTypesAndRemovesTheForcedSeparator) {
  TFormatSettings settings = TFormatSettings::English();
  settings.TimeSeparator = '.';
  TFormatSettingsPin pin(settings);
  Mask(emkRegExprEx, "\\d\\d:\\d\\d");
  Focus(edit);
  Type("12");
  EXPECT_EQ(Shown(), "12.[]") << "the locale's separator follows the hours";
  Press(win::VK_BACK);
  EXPECT_EQ(Shown(), "1[]") << "the separator goes with the 2";
  Type("2");
  // Separator and digit are passed in one step each way.
  Press(win::VK_LEFT);
  EXPECT_EQ(Shown(), "1[]2.");
  Press(win::VK_RIGHT);
  EXPECT_EQ(Shown(), "12.[]");
  Type("3x4");
  EXPECT_EQ(Shown(), "12.34[]");
  EXPECT_TRUE(Valid());
  // A selection cannot start between a digit and its separator: it grows
  // to take the digit.
  edit->SetSelection(2, 3);
  Type("5");
  EXPECT_EQ(Shown(), "15.[]");
  Type("6");
  // Deleting the 5 takes its separator along; the 6 fits after a lone hour
  // digit and gets the separator that now follows it.
  edit->SetSelStart(1);
  Press(win::VK_DELETE);
  EXPECT_EQ(Shown(), "1[]6.");
  // Minutes that no longer fit go.
  Press(win::VK_END);
  Type("78");
  edit->SetSelStart(1);
  Press(win::VK_DELETE);
  EXPECT_EQ(Shown(), "1[]");
}

TEST_F(RegExprMaskEdit, UnfocusedTheTextShowsAsTyped) {
  Mask(emkRegExprEx, "'+7'\\d*");
  Props()->SetAlwaysShowBlanksAndLiterals(false);
  edit->SetEditValue(Variant("+71x2"));
  EXPECT_EQ(VarToStr(edit->InnerEdit()->EditValue()), "+712") << "what the expression takes";
  edit->SetEditValue(Variant());
  EXPECT_EQ(VarToStr(edit->InnerEdit()->EditValue()), "+7");
  Mask(emkRegExpr, "\\d+");
  edit->SetEditValue(Variant("12"));
  EXPECT_EQ(edit->GetText(), "12");
}

TEST_F(RegExprMaskEdit, AForcedPrefixIsShownAndCannotBeDeleted) {
  Mask(emkRegExprEx, "'+7'\\d*");
  Props()->SetBeepOnError(true);
  EXPECT_EQ(edit->Mode()->EmptyMaskedText(), "+7");
  EXPECT_EQ(Props()->EmptyMaskText(), "+7");
  Focus(edit);
  EXPECT_EQ(VarToStr(edit->InnerEdit()->EditValue()), "+7");
  EXPECT_TRUE(Valid()) << "the prefix alone is valid";
  Press(win::VK_END);
  EXPECT_EQ(Beeps([&] { Press(win::VK_BACK); }), 1);
  EXPECT_EQ(Shown(), "+7[]");
  Press(win::VK_HOME);
  EXPECT_EQ(Beeps([&] { Press(win::VK_DELETE); }), 1);
  EXPECT_EQ(VarToStr(edit->InnerEdit()->EditValue()), "+7");
  // Left from after the prefix passes it whole.
  Press(win::VK_END);
  Press(win::VK_LEFT);
  EXPECT_EQ(Shown(), "[]+7");

  Press(win::VK_END);
  Type("12");
  EXPECT_EQ(Shown(), "+712[]");
  // Typing over the whole text keeps the prefix.
  edit->SetSelection(0, 4);
  Type("5");
  EXPECT_EQ(Shown(), "+75[]");
  // So does deleting it all, and the prefix alone selected is refused.
  edit->SetSelection(0, 3);
  Press(win::VK_BACK);
  EXPECT_EQ(Shown(), "+7[]");
  edit->SetSelection(0, 2);
  EXPECT_EQ(Beeps([&] { Press(win::VK_BACK); }), 1);
  EXPECT_EQ(VarToStr(edit->InnerEdit()->EditValue()), "+7");
}

}  // namespace

// The properties keep one mode for showing values; it must follow a new
// mask and a new kind instead of formatting with the one it was made for.
TEST_F(RegExprMaskEdit, ShownValuesFollowAChangedMaskAndKind) {
  TcxMaskEditProperties props(nullptr);
  props.SetMaskKind(emkRegExpr);
  props.SetEditMask("\\d+");
  auto shown = [&props](const char* value) {
    Variant text;
    props.ConvertToEditValue(Variant(std::string(value)), text, true);
    return VarToStr(text);
  };
  EXPECT_EQ(shown("12ab"), "12");
  props.SetEditMask("[a-z]+");
  EXPECT_EQ(shown("ab12"), "ab");
  props.SetMaskKind(emkStandard);
  props.SetEditMask("00-00;1;_");
  EXPECT_EQ(shown("1234"), "12-34");
}
