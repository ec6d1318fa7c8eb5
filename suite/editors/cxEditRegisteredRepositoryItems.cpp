#include "suite/editors/cxEditRegisteredRepositoryItems.h"

#include <algorithm>

#include "platform/db/Field.h"
#include "platform/db/StdFields.h"
#include "platform/rtl/TypInfo.h"

VXN_IMPLEMENT_CLASS(TcxEditRegisteredRepositoryItems, TcxInterfacedPersistent)
VXN_IMPLEMENT_CLASS(TcxEditDataRegisteredRepositoryItems, TcxEditRegisteredRepositoryItems)
VXN_IMPLEMENT_CLASS(TcxEditDBRegisteredRepositoryItems, TcxEditRegisteredRepositoryItems)

bool TcxEditRegisteredRepositoryItems::FindEntry(const TcxEditRegisteredRepositoryItemEntries& Entries,
                                                 NativeInt Key, Integer Version, Integer& Index) {
  const bool anyVersion = Version == cxAnyEntryVersion;
  // True for the entries that stand before (Key, Version).
  auto before = [&](const TcxEditRegisteredRepositoryItemEntry& e) {
    if (e.Key != Key) return e.Key > Key;
    return !anyVersion && e.Version > Version;
  };
  auto it = std::partition_point(Entries.begin(), Entries.end(), before);
  Index = static_cast<Integer>(it - Entries.begin());
  return it != Entries.end() && it->Key == Key && (anyVersion || it->Version == Version);
}

TcxEditRegisteredRepositoryItems::~TcxEditRegisteredRepositoryItems() {
  FDestroying = true;
  ClearEntries(FRegisteredEntries);
  ClearEntries(FDefaultEntries);
}

std::vector<TcxEditRegisteredRepositoryItemEntries*> TcxEditRegisteredRepositoryItems::EntryArrays() {
  return {&FDefaultEntries, &FRegisteredEntries};
}

bool TcxEditRegisteredRepositoryItems::HoldsItem(const TcxEditRepositoryItem* Item) {
  for (TcxEditRegisteredRepositoryItemEntries* entries : EntryArrays())
    for (const TcxEditRegisteredRepositoryItemEntry& e : *entries)
      if (e.Item == Item) return true;
  return false;
}

Integer TcxEditRegisteredRepositoryItems::AddItemEntry(TcxEditRegisteredRepositoryItemEntries& Entries,
                                                       NativeInt Key, Integer Version, TcxEditRepositoryItem* Item) {
  Integer index = 0;
  if (FindEntry(Entries, Key, Version, index)) return index;
  Entries.insert(Entries.begin() + index, TcxEditRegisteredRepositoryItemEntry{Key, Version, Item});
  if (Item) Item->AddListener(this);
  NotifyRegistryChanged();
  return index;
}

void TcxEditRegisteredRepositoryItems::DeleteEntry(TcxEditRegisteredRepositoryItemEntries& Entries, Integer Index) {
  TcxEditRepositoryItem* item = Entries[static_cast<size_t>(Index)].Item;
  Entries.erase(Entries.begin() + Index);
  // An item may stand in several entries; the registry keeps listening
  // while one of them is left, so that the item's death still clears them.
  if (item && !HoldsItem(item)) item->RemoveListener(this);
  if (!FDestroying) NotifyRegistryChanged();
}

void TcxEditRegisteredRepositoryItems::DeleteItemEntries(TcxEditRegisteredRepositoryItemEntries& Entries,
                                                         TcxEditRepositoryItem* Item) {
  for (Integer i = static_cast<Integer>(Entries.size()) - 1; i >= 0; --i)
    if (Entries[static_cast<size_t>(i)].Item == Item) DeleteEntry(Entries, i);
}

void TcxEditRegisteredRepositoryItems::ClearEntries(TcxEditRegisteredRepositoryItemEntries& Entries) {
  for (Integer i = static_cast<Integer>(Entries.size()) - 1; i >= 0; --i) DeleteEntry(Entries, i);
}

void TcxEditRegisteredRepositoryItems::ItemFreed(TcxEditRepositoryItem* Item) {
  DeleteItemEntries(FDefaultEntries, Item);
  DeleteItemEntries(FRegisteredEntries, Item);
}

void TcxEditRegisteredRepositoryItems::NotifyItemChanged(TcxEditRepositoryItem*) { NotifyRegistryChanged(); }

TcxEditRepositoryItem* TcxEditRegisteredRepositoryItems::FirstDefaultItem() {
  return FDefaultEntries.empty() ? nullptr : FDefaultEntries.front().Item;
}

TcxEditRepositoryItem* TcxEditRegisteredRepositoryItems::ItemFor(NativeInt Key) {
  Integer index = 0;
  if (Key != 0 && FindEntry(FRegisteredEntries, Key, cxAnyEntryVersion, index))
    return FRegisteredEntries[static_cast<size_t>(index)].Item;
  return FirstDefaultItem();
}

void TcxEditRegisteredRepositoryItems::RegisterDefaultItem(Integer Priority, TcxEditRepositoryItem* Item) {
  AddItemEntry(FDefaultEntries, 0, Priority, Item);
}

void TcxEditRegisteredRepositoryItems::AddRegisteredItem(NativeInt Key, Integer Version,
                                                         TcxEditRepositoryItem* Item) {
  AddItemEntry(FRegisteredEntries, Key, Version, Item);
}

void TcxEditRegisteredRepositoryItems::UnregisterDefaultItem(Integer Priority) {
  Integer index = 0;
  if (FindEntry(FDefaultEntries, 0, Priority, index)) DeleteEntry(FDefaultEntries, index);
}

void TcxEditRegisteredRepositoryItems::RemoveRegisteredItem(NativeInt Key, Integer Version) {
  Integer index = 0;
  if (FindEntry(FRegisteredEntries, Key, Version, index)) DeleteEntry(FRegisteredEntries, index);
}

// ---------------------------------------------------------------------------

TcxEditDBRegisteredRepositoryItems::~TcxEditDBRegisteredRepositoryItems() {
  BeginDestroy();
  ClearEntries(FLookupEntries);
  ClearEntries(FCurrencyEntries);
}

std::vector<TcxEditRegisteredRepositoryItemEntries*> TcxEditDBRegisteredRepositoryItems::EntryArrays() {
  std::vector<TcxEditRegisteredRepositoryItemEntries*> arrays = TcxEditRegisteredRepositoryItems::EntryArrays();
  arrays.push_back(&FCurrencyEntries);
  arrays.push_back(&FLookupEntries);
  return arrays;
}

void TcxEditDBRegisteredRepositoryItems::ItemFreed(TcxEditRepositoryItem* Item) {
  TcxEditRegisteredRepositoryItems::ItemFreed(Item);
  DeleteItemEntries(FCurrencyEntries, Item);
  DeleteItemEntries(FLookupEntries, Item);
}

TcxEditRepositoryItem* TcxEditDBRegisteredRepositoryItems::CurrencyItem() {
  return FCurrencyEntries.empty() ? FirstDefaultItem() : FCurrencyEntries.front().Item;
}

TcxEditRepositoryItem* TcxEditDBRegisteredRepositoryItems::LookupItem() {
  return FLookupEntries.empty() ? FirstDefaultItem() : FLookupEntries.front().Item;
}

TcxEditRepositoryItem* TcxEditDBRegisteredRepositoryItems::ItemForField(TField* Field) {
  if (!Field) return FirstDefaultItem();
  if (Field->Lookup()) return LookupItem();
  if (dynamic_cast<TNumericField*>(Field)) {
    const TPropInfo* currency = GetPropInfo(Field, "currency");
    if (currency && currency->PropType == TypeInfoBoolean() && GetOrdProp(Field, *currency) != 0)
      return CurrencyItem();
  }
  return ItemFor(Field->DataType());
}

// ---------------------------------------------------------------------------

TcxEditDataRegisteredRepositoryItems* GetDefaultEditDataRepositoryItems() {
  static auto* registry = new TcxEditDataRegisteredRepositoryItems();
  return registry;
}

TcxEditDBRegisteredRepositoryItems* GetDefaultEditDBRepositoryItems() {
  static auto* registry = new TcxEditDBRegisteredRepositoryItems();
  return registry;
}

const char* FieldTypeDefaultItemClassName(TFieldType FieldType) {
  switch (FieldType) {
    case ftBoolean: return "TcxEditRepositoryCheckBoxItem";
    case ftDate:
    case ftDateTime:
    case ftTimeStamp: return "TcxEditRepositoryDateItem";
    case ftTime: return "TcxEditRepositoryTimeItem";
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary: return "TcxEditRepositoryBlobItem";
    case ftMemo: return "TcxEditRepositoryMemoItem";
    case ftGraphic: return "TcxEditRepositoryImageItem";
    default: return "";
  }
}

namespace {

constexpr Integer kStartupVersion = -1;
constexpr Integer kStartupPriority = -1;

// A new item of the repository, nil when the class is not found.
TcxEditRepositoryItem* NewItem(TcxEditRepository* Repository, TcxItemClassResolver Resolve,
                               const char* ItemClassName) {
  TClass cls = *ItemClassName ? Resolve(ItemClassName) : nullptr;
  if (!cls || !cls->InheritsFrom(TcxEditRepositoryItem::StaticClass())) return nullptr;
  return Repository->NewRepositoryItem(cls);
}

bool HasEntry(const TcxEditRegisteredRepositoryItemEntries& Entries, NativeInt Key, Integer Version) {
  Integer index = 0;
  return TcxEditRegisteredRepositoryItems::FindEntry(Entries, Key, Version, index);
}

}  // namespace

void FillDBRepositoryItems(TcxEditDBRegisteredRepositoryItems* Registry, TcxEditRepository* Repository,
                           TcxItemClassResolver Resolve) {
  if (!HasEntry(Registry->DefaultEntries(), 0, kStartupPriority))
    if (TcxEditRepositoryItem* item = NewItem(Repository, Resolve, "TcxEditRepositoryMaskItem"))
      Registry->RegisterDefaultItem(kStartupPriority, item);
  if (Registry->CurrencyItem() == Registry->FirstDefaultItem())
    if (TcxEditRepositoryItem* item = NewItem(Repository, Resolve, "TcxEditRepositoryCurrencyItem"))
      Registry->RegisterCurrencyItem(kStartupVersion, item);
  for (Integer t = ftUnknown; t <= ftFMTBcd; ++t) {
    const auto fieldType = static_cast<TFieldType>(t);
    if (HasEntry(Registry->RegisteredEntries(), t, kStartupVersion)) continue;
    if (TcxEditRepositoryItem* item = NewItem(Repository, Resolve, FieldTypeDefaultItemClassName(fieldType)))
      Registry->RegisterItem(fieldType, kStartupVersion, item);
  }
}

void EmptyDBRepositoryItems(TcxEditDBRegisteredRepositoryItems* Registry) {
  Registry->UnregisterDefaultItem(kStartupPriority);
  for (Integer t = ftUnknown; t <= ftFMTBcd; ++t) Registry->UnregisterItem(static_cast<TFieldType>(t), kStartupVersion);
}

void FillDataRepositoryItems(TcxEditDataRegisteredRepositoryItems* Registry, TcxEditRepository* Repository,
                             TcxItemClassResolver Resolve, const std::vector<TcxValueTypeDefaultItem>& ValueTypeItems) {
  if (!HasEntry(Registry->DefaultEntries(), 0, kStartupPriority))
    if (TcxEditRepositoryItem* item = NewItem(Repository, Resolve, "TcxEditRepositoryTextItem"))
      Registry->RegisterDefaultItem(kStartupPriority, item);
  for (const TcxValueTypeDefaultItem& entry : ValueTypeItems) {
    if (HasEntry(Registry->RegisteredEntries(), reinterpret_cast<NativeInt>(entry.ValueTypeClass), kStartupVersion))
      continue;
    if (TcxEditRepositoryItem* item = NewItem(Repository, Resolve, entry.ItemClassName))
      Registry->RegisterItem(entry.ValueTypeClass, kStartupVersion, item);
  }
}

void EmptyDataRepositoryItems(TcxEditDataRegisteredRepositoryItems* Registry,
                              const std::vector<TcxValueTypeDefaultItem>& ValueTypeItems) {
  Registry->UnregisterDefaultItem(kStartupPriority);
  for (const TcxValueTypeDefaultItem& entry : ValueTypeItems)
    Registry->UnregisterItem(entry.ValueTypeClass, kStartupVersion);
}

void RegisterDefaultDBRepositoryItems() {
  FillDBRepositoryItems(GetDefaultEditDBRepositoryItems(), DefaultEditRepository(), &GetClass);
}
