#include "suite/data/cxFilterValueList.h"

#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"
#include "suite/data/cxFilter.h"
#include "suite/foundation/cxVariants.h"

VXN_IMPLEMENT_CLASS(TcxFilterValueList, TObject)

TcxFilterValueList::~TcxFilterValueList() { ClearEntries(); }

const TcxFilterValueItem& TcxFilterValueList::EntryAt(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= EntryCount()) throw EListError(Format(SListIndexError, {AIndex}));
  return *FItems[static_cast<size_t>(AIndex)];
}

Integer TcxFilterValueList::IndexOfKind(TcxFilterValueItemKind AKind) const {
  for (Integer i = 0; i < EntryCount(); ++i)
    if (FItems[static_cast<size_t>(i)]->Kind == AKind) return i;
  return -1;
}

Integer TcxFilterValueList::HeadSeparatorIndex() const {
  Integer i = 0;
  while (i < EntryCount() && FItems[static_cast<size_t>(i)]->Kind == fviSpecial) ++i;
  return i > 0 && i < EntryCount() && FItems[static_cast<size_t>(i)]->Kind == fviSpecialSeparator ? i : -1;
}

Integer TcxFilterValueList::FirstValueIndex() const {
  const Integer index = IndexOfKind(fviValue);
  return index < 0 ? EntryCount() : index;
}

Integer TcxFilterValueList::MaxEntries() const { return FCriteria ? FCriteria->MaxValueListCount() : 0; }

Integer TcxFilterValueList::CompareEntry(Integer AIndex, const Variant& AValue, const std::string& AText) {
  const TcxFilterValueItem& entry = EntryAt(AIndex);
  const bool fold = FCriteria && FCriteria->Options().Contains(fcoCaseInsensitive);
  if (FSortByDisplayText) {
    return fold ? AnsiCompareStr(AnsiUpperCase(entry.DisplayText), AnsiUpperCase(AText))
                : AnsiCompareStr(entry.DisplayText, AText);
  }
  const Variant mine = FCriteria ? FCriteria->PrepareValue(entry.Value) : entry.Value;
  const Variant theirs = FCriteria ? FCriteria->PrepareValue(AValue) : AValue;
  return CompareVariants(mine, theirs);
}

void TcxFilterValueList::AddEntry(TcxFilterValueItemKind AKind, const Variant& AValue, bool AAppend,
                                  const std::string& ADisplayText) {
  Integer index;
  if (AKind == fviSpecial) {
    index = IndexOfKind(fviSpecialSeparator);
    if (index < 0) {
      FItems.insert(FItems.begin(),
                    std::make_unique<TcxFilterValueItem>(TcxFilterValueItem{fviSpecialSeparator, Null(), {}}));
      index = 0;
    }
  } else if (AKind == fviValue && AAppend) {
    index = EntryCount();
  } else if (AKind == fviValue) {
    if (MaxEntries() != 0 && EntryCount() >= MaxEntries()) return;
    if (FindEntry(AValue, ADisplayText, index)) return;
  } else {
    index = FirstValueIndex();
  }
  FItems.insert(FItems.begin() + index,
                std::make_unique<TcxFilterValueItem>(TcxFilterValueItem{AKind, AValue, ADisplayText}));
}

void TcxFilterValueList::ClearEntries() { FItems.clear(); }

bool TcxFilterValueList::FindEntry(const Variant& AValue, const std::string& AText, Integer& AIndex) {
  const Integer separator = HeadSeparatorIndex();
  for (Integer i = 0; i < separator; ++i) {
    if (CompareEntry(i, AValue, AText) == 0) {
      AIndex = i;
      return true;
    }
  }
  Integer low = FirstValueIndex(), high = EntryCount() - 1;
  while (low <= high) {
    const Integer middle = (low + high) / 2;
    const Integer c = CompareEntry(middle, AValue, AText);
    if (c < 0) {
      low = middle + 1;
    } else if (c > 0) {
      high = middle - 1;
    } else {
      AIndex = middle;
      return true;
    }
  }
  AIndex = low;
  return false;
}

Integer TcxFilterValueList::IndexOfCondition(TcxFilterCriteriaItem* AItem) {
  if (!AItem) return -1;
  const TcxFilterOperatorKind kind = AItem->OperatorKind();
  if (AItem->ValueIsNull(AItem->Value()) && (kind == foEqual || kind == foNotEqual))
    return IndexOfKind(kind == foEqual ? fviBlanks : fviNonBlanks);
  if (!FCriteria || AItem->Parent() != FCriteria->Root() || kind != foEqual) return IndexOfKind(fviCustom);
  Integer index;
  if (FindEntry(AItem->Value(), AItem->DisplayValue(), index)) return index;
  return IndexOfKind(fviAll);
}
