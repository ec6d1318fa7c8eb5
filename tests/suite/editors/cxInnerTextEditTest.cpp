// The caret's character index in an edit window, on empty and filled texts;
// whether a key changed an inner text edit's text or selection.
#include "suite/editors/cxInnerTextEdit.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/EditControl.h"
#include "suite/editors/EditorsStartup.h"

namespace {

// An inner text edit whose text and selection the test sets.
class FakeInnerTextEdit : public IcxInnerTextEdit {
 public:
  explicit FakeInnerTextEdit(TWinControl* AControl) : control(AControl) {}
  TWinControl* Control() override { return control; }
  TcxContainer* ControlContainer() override { return nullptr; }
  TcxCustomEdit* OwnerEdit() override { return nullptr; }
  win::LRESULT CallDefaultWindowProc(win::UINT, win::WPARAM, win::LPARAM) override { return 0; }
  Variant EditValue() override { return Variant(text); }
  TNotifyEvent OnChange() override { return {}; }
  bool ReadOnly() override { return false; }
  void LockBounds(bool) override {}
  void FocusWithoutAutoSelect() override {}
  void AssignEditValue(const Variant&) override {}
  void SetParent(TWinControl*) override {}
  void SetOnChange(TNotifyEvent) override {}
  void SetReadOnly(bool) override {}
  void ClearSelection() override {}
  void CopyToClipboard() override {}
  TAlignment Alignment() override { return taLeftJustify; }
  bool AutoSelect() override { return false; }
  TEditCharCase CharCase() override { return ecNormal; }
  TcxEditEchoMode EchoMode() override { return eemNormal; }
  bool HideSelection() override { return false; }
  char ImeLastChar() override { return 0; }
  TImeMode ImeMode() override { return imDontCare; }
  std::string ImeName() override { return {}; }
  bool KeyHandled() override { return false; }
  Integer MaxLength() override { return 0; }
  bool IsMultiLine() override { return false; }
  bool OEMConvert() override { return false; }
  char PasswordChar() override { return 0; }
  Integer SelLength() override { return selLength; }
  Integer SelStart() override { return selStart; }
  std::string SelText() override { return {}; }
  void SelectAll() override {}
  void SetAlignment(TAlignment) override {}
  void SetAutoSelect(bool) override {}
  void SetCharCase(TEditCharCase) override {}
  void SetEchoMode(TcxEditEchoMode) override {}
  void SetHideSelection(bool) override {}
  void SetKeyHandled(bool) override {}
  void SetImeMode(TImeMode) override {}
  void SetImeName(const std::string&) override {}
  void SetMaxLength(Integer) override {}
  void SetOEMConvert(bool) override {}
  void SetPasswordChar(char) override {}
  void SetSelLength(Integer) override {}
  void SetSelStart(Integer) override {}
  void SetSelText(const std::string&) override {}

  TWinControl* control;
  std::string text;
  Integer selStart = 0;
  Integer selLength = 0;
};

TEST(InnerTextEdit, StateChangedByTextAndSelection) {
  TForm* form = new TForm(nullptr);
  auto* window = new TEdit(form);
  window->SetParent(form);
  FakeInnerTextEdit edit(window);
  // Without a window every key counts as a change.
  TcxCustomInnerTextEditPrevState state;
  SaveInnerTextEditState(&edit, true, state);
  EXPECT_TRUE(InnerTextEditStateChanged(&edit, state));
  window->Handle();

  struct Case {
    bool saveText;
    const char* newText;
    Integer newStart, newLength;
    bool changed;
  };
  const Case cases[] = {
      {true, "Abc", 1, 2, false},   // nothing moved
      {true, "ABC", 1, 2, false},   // only the case differs
      {true, "Abcd", 1, 2, true},   // the text grew
      {false, "Abcd", 1, 2, false}, // the text was not kept
      {false, "Abc", 2, 2, true},   // the selection moved
      {false, "Abc", 1, 0, true},   // the selection collapsed
  };
  for (const Case& c : cases) {
    edit.text = "Abc";
    edit.selStart = 1;
    edit.selLength = 2;
    SaveInnerTextEditState(&edit, c.saveText, state);
    EXPECT_EQ(state.TextKept, c.saveText);
    edit.text = c.newText;
    edit.selStart = c.newStart;
    edit.selLength = c.newLength;
    EXPECT_EQ(InnerTextEditStateChanged(&edit, state), c.changed) << c.newText << " " << c.newStart;
  }
  delete form;
}

TEST(InnerTextEdit, CaretCharIndexOnEmptyAndFilledTexts) {
  InitializeEditors();
  TForm* form = new TForm(nullptr);
  form->SetBounds(0, 0, 300, 100);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 200, 24);
  form->Show();
  edit->SetFocus();
  EXPECT_EQ(CaretCharIndex(edit), 0);

  edit->SetText("ab中文cdef");
  for (Integer caret : {0, 1, 2, 3, 4, 7, 8}) {
    edit->SetSelStart(caret);
    EXPECT_EQ(CaretCharIndex(edit), caret) << caret;
  }
  // A selection made backwards leaves the caret at its start.
  edit->SetSelStart(6);
  edit->SetSelLength(0);
  win::SendMessage(edit->Handle(), win::EM_SETSEL, 6, 2);
  EXPECT_EQ(CaretCharIndex(edit), 2);
  form->Free();
}

}  // namespace
