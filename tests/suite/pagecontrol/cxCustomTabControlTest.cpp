// The layout of the tab strip on a fake control and painter: placement for
// each side, the row bands, navigator buttons and the scrolled window,
// rotated rows, multi-line rows; the style chosen by ID and by
// look-and-feel, and the rotation check; the selection and its events; on
// a window: held arrows on the fake clock, pressing tabs, hot tracking, the
// wheel and the go-to menu.
#include "suite/pagecontrol/cxCustomTabControl.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/CustomForms.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiSurface.h"
#include "platform/win/Input.h"
#include "suite/foundation/cxTimer.h"
#include "tests/suite/foundation/FakeThemeLibrary.h"
#include "tests/suite/pagecontrol/PageControlFixture.h"

namespace {

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { control = std::make_unique<FakeTabControl>(); }
  TcxTab* tab(Integer i) { return control->Tabs()->GetTab(i); }

  FactoryScope factory{{&PlainFakeClass()}};
  std::unique_ptr<FakeTabControl> control;
};

}  // namespace

TEST_F(LayoutTest, ATabStripOnEachSide) {
  struct Case {
    TcxTabPosition position;
    TRect first, second, third;  // display rects of the three tabs
    TRect leading, trailing;
  };
  // Three 40-pixel tabs, 20 high, on a 200 x 150 control; tabs left and
  // right run from the bottom up.
  const Case cases[] = {
      {tpTop, {0, 0, 40, 20}, {40, 0, 80, 20}, {80, 0, 120, 20}, {0, 0, 200, 20}, {0, 150, 200, 150}},
      {tpBottom, {0, 130, 40, 150}, {40, 130, 80, 150}, {80, 130, 120, 150}, {0, 0, 200, 0}, {0, 130, 200, 150}},
      {tpLeft, {0, 110, 20, 150}, {0, 70, 20, 110}, {0, 30, 20, 70}, {0, 0, 20, 150}, {200, 0, 200, 150}},
      {tpRight, {180, 110, 200, 150}, {180, 70, 200, 110}, {180, 30, 200, 70}, {0, 0, 0, 150}, {180, 0, 200, 150}},
  };
  control->AddTabs({"abcd", "efgh", "ijkl"});
  control->ShowWindow(200, 150);
  for (const auto& c : cases) {
    control->SetTabPosition(c.position);
    EXPECT_EQ(tab(0)->DisplayRect(), c.first) << c.position;
    EXPECT_EQ(tab(1)->DisplayRect(), c.second) << c.position;
    EXPECT_EQ(tab(2)->DisplayRect(), c.third) << c.position;
    EXPECT_EQ(control->LeadingRowsRect(), c.leading) << c.position;
    EXPECT_EQ(control->TrailingRowsRect(), c.trailing) << c.position;
    EXPECT_EQ(control->RowCount(), 1);
    EXPECT_EQ(control->LeadingRowCount(), c.position == tpTop || c.position == tpLeft ? 1 : 0);
    EXPECT_TRUE(control->ShownNavigatorButtons().Empty());
    EXPECT_TRUE(control->LastFits());
    for (Integer i = 0; i < 3; ++i) EXPECT_TRUE(tab(i)->IsShown()) << i;
  }
  // Top to bottom text on the left runs forward again.
  control->SetTabPosition(tpLeft);
  control->SetOptions({pcoTopToBottomText});
  EXPECT_EQ(tab(0)->DisplayRect(), (TRect{0, 0, 20, 40}));
}

TEST_F(LayoutTest, SpacingBandsAndSizeCorrection) {
  FakeSettings().tabsSpacing = {3, 5};
  FakeSettings().leadingExtra = 2;
  FakeSettings().mainTabCorrection = {-2, -2, 2, 1};
  control->AddTabs({"abcd", "efgh"});
  control->ShowWindow(200, 150);
  EXPECT_EQ(tab(1)->Position.X, 43);
  EXPECT_EQ(control->LeadingRowsRect(), (TRect{0, 0, 200, 22}));
  // The main tab grows; what sticks out of the band is not visible.
  EXPECT_EQ(tab(0)->DisplayRect(), (TRect{-2, -2, 42, 21}));
  EXPECT_EQ(tab(0)->SizeCorrection, (TRect{-2, -2, 2, 1}));
  EXPECT_EQ(tab(0)->VisibleRect(), (TRect{0, 0, 42, 21}));
  EXPECT_EQ(tab(1)->VisibleRect(), (TRect{43, 0, 83, 20}));
}

TEST_F(LayoutTest, NavigatorButtonsAndTheScrolledWindow) {
  control->AddTabs({"abcd", "efgh", "ijkl"});
  control->SetOptions({pcoGoDialog});
  control->ShowWindow(200, 150);
  // Everything fits: no arrows and no go-dialog button.
  EXPECT_TRUE(control->ShownNavigatorButtons().Empty());
  control->SetOptions({pcoCloseButton, pcoGoDialog});
  EXPECT_EQ(control->ShownNavigatorButtons(), (TcxPCNavigatorButtons{nbClose}));
  EXPECT_EQ(control->TabsArea().RowLength, 185);

  // Six tabs of 40 in 200 pixels: the arrows take 30, five tabs start in
  // the row, the fifth is cut.
  control->SetOptions({});
  control->AddTabs({"mnop", "qrst", "uvwx"});
  EXPECT_EQ(control->ShownNavigatorButtons(), (TcxPCNavigatorButtons{nbTopLeft, nbBottomRight}));
  EXPECT_EQ(control->FirstDisplayed(), 0);
  EXPECT_EQ(control->LastDisplayed(), 4);
  EXPECT_FALSE(control->LastFits());
  EXPECT_TRUE(tab(4)->IsShown());
  EXPECT_EQ(tab(4)->VisibleRect(), (TRect{160, 0, 200, 20}));
  EXPECT_FALSE(tab(5)->IsShown());
  EXPECT_EQ(control->NavigatorButtonState(nbTopLeft), nbsDisabled);
  EXPECT_EQ(control->NavigatorButtonState(nbBottomRight), nbsNormal);

  // Scrolling to the end moves the window back so that no room is left
  // after the last tab.
  for (Integer i = 0; i < 4; ++i) control->ScrollTabs(nbBottomRight);
  EXPECT_EQ(control->FirstDisplayed(), 2);
  EXPECT_EQ(control->LastDisplayed(), 5);
  EXPECT_TRUE(control->LastFits());
  EXPECT_EQ(tab(2)->Position.X, 0);
  EXPECT_FALSE(tab(1)->IsShown());

  // A disabled arrow does not scroll.
  control->ScrollTabs(nbTopLeft);
  EXPECT_EQ(control->FirstDisplayed(), 1);

  // Options that ask for the go-dialog alone.
  control->SetOptions({pcoNoArrows, pcoGoDialog});
  EXPECT_EQ(control->ShownNavigatorButtons(), (TcxPCNavigatorButtons{nbGoDialog}));
  control->SetOptions({pcoNoArrows});
  EXPECT_EQ(control->ShownNavigatorButtons(), (TcxPCNavigatorButtons{nbTopLeft, nbBottomRight}));
}

TEST_F(LayoutTest, ScrollingTheSelectionIntoView) {
  control->AddTabs({"abcd", "efgh", "ijkl", "mnop", "qrst", "uvwx"});
  control->ShowWindow(200, 150);
  // Row length 170: tab 5 and the two before it fit (120), a fourth would
  // not (160 < 170, but 200 > 170).
  control->ScrollSelectedIntoView(5);
  EXPECT_EQ(control->FirstDisplayed(), 2);
  control->ScrollSelectedIntoView(0);
  EXPECT_EQ(control->FirstDisplayed(), 0);
  control->RecalculateLayout();
  control->ScrollSelectedIntoView(3);  // already displayed
  EXPECT_EQ(control->FirstDisplayed(), 0);
}

TEST_F(LayoutTest, LeftTabsStartAtTheBottomAndTheUpperArrowShowsLaterTabs) {
  control->AddTabs({"abcd", "efgh", "ijkl", "mnop", "qrst"});
  control->SetTabPosition(tpLeft);
  control->ShowWindow(100, 150);
  // Row length 120 from the top, running up from 119.
  EXPECT_EQ(tab(0)->DisplayRect(), (TRect{0, 80, 20, 120}));
  EXPECT_EQ(control->LastDisplayed(), 2);
  control->ScrollTabs(nbTopLeft);
  EXPECT_EQ(control->FirstDisplayed(), 1);
  EXPECT_EQ(tab(1)->DisplayRect(), (TRect{0, 80, 20, 120}));
}

TEST_F(LayoutTest, RotatedRows) {
  control->AddTabs({"ab", "abcdefgh", "abcd"});
  control->SetRotate(true);
  control->ShowWindow(300, 150);
  // Along the row every tab is as long as the common height; the row is as
  // thick as the widest caption.
  EXPECT_EQ(control->RowThickness(), 80);
  EXPECT_EQ(tab(1)->DisplayRect(), (TRect{20, 0, 40, 80}));
  EXPECT_EQ(control->LeadingRowsRect(), (TRect{0, 0, 300, 80}));

  control->SetMaxRotatedTabWidth(50);
  EXPECT_EQ(control->RowThickness(), 50);
  control->SetMaxRotatedTabWidth(100);
  EXPECT_EQ(control->RowThickness(), 80);
  // Never below the painter's smallest tab; never negative.
  control->SetMaxRotatedTabWidth(1);
  EXPECT_EQ(control->MaxRotatedTabWidth(), 12);
  EXPECT_EQ(control->RowThickness(), 12);
  control->SetMaxRotatedTabWidth(-4);
  EXPECT_EQ(control->MaxRotatedTabWidth(), 0);
}

TEST_F(LayoutTest, NoVisibleTabNoRoomAndNoWindow) {
  // No window: nothing is laid out.
  control->AddTabs({"abcd", "efgh"});
  EXPECT_EQ(control->RowCount(), 0);
  EXPECT_EQ(control->realigns, 0);
  control->ShowWindow(200, 150);
  EXPECT_EQ(control->RowCount(), 1);

  // Narrower than the arrows: the tabs keep their places, none is shown.
  control->AddTabs({"ijkl", "mnop", "qrst", "uvwx"});
  control->SetBounds(0, 0, 25, 150);
  EXPECT_TRUE(control->HasNoRoomForTabs());
  EXPECT_EQ(control->RowCount(), 1);
  EXPECT_EQ(control->LeadingRowsRect(), (TRect{}));
  for (Integer i = 0; i < 6; ++i) EXPECT_TRUE(cxRectIsEmpty(tab(i)->VisibleRect())) << i;

  // Deleting every tab empties the strip.
  control->SetBounds(0, 0, 200, 150);
  control->Tabs()->Clear();
  EXPECT_EQ(control->FirstDisplayed(), -1);
  EXPECT_EQ(control->RowCount(), 0);
  EXPECT_TRUE(control->ShownNavigatorButtons().Empty());
  Integer first, last;
  DisplayedTabRange(control.get(), first, last);
  EXPECT_EQ(first, -1);
  EXPECT_EQ(last, -2);

}

TEST_F(LayoutTest, RowBoundsAndLayoutRequests) {
  control->AddTabs({"abcd", "efgh", "ijkl"});
  control->ShowWindow(200, 150);
  TcxPCLineIndexBoundsArray bounds;
  GetRowTabBounds(control.get(), bounds);
  ASSERT_EQ(bounds.size(), 1u);
  EXPECT_EQ(bounds[0].First, 0);
  EXPECT_EQ(bounds[0].Last, 2);

  // Only pcoSort changing causes no layout; slants re-lay out.
  const Integer layouts = control->realigns;
  control->SetOptions(control->Options() + pcoSort);
  EXPECT_EQ(control->realigns, layouts);
  control->TabSlants()->SetKind(skCutCorner);
  TcxTabSlants other(nullptr);
  other.SetKind(skCutCorner);
  other.SetPositions({spLeft, spRight});
  control->SetTabSlants(&other);
  EXPECT_EQ(control->TabSlants()->Positions(), (TcxTabSlantPositions{spLeft, spRight}));
  EXPECT_EQ(control->realigns, layouts + 2);
  control->SetLoading(true);
  control->RecalculateLayout();
  EXPECT_EQ(control->realigns, layouts + 2);
  control->SetLoading(false);

}

TEST(CustomTabControl, CalculatingSizesWithoutTabs) {
  FactoryScope factory{{&PlainFakeClass()}};
  FakeTabControl control;
  try {
    control.CalculateTabNormalSizes();
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "TcxCustomTabControl.CalculateTabNormalSizes: Tabs.Count = 0");
  }
}

// Styles ------------------------------------------------------------------------

namespace {

// The registered styles of the program, by their class answers.
const FakePainterClass kTabs(1, "Tabs", {1, 3}, FakePainterClass::WithNativeStyle);
const FakePainterClass kButtons(2, "Buttons");
const FakePainterClass kFlatButtons(3, "FlatButtons");
const FakePainterClass kExtraFlat(5, "ExtraFlat");
const FakePainterClass kUltraFlat(6, "UltraFlat", {2});
const FakePainterClass kFlat(7, "Flat", {0}, FakePainterClass::WithNativeStyle);
const FakePainterClass kOffice11(8, "Office11", {4});
const FakePainterClass kSlanted(9, "Slanted");
const FakePainterClass kOneNote(10, "OneNote", {}, FakePainterClass::Never, false);

std::vector<TcxPCCustomPainterClass> ProgramStyles() {
  return {&kTabs, &kButtons, &kFlatButtons, &kExtraFlat, &kUltraFlat, &kFlat,
          &kOffice11, &kSlanted, &kOneNote};
}

class StyleTest : public fake_theme::FakeThemeTest {
 protected:
  FactoryScope factory{ProgramStyles()};
};

}  // namespace

TEST_F(StyleTest, FollowingTheLookAndFeel) {
  struct Case {
    TcxLookAndFeelKind kind;
    bool native;
    bool themes;
    TcxPCStyleID style;
  };
  const Case cases[] = {
      {lfFlat, false, true, 7},      {lfStandard, false, true, 1}, {lfUltraFlat, false, true, 6},
      {lfOffice11, false, true, 8},  {lfStandard, true, true, 1},  {lfStandard, true, false, 1},
      {lfFlat, true, true, 1},       {lfFlat, true, false, 7},     {lfUltraFlat, true, true, 1},
      {lfOffice11, true, false, 8},
  };
  for (const auto& c : cases) {
    if (!c.themes) lib().refused.insert(u"TAB");
    CloseAllThemes();
    FakeTabControl control;
    control.LookAndFeel()->SetKind(c.kind);
    control.LookAndFeel()->SetNativeStyle(c.native);
    EXPECT_EQ(control.PainterClass()->StyleID(), c.style) << c.kind << c.native << c.themes;
    EXPECT_EQ(control.Style(), 0);
    lib().refused.clear();
  }
}

TEST_F(StyleTest, WritingTheStyle) {
  FakeTabControl control;
  control.AddTabs({"a"});
  control.ShowWindow(200, 100);
  control.LookAndFeel()->SetKind(lfStandard);
  ASSERT_EQ(control.PainterClass(), &kTabs);
  TcxPCCustomPainter* painter = control.Painter();
  const Integer layouts = control.realigns;

  // The same class: the painter stays, but the style no longer follows.
  control.SetStyle(1);
  EXPECT_EQ(control.Painter(), painter);
  EXPECT_EQ(control.Style(), 1);
  EXPECT_EQ(control.realigns, layouts);
  control.LookAndFeel()->SetKind(lfFlat);
  EXPECT_EQ(control.PainterClass(), &kTabs);

  // Unknown IDs are ignored.
  control.SetStyle(4);
  EXPECT_EQ(control.Style(), 1);

  // A style that cannot turn tabs turns Rotate off quietly, and refuses it
  // afterwards.
  control.SetRotate(true);
  control.SetStyle(10);
  EXPECT_EQ(control.PainterClass(), &kOneNote);
  EXPECT_FALSE(control.Rotate());
  EXPECT_GT(control.redraws, 0);
  try {
    control.SetRotate(true);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "OneNote style does not support rotation of tabs");
  }
  EXPECT_FALSE(control.Rotate());

  // Back to following the look-and-feel.
  control.SetStyle(0);
  EXPECT_EQ(control.PainterClass(), &kFlat);
  EXPECT_EQ(control.Style(), 0);
}

// Multi-line rows ----------------------------------------------------------------

namespace {

// Five 40-pixel tabs and more; spacing 0.
class RowsTest : public LayoutTest {
 protected:
  std::vector<Integer> Rows() {
    std::vector<Integer> rows;
    for (Integer i = 0; i < control->Tabs()->Count(); ++i) rows.push_back(tab(i)->PlacementRow);
    return rows;
  }
  std::vector<Integer> Widths() {
    std::vector<Integer> widths;
    for (Integer i = 0; i < control->Tabs()->Count(); ++i) widths.push_back(tab(i)->NormalWidth);
    return widths;
  }
  std::vector<Integer> Displayed() {
    std::vector<Integer> rows;
    for (Integer i = 0; i < control->Tabs()->Count(); ++i) rows.push_back(tab(i)->DisplayedRow);
    return rows;
  }
};

using Ints = std::vector<Integer>;

}  // namespace

TEST_F(RowsTest, BalancedAndStretchedRows) {
  control->AddTabs({"abcd", "efgh", "ijkl", "mnop", "qrst"});
  control->SetMultiLine(true);
  control->ShowWindow(300, 150);
  // Everything fits: one row, as a single line.
  EXPECT_EQ(control->RowCount(), 1);
  EXPECT_EQ(Widths(), (Ints{40, 40, 40, 40, 40}));

  // Four would fit a row of 170: three and two, each stretched to the row.
  control->SetBounds(0, 0, 170, 150);
  EXPECT_EQ(control->RowCount(), 2);
  EXPECT_EQ(Rows(), (Ints{0, 0, 0, 1, 1}));
  EXPECT_EQ(Widths(), (Ints{56, 56, 58, 85, 85}));
  EXPECT_TRUE(control->ShownNavigatorButtons().Empty());
  // The selected tab's row is next to the page.
  EXPECT_EQ(control->TabIndex(), 0);
  EXPECT_EQ(Displayed(), (Ints{1, 1, 1, 0, 0}));
  EXPECT_EQ(tab(0)->DisplayRect(), (TRect{0, 20, 56, 40}));
  EXPECT_EQ(tab(4)->DisplayRect(), (TRect{85, 0, 170, 20}));
  control->SetTabIndex(3);
  EXPECT_EQ(Displayed(), (Ints{0, 0, 0, 1, 1}));

  // Ragged rows keep their natural widths.
  control->SetRaggedRight(true);
  EXPECT_EQ(Widths(), (Ints{40, 40, 40, 40, 40}));
  EXPECT_EQ(Rows(), (Ints{0, 0, 0, 1, 1}));
  // A tab wider than the row gets a row of its own, cut to the row.
  control->Tabs()->Add("abcdefghijklmnopqrstu");
  EXPECT_EQ(control->RowCount(), 3);
  EXPECT_EQ(tab(5)->PlacementRow, 2);
  EXPECT_EQ(tab(5)->NormalWidth, 170);
}

TEST_F(RowsTest, RotatedRaggedRowsAreNotBalanced) {
  // Turned tabs run 20 along the row: four fit into 90.
  control->AddTabs({"a", "b", "c", "d", "e"});
  control->SetMultiLine(true);
  control->SetRotate(true);
  control->ShowWindow(90, 150);
  EXPECT_EQ(Rows(), (Ints{0, 0, 0, 1, 1}));
  control->SetRaggedRight(true);
  EXPECT_EQ(Rows(), (Ints{0, 0, 0, 0, 1}));
}

TEST_F(RowsTest, RowOrderAndScrollOpposite) {
  // Seven tabs, three to a row of 130: rows 0-2, 3-4, 5-6.
  control->AddTabs({"abcd", "efgh", "ijkl", "mnop", "qrst", "uvwx", "yzab"});
  control->SetMultiLine(true);
  control->SetRaggedRight(true);
  control->ShowWindow(130, 150);
  EXPECT_EQ(Rows(), (Ints{0, 0, 0, 1, 1, 2, 2}));
  // The first row selected: from the top the former second and third rows
  // come before it.
  EXPECT_EQ(Displayed(), (Ints{2, 2, 2, 0, 0, 1, 1}));
  EXPECT_EQ(control->LeadingRowCount(), 3);
  // Rows after the selected one go below the page.
  control->SetScrollOpposite(true);
  control->SetTabIndex(3);
  EXPECT_EQ(Displayed(), (Ints{0, 0, 0, 1, 1, 2, 2}));
  EXPECT_EQ(control->LeadingRowCount(), 2);
  EXPECT_EQ(tab(5)->DisplayRect(), (TRect{0, 130, 40, 150}));
  EXPECT_EQ(tab(3)->DisplayRect(), (TRect{0, 20, 40, 40}));
  // Tabs at the bottom mirror the order.
  control->SetTabPosition(tpBottom);
  EXPECT_EQ(control->LeadingRowCount(), 1);
}

// The selection and its events ------------------------------------------------

namespace {

struct ChangeLog {
  std::vector<std::string> entries;
  bool allow = true;
  void Changing(TObject*, bool& allowChange) {
    entries.push_back("changing");
    allowChange = allow;
  }
  void Changed(TObject*) { entries.push_back("change"); }
};

}  // namespace

TEST_F(LayoutTest, SelectionEvents) {
  ChangeLog log;
  control->OnTabChanging = TcxTabChangingEvent(&log, &ChangeLog::Changing);
  control->OnChange = TNotifyEvent(&log, &ChangeLog::Changed);
  control->AddTabs({"abcd", "efgh", "ijkl"});
  control->ShowWindow(200, 150);
  EXPECT_EQ(control->TabIndex(), 0);
  control->SetTabIndex(0);
  control->SetTabIndex(3);
  control->SetTabIndex(-2);
  EXPECT_TRUE(log.entries.empty()) << "the same index or one out of range does nothing";
  control->SetTabIndex(2);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"changing", "change"}));
  log.allow = false;
  control->SetTabIndex(1);
  EXPECT_EQ(control->TabIndex(), 2);
  EXPECT_EQ(log.entries.size(), 3u) << "a refusal fires no change";

  // Silent, designing and loading: no event is asked or fired.
  log.allow = true;
  log.entries.clear();
  control->BeginSilent(true);
  control->SetTabIndex(1);
  control->BeginSilent(false);
  control->BeginSilent(false);  // never below nothing
  control->SetDesigning(true);
  control->SetTabIndex(0);
  control->SetDesigning(false);
  EXPECT_TRUE(log.entries.empty());
  EXPECT_EQ(control->TabIndex(), 0);
  // A selection stored while loading is applied afterwards, silently.
  control->SetLoading(true);
  control->SetTabIndex(2);
  EXPECT_EQ(control->TabIndex(), 0);
  EXPECT_EQ(control->DisplayClientRect(), (TRect{0, 0, 200, 150})) << "no streamed rect: the whole control";
  control->FinishLoading();
  EXPECT_EQ(control->TabIndex(), 2);
  EXPECT_TRUE(log.entries.empty());
  control->SetTabIndex(1);
  EXPECT_EQ(log.entries.size(), 2u);

  // Only pcoSort changed: no new layout.
  const Integer realigns = control->realigns;
  control->SetOptions(control->Options() + pcoSort);
  EXPECT_EQ(control->realigns, realigns);
  control->SetOptions(control->Options() + pcoGoDialog);
  EXPECT_GT(control->realigns, realigns);
}

// Mouse, navigator buttons and hot tracking on a window --------------------------

namespace {

const FakePainterClass& ButtonsFakeClass() {
  static const FakePainterClass c(2, "Buttons", {}, FakePainterClass::Never, true, false, true);
  return c;
}

class TabWindowTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    control = new TcxCustomTabControl(form.get());
    control->SetParent(form.get());
    control->SetBounds(10, 10, 100, 100);
    for (const char* c : {"zeta", "beta", "alfa", "dddd", "eeee", "ffff"}) control->Tabs()->Add(c);
    control->SetOptions({});
    form->Show();
    Pump();
  }
  win::POINT At(Integer x, Integer y) { return Screen(control, x, y); }
  void Press(win::POINT p) {
    win::InjectMouseButton(win::VK_LBUTTON, true, p);
    Pump();
  }
  void Release(win::POINT p) {
    win::InjectMouseButton(win::VK_LBUTTON, false, p);
    Pump();
  }
  void Wait(UInt64 ms) {
    clock.Advance(ms);
    Pump();
  }

  TFakeClockScope clock;
  FactoryScope factory{{&PlainFakeClass(), &ButtonsFakeClass()}};
  TcxCustomTabControl* control = nullptr;
};

}  // namespace

// Six 40-pixel tabs in 100: the arrows stand at 70 and 85, 70 is left for
// tabs.
TEST_F(TabWindowTest, HeldArrowRepeatsAndStopsAtTheEnd) {
  ASSERT_EQ(control->ShownNavigatorButtons(), (TcxPCNavigatorButtons{nbTopLeft, nbBottomRight}));
  EXPECT_EQ(control->NavigatorButtonState(nbTopLeft), nbsDisabled);
  Press(At(92, 10));
  EXPECT_EQ(control->FirstDisplayed(), 1) << "once at once";
  EXPECT_EQ(control->NavigatorButtonState(nbBottomRight), nbsPressed);
  EXPECT_EQ(control->NavigatorButtonState(nbTopLeft), nbsNormal);
  Wait(299);
  EXPECT_EQ(control->FirstDisplayed(), 1);
  Wait(1);
  EXPECT_EQ(control->FirstDisplayed(), 2) << "again after 300 ms";
  Wait(149);
  EXPECT_EQ(control->FirstDisplayed(), 2);
  Wait(1);
  EXPECT_EQ(control->FirstDisplayed(), 3) << "then every 150 ms";
  Wait(150);
  EXPECT_EQ(control->FirstDisplayed(), 4);
  Wait(150);
  EXPECT_EQ(control->FirstDisplayed(), 5);
  EXPECT_EQ(control->NavigatorButtonState(nbBottomRight), nbsDisabled) << "the end reached";
  EXPECT_FALSE(control->RepeatTimer()->Enabled());
  Release(At(92, 10));
  EXPECT_EQ(control->FirstDisplayed(), 5);

  // Sliding off a held arrow stops it; sliding back does not resume.
  Press(At(77, 10));
  EXPECT_EQ(control->FirstDisplayed(), 4);
  win::InjectMouseMove(At(30, 50));
  Pump();
  EXPECT_EQ(control->NavigatorButtonState(nbTopLeft), nbsNormal);
  Wait(1000);
  win::InjectMouseMove(At(77, 10));
  Pump();
  Wait(1000);
  EXPECT_EQ(control->FirstDisplayed(), 4);
  Release(At(77, 10));
  EXPECT_EQ(control->FirstDisplayed(), 4);

  // The wheel over the row scrolls one tab per notch.
  win::InjectMouseWheel(-win::WHEEL_DELTA, At(20, 10));
  Pump();
  EXPECT_EQ(control->FirstDisplayed(), 5);
  win::InjectMouseWheel(win::WHEEL_DELTA, At(20, 10));
  Pump();
  EXPECT_EQ(control->FirstDisplayed(), 4);
}

TEST_F(TabWindowTest, PlainStylesSelectOnPressButtonStylesOnRelease) {
  control->SetBounds(10, 10, 300, 100);  // every tab shows
  Press(At(45, 10));
  EXPECT_EQ(control->TabIndex(), 1);
  Release(At(45, 10));
  control->SetStyle(2);
  Press(At(85, 10));
  EXPECT_EQ(control->TabIndex(), 1);
  EXPECT_EQ(control->PressedTabVisibleIndex(), 2);
  // Released over another tab: nothing is chosen.
  win::InjectMouseMove(At(125, 10));
  Pump();
  EXPECT_EQ(control->PressedTabVisibleIndex(), -1);
  Release(At(125, 10));
  EXPECT_EQ(control->TabIndex(), 1);
  Press(At(125, 10));
  Release(At(125, 10));
  EXPECT_EQ(control->TabIndex(), 3);

  // With a button style the arrows move the focus mark; Enter selects.
  control->SetFocus();
  Pump();
  win::InjectKeyPress(win::VK_RIGHT);
  Pump();
  EXPECT_EQ(control->FocusMark(), 4);
  EXPECT_EQ(control->TabIndex(), 3);
  win::InjectKeyPress(win::VK_RETURN);
  Pump();
  EXPECT_EQ(control->TabIndex(), 4);
}

TEST_F(TabWindowTest, HotTrackingAndDisabledTabs) {
  control->SetBounds(10, 10, 300, 100);
  win::InjectMouseMove(At(45, 10));
  Pump();
  EXPECT_EQ(control->HotTabVisibleIndex(), -1) << "hot tracking off and no native painting";
  control->SetHotTrack(true);
  EXPECT_EQ(control->HotTabVisibleIndex(), 1);
  win::InjectMouseMove(At(85, 10));
  Pump();
  EXPECT_EQ(control->HotTabVisibleIndex(), 2);
  // A disabled tab is never hot and ignores clicks.
  control->Tabs()->GetTab(3)->SetEnabled(false);
  win::InjectMouseMove(At(125, 10));
  Pump();
  EXPECT_EQ(control->HotTabVisibleIndex(), -1);
  win::InjectClick(At(125, 10));
  Pump();
  EXPECT_EQ(control->TabIndex(), 0);
  win::InjectMouseMove(At(150, 80));
  Pump();
  EXPECT_EQ(control->HotTabVisibleIndex(), -1);
}

TEST_F(TabWindowTest, GoDialogChoosesATab) {
  // Arrows and the go-to button: 45 pixels at the end; the button at 85.
  control->SetOptions({pcoGoDialog, pcoSort});
  ASSERT_TRUE(control->ShownNavigatorButtons().Contains(nbGoDialog));
  win::InjectClick(At(92, 10));
  win::InjectKeyPress(win::VK_DOWN);
  win::InjectKeyPress(win::VK_RETURN);
  Pump();
  Pump();
  EXPECT_EQ(control->TabIndex(), 2) << "alfa comes first when sorted";
  EXPECT_FALSE(control->IsGoDialogShown());
  EXPECT_EQ(control->NavigatorButtonState(nbGoDialog), nbsNormal);
  // Dismissed: nothing is chosen.
  win::InjectClick(At(92, 10));
  win::InjectKeyPress(win::VK_ESCAPE);
  Pump();
  Pump();
  EXPECT_EQ(control->TabIndex(), 2);
  EXPECT_FALSE(control->IsGoDialogShown());
}
