// Which editor settings show a value of a given type: registries of
// repository items keyed by the value-type class of the data storage or by
// the field type of a data set (with entries of their own for lookup and
// currency fields), each falling back on its default item. The registries
// listen to their items and drop the entries of an item that dies.
#pragma once

#include <climits>
#include <string_view>
#include <vector>

#include "platform/db/DataSetTypes.h"
#include "suite/editors/cxEditRepository.h"

class TField;

struct TcxEditRegisteredRepositoryItemEntry {
  NativeInt Key = 0;
  Integer Version = 0;
  TcxEditRepositoryItem* Item = nullptr;
};

using TcxEditRegisteredRepositoryItemEntries = std::vector<TcxEditRegisteredRepositoryItemEntry>;

// A FindEntry version that matches any version of the key.
inline constexpr Integer cxAnyEntryVersion = INT_MAX;

class TcxEditRegisteredRepositoryItems : public TcxInterfacedPersistent, public IcxRepositoryItemListener {
  VXN_DECLARE_CLASS(TcxEditRegisteredRepositoryItems)

 public:
  explicit TcxEditRegisteredRepositoryItems(TPersistent* AOwner = nullptr) : TcxInterfacedPersistent(AOwner) {}
  ~TcxEditRegisteredRepositoryItems() override;

  // The listener's side.
  void ItemRemoved(TcxEditRepositoryItem* Sender) override { ItemFreed(Sender); }
  void PropertiesChanged(TcxEditRepositoryItem* Sender) override { NotifyItemChanged(Sender); }

  // Deletes every entry of Item.
  virtual void ItemFreed(TcxEditRepositoryItem* Item);
  virtual void NotifyItemChanged(TcxEditRepositoryItem* Item);
  // The first registration of (Key, Version) wins; answers the entry's
  // index.
  virtual Integer AddItemEntry(TcxEditRegisteredRepositoryItemEntries& Entries, NativeInt Key, Integer Version,
                               TcxEditRepositoryItem* Item);
  virtual void NotifyRegistryChanged() {}
  // The item of the highest priority, nil when there is none.
  virtual TcxEditRepositoryItem* FirstDefaultItem();
  virtual TcxEditRepositoryItem* ItemFor(NativeInt Key);
  virtual void RegisterDefaultItem(Integer Priority, TcxEditRepositoryItem* Item);
  virtual void AddRegisteredItem(NativeInt Key, Integer Version, TcxEditRepositoryItem* Item);
  virtual void UnregisterDefaultItem(Integer Priority);
  virtual void RemoveRegisteredItem(NativeInt Key, Integer Version);

  // Binary search over entries sorted by key, then version, larger first.
  // False with the insertion index when nothing matches.
  static bool FindEntry(const TcxEditRegisteredRepositoryItemEntries& Entries, NativeInt Key, Integer Version,
                        Integer& Index);

  const TcxEditRegisteredRepositoryItemEntries& DefaultEntries() const { return FDefaultEntries; }
  const TcxEditRegisteredRepositoryItemEntries& RegisteredEntries() const { return FRegisteredEntries; }
  bool Destroying() const { return FDestroying; }

 protected:
  void DeleteEntry(TcxEditRegisteredRepositoryItemEntries& Entries, Integer Index);
  void DeleteItemEntries(TcxEditRegisteredRepositoryItemEntries& Entries, TcxEditRepositoryItem* Item);
  void ClearEntries(TcxEditRegisteredRepositoryItemEntries& Entries);
  // The arrays a descendant keeps besides the two of the base.
  virtual std::vector<TcxEditRegisteredRepositoryItemEntries*> EntryArrays();
  void BeginDestroy() { FDestroying = true; }

 private:
  bool HoldsItem(const TcxEditRepositoryItem* Item);

  TcxEditRegisteredRepositoryItemEntries FDefaultEntries;
  TcxEditRegisteredRepositoryItemEntries FRegisteredEntries;
  bool FDestroying = false;
};

// Keyed by value-type class (the class reference itself is the key).
class TcxEditDataRegisteredRepositoryItems : public TcxEditRegisteredRepositoryItems {
  VXN_DECLARE_CLASS(TcxEditDataRegisteredRepositoryItems)

 public:
  using TcxEditRegisteredRepositoryItems::TcxEditRegisteredRepositoryItems;

  TcxEditRepositoryItem* GetItem(const TObject* ValueTypeClass) { return ItemFor(KeyOf(ValueTypeClass)); }
  void RegisterItem(const TObject* ValueTypeClass, Integer Version, TcxEditRepositoryItem* Item) {
    AddRegisteredItem(KeyOf(ValueTypeClass), Version, Item);
  }
  void UnregisterItem(const TObject* ValueTypeClass, Integer Version) {
    RemoveRegisteredItem(KeyOf(ValueTypeClass), Version);
  }

 private:
  static NativeInt KeyOf(const TObject* ValueTypeClass) { return reinterpret_cast<NativeInt>(ValueTypeClass); }
};

// Keyed by field type, with a currency item and a lookup item.
class TcxEditDBRegisteredRepositoryItems : public TcxEditRegisteredRepositoryItems {
  VXN_DECLARE_CLASS(TcxEditDBRegisteredRepositoryItems)

 public:
  using TcxEditRegisteredRepositoryItems::TcxEditRegisteredRepositoryItems;
  ~TcxEditDBRegisteredRepositoryItems() override;

  void ItemFreed(TcxEditRepositoryItem* Item) override;

  // No field: the default item.
  TcxEditRepositoryItem* ItemForField(TField* Field);
  TcxEditRepositoryItem* CurrencyItem();
  TcxEditRepositoryItem* LookupItem();
  TcxEditRepositoryItem* GetItem(TFieldType FieldType) { return ItemFor(FieldType); }
  void RegisterItem(TFieldType FieldType, Integer Version, TcxEditRepositoryItem* Item) {
    AddRegisteredItem(FieldType, Version, Item);
  }
  void RegisterCurrencyItem(Integer Version, TcxEditRepositoryItem* Item) {
    AddItemEntry(FCurrencyEntries, 0, Version, Item);
  }
  void RegisterLookupItem(Integer Version, TcxEditRepositoryItem* Item) {
    AddItemEntry(FLookupEntries, 0, Version, Item);
  }
  void UnregisterItem(TFieldType FieldType, Integer Version) { RemoveRegisteredItem(FieldType, Version); }

 protected:
  std::vector<TcxEditRegisteredRepositoryItemEntries*> EntryArrays() override;

 private:
  TcxEditRegisteredRepositoryItemEntries FCurrencyEntries;
  TcxEditRegisteredRepositoryItemEntries FLookupEntries;
};

// The two registries; made on first use.
TcxEditDataRegisteredRepositoryItems* GetDefaultEditDataRepositoryItems();
TcxEditDBRegisteredRepositoryItems* GetDefaultEditDBRepositoryItems();

// The item class that shows a field type by default, by name ("" when the
// default item applies).
const char* FieldTypeDefaultItemClassName(TFieldType FieldType);

// Finds an item class by name; nil when it is not part of the program.
using TcxItemClassResolver = TClass (*)(std::string_view ItemClassName);

// Fills a field-type registry with new items of Repository: the mask item
// as default (priority -1), the currency item and one item per field type
// that has a class (version -1). An item class the resolver does not find is
// skipped; running it again adds nothing.
void FillDBRepositoryItems(TcxEditDBRegisteredRepositoryItems* Registry, TcxEditRepository* Repository,
                           TcxItemClassResolver Resolve);
// Takes those entries out again (the currency entry goes with the registry).
void EmptyDBRepositoryItems(TcxEditDBRegisteredRepositoryItems* Registry);

// One value-type registration of the start-up: a value type and the name of
// its item class.
struct TcxValueTypeDefaultItem {
  const TObject* ValueTypeClass;
  const char* ItemClassName;
};

// Fills a value-type registry: a text item as default (priority -1) and one
// new item per entry (version -1); the same skipping as above.
void FillDataRepositoryItems(TcxEditDataRegisteredRepositoryItems* Registry, TcxEditRepository* Repository,
                             TcxItemClassResolver Resolve, const std::vector<TcxValueTypeDefaultItem>& ValueTypeItems);
void EmptyDataRepositoryItems(TcxEditDataRegisteredRepositoryItems* Registry,
                              const std::vector<TcxValueTypeDefaultItem>& ValueTypeItems);

// The start-up fill of the global field-type registry, with the item
// classes registered by name in the default repository.
void RegisterDefaultDBRepositoryItems();
