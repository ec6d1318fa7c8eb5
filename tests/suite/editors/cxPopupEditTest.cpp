// The popup edit on a shown form, driven through the message loop: a panel,
// an edit box or a whole form hosted in the popup and given back afterwards
// (parent, alignment, bounds, visibility, a form's border style), circular
// hosting refused, a freed control forgotten, closing from inside the popup
// with a reason, and the settings' defaults and registration. Our renderer,
// headless.
#include "suite/editors/cxPopupEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StaticCtrls.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/FormFiles.h"
#include "platform/win/Input.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"

namespace {

class PopupEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEditors();
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 400, 300);
    holder = new TPanel(form.get());
    holder->SetParent(form.get());
    holder->SetBounds(0, 0, 400, 300);
    panel = new TPanel(form.get());
    panel->SetParent(holder);
    panel->SetAlign(alBottom);
    panel->SetHeight(40);
    panel->SetVisible(false);
    other = new TEdit(form.get());
    other->SetParent(holder);
    other->SetBounds(10, 150, 100, 24);
    edit = new TcxPopupEdit(form.get());
    edit->SetParent(holder);
    edit->SetBounds(10, 10, 200, 21);
    Props()->SetPopupControl(panel);
    Props()->OnCloseUp = TNotifyEvent(this, &PopupEdit::CloseUp);
    Props()->OnInitPopup = TNotifyEvent(this, &PopupEdit::InitPopup);
    form->Show();
    Application->ProcessMessages();
    Focus(edit);
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  TcxPopupEditProperties* Props() { return edit->PopupProperties(); }
  void CloseUp(TObject*) {
    reasons.push_back(edit->CloseReason());
    if (TControl* c = Props()->PopupControl()) parentsAtCloseUp.push_back(c->Parent());
  }
  void InitPopup(TObject*) { ++inits; }
  void Focus(TWinControl* c) {
    c->SetFocus();
    Application->ProcessMessages();
  }
  void Press(Word vk) {
    win::InjectKeyPress(vk, false, false, false);
    Application->ProcessMessages();
  }
  void Open() {
    Press(win::VK_F4);
    ASSERT_TRUE(edit->IsPopupShown());
  }

  std::unique_ptr<TForm> form;
  TPanel* holder = nullptr;
  TPanel* panel = nullptr;
  TEdit* other = nullptr;
  TcxPopupEdit* edit = nullptr;
  std::vector<Integer> reasons;
  std::vector<TWinControl*> parentsAtCloseUp;
  int inits = 0;
};

TEST_F(PopupEdit, DefaultsAnswersAndRegistration) {
  TcxPopupEditProperties* p = Props();
  EXPECT_TRUE(p->PopupAutoSize());
  EXPECT_EQ(p->PopupHeight(), 200);
  EXPECT_EQ(p->PopupMinHeight(), 100);
  EXPECT_EQ(p->PopupMinWidth(), 100);
  EXPECT_TRUE(p->PopupSizeable());
  EXPECT_EQ(p->PopupWidth(), 250);
  EXPECT_TRUE(p->ImmediateDropDown());
  EXPECT_TRUE(p->ImmediatePopup());
  EXPECT_FALSE(TcxCustomPopupEditProperties(nullptr).ImmediatePopup()) << "only the published kind pops up at once";
  EXPECT_TRUE(p->PopupTakesFocus());
  EXPECT_FALSE(p->PopupShowsLookupList());
  EXPECT_EQ(p->EditClass(), TcxPopupEdit::StaticClass());
  EXPECT_NE(dynamic_cast<TcxPopupEditPopupWindow*>(edit->PopupWindow()), nullptr);
  EXPECT_NE(dynamic_cast<TcxPopupEditPopupWindowViewInfo*>(edit->PopupWindow()->PopupViewInfo()), nullptr);

  // Copying takes the hosted control along.
  TcxPopupEditProperties copy(nullptr);
  copy.Assign(p);
  EXPECT_EQ(copy.PopupControl(), panel);
  EXPECT_EQ(copy.PopupWidth(), 250);

  for (const char* name : {"TcxPopupEdit", "TcxPopupEditProperties", "TcxEditRepositoryPopupItem"})
    EXPECT_NE(GetClass(name), nullptr) << name;
  TcxRegisteredClasses* kinds = GetRegisteredEditProperties();
  const Integer i = kinds->IndexOfClass(TcxPopupEditProperties::StaticClass());
  ASSERT_GE(i, 0);
  EXPECT_EQ(kinds->Descriptions(i), "PopupEdit|Represents an edit control with a dropdown list");
  TcxEditRepositoryPopupItem item(nullptr);
  EXPECT_NE(dynamic_cast<TcxPopupEditProperties*>(item.Properties()), nullptr);
}

TEST_F(PopupEdit, APanelFillsThePopupAndGoesBackWithItsAlignBoundsAndVisibility) {
  panel->SetWidth(180);  // aligned to the bottom: as wide as its parent until it leaves
  const TRect oldBounds = panel->BoundsRect();
  Open();
  TcxCustomEditPopupWindow* w = edit->PopupWindow();
  EXPECT_EQ(inits, 1);
  EXPECT_EQ(panel->Parent(), w);
  EXPECT_EQ(panel->Align(), alClient);
  EXPECT_TRUE(panel->Visible());
  EXPECT_EQ(panel->BoundsRect(), w->PopupViewInfo()->ClientRect) << "fills the client area inside the frame";
  EXPECT_TRUE(panel->Focused()) << "the popup takes the focus for its control";
  // Auto-sized from the panel, but a sizeable popup is at least 100 x 100.
  const TRect e = w->PopupViewInfo()->ClientExtents();
  EXPECT_EQ(w->Width(), oldBounds.Width() + e.Left + e.Right);
  EXPECT_EQ(w->Height(), 100);

  // A button inside the popup closes it through the queue with its reason.
  edit->CloseWithReason(PopupCloseReasonAccept);
  EXPECT_TRUE(edit->IsPopupShown()) << "closed later, from the queue";
  Application->ProcessMessages();
  EXPECT_FALSE(edit->IsPopupShown());
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonAccept});
  EXPECT_EQ(parentsAtCloseUp, std::vector<TWinControl*>{holder}) << "OnCloseUp sees the control back in place";
  EXPECT_EQ(panel->Align(), alBottom);
  EXPECT_EQ(panel->BoundsRect(), oldBounds);
  EXPECT_FALSE(panel->Visible());
  EXPECT_TRUE(edit->Focused()) << "the edit has the focus back";

  // Without the auto size: the sizes of the settings.
  Props()->SetPopupAutoSize(false);
  Open();
  EXPECT_EQ(edit->PopupWindow()->Width(), 250);
  EXPECT_EQ(edit->PopupWindow()->Height(), 200);
  edit->ClosePopup(PopupCloseReasonCancel);
  EXPECT_EQ(panel->Parent(), holder);
}

TEST_F(PopupEdit, ACharacterThatOpensThePopupReachesTheHostedEditBox) {
  auto* box = new TEdit(form.get());
  box->SetParent(holder);
  box->SetBounds(10, 200, 150, 24);
  Props()->SetPopupControl(box);
  win::InjectCharacter(U'x');
  Application->ProcessMessages();
  ASSERT_TRUE(edit->IsPopupShown());
  EXPECT_EQ(box->GetText(), "x");
  EXPECT_EQ(edit->GetText(), "");
  EXPECT_TRUE(box->Focused());
  edit->ClosePopup(PopupCloseReasonCancel);
  EXPECT_EQ(box->Parent(), holder);
  EXPECT_EQ(box->BoundsRect(), TRect(10, 200, 160, 224));
}

TEST_F(PopupEdit, AFormIsShownBorderlessAndGetsItsBorderStyleBack) {
  auto* hosted = new TForm(form.get());
  hosted->SetBorderStyle(bsDialog);
  hosted->SetBounds(0, 0, 160, 120);
  Props()->SetPopupControl(hosted);
  Open();
  EXPECT_EQ(hosted->Parent(), edit->PopupWindow());
  EXPECT_EQ(hosted->BorderStyle(), bsNone);
  EXPECT_TRUE(hosted->Visible());
  edit->ClosePopup(PopupCloseReasonCancel);
  EXPECT_EQ(hosted->Parent(), nullptr);
  EXPECT_EQ(hosted->BorderStyle(), bsDialog);
  EXPECT_FALSE(hosted->Visible());
  EXPECT_EQ(hosted->BoundsRect(), TRect(0, 0, 160, 120));
}

TEST_F(PopupEdit, HostingTheEditOrItsPopupIsRefusedAsCircular) {
  struct Case {
    const char* name;
    TControl* control;
  };
  const Case cases[] = {
      {"the edit's form", form.get()},
      {"a parent of the edit", holder},
      {"the edit", edit},
      {"the popup window", edit->PopupWindow()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Props()->SetPopupControl(c.control);
    inits = 0;
    try {
      edit->SetPopupShown(true);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Circular referencing is not allowed");
    }
    Application->ProcessMessages();
    EXPECT_FALSE(edit->IsPopupShown());
    EXPECT_EQ(inits, 0) << "OnInitPopup runs after the check";
  }
  EXPECT_EQ(holder->Parent(), form.get());
  EXPECT_EQ(edit->Parent(), holder);
}

TEST_F(PopupEdit, AFreedControlIsForgottenWhetherClosedOrHosted) {
  delete panel;
  EXPECT_EQ(Props()->PopupControl(), nullptr);
  Press(win::VK_F4);
  EXPECT_EQ(inits, 1);
  EXPECT_FALSE(edit->IsPopupShown()) << "nothing to host, nothing opens";

  // Freed while it is in the popup: the popup closes empty-handed.
  auto* box = new TPanel(form.get());
  box->SetParent(holder);
  Props()->SetPopupControl(box);
  Open();
  delete box;
  EXPECT_EQ(Props()->PopupControl(), nullptr);
  edit->ClosePopup(PopupCloseReasonCancel);
  EXPECT_FALSE(edit->IsPopupShown());
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonCancel});

  // Its old parent freed while it is hosted: it stays without a parent.
  auto* box2 = new TPanel(form.get());
  auto* home = new TPanel(form.get());
  home->SetParent(holder);
  box2->SetParent(home);
  Props()->SetPopupControl(box2);
  Focus(edit);
  Open();
  delete home;
  edit->ClosePopup(PopupCloseReasonCancel);
  EXPECT_EQ(box2->Parent(), nullptr);
}

TEST_F(PopupEdit, ASettingsChangeWhileOpenKeepsTheControlsHome) {
  // An open popup is arranged again on a change; the control is already in
  // it then, and must still go back to where it came from.
  const TRect oldBounds = panel->BoundsRect();
  Open();
  Props()->SetPopupSysPanelStyle(true);
  ASSERT_TRUE(edit->IsPopupShown());
  EXPECT_EQ(panel->Align(), alClient);
  edit->ClosePopup(PopupCloseReasonCancel);
  EXPECT_EQ(panel->Parent(), holder);
  EXPECT_EQ(panel->Align(), alBottom);
  EXPECT_EQ(panel->BoundsRect(), oldBounds);
  EXPECT_FALSE(panel->Visible());
}

TEST_F(PopupEdit, FreeingTheEditGivesTheControlBack) {
  Open();
  delete edit;
  edit = nullptr;
  Application->ProcessMessages();
  EXPECT_EQ(panel->Parent(), holder);
  EXPECT_EQ(panel->Align(), alBottom);
  EXPECT_FALSE(panel->Visible());
  EXPECT_TRUE(ShownPopups().empty());

  // Also with the popup requested but not shown yet.
  edit = new TcxPopupEdit(form.get());
  edit->SetParent(holder);
  edit->SetBounds(10, 40, 200, 21);
  edit->PopupProperties()->SetPopupControl(panel);
  Application->ProcessMessages();
  edit->SetPopupShown(true);
  ASSERT_EQ(panel->Parent(), edit->PopupWindow()) << "arranged at the request";
  delete edit;
  edit = nullptr;
  Application->ProcessMessages();
  EXPECT_EQ(panel->Parent(), holder);
  EXPECT_EQ(panel->Align(), alBottom);
}

TEST(PopupEditStream, AFormNamesTheHostedControlAndWritesOnlyWhatDiffers) {
  InitializeEditors();
  const std::string text = R"(object Form1: TForm
  object Edit1: TcxPopupEdit
    Left = 8
    Top = 8
    Properties.PopupControl = Panel1
    Properties.PopupWidth = 300
    Width = 150
  end
  object Panel1: TPanel
    Left = 8
    Top = 40
    Width = 120
    Height = 60
  end
end
)";
  TForm form(nullptr);
  ReadComponentText(text, &form);
  auto* edit = dynamic_cast<TcxPopupEdit*>(form.FindComponent("Edit1"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->PopupProperties()->PopupControl(), form.FindComponent("Panel1")) << "a reference read before its control";
  EXPECT_EQ(edit->PopupProperties()->PopupWidth(), 300);
  const std::string written = WriteComponentText(&form);
  EXPECT_NE(written.find("Properties.PopupControl = Panel1"), std::string::npos) << written;
  EXPECT_NE(written.find("Properties.PopupWidth = 300"), std::string::npos) << written;
  for (const char* unwritten : {"PopupHeight", "PopupMinWidth", "PopupSizeable", "ImmediatePopup", "PopupAutoSize"})
    EXPECT_EQ(written.find(unwritten), std::string::npos) << unwritten << " is at its default";
}

}  // namespace
