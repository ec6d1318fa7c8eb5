#include "platform/rtl/Components.h"

#include <algorithm>

#include "platform/rtl/Classes.h"
#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/OwnedObject.h"
#include "platform/rtl/ScopeExit.h"

VXN_IMPLEMENT_CLASS(EComponentError, Exception)
VXN_IMPLEMENT_CLASS(TFiler, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TPersistent, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TInterfacedPersistent, TPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TComponent, TPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TCollectionItem, TPersistent)
VXN_IMPLEMENT_CLASS(TCollection, TPersistent)
VXN_IMPLEMENT_CLASS(TOwnedCollection, TCollection)

VXN_PUBLISH(TComponent) {
  // The name goes into the object header of a stream, not among the values.
  P.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
  P.Property("Tag", &TComponent::Tag).Default(0);
}

// ---------------------------------------------------------------------------
// TPersistent

void TPersistent::Assign(TPersistent* Source) {
  if (Source)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  std::string sourceName = Source ? Source->ClassName() : std::string("nil");
  throw EConvertError(SAssignError, {sourceName, ClassName()});
}

std::string TPersistent::GetNamePath() {
  TPersistent* owner = GetOwner();
  std::string ownerPath = owner ? owner->GetNamePath() : std::string();
  return ownerPath.empty() ? ClassName() : ownerPath;
}

// ---------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  RemoveGlobalRoot(this);
  // Everyone who asked hears of the removal; their requests lapse with it.
  while (!FreeNotifies_.empty()) {
    TComponent* other = FreeNotifies_.back();
    FreeNotifies_.pop_back();
    other->RemoveNotification(this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (Owner_) Owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() { Destroying(); }

void TComponent::Destroying() {
  if (State_.Contains(csDestroying)) return;
  State_.Include(csDestroying);
  for (TComponent* c : Components_) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!Components_.empty()) {
    TComponent* c = Components_.back();
    Remove(c);
    c->Free();
  }
}

TComponent* TComponent::Components(Integer Index) const {
  if (Index < 0 || Index >= ComponentCount()) throw EListError(SListIndexError, {Index});
  return Components_[static_cast<size_t>(Index)];
}

Integer TComponent::ComponentIndex() const {
  if (!Owner_) return -1;
  auto& list = Owner_->Components_;
  return static_cast<Integer>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::SetComponentIndex(Integer Value) {
  if (!Owner_) return;
  auto& list = Owner_->Components_;
  Integer current = ComponentIndex();
  Value = std::clamp<Integer>(Value, 0, static_cast<Integer>(list.size()) - 1);
  if (current == Value) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

void TComponent::SetName(const std::string& NewName) {
  if (Name_ == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName)) throw EComponentError(SInvalidName, {NewName});
  if (Owner_)
    Owner_->ValidateRename(this, Name_, NewName);
  else
    ValidateRename(nullptr, Name_, NewName);
  ChangeName(NewName);
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName) {
  if (AComponent && !SameText(CurName, NewName)) {
    TComponent* other = FindComponent(NewName);
    if (other && other != AComponent) throw EComponentError(SDuplicateName, {NewName});
  }
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : Components_)
    if (SameText(c->Name_, AName)) return c;
  return nullptr;
}

void TComponent::SetState(TComponentStateItem Item, bool On) {
  if (On)
    State_.Include(Item);
  else
    State_.Exclude(Item);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  SetState(csDesigning, Value);
  if (SetChildren)
    for (TComponent* c : Components_) c->SetDesigning(Value, true);
}

void TComponent::SetInline(bool Value) { SetState(csInline, Value); }

void TComponent::InsertComponent(TComponent* AComponent) {
  ValidateInsert(AComponent);
  if (!AComponent->Name_.empty()) ValidateRename(AComponent, std::string(), AComponent->Name_);
  if (AComponent->Owner_) AComponent->Owner_->RemoveComponent(AComponent);
  Insert(AComponent);
  if (State_.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent->Owner_ != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  Components_.push_back(AComponent);
  AComponent->Owner_ = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto it = std::find(Components_.begin(), Components_.end(), AComponent);
  if (it != Components_.end()) Components_.erase(it);
  AComponent->Owner_ = nullptr;
}

// The owner passes every notice on to what it owns, so siblings hear of each
// other without asking.
void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  for (size_t i = 0; i < Components_.size(); ++i) {
    TComponent* c = Components_[i];
    if (c != AComponent) c->Notification(AComponent, Operation);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FreeNotifies_.begin(), FreeNotifies_.end(), AComponent) == FreeNotifies_.end()) {
    FreeNotifies_.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  State_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  if (AComponent) AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto it = std::find(FreeNotifies_.begin(), FreeNotifies_.end(), AComponent);
  if (it != FreeNotifies_.end()) FreeNotifies_.erase(it);
}

void TComponent::Loaded() { State_.Exclude(csLoading); }

void TComponent::ReadState(TReader& Reader) { Reader.ReadData(this); }

void TComponent::WriteState(TWriter& Writer) { Writer.WriteData(this); }

TComponent* CreateComponent(TClass ComponentClass, TComponent* AOwner) {
  if (!ComponentClass->InheritsFrom(TComponent::StaticClass()) || !ComponentClass->OwnerFactory)
    throw EClassNotFound(SClassNotFound, {std::string(ComponentClass->Name)});
  return static_cast<TComponent*>(CreateInstance(ComponentClass, AOwner));
}

namespace {
std::vector<TComponent*>& GlobalRoots() {
  static std::vector<TComponent*> roots;
  return roots;
}
}  // namespace

void AddGlobalRoot(TComponent* Root) {
  auto& roots = GlobalRoots();
  if (std::find(roots.begin(), roots.end(), Root) == roots.end()) roots.push_back(Root);
  ResolvePendingReferences();
}

void RemoveGlobalRoot(TComponent* Root) {
  auto& roots = GlobalRoots();
  roots.erase(std::remove(roots.begin(), roots.end(), Root), roots.end());
  ForgetPendingReferences(Root);
}

TComponent* FindGlobalComponent(std::string_view Name) {
  for (TComponent* root : GlobalRoots())
    if (SameText(root->Name(), Name)) return root;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Collections

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (Collection_ == Value) return;
  if (Collection_) Collection_->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

Integer TCollectionItem::Index() const {
  if (!Collection_) return -1;
  auto& items = Collection_->Items_;
  return static_cast<Integer>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
  Integer current = Index();
  if (current < 0 || current == Value) return;
  auto& items = Collection_->Items_;
  Value = std::clamp<Integer>(Value, 0, static_cast<Integer>(items.size()) - 1);
  items.erase(items.begin() + current);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

void TCollectionItem::SetDisplayName(const std::string&) { Changed(false); }

TPersistent* TCollectionItem::GetOwner() { return Collection_; }

std::string TCollectionItem::GetNamePath() {
  if (!Collection_) return ClassName();
  return Collection_->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (Collection_ && Collection_->UpdateCount_ == 0) Collection_->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TClass ItemClass) : ItemClass_(ItemClass) {}

TCollection::~TCollection() {
  UpdateCount_ = 1;  // no notices while the list goes
  Clear();
}

TCollectionItem* TCollection::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
  return Items_[static_cast<size_t>(Index)];
}

TCollectionItem* TCollection::Add() {
  OwnedObject<TObject> made(CreateInstance(ItemClass_, this));
  auto* item = dynamic_cast<TCollectionItem*>(made.get());
  if (!item) throw EListError(SInvalidCollectionItem, {std::string(ItemClass_->Name), ClassName()});
  made.release();  // the item is in the list now, which frees it
  return item;
}

TCollectionItem* TCollection::Insert(Integer Index) {
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(Integer Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  item->Free();  // leaves the list as it goes
}

// The collection frees its items (Delete, Clear, its destructor); an item
// freed elsewhere, or moved to another collection, leaves the list itself.
void TCollection::Clear() {
  if (Items_.empty()) return;
  BeginUpdate();
  while (!Items_.empty()) Items_.back()->Free();
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  for (TCollectionItem* item : Items_)
    if (item->ID_ == ID) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++UpdateCount_; }

void TCollection::EndUpdate() {
  if (UpdateCount_ > 0 && --UpdateCount_ == 0) Changed();
}

void TCollection::Changed() {
  if (UpdateCount_ == 0) Update(nullptr);
}

void TCollection::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TCollection*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  ScopeExit updated([this] { EndUpdate(); });
  Clear();
  for (TCollectionItem* item : other->Items_) Add()->Assign(item);
}

std::string TCollection::GetNamePath() {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  std::string ownerPath = owner->GetNamePath();
  return ownerPath.empty() ? ClassName() : ownerPath + "." + ClassName();
}

// Called from the item's constructor, where its class cannot be asked yet;
// Add checks the class of the items it makes.
void TCollection::InsertItem(TCollectionItem* Item) {
  Items_.push_back(Item);
  Item->Collection_ = this;
  Item->ID_ = NextID_++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  auto it = std::find(Items_.begin(), Items_.end(), Item);
  if (it != Items_.end()) Items_.erase(it);
  Item->Collection_ = nullptr;
  Changed();
}

// ---------------------------------------------------------------------------

std::string GUIDToString(const TGUID& g) {
  std::string s = "{" + IntToHex(g.D1, 8) + "-" + IntToHex(g.D2, 4) + "-" + IntToHex(g.D3, 4) + "-";
  for (int i = 0; i < 8; ++i) {
    if (i == 2) s += "-";
    s += IntToHex(g.D4[i], 2);
  }
  return s + "}";
}
