#include "suite/data/cxFilter.h"

#include <algorithm>
#include <exception>

#include "platform/rtl/ComponentStreams.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "suite/data/cxDataStreams.h"
#include "suite/data/cxFilterConsts.h"
#include "suite/data/cxFilterValueList.h"
#include "suite/foundation/cxVariants.h"

VXN_IMPLEMENT_CLASS(TcxCustomFilterCriteriaItem, TObject)
VXN_IMPLEMENT_CLASS(TcxFilterCriteriaItemList, TcxCustomFilterCriteriaItem)
VXN_IMPLEMENT_CLASS(TcxFilterCriteriaItem, TcxCustomFilterCriteriaItem)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterCriteria, TPersistent)
VXN_IMPLEMENT_CREATABLE_CLASS(TFilterWrapper, TComponent)

VXN_PUBLISH(TcxFilterCriteria) {
  P.Property("MaxValueListCount", &TcxFilterCriteria::MaxValueListCount, &TcxFilterCriteria::SetMaxValueListCount)
      .Default(0);
  P.Property("Options", &TcxFilterCriteria::Options, &TcxFilterCriteria::SetOptions);
  P.Property("PercentWildcard", &TcxFilterCriteria::PercentWildcard, &TcxFilterCriteria::SetPercentWildcard)
      .Default('%');
  P.Property("UnderscoreWildcard", &TcxFilterCriteria::UnderscoreWildcard, &TcxFilterCriteria::SetUnderscoreWildcard)
      .Default('_');
  P.Event("OnChanged", &TcxFilterCriteria::OnChanged);
}

VXN_PUBLISH(TFilterWrapper) { P.Property("Filter", &TFilterWrapper::Filter, &TFilterWrapper::SetFilter); }

namespace {

[[noreturn]] void RaiseReadError() { throw EReadError(SReadError); }

// Restores the lock of an update bracket whatever happens inside it; the
// pending change is applied by the release.
class CriteriaUpdate {
 public:
  explicit CriteriaUpdate(TcxFilterCriteria* criteria)
      : criteria_(criteria), unwinding_(std::uncaught_exceptions()) {
    criteria_->BeginCriteriaUpdate();
  }
  ~CriteriaUpdate() noexcept(false) {
    if (cancel_) {
      criteria_->CancelCriteriaUpdate();
    } else if (std::uncaught_exceptions() > unwinding_) {
      // The first error is the one to report: a change handler failing now
      // must not end the program.
      try {
        criteria_->EndCriteriaUpdate();
      } catch (...) {
      }
    } else {
      criteria_->EndCriteriaUpdate();
    }
  }
  void CancelOnExit() { cancel_ = true; }
  CriteriaUpdate(const CriteriaUpdate&) = delete;
  CriteriaUpdate& operator=(const CriteriaUpdate&) = delete;

 private:
  TcxFilterCriteria* criteria_;
  int unwinding_;
  bool cancel_ = false;
};

// Holds the notices of these criteria while a tree that is not theirs yet is
// built, and forgets them afterwards, whatever happens.
class NoticesHeld {
 public:
  explicit NoticesHeld(TcxFilterCriteria* criteria, bool& changed, Integer& lockCount)
      : changed_(changed), lockCount_(lockCount), changedBefore_(changed) {
    (void)criteria;
    ++lockCount_;
  }
  ~NoticesHeld() {
    --lockCount_;
    changed_ = changedBefore_;
  }
  NoticesHeld(const NoticesHeld&) = delete;
  NoticesHeld& operator=(const NoticesHeld&) = delete;

 private:
  bool& changed_;
  Integer& lockCount_;
  bool changedBefore_;
};

}  // namespace

// --- nodes -----------------------------------------------------------------------------------

TcxCustomFilterCriteriaItem::~TcxCustomFilterCriteriaItem() {
  if (FParent) FParent->RemoveChild(this);
}

void TcxCustomFilterCriteriaItem::NotifyCriteriaChanged() {
  if (TcxFilterCriteria* criteria = OwnerCriteria()) criteria->CriteriaChanged();
}

TcxFilterCriteria* TcxCustomFilterCriteriaItem::OwnerCriteria() const {
  return FParent ? FParent->OwnerCriteria() : nullptr;
}

void TcxCustomFilterCriteriaItem::WriteNode(TStream* AStream) { PutBoolean(AStream, IsGroup()); }

TcxFilterCriteriaItemList::TcxFilterCriteriaItemList(TcxFilterCriteriaItemList* AParent,
                                                     TcxFilterBoolOperatorKind ABoolOperatorKind)
    : TcxCustomFilterCriteriaItem(AParent), FBoolOperatorKind(ABoolOperatorKind) {}

TcxFilterCriteriaItemList::~TcxFilterCriteriaItemList() {
  while (!FItems.empty()) FItems.back()->Free();
}

TcxFilterCriteria* TcxFilterCriteriaItemList::OwnerCriteria() const {
  return FCriteria ? FCriteria : TcxCustomFilterCriteriaItem::OwnerCriteria();
}

void TcxFilterCriteriaItemList::WriteNode(TStream* AStream) {
  TcxCustomFilterCriteriaItem::WriteNode(AStream);
  PutByte(AStream, static_cast<Byte>(FBoolOperatorKind));
  PutInt32(AStream, ChildCount());
  for (auto& child : FItems) child->WriteNode(AStream);
}

void TcxFilterCriteriaItemList::RemoveChild(TcxCustomFilterCriteriaItem* AItem) {
  const auto it = std::find_if(FItems.begin(), FItems.end(), [AItem](const auto& p) { return p.get() == AItem; });
  if (it == FItems.end()) return;
  it->release();
  FItems.erase(it);
  AItem->FParent = nullptr;
  NotifyCriteriaChanged();
}

void TcxFilterCriteriaItemList::AppendChild(TcxCustomFilterCriteriaItem* AItem) {
  AItem->FParent = this;
  FItems.emplace_back(AItem);
}

TcxFilterCriteriaItem* TcxFilterCriteriaItemList::AddCondition(TObject* AItemLink,
                                                               TcxFilterOperatorKind AOperatorKind,
                                                               const Variant& AValue,
                                                               const std::string& ADisplayValue) {
  TcxFilterCriteria* criteria = OwnerCriteria();
  if (!criteria) throw EInvalidOperation("The group belongs to no criteria");
  return criteria->AddCriteriaItem(this, AItemLink, AOperatorKind, AValue, ADisplayValue);
}

TcxFilterCriteriaItemList* TcxFilterCriteriaItemList::AddGroup(TcxFilterBoolOperatorKind ABoolOperatorKind) {
  auto* group = new TcxFilterCriteriaItemList(this, ABoolOperatorKind);
  AppendChild(group);
  NotifyCriteriaChanged();
  return group;
}

void TcxFilterCriteriaItemList::ClearGroup() {
  TcxFilterCriteria* criteria = OwnerCriteria();
  if (criteria) criteria->BeginCriteriaUpdate();
  while (!FItems.empty()) FItems.back()->Free();
  if (criteria) criteria->EndCriteriaUpdate();
}

TcxCustomFilterCriteriaItem* TcxFilterCriteriaItemList::ChildAt(Integer AIndex) const {
  return AIndex >= 0 && AIndex < ChildCount() ? FItems[static_cast<size_t>(AIndex)].get() : nullptr;
}

void TcxFilterCriteriaItemList::AssignBoolOperatorKind(TcxFilterBoolOperatorKind AValue) {
  if (FBoolOperatorKind == AValue) return;
  FBoolOperatorKind = AValue;
  NotifyCriteriaChanged();
}

// --- leaves --------------------------------------------------------------------------------------

TcxFilterCriteriaItem::TcxFilterCriteriaItem(TcxFilterCriteriaItemList* AParent, const std::string& ADisplayValue,
                                             const Variant& AValue, TcxFilterOperatorKind AOperatorKind,
                                             TObject* AItemLink)
    : TcxCustomFilterCriteriaItem(AParent),
      FDisplayValue(ADisplayValue),
      FItemLink(AItemLink),
      FOperatorKind(AOperatorKind),
      FValue(AValue) {
  RecreateOperator();
  if (FOperator->IsNullTest() && FDisplayValue.empty()) FDisplayValue = FilterResourceText(cxSFilterBlankCaption);
}

TcxFilterCriteriaItem::~TcxFilterCriteriaItem() = default;

void TcxFilterCriteriaItem::WriteNode(TStream* AStream) {
  TcxCustomFilterCriteriaItem::WriteNode(AStream);
  PutByte(AStream, static_cast<Byte>(FOperatorKind));
  PutText(AStream, FDisplayValue);
  TcxFilterCriteria* criteria = OwnerCriteria();
  PutInt32(AStream, criteria ? criteria->ItemLinkID(ItemLink()) : 0);
  PutVariant(AStream, FValue);
}

Variant TcxFilterCriteriaItem::RecordValueOf(Integer) { throw EAbstractError("Abstract error"); }

std::string TcxFilterCriteriaItem::DisplayValueText() {
  std::string text = FDisplayValue;
  FOperator->AdjustDisplayValue(text);
  return text;
}

std::string TcxFilterCriteriaItem::ValueText(bool ADescription) {
  if (ADescription) return DisplayValueText();
  std::string text;
  FOperator->ValueFilterText(FValue, text);
  return text;
}

std::string TcxFilterCriteriaItem::LinkCaption() { throw EAbstractError("Abstract error"); }
std::string TcxFilterCriteriaItem::LinkFieldName() { throw EAbstractError("Abstract error"); }

TClass TcxFilterCriteriaItem::OperatorClass() {
  const bool null = ValueIsNull(FValue);
  if (null && (FOperatorKind == foEqual || FOperatorKind == foLike)) return FilterOperatorClassOf(24);
  if (null && (FOperatorKind == foNotEqual || FOperatorKind == foNotLike)) return FilterOperatorClassOf(25);
  return FilterOperatorClassOf(FOperatorKind);
}

void TcxFilterCriteriaItem::RecreateOperator() {
  FOperator.reset();
  FOperator.reset(static_cast<TcxFilterOperator*>(OperatorClass()->OwnerFactory(this)));
  NotifyCriteriaChanged();
}

bool TcxFilterCriteriaItem::ValueIsNull(const Variant& AValue) {
  TcxFilterCriteria* criteria = OwnerCriteria();
  return criteria ? criteria->CriteriaValueIsNull(AValue) : VarIsNull(AValue);
}

bool TcxFilterCriteriaItem::EvaluateRecord(Integer ARecordIndex) {
  TcxFilterCriteria* criteria = OwnerCriteria();
  const TcxFilterCriteriaOptions options = criteria ? criteria->Options() : TcxFilterCriteriaOptions();
  try {
    Variant recordValue = RecordValueOf(ARecordIndex);
    Variant value = FValue;
    if (criteria) {
      recordValue = criteria->PrepareValue(recordValue);
      value = criteria->PrepareValue(value);
    }
    if (options.Contains(fcoIgnoreNull) && !FOperator->IsNullTest() && ValueIsNull(recordValue)) return false;
    return FOperator->Matches(recordValue, value);
  } catch (const EVariantError&) {
    if (options.Contains(fcoSoftCompare)) return false;
    throw;
  }
}

// --- criteria ------------------------------------------------------------------------------------

TcxFilterCriteria::TcxFilterCriteria() {
  FRoot = std::make_unique<TcxFilterCriteriaItemList>(nullptr, fboAnd);
  FRoot->FCriteria = this;
}

TcxFilterCriteria::~TcxFilterCriteria() {
  // The tree goes without notices.
  ++FLockCount;
  FRoot.reset();
}

void TcxFilterCriteria::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TcxFilterCriteria*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  CriteriaUpdate update(this);
  SetDateTimeFormat(source->DateTimeFormat());
  FMaxValueListCount = source->FMaxValueListCount;
  SetOptions(source->Options());
  SetPercentWildcard(source->PercentWildcard());
  FTranslateBetween = source->FTranslateBetween;
  FTranslateIn = source->FTranslateIn;
  FSupportedLike = source->FSupportedLike;
  SetUnderscoreWildcard(source->UnderscoreWildcard());
  AssignItems(source);
  AssignEvents(source);
}

void TcxFilterCriteria::CheckChanges() {
  if (!FChanged || FLockCount != 0) return;
  FChanged = false;
  PrepareOperators();
  DoChanged();
}

std::string TcxFilterCriteria::BooleanValueText(const Variant& AValue) { return VarToStr(AValue); }

std::string TcxFilterCriteria::DateValueText(const Variant& AValue) {
  if (FDateTimeFormat.empty()) return VarToStr(AValue);
  return FormatDateTime(FDateTimeFormat, VarToDateTime(AValue));
}

void TcxFilterCriteria::ValueTextHook(TcxFilterCriteriaItem*, const Variant&, std::string&) {}

std::string TcxFilterCriteria::GroupText(TcxFilterCriteriaItemList* AGroup, bool ADescription) {
  const TcxFilterBoolOperatorKind kind = AGroup->BoolOperatorKind();
  const bool isOr = kind == fboOr || kind == fboNotOr;
  const std::string word = ADescription ? FilterResourceText(isOr ? cxSFilterBoolOperatorOr : cxSFilterBoolOperatorAnd)
                                        : std::string(isOr ? "OR" : "AND");
  std::string text;
  for (Integer i = 0; i < AGroup->ChildCount(); ++i) {
    TcxCustomFilterCriteriaItem* child = AGroup->ChildAt(i);
    if (i > 0) text += " " + word + " ";
    if (child->IsGroup())
      text += "(" + GroupText(static_cast<TcxFilterCriteriaItemList*>(child), ADescription) + ")";
    else
      text += "(" + ItemText(static_cast<TcxFilterCriteriaItem*>(child), ADescription) + ")";
  }
  if (kind == fboNotAnd || kind == fboNotOr)
    text = (ADescription ? FilterResourceText(cxSFilterBoolOperatorNot) : std::string("NOT")) + " (" + text + ")";
  return text;
}

std::string TcxFilterCriteria::BuildText(bool ADescription) { return GroupText(FRoot.get(), ADescription); }

Integer TcxFilterCriteria::ItemLinkID(TObject*) { throw EAbstractError("Abstract error"); }
TObject* TcxFilterCriteria::ItemLinkByID(Integer) { throw EAbstractError("Abstract error"); }

std::string TcxFilterCriteria::ItemText(TcxFilterCriteriaItem* AItem, bool ADescription) {
  if (!ADescription && AItem->Operator()->UsesExpandedForm()) {
    std::string text;
    AItem->Operator()->ExpandedFilterText(AItem->Value(), text);
    return text;
  }
  const std::string value = ItemValueText(AItem, ADescription);
  std::string text = ItemNameText(AItem, ADescription) + " " + ItemOperatorText(AItem, ADescription);
  if (!value.empty()) text += " " + value;
  return text;
}

std::string TcxFilterCriteria::ItemNameText(TcxFilterCriteriaItem* AItem, bool ADescription) {
  return ADescription ? AItem->LinkCaption() : AItem->LinkFieldName();
}

std::string TcxFilterCriteria::ItemOperatorText(TcxFilterCriteriaItem* AItem, bool ADescription) {
  TcxFilterOperator* op = AItem->Operator();
  if (ADescription && (op->AlwaysDescribed() || FOptions.Contains(fcoShowOperatorDescription)))
    return op->Description();
  return op->Sign();
}

std::string TcxFilterCriteria::ItemValueText(TcxFilterCriteriaItem* AItem, bool ADescription) {
  return AItem->ValueText(ADescription);
}

void TcxFilterCriteria::PrepareOperators() {
  std::vector<TcxFilterCriteriaItemList*> pending{FRoot.get()};
  // Depth first in child order.
  while (!pending.empty()) {
    TcxFilterCriteriaItemList* group = pending.back();
    pending.pop_back();
    for (Integer i = group->ChildCount() - 1; i >= 0; --i) {
      TcxCustomFilterCriteriaItem* child = group->ChildAt(i);
      if (child->IsGroup())
        pending.push_back(static_cast<TcxFilterCriteriaItemList*>(child));
    }
    for (Integer i = 0; i < group->ChildCount(); ++i)
      if (!group->ChildAt(i)->IsGroup()) static_cast<TcxFilterCriteriaItem*>(group->ChildAt(i))->Operator()->PrepareRange();
  }
}

Variant TcxFilterCriteria::PrepareValue(const Variant& AValue) {
  const TVarType type = VarType(AValue);
  if (type == varCurrency) return Variant(AValue.AsDouble());
  if (type == varString || type == varOleStr) {
    if (FOptions.Contains(fcoCaseInsensitive)) return Variant(AnsiUpperCase(VarToStr(AValue)));
    return AValue;
  }
  // The string elements of in-list and between values fold like the record
  // value does; otherwise "abc" could never be found in ['abc'].
  if (VarIsArray(AValue) && FOptions.Contains(fcoCaseInsensitive) && VarArrayDimCount(AValue) == 1) {
    Variant folded = AValue;
    for (Integer i = VarArrayLowBound(AValue, 1); i <= VarArrayHighBound(AValue, 1); ++i)
      VarArrayPut(folded, PrepareValue(VarArrayGet(AValue, {i})), {i});
    return folded;
  }
  return AValue;
}

void TcxFilterCriteria::DoChanged() {
  if (OnChanged) OnChanged(this);
}

void TcxFilterCriteria::AssignEvents(TPersistent* Source) {
  if (auto* source = dynamic_cast<TcxFilterCriteria*>(Source)) OnChanged = source->OnChanged;
}

void TcxFilterCriteria::AssignItems(TcxFilterCriteria* Source) {
  if (SameCriteria(Source)) return;
  CriteriaUpdate update(this);
  ClearCriteria();
  TMemoryStream stream;
  Source->WriteCriteria(&stream);
  stream.SetPosition(0);
  ReadCriteria(&stream);
}

TcxFilterCriteriaItem* TcxFilterCriteria::AddCriteriaItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                                          TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                                          const std::string& ADisplayValue) {
  CriteriaUpdate update(this);
  TcxFilterCriteriaItemList* parent = AParent ? AParent : FRoot.get();
  TcxFilterCriteriaItem* result = CreateCriteriaItem(parent, ADisplayValue, AValue, AOperatorKind, AItemLink);
  parent->AppendChild(result);
  CriteriaChanged();
  return result;
}

TcxFilterCriteriaItem* TcxFilterCriteria::CreateCriteriaItem(TcxFilterCriteriaItemList* AParent,
                                                             const std::string& ADisplayValue, const Variant& AValue,
                                                             TcxFilterOperatorKind AOperatorKind, TObject* AItemLink) {
  return new TcxFilterCriteriaItem(AParent, ADisplayValue, AValue, AOperatorKind, AItemLink);
}

void TcxFilterCriteria::CriteriaChanged() {
  FChanged = true;
  CheckChanges();
}

TcxFilterCriteriaItem* TcxFilterCriteria::FindItemByLink(TObject* AItemLink) {
  std::vector<std::pair<TcxFilterCriteriaItemList*, Integer>> stack{{FRoot.get(), 0}};
  while (!stack.empty()) {
    auto& [group, next] = stack.back();
    if (next >= group->ChildCount()) {
      stack.pop_back();
      continue;
    }
    TcxCustomFilterCriteriaItem* child = group->ChildAt(next++);
    if (child->IsGroup()) {
      stack.emplace_back(static_cast<TcxFilterCriteriaItemList*>(child), 0);
    } else if (static_cast<TcxFilterCriteriaItem*>(child)->ItemLink() == AItemLink) {
      return static_cast<TcxFilterCriteriaItem*>(child);
    }
  }
  return nullptr;
}

void TcxFilterCriteria::ReadWrapped(TStream* AStream) {
  CriteriaUpdate update(this);
  TFilterWrapper wrapper(nullptr);
  wrapper.SetFilter(this);
  TReader reader(*AStream);
  reader.ReadRootComponent(&wrapper);
}

// The change handler belongs to the owner's form, which the wrapper cannot
// name: it is left out of the wrapped form, and reading keeps the one set.
void TcxFilterCriteria::WriteWrapped(TStream* AStream) {
  const TNotifyEvent handler = OnChanged;
  OnChanged = TNotifyEvent();
  struct Restore {
    TcxFilterCriteria* criteria;
    TNotifyEvent handler;
    ~Restore() { criteria->OnChanged = handler; }
  } restore{this, handler};
  TFilterWrapper wrapper(nullptr);
  wrapper.SetFilter(this);
  TWriter writer(*AStream);
  writer.WriteRootComponent(&wrapper);
}

void TcxFilterCriteria::RestoreDefaults() {
  CriteriaUpdate update(this);
  SetOptions({});
  SetPercentWildcard('%');
  FSupportedLike = true;
  FTranslateBetween = false;
  FTranslateIn = false;
  SetUnderscoreWildcard('_');
}

bool TcxFilterCriteria::CriteriaValueIsNull(const Variant& AValue) {
  return FOptions.Contains(fcoSoftNull) ? VarIsNullOrEmptyText(AValue) : VarIsNull(AValue);
}

void TcxFilterCriteria::WriteCriteria(TStream* AStream) {
  PutInt32(AStream, -1);
  PutByte(AStream, static_cast<Byte>(FRoot->BoolOperatorKind()));
  PutInt32(AStream, FRoot->ChildCount());
  for (Integer i = 0; i < FRoot->ChildCount(); ++i) FRoot->ChildAt(i)->WriteNode(AStream);
}

namespace {

Integer FetchCount(TStream* stream) {
  const Integer count = FetchInt32(stream);
  // Every node takes at least its is-group byte.
  if (count < 0 || count > stream->Size() - stream->Position()) RaiseReadError();
  return count;
}

TcxFilterBoolOperatorKind FetchBoolKind(TStream* stream) {
  const Byte kind = FetchByte(stream);
  if (kind > fboNotOr) RaiseReadError();
  return static_cast<TcxFilterBoolOperatorKind>(kind);
}

}  // namespace

void TcxFilterCriteria::ReadNodes(TStream* AStream, TcxFilterCriteriaItemList* AGroup, Integer ACount, int ADepth) {
  if (ADepth > cxFilterMaxNesting) RaiseReadError();
  for (Integer i = 0; i < ACount; ++i) {
    if (FetchByte(AStream) != 0) {
      TcxFilterCriteriaItemList* group = AGroup->AddGroup(FetchBoolKind(AStream));
      ReadNodes(AStream, group, FetchCount(AStream), ADepth + 1);
      group->ReadNodeExtra(AStream);
    } else {
      const Byte kind = FetchByte(AStream);
      if (kind > foNextYear) RaiseReadError();
      const std::string displayValue = FetchText(AStream);
      TObject* link = ItemLinkByID(FetchInt32(AStream));
      const Variant value = FetchVariant(AStream);
      AddCriteriaItem(AGroup, link, static_cast<TcxFilterOperatorKind>(kind), value, displayValue)
          ->ReadNodeExtra(AStream);
    }
  }
}

// The stream is read into a tree of its own; the criteria take it over only
// when every byte was good, so a bad stream leaves them as they were.
void TcxFilterCriteria::ReadCriteria(TStream* AStream) {
  std::unique_ptr<TcxFilterCriteriaItemList> fresh;
  {
    // Nodes added to the new tree notify these criteria; the notices are held
    // until the tree is theirs, and a tree left unfinished by an error goes
    // while they are still held.
    NoticesHeld held(this, FChanged, FLockCount);
    auto building = std::make_unique<TcxFilterCriteriaItemList>(nullptr, fboAnd);
    building->FCriteria = this;
    Integer count = FetchInt32(AStream);
    if (count == -1) {
      building->FBoolOperatorKind = FetchBoolKind(AStream);
      count = FetchCount(AStream);
    } else if (count < 0 || count > AStream->Size() - AStream->Position()) {
      RaiseReadError();
    }
    ReadNodes(AStream, building.get(), count, 1);
    fresh = std::move(building);
  }
  CriteriaUpdate update(this);
  FRoot->FCriteria = nullptr;
  std::swap(FRoot, fresh);
  fresh.reset();
  CriteriaChanged();
}

void TcxFilterCriteria::EndCriteriaUpdate() {
  --FLockCount;
  CheckChanges();
}

void TcxFilterCriteria::ClearCriteria() {
  CriteriaUpdate update(this);
  FRoot->ClearGroup();
  FRoot->AssignBoolOperatorKind(fboAnd);
}

bool TcxFilterCriteria::SameCriteria(TcxFilterCriteria* AOther) {
  TMemoryStream mine, theirs;
  WriteCriteria(&mine);
  AOther->WriteCriteria(&theirs);
  return mine.Size() == theirs.Size() &&
         std::equal(static_cast<const Byte*>(mine.Memory()), static_cast<const Byte*>(mine.Memory()) + mine.Size(),
                    static_cast<const Byte*>(theirs.Memory()));
}

// A group left empty goes, and its parent is looked at in turn; a group left
// with one condition dissolves into its parent, unless it negates: a not-and
// or not-or group keeps its negation by staying a group.
void TcxFilterCriteria::TidyGroup(TcxFilterCriteriaItemList* AGroup) {
  while (AGroup && AGroup != FRoot.get()) {
    TcxFilterCriteriaItemList* parent = AGroup->Parent();
    if (AGroup->ChildCount() == 0) {
      AGroup->Free();
      AGroup = parent;
      continue;
    }
    const bool negates = AGroup->BoolOperatorKind() == fboNotAnd || AGroup->BoolOperatorKind() == fboNotOr;
    if (AGroup->ChildCount() == 1 && !negates) {
      TcxCustomFilterCriteriaItem* child = AGroup->ChildAt(0);
      AGroup->FItems[0].release();
      AGroup->FItems.clear();
      parent->RemoveChild(AGroup);
      AGroup->Free();  // listed nowhere now; its one child moved out first
      parent->AppendChild(child);
      CriteriaChanged();
    }
    return;
  }
}

void TcxFilterCriteria::RemoveItemsByLink(TObject* AItemLink) {
  CriteriaUpdate update(this);
  bool removed = false;
  while (TcxFilterCriteriaItem* item = FindItemByLink(AItemLink)) {
    TcxFilterCriteriaItemList* parent = item->Parent();
    item->Free();
    removed = true;
    TidyGroup(parent);
  }
  if (!removed) update.CancelOnExit();
}

bool TcxFilterCriteria::EvaluateRecord(Integer ARecordIndex) { return EvaluateGroup(FRoot.get(), ARecordIndex); }

bool TcxFilterCriteria::EvaluateGroup(TcxFilterCriteriaItemList* AGroup, Integer ARecordIndex) {
  bool result = true;
  bool first = true;
  const TcxFilterBoolOperatorKind kind = AGroup->BoolOperatorKind();
  for (Integer i = 0; i < AGroup->ChildCount(); ++i) {
    TcxCustomFilterCriteriaItem* child = AGroup->ChildAt(i);
    const bool c = child->IsGroup() ? EvaluateGroup(static_cast<TcxFilterCriteriaItemList*>(child), ARecordIndex)
                                    : static_cast<TcxFilterCriteriaItem*>(child)->EvaluateRecord(ARecordIndex);
    if (first) {
      result = kind == fboAnd || kind == fboOr ? c : !c;
      first = false;
      continue;
    }
    switch (kind) {
      case fboAnd: result = result && c; break;
      case fboOr: result = result || c; break;
      case fboNotAnd: result = result || !c; break;
      case fboNotOr: result = result && !c; break;
    }
  }
  return result;
}

TClass TcxFilterCriteria::ValueListClass() const { return TcxFilterValueList::StaticClass(); }

std::unique_ptr<TcxFilterValueList> TcxFilterCriteria::CreateValueList() {
  return std::make_unique<TcxFilterValueList>(this);
}

void TcxFilterCriteria::SetDateTimeFormat(const std::string& Value) {
  if (FDateTimeFormat == Value) return;
  FDateTimeFormat = Value;
  CriteriaChanged();
}

void TcxFilterCriteria::SetOptions(TcxFilterCriteriaOptions Value) {
  if (FOptions == Value) return;
  FOptions = Value;
  CriteriaChanged();
}

void TcxFilterCriteria::SetPercentWildcard(char Value) {
  if (FPercentWildcard == Value) return;
  FPercentWildcard = Value;
  CriteriaChanged();
}

void TcxFilterCriteria::SetUnderscoreWildcard(char Value) {
  if (FUnderscoreWildcard == Value) return;
  FUnderscoreWildcard = Value;
  CriteriaChanged();
}

void RegisterFilterClasses() { RegisterClasses({TcxFilterCriteria::StaticClass(), TFilterWrapper::StaticClass()}); }
