// Small routines the data controller, its summaries, its incremental search
// and the date filters share: a currency display format from the locale, the
// parts of a date-time, the locale's first day of the week, the start of a
// week, and a case-insensitive equality-or-prefix test.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/System.h"

struct TFormatSettings;

// A FormatFloat picture for currency values: ",0." and as many zeros as the
// currency decimals, with the currency string placed by the currency format
// (0 "$,0.00", 1 ",0.00$", 2 "$ ,0.00", 3 ",0.00 $"; others: no symbol). Every
// character of the symbol that the picture would read as special is quoted.
void CurrencyDisplayFormat(std::string& AFormat);
std::string CurrencyDisplayFormat();
std::string CurrencyDisplayFormat(const TFormatSettings& ASettings);

// x truncated toward zero, and what is left.
double WholeDays(double X);
double DayFraction(double X);
// 0 Sunday .. 6 Saturday, from the locale's first day of the week.
Integer FirstWeekDay();
Integer FirstWeekDay(const TFormatSettings& ASettings);
// The date (whole days) of the first day of the week that holds ADate.
double WeekStart(double ADate);
double WeekStart(double ADate, const TFormatSettings& ASettings);
// Upper-cased equality; in prefix mode with a non-empty pattern, whether the
// text begins with the pattern.
bool TextMatches(std::string_view AText, std::string_view APattern, bool APrefixMode);
