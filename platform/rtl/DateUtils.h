// Dates and times of the class library. A TDateTime counts days since
// 1899-12-30; its fraction is the time of day, and for negative values the
// time is the absolute value of the fraction (-1.25 is 1899-12-29 06:00).
// Encoding accepts the years 100..9999.
#pragma once

#include <string>
#include <string_view>

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/System.h"

inline constexpr Integer HoursPerDay = 24;
inline constexpr Integer MinsPerDay = 24 * 60;
inline constexpr Integer SecsPerDay = MinsPerDay * 60;
inline constexpr Integer MSecsPerDay = SecsPerDay * 1000;
inline constexpr Integer MinDateTimeYear = 100;
inline constexpr Integer MaxDateTimeYear = 9999;

bool IsLeapYear(Word year);
// Days of the month, 0 for a month outside 1..12.
Word DaysInAMonth(Word year, Word month);
bool IsValidDate(Word year, Word month, Word day);

// EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(Word year, Word month, Word day);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
// date + time, or date - time for dates before 1899-12-30.
TDateTime CombineDateTime(TDateTime date, TDateTime time);

// The time is rounded to whole milliseconds first; a time that rounds up to
// midnight counts to the next day, never as hour 24. Values beyond the years
// 1..9999 decode to zeros.
void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);
void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& min,
                    Word& sec, Word& msec);

// 1 Sunday .. 7 Saturday; 0 for a value that is no date at all (NaN).
Integer DayOfWeek(TDateTime date);
// Adds months, keeping the time of day; the day is cut to the new month's
// length (31 January + 1 month is the last day of February).
TDateTime IncMonth(TDateTime date, Integer months = 1);

// The current clock's wall time (see Clock.h), the date alone, the time alone.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Picture letters, case-insensitive:
//   c            short date, then a blank and the long time unless midnight
//   d dd         day; ddd dddd short/long day name; ddddd short date;
//                dddddd long date
//   e ee         year of the era; g gg era name
//   m mm         month; mmm mmmm short/long month name; "m"/"mm" right after
//                an hour ("h" as the last letter) mean minutes
//   yy yyyy      two- or four-digit year
//   h hh         hour (12-hour clock when an am/pm marker follows before the
//                next hour); n nn minutes; s ss seconds; z zzz milliseconds
//   t tt         short/long time
//   am/pm a/p    marker in the picture's own case; ampm the settings' texts
//   / :          the settings' date and time separators
//   'x' "x"      literal text
// Other characters are copied. An empty picture means "c".
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings);

std::string DateToStr(TDateTime date);  // "ddddd"
std::string DateToStr(TDateTime date, const TFormatSettings& settings);
std::string TimeToStr(TDateTime time);  // "tt"
std::string TimeToStr(TDateTime time, const TFormatSettings& settings);
std::string DateTimeToStr(TDateTime value);  // "c"
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings);

// Reading. A date is two or three numbers separated by the date separator in
// the order of the short date format (two numbers: the current year); a year
// of one or two digits falls into the century window. A time is an hour with
// optional minutes, seconds (time separator) and fraction of a second
// (decimal separator), with an optional AM/PM marker before or after. Blanks
// around the parts are allowed. Bad text raises EConvertError ("'%s' is not a
// valid date", "... time", "... date and time").
TDateTime StrToDate(std::string_view s);
TDateTime StrToDate(std::string_view s, const TFormatSettings& settings);
bool TryStrToDate(std::string_view s, TDateTime& value);
bool TryStrToDate(std::string_view s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToDateDef(std::string_view s, TDateTime defaultValue);
TDateTime StrToTime(std::string_view s);
TDateTime StrToTime(std::string_view s, const TFormatSettings& settings);
bool TryStrToTime(std::string_view s, TDateTime& value);
bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);
// A date, a time, or a date followed by a time.
TDateTime StrToDateTime(std::string_view s);
// StrToDateTime's reading, where blanks may also separate the parts of the
// date ("2024 03 05"; a four-digit year first reads year, month, day): the
// reading of texts that become Variant dates.
bool TryTextToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToDateTime(std::string_view s, const TFormatSettings& settings);
bool TryStrToDateTime(std::string_view s, TDateTime& value);
bool TryStrToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);
