#include "script/fs_iformsrtti.h"

#include <gtest/gtest.h>

#include "platform/forms/ButtonCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/ObjectHandles.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "tests/script/ScriptRun.h"

using scriptrun::Runner;

namespace {

struct FormCase {
  const char* language;
  const char* source;
};

// A script builds a form with an edit and a button on the headless backend
// and reacts to the button's click.
TEST(FormsBindingTest, AScriptBuildsAFormAndHandlesItsClick) {
  const FormCase cases[] = {
      {"PascalScript", R"(var F: TForm; E: TEdit; B: TButton;
procedure Clicked(Sender: TObject);
begin
  E.Text := 'clicked ' + TButton(Sender).Caption;
  Log(E.Text);
end;
begin
  F := TForm.Create(nil);
  E := TEdit.Create(F); E.Parent := F;
  B := TButton.Create(F); B.Parent := F; B.Caption := 'Go';
  B.SetBounds(10, 40, 80, 24);
  B.OnClick := @Clicked;
  Log(B.Left + B.Top);
end.)"},
      {"JScript", R"(var F, E, B;
function Clicked(Sender) { E.Text = "clicked " + B.Caption; Log(E.Text); }
F = new TForm(nil);
E = new TEdit(F); E.Parent = F;
B = new TButton(F); B.Parent = F; B.Caption = "Go";
B.SetBounds(10, 40, 80, 24);
B.OnClick = &Clicked;
Log(B.Left + B.Top);)"},
  };
  for (const FormCase& c : cases) {
    Runner r;
    ASSERT_EQ(r.Run(c.language, c.source), "50") << c.language;
    auto* button = VarToObject<TButton>(r.Script->LookupName("B")->GetValue());
    auto* form = VarToObject<TForm>(r.Script->LookupName("F")->GetValue());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Parent(), form);
    r.Output.clear();
    button->Click();
    EXPECT_EQ(r.Output, "clicked Go") << c.language;
    auto* edit = VarToObject<TEdit>(r.Script->LookupName("E")->GetValue());
    EXPECT_EQ(edit->GetText(), "clicked Go");
    delete form;  // the form owns the edit and the button
  }
}

TEST(FormsBindingTest, ConstantsAndCloseQuery) {
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", "begin Log(VK_F1); Log(VK_F2); Log(crSize = crSizeAll); Log(mrYesToAll) end."),
            "112 113 True 10");
  ASSERT_EQ(r.Run("PascalScript", R"(var F: TForm;
procedure Query(Sender: TObject; var CanClose: Boolean); begin CanClose := False; Log('asked') end;
begin F := TForm.Create(nil); F.OnCloseQuery := @Query end.)"),
            "");
  auto* form = VarToObject<TForm>(r.Script->LookupName("F")->GetValue());
  EXPECT_FALSE(form->CloseQuery());  // the script's handler keeps the form open
  EXPECT_EQ(r.Output, "asked");
  delete form;
}

TEST(FormsBindingTest, AScrollBoxsBarsAreObjectsOfTheirOwn) {
  Runner r;
  EXPECT_EQ(r.Run("PascalScript", R"(var S: TScrollBox; B: TControlScrollBar;
begin
  S := TScrollBox.Create(nil);
  B := S.VertScrollBar;
  B.Increment := 24;
  Log(S.VertScrollBar.Increment);
  Log(S.HorzScrollBar.Increment);
  Log(B is TPersistent);
  S.Free;
end.)"),
            "24 8 True");
}

// The modal loop waits; a press on the button (sent from the idle handler,
// as a person's click would come) runs the script's handler, whose
// ModalResult assignment ends the loop with that result.
TEST(FormsBindingTest, AScriptsModalResultEndsShowModal) {
  Runner r;
  struct Presser {
    Runner* Script;
    int Idles = 0;
    void Idle(TObject*, bool& Done) {
      Done = false;  // never wait for a message in a test
      if (++Idles == 2) {
        auto* button = VarToObject<TButton>(Script->Script->LookupName("B")->GetValue());
        win::SendMessage(button->Handle(), win::BM_CLICK, 0, 0);
      }
      if (Idles > 50) Application->Terminate();  // a safety net, not part of the behaviour
    }
  } presser{&r};
  Application->OnIdle = TIdleEvent(&presser, &Presser::Idle);
  const std::string result = r.Run("PascalScript", R"(var F: TForm; B: TButton;
procedure Clicked(Sender: TObject);
begin
  Log(F.ModalResult);
  F.ModalResult := mrYes;
end;
begin
  F := TForm.Create(nil);
  B := TButton.Create(F); B.Parent := F; B.Caption := 'Yes';
  B.OnClick := @Clicked;
  Log(F.ShowModal);
  Log(F.Visible);
  F.Free;
end.)");
  Application->OnIdle = nullptr;
  EXPECT_EQ(result, "0 6 False");
}

}  // namespace
