// One three-way comparison of variants for every ordering and equality of
// data values in the suite, type tests on variants, small variant arrays for
// two-bound and list values, and a sorted list of (value, text) pairs.
//
// Comparison order: Null before every value; scalars by the variant
// library's equality and "less than"; arrays after scalars, then by high
// bound, then element by element. Pairs the library cannot compare (its
// EVariantError) answer -1 in either order; no EVariantError escapes.
#pragma once

#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Variants.h"

// -1, 0, 1, or the difference of two arrays' high bounds.
Integer CompareVariants(const Variant& V1, const Variant& V2);
Integer CompareScalarVariants(const Variant& V1, const Variant& V2);
Integer CompareVariantArrays(const Variant& V1, const Variant& V2);
bool VariantsCompareEqual(const Variant& V1, const Variant& V2);
// The equality that decides whether an editor's value changed: beside a
// Boolean (and no Null) both sides are compared as text, so True equals
// "True" but not 1.
bool VariantsAreEqual(const Variant& V1, const Variant& V2);

bool IsDateTypeCode(TVarType typeCode);
bool IsCurrencyTypeCode(TVarType typeCode);
bool VarIsDateKind(const Variant& V);
// The numeric kinds, Boolean and the decimal kind included.
bool VarIsNumberKind(const Variant& V);
// Null, or a string equal to "" (Unassigned is not).
bool VarIsNullOrEmptyText(const Variant& V);

// Arrays of element type varVariant from index 0. The variant library's
// errors are raised for a non-array where one is needed.
void MakeVariantPair(const Variant& V1, const Variant& V2, Variant& A);
void MakeVariantArray1(const Variant& V, Variant& A);
void AppendToVariantArray(Variant& A, const Variant& V);

struct TcxLookupListItem {
  Variant Value;
  std::string DisplayText;
};

// Kept in ascending order of values by the caller, who inserts where
// FindLookupValue answers.
class TcxLookupList : public TObject {
  VXN_DECLARE_CLASS(TcxLookupList)

 public:
  TcxLookupList() = default;
  ~TcxLookupList() override;

  void ClearLookupItems();
  // Binary search by CompareVariants: true with the index of an equal item,
  // or false with the index where V belongs.
  bool FindLookupValue(const Variant& V, Integer& Index) const;
  void InsertLookupItem(Integer Index, const Variant& V, const std::string& Text);
  // Raises EListError for a bad index.
  TcxLookupListItem* LookupItemAt(Integer Index) const;
  Integer Count() const { return FItems.Count(); }

 private:
  TList FItems;
};
