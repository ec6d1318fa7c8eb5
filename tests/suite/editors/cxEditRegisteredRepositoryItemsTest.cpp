// Default editors by type: the entry order and binary search, first
// registration wins, default priorities, fields by lookup, currency and
// type, the start-up fill (separate items, nothing twice, unknown classes
// skipped), and entries dropped when their item dies.
#include "suite/editors/cxEditRegisteredRepositoryItems.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/db/StdFields.h"

class TTestRegistryItem : public TcxEditRepositoryItem {
  VXN_DECLARE_CLASS(TTestRegistryItem)

 public:
  using TcxEditRepositoryItem::TcxEditRepositoryItem;
};
VXN_IMPLEMENT_CREATABLE_CLASS(TTestRegistryItem, TcxEditRepositoryItem)

namespace {

// Every item class name but the date item's resolves to the test class.
TClass ResolveAllButDate(std::string_view name) {
  return name == "TcxEditRepositoryDateItem" ? nullptr : TTestRegistryItem::StaticClass();
}

TClass ResolveAll(std::string_view) { return TTestRegistryItem::StaticClass(); }

bool Listens(TcxEditRepositoryItem* item, IcxRepositoryItemListener* registry) {
  const auto& l = item->Listeners();
  return std::find(l.begin(), l.end(), registry) != l.end();
}

TEST(EditRegisteredItems, EntriesAreSortedDescendingAndFoundByKeyAndVersion) {
  TcxEditRepository repository(nullptr);
  auto* item = repository.NewRepositoryItem(TTestRegistryItem::StaticClass());
  TcxEditRegisteredRepositoryItems registry;
  const std::pair<NativeInt, Integer> keys[] = {{3, 1}, {9, 0}, {3, 7}, {5, -1}, {3, -2}};
  for (const auto& [key, version] : keys) registry.AddRegisteredItem(key, version, item);
  std::vector<std::pair<NativeInt, Integer>> order;
  for (const auto& e : registry.RegisteredEntries()) order.emplace_back(e.Key, e.Version);
  EXPECT_EQ(order, (std::vector<std::pair<NativeInt, Integer>>{{9, 0}, {5, -1}, {3, 7}, {3, 1}, {3, -2}}));
  Integer index = -1;
  EXPECT_TRUE(TcxEditRegisteredRepositoryItems::FindEntry(registry.RegisteredEntries(), 3, 1, index));
  EXPECT_EQ(index, 3);
  EXPECT_TRUE(TcxEditRegisteredRepositoryItems::FindEntry(registry.RegisteredEntries(), 3, cxAnyEntryVersion, index));
  EXPECT_EQ(registry.RegisteredEntries()[static_cast<size_t>(index)].Key, 3);
  EXPECT_FALSE(TcxEditRegisteredRepositoryItems::FindEntry(registry.RegisteredEntries(), 4, 0, index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(TcxEditRegisteredRepositoryItems::FindEntry(registry.RegisteredEntries(), 4, cxAnyEntryVersion, index));
}

TEST(EditRegisteredItems, FirstRegistrationWinsAndTheSecondItemIsNotHeard) {
  TcxEditRepository repository(nullptr);
  auto* first = repository.NewRepositoryItem(TTestRegistryItem::StaticClass());
  auto* second = repository.NewRepositoryItem(TTestRegistryItem::StaticClass());
  TcxEditRegisteredRepositoryItems registry;
  registry.AddRegisteredItem(7, 1, first);
  registry.AddRegisteredItem(7, 1, second);
  EXPECT_EQ(registry.ItemFor(7), first);
  EXPECT_TRUE(Listens(first, &registry));
  EXPECT_FALSE(Listens(second, &registry));
  registry.RemoveRegisteredItem(7, 1);
  EXPECT_FALSE(Listens(first, &registry));
  EXPECT_EQ(registry.ItemFor(7), nullptr);
}

TEST(EditRegisteredItems, TheHighestPriorityDefaultAnswersUnknownKeys) {
  TcxEditRepository repository(nullptr);
  auto* low = repository.NewRepositoryItem(TTestRegistryItem::StaticClass());
  auto* high = repository.NewRepositoryItem(TTestRegistryItem::StaticClass());
  TcxEditRegisteredRepositoryItems registry;
  EXPECT_EQ(registry.FirstDefaultItem(), nullptr);
  registry.RegisterDefaultItem(-1, low);
  registry.RegisterDefaultItem(5, high);
  EXPECT_EQ(registry.FirstDefaultItem(), high);
  EXPECT_EQ(registry.ItemFor(42), high);
  registry.AddRegisteredItem(42, 0, low);
  EXPECT_EQ(registry.ItemFor(0), high);  // key 0 never names a registration
  registry.UnregisterDefaultItem(5);
  EXPECT_EQ(registry.FirstDefaultItem(), low);
}

TEST(EditRegisteredItems, AnItemInTwoEntriesStaysHeardUntilItsLastEntryGoes) {
  TcxEditRepository repository(nullptr);
  auto* item = repository.NewRepositoryItem(TTestRegistryItem::StaticClass());
  TcxEditRegisteredRepositoryItems registry;
  registry.AddRegisteredItem(1, 0, item);
  registry.AddRegisteredItem(2, 0, item);
  registry.RemoveRegisteredItem(1, 0);
  EXPECT_TRUE(Listens(item, &registry));
  item->Free();
  // Without the notice the second entry would point at a freed item.
  EXPECT_TRUE(registry.RegisteredEntries().empty());
  EXPECT_EQ(registry.ItemFor(2), nullptr);
}

TEST(EditRegisteredItems, FieldsGetTheLookupCurrencyOrTypeItem) {
  TcxEditRepository repository(nullptr);
  TcxEditDBRegisteredRepositoryItems registry;
  FillDBRepositoryItems(&registry, &repository, &ResolveAll);
  auto* lookup = repository.NewRepositoryItem(TTestRegistryItem::StaticClass());
  registry.RegisterLookupItem(-1, lookup);
  TcxEditRepositoryItem* mask = registry.FirstDefaultItem();
  TcxEditRepositoryItem* currency = registry.CurrencyItem();
  ASSERT_NE(mask, nullptr);
  ASSERT_NE(currency, mask);

  TIntegerField integer(nullptr);
  TFloatField money(nullptr);
  money.SetCurrency(true);
  TFloatField plainFloat(nullptr);
  TStringField lookupString(nullptr);
  lookupString.SetFieldKind(fkLookup);
  TSQLTimeStampField stamp(nullptr);
  EXPECT_EQ(registry.ItemForField(nullptr), mask);
  EXPECT_EQ(registry.ItemForField(&integer), mask);
  EXPECT_EQ(registry.ItemForField(&money), currency);
  EXPECT_EQ(registry.ItemForField(&plainFloat), mask);
  EXPECT_EQ(registry.ItemForField(&lookupString), lookup);
  EXPECT_EQ(registry.ItemForField(&stamp), registry.GetItem(ftTimeStamp));
  EXPECT_NE(registry.GetItem(ftTimeStamp), mask);
  EXPECT_NE(registry.GetItem(ftDate), registry.GetItem(ftTimeStamp));

  lookup->Free();
  EXPECT_EQ(registry.LookupItem(), mask);
  currency->Free();
  EXPECT_EQ(registry.ItemForField(&money), mask);
}

TEST(EditRegisteredItems, FillMakesSeparateItemsOnceAndSkipsUnknownClasses) {
  TcxEditRepository repository(nullptr);
  TcxEditDBRegisteredRepositoryItems db;
  FillDBRepositoryItems(&db, &repository, &ResolveAllButDate);
  // Mask, currency, and the field types with a class except the three date types.
  EXPECT_EQ(repository.Count(), 2 + 14 - 3);
  EXPECT_EQ(db.GetItem(ftDateTime), db.FirstDefaultItem());
  FillDBRepositoryItems(&db, &repository, &ResolveAll);
  EXPECT_EQ(repository.Count(), 2 + 14);
  FillDBRepositoryItems(&db, &repository, &ResolveAll);
  EXPECT_EQ(repository.Count(), 2 + 14);

  TObject booleanType, stampType, integerType;
  const std::vector<TcxValueTypeDefaultItem> valueTypes = {
      {&booleanType, "TcxEditRepositoryCheckBoxItem"}, {&stampType, "TcxEditRepositoryDateItem"}};
  TcxEditDataRegisteredRepositoryItems data;
  FillDataRepositoryItems(&data, &repository, &ResolveAll, valueTypes);
  TcxEditRepositoryItem* text = data.FirstDefaultItem();
  ASSERT_NE(text, nullptr);
  EXPECT_NE(data.GetItem(&stampType), text);
  EXPECT_NE(data.GetItem(&stampType), db.GetItem(ftTimeStamp));
  EXPECT_EQ(data.GetItem(&integerType), text);
  text->Free();
  EXPECT_EQ(data.GetItem(&integerType), nullptr);
  EXPECT_NE(data.GetItem(&booleanType), nullptr);

  EmptyDataRepositoryItems(&data, valueTypes);
  EXPECT_TRUE(data.RegisteredEntries().empty());
  EmptyDBRepositoryItems(&db);
  EXPECT_TRUE(db.RegisteredEntries().empty());
  EXPECT_TRUE(db.DefaultEntries().empty());
  EXPECT_NE(db.CurrencyItem(), nullptr);  // goes with the registry
}

TEST(EditRegisteredItems, ARegistryThatDiesLeavesItsItemsListeners) {
  TcxEditRepository repository(nullptr);
  auto* item = repository.NewRepositoryItem(TTestRegistryItem::StaticClass());
  {
    TcxEditDBRegisteredRepositoryItems registry;
    registry.RegisterDefaultItem(0, item);
    registry.RegisterCurrencyItem(0, item);
    registry.RegisterItem(ftMemo, 0, item);
    EXPECT_EQ(item->Listeners().size(), 1u);
  }
  EXPECT_TRUE(item->Listeners().empty());
}

TEST(EditRegisteredItems, FieldTypeDefaultClasses) {
  const std::pair<TFieldType, const char*> table[] = {
      {ftBoolean, "TcxEditRepositoryCheckBoxItem"}, {ftDate, "TcxEditRepositoryDateItem"},
      {ftDateTime, "TcxEditRepositoryDateItem"},    {ftTimeStamp, "TcxEditRepositoryDateItem"},
      {ftTime, "TcxEditRepositoryTimeItem"},        {ftBytes, "TcxEditRepositoryBlobItem"},
      {ftVarBytes, "TcxEditRepositoryBlobItem"},    {ftBlob, "TcxEditRepositoryBlobItem"},
      {ftFmtMemo, "TcxEditRepositoryBlobItem"},     {ftParadoxOle, "TcxEditRepositoryBlobItem"},
      {ftDBaseOle, "TcxEditRepositoryBlobItem"},    {ftTypedBinary, "TcxEditRepositoryBlobItem"},
      {ftMemo, "TcxEditRepositoryMemoItem"},        {ftGraphic, "TcxEditRepositoryImageItem"},
      {ftInteger, ""},                              {ftFMTBcd, ""},
      {ftUnknown, ""},
  };
  for (const auto& [type, name] : table) EXPECT_STREQ(FieldTypeDefaultItemClassName(type), name) << type;
}

}  // namespace
