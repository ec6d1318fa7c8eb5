#include "platform/forms/MessageDialogs.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/ButtonCtrls.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"
#include "tests/support/Pictures.h"
#include "tests/support/VisualStylesScope.h"

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
    if (Look) {
      dialog->Repaint();
      UpdateWindow(dialog->Handle());
      // The icon's body (above its mark) and the ink of the message.
      IconColour = PixelAt(*dialog, 8 + 16, 8 + 4);
      TextInk = 0;
      if (message)
        for (Integer y = 0; y < message->Height(); ++y)
          for (Integer x = 0; x < message->Width(); ++x)
            TextInk += static_cast<win::COLORREF>(PixelAt(*dialog, message->Left() + x, message->Top() + y)) ==
                       ColorToRGB(clWindowText);
      if (!Screenshot.empty()) {
        HDC dc = GetWindowDC(dialog->Handle());
        SaveDCToPng(dc, Screenshot);
        ReleaseDC(dialog->Handle(), dc);
      }
    }
    return dialog->ModalResult();
  }

  std::string Press = "Enter";
  bool Look = false;  // read the picture back (and save it when Screenshot names a file)
  std::string Screenshot;
  TColor IconColour = clNone;
  int TextInk = 0;
  std::string Caption, Text, DefaultButton, CancelButton;
  std::vector<std::string> Buttons;

 private:
  TDialogHook previous_;
};

TEST_F(MessageDialogsTest, MessageDlgShowsItsButtonsAndAnswersWithThePressedOne) {
  VisualStylesScope classic(false);
  Look = true;
  Screenshot = PicturePath("message-dialog.png");
  EXPECT_EQ(MessageDlg("Save the changes?", mtConfirmation, mbYesNoCancel), mrYes);
  EXPECT_EQ(IconColour, clBlue);
  EXPECT_GT(TextInk, 40);  // the text is drawn, not an empty label
  Look = false;
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

TEST_F(MessageDialogsTest, TheIconShowsTheKindOfMessage) {
  VisualStylesScope classic(false);
  Look = true;
  const struct {
    TMsgDlgType Type;
    TColor Body;
  } cases[] = {{mtWarning, clYellow}, {mtError, clRed}, {mtInformation, clBlue}, {mtConfirmation, clBlue}};
  for (const auto& c : cases) {
    MessageDlg("Text", c.Type, {mbOK});
    EXPECT_EQ(IconColour, c.Body) << c.Type;
  }
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

namespace {

// Answers the question with real key input while the dialog is up, as a
// person at the keyboard would: each step is a key or a piece of text.
class InputQueryTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    previous_ = SetDialogHook([this](TForm* dialog) {
      dialog->SetModalResult(mrNone);
      dialog->Show();
      auto* prompt = dynamic_cast<TLabel*>(dialog->FindComponent("Prompt"));
      Prompt = prompt ? prompt->Caption() : "";
      Caption = dialog->Caption();
      auto* field = dynamic_cast<TWinControl*>(dialog->FindComponent("Value"));
      FieldFocused = field && field->Focused();
      for (const std::string& step : Keys) {
        if (step == "Tab") InjectKeyPress(VK_TAB);
        else if (step == "Enter") InjectKeyPress(VK_RETURN);
        else if (step == "Escape") InjectKeyPress(VK_ESCAPE);
        else InjectText(step);
        Pump();
      }
      return dialog->ModalResult();
    });
  }
  void TearDown() override {
    SetDialogHook(previous_);
    FormsTest::TearDown();
  }

  std::vector<std::string> Keys;
  std::string Prompt, Caption;
  bool FieldFocused = false;

 private:
  TDialogHook previous_;
};

TEST_F(InputQueryTest, TypedTextReplacesTheSelectedValueOnOK) {
  struct Case {
    std::vector<std::string> keys;
    bool answer;
    std::string value;
  } cases[] = {
      {{"147.5", "Enter"}, true, "147.5"},          // Enter reaches the default button
      {{"147.5", "Escape"}, false, "abc"},          // Escape the cancel button; Value stays
      {{"9", "Tab", "Enter"}, true, "9"},           // Tab to OK, which takes Enter
      {{"9", "Tab", "Tab", "Enter"}, false, "abc"}, // the focused Cancel wins over the default
  };
  for (const Case& c : cases) {
    Keys = c.keys;
    std::string value = "abc";
    EXPECT_EQ(InputQuery("Channel", "&Frequency:", value), c.answer) << c.keys.size();
    EXPECT_EQ(value, c.value);
  }
  EXPECT_EQ(Caption, "Channel");
  EXPECT_EQ(Prompt, "&Frequency:");
  EXPECT_TRUE(FieldFocused);
}

// The field paints the typed text (and input-query.png shows the dialog).
TEST_F(InputQueryTest, TheFieldShowsWhatIsTyped) {
  int ink = -1;
  SetDialogHook([&ink](TForm* dialog) {
    dialog->Show();
    InjectText("888");
    Application->ProcessMessages();
    auto* field = dynamic_cast<TWinControl*>(dialog->FindComponent("Value"));
    UpdateWindow(dialog->Handle());
    HDC dc = GetDC(field->Handle());
    ink = 0;
    for (int y = 0; y < field->ClientHeight(); ++y)
      for (int x = 0; x < field->ClientWidth(); ++x) ink += GetPixel(dc, x, y) == GetSysColor(COLOR_WINDOWTEXT);
    ReleaseDC(field->Handle(), dc);
    dc = GetWindowDC(dialog->Handle());
    SaveDCToPng(dc, PicturePath("input-query.png"));
    ReleaseDC(dialog->Handle(), dc);
    return mrCancel;
  });
  std::string value;
  InputQuery("Channel 1", "&Receive frequency (MHz):", value);
  EXPECT_GT(ink, 20);  // three digits of ink, not an empty box
}

TEST_F(InputQueryTest, InputBoxGivesTheDefaultWhenCancelled) {
  Keys = {"Name", "Escape"};
  EXPECT_EQ(InputBox("Rename", "New name:", "Ch 1"), "Ch 1");
  Keys = {"Name", "Enter"};
  EXPECT_EQ(InputBox("Rename", "New name:", "Ch 1"), "Name");
}

}  // namespace

namespace {

// Without a hook the question runs its own modal loop; keys waiting in the
// input queue answer it there.
TEST_F(FormsTest, InputQueryAnswersInsideItsModalLoop) {
  const TDialogHook previous = SetDialogHook(nullptr);
  struct SafetyNet {
    int Idles = 0;
    void Idle(TObject*, bool& Done) {
      Done = false;
      if (++Idles > 200) Application->Terminate();  // never hang the run
    }
  } net;
  Application->OnIdle = TIdleEvent(&net, &SafetyNet::Idle);
  InjectText("42");
  InjectKeyPress(VK_RETURN);
  std::string value = "7";
  const bool answered = InputQuery("Step", "Step:", value);
  SetDialogHook(previous);
  EXPECT_TRUE(answered);
  EXPECT_EQ(value, "42");
  EXPECT_LT(net.Idles, 200);
}

}  // namespace
