// The words of filter texts: string-table texts fetched through one routine,
// which a translation routine (installed by the editor framework) may
// rewrite.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/System.h"

enum : Integer {
  cxSFilterBoolOperatorAnd = 65104,
  cxSFilterBoolOperatorOr,
  cxSFilterBoolOperatorNot,
  cxSFilterBlankCaption,
  cxSFilterOperatorIsNull,
  cxSFilterOperatorIsNotNull,
  cxSFilterOperatorBeginsWith,
  cxSFilterOperatorDoesNotBeginWith,
  cxSFilterOperatorEndsWith,
  cxSFilterOperatorDoesNotEndWith,
  cxSFilterOperatorContains,
  cxSFilterOperatorDoesNotContain,
  cxSFilterBoxAllCaption,
  cxSFilterBoxCustomCaption,
  cxSFilterBoxBlanksCaption,
  cxSFilterBoxNonBlanksCaption,
  cxSFilterOperatorBetween,
  cxSFilterOperatorNotBetween,
  cxSFilterOperatorInList,
  cxSFilterOperatorNotInList,
  cxSFilterOperatorYesterday,
  cxSFilterOperatorToday,
  cxSFilterOperatorTomorrow,
  cxSFilterOperatorLastWeek,
  cxSFilterOperatorLastMonth,
  cxSFilterOperatorLastYear,
  cxSFilterOperatorThisWeek,
  cxSFilterOperatorThisMonth,
  cxSFilterOperatorThisYear,
  cxSFilterOperatorNextWeek,
  cxSFilterOperatorNextMonth,
  cxSFilterOperatorNextYear,  // 65135
  cxSFilterOperatorEqual = 65144,
  cxSFilterOperatorNotEqual,
  cxSFilterOperatorLess,
  cxSFilterOperatorLessEqual,
  cxSFilterOperatorGreater,
  cxSFilterOperatorGreaterEqual,
  cxSFilterOperatorLike,
  cxSFilterOperatorNotLike,  // 65151
};

// The text of one of the filter's string-table entries, passed through the
// translation routine when one is installed.
std::string FilterResourceText(Integer AResourceId);

using TcxFilterTranslateProc = std::string (*)(std::string_view AText);
// nullptr removes the routine (the texts are then used unchanged).
void SetFilterTranslateProc(TcxFilterTranslateProc AProc);

// Puts the forty texts into the string table; the folder's start-up calls it.
void RegisterFilterResourceStrings();
