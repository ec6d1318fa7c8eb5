#include "suite/foundation/cxClasses.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

VXN_IMPLEMENT_CREATABLE_CLASS(TcxInterfacedPersistent, TInterfacedPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxComponent, TComponent)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxObjectList, TList)
VXN_IMPLEMENT_CLASS(TcxRegisteredClasses, TObject)
VXN_IMPLEMENT_CLASS(TcxRegisteredClassListItemData, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxRegisteredClassList, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxAutoWidthItem, TObject)
VXN_IMPLEMENT_CLASS(TcxAutoWidthObject, TObject)
VXN_IMPLEMENT_CLASS(TcxObjectLink, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxObjectLinkController, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFreeNotificator, TComponent)

VXN_PUBLISH(TcxComponent) {
  P.Property("FakeComponentLink1", &TcxComponent::GetFakeComponentLink1, &TcxComponent::SetFakeComponentLink1);
  P.Property("FakeComponentLink2", &TcxComponent::GetFakeComponentLink2, &TcxComponent::SetFakeComponentLink2);
  P.Property("FakeComponentLink3", &TcxComponent::GetFakeComponentLink3, &TcxComponent::SetFakeComponentLink3);
}

namespace {

[[noreturn]] void ListIndexError(Integer index) { throw EListError(Format(SListIndexError, {index})); }

}  // namespace

// ---------------------------------------------------------------------------

TPersistent* GetPersistentOwner(TPersistent* APersistent) {
  return APersistent ? APersistent->GetOwner() : nullptr;
}

// ---------------------------------------------------------------------------

TcxComponent::TcxComponent(TComponent* AOwner) : TComponent(AOwner) {}

TcxComponent::~TcxComponent() { ClearObjectLinks(this); }

void TcxComponent::BeforeDestruction() {
  if (!ComponentState().Contains(csDestroying)) Destroying();
  TComponent::BeforeDestruction();
}

// A linked component is watched, so that a link never outlives it (the
// original kept a dangling link when the component died).
void TcxComponent::SetFakeComponentLink(Integer Index, TComponent* Value) {
  if (FFakeLinks[Index] == Value) return;
  FFakeLinks[Index] = Value;
  if (Value) Value->FreeNotification(this);
}

void TcxComponent::Loaded() {
  TComponent::Loaded();
  UpdateFakeLinks();
}

void TcxComponent::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove)
    for (TComponent*& link : FFakeLinks)
      if (link == AComponent) link = nullptr;
}

void TcxComponent::UpdateFakeLinks() {
  const TComponentState state = ComponentState();
  if (!state.Contains(csDesigning) || state.Contains(csDestroying) || !Owner()) return;
  TList links;
  GetFakeComponentLinks(&links);
  for (Integer i = 0; i < FakeComponentLinkCount; ++i)
    SetFakeComponentLink(i, i < links.Count() ? static_cast<TComponent*>(links.Items(i)) : nullptr);
}

// ---------------------------------------------------------------------------

TcxObjectList::~TcxObjectList() { Clear(); }

void TcxObjectList::Clear() {
  for (Integer i = 0; i < Count(); ++i) {
    auto* item = static_cast<TObject*>(Items(i));
    if (item) item->Free();
  }
  TList::Clear();
}

// ---------------------------------------------------------------------------

TcxRegisteredClasses::~TcxRegisteredClasses() { ClearEntries(); }

void TcxRegisteredClasses::Register(TClass AClass, const std::string& ADescription) {
  if (IndexOfClass(AClass) >= 0) return;
  FEntries.push_back({ADescription, AClass});
  if (FSorted) SortEntries();
  if (FRegisterClasses) RegisterClass(AClass);
}

void TcxRegisteredClasses::Unregister(TClass AClass) {
  const Integer index = IndexOfClass(AClass);
  if (index >= 0) FEntries.erase(FEntries.begin() + index);
}

void TcxRegisteredClasses::ClearEntries() { FEntries.clear(); }

Integer TcxRegisteredClasses::IndexOfClass(TClass AClass) const {
  for (size_t i = 0; i < FEntries.size(); ++i)
    if (FEntries[i].Class == AClass) return static_cast<Integer>(i);
  return -1;
}

const TcxRegisteredClasses::Entry& TcxRegisteredClasses::EntryAt(Integer Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FEntries[static_cast<size_t>(Index)];
}

TClass TcxRegisteredClasses::Items(Integer Index) const { return EntryAt(Index).Class; }

const std::string& TcxRegisteredClasses::Descriptions(Integer Index) const { return EntryAt(Index).Description; }

std::string TcxRegisteredClasses::NameOf(Integer Index) const { return DescriptionName(EntryAt(Index).Description); }

void TcxRegisteredClasses::AssignSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (FSorted) SortEntries();
}

Integer TcxRegisteredClasses::CompareEntries(const Entry& A, const Entry& B) const {
  return AnsiCompareText(DescriptionName(A.Description), DescriptionName(B.Description));
}

void TcxRegisteredClasses::SortEntries() {
  std::stable_sort(FEntries.begin(), FEntries.end(),
                   [this](const Entry& a, const Entry& b) { return CompareEntries(a, b) < 0; });
}

// ---------------------------------------------------------------------------

TcxRegisteredClassList::~TcxRegisteredClassList() = default;

bool TcxRegisteredClassList::FindEntry(TClass AItemClass, Integer& Index) const {
  for (Integer i = Count() - 1; i >= 0; --i) {
    const TClass entryClass = FItems[static_cast<size_t>(i)]->ItemClass;
    if (AItemClass->InheritsFrom(entryClass)) {
      Index = i;
      return true;
    }
    if (entryClass->InheritsFrom(AItemClass)) Index = i;
  }
  return false;
}

void TcxRegisteredClassList::Register(TClass AItemClass, TClass ARegisteredClass) {
  auto item = std::make_unique<TcxRegisteredClassListItemData>(AItemClass, ARegisteredClass);
  Integer index = -1;
  if (FindEntry(AItemClass, index))
    FItems.insert(FItems.begin() + index + 1, std::move(item));
  else if (index == -1)
    FItems.push_back(std::move(item));
  else
    FItems.insert(FItems.begin() + index, std::move(item));
}

void TcxRegisteredClassList::Unregister(TClass AItemClass, TClass ARegisteredClass) {
  for (Integer i = Count() - 1; i >= 0; --i) {
    const auto& item = *FItems[static_cast<size_t>(i)];
    if (item.ItemClass == AItemClass && item.RegisteredClass == ARegisteredClass) FItems.erase(FItems.begin() + i);
  }
}

const TcxRegisteredClassListItemData& TcxRegisteredClassList::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return *FItems[static_cast<size_t>(Index)];
}

// ---------------------------------------------------------------------------

TcxAutoWidthObject::TcxAutoWidthObject(Integer ACapacity) {
  if (ACapacity > 0) FItems.reserve(static_cast<size_t>(ACapacity));
}

TcxAutoWidthObject::~TcxAutoWidthObject() = default;

TcxAutoWidthItem* TcxAutoWidthObject::AppendItem() {
  FItems.push_back(std::make_unique<TcxAutoWidthItem>());
  return FItems.back().get();
}

TcxAutoWidthItem* TcxAutoWidthObject::ItemAt(Integer Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[static_cast<size_t>(Index)].get();
}

Integer TcxAutoWidthObject::TotalWidth() const {
  Integer total = 0;
  for (const auto& item : FItems) total += item->Width;
  return total;
}

namespace {

// a * b / c rounded to nearest, as MulDiv does, over the 64-bit sums of the
// distribution (their products need more than 64 bits).
Int64 MulDivWide(Int64 a, Int64 b, Int64 c) {
  const __int128 product = static_cast<__int128>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const unsigned __int128 p = product < 0 ? -static_cast<unsigned __int128>(product) : product;
  const unsigned __int128 d = c < 0 ? -static_cast<unsigned __int128>(c) : static_cast<unsigned __int128>(c);
  const auto q = static_cast<Int64>((2 * p + d) / (2 * d));
  return negative ? -q : q;
}

}  // namespace

// The sums run in 64 bits: widths near the integer limit overflowed them in
// the original. Items still without a width when nothing is left to serve
// (all widths 0) get their minimum, never the -1 of "not calculated".
void TcxAutoWidthObject::DistributeWidths() {
  Int64 available = AvailableWidth;  // still to hand out
  Int64 requested = 0;               // requested width still to serve
  for (const auto& item : FItems) requested += item->Width;
  for (const auto& item : FItems)
    if (item->Fixed) {
      item->AutoWidth = item->Width;
      available -= item->Width;
      requested -= item->Width;
    }
  // Normal passes pin the items whose share would fall below their minimum
  // and start again with what is left; the first pass without a pin is
  // followed by the final pass, which hands out the shares.
  bool finalPass = false;
  while (requested != 0) {
    const Int64 a = available, w = requested;
    Int64 sum = 0;
    bool pinned = false;
    for (const auto& item : FItems) {
      if (item->AutoWidth != -1) continue;
      // Shares from the running sum add up exactly to a.
      const Int64 share = MulDivWide(sum + item->Width, a, w) - MulDivWide(sum, a, w);
      if (finalPass) {
        item->AutoWidth = static_cast<Integer>(share);
      } else if (item->MinWidth >= share) {
        item->AutoWidth = item->MinWidth;
        available -= item->MinWidth;
        requested -= item->Width;
        pinned = true;
      }
      sum += item->Width;
    }
    if (finalPass) break;
    finalPass = !pinned;
  }
  for (const auto& item : FItems)
    if (item->AutoWidth == -1) item->AutoWidth = std::max<Integer>(0, item->MinWidth);
}

// ---------------------------------------------------------------------------

namespace {

TcxObjectLinkController* g_linkController = nullptr;
Integer g_linkControllerUses = 0;

}  // namespace

TcxObjectLink* TcxObjectLinkController::AddLink(TObject* AObject) {
  auto* link = new TcxObjectLink(AObject);
  FLinks.push_back(link);
  return link;
}

void TcxObjectLinkController::RemoveLink(TcxObjectLink* ALink) {
  if (ALink->Ref) {
    auto it = std::find(FLinks.begin(), FLinks.end(), ALink);
    if (it != FLinks.end()) FLinks.erase(it);
  }
  ALink->Free();
}

void TcxObjectLinkController::ClearLinks(TObject* AObject) {
  for (size_t i = FLinks.size(); i-- > 0;)
    if (FLinks[i]->Ref == AObject) {
      FLinks[i]->Ref = nullptr;
      FLinks.erase(FLinks.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

TcxObjectLink* AddObjectLink(TObject* AObject) {
  if (g_linkControllerUses++ == 0) g_linkController = new TcxObjectLinkController;
  return g_linkController->AddLink(AObject);
}

void RemoveObjectLink(TcxObjectLink* ALink) {
  if (!ALink || !g_linkController) return;
  g_linkController->RemoveLink(ALink);
  if (--g_linkControllerUses == 0) FreeAndNil(g_linkController);
}

void ClearObjectLinks(TObject* AObject) {
  if (g_linkController) g_linkController->ClearLinks(AObject);
}

// ---------------------------------------------------------------------------

void TcxFreeNotificator::AddSender(TComponent* ASender) {
  if (ASender) ASender->FreeNotification(this);
}

void TcxFreeNotificator::RemoveSender(TComponent* ASender) {
  if (ASender) ASender->RemoveFreeNotification(this);
}

void TcxFreeNotificator::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && OnFreeNotification) OnFreeNotification(AComponent);
}

// ---------------------------------------------------------------------------

std::string TranslateResourceString(std::string_view resourceText) { return std::string(resourceText); }

std::string DescriptionName(std::string_view description) {
  return std::string(description.substr(0, description.find('|')));
}

TSize MakeSize(Integer width, Integer height) { return {width, height}; }

Integer AverageDown(Integer a, Integer b) {
  const int64_t sum = static_cast<int64_t>(a) + b;
  // Shifting rounds towards minus infinity, unlike division.
  return static_cast<Integer>(sum >> 1);
}
