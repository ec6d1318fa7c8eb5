// The text editor on a shown form, driven through the message loop with
// injected keys: typing with MaxLength and CharCase, the paste and cut
// checks, the window-text messages, the item index, incremental search in
// the free, list-text and list-pick styles, lookup navigation and the
// wheel, thousands regrouped while typing in two locales, and who paints
// the text of an unfocused right-aligned editor. Our renderer, headless.
#include "suite/editors/cxTextEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRepository.h"
#include "tests/suite/editors/EditorOnFormFixture.h"
#include "tests/suite/editors/InjectedLocales.h"
#include "tests/suite/foundation/CanvasFixture.h"

// Number properties: the editor regroups thousands while the user types.
class TTestNumberTextProperties : public TcxTextEditProperties {
  VXN_DECLARE_CLASS(TTestNumberTextProperties)

 public:
  using TcxTextEditProperties::TcxTextEditProperties;
  bool FormatsValues() override { return true; }
  bool UsesThousandSeparators(bool) override { return true; }
};
VXN_IMPLEMENT_CREATABLE_CLASS(TTestNumberTextProperties, TcxTextEditProperties)

// The list styles belong to descendants (drop-down editors): these
// properties answer whichever style a test sets.
class TTestStyleTextProperties : public TcxTextEditProperties {
  VXN_DECLARE_CLASS(TTestStyleTextProperties)

 public:
  using TcxTextEditProperties::TcxTextEditProperties;
  TcxEditingStyle EditingStyle() override { return style; }
  TcxEditingStyle style = esFreeText;
};
VXN_IMPLEMENT_CREATABLE_CLASS(TTestStyleTextProperties, TcxTextEditProperties)

namespace {

// A text editor whose keys and wheel move through the lookup items, as a
// drop-down editor's do.
class NavigatingTextEdit : public TcxTextEdit {
 public:
  using TcxTextEdit::TcxTextEdit;
  bool CanNavigateLookup(bool) override { return true; }
  bool Wheel(Integer delta) { return DoMouseWheel(TShiftState{}, delta, TPoint{0, 0}); }
};

// A text editor of the given properties.
template <typename P>
class KindTextEdit : public TcxCustomTextEdit {
 public:
  explicit KindTextEdit(TComponent* AOwner) : TcxCustomTextEdit(AOwner, false, TextEditKind(P::StaticClass())) {}
  P* Props() { return static_cast<P*>(Properties()); }
};
using StyleTextEdit = KindTextEdit<TTestStyleTextProperties>;
using NumberTextEdit = KindTextEdit<TTestNumberTextProperties>;

struct Counter {
  int clicks = 0;
  std::vector<std::string> newTexts;
  void Click(TObject*) { ++clicks; }
  void ClickOrThrow(TObject*) {
    ++clicks;
    if (throwOnClick) throw Exception("click failed");
  }
  bool throwOnClick = false;
  void NewText(TObject*, const std::string& Text) { newTexts.push_back(Text); }
  void Refuse(TObject*, bool&) { throw Exception("no editing now"); }
};

class TextEdit : public EditorOnForm<TcxTextEdit> {
 protected:
  TcxTextEditProperties* Props(TcxTextEdit* e) { return e->TextProperties(); }
  // The shown text with the selection in brackets.
  static std::string Shown(TcxCustomTextEdit* e) {
    const std::string text = e->GetText();
    const Integer start = e->SelStart(), length = e->SelLength();
    return text.substr(0, start) + "[" + text.substr(start, length) + "]" + text.substr(start + length);
  }
};

TEST_F(TextEdit, IsTheTextPropertiesEditorAndRegistered) {
  EXPECT_EQ(TcxTextEditProperties(nullptr).EditClass(), TcxTextEdit::StaticClass());
  EXPECT_EQ(GetClass("TcxTextEdit"), TcxTextEdit::StaticClass());
  EXPECT_EQ(GetClass("TcxEditRepositoryTextItem"), TcxEditRepositoryTextItem::StaticClass());
  EXPECT_EQ(edit->Width(), 200);
  EXPECT_TRUE(edit->BeepOnEnter());
  ASSERT_NE(edit->InnerTextEdit(), nullptr);
  EXPECT_NE(edit->LookupData(), nullptr);
}

TEST_F(TextEdit, TypingKeepsToMaxLengthAndCharCaseAndExitStoresTheValue) {
  Props(edit)->SetMaxLength(5);
  Props(edit)->SetCharCase(ecUpperCase);
  Focus(edit);
  Type("abcdefg");
  EXPECT_EQ(edit->GetText(), "ABCDE");
  EXPECT_TRUE(edit->ModifiedAfterEnter());
  other->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(VarToStr(edit->EditValue()), "ABCDE");

  // Lower case applies to a text set from the program too.
  Props(edit)->SetCharCase(ecLowerCase);
  edit->SetText("MiXeD");
  EXPECT_EQ(edit->GetText(), "mixed");
  EXPECT_EQ(VarToStr(edit->EditValue()), "mixed");
}

TEST_F(TextEdit, InsertedTextIsCheckedAgainstMaxLengthAndTheStyle) {
  struct Case {
    TcxEditingStyle style;
    const char* text;
    Integer selStart, selLength;
    std::string inserted;
    bool user;
    bool passes;
    const char* newText;
    Integer newCaret;
  } const cases[] = {
      // The user's paste keeps what fits.
      {esFreeText, "abcd", 4, 0, "xyz", true, true, "abcdx", 5},
      // What is typed stays; the text after the selection is cut instead.
      {esFreeText, "abxcd", 2, 1, "12", true, true, "ab12c", 4},
      // Nothing of it fits: refused, though the caret would not move back.
      {esFreeText, "abcde", 5, 0, "xyz", true, false, "", 0},
      // A cut (nothing inserted) of a full text passes.
      {esFreeText, "abcde", 1, 2, "", true, true, "ade", 1},
      // Text up to a #0 counts.
      {esFreeText, "ab", 2, 0, std::string("c\0zz", 4), true, true, "abc", 3},
      // From the program the text goes in whole.
      {esFreeText, "abcd", 4, 0, "xyz", false, true, "abcdxyz", 7},
      // The list styles take items only; list pick replaces the whole text.
      {esListText, "", 0, 0, "gre", true, false, "", 0},
      {esListPick, "Red", 1, 0, "green", true, true, "green", 5},
  };
  auto* e = Make<StyleTextEdit>(40);
  e->Props()->SetMaxLength(5);
  e->Props()->LookupItems()->SetText("Red\nGreen");
  Focus(e);
  for (const Case& c : cases) {
    e->Props()->style = esFreeText;
    e->SetText(c.text);
    e->Props()->style = c.style;
    e->ShowSelectionHighlight(true);
    e->SetSelection(c.selStart, c.selLength);
    e->SetUserChanging(c.user);
    std::string newText;
    Integer newCaret = -1;
    const bool passes = e->CheckInsertedText(c.inserted, newText, newCaret);
    e->SetUserChanging(false);
    EXPECT_EQ(passes, c.passes) << c.text << " + " << c.inserted;
    if (passes && c.passes) {
      EXPECT_EQ(newText, c.newText) << c.text << " + " << c.inserted;
      EXPECT_EQ(newCaret, c.newCaret) << c.text << " + " << c.inserted;
    }
  }
  // Nothing goes into a no-text editor by the user.
  e->Props()->style = esNoText;
  e->SetUserChanging(true);
  std::string newText;
  Integer newCaret = 0;
  EXPECT_FALSE(e->CheckInsertedText("a", newText, newCaret));
  e->SetUserChanging(false);
}

TEST_F(TextEdit, PasteAndCutThroughTheWindow) {
  Props(edit)->SetMaxLength(5);
  Focus(edit);
  Type("abcd");
  Clipboard()->SetAsText("xyz");
  Press('V', false, true);
  EXPECT_EQ(Shown(edit), "abcdx[]");
  Press('V', false, true);
  EXPECT_EQ(Shown(edit), "abcdx[]") << "a full text refuses the paste";

  edit->SetSelection(1, 2);
  Press('X', false, true);
  EXPECT_EQ(Shown(edit), "a[]dx");
  EXPECT_EQ(Clipboard()->AsText(), "bc");
  edit->SetSelection(0, 1);
  Press(win::VK_DELETE);
  EXPECT_EQ(Shown(edit), "[]dx");

  // The program's insert is not cut to MaxLength.
  edit->SetSelStart(2);
  edit->InsertText("123456");
  EXPECT_EQ(Shown(edit), "dx123456[]");
  // WM_CLEAR erases the selection with the caret at its start.
  edit->SetSelection(2, 3);
  win::SendMessage(edit->Handle(), win::WM_CLEAR, 0, 0);
  EXPECT_EQ(Shown(edit), "dx[]456");
  // A read-only editor copies on cut and keeps its text.
  Props(edit)->SetReadOnly(true);
  edit->SetSelection(0, 2);
  win::SendMessage(edit->InnerTextEdit()->Control()->Handle(), win::WM_CUT, 0, 0);
  EXPECT_EQ(edit->GetText(), "dx456");
  EXPECT_EQ(Clipboard()->AsText(), "dx");
}

TEST_F(TextEdit, WindowTextMessages) {
  edit->SetText("abcdef");
  char buffer[8] = "zzzzzzz";
  EXPECT_EQ(win::SendMessage(edit->Handle(), win::WM_GETTEXT, 1, reinterpret_cast<win::LPARAM>(buffer)), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(win::SendMessage(edit->Handle(), win::WM_GETTEXT, 0, reinterpret_cast<win::LPARAM>(buffer)), 0);
  EXPECT_EQ(win::SendMessage(edit->Handle(), win::WM_GETTEXT, 4, reinterpret_cast<win::LPARAM>(buffer)), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(win::SendMessage(edit->Handle(), win::WM_GETTEXTLENGTH, 0, 0), 6);

  EXPECT_EQ(win::SendMessage(edit->Handle(), win::WM_SETTEXT, 0, reinterpret_cast<win::LPARAM>("new")), 1);
  EXPECT_EQ(edit->GetText(), "new");
  EXPECT_EQ(VarToStr(edit->EditValue()), "new");
  EXPECT_FALSE(edit->Modified());
}

TEST_F(TextEdit, AListTextEditorDropsATextThatIsNoItem) {
  auto* e = Make<StyleTextEdit>(40);
  e->Props()->LookupItems()->SetText("apple\nbanana");
  e->SetText("kiwi");
  e->Props()->style = esListText;
  // Any change of the settings checks the shown text against the items.
  e->Props()->SetMaxLength(10);
  EXPECT_EQ(e->GetText(), "");
  EXPECT_EQ(VarToStr(e->EditValue()), "");
  EXPECT_EQ(win::SendMessage(e->Handle(), win::WM_SETTEXT, 0, reinterpret_cast<win::LPARAM>("kiwi")), 0)
      << "no item: refused";
  EXPECT_EQ(win::SendMessage(e->Handle(), win::WM_SETTEXT, 0, reinterpret_cast<win::LPARAM>("banana")), 1);
  e->Props()->SetMaxLength(8);
  EXPECT_EQ(e->GetText(), "banana") << "an item stays";
}

TEST_F(TextEdit, InPlaceActivationSelectsTheWholeTextInTheInnerEdit) {
  auto* e = new TcxTextEdit(form.get(), true);
  e->SetParent(form.get());
  e->SetBounds(10, 40, 200, 21);
  e->SetEditValue(Variant("channel"));
  std::unique_ptr<TcxCustomEditData> data;
  e->ActivateByKey(U'\t', data);
  Application->ProcessMessages();
  EXPECT_EQ(win::GetFocus(), e->InnerTextEdit()->Control()->Handle());
  EXPECT_EQ(Shown(e), "[channel]");
  EXPECT_FALSE(e->InnerTextEdit()->AutoSelect()) << "in place the host selects, not the window";
}

TEST_F(TextEdit, ItemIndexPicksTheItemAndClicksWhenItChanges) {
  Counter counter;
  edit->OnClick = TNotifyEvent(&counter, &Counter::Click);
  Props(edit)->LookupItems()->SetText("one\ntwo\nthree");
  EXPECT_EQ(edit->ItemIndex(), -1);
  edit->SetItemIndex(2);
  EXPECT_EQ(edit->ItemIndex(), 2);
  EXPECT_EQ(VarToStr(edit->EditValue()), "three");
  EXPECT_EQ(edit->GetText(), "three");
  EXPECT_EQ(counter.clicks, 1);
  EXPECT_FALSE(edit->Modified());
  edit->SetItemIndex(2);
  EXPECT_EQ(counter.clicks, 1) << "the same index again";
  edit->SetItemIndex(0);
  EXPECT_EQ(edit->GetText(), "one");
  EXPECT_EQ(counter.clicks, 2);
}

TEST_F(TextEdit, IncrementalSearchCompletesTypingAtTheEnd) {
  Props(edit)->LookupItems()->SetText("apple\napricot\nbanana");
  Focus(edit);
  Type("a");
  EXPECT_EQ(Shown(edit), "a[pple]");
  EXPECT_TRUE(edit->SelectionHighlight());
  Type("p");
  EXPECT_EQ(Shown(edit), "ap[ple]");
  Type("r");
  EXPECT_EQ(Shown(edit), "apr[icot]");
  EXPECT_EQ(edit->ItemIndex(), 1);
  Press(win::VK_BACK);
  EXPECT_EQ(Shown(edit), "ap[ple]") << "the completion and one typed character go";
  // Right ends the completion: the caret goes after it.
  Press(win::VK_RIGHT);
  EXPECT_EQ(Shown(edit), "apple[]");
  EXPECT_FALSE(edit->SelectionHighlight());

  // Typing inside a longer text inserts without completing.
  edit->SetText("xx yy");
  edit->SetSelStart(1);
  Type("ap");
  EXPECT_EQ(Shown(edit), "xap[]x yy");
  // And a text no item starts with is typed as it is.
  edit->SetText("");
  Type("cherry");
  EXPECT_EQ(Shown(edit), "cherry[]");
}

TEST_F(TextEdit, ANewTextIsAnnouncedForTheOwnAndTheRepositoryProperties) {
  Counter own, shared;
  auto item = std::make_unique<TcxEditRepositoryTextItem>(nullptr);
  TcxTextEditProperties* itemProps = item->KindProperties();
  itemProps->LookupItems()->SetText("apple");
  itemProps->OnNewLookupDisplayText = TcxNewLookupDisplayTextEvent(&shared, &Counter::NewText);
  Props(edit)->OnNewLookupDisplayText = TcxNewLookupDisplayTextEvent(&own, &Counter::NewText);
  edit->SetRepositoryItem(item.get());
  Focus(edit);
  Type("kiwi");
  other->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(own.newTexts, std::vector<std::string>{"kiwi"});
  EXPECT_EQ(shared.newTexts, std::vector<std::string>{"kiwi"});

  // An item is no new text.
  Focus(edit);
  edit->SelectWholeText();
  Type("apple");
  other->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(own.newTexts.size(), 1u);
  edit->SetRepositoryItem(nullptr);
}

TEST_F(TextEdit, ListNavigationMovesWithoutWrappingAndTheWheelOnlyInDropDowns) {
  auto* nav = Make<NavigatingTextEdit>(40);
  Counter counter;
  nav->OnClick = TNotifyEvent(&counter, &Counter::Click);
  Props(nav)->LookupItems()->SetText("one\ntwo\nthree\nfour");
  Focus(nav);
  Press(win::VK_NEXT, false, true);
  EXPECT_EQ(nav->ItemIndex(), 3);
  EXPECT_EQ(nav->GetText(), "four");
  EXPECT_TRUE(nav->ModifiedAfterEnter());
  Press(win::VK_PRIOR, false, true);
  EXPECT_EQ(nav->ItemIndex(), 0);
  Press(win::VK_UP);
  EXPECT_EQ(nav->ItemIndex(), 0) << "no wrapping";
  Press(win::VK_DOWN);
  EXPECT_EQ(nav->GetText(), "two");
  EXPECT_EQ(counter.clicks, 3) << "one click per changed item";
  EXPECT_FALSE(nav->LookupNavigating());
  EXPECT_TRUE(nav->Wheel(120));
  EXPECT_EQ(nav->ItemIndex(), 0);
  EXPECT_TRUE(nav->Wheel(-120));
  EXPECT_EQ(nav->ItemIndex(), 1);

  // A stand-alone editor: the wheel and Up/Down never change the item.
  Props(edit)->LookupItems()->SetText("one\ntwo");
  edit->SetItemIndex(0);
  Focus(edit);
  win::SendMessage(edit->Handle(), win::WM_MOUSEWHEEL, win::MAKEWPARAM(0, static_cast<win::WORD>(-120)),
                   win::MAKELPARAM(120, 115));
  Press(win::VK_DOWN);
  EXPECT_EQ(edit->ItemIndex(), 0);
}

TEST_F(TextEdit, AFailingLookupMoveReleasesItsLocks) {
  auto* nav = Make<NavigatingTextEdit>(40);
  Counter counter;
  nav->OnClick = TNotifyEvent(&counter, &Counter::ClickOrThrow);
  Props(nav)->LookupItems()->SetText("one\ntwo\nthree");
  Focus(nav);
  counter.throwOnClick = true;
  EXPECT_THROW(nav->Wheel(-120), Exception);
  EXPECT_EQ(nav->ItemIndex(), 0);
  EXPECT_FALSE(nav->ChangeEventsLocked());
  EXPECT_FALSE(nav->LookupNavigating());
  counter.throwOnClick = false;
  Press(win::VK_DOWN);
  EXPECT_EQ(nav->ItemIndex(), 1);
  EXPECT_EQ(counter.clicks, 2) << "clicks are not locked any more";
}

TEST_F(TextEdit, ListPickTypingPicksItemsAndDropsWhatMatchesNone) {
  struct Case {
    bool listPickSelection;
    const char* typed;
    const char* shown;
  } const cases[] = {
      {true, "r", "R[ed]"},
      {true, "ro", "Ro[se]"},
      {true, "rox", "Ro[se]"},  // x finds nothing and is dropped
      {true, "rg", "R[ed]"},    // rg finds nothing and the g is dropped
      {false, "rg", "G[reen]"},  // without the selection g alone is searched
  };
  auto* e = Make<StyleTextEdit>(40);
  e->Props()->LookupItems()->SetText("Red\nRose\nGreen");
  e->Props()->style = esListPick;
  for (const Case& c : cases) {
    e->Props()->SetListPickSelection(c.listPickSelection);
    Focus(other);
    e->SetItemIndex(-1);
    e->SetText("");
    Focus(e);
    Type(c.typed);
    EXPECT_EQ(Shown(e), c.shown) << c.typed << " selection " << c.listPickSelection;
  }
  // Left and Right do not edit a picked text; the highlight goes.
  Press(win::VK_LEFT);
  EXPECT_EQ(e->GetText(), "Green");
  EXPECT_FALSE(e->SelectionHighlight());
  EXPECT_EQ(e->SelLength(), 0) << "no selection without the highlight";
}

TEST_F(TextEdit, ListTextRefusesACharacterThatMatchesNoItem) {
  auto* e = Make<StyleTextEdit>(40);
  e->Props()->LookupItems()->SetText("apple\napricot");
  e->Props()->style = esListText;
  Focus(e);
  Type("ap");
  EXPECT_EQ(Shown(e), "ap[ple]");
  Type("z");
  EXPECT_EQ(Shown(e), "ap[ple]") << "refused, and the completion is selected again";
  EXPECT_TRUE(e->SelectionHighlight());
  // Delete belongs to the host in this style.
  Press(win::VK_DELETE);
  EXPECT_EQ(e->GetText(), "apple");
  // Backspace without a highlight first selects from the caret to the end.
  e->ShowSelectionHighlight(false);
  e->SetSelection(3, 0);
  Press(win::VK_BACK);
  EXPECT_EQ(Shown(e), "ap[ple]");
}

TEST_F(TextEdit, ThousandsAreRegroupedWhileTypingInTheLocale) {
  struct Case {
    char decimal, thousand;
    const char* typed;
    const char* shown;
  } const cases[] = {
      {'.', ',', "1234", "1,234[]"},
      {'.', ',', "-123456", "-123,456[]"},
      {'.', ',', "1234567.5", "1,234,567.5[]"},
      {',', '.', "1234", "1.234[]"},
      {',', '.', "12345,25", "12.345,25[]"},
  };
  auto* e = Make<NumberTextEdit>(40);
  for (const Case& c : cases) {
    TFormatSettings locale = injected_locales::German();
    locale.DecimalSeparator = c.decimal;
    locale.ThousandSeparator = c.thousand;
    TFormatSettingsPin pin{locale};
    Focus(other);
    e->SetText("");
    Focus(e);
    Type(c.typed);
    EXPECT_EQ(Shown(e), c.shown) << c.typed;
  }
  // The caret stays after the digit typed, inside the number too.
  TFormatSettingsPin pin{injected_locales::US()};
  Focus(other);
  e->SetText("123");
  Focus(e);
  e->SetSelStart(1);
  Type("9");
  EXPECT_EQ(Shown(e), "1,9[]23");
}

TEST_F(TextEdit, AnUnfocusedRightAlignedEditorPaintsItsTextItself) {
  Props(edit)->Alignment()->SetHorz(taRightJustify);
  Props(edit)->SetUseLeftAlignmentOnEditing(false);
  edit->SetText("WWW");
  Focus(other);
  TWinControl* inner = edit->InnerTextEdit()->Control();
  EXPECT_FALSE(edit->InnerEditVisible());
  EXPECT_FALSE(edit->InnerWholeVisible()) << "the inner edit shows nothing";
  EXPECT_EQ(edit->InnerVisibleRect(), TRect{});
  EXPECT_EQ(edit->TextViewInfo()->Text, "WWW");
  EXPECT_TRUE(edit->DoubleBuffered);

  // The view info draws the text at the right: dark pixels in the right
  // third of the text area, none in the left third.
  TestSurface surface;
  surface.Reset(edit->Width(), edit->Height());
  edit->ViewInfo()->DrawTo(surface.canvas.get());
  const TRect r = edit->TextViewInfo()->TextRect;
  auto darkIn = [&](Integer left, Integer right) {
    for (Integer x = left; x < right; ++x)
      for (Integer y = r.Top; y < r.Bottom; ++y)
        if (surface.Px(x, y) == 0) return true;
    return false;
  };
  EXPECT_TRUE(darkIn(r.Right - r.Width() / 3, r.Right));
  EXPECT_FALSE(darkIn(r.Left, r.Left + r.Width() / 3));

  Focus(edit);
  EXPECT_TRUE(edit->InnerEditVisible());
  EXPECT_TRUE(edit->InnerWholeVisible());
  EXPECT_FALSE(edit->DoubleBuffered);
  EXPECT_EQ(inner->Left(), edit->EditViewInfo()->ClientRect.Left + 1) << "inside the content offsets";
  EXPECT_EQ(static_cast<TCustomEdit*>(inner)->Alignment(), taRightJustify);
}

}  // namespace
