// Filter criteria: a tree of groups (and, or, not-and, not-or) and leaf
// conditions (linked item, operator kind, value), with the options, the
// wildcards, change notification under update brackets, the two text forms
// and the binary stream form.
//
// Binary form (little-endian; texts and variants as cxDataStreams writes them):
//   Int32 -1 (marker) | root kind 1 | Int32 root count | nodes...
//   node:  is-group 1 | group: kind 1, Int32 count, nodes...
//                     | leaf:  operator kind 1, display value (Int32 n + n),
//                     |        Int32 item number, tagged Variant value
// The older form starts with the root count (no marker, no kind).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Components.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/TypInfo.h"
#include "suite/data/cxFilterOperators.h"

VXN_ENUM(TcxFilterBoolOperatorKind, fboAnd, fboOr, fboNotAnd, fboNotOr)
VXN_ENUM(TcxFilterCriteriaOption, fcoCaseInsensitive, fcoShowOperatorDescription, fcoSoftNull, fcoSoftCompare,
         fcoIgnoreNull)
using TcxFilterCriteriaOptions = TSet<TcxFilterCriteriaOption>;

VXN_ENUM(TcxFilterOperatorKind, foEqual, foNotEqual, foLess, foLessEqual, foGreater, foGreaterEqual, foLike,
         foNotLike, foBetween, foNotBetween, foInList, foNotInList, foYesterday, foToday, foTomorrow, foLastWeek,
         foLastMonth, foLastYear, foThisWeek, foThisMonth, foThisYear, foNextWeek, foNextMonth, foNextYear)

inline constexpr int cxFilterMaxNesting = 64;

class TcxFilterCriteria;
class TcxFilterCriteriaItemList;
class TcxFilterValueList;

class TcxCustomFilterCriteriaItem : public TObject {
  VXN_DECLARE_CLASS(TcxCustomFilterCriteriaItem)

 public:
  explicit TcxCustomFilterCriteriaItem(TcxFilterCriteriaItemList* AParent) : FParent(AParent) {}
  // Leaves the parent's children.
  ~TcxCustomFilterCriteriaItem() override;

  virtual void NotifyCriteriaChanged();
  virtual TcxFilterCriteria* OwnerCriteria() const;
  virtual bool IsGroup() const = 0;
  virtual void ReadNodeExtra(TStream*) {}
  virtual void WriteNode(TStream* AStream);

  TcxFilterCriteriaItemList* Parent() const { return FParent; }

 private:
  friend class TcxFilterCriteriaItemList;
  friend class TcxFilterCriteria;
  TcxFilterCriteriaItemList* FParent;
};

// A group; it owns its children.
class TcxFilterCriteriaItemList : public TcxCustomFilterCriteriaItem {
  VXN_DECLARE_CLASS(TcxFilterCriteriaItemList)

 public:
  TcxFilterCriteriaItemList(TcxFilterCriteriaItemList* AParent, TcxFilterBoolOperatorKind ABoolOperatorKind);
  ~TcxFilterCriteriaItemList() override;

  TcxFilterCriteria* OwnerCriteria() const override;
  bool IsGroup() const override { return true; }
  void WriteNode(TStream* AStream) override;
  // Takes the node out of the children (the node is not freed).
  virtual void RemoveChild(TcxCustomFilterCriteriaItem* AItem);

  class TcxFilterCriteriaItem* AddCondition(TObject* AItemLink, TcxFilterOperatorKind AOperatorKind,
                                            const Variant& AValue, const std::string& ADisplayValue);
  TcxFilterCriteriaItemList* AddGroup(TcxFilterBoolOperatorKind ABoolOperatorKind);
  void ClearGroup();
  Integer ChildCount() const { return static_cast<Integer>(FItems.size()); }
  // nil for an index outside the children.
  TcxCustomFilterCriteriaItem* ChildAt(Integer AIndex) const;
  TcxFilterBoolOperatorKind BoolOperatorKind() const { return FBoolOperatorKind; }
  void AssignBoolOperatorKind(TcxFilterBoolOperatorKind AValue);

 private:
  friend class TcxFilterCriteria;
  void AppendChild(TcxCustomFilterCriteriaItem* AItem);

  TcxFilterBoolOperatorKind FBoolOperatorKind;
  TcxFilterCriteria* FCriteria = nullptr;  // the root's own criteria
  std::vector<std::unique_ptr<TcxCustomFilterCriteriaItem>> FItems;
};

// A leaf condition. The data controller's conditions derive from it and
// supply the record values and the linked item's caption and field name.
class TcxFilterCriteriaItem : public TcxCustomFilterCriteriaItem {
  VXN_DECLARE_CLASS(TcxFilterCriteriaItem)

 public:
  TcxFilterCriteriaItem(TcxFilterCriteriaItemList* AParent, const std::string& ADisplayValue, const Variant& AValue,
                        TcxFilterOperatorKind AOperatorKind, TObject* AItemLink);
  ~TcxFilterCriteriaItem() override;

  bool IsGroup() const override { return false; }
  void WriteNode(TStream* AStream) override;

  // Raises EAbstractError here.
  virtual Variant RecordValueOf(Integer ARecordIndex);
  virtual std::string DisplayValueText();
  virtual std::string ValueText(bool ADescription);
  // Raise EAbstractError here.
  virtual std::string LinkCaption();
  virtual std::string LinkFieldName();
  virtual TClass OperatorClass();
  virtual TObject* ItemLink() const { return FItemLink; }
  virtual void RecreateOperator();
  virtual bool ValueIsNull(const Variant& AValue);

  // The leaf against one record; EVariantError passes on unless fcoSoftCompare.
  bool EvaluateRecord(Integer ARecordIndex);

  const std::string& DisplayValue() const { return FDisplayValue; }
  void SetDisplayValue(const std::string& AValue) { FDisplayValue = AValue; }
  const Variant& Value() const { return FValue; }
  TcxFilterOperatorKind OperatorKind() const { return FOperatorKind; }
  TcxFilterOperator* Operator() const { return FOperator.get(); }

 private:
  std::string FDisplayValue;
  TObject* FItemLink;
  std::unique_ptr<TcxFilterOperator> FOperator;
  TcxFilterOperatorKind FOperatorKind;
  Variant FValue;
};

class TcxFilterCriteria : public TPersistent {
  VXN_DECLARE_CLASS(TcxFilterCriteria)

 public:
  TcxFilterCriteria();
  ~TcxFilterCriteria() override;

  void Assign(TPersistent* Source) override;

  virtual void CheckChanges();
  virtual std::string BooleanValueText(const Variant& AValue);
  virtual std::string DateValueText(const Variant& AValue);
  virtual void ValueTextHook(TcxFilterCriteriaItem* AItem, const Variant& AValue, std::string& AText);
  std::string BuildDisplayText() { return BuildText(true); }
  virtual std::string BuildText(bool ADescription);
  std::string BuildFilterText() { return BuildText(false); }
  // Abstract here: streaming a tree of a plain criteria raises EAbstractError.
  virtual Integer ItemLinkID(TObject* AItemLink);
  virtual TObject* ItemLinkByID(Integer AID);
  virtual TClass CriteriaItemClass() const { return TcxFilterCriteriaItem::StaticClass(); }
  virtual std::string ItemText(TcxFilterCriteriaItem* AItem, bool ADescription);
  virtual std::string ItemNameText(TcxFilterCriteriaItem* AItem, bool ADescription);
  virtual std::string ItemOperatorText(TcxFilterCriteriaItem* AItem, bool ADescription);
  virtual std::string ItemValueText(TcxFilterCriteriaItem* AItem, bool ADescription);
  virtual void PrepareOperators();
  virtual Variant PrepareValue(const Variant& AValue);
  virtual void DoChanged();
  virtual void AssignEvents(TPersistent* Source);
  virtual void AssignItems(TcxFilterCriteria* Source);
  virtual TcxFilterCriteriaItem* AddCriteriaItem(TcxFilterCriteriaItemList* AParent, TObject* AItemLink,
                                                 TcxFilterOperatorKind AOperatorKind, const Variant& AValue,
                                                 const std::string& ADisplayValue);
  virtual void CriteriaChanged();
  virtual TcxFilterCriteriaItem* FindItemByLink(TObject* AItemLink);
  bool IsEmpty() const { return FRoot->ChildCount() == 0; }
  bool HasContent() const { return FRoot->BoolOperatorKind() != fboAnd || FRoot->ChildCount() > 0; }
  virtual void ReadWrapped(TStream* AStream);
  virtual void WriteWrapped(TStream* AStream);
  virtual void RestoreDefaults();
  virtual bool CriteriaValueIsNull(const Variant& AValue);
  // Reads into a tree of its own first: the criteria change only when the
  // whole stream was read, and any error leaves them as they were.
  virtual void ReadCriteria(TStream* AStream);
  virtual void WriteCriteria(TStream* AStream);

  void BeginCriteriaUpdate() { ++FLockCount; }
  void EndCriteriaUpdate();
  void CancelCriteriaUpdate() { --FLockCount; }
  void ClearCriteria();
  bool SameCriteria(TcxFilterCriteria* AOther);
  void RemoveItemsByLink(TObject* AItemLink);
  bool EvaluateRecord(Integer ARecordIndex);
  // The virtual constructor of CriteriaItemClass.
  virtual TcxFilterCriteriaItem* CreateCriteriaItem(TcxFilterCriteriaItemList* AParent,
                                                    const std::string& ADisplayValue, const Variant& AValue,
                                                    TcxFilterOperatorKind AOperatorKind, TObject* AItemLink);
  // The value list class of this criteria's drop-downs, and an instance of it.
  virtual TClass ValueListClass() const;
  virtual std::unique_ptr<TcxFilterValueList> CreateValueList();

  TcxFilterCriteriaItemList* Root() const { return FRoot.get(); }

  const std::string& DateTimeFormat() const { return FDateTimeFormat; }
  void SetDateTimeFormat(const std::string& Value);
  Integer MaxValueListCount() const { return FMaxValueListCount; }
  void SetMaxValueListCount(Integer Value) { FMaxValueListCount = Value; }
  TcxFilterCriteriaOptions Options() const { return FOptions; }
  void SetOptions(TcxFilterCriteriaOptions Value);
  char PercentWildcard() const { return FPercentWildcard; }
  void SetPercentWildcard(char Value);
  bool SupportedLike() const { return FSupportedLike; }
  void SetSupportedLike(bool Value) { FSupportedLike = Value; }
  bool TranslateBetween() const { return FTranslateBetween; }
  void SetTranslateBetween(bool Value) { FTranslateBetween = Value; }
  bool TranslateIn() const { return FTranslateIn; }
  void SetTranslateIn(bool Value) { FTranslateIn = Value; }
  char UnderscoreWildcard() const { return FUnderscoreWildcard; }
  void SetUnderscoreWildcard(char Value);
  bool Changed() const { return FChanged; }
  Integer LockCount() const { return FLockCount; }

  TNotifyEvent OnChanged;

 private:
  bool EvaluateGroup(TcxFilterCriteriaItemList* AGroup, Integer ARecordIndex);
  std::string GroupText(TcxFilterCriteriaItemList* AGroup, bool ADescription);
  void ReadNodes(TStream* AStream, TcxFilterCriteriaItemList* AGroup, Integer ACount, int ADepth);
  void TidyGroup(TcxFilterCriteriaItemList* AGroup);

  bool FChanged = false;
  std::string FDateTimeFormat;
  Integer FLockCount = 0;
  Integer FMaxValueListCount = 0;
  TcxFilterCriteriaOptions FOptions;
  char FPercentWildcard = '%';
  std::unique_ptr<TcxFilterCriteriaItemList> FRoot;
  bool FSupportedLike = true;
  bool FTranslateBetween = false;
  bool FTranslateIn = false;
  char FUnderscoreWildcard = '_';
};

// Carries criteria through the component streams as its published Filter.
class TFilterWrapper : public TComponent {
  VXN_DECLARE_CLASS(TFilterWrapper)

 public:
  explicit TFilterWrapper(TComponent* AOwner) : TComponent(AOwner) {}
  TcxFilterCriteria* Filter() const { return FFilter; }
  void SetFilter(TcxFilterCriteria* Value) { FFilter = Value; }

 private:
  TcxFilterCriteria* FFilter = nullptr;
};

void RegisterFilterClasses();
