#include "suite/editors/cxEditRepository.h"

#include <algorithm>

#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/TypInfo.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepositoryItem, TComponent)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxEditRepository, TComponent)

VXN_PUBLISH(TcxEditRepositoryItem) {
  P.Event("PropertiesEvents", &TcxEditRepositoryItem::PropertiesEvents);
}

TcxEditRepositoryItem::TcxEditRepositoryItem(TComponent* AOwner)
    : TcxEditRepositoryItem(AOwner, TcxCustomEditProperties::StaticClass()) {}

TcxEditRepositoryItem::TcxEditRepositoryItem(TComponent* AOwner, TcxCustomEditPropertiesClass APropertiesClass)
    : TComponent(AOwner) {
  FProperties = CreateEditProperties(APropertiesClass, this);
  FProperties->OnPropertiesChanged = TNotifyEvent(this, &TcxEditRepositoryItem::NotifyListeners);
}

TcxEditRepositoryItem::~TcxEditRepositoryItem() {
  // A listener usually leaves the list when told.
  for (size_t i = FListeners.size(); i > 0; --i) {
    if (i > FListeners.size()) continue;
    FListeners[i - 1]->ItemRemoved(this);
  }
  SetRepository(nullptr);
  FProperties->OnPropertiesChanged = nullptr;
  FProperties.reset();
}

TcxCustomEditPropertiesClass TcxEditRepositoryItem::PropertiesClass() {
  return TcxCustomEditProperties::StaticClass();
}

void TcxEditRepositoryItem::NotifyListeners(TObject*) {
  const std::vector<IcxRepositoryItemListener*> listeners = FListeners;
  for (size_t i = listeners.size(); i > 0; --i) {
    IcxRepositoryItemListener* listener = listeners[i - 1];
    if (std::find(FListeners.begin(), FListeners.end(), listener) != FListeners.end())
      listener->PropertiesChanged(this);
  }
}

void TcxEditRepositoryItem::AddListener(IcxRepositoryItemListener* Listener) {
  if (!Listener || std::find(FListeners.begin(), FListeners.end(), Listener) != FListeners.end()) return;
  FListeners.push_back(Listener);
}

void TcxEditRepositoryItem::RemoveListener(IcxRepositoryItemListener* Listener) {
  FListeners.erase(std::remove(FListeners.begin(), FListeners.end(), Listener), FListeners.end());
}

TComponent* TcxEditRepositoryItem::GetParentComponent() const { return FRepository; }

void TcxEditRepositoryItem::SetParentComponent(TComponent* Value) {
  // While loading, ReadState attaches the item to the reader's parent.
  if (ComponentState().Contains(csLoading)) return;
  SetRepository(dynamic_cast<TcxEditRepository*>(Value));
}

void TcxEditRepositoryItem::ReadState(TReader& Reader) {
  TComponent::ReadState(Reader);
  SetRepository(dynamic_cast<TcxEditRepository*>(Reader.Parent));
}

void TcxEditRepositoryItem::SetRepository(TcxEditRepository* Value) {
  if (Value == FRepository) return;
  TcxEditRepository* old = FRepository;
  FRepository = nullptr;
  if (old) old->RemoveItem(this);
  FRepository = Value;
  if (Value) Value->AddItem(this);
}

// ---------------------------------------------------------------------------

TcxEditRepository::TcxEditRepository(TComponent* AOwner) : TComponent(AOwner) {}

TcxEditRepository::~TcxEditRepository() { Clear(); }

TcxEditRepositoryItem* TcxEditRepository::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
  return FItems[static_cast<size_t>(Index)];
}

TcxEditRepositoryItem* TcxEditRepository::NewRepositoryItem(TcxEditRepositoryItemClass AItemClass) {
  return CreateItemOwnedBy(AItemClass, this);
}

TcxEditRepositoryItem* TcxEditRepository::CreateItemOwnedBy(TcxEditRepositoryItemClass AItemClass,
                                                           TComponent* AOwner) {
  TComponent* component = CreateComponent(AItemClass, AOwner);
  auto* item = dynamic_cast<TcxEditRepositoryItem*>(component);
  if (!item) {
    component->Free();
    throw EClassNotFound(SClassNotFound, {std::string(AItemClass->Name)});
  }
  item->SetRepository(this);
  return item;
}

void TcxEditRepository::AddItem(TcxEditRepositoryItem* AItem) {
  if (!AItem || std::find(FItems.begin(), FItems.end(), AItem) != FItems.end()) return;
  FItems.push_back(AItem);
  if (AItem->Repository() != this) AItem->SetRepository(this);
}

void TcxEditRepository::RemoveItem(TcxEditRepositoryItem* AItem) {
  auto it = std::find(FItems.begin(), FItems.end(), AItem);
  if (it == FItems.end()) return;
  FItems.erase(it);
  if (AItem->Repository() == this) AItem->SetRepository(nullptr);
}

void TcxEditRepository::Clear() {
  while (!FItems.empty()) FItems.back()->Free();
}

void TcxEditRepository::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TcxEditRepositoryItem* item : FItems)
    if (item->Owner() == Root) Proc(item);
}

// ---------------------------------------------------------------------------

TcxEditRepository* DefaultEditRepository() {
  static TcxEditRepository* repository = new TcxEditRepository(nullptr);
  return repository;
}

TcxRegisteredClasses* GetRegisteredEditProperties() {
  static TcxRegisteredClasses* registry = [] {
    auto* classes = new TcxRegisteredClasses(false);
    classes->AssignSorted(true);
    return classes;
  }();
  return registry;
}

void RegisterEditRepositoryClasses() {
  RegisterClasses({TcxEditRepositoryItem::StaticClass(), TcxEditRepository::StaticClass()});
}
