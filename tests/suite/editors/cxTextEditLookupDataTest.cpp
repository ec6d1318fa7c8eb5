// Lookup data over a small item list: locating typed text, what a failed
// search does to the current key in each editing style, navigation with and
// without wrap, picks and key changes reaching the editor, and the drop-down
// list it fills.
#include "suite/editors/cxTextEditLookupData.h"

#include <gtest/gtest.h>

#include "platform/forms/CustomForms.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Painting.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxContainerStyles.h"

namespace {

class ListProperties : public TcxCustomTextEditProperties {
 public:
  using TcxCustomTextEditProperties::TcxCustomTextEditProperties;
  TcxEditingStyle EditingStyle() override { return style; }
  TcxEditingStyle style = esFreeText;
};

// The editor's side, as the lookup data see it.
class Editor : public TPersistent, public IcxTextEditLookupDataOwner {
 public:
  Editor() : properties(nullptr) {}
  TcxCustomTextEditProperties* LookupProperties() override { return &properties; }
  std::string LookupOwnerText() override { return text; }
  void SetLookupChanging(bool Value) override {
    if (Value) ++changingMarks;
    lookupChanging = Value;
  }
  bool LookupQueryEditing() override { return canEdit; }
  bool LookupQueryingEditing() override { return querying; }
  TcxContainerStyle* LookupActiveStyle() override { return nullptr; }
  void Selected(TObject*) {
    ++selections;
    if (lookupChanging) ++selectionsWhileChanging;
  }

  ListProperties properties;
  std::string text;
  bool canEdit = true;
  bool querying = false;
  bool lookupChanging = false;
  int changingMarks = 0;
  int selections = 0;
  int selectionsWhileChanging = 0;
};

class Lookup : public testing::Test {
 protected:
  void SetUp() override { data.SetOnSelectItem(TNotifyEvent(&editor, &Editor::Selected)); }
  void Items(std::initializer_list<const char*> items) {
    for (const char* item : items) editor.properties.LookupItems()->Add(item);
  }
  bool Locate(std::string text, bool wholeText, bool fromCurrent = false) {
    std::string tail;
    found = text;
    const bool result = data.LocateTypedText(found, tail, wholeText, fromCurrent);
    this->tail = tail;
    return result;
  }
  Editor editor;
  TcxCustomTextEditLookupData data{&editor};
  std::string found, tail;
};

// A drop-down lookup: it makes a list box.
class DropDownLookupData : public TcxCustomTextEditLookupData {
 public:
  using TcxCustomTextEditLookupData::TcxCustomTextEditLookupData;
  TClass ListBoxClass() override { return TcxCustomEditListBox::StaticClass(); }
};

TEST_F(Lookup, LocatesTypedTextByPrefixIgnoringCase) {
  Items({"Red", "Green", "Grey"});
  EXPECT_TRUE(Locate("gr", false));
  EXPECT_EQ(found, "Gr");  // the item's own case
  EXPECT_EQ(tail, "een");
  EXPECT_EQ(data.CurrentKeyIndex(), 1);
  EXPECT_EQ(data.ItemIndex(), 1);
  EXPECT_TRUE(Locate("gr", false, true));  // from the current item on
  EXPECT_EQ(data.CurrentKeyIndex(), 2);
  EXPECT_FALSE(Locate("gr", false, true));  // no wrap around
  EXPECT_EQ(data.CurrentKeyIndex(), -1);    // free text: a miss resets
  EXPECT_EQ(VarToStr(data.CurrentKey()), "-1");

  std::string text = "RED", tailText;
  EXPECT_TRUE(data.LocateText(text, tailText, false));
  EXPECT_EQ(text, "Red");
  EXPECT_TRUE(data.ContainsText("grey"));
  EXPECT_FALSE(data.ContainsText("gre"));
  EXPECT_EQ(data.DisplayTextOfKey(Variant(2)), "Grey");
  EXPECT_EQ(data.DisplayTextOfKey(Variant(3)), "");
  EXPECT_EQ(data.DisplayTextOfKey(Variant(-1)), "");
}

TEST_F(Lookup, WholeTextOfAMostRecentlyUsedListMustMatchExactly) {
  Items({"Red", "Green"});
  editor.properties.SetMRULookup(true);
  EXPECT_FALSE(Locate("Gre", true));
  EXPECT_EQ(data.CurrentKeyIndex(), -1);
  EXPECT_TRUE(Locate("green", true));
  EXPECT_EQ(data.CurrentKeyIndex(), 1);
  EXPECT_EQ(tail, "");
}

TEST_F(Lookup, AFailedSearchKeepsOrResetsTheKeyByStyle) {
  struct Case {
    TcxEditingStyle style;
    bool emptyItem;
    const char* text;
    bool wholeText;
    Integer key;
  };
  const Case cases[] = {
      {esListText, false, "", false, -1}, {esListText, true, "", false, 0},   {esListText, false, "x", false, 0},
      {esListText, false, "x", true, -1}, {esListPick, false, "x", false, 0}, {esListPick, false, "x", true, -1},
      {esFreeText, false, "x", false, -1}, {esNoText, false, "x", false, -1},
  };
  for (const Case& c : cases) {
    Editor owner;
    TcxCustomTextEditLookupData lookup(&owner);
    owner.properties.style = c.style;
    owner.properties.LookupItems()->Add("a");
    if (c.emptyItem) owner.properties.LookupItems()->Add("");
    lookup.SetCurrentKey(0);
    std::string text = c.text, tailText;
    EXPECT_FALSE(lookup.LocateTypedText(text, tailText, c.wholeText, false));
    EXPECT_EQ(lookup.CurrentKeyIndex(), c.key) << c.style << " '" << c.text << "' " << c.wholeText;
  }
}

TEST_F(Lookup, Navigation) {
  struct Case {
    Integer items;
    Integer start;
    Integer direction;
    bool wrap;
    Integer result;
  };
  const Case cases[] = {
      {3, 2, lnNext, false, 2},      {3, 2, lnNext, true, 0},        {3, -1, lnPrevious, false, -1},
      {3, -1, lnPrevious, true, 2},  {3, 1, lnFirst, false, 0},      {3, 0, lnLast, false, 2},
      {20, 15, lnPageDown, false, 19}, {20, 19, lnPageDown, true, 0}, {20, -1, lnPageDown, false, 7},
      {20, 10, lnPageUp, false, 3},  {20, 3, lnPageUp, false, 0},    {20, 0, lnPageUp, true, 19},
      {20, -1, lnPageUp, false, -1}, {20, -1, lnPageUp, true, 19},
  };
  for (const Case& c : cases) {
    Editor owner;
    TcxCustomTextEditLookupData lookup(&owner);
    for (Integer i = 0; i < c.items; ++i) owner.properties.LookupItems()->Add("item" + std::to_string(i));
    lookup.SetCurrentKey(c.start);
    lookup.Navigate(c.direction, c.wrap);
    EXPECT_EQ(lookup.CurrentKeyIndex(), c.result)
        << c.items << " items from " << c.start << " direction " << c.direction << " wrap " << c.wrap;
  }
  // No items: nothing moves.
  data.Navigate(lnFirst, true);
  EXPECT_EQ(data.CurrentKeyIndex(), -1);
  EXPECT_TRUE(data.HasNoItems());
}

TEST_F(Lookup, KeyChangesAndPicksReachTheEditor) {
  Items({"Red", "Green"});
  editor.text = "Red";
  data.SetCurrentKeyValue(Variant(1));
  EXPECT_EQ(editor.selections, 1);
  EXPECT_EQ(editor.selectionsWhileChanging, 1);  // the editor knows the lookup changes it
  EXPECT_FALSE(editor.lookupChanging);
  // The same key again: only when the editor's text is not the item's.
  editor.text = "Green";
  data.SetCurrentKeyValue(Variant(1));
  EXPECT_EQ(editor.selections, 1);
  editor.text = "green";
  data.SetCurrentKeyValue(Variant(1));
  EXPECT_EQ(editor.selections, 2);
  // Keys outside the items are ignored.
  data.SetCurrentKeyValue(Variant(7));
  EXPECT_EQ(data.CurrentKeyIndex(), 1);
  // A pick of the current item still reaches the editor.
  editor.text = "Green";
  data.CommitItemIndex();
  EXPECT_EQ(editor.selections, 3);
  data.SetItemIndex(-1);
  data.CommitItemIndex();
  EXPECT_EQ(editor.selections, 3);
  data.SetItemIndex(0);
  data.ResetListHighlight();
  EXPECT_EQ(data.ItemIndex(), 1);
}

TEST_F(Lookup, SyncFollowsTheEditorsText) {
  Items({"Red", "Green"});
  editor.text = "GREEN";
  data.SyncItemIndexWithText();
  EXPECT_EQ(data.CurrentKeyIndex(), 1);
  editor.text = "Blue";
  editor.querying = true;
  data.SyncItemIndexWithText();
  EXPECT_EQ(data.CurrentKeyIndex(), 1);
  editor.querying = false;
  data.SyncItemIndexWithText();
  EXPECT_EQ(data.CurrentKeyIndex(), -1);
}

TEST(LookupList, TheListIsFilledPlacedAndFollowed) {
  InitializeEditors();
  TForm* form = new TForm(nullptr);
  form->SetBounds(0, 0, 300, 300);
  Editor editor;
  for (int i = 0; i < 30; ++i) editor.properties.LookupItems()->Add("item" + std::to_string(i));
  {
    DropDownLookupData lookup(&editor);
    EXPECT_EQ(lookup.ListControl(), nullptr);
    lookup.SetCurrentKey(20);
    editor.text = "Item20";  // the list opens on the editor's item
    lookup.InitializeList(form);
    auto* list = dynamic_cast<TcxCustomEditListBox*>(lookup.ListControl());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Owner(), static_cast<TComponent*>(form));
    EXPECT_EQ(list->Items()->Count(), 30);
    EXPECT_EQ(list->ItemIndex(), 20);
    lookup.PositionList(TRect{10, 20, 110, 120});
    EXPECT_EQ(list->BoundsRect(), (TRect{10, 20, 110, 120}));
    form->Show();
    EXPECT_TRUE(list->IsVisible());
    EXPECT_TRUE(lookup.IsPointInList(list->ClientToScreen(TPoint{5, 5})));
    EXPECT_FALSE(lookup.IsPointInList(list->ClientToScreen(TPoint{-2, 5})));

    // With the list open, navigation moves the highlight only.
    lookup.Navigate(lnNext, false);
    EXPECT_EQ(lookup.ItemIndex(), 21);
    EXPECT_EQ(lookup.CurrentKeyIndex(), 20);
    EXPECT_EQ(list->ItemIndex(), 21);
    // ... unless the text follows at once.
    editor.properties.SetImmediateUpdateText(true);
    lookup.Navigate(lnNext, false);
    EXPECT_EQ(lookup.CurrentKeyIndex(), 22);

    // The list's own selection is the highlight.
    list->ChangeItemIndex(3);
    EXPECT_EQ(lookup.ItemIndex(), 3);
    // No highlight: scrolled to the top, nothing selected.
    lookup.SetItemIndex(-1);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->TopIndex(), 0);

    editor.properties.LookupItems()->Delete(0);
    lookup.ItemsChanged();
    EXPECT_EQ(list->Items()->Count(), 29);
  }
  form->Free();
}

TEST(LookupList, ListRowsAreTheFontsTextHeight) {
  InitializeEditors();
  TForm* form = new TForm(nullptr);
  auto* list = new TcxCustomEditListBox(form);
  list->SetParent(form);
  list->Items()->Add("Wide item");
  list->Items()->Add("");
  EXPECT_EQ(list->BorderStyle(), bsNone);
  EXPECT_TRUE(list->TrackMouse);
  const Integer row = list->ItemHeightOf(-1);
  EXPECT_GT(row, 0);
  EXPECT_EQ(list->HeightForItemCount(5), 5 * row);
  EXPECT_GT(list->ItemWidthOf(0), list->ItemWidthOf(1) + 10);
  // Outside a popup there is no editor, so no focus rectangle.
  EXPECT_FALSE(list->DrawsFocusRect());
  form->Free();
}

// Item text starts at the reading side with a 2-pixel indent: at the left,
// or at the right for right-to-left reading (plain GDI drawing, no visual
// style involved).
TEST(LookupList, ItemTextStartsOnTheReadingSide) {
  InitializeEditors();
  TForm* form = new TForm(nullptr);
  form->SetBounds(0, 0, 300, 200);
  auto* list = new TcxCustomEditListBox(form);
  list->SetParent(form);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetBounds(10, 10, 150, 60);
  list->Items()->Add("MMMM");
  form->Show();
  // The first and last columns of row 0 that hold text pixels.
  auto textColumns = [&] {
    list->Repaint();
    const TRect r = list->ItemRect(0);
    win::HDC dc = win::GetDC(list->Handle());
    const win::COLORREF back = win::GetPixel(dc, r.Left, r.Top);
    Integer first = -1, last = -1;
    for (Integer x = r.Left; x < r.Right; ++x)
      for (Integer y = r.Top; y < r.Bottom; ++y)
        if (win::GetPixel(dc, x, y) != back) {
          if (first < 0) first = x;
          last = x;
        }
    win::ReleaseDC(list->Handle(), dc);
    return std::pair<Integer, Integer>{first, last};
  };
  const Integer width = list->ItemRect(0).Right;
  auto [ltrFirst, ltrLast] = textColumns();
  EXPECT_GE(ltrFirst, 2);
  EXPECT_LT(ltrFirst, 6);
  EXPECT_LT(ltrLast, width / 2);
  list->SetBiDiMode(bdRightToLeft);
  auto [rtlFirst, rtlLast] = textColumns();
  EXPECT_GT(rtlFirst, width / 2);
  EXPECT_LE(rtlLast, width - 3);
  EXPECT_GT(rtlLast, width - 8);
  form->Free();
}

}  // namespace
