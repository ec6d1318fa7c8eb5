#include "suite/foundation/cxVariants.h"

#include <memory>

VXN_IMPLEMENT_CLASS(TcxLookupList, TObject)

Integer CompareVariants(const Variant& V1, const Variant& V2) {
  if (VarIsArray(V1) || VarIsArray(V2)) return CompareVariantArrays(V1, V2);
  return CompareScalarVariants(V1, V2);
}

Integer CompareScalarVariants(const Variant& V1, const Variant& V2) {
  try {
    if (VarCmpEq(V1, V2)) return 0;
    if (VarIsNull(V1)) return -1;
    if (VarIsNull(V2)) return 1;
    return VarCmpLt(V1, V2) ? -1 : 1;
  } catch (const EVariantError&) {
    return -1;
  }
}

Integer CompareVariantArrays(const Variant& V1, const Variant& V2) {
  const bool array1 = VarIsArray(V1), array2 = VarIsArray(V2);
  if (array1 && !array2) return 1;
  if (array2 && !array1) return -1;
  if (!array1) return CompareScalarVariants(V1, V2);
  try {
    const Integer high1 = VarArrayHighBound(V1, 1);
    const Integer high2 = VarArrayHighBound(V2, 1);
    if (high1 != high2) return high1 - high2;
    // Elements are read from index 0 whatever the low bounds; an element
    // that cannot be read (another low bound, more dimensions) compares as
    // the library's other failures do.
    for (Integer i = 0; i <= high1; ++i) {
      const Integer result = CompareVariants(VarArrayGet(V1, {i}), VarArrayGet(V2, {i}));
      if (result != 0) return result;
    }
    return 0;
  } catch (const EVariantError&) {
    return -1;
  }
}

bool VariantsCompareEqual(const Variant& V1, const Variant& V2) { return CompareVariants(V1, V2) == 0; }

bool VariantsAreEqual(const Variant& V1, const Variant& V2) {
  const TVarType t1 = VarType(V1), t2 = VarType(V2);
  if (t1 == varNull || t2 == varNull || (t1 != varBoolean && t2 != varBoolean)) return VariantsCompareEqual(V1, V2);
  try {
    return VarCmpEq(VarAsType(V1, varString), VarAsType(V2, varString));
  } catch (const EVariantError&) {
    return false;
  }
}

bool IsDateTypeCode(TVarType typeCode) { return typeCode == varDate || typeCode == varSQLTimeStamp; }

bool IsCurrencyTypeCode(TVarType typeCode) { return typeCode == varCurrency || typeCode == varFMTBcd; }

namespace {

// The type of the value itself, looking through a by-reference variant.
TVarType ValueType(const Variant& V) { return static_cast<TVarType>(VarType(V) & ~varByRef); }

}  // namespace

bool VarIsDateKind(const Variant& V) { return IsDateTypeCode(ValueType(V)); }

bool VarIsNumberKind(const Variant& V) {
  switch (ValueType(V)) {
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varBoolean:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varFMTBcd: return true;
    default: return false;
  }
}

bool VarIsNullOrEmptyText(const Variant& V) {
  if (VarIsNull(V)) return true;
  const TVarType type = VarType(V);
  return (type == varString || type == varOleStr) && VarCmpEq(V, Variant(""));
}

void MakeVariantPair(const Variant& V1, const Variant& V2, Variant& A) {
  A = VarArrayCreate({0, 1}, varVariant);
  VarArrayPut(A, V1, {0});
  VarArrayPut(A, V2, {1});
}

void MakeVariantArray1(const Variant& V, Variant& A) {
  A = VarArrayCreate({0, 0}, varVariant);
  VarArrayPut(A, V, {0});
}

void AppendToVariantArray(Variant& A, const Variant& V) {
  const Integer low = VarArrayLowBound(A, 1);
  const Integer count = VarArrayHighBound(A, 1) - low + 1;
  Variant result = VarArrayCreate({0, count}, varVariant);
  for (Integer i = 0; i < count; ++i) VarArrayPut(result, VarArrayGet(A, {low + i}), {i});
  VarArrayPut(result, V, {count});
  A = std::move(result);
}

TcxLookupList::~TcxLookupList() { ClearLookupItems(); }

void TcxLookupList::ClearLookupItems() {
  for (Integer i = 0; i < FItems.Count(); ++i) delete static_cast<TcxLookupListItem*>(FItems.Items(i));
  FItems.Clear();
}

bool TcxLookupList::FindLookupValue(const Variant& V, Integer& Index) const {
  Integer low = 0, high = FItems.Count() - 1;
  while (low <= high) {
    const Integer middle = (low + high) / 2;
    const Integer c = CompareVariants(static_cast<TcxLookupListItem*>(FItems.Items(middle))->Value, V);
    if (c == 0) {
      Index = middle;
      return true;
    }
    if (c < 0)
      low = middle + 1;
    else
      high = middle - 1;
  }
  Index = low;
  return false;
}

void TcxLookupList::InsertLookupItem(Integer Index, const Variant& V, const std::string& Text) {
  auto item = std::make_unique<TcxLookupListItem>(TcxLookupListItem{V, Text});
  FItems.Insert(Index, item.get());
  item.release();
}

TcxLookupListItem* TcxLookupList::LookupItemAt(Integer Index) const {
  return static_cast<TcxLookupListItem*>(FItems.Items(Index));
}
