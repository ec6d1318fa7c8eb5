// The go-to-tab menu: which tabs it lists, in which order, what each item
// shows and what choosing one reports.
#include "suite/pagecontrol/cxPCGoDialog.h"

#include <gtest/gtest.h>

#include "tests/suite/pagecontrol/PageControlFixture.h"

namespace {

Integer chosenTab = -1;

std::vector<std::pair<std::string, Integer>> MenuItems(TcxPCGoDialog& menu) {
  std::vector<std::pair<std::string, Integer>> items;
  for (Integer i = 0; i < menu.Items()->Count(); ++i)
    items.push_back({menu.Items()->Items(i)->Caption(), menu.Items()->Items(i)->Tag});
  return items;
}

}  // namespace

TEST(PCGoDialog, AcceleratorsLeaveTheSortKey) {
  const std::pair<std::string, std::string> cases[] = {
      {"&Zeta", "Zeta"}, {"a&&b", "a&b"}, {"end&", "end"}, {"pl&ain", "plain"}, {"", ""}};
  for (const auto& [caption, key] : cases) EXPECT_EQ(RemoveAccelerators(caption), key) << caption;
}

TEST(PCGoDialog, ListsVisibleEnabledTabs) {
  FactoryScope factory{{&PlainFakeClass()}};
  FakeTabControl control;
  control.AddTabs({"&Zeta", "beta", "Alpha", "hidden", "off"});
  control.ShowWindow(400, 100);
  control.Tabs()->GetTab(3)->SetVisible(false);
  control.Tabs()->GetTab(4)->SetEnabled(false);
  TcxPCGoDialog menu(&control);

  using Items = std::vector<std::pair<std::string, Integer>>;
  menu.FillItems(false);
  EXPECT_EQ(MenuItems(menu), (Items{{"&Zeta", 0}, {"beta", 1}, {"Alpha", 2}}));
  // Sorted as if the ampersand were absent; captions shown unchanged, each
  // item tagged with its tab's index.
  menu.FillItems(true);
  EXPECT_EQ(MenuItems(menu), (Items{{"Alpha", 2}, {"beta", 1}, {"&Zeta", 0}}));

  menu.OnTabChosen = TcxPCGoDialogTabChosenEvent(+[](Integer index) { chosenTab = index; });
  menu.Items()->Items(1)->Click();
  EXPECT_EQ(chosenTab, 1);

  // A disabled control lists nothing.
  control.SetEnabled(false);
  menu.FillItems(true);
  EXPECT_EQ(menu.Items()->Count(), 0);
}
