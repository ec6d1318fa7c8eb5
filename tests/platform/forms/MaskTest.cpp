#include "platform/forms/Mask.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/rtl/Utf8.h"
#include "platform/forms/Clipbrd.h"
#include "platform/win/Clipboard.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"

using namespace formstest;
using namespace win;

namespace {

constexpr const char* kDateMask = "9999/99/99;1; ";
constexpr const char* kTimeMask = "00:00:00;1; ";

std::u32string U32(const std::string& s) {
  std::u32string out;
  for (size_t pos = 0; pos < s.size();) out += Utf8Decode(s, pos);
  return out;
}

TEST(EditMaskFormatTest, FieldsLiteralsBlanksAndCase) {
  struct Case {
    const char* Mask;
    const char* Text;      // put in
    const char* EditText;  // shown
    const char* Back;      // Text read back
    size_t Missing;        // first required blank
  };
  const Case cases[] = {
      {kDateMask, "2024/05/", "2024/05/  ", "2024/05/  ", 10},
      {kTimeMask, "12:3", "12:3 :  ", "12:3 :  ", 4},
      {kTimeMask, "12:34:56", "12:34:56", "12:34:56", 8},
      {"(999)000-0000;0;_", "1234567", "(123)456-7___", "1234567   ", 10},
      {">LL<ll;1;*", "abCD", "ABcd", "ABcd", 4},
      {"LL\\-00;1;_", "中文-1x", "中文-1_", "中文-1 ", 4},  // an escaped literal; 'x' is no digit
      {"!9999;0;_", "12", "__12", "  12", 4},                 // optional characters fill from the right
      {"AaCc#;1", "a b+", "a_b+_", "a b+ ", 5},
  };
  for (const Case& c : cases) {
    EditMaskFormat m(c.Mask);
    std::u32string edit = m.ToEditText(c.Text);
    EXPECT_EQ(edit, U32(c.EditText)) << c.Mask;
    EXPECT_EQ(m.ToText(edit), c.Back) << c.Mask;
    EXPECT_EQ(m.FirstMissing(edit), c.Missing) << c.Mask;
  }
  EditMaskFormat noFields("00;");
  EXPECT_TRUE(noFields.SaveLiterals());
  EXPECT_EQ(noFields.Blank(), U'_');
  EXPECT_TRUE(EditMaskFormat("").Empty());
}

class MaskEditTest : public EditHostTest {
 protected:
  void SetUp() override {
    EditHostTest::SetUp();
    edit = Place<TMaskEdit>(10, 10, 150, 21);
    other = Place<TMaskEdit>(10, 40, 150, 21);
  }
  std::pair<Integer, Integer> Sel() { return {edit->SelStart(), edit->SelLength()}; }

  TMaskEdit* edit = nullptr;
  TMaskEdit* other = nullptr;
};

TEST_F(MaskEditTest, DateMaskTypingStepsOverLiteralsAndRefusesLetters) {
  edit->SetEditMask(kDateMask);
  Show();
  EXPECT_EQ(edit->EditText(), "    /  /  ");
  EXPECT_EQ(edit->MaxLength(), 10);
  edit->SetAutoSelect(false);
  edit->SetFocus();
  EXPECT_EQ(Sel(), std::make_pair(0, 1));  // the caret shows as one selected position

  Type("2024");
  EXPECT_EQ(Sel(), std::make_pair(5, 1));  // over the separator
  edit->SetSelStart(4);
  Type("/");  // typing the literal at the caret steps over it
  EXPECT_EQ(Sel(), std::make_pair(5, 1));
  int beeps = BeepCount();
  Type("x");
  EXPECT_EQ(BeepCount(), beeps + 1);
  Type("0");
  EXPECT_EQ(edit->EditText(), "2024/0 /  ");
  EXPECT_TRUE(edit->Modified());

  Key(VK_BACK);
  EXPECT_EQ(edit->EditText(), "2024/  /  ");
  EXPECT_EQ(Sel(), std::make_pair(5, 1));
  Key(VK_LEFT);
  EXPECT_EQ(Sel(), std::make_pair(3, 1));  // Left skips the literal too
  Key(VK_DELETE);
  EXPECT_EQ(edit->EditText(), "202 /  /  ");
  Key(VK_END);
  EXPECT_EQ(Sel(), std::make_pair(10, 0));
  Key(VK_HOME);
  Key(VK_END, true);  // Shift selects as in any edit
  Type("1");          // over a selection: cleared, then typed at its start
  EXPECT_EQ(edit->EditText(), "1   /  /  ");

  // Text carries the literals (saved) and the blanks as spaces; setting it fills the positions.
  edit->SetText("2023/12/31");
  EXPECT_EQ(edit->EditText(), "2023/12/31");
  EXPECT_EQ(edit->GetText(), "2023/12/31");
  other->SetFocus();  // optional digits only: leaving is always valid
  EXPECT_TRUE(Boxes.empty());

  // A space typed where any character may stand is a character, not a blank,
  // even where the old value's Text reads the same as the new edit text.
  other->SetEditMask("c;1;_");
  EXPECT_EQ(other->EditText(), "_");
  Type(" ");
  EXPECT_EQ(other->EditText(), " ");
  EXPECT_TRUE(other->Modified());
}

TEST_F(MaskEditTest, TimeMaskLeavingIncompleteRaisesAndEscapeRestores) {
  edit->SetEditMask(kTimeMask);
  edit->SetText("08:15:00");
  Show();
  edit->SetFocus();
  Key(VK_HOME);
  Type("123");
  EXPECT_EQ(edit->EditText(), "12:35:00");
  Key(VK_DELETE);  // on position 4 (the caret selects it)
  EXPECT_EQ(edit->EditText(), "12:3 :00");

  int beeps = BeepCount();
  other->SetFocus();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_NE(Boxes[0].find(SMaskEditErr), std::string::npos);
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_TRUE(edit->Focused());  // the focus comes back to the faulty value
  EXPECT_EQ(Sel(), std::make_pair(4, 1));

  Key(VK_ESCAPE);
  EXPECT_EQ(edit->EditText(), "08:15:00");
  EXPECT_FALSE(edit->Modified());
  other->SetFocus();
  EXPECT_EQ(Boxes.size(), 1u);

  // A value of only blanks in required places is an error too, once typed.
  edit->SetFocus();
  edit->SelectAll();
  Key(VK_DELETE);
  EXPECT_EQ(edit->EditText(), "  :  :  ");
  EXPECT_THROW(edit->ValidateEdit(), EDBEditError);
  Type("235959");
  EXPECT_NO_THROW(edit->ValidateEdit());
  EXPECT_EQ(edit->GetText(), "23:59:59");

  // Closing the window that holds an unfinished value is no leaving to check.
  Key(VK_BACK);
  EXPECT_EQ(edit->EditText(), "23:59:5 ");
  host.reset();
  EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(MaskEditTest, ClipboardGoesThroughTheMask) {
  edit->SetEditMask("LL-00;0;_");
  Show();
  edit->SetFocus();
  Clipboard()->SetAsText("中文-42x");
  Key('V', false, true);
  EXPECT_EQ(edit->EditText(), "中文-42");
  EXPECT_EQ(edit->GetText(), "中文42");  // literals not saved

  edit->SetSelStart(0);
  edit->SetSelLength(2);
  Key(VK_DELETE, true);  // Shift+Del cuts: copied as shown, blanked in place
  EXPECT_EQ(Clipboard()->AsText(), "中文");
  EXPECT_EQ(edit->EditText(), "__-42");

  Clipboard()->SetAsText("a9");
  int beeps = BeepCount();
  Key(VK_INSERT, true);  // '9' is refused by a letter position
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_EQ(edit->EditText(), "a_-42");

  edit->SetReadOnly(true);
  Key('X', false, true);
  Type("b");
  EXPECT_EQ(edit->EditText(), "a_-42");
}

// The grid's in-place editor: a borderless multi-line edit under a mask.
class TInplaceMaskEdit : public TCustomMaskEdit {
 public:
  explicit TInplaceMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) { SetBorderStyle(bsNone); }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomMaskEdit::CreateParams(Params);
    Params.Style = (Params.Style & ~ES_AUTOHSCROLL) | ES_MULTILINE;
  }
};

TEST_F(MaskEditTest, BorderlessMultiLineDescendantEditsUnderTheMask) {
  auto* inplace = Place<TInplaceMaskEdit>(10, 70, 100, 18);
  inplace->SetEditMask(kTimeMask);
  Show();
  EXPECT_NE(GetWindowLongPtr(inplace->Handle(), GWL_STYLE) & ES_MULTILINE, 0);
  EXPECT_EQ(GetWindowLongPtr(inplace->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  inplace->SetFocus();
  Key(VK_HOME);
  Type("0930");
  Key(VK_RETURN);  // no line break in a masked value
  Type("15");
  EXPECT_EQ(inplace->EditText(), "09:30:15");
}

}  // namespace
