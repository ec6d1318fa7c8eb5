#include "platform/forms/MessageDialogs.h"

#include <gtest/gtest.h>

#include "FormsFixture.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"

using namespace formstest;
using namespace win;

namespace {

// Answers by pressing a button the way a person would: Enter, Escape or a
// click on a button by name. Records what the dialog showed.
class MessageDialogsTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    previous_ = SetDialogHook([this](TForm* dialog) { return Answer(dialog); });
  }
  void TearDown() override {
    SetDialogHook(previous_);
    FormsTest::TearDown();
  }

  TModalResult Answer(TForm* dialog) {
    Caption = dialog->Caption();
    auto* message = dynamic_cast<TLabel*>(dialog->FindComponent("Message"));
    Text = message ? message->Caption() : "";
    Buttons.clear();
    DefaultButton.clear();
    CancelButton.clear();
    for (Integer i = 0; i < dialog->ComponentCount(); ++i)
      if (auto* b = dynamic_cast<TButton*>(dialog->Components(i))) {
        Buttons.push_back(b->Name());
        if (b->Default()) DefaultButton = b->Name();
        if (b->Cancel()) CancelButton = b->Name();
      }
    dialog->SetModalResult(mrNone);
    dialog->Show();
    if (Press == "Enter" || Press == "Escape") {
      dialog->Perform(CM_DIALOGKEY, Press == "Enter" ? VK_RETURN : VK_ESCAPE, 0);
    } else if (auto* b = dynamic_cast<TButton*>(dialog->FindComponent(Press))) {
      SendMessage(b->Handle(), BM_CLICK, 0, 0);
    }
    if (!Screenshot.empty()) {
      dialog->Repaint();
      UpdateWindow(dialog->Handle());
      HDC dc = GetWindowDC(dialog->Handle());
      SaveDCToPng(dc, Screenshot);
      ReleaseDC(dialog->Handle(), dc);
    }
    return dialog->ModalResult();
  }

  std::string Press = "Enter";
  std::string Screenshot;
  std::string Caption, Text, DefaultButton, CancelButton;
  std::vector<std::string> Buttons;

 private:
  TDialogHook previous_;
};

TEST_F(MessageDialogsTest, MessageDlgShowsItsButtonsAndAnswersWithThePressedOne) {
  Screenshot = "message-dialog.png";
  EXPECT_EQ(MessageDlg("Save the changes?", mtConfirmation, mbYesNoCancel), mrYes);
  Screenshot.clear();
  EXPECT_EQ(Caption, "Confirm");
  EXPECT_EQ(Text, "Save the changes?");
  EXPECT_EQ(Buttons, (std::vector<std::string>{"Yes", "No", "Cancel"}));
  EXPECT_EQ(DefaultButton, "Yes");
  EXPECT_EQ(CancelButton, "Cancel");

  Press = "Escape";
  EXPECT_EQ(MessageDlg("Really?", mtWarning, {mbYes, mbNo}), mrNo);  // No stands in for Cancel
  Press = "Retry";
  EXPECT_EQ(MessageDlg("Failed", mtError, mbAbortRetryIgnore), mrRetry);
  EXPECT_EQ(Caption, "Error");
}

TEST_F(MessageDialogsTest, MessageBoxTakesTheSystemsFlags) {
  struct Case {
    UINT Flags;
    const char* Press;
    int Expected;
    const char* Default;
  } cases[] = {
      {MB_OK, "Enter", IDOK, "OK"},
      {MB_OKCANCEL, "Escape", IDCANCEL, "OK"},
      {MB_YESNO | MB_ICONQUESTION, "Enter", IDYES, "Yes"},
      {MB_YESNO | MB_DEFBUTTON2, "Enter", IDNO, "No"},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, "Enter", IDCANCEL, "Cancel"},
      {MB_YESNOCANCEL, "No", IDNO, "Yes"},
      {MB_RETRYCANCEL | MB_ICONEXCLAMATION, "Retry", IDRETRY, "Retry"},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, "Enter", IDIGNORE, "Ignore"},
  };
  for (const Case& c : cases) {
    Press = c.Press;
    EXPECT_EQ(MessageBox("Text", "Title", c.Flags), c.Expected) << std::hex << c.Flags;
    EXPECT_EQ(Caption, "Title");
    EXPECT_EQ(DefaultButton, c.Default) << std::hex << c.Flags;
  }
  // A box closed without a button answers Cancel, or OK when it has none.
  Press = "nothing";
  EXPECT_EQ(MessageBox("Text", "Title", MB_OK), IDOK);
}

TEST_F(MessageDialogsTest, ShowMessageHasOnlyOK) {
  Application->SetTitle("Radio");
  ShowMessage("Done.");
  EXPECT_EQ(Buttons, (std::vector<std::string>{"OK"}));
  EXPECT_EQ(Caption, "Radio");
  EXPECT_EQ(Text, "Done.");
}

}  // namespace

namespace {

// Without a hook of its own, the application shows an exception in the
// message dialog, captioned with its title.
TEST_F(MessageDialogsTest, ApplicationShowsExceptionsInTheTitledBox) {
  const TMessageBoxHook fixtureHook = SetMessageBoxHook(nullptr);  // back to the default box
  const std::string title = Application->Title();
  Application->SetTitle("VXN-N41/N42");
  Exception e("Port busy");
  Application->ShowException(&e);
  Application->SetTitle(title);
  SetMessageBoxHook(fixtureHook);
  EXPECT_EQ(Caption, "VXN-N41/N42");
  EXPECT_EQ(Text, "Port busy.");
  EXPECT_EQ(Buttons, (std::vector<std::string>{"OK"}));
}

}  // namespace
