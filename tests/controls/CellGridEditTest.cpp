#include "controls/CellGrid.h"

#include <gtest/gtest.h>

#include "tests/controls/GridFixture.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Input.h"
#include "platform/win/SysParams.h"

using namespace gridtest;

namespace {

// A grid that edits, with every cell in view and the focus on it.
class EditTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    saved_ = DefaultFormatSettings();
    TFormatSettings english = TFormatSettings::English();
    english.ShortDateFormat = "d/M/yyyy";
    SetDefaultFormatSettings(english);
    win::ResetClipboard();
    Plain();
    grid->SetBounds(10, 10, 500, 200);
    grid->SetOptions(grid->Options() + goEditing);
    log.Attach(grid);
    Show();
    grid->SetFocus();
    grid->MoveCurrent(2, 2, true);
    log.Lines.clear();
    Pump();
  }
  void TearDown() override {
    GridTest::TearDown();
    SetDefaultFormatSettings(saved_);
    win::ResetClipboard();
  }
  TInplaceEdit* Editor() { return grid->InplaceEditor(); }
  bool Editing() { return Editor() && Editor()->WindowVisible(); }
  std::string Shown() { return Editor()->EditText(); }

  TEventLog log;

 private:
  TFormatSettings saved_;
};

TEST_F(EditTest, TypingAFrequencyOverASelectedCell) {
  TCellInfo* cell = grid->CellAt(2, 2);
  cell->DataStyle = dsNumber;
  cell->DecLength = 4;
  cell->TrailingZero = true;
  // Typing on an empty cell opens the editor with the first character.
  Type("145.25");
  ASSERT_TRUE(Editing());
  EXPECT_EQ(Shown(), "145.25");
  Key(win::VK_RETURN);
  EXPECT_FALSE(Editing());
  EXPECT_EQ(cell->ForeText, "145.2500");
  EXPECT_TRUE(log.Has("fore 2,2 145.2500"));
  EXPECT_TRUE(log.Has("edit 2,2 145.25"));
  EXPECT_TRUE(log.Has("hide 2,2 145.25"));
  // Over a frequency, as the channel table does it: editor on, all selected.
  grid->SetEditorMode(true);
  grid->SelectAllEditorText();
  Type("146.5");
  Key(win::VK_RETURN);
  EXPECT_EQ(cell->ForeText, "146.5000");
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{2, 2}));
}

TEST_F(EditTest, TheEditorShowsEachKindOfCellInItsForm) {
  struct Case {
    TDataStyle Style;
    bool ShowFore;
    bool Thousand;
    const char* Fore;
    const char* Mask;
    const char* Shown;
  };
  const Case cases[] = {
      {dsDate, true, false, "2024-05-06", "9999/99/99;1; ", "2024/05/06"},
      {dsTime, true, false, "07:30:00", "00:00:00;1; ", "07:30:00"},
      {dsNumber, true, true, "1,234.5", "", "1234.5"},
      {dsDate, false, false, "2024-05-06", "", "back"},  // the back text, without a mask
      {dsText, true, false, "a b", "", "a b"},
  };
  for (const Case& c : cases) {
    TCellInfo* cell = grid->CellAt(2, 2);
    cell->DataStyle = c.Style;
    cell->ShowForeText = c.ShowFore;
    cell->ThousandSep = c.Thousand;
    cell->ForeText = c.Fore;
    cell->BackText = "back";
    cell->FillColor = clYellow;
    cell->FontStyle = {fsItalic};
    Key(win::VK_F2);
    ASSERT_TRUE(Editing()) << c.Fore;
    EXPECT_EQ(Editor()->EditMask(), c.Mask) << c.Fore;
    EXPECT_EQ(Shown(), c.Shown) << c.Fore;
    EXPECT_EQ(Editor()->Color(), clYellow);
    EXPECT_TRUE(Editor()->Font()->GetStyle().Contains(fsItalic));
    Key(win::VK_ESCAPE);
    EXPECT_FALSE(Editing());
  }
}

TEST_F(EditTest, EditorLiesOverTheMergedRangeInsetByTwoPixels) {
  Merge({2, 2, 3, 3});
  grid->CellAt(2, 2)->ForeText = "m";
  Key(win::VK_F2);
  ASSERT_TRUE(Editing());
  const TRect a = grid->CellRect(2, 2), b = grid->CellRect(3, 3);
  EXPECT_EQ(Editor()->BoundsRect(), (TRect{a.Left + 2, a.Top + 2, b.Right - 2, b.Bottom - 2}));
  EXPECT_EQ(Shown(), "m");
  // Nothing selected, caret at the end.
  EXPECT_EQ(Editor()->SelStart(), 1);
  EXPECT_EQ(Editor()->SelLength(), 0);
}

// Mended: a typed character replaces the selection, and a number takes only
// digits, signs and separators.
TEST_F(EditTest, NumberCellsTakeNumberCharactersReplacingTheSelection) {
  TCellInfo* cell = grid->CellAt(2, 2);
  cell->DataStyle = dsNumber;
  cell->ForeText = "123";
  Key(win::VK_F2);
  grid->SelectAllEditorText();
  Type("7");
  EXPECT_EQ(Shown(), "7");
  EXPECT_EQ(Editor()->SelStart(), 1);
  const int beeps = win::BeepCount();
  Type("x");
  EXPECT_EQ(Shown(), "7");
  EXPECT_EQ(win::BeepCount(), beeps + 1);
  Type("-,.5");
  EXPECT_EQ(Shown(), "7-,.5");
}

TEST_F(EditTest, EscapeRestoresTheStartingTextAndWritesNothingNew) {
  grid->CellAt(2, 2)->ForeText = "old";
  Key(win::VK_F2);
  Type("new");
  EXPECT_EQ(Shown(), "oldnew");
  Key(win::VK_ESCAPE);
  EXPECT_FALSE(Editing());
  EXPECT_EQ(grid->CellAt(2, 2)->ForeText, "old");
  EXPECT_FALSE(log.Has("fore 2,2 oldnew"));
  EXPECT_FALSE(log.Has("fore 2,2 old"));
}

// Mended: the editor shows the number without separators; Escape with
// nothing changed writes back nothing.
TEST_F(EditTest, EscapeOnANumberWithThousandSeparatorsWritesNothing) {
  TCellInfo* cell = grid->CellAt(2, 2);
  cell->DataStyle = dsNumber;
  cell->ThousandSep = true;
  cell->ForeText = "1,234.5";
  Key(win::VK_F2);
  EXPECT_EQ(Shown(), "1234.5");
  Key(win::VK_ESCAPE);
  EXPECT_EQ(cell->ForeText, "1,234.5");
  for (const std::string& line : log.Lines) EXPECT_NE(line.rfind("fore", 0), 0u) << line;
}

TEST_F(EditTest, ArrowsAtTheTextsEndsLeaveTheCellAndWriteBack) {
  grid->CellAt(2, 2)->ForeText = "12";
  Key(win::VK_F2);
  Type("3");
  Key(win::VK_LEFT);  // inside the text: the caret moves
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{2, 2}));
  Key(win::VK_END);
  Key(win::VK_RIGHT);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{3, 2}));
  EXPECT_EQ(grid->CellAt(2, 2)->ForeText, "123");
  EXPECT_FALSE(Editing());
  // Up and down always go to the grid.
  Key(win::VK_F2);
  Key(win::VK_DOWN);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{3, 3}));
}

TEST_F(EditTest, EnterOpensAndClosesAndDoubleClickOpens) {
  Key(win::VK_RETURN);
  EXPECT_TRUE(Editing());
  Type("x");
  Key(win::VK_RETURN);
  EXPECT_FALSE(Editing());
  EXPECT_EQ(grid->CellAt(2, 2)->ForeText, "x");
  win::InjectDoubleClick(Mid(2, 2));
  Pump();
  EXPECT_TRUE(Editing());
  // A press elsewhere in the grid ends the editing.
  Click(Mid(4, 4));
  EXPECT_FALSE(Editing());
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{4, 4}));
}

// Mended: the character meant for a read-only cell goes nowhere.
TEST_F(EditTest, ReadOnlyCellsNeverShowTheEditor) {
  grid->CellAt(3, 2)->ForeText = "ok";
  Key(win::VK_F2);  // an editor exists from now on
  Key(win::VK_ESCAPE);
  grid->CellAt(2, 2)->ReadOnly = true;
  Key(win::VK_F2);
  EXPECT_FALSE(Editing());
  Type("a");
  EXPECT_FALSE(Editing());
  EXPECT_EQ(Editor()->EditText().find('a'), std::string::npos);  // not even the hidden editor took it
  EXPECT_TRUE(grid->CellAt(2, 2)->ForeText.empty());
  Key(win::VK_RIGHT);
  Key(win::VK_F2);
  ASSERT_TRUE(Editing());
  EXPECT_EQ(Shown(), "ok");
}

TEST_F(EditTest, DateAndTimeCellsTakeTheirMaskFormsAndStoreTheirOwn) {
  struct Case {
    TDataStyle Style;
    const char* Fore;
    const char* Typed;
    const char* Stored;
  };
  const Case cases[] = {
      {dsDate, "", "20240506", "2024-05-06"},
      {dsTime, "", "123045", "12:30:45"},
      {dsDate, "2024-05-06", nullptr, ""},  // cleared to blanks: empty
  };
  for (const Case& c : cases) {
    TCellInfo* cell = grid->CellAt(2, 2);
    cell->DataStyle = c.Style;
    cell->ForeText = c.Fore;
    Key(win::VK_F2);
    ASSERT_TRUE(Editing());
    if (c.Typed) {
      Key(win::VK_HOME);
      Type(c.Typed);
    } else {
      grid->SelectAllEditorText();
      Key(win::VK_DELETE);
    }
    Key(win::VK_RETURN);
    EXPECT_FALSE(Editing()) << c.Stored;
    EXPECT_EQ(cell->ForeText, c.Stored);
  }
  // And the locale's own date form through the cell text itself.
  grid->SetCellForeText(2, 2, "6/5/2024");
  EXPECT_EQ(grid->CellAt(2, 2)->ForeText, "2024-05-06");
}

// Mended: the write-back cannot re-enter itself; a refused value is reported
// once and, after Enter or a cell move, the editor stays open with it.
TEST_F(EditTest, RefusedValueKeepsTheEditorOpenWithIt) {
  TCellInfo* cell = grid->CellAt(2, 2);
  cell->DataStyle = dsDate;
  cell->ForeText = "2024-05-06";
  Key(win::VK_F2);
  Key(win::VK_HOME);
  Type("20241345");
  Key(win::VK_RETURN);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0], std::string("Caution: Cell[2,2]") + SGridInvalidDate);
  EXPECT_TRUE(Editing());
  EXPECT_EQ(Shown(), "2024/13/45");
  EXPECT_EQ(cell->ForeText, "2024-05-06");
  EXPECT_EQ(grid->EditingCell(), (TGridCoord{2, 2}));
  // A move to another cell is refused the same way.
  Key(win::VK_DOWN);
  EXPECT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{2, 2}));
  EXPECT_TRUE(Editing());
  // Mended input goes through.
  Key(win::VK_HOME);
  Type("20241105");
  Key(win::VK_DOWN);
  EXPECT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(cell->ForeText, "2024-11-05");
  EXPECT_EQ(grid->CurrentCell(), (TGridCoord{2, 3}));
}

// The box of a refused value takes the focus from the editor while the grid
// is writing; that must not start a second write or a second box.
TEST_F(EditTest, ABoxThatTakesTheFocusDuringTheWriteShowsOnce) {
  TCellInfo* cell = grid->CellAt(2, 2);
  cell->DataStyle = dsNumber;
  Key(win::VK_F2);
  ASSERT_TRUE(Editing());
  win::SetClipboardText(grid->Handle(), "abc");
  Editor()->Perform(win::WM_PASTE, 0, 0);
  ASSERT_EQ(Shown(), "abc");
  SetMessageBoxHook([this](const std::string& Text, const std::string& Caption, win::UINT) {
    Boxes.push_back(Caption + ": " + Text);
    win::SetFocus(host->Handle());  // as a modal box would
    return win::IDOK;
  });
  Key(win::VK_RETURN);
  EXPECT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(cell->ForeText, "");
  // The hide the lost focus asked for waited for the write, which kept
  // the editor open with the refused text.
  EXPECT_TRUE(Editing());
  EXPECT_EQ(Shown(), "abc");
  EXPECT_TRUE(grid->EditorMode());
}

TEST_F(EditTest, AlwaysShowEditorFollowsTheCurrentCell) {
  grid->CellAt(3, 2)->ForeText = "next";
  grid->SetOptions(grid->Options() + goAlwaysShowEditor);
  ASSERT_TRUE(Editing());
  Type("a");
  Key(win::VK_RIGHT);
  EXPECT_EQ(grid->CellAt(2, 2)->ForeText, "a");
  EXPECT_TRUE(Editing());
  EXPECT_EQ(grid->EditingCell(), (TGridCoord{3, 2}));
  EXPECT_EQ(Shown(), "next");
}

TEST_F(EditTest, DeleteClearsTheSelectionButNotReadOnlyCells) {
  grid->CellAt(2, 2)->ForeText = "a";
  grid->CellAt(3, 2)->ForeText = "b";
  grid->CellAt(3, 2)->BackText = "B";
  grid->CellAt(2, 3)->ForeText = "c";
  grid->CellAt(2, 3)->ReadOnly = true;
  grid->MoveAnchor({3, 3}, true);
  Key(win::VK_DELETE);
  EXPECT_TRUE(grid->CellAt(2, 2)->ForeText.empty());
  EXPECT_TRUE(grid->CellAt(3, 2)->BackText.empty());
  EXPECT_EQ(grid->CellAt(2, 3)->ForeText, "c");
  EXPECT_TRUE(log.Has("back 3,2 "));
}

}  // namespace
