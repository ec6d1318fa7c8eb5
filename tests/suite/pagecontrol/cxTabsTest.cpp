// Tabs, the tab list and the visible tab list on a fake control (no
// drawing): list operations and their errors, visibility, the property
// writes and what they report, orientation.
#include "suite/pagecontrol/cxTabs.h"

#include <gtest/gtest.h>

#include "platform/forms/ImgList.h"
#include "platform/rtl/SysUtils.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"

namespace {

class TabsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control = std::make_unique<FakeTabControl>();
    control->ShowWindow(300, 150);
  }
  TcxTabs* tabs() { return control->Tabs(); }
  std::vector<std::pair<Integer, TabChangeKind>>& reported() { return FakeSettings().invalidatedTabs; }
  // Every layout repaints the images of the shown tabs (content); the rest.
  std::vector<std::pair<Integer, TabChangeKind>> reportedBesidesImages() {
    std::vector<std::pair<Integer, TabChangeKind>> rest;
    for (const auto& r : reported())
      if (r.second != tckContent) rest.push_back(r);
    return rest;
  }

  FactoryScope factory{{&PlainFakeClass()}};
  std::unique_ptr<FakeTabControl> control;
};

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message;
  }
  return "(no error)";
}

}  // namespace

TEST_F(TabsTest, FirstTabSelectedQuietlyAndInsertsNeverShiftTabIndex) {
  tabs()->Add("one");
  EXPECT_EQ(control->TabIndex(), 0);
  EXPECT_EQ(control->StoredTabIndex(), 0);
  tabs()->Add("two");
  tabs()->Add("three");
  control->SetTabIndex(1);
  EXPECT_EQ(tabs()->GetTab(1)->IsMainTab(), true);
  // A tab inserted before the selected one: the number stays, so the tab
  // now at that number is the main tab.
  tabs()->Insert(0, "zero");
  EXPECT_EQ(control->StoredTabIndex(), 1);
  EXPECT_EQ(tabs()->GetTab(1)->Caption(), "one");
  EXPECT_TRUE(tabs()->GetTab(1)->IsMainTab());
  for (Integer i = 0; i < tabs()->Count(); ++i) EXPECT_EQ(tabs()->GetTab(i)->Index(), i);
  // Deleting before it does not shift it either.
  tabs()->Delete(0);
  EXPECT_EQ(control->TabIndex(), 1);
  EXPECT_EQ(tabs()->Strings(1), "two");

  // While loading the first tab is not selected.
  FakeTabControl loading;
  loading.SetLoading(true);
  loading.Tabs()->Add("a");
  EXPECT_EQ(loading.StoredTabIndex(), -1);
}

TEST_F(TabsTest, IndexErrorsNameTheMethod) {
  control->AddTabs({"a", "b"});
  struct Case {
    std::function<void()> call;
    std::string message;
  };
  const Case cases[] = {
      {[&] { tabs()->Insert(3, "x"); }, "TcxTabs.Insert: Tab's index (3) out of bounds"},
      {[&] { tabs()->Insert(-1, "x"); }, "TcxTabs.Insert: Tab's index (-1) out of bounds"},
      {[&] { tabs()->Delete(2); }, "TcxTabs.Delete: Tab's index (2) out of bounds"},
      {[&] { tabs()->Get(2); }, "TcxTabs.Get: Tab's index (2) out of bounds"},
      {[&] { tabs()->GetTab(-1); }, "TcxTabs.GetTab: Tab's index (-1) out of bounds"},
      {[&] { tabs()->Objects(5); }, "TcxTabs.GetTab: Tab's index (5) out of bounds"},
      // Mended: a move checks both ends.
      {[&] { tabs()->Move(0, 2); }, "TcxTabs.Move: Tab's index (2) out of bounds"},
      {[&] { tabs()->Move(-1, 0); }, "TcxTabs.Move: Tab's index (-1) out of bounds"},
      {[&] { tabs()->GetVisibleTab(2); }, "TcxTabs.GetVisibleTab: TabVisibleIndex (2) must be between 0 and 1"},
      {[&] { control->VisibleTabList()->GetTab(-1); },
       "TcxVisibleTabList.GetTab: TabVisibleIndex (-1) must be between 0 and 1"},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageOf(c.call), c.message);
  EXPECT_EQ(tabs()->Count(), 2);
  EXPECT_EQ(tabs()->Strings(0), "a");

  tabs()->GetTab(0)->SetVisible(false);
  tabs()->GetTab(1)->SetVisible(false);
  EXPECT_EQ(MessageOf([&] { control->VisibleTabList()->GetTab(0); }),
            "TcxVisibleTabList.GetTab: There are no visible tabs");
  EXPECT_EQ(MessageOf([&] { tabs()->GetVisibleTab(0); }),
            "TcxTabs.GetVisibleTab: TabVisibleIndex (0) must be between 0 and -1");
}

TEST_F(TabsTest, MoveClearAndFreeingATabDirectly) {
  control->AddTabs({"a", "b", "c", "d"});
  TObject data;
  tabs()->SetObjects(3, &data);
  tabs()->Move(3, 1);
  EXPECT_EQ(tabs()->Text(), "a\r\nd\r\nb\r\nc\r\n");
  EXPECT_EQ(tabs()->Objects(1), &data);
  for (Integer i = 0; i < 4; ++i) EXPECT_EQ(tabs()->GetTab(i)->Index(), i);
  tabs()->Move(2, 2);
  EXPECT_EQ(tabs()->Text(), "a\r\nd\r\nb\r\nc\r\n");

  // A tab freed directly takes its line along, and the rest renumber.
  tabs()->GetTab(1)->Free();
  EXPECT_EQ(tabs()->Text(), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(tabs()->GetTab(2)->Index(), 2);
  EXPECT_EQ(control->VisibleTabList()->Count(), 3);

  tabs()->Clear();
  EXPECT_EQ(tabs()->Count(), 0);
  EXPECT_EQ(control->VisibleTabList()->Count(), 0);
  EXPECT_EQ(control->RowCount(), 0);
}

TEST_F(TabsTest, VisibleListFindsEveryPlace) {
  control->AddTabs({"0", "1", "2", "3", "4", "5", "6"});
  for (Integer i : {1, 3, 4}) tabs()->GetTab(i)->SetVisible(false);
  // Visible tab indexes: 0, 2, 5, 6.
  TcxVisibleTabList* list = control->VisibleTabList();
  struct Case {
    Integer tabIndex;
    bool found;
    Integer position;
  };
  const Case cases[] = {{0, true, 0}, {2, true, 1}, {5, true, 2}, {6, true, 3},
                        {1, false, 1}, {3, false, 2}, {4, false, 2}, {7, false, 4}, {-1, false, 0}};
  for (const auto& c : cases) {
    Integer position = -9;
    EXPECT_EQ(list->FindTabIndex(c.tabIndex, position), c.found) << c.tabIndex;
    EXPECT_EQ(position, c.position) << c.tabIndex;
  }
  // Every visible tab knows its place (a tab in the middle of the list too).
  EXPECT_EQ(tabs()->GetTab(2)->VisibleIndex(), 1);
  EXPECT_EQ(tabs()->GetTab(5)->VisibleIndex(), 2);
  EXPECT_EQ(tabs()->GetTab(3)->VisibleIndex(), -1);
  EXPECT_EQ(tabs()->GetVisibleTab(2), tabs()->GetTab(5));

  tabs()->GetTab(3)->SetVisible(true);
  EXPECT_EQ(tabs()->GetTab(3)->VisibleIndex(), 2);
  EXPECT_EQ(tabs()->VisibleCount(), 5);
  Integer position;
  EXPECT_FALSE(TcxVisibleTabList(control.get()).FindTabIndex(0, position));
  EXPECT_EQ(position, 0);
}

TEST_F(TabsTest, HidingTheSelectedTab) {
  control->AddTabs({"a", "b", "c"});
  control->SetTabIndex(1);
  // A plain tab control keeps TabIndex; the main mark shows the next tab.
  tabs()->GetTab(1)->SetVisible(false);
  EXPECT_EQ(control->StoredTabIndex(), 1);
  EXPECT_EQ(control->MainVisibleIndex(), 1);
  EXPECT_EQ(control->TabIndex(), 2);

  // A control whose selection needs a visible tab moves TabIndex along.
  tabs()->GetTab(1)->SetVisible(true);
  control->needsVisibleTab = true;
  control->SetTabIndex(1);
  tabs()->GetTab(1)->SetVisible(false);
  EXPECT_EQ(control->StoredTabIndex(), 2);
  // Hiding the last tab: the main mark falls back on the last visible one.
  tabs()->GetTab(2)->SetVisible(false);
  EXPECT_EQ(control->StoredTabIndex(), 0);
}

TEST_F(TabsTest, PropertyWritesReportWhatChanged) {
  control->AddTabs({"abc", "de", "fgh"});
  TcxTab* tab = tabs()->GetTab(1);
  const Integer layouts = control->realigns;
  reported().clear();

  tab->SetEnabled(false);
  tab->SetHighlighted(true);
  tab->SetCaption("xy");  // same width: a repaint
  using Report = std::pair<Integer, TabChangeKind>;
  EXPECT_EQ(reported(), (std::vector<Report>{{1, tckEnabled}, {1, tckHighlight}, {1, tckContent}}));
  EXPECT_EQ(control->realigns, layouts);
  tab->SetEnabled(false);  // unchanged: nothing
  EXPECT_EQ(reported().size(), 3u);

  // A wider caption, an image index or a visibility change re-lay out.
  tab->SetCaption("wider");
  EXPECT_EQ(control->realigns, layouts + 1);
  EXPECT_EQ(tab->NormalWidth, 50);
  EXPECT_EQ(tabs()->GetTab(2)->Position.X, 80);
  tab->SetImageIndex(-5);
  EXPECT_EQ(tab->OwnImageIndex(), -1);
  EXPECT_EQ(control->realigns, layouts + 2);
  EXPECT_EQ(reportedBesidesImages().size(), 2u);

  // Before the window exists a caption is only stored.
  FakeTabControl hidden;
  hidden.Tabs()->Add("a");
  hidden.Tabs()->GetTab(0)->SetCaption("longer");
  EXPECT_EQ(hidden.Tabs()->GetTab(0)->NormalWidth, 0);
  EXPECT_EQ(hidden.realigns, 0);
}

TEST_F(TabsTest, SelectedFollowsTheStyle) {
  control->AddTabs({"a", "b", "c"});
  // Single select: only the main tab can be marked.
  tabs()->GetTab(1)->SetSelected(true);
  EXPECT_FALSE(tabs()->GetTab(1)->Selected());
  tabs()->GetTab(0)->SetSelected(true);
  EXPECT_TRUE(tabs()->GetTab(0)->Selected());

  const FakePainterClass multi(2, "Multi", {}, FakePainterClass::Never, true, true);
  RegisterPCPainterClass(&multi);
  control->SetStyle(2);
  ASSERT_EQ(control->PainterClass(), &multi);
  tabs()->GetTab(2)->SetSelected(true);
  EXPECT_TRUE(tabs()->GetTab(2)->Selected());
  EXPECT_TRUE(control->MultiSelect());
  control->SetStyle(1);
}

TEST_F(TabsTest, ImageIndexOfANewTabIsItsOwnIndex) {
  control->AddTabs({"a", "b", "c"});
  auto images = BlankImages(8, 2);
  control->SetImages(images.get());
  EXPECT_EQ(tabs()->GetTab(0)->ImageIndex(), 0);
  EXPECT_EQ(tabs()->GetTab(1)->ImageIndex(), 1);
  EXPECT_EQ(tabs()->GetTab(2)->ImageIndex(), -1);  // beyond the list
  EXPECT_FALSE(tabs()->GetTab(2)->HasOwnImageIndex());
  tabs()->GetTab(2)->SetImageIndex(0);
  EXPECT_TRUE(tabs()->GetTab(2)->HasOwnImageIndex());
  EXPECT_EQ(tabs()->GetTab(2)->ImageIndex(), 0);
  control->OnGetImageIndex = TcxGetTabImageEvent(+[](TObject*, Integer, Integer& index) { index = 1; });
  EXPECT_EQ(tabs()->GetTab(0)->ImageIndex(), 1);
  control->SetImages(nullptr);
}

TEST_F(TabsTest, OrientationAndSide) {
  control->AddTabs({"a"});
  struct Case {
    TcxTabPosition position;
    bool rotate;
    bool topToBottom;
    Integer side;
    Integer orientation;
  };
  const Case cases[] = {
      {tpTop, false, false, 0, 1},   {tpTop, true, false, 0, 2},    {tpTop, true, true, 0, 3},
      {tpBottom, false, false, 1, 10}, {tpBottom, true, false, 1, 11}, {tpBottom, true, true, 1, 12},
      {tpLeft, false, false, 2, 4},  {tpLeft, false, true, 2, 5},   {tpLeft, true, false, 2, 6},
      {tpRight, false, false, 3, 7}, {tpRight, false, true, 3, 8},  {tpRight, true, false, 3, 9},
  };
  for (const auto& c : cases) {
    control->SetTabPosition(c.position);
    control->SetRotate(c.rotate);
    control->SetOptions(c.topToBottom ? TcxPCOptions{pcoTopToBottomText} : TcxPCOptions{});
    TcxTab* tab = tabs()->GetTab(0);
    EXPECT_EQ(tab->Side(), c.side) << c.position << c.rotate << c.topToBottom;
    EXPECT_EQ(tab->Orientation(), c.orientation) << c.position << c.rotate << c.topToBottom;
  }
}

TEST_F(TabsTest, MarksAndTheirRepaints) {
  control->AddTabs({"a", "b", "c"});
  reported().clear();
  tabs()->SetHotTab(1);
  tabs()->SetHotTab(1);
  tabs()->SetHotTab(2);
  using Report = std::pair<Integer, TabChangeKind>;
  EXPECT_EQ(reported(), (std::vector<Report>{{1, tckHot}, {1, tckHot}, {2, tckHot}}));
  EXPECT_TRUE(tabs()->GetTab(2)->IsHot());
  EXPECT_FALSE(tabs()->GetTab(1)->IsHot());

  reported().clear();
  const Integer layouts = control->realigns;
  tabs()->SetFocusedTab(7);  // outside: no mark
  EXPECT_EQ(control->FocusMark(), -1);
  tabs()->SetFocusedTab(1);
  // Hot tracking is off: the hot tab goes when the layout refreshes it.
  EXPECT_EQ(reportedBesidesImages(), (std::vector<Report>{{1, tckFocusMark}, {2, tckHot}}));
  EXPECT_TRUE(tabs()->GetTab(1)->IsFocused());
  EXPECT_EQ(control->realigns, layouts + 1);  // scrolled into view and laid out

  reported().clear();
  control->StoreTabIndex(2);
  tabs()->SyncMainTab();
  EXPECT_EQ(reported(), (std::vector<Report>{{0, tckMainTab}, {2, tckMainTab}}));

  // Freeing the focused tab clears the focus mark.
  tabs()->Delete(1);
  EXPECT_EQ(control->FocusMark(), -1);
}

TEST_F(TabsTest, CopyingATab) {
  control->AddTabs({"a", "b"});
  TcxTab* source = tabs()->GetTab(0);
  TObject data;
  source->SetCaption("copied");
  source->SetHighlighted(true);
  source->SetEnabled(false);
  source->SetImageIndex(-1);
  tabs()->SetObjects(0, &data);
  TcxTab* target = tabs()->GetTab(1);
  target->Assign(source);
  EXPECT_EQ(target->Caption(), "copied");
  EXPECT_TRUE(target->Highlighted());
  EXPECT_FALSE(target->Enabled());
  EXPECT_EQ(target->OwnImageIndex(), -1);
  EXPECT_EQ(target->Data(), &data);
  TcxTabSlants other(nullptr);
  EXPECT_THROW(other.Assign(source), EConvertError);
}
