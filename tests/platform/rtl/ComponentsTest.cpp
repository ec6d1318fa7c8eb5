#include "platform/rtl/Components.h"

#include <gtest/gtest.h>

#include "tests/platform/rtl/ComponentFixtures.h"

using namespace fixtures;

namespace {

// Records its notices and its own destruction.
class TWatcher : public TComponent {
 public:
  TWatcher(TComponent* AOwner, std::string name, std::vector<std::string>& log)
      : TComponent(AOwner), Log_(log) {
    SetName(name);
  }
  ~TWatcher() override { Log_.push_back("free " + Name()); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (!ComponentState().Contains(csDestroying))
      Log_.push_back(Name() + (Operation == opInsert ? " +" : " -") + AComponent->Name());
    TComponent::Notification(AComponent, Operation);
  }

 private:
  std::vector<std::string>& Log_;
};

struct IShape {
  static constexpr TGUID IID = GUID("{61EEDA7D-88CC-45BF-8A00-5C25174D6501}");
  virtual ~IShape() = default;
  virtual int Corners() const = 0;
};

class TSquare : public TComponent, public IShape {
 public:
  using TComponent::TComponent;
  int Corners() const override { return 4; }
};

}  // namespace

TEST(ComponentTest, OwnerFreesWhatItOwnsLastCreatedFirst) {
  std::vector<std::string> log;
  auto* owner = new TWatcher(nullptr, "Owner", log);
  new TWatcher(owner, "A", log);
  new TWatcher(owner, "B", log);
  new TWatcher(owner, "C", log);
  EXPECT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(1)->Name(), "B");
  EXPECT_EQ(owner->Components(2)->ComponentIndex(), 2);
  EXPECT_THROW(owner->Components(3), EListError);
  log.clear();
  owner->Free();
  EXPECT_EQ(log, (std::vector<std::string>{"free Owner", "free C", "free B", "free A"}));
}

TEST(ComponentTest, SiblingsHearOfInsertAndRemoval) {
  std::vector<std::string> log;
  TWatcher owner(nullptr, "Owner", log);
  auto* a = new TWatcher(nullptr, "A", log);
  auto* b = new TWatcher(nullptr, "B", log);
  owner.InsertComponent(a);
  owner.InsertComponent(b);
  EXPECT_EQ(log, (std::vector<std::string>{"Owner +A", "Owner +B", "A +B"}));
  log.clear();
  a->Free();
  EXPECT_EQ(log, (std::vector<std::string>{"free A", "Owner -A", "B -A"}));
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(b->ComponentIndex(), 0);
}

TEST(ComponentTest, FreedComponentIsRemovedFromEveryoneWhoAsked) {
  TTestForm form1(nullptr), form2(nullptr);
  auto* target = new TTestControl(&form2);
  auto* n1 = new TTestNonVisual(&form1);
  auto* n2 = new TTestNonVisual(&form1);
  auto* c3 = new TTestControl(nullptr);
  n1->SetTarget(target);
  n2->SetTarget(target);
  c3->SetBuddy(target);
  EXPECT_TRUE(target->ComponentState().Contains(csFreeNotification));

  // One side withdraws: it no longer hears.
  n2->SetTarget(nullptr);
  n2->SetTarget(c3);
  target->Free();
  EXPECT_EQ(n1->GetTarget(), nullptr);
  EXPECT_EQ(c3->GetBuddy(), nullptr);
  EXPECT_EQ(n2->GetTarget(), c3);

  // The asker going first leaves nothing dangling on the other side.
  c3->Free();
  EXPECT_EQ(n2->GetTarget(), nullptr);
}

TEST(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner) {
  TTestForm form(nullptr);
  auto* a = new TTestControl(&form);
  auto* b = new TTestControl(&form);
  a->SetName("Edit1");
  struct Row {
    const char* name;
    const char* error;  // nullptr: accepted
  };
  const Row rows[] = {
      {"edit1", "A component named edit1 already exists"},
      {"1Edit", "'1Edit' is not a valid component name"},
      {"Edit 2", "'Edit 2' is not a valid component name"},
      {"Edit2", nullptr},
      {"", nullptr},  // unnamed is allowed
  };
  for (const Row& r : rows) {
    try {
      b->SetName(r.name);
      EXPECT_EQ(r.error, nullptr) << r.name;
      EXPECT_EQ(b->Name(), r.name);
    } catch (const EComponentError& e) {
      ASSERT_NE(r.error, nullptr) << r.name;
      EXPECT_EQ(e.Message, r.error);
    }
  }
  a->SetName("EDIT1");  // renaming itself with another case is fine
  EXPECT_EQ(form.FindComponent("edit1"), a);
  EXPECT_EQ(form.FindComponent(""), nullptr);

  // Inserting a component under a taken name is refused and leaves it out.
  TTestControl loose(nullptr);
  loose.SetName("Edit1");
  EXPECT_THROW(form.InsertComponent(&loose), EComponentError);
  EXPECT_EQ(loose.Owner(), nullptr);
}

TEST(ComponentTest, ComponentIndexMovesWithinTheOwner) {
  TTestForm form(nullptr);
  TComponent* c[3];
  for (int i = 0; i < 3; ++i) {
    c[i] = new TTestControl(&form);
    c[i]->SetName("C" + IntToStr(i));
  }
  c[0]->SetComponentIndex(2);
  EXPECT_EQ(form.Components(0), c[1]);
  EXPECT_EQ(form.Components(2), c[0]);
  form.RemoveComponent(c[2]);
  EXPECT_EQ(c[2]->Owner(), nullptr);
  EXPECT_EQ(form.ComponentCount(), 2);
  delete c[2];
}

TEST(ComponentTest, DestroyingMarksEveryOwnedComponent) {
  TTestForm form(nullptr);
  auto* child = new TTestControl(&form);
  form.Destroying();
  EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
  form.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
}

TEST(ComponentTest, ChildrenNestByParentWhileTheRootOwnsThem) {
  TTestForm form(nullptr);
  auto* panel = new TTestControl(&form);
  auto* button = new TTestButton(&form);
  auto* timer = new TTestNonVisual(&form);
  button->SetParentComponent(panel);
  panel->SetParentComponent(&form);
  EXPECT_EQ(button->Owner(), &form);
  EXPECT_EQ(button->GetParentComponent(), panel);

  std::vector<TComponent*> children;
  form.GetChildren([&](TComponent* c) { children.push_back(c); }, &form);
  EXPECT_EQ(children, (std::vector<TComponent*>{panel, timer}));
  EXPECT_EQ(panel->Controls(), (std::vector<TTestControl*>{button}));
  button->Free();
  EXPECT_TRUE(panel->Controls().empty());
}

TEST(PersistentTest, AssignBetweenUnrelatedClassesRaises) {
  TTestFont font;
  TTestItems items(nullptr);
  try {
    font.Assign(&items);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a TTestItems to a TTestFont");
  }
  try {
    font.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Cannot assign a nil to a TTestFont");
  }
  TTestFont other;
  other.Name = "Arial";
  font.Assign(&other);
  EXPECT_EQ(font.Name, "Arial");
}

TEST(CollectionTest, ItemAndListNoticesAreSeparate) {
  TTestControl owner(nullptr);
  owner.SetName("Grid");
  TTestItems& items = *owner.GetColumns();
  auto* first = static_cast<TTestItem*>(items.Add());
  auto* second = static_cast<TTestItem*>(items.Add());
  first->Caption = "first";
  second->Caption = "second";
  EXPECT_EQ(items.Notices, (std::vector<std::string>{"added", "update:all", "added", "update:all"}));
  EXPECT_EQ(first->ID(), 0);
  EXPECT_EQ(second->ID(), 1);
  EXPECT_EQ(first->Collection(), &items);
  EXPECT_EQ(items.GetOwner(), &owner);
  EXPECT_EQ(second->GetNamePath(), "Grid.TTestItems[1]");

  struct Step {
    const char* what;
    std::function<void()> run;
    std::vector<std::string> notices;
  };
  const Step steps[] = {
      {"item change", [&] { second->Touch(); }, {"update:1"}},
      {"batched", [&] {
         items.BeginUpdate();
         first->Touch();
         items.Add();
         items.EndUpdate();
       }, {"added", "update:all"}},
      {"move", [&] { second->SetIndex(0); }, {"update:all"}},
      {"delete", [&] { items.Delete(2); }, {"deleting", "extracting", "update:all"}},
      {"insert", [&] { items.Insert(0); }, {"added", "update:all", "update:all"}},
      {"clear", [&] { items.Clear(); }, {"extracting", "extracting", "extracting", "update:all"}},
  };
  for (const Step& s : steps) {
    items.Notices.clear();
    s.run();
    EXPECT_EQ(items.Notices, s.notices) << s.what;
    if (std::string(s.what) == "move") {
      EXPECT_EQ(items.Items(0), second);
      EXPECT_EQ(first->Index(), 1);
    }
  }
  EXPECT_EQ(items.Count(), 0);
  EXPECT_THROW(items.Items(0), EListError);
}

TEST(CollectionTest, AssignCopiesItemsAndIdsKeepCounting) {
  TTestItems a(nullptr), b(nullptr);
  for (const char* caption : {"x", "y"}) static_cast<TTestItem*>(a.Add())->Caption = caption;
  b.Add();
  b.Assign(&a);
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(b.Items(1))->Caption, "y");
  EXPECT_EQ(b.Items(0)->ID(), 1);  // IDs are never reused
  EXPECT_EQ(b.FindItemID(2), b.Items(1));
  EXPECT_EQ(b.FindItemID(0), nullptr);
  TTestFont font;
  EXPECT_THROW(b.Assign(&font), EConvertError);
  EXPECT_EQ(b.Count(), 2);
}

TEST(InterfaceTest, SupportsByDynamicCastAndIdentifierConstants) {
  TSquare square(nullptr);
  TTestControl plain(nullptr);
  IShape* shape = nullptr;
  EXPECT_TRUE(Supports(&square, shape));
  EXPECT_EQ(shape->Corners(), 4);
  EXPECT_FALSE(Supports<IShape>(&plain));
  EXPECT_EQ(GUIDToString(IShape::IID), "{61EEDA7D-88CC-45BF-8A00-5C25174D6501}");
  static_assert(IShape::IID == GUID("{61eeda7d-88cc-45bf-8a00-5c25174d6501}"));
}

TEST(GlobalRootTest, RootsAreFoundByNameUntilFreed) {
  auto* module = new TTestDataModule(nullptr);
  module->SetName("DataModule7");
  AddGlobalRoot(module);
  EXPECT_EQ(FindGlobalComponent("datamodule7"), module);
  module->Free();
  EXPECT_EQ(FindGlobalComponent("DataModule7"), nullptr);
}
