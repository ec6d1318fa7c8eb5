#include "suite/data/cxFilterConsts.h"

#include "platform/rtl/Resources.h"

namespace {

struct FilterText {
  Integer Id;
  const char* Text;
};

constexpr FilterText kFilterTexts[] = {
    {cxSFilterBoolOperatorAnd, "and"},
    {cxSFilterBoolOperatorOr, "or"},
    {cxSFilterBoolOperatorNot, "not"},
    {cxSFilterBlankCaption, "blank"},
    {cxSFilterOperatorIsNull, "is blank"},
    {cxSFilterOperatorIsNotNull, "is not blank"},
    {cxSFilterOperatorBeginsWith, "begins with"},
    {cxSFilterOperatorDoesNotBeginWith, "does not begin with"},
    {cxSFilterOperatorEndsWith, "ends with"},
    {cxSFilterOperatorDoesNotEndWith, "does not end with"},
    {cxSFilterOperatorContains, "contains"},
    {cxSFilterOperatorDoesNotContain, "does not contain"},
    {cxSFilterBoxAllCaption, "(All)"},
    {cxSFilterBoxCustomCaption, "(Custom...)"},
    {cxSFilterBoxBlanksCaption, "(Blanks)"},
    {cxSFilterBoxNonBlanksCaption, "(NonBlanks)"},
    {cxSFilterOperatorBetween, "between"},
    {cxSFilterOperatorNotBetween, "not between"},
    {cxSFilterOperatorInList, "in"},
    {cxSFilterOperatorNotInList, "not in"},
    {cxSFilterOperatorYesterday, "is yesterday"},
    {cxSFilterOperatorToday, "is today"},
    {cxSFilterOperatorTomorrow, "is tomorrow"},
    {cxSFilterOperatorLastWeek, "is last week"},
    {cxSFilterOperatorLastMonth, "is last month"},
    {cxSFilterOperatorLastYear, "is last year"},
    {cxSFilterOperatorThisWeek, "is this week"},
    {cxSFilterOperatorThisMonth, "is this month"},
    {cxSFilterOperatorThisYear, "is this year"},
    {cxSFilterOperatorNextWeek, "is next week"},
    {cxSFilterOperatorNextMonth, "is next month"},
    {cxSFilterOperatorNextYear, "is next year"},
    {cxSFilterOperatorEqual, "equals"},
    {cxSFilterOperatorNotEqual, "does not equal"},
    {cxSFilterOperatorLess, "is less than"},
    {cxSFilterOperatorLessEqual, "is less than or equal to"},
    {cxSFilterOperatorGreater, "is greater than"},
    {cxSFilterOperatorGreaterEqual, "is greater than or equal to"},
    {cxSFilterOperatorLike, "like"},
    {cxSFilterOperatorNotLike, "not like"},
};

TcxFilterTranslateProc gTranslateProc = nullptr;

}  // namespace

std::string FilterResourceText(Integer AResourceId) {
  std::string text = LoadResString(AResourceId);
  return gTranslateProc ? gTranslateProc(text) : text;
}

void SetFilterTranslateProc(TcxFilterTranslateProc AProc) { gTranslateProc = AProc; }

void RegisterFilterResourceStrings() {
  for (const FilterText& t : kFilterTexts) RegisterResourceString(t.Id, t.Text);
}
