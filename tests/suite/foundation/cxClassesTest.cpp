#include "suite/foundation/cxClasses.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/rtl/TypInfo.h"

namespace {

class TTestBaseItem : public TObject {
  VXN_DECLARE_CLASS(TTestBaseItem)
};
class TTestDerivedItem : public TTestBaseItem {
  VXN_DECLARE_CLASS(TTestDerivedItem)
};
class TTestMostDerivedItem : public TTestDerivedItem {
  VXN_DECLARE_CLASS(TTestMostDerivedItem)
};
class TTestOtherItem : public TObject {
  VXN_DECLARE_CLASS(TTestOtherItem)
};
class TTestCxRegisteredEdit : public TObject {
  VXN_DECLARE_CLASS(TTestCxRegisteredEdit)
};

VXN_IMPLEMENT_CLASS(TTestBaseItem, TObject)
VXN_IMPLEMENT_CLASS(TTestDerivedItem, TTestBaseItem)
VXN_IMPLEMENT_CLASS(TTestMostDerivedItem, TTestDerivedItem)
VXN_IMPLEMENT_CLASS(TTestOtherItem, TObject)
VXN_IMPLEMENT_CLASS(TTestCxRegisteredEdit, TObject)

// Remembers four components; only three links exist.
class TTestLinkingComponent : public TcxComponent {
 public:
  using TcxComponent::TcxComponent;
  using TcxComponent::Loaded;
  std::vector<TComponent*> Remembered;

 protected:
  void GetFakeComponentLinks(TList* List) override {
    for (TComponent* c : Remembered) List->Add(c);
  }
};

struct FreeListener {
  std::vector<TObject*> Freed;
  void Heard(TObject* Sender) { Freed.push_back(Sender); }
};

std::vector<TClass> ItemClasses(const TcxRegisteredClassList& list) {
  std::vector<TClass> result;
  for (Integer i = 0; i < list.Count(); ++i) result.push_back(list.Items(i).ItemClass);
  return result;
}

}  // namespace

TEST(cxClasses, RegisteredClassesKeepFirstTextAndSortByName) {
  TcxRegisteredClasses registry;
  registry.Register(TTestBaseItem::StaticClass(), "TextEdit|Represents a single line text editor");
  registry.Register(TTestDerivedItem::StaticClass(), "MaskEdit|Represents a generic masked edit control.");
  registry.Register(TTestBaseItem::StaticClass(), "Other|text");
  ASSERT_EQ(registry.Count(), 2);
  EXPECT_EQ(registry.Descriptions(0), "TextEdit|Represents a single line text editor");
  EXPECT_EQ(registry.NameOf(1), "MaskEdit");

  registry.AssignSorted(true);
  EXPECT_EQ(registry.Items(0), TTestDerivedItem::StaticClass());
  registry.Register(TTestOtherItem::StaticClass(), "calcEdit|Calculator");  // names compare without case
  EXPECT_EQ(registry.NameOf(0), "calcEdit");
  EXPECT_EQ(registry.NameOf(1), "MaskEdit");
  EXPECT_EQ(registry.NameOf(2), "TextEdit");

  registry.AssignSorted(false);
  registry.Register(TTestMostDerivedItem::StaticClass(), "AEdit");
  EXPECT_EQ(registry.NameOf(3), "AEdit");  // appended, order kept
  EXPECT_EQ(registry.IndexOfClass(TTestOtherItem::StaticClass()), 0);

  registry.Unregister(TTestOtherItem::StaticClass());
  registry.Unregister(TTestOtherItem::StaticClass());  // absent: nothing
  EXPECT_EQ(registry.Count(), 3);
  EXPECT_EQ(registry.IndexOfClass(TTestOtherItem::StaticClass()), -1);
  EXPECT_THROW(registry.Items(3), EListError);
}

TEST(cxClasses, RegisteredClassesCanRegisterForStreams) {
  EXPECT_EQ(GetClass("TTestCxRegisteredEdit"), nullptr);
  {
    TcxRegisteredClasses registry(true);
    registry.Register(TTestCxRegisteredEdit::StaticClass(), "RegEdit|for streams");
  }
  EXPECT_EQ(GetClass("TTestCxRegisteredEdit"), TTestCxRegisteredEdit::StaticClass());
  UnRegisterClass(TTestCxRegisteredEdit::StaticClass());

  TcxRegisteredClasses plain;
  plain.Register(TTestCxRegisteredEdit::StaticClass(), "RegEdit|not for streams");
  EXPECT_EQ(GetClass("TTestCxRegisteredEdit"), nullptr);
}

TEST(cxClasses, RegisteredClassListOrdersByInheritance) {
  const TClass base = TTestBaseItem::StaticClass(), derived = TTestDerivedItem::StaticClass(),
               most = TTestMostDerivedItem::StaticClass(), other = TTestOtherItem::StaticClass();
  const TClass r1 = TTestCxRegisteredEdit::StaticClass(), r2 = TObject::StaticClass();

  TcxRegisteredClassList list;
  Integer index = -1;
  EXPECT_FALSE(list.FindEntry(base, index));
  EXPECT_EQ(index, -1);

  list.Register(derived, r1);
  index = -1;
  EXPECT_FALSE(list.FindEntry(base, index));
  EXPECT_EQ(index, 0);  // the first entry that descends from it
  list.Register(base, r2);  // a base goes before its descendant
  EXPECT_EQ(ItemClasses(list), (std::vector<TClass>{base, derived}));
  list.Register(other, r1);
  list.Register(most, r2);  // a descendant goes right after its nearest ancestor
  EXPECT_EQ(ItemClasses(list), (std::vector<TClass>{base, derived, most, other}));

  struct Case {
    TClass cls;
    bool found;
    Integer index;
  };
  for (const Case& c : {Case{most, true, 2}, Case{derived, true, 1}, Case{base, true, 0}, Case{other, true, 3},
                        Case{TObject::StaticClass(), false, 0}}) {
    SCOPED_TRACE(c.cls->Name);
    index = -1;
    EXPECT_EQ(list.FindEntry(c.cls, index), c.found);
    EXPECT_EQ(index, c.index);
  }

  list.Unregister(derived, r2);  // another registered class: nothing
  EXPECT_EQ(list.Count(), 4);
  list.Unregister(derived, r1);
  EXPECT_EQ(ItemClasses(list), (std::vector<TClass>{base, most, other}));
  index = -1;
  EXPECT_TRUE(list.FindEntry(derived, index));
  EXPECT_EQ(index, 0);  // the base serves it now
  EXPECT_EQ(list.Items(0).RegisteredClass, r2);
}

TEST(cxClasses, WidthDistribution) {
  struct Item {
    Integer width, minWidth;
    bool fixed;
  };
  struct Case {
    const char* name;
    std::vector<Item> items;
    Integer available;
    std::vector<Integer> expected;
  };
  const Case cases[] = {
      {"pinned minimum", {{10, 0, false}, {10, 30, false}, {10, 0, false}}, 90, {30, 30, 30}},
      {"rounding with the running sum", {{10, 0, false}, {10, 0, false}, {10, 0, false}}, 20, {7, 6, 7}},
      {"two pins", {{10, 40, false}, {10, 0, false}, {10, 40, false}}, 60, {40, 0, 40}},
      {"fixed keeps its width", {{50, 0, true}, {10, 0, false}, {30, 0, false}}, 70, {50, 5, 15}},
      {"fixed wider than available", {{50, 0, true}, {10, 0, false}}, 30, {50, 0}},
      {"all fixed", {{5, 0, true}, {7, 0, true}}, 100, {5, 7}},
      // Nothing requested: minimum widths, never -1.
      {"all widths 0", {{0, 12, false}, {0, 0, false}, {0, -3, false}}, 90, {12, 0, 0}},
      {"fixed takes the whole request", {{20, 0, true}, {0, 8, false}}, 90, {20, 8}},
      // Sums past the 32-bit range.
      {"wide items", {{2000000000, 0, false}, {2000000000, 0, false}}, 2000000000, {1000000000, 1000000000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TcxAutoWidthObject distributor(static_cast<Integer>(c.items.size()));
    for (const Item& i : c.items) {
      TcxAutoWidthItem* item = distributor.AppendItem();
      EXPECT_EQ(item->AutoWidth, -1);
      item->Width = i.width;
      item->MinWidth = i.minWidth;
      item->Fixed = i.fixed;
    }
    distributor.AvailableWidth = c.available;
    distributor.DistributeWidths();
    for (size_t k = 0; k < c.expected.size(); ++k)
      EXPECT_EQ(distributor.ItemAt(static_cast<Integer>(k))->AutoWidth, c.expected[k]) << "item " << k;
  }

  TcxAutoWidthObject once;
  TcxAutoWidthItem* item = once.AppendItem();
  item->Width = 10;
  once.AvailableWidth = 40;
  once.DistributeWidths();
  EXPECT_EQ(item->AutoWidth, 40);
  once.AvailableWidth = 80;
  once.DistributeWidths();
  EXPECT_EQ(item->AutoWidth, 40);  // computed once per item
  EXPECT_EQ(once.TotalWidth(), 10);
  EXPECT_THROW(once.ItemAt(1), EListError);
}

TEST(cxClasses, WeakLinksClearWhenTheirObjectDies) {
  auto* component = new TcxComponent(nullptr);
  auto* survivor = new TcxComponent(nullptr);
  TcxObjectLink* first = AddObjectLink(component);
  TcxObjectLink* second = AddObjectLink(component);
  TcxObjectLink* other = AddObjectLink(survivor);
  EXPECT_EQ(first->Ref, component);
  component->Free();
  EXPECT_EQ(first->Ref, nullptr);
  EXPECT_EQ(second->Ref, nullptr);
  EXPECT_EQ(other->Ref, survivor);
  RemoveObjectLink(first);
  RemoveObjectLink(other);
  RemoveObjectLink(nullptr);
  // A link still counted keeps the controller alive for new links.
  TcxObjectLink* third = AddObjectLink(survivor);
  survivor->Free();
  EXPECT_EQ(third->Ref, nullptr);
  RemoveObjectLink(second);
  RemoveObjectLink(third);
  ClearObjectLinks(nullptr);  // no controller any more: nothing
}

TEST(cxClasses, FreeNotificatorForwardsRemoval) {
  FreeListener listener;
  TcxFreeNotificator notificator(nullptr);
  notificator.OnFreeNotification = TNotifyEvent(&listener, &FreeListener::Heard);
  auto* watched = new TComponent(nullptr);
  auto* dropped = new TComponent(nullptr);
  notificator.AddSender(watched);
  notificator.AddSender(dropped);
  notificator.AddSender(nullptr);
  notificator.RemoveSender(dropped);
  notificator.RemoveSender(nullptr);
  dropped->Free();
  EXPECT_TRUE(listener.Freed.empty());
  watched->Free();
  EXPECT_EQ(listener.Freed, std::vector<TObject*>{watched});
}

TEST(cxClasses, InterfacedPersistentIsCreatedWithItsOwner) {
  TComponent owner(nullptr);
  TObject* made = CreateInstance(TcxInterfacedPersistent::StaticClass(), &owner);
  auto* persistent = dynamic_cast<TcxInterfacedPersistent*>(made);
  ASSERT_NE(persistent, nullptr);
  EXPECT_EQ(persistent->GetOwner(), &owner);
  EXPECT_EQ(GetPersistentOwner(persistent), &owner);
  EXPECT_EQ(GetPersistentOwner(nullptr), nullptr);
  made->Free();
}

TEST(cxClasses, FakeLinksAreFilledAtDesignTimeAfterLoading) {
  TComponent owner(nullptr);
  auto* component = new TTestLinkingComponent(&owner);
  TComponent a(nullptr), b(nullptr), d(nullptr);
  auto* c = new TComponent(nullptr);
  component->Remembered = {&a, &b, c, &d};

  component->Loaded();  // not designing: nothing
  EXPECT_EQ(component->FakeComponentLink(0), nullptr);

  component->SetDesigning(true);
  component->Loaded();
  EXPECT_EQ(component->GetFakeComponentLink1(), &a);
  EXPECT_EQ(component->GetFakeComponentLink2(), &b);
  EXPECT_EQ(component->GetFakeComponentLink3(), c);
  EXPECT_EQ(GetObjectProp(component, *GetPropInfo(component, "FakeComponentLink3")), c);
  // A link never outlives its component.
  c->Free();
  EXPECT_EQ(component->GetFakeComponentLink3(), nullptr);

  component->Remembered = {&d};
  component->Loaded();
  EXPECT_EQ(component->GetFakeComponentLink1(), &d);
  EXPECT_EQ(component->GetFakeComponentLink2(), nullptr);
  component->Free();
}

TEST(cxClasses, SmallRoutines) {
  EXPECT_EQ(DescriptionName("TextEdit|Represents a single line text editor"), "TextEdit");
  EXPECT_EQ(DescriptionName("NoBar"), "NoBar");
  EXPECT_EQ(DescriptionName("|x|y"), "");
  struct Case {
    Integer a, b, expected;
  };
  for (const Case& c : {Case{3, 4, 3}, Case{-3, 0, -2}, Case{-1, 0, -1}, Case{4, 4, 4}, Case{-5, -4, -5},
                        Case{INT_MAX, INT_MAX, INT_MAX}, Case{INT_MIN, INT_MIN, INT_MIN}})
    EXPECT_EQ(AverageDown(c.a, c.b), c.expected) << c.a << " " << c.b;
  EXPECT_EQ(MakeSize(3, 4), (TSize{3, 4}));
  EXPECT_EQ(TranslateResourceString("Line"), "Line");
}
