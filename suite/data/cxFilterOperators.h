// Filter operators: each leaf condition of a filter owns one. The operator
// decides whether a record's value satisfies the condition and supplies the
// words and symbols of the condition in the filter expression (field names,
// signs, quoted values) and in the display text (captions, descriptions).
//
//   kind  class                      sign          description
//   0     TcxFilterEqualOperator     =             equals
//   1     ..NotEqualOperator         <>            does not equal
//   2-5   Less, LessEqual,           < <= > >=     is less than ...
//         Greater, GreaterEqual
//   6, 7  Like, NotLike              LIKE          begins with / ends with /
//                                    NOT LIKE      contains / like (negated)
//   8, 9  Between, NotBetween        BETWEEN ...   between, not between
//   10,11 InList, NotInList          IN, NOT IN    in, not in
//   12-23 the date ranges            (described)   is yesterday ... is next year
//   (24)  Null: kinds 0 and 6 with a null value; (25) NotNull: kinds 1 and 7.
#pragma once

#include <string>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Variants.h"

class TcxFilterCriteria;
class TcxFilterCriteriaItem;

class TcxFilterOperator : public TObject {
  VXN_DECLARE_CLASS(TcxFilterOperator)

 public:
  using TOwnerClass = TcxFilterCriteriaItem;
  explicit TcxFilterOperator(TcxFilterCriteriaItem* ACriteriaItem) : FCriteriaItem(ACriteriaItem) {}

  // The whole condition for the filter expression; the base writes the value.
  virtual void ExpandedFilterText(const Variant& AValue, std::string& AText);
  // A value as the filter expression writes it: NULL, quoted texts and dates
  // (inner quotes doubled), the criteria's Boolean text, or the value's text.
  virtual void ValueFilterText(const Variant& AValue, std::string& AText);
  // The stored display value as shown after the operator's words.
  virtual void AdjustDisplayValue(std::string& AText);
  virtual void PrepareRange() {}
  virtual bool CustomValueFilterText(const Variant& AValue, std::string& AText);
  // Raises EAbstractError in the base.
  virtual bool Matches(const Variant& ARecordValue, const Variant& AValue);
  virtual void OperatorDescription(std::string& AText);
  // Raises EAbstractError in the base.
  virtual void OperatorSign(std::string& AText);
  virtual bool AlwaysDescribed() const { return false; }
  virtual bool UsesExpandedForm() const { return false; }
  virtual bool IsNullTest() const { return false; }

  std::string Description() {
    std::string text;
    OperatorDescription(text);
    return text;
  }
  std::string Sign() {
    std::string text;
    OperatorSign(text);
    return text;
  }

  TcxFilterCriteriaItem* CriteriaItem() const { return FCriteriaItem; }
  TcxFilterCriteria* Criteria() const;

 private:
  TcxFilterCriteriaItem* FCriteriaItem;
};

#define VXN_DECLARE_FILTER_OPERATOR(Name, Parent) \
  class Name : public Parent {                    \
    VXN_DECLARE_CLASS(Name)                       \
                                                  \
   public:                                        \
    using Parent::Parent;

VXN_DECLARE_FILTER_OPERATOR(TcxFilterEqualOperator, TcxFilterOperator)
  void ExpandedFilterText(const Variant& AValue, std::string& AText) override;
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
  bool UsesExpandedForm() const override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterNotEqualOperator, TcxFilterEqualOperator)
  void ExpandedFilterText(const Variant& AValue, std::string& AText) override;
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterLessOperator, TcxFilterOperator)
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterLessEqualOperator, TcxFilterOperator)
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterGreaterOperator, TcxFilterOperator)
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterGreaterEqualOperator, TcxFilterOperator)
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterLikeOperator, TcxFilterOperator)
  void AdjustDisplayValue(std::string& AText) override;
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterNotLikeOperator, TcxFilterLikeOperator)
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterBetweenOperator, TcxFilterOperator)
  void ExpandedFilterText(const Variant& AValue, std::string& AText) override;
  void AdjustDisplayValue(std::string& AText) override;
  bool CustomValueFilterText(const Variant& AValue, std::string& AText) override;
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
  bool AlwaysDescribed() const override { return true; }
  bool UsesExpandedForm() const override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterNotBetweenOperator, TcxFilterBetweenOperator)
  void ExpandedFilterText(const Variant& AValue, std::string& AText) override;
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterInListOperator, TcxFilterOperator)
  void ExpandedFilterText(const Variant& AValue, std::string& AText) override;
  void AdjustDisplayValue(std::string& AText) override;
  bool CustomValueFilterText(const Variant& AValue, std::string& AText) override;
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
  bool AlwaysDescribed() const override { return true; }
  bool UsesExpandedForm() const override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterNotInListOperator, TcxFilterInListOperator)
  void ExpandedFilterText(const Variant& AValue, std::string& AText) override;
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterNullOperator, TcxFilterEqualOperator)
  void AdjustDisplayValue(std::string& AText) override;
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  bool IsNullTest() const override { return true; }
};

VXN_DECLARE_FILTER_OPERATOR(TcxFilterNotNullOperator, TcxFilterNullOperator)
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorDescription(std::string& AText) override;
  void OperatorSign(std::string& AText) override;
};

// A period relative to the current date, as the half-open range
// [RangeStart, RangeEnd) of whole days. The range follows the clock: a range
// prepared on an earlier day is prepared again when the next record is
// matched, so "is today" never keeps yesterday's range after midnight.
VXN_DECLARE_FILTER_OPERATOR(TcxFilterDateOperator, TcxFilterOperator)
  void ExpandedFilterText(const Variant& AValue, std::string& AText) override;
  void AdjustDisplayValue(std::string& AText) override;
  void PrepareRange() override;
  bool Matches(const Variant& ARecordValue, const Variant& AValue) override;
  void OperatorSign(std::string& AText) override;
  bool UsesExpandedForm() const override { return true; }

  double RangeStart() const { return FStart; }
  double RangeEnd() const { return FEnd; }

 protected:
  // The range for a given day (whole days).
  virtual void ComputeRange(double AToday, double& AStart, double& AEnd) = 0;

 private:
  double FStart = 0, FEnd = 0;
  double FPreparedFor = -1;
};

#define VXN_DECLARE_DATE_OPERATOR(Name)                                 \
  VXN_DECLARE_FILTER_OPERATOR(Name, TcxFilterDateOperator)              \
    void OperatorDescription(std::string& AText) override;               \
                                                                        \
   protected:                                                           \
    void ComputeRange(double AToday, double& AStart, double& AEnd) override; \
  };

VXN_DECLARE_DATE_OPERATOR(TcxFilterYesterdayOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterTodayOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterTomorrowOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterLastWeekOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterLastMonthOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterLastYearOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterThisWeekOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterThisMonthOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterThisYearOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterNextWeekOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterNextMonthOperator)
VXN_DECLARE_DATE_OPERATOR(TcxFilterNextYearOperator)

#undef VXN_DECLARE_DATE_OPERATOR

// The operator classes by kind: 0..23, then Null (24) and NotNull (25).
inline constexpr Integer cxFilterOperatorClassCount = 26;
TClass FilterOperatorClassOf(Integer AIndex);
