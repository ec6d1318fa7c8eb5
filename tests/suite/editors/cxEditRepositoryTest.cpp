// Edit repository: items notify their listeners once per batch and tell
// them before they go, items move between repositories, a repository frees
// what it made, a form stream attaches items to their repository; the
// registry of editor kinds keeps its names in case-insensitive order and the
// first text of a class.
#include "suite/editors/cxEditRepository.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/rtl/FormFiles.h"
#include "platform/rtl/TypInfo.h"

class TTestRepositoryProperties : public TcxCustomEditProperties {
  VXN_DECLARE_CLASS(TTestRepositoryProperties)

 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
};
VXN_IMPLEMENT_CREATABLE_CLASS(TTestRepositoryProperties, TcxCustomEditProperties)

class TTestRepositoryItem : public TcxEditRepositoryItemOf<TTestRepositoryProperties> {
  VXN_DECLARE_CLASS(TTestRepositoryItem)

 public:
  explicit TTestRepositoryItem(TComponent* AOwner) : TcxEditRepositoryItemOf(AOwner) {}
};
VXN_IMPLEMENT_CREATABLE_CLASS(TTestRepositoryItem, TcxEditRepositoryItem)

// Stand-ins for the properties classes of five editor kinds.
#define TEST_KIND(Name)                                             \
  class Name : public TcxCustomEditProperties {                     \
    VXN_DECLARE_CLASS(Name)                                         \
   public:                                                          \
    using TcxCustomEditProperties::TcxCustomEditProperties;         \
  };                                                                \
  VXN_IMPLEMENT_CLASS(Name, TcxCustomEditProperties)
TEST_KIND(TTestKindA)
TEST_KIND(TTestKindB)
TEST_KIND(TTestKindC)
TEST_KIND(TTestKindD)
TEST_KIND(TTestKindE)
#undef TEST_KIND

namespace {

struct Log {
  std::vector<std::string> lines;
};

class Listener : public IcxRepositoryItemListener {
 public:
  Listener(Log* ALog, std::string AName) : log(ALog), name(std::move(AName)) {}
  void ItemRemoved(TcxEditRepositoryItem* Sender) override {
    log->lines.push_back(name + " removed");
    if (leaveWhenRemoved) Sender->RemoveListener(this);
  }
  void PropertiesChanged(TcxEditRepositoryItem*) override { log->lines.push_back(name + " changed"); }
  Log* log;
  std::string name;
  bool leaveWhenRemoved = true;
};

TEST(EditRepository, ItemTellsEveryListenerOncePerBatchLastFirst) {
  Log log;
  Listener a(&log, "a"), b(&log, "b");
  TTestRepositoryItem item(nullptr);
  EXPECT_EQ(item.Properties()->ClassType(), TTestRepositoryProperties::StaticClass());
  EXPECT_EQ(item.PropertiesClass(), TTestRepositoryProperties::StaticClass());
  item.AddListener(&a);
  item.AddListener(&b);
  item.AddListener(&a);
  item.Properties()->SetAutoSelect(false);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"b changed", "a changed"}));
  log.lines.clear();
  item.Properties()->LockChanges();
  item.Properties()->SetTransparent(true);
  item.Properties()->Buttons()->Add();
  item.Properties()->SetReadOnly(true);
  item.Properties()->UnlockChanges(true);
  EXPECT_EQ(log.lines.size(), 2u);
  item.RemoveListener(&b);
  item.Properties()->SetAutoSelect(true);
  EXPECT_EQ(log.lines.back(), "a changed");
  item.RemoveListener(&a);
}

TEST(EditRepository, DestroyedItemTellsItsListenersAndLeavesItsRepository) {
  Log log;
  Listener a(&log, "a"), b(&log, "b");
  TcxEditRepository repository(nullptr);
  auto* item = repository.NewRepositoryItem(TTestRepositoryItem::StaticClass());
  item->AddListener(&a);
  item->AddListener(&b);
  ASSERT_EQ(repository.Count(), 1);
  item->Free();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"b removed", "a removed"}));
  EXPECT_EQ(repository.Count(), 0);
}

TEST(EditRepository, MovingAnItemListsItOnceInTheNewRepository) {
  TcxEditRepository first(nullptr), second(nullptr);
  TTestRepositoryItem item(nullptr);
  item.SetRepository(&first);
  item.SetRepository(&second);
  second.AddItem(&item);
  EXPECT_EQ(first.Count(), 0);
  EXPECT_EQ(second.Count(), 1);
  EXPECT_EQ(item.Repository(), &second);
  EXPECT_EQ(item.GetParentComponent(), &second);
  EXPECT_TRUE(item.HasParent());
  second.RemoveItem(&item);
  EXPECT_EQ(item.Repository(), nullptr);
  EXPECT_FALSE(item.HasParent());
}

TEST(EditRepository, RepositoryFreesItsItemsLastFirst) {
  Log log;
  Listener a(&log, "first"), b(&log, "second");
  TComponent form(nullptr);
  auto* repository = new TcxEditRepository(nullptr);
  TcxEditRepositoryItem* owned = repository->NewRepositoryItem(TTestRepositoryItem::StaticClass());
  TcxEditRepositoryItem* formItem = repository->CreateItemOwnedBy(TTestRepositoryItem::StaticClass(), &form);
  EXPECT_EQ(owned->Owner(), repository);
  EXPECT_EQ(formItem->Owner(), &form);
  owned->AddListener(&a);
  formItem->AddListener(&b);
  std::vector<TComponent*> children;
  repository->GetChildren([&](TComponent* c) { children.push_back(c); }, &form);
  EXPECT_EQ(children, std::vector<TComponent*>{formItem});
  repository->Free();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"second removed", "first removed"}));
  EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(EditRepository, ItemsReadFromAFormJoinTheirRepository) {
  RegisterClass(TTestRepositoryItem::StaticClass());
  TComponent root(nullptr);
  ReadComponentText(
      "object Root: TComponent\n"
      "  object Repository: TcxEditRepository\n"
      "    object Shared: TTestRepositoryItem\n"
      "    end\n"
      "  end\n"
      "end\n",
      &root);
  auto* repository = dynamic_cast<TcxEditRepository*>(root.FindComponent("Repository"));
  auto* item = dynamic_cast<TcxEditRepositoryItem*>(root.FindComponent("Shared"));
  ASSERT_NE(repository, nullptr);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Repository(), repository);
  EXPECT_EQ(repository->Count(), 1);
}

TEST(EditRepository, SetPropertiesCopies) {
  TTestRepositoryItem item(nullptr);
  TTestRepositoryProperties source(nullptr);
  source.SetImmediatePost(true);
  item.SetProperties(&source);
  EXPECT_TRUE(item.KindProperties()->ImmediatePost());
  EXPECT_NE(item.Properties(), &source);
}

TEST(EditKindRegistry, NamesAreSortedIgnoringCaseAndTheFirstTextStays) {
  TcxRegisteredClasses* registry = GetRegisteredEditProperties();
  const std::pair<TClass, const char*> kinds[] = {
      {TTestKindA::StaticClass(), scxSEditRepositoryPopupItem},
      {TTestKindB::StaticClass(), scxSEditRepositoryMRUItem},
      {TTestKindC::StaticClass(), scxSEditRepositoryButtonItem},
      {TTestKindD::StaticClass(), scxSEditRepositoryMemoItem},
      {TTestKindE::StaticClass(), scxSEditRepositoryBlobItem},
  };
  for (const auto& [cls, text] : kinds) registry->Register(cls, text);
  registry->Register(TTestKindA::StaticClass(), "Other|Another text");
  std::vector<std::string> names;
  for (Integer i = 0; i < registry->Count(); ++i) {
    const TClass cls = registry->Items(i);
    if (std::any_of(std::begin(kinds), std::end(kinds), [&](const auto& k) { return k.first == cls; }))
      names.push_back(registry->NameOf(i));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"BlobEdit", "ButtonEdit", "Memo", "MRUEdit", "PopupEdit"}));
  const Integer popup = registry->IndexOfClass(TTestKindA::StaticClass());
  EXPECT_EQ(registry->Descriptions(popup), "PopupEdit|Represents an edit control with a dropdown list");
  for (const auto& kind : kinds) registry->Unregister(kind.first);
  EXPECT_EQ(registry->IndexOfClass(TTestKindA::StaticClass()), -1);
}

}  // namespace
