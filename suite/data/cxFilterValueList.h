// What a column's filter drop-down offers: an optional head (kind-6 entries
// closed by one kind-7 entry), the special entries (All), (Custom...),
// (Blanks), (NonBlanks) in the order they were added, then the column's
// distinct values in ascending order, each with its display text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Variants.h"

class TcxFilterCriteria;
class TcxFilterCriteriaItem;

enum TcxFilterValueItemKind : Byte {
  fviAll = 0,
  fviCustom = 1,
  fviBlanks = 2,
  fviNonBlanks = 3,
  fviUser = 4,
  fviValue = 5,
  fviSpecial = 6,
  fviSpecialSeparator = 7,
};

struct TcxFilterValueItem {
  TcxFilterValueItemKind Kind;
  Variant Value;
  std::string DisplayText;
};

class TcxFilterValueList : public TObject {
  VXN_DECLARE_CLASS(TcxFilterValueList)

 public:
  explicit TcxFilterValueList(TcxFilterCriteria* ACriteria) : FCriteria(ACriteria) {}
  ~TcxFilterValueList() override;

  virtual Integer CompareEntry(Integer AIndex, const Variant& AValue, const std::string& AText);
  virtual void AddEntry(TcxFilterValueItemKind AKind, const Variant& AValue, bool AAppend,
                        const std::string& ADisplayText);
  virtual void ClearEntries();
  virtual bool FindEntry(const Variant& AValue, const std::string& AText, Integer& AIndex);
  virtual Integer IndexOfCondition(TcxFilterCriteriaItem* AItem);

  Integer EntryCount() const { return static_cast<Integer>(FItems.size()); }
  // EListError for a bad index.
  const TcxFilterValueItem& EntryAt(Integer AIndex) const;
  Integer IndexOfKind(TcxFilterValueItemKind AKind) const;
  Integer HeadSeparatorIndex() const;
  Integer FirstValueIndex() const;
  Integer MaxEntries() const;
  TcxFilterCriteria* Criteria() const { return FCriteria; }
  bool SortByDisplayText() const { return FSortByDisplayText; }
  void SetSortByDisplayText(bool Value) { FSortByDisplayText = Value; }

 private:
  TcxFilterCriteria* FCriteria;
  std::vector<std::unique_ptr<TcxFilterValueItem>> FItems;
  bool FSortByDisplayText = false;
};
