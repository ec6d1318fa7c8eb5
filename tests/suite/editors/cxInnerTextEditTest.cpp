// The caret's character index in an edit window, on empty and filled texts.
#include "suite/editors/cxInnerTextEdit.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/EditControl.h"
#include "suite/editors/EditorsStartup.h"

namespace {

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
