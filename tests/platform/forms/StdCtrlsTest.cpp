#include "platform/forms/StdCtrls.h"

#include <gtest/gtest.h>

#include "tests/platform/forms/FormsFixture.h"
#include "platform/forms/Clipbrd.h"
#include "platform/forms/ListCtrls.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Mask.h"
#include "platform/rtl/FormFiles.h"
#include "platform/win/Clipboard.h"
#include "platform/win/EditControl.h"
#include "platform/win/Input.h"
#include "platform/win/Windows.h"

using namespace formstest;
using namespace win;

namespace {

class StdCtrlsTest : public EditHostTest {
 protected:
  template <typename T>
  T* Add(Integer top, Integer height = 21) {
    return Place<T>(10, top, 150, height);
  }
  static DWORD Style(TWinControl* c) { return static_cast<DWORD>(GetWindowLongPtr(c->Handle(), GWL_STYLE)); }

  struct Changes {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
  } changes;
};

TEST_F(StdCtrlsTest, EditKeysSelectionAndClipboardWithChineseText) {
  auto* edit = Add<TEdit>(10);
  edit->OnChange = TNotifyEvent(&changes, &Changes::Changed);
  Show();
  edit->SetFocus();
  Type("电台ab中文");
  EXPECT_EQ(edit->GetText(), "电台ab中文");
  EXPECT_EQ(changes.Count, 6);  // one EN_CHANGE per character, reflected to OnChange
  EXPECT_TRUE(edit->Modified());

  Key(VK_HOME);
  Key(VK_RIGHT, true);
  Key(VK_RIGHT, true);
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_EQ(edit->SelLength(), 2);
  EXPECT_EQ(edit->SelText(), "电台");

  Key('X', false, true);  // Ctrl+X arrives as character 24 and cuts
  EXPECT_EQ(edit->GetText(), "ab中文");
  EXPECT_EQ(Clipboard()->AsText(), "电台");
  Key(VK_END);
  Key(VK_INSERT, true);  // Shift+Ins pastes
  EXPECT_EQ(edit->GetText(), "ab中文电台");
  EXPECT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(edit->GetText(), "ab中文");
  edit->ClearUndo();
  EXPECT_FALSE(edit->CanUndo());

  // The methods say the same through the window's messages.
  edit->SetSelStart(2);
  edit->SetSelLength(1);
  edit->CopyToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "中");
  edit->SetSelText("[台]");
  EXPECT_EQ(edit->GetText(), "ab[台]文");
  edit->SelectAll();
  edit->ClearSelection();
  EXPECT_EQ(edit->GetText(), "");
  Clipboard()->SetAsText("频道");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->GetText(), "频道");

  edit->SetModified(false);
  edit->SetReadOnly(true);
  Type("x");
  Key(VK_BACK);
  EXPECT_EQ(edit->GetText(), "频道");
  EXPECT_FALSE(edit->Modified());
}

TEST_F(StdCtrlsTest, MaxLengthCharCaseAndAlignmentKeepStateAcrossNewWindows) {
  auto* edit = Add<TEdit>(10);
  edit->SetMaxLength(3);
  Show();
  edit->SetFocus();
  Type("中文ab");
  EXPECT_EQ(edit->GetText(), "中文a");  // the limit counts characters
  EXPECT_EQ(SendMessage(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 3);

  HWND before = edit->Handle();
  edit->SetCharCase(ecUpperCase);
  EXPECT_NE(edit->Handle(), before);
  EXPECT_EQ(edit->GetText(), "中文A");
  EXPECT_EQ(SendMessage(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 3);
  EXPECT_TRUE(edit->Modified());
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->SelLength(), 3);  // the new window is entered again: AutoSelect
  edit->SetMaxLength(0);
  Key(VK_END);
  Type("xy");
  EXPECT_EQ(edit->GetText(), "中文AXY");

  struct Case {
    TAlignment Alignment;
    DWORD Style;
  };
  for (const Case& c : {Case{taRightJustify, ES_RIGHT}, Case{taCenter, ES_CENTER}, Case{taLeftJustify, ES_LEFT}}) {
    before = edit->Handle();
    edit->SetAlignment(c.Alignment);
    EXPECT_NE(edit->Handle(), before);
    EXPECT_EQ(Style(edit) & (ES_RIGHT | ES_CENTER), c.Style);
    EXPECT_EQ(edit->GetText(), "中文AXY");
  }
  // Right-aligned text ends at the right margin.
  edit->SetAlignment(taRightJustify);
  int xEnd = GET_X_LPARAM(SendMessage(edit->Handle(), EM_POSFROMCHAR, 4, 0));
  edit->SetAlignment(taLeftJustify);
  EXPECT_GT(xEnd, GET_X_LPARAM(SendMessage(edit->Handle(), EM_POSFROMCHAR, 4, 0)) + 40);

  edit->SetHideSelection(false);
  EXPECT_NE(Style(edit) & ES_NOHIDESEL, 0u);
  edit->SetReadOnly(true);
  edit->SetPasswordChar(U'*');
  EXPECT_EQ(SendMessage(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
  edit->SetBorderStyle(bsNone);
  EXPECT_EQ(GetWindowLongPtr(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(SendMessage(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_NE(Style(edit) & ES_READONLY, 0u);
  EXPECT_NE(Style(edit) & ES_NOHIDESEL, 0u);
}

TEST_F(StdCtrlsTest, AutoSelectOnEntryButNotInAMemo) {
  auto* edit = Add<TEdit>(10);
  auto* other = Add<TEdit>(40);
  auto* memo = Add<TMemo>(70, 60);
  edit->SetText("频道一");
  memo->SetText("频道二");
  Show();
  edit->SetFocus();
  EXPECT_EQ(edit->SelLength(), 3);
  memo->SetFocus();
  EXPECT_EQ(memo->SelLength(), 0);
  other->SetAutoSelect(false);
  other->SetText("abc");
  other->SetFocus();
  EXPECT_EQ(other->SelLength(), 0);

  // A click places the caret where it lands instead of selecting.
  TPoint at = edit->ClientToScreen({edit->Width() - 8, 8});
  InjectClick(POINT{at.X, at.Y});
  Pump();
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->SelLength(), 0);
  EXPECT_EQ(edit->SelStart(), 3);
}

TEST_F(StdCtrlsTest, MemoLinesStayInStepWithTheWindow) {
  auto* memo = Add<TMemo>(10, 80);
  memo->SetWordWrap(false);
  TStrings* lines = memo->Lines();
  // Without a window the lines are the text's.
  lines->Add("频道");
  lines->Add("two");
  EXPECT_EQ(memo->GetText(), "频道\r\ntwo\r\n");
  EXPECT_EQ(lines->Count(), 2);

  Show();
  EXPECT_EQ(lines->Count(), 2);
  EXPECT_EQ(lines->Strings(0), "频道");
  lines->Insert(1, "中间");
  lines->SetStrings(2, "三");
  lines->Add("四");
  EXPECT_EQ(memo->GetText(), "频道\r\n中间\r\n三\r\n四\r\n");
  lines->Delete(0);
  EXPECT_EQ(lines->ToVector(), (std::vector<std::string>{"中间", "三", "四"}));
  EXPECT_THROW(lines->Delete(3), EStringListError);
  lines->SetText("a\nb\rc");
  EXPECT_EQ(memo->GetText(), "a\r\nb\r\nc");
  EXPECT_EQ(lines->Count(), 3);
  lines->Add("d");  // after a last line without a break
  EXPECT_EQ(memo->GetText(), "a\r\nb\r\nc\r\nd");

  // Typing: Enter breaks the line, the caret position follows.
  memo->SetFocus();
  memo->SetCaretPos({1, 0});
  Key(VK_RETURN);
  Type("中");
  EXPECT_EQ(lines->Strings(1), "中");
  EXPECT_EQ(memo->CaretPos(), (TPoint{1, 1}));
  EXPECT_EQ(lines->Count(), 5);
}

TEST_F(StdCtrlsTest, MemoWantsReturnsTabsAndScrollBarsAsSet) {
  auto* memo = Add<TMemo>(10, 80);
  Show();
  HWND wnd = memo->Handle();
  EXPECT_NE(SendMessage(wnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);
  EXPECT_EQ(SendMessage(wnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB, 0);
  memo->SetWantTabs(true);
  memo->SetWantReturns(false);
  EXPECT_NE(SendMessage(wnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB, 0);
  EXPECT_EQ(SendMessage(wnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);

  memo->SetFocus();
  Type("a");
  SendMessage(wnd, WM_CHAR, '\r', 0);  // a return that reaches the window anyway is dropped
  SendMessage(wnd, WM_CHAR, '\t', 0);
  EXPECT_EQ(memo->GetText(), "a\t");

  struct Case {
    bool WordWrap;
    TScrollStyle Bars;
    DWORD Style;  // of WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL
  };
  for (const Case& c : {Case{true, ssBoth, WS_VSCROLL}, Case{false, ssBoth, WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL},
                        Case{false, ssHorizontal, WS_HSCROLL | ES_AUTOHSCROLL}, Case{true, ssNone, 0}}) {
    memo->SetWordWrap(c.WordWrap);
    memo->SetScrollBars(c.Bars);
    EXPECT_EQ(Style(memo) & (WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL), c.Style) << c.WordWrap << " " << c.Bars;
    EXPECT_NE(Style(memo) & ES_MULTILINE, 0u);
    EXPECT_EQ(memo->GetText(), "a\t");
  }

  // A wrapping memo's lines are the window's lines, wrapped ones included.
  memo->SetWordWrap(true);
  memo->SetText("one two three four five six seven eight nine ten");
  EXPECT_GT(memo->Lines()->Count(), 1);
  EXPECT_EQ(memo->Lines()->Strings(0).rfind("one ", 0), 0u);
  memo->SetWordWrap(false);
  EXPECT_EQ(memo->Lines()->Count(), 1);
}

TEST_F(StdCtrlsTest, FormFileMakesEditsMemosAndMaskEdits) {
  const char text[] =
      "object F: TForm\n"
      "  object Name: TEdit\n"
      "    Left = 8\n"
      "    CharCase = ecUpperCase\n"
      "    MaxLength = 6\n"
      "    Text = 'ch1'\n"
      "  end\n"
      "  object Notes: TMemo\n"
      "    Top = 40\n"
      "    Lines.Strings = (\n"
      "      '\u7b2c\u4e00\u884c'\n"
      "      'two')\n"
      "    ScrollBars = ssVertical\n"
      "    WordWrap = False\n"
      "  end\n"
      "  object Freq: TMaskEdit\n"
      "    Top = 140\n"
      "    EditMask = '00:00:00;1; '\n"
      "    Text = '12:30:00'\n"
      "  end\n"
      "end\n";
  TForm form(nullptr);
  ReadComponentText(text, &form);
  auto* name = dynamic_cast<TEdit*>(form.FindComponent("Name"));
  auto* notes = dynamic_cast<TMemo*>(form.FindComponent("Notes"));
  auto* freq = dynamic_cast<TMaskEdit*>(form.FindComponent("Freq"));
  ASSERT_TRUE(name && notes && freq);
  EXPECT_EQ(notes->Lines()->ToVector(), (std::vector<std::string>{"第一行", "two"}));
  EXPECT_EQ(freq->EditText(), "12:30:00");
  form.HandleNeeded();
  EXPECT_EQ(name->GetText(), "CH1");  // the window converts what it starts with
  EXPECT_EQ(notes->Lines()->Count(), 2);
  EXPECT_NE(Style(notes) & WS_VSCROLL, 0u);
  EXPECT_EQ(freq->GetText(), "12:30:00");

  std::string written = WriteComponentText(&form);
  EXPECT_NE(written.find("EditMask = '00:00:00;1; '"), std::string::npos) << written;
  EXPECT_NE(written.find("Lines.Strings = ("), std::string::npos) << written;
}

// Ctl3D is the frame: a client edge when on, a one-pixel border when off;
// the window is made anew from a posted notice.
TEST_F(StdCtrlsTest, Ctl3DOffGivesBorderedControlsAFlatFrame) {
  auto* edit = Add<TEdit>(10);
  auto* list = Add<TListBox>(40, 60);
  auto* bare = Add<TEdit>(110);
  bare->SetBorderStyle(bsNone);
  Show();
  for (TWinControl* c : {static_cast<TWinControl*>(edit), static_cast<TWinControl*>(list)}) {
    EXPECT_TRUE(GetWindowLongPtr(c->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    HWND before = c->Handle();
    c->SetCtl3D(false);
    EXPECT_EQ(c->Handle(), before);  // not before the posted notice
    Pump();
    EXPECT_FALSE(GetWindowLongPtr(c->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(Style(c) & WS_BORDER);
  }
  HWND bareWnd = bare->Handle();
  bare->SetCtl3D(false);
  Pump();
  EXPECT_EQ(bare->Handle(), bareWnd);
  EXPECT_FALSE(Style(bare) & WS_BORDER);
}

}  // namespace
