// The inner text edit inside a small test editor on a shown form: keys go to
// the editor first and KeyHandled says whether it took them, Tab never
// reaches the window, Enter and Escape are swallowed where the window would
// beep, keys that change nothing go to the unused-key path and lookup keys
// to an open list, clipboard messages go to the editor's operations, the
// mouse, wheel and focus are handed over, the window has no frame and reset
// margins, echo mode and alignment reach the window, and the bounds lock.
#include "suite/editors/cxCustomInnerTextEdit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/win/Clipboard.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEdit.h"

class TTestInnerEditProperties : public TcxTextEditProperties {
  VXN_DECLARE_CLASS(TTestInnerEditProperties)

 public:
  using TcxTextEditProperties::TcxTextEditProperties;
  bool IsLookupListKey(Word Key, TShiftState Shift) override { return Key == win::VK_DOWN && Shift.Empty(); }
};
VXN_IMPLEMENT_CREATABLE_CLASS(TTestInnerEditProperties, TcxTextEditProperties)

namespace {

TcxCustomEditKind TestKind() {
  TcxCustomEditKind kind;
  kind.PropertiesClass = TTestInnerEditProperties::StaticClass();
  return kind;
}

// What the inner edit's own events saw.
struct EventLog {
  std::u32string presses;
  std::vector<Word> keyUps;
  int changes = 0, wheels = 0;
  void Press(TObject*, char32_t& Key) { presses += Key; }
  void Up(TObject*, Word& Key, TShiftState) { keyUps.push_back(Key); }
  void Changed(TObject*) { ++changes; }
  void Wheel(TObject*, TShiftState, Integer, TPoint, bool&) { ++wheels; }
};

// An editor that records what its inner edit hands it. Its key handlers do
// not run the editor base's, so only the inner edit's behaviour shows.
class TestOwner : public TcxCustomEdit, public IcxInnerTextEditOwner {
 public:
  TestOwner(TComponent* AOwner, bool AIsInplace) : TcxCustomEdit(AOwner, AIsInplace, TestKind()) {
    inner = new TcxCustomInnerTextEdit(this);
    inner->SetParent(this);
    SetInnerControl(inner);
  }
  // The editor frees its inner edit before its own parts go.
  ~TestOwner() override { delete inner; }

  bool IsPopupShown() override { return popupShown; }
  // IcxInnerTextEditOwner
  bool BeepOnEnter() override { return beepOnEnter; }
  bool PopupClosedKey() override { return popupClosedKey; }
  void SetPopupClosedKey(bool Value) override { popupClosedKey = Value; }
  void ShowSelectionHighlight(bool Value) override { highlights.push_back(Value); }
  void SetLookupChanging(bool Value) override { lookupChanging.push_back(Value); }
  void ForwardUnusedKey(Word& Key, TShiftState) override { unusedKeys.push_back(Key); }
  void EraseSelection() override { Record("erase"); }
  TWinControl* LookupListControl() override { return list; }
  void CopySelectionToClipboard() override { Record("copy"); }
  void CutToClipboard() override { Record("cut"); }
  void PasteFromClipboard() override { Record("paste"); }

  TcxCustomInnerTextEdit* inner;
  TWinControl* list = nullptr;
  bool popupShown = false;
  bool beepOnEnter = true;
  bool popupClosedKey = false;
  Word swallowKey = 0;
  char32_t swallowChar = 0;
  std::vector<Word> keys, keyUps, unusedKeys;
  std::vector<char32_t> chars;
  std::vector<bool> highlights, lookupChanging;
  std::vector<std::string> operations;  // each with the UserChanging flag seen
  std::vector<TPoint> downs;
  bool forwardedDuringDown = false;
  int clicks = 0, focusChanges = 0, wheels = 0;

 protected:
  void KeyDown(Word& Key, TShiftState) override {
    keys.push_back(Key);
    if (Key == swallowKey) Key = 0;
  }
  void KeyPress(char32_t& Key) override {
    chars.push_back(Key);
    if (Key == swallowChar) Key = 0;
  }
  void KeyUp(Word& Key, TShiftState) override { keyUps.push_back(Key); }
  void MouseDown(TMouseButton, TShiftState, Integer X, Integer Y) override {
    downs.push_back({X, Y});
    forwardedDuringDown = ForwardedMouseDown;
  }
  bool DoMouseWheel(TShiftState, Integer, TPoint) override {
    ++wheels;
    return true;
  }
  void Click() override { ++clicks; }
  void FocusChanged() override { ++focusChanges; }

 private:
  void Record(const char* What) { operations.push_back(std::string(What) + (UserChanging() ? "+" : "-")); }
};

class CustomInnerTextEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEditors();
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 150);
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 100, 100, 24);
    owner = Make(false);
    form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }
  TestOwner* Make(bool inplace) {
    auto* o = new TestOwner(form.get(), inplace);
    o->SetParent(form.get());
    o->SetBounds(10, 10, 200, 30);
    o->inner->SetBounds(4, 5, 180, 20);
    return o;
  }
  void Press(Word vk, bool shift = false, bool ctrl = false) {
    win::InjectKeyPress(vk, shift, ctrl);
    Application->ProcessMessages();
  }

  std::unique_ptr<TForm> form;
  TEdit* other = nullptr;
  TestOwner* owner = nullptr;
};

TEST_F(CustomInnerTextEdit, KeysGoToTheEditorFirstAndKeyHandledSaysItTookThem) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  EventLog own;
  edit->OnKeyPress = TKeyPressEvent(&own, &EventLog::Press);
  edit->OnKeyUp = TKeyEvent(&own, &EventLog::Up);
  edit->SetFocus();

  owner->swallowChar = U'a';
  win::InjectText("ab");
  Application->ProcessMessages();
  EXPECT_EQ(edit->GetText(), "b") << "the editor took 'a'";
  EXPECT_EQ(own.presses, U"b");
  EXPECT_FALSE(edit->Helper()->KeyHandled());

  // KeyHandled speaks of the key being processed: look before its key-up.
  owner->swallowKey = win::VK_LEFT;
  win::InjectKey(win::VK_LEFT, true);
  Application->ProcessMessages();
  EXPECT_TRUE(edit->KeyHandled()) << "the editor zeroed the key";
  EXPECT_EQ(edit->SelStart(), 1) << "and the window never saw it";
  win::InjectKey(win::VK_LEFT, false);
  owner->swallowKey = 0;
  win::InjectKey(win::VK_LEFT, true);
  Application->ProcessMessages();
  EXPECT_FALSE(edit->KeyHandled());
  EXPECT_EQ(edit->SelStart(), 0);
  win::InjectKey(win::VK_LEFT, false);
  Application->ProcessMessages();

  // Tab stays in the edit (it wants tabs) but never arrives as a character
  // or a key-up, at the editor or at the window's handlers.
  own.keyUps.clear();
  owner->chars.clear();
  owner->keyUps.clear();
  Press(win::VK_TAB);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(owner->keys.back(), win::VK_TAB) << "the key-down reaches the editor";
  EXPECT_TRUE(owner->chars.empty());
  EXPECT_TRUE(owner->keyUps.empty());
  EXPECT_TRUE(own.keyUps.empty());
  EXPECT_EQ(own.presses, U"b");
  EXPECT_EQ(edit->GetText(), "b");
}

TEST_F(CustomInnerTextEdit, EnterAndEscapeAreSwallowedWhereTheWindowWouldBeep) {
  TestOwner* inplace = Make(true);
  struct Case {
    bool inplace, beepOnEnter, popupClosed;
    char32_t key;
    bool reachesWindow;
  } cases[] = {
      {false, true, false, U'\r', true},     // a stand-alone editor that beeps
      {false, false, false, U'\r', false},   // BeepOnEnter off
      {false, false, false, U'\x1b', true},  // which is about Enter only
      {false, true, true, U'\r', false},     // a popup just closed with Enter
      {false, true, true, U'\x1b', false},
      {true, true, false, U'\r', false},  // in place, the host has both keys
      {true, true, false, U'\x1b', false},
  };
  for (const Case& c : cases) {
    TestOwner* o = c.inplace ? inplace : owner;
    o->beepOnEnter = c.beepOnEnter;
    o->popupClosedKey = c.popupClosed;
    EventLog own;
    o->inner->OnKeyPress = TKeyPressEvent(&own, &EventLog::Press);
    win::SendMessage(o->inner->Handle(), win::WM_CHAR, c.key, 0);
    EXPECT_EQ(own.presses == std::u32string(1, c.key), c.reachesWindow) << int(c.key) << " inplace " << c.inplace << " beep " << c.beepOnEnter
                                        << " closed " << c.popupClosed;
    EXPECT_FALSE(o->popupClosedKey) << "the mark is used up";
    EXPECT_EQ(o->chars.back(), c.key) << "the editor saw the key first";
  }
}

TEST_F(CustomInnerTextEdit, KeysThatChangeNothingGoToTheUnusedKeyPath) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  edit->SetText("abc");
  edit->SetFocus();
  edit->SetSelStart(0);
  Press(win::VK_HOME);
  Press(win::VK_END);  // moves the caret: used
  Press(win::VK_END);  // at the end already: unused
  owner->swallowKey = win::VK_HOME;
  Press(win::VK_HOME);  // taken by the editor
  EXPECT_EQ(owner->unusedKeys, (std::vector<Word>{win::VK_HOME, win::VK_END}));

  // With the popup open, a lookup key goes to the list instead.
  auto* list = new TEdit(form.get());
  list->SetParent(form.get());
  list->SetBounds(150, 100, 100, 24);
  EventLog listLog;
  list->OnKeyDown = TKeyEvent(&listLog, &EventLog::Up);
  std::vector<Word>& listKeys = listLog.keyUps;
  owner->list = list;
  owner->popupShown = true;
  owner->keys.clear();
  Press(win::VK_DOWN);
  EXPECT_EQ(listKeys, std::vector<Word>{win::VK_DOWN});
  EXPECT_TRUE(owner->keys.empty()) << "the inner edit did nothing more with it";
  owner->popupShown = false;
  Press(win::VK_DOWN);
  EXPECT_EQ(listKeys.size(), 1u);
  EXPECT_EQ(owner->keys, std::vector<Word>{win::VK_DOWN});
}

TEST_F(CustomInnerTextEdit, ACharacterThatChangedTheTextEndsTheHighlight) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  edit->SetFocus();
  win::SendMessage(edit->Handle(), win::WM_CHAR, U'x', 0);
  EXPECT_EQ(owner->lookupChanging, std::vector<bool>{false});
  EXPECT_EQ(owner->highlights, std::vector<bool>{false});
  owner->swallowChar = U'y';
  win::SendMessage(edit->Handle(), win::WM_CHAR, U'y', 0);
  EXPECT_EQ(owner->lookupChanging.size(), 2u) << "the lookup mark is cleared after every character";
  EXPECT_EQ(owner->highlights.size(), 1u) << "a character the editor took changes no highlight";
}

TEST_F(CustomInnerTextEdit, ClipboardMessagesGoToTheEditorWhileUserChanging) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  edit->SetText("abc");
  struct Case {
    win::UINT msg;
    bool readOnly;
    const char* operation;  // nil: none
  } cases[] = {
      {win::WM_CUT, false, "cut+"},     {win::WM_CUT, true, "copy+"},  // a read-only cut only copies
      {win::WM_PASTE, false, "paste+"}, {win::WM_PASTE, true, nullptr},
      {win::WM_CLEAR, false, "erase+"}, {win::WM_CLEAR, true, nullptr},
  };
  for (const Case& c : cases) {
    owner->operations.clear();
    edit->SetReadOnly(c.readOnly);
    win::SendMessage(edit->Handle(), c.msg, 0, 0);
    EXPECT_EQ(owner->operations, c.operation ? std::vector<std::string>{c.operation} : std::vector<std::string>{})
        << c.msg << " " << c.readOnly;
    EXPECT_FALSE(owner->UserChanging());
    EXPECT_EQ(edit->GetText(), "abc") << "the window did not act on it itself";
  }
  // The clipboard keys arrive as the same messages.
  edit->SetReadOnly(false);
  edit->SetFocus();
  owner->operations.clear();
  Press('V', false, true);
  Press(win::VK_DELETE, true);
  EXPECT_EQ(owner->operations, (std::vector<std::string>{"paste+", "cut+"}));

  // Copying is the window's own.
  owner->operations.clear();
  edit->SetSelStart(0);
  edit->SetSelLength(2);
  win::SendMessage(edit->Handle(), win::WM_COPY, 0, 0);
  EXPECT_TRUE(owner->operations.empty());
  std::string copied;
  ASSERT_TRUE(win::GetClipboardText(edit->Handle(), &copied));
  EXPECT_EQ(copied, "ab");
}

TEST_F(CustomInnerTextEdit, MouseWheelAndFocusAreHandedToTheEditor) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  EventLog own;
  edit->OnMouseWheel = TMouseWheelEvent(&own, &EventLog::Wheel);
  const TPoint p = edit->ClientToScreen({7, 3});
  win::InjectClick({p.X, p.Y});
  Application->ProcessMessages();
  ASSERT_EQ(owner->downs.size(), 1u);
  EXPECT_EQ(owner->downs[0], (TPoint{edit->Left() + 7, edit->Top() + 3})) << "in the editor's client coordinates";
  EXPECT_TRUE(owner->forwardedDuringDown);
  EXPECT_FALSE(owner->ForwardedMouseDown);
  EXPECT_EQ(owner->clicks, 1);
  EXPECT_TRUE(edit->Focused());

  win::InjectMouseWheel(-120, {p.X, p.Y});
  Application->ProcessMessages();
  EXPECT_EQ(owner->wheels, 1);
  EXPECT_EQ(own.wheels, 0);

  const int changes = owner->focusChanges;
  other->SetFocus();
  EXPECT_EQ(owner->focusChanges, changes + 1) << "leaving";
  edit->SetFocus();
  EXPECT_EQ(owner->focusChanges, changes + 2) << "arriving";
  // The focus passing on from the editor's own window to its inner edit.
  const int before = owner->focusChanges;
  win::SendMessage(edit->Handle(), win::WM_SETFOCUS, reinterpret_cast<win::WPARAM>(owner->Handle()), 0);
  EXPECT_EQ(owner->focusChanges, before);
  win::SendMessage(edit->Handle(), win::WM_SETFOCUS, reinterpret_cast<win::WPARAM>(other->Handle()), 0);
  EXPECT_EQ(owner->focusChanges, before + 1);
}

TEST_F(CustomInnerTextEdit, AnAutomaticDragOfTheEditorStartsInTheInnerEdit) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  edit->SetText("abcdef");
  edit->SetFocus();
  edit->SetSelStart(6);
  owner->SetDragMode(dmAutomatic);
  const TPoint p = edit->ClientToScreen({2, 3});
  win::InjectMouseButton(win::VK_LBUTTON, true, {p.X, p.Y});
  Application->ProcessMessages();
  EXPECT_TRUE(owner->Dragging());
  EXPECT_EQ(edit->SelStart(), 6) << "the press never reached the window";
  if (owner->Dragging()) owner->EndDrag(false);
  win::InjectMouseButton(win::VK_LBUTTON, false, {p.X, p.Y});
  Application->ProcessMessages();
}

TEST_F(CustomInnerTextEdit, TheWindowHasNoFrameAndResetMargins) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  edit->RecreateWnd();
  EventLog own;
  edit->OnChange = TNotifyEvent(&own, &EventLog::Changed);
  edit->SetText("kept");
  edit->RecreateWnd();
  win::HWND wnd = edit->Handle();
  EXPECT_EQ(edit->GetText(), "kept") << "the text comes along into the new window";
  EXPECT_EQ(own.changes, 1) << "taking it over is no change";
  EXPECT_EQ(win::GetWindowLong(wnd, win::GWL_STYLE) & (win::WS_BORDER | win::WS_DLGFRAME | win::WS_THICKFRAME), 0);
  EXPECT_EQ(win::GetWindowLong(wnd, win::GWL_EXSTYLE) & win::WS_EX_CLIENTEDGE, 0);
  EXPECT_NE(win::GetWindowLong(wnd, win::GWL_STYLE) & win::ES_AUTOHSCROLL, 0);
  EXPECT_EQ(win::SendMessage(wnd, win::EM_GETMARGINS, 0, 0), win::MAKELRESULT(0, 1));
  win::SendMessage(wnd, win::EM_SETMARGINS, win::EC_LEFTMARGIN | win::EC_RIGHTMARGIN, win::MAKELPARAM(5, 5));
  edit->SetBounds(4, 5, 150, 22);
  EXPECT_EQ(win::SendMessage(wnd, win::EM_GETMARGINS, 0, 0), win::MAKELRESULT(0, 1)) << "every resize resets them";
  EXPECT_EQ(win::SendMessage(wnd, win::WM_ERASEBKGND, 0, 0), 1);

  // Dialog codes: characters always, Tab unless Ctrl is down, every key in
  // place or while the popup is open.
  auto code = [&] { return win::SendMessage(wnd, win::WM_GETDLGCODE, 0, 0); };
  EXPECT_NE(code() & win::DLGC_WANTCHARS, 0);
  EXPECT_NE(code() & win::DLGC_WANTTAB, 0);
  EXPECT_EQ(code() & win::DLGC_WANTALLKEYS, 0);
  owner->popupShown = true;
  EXPECT_NE(code() & win::DLGC_WANTALLKEYS, 0);
  owner->popupShown = false;
  EXPECT_NE(win::SendMessage(Make(true)->inner->Handle(), win::WM_GETDLGCODE, 0, 0) & win::DLGC_WANTALLKEYS, 0);
  edit->SetFocus();
  win::InjectKey(win::VK_CONTROL, true);
  Application->ProcessMessages();
  EXPECT_EQ(code() & win::DLGC_WANTTAB, 0);
  win::InjectKey(win::VK_CONTROL, false);
  Application->ProcessMessages();
}

TEST_F(CustomInnerTextEdit, EchoModeAndPasswordCharacterReachTheWindow) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  IcxInnerTextEdit* face = edit->Helper();
  auto shown = [&] { return win::SendMessage(edit->Handle(), win::EM_GETPASSWORDCHAR, 0, 0); };
  EXPECT_EQ(face->EchoMode(), eemNormal);
  face->SetPasswordChar('#');
  EXPECT_EQ(shown(), 0) << "normal echo shows the text";
  face->SetPasswordChar(0);
  face->SetEchoMode(eemPassword);
  EXPECT_EQ(shown(), '*');
  face->SetPasswordChar('#');
  EXPECT_EQ(shown(), '#');
  EXPECT_EQ(face->PasswordChar(), '#');
  face->SetEchoMode(eemNormal);
  EXPECT_EQ(shown(), 0);
}

TEST_F(CustomInnerTextEdit, AlignmentFollowsTheEditorsLeftAlignmentWhileEditing) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  IcxInnerTextEdit* face = edit->Helper();
  win::HWND wnd = edit->Handle();
  ASSERT_TRUE(owner->ActiveProperties()->UseLeftAlignmentOnEditing());
  face->SetAlignment(taRightJustify);
  EXPECT_EQ(face->Alignment(), taLeftJustify);
  EXPECT_EQ(edit->Handle(), wnd) << "the window stays";

  owner->ActiveProperties()->SetUseLeftAlignmentOnEditing(false);
  face->SetAlignment(taRightJustify);
  EXPECT_EQ(face->Alignment(), taRightJustify);
  EXPECT_NE(edit->Handle(), wnd) << "a new window for the new alignment";
  EXPECT_NE(win::GetWindowLong(edit->Handle(), win::GWL_STYLE) & win::ES_RIGHT, 0);
}

TEST_F(CustomInnerTextEdit, PositionChangesWaitForTheBoundsLock) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  IcxInnerTextEdit* face = edit->Helper();
  const TRect placed = edit->BoundsRect();
  face->LockBounds(true);
  face->LockBounds(true);
  edit->SetBounds(1, 1, 50, 15);
  EXPECT_EQ(edit->BoundsRect(), placed);
  face->LockBounds(false);
  edit->SetBounds(1, 1, 50, 15);
  EXPECT_EQ(edit->BoundsRect(), placed) << "still locked once";
  face->LockBounds(false);
  face->LockBounds(false);
  EXPECT_EQ(edit->BoundsLockCount(), 0) << "unlocking stops at zero";
  edit->SetBounds(1, 1, 50, 15);
  EXPECT_EQ(edit->BoundsRect(), (TRect{1, 1, 51, 16}));
}

TEST_F(CustomInnerTextEdit, TheEditorReachesItThroughTheHelper) {
  TcxCustomInnerTextEdit* edit = owner->inner;
  IcxCustomInnerEdit* face = dynamic_cast<IcxInnerEditProvider*>(static_cast<TComponent*>(edit))->GetInnerEdit();
  EXPECT_EQ(face->Control(), edit);
  EXPECT_EQ(face->ControlContainer(), owner);
  EXPECT_EQ(face->OwnerEdit(), owner);
  EXPECT_EQ(FindContainerOfControl(edit), owner);

  face->AssignEditValue(Variant("abcdef"));
  EXPECT_EQ(VarToStr(face->EditValue()), "abcdef");
  // Focusing without auto-select keeps the caret where it was and the
  // setting as it was.
  other->SetFocus();
  edit->SetSelStart(3);
  ASSERT_TRUE(edit->AutoSelect());
  face->FocusWithoutAutoSelect();
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->SelLength(), 0);
  EXPECT_TRUE(edit->AutoSelect());
  other->SetFocus();
  edit->SetFocus();
  EXPECT_EQ(edit->SelLength(), 6) << "a plain focus selects all";
}

}  // namespace
