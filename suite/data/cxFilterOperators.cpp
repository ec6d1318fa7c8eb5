#include "suite/data/cxFilterOperators.h"

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Formatting.h"
#include "platform/rtl/SysUtils.h"
#include "suite/data/cxDataUtils.h"
#include "suite/data/cxFilter.h"
#include "suite/data/cxFilterConsts.h"
#include "suite/data/cxLikeMatch.h"
#include "suite/foundation/cxVariants.h"

VXN_IMPLEMENT_CLASS(TcxFilterOperator, TObject)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterEqualOperator, TcxFilterOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterNotEqualOperator, TcxFilterEqualOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterLessOperator, TcxFilterOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterLessEqualOperator, TcxFilterOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterGreaterOperator, TcxFilterOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterGreaterEqualOperator, TcxFilterOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterLikeOperator, TcxFilterOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterNotLikeOperator, TcxFilterLikeOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterBetweenOperator, TcxFilterOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterNotBetweenOperator, TcxFilterBetweenOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterInListOperator, TcxFilterOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterNotInListOperator, TcxFilterInListOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterNullOperator, TcxFilterEqualOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterNotNullOperator, TcxFilterNullOperator)
VXN_IMPLEMENT_CLASS(TcxFilterDateOperator, TcxFilterOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterYesterdayOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterTodayOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterTomorrowOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterLastWeekOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterLastMonthOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterLastYearOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterThisWeekOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterThisMonthOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterThisYearOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterNextWeekOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterNextMonthOperator, TcxFilterDateOperator)
VXN_IMPLEMENT_CREATABLE_CLASS(TcxFilterNextYearOperator, TcxFilterDateOperator)

namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

std::string FieldName(TcxFilterOperator* op) { return op->CriteriaItem()->LinkFieldName(); }

Variant Element(const Variant& array, Integer offset) {
  return VarArrayGet(array, {VarArrayLowBound(array, 1) + offset});
}

// The stored display value of a two-bound or list condition, split at ";".
std::vector<std::string> SplitParts(const std::string& text) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find(';', pos);
    parts.push_back(Trim(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos)));
    if (end == std::string::npos) break;
    pos = end + 1;
  }
  return parts;
}

std::string Negated(const std::string& text) { return "NOT (" + text + ")"; }

bool ShowsDescriptions(TcxFilterOperator* op) {
  TcxFilterCriteria* criteria = op->Criteria();
  return criteria && criteria->Options().Contains(fcoShowOperatorDescription);
}

char PercentOf(TcxFilterOperator* op) {
  TcxFilterCriteria* criteria = op->Criteria();
  return criteria ? criteria->PercentWildcard() : '%';
}

}  // namespace

TcxFilterCriteria* TcxFilterOperator::Criteria() const {
  return FCriteriaItem ? FCriteriaItem->OwnerCriteria() : nullptr;
}

void TcxFilterOperator::ExpandedFilterText(const Variant& AValue, std::string& AText) {
  ValueFilterText(AValue, AText);
}

void TcxFilterOperator::ValueFilterText(const Variant& AValue, std::string& AText) {
  TcxFilterCriteria* criteria = Criteria();
  if (!CustomValueFilterText(AValue, AText)) {
    switch (VarType(AValue)) {
      case varNull: AText = "NULL"; break;
      // A date text may hold quotes of its own (a format with literal text):
      // they are doubled like a string's.
      case varDate: AText = Quoted(criteria ? criteria->DateValueText(AValue) : VarToStr(AValue)); break;
      case varString:
      case varOleStr: AText = Quoted(VarToStr(AValue)); break;
      case varBoolean: AText = criteria ? criteria->BooleanValueText(AValue) : VarToStr(AValue); break;
      default: AText = VarToStr(AValue);
    }
  }
  if (criteria) criteria->ValueTextHook(FCriteriaItem, AValue, AText);
}

void TcxFilterOperator::AdjustDisplayValue(std::string&) {}

bool TcxFilterOperator::CustomValueFilterText(const Variant&, std::string&) { return false; }

bool TcxFilterOperator::Matches(const Variant&, const Variant&) { throw EAbstractError("Abstract error"); }

void TcxFilterOperator::OperatorDescription(std::string& AText) { OperatorSign(AText); }

void TcxFilterOperator::OperatorSign(std::string&) { throw EAbstractError("Abstract error"); }

// --- comparisons ------------------------------------------------------------------------

// A key over several fields: one equality per name of the ";"-list. An array
// with more elements than names is refused rather than read past the list.
void TcxFilterEqualOperator::ExpandedFilterText(const Variant& AValue, std::string& AText) {
  std::vector<std::string> names;
  for (const std::string& name : SplitParts(FieldName(this))) names.push_back(name);
  if (names.empty()) names.emplace_back();
  if (!VarIsArray(AValue)) {
    std::string value;
    ValueFilterText(AValue, value);
    AText = "(" + names[0] + " = " + value + ")";
    return;
  }
  const Integer low = VarArrayLowBound(AValue, 1), high = VarArrayHighBound(AValue, 1);
  if (high - low + 1 > static_cast<Integer>(names.size()))
    throw EVariantError("The key has more values than field names");
  AText.clear();
  for (Integer i = low; i <= high; ++i) {
    std::string value;
    ValueFilterText(VarArrayGet(AValue, {i}), value);
    if (i > low) AText += " AND ";
    AText += "(" + names[static_cast<size_t>(i - low)] + " = " + value + ")";
  }
}

bool TcxFilterEqualOperator::Matches(const Variant& A, const Variant& B) { return CompareVariants(A, B) == 0; }
void TcxFilterEqualOperator::OperatorDescription(std::string& T) { T = FilterResourceText(cxSFilterOperatorEqual); }
void TcxFilterEqualOperator::OperatorSign(std::string& T) { T = "="; }
bool TcxFilterEqualOperator::UsesExpandedForm() const {
  return CriteriaItem() && VarIsArray(CriteriaItem()->Value());
}

void TcxFilterNotEqualOperator::ExpandedFilterText(const Variant& AValue, std::string& AText) {
  TcxFilterEqualOperator::ExpandedFilterText(AValue, AText);
  AText = Negated(AText);
}
bool TcxFilterNotEqualOperator::Matches(const Variant& A, const Variant& B) {
  return !TcxFilterEqualOperator::Matches(A, B);
}
void TcxFilterNotEqualOperator::OperatorDescription(std::string& T) {
  T = FilterResourceText(cxSFilterOperatorNotEqual);
}
void TcxFilterNotEqualOperator::OperatorSign(std::string& T) { T = "<>"; }

bool TcxFilterLessOperator::Matches(const Variant& A, const Variant& B) { return CompareVariants(A, B) < 0; }
void TcxFilterLessOperator::OperatorDescription(std::string& T) { T = FilterResourceText(cxSFilterOperatorLess); }
void TcxFilterLessOperator::OperatorSign(std::string& T) { T = "<"; }

bool TcxFilterLessEqualOperator::Matches(const Variant& A, const Variant& B) { return CompareVariants(A, B) <= 0; }
void TcxFilterLessEqualOperator::OperatorDescription(std::string& T) {
  T = FilterResourceText(cxSFilterOperatorLessEqual);
}
void TcxFilterLessEqualOperator::OperatorSign(std::string& T) { T = "<="; }

bool TcxFilterGreaterOperator::Matches(const Variant& A, const Variant& B) { return CompareVariants(A, B) > 0; }
void TcxFilterGreaterOperator::OperatorDescription(std::string& T) {
  T = FilterResourceText(cxSFilterOperatorGreater);
}
void TcxFilterGreaterOperator::OperatorSign(std::string& T) { T = ">"; }

bool TcxFilterGreaterEqualOperator::Matches(const Variant& A, const Variant& B) {
  return CompareVariants(A, B) >= 0;
}
void TcxFilterGreaterEqualOperator::OperatorDescription(std::string& T) {
  T = FilterResourceText(cxSFilterOperatorGreaterEqual);
}
void TcxFilterGreaterEqualOperator::OperatorSign(std::string& T) { T = ">="; }

// --- like ----------------------------------------------------------------------------------

namespace {

// 1 begins with, 2 ends with, 3 contains, 0 any other pattern.
Integer LikeShape(TcxFilterOperator* op) {
  std::string pattern = op->CriteriaItem() ? VarToStr(op->CriteriaItem()->Value()) : std::string();
  return StripLikeWildcards(pattern, PercentOf(op));
}

}  // namespace

void TcxFilterLikeOperator::AdjustDisplayValue(std::string& AText) {
  if (ShowsDescriptions(this)) StripLikeWildcards(AText, PercentOf(this));
}

bool TcxFilterLikeOperator::Matches(const Variant& A, const Variant& B) {
  TcxFilterCriteria* criteria = Criteria();
  return LikeMatch(VarToStr(A), VarToStr(B), criteria ? criteria->PercentWildcard() : '%',
                   criteria ? criteria->UnderscoreWildcard() : '_');
}

void TcxFilterLikeOperator::OperatorDescription(std::string& T) {
  static constexpr Integer ids[] = {cxSFilterOperatorLike, cxSFilterOperatorBeginsWith, cxSFilterOperatorEndsWith,
                                    cxSFilterOperatorContains};
  T = FilterResourceText(ids[LikeShape(this)]);
}
void TcxFilterLikeOperator::OperatorSign(std::string& T) { T = "LIKE"; }

bool TcxFilterNotLikeOperator::Matches(const Variant& A, const Variant& B) {
  return !TcxFilterLikeOperator::Matches(A, B);
}
void TcxFilterNotLikeOperator::OperatorDescription(std::string& T) {
  static constexpr Integer ids[] = {cxSFilterOperatorNotLike, cxSFilterOperatorDoesNotBeginWith,
                                    cxSFilterOperatorDoesNotEndWith, cxSFilterOperatorDoesNotContain};
  T = FilterResourceText(ids[LikeShape(this)]);
}
void TcxFilterNotLikeOperator::OperatorSign(std::string& T) { T = "NOT LIKE"; }

// --- between ---------------------------------------------------------------------------------

void TcxFilterBetweenOperator::ExpandedFilterText(const Variant& AValue, std::string& AText) {
  std::string low, high;
  ValueFilterText(Element(AValue, 0), low);
  ValueFilterText(Element(AValue, 1), high);
  const std::string name = FieldName(this);
  AText = "(" + name + " >= " + low + ") AND (" + name + " <= " + high + ")";
}

void TcxFilterBetweenOperator::AdjustDisplayValue(std::string& AText) {
  const std::vector<std::string> parts = SplitParts(AText);
  AText = (parts.empty() ? std::string() : parts[0]) + " " + FilterResourceText(cxSFilterBoolOperatorAnd) + " " +
          (parts.size() > 1 ? parts[1] : std::string());
}

bool TcxFilterBetweenOperator::CustomValueFilterText(const Variant& AValue, std::string& AText) {
  if (!VarIsArray(AValue)) return false;
  std::string low, high;
  ValueFilterText(Element(AValue, 0), low);
  ValueFilterText(Element(AValue, 1), high);
  AText = low + " AND " + high;
  return true;
}

bool TcxFilterBetweenOperator::Matches(const Variant& A, const Variant& B) {
  return CompareVariants(Element(B, 0), A) <= 0 && CompareVariants(A, Element(B, 1)) <= 0;
}
void TcxFilterBetweenOperator::OperatorDescription(std::string& T) {
  T = FilterResourceText(cxSFilterOperatorBetween);
}
void TcxFilterBetweenOperator::OperatorSign(std::string& T) { T = "BETWEEN"; }
bool TcxFilterBetweenOperator::UsesExpandedForm() const { return Criteria() && Criteria()->TranslateBetween(); }

void TcxFilterNotBetweenOperator::ExpandedFilterText(const Variant& AValue, std::string& AText) {
  TcxFilterBetweenOperator::ExpandedFilterText(AValue, AText);
  AText = Negated(AText);
}
bool TcxFilterNotBetweenOperator::Matches(const Variant& A, const Variant& B) {
  return !TcxFilterBetweenOperator::Matches(A, B);
}
void TcxFilterNotBetweenOperator::OperatorDescription(std::string& T) {
  T = FilterResourceText(cxSFilterOperatorNotBetween);
}
void TcxFilterNotBetweenOperator::OperatorSign(std::string& T) { T = "NOT BETWEEN"; }

// --- in list ----------------------------------------------------------------------------------

void TcxFilterInListOperator::ExpandedFilterText(const Variant& AValue, std::string& AText) {
  const std::string name = FieldName(this);
  AText.clear();
  for (Integer i = VarArrayLowBound(AValue, 1); i <= VarArrayHighBound(AValue, 1); ++i) {
    std::string value;
    ValueFilterText(VarArrayGet(AValue, {i}), value);
    if (!AText.empty()) AText += " OR ";
    AText += "(" + name + " = " + value + ")";
  }
}

void TcxFilterInListOperator::AdjustDisplayValue(std::string& AText) {
  std::string joined;
  for (const std::string& part : SplitParts(AText)) joined += (joined.empty() ? "" : ", ") + part;
  AText = "(" + joined + ")";
}

bool TcxFilterInListOperator::CustomValueFilterText(const Variant& AValue, std::string& AText) {
  if (!VarIsArray(AValue)) return false;
  std::string joined;
  for (Integer i = VarArrayLowBound(AValue, 1); i <= VarArrayHighBound(AValue, 1); ++i) {
    std::string value;
    ValueFilterText(VarArrayGet(AValue, {i}), value);
    joined += (i > VarArrayLowBound(AValue, 1) ? ", " : "") + value;
  }
  AText = "(" + joined + ")";
  return true;
}

bool TcxFilterInListOperator::Matches(const Variant& A, const Variant& B) {
  for (Integer i = VarArrayLowBound(B, 1); i <= VarArrayHighBound(B, 1); ++i)
    if (VarCmpEq(A, VarArrayGet(B, {i}))) return true;
  return false;
}
void TcxFilterInListOperator::OperatorDescription(std::string& T) { T = FilterResourceText(cxSFilterOperatorInList); }
void TcxFilterInListOperator::OperatorSign(std::string& T) { T = "IN"; }
bool TcxFilterInListOperator::UsesExpandedForm() const { return Criteria() && Criteria()->TranslateIn(); }

void TcxFilterNotInListOperator::ExpandedFilterText(const Variant& AValue, std::string& AText) {
  TcxFilterInListOperator::ExpandedFilterText(AValue, AText);
  AText = Negated(AText);
}
bool TcxFilterNotInListOperator::Matches(const Variant& A, const Variant& B) {
  return !TcxFilterInListOperator::Matches(A, B);
}
void TcxFilterNotInListOperator::OperatorDescription(std::string& T) {
  T = FilterResourceText(cxSFilterOperatorNotInList);
}
void TcxFilterNotInListOperator::OperatorSign(std::string& T) { T = "NOT IN"; }

// --- null ----------------------------------------------------------------------------------------

void TcxFilterNullOperator::AdjustDisplayValue(std::string& AText) {
  if (ShowsDescriptions(this)) AText.clear();
}
bool TcxFilterNullOperator::Matches(const Variant& A, const Variant&) { return CriteriaItem()->ValueIsNull(A); }
void TcxFilterNullOperator::OperatorDescription(std::string& T) { T = FilterResourceText(cxSFilterOperatorIsNull); }

bool TcxFilterNotNullOperator::Matches(const Variant& A, const Variant& B) {
  return !TcxFilterNullOperator::Matches(A, B);
}
void TcxFilterNotNullOperator::OperatorDescription(std::string& T) {
  T = FilterResourceText(cxSFilterOperatorIsNotNull);
}
void TcxFilterNotNullOperator::OperatorSign(std::string& T) { T = "<>"; }

// --- date ranges -------------------------------------------------------------------------------------

void TcxFilterDateOperator::ExpandedFilterText(const Variant&, std::string& AText) {
  std::string start, end;
  ValueFilterText(VarFromDateTime(FStart), start);
  ValueFilterText(VarFromDateTime(FEnd), end);
  const std::string name = FieldName(this);
  AText = "(" + name + " >= " + start + ") AND (" + name + " < " + end + ")";
}

void TcxFilterDateOperator::AdjustDisplayValue(std::string& AText) { AText.clear(); }

void TcxFilterDateOperator::PrepareRange() {
  FPreparedFor = Date();
  ComputeRange(FPreparedFor, FStart, FEnd);
}

bool TcxFilterDateOperator::Matches(const Variant& A, const Variant&) {
  if (CriteriaItem()->ValueIsNull(A)) return false;
  if (Date() != FPreparedFor) PrepareRange();
  return VarCmpLe(VarFromDateTime(FStart), A) && VarCmpLt(A, VarFromDateTime(FEnd));
}

void TcxFilterDateOperator::OperatorSign(std::string& AText) { OperatorDescription(AText); }

namespace {

double FirstOfMonth(Integer year, Integer month) {
  while (month > 12) {
    month -= 12;
    ++year;
  }
  while (month < 1) {
    month += 12;
    --year;
  }
  return EncodeDate(static_cast<Word>(year), static_cast<Word>(month), 1);
}

void MonthOf(double today, Integer& year, Integer& month) {
  Word y, m, d;
  DecodeDate(today, y, m, d);
  year = y;
  month = m;
}

void MonthRange(double today, Integer offset, double& start, double& end) {
  Integer year, month;
  MonthOf(today, year, month);
  start = FirstOfMonth(year, month + offset);
  end = FirstOfMonth(year, month + offset + 1);
}

void YearRange(double today, Integer offset, double& start, double& end) {
  Integer year, month;
  MonthOf(today, year, month);
  start = FirstOfMonth(year + offset, 1);
  end = FirstOfMonth(year + offset + 1, 1);
}

}  // namespace

#define VXN_DATE_OPERATOR(Name, TextId, RangeBody)                                          \
  void Name::OperatorDescription(std::string& AText) { AText = FilterResourceText(TextId); } \
  void Name::ComputeRange(double T, double& S, double& E) { RangeBody; }

VXN_DATE_OPERATOR(TcxFilterYesterdayOperator, cxSFilterOperatorYesterday, (S = T - 1, E = T))
VXN_DATE_OPERATOR(TcxFilterTodayOperator, cxSFilterOperatorToday, (S = T, E = T + 1))
VXN_DATE_OPERATOR(TcxFilterTomorrowOperator, cxSFilterOperatorTomorrow, (S = T + 1, E = T + 2))
VXN_DATE_OPERATOR(TcxFilterLastWeekOperator, cxSFilterOperatorLastWeek, (S = WeekStart(T) - 7, E = S + 7))
VXN_DATE_OPERATOR(TcxFilterThisWeekOperator, cxSFilterOperatorThisWeek, (S = WeekStart(T), E = S + 7))
VXN_DATE_OPERATOR(TcxFilterNextWeekOperator, cxSFilterOperatorNextWeek, (S = WeekStart(T) + 7, E = S + 7))
VXN_DATE_OPERATOR(TcxFilterLastMonthOperator, cxSFilterOperatorLastMonth, MonthRange(T, -1, S, E))
VXN_DATE_OPERATOR(TcxFilterThisMonthOperator, cxSFilterOperatorThisMonth, MonthRange(T, 0, S, E))
VXN_DATE_OPERATOR(TcxFilterNextMonthOperator, cxSFilterOperatorNextMonth, MonthRange(T, 1, S, E))
VXN_DATE_OPERATOR(TcxFilterLastYearOperator, cxSFilterOperatorLastYear, YearRange(T, -1, S, E))
VXN_DATE_OPERATOR(TcxFilterThisYearOperator, cxSFilterOperatorThisYear, YearRange(T, 0, S, E))
VXN_DATE_OPERATOR(TcxFilterNextYearOperator, cxSFilterOperatorNextYear, YearRange(T, 1, S, E))

#undef VXN_DATE_OPERATOR

TClass FilterOperatorClassOf(Integer AIndex) {
  static const TClass classes[cxFilterOperatorClassCount] = {
      TcxFilterEqualOperator::StaticClass(),        TcxFilterNotEqualOperator::StaticClass(),
      TcxFilterLessOperator::StaticClass(),         TcxFilterLessEqualOperator::StaticClass(),
      TcxFilterGreaterOperator::StaticClass(),      TcxFilterGreaterEqualOperator::StaticClass(),
      TcxFilterLikeOperator::StaticClass(),         TcxFilterNotLikeOperator::StaticClass(),
      TcxFilterBetweenOperator::StaticClass(),      TcxFilterNotBetweenOperator::StaticClass(),
      TcxFilterInListOperator::StaticClass(),       TcxFilterNotInListOperator::StaticClass(),
      TcxFilterYesterdayOperator::StaticClass(),    TcxFilterTodayOperator::StaticClass(),
      TcxFilterTomorrowOperator::StaticClass(),     TcxFilterLastWeekOperator::StaticClass(),
      TcxFilterLastMonthOperator::StaticClass(),    TcxFilterLastYearOperator::StaticClass(),
      TcxFilterThisWeekOperator::StaticClass(),     TcxFilterThisMonthOperator::StaticClass(),
      TcxFilterThisYearOperator::StaticClass(),     TcxFilterNextWeekOperator::StaticClass(),
      TcxFilterNextMonthOperator::StaticClass(),    TcxFilterNextYearOperator::StaticClass(),
      TcxFilterNullOperator::StaticClass(),         TcxFilterNotNullOperator::StaticClass(),
  };
  if (AIndex < 0 || AIndex >= cxFilterOperatorClassCount) throw EListError(Format(SListIndexError, {AIndex}));
  return classes[AIndex];
}
