// The drop-down edit on a shown form, driven through the message loop with
// injected keys and clicks: opening from the queue (a second request while
// one is queued does nothing, validation cancels a queued one), every close
// reason from the keys, Tab, focus loss and the mouse, the value taken or
// kept, immediate posting before or after the window hides, typed
// characters that open the popup and reach its focused control, the
// settings' rules, and the look and feel of the popup's controls following
// the edit's buttons. Our renderer, headless.
#include "suite/editors/cxDropDownEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRepository.h"
#include "suite/editors/cxEditStyles.h"
#include "suite/editors/cxTextEditViewInfo.h"
#include "tests/support/VisualStylesScope.h"

namespace {

// A drop-down whose popup hosts one edit box; a pick writes "picked".
class TestDropDown : public TcxCustomDropDownEdit {
 public:
  explicit TestDropDown(TComponent* AOwner, TcxCustomEditPropertiesClass AClass = nullptr, bool AIsInplace = false)
      : TcxCustomDropDownEdit(AOwner, AIsInplace,
                              DropDownEditKind(AClass ? AClass : TcxCustomDropDownEditProperties::StaticClass())) {
    box = new TEdit(PopupWindow());
    box->SetParent(PopupWindow());
  }
  TcxCustomDropDownEditProperties* Props() { return static_cast<TcxCustomDropDownEditProperties*>(Properties()); }
  using TcxCustomDropDownEdit::DoStartDock;
  bool CanOpenPopup() override { return canOpen; }
  TSize PopupContentSize() override { return {80, 40}; }
  void PlacePopupContent(const TRect& R) override { box->SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  TWinControl* PopupFocusTarget() override { return Props()->PopupTakesFocus() ? box : TcxCustomDropDownEdit::PopupFocusTarget(); }
  void ClosePopup(Integer AReason) override {
    // A reason that takes the value puts the pick into the edit.
    if (IsPopupShown() && (AReason == PopupCloseReasonTab || AReason == PopupCloseReasonToggle ||
                           AReason == PopupCloseReasonAccept)) {
      SetUserChanging(true);
      SetText("picked");
      MarkModifiedAndClick();
      SetUserChanging(false);
    }
    TcxCustomDropDownEdit::ClosePopup(AReason);
  }

  bool canOpen = true;
  TEdit* box = nullptr;
};

// Properties whose popup takes the focus.
class FocusTakingProperties : public TcxCustomDropDownEditProperties {
  VXN_DECLARE_CLASS(FocusTakingProperties)

 public:
  using TcxCustomDropDownEditProperties::TcxCustomDropDownEditProperties;
  bool PopupTakesFocus() override { return true; }
};

// Properties that post after the window closed.
class LatePostingProperties : public TcxCustomDropDownEditProperties {
  VXN_DECLARE_CLASS(LatePostingProperties)

 public:
  using TcxCustomDropDownEditProperties::TcxCustomDropDownEditProperties;
  bool PostAfterPopupClosed() override { return true; }
};

// Properties of a pick-only list.
class ListPickProperties : public TcxCustomDropDownEditProperties {
  VXN_DECLARE_CLASS(ListPickProperties)

 public:
  using TcxCustomDropDownEditProperties::TcxCustomDropDownEditProperties;
  TcxEditingStyle EditingStyle() override { return esListPick; }
};

// A kind whose drop-down button is the second, behind an ellipsis button.
class SecondButtonProperties : public TcxCustomDropDownEditProperties {
  VXN_DECLARE_CLASS(SecondButtonProperties)

 public:
  explicit SecondButtonProperties(TPersistent* AOwner) : TcxCustomDropDownEditProperties(AOwner) {
    Buttons()->Items(0)->SetKind(bkEllipsis);
    Buttons()->Add()->SetKind(bkDown);
  }
  Integer DropDownButtonIndex() override { return 1; }
};

}  // namespace

VXN_IMPLEMENT_CREATABLE_CLASS(FocusTakingProperties, TcxCustomDropDownEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(LatePostingProperties, TcxCustomDropDownEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(ListPickProperties, TcxCustomDropDownEditProperties)
VXN_IMPLEMENT_CREATABLE_CLASS(SecondButtonProperties, TcxCustomDropDownEditProperties)

namespace {

class DropDownEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEditors();
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 320, 200);
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 150, 100, 24);
    edit = Make();
    edit->Props()->OnCloseUp = TNotifyEvent(this, &DropDownEdit::CloseUp);
    edit->Props()->OnInitPopup = TNotifyEvent(this, &DropDownEdit::InitPopup);
    form->Show();
    Application->ProcessMessages();
    Focus(edit);
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  TestDropDown* Make(TcxCustomEditPropertiesClass AClass = nullptr, Integer top = 10, bool inplace = false) {
    auto* e = new TestDropDown(form.get(), AClass, inplace);
    e->SetParent(form.get());
    e->SetBounds(10, top, 200, 21);
    return e;
  }
  void CloseUp(TObject*) { reasons.push_back(edit->CloseReason()); }
  void InitPopup(TObject*) { ++inits; }

 public:
  void Posted(TObject* Sender) { shownAtPost.push_back(static_cast<TestDropDown*>(Sender)->PopupWindow()->IsShown()); }
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues) { told.push_back(Sender->Kind()); }
  void Focus(TWinControl* c) {
    c->SetFocus();
    Application->ProcessMessages();
  }
  void Press(Word vk, bool alt = false) {
    win::InjectKeyPress(vk, false, false, alt);
    Application->ProcessMessages();
  }
  void Open() {
    Press(win::VK_F4);
    ASSERT_TRUE(edit->IsPopupShown());
  }
  win::POINT Screen(TControl* c, Integer x, Integer y) {
    const TPoint p = c->ClientToScreen({x, y});
    return {p.X, p.Y};
  }
  void Click(win::POINT at) {
    win::InjectMouseMove(at);
    Application->ProcessMessages();
    win::InjectClick(at);
    Application->ProcessMessages();
  }

  std::unique_ptr<TForm> form;
  TEdit* other = nullptr;
  TestDropDown* edit = nullptr;
  std::vector<Integer> reasons;
  int inits = 0;
  std::vector<bool> shownAtPost;
  std::vector<TcxLookAndFeelKind> told;
};

TEST_F(DropDownEdit, KeysOpenAndCloseWithTheirReasonsAndTakeOrKeepTheValue) {
  struct Case {
    const char* name;
    Word openKey;
    bool openAlt;
    Word closeKey;
    bool closeAlt;
    bool readOnly;
    Integer reason;
    const char* text;
  };
  const Case cases[] = {
      {"F4 twice", win::VK_F4, false, win::VK_F4, false, false, PopupCloseReasonToggle, "picked"},
      {"Alt+Down, Alt+Up", win::VK_DOWN, true, win::VK_UP, true, false, PopupCloseReasonToggle, "picked"},
      {"Alt+Down twice", win::VK_DOWN, true, win::VK_DOWN, true, false, PopupCloseReasonToggle, "picked"},
      {"Escape", win::VK_F4, false, win::VK_ESCAPE, false, false, PopupCloseReasonCancel, "old"},
      {"Enter", win::VK_F4, false, win::VK_RETURN, false, false, PopupCloseReasonAccept, "picked"},
      {"Enter on a read-only edit", win::VK_F4, false, win::VK_RETURN, false, true, PopupCloseReasonCancel, "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit->Props()->SetReadOnly(c.readOnly);
    edit->SetText("old");
    reasons.clear();
    Press(c.openKey, c.openAlt);
    EXPECT_TRUE(edit->IsPopupShown());
    EXPECT_TRUE(edit->PopupWindow()->IsShown());
    Press(c.closeKey, c.closeAlt);
    EXPECT_FALSE(edit->IsPopupShown());
    EXPECT_EQ(reasons, std::vector<Integer>{c.reason});
    EXPECT_EQ(edit->GetText(), c.text);
    EXPECT_TRUE(edit->Focused()) << "the focus stays in the edit";
  }
  edit->Props()->SetReadOnly(false);
  edit->SetText("old");
  Press(win::VK_ESCAPE);
  EXPECT_EQ(edit->GetText(), "old") << "Escape on a closed popup is the editor's own";
  EXPECT_EQ(reasons.size(), 1u);
}

TEST_F(DropDownEdit, TabFocusLossAndValidationCloseWithoutOrWithTheValue) {
  edit->SetText("old");
  Open();
  Press(win::VK_TAB);
  EXPECT_FALSE(edit->IsPopupShown());
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonUnknown}) << "focus leaving takes nothing";
  EXPECT_EQ(edit->GetText(), "old");
  EXPECT_TRUE(other->Focused());

  Focus(edit);
  edit->Props()->SetPostPopupValueOnTab(true);
  reasons.clear();
  Open();
  Press(win::VK_TAB);
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonTab});
  EXPECT_EQ(edit->GetText(), "picked");

  Focus(edit);
  reasons.clear();
  Open();
  edit->ValidateInput();
  EXPECT_FALSE(edit->IsPopupShown());
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonUnknown});

  // Dragging the edit away to dock leaves no popup behind and takes nothing.
  edit->SetText("old");
  reasons.clear();
  Open();
  TDragDockObject* dock = nullptr;
  edit->DoStartDock(dock);
  EXPECT_FALSE(edit->IsPopupShown());
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonUnknown});
  EXPECT_EQ(edit->GetText(), "old");
}

TEST_F(DropDownEdit, OpenRequestsGoThroughTheQueueOnce) {
  edit->SetDroppedDown(true);
  EXPECT_FALSE(edit->IsPopupShown()) << "shown from the queue";
  edit->SetDroppedDown(true);
  EXPECT_EQ(inits, 1) << "a second request while one is queued does nothing";
  Application->ProcessMessages();
  EXPECT_TRUE(edit->IsPopupShown());
  EXPECT_EQ(edit->CloseReason(), PopupCloseReasonUnknown);

  edit->SetDroppedDown(false);
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonUnknown});

  // Validation cancels a queued request: it ends as closed, never shown.
  edit->SetDroppedDown(true);
  edit->ValidateInput();
  EXPECT_EQ(reasons.size(), 2u);
  Application->ProcessMessages();
  EXPECT_FALSE(edit->IsPopupShown());

  // The init event fires even when the kind then refuses to open.
  edit->canOpen = false;
  inits = 0;
  Press(win::VK_F4);
  EXPECT_EQ(inits, 1);
  EXPECT_FALSE(edit->IsPopupShown());

  // An editor freed with a request queued: nothing is left to show.
  TestDropDown* doomed = Make(nullptr, 60);
  Application->ProcessMessages();
  doomed->SetDroppedDown(true);
  delete doomed;
  Application->ProcessMessages();
  EXPECT_TRUE(ShownPopups().empty());
  // And one freed while its popup is shown.
  doomed = Make(nullptr, 60);
  Application->ProcessMessages();
  doomed->SetDroppedDown(true);
  Application->ProcessMessages();
  ASSERT_TRUE(doomed->IsPopupShown());
  delete doomed;
  Application->ProcessMessages();
  EXPECT_TRUE(ShownPopups().empty());
}

TEST_F(DropDownEdit, TheButtonOpensAndAPressOnTheEditOrOutsideCloses) {
  TcxCustomEditViewInfo* vi = edit->EditViewInfo();
  ASSERT_EQ(vi->ButtonCount(), 1);
  const TRect b = vi->Button(0)->Bounds;
  const win::POINT onButton = Screen(edit, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
  Click(onButton);
  EXPECT_TRUE(edit->IsPopupShown());
  EXPECT_GE(edit->PopupWindow()->Top(), edit->ClientToScreen({0, 0}).Y + edit->Height() - 1) << "below the edit";

  Click(Screen(edit, 20, 10));
  EXPECT_FALSE(edit->IsPopupShown()) << "a press on the text closes";
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonUnknown});

  Click(onButton);
  ASSERT_TRUE(edit->IsPopupShown());
  Click(Screen(form.get(), 300, 190));
  EXPECT_FALSE(edit->IsPopupShown()) << "a press outside closes";
  EXPECT_EQ(reasons.back(), PopupCloseReasonUnknown);
}

TEST_F(DropDownEdit, APressOnTheButtonOfAnOpenPopupClosesItWithoutReopening) {
  const TRect b = edit->EditViewInfo()->Button(0)->Bounds;
  const Integer x = (b.Left + b.Right) / 2, y = (b.Top + b.Bottom) / 2;
  Click(Screen(edit, x, y));
  ASSERT_TRUE(edit->IsPopupShown());
  win::InjectMouseMove(Screen(edit, x + 1, y));
  Application->ProcessMessages();
  EXPECT_TRUE(edit->HotWhileOpen());
  EXPECT_NE(edit->EditViewInfo()->Button(0)->State, ebbsHot) << "no hot button while its popup is open";

  Click(Screen(edit, x, y));
  Application->ProcessMessages();
  EXPECT_FALSE(edit->IsPopupShown()) << "the press closed the popup and did not open it again";
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonUnknown});
  win::InjectMouseMove(Screen(edit, x - 1, y));
  Application->ProcessMessages();
  EXPECT_FALSE(edit->HotWhileOpen());
  EXPECT_EQ(edit->EditViewInfo()->Button(0)->State, ebbsHot);
}

// The popup lines up with the cell an in-place editor stands for when its
// host keeps one; otherwise with the editor's border, as a stand-alone one.
TEST_F(DropDownEdit, AnInPlaceEditorsPopupLinesUpWithItsCell) {
  TestDropDown* e = Make(nullptr, 60, true);
  const TRect own = e->PopupOwnerBounds();
  EXPECT_EQ(own, cxRectOffset(e->GetBorderDrawRect(), e->Left(), e->Top())) << "no cell kept";
  e->SetInplaceBounds({-2, -3, 240, 30});
  EXPECT_EQ(e->PopupOwnerBounds(), TRect(8, 57, 250, 90));
  edit->SetInplaceBounds({-2, -3, 240, 30});
  EXPECT_EQ(edit->PopupOwnerBounds(), cxRectOffset(edit->GetBorderDrawRect(), edit->Left(), edit->Top()))
      << "a stand-alone edit keeps its own bounds";
}

TEST_F(DropDownEdit, InPlaceActivationOpensThePopupByKeyOrAtOnce) {
  // Activated by a character: a popup that takes the focus gets it, the
  // edit does not.
  TestDropDown* e = Make(FocusTakingProperties::StaticClass(), 60, true);
  std::unique_ptr<TcxCustomEditData> data;
  e->ActivateByKey(U'q', data);
  Application->ProcessMessages();
  EXPECT_TRUE(e->IsPopupShown());
  EXPECT_EQ(e->box->GetText(), "q");
  EXPECT_EQ(e->GetText(), "");
  e->ClosePopup(PopupCloseReasonCancel);
  e->ValidateInput();

  // Without ImmediateDropDown the character is the edit's.
  Focus(other);
  e->Props()->SetImmediateDropDown(false);
  std::unique_ptr<TcxCustomEditData> data2;
  e->ActivateByKey(U'r', data2);
  Application->ProcessMessages();
  EXPECT_FALSE(e->IsPopupShown());
  EXPECT_EQ(e->GetText(), "r");

  // ImmediatePopup opens at activation.
  TestDropDown* at = Make(nullptr, 90, true);
  at->Props()->SetImmediatePopup(true);
  std::unique_ptr<TcxCustomEditData> data3;
  at->ActivateEditing(data3);
  Application->ProcessMessages();
  EXPECT_TRUE(at->IsPopupShown());
}

TEST_F(DropDownEdit, TypingOpensThePopupAndTheCharacterReachesItsFocus) {
  edit->Props()->SetImmediateDropDown(false);
  win::InjectText("a");
  Application->ProcessMessages();
  EXPECT_FALSE(edit->IsPopupShown());
  EXPECT_EQ(edit->GetText(), "a");

  edit->Props()->SetImmediateDropDown(true);
  win::InjectText("b");
  Application->ProcessMessages();
  EXPECT_TRUE(edit->IsPopupShown());
  EXPECT_EQ(edit->GetText(), "ab") << "a popup without the focus leaves the character to the edit";
  Press(win::VK_ESCAPE);

  // A paste that changes the text opens the popup too; one that changes
  // nothing does not.
  edit->Props()->SetMaxLength(2);
  Clipboard()->SetAsText("xyz");
  win::InjectKeyPress('V', false, true);
  Application->ProcessMessages();
  EXPECT_EQ(edit->GetText(), "ab") << "refused: nothing fits";
  EXPECT_FALSE(edit->IsPopupShown());
  edit->Props()->SetMaxLength(0);
  Clipboard()->SetAsText("z");
  win::InjectKeyPress('V', false, true);
  Application->ProcessMessages();
  EXPECT_EQ(edit->GetText(), "abz");
  EXPECT_TRUE(edit->IsPopupShown());
  Press(win::VK_ESCAPE);

  // Its popup takes the focus: the character goes on to the popup's box
  // once it is shown.
  TestDropDown* focusing = Make(FocusTakingProperties::StaticClass(), 60);
  Application->ProcessMessages();
  Focus(focusing);
  win::InjectText("c");
  Application->ProcessMessages();
  EXPECT_TRUE(focusing->IsPopupShown());
  EXPECT_EQ(focusing->GetText(), "");
  EXPECT_EQ(focusing->box->GetText(), "c");
  EXPECT_TRUE(focusing->box->Focused());
}

TEST_F(DropDownEdit, SettingsRulesAndTheRightAlignedPopup) {
  TcxCustomDropDownEditProperties* p = edit->Props();
  EXPECT_EQ(p->Buttons()->Count(), 1);
  EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkDown);
  for (TAlignment a : {taRightJustify, taCenter, taLeftJustify}) {
    p->SetPopupAlignment(a);
    EXPECT_EQ(p->PopupAlignment(), a);
  }
  p->SetPopupWidth(-5);
  EXPECT_EQ(p->PopupWidth(), 0);
  p->SetPopupMinWidth(50);
  p->SetPopupWidth(30);
  EXPECT_EQ(p->PopupWidth(), 50) << "raised to the minimum";
  p->SetPopupWidth(0);
  EXPECT_EQ(p->PopupWidth(), 0) << "0 stays: as wide as the edit";
  p->SetPopupHeight(40);
  p->SetPopupMinHeight(60);
  EXPECT_EQ(p->PopupHeight(), 60) << "a new minimum re-applies the height";
  p->SetPopupMinHeight(-1);
  EXPECT_EQ(p->PopupMinHeight(), 0);

  // The glyph makes its button a glyph button, moves with the index and an
  // empty one gives the drop-down arrow back.
  TBitmap glyph;
  glyph.SetSize(8, 8);
  p->Buttons()->Add()->SetKind(bkEllipsis);
  p->SetButtonGlyph(&glyph);
  EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkGlyph);
  EXPECT_TRUE(p->Buttons()->Items(0)->HasGlyph());
  p->SetGlyphButtonIndex(1);
  EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkDown);
  EXPECT_FALSE(p->Buttons()->Items(0)->HasGlyph());
  EXPECT_EQ(p->Buttons()->Items(1)->Kind(), bkGlyph);
  TBitmap empty;
  p->SetButtonGlyph(&empty);
  EXPECT_EQ(p->Buttons()->Items(1)->Kind(), bkDown);
  p->SetGlyphButtonIndex(0);
  p->Buttons()->Delete(1);

  TcxCustomDropDownEditProperties copy(nullptr);
  copy.Assign(p);
  EXPECT_EQ(copy.PopupHeight(), 60);
  EXPECT_EQ(copy.PopupMinWidth(), 50);
  EXPECT_TRUE(static_cast<bool>(copy.OnCloseUp));

  // An auto-sized popup is narrower than the edit: right-aligned, its right
  // edge is the edit's.
  p->SetPopupAlignment(taRightJustify);
  Open();
  TcxCustomEditPopupWindow* w = edit->PopupWindow();
  // Aligned with the edit's drawn border.
  const TRect owner = edit->PopupOwnerBounds();
  const Integer editRight = form->ClientToScreen({owner.Right, 0}).X;
  EXPECT_LT(w->Width(), edit->Width());
  EXPECT_EQ(w->Left() + w->Width(), editRight);
  // No hint over the edit or its inner edit while the popup is open.
  for (TWinControl* c : {static_cast<TWinControl*>(edit), edit->InnerEdit()->Control()}) {
    TMessage m{};
    m.Msg = CM_HINTSHOW;
    c->WindowProc(m);
    EXPECT_EQ(m.Result, 1);
  }
  Press(win::VK_ESCAPE);
  TMessage m{};
  m.Msg = CM_HINTSHOW;
  edit->InnerEdit()->Control()->WindowProc(m);
  EXPECT_EQ(m.Result, 0) << "closed: the hint shows";
  p->SetPopupAlignment(taLeftJustify);
  Open();
  EXPECT_EQ(w->Left(), form->ClientToScreen({owner.Left, 0}).X);
}

TEST_F(DropDownEdit, ImmediatePostRunsBeforeOrAfterTheWindowHides) {
  for (bool late : {false, true}) {
    SCOPED_TRACE(late ? "after" : "before");
    TestDropDown* e = Make(late ? LatePostingProperties::StaticClass() : nullptr, 60, true);
    e->Props()->SetImmediatePost(true);
    shownAtPost.clear();
    e->OnPostEditValue = TNotifyEvent(this, &DropDownEdit::Posted);
    std::unique_ptr<TcxCustomEditData> data;
    e->ActivateEditing(data);
    Application->ProcessMessages();
    Press(win::VK_F4);
    ASSERT_TRUE(e->IsPopupShown());
    Press(win::VK_RETURN);
    EXPECT_FALSE(e->IsPopupShown());
    EXPECT_EQ(shownAtPost, std::vector<bool>{!late});
    EXPECT_EQ(e->EditValue(), Variant("picked"));
    delete e;
  }
}

TEST_F(DropDownEdit, AUserSizedPopupIsKeptInPlaceOrWrittenIntoTheSettings) {
  auto sizeByUser = [](TcxCustomDropDownEdit* e, Integer w, Integer h) {
    TcxCustomEditPopupWindow* win = e->PopupWindow();
    win->SetBounds(win->Left(), win->Top(), w, h);
    e->PopupSizedByUser();
  };
  edit->Props()->SetPopupSizeable(true);
  edit->Props()->SetPopupAutoSize(false);
  Open();
  sizeByUser(edit, 150, 90);
  Press(win::VK_ESCAPE);
  EXPECT_EQ(edit->Props()->PopupWidth(), 150) << "stand-alone: into the settings";
  EXPECT_EQ(edit->Props()->PopupHeight(), 90);

  TestDropDown* e = Make(nullptr, 60, true);
  e->Props()->SetPopupSizeable(true);
  e->Props()->SetPopupAutoSize(false);
  e->Props()->SetPopupHeight(70);
  std::unique_ptr<TcxCustomEditData> data;
  e->ActivateEditing(data);
  Application->ProcessMessages();
  Press(win::VK_F4);
  EXPECT_EQ(e->PopupWindow()->Height(), 70);
  sizeByUser(e, 160, 110);
  Press(win::VK_ESCAPE);
  EXPECT_EQ(e->Props()->PopupHeight(), 70) << "in place: the settings are shared, not written";
  e->ValidateInput();
  Focus(other);
  e->ActivateEditing(data);
  Application->ProcessMessages();
  Press(win::VK_F4);
  EXPECT_EQ(e->PopupWindow()->Width(), 160) << "the next activation keeps the user's size";
  EXPECT_EQ(e->PopupWindow()->Height(), 110);
  Press(win::VK_ESCAPE);
}

TEST_F(DropDownEdit, ThePopupControlsFollowTheEditsLookAndFeel) {
  TcxEditPopupControlLookAndFeel* laf = edit->PopupControlsLookAndFeel();
  TcxLookAndFeel inside(nullptr);
  inside.SetMasterLookAndFeel(laf);
  inside.OnChanged = TcxLookAndFeelChangedEvent(this, &DropDownEdit::LookAndFeelChanged);
  // Stand-alone: by the style of the edit's buttons.
  auto* style = static_cast<TcxCustomEditStyle*>(edit->Style());
  const std::pair<TcxEditButtonStyle, TcxLookAndFeelKind> cases[] = {
      {btsUltraFlat, lfUltraFlat}, {bts3D, lfStandard}, {btsHotFlat, lfFlat}, {btsOffice11, lfOffice11},
      {btsSimple, lfFlat},         {btsFlat, lfFlat}};
  std::vector<TcxLookAndFeelKind> changes;
  TcxLookAndFeelKind last = laf->Kind();
  for (auto [buttons, kind] : cases) {
    SCOPED_TRACE(static_cast<int>(buttons));
    if (kind != last) changes.push_back(last = kind);
    style->SetButtonStyle(buttons);
    edit->RecalculateAtCursor();
    ASSERT_EQ(edit->EditViewInfo()->Button(0)->Style, buttons);
    EXPECT_EQ(laf->Kind(), kind);
    EXPECT_EQ(inside.Kind(), kind) << "a control inside the popup follows";
  }
  EXPECT_EQ(told, changes) << "announced once per change, nothing without one";

  style->SetButtonStyle(btsUltraFlat);
  Open();
  EXPECT_EQ(edit->PopupWindow()->PopupViewInfo()->CloseButtonLookAndFeelKind, lfUltraFlat);
  Press(win::VK_ESCAPE);

  // In place: by the look and feel of the edit's style.
  TestDropDown* e = Make(nullptr, 60, true);
  e->Style()->LookAndFeel()->SetKind(lfOffice11);
  std::unique_ptr<TcxCustomEditData> data;
  e->ActivateEditing(data);
  e->RecalculateAtCursor();
  EXPECT_EQ(e->PopupControlsLookAndFeel()->Kind(), lfOffice11);
  inside.SetMasterLookAndFeel(nullptr);
}

TEST_F(DropDownEdit, AFocusedFixedListDrawsItsTextAsTheSelectedItem) {
  TestDropDown* list = Make(ListPickProperties::StaticClass(), 60);
  list->SetText("ab");
  Application->ProcessMessages();
  auto selected = [](TestDropDown* e) { return static_cast<TcxCustomTextEditViewInfo*>(e->EditViewInfo())->DrawTextAsSelected; };
  EXPECT_FALSE(selected(list)) << "not focused";
  Focus(list);
  EXPECT_TRUE(selected(list));
  // In both modes, drawn natively or not: the text area right of the short
  // text is the highlight.
  for (bool themes : {true, false})
    for (bool native : {false, true}) {
      SCOPED_TRACE(std::string(themes ? "our renderer" : "no styles") + (native ? ", native" : ""));
      VisualStylesScope mode(themes);
      list->Style()->LookAndFeel()->SetNativeStyle(native);
      Application->ProcessMessages();
      ASSERT_TRUE(selected(list));
      list->Repaint();
      const TRect text = static_cast<TcxCustomTextEditViewInfo*>(list->EditViewInfo())->TextRect;
      win::HDC dc = win::GetDC(list->Handle());
      const win::COLORREF at = win::GetPixel(dc, text.Right - 3, (text.Top + text.Bottom) / 2);
      win::ReleaseDC(list->Handle(), dc);
      EXPECT_EQ(static_cast<TColor>(at), static_cast<TColor>(ColorToRGB(clHighlight)));
    }
  // An incremental search shows its own selection instead.
  list->ShowSelectionHighlight(true);
  EXPECT_FALSE(selected(list));
  list->ShowSelectionHighlight(false);
  EXPECT_TRUE(selected(list));
  Focus(other);
  EXPECT_FALSE(selected(list));
  Focus(edit);
  EXPECT_FALSE(selected(edit)) << "a free-text edit draws its text plainly";
}

TEST_F(DropDownEdit, TheGlyphGoesOnTheKindsDropDownButton) {
  SecondButtonProperties p(nullptr);
  EXPECT_EQ(p.GlyphButtonIndex(), 1);
  TBitmap glyph;
  glyph.SetSize(8, 8);
  p.SetButtonGlyph(&glyph);
  EXPECT_EQ(p.Buttons()->Items(1)->Kind(), bkGlyph);
  EXPECT_EQ(p.Buttons()->Items(0)->Kind(), bkEllipsis);
  EXPECT_FALSE(p.Buttons()->Items(0)->HasGlyph());
}

TEST_F(DropDownEdit, ANewWindowForTheEditClosesThePopupAndDropsItsHandle) {
  Open();
  edit->RecreateWnd();
  EXPECT_FALSE(edit->IsPopupShown());
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonUnknown});
  EXPECT_FALSE(edit->PopupWindow()->HandleAllocated());
  // A request still queued ends as closed instead of going with the handle.
  Application->ProcessMessages();
  Focus(edit);
  edit->SetDroppedDown(true);
  edit->RecreateWnd();
  EXPECT_EQ(reasons.size(), 2u);
  Application->ProcessMessages();
  EXPECT_FALSE(edit->IsPopupShown());
  Focus(edit);
  Open();
  EXPECT_TRUE(edit->PopupWindow()->HandleAllocated()) << "made again for the next opening";
}

TEST_F(DropDownEdit, ThePopupTakesTheFormsBlendingAndTransparentColour) {
  form->AlphaBlend = true;
  form->AlphaBlendValue = 200;
  form->TransparentColor = true;
  form->TransparentColorValue = clFuchsia;
  Open();
  TcxCustomEditPopupWindow* w = edit->PopupWindow();
  EXPECT_TRUE(w->AlphaBlend);
  EXPECT_EQ(w->AlphaBlendValue, 200);
  EXPECT_TRUE(w->TransparentColor);
  EXPECT_EQ(w->TransparentColorValue, clFuchsia);
}

}  // namespace
