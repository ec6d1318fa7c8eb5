// The combo box on a shown form, driven with injected keys and clicks the
// way the radio's editor windows use it: pick-only lists read and written
// through ItemIndex, an edit list that completes typed tone codes, the list's
// size from its rows, items and font, picks by key, click and drag, the
// double click of a revertable list, the snapping of a sized list, and the
// draw handler of a fixed list's text. Our renderer, headless.
#include "suite/editors/cxComboBox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Clipbrd.h"
#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/GdiShapes.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysParams.h"
#include "platform/win/Windows.h"
#include "suite/editors/EditorsStartup.h"
#include "suite/editors/cxEditRepository.h"
#include "tests/support/VisualStylesScope.h"

namespace {

class ComboBox : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEditors();
    win::ResetInputState();
    win::InjectMouseMove({0, 0});
    form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 320, 240);
    other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 200, 100, 24);
    combo = new TcxComboBox(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 150, 21);
    Props()->OnChange = TNotifyEvent(this, &ComboBox::Changed);
    Props()->OnEditValueChanged = TNotifyEvent(this, &ComboBox::ValueChanged);
    Props()->OnCloseUp = TNotifyEvent(this, &ComboBox::ClosedUp);
    Props()->OnInitPopup = TNotifyEvent(this, &ComboBox::InitPopup);
    combo->OnClick = TNotifyEvent(this, &ComboBox::Clicked);
    form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    form.reset();
    win::ResetInputState();
  }

  TcxComboBoxProperties* Props() { return combo->ComboProperties(); }
  void SetItems(std::initializer_list<const char*> items) {
    Props()->Items()->Clear();
    for (const char* s : items) Props()->Items()->Add(s);
  }
  void Focus(TWinControl* c) {
    c->SetFocus();
    Application->ProcessMessages();
  }
  void Press(Word vk, bool alt = false, bool ctrl = false) {
    win::InjectKeyPress(vk, false, ctrl, alt);
    Application->ProcessMessages();
  }
  void Type(const std::string& text) {
    win::InjectText(text);
    Application->ProcessMessages();
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
  TcxComboBoxListBox* List() { return combo->ComboLookupData()->ComboList(); }
  TcxCustomEditPopupWindow* Popup() { return combo->PopupWindow(); }
  void ResetCounts() {
    changes = valueChanges = clicks = inits = 0;
    reasons.clear();
  }


 public:
  void Changed(TObject*) { ++changes; }
  void ValueChanged(TObject*) { ++valueChanges; }
  void Clicked(TObject*) { ++clicks; }
  void ClosedUp(TObject*) { reasons.push_back(combo->CloseReason()); }
  void InitPopup(TObject*) { ++inits; }
  void FillOnInit(TObject*) { SetItems({"A", "B"}); }
  void Posted(TObject*) { ++posts; }
  struct Drawn {
    TcxCustomComboBox* control;
    Integer index;
    TRect rect;
    TOwnerDrawState state;
  };
  void DrawItem(TcxCustomComboBox* AControl, TcxCanvas* ACanvas, Integer AIndex, const TRect& ARect,
                TOwnerDrawState AState) {
    drawn.push_back({AControl, AIndex, ARect, AState});
    if (!ACanvas || !paint) return;
    ACanvas->Brush()->SetColor(ItemColour);
    ACanvas->Canvas->FillRect(ARect);
  }
  static constexpr TColor ItemColour = 0x008000;

  std::unique_ptr<TForm> form;
  TEdit* other = nullptr;
  TcxComboBox* combo = nullptr;
  int changes = 0, valueChanges = 0, clicks = 0, inits = 0;
  std::vector<Integer> reasons;
  int posts = 0;
  bool paint = false;
  std::vector<Drawn> drawn;
};

TEST_F(ComboBox, AFixedListIsReadAndWrittenThroughItemIndexAndPickedByKeys) {
  Props()->SetDropDownListStyle(lsFixedList);
  SetItems({"Off", "Low", "Middle", "High"});
  EXPECT_EQ(Props()->EditingStyle(), esListPick);
  EXPECT_TRUE(Props()->ClickOpensPopup());

  // By code: the item's text becomes the value; the same index again is quiet.
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->GetText(), "Middle");
  EXPECT_EQ(VarToStr(combo->EditValue()), "Middle");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(valueChanges, 1);
  ResetCounts();
  combo->SetItemIndex(2);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(valueChanges, 0);
  combo->SetItemIndex(-1);
  EXPECT_EQ(combo->GetText(), "");
  EXPECT_EQ(combo->ItemIndex(), -1);

  // By keys with the list closed: arrows, Home and End step through the items.
  Focus(combo);
  combo->SetItemIndex(1);
  ResetCounts();
  struct Step {
    Word key;
    bool ctrl;
    Integer index;
  };
  const Step steps[] = {{win::VK_DOWN, false, 2}, {win::VK_DOWN, false, 3}, {win::VK_DOWN, false, 3},
                        {win::VK_HOME, false, 0}, {win::VK_UP, false, 0},   {win::VK_END, false, 3},
                        {win::VK_PRIOR, true, 0}, {win::VK_NEXT, false, 3}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.key);
    Press(s.key, false, s.ctrl);
    EXPECT_FALSE(combo->IsPopupShown());
    EXPECT_EQ(combo->ItemIndex(), s.index);
    EXPECT_EQ(combo->GetText(), Props()->Items()->Strings(s.index));
  }
  EXPECT_GT(clicks, 0);
  EXPECT_EQ(valueChanges, clicks);

  // A typed character picks the first item it starts; one that starts none
  // leaves the pick alone.
  Props()->SetImmediateDropDown(false);
  Type("m");
  EXPECT_EQ(combo->GetText(), "Middle");
  Type("z");
  EXPECT_EQ(combo->GetText(), "Middle");
  EXPECT_EQ(combo->ItemIndex(), 2);
}

TEST_F(ComboBox, TheOpenListMovesItsHighlightAndTheCloseReasonDecidesTheValue) {
  Props()->SetDropDownListStyle(lsFixedList);
  SetItems({"Off", "Low", "Middle", "High"});
  struct Case {
    const char* name;
    Word closeKey;
    bool alt;
    Integer reason;
    const char* text;
  };
  const Case cases[] = {
      {"Enter takes it", win::VK_RETURN, false, PopupCloseReasonAccept, "High"},
      {"F4 takes it", win::VK_F4, false, PopupCloseReasonToggle, "High"},
      {"Alt+Up takes it", win::VK_UP, true, PopupCloseReasonToggle, "High"},
      {"Escape keeps the old item", win::VK_ESCAPE, false, PopupCloseReasonCancel, "Low"},
  };
  Focus(combo);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    combo->SetItemIndex(1);
    ResetCounts();
    Press(win::VK_F4);
    ASSERT_TRUE(combo->IsPopupShown());
    EXPECT_EQ(List()->ItemIndex(), 1);
    Press(win::VK_DOWN);
    Press(win::VK_DOWN);
    // The open list only moves its highlight: the value waits for the close.
    EXPECT_EQ(List()->ItemIndex(), 3);
    EXPECT_EQ(combo->GetText(), "Low");
    EXPECT_EQ(valueChanges, 0);
    Press(c.closeKey, c.alt);
    EXPECT_FALSE(combo->IsPopupShown());
    ASSERT_EQ(reasons.size(), 1u);
    EXPECT_EQ(reasons[0], c.reason);
    EXPECT_EQ(combo->GetText(), c.text);
    const bool taken = std::string(c.text) == "High";
    EXPECT_EQ(valueChanges, taken ? 1 : 0);
    EXPECT_EQ(changes, taken ? 1 : 0);
  }
}

TEST_F(ComboBox, AnEditListCompletesTypedTextFromTheItems) {
  SetItems({"67.0", "69.3", "71.9", "74.4", "77.0"});
  EXPECT_EQ(Props()->DropDownListStyle(), lsEditList);
  EXPECT_EQ(Props()->EditingStyle(), esFreeText);
  Props()->SetImmediateDropDown(false);
  Focus(combo);
  combo->SetText("");
  Type("7");
  // The first item that starts so, its tail selected for the next key.
  EXPECT_EQ(combo->GetText(), "71.9");
  EXPECT_EQ(combo->SelStart(), 1);
  EXPECT_EQ(combo->SelLength(), 3);
  EXPECT_EQ(combo->ItemIndex(), 2);
  Type("4");
  EXPECT_EQ(combo->GetText(), "74.4");
  EXPECT_EQ(combo->ItemIndex(), 3);
  // Text that is no item is free text here.
  Type("9");
  EXPECT_EQ(combo->GetText(), "749");
  Focus(other);
  EXPECT_EQ(VarToStr(combo->EditValue()), "749");

  // Without incremental search nothing is completed.
  Props()->SetIncrementalSearch(false);
  Focus(combo);
  combo->SetText("");
  Type("6");
  EXPECT_EQ(combo->GetText(), "6");
}

TEST_F(ComboBox, AnEditFixedListRefusesTextThatIsNoItem) {
  Props()->SetDropDownListStyle(lsEditFixedList);
  SetItems({"Alpha", "Beta"});
  EXPECT_EQ(Props()->EditingStyle(), esListText);
  Variant item(std::string("beta"));
  EXPECT_TRUE(Props()->IsDisplayValueValid(item, true));
  Variant stranger(std::string("Gamma"));
  EXPECT_FALSE(Props()->IsDisplayValueValid(stranger, true));
  Props()->SetImmediateDropDown(false);
  Focus(combo);
  Type("b");
  EXPECT_EQ(combo->GetText(), "Beta");
  // A character that would leave the items goes nowhere.
  Type("x");
  EXPECT_EQ(combo->GetText(), "Beta");

  // Nor does a paste of a text that is no item.
  Clipboard()->SetAsText("Gamma");
  Press('V', false, true);
  EXPECT_EQ(combo->GetText(), "Beta");
}

TEST_F(ComboBox, TheListIsAsHighAsItsRowsAndAsWideAsItsWidestItem) {
  const Integer vbar = win::GetSystemMetrics(win::SM_CXVSCROLL);
  struct Case {
    const char* name;
    Integer items;
    Integer itemHeight;
    Integer fontSize;
    Integer rows;
  };
  const Case cases[] = {
      {"3 items", 3, 16, 0, 3},
      {"20 items: 8 rows and a scroll bar", 20, 16, 0, 8},
      {"height from a larger font", 3, 0, 20, 3},
  };
  Focus(combo);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Props()->Items()->Clear();
    for (Integer i = 0; i < c.items; ++i) Props()->Items()->Add(i == 1 ? "the widest item of all" : IntToStr(i));
    Props()->SetItemHeight(c.itemHeight);
    if (c.fontSize) combo->Style()->Font()->SetSize(c.fontSize);
    Press(win::VK_F4);
    ASSERT_TRUE(combo->IsPopupShown());
    TcxComboBoxListBox* list = List();
    Integer rowHeight = c.itemHeight;
    if (!c.itemHeight) {
      TBitmap probe;
      probe.Canvas()->Font()->Assign(list->Font());
      rowHeight = probe.Canvas()->TextHeight("Wg");
      EXPECT_GT(rowHeight, 20);
    }
    const TSize size = combo->ComboLookupData()->CalculateListSize(1000, 1000);
    EXPECT_EQ(size.cy, c.rows * rowHeight);
    const Integer widest = list->ItemWidthOf(1) + 4;
    EXPECT_EQ(size.cx, c.items > 8 ? widest + vbar : widest);
    EXPECT_EQ(list->Height(), size.cy);
    // Never narrower than the edit.
    EXPECT_GE(Popup()->Width(), combo->PopupOwnerBounds().Width());
    // Too narrow a room adds the horizontal bar.
    EXPECT_EQ(combo->ComboLookupData()->CalculateListSize(1000, 10).cy,
              size.cy + win::GetSystemMetrics(win::SM_CYHSCROLL));
    Press(win::VK_ESCAPE);
    if (c.fontSize) combo->Style()->Font()->SetSize(8);
  }
}

TEST_F(ComboBox, AnEmptyListNeverOpensButStillAsksForItsItems) {
  Focus(combo);
  Press(win::VK_F4);
  EXPECT_FALSE(combo->IsPopupShown());
  EXPECT_EQ(inits, 1);
  // The handler may fill the list in time.
  Props()->OnInitPopup = TNotifyEvent(this, &ComboBox::FillOnInit);
  Press(win::VK_F4);
  EXPECT_TRUE(combo->IsPopupShown());
}

TEST_F(ComboBox, AFixedListOpensByAClickOnItsTextAndAClickOnAnItemPicksIt) {
  Props()->SetDropDownListStyle(lsFixedList);
  SetItems({"Off", "Low", "Middle", "High"});
  combo->SetItemIndex(0);
  Focus(combo);
  ResetCounts();
  Click(Screen(combo, 20, 10));
  ASSERT_TRUE(combo->IsPopupShown());
  const TRect item = List()->ItemRect(2);
  Click(Screen(List(), item.Left + 5, item.Top + item.Height() / 2));
  EXPECT_FALSE(combo->IsPopupShown());
  ASSERT_EQ(reasons.size(), 1u);
  EXPECT_EQ(reasons[0], PopupCloseReasonAccept);
  EXPECT_EQ(combo->GetText(), "Middle");
  EXPECT_EQ(valueChanges, 1);

  // A click on the text of the open list closes it and does not reopen it.
  reasons.clear();
  Click(Screen(combo, 20, 10));
  ASSERT_TRUE(combo->IsPopupShown());
  Click(Screen(combo, 20, 10));
  EXPECT_FALSE(combo->IsPopupShown());
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonUnknown});
  EXPECT_EQ(combo->GetText(), "Middle");

  // An edit list opens by its button only.
  Props()->SetDropDownListStyle(lsEditList);
  Click(Screen(combo, 20, 10));
  EXPECT_FALSE(combo->IsPopupShown());
}

TEST_F(ComboBox, APressOnTheEditDraggedIntoTheListSelectsThere) {
  Props()->SetDropDownListStyle(lsFixedList);
  SetItems({"Off", "Low", "Middle", "High"});
  combo->SetItemIndex(0);
  Focus(combo);
  ResetCounts();
  const win::POINT start = Screen(combo, 20, 10);
  win::InjectMouseMove(start);
  win::InjectMouseButton(win::VK_LBUTTON, true, start);
  Application->ProcessMessages();
  ASSERT_TRUE(combo->IsPopupShown());
  const TRect item = List()->ItemRect(3);
  const win::POINT over = Screen(List(), item.Left + 5, item.Top + item.Height() / 2);
  win::InjectMouseMove(over);
  Application->ProcessMessages();
  win::InjectMouseButton(win::VK_LBUTTON, false, over);
  Application->ProcessMessages();
  EXPECT_FALSE(combo->IsPopupShown());
  EXPECT_EQ(reasons, std::vector<Integer>{PopupCloseReasonAccept});
  EXPECT_EQ(combo->GetText(), "High");
}

TEST_F(ComboBox, AListOpeningUnderARestingPointerDoesNotSelectTheItemThere) {
  for (Integer i = 0; i < 10; ++i) Props()->Items()->Add(IntToStr(i));
  combo->SetItemIndex(0);
  Focus(combo);
  Press(win::VK_F4);
  ASSERT_TRUE(combo->IsPopupShown());
  const TRect item = List()->ItemRect(4);
  const win::POINT over = Screen(List(), item.Left + 5, item.Top + 2);
  Press(win::VK_ESCAPE);
  win::InjectMouseMove(over);
  Application->ProcessMessages();
  Press(win::VK_F4);
  ASSERT_TRUE(combo->IsPopupShown());
  EXPECT_TRUE(combo->ListSelectionByCode());
  // The first move over the list is the pointer settling: nothing selected.
  win::InjectMouseMove({over.x, over.y + 1});
  Application->ProcessMessages();
  EXPECT_EQ(List()->ItemIndex(), 0);
  win::InjectMouseMove({over.x, over.y + 2});
  Application->ProcessMessages();
  EXPECT_EQ(List()->ItemIndex(), 4);
  Press(win::VK_ESCAPE);
  EXPECT_EQ(combo->ItemIndex(), 0);
}

TEST_F(ComboBox, ARevertableListStepsToTheNextItemOnADoubleClick) {
  SetItems({"One", "Two", "Three"});
  combo->SetItemIndex(2);
  Focus(combo);
  struct Case {
    bool revertable;
    Integer index;
  };
  // Wraps from the last item to the first; without Revertable nothing moves.
  const Case cases[] = {{false, 2}, {true, 0}, {true, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    Props()->SetRevertable(c.revertable);
    ResetCounts();
    win::InjectDoubleClick(Screen(combo, 20, 10));
    Application->ProcessMessages();
    EXPECT_FALSE(combo->IsPopupShown());
    EXPECT_EQ(combo->ItemIndex(), c.index);
    EXPECT_EQ(valueChanges, c.revertable ? 1 : 0);
  }
}

TEST_F(ComboBox, InPlaceARevertableStepPostsAtOnceWithImmediatePost) {
  auto* cell = new TcxComboBox(form.get(), true);
  cell->SetParent(form.get());
  cell->SetBounds(10, 60, 150, 21);
  for (const char* s : {"One", "Two", "Three"}) cell->ComboProperties()->Items()->Add(s);
  cell->ComboProperties()->SetRevertable(true);
  cell->OnPostEditValue = TNotifyEvent(this, &ComboBox::Posted);
  std::unique_ptr<TcxCustomEditData> data;
  cell->ActivateEditing(data);
  cell->SetItemIndex(2);
  Focus(cell);
  for (bool immediate : {false, true}) {
    SCOPED_TRACE(immediate);
    cell->ComboProperties()->SetImmediatePost(immediate);
    posts = 0;
    const Integer before = cell->ItemIndex();
    win::InjectDoubleClick(Screen(cell, 20, 10));
    Application->ProcessMessages();
    EXPECT_EQ(cell->ItemIndex(), (before + 1) % 3);
    EXPECT_EQ(posts, immediate ? 1 : 0);
  }
}

TEST_F(ComboBox, ASizedListSnapsToWholeItems) {
  for (Integer i = 0; i < 20; ++i) Props()->Items()->Add(IntToStr(i));
  Props()->SetItemHeight(16);
  Props()->SetDropDownSizeable(true);
  Focus(combo);
  Press(win::VK_F4);
  ASSERT_TRUE(combo->IsPopupShown());
  EXPECT_TRUE(Popup()->PopupViewInfo()->SysPanelStyle);
  TcxComboBoxListBox* list = List();
  ASSERT_EQ(list->Height(), 128);
  const Integer vbar = win::GetSystemMetrics(win::SM_CXVSCROLL);
  const Integer hbar = win::GetSystemMetrics(win::SM_CYHSCROLL);
  const Integer w = list->Width();
  struct Case {
    const char* name;
    TSize proposed;
    Integer max;
    TSize expected;
  };
  const Case cases[] = {
      {"the current size stays", {w, 128}, 0, {w, 128}},
      {"growing stops at the last whole item", {w, 150}, 0, {w, 144}},
      {"a whole item boundary is kept", {w, 96}, 0, {w, 96}},
      {"shrinking keeps the item under the pointer", {w, 100}, 0, {w, 112}},
      {"the room caps the height", {w, 150}, 120, {w, 112}},
      {"every item shown: no bar", {w, 1000}, 0, {w, 320}},
      {"too narrow: both bars and room for them", {5, 150}, 0, {2 * vbar, 128 + hbar}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSize size = c.proposed;
    EXPECT_TRUE(combo->ComboLookupData()->AdjustListSize(size, c.max));
    EXPECT_EQ(size.cx, c.expected.cx);
    EXPECT_EQ(size.cy, c.expected.cy);
  }
}

TEST_F(ComboBox, DraggingTheGripSnapsTheListToWholeItems) {
  for (Integer i = 0; i < 20; ++i) Props()->Items()->Add(IntToStr(i));
  Props()->SetItemHeight(16);
  Props()->SetDropDownSizeable(true);
  Focus(combo);
  Press(win::VK_F4);
  ASSERT_TRUE(combo->IsPopupShown());
  const TRect grip = Popup()->PopupViewInfo()->SizeGripSizingRect;
  ASSERT_FALSE(grip.Width() <= 0);
  const win::POINT from = Screen(Popup(), (grip.Left + grip.Right) / 2, (grip.Top + grip.Bottom) / 2);
  const Integer listWidth = List()->Width();
  struct Step {
    Integer dy;
    Integer height;
  };
  // Down by 37 pixels shows two more whole items; up by 20 from there shrinks
  // once the pointer passed an item boundary.
  const Step steps[] = {{37, 160}, {-20, 144}};
  win::POINT at = from;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.dy);
    const win::POINT to{at.x, at.y + s.dy};
    win::InjectDrag(at, to);
    Application->ProcessMessages();
    EXPECT_EQ(List()->Height(), s.height);
    EXPECT_EQ(List()->Height() % 16, 0);
    EXPECT_GE(List()->Width(), listWidth);
    at = to;
  }
  Press(win::VK_ESCAPE);
  // The user's size is kept in the settings for the next opening.
  EXPECT_TRUE(combo->UserSized());
  EXPECT_EQ(Props()->PopupHeight(), Popup()->Height());
  combo->ResetPopupHeight();
  EXPECT_EQ(Props()->PopupHeight(), 0);
}

TEST_F(ComboBox, AFixedListsTextIsDrawnByTheDrawHandler) {
  Props()->SetDropDownListStyle(lsFixedList);
  SetItems({"Off", "Low", "Middle"});
  Props()->OnDrawItem = TcxEditDrawItemEvent(this, &ComboBox::DrawItem);
  combo->SetItemIndex(1);
  struct Case {
    bool focused;
    TOwnerDrawState state;
  };
  const Case cases[] = {{false, {odComboBoxEdit}}, {true, {odComboBoxEdit, odSelected, odFocused}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focused);
    Focus(c.focused ? static_cast<TWinControl*>(combo) : other);
    drawn.clear();
    combo->Repaint();
    Application->ProcessMessages();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().control, combo);
    EXPECT_EQ(drawn.back().index, 1);
    EXPECT_TRUE(drawn.back().state == c.state);
    EXPECT_TRUE(cxRectPtIn(combo->EditViewInfo()->ClientRect, drawn.back().rect.TopLeft()));
  }
  // The list's items go through the handler too, without the edit's state.
  drawn.clear();
  Press(win::VK_F4);
  ASSERT_TRUE(combo->IsPopupShown());
  List()->Repaint();
  Application->ProcessMessages();
  bool highlightedItem = false;
  for (const Drawn& d : drawn)
    highlightedItem |= !d.state.Contains(odComboBoxEdit) && d.index == 1 && d.state.Contains(odSelected);
  EXPECT_TRUE(highlightedItem);
  // An edit list keeps its own text drawing.
  Press(win::VK_ESCAPE);
  Props()->SetDropDownListStyle(lsEditList);
  drawn.clear();
  combo->Repaint();
  Application->ProcessMessages();
  for (const Drawn& d : drawn) EXPECT_FALSE(d.state.Contains(odComboBoxEdit));
}

TEST_F(ComboBox, TheDrawHandlerPaintsTheTextAreaAndTheListInBothModes) {
  Props()->SetDropDownListStyle(lsFixedList);
  SetItems({"Off", "Low", "Middle"});
  Props()->OnDrawItem = TcxEditDrawItemEvent(this, &ComboBox::DrawItem);
  paint = true;
  combo->SetItemIndex(1);
  Focus(combo);
  auto pixel = [](TWinControl* c, Integer x, Integer y) {
    win::HDC dc = win::GetDC(c->Handle());
    const win::COLORREF at = win::GetPixel(dc, x, y);
    win::ReleaseDC(c->Handle(), dc);
    return static_cast<TColor>(at);
  };
  for (bool themes : {true, false})
    for (bool native : {true, false}) {
      SCOPED_TRACE(std::string(themes ? "our renderer" : "no styles") + (native ? ", native" : ""));
      VisualStylesScope mode(themes);
      combo->Style()->LookAndFeel()->SetNativeStyle(native);
      Application->ProcessMessages();
      combo->Repaint();
      const TRect text = static_cast<TcxCustomTextEditViewInfo*>(combo->EditViewInfo())->TextRect;
      EXPECT_EQ(pixel(combo, (text.Left + text.Right) / 2, (text.Top + text.Bottom) / 2), ItemColour);
      Press(win::VK_F4);
      ASSERT_TRUE(combo->IsPopupShown());
      List()->Repaint();
      const TRect item = List()->ItemRect(2);
      EXPECT_EQ(pixel(List(), item.Left + 3, (item.Top + item.Bottom) / 2), ItemColour);
      Press(win::VK_ESCAPE);
    }
  // Without the handler the text is the item's again.
  Props()->OnDrawItem = nullptr;
  combo->Repaint();
  const TRect text = static_cast<TcxCustomTextEditViewInfo*>(combo->EditViewInfo())->TextRect;
  EXPECT_NE(pixel(combo, (text.Left + text.Right) / 2, (text.Top + text.Bottom) / 2), ItemColour);
}

TEST_F(ComboBox, LookupNavigationByKeysAndWheelFollowsThePopupAndThePlace) {
  for (Integer i = 0; i < 20; ++i) Props()->Items()->Add(IntToStr(i));
  combo->SetItemIndex(5);
  Focus(combo);
  const win::POINT at = Screen(combo, 20, 10);
  win::InjectMouseMove(at);
  // Closed: the wheel steps the item.
  win::InjectMouseWheel(-120, at);
  Application->ProcessMessages();
  EXPECT_EQ(combo->ItemIndex(), 6);
  win::InjectMouseWheel(120, at);
  Application->ProcessMessages();
  EXPECT_EQ(combo->ItemIndex(), 5);
  // Open: the wheel scrolls the list and leaves the item; keys move the
  // list's highlight only.
  Press(win::VK_F4);
  ASSERT_TRUE(combo->IsPopupShown());
  const Integer top = List()->TopIndex();
  win::InjectMouseWheel(-120, at);
  Application->ProcessMessages();
  EXPECT_GT(List()->TopIndex(), top);
  EXPECT_EQ(combo->ItemIndex(), 5);
  Press(win::VK_NEXT);
  EXPECT_EQ(List()->ItemIndex(), 12);
  EXPECT_EQ(combo->ItemIndex(), 5);
  Press(win::VK_ESCAPE);
  EXPECT_EQ(combo->ItemIndex(), 5);

  // In place and closed, keys stay with the host; the wheel still steps.
  auto* inplace = new TcxComboBox(form.get(), true);
  inplace->ComboProperties()->Items()->Assign(Props()->Items());
  EXPECT_FALSE(inplace->CanNavigateLookup(false));
  EXPECT_TRUE(inplace->CanNavigateLookup(true));
  EXPECT_FALSE(inplace->IsEditingKey(win::VK_DOWN, {}));
  EXPECT_TRUE(combo->IsEditingKey(win::VK_DOWN, {}));
}

TEST_F(ComboBox, SettingsCopyingAndRegistration) {
  TcxComboBoxProperties source(nullptr);
  source.SetDropDownListStyle(lsFixedList);
  source.SetDropDownRows(12);
  source.SetDropDownRows(0);  // ignored
  source.SetItemHeight(18);
  source.SetRevertable(true);
  source.SetDropDownSizeable(true);
  source.SetDropDownWidth(200);
  source.Items()->Add("A");
  source.OnDrawItem = TcxEditDrawItemEvent(this, &ComboBox::DrawItem);
  TcxComboBoxProperties copy(nullptr);
  copy.Assign(&source);
  EXPECT_EQ(copy.DropDownListStyle(), lsFixedList);
  EXPECT_EQ(copy.DropDownRows(), 12);
  EXPECT_EQ(copy.DropDownRowCount(), 12);
  EXPECT_EQ(copy.ItemHeight(), 18);
  EXPECT_TRUE(copy.Revertable());
  EXPECT_TRUE(copy.DropDownSizeable());
  EXPECT_EQ(copy.DropDownWidth(), 200);
  EXPECT_EQ(copy.Items()->Count(), 1);
  EXPECT_TRUE(static_cast<bool>(copy.OnDrawItem));

  TcxRegisteredClasses* kinds = GetRegisteredEditProperties();
  const Integer index = kinds->IndexOfClass(TcxComboBoxProperties::StaticClass());
  ASSERT_GE(index, 0);
  EXPECT_EQ(kinds->Descriptions(index), "ComboBox|Represents the combo box editor");
  TcxEditRepository repository(nullptr);
  TcxEditRepositoryItem* item = repository.NewRepositoryItem(TcxEditRepositoryComboBoxItem::StaticClass());
  EXPECT_NE(dynamic_cast<TcxComboBoxProperties*>(item->Properties()), nullptr);
  EXPECT_NE(FindClass("TcxComboBox"), nullptr);
  // A fresh combo writes none of its published defaults to the form, and
  // offers the handlers the radio's windows bind.
  for (const char* name : {"AutoSize", "BeepOnEnter", "ParentColor", "TabStop", "DragCursor"}) {
    const TPropInfo* prop = GetPropInfo(combo, name);
    ASSERT_NE(prop, nullptr) << name;
    EXPECT_TRUE(IsDefaultPropValue(combo, *prop)) << name;
  }
  for (const char* name : {"OnClick", "OnDblClick", "OnEditing", "OnEndDock", "OnEnter", "OnExit", "OnKeyPress",
                           "OnMouseEnter", "OnMouseLeave", "OnStartDock"})
    EXPECT_NE(GetPropInfo(combo, name), nullptr) << name;

  // A linked item's draw handler runs after the combo's own.
  auto* linked = dynamic_cast<TcxComboBoxProperties*>(item->Properties());
  linked->OnDrawItem = TcxEditDrawItemEvent(this, &ComboBox::DrawItem);
  combo->SetRepositoryItem(item);
  EXPECT_TRUE(combo->HasCustomDrawItem());
  drawn.clear();
  combo->FireDrawItem(nullptr, 0, TRect{}, {});
  EXPECT_EQ(drawn.size(), 1u);
  Props()->OnDrawItem = TcxEditDrawItemEvent(this, &ComboBox::DrawItem);
  drawn.clear();
  combo->FireDrawItem(nullptr, 0, TRect{}, {});
  EXPECT_EQ(drawn.size(), 2u);
  combo->SetRepositoryItem(nullptr);
}

}  // namespace
