// The mask editor on a shown form with standard masks, driven through the
// message loop with injected keys: the overwrite cursor, literal skipping,
// blanks written by Delete and Backspace, paste and programmatic insertion,
// the shown text focused and unfocused, validation, and the properties'
// mask settings with a kind change inside one batch; entering with
// AutoSelect, a click and an echo-mode change for every mask kind. Our
// renderer, headless.
#include "suite/editors/cxMaskEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Input.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxFilterEditHelpers.h"
#include "suite/editors/cxFilterEditsController.h"
#include "suite/editors/cxMaskEditStandardMode.h"
#include "tests/suite/editors/MaskEditFixture.h"

namespace {

// A second syntax for the tests: any mask compiles but one holding "0",
// which it refuses as a syntax error.
class TestSyntaxMode : public TcxMaskEditStandardMode {
 public:
  using TcxMaskEditStandardMode::TcxMaskEditStandardMode;
  TcxEditMaskKind MaskKindOfMode() override { return emkRegExpr; }
  void CompileMask(const std::string& Mask) override {
    if (Mask.find('0') != std::string::npos) throw EcxMaskEditError("syntax error");
    TcxMaskEditStandardMode::CompileMask(Mask);
  }
};

}  // namespace

class TTestSyntaxMaskProperties : public TcxMaskEditProperties {
  VXN_DECLARE_CLASS(TTestSyntaxMaskProperties)

 public:
  using TcxMaskEditProperties::TcxMaskEditProperties;
  TcxMaskEditModeClass ModeClass(TcxEditMaskKind Kind) override {
    static const TcxMaskEditModeClassInfo info{
        TcxMaskEditStandardMode::StaticClass(), [](TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties) {
          return std::unique_ptr<TcxMaskEditCustomMode>(std::make_unique<TestSyntaxMode>(AEdit, AProperties));
        }};
    return Kind == emkStandard ? TcxMaskEditProperties::ModeClass(Kind) : &info;
  }
};
VXN_IMPLEMENT_CREATABLE_CLASS(TTestSyntaxMaskProperties, TcxMaskEditProperties)

namespace {

class SyntaxMaskEdit : public TcxCustomMaskEdit {
 public:
  explicit SyntaxMaskEdit(TComponent* AOwner)
      : TcxCustomMaskEdit(AOwner, false, TextEditKind(TTestSyntaxMaskProperties::StaticClass())) {}
  TTestSyntaxMaskProperties* Props() { return static_cast<TTestSyntaxMaskProperties*>(Properties()); }
};

using MaskEdit = MaskEditFixture;

TEST_F(MaskEdit, IsRegisteredWithItsRepositoryItemAndFilterHelper) {
  EXPECT_EQ(TcxMaskEditProperties(nullptr).EditClass(), TcxMaskEdit::StaticClass());
  EXPECT_EQ(GetClass("TcxMaskEdit"), TcxMaskEdit::StaticClass());
  EXPECT_EQ(GetClass("TcxEditRepositoryMaskItem"), TcxEditRepositoryMaskItem::StaticClass());
  EXPECT_EQ(GetClass("TcxMaskEditProperties"), TcxMaskEditProperties::StaticClass());
  EXPECT_EQ(FilterEditsController()->FindHelper(TcxMaskEditProperties::StaticClass()),
            TcxFilterMaskEditHelper::Class());
  EXPECT_TRUE(Props()->ValidateOnEnter());
  EXPECT_TRUE(Props()->CaseInsensitive());
  EXPECT_EQ(Props()->MaskKind(), emkStandard);
}

TEST_F(MaskEdit, MaskSettings) {
  // A mask of blanks only is no mask.
  Props()->SetEditMask("   ");
  EXPECT_FALSE(Props()->IsMasked());
  Props()->SetMaxLength(4);
  EXPECT_EQ(Props()->MaxLength(), 4);

  Props()->SetEditMask("000");
  EXPECT_TRUE(Props()->IsMasked());
  EXPECT_EQ(Props()->MaxLength(), 0);
  Props()->SetMaxLength(10);
  EXPECT_EQ(Props()->MaxLength(), 0) << "a masked editor keeps MaxLength 0";
  EXPECT_EQ(Props()->DisplayFormatOptions(), 0);

  Props()->SetCharCase(ecUpperCase);
  Props()->SetCaseInsensitive(false);
  EXPECT_TRUE(Props()->CaseInsensitive());
  Props()->SetCharCase(ecNormal);
  Props()->SetCaseInsensitive(false);
  EXPECT_FALSE(Props()->CaseInsensitive());
}

TEST_F(MaskEdit, EmptyValueShownFocusedAndUnfocused) {
  // Optional digits: the untouched text passes the check on leaving.
  Props()->SetEditMask("999");
  EXPECT_EQ(edit->GetText(), "   ");
  EXPECT_EQ(VarToStr(edit->InnerEdit()->EditValue()), "   ");
  Props()->SetAlwaysShowBlanksAndLiterals(true);
  EXPECT_EQ(VarToStr(edit->InnerEdit()->EditValue()), "___");
  Props()->SetAlwaysShowBlanksAndLiterals(false);
  Focus(edit);
  EXPECT_EQ(Shown(edit), "[_]__");
}

TEST_F(MaskEdit, TypingOverwritesAndSkipsLiterals) {
  Props()->SetEditMask("(999) 99;0;_");
  Focus(edit);
  EXPECT_EQ(Shown(edit), "[(]___) __");
  Type("1x2");
  EXPECT_EQ(Shown(edit), "(12[_]) __") << "a letter on a digit position changes nothing";
  Type("34");
  EXPECT_EQ(Shown(edit), "(123) 4[_]") << "the literals are stepped over";
  EXPECT_EQ(edit->GetText(), "1234 ") << "without literals in the value";

  // Left and right step over the literals too; Home lands on the first
  // editable position.
  Press(win::VK_LEFT);
  Press(win::VK_LEFT);
  EXPECT_EQ(Shown(edit), "(12[3]) 4_");
  Press(win::VK_RIGHT);
  EXPECT_EQ(Shown(edit), "(123) [4]_");
  Press(win::VK_HOME);
  EXPECT_EQ(Shown(edit), "([1]23) 4_");
  Press(win::VK_END);
  EXPECT_EQ(Shown(edit), "(123) 4_[]");
  Press(win::VK_LEFT, false, true);
  EXPECT_EQ(Shown(edit), "([1]23) 4_");
  Press(win::VK_RIGHT, false, true);
  EXPECT_EQ(Shown(edit), "(123) 4_[]");
  Press(win::VK_HOME);

  // A cursor on a literal (as after a click there) types into the next
  // editable position.
  edit->TcxCustomTextEdit::AssignSelStart(4);
  edit->TcxCustomTextEdit::AssignSelLength(1);
  Type("9");
  EXPECT_EQ(Shown(edit), "(123) 9[_]");
}

TEST_F(MaskEdit, ShiftSelectsAndArrowsAtTheBordersGoToTheContainer) {
  Props()->SetEditMask("9999");
  std::vector<Word> unused;
  struct Sink {
    std::vector<Word>* keys;
    void Unused(TObject*, Word& Key, TShiftState) {
      if (Key >= win::VK_LEFT && Key <= win::VK_DOWN) keys->push_back(Key);
    }
  } sink{&unused};
  edit->OnUnusedKey = TcxEditUnusedKeyEvent(&sink, &Sink::Unused);
  Focus(edit);
  Type("12");
  EXPECT_EQ(Shown(edit), "12[_]_");
  Press(win::VK_LEFT, true);
  EXPECT_EQ(Shown(edit), "1[2_]_") << "the character under the cursor and the one before it";
  Press(win::VK_RIGHT, true);
  EXPECT_EQ(Shown(edit), "12[_]_");

  Press(win::VK_UP);
  Press(win::VK_DOWN);
  Press(win::VK_HOME);
  EXPECT_EQ(Shown(edit), "[1]2__");
  Press(win::VK_LEFT);
  EXPECT_EQ(unused, (std::vector<Word>{win::VK_UP, win::VK_DOWN, win::VK_LEFT}));
  EXPECT_EQ(Shown(edit), "[1]2__");
}

TEST_F(MaskEdit, DeleteAndBackspaceWriteBlanks) {
  Props()->SetEditMask("99-99");
  Focus(edit);
  Type("1234");
  EXPECT_EQ(Shown(edit), "12-34[]");
  // Backspace blanks the position before the cursor and stays there.
  edit->SetSelStart(4);
  Press(win::VK_BACK);
  EXPECT_EQ(Shown(edit), "12-[_]4");
  // Delete blanks the editable positions of the selection, not the literal,
  // and keeps the caret.
  edit->SetSelection(1, 3);
  Press(win::VK_DELETE);
  EXPECT_EQ(Shown(edit), "1[_]-_4");
  // Backspace at the first editable position blanks the character there.
  Press(win::VK_HOME);
  Press(win::VK_BACK);
  EXPECT_EQ(Shown(edit), "[_]_-_4");
  Press(win::VK_LEFT);
  EXPECT_EQ(Shown(edit), "[_]_-_4");
}

TEST_F(MaskEdit, PasteOverwritesAsManyPositionsAsItHas) {
  Props()->SetEditMask("999-999;1;_");
  Focus(edit);
  Type("123456");
  Press(win::VK_HOME);
  Clipboard()->SetAsText("98");
  Press('V', false, true);
  EXPECT_EQ(Shown(edit), "98[3]-456");
  // A run that ends before a literal leaves the caret on the next editable
  // position.
  Clipboard()->SetAsText("7");
  Press('V', false, true);
  EXPECT_EQ(Shown(edit), "987-[4]56");

  // The program's insertion overwrites by its own length, whatever the
  // clipboard holds.
  Clipboard()->SetAsText("ABCDEFGH");
  edit->SetSelStart(4);
  edit->InsertText("11");
  EXPECT_EQ(Shown(edit), "987-11[6]");
  EXPECT_EQ(edit->Mode()->PastedLength(), 2);
}

namespace {

// An editor that decides per position as the date and time editors do:
// position 1 it fills itself (answering #0), position 2 refuses.
class PositionDecidingMaskEdit : public TcxMaskEdit {
 public:
  using TcxMaskEdit::TcxMaskEdit;
  bool AcceptsCharAtPosition(char32_t& Ch, Integer Position) override {
    if (Position == 1) Ch = 0;
    return Position != 2;
  }
};

}  // namespace

TEST_F(MaskEdit, AnEditorMayRefuseOrTakeOverAPosition) {
  auto* deciding = new PositionDecidingMaskEdit(form.get());
  deciding->SetParent(form.get());
  deciding->SetBounds(10, 40, 200, 21);
  deciding->MaskProperties()->SetAutoSelect(false);
  deciding->MaskProperties()->SetBeepOnError(true);
  deciding->MaskProperties()->SetEditMask("999;0;_");
  Focus(deciding);
  struct Case {
    Integer position;
    const char* shown;
    int beeps;
  } cases[] = {{0, "[_]__", 1}, {1, "_[_]_", 0}, {2, "__5[]", 0}};
  for (const Case& c : cases) {
    deciding->AssignSelStart(c.position);
    const int before = win::BeepCount();
    Type("5");
    EXPECT_EQ(Shown(deciding), c.shown) << "position " << c.position;
    EXPECT_EQ(win::BeepCount() - before, c.beeps) << "position " << c.position;
  }
}

TEST_F(MaskEdit, ValidationWithAndWithoutIgnoreMaskBlank) {
  Props()->SetEditMask("00");
  Focus(edit);
  auto check = [this](std::string& errorText) {
    Variant value(VarToStr(edit->InnerEdit()->EditValue()));
    bool error = false;
    errorText.clear();
    Props()->ValidateDisplayValue(value, errorText, error, edit);
    return !error;
  };
  std::string errorText;
  EXPECT_FALSE(check(errorText)) << "required positions left blank";
  EXPECT_EQ(errorText, "The edit value is invalid");
  Props()->SetIgnoreMaskBlank(true);
  EXPECT_TRUE(check(errorText)) << "the untouched mask passes";
  Type("1");
  EXPECT_FALSE(check(errorText)) << "a required position still blank";
  Type("2");
  EXPECT_TRUE(check(errorText));
}

TEST_F(MaskEdit, KindChangeClearsTheMaskUnlessSetInTheSameBatch) {
  auto* e = new SyntaxMaskEdit(form.get());
  e->SetParent(form.get());
  e->SetBounds(10, 40, 200, 21);
  TTestSyntaxMaskProperties* props = e->Props();
  props->SetEditMask("LL");
  props->SetMaskKind(emkRegExpr);
  EXPECT_EQ(props->EditMask(), "") << "a mask of the other syntax is dropped";
  EXPECT_EQ(e->Mode()->MaskKindOfMode(), emkRegExpr);

  props->SetMaskKind(emkStandard);
  props->LockChanges();
  props->SetMaskKind(emkRegExpr);
  props->StoreEditMask("aa");
  props->UnlockChanges();
  EXPECT_EQ(props->EditMask(), "aa") << "a kind and a mask set together survive";
  EXPECT_TRUE(e->IsMasked());

  // The setter refuses a mask the syntax cannot compile and keeps nothing.
  EXPECT_THROW(props->SetEditMask("00"), EcxMaskEditError);
  EXPECT_EQ(props->EditMask(), "aa");

  // Assigning properties that carry a kind and a mask keeps the mask.
  TTestSyntaxMaskProperties source(nullptr);
  source.SetMaskKind(emkRegExpr);
  source.SetEditMask("LaL");
  props->SetMaskKind(emkStandard);
  props->Assign(&source);
  EXPECT_EQ(props->MaskKind(), emkRegExpr);
  EXPECT_EQ(props->EditMask(), "LaL");
}

TEST_F(MaskEdit, MaskRefusedAfterAKindChangeIsClearedAndTheEditorCarriesOn) {
  auto* e = new SyntaxMaskEdit(form.get());
  e->SetParent(form.get());
  e->SetBounds(10, 40, 200, 21);
  TTestSyntaxMaskProperties* props = e->Props();
  props->SetEditMask("00");
  // The standard mask, set in the same batch as the new kind, does not
  // compile in the new syntax.
  props->LockChanges();
  props->SetMaskKind(emkRegExpr);
  props->UnlockChanges();
  EXPECT_EQ(props->EditMask(), "");
  EXPECT_FALSE(e->IsMasked());
  EXPECT_FALSE(props->IsChangeLocked()) << "the change lock is released";
  // Still listening: a later change reaches the editor.
  props->SetEditMask("LL");
  EXPECT_EQ(e->Mode()->CompiledMask(), "LL");
  Focus(e);
  Type("ab");
  EXPECT_EQ(VarToStr(e->InnerEdit()->EditValue()), "ab");
}

TEST_F(MaskEdit, EnteringWithAutoSelectSelectsAllAndTypingReplacesIt) {
  struct Case {
    TcxEditMaskKind kind;
    const char* mask;
    const char* value;
    const char* entered;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {emkStandard, "999", "", "[___]", "1", "1[_]_"},
      {emkRegExpr, "\\d+", "12", "[12]", "3", "3[]"},
      // The forced prefix stays when the whole text is typed over.
      {emkRegExprEx, "'+7'\\d*", "+712", "[+712]", "5", "+75[]"},
  };
  Props()->SetAutoSelect(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    Props()->LockChanges();
    Props()->SetMaskKind(c.kind);
    Props()->SetEditMask(c.mask);
    Props()->UnlockChanges();
    edit->SetEditValue(*c.value ? Variant(c.value) : Variant());
    Focus(edit);
    EXPECT_EQ(Shown(), c.entered);
    Type(c.typed);
    EXPECT_EQ(Shown(), c.shown);
    edit->SetEditValue(Variant());
    Focus(other);
  }
}

TEST_F(MaskEdit, ClickMovesTheCaretTheModeTypesAt) {
  Props()->SetMaskKind(emkRegExpr);
  Props()->SetEditMask("\\d+");
  Focus(edit);
  Type("1234");
  EXPECT_EQ(Shown(), "1234[]");
  const TPoint p = edit->ClientToScreen({3, 10});
  win::InjectClick({p.X, p.Y});
  Application->ProcessMessages();
  EXPECT_EQ(Shown(), "[]1234");
  Type("5");
  EXPECT_EQ(Shown(), "5[]1234");
}

TEST_F(MaskEdit, EchoModeChangeKeepsTheSelection) {
  Props()->SetEditMask("9999");
  Focus(edit);
  Type("12");
  edit->SetSelection(1, 2);
  Props()->SetEchoMode(eemPassword);
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelLength(), 2);
  Props()->SetEchoMode(eemNormal);
  EXPECT_EQ(Shown(), "1[2_]_");
}

}  // namespace
